// The late-bound automation objects against scripted host objects: each operation
// reaches its member with the documented arguments, and results of the wrong shape
// become CadError instead of crashes.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "cad/ids.h"
#include "cad/late_bound.h"
#include "cad/members.h"
#include "cad_fake_dispatch.h"

namespace {

using namespace cad;
using cadtest::FakeDispatch;
using cadtest::FakePtr;
using enum ObjectKind;

std::wstring describe(const Value& value);

template <class T>
std::wstring describeList(const std::vector<T>& items) {
    std::wstring out = L"[";
    for (const T& item : items) out += (out.size() > 1 ? L"," : L"") + describe(Value(item));
    return out + L"]";
}

std::wstring describe(const Value& value) {
    struct Visit {
        std::wstring operator()(const Empty&) const { return L"empty"; }
        std::wstring operator()(const Omitted&) const { return L"omitted"; }
        std::wstring operator()(bool b) const { return b ? L"true" : L"false"; }
        std::wstring operator()(std::int16_t i) const { return L"i2:" + std::to_wstring(i); }
        std::wstring operator()(std::int32_t i) const { return L"i4:" + std::to_wstring(i); }
        std::wstring operator()(double d) const { return L"r8:" + std::to_wstring(d); }
        std::wstring operator()(const std::wstring& s) const { return L"'" + s + L"'"; }
        std::wstring operator()(const std::vector<double>& v) const { return L"r8" + describeList(v); }
        std::wstring operator()(const std::vector<std::int16_t>& v) const { return L"i2" + describeList(v); }
        std::wstring operator()(const std::vector<std::wstring>& v) const { return L"bstr" + describeList(v); }
        std::wstring operator()(const ValueList& v) const { return L"var" + describeList(v); }
        std::wstring operator()(const DispatchPtr& d) const { return d ? L"object" : L"null"; }
    };
    return std::visit(Visit{}, value.v);
}

std::wstring describe(const ValueList& args) { return describeList(args); }

// One host object per kind, each member answering with a well-formed result.
struct Host {
    std::map<ObjectKind, FakePtr> fakes;
    FakePtr plotInterface = FakeDispatch::make(L"plot interface");

    Host() {
        for (ObjectKind kind : {Application, Document, SelectionSets, SelectionSet, Entity, Utility, Layout, Plot})
            fakes[kind] = FakeDispatch::make(std::wstring(objectKindName(kind)));
        answer(Application, L"currentDocument", fakes[Document]);
        answer(Application, L"mainWindowHandle", std::int32_t{0x10020});
        answer(Document, L"plotService", fakes[Plot]);
        answer(Document, L"selectionSetCollection", fakes[SelectionSets]);
        answer(Document, L"documentSelectionSet", fakes[SelectionSet]);
        answer(Document, L"inputUtility", fakes[Utility]);
        answer(Document, L"readSysVar", std::int32_t{1});
        answer(Document, L"currentLayout", fakes[Layout]);
        answer(Document, L"documentWindowHandle", std::int32_t{0x10030});
        answer(SelectionSets, L"setAt", fakes[SelectionSet]);
        answer(SelectionSets, L"setCount", std::int32_t{1});
        answer(SelectionSets, L"addSet", fakes[SelectionSet]);
        answer(SelectionSet, L"entityAt", fakes[Entity]);
        answer(SelectionSet, L"entityCount", std::int32_t{4});
        answer(SelectionSet, L"setName", L"ssTemp");
        fake(SelectionSet).on(name(SelectionSet, L"measureExtents"), CallKind::Method, [](ValueList& args) {
            if (args.size() == 2) args = {std::vector<double>{0, 0, 0}, std::vector<double>{10, 5, 0}};
            return Value();
        });
        answer(Entity, L"Coordinates", std::vector<double>{0, 0, 10, 0, 10, 5, 0, 5});
        answer(Entity, L"Closed", true);
        answer(Utility, L"promptDistance", 12.5);
        answer(Utility, L"promptPoint", std::vector<double>{1, 2, 0});
        answer(Layout, L"styleTableName", L"mono.ctb");
        answer(Layout, L"mediaList", std::vector<std::wstring>{L"A4", L"A3"});
        answer(Layout, L"deviceList", std::vector<std::wstring>{L"PDF"});
        answer(Layout, L"styleTableList", std::vector<std::wstring>{L"mono.ctb"});
        answer(Layout, L"mediaDisplayName", L"ISO A4");
        answer(Plot, L"runPlot", true);
        // Every other member succeeds with nothing to return.
        for (const Member& m : memberTable())
            if (!fake(m.object).handlers.count({std::wstring(m.name), m.kind})) fake(m.object).returns(std::wstring(m.name), m.kind, Value());
        fakes[Plot]->interfaces[kPlotInterfaceId] = plotInterface;
        plotInterface->handlers = fakes[Plot]->handlers;
    }

