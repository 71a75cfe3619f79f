#include "support/memory_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace app {

void MemoryCanvas::setPen(std::uint32_t colour, int width) {
    penColour_ = colour;
    penWidth_ = std::max(1, width);
}

void MemoryCanvas::moveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void MemoryCanvas::plot(int x, int y) {
    // A square dot of the pen's width, centred like a wide GDI pen's band.
    const int from = -(penWidth_ / 2), to = from + penWidth_;
    for (int dy = from; dy < to; ++dy)
        for (int dx = from; dx < to; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < target_.width() && py < target_.height()) target_.at(px, py) = penColour_;
        }
}

void MemoryCanvas::lineTo(int x, int y) {
    // Bresenham; like GDI, a one-pixel pen leaves out the last point.
    int cx = x_, cy = y_;
    const int dx = std::abs(x - cx), sx = cx < x ? 1 : -1;
    const int dy = -std::abs(y - cy), sy = cy < y ? 1 : -1;
    int err = dx + dy;
    while (cx != x || cy != y) {
        plot(cx, cy);
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; cx += sx; }
        if (e2 <= dx) { err += dx; cy += sy; }
    }
    if (penWidth_ > 1) plot(x, y);
    x_ = x;
    y_ = y;
}

void MemoryCanvas::setFont(int cellHeight, std::uint32_t colour) {
    fontHeight_ = cellHeight;
    fontColour_ = colour;
}

int MemoryCanvas::textWidth(const std::wstring& text) {
    return static_cast<int>(text.size()) * fontHeight_ * kCharWidthTenths / 10;
}

void MemoryCanvas::textOut(int x, int y, const std::wstring& text) {
    texts_.push_back({&target_, x, y, textWidth(text), fontHeight_, fontColour_, text});
}

void MemoryCanvas::copyRect(const ui::Picture& source, int left, int top, int right, int bottom) {
    const ui::PixelView from = source.pixels();
    const int l = std::max(left, 0), t = std::max(top, 0);
    const int r = std::min({right, target_.width(), from.width});
    const int b = std::min({bottom, target_.height(), from.height});
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) target_.at(x, y) = from.pixels[static_cast<std::size_t>(y) * from.stride + x];
    if (right <= left || bottom <= top) return;
    std::erase_if(texts_, [&](const TextMark& m) {
        return m.bitmap == &target_ && m.x >= left && m.y >= top && m.x + m.width <= right && m.y + m.height <= bottom;
    });
}

}  // namespace app
