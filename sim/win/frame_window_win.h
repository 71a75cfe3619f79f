// The host's main window: a normal overlapped window titled "nanoCAD 5" whose client
// is the document window.
#pragma once

#include <windows.h>

#include "sim/model/host.h"
#include "sim/win/document_window_win.h"

namespace sim {

class FrameWindow {
public:
    explicit FrameWindow(Host& host) : document_(host) {}
    FrameWindow(const FrameWindow&) = delete;
    FrameWindow& operator=(const FrameWindow&) = delete;

    // Created hidden, at the top-left of the screen, so that the right-hand part of a
    // 1280-pixel-wide screen stays free for the companion window.
    HWND create();
    HWND handle() const { return hwnd_; }
    DocumentWindow& document() { return document_; }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND hwnd_ = nullptr;

private:
    void onCreate();
    void onSize(int width, int height);
    void onSetFocus();
    void onDestroy();

    DocumentWindow document_;
};

}  // namespace sim
