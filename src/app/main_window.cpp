// MainWindow: construction, start and end of the window, and the handlers of the window
// itself (the panel toggle and the "CAD" button).
#include "app/main_window.h"

#include "ui/pixel_bitmap.h"
#include "app/settings.h"

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

MainWindow::MainWindow(ui::WidgetFactory& widgets, desktop::ShellServices& shell, int dpi, bool runFormCreate)
    : shell_(shell), form_(std::make_unique<ui::Form>(formArgs(), widgets, dpi)) {
    buildControls();
    if (runFormCreate) windowCreated();
}

MainWindow::~MainWindow() = default;

void MainWindow::windowCreated() {
    shared.monitorScaleFactor = shell_.monitorScaleFactor();
    form_->setText(kMainCaption);
    readSettings(*this);
    gridPhoto = std::make_shared<ui::PixelBitmap>();
    framePhoto = std::make_shared<ui::PixelBitmap>();
}

void MainWindow::windowDestroyed() {
    if (destroyed_) return;
    destroyed_ = true;
    writeSettings(*this);
    gridPhoto.reset();
    framePhoto.reset();
}

void MainWindow::toggleToolbar() {
    frameToolbar->setVisible(!frameToolbar->visible());
    toolbarToggle->setText(frameToolbar->visible() ? L"▲" : L"▼");
}

void MainWindow::chooseTargetCad() {}

bool MainWindow::connectToCad(std::unique_ptr<cad::CadApplication>& application) {
    if (!cadCreator_) return false;
    return cad::connectToCad(application, shell_, *cadCreator_);
}

void MainWindow::setFramePlotRunning(bool running) {
    framePlotRunning_ = running;
    frameCaptureButton->setEnabled(!running);
    frameFromTop->setEnabled(!running);
}

void MainWindow::setGridPlotRunning(bool running) {
    gridPlotRunning_ = running;
    gridCaptureButton->setEnabled(!running);
    basePointButton->setEnabled(!running);
    spacingButton->setEnabled(!running);
}

}  // namespace app
