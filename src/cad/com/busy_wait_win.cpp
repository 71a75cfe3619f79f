#include "cad/com/busy_wait_win.h"

#include <utility>

#include "cad/com/message_filter_win.h"

namespace cad::com {
namespace {

class BusyWaitFilter final : public MessageFilter {
public:
    BusyWaitFilter(const BusyWait& policy, std::function<void()> messagesPending)
        : policy_(policy), messagesPending_(std::move(messagesPending)) {}

    // A call rejected `elapsed` ms after it was made; both kinds of rejection mean busy.
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD) override {
        const auto wait = policy_.nextWait(std::chrono::milliseconds(elapsed));
        return wait ? static_cast<DWORD>(wait->count()) : static_cast<DWORD>(-1);
    }

    // Messages arrived during a call: looked at, then COM's default handling.
    DWORD STDMETHODCALLTYPE MessagePending(HTASK task, DWORD elapsed, DWORD type) override {
        if (messagesPending_) {
            try {
                messagesPending_();
            } catch (...) {
                // Nothing may leave a COM callback; the messages go their default way.
            }
        }
        return MessageFilter::MessagePending(task, elapsed, type);
    }

private:
    BusyWait policy_;
    std::function<void()> messagesPending_;
};

}  // namespace

ComPtr<IMessageFilter> busyWaitFilter(const BusyWait& policy, std::function<void()> messagesPending) {
    return ComPtr<IMessageFilter>::adopt(new BusyWaitFilter(policy, std::move(messagesPending)));
}

void waitDispatchingPaint(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    for (;;) {
        // Peeking also runs the messages other threads send to our windows.
        MSG msg;
        for (int painted = 0; painted < 100 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++painted)
            DispatchMessageW(&msg);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()), QS_PAINT | QS_SENDMESSAGE,
                                    MWMO_INPUTAVAILABLE);
    }
}

}  // namespace cad::com
