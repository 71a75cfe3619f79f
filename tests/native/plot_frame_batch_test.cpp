// The frame batch plot ("印刷") and "中止" on the main window, against the stand-in in
// process: what reaches the layout and in which order (its call trace), what is plotted
// (its journal), and the window, buttons and flags around a run however it ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "form_rig.h"
#include "sheets/style_table.h"
#include "sim_test_support.h"

namespace {

using frames::FrameRect;
using testing_support::FormRig;

constexpr wchar_t kA3[] = L"ISO_A3_(420.00_x_297.00_MM)";
constexpr wchar_t kBlankMessage[] = L"印刷設定が空白です.";

FrameRect frame(double minx, double miny, double maxx, double maxy, bool chosen = true) {
    FrameRect f;
    f.minx = minx, f.miny = miny, f.maxx = maxx, f.maxy = maxy;
    f.chosen = chosen;
    return f;
}

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

// The drawing units per paper unit a job was plotted at.
double drawingScale(const std::string& line) {
    const std::string scale = field(line, "scale");  // [paper,drawing]
    EXPECT_EQ(scale.substr(0, 3), "[1,") << line;
    return std::strtod(scale.c_str() + 3, nullptr);
}

struct FrameBatch : ::testing::Test {
    simtest::TempDir dir;
    std::unique_ptr<FormRig> rig;

    // The window with the stand-in behind it, settings chosen: the PDF device, A3 paper
    // and a colour-dependent style table.
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
        choose(*f().framePage.printer, L"PDF");
        choose(*f().framePage.paper, kA3);
        choose(*f().framePage.styleTable, L"monochrome.ctb");
    }
    static void choose(ui::ComboBox& box, const std::wstring& item) {
        box.setItems({L"first entry", item});
        box.setItemIndex(1);
    }
    app::MainWindow& f() { return rig->f(); }
    testing_support::FakeShell& shell() { return rig->shell; }
    std::vector<std::string> jobs() { return simtest::readLines(dir / "journal.jsonl"); }
    std::vector<std::string> trace() { return simtest::readLines(dir / "trace.txt"); }
    std::vector<std::string> windows() {
        std::vector<std::string> out;
        for (const std::string& job : jobs()) out.push_back(field(job, "window"));
        return out;
    }
    void print() { ASSERT_TRUE(f().framePage.printButton->userClick()); }

    // `action` runs at every pump of the run until it returns true.
    void atEveryPump(std::function<bool()> action) {
        shell().queued.push_back([this, action] {
            if (!action()) atEveryPump(action);
        });
    }

    // Idle again, whatever ended the run.
    void expectIdle(const ui::Rect& windowBefore) {
        EXPECT_TRUE(f().framePage.printButton->enabled());
        EXPECT_FALSE(f().framePage.stopButton->enabled());
        EXPECT_FALSE(f().plotMayContinue);
        EXPECT_FALSE(f().framePage.plotRunning());
        EXPECT_TRUE(f().framePage.captureButton->enabled());
        EXPECT_TRUE(f().framePage.fromTop->enabled());
        EXPECT_EQ(shell().taskbarProgress, (std::pair<int, int>{0, 0}));
        EXPECT_EQ(f().form().windowRect(), windowBefore);
        EXPECT_EQ(rig->host->liveObjects(), 0) << "an automation object outlived the run";
    }
};

