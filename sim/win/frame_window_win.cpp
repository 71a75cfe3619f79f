#include "sim/win/frame_window_win.h"

#include <exception>
#include <string>
#include <vector>

#include "cad/ids.h"
#include "sim/model/command_line.h"
#include "sim/model/text_codec.h"
#include "sim/win/report_win.h"
#include "sim/win/window_class_win.h"

namespace sim {
namespace {

constexpr wchar_t kFrameClass[] = L"CadSimMainWindow";
// Leaves the right-hand part of a 1280-pixel screen free for the window beside it.
constexpr int kWidth = 780, kHeight = 760;
// A sheet plotted in the background is written this long after its plot call, from the
// message loop: long enough that the next sheet of a run is asked for while it is pending.
constexpr UINT_PTR kBackgroundPlotTimer = 1;
constexpr UINT kBackgroundPlotMs = 3000;

}  // namespace

HWND FrameWindow::create(const std::wstring& title) {
    registerWindowClass<FrameWindow>(kFrameClass, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    return CreateWindowExW(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, kWidth,
                           kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

bool FrameWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (!data || data->dwData != kReplaceFaultsData) return false;
            result = onReplaceFaults(*data) ? 1 : 0;
            return true;
        }
        case WM_CREATE: onCreate(); return true;
        case WM_SIZE: onSize(LOWORD(lParam), HIWORD(lParam)); return true;
        case WM_SETFOCUS: onSetFocus(); return true;
        case WM_DESTROY: onDestroy(); return true;
        case WM_TIMER:
            if (wParam != kBackgroundPlotTimer) return false;
            KillTimer(hwnd_, kBackgroundPlotTimer);
            host_.finishBackgroundPlot();
            return true;
        default: return false;
    }
}

bool FrameWindow::onReplaceFaults(const COPYDATASTRUCT& data) {
    const auto* text = static_cast<const wchar_t*>(data.lpData);
    std::vector<std::wstring> args;
    std::wstring arg;
    for (DWORD i = 0; text && i < data.cbData / sizeof(wchar_t); ++i) {
        if (text[i] != L'\n') {
            arg += text[i];
            continue;
        }
        args.push_back(arg);
        arg.clear();
    }
    try {
        const CommandLine line = parseCommandLine(args);
        if (!line.drawing.empty() || line.unregister || line.help || !line.options.journal.empty() ||
            !line.options.trace.empty() || !line.options.plotDir.empty())
            throw CommandLineError("only --fail, --garble and --answers can be replaced while running");
        host_.replaceFaults(line.options);
        return true;
    } catch (const std::exception& e) {
        writeToStream(Stream::Err, L"cadsim: faults not replaced: " + decodeUtf8(e.what()) + L"\n");
        return false;
    }
}

void FrameWindow::onCreate() {
    document_.create(hwnd_);
    host_.onBackgroundPlot = [this] { SetTimer(hwnd_, kBackgroundPlotTimer, kBackgroundPlotMs, nullptr); };
}

void FrameWindow::onSize(int width, int height) {
    if (width > 0 && height > 0) MoveWindow(document_.handle(), 0, 0, width, height, TRUE);
}

// Keys typed into the host (a prompt's answer, Escape) go to the view.
void FrameWindow::onSetFocus() {
    SetFocus(document_.view().handle());
}

void FrameWindow::onDestroy() {
    // A sheet still plotting in the background is finished before the host goes.
    KillTimer(hwnd_, kBackgroundPlotTimer);
    host_.onBackgroundPlot = nullptr;
    host_.finishBackgroundPlot();
    PostQuitMessage(0);
}

}  // namespace sim
