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
        std::wstring operator()(const std::vector<DispatchPtr>& v) const { return L"dispatch" + describeList(v); }
    };
    return std::visit(Visit{}, value.v);
}

std::wstring describe(const ValueList& args) { return describeList(args); }

// One host object per kind, each member answering with a well-formed result.
struct Host {
    std::map<ObjectKind, FakePtr> fakes;
    FakePtr plotInterface = FakeDispatch::make(L"plot interface");

    Host() {
        for (ObjectKind kind : {Application, Document, SelectionSets, SelectionSet, Entity, Utility, Layout, Plot, Attribute})
            fakes[kind] = FakeDispatch::make(std::wstring(objectKindName(kind)));
        answer(Operation::currentDocument, fakes[Document]);
        answer(Operation::mainWindowHandle, std::int32_t{0x10020});
        answer(Operation::plotService, fakes[Plot]);
        answer(Operation::selectionSetCollection, fakes[SelectionSets]);
        answer(Operation::documentSelectionSet, fakes[SelectionSet]);
        answer(Operation::inputUtility, fakes[Utility]);
        answer(Operation::readSysVar, std::int32_t{1});
        answer(Operation::currentLayout, fakes[Layout]);
        answer(Operation::documentWindowHandle, std::int32_t{0x10030});
        answer(Operation::setAt, fakes[SelectionSet]);
        answer(Operation::setCount, std::int32_t{1});
        answer(Operation::addSet, fakes[SelectionSet]);
        answer(Operation::entityAt, fakes[Entity]);
        answer(Operation::entityCount, std::int32_t{4});
        answer(Operation::setName, L"ssTemp");
        fake(SelectionSet).on(name(Operation::measureExtents), CallKind::Method, [](ValueList& args) {
            if (args.size() == 2) args = {std::vector<double>{0, 0, 0}, std::vector<double>{10, 5, 0}};
            return Value();
        });
        answer(Operation::Coordinates, std::vector<double>{0, 0, 10, 0, 10, 5, 0, 5});
        answer(Operation::Closed, true);
        fake(Entity).on(name(Operation::entityExtents), CallKind::Method, [](ValueList& args) {
            if (args.size() == 2) args = {std::vector<double>{-5, 2, 0}, ValueList{20.0, 12.0}};
            return Value();
        });
        answer(Operation::insertRotation, 1.5);
        answer(Operation::blockAttributes, ValueList{fakes[Attribute]});
        answer(Operation::attributeTag, L"SHEET_NO");
        answer(Operation::attributeText, L"A-101");
        answer(Operation::drawingFolder, L"C:\\Drawings");
        answer(Operation::drawingName, L"plan.dwg");
        answer(Operation::plotToFile, true);
        answer(Operation::promptDistance, 12.5);
        answer(Operation::promptPoint, std::vector<double>{1, 2, 0});
        answer(Operation::styleTableName, L"mono.ctb");
        answer(Operation::mediaList, std::vector<std::wstring>{L"A4", L"A3"});
        answer(Operation::deviceList, std::vector<std::wstring>{L"PDF"});
        answer(Operation::styleTableList, std::vector<std::wstring>{L"mono.ctb"});
        answer(Operation::mediaDisplayName, L"ISO A4");
        answer(Operation::runPlot, true);
        // Every other member succeeds with nothing to return.
        for (const Member& m : memberTable())
            if (!fake(m.object).handlers.count({std::wstring(m.name), m.kind})) fake(m.object).returns(std::wstring(m.name), m.kind, Value());
        fakes[Plot]->interfaces[kPlotInterfaceId] = plotInterface;
        plotInterface->handlers = fakes[Plot]->handlers;
    }

