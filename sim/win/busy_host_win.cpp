#include "sim/win/busy_host_win.h"

#include <string>

#include "cad/com/message_filter_win.h"
#include "cadsim_idl.h"

namespace sim {
namespace {

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// How a call is rejected. Windows tells the caller to retry later, which a busy CAD
// does, and the caller's RetryRejectedCall decides. Wine (8.0) has no "retry later": it
// serves such a call anyway (a FIXME in its RPC dispatch) and never consults the
// caller's RetryRejectedCall; a plain rejection does reach the caller there, as the
// result RPC_E_CALL_REJECTED of its call, which is what a client on Windows sees of a
// busy CAD once its message filter gives up.
DWORD rejection() {
    static const DWORD kind = runningUnderWine() ? SERVERCALL_REJECTED : SERVERCALL_RETRYLATER;
    return kind;
}

bool isAutomationInterface(const IID& iid) {
    return iid == IID_IDispatch || iid == __uuidof(CadApplication) || iid == __uuidof(CadPlot);
}

// The method by its place in the interface (IUnknown's three first, then IDispatch's).
std::wstring methodName(WORD method) {
    static const wchar_t* const kDispatchMethods[] = {L"GetTypeInfoCount", L"GetTypeInfo", L"GetIDsOfNames",
                                                      L"Invoke"};
    if (method >= 3 && method <= 6) return kDispatchMethods[method - 3];
    return L"method " + std::to_wstring(method);
}

class BusyHostFilter final : public cad::com::MessageFilter {
public:
    explicit BusyHostFilter(Host& host) : host_(host) {}

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO call) override {
        if (!call || !isAutomationInterface(call->iid) || call->wMethod < 3) return SERVERCALL_ISHANDLED;
        return host_.rejectWhileBusy(methodName(call->wMethod)) ? rejection() : DWORD{SERVERCALL_ISHANDLED};
    }

private:
    Host& host_;
};

}  // namespace

cad::com::ComPtr<IMessageFilter> busyHostFilter(Host& host) {
    return cad::com::ComPtr<IMessageFilter>::adopt(new BusyHostFilter(host));
}

}  // namespace sim
