// One plot job handed to the stand-in's plot service: the journal line that records it
// and the sheet it produces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "sim/model/devices.h"
#include "sim/model/drawing.h"

namespace sim {

struct PlotJob {
    int number = 0;  // 1, 2, ... within one run of the stand-in
    std::wstring layout;
    LayoutSettings settings;
    std::int32_t copies = 1;
    // The part of the drawing plotted, in drawing units: the window, the view or the
    // extents, as the settings' area kind says. Empty for an empty drawing's extents.
    Extents area;
    std::optional<std::filesystem::path> output;  // the file written, if any
};

// The job as one JSON object, without the line end.
std::string journalLine(const PlotJob& job);
// Appends the line; throws std::runtime_error when the journal cannot be written.
void appendJournal(const std::filesystem::path& journal, const PlotJob& job);

// The device whose jobs become files.
inline constexpr std::wstring_view kPdfDevice = L"PDF";

// Writes the plotted sheet into plotDir and returns the file written: for the PDF device
// a one-page PDF of the job's area on its media, named plot-NNNN.pdf, numbered on from
// the highest such file already in the folder (so files sort in job order and a later
// run adds to the folder rather than overwriting it). Other devices, or no plotDir,
// write nothing. Throws std::runtime_error when the file cannot be written; no partial
// file is left then.
std::optional<std::filesystem::path> writePlotOutput(const PlotJob& job, const Drawing& drawing,
                                                     const std::filesystem::path& plotDir);

}  // namespace sim
