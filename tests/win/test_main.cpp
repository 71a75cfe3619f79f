// The entry of win_tests.exe: GoogleTest with a watchdog. A case that does not end in
// time is named on stderr and the program ends at once with exit code 3, so that a hang
// costs one bounded wait and the output still says which case it was (tests/win/run-suite
// then ends whatever the case had started).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "tests/win/stand_in.h"

namespace {

class CaseWatchdog : public testing::EmptyTestEventListener {
public:
    explicit CaseWatchdog(std::chrono::seconds limit) : limit_(limit), thread_([this] { watch(); }) {}
    ~CaseWatchdog() override {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    void OnTestStart(const testing::TestInfo& info) override {
        std::lock_guard<std::mutex> hold(mutex_);
        name_ = std::string(info.test_suite_name()) + "." + info.name();
        deadline_ = std::chrono::steady_clock::now() + limit_;
        armed_ = true;
        wake_.notify_all();
    }
    void OnTestEnd(const testing::TestInfo&) override {
        std::lock_guard<std::mutex> hold(mutex_);
        armed_ = false;
    }

private:
    void watch() {
        std::unique_lock<std::mutex> hold(mutex_);
        while (!quit_) {
            if (!armed_) {
                wake_.wait(hold);
                continue;
            }
            if (wake_.wait_until(hold, deadline_) == std::cv_status::timeout && armed_ && !quit_ &&
                std::chrono::steady_clock::now() >= deadline_) {
                std::fprintf(stderr, "[  TIMEOUT ] %s did not end within %lld s\n", name_.c_str(),
                             static_cast<long long>(limit_.count()));
                std::fflush(stderr);
                std::fflush(stdout);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string name_;
    std::chrono::steady_clock::time_point deadline_;
    bool armed_ = false, quit_ = false;
    std::thread thread_;
};

// QUILLON_CASE_TIMEOUT in seconds, 120 when unset or unreadable.
std::chrono::seconds caseLimit() {
    const char* text = std::getenv("QUILLON_CASE_TIMEOUT");
    const long seconds = text ? std::strtol(text, nullptr, 10) : 0;
    return std::chrono::seconds(seconds > 0 ? seconds : 120);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    cadsim_test::troubleReporter() = [](const std::string& text) { ADD_FAILURE() << text; };
    // Appended: its OnTestEnd runs after the printer's, and a hang inside a case is seen
    // by it alone.
    testing::UnitTest::GetInstance()->listeners().Append(new CaseWatchdog(caseLimit()));
    const int result = RUN_ALL_TESTS();
    // A stand-in that had to be killed leaves its class registered in the Wine server:
    // tests/win/run-suite starts the server afresh on this exit code.
    return cadsim_test::standInKilled() ? 4 : result;
}
