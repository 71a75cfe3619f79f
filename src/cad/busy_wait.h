// Waiting for a busy CAD. While the CAD runs a command or shows a modal dialog it
// rejects automation calls (RPC_E_CALL_REJECTED, RPC_E_SERVERCALL_RETRYLATER). Such a
// call is tried again until a deadline, 10 s after it was first made, and then fails
// with a text saying that the CAD stayed busy. The COM side (src/cad/com) asks this
// policy how long to wait before each new try; portable, so the schedule is tested
// natively.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// The results of a call that the CAD rejected because it is busy (HRESULT values).
inline constexpr std::int32_t kCallRejected = static_cast<std::int32_t>(0x80010001u);         // RPC_E_CALL_REJECTED
inline constexpr std::int32_t kServerCallRetryLater = static_cast<std::int32_t>(0x8001010Au);  // RPC_E_SERVERCALL_RETRYLATER

// Whether a call's result says the CAD was busy and the call may succeed later. A CAD
// that has gone away (RPC_E_DISCONNECTED, the server unavailable) is not busy.
bool isBusyResult(std::int32_t result);

struct BusyWait {
    using Milliseconds = std::chrono::milliseconds;

    // How long after a call was first made it is still tried again.
    Milliseconds deadline = std::chrono::seconds(10);

    // The wait before the next try of a call rejected `elapsed` after it was first made:
    // as long as the CAD has been busy so far, at least 100 ms and at most 400 ms, and
    // never beyond the deadline, so the last try falls on it. Nothing once the deadline
    // has passed: the call then fails.
    std::optional<Milliseconds> nextWait(Milliseconds elapsed) const;

    // The user's text for a call of `member` that the CAD rejected until the deadline.
    std::wstring gaveUpText(std::wstring_view member) const;
};

}  // namespace cad
