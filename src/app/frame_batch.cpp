// The frame batch plot ("印刷" on the frame page) and "中止", which stops a batch plot
// between two sheets.
//
// A run sends one block of plot settings to the CAD layout, then plots every chosen frame
// of the frame list in list order, each as a window plot at its own print scale and turned
// by the rotation chosen for landscape or for portrait frames. The message pump runs
// between frames so that "中止" can be pressed; while the run lasts the capture and the
// reorder are refused, so the list keeps its length and order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "cad/automation.h"
#include "base/numbers.h"
#include "app/batch_run.h"
#include "sheets/print_scale.h"

namespace app {

namespace {

constexpr wchar_t kRunCaption[] = L"201";

// One frame: the view shows it, the layout takes its window, rotation and scale, and the
// plot service gets one copy. A paper without a size code plots at 1 : 1 and keeps the
// layout's rotation and framePrintScale. Only a refused plot request is let pass.
void plotFrame(MainWindow& f, cad::CadApplication& application, cad::CadDocument& document,
               cad::CadLayout& layout, const frames::FrameRect& frame) {
    const cad::CadPoint lowerLeft = corner(frame.minx, frame.miny), upperRight = corner(frame.maxx, frame.maxy);
    application.showAreaInView(lowerLeft, upperRight);
    layout.setPlotWindow(lowerLeft, upperRight);

    double scale = 1.0;
    const plot::FrameScale printScale = plot::framePrintScale(frame, f.framePaper->text());
    if (printScale.found) {
        layout.setSheetRotation((printScale.landscape ? f.landscapeRotation : f.portraitRotation)->itemIndex());
        scale = printScale.scale;
        f.framePrintScale->setText(base::formatFixed4(scale));
    }
    layout.setScaleRatio(1.0, scale);
    layout.reloadDeviceInfo();
    requestPlot(document);
}

// Settings block, then every chosen frame among the first `count` records in list order,
// the pump before each and twice after its plot request. Host errors reach the caller.
void plotChosenFrames(MainWindow& f, BatchRunScope& run, cad::CadApplication& application, std::size_t count) {
    desktop::ShellServices& shell = f.shell();
    const std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    f.form().setText(kRunCaption);
    const std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
    // The window is the first record's, chosen or not, at 1 : 1 until each frame sets its
    // own scale and rotation.
    const frames::FrameRect& first = f.shared.frames.front();
    sendSettingsBlock(*layout, {chosenItem(*f.framePrinter), chosenItem(*f.framePaper), chosenItem(*f.frameStyleTable),
                                std::nullopt, corner(first.minx, first.miny), corner(first.maxx, first.maxy), 1.0});

    const int chosen = static_cast<int>(
        std::count_if(f.shared.frames.begin(), f.shared.frames.begin() + static_cast<std::ptrdiff_t>(count),
                      [](const frames::FrameRect& frame) { return frame.chosen; }));
    run.startProgress(chosen);

    for (std::size_t i = 0; i < count; ++i) {
        // The list is held still during a run; should it shrink all the same, the run
        // ends with the last record there is.
        if (i >= f.shared.frames.size()) break;
        const frames::FrameRect frame = f.shared.frames[i];
        if (frame.chosen) {
            shell.processMessages();
            if (f.shared.plotMayContinue) {
                plotFrame(f, application, *document, *layout, frame);
                run.sheetHanded();
                shell.processMessages();
                if (!f.shared.plotMayContinue) break;
            }
            shell.processMessages();
            if (!f.shared.plotMayContinue) break;
        }
        if (!f.shared.plotMayContinue) break;
    }
}

}  // namespace

void MainWindow::printFrames() {
    BatchRunScope run(*this, *framePrintButton, *frameStopButton, &MainWindow::setFramePlotRunning);
    const std::size_t count = shared.frames.size();
    if (count == 0) return;
    std::unique_ptr<cad::CadApplication> application;
    if (!connectToCad(application)) return;
    if (printSettingsBlank(*this, *framePrinter, *framePaper, *frameStyleTable)) return;
    try {
        plotChosenFrames(*this, run, *application, count);
    } catch (const cad::CadError&) {
        // The run stops at the failed call. Sheets already handed over stay handed over,
        // and the layout keeps every setting sent so far.
    }
}

// Bound to both "中止" buttons: the running batch plot stops at its next look at the flag.
void MainWindow::stopPlot() {
    shared.plotMayContinue = false;
    shell().processMessages();
}

}  // namespace app
