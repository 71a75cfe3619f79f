// The course both batch plots share: window, buttons, abort flag and taskbar progress
// around a run; the settings block; one sheet's plot request.
#include "app/batch_run.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#include "sheets/style_table.h"

namespace app {

namespace {

constexpr wchar_t kTaskbarClass[] = L"Shell_TrayWnd";
constexpr std::int32_t kMillimetres = 1;
constexpr std::int32_t kWindowArea = 4;

}  // namespace

std::wstring chosenItem(const ui::ComboBox& box) {
    const int index = box.itemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= box.items().size()) return {};
    return box.items()[static_cast<std::size_t>(index)];
}

bool printSettingsBlank(MainWindow& form, const ui::ComboBox& device, const ui::ComboBox& paper,
                        const ui::ComboBox& styleTable) {
    if (!device.text().empty() && !paper.text().empty() && !styleTable.text().empty()) return false;
    form.shell().showMessage(kPrintSettingsBlank);
    return true;
}

BatchRunScope::BatchRunScope(MainWindow& form, ui::Button& print, ui::Button& abort, RunningSetter setRunning)
    : form_(form), print_(print), abort_(abort), setRunning_(setRunning) {
    const ui::Rect window = form.form().windowRect();
    savedLeft_ = window.left;
    savedTop_ = window.top;
    desktop::ShellServices& shell = form.shell();
    if (const desktop::WindowHandle taskbar = shell.findWindowByClass(kTaskbarClass)) {
        const int top = shell.primaryScreenSize().height - window.height - shell.windowRect(taskbar).height();
        form.form().setWindowRect({0, top, window.width, window.height});
    }
    print_.setEnabled(false);
    abort_.setEnabled(true);
    form.shared.plotMayContinue = true;
    (form.*setRunning_)(true);
}

BatchRunScope::~BatchRunScope() {
    form_.shared.plotMayContinue = false;
    print_.setEnabled(true);
    abort_.setEnabled(false);
    (form_.*setRunning_)(false);
    form_.shell().setTaskbarProgress(0, 0);
    ui::Rect window = form_.form().windowRect();
    window.left = savedLeft_;
    window.top = savedTop_;
    form_.form().setWindowRect(window);
}

void BatchRunScope::startProgress(int total) {
    total_ = total;
    handed_ = 0;
    form_.shell().setTaskbarProgress(0, total_);
}

void BatchRunScope::sheetHanded() {
    ++handed_;
    form_.shell().setTaskbarProgress(handed_, std::max(total_, handed_));
}

void sendSettingsBlock(cad::CadLayout& layout, const PlotSettings& settings) {
    layout.reloadDeviceInfo();
    layout.setDevice(settings.device);
    layout.setMedia(settings.media);
    layout.setStyleTable(settings.styleTable);
    layout.setPaperUnitKind(kMillimetres);
    if (settings.rotation) layout.setSheetRotation(*settings.rotation);
    layout.setPlotWindow(settings.lowerLeft, settings.upperRight);
    layout.setPlotAreaKind(kWindowArea);
    layout.setCentreOnPaper(true);
    layout.setUseListedScale(false);
    layout.setScaleRatio(1.0, settings.scale);
    const std::wstring table = layout.styleTableName();
    layout.setApplyStyleTable(plot::isColourStyleTable(table));
    layout.setPrintLineWeights(true);
    layout.setLineWeightScaling(true);
    layout.reloadDeviceInfo();
}

void requestPlot(cad::CadDocument& document) {
    const std::unique_ptr<cad::CadPlot> plot = document.plotService();
    plot->setCopyCount(1);
    try {
        plot->runPlot();
    } catch (const cad::CadError&) {
        // This sheet is lost; the next one may still plot.
    }
}

}  // namespace app
