// Test helper for the end-to-end road: screen copies and what the tests read in them
// (the picture inside an image control, one-colour outlines, marks), drawings prepared
// for a copy, and the stand-in's plot journal and PDF sheets.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace road {

constexpr std::uint32_t rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> data;

    std::uint32_t at(int x, int y) const { return data[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// What the screen shows in a rectangle of screen coordinates.
inline Pixels screenCopy(const RECT& area) {
    Pixels p;
    p.width = area.right - area.left;
    p.height = area.bottom - area.top;
    if (p.width <= 0 || p.height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HDC memory = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, p.width, p.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    p.data.assign(first, first + std::size_t(p.width) * std::size_t(p.height));
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    for (auto& c : p.data) c &= 0x00FFFFFF;
    return p;
}

// A 24-bit BMP file of the pixels, for a person to look at.
inline bool saveBmp(const std::filesystem::path& file, const Pixels& p) {
    const int rowBytes = (p.width * 3 + 3) & ~3;
    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{sizeof info, p.width, p.height, 1, 24, BI_RGB, DWORD(rowBytes * p.height), 0, 0, 0, 0};
    head.bfType = 0x4D42;
    head.bfOffBits = sizeof head + sizeof info;
    head.bfSize = head.bfOffBits + info.biSizeImage;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&head), sizeof head);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    std::vector<char> row(std::size_t(rowBytes), 0);
    for (int y = p.height - 1; y >= 0; --y) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t c = p.at(x, y);
            row[std::size_t(x) * 3] = char(c & 0xFF);
            row[std::size_t(x) * 3 + 1] = char((c >> 8) & 0xFF);
            row[std::size_t(x) * 3 + 2] = char((c >> 16) & 0xFF);
        }
        out.write(row.data(), rowBytes);
    }
    return bool(out);
}

struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive pixel bounds
    int count = 0;                                   // pixels that made it

    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    POINT centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    void add(int x, int y) {
        if (count++ == 0) {
            left = right = x;
            top = bottom = y;
            return;
        }
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
};

// Pixels to leave out of every search (a control lying over the image).
struct Mask {
    std::vector<RECT> holes;  // in the copy's coordinates, right and bottom exclusive
    bool covers(int x, int y) const {
        for (const RECT& r : holes)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
        return false;
    }
};

// The box around every pixel that is not the ground colour.
inline Box boxOfAllBut(const Pixels& p, std::uint32_t ground, const Mask& mask = {}) {
    Box box;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y) != ground && !mask.covers(x, y)) box.add(x, y);
    return box;
}

// The pieces of one exact colour: its 8-connected groups of pixels, each as its box.
inline std::vector<Box> piecesOf(const Pixels& p, std::uint32_t colour, const Mask& mask = {}) {
    std::vector<char> seen(p.data.size(), 0);
    std::vector<Box> pieces;
    std::vector<std::pair<int, int>> stack;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(p.width) + std::size_t(x);
            if (seen[i] || p.data[i] != colour || mask.covers(x, y)) continue;
            Box box;
            stack.push_back({x, y});
            seen[i] = 1;
            while (!stack.empty()) {
                const auto [cx, cy] = stack.back();
                stack.pop_back();
                box.add(cx, cy);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx, ny = cy + dy;
                        if (!p.inside(nx, ny)) continue;
                        const std::size_t n = std::size_t(ny) * std::size_t(p.width) + std::size_t(nx);
                        if (seen[n] || p.data[n] != colour || mask.covers(nx, ny)) continue;
                        seen[n] = 1;
                        stack.push_back({nx, ny});
                    }
            }
            pieces.push_back(box);
        }
    }
    return pieces;
}

// The pixels of one colour inside a box, as offsets from a point: a mark's shape.
inline std::set<std::pair<int, int>> shapeOf(const Pixels& p, std::uint32_t colour, const Box& within, POINT origin) {
    std::set<std::pair<int, int>> shape;
    for (int y = std::max(0, within.top); y <= std::min(p.height - 1, within.bottom); ++y)
        for (int x = std::max(0, within.left); x <= std::min(p.width - 1, within.right); ++x)
            if (p.at(x, y) == colour) shape.insert({x - origin.x, y - origin.y});
    return shape;
}

