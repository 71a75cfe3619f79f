// The dark style "Windows10 Dark": one palette, and the brushes, pens and fonts made from
// it, cached per window and rebuilt when the window's dpi changes. Every dark surface is
// painted by the program itself, so the look is the same with or without a visual style
// (Windows 10 and 11, Wine).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/win/paint_win.h"

namespace platform {

struct Palette {
    COLORREF window = RGB(32, 32, 32);         // window and tab strip
    COLORREF page = RGB(43, 43, 43);           // pages and panels
    COLORREF field = RGB(25, 25, 25);          // edits, combo fields, open lists
    COLORREF fieldReadOnly = RGB(36, 36, 36);
    COLORREF fieldDisabled = RGB(40, 40, 40);
    COLORREF picture = RGB(22, 22, 22);        // an image with nothing to show
    COLORREF face = RGB(55, 55, 55);           // buttons, unselected tabs
    COLORREF faceHot = RGB(72, 72, 72);
    COLORREF facePressed = RGB(38, 38, 38);
    COLORREF faceDisabled = RGB(45, 45, 45);
    COLORREF border = RGB(96, 96, 96);
    COLORREF borderHot = RGB(150, 150, 150);
    COLORREF borderDisabled = RGB(66, 66, 66);
    COLORREF accent = RGB(0, 120, 215);        // focus, selection, checked marks
    COLORREF accentLight = RGB(76, 160, 255);
    COLORREF text = RGB(240, 240, 240);
    COLORREF textDim = RGB(200, 200, 200);
    COLORREF textDisabled = RGB(125, 125, 125);
    COLORREF selectedText = RGB(255, 255, 255);
    COLORREF tooltip = RGB(43, 43, 43);
};

inline constexpr Palette kPalette{};
inline constexpr wchar_t kFontFace[] = L"Tahoma";

class DarkStyle {
public:
    explicit DarkStyle(int dpi);
    DarkStyle(const DarkStyle&) = delete;
    DarkStyle& operator=(const DarkStyle&) = delete;

    int dpi() const { return dpi_; }
    int scale(int designValue) const;

    HBRUSH brush(COLORREF colour);
    // A solid pen `designWidth` pixels wide at 96 dpi, at least one device pixel.
    HPEN pen(COLORREF colour, int designWidth = 1);
    // Tahoma with a character height of `pixels` device pixels.
    HFONT font(int pixels);
    // `font`, or when `text` is wider than `room` pixels in it, the same face narrowed
    // just enough to fit (to no less than 60 % of its width): a caption whose glyphs run
    // wider than the layout was made for (a fallback font for Japanese) stays whole.
    HFONT fitting(HDC dc, HFONT font, const std::wstring& text, int room);

    // A new dpi: pens are made again; fonts in use stay alive until dropRetired(), once
    // every control has been given its new font.
    void setDpi(int dpi);
    void dropRetired();

private:
    int dpi_;
    // Every handle is owned by its entry and freed with it.
    std::map<COLORREF, GdiObject<HBRUSH>> brushes_;
    std::map<std::pair<COLORREF, int>, GdiObject<HPEN>> pens_;
    std::map<int, GdiObject<HFONT>> fonts_;
    std::map<std::pair<int, int>, GdiObject<HFONT>> narrowFonts_;  // by height and average width
    std::vector<GdiObject<HFONT>> retired_;
};

// Windows-only touches, failures ignored: the dark title bar (DWM attribute 20, or 19
// before Windows 10 20H1) and the dark system theme for scroll bars and tooltips.
void useDarkTitleBar(HWND window);
void useDarkControlTheme(HWND control);

}  // namespace platform
