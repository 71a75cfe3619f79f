// The base point, spacing and drawing scale picks: prompts as the CAD application shows
// them, the values written, the grid redrawn afresh, the Escape press and the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "grid_rig.h"
#include "sim_test_support.h"

namespace {

using testing_support::FormRig;
using testing_support::GridPage;
using Flags = std::vector<bool>;

const std::wstring kPointPrompt = L"左下原点を指示 : ";
const std::wstring kXPrompt = L"図面配置のX間隔を2点で指示、または距離を入力 : ";
const std::wstring kYPrompt = L"図面配置のY間隔を2点で指示、 または距離を入力: ";

// Answers the host's prompts in turn and notes each prompt's text; an answer left out is
// a cancel.
struct Answers {
    std::deque<sim::PromptAnswer> given;
    std::vector<std::wstring> prompts;
    void attach(FormRig& rig) {
        rig.host->promptHandler = [this](const sim::PromptRequest& request) {
            prompts.push_back(request.text);
            if (given.empty()) return sim::PromptAnswer{};
            sim::PromptAnswer a = given.front();
            given.pop_front();
            return a;
        };
    }
};
sim::PromptAnswer point(double x, double y) { return {false, x, y, 0}; }
sim::PromptAnswer distance(double d) { return {false, 0, 0, d}; }

TEST(GridPicks, BasePointTakesThePickedPoint) {
    struct Case {
        double x, y;
        const wchar_t* text;
    };
    const Case cases[] = {{250.5, 0, L"250.5,0"}, {100, 200.25, L"100,200.25"}, {-1e-7, 1e15, L"-1E-7,1E15"}};
    for (const Case& c : cases) {
        FormRig rig(simtest::drawingOf({}));
        Answers answers;
        answers.given = {point(c.x, c.y)};
        answers.attach(rig);
        rig.f().gridPage.pickBasePoint();
        EXPECT_EQ(rig.f().gridPage.basePoint->text(), c.text);
        EXPECT_EQ(answers.prompts, std::vector<std::wstring>{kPointPrompt});
        EXPECT_EQ(rig.shell.log, (std::vector<std::string>{"foreground 101", "minimise main", "escape", "sleep 5",
                                                            "restore main"}));
    }
}

TEST(GridPicks, SpacingTakesBothDistancesAndKeepsTheList) {
    FormRig rig(simtest::drawingOf({}));
    Answers answers;
    answers.given = {distance(420), distance(297)};
    answers.attach(rig);
    rig.f().gridPage.pickSpacing();
    EXPECT_EQ(rig.f().gridPage.spacing->text(), L"420,297");
    EXPECT_EQ(rig.f().gridPage.spacing->items(), std::vector<std::wstring>{L"420,300"});
    EXPECT_EQ(answers.prompts, (std::vector<std::wstring>{kXPrompt, kYPrompt}));
}

// After a pick the preview is a clean copy with the new grid and every cell released.
TEST(GridPicks, RedrawsTheGridAfreshAndReleasesEveryCell) {
    FormRig rig(simtest::drawingOf({}));
    GridPage page(rig);
    app::MainWindow& f = rig.f();
    f.gridPage.layOutGrid();
    f.gridPage.session.chosenCells = {1, 0, 1, 0, 1, 0};
    f.gridPage.chosenCount->setText(L"3");
    page.preview->at(5, 5) = desktop::kSelectionColour;  // a mark to be erased
    Answers answers;
    answers.given = {point(420, 0)};
    answers.attach(rig);
    f.gridPage.pickBasePoint();

    EXPECT_EQ(f.gridPage.basePoint->text(), L"420,0");
    const auto* shown = dynamic_cast<ui::PixelBitmap*>(f.gridPage.preview->picture().get());
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, page.preview.get());
    EXPECT_NE(shown, f.gridPage.session.photo.get());
    EXPECT_EQ(shown->at(5, 5), testing_support::kClean);
    // 840 / 420 = 2 columns from x 420
    EXPECT_EQ(f.gridPage.session.columns, 2);
    EXPECT_EQ(f.gridPage.session.chosenCells, Flags(4, false));
    EXPECT_EQ(f.gridPage.chosenCount->text(), L"0");
    const frames::PreviewMapping m{f.gridPage.session.view.cx, f.gridPage.session.view.cy, 4, shown->width(), shown->height()};
    EXPECT_EQ(shown->at(m.px(630), m.py(300)), desktop::kOutlineColour);  // cell (0, 1) now starts at 420
    EXPECT_EQ(shown->at(m.px(210), m.py(300)), testing_support::kClean);
}

TEST(GridPicks, BeforeAnyCaptureTheValueIsTakenAndTheGridCounted) {
    FormRig rig(simtest::drawingOf({}));
    Answers answers;
    answers.given = {point(-1000, -700)};
    answers.attach(rig);
    rig.f().gridPage.pickBasePoint();
    EXPECT_EQ(rig.f().gridPage.basePoint->text(), L"-1000,-700");
    // 1000 / 420 = 2 rest 160; 700 / 300 = 2 rest 100: both one more
    EXPECT_EQ(rig.f().gridPage.session.columns, 3);
    EXPECT_EQ(rig.f().gridPage.session.rows, 3);
    EXPECT_EQ(rig.f().gridPage.session.chosenCells, Flags(9, false));
    ASSERT_NE(rig.f().gridPage.preview->picture(), nullptr);
    EXPECT_EQ(rig.f().gridPage.preview->picture()->width(), 0);
}

