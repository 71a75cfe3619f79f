// The grid computation on the equal-interval page and its capture: counts, flags and
// outlines, the drawing scale from the drawing, the photograph from the view window's
// client area, and what a failure at each step leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/grid_page.h"
#include "grid_rig.h"
#include "sheets/capture_geometry.h"
#include "sim_test_support.h"

namespace {

using simtest::line;
using simtest::rectangle;
using testing_support::FormRig;
using testing_support::GridPage;
using Flags = std::vector<bool>;

const std::uint32_t kOutline = desktop::kOutlineColour;

void capture(FormRig& rig) { rig.f().gridPage.capture(); }

// ---- the grid computation

TEST(GridDraw, CountsFlagsAndOutlines) {
    struct Case {
        const char* name;
        double extMaxX;
        std::wstring base, spacing;
        int columns, rows;
        std::vector<std::pair<double, double>> outlined;  // points on sheet outlines
    };
    const Case cases[] = {
        {"1260 wide", 1260, L"0,0", L"420,300", 3, 2, {{210, 0}, {1050, 300}, {840 + 210, 597}}},
        {"1302: rest 42 adds nothing", 1302, L"0,0", L"420,300", 3, 2, {{1050, 300}}},
        {"1303: rest 43 adds a column", 1303, L"0,0", L"420,300", 4, 2, {{1260 + 210, 0}}},
        {"100 wide", 100, L"0,0", L"420,300", 1, 2, {{210, 0}}},
        {"base at the extent", 1260, L"1260,0", L"420,300", 0, 2, {}},
        {"overlapping sheets", 1260, L"0,0", L"200,150", 7, 4, {{100, 0}, {300, 150}, {200 + 420, 150 + 100}}},
        {"base with blanks", 1260, L" 0 , 0 ", L" 420 , 300 ", 3, 2, {{210, 0}}},
    };
    for (const Case& c : cases) {
        FormRig rig(simtest::drawingOf({}));
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.session.captureExtents.maxX = c.extMaxX;
        f.gridPage.basePoint->setText(c.base);
        f.gridPage.spacing->setText(c.spacing);
        f.gridPage.session.chosenCells = {true};
        f.gridPage.layOutGrid();
        EXPECT_EQ(f.gridPage.session.columns, c.columns) << c.name;
        EXPECT_EQ(f.gridPage.session.rows, c.rows) << c.name;
        EXPECT_EQ(f.gridPage.session.chosenCells, Flags(static_cast<std::size_t>(c.columns * c.rows), false)) << c.name;
        for (const auto& [x, y] : c.outlined) EXPECT_EQ(page.at(x, y), kOutline) << c.name << " at " << x << "," << y;
        const auto drawn = std::count(page.preview->data(), page.preview->data() + page.preview->width() * page.preview->height(), kOutline);
        EXPECT_EQ(drawn > 0, c.columns * c.rows > 0) << c.name;
    }
}

TEST(GridDraw, RefusedInputsChangeNothing) {
    struct Case {
        const char* name;
        std::wstring spacing, sheet, scale;
        bool told;  // the user is told there are too many sheets
    };
    const Case cases[] = {
        {"spacing without a comma", L"420", L"A3", L"1", false},
        {"spacing 0,300", L"0,300", L"A3", L"1", false},
        {"negative spacing", L"420,-300", L"A3", L"1", false},
        {"no sheet size", L"420,300", L"", L"1", false},
        {"drawing scale 0", L"420,300", L"A3", L"0", false},
        {"millions of sheets", L"0.1,0.1", L"A3", L"1", true},
    };
    for (const Case& c : cases) {
        FormRig rig(simtest::drawingOf({}));
        GridPage page(rig);
        app::MainWindow& f = rig.f();
        f.gridPage.session.columns = 7, f.gridPage.session.rows = 5;
        f.gridPage.session.chosenCells = {true, false};
        f.gridPage.spacing->setText(c.spacing);
        f.gridPage.sheetSize->setText(c.sheet);
        f.gridPage.drawingScale->setText(c.scale);
        f.gridPage.layOutGrid();
        EXPECT_EQ(f.gridPage.session.columns, 7) << c.name;
        EXPECT_EQ(f.gridPage.session.rows, 5) << c.name;
        EXPECT_EQ(f.gridPage.session.chosenCells, (Flags{true, false})) << c.name;
        EXPECT_EQ(std::count(page.preview->data(), page.preview->data() + page.preview->width() * page.preview->height(), 0u),
                  page.preview->width() * page.preview->height())
            << c.name;
        EXPECT_EQ(rig.shell.messages, c.told ? std::vector<std::wstring>{app::kTooManyCellsMessage} : std::vector<std::wstring>{})
            << c.name;
    }
}

// ---- the capture

// A drawing whose extents are (0, 0) to (w, h).
sim::Drawing extentsDrawing(double w, double h, double dimscale = 1) {
    return simtest::drawingOf({line(L"0", {0, 0}, {w, h})}, dimscale);
}

TEST(GridCapture, PhotographsTheFramedViewFromTheClientArea) {
    FormRig rig(extentsDrawing(2000, 2000));
    // The client area lies inside the window's frame, off its top-left corner.
    rig.shell.clientRects[FormRig::kDocWindow] = {45, 70, 45 + 1000, 70 + 500};
    rig.host->setGridMode(true);
    app::MainWindow& f = rig.f();
    capture(rig);

    const frames::PreviewSize size = frames::previewSize(500, 500, f.gridPage.preview->width(), f.gridPage.preview->height());
    const std::vector<std::string> expected = {"sleep 100", "foreground 101", "copy 295,70 500x500",
                                               "shrink " + std::to_string(size.width) + "x" + std::to_string(size.height),
                                               "sleep 100"};
    EXPECT_EQ(std::vector<std::string>(rig.shell.log.begin(), rig.shell.log.begin() + 5), expected);
    EXPECT_FALSE(std::any_of(rig.shell.log.begin(), rig.shell.log.end(),
                             [](const std::string& s) { return s.find("main") != std::string::npos; }));

    ASSERT_NE(f.gridPage.preview->picture(), nullptr);
    EXPECT_EQ(f.gridPage.preview->picture()->width(), size.width);
    EXPECT_TRUE(f.gridPage.preview->center() && f.gridPage.preview->stretch() && f.gridPage.preview->proportional());
    ASSERT_NE(f.gridPage.session.photo, nullptr);
    EXPECT_NE(f.gridPage.session.photo.get(), f.gridPage.preview->picture().get());
    EXPECT_EQ(f.gridPage.session.photo->width(), size.width);
    EXPECT_DOUBLE_EQ(f.gridPage.session.view.scale, 2000.0 / size.width);  // A = VIEWSIZE
    EXPECT_DOUBLE_EQ(f.gridPage.session.view.cx, 1000);
    EXPECT_DOUBLE_EQ(f.gridPage.session.captureExtents.maxX, 2000);
    EXPECT_DOUBLE_EQ(f.gridPage.session.captureExtents.maxY, 2000);
    EXPECT_TRUE(rig.host->gridMode());
    // 2000 / 420 = 4 rest 320, 2000 / 300 = 6 rest 200: 5 x 7 cells, none chosen
    EXPECT_EQ(f.gridPage.session.columns, 5);
    EXPECT_EQ(f.gridPage.session.rows, 7);
    EXPECT_EQ(f.gridPage.session.chosenCells, Flags(35, false));
    EXPECT_EQ(f.gridPage.chosenCount->text(), L"0");
}

TEST(GridCapture, DrawingScaleFromTheDrawing) {
    struct Case {
        double dimscale, w, h;
        const wchar_t* text;
        std::wstring spacing;
        int columns, rows;
    };
    const Case cases[] = {
        // sheets 50 times A3: 21000 x 14850
        {50, 42000, 29700, L"50", L"21000,15000", 2, 2},
        {2.5, 2100, 1500, L"2.5", L"1050,750", 2, 2},
    };
    for (const Case& c : cases) {
        FormRig rig(extentsDrawing(c.w, c.h, c.dimscale));
        app::MainWindow& f = rig.f();
        f.gridPage.spacing->setText(c.spacing);
        capture(rig);
        EXPECT_EQ(f.gridPage.drawingScale->text(), c.text);
        EXPECT_EQ(f.gridPage.session.columns, c.columns) << c.dimscale;
        EXPECT_EQ(f.gridPage.session.rows, c.rows) << c.dimscale;
        // The first sheet's outline: its top edge midway, and its right edge at the sheet width.
        const frames::PreviewMapping m{f.gridPage.session.view.cx, f.gridPage.session.view.cy, f.gridPage.session.view.scale,
                                       f.gridPage.preview->picture()->width(), f.gridPage.preview->picture()->height()};
        auto* shown = dynamic_cast<ui::PixelBitmap*>(f.gridPage.preview->picture().get());
        ASSERT_NE(shown, nullptr);
        const double sheetW = 420 * c.dimscale, sheetH = 297 * c.dimscale;
        EXPECT_EQ(shown->at(m.px(sheetW / 2), m.py(sheetH)), desktop::kOutlineColour) << c.dimscale;
        EXPECT_EQ(shown->at(m.px(sheetW), m.py(sheetH / 2)), desktop::kOutlineColour) << c.dimscale;
    }
}

// After the picture the page's lists are refilled, keeping the saved choices, and with
// "自動計算" checked the print scale is recomputed for the chosen paper.
TEST(GridCapture, RefreshesTheListsAndThePrintScale) {
    for (const bool automatic : {true, false}) {
        FormRig rig(extentsDrawing(2000, 2000, 2));
        app::MainWindow& f = rig.f();
        f.gridPage.lists.saved.device = L"PDF";
        f.gridPage.lists.saved.paper = L"ISO_A3_(420.00_x_297.00_MM)";
        f.gridPage.autoPrintScale->setChecked(automatic);
        f.gridPage.printScale->setText(L"9");
        capture(rig);
        EXPECT_EQ(f.gridPage.printer->text(), L"PDF") << automatic;
        EXPECT_EQ(f.gridPage.paper->text(), L"ISO_A3_(420.00_x_297.00_MM)") << automatic;
        // drawing scale 2 (DIMSCALE) x sheet 420 / paper 420
        EXPECT_EQ(f.gridPage.printScale->text(), automatic ? L"2.0000" : L"9") << automatic;
    }
}

TEST(GridCapture, NoPictureLeavesThePageAsItWas) {
    struct Case {
        const char* name;
        double w, h;
        bool noViewWindow;
    };
    const Case cases[] = {{"extents 1.0 wide", 1.0, 500, false}, {"empty drawing", 0, 0, false},
                          {"no view window", 2000, 2000, true}};
    for (const Case& c : cases) {
        FormRig rig(c.w > 0 ? extentsDrawing(c.w, c.h) : simtest::drawingOf({}));
        if (c.noViewWindow) rig.host->setWindowHandles(static_cast<std::int32_t>(FormRig::kCadWindow), 0);
        app::MainWindow& f = rig.f();
        auto old = std::make_shared<ui::PixelBitmap>(3, 3);
        f.gridPage.preview->setPicture(old);
        f.gridPage.session.photo = old;
        f.gridPage.session.chosenCells = {true};
        f.gridPage.chosenCount->setText(L"1");
        capture(rig);
        EXPECT_EQ(f.gridPage.preview->picture(), old) << c.name;
        EXPECT_EQ(f.gridPage.session.photo, old) << c.name;
        EXPECT_EQ(f.gridPage.session.chosenCells, Flags{true}) << c.name;
        EXPECT_EQ(f.gridPage.chosenCount->text(), L"1") << c.name;
    }
}

// A failure ends the capture where it happens; what was done before stays done, except
// that the CAD's grid display and view are put back on every path (as best effort).
TEST(GridCapture, FailureAtEachStepEndsTheCaptureThere) {
    struct Case {
        const char* rule;  // the failing host call; "" for none
        bool copyFails;
        bool scaleRead, extentsRead, pictureTaken, gridRestored, viewBack, gridDrawn;
    };
    const Case cases[] = {
        {"Application.HWND@1", false, false, false, false, true, true, false},
        {"ActiveDocument", false, false, false, false, true, true, false},
        {"ZoomExtents", false, false, false, false, true, true, false},
        {"Application.HWND@2", false, false, false, false, true, true, false},
        {"Document.HWND", false, false, false, false, true, true, false},
        {"GetVariable@1", false, false, false, false, true, true, false},  // GRIDMODE read
        {"SetVariable@1", false, false, false, false, true, true, false},  // GRIDMODE := 0
        {"GetVariable@2", false, false, false, false, true, true, false},  // DIMSCALE
        {"GetVariable@3", false, true, false, false, true, true, false},   // SCREENSIZE
        {"GetVariable@4", false, true, false, false, true, true, false},   // VIEWCTR
        {"GetVariable@5", false, true, false, false, true, true, false},   // VIEWSIZE
        {"GetVariable@6", false, true, false, false, true, true, false},   // EXTMIN
        {"GetVariable@7", false, true, false, false, true, true, false},   // EXTMAX
        {"", true, true, true, false, true, true, false},                  // the screen copy
        // A failing put-back is tried once more as the capture ends; failing again, it is let be.
        {"SetVariable@2", false, true, true, true, true, true, true},      // GRIDMODE put back
        {"SetVariable@2,SetVariable@3", false, true, true, true, false, true, true},
        {"ZoomPrevious", false, true, true, true, true, true, true},
        {"ZoomPrevious@1,ZoomPrevious@2", false, true, true, true, true, false, true},
        {"", false, true, true, true, true, true, true},
    };
    for (const Case& c : cases) {
        const std::string name = c.copyFails ? "screen copy" : *c.rule ? c.rule : "no failure";
        sim::Options options;
        options.fails = simtest::splitRules(c.rule);
        FormRig rig(extentsDrawing(2000, 2000, 50), options);
        rig.host->setGridMode(true);
        rig.shell.failScreenCopy = c.copyFails;
        const sim::ViewState viewBefore = rig.zoomIn();
        app::MainWindow& f = rig.f();
        f.gridPage.spacing->setText(L"1000,1000");
        f.gridPage.drawingScale->setText(L"1");
        f.gridPage.session.view.cx = -1;
        f.gridPage.session.columns = 9;
        f.gridPage.session.chosenCells = {true};
        f.gridPage.chosenCount->setText(L"1");

        capture(rig);

        EXPECT_EQ(f.gridPage.drawingScale->text(), c.scaleRead ? L"50" : L"1") << name;
        EXPECT_EQ(f.gridPage.session.captureExtents.maxX == 2000, c.extentsRead) << name;
        EXPECT_EQ(f.gridPage.session.view.cx == 1000, c.pictureTaken) << name;
        EXPECT_EQ(f.gridPage.preview->picture() != nullptr, c.pictureTaken) << name;
        EXPECT_EQ(rig.host->gridMode(), c.gridRestored) << name;
        EXPECT_EQ(rig.viewIs(viewBefore), c.viewBack) << name;
        EXPECT_EQ(f.gridPage.session.columns, c.gridDrawn ? 2 : 9) << name;
        EXPECT_EQ(f.gridPage.session.chosenCells, c.gridDrawn ? Flags(4, false) : Flags{true}) << name;
        EXPECT_EQ(f.gridPage.chosenCount->text(), c.gridDrawn ? L"0" : L"1") << name;
        EXPECT_TRUE(rig.shell.messages.empty()) << name;
        EXPECT_EQ(rig.host->liveObjects(), 0) << name;
    }
}

// Values no host should give end the capture as a host failure at that step: the
// photograph, its view and the grid stay as they were, and the CAD is put back.
TEST(GridCapture, ImplausibleHostValuesEndTheCaptureLeavingThePreview) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        const wchar_t* variable;  // the system variable answered with `value`; null for none
        cad::Value value;
    };
    const Case cases[] = {
        {"view size zero", L"VIEWSIZE", 0.0},
        {"view size negative", L"VIEWSIZE", -1.0},
        {"view size not a number", L"VIEWSIZE", nan},
        {"view centre infinite", L"VIEWCTR", std::vector<double>{inf, 0, 0}},
        {"screen size not a number", L"SCREENSIZE", std::vector<double>{nan, 500}},
        {"drawing scale not a number", L"DIMSCALE", nan},
        {"view window that is no window", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormRig rig(extentsDrawing(2000, 2000, 50));
        rig.host->setGridMode(true);
        if (c.variable) rig.answerVariable(c.variable, c.value);
        else rig.host->setWindowHandles(FormRig::kCadWindow, 555);
        const sim::ViewState viewBefore = rig.zoomIn();
        app::MainWindow& f = rig.f();
        auto oldPicture = std::make_shared<ui::PixelBitmap>(3, 3);
        f.gridPage.preview->setPicture(oldPicture);
        f.gridPage.session.view = {-1, -1, 2};
        f.gridPage.session.columns = 9;
        f.gridPage.session.chosenCells = {true};
        f.gridPage.chosenCount->setText(L"1");

        capture(rig);

        EXPECT_EQ(f.gridPage.preview->picture(), oldPicture);
        EXPECT_EQ(f.gridPage.session.view.cx, -1);
        EXPECT_EQ(f.gridPage.session.view.scale, 2);
        EXPECT_EQ(f.gridPage.session.columns, 9);
        EXPECT_EQ(f.gridPage.chosenCount->text(), L"1");
        EXPECT_TRUE(rig.host->gridMode());
        EXPECT_TRUE(rig.viewIs(viewBefore));
        EXPECT_EQ(rig.host->liveObjects(), 0);
    }
}

