// The grid batch plot ("印刷" on the equal-interval page) against the stand-in in
// process: the settings block and each cell's calls (its call trace), the cells plotted
// and their windows (its journal), and the window, buttons and flags around a run however
// it ends.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cad/late_bound.h"
#include "form_rig.h"
#include "sim_test_support.h"

namespace {

using testing_support::FormRig;

constexpr wchar_t kA3[] = L"ISO_A3_(420.00_x_297.00_MM)";
constexpr wchar_t kBlankMessage[] = L"印刷設定が空白です.";

// One value of a journal line, as written: a number, true/false, "text" or [a,b,...].
std::string field(const std::string& line, const std::string& key) {
    const std::string tag = "\"" + key + "\":";
    const std::size_t at = line.find(tag);
    if (at == std::string::npos) return "(missing)";
    const std::size_t from = at + tag.size();
    std::size_t to = line[from] == '[' ? line.find(']', from) + 1
                   : line[from] == '"' ? line.find('"', from + 1) + 1
                                       : line.find_first_of(",}", from);
    return line.substr(from, to - from);
}

using Windows = std::vector<std::string>;

struct GridBatch : ::testing::Test {
    simtest::TempDir dir;
    std::unique_ptr<FormRig> rig;

    // The window with the stand-in behind it: the PDF device, A3 paper, a colour-dependent
    // style table; a 3 x 2 grid of A3 landscape sheets at scale 1 from '0,0' at '420,300',
    // every cell chosen; print scale 1.4142 turned by 90 degrees.
    void start(std::vector<std::string> fails = {}, std::vector<std::string> garbles = {}) {
        rig.reset();
        std::filesystem::remove(dir / "journal.jsonl");
        std::filesystem::remove(dir / "trace.txt");
        sim::Options options;
        options.journal = dir / "journal.jsonl";
        options.trace = dir / "trace.txt";
        options.fails = std::move(fails);
        options.garbles = std::move(garbles);
        rig = std::make_unique<FormRig>(simtest::drawingOf({simtest::rectangle(L"MORVEL", 0, 0, 100, 100)}), options);
        // The page is built hidden and disabled; here it is shown so that its buttons can
        // be pressed as a user would.
        f().gridPage.sheet->setEnabled(true);
        f().pageControl->setActivePage(f().gridPage.sheet);
        choose(*f().gridPage.printer, L"PDF");
        choose(*f().gridPage.paper, kA3);
        choose(*f().gridPage.styleTable, L"monochrome.ctb");
        f().gridPage.spacing->setText(L"420,300");
        f().gridPage.basePoint->setText(L"0,0");
        f().gridPage.drawingScale->setText(L"1");
        f().gridPage.sheetSize->setText(L"A3");
        f().gridPage.sheetOrientation->setItemIndex(0);
        f().gridPage.printScale->setText(L"1.4142");
        f().gridPage.rotation->setItemIndex(1);
        f().gridPage.fromTop->setChecked(false);
        grid(3, 2);
    }
    void grid(int columns, int rows, std::vector<bool> flags = {}) {
        f().gridPage.session.columns = columns;
        f().gridPage.session.rows = rows;
        f().gridPage.session.chosenCells = flags.empty() ? std::vector<bool>(static_cast<std::size_t>(columns * rows), true) : flags;
    }
    static void choose(ui::ComboBox& box, const std::wstring& item) {
        box.setItems({L"first entry", item});
        box.setItemIndex(1);
    }
    app::MainWindow& f() { return rig->f(); }
    testing_support::FakeShell& shell() { return rig->shell; }
    std::vector<std::string> jobs() { return simtest::readLines(dir / "journal.jsonl"); }
    std::vector<std::string> trace() { return simtest::readLines(dir / "trace.txt"); }
    Windows windows() {
        Windows out;
        for (const std::string& job : jobs()) out.push_back(field(job, "window"));
        return out;
    }
    void print() { ASSERT_TRUE(f().gridPage.printButton->userClick()); }
    int pumps() {
        int n = 0;
        for (const std::string& entry : shell().log) n += entry == "pump";
        return n;
    }
    // Read from the stand-in after the run (the read is traced too).
    int backgroundPlot() {
        auto application = cad::wrapApplication(rig->host->application());
        return cad::sysVarInteger(application->currentDocument()->readSysVar(L"BACKGROUNDPLOT"));
    }

