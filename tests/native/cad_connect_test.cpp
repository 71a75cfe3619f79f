// connectToCad and tempSelectionSet against a scripted desktop, creator and document.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "cad/connect.h"
#include "cad/ids.h"
#include "cad/late_bound.h"
#include "cad/members.h"
#include "cad_fake_dispatch.h"

namespace {

using namespace cad;
using cadtest::FakeDispatch;
using cadtest::FakePtr;

// ---- connectToCad -------------------------------------------------------------------

struct ScriptedWindows : HostWindowFinder {
    bool present = false;
    std::vector<std::wstring> asked;
    bool topLevelWindowExists(std::wstring_view title) override {
        asked.emplace_back(title);
        return present;
    }
    bool topLevelWindowTitleBegins(std::wstring_view prefix) override {
        asked.emplace_back(std::wstring(prefix) + L"…");
        return present;
    }
};

// An application object that only counts how many of it are alive.
struct StubApplication : CadApplication {
    static inline int alive = 0;
    StubApplication() { ++alive; }
    ~StubApplication() override { --alive; }
    std::unique_ptr<CadDocument> currentDocument() override { throw CadError(L"stub"); }
    void showWholeDrawing() override {}
    void showAreaInView(const CadPoint&, const CadPoint&) override {}
    void showPreviousView() override {}
    std::intptr_t mainWindowHandle() override { return 0; }
};

struct ScriptedCreator : CoApplication {
    int calls = 0;
    std::function<std::unique_ptr<CadApplication>()> make = [] { return std::make_unique<StubApplication>(); };
    std::vector<std::wstring> profiles;  // the name of each profile asked for
    std::unique_ptr<CadApplication> Create(const CadProfile& profile) override {
        ++calls;
        profiles.push_back(profile.name);
        return make();
    }
};

TEST(ConnectToCad, NoHostWindowMeansFalseWithoutCreatingAnythingAndTheReferenceUntouched) {
    ScriptedWindows windows;
    ScriptedCreator creator;
    std::unique_ptr<CadApplication> app = std::make_unique<StubApplication>();
    CadApplication* before = app.get();
    EXPECT_FALSE(connectToCad(app, windows, creator));
    EXPECT_EQ(creator.calls, 0);
    EXPECT_EQ(app.get(), before);
    EXPECT_EQ(windows.asked, std::vector<std::wstring>{L"nanoCAD 5"});
}

TEST(ConnectToCad, FailedCreationIsSilentAndEmptiesTheReference) {
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<CadApplication>()>>> failures = {
        {"class not registered", []() -> std::unique_ptr<CadApplication> { throw CadError(L"Class not registered"); }},
        {"interface refused", []() -> std::unique_ptr<CadApplication> { throw CadError(L"No such interface"); }},
        {"out of memory", []() -> std::unique_ptr<CadApplication> { throw std::bad_alloc(); }},
        {"nothing made", []() -> std::unique_ptr<CadApplication> { return nullptr; }},
    };
    for (const auto& [what, make] : failures) {
        SCOPED_TRACE(what);
        ScriptedWindows windows;
        windows.present = true;
        ScriptedCreator creator;
        creator.make = make;
        const int aliveBefore = StubApplication::alive;
        std::unique_ptr<CadApplication> app = std::make_unique<StubApplication>();
        bool connected = true;
        EXPECT_NO_THROW(connected = connectToCad(app, windows, creator));
        EXPECT_FALSE(connected);
        EXPECT_EQ(app, nullptr);
        EXPECT_EQ(creator.calls, 1);
        EXPECT_EQ(StubApplication::alive, aliveBefore);  // the old object was released
    }
}

TEST(ConnectToCad, HostWindowAndObjectMeanTrueWithAFreshObject) {
    ScriptedWindows windows;
    windows.present = true;
    ScriptedCreator creator;
    std::unique_ptr<CadApplication> app;
    EXPECT_TRUE(connectToCad(app, windows, creator));
    EXPECT_NE(app, nullptr);
    EXPECT_EQ(creator.calls, 1);
    app.reset();
    EXPECT_EQ(StubApplication::alive, 0);
}

// Each profile's window rule is asked (the whole title, or its beginning), and the object
// is reached by that profile only.
TEST(ConnectToCad, TheProfileDecidesTheWindowLookedForAndTheObjectAskedFor) {
    for (const CadProfile& profile : builtInProfiles()) {
        SCOPED_TRACE(testing::PrintToString(profile.name));
        ScriptedWindows windows;
        windows.present = true;
        ScriptedCreator creator;
        std::unique_ptr<CadApplication> app;
        EXPECT_TRUE(connectToCad(app, windows, creator, profile));
        EXPECT_EQ(windows.asked, std::vector<std::wstring>{profile.windowTitle + (profile.titleIsPrefix ? L"…" : L"")});
        EXPECT_EQ(creator.profiles, std::vector<std::wstring>{profile.name});
    }
    EXPECT_EQ(builtInProfiles().front().name, L"nanoCAD");
    EXPECT_FALSE(builtInProfiles().front().titleIsPrefix) << "the default looks for \"nanoCAD 5\" exactly";
}

TEST(CadProfiles, TitlesAndClassIds) {
    const CadProfile& autocad = profileNamed(builtInProfiles(), L"autocad");
    EXPECT_EQ(autocad.name, L"AutoCAD");
    EXPECT_TRUE(titleMatches(autocad, L"Autodesk AutoCAD 2026 - [Drawing1.dwg]"));
    EXPECT_FALSE(titleMatches(autocad, L"AutoCAD"));
    EXPECT_TRUE(titleMatches(profileNamed(builtInProfiles(), L""), L"nanoCAD 5"));
    EXPECT_FALSE(titleMatches(profileNamed(builtInProfiles(), L"no such CAD"), L"nanoCAD 5 - [a.dwg]"));
    EXPECT_TRUE(isClassIdText(L"{449354E9-CDD8-4A11-bd82-0D4A3C21E7D2}"));
    for (const wchar_t* bad : {L"", L"449354E9-CDD8-4A11-BD82-0D4A3C21E7D2", L"{449354E9-CDD8-4A11-BD82-0D4A3C21E7D}",
                               L"{449354E9CCDD8-4A11-BD82-0D4A3C21E7D2}", L"{449354E9-CDD8-4A11-BD82-0D4A3C21E7G2}"})
        EXPECT_FALSE(isClassIdText(bad)) << testing::PrintToString(std::wstring(bad));
}

// ---- tempSelectionSet ---------------------------------------------------------------

std::wstring memberName(Operation op) { return std::wstring(member(op).name); }
CallKind memberKind(Operation op) { return member(op).kind; }

// A document with its selection sets. Handlers reach the fakes through this object
// (never by holding them), so each fake's use count shows exactly the references
// that the code under test still holds.
struct Drawing {
    struct Set {
        std::wstring name;
        int entities;
        int clears = 0;
        FakePtr fake = FakeDispatch::make();
    };
    FakePtr application = FakeDispatch::make(L"application");
    FakePtr document = FakeDispatch::make(L"document");
    FakePtr collection = FakeDispatch::make(L"selection sets");
    std::vector<std::unique_ptr<Set>> sets;
    std::vector<std::wstring> added;

