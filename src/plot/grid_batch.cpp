// The grid batch plot ("印刷" on the equal-interval page).
//
// A run plots every chosen cell of the sheet grid as one window plot, all at the one
// print scale of Edit3 and the one rotation of RadioGroup1: it sends the block of plot
// settings with the cell at the base point, then visits the rows from the bottom up (from
// the top down when "左上から印刷する" is checked), each from left to right. The message
// pump runs between cells so that "中止" can be pressed; while the run lasts the page's
// capture and picks are refused, so the grid keeps its counts.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/form60.h"
#include "cad/automation.h"
#include "common/numbers.h"
#include "grid/grid_model.h"
#include "plot/batch_run.h"
#include "plot/print_scale.h"

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
grid::Layout readCellLayout(const TForm60& f) {
    grid::Layout cells;
    cells.spacing = grid::readPair(f.ComboBox1->text());
    cells.base = grid::readPair(f.Edit1->text());
    if (cells.spacing.x > 0 && cells.spacing.y > 0) {
        const plot::SheetSize sheet = plot::cadPaperSize(f.ComboBox5->text(), f.ComboBox6->itemIndex(), f.Edit4->text());
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
bool cellChosen(const TForm60& f, int c, int r, int columns) {
    const std::size_t entry = grid::cellEntry(c, r, columns);
    return entry < f.gbPlotFlags.size() && f.gbPlotFlags[entry];
}

int chosenCells(const TForm60& f, const GridRun& run) {
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
void plotChosenCells(TForm60& f, BatchRunScope& scope, cad::CadApplication& application, const GridRun& run) {
    ShellServices& shell = f.shell();
    const std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    document->writeSysVar(kBackgroundPlot, cad::Value(std::int32_t{0}));
    const std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
    const grid::Box first = run.cells.sheet(0, 0);
    sendSettingsBlock(*layout, {chosenItem(*f.ComboBox2), chosenItem(*f.ComboBox3), chosenItem(*f.ComboBox4),
                                f.RadioGroup1->itemIndex(), corner(first.x0, first.y0), corner(first.x1, first.y1),
                                common::readNumber(f.Edit3->text(), 1)});

    scope.startProgress(chosenCells(f, run));
    for (int k = 0; k < run.rows; ++k) {
        const int r = run.fromTop ? run.rows - 1 - k : k;
        for (int c = 0; c < run.columns; ++c) {
            if (cellChosen(f, c, r, run.columns)) {
                shell.processMessages();
                if (f.unit.abortFlag) {
                    plotCell(application, *document, *layout, run.cells.sheet(c, r));
                    scope.sheetHanded();
                    shell.processMessages();
                    if (!f.unit.abortFlag) break;
                }
                shell.processMessages();
                if (!f.unit.abortFlag) break;
            }
            if (!f.unit.abortFlag) break;
        }
        // Every later row would stop at its first cell: no further cell is plotted.
        if (!f.unit.abortFlag) return;
    }
}

}  // namespace

void TForm60::Button4Click(ui::Widget&) {
    BatchRunScope scope(*this, *Button4, *Button9, &TForm60::setGridPlotRunning);
    GridRun run;
    run.cells = readCellLayout(*this);
    run.columns = unit.gridColumns;
    run.rows = unit.gridRows;
    // Read once: a change of the order during the run would visit some rows twice and
    // others never.
    run.fromTop = CheckBox3->checked();
    if (!plottable(run)) return;
    std::unique_ptr<cad::CadApplication> application;
    if (!connectToCad(application)) return;
    if (printSettingsBlank(*this, *ComboBox2, *ComboBox3, *ComboBox4)) return;
    try {
        plotChosenCells(*this, scope, *application, run);
    } catch (const cad::CadError&) {
        // The run stops at the failed call. Sheets already handed over stay handed over,
        // and the layout keeps every setting sent so far.
    }
}

}  // namespace app
