// Print scales: how many drawing units one millimetre of paper shows. Pure computations
// on the texts of the controls; numbers are read under the process's number settings.
#pragma once

#include <optional>
#include <string_view>

#include "sheets/frame_record.h"
#include "sheets/paper_sizes.h"

namespace plot {

// The size of one drawing sheet in drawing units: the sheet size named in `sheetName`
// (orientation below 1 landscape, else portrait) times the drawing scale in
// `drawingScaleText` (1 when that is not a number). 0 x 0 when the name holds no size
// code or the scale is not above 0.
SheetSize cadPaperSize(std::wstring_view sheetName, int orientation, std::wstring_view drawingScaleText);

// The grid print scale: drawing scale x the drawing sheet's long side / the paper's long
// side. `spacingText` is "X,Y" (split at the first comma, each side a number, 0 when not);
// both spacings must be above 0 or nothing is computed; `drawingScaleText` reads as 1 when
// it is not a number; `paperName` is empty when no paper is chosen.
struct GridScale {
    std::optional<double> scale;  // nothing: the print scale stays as it is
    bool paperNotKnown = false;   // a paper is chosen, but its long side was not found
};
GridScale gridPrintScale(std::wstring_view spacingText, std::wstring_view drawingScaleText,
                         std::wstring_view sheetName, std::wstring_view paperName);

// The frame print scale: the frame's longer side over the paper's long side. A frame
// wider than high is landscape; a square one counts as portrait.
struct FrameScale {
    bool found = false;  // the paper name holds a size code
    double scale = 0;
    bool landscape = false;
};
FrameScale framePrintScale(const frames::FrameRect& frame, std::wstring_view paperName);

}  // namespace plot
