// The equal-interval page set up by hand for the grid tests: the six-cell grid of A3
// landscape sheets (420 x 297) at spacing 420,300 from the base point 0,0, with extents
// up to (1260, 597), and a preview whose pixels map exactly onto drawing units:
//   image pixel (X, Y)  <->  drawing point (-100 + 4X, 702 - 4Y)
// The preview starts black; the clean copy gridPhoto is kClean everywhere.
#pragma once

#include <memory>
#include <vector>

#include "form_rig.h"
#include "sheets/preview_mapping.h"

namespace testing_support {

inline constexpr std::uint32_t kClean = 0x203040;

struct GridPage {
    explicit GridPage(FormRig& rig) : rig(rig) {
        app::MainWindow& f = rig.f();
        const int w = f.gridPage.preview->width(), h = f.gridPage.preview->height();
        preview = std::make_shared<ui::PixelBitmap>(w, h);
        f.gridPage.preview->setPicture(preview);
        f.gridPage.session.photo = std::make_shared<ui::PixelBitmap>(w, h, kClean);
        f.gridPage.session.view.scale = 4;
        f.gridPage.session.view.cx = -100 + (w / 2) * 4.0;
        f.gridPage.session.view.cy = 702 - (h / 2) * 4.0;
        f.gridPage.session.captureExtents.maxX = 1260;
        f.gridPage.session.captureExtents.maxY = 597;
        f.gridPage.basePoint->setText(L"0,0");
        f.gridPage.spacing->setText(L"420,300");
    }

    // Image pixels of a drawing point, and the drawing point's preview pixel colour.
    static int X(double x) { return static_cast<int>((x + 100) / 4); }
    static int Y(double y) { return static_cast<int>((702 - y) / 4); }
    // The preview pixel that the grid preview mapping gives a drawing point.
    std::uint32_t at(double x, double y) const {
        const app::MainWindow& f = rig.f();
        const frames::PreviewMapping m{f.gridPage.session.view.cx, f.gridPage.session.view.cy, f.gridPage.session.view.scale,
                                       preview->width(), preview->height()};
        return preview->at(m.px(x), m.py(y));
    }

    // A press in the image area on the drawing point (x, y).
    void press(double x, double y, ui::MouseButton button = ui::MouseButton::Left, bool shift = false,
               bool ctrl = false) {
        ui::MouseEvent e;
        e.button = button, e.shift = shift, e.ctrl = ctrl, e.x = X(x), e.y = Y(y);
        rig.f().gridPage.previewPressed(e);
    }

    FormRig& rig;
    std::shared_ptr<ui::PixelBitmap> preview;
};

}  // namespace testing_support
