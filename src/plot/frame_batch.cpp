// The frame batch plot ("印刷" on the frame page) and "中止", which stops a batch plot
// between two sheets.
//
// A run sends one block of plot settings to the CAD layout, then plots every chosen frame
// of the frame list in list order, each as a window plot at its own print scale and turned
// by the rotation chosen for landscape or for portrait frames. The message pump runs
// between frames so that "中止" can be pressed; while the run lasts the capture and the
// reorder are refused, so the list keeps its length and order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/form60.h"
#include "cad/automation.h"
#include "common/numbers.h"
#include "plot/print_scale.h"
#include "plot/style_table.h"

namespace app {

namespace {

constexpr wchar_t kPrintSettingsBlank[] = L"印刷設定が空白です.";
constexpr wchar_t kRunCaption[] = L"201";
constexpr wchar_t kTaskbarClass[] = L"Shell_TrayWnd";
constexpr std::int32_t kMillimetres = 1;
constexpr std::int32_t kWindowArea = 4;

// The entry at the item index; empty when nothing is chosen.
std::wstring chosenItem(const ui::ComboBox& box) {
    const int index = box.itemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= box.items().size()) return {};
    return box.items()[static_cast<std::size_t>(index)];
}

cad::CadPoint corner(double x, double y) { return {x, y, 0.0}; }

// The run's frame of life: the window parked in the lower-left corner above the taskbar,
// "印刷" disabled and "中止" enabled, the abort flag up and the frame list held still;
// all of it undone when the run ends, whichever way it ends.
class FrameRunScope {
public:
    explicit FrameRunScope(TForm60& f) : f_(f) {
        const ui::Rect window = f.form().windowRect();
        savedLeft_ = window.left;
        savedTop_ = window.top;
        ShellServices& shell = f.shell();
        if (const WindowHandle taskbar = shell.findWindowByClass(kTaskbarClass)) {
            const int top = shell.primaryScreenSize().height - window.height - shell.windowRect(taskbar).height();
            f.form().setWindowRect({0, top, window.width, window.height});
        }
        f.Button16->setEnabled(false);
        f.Button17->setEnabled(true);
        f.unit.abortFlag = true;
        f.setFramePlotRunning(true);
    }
    ~FrameRunScope() {
        f_.unit.abortFlag = false;
        f_.Button16->setEnabled(true);
        f_.Button17->setEnabled(false);
        f_.setFramePlotRunning(false);
        f_.shell().setTaskbarProgress(0, 0);
        ui::Rect window = f_.form().windowRect();
        window.left = savedLeft_;
        window.top = savedTop_;
        f_.form().setWindowRect(window);
    }
    FrameRunScope(const FrameRunScope&) = delete;
    FrameRunScope& operator=(const FrameRunScope&) = delete;

private:
    TForm60& f_;
    int savedLeft_ = 0, savedTop_ = 0;
};

// The settings every sheet of the run shares; the window is the first frame's, chosen or
// not, at 1 : 1 until each frame sets its own.
void sendSettingsBlock(TForm60& f, cad::CadLayout& layout, const frames::TmvWaku& first) {
    layout.reloadDeviceInfo();
    layout.setDevice(chosenItem(*f.ComboBox7));
    layout.setMedia(chosenItem(*f.ComboBox8));
    layout.setStyleTable(chosenItem(*f.ComboBox9));
    layout.setPaperUnitKind(kMillimetres);
    layout.setPlotWindow(corner(first.minx, first.miny), corner(first.maxx, first.maxy));
    layout.setPlotAreaKind(kWindowArea);
    layout.setCentreOnPaper(true);
    layout.setUseListedScale(false);
    layout.setScaleRatio(1.0, 1.0);
    const std::wstring table = layout.styleTableName();
    layout.setApplyStyleTable(plot::isColourStyleTable(table));
    layout.setPrintLineWeights(true);
    layout.setLineWeightScaling(true);
    layout.reloadDeviceInfo();
}

// One frame: the view shows it, the layout takes its window, rotation and scale, and the
// plot service gets one copy. A paper without a size code plots at 1 : 1 and keeps the
// layout's rotation and Edit6. Only a refused plot request is let pass.
void plotFrame(TForm60& f, cad::InanoCADApplication& application, cad::CadDocument& document,
               cad::CadLayout& layout, const frames::TmvWaku& frame) {
    const cad::CadPoint lowerLeft = corner(frame.minx, frame.miny), upperRight = corner(frame.maxx, frame.maxy);
    application.showAreaInView(lowerLeft, upperRight);
    layout.setPlotWindow(lowerLeft, upperRight);

    double scale = 1.0;
    const plot::FrameScale printScale = plot::framePrintScale(frame, f.ComboBox8->text());
    if (printScale.found) {
        layout.setSheetRotation((printScale.landscape ? f.ComboBox10 : f.ComboBox11)->itemIndex());
        scale = printScale.scale;
        f.Edit6->setText(common::formatFixed4(scale));
    }
    layout.setScaleRatio(1.0, scale);
    layout.reloadDeviceInfo();

    const std::unique_ptr<cad::CadPlot> plot = document.plotService();
    plot->setCopyCount(1);
    try {
        plot->runPlot();
    } catch (const cad::CadError&) {
        // This sheet is lost; the next one may still plot.
    }
}

// Settings block, then every chosen frame among the first `count` records in list order,
// the pump before each and twice after its plot request. Host errors reach the caller.
void plotChosenFrames(TForm60& f, cad::InanoCADApplication& application, std::size_t count) {
    ShellServices& shell = f.shell();
    const std::unique_ptr<cad::CadDocument> document = application.currentDocument();
    f.form().setText(kRunCaption);
    const std::unique_ptr<cad::CadLayout> layout = document->currentLayout();
    sendSettingsBlock(f, *layout, f.unit.frames.front());

    const int chosen = static_cast<int>(
        std::count_if(f.unit.frames.begin(), f.unit.frames.begin() + static_cast<std::ptrdiff_t>(count),
                      [](const frames::TmvWaku& frame) { return frame.plotFlag; }));
    int handed = 0;
    shell.setTaskbarProgress(0, chosen);

    for (std::size_t i = 0; i < count; ++i) {
        // The list is held still during a run; should it shrink all the same, the run
        // ends with the last record there is.
        if (i >= f.unit.frames.size()) break;
        const frames::TmvWaku frame = f.unit.frames[i];
        if (frame.plotFlag) {
            shell.processMessages();
            if (f.unit.abortFlag) {
                plotFrame(f, application, *document, *layout, frame);
                ++handed;
                shell.setTaskbarProgress(handed, std::max(chosen, handed));
                shell.processMessages();
                if (!f.unit.abortFlag) break;
            }
            shell.processMessages();
            if (!f.unit.abortFlag) break;
        }
        if (!f.unit.abortFlag) break;
    }
}

}  // namespace

void TForm60::Button16Click(ui::Widget&) {
    FrameRunScope run(*this);
    const std::size_t count = unit.frames.size();
    if (count == 0) return;
    std::unique_ptr<cad::InanoCADApplication> application;
    if (!connectToCad(application)) return;
    if (ComboBox7->text().empty() || ComboBox8->text().empty() || ComboBox9->text().empty()) {
        shell().showMessage(kPrintSettingsBlank);
        return;
    }
    try {
        plotChosenFrames(*this, *application, count);
    } catch (const cad::CadError&) {
        // The run stops at the failed call. Sheets already handed over stay handed over,
        // and the layout keeps every setting sent so far.
    }
}

// Bound to both "中止" buttons: the running batch plot stops at its next look at the flag.
void TForm60::Button9Click(ui::Widget&) {
    unit.abortFlag = false;
    shell().processMessages();
}

}  // namespace app
