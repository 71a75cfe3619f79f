#include "sim/model/plot_job.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "base/file_replace.h"
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

// A JSON number; JSON has no form for NaN or the infinities.
std::string jsonNumber(double value) {
    if (!std::isfinite(value)) throw std::range_error("the plot job holds a number that is not finite");
    return numberText(value);
}

// What the journal was before a line was appended, to cut it back to.
struct JournalLength {
    bool existed = false;  // anything at all had that name
    bool regular = false;  // a file, `size` bytes long
    std::uintmax_t size = 0;
};

JournalLength lengthOf(const std::filesystem::path& journal) {
    std::error_code error;
    JournalLength length;
    length.existed = std::filesystem::exists(journal, error) || error;
    length.regular = length.existed && std::filesystem::is_regular_file(journal, error);
    if (length.regular) length.size = std::filesystem::file_size(journal, error);
    if (error) length.regular = false;  // not known: left alone
    return length;
}

void cutBack(const std::filesystem::path& journal, const JournalLength& before) noexcept {
    std::error_code ignored;
    if (!before.existed) {
        std::filesystem::remove(journal, ignored);
    } else if (before.regular) {
        std::filesystem::resize_file(journal, before.size, ignored);
    }
}

// Appends the line; when it cannot, cuts the journal back and throws.
void appendJournal(const std::filesystem::path& journal, const std::string& line, const JournalLength& before) {
    {
        std::ofstream out(journal, std::ios::binary | std::ios::app);
        out << line << '\n';
        out.flush();
        if (out) return;
    }
    cutBack(journal, before);
    throw std::runtime_error("the plot journal " + pathText(journal) + " cannot be written");
}

// Writes the whole file; when it cannot, removes what was written and throws.
void writeWhole(const std::filesystem::path& file, const std::string& bytes) {
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (out) return;
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    throw std::runtime_error("the plotted sheet " + pathText(file) + " cannot be written");
}

// The job's sheet as a one-page PDF.
std::string sheetOf(const PlotJob& job, const Drawing& drawing) {
    const LayoutSettings& s = job.settings;
    const PlotDevice* device = findDevice(s.device);
    const Media* media = device ? findMedia(*device, s.media) : nullptr;
    if (!media) throw std::runtime_error("the plot device has no media \"" + encodeUtf8(s.media) + "\"");
    return sheetPdf(drawing, SheetMapping::forSettings(*media, s, job.area));
}

// Whether anything at all has that name (a dangling link too).
bool taken(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
}

// The sheet written under its name + ".part", the line appended, then the sheet given
// its name by `name` (part, sheet -> error): both or neither.
template <typename Name>
void writeSheetAndLine(const std::filesystem::path& sheet, const std::string& pdf, const std::filesystem::path& journal,
                       const std::string& line, const JournalLength& before, Name name) {
    namespace fs = std::filesystem;
    fs::path part = sheet;
    part += ".part";
    writeWhole(part, pdf);
    std::error_code ignored;
    try {
        if (!journal.empty()) appendJournal(journal, line, before);
    } catch (...) {
        fs::remove(part, ignored);
        throw;
    }
    const std::error_code named = name(part, sheet);
    if (!named) return;
    fs::remove(part, ignored);
    if (!journal.empty()) cutBack(journal, before);
    if (named == std::errc::file_exists) throw std::runtime_error("the file " + pathText(sheet) + " exists");
    throw std::runtime_error("the plotted sheet " + pathText(sheet) + " cannot be named: " + named.message());
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
    out += ",\"scale\":[" + jsonNumber(s.scalePaper) + "," + jsonNumber(s.scaleDrawing) + "]";
    out += ",\"window\":[" + jsonNumber(s.window1.x) + "," + jsonNumber(s.window1.y) + "," + jsonNumber(s.window2.x) +
           "," + jsonNumber(s.window2.y) + "]";
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

void recordPlot(PlotJob& job, const Drawing& drawing, const std::filesystem::path& plotDir,
                const std::filesystem::path& journal) {
    namespace fs = std::filesystem;
    const LayoutSettings& s = job.settings;
    job.output.reset();
    std::string pdf;
    if (!plotDir.empty() && equalsNoCase(s.device, kPdfDevice)) {
        pdf = sheetOf(job, drawing);
        job.output = plotDir / sheetName(highestSheet(plotDir) + 1);
    }
    // The line is made before anything is written: a job it cannot record writes nothing.
    const std::string line = journal.empty() ? std::string() : journalLine(job);
    const JournalLength before = journal.empty() ? JournalLength{} : lengthOf(journal);
    if (!job.output) {
        if (!journal.empty()) appendJournal(journal, line, before);
        return;
    }

    std::error_code error;
    fs::create_directories(plotDir, error);
    if (error) throw std::runtime_error("the plot folder " + pathText(plotDir) + " cannot be made: " + error.message());
    // The .part name is not a sheet's name: the numbering passes over it.
    writeSheetAndLine(*job.output, pdf, journal, line, before, [](const fs::path& part, const fs::path& sheet) {
        std::error_code renamed;
        fs::rename(part, sheet, renamed);
        return renamed;
    });
}

void recordPlotToFile(PlotJob& job, const Drawing& drawing, const std::filesystem::path& file,
                      const std::filesystem::path& journal) {
    namespace fs = std::filesystem;
    job.output.reset();
    if (!file.is_absolute() || !file.has_filename())
        throw std::runtime_error("the plot file name " + pathText(file) + " is not a full path to a file");
    std::error_code error;
    if (!fs::is_directory(file.parent_path(), error))
        throw std::runtime_error("the folder " + pathText(file.parent_path()) + " does not exist");
    fs::path part = file;
    part += ".part";
    // Checked before anything is written; the last step checks again, without a gap.
    for (const fs::path& name : {file, part})
        if (taken(name)) throw std::runtime_error("the file " + pathText(name) + " exists");
    const std::string pdf = sheetOf(job, drawing);
    job.output = file;
    const std::string line = journal.empty() ? std::string() : journalLine(job);
    const JournalLength before = journal.empty() ? JournalLength{} : lengthOf(journal);

    writeSheetAndLine(file, pdf, journal, line, before, base::moveWithoutReplacing);
}

}  // namespace sim
