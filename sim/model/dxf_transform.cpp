// Block inserts and mirrored extrusions: entities mapped into another coordinate system.
#include <cmath>

#include "sim/model/dxf_internal.h"
#include "sim/model/geometry.h"

namespace sim::dxf {

Affine operator*(const Affine& o, const Affine& i) {
    return Affine{o.a * i.a + o.b * i.c, o.a * i.b + o.b * i.d, o.c * i.a + o.d * i.c,
                  o.c * i.b + o.d * i.d, o.a * i.e + o.b * i.f + o.e, o.c * i.e + o.d * i.f + o.f};
}

Affine objectToWorld(double nx, double ny, double nz, double elevation) {
    double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0)) return Affine{};
    nx /= length, ny /= length, nz /= length;
    double ax, ay, az;
    if (std::abs(nx) < 1.0 / 64 && std::abs(ny) < 1.0 / 64)
        ax = nz, ay = 0, az = -nx;  // world y cross N
    else
        ax = -ny, ay = nx, az = 0;  // world z cross N
    double la = std::sqrt(ax * ax + ay * ay + az * az);
    ax /= la, ay /= la, az /= la;
    double bx = ny * az - nz * ay, by = nz * ax - nx * az;  // N cross Ax, already of unit length
    return Affine{ax, bx, ay, by, elevation * nx, elevation * ny};
}

namespace {

bool isSimilarity(const Affine& m) {
    double sx = std::hypot(m.a, m.c), sy = std::hypot(m.b, m.d);
    double scale = std::max(sx, sy);
    return scale > 0 && std::abs(sx - sy) <= 1e-9 * scale && std::abs(m.a * m.b + m.c * m.d) <= 1e-9 * scale * scale;
}

double directionDegrees(const Affine& m, double degrees) {
    double t = degrees * kPi / 180;
    return std::atan2(m.c * std::cos(t) + m.d * std::sin(t), m.a * std::cos(t) + m.b * std::sin(t)) * 180 / kPi;
}

// A curve the map would distort, as points on it (tolerance relative to its size).
void flattenCurves(Entity& e) {
    std::vector<Vec2> points;
    bool closed = e.closed;
    if (e.type == EntityType::Circle || e.type == EntityType::Arc) {
        double start = e.type == EntityType::Circle ? 0 : e.startAngle, end = e.type == EntityType::Circle ? 360 : e.endAngle;
        double sweep = std::fmod(end - start, 360.0);
        if (sweep <= 0) sweep += 360;
        points = arcPoints(Arc{e.points[0], e.radius, start * kPi / 180, sweep * kPi / 180}, e.radius / 1000);
        if (e.type == EntityType::Circle) {
            points.pop_back();
            closed = true;
        }
    } else {
        std::size_t n = e.points.size();
        for (std::size_t i = 0; i < n; ++i) {
            bool last = i + 1 == n;
            double bulge = e.bulges[i];
            Vec2 a = e.points[i], b = e.points[last ? 0 : i + 1];
            // No arc between a vertex and itself: the outline goes straight on there.
            if (bulge == 0 || (last && !e.closed) || (a.x == b.x && a.y == b.y)) {
                points.push_back(a);
                continue;
            }
            Arc arc = bulgeArc(a, b, bulge);
            std::vector<Vec2> along = arcPoints(arc, arc.radius / 1000);
            points.insert(points.end(), along.begin(), along.end() - 1);
        }
    }
    e.type = EntityType::LwPolyline;
    e.points = std::move(points);
    e.bulges.clear();
    e.z.clear();
    e.closed = closed;
}

}  // namespace

void transformEntity(Entity& e, const Affine& m) {
    bool curved = e.type == EntityType::Circle || e.type == EntityType::Arc || !e.bulges.empty();
    if (curved && !isSimilarity(m)) flattenCurves(e);
    bool flips = m.det() < 0;
    double scale = std::sqrt(std::abs(m.det()));
    for (Vec2& p : e.points) p = m(p);
    switch (e.type) {
        case EntityType::Circle: e.radius *= scale; break;
        case EntityType::Arc: {
            double start = directionDegrees(m, e.startAngle), end = directionDegrees(m, e.endAngle);
            if (flips) std::swap(start, end);
            e.startAngle = start, e.endAngle = end;
            e.radius *= scale;
            break;
        }
        case EntityType::LwPolyline:
        case EntityType::Polyline:
            if (flips)
                for (double& b : e.bulges) b = -b;
            break;
        case EntityType::Text:
        case EntityType::MText:
            // Text stays readable under a mirror: it keeps its glyphs and flips its
            // justification instead, across the axis that keeps it closer to upright.
            e.rotation = directionDegrees(m, e.rotation);
            e.textHeight *= std::hypot(m.b, m.d);
            e.boxWidth *= std::hypot(m.a, m.c);
            if (flips) {
                int column = (e.attachment - 1) % 3, row = (e.attachment - 1) / 3;
                if (std::cos(e.rotation * kPi / 180) >= 0) {
                    row = 2 - row;
                } else {
                    e.rotation += 180;
                    column = 2 - column;
                }
                e.attachment = row * 3 + column + 1;
            }
            break;
        case EntityType::Line:
        case EntityType::Point: break;
    }
}

}  // namespace sim::dxf
