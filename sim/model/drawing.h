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
    bool closed = false;
    double radius = 0, startAngle = 0, endAngle = 360;  // degrees, counter-clockwise
    std::wstring text;
    double textHeight = 0, rotation = 0, boxWidth = 0;  // MText: box width (0: one line)
    // False for entities that came out of a block insert: they are drawn and counted in
    // the extents but are not model-space entities a selection can find.
    bool selectable = true;
};

struct Extents {
    Vec2 min, max;
    bool empty = true;
};

struct Drawing {
    std::vector<Entity> entities;
    double dimscale = 1.0;  // $DIMSCALE, else 1
    std::filesystem::path source;

    Extents extents() const;
};

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
