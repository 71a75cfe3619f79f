// BACKGROUNDPLOT around a batch plot. The host plots an automation client's sheets in
// the background unless BACKGROUNDPLOT is 0, and a plot asked for while an earlier one
// is still plotting in the background is refused (PlotToDevice answers false); a run of
// several sheets therefore plots in the foreground.
#pragma once

#include <cstdint>
#include <optional>

#include "cad/automation.h"

namespace app {

// BACKGROUNDPLOT set to 0, for good (the equal-interval run leaves it so). Host errors
// reach the caller.
void plotInForeground(cad::CadDocument& document);

// The frame run's foreground plotting: made, it has read the user's BACKGROUNDPLOT and,
// unless it is 0 already, set it to 0. putBack() at the run's end writes the user's
// value back. When the run ends another way (a host failure half-way, or in putBack
// itself) the destruction tries once more and ignores its failure, so that the failure
// the user hears of is the run's. Host errors (a value that is not an integer too) reach
// the caller.
class ForegroundPlotting {
public:
    explicit ForegroundPlotting(cad::CadDocument& document);
    ~ForegroundPlotting();
    ForegroundPlotting(const ForegroundPlotting&) = delete;
    ForegroundPlotting& operator=(const ForegroundPlotting&) = delete;

    void putBack();

private:
    cad::CadDocument& document_;
    std::optional<std::int32_t> userValue_;  // set while BACKGROUNDPLOT may differ from it
};

}  // namespace app
