// Which plot-style tables are colour-dependent: the layout applies a table's styles only
// for those.
#pragma once

#include <string>
#include <string_view>

namespace plot {

// The file-name extension of `name`: from its last "." on, the dot included, provided no
// "\" or ":" follows that dot; empty when there is none.
std::wstring_view fileExtension(std::wstring_view name);

// True when the extension of `name`, ASCII letters upper-cased, is ".CTB".
bool isColourStyleTable(std::wstring_view name);

}  // namespace plot
