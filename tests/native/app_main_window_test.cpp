// The main window built from its control table: every control where it belongs with the
// design values of the form, the operation each control's event runs, the hidden page and
// buttons, the start-up state and the window's own handlers.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "base/monitor_scale.h"
#include "base/text_codec.h"
#include "form_rig.h"
#include "grid_rig.h"
#include "sim_test_support.h"
#include "support/fake_shell.h"
#include "support/memory_widgets.h"

namespace {

using ui::Kind;
using app::Event;

// ---- the window's design ----

// One control of the window as the form was designed: its design name, kind, parent,
// rectangle at 96 dpi, caption or initial text, and every value it was given that is not
// the control's default, and the event a handler was given for.
struct Design {
    const char* name;
    Kind kind;
    const char* parent;  // empty: the window
    ui::Rect rect;
    const wchar_t* text = L"";
    std::vector<std::wstring> items = {};
    int itemIndex = -1;
    bool pickOnly = false;
    int dropDownRows = 8;
    int font = 0;  // 0: the window's font
    const wchar_t* hint = L"";
    bool enabled = true;
    bool visible = true;
    bool tabStop = true;
    bool readOnly = false;
    ui::TextAlign align = ui::TextAlign::Left;
    bool imeClosed = false;
    bool checked = false;
    int columns = 1;
    ui::Dock dock = ui::Dock::None;
    ui::Anchors anchors = {};
    bool center = false, stretch = false, proportional = false;
    bool tabVisible = true;
    Event event = Event::None;
};

const std::vector<std::wstring> kTurns{L"0", L"90", L"180", L"270"};
const std::vector<std::wstring> kSizes{L"A0", L"A1", L"A2", L"A3", L"A4", L"A5", L"A6", L"A7", L"A8", L"A9",
                                       L"B0", L"B1", L"B2", L"B3", L"B4", L"B5", L"B6", L"B7", L"B8", L"B9"};
constexpr wchar_t kReleaseHint[] = L"右クリック、または [Shift] or [Ctrl]+クリックで解除";
constexpr wchar_t kCadHint[] = L"ターゲットCAD を変更";
constexpr auto Click = Event::Click, Change = Event::Change, MouseDown = Event::MouseDown;
constexpr auto Centre = ui::TextAlign::Center;
using K = ui::Kind;
using D = ui::Dock;

// Every control in the order the window makes them: parents before their children,
// lower siblings first.
const std::vector<Design> kDesign = {
    // On the window, the label beneath the page control that covers it.
    {.name = "Label6", .kind = K::Label, .parent = "", .rect = {8, 8, 24, 13}, .text = L"尺度"},
    {.name = "PageControl1", .kind = K::PageControl, .parent = "", .rect = {0, 0, 478, 418}, .dock = D::Fill},
    {.name = "TabSheet1", .kind = K::TabSheet, .parent = "PageControl1", .rect = {}, .text = L"等間隔配置",
     .enabled = false, .tabVisible = false},
    {.name = "TabSheet2", .kind = K::TabSheet, .parent = "PageControl1", .rect = {}, .text = L"任意枠配置"},

    // The frame page ("任意枠配置"): the upper panel and the photograph below it.
    {.name = "Panel2", .kind = K::Panel, .parent = "TabSheet2", .rect = {0, 0, 470, 111}, .dock = D::Top},
    {.name = "Panel3", .kind = K::Panel, .parent = "TabSheet2", .rect = {0, 111, 470, 279}, .dock = D::Fill},
    {.name = "Button11", .kind = K::Button, .parent = "Panel2", .rect = {4, -2, 59, 25}, .text = L"キャプチャ",
     .event = Click},
    {.name = "Label1", .kind = K::Label, .parent = "Panel2", .rect = {69, 3, 36, 13}, .text = L"枠画層"},
    {.name = "Edit5", .kind = K::Edit, .parent = "Panel2", .rect = {111, 2, 106, 21}, .text = L"MORVEL"},
    {.name = "Label10", .kind = K::Label, .parent = "Panel2", .rect = {225, 3, 57, 13}, .text = L"横置き回転"},
    {.name = "ComboBox10", .kind = K::ComboBox, .parent = "Panel2", .rect = {288, 2, 53, 21}, .text = L"90",
     .items = kTurns, .itemIndex = 1, .pickOnly = true},
    {.name = "Label11", .kind = K::Label, .parent = "Panel2", .rect = {347, 4, 57, 13}, .text = L"縦置き回転"},
    {.name = "ComboBox11", .kind = K::ComboBox, .parent = "Panel2", .rect = {410, 1, 53, 21}, .text = L"90",
     .items = kTurns, .itemIndex = 1, .pickOnly = true},
    {.name = "Label2", .kind = K::Label, .parent = "Panel2", .rect = {4, 34, 43, 13}, .text = L"プリンター"},
    {.name = "ComboBox7", .kind = K::ComboBox, .parent = "Panel2", .rect = {51, 29, 291, 24}, .pickOnly = true,
     .dropDownRows = 16, .font = 13, .event = Change},
    {.name = "Label9", .kind = K::Label, .parent = "Panel2", .rect = {348, 32, 48, 13}, .text = L"計算尺度"},
    {.name = "Edit6", .kind = K::Edit, .parent = "Panel2", .rect = {402, 28, 61, 21}, .readOnly = true,
     .align = ui::TextAlign::Right},
    {.name = "Label7", .kind = K::Label, .parent = "Panel2", .rect = {4, 58, 24, 13}, .text = L"用紙"},
    {.name = "ComboBox8", .kind = K::ComboBox, .parent = "Panel2", .rect = {51, 53, 236, 24}, .pickOnly = true,
     .dropDownRows = 16, .font = 13, .event = Change},
    {.name = "Label8", .kind = K::Label, .parent = "Panel2", .rect = {4, 80, 36, 13}, .text = L"スタイル"},
    {.name = "ComboBox9", .kind = K::ComboBox, .parent = "Panel2", .rect = {51, 77, 236, 24}, .pickOnly = true,
     .dropDownRows = 16, .font = 13},
    {.name = "Button14", .kind = K::Button, .parent = "Panel2", .rect = {288, 51, 56, 25}, .text = L"すべて",
     .hint = kReleaseHint, .tabStop = false, .event = MouseDown},
    {.name = "Edit7", .kind = K::Edit, .parent = "Panel2", .rect = {290, 77, 54, 27}, .text = L"0", .font = 16,
     .align = Centre},
    {.name = "CheckBox1", .kind = K::CheckBox, .parent = "Panel2", .rect = {350, 55, 113, 17},
     .text = L"左上から印刷する", .event = Click},
    {.name = "Button16", .kind = K::Button, .parent = "Panel2", .rect = {346, 75, 69, 31}, .text = L"印刷", .font = 13,
     .event = Click},
    {.name = "Button17", .kind = K::Button, .parent = "Panel2", .rect = {418, 74, 47, 31}, .text = L"中止",
     .enabled = false, .event = Click},
    {.name = "Button13", .kind = K::Button, .parent = "Panel2", .rect = {24, 59, 34, 25}, .text = L"CAD",
     .hint = kCadHint, .enabled = false, .visible = false, .event = Click},
    {.name = "Button18", .kind = K::Button, .parent = "Panel2", .rect = {24, 80, 40, 25}, .text = L"Printer",
     .visible = false, .event = Click},
    {.name = "Image2", .kind = K::Image, .parent = "Panel3", .rect = {0, 0, 470, 279}, .dock = D::Fill,
     .event = MouseDown},
    {.name = "Button12", .kind = K::Button, .parent = "Panel3", .rect = {442, 1, 25, 25}, .text = L"▲",
     .anchors = {.left = false, .top = true, .right = true, .bottom = false}, .event = Click},

    // The equal-interval page ("等間隔配置").
    {.name = "Button3", .kind = K::Button, .parent = "TabSheet1", .rect = {1, 2, 34, 25}, .text = L"CAD",
     .hint = kCadHint, .event = Click},
    {.name = "Button1", .kind = K::Button, .parent = "TabSheet1", .rect = {36, 2, 57, 25}, .text = L"キャプチャ",
     .hint = L"CAD画面をキャプチャ", .event = Click},
    {.name = "Button2", .kind = K::Button, .parent = "TabSheet1", .rect = {93, 2, 55, 25}, .text = L"左下原点",
     .hint = L"左下図面の左下原点を指示", .event = Click},
    {.name = "Edit1", .kind = K::Edit, .parent = "TabSheet1", .rect = {153, 4, 88, 22}, .text = L"0,0", .font = 12,
     .hint = L"左下図面の左下基点", .imeClosed = true},
    {.name = "Button7", .kind = K::Button, .parent = "TabSheet1", .rect = {243, 1, 42, 25}, .text = L"間隔",
     .hint = L"図面の配置間隔を指示", .event = Click},
    {.name = "ComboBox1", .kind = K::ComboBox, .parent = "TabSheet1", .rect = {288, 4, 93, 22}, .text = L"420,300",
     .items = {L"420,300"}, .itemIndex = 0, .font = 12, .hint = L"各画面の配置間隔 X,Y (実寸)"},
    {.name = "ComboBox5", .kind = K::ComboBox, .parent = "TabSheet1", .rect = {381, 4, 46, 22}, .text = L"A3",
     .items = kSizes, .itemIndex = 3, .font = 12, .hint = L"図面サイズ"},
    {.name = "ComboBox6", .kind = K::ComboBox, .parent = "TabSheet1", .rect = {433, 4, 46, 21}, .text = L"ヨコ",
     .items = {L"ヨコ", L"タテ"}, .itemIndex = 0},
    {.name = "Button8", .kind = K::Button, .parent = "TabSheet1", .rect = {482, 1, 33, 25}, .text = L"尺度",
     .hint = L"図面尺度 DIMSCALE を取得", .event = Click},
    {.name = "Edit4", .kind = K::Edit, .parent = "TabSheet1", .rect = {515, 4, 43, 22}, .text = L"1", .font = 12,
     .imeClosed = true},
    {.name = "Label3", .kind = K::Label, .parent = "TabSheet1", .rect = {3, 33, 43, 13}, .text = L"プリンター"},
    {.name = "ComboBox2", .kind = K::ComboBox, .parent = "TabSheet1", .rect = {50, 27, 296, 24}, .pickOnly = true,
     .dropDownRows = 16, .font = 13, .event = Change},
    {.name = "Edit3", .kind = K::Edit, .parent = "TabSheet1", .rect = {384, 28, 53, 24}, .text = L"1.414", .font = 13,
     .hint = L"印刷尺度"},
    {.name = "CheckBox2", .kind = K::CheckBox, .parent = "TabSheet1", .rect = {442, 31, 66, 17}, .text = L"自動計算",
     .checked = true},
    {.name = "Button6", .kind = K::Button, .parent = "TabSheet1", .rect = {514, 23, 44, 29}, .text = L"再計算",
     .hint = L"印刷尺度を再計算", .event = Click},
    {.name = "Label4", .kind = K::Label, .parent = "TabSheet1", .rect = {3, 57, 24, 13}, .text = L"用紙"},
    {.name = "ComboBox3", .kind = K::ComboBox, .parent = "TabSheet1", .rect = {50, 52, 236, 24}, .pickOnly = true,
     .dropDownRows = 16, .font = 13, .event = Change},
    {.name = "Label5", .kind = K::Label, .parent = "TabSheet1", .rect = {3, 79, 36, 13}, .text = L"スタイル"},
    {.name = "ComboBox4", .kind = K::ComboBox, .parent = "TabSheet1", .rect = {50, 74, 236, 24}, .pickOnly = true,
     .dropDownRows = 16, .font = 13},
    {.name = "Button10", .kind = K::Button, .parent = "TabSheet1", .rect = {292, 52, 56, 25}, .text = L"すべて",
     .hint = kReleaseHint, .tabStop = false, .event = MouseDown},
    {.name = "Edit2", .kind = K::Edit, .parent = "TabSheet1", .rect = {292, 75, 57, 27}, .text = L"0", .font = 16,
     .tabStop = false, .readOnly = true, .align = Centre, .imeClosed = true},
    {.name = "RadioGroup1", .kind = K::RadioGroup, .parent = "TabSheet1", .rect = {349, 51, 82, 51}, .text = L"回転",
     .items = kTurns, .itemIndex = 1, .columns = 2},
    {.name = "CheckBox3", .kind = K::CheckBox, .parent = "TabSheet1", .rect = {443, 52, 114, 17},
     .text = L"左上から印刷する", .font = 12},
    {.name = "Button4", .kind = K::Button, .parent = "TabSheet1", .rect = {437, 71, 71, 31}, .text = L"印刷", .font = 13,
     .event = Click},
    {.name = "Button9", .kind = K::Button, .parent = "TabSheet1", .rect = {510, 71, 47, 31}, .text = L"中止",
     .enabled = false, .event = Click},
    {.name = "Button5", .kind = K::Button, .parent = "TabSheet1", .rect = {4, 98, 40, 25}, .text = L"Printer",
     .visible = false, .event = Click},
    {.name = "Panel1", .kind = K::Panel, .parent = "TabSheet1", .rect = {0, 108, 470, 282}, .dock = D::Bottom,
     .anchors = {.left = true, .top = true, .right = true, .bottom = true}},
    {.name = "Image1", .kind = K::Image, .parent = "Panel1", .rect = {0, 0, 470, 282}, .dock = D::Fill, .center = true,
     .stretch = true, .event = MouseDown},
};

const Design& designOf(const std::string& name) {
    for (const Design& d : kDesign)
        if (name == d.name) return d;
    throw std::runtime_error("no control " + name + " in the design");
}

std::string rectText(const ui::Rect& r) {
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.width) + ", " +
           std::to_string(r.height) + "}";
}

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
    std::set<std::string> names;
    for (const Design& d : kDesign) {
        ui::Widget& c = w(d.name);
        EXPECT_EQ(c.kind(), d.kind) << d.name;
        EXPECT_EQ(c.parent()->name(), *d.parent ? d.parent : "Form60") << d.name;
        EXPECT_NE(widgets.peer(d.name), nullptr) << d.name << " has no real control";
        names.insert(d.name);
    }
    EXPECT_EQ(f->form().controls().size(), names.size()) << "a control that should not be there";
}

