// The device, paper and style lists of both pages, filled from the stand-in's layout:
// saved names, the paper names each refresh adds, the paper kept across a device change,
// a missing host and a host call failing at each step.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/names.h"
#include "form_rig.h"
#include "sim/model/devices.h"
#include "sim_test_support.h"

namespace {

using testing_support::FormRig;
using Names = std::vector<std::wstring>;

// ---- names without regard to letter case ----

TEST(PlotListNames, LetterCaseIsSetAside) {
    struct { const wchar_t *a, *b; bool same; } cases[] = {
        {L"PDF", L"pdf", true},
        {L"Default Windows System Printer.pc3", L"DEFAULT WINDOWS SYSTEM PRINTER.PC3", true},
        {L"Ärger Öl", L"ärger öl", true},
        {L"ＰＤＦ出力", L"ｐｄｆ出力", true},
        {L"Принтер", L"ПРИНТЕР", true},
        {L"Ёлка", L"ёлка", true},
        {L"ΣΧΈΔΙΟ", L"σχέδιο", true},
        {L"ΏΡΑ", L"ώρα", true},
        {L"ŁÓDŹ ŸVES", L"łódź ÿves", true},
        {L"ĳ", L"Ĳ", true},
        {L"ı", L"I", false},
        {L"用紙", L"用紙", true},
        {L"A4", L"A4 ", false},
        {L"A4", L"A3", false},
        {L"×", L"÷", false},
        {L"", L"", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::sameNameIgnoringCase(c.a, c.b), c.same) << simtest::utf8(c.a) << " / " << simtest::utf8(c.b);
}

TEST(PlotListNames, TheFirstMatchFromTheTopWins) {
    const Names entries{L"acad.ctb", L"Monochrome.ctb", L"monochrome.CTB"};
    EXPECT_EQ(base::indexOfName(entries, L"MONOCHROME.ctb"), 1);
    EXPECT_EQ(base::indexOfName(entries, L"acad.stb"), -1);
    EXPECT_EQ(base::indexOfName({}, L"acad.ctb"), -1);
}

// ---- the main window's lists against the stand-in ----

enum class Page { Frame, Grid };
enum class Paper { Old, Media, Display };  // what the paper list holds

const wchar_t* const kOldDevice = L"old device";
const wchar_t* const kOldPaper = L"old paper";
const wchar_t* const kOldStyle = L"old style";

Names deviceNames() {
    Names out;
    for (const sim::PlotDevice& d : sim::plotDevices()) out.push_back(d.name);
    return out;
}

Names paperNames(const std::wstring& device, Paper kind) {
    const sim::PlotDevice* d = sim::findDevice(device);
    if (!d) throw std::logic_error("no such device in the stand-in");
    Names out;
    for (const sim::Media& m : d->media) out.push_back(kind == Paper::Media ? m.canonical : m.display);
    return out;
}

std::wstring selected(const ui::ComboBox& box) { return box.text(); }

// A layout whose device or style-table list is replaced, every other call going to the
// stand-in: for host answers the stand-in never gives (no device, one table).
struct ListOverrides {
    std::optional<cad::StringList> devices, styles;
};

class OverridingLayout : public cad::CadLayout {
public:
    OverridingLayout(std::unique_ptr<cad::CadLayout> real, const ListOverrides& o) : r_(std::move(real)), o_(o) {}
    void setDevice(const std::wstring& n) override { r_->setDevice(n); }
    void setMedia(const std::wstring& n) override { r_->setMedia(n); }
    void setPaperUnitKind(std::int32_t k) override { r_->setPaperUnitKind(k); }
    void setSheetRotation(std::int32_t v) override { r_->setSheetRotation(v); }
    void setCentreOnPaper(bool v) override { r_->setCentreOnPaper(v); }
    void setPlotAreaKind(std::int32_t k) override { r_->setPlotAreaKind(k); }
    void setUseListedScale(bool v) override { r_->setUseListedScale(v); }
    void setScaleRatio(double p, double d) override { r_->setScaleRatio(p, d); }
    void setLineWeightScaling(bool v) override { r_->setLineWeightScaling(v); }
    void setPrintLineWeights(bool v) override { r_->setPrintLineWeights(v); }
    std::wstring styleTableName() override { return r_->styleTableName(); }
    void setStyleTable(const std::wstring& n) override { r_->setStyleTable(n); }
    void setPlotWindow(const cad::CadPoint& a, const cad::CadPoint& b) override { r_->setPlotWindow(a, b); }
    void setApplyStyleTable(bool v) override { r_->setApplyStyleTable(v); }
    cad::StringList mediaList() override { return r_->mediaList(); }
    cad::StringList deviceList() override { return o_.devices ? *o_.devices : r_->deviceList(); }
    cad::StringList styleTableList() override { return o_.styles ? *o_.styles : r_->styleTableList(); }
    void reloadDeviceInfo() override { r_->reloadDeviceInfo(); }
    std::wstring mediaDisplayName(const std::wstring& m) override { return r_->mediaDisplayName(m); }

private:
    std::unique_ptr<cad::CadLayout> r_;
    const ListOverrides& o_;
};

class OverridingDocument : public cad::CadDocument {
public:
    OverridingDocument(std::unique_ptr<cad::CadDocument> real, const ListOverrides& o) : r_(std::move(real)), o_(o) {}
    std::unique_ptr<cad::CadPlot> plotService() override { return r_->plotService(); }
    std::unique_ptr<cad::CadSelectionSets> selectionSetCollection() override { return r_->selectionSetCollection(); }
    std::unique_ptr<cad::CadSelectionSet> documentSelectionSet() override { return r_->documentSelectionSet(); }
    std::unique_ptr<cad::CadUtility> inputUtility() override { return r_->inputUtility(); }
    cad::Value readSysVar(const std::wstring& n) override { return r_->readSysVar(n); }
    void writeSysVar(const std::wstring& n, const cad::Value& v) override { r_->writeSysVar(n, v); }
    std::unique_ptr<cad::CadLayout> currentLayout() override {
        return std::make_unique<OverridingLayout>(r_->currentLayout(), o_);
    }
    std::intptr_t documentWindowHandle() override { return r_->documentWindowHandle(); }
    std::wstring drawingFolder() override { return r_->drawingFolder(); }
    std::wstring drawingName() override { return r_->drawingName(); }

private:
    std::unique_ptr<cad::CadDocument> r_;
    const ListOverrides& o_;
};

class OverridingApplication : public cad::CadApplication {
public:
    OverridingApplication(std::unique_ptr<cad::CadApplication> real, const ListOverrides& o)
        : r_(std::move(real)), o_(o) {}
    std::unique_ptr<cad::CadDocument> currentDocument() override {
        return std::make_unique<OverridingDocument>(r_->currentDocument(), o_);
    }
    void showWholeDrawing() override { r_->showWholeDrawing(); }
    void showAreaInView(const cad::CadPoint& a, const cad::CadPoint& b) override { r_->showAreaInView(a, b); }
    void showPreviousView() override { r_->showPreviousView(); }
    std::intptr_t mainWindowHandle() override { return r_->mainWindowHandle(); }

private:
    std::unique_ptr<cad::CadApplication> r_;
    const ListOverrides& o_;
};

struct OverridingCad : cad::CoApplication {
    cad::CoApplication* real = nullptr;
    ListOverrides overrides;
    std::unique_ptr<cad::CadApplication> Create(const cad::CadProfile& profile) override {
        return std::make_unique<OverridingApplication>(real->Create(profile), overrides);
    }
};

// The rig with one page's lists and handlers at hand.
struct ListsRig : FormRig {
    explicit ListsRig(Page page, sim::Options options = {})
        : FormRig(simtest::drawingOf({simtest::rectangle(L"MORVEL", 0, 0, 420, 297)}), std::move(options)), page(page) {
        overriding.real = &cad;
    }

    Page page;
    OverridingCad overriding;

    ui::ComboBox& devices() { return page == Page::Frame ? *f().framePage.printer : *f().gridPage.printer; }
    ui::ComboBox& papers() { return page == Page::Frame ? *f().framePage.paper : *f().gridPage.paper; }
    ui::ComboBox& styles() { return page == Page::Frame ? *f().framePage.styleTable : *f().gridPage.styleTable; }
    Paper addedByListRefresh() const { return page == Page::Frame ? Paper::Media : Paper::Display; }
    Paper addedByPaperRefresh() const { return page == Page::Frame ? Paper::Display : Paper::Media; }

    void save(const wchar_t* device, const wchar_t* paper, const wchar_t* style) {
        (page == Page::Frame ? f().framePage.lists.saved.device : f().gridPage.lists.saved.device) = device;
        (page == Page::Frame ? f().framePage.lists.saved.paper : f().gridPage.lists.saved.paper) = paper;
        (page == Page::Frame ? f().framePage.lists.saved.style : f().gridPage.lists.saved.style) = style;
    }
    void overrideLists(ListOverrides o) {
        overriding.overrides = std::move(o);
        f().setCadLink(overriding);
    }
    // What the capture runs: the list refresh, then the paper refresh.
    void listRefresh() { page == Page::Frame ? f().framePage.refreshLists() : f().gridPage.refreshLists(); }
    void paperRefresh() { page == Page::Frame ? f().framePage.printerChanged() : f().gridPage.printerChanged(); }
    // The user picks a device: on the frame page through the list itself; the other page
    // is never shown, so its handler is run as the list would run it.
    void pickDevice(const std::wstring& name) {
        const int index = base::indexOfName(devices().items(), name);
        ASSERT_GE(index, 0) << simtest::utf8(name);
        if (page == Page::Frame) {
            ASSERT_TRUE(devices().userPick(index));
        } else {
            devices().setItemIndex(index);
            f().gridPage.printerChanged();
        }
    }
    // Lists as a previous refresh might have left them.
    void prefill(int deviceIndex, int paperIndex, int styleIndex) {
        devices().setItems({kOldDevice, L"PDF"});
        devices().setItemIndex(deviceIndex);
        papers().setItems({kOldPaper});
        papers().setItemIndex(paperIndex);
        styles().setItems({kOldStyle});
        styles().setItemIndex(styleIndex);
    }
};

// ---- the capture's order: list refresh, then paper refresh ----

struct CaptureCase {
    const char* name;
    Page page;
    const wchar_t *savedDevice, *savedPaper, *savedStyle;
    ListOverrides lists;
    const wchar_t* device;  // selected afterwards; nullptr: the old entries stay
    const wchar_t* style;   // the same for the style list
    Paper papersAfterList;
    const wchar_t* paperAfterList;
    Paper papersAfterPaper;
    const wchar_t* paperAfterPaper;
};

TEST(PlotLists, CaptureFillsTheListsAndSelectsTheSavedNames) {
    const wchar_t* const printer = L"Default Windows System Printer.pc3";
    const CaptureCase cases[] = {
        {"first start, frame page", Page::Frame, L"", L"", L"", {}, L"", L"", Paper::Old, L"", Paper::Old, L""},
        {"first start, equal-interval page", Page::Grid, L"", L"", L"", {}, L"", L"", Paper::Old, L"", Paper::Old, L""},
        {"saved names in another case, display paper", Page::Frame, L"pdf", L"iso a3 (420.00 x 297.00 mm)",
         L"MONOCHROME.CTB", {}, L"PDF", L"monochrome.ctb", Paper::Media, L"", Paper::Display,
         L"ISO A3 (420.00 x 297.00 mm)"},
        {"saved paper is a media and a display name", Page::Frame, printer, L"a4", L"", {}, printer, L"",
         Paper::Media, L"A4", Paper::Display, L"A4"},
        {"saved paper only a display name", Page::Frame, printer, L"b4 (jis)", L"acad.stb", {}, printer, L"acad.stb",
         Paper::Media, L"", Paper::Display, L"B4 (JIS)"},
        {"saved names in another case, media paper", Page::Grid, L"pdf", L"iso_a3_(420.00_x_297.00_mm)", L"Acad.STB",
         {}, L"PDF", L"acad.stb", Paper::Display, L"", Paper::Media, L"ISO_A3_(420.00_x_297.00_MM)"},
        {"grid: saved paper is a media and a display name", Page::Grid, printer, L"a4", L"", {}, printer, L"",
         Paper::Display, L"A4", Paper::Media, L"A4"},
        {"grid: saved paper only a display name", Page::Grid, printer, L"B4 (JIS)", L"", {}, printer, L"",
         Paper::Display, L"B4 (JIS)", Paper::Media, L""},
        {"saved device not listed", Page::Frame, L"Plotter 9", L"A4", L"acad.ctb", {}, L"", L"acad.ctb", Paper::Old,
         L"", Paper::Old, L""},
        {"one style table", Page::Frame, L"PDF", L"", L"only.ctb", {std::nullopt, cad::StringList{L"only.ctb"}},
         L"PDF", nullptr, Paper::Media, L"", Paper::Display, L""},
        {"two style tables", Page::Grid, L"PDF", L"", L"two.ctb", {std::nullopt, cad::StringList{L"one.ctb", L"two.ctb"}},
         L"PDF", L"two.ctb", Paper::Display, L"", Paper::Media, L""},
        {"no device", Page::Frame, L"PDF", L"A4", L"acad.ctb", {cad::StringList{}, std::nullopt}, nullptr, L"acad.ctb",
         Paper::Old, L"", Paper::Old, L""},
    };
    for (const CaptureCase& c : cases) {
        SCOPED_TRACE(c.name);
        ListsRig rig(c.page);
        rig.save(c.savedDevice, c.savedPaper, c.savedStyle);
        rig.prefill(-1, -1, -1);
        rig.overrideLists(c.lists);
        const std::wstring device = c.device ? c.device : L"";

        auto expectPapers = [&](Paper kind, const wchar_t* paper) {
            EXPECT_EQ(rig.papers().items(), kind == Paper::Old ? Names{kOldPaper} : paperNames(device, kind));
            EXPECT_EQ(selected(rig.papers()), paper);
        };

        rig.listRefresh();
        if (c.device) {
            EXPECT_EQ(rig.devices().items(), c.lists.devices ? *c.lists.devices : deviceNames());
            EXPECT_EQ(selected(rig.devices()), c.device);
        } else {
            EXPECT_EQ(rig.devices().items(), (Names{kOldDevice, L"PDF"}));
            EXPECT_EQ(rig.devices().itemIndex(), -1);
        }
        if (c.style) {
            EXPECT_EQ(rig.styles().items(), c.lists.styles ? *c.lists.styles : sim::plotStyleTables());
            EXPECT_EQ(selected(rig.styles()), c.style);
        } else {
            EXPECT_EQ(rig.styles().items(), Names{kOldStyle});
        }
        if (c.papersAfterList != Paper::Old) {
            EXPECT_EQ(c.papersAfterList, rig.addedByListRefresh());
        }
        expectPapers(c.papersAfterList, c.paperAfterList);

        rig.paperRefresh();
        if (c.papersAfterPaper != Paper::Old) {
            EXPECT_EQ(c.papersAfterPaper, rig.addedByPaperRefresh());
        }
        expectPapers(c.papersAfterPaper, c.paperAfterPaper);

        // Filling and selecting ran no change handler: a paper change would have recomputed
        // the print scale from an A4 paper.
        EXPECT_EQ(rig.f().gridPage.printScale->text(), L"1.4142");
        EXPECT_TRUE(rig.shell.messages.empty());
        EXPECT_EQ(rig.host->liveObjects(), 0);
    }
}

// ---- a device change keeps the paper chosen when the new list has it ----

struct DeviceStep {
    const wchar_t* pick;        // the device the user picks
    const wchar_t* listDevice;  // whose papers the paper list then holds
    const wchar_t* paper;       // selected afterwards
};

struct DeviceChangeCase {
    const char* name;
    Page page;
    const wchar_t* savedDevice;
    const wchar_t* savedPaper;
    const wchar_t* chosenPaper;  // chosen before the first step; nullptr: none
    std::vector<DeviceStep> steps;
};

TEST(PlotLists, DeviceChangeKeepsTheChosenPaperWhenTheNewDeviceHasIt) {
    const wchar_t* const a3 = L"ISO A3 (420.00 x 297.00 mm)";
    const wchar_t* const a4 = L"ISO A4 (210.00 x 297.00 mm)";
    const wchar_t* const bleedA4 = L"ISO full bleed A4 (210.00 x 297.00 mm)";
    const wchar_t* const dwg = L"DWG To PDF.pc3";
    const DeviceChangeCase cases[] = {
        {"first start, then a device", Page::Frame, L"", L"", nullptr, {{L"PDF", L"PDF", L""}}},
        {"paper lacking on the new device, saved one there", Page::Frame, L"PDF", bleedA4, a3, {{dwg, dwg, L""}}},
        {"a device without media keeps the list", Page::Frame, L"PDF", a4, a3,
         {{L"None", L"PDF", a3}, {L"PDF", L"PDF", a3}}},
        {"a chosen paper lost on the way gives way to the saved one", Page::Frame, L"PDF", a4, a3,
         {{dwg, dwg, L""}, {L"PDF", L"PDF", a4}}},
        {"equal-interval page, media names", Page::Grid, L"PDF", L"ISO_A4_(210.00_x_297.00_MM)",
         L"ISO_A3_(420.00_x_297.00_MM)",
         {{L"None", L"PDF", L"ISO_A3_(420.00_x_297.00_MM)"}, {dwg, dwg, L""}, {L"PDF", L"PDF", L"ISO_A4_(210.00_x_297.00_MM)"}}},
    };
    for (const DeviceChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        ListsRig rig(c.page);
        rig.save(c.savedDevice, c.savedPaper, L"");
        rig.listRefresh();
        rig.paperRefresh();
        if (c.chosenPaper) {
            const int index = base::indexOfName(rig.papers().items(), c.chosenPaper);
            ASSERT_GE(index, 0);
            rig.papers().setItemIndex(index);
        } else {
            rig.papers().setItemIndex(-1);
        }
        for (const DeviceStep& step : c.steps) {
            SCOPED_TRACE(simtest::utf8(step.pick));
            rig.pickDevice(step.pick);
            EXPECT_EQ(rig.papers().items(), paperNames(step.listDevice, rig.addedByPaperRefresh()));
            EXPECT_EQ(selected(rig.papers()), step.paper);
        }
        EXPECT_EQ(rig.host->liveObjects(), 0);
    }
}

// ---- without the CAD host, or with a host call failing ----

enum class Handler { ListRefresh, PaperRefresh };

void run(ListsRig& rig, Handler h) { h == Handler::ListRefresh ? rig.listRefresh() : rig.paperRefresh(); }

// The lists as prefill(1, 0, 0) leaves them.
void expectOld(ListsRig& rig, bool devices, bool styles, bool papers) {
    if (devices) {
        EXPECT_EQ(rig.devices().items(), (Names{kOldDevice, L"PDF"}));
        EXPECT_EQ(rig.devices().itemIndex(), 1);
    }
    if (styles) {
        EXPECT_EQ(rig.styles().items(), Names{kOldStyle});
        EXPECT_EQ(selected(rig.styles()), kOldStyle);
    }
    if (papers) {
        EXPECT_EQ(rig.papers().items(), Names{kOldPaper});
        EXPECT_EQ(selected(rig.papers()), kOldPaper);
    }
}

TEST(PlotLists, WithoutTheCadHostNothingChanges) {
    enum class Missing { Window, Creation };
    for (Page page : {Page::Frame, Page::Grid})
        for (Handler handler : {Handler::ListRefresh, Handler::PaperRefresh})
            for (Missing missing : {Missing::Window, Missing::Creation}) {
                SCOPED_TRACE(testing::Message() << "page " << int(page) << " handler " << int(handler) << " missing "
                                                << int(missing));
                ListsRig rig(page);
                rig.save(L"PDF", L"", L"acad.ctb");
                rig.prefill(1, 0, 0);
                if (missing == Missing::Window) rig.shell.windows.erase(FormRig::kCadWindow);
                else rig.cad.fail = true;
                run(rig, handler);
                expectOld(rig, true, true, true);
                EXPECT_EQ(rig.cad.created, 0);
                EXPECT_TRUE(rig.shell.messages.empty());
            }
}

struct FaultCase {
    Page page;
    Handler handler;
    const char* fail;    // --fail rule; empty: none
    const char* garble;  // --garble rule; empty: none
    bool devicesNew, stylesNew, papersNew;
};

TEST(PlotLists, AFailingHostCallEndsTheRefreshWhereItHappened) {
    const auto LR = Handler::ListRefresh;
    const auto PR = Handler::PaperRefresh;
    const auto F = Page::Frame;
    const auto G = Page::Grid;
    const FaultCase cases[] = {
        {F, LR, "", "", true, true, true},
        {F, LR, "ActiveDocument", "", false, false, false},
        {F, LR, "ActiveLayout", "", false, false, false},
        {F, LR, "RefreshPlotDeviceInfo", "", false, false, false},
        {F, LR, "GetPlotDeviceNames", "", false, false, false},
        {F, LR, "", "GetPlotDeviceNames", false, false, false},
        {F, LR, "GetPlotStyleTableNames", "", true, false, false},
        {F, LR, "", "GetPlotStyleTableNames", true, false, false},
        {F, LR, "ConfigName", "", true, true, false},
        {F, LR, "RefreshPlotDeviceInfo@2", "", true, true, false},
        {F, LR, "GetCanonicalMediaNames", "", true, true, false},
        {F, LR, "", "GetCanonicalMediaNames", true, true, false},
        {G, LR, "", "", true, true, true},
        {G, LR, "GetLocaleMediaName@3", "", true, true, false},
        {F, PR, "", "", false, false, true},
        {F, PR, "ActiveDocument", "", false, false, false},
        {F, PR, "ActiveLayout", "", false, false, false},
        {F, PR, "RefreshPlotDeviceInfo", "", false, false, false},
        {F, PR, "ConfigName", "", false, false, false},
        {F, PR, "RefreshPlotDeviceInfo@2", "", false, false, false},
        {F, PR, "GetCanonicalMediaNames", "", false, false, false},
        {F, PR, "", "GetCanonicalMediaNames", false, false, false},
        {F, PR, "GetLocaleMediaName@2", "", false, false, false},
        {G, PR, "", "", false, false, true},
        {G, PR, "GetCanonicalMediaNames", "", false, false, false},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.page == F ? "frame" : "grid") << (c.handler == LR ? " list" : " paper")
                                        << " refresh, fail '" << c.fail << "' garble '" << c.garble << "'");
        sim::Options options;
        if (*c.fail) options.fails = {c.fail};
        if (*c.garble) options.garbles = {c.garble};
        ListsRig rig(c.page, options);
        rig.save(L"PDF", L"", L"acad.ctb");
        rig.prefill(1, 0, 0);
        run(rig, c.handler);

        expectOld(rig, !c.devicesNew, !c.stylesNew, !c.papersNew);
        if (c.devicesNew) {
            EXPECT_EQ(rig.devices().items(), deviceNames());
            EXPECT_EQ(selected(rig.devices()), L"PDF");
        }
        if (c.stylesNew) {
            EXPECT_EQ(rig.styles().items(), sim::plotStyleTables());
            EXPECT_EQ(selected(rig.styles()), L"acad.ctb");
        }
        if (c.papersNew) {
            const Paper kind = c.handler == LR ? rig.addedByListRefresh() : rig.addedByPaperRefresh();
            EXPECT_EQ(rig.papers().items(), paperNames(L"PDF", kind));
            EXPECT_EQ(rig.papers().itemIndex(), -1);
        }
        EXPECT_TRUE(rig.shell.messages.empty());
        EXPECT_EQ(rig.host->liveObjects(), 0);
    }
}

