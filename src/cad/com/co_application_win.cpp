#include "cad/com/co_application_win.h"

#include <string>
#include <string_view>

#include "cad/com/com_dispatch_win.h"
#include "cad/com/com_types_win.h"
#include "cad/ids.h"
#include "cad/late_bound.h"

namespace cad::com {

bool Win32HostWindowFinder::topLevelWindowExists(std::wstring_view title) {
    const std::wstring terminated(title);
    return FindWindowW(nullptr, terminated.c_str()) != nullptr;
}

bool Win32HostWindowFinder::topLevelWindowTitleBegins(std::wstring_view prefix) {
    return topLevelWindowWithTitlePrefix(prefix);
}

bool topLevelWindowWithTitlePrefix(std::wstring_view prefix) {
    struct Search {
        std::wstring_view prefix;
        bool found = false;
    } search{prefix};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t title[512];
            const int length = GetWindowTextW(window, title, 512);
            if (length >= static_cast<int>(s.prefix.size()) &&
                std::wstring_view(title, static_cast<std::size_t>(length)).substr(0, s.prefix.size()) == s.prefix) {
                s.found = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

// The object's application interface: the profile's, or its IDispatch.
ComPtr<IDispatch> applicationInterface(ComPtr<IUnknown>& unknown, const CadProfile& profile) {
    IID interfaceId = IID_IDispatch;
    if (!profile.applicationInterfaceId.empty() && !guidFromString(profile.applicationInterfaceId, interfaceId))
        throw CadError(L"CAD の識別子が正しくありません: " + profile.applicationInterfaceId);
    // The application interface is dual: what QueryInterface gives is an IDispatch.
    ComPtr<IDispatch> application;
    const HRESULT hr = unknown.query(interfaceId, application);
    if (FAILED(hr) || !application)
        throw CadError(L"CAD のアプリケーション オブジェクトに必要なインターフェイスがありません: " + hresultText(hr));
    return application;
}

// The running object registered under the ProgID; a CAD that is not running is not
// started.
ComPtr<IUnknown> runningObject(const std::wstring& progId) {
    CLSID classId;
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &classId);
    if (FAILED(hr)) throw CadError(progId + L" は登録されていません: " + hresultText(hr));
    ComPtr<IUnknown> unknown;
    hr = GetActiveObject(classId, nullptr, unknown.put());
    if (FAILED(hr) || !unknown) throw CadError(progId + L" の実行中のオブジェクトがありません: " + hresultText(hr));
    return unknown;
}

// The object of the class: the running one when the CAD put it in the running object
// table, otherwise the one the class's running server hands out.
ComPtr<IUnknown> createdObject(const std::wstring& classIdText) {
    CLSID classId;
    if (!guidFromString(classIdText, classId)) throw CadError(L"CAD の識別子が正しくありません: " + classIdText);
    ComPtr<IUnknown> unknown;
    if (SUCCEEDED(GetActiveObject(classId, nullptr, unknown.put())) && unknown) return unknown;
    const HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                        unknown.putVoid());
    if (FAILED(hr) || !unknown)
        throw CadError(L"CAD のアプリケーション オブジェクトを作成できません: " + hresultText(hr));
    return unknown;
}

}  // namespace

std::unique_ptr<CadApplication> ComCoApplication::Create(const CadProfile& profile) {
    ComPtr<IUnknown> unknown = profile.progId.empty() ? createdObject(profile.classId) : runningObject(profile.progId);
    return wrapApplication(wrapRemote(applicationInterface(unknown, profile), busy_), profile.plotInterfaceId);
}

bool connectToCad(std::unique_ptr<CadApplication>& application, const CadProfile& profile) {
    Win32HostWindowFinder windows;
    ComCoApplication creator;
    return cad::connectToCad(application, windows, creator, profile);
}

}  // namespace cad::com
