// The plot devices, their media and the plot-style tables the stand-in offers, and the
// plot settings a layout keeps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/model/drawing.h"

namespace sim {

struct Media {
    std::wstring canonical;  // e.g. ISO_A3_(420.00_x_297.00_MM)
    std::wstring display;    // e.g. ISO A3 (420.00 x 297.00 mm)
    double widthMm = 0, heightMm = 0;
};

struct PlotDevice {
    std::wstring name;
    std::vector<Media> media;  // empty: a device that cannot plot ("None")
};

const std::vector<PlotDevice>& plotDevices();
const std::vector<std::wstring>& plotStyleTables();

// Looked up without regard to letter case; nullptr when absent.
const PlotDevice* findDevice(std::wstring_view name);
// By canonical or display name.
const Media* findMedia(const PlotDevice& device, std::wstring_view name);

// Every plot setting of one layout.
struct LayoutSettings {
    std::wstring device = L"None";
    std::wstring media;       // canonical name; empty when the device has none
    std::wstring styleTable;  // empty: none
    std::int32_t paperUnits = 1;  // 0 inches, 1 millimetres, 2 pixels
    std::int32_t rotation = 0;    // 0-3: 0, 90, 180, 270 degrees
    bool centred = false;
    std::int32_t areaKind = 0;  // 0 display, 1 extents, 2 limits, 3 view, 4 window, 5 layout
    bool listedScale = true;
    double scalePaper = 1, scaleDrawing = 1;
    bool lineWeightScaling = false;
    bool printLineWeights = true;
    bool applyStyleTable = true;
    Vec2 window1, window2;
};

// Brings the settings in line with the device: a media the device lacks gives way to
// the device's first one.
void followDevice(LayoutSettings& settings);

}  // namespace sim
