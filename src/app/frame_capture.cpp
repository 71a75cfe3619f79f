// The frame capture ("キャプチャ"): finds the frames on the frame layer (closed polylines,
// and block references when the window says so), orders them, and photographs the CAD
// view, framed to the drawing extents, into the frame preview.
#include <cmath>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>

#include "app/frame_page.h"
#include "app/main_window.h"
#include "app/view_picture.h"
#include "base/scope_exit.h"
#include "cad/connect.h"
#include "sheets/capture_geometry.h"
#include "sheets/frame_query.h"
#include "sheets/ordering.h"

namespace app {

namespace {

constexpr std::int32_t kWholeDrawing = 5;

struct Corners {
    cad::CadPoint lowerLeft, upperRight;
};

// The box around every entity of the drawing, through "ssTemp", into `extents`. Any
// failure is ignored: the extents keep what they had, and the result is empty unless the
// measurement itself succeeded.
std::optional<Corners> measureDrawingExtents(frames::Extents& extents, cad::CadDocument& document) {
    std::optional<Corners> measured;
    try {
        const std::unique_ptr<cad::CadSelectionSet> set = cad::tempSelectionSet(document);
        set->emptySet();
        set->selectWithFilter(kWholeDrawing, nullptr, nullptr, nullptr);
        Corners corners;
        set->measureExtents(corners.lowerLeft, corners.upperRight);
        extents.minX = corners.lowerLeft[0];
        extents.minY = corners.lowerLeft[1];
        extents.maxX = corners.upperRight[0];
        extents.maxY = corners.upperRight[1];
        measured = std::move(corners);
        set->emptySet();
        set->discardSet();
    } catch (const std::exception&) {
        // The extents of the previous capture stay.
    }
    return measured;
}

// Everything between connecting and restoring the main window. Host and graphics
// errors, and values no host gives (a window that is not one, a view of no size or of a
// size or centre that is not a finite number), end it where they happen; what was done
// stays done, and the CAD's grid display and view are put back. The view centre and
// the preview scale describe the photograph and are replaced with it. With `blockFrames`
// the block references on the frame layer are asked for too, with `readAttributes` their
// attributes as well. True when a picture was taken.
bool runFrameCapture(desktop::ShellServices& shell, FramePage& page, cad::CadApplication& application,
                     bool blockFrames, bool readAttributes) {
    FrameSession& session = page.session;

    CaptureView cadView(shell, application);
    cad::CadDocument* const document = &cadView.document();
    const desktop::WindowHandle documentWindow = document->documentWindowHandle();
    if (documentWindow != 0 && !shell.isWindow(documentWindow))
        throw std::runtime_error("CAD の図面ウィンドウがありません");

    {
        // The list is replaced only by a whole, ordered query result.
        const std::unique_ptr<cad::CadSelectionSet> set = document->documentSelectionSet();
        frames::FrameQueryResult query = frames::queryFrames(*set, page.layer->text());
        if (blockFrames) {
            // One list: the ordering numbers both kinds together and drops a polyline
            // drawn on top of a block frame as a duplicate.
            frames::FrameQueryResult blocks = frames::queryBlockFrames(*set, page.layer->text(), readAttributes);
            query.frames.insert(query.frames.end(), blocks.frames.begin(), blocks.frames.end());
            query.found += blocks.found;
        }
        if (!query.frames.empty()) frames::orderFrames(query.frames, page.fromTop->checked());
        session.frames = std::move(query.frames);
        session.attributesRead = readAttributes;
        if (query.found > 0) set->emptySet();
    }

    // The view area: the document window's second child, less the height of the first
    // (the bar docked along the view's bottom edge).
    const desktop::WindowHandle frameWindow = document->documentWindowHandle();
    const desktop::WindowHandle bar = frameWindow ? shell.firstChild(frameWindow) : 0;
    const desktop::WindowHandle view = bar ? shell.nextSibling(bar) : 0;
    const int fullWidth = shell.windowRect(view).width();
    const int fullHeight = shell.windowRect(view).height() - shell.windowRect(bar).height();

    cadView.hideGrid();
    const cad::CadPoint centre = cad::sysVarPoint(document->readSysVar(L"VIEWCTR"));
    const double viewSize = cad::sysVarNumber(document->readSysVar(L"VIEWSIZE"));
    if (!(viewSize > 0)) throw std::runtime_error("CAD の画面の高さが正の数ではありません");

    const std::optional<Corners> measured = measureDrawingExtents(session.captureExtents, *document);

    bool taken = false;
    if (frames::extentsValid(session.captureExtents)) {
        // The framing takes this capture's measurement; without one there is nothing
        // to frame to, and the capture ends as on a host error.
        if (!measured) throw std::runtime_error("図面範囲を測れません");
        const double ex = measured->upperRight[0] - measured->lowerLeft[0];
        const double ey = measured->upperRight[1] - measured->lowerLeft[1];
        if (!std::isfinite(ex) || !std::isfinite(ey)) throw std::runtime_error("図面範囲が有限ではありません");
        const frames::CaptureArea area = frames::fitCaptureArea(fullWidth, fullHeight, viewSize, ex, ey);
        if (documentWindow != 0 && area.u > 0 && area.v > 0) {
            const std::optional<double> scale = takeViewPicture(
                shell, shell.windowRect(documentWindow), area, *page.preview, session.photo);
            if (scale) session.view = {centre[0], centre[1], *scale};
            taken = scale.has_value();
        }
    }

    cadView.putBack();
    return taken;
}

}  // namespace

void FramePage::capture() {
    // A running frame plot walks the frame list; it must not change under it.
    if (plotRunning_) return;
    desktop::ShellServices& shell = window_.shell();
    bool taken = false;
    {
        std::unique_ptr<cad::CadApplication> application;
        if (window_.connectToCad(application)) {
            shell.minimiseMainWindow();  // the always-on-top window must not cover the CAD view
            try {
                // The block frames' attributes only when file names will be made of them.
                taken = runFrameCapture(shell, *this, *application, window_.blockFrames(),
                                        window_.fileNamesNeedAttributes());
            } catch (const std::exception&) {
                // The capture ends here without a message.
            }
        }
    }
    const base::ScopeExit restore([&shell] { shell.restoreMainWindow(); });
    if (!taken) return;
    chosenCount->setText(L"0");
    outlineFrames();
    lists.refresh();
    lists.printerChanged();
}

}  // namespace app
