#include "sim/win/view_render_win.h"

#include <cmath>
#include <algorithm>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "sim/win/gdi_win.h"
#include "sim/win/view_mapping.h"
#include "sim/win/view_text_win.h"

namespace sim {
namespace {

constexpr double kMargin = 64;          // pixels drawn beyond the area, so clipped ends stay hidden
constexpr COLORREF kGridDot = RGB(110, 122, 136);

class Painter {
public:
    Painter(HDC dc, SIZE area, const ViewState& view, const LayerStyles& layers)
        : dc_(dc),
          map_(view),
          right_(area.cx + kMargin),
          bottom_(area.cy + kMargin),
          layers_(layers),
          text_(dc, map_, right_, bottom_) {}

    void entity(const Entity& e) {
        if (!layers_.shown(e.layer)) return;
        selectPen(e.layer);
        switch (e.type) {
            case EntityType::LwPolyline:
            case EntityType::Polyline:
            case EntityType::Line: return polyline(e.points, e.bulges, e.closed && e.type != EntityType::Line);
            case EntityType::Circle: return arc(e, 0, 360);
            case EntityType::Arc: return arc(e, e.startAngle, e.endAngle);
            case EntityType::Point: return point(e);
            case EntityType::Text:
            case EntityType::MText: return text_.draw(e);
        }
    }

    void grid(SIZE visible) {
        const double pitch = gridPitch(map_.pixelsPerUnit(), 12);
        if (pitch <= 0) return;
        const Vec2 topLeft = map_.toDrawing(0, 0), bottomRight = map_.toDrawing(visible.cx, visible.cy);
        for (double x = std::ceil(topLeft.x / pitch) * pitch; x <= bottomRight.x; x += pitch)
            for (double y = std::ceil(bottomRight.y / pitch) * pitch; y <= topLeft.y; y += pitch) {
                const PixelPoint p = map_.toPixel(x, y);
                SetPixel(dc_, pixelOf(p.x), pixelOf(p.y), kGridDot);
            }
    }

private:
    void selectPen(const std::wstring& layer) {
        auto it = pens_.find(layer);
        if (it == pens_.end()) {
            const COLORREF colour = static_cast<COLORREF>(layers_.colour(layer));
            it = pens_.emplace(layer, Pen{GdiObject<HPEN>(CreatePen(PS_SOLID, 1, colour)), colour}).first;
        }
        SelectObject(dc_, it->second.pen.get());
        SetTextColor(dc_, it->second.colour);
    }

    void segment(PixelPoint a, PixelPoint b) {
        if (!clipSegment(a, b, -kMargin, -kMargin, right_, bottom_)) return;
        MoveToEx(dc_, pixelOf(a.x), pixelOf(a.y), nullptr);
        LineTo(dc_, pixelOf(b.x), pixelOf(b.y));
        SetPixel(dc_, pixelOf(b.x), pixelOf(b.y), GetTextColor(dc_));  // LineTo leaves out the last pixel
    }

    // Straight segments, and arcs where a vertex has a bulge.
    void polyline(const std::vector<Vec2>& points, const std::vector<double>& bulges, bool closed) {
        const size_t n = points.size();
        const size_t segments = n < 2 ? 0 : (closed && n > 2 ? n : n - 1);
        for (size_t i = 0; i < segments; ++i) {
            const Vec2 a = points[i], b = points[(i + 1) % n];
            const double bulge = i < bulges.size() ? bulges[i] : 0;
            if (std::abs(bulge) > 1e-9) bulgedSegment(a, b, bulge);
            else segment(map_.toPixel(a.x, a.y), map_.toPixel(b.x, b.y));
        }
    }

    // The arc from a to b whose included angle is 4·atan(bulge), counter-clockwise when
    // the bulge is positive.
    void bulgedSegment(Vec2 a, Vec2 b, double bulge) {
        const double dx = b.x - a.x, dy = b.y - a.y, d = std::hypot(dx, dy);
        if (d <= 0) return;
        const double offset = (1 - bulge * bulge) / (4 * bulge);  // centre from the chord's middle, in chords
        const Vec2 c{(a.x + b.x) / 2 - dy * offset, (a.y + b.y) / 2 + dx * offset};
        const double radius = std::hypot(a.x - c.x, a.y - c.y), sweep = 4 * std::atan(bulge);
        const double start = std::atan2(a.y - c.y, a.x - c.x);
        const int steps = static_cast<int>(std::clamp(radius * map_.pixelsPerUnit() * std::abs(sweep) / 4, 4.0, 720.0));
        PixelPoint prev = map_.toPixel(a.x, a.y);
        for (int i = 1; i <= steps; ++i) {
            const double t = start + sweep * i / steps;
            const PixelPoint next =
                i == steps ? map_.toPixel(b.x, b.y) : map_.toPixel(c.x + radius * std::cos(t), c.y + radius * std::sin(t));
            segment(prev, next);
            prev = next;
        }
    }

    // Circles and arcs as short chords, counter-clockwise from start to end (degrees).
    void arc(const Entity& e, double start, double end) {
        if (e.points.empty() || !(e.radius > 0)) return;
        const Vec2 c = e.points[0];
        while (end <= start) end += 360;
        const double radiusPx = e.radius * map_.pixelsPerUnit();
        const int steps = static_cast<int>(std::clamp(radiusPx * (end - start) / 360.0, 8.0, 720.0));
        const double step = (end - start) / steps * std::numbers::pi / 180;
        const double a0 = start * std::numbers::pi / 180;
        PixelPoint prev = map_.toPixel(c.x + e.radius * std::cos(a0), c.y + e.radius * std::sin(a0));
        for (int i = 1; i <= steps; ++i) {
            const double a = a0 + step * i;
            const PixelPoint next = map_.toPixel(c.x + e.radius * std::cos(a), c.y + e.radius * std::sin(a));
            segment(prev, next);
            prev = next;
        }
    }

    void point(const Entity& e) {
        if (e.points.empty()) return;
        const PixelPoint p = map_.toPixel(e.points[0].x, e.points[0].y);
        segment({p.x - 1, p.y}, {p.x + 1, p.y});
        segment({p.x, p.y - 1}, {p.x, p.y + 1});
    }

    HDC dc_;
    ViewMapping map_;
    double right_, bottom_;
    const LayerStyles& layers_;
    struct Pen {
        GdiObject<HPEN> pen;
        COLORREF colour;
    };
    std::map<std::wstring, Pen> pens_;
    TextPainter text_;
};

}  // namespace

void renderDrawing(HDC dc, SIZE area, const Drawing& drawing, const ViewState& view, bool grid,
                   const LayerStyles& layers) {
    GdiObject<HBRUSH> background(CreateSolidBrush(kViewBackground));
    RECT all{0, 0, area.cx, area.cy};
    FillRect(dc, &all, background.get());
    SetBkMode(dc, TRANSPARENT);
    const int oldMode = SetGraphicsMode(dc, GM_ADVANCED);  // turned text keeps its glyphs upright to the line
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    {
        Painter painter(dc, area, view, layers);
        if (grid) painter.grid(SIZE{view.widthPx, view.heightPx});
        for (const Entity& e : drawing.entities) painter.entity(e);
        SelectObject(dc, oldPen);  // before the painter's pens go
    }
    SetGraphicsMode(dc, oldMode);
}

}  // namespace sim
