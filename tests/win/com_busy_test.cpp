// A busy CAD: the stand-in started with --busy N rejects every automation call N times
// before it serves it. Without retrying, a call gets the rejection; through the COM
// client it is tried again until served, or until the deadline and then it fails
// saying so. Also the wait between tries (paint dispatched, input kept) and Quillon's
// message filter, which Windows consults and Wine does not.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cad/busy_wait.h"
#include "cad/com/busy_wait_win.h"
#include "cad/com/co_application_win.h"
#include "cad/com/message_filter_win.h"
#include "com_cadsim.h"

namespace {

using namespace std::chrono_literals;
using cad::BusyWait;
using cad::com::ComPtr;
using Clock = std::chrono::steady_clock;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The stand-in's trace lines of `count` rejections of the method, by a host busy for
// `of` rejections a call.
std::vector<std::string> rejections(const char* method, int count, long of) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("busy: " + std::string(method) + " rejected (" + std::to_string(i) + " of " +
                        std::to_string(of) + ")");
    return lines;
}

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A stand-in, busy as told, serving the fixture drawing, and the trace read from a point.
struct BusyCad {
    explicit BusyCad(const std::wstring& busy) : served({L"--busy", busy}, "") {}
    std::vector<std::string> newTraceLines() {
        const std::string text = comtest::readFile(served.trace);
        const std::string fresh = text.substr(std::min(read, text.size()));
        read = text.size();
        return linesOf(fresh);
    }
    cad::com::ComInit com;
    comtest::ServedFixture served;
    std::size_t read = 0;
};

// What a busy CAD answers to a COM call that nobody tries again: a rejection
// (RPC_E_CALL_REJECTED under Wine; on Windows, with no message filter, that or
// RPC_E_SERVERCALL_RETRYLATER).
TEST(ComBusy, ACallNotTriedAgainGetsTheRejection) {
    BusyCad cad(L"3");
    ComPtr<IUnknown> unknown;
    ASSERT_HRESULT_SUCCEEDED(cadsim_test::createApplication(unknown));
    ComPtr<IDispatch> application;
    ASSERT_HRESULT_SUCCEEDED(unknown.query(application));
    wchar_t member[] = L"HWND";
    LPOLESTR names[] = {member};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = application->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    EXPECT_TRUE(cad::isBusyResult(hr)) << std::hex << hr;
    EXPECT_EQ(cad.newTraceLines(), rejections("GetIDsOfNames", 1, 3));
}

// Through the COM client every call is tried until the CAD serves it: GetTypeInfo,
// GetIDsOfNames and Invoke of a first call, then Invoke alone, each rejected three
// times and served once.
TEST(ComBusy, CallsAreTriedAgainUntilTheCadServesThem) {
    BusyCad cad(L"3");
    auto app = cad::com::ComCoApplication(BusyWait{}).Create(cad::builtInProfiles().front());
    auto doc = app->currentDocument();
    std::vector<std::string> expected = rejections("GetTypeInfo", 3, 3);
    for (const char* method : {"GetIDsOfNames", "Invoke"})
        for (const std::string& line : rejections(method, 3, 3)) expected.push_back(line);
    expected.push_back("Application.ActiveDocument");
    EXPECT_EQ(cad.newTraceLines(), expected);

    EXPECT_EQ(cad::sysVarNumber(doc->readSysVar(L"DIMSCALE")), 2.5);
    cad.newTraceLines();
    const auto start = Clock::now();
    EXPECT_EQ(cad::sysVarNumber(doc->readSysVar(L"DIMSCALE")), 2.5);
    const long long took = msSince(start);
    expected = rejections("Invoke", 3, 3);
    expected.push_back("Document.GetVariable(\"DIMSCALE\")");
    EXPECT_EQ(cad.newTraceLines(), expected);
    std::printf("a call rejected three times took %lld ms\n", took);
}

