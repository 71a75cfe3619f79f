// Every member of the table called once through the COM client against cadsim.exe, and
// the stand-in's injected failures and ill-formed results reaching the client as
// CadError.
#include <gtest/gtest.h>

#include "cad/members.h"
#include "com_cadsim.h"

namespace {

using namespace cad;
using comtest::CadSimTest;

std::string narrow(std::wstring_view s) { return std::string(s.begin(), s.end()); }

// Whether the trace shows a call of this member of this kind of object.
bool traced(const std::string& trace, const Member& m) {
    const std::string call = narrow(objectKindName(m.object)) + "." + narrow(m.name);
    for (size_t at = trace.find(call); at != std::string::npos; at = trace.find(call, at + 1)) {
        if (at > 0 && trace[at - 1] != '\n' && trace[at - 1] != ' ' && trace[at - 1] != '\t') continue;
        const std::string rest = trace.substr(at + call.size(), 3);
        const bool put = rest.rfind(" = ", 0) == 0;
        if (m.kind == CallKind::Put ? put : !put && (rest.empty() || rest[0] == '(' || rest[0] == '\r' || rest[0] == '\n' || rest[0] == ' '))
            return true;
    }
    return false;
}

TEST_F(CadSimTest, EveryMemberOfTheTableIsServed) {
    start({}, kAnswers, comtest::kDrawingWithBlock.c_str());
    const CadPoint a{0, 0}, b{420, 297};
    app->showWholeDrawing();
    app->showAreaInView(a, b);
    app->showPreviousView();
    EXPECT_NE(app->mainWindowHandle(), 0);
    EXPECT_NE(doc->documentWindowHandle(), 0);
    const std::filesystem::path folder = journal.parent_path();  // the drawing's, as the stand-in's files
    EXPECT_EQ(doc->drawingName(), L"fixture.dxf");
    const std::wstring drawingFolder = doc->drawingFolder();
    EXPECT_TRUE(std::filesystem::equivalent(drawingFolder, folder)) << narrow(drawingFolder);
    EXPECT_NE(drawingFolder.back(), L'\\');

    auto sets = doc->selectionSetCollection();
    auto added = sets->addSet(L"covered");
    EXPECT_GE(sets->setCount(), 1);
    EXPECT_EQ(sets->setAt(sets->setCount() - 1)->setName(), L"covered");
    SelectionFilter filter{{8, 0}, {L"FRAME", L"LWPOLYLINE"}};
    added->selectWithFilter(5, nullptr, nullptr, &filter);
    EXPECT_EQ(added->entityCount(), 2);
    auto entity = added->entityAt(0);
    EXPECT_FALSE(entity->Coordinates().empty());
    entity->Closed();
    CadPoint ll, ur;
    added->measureExtents(ll, ur);
    added->emptySet();
    const SelectionFilter blocks{{0}, {L"INSERT"}};
    added->selectWithFilter(5, nullptr, nullptr, &blocks);
    ASSERT_EQ(added->entityCount(), 1);
    auto block = added->entityAt(0);
    EXPECT_NEAR(block->insertRotation(), 1.5707963267948966, 1e-12);
    block->entityExtents(ll, ur);
    EXPECT_NEAR(ll.at(0), 703, 1e-9);
    EXPECT_NEAR(ll.at(1), 0, 1e-9);
    EXPECT_NEAR(ur.at(0), 1000, 1e-9);
    EXPECT_NEAR(ur.at(1), 420, 1e-9);
    EXPECT_EQ(block->blockAttributes(), (std::vector<BlockAttribute>{{L"SHEET_NO", L"A-101"}, {L"TITLE", L"1F PLAN"}}));
    added->emptySet();
    added->selectWithFilter(0, &a, &b, nullptr);
    added->discardSet();
    doc->documentSelectionSet()->entityCount();

    auto utility = doc->inputUtility();
    EXPECT_EQ(utility->promptPoint(L"point").at(0), 10);
    EXPECT_EQ(utility->promptDistance(L"distance"), 5);

    doc->writeSysVar(L"GRIDMODE", std::int32_t{0});
    EXPECT_EQ(sysVarInteger(doc->readSysVar(L"GRIDMODE")), 0);

    auto layout = doc->currentLayout();
    const StringList media = chooseDeviceWithMedia(*layout);
    ASSERT_FALSE(media.empty());
    layout->setMedia(media.front());
    layout->mediaDisplayName(media.front());
    const StringList styles = layout->styleTableList();
    ASSERT_FALSE(styles.empty());
    layout->setStyleTable(styles.front());
    layout->styleTableName();
    layout->setApplyStyleTable(true);
    layout->setPaperUnitKind(1);
    layout->setSheetRotation(1);
    layout->setCentreOnPaper(true);
    layout->setPlotAreaKind(4);
    layout->setUseListedScale(false);
    layout->setScaleRatio(1, 2);
    layout->setLineWeightScaling(false);
    layout->setPrintLineWeights(true);
    layout->setPlotWindow(a, b);
    auto plot = doc->plotService();
    plot->setCopyCount(1);
    plot->runPlot();
    // A named file, written once and never replaced.
    const std::filesystem::path sheet = folder / L"A-101.pdf";
    EXPECT_TRUE(plot->plotToFile(sheet.wstring()));
    const std::string written = comtest::readFile(sheet);
    EXPECT_TRUE(written.starts_with("%PDF-")) << written.substr(0, 16);
    try {
        plot->plotToFile(sheet.wstring());
        ADD_FAILURE() << "a second plot replaced the file";
    } catch (const CadError& e) {
        EXPECT_NE(e.text().find(L"exists"), std::wstring::npos) << e.what();
    }
    EXPECT_EQ(comtest::readFile(sheet), written);

    const std::string trace = comtest::readFile(this->trace);
    for (const Member& m : memberTable())
        EXPECT_TRUE(traced(trace, m)) << narrow(objectKindName(m.object)) << "." << narrow(m.name);
    const std::string journal = comtest::readFile(this->journal);
    EXPECT_NE(journal.find("\"job\":"), std::string::npos) << journal;
    EXPECT_NE(journal.find("\"rotation\":"), std::string::npos) << journal;
}

TEST_F(CadSimTest, TheHostsFailureReachesTheClientWithItsText) {
    start({L"--fail", L"deviceList", L"--fail", L"emptySet"});
    auto layout = doc->currentLayout();
    try {
        layout->deviceList();
        ADD_FAILURE() << "no error";
    } catch (const CadError& e) {
        EXPECT_NE(e.text().find(L"injected by --fail deviceList"), std::wstring::npos) << e.what();
    }
    EXPECT_FALSE(layout->deviceList().empty());  // only the first call fails

    // A failure inside tempSelectionSet reaches its caller too: the second call finds
    // "ssTemp" and the host refuses to empty it.
    tempSelectionSet(*doc);
    EXPECT_THROW(tempSelectionSet(*doc), CadError);
    EXPECT_EQ(tempSelectionSet(*doc)->entityCount(), 0);
}

// The fixture's objects, reached afresh by each case.
using Run = std::function<void(CadApplication&, CadDocument&)>;

void frameEntities(CadDocument& d, const std::function<void(CadSelectionSet&)>& use) {
    auto set = tempSelectionSet(d);
    SelectionFilter filter{{8, 0}, {L"FRAME", L"LWPOLYLINE"}};
    set->selectWithFilter(5, nullptr, nullptr, &filter);
    use(*set);
}

struct GarbleCase {
    const wchar_t* garble;  // the --garble argument (an operation): its first call from the case on is garbled
    Run run;                // reaches that call, twice
    const char* answers = "point 10,20\ndistance 5\n";
};

TEST_F(CadSimTest, IllFormedResultsBecomeCadError) {
    const GarbleCase cases[] = {
        {L"mediaList", [](CadApplication&, CadDocument& d) { d.currentLayout()->mediaList(); }},
        {L"deviceList", [](CadApplication&, CadDocument& d) { d.currentLayout()->deviceList(); }},
        {L"styleTableList", [](CadApplication&, CadDocument& d) { d.currentLayout()->styleTableList(); }},
        {L"Coordinates", [](CadApplication&, CadDocument& d) {
             frameEntities(d, [](CadSelectionSet& s) { s.entityAt(0)->Coordinates(); });
         }},
        {L"Closed", [](CadApplication&, CadDocument& d) {
             frameEntities(d, [](CadSelectionSet& s) { s.entityAt(0)->Closed(); });
         }},
        {L"measureExtents", [](CadApplication&, CadDocument& d) {
             frameEntities(d, [](CadSelectionSet& s) {
                 CadPoint ll, ur;
                 s.measureExtents(ll, ur);
             });
         }},
        {L"currentLayout", [](CadApplication&, CadDocument& d) { d.currentLayout(); }},
        {L"currentDocument", [](CadApplication& a, CadDocument&) { a.currentDocument(); }},
        {L"setCount", [](CadApplication&, CadDocument& d) { d.selectionSetCollection()->setCount(); }},
        {L"entityCount", [](CadApplication&, CadDocument& d) {
             frameEntities(d, [](CadSelectionSet& s) { s.entityCount(); });
         }},
        {L"setName", [](CadApplication&, CadDocument& d) { d.documentSelectionSet()->setName(); }},
        {L"styleTableName", [](CadApplication&, CadDocument& d) { d.currentLayout()->styleTableName(); }},
        {L"mediaDisplayName", [](CadApplication&, CadDocument& d) {
             auto layout = d.currentLayout();
             layout->mediaDisplayName(chooseDeviceWithMedia(*layout).at(0));
         }},
        {L"promptPoint", [](CadApplication&, CadDocument& d) { d.inputUtility()->promptPoint(L"p"); },
         "point 10,20\npoint 10,20\n"},
        {L"promptDistance", [](CadApplication&, CadDocument& d) { d.inputUtility()->promptDistance(L"d"); },
         "distance 5\ndistance 5\n"},
        {L"mainWindowHandle", [](CadApplication& a, CadDocument&) { a.mainWindowHandle(); }},
        {L"readSysVar", [](CadApplication&, CadDocument& d) { sysVarPoint(d.readSysVar(L"EXTMIN")); }},
    };
    // One stand-in for every case: each replaces the one garbled operation while it runs.
    start();
    for (const GarbleCase& c : cases) {
        SCOPED_TRACE(narrow(c.garble));
        replaceFaults({L"--garble", c.garble}, c.answers);
        const std::size_t before = comtest::readFile(trace).size();
        try {
            c.run(*app, *doc);
            ADD_FAILURE() << "no error";
        } catch (const CadError& e) {
            // Refused by the client's shape check, not by the host: every call the host
            // saw succeeded.
            EXPECT_FALSE(e.text().empty());
            const std::string calls = comtest::readFile(trace).substr(before);
            EXPECT_EQ(calls.find(" fail: "), std::string::npos) << e.what() << "\n" << calls;
        }
        EXPECT_NO_THROW(c.run(*app, *doc)) << "the next call is well-formed again";
    }
}

}  // namespace
