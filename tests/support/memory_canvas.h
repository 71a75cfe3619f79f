// The canvas of the native tests: lines and copies go into the bitmap's pixels; text is
// not rasterised but written to a log, with the box it covers, so tests can read the
// numbers drawn. A copy over a text's whole box erases it from the log, as it would erase
// its pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/canvas.h"
#include "ui/pixel_bitmap.h"

namespace app {

struct TextMark {
    const ui::PixelBitmap* bitmap = nullptr;
    int x = 0, y = 0, width = 0, height = 0;  // top-left corner and size of the cell
    std::uint32_t colour = 0;
    std::wstring text;
};

class MemoryCanvas final : public desktop::Canvas {
public:
    // Each character of a text is this many tenths of the cell height wide.
    static constexpr int kCharWidthTenths = 5;

    MemoryCanvas(ui::PixelBitmap& target, std::vector<TextMark>& texts) : target_(target), texts_(texts) {}

    void setPen(std::uint32_t colour, int width) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setFont(int cellHeight, std::uint32_t colour) override;
    int textWidth(const std::wstring& text) override;
    void textOut(int x, int y, const std::wstring& text) override;
    void copyRect(const ui::Picture& source, int left, int top, int right, int bottom) override;

private:
    void plot(int x, int y);  // one pen dot centred on (x, y)

    ui::PixelBitmap& target_;
    std::vector<TextMark>& texts_;
    std::uint32_t penColour_ = 0, fontColour_ = 0;
    int penWidth_ = 1, fontHeight_ = 0;
    int x_ = 0, y_ = 0;
};

}  // namespace app
