// The equal-interval page's capture ("キャプチャ"): the drawing scale, the extents and
// the photograph of the CAD view, framed to the extents, into the grid preview; then the
// grid drawn afresh and the page's lists refreshed.
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "cad/connect.h"
#include "base/numbers.h"
#include "sheets/capture_geometry.h"
#include "app/view_picture.h"
#include "app/grid_preview.h"

namespace app {

namespace {


// A size the host gives in pixels, as a whole number of them.
int pixelCount(double value) {
    if (!(std::fabs(value) < 1e9)) throw std::runtime_error("the CAD view's size is not a pixel count");
    return static_cast<int>(value);
}

// Everything between connecting and the grid's redrawing. Host and graphics errors end
// it where they happen; what was done stays done. `taken` tells whether the picture was
// taken, also when a later step fails.
void captureGridView(MainWindow& form, cad::CadApplication& application, bool& taken) {
    desktop::ShellServices& shell = form.shell();

    const std::unique_ptr<cad::CadDocument> document = frames::showWholeDrawingInFront(shell, application);
    const desktop::WindowHandle viewWindow = document->documentWindowHandle();

    const std::int32_t gridMode = cad::sysVarInteger(document->readSysVar(L"GRIDMODE"));
    document->writeSysVar(L"GRIDMODE", std::int16_t{0});
    form.drawingScale->setText(base::formatGeneral(cad::sysVarNumber(document->readSysVar(L"DIMSCALE"))));
    const cad::CadPoint screen = cad::sysVarPoint(document->readSysVar(L"SCREENSIZE"));
    const int width = pixelCount(screen[0]), height = pixelCount(screen[1]);
    const cad::CadPoint centre = cad::sysVarPoint(document->readSysVar(L"VIEWCTR"));
    form.shared.gridViewCentreX = centre[0];
    form.shared.gridViewCentreY = centre[1];
    const double viewSize = cad::sysVarNumber(document->readSysVar(L"VIEWSIZE"));
    const cad::CadPoint extMin = cad::sysVarPoint(document->readSysVar(L"EXTMIN"));
    const cad::CadPoint extMax = cad::sysVarPoint(document->readSysVar(L"EXTMAX"));
    form.gridExtents.minX = extMin[0];
    form.gridExtents.minY = extMin[1];
    form.gridExtents.maxX = extMax[0];
    form.gridExtents.maxY = extMax[1];

    if (frames::extentsValid(form.gridExtents.minX, form.gridExtents.minY, form.gridExtents.maxX, form.gridExtents.maxY)) {
        const double ex = form.gridExtents.maxX - form.gridExtents.minX, ey = form.gridExtents.maxY - form.gridExtents.minY;
        if (!std::isfinite(ex) || !std::isfinite(ey)) throw std::runtime_error("the drawing extents are not finite");
        if (viewWindow != 0 && width > 0 && height > 0) {
            const frames::CaptureArea area = frames::fitCaptureArea(width, height, viewSize, ex, ey);
            if (area.u > 0 && area.v > 0) {
                const std::optional<double> scale = frames::takeViewPicture(
                    shell, shell.clientRect(viewWindow), area, *form.gridPreview, form.gridPhoto);
                if (scale) form.shared.gridPreviewScale = *scale;
                taken = scale.has_value();
            }
        }
    }

    document->writeSysVar(L"GRIDMODE", static_cast<std::int16_t>(gridMode));
    application.showPreviousView();
    shell.sleep(frames::kViewWaitMs);
}

}  // namespace

void MainWindow::captureGrid() {
    // A running grid plot walks the grid; it must not change under it.
    if (gridPlotRunning()) return;
    bool taken = false;
    {
        std::unique_ptr<cad::CadApplication> application;
        if (!connectToCad(application)) return;
        try {
            captureGridView(*this, *application, taken);
        } catch (const std::exception&) {
            // The capture ends here without a message.
        }
    }
    if (!taken) return;
    chosenCellCount->setText(L"0");
    chosenCells.clear();
    layOutGrid();
    refreshGridLists();
    gridPrinterChanged();
    if (autoPrintScale->checked()) recomputePrintScale();
}

}  // namespace app
