#include "sim/model/selection.h"

#include "sim/model/wildcard.h"

namespace sim {

std::wstring_view typeName(EntityType type) {
    switch (type) {
        case EntityType::LwPolyline: return L"LWPOLYLINE";
        case EntityType::Polyline: return L"POLYLINE";
        case EntityType::Line: return L"LINE";
        case EntityType::Circle: return L"CIRCLE";
        case EntityType::Arc: return L"ARC";
        case EntityType::Text: return L"TEXT";
        case EntityType::MText: return L"MTEXT";
        case EntityType::Point: return L"POINT";
    }
    return L"?";
}

std::wstring_view typeName(const Drawing& drawing, ItemRef item) {
    return item.isInsert ? std::wstring_view(L"INSERT") : typeName(drawing.entities[item.index].type);
}

const std::wstring& layerOf(const Drawing& drawing, ItemRef item) {
    return item.isInsert ? drawing.inserts[item.index].layer : drawing.entities[item.index].layer;
}

Extents boundsOf(const Drawing& drawing, ItemRef item) {
    if (!item.isInsert) return boundsOf(drawing.entities[item.index]);
    const Insert& insert = drawing.inserts[item.index];
    Extents box;
    for (std::size_t k = insert.first; k < insert.first + insert.count; ++k) include(box, boundsOf(drawing.entities[k]));
    if (box.empty) include(box, insert.position);  // an insert of an empty block is where it was put
    return box;
}

bool filterCodeKnown(std::int16_t code) { return code == 0 || code == 8; }

namespace {

bool matchesFilter(const Drawing& drawing, ItemRef item, const std::vector<FilterTerm>& filter) {
    for (const FilterTerm& term : filter) {
        std::wstring_view value = term.code == 8 ? std::wstring_view(layerOf(drawing, item)) : typeName(drawing, item);
        if (!wildcardMatch(term.pattern, value)) return false;
    }
    return true;
}

bool inside(const Extents& box, const Extents& window) {
    return !box.empty && box.min.x >= window.min.x && box.max.x <= window.max.x && box.min.y >= window.min.y &&
           box.max.y <= window.max.y;
}

}  // namespace

std::vector<ItemRef> selectItems(const Drawing& drawing, const std::vector<FilterTerm>& filter,
                                 const std::optional<Extents>& window) {
    std::vector<ItemRef> found;
    auto consider = [&](ItemRef item) {
        if (matchesFilter(drawing, item, filter) && (!window || inside(boundsOf(drawing, item), *window)))
            found.push_back(item);
    };
    // Inserts take the place of their first part in drawing order.
    std::size_t nextInsert = 0;
    for (std::size_t i = 0; i < drawing.entities.size(); ++i) {
        while (nextInsert < drawing.inserts.size() && drawing.inserts[nextInsert].first <= i)
            consider(ItemRef{true, nextInsert++});
        if (drawing.entities[i].selectable) consider(ItemRef{false, i});
    }
    while (nextInsert < drawing.inserts.size()) consider(ItemRef{true, nextInsert++});
    return found;
}

}  // namespace sim