TEST_F(FrameBatch, SendsTheSettingsBlockThenEachFramesSettingsInOrder) {
    start();
    // The block takes the first record's window although it is not chosen.
    f().framePage.session.frames = {frame(10, 20, 4210, 2990, false), frame(0, 0, 42000, 29700)};
    print();
    const std::vector<std::string> expected = {
        "Application.ActiveDocument",
        "Document.ActiveLayout",
        "Layout.RefreshPlotDeviceInfo()",
        "Layout.ConfigName = \"PDF\"",
        "Layout.CanonicalMediaName = \"ISO_A3_(420.00_x_297.00_MM)\"",
        "Layout.StyleSheet = \"monochrome.ctb\"",
        "Layout.PaperUnits = 1",
        "Layout.SetWindowToPlot([10, 20, 0], [4210, 2990, 0])",
        "Layout.PlotType = 4",
        "Layout.CenterPlot = true",
        "Layout.UseStandardScale = false",
        "Layout.SetCustomScale(1, 1)",
        "Layout.StyleSheet",
        "Layout.PlotWithPlotStyles = true",
        "Layout.PlotWithLineweights = true",
        "Layout.ScaleLineweights = true",
        "Layout.RefreshPlotDeviceInfo()",
        "Application.ZoomWindow([0, 0, 0], [42000, 29700, 0])",
        "Layout.SetWindowToPlot([0, 0, 0], [42000, 29700, 0])",
        "Layout.PlotRotation = 1",
        "Layout.SetCustomScale(1, 100)",
        "Layout.RefreshPlotDeviceInfo()",
        "Document.Plot",
        "Plot.NumberOfCopies = 1",
        "Plot.PlotToDevice(omitted)",
    };
    EXPECT_EQ(trace(), expected);
    EXPECT_EQ(f().form().text(), L"201");
    ASSERT_EQ(jobs().size(), 1u);
    const std::string job = jobs()[0];
    EXPECT_EQ(field(job, "device"), "\"PDF\"");
    EXPECT_EQ(field(job, "media"), "\"ISO_A3_(420.00_x_297.00_MM)\"");
    EXPECT_EQ(field(job, "styleTable"), "\"monochrome.ctb\"");
    EXPECT_EQ(field(job, "applyStyleTable"), "true");
    EXPECT_EQ(field(job, "centred"), "true");
    EXPECT_EQ(field(job, "areaKind"), "4");
    EXPECT_EQ(field(job, "listedScale"), "false");
    EXPECT_EQ(field(job, "copies"), "1");
    EXPECT_EQ(field(job, "printLineWeights"), "true");
    EXPECT_EQ(field(job, "lineWeightScaling"), "true");
}

TEST_F(FrameBatch, PlotsTheChosenFramesInListOrderWithoutPumpingForTheOthers) {
    start();
    f().framePage.session.frames = {frame(5000, 0, 9200, 2970), frame(0, 0, 4200, 2970, false), frame(0, 5000, 4200, 7970),
                       frame(5000, 5000, 9200, 7970, false), frame(-3000, 100, 1200, 3070)};
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_EQ(windows(), (std::vector<std::string>{"[5000,0,9200,2970]", "[0,5000,4200,7970]", "[-3000,100,1200,3070]"}));
    int pumps = 0;
    for (const std::string& entry : shell().log) pumps += entry == "pump";
    EXPECT_EQ(pumps, 3 * 3) << "one pump before and two after each chosen frame, none for the others";
    EXPECT_EQ(f().framePage.session.frames.size(), 5u);
    expectIdle(before);
}

TEST_F(FrameBatch, EachFrameAtItsOwnScaleAndRotation) {
    struct Case {
        const char* name;
        double width, height;
        const wchar_t* paper;
        int landscapeRotation, portraitRotation;
        int rotation;
        double scale;
        const wchar_t* shown;
    } cases[] = {
        {"landscape A3", 42000, 29700, kA3, 1, 0, 1, 100, L"100.0000"},
        {"portrait A3", 29700, 42000, kA3, 1, 3, 3, 100, L"100.0000"},
        {"square A3", 8410, 8410, kA3, 0, 2, 2, 8410.0 / 420, L"20.0238"},
        {"landscape A4 turned 180", 14850, 2000, L"ISO_A4_(297.00_x_210.00_MM)", 2, 1, 2, 50, L"50.0000"},
        {"portrait A1", 1000, 8410, L"ISO_A1_(841.00_x_594.00_MM)", 0, 1, 1, 10, L"10.0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        choose(*f().framePage.paper, c.paper);
        f().framePage.landscapeRotation->setItemIndex(c.landscapeRotation);
        f().framePage.portraitRotation->setItemIndex(c.portraitRotation);
        f().framePage.session.frames = {frame(100, 200, 100 + c.width, 200 + c.height)};
        print();
        ASSERT_EQ(jobs().size(), 1u);
        EXPECT_EQ(field(jobs()[0], "rotation"), std::to_string(c.rotation));
        EXPECT_DOUBLE_EQ(drawingScale(jobs()[0]), c.scale);
        EXPECT_EQ(f().framePage.printScale->text(), c.shown);
    }
}

TEST_F(FrameBatch, PaperWithoutSizeCodePlotsOneToOneKeepingRotationAndEdit6) {
    start();
    f().framePage.landscapeRotation->setItemIndex(2);
    f().framePage.session.frames = {frame(0, 0, 42000, 29700)};
    print();  // leaves the layout turned by 180 degrees, framePrintScale at 100
    ASSERT_EQ(jobs().size(), 1u);
    const std::size_t firstRun = trace().size();

    choose(*f().framePage.paper, L"Letter_(8.50_x_11.00_Inches)");
    f().framePage.session.frames = {frame(0, 0, 420, 297), frame(0, 0, 200, 900)};
    print();
    const std::vector<std::string> all = jobs();
    ASSERT_EQ(all.size(), 3u);
    for (std::size_t i = 1; i < all.size(); ++i) {
        EXPECT_EQ(field(all[i], "media"), "\"Letter_(8.50_x_11.00_Inches)\"");
        EXPECT_EQ(field(all[i], "scale"), "[1,1]");
        EXPECT_EQ(field(all[i], "rotation"), "2");
    }
    EXPECT_EQ(f().framePage.printScale->text(), L"100.0000");
    const std::vector<std::string> lines = trace();
    for (std::size_t i = firstRun; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].find("PlotRotation"), std::string::npos) << lines[i];
}

