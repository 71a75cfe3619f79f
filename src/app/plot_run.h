// The course of a batch plot ("印刷" on either page), from its start to its end: the
// window parked in the lower-left corner just above the taskbar (where it is when there
// is no taskbar), the page's "印刷" disabled and its "中止" enabled, what would alter the
// run held still on both pages, and the taskbar progress. All of it is undone when the
// run ends, whichever way; a closing of the window put off by the run follows then.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/sheet_files.h"

#include "desktop/shell_services.h"
#include "ui/widgets.h"

namespace app {

inline constexpr wchar_t kPrintSettingsBlank[] = L"印刷設定が空白です.";

// The message of a run in which the host refused some sheets: how many of those sent it
// took, and each it refused by name (a file name on the file path).
std::wstring refusedSheetsMessage(int handedOver, const std::vector<std::wstring>& refused);

// Where and why a run stopped before its end: the sheet in hand and its place among the
// chosen sheets, or, between sheets (empty `sheet`), how many had been sent; and the
// host's or Quillon's text.
struct RunStop {
    std::wstring sheet;
    int position = 0;
    std::wstring reason;
};

// The message of a run that a failure stopped: where and why, how many of the `chosen`
// sheets the host took, and the names of those it refused.
std::wstring stoppedRunMessage(const RunStop& stop, int chosen, int handedOver, const std::vector<std::wstring>& refused);

class MainWindow;

class PlotRun {
public:
    // `print` and `stop` are the page's buttons. The window's flag that "中止" lowers is
    // raised now and lowered at the end.
    PlotRun(MainWindow& window, ui::Button& print, ui::Button& stop);
    ~PlotRun();
    PlotRun(const PlotRun&) = delete;
    PlotRun& operator=(const PlotRun&) = delete;

    // The taskbar shows 0 of `total` sheets (the chosen ones); each sheet the host took
    // moves it on by one. A run in which the host refused sheets ends with one message
    // saying how many of the sheets sent it took, and which it refused.
    void startProgress(int total);

    // One chosen sheet, named `name` in the messages: the queue runs (so that "中止" can be
    // pressed); unless the run was stopped, the caption shows the run's progress, `send`
    // hands the sheet over (true when the host took it) and the queue runs again; unless
    // the run was stopped by then, the queue runs once more. Whether the run may go on.
    bool sendSheet(const std::wstring& name, const std::function<bool()>& send);
    // Runs `plotting`; a failure it lets out stops the run there, and the end of the run
    // says where and why (the host's or Quillon's text).
    void carryOut(const std::function<void()>& plotting);
    // Whether the run may go on, without running the queue.
    bool mayContinue() const;

    // With the window's file output on, the run writes its sheets to files of their own
    // (their word replaces the refusal message at the end). False, after telling the
    // user why, when the files cannot be set up; true otherwise.
    bool openFiles(cad::CadDocument& document, const std::wstring& device);
    // The run's files; null when the sheets go to the device.
    SheetFiles* files() const { return files_.get(); }

private:
    void sheetSent(bool handedOver);
    // The sheets handed to the host so far, taken or refused.
    int sentCount() const { return handed_ + static_cast<int>(refused_.size()); }
    // The caption: the target's, and while a sheet is in hand the run's progress after it.
    void showCaption(int position);
    // The word at the end of the run: the files' report, or the device's message when
    // something went wrong.
    void report();
    // Runs what is queued and takes a press on "中止" made while a call to the CAD was
    // outstanding (desktop/button_press.h), then tells whether the run may go on.
    bool keepGoing();

    MainWindow& window_;
    desktop::ShellServices& shell_;
    ui::Button& print_;
    ui::Button& stop_;
    int total_ = 0, handed_ = 0;
    std::vector<std::wstring> refused_;  // the names of the sheets the host refused
    std::wstring sheetInHand_;
    std::optional<RunStop> stopped_;
    std::unique_ptr<SheetFiles> files_;
};

// True, after telling the user, when any of the three print-setting boxes shows no text
// (looked at in the order given).
bool printSettingsBlank(desktop::ShellServices& shell, const ui::ComboBox& device, const ui::ComboBox& paper,
                        const ui::ComboBox& styleTable);

}  // namespace app
