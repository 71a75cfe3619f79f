// A drawing as the stand-in holds it: model-space entities with block inserts expanded,
// read from ASCII DXF.
#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

struct Vec2 {
    double x = 0, y = 0;
};

enum class EntityType { LwPolyline, Polyline, Line, Circle, Arc, Text, MText, Point };

struct Entity {
    EntityType type = EntityType::Line;
    std::wstring layer;
    // LwPolyline/Polyline: vertices; Line: both ends; Point, Text, MText: insertion point;
    // Circle, Arc: centre.
    std::vector<Vec2> points;
    std::vector<double> z;  // Polyline: one elevation per vertex
    // LwPolyline/Polyline: the bulge of the segment starting at each vertex (tan of a
    // quarter of its included angle, positive counter-clockwise); empty when all straight.
    std::vector<double> bulges;
    bool closed = false;
    double radius = 0, startAngle = 0, endAngle = 360;  // degrees, counter-clockwise
    std::wstring text;
    double textHeight = 0, rotation = 0, boxWidth = 0;  // MText: box width (0: one line)
    // Text, MText: where the insertion point sits on the text's box, numbered as MTEXT
    // does: 1 top left, 2 top centre, 3 top right, 4-6 middle, 7-9 bottom (baseline).
    int attachment = 7;
    // False for entities that came out of a block insert: they are drawn and counted in
    // the extents but are not model-space entities a selection can find.
    bool selectable = true;
    // Index into Drawing::inserts of the model-space block insert this entity came out
    // of, or -1.
    long insert = -1;
};

// An attribute value of a block insert: its tag (DXF group 2) and its text (group 1).
struct AttributeValue {
    std::wstring tag, text;
    friend bool operator==(const AttributeValue&, const AttributeValue&) = default;
};

// A model-space block insert: selected as one INSERT entity whose parts are the
// expanded entities [first, first + count) of Drawing::entities.
struct Insert {
    std::wstring layer;
    std::wstring block;
    Vec2 position;
    std::size_t first = 0, count = 0;
    double rotation = 0;  // degrees, counter-clockwise, as the DXF gives it (less than a turn either way)
    // Every ATTRIB that follows the INSERT, in file order, invisible ones too.
    std::vector<AttributeValue> attributes;
};

struct Extents {
    Vec2 min, max;
    bool empty = true;
};

struct Drawing {
    std::vector<Entity> entities;
    std::vector<Insert> inserts;
    double dimscale = 1.0;  // $DIMSCALE, else 1
    std::filesystem::path source;

    // The box around every entity (block inserts expanded), as EXTMIN/EXTMAX report it.
    Extents extents() const;
};

// The box of one entity; arcs and bulged segments exactly, text approximately.
Extents boundsOf(const Entity& entity);
// Widens a box to take in another.
void include(Extents& box, const Extents& other);
void include(Extents& box, Vec2 point);

// A DXF that cannot be read: the file and the 1-based line where reading stopped.
class DxfError : public std::runtime_error {
public:
    DxfError(const std::filesystem::path& file, std::size_t line, const std::string& reason);
    std::filesystem::path file;
    std::size_t line;
};

Drawing readDxf(const std::filesystem::path& file);
Drawing readDxfText(const std::string& text, const std::filesystem::path& nameForMessages);

}  // namespace sim
