// The equal-interval page's capture ("キャプチャ"): the drawing scale, the extents and
// the photograph of the CAD view, framed to the extents, into the grid preview; then the
// grid drawn afresh and the page's lists refreshed.
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "app/grid_page.h"
#include "app/main_window.h"
#include "app/view_picture.h"
#include "base/numbers.h"
#include "cad/connect.h"
#include "sheets/capture_geometry.h"

namespace app {

namespace {


// A size the host gives in pixels, as a whole number of them.
int pixelCount(double value) {
    if (!(std::fabs(value) < 1e9)) throw std::runtime_error("CAD 画面の大きさが画素数ではありません");
    return static_cast<int>(value);
}

// Everything between connecting and the grid's redrawing. Host and graphics errors, and
// values no host gives (a window that is not one, a view of no size or of a size or
// centre that is not a finite number), end it where they happen; what was done stays
// done, and the CAD's grid display and view are put back. The view centre and the
// preview scale describe the photograph and are replaced with it. `taken` tells whether
// the picture was taken, also when a later step fails.
void captureGridView(desktop::ShellServices& shell, GridPage& page, cad::CadApplication& application, bool& taken) {
    GridSession& session = page.session;

    CaptureView cadView(shell, application);
    cad::CadDocument* const document = &cadView.document();
    const desktop::WindowHandle viewWindow = document->documentWindowHandle();
    if (viewWindow != 0 && !shell.isWindow(viewWindow)) throw std::runtime_error("CAD の図面ウィンドウがありません");

    cadView.hideGrid();
    page.drawingScale->setText(base::formatGeneral(cad::sysVarNumber(document->readSysVar(L"DIMSCALE"))));
    const cad::CadPoint screen = cad::sysVarPoint(document->readSysVar(L"SCREENSIZE"));
    const int width = pixelCount(screen[0]), height = pixelCount(screen[1]);
    const cad::CadPoint centre = cad::sysVarPoint(document->readSysVar(L"VIEWCTR"));
    const double viewSize = cad::sysVarNumber(document->readSysVar(L"VIEWSIZE"));
    if (!(viewSize > 0)) throw std::runtime_error("CAD の画面の高さが正の数ではありません");
    const cad::CadPoint extMin = cad::sysVarPoint(document->readSysVar(L"EXTMIN"));
    const cad::CadPoint extMax = cad::sysVarPoint(document->readSysVar(L"EXTMAX"));
    session.captureExtents.minX = extMin[0];
    session.captureExtents.minY = extMin[1];
    session.captureExtents.maxX = extMax[0];
    session.captureExtents.maxY = extMax[1];

    if (frames::extentsValid(session.captureExtents)) {
        const double ex = session.captureExtents.maxX - session.captureExtents.minX, ey = session.captureExtents.maxY - session.captureExtents.minY;
        if (!std::isfinite(ex) || !std::isfinite(ey)) throw std::runtime_error("図面範囲が有限ではありません");
        if (viewWindow != 0 && width > 0 && height > 0) {
            const frames::CaptureArea area = frames::fitCaptureArea(width, height, viewSize, ex, ey);
            if (area.u > 0 && area.v > 0) {
                const std::optional<double> scale = takeViewPicture(
                    shell, shell.clientRect(viewWindow), area, *page.preview, session.photo);
                if (scale) session.view = {centre[0], centre[1], *scale};
                taken = scale.has_value();
            }
        }
    }

    cadView.putBack();
}

}  // namespace

void GridPage::capture() {
    // A running grid plot walks the grid; it must not change under it.
    if (plotRunning_) return;
    bool taken = false;
    {
        std::unique_ptr<cad::CadApplication> application;
        if (!window_.connectToCad(application)) return;
        try {
            captureGridView(window_.shell(), *this, *application, taken);
        } catch (const std::exception&) {
            // The capture ends here without a message.
        }
    }
    if (!taken) return;
    chosenCount->setText(L"0");
    session.chosenCells.clear();
    layOutGrid();
    lists.refresh();
    lists.printerChanged();
    if (autoPrintScale->checked()) recomputePrintScale();
}

}  // namespace app
