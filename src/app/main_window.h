// The main window: the form built from the control table (control_table.cpp), its two
// pages, and what the window itself does (start and end, the CAD link, "中止").
// Everything reaches the platform only through the widget seam and the desktop services.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/frame_page.h"
#include "app/grid_page.h"
#include "app/sheet_files.h"
#include "cad/connect.h"
#include "desktop/shell_services.h"
#include "ui/widgets.h"

namespace app {

inline constexpr wchar_t kMainCaption[] = L"Quillon 2.06 [ nanoCAD ]";
// The caption while that CAD is the target.
std::wstring mainCaption(const std::wstring& targetCadName);
// What the user reads when the target's window is open but its automation object cannot
// be had: what was found, what failed and why, and where to correct the rule.
std::wstring unreachableCadMessage(const cad::CadProfile& profile, const std::wstring& failure);
// The system menu's item that shows or hides the equal-interval page.
inline constexpr wchar_t kShowGridPageItem[] = L"等間隔配置を表示";
// The system menu's item that lets block references on the frame layer be frames too.
inline constexpr wchar_t kBlockFramesItem[] = L"ブロック参照も枠とする";
// The system menu's submenu of target CADs, and the mark of a CAD whose window is open.
inline constexpr wchar_t kTargetCadMenu[] = L"ターゲットCAD";
inline constexpr wchar_t kOpenCadMark[] = L"\t起動中";
inline constexpr int kDesignClientWidth = 478, kDesignClientHeight = 418;
// The client width the equal-interval page's controls need: the rightmost ends at 558 on
// the page, which lies 4 pixels in from each side of the page control; 4 to spare.
inline constexpr int kGridPageClientWidth = 570;

class MainWindow;

// The events a control table row can bind.
enum class Event { None, Click, Change, MouseDown };

// One control of the window: what it is made from, where the window keeps it, and the
// handler its event runs.
struct ControlRow {
    ui::WidgetArgs args;
    // Stores the made control in its page's member for it; empty for a control no code
    // touches after it is made.
    std::function<void(MainWindow&, ui::Widget&)> keep;
    // The event the control's handler runs on, and the binding of that handler.
    Event event = Event::None;
    std::function<void(MainWindow&, ui::Widget&)> bind;
};

// Every control of the main window, parents before children, lower siblings first.
const std::vector<ControlRow>& mainWindowControls();

class MainWindow {
public:
    // Builds every control, binds the handlers and runs windowCreated (unless told not to,
    // for a test that watches it). `dpi` is the dpi of the monitor the window opens on.
    MainWindow(ui::WidgetFactory& widgets, desktop::ShellServices& shell, int dpi = 96, bool runCreated = true);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    ui::Form& form() { return *form_; }
    desktop::ShellServices& shell() { return shell_; }

    // The maker of the CAD host's application object. Without one every handler that
    // needs the CAD host finds none.
    void setCadLink(cad::CoApplication& creator) { cadCreator_ = &creator; }
    // connectToCad through the desktop's window look-up and the CAD link. When the
    // target's window is there but its object cannot be had, a target other than the
    // default says so (unreachableCadMessage), once a press.
    bool connectToCad(std::unique_ptr<cad::CadApplication>& application);
    // A press on a control begins: what was said once a press may be said again.
    void pressBegins() { unreachableTold_ = false; }

    // The start and end of the window: the settings are read when it is created and
    // written when it is destroyed (run by the backend, at most once; later calls do
    // nothing).
    void windowCreated();
    void windowDestroyed();

    // "中止" on either page: the running batch plot stops at its next look.
    void stopPlot();

    // A batch plot runs on one of the pages, or has ended. While it runs, both pages hold
    // still everything whose change would alter it: the two pages plot through the one
    // layout of the CAD document.
    void setPlotRunning(bool running);
    bool plotRunning() const { return plotRunning_; }
    // The window's place before a run parked it above the taskbar; set while it is there.
    std::optional<ui::Rect> parkedFrom;
    // The window's place as the settings keep it: where it was before a run parked it.
    ui::Rect restingWindowRect() const;
    // The user closes the window: at once, or, while a run lasts, once the run has stopped
    // after the sheet in hand (as "中止" stops it). False while the window stays for now.
    bool closeRequested();
    // Closes the window when a close was put off until the end of a run.
    void runEnded();
    // The "CAD" button: the target CADs in a menu under it.
    void chooseTargetCad();

    // The CADs the user can choose from, and the one Quillon connects to. An unknown
    // name chooses the default profile. Choosing changes the caption; the lists stay as
    // they are until the next capture or refresh.
    void setTargetCads(std::vector<cad::CadProfile> profiles, std::wstring_view name);
    void chooseTarget(std::size_t index);
    const std::vector<cad::CadProfile>& targetCads() const { return targetCads_; }
    const cad::CadProfile& targetCad() const { return targetCads_.at(target_); }
    // Whether the user chose a target in this session (the settings then keep it).
    bool targetChosen() const { return targetChosen_; }
    // The target CADs as menu items: the current one checked, with `markOpen` those whose
    // window is open now marked.
    std::vector<ui::MenuItem> targetCadMenu(bool markOpen);

    // The equal-interval page, hidden as designed until the user asks for it in the
    // system menu: shown, its tab is there, the page enabled and current; hidden again,
    // the frame page is current.
    void showGridPage(bool shown);
    bool gridPageShown() const { return gridPageShown_; }

    // Whether the frame capture also takes the block references on the frame layer as
    // frames (off as designed; the system menu turns it on and off).
    void setBlockFrames(bool on);
    bool blockFrames() const { return blockFrames_; }

    // Whether a run writes each sheet to a file of its own (PlotToFile) rather than to the
    // device (off as designed; the system menu turns it on and off), and where and under
    // which names.
    void setPlotToFile(bool on);
    FileOutput fileOutput;
    // Whether the files' names take block frames' attributes: the capture then reads them.
    bool fileNamesNeedAttributes() const {
        return fileOutput.on && blockFrames_ && plot::patternUsesAttributes(fileOutput.pattern);
    }
    // Whether the user turned the file output on or off in this session, or the settings
    // held its keys (they are then written back).
    bool fileOutputKept = false;
    // Reading the settings stopped at a failure: the file is not written at the end, so
    // that nothing the start did not read is lost.
    bool settingsUnread = false;

    // The scale of the monitor in percent, read once at start-up; the marks on the
    // photographs follow it.
    int monitorScaleFactor = 0;
    // A batch plot may go on; raised by a run, lowered by "中止" and at the run's end.
    bool plotMayContinue = false;

    FramePage framePage;
    GridPage gridPage;
    ui::PageControl* pageControl = nullptr;
    ui::Label* scaleLabel = nullptr;

private:
    void buildControls();

    desktop::ShellServices& shell_;
    cad::CoApplication* cadCreator_ = nullptr;
    std::unique_ptr<ui::Form> form_;
    bool destroyed_ = false;
    bool plotRunning_ = false;
    bool closeAfterRun_ = false;
    bool gridPageShown_ = false;
    bool blockFrames_ = false;
    std::vector<cad::CadProfile> targetCads_;
    std::size_t target_ = 0;
    bool targetChosen_ = false;
    bool unreachableTold_ = false;

    // Makes that profile the target, named in the caption and checked in the menu.
    void showTarget(std::size_t index);
    // With `markOpen` (as the user opens the menu) the target CADs' windows are looked for.
    void updateSystemMenu(bool markOpen = false);
};

}  // namespace app
