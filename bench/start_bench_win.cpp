// Start benchmark, run under Wine by bench/start-bench: starts each program it is given
// in turn, RUNS times, and measures from just before CreateProcess until the program
// shows a visible top-level window ("visible"), and until that window's thread answers
// a message, i.e. has finished what it does before its message loop, the first paint
// included ("ready"). Each program is closed by its window before the next starts.
// The programs take turns, the order reversed every other round, after one start each
// that is not counted.
//
//   start_bench RUNS NAME=PROGRAM.exe [NAME=PROGRAM.exe...]
//
// Prints the median and the fastest of both figures per program, and each program's
// median against the first program's.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win/test_process.h"

namespace {

struct Program {
    std::string name;
    std::wstring exe, folder;
    std::vector<double> visibleMs, readyMs;
};

double now() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

// The program's top-level windows as they are made, reported by the creation event
// (Wine sends no show event), so that the launcher needs to ask only about those while
// it waits: asking about every window of the desktop each millisecond would cost the
// started program noticeable time in the Wine server.
struct Made {
    DWORD process = 0;
    std::vector<HWND> windows;
};
Made* watching = nullptr;

void CALLBACK windowMade(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (!watching || object != OBJID_WINDOW || !window) return;
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow() || GetWindow(window, GW_OWNER) ||
        (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
        return;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == watching->process) watching->windows.push_back(window);
}

// One start: false when the program showed no window within 30 s.
bool startOnce(Program& p, bool counted) {
    const double start = now();
    Made made;
    watching = &made;
    wintest::TestProcess process(p.exe, {}, wintest::TestProcess::Options{p.folder});
    if (!process.started()) return false;
    made.process = process.id();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, windowMade, process.id(),
                                         0, WINEVENT_OUTOFCONTEXT);
    HWND window = nullptr;
    double visible = 0;
    while (!window && process.running() && now() - start < 30000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        for (HWND w : made.windows) {
            if (!IsWindowVisible(w)) continue;
            window = w;
            visible = now();
        }
    }
    if (hook) UnhookWinEvent(hook);
    watching = nullptr;
    if (!window) return false;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer)) return false;
    const double ready = now();
    if (counted) {
        p.visibleMs.push_back(visible - start);
        p.readyMs.push_back(ready - start);
    }
    return process.end();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

std::wstring wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 0;
    if (argc < 3 || runs < 1 || runs > 1000) {
        std::fprintf(stderr, "usage: start_bench RUNS(1-1000) NAME=PROGRAM.exe [NAME=PROGRAM.exe...]\n");
        return 2;
    }
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t equals = arg.find('=');
        if (equals == std::string::npos || equals == 0) {
            std::fprintf(stderr, "start_bench: not NAME=PROGRAM.exe: %s\n", argv[i]);
            return 2;
        }
        Program p;
        p.name = arg.substr(0, equals);
        p.exe = wide(arg.substr(equals + 1));
        const std::size_t slash = p.exe.find_last_of(L"\\/");
        p.folder = slash == std::wstring::npos ? L"." : p.exe.substr(0, slash);
        programs.push_back(std::move(p));
    }

    for (int round = 0; round <= runs; ++round) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program& p = programs[round % 2 ? programs.size() - 1 - k : k];
            if (!startOnce(p, round > 0)) {
                std::fprintf(stderr, "start_bench: %s showed no window, did not answer or did not end in time\n",
                             p.name.c_str());
                return 1;
            }
            Sleep(200);  // let the ended process go before the next one starts
        }
    }

    std::printf("%-12s %14s %11s %14s %11s %9s\n", "program", "visible median", "fastest", "ready median", "fastest",
                "x first");
    const double yardstick = median(programs.front().visibleMs);
    for (const Program& p : programs)
        std::printf("%-12s %11.0f ms %8.0f ms %11.0f ms %8.0f ms %9.2f\n", p.name.c_str(), median(p.visibleMs),
                    fastest(p.visibleMs), median(p.readyMs), fastest(p.readyMs), median(p.visibleMs) / yardstick);
    std::fflush(stdout);
    return 0;
}
