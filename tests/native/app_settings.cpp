// The settings file through the whole window: what a start restores from a file, what
// the end writes back, and that a refused write leaves the old file whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "app/main_window.h"
#include "app/settings.h"
#include "base/text_codec.h"
#include "support/fake_shell.h"
#include "support/memory_widgets.h"

namespace {

namespace fs = std::filesystem;
using app::MainWindow;

struct Settings : ::testing::Test {
    fs::path dir = fs::temp_directory_path() /
                   ("quillon-settings-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path ini = dir / "quillon.ini";
    testing_support::FakeShell shell;
    ui::MemoryWidgetFactory widgets;

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
        shell.program = (dir / "quillon.exe").wstring();
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    void writeBytes(const std::string& bytes) const { std::ofstream(ini, std::ios::binary) << bytes; }
    void writeUtf8(const std::wstring& text) const { writeBytes(base::toUtf8(text)); }
    std::string bytes() const {
        std::ifstream in(ini, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The file as the program wrote it: UTF-16LE after its byte-order mark.
    std::wstring written() const {
        const std::string b = bytes();
        EXPECT_TRUE(b.starts_with("\xFF\xFE")) << "written without its byte-order mark";
        return base::fromUtf16(std::string_view(b).substr(2), false);
    }
    std::unique_ptr<MainWindow> start() { return std::make_unique<MainWindow>(widgets, shell); }
};

TEST_F(Settings, NoFileGivesDefaultsAndTheEndWritesEveryKeyButTheNames) {
    auto f = start();
    const ui::Rect r = f->form().windowRect();
    EXPECT_EQ(r.width, 478 + ui::MemoryFormPeer::kFrameWidth);
    EXPECT_EQ(r.height, 418 + ui::MemoryFormPeer::kFrameHeight);
    EXPECT_EQ(r.left, (1920 - r.width) / 2);
    EXPECT_EQ(r.top, (1080 - r.height) / 2);
    EXPECT_EQ(f->gridPage.spacing->text(), L"420,300");
    EXPECT_TRUE(f->gridPage.autoPrintScale->checked());
    EXPECT_FALSE(f->framePage.fromTop->checked());
    EXPECT_FALSE(f->gridPage.fromTop->checked());
    EXPECT_EQ(f->gridPage.printScale->text(), L"1.4142");
    EXPECT_EQ(f->gridPage.rotation->itemIndex(), 1);
    EXPECT_EQ(f->gridPage.sheetSize->text(), L"A3");
    EXPECT_EQ(f->gridPage.basePoint->text(), L"0,0");
    EXPECT_EQ(f->gridPage.drawingScale->text(), L"1");
    EXPECT_EQ(f->gridPage.sheetOrientation->text(), L"ヨコ");
    EXPECT_EQ(f->framePage.layer->text(), L"MORVEL");
    EXPECT_EQ(f->framePage.landscapeRotation->text(), L"90");
    EXPECT_EQ(f->framePage.portraitRotation->text(), L"0");
    EXPECT_EQ(widgets.peer("ComboBox11")->text, L"0");
    EXPECT_TRUE(f->gridPage.lists.saved.device.empty() && f->framePage.lists.saved.paper.empty());
    EXPECT_TRUE(shell.messages.empty());

    f->windowDestroyed();
    EXPECT_EQ(written(), L"[MORVEL]\r\nWidth=494\r\nHeight=457\r\nLeft=713\r\nTop=311\r\ndxdy=420,300\r\n"
                         L"Keisan=1\r\nUekara=0\r\nsyakudo=1.4142\r\nKaiten=1\r\nZumenSize=A3\r\nkiten=0,0\r\n"
                         L"dimsc=1\r\ntateyoko=ヨコ\r\nUekara2=0\r\nmvLayer=MORVEL\r\nYokoKaiten=1\r\nTateKaiten=0\r\n");
    EXPECT_TRUE(shell.messages.empty());
}

struct ReadCase {
    const char* what;
    std::wstring file;
    std::function<void(MainWindow&, const testing_support::FakeShell&)> check;
};

class SettingsRead : public Settings, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SettingsRead, RestoresFromTheFile) {
    writeUtf8(GetParam().file);
    auto f = start();
    GetParam().check(*f, shell);
}

ui::Rect place(MainWindow& f) { return f.form().windowRect(); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsRead,
    ::testing::Values(
        ReadCase{"left_beyond_the_right_edge", L"[MORVEL]\nWidth=500\nLeft=5000\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f).left, 1420); }},
        ReadCase{"left_negative", L"[MORVEL]\nLeft=-300\nTop=-5\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f).left, 0); EXPECT_EQ(place(f).top, 0); }},
        ReadCase{"wider_than_the_screen", L"[MORVEL]\nWidth=3000\nLeft=100\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f), (ui::Rect{0, 311, 3000, 457})); }},
        ReadCase{"higher_than_the_screen", L"[MORVEL]\nHeight=1200\nTop=700\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f).top, 0); EXPECT_EQ(place(f).height, 1200); }},
        ReadCase{"centred_from_the_restored_size", L"[MORVEL]\nWidth=600\nHeight=500\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f), (ui::Rect{660, 290, 600, 500})); }},
        ReadCase{"values_not_numbers_take_their_defaults_silently", L"[MORVEL]\nWidth=abc\nKeisan=yes\nKaiten=x\n",
                 [](MainWindow& f, const auto& shell) {
                     EXPECT_EQ(place(f).width, 494);
                     EXPECT_TRUE(f.gridPage.autoPrintScale->checked());
                     EXPECT_EQ(f.gridPage.rotation->itemIndex(), 1);
                     EXPECT_TRUE(shell.messages.empty()) << "nothing blocks an unattended start";
                 }},
        // Whatever the file says, the window opens on the screen with its caption bar
        // reachable, and no sum overflows (UBSan watches this case in the sanitizer build).
        ReadCase{"sizes_not_positive_are_the_designed_ones", L"[MORVEL]\nWidth=-10000\nHeight=-10000\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f), (ui::Rect{713, 311, 494, 457})); }},
        ReadCase{"zero_size", L"[MORVEL]\nWidth=0\nHeight=0\nLeft=10\nTop=20\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f), (ui::Rect{10, 20, 494, 457})); }},
        ReadCase{"largest_left_and_top", L"[MORVEL]\nLeft=2147483647\nTop=2147483647\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f), (ui::Rect{1920 - 494, 1080 - 457, 494, 457})); }},
        ReadCase{"smallest_left_and_top", L"[MORVEL]\nLeft=-2147483648\nTop=-2147483648\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(place(f), (ui::Rect{0, 0, 494, 457})); }},
        ReadCase{"largest_size", L"[MORVEL]\nWidth=2147483647\nHeight=2147483647\nLeft=2147483647\n",
                 [](MainWindow& f, auto&) {
                     EXPECT_EQ(place(f).left, 0);
                     EXPECT_EQ(place(f).top, 0);
                 }},
        ReadCase{"grid_page_shown_at_the_right_edge", L"[MORVEL]\nLeft=5000\nShowGrid=1\n",
                 [](MainWindow& f, auto&) {
                     EXPECT_EQ(place(f).left + place(f).width, 1920) << "grown to the left, inside the screen";
                     EXPECT_EQ(place(f).width, 570 + ui::MemoryFormPeer::kFrameWidth);
                 }},
        ReadCase{"keisan_0", L"[MORVEL]\nKeisan=0\n", [](MainWindow& f, auto&) { EXPECT_FALSE(f.gridPage.autoPrintScale->checked()); }},
        ReadCase{"keisan_2", L"[MORVEL]\nKeisan=2\n", [](MainWindow& f, auto&) { EXPECT_TRUE(f.gridPage.autoPrintScale->checked()); }},
        ReadCase{"keisan_hex", L"[MORVEL]\nKeisan=0x10\n", [](MainWindow& f, auto&) { EXPECT_TRUE(f.gridPage.autoPrintScale->checked()); }},
        ReadCase{"keisan_hex_zero", L"[MORVEL]\nKeisan=0x0\n", [](MainWindow& f, auto&) { EXPECT_FALSE(f.gridPage.autoPrintScale->checked()); }},
        ReadCase{"kaiten_clamped", L"[MORVEL]\nKaiten=9\n", [](MainWindow& f, auto&) { EXPECT_EQ(f.gridPage.rotation->itemIndex(), 3); }},
        ReadCase{"kaiten_clamped_below", L"[MORVEL]\nKaiten=-7\n", [](MainWindow& f, auto&) { EXPECT_EQ(f.gridPage.rotation->itemIndex(), -1); }},
        ReadCase{"yokokaiten_out_of_range", L"[MORVEL]\nYokoKaiten=7\n",
                 [](MainWindow& f, auto&) {
                     EXPECT_EQ(f.framePage.landscapeRotation->itemIndex(), -1);
                     EXPECT_EQ(f.framePage.landscapeRotation->text(), L"");
                 }},
        ReadCase{"keys_ignore_case_and_first_wins", L"[morvel]\nwidth=600\nWIDTH=700\n[MORVEL]\nHeight=300\n",
                 [](MainWindow& f, auto&) {
                     EXPECT_EQ(place(f).width, 600);
                     EXPECT_EQ(place(f).height, 457) << "a second section of that name is not read";
                 }},
        ReadCase{"other_sections_do_not_count", L"[Other]\nmvLayer=X\n[MORVEL]\n; mvLayer=Y\n",
                 [](MainWindow& f, auto&) { EXPECT_EQ(f.framePage.layer->text(), L"MORVEL"); }},
        ReadCase{"empty_value_is_an_empty_text", L"[MORVEL]\ndxdy=\nsyakudo = 2.5 \n",
                 [](MainWindow& f, auto&) {
                     EXPECT_EQ(f.gridPage.spacing->text(), L"");
                     EXPECT_EQ(f.gridPage.printScale->text(), L"2.5");
                 }},
        ReadCase{"names_go_to_the_saved_fields", L"[MORVEL]\ndevName=Plotter A\npaperName2=ISO A3\nstyleName2=mono.ctb\n",
                 [](MainWindow& f, auto&) {
                     EXPECT_EQ(f.gridPage.lists.saved.device, L"Plotter A");
                     EXPECT_EQ(f.framePage.lists.saved.paper, L"ISO A3");
                     EXPECT_EQ(f.framePage.lists.saved.style, L"mono.ctb");
                     EXPECT_EQ(f.gridPage.printer->text(), L"") << "the lists are still empty";
                 }},
        ReadCase{"tateyoko_selects_its_entry", L"[MORVEL]\ntateyoko=タテ\nZumenSize=A1\n",
                 [](MainWindow& f, auto&) {
                     EXPECT_EQ(f.gridPage.sheetOrientation->text(), L"タテ");
                     EXPECT_EQ(f.gridPage.sheetOrientation->itemIndex(), 1);
                     EXPECT_EQ(f.gridPage.sheetSize->itemIndex(), 1);
                 }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Settings, TheCaptionStaysInsideTheWorkArea) {
    struct Case {
        const char* what;
        desktop::ScreenRect work;
        const char* file;
        int left, top;
    };
    const Case cases[] = {
        {"taskbar_on_top_covers_row_zero", {0, 40, 1920, 1080}, "[MORVEL]\nTop=0\nLeft=0\n", 0, 40},
        {"taskbar_on_the_left", {60, 0, 1920, 1080}, "[MORVEL]\nTop=0\nLeft=0\n", 60, 0},
        {"a_short_window_under_a_bottom_taskbar", {0, 0, 1920, 1040}, "[MORVEL]\nHeight=20\nTop=1060\n", 713, 1040 - 32},
        {"inside_already", {0, 0, 1920, 1040}, "[MORVEL]\nTop=500\nLeft=30\n", 30, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        shell.workArea = c.work;
        writeBytes(c.file);
        auto f = start();
        EXPECT_EQ(f->form().windowRect().left, c.left);
        EXPECT_EQ(f->form().windowRect().top, c.top);
    }
}

TEST_F(Settings, Uekara2RunsTheCheckBoxClickOnceDuringStart) {
    writeUtf8(L"[MORVEL]\nUekara2=1\n");
    MainWindow f(widgets, shell, 96, false);
    ASSERT_TRUE(f.framePage.fromTop->onClick) << "CheckBox1Click is bound";
    int runs = 0;
    f.framePage.fromTop->onClick = [&, bound = f.framePage.fromTop->onClick](ui::Widget& s) {
        ++runs;
        EXPECT_FALSE(f.framePage.session.photo) << "runs before the photographs exist";
        bound(s);
    };
    f.windowCreated();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(f.framePage.fromTop->checked());
    EXPECT_TRUE(f.framePage.session.photo);
}

TEST_F(Settings, Uekara2ZeroRunsNoClick) {
    writeUtf8(L"[MORVEL]\nUekara2=0\n");
    MainWindow f(widgets, shell, 96, false);
    int runs = 0;
    f.framePage.fromTop->onClick = [&](ui::Widget&) { ++runs; };
    f.windowCreated();
    EXPECT_EQ(runs, 0);
}

TEST_F(Settings, OutOfRangeRotationIsWrittenBackAsMinusOne) {
    writeUtf8(L"[MORVEL]\nYokoKaiten=7\n");
    auto f = start();
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nYokoKaiten=-1\r\n"), std::wstring::npos);
}

TEST_F(Settings, EmptyListKeepsTheNameInTheFile) {
    writeUtf8(L"[MORVEL]\npaperName2=A3 (297 x 420)\ndevName2=Old\n");
    auto f = start();
    f->framePage.printer->setItems({L"New printer"});
    f->framePage.printer->setItemIndex(0);
    f->framePage.paper->setItems({L"A4"});  // no selection: the paper list has no text
    f->windowDestroyed();
    const std::wstring text = written();
    EXPECT_NE(text.find(L"paperName2=A3 (297 x 420)\r\n"), std::wstring::npos);
    EXPECT_NE(text.find(L"devName2=New printer\r\n"), std::wstring::npos);
    EXPECT_EQ(text.find(L"styleName2"), std::wstring::npos);
}

TEST_F(Settings, GeometryIsWrittenWithoutTheClamp) {
    auto f = start();
    f->form().setWindowRect({-40, 1000, 700, 500});
    f->windowDestroyed();
    EXPECT_NE(written().find(L"Width=700\r\nHeight=500\r\nLeft=-40\r\nTop=1000\r\n"), std::wstring::npos);
}

TEST_F(Settings, EveryKeyRoundTrips) {
    {
        auto f = start();
        f->form().setWindowRect({30, 40, 520, 470});
        f->gridPage.spacing->setText(L"594,420");
        f->gridPage.autoPrintScale->setChecked(false);
        f->gridPage.fromTop->setChecked(true);
        for (auto [list, name] : {std::pair{f->gridPage.printer, L"プリンター甲"}, {f->gridPage.paper, L"A3 横"},
                                  {f->gridPage.styleTable, L"monochrome.ctb"}, {f->framePage.printer, L"𠮷田プロッタ"},
                                  {f->framePage.paper, L"A1"}, {f->framePage.styleTable, L"色.ctb"}}) {
            list->setItems({L"other", name});
            list->setItemIndex(1);
        }
        f->gridPage.printScale->setText(L"2.8284");
        f->gridPage.rotation->setItemIndex(3);
        f->gridPage.sheetSize->setText(L"B4");
        f->gridPage.basePoint->setText(L"100,-50");
        f->gridPage.drawingScale->setText(L"50");
        f->gridPage.sheetOrientation->setText(L"タテ");
        f->framePage.fromTop->setChecked(true);
        f->framePage.layer->setText(L"図枠");
        f->framePage.landscapeRotation->setItemIndex(0);
        f->framePage.portraitRotation->setItemIndex(3);
        f->windowDestroyed();
    }
    ui::MemoryWidgetFactory again;
    MainWindow g(again, shell);
    EXPECT_EQ(g.form().windowRect(), (ui::Rect{30, 40, 520, 470}));
    EXPECT_EQ(g.gridPage.spacing->text(), L"594,420");
    EXPECT_FALSE(g.gridPage.autoPrintScale->checked());
    EXPECT_TRUE(g.gridPage.fromTop->checked());
    EXPECT_EQ(g.gridPage.lists.saved.device, L"プリンター甲");
    EXPECT_EQ(g.gridPage.lists.saved.paper, L"A3 横");
    EXPECT_EQ(g.gridPage.lists.saved.style, L"monochrome.ctb");
    EXPECT_EQ(g.framePage.lists.saved.device, L"𠮷田プロッタ");
    EXPECT_EQ(g.framePage.lists.saved.paper, L"A1");
    EXPECT_EQ(g.framePage.lists.saved.style, L"色.ctb");
    EXPECT_EQ(g.gridPage.printScale->text(), L"2.8284");
    EXPECT_EQ(g.gridPage.rotation->itemIndex(), 3);
    EXPECT_EQ(g.gridPage.sheetSize->text(), L"B4");
    EXPECT_EQ(g.gridPage.basePoint->text(), L"100,-50");
    EXPECT_EQ(g.gridPage.drawingScale->text(), L"50");
    EXPECT_EQ(g.gridPage.sheetOrientation->text(), L"タテ");
    EXPECT_TRUE(g.framePage.fromTop->checked());
    EXPECT_EQ(g.framePage.layer->text(), L"図枠");
    EXPECT_EQ(g.framePage.landscapeRotation->itemIndex(), 0);
    EXPECT_EQ(g.framePage.portraitRotation->itemIndex(), 3);
    EXPECT_TRUE(shell.messages.empty());
}

struct EncodingCase {
    const char* what;
    std::function<std::string(const std::wstring&)> encode;
};

class SettingsEncoding : public Settings, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(SettingsEncoding, ReadsAndWritesBackKeepingTheRestOfTheFile) {
    const std::wstring file = L"; 設定\r\n[Other]\r\nkey=値\r\n\r\n[MORVEL]\r\ntateyoko=タテ\r\nmvLayer=枠\r\nextra=1\r\n\r\n[Last]\r\nx=y\r\n";
    writeBytes(GetParam().encode(file));
    auto f = start();
    EXPECT_EQ(f->gridPage.sheetOrientation->text(), L"タテ");
    EXPECT_EQ(f->framePage.layer->text(), L"枠");
    f->windowDestroyed();
    const std::wstring text = written();
    EXPECT_TRUE(text.starts_with(L"; 設定\r\n[Other]\r\nkey=値\r\n\r\n[MORVEL]\r\ntateyoko=タテ\r\nmvLayer=枠\r\nextra=1\r\nWidth="))
        << base::toUtf8(text);
    EXPECT_TRUE(text.ends_with(L"TateKaiten=0\r\n\r\n[Last]\r\nx=y\r\n")) << base::toUtf8(text);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, SettingsEncoding,
    ::testing::Values(
        EncodingCase{"utf16le_bom", [](const std::wstring& t) { return "\xFF\xFE" + base::toUtf16Le(t); }},
        EncodingCase{"utf8_bom", [](const std::wstring& t) { return "\xEF\xBB\xBF" + base::toUtf8(t); }},
        EncodingCase{"utf8", [](const std::wstring& t) { return base::toUtf8(t); }},
        EncodingCase{"cp932", [](const std::wstring& t) { return testing_support::FakeShell::encodeCp932(t); }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Settings, HalfWayRefusedWriteKeepsTheOldFileWhole) {
    const std::string old = base::toUtf8(L"[MORVEL]\r\nmvLayer=前の値\r\n; " + std::wstring(200, L'x') + L"\r\n");
    writeBytes(old);
    auto f = start();
    f->framePage.layer->setText(L"新しい値");

    // The disk takes 64 bytes of the new file and then refuses, as a full disk does.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    f->windowDestroyed();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(bytes(), old);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], ini.wstring() + L" に書き込めません");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "a temporary file was left";
}

TEST_F(Settings, ReadOnlyFolderGivesTheMessageAndKeepsTheOldFile) {
    writeUtf8(L"[MORVEL]\r\nmvLayer=前の値\r\n");
    const std::string old = bytes();
    auto f = start();
    f->framePage.layer->setText(L"新しい値");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    if (std::ofstream(dir / "probe")) {
        fs::remove(dir / "probe");
        GTEST_SKIP() << "this user writes into read-only folders; the refused write is covered above";
    }
    f->windowDestroyed();
    EXPECT_EQ(bytes(), old);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0], ini.wstring() + L" に書き込めません");
}

TEST_F(Settings, TheEndWritesOnlyOnce) {
    auto f = start();
    f->windowDestroyed();
    fs::remove(ini);
    f->windowDestroyed();
    EXPECT_FALSE(fs::exists(ini));
}

}  // namespace

namespace {

// The equal-interval page is hidden as designed until the system menu's item asks for it;
// the choice lasts through a restart.
TEST_F(Settings, TheSystemMenuShowsTheEqualIntervalPageAndTheChoiceIsKept) {
    auto f = start();
    const auto menuItem = [&] { return f->form().systemMenu().at(0); };
    ASSERT_EQ(f->form().systemMenu().size(), 4u);
    EXPECT_EQ(menuItem().text, L"等間隔配置を表示");
    EXPECT_FALSE(menuItem().checked);
    EXPECT_FALSE(f->gridPage.sheet->tabVisible());
    EXPECT_FALSE(f->gridPage.captureButton->usable());
    EXPECT_FALSE(f->pageControl->userSelectPage(*f->gridPage.sheet));

    const ui::Rect before = f->form().windowRect();
    ASSERT_TRUE(f->form().userChooseMenuItem(0));
    EXPECT_TRUE(menuItem().checked);
    EXPECT_EQ(f->form().windowRect().width, before.width + 570 - 478) << "wide enough for the page's controls";
    EXPECT_EQ(f->form().windowRect().left, before.left);
    EXPECT_TRUE(f->gridPage.sheet->tabVisible());
    EXPECT_EQ(f->pageControl->activePage(), f->gridPage.sheet);
    EXPECT_TRUE(f->gridPage.captureButton->usable()) << "its controls take real clicks";
    EXPECT_TRUE(f->pageControl->userSelectPage(*f->framePage.sheet));
    EXPECT_TRUE(f->pageControl->userSelectPage(*f->gridPage.sheet));
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nShowGrid=1\r\n"), std::wstring::npos);

    f = start();
    EXPECT_TRUE(f->gridPageShown());
    EXPECT_TRUE(f->form().systemMenu().at(0).checked);
    EXPECT_EQ(f->pageControl->activePage(), f->gridPage.sheet);
    ASSERT_TRUE(f->form().userChooseMenuItem(0));
    EXPECT_FALSE(f->gridPage.sheet->tabVisible());
    EXPECT_FALSE(f->gridPage.sheet->enabled());
    EXPECT_EQ(f->pageControl->activePage(), f->framePage.sheet);
    EXPECT_FALSE(f->form().systemMenu().at(0).checked);
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nShowGrid=0\r\n"), std::wstring::npos);
}

}  // namespace

namespace {

// The names of a menu's items, checked ones marked "*".
std::vector<std::wstring> menuNames(const std::vector<ui::MenuItem>& items) {
    std::vector<std::wstring> names;
    for (const ui::MenuItem& item : items) names.push_back((item.checked ? L"*" : L"") + item.text);
    return names;
}

// The target CAD: chosen in the system menu's submenu or under the "CAD" button, shown in
// A failure as the system menu opens is told in one message, and the menu and the window
// go on working.
TEST_F(Settings, AFailureAsTheSystemMenuOpensIsToldOnceAndTheMenuStillWorks) {
    auto f = start();
    shell.failWindowLookups = true;
    f->form().systemMenuOpening();
    EXPECT_EQ(shell.messages,
              std::vector<std::wstring>{L"不明なエラーが発生しました。\nthe window list cannot be read"});
    shell.failWindowLookups = false;
    ASSERT_TRUE(f->form().userChooseMenuItem({1, 2}));
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ AutoCAD ]");
}

// the caption, kept by name; a name no profile has chooses the default and is kept.
TEST_F(Settings, TheTargetCadIsChosenFromTheMenuShownInTheCaptionAndKept) {
    auto f = start();
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ nanoCAD ]");
    const auto targetMenu = [&] { return f->form().systemMenu().at(1); };
    EXPECT_EQ(targetMenu().text, L"ターゲットCAD");
    EXPECT_EQ(menuNames(targetMenu().items),
              (std::vector<std::wstring>{L"*nanoCAD", L"nanoCAD 現行版", L"AutoCAD", L"BricsCAD", L"ZWCAD", L"GstarCAD"}));

    // As the user opens the menu, the CADs whose window is open are marked.
    shell.windows[7].title = L"Autodesk AutoCAD 2026 - [Drawing1.dwg]";
    shell.windows[8].title = L"nanoCAD 5";
    f->form().systemMenuOpening();
    EXPECT_EQ(menuNames(targetMenu().items),
              (std::vector<std::wstring>{L"*nanoCAD\t起動中", L"nanoCAD 現行版\t起動中", L"AutoCAD\t起動中", L"BricsCAD",
                                         L"ZWCAD", L"GstarCAD"}));

    ASSERT_TRUE(f->form().userChooseMenuItem({1, 2}));
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ AutoCAD ]");
    EXPECT_EQ(f->targetCad().name, L"AutoCAD");
    EXPECT_TRUE(targetMenu().items.at(2).checked);
    EXPECT_FALSE(targetMenu().items.at(0).checked);

    // The "CAD" button of the equal-interval page pops up the same choice under itself.
    f->showGridPage(true);
    f->chooseTargetCad();
    EXPECT_EQ(menuNames(f->form().poppedUpMenu()),
              (std::vector<std::wstring>{L"nanoCAD\t起動中", L"nanoCAD 現行版\t起動中", L"*AutoCAD\t起動中", L"BricsCAD",
                                         L"ZWCAD", L"GstarCAD"}));
    EXPECT_EQ(static_cast<ui::MemoryFormPeer*>(f->form().peer())->poppedUpUnder, f->gridPage.targetCadButton);
    ASSERT_TRUE(f->form().userChoosePopUpItem({5}));
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ GstarCAD ]");
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nTargetCAD=GstarCAD\r\n"), std::wstring::npos);

    f = start();
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ GstarCAD ]");
    f->windowDestroyed();

    // A saved name no profile has (its section gone for now): the default, the name kept.
    writeUtf8(L"[MORVEL]\r\nTargetCAD=OurCAD\r\n");
    f = start();
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ nanoCAD ]");
    EXPECT_TRUE(shell.messages.empty());
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nTargetCAD=OurCAD\r\n"), std::wstring::npos);
}

TEST_F(Settings, AFreshFileGainsNoTargetKey) {
    start()->windowDestroyed();
    for (const wchar_t* key : {L"TargetCAD", L"BlockWaku", L"PlotToFile", L"PlotFolder", L"PlotName"})
        EXPECT_EQ(written().find(key), std::wstring::npos) << key;
}

// The file output is the system menu's; turned on, its folder and name pattern are
// written beside it for the user to edit, and what the user wrote there is kept.
TEST_F(Settings, TheFileOutputIsTheSystemMenusAndItsFolderAndPatternAreKept) {
    auto f = start();
    const auto item = [&] { return f->form().systemMenu().at(3); };
    EXPECT_EQ(item().text, L"ファイルに出力");
    EXPECT_FALSE(item().checked);
    ASSERT_TRUE(f->form().userChooseMenuItem(3));
    EXPECT_TRUE(item().checked);
    EXPECT_TRUE(f->fileOutput.on);
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nPlotToFile=1\r\nPlotFolder=\r\nPlotName={drawing}-{n:02}\r\n"), std::wstring::npos)
        << written();

    writeUtf8(L"[MORVEL]\r\nPlotToFile=0\r\nPlotFolder=D:\\図面\\PDF\r\nPlotName={attr:SHEET_NO}_{date}\r\n");
    f = start();
    EXPECT_FALSE(f->fileOutput.on);
    EXPECT_FALSE(item().checked);
    EXPECT_EQ(f->fileOutput.folder, L"D:\\図面\\PDF");
    EXPECT_EQ(f->fileOutput.pattern, L"{attr:SHEET_NO}_{date}");
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nPlotToFile=0\r\nPlotFolder=D:\\図面\\PDF\r\nPlotName={attr:SHEET_NO}_{date}\r\n"),
              std::wstring::npos)
        << written();
}

// Block references count as frames once the system menu's item says so; off as designed,
// and the choice lasts through a restart.
TEST_F(Settings, TheSystemMenuLetsBlockReferencesBeFramesAndTheChoiceIsKept) {
    auto f = start();
    const auto item = [&] { return f->form().systemMenu().at(2); };
    EXPECT_EQ(item().text, L"ブロック参照も枠とする");
    EXPECT_FALSE(item().checked);
    EXPECT_FALSE(f->blockFrames());
    ASSERT_TRUE(f->form().userChooseMenuItem(2));
    EXPECT_TRUE(item().checked);
    EXPECT_TRUE(f->blockFrames());
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nBlockWaku=1\r\n"), std::wstring::npos);

    f = start();
    EXPECT_TRUE(f->blockFrames());
    EXPECT_TRUE(item().checked);
    ASSERT_TRUE(f->form().userChooseMenuItem(2));
    EXPECT_FALSE(f->blockFrames());
    f->windowDestroyed();
    EXPECT_NE(written().find(L"\r\nBlockWaku=0\r\n"), std::wstring::npos);
}

// [CAD:<name>] sections add profiles or correct built-in ones; a section that cannot be
// used is left out and named in one message.
TEST_F(Settings, UserSectionsAddOrCorrectProfilesAndBadOnesAreNamed) {
    writeUtf8(L"[MORVEL]\r\nTargetCAD=OurCAD\r\n"
              L"[CAD:OurCAD]\r\nTitlePrefix=Our CAD \r\nProgID=Our.Application\r\n"
              L"[cad:autocad]\r\nProgID=AutoCAD.Application.25.1\r\n"
              L"[CAD:nanoCAD]\r\nCLSID={11111111-2222-3333-4444-555555555555}\r\n"
              L"[CAD:Plain]\r\nTitle=Plain CAD\r\nCLSID={AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\r\n"
              L"[CAD:NoWindow]\r\nProgID=X.Application\r\n"
              L"[CAD:NoObject]\r\nTitle=X\r\n"
              L"[CAD:Both]\r\nTitle=X\r\nProgID=X.Application\r\nCLSID={AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}\r\n"
              L"[CAD:BadId]\r\nTitle=X\r\nCLSID=AutoCAD\r\n"
              L"[CAD:]\r\nTitle=X\r\nProgID=X.Application\r\n");
    auto f = start();
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ OurCAD ]");
    std::vector<std::wstring> names;
    for (const cad::CadProfile& p : f->targetCads()) names.push_back(p.name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"nanoCAD", L"nanoCAD 現行版", L"AutoCAD", L"BricsCAD", L"ZWCAD",
                                                L"GstarCAD", L"OurCAD", L"Plain"}))
        << "a correction keeps the built-in name";
    const auto profile = [&](std::size_t i) { return f->targetCads().at(i); };
    EXPECT_EQ(profile(6).windowTitle, L"Our CAD");
    EXPECT_TRUE(profile(6).titleIsPrefix);
    EXPECT_EQ(profile(6).progId, L"Our.Application");
    // A correction keeps what it does not state.
    EXPECT_EQ(profile(2).progId, L"AutoCAD.Application.25.1");
    EXPECT_EQ(profile(2).windowTitle, L"Autodesk AutoCAD");
    EXPECT_EQ(profile(0).windowTitle, L"nanoCAD 5");
    EXPECT_EQ(profile(0).classId, L"{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(profile(0).applicationInterfaceId, L"") << "another object answers through IDispatch";
    EXPECT_FALSE(profile(7).titleIsPrefix);
    EXPECT_EQ(profile(7).progId, L"");

    ASSERT_EQ(shell.messages.size(), 1u);
    const std::wstring& m = shell.messages[0];
    for (const wchar_t* named : {L"[CAD:NoWindow] は使えません: Title= か TitlePrefix= がありません",
                                 L"[CAD:NoObject] は使えません: ProgID= か CLSID= がありません",
                                 L"[CAD:Both] は使えません: ProgID= と CLSID= の両方があります",
                                 L"[CAD:BadId] は使えません: CLSID= は", L"[CAD:] は使えません: CAD の名前がありません"})
        EXPECT_NE(m.find(named), std::wstring::npos) << named;
    EXPECT_EQ(m.find(L"OurCAD"), std::wstring::npos);
}

// A section correcting a built-in CAD, its name in other letter case, whatever TargetCAD=
// says (nothing, an unknown name, the name in yet another case): the window starts, on
// the profile the name chooses or the default, which shows its built-in name.
TEST_F(Settings, ACorrectionInOtherLetterCaseStartsOnTheChosenOrTheDefaultProfile) {
    struct Case {
        const char* what;
        std::wstring file;
        std::wstring target, windowTitle;
    };
    const Case cases[] = {
        {"upper_case_no_target", L"[CAD:NANOCAD]\nTitle=nanoCAD 5\n", L"nanoCAD", L"nanoCAD 5"},
        {"lower_case_no_target", L"[CAD:nanocad]\nTitle=nanoCAD 5\n", L"nanoCAD", L"nanoCAD 5"},
        {"unknown_target", L"[MORVEL]\nTargetCAD=OurCAD\n[CAD:nanocad]\nTitle=nanoCAD 5.1\n", L"nanoCAD", L"nanoCAD 5.1"},
        {"empty_target", L"[MORVEL]\nTargetCAD=\n[CAD:NanoCad]\nTitlePrefix=nanoCAD 5\n", L"nanoCAD", L"nanoCAD 5"},
        {"target_in_a_third_case", L"[MORVEL]\nTargetCAD=nAnOcAd\n[CAD:NANOCAD]\nTitle=nanoCAD 5\n", L"nanoCAD", L"nanoCAD 5"},
        {"another_cad_corrected_and_chosen", L"[MORVEL]\nTargetCAD=AUTOCAD\n[cad:autocad]\nProgID=AutoCAD.Application.25.1\n",
         L"AutoCAD", L"Autodesk AutoCAD"},
        {"another_cad_corrected_default_kept", L"[CAD:AUTOCAD]\nTitlePrefix=AutoCAD\n[CAD:NANOCAD]\nTitle=nanoCAD 5\n",
         L"nanoCAD", L"nanoCAD 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeUtf8(c.file);
        shell.messages.clear();
        std::unique_ptr<MainWindow> f;
        ASSERT_NO_THROW(f = start());
        EXPECT_EQ(f->targetCad().name, c.target);
        EXPECT_EQ(f->targetCad().windowTitle, c.windowTitle);
        EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ " + c.target + L" ]");
        EXPECT_EQ(menuNames(f->form().systemMenu().at(1).items).at(c.target == L"nanoCAD" ? 0 : 2), L"*" + c.target);
        EXPECT_TRUE(shell.messages.empty());
    }
}

// A failure nobody expected while the settings are read: the window starts all the same,
// with what was read and the defaults for the rest, the failure named in the one start
// message, and the file left as it was at the end.
TEST_F(Settings, AFailureWhileReadingIsNamedAndTheFileIsKept) {
    struct FailingShell : testing_support::FakeShell {
        desktop::ScreenRect primaryWorkArea() override { throw std::runtime_error("work area unknown"); }
    } failing;
    failing.program = shell.program;
    const std::string old = base::toUtf8(L"[MORVEL]\r\nmvLayer=図枠\r\nBlockWaku=1\r\n");
    writeBytes(old);
    std::unique_ptr<MainWindow> f;
    ASSERT_NO_THROW(f = std::make_unique<MainWindow>(widgets, failing));
    EXPECT_EQ(f->framePage.layer->text(), L"MORVEL") << "the rest keeps its default";
    EXPECT_EQ(f->form().text(), L"Quillon 2.06 [ nanoCAD ]");
    ASSERT_EQ(failing.messages.size(), 1u);
    EXPECT_NE(failing.messages[0].find(ini.wstring()), std::wstring::npos);
    EXPECT_NE(failing.messages[0].find(L"work area unknown"), std::wstring::npos) << base::toUtf8(failing.messages[0]);
    f->windowDestroyed();
    EXPECT_EQ(bytes(), old);
    EXPECT_EQ(failing.messages.size(), 1u);
}

// The switches the README shows the user (ShowGrid, BlockWaku, PlotToFile) read the usual
// words for on and off in any letter case; a value that is none of them is named in the
// one start message with the CAD sections, starts off, and stays in the file as written.
TEST_F(Settings, TheUsersSwitchesReadWordsAndAnUnreadableValueIsNamedAndKept) {
    struct Case {
        const wchar_t* value;
        bool on;
    };
    const Case cases[] = {{L"1", true},    {L"0", false},    {L"true", true}, {L"FALSE", false}, {L"Yes", true},
                          {L"no", false},  {L"ON", true},    {L"Off", false}, {L"0x1", true},    {L"2", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(base::toUtf8(c.value));
        const std::wstring v = c.value;
        writeUtf8(L"[MORVEL]\r\nShowGrid=" + v + L"\r\nBlockWaku=" + v + L"\r\nPlotToFile=" + v + L"\r\n");
        shell.messages.clear();
        auto f = start();
        EXPECT_EQ(f->gridPageShown(), c.on);
        EXPECT_EQ(f->blockFrames(), c.on);
        EXPECT_EQ(f->fileOutput.on, c.on);
        EXPECT_EQ(f->form().systemMenu().at(3).checked, c.on);
        EXPECT_TRUE(shell.messages.empty());
        f->windowDestroyed();
        const std::wstring flag = c.on ? L"1" : L"0";
        for (const wchar_t* key : {L"ShowGrid=", L"BlockWaku=", L"PlotToFile="})
            EXPECT_NE(written().find(L"\r\n" + (key + flag) + L"\r\n"), std::wstring::npos) << base::toUtf8(key);
    }

    writeUtf8(L"[MORVEL]\r\nShowGrid=ja\r\nBlockWaku=maybe\r\nPlotToFile=はい\r\n"
              L"[CAD:NoObject]\r\nTitle=X\r\n");
    shell.messages.clear();
    auto f = start();
    EXPECT_FALSE(f->gridPageShown());
    EXPECT_FALSE(f->blockFrames());
    EXPECT_FALSE(f->fileOutput.on);
    ASSERT_EQ(shell.messages.size(), 1u);
    const std::wstring& m = shell.messages[0];
    for (const wchar_t* named : {L"ShowGrid=ja", L"BlockWaku=maybe", L"PlotToFile=はい", L"[CAD:NoObject] は使えません"})
        EXPECT_NE(m.find(named), std::wstring::npos) << base::toUtf8(named);
    // Turned on in the session, a switch is written as the window has it.
    ASSERT_TRUE(f->form().userChooseMenuItem(2));
    f->windowDestroyed();
    const std::wstring text = written();
    for (const wchar_t* kept : {L"\r\nShowGrid=ja\r\n", L"\r\nBlockWaku=1\r\n", L"\r\nPlotToFile=はい\r\n"})
        EXPECT_NE(text.find(kept), std::wstring::npos) << base::toUtf8(kept) << base::toUtf8(text);
}

}  // namespace
