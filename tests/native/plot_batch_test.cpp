// What the batch plots of both pages ("印刷" on the frame page and on the equal-interval
// page) do alike, written once and run for each page: the settings block, the chosen
// sheets only, the settings checked first, the CAD host missing, "中止", failed and
// refused calls, the page held still while the run lasts, the window parked above the
// taskbar and the taskbar progress. What one page does on its own lies in its file
// (plot_frame_batch_test.cpp, plot_grid_batch_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/plot_run.h"
#include "base/text_codec.h"
#include "desktop/button_press.h"
#include "plot_batch_rig.h"
#include "sheets/style_table.h"

namespace {

using testing_support::BatchPlot;
using testing_support::FormRig;
using testing_support::Page;
using testing_support::Windows;
using testing_support::field;
using testing_support::kBlankMessage;

TEST_P(BatchPlot, TheJobCarriesTheSettingsOfTheBlock) {
    start();
    chooseSheets({false, true, false, false, false, false});
    print();
    ASSERT_EQ(jobs().size(), 1u);
    const std::string job = jobs()[0];
    EXPECT_EQ(field(job, "window"), sheetWindows()[1]);
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

TEST_P(BatchPlot, StylesAppliedByTheTableTheLayoutReportsBack) {
    struct Case {
        const wchar_t* chosen;
        bool applied;
    } cases[] = {{L"acad.ctb", true}, {L"Grayscale.ctb", true}, {L"acad.stb", false}, {L"MONOCHROME.STB", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(simtest::utf8(c.chosen));
        start();
        choose(*settingBoxes()[2], c.chosen);
        chooseSheets({true, false, false, false, false, false});
        print();
        ASSERT_EQ(jobs().size(), 1u);
        EXPECT_EQ(field(jobs()[0], "applyStyleTable"), c.applied ? "true" : "false");
    }
}

TEST_P(BatchPlot, PlotsOnlyTheChosenSheetsInOrderPumpingForThemOnly) {
    start();
    const std::vector<bool> chosen{true, false, true, false, true, false};
    chooseSheets(chosen);
    const std::vector<std::string> sheets = sheetsNow();
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_EQ(windows(), windowsOf(chosen));
    EXPECT_EQ(pumps(), 3 * 3) << "one pump before and two after each chosen sheet, none for the others";
    EXPECT_EQ(sheetsNow(), sheets) << "the run leaves the sheets and their choice as they were";
    expectIdle(before);
}

TEST_P(BatchPlot, NoSheetChosenSendsTheBlockAndPlotsNothing) {
    start();
    chooseSheets(std::vector<bool>(6, false));
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_TRUE(jobs().empty());
    std::vector<std::string> expected = traceOfTheBlock();
    for (const std::string& line : traceOfTheEnd()) expected.push_back(line);
    EXPECT_EQ(trace(), expected) << "the block takes the first sheet's window although it is not chosen";
    EXPECT_EQ(pumps(), 0);
    EXPECT_EQ(f().form().text(), app::kMainCaption);
    expectIdle(before);
}

TEST_P(BatchPlot, NoSheetsOrNoCadEndsAtOnceWithoutAMessage) {
    struct Case {
        const char* name;
        bool sheets, cadWindow, cadObject;
    } cases[] = {
        {"no sheets", false, true, true},
        {"no CAD window", true, false, true},
        {"CAD object not made", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        if (!c.sheets) removeSheets();
        if (!c.cadWindow) shell().windows.erase(FormRig::kCadWindow);
        rig->cad.fail = !c.cadObject;
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_TRUE(trace().empty());
        EXPECT_TRUE(jobs().empty());
        EXPECT_TRUE(shell().messages.empty());
        EXPECT_EQ(f().form().text(), app::kMainCaption);
        if (!c.sheets) {
            EXPECT_EQ(rig->cad.created, 0) << "no connection without sheets";
        }
        expectIdle(before);
    }
}

TEST_P(BatchPlot, BlankPrintSettingShowsTheMessageAndEnds) {
    for (int blank = 0; blank < 3; ++blank) {
        start();
        ui::ComboBox& box = *settingBoxes()[static_cast<std::size_t>(blank)];
        SCOPED_TRACE("blank " + box.name());
        box.setItemIndex(-1);
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_EQ(shell().messages, std::vector<std::wstring>{kBlankMessage});
        EXPECT_TRUE(trace().empty());
        EXPECT_EQ(f().form().text(), app::kMainCaption);
        expectIdle(before);
        EXPECT_NE(backgroundPlot(), 0) << "the host was not touched";
    }
}

TEST_P(BatchPlot, AbortAfterAPlotRequestPlotsThatSheetAndNoMore) {
    for (const std::size_t pressAfter : {1u, 2u, 3u, 5u}) {
        SCOPED_TRACE("abort after plot " + std::to_string(pressAfter));
        start();
        const ui::Rect before = f().form().windowRect();
        bool pressed = false;
        std::size_t logAfterPress = 0;
        atEveryPump([&] {
            if (jobs().size() < pressAfter) return false;
            pressed = stopButton().userClick();  // the plot request has just been made
            logAfterPress = shell().log.size();
            return true;
        });
        print();
        EXPECT_TRUE(pressed) << "中止 was not usable during the run";
        for (std::size_t i = logAfterPress; i < shell().log.size(); ++i)
            EXPECT_NE(shell().log[i], "pump") << "the run went on pumping after the abort";
        const Windows all = sheetWindows();
        EXPECT_EQ(windows(), Windows(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(pressAfter)));
        EXPECT_EQ(zooms(), static_cast<int>(pressAfter));
        EXPECT_EQ(shell().log.back(), "progress 0/0");
        expectIdle(before);
    }
}

// "中止" pressed while the CAD plots a sheet: the system dispatches no input while the
// call is outstanding and may discard it, so the button never gets the press, which
// reaches the run only as noted during the call (desktop/button_press.h). The run stops
// after that sheet all the same, and the press is taken once: the next run plots every
// sheet.
TEST_P(BatchPlot, StopPressedWhileTheCadPlotsASheetStopsTheRunAfterIt) {
    for (const int pressDuring : {1, 4, 6}) {
        SCOPED_TRACE("中止 pressed during plot " + std::to_string(pressDuring));
        start();
        const ui::Rect before = f().form().windowRect();
        int plots = 0;
        rig->cad.alter = [&](std::wstring_view member, const cad::ValueList&, cad::Value&) {
            if (member != L"PlotToDevice" || ++plots != pressDuring) return;
            const ui::Button& stop = stopButton();
            shell().inputDuringCall({desktop::QueuedInput::Kind::LeftButtonUp, stop.width() / 2, stop.height() / 2});
        };
        print();
        const Windows all = sheetWindows();
        EXPECT_EQ(windows(), Windows(all.begin(), all.begin() + pressDuring));
        expectIdle(before);

        rig->cad.alter = {};
        print();
        EXPECT_EQ(jobs().size(), static_cast<std::size_t>(pressDuring) + all.size()) << "the next run";
    }
}

// What counts as a press on a button when it arrives while a call is outstanding: a
// 47 x 31 button, as "中止" is at 96 dpi.
TEST(PressDuringACall, WhatCountsAsAPress) {
    using Kind = desktop::QueuedInput::Kind;
    const struct {
        const char* what;
        desktop::QueuedInput input;
        bool enabled;
        bool press;
    } cases[] = {
        {"the left button released over it", {Kind::LeftButtonUp, 23, 15}, true, true},
        {"released over its top-left pixel", {Kind::LeftButtonUp, 0, 0}, true, true},
        {"released over its bottom-right pixel", {Kind::LeftButtonUp, 46, 30}, true, true},
        {"released just right of it", {Kind::LeftButtonUp, 47, 15}, true, false},
        {"released just below it", {Kind::LeftButtonUp, 23, 31}, true, false},
        {"released just left of it", {Kind::LeftButtonUp, -1, 15}, true, false},
        {"released just above it", {Kind::LeftButtonUp, 23, -1}, true, false},
        {"released over it while it is disabled", {Kind::LeftButtonUp, 23, 15}, false, false},
        {"the space bar released", {Kind::KeyUp, 0, 0, desktop::kSpaceKey}, true, true},
        {"the space bar pressed, not yet released", {Kind::KeyDown, 0, 0, desktop::kSpaceKey}, true, false},
        {"Enter pressed", {Kind::KeyDown, 0, 0, desktop::kReturnKey}, true, true},
        {"Enter released", {Kind::KeyUp, 0, 0, desktop::kReturnKey}, true, false},
        {"another key released", {Kind::KeyUp, 0, 0, 'A'}, true, false},
        {"the space bar released while it is disabled", {Kind::KeyUp, 0, 0, desktop::kSpaceKey}, false, false},
        {"another message over it", {Kind::Other, 23, 15}, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(desktop::pressesButton(c.input, {47, 31, c.enabled}), c.press) << c.what;
}

TEST_P(BatchPlot, StopButtonClearsTheFlagAndPumpsOnce) {
    start();
    stopButton().setEnabled(true);  // as during a run
    f().plotMayContinue = true;
    int ran = 0;
    shell().queued.push_back([&] { ++ran; });
    ASSERT_TRUE(stopButton().userClick());
    EXPECT_FALSE(f().plotMayContinue);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(shell().log, std::vector<std::string>{"pump"});
}

// Three chosen sheets; the failing call ends the run where it stands, and the end says
// where and why.
TEST_P(BatchPlot, AFailedCallEndsTheRunThereWithTheWindowRestoredAndSaysSo) {
    struct Case {
        const char* rule;
        std::size_t plotted;
        bool garble = false;
    };
    // The calls of the block and of each sheet that both pages make.
    std::vector<Case> cases = {
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
        {"Document.Plot@1", 0},
        {"NumberOfCopies@1", 0},
        {"ZoomWindow@2", 1},
        {"Document.Plot@2", 1},
        {"NumberOfCopies@3", 2},
        {"Document.Plot@2", 1, true},  // a plot service that is no plot service
    };
    // The calls only one page makes.
    const std::vector<Case> own = page() == Page::Frame
        ? std::vector<Case>{
              {"GetVariable", 0},  // BACKGROUNDPLOT, put back at the end
              {"SetVariable@1", 0},
              {"PlotRotation@1", 0},  // each frame's own
              {"SetCustomScale@2", 0},
              {"RefreshPlotDeviceInfo@3", 0},
              {"PlotRotation@3", 2},
          }
        : std::vector<Case>{
              {"SetVariable", 0},
              {"PlotRotation", 0},    // once, in the block
              {"SetCustomScale", 0},  // once, in the block
              {"RefreshPlotDeviceInfo@3", 0},
              {"RefreshPlotDeviceInfo@4", 0},
              {"RefreshPlotDeviceInfo@6", 1},
              {"SetWindowToPlot@4", 2},
          };
    cases.insert(cases.end(), own.begin(), own.end());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.garble ? "garbled " : "failing ") + c.rule);
        if (c.garble) start({}, {c.rule});
        else start({c.rule});
        chooseSheets({true, false, true, false, false, true});
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_EQ(jobs().size(), c.plotted);
        std::vector<std::string> lines = trace();
        // The frame plot puts BACKGROUNDPLOT back after the failure.
        if (!lines.empty() && traceOfTheEnd() == std::vector<std::string>{lines.back()}) lines.pop_back();
        ASSERT_FALSE(lines.empty());
        if (!c.garble) {
            EXPECT_NE(lines.back().find(" fail: "), std::string::npos) << "calls went on after " << lines.back();
        }
        // The chosen sheets are the first, third and sixth; each sheet's calls begin with
        // its zoom, so the run stopped in a sheet, the one after those plotted, when a zoom
        // was traced, and before the first sheet otherwise.
        const int places[] = {0, 2, 5};
        const bool inSheet = std::any_of(lines.begin(), lines.end(),
                                         [](const std::string& l) { return l.starts_with("Application.ZoomWindow"); });
        ASSERT_EQ(shell().messages.size(), 1u) << "a stopped run says so";
        const std::wstring& said = shell().messages[0];
        const int n = static_cast<int>(c.plotted) + 1;
        const std::wstring where = inSheet ? L"印刷は " + std::to_wstring(n) + L"/3 枚目 (" + sheetName(places[n - 1], n) + L")"
                                           : std::wstring(L"印刷は用紙を送る前に止まりました。");
        EXPECT_EQ(said.find(where), 0u) << base::toUtf8(said);
        EXPECT_NE(said.find(L"選んだ 3 枚のうち CAD が受け付けたのは " + std::to_wstring(c.plotted) + L" 枚です。"),
                  std::wstring::npos)
            << base::toUtf8(said);
        if (!c.garble) {
            EXPECT_NE(said.find(L"injected"), std::wstring::npos) << "the host's text: " << base::toUtf8(said);
        }
        EXPECT_EQ(f().form().text(), app::kMainCaption);
        expectIdle(before);
    }
}

// The run goes on past a refused sheet; the taskbar counts only the sheets the host took,
// and the end says how many of those sent it took.
TEST_P(BatchPlot, ARefusedPlotRequestIsSkippedAndReported) {
    start({"PlotToDevice@2"});
    chooseSheets({true, true, true, false, false, false});
    const ui::Rect before = f().form().windowRect();
    print();
    EXPECT_EQ(windows(), windowsOf({true, false, true}));
    EXPECT_EQ(progress(), (std::vector<std::string>{"progress 0/3", "progress 1/3", "progress 2/3", "progress 0/0"}));
    EXPECT_EQ(shell().messages, std::vector<std::wstring>{L"CAD が受け付けた印刷は 3 枚中 2 枚です。\n1 枚は印刷されていません。\n  " +
                                                          sheetName(1, 2)});
    shell().messages.clear();
    expectIdle(before);
}

// While a sheet is in hand the caption counts it after the target's caption; at the end
// the target's caption is back.
TEST_P(BatchPlot, TheCaptionShowsTheRunsProgressAndThenTheTargetAgain) {
    start();
    chooseSheets({true, false, true, true, false, false});
    std::vector<std::wstring> captions;
    atEveryPump([&] {
        if (captions.empty() || captions.back() != f().form().text()) captions.push_back(f().form().text());
        return false;
    });
    print();
    const std::wstring target = app::kMainCaption;
    EXPECT_EQ(captions, (std::vector<std::wstring>{target, target + L"  1/3", target + L"  2/3", target + L"  3/3"}));
    EXPECT_EQ(f().form().text(), target);
}

TEST_P(BatchPlot, TheSheetsAreHeldStillAndASecondRunRefusedWhileRunning) {
    start();
    const std::vector<bool> chosen{true, false, true, true, false, false};
    chooseSheets(chosen);
    const std::vector<std::string> sheets = sheetsNow();
    const bool orderBefore = fromTop().checked();
    const ui::Rect before = f().form().windowRect();
    std::vector<bool> accepted;
    shell().queued.push_back([&] {
        for (ui::Widget* held : heldControls()) accepted.push_back(held->userClick());
        accepted.push_back(printButton().userClick());
        EXPECT_FALSE(printButton().enabled());
        EXPECT_TRUE(stopButton().enabled());
        EXPECT_TRUE(f().plotMayContinue);
        EXPECT_TRUE(plotRunning());
    });
    print();
    EXPECT_EQ(accepted, std::vector<bool>(heldControls().size() + 1, false));
    EXPECT_EQ(fromTop().checked(), orderBefore);
    EXPECT_EQ(sheetsNow(), sheets);
    EXPECT_EQ(windows(), windowsOf(chosen));
    expectIdle(before);
}

// A pick of another printer, paper or style during a run, on either page, would reach the
// layout the run plots from: every such control is disabled until the run ends, and
// every sheet goes out with the settings the run started with.
TEST_P(BatchPlot, ThePrintSettingsOfBothPagesHoldStillWhileRunning) {
    start();
    for (ui::ComboBox* box : {f().framePage.printer, f().gridPage.printer}) choose(*box, L"PDF");
    const ui::Rect before = f().form().windowRect();
    std::vector<std::string> enabledDuring;
    std::vector<bool> picked;
    shell().queued.push_back([&] {
        for (ui::Widget* held : printSettingControls())
            if (held->enabled()) enabledDuring.push_back(held->name());
        for (ui::ComboBox* box : settingBoxes()) picked.push_back(box->userPick(0));
    });
    print();
    EXPECT_EQ(enabledDuring, std::vector<std::string>{});
    EXPECT_EQ(picked, std::vector<bool>(3, false));
    ASSERT_EQ(jobs().size(), 6u);
    for (const std::string& job : jobs()) EXPECT_EQ(field(job, "device"), "\"PDF\"");
    EXPECT_EQ(settingBoxes()[0]->text(), L"PDF");
    expectIdle(before);
}

// The window closed during a run, by the user or by the end of the session: the run stops
// after the sheet in hand, the user's closing is carried out once the run has ended, and
// the settings keep the window's place from before the run parked it.
TEST_P(BatchPlot, ClosingDuringARunStopsItAfterTheSheetInHandAndKeepsThePlace) {
    for (const bool sessionEnds : {false, true}) {
        SCOPED_TRACE(sessionEnds ? "the session ends" : "the user closes");
        start();
        shell().windows[900] = {L"", L"Shell_TrayWnd", {0, 1032, 1920, 1080}, 0, 0, false};
        const ui::Rect before = f().form().windowRect();
        bool allowedDuring = true;
        // At the pump after the first sheet.
        shell().queued.push_back([&] {
            shell().queued.push_back([&] {
                ASSERT_NE(f().form().windowRect(), before) << "the run did not park the window";
                if (sessionEnds) f().windowDestroyed();
                else allowedDuring = f().form().closeAllowed();
            });
        });
        print();
        EXPECT_EQ(jobs().size(), 1u);
        auto& peer = static_cast<ui::MemoryFormPeer&>(*f().form().peer());
        if (!sessionEnds) {
            EXPECT_FALSE(allowedDuring);
            EXPECT_EQ(peer.closeRequests, 1) << "the put-off closing was not carried out";
            EXPECT_TRUE(f().form().closeAllowed());
            f().windowDestroyed();
        } else {
            EXPECT_EQ(peer.closeRequests, 0);
        }
        std::ifstream in(rig->folder / "quillon.ini", std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::wstring settings = base::fromUtf16(std::string_view(bytes).substr(2), false);
        EXPECT_NE(settings.find(L"Left=" + std::to_wstring(before.left) + L"\r\nTop=" + std::to_wstring(before.top)),
                  std::wstring::npos)
            << base::toUtf8(settings);
        expectIdle(before);
    }
}

TEST_P(BatchPlot, WindowWaitsAboveTheTaskbarDuringTheRun) {
    struct Case {
        const char* name;
        bool taskbar;
    } cases[] = {{"taskbar", true}, {"no taskbar", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        if (c.taskbar) shell().windows[900] = {L"", L"Shell_TrayWnd", {0, 1032, 1920, 1080}, 0, 0, false};
        chooseSheets({true, false, false, false, false, false});
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

INSTANTIATE_TEST_SUITE_P(Pages, BatchPlot, ::testing::Values(Page::Frame, Page::Grid), testing_support::pageName);

}  // namespace
