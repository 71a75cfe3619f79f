#include "app/view_picture.h"

#include "ui/pixel_bitmap.h"

namespace app {

std::unique_ptr<cad::CadDocument> showWholeDrawingInFront(desktop::ShellServices& shell,
                                                          cad::CadApplication& application) {
    const desktop::WindowHandle cadWindow = application.mainWindowHandle();
    if (shell.isIconic(cadWindow)) {
        shell.restoreWindow(cadWindow);
        shell.sleep(kRestoreWaitMs);
    }
    std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    application.showWholeDrawing();
    shell.sleep(kViewWaitMs);
    shell.bringToForeground(application.mainWindowHandle());
    return document;
}

std::optional<double> takeViewPicture(desktop::ShellServices& shell, const desktop::ScreenRect& origin, const frames::CaptureArea& area,
                                      ui::Image& image, std::shared_ptr<ui::Picture>& clean) {
    const int left = origin.left + area.gx, top = origin.top + area.gy;
    const std::shared_ptr<ui::PixelBitmap> shot = shell.copyScreen({left, top, left + area.u, top + area.v});
    const frames::PreviewSize size = frames::previewSize(area.u, area.v, image.width(), image.height());
    if (size.width <= 0 || size.height <= 0) return std::nullopt;
    const std::shared_ptr<ui::PixelBitmap> reduced = shell.shrinkWhiteOnBlack(*shot, size.width, size.height);
    image.setFit(true, true, true);
    image.setPicture(std::make_shared<ui::PixelBitmap>(*reduced));
    clean = std::make_shared<ui::PixelBitmap>(*reduced);
    return area.A / size.width;
}

}  // namespace app
