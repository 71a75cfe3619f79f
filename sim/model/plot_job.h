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

// The job as one JSON object, without the line end. Throws std::range_error when a
// number of the job is not finite: JSON has no form for it.
std::string journalLine(const PlotJob& job);

// The device whose jobs become files.
inline constexpr std::wstring_view kPdfDevice = L"PDF";

// Records the job: its sheet and its journal line, both or neither, and sets job.output
// to the sheet written. For the PDF device, when plotDir is given, the sheet is a one-page
// PDF of the job's area on its media, named plot-NNNN.pdf, numbered on from the highest
// such file already in the folder (so files sort in job order and a later run adds to the
// folder rather than overwriting it); other devices, or no plotDir, write no sheet. The
// line is appended to the journal when one is given. The sheet is written under a
// temporary name, the line appended, and only then is the sheet given its name. Throws
// std::runtime_error saying why when any step fails, and then leaves no sheet, no
// temporary file and no part of the line behind.
void recordPlot(PlotJob& job, const Drawing& drawing, const std::filesystem::path& plotDir,
                const std::filesystem::path& journal);

// Records a job plotted to a file the caller names (a full path, in a folder that
// exists): the one-page PDF of the job's area on its media, for any device with paper,
// and the journal line whose output is that file; both or neither, the same steps as
// recordPlot. The file is never replaced: a name that is taken before the job, or
// while it runs, fails it. Throws std::runtime_error saying why when any step fails,
// and then leaves nothing behind.
void recordPlotToFile(PlotJob& job, const Drawing& drawing, const std::filesystem::path& file,
                      const std::filesystem::path& journal);

}  // namespace sim
