// MainWindow: construction, start and end of the window, and what the window does
// itself.
#include "app/main_window.h"

#include "app/settings.h"
#include "ui/pixel_bitmap.h"

namespace app {

namespace {

ui::WidgetArgs formArgs() {
    ui::WidgetArgs a;
    a.name = "Form60";
    a.kind = ui::Kind::Form;
    a.design = {0, 0, kDesignClientWidth, kDesignClientHeight};
    a.text = desktop::kAppTitle;
    return a;
}

}  // namespace

MainWindow::MainWindow(ui::WidgetFactory& widgets, desktop::ShellServices& shell, int dpi, bool runCreated)
    : framePage(*this), gridPage(*this), shell_(shell), form_(std::make_unique<ui::Form>(formArgs(), widgets, dpi)) {
    buildControls();
    form_->closeAllowed = [this] { return closeRequested(); };
    updateSystemMenu();
    if (runCreated) windowCreated();
}

MainWindow::~MainWindow() = default;

void MainWindow::windowCreated() {
    monitorScaleFactor = shell_.monitorScaleFactor();
    form_->setText(kMainCaption);
    readSettings(*this);
    gridPage.session.photo = std::make_shared<ui::PixelBitmap>();
    framePage.session.photo = std::make_shared<ui::PixelBitmap>();
}

void MainWindow::windowDestroyed() {
    if (destroyed_) return;
    destroyed_ = true;
    plotMayContinue = false;  // a run stops after the sheet in hand: its window is gone
    writeSettings(*this);
    gridPage.session.photo.reset();
    framePage.session.photo.reset();
}

void MainWindow::stopPlot() {
    plotMayContinue = false;
    shell_.processMessages();
}

void MainWindow::setPlotRunning(bool running) {
    plotRunning_ = running;
    framePage.setPlotRunning(running);
    gridPage.setPlotRunning(running);
}

ui::Rect MainWindow::restingWindowRect() const {
    ui::Rect rect = form_->windowRect();
    if (parkedFrom) {
        rect.left = parkedFrom->left;
        rect.top = parkedFrom->top;
    }
    return rect;
}

bool MainWindow::closeRequested() {
    if (!plotRunning_) return true;
    closeAfterRun_ = true;
    plotMayContinue = false;
    return false;
}

void MainWindow::runEnded() {
    if (!closeAfterRun_) return;
    closeAfterRun_ = false;
    form_->close();
}

void MainWindow::chooseTargetCad() {}

void MainWindow::showGridPage(bool shown) {
    gridPageShown_ = shown;
    if (shown) {
        // The page's controls reach further right than the designed window: a window
        // narrower than they need grows to show them all.
        const ui::Rect outer = form_->windowRect();
        const int frameWidth = outer.width - form_->bounds().width;
        const int needed = form_->scale(kGridPageClientWidth) + frameWidth;
        if (outer.width < needed) form_->setWindowRect({outer.left, outer.top, needed, outer.height});
    }
    gridPage.sheet->setTabVisible(shown);
    gridPage.sheet->setEnabled(shown);
    pageControl->setActivePage(shown ? gridPage.sheet : framePage.sheet);
    updateSystemMenu();
}

void MainWindow::updateSystemMenu() {
    ui::MenuItem grid;
    grid.text = kShowGridPageItem;
    grid.checked = gridPageShown_;
    grid.chosen = [this] { showGridPage(!gridPageShown_); };
    form_->setSystemMenu({grid});
}

bool MainWindow::connectToCad(std::unique_ptr<cad::CadApplication>& application) {
    if (!cadCreator_) return false;
    return cad::connectToCad(application, shell_, *cadCreator_);
}

}  // namespace app
