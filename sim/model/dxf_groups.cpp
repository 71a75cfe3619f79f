#include "sim/model/dxf_groups.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace sim::dxf {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool isCode0(const Group& g, std::string_view value) { return g.code == 0 && trimmed(g.value) == value; }

namespace {

std::string quoted(std::string_view s) {
    constexpr std::size_t kMax = 40;
    std::string out = "\"";
    out += s.substr(0, kMax);
    if (s.size() > kMax) out += "...";
    return out + "\"";
}

}  // namespace

Groups::Groups(std::string_view text, std::filesystem::path file) : file_(std::move(file)) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (text.starts_with("AutoCAD Binary DXF"))
        fail(1, "binary DXF cannot be read; save the drawing as ASCII DXF");

    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    // Blank lines after the last pair are not a pair.
    std::size_t count = lines.size();
    while (count > 0 && trimmed(lines[count - 1]).empty()) --count;
    endLine_ = count + 1;
    if (count == 0) fail(1, "the file is empty");

    groups_.reserve(count / 2);
    for (std::size_t i = 0; i < count; i += 2) {
        std::string_view codeText = trimmed(lines[i]);
        int code = 0;
        auto [end, ec] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
        if (codeText.empty() || ec != std::errc() || end != codeText.data() + codeText.size())
            fail(i + 1, "expected a group code (a whole number), found " + quoted(codeText));
        if (i + 1 >= count) fail(i + 2, "unexpected end of file: group code " + std::to_string(code) + " has no value");
        if (code == 999) continue;
        groups_.push_back(Group{code, lines[i + 1], i + 1});
        // Nothing after the end marker is part of the drawing.
        if (code == 0 && trimmed(lines[i + 1]) == "EOF") break;
    }
}

void Groups::fail(std::size_t line, const std::string& reason) const { throw DxfError(file_, line, reason); }

double Groups::number(const Group& g) const {
    std::string_view s = trimmed(g.value);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        fail(g.line + 1, "group " + std::to_string(g.code) + " needs a number, found " + quoted(trimmed(g.value)));
    return v;
}

long Groups::integer(const Group& g) const {
    std::string_view s = trimmed(g.value);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    long v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        fail(g.line + 1, "group " + std::to_string(g.code) + " needs a whole number, found " + quoted(trimmed(g.value)));
    return v;
}

}  // namespace sim::dxf
