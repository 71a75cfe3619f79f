// The batch plot ("印刷") of either page against the stand-in in process: what reaches
// the layout and in which order (its call trace), what is plotted (its journal), and the
// window, buttons and flags around a run however it ends.
//
// Both pages start alike: the PDF device, A3 paper and a colour-dependent style table, and
// six sheets, every one chosen, whose windows are kSheetWindows in plot order:
//   frame page  six frames in list order (which is not their order on the drawing)
//   grid page   a 3 x 2 grid of A3 landscape sheets at scale 1 from '0,0' at '420,300',
//               visited row by row from the bottom; print scale 1.4142 turned by 90°.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cad/late_bound.h"
#include "form_rig.h"
#include "sim_test_support.h"

namespace testing_support {

enum class Page { Frame, Grid };

inline std::string pageName(const ::testing::TestParamInfo<Page>& info) {
    return info.param == Page::Frame ? "Frame" : "Grid";
}
inline void PrintTo(Page page, std::ostream* out) { *out << (page == Page::Frame ? "the frame page" : "the grid page"); }

inline constexpr wchar_t kA3[] = L"ISO_A3_(420.00_x_297.00_MM)";
inline constexpr wchar_t kBlankMessage[] = L"印刷設定が空白です.";

using Windows = std::vector<std::string>;

// One value of a journal line, as written: a number, true/false, "text" or [a,b,...].
inline std::string field(const std::string& line, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    const std::size_t at = line.find(tag);
    if (at == std::string::npos) return "(missing)";
    const std::size_t from = at + tag.size();
    std::size_t to = line[from] == '[' ? line.find(']', from) + 1
                   : line[from] == '"' ? line.find('"', from + 1) + 1
                                       : line.find_first_of(",}", from);
    return line.substr(from, to - from);
}

// The block of plot settings both pages send before the first sheet, as the stand-in
// traces it; `window` is the first sheet's, as in "[0, 0, 0], [420, 297, 0]".
inline std::vector<std::string> settingsBlock(std::optional<int> rotation, const std::string& window,
                                              const std::string& scale) {
    std::vector<std::string> lines = {
        "Layout.RefreshPlotDeviceInfo()",
        "Layout.ConfigName = \"PDF\"",
        "Layout.CanonicalMediaName = \"ISO_A3_(420.00_x_297.00_MM)\"",
        "Layout.StyleSheet = \"monochrome.ctb\"",
        "Layout.PaperUnits = 1",
    };
    if (rotation) lines.push_back("Layout.PlotRotation = " + std::to_string(*rotation));
    for (const std::string& line : {
             "Layout.SetWindowToPlot(" + window + ")",
             std::string("Layout.PlotType = 4"),
             std::string("Layout.CenterPlot = true"),
             std::string("Layout.UseStandardScale = false"),
             "Layout.SetCustomScale(1, " + scale + ")",
             std::string("Layout.StyleSheet"),
             std::string("Layout.PlotWithPlotStyles = true"),
             std::string("Layout.PlotWithLineweights = true"),
             std::string("Layout.ScaleLineweights = true"),
             std::string("Layout.RefreshPlotDeviceInfo()"),
         })
        lines.push_back(line);
    return lines;
}

inline frames::FrameRect frame(double minx, double miny, double maxx, double maxy, bool chosen = true) {
    frames::FrameRect f;
    f.minx = minx, f.miny = miny, f.maxx = maxx, f.maxy = maxy;
    f.chosen = chosen;
    return f;
}

// The window with the stand-in behind it, one page set up for a run. Fixtures derive from
// it for one page (FrameBatch, GridBatch) or for either (BatchPlot).
class PlotBatchRig : public ::testing::Test {
protected:
    explicit PlotBatchRig(Page page) : page_(page) {}

public:
    // A3 landscape frames at 1 : 10 in list order, and the grid's cells in row order.
    static inline const frames::FrameList kFrames{
        frame(5000, 0, 9200, 2970),    frame(0, 0, 4200, 2970),       frame(0, 5000, 4200, 7970),
        frame(5000, 5000, 9200, 7970), frame(-3000, 100, 1200, 3070), frame(10000, 0, 14200, 2970)};
    Windows sheetWindows() const {
        if (page_ == Page::Frame)
            return {"[5000,0,9200,2970]",    "[0,0,4200,2970]",      "[0,5000,4200,7970]",
                    "[5000,5000,9200,7970]", "[-3000,100,1200,3070]", "[10000,0,14200,2970]"};
        return {"[0,0,420,297]",   "[420,0,840,297]",   "[840,0,1260,297]",
                "[0,300,420,597]", "[420,300,840,597]", "[840,300,1260,597]"};
    }
    // The windows of the sheets `chosen` marks, in plot order.
    Windows windowsOf(const std::vector<bool>& chosen) const {
        Windows out;
        const Windows all = sheetWindows();
        for (std::size_t i = 0; i < chosen.size(); ++i)
            if (chosen[i]) out.push_back(all[i]);
        return out;
    }

