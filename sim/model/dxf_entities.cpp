// Entity records of the ENTITIES and BLOCKS sections.
#include <cmath>
#include <string>

#include "sim/model/dxf_internal.h"

namespace sim::dxf {
namespace {

std::size_t recordEnd(const Groups& groups, std::size_t i) {
    std::size_t j = i + 1;
    while (j < groups.size() && groups[j].code != 0) ++j;
    return j;
}

// The groups every entity may carry.
struct Common {
    std::wstring layer = L"0";
    bool paperSpace = false;
    double extrusion[3] = {0, 0, 1};  // the normal of the entity's own plane
    double elevation = 0;
    bool world = false;  // given in world coordinates whatever its extrusion

    Affine ocs() const {
        if (world || (extrusion[0] == 0 && extrusion[1] == 0 && extrusion[2] > 0)) return Affine{};
        return objectToWorld(extrusion[0], extrusion[1], extrusion[2], elevation);
    }
    bool flat() const { return world || (extrusion[0] == 0 && extrusion[1] == 0 && extrusion[2] > 0); }
};

bool readCommon(const Groups& groups, const Group& g, Common& common, const TextDecoder& decode) {
    switch (g.code) {
        case 8: common.layer = decode(g.value); if (common.layer.empty()) common.layer = L"0"; return true;
        case 67: common.paperSpace = groups.integer(g) == 1; return true;
        case 210: case 220: case 230: common.extrusion[(g.code - 210) / 10] = groups.number(g); return true;
        default: return false;
    }
}

// An angle in degrees, taken round to less than a full turn either way: a turn more or
// less is the same direction, and the radians of the file's largest numbers would not be
// finite.
double angle(const Groups& groups, const Group& g) { return std::fmod(groups.number(g), 360.0); }

// Reads the x (10..18) and y (20..28) of numbered points into `points`, growing it.
bool readPoint(const Groups& groups, const Group& g, std::vector<Vec2>& points, int count) {
    int index;
    bool isX;
    if (g.code >= 10 && g.code < 10 + count) index = g.code - 10, isX = true;
    else if (g.code >= 20 && g.code < 20 + count) index = g.code - 20, isX = false;
    else return false;
    if (points.size() <= static_cast<std::size_t>(index)) points.resize(static_cast<std::size_t>(index) + 1);
    (isX ? points[index].x : points[index].y) = groups.number(g);
    return true;
}

void readVertices(const Groups& groups, std::size_t& j, std::size_t end, Item& item, double elevation,
                  bool threeD, const TextDecoder& decode) {
    Entity& e = item.entity;
    std::vector<double> bulges;
    while (j < end && isCode0(groups[j], "VERTEX")) {
        std::size_t vend = recordEnd(groups, j);
        Vec2 p;
        double z = elevation, bulge = 0;
        long flags = 0;
        Common ignored;
        for (std::size_t k = j + 1; k < vend; ++k) {
            const Group& g = groups[k];
            if (g.code == 10) p.x = groups.number(g);
            else if (g.code == 20) p.y = groups.number(g);
            else if (g.code == 30 && threeD) z = groups.number(g);
            else if (g.code == 42) bulge = groups.number(g);
            else if (g.code == 70) flags = groups.integer(g);
            else readCommon(groups, g, ignored, decode);
        }
        // A spline's frame control points are not on the curve the polyline shows.
        if (!(flags & 16)) {
            e.points.push_back(p);
            e.z.push_back(z);
            bulges.push_back(bulge);
        }
        j = vend;
    }
    for (double b : bulges)
        if (b != 0) {
            e.bulges = bulges;
            break;
        }
}

// TEXT, or ATTRIB: an attribute's vertical justification is group 74 (its 73 is the
// field length), and its tag, group 2, goes to `tag` when given.
Entity readText(const Groups& groups, std::size_t i, std::size_t end, Common& common, const TextDecoder& decode,
                std::wstring* tag = nullptr) {
    const int verticalCode = isCode0(groups[i], "ATTRIB") ? 74 : 73;
    Entity e;
    e.type = EntityType::Text;
    std::vector<Vec2> points(1);
    bool hasAlign = false;
    long horizontal = 0, vertical = 0;
    for (std::size_t j = i + 1; j < end; ++j) {
        const Group& g = groups[j];
        if (g.code == 11 || g.code == 21) hasAlign = true;
        if (readCommon(groups, g, common, decode) || readPoint(groups, g, points, 2)) continue;
        switch (g.code) {
            case 1: e.text = plainText(decode(g.value)); break;
            case 2: if (tag) *tag = decode(g.value); break;
            case 30: common.elevation = groups.number(g); break;
            case 40: e.textHeight = groups.number(g); break;
            case 50: e.rotation = angle(groups, g); break;
            case 72: horizontal = groups.integer(g); break;
            default:
                if (g.code == verticalCode) vertical = groups.integer(g);
                break;
        }
    }
    points.resize(2);
    e.points = {points[0]};
    // Justified text sits on its alignment point; aligned and fit text start at the first.
    if (hasAlign && (horizontal != 0 || vertical != 0) && horizontal != 3 && horizontal != 5) {
        e.points = {points[1]};
        if (horizontal == 4) {
            e.attachment = 5;
        } else {
            int column = horizontal >= 0 && horizontal <= 2 ? static_cast<int>(horizontal) : 0;
            int row = vertical == 3 ? 0 : vertical == 2 ? 1 : 2;
            e.attachment = row * 3 + column + 1;
        }
    }
    return e;
}

Entity readMText(const Groups& groups, std::size_t i, std::size_t end, Common& common, const TextDecoder& decode) {
    Entity e;
    e.type = EntityType::MText;
    std::vector<Vec2> points(1);
    std::string raw;
    bool hasDirection = false;
    for (std::size_t j = i + 1; j < end; ++j) {
        const Group& g = groups[j];
        if (g.code == 11 || g.code == 21) hasDirection = true;
        if (readCommon(groups, g, common, decode) || readPoint(groups, g, points, 2)) continue;
        switch (g.code) {
            case 1: case 3: raw += g.value; break;
            case 40: e.textHeight = groups.number(g); break;
            case 41: e.boxWidth = groups.number(g); break;
            case 50: e.rotation = angle(groups, g); break;
            case 71: e.attachment = static_cast<int>(groups.integer(g)); break;
            default: break;
        }
    }
    points.resize(2);
    if (hasDirection) e.rotation = std::atan2(points[1].y, points[1].x) * 180 / 3.14159265358979323846;
    if (e.attachment < 1 || e.attachment > 9) e.attachment = 1;
    e.text = plainMText(decode(raw));
    e.points = {points[0]};
    // The insertion point of MTEXT is in world coordinates already.
    common.world = true;
    return e;
}

}  // namespace

std::optional<Item> readEntity(const Groups& groups, std::size_t i, std::size_t& next, const TextDecoder& decode) {
    std::string_view type = trimmed(groups[i].value);
    std::size_t end = recordEnd(groups, i);
    next = end;
    Item item;
    item.line = groups[i].line;
    Entity& e = item.entity;
    Common common;
    bool keep = true;

    if (type == "LINE" || type == "POINT" || type == "CIRCLE" || type == "ARC") {
        e.type = type == "LINE" ? EntityType::Line : type == "POINT" ? EntityType::Point
                 : type == "CIRCLE" ? EntityType::Circle : EntityType::Arc;
        e.startAngle = 0, e.endAngle = 360;
        std::vector<Vec2> points(1);
        for (std::size_t j = i + 1; j < end; ++j) {
            const Group& g = groups[j];
            if (readCommon(groups, g, common, decode) || readPoint(groups, g, points, 2)) continue;
            if (g.code == 30) common.elevation = groups.number(g);
            else if (g.code == 40) e.radius = groups.number(g);
            else if (g.code == 50) e.startAngle = angle(groups, g);
            else if (g.code == 51) e.endAngle = angle(groups, g);
        }
        points.resize(2);
        e.points = e.type == EntityType::Line ? points : std::vector<Vec2>{points[0]};
        // Lines and points are given in world coordinates whatever their extrusion.
        common.world = e.type == EntityType::Line || e.type == EntityType::Point;
    } else if (type == "LWPOLYLINE") {
        e.type = EntityType::LwPolyline;
        std::vector<double> bulges;
        bool anyBulge = false;
        for (std::size_t j = i + 1; j < end; ++j) {
            const Group& g = groups[j];
            if (readCommon(groups, g, common, decode)) continue;
            switch (g.code) {
                case 10: e.points.push_back({groups.number(g), 0}); bulges.push_back(0); break;
                case 20:
                case 42:
                    if (e.points.empty()) groups.fail(g.line, "group " + std::to_string(g.code) + " comes before the first vertex (group 10)");
                    if (g.code == 20) e.points.back().y = groups.number(g);
                    else anyBulge |= (bulges.back() = groups.number(g)) != 0;
                    break;
                case 70: e.closed = (groups.integer(g) & 1) != 0; break;
                case 38: common.elevation = groups.number(g); break;
                default: break;
            }
        }
        if (anyBulge) e.bulges = bulges;
    } else if (type == "POLYLINE") {
        e.type = EntityType::Polyline;
        long flags = 0;
        double elevation = 0;
        for (std::size_t j = i + 1; j < end; ++j) {
            const Group& g = groups[j];
            if (readCommon(groups, g, common, decode)) continue;
            if (g.code == 70) flags = groups.integer(g);
            else if (g.code == 30) elevation = common.elevation = groups.number(g);
        }
        e.closed = (flags & 1) != 0;
        bool threeD = (flags & 8) != 0;
        std::size_t j = end;
        readVertices(groups, j, groups.size(), item, threeD ? 0 : elevation, threeD, decode);
        if (j < groups.size() && isCode0(groups[j], "SEQEND")) j = recordEnd(groups, j);
        next = j;
        // Polygon and polyface meshes are surfaces, not outlines.
        keep = (flags & (16 | 64)) == 0;
        common.world = threeD;
    } else if (type == "TEXT" || type == "ATTRIB") {
        e = readText(groups, i, end, common, decode);
    } else if (type == "MTEXT") {
        e = readMText(groups, i, end, common, decode);
    } else if (type == "INSERT") {
        InsertRef ref;
        for (std::size_t j = i + 1; j < end; ++j) {
            const Group& g = groups[j];
            if (readCommon(groups, g, common, decode)) continue;
            switch (g.code) {
                case 2: ref.block = decode(g.value); break;
                case 10: ref.position.x = groups.number(g); break;
                case 20: ref.position.y = groups.number(g); break;
                case 30: common.elevation = groups.number(g); break;
                case 41: ref.scaleX = groups.number(g); break;
                case 42: ref.scaleY = groups.number(g); break;
                case 50: ref.rotation = angle(groups, g); break;
                case 70: ref.columns = groups.integer(g); break;
                case 71: ref.rows = groups.integer(g); break;
                case 44: ref.columnGap = groups.number(g); break;
                case 45: ref.rowGap = groups.number(g); break;
                default: break;
            }
        }
        ref.ocs = common.ocs();
        common.world = true;  // the insert's own map goes with its block's contents
        // Attribute values follow the insert, each placed where it shows.
        std::size_t j = end;
        while (j < groups.size() && isCode0(groups[j], "ATTRIB")) {
            std::size_t aend = recordEnd(groups, j);
            Common attribCommon;
            std::wstring tag;
            Entity attrib = readText(groups, j, aend, attribCommon, decode, &tag);
            long flags = 0;
            for (std::size_t k = j + 1; k < aend; ++k)
                if (groups[k].code == 70) flags = groups.integer(groups[k]);
            ref.values.push_back({std::move(tag), attrib.text});  // invisible (flag 1) ones too
            attrib.layer = attribCommon.layer;
            if (!attribCommon.flat()) transformEntity(attrib, attribCommon.ocs());
            if (!(flags & 1)) ref.attributes.push_back(std::move(attrib));
            j = aend;
        }
        if (j < groups.size() && isCode0(groups[j], "SEQEND")) j = recordEnd(groups, j);
        next = j;
        item.insert = std::move(ref);
    } else {
        keep = false;  // HATCH, SPLINE, DIMENSION, SOLID, ...: not drawn by the stand-in
    }

    if (!keep || common.paperSpace) return std::nullopt;
    e.layer = common.layer;
    if (!common.flat()) transformEntity(e, common.ocs());
    return item;
}

}  // namespace sim::dxf
