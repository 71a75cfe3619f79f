// What a selection finds in the drawing: model-space entities and block inserts, each
// one selectable item, matched by layer and type filters and by a window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/model/drawing.h"

namespace sim {

// One selectable item: a model-space entity, or a whole block insert.
struct ItemRef {
    bool isInsert = false;
    std::size_t index = 0;  // into Drawing::entities or Drawing::inserts
    bool operator==(const ItemRef&) const = default;
};

// The entity type names as the host knows them (DXF names).
std::wstring_view typeName(EntityType type);
std::wstring_view typeName(const Drawing& drawing, ItemRef item);
const std::wstring& layerOf(const Drawing& drawing, ItemRef item);
Extents boundsOf(const Drawing& drawing, ItemRef item);

// One filter condition: group code 8 (layer) or 0 (type) and a wildcard pattern.
struct FilterTerm {
    std::int16_t code = 0;
    std::wstring pattern;
};
// Filter codes this host understands.
bool filterCodeKnown(std::int16_t code);

// Every item matching all terms, in drawing order; with a window, only those lying
// wholly inside it.
std::vector<ItemRef> selectItems(const Drawing& drawing, const std::vector<FilterTerm>& filter,
                                 const std::optional<Extents>& window);

}  // namespace sim
