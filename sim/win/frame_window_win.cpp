#include "sim/win/frame_window_win.h"

#include "cad/ids.h"
#include "sim/win/window_class_win.h"

namespace sim {
namespace {

constexpr wchar_t kFrameClass[] = L"CadSimMainWindow";
// Leaves the right-hand part of a 1280-pixel screen free for the window beside it.
constexpr int kWidth = 780, kHeight = 760;

}  // namespace

HWND FrameWindow::create() {
    registerWindowClass<FrameWindow>(kFrameClass, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    return CreateWindowExW(0, kFrameClass, cad::kHostWindowTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, kWidth,
                           kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

bool FrameWindow::onMessage(UINT message, WPARAM, LPARAM lParam, LRESULT&) {
    switch (message) {
        case WM_CREATE: onCreate(); return true;
        case WM_SIZE: onSize(LOWORD(lParam), HIWORD(lParam)); return true;
        case WM_SETFOCUS: onSetFocus(); return true;
        case WM_DESTROY: onDestroy(); return true;
        default: return false;
    }
}

void FrameWindow::onCreate() {
    document_.create(hwnd_);
}

void FrameWindow::onSize(int width, int height) {
    if (width > 0 && height > 0) MoveWindow(document_.handle(), 0, 0, width, height, TRUE);
}

// Keys typed into the host (a prompt's answer, Escape) go to the view.
void FrameWindow::onSetFocus() {
    SetFocus(document_.view().handle());
}

void FrameWindow::onDestroy() {
    PostQuitMessage(0);
}

}  // namespace sim