    simtest::TempDir dir;
    std::unique_ptr<FormRig> rig;

    // The window, the page shown with its settings chosen and every sheet chosen; calls
    // matching `fails` fail, answers of calls matching `garbles` come in the wrong shape.
    // `deaths` end the host in a call, as a CAD that crashes.
    void start(std::vector<std::string> fails = {}, std::vector<std::string> garbles = {},
               std::vector<std::string> deaths = {}) {
        rig.reset();
        std::filesystem::remove(dir / "journal.jsonl");
        std::filesystem::remove(dir / "trace.txt");
        sim::Options options;
        options.journal = dir / "journal.jsonl";
        options.trace = dir / "trace.txt";
        options.fails = std::move(fails);
        options.garbles = std::move(garbles);
        options.deaths = std::move(deaths);
        sim::Drawing drawing = simtest::drawingOf({simtest::rectangle(L"MORVEL", 0, 0, 100, 100)});
        drawing.source = dir / "plan.dxf";  // the document's Path and Name
        rig = std::make_unique<FormRig>(std::move(drawing), options);
        if (page_ == Page::Grid) {
            // The page is built hidden and disabled; here it is shown so that its buttons
            // can be pressed as a user would.
            f().gridPage.sheet->setEnabled(true);
            f().pageControl->setActivePage(f().gridPage.sheet);
            f().gridPage.spacing->setText(L"420,300");
            f().gridPage.basePoint->setText(L"0,0");
            f().gridPage.drawingScale->setText(L"1");
            f().gridPage.sheetSize->setText(L"A3");
            f().gridPage.sheetOrientation->setItemIndex(0);
            f().gridPage.printScale->setText(L"1.4142");
            f().gridPage.rotation->setItemIndex(1);
            f().gridPage.fromTop->setChecked(false);
        }
        choose(*settingBoxes()[0], L"PDF");
        choose(*settingBoxes()[1], kA3);
        choose(*settingBoxes()[2], L"monochrome.ctb");
        chooseSheets(std::vector<bool>(6, true));
    }
    static void choose(ui::ComboBox& box, const std::wstring& item) {
        box.setItems({L"first entry", item});
        box.setItemIndex(1);
    }
    // Which of the six sheets are chosen.
    void chooseSheets(const std::vector<bool>& chosen) {
        if (page_ == Page::Frame) {
            f().framePage.session.frames = kFrames;
            for (std::size_t i = 0; i < chosen.size(); ++i) f().framePage.session.frames[i].chosen = chosen[i];
        } else {
            grid(3, 2, chosen);
        }
    }
    // The grid page's counts and chosen cells (every cell when no flags are given).
    void grid(int columns, int rows, std::vector<bool> flags = {}) {
        f().gridPage.session.columns = columns;
        f().gridPage.session.rows = rows;
        f().gridPage.session.chosenCells =
            flags.empty() ? std::vector<bool>(static_cast<std::size_t>(columns * rows), true) : flags;
    }
    // No sheet at all: an empty frame list, a grid without columns.
    void removeSheets() {
        if (page_ == Page::Frame) f().framePage.session.frames.clear();
        else grid(0, 2);
    }
    // Each sheet as it stands: its window, and whether it is chosen.
    std::vector<std::string> sheetsNow() {
        std::vector<std::string> out;
        const auto add = [&out](double x0, double y0, double x1, double y1, bool chosen) {
            std::ostringstream s;
            s << '[' << x0 << ',' << y0 << ',' << x1 << ',' << y1 << ']' << (chosen ? " chosen" : "");
            out.push_back(s.str());
        };
        if (page_ == Page::Frame) {
            for (const frames::FrameRect& w : f().framePage.session.frames) add(w.minx, w.miny, w.maxx, w.maxy, w.chosen);
        } else {
            const app::GridSession& s = f().gridPage.session;
            const grid::Layout cells = f().gridPage.layout();
            for (int r = 0; r < s.rows; ++r)
                for (int c = 0; c < s.columns; ++c) {
                    const grid::Box b = cells.sheet(c, r);
                    add(b.x0, b.y0, b.x1, b.y1, s.cellChosen(c, r));
                }
            out.push_back(std::to_string(s.chosenCells.size()) + " flags");
        }
        return out;
    }

