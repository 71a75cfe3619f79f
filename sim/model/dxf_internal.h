// What the DXF reader passes between its parts: entity records in their own coordinate
// system (model space or a block's), block inserts still unexpanded.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sim/model/drawing.h"
#include "sim/model/dxf_groups.h"
#include "sim/model/dxf_text.h"

namespace sim::dxf {

// x' = a x + b y + e, y' = c x + d y + f
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Vec2 operator()(Vec2 p) const { return {a * p.x + b * p.y + e, c * p.x + d * p.y + f}; }
    double det() const { return a * d - b * c; }
};
Affine operator*(const Affine& outer, const Affine& inner);  // inner first, then outer

// The map from an entity's own coordinate system (DXF's arbitrary axis algorithm for the
// extrusion direction nx, ny, nz; points raised by `elevation` along it) onto the plan.
Affine objectToWorld(double nx, double ny, double nz, double elevation);

// Maps the entity into another coordinate system. A circle, an arc or a bulged polyline
// under a map that is not a similarity becomes a polyline through points on the curve.
void transformEntity(Entity& entity, const Affine& map);

struct InsertRef {
    std::wstring block;
    Vec2 position;
    double scaleX = 1, scaleY = 1, rotation = 0;  // degrees
    long columns = 1, rows = 1;
    double columnGap = 0, rowGap = 0;
    Affine ocs;                   // its own coordinate system into the surrounding one
    std::vector<Entity> attributes;  // the visible ones, already in the insert's surrounding coordinates
    std::vector<AttributeValue> values;  // tag and text of every one, invisible ones too
};

struct Item {
    Entity entity;                 // the entity (its layer also for an insert)
    std::optional<InsertRef> insert;
    std::size_t line = 0;          // where the record starts, for messages
};

struct Block {
    std::wstring name;
    Vec2 base;
    std::vector<Item> items;
};

// Reads the entity record starting at groups[i] (a code 0 group), together with the
// records that belong to it (VERTEX ... SEQEND, ATTRIB ... SEQEND). Sets `next` to the
// index after them. Returns nothing for entities the stand-in does not keep.
std::optional<Item> readEntity(const Groups& groups, std::size_t i, std::size_t& next, const TextDecoder& decode);

}  // namespace sim::dxf
