// The frame query: every polyline on the frame layer, of which the closed four-vertex
// ones become frames, each reduced to its axis-aligned bounding box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cad/automation.h"
#include "sheets/frame_record.h"

namespace frames {

// The frame a polyline makes: closed and exactly 8 coordinates, read as four (x, y)
// vertices. Nothing else is asked of the shape (a skewed quadrilateral is a frame, its
// bounding box). Three numbers per vertex, or a fifth vertex repeating the first, make
// no frame, and neither does a vertex that is not a finite number. The record is unchosen,
// in row 0, with its keep mark off.
std::optional<FrameRect> frameOfPolyline(const std::vector<double>& coordinates, bool closed);

struct FrameQueryResult {
    FrameList frames;         // in the selection's order
    std::int32_t found = 0;   // polylines the selection held
};

// Empties `set` and fills it with every entity of type "*POLYLINE" on the layer named
// `layer` (sent exactly as given; the host matches case and wildcards), then reads each
// one's coordinates and closed flag. The set is left holding the selection. Host errors
// reach the caller.
FrameQueryResult queryFrames(cad::CadSelectionSet& set, const std::wstring& layer);

}  // namespace frames
