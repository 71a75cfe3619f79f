// The stand-in host's automation objects: selection, extents, system variables, the
// view, named selection sets, interfaces and object lifetimes, ill-shaped arguments.
#include <gtest/gtest.h>

#include "cad/automation.h"
#include "cad/connect.h"
#include "cad/ids.h"
#include "cad/late_bound.h"
#include "sim/model/host.h"
#include "sim/model/interfaces.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;

// Frames on MORVEL in all their forms, and what must not pass for them.
sim::Drawing framesDrawing() {
    std::vector<Entity> e;
    e.push_back(rectangle(L"MORVEL", 0, 0, 420, 297));                                               // 0
    e.push_back(polyline(L"MORVEL", {{500, 0}, {900, 0}, {920, 300}, {480, 290}}, true));           // 1 skewed
    e.push_back(polyline(L"MORVEL", {{0, 400}, {420, 400}, {420, 697}, {0, 697}}, false));          // 2 open
    e.push_back(polyline(L"morvel", {{1000, 0}, {1420, 0}, {1420, 297}, {1000, 297}}, true, EntityType::Polyline));  // 3
    e.push_back(line(L"MORVEL", {0, 0}, {10, 10}));                                                  // 4
    e.push_back(rectangle(L"MORVEL-2", 2000, 0, 2420, 297));                                         // 5
    e.push_back(circle(L"Notes", {100, 100}, 50));                                                   // 6
    return drawingOf(std::move(e), 50);
}

std::int32_t selectCount(const DispatchPtr& set, ValueList args) {
    call(set, L"Clear");
    call(set, L"Select", std::move(args));
    return as<std::int32_t>(get(set, L"Count"));
}

ValueList filter(std::int32_t mode, std::vector<std::int16_t> codes, std::vector<std::wstring> values) {
    ValueList list(values.begin(), values.end());
    return {mode, cad::Omitted{}, cad::Omitted{}, std::move(codes), std::move(list)};
}

TEST(SimSelection, LayerAndTypeFilterFindsEveryPolylineOnTheLayer) {
    Session s(framesDrawing());
    DispatchPtr set = object(get(s.doc, L"ActiveSelectionSet"));
    // Layer names compare without regard to case; "*POLYLINE" takes both kinds.
    EXPECT_EQ(selectCount(set, filter(5, {8, 0}, {L"MORVEL", L"*POLYLINE"})), 4);
    EXPECT_EQ(selectCount(set, filter(5, {8, 0}, {L"MORVEL", L"LWPOLYLINE"})), 3);
    EXPECT_EQ(selectCount(set, filter(5, {0}, {L"LINE"})), 1);
    EXPECT_EQ(selectCount(set, filter(5, {8}, {L"NOSUCH"})), 0);
    EXPECT_EQ(selectCount(set, {5}), 7);

    // What the frame query reads: coordinates (x, y per vertex, or x, y, z for the old
    // kind) and the closed flag.
    selectCount(set, filter(5, {8, 0}, {L"MORVEL", L"*POLYLINE"}));
    DispatchPtr first = object(call(set, L"Item", {std::int32_t{0}}));
    EXPECT_EQ(as<std::vector<double>>(get(first, L"Coordinates")), (std::vector<double>{0, 0, 420, 0, 420, 297, 0, 297}));
    EXPECT_TRUE(as<bool>(get(first, L"Closed")));
    EXPECT_FALSE(as<bool>(get(object(call(set, L"Item", {std::int32_t{2}})), L"Closed")));
    std::vector<double> old = as<std::vector<double>>(get(object(call(set, L"Item", {std::int32_t{3}})), L"Coordinates"));
    EXPECT_EQ(old.size(), 12u);
    EXPECT_EQ(old[3], 1420);
    EXPECT_EQ(old[5], 0);
}

TEST(SimSelection, SelectAddsToTheSetWithoutRepeatingEntities) {
    Session s(framesDrawing());
    DispatchPtr set = s.newSet(L"ss1");
    call(set, L"Select", filter(5, {0}, {L"LINE"}));
    call(set, L"Select", filter(5, {0}, {L"LINE,CIRCLE"}));
    EXPECT_EQ(as<std::int32_t>(get(set, L"Count")), 2);
}

