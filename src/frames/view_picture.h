// The view photograph both captures take: a part of the CAD view copied from the screen,
// reduced to fit an image area, shown there and kept as a separate clean copy.
#pragma once

#include <memory>
#include <optional>

#include "app/shell_services.h"
#include "frames/capture_geometry.h"
#include "platform/widgets.h"

namespace frames {

// Copies `area` (relative to `origin`'s top-left corner) from the screen, reduces it with
// the white-on-black stretch to fit `image`, makes it the image's picture (centred and
// scaled by one factor) and `clean` a copy with pixels of its own. The preview scale
// (drawing units per preview pixel); nothing when the image has no room for a picture.
// Graphics failures throw.
std::optional<double> takeViewPicture(app::ShellServices& shell, const app::ScreenRect& origin, const CaptureArea& area,
                                      ui::Image& image, std::shared_ptr<ui::Picture>& clean);

}  // namespace frames
