// Waiting for a busy CAD, the COM side (the policy: cad/busy_wait.h).
//
// On Windows, COM does the waiting: when the CAD's own message filter rejects a call
// (SERVERCALL_RETRYLATER or SERVERCALL_REJECTED), COM asks the client's filter,
// RetryRejectedCall, whether and when to send it again, and while it waits it keeps
// the client's windows painted (MessagePending answering PENDINGMSG_WAITDEFPROCESS).
// Quillon installs such a filter (busyWaitFilter) for as long as it runs. When the
// filter gives up at the deadline, the call's result is RPC_E_CALL_REJECTED.
//
// Wine (8.0) has only part of this: the server's HandleInComingCall is consulted, and
// SERVERCALL_REJECTED fails the call with RPC_E_CALL_REJECTED, but SERVERCALL_RETRYLATER
// is not implemented (the call is served anyway), and the client's RetryRejectedCall is
// never called: a rejected call returns its rejection at once. So the dispatch wrapper
// tries a busy result again itself (callWhileBusy), under the same deadline, counted
// from the first try, and keeps the windows painted between tries. On Windows such a
// result reaches it only once the filter has waited until the deadline, and it is not
// tried again.
#pragma once

#include <chrono>
#include <functional>
#include <string_view>

#include "cad/busy_wait.h"
#include "cad/com/com_types_win.h"
#include "cad/value.h"

namespace cad::com {

// Quillon's message filter: rejected calls tried again as the policy says, window
// messages that arrive meanwhile handled as COM does by default (paint dispatched,
// input not dispatched, and in some cases discarded). `messagesPending`, when given, is
// called each time messages arrive while a call is outstanding, before COM handles them:
// it may look at the queue (desktop/button_press.h), and must leave it as it is.
ComPtr<IMessageFilter> busyWaitFilter(const BusyWait& policy, std::function<void()> messagesPending = {});

// Waits for `time`, dispatching the paint messages of this thread's windows meanwhile;
// every other message stays queued, so no button press or menu runs in the middle of a
// call to the CAD.
void waitDispatchingPaint(std::chrono::milliseconds time);

// Makes the call (a function returning an HRESULT) of `member` and, while its result
// says the CAD is busy, waits as the policy says and makes it again. Gives the first
// result that is not a rejection; throws CadError with the policy's text when the CAD
// still rejected the call at the deadline.
template <class Call>
HRESULT callWhileBusy(const BusyWait& policy, std::wstring_view member, Call&& call) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const HRESULT hr = call();
        if (!isBusyResult(hr)) return hr;
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        const auto wait = policy.nextWait(elapsed);
        if (!wait) throw CadError(policy.gaveUpText(member));
        waitDispatchingPaint(*wait);
    }
}

}  // namespace cad::com