TEST(StyleTableName, OnlyAColourDependentTableHasItsStylesApplied) {
    struct Case {
        const wchar_t* name;
        const wchar_t* extension;
        bool colour;
    } cases[] = {
        {L"plain.ctb", L".ctb", true},
        {L"Plain.CTB", L".CTB", true},
        {L"plain.Ctb", L".Ctb", true},
        {L"plain.stb", L".stb", false},
        {L"plain", L"", false},
        {L"", L"", false},
        {L"C:\\a.ctb\\x", L"", false},
        {L"C:\\tables.stb\\x.ctb", L".ctb", true},
        {L"x.ctb:stream", L"", false},
        {L"a.stb.ctb", L".ctb", true},
        {L"a.ctb.stb", L".stb", false},
        {L"plain.ctbx", L".ctbx", false},
        {L"plain.ctb ", L".ctb ", false},
        {L".ctb", L".ctb", true},
        {L"plain.ｃtb", L".ｃtb", false},  // only ASCII letters count as the same letter
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plot::fileExtension(c.name), c.extension) << simtest::utf8(c.name);
        EXPECT_EQ(plot::isColourStyleTable(c.name), c.colour) << simtest::utf8(c.name);
    }
}

TEST_F(FrameBatch, StylesAppliedByTheTableTheLayoutReportsBack) {
    struct Case {
        const wchar_t* chosen;
        bool applied;
    } cases[] = {{L"acad.ctb", true}, {L"Grayscale.ctb", true}, {L"acad.stb", false}, {L"MONOCHROME.STB", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(simtest::utf8(c.chosen));
        start();
        choose(*f().framePage.styleTable, c.chosen);
        f().framePage.session.frames = {frame(0, 0, 420, 297)};
        print();
        ASSERT_EQ(jobs().size(), 1u);
        EXPECT_EQ(field(jobs()[0], "applyStyleTable"), c.applied ? "true" : "false");
    }
}

TEST_F(FrameBatch, NoFrameChosenSendsTheBlockAndPlotsNothing) {
    start();
    f().framePage.session.frames = {frame(10, 20, 30, 40, false), frame(0, 0, 420, 297, false)};
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_TRUE(jobs().empty());
    const std::vector<std::string> lines = trace();
    ASSERT_EQ(lines.size(), 17u) << "the document, the layout and the block of 15";
    EXPECT_EQ(lines[7], "Layout.SetWindowToPlot([10, 20, 0], [30, 40, 0])");
    EXPECT_EQ(lines.back(), "Layout.RefreshPlotDeviceInfo()");
    for (const std::string& entry : shell().log) EXPECT_NE(entry, "pump");
    EXPECT_EQ(f().form().text(), L"201");
    expectIdle(before);
}

TEST_F(FrameBatch, EmptyListOrNoCadEndsAtOnceWithoutAMessage) {
    struct Case {
        const char* name;
        bool frames, cadWindow, cadObject;
    } cases[] = {
        {"empty frame list", false, true, true},
        {"no CAD window", true, false, true},
        {"CAD object not made", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        if (c.frames) f().framePage.session.frames = {frame(0, 0, 420, 297)};
        if (!c.cadWindow) shell().windows.erase(FormRig::kCadWindow);
        rig->cad.fail = !c.cadObject;
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_TRUE(trace().empty());
        EXPECT_TRUE(shell().messages.empty());
        EXPECT_EQ(f().form().text(), app::kMainCaption);
        if (!c.frames) EXPECT_EQ(rig->cad.created, 0) << "no connection for an empty list";
        expectIdle(before);
    }
}

TEST_F(FrameBatch, BlankPrintSettingShowsTheMessageAndEnds) {
    for (int blank = 0; blank < 3; ++blank) {
        SCOPED_TRACE("blank box " + std::to_string(7 + blank));
        start();
        ui::ComboBox* boxes[] = {f().framePage.printer, f().framePage.paper, f().framePage.styleTable};
        boxes[blank]->setItemIndex(-1);
        f().framePage.session.frames = {frame(0, 0, 420, 297)};
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_EQ(shell().messages, std::vector<std::wstring>{kBlankMessage});
        EXPECT_TRUE(trace().empty());
        EXPECT_EQ(f().form().text(), app::kMainCaption);
        expectIdle(before);
    }
}

TEST_F(FrameBatch, AbortDuringTheThirdOfFivePlotsTheThirdAndNoMore) {
    start();
    for (int i = 0; i < 5; ++i) f().framePage.session.frames.push_back(frame(i * 5000, 0, i * 5000 + 4200, 2970));
    const ui::Rect before = f().form().windowRect();
    bool pressed = false;
    std::size_t logAfterPress = 0;
    atEveryPump([&] {
        if (jobs().size() < 3) return false;
        pressed = f().framePage.stopButton->userClick();  // the third plot request has just been made
        logAfterPress = shell().log.size();
        return true;
    });
    print();
    EXPECT_TRUE(pressed) << "中止 was not usable during the run";
    for (std::size_t i = logAfterPress; i < shell().log.size(); ++i)
        EXPECT_NE(shell().log[i], "pump") << "the run went on pumping after the abort";
    EXPECT_EQ(windows(), (std::vector<std::string>{"[0,0,4200,2970]", "[5000,0,9200,2970]", "[10000,0,14200,2970]"}));
    int zooms = 0;
    for (const std::string& line : trace()) zooms += line.starts_with("Application.ZoomWindow");
    EXPECT_EQ(zooms, 3);
    EXPECT_EQ(shell().log.back(), "progress 0/0");
    expectIdle(before);
}

TEST_F(FrameBatch, AbortButtonClearsTheFlagAndPumpsOnce) {
    start();
    f().plotMayContinue = true;
    int ran = 0;
    shell().queued.push_back([&] { ++ran; });
    f().stopPlot();
    EXPECT_FALSE(f().plotMayContinue);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(shell().log, std::vector<std::string>{"pump"});
}

// Three chosen frames; the failing call ends the run where it stands.
TEST_F(FrameBatch, AFailedCallEndsTheRunThereWithTheWindowRestored) {
    struct Case {
        const char* rule;
        std::size_t plotted;
        bool garble = false;
    } cases[] = {
        {"ActiveDocument", 0},
        {"ActiveLayout", 0},
        {"RefreshPlotDeviceInfo@1", 0},
        {"ConfigName", 0},
        {"CanonicalMediaName", 0},
        {"Layout.StyleSheet@1", 0},  // the table set
        {"PaperUnits", 0},
        {"SetWindowToPlot@1", 0},
        {"PlotType", 0},
        {"CenterPlot", 0},
        {"UseStandardScale", 0},
        {"SetCustomScale@1", 0},
        {"Layout.StyleSheet@2", 0},  // the table read back
        {"PlotWithPlotStyles", 0},
        {"PlotWithLineweights", 0},
        {"ScaleLineweights", 0},
        {"RefreshPlotDeviceInfo@2", 0},
        {"ZoomWindow@1", 0},
        {"SetWindowToPlot@2", 0},
        {"PlotRotation@1", 0},
        {"SetCustomScale@2", 0},
        {"RefreshPlotDeviceInfo@3", 0},
        {"Document.Plot@1", 0},
        {"NumberOfCopies@1", 0},
        {"ZoomWindow@2", 1},
        {"Document.Plot@2", 1},
        {"PlotRotation@3", 2},
        {"NumberOfCopies@3", 2},
        {"Document.Plot@2", 1, true},  // a plot service that is no plot service
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.garble ? "garbled " : "failing ") + c.rule);
        if (c.garble) start({}, {c.rule});
        else start({c.rule});
        f().framePage.session.frames = {frame(0, 0, 4200, 2970), frame(5000, 0, 9200, 2970), frame(0, 5000, 2970, 9200)};
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_EQ(jobs().size(), c.plotted);
        const std::vector<std::string> lines = trace();
        ASSERT_FALSE(lines.empty());
        if (!c.garble) EXPECT_NE(lines.back().find(" fail: "), std::string::npos) << "calls went on after " << lines.back();
        EXPECT_TRUE(shell().messages.empty());
        expectIdle(before);
    }
}

