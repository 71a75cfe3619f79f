// Capture benchmark, run under Wine by bench/capture-bench: starts cadsim.exe on a
// drawing with its call trace on, presses "キャプチャ" on a real main window (Win32
// widgets and desktop services, the COM link to the stand-in) and measures the
// capture's wall time, the part of it spent in the fixed waits, and the frame query on
// its own through the same COM link. The automation calls are counted from the trace.
//
//   capture_bench [--blocks] DRAWING.dxf TRACE-FILE FRAMES [RUNS]
//
// FRAMES is the number of frames the drawing holds; a capture that finds another
// number, or takes no picture, fails the run. With --blocks the block references on the
// frame layer are frames too (the system menu's option), and the query timed on its own
// is the block query. Of RUNS captures (default 3) the fastest is reported, as one line
// on stdout:
//
//   frames=N capture_ms=T waits_ms=W query_ms=Q capture_calls=C query_calls=K
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "cad/com/co_application_win.h"
#include "cad/com/com_types_win.h"
#include "desktop/shell_services_win.h"
#include "sheets/frame_query.h"
#include "tests/win/stand_in.h"
#include "ui/win/dpi_win.h"
#include "ui/win/form_win.h"
#include "ui/win/widget_factory_win.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The Win32 desktop services, with the time spent in the fixed waits added up.
class TimedShell final : public platform::WinShellServices {
public:
    void sleep(int milliseconds) override {
        const Clock::time_point start = Clock::now();
        WinShellServices::sleep(milliseconds);
        waitedMs += msSince(start);
    }
    double waitedMs = 0;
};

// Lines in the trace file so far (cadsim writes and flushes one line per call).
long long traceLines(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return 0;
    long long lines = 0;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) lines += std::count(buffer, buffer + in.gcount(), '\n');
    return lines;
}

std::wstring wide(const char* text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    return out;
}

// Thrown on any failure, so that the stand-in is still closed on the way out.
struct BenchFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& message) { throw BenchFailure(message); }

struct Figures {
    double captureMs = std::numeric_limits<double>::infinity();
    double waitsMs = 0;
    double queryMs = std::numeric_limits<double>::infinity();
    long long captureCalls = 0, queryCalls = 0;
};

int run(const std::wstring& drawing, const std::wstring& trace, std::size_t frames, int runs, bool blocks) {
    cad::com::ComInit com;
    if (!com.ok()) fail("COM could not be initialised");

    DeleteFileW(trace.c_str());
    cadsim_test::StandIn cadsim({L"--trace", trace, drawing});
    if (!cadsim.started()) fail("cadsim.exe could not be started");
    if (!cadsim.waitForMainWindow(300000)) {
        if (cadsim.waitForExit(10000) == STILL_ACTIVE) fail("cadsim.exe showed no window in time");
        fail("cadsim.exe ended without a window: " + cadsim.output());
    }
    {
        cad::com::ComPtr<IUnknown> probe;
        if (FAILED(cadsim_test::createApplication(probe, 60000))) fail("cadsim.exe's application object cannot be made");
    }

    Figures best;
    {
        TimedShell shell;
        platform::WinWidgetFactory widgets;
        cad::com::ComCoApplication link;
        app::MainWindow form(widgets, shell, platform::primaryMonitorDpi());
        form.setCadLink(link);
        form.setBlockFrames(blocks);
        platform::FormPeer* window = platform::FormPeer::of(form.form());
        if (!window || !window->hwnd()) fail("the main window could not be made");
        shell.setOwner(window->hwnd());
        window->show(SW_SHOWNORMAL);
        shell.processMessages();

        for (int i = 0; i < runs; ++i) {
            form.framePage.session.frames.clear();
            form.framePage.session.photo = std::make_shared<ui::PixelBitmap>();
            shell.waitedMs = 0;
            const long long before = traceLines(trace);
            const Clock::time_point start = Clock::now();
            form.framePage.capture();
            const double ms = msSince(start);
            const long long calls = traceLines(trace) - before;
            shell.processMessages();
            if (form.framePage.session.frames.size() != frames)
                fail("the capture found " + std::to_string(form.framePage.session.frames.size()) + " frames, not " +
                     std::to_string(frames));
            if (!form.framePage.session.photo || form.framePage.session.photo->width() <= 0) fail("the capture took no picture");
            std::fprintf(stderr, "  capture %d: %.1f ms (waits %.1f ms), %lld calls\n", i + 1, ms, shell.waitedMs, calls);
            if (ms < best.captureMs) {
                best.captureMs = ms;
                best.waitsMs = shell.waitedMs;
            }
            best.captureCalls = calls;
        }

        // The frame query alone, over the document's selection set.
        try {
            const std::unique_ptr<cad::CadApplication> application = link.Create(cad::builtInProfiles().front());
            const std::unique_ptr<cad::CadDocument> document = application->currentDocument();
            const std::unique_ptr<cad::CadSelectionSet> set = document->documentSelectionSet();
            for (int i = 0; i < runs; ++i) {
                const long long before = traceLines(trace);
                const Clock::time_point start = Clock::now();
                const std::wstring layer = form.framePage.layer->text();
                const frames::FrameQueryResult query =
                    blocks ? frames::queryBlockFrames(*set, layer) : frames::queryFrames(*set, layer);
                const double ms = msSince(start);
                best.queryCalls = traceLines(trace) - before;
                set->emptySet();
                if (query.frames.size() != frames)
                    fail("the frame query found " + std::to_string(query.frames.size()) + " frames, not " +
                         std::to_string(frames));
                std::fprintf(stderr, "  query %d: %.1f ms, %lld calls\n", i + 1, ms, best.queryCalls);
                best.queryMs = std::min(best.queryMs, ms);
            }
        } catch (const cad::CadError& e) {
            fail(std::string("the frame query failed: ") + e.what());
        }
    }

    std::printf("frames=%zu capture_ms=%.1f waits_ms=%.1f query_ms=%.1f capture_calls=%lld query_calls=%lld\n", frames,
                best.captureMs, best.waitsMs, best.queryMs, best.captureCalls, best.queryCalls);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool blocks = argc > 1 && std::string(argv[1]) == "--blocks";
    if (blocks) --argc, ++argv;
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: capture_bench [--blocks] DRAWING.dxf TRACE-FILE FRAMES [RUNS]\n");
        return 2;
    }
    try {
        char* end = nullptr;
        const long long frames = std::strtoll(argv[3], &end, 10);
        if (*end || frames < 1) fail(std::string("FRAMES must be a count of 1 or more, not ") + argv[3]);
        long long runs = 3;
        if (argc == 5) {
            runs = std::strtoll(argv[4], &end, 10);
            if (*end || runs < 1 || runs > 100) fail(std::string("RUNS must be 1 to 100, not ") + argv[4]);
        }
        platform::enablePerMonitorDpiAwareness();
        LoadLibraryW(L"shcore.dll");
        return run(wide(argv[1]), wide(argv[2]), static_cast<std::size_t>(frames), static_cast<int>(runs),
                   blocks);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "capture_bench: %s\n", e.what());
        return 1;
    }
}
