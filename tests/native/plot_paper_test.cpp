// Paper sizes, print scales and the numbers they read and write: the lookup, the drawing
// sheet size, the grid print scale through "再計算" on the main window, the frame print
// scale, tolerant number reading and "%.4f", also under a comma decimal separator.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

#include "app/main_window.h"
#include "app/main_window.h"
#include "base/numbers.h"
#include "sheets/grid_model.h"
#include "sheets/paper_sizes.h"
#include "sheets/print_scale.h"
#include "support/fake_shell.h"
#include "support/memory_widgets.h"

namespace {

using base::NumberFormat;

constexpr NumberFormat kPoint{L'.'}, kComma{L','};

TEST(NumberText, ReadsDecimalNumbersAndNothingElse) {
    struct Case {
        const wchar_t* text;
        NumberFormat format;
        std::optional<double> value;
    } cases[] = {
        {L"1", kPoint, 1},          {L" 50 ", kPoint, 50},      {L"\t7\r\n", kPoint, 7},
        {L"1.5", kPoint, 1.5},      {L"-1", kPoint, -1},        {L"+2.5", kPoint, 2.5},
        {L".5", kPoint, 0.5},       {L"5.", kPoint, 5},         {L"1e3", kPoint, 1000},
        {L"2.5E-2", kPoint, 0.025}, {L"1e+2", kPoint, 100},     {L"007", kPoint, 7},
        {L"1,5", kComma, 1.5},      {L"-0,25", kComma, -0.25},  {L" 1,5e1 ", kComma, 15},
        {L"1.5", kComma, {}},       {L"1,5", kPoint, {}},       {L"420,300", kPoint, {}},
        {L"", kPoint, {}},          {L"   ", kPoint, {}},       {L".", kPoint, {}},
        {L"-", kPoint, {}},         {L"abc", kPoint, {}},       {L"1e", kPoint, {}},
        {L"e5", kPoint, {}},        {L"1.2.3", kPoint, {}},     {L"--1", kPoint, {}},
        {L"1 2", kPoint, {}},       {L"12abc", kPoint, {}},     {L"0x10", kPoint, {}},
        {L"inf", kPoint, {}},       {L"nan", kPoint, {}},       {L"1e999", kPoint, {}},
        {L"\uFF11", kPoint, {}},    {L"1,000.5", kPoint, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(base::parseNumber(c.text, c.format), c.value)
            << "'" << testing::PrintToString(std::wstring(c.text)) << "' with '" << char(c.format.decimalSeparator) << "'";
        EXPECT_EQ(base::readNumber(c.text, -42, c.format), c.value.value_or(-42));
    }
}

TEST(NumberText, WritesFourDecimals) {
    struct Case {
        double value;
        NumberFormat format;
        const wchar_t* text;
    } cases[] = {
        {420.0 / 297.0, kPoint, L"1.4141"},
        {100.0 * 841.0 / 420.0, kPoint, L"200.2381"},
        {8410.0 / 420.0, kPoint, L"20.0238"},
        {1, kPoint, L"1.0000"},
        {100, kPoint, L"100.0000"},
        {0.00005, kPoint, L"0.0001"},  // the double lies just above the half
        {0.00004999, kPoint, L"0.0000"},
        {-2.5, kPoint, L"-2.5000"},
        {1e20, kPoint, L"100000000000000000000.0000"},
        {420.0 / 297.0, kComma, L"1,4141"},
        {1234567.125, kComma, L"1234567,1250"},
        {std::numeric_limits<double>::quiet_NaN(), kPoint, L"NAN"},
        {std::numeric_limits<double>::infinity(), kPoint, L"INF"},
    };
    for (const auto& c : cases) EXPECT_EQ(base::formatFixed4(c.value, c.format), c.text) << c.value;
}

TEST(NumberText, ProcessSettingsCanBeReplacedForATest) {
    EXPECT_EQ(base::processNumberFormat().decimalSeparator, L'.');
    {
        base::ScopedNumberFormat comma(kComma);
        EXPECT_EQ(base::readNumber(L"2,5", 0), 2.5);
        EXPECT_EQ(base::readNumber(L"2.5", 0), 0);
        EXPECT_EQ(base::formatFixed4(2.5), L"2,5000");
    }
    EXPECT_EQ(base::readNumber(L"2.5", 0), 2.5);
    EXPECT_EQ(base::formatFixed4(2.5), L"2.5000");
}

TEST(PaperSize, TableHoldsIsoAAndJisB) {
    const double longSides[] = {1189, 841, 594, 420, 297, 210, 148, 105, 74, 52,
                                1456, 1030, 728, 515, 364, 257, 182, 128, 91, 64};
    const double shortSides[] = {841, 594, 420, 297, 210, 148, 105, 74, 52, 37,
                                 1030, 728, 515, 364, 257, 182, 128, 91, 64, 45};
    const auto& table = plot::paperSizes();
    for (std::size_t k = 0; k < table.size(); ++k) {
        const std::wstring code{k < 10 ? L'A' : L'B', static_cast<wchar_t>(L'0' + k % 10)};
        EXPECT_EQ(table[k].series, code[0]);
        EXPECT_EQ(table[k].digit, static_cast<int>(k % 10));
        const std::optional<plot::SheetSize> size = plot::findPaperSize(code, 0);
        ASSERT_TRUE(size);
        EXPECT_EQ(size->width, longSides[k]) << testing::PrintToString(code);
        EXPECT_EQ(size->height, shortSides[k]) << testing::PrintToString(code);
    }
}

TEST(PaperSize, FindsTheFirstCodeInTableOrder) {
    struct Case {
        const wchar_t* name;
        int orientation;
        bool found;
        double width, height;
    } cases[] = {
        {L"A3", 0, true, 420, 297},
        {L"A3", 1, true, 297, 420},
        {L"A3", -1, true, 420, 297},
        {L"A3", 2, true, 297, 420},
        {L"B4", 0, true, 364, 257},
        {L"B9", 1, true, 45, 64},
        {L"A9", 0, true, 52, 37},
        {L"ISO A4 (210 x 297 mm)", 0, true, 297, 210},
        {L"ISO_A4_(210.00_x_297.00_MM)", 1, true, 210, 297},
        {L"A10", 0, true, 841, 594},
        {L"JIS B5 / A3", 0, true, 420, 297},
        {L"A3 and A2", 0, true, 594, 420},
        {L"B1 B0", 0, true, 1456, 1030},
        {L"a4", 0, false, 0, 0},
        {L"b4", 0, false, 0, 0},
        {L"Letter", 0, false, 0, 0},
        {L"", 0, false, 0, 0},
        {L"Ａ４", 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<plot::SheetSize> size = plot::findPaperSize(c.name, c.orientation);
        EXPECT_EQ(size.has_value(), c.found) << testing::PrintToString(std::wstring(c.name));
        const double w = size ? size->width : 0, h = size ? size->height : 0;
        EXPECT_EQ(w, c.width) << testing::PrintToString(std::wstring(c.name)) << " " << c.orientation;
        EXPECT_EQ(h, c.height) << testing::PrintToString(std::wstring(c.name)) << " " << c.orientation;
    }
}

TEST(PrintScale, FrameScaleFitsTheLongerSideToThePapersLongSide) {
    auto box = [](double w, double h) {
        frames::FrameRect f;
        f.minx = 1000;
        f.miny = -500;
        f.maxx = 1000 + w;
        f.maxy = -500 + h;
        return f;
    };
    struct Case {
        double w, h;
        const wchar_t* paper;
        bool found;
        const wchar_t* scale;  // "%.4f"
        bool landscape;
    } cases[] = {
        {42000, 29700, L"ISO A3 (420.00 x 297.00 MM)", true, L"100.0000", true},
        {29700, 42000, L"A3", true, L"100.0000", false},
        {8410, 8410, L"A3", true, L"20.0238", false},
        {420, 600, L"A3", true, L"1.4286", false},  // the longer side decides, even past the short one
        {297, 210, L"A4", true, L"1.0000", true},
        {36400, 100, L"JIS B4", true, L"100.0000", true},
        {42000, 29700, L"Letter", false, L"", false},
        {42000, 29700, L"", false, L"", false},
    };
    for (const auto& c : cases) {
        const plot::FrameScale s = plot::framePrintScale(box(c.w, c.h), c.paper);
        EXPECT_EQ(s.found, c.found) << c.w << " x " << c.h;
        if (!c.found) continue;
        EXPECT_EQ(base::formatFixed4(s.scale), c.scale) << c.w << " x " << c.h;
        EXPECT_EQ(s.landscape, c.landscape) << c.w << " x " << c.h;
    }
}

// The main window with in-memory controls, and the equal-interval page's scale inputs.
struct PrintScaleOnTheForm : ::testing::Test {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("quillon-scale-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
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

    // Papers as the device list fills them; `chosen` -1 for none.
    void papers(ui::ComboBox& box, std::vector<std::wstring> names, int chosen) {
        box.setItems(std::move(names));
        box.setItemIndex(chosen);
    }
};

TEST_F(PrintScaleOnTheForm, RecalculateWritesTheGridScaleOrExplainsWhyNot) {
    const std::wstring kept = L"7.7777";
    const std::wstring message = L"尺度自動計算の用紙サイズは A0～A9.B0～B9 のみです．\n手動で尺度を計算して下さい．";
    struct Case {
        const char* what;
        const wchar_t *spacing, *drawingScale, *sheet;
        int orientation;
        std::vector<std::wstring> papers;
        int chosen;
        std::wstring edit3;  // after the click
        bool message;
        NumberFormat format = kPoint;
    } cases[] = {
        {"A3 sheet on A4 paper", L"420,300", L"1", L"A3", 0, {L"Letter", L"ISO A4 (210 x 297 mm)"}, 1, L"1.4141", false},
        {"A1 sheet at 1:100 on A3 paper", L"420,300", L"100", L"A1", 0, {L"A3"}, 0, L"200.2381", false},
        {"the same size on its own paper", L"420,300", L"1", L"A4", 0, {L"A4"}, 0, L"1.0000", false},
        {"orientation plays no part", L"420,300", L"1", L"A3", 1, {L"A4"}, 0, L"1.4141", false},
        {"spacing sides are trimmed", L" 420 , 300 ", L"1", L"A3", 0, {L"A4"}, 0, L"1.4141", false},
        {"a drawing scale that is not a number reads as 1", L"420,300", L"abc", L"A3", 0, {L"A4"}, 0, L"1.4141", false},
        {"no comma in the spacing: the paper is not looked up", L"420", L"1", L"A3", 0, {L"A4"}, 0, kept, true},
        {"a spacing of 0", L"0,300", L"1", L"A3", 0, {L"A4"}, 0, kept, true},
        {"a spacing that is not a number", L"420,y", L"1", L"A3", 0, {L"A4"}, 0, kept, true},
        {"a paper without an A or B size", L"420,300", L"1", L"A3", 0, {L"Letter"}, 0, kept, true},
        {"no paper chosen", L"420,300", L"1", L"A3", 0, {L"A4"}, -1, kept, false},
        {"no paper chosen and no comma", L"420", L"1", L"A3", 0, {}, -1, kept, false},
        {"drawing scale 0", L"420,300", L"0", L"A3", 0, {L"A4"}, 0, kept, false},
        {"drawing scale below 0", L"420,300", L"-1", L"A3", 0, {L"B4"}, 0, kept, false},
        {"a sheet size without a code", L"420,300", L"1", L"Letter", 0, {L"A4"}, 0, kept, false},
        {"a scale too large for a double", L"420,300", L"1e308", L"A0", 0, {L"A9"}, 0, kept, false},
        {"comma decimals: read and written with a comma", L"420,300", L"1,5", L"A3", 0, {L"A4"}, 0, L"2,1212", false,
         kComma},
        {"comma decimals: a point is not a decimal", L"420,300", L"1.5", L"A3", 0, {L"A4"}, 0, L"1,4141", false, kComma},
    };
    for (const auto& c : cases) {
        base::ScopedNumberFormat format(c.format);
        f->gridPage.spacing->setText(c.spacing);
        f->gridPage.drawingScale->setText(c.drawingScale);
        f->gridPage.sheetSize->setText(c.sheet);
        f->gridPage.sheetOrientation->setItemIndex(c.orientation);
        papers(*f->gridPage.paper, c.papers, c.chosen);
        papers(*f->framePage.paper, {L"A0"}, 0);  // the frame page's paper plays no part
        f->gridPage.printScale->setText(kept);
        shell.messages.clear();

        f->gridPage.recomputePrintScale();

        EXPECT_EQ(f->gridPage.printScale->text(), c.edit3) << c.what;
        EXPECT_EQ(widgets.peer("Edit3")->text, c.edit3) << c.what;
        if (c.message) {
            EXPECT_EQ(shell.messages, std::vector<std::wstring>{message}) << c.what;
        } else {
            EXPECT_TRUE(shell.messages.empty()) << c.what;
        }
    }
}

TEST_F(PrintScaleOnTheForm, DrawingSheetSizeFromSizeOrientationAndScale) {
    struct Case {
        const wchar_t* sheet;
        int orientation;
        const wchar_t* drawingScale;
        double w, h;
    } cases[] = {
        {L"A3", 0, L"50", 21000, 14850}, {L"A3", 1, L"50", 14850, 21000}, {L"A3", -1, L"50", 21000, 14850},
        {L"A3", 0, L"0", 0, 0},          {L"A3", 0, L"-1", 0, 0},         {L"A3", 0, L"abc", 420, 297},
        {L"B4", 1, L"2.5", 642.5, 910},  {L"Letter", 0, L"50", 0, 0},     {L"", 0, L"1", 0, 0},
    };
    for (const auto& c : cases) {
        f->gridPage.sheetSize->setText(c.sheet);
        f->gridPage.sheetOrientation->setItemIndex(c.orientation);
        ASSERT_EQ(f->gridPage.sheetOrientation->itemIndex(), c.orientation);  // -1: nothing chosen
        f->gridPage.drawingScale->setText(c.drawingScale);
        const grid::Layout layout = f->gridPage.layout();
        const double w = layout.sheetW, h = layout.sheetH;
        EXPECT_EQ(w, c.w) << testing::PrintToString(std::wstring(c.sheet)) << " " << c.orientation;
        EXPECT_EQ(h, c.h) << testing::PrintToString(std::wstring(c.sheet)) << " " << c.orientation;
        EXPECT_EQ(plot::cadPaperSize(c.sheet, c.orientation, c.drawingScale), (plot::SheetSize{c.w, c.h}));
    }
}

TEST_F(PrintScaleOnTheForm, FrameScaleShowsInEdit6OnlyForAKnownPaper) {
    frames::FrameRect frame;
    frame.maxx = 42000;
    frame.maxy = 29700;
    f->framePage.printScale->setText(L"old");

    papers(*f->framePage.paper, {L"Letter", L"A3"}, 0);
    EXPECT_FALSE(f->framePage.showPrintScale(frame).found);
    EXPECT_EQ(f->framePage.printScale->text(), L"old");

    papers(*f->framePage.paper, {L"Letter", L"A3"}, 1);
    const plot::FrameScale s = f->framePage.showPrintScale(frame);
    EXPECT_TRUE(s.found);
    EXPECT_TRUE(s.landscape);
    EXPECT_EQ(f->framePage.printScale->text(), L"100.0000");
    EXPECT_EQ(widgets.peer("Edit6")->text, L"100.0000");

    base::ScopedNumberFormat comma(kComma);
    frame.maxx = 8410;
    frame.maxy = 8410;
    EXPECT_FALSE(f->framePage.showPrintScale(frame).landscape);
    EXPECT_EQ(f->framePage.printScale->text(), L"20,0238");
}

}  // namespace