    // `action` runs at every pump of the run until it returns true.
    void atEveryPump(std::function<bool()> action) {
        shell().queued.push_back([this, action] {
            if (!action()) atEveryPump(action);
        });
    }

    // Idle again, whatever ended the run.
    void expectIdle(const ui::Rect& windowBefore) {
        EXPECT_TRUE(f().gridPage.printButton->enabled());
        EXPECT_FALSE(f().gridPage.stopButton->enabled());
        EXPECT_FALSE(f().plotMayContinue);
        EXPECT_FALSE(f().gridPage.plotRunning());
        EXPECT_TRUE(f().gridPage.captureButton->enabled());
        EXPECT_TRUE(f().gridPage.basePointButton->enabled());
        EXPECT_TRUE(f().gridPage.spacingButton->enabled());
        EXPECT_EQ(shell().taskbarProgress, (std::pair<int, int>{0, 0}));
        EXPECT_EQ(f().form().windowRect(), windowBefore);
        EXPECT_EQ(rig->host->liveObjects(), 0) << "an automation object outlived the run";
    }
};

TEST_F(GridBatch, PlotsInTheForegroundSendsTheBlockThenEachCell) {
    start();
    grid(2, 1, {false, true});
    ASSERT_NE(backgroundPlot(), 0) << "the stand-in starts with plotting in the background";
    const std::size_t traced = trace().size();
    const ui::Rect before = f().form().windowRect();
    print();
    const std::vector<std::string> expected = {
        "Application.ActiveDocument",
        "Document.SetVariable(\"BACKGROUNDPLOT\", 0)",
        "Document.ActiveLayout",
        "Layout.RefreshPlotDeviceInfo()",
        "Layout.ConfigName = \"PDF\"",
        "Layout.CanonicalMediaName = \"ISO_A3_(420.00_x_297.00_MM)\"",
        "Layout.StyleSheet = \"monochrome.ctb\"",
        "Layout.PaperUnits = 1",
        "Layout.PlotRotation = 1",
        "Layout.SetWindowToPlot([0, 0, 0], [420, 297, 0])",  // the cell at the base point, chosen or not
        "Layout.PlotType = 4",
        "Layout.CenterPlot = true",
        "Layout.UseStandardScale = false",
        "Layout.SetCustomScale(1, 1.4142)",
        "Layout.StyleSheet",
        "Layout.PlotWithPlotStyles = true",
        "Layout.PlotWithLineweights = true",
        "Layout.ScaleLineweights = true",
        "Layout.RefreshPlotDeviceInfo()",
        "Application.ZoomWindow([420, 0, 0], [840, 297, 0])",
        "Layout.SetWindowToPlot([420, 0, 0], [840, 297, 0])",
        "Layout.RefreshPlotDeviceInfo()",
        "Layout.RefreshPlotDeviceInfo()",
        "Document.Plot",
        "Plot.NumberOfCopies = 1",
        "Plot.PlotToDevice(omitted)",
    };
    const std::vector<std::string> lines = trace();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(traced), lines.end()), expected);
    ASSERT_EQ(jobs().size(), 1u);
    const std::string job = jobs()[0];
    EXPECT_EQ(field(job, "device"), "\"PDF\"");
    EXPECT_EQ(field(job, "media"), "\"ISO_A3_(420.00_x_297.00_MM)\"");
    EXPECT_EQ(field(job, "styleTable"), "\"monochrome.ctb\"");
    EXPECT_EQ(field(job, "applyStyleTable"), "true");
    EXPECT_EQ(field(job, "rotation"), "1");
    EXPECT_EQ(field(job, "scale"), "[1,1.4142]");
    EXPECT_EQ(field(job, "copies"), "1");
    EXPECT_EQ(pumps(), 3) << "one pump before and two after the chosen cell, none for the other";
    EXPECT_EQ(f().form().text(), app::kMainCaption) << "the caption is the frame plot's business";
    expectIdle(before);
    EXPECT_EQ(backgroundPlot(), 0) << "left as the run set it";
}

