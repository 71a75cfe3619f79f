#include "sim/model/plot_sheet.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "sim/model/geometry.h"
#include "sim/model/pdf_writer.h"
#include "sim/model/text_codec.h"

namespace sim {
namespace {

constexpr double kLineWidthMm = 0.25;
constexpr double kToleranceMm = 0.02;       // curves as segments no further than this off
constexpr double kCapHeightOfEm = 0.718;    // Helvetica's capital height; CAD text height is the capital height
constexpr double kLineSpacing = 5.0 / 3.0;  // baseline to baseline, in text heights

double unitsInMm(std::int32_t paperUnits) {
    switch (paperUnits) {
        case 0: return 25.4;         // inches
        case 2: return 25.4 / 72.0;  // pixels: a point on a PDF sheet
        default: return 1.0;         // millimetres
    }
}

bool overlaps(const Extents& a, const Extents& b) {
    return !a.empty && !b.empty && a.min.x <= b.max.x && b.min.x <= a.max.x && a.min.y <= b.max.y &&
           b.min.y <= a.max.y;
}

// Cuts the segment a-b to the box; false when nothing of it is inside.
bool clipSegment(Vec2& a, Vec2& b, const Extents& box) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    auto edge = [&](double p, double q) {  // the part where p*t <= q
        if (p == 0) return q >= 0;
        double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!edge(-dx, a.x - box.min.x) || !edge(dx, box.max.x - a.x) || !edge(-dy, a.y - box.min.y) ||
        !edge(dy, box.max.y - a.y))
        return false;
    const Vec2 start = a;
    if (t1 < 1) b = {start.x + t1 * dx, start.y + t1 * dy};
    if (t0 > 0) a = {start.x + t0 * dx, start.y + t0 * dy};
    return true;
}

bool inside(Vec2 p, const Extents& box) {
    return p.x >= box.min.x && p.x <= box.max.x && p.y >= box.min.y && p.y <= box.max.y;
}

std::vector<std::wstring_view> linesOf(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    for (;;) {
        std::size_t nl = text.find(L'\n');
        lines.push_back(text.substr(0, nl));
        if (nl == std::wstring_view::npos) return lines;
        text.remove_prefix(nl + 1);
    }
}

class Painter {
public:
    Painter(const SheetMapping& mapping, pdf::Content& out) : map_(mapping), out_(out) {}

    void entity(const Entity& e) {
        if (!overlaps(boundsOf(e), map_.area())) return;
        switch (e.type) {
            case EntityType::Point:
                if (!e.points.empty()) path({e.points.front()});
                break;
            case EntityType::Text:
            case EntityType::MText: text(e); break;
            default: path(outlinePoints(e, kToleranceMm * pdf::kPointsPerMm / map_.pointsPerUnit()));
        }
    }

private:
    // A path through drawing points, cut to the plot area. One point is a dot (a round
    // cap on a segment of no length).
    void path(const std::vector<Vec2>& points) {
        const Extents& clip = map_.clip();
        if (points.size() == 1) {
            Vec2 p = map_.toPage(points[0]);
            if (!inside(p, clip)) return;
            out_.moveTo(p);
            out_.lineTo(p);
            out_.stroke();
            return;
        }
        bool drawn = false, penDown = false;
        Vec2 pen;
        for (std::size_t i = 1; i < points.size(); ++i) {
            Vec2 a = map_.toPage(points[i - 1]), b = map_.toPage(points[i]);
            if (!clipSegment(a, b, clip)) {
                penDown = false;
                continue;
            }
            if (!penDown || a.x != pen.x || a.y != pen.y) out_.moveTo(a);
            out_.lineTo(b);
            pen = b;
            penDown = drawn = true;
        }
        if (drawn) out_.stroke();
    }

    // How far one character moves the pen, in drawing units: Helvetica's advance for
    // what the page font has, the stand-in's estimate for the rest.
    static double advance(char32_t c, double h) {
        if (auto byte = pdf::winAnsiByte(c)) return pdf::fontAdvance(*byte) * h / kCapHeightOfEm;
        return textWidth(fromCodePoints(std::u32string(1, c)), h);
    }
    static double lineWidth(std::wstring_view line, double h) {
        double width = 0;
        for (char32_t c : toCodePoints(line)) width += advance(c < 0x20 ? U' ' : c, h);
        return width;
    }