TEST_F(AppMainWindow, RowsCarryTheirDesignValues) {
    const std::vector<app::ControlRow>& rows = app::mainWindowControls();
    ASSERT_EQ(rows.size(), kDesign.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ui::WidgetArgs& a = rows[i].args;
        const Design& d = kDesign[i];
        SCOPED_TRACE(std::string("row ") + std::to_string(i) + ", " + d.name);
        EXPECT_EQ(a.name, d.name) << "another control, or in another place";
        EXPECT_EQ(a.kind, d.kind);
        EXPECT_EQ(a.parent, d.parent);
        EXPECT_EQ(rectText(a.design), rectText(d.rect));
        EXPECT_EQ(a.text, d.text);
        EXPECT_EQ(a.items, d.items);
        EXPECT_EQ(a.itemIndex, d.itemIndex);
        EXPECT_EQ(a.comboStyle, d.pickOnly ? ui::ComboStyle::PickOnly : ui::ComboStyle::Editable);
        EXPECT_EQ(a.dropDownRows, d.dropDownRows);
        EXPECT_EQ(a.fontHeight, d.font);
        EXPECT_EQ(a.hint, d.hint);
        EXPECT_EQ(a.enabled, d.enabled);
        EXPECT_EQ(a.visible, d.visible);
        EXPECT_EQ(a.tabStop, d.tabStop);
        EXPECT_EQ(a.readOnly, d.readOnly);
        EXPECT_EQ(a.alignment, d.align);
        EXPECT_EQ(a.imeClosed, d.imeClosed);
        EXPECT_EQ(a.checked, d.checked);
        EXPECT_EQ(a.columns, d.columns);
        EXPECT_EQ(a.dock, d.dock);
        EXPECT_TRUE(a.anchors == d.anchors);
        EXPECT_EQ(a.center, d.center);
        EXPECT_EQ(a.stretch, d.stretch);
        EXPECT_EQ(a.proportional, d.proportional);
        EXPECT_EQ(a.tabVisible, d.tabVisible);
        EXPECT_EQ(rows[i].event, d.event);
        EXPECT_EQ(static_cast<bool>(rows[i].bind), d.event != Event::None) << "a binding without an event, or none";
    }
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
    for (const Design& d : kDesign) {
        ui::Widget& c = w(d.name);
        EXPECT_EQ(static_cast<bool>(c.onClick), d.event == Event::Click) << d.name;
        EXPECT_EQ(static_cast<bool>(c.onChange), d.event == Event::Change) << d.name;
        EXPECT_EQ(static_cast<bool>(c.onMouseDown), d.event == Event::MouseDown) << d.name;
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

// ---- the operation each control's event runs ----

// The window with the stand-in behind it, on a drawing whose one rectangle on the frame
// layer lies in the grid's first cell, at a dimension scale of 2. Plots go to a journal.
struct Pressed {
    simtest::TempDir dir;
    testing_support::FormRig rig;
    std::wstring prompted;  // the prompts answered, one letter each: P(oint), D(istance)

    Pressed() : rig(simtest::drawingOf({simtest::rectangle(L"MORVEL", 10, 10, 410, 287)}, 2), options()) {}
    sim::Options options() {
        sim::Options o;
        o.journal = dir / "journal.jsonl";
        return o;
    }
    app::MainWindow& f() { return rig.f(); }
    std::vector<std::string> jobs() { return simtest::readLines(dir / "journal.jsonl"); }

    // The user's answers to the CAD window's prompts, in turn.
    void answer(std::vector<sim::PromptAnswer> answers) {
        rig.host->promptHandler = [this, answers, next = std::size_t{0}](const sim::PromptRequest& r) mutable {
            prompted += r.kind == sim::PromptRequest::Kind::Point ? L'P' : L'D';
            return next < answers.size() ? answers[next++] : sim::PromptAnswer{};
        };
    }
    static void offer(ui::ComboBox& box, std::vector<std::wstring> items, int index) {
        box.setItems(std::move(items));
        box.setItemIndex(index);
    }
    // What a page needs to plot: the PDF device, A3 paper and a style table.
    static void printSettings(ui::ComboBox& device, ui::ComboBox& paper, ui::ComboBox& style) {
        offer(device, {L"PDF"}, 0);
        offer(paper, {L"ISO_A3_(420.00_x_297.00_MM)"}, 0);
        offer(style, {L"monochrome.ctb"}, 0);
    }
    // Two frames on a photograph of 200 x 100 pixels at one unit a pixel centred on
    // (100, 50): drawing (x, y) lies on pixel (x, 100 - y).
    void twoFrames() {
        auto photo = std::make_shared<ui::PixelBitmap>(200, 100);
        f().framePage.session.photo = photo;
        f().framePage.preview->setPicture(std::make_shared<ui::PixelBitmap>(*photo));
        f().framePage.preview->setBounds({0, 0, 200, 100});
        f().framePage.session.view.cx = 100, f().framePage.session.view.cy = 50, f().framePage.session.view.scale = 1;
        f().framePage.session.frames = {frameAt(10, 10, 60, 60), frameAt(80, 10, 130, 60)};
    }
    std::vector<bool> framesChosen() {
        std::vector<bool> out;
        for (const frames::FrameRect& w : f().framePage.session.frames) out.push_back(w.chosen);
        return out;
    }
    static frames::FrameRect frameAt(double x0, double y0, double x1, double y1) {
        frames::FrameRect r;
        r.minx = x0, r.miny = y0, r.maxx = x1, r.maxy = y1;
        return r;
    }
    // The grid page's print scale from its A3 sheets at '420,300' and scale 1 on A4 paper.
    // The field shows 7 until then.
    void gridOnA4(bool automatic) {
        offer(*f().gridPage.paper, {L"A3", L"A4"}, 1);
        f().gridPage.autoPrintScale->setChecked(automatic);
        f().gridPage.printScale->setText(L"7");
    }
};

// Makes a control reachable as the user finds it: it and every parent shown and enabled,
// and its page the active one.
void reach(ui::Widget& control) {
    for (ui::Widget* c = &control; c->kind() != Kind::Form; c = c->parent()) {
        c->setVisible(true);
        c->setEnabled(true);
        if (c->kind() == Kind::TabSheet) static_cast<ui::PageControl*>(c->parent())->setActivePage(static_cast<ui::TabSheet*>(c));
    }
}

// The user's action that raises `event` on the control.
bool raise(ui::Widget& control, Event event, int pick, const ui::MouseEvent& press) {
    switch (event) {
        case Event::Click: return control.userClick();
        case Event::Change: return static_cast<ui::ComboBox&>(control).userPick(pick);
        case Event::MouseDown: return control.userMouseDown(press);
        case Event::None: break;
    }
    return false;
}

ui::MouseEvent leftPressAt(int x, int y) {
    ui::MouseEvent e;
    e.x = x, e.y = y;
    return e;
}

TEST(AppMainWindowEvents, EveryBoundEventRunsItsOperation) {
    using testing_support::GridPage;
    const std::vector<std::wstring> kNone;
    struct Case {
        const char* control;
        const char* runs;  // the operation, as a failure names it
        std::function<void(Pressed&)> before;  // the state in which its effect shows
        std::function<void(Pressed&)> effect;
        int pick = 0;             // a list: the entry the user picks
        ui::MouseEvent press{};   // a mouse press: where
    } cases[] = {
        // The frame page.
        {"Button11", "the frame capture", nullptr,
         [](Pressed& p) {
             ASSERT_EQ(p.f().framePage.session.frames.size(), 1u) << "the frame on the frame layer";
             EXPECT_EQ(p.f().framePage.session.frames[0].maxx, 410);
             EXPECT_EQ(p.f().gridPage.drawingScale->text(), L"1");
         }},
        {"ComboBox7", "the frame page's device change",
         [](Pressed& p) { Pressed::offer(*p.f().framePage.printer, {L"first entry", L"PDF"}, -1); },
         [&kNone](Pressed& p) {
             EXPECT_EQ(p.f().framePage.printer->items(), (std::vector<std::wstring>{L"first entry", L"PDF"}));
             EXPECT_FALSE(p.f().framePage.paper->items().empty()) << "the PDF device's papers";
             EXPECT_EQ(p.f().gridPage.paper->items(), kNone);
         },
         1},
        {"ComboBox8", "the grid page's paper change, with 自動計算",
         [](Pressed& p) {
             Pressed::offer(*p.f().framePage.paper, {L"ISO_A1_(841.00_x_594.00_MM)"}, -1);
             p.gridOnA4(true);
         },
         [](Pressed& p) {
             EXPECT_EQ(p.f().gridPage.printScale->text(), L"1.4141");
             EXPECT_EQ(p.f().framePage.printScale->text(), L"");
         }},
        {"ComboBox8", "the grid page's paper change, without 自動計算",
         [](Pressed& p) {
             Pressed::offer(*p.f().framePage.paper, {L"ISO_A1_(841.00_x_594.00_MM)"}, -1);
             p.gridOnA4(false);
         },
         [](Pressed& p) { EXPECT_EQ(p.f().gridPage.printScale->text(), L"7"); }},
        {"Button14", "choosing every frame", [](Pressed& p) { p.twoFrames(); },
         [](Pressed& p) {
             EXPECT_EQ(p.framesChosen(), (std::vector<bool>{true, true}));
             EXPECT_EQ(p.f().framePage.chosenCount->text(), L"2");
         },
         0, leftPressAt(5, 5)},
        {"CheckBox1", "the frame reorder",
         [](Pressed& p) {
             p.f().framePage.session.frames = {Pressed::frameAt(0, 0, 420, 297), Pressed::frameAt(0, 1000, 420, 1297)};
         },
         [](Pressed& p) {
             ASSERT_EQ(p.f().framePage.session.frames.size(), 2u);
             EXPECT_EQ(p.f().framePage.session.frames[0].miny, 1000) << "the upper frame first";
         }},
        {"Button16", "the frame plot",
         [](Pressed& p) {
             Pressed::printSettings(*p.f().framePage.printer, *p.f().framePage.paper, *p.f().framePage.styleTable);
             p.f().framePage.session.frames = {Pressed::frameAt(0, 0, 420, 297)};
             p.f().framePage.session.frames[0].chosen = true;
         },
         [](Pressed& p) {
             ASSERT_EQ(p.jobs().size(), 1u);
             EXPECT_NE(p.jobs()[0].find("\"window\":[0,0,420,297]"), std::string::npos) << p.jobs()[0];
             EXPECT_EQ(p.f().form().text(), app::kMainCaption) << "the caption back at the run's end";
         }},
        {"Button17", "中止", [](Pressed& p) { p.f().plotMayContinue = true; },
         [](Pressed& p) {
             EXPECT_FALSE(p.f().plotMayContinue);
             EXPECT_EQ(p.rig.shell.log, std::vector<std::string>{"pump"});
         }},
        {"Button13", "the CAD button, which does nothing", [](Pressed& p) { p.f().plotMayContinue = true; },
         [](Pressed& p) {
             EXPECT_TRUE(p.f().plotMayContinue);
             EXPECT_TRUE(p.rig.shell.log.empty());
             EXPECT_EQ(p.rig.cad.created, 0);
             EXPECT_TRUE(p.rig.shell.messages.empty());
         }},
        {"Button18", "the frame page's list refresh", nullptr,
         [&kNone](Pressed& p) {
             EXPECT_GT(p.f().framePage.printer->items().size(), 1u) << "every device of the host";
             EXPECT_EQ(p.f().gridPage.printer->items(), kNone);
         }},
        {"Image2", "a press on a frame", [](Pressed& p) { p.twoFrames(); },
         [](Pressed& p) {
             EXPECT_EQ(p.framesChosen(), (std::vector<bool>{true, false}));
             EXPECT_EQ(p.f().framePage.chosenCount->text(), L"1");
         },
         0, leftPressAt(35, 65)},
        {"Button12", "the panel toggle", nullptr,
         [](Pressed& p) {
             EXPECT_FALSE(p.f().framePage.toolbar->visible());
             EXPECT_EQ(p.f().framePage.toolbarToggle->text(), L"▼");
         }},

        // The equal-interval page.
        {"Button3", "the CAD button, which does nothing", [](Pressed& p) { p.f().plotMayContinue = true; },
         [](Pressed& p) {
             EXPECT_TRUE(p.f().plotMayContinue);
             EXPECT_TRUE(p.rig.shell.log.empty());
             EXPECT_EQ(p.rig.cad.created, 0);
             EXPECT_TRUE(p.rig.shell.messages.empty());
         }},
        {"Button1", "the grid capture", nullptr,
         [](Pressed& p) {
             EXPECT_EQ(p.f().gridPage.session.captureExtents.maxX, 410);
             EXPECT_EQ(p.f().gridPage.drawingScale->text(), L"2");
             EXPECT_TRUE(p.f().framePage.session.frames.empty());
         }},
        {"Button2", "the base point pick", [](Pressed& p) { p.answer({{false, 250, 100, 0}}); },
         [](Pressed& p) {
             EXPECT_EQ(p.prompted, L"P");
             EXPECT_EQ(p.f().gridPage.basePoint->text(), L"250,100");
         }},
        {"Button7", "the spacing pick", [](Pressed& p) { p.answer({{false, 0, 0, 500}, {false, 0, 0, 400}}); },
         [](Pressed& p) {
             EXPECT_EQ(p.prompted, L"DD");
             EXPECT_EQ(p.f().gridPage.spacing->text(), L"500,400");
         }},
        {"Button8", "the drawing scale pick", nullptr,
         [](Pressed& p) {
             EXPECT_EQ(p.f().gridPage.drawingScale->text(), L"2");
             EXPECT_EQ(p.f().gridPage.session.captureExtents.maxX, 0) << "no capture";
         }},
        {"ComboBox2", "the grid page's device change",
         [](Pressed& p) { Pressed::offer(*p.f().gridPage.printer, {L"first entry", L"PDF"}, -1); },
         [&kNone](Pressed& p) {
             EXPECT_EQ(p.f().gridPage.printer->items(), (std::vector<std::wstring>{L"first entry", L"PDF"}));
             EXPECT_FALSE(p.f().gridPage.paper->items().empty()) << "the PDF device's papers";
             EXPECT_EQ(p.f().framePage.paper->items(), kNone);
         },
         1},
        {"Button6", "the print scale's recomputing, also without 自動計算", [](Pressed& p) { p.gridOnA4(false); },
         [](Pressed& p) { EXPECT_EQ(p.f().gridPage.printScale->text(), L"1.4141"); }},
        {"ComboBox3", "the grid page's paper change, with 自動計算",
         [](Pressed& p) {
             p.gridOnA4(true);
             p.f().gridPage.paper->setItemIndex(0);
         },
         [](Pressed& p) { EXPECT_EQ(p.f().gridPage.printScale->text(), L"1.4141"); }, 1},
        {"ComboBox3", "the grid page's paper change, without 自動計算",
         [](Pressed& p) {
             p.gridOnA4(false);
             p.f().gridPage.paper->setItemIndex(0);
         },
         [](Pressed& p) { EXPECT_EQ(p.f().gridPage.printScale->text(), L"7"); }, 1},
        {"Button10", "choosing every cell with content",
         [](Pressed& p) {
             GridPage page(p.rig);
             p.f().gridPage.layOutGrid();
         },
         [](Pressed& p) {
             EXPECT_EQ(p.f().gridPage.session.chosenCells, (std::vector<bool>{true, false, false, false, false, false}));
             EXPECT_EQ(p.f().gridPage.chosenCount->text(), L"1");
         },
         0, leftPressAt(5, 5)},
        {"Button4", "the grid plot",
         [](Pressed& p) {
             Pressed::printSettings(*p.f().gridPage.printer, *p.f().gridPage.paper, *p.f().gridPage.styleTable);
             p.f().gridPage.session.columns = 1, p.f().gridPage.session.rows = 1;
             p.f().gridPage.session.chosenCells = {true};
         },
         [](Pressed& p) {
             ASSERT_EQ(p.jobs().size(), 1u);
             EXPECT_NE(p.jobs()[0].find("\"window\":[0,0,420,297]"), std::string::npos) << p.jobs()[0];
             EXPECT_EQ(p.f().form().text(), app::kMainCaption);
         }},
        {"Button9", "中止", [](Pressed& p) { p.f().plotMayContinue = true; },
         [](Pressed& p) {
             EXPECT_FALSE(p.f().plotMayContinue);
             EXPECT_EQ(p.rig.shell.log, std::vector<std::string>{"pump"});
         }},
        {"Button5", "the grid page's list refresh", nullptr,
         [&kNone](Pressed& p) {
             EXPECT_GT(p.f().gridPage.printer->items().size(), 1u) << "every device of the host";
             EXPECT_EQ(p.f().framePage.printer->items(), kNone);
         }},
        {"Image1", "a press on a cell",
         [](Pressed& p) {
             GridPage page(p.rig);
             p.f().gridPage.layOutGrid();
         },
         [](Pressed& p) {
             EXPECT_EQ(p.f().gridPage.session.chosenCells, (std::vector<bool>{false, true, false, false, false, false}));
             EXPECT_EQ(p.f().gridPage.chosenCount->text(), L"1");
         },
         0, leftPressAt(GridPage::X(630), GridPage::Y(150))},
    };

    std::set<std::string> bound, pressed;
    for (const Design& d : kDesign)
        if (d.event != Event::None) bound.insert(d.name);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.control) + ": " + c.runs);
        pressed.insert(c.control);
        Pressed p;
        ui::Widget& control = *p.f().form().find(c.control);
        if (c.before) c.before(p);
        reach(control);
        p.rig.shell.log.clear();
        ASSERT_TRUE(raise(control, designOf(c.control).event, c.pick, c.press)) << "the control took no action";
        c.effect(p);
    }
    EXPECT_EQ(pressed, bound) << "every control whose event is bound is pressed here";
}

