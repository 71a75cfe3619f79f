// Test helper: cadsim.exe from the build folder for the life of a scope. While it lives
// it holds the machine-wide lock named below, so that the one "nanoCAD 5" window and the
// one registered application class a client reaches are those of this stand-in.
//
// It is ended by closing its window, so that it withdraws its class object: under Wine,
// the class object of a stand-in that was killed stays registered and makes every later
// stand-in unreachable until the Wine server restarts. So when one has to be killed, the
// test fails, and every later stand-in of this test program refuses to start, at once and
// saying why; the program then exits with 4, on which tests/win/run-suite restarts the
// Wine server.
#pragma once

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cad/com/com_types_win.h"
#include "cad/ids.h"
#include "tests/win/test_process.h"

namespace cadsim_test {

using wintest::binDir;

inline constexpr wchar_t kLockName[] = L"Local\\QuillonCadsimTestLock";

inline std::wstring cadsimExe() { return binDir() + L"/cadsim.exe"; }

// Where a stand-in's trouble is reported: stderr, unless the program says otherwise (the
// test program makes it a failure of the running test).
inline void (*&troubleReporter())(const std::string&) {
    static void (*report)(const std::string&) = [](const std::string& text) {
        std::fprintf(stderr, "stand-in: %s\n", text.c_str());
    };
    return report;
}
inline void reportTrouble(const std::string& text) { troubleReporter()(text); }

// Set once a stand-in had to be killed in this program.
inline bool& standInKilled() {
    static bool killed = false;
    return killed;
}

class StandIn {
public:
    // Starts cadsim.exe with the arguments (each quoted), message boxes off, its output
    // kept for output().
    explicit StandIn(const std::vector<std::wstring>& args) {
        if (standInKilled()) {
            refusal_ = "not started: an earlier stand-in of this run had to be killed, and its class stays "
                       "registered until the Wine server restarts";
            reportTrouble(refusal_);
            return;
        }
        lock_ = CreateMutexW(nullptr, FALSE, kLockName);
        // WAIT_ABANDONED (a test program that ended holding it) makes it ours too.
        if (lock_ && WaitForSingleObject(lock_, 60000) == WAIT_TIMEOUT) {
            CloseHandle(lock_);
            lock_ = nullptr;
            refusal_ = "not started: another stand-in held the lock for 60 s";
            reportTrouble(refusal_);
            return;
        }
        SetEnvironmentVariableW(L"CADSIM_NO_DIALOG", L"1");
        process_ = std::make_unique<wintest::TestProcess>(cadsimExe(), args, wintest::TestProcess::Options{{}, true});
        if (!process_->started())
            refusal_ = "cadsim.exe could not be started (error " + std::to_string(process_->startError()) + ")";
    }
    ~StandIn() {
        if (process_ && !process_->end()) {
            standInKilled() = true;
            reportTrouble("the stand-in did not end within 15 s of closing its window and was killed; output: " +
                          process_->output());
        }
        process_.reset();
        if (lock_) {
            ReleaseMutex(lock_);
            CloseHandle(lock_);
        }
    }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    bool started() const { return process_ && process_->started(); }
    DWORD id() const { return process_ ? process_->id() : 0; }

    // The exit code, or STILL_ACTIVE when it did not end within `ms`.
    DWORD waitForExit(DWORD ms) { return process_ ? process_->waitForExit(ms) : STILL_ACTIVE; }
    // What it wrote to stdout and stderr so far, or why it did not start.
    std::string output() { return refusal_.empty() ? process_->output() : refusal_; }

    // Its visible main window ("nanoCAD 5" unless it poses as another CAD), or null when
    // none came within the time.
    HWND waitForMainWindow(DWORD ms = 30000, const std::wstring& title = cad::kHostWindowTitle) {
        if (!started()) return nullptr;
        return process_->waitForWindow([&](const std::wstring& shown) { return shown == title; }, ms);
    }

private:
    HANDLE lock_ = nullptr;
    std::unique_ptr<wintest::TestProcess> process_;
    std::string refusal_;  // why it is not running; empty when it started
};

// A small drawing for tests where the drawing is not the point, written to the
// temporary folder: two lines on layer 0, (0,0)-(100,0) and (0,0)-(0,50).
inline std::wstring twoLineDrawing() {
    static const char kTwoLines[] =
        "0\nSECTION\n2\nENTITIES\n"
        "0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n30\n0.0\n11\n100.0\n21\n0.0\n31\n0.0\n"
        "0\nLINE\n8\n0\n10\n0.0\n20\n0.0\n30\n0.0\n11\n0.0\n21\n50.0\n31\n0.0\n"
        "0\nENDSEC\n0\nEOF\n";
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"cadsim_two_lines.dxf";
    std::ofstream(std::filesystem::path(path), std::ios::binary) << kTwoLines;
    return path;
}

// The application object, created as a client creates it; in a fresh prefix the class
// can be reported as not registered for a moment after the server started.
inline HRESULT createApplication(cad::com::ComPtr<IUnknown>& out, DWORD ms = 20000) {
    CLSID clsid{};
    cad::com::guidFromString(cad::kApplicationClassId, clsid);
    HRESULT hr = E_FAIL;
    wintest::waitUntil([&] {
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown, out.putVoid());
        return SUCCEEDED(hr);
    }, ms, 50);
    return hr;
}

}  // namespace cadsim_test
