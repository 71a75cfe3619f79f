// The print scales as the main window uses them: the drawing sheet size from the
// equal-interval page's controls, and the frame print scale shown in framePrintScale. The grid print
// scale is MainWindow::recomputePrintScale, defined beside these.
#pragma once

#include "app/main_window.h"
#include "sheets/frame_record.h"
#include "sheets/print_scale.h"

namespace app {

// The message recomputePrintScale shows when the chosen paper has no A or B size code.
inline constexpr wchar_t kPaperNotForScaleMessage[] =
    L"尺度自動計算の用紙サイズは A0～A9.B0～B9 のみです．\n手動で尺度を計算して下さい．";

// The drawing sheet size in drawing units, from sheetSize (sheet size), the item index of
// sheetOrientation (0 landscape, 1 portrait, none: landscape) and drawingScale (drawing scale); 0 and 0
// when it cannot be formed.
void GetCadPaperSize(const MainWindow& form, double& cadW, double& cadH);

// The print scale of `frame` on the paper of framePaper. When the paper has a size, framePrintScale
// shows the scale ("%.4f"); otherwise framePrintScale is left as it is and `found` is false.
plot::FrameScale showFramePrintScale(MainWindow& form, const frames::FrameRect& frame);

}  // namespace app
