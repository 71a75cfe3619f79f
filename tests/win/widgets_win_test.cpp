// The Win32 widgets under Wine: the toolkit rules hold for the real controls, user actions
// arrive the way the controls send them, every hint has a tooltip, and the main window
// has its frame, placement, dpi scaling and dark surfaces.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/shared/widget_cases.h"
#include "app/main_window.h"
#include "ui/win/dpi_win.h"
#include "ui/win/failure_barrier_win.h"
#include "ui/win/form_win.h"
#include "ui/win/peer_win.h"
#include "desktop/shell_services_win.h"
#include "ui/win/widget_factory_win.h"

namespace {

using namespace ui;

const bool kDpiAware = (platform::enablePerMonitorDpiAwareness(), true);

std::wstring textOf(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

WidgetArgs args(std::string name, Kind kind, std::string parent = {}, Rect design = {4, 4, 120, 24}) {
    WidgetArgs a;
    a.name = std::move(name);
    a.kind = kind;
    a.parent = std::move(parent);
    a.design = design;
    return a;
}

WidgetArgs formArgs() { return args("Form", Kind::Form, {}, {0, 0, 300, 200}); }

struct Win32Widgets : ::testing::Test {
    platform::WinWidgetFactory factory;
    Form form{formArgs(), factory};
    int changes = 0, clicks = 0;

    ComboBox& combo(ComboStyle style, int index = 1) {
        WidgetArgs a = args("Combo", Kind::ComboBox);
        a.comboStyle = style;
        a.items = {L"0", L"90", L"180", L"270"};
        a.itemIndex = index;
        a.text = L"typed";
        auto& c = static_cast<ComboBox&>(form.add(a));
        c.onChange = [this](Widget&) { ++changes; };
        return c;
    }
    static int selection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }
};

// ---- combo box: what code sets shows in the control and runs no handler ----

using widget_cases::ComboCase;

class Win32WidgetComboRules : public Win32Widgets, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(Win32WidgetComboRules, CodeSetsSelectionAndTextWithoutChangeHandler) {
    const ComboCase& c = GetParam();
    ComboBox& box = combo(c.style);
    if (c.byText) box.setText(c.text);
    else box.setItemIndex(c.index);
    HWND window = platform::windowOf(box);
    EXPECT_EQ(box.itemIndex(), c.wantIndex);
    EXPECT_EQ(box.text(), c.wantText);
    EXPECT_EQ(selection(window), c.wantIndex);
    EXPECT_EQ(textOf(window), c.wantText);
    EXPECT_EQ(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Win32WidgetComboRules,
    widget_cases::comboCases(), widget_cases::comboCaseName);

TEST_F(Win32Widgets, PickOnlyComboShowsItsEntryAndRefillingClearsIt) {
    ComboBox& box = combo(ComboStyle::PickOnly, 1);
    HWND window = platform::windowOf(box);
    EXPECT_EQ(textOf(window), L"90");
    box.setItems({L"A4", L"A3"});
    EXPECT_EQ(SendMessageW(window, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(selection(window), -1);
    EXPECT_EQ(textOf(window), L"");
    box.addItem(L"A2");
    box.setItemIndex(2);
    EXPECT_EQ(textOf(window), L"A2");
    EXPECT_EQ(changes, 0);
}

// The keyboard moves the selection of a closed pick-only box; the control itself then
// reports CBN_SELCHANGE to its parent, as for any pick of the user's.
TEST_F(Win32Widgets, UserPickFromTheKeyboardRunsTheChangeHandlerOnce) {
    ComboBox& box = combo(ComboStyle::PickOnly, 1);
    HWND window = platform::windowOf(box);
    SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.itemIndex(), 2);
    EXPECT_EQ(box.text(), L"180");
    box.setItemIndex(0);
    EXPECT_EQ(changes, 1) << "code sets the selection quietly";
    SendMessageW(window, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.itemIndex(), 3);
}

TEST_F(Win32Widgets, TypingIntoAnEditableComboReachesTheWidget) {
    ComboBox& box = combo(ComboStyle::Editable, -1);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(platform::windowOf(box), &info));
    ASSERT_NE(info.hwndItem, platform::windowOf(box));
    SendMessageW(info.hwndItem, EM_SETSEL, 5, 5);  // the caret after "typed"
    SendMessageW(info.hwndItem, WM_CHAR, L'5', 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.text(), L"typed5");
    EXPECT_EQ(box.itemIndex(), -1);
    box.setText(L"420,300");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(textOf(info.hwndItem), L"420,300");
}

TEST_F(Win32Widgets, EditReportsTypingButNotTextFromCode) {
    WidgetArgs a = args("Edit", Kind::Edit);
    a.text = L"MORVEL";
    auto& edit = static_cast<Edit&>(form.add(a));
    edit.onChange = [this](Widget&) { ++changes; };
    HWND window = platform::windowOf(edit);
    edit.setText(L"WAKU");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(textOf(window), L"WAKU");
    SendMessageW(window, EM_SETSEL, 4, 4);
    SendMessageW(window, WM_CHAR, L'2', 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit.text(), L"WAKU2");

    WidgetArgs r = args("ReadOnly", Kind::Edit);
    r.readOnly = true;
    r.alignment = TextAlign::Right;
    r.text = L"1.0000";
    auto& scale = static_cast<Edit&>(form.add(r));
    HWND ro = platform::windowOf(scale);
    EXPECT_TRUE(GetWindowLongW(ro, GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(ro, GWL_STYLE) & ES_RIGHT);
    SendMessageW(ro, WM_CHAR, L'9', 0);
    EXPECT_EQ(textOf(ro), L"1.0000");
    EXPECT_EQ(scale.text(), L"1.0000");
}

TEST_F(Win32Widgets, CheckBoxRunsItsClickHandlerWhenTheStateChanges) {
    auto& box = static_cast<CheckBox&>(form.add(args("Check", Kind::CheckBox)));
    box.onClick = [this](Widget&) { ++clicks; };
    HWND window = platform::windowOf(box);
    box.setChecked(false);
    EXPECT_EQ(clicks, 0);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), BST_CHECKED);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    SendMessageW(window, BM_CLICK, 0, 0);  // the user's click
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// A handler's failure stops at the window procedure: reported once, and the window and
// its controls go on working.
TEST_F(Win32Widgets, AFailureInAHandlerIsReportedOnceAndTheWindowGoesOn) {
    std::vector<std::wstring> reports;
    platform::setFailureReporter([&](const std::wstring& text) { reports.push_back(text); });
    auto& button = static_cast<Button&>(form.add(args("Button", Kind::Button)));
    button.onClick = [this](Widget&) {
        ++clicks;
        throw std::runtime_error("handler broke");
    };
    HWND window = platform::windowOf(button);
    SendMessageW(window, BM_CLICK, 0, 0);
    SendMessageW(window, BM_CLICK, 0, 0);
    platform::setFailureReporter(nullptr);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(reports, std::vector<std::wstring>(2, L"予期しないエラーが発生しました。\nhandler broke"));
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(Win32Widgets, RadioGroupClampsAndShowsTheChosenItem) {
    WidgetArgs a = args("Radio", Kind::RadioGroup, {}, {4, 4, 82, 51});
    a.items = {L"0", L"90", L"180", L"270"};
    a.itemIndex = 1;
    a.columns = 2;
    a.text = L"回転";
    auto& radio = static_cast<RadioGroup&>(form.add(a));
    radio.onClick = [this](Widget&) { ++clicks; };
    HWND group = platform::windowOf(radio);
    auto checkedItem = [&] {
        for (int i = 0; i < 4; ++i)
            if (SendMessageW(GetDlgItem(group, i + 1), BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
        return -1;
    };
    EXPECT_EQ(checkedItem(), 1);
    for (auto [set, want] : {std::pair{7, 3}, {-4, -1}, {2, 2}, {4, 3}, {0, 0}}) {
        radio.setItemIndex(set);
        EXPECT_EQ(radio.itemIndex(), want) << set;
        EXPECT_EQ(checkedItem(), want) << set;
    }
    EXPECT_EQ(clicks, 0);
    SendMessageW(GetDlgItem(group, 4), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(radio.itemIndex(), 3);
    EXPECT_EQ(checkedItem(), 3);
    // Two columns, filled top to bottom: "180" beside "0", "90" under "0".
    RECT first{}, second{}, third{};
    GetWindowRect(GetDlgItem(group, 1), &first);
    GetWindowRect(GetDlgItem(group, 2), &second);
    GetWindowRect(GetDlgItem(group, 3), &third);
    EXPECT_EQ(second.left, first.left);
    EXPECT_GT(second.top, first.top);
    EXPECT_GT(third.left, first.left);
    EXPECT_EQ(third.top, first.top);
}

struct MouseCase {
    UINT message, release;
    WPARAM keys;
    MouseButton button;
    bool shift, ctrl;
};

TEST_F(Win32Widgets, MouseDownPassesButtonKeysAndPosition) {
    auto& image = form.add(args("Img", Kind::Image));
    auto& button = form.add(args("Btn", Kind::Button, {}, {4, 40, 56, 25}));
    MouseEvent got;
    Widget* sender = nullptr;
    int downs = 0;
    image.onMouseDown = button.onMouseDown = [&](Widget& s, const MouseEvent& e) {
        sender = &s;
        got = e;
        ++downs;
    };
    const MouseCase cases[] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, MouseButton::Left, false, false},
        {WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON | MK_SHIFT, MouseButton::Right, true, false},
        {WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON | MK_CONTROL, MouseButton::Left, false, true},
        {WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON | MK_SHIFT | MK_CONTROL, MouseButton::Middle, true, true},
        {WM_LBUTTONDBLCLK, WM_LBUTTONUP, MK_LBUTTON, MouseButton::Left, false, false},
    };
    int x = 3;
    for (Widget* target : {&image, &button}) {
        for (const MouseCase& c : cases) {
            const int before = downs;
            SendMessageW(platform::windowOf(*target), c.message, c.keys, MAKELPARAM(x, 7));
            SendMessageW(platform::windowOf(*target), c.release, 0, MAKELPARAM(x, 7));
            EXPECT_EQ(downs, before + 1) << target->name() << " " << c.message;
            EXPECT_EQ(sender, target);
            EXPECT_EQ(got.button, c.button);
            EXPECT_EQ(got.shift, c.shift);
            EXPECT_EQ(got.ctrl, c.ctrl);
            EXPECT_EQ(got.x, x);
            EXPECT_EQ(got.y, 7);
            ++x;
        }
    }
}

TEST_F(Win32Widgets, TabStopsAndInputMethodAsTheArgumentsSay) {
    WidgetArgs a = args("NoStop", Kind::Button);
    a.tabStop = false;
    EXPECT_FALSE(GetWindowLongW(platform::windowOf(form.add(a)), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(platform::windowOf(form.add(args("Stop", Kind::Button))), GWL_STYLE) & WS_TABSTOP);
    WidgetArgs e = args("Ime", Kind::Edit);
    e.imeClosed = true;
    HWND edit = platform::windowOf(form.add(e));
    HIMC context = ImmGetContext(edit);
    ASSERT_TRUE(context);
    ImmSetOpenStatus(context, TRUE);
    SendMessageW(edit, WM_SETFOCUS, 0, 0);  // focus arrives
    EXPECT_FALSE(ImmGetOpenStatus(context));
    ImmReleaseContext(edit, context);
}

// ---- the main window ----

class TestShell : public platform::WinShellServices {
public:
    explicit TestShell(std::filesystem::path folder) : folder_(std::move(folder)) {}
    std::wstring programPath() override { return (folder_ / L"quillon.exe").wstring(); }
    void showMessage(const std::wstring& text) override { messages.push_back(text); }
    std::filesystem::path ini() const { return folder_ / L"quillon.ini"; }
    std::vector<std::wstring> messages;

private:
    std::filesystem::path folder_;
};

struct Win32WidgetMainWindow : ::testing::Test {
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("quillon-widgets-" + std::to_string(GetCurrentProcessId()));
    platform::WinWidgetFactory factory;
    TestShell shell{folder};

    Win32WidgetMainWindow() { std::filesystem::create_directories(folder); }
    ~Win32WidgetMainWindow() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    void writeIni(const std::string& text) { std::ofstream(shell.ini(), std::ios::binary) << text; }
    std::string readIni() const {
        std::ifstream in(shell.ini(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static HWND main(app::MainWindow& f) { return platform::FormPeer::of(f.form())->hwnd(); }
    static HWND of(ui::Widget* w) { return platform::windowOf(*w); }
};

TEST_F(Win32WidgetMainWindow, FrameCaptionAndClientSize) {
    app::MainWindow f(factory, shell, 96);
    HWND window = main(f);
    const LONG style = GetWindowLongW(window, GWL_STYLE), ex = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_APPWINDOW);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(textOf(window), L"Quillon 2.06 [ nanoCAD ]");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 478);
    EXPECT_EQ(client.bottom, 418);
    EXPECT_TRUE(shell.messages.empty());
}

// A CAD's name with "&" in it shows that "&" in the system menu (the menu would take a
// single one as the mark of a key and hide it); the program's own items are as written.
TEST_F(Win32WidgetMainWindow, AnAmpersandInACadsNameShowsInTheMenu) {
    writeIni("[CAD:R&D CAD]\r\nTitle=R&D CAD\r\nProgID=RD.Application\r\n");
    app::MainWindow f(factory, shell, 96);
    HMENU menu = GetSystemMenu(main(f), FALSE);
    ASSERT_NE(menu, nullptr);
    const auto textAt = [](HMENU m, int position) {
        wchar_t text[128] = {};
        GetMenuStringW(m, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
        return std::wstring(text);
    };
    HMENU targets = nullptr;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        if (textAt(menu, i) == L"ターゲットCAD") targets = GetSubMenu(menu, i);
    ASSERT_NE(targets, nullptr);
    const int count = GetMenuItemCount(targets);
    ASSERT_EQ(count, 7);
    EXPECT_EQ(textAt(targets, 0), L"nanoCAD");
    EXPECT_EQ(textAt(targets, count - 1), L"R&&D CAD") << "shown as R&D CAD";
    EXPECT_TRUE(shell.messages.empty());
}

// Told the wrong dpi, the window follows the dpi of the monitor it opened on.
TEST_F(Win32WidgetMainWindow, SizesFollowTheDpiOfTheWindowsMonitor) {
    app::MainWindow f(factory, shell, 192);
    HWND window = main(f);
    const int dpi = static_cast<int>(GetDpiForWindow(window));
    ASSERT_NE(dpi, 192) << "this test needs a monitor below 200 %";
    EXPECT_EQ(f.form().dpi(), dpi);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, MulDiv(478, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(418, dpi, 96));
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(of(f.framePage.layer), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -MulDiv(11, dpi, 96));
}

TEST_F(Win32WidgetMainWindow, OnlyTheFramePageHasATabAndShows) {
    app::MainWindow f(factory, shell, 96);
    HWND tabs = of(f.pageControl);
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 1);
    wchar_t caption[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(caption, L"任意枠配置");
    EXPECT_FALSE(GetWindowLongW(of(f.gridPage.sheet), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowEnabled(of(f.gridPage.sheet)));
    EXPECT_TRUE(GetWindowLongW(of(f.framePage.sheet), GWL_STYLE) & WS_VISIBLE);
    for (ui::Widget* hidden : {static_cast<ui::Widget*>(f.framePage.targetCadButton), static_cast<ui::Widget*>(f.framePage.listsButton)}) {
        ASSERT_TRUE(of(hidden)) << hidden->name();
        EXPECT_FALSE(GetWindowLongW(of(hidden), GWL_STYLE) & WS_VISIBLE) << hidden->name();
    }
    // scaleLabel lies beneath the page control.
    bool pagesFirst = false;
    for (HWND w = GetWindow(main(f), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == tabs) pagesFirst = true;
        if (w == of(f.scaleLabel)) break;
    }
    EXPECT_TRUE(pagesFirst);
}

// The hidden page's controls wait for their windows until the page first shows; then
// they come with the state they were given meanwhile, in the table's order (the z-order
// and the Tab key's), the hidden one hidden.
TEST_F(Win32WidgetMainWindow, TheHiddenPagesControlsAreMadeWhenItFirstShows) {
    app::MainWindow f(factory, shell, 96);
    std::vector<ui::Widget*> onPage;
    for (const auto& control : f.form().controls())
        for (const ui::Widget* up = control->parent(); up; up = up->parent())
            if (up == f.gridPage.sheet) {
                onPage.push_back(control.get());
                break;
            }
    ASSERT_GT(onPage.size(), 20u);
    for (ui::Widget* control : onPage) EXPECT_EQ(of(control), nullptr) << control->name();
    f.gridPage.printScale->setText(L"2.5");
    f.gridPage.sheetSize->setItemIndex(5);
    f.gridPage.autoPrintScale->setChecked(false);
    f.gridPage.stopButton->setEnabled(true);

    f.showGridPage(true);
    for (ui::Widget* control : onPage) ASSERT_NE(of(control), nullptr) << control->name();
    EXPECT_EQ(textOf(of(f.gridPage.printScale)), L"2.5");
    EXPECT_EQ(SendMessageW(of(f.gridPage.sheetSize), CB_GETCURSEL, 0, 0), 5);
    EXPECT_EQ(SendMessageW(of(f.gridPage.autoPrintScale), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(IsWindowEnabled(of(f.gridPage.stopButton)));
    EXPECT_FALSE(GetWindowLongW(of(f.gridPage.listsButton), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(of(f.gridPage.printButton), GWL_STYLE) & WS_VISIBLE);
    // Controls that overlap none of their siblings keep the table's order (an overlapping
    // one lies just above those it overlaps).
    const auto alone = [&](HWND w) {
        const ui::Widget* control = nullptr;
        for (ui::Widget* c : onPage)
            if (of(c) == w) control = c;
        for (const ui::Widget* other : control->parent()->children()) {
            const ui::Rect a = control->bounds(), b = other->bounds();
            if (other != control && a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom())
                return false;
        }
        return true;
    };
    std::vector<HWND> tableOrder, windowOrder;
    for (ui::Widget* control : onPage)
        if (control->parent() == f.gridPage.sheet && alone(of(control))) tableOrder.push_back(of(control));
    for (HWND w = GetWindow(of(f.gridPage.sheet), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (alone(w)) windowOrder.push_back(w);
    EXPECT_GT(tableOrder.size(), 10u);
    EXPECT_EQ(windowOrder, tableOrder);
}

// The Tab key walks the controls in the table's order, past those that are not tab stops,
// hidden or disabled; owner-drawn buttons stay owner-drawn on the way.
TEST_F(Win32WidgetMainWindow, TabKeyFollowsTheTableOrder) {
    app::MainWindow f(factory, shell, 96);
    HWND window = main(f);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const std::vector<ui::Widget*> order{f.framePage.captureButton, f.framePage.layer, f.framePage.landscapeRotation, f.framePage.portraitRotation, f.framePage.printer, f.framePage.printScale,
                                         f.framePage.paper, f.framePage.styleTable, f.framePage.chosenCount, f.framePage.fromTop, f.framePage.printButton, f.framePage.toolbarToggle,
                                         f.framePage.captureButton};
    SetFocus(of(order.front()));
    for (std::size_t i = 1; i < order.size(); ++i) {
        MSG key{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(IsDialogMessageW(window, &key));
        EXPECT_EQ(GetFocus(), of(order[i])) << "after " << order[i - 1]->name();
    }
    for (ui::Widget* button : {static_cast<ui::Widget*>(f.framePage.captureButton), static_cast<ui::Widget*>(f.framePage.printButton)})
        EXPECT_EQ(GetWindowLongW(of(button), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << button->name();
}

TEST_F(Win32WidgetMainWindow, EveryHintHasItsTooltip) {
    app::MainWindow f(factory, shell, 96);
    f.showGridPage(true);  // its controls are made when it first shows
    HWND tip = platform::FormPeer::of(f.form())->tooltip();
    ASSERT_TRUE(tip);
    int hints = 0;
    for (const auto& control : f.form().controls()) {
        if (control->args().hint.empty()) continue;
        ++hints;
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = GetParent(of(control.get()));
        tool.uId = reinterpret_cast<UINT_PTR>(of(control.get()));
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), control->args().hint) << control->name();
    }
    EXPECT_GT(hints, 0);
}

TEST_F(Win32WidgetMainWindow, PanelToggleHidesTheUpperPanelAndThePreviewFillsThePage) {
    app::MainWindow f(factory, shell, 96);
    RECT before{}, after{};
    GetWindowRect(of(f.framePage.preview), &before);
    SendMessageW(of(f.framePage.toolbarToggle), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowVisible(of(f.framePage.toolbar)));
    EXPECT_EQ(textOf(of(f.framePage.toolbarToggle)), L"▼");
    GetWindowRect(of(f.framePage.preview), &after);
    EXPECT_EQ(after.bottom - after.top, (before.bottom - before.top) + 111);
    SendMessageW(of(f.framePage.toolbarToggle), BM_CLICK, 0, 0);
    EXPECT_EQ(textOf(of(f.framePage.toolbarToggle)), L"▲");
    GetWindowRect(of(f.framePage.preview), &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(Win32WidgetMainWindow, OpensAtTheSavedPlaceAndClosingWritesTheNewPlace) {
    writeIni("[MORVEL]\r\nLeft=100\r\nTop=80\r\nWidth=520\r\nHeight=470\r\n");
    {
        app::MainWindow f(factory, shell, 96);
        HWND window = main(f);
        RECT r{};
        GetWindowRect(window, &r);
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 80);
        EXPECT_EQ(r.right - r.left, 520);
        EXPECT_EQ(r.bottom - r.top, 470);
        int closings = 0;
        platform::FormPeer::of(f.form())->onClosed = [&] {
            ++closings;
            f.windowDestroyed();
        };
        SetWindowPos(window, nullptr, 140, 90, 500, 460, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(closings, 1);
    }  // the controls go after their windows: nothing may touch the dead windows
    const std::string saved = readIni();
    ASSERT_GE(saved.size(), 2u);
    EXPECT_EQ(saved.substr(0, 2), "\xFF\xFE");
    app::MainWindow again(factory, shell, 96);
    RECT r{};
    GetWindowRect(main(again), &r);
    EXPECT_EQ(r.left, 140);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 460);
}

int fontHeightOf(HWND window) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

TEST_F(Win32WidgetMainWindow, FontsFollowTheTableAndEverythingRescalesOnADpiChange) {
    app::MainWindow f(factory, shell, 96);
    HWND window = main(f);
    EXPECT_EQ(fontHeightOf(of(f.framePage.layer)), -11);
    EXPECT_EQ(fontHeightOf(of(f.framePage.printer)), -13);
    EXPECT_EQ(fontHeightOf(of(f.framePage.chosenCount)), -16);
    RECT r{};
    GetWindowRect(window, &r);
    RECT suggested{r.left, r.top, r.left + (r.right - r.left) * 3 / 2, r.top + (r.bottom - r.top) * 3 / 2};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(f.form().dpi(), 144);
    EXPECT_EQ(fontHeightOf(of(f.framePage.layer)), -17);
    EXPECT_EQ(fontHeightOf(of(f.framePage.printer)), -20);
    EXPECT_EQ(fontHeightOf(of(f.framePage.chosenCount)), -24);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, suggested.right - suggested.left);
    RECT edit{}, combo{};
    GetWindowRect(of(f.framePage.layer), &edit);
    GetWindowRect(of(f.framePage.printer), &combo);
    EXPECT_EQ(edit.right - edit.left, 159);  // 106 at 96 dpi
    EXPECT_EQ(edit.bottom - edit.top, 32);   // 21
    EXPECT_EQ(combo.bottom - combo.top, 36);  // 24, the closed box
}

// Every combo box of both pages, made at the start or when its page first shows, closes
// at its height in the table, with rows as high as its text needs and a field row that
// fills the closed box; the open list reaches below it.
TEST_F(Win32WidgetMainWindow, ComboBoxesCloseAtTheirHeightWithRowsForTheirText) {
    app::MainWindow f(factory, shell, 96);
    f.showGridPage(true);
    int checked = 0;
    for (const auto& control : f.form().controls()) {
        if (control->kind() != ui::Kind::ComboBox) continue;
        SCOPED_TRACE(control->name());
        HWND box = of(control.get());
        ASSERT_TRUE(box);
        RECT closed{}, open{};
        GetWindowRect(box, &closed);
        SendMessageW(box, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&open));
        HDC dc = GetDC(box);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        const int row = static_cast<int>(SendMessageW(box, CB_GETITEMHEIGHT, 0, 0));
        const int field = static_cast<int>(SendMessageW(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        EXPECT_EQ(closed.bottom - closed.top, control->args().design.height);
        EXPECT_EQ(row, tm.tmHeight + 4);
        EXPECT_GE(field, tm.tmHeight);
        EXPECT_LT(field, control->args().design.height);
        EXPECT_GT(open.bottom - closed.bottom, 4 * row);
        ++checked;
    }
    EXPECT_EQ(checked, 11);
}

TEST(Win32WidgetMonitorScale, FirstMonitorFactorMatchesItsDpi) {
    ASSERT_TRUE(GetModuleHandleW(L"shcore.dll")) << "the program links shcore, so it is loaded";
    EXPECT_EQ(platform::firstMonitorScaleFactor(), MulDiv(100, platform::primaryMonitorDpi(), 96));
}

// Every visible control is painted by us in the dark palette: on the screen, the colour
// that covers most of each control (its surface, not its text or frame) is dark.
TEST_F(Win32WidgetMainWindow, EveryVisibleControlIsDark) {
    app::MainWindow f(factory, shell, 96);
    HWND window = main(f);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    int checked = 0;
    for (const auto& control : f.form().controls()) {
        HWND w = of(control.get());
        if (!IsWindowVisible(w)) continue;
        RECT r{};
        GetWindowRect(w, &r);
        std::map<std::uint32_t, int> counts;
        for (int y = std::max(r.top, frame.top); y < std::min(r.bottom, frame.bottom); ++y)
            for (int x = std::max(r.left, frame.left); x < std::min(r.right, frame.right); ++x)
                ++counts[pixels[static_cast<std::size_t>(y - frame.top) * width + (x - frame.left)] & 0xFFFFFF];
        ASSERT_FALSE(counts.empty()) << control->name();
        const auto most = std::max_element(counts.begin(), counts.end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        const std::uint32_t c = most->first;  // 0x00RRGGBB
        const int light = (((c >> 16) & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + (c & 0xFF)) / 10;
        EXPECT_LT(light, 80) << control->name() << " is mostly " << std::hex << c;
        ++checked;
    }
    EXPECT_GT(checked, 15);
}

}  // namespace
