// The frame capture: its arithmetic, the frame query through the stand-in, the desktop
// and host calls in their order, the photograph in the preview, and what a failure at
// each step leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "form_rig.h"
#include "sheets/capture_geometry.h"
#include "sim_test_support.h"

namespace {

using frames::CaptureArea;
using frames::FrameList;
using frames::FrameRect;
using simtest::line;
using simtest::polyline;
using simtest::rectangle;
using sim::Entity;
using testing_support::FormRig;

const std::wstring kLayer = L"MORVEL";  // frameLayer's initial text

// A drawing whose extents are (0, 0) to (w, h), held by a line on another layer.
sim::Drawing drawingOf(std::vector<Entity> entities, double w = 2000, double h = 2000) {
    entities.push_back(line(L"0", {0, 0}, {w, h}));
    return simtest::drawingOf(std::move(entities));
}

FrameRect frame(double minx, double miny, double maxx, double maxy, int row = 0, bool kept = false) {
    FrameRect f;
    f.minx = minx, f.miny = miny, f.maxx = maxx, f.maxy = maxy, f.row = row, f.kept = kept;
    return f;
}

void capture(FormRig& rig) { rig.f().framePage.capture(); }

// ---- arithmetic

TEST(CaptureGeometry, FramesTheViewToTheExtentsAspect) {
    struct Case {
        const char* name;
        int fullWidth, fullHeight;
        double viewSize, ex, ey;
        CaptureArea expected;
    };
    const Case cases[] = {
        // u = Trunc(500 / 2000 * 2000), gx = (1000 - 500) div 2, A = vs / 2000 * 2000
        {"view wider than square extents", 1000, 500, 2000, 2000, 2000, {500, 500, 250, 0, 2000}},
        // 333 / 2 * 3 = 499.5 truncated; (1001 - 499) div 2 = 251
        {"wider, width truncated", 1001, 333, 333, 3, 2, {499, 333, 251, 0, 499.5}},
        // v = Trunc(1000 / 7 * 3) = 428, gy = (500 - 428) div 2 = 36, A = 700 / 500 * 1000 kept
        {"view narrower than the extents", 1000, 500, 700, 7, 3, {1000, 428, 0, 36, 1400}},
        // 1000 / 500 = 2000 / 1000 takes the narrower branch: nothing trimmed
        {"same aspect", 1000, 500, 800, 2000, 1000, {1000, 500, 0, 0, 1600}},
        // A bar higher than the view, or no view: nothing to frame, and no height of
        // 1000 / 2 * 1e12 pixels to convert.
        {"view of negative height", 1000, -5, 800, 2, 1e12, {}},
        {"view of no height", 1000, 0, 800, 2, 1e12, {}},
        {"view of no width", 0, 500, 800, 1e12, 2, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frames::fitCaptureArea(c.fullWidth, c.fullHeight, c.viewSize, c.ex, c.ey), c.expected) << c.name;
}

TEST(CaptureGeometry, PreviewFitsTheImageAreaByOneFactor) {
    struct Case {
        int u, v, boxWidth, boxHeight;
        frames::PreviewSize expected;
    };
    const Case cases[] = {
        {500, 500, 470, 279, {279, 279}},    // the height decides
        {1000, 250, 470, 279, {470, 117}},   // the width decides; 117.5 truncated
        {100, 50, 470, 279, {470, 235}},     // a small view is enlarged
        {0, 50, 470, 279, {0, 0}},           // nothing to reduce
    };
    for (const Case& c : cases)
        EXPECT_EQ(frames::previewSize(c.u, c.v, c.boxWidth, c.boxHeight), c.expected) << c.u << "x" << c.v;
}

TEST(CaptureGeometry, ExtentsMustExceedOneUnitBothWays) {
    EXPECT_TRUE(frames::extentsValid(0, 0, 1.5, 1.5));
    EXPECT_FALSE(frames::extentsValid(0, 0, 1.0, 500));
    EXPECT_FALSE(frames::extentsValid(0, 0, 500, 1.0));
    EXPECT_FALSE(frames::extentsValid(5, 5, 0, 0));
}

// ---- the frame query, through the stand-in

TEST(FrameCapture, FrameQueryKeepsClosedFourVertexPolylinesOnTheTypedLayer) {
    using sim::EntityType;
    struct Case {
        const char* name;
        std::vector<Entity> entities;
        std::wstring layerText;
        bool fromTop;
        FrameList expected;
    };
    const std::vector<sim::Vec2> box = {{0, 0}, {100, 0}, {100, 50}, {0, 50}};
    const Case cases[] = {
        {"skewed quadrilateral: its bounding box",
         {polyline(kLayer, {{100, 10}, {0, 0}, {120, 80}, {10, 70}}, true)}, kLayer, false, {frame(0, 0, 120, 80)}},
        {"open", {polyline(kLayer, box, false)}, kLayer, false, {}},
        {"three vertices", {polyline(kLayer, {{0, 0}, {100, 0}, {100, 50}}, true)}, kLayer, false, {}},
        {"five vertices", {polyline(kLayer, {{0, 0}, {100, 0}, {100, 50}, {50, 80}, {0, 50}}, true)}, kLayer, false, {}},
        {"fifth vertex repeats the first", {polyline(kLayer, {{0, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}}, true)},
         kLayer, false, {}},
        {"old-style polyline, 12 numbers", {polyline(kLayer, box, true, EntityType::Polyline)}, kLayer, false, {}},
        {"another layer", {rectangle(L"0", 0, 0, 100, 50)}, kLayer, false, {}},
        {"spaces typed around the name", {rectangle(kLayer, 0, 0, 100, 50)}, L" " + kLayer + L" ", false, {}},
        {"spaces in the layer's own name", {rectangle(L" " + kLayer + L" ", 0, 0, 100, 50)}, L" " + kLayer + L" ",
         false, {frame(0, 0, 100, 50)}},
        {"a line on the layer is not asked about", {line(kLayer, {0, 0}, {9, 9}), rectangle(kLayer, 0, 0, 100, 50)},
         kLayer, false, {frame(0, 0, 100, 50)}},
        {"rows from the bottom", {rectangle(kLayer, 0, 1000, 100, 1100), rectangle(kLayer, 0, 0, 100, 100)}, kLayer,
         false, {frame(0, 0, 100, 100, 0, true), frame(0, 1000, 100, 1100, 1, true)}},
        {"rows from the top", {rectangle(kLayer, 0, 0, 100, 100), rectangle(kLayer, 0, 1000, 100, 1100)}, kLayer,
         true, {frame(0, 1000, 100, 1100, 0, true), frame(0, 0, 100, 100, 1, true)}},
    };
    for (const Case& c : cases) {
        FormRig rig(drawingOf(c.entities));
        rig.f().framePage.layer->setText(c.layerText);
        rig.f().framePage.fromTop->setChecked(c.fromTop);
        rig.f().framePage.session.frames = {frame(-9, -9, -8, -8)};
        capture(rig);
        EXPECT_EQ(rig.f().framePage.session.frames, c.expected) << c.name;
        EXPECT_EQ(rig.f().framePage.chosenCount->text(), L"0") << c.name;  // a picture was taken each time
    }
}

TEST(FrameCapture, EmptyLayerStillTakesThePicture) {
    FormRig rig(drawingOf({}));
    rig.f().framePage.session.frames = {frame(0, 0, 100, 100)};
    rig.f().framePage.chosenCount->setText(L"4");
    capture(rig);
    EXPECT_TRUE(rig.f().framePage.session.frames.empty());
    EXPECT_EQ(rig.f().framePage.chosenCount->text(), L"0");
    ASSERT_NE(rig.f().framePage.preview->picture(), nullptr);
    EXPECT_GT(rig.f().framePage.preview->picture()->width(), 0);
}

TEST(FrameCapture, SecondCaptureStartsWithNoFrameChosen) {
    FormRig rig(drawingOf({rectangle(kLayer, 0, 0, 400, 300), rectangle(kLayer, 500, 0, 900, 300)}));
    capture(rig);
    ASSERT_EQ(rig.f().framePage.session.frames.size(), 2u);
    for (FrameRect& f : rig.f().framePage.session.frames) f.chosen = true;
    capture(rig);
    ASSERT_EQ(rig.f().framePage.session.frames.size(), 2u);
    for (const FrameRect& f : rig.f().framePage.session.frames) EXPECT_FALSE(f.chosen);
}

// The capture reaches the CAD chosen as the target, and only when its window is there.
TEST(FrameCapture, TheCaptureReachesTheTargetCadOnly) {
    FormRig rig(drawingOf({rectangle(kLayer, 0, 0, 400, 300)}));
    rig.f().chooseTarget(2);
    ASSERT_EQ(rig.f().targetCad().name, L"AutoCAD");
    capture(rig);
    EXPECT_TRUE(rig.f().framePage.session.frames.empty()) << "the nanoCAD 5 window is not AutoCAD's";
    EXPECT_TRUE(rig.cad.profiles.empty());
    rig.shell.windows[FormRig::kCadWindow].title = L"Autodesk AutoCAD 2026 - [sample.dwg]";
    capture(rig);
    EXPECT_EQ(rig.f().framePage.session.frames.size(), 1u);
    ASSERT_FALSE(rig.cad.profiles.empty());
    for (const std::wstring& asked : rig.cad.profiles) EXPECT_EQ(asked, L"AutoCAD");
}

// ---- extents, framing and the photograph

TEST(FrameCapture, ExtentsOfOneUnitOrLessTakeNoPicture) {
    struct Case {
        double w, h;
        bool taken;
    };
    const Case cases[] = {{1.0, 500, false}, {500, 1.0, false}, {0.5, 0.5, false}, {1.5, 1.5, true}};
    for (const Case& c : cases) {
        FormRig rig(drawingOf({rectangle(kLayer, 0, 0, c.w, c.h)}, c.w, c.h));
        rig.host->setGridMode(true);
        auto oldPreview = std::make_shared<ui::PixelBitmap>(3, 3);
        auto oldClean = std::make_shared<ui::PixelBitmap>(3, 3);
        rig.f().framePage.preview->setPicture(oldPreview);
        rig.f().framePage.session.photo = oldClean;
        rig.f().framePage.chosenCount->setText(L"3");
        capture(rig);
        const std::string name = std::to_string(c.w) + " x " + std::to_string(c.h);
        EXPECT_EQ(rig.f().framePage.session.frames, FrameList{frame(0, 0, c.w, c.h)}) << name;  // the list is new either way
        // The view centre belongs to the photograph: replaced with it, or not at all.
        EXPECT_DOUBLE_EQ(rig.f().framePage.session.view.cx, c.taken ? c.w / 2 : 0) << name;
        EXPECT_EQ(rig.f().framePage.preview->picture() != oldPreview, c.taken) << name;
        EXPECT_EQ(rig.f().framePage.session.photo != oldClean, c.taken) << name;
        EXPECT_EQ(rig.f().framePage.chosenCount->text(), c.taken ? L"0" : L"3") << name;
        EXPECT_TRUE(rig.host->gridMode()) << name;
        EXPECT_EQ(rig.shell.log.back(), "restore main") << name;
    }
}

// The display holds red everywhere but the expected capture rectangle, whose left half
// is green and right half blue. The reduced picture must hold no red at all (a shifted
// or resized copy would OR some in along an edge), green on its left and blue on its
// right.
TEST(FrameCapture, PhotographsTheFramedViewAreaIntoPreviewAndCleanCopy) {
    struct Case {
        double w, h;             // drawing extents
        desktop::ScreenRect copied;  // on the screen
    };
    // The document window's top-left corner is (40, 60); the view area is its top 1000 x 500.
    const Case cases[] = {
        {2000, 2000, {40 + 250, 60, 40 + 250 + 500, 60 + 500}},         // gx = 250
        {4000, 1000, {40, 60 + 125, 40 + 1000, 60 + 125 + 250}},       // v = 250, gy = 125
    };
    constexpr std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    for (const Case& c : cases) {
        FormRig rig(drawingOf({}, c.w, c.h));
        rig.host->setGridMode(true);
        ui::PixelBitmap& screen = rig.shell.displayPixels();
        const int midX = c.copied.left + c.copied.width() / 2;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                const bool inside = x >= c.copied.left && x < c.copied.right && y >= c.copied.top && y < c.copied.bottom;
                screen.at(x, y) = !inside ? red : x < midX ? green : blue;
            }
        capture(rig);
        const std::string name = std::to_string(c.w) + " x " + std::to_string(c.h);
        const std::string copy = "copy " + std::to_string(c.copied.left) + "," + std::to_string(c.copied.top) + " " +
                                 std::to_string(c.copied.width()) + "x" + std::to_string(c.copied.height());
        EXPECT_NE(std::find(rig.shell.log.begin(), rig.shell.log.end(), copy), rig.shell.log.end()) << name;

        app::MainWindow& f = rig.f();
        const frames::PreviewSize size =
            frames::previewSize(c.copied.width(), c.copied.height(), f.framePage.preview->width(), f.framePage.preview->height());
        const auto shown = f.framePage.preview->picture();
        ASSERT_NE(shown, nullptr) << name;
        ASSERT_NE(f.framePage.session.photo, nullptr) << name;
        EXPECT_EQ(shown->width(), size.width) << name;
        EXPECT_EQ(shown->height(), size.height) << name;
        EXPECT_TRUE(f.framePage.preview->center() && f.framePage.preview->stretch() && f.framePage.preview->proportional()) << name;
        EXPECT_NE(shown.get(), f.framePage.session.photo.get()) << name;
        EXPECT_NE(shown->pixels().pixels, f.framePage.session.photo->pixels().pixels) << name;
        ASSERT_EQ(f.framePage.session.photo->width(), size.width) << name;
        ASSERT_EQ(f.framePage.session.photo->height(), size.height) << name;

        const ui::PixelView p = shown->pixels(), q = f.framePage.session.photo->pixels();
        int wrong = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const std::uint32_t px = p.pixels[y * p.stride + x];
                wrong += (px & red) != 0 || px != q.pixels[y * q.stride + x];
                if (x < p.width / 2 - 1) wrong += px != green;
                if (x > p.width / 2 + 1) wrong += px != blue;
            }
        EXPECT_EQ(wrong, 0) << name;

        // s = A / W2 with A the width in drawing units of what was copied; the view
        // centre is the drawing's centre, where ZoomExtents put it.
        EXPECT_DOUBLE_EQ(f.framePage.session.view.scale, (c.w == c.h ? 2000.0 : 4000.0) / size.width) << name;
        EXPECT_DOUBLE_EQ(f.framePage.session.view.cx, c.w / 2) << name;
        EXPECT_DOUBLE_EQ(f.framePage.session.view.cy, c.h / 2) << name;
        EXPECT_TRUE(rig.host->gridMode()) << name;
    }
}

