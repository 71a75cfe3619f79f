// The print scales as the main window uses them: the drawing sheet size from the
// equal-interval page's controls, and the frame print scale shown in Edit6. The grid print
// scale is TForm60::Button6Click, defined beside these.
#pragma once

#include "app/form60.h"
#include "frames/frame_record.h"
#include "plot/print_scale.h"

namespace app {

// The message Button6Click shows when the chosen paper has no A or B size code.
inline constexpr wchar_t kPaperNotForScaleMessage[] =
    L"尺度自動計算の用紙サイズは A0～A9.B0～B9 のみです．\n手動で尺度を計算して下さい．";

// The drawing sheet size in drawing units, from ComboBox5 (sheet size), the item index of
// ComboBox6 (0 landscape, 1 portrait, none: landscape) and Edit4 (drawing scale); 0 and 0
// when it cannot be formed.
void GetCadPaperSize(const TForm60& form, double& cadW, double& cadH);

// The print scale of `frame` on the paper of ComboBox8. When the paper has a size, Edit6
// shows the scale ("%.4f"); otherwise Edit6 is left as it is and `found` is false.
plot::FrameScale showFramePrintScale(TForm60& form, const frames::TmvWaku& frame);

}  // namespace app
