// One drawing session on a page's preview: the picture its image shows, drawn through
// the preview mapping of the page's last capture. Without a picture nothing is drawn;
// when the session ends the canvas is closed and the image repainted.
#pragma once

#include <memory>
#include <optional>

#include "desktop/canvas.h"
#include "desktop/shell_services.h"
#include "sheets/grid_model.h"
#include "sheets/preview_mapping.h"
#include "ui/widgets.h"

namespace app {

// Where a page's photograph shows the drawing: view centre and drawing units per pixel.
struct PreviewView {
    double cx = 0, cy = 0, scale = 0;
};

class PreviewCanvas {
public:
    // `clean` is the unmarked copy of the photograph that restores copy from.
    PreviewCanvas(desktop::ShellServices& shell, ui::Image& image, const PreviewView& view,
                  const std::shared_ptr<ui::Picture>& clean);
    ~PreviewCanvas();
    PreviewCanvas(const PreviewCanvas&) = delete;
    PreviewCanvas& operator=(const PreviewCanvas&) = delete;

    // The box's outline, pen 2 in the outline colour, from its lower-left corner round.
    void outline(const grid::Box& box);
    // The selection mark: the box `pen` + 1 pixels inside the box's outline, traced in
    // the selection colour with that pen.
    void mark(const grid::Box& box, int pen);
    // The clean copy's pixels inside the box's outline, `inset` pixels in from it.
    void restore(const grid::Box& box, int inset);
    // The number k centred on the box, as high as the box's height allows.
    void number(const grid::Box& box, int k);

private:
    ui::Image& image_;
    const std::shared_ptr<ui::Picture>& clean_;
    frames::PreviewMapping mapping_;
    std::unique_ptr<desktop::Canvas> canvas_;
};

// A press on a photograph releases what is under it for any button but the left, or the
// left with Shift or Ctrl; otherwise it chooses.
inline bool pressReleases(const ui::MouseEvent& e) {
    return e.shift || e.ctrl || e.button != ui::MouseButton::Left;
}

// True when the picture holds pixels.
bool holdsPicture(const std::shared_ptr<ui::Picture>& picture);

// The drawing point under (x, y) in `image`, which shows `photo` centred and scaled to
// fit through `view`; nothing when there is no photograph or no room to show it.
std::optional<frames::DrawingPoint> drawingPointAt(const ui::Image& image, const std::shared_ptr<ui::Picture>& photo,
                                                   const PreviewView& view, int x, int y);

}  // namespace app