    // The page's handles.
    Page page() const { return page_; }
    app::MainWindow& f() { return rig->f(); }
    FakeShell& shell() { return rig->shell; }
    ui::Button& printButton() { return *(page_ == Page::Frame ? f().framePage.printButton : f().gridPage.printButton); }
    ui::Button& stopButton() { return *(page_ == Page::Frame ? f().framePage.stopButton : f().gridPage.stopButton); }
    ui::CheckBox& fromTop() { return *(page_ == Page::Frame ? f().framePage.fromTop : f().gridPage.fromTop); }
    // Device, paper and style table.
    std::vector<ui::ComboBox*> settingBoxes() {
        if (page_ == Page::Frame) return {f().framePage.printer, f().framePage.paper, f().framePage.styleTable};
        return {f().gridPage.printer, f().gridPage.paper, f().gridPage.styleTable};
    }
    // The controls that would change the sheets, refused while a run lasts.
    std::vector<ui::Widget*> heldControls() {
        if (page_ == Page::Frame) return {f().framePage.captureButton, f().framePage.fromTop};
        return {f().gridPage.captureButton, f().gridPage.basePointButton, f().gridPage.spacingButton};
    }
    // The controls of both pages whose change would alter a run of either page (the two
    // share the CAD layout), disabled while it lasts.
    std::vector<ui::Widget*> printSettingControls() {
        app::FramePage& fp = f().framePage;
        app::GridPage& gp = f().gridPage;
        return {fp.captureButton, fp.fromTop,        fp.printButton,     fp.printer,          fp.paper,
                fp.styleTable,    fp.listsButton,    fp.landscapeRotation, fp.portraitRotation, gp.captureButton,
                gp.basePointButton, gp.spacingButton, gp.drawingScaleButton, gp.printButton,     gp.printer,
                gp.paper,         gp.styleTable,     gp.listsButton,     gp.rotation,         gp.sheetSize,
                gp.sheetOrientation, gp.drawingScale, gp.printScale,     gp.autoPrintScale,   gp.recomputeButton};
    }
    bool plotRunning() { return page_ == Page::Frame ? f().framePage.plotRunning() : f().gridPage.plotRunning(); }
    // The name the end of a run gives the sheet of chooseSheets' place `index`, the
    // `n`-th chosen one (1 on): a frame by its number on the photograph, a cell by its
    // column and row.
    std::wstring sheetName(int index, int n) const {
        if (page_ == Page::Frame) return L"枠 " + std::to_wstring(n);
        return L"列 " + std::to_wstring(index % 3 + 1) + L"・行 " + std::to_wstring(index / 3 + 1);
    }
    // The calls of a run up to the end of the settings block, in the state start() leaves
    // (the first sheet's window, chosen or not).
    std::vector<std::string> traceOfTheBlock() {
        std::vector<std::string> lines;
        if (page_ == Page::Frame) {
            lines = {"Application.ActiveDocument", "Document.GetVariable(\"BACKGROUNDPLOT\")",
                     "Document.SetVariable(\"BACKGROUNDPLOT\", 0)", "Document.ActiveLayout"};
            for (const std::string& l : settingsBlock(std::nullopt, "[5000, 0, 0], [9200, 2970, 0]", "1"))
                lines.push_back(l);
        } else {
            lines = {"Application.ActiveDocument", "Document.SetVariable(\"BACKGROUNDPLOT\", 0)",
                     "Document.ActiveLayout"};
            for (const std::string& l : settingsBlock(1, "[0, 0, 0], [420, 297, 0]", "1.4142")) lines.push_back(l);
        }
        return lines;
    }

