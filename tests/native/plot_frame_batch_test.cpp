// The frame batch plot ("印刷" on the frame page) on its own, against the stand-in in
// process: each frame plotted as a window at its own print scale and turned by the
// rotation chosen for landscape or portrait frames, a paper without a size code, and the
// frame list read by position. What both pages' plots do alike is in plot_batch_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "plot_batch_rig.h"

namespace {

using testing_support::FrameBatch;
using testing_support::Windows;
using testing_support::field;
using testing_support::frame;
using testing_support::kA3;
using testing_support::settingsBlock;

// The drawing units per paper unit a job was plotted at.
double drawingScale(const std::string& line) {
    const std::string scale = field(line, "scale");  // [paper,drawing]
    EXPECT_EQ(scale.substr(0, 3), "[1,") << line;
    return std::strtod(scale.c_str() + 3, nullptr);
}

TEST_F(FrameBatch, SendsTheSettingsBlockThenEachFramesSettingsInOrder) {
    start();
    // The block takes the first record's window although it is not chosen.
    f().framePage.session.frames = {frame(10, 20, 4210, 2990, false), frame(0, 0, 42000, 29700)};
    print();
    std::vector<std::string> expected = {"Application.ActiveDocument", "Document.GetVariable(\"BACKGROUNDPLOT\")",
                                         "Document.SetVariable(\"BACKGROUNDPLOT\", 0)", "Document.ActiveLayout"};
    for (const std::string& line : settingsBlock(std::nullopt, "[10, 20, 0], [4210, 2990, 0]", "1"))
        expected.push_back(line);
    for (const char* line : {
             "Application.ZoomWindow([0, 0, 0], [42000, 29700, 0])",
             "Layout.SetWindowToPlot([0, 0, 0], [42000, 29700, 0])",
             "Layout.PlotRotation = 1",
             "Layout.SetCustomScale(1, 100)",
             "Layout.RefreshPlotDeviceInfo()",
             "Document.Plot",
             "Plot.NumberOfCopies = 1",
             "Plot.PlotToDevice(omitted)",
             "Document.SetVariable(\"BACKGROUNDPLOT\", 2)",
         })
        expected.push_back(line);
    EXPECT_EQ(trace(), expected);
    EXPECT_EQ(f().form().text(), app::kMainCaption);
    ASSERT_EQ(jobs().size(), 1u);
    EXPECT_EQ(field(jobs()[0], "window"), "[0,0,42000,29700]");
}

// The CAD ends in the middle of a run: the run stops there and says why, the window is
// back, and the next capture reaches the CAD started again.
TEST_F(FrameBatch, TheCadEndingInARunStopsItAndTheNextCaptureReachesItStartedAgain) {
    start({}, {}, {"ZoomWindow@2"});
    chooseSheets({true, true, true, false, false, false});
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_EQ(jobs().size(), 1u);
    ASSERT_EQ(shell().messages.size(), 1u);
    EXPECT_EQ(shell().messages[0].find(L"印刷は 2/3 枚目 (枠 2) で止まりました。\nThe RPC server is unavailable."), 0u)
        << base::toUtf8(shell().messages[0]);
    expectIdle(before);

    rig->restartCad(simtest::drawingOf({simtest::rectangle(L"MORVEL", 0, 0, 420, 297),
                                        simtest::rectangle(L"MORVEL", 500, 0, 920, 297)}));
    ASSERT_TRUE(f().framePage.captureButton->userClick());
    EXPECT_EQ(f().framePage.session.frames.size(), 2u) << "the CAD started again was not reached";
    EXPECT_EQ(rig->host->liveObjects(), 0);
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

// The host plots an automation client's sheets in the background unless BACKGROUNDPLOT
// is 0, and refuses a plot while one is pending: the run plots in the foreground and
// leaves the user's value as it found it, however it ends.
TEST_F(FrameBatch, PlotsInTheForegroundAndPutsTheUsersBackgroundPlotBackOnEveryPath) {
    struct Case {
        const char* name;
        int userValue;
        std::vector<std::string> fails;
        std::size_t stopAfter;  // sheets plotted when "中止" is pressed; 0: never
        std::size_t plotted;
    };
    const std::vector<Case> cases = {
        {"to the end", 1, {}, 0, 6},
        {"to the end, publishing in the background too", 3, {}, 0, 6},
        {"to the end, already in the foreground", 0, {}, 0, 6},
        {"stopped", 1, {}, 2, 2},
        {"a call failing mid-run", 1, {"ZoomWindow@4"}, 0, 3},
        {"the plot service failing mid-run", 1, {"Document.Plot@2"}, 0, 1},
        {"the switch to the foreground failing", 1, {"SetVariable@1"}, 0, 0},
        {"the value put back failing once", 1, {"SetVariable@2"}, 0, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        setBackgroundPlot(c.userValue);
        sim::Options faults;
        faults.fails = c.fails;
        rig->host->replaceFaults(faults);  // counting the run's calls only
        const std::size_t traced = trace().size();
        const ui::Rect before = f().form().windowRect();
        if (c.stopAfter > 0) {
            atEveryPump([&] {
                if (jobs().size() < c.stopAfter) return false;
                EXPECT_TRUE(stopButton().userClick());
                return true;
            });
        }
        print();
        const Windows all = sheetWindows();
        EXPECT_EQ(windows(), Windows(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(c.plotted)));
        EXPECT_FALSE(rig->host->finishBackgroundPlot()) << "a sheet was left plotting in the background";
        const std::vector<std::string> lines = trace();
        const bool switched = std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(traced), lines.end(),
                                          [](const std::string& l) { return l.starts_with("Document.SetVariable"); });
        EXPECT_EQ(switched, c.userValue != 0) << "BACKGROUNDPLOT is written only when it is not 0";
        EXPECT_EQ(backgroundPlot(), c.userValue) << "the user's BACKGROUNDPLOT";
        expectIdle(before);
    }
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

}  // namespace