// ---- the order of the desktop and host calls

TEST(FrameCapture, DesktopStepsInOrder) {
    for (const bool iconic : {false, true}) {
        FormRig rig(drawingOf({}));
        rig.shell.windows[FormRig::kCadWindow].iconic = iconic;
        capture(rig);
        std::vector<std::string> expected = {"minimise main"};
        if (iconic) expected.insert(expected.end(), {"restore 101", "sleep 500"});
        const frames::PreviewSize size = frames::previewSize(500, 500, rig.f().framePage.preview->width(), rig.f().framePage.preview->height());
        expected.insert(expected.end(), {"sleep 100", "foreground 101", "copy 290,60 500x500",
                                         "shrink " + std::to_string(size.width) + "x" + std::to_string(size.height),
                                         "sleep 100", "restore main"});
        EXPECT_EQ(rig.shell.log, expected) << (iconic ? "CAD window minimised" : "CAD window open");
        EXPECT_FALSE(rig.shell.windows[FormRig::kCadWindow].iconic);
    }
}

TEST(FrameCapture, HostCallsInOrder) {
    simtest::TempDir dir;
    sim::Options options;
    options.trace = dir / "trace.txt";
    FormRig rig(drawingOf({rectangle(kLayer, 0, 0, 100, 50)}), options);
    rig.host->setGridMode(true);
    capture(rig);
    std::vector<std::string> calls = simtest::readLines(options.trace);
    // What follows the view's restoration belongs to the device and paper lists.
    const auto end = std::find(calls.begin(), calls.end(), "Application.ZoomPrevious()");
    ASSERT_NE(end, calls.end());
    calls.erase(end + 1, calls.end());
    const std::vector<std::string> expected = {
        "Application.HWND",
        "Application.ActiveDocument",
        "Application.ZoomExtents()",
        "Application.HWND",
        "Document.HWND",
        "Document.ActiveSelectionSet",
        "SelectionSet.Clear()",
        "SelectionSet.Select(5, omitted, omitted, [8, 0], [\"MORVEL\", \"*POLYLINE\"])",
        "SelectionSet.Count",
        "SelectionSet.Item(0)",
        "Entity.Coordinates",
        "Entity.Closed",
        "SelectionSet.Clear()",
        "Document.HWND",
        "Document.GetVariable(\"GRIDMODE\")",
        "Document.SetVariable(\"GRIDMODE\", 0)",
        "Document.GetVariable(\"VIEWCTR\")",
        "Document.GetVariable(\"VIEWSIZE\")",
        "Document.SelectionSets",
        "SelectionSets.Count",
        "SelectionSets.Add(\"ssTemp\")",
        "SelectionSet.Clear()",
        "SelectionSet.Select(5, omitted, omitted, omitted, omitted)",
        "SelectionSet.GetBoundingBox(empty, empty)",
        "SelectionSet.Clear()",
        "SelectionSet.Delete()",
        "Document.SetVariable(\"GRIDMODE\", 1)",
        "Application.ZoomPrevious()",
    };
    EXPECT_EQ(calls, expected);
}