    // The calls of a run after its last sheet: the frame plot puts the user's
    // BACKGROUNDPLOT back (the stand-in starts with 2); the grid plot leaves it at 0.
    std::vector<std::string> traceOfTheEnd() const {
        if (page_ == Page::Frame) return {"Document.SetVariable(\"BACKGROUNDPLOT\", 2)"};
        return {};
    }

    // What the stand-in saw.
    std::vector<std::string> jobs() { return simtest::readLines(dir / "journal.jsonl"); }
    std::vector<std::string> trace() { return simtest::readLines(dir / "trace.txt"); }
    Windows windows() {
        Windows out;
        for (const std::string& job : jobs()) out.push_back(field(job, "window"));
        return out;
    }
    int pumps() {
        int n = 0;
        for (const std::string& entry : shell().log) n += entry == "pump";
        return n;
    }
    int zooms() {
        int n = 0;
        for (const std::string& line : trace()) n += line.starts_with("Application.ZoomWindow");
        return n;
    }
    std::vector<std::string> progress() {
        std::vector<std::string> out;
        for (const std::string& entry : shell().log)
            if (entry.starts_with("progress")) out.push_back(entry);
        return out;
    }
    // Read from the stand-in after the run (the read is traced too).
    int backgroundPlot() {
        auto application = cad::wrapApplication(rig->host->application());
        return cad::sysVarInteger(application->currentDocument()->readSysVar(L"BACKGROUNDPLOT"));
    }
    // As the user left it before the run (the write is traced too).
    void setBackgroundPlot(int value) {
        auto application = cad::wrapApplication(rig->host->application());
        application->currentDocument()->writeSysVar(L"BACKGROUNDPLOT", static_cast<std::int16_t>(value));
    }

    void print() { ASSERT_TRUE(printButton().userClick()); }

    // `action` runs at every pump of the run until it returns true.
    void atEveryPump(std::function<bool()> action) {
        shell().queued.push_back([this, action] {
            if (!action()) atEveryPump(action);
        });
    }

    // Idle again, whatever ended the run.
    void expectIdle(const ui::Rect& windowBefore) {
        EXPECT_TRUE(printButton().enabled());
        EXPECT_FALSE(stopButton().enabled());
        EXPECT_FALSE(f().plotMayContinue);
        EXPECT_FALSE(plotRunning());
        for (ui::Widget* held : printSettingControls()) EXPECT_TRUE(held->enabled()) << held->name();
        EXPECT_EQ(shell().taskbarProgress, (std::pair<int, int>{0, 0}));
        EXPECT_EQ(f().form().windowRect(), windowBefore);
        EXPECT_EQ(rig->host->liveObjects(), 0) << "an automation object outlived the run";
    }

private:
    Page page_;
};

// Either page, for what both batch plots do alike.
struct BatchPlot : PlotBatchRig, ::testing::WithParamInterface<Page> {
    BatchPlot() : PlotBatchRig(GetParam()) {}
};

// One page, for what only its batch plot does.
struct FrameBatch : PlotBatchRig {
    FrameBatch() : PlotBatchRig(Page::Frame) {}
};
struct GridBatch : PlotBatchRig {
    GridBatch() : PlotBatchRig(Page::Grid) {}
};

}  // namespace testing_support
