// The names of plotted files: the pattern's tokens, what a file name cannot hold, and
// names kept apart from those used in the run and those already in the folder.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "sheets/sheet_names.h"

namespace {

using plot::SheetFields;

TEST(PlotFileNames, TokensFillThePatternAndWhatNoFileNameHoldsIsReplaced) {
    const std::vector<cad::BlockAttribute> attributes = {{L"TITLE", L"1F 平面図"}, {L"SHEET_NO", L"A-101"}};
    SheetFields sheet{L"plan", 7, L"20261211", nullptr};
    SheetFields block = sheet;
    block.attributes = &attributes;
    struct Case {
        const wchar_t* pattern;
        const SheetFields& fields;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"{drawing}-{n:02}", sheet, L"plan-07"},
        {L"{drawing}-{n}", sheet, L"plan-7"},
        {L"{n:04}_{date}", sheet, L"0007_20261211"},
        {L"{n:01}", sheet, L"7"},
        {L"{attr:SHEET_NO} {attr:title}", block, L"A-101 1F 平面図"},  // tags in any letter case
        {L"{drawing}-{attr:SHEET_NO}", sheet, L"plan-"},                // a polyline frame has none
        {L"{drawing}-{attr:MISSING}", block, L"plan-"},
        {L"a/b\\c:d*e?f\"g<h>i|j", sheet, L"a_b_c_d_e_f_g_h_i_j"},
        {L"tab\there", sheet, L"tab_here"},
        {L"{attr:TITLE}", SheetFields{L"", 1, L"", &attributes}, L"1F 平面図"},
        {L"ends with dots and spaces. . ", sheet, L"ends with dots and spaces"},
        {L"{attr:MISSING}", sheet, L"7"},  // nothing left: the sheet's number
        {L"con", sheet, L"con_"},
        {L"LPT1.sheet", sheet, L"LPT1_.sheet"},
        {L"COM10", sheet, L"COM10"},
        {L"braces } alone", sheet, L"braces } alone"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(plot::patternProblem(c.pattern), std::nullopt) << c.pattern;
        EXPECT_EQ(plot::sheetBaseName(c.pattern, c.fields), c.expected) << c.pattern;
    }
    EXPECT_TRUE(plot::patternUsesAttributes(L"{n}-{attr:TITLE}"));
    EXPECT_FALSE(plot::patternUsesAttributes(plot::kDefaultNamePattern));
}

TEST(PlotFileNames, APatternWithAnUnknownOrUnclosedTokenIsNamed) {
    for (const wchar_t* bad : {L"{drawing}-{no}", L"{n:2}", L"{n:00}", L"{attr:}", L"{Drawing}", L"{drawing"}) {
        const std::optional<std::wstring> problem = plot::patternProblem(bad);
        ASSERT_TRUE(problem.has_value()) << bad;
        EXPECT_NE(problem->find(bad), std::wstring::npos) << *problem;
    }
}

TEST(PlotFileNames, ExtensionsAndDrawingNames) {
    EXPECT_EQ(plot::plotFileExtension(L"DWG To PDF.pc3"), L".pdf");
    EXPECT_EQ(plot::plotFileExtension(L"pdf"), L".pdf");
    EXPECT_EQ(plot::plotFileExtension(L"HP DesignJet 500"), L".plt");
    EXPECT_EQ(plot::drawingStem(L"plan.v2.dwg"), L"plan.v2");
    EXPECT_EQ(plot::drawingStem(L"plan"), L"plan");
    EXPECT_EQ(plot::joinPath(L"C:\\out", L"a.pdf"), L"C:\\out\\a.pdf");
    EXPECT_EQ(plot::joinPath(L"C:\\out\\", L"a.pdf"), L"C:\\out\\a.pdf");
}

// A name used in the run, or a file already there, is never written over: " (2)", " (3)"
// ... before the extension, letter case set aside.
TEST(PlotFileNames, NamesClashingInTheRunOrWithFilesThereGetANumber) {
    const std::set<std::wstring> there = {L"C:\\out\\plan-01.pdf", L"C:\\out\\plan-02.pdf",
                                          L"C:\\out\\plan-02 (2).pdf"};
    plot::SheetFileNames names(L"C:\\out", L".pdf", [&](const std::wstring& path) { return there.count(path) > 0; });
    EXPECT_EQ(names.next(L"plan-01"), L"C:\\out\\plan-01 (2).pdf");
    EXPECT_EQ(names.next(L"plan-02"), L"C:\\out\\plan-02 (3).pdf");
    EXPECT_EQ(names.next(L"plan-03"), L"C:\\out\\plan-03.pdf");
    EXPECT_EQ(names.next(L"PLAN-03"), L"C:\\out\\PLAN-03 (2).pdf");
    EXPECT_EQ(names.next(L"plan-03"), L"C:\\out\\plan-03 (3).pdf");
}

}  // namespace
