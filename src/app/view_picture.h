// The view photograph both captures take: a part of the CAD view copied from the screen,
// reduced to fit an image area, shown there and kept as a separate clean copy.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "cad/automation.h"
#include "desktop/shell_services.h"
#include "sheets/capture_geometry.h"
#include "ui/widgets.h"

namespace app {

// Waits of the captures: after restoring a minimised CAD window, and after a view change
// for the CAD view to redraw.
inline constexpr int kRestoreWaitMs = 500;
inline constexpr int kViewWaitMs = 100;

// What both captures do to the CAD view, and its undoing. Made, it has restored the CAD
// window when minimised (then a wait), taken the document, shown the whole drawing (then
// a wait) and brought the CAD window to the front; hideGrid() turns the grid display
// off. putBack() on the capture's way out turns the grid display back on and shows the
// previous view (then a wait); whatever of the two is not done when the capture ends
// (a host failure half-way, or in putBack itself) the destruction tries once more and
// ignores its failures, so the user's CAD is left as it was found. Host errors reach
// the caller.
class CaptureView {
public:
    CaptureView(desktop::ShellServices& shell, cad::CadApplication& application);
    ~CaptureView();
    CaptureView(const CaptureView&) = delete;
    CaptureView& operator=(const CaptureView&) = delete;

    cad::CadDocument& document() { return *document_; }
    // GRIDMODE read and kept, then set to 0, so that the grid is not in the photograph.
    void hideGrid();
    // GRIDMODE back and the previous view, each tried; the first failure reaches the
    // caller once both were tried.
    void putBack();

private:
    // Each step once: GRIDMODE back, the previous view.
    void showGrid();
    void showPreviousView();
    void undo() noexcept;

    desktop::ShellServices& shell_;
    cad::CadApplication& application_;
    std::unique_ptr<cad::CadDocument> document_;
    std::optional<std::int32_t> gridMode_;  // set while GRIDMODE may be off
    bool wholeDrawingShown_ = false;         // while the whole drawing is shown
};

// Copies `area` (relative to `origin`'s top-left corner) from the screen, reduces it with
// the white-on-black stretch to fit `image`, makes it the image's picture (centred and
// scaled by one factor) and `clean` a copy with pixels of its own. The preview scale
// (drawing units per preview pixel); nothing when the image has no room for a picture.
// Graphics failures throw.
std::optional<double> takeViewPicture(desktop::ShellServices& shell, const desktop::ScreenRect& origin, const frames::CaptureArea& area,
                                      ui::Image& image, std::shared_ptr<ui::Picture>& clean);

}  // namespace app
