// Fault injection (--fail, --garble), the busy host (--busy) and the call trace (--trace)
// of the stand-in host.
#include <gtest/gtest.h>

#include <stdexcept>

#include "cad/automation.h"
#include "cad/late_bound.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;

sim::Drawing smallDrawing() {
    return drawingOf({rectangle(L"MORVEL", 0, 0, 420, 297), line(L"0", {0, 0}, {1, 1})});
}

sim::Options failing(std::vector<std::string> fails, std::vector<std::string> garbles = {}) {
    sim::Options o;
    o.fails = std::move(fails);
    o.garbles = std::move(garbles);
    return o;
}

std::wstring readGrid(Session& s) {
    return errorOf([&] { call(s.doc, L"GetVariable", {L"GRIDMODE"}); });
}

TEST(SimFail, TheNthCallOfTheMemberFails) {
    Session s(smallDrawing(), failing({"GetVariable@2"}));
    EXPECT_EQ(readGrid(s), L"");
    std::wstring second = readGrid(s);
    EXPECT_TRUE(contains(second, L"GetVariable")) << utf8(second);
    EXPECT_TRUE(contains(second, L"--fail GetVariable@2"));
    EXPECT_EQ(readGrid(s), L"");
}

TEST(SimFail, RulesNameMembersOperationsAndObjects) {
    struct Case {
        std::string rule;
        int failingCall;  // which of the calls below fails first (1-based), 0 none
    };
    // The calls: SelectionSets.Item, SelectionSet.Item, SelectionSets.Count, SelectionSet.Count.
    const Case cases[] = {
        {"Item", 1},          {"item@2", 2},           {"SelectionSet.Item", 2}, {"selectionsets.ITEM", 1},
        {"entityAt", 2},      {"setAt", 1},            {"Count", 3},             {"SelectionSet.Count", 4},
        {"entityCount@1", 4}, {"setCount@2", 0},
    };
    for (const Case& c : cases) {
        Session s(smallDrawing(), failing({c.rule}));
        DispatchPtr sets = object(get(s.doc, L"SelectionSets"));
        DispatchPtr made = object(call(sets, L"Add", {L"a"}));
        call(made, L"Select", {5});
        std::vector<std::function<void()>> calls = {
            [&] { call(sets, L"Item", {std::int32_t{0}}); },
            [&] { call(made, L"Item", {std::int32_t{0}}); },
            [&] { get(sets, L"Count"); },
            [&] { get(made, L"Count"); },
        };
        int first = 0;
        for (std::size_t i = 0; i < calls.size() && !first; ++i)
            if (!errorOf(calls[i]).empty()) first = static_cast<int>(i) + 1;
        EXPECT_EQ(first, c.failingCall) << c.rule;
    }
}

TEST(SimFail, AFailedCallChangesNothing) {
    Session s(smallDrawing(), failing({"Select"}));
    DispatchPtr set = s.newSet(L"a");
    EXPECT_NE(errorOf([&] { call(set, L"Select", {5}); }), L"");
    EXPECT_EQ(as<std::int32_t>(get(set, L"Count")), 0);
    call(set, L"Select", {5});
    EXPECT_EQ(as<std::int32_t>(get(set, L"Count")), 2);
}

