// The frame preview's geometry: drawing coordinates to pixels of the preview bitmap, a
// mouse position in the image area back to drawing coordinates, the frame under a point,
// and the monitor-scaled pen widths and insets of the selection marks.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "base/monitor_scale.h"
#include "sheets/frame_record.h"

namespace frames {

// A value truncated towards zero to a pixel coordinate. Values far outside any bitmap
// (a scale of 0, an infinite or missing number) are held at +-kPixelLimit so that the
// conversion stays defined and lines along an axis keep their visible part.
inline constexpr double kPixelLimit = 1 << 20;
inline int truncToPixel(double v) {
    if (std::isnan(v)) return 0;
    if (v > kPixelLimit) v = kPixelLimit;
    if (v < -kPixelLimit) v = -kPixelLimit;
    return static_cast<int>(v);
}

// Drawing coordinates (y up) to pixels of a preview bitmap of width x height (origin
// top-left, y down), for a view centred on (cx, cy) at s drawing units per pixel.
struct PreviewMapping {
    double cx = 0, cy = 0, s = 1;
    int width = 0, height = 0;

    int px(double x) const { return truncToPixel((x - cx) / s) + width / 2; }
    int py(double y) const { return height - truncToPixel((y - cy) / s) - height / 2; }
};

// The single factor by which an image area of imageW x imageH shows a picture of
// pictureW x pictureH, centred and scaled to fit; 0 when either is empty.
inline double fitFactor(int imageW, int imageH, int pictureW, int pictureH) {
    if (imageW <= 0 || imageH <= 0 || pictureW <= 0 || pictureH <= 0) return 0;
    const double ex = static_cast<double>(imageW) / pictureW, ey = static_cast<double>(imageH) / pictureH;
    return ex < ey ? ex : ey;
}

struct DrawingPoint {
    double x = 0, y = 0;
};

// The drawing point under a mouse position (x, y) in an image area of imageW x imageH that
// shows the preview of `mapping` at factor e (> 0).
inline DrawingPoint imagePointToDrawing(const PreviewMapping& mapping, double e, int imageW, int imageH, int x, int y) {
    return {mapping.cx + (x - imageW / 2) * mapping.s / e, mapping.cy - (y - imageH / 2) * mapping.s / e};
}

// The first frame in list order that holds the point strictly inside its edges.
inline std::optional<std::size_t> frameAt(const FrameList& frames, DrawingPoint p) {
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const FrameRect& f = frames[i];
        if (f.minx < p.x && p.x < f.maxx && f.miny < p.y && p.y < f.maxy) return i;
    }
    return std::nullopt;
}

// Sizes of the selection marks for a monitor scale factor in percent.
struct MarkSizes {
    int pen;        // pen of a single frame's mark, pixels
    int allPen;     // pen of the marks drawn when choosing every frame, pixels
    double allInset;  // inset of those marks from the frame, drawing units
};
constexpr MarkSizes markSizes(int monitorScaleFactor) {
    return {base::scaledByMonitor(3, monitorScaleFactor, 3), base::scaledByMonitor(2, monitorScaleFactor, 2),
            static_cast<double>(base::scaledByMonitor(2, monitorScaleFactor, 1))};
}

}  // namespace frames
