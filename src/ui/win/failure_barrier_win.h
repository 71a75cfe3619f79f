// The barrier at the edge of every window procedure of ours: a failure that a handler
// lets out is reported once and the message ends as handled, so that no exception ever
// crosses the system's code back into the message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace platform {

// Shows the text of an unexpected failure. Until the program sets one, a plain error box
// with no owner.
void setFailureReporter(std::function<void(const std::wstring&)> reporter);

// The text the user reads for the failure in flight; call only inside a catch block.
std::wstring unexpectedFailureText();

// Reports the failure in flight through the reporter; call only inside a catch block.
// Failures while a report is showing (its box runs a message loop) are not shown again.
void reportUnexpectedFailure() noexcept;

// Runs `handle` (a window procedure's work); a failure it lets out is reported and the
// message answered with `failed`.
template <class F>
LRESULT withinBarrier(F&& handle, LRESULT failed = 0) noexcept {
    try {
        return handle();
    } catch (...) {
        reportUnexpectedFailure();
        return failed;
    }
}

}  // namespace platform
