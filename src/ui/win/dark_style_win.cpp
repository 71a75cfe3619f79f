// The dark style's cached GDI objects (see dark_style_win.h).
#include "ui/win/dark_style_win.h"

#include <dwmapi.h>
#include <uxtheme.h>

#include <algorithm>

#include "ui/win/dpi_win.h"

namespace platform {

namespace {

// Not in every SDK: the title bar colour attribute, and its number before Windows 10 20H1.
constexpr DWORD kDwmUseImmersiveDarkMode = 20;
constexpr DWORD kDwmUseImmersiveDarkModeBefore20H1 = 19;

}  // namespace

DarkStyle::DarkStyle(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

int DarkStyle::scale(int designValue) const { return scaleToDpi(designValue, dpi_); }

HBRUSH DarkStyle::brush(COLORREF colour) {
    auto& slot = brushes_[colour];
    if (!slot) slot.reset(CreateSolidBrush(colour));
    return slot.get();
}

HPEN DarkStyle::pen(COLORREF colour, int designWidth) {
    const int width = std::max(1, scale(designWidth));
    auto& slot = pens_[{colour, width}];
    if (!slot) slot.reset(CreatePen(PS_SOLID, width, colour));
    return slot.get();
}

HFONT DarkStyle::font(int pixels) {
    auto& slot = fonts_[pixels];
    if (!slot) {
        LOGFONTW lf{};
        lf.lfHeight = -std::max(1, pixels);
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = CLEARTYPE_QUALITY;
        lf.lfOutPrecision = OUT_TT_PRECIS;
        wcscpy_s(lf.lfFaceName, kFontFace);
        slot.reset(CreateFontIndirectW(&lf));
    }
    return slot.get();
}

namespace {

int textWidth(HDC dc, HFONT font, const std::wstring& text) {
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

}  // namespace

HFONT DarkStyle::fitting(HDC dc, HFONT font, const std::wstring& text, int room) {
    const int wide = textWidth(dc, font, text);
    if (wide <= room || room <= 0 || text.empty()) return font;
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    const int average = std::max(1, static_cast<int>(tm.tmAveCharWidth));
    HFONT narrow = font;
    for (int width = average * room / wide; width >= std::max(1, average * 6 / 10); --width) {
        auto& slot = narrowFonts_[{lf.lfHeight, width}];
        if (!slot) {
            LOGFONTW narrowed = lf;
            narrowed.lfWidth = width;
            slot.reset(CreateFontIndirectW(&narrowed));
        }
        narrow = slot.get();
        if (textWidth(dc, narrow, text) <= room) break;
    }
    return narrow;
}

void DarkStyle::setDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    pens_.clear();
    for (auto& [height, font] : fonts_) retired_.push_back(std::move(font));
    for (auto& [size, font] : narrowFonts_) retired_.push_back(std::move(font));
    fonts_.clear();
    narrowFonts_.clear();
}

void DarkStyle::dropRetired() { retired_.clear(); }

void useDarkTitleBar(HWND window) {
    const BOOL on = TRUE;
    if (FAILED(DwmSetWindowAttribute(window, kDwmUseImmersiveDarkMode, &on, sizeof on)))
        DwmSetWindowAttribute(window, kDwmUseImmersiveDarkModeBefore20H1, &on, sizeof on);
}

void useDarkControlTheme(HWND control) { SetWindowTheme(control, L"DarkMode_Explorer", nullptr); }

}  // namespace platform
