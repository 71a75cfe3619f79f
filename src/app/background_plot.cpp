#include "app/background_plot.h"

namespace app {

namespace {

constexpr wchar_t kBackgroundPlot[] = L"BACKGROUNDPLOT";

void writeBackgroundPlot(cad::CadDocument& document, std::int32_t value) {
    document.writeSysVar(kBackgroundPlot, cad::Value(value));
}

}  // namespace

void plotInForeground(cad::CadDocument& document) { writeBackgroundPlot(document, 0); }

ForegroundPlotting::ForegroundPlotting(cad::CadDocument& document) : document_(document) {
    const std::int32_t user = cad::sysVarInteger(document.readSysVar(kBackgroundPlot));
    if (user == 0) return;
    // Kept first: a write that fails may still have changed the value.
    userValue_ = user;
    try {
        plotInForeground(document);
    } catch (...) {
        try {
            putBack();
        } catch (...) {
            // Best effort: the run has failed already.
        }
        throw;
    }
}

ForegroundPlotting::~ForegroundPlotting() {
    try {
        putBack();
    } catch (...) {
        // Best effort: the run's own failure is the one reported.
    }
}

void ForegroundPlotting::putBack() {
    if (!userValue_) return;
    writeBackgroundPlot(document_, *userValue_);
    userValue_.reset();
}

}  // namespace app
