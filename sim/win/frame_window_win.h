// The host's main window: a normal overlapped window titled as the pose asks ("nanoCAD 5"
// by default) whose client is the document window.
#pragma once

#include <windows.h>

#include <string>

#include "sim/model/host.h"
#include "sim/win/document_window_win.h"
#include "sim/win/window_class_win.h"

namespace sim {

// WM_COPYDATA to the main window with this dwData replaces the injected faults and the
// prompt answers while the stand-in runs (tests use it to inject one fault after another
// without a restart). The data is the options, as on the command line but each followed
// by L'\n', in UTF-16: --fail, --garble and --answers. SendMessage returns 1 when they
// were taken and 0 when they were refused (the reason goes to stderr).
inline constexpr ULONG_PTR kReplaceFaultsData = 0x51464C54;  // "QFLT"

class FrameWindow : public UserDataWindow<FrameWindow> {
public:
    explicit FrameWindow(Host& host) : host_(host), document_(host) {}
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // Created hidden, at the top-left of the screen, so that the right-hand part of a
    // 1280-pixel-wide screen stays free for the companion window.
    HWND create(const std::wstring& title);
    HWND handle() const { return hwnd_; }
    DocumentWindow& document() { return document_; }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND hwnd_ = nullptr;

private:
    void onCreate();
    void onSize(int width, int height);
    void onSetFocus();
    void onDestroy();
    bool onReplaceFaults(const COPYDATASTRUCT& data);

    Host& host_;
    DocumentWindow document_;
};

}  // namespace sim
