// Print scales from the paper-size table and the numbers in the controls.
#include "sheets/print_scale.h"

#include <cmath>

#include "base/numbers.h"
#include "sheets/paper_sizes.h"

namespace plot {

namespace {

double longSide(std::wstring_view name) {
    const std::optional<SheetSize> size = findPaperSize(name, 0);
    return size ? size->width : 0;
}

}  // namespace

SheetSize cadPaperSize(std::wstring_view sheetName, int orientation, std::wstring_view drawingScaleText) {
    const std::optional<SheetSize> size = findPaperSize(sheetName, orientation);
    if (!size) return {};
    const double scale = base::readNumber(drawingScaleText, 1);
    if (!(scale > 0)) return {};
    return {size->width * scale, size->height * scale};
}

GridScale gridPrintScale(std::wstring_view spacingText, std::wstring_view drawingScaleText,
                         std::wstring_view sheetName, std::wstring_view paperName) {
    double spacingX = 0, spacingY = 0, drawingScale = 0, sheetLong = 0, paperLong = 0;
    if (const std::size_t comma = spacingText.find(L','); comma != std::wstring_view::npos) {
        spacingX = base::readNumber(base::trimBlanks(spacingText.substr(0, comma)), 0);
        spacingY = base::readNumber(base::trimBlanks(spacingText.substr(comma + 1)), 0);
        drawingScale = base::readNumber(drawingScaleText, 1);
        if (spacingX > 0 && spacingY > 0 && drawingScale > 0) sheetLong = longSide(sheetName);
    }
    GridScale result;
    if (spacingX > 0 && spacingY > 0 && !paperName.empty()) {
        paperLong = longSide(paperName);
        if (drawingScale > 0 && sheetLong > 0 && paperLong > 0) {
            const double scale = drawingScale * sheetLong / paperLong;
            // A drawing scale near the largest double overflows; no scale beats "INF".
            if (std::isfinite(scale)) result.scale = scale;
        }
    }
    result.paperNotKnown = paperLong == 0 && !paperName.empty();
    return result;
}

FrameScale framePrintScale(const frames::FrameRect& frame, std::wstring_view paperName) {
    const double paperLong = longSide(paperName);
    if (paperLong == 0) return {};
    const double dx = frame.maxx - frame.minx, dy = frame.maxy - frame.miny;
    FrameScale result;
    result.found = true;
    result.landscape = dx > dy;
    result.scale = (result.landscape ? dx : dy) / paperLong;
    return result;
}

}  // namespace plot
