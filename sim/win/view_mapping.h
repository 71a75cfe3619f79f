// How the stand-in's view puts drawing coordinates on screen, portable so that it can be
// checked without a window. The visible drawing area is widthPx × heightPx pixels; its
// centre shows the drawing point (centreX, centreY) and its height shows `height`
// drawing units, so one drawing unit is heightPx / height pixels, y growing upwards in
// the drawing and downwards on screen.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "sim/model/host.h"

namespace sim {

struct PixelPoint {
    double x = 0, y = 0;
};

class ViewMapping {
public:
    explicit ViewMapping(const ViewState& view)
        : cx_(view.centreX),
          cy_(view.centreY),
          k_(view.height > 0 ? view.heightPx / view.height : 1.0),
          // The centre pixel is the one Quillon's preview mapping gives the view centre.
          px_(view.widthPx / 2),
          py_(view.heightPx - view.heightPx / 2) {}

    double pixelsPerUnit() const { return k_; }
    PixelPoint toPixel(double x, double y) const { return {(x - cx_) * k_ + px_, py_ - (y - cy_) * k_}; }
    Vec2 toDrawing(double px, double py) const { return {cx_ + (px - px_) / k_, cy_ - (py - py_) / k_}; }

private:
    double cx_, cy_, k_;
    double px_, py_;
};

// Nearest whole pixel.
inline int pixelOf(double v) { return static_cast<int>(std::floor(v + 0.5)); }

// Cuts the segment a–b to the rectangle (Liang–Barsky); false when nothing of it is
// inside. Keeps GDI away from coordinates it cannot take when the view is zoomed far in.
inline bool clipSegment(PixelPoint& a, PixelPoint& b, double left, double top, double right, double bottom) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const PixelPoint start = a;
    a = {start.x + t0 * dx, start.y + t0 * dy};
    b = {start.x + t1 * dx, start.y + t1 * dy};
    return true;
}

// Grid pitch in drawing units: the smallest 1, 2 or 5 × 10^n whose dots lie at least
// minPixels apart.
inline double gridPitch(double pixelsPerUnit, double minPixels) {
    if (!(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit)) return 0;
    const double least = minPixels / pixelsPerUnit;
    double decade = std::pow(10.0, std::floor(std::log10(least)));
    for (;;) {
        for (double step : {1.0, 2.0, 5.0})
            if (step * decade >= least * (1 - 1e-12)) return step * decade;
        decade *= 10;
    }
}

// A light colour for a layer, the same one every time (0x00BBGGRR). Layer "0" is
// near-white, as in a CAD view on a dark background.
inline std::uint32_t layerColour(std::wstring_view layer) {
    if (layer == L"0" || layer.empty()) return 0x00E6E6E6;
    static constexpr std::uint32_t palette[] = {
        0x0060D0FF,  // amber
        0x00FFD060,  // sky blue
        0x0080FF80,  // green
        0x00FF80FF,  // magenta
        0x00FFFF70,  // cyan
        0x007070FF,  // red
        0x00B0FFFF,  // light yellow
        0x00FFB0B0,  // lavender
        0x0090C0FF,  // peach
        0x00C0FFC0,  // mint
    };
    std::uint32_t hash = 2166136261u;  // FNV-1a over the UTF-16 units
    for (wchar_t c : layer) {
        hash ^= static_cast<std::uint32_t>(c);
        hash *= 16777619u;
    }
    return palette[hash % (sizeof palette / sizeof palette[0])];
}

}  // namespace sim
