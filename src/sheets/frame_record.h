// The frame record and the frame list. A frame is the axis-aligned bounding box of a
// closed four-vertex polyline on the frame layer, or of a block reference on it set square
// to the axes; the list's order is the plot order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cad/automation.h"

namespace frames {

// A plain value record, copied whole whenever the list is reordered, so that a chosen
// frame keeps its chosen wherever it moves. Edges in drawing units, y growing upwards:
// minx <= maxx, miny <= maxy, maxy is the top edge.
struct FrameRect {
    double minx = 0, miny = 0, maxx = 0, maxy = 0;
    bool chosen = false;     // chosen for plotting
    std::int32_t row = 0;   // row number given by the ordering
    bool kept = false;         // the ordering's keep mark (false: a duplicate)
    // A block frame's attributes, when the capture read them (for file names); shared,
    // so that moving records stays cheap.
    std::shared_ptr<const std::vector<cad::BlockAttribute>> attributes;

    friend bool operator==(const FrameRect&, const FrameRect&) = default;
};

using FrameList = std::vector<FrameRect>;

}  // namespace frames
