#include "sim/model/devices.h"

#include <string>

#include "sim/model/text_codec.h"

namespace sim {
namespace {

// An ISO or JIS sheet as the PDF drivers name it.
Media sheet(const wchar_t* series, const wchar_t* size, int width, int height) {
    std::wstring w = std::to_wstring(width) + L".00", h = std::to_wstring(height) + L".00";
    std::wstring canonical = std::wstring(series) + L"_" + size + L"_(" + w + L"_x_" + h + L"_MM)";
    std::wstring display = std::wstring(series) + L" " + size + L" (" + w + L" x " + h + L" mm)";
    return Media{canonical, display, double(width), double(height)};
}

std::vector<Media> isoMedia() {
    std::vector<Media> media;
    struct Size { const wchar_t* name; int shortSide, longSide; };
    for (Size s : {Size{L"A4", 210, 297}, {L"A3", 297, 420}, {L"A2", 420, 594}, {L"A1", 594, 841}, {L"A0", 841, 1189}}) {
        media.push_back(sheet(L"ISO", s.name, s.shortSide, s.longSide));
        media.push_back(sheet(L"ISO", s.name, s.longSide, s.shortSide));
    }
    media.push_back(sheet(L"ISO", L"B4", 250, 353));
    media.push_back(sheet(L"JIS", L"B4", 257, 364));
    media.push_back(sheet(L"JIS", L"B4", 364, 257));
    media.push_back(sheet(L"JIS", L"B3", 364, 515));
    media.push_back(sheet(L"JIS", L"B3", 515, 364));
    media.push_back(Media{L"Letter_(8.50_x_11.00_Inches)", L"Letter (8.50 x 11.00 Inches)", 215.9, 279.4});
    media.push_back(Media{L"Legal_(8.50_x_14.00_Inches)", L"Legal (8.50 x 14.00 Inches)", 215.9, 355.6});
    return media;
}

std::vector<PlotDevice> makeDevices() {
    std::vector<PlotDevice> devices;
    devices.push_back({L"None", {}});
    devices.push_back({L"Default Windows System Printer.pc3",
                       {{L"A4", L"A4", 210, 297}, {L"A3", L"A3", 297, 420}, {L"B4", L"B4 (JIS)", 257, 364},
                        {L"B5", L"B5 (JIS)", 182, 257}, {L"Letter", L"Letter", 215.9, 279.4}}});
    devices.push_back({L"PDF", isoMedia()});
    std::vector<Media> fullBleed;
    for (const Media& m : isoMedia()) {
        if (m.canonical.starts_with(L"ISO_A"))
            fullBleed.push_back(Media{L"ISO_full_bleed_" + m.canonical.substr(4), L"ISO full bleed " + m.display.substr(4),
                                      m.widthMm, m.heightMm});
    }
    devices.push_back({L"DWG To PDF.pc3", fullBleed});
    return devices;
}

}  // namespace

const std::vector<PlotDevice>& plotDevices() {
    static const std::vector<PlotDevice> devices = makeDevices();
    return devices;
}

const std::vector<std::wstring>& plotStyleTables() {
    static const std::vector<std::wstring> tables{L"acad.ctb",     L"monochrome.ctb", L"Grayscale.ctb",
                                                  L"Screening 50%.ctb", L"acad.stb", L"monochrome.stb"};
    return tables;
}

const PlotDevice* findDevice(std::wstring_view name) {
    for (const PlotDevice& d : plotDevices())
        if (equalsNoCase(d.name, name)) return &d;
    return nullptr;
}

const Media* findMedia(const PlotDevice& device, std::wstring_view name) {
    for (const Media& m : device.media)
        if (equalsNoCase(m.canonical, name)) return &m;
    for (const Media& m : device.media)
        if (equalsNoCase(m.display, name)) return &m;
    return nullptr;
}

void followDevice(LayoutSettings& settings) {
    const PlotDevice* device = findDevice(settings.device);
    if (!device) return;
    if (device->media.empty()) settings.media.clear();
    else if (!findMedia(*device, settings.media)) settings.media = device->media.front().canonical;
}

}  // namespace sim
