#include "sheets/capture_geometry.h"

#include <algorithm>

namespace frames {

bool extentsValid(double minX, double minY, double maxX, double maxY) {
    return maxX - minX > 1.0 && maxY - minY > 1.0;
}

CaptureArea fitCaptureArea(int fullWidth, int fullHeight, double viewSize, double ex, double ey) {
    CaptureArea area;
    // A view area of no size has nothing to frame (and its ratios no meaning).
    if (fullWidth <= 0 || fullHeight <= 0) return area;
    area.u = fullWidth;
    area.v = fullHeight;
    area.A = viewSize / fullHeight * fullWidth;
    if (static_cast<double>(area.u) / area.v > ex / ey) {
        // The new width is below the old one, so it fits an int.
        area.u = static_cast<int>(area.v / ey * ex);
        area.gx = (fullWidth - area.u) / 2;
        area.A = viewSize / ey * ex;
    } else {
        // Likewise below the old height.
        area.v = static_cast<int>(area.u / ex * ey);
        area.gy = (fullHeight - area.v) / 2;
    }
    return area;
}

PreviewSize previewSize(int u, int v, int boxWidth, int boxHeight) {
    if (u <= 0 || v <= 0) return {};
    const double f = std::min(static_cast<double>(boxWidth) / u, static_cast<double>(boxHeight) / v);
    return {static_cast<int>(u * f), static_cast<int>(v * f)};
}

}  // namespace frames
