#include "sim/win/document_window_win.h"

#include <algorithm>

#include "sim/win/window_class_win.h"

namespace sim {
namespace {

constexpr wchar_t kDocumentClass[] = L"CadSimDocument";
constexpr wchar_t kBarClass[] = L"CadSimLayoutBar";
constexpr COLORREF kBarBackground = RGB(45, 52, 61);
constexpr COLORREF kTabCurrent = RGB(74, 86, 100);
constexpr COLORREF kBarText = RGB(215, 222, 230);
constexpr COLORREF kPromptText = RGB(255, 214, 120);

int scaledForScreen(int pixelsAt96) {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixelsAt96, dpi > 0 ? dpi : 96, 96);
}

}  // namespace

// ---- the layout bar ----

HWND LayoutBar::create(HWND parent) {
    registerWindowClass<LayoutBar>(kBarClass, nullptr);
    height_ = scaledForScreen(22);
    font_.reset(createTextFont(scaledForScreen(12), 0));
    return CreateWindowExW(0, kBarClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, height_, parent,
                           nullptr, GetModuleHandleW(nullptr), this);
}

void LayoutBar::setStatus(const std::wstring& text) {
    status_ = text;
    if (!hwnd_) return;
    SetWindowTextW(hwnd_, text.c_str());  // also readable from other processes
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

bool LayoutBar::onMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    switch (message) {
        case WM_PAINT: onPaint(); return true;
        case WM_ERASEBKGND: result = 1; return true;
        default: return false;
    }
}

int LayoutBar::paintTab(HDC dc, int left, const wchar_t* label, bool current) {
    SIZE text{};
    GetTextExtentPoint32W(dc, label, lstrlenW(label), &text);
    const int pad = height_ / 2;
    RECT tab{left, 0, left + text.cx + 2 * pad, height_};
    if (current) {
        GdiObject<HBRUSH> brush(CreateSolidBrush(kTabCurrent));
        FillRect(dc, &tab, brush.get());
    }
    SetTextColor(dc, kBarText);
    DrawTextW(dc, label, -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return tab.right;
}

void LayoutBar::onPaint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    GdiObject<HBRUSH> background(CreateSolidBrush(kBarBackground));
    FillRect(dc, &client, background.get());
    Selected font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    int x = paintTab(dc, 2, L"Model", true);
    x = paintTab(dc, x + 1, L"Layout1", false);
    if (!status_.empty()) {
        RECT text{x + height_, 0, client.right - 4, client.bottom};
        SetTextColor(dc, kPromptText);
        DrawTextW(dc, status_.c_str(), static_cast<int>(status_.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    EndPaint(hwnd_, &ps);
}

// ---- the document window ----

HWND DocumentWindow::create(HWND parent) {
    registerWindowClass<DocumentWindow>(kDocumentClass, nullptr);
    return CreateWindowExW(0, kDocumentClass, L"Drawing1.dxf", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0,
                           parent, nullptr, GetModuleHandleW(nullptr), this);
}

bool DocumentWindow::onMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_CREATE: onCreate(); return true;
        case WM_SIZE: onSize(LOWORD(lParam), HIWORD(lParam)); return true;
        case WM_ERASEBKGND: result = 1; return true;  // the children cover it all
        default: return false;
    }
}

void DocumentWindow::onCreate() {
    bar_.create(hwnd_);
    view_.create(hwnd_);
    // The bar first in z-order, the view after it, whatever order creation gave them.
    SetWindowPos(bar_.hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(view_.hwnd_, bar_.hwnd_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    view_.onStatus = [this](const std::wstring& text) { bar_.setStatus(text); };
}

void DocumentWindow::onSize(int width, int height) {
    if (width <= 0 || height <= 0) return;  // minimised: the view keeps its last size
    MoveWindow(view_.hwnd_, 0, 0, width, height, TRUE);
    MoveWindow(bar_.hwnd_, 0, height - bar_.height(), width, bar_.height(), TRUE);
    host_.setScreenSize(width, std::max(height - bar_.height(), 1));
}

}  // namespace sim
