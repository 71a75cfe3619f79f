// Names compared without regard to letter case: a saved device, paper or style-table
// name found in a list as the CAD host spells them, settings keys, automation member
// names. One folding, from one explicit table, serves them all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace base {

// The lower-case form of a letter of the Latin (ASCII, Latin-1, Latin Extended-A,
// full-width), Greek and Cyrillic alphabets; every other character as it is. The one
// case folding of the program and its stand-in.
char32_t foldCase(char32_t c);

// True when the two names are equal once letter case is set aside (foldCase, unit by
// unit: every letter it folds is a single UTF-16 unit).
bool sameNameIgnoringCase(std::wstring_view a, std::wstring_view b);

// The index of the first entry, from the top, equal to `name` ignoring case; -1 when none.
int indexOfName(const std::vector<std::wstring>& entries, std::wstring_view name);

}  // namespace base
