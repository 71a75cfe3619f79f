#include "sim/win/view_render_win.h"

#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "sim/win/gdi_win.h"
#include "sim/win/view_mapping.h"

namespace sim {
namespace {

constexpr double kMargin = 64;          // pixels drawn beyond the area, so clipped ends stay hidden
constexpr double kCapToEm = 1.0 / 0.72; // CAD text height is the capital height; a font is sized by its em
constexpr double kLineSpacing = 5.0 / 3.0;
constexpr COLORREF kGridDot = RGB(110, 122, 136);

class Painter {
public:
    Painter(HDC dc, SIZE area, const ViewState& view)
        : dc_(dc), map_(view), right_(area.cx + kMargin), bottom_(area.cy + kMargin) {}

    void entity(const Entity& e) {
        selectPen(e.layer);
        switch (e.type) {
            case EntityType::LwPolyline:
            case EntityType::Polyline:
            case EntityType::Line: return polyline(e.points, e.closed && e.type != EntityType::Line);
            case EntityType::Circle: return arc(e, 0, 360);
            case EntityType::Arc: return arc(e, e.startAngle, e.endAngle);
            case EntityType::Point: return point(e);
            case EntityType::Text: return text(e, false);
            case EntityType::MText: return text(e, true);
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
            const COLORREF colour = static_cast<COLORREF>(layerColour(layer));
            it = pens_.emplace(layer, GdiObject<HPEN>(CreatePen(PS_SOLID, 1, colour))).first;
        }
        SelectObject(dc_, it->second.get());
        SetTextColor(dc_, static_cast<COLORREF>(layerColour(layer)));
    }

    void segment(PixelPoint a, PixelPoint b) {
        if (!clipSegment(a, b, -kMargin, -kMargin, right_, bottom_)) return;
        MoveToEx(dc_, pixelOf(a.x), pixelOf(a.y), nullptr);
        LineTo(dc_, pixelOf(b.x), pixelOf(b.y));
        SetPixel(dc_, pixelOf(b.x), pixelOf(b.y), GetTextColor(dc_));  // LineTo leaves out the last pixel
    }

    void polyline(const std::vector<Vec2>& points, bool closed) {
        for (size_t i = 1; i < points.size(); ++i)
            segment(map_.toPixel(points[i - 1].x, points[i - 1].y), map_.toPixel(points[i].x, points[i].y));
        if (closed && points.size() > 2)
            segment(map_.toPixel(points.back().x, points.back().y), map_.toPixel(points[0].x, points[0].y));
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

    HFONT font(int pixels, int tenths) {
        const auto key = std::make_pair(pixels, tenths);
        auto it = fonts_.find(key);
        if (it == fonts_.end()) it = fonts_.emplace(key, GdiObject<HFONT>(createTextFont(pixels, tenths))).first;
        return it->second.get();
    }

    // TEXT stands on its baseline at the insertion point; MTEXT hangs from it, one line
    // per paragraph, wrapped at its box width when it has one and is not turned.
    void text(const Entity& e, bool multiline) {
        if (e.points.empty() || e.text.empty()) return;
        const double heightPx = e.textHeight * map_.pixelsPerUnit();
        if (heightPx < 2 || heightPx > 4000) return;  // unreadable, or larger than any screen
        const PixelPoint at = map_.toPixel(e.points[0].x, e.points[0].y);
        const double reach = heightPx * (2.0 + static_cast<double>(e.text.size()));
        if (at.x < -reach || at.y < -reach || at.x > right_ + reach || at.y > bottom_ + reach) return;

        const int tenths = static_cast<int>(std::lround(std::fmod(e.rotation, 360.0) * 10));
        Selected selected(dc_, font(static_cast<int>(std::lround(heightPx * kCapToEm)), tenths));
        SetTextAlign(dc_, multiline ? (TA_TOP | TA_LEFT | TA_NOUPDATECP) : (TA_BASELINE | TA_LEFT | TA_NOUPDATECP));
        if (multiline && tenths == 0 && e.boxWidth > 0) {
            RECT box{pixelOf(at.x), pixelOf(at.y), pixelOf(at.x + e.boxWidth * map_.pixelsPerUnit()),
                     pixelOf(bottom_ + reach)};
            DrawTextW(dc_, e.text.c_str(), static_cast<int>(e.text.size()), &box,
                      DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP | DT_LEFT | DT_TOP);
            return;
        }
        const double r = e.rotation * std::numbers::pi / 180, pitch = heightPx * kLineSpacing;
        size_t begin = 0;
        for (int line = 0; begin <= e.text.size(); ++line) {
            size_t end = e.text.find(L'\n', begin);
            if (end == std::wstring::npos) end = e.text.size();
            const double x = at.x + std::sin(r) * pitch * line, y = at.y + std::cos(r) * pitch * line;
            TextOutW(dc_, pixelOf(x), pixelOf(y), e.text.c_str() + begin, static_cast<int>(end - begin));
            begin = end + 1;
        }
    }

    HDC dc_;
    ViewMapping map_;
    double right_, bottom_;
    std::map<std::wstring, GdiObject<HPEN>> pens_;
    std::map<std::pair<int, int>, GdiObject<HFONT>> fonts_;
};

}  // namespace

void renderDrawing(HDC dc, SIZE area, const Drawing& drawing, const ViewState& view, bool grid) {
    GdiObject<HBRUSH> background(CreateSolidBrush(kViewBackground));
    RECT all{0, 0, area.cx, area.cy};
    FillRect(dc, &all, background.get());
    SetBkMode(dc, TRANSPARENT);
    const int oldMode = SetGraphicsMode(dc, GM_ADVANCED);  // turned text keeps its glyphs upright to the line
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    {
        Painter painter(dc, area, view);
        if (grid) painter.grid(SIZE{view.widthPx, view.heightPx});
        for (const Entity& e : drawing.entities) painter.entity(e);
        SelectObject(dc, oldPen);  // before the painter's pens go
    }
    SetGraphicsMode(dc, oldMode);
}

}  // namespace sim
