#include "cad/com/busy_wait_win.h"

#include "cad/com/message_filter_win.h"

namespace cad::com {
namespace {

class BusyWaitFilter final : public MessageFilter {
public:
    explicit BusyWaitFilter(const BusyWait& policy) : policy_(policy) {}

    // A call rejected `elapsed` ms after it was made; both kinds of rejection mean busy.
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD) override {
        const auto wait = policy_.nextWait(std::chrono::milliseconds(elapsed));
        return wait ? static_cast<DWORD>(wait->count()) : static_cast<DWORD>(-1);
    }

private:
    BusyWait policy_;
};

}  // namespace

ComPtr<IMessageFilter> busyWaitFilter(const BusyWait& policy) {
    return ComPtr<IMessageFilter>::adopt(new BusyWaitFilter(policy));
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