    static std::wstring name(Operation op) { return std::wstring(member(op).name); }
    FakeDispatch& fake(ObjectKind kind) { return *fakes.at(kind); }
    void answer(Operation op, Value result) {
        const Member& m = member(op);
        fake(m.object).returns(std::wstring(m.name), m.kind, std::move(result));
    }
    // Replaces an answer with an ill-formed one.
    void garble(Operation op, Value result) {
        answer(op, std::move(result));
        if (member(op).object == Plot) plotInterface->handlers = fakes[Plot]->handlers;
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
    Operation op;
    std::function<void(Objects&)> run;
    ValueList args;  // as the host must receive them
};

const CadPoint p1{1, 2}, p2{30, 40, 0};

std::vector<OperationCase> operationCases() {
    SelectionFilter filter{{8, 0}, {L"FRAME", L"LWPOLYLINE"}};
    return {
        {Operation::currentDocument, [](Objects& o) { o.app->currentDocument(); }, {}},
        {Operation::showWholeDrawing, [](Objects& o) { o.app->showWholeDrawing(); }, {}},
        {Operation::showAreaInView, [](Objects& o) { o.app->showAreaInView(p1, p2); }, {p1, p2}},
        {Operation::showPreviousView, [](Objects& o) { o.app->showPreviousView(); }, {}},
        {Operation::mainWindowHandle, [](Objects& o) { EXPECT_EQ(o.app->mainWindowHandle(), 0x10020); }, {}},
        {Operation::plotService, [](Objects& o) { o.doc->plotService(); }, {}},
        {Operation::selectionSetCollection, [](Objects& o) { o.doc->selectionSetCollection(); }, {}},
        {Operation::documentSelectionSet, [](Objects& o) { o.doc->documentSelectionSet(); }, {}},
        {Operation::inputUtility, [](Objects& o) { o.doc->inputUtility(); }, {}},
        {Operation::readSysVar, [](Objects& o) { EXPECT_EQ(sysVarInteger(o.doc->readSysVar(L"GRIDMODE")), 1); }, {L"GRIDMODE"}},
        {Operation::writeSysVar, [](Objects& o) { o.doc->writeSysVar(L"GRIDMODE", std::int32_t{0}); }, {L"GRIDMODE", std::int32_t{0}}},
        {Operation::currentLayout, [](Objects& o) { o.doc->currentLayout(); }, {}},
        {Operation::documentWindowHandle, [](Objects& o) { EXPECT_EQ(o.doc->documentWindowHandle(), 0x10030); }, {}},
        {Operation::setAt, [](Objects& o) { o.sets->setAt(3); }, {std::int32_t{3}}},
        {Operation::setCount, [](Objects& o) { EXPECT_EQ(o.sets->setCount(), 1); }, {}},
        {Operation::addSet, [](Objects& o) { o.sets->addSet(L"ssTemp"); }, {L"ssTemp"}},
        {Operation::entityAt, [](Objects& o) { o.set->entityAt(2); }, {std::int32_t{2}}},
        {Operation::entityCount, [](Objects& o) { EXPECT_EQ(o.set->entityCount(), 4); }, {}},
        {Operation::setName, [](Objects& o) { EXPECT_EQ(o.set->setName(), L"ssTemp"); }, {}},
        {Operation::emptySet, [](Objects& o) { o.set->emptySet(); }, {}},
        {Operation::selectWithFilter, [filter](Objects& o) { o.set->selectWithFilter(5, nullptr, nullptr, &filter); },
         {std::int32_t{5}, Omitted{}, Omitted{}, std::vector<std::int16_t>{8, 0}, ValueList{L"FRAME", L"LWPOLYLINE"}}},
        {Operation::discardSet, [](Objects& o) { o.set->discardSet(); }, {}},
        {Operation::measureExtents, [](Objects& o) {
             CadPoint ll, ur;
             o.set->measureExtents(ll, ur);
             EXPECT_EQ(ll, (CadPoint{0, 0, 0}));
             EXPECT_EQ(ur, (CadPoint{10, 5, 0}));
         }, {Empty{}, Empty{}}},
        {Operation::Coordinates, [](Objects& o) { EXPECT_EQ(o.entity->Coordinates().size(), 8u); }, {}},
        {Operation::Closed, [](Objects& o) { EXPECT_TRUE(o.entity->Closed()); }, {}},
        {Operation::entityExtents, [](Objects& o) {
             CadPoint ll, ur;
             o.entity->entityExtents(ll, ur);
             EXPECT_EQ(ll, (CadPoint{-5, 2, 0}));
             EXPECT_EQ(ur, (CadPoint{20, 12}));
         }, {Empty{}, Empty{}}},
        {Operation::insertRotation, [](Objects& o) { EXPECT_EQ(o.entity->insertRotation(), 1.5); }, {}},
        {Operation::blockAttributes, [](Objects& o) {
             EXPECT_EQ(o.entity->blockAttributes(), (std::vector<BlockAttribute>{{L"SHEET_NO", L"A-101"}}));
         }, {}},
        {Operation::drawingFolder, [](Objects& o) { EXPECT_EQ(o.doc->drawingFolder(), L"C:\\Drawings"); }, {}},
        {Operation::drawingName, [](Objects& o) { EXPECT_EQ(o.doc->drawingName(), L"plan.dwg"); }, {}},
        {Operation::plotToFile, [](Objects& o) { EXPECT_TRUE(o.plot->plotToFile(L"C:\\out\\a.pdf")); },
         {L"C:\\out\\a.pdf", Omitted{}}},
        {Operation::promptDistance, [](Objects& o) { EXPECT_EQ(o.utility->promptDistance(L"d"), 12.5); }, {Omitted{}, L"d"}},
        {Operation::promptPoint, [](Objects& o) { EXPECT_EQ(o.utility->promptPoint(L"p"), (CadPoint{1, 2, 0})); }, {Omitted{}, L"p"}},
        {Operation::setDevice, [](Objects& o) { o.layout->setDevice(L"PDF"); }, {L"PDF"}},
        {Operation::setMedia, [](Objects& o) { o.layout->setMedia(L"A4"); }, {L"A4"}},
        {Operation::setPaperUnitKind, [](Objects& o) { o.layout->setPaperUnitKind(1); }, {std::int32_t{1}}},
        {Operation::setSheetRotation, [](Objects& o) { o.layout->setSheetRotation(3); }, {std::int32_t{3}}},
        {Operation::setCentreOnPaper, [](Objects& o) { o.layout->setCentreOnPaper(true); }, {true}},
        {Operation::setPlotAreaKind, [](Objects& o) { o.layout->setPlotAreaKind(4); }, {std::int32_t{4}}},
        {Operation::setUseListedScale, [](Objects& o) { o.layout->setUseListedScale(false); }, {false}},
        {Operation::setScaleRatio, [](Objects& o) { o.layout->setScaleRatio(1, 50); }, {1.0, 50.0}},
        {Operation::setLineWeightScaling, [](Objects& o) { o.layout->setLineWeightScaling(true); }, {true}},
        {Operation::setPrintLineWeights, [](Objects& o) { o.layout->setPrintLineWeights(false); }, {false}},
        {Operation::styleTableName, [](Objects& o) { EXPECT_EQ(o.layout->styleTableName(), L"mono.ctb"); }, {}},
        {Operation::setStyleTable, [](Objects& o) { o.layout->setStyleTable(L"a.stb"); }, {L"a.stb"}},
        {Operation::setPlotWindow, [](Objects& o) { o.layout->setPlotWindow(p1, p2); }, {p1, p2}},
        {Operation::setApplyStyleTable, [](Objects& o) { o.layout->setApplyStyleTable(true); }, {true}},
        {Operation::mediaList, [](Objects& o) { EXPECT_EQ(o.layout->mediaList().size(), 2u); }, {}},
        {Operation::deviceList, [](Objects& o) { EXPECT_EQ(o.layout->deviceList(), StringList{L"PDF"}); }, {}},
        {Operation::styleTableList, [](Objects& o) { o.layout->styleTableList(); }, {}},
        {Operation::reloadDeviceInfo, [](Objects& o) { o.layout->reloadDeviceInfo(); }, {}},
        {Operation::mediaDisplayName, [](Objects& o) { EXPECT_EQ(o.layout->mediaDisplayName(L"A4"), L"ISO A4"); }, {L"A4"}},
        {Operation::setCopyCount, [](Objects& o) { o.plot->setCopyCount(1); }, {std::int32_t{1}}},
        {Operation::runPlot, [](Objects& o) { EXPECT_TRUE(o.plot->runPlot()); }, {Omitted{}}},
    };
}

TEST(LateBound, EveryOperationCallsItsMemberWithTheDocumentedArguments) {
    Host host;
    Objects objects(host);
    std::set<Operation> covered;
    for (const OperationCase& c : operationCases()) {
        const Member& m = member(c.op);
        SCOPED_TRACE(std::string(m.operationName.begin(), m.operationName.end()));
        // The plot operations go to the object the plot interface query gave.
        FakeDispatch& target = m.object == Plot ? *host.plotInterface : host.fake(m.object);
        target.calls.clear();
        c.run(objects);
        ASSERT_EQ(target.calls.size(), 1u);
        EXPECT_EQ(target.calls[0].member, m.name);
        EXPECT_EQ(target.calls[0].kind, m.kind);
        EXPECT_EQ(describe(target.calls[0].args), describe(c.args));
        covered.insert(c.op);
    }
    // An attribute object is reached only through its block reference (below).
    for (const Member& m : memberTable()) EXPECT_TRUE(m.object == Attribute || covered.count(m.operation));
}

// Each attribute object is asked its tag, then its text; a reference without attributes
// may answer nothing at all.
TEST(LateBound, ABlockReferenceGivesItsAttributesTagAndText) {
    Host host;
    Objects objects(host);
    const FakePtr second = FakeDispatch::make(L"second attribute");
    second->returns(L"TagString", CallKind::Get, L"TITLE");
    second->returns(L"TextString", CallKind::Get, L"1F 平面図");
    host.answer(Operation::blockAttributes, ValueList{host.fakes[Attribute], second});
    EXPECT_EQ(objects.entity->blockAttributes(),
              (std::vector<BlockAttribute>{{L"SHEET_NO", L"A-101"}, {L"TITLE", L"1F 平面図"}}));
    ASSERT_EQ(host.fake(Attribute).calls.size(), 2u);
    EXPECT_EQ(host.fake(Attribute).calls[0].member, L"TagString");
    EXPECT_EQ(host.fake(Attribute).calls[1].member, L"TextString");
    host.answer(Operation::blockAttributes, Empty{});
    EXPECT_TRUE(objects.entity->blockAttributes().empty());
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
    host.answer(Operation::deviceList, ValueList{L"PDF", L"Plotter"});
    Objects objects(host);
    EXPECT_EQ(objects.layout->deviceList(), (StringList{L"PDF", L"Plotter"}));
}

TEST(LateBound, ListElementsAreConvertedToTextAndThoseWithoutTextLeftOut) {
    const struct {
        const char* what;
        Value answer;
        StringList expected;
    } cases[] = {
        {"variants of every kind", ValueList{L"PDF", 3.0, 2.5, std::int32_t{-7}, std::int16_t{4}, true, false},
         {L"PDF", L"3", L"2.5", L"-7", L"4", L"True", L"False"}},
        {"elements without text", ValueList{Empty{}, L"a.ctb", DispatchPtr(), std::vector<double>{1}, Omitted{}}, {L"a.ctb"}},
        {"array of numbers", std::vector<double>{1, 0.5}, {L"1", L"0.5"}},
        {"array of small integers", std::vector<std::int16_t>{1, -2}, {L"1", L"-2"}},
        {"nothing in it", ValueList{}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Host host;
        host.answer(Operation::styleTableList, c.answer);
        Objects objects(host);
        EXPECT_EQ(objects.layout->styleTableList(), c.expected);
    }
}

TEST(LateBound, HostErrorsReachTheCallerWithTheHostsText) {
    Host host;
    host.fake(Layout).fails(Host::name(Operation::setMedia), CallKind::Put, L"Invalid media name");
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
    Operation op;
    Value result;
    std::function<void(Objects&)> run;
};

std::vector<GarbleCase> garbleCases() {
    auto devices = [](Objects& o) { o.layout->deviceList(); };
    auto coords = [](Objects& o) { o.entity->Coordinates(); };
    auto point = [](Objects& o) { o.utility->promptPoint(L"p"); };
    auto count = [](Objects& o) { o.sets->setCount(); };
    return {
        {"list that is text", Operation::deviceList, L"PDF", devices},
        {"list that is empty", Operation::deviceList, Empty{}, devices},
        {"list that is a number", Operation::mediaList, 3.0, [](Objects& o) { o.layout->mediaList(); }},
        {"coordinates that are text", Operation::Coordinates, L"0,0,1,1", coords},
        {"coordinates that are nothing", Operation::Coordinates, Empty{}, coords},
        {"coordinates holding text", Operation::Coordinates, ValueList{1.0, L"2"}, coords},
        {"point of one element", Operation::promptPoint, std::vector<double>{1}, point},
        {"point of four elements", Operation::promptPoint, std::vector<double>{1, 2, 3, 4}, point},
        {"point that is a number", Operation::promptPoint, 1.0, point},
        {"distance that is text", Operation::promptDistance, L"12.5", [](Objects& o) { o.utility->promptDistance(L"d"); }},
        {"count that is text", Operation::setCount, L"3", count},
        {"count that is a double", Operation::setCount, 3.0, count},
        {"count that is a boolean", Operation::setCount, true, count},
        {"name that is a number", Operation::setName, std::int32_t{7}, [](Objects& o) { o.set->setName(); }},
        {"closed flag that is an integer", Operation::Closed, std::int32_t{-1}, [](Objects& o) { o.entity->Closed(); }},
        {"closed flag that is text", Operation::Closed, L"True", [](Objects& o) { o.entity->Closed(); }},
        {"rotation that is text", Operation::insertRotation, L"0", [](Objects& o) { o.entity->insertRotation(); }},
        {"rotation that is nothing", Operation::insertRotation, Empty{}, [](Objects& o) { o.entity->insertRotation(); }},
        {"attributes that are text", Operation::blockAttributes, L"SHEET_NO", [](Objects& o) { o.entity->blockAttributes(); }},
        {"attributes holding text", Operation::blockAttributes, ValueList{L"SHEET_NO"},
         [](Objects& o) { o.entity->blockAttributes(); }},
        {"attribute tag that is a number", Operation::attributeTag, 3.0, [](Objects& o) { o.entity->blockAttributes(); }},
        {"folder that is nothing", Operation::drawingFolder, Empty{}, [](Objects& o) { o.doc->drawingFolder(); }},
        {"file-plot result that is text", Operation::plotToFile, L"ok", [](Objects& o) { o.plot->plotToFile(L"a.pdf"); }},
        {"plot result that is text", Operation::runPlot, L"ok", [](Objects& o) { o.plot->runPlot(); }},
        {"document that is null", Operation::currentDocument, DispatchPtr(), [](Objects& o) { o.app->currentDocument(); }},
        {"document that is nothing", Operation::currentDocument, Empty{}, [](Objects& o) { o.app->currentDocument(); }},
        {"set that is null", Operation::setAt, DispatchPtr(), [](Objects& o) { o.sets->setAt(0); }},
        {"added set that is text", Operation::addSet, L"ssTemp", [](Objects& o) { o.sets->addSet(L"ssTemp"); }},
        {"entity that is null", Operation::entityAt, DispatchPtr(), [](Objects& o) { o.set->entityAt(0); }},
        {"layout that is null", Operation::currentLayout, DispatchPtr(), [](Objects& o) { o.doc->currentLayout(); }},
        {"plot object that is null", Operation::plotService, DispatchPtr(), [](Objects& o) { o.doc->plotService(); }},
        {"handle that is a double", Operation::mainWindowHandle, 65568.0, [](Objects& o) { o.app->mainWindowHandle(); }},
        {"handle that is text", Operation::documentWindowHandle, L"0x10030", [](Objects& o) { o.doc->documentWindowHandle(); }},
        {"style table that is a list", Operation::styleTableName, std::vector<std::wstring>{L"a"},
         [](Objects& o) { o.layout->styleTableName(); }},
    };
}

// The error names the host's member and says in Japanese what was wrong with its answer.
TEST(LateBound, ResultsOfTheWrongShapeBecomeCadError) {
    for (const GarbleCase& c : garbleCases()) {
        SCOPED_TRACE(c.what);
        Host host;
        Objects objects(host);
        host.garble(c.op, c.result);
        try {
            c.run(objects);
            ADD_FAILURE() << "no error";
        } catch (const CadError& e) {
            EXPECT_TRUE(e.text().starts_with(Host::name(c.op) + L": CAD の応答が")) << e.what();
        }
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
    // The selection's box and an entity's.
    for (const Operation op : {Operation::measureExtents, Operation::entityExtents})
        for (const auto& [what, write] : cases) {
            SCOPED_TRACE(what);
            Host host;
            Objects objects(host);
            host.fake(member(op).object).on(Host::name(op), CallKind::Method, [write](ValueList& a) {
                write(a);
                return Value();
            });
            CadPoint ll{-1}, ur{-1};
            if (op == Operation::measureExtents) EXPECT_THROW(objects.set->measureExtents(ll, ur), CadError);
            else EXPECT_THROW(objects.entity->entityExtents(ll, ur), CadError);
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

// A CAD other than nanoCAD 5 has no such plot interface: without an id the plot object
// answers through its own IDispatch.
TEST(LateBound, WithoutAPlotInterfaceIdThePlotObjectIsUsedAsItComes) {
    Host host;
    host.fakes[Plot]->interfaces.clear();
    host.plotInterface->handlers.clear();
    auto doc = wrapApplication(host.fakes[Application], L"")->currentDocument();
    EXPECT_TRUE(doc->plotService()->runPlot());
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
