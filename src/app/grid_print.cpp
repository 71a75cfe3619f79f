// The grid batch plot ("印刷" on the equal-interval page).
//
// A run plots every chosen cell of the sheet grid as one window plot, all at the one
// print scale and the one rotation of the page: it sends the block of plot
// settings with the cell at the base point, then visits the rows from the bottom up (from
// the top down when "左上から印刷する" is checked), each from left to right. The message
// pump runs between cells so that "中止" can be pressed; while the run lasts the page's
// capture and picks are refused, so the grid keeps its counts.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/background_plot.h"
#include "app/grid_page.h"
#include "app/main_window.h"
#include "app/plot_run.h"
#include "base/numbers.h"
#include "cad/automation.h"
#include "sheets/grid_model.h"
#include "sheets/plot_settings.h"

namespace app {

namespace {

using plot::corner;

// What a run plots, read once at its start.
struct GridRun {
    grid::Layout cells;
    int columns = 0, rows = 0;
    bool fromTop = false;
};

// A grid to plot: a positive spacing, cells there are, of a positive size, and every
// window a number the host can take (a huge drawing scale or spacing would overflow to
// infinity).
bool plottable(const GridRun& run) {
    if (!(run.cells.spacing.x > 0 && run.cells.spacing.y > 0)) return false;
    if (run.columns <= 0 || run.rows <= 0) return false;
    if (!(run.cells.sheetW > 0) || !(run.cells.sheetH > 0)) return false;
    const grid::Box far = run.cells.sheet(run.columns - 1, run.rows - 1);
    return std::isfinite(far.x0) && std::isfinite(far.y0) && std::isfinite(far.x1) && std::isfinite(far.y1);
}

int countChosenCells(const GridSession& session, const GridRun& run) {
    int chosen = 0;
    for (int r = 0; r < run.rows; ++r)
        for (int c = 0; c < run.columns; ++c) chosen += session.cellChosen(c, r);
    return chosen;
}

// A cell as the end of a run names it: its column from the left and row from the
// bottom, as the photograph shows the grid.
std::wstring cellName(int column, int row) {
    return L"列 " + std::to_wstring(column + 1) + L"・行 " + std::to_wstring(row + 1);
}

// One cell: the view shows it, the layout takes its window, and the plot service gets
// one copy (with `files`, to a file of its own). True when the host took the sheet.
bool plotCell(cad::CadApplication& application, cad::CadDocument& document, cad::CadLayout& layout,
              const grid::Box& sheet, SheetFiles* files) {
    const cad::CadPoint lowerLeft = corner(sheet.x0, sheet.y0), upperRight = corner(sheet.x1, sheet.y1);
    application.showAreaInView(lowerLeft, upperRight);
    layout.setPlotWindow(lowerLeft, upperRight);
    layout.reloadDeviceInfo();
    layout.reloadDeviceInfo();
    return files ? files->plot(document, nullptr) : plot::requestPlot(document);
}

// Plots in the foreground, then the settings block, then every chosen cell row by row,
// the queue run before each and twice after its plot request. Host errors reach the
// caller.
void plotChosenCells(GridPage& page, PlotRun& plotRun, cad::CadApplication& application, const GridRun& run) {
    plotRun.startProgress(countChosenCells(page.session, run));
    const std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    if (!plotRun.openFiles(*document, page.printer->selectedItem())) return;
    plotInForeground(*document);
    const std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
    const grid::Box first = run.cells.sheet(0, 0);
    plot::sendSettingsBlock(*layout, {page.printer->selectedItem(), page.paper->selectedItem(),
                                      page.styleTable->selectedItem(), page.rotation->itemIndex(),
                                      corner(first.x0, first.y0), corner(first.x1, first.y1),
                                      base::readNumber(page.printScale->text(), 1)});

    for (int k = 0; k < run.rows; ++k) {
        const int r = run.fromTop ? run.rows - 1 - k : k;
        for (int c = 0; c < run.columns; ++c) {
            const auto send = [&] {
                return plotCell(application, *document, *layout, run.cells.sheet(c, r), plotRun.files());
            };
            if (page.session.cellChosen(c, r) && !plotRun.sendSheet(cellName(c, r), send)) break;
            if (!plotRun.mayContinue()) break;
        }
        // Every later row would stop at its first cell: no further cell is plotted.
        if (!plotRun.mayContinue()) return;
    }
}

}  // namespace

void GridPage::print() {
    PlotRun plotRun(window_, *printButton, *stopButton);
    GridRun run;
    run.cells = layout();
    run.columns = session.columns;
    run.rows = session.rows;
    // Read once: a change of the order during the run would visit some rows twice and
    // others never.
    run.fromTop = fromTop->checked();
    if (!plottable(run)) return;
    std::unique_ptr<cad::CadApplication> application;
    if (!window_.connectToCad(application)) return;
    if (printSettingsBlank(window_.shell(), *printer, *paper, *styleTable)) return;
    plotRun.carryOut([&] { plotChosenCells(*this, plotRun, *application, run); });
}

}  // namespace app
