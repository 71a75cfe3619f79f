// The course of a batch plot ("印刷" on either page), from its start to its end: the
// window parked in the lower-left corner just above the taskbar (where it is when there
// is no taskbar), the page's "印刷" disabled and its "中止" enabled, the page's data held
// still, and the taskbar progress. All of it is undone when the run ends, whichever way.
#pragma once

#include <functional>
#include <string>

#include "desktop/shell_services.h"
#include "ui/widgets.h"

namespace app {

inline constexpr wchar_t kPrintSettingsBlank[] = L"印刷設定が空白です.";

// The message of a run in which the host refused some sheets.
std::wstring refusedSheetsMessage(int handedOver, int sent);

class PlotRun {
public:
    // `mayContinue` is the window's flag that "中止" lowers; the run raises it now and
    // lowers it at its end. `holdStill` is told true now and false at the end.
    PlotRun(desktop::ShellServices& shell, ui::Form& window, ui::Button& print, ui::Button& stop, bool& mayContinue,
            std::function<void(bool running)> holdStill);
    ~PlotRun();
    PlotRun(const PlotRun&) = delete;
    PlotRun& operator=(const PlotRun&) = delete;

    // The taskbar shows 0 of `total` sheets; each sheet the host took moves it on by one.
    // A run in which the host refused sheets ends with one message saying how many of
    // the sheets sent it took.
    void startProgress(int total);
    void sheetSent(bool handedOver);

    // Runs what is queued (so that "中止" can be pressed), then tells whether the run may
    // go on.
    bool keepGoing();
    // Whether the run may go on, without running the queue.
    bool mayContinue() const { return mayContinue_; }

private:
    desktop::ShellServices& shell_;
    ui::Form& window_;
    ui::Button& print_;
    ui::Button& stop_;
    bool& mayContinue_;
    std::function<void(bool)> holdStill_;
    int savedLeft_ = 0, savedTop_ = 0;
    int total_ = 0, handed_ = 0, refused_ = 0;
};

// True, after telling the user, when any of the three print-setting boxes shows no text
// (looked at in the order given).
bool printSettingsBlank(desktop::ShellServices& shell, const ui::ComboBox& device, const ui::ComboBox& paper,
                        const ui::ComboBox& styleTable);

}  // namespace app
