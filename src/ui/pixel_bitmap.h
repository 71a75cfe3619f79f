// A 32-bit bitmap held in memory, 0x00RRGGBB, top row first: the window's photographs.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/widgets.h"

namespace ui {

class PixelBitmap : public Picture {
public:
    PixelBitmap() = default;
    PixelBitmap(int width, int height, std::uint32_t fill = 0)
        : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0),
          pixels_(static_cast<std::size_t>(width_) * height_, fill) {}

    PixelView pixels() const override { return {pixels_.data(), width_, height_, width_}; }
    std::uint32_t& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    std::uint32_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    std::uint32_t* data() { return pixels_.data(); }  // top row first, width() pixels per row

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace ui