TEST_F(FrameBatch, ARefusedPlotRequestIsSkipped) {
    start({"PlotToDevice@2"});
    f().framePage.session.frames = {frame(0, 0, 4200, 2970), frame(5000, 0, 9200, 2970), frame(0, 5000, 4200, 7970)};
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_EQ(windows(), (std::vector<std::string>{"[0,0,4200,2970]", "[0,5000,4200,7970]"}));
    std::vector<std::string> progress;
    for (const std::string& entry : shell().log)
        if (entry.starts_with("progress")) progress.push_back(entry);
    EXPECT_EQ(progress, (std::vector<std::string>{"progress 0/3", "progress 1/3", "progress 2/3", "progress 3/3",
                                                  "progress 0/0"}));
    expectIdle(before);
}

TEST_F(FrameBatch, CaptureReorderAndSecondRunAreRefusedWhileRunning) {
    start();
    f().framePage.session.frames = {frame(0, 0, 4200, 2970), frame(5000, 0, 9200, 2970), frame(0, 5000, 4200, 7970)};
    const frames::FrameList list = f().framePage.session.frames;
    const bool orderBefore = f().framePage.fromTop->checked();
    std::vector<bool> accepted;
    shell().queued.push_back([&] {
        accepted = {f().framePage.captureButton->userClick(), f().framePage.fromTop->userClick(), f().framePage.printButton->userClick()};
    });
    print();
    EXPECT_EQ(accepted, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(f().framePage.fromTop->checked(), orderBefore);
    EXPECT_EQ(f().framePage.session.frames, list);
    EXPECT_EQ(jobs().size(), 3u);
    EXPECT_TRUE(f().framePage.captureButton->enabled());
    EXPECT_TRUE(f().framePage.fromTop->enabled());
}

TEST_F(FrameBatch, AListThatShrinksUnderTheRunIsNotReadPastItsEnd) {
    start();
    f().framePage.session.frames = {frame(0, 0, 4200, 2970), frame(5000, 0, 9200, 2970), frame(0, 5000, 4200, 7970)};
    const ui::Rect before = f().form().windowRect();
    shell().queued.push_back([&] { f().framePage.session.frames.resize(1); });
    print();
    EXPECT_EQ(windows(), std::vector<std::string>{"[0,0,4200,2970]"});
    expectIdle(before);
}

TEST_F(FrameBatch, WindowWaitsAboveTheTaskbarDuringTheRun) {
    struct Case {
        const char* name;
        bool taskbar;
    } cases[] = {{"taskbar", true}, {"no taskbar", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        if (c.taskbar) shell().windows[900] = {L"", L"Shell_TrayWnd", {0, 1032, 1920, 1080}, 0, 0, false};
        f().framePage.session.frames = {frame(0, 0, 4200, 2970)};
        const ui::Rect before = f().form().windowRect();
        ASSERT_NE(before.left, 0);
        ui::Rect during;
        shell().queued.push_back([&] { during = f().form().windowRect(); });
        print();
        const ui::Rect parked{0, 1080 - before.height - 48, before.width, before.height};
        EXPECT_EQ(during, c.taskbar ? parked : before);
        expectIdle(before);
    }
}

}  // namespace
