#include "cad/com/co_application_win.h"

#include <string>

#include "cad/com/com_dispatch_win.h"
#include "cad/com/com_types_win.h"
#include "cad/ids.h"
#include "cad/late_bound.h"

namespace cad::com {

bool Win32HostWindowFinder::topLevelWindowExists(std::wstring_view title) {
    const std::wstring terminated(title);
    return FindWindowW(nullptr, terminated.c_str()) != nullptr;
}

std::unique_ptr<CadApplication> ComCoApplication::Create() {
    CLSID classId;
    IID interfaceId;
    if (!guidFromString(kApplicationClassId, classId) || !guidFromString(kApplicationInterfaceId, interfaceId))
        throw CadError(L"CAD の識別子が正しくありません。");
    ComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                  unknown.putVoid());
    if (FAILED(hr) || !unknown)
        throw CadError(L"CAD のアプリケーション オブジェクトを作成できません: " + hresultText(hr));
    // The application interface is dual: what QueryInterface gives is an IDispatch.
    ComPtr<IDispatch> application;
    hr = unknown.query(interfaceId, application);
    if (FAILED(hr) || !application)
        throw CadError(L"CAD のアプリケーション オブジェクトに必要なインターフェイスがありません: " + hresultText(hr));
    return wrapApplication(wrapRemote(std::move(application), busy_));
}

bool connectToCad(std::unique_ptr<CadApplication>& application) {
    Win32HostWindowFinder windows;
    ComCoApplication creator;
    return cad::connectToCad(application, windows, creator);
}

}  // namespace cad::com
