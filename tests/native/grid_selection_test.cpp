// Choosing grid cells: presses in the preview, "すべて", the marks and restores on the
// preview, the CAD view asked to show the cell, and the count in chosenCellCount.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid_rig.h"
#include "sim_test_support.h"

namespace {

using simtest::line;
using simtest::rectangle;
using testing_support::FormRig;
using testing_support::GridPage;
using testing_support::kClean;
using Flags = std::vector<bool>;

const std::uint32_t kMark = desktop::kSelectionColour;

// Content only wholly inside the sheets of cells (0, 0) and (2, 1); the diagonal spans the
// whole grid and lies wholly inside none.
sim::Drawing twoSheetsWithContent() {
    return simtest::drawingOf({line(L"0", {0, 0}, {1260, 597}), rectangle(L"0", 100, 100, 200, 200),
                               rectangle(L"0", 900, 350, 1000, 450)});
}

ui::MouseEvent mouse(ui::MouseButton button, bool shift = false, bool ctrl = false) {
    ui::MouseEvent e;
    e.button = button, e.shift = shift, e.ctrl = ctrl;
    return e;
}

TEST(GridCellPress, HitsTheCellWhosePitchHoldsThePoint) {
    using B = ui::MouseButton;
    struct Case {
        const char* name;
        double x, y;
        B button;
        bool shift, ctrl;
        std::wstring spacing;
        Flags before, after;
        bool cadAsked;   // the CAD view was asked to show cell (1, 1)
        const wchar_t* count;
        std::uint32_t markPixel;  // at the mark's left edge of cell (1, 1)
    };
    const Flags none(6, false), c11 = {0, 0, 0, 0, 1, 0}, c00 = {1, 0, 0, 0, 0, 0}, both = {1, 0, 0, 0, 1, 0};
    const Case cases[] = {
        {"left click inside the sheet", 500, 450, B::Left, false, false, L"420,300", none, c11, true, L"1", kMark},
        {"in the 3-unit gap above the sheet", 500, 598, B::Left, false, false, L"420,300", none, c11, true, L"1", kMark},
        {"on a pitch edge", 420, 450, B::Left, false, false, L"420,300", none, none, false, L"0", 0},
        {"left of the base point", -50, 450, B::Left, false, false, L"420,300", none, none, false, L"0", 0},
        {"beyond the last column", 1300, 450, B::Left, false, false, L"420,300", none, none, false, L"0", 0},
        {"above the last row", 500, 610, B::Left, false, false, L"420,300", none, none, false, L"0", 0},
        {"spacing without a comma", 500, 450, B::Left, false, false, L"420", none, none, false, L"0", 0},
        {"middle press releases", 500, 450, B::Middle, false, false, L"420,300", both, c00, true, L"1", kClean},
        {"shift releases", 500, 450, B::Left, true, false, L"420,300", both, c00, true, L"1", kClean},
        {"ctrl releases", 500, 450, B::Left, false, true, L"420,300", both, c00, true, L"1", kClean},
        {"right press on a released cell", 500, 450, B::Right, false, false, L"420,300", c00, c00, true, L"1", kClean},
    };
    for (const Case& c : cases) {
        FormRig rig(twoSheetsWithContent());
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.layOutGrid();
        f.gridPage.spacing->setText(c.spacing);
        f.gridPage.session.chosenCells = c.before;
        f.gridPage.chosenCount->setText(L"0");
        page.press(c.x, c.y, c.button, c.shift, c.ctrl);
        EXPECT_EQ(f.gridPage.session.chosenCells, c.after) << c.name;
        EXPECT_EQ(rig.cad.created, c.cadAsked ? 1 : 0) << c.name;
        if (c.cadAsked) {
            EXPECT_DOUBLE_EQ(rig.host->view().centreX, 630) << c.name;
            EXPECT_DOUBLE_EQ(rig.host->view().centreY, 448.5) << c.name;
            EXPECT_EQ(rig.shell.foreground, FormRig::kCadWindow) << c.name;
        }
        EXPECT_EQ(f.gridPage.chosenCount->text(), c.count) << c.name;
        // Pen 3: the mark's left edge is the column px(420) + 3 + 1, its band one either side.
        EXPECT_EQ(page.preview->at(GridPage::X(420) + 4, GridPage::Y(450)), c.markPixel) << c.name;
    }
}

TEST(GridCellPress, BeforeAnyPictureNothingHappens) {
    FormRig rig(twoSheetsWithContent());
    GridPage page(rig);
    rig.f().gridPage.layOutGrid();
    rig.f().gridPage.session.photo = std::make_shared<ui::PixelBitmap>();
    page.press(500, 450);
    EXPECT_EQ(rig.f().gridPage.session.chosenCells, Flags(6, false));
    EXPECT_EQ(rig.cad.created, 0);
}

TEST(GridCellPress, FlagsShorterThanTheGridAreNotWrittenButMarked) {
    FormRig rig(twoSheetsWithContent());
    GridPage page(rig);
    app::MainWindow& f = rig.f();
    f.gridPage.layOutGrid();
    f.gridPage.session.chosenCells = {true, false};
    page.press(500, 450);
    EXPECT_EQ(f.gridPage.session.chosenCells, (Flags{true, false}));
    EXPECT_EQ(page.preview->at(GridPage::X(420) + 4, GridPage::Y(450)), kMark);
    EXPECT_EQ(f.gridPage.chosenCount->text(), L"1");
}

// The mark's pen follows the monitor scale factor: its left band is w pixels wide and
// starts w div 2 before the column px(x0) + w + 1. The content test's inset d decides
// whether a box 2.5 units inside the sheet of cell (1, 1) counts as content.
TEST(GridMarks, PenWidthAndInsetFollowTheMonitorScale) {
    struct Case {
        int factor, pen;
        bool insetBoxCounts;  // d < 2.5
    };
    const Case cases[] = {{100, 3, true}, {125, 3, true}, {150, 4, false}};
    for (const Case& c : cases) {
        FormRig rig(simtest::drawingOf({rectangle(L"0", 422.5, 302.5, 500, 400)}), {}, c.factor);
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.layOutGrid();
        page.press(500, 450);
        const int row = GridPage::Y(450), first = GridPage::X(420) + c.pen + 1 - c.pen / 2;
        int band = 0;
        while (page.preview->at(first + band, row) == kMark) ++band;
        EXPECT_EQ(page.preview->at(first - 1, row), 0u) << c.factor;
        EXPECT_EQ(band, c.pen) << c.factor;

        f.gridPage.chooseOrReleaseAll(mouse(ui::MouseButton::Left));
        EXPECT_EQ(f.gridPage.session.chosenCells, (Flags{0, 0, 0, 0, c.insetBoxCounts, 0})) << c.factor;
    }
}

TEST(GridChooseAll, ChoosesTheCellsWhoseSheetsHoldContent) {
    using B = ui::MouseButton;
    struct Case {
        const char* name;
        sim::Drawing drawing;
        ui::MouseEvent press;
        std::wstring spacing;
        Flags after;
        const wchar_t* count;
    };
    const Flags twoCells = {1, 0, 0, 0, 0, 1};
    const Case cases[] = {
        {"two sheets with content", twoSheetsWithContent(), mouse(B::Left), L"420,300", twoCells, L"2"},
        {"a middle press chooses", twoSheetsWithContent(), mouse(B::Middle, true), L"420,300", twoCells, L"2"},
        {"no content", simtest::drawingOf({line(L"0", {0, 0}, {1260, 597})}), mouse(B::Left), L"420,300",
         Flags(6, false), L"0"},
        {"right press releases", twoSheetsWithContent(), mouse(B::Right), L"420,300", Flags(6, false), L"0"},
        {"shift with right releases", twoSheetsWithContent(), mouse(B::Right, true), L"420,300", Flags(6, false), L"0"},
        {"ctrl with left releases", twoSheetsWithContent(), mouse(B::Left, false, true), L"420,300", Flags(6, false),
         L"0"},
        // every sheet box at the base point, where cell (0, 0)'s content is
        {"spacing without a comma", twoSheetsWithContent(), mouse(B::Left), L"420", Flags(6, true), L"6"},
    };
    for (const Case& c : cases) {
        FormRig rig(c.drawing);
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.layOutGrid();
        f.gridPage.session.chosenCells = {0, 1, 0, 1, 0, 0};
        f.gridPage.spacing->setText(c.spacing);
        f.gridPage.chooseOrReleaseAll(c.press);
        EXPECT_EQ(f.gridPage.session.chosenCells, c.after) << c.name;
        EXPECT_EQ(f.gridPage.chosenCount->text(), c.count) << c.name;
        if (c.spacing == L"420,300") {
            // Marks inside the chosen sheets; the others restored from the clean copy.
            for (int r = 0; r < 2; ++r)
                for (int col = 0; col < 3; ++col) {
                    const double x0 = col * 420.0, ymid = r * 300 + 150;
                    EXPECT_EQ(page.preview->at(GridPage::X(x0) + 4, GridPage::Y(ymid)),
                              c.after[r * 3 + col] ? kMark : kClean)
                        << c.name << " cell " << col << "," << r;
                }
        }
    }
}

TEST(GridChooseAll, WithoutTheHostNothingChanges) {
    FormRig rig(twoSheetsWithContent());
    GridPage page(rig);
    app::MainWindow& f = rig.f();
    f.gridPage.layOutGrid();
    f.gridPage.session.chosenCells = {0, 1, 0, 1, 0, 0};
    f.gridPage.chosenCount->setText(L"2");
    rig.shell.windows.erase(FormRig::kCadWindow);
    f.gridPage.chooseOrReleaseAll(mouse(ui::MouseButton::Right));
    EXPECT_EQ(f.gridPage.session.chosenCells, (Flags{0, 1, 0, 1, 0, 0}));
    EXPECT_EQ(f.gridPage.chosenCount->text(), L"2");
}

TEST(GridSelectionFailures, AFailingCallAtEachStep) {
    struct Case {
        const char* rule;
        bool mouseOnAll;    // "すべて" instead of a press on cell (1, 1)
        Flags after;
        const wchar_t* count;
        bool reported;      // reached the default error report
    };
    const Flags before = {0, 1, 0, 0, 0, 0};
    const Case cases[] = {
        {"Application.HWND", false, before, L"9", false},
        {"ZoomWindow", false, before, L"9", false},
        {"ActiveDocument", true, before, L"1", true},
        {"ZoomExtents", true, before, L"1", true},
        {"SelectionSets", true, before, L"1", true},
        // cells (0, 0) and (1, 0) were handled before the third test failed
        {"Select@3", true, {1, 0, 0, 0, 0, 0}, L"1", true},
        {"SelectionSet.Count@2", true, {1, 0, 0, 0, 0, 0}, L"1", true},
    };
    for (const Case& c : cases) {
        sim::Options options;
        options.fails = {c.rule};
        FormRig rig(twoSheetsWithContent(), options);
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.layOutGrid();
        f.gridPage.session.chosenCells = before;
        f.gridPage.chosenCount->setText(L"9");
        if (c.mouseOnAll) {
            f.gridPage.chooseAllButton->onMouseDown(*f.gridPage.chooseAllButton, mouse(ui::MouseButton::Left));
        } else {
            ui::MouseEvent e = mouse(ui::MouseButton::Left);
            e.x = GridPage::X(500), e.y = GridPage::Y(450);
            f.gridPage.preview->onMouseDown(*f.gridPage.preview, e);
        }
        EXPECT_EQ(f.gridPage.session.chosenCells, c.after) << c.rule;
        EXPECT_EQ(f.gridPage.chosenCount->text(), c.count) << c.rule;
        EXPECT_EQ(rig.shell.messages.size(), c.reported ? 1u : 0u) << c.rule;
        EXPECT_EQ(rig.host->liveObjects(), 0) << c.rule;
    }
}

TEST(GridSelection, CellPressesStayPossibleWhileAGridPlotRuns) {
    FormRig rig(twoSheetsWithContent());
    GridPage page(rig);
    rig.f().gridPage.layOutGrid();
    rig.f().gridPage.setPlotRunning(true);
    page.press(500, 450);
    EXPECT_EQ(rig.f().gridPage.session.chosenCells, (Flags{0, 0, 0, 0, 1, 0}));
}

}  // namespace