TEST(GridCapture, RefusedWhileAGridPlotRuns) {
    FormRig rig(extentsDrawing(2000, 2000));
    app::MainWindow& f = rig.f();
    f.gridPage.setPlotRunning(true);
    EXPECT_FALSE(f.gridPage.captureButton->enabled());
    EXPECT_FALSE(f.gridPage.basePointButton->enabled());
    EXPECT_FALSE(f.gridPage.spacingButton->enabled());
    capture(rig);
    EXPECT_EQ(rig.cad.created, 0);
    EXPECT_EQ(f.gridPage.preview->picture(), nullptr);
    f.gridPage.setPlotRunning(false);
    EXPECT_TRUE(f.gridPage.captureButton->enabled() && f.gridPage.basePointButton->enabled() && f.gridPage.spacingButton->enabled());
    capture(rig);
    EXPECT_NE(f.gridPage.preview->picture(), nullptr);
}

TEST(GridCapture, WithoutTheHostNothingHappens) {
    FormRig rig(extentsDrawing(2000, 2000));
    rig.shell.windows.erase(FormRig::kCadWindow);
    capture(rig);
    EXPECT_TRUE(rig.shell.log.empty());
    EXPECT_EQ(rig.f().gridPage.preview->picture(), nullptr);
}

}  // namespace
