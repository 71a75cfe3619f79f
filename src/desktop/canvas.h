// Drawing on a photograph: the preview's outlines, selection marks and numbers, and the
// restores from the clean copy. GDI on Windows; in memory for the native tests.
#pragma once

#include <cstdint>
#include <string>

#include "ui/widgets.h"

namespace desktop {

// Colours are 0x00RRGGBB, as in the photographs' pixels.
constexpr std::uint32_t rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}
inline constexpr std::uint32_t kOutlineColour = rgb(0, 255, 255);
inline constexpr std::uint32_t kSelectionColour = rgb(255, 100, 100);

// One drawing session on one bitmap. What is drawn reaches the bitmap at the latest when
// the canvas is destroyed; nothing else may touch the bitmap while a canvas is open on it.
class Canvas {
public:
    virtual ~Canvas() = default;
    // A solid pen in copy mode; lines are drawn with it from the current position.
    virtual void setPen(std::uint32_t colour, int width) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;  // also moves the current position
    // Text in the canvas's default face with this cell height, on a transparent background.
    virtual void setFont(int cellHeight, std::uint32_t colour) = 0;
    virtual int textWidth(const std::wstring& text) = 0;
    virtual void textOut(int x, int y, const std::wstring& text) = 0;  // (x, y): top-left corner
    // Copies the pixels of `source` in columns left ... right-1 and rows top ... bottom-1 onto
    // the same place of the bitmap; parts outside either bitmap and empty boxes copy nothing.
    virtual void copyRect(const ui::Picture& source, int left, int top, int right, int bottom) = 0;
};

}  // namespace desktop
