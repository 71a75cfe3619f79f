// The view photograph both captures take: a part of the CAD view copied from the screen,
// reduced to fit an image area, shown there and kept as a separate clean copy.
#pragma once

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

// The opening of both captures: the CAD window restored when minimised (then a wait),
// the document taken, the whole drawing shown (then a wait) and the CAD window brought
// to the front. Host errors reach the caller.
std::unique_ptr<cad::CadDocument> showWholeDrawingInFront(desktop::ShellServices& shell,
                                                          cad::CadApplication& application);

// Copies `area` (relative to `origin`'s top-left corner) from the screen, reduces it with
// the white-on-black stretch to fit `image`, makes it the image's picture (centred and
// scaled by one factor) and `clean` a copy with pixels of its own. The preview scale
// (drawing units per preview pixel); nothing when the image has no room for a picture.
// Graphics failures throw.
std::optional<double> takeViewPicture(desktop::ShellServices& shell, const desktop::ScreenRect& origin, const frames::CaptureArea& area,
                                      ui::Image& image, std::shared_ptr<ui::Picture>& clean);

}  // namespace app
