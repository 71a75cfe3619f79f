// MainWindow: construction, start and end of the window, and what the window does
// itself.
#include "app/main_window.h"

#include <algorithm>

#include "app/handler_failure.h"
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

std::wstring mainCaption(const std::wstring& targetCadName) { return L"Quillon 2.06 [ " + targetCadName + L" ]"; }

MainWindow::MainWindow(ui::WidgetFactory& widgets, desktop::ShellServices& shell, int dpi, bool runCreated)
    : framePage(*this), gridPage(*this), shell_(shell), form_(std::make_unique<ui::Form>(formArgs(), widgets, dpi)),
      targetCads_(cad::builtInProfiles()) {
    buildControls();
    form_->closeAllowed = [this] { return closeRequested(); };
    form_->systemMenuOpening = reportingFailure(shell_, [this] { updateSystemMenu(true); });
    updateSystemMenu();
    if (runCreated) windowCreated();
}

MainWindow::~MainWindow() = default;

void MainWindow::windowCreated() {
    monitorScaleFactor = shell_.monitorScaleFactor();
    form_->setText(mainCaption(targetCad().name));
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

void MainWindow::chooseTargetCad() { form_->popUpMenu(targetCadMenu(true), *gridPage.targetCadButton); }

void MainWindow::setTargetCads(std::vector<cad::CadProfile> profiles, std::wstring_view name) {
    if (profiles.empty()) profiles = cad::builtInProfiles();
    targetCads_ = std::move(profiles);
    showTarget(cad::profileIndex(targetCads_, name));
}

void MainWindow::chooseTarget(std::size_t index) {
    if (index >= targetCads_.size()) return;
    targetChosen_ = true;
    showTarget(index);
}

void MainWindow::showTarget(std::size_t index) {
    target_ = index;
    form_->setText(mainCaption(targetCad().name));
    updateSystemMenu();
}

std::vector<ui::MenuItem> MainWindow::targetCadMenu(bool markOpen) {
    std::vector<ui::MenuItem> items;
    for (std::size_t i = 0; i < targetCads_.size(); ++i) {
        ui::MenuItem item;
        item.text = targetCads_[i].name;
        if (markOpen && cad::hostWindowOpen(shell_, targetCads_[i])) item.text += kOpenCadMark;
        item.checked = i == target_;
        item.chosen = reportingFailure(shell_, [this, i] { chooseTarget(i); });
        items.push_back(std::move(item));
    }
    return items;
}

void MainWindow::showGridPage(bool shown) {
    gridPageShown_ = shown;
    if (shown) {
        // The page's controls reach further right than the designed window: a window
        // narrower than they need grows to show them all.
        // A window on the primary screen grows no further than its work area's right
        // edge, moving left instead (the settings then place it alike at the next start).
        const ui::Rect outer = form_->windowRect();
        const int frameWidth = outer.width - form_->bounds().width;
        const int needed = form_->scale(kGridPageClientWidth) + frameWidth;
        if (outer.width < needed) {
            int left = outer.left;
            const desktop::ScreenRect work = shell_.primaryWorkArea();
            if (left >= work.left && left < work.right && left + needed > work.right)
                left = std::max(work.left, work.right - needed);
            form_->setWindowRect({left, outer.top, needed, outer.height});
        }
    }
    gridPage.sheet->setTabVisible(shown);
    gridPage.sheet->setEnabled(shown);
    pageControl->setActivePage(shown ? gridPage.sheet : framePage.sheet);
    updateSystemMenu();
}

void MainWindow::setBlockFrames(bool on) {
    blockFrames_ = on;
    updateSystemMenu();
}

void MainWindow::setPlotToFile(bool on) {
    fileOutput.on = on;
    fileOutputKept = true;
    updateSystemMenu();
}

void MainWindow::updateSystemMenu(bool markOpen) {
    ui::MenuItem grid;
    grid.text = kShowGridPageItem;
    grid.checked = gridPageShown_;
    grid.chosen = reportingFailure(shell_, [this] { showGridPage(!gridPageShown_); });
    ui::MenuItem blocks;
    blocks.text = kBlockFramesItem;
    blocks.checked = blockFrames_;
    blocks.chosen = reportingFailure(shell_, [this] { setBlockFrames(!blockFrames_); });
    ui::MenuItem targets;
    targets.text = kTargetCadMenu;
    targets.items = targetCadMenu(markOpen);
    ui::MenuItem files;
    files.text = kPlotToFileItem;
    files.checked = fileOutput.on;
    files.chosen = reportingFailure(shell_, [this] { setPlotToFile(!fileOutput.on); });
    form_->setSystemMenu({grid, targets, blocks, files});
}

std::wstring unreachableCadMessage(const cad::CadProfile& profile, const std::wstring& failure) {
    return L"「" + profile.name + L"」のウィンドウ (" + profile.windowTitle + (profile.titleIsPrefix ? L"…" : L"") +
           L") はありますが、その CAD のオートメーション オブジェクト (" +
           (profile.progId.empty() ? profile.classId : profile.progId) + L") に接続できません。\n" + failure +
           L"\n\n設定ファイル quillon.ini の [CAD:" + profile.name + L"] の ProgID= か CLSID= を確かめてください。";
}

bool MainWindow::connectToCad(std::unique_ptr<cad::CadApplication>& application) {
    if (!cadCreator_) return false;
    std::wstring failure;
    if (cad::connectToCad(application, shell_, *cadCreator_, targetCad(), &failure)) return true;
    // The default CAD keeps its silence; of another the user learns, once a press, what
    // was found and what failed.
    if (!failure.empty() && target_ != 0 && !unreachableTold_) {
        unreachableTold_ = true;
        shell_.showMessage(unreachableCadMessage(targetCad(), failure));
    }
    return false;
}

}  // namespace app
