// What the two batch plots ("印刷" on the frame page and on the equal-interval page) share:
// the run's frame of life around the window and its buttons, the block of plot settings
// sent to the layout before the first sheet, and the plot request of one sheet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "cad/automation.h"

namespace app {

inline constexpr wchar_t kPrintSettingsBlank[] = L"印刷設定が空白です.";

// The entry at the item index; empty when nothing is chosen.
std::wstring chosenItem(const ui::ComboBox& box);

// True, after telling the user, when any of the three print-setting boxes shows no text
// (looked at in the order given).
bool printSettingsBlank(MainWindow& form, const ui::ComboBox& device, const ui::ComboBox& paper,
                        const ui::ComboBox& styleTable);

// A run's frame of life: the window parked in the lower-left corner just above the
// taskbar (where it is when there is no taskbar), the run's "印刷" disabled and its
// "中止" enabled, the abort flag up, and the form told that the run holds its data still.
// All of it is undone when the scope ends, whichever way the run ends, together with the
// taskbar progress.
class BatchRunScope {
public:
    using RunningSetter = void (MainWindow::*)(bool running);

    BatchRunScope(MainWindow& form, ui::Button& print, ui::Button& abort, RunningSetter setRunning);
    ~BatchRunScope();
    BatchRunScope(const BatchRunScope&) = delete;
    BatchRunScope& operator=(const BatchRunScope&) = delete;

    // The taskbar shows 0 of `total` sheets; each sheetHanded() moves it on by one.
    void startProgress(int total);
    void sheetHanded();

private:
    MainWindow& form_;
    ui::Button& print_;
    ui::Button& abort_;
    RunningSetter setRunning_;
    int savedLeft_ = 0, savedTop_ = 0;
    int total_ = 0, handed_ = 0;
};

// The settings every sheet of a run shares.
struct PlotSettings {
    std::wstring device, media, styleTable;
    std::optional<std::int32_t> rotation;  // nothing: the layout keeps its rotation
    cad::CadPoint lowerLeft, upperRight;   // the first sheet's window
    double scale = 1;                      // drawing units per paper millimetre
};

// Sends the block in its fixed order: reload, device, paper, style table, millimetres,
// the rotation (when given), the window and its area kind, centred, a custom scale of
// 1 : scale, the style table read back to decide whether its styles apply, line weights
// printed and scaled, reload.
void sendSettingsBlock(cad::CadLayout& layout, const PlotSettings& settings);

// One copy of the layout's current sheet to the plot service. Only a refused plot
// request is let pass; any other failure reaches the caller.
void requestPlot(cad::CadDocument& document);

inline cad::CadPoint corner(double x, double y) { return {x, y, 0.0}; }

}  // namespace app
