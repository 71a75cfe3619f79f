// The equal-interval page's grid and the choosing of cells: the grid laid out from the
// page's fields, a press on a cell in the photograph chooses or releases it and shows its
// sheet in the CAD view, "すべて" chooses every cell whose sheet holds drawing content or
// releases them all, and "再計算" computes the print scale. A chosen cell is its entry in
// the session's chosenCells; the marks only picture it.
#include "app/grid_page.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "app/sheet_probe.h"
#include "base/numbers.h"
#include "base/scope_exit.h"
#include "sheets/print_scale.h"

namespace app {

bool GridSession::cellChosen(int c, int r) const {
    const std::size_t entry = grid::cellEntry(c, r, columns);
    return entry < chosenCells.size() && chosenCells[entry];
}

// After a refused grid computation the flags may be shorter than the grid.
void GridSession::choose(int c, int r, bool chosen) {
    const std::size_t entry = grid::cellEntry(c, r, columns);
    if (entry < chosenCells.size()) chosenCells[entry] = chosen;
}

int GridSession::chosenCount() const {
    return static_cast<int>(std::count(chosenCells.begin(), chosenCells.end(), true));
}

GridPage::GridPage(MainWindow& window)
    : lists([&window](std::unique_ptr<cad::CadApplication>& a) { return window.connectToCad(a); },
            DeviceLists::PaperNames::Display, DeviceLists::PaperNames::Media),
      window_(window) {}

PreviewCanvas GridPage::canvas() { return PreviewCanvas(window_.shell(), *preview, session.view, session.photo); }

void GridPage::showChosenCount() { chosenCount->setText(std::to_wstring(session.chosenCount())); }

grid::Layout GridPage::layout() const {
    grid::Layout layout;
    const plot::SheetSize sheet = plot::cadPaperSize(sheetSize->text(), sheetOrientation->itemIndex(), drawingScale->text());
    layout.sheetW = sheet.width;
    layout.sheetH = sheet.height;
    layout.spacing = grid::readPair(spacing->text());
    layout.base = grid::readPair(basePoint->text());
    return layout;
}

void GridPage::layOutGrid() {
    const grid::Layout cells = layout();
    if (!(cells.spacing.x > 0 && cells.spacing.y > 0 && cells.sheetW > 0 && cells.sheetH > 0)) return;
    const std::optional<int> columns = grid::cellCount(session.captureExtents.maxX, cells.base.x, cells.spacing.x);
    const std::optional<int> rows = grid::cellCount(session.captureExtents.maxY, cells.base.y, cells.spacing.y);
    if (!columns || !rows || static_cast<long long>(*columns) * *rows > grid::kMaxCells) {
        window_.shell().showMessage(kTooManyCellsMessage);
        return;
    }
    session.columns = *columns;
    session.rows = *rows;
    session.chosenCells.assign(static_cast<std::size_t>(*columns) * static_cast<std::size_t>(*rows), false);

    PreviewCanvas painter = canvas();
    for (int r = 0; r < *rows; ++r)
        for (int c = 0; c < *columns; ++c) painter.outline(cells.sheet(c, r));
}

void GridPage::previewPressed(const ui::MouseEvent& e) {
    const std::optional<frames::DrawingPoint> point = drawingPointAt(*preview, session.photo, session.view, e.x, e.y);
    if (!point) return;
    try {
        const frames::DrawingPoint p = *point;
        const grid::Layout cells = layout();
        std::optional<int> column, row;
        if (cells.spacing.x > 0 && cells.spacing.y > 0) {
            column = grid::hitInterval(p.x, cells.base.x, cells.spacing.x, session.columns);
            row = grid::hitInterval(p.y, cells.base.y, cells.spacing.y, session.rows);
        }
        if (!column || !row || !(cells.sheetW > 0) || !(cells.sheetH > 0)) return;
        desktop::ShellServices& shell = window_.shell();
        std::unique_ptr<cad::CadApplication> cadApp;
        if (!window_.connectToCad(cadApp)) return;

        const grid::Box sheet = cells.sheet(*column, *row);
        const desktop::WindowHandle cadWindow = cadApp->mainWindowHandle();
        if (shell.isIconic(cadWindow)) shell.restoreWindow(cadWindow);
        shell.bringToForeground(cadWindow);
        cadApp->showAreaInView({sheet.x0, sheet.y0}, {sheet.x1, sheet.y1});
        cadApp.reset();

        {
            PreviewCanvas painter = canvas();
            if (pressReleases(e)) {
                session.choose(*column, *row, false);
                painter.restore(sheet, 1);
            } else {
                session.choose(*column, *row, true);
                painter.mark(sheet, grid::markPen(window_.monitorScaleFactor));
            }
        }
        showChosenCount();
    } catch (const std::exception&) {
        // A failure ends the press quietly; what was done up to it stays.
    }
}

void GridPage::chooseOrReleaseAll(const ui::MouseEvent& e) {
    const bool releaseAll = releasesAll(e);
    const grid::Layout cells = layout();
    const int columns = session.columns, rows = session.rows;
    if (columns < 0 || rows < 0 || !(cells.sheetW > 0) || !(cells.sheetH > 0)) return;

    // The count is shown when this ends, also when a CAD call fails half-way and the
    // cells handled before keep their new state. Declared first, so it is written after
    // the repaint and the release of the automation objects.
    base::ScopeExit showCount;

    SheetProbe probe;
    if (!window_.connectToCad(probe.application)) return;
    showCount = base::ScopeExit([this] { showChosenCount(); });
    if (!releaseAll) probe.open();

    const int pen = grid::markPen(window_.monitorScaleFactor);
    const double d = grid::contentInset(window_.monitorScaleFactor);
    PreviewCanvas painter = canvas();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const grid::Box sheet = cells.sheet(c, r);
            session.choose(c, r, false);
            painter.restore(sheet, 1);
            if (releaseAll) continue;
            probe.tempSet->emptySet();
            const cad::CadPoint corner1{sheet.x0 + d, sheet.y0 + d, 0}, corner2{sheet.x1 - d, sheet.y1 - d, 0};
            probe.tempSet->selectWithFilter(0, &corner1, &corner2, nullptr);
            if (probe.tempSet->entityCount() > 0) {
                session.choose(c, r, true);
                painter.mark(sheet, pen);
            }
        }
}

// Whichever paper list ran it (the frame page's paper list runs it too), it reads and
// writes this page's fields.
void GridPage::recomputePrintScale() {
    const plot::GridScale result =
        plot::gridPrintScale(spacing->text(), drawingScale->text(), sheetSize->text(), paper->selectedItem());
    if (result.scale) printScale->setText(base::formatFixed4(*result.scale));
    if (result.paperNotKnown) window_.shell().showMessage(kPaperNotForScaleMessage);
}

void GridPage::paperChanged() {
    if (autoPrintScale->checked()) recomputePrintScale();
}

void GridPage::setPlotRunning(bool running) {
    plotRunning_ = running;
    for (ui::Widget* held : std::initializer_list<ui::Widget*>{
             captureButton, basePointButton, spacingButton, drawingScaleButton, printButton, printer, paper,
             styleTable, listsButton, rotation, sheetSize, sheetOrientation, drawingScale, printScale, autoPrintScale,
             recomputeButton})
        held->setEnabled(!running);
}

}  // namespace app
