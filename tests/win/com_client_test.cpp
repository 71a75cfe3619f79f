// The COM client against the stand-in, cadsim.exe, in its own process: selections,
// entities (both kinds of polyline in one selection, each kind with its own member ids),
// extents, system variables, layout lists, every member of the table, host failures and
// ill-formed results, the temporary selection set, and connecting when there is no host
// or no automation class.
#include <gtest/gtest.h>

#include <algorithm>

#include "cad/com/co_application_win.h"
#include "cad/com/com_types_win.h"
#include "cad/connect.h"
#include "cad/members.h"
#include "com_cadsim.h"
#include "sheets/frame_query.h"

namespace {

using namespace cad;
using comtest::CadSimTest;
using comtest::kFrame;
using comtest::kOldStyle;
using comtest::kOpen;

TEST_F(CadSimTest, LayerAndTypeFilterSelectsTheMatchingEntities) {
    startShared();
    const std::tuple<const wchar_t*, const wchar_t*, std::int32_t> cases[] = {
        {L"FRAME", L"LWPOLYLINE", 2}, {L"FRAME", L"POLYLINE", 1}, {L"FRAME", L"LINE", 1},
        {L"Other", L"LWPOLYLINE", 1}, {L"NOSUCH", L"*", 0},
    };
    for (const auto& [layer, type, count] : cases) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(layer).string() << " "
                                        << std::filesystem::path(type).string());
        EXPECT_EQ(countOf(layer, type), count);
    }
}

TEST_F(CadSimTest, PolylinesGiveTheirCoordinatesAndClosedFlag) {
    startShared();
    using Shapes = std::vector<std::pair<bool, std::vector<double>>>;
    EXPECT_EQ(shapesOf(L"FRAME", L"LWPOLYLINE"), (Shapes{{false, kOpen}, {true, kFrame}}));
    EXPECT_EQ(shapesOf(L"FRAME", L"POLYLINE"), (Shapes{{true, kOldStyle}}));
}

// The frame query over one selection holding both kinds of polyline by turns: the
// stand-in, like a real host, gives the old-style polyline's members other ids than the
// lightweight one's, so each entity must be called with its own kind's ids. Each entity
// still costs three automation calls (Item, Coordinates, Closed).
TEST_F(CadSimTest, FrameQueryReadsBothKindsOfPolylineInOneSelection) {
    start({}, "", comtest::kMixedPolylines);
    auto set = tempSelectionSet(*doc);
    const std::size_t before = comtest::readFile(trace).size();
    const frames::FrameQueryResult result = frames::queryFrames(*set, L"FRAME");
    EXPECT_EQ(result.found, 4);
    ASSERT_EQ(result.frames.size(), 2u);  // old-style polylines give three numbers a vertex: no frame
    EXPECT_EQ((std::vector<double>{result.frames[0].minx, result.frames[0].miny, result.frames[0].maxx,
                                   result.frames[0].maxy}),
              (std::vector<double>{0, 0, 420, 297}));
    EXPECT_EQ((std::vector<double>{result.frames[1].minx, result.frames[1].miny, result.frames[1].maxx,
                                   result.frames[1].maxy}),
              (std::vector<double>{1000, 0, 1420, 297}));

    // Clear, Select and Count, then three calls an entity.
    const std::string calls = comtest::readFile(trace).substr(before);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 3 + 3 * result.found) << calls;
    EXPECT_EQ(calls.find("fail"), std::string::npos) << calls;

    // What each kind gave is its own.
    using Shapes = std::vector<std::pair<bool, std::vector<double>>>;
    EXPECT_EQ(shapesOf(L"FRAME", L"*POLYLINE"),
              (Shapes{{false, {0, 400, 0, 100, 400, 0, 100, 500, 0}},
                      {true, {0, 0, 420, 0, 420, 297, 0, 297}},
                      {true, {500, 0, 0, 920, 0, 0, 920, 297, 0, 500, 297, 0}},
                      {true, {1000, 0, 1420, 0, 1420, 297, 1000, 297}}}));
}

TEST_F(CadSimTest, BoundingBoxSurroundsTheSelectionAndAnEmptySetHasNone) {
    startShared();
    auto set = tempSelectionSet(*doc);
    CadPoint ll, ur;
    EXPECT_THROW(set->measureExtents(ll, ur), CadError);
    SelectionFilter filter{{8, 0}, {L"FRAME", L"LWPOLYLINE"}};
    set->selectWithFilter(5, nullptr, nullptr, &filter);
    set->measureExtents(ll, ur);
    ASSERT_GE(ll.size(), 2u);
    ASSERT_GE(ur.size(), 2u);
    EXPECT_EQ((CadPoint{ll[0], ll[1]}), (CadPoint{0, 0}));
    EXPECT_EQ((CadPoint{ur[0], ur[1]}), (CadPoint{600, 297}));
}

