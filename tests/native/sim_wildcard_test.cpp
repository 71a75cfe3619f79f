// The host's wildcard patterns for selection filters.
#include <gtest/gtest.h>

#include <string>

#include "sim/model/wildcard.h"

namespace {

struct Case {
    const wchar_t* pattern;
    const wchar_t* text;
    bool matches;
};

class SimWildcard : public testing::TestWithParam<Case> {};

TEST_P(SimWildcard, Matches) {
    const Case& c = GetParam();
    std::wstring p = c.pattern, t = c.text;
    EXPECT_EQ(sim::wildcardMatch(c.pattern, c.text), c.matches)
        << std::string(p.begin(), p.end()) << " against " << std::string(t.begin(), t.end());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimWildcard,
    testing::Values(
        // Whole text, letter case ignored.
        Case{L"MORVEL", L"MORVEL", true}, Case{L"MORVEL", L"morvel", true}, Case{L"MORVEL", L"MORVEL2", false},
        Case{L"MORVEL", L"XMORVEL", false}, Case{L"MORVEL ", L"MORVEL", false}, Case{L"", L"", true},
        Case{L"", L"A", false}, Case{L"stra\u00DFe", L"STRA\u00DFE", true}, Case{L"\u00E4", L"\u00C4", true},
        Case{L"\u0431", L"\u0411", true}, Case{L"\u56F3\u9762", L"\u56F3\u9762", true}, Case{L"\u56F3", L"\u9762", false},
        // * and ?
        Case{L"*POLYLINE", L"LWPOLYLINE", true}, Case{L"*POLYLINE", L"POLYLINE", true},
        Case{L"*POLYLINE", L"POLYLINES", false}, Case{L"*", L"", true}, Case{L"A*B*C", L"AxxBxxC", true},
        Case{L"A*B*C", L"AxxCxxB", false}, Case{L"?", L"", false}, Case{L"??", L"\u56F3\u9762", true},
        Case{L"?", L"\U0001F600", true},  // one character, even where it takes two UTF-16 units
        // # digit, @ letter, . neither
        Case{L"A#", L"A1", true}, Case{L"A#", L"AB", false}, Case{L"@1", L"x1", true}, Case{L"@1", L"_1", false},
        Case{L"@", L"\u56F3", true}, Case{L"A.B", L"A-B", true}, Case{L"A.B", L"A B", true}, Case{L"A.B", L"AxB", false},
        Case{L"A.B", L"A1B", false},
        // ~ negates, , separates
        Case{L"~MORVEL", L"OTHER", true}, Case{L"~MORVEL", L"morvel", false}, Case{L"~*LINE", L"CIRCLE", true},
        Case{L"LINE,ARC", L"ARC", true}, Case{L"LINE,ARC", L"CIRCLE", false}, Case{L"A*,~B*", L"Cx", true},
        Case{L"A*,~*", L"Cx", false}, Case{L"A~B", L"A~B", true},
        // sets and escapes
        Case{L"[AB]1", L"b1", true}, Case{L"[AB]1", L"C1", false}, Case{L"[~AB]1", L"C1", true},
        Case{L"[~AB]1", L"A1", false}, Case{L"L[0-9]", L"L7", true}, Case{L"L[0-9]", L"LX", false},
        Case{L"`*", L"*", true}, Case{L"`*", L"A", false}, Case{L"A`,B", L"A,B", true}, Case{L"[AB", L"[AB", true}));

}  // namespace