// Whether two shapes are the same up to a shift of at most one pixel each way, looking
// only at offsets within `reach` of the origin (so a shape cut by the edge of the area it
// was taken from still compares).
inline bool sameShape(const std::set<std::pair<int, int>>& a, const std::set<std::pair<int, int>>& b, POINT reach) {
    const auto within = [&](int x, int y) { return std::abs(x) <= reach.x && std::abs(y) <= reach.y; };
    const auto covered = [&](const std::set<std::pair<int, int>>& from, const std::set<std::pair<int, int>>& to,
                             int dx, int dy) {
        for (const auto& [x, y] : from)
            if (within(x, y) && !to.count({x + dx, y + dy})) return false;
        return true;
    };
    std::size_t inside = 0;
    for (const auto& [x, y] : a) inside += within(x, y) ? 1 : 0;
    if (inside == 0) return false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (covered(a, b, dx, dy) && covered(b, a, -dx, -dy)) return true;
    return false;
}

// An empty folder of the test's own in the temporary folder, with "sheets" in it for the
// stand-in's plots.
inline std::filesystem::path freshTempFolder(const std::wstring& name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    const std::filesystem::path folder =
        std::filesystem::path(dir) / (L"quillon-" + name + L"-" + std::to_wstring(GetCurrentProcessId()));
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder / "sheets", error);
    return folder;
}

inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A copy of a DXF drawing in which every layer drawn in cyan (colour 4) is drawn in
// yellow (colour 2) instead, so that pure cyan on the preview can only be the outlines
// Quillon draws. Everything else, line ends included, stays byte for byte.
inline bool writeWithoutCyanLayers(const std::filesystem::path& from, const std::filesystem::path& to) {
    const std::string text = readFile(from);
    if (text.empty()) return false;
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start + (end < text.size() ? 1 : 0)));
        start = end + 1;
    }
    const auto trimmed = [](const std::string& s) {
        const std::size_t a = s.find_first_not_of(" \t\r\n");
        return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
    };
    bool inLayerTable = false;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string code = trimmed(lines[i]), value = trimmed(lines[i + 1]);
        if (code == "2" && value == "LAYER" && i >= 2 && trimmed(lines[i - 1]) == "TABLE") inLayerTable = true;
        if (code == "0" && value == "ENDTAB") inLayerTable = false;
        if (inLayerTable && code == "62" && (value == "4" || value == "-4")) {
            const std::string ending = lines[i + 1].substr(lines[i + 1].find_last_not_of("\r\n") + 1);
            lines[i + 1] = (value == "4" ? "2" : "-2") + ending;
        }
    }
    std::ofstream out(to, std::ios::binary);
    for (const std::string& line : lines) out << line;
    return bool(out);
}

// ---- the stand-in's plot journal ----

struct JournalJob {
    int job = 0;
    std::string device, media;
    int rotation = -1;
    std::vector<double> scale, window;
    std::string output;  // the sheet's file, or empty
};

inline std::vector<double> numbersAfter(const std::string& line, const std::string& key) {
    std::vector<double> out;
    const std::size_t at = line.find("\"" + key + "\":[");
    if (at == std::string::npos) return out;
    std::istringstream in(line.substr(at + key.size() + 4, line.find(']', at) - at - key.size() - 4));
    std::string item;
    while (std::getline(in, item, ',')) out.push_back(std::strtod(item.c_str(), nullptr));
    return out;
}

inline std::string stringAfter(const std::string& line, const std::string& key) {
    const std::size_t at = line.find("\"" + key + "\":\"");
    if (at == std::string::npos) return {};
    std::string out;
    for (std::size_t i = at + key.size() + 4; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        out += line[i];
    }
    return out;
}

inline std::vector<JournalJob> readJournal(const std::filesystem::path& file) {
    std::vector<JournalJob> jobs;
    std::istringstream in(readFile(file));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        JournalJob j;
        const std::regex job("\"job\":(\\d+)"), rotation("\"rotation\":(\\d+)");
        std::smatch m;
        if (std::regex_search(line, m, job)) j.job = std::stoi(m[1]);
        if (std::regex_search(line, m, rotation)) j.rotation = std::stoi(m[1]);
        j.device = stringAfter(line, "device");
        j.media = stringAfter(line, "media");
        j.scale = numbersAfter(line, "scale");
        j.window = numbersAfter(line, "window");
        j.output = stringAfter(line, "output");
        jobs.push_back(j);
    }
    return jobs;
}

// The page boxes (/MediaBox) of a PDF file, in points: x1, y1, x2, y2 each.
inline std::vector<std::vector<double>> mediaBoxes(const std::string& pdf) {
    std::vector<std::vector<double>> boxes;
    const std::regex box("/MediaBox\\s*\\[\\s*([-0-9.]+)\\s+([-0-9.]+)\\s+([-0-9.]+)\\s+([-0-9.]+)\\s*\\]");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator(); ++it)
        boxes.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
    return boxes;
}

}  // namespace road
