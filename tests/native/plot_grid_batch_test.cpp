// The grid batch plot ("印刷" on the equal-interval page) on its own, against the
// stand-in in process: plotting in the foreground, the cells visited row by row from the
// bottom or the top, one print scale and rotation for every cell, a grid that cannot be
// plotted, and the order and flags read once. What both pages' plots do alike is in
// plot_batch_test.cpp.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "plot_batch_rig.h"

namespace {

using testing_support::FormRig;
using testing_support::GridBatch;
using testing_support::Windows;
using testing_support::field;
using testing_support::settingsBlock;

TEST_F(GridBatch, PlotsInTheForegroundSendsTheBlockThenEachCell) {
    start();
    grid(2, 1, {false, true});
    ASSERT_NE(backgroundPlot(), 0) << "the stand-in starts with plotting in the background";
    const std::size_t traced = trace().size();
    const ui::Rect before = f().form().windowRect();
    print();
    std::vector<std::string> expected = {
        "Application.ActiveDocument",
        "Document.SetVariable(\"BACKGROUNDPLOT\", 0)",
        "Document.ActiveLayout",
    };
    // The cell at the base point, chosen or not.
    for (const std::string& line : settingsBlock(1, "[0, 0, 0], [420, 297, 0]", "1.4142")) expected.push_back(line);
    for (const char* line : {
             "Application.ZoomWindow([420, 0, 0], [840, 297, 0])",
             "Layout.SetWindowToPlot([420, 0, 0], [840, 297, 0])",
             "Layout.RefreshPlotDeviceInfo()",
             "Layout.RefreshPlotDeviceInfo()",
             "Document.Plot",
             "Plot.NumberOfCopies = 1",
             "Plot.PlotToDevice(omitted)",
         })
        expected.push_back(line);
    const std::vector<std::string> lines = trace();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(traced), lines.end()), expected);
    ASSERT_EQ(jobs().size(), 1u);
    const std::string job = jobs()[0];
    EXPECT_EQ(field(job, "rotation"), "1");
    EXPECT_EQ(field(job, "scale"), "[1,1.4142]");
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

TEST_F(GridBatch, AGridThatCannotBePlottedEndsAtOnceWithoutAMessage) {
    struct Case {
        const char* name;
        std::function<void(GridBatch&)> change;
    } cases[] = {
        {"spacing without a comma", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"420"); }},
        {"spacing x zero", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"0,300"); }},
        {"spacing y negative", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"420,-300"); }},
        {"spacing not a number", [](GridBatch& t) { t.f().gridPage.spacing->setText(L"abc,300"); }},
        {"drawing scale zero", [](GridBatch& t) { t.f().gridPage.drawingScale->setText(L"0"); }},
        {"drawing scale negative", [](GridBatch& t) { t.f().gridPage.drawingScale->setText(L"-1"); }},
        {"sheet without a size code", [](GridBatch& t) { t.f().gridPage.sheetSize->setText(L"Letter"); }},
        {"no columns", [](GridBatch& t) { t.grid(0, 2); }},
        {"no rows", [](GridBatch& t) { t.grid(3, 0); }},
        {"windows past every number", [](GridBatch& t) { t.f().gridPage.drawingScale->setText(L"1e306"); }},
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
        EXPECT_EQ(rig->cad.created, 0) << "no connection without a grid to plot";
        expectIdle(before);
    }
}

// Plotting from the top: "中止" stops the row it is pressed in and every row after it.
TEST_F(GridBatch, AbortStopsTheRowAndEveryLaterRow) {
    struct Case {
        std::size_t pressAfter;
        Windows plotted;
    } cases[] = {
        {2, {"[0,300,420,597]", "[420,300,840,597]"}},
        {4, {"[0,300,420,597]", "[420,300,840,597]", "[840,300,1260,597]", "[0,0,420,297]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("abort after plot " + std::to_string(c.pressAfter));
        start();
        f().gridPage.fromTop->setChecked(true);
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
        EXPECT_EQ(zooms(), static_cast<int>(c.pressAfter));
        expectIdle(before);
    }
}

// The order changes and the flags shrink under the run: neither makes it visit a row twice
// or read a flag that is gone.
TEST_F(GridBatch, TheOrderAndFlagsAreReadOnceAndNotPastTheirEnd) {
    start();
    const ui::Rect before = f().form().windowRect();
    shell().queued.push_back([&] {
        f().gridPage.fromTop->setChecked(true);
        f().gridPage.session.chosenCells.resize(4);
    });
    print();
    EXPECT_EQ(windows(), (Windows{"[0,0,420,297]", "[420,0,840,297]", "[840,0,1260,297]", "[0,300,420,597]"}));
    expectIdle(before);
}

}  // namespace
