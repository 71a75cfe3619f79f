#include "app/plot_run.h"

#include <algorithm>
#include <utility>

namespace app {

namespace {

constexpr wchar_t kTaskbarClass[] = L"Shell_TrayWnd";

}  // namespace

PlotRun::PlotRun(desktop::ShellServices& shell, ui::Form& window, ui::Button& print, ui::Button& stop,
                 bool& mayContinue, std::function<void(bool running)> holdStill)
    : shell_(shell), window_(window), print_(print), stop_(stop), mayContinue_(mayContinue),
      holdStill_(std::move(holdStill)) {
    const ui::Rect rect = window.windowRect();
    savedLeft_ = rect.left;
    savedTop_ = rect.top;
    if (const desktop::WindowHandle taskbar = shell.findWindowByClass(kTaskbarClass)) {
        const int top = shell.primaryScreenSize().height - rect.height - shell.windowRect(taskbar).height();
        window.setWindowRect({0, top, rect.width, rect.height});
    }
    print_.setEnabled(false);
    stop_.setEnabled(true);
    mayContinue_ = true;
    holdStill_(true);
}

PlotRun::~PlotRun() {
    mayContinue_ = false;
    print_.setEnabled(true);
    stop_.setEnabled(false);
    holdStill_(false);
    shell_.setTaskbarProgress(0, 0);
    ui::Rect rect = window_.windowRect();
    rect.left = savedLeft_;
    rect.top = savedTop_;
    window_.setWindowRect(rect);
    if (refused_ > 0) shell_.showMessage(refusedSheetsMessage(handed_, handed_ + refused_));
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

bool PlotRun::keepGoing() {
    shell_.processMessages();
    return mayContinue_;
}

bool printSettingsBlank(desktop::ShellServices& shell, const ui::ComboBox& device, const ui::ComboBox& paper,
                        const ui::ComboBox& styleTable) {
    if (!device.text().empty() && !paper.text().empty() && !styleTable.text().empty()) return false;
    shell.showMessage(kPrintSettingsBlank);
    return true;
}

}  // namespace app
