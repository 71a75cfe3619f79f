#include "sim/model/view.h"

#include <algorithm>

namespace sim {

ViewState fitView(const ViewState& view, const Extents& box) {
    if (box.empty) return view;
    ViewState fitted = view;
    fitted.centreX = (box.min.x + box.max.x) / 2;
    fitted.centreY = (box.min.y + box.max.y) / 2;
    double width = box.max.x - box.min.x, height = box.max.y - box.min.y;
    double aspect = view.widthPx > 0 && view.heightPx > 0 ? double(view.heightPx) / view.widthPx : 1.0;
    double needed = std::max(height, width * aspect);
    if (needed > 0) fitted.height = needed;
    return fitted;
}

}  // namespace sim
