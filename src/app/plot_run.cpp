#include "app/plot_run.h"

#include <algorithm>

#include "app/handler_failure.h"
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
    showCaption(0);
    report();
    window_.runEnded();
}

void PlotRun::report() {
    const std::vector<std::wstring>& refused = files_ ? files_->refused() : refused_;
    std::optional<std::wstring> stopped;
    if (stopped_) stopped = stoppedRunMessage(*stopped_, total_, handed_, refused);
    if (files_) files_->report(shell_, stopped);
    else if (stopped) shell_.showMessage(*stopped);
    else if (!refused.empty()) shell_.showMessage(refusedSheetsMessage(handed_, refused));
}

void PlotRun::showCaption(int position) {
    std::wstring caption = mainCaption(window_.targetCad().name);
    if (position > 0) caption += L"  " + std::to_wstring(position) + L"/" + std::to_wstring(total_);
    window_.form().setText(caption);
}

void PlotRun::carryOut(const std::function<void()>& plotting) {
    try {
        plotting();
    } catch (...) {
        // Sheets already handed over stay handed over, and the layout keeps every
        // setting sent so far. The sheet in hand, if any, is where the run stopped.
        stopped_ = RunStop{sheetInHand_, sheetInHand_.empty() ? sentCount() : sentCount() + 1, failureInFlightText()};
    }
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
        refused_.push_back(sheetInHand_);
        return;
    }
    ++handed_;
    shell_.setTaskbarProgress(handed_, std::max(total_, handed_));
}

std::wstring refusedSheetsMessage(int handedOver, const std::vector<std::wstring>& refused) {
    const int sent = handedOver + static_cast<int>(refused.size());
    std::wstring text = L"CAD が受け付けた印刷は " + std::to_wstring(sent) + L" 枚中 " + std::to_wstring(handedOver) +
                        L" 枚です。\n" + std::to_wstring(refused.size()) + L" 枚は印刷されていません。";
    for (const std::wstring& name : refused) text += L"\n  " + name;
    return text;
}

std::wstring stoppedRunMessage(const RunStop& stop, int chosen, int handedOver, const std::vector<std::wstring>& refused) {
    std::wstring text = stop.sheet.empty()
        ? (stop.position == 0 ? std::wstring(L"印刷は用紙を送る前に止まりました。")
                              : L"印刷は " + std::to_wstring(stop.position) + L" 枚を送ったあとで止まりました。")
        : L"印刷は " + std::to_wstring(stop.position) + L"/" + std::to_wstring(chosen) + L" 枚目 (" + stop.sheet +
              L") で止まりました。";
    text += L"\n" + stop.reason + L"\n\n選んだ " + std::to_wstring(chosen) + L" 枚のうち CAD が受け付けたのは " +
            std::to_wstring(handedOver) + L" 枚です。";
    if (!refused.empty()) {
        text += L"\n受け付けられなかった " + std::to_wstring(refused.size()) + L" 枚:";
        for (const std::wstring& name : refused) text += L"\n  " + name;
    }
    return text;
}

bool PlotRun::sendSheet(const std::wstring& name, const std::function<bool()>& send) {
    if (keepGoing()) {
        sheetInHand_ = name;
        showCaption(sentCount() + 1);
        sheetSent(send());  // a failure leaves the sheet in hand, for the end's message
        sheetInHand_.clear();
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
