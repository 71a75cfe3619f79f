// Text conversions that work the same whether wchar_t holds UTF-16 (Windows) or UTF-32.
#pragma once

#include <string>
#include <string_view>

#include "base/names.h"
#include "base/unicode.h"

namespace sim {

using base::decodeUtf8;
using base::encodeUtf8;
using base::fromCodePoints;
using base::isUtf8;
using base::toCodePoints;

// Windows-1252; the five bytes it leaves undefined map to the Latin-1 code points.
std::wstring fromAnsi(std::string_view bytes);

// Letter case set aside as the program sets it aside.
using base::foldCase;
inline bool equalsNoCase(std::wstring_view a, std::wstring_view b) { return base::sameNameIgnoringCase(a, b); }

}  // namespace sim
