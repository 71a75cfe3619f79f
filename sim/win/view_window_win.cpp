#include "sim/win/view_window_win.h"

#include <windowsx.h>

#include "sim/win/view_mapping.h"
#include "sim/win/view_render_win.h"
#include "sim/win/window_class_win.h"

namespace sim {
namespace {

constexpr wchar_t kViewClass[] = L"CadSimView";

}  // namespace

HWND ViewWindow::create(HWND parent) {
    registerWindowClass<ViewWindow>(kViewClass, nullptr, CS_DBLCLKS);
    return CreateWindowExW(0, kViewClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                           nullptr, GetModuleHandleW(nullptr), this);
}

bool ViewWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_PAINT: onPaint(); return true;
        case WM_ERASEBKGND: result = 1; return true;
        case WM_SIZE: onSize(); return true;
        case WM_LBUTTONDOWN: onLeftButtonDown(at); return true;
        case WM_MOUSEMOVE: onMouseMove(at); return true;
        case WM_CHAR: onChar(static_cast<wchar_t>(wParam)); return true;
        case WM_KEYDOWN: onKeyDown(wParam); return true;
        case WM_GETDLGCODE: result = DLGC_WANTALLKEYS | DLGC_WANTCHARS; return true;
        case WM_SETCURSOR:
            if (LOWORD(lParam) != HTCLIENT || !onSetCursor()) return false;
            result = TRUE;
            return true;
        default: return false;
    }
}

void ViewWindow::drawingChanged() {
    cacheValid_ = false;
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void ViewWindow::renderCache(HDC like, SIZE area) {
    if (!cache_ || cacheSize_.cx != area.cx || cacheSize_.cy != area.cy) {
        cache_.reset(CreateCompatibleBitmap(like, area.cx, area.cy));
        cacheSize_ = area;
    }
    MemoryDc memory(like);
    Selected bitmap(memory.get(), cache_.get());
    renderDrawing(memory.get(), area, host_.drawing(), host_.view(), host_.gridMode(), layers_);
    cacheValid_ = true;
}

void ViewWindow::onPaint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    const SIZE area{client.right, client.bottom};
    if (area.cx > 0 && area.cy > 0) {
        if (!cacheValid_ || cacheSize_.cx != area.cx || cacheSize_.cy != area.cy) renderCache(dc, area);
        MemoryDc memory(dc);
        Selected bitmap(memory.get(), cache_.get());
        BitBlt(dc, 0, 0, area.cx, area.cy, memory.get(), 0, 0, SRCCOPY);
        drawRubberBand(dc);
    }
    EndPaint(hwnd_, &ps);
}

// While a distance is being given by two clicks, a line from the first point follows
// the mouse.
void ViewWindow::drawRubberBand(HDC dc) {
    if (!prompt_ || !prompt_->firstPoint()) return;
    const PixelPoint from = ViewMapping(host_.view()).toPixel(prompt_->firstPoint()->x, prompt_->firstPoint()->y);
    GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, RGB(255, 255, 255)));
    Selected selected(dc, pen.get());
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, pixelOf(from.x), pixelOf(from.y), nullptr);
    LineTo(dc, mouse_.x, mouse_.y);
}

void ViewWindow::onSize() {
    cacheValid_ = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ViewWindow::onLeftButtonDown(POINT at) {
    SetFocus(hwnd_);
    if (!prompt_) return;
    prompt_->click(ViewMapping(host_.view()).toDrawing(at.x, at.y));
    showStatus();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ViewWindow::onMouseMove(POINT at) {
    mouse_ = at;
    if (prompt_ && prompt_->firstPoint()) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ViewWindow::onChar(wchar_t c) {
    if (!prompt_ || c == L'\r' || c == 27) return;  // Enter and Escape arrive as key presses
    prompt_->typeChar(c);
    showStatus();
}

void ViewWindow::onKeyDown(WPARAM key) {
    if (!prompt_) return;  // an Escape with no prompt open does nothing, as in the host
    if (key == VK_ESCAPE) prompt_->escape();
    else if (key == VK_RETURN) prompt_->enter();
    else return;
    showStatus();
}

bool ViewWindow::onSetCursor() {
    if (!prompt_) return false;
    SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    return true;
}

void ViewWindow::showStatus() {
    if (onStatus) onStatus(prompt_ && !prompt_->done() ? prompt_->statusText() : std::wstring());
}

PromptAnswer ViewWindow::ask(const PromptRequest& request) {
    PromptSession session(request);
    PromptSession* const outer = prompt_;  // a prompt asked while another one waits
    prompt_ = &session;
    showStatus();
    if (hwnd_) SetFocus(hwnd_);
    MSG msg;
    while (!session.done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {  // the program is ending: cancel, and let the outer loop end too
            PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 1);
            session.escape();
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    prompt_ = outer;
    showStatus();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
    return session.answer();
}

}  // namespace sim
