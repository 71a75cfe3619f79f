#include "app/grid_preview.h"

#include <algorithm>

namespace app {

GridPainter::GridPainter(MainWindow& form) : form_(form) {
    if (auto* bitmap = dynamic_cast<ui::PixelBitmap*>(form.gridPreview->picture().get())) {
        mapping_ = {form.shared.gridViewCentreX, form.shared.gridViewCentreY, form.shared.gridPreviewScale, bitmap->width(),
                    bitmap->height()};
        canvas_ = form.shell().openCanvas(*bitmap);
    }
}

GridPainter::~GridPainter() {
    if (!canvas_) return;
    canvas_.reset();
    form_.gridPreview->pictureChanged();
}

void GridPainter::outline(const grid::Box& s) {
    if (!canvas_) return;
    const frames::PreviewMapping& m = mapping_;
    canvas_->setPen(desktop::kOutlineColour, 2);
    canvas_->moveTo(m.px(s.x0), m.py(s.y0));
    canvas_->lineTo(m.px(s.x1), m.py(s.y0));
    canvas_->lineTo(m.px(s.x1), m.py(s.y1));
    canvas_->lineTo(m.px(s.x0), m.py(s.y1));
    canvas_->lineTo(m.px(s.x0), m.py(s.y0));
}

void GridPainter::mark(const grid::Box& s, int pen) {
    if (!canvas_) return;
    const frames::PreviewMapping& m = mapping_;
    const int l = m.px(s.x0) + pen + 1, t = m.py(s.y1) + pen + 1;
    const int r = m.px(s.x1) - pen - 1, b = m.py(s.y0) - pen - 1;
    canvas_->setPen(desktop::kSelectionColour, pen);
    canvas_->moveTo(l, t);
    canvas_->lineTo(l, b);
    canvas_->lineTo(r, b);
    canvas_->lineTo(r, t);
    canvas_->lineTo(l, t);
}

void GridPainter::restore(const grid::Box& s) {
    const std::shared_ptr<ui::Picture>& clean = form_.gridPhoto;
    if (!canvas_ || !clean || clean->width() <= 0 || clean->height() <= 0) return;
    const frames::PreviewMapping& m = mapping_;
    canvas_->copyRect(*clean, m.px(s.x0) + 1, m.py(s.y1) + 1, m.px(s.x1) - 1, m.py(s.y0) - 1);
}

int countChosenCells(const std::vector<bool>& flags) {
    return static_cast<int>(std::count(flags.begin(), flags.end(), true));
}

}  // namespace app
