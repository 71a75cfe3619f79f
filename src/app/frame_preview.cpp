// The frame preview and the choosing of frames: the outlines on the photograph, a click
// on a frame ("計算尺度" and the CAD view follow it), "すべて" and the order check box.
// A chosen frame is its chosen; the marks and numbers only picture it.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "ui/pixel_bitmap.h"
#include "cad/connect.h"
#include "sheets/ordering.h"
#include "sheets/preview_mapping.h"
#include "app/form_scales.h"

namespace app {

namespace {

bool holdsPicture(const std::shared_ptr<ui::Picture>& picture) {
    return picture && picture->width() > 0 && picture->height() > 0;
}

// One drawing session on the preview bitmap (the picture of framePreview). Without a preview
// bitmap nothing is drawn. When it ends the canvas is closed and the image repainted.
class PreviewPainter {
public:
    explicit PreviewPainter(MainWindow& form)
        : form_(form), bitmap_(dynamic_cast<ui::PixelBitmap*>(form.framePreview->picture().get())) {
        if (bitmap_) {
            mapping_ = {form.shared.viewCentreX, form.shared.viewCentreY, form.shared.previewScale, bitmap_->width(),
                        bitmap_->height()};
            canvas_ = form.shell().openCanvas(*bitmap_);
        }
    }
    ~PreviewPainter() {
        if (!canvas_) return;
        canvas_.reset();
        form_.framePreview->pictureChanged();
    }
    PreviewPainter(const PreviewPainter&) = delete;
    PreviewPainter& operator=(const PreviewPainter&) = delete;

    const frames::PreviewMapping& mapping() const { return mapping_; }

    // Moves to (l, t) and draws to (l, b), (r, b), (r, t) and back.
    void trace(int l, int t, int r, int b, std::uint32_t colour, int width) {
        if (!canvas_) return;
        canvas_->setPen(colour, width);
        canvas_->moveTo(l, t);
        canvas_->lineTo(l, b);
        canvas_->lineTo(r, b);
        canvas_->lineTo(r, t);
        canvas_->lineTo(l, t);
    }

    // The clean copy's pixels in columns l ... r-1, rows t ... b-1.
    void restore(int l, int t, int r, int b) {
        if (!canvas_ || !holdsPicture(form_.framePhoto)) return;
        canvas_->copyRect(*form_.framePhoto, l, t, r, b);
    }

    // The box just inside a frame's outline that its mark surrounds.
    void traceInnerBox(const frames::FrameRect& f, int pen) {
        const auto [l, t, r, b] = innerBox(f, pen);
        trace(l, t, r, b, desktop::kSelectionColour, pen);
    }
    void restoreInnerBox(const frames::FrameRect& f, int pen) {
        const auto [l, t, r, b] = innerBox(f, pen);
        restore(l, t, r, b);
    }

    // The number k centred on the frame, as high as the frame's height allows.
    void number(const frames::FrameRect& f, int k) {
        if (!canvas_) return;
        const int xc = mapping_.px((f.minx + f.maxx) / 2), yc = mapping_.py((f.miny + f.maxy) / 2);
        const int height = frames::truncToPixel((f.maxy - f.miny) / mapping_.s * 1.1);
        const std::wstring text = std::to_wstring(k);
        canvas_->setFont(height, desktop::kSelectionColour);
        canvas_->textOut(xc - canvas_->textWidth(text) / 2, yc - height / 2, text);
    }

    void outline(const frames::FrameRect& f) {
        if (!canvas_) return;
        const frames::PreviewMapping& m = mapping_;
        canvas_->setPen(desktop::kOutlineColour, 2);
        canvas_->moveTo(m.px(f.minx), m.py(f.miny));
        canvas_->lineTo(m.px(f.maxx), m.py(f.miny));
        canvas_->lineTo(m.px(f.maxx), m.py(f.maxy));
        canvas_->lineTo(m.px(f.minx), m.py(f.maxy));
        canvas_->lineTo(m.px(f.minx), m.py(f.miny));
    }

private:
    struct Box {
        int l, t, r, b;
    };
    Box innerBox(const frames::FrameRect& f, int pen) const {
        return {mapping_.px(f.minx) + pen + 1, mapping_.py(f.maxy) + pen + 1, mapping_.px(f.maxx) - pen - 1,
                mapping_.py(f.miny) - pen - 1};
    }