TEST(GridPicks, CancelOrFailureTakesNothing) {
    struct Case {
        const char* name;
        bool spacing;                        // spacingButton instead of basePointButton
        std::vector<sim::PromptAnswer> given;  // then a cancel
        const char* rule;
        std::vector<std::string> log;
    };
    const std::vector<std::string> escaped = {"foreground 101", "minimise main", "escape", "sleep 5", "restore main"};
    const std::vector<std::string> quiet = {"restore main"};
    const Case cases[] = {
        {"point cancelled", false, {}, "", escaped},
        {"second distance cancelled", true, {distance(420)}, "", escaped},
        {"first distance cancelled", true, {}, "", escaped},
        {"no document", false, {point(1, 2)}, "ActiveDocument", quiet},
        {"no CAD window handle", false, {point(1, 2)}, "Application.HWND@1", quiet},
        {"no input utility", true, {distance(1)}, "Utility", escaped},
        {"second input utility", true, {distance(1), distance(2)}, "Utility@2", escaped},
        // Numbers no host gives take nothing either.
        {"point not a number", false, {point(std::numeric_limits<double>::quiet_NaN(), 2)}, "", escaped},
        {"distance infinite", true, {distance(std::numeric_limits<double>::infinity()), distance(2)}, "", escaped},
    };
    for (const Case& c : cases) {
        sim::Options options;
        if (*c.rule) options.fails = {c.rule};
        FormRig rig(simtest::drawingOf({}), options);
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.layOutGrid();
        f.gridPage.session.chosenCells = {1, 0, 0, 0, 0, 0};
        Answers answers;
        answers.given.assign(c.given.begin(), c.given.end());
        answers.attach(rig);
        if (c.spacing)
            f.gridPage.pickSpacing();
        else
            f.gridPage.pickBasePoint();
        EXPECT_EQ(f.gridPage.basePoint->text(), L"0,0") << c.name;
        EXPECT_EQ(f.gridPage.spacing->text(), L"420,300") << c.name;
        EXPECT_EQ(f.gridPage.preview->picture(), page.preview) << c.name;
        EXPECT_EQ(f.gridPage.session.chosenCells, (Flags{1, 0, 0, 0, 0, 0})) << c.name;
        EXPECT_EQ(rig.shell.log, c.log) << c.name;
        EXPECT_EQ(rig.host->liveObjects(), 0) << c.name;
    }
}

TEST(GridPicks, EscapeOnlyWhenTheCadWindowIsInFront) {
    FormRig rig(simtest::drawingOf({}));
    rig.host->promptHandler = [&](const sim::PromptRequest&) {
        rig.shell.foreground = 999;  // the user went to another window
        return point(1, 2);
    };
    rig.f().gridPage.pickBasePoint();
    EXPECT_EQ(rig.f().gridPage.basePoint->text(), L"1,2");
    EXPECT_EQ(rig.shell.log, (std::vector<std::string>{"foreground 101", "minimise main", "restore main"}));
}

TEST(GridPicks, WithoutTheHostOnlyTheMainWindowIsRestored) {
    for (const bool spacing : {false, true}) {
        FormRig rig(simtest::drawingOf({}));
        rig.shell.windows.erase(FormRig::kCadWindow);
        if (spacing)
            rig.f().gridPage.pickSpacing();
        else
            rig.f().gridPage.pickBasePoint();
        EXPECT_EQ(rig.f().gridPage.basePoint->text(), L"0,0");
        EXPECT_EQ(rig.f().gridPage.spacing->text(), L"420,300");
        EXPECT_EQ(rig.shell.log, std::vector<std::string>{"restore main"});
        EXPECT_FALSE(rig.shell.mainMinimised);
    }
}

TEST(GridPicks, RefusedWhileAGridPlotRuns) {
    FormRig rig(simtest::drawingOf({}));
    Answers answers;
    answers.given = {point(1, 2)};
    answers.attach(rig);
    rig.f().gridPage.setPlotRunning(true);
    rig.f().gridPage.pickBasePoint();
    rig.f().gridPage.pickSpacing();
    EXPECT_TRUE(answers.prompts.empty());
    EXPECT_EQ(rig.f().gridPage.basePoint->text(), L"0,0");
}

TEST(GridScalePick, DrawingScaleIntoEdit4) {
    struct Case {
        double dimscale;
        const char* rule;
        const wchar_t* text;
        bool reported;
    };
    const Case cases[] = {{2.5, "", L"2.5", false}, {50, "", L"50", false},
                          {2.5, "GetVariable", L"1", true}, {2.5, "ActiveDocument", L"1", true}};
    for (const Case& c : cases) {
        sim::Options options;
        if (*c.rule) options.fails = {c.rule};
        FormRig rig(simtest::drawingOf({}, c.dimscale), options);
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.drawingScaleButton->onClick(*f.gridPage.drawingScaleButton);
        EXPECT_EQ(f.gridPage.drawingScale->text(), c.text) << c.dimscale << c.rule;
        EXPECT_EQ(rig.shell.messages.size(), c.reported ? 1u : 0u) << c.rule;
        EXPECT_EQ(f.gridPage.preview->picture(), page.preview) << c.rule;  // not redrawn
        EXPECT_EQ(std::count(page.preview->data(), page.preview->data() + page.preview->width() * page.preview->height(), 0u),
                  page.preview->width() * page.preview->height());
    }
}

}  // namespace
