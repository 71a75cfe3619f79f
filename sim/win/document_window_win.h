// The document window (no border) and its two children, in z-order: the layout bar
// docked at the bottom edge ("Model | Layout1", plus the prompt status), then the
// drawing view, which fills the whole document window under that bar. The visible
// drawing area is the document window's top-left corner, as wide as the view and as
// high as the view minus the bar; the host is told its size on every resize.
#pragma once

#include <windows.h>

#include <string>

#include "sim/model/host.h"
#include "sim/win/gdi_win.h"
#include "sim/win/view_window_win.h"
#include "sim/win/window_class_win.h"

namespace sim {

class LayoutBar : public UserDataWindow<LayoutBar> {
public:
    HWND create(HWND parent);
    void setStatus(const std::wstring& text);
    int height() const { return height_; }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND hwnd_ = nullptr;

private:
    void onPaint();
    int paintTab(HDC dc, int left, const wchar_t* label, bool current);

    std::wstring status_;
    int height_ = 22;
    GdiObject<HFONT> font_;
};

class DocumentWindow : public UserDataWindow<DocumentWindow> {
public:
    explicit DocumentWindow(Host& host) : host_(host), view_(host) {}
    DocumentWindow(const DocumentWindow&) = delete;
    DocumentWindow& operator=(const DocumentWindow&) = delete;

    HWND create(HWND parent);
    HWND handle() const { return hwnd_; }
    HWND barHandle() const { return bar_.hwnd_; }
    ViewWindow& view() { return view_; }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    HWND hwnd_ = nullptr;

private:
    void onCreate();
    void onSize(int width, int height);

    Host& host_;
    ViewWindow view_;
    LayoutBar bar_;
};

}  // namespace sim
