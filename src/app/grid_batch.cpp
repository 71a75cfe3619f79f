// The grid batch plot ("印刷" on the equal-interval page).
//
// A run plots every chosen cell of the sheet grid as one window plot, all at the one
// print scale of printScale and the one rotation of gridRotation: it sends the block of plot
// settings with the cell at the base point, then visits the rows from the bottom up (from
// the top down when "左上から印刷する" is checked), each from left to right. The message
// pump runs between cells so that "中止" can be pressed; while the run lasts the page's
// capture and picks are refused, so the grid keeps its counts.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/main_window.h"
#include "cad/automation.h"
#include "base/numbers.h"
#include "sheets/grid_model.h"
#include "app/batch_run.h"
#include "sheets/print_scale.h"

namespace app {

namespace {

constexpr wchar_t kBackgroundPlot[] = L"BACKGROUNDPLOT";

// What a run plots, read once at its start.
struct GridRun {
    grid::Layout cells;
    int columns = 0, rows = 0;
    bool fromTop = false;
};

// Spacing, base point and drawing scale, in that order; the sheet size only for a
// positive spacing. The sizes stay 0 when they cannot be formed.
grid::Layout readCellLayout(const MainWindow& f) {
    grid::Layout cells;
    cells.spacing = grid::readPair(f.spacing->text());
    cells.base = grid::readPair(f.basePoint->text());
    if (cells.spacing.x > 0 && cells.spacing.y > 0) {
        const plot::SheetSize sheet = plot::cadPaperSize(f.sheetSize->text(), f.sheetOrientation->itemIndex(), f.drawingScale->text());
        cells.sheetW = sheet.width;
        cells.sheetH = sheet.height;
    }
    return cells;
}

// A grid to plot: cells there are, of a positive size, and every window a number the
// host can take (a huge drawing scale or spacing would overflow to infinity).
bool plottable(const GridRun& run) {
    if (run.columns <= 0 || run.rows <= 0) return false;
    if (!(run.cells.sheetW > 0) || !(run.cells.sheetH > 0)) return false;
    const grid::Box far = run.cells.sheet(run.columns - 1, run.rows - 1);
    return std::isfinite(far.x0) && std::isfinite(far.y0) && std::isfinite(far.x1) && std::isfinite(far.y1);
}

// The flag of cell (c, r); a cell the flags do not reach is not chosen.
bool cellChosen(const MainWindow& f, int c, int r, int columns) {
    const std::size_t entry = grid::cellEntry(c, r, columns);
    return entry < f.chosenCells.size() && f.chosenCells[entry];
}

int countChosenCells(const MainWindow& f, const GridRun& run) {
    int chosen = 0;
    for (int r = 0; r < run.rows; ++r)
        for (int c = 0; c < run.columns; ++c) chosen += cellChosen(f, c, r, run.columns);
    return chosen;
}

// One cell: the view shows it, the layout takes its window, and the plot service gets
// one copy.
void plotCell(cad::CadApplication& application, cad::CadDocument& document, cad::CadLayout& layout,
              const grid::Box& sheet) {
    const cad::CadPoint lowerLeft = corner(sheet.x0, sheet.y0), upperRight = corner(sheet.x1, sheet.y1);
    application.showAreaInView(lowerLeft, upperRight);
    layout.setPlotWindow(lowerLeft, upperRight);
    layout.reloadDeviceInfo();
    layout.reloadDeviceInfo();
    requestPlot(document);
}

// Plots in the foreground, then the settings block, then every chosen cell row by row,
// the pump before each and twice after its plot request. Host errors reach the caller.
void plotChosenCells(MainWindow& f, BatchRunScope& scope, cad::CadApplication& application, const GridRun& run) {
    desktop::ShellServices& shell = f.shell();
    const std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    document->writeSysVar(kBackgroundPlot, cad::Value(std::int32_t{0}));
    const std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
    const grid::Box first = run.cells.sheet(0, 0);
    sendSettingsBlock(*layout, {chosenItem(*f.gridPrinter), chosenItem(*f.gridPaper), chosenItem(*f.gridStyleTable),
                                f.gridRotation->itemIndex(), corner(first.x0, first.y0), corner(first.x1, first.y1),
                                base::readNumber(f.printScale->text(), 1)});

    scope.startProgress(countChosenCells(f, run));
    for (int k = 0; k < run.rows; ++k) {
        const int r = run.fromTop ? run.rows - 1 - k : k;
        for (int c = 0; c < run.columns; ++c) {
            if (cellChosen(f, c, r, run.columns)) {
                shell.processMessages();
                if (f.shared.plotMayContinue) {
                    plotCell(application, *document, *layout, run.cells.sheet(c, r));
                    scope.sheetHanded();
                    shell.processMessages();
                    if (!f.shared.plotMayContinue) break;
                }
                shell.processMessages();
                if (!f.shared.plotMayContinue) break;
            }
            if (!f.shared.plotMayContinue) break;
        }
        // Every later row would stop at its first cell: no further cell is plotted.
        if (!f.shared.plotMayContinue) return;
    }
}

}  // namespace

void MainWindow::printGrid() {
    BatchRunScope scope(*this, *gridPrintButton, *gridStopButton, &MainWindow::setGridPlotRunning);
    GridRun run;
    run.cells = readCellLayout(*this);
    run.columns = shared.gridColumns;
    run.rows = shared.gridRows;
    // Read once: a change of the order during the run would visit some rows twice and
    // others never.
    run.fromTop = gridFromTop->checked();
    if (!plottable(run)) return;
    std::unique_ptr<cad::CadApplication> application;
    if (!connectToCad(application)) return;
    if (printSettingsBlank(*this, *gridPrinter, *gridPaper, *gridStyleTable)) return;
    try {
        plotChosenCells(*this, scope, *application, run);
    } catch (const cad::CadError&) {
        // The run stops at the failed call. Sheets already handed over stay handed over,
        // and the layout keeps every setting sent so far.
    }
}

}  // namespace app
