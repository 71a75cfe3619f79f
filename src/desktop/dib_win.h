// Owners for the GDI handles of the screen copy and the canvas: a GDI object, the display
// device context, and a 32-bit top-down DIB section selected into a memory device context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>

#include "ui/pixel_bitmap.h"
#include "ui/win/paint_win.h"

namespace platform {

// A device context for the whole display (device "DISPLAY"). Throws desktop::GraphicsError.
class DisplayDc {
public:
    DisplayDc();
    ~DisplayDc() { DeleteDC(dc_); }
    DisplayDc(const DisplayDc&) = delete;
    DisplayDc& operator=(const DisplayDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A width x height bitmap of 32-bit pixels, top row first, selected into a memory device
// context of its own, so GDI can draw on it and the program can read and write its
// pixels. A pixel in memory is 0xXXRRGGBB, as in ui::PixelBitmap; GDI leaves the top
// byte undefined. Throws desktop::GraphicsError when the system cannot make it.
class DibSection {
public:
    DibSection(int width, int height);
    ~DibSection();
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Copies from / to a bitmap of the same size. Waits for GDI to finish what it draws
    // first, since GDI may hold drawing back in a batch.
    void load(const ui::PixelView& from);
    void store(ui::PixelBitmap& to) const;
    std::shared_ptr<ui::PixelBitmap> toBitmap() const;
    std::uint32_t* pixels() const {
        GdiFlush();
        return bits_;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace platform
