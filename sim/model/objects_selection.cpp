// The selection sets collection, selection sets and entities.
#include <algorithm>
#include <numbers>
#include <set>

#include "sim/model/args.h"
#include "sim/model/host_state.h"
#include "sim/model/text_codec.h"

namespace sim {
namespace {

std::wstring rangeText(std::int32_t index, std::size_t size) {
    return L"index " + std::to_wstring(index) + L" is out of range" +
           (size ? L" (0 to " + std::to_wstring(size - 1) + L")" : std::wstring(L" (the collection is empty)"));
}

class EntityObject final : public Object {
public:
    EntityObject(std::shared_ptr<State> s, ItemRef item) : Object(std::move(s), cad::ObjectKind::Entity), item_(item) {}

    // The two kinds of polyline, and block references, each have an interface of their own.
    Interface describedBy() const override {
        if (item_.isInsert) return Interface::BlockReference;
        switch (state().drawing.entities[item_.index].type) {
            case EntityType::LwPolyline: return Interface::LwPolyline;
            case EntityType::Polyline: return Interface::Polyline;
            case EntityType::Line: case EntityType::Circle: case EntityType::Arc: case EntityType::Text:
            case EntityType::MText: case EntityType::Point:
                break;
        }
        return Interface::Entity;
    }

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        using enum cad::Operation;
        Args args(m, list);
        const Drawing& d = state().drawing;
        const Entity* e = item_.isInsert ? nullptr : &d.entities[item_.index];
        const bool polyline = e && (e->type == EntityType::LwPolyline || e->type == EntityType::Polyline);
        const bool ofInserts = m.operation == insertRotation || m.operation == blockAttributes;
        const bool served = m.operation == entityExtents || (ofInserts ? item_.isInsert : polyline);
        if (!served)
            hostError(m, L"an entity of type " + std::wstring(typeName(d, item_)) + L" has no such " +
                             (m.kind == cad::CallKind::Method ? L"method" : L"property"));
        switch (m.operation) {
            case Closed:
                args.count(0, 0);
                return e->closed;
            case Coordinates: {
                args.count(0, 0);
                std::vector<double> coordinates;
                for (std::size_t i = 0; i < e->points.size(); ++i) {
                    coordinates.push_back(e->points[i].x);
                    coordinates.push_back(e->points[i].y);
                    if (e->type == EntityType::Polyline) coordinates.push_back(i < e->z.size() ? e->z[i] : 0.0);
                }
                return coordinates;
            }
            case entityExtents: {
                // The box in world coordinates; a block reference's takes in everything it
                // draws, nested blocks and attributes too.
                args.count(2, 2);
                const Extents box = boundsOf(d, item_);
                args.at(0) = std::vector<double>{box.min.x, box.min.y, 0.0};
                args.at(1) = std::vector<double>{box.max.x, box.max.y, 0.0};
                return {};
            }
            case insertRotation:
                // Radians, as the host's angles are; the DXF gives degrees.
                args.count(0, 0);
                return d.inserts[item_.index].rotation * std::numbers::pi / 180;
            case blockAttributes:
                args.count(0, 0);
                return makeAttributes(sharedState(), item_.index);
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
    }

    ItemRef item_;
};

class SelectionSet final : public Object {
public:
    SelectionSet(std::shared_ptr<State> s, std::shared_ptr<SelectionSetData> set)
        : Object(std::move(s), cad::ObjectKind::SelectionSet), set_(std::move(set)) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        using enum cad::Operation;
        SelectionSetData& set = *set_;
        Args args(m, list);
        if (set.deleted) hostError(m, L"the selection set \"" + set.name + L"\" has been deleted");
        switch (m.operation) {
            case entityAt: {
                args.count(1, 1);
                std::int32_t index = args.integer(0);
                if (index < 0 || static_cast<std::size_t>(index) >= set.items.size())
                    hostError(m, rangeText(index, set.items.size()));
                return cad::DispatchPtr(
                    std::make_shared<EntityObject>(sharedState(), set.items[static_cast<std::size_t>(index)]));
            }
            case selectWithFilter:
                select(m, args);
                return {};
            case measureExtents: {
                args.count(2, 2);
                Extents box;
                for (ItemRef item : set.items) include(box, boundsOf(state().drawing, item));
                if (box.empty) hostError(m, L"the selection set is empty");
                args.at(0) = std::vector<double>{box.min.x, box.min.y, 0.0};
                args.at(1) = std::vector<double>{box.max.x, box.max.y, 0.0};
                return {};
            }
            case entityCount:
                args.count(0, 0);
                return static_cast<std::int32_t>(set.items.size());
            case setName:
                args.count(0, 0);
                return set.name;
            case emptySet:
                args.count(0, 0);
                set.items.clear();
                return {};
            case discardSet: {
                args.count(0, 0);
                if (set.active) hostError(m, L"the active selection set cannot be deleted");
                auto& sets = state().sets;
                sets.erase(std::remove(sets.begin(), sets.end(), set_), sets.end());
                set.items.clear();
                set.deleted = true;
                return {};
            }
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
    }