// ---- a paper change recomputes the equal-interval page's print scale ----

TEST(PlotLists, PaperChangeRecomputesTheGridScaleWhenAutomatic) {
    struct { bool automatic; const wchar_t* scale; } cases[] = {{true, L"1.4141"}, {false, L"1.4142"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.automatic);
        FormRig rig(simtest::drawingOf({}));
        app::MainWindow& f = rig.f();
        // The equal-interval page holds an A4 paper; the frame page offers A1 and more.
        f.gridPage.lists.saved.device = L"Default Windows System Printer.pc3";
        f.gridPage.lists.saved.paper = L"A4";
        f.gridPage.refreshLists();
        ASSERT_EQ(selected(*f.gridPage.paper), L"A4");
        f.framePage.lists.saved.device = L"PDF";
        f.framePage.refreshLists();
        f.framePage.printerChanged();
        f.gridPage.autoPrintScale->setChecked(c.automatic);
        ASSERT_EQ(f.gridPage.printScale->text(), L"1.4142");

        const int a1 = base::indexOfName(f.framePage.paper->items(), L"ISO A1 (841.00 x 594.00 mm)");
        ASSERT_GE(a1, 0);
        ASSERT_TRUE(f.framePage.paper->userPick(a1));
        EXPECT_EQ(f.gridPage.printScale->text(), c.scale);  // from the equal-interval page's A3 sheet on A4
        EXPECT_EQ(f.framePage.printScale->text(), L"");
        EXPECT_TRUE(rig.shell.messages.empty());
    }
}

}  // namespace
