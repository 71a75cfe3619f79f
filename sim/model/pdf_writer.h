// A small PDF writer: the drawing operators of one page's content stream, and a
// one-page document around it (catalog, page tree, page, content, Helvetica, xref).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/model/drawing.h"

namespace sim::pdf {

inline constexpr double kPointsPerMm = 72.0 / 25.4;

// A number as the content stream writes it: fixed, at most `decimals` decimals (by
// default a hundredth of a point), no trailing zeros, never "-0".
std::string number(double value, int decimals = 2);

// The byte of a character in the Windows-1252 (WinAnsi) encoding of the page's font, or
// nothing when the encoding lacks it. Control characters have none.
std::optional<unsigned char> winAnsiByte(char32_t c);

// The advance of a WinAnsi character in the page font (Helvetica), in ems.
double fontAdvance(unsigned char winAnsi);

// The operators of one page, in points from the page's lower-left corner.
class Content {
public:
    void save() { out_ += "q\n"; }
    void restore() { out_ += "Q\n"; }
    void lineWidth(double points);
    void roundCapsAndJoins() { out_ += "1 J 1 j\n"; }
    void grey(double level);  // 0 black ... 1 white; stroke and fill
    // Clips everything after it (up to the matching restore) to the rectangle.
    void clipTo(Vec2 min, Vec2 max);
    void moveTo(Vec2 p);
    void lineTo(Vec2 p);
    void closePath() { out_ += "h\n"; }
    void stroke() { out_ += "S\n"; }
    // One run of text in the page font: the text matrix a b c d e f (the font scaled and
    // turned, and its origin) and the run's bytes in WinAnsi.
    void text(double a, double b, double c, double d, Vec2 origin, std::string_view winAnsi);

    const std::string& bytes() const { return out_; }
    bool empty() const { return out_.empty(); }

private:
    void point(Vec2 p);
    std::string out_;
};

// A complete PDF file of one page of the given size (points) that draws `content`, with
// Helvetica in WinAnsi encoding as font /F1.
std::string onePageDocument(double widthPoints, double heightPoints, const Content& content);

}  // namespace sim::pdf