TEST(SimSelection, OnlyNonPolylineEntitiesFailOnCoordinatesAndClosed) {
    Session s(framesDrawing());
    DispatchPtr set = s.newSet(L"ss1");
    call(set, L"Select", filter(5, {0}, {L"CIRCLE"}));
    DispatchPtr circle = object(call(set, L"Item", {std::int32_t{0}}));
    EXPECT_TRUE(contains(errorOf([&] { get(circle, L"Coordinates"); }), L"CIRCLE"));
    EXPECT_TRUE(contains(errorOf([&] { get(circle, L"Closed"); }), L"CIRCLE"));
}

TEST(SimSelection, WindowModeTakesOnlyWhatLiesWhollyInside) {
    Session s(framesDrawing());
    DispatchPtr set = s.newSet(L"w");
    auto window = [&](double x0, double y0, double x1, double y1) {
        return selectCount(set, {0, std::vector<double>{x0, y0, 0}, std::vector<double>{x1, y1}, cad::Omitted{}, cad::Omitted{}});
    };
    EXPECT_EQ(window(-1, -1, 421, 298), 3);  // the frame, the line and the circle
    EXPECT_EQ(window(421, 298, -1, -1), 3);  // corners in any order
    EXPECT_EQ(window(0, 0, 420, 297), 3);    // touching the edge is inside
    EXPECT_EQ(window(1, 1, 420, 297), 1);    // the circle only
    EXPECT_EQ(window(60, 60, 140, 140), 0);  // inside the circle is not around it
    EXPECT_TRUE(contains(errorOf([&] { call(set, L"Select", {0}); }), L"corners"));
}

TEST(SimSelection, ABlockInsertIsOneSelectableEntity) {
    sim::Drawing d = sim::readDxfText(
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nF\n10\n0\n20\n0\n0\nLWPOLYLINE\n8\nMORVEL\n70\n1\n10\n0\n20\n0\n10\n4\n20\n0\n"
        "10\n4\n20\n3\n10\n0\n20\n3\n0\nLINE\n10\n0\n20\n0\n11\n4\n21\n3\n0\nENDBLK\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n0\nINSERT\n8\nSheets\n2\nF\n10\n100\n20\n100\n41\n10\n42\n10\n0\nENDSEC\n0\nEOF\n",
        "insert.dxf");
    Session s(std::move(d));
    DispatchPtr set = s.newSet(L"i");
    EXPECT_EQ(selectCount(set, {5}), 1);
    EXPECT_EQ(selectCount(set, filter(5, {0}, {L"INSERT"})), 1);
    EXPECT_EQ(selectCount(set, filter(5, {8}, {L"Sheets"})), 1);
    // The polyline inside the block is not a model-space polyline on MORVEL.
    EXPECT_EQ(selectCount(set, filter(5, {8, 0}, {L"MORVEL", L"*POLYLINE"})), 0);
    selectCount(set, {5});
    DispatchPtr insert = object(call(set, L"Item", {std::int32_t{0}}));
    EXPECT_NE(errorOf([&] { get(insert, L"Coordinates"); }), L"");
    ValueList corners(2);
    callOut(set, L"GetBoundingBox", corners);
    EXPECT_EQ(as<std::vector<double>>(corners[1]), (std::vector<double>{140, 130, 0}));
}

