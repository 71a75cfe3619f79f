// The main window built from its control table: every control where it belongs, the
// hidden page and buttons, the start-up state and the window's own handlers.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "app/main_window.h"
#include "support/memory_widgets.h"
#include "base/monitor_scale.h"
#include "support/fake_shell.h"

namespace {

using ui::Kind;

struct AppMainWindow : ::testing::Test {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("quillon-form-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    testing_support::FakeShell shell;
    ui::MemoryWidgetFactory widgets;
    std::unique_ptr<app::MainWindow> f;

    void SetUp() override {
        std::filesystem::create_directories(dir);
        shell.program = (dir / "quillon.exe").wstring();
        f = std::make_unique<app::MainWindow>(widgets, shell);
    }
    void TearDown() override {
        f.reset();
        std::filesystem::remove_all(dir);
    }
    ui::Widget& w(const std::string& name) {
        ui::Widget* found = f->form().find(name);
        if (!found) throw std::runtime_error("missing " + name);
        return *found;
    }
};

TEST_F(AppMainWindow, EveryControlHasItsParentAndKind) {
    struct { const char* name; Kind kind; const char* parent; } expected[] = {
        {"PageControl1", Kind::PageControl, ""}, {"Label6", Kind::Label, ""},
        {"TabSheet1", Kind::TabSheet, "PageControl1"}, {"TabSheet2", Kind::TabSheet, "PageControl1"},
        {"Panel2", Kind::Panel, "TabSheet2"}, {"Panel3", Kind::Panel, "TabSheet2"},
        {"Button11", Kind::Button, "Panel2"}, {"Label1", Kind::Label, "Panel2"}, {"Edit5", Kind::Edit, "Panel2"},
        {"Label10", Kind::Label, "Panel2"}, {"ComboBox10", Kind::ComboBox, "Panel2"},
        {"Label11", Kind::Label, "Panel2"}, {"ComboBox11", Kind::ComboBox, "Panel2"},
        {"Label2", Kind::Label, "Panel2"}, {"ComboBox7", Kind::ComboBox, "Panel2"},
        {"Label9", Kind::Label, "Panel2"}, {"Edit6", Kind::Edit, "Panel2"}, {"Label7", Kind::Label, "Panel2"},
        {"ComboBox8", Kind::ComboBox, "Panel2"}, {"Label8", Kind::Label, "Panel2"},
        {"ComboBox9", Kind::ComboBox, "Panel2"}, {"Button14", Kind::Button, "Panel2"},
        {"Edit7", Kind::Edit, "Panel2"}, {"CheckBox1", Kind::CheckBox, "Panel2"},
        {"Button16", Kind::Button, "Panel2"}, {"Button17", Kind::Button, "Panel2"},
        {"Button13", Kind::Button, "Panel2"}, {"Button18", Kind::Button, "Panel2"},
        {"Image2", Kind::Image, "Panel3"}, {"Button12", Kind::Button, "Panel3"},
        {"Button3", Kind::Button, "TabSheet1"}, {"Button1", Kind::Button, "TabSheet1"},
        {"Button2", Kind::Button, "TabSheet1"}, {"Edit1", Kind::Edit, "TabSheet1"},
        {"Button7", Kind::Button, "TabSheet1"}, {"ComboBox1", Kind::ComboBox, "TabSheet1"},
        {"ComboBox5", Kind::ComboBox, "TabSheet1"}, {"ComboBox6", Kind::ComboBox, "TabSheet1"},
        {"Button8", Kind::Button, "TabSheet1"}, {"Edit4", Kind::Edit, "TabSheet1"},
        {"Label3", Kind::Label, "TabSheet1"}, {"ComboBox2", Kind::ComboBox, "TabSheet1"},
        {"Edit3", Kind::Edit, "TabSheet1"}, {"CheckBox2", Kind::CheckBox, "TabSheet1"},
        {"Button6", Kind::Button, "TabSheet1"}, {"Label4", Kind::Label, "TabSheet1"},
        {"ComboBox3", Kind::ComboBox, "TabSheet1"}, {"Label5", Kind::Label, "TabSheet1"},
        {"ComboBox4", Kind::ComboBox, "TabSheet1"}, {"Button10", Kind::Button, "TabSheet1"},
        {"Edit2", Kind::Edit, "TabSheet1"}, {"RadioGroup1", Kind::RadioGroup, "TabSheet1"},
        {"CheckBox3", Kind::CheckBox, "TabSheet1"}, {"Button4", Kind::Button, "TabSheet1"},
        {"Button9", Kind::Button, "TabSheet1"}, {"Button5", Kind::Button, "TabSheet1"},
        {"Panel1", Kind::Panel, "TabSheet1"}, {"Image1", Kind::Image, "Panel1"},
    };
    std::set<std::string> names;
    for (const auto& e : expected) {
        ui::Widget& c = w(e.name);
        EXPECT_EQ(c.kind(), e.kind) << e.name;
        EXPECT_EQ(c.parent()->name(), *e.parent ? e.parent : "Form60") << e.name;
        EXPECT_NE(widgets.peer(e.name), nullptr) << e.name << " has no real control";
        names.insert(e.name);
    }
    EXPECT_EQ(f->form().controls().size(), names.size()) << "a control that should not be there";
}

TEST_F(AppMainWindow, RowsCarryTheirDesignValues) {
    const auto row = [](const std::string& name) -> const app::ControlRow& {
        for (const auto& r : app::mainWindowControls())
            if (r.args.name == name) return r;
        throw std::runtime_error("no row " + name);
    };
    const auto& b14 = row("Button14");
    EXPECT_EQ(b14.args.design, (ui::Rect{288, 51, 56, 25}));
    EXPECT_EQ(b14.args.text, L"すべて");
    EXPECT_EQ(b14.args.hint, L"右クリック、または [Shift] or [Ctrl]+クリックで解除");
    EXPECT_FALSE(b14.args.tabStop);
    EXPECT_EQ(b14.event, app::Event::MouseDown);

    const auto& e2 = row("Edit2");
    EXPECT_EQ(e2.args.design, (ui::Rect{292, 75, 57, 27}));
    EXPECT_TRUE(e2.args.readOnly);
    EXPECT_EQ(e2.args.alignment, ui::TextAlign::Center);
    EXPECT_EQ(e2.args.fontHeight, 16);
    EXPECT_FALSE(e2.args.tabStop);
    EXPECT_TRUE(e2.args.imeClosed);

    const auto& e6 = row("Edit6");
    EXPECT_TRUE(e6.args.readOnly);
    EXPECT_EQ(e6.args.alignment, ui::TextAlign::Right);
    EXPECT_EQ(e6.args.text, L"");

    const auto& c7 = row("ComboBox7");
    EXPECT_EQ(c7.args.comboStyle, ui::ComboStyle::PickOnly);
    EXPECT_EQ(c7.args.dropDownRows, 16);
    EXPECT_EQ(c7.args.fontHeight, 13);
    EXPECT_EQ(c7.event, app::Event::Change);
    EXPECT_EQ(row("ComboBox8").event, app::Event::Change);

    const auto& c5 = row("ComboBox5");
    EXPECT_EQ(c5.args.comboStyle, ui::ComboStyle::Editable);
    ASSERT_EQ(c5.args.items.size(), 20u);
    EXPECT_EQ(c5.args.items.front(), L"A0");
    EXPECT_EQ(c5.args.items[9], L"A9");
    EXPECT_EQ(c5.args.items[10], L"B0");
    EXPECT_EQ(c5.args.items.back(), L"B9");
    EXPECT_EQ(c5.args.hint, L"図面サイズ");

    const auto& r1 = row("RadioGroup1");
    EXPECT_EQ(r1.args.columns, 2);
    EXPECT_EQ(r1.args.items, (std::vector<std::wstring>{L"0", L"90", L"180", L"270"}));

    EXPECT_EQ(row("Button17").event, app::Event::Click);
    EXPECT_EQ(row("Button13").event, app::Event::Click);
    EXPECT_EQ(row("Edit1").args.hint, L"左下図面の左下基点");
    EXPECT_EQ(row("Button11").args.design, (ui::Rect{4, -2, 59, 25}));
}

TEST_F(AppMainWindow, StartsOnTheFramePageWithTheEqualIntervalPageUnreachable) {
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ nanoCAD ]");
    EXPECT_EQ(widgets.peer("Form60")->text, L"Quillon 2.06 [ nanoCAD ]");
    EXPECT_EQ(f->pageControl->activePage(), f->framePage.sheet);
    EXPECT_FALSE(f->gridPage.sheet->tabVisible());
    EXPECT_FALSE(f->gridPage.sheet->enabled());
    EXPECT_FALSE(f->pageControl->userSelectPage(*f->gridPage.sheet));
    EXPECT_EQ(f->pageControl->activePage(), f->framePage.sheet);
    EXPECT_FALSE(f->gridPage.captureButton->userClick()) << "a control of the hidden page cannot be reached";
    EXPECT_TRUE(f->framePage.toolbar->showing());
    EXPECT_EQ(f->framePage.toolbarToggle->text(), L"▲");
}

TEST_F(AppMainWindow, InvisibleButtonsAreNeverShown) {
    for (ui::Button* b : {f->gridPage.listsButton, f->framePage.targetCadButton, f->framePage.listsButton}) {
        EXPECT_FALSE(b->visible()) << b->name();
        EXPECT_FALSE(widgets.peer(b->name())->visible) << b->name();
        EXPECT_FALSE(b->userClick()) << b->name();
    }
    f->framePage.toolbarToggle->userClick();
    f->framePage.toolbarToggle->userClick();
    EXPECT_FALSE(f->framePage.targetCadButton->showing());
    EXPECT_FALSE(f->framePage.targetCadButton->enabled());
}

TEST_F(AppMainWindow, HandlersAreBoundToTheirEvents) {
    for (const auto& row : app::mainWindowControls()) {
        ui::Widget& c = w(row.args.name);
        EXPECT_EQ(static_cast<bool>(c.onClick), row.event == app::Event::Click) << row.args.name;
        EXPECT_EQ(static_cast<bool>(c.onChange), row.event == app::Event::Change) << row.args.name;
        EXPECT_EQ(static_cast<bool>(c.onMouseDown), row.event == app::Event::MouseDown) << row.args.name;
    }
}

TEST_F(AppMainWindow, LayoutDocksAndAnchorsAtDesignSize) {
    // Page area: 478 x 418 less the tab strip and border.
    EXPECT_EQ(f->framePage.sheet->bounds(), (ui::Rect{4, 24, 470, 390}));
    EXPECT_EQ(f->framePage.toolbar->bounds(), (ui::Rect{0, 0, 470, 111}));
    EXPECT_EQ(f->framePage.previewPanel->bounds(), (ui::Rect{0, 111, 470, 279}));
    EXPECT_EQ(f->framePage.preview->bounds(), (ui::Rect{0, 0, 470, 279}));
    EXPECT_EQ(f->framePage.toolbarToggle->bounds(), (ui::Rect{442, 1, 25, 25}));
    EXPECT_EQ(f->gridPage.previewPanel->bounds(), (ui::Rect{0, 108, 470, 282}));
    EXPECT_EQ(f->gridPage.preview->bounds(), (ui::Rect{0, 0, 470, 282}));
    EXPECT_TRUE(f->gridPage.preview->center() && f->gridPage.preview->stretch());
    // scaleLabel lies on the window beneath the page control, which covers it.
    const auto& order = f->form().children();
    const auto label = std::find(order.begin(), order.end(), f->scaleLabel);
    const auto pages = std::find(order.begin(), order.end(), f->pageControl);
    EXPECT_LT(label, pages);
    EXPECT_EQ(f->pageControl->bounds(), (ui::Rect{0, 0, 478, 418}));
}

TEST_F(AppMainWindow, PanelToggleHidesAndShowsTheUpperPanel) {
    f->framePage.toolbarToggle->userClick();
    EXPECT_FALSE(f->framePage.toolbar->visible());
    EXPECT_EQ(f->framePage.toolbarToggle->text(), L"▼");
    EXPECT_EQ(widgets.peer("Button12")->text, L"▼");
    EXPECT_EQ(f->framePage.previewPanel->bounds(), (ui::Rect{0, 0, 470, 390})) << "the preview fills the page";
    EXPECT_EQ(f->framePage.preview->bounds(), (ui::Rect{0, 0, 470, 390}));
    EXPECT_EQ(f->framePage.toolbarToggle->bounds(), (ui::Rect{442, 1, 25, 25})) << "stays in the upper-right corner";

    f->framePage.toolbarToggle->userClick();
    EXPECT_TRUE(f->framePage.toolbar->visible());
    EXPECT_TRUE(widgets.peer("Panel2")->visible);
    EXPECT_EQ(f->framePage.toolbarToggle->text(), L"▲");
    EXPECT_EQ(f->framePage.preview->bounds(), (ui::Rect{0, 0, 470, 279}));
}

TEST_F(AppMainWindow, ToggleKeepsButtonInCornerOfAWiderWindow) {
    ui::Rect r = f->form().windowRect();
    r.width += 100;
    f->form().setWindowRect(r);
    EXPECT_EQ(f->framePage.toolbarToggle->bounds(), (ui::Rect{542, 1, 25, 25}));
    EXPECT_EQ(f->framePage.preview->width(), 570);
}

TEST_F(AppMainWindow, CadButtonDoesNothing) {
    const auto before = widgets.peer("Panel2")->visible;
    const std::wstring caption = f->form().text();
    const ui::Rect rect = f->form().windowRect();
    f->chooseTargetCad();
    f->framePage.targetCadButton->onClick(*f->framePage.targetCadButton);
    EXPECT_EQ(widgets.peer("Panel2")->visible, before);
    EXPECT_EQ(f->form().text(), caption);
    EXPECT_EQ(f->form().windowRect(), rect);
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(AppMainWindow, StartReadsScaleFactorAndMakesEmptyPhotographs) {
    EXPECT_EQ(f->monitorScaleFactor, 100);
    ASSERT_TRUE(f->gridPage.session.photo && f->framePage.session.photo);
    EXPECT_NE(f->gridPage.session.photo, f->framePage.session.photo);
    EXPECT_EQ(f->gridPage.session.photo->width(), 0);
}

TEST_F(AppMainWindow, ControlsScaleWithTheDpi) {
    testing_support::FakeShell other;
    other.program = (dir / "quillon150.exe").wstring();
    other.scaleFactor = 150;
    ui::MemoryWidgetFactory w150;
    app::MainWindow big(w150, other, 144);
    EXPECT_EQ(big.monitorScaleFactor, 150);
    EXPECT_EQ(big.framePage.printButton->bounds(), (ui::Rect{519, 113, 104, 47}));
    EXPECT_EQ(big.framePage.toolbar->height(), 167);
    EXPECT_EQ(big.framePage.toolbarToggle->bounds().right(), big.framePage.previewPanel->width() - 5);  // 3 design pixels
    EXPECT_EQ(w150.peer("Edit7")->fontHeight, 24);
    EXPECT_EQ(w150.peer("Label1")->fontHeight, 17) << "the window's 11 pixels";
}

TEST_F(AppMainWindow, MovingToAnotherDpiRescalesControlsAndFonts) {
    f->form().dpiChanged(192);
    ui::Rect r = f->form().windowRect();
    r.width = 2 * 478 + 2 * ui::MemoryFormPeer::kFrameWidth;
    r.height = 2 * 418 + 2 * ui::MemoryFormPeer::kFrameHeight;
    f->form().setWindowRect(r);
    EXPECT_EQ(f->framePage.printButton->bounds(), (ui::Rect{692, 150, 138, 62}));
    EXPECT_EQ(f->framePage.toolbar->height(), 222);
    EXPECT_EQ(widgets.peer("ComboBox7")->fontHeight, 26);
    EXPECT_EQ(f->monitorScaleFactor, 100) << "read once at start";
}

TEST(AppMonitorScale, TruncatedWithLowerBound) {
    struct { int k, factor, bound, want; } cases[] = {
        {3, 150, 3, 4}, {3, 100, 3, 3}, {2, 125, 2, 2}, {2, 175, 2, 3}, {1, 100, 2, 2}, {33, 125, 1, 41},
    };
    for (const auto& c : cases) EXPECT_EQ(base::scaledByMonitor(c.k, c.factor, c.bound), c.want) << c.k << " at " << c.factor;
}

}  // namespace
