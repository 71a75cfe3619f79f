// Painting helpers (see paint_win.h).
#include "ui/win/paint_win.h"

namespace platform {

PaintBuffer::PaintBuffer(HDC target, const RECT& area) : target_(target), area_(area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    dc_ = CreateCompatibleDC(target);
    bitmap_ = CreateCompatibleBitmap(target, w, h);
    if (!dc_ || !bitmap_) {  // out of memory: paint straight onto the target
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
        bitmap_ = nullptr;
        return;
    }
    oldBitmap_ = SelectObject(dc_, bitmap_);
    SetWindowOrgEx(dc_, area.left, area.top, nullptr);
}

PaintBuffer::~PaintBuffer() {
    if (!dc_) return;
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_, area_.left,
           area_.top, SRCCOPY);
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

namespace {
RECT clientOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}
}  // namespace

ClientPaint::ClientPaint(HWND window) : window_(window), client_(clientOf(window)) {
    buffer_.emplace(BeginPaint(window, &ps_), client_);
}

ClientPaint::~ClientPaint() {
    buffer_.reset();  // the picture reaches the window before painting ends
    EndPaint(window_, &ps_);
}

void fill(HDC dc, const RECT& r, HBRUSH brush) { FillRect(dc, &r, brush); }

void frame(HDC dc, const RECT& r, HBRUSH brush, int t) {
    const RECT sides[] = {
        {r.left, r.top, r.right, r.top + t},
        {r.left, r.bottom - t, r.right, r.bottom},
        {r.left, r.top + t, r.left + t, r.bottom - t},
        {r.right - t, r.top + t, r.right, r.bottom - t},
    };
    for (const RECT& side : sides) FillRect(dc, &side, brush);
}

void text(HDC dc, const std::wstring& s, RECT r, COLORREF colour, HFONT font, UINT format) {
    Selected selected(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, format | DT_NOPREFIX | DT_SINGLELINE);
}

void chevronDown(HDC dc, const RECT& r, HPEN pen, int size) {
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int half = size / 2 > 0 ? size / 2 : 1, rise = half / 2 > 0 ? half / 2 : 1;
    const POINT points[] = {{cx - half, cy - rise}, {cx, cy + rise}, {cx + half, cy - rise}};
    Selected selected(dc, pen);
    Polyline(dc, points, 3);
}

void checkMark(HDC dc, const RECT& r, HPEN pen) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const POINT points[] = {{r.left + w * 2 / 9, r.top + h / 2},
                            {r.left + w * 4 / 9, r.top + h * 7 / 10},
                            {r.left + w * 7 / 9, r.top + h * 3 / 10}};
    Selected selected(dc, pen);
    Polyline(dc, points, 3);
}

int lineHeight(HDC dc, HFONT font) {
    Selected selected(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm.tmHeight;
}

}  // namespace platform