TEST_F(CadSimTest, SystemVariablesReadAndWrite) {
    startShared();
    for (std::int32_t mode : {1, 0}) {
        doc->writeSysVar(L"GRIDMODE", mode);
        EXPECT_EQ(sysVarInteger(doc->readSysVar(L"GRIDMODE")), mode);
    }
    doc->writeSysVar(L"BACKGROUNDPLOT", std::int32_t{0});
    EXPECT_EQ(sysVarInteger(doc->readSysVar(L"BACKGROUNDPLOT")), 0);
    EXPECT_EQ(sysVarNumber(doc->readSysVar(L"DIMSCALE")), 2.5);
    EXPECT_GT(sysVarNumber(doc->readSysVar(L"VIEWSIZE")), 0);
    EXPECT_EQ(sysVarPoint(doc->readSysVar(L"VIEWCTR")).size(), 3u);
    CadPoint screen = sysVarPoint(doc->readSysVar(L"SCREENSIZE"));
    EXPECT_GT(screen[0], 0);
    EXPECT_GT(screen[1], 0);
    CadPoint min = sysVarPoint(doc->readSysVar(L"EXTMIN")), max = sysVarPoint(doc->readSysVar(L"EXTMAX"));
    EXPECT_EQ((CadPoint{min[0], min[1], max[0], max[1]}), (CadPoint{0, -100, 800, 400}));
    EXPECT_THROW(doc->readSysVar(L"NOSUCHVAR"), CadError);
}

// With an odd BACKGROUNDPLOT the stand-in plots in the background, as the host does
// (AutoCAD's reference, "BACKGROUNDPLOT (System Variable)"): PlotToDevice answers true at
// once, the sheet's journal line comes a while later from the stand-in's message loop,
// and a plot asked for meanwhile answers false.
TEST_F(CadSimTest, AnOddBackgroundPlotIsWrittenLaterAndRefusesAPlotMeanwhile) {
    start();
    doc->writeSysVar(L"BACKGROUNDPLOT", std::int32_t{1});
    auto layout = doc->currentLayout();
    ASSERT_FALSE(chooseDeviceWithMedia(*layout).empty());
    auto plot = doc->plotService();
    const auto lines = [this] {
        const std::string text = comtest::readFile(journal);
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_TRUE(plot->runPlot());
    EXPECT_EQ(lines(), 0) << "written at once";
    EXPECT_FALSE(plot->runPlot()) << "a second plot while the first is plotting";
    EXPECT_TRUE(wintest::waitUntil([&] { return lines() == 1; }, 15000, 100)) << "the sheet never came";
    EXPECT_TRUE(plot->runPlot()) << "refused after the first had ended";
    EXPECT_TRUE(wintest::waitUntil([&] { return lines() == 2; }, 15000, 100)) << "the second sheet never came";
}

TEST_F(CadSimTest, LayoutListsFollowTheDevice) {
    startShared();
    auto layout = doc->currentLayout();
    ASSERT_GE(layout->deviceList().size(), 2u);
    StringList media = chooseDeviceWithMedia(*layout);
    ASSERT_FALSE(media.empty());
    EXPECT_FALSE(layout->mediaDisplayName(media.front()).empty());
    StringList styles = layout->styleTableList();
    ASSERT_FALSE(styles.empty());
    layout->setStyleTable(styles.back());
    EXPECT_EQ(layout->styleTableName(), styles.back());
}

TEST_F(CadSimTest, HandlesAreTheHostsWindows) {
    startShared();
    HWND main = FindWindowW(nullptr, kHostWindowTitle);
    EXPECT_EQ(app->mainWindowHandle(), static_cast<std::intptr_t>(reinterpret_cast<std::intptr_t>(main)));
    HWND document = reinterpret_cast<HWND>(doc->documentWindowHandle());
    EXPECT_TRUE(IsWindow(document));
    EXPECT_EQ(GetAncestor(document, GA_ROOT), main);
}

TEST_F(CadSimTest, TempSelectionSetIsReusedAndHandedOutEmpty) {
    start();
    auto sets = doc->selectionSetCollection();
    const std::int32_t before = sets->setCount();
    {
        auto first = tempSelectionSet(*doc);
        EXPECT_EQ(first->setName(), L"ssTemp");
        SelectionFilter filter{{8}, {L"FRAME"}};
        first->selectWithFilter(5, nullptr, nullptr, &filter);
        EXPECT_EQ(first->entityCount(), 4);
    }
    EXPECT_EQ(sets->setCount(), before + 1);
    auto again = tempSelectionSet(*doc);
    EXPECT_EQ(again->setName(), L"ssTemp");
    EXPECT_EQ(again->entityCount(), 0);
    EXPECT_EQ(sets->setCount(), before + 1);  // no second set of that name
}

TEST_F(CadSimTest, ANameDifferingInCaseIsNotTakenForTheTempSet) {
    start();
    doc->selectionSetCollection()->addSet(L"SSTEMP");
    try {
        auto set = tempSelectionSet(*doc);
        EXPECT_EQ(set->setName(), L"ssTemp");
    } catch (const CadError&) {
        // The host may refuse the name; its refusal reaches the caller.
    }
    const std::wstring add(member(Operation::addSet).name);
    const std::string call = "SelectionSets." + std::string(add.begin(), add.end()) + "(\"ssTemp\")";
    EXPECT_NE(comtest::readFile(trace).find(call), std::string::npos) << call;
}

}  // namespace