TEST(FrameCapture, WithoutTheHostOnlyTheMainWindowIsRestored) {
    struct Case {
        const char* name;
        bool noCadWindow, creationFails, plotRunning;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"no CAD window", true, false, false, {"restore main"}},
        {"no application object", false, true, false, {"restore main"}},
        {"a frame plot is running", false, false, true, {}},
    };
    for (const Case& c : cases) {
        FormRig rig(drawingOf({rectangle(kLayer, 0, 0, 100, 50)}));
        if (c.noCadWindow) rig.shell.windows.erase(FormRig::kCadWindow);
        rig.cad.fail = c.creationFails;
        rig.f().framePage.setPlotRunning(c.plotRunning);
        const FrameList before = {frame(-9, -9, -8, -8, 0, false)};
        rig.f().framePage.session.frames = before;
        capture(rig);
        EXPECT_EQ(rig.shell.log, c.log) << c.name;
        EXPECT_EQ(rig.f().framePage.session.frames, before) << c.name;
        EXPECT_EQ(rig.f().framePage.preview->picture(), nullptr) << c.name;
        EXPECT_EQ(rig.cad.created, 0) << c.name;
    }
}

// ---- a failure at each step

// A failure ends the capture where it happens; what was done before stays done, except
// that the CAD's grid display and view are put back on every path (as best effort: a
// failing put-back itself is let be).
TEST(FrameCapture, FailureAtEachStepEndsTheCaptureThere) {
    struct Case {
        const char* rule;        // the failing host call; "" for none
        bool copyFails;          // the screen copy fails
        bool oldExtentsValid;    // a previous capture measured valid extents
        bool framesRebuilt, pictureTaken, gridRestored, viewBack, listsRefreshed;
    };
    // rule, copy fails, old extents valid | frames rebuilt, picture (and its view centre), GRIDMODE back, CAD view back, chosenFrameCount and lists
    const Case cases[] = {
        {"Application.HWND@1", false, false, false, false, true,  true,  false},  // the CAD window
        {"ActiveDocument",     false, false, false, false, true,  true,  false},
        {"ZoomExtents",        false, false, false, false, true,  true,  false},
        {"Application.HWND@2", false, false, false, false, true,  true,  false},  // to the foreground
        {"Document.HWND@1",    false, false, false, false, true,  true,  false},  // the capture origin
        {"Select@1",           false, false, false, false, true,  true,  false},  // the frame query
        {"Closed@2",           false, false, false, false, true,  true,  false},  // the second polyline
        {"Clear@2",            false, false, true,  false, true,  true,  false},  // emptying after the query
        {"Document.HWND@2",    false, false, true,  false, true,  true,  false},  // the window geometry
        {"GetVariable@1",      false, false, true,  false, true,  true,  false},  // GRIDMODE read
        {"SetVariable@1",      false, false, true,  false, true,  true,  false},  // GRIDMODE := 0
        {"GetVariable@2",      false, false, true,  false, true,  true,  false},  // VIEWCTR
        {"GetVariable@3",      false, false, true,  false, true,  true,  false},  // VIEWSIZE
        {"GetBoundingBox",     false, false, true,  false, true,  true,  false},  // ignored; old extents 0: no picture
        {"SelectionSets",      false, false, true,  false, true,  true,  false},  // "ssTemp" not had; ignored
        {"Delete",             false, false, true,  true,  true,  true,  true},   // measured already; ignored
        {"GetBoundingBox",     false, true,  true,  false, true,  true,  false},  // old extents valid, nothing measured
        {"",                   true,  false, true,  false, true,  true,  false},  // the screen copy
        // A failing put-back is tried once more as the capture ends; failing again, it is let be.
        {"SetVariable@2",      false, false, true,  true,  true,  true,  false},  // GRIDMODE put back
        {"SetVariable@2,SetVariable@3", false, false, true, true, false, true, false},
        {"ZoomPrevious",       false, false, true,  true,  true,  true,  false},
        {"ZoomPrevious@1,ZoomPrevious@2", false, false, true, true, true, false, false},
        {"",                   false, false, true,  true,  true,  true,  true},   // no failure
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.copyFails ? "screen copy" : *c.rule ? c.rule : "no failure") +
                                 (c.oldExtentsValid ? " (old extents)" : "");
        sim::Options options;
        options.fails = simtest::splitRules(c.rule);
        FormRig rig(drawingOf({rectangle(kLayer, 0, 0, 400, 300), rectangle(kLayer, 500, 0, 900, 300)}), options);
        rig.host->setGridMode(true);
        rig.shell.failScreenCopy = c.copyFails;
        const sim::ViewState viewBefore = rig.zoomIn();
        app::MainWindow& f = rig.f();
        if (c.oldExtentsValid) f.framePage.session.captureExtents.minX = 0, f.framePage.session.captureExtents.minY = 0, f.framePage.session.captureExtents.maxX = 50, f.framePage.session.captureExtents.maxY = 50;
        f.framePage.session.frames = {frame(-9, -9, -8, -8)};
        f.framePage.session.view.cx = f.framePage.session.view.cy = -1;
        f.framePage.chosenCount->setText(L"9");

        capture(rig);

        EXPECT_EQ(f.framePage.session.frames.size() == 2, c.framesRebuilt) << name;
        if (c.framesRebuilt)
            EXPECT_EQ(f.framePage.session.frames, (FrameList{frame(0, 0, 400, 300, 0, true), frame(500, 0, 900, 300, 0, true)})) << name;
        else
            EXPECT_EQ(f.framePage.session.frames, FrameList{frame(-9, -9, -8, -8)}) << name;
        EXPECT_EQ(f.framePage.session.view.cx == 1000, c.pictureTaken) << name;
        EXPECT_EQ(f.framePage.preview->picture() != nullptr, c.pictureTaken) << name;
        EXPECT_EQ(rig.host->gridMode(), c.gridRestored) << name;
        EXPECT_EQ(rig.viewIs(viewBefore), c.viewBack) << name;
        EXPECT_EQ(f.framePage.chosenCount->text(), c.listsRefreshed ? L"0" : L"9") << name;
        EXPECT_FALSE(rig.shell.mainMinimised) << name;
        EXPECT_EQ(rig.shell.log.back(), "restore main") << name;
        EXPECT_EQ(rig.host->liveObjects(), 0) << name;
    }
}

