#include "sim/model/plot_job.h"

#include <fstream>
#include <stdexcept>

#include "sim/model/format.h"
#include "sim/model/text_codec.h"

namespace sim {
namespace {

std::string flag(bool b) { return b ? "true" : "false"; }

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
        auto u8 = job.output->u8string();
        out += ",\"output\":" + jsonString(decodeUtf8(std::string(u8.begin(), u8.end())));
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
        auto u8 = journal.u8string();
        throw std::runtime_error("the plot journal " + std::string(u8.begin(), u8.end()) + " cannot be written");
    }
}

std::optional<std::filesystem::path> writePlotOutput(const PlotJob&, const Drawing&, const std::filesystem::path&) {
    return std::nullopt;
}

}  // namespace sim
