// The frame batch plot ("印刷" on the frame page).
//
// A run sends one block of plot settings to the CAD layout, then plots every chosen frame
// of the frame list in list order, each as a window plot at its own print scale and turned
// by the rotation chosen for landscape or for portrait frames, to the device or, with the
// file output on, each to a file of its own. The message pump runs
// between frames so that "中止" can be pressed; while the run lasts the capture and the
// reorder are refused, so the list keeps its length and order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/background_plot.h"
#include "app/frame_page.h"
#include "app/main_window.h"
#include "app/plot_run.h"
#include "base/numbers.h"
#include "cad/automation.h"
#include "sheets/plot_settings.h"
#include "sheets/print_scale.h"

namespace app {

namespace {

using plot::corner;

constexpr wchar_t kCaptureForAttributes[] =
    L"ファイル名にブロックの属性を使うには、ファイルに出力を選んだあとでもう一度キャプチャしてください。";

// One frame: the view shows it, the layout takes its window, rotation and scale, and the
// plot service gets one copy. A paper without a size code plots at 1 : 1 and keeps the
// layout's rotation and the page's print scale. With `files` the sheet goes to a file of
// its own. True when the host took the sheet; only a refused plot request is let pass.
bool plotFrame(FramePage& page, cad::CadApplication& application, cad::CadDocument& document, cad::CadLayout& layout,
               const frames::FrameRect& frame, SheetFiles* files) {
    const cad::CadPoint lowerLeft = corner(frame.minx, frame.miny), upperRight = corner(frame.maxx, frame.maxy);
    application.showAreaInView(lowerLeft, upperRight);
    layout.setPlotWindow(lowerLeft, upperRight);

    double scale = 1.0;
    const plot::FrameScale printScale = plot::framePrintScale(frame, page.paper->text());
    if (printScale.found) {
        layout.setSheetRotation((printScale.landscape ? page.landscapeRotation : page.portraitRotation)->itemIndex());
        scale = printScale.scale;
        page.printScale->setText(base::formatFixed4(scale));
    }
    layout.setScaleRatio(1.0, scale);
    layout.reloadDeviceInfo();
    return files ? files->plot(document, frame.attributes.get()) : plot::requestPlot(document);
}

// In the foreground, the user's BACKGROUNDPLOT back at the end: the settings block, then
// every chosen frame among the first `count` records in list order, the queue run before
// each and twice after its plot request. Host errors reach the caller.
void plotChosenFrames(FramePage& page, PlotRun& run, cad::CadApplication& application,
                      std::size_t count) {
    const frames::FrameList& frames = page.session.frames;
    const int chosen = static_cast<int>(std::count_if(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(count),
                                                      [](const frames::FrameRect& frame) { return frame.chosen; }));
    run.startProgress(chosen);
    const std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    if (!run.openFiles(*document, page.printer->selectedItem())) return;
    // Sheets plotted in the background would be refused from the second on.
    ForegroundPlotting foreground(*document);
    const std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
    // The window is the first record's, chosen or not, at 1 : 1 until each frame sets its
    // own scale and rotation.
    const frames::FrameRect& first = frames.front();
    plot::sendSettingsBlock(*layout, {page.printer->selectedItem(), page.paper->selectedItem(),
                                      page.styleTable->selectedItem(), std::nullopt, corner(first.minx, first.miny),
                                      corner(first.maxx, first.maxy), 1.0});

    int number = 0;  // the chosen frame's number on the photograph
    for (std::size_t i = 0; i < count; ++i) {
        // The list is held still during a run; should it shrink all the same, the run
        // ends with the last record there is.
        if (i >= frames.size()) break;
        const frames::FrameRect frame = frames[i];
        if (frame.chosen &&
            !run.sendSheet(L"枠 " + std::to_wstring(++number),
                           [&] { return plotFrame(page, application, *document, *layout, frame, run.files()); }))
            break;
        if (!run.mayContinue()) break;
    }
    foreground.putBack();
}

}  // namespace

void FramePage::print() {
    PlotRun run(window_, *printButton, *stopButton);
    const std::size_t count = session.frames.size();
    if (count == 0) return;
    std::unique_ptr<cad::CadApplication> application;
    if (!window_.connectToCad(application)) return;
    if (printSettingsBlank(window_.shell(), *printer, *paper, *styleTable)) return;
    if (window_.fileNamesNeedAttributes() && !session.attributesRead) {
        window_.shell().showMessage(kCaptureForAttributes);
        return;
    }
    run.carryOut([&] { plotChosenFrames(*this, run, *application, count); });
}

}  // namespace app
