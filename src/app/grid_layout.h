// The grid as the equal-interval page's controls define it.
#pragma once

#include "app/main_window.h"
#include "sheets/grid_model.h"

namespace app {

// Told when a base point and spacing would lay out more sheets than a grid may hold.
inline constexpr wchar_t kTooManyCellsMessage[] =
    L"図面の数が多すぎます．\n左下原点と間隔を確かめて下さい．";

// Base point from basePoint, spacing from spacing (both "X,Y"), the drawing sheet size
// from GetCadPaperSize; read afresh at each call.
grid::Layout currentGridLayout(const MainWindow& form);

}  // namespace app
