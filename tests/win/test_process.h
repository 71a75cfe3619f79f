// Test helper: one way to start a program for the Wine tests (the stand-in, Quillon)
// and to end it. Every wait has a deadline; the program is ended by closing its
// windows, as a user would, and killed only when it does not end in time, which the
// test then reports as a failure.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace wintest {

inline std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }
inline std::wstring binDir() { return widen(QUILLON_BIN_DIR); }

// Polls `done` every `pollMs` until it holds or `ms` have passed; tells which.
inline bool waitUntil(const std::function<bool()>& done, DWORD ms = 20000, DWORD pollMs = 20) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
    }
}

// The visible top-level windows of a process whose title passes `titled` (any title
// when it is empty).
inline std::vector<HWND> topLevelWindows(DWORD process, const std::function<bool(const std::wstring&)>& titled = {}) {
    struct Search {
        DWORD process;
        const std::function<bool(const std::wstring&)>* titled;
        std::vector<HWND> found;
    } search{process, &titled, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->process || !IsWindowVisible(hwnd)) return TRUE;
            wchar_t title[256] = {};
            GetWindowTextW(hwnd, title, 256);
            if (!*s->titled || (*s->titled)(title)) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class TestProcess {
public:
    struct Options {
        std::wstring folder;          // working folder; empty: the test's own
        bool keepOutput = false;      // stdout and stderr into a pipe read by output()
        DWORD closeMs = 15000;        // how long closing may take before the kill
    };

    TestProcess(const std::wstring& exe, const std::vector<std::wstring>& args, Options options)
        : options_(std::move(options)) {
        std::wstring command = L"\"" + exe + L"\"";
        for (const std::wstring& a : args) command += L" \"" + a + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        HANDLE writeEnd = nullptr;
        if (options_.keepOutput) {
            SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
            CreatePipe(&outputRead_, &writeEnd, &inherit, 1 << 16);
            SetHandleInformation(outputRead_, HANDLE_FLAG_INHERIT, 0);
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
            si.hStdOutput = writeEnd;
            si.hStdError = writeEnd;
        }
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, options_.keepOutput, 0, nullptr,
                                  options_.folder.empty() ? nullptr : options_.folder.c_str(), &si, &pi_) != FALSE;
        if (!started_) startError_ = GetLastError();
        if (writeEnd) CloseHandle(writeEnd);
    }
    ~TestProcess() {
        end();
        if (outputRead_) CloseHandle(outputRead_);
    }
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    bool started() const { return started_; }
    DWORD startError() const { return startError_; }
    DWORD id() const { return pi_.dwProcessId; }
    bool running() const { return started_ && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

    // The exit code, or STILL_ACTIVE when it did not end within `ms`.
    DWORD waitForExit(DWORD ms) const {
        if (!started_ || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }

    // What it wrote to stdout and stderr so far, without waiting for more.
    std::string output() {
        char buffer[4096];
        DWORD available = 0, n = 0;
        while (outputRead_ && PeekNamedPipe(outputRead_, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
               ReadFile(outputRead_, buffer, sizeof buffer, &n, nullptr) && n > 0)
            output_.append(buffer, n);
        return output_;
    }

    // Its first visible top-level window whose title passes `titled`, within `ms`;
    // null when none came or the program ended.
    HWND waitForWindow(const std::function<bool(const std::wstring&)>& titled, DWORD ms = 30000) const {
        HWND found = nullptr;
        waitUntil([&] {
            const std::vector<HWND> windows = topLevelWindows(pi_.dwProcessId, titled);
            if (!windows.empty()) found = windows.front();
            return found || !running();
        }, started_ ? ms : 0);
        return found;
    }

    // Closes its windows by message and waits; kills it when it does not end within the
    // options' time. True when it ended by itself (or never started).
    bool end() {
        if (!started_) return true;
        if (ended_) return closedCleanly_;
        ended_ = true;
        closedCleanly_ = true;
        if (running()) {
            for (HWND w : topLevelWindows(pi_.dwProcessId)) PostMessageW(w, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(pi_.hProcess, options_.closeMs) == WAIT_TIMEOUT) {
                closedCleanly_ = false;
                TerminateProcess(pi_.hProcess, 99);
                WaitForSingleObject(pi_.hProcess, 5000);
            }
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
        return closedCleanly_;
    }

private:
    Options options_;
    PROCESS_INFORMATION pi_{};
    bool started_ = false, ended_ = false, closedCleanly_ = false;
    DWORD startError_ = 0;
    HANDLE outputRead_ = nullptr;
    std::string output_;
};

}  // namespace wintest
