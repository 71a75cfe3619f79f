// The view's arithmetic: what ZoomExtents and ZoomWindow make of the visible area.
#pragma once

#include "sim/model/drawing.h"
#include "sim/model/host.h"

namespace sim {

// The view centred on the box, as high as needed for the whole box to show in the
// visible area. A box without width and height only moves the centre; an empty box
// leaves the view as it is.
ViewState fitView(const ViewState& view, const Extents& box);

}  // namespace sim
