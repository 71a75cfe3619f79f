#include "app/view_picture.h"

#include <exception>

#include "ui/pixel_bitmap.h"

namespace app {

namespace {

constexpr wchar_t kGridMode[] = L"GRIDMODE";

}  // namespace

CaptureView::CaptureView(desktop::ShellServices& shell, cad::CadApplication& application)
    : shell_(shell), application_(application) {
    try {
        const desktop::WindowHandle cadWindow = application.mainWindowHandle();
        if (shell.isIconic(cadWindow)) {
            shell.restoreWindow(cadWindow);
            shell.sleep(kRestoreWaitMs);
        }
        document_ = application.currentDocument();
        application.showWholeDrawing();
        wholeDrawingShown_ = true;
        shell.sleep(kViewWaitMs);
        shell.bringToForeground(application.mainWindowHandle());
    } catch (...) {
        undo();  // no destruction follows a constructor that fails
        throw;
    }
}

CaptureView::~CaptureView() { undo(); }

void CaptureView::hideGrid() {
    const std::int32_t gridMode = cad::sysVarInteger(document_->readSysVar(kGridMode));
    gridMode_ = gridMode;
    document_->writeSysVar(kGridMode, std::int16_t{0});
}

void CaptureView::putBack() {
    std::exception_ptr failure;
    try {
        showGrid();
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        showPreviousView();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    if (failure) std::rethrow_exception(failure);
    shell_.sleep(kViewWaitMs);
}

void CaptureView::showGrid() {
    if (!gridMode_) return;
    document_->writeSysVar(kGridMode, static_cast<std::int16_t>(*gridMode_));
    gridMode_.reset();
}

void CaptureView::showPreviousView() {
    if (!wholeDrawingShown_) return;
    application_.showPreviousView();
    wholeDrawingShown_ = false;
}

void CaptureView::undo() noexcept {
    try {
        showGrid();
    } catch (...) {
        // Best effort: the capture has failed already.
    }
    try {
        showPreviousView();
    } catch (...) {
    }
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