TEST(SimFail, MalformedRulesAreRefusedWithAMessage) {
    const char* bad[] = {"Nope", "Select@0", "Select@x", "Select@", "Window.Select", "Layout.Select", ""};
    for (const char* rule : bad) {
        try {
            sim::Host host(smallDrawing(), failing({rule}));
            ADD_FAILURE() << "accepted " << rule;
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find("--fail"), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(sim::Host(smallDrawing(), failing({}, {"Nope@2"})), std::invalid_argument);
}

// Faults replaced while the host runs count calls from then on; bad ones change nothing.
TEST(SimFail, ReplacedRulesCountFromTheReplacementAndBadOnesChangeNothing) {
    Session s(smallDrawing(), failing({"GetVariable@3"}));
    EXPECT_EQ(readGrid(s), L"");
    s.host.replaceFaults(failing({"GetVariable@2"}));
    EXPECT_EQ(readGrid(s), L"");
    EXPECT_TRUE(contains(readGrid(s), L"--fail GetVariable@2"));
    EXPECT_EQ(readGrid(s), L"") << "the old rule is gone";

    s.host.replaceFaults(failing({"GetVariable"}));
    sim::Options bad = failing({"Nope"});
    EXPECT_THROW(s.host.replaceFaults(bad), std::invalid_argument);
    bad = failing({});
    bad.answers = "no such answers file.txt";
    EXPECT_THROW(s.host.replaceFaults(bad), std::invalid_argument);
    EXPECT_NE(readGrid(s), L"") << "the rule before the refused ones still holds";

    TempDir dir;
    sim::Options answered;
    answered.answers = dir / "answers.txt";
    writeFile(answered.answers, "distance 7\n");
    s.host.replaceFaults(answered);
    EXPECT_EQ(readGrid(s), L"");
    DispatchPtr utility = object(get(s.doc, L"Utility"));
    EXPECT_EQ(as<double>(call(utility, L"GetDistance", {cad::Omitted{}, L"d"})), 7.0);
}

// Each kind of result turns into a wrong shape of its own.
TEST(SimGarble, EachResultGetsAWrongShape) {
    Session s(smallDrawing(), failing({}, {"ActiveLayout", "Count", "GetVariable", "GetPlotDeviceNames", "Coordinates",
                                           "Name", "Closed", "GetBoundingBox"}));
    DispatchPtr set = s.newSet(L"a");
    call(set, L"Select", {5});
    DispatchPtr entity = object(call(set, L"Item", {std::int32_t{0}}));

    Value layout = get(s.doc, L"ActiveLayout");
    ASSERT_TRUE(layout.is<DispatchPtr>());
    EXPECT_EQ(*layout.get<DispatchPtr>(), nullptr);                                  // an empty object
    EXPECT_TRUE(get(set, L"Count").is<std::wstring>());                              // text for a number
    EXPECT_EQ(as<std::vector<double>>(call(s.doc, L"GetVariable", {L"VIEWCTR"})).size(), 1u);  // a point of one
    EXPECT_TRUE(call(object(get(s.doc, L"ActiveLayout")), L"GetPlotDeviceNames").is<std::wstring>());  // not an array
    EXPECT_TRUE(get(entity, L"Coordinates").is<double>());
    EXPECT_TRUE(get(set, L"Name").is<cad::Empty>());
    EXPECT_TRUE(get(entity, L"Closed").is<std::wstring>());
    ValueList corners(2);
    callOut(set, L"GetBoundingBox", corners);
    EXPECT_EQ(as<std::vector<double>>(corners[0]).size(), 1u);

    // Only the chosen call: the next ones are whole again.
    EXPECT_EQ(as<std::int32_t>(get(set, L"Count")), 2);
    EXPECT_EQ(as<std::vector<double>>(call(s.doc, L"GetVariable", {L"VIEWCTR"})).size(), 3u);
}

TEST(SimGarble, TheLateBoundClientTurnsGarbleIntoHostErrors) {
    Session s(smallDrawing(), failing({}, {"Count@2", "GetBoundingBox"}));
    auto app = cad::wrapApplication(s.host.application());
    auto doc = app->currentDocument();
    auto set = doc->selectionSetCollection()->addSet(L"x");
    set->selectWithFilter(5, nullptr, nullptr, nullptr);
    EXPECT_EQ(set->entityCount(), 2);
    EXPECT_THROW(set->entityCount(), cad::CadError);
    cad::CadPoint ll, ur;
    EXPECT_THROW(set->measureExtents(ll, ur), cad::CadError);
}

TEST(SimTrace, OneLinePerCallWithArgumentsAndFailures) {
    TempDir dir;
    sim::Options o = failing({"Item"});
    o.trace = dir / "trace.log";
    {
        Session s(smallDrawing(), o);
        DispatchPtr sets = object(get(s.doc, L"SelectionSets"));
        DispatchPtr set = object(call(sets, L"Add", {L"ss\"1"}));
        call(set, L"Select", {std::int32_t{5}, cad::Omitted{}, cad::Omitted{}, std::vector<std::int16_t>{8, 0},
                              ValueList{std::wstring(L"MORVEL"), std::wstring(L"*POLYLINE")}});
        errorOf([&] { call(set, L"Item", {std::int32_t{0}}); });
        put(object(get(s.doc, L"ActiveLayout")), L"configname", L"PDF");
        call(s.app, L"ZoomWindow", {std::vector<double>{0.1, 2, 0}, std::vector<double>{1e21, -3.5}});
        call(s.doc, L"SetVariable", {L"GRIDMODE", std::int16_t{0}});
        errorOf([&] { call(s.doc, L"Regen"); });
    }
    std::vector<std::string> lines = readLines(o.trace);
    std::vector<std::string> expected = {
        "Application.ActiveDocument",
        "Document.SelectionSets",
        "SelectionSets.Add(\"ss\\\"1\")",
        "SelectionSet.Select(5, omitted, omitted, [8, 0], [\"MORVEL\", \"*POLYLINE\"])",
        "SelectionSet.Item(0) fail: Item: Unspecified error (injected by --fail Item)",
        "Document.ActiveLayout",
        "Layout.ConfigName = \"PDF\"",
        "Application.ZoomWindow([0.1, 2, 0], [1e+21, -3.5])",
        "Document.SetVariable(\"GRIDMODE\", 0)",
        "Document.Regen() fail: Unknown name: Document.Regen",
    };
    EXPECT_EQ(lines, expected);
}

// --busy N: each call is rejected N times in a row, then served on its next try, and
// the next call again N times; each rejection is in the trace, the served call once.
TEST(SimBusy, EveryCallIsRejectedNTimesThenServed) {
    for (const std::optional<long> busy : {std::optional<long>{}, std::optional<long>{0}, std::optional<long>{2}}) {
        SCOPED_TRACE(busy.value_or(-1));
        TempDir dir;
        sim::Options o;
        o.trace = dir / "trace.log";
        o.busy = busy;
        std::vector<bool> rejected;
        {
            sim::Host host(smallDrawing(), o);
            for (const wchar_t* call : {L"Invoke", L"Invoke", L"Invoke", L"GetIDsOfNames", L"GetIDsOfNames",
                                        L"GetIDsOfNames"})
                rejected.push_back(host.rejectWhileBusy(call));
        }
        if (busy.value_or(0) == 0) {
            EXPECT_EQ(rejected, std::vector<bool>(6, false));
            EXPECT_EQ(readLines(o.trace), std::vector<std::string>{});
        } else {
            EXPECT_EQ(rejected, (std::vector<bool>{true, true, false, true, true, false}));
            EXPECT_EQ(readLines(o.trace),
                      (std::vector<std::string>{"busy: Invoke rejected (1 of 2)", "busy: Invoke rejected (2 of 2)",
                                                "busy: GetIDsOfNames rejected (1 of 2)",
                                                "busy: GetIDsOfNames rejected (2 of 2)"}));
        }
    }
}

TEST(SimTrace, AnUnwritableTraceIsRefusedAtStart) {
    TempDir dir;
    sim::Options o;
    o.trace = dir.path / "missing-folder" / "trace.log";
    EXPECT_THROW(sim::Host(smallDrawing(), o), std::invalid_argument);
}

}  // namespace
