// Text conversions that work the same whether wchar_t holds UTF-16 (Windows) or UTF-32.
#pragma once

#include <string>
#include <string_view>

namespace sim {

std::wstring fromCodePoints(std::u32string_view text);
std::u32string toCodePoints(std::wstring_view text);

std::string encodeUtf8(std::wstring_view text);
// Malformed sequences become U+FFFD.
std::wstring decodeUtf8(std::string_view text);
// True when the bytes are well-formed UTF-8 (plain ASCII included).
bool isUtf8(std::string_view bytes);
// Windows-1252; the five bytes it leaves undefined map to the Latin-1 code points.
std::wstring fromAnsi(std::string_view bytes);

// Letter case folded to lower case for Latin, Greek, Cyrillic and full-width letters.
char32_t foldCase(char32_t c);
bool equalsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace sim
