// The frame queries: every polyline on the frame layer, of which the closed four-vertex
// ones become frames, and, when asked for, every block reference on it, of which those
// set square to the drawing's axes become frames; each frame is an axis-aligned box.
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

// The frame a block reference makes: its rotation (radians) a whole number of quarter
// turns, to within kQuarterTurnTolerance, and its box two finite corners of at least two
// numbers each (given either way round), with a width and a height (an empty block's box
// is a point, and no frame). A reference turned any other way is no frame,
// as a skewed polyline is none: its box would not be its sheet. The record is unchosen,
// in row 0, with its keep mark off.
std::optional<FrameRect> frameOfBlockReference(double rotation, const cad::CadPoint& lowerLeft,
                                               const cad::CadPoint& upperRight);
inline constexpr double kQuarterTurnTolerance = 1e-6;  // radians

struct FrameQueryResult {
    FrameList frames;         // in the selection's order
    std::int32_t found = 0;   // entities the selection held
};

// Empties `set` and fills it with every entity of type "*POLYLINE" on the layer named
// `layer` (sent exactly as given; the host matches case and wildcards), then reads each
// one's coordinates and closed flag. The set is left holding the selection. Host errors
// reach the caller.
FrameQueryResult queryFrames(cad::CadSelectionSet& set, const std::wstring& layer);

// The same with type "INSERT": each block reference's rotation is read, and the box of
// those square to the axes (three automation calls a frame, two for one that is not);
// with `readAttributes` each frame's attributes too.
FrameQueryResult queryBlockFrames(cad::CadSelectionSet& set, const std::wstring& layer, bool readAttributes = false);

}  // namespace frames
