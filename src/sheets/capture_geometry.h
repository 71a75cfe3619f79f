// The arithmetic of the view capture: which part of the CAD view area to photograph so
// that it has the drawing extents' aspect and sits centred in the view, and how large
// the reduced preview of it is. Trunc rounds towards zero, div is integer division.
#pragma once

namespace frames {

// The drawing's extents as a capture measured them.
struct Extents {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// The extents are worth photographing when they are more than 1.0 unit wide and high.
bool extentsValid(double minX, double minY, double maxX, double maxY);
inline bool extentsValid(const Extents& e) { return extentsValid(e.minX, e.minY, e.maxX, e.maxY); }

// The screen area to copy, relative to the view area's top-left corner: u x v pixels at
// (gx, gy); A is the width in drawing units of what it shows.
struct CaptureArea {
    int u = 0, v = 0;
    int gx = 0, gy = 0;
    double A = 0;
    friend bool operator==(const CaptureArea&, const CaptureArea&) = default;
};

// A view area of fullWidth x fullHeight pixels showing viewSize drawing units high,
// narrowed to the aspect of extents ex x ey (both > 0):
//   A = viewSize / fullHeight * fullWidth;
//   view wider than the extents (u/v > ex/ey): u = Trunc(v / ey * ex),
//     gx = (fullWidth - u) div 2, A = viewSize / ey * ex;
//   otherwise, ties included: v = Trunc(u / ex * ey), gy = (fullHeight - v) div 2.
// A view area without a positive width and height gives the empty area.
CaptureArea fitCaptureArea(int fullWidth, int fullHeight, double viewSize, double ex, double ey);

// The size of the preview of a u x v photograph in a box of boxWidth x boxHeight:
// f = min(boxWidth / u, boxHeight / v) (it may enlarge), Trunc(u * f) x Trunc(v * f).
struct PreviewSize {
    int width = 0, height = 0;
    friend bool operator==(const PreviewSize&, const PreviewSize&) = default;
};
PreviewSize previewSize(int u, int v, int boxWidth, int boxHeight);

}  // namespace frames
