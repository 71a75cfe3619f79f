// The block of plot settings every sheet of a batch plot shares, sent to the CAD layout
// before the first sheet, and the plot request of one sheet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cad/automation.h"

namespace plot {

struct PlotSettings {
    std::wstring device, media, styleTable;
    std::optional<std::int32_t> rotation;  // nothing: the layout keeps its rotation
    cad::CadPoint lowerLeft, upperRight;   // the first sheet's window
    double scale = 1;                      // drawing units per paper millimetre
};

// Sends the block in its fixed order: reload, device, paper, style table, millimetres,
// the rotation (when given), the window and its area kind, centred, a custom scale of
// 1 : scale, the style table read back to decide whether its styles apply, line weights
// printed and scaled, reload.
void sendSettingsBlock(cad::CadLayout& layout, const PlotSettings& settings);

// One copy of the layout's current sheet to the plot service. True when the host took
// it; a refused plot request (a failure, or a false answer) is false, and any other
// failure reaches the caller.
bool requestPlot(cad::CadDocument& document);
// The same into the named file (a full path) instead of to the device.
bool requestPlotToFile(cad::CadDocument& document, const std::wstring& fullName);

inline cad::CadPoint corner(double x, double y) { return {x, y, 0.0}; }

}  // namespace plot
