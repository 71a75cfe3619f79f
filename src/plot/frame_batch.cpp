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

#include "app/form60.h"
#include "cad/automation.h"
#include "common/numbers.h"
#include "plot/batch_run.h"
#include "plot/print_scale.h"

namespace app {

namespace {

constexpr wchar_t kRunCaption[] = L"201";

// One frame: the view shows it, the layout takes its window, rotation and scale, and the
// plot service gets one copy. A paper without a size code plots at 1 : 1 and keeps the
// layout's rotation and Edit6. Only a refused plot request is let pass.
void plotFrame(TForm60& f, cad::CadApplication& application, cad::CadDocument& document,
               cad::CadLayout& layout, const frames::TmvWaku& frame) {
    const cad::CadPoint lowerLeft = corner(frame.minx, frame.miny), upperRight = corner(frame.maxx, frame.maxy);
    application.showAreaInView(lowerLeft, upperRight);
    layout.setPlotWindow(lowerLeft, upperRight);

    double scale = 1.0;
    const plot::FrameScale printScale = plot::framePrintScale(frame, f.ComboBox8->text());
    if (printScale.found) {
        layout.setSheetRotation((printScale.landscape ? f.ComboBox10 : f.ComboBox11)->itemIndex());
        scale = printScale.scale;
        f.Edit6->setText(common::formatFixed4(scale));
    }
    layout.setScaleRatio(1.0, scale);
    layout.reloadDeviceInfo();
    requestPlot(document);
}

// Settings block, then every chosen frame among the first `count` records in list order,
// the pump before each and twice after its plot request. Host errors reach the caller.
void plotChosenFrames(TForm60& f, BatchRunScope& run, cad::CadApplication& application, std::size_t count) {
    ShellServices& shell = f.shell();
    const std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    f.form().setText(kRunCaption);
    const std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
    // The window is the first record's, chosen or not, at 1 : 1 until each frame sets its
    // own scale and rotation.
    const frames::TmvWaku& first = f.unit.frames.front();
    sendSettingsBlock(*layout, {chosenItem(*f.ComboBox7), chosenItem(*f.ComboBox8), chosenItem(*f.ComboBox9),
                                std::nullopt, corner(first.minx, first.miny), corner(first.maxx, first.maxy), 1.0});

    const int chosen = static_cast<int>(
        std::count_if(f.unit.frames.begin(), f.unit.frames.begin() + static_cast<std::ptrdiff_t>(count),
                      [](const frames::TmvWaku& frame) { return frame.plotFlag; }));
    run.startProgress(chosen);

    for (std::size_t i = 0; i < count; ++i) {
        // The list is held still during a run; should it shrink all the same, the run
        // ends with the last record there is.
        if (i >= f.unit.frames.size()) break;
        const frames::TmvWaku frame = f.unit.frames[i];
        if (frame.plotFlag) {
            shell.processMessages();
            if (f.unit.abortFlag) {
                plotFrame(f, application, *document, *layout, frame);
                run.sheetHanded();
                shell.processMessages();
                if (!f.unit.abortFlag) break;
            }
            shell.processMessages();
            if (!f.unit.abortFlag) break;
        }
        if (!f.unit.abortFlag) break;
    }
}

}  // namespace

void TForm60::Button16Click(ui::Widget&) {
    BatchRunScope run(*this, *Button16, *Button17, &TForm60::setFramePlotRunning);
    const std::size_t count = unit.frames.size();
    if (count == 0) return;
    std::unique_ptr<cad::CadApplication> application;
    if (!connectToCad(application)) return;
    if (printSettingsBlank(*this, *ComboBox7, *ComboBox8, *ComboBox9)) return;
    try {
        plotChosenFrames(*this, run, *application, count);
    } catch (const cad::CadError&) {
        // The run stops at the failed call. Sheets already handed over stay handed over,
        // and the layout keeps every setting sent so far.
    }
}

// Bound to both "中止" buttons: the running batch plot stops at its next look at the flag.
void TForm60::Button9Click(ui::Widget&) {
    unit.abortFlag = false;
    shell().processMessages();
}

}  // namespace app