TEST(AppMonitorScale, TruncatedWithLowerBound) {
    struct { int k, factor, bound, want; } cases[] = {
        {3, 150, 3, 4}, {3, 100, 3, 3}, {2, 125, 2, 2}, {2, 175, 2, 3}, {1, 100, 2, 2}, {33, 125, 1, 41},
    };
    for (const auto& c : cases) EXPECT_EQ(base::scaledByMonitor(c.k, c.factor, c.bound), c.want) << c.k << " at " << c.factor;
}

}  // namespace

namespace {

// A target other than the default whose window is open but whose object cannot be had:
// each press says once what was found, what failed and where to correct it, however often
// the press connects. The default target stays silent.
TEST(UnreachableTarget, EachPressSaysOnceWhatWasFoundAndWhatFailedButTheDefaultStaysSilent) {
    for (const std::size_t target : {std::size_t{0}, std::size_t{2}}) {
        testing_support::FormRig rig(simtest::drawingOf({simtest::rectangle(L"MORVEL", 10, 10, 410, 287)}, 2));
        SCOPED_TRACE(base::toUtf8(rig.f().targetCads()[target].name));
        rig.shell.windows[testing_support::FormRig::kCadWindow].title = L"Autodesk AutoCAD 2026 - [plan.dwg]";
        if (target == 0) rig.shell.windows[testing_support::FormRig::kCadWindow].title = L"nanoCAD 5";
        rig.f().chooseTarget(target);
        rig.cad.fail = true;
        ASSERT_TRUE(rig.f().framePage.captureButton->userClick());
        rig.f().framePage.session.frames = {Pressed::frameAt(0, 0, 420, 297)};
        ASSERT_TRUE(rig.f().framePage.printButton->userClick());
        std::unique_ptr<cad::CadApplication> application;
        EXPECT_FALSE(rig.f().connectToCad(application)) << "within the same press";
        EXPECT_EQ(rig.cad.profiles.size(), 3u);
        if (target == 0) {
            EXPECT_TRUE(rig.shell.messages.empty());
            continue;
        }
        ASSERT_EQ(rig.shell.messages.size(), 2u) << "once a press";
        const std::wstring& said = rig.shell.messages[0];
        EXPECT_EQ(said, L"「AutoCAD」のウィンドウ (Autodesk AutoCAD…) はありますが、その CAD のオートメーション オブジェクト "
                        L"(AutoCAD.Application) に接続できません。\nthe class is not registered\n\n"
                        L"設定ファイル quillon.ini の [CAD:AutoCAD] の ProgID= か CLSID= を確かめてください。");
    }
}

}  // namespace
