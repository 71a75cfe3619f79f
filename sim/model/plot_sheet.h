// How the plot area of a drawing lands on a sheet of paper, and the sheet drawn as a
// one-page PDF.
#pragma once

#include <string>

#include "sim/model/devices.h"
#include "sim/model/drawing.h"

namespace sim {

// Drawing units to page points for one plot. The area is scaled to paper, turned by
// quarter turns counter-clockwise on the sheet, and put at the sheet's lower-left corner
// or, centred, in its middle. The page is the media as named (width x height), whatever
// the rotation: turning moves the drawing on the sheet, not the sheet.
class SheetMapping {
public:
    SheetMapping(double pageWidthMm, double pageHeightMm, Extents area, double mmPerUnit, int quarterTurns,
                 bool centred);

    // The mapping of a layout's settings for the area on the media: the custom scale in
    // the layout's paper units (inches, millimetres, or pixels taken as points), or, with
    // a listed scale, the area fitted to the sheet.
    static SheetMapping forSettings(const Media& media, const LayoutSettings& settings, Extents area);

    Vec2 toPage(Vec2 drawing) const;
    double pointsPerUnit() const { return pointsPerUnit_; }
    int quarterTurns() const { return turns_; }
    double pageWidth() const { return pageWidth_; }  // points
    double pageHeight() const { return pageHeight_; }
    const Extents& area() const { return area_; }
    // The area's image on the page, cut to the page, in points; empty when nothing of
    // the area lands on the page.
    const Extents& clip() const { return clip_; }

private:
    Extents area_;
    double pageWidth_, pageHeight_, pointsPerUnit_;
    int turns_;
    double imageWidth_ = 0, imageHeight_ = 0;  // the area on paper before turning, points
    Vec2 offset_;                              // lower-left corner of the turned image
    Extents clip_;
};

// The sheet as a one-page PDF: every entity inside the plot area, clipped to it, drawn
// in black on white. Text is set in Helvetica; characters it cannot show (Japanese,
// among others) are drawn as an outlined box each.
std::string sheetPdf(const Drawing& drawing, const SheetMapping& mapping);

}  // namespace sim