    // Text as the view sets it: lines by line breaks, placed by the attachment point,
    // each line a run of Helvetica text with an outlined box for every character the
    // font lacks.
    void text(const Entity& e) {
        const double h = e.textHeight;
        if (!(h > 0) || e.points.empty()) return;
        const std::vector<std::wstring_view> lines = linesOf(e.text);
        double width = 0;
        for (auto line : lines) width = std::max(width, lineWidth(line, h));
        if (e.type == EntityType::MText && e.boxWidth > 0) width = e.boxWidth;
        const double height = h * (1 + kLineSpacing * static_cast<double>(lines.size() - 1));
        const int attachment = std::clamp(e.attachment, 1, 9);
        const int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
        const double left = -width * column / 2, bottom = row == 0 ? -height : row == 1 ? -height / 2 : 0;

        const double turn = e.rotation * kPi / 180;
        const double cosT = std::cos(turn), sinT = std::sin(turn);
        const Vec2 origin = e.points.front();
        auto at = [&](double x, double y) {  // text coordinates to drawing coordinates
            return Vec2{origin.x + x * cosT - y * sinT, origin.y + x * sinT + y * cosT};
        };
        const double pageTurn = turn + map_.quarterTurns() * kPi / 2;
        const double size = h * map_.pointsPerUnit() / kCapHeightOfEm;
        const double a = size * std::cos(pageTurn), b = size * std::sin(pageTurn);

        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double baseline = bottom + height - h - static_cast<double>(i) * kLineSpacing * h;
            double x = left + (width - lineWidth(lines[i], h)) * column / 2;
            std::string run;
            double runStart = x;
            auto flush = [&] {
                if (!run.empty()) out_.text(a, b, -b, a, map_.toPage(at(runStart, baseline)), run);
                run.clear();
            };
            for (char32_t c : toCodePoints(lines[i])) {
                if (c < 0x20) c = U' ';
                const double step = advance(c, h);
                if (auto byte = pdf::winAnsiByte(c)) {
                    if (run.empty()) runStart = x;
                    run.push_back(static_cast<char>(*byte));
                } else {
                    flush();
                    path({at(x + 0.1 * step, baseline), at(x + 0.9 * step, baseline), at(x + 0.9 * step, baseline + h),
                          at(x + 0.1 * step, baseline + h), at(x + 0.1 * step, baseline)});
                }
                x += step;
            }
            flush();
        }
    }

    const SheetMapping& map_;
    pdf::Content& out_;
};

}  // namespace

SheetMapping::SheetMapping(double pageWidthMm, double pageHeightMm, Extents area, double mmPerUnit, int quarterTurns,
                           bool centred)
    : area_(area),
      pageWidth_(pageWidthMm * pdf::kPointsPerMm),
      pageHeight_(pageHeightMm * pdf::kPointsPerMm),
      pointsPerUnit_(mmPerUnit * pdf::kPointsPerMm),
      turns_(((quarterTurns % 4) + 4) % 4) {
    if (area_.empty) return;
    imageWidth_ = (area_.max.x - area_.min.x) * pointsPerUnit_;
    imageHeight_ = (area_.max.y - area_.min.y) * pointsPerUnit_;
    const bool sideways = turns_ % 2 == 1;
    const double footprintWidth = sideways ? imageHeight_ : imageWidth_;
    const double footprintHeight = sideways ? imageWidth_ : imageHeight_;
    if (centred) offset_ = {(pageWidth_ - footprintWidth) / 2, (pageHeight_ - footprintHeight) / 2};
    Extents footprint;
    include(footprint, offset_);
    include(footprint, Vec2{offset_.x + footprintWidth, offset_.y + footprintHeight});
    Extents page;
    include(page, Vec2{0, 0});
    include(page, Vec2{pageWidth_, pageHeight_});
    if (overlaps(footprint, page)) {
        clip_.empty = false;
        clip_.min = {std::max(footprint.min.x, 0.0), std::max(footprint.min.y, 0.0)};
        clip_.max = {std::min(footprint.max.x, pageWidth_), std::min(footprint.max.y, pageHeight_)};
    }
}

SheetMapping SheetMapping::forSettings(const Media& media, const LayoutSettings& s, Extents area) {
    double mmPerUnit = unitsInMm(s.paperUnits) * s.scalePaper / s.scaleDrawing;
    if (s.listedScale && !area.empty) {
        const bool sideways = s.rotation % 2 == 1;
        const double w = area.max.x - area.min.x, h = area.max.y - area.min.y;
        const double across = sideways ? h : w, up = sideways ? w : h;
        double fit = 0;
        if (across > 0) fit = media.widthMm / across;
        if (up > 0) fit = fit > 0 ? std::min(fit, media.heightMm / up) : media.heightMm / up;
        if (fit > 0) mmPerUnit = fit;
    }
    if (!(mmPerUnit > 0) || !std::isfinite(mmPerUnit)) mmPerUnit = 1;
    return SheetMapping(media.widthMm, media.heightMm, area, mmPerUnit, s.rotation, s.centred);
}

Vec2 SheetMapping::toPage(Vec2 p) const {
    const double x = (p.x - area_.min.x) * pointsPerUnit_, y = (p.y - area_.min.y) * pointsPerUnit_;
    Vec2 turned;
    switch (turns_) {
        case 1: turned = {imageHeight_ - y, x}; break;
        case 2: turned = {imageWidth_ - x, imageHeight_ - y}; break;
        case 3: turned = {y, imageWidth_ - x}; break;
        default: turned = {x, y};
    }
    return {offset_.x + turned.x, offset_.y + turned.y};
}

std::string sheetPdf(const Drawing& drawing, const SheetMapping& mapping) {
    pdf::Content content;
    const Extents& clip = mapping.clip();
    if (!clip.empty) {
        content.save();
        content.clipTo(clip.min, clip.max);
        content.grey(0);
        content.lineWidth(kLineWidthMm * pdf::kPointsPerMm);
        content.roundCapsAndJoins();
        Painter painter(mapping, content);
        for (const Entity& e : drawing.entities) painter.entity(e);
        content.restore();
    }
    return pdf::onePageDocument(mapping.pageWidth(), mapping.pageHeight(), content);
}

}  // namespace sim