    explicit Drawing(const std::vector<std::pair<std::wstring, int>>& initial) {
        application->on(memberName(Operation::currentDocument), memberKind(Operation::currentDocument),
                        [this](ValueList&) { return Value(DispatchPtr(document)); });
        document->on(memberName(Operation::selectionSetCollection), memberKind(Operation::selectionSetCollection),
                     [this](ValueList&) { return Value(DispatchPtr(collection)); });
        collection->on(memberName(Operation::setCount), memberKind(Operation::setCount),
                       [this](ValueList&) { return Value(static_cast<std::int32_t>(sets.size())); });
        collection->on(memberName(Operation::setAt), memberKind(Operation::setAt), [this](ValueList& a) {
            const std::int32_t* i = a.size() == 1 ? a[0].get<std::int32_t>() : nullptr;
            if (!i || *i < 0 || *i >= static_cast<std::int32_t>(sets.size())) throw CadError(L"bad index");
            return Value(DispatchPtr(sets[*i]->fake));
        });
        collection->on(memberName(Operation::addSet), memberKind(Operation::addSet), [this](ValueList& a) {
            added.push_back(*a.at(0).get<std::wstring>());
            return Value(DispatchPtr(add(added.back(), 0).fake));
        });
        for (const auto& [name, entities] : initial) add(name, entities);
    }

