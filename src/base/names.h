// Finding a saved device, paper or style-table name in a list of names as the CAD host
// spells them, without regard to letter case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace base {

// True when the two names are equal once letter case is set aside. Case is folded for
// the Latin letters (ASCII, Latin-1, full-width), Greek and Cyrillic; other characters
// compare as they are.
bool sameNameIgnoringCase(std::wstring_view a, std::wstring_view b);

// The index of the first entry, from the top, equal to `name` ignoring case; -1 when none.
int indexOfName(const std::vector<std::wstring>& entries, std::wstring_view name);

}  // namespace base
