// One plot job handed to the stand-in's plot service: the journal line that records it
// and the sheet it produces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "sim/model/devices.h"
#include "sim/model/drawing.h"

namespace sim {

struct PlotJob {
    int number = 0;  // 1, 2, ... within one run of the stand-in
    std::wstring layout;
    LayoutSettings settings;
    std::int32_t copies = 1;
    std::optional<std::filesystem::path> output;  // the file written, if any
};

// The job as one JSON object, without the line end.
std::string journalLine(const PlotJob& job);
// Appends the line; throws std::runtime_error when the journal cannot be written.
void appendJournal(const std::filesystem::path& journal, const PlotJob& job);

// Writes the plotted sheet into plotDir and returns the file written. This is where the
// sheet's output (a PDF of the plot window at the job's scale, rotation and paper)
// belongs; until that writer exists no file is made and the journal records null.
std::optional<std::filesystem::path> writePlotOutput(const PlotJob& job, const Drawing& drawing,
                                                     const std::filesystem::path& plotDir);

}  // namespace sim
