#include "sim/model/geometry.h"

#include <algorithm>
#include <cmath>

#include "sim/model/text_codec.h"

namespace sim {

void include(Extents& box, Vec2 p) {
    if (box.empty) {
        box.min = box.max = p;
        box.empty = false;
        return;
    }
    box.min.x = std::min(box.min.x, p.x);
    box.min.y = std::min(box.min.y, p.y);
    box.max.x = std::max(box.max.x, p.x);
    box.max.y = std::max(box.max.y, p.y);
}

void include(Extents& box, const Extents& other) {
    if (other.empty) return;
    include(box, other.min);
    include(box, other.max);
}

Arc bulgeArc(Vec2 a, Vec2 b, double bulge) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double chord = std::hypot(dx, dy);
    Arc arc;
    double h = chord * (1 - bulge * bulge) / (4 * bulge);  // centre's offset to the left of a->b
    arc.centre = {(a.x + b.x) / 2 - dy / chord * h, (a.y + b.y) / 2 + dx / chord * h};
    arc.radius = std::hypot(a.x - arc.centre.x, a.y - arc.centre.y);
    arc.startRad = std::atan2(a.y - arc.centre.y, a.x - arc.centre.x);
    arc.sweepRad = 4 * std::atan(bulge);
    return arc;
}

void includeArc(Extents& box, const Arc& arc) {
    double start = arc.startRad, sweep = arc.sweepRad;
    if (sweep < 0) {
        start += sweep;
        sweep = -sweep;
    }
    auto at = [&](double t) { return Vec2{arc.centre.x + arc.radius * std::cos(t), arc.centre.y + arc.radius * std::sin(t)}; };
    include(box, at(start));
    include(box, at(start + sweep));
    // Each axis extreme the sweep passes: at most five in a sweep of a full turn, counted
    // so that a start too large for a quarter turn to change it cannot loop for ever.
    const double first = std::ceil(start / (kPi / 2));
    for (int k = 0; k < 5; ++k) {
        const double t = (first + k) * (kPi / 2);
        if (!(t < start + sweep)) break;
        include(box, at(t));
    }
}

std::vector<Vec2> arcPoints(const Arc& arc, double tolerance) {
    double r = std::max(arc.radius, 1e-12);
    double step = 2 * std::acos(std::clamp(1 - tolerance / r, -1.0, 1.0));
    if (!(step > 0.01)) step = 0.01;
    const double steps = std::ceil(std::abs(arc.sweepRad) / step);
    int n = steps > 720 ? 720 : steps >= 1 ? static_cast<int>(steps) : 1;  // 1 also when not a number
    std::vector<Vec2> points;
    points.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        double t = arc.startRad + arc.sweepRad * i / n;
        points.push_back({arc.centre.x + arc.radius * std::cos(t), arc.centre.y + arc.radius * std::sin(t)});
    }
    return points;
}

std::vector<Vec2> outlinePoints(const Entity& e, double tolerance) {
    switch (e.type) {
        case EntityType::Line: return e.points;
        case EntityType::Circle: return arcPoints(Arc{e.points[0], e.radius, 0, 2 * kPi}, tolerance);
        case EntityType::Arc: {
            double sweep = std::fmod(e.endAngle - e.startAngle, 360.0);
            if (sweep <= 0) sweep += 360;
            return arcPoints(Arc{e.points[0], e.radius, e.startAngle * kPi / 180, sweep * kPi / 180}, tolerance);
        }
        case EntityType::LwPolyline:
        case EntityType::Polyline: {
            std::vector<Vec2> path;
            std::size_t n = e.points.size();
            for (std::size_t i = 0; i < n; ++i) {
                bool last = i + 1 == n;
                if (last && !e.closed) {
                    path.push_back(e.points[i]);
                    break;
                }
                Vec2 a = e.points[i], b = e.points[last ? 0 : i + 1];
                double bulge = i < e.bulges.size() ? e.bulges[i] : 0;
                if (bulge == 0 || (a.x == b.x && a.y == b.y)) {
                    path.push_back(a);
                } else {
                    std::vector<Vec2> along = arcPoints(bulgeArc(a, b, bulge), tolerance);
                    path.insert(path.end(), along.begin(), along.end() - 1);
                }
                if (last) path.push_back(b);
            }
            return path;
        }
        case EntityType::Text:
        case EntityType::MText:
        case EntityType::Point: break;
    }
    return {};
}

double textWidth(std::wstring_view line, double height) {
    double width = 0;
    for (char32_t c : toCodePoints(line)) width += (c >= 0x1100 ? 1.0 : 0.6) * height;
    return width;
}

std::vector<Vec2> textCorners(const Entity& e) {
    std::vector<std::wstring_view> lines;
    std::wstring_view rest = e.text;
    for (;;) {
        std::size_t nl = rest.find(L'\n');
        lines.push_back(rest.substr(0, nl));
        if (nl == std::wstring_view::npos) break;
        rest.remove_prefix(nl + 1);
    }
    double h = e.textHeight, width = 0;
    for (auto line : lines) width = std::max(width, textWidth(line, h));
    if (e.type == EntityType::MText && e.boxWidth > 0) width = e.boxWidth;
    double height = h * (1 + 5.0 / 3.0 * static_cast<double>(lines.size() - 1));
    int att = std::clamp(e.attachment, 1, 9);
    int column = (att - 1) % 3, row = (att - 1) / 3;
    double x0 = -width * column / 2, y0 = row == 0 ? -height : row == 1 ? -height / 2 : 0;
    double c = std::cos(e.rotation * kPi / 180), s = std::sin(e.rotation * kPi / 180);
    Vec2 p = e.points.empty() ? Vec2{} : e.points.front();
    std::vector<Vec2> corners;
    for (auto [x, y] : {std::pair{x0, y0}, {x0 + width, y0}, {x0 + width, y0 + height}, {x0, y0 + height}})
        corners.push_back({p.x + x * c - y * s, p.y + x * s + y * c});
    return corners;
}

Extents boundsOf(const Entity& e) {
    Extents box;
    switch (e.type) {
        case EntityType::Circle:
            include(box, Vec2{e.points[0].x - e.radius, e.points[0].y - e.radius});
            include(box, Vec2{e.points[0].x + e.radius, e.points[0].y + e.radius});
            break;
        case EntityType::Arc: {
            double start = e.startAngle * kPi / 180, end = e.endAngle * kPi / 180;
            double sweep = std::fmod(end - start, 2 * kPi);
            if (sweep <= 0) sweep += 2 * kPi;
            includeArc(box, Arc{e.points[0], e.radius, start, sweep});
            break;
        }
        case EntityType::Text:
        case EntityType::MText:
            for (Vec2 p : textCorners(e)) include(box, p);
            break;
        case EntityType::LwPolyline:
        case EntityType::Polyline: {
            std::size_t n = e.points.size();
            for (std::size_t i = 0; i < n; ++i) {
                include(box, e.points[i]);
                double bulge = i < e.bulges.size() ? e.bulges[i] : 0;
                bool last = i + 1 == n;
                if (bulge != 0 && (!last || e.closed)) {
                    Vec2 a = e.points[i], b = e.points[last ? 0 : i + 1];
                    if (a.x != b.x || a.y != b.y) includeArc(box, bulgeArc(a, b, bulge));
                }
            }
            break;
        }
        case EntityType::Line:
        case EntityType::Point:
            for (Vec2 p : e.points) include(box, p);
            break;
    }
    return box;
}

Extents Drawing::extents() const {
    Extents box;
    for (const Entity& e : entities) include(box, boundsOf(e));
    return box;
}

}  // namespace sim