TEST_F(GridBatch, CellWindowsInRowOrder) {
    struct Case {
        const char* name;
        const wchar_t *spacing, *base, *drawingScale, *sheet;
        int orientation;
        bool fromTop;
        int columns, rows;
        Windows expected;
    } cases[] = {
        {"from the bottom", L"420,300", L"0,0", L"1", L"A3", 0, false, 3, 2,
         {"[0,0,420,297]", "[420,0,840,297]", "[840,0,1260,297]", "[0,300,420,597]", "[420,300,840,597]",
          "[840,300,1260,597]"}},
        {"from the top", L"420,300", L"0,0", L"1", L"A3", 0, true, 3, 2,
         {"[0,300,420,597]", "[420,300,840,597]", "[840,300,1260,597]", "[0,0,420,297]", "[420,0,840,297]",
          "[840,0,1260,297]"}},
        {"portrait sheets overlap the next row", L"420,300", L"0,0", L"1", L"A3", 1, false, 3, 2,
         {"[0,0,297,420]", "[420,0,717,420]", "[840,0,1137,420]", "[0,300,297,720]", "[420,300,717,720]",
          "[840,300,1137,720]"}},
        {"A1 at 1:100", L"90000,60000", L"0,0", L"100", L"A1", 0, false, 2, 1,
         {"[0,0,84100,59400]", "[90000,0,174100,59400]"}},
        {"base point and blanks", L" 500 , 400 ", L"-100, 50", L"2", L"B5", 0, true, 1, 2,
         {"[-100,450,414,814]", "[-100,50,414,414]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        f().gridPage.spacing->setText(c.spacing);
        f().gridPage.basePoint->setText(c.base);
        f().gridPage.drawingScale->setText(c.drawingScale);
        f().gridPage.sheetSize->setText(c.sheet);
        f().gridPage.sheetOrientation->setItemIndex(c.orientation);
        f().gridPage.fromTop->setChecked(c.fromTop);
        grid(c.columns, c.rows);
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_EQ(windows(), c.expected);
        EXPECT_EQ(shell().messages, std::vector<std::wstring>{});
        expectIdle(before);
    }
}

TEST_F(GridBatch, OnlyChosenCellsArePlotted) {
    start();
    // Entry r x 3 + c: (1,0) and (0,1) and (2,1).
    grid(3, 2, {false, true, false, true, false, true});
    print();
    EXPECT_EQ(windows(), (Windows{"[420,0,840,297]", "[0,300,420,597]", "[840,300,1260,597]"}));
    EXPECT_EQ(pumps(), 3 * 3);
}

TEST_F(GridBatch, OneScaleAndOneRotationForEveryCell) {
    struct Case {
        const wchar_t* printScale;
        int rotation;
        std::string scale, rotationSent;
    } cases[] = {
        {L"abc", 1, "[1,1]", "1"},
        {L"", 0, "[1,1]", "0"},
        {L"200.2381", 3, "[1,200.2381]", "3"},
        {L" 50 ", 2, "[1,50]", "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(simtest::utf8(c.printScale) + " / " + c.rotationSent);
        start();
        f().gridPage.printScale->setText(c.printScale);
        f().gridPage.rotation->setItemIndex(c.rotation);
        grid(2, 2);
        print();
        const std::vector<std::string> all = jobs();
        ASSERT_EQ(all.size(), 4u);
        for (const std::string& job : all) {
            EXPECT_EQ(field(job, "scale"), c.scale);
            EXPECT_EQ(field(job, "rotation"), c.rotationSent);
        }
        int rotations = 0, scales = 0;
        for (const std::string& line : trace()) {
            rotations += line.starts_with("Layout.PlotRotation");
            scales += line.starts_with("Layout.SetCustomScale");
        }
        EXPECT_EQ(rotations, 1) << "set once in the block";
        EXPECT_EQ(scales, 1) << "set once in the block";
    }
}

TEST_F(GridBatch, NothingToPlotOrNoCadEndsAtOnceWithoutAMessage) {
    struct Case {
        const char* name;
        std::function<void(GridBatch&)> change;
        bool connects;  // the inputs hold, only the CAD host is missing
    } cases[] = {
        {"spacing without a comma", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"420"); }, false},
        {"spacing x zero", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"0,300"); }, false},
        {"spacing y negative", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"420,-300"); }, false},
        {"spacing not a number", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"abc,300"); }, false},
        {"drawing scale zero", [](GridBatch& t) { t.f().gridPage.drawingScale->setText(L"0"); }, false},
        {"drawing scale negative", [](GridBatch& t) { t.f().gridPage.drawingScale->setText(L"-1"); }, false},
        {"sheet without a size code", [](GridBatch& t) { t.f().gridPage.sheetSize->setText(L"Letter"); }, false},
        {"no columns", [](GridBatch& t) { t.grid(0, 2); }, false},
        {"no rows", [](GridBatch& t) { t.grid(3, 0); }, false},
        {"windows past every number", [](GridBatch& t) { t.f().gridPage.drawingScale->setText(L"1e306"); }, false},
        {"no CAD window", [](GridBatch& t) { t.shell().windows.erase(FormRig::kCadWindow); }, true},
        {"CAD object not made", [](GridBatch& t) { t.rig->cad.fail = true; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        c.change(*this);
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_TRUE(trace().empty());
        EXPECT_TRUE(jobs().empty());
        EXPECT_TRUE(shell().messages.empty());
        if (!c.connects) {
            EXPECT_EQ(rig->cad.created, 0) << "no connection without a grid to plot";
        }
        expectIdle(before);
    }
}

