// The general number form, the "X,Y" pair reading and the grid's counting and hit rules.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/numbers.h"
#include "sheets/grid_model.h"

namespace {

TEST(GeneralNumberForm, ShortestFormUpToFifteenDigits) {
    const base::NumberFormat dot{L'.'}, comma{L','};
    struct Case {
        double value;
        base::NumberFormat format;
        const wchar_t* text;
    };
    const Case cases[] = {
        {50, dot, L"50"},
        {2.5, dot, L"2.5"},
        {250.5, dot, L"250.5"},
        {200.25, dot, L"200.25"},
        {100, dot, L"100"},
        {0.1 + 0.2, dot, L"0.3"},                            // 0.30000000000000004 at 15 digits
        {1.0 / 3, dot, L"0.333333333333333"},
        {2.0 / 3, dot, L"0.666666666666667"},
        {-420, dot, L"-420"},
        {-0.5, dot, L"-0.5"},
        {0.0, dot, L"0"},
        {-0.0, dot, L"0"},
        {123456789012345, dot, L"123456789012345"},          // 15 digits before the point
        {1e14, dot, L"100000000000000"},
        {1e15, dot, L"1E15"},
        {1.5e15, dot, L"1.5E15"},
        {999999999999999.9, dot, L"1E15"},                   // rounds up into scientific
        {1e100, dot, L"1E100"},
        {0.00001, dot, L"0.00001"},
        {0.0000123, dot, L"0.0000123"},
        {0.0000099999999999999999, dot, L"0.00001"},         // rounds up out of scientific
        {1.5e-6, dot, L"1.5E-6"},
        {-2.25e-300, dot, L"-2.25E-300"},
        {1234.5, comma, L"1234,5"},
        {1.5e-7, comma, L"1,5E-7"},
    };
    for (const Case& c : cases) EXPECT_EQ(base::formatGeneral(c.value, c.format), c.text) << c.value;
}

TEST(GeneralNumberForm, FollowsTheProcessSettings) {
    {
        base::ScopedNumberFormat german({L','});
        EXPECT_EQ(base::formatGeneral(2.5), L"2,5");
    }
    EXPECT_EQ(base::formatGeneral(2.5), L"2.5");
}

TEST(GridPair, SplitAtTheFirstCommaEachSideTrimmed) {
    struct Case {
        const wchar_t* text;
        grid::Pair expected;
    };
    const Case cases[] = {
        {L"420,300", {420, 300}},
        {L" 250.5 , 0 ", {250.5, 0}},
        {L"420", {0, 0}},             // no comma: both 0
        {L"", {0, 0}},
        {L"abc,300", {0, 300}},       // each side on its own
        {L"420,", {420, 0}},
        {L"1,2,3", {1, 0}},           // "2,3" is not a number
        {L"-5,1e3", {-5, 1000}},
    };
    for (const Case& c : cases) EXPECT_EQ(grid::readPair(c.text), c.expected) << std::wstring(c.text).size();
}

TEST(GridCount, WholeStepsPlusOneBeyondATenth) {
    struct Case {
        const char* name;
        double extentMax, base, spacing;
        std::optional<int> count;
    };
    const Case cases[] = {
        {"exact three steps", 1260, 0, 420, 3},
        {"rest 42 is not beyond a tenth", 1302, 0, 420, 3},
        {"rest 43 is", 1303, 0, 420, 4},
        {"less than one step", 100, 0, 420, 1},
        {"rows: 597 over 300", 597, 0, 300, 2},
        {"base at the extent", 1260, 1260, 420, 0},
        {"base beyond the extent", 1000, 1260, 420, 0},
        {"base far beyond", -5000, 0, 420, 0},
        {"offset base", 1300, 40, 420, 3},
        {"too many cells", 1e9, 0, 1, std::nullopt},
        {"tiny spacing", 1000, 0, 1e-300, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(grid::cellCount(c.extentMax, c.base, c.spacing), c.count) << c.name;
}

TEST(GridCount, HitNeedsAPointStrictlyInsideAPitch) {
    struct Case {
        const char* name;
        double w, base, spacing;
        int count;
        std::optional<int> hit;
    };
    const Case cases[] = {
        {"second column", 500, 0, 420, 3, 1},
        {"first column", 1, 0, 420, 3, 0},
        {"on an edge", 420, 0, 420, 3, std::nullopt},
        {"on the base", 0, 0, 420, 3, std::nullopt},
        {"left of the base", -1, 0, 420, 3, std::nullopt},
        {"beyond the last", 1261, 0, 420, 3, std::nullopt},
        {"inside the last", 1259, 0, 420, 3, 2},
        {"no spacing", 500, 0, 0, 3, std::nullopt},
        {"no cells", 500, 0, 420, 0, std::nullopt},
        {"rows, the 3-unit gap", 598, 0, 300, 2, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(grid::hitInterval(c.w, c.base, c.spacing, c.count), c.hit) << c.name;
}

TEST(GridMarks, PenAndInsetFollowTheMonitorScale) {
    struct Case {
        int factor, pen, inset;
    };
    const Case cases[] = {{100, 3, 2}, {125, 3, 2}, {150, 4, 3}, {200, 6, 4}, {50, 3, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(grid::markPen(c.factor), c.pen) << c.factor;
        EXPECT_EQ(grid::contentInset(c.factor), c.inset) << c.factor;
    }
}

}  // namespace