    static std::wstring name(ObjectKind kind, std::wstring_view op) { return std::wstring(member(kind, op).name); }
    FakeDispatch& fake(ObjectKind kind) { return *fakes.at(kind); }
    void answer(ObjectKind kind, std::wstring_view op, Value result) {
        const Member& m = member(kind, op);
        fake(kind).returns(std::wstring(m.name), m.kind, std::move(result));
    }
    // Replaces an answer with an ill-formed one.
    void garble(ObjectKind kind, std::wstring_view op, Value result) {
        answer(kind, op, std::move(result));
        if (kind == Plot) plotInterface->handlers = fakes[Plot]->handlers;
    }
};

// The wrapped objects, reached from the application as a caller would.
struct Objects {
    std::unique_ptr<CadApplication> app;
    std::unique_ptr<CadDocument> doc;
    std::unique_ptr<CadSelectionSets> sets;
    std::unique_ptr<CadSelectionSet> set;
    std::unique_ptr<CadEntity> entity;
    std::unique_ptr<CadUtility> utility;
    std::unique_ptr<CadLayout> layout;
    std::unique_ptr<CadPlot> plot;

    explicit Objects(Host& host)
        : app(wrapApplication(host.fakes[Application])), doc(app->currentDocument()),
          sets(doc->selectionSetCollection()), set(doc->documentSelectionSet()), entity(set->entityAt(0)),
          utility(doc->inputUtility()), layout(doc->currentLayout()), plot(doc->plotService()) {}
};

struct OperationCase {
    ObjectKind kind;
    const wchar_t* op;
    std::function<void(Objects&)> run;
    ValueList args;  // as the host must receive them
};

const CadPoint p1{1, 2}, p2{30, 40, 0};

std::vector<OperationCase> operationCases() {
    SelectionFilter filter{{8, 0}, {L"FRAME", L"LWPOLYLINE"}};
    return {
        {Application, L"currentDocument", [](Objects& o) { o.app->currentDocument(); }, {}},
        {Application, L"showWholeDrawing", [](Objects& o) { o.app->showWholeDrawing(); }, {}},
        {Application, L"showAreaInView", [](Objects& o) { o.app->showAreaInView(p1, p2); }, {p1, p2}},
        {Application, L"showPreviousView", [](Objects& o) { o.app->showPreviousView(); }, {}},
        {Application, L"mainWindowHandle", [](Objects& o) { EXPECT_EQ(o.app->mainWindowHandle(), 0x10020); }, {}},
        {Document, L"plotService", [](Objects& o) { o.doc->plotService(); }, {}},
        {Document, L"selectionSetCollection", [](Objects& o) { o.doc->selectionSetCollection(); }, {}},
        {Document, L"documentSelectionSet", [](Objects& o) { o.doc->documentSelectionSet(); }, {}},
        {Document, L"inputUtility", [](Objects& o) { o.doc->inputUtility(); }, {}},
        {Document, L"readSysVar", [](Objects& o) { EXPECT_EQ(sysVarInteger(o.doc->readSysVar(L"GRIDMODE")), 1); }, {L"GRIDMODE"}},
        {Document, L"writeSysVar", [](Objects& o) { o.doc->writeSysVar(L"GRIDMODE", std::int32_t{0}); }, {L"GRIDMODE", std::int32_t{0}}},
        {Document, L"currentLayout", [](Objects& o) { o.doc->currentLayout(); }, {}},
        {Document, L"documentWindowHandle", [](Objects& o) { EXPECT_EQ(o.doc->documentWindowHandle(), 0x10030); }, {}},
        {SelectionSets, L"setAt", [](Objects& o) { o.sets->setAt(3); }, {std::int32_t{3}}},
        {SelectionSets, L"setCount", [](Objects& o) { EXPECT_EQ(o.sets->setCount(), 1); }, {}},
        {SelectionSets, L"addSet", [](Objects& o) { o.sets->addSet(L"ssTemp"); }, {L"ssTemp"}},
        {SelectionSet, L"entityAt", [](Objects& o) { o.set->entityAt(2); }, {std::int32_t{2}}},
        {SelectionSet, L"entityCount", [](Objects& o) { EXPECT_EQ(o.set->entityCount(), 4); }, {}},
        {SelectionSet, L"setName", [](Objects& o) { EXPECT_EQ(o.set->setName(), L"ssTemp"); }, {}},
        {SelectionSet, L"emptySet", [](Objects& o) { o.set->emptySet(); }, {}},
        {SelectionSet, L"selectWithFilter", [filter](Objects& o) { o.set->selectWithFilter(5, nullptr, nullptr, &filter); },
         {std::int32_t{5}, Omitted{}, Omitted{}, std::vector<std::int16_t>{8, 0}, ValueList{L"FRAME", L"LWPOLYLINE"}}},
        {SelectionSet, L"discardSet", [](Objects& o) { o.set->discardSet(); }, {}},
        {SelectionSet, L"measureExtents", [](Objects& o) {
             CadPoint ll, ur;
             o.set->measureExtents(ll, ur);
             EXPECT_EQ(ll, (CadPoint{0, 0, 0}));
             EXPECT_EQ(ur, (CadPoint{10, 5, 0}));
         }, {Empty{}, Empty{}}},
        {Entity, L"Coordinates", [](Objects& o) { EXPECT_EQ(o.entity->Coordinates().size(), 8u); }, {}},
        {Entity, L"Closed", [](Objects& o) { EXPECT_TRUE(o.entity->Closed()); }, {}},
        {Utility, L"promptDistance", [](Objects& o) { EXPECT_EQ(o.utility->promptDistance(L"d"), 12.5); }, {Omitted{}, L"d"}},
        {Utility, L"promptPoint", [](Objects& o) { EXPECT_EQ(o.utility->promptPoint(L"p"), (CadPoint{1, 2, 0})); }, {Omitted{}, L"p"}},
        {Layout, L"setDevice", [](Objects& o) { o.layout->setDevice(L"PDF"); }, {L"PDF"}},
        {Layout, L"setMedia", [](Objects& o) { o.layout->setMedia(L"A4"); }, {L"A4"}},
        {Layout, L"setPaperUnitKind", [](Objects& o) { o.layout->setPaperUnitKind(1); }, {std::int32_t{1}}},
        {Layout, L"setSheetRotation", [](Objects& o) { o.layout->setSheetRotation(3); }, {std::int32_t{3}}},
        {Layout, L"setCentreOnPaper", [](Objects& o) { o.layout->setCentreOnPaper(true); }, {true}},
        {Layout, L"setPlotAreaKind", [](Objects& o) { o.layout->setPlotAreaKind(4); }, {std::int32_t{4}}},
        {Layout, L"setUseListedScale", [](Objects& o) { o.layout->setUseListedScale(false); }, {false}},
        {Layout, L"setScaleRatio", [](Objects& o) { o.layout->setScaleRatio(1, 50); }, {1.0, 50.0}},
        {Layout, L"setLineWeightScaling", [](Objects& o) { o.layout->setLineWeightScaling(true); }, {true}},
        {Layout, L"setPrintLineWeights", [](Objects& o) { o.layout->setPrintLineWeights(false); }, {false}},
        {Layout, L"styleTableName", [](Objects& o) { EXPECT_EQ(o.layout->styleTableName(), L"mono.ctb"); }, {}},
        {Layout, L"setStyleTable", [](Objects& o) { o.layout->setStyleTable(L"a.stb"); }, {L"a.stb"}},
        {Layout, L"setPlotWindow", [](Objects& o) { o.layout->setPlotWindow(p1, p2); }, {p1, p2}},
        {Layout, L"setApplyStyleTable", [](Objects& o) { o.layout->setApplyStyleTable(true); }, {true}},
        {Layout, L"mediaList", [](Objects& o) { EXPECT_EQ(o.layout->mediaList().size(), 2u); }, {}},
        {Layout, L"deviceList", [](Objects& o) { EXPECT_EQ(o.layout->deviceList(), StringList{L"PDF"}); }, {}},
        {Layout, L"styleTableList", [](Objects& o) { o.layout->styleTableList(); }, {}},
        {Layout, L"reloadDeviceInfo", [](Objects& o) { o.layout->reloadDeviceInfo(); }, {}},
        {Layout, L"mediaDisplayName", [](Objects& o) { EXPECT_EQ(o.layout->mediaDisplayName(L"A4"), L"ISO A4"); }, {L"A4"}},
        {Plot, L"setCopyCount", [](Objects& o) { o.plot->setCopyCount(1); }, {std::int32_t{1}}},
        {Plot, L"runPlot", [](Objects& o) { EXPECT_TRUE(o.plot->runPlot()); }, {Omitted{}}},
    };
}

TEST(LateBound, EveryOperationCallsItsMemberWithTheDocumentedArguments) {
    Host host;
    Objects objects(host);
    std::set<std::pair<ObjectKind, std::wstring>> covered;
    for (const OperationCase& c : operationCases()) {
        SCOPED_TRACE(std::string(c.op, c.op + std::wcslen(c.op)));
        // The plot operations go to the object the plot interface query gave.
        FakeDispatch& target = c.kind == Plot ? *host.plotInterface : host.fake(c.kind);
        target.calls.clear();
        c.run(objects);
        ASSERT_EQ(target.calls.size(), 1u);
        const Member& m = member(c.kind, c.op);
        EXPECT_EQ(target.calls[0].member, m.name);
        EXPECT_EQ(target.calls[0].kind, m.kind);
        EXPECT_EQ(describe(target.calls[0].args), describe(c.args));
        covered.insert({c.kind, c.op});
    }
    for (const Member& m : memberTable()) EXPECT_TRUE(covered.count({m.object, std::wstring(m.operation)}));
}

TEST(LateBound, SelectionWithoutCornersOrFilterLeavesThemOut) {
    Host host;
    Objects objects(host);
    objects.set->selectWithFilter(0, &p1, &p2, nullptr);
    EXPECT_EQ(describe(host.fake(SelectionSet).calls.back().args),
              describe(ValueList{std::int32_t{0}, p1, p2, Omitted{}, Omitted{}}));
}

TEST(LateBound, ListsHeldAsVariantsOfStringsAreAccepted) {
    Host host;
    host.answer(Layout, L"deviceList", ValueList{L"PDF", L"Plotter"});
    Objects objects(host);
    EXPECT_EQ(objects.layout->deviceList(), (StringList{L"PDF", L"Plotter"}));
}

TEST(LateBound, HostErrorsReachTheCallerWithTheHostsText) {
    Host host;
    host.fake(Layout).fails(Host::name(Layout, L"setMedia"), CallKind::Put, L"Invalid media name");
    Objects objects(host);
    try {
        objects.layout->setMedia(L"A9");
        FAIL() << "no error";
    } catch (const CadError& e) {
        EXPECT_EQ(e.text(), L"Invalid media name");
    }
}

struct GarbleCase {
    const char* what;
    ObjectKind kind;
    const wchar_t* op;
    Value result;
    std::function<void(Objects&)> run;
};

std::vector<GarbleCase> garbleCases() {
    auto devices = [](Objects& o) { o.layout->deviceList(); };
    auto coords = [](Objects& o) { o.entity->Coordinates(); };
    auto point = [](Objects& o) { o.utility->promptPoint(L"p"); };
    auto count = [](Objects& o) { o.sets->setCount(); };
    return {
        {"list that is text", Layout, L"deviceList", L"PDF", devices},
        {"list that is empty", Layout, L"deviceList", Empty{}, devices},
        {"list of numbers", Layout, L"mediaList", std::vector<double>{1, 2}, [](Objects& o) { o.layout->mediaList(); }},
        {"list of variants holding a number", Layout, L"styleTableList", ValueList{L"a.ctb", 3.0},
         [](Objects& o) { o.layout->styleTableList(); }},
        {"coordinates that are text", Entity, L"Coordinates", L"0,0,1,1", coords},
        {"coordinates that are nothing", Entity, L"Coordinates", Empty{}, coords},
        {"coordinates holding text", Entity, L"Coordinates", ValueList{1.0, L"2"}, coords},
        {"point of one element", Utility, L"promptPoint", std::vector<double>{1}, point},
        {"point of four elements", Utility, L"promptPoint", std::vector<double>{1, 2, 3, 4}, point},
        {"point that is a number", Utility, L"promptPoint", 1.0, point},
        {"distance that is text", Utility, L"promptDistance", L"12.5", [](Objects& o) { o.utility->promptDistance(L"d"); }},
        {"count that is text", SelectionSets, L"setCount", L"3", count},
        {"count that is a double", SelectionSets, L"setCount", 3.0, count},
        {"count that is a boolean", SelectionSets, L"setCount", true, count},
        {"name that is a number", SelectionSet, L"setName", std::int32_t{7}, [](Objects& o) { o.set->setName(); }},
        {"closed flag that is an integer", Entity, L"Closed", std::int32_t{-1}, [](Objects& o) { o.entity->Closed(); }},
        {"closed flag that is text", Entity, L"Closed", L"True", [](Objects& o) { o.entity->Closed(); }},
        {"plot result that is text", Plot, L"runPlot", L"ok", [](Objects& o) { o.plot->runPlot(); }},
        {"document that is null", Application, L"currentDocument", DispatchPtr(), [](Objects& o) { o.app->currentDocument(); }},
        {"document that is nothing", Application, L"currentDocument", Empty{}, [](Objects& o) { o.app->currentDocument(); }},
        {"set that is null", SelectionSets, L"setAt", DispatchPtr(), [](Objects& o) { o.sets->setAt(0); }},
        {"added set that is text", SelectionSets, L"addSet", L"ssTemp", [](Objects& o) { o.sets->addSet(L"ssTemp"); }},
        {"entity that is null", SelectionSet, L"entityAt", DispatchPtr(), [](Objects& o) { o.set->entityAt(0); }},
        {"layout that is null", Document, L"currentLayout", DispatchPtr(), [](Objects& o) { o.doc->currentLayout(); }},
        {"plot object that is null", Document, L"plotService", DispatchPtr(), [](Objects& o) { o.doc->plotService(); }},
        {"handle that is a double", Application, L"mainWindowHandle", 65568.0, [](Objects& o) { o.app->mainWindowHandle(); }},
        {"handle that is text", Document, L"documentWindowHandle", L"0x10030", [](Objects& o) { o.doc->documentWindowHandle(); }},
        {"style table that is a list", Layout, L"styleTableName", std::vector<std::wstring>{L"a"},
         [](Objects& o) { o.layout->styleTableName(); }},
    };
}

TEST(LateBound, ResultsOfTheWrongShapeBecomeCadError) {
    for (const GarbleCase& c : garbleCases()) {
        SCOPED_TRACE(c.what);
        Host host;
        Objects objects(host);
        host.garble(c.kind, c.op, c.result);
        EXPECT_THROW(c.run(objects), CadError);
    }
}

TEST(LateBound, OutArgumentsOfTheWrongShapeBecomeCadError) {
    const std::vector<std::pair<const char*, std::function<void(ValueList&)>>> cases = {
        {"corners left empty", [](ValueList&) {}},
        {"corner of one element", [](ValueList& a) { a = {std::vector<double>{0}, std::vector<double>{1, 1}}; }},
        {"corner that is text", [](ValueList& a) { a = {L"0,0", std::vector<double>{1, 1}}; }},
        {"second corner missing", [](ValueList& a) { a = {std::vector<double>{0, 0}}; }},
        {"arguments dropped", [](ValueList& a) { a.clear(); }},
    };
    for (const auto& [what, write] : cases) {
        SCOPED_TRACE(what);
        Host host;
        Objects objects(host);
        host.fake(SelectionSet).on(Host::name(SelectionSet, L"measureExtents"), CallKind::Method, [write](ValueList& a) {
            write(a);
            return Value();
        });
        CadPoint ll{-1}, ur{-1};
        EXPECT_THROW(objects.set->measureExtents(ll, ur), CadError);
        EXPECT_EQ(ll, CadPoint{-1});  // the caller's points are not half-written
    }
}

TEST(LateBound, PlotServiceRefusingThePlotInterfaceIsCadError) {
    Host host;
    auto app = wrapApplication(host.fakes[Application]);
    auto doc = app->currentDocument();
    host.fakes[Plot]->interfaces.clear();
    EXPECT_THROW(doc->plotService(), CadError);
}

TEST(LateBound, NullApplicationIsCadError) { EXPECT_THROW(wrapApplication(nullptr), CadError); }

TEST(LateBound, ObjectsKeepNoReferenceOnceReleased) {
    Host host;
    std::map<ObjectKind, long> before;
    for (auto& [kind, fake] : host.fakes) before[kind] = fake.use_count();
    {
        Objects objects(host);
        for (const OperationCase& c : operationCases()) c.run(objects);
        EXPECT_GT(host.fakes[Document].use_count(), before[Document]);
    }
    for (auto& [kind, fake] : host.fakes) EXPECT_EQ(fake.use_count(), before[kind]) << "kind " << static_cast<int>(kind);
}

}  // namespace
