#include "sim/model/pdf_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "sim/model/text_codec.h"

namespace sim::pdf {

std::string number(double value, int decimals) {
    const double unit = std::pow(10.0, decimals);
    double rounded = std::round(value * unit) / unit;
    if (rounded == 0 || !std::isfinite(rounded)) return "0";
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    std::string text(buffer, end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

std::optional<unsigned char> winAnsiByte(char32_t c) {
    if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    // The printable characters of 0x80-0x9F, read from the code page itself.
    static const std::wstring upper = [] {
        std::string bytes;
        for (int b = 0x80; b < 0xA0; ++b) bytes.push_back(static_cast<char>(b));
        return fromAnsi(bytes);
    }();
    for (std::size_t i = 0; i < upper.size(); ++i) {
        char32_t mapped = static_cast<char32_t>(upper[i]);
        if (mapped == c && !(mapped >= 0x80 && mapped < 0xA0)) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

double fontAdvance(unsigned char byte) {
    // Helvetica's widths in thousandths of an em for the printable ASCII characters,
    // from the space to the tilde; other characters take a digit's width.
    static constexpr std::array<short, 95> ascii{
        278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,   // space to /
        556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,   // 0 to ?
        1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @ to O
        667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,   // P to _
        333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,   // ` to o
        556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};       // p to ~
    if (byte >= 0x20 && byte < 0x7F) return ascii[byte - 0x20] / 1000.0;
    return 0.556;
}

void Content::point(Vec2 p) { out_ += number(p.x) + " " + number(p.y); }

void Content::lineWidth(double points) { out_ += number(points) + " w\n"; }

void Content::grey(double level) {
    std::string g = number(level);
    out_ += g + " G " + g + " g\n";
}

void Content::clipTo(Vec2 min, Vec2 max) {
    point(min);
    out_ += " " + number(max.x - min.x) + " " + number(max.y - min.y) + " re W n\n";
}

void Content::moveTo(Vec2 p) {
    point(p);
    out_ += " m\n";
}

void Content::lineTo(Vec2 p) {
    point(p);
    out_ += " l\n";
}

void Content::text(double a, double b, double c, double d, Vec2 origin, std::string_view winAnsi) {
    // Font size 1: the matrix carries the size. Its factors get more decimals than
    // positions, since they multiply every glyph coordinate.
    auto factor = [](double v) { return number(v, 4); };
    out_ += "BT /F1 1 Tf " + factor(a) + " " + factor(b) + " " + factor(c) + " " + factor(d) + " ";
    point(origin);
    out_ += " Tm (";
    for (char ch : winAnsi) {
        auto byte = static_cast<unsigned char>(ch);
        if (ch == '(' || ch == ')' || ch == '\\') {
            out_ += '\\';
            out_ += ch;
        } else if (byte >= 0x80) {  // kept as an octal escape so the stream stays ASCII
            char escape[5] = {'\\', static_cast<char>('0' + (byte >> 6)), static_cast<char>('0' + ((byte >> 3) & 7)),
                              static_cast<char>('0' + (byte & 7)), 0};
            out_ += escape;
        } else {
            out_ += ch;
        }
    }
    out_ += ") Tj ET\n";
}

std::string onePageDocument(double widthPoints, double heightPoints, const Content& content) {
    const std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(widthPoints) + " " +
                             number(heightPoints) +
                             "] /Resources << /Font << /F1 5 0 R >> >> /Contents 4 0 R >>";
    const std::string stream = "<< /Length " + std::to_string(content.bytes().size()) + " >>\nstream\n" +
                               content.bytes() + "\nendstream";
    const std::array<std::string, 5> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        page,
        stream,
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
    };

    // The second line's bytes above 127 mark the file as binary for transfer programs.
    std::string file = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = file.size();
    file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n";
    file += "0000000000 65535 f\r\n";  // every entry exactly 20 bytes
    for (std::size_t offset : offsets) {
        std::string digits = std::to_string(offset);
        file += std::string(10 - std::min<std::size_t>(10, digits.size()), '0') + digits + " 00000 n\r\n";
    }
    file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
    return file;
}

}  // namespace sim::pdf
