#include "app/preview_canvas.h"

#include <string>

#include "ui/pixel_bitmap.h"

namespace app {

bool holdsPicture(const std::shared_ptr<ui::Picture>& picture) {
    return picture && picture->width() > 0 && picture->height() > 0;
}

std::optional<frames::DrawingPoint> drawingPointAt(const ui::Image& image, const std::shared_ptr<ui::Picture>& photo,
                                                   const PreviewView& view, int x, int y) {
    if (!holdsPicture(photo)) return std::nullopt;
    const double factor = frames::fitFactor(image.width(), image.height(), photo->width(), photo->height());
    if (!(factor > 0)) return std::nullopt;
    const frames::PreviewMapping mapping{view.cx, view.cy, view.scale, 0, 0};
    return frames::imagePointToDrawing(mapping, factor, image.width(), image.height(), x, y);
}

PreviewCanvas::PreviewCanvas(desktop::ShellServices& shell, ui::Image& image, const PreviewView& view,
                             const std::shared_ptr<ui::Picture>& clean)
    : image_(image), clean_(clean) {
    if (auto* bitmap = dynamic_cast<ui::PixelBitmap*>(image.picture().get())) {
        mapping_ = {view.cx, view.cy, view.scale, bitmap->width(), bitmap->height()};
        canvas_ = shell.openCanvas(*bitmap);
    }
}

PreviewCanvas::~PreviewCanvas() {
    if (!canvas_) return;
    canvas_.reset();
    image_.pictureChanged();
}

void PreviewCanvas::outline(const grid::Box& b) {
    if (!canvas_) return;
    const frames::PreviewMapping& m = mapping_;
    canvas_->setPen(desktop::kOutlineColour, 2);
    canvas_->moveTo(m.px(b.x0), m.py(b.y0));
    canvas_->lineTo(m.px(b.x1), m.py(b.y0));
    canvas_->lineTo(m.px(b.x1), m.py(b.y1));
    canvas_->lineTo(m.px(b.x0), m.py(b.y1));
    canvas_->lineTo(m.px(b.x0), m.py(b.y0));
}

void PreviewCanvas::mark(const grid::Box& b, int pen) {
    if (!canvas_) return;
    const frames::PreviewMapping& m = mapping_;
    const int l = m.px(b.x0) + pen + 1, t = m.py(b.y1) + pen + 1;
    const int r = m.px(b.x1) - pen - 1, bottom = m.py(b.y0) - pen - 1;
    canvas_->setPen(desktop::kSelectionColour, pen);
    canvas_->moveTo(l, t);
    canvas_->lineTo(l, bottom);
    canvas_->lineTo(r, bottom);
    canvas_->lineTo(r, t);
    canvas_->lineTo(l, t);
}

void PreviewCanvas::restore(const grid::Box& b, int inset) {
    if (!canvas_ || !holdsPicture(clean_)) return;
    const frames::PreviewMapping& m = mapping_;
    canvas_->copyRect(*clean_, m.px(b.x0) + inset, m.py(b.y1) + inset, m.px(b.x1) - inset, m.py(b.y0) - inset);
}

void PreviewCanvas::number(const grid::Box& b, int k) {
    if (!canvas_) return;
    const frames::PreviewMapping& m = mapping_;
    const int xc = m.px((b.x0 + b.x1) / 2), yc = m.py((b.y0 + b.y1) / 2);
    const int height = frames::truncToPixel((b.y1 - b.y0) / m.s * 1.1);
    const std::wstring text = std::to_wstring(k);
    canvas_->setFont(height, desktop::kSelectionColour);
    canvas_->textOut(xc - canvas_->textWidth(text) / 2, yc - height / 2, text);
}

}  // namespace app
