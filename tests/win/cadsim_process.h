// Test helper: runs cadsim.exe from the build folder for the life of a scope and ends
// it, whatever the test did. Tests that start cadsim hold the machine-wide lock named
// below meanwhile, so that the one "nanoCAD 5" window and the one registered application
// class a client reaches are those of the test's own stand-in (ctest runs tests side by
// side).
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cad/com/com_types_win.h"
#include "cad/ids.h"

namespace cadsim_test {

inline constexpr wchar_t kLockName[] = L"Local\\QuillonCadsimTestLock";

inline std::wstring binDir() {
    const std::string dir = QUILLON_BIN_DIR;
    return std::wstring(dir.begin(), dir.end());
}
inline std::wstring sharedDir() {
    const std::string dir = QUILLON_SHARED_DIR;
    return std::wstring(dir.begin(), dir.end());
}
inline std::wstring cadsimExe() { return binDir() + L"/cadsim.exe"; }

// Held while a test's cadsim lives.
class StandInLock {
public:
    StandInLock() : mutex_(CreateMutexW(nullptr, FALSE, kLockName)) {
        if (mutex_) WaitForSingleObject(mutex_, 240000);  // WAIT_ABANDONED (a crashed test) is ours too
    }
    ~StandInLock() {
        if (mutex_) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    StandInLock(const StandInLock&) = delete;
    StandInLock& operator=(const StandInLock&) = delete;

private:
    HANDLE mutex_;
};

struct WindowSearch {
    DWORD process;
    HWND found;
};

inline BOOL CALLBACK matchHostWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    if (owner != search->process || std::wstring(title) != cad::kHostWindowTitle || !IsWindowVisible(hwnd))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

class CadsimProcess {
public:
    // Starts cadsim.exe with the arguments (each quoted), message boxes off, stderr to
    // a pipe read by stderrText().
    explicit CadsimProcess(const std::vector<std::wstring>& args) {
        std::wstring command = L"\"" + cadsimExe() + L"\"";
        for (const std::wstring& a : args) command += L" \"" + a + L"\"";
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE writeEnd = nullptr;
        CreatePipe(&stderrRead_, &writeEnd, &inherit, 1 << 16);
        SetHandleInformation(stderrRead_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = writeEnd;
        si.hStdError = writeEnd;
        SetEnvironmentVariableW(L"CADSIM_NO_DIALOG", L"1");
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi_);
        CloseHandle(writeEnd);
    }
    // Ends cadsim by closing its window, so that it withdraws its class object: under
    // Wine, the class object of a process that was killed stays registered and makes
    // every later stand-in unreachable until the Wine server restarts.
    ~CadsimProcess() {
        if (started_) {
            if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
                WindowSearch search{pi_.dwProcessId, nullptr};
                EnumWindows(matchHostWindow, reinterpret_cast<LPARAM>(&search));
                if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
                if (WaitForSingleObject(pi_.hProcess, 15000) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
            }
            WaitForSingleObject(pi_.hProcess, 10000);
            CloseHandle(pi_.hThread);
            CloseHandle(pi_.hProcess);
        }
        if (stderrRead_) CloseHandle(stderrRead_);
    }
    CadsimProcess(const CadsimProcess&) = delete;
    CadsimProcess& operator=(const CadsimProcess&) = delete;

    bool started() const { return started_ != FALSE; }
    DWORD id() const { return pi_.dwProcessId; }

    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD waitForExit(DWORD ms) {
        if (!started_ || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }

    // What cadsim wrote to stdout and stderr, once it has ended.
    std::string output() {
        std::string text;
        char buffer[4096];
        DWORD n = 0;
        while (stderrRead_ && ReadFile(stderrRead_, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
        return text;
    }

    // Its visible "nanoCAD 5" window, or null when none came within the time.
    HWND waitForMainWindow(DWORD ms = 30000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (started_ && std::chrono::steady_clock::now() < end) {
            WindowSearch search{pi_.dwProcessId, nullptr};
            EnumWindows(matchHostWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            if (WaitForSingleObject(pi_.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
        }
        return nullptr;
    }

private:
    PROCESS_INFORMATION pi_{};
    BOOL started_ = FALSE;
    HANDLE stderrRead_ = nullptr;
};

// The application object, created as a client creates it; in a fresh prefix the class
// can be reported as not registered for a moment after the server started.
inline HRESULT createApplication(cad::com::ComPtr<IUnknown>& out, DWORD ms = 20000) {
    CLSID clsid{};
    cad::com::guidFromString(cad::kApplicationClassId, clsid);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    HRESULT hr = E_FAIL;
    do {
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown, out.putVoid());
        if (SUCCEEDED(hr)) return hr;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (std::chrono::steady_clock::now() < end);
    return hr;
}

}  // namespace cadsim_test
