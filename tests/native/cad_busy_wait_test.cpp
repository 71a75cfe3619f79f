// Waiting for a busy CAD: the schedule of tries against a CAD that stays busy for a
// while, which results count as busy, and the text when the CAD stayed busy too long.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "cad/busy_wait.h"

namespace {

using cad::BusyWait;
using namespace std::chrono_literals;
using Ms = BusyWait::Milliseconds;

// A call made at time 0 to a CAD that rejects every call until `busyFor`, tried again
// as the policy says.
struct Outcome {
    bool served = false;
    Ms lastTry{0};  // when the call was served, or tried for the last time
    int tries = 0;
};

Outcome callBusyCad(const BusyWait& policy, Ms busyFor) {
    Outcome outcome;
    Ms now{0};
    for (;;) {
        ++outcome.tries;
        outcome.lastTry = now;
        if (now >= busyFor) {
            outcome.served = true;
            return outcome;
        }
        const auto wait = policy.nextWait(now);
        if (!wait) return outcome;
        if (*wait <= 0ms || outcome.tries > 10000) {
            ADD_FAILURE() << "no progress: a wait of " << wait->count() << " ms at " << now.count() << " ms";
            return outcome;
        }
        now += *wait;
    }
}

struct BusyCase {
    Ms deadline, busyFor;
};

class BusyWaitSchedule : public testing::TestWithParam<BusyCase> {};

// A CAD busy for no longer than the deadline is waited for, and its call is served soon
// after it is free again; one busy for longer is tried last at the deadline itself, and
// then the call fails. Over the whole wait the CAD is asked a few dozen times, not in
// a tight loop.
TEST_P(BusyWaitSchedule, ServedWhenFreeBeforeTheDeadlineElseGivenUpAtIt) {
    const BusyCase c = GetParam();
    const BusyWait policy{c.deadline};
    const Outcome outcome = callBusyCad(policy, c.busyFor);
    SCOPED_TRACE(testing::Message() << "deadline " << c.deadline.count() << " ms, busy for " << c.busyFor.count()
                                    << " ms");
    if (c.busyFor <= c.deadline) {
        EXPECT_TRUE(outcome.served);
        EXPECT_GE(outcome.lastTry, c.busyFor);
        EXPECT_LE(outcome.lastTry, c.busyFor + 400ms);
        EXPECT_LE(outcome.lastTry, c.deadline);
    } else {
        EXPECT_FALSE(outcome.served);
        EXPECT_EQ(outcome.lastTry, c.deadline);
    }
    EXPECT_LE(outcome.tries, 3 + c.deadline.count() / 100) << "tried too often";
    if (c.deadline >= 10s) {
        EXPECT_LE(outcome.tries, 40);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BusyWaitSchedule,
                         testing::Values(BusyCase{10s, 0ms}, BusyCase{10s, 1ms}, BusyCase{10s, 350ms},
                                         BusyCase{10s, 2500ms}, BusyCase{10s, 9999ms}, BusyCase{10s, 10s},
                                         BusyCase{10s, 10001ms}, BusyCase{10s, 60s}, BusyCase{500ms, 450ms},
                                         BusyCase{500ms, 5s}, BusyCase{150ms, 1s}, BusyCase{0ms, 1ms}));

TEST(BusyWait, TheProductWaitsTenSecondsAndAZeroDeadlineTriesOnce) {
    EXPECT_EQ(BusyWait{}.deadline, 10s);
    EXPECT_EQ(BusyWait{0ms}.nextWait(0ms), std::nullopt);
    EXPECT_EQ(callBusyCad(BusyWait{0ms}, 1ms).tries, 1);
}

TEST(BusyWait, OnlyRejectionsCountAsBusy) {
    const std::pair<std::uint32_t, bool> cases[] = {
        {0x80010001u, true},   // RPC_E_CALL_REJECTED
        {0x8001010Au, true},   // RPC_E_SERVERCALL_RETRYLATER
        {0x80010108u, false},  // RPC_E_DISCONNECTED: the CAD has gone, waiting cannot help
        {0x800706BAu, false},  // the RPC server is unavailable
        {0x80010012u, false},  // RPC_E_SERVER_DIED_DNE
        {0x80020009u, false},  // DISP_E_EXCEPTION: the CAD's own failure
        {0x80004005u, false},  // E_FAIL
        {0x00000000u, false},  // S_OK
    };
    for (const auto& [result, busy] : cases)
        EXPECT_EQ(cad::isBusyResult(static_cast<std::int32_t>(result)), busy) << std::hex << result;
}

TEST(BusyWait, GivingUpNamesTheCallAndHowLongItWaited) {
    const std::wstring text = BusyWait{}.gaveUpText(L"ZoomExtents");
    EXPECT_EQ(text.rfind(L"ZoomExtents: ", 0), 0u);
    EXPECT_NE(text.find(L"処理中"), std::wstring::npos);
    EXPECT_NE(text.find(L"10 秒"), std::wstring::npos);
    EXPECT_NE(BusyWait{500ms}.gaveUpText(L"Item").find(L"0.5 秒"), std::wstring::npos);
    EXPECT_NE(BusyWait{2500ms}.gaveUpText(L"Item").find(L"2.5 秒"), std::wstring::npos);
}

}  // namespace
