// Cases of the combo box rules that every widget backend keeps: the in-memory one in the
// native tests and the Win32 one under Wine run this same table.
#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "ui/widgets.h"

namespace widget_cases {

struct ComboCase {
    const char* what;
    ui::ComboStyle style;
    bool byText;  // set the text instead of the item index
    int index;
    std::wstring text;
    int wantIndex;
    std::wstring wantText;
};

inline void PrintTo(const ComboCase& c, std::ostream* os) { *os << c.what; }

// Items "0", "90", "180", "270".
inline auto comboCases() {
    using ui::ComboStyle;
    return ::testing::Values(
        ComboCase{"pick in range", ComboStyle::PickOnly, false, 2, L"", 2, L"180"},
        ComboCase{"pick past the end", ComboStyle::PickOnly, false, 4, L"", -1, L""},
        ComboCase{"pick far past the end", ComboStyle::PickOnly, false, 7, L"", -1, L""},
        ComboCase{"pick below -1", ComboStyle::PickOnly, false, -5, L"", -1, L""},
        ComboCase{"pick none", ComboStyle::PickOnly, false, -1, L"", -1, L""},
        ComboCase{"pick text of an entry", ComboStyle::PickOnly, true, 0, L"270", 3, L"270"},
        ComboCase{"pick text of no entry", ComboStyle::PickOnly, true, 0, L"45", -1, L""},
        ComboCase{"edit index past the end", ComboStyle::Editable, false, 4, L"", -1, L""},
        ComboCase{"edit text of no entry", ComboStyle::Editable, true, 0, L"45", -1, L"45"},
        ComboCase{"edit text of an entry", ComboStyle::Editable, true, 0, L"0", 0, L"0"});
}

inline std::string comboCaseName(const ::testing::TestParamInfo<ComboCase>& info) {
    std::string n = info.param.what;
    for (char& ch : n)
        if (ch == ' ' || ch == '-') ch = '_';
    return n;
}

}  // namespace widget_cases
