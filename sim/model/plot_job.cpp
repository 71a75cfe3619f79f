#include "sim/model/plot_job.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "sim/model/format.h"
#include "sim/model/plot_sheet.h"
#include "sim/model/text_codec.h"

namespace sim {
namespace {

std::string flag(bool b) { return b ? "true" : "false"; }

std::string pathText(const std::filesystem::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

constexpr std::string_view kSheetPrefix = "plot-", kSheetSuffix = ".pdf";

std::filesystem::path sheetName(unsigned long number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return std::string(kSheetPrefix) + digits + std::string(kSheetSuffix);
}

// The number of the highest plot-NNNN.pdf in the folder (any letter case); 0 when none.
unsigned long highestSheet(const std::filesystem::path& dir) {
    unsigned long highest = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
        std::string name = pathText(it->path().filename());
        for (char& c : name)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (name.size() <= kSheetPrefix.size() + kSheetSuffix.size() || !name.starts_with(kSheetPrefix) ||
            !name.ends_with(kSheetSuffix))
            continue;
        const std::string digits = name.substr(kSheetPrefix.size(), name.size() - kSheetPrefix.size() - kSheetSuffix.size());
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        highest = std::max(highest, std::stoul(digits));
    }
    return highest;
}

}  // namespace

std::string journalLine(const PlotJob& job) {
    const LayoutSettings& s = job.settings;
    std::string out = "{\"job\":" + std::to_string(job.number);
    out += ",\"layout\":" + jsonString(job.layout);
    out += ",\"device\":" + jsonString(s.device);
    out += ",\"media\":" + jsonString(s.media);
    out += ",\"styleTable\":" + jsonString(s.styleTable);
    out += ",\"applyStyleTable\":" + flag(s.applyStyleTable);
    out += ",\"paperUnits\":" + std::to_string(s.paperUnits);
    out += ",\"rotation\":" + std::to_string(s.rotation);
    out += ",\"centred\":" + flag(s.centred);
    out += ",\"areaKind\":" + std::to_string(s.areaKind);
    out += ",\"listedScale\":" + flag(s.listedScale);
    out += ",\"scale\":[" + numberText(s.scalePaper) + "," + numberText(s.scaleDrawing) + "]";
    out += ",\"window\":[" + numberText(s.window1.x) + "," + numberText(s.window1.y) + "," + numberText(s.window2.x) +
           "," + numberText(s.window2.y) + "]";
    out += ",\"printLineWeights\":" + flag(s.printLineWeights);
    out += ",\"lineWeightScaling\":" + flag(s.lineWeightScaling);
    out += ",\"copies\":" + std::to_string(job.copies);
    if (job.output) {
        out += ",\"output\":" + jsonString(decodeUtf8(pathText(*job.output)));
    } else {
        out += ",\"output\":null";
    }
    return out + "}";
}

void appendJournal(const std::filesystem::path& journal, const PlotJob& job) {
    std::ofstream out(journal, std::ios::binary | std::ios::app);
    out << journalLine(job) << '\n';
    out.flush();
    if (!out) {
        throw std::runtime_error("the plot journal " + pathText(journal) + " cannot be written");
    }
}

std::optional<std::filesystem::path> writePlotOutput(const PlotJob& job, const Drawing& drawing,
                                                     const std::filesystem::path& plotDir) {
    namespace fs = std::filesystem;
    const LayoutSettings& s = job.settings;
    if (plotDir.empty() || !equalsNoCase(s.device, kPdfDevice)) return std::nullopt;
    const PlotDevice* device = findDevice(s.device);
    const Media* media = device ? findMedia(*device, s.media) : nullptr;
    if (!media) throw std::runtime_error("the plot device has no media \"" + encodeUtf8(s.media) + "\"");

    const std::string pdf = sheetPdf(drawing, SheetMapping::forSettings(*media, s, job.area));
    std::error_code error;
    fs::create_directories(plotDir, error);
    if (error) throw std::runtime_error("the plot folder " + pathText(plotDir) + " cannot be made: " + error.message());
    const fs::path file = plotDir / sheetName(highestSheet(plotDir) + 1);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(pdf.data(), static_cast<std::streamsize>(pdf.size()));
        out.flush();
        if (out) return file;
    }
    fs::remove(file, error);
    throw std::runtime_error("the plotted sheet " + pathText(file) + " cannot be written");
}

}  // namespace sim
