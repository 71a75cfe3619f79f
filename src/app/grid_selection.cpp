// Choosing grid cells: a press on a cell in the preview chooses or releases it and shows
// its sheet in the CAD view; "すべて" chooses every cell whose sheet holds drawing content,
// or releases them all. A chosen cell is its entry in chosenCells; the marks only
// picture it.
#include <memory>
#include <optional>
#include <string>

#include "cad/connect.h"
#include "app/grid_layout.h"
#include "app/grid_preview.h"

namespace app {

namespace {

bool holdsPicture(const std::shared_ptr<ui::Picture>& picture) {
    return picture && picture->width() > 0 && picture->height() > 0;
}

// Writes the cell's flag when the flags reach that far (after a refused grid computation
// they may be shorter than the grid).
void setFlag(std::vector<bool>& flags, std::size_t entry, bool chosen) {
    if (entry < flags.size()) flags[entry] = chosen;
}

}  // namespace

void MainWindow::gridPreviewPressed(const ui::MouseEvent& e) {
    if (!holdsPicture(gridPhoto)) return;
    try {
        const double factor = frames::fitFactor(gridPreview->width(), gridPreview->height(), gridPhoto->width(), gridPhoto->height());
        if (!(factor > 0)) return;
        const frames::PreviewMapping view{shared.gridViewCentreX, shared.gridViewCentreY, shared.gridPreviewScale, 0, 0};
        const frames::DrawingPoint p =
            frames::imagePointToDrawing(view, factor, gridPreview->width(), gridPreview->height(), e.x, e.y);

        const grid::Layout layout = currentGridLayout(*this);
        std::optional<int> column, row;
        if (layout.spacing.x > 0 && layout.spacing.y > 0) {
            column = grid::hitInterval(p.x, layout.base.x, layout.spacing.x, shared.gridColumns);
            row = grid::hitInterval(p.y, layout.base.y, layout.spacing.y, shared.gridRows);
        }
        if (!column || !row || !(layout.sheetW > 0) || !(layout.sheetH > 0)) return;
        std::unique_ptr<cad::CadApplication> cadApp;
        if (!connectToCad(cadApp)) return;

        const grid::Box sheet = layout.sheet(*column, *row);
        const desktop::WindowHandle cadWindow = cadApp->mainWindowHandle();
        if (shell().isIconic(cadWindow)) shell().restoreWindow(cadWindow);
        shell().bringToForeground(cadWindow);
        cadApp->showAreaInView({sheet.x0, sheet.y0}, {sheet.x1, sheet.y1});
        cadApp.reset();

        const std::size_t entry = grid::cellEntry(*column, *row, shared.gridColumns);
        {
            GridPainter painter(*this);
            if (e.shift || e.ctrl || e.button != ui::MouseButton::Left) {
                setFlag(chosenCells, entry, false);
                painter.restore(sheet);
            } else {
                setFlag(chosenCells, entry, true);
                painter.mark(sheet, grid::markPen(shared.monitorScaleFactor));
            }
        }
        chosenCellCount->setText(std::to_wstring(countChosenCells(chosenCells)));
    } catch (const std::exception&) {
        // A failure ends the press quietly; what was done up to it stays.
    }
}

void MainWindow::chooseOrReleaseAllCells(const ui::MouseEvent& e) {
    const bool releaseAll = e.button == ui::MouseButton::Right ||
                            (e.button == ui::MouseButton::Left && (e.shift || e.ctrl));
    const grid::Layout layout = currentGridLayout(*this);
    const int columns = shared.gridColumns, rows = shared.gridRows;
    if (columns < 0 || rows < 0 || !(layout.sheetW > 0) || !(layout.sheetH > 0)) return;

    // chosenCellCount tells the chosen count when this ends, also when a CAD call fails half-way
    // and the cells handled before keep their new state. Declared first, so it is
    // written after the repaint and the release of the automation objects.
    struct CountOnExit {
        MainWindow* form = nullptr;
        ~CountOnExit() {
            if (form) form->chosenCellCount->setText(std::to_wstring(countChosenCells(form->chosenCells)));
        }
    } countOnExit;

    std::unique_ptr<cad::CadApplication> cadApp;
    if (!connectToCad(cadApp)) return;
    countOnExit.form = this;

    std::unique_ptr<cad::CadDocument> document;
    std::unique_ptr<cad::CadSelectionSet> tempSet;
    if (!releaseAll) {
        document = cadApp->currentDocument();
        cadApp->showWholeDrawing();
        tempSet = cad::tempSelectionSet(*document);
    }

    const int pen = grid::markPen(shared.monitorScaleFactor);
    const double d = grid::contentInset(shared.monitorScaleFactor);
    GridPainter painter(*this);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const grid::Box sheet = layout.sheet(c, r);
            const std::size_t entry = grid::cellEntry(c, r, columns);
            setFlag(chosenCells, entry, false);
            painter.restore(sheet);
            if (releaseAll) continue;
            tempSet->emptySet();
            const cad::CadPoint corner1{sheet.x0 + d, sheet.y0 + d, 0}, corner2{sheet.x1 - d, sheet.y1 - d, 0};
            tempSet->selectWithFilter(0, &corner1, &corner2, nullptr);
            if (tempSet->entityCount() > 0) {
                setFlag(chosenCells, entry, true);
                painter.mark(sheet, pen);
            }
        }
}

}  // namespace app
