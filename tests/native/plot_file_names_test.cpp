// The names of plotted files: the pattern's tokens, what a file name cannot hold, and
// names kept apart from those used in the run and those already in the folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "sheets/sheet_names.h"

namespace {

using plot::SheetFields;

TEST(PlotFileNames, TokensFillThePatternAndWhatNoFileNameHoldsIsReplaced) {
    const std::vector<cad::BlockAttribute> attributes = {{L"TITLE", L"1F 平面図"}, {L"SHEET_NO", L"A-101"}};
    const std::vector<cad::BlockAttribute> nulTitle = {{L"TITLE", L"Nul "}};
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
        // Device names once the spaces and dots after them are set aside, and the less
        // known ones: the console's, and COM and LPT with superscript digits.
        {L"NUL .x", sheet, L"NUL_ .x"},
        {L"AUX  .sheet", sheet, L"AUX_  .sheet"},
        {L"prn . .", sheet, L"prn_"},
        {L"conin$", sheet, L"conin$_"},
        {L"CONOUT$.pdf", sheet, L"CONOUT$_.pdf"},
        {L"COM\u00B9", sheet, L"COM\u00B9_"},
        {L"com\u00B2 .a", sheet, L"com\u00B2_ .a"},
        {L"LPT\u00B3", sheet, L"LPT\u00B3_"},
        {L"{attr:TITLE}", SheetFields{L"", 1, L"", &nulTitle}, L"Nul_"},
        {L"CONIN", sheet, L"CONIN"},
        {L"NULL .x", sheet, L"NULL .x"},
        {L"COM\u2074", sheet, L"COM\u2074"},  // superscript 4 names no port
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

// The length of a path as the system counts it, in UTF-16 units.
std::size_t utf16Length(const std::wstring& text) {
    std::size_t n = 0;
    for (wchar_t c : text) n += static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
    return n;
}

// A path that would pass the system's 259 units is shortened in its free text, the longest
// of the drawing's name, the date and the attributes first, the pattern's own text last, so that the host is never handed a name it refuses for its length; the
// sheet's number, the copy number and the extension stay.
TEST(PlotFileNames, ANameTooLongForItsFolderIsShortenedInItsFreeText) {
    const std::wstring folder = L"C:\\out";  // with its separator 7 units, with ".pdf" 11: 248 left
    const std::vector<cad::BlockAttribute> longTitle = {{L"TITLE", std::wstring(400, L'T')}};
    const std::wstring kanji = L"\U00020BB7";  // one character, two UTF-16 units
    std::wstring kanjiName;
    for (int i = 0; i < 200; ++i) kanjiName += kanji;
    struct Case {
        const char* what;
        std::wstring pattern;
        SheetFields fields;
        bool taken;  // the first name is there already
        std::wstring name;
    };
    const Case cases[] = {
        {"fits_exactly", L"{drawing}-{n:02}", {std::wstring(245, L'a'), 7, L"", nullptr}, false,
         std::wstring(245, L'a') + L"-07"},
        {"one_over", L"{drawing}-{n:02}", {std::wstring(246, L'a'), 7, L"", nullptr}, false,
         std::wstring(245, L'a') + L"-07"},
        {"long_drawing_name", L"{drawing}-{n:02}", {std::wstring(300, L'a'), 7, L"", nullptr}, false,
         std::wstring(245, L'a') + L"-07"},
        {"longest_part_first", L"{attr:TITLE}_{n}_{date}", {L"plan", 7, L"20261211", &longTitle}, false,
         std::wstring(237, L'T') + L"_7_20261211"},
        {"copy_number_kept", L"{drawing}-{n:02}", {std::wstring(300, L'a'), 7, L"", nullptr}, true,
         std::wstring(241, L'a') + L"-07 (2)"},
        {"no_half_characters", L"{drawing}-{n:02}", {kanjiName, 7, L"", nullptr}, false,
         kanjiName.substr(0, kanjiName.size() == 200 ? 122 : 244) + L"-07"},
        {"number_first", L"{n:03} {drawing}", {std::wstring(300, L'a'), 7, L"", nullptr}, false,
         L"007 " + std::wstring(244, L'a')},
        {"the_patterns_own_text_last", std::wstring(250, L'y') + L"-{drawing}-{n:02}",
         {std::wstring(10, L'a'), 7, L"", nullptr}, false, std::wstring(245, L'y') + L"-07"},
        {"pattern_text_alone", std::wstring(300, L'y') + L"{n:02}", {L"", 7, L"", nullptr}, false,
         std::wstring(246, L'y') + L"07"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring first = folder + L"\\" + plot::sheetBaseName(c.pattern, c.fields, 248) + L".pdf";
        plot::SheetFileNames names(folder, L".pdf", [&](const std::wstring& path) { return c.taken && path == first; });
        const std::wstring path =
            names.next([&](std::size_t room) { return plot::sheetBaseName(c.pattern, c.fields, room); });
        EXPECT_EQ(path, folder + L"\\" + c.name + L".pdf");
        EXPECT_LE(utf16Length(path), plot::kMaxPathLength);
    }
}

}  // namespace