TEST(SimSelection, BoundingBoxOfTheMembersAndFailureWhenEmpty) {
    Session s(framesDrawing());
    DispatchPtr set = s.newSet(L"b");
    ValueList corners(2);
    EXPECT_TRUE(contains(errorOf([&] { callOut(set, L"GetBoundingBox", corners); }), L"empty"));
    call(set, L"Select", filter(5, {0}, {L"CIRCLE,LINE"}));
    callOut(set, L"GetBoundingBox", corners);
    EXPECT_EQ(as<std::vector<double>>(corners[0]), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(as<std::vector<double>>(corners[1]), (std::vector<double>{150, 150, 0}));
    // The whole drawing, as the capture measures it.
    call(set, L"Select", {5});
    callOut(set, L"GetBoundingBox", corners);
    EXPECT_EQ(as<std::vector<double>>(corners[1]), (std::vector<double>{2420, 697, 0}));
    ValueList one(1);
    EXPECT_NE(errorOf([&] { callOut(set, L"GetBoundingBox", one); }), L"");
}

TEST(SimSystemVariables, ValuesAndTheirTypes) {
    Session s(framesDrawing());
    s.host.setScreenSize(1000, 500);
    auto read = [&](const wchar_t* name) { return call(s.doc, L"GetVariable", {std::wstring(name)}); };
    EXPECT_EQ(as<std::int16_t>(read(L"GRIDMODE")), 0);
    EXPECT_EQ(as<std::int16_t>(read(L"BACKGROUNDPLOT")), 2);
    EXPECT_EQ(as<double>(read(L"DIMSCALE")), 50);
    EXPECT_EQ(as<std::vector<double>>(read(L"SCREENSIZE")), (std::vector<double>{1000, 500, 0}));
    EXPECT_EQ(as<std::vector<double>>(read(L"extmin")), (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(as<std::vector<double>>(read(L"EXTMAX")), (std::vector<double>{2420, 697, 0}));
    EXPECT_EQ(as<std::vector<double>>(read(L"VIEWCTR")).size(), 3u);
    EXPECT_TRUE(read(L"VIEWSIZE").is<double>());
    EXPECT_TRUE(contains(errorOf([&] { read(L"NOSUCHVAR"); }), L"NOSUCHVAR"));
}

TEST(SimSystemVariables, WritesCheckNameTypeAndRange) {
    Session s(framesDrawing());
    int changes = 0;
    s.host.onViewChanged = [&] { ++changes; };
    auto write = [&](const wchar_t* name, Value v) { return errorOf([&] { call(s.doc, L"SetVariable", {std::wstring(name), v}); }); };
    EXPECT_EQ(write(L"GRIDMODE", std::int16_t{1}), L"");
    EXPECT_TRUE(s.host.gridMode());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(write(L"GRIDMODE", std::int32_t{0}), L"");
    EXPECT_FALSE(s.host.gridMode());
    EXPECT_EQ(write(L"BACKGROUNDPLOT", std::int32_t{0}), L"");
    EXPECT_EQ(as<std::int16_t>(call(s.doc, L"GetVariable", {L"BACKGROUNDPLOT"})), 0);
    EXPECT_EQ(write(L"DIMSCALE", 2.5), L"");
    EXPECT_EQ(as<double>(call(s.doc, L"GetVariable", {L"DIMSCALE"})), 2.5);

    struct Bad {
        const wchar_t* name;
        Value value;
        const wchar_t* part;
    };
    const Bad bad[] = {
        {L"GRIDMODE", std::wstring(L"1"), L"integer"}, {L"GRIDMODE", 1.0, L"integer"},
        {L"GRIDMODE", std::int16_t{2}, L"range"},      {L"BACKGROUNDPLOT", std::int32_t{7}, L"range"},
        {L"DIMSCALE", std::wstring(L"x"), L"number"},  {L"DIMSCALE", -1.0, L"positive"},
        {L"VIEWCTR", std::vector<double>{0, 0, 0}, L"read-only"}, {L"EXTMAX", 1.0, L"read-only"},
        {L"NOSUCHVAR", std::int16_t{1}, L"unknown"},
    };
    for (const Bad& b : bad) EXPECT_TRUE(contains(write(b.name, b.value), b.part)) << b.name;
    EXPECT_EQ(as<std::int16_t>(call(s.doc, L"GetVariable", {L"GRIDMODE"})), 0);  // refused writes change nothing
    EXPECT_NE(errorOf([&] { call(s.doc, L"SetVariable", {L"GRIDMODE"}); }), L"");
}

TEST(SimView, ZoomExtentsWindowAndPrevious) {
    Session s(drawingOf({rectangle(L"A", 0, 0, 2000, 2000)}));
    s.host.setScreenSize(1000, 500);
    int changes = 0;
    s.host.onViewChanged = [&] { ++changes; };
    auto view = [&] { return s.host.view(); };

    // A square drawing in a view twice as wide as high: the height decides.
    call(s.app, L"ZoomExtents");
    EXPECT_EQ(view().centreX, 1000);
    EXPECT_EQ(view().centreY, 1000);
    EXPECT_EQ(view().height, 2000);
    EXPECT_EQ(as<double>(call(s.doc, L"GetVariable", {L"VIEWSIZE"})), 2000);
    EXPECT_EQ(as<std::vector<double>>(call(s.doc, L"GetVariable", {L"VIEWCTR"})), (std::vector<double>{1000, 1000, 0}));

    // A wide window: its width decides (40 wide shows as 20 high at 2:1).
    call(s.app, L"ZoomWindow", {std::vector<double>{50, 10, 0}, std::vector<double>{10, 20, 0}});
    EXPECT_EQ(view().centreX, 30);
    EXPECT_EQ(view().centreY, 15);
    EXPECT_EQ(view().height, 20);
    call(s.app, L"ZoomWindow", {std::vector<double>{0, 0}, std::vector<double>{10, 100}});
    EXPECT_EQ(view().height, 100);

    call(s.app, L"ZoomPrevious");
    EXPECT_EQ(view().height, 20);
    call(s.app, L"ZoomPrevious");
    EXPECT_EQ(view().height, 2000);
    EXPECT_EQ(changes, 5);
    EXPECT_TRUE(contains(errorOf([&] { call(s.app, L"ZoomWindow", {std::vector<double>{1, 1}, std::vector<double>{1, 1}}); }),
                         L"no size"));
}

TEST(SimView, TheInitialViewFollowsTheWindowUntilAViewIsChosen) {
    Session s(drawingOf({rectangle(L"A", 0, 0, 4000, 1000)}));
    s.host.setScreenSize(1000, 500);  // wide drawing: width decides, 4000 wide -> 2000 high
    EXPECT_EQ(s.host.view().height, 2000);
    EXPECT_EQ(s.host.view().centreX, 2000);
    call(s.app, L"ZoomWindow", {std::vector<double>{0, 0}, std::vector<double>{100, 100}});
    s.host.setScreenSize(500, 500);  // a chosen view keeps its centre and height
    EXPECT_EQ(s.host.view().height, 100);
    EXPECT_EQ(s.host.view().widthPx, 500);
}

TEST(SimSelectionSets, AddItemClearAndDelete) {
    Session s(framesDrawing());
    DispatchPtr sets = object(get(s.doc, L"SelectionSets"));
    EXPECT_EQ(as<std::int32_t>(get(sets, L"Count")), 0);
    DispatchPtr temp = object(call(sets, L"Add", {L"ssTemp"}));
    object(call(sets, L"Add", {L"other"}));
    EXPECT_EQ(as<std::int32_t>(get(sets, L"Count")), 2);
    EXPECT_EQ(as<std::wstring>(get(object(call(sets, L"Item", {std::int32_t{1}})), L"Name")), L"other");
    EXPECT_EQ(as<std::wstring>(get(object(call(sets, L"Item", {L"SSTEMP"})), L"Name")), L"ssTemp");

    // A second set of the same name, letter case aside, is refused as a CAD host does.
    EXPECT_TRUE(contains(errorOf([&] { call(sets, L"Add", {L"SStemp"}); }), L"exists"));
    EXPECT_TRUE(contains(errorOf([&] { call(sets, L"Item", {std::int32_t{2}}); }), L"out of range"));
    EXPECT_TRUE(contains(errorOf([&] { call(sets, L"Item", {std::int32_t{-1}}); }), L"out of range"));
    EXPECT_NE(errorOf([&] { call(sets, L"Add", {L""}); }), L"");

    // Two objects for one set share its contents.
    call(temp, L"Select", {5});
    DispatchPtr again = object(call(sets, L"Item", {std::int32_t{0}}));
    EXPECT_EQ(as<std::int32_t>(get(again, L"Count")), 7);
    call(again, L"Clear");
    EXPECT_EQ(as<std::int32_t>(get(temp, L"Count")), 0);

    call(temp, L"Delete");
    EXPECT_EQ(as<std::int32_t>(get(sets, L"Count")), 1);
    EXPECT_TRUE(contains(errorOf([&] { get(again, L"Count"); }), L"deleted"));
    object(call(sets, L"Add", {L"ssTemp"}));  // the name is free again
    EXPECT_NE(errorOf([&] { call(object(get(s.doc, L"ActiveSelectionSet")), L"Delete"); }), L"");
}

TEST(SimSelectionSets, TempSelectionSetThroughTheLateBoundClient) {
    Session s(framesDrawing());
    auto app = cad::wrapApplication(s.host.application());
    auto doc = app->currentDocument();
    auto first = cad::tempSelectionSet(*doc);
    first->selectWithFilter(5, nullptr, nullptr, nullptr);
    EXPECT_EQ(first->entityCount(), 7);
    auto second = cad::tempSelectionSet(*doc);  // the same set, emptied
    EXPECT_EQ(second->entityCount(), 0);
    EXPECT_EQ(doc->selectionSetCollection()->setCount(), 1);
    cad::CadPoint c1{-1, -1, 0}, c2{421, 298, 0};
    second->selectWithFilter(0, &c1, &c2, nullptr);
    EXPECT_EQ(second->entityCount(), 3);
    cad::CadPoint ll, ur;
    second->measureExtents(ll, ur);
    EXPECT_EQ(ll, (cad::CadPoint{0, 0, 0}));
    EXPECT_EQ(ur, (cad::CadPoint{420, 297, 0}));
}

// Path is the drawing file's folder in full, without a closing separator; Name its file
// name. A drawing that came from no file has neither.
TEST(SimDocument, PathAndNameOfTheDrawingFile) {
    namespace fs = std::filesystem;
    struct Case {
        fs::path source;
        fs::path folder;
        std::wstring name;
    };
    const fs::path temp = fs::temp_directory_path();
    const Case cases[] = {
        {temp / "sheets" / "plan.dxf", temp / "sheets", L"plan.dxf"},
        {fs::path("sub") / "blocks.dxf", fs::current_path() / "sub", L"blocks.dxf"},
        {fs::path(), fs::path(), L""},
    };
    for (const Case& c : cases) {
        sim::Drawing d = framesDrawing();
        d.source = c.source;
        Session s(std::move(d));
        EXPECT_EQ(as<std::wstring>(get(s.doc, L"Path")), c.folder.wstring()) << c.source;
        EXPECT_EQ(as<std::wstring>(get(s.doc, L"Name")), c.name) << c.source;
    }
}

TEST(SimObjects, InterfacesAreServedOnlyWhereTheyBelong) {
    Session s(framesDrawing());
    DispatchPtr plot = object(get(s.doc, L"Plot"));
    EXPECT_EQ(plot->queryInterface(cad::kPlotInterfaceId), plot);
    EXPECT_EQ(s.app->queryInterface(L"{afab189d-226a-4047-b98f-cd75ce56dde4}"), s.app);
    EXPECT_THROW(plot->queryInterface(cad::kApplicationInterfaceId), cad::CadError);
    EXPECT_THROW(s.app->queryInterface(cad::kPlotInterfaceId), cad::CadError);
    EXPECT_THROW(s.doc->queryInterface(cad::kPlotInterfaceId), cad::CadError);
    EXPECT_THROW(s.doc->queryInterface(cad::kApplicationInterfaceId), cad::CadError);
    EXPECT_EQ(s.doc->queryInterface(L"{00020400-0000-0000-C000-000000000046}"), s.doc);  // IDispatch
}

// Each kind of object is described by its own interface, and so is each kind of
// polyline: the COM server gives them their own type information and member ids.
TEST(SimObjects, EachKindOfObjectAndOfPolylineHasItsOwnInterface) {
    using sim::Interface;
    Session s(framesDrawing());
    DispatchPtr set = s.newSet(L"kinds");
    call(set, L"Select", {5});
    auto entity = [&](std::int32_t i) { return object(call(set, L"Item", {i})); };
    const std::pair<DispatchPtr, Interface> cases[] = {
        {s.app, Interface::Application},
        {s.doc, Interface::Document},
        {object(get(s.doc, L"SelectionSets")), Interface::SelectionSets},
        {set, Interface::SelectionSet},
        {entity(0), Interface::LwPolyline},
        {entity(3), Interface::Polyline},  // old-style
        {entity(4), Interface::Entity},    // a line
        {object(get(s.doc, L"Utility")), Interface::Utility},
        {object(get(s.doc, L"ActiveLayout")), Interface::Layout},
        {object(get(s.doc, L"Plot")), Interface::Plot},
    };
    for (const auto& [object, in] : cases) EXPECT_EQ(sim::interfaceOf(*object), in) << static_cast<int>(in);
    struct Foreign : cad::Dispatch {
        Value invoke(std::wstring_view, CallKind, ValueList&) override { return {}; }
        DispatchPtr queryInterface(std::wstring_view) override { return nullptr; }
    } foreign;
    EXPECT_EQ(sim::interfaceOf(foreign), std::nullopt);
}

TEST(SimObjects, LiveObjectsCountsWhatIsHeld) {
    sim::Host host(framesDrawing(), {});
    EXPECT_EQ(host.liveObjects(), 0);
    {
        DispatchPtr app = host.application();
        DispatchPtr doc = object(get(app, L"ActiveDocument"));
        DispatchPtr layout = object(get(doc, L"ActiveLayout"));
        DispatchPtr set = object(call(object(get(doc, L"SelectionSets")), L"Add", {L"x"}));
        call(set, L"Select", {5});
        DispatchPtr entity = object(call(set, L"Item", {std::int32_t{0}}));
        EXPECT_EQ(host.liveObjects(), 5);  // the collection was a temporary
    }
    EXPECT_EQ(host.liveObjects(), 0);
}

TEST(SimObjects, CallsAfterTheHostIsGoneFailCleanly) {
    DispatchPtr doc;
    {
        sim::Host host(framesDrawing(), {});
        doc = object(get(host.application(), L"ActiveDocument"));
    }
    EXPECT_TRUE(contains(errorOf([&] { call(doc, L"GetVariable", {L"GRIDMODE"}); }), L"closed"));
}

// Callers that shape their arguments wrongly get host errors, never a crash.
TEST(SimObjects, WronglyShapedArgumentsFailWithHostErrors) {
    Session s(framesDrawing());
    DispatchPtr set = s.newSet(L"a");
    DispatchPtr sets = object(get(s.doc, L"SelectionSets"));
    DispatchPtr layout = object(get(s.doc, L"ActiveLayout"));
    struct Case {
        DispatchPtr object;
        std::wstring member;
        CallKind kind;
        ValueList args;
        const wchar_t* part;  // of the host's error text
    };
    const std::vector<double> p22{2, 2};
    std::vector<Case> cases = {
        {set, L"Select", CallKind::Method, {std::wstring(L"5")}, L"argument 1: a whole number"},
        {set, L"Select", CallKind::Method, {std::int32_t{3}}, L"mode 3 is not supported"},
        {s.app, L"ZoomWindow", CallKind::Method, {std::vector<double>{1}, p22}, L"argument 1: a point"},
        {s.app, L"ZoomWindow", CallKind::Method, {std::wstring(L"0,0"), p22}, L"argument 1: a point"},
        {s.app, L"ZoomWindow", CallKind::Method, {p22, std::vector<double>{NAN, 0}}, L"argument 2: a point"},
        {s.app, L"ZoomWindow", CallKind::Method, {p22}, L"number of parameters"},
        {s.app, L"ZoomExtents", CallKind::Method, {std::int32_t{1}}, L"number of parameters"},
        {set, L"Select", CallKind::Method, {5, cad::Omitted{}, cad::Omitted{}, std::vector<std::int16_t>{8}}, L"argument 5"},
        {set, L"Select", CallKind::Method,
         {5, cad::Omitted{}, cad::Omitted{}, std::vector<std::int16_t>{8, 0}, ValueList{std::wstring(L"A")}}, L"2 codes but 1 values"},
        {set, L"Select", CallKind::Method,
         {5, cad::Omitted{}, cad::Omitted{}, std::vector<std::int16_t>{8}, ValueList{std::int32_t{8}}}, L"argument 5"},
        {set, L"Select", CallKind::Method,
         {5, cad::Omitted{}, cad::Omitted{}, std::vector<std::int16_t>{62}, ValueList{std::wstring(L"1")}}, L"code 62"},
        {sets, L"Item", CallKind::Method, {1.5}, L"argument 1: a whole number"},
        {sets, L"Item", CallKind::Method, {}, L"number of parameters"},
        {s.doc, L"GetVariable", CallKind::Method, {std::int32_t{1}}, L"argument 1: a string"},
        {s.doc, L"Regen", CallKind::Method, {}, L"Unknown name"},
        {s.doc, L"GetVariable", CallKind::Get, {}, L"cannot be read"},
        {sets, L"Count", CallKind::Put, {std::int32_t{1}}, L"cannot be set"},
        {layout, L"CenterPlot", CallKind::Put, {std::wstring(L"true")}, L"a boolean"},
        {layout, L"PlotRotation", CallKind::Put, {}, L"number of parameters"},
        {object(get(s.doc, L"Utility")), L"GetPoint", CallKind::Method, {cad::Omitted{}, 1.0}, L"argument 2: a string"},
    };
    for (Case& c : cases) {
        std::wstring error = errorOf([&] { c.object->invoke(c.member, c.kind, c.args); });
        EXPECT_TRUE(contains(error, c.part)) << utf8(c.member) << ": " << utf8(error);
    }
}

}  // namespace
