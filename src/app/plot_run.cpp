#include "app/plot_run.h"

#include <algorithm>

#include "app/main_window.h"

namespace app {

namespace {

constexpr wchar_t kTaskbarClass[] = L"Shell_TrayWnd";

}  // namespace

PlotRun::PlotRun(MainWindow& window, ui::Button& print, ui::Button& stop)
    : window_(window), shell_(window.shell()), print_(print), stop_(stop) {
    ui::Form& form = window.form();
    const ui::Rect rect = form.windowRect();
    window.parkedFrom = rect;
    if (const desktop::WindowHandle taskbar = shell_.findWindowByClass(kTaskbarClass)) {
        const int top = shell_.primaryScreenSize().height - rect.height - shell_.windowRect(taskbar).height();
        form.setWindowRect({0, top, rect.width, rect.height});
    }
    window.setPlotRunning(true);
    print_.setEnabled(false);
    stop_.setEnabled(true);
    window.plotMayContinue = true;
    shell_.watchPressesDuringCalls(&stop_);
}

PlotRun::~PlotRun() {
    shell_.watchPressesDuringCalls(nullptr);
    window_.plotMayContinue = false;
    window_.setPlotRunning(false);
    print_.setEnabled(true);
    stop_.setEnabled(false);
    shell_.setTaskbarProgress(0, 0);
    ui::Rect rect = window_.form().windowRect();
    rect.left = window_.parkedFrom->left;
    rect.top = window_.parkedFrom->top;
    window_.form().setWindowRect(rect);
    window_.parkedFrom.reset();
    if (files_) files_->report(shell_);
    else if (refused_ > 0) shell_.showMessage(refusedSheetsMessage(handed_, handed_ + refused_));
    window_.runEnded();
}

bool PlotRun::mayContinue() const { return window_.plotMayContinue; }

bool PlotRun::openFiles(cad::CadDocument& document, const std::wstring& device) {
    if (!window_.fileOutput.on) return true;
    files_ = SheetFiles::open(shell_, window_.fileOutput, document, device);
    return files_ != nullptr;
}

void PlotRun::startProgress(int total) {
    total_ = total;
    handed_ = 0;
    shell_.setTaskbarProgress(0, total_);
}

void PlotRun::sheetSent(bool handedOver) {
    if (!handedOver) {
        ++refused_;
        return;
    }
    ++handed_;
    shell_.setTaskbarProgress(handed_, std::max(total_, handed_));
}

std::wstring refusedSheetsMessage(int handedOver, int sent) {
    return L"CAD が受け付けた印刷は " + std::to_wstring(sent) + L" 枚中 " + std::to_wstring(handedOver) + L" 枚です。\n" +
           std::to_wstring(sent - handedOver) + L" 枚は印刷されていません。";
}

bool PlotRun::sendSheet(const std::function<bool()>& send) {
    if (keepGoing()) {
        sheetSent(send());
        if (!keepGoing()) return false;
    }
    return keepGoing();
}

bool PlotRun::keepGoing() {
    shell_.processMessages();
    // "中止" pressed while the CAD was busy with a call (desktop/button_press.h).
    if (shell_.takePressDuringCall()) window_.plotMayContinue = false;
    return window_.plotMayContinue;
}

bool printSettingsBlank(desktop::ShellServices& shell, const ui::ComboBox& device, const ui::ComboBox& paper,
                        const ui::ComboBox& styleTable) {
    if (!device.text().empty() && !paper.text().empty() && !styleTable.text().empty()) return false;
    shell.showMessage(kPrintSettingsBlank);
    return true;
}

}  // namespace app
