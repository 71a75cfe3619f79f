// Choosing grid cells: a press on a cell in the preview chooses or releases it and shows
// its sheet in the CAD view; "すべて" chooses every cell whose sheet holds drawing content,
// or releases them all. A chosen cell is its entry in gbPlotFlags; the marks only
// picture it.
#include <memory>
#include <optional>
#include <string>

#include "cad/connect.h"
#include "grid/grid_layout.h"
#include "grid/grid_preview.h"

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

void TForm60::Image1MouseDown(ui::Widget&, const ui::MouseEvent& e) {
    if (!holdsPicture(CaptBmp)) return;
    try {
        const double factor = frames::fitFactor(Image1->width(), Image1->height(), CaptBmp->width(), CaptBmp->height());
        if (!(factor > 0)) return;
        const frames::PreviewMapping view{unit.gridViewCentreX, unit.gridViewCentreY, unit.gridPreviewScale, 0, 0};
        const frames::DrawingPoint p =
            frames::imagePointToDrawing(view, factor, Image1->width(), Image1->height(), e.x, e.y);

        const grid::Layout layout = currentGridLayout(*this);
        std::optional<int> column, row;
        if (layout.spacing.x > 0 && layout.spacing.y > 0) {
            column = grid::hitInterval(p.x, layout.base.x, layout.spacing.x, unit.gridColumns);
            row = grid::hitInterval(p.y, layout.base.y, layout.spacing.y, unit.gridRows);
        }
        if (!column || !row || !(layout.sheetW > 0) || !(layout.sheetH > 0)) return;
        std::unique_ptr<cad::CadApplication> cadApp;
        if (!connectToCad(cadApp)) return;

        const grid::Box sheet = layout.sheet(*column, *row);
        const WindowHandle cadWindow = cadApp->mainWindowHandle();
        if (shell().isIconic(cadWindow)) shell().restoreWindow(cadWindow);
        shell().bringToForeground(cadWindow);
        cadApp->showAreaInView({sheet.x0, sheet.y0}, {sheet.x1, sheet.y1});
        cadApp.reset();

        const std::size_t entry = grid::cellEntry(*column, *row, unit.gridColumns);
        {
            GridPainter painter(*this);
            if (e.shift || e.ctrl || e.button != ui::MouseButton::Left) {
                setFlag(gbPlotFlags, entry, false);
                painter.restore(sheet);
            } else {
                setFlag(gbPlotFlags, entry, true);
                painter.mark(sheet, grid::markPen(unit.monitorScaleFactor));
            }
        }
        Edit2->setText(std::to_wstring(chosenCells(gbPlotFlags)));
    } catch (const std::exception&) {
        // A failure ends the press quietly; what was done up to it stays.
    }
}

void TForm60::Button10MouseDown(ui::Widget&, const ui::MouseEvent& e) {
    const bool releaseAll = e.button == ui::MouseButton::Right ||
                            (e.button == ui::MouseButton::Left && (e.shift || e.ctrl));
    const grid::Layout layout = currentGridLayout(*this);
    const int columns = unit.gridColumns, rows = unit.gridRows;
    if (columns < 0 || rows < 0 || !(layout.sheetW > 0) || !(layout.sheetH > 0)) return;

    // Edit2 tells the chosen count when this ends, also when a CAD call fails half-way
    // and the cells handled before keep their new state. Declared first, so it is
    // written after the repaint and the release of the automation objects.
    struct CountOnExit {
        TForm60* form = nullptr;
        ~CountOnExit() {
            if (form) form->Edit2->setText(std::to_wstring(chosenCells(form->gbPlotFlags)));
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

    const int pen = grid::markPen(unit.monitorScaleFactor);
    const double d = grid::contentInset(unit.monitorScaleFactor);
    GridPainter painter(*this);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const grid::Box sheet = layout.sheet(c, r);
            const std::size_t entry = grid::cellEntry(c, r, columns);
            setFlag(gbPlotFlags, entry, false);
            painter.restore(sheet);
            if (releaseAll) continue;
            tempSet->emptySet();
            const cad::CadPoint corner1{sheet.x0 + d, sheet.y0 + d, 0}, corner2{sheet.x1 - d, sheet.y1 - d, 0};
            tempSet->selectWithFilter(0, &corner1, &corner2, nullptr);
            if (tempSet->entityCount() > 0) {
                setFlag(gbPlotFlags, entry, true);
                painter.mark(sheet, pen);
            }
        }
}

}  // namespace app
