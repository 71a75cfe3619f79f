// Small painting helpers shared by the owner-drawn controls.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

namespace platform {

// Owns one pen, brush, font or bitmap.
template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

// The device context of a window (or of the screen, for no window) for one scope.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context for one scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Paints off screen and copies the result to `target` in one step, so that a control
// never shows half of its picture.
class PaintBuffer {
public:
    PaintBuffer(HDC target, const RECT& area);
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;
    HDC dc() const { return dc_ ? dc_ : target_; }

private:
    HDC target_;
    RECT area_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

// The whole of a window's client area, painted through a buffer between BeginPaint and
// EndPaint.
class ClientPaint {
public:
    explicit ClientPaint(HWND window);
    ~ClientPaint();
    ClientPaint(const ClientPaint&) = delete;
    ClientPaint& operator=(const ClientPaint&) = delete;
    HDC dc() const { return buffer_->dc(); }
    const RECT& client() const { return client_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    RECT client_{};
    std::optional<PaintBuffer> buffer_;
};

void fill(HDC dc, const RECT& r, HBRUSH brush);
// A border `thickness` pixels wide inside `r`.
void frame(HDC dc, const RECT& r, HBRUSH brush, int thickness);
// One line of text, no prefix characters, clipped to `r`.
void text(HDC dc, const std::wstring& s, RECT r, COLORREF colour, HFONT font, UINT format);
// A downward chevron centred in `r`, drawn with `pen`.
void chevronDown(HDC dc, const RECT& r, HPEN pen, int size);
// A check mark inside the box `r`.
void checkMark(HDC dc, const RECT& r, HPEN pen);
// The height of a line of text in `font`.
int lineHeight(HDC dc, HFONT font);

}  // namespace platform
