#include "sheets/frame_query.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

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

namespace {

// A whole number of quarter turns, to within kQuarterTurnTolerance.
bool squareToTheAxes(double rotation) {
    if (!std::isfinite(rotation)) return false;
    const double quarter = std::numbers::pi / 2;
    const double turns = rotation / quarter;
    return std::abs(turns - std::round(turns)) * quarter <= kQuarterTurnTolerance;
}

}  // namespace

std::optional<FrameRect> frameOfBlockReference(double rotation, const cad::CadPoint& lowerLeft,
                                               const cad::CadPoint& upperRight) {
    if (!squareToTheAxes(rotation)) return std::nullopt;
    if (lowerLeft.size() < 2 || upperRight.size() < 2) return std::nullopt;
    const double corners[] = {lowerLeft[0], lowerLeft[1], upperRight[0], upperRight[1]};
    if (!std::all_of(std::begin(corners), std::end(corners), [](double v) { return std::isfinite(v); }))
        return std::nullopt;
    FrameRect frame;
    frame.minx = std::min(corners[0], corners[2]);
    frame.maxx = std::max(corners[0], corners[2]);
    frame.miny = std::min(corners[1], corners[3]);
    frame.maxy = std::max(corners[1], corners[3]);
    // A box with no width or height (an empty block, one of invisible attributes only) is
    // no sheet: nothing could be plotted of it.
    if (!(frame.maxx > frame.minx) || !(frame.maxy > frame.miny)) return std::nullopt;
    return frame;
}

namespace {

// Empties the set and selects every entity of `type` on `layer` into it; calls `read` on
// each, which adds its frame, if any, to the result.
template <typename Read>
FrameQueryResult query(cad::CadSelectionSet& set, const std::wstring& layer, const wchar_t* type, Read read) {
    const cad::SelectionFilter filter{{kLayerCode, kTypeCode}, {layer, type}};
    set.emptySet();
    set.selectWithFilter(kWholeDrawing, nullptr, nullptr, &filter);
    FrameQueryResult result;
    result.found = set.entityCount();
    for (std::int32_t i = 0; i < result.found; ++i) {
        const std::unique_ptr<cad::CadEntity> entity = set.entityAt(i);
        if (std::optional<FrameRect> frame = read(*entity)) result.frames.push_back(*frame);
    }
    return result;
}

}  // namespace

FrameQueryResult queryFrames(cad::CadSelectionSet& set, const std::wstring& layer) {
    return query(set, layer, L"*POLYLINE", [](cad::CadEntity& entity) {
        const std::vector<double> coordinates = entity.Coordinates();
        const bool closed = entity.Closed();
        return frameOfPolyline(coordinates, closed);
    });
}

FrameQueryResult queryBlockFrames(cad::CadSelectionSet& set, const std::wstring& layer, bool readAttributes) {
    return query(set, layer, L"INSERT", [readAttributes](cad::CadEntity& entity) -> std::optional<FrameRect> {
        const double rotation = entity.insertRotation();
        // The box is asked for only when the answer can make a frame.
        if (!squareToTheAxes(rotation)) return std::nullopt;
        cad::CadPoint lowerLeft, upperRight;
        entity.entityExtents(lowerLeft, upperRight);
        std::optional<FrameRect> frame = frameOfBlockReference(rotation, lowerLeft, upperRight);
        if (frame && readAttributes)
            frame->attributes = std::make_shared<const std::vector<cad::BlockAttribute>>(entity.blockAttributes());
        return frame;
    });
}

}  // namespace frames
