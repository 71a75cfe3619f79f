// COM message filters (IMessageFilter) on a single-threaded apartment: the base of our
// filters, answering as COM does without one, and the scope that installs one.
//
// COM consults an apartment's filter in three places: HandleInComingCall in the server
// before an incoming call runs (serve it, or reject it: SERVERCALL_REJECTED or "busy,
// retry later": SERVERCALL_RETRYLATER); RetryRejectedCall in the client when its call
// was rejected (give up, or retry after a wait); and MessagePending in the client when
// window messages arrive while it waits for a call to return.
#pragma once

#include <objidl.h>

#include <atomic>

#include "cad/com/com_types_win.h"

namespace cad::com {

class MessageFilter : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override;

    // Every incoming call served.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    // A rejected call fails at once (RPC_E_CALL_REJECTED).
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    // Messages that arrive during a call: paint and the like dispatched, input kept.
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

protected:
    MessageFilter() = default;
    virtual ~MessageFilter() = default;

private:
    std::atomic<ULONG> refs_{1};
};

// The filter installed on this thread's apartment for as long as the scope lives; the
// filter that was there before comes back after. COM must be initialised on the thread
// as a single-threaded apartment (CoRegisterMessageFilter refuses a multithreaded one).
class MessageFilterScope {
public:
    explicit MessageFilterScope(ComPtr<IMessageFilter> filter);
    ~MessageFilterScope();
    MessageFilterScope(const MessageFilterScope&) = delete;
    MessageFilterScope& operator=(const MessageFilterScope&) = delete;
    HRESULT result() const { return result_; }

private:
    ComPtr<IMessageFilter> previous_;
    HRESULT result_;
};

}  // namespace cad::com