    MainWindow& form_;
    ui::PixelBitmap* bitmap_;
    frames::PreviewMapping mapping_;
    std::unique_ptr<desktop::Canvas> canvas_;
};

int chosenCount(const frames::FrameList& list) {
    int count = 0;
    for (const frames::FrameRect& f : list) count += f.chosen ? 1 : 0;
    return count;
}

}  // namespace

void MainWindow::outlineFrames() {
    if (shared.frames.empty()) return;
    PreviewPainter painter(*this);
    for (const frames::FrameRect& f : shared.frames) painter.outline(f);
}

void MainWindow::framePreviewPressed(const ui::MouseEvent& e) {
    if (!holdsPicture(framePhoto)) return;
    try {
        const double factor = frames::fitFactor(framePreview->width(), framePreview->height(), framePhoto->width(), framePhoto->height());
        if (!(factor > 0)) return;
        const frames::PreviewMapping view{shared.viewCentreX, shared.viewCentreY, shared.previewScale, 0, 0};
        const std::optional<std::size_t> hit = frames::frameAt(
            shared.frames, frames::imagePointToDrawing(view, factor, framePreview->width(), framePreview->height(), e.x, e.y));
        if (!hit) return;
        const std::size_t k = *hit;
        const frames::FrameRect frame = shared.frames[k];

        showFramePrintScale(*this, frame);

        std::unique_ptr<cad::CadApplication> cadApp;
        if (!connectToCad(cadApp)) return;
        const desktop::WindowHandle cadWindow = cadApp->mainWindowHandle();
        if (shell().isIconic(cadWindow)) shell().restoreWindow(cadWindow);
        shell().bringToForeground(cadWindow);
        cadApp->showAreaInView({frame.minx, frame.miny}, {frame.maxx, frame.maxy});
        cadApp.reset();

        const int pen = frames::markSizes(shared.monitorScaleFactor).pen;
        PreviewPainter painter(*this);
        const frames::PreviewMapping& m = painter.mapping();
        if (e.shift || e.ctrl || e.button != ui::MouseButton::Left) {
            shared.frames[k].chosen = false;
            painter.restore(m.px(frame.minx) + 1, m.py(frame.maxy) + 1, m.px(frame.maxx) - 1, m.py(frame.miny) - 1);
        } else {
            shared.frames[k].chosen = true;
            painter.traceInnerBox(frame, pen);
        }
        int count = 0;
        for (const frames::FrameRect& f : shared.frames) {
            if (!f.chosen) continue;
            ++count;
            painter.restoreInnerBox(f, pen);
            painter.number(f, count);
        }
        chosenFrameCount->setText(std::to_wstring(count));
    } catch (...) {
        // A failure ends the click quietly; what was done up to it stays.
    }
}

void MainWindow::chooseOrReleaseAllFrames(const ui::MouseEvent& e) {
    const bool releaseAll = e.button == ui::MouseButton::Right ||
                            (e.button == ui::MouseButton::Left && (e.shift || e.ctrl));
    if (shared.frames.empty()) return;

    // chosenFrameCount tells the chosen count when this ends, also when a CAD call fails half-way and
    // the frames handled before keep their new state. Declared first, so it is written
    // after the repaint and the release of the automation objects.
    struct CountOnExit {
        MainWindow* form = nullptr;
        ~CountOnExit() {
            if (form) form->chosenFrameCount->setText(std::to_wstring(chosenCount(form->shared.frames)));
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

    const frames::MarkSizes sizes = frames::markSizes(shared.monitorScaleFactor);
    const int pen = sizes.allPen;
    const double d = sizes.allInset;
    PreviewPainter painter(*this);
    const frames::PreviewMapping& m = painter.mapping();
    for (std::size_t i = 0; i < shared.frames.size(); ++i) {
        frames::FrameRect& f = shared.frames[i];
        f.chosen = false;
        painter.restore(m.px(f.minx + d) + 1, m.py(f.maxy - d) + 1, m.px(f.maxx - d) - 1, m.py(f.miny + d) - 1);
        if (releaseAll) continue;
        tempSet->emptySet();
        const cad::CadPoint corner1{f.minx, f.miny, 0}, corner2{f.maxx, f.maxy, 0};
        tempSet->selectWithFilter(0, &corner1, &corner2, nullptr);
        f.chosen = true;
        painter.trace(m.px(f.minx + d) + pen + 1, m.py(f.maxy - d) + pen + 1, m.px(f.maxx - d) - pen - 1,
                      m.py(f.miny + d) - pen - 1, desktop::kSelectionColour, pen);
        painter.number(f, static_cast<int>(i) + 1);
    }
}

void MainWindow::reorderFrames() {
    // A running frame plot walks the list by position; it must not change under it.
    if (framePlotRunning()) return;
    frames::orderFrames(shared.frames, frameFromTop->checked());
    if (!holdsPicture(framePhoto)) return;
    const int pen = frames::markSizes(shared.monitorScaleFactor).pen;
    int count = 0;
    {
        PreviewPainter painter(*this);
        for (const frames::FrameRect& f : shared.frames) {
            painter.restoreInnerBox(f, pen);
            if (f.chosen) painter.number(f, ++count);
        }
    }
    chosenFrameCount->setText(std::to_wstring(count));
}

}  // namespace app
