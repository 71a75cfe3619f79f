// The late-bound objects, connectToCad and tempSelectionSet over the stand-in's model
// in process: real selections and sets, injected failures and ill-formed results, and
// every automation object released at the end.
#include <gtest/gtest.h>

#include <functional>

#include "cad/connect.h"
#include "cad/late_bound.h"
#include "sim/model/host.h"

namespace {

using namespace cad;

// On FRAME a closed frame, an open polyline and a line; on Other a closed square.
const char kDrawing[] =
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLWPOLYLINE\n8\nFRAME\n90\n4\n70\n1\n10\n0\n20\n0\n10\n420\n20\n0\n10\n420\n20\n297\n10\n0\n20\n297\n"
    "0\nLWPOLYLINE\n8\nFRAME\n90\n3\n70\n0\n10\n500\n20\n0\n10\n600\n20\n0\n10\n600\n20\n100\n"
    "0\nLINE\n8\nFRAME\n10\n0\n20\n400\n30\n0\n11\n100\n21\n400\n31\n0\n"
    "0\nLWPOLYLINE\n8\nOther\n90\n4\n70\n1\n10\n0\n20\n-100\n10\n50\n20\n-100\n10\n50\n20\n-50\n10\n0\n20\n-50\n"
    "0\nENDSEC\n0\nEOF\n";

struct HostWindow : HostWindowFinder {
    bool topLevelWindowExists(std::wstring_view title) override { return title == L"nanoCAD 5"; }
    bool topLevelWindowTitleBegins(std::wstring_view) override { return false; }
};

struct ModelCreator : CoApplication {
    sim::Host& host;
    explicit ModelCreator(sim::Host& h) : host(h) {}
    std::unique_ptr<CadApplication> Create(const CadProfile&) override { return wrapApplication(host.application()); }
};

struct Session {
    sim::Host host;
    std::unique_ptr<CadApplication> app;
    std::unique_ptr<CadDocument> doc;

    explicit Session(sim::Options options = {}) : host(sim::readDxfText(kDrawing, "fixture.dxf"), std::move(options)) {
        HostWindow windows;
        ModelCreator creator(host);
        EXPECT_TRUE(connectToCad(app, windows, creator));
        doc = app->currentDocument();
    }
    void release() {
        doc.reset();
        app.reset();
    }
};

TEST(ModelHost, TempSelectionSetIsAddedThenReusedEmptyAndNothingIsKept) {
    Session s;
    {
        auto sets = s.doc->selectionSetCollection();
        const std::int32_t before = sets->setCount();
        auto first = tempSelectionSet(*s.doc);
        EXPECT_EQ(first->setName(), L"ssTemp");
        SelectionFilter filter{{8, 0}, {L"FRAME", L"LWPOLYLINE"}};
        first->selectWithFilter(5, nullptr, nullptr, &filter);
        EXPECT_EQ(first->entityCount(), 2);
        first.reset();
        auto again = tempSelectionSet(*s.doc);
        EXPECT_EQ(again->entityCount(), 0);
        EXPECT_EQ(sets->setCount(), before + 1);
    }
    s.release();
    EXPECT_EQ(s.host.liveObjects(), 0);
}

TEST(ModelHost, ASetNamedInOtherLettersIsNotReused) {
    Session s;
    s.doc->selectionSetCollection()->addSet(L"SSTEMP");
    try {
        EXPECT_EQ(tempSelectionSet(*s.doc)->setName(), L"ssTemp");
    } catch (const CadError&) {
        // The host may refuse a name that differs only in case; that reaches us.
    }
    s.release();
    EXPECT_EQ(s.host.liveObjects(), 0);
}

TEST(ModelHost, HostFailuresInsideTempSelectionSetReachTheCallerAndReleaseEverything) {
    // The set-up below takes the collection once and adds once; @2 aims past it.
    for (const char* fault : {"selectionSetCollection@2", "setCount", "setAt", "setName", "emptySet", "addSet@2"}) {
        SCOPED_TRACE(fault);
        sim::Options options;
        options.fails = {fault};
        Session s(options);
        // One set before "ssTemp", so that names are read and the set is emptied.
        {
            auto sets = s.doc->selectionSetCollection();
            sets->addSet(L"other");
            if (std::string(fault) == "emptySet") sets->addSet(L"ssTemp");
        }
        EXPECT_THROW(tempSelectionSet(*s.doc), CadError);
        s.release();
        EXPECT_EQ(s.host.liveObjects(), 0);
    }
}

TEST(ModelHost, IllFormedResultsBecomeCadError) {
    const std::vector<std::pair<const char*, std::function<void(CadDocument&)>>> cases = {
        {"deviceList", [](CadDocument& d) { d.currentLayout()->deviceList(); }},
        {"Coordinates", [](CadDocument& d) {
             auto set = tempSelectionSet(d);
             SelectionFilter filter{{8, 0}, {L"FRAME", L"LWPOLYLINE"}};
             set->selectWithFilter(5, nullptr, nullptr, &filter);
             set->entityAt(0)->Coordinates();
         }},
        {"measureExtents", [](CadDocument& d) {
             auto set = tempSelectionSet(d);
             SelectionFilter filter{{8}, {L"FRAME"}};
             set->selectWithFilter(5, nullptr, nullptr, &filter);
             CadPoint ll, ur;
             set->measureExtents(ll, ur);
         }},
        {"currentLayout", [](CadDocument& d) { d.currentLayout(); }},
        {"setName", [](CadDocument& d) {
             d.selectionSetCollection()->addSet(L"x");
             tempSelectionSet(d);
         }},
        {"setCount", [](CadDocument& d) { tempSelectionSet(d); }},
        {"readSysVar", [](CadDocument& d) { sysVarInteger(d.readSysVar(L"GRIDMODE")); }},
    };
    for (const auto& [garble, run] : cases) {
        SCOPED_TRACE(garble);
        sim::Options options;
        options.garbles = {garble};
        Session s(options);
        EXPECT_THROW(run(*s.doc), CadError);
        s.release();
        EXPECT_EQ(s.host.liveObjects(), 0);
    }
}

}  // namespace