// A CAD that stays busy: the call fails once the deadline has passed (a deadline of 0:
// at the first rejection), with the text saying the CAD stayed busy, and is never served.
TEST(ComBusy, ACadBusyPastTheDeadlineFailsTheCallSayingSo) {
    BusyCad cad(L"999999999");
    for (const auto deadline : {0ms, 1000ms}) {
        SCOPED_TRACE(deadline.count());
        const BusyWait policy{deadline};
        auto app = cad::com::ComCoApplication(policy).Create(cad::builtInProfiles().front());
        cad.newTraceLines();
        const auto start = Clock::now();
        try {
            app->mainWindowHandle();
            ADD_FAILURE() << "a call to a CAD that stays busy succeeded";
        } catch (const cad::CadError& e) {
            EXPECT_EQ(e.text(), policy.gaveUpText(L"HWND"));
        }
        const long long took = msSince(start);
        const std::vector<std::string> trace = cad.newTraceLines();
        if (deadline == 0ms) {
            EXPECT_EQ(trace, rejections("GetTypeInfo", 1, 999999999));
        } else {
            EXPECT_GE(took, 1000);
            EXPECT_LT(took, 8000) << "waited past the deadline given";
            EXPECT_GE(trace.size(), 5u);
            for (const std::string& line : trace) EXPECT_EQ(line.rfind("busy: GetTypeInfo rejected", 0), 0u) << line;
        }
    }
}

// A window of this thread: when it was last painted, and how many messages were posted
// to it and handled.
struct CountingWindow {
    static inline Clock::time_point paintedAt{};
    static inline int posted = 0;
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            paintedAt = Clock::now();
            return 0;
        }
        if (message == WM_APP) ++posted;
        return DefWindowProcW(hwnd, message, w, l);
    }
    CountingWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuillonBusyWaitTest";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"busy wait", WS_POPUP | WS_VISIBLE, 0, 0, 120, 80, nullptr,
                               nullptr, wc.hInstance, nullptr);
        UpdateWindow(hwnd);
        paintedAt = {};
        posted = 0;
    }
    ~CountingWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

// Between two tries the window is painted as soon as it needs it, not only once the
// wait is over, while a message posted to it (a button press, say) waits until the call
// is over; the wait lasts its time.
TEST(ComBusy, TheWaitBetweenTriesPaintsButKeepsInputForLater) {
    CountingWindow window;
    ASSERT_NE(window.hwnd, nullptr);
    PostMessageW(window.hwnd, WM_APP, 0, 0);
    const auto start = Clock::now();
    std::thread later([&] {
        std::this_thread::sleep_for(100ms);
        InvalidateRect(window.hwnd, nullptr, FALSE);
    });
    cad::com::waitDispatchingPaint(1500ms);
    const long long took = msSince(start);
    later.join();
    ASSERT_NE(CountingWindow::paintedAt, Clock::time_point{}) << "not painted";
    EXPECT_LT(CountingWindow::paintedAt - start, 1000ms) << "painted only at the end of the wait";
    EXPECT_EQ(CountingWindow::posted, 0);
    EXPECT_GE(took, 1500);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window.hwnd, WM_APP, WM_APP, PM_REMOVE));
}

// The filter Windows consults: a call rejected either way is retried after the
// policy's wait until the deadline, then given up (-1); messages meanwhile get COM's
// default handling. Installed, it replaces the filter before it, which comes back after.
TEST(ComBusy, QuillonsMessageFilterRetriesUntilTheDeadline) {
    cad::com::ComInit com;
    const ComPtr<IMessageFilter> filter = cad::com::busyWaitFilter(BusyWait{1000ms});
    const std::tuple<DWORD, DWORD, DWORD> cases[] = {
        {0, SERVERCALL_RETRYLATER, 100},  {150, SERVERCALL_REJECTED, 150},   {700, SERVERCALL_RETRYLATER, 300},
        {999, SERVERCALL_REJECTED, 1},    {1000, SERVERCALL_RETRYLATER, DWORD(-1)}, {60000, SERVERCALL_REJECTED, DWORD(-1)},
    };
    for (const auto& [elapsed, kind, answer] : cases)
        EXPECT_EQ(filter->RetryRejectedCall(nullptr, elapsed, kind), answer) << elapsed;
    EXPECT_EQ(filter->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL), DWORD(PENDINGMSG_WAITDEFPROCESS));

    const ComPtr<IMessageFilter> before = cad::com::busyWaitFilter(BusyWait{});
    cad::com::MessageFilterScope outer(before);
    ASSERT_HRESULT_SUCCEEDED(outer.result());
    {
        cad::com::MessageFilterScope inner(filter);
        ASSERT_HRESULT_SUCCEEDED(inner.result());
    }
    ComPtr<IMessageFilter> current;
    ASSERT_HRESULT_SUCCEEDED(CoRegisterMessageFilter(nullptr, current.put()));
    EXPECT_EQ(current, before);
    CoRegisterMessageFilter(current.get(), nullptr);
}

}  // namespace