TEST_F(GridBatch, BlankPrintSettingShowsTheMessageAndEnds) {
    for (int blank = 0; blank < 3; ++blank) {
        SCOPED_TRACE("blank box " + std::to_string(2 + blank));
        start();
        ui::ComboBox* boxes[] = {f().gridPage.printer, f().gridPage.paper, f().gridPage.styleTable};
        boxes[blank]->setItemIndex(-1);
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_EQ(shell().messages, std::vector<std::wstring>{kBlankMessage});
        EXPECT_TRUE(trace().empty());
        expectIdle(before);
        EXPECT_NE(backgroundPlot(), 0) << "the host was not touched";
    }
}

TEST_F(GridBatch, AbortStopsTheRowAndEveryLaterRow) {
    struct Case {
        std::size_t pressAfter;
        bool fromTop;
        Windows plotted;
    } cases[] = {
        {1, false, {"[0,0,420,297]"}},
        {2, false, {"[0,0,420,297]", "[420,0,840,297]"}},
        {3, false, {"[0,0,420,297]", "[420,0,840,297]", "[840,0,1260,297]"}},  // the last of its row
        {4, true, {"[0,300,420,597]", "[420,300,840,597]", "[840,300,1260,597]", "[0,0,420,297]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("abort after plot " + std::to_string(c.pressAfter));
        start();
        f().gridPage.fromTop->setChecked(c.fromTop);
        const ui::Rect before = f().form().windowRect();
        bool pressed = false;
        std::size_t logAfterPress = 0;
        atEveryPump([&] {
            if (jobs().size() < c.pressAfter) return false;
            pressed = f().gridPage.stopButton->userClick();  // the plot request has just been made
            logAfterPress = shell().log.size();
            return true;
        });
        print();
        EXPECT_TRUE(pressed) << "中止 was not usable during the run";
        for (std::size_t i = logAfterPress; i < shell().log.size(); ++i)
            EXPECT_NE(shell().log[i], "pump") << "the run went on pumping after the abort";
        EXPECT_EQ(windows(), c.plotted);
        int zooms = 0;
        for (const std::string& line : trace()) zooms += line.starts_with("Application.ZoomWindow");
        EXPECT_EQ(zooms, static_cast<int>(c.pressAfter));
        expectIdle(before);
    }
}

// Three chosen cells, (0,0), (2,0) and (1,1); the failing call ends the run where it stands.
TEST_F(GridBatch, AFailedCallEndsTheRunThereWithTheWindowRestored) {
    struct Case {
        const char* rule;
        std::size_t plotted;
        bool garble = false;
    } cases[] = {
        {"ActiveDocument", 0},
        {"SetVariable", 0},
        {"ActiveLayout", 0},
        {"RefreshPlotDeviceInfo@1", 0},
        {"ConfigName", 0},
        {"CanonicalMediaName", 0},
        {"Layout.StyleSheet@1", 0},  // the table set
        {"PaperUnits", 0},
        {"PlotRotation", 0},
        {"SetWindowToPlot@1", 0},
        {"PlotType", 0},
        {"CenterPlot", 0},
        {"UseStandardScale", 0},
        {"SetCustomScale", 0},
        {"Layout.StyleSheet@2", 0},  // the table read back
        {"PlotWithPlotStyles", 0},
        {"PlotWithLineweights", 0},
        {"ScaleLineweights", 0},
        {"RefreshPlotDeviceInfo@2", 0},
        {"ZoomWindow@1", 0},
        {"SetWindowToPlot@2", 0},
        {"RefreshPlotDeviceInfo@3", 0},
        {"RefreshPlotDeviceInfo@4", 0},
        {"Document.Plot@1", 0},
        {"NumberOfCopies@1", 0},
        {"ZoomWindow@2", 1},
        {"RefreshPlotDeviceInfo@6", 1},
        {"Document.Plot@2", 1},
        {"SetWindowToPlot@4", 2},
        {"NumberOfCopies@3", 2},
        {"Document.Plot@2", 1, true},  // a plot service that is no plot service
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.garble ? "garbled " : "failing ") + c.rule);
        if (c.garble) start({}, {c.rule});
        else start({c.rule});
        grid(3, 2, {true, false, true, false, true, false});
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_EQ(jobs().size(), c.plotted);
        const std::vector<std::string> lines = trace();
        ASSERT_FALSE(lines.empty());
        if (!c.garble) {
            EXPECT_NE(lines.back().find(" fail: "), std::string::npos) << "calls went on after " << lines.back();
        }
        EXPECT_TRUE(shell().messages.empty());
        expectIdle(before);
    }
}