// Values no host should give end the capture as a host failure at that step: the
// photograph, its view and the count stay as they were, and the CAD is put back. A
// polyline with a corner that is not a number is no frame.
TEST(FrameCapture, ImplausibleHostValuesEndTheCaptureLeavingThePreview) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        const wchar_t* variable;  // the system variable answered with `value`; null for none
        cad::Value value;
        bool documentWindowGone;
        bool framesRebuilt;
    };
    const Case cases[] = {
        {"view size zero", L"VIEWSIZE", 0.0, false, true},
        {"view size negative", L"VIEWSIZE", -100.0, false, true},
        {"view size not a number", L"VIEWSIZE", nan, false, true},
        {"view size infinite", L"VIEWSIZE", inf, false, true},
        {"view centre not a number", L"VIEWCTR", std::vector<double>{nan, 0, 0}, false, true},
        {"view centre infinite", L"VIEWCTR", std::vector<double>{0, -inf, 0}, false, true},
        {"document window that is no window", nullptr, {}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormRig rig(drawingOf({rectangle(kLayer, 0, 0, 400, 300), rectangle(kLayer, 500, 0, 900, 300)}));
        rig.host->setGridMode(true);
        if (c.documentWindowGone) rig.host->setWindowHandles(FormRig::kCadWindow, 555);
        if (c.variable)
            rig.answerVariable(c.variable, c.value);
        const sim::ViewState viewBefore = rig.zoomIn();
        app::MainWindow& f = rig.f();
        auto oldPicture = std::make_shared<ui::PixelBitmap>(3, 3);
        f.framePage.preview->setPicture(oldPicture);
        f.framePage.session.frames = {frame(-9, -9, -8, -8)};
        f.framePage.session.view = {-1, -1, 2};
        f.framePage.chosenCount->setText(L"9");

        capture(rig);

        EXPECT_EQ(f.framePage.session.frames.size() == 2, c.framesRebuilt);
        EXPECT_EQ(f.framePage.preview->picture(), oldPicture);
        EXPECT_EQ(f.framePage.session.view.cx, -1);
        EXPECT_EQ(f.framePage.session.view.scale, 2);
        EXPECT_EQ(f.framePage.chosenCount->text(), L"9");
        EXPECT_TRUE(rig.host->gridMode());
        EXPECT_TRUE(rig.viewIs(viewBefore));
        EXPECT_EQ(rig.host->liveObjects(), 0);
        for (const std::string& entry : rig.shell.log) EXPECT_FALSE(entry.starts_with("copy")) << entry;
    }
}

TEST(FrameCapture, APolylineWithACornerThatIsNotANumberIsNoFrame) {
    for (const double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        FormRig rig(drawingOf({rectangle(kLayer, 0, 0, 400, 300), rectangle(kLayer, 500, 0, 900, 300),
                               rectangle(kLayer, 0, 500, 400, 800)}));
        int polyline = 0;
        rig.cad.alter = [&](std::wstring_view member, const cad::ValueList&, cad::Value& result) {
            if (member == L"Coordinates" && ++polyline == 2) result.get<std::vector<double>>()->at(5) = bad;
        };
        capture(rig);
        EXPECT_EQ(rig.f().framePage.session.frames.size(), 2u) << bad;
        for (const FrameRect& f : rig.f().framePage.session.frames) EXPECT_NE(f.minx, 500) << bad;
    }
}

}  // namespace
