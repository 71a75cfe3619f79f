// Numbers and strings written into the stand-in's journal and trace.
#pragma once

#include <string>
#include <string_view>

namespace sim {

// The shortest decimal form that reads back to the same double.
std::string numberText(double value);
// A JSON string literal (UTF-8, quotes and control characters escaped).
std::string jsonString(std::wstring_view text);

}  // namespace sim
