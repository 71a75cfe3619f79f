#include "sim/win/view_text_win.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace sim {
namespace {

constexpr double kCapToEm = 1.0 / 0.72;     // CAD text height is the capital height; a font is sized by its em
constexpr double kLineSpacing = 5.0 / 3.0;  // baseline to baseline, in text heights

double widthOf(HDC dc, std::wstring_view s) {
    SIZE size{};
    GetTextExtentPoint32W(dc, s.data(), static_cast<int>(s.size()), &size);
    return size.cx;
}

// Characters of scripts written without spaces, where a line may break anywhere.
bool breaksAnywhere(wchar_t c) {
    return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

// The paragraph broken into lines no wider than `limit` pixels (0: no limit): after
// spaces and around CJK characters; a word wider than the box keeps its own line. Our
// face is wider than a CAD font, so the box is taken a little wider than it is.
void wrapParagraph(HDC dc, std::wstring_view paragraph, double limit, std::vector<std::wstring>& lines) {
    limit *= 1.25;
    if (limit <= 0 || widthOf(dc, paragraph) <= limit) {
        lines.emplace_back(paragraph);
        return;
    }
    std::wstring line;
    size_t i = 0;
    while (i < paragraph.size()) {
        // The next piece that cannot be broken: a word with its trailing space, or one
        // CJK character.
        size_t end = i + 1;
        if (!breaksAnywhere(paragraph[i]))
            while (end < paragraph.size() && paragraph[end - 1] != L' ' && !breaksAnywhere(paragraph[end])) ++end;
        const std::wstring_view piece = paragraph.substr(i, end - i);
        if (!line.empty() && widthOf(dc, line + std::wstring(piece)) > limit) {
            lines.push_back(line);
            line.clear();
        }
        line += piece;
        i = end;
    }
    if (!line.empty()) lines.push_back(line);
}

}  // namespace

HFONT TextPainter::font(int pixels, int tenths) {
    const auto key = std::make_pair(pixels, tenths);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) it = fonts_.emplace(key, GdiObject<HFONT>(createTextFont(pixels, tenths))).first;
    return it->second.get();
}

void TextPainter::draw(const Entity& e) {
    if (e.points.empty() || e.text.empty()) return;
    const double k = map_.pixelsPerUnit(), heightPx = e.textHeight * k;
    if (heightPx < 2 || heightPx > 4000) return;  // unreadable, or larger than any screen
    const PixelPoint at = map_.toPixel(e.points[0].x, e.points[0].y);
    const double reach = heightPx * (2.0 + static_cast<double>(e.text.size())) + e.boxWidth * k;
    if (at.x < -reach || at.y < -reach || at.x > right_ + reach || at.y > bottom_ + reach) return;

    const int tenths = static_cast<int>(std::lround(std::fmod(e.rotation, 360.0) * 10));
    Selected selected(dc_, font(static_cast<int>(std::lround(heightPx * kCapToEm)), tenths));
    SetTextAlign(dc_, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);

    std::vector<std::wstring> lines;
    const double limit = e.type == EntityType::MText ? e.boxWidth * k : 0;
    for (size_t begin = 0; begin <= e.text.size();) {
        size_t end = e.text.find(L'\n', begin);
        if (end == std::wstring::npos) end = e.text.size();
        wrapParagraph(dc_, std::wstring_view(e.text).substr(begin, end - begin), limit, lines);
        begin = end + 1;
    }

    // In the text's own axes (x along the line, y down the page), from the insertion point.
    const int attachment = (e.attachment >= 1 && e.attachment <= 9) ? e.attachment : 7;
    const int column = (attachment - 1) % 3, row = (attachment - 1) / 3;
    const double pitch = heightPx * kLineSpacing, blockHeight = heightPx + pitch * double(lines.size() - 1);
    const double firstBaseline = row == 0 ? heightPx : row == 1 ? heightPx - blockHeight / 2 : heightPx - blockHeight;
    const double r = e.rotation * std::numbers::pi / 180, c = std::cos(r), s = std::sin(r);
    for (size_t i = 0; i < lines.size(); ++i) {
        const double lx = -widthOf(dc_, lines[i]) * column / 2.0, ly = firstBaseline + pitch * double(i);
        const double x = at.x + lx * c + ly * s, y = at.y - lx * s + ly * c;
        TextOutW(dc_, pixelOf(x), pixelOf(y), lines[i].c_str(), static_cast<int>(lines[i].size()));
    }
}

}  // namespace sim
