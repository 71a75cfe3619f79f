// The canvas on Windows: GDI draws on a DIB section that holds a copy of the target
// bitmap; the pixels go back into the bitmap when the canvas is destroyed.
#pragma once

#include <windows.h>

#include <optional>

#include "desktop/canvas.h"
#include "desktop/dib_win.h"
#include "ui/pixel_bitmap.h"
#include "ui/win/paint_win.h"

namespace platform {

class GdiCanvas final : public desktop::Canvas {
public:
    explicit GdiCanvas(ui::PixelBitmap& target);  // throws desktop::GraphicsError
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void setPen(std::uint32_t colour, int width) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setFont(int cellHeight, std::uint32_t colour) override;
    int textWidth(const std::wstring& text) override;
    void textOut(int x, int y, const std::wstring& text) override;
    void copyRect(const ui::Picture& source, int left, int top, int right, int bottom) override;

private:
    ui::PixelBitmap& target_;
    DibSection dib_;
    // Declared before their selections, so that each is deselected before it is deleted.
    GdiObject<HPEN> pen_;
    GdiObject<HFONT> font_;
    std::optional<Selected> penSelected_, fontSelected_;
};

// 0x00RRGGBB as a COLORREF (0x00BBGGRR).
inline COLORREF colorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace platform