    Set& add(const std::wstring& name, int entities) {
        sets.push_back(std::make_unique<Set>(Set{name, entities}));
        Set* s = sets.back().get();
        s->fake->on(memberName(Operation::setName), memberKind(Operation::setName),
                    [s](ValueList&) { return Value(s->name); });
        s->fake->on(memberName(Operation::emptySet), memberKind(Operation::emptySet), [s](ValueList&) {
            ++s->clears;
            s->entities = 0;
            return Value();
        });
        s->fake->on(memberName(Operation::entityCount), memberKind(Operation::entityCount),
                    [s](ValueList&) { return Value(std::int32_t{s->entities}); });
        return *s;
    }

    // Every fake is held by this drawing alone.
    void expectAllReleased() const {
        EXPECT_EQ(application.use_count(), 1);
        EXPECT_EQ(document.use_count(), 1);
        EXPECT_EQ(collection.use_count(), 1);
        for (const auto& s : sets) EXPECT_EQ(s->fake.use_count(), 1) << "set " << sets.size();
    }

    // Runs tempSelectionSet through the late-bound objects; returns the set's name
    // and entity count as the host then reports them.
    std::pair<std::wstring, std::int32_t> takeTempSet() {
        auto app = wrapApplication(application);
        auto doc = app->currentDocument();
        auto set = tempSelectionSet(*doc);
        return {set->setName(), set->entityCount()};
    }
};

TEST(TempSelectionSet, ReusesTheExistingSetAndEmptiesIt) {
    Drawing drawing({{L"other", 2}, {L"ssTemp", 5}});
    EXPECT_EQ(drawing.takeTempSet(), (std::pair<std::wstring, std::int32_t>{L"ssTemp", 0}));
    EXPECT_EQ(drawing.sets[1]->clears, 1);
    EXPECT_EQ(drawing.sets[0]->clears, 0);  // the other set is not touched
    EXPECT_TRUE(drawing.added.empty());
    drawing.expectAllReleased();
}

TEST(TempSelectionSet, TheFirstOfTwoSetsOfThatNameIsUsed) {
    Drawing drawing({{L"ssTemp", 1}, {L"ssTemp", 2}});
    drawing.takeTempSet();
    EXPECT_EQ(drawing.sets[0]->clears, 1);
    EXPECT_EQ(drawing.sets[1]->clears, 0);
    EXPECT_EQ(drawing.sets[1]->entities, 2);
    drawing.expectAllReleased();
}

TEST(TempSelectionSet, AddsTheSetWhenNoneHasExactlyThatName) {
    const std::vector<std::vector<std::pair<std::wstring, int>>> drawings = {
        {},                                     // no selection sets at all
        {{L"SSTEMP", 3}, {L"sstemp", 1}},       // names differing only in letter case
        {{L"ssTemp ", 1}, {L"ssTem", 1}},       // near misses
    };
    for (const auto& initial : drawings) {
        SCOPED_TRACE(testing::Message() << initial.size() << " sets");
        Drawing drawing(initial);
        EXPECT_EQ(drawing.takeTempSet().first, L"ssTemp");
        EXPECT_EQ(drawing.added, std::vector<std::wstring>{L"ssTemp"});
        for (const auto& s : drawing.sets) EXPECT_EQ(s->clears, 0);
        drawing.expectAllReleased();
    }
}

TEST(TempSelectionSet, HostErrorsReachTheCallerAndEveryReferenceIsReleased) {
    using enum ObjectKind;
    for (Operation op : {Operation::selectionSetCollection, Operation::setCount, Operation::setAt, Operation::setName,
                         Operation::emptySet, Operation::addSet}) {
        const Member& m = member(op);
        SCOPED_TRACE(std::string(m.operationName.begin(), m.operationName.end()));
        // "ssTemp" sits after another set, so the search reads names, and the add
        // happens only when emptying is not what fails.
        const bool reuse = op == Operation::emptySet;
        Drawing drawing(reuse ? std::vector<std::pair<std::wstring, int>>{{L"a", 1}, {L"ssTemp", 1}}
                              : std::vector<std::pair<std::wstring, int>>{{L"a", 1}});
        FakeDispatch& target = m.object == Document ? *drawing.document
                               : m.object == SelectionSets ? *drawing.collection
                                                            : *drawing.sets.back()->fake;
        target.fails(memberName(op), memberKind(op), L"host says no");
        try {
            drawing.takeTempSet();
            ADD_FAILURE() << "no error";
        } catch (const CadError& e) {
            EXPECT_EQ(e.text(), L"host says no");
        }
        drawing.expectAllReleased();
    }
}

}  // namespace
