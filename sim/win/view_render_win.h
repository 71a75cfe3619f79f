// Paints a drawing with GDI at the view's mapping: a dark background, every entity in
// its layer's light colour, text in a face that writes CJK scripts, and grid dots.
#pragma once

#include <windows.h>

#include "sim/model/drawing.h"
#include "sim/model/host.h"
#include "sim/win/layer_styles.h"

namespace sim {

inline constexpr COLORREF kViewBackground = RGB(33, 40, 48);

// Paints the whole `area` (pixels, from the top-left of dc); the drawing's mapping comes
// from `view`, whose pixel size is the visible part of that area. Layers that are off or
// frozen are left out.
void renderDrawing(HDC dc, SIZE area, const Drawing& drawing, const ViewState& view, bool grid,
                   const LayerStyles& layers);

}  // namespace sim
