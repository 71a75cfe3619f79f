// Drawing on the equal-interval page's preview (the picture of gridPreview): the sheet
// outlines, the selection marks, and restores from the clean copy gridPhoto, all through
// the grid preview mapping (grid view centre and grid preview scale).
#pragma once

#include <memory>
#include <vector>

#include "desktop/canvas.h"
#include "app/main_window.h"
#include "ui/pixel_bitmap.h"
#include "sheets/preview_mapping.h"
#include "sheets/grid_model.h"

namespace app {

// One drawing session on the preview bitmap; without one nothing is drawn. When it ends
// the canvas is closed and the image area repainted.
class GridPainter {
public:
    explicit GridPainter(MainWindow& form);
    ~GridPainter();
    GridPainter(const GridPainter&) = delete;
    GridPainter& operator=(const GridPainter&) = delete;

    // The sheet's outline, pen 2 in the outline colour, from its lower-left corner round.
    void outline(const grid::Box& sheet);
    // The selection mark: the box `pen` + 1 pixels inside the sheet's outline, traced in
    // the selection colour with that pen.
    void mark(const grid::Box& sheet, int pen);
    // The clean copy's pixels inside the sheet's outline, one pixel in from it.
    void restore(const grid::Box& sheet);

private:
    MainWindow& form_;
    frames::PreviewMapping mapping_;
    std::unique_ptr<desktop::Canvas> canvas_;
};

// The entries of the flags that are set.
int countChosenCells(const std::vector<bool>& flags);

}  // namespace app
