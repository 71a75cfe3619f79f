#include "sheets/frame_query.h"

#include <algorithm>
#include <cmath>

namespace frames {

namespace {
constexpr std::int16_t kLayerCode = 8, kTypeCode = 0;  // DXF group codes
constexpr std::int32_t kWholeDrawing = 5;              // selection mode
}  // namespace

std::optional<FrameRect> frameOfPolyline(const std::vector<double>& coordinates, bool closed) {
    if (!closed || coordinates.size() != 8) return std::nullopt;
    // A corner that is not a finite number is no place on the drawing.
    if (!std::all_of(coordinates.begin(), coordinates.end(), [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    const std::vector<double>& c = coordinates;
    FrameRect frame;
    frame.minx = c[0];
    frame.miny = c[1];
    frame.maxx = c[2];
    frame.maxy = c[3];
    for (std::size_t i = 0; i < 8; i += 2) {
        if (c[i] < frame.minx) frame.minx = c[i];
        if (c[i] > frame.maxx) frame.maxx = c[i];
        if (c[i + 1] < frame.miny) frame.miny = c[i + 1];
        if (c[i + 1] > frame.maxy) frame.maxy = c[i + 1];
    }
    return frame;
}

FrameQueryResult queryFrames(cad::CadSelectionSet& set, const std::wstring& layer) {
    const cad::SelectionFilter filter{{kLayerCode, kTypeCode}, {layer, L"*POLYLINE"}};
    set.emptySet();
    set.selectWithFilter(kWholeDrawing, nullptr, nullptr, &filter);
    FrameQueryResult result;
    result.found = set.entityCount();
    for (std::int32_t i = 0; i < result.found; ++i) {
        const std::unique_ptr<cad::CadEntity> entity = set.entityAt(i);
        const std::vector<double> coordinates = entity->Coordinates();
        const bool closed = entity->Closed();
        if (auto frame = frameOfPolyline(coordinates, closed)) result.frames.push_back(*frame);
    }
    return result;
}

}  // namespace frames