TEST_F(GridBatch, ARefusedPlotRequestIsSkipped) {
    start({"PlotToDevice@2"});
    grid(3, 1);
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_EQ(windows(), (Windows{"[0,0,420,297]", "[840,0,1260,297]"}));
    std::vector<std::string> progress;
    for (const std::string& entry : shell().log)
        if (entry.starts_with("progress")) progress.push_back(entry);
    EXPECT_EQ(progress, (std::vector<std::string>{"progress 0/3", "progress 1/3", "progress 2/3", "progress 3/3",
                                                  "progress 0/0"}));
    expectIdle(before);
}

TEST_F(GridBatch, TheGridHoldsStillWhileRunning) {
    start();
    shell().windows[900] = {L"", L"Shell_TrayWnd", {0, 1032, 1920, 1080}, 0, 0, false};
    const ui::Rect before = f().form().windowRect();
    std::vector<bool> accepted;
    ui::Rect during;
    shell().queued.push_back([&] {
        during = f().form().windowRect();
        accepted = {f().gridPage.captureButton->userClick(), f().gridPage.basePointButton->userClick(), f().gridPage.spacingButton->userClick(),
                    f().gridPage.printButton->userClick()};
        EXPECT_FALSE(f().gridPage.printButton->enabled());
        EXPECT_TRUE(f().gridPage.stopButton->enabled());
        EXPECT_TRUE(f().plotMayContinue);
        EXPECT_TRUE(f().gridPage.plotRunning());
        // The order changes and the flags shrink under the run: neither makes it visit a
        // row twice or read a flag that is gone.
        f().gridPage.fromTop->setChecked(true);
        f().gridPage.session.chosenCells.resize(4);
    });
    print();
    EXPECT_EQ(accepted, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(during, (ui::Rect{0, 1080 - before.height - 48, before.width, before.height}));
    EXPECT_EQ(windows(), (Windows{"[0,0,420,297]", "[420,0,840,297]", "[840,0,1260,297]", "[0,300,420,597]"}));
    expectIdle(before);
}

}  // namespace
