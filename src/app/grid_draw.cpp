// The grid computation: counts and flags from the base point, spacing, drawing sheet
// size and the extents of the last grid capture, and the sheet outlines on the preview.
#include "app/grid_layout.h"
#include "app/grid_preview.h"
#include "app/form_scales.h"

namespace app {

grid::Layout currentGridLayout(const MainWindow& form) {
    grid::Layout layout;
    GetCadPaperSize(form, layout.sheetW, layout.sheetH);
    layout.spacing = grid::readPair(form.spacing->text());
    layout.base = grid::readPair(form.basePoint->text());
    return layout;
}

void MainWindow::layOutGrid() {
    const grid::Layout layout = currentGridLayout(*this);
    if (!(layout.spacing.x > 0 && layout.spacing.y > 0 && layout.sheetW > 0 && layout.sheetH > 0)) return;
    const std::optional<int> columns = grid::cellCount(gridExtents.maxX, layout.base.x, layout.spacing.x);
    const std::optional<int> rows = grid::cellCount(gridExtents.maxY, layout.base.y, layout.spacing.y);
    if (!columns || !rows || static_cast<long long>(*columns) * *rows > grid::kMaxCells) {
        shell().showMessage(kTooManyCellsMessage);
        return;
    }
    shared.gridColumns = *columns;
    shared.gridRows = *rows;
    chosenCells.assign(static_cast<std::size_t>(*columns) * static_cast<std::size_t>(*rows), false);

    GridPainter painter(*this);
    for (int r = 0; r < *rows; ++r)
        for (int c = 0; c < *columns; ++c) painter.outline(layout.sheet(c, r));
}

}  // namespace app