    // Mode 5: the whole drawing; mode 0: what lies wholly inside the window. Matches are
    // added to what the set holds.
    void select(const cad::Member& m, Args& args) {
        args.count(1, 5);
        std::int32_t mode = args.integer(0);
        std::optional<Extents> window;
        if (mode == 0) {
            if (!args.given(1) || !args.given(2)) hostError(m, L"a window selection needs both corners");
            Extents box;
            include(box, args.point(1));
            include(box, args.point(2));
            window = box;
        } else if (mode == 5) {
            if (args.given(1)) args.point(1);
            if (args.given(2)) args.point(2);
        } else {
            hostError(m, L"selection mode " + std::to_wstring(mode) + L" is not supported (0 window, 5 all)");
        }
        std::vector<FilterTerm> filter;
        if (args.given(3) || args.given(4)) {
            std::vector<std::int16_t> codes = args.shorts(3);
            if (!args.given(4)) args.wrong(4, L"an array of filter values");
            cad::Value& valuesArg = args.at(4);
            std::vector<std::wstring> values;
            if (valuesArg.is<cad::ValueList>() || valuesArg.is<std::vector<std::wstring>>()) values = args.strings(4);
            else args.wrong(4, L"an array of filter values");
            if (codes.size() != values.size())
                hostError(m, L"the filter has " + std::to_wstring(codes.size()) + L" codes but " +
                                 std::to_wstring(values.size()) + L" values");
            for (std::size_t i = 0; i < codes.size(); ++i) {
                if (!filterCodeKnown(codes[i]))
                    hostError(m, L"filter code " + std::to_wstring(codes[i]) + L" is not supported (0 type, 8 layer)");
                filter.push_back({codes[i], values[i]});
            }
        }
        std::vector<ItemRef>& items = set_->items;
        std::set<std::pair<bool, std::size_t>> held;
        for (ItemRef item : items) held.insert({item.isInsert, item.index});
        for (ItemRef item : selectItems(state().drawing, filter, window))
            if (held.insert({item.isInsert, item.index}).second) items.push_back(item);
    }

    std::shared_ptr<SelectionSetData> set_;
};

class SelectionSets final : public Object {
public:
    explicit SelectionSets(std::shared_ptr<State> s) : Object(std::move(s), cad::ObjectKind::SelectionSets) {}

private:
    cad::Value call(const cad::Member& m, cad::ValueList& list) override {
        using enum cad::Operation;
        auto& sets = state().sets;
        Args args(m, list);
        switch (m.operation) {
            case setCount:
                args.count(0, 0);
                return static_cast<std::int32_t>(sets.size());
            case setAt: {
                args.count(1, 1);
                // By index, or by name as CAD hosts also allow.
                if (auto* name = args.at(0).get<std::wstring>()) {
                    for (const auto& set : sets)
                        if (equalsNoCase(set->name, *name)) return makeSelectionSet(sharedState(), set);
                    hostError(m, L"there is no selection set named \"" + *name + L"\"");
                }
                std::int32_t index = args.integer(0);
                if (index < 0 || static_cast<std::size_t>(index) >= sets.size()) hostError(m, rangeText(index, sets.size()));
                return makeSelectionSet(sharedState(), sets[static_cast<std::size_t>(index)]);
            }
            case addSet: {
                args.count(1, 1);
                std::wstring name = args.text(0);
                if (name.empty()) hostError(m, L"a selection set needs a name");
                for (const auto& set : sets)
                    if (equalsNoCase(set->name, name))
                        hostError(m, L"duplicate record name: the selection set \"" + set->name + L"\" exists already");
                auto set = std::make_shared<SelectionSetData>();
                set->name = name;
                sets.push_back(set);
                return makeSelectionSet(sharedState(), set);
            }
            // Another object's operation: invoke() passes only this object's own.
            default:
                break;
        }
        notServed(m);
    }
};

}  // namespace

cad::DispatchPtr makeSelectionSets(const std::shared_ptr<State>& s) { return std::make_shared<SelectionSets>(s); }
cad::DispatchPtr makeSelectionSet(const std::shared_ptr<State>& s, std::shared_ptr<SelectionSetData> set) {
    return std::make_shared<SelectionSet>(s, std::move(set));
}

}  // namespace sim
