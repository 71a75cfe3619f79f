// How each layer of a drawing shows in the view: its colour (an AutoCAD colour index)
// and whether it is shown at all (a layer that is off or frozen is not). Read from the
// LAYER table of the DXF file; portable.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>

#include "sim/model/dxf_groups.h"
#include "sim/model/dxf_text.h"
#include "sim/win/view_mapping.h"

namespace sim {

struct LayerStyle {
    int colour = 7;  // 1..255
    bool shown = true;
};

struct LayerStyles {
    std::map<std::wstring, LayerStyle> layers;
    bool hasTable = false;  // the file has a LAYER table (an R12 file may have none)

    bool shown(std::wstring_view layer) const;
    // 0x00BBGGRR. Layers the table does not name are white; without any table each
    // layer gets a light colour of its own.
    std::uint32_t colour(std::wstring_view layer) const;
};

namespace layer_detail {

constexpr std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

// Hue in degrees, value and saturation 0..1, to 0x00BBGGRR.
inline std::uint32_t fromHsv(double hue, double value, double saturation) {
    const double c = value * saturation, h = std::fmod(hue, 360.0) / 60.0;
    const double x = c * (1 - std::abs(std::fmod(h, 2.0) - 1)), m = value - c;
    double r = 0, g = 0, b = 0;
    if (h < 1) r = c, g = x;
    else if (h < 2) r = x, g = c;
    else if (h < 3) g = c, b = x;
    else if (h < 4) g = x, b = c;
    else if (h < 5) r = x, b = c;
    else r = c, b = x;
    const auto byte = [](double v) { return static_cast<int>(std::lround(v * 255)); };
    return rgb(byte(r + m), byte(g + m), byte(b + m));
}

}  // namespace layer_detail

// The RGB colour (0x00BBGGRR) of an AutoCAD colour index 1..255 (others: white).
inline std::uint32_t aciColour(int index) {
    using layer_detail::rgb;
    static constexpr std::uint32_t basic[] = {rgb(255, 0, 0),     rgb(255, 255, 0),   rgb(0, 255, 0),
                                              rgb(0, 255, 255),   rgb(0, 0, 255),     rgb(255, 0, 255),
                                              rgb(255, 255, 255), rgb(128, 128, 128), rgb(192, 192, 192)};
    static constexpr std::uint32_t greys[] = {rgb(51, 51, 51),    rgb(80, 80, 80),    rgb(105, 105, 105),
                                              rgb(130, 130, 130), rgb(190, 190, 190), rgb(255, 255, 255)};
    if (index >= 1 && index <= 9) return basic[index - 1];
    if (index >= 250 && index <= 255) return greys[index - 250];
    if (index < 10 || index > 255) return rgb(255, 255, 255);
    // 10..249: 24 hues 15 degrees apart, each in five shades, full and half saturation.
    static constexpr double shades[] = {1.0, 0.8, 0.6, 0.5, 0.3};
    const int step = index % 10;
    return layer_detail::fromHsv((index / 10 - 1) * 15.0, shades[step / 2], step % 2 ? 0.5 : 1.0);
}

inline bool LayerStyles::shown(std::wstring_view layer) const {
    const auto it = layers.find(std::wstring(layer));
    return it == layers.end() || it->second.shown;
}

inline std::uint32_t LayerStyles::colour(std::wstring_view layer) const {
    if (!hasTable) return layerColour(layer);
    const auto it = layers.find(std::wstring(layer));
    return aciColour(it == layers.end() ? 7 : it->second.colour);
}

// The LAYER table of DXF text or a DXF file; an unreadable one gives no styles (every
// layer shown).
inline LayerStyles layerStylesFromText(const std::string& text) {
    LayerStyles styles;
    try {
        const dxf::Groups groups(text, "layers");
        const dxf::TextDecoder decode;
        bool inTable = false;
        for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
            const dxf::Group& g = groups[i];
            if (dxf::isCode0(g, "TABLE") && groups[i + 1].code == 2 && dxf::trimmed(groups[i + 1].value) == "LAYER") {
                inTable = styles.hasTable = true;
                continue;
            }
            if (!inTable || !dxf::isCode0(g, "LAYER")) {
                if (inTable && dxf::isCode0(g, "ENDTAB")) break;
                continue;
            }
            std::wstring name;
            LayerStyle style;
            for (std::size_t j = i + 1; j < groups.size() && groups[j].code != 0; ++j) {
                const dxf::Group& field = groups[j];
                if (field.code == 2) {
                    name = decode(dxf::trimmed(field.value));
                } else if (field.code == 62) {
                    const long colour = groups.integer(field);
                    style.shown = style.shown && colour >= 0;  // a negative colour: the layer is off
                    style.colour = static_cast<int>(std::labs(colour));
                } else if (field.code == 70) {
                    style.shown = style.shown && !(groups.integer(field) & 1);  // frozen
                }
            }
            if (!name.empty()) styles.layers[name] = style;
        }
    } catch (const std::exception&) {
        // A file the model read is well-formed; anything else shows every layer.
    }
    return styles;
}

inline LayerStyles readLayerStyles(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return layerStylesFromText(text);
}

}  // namespace sim
