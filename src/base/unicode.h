// Conversions between wide text and Unicode code points and UTF-8, the same whether
// wchar_t holds UTF-16 (Windows) or UTF-32 (elsewhere).
#pragma once

#include <string>
#include <string_view>

namespace base {

// Lone surrogates and values beyond Unicode become U+FFFD.
std::wstring fromCodePoints(std::u32string_view text);
std::u32string toCodePoints(std::wstring_view text);

std::string encodeUtf8(std::wstring_view text);
// Malformed sequences become U+FFFD.
std::wstring decodeUtf8(std::string_view text);
// True when the bytes are well-formed UTF-8 (plain ASCII included).
bool isUtf8(std::string_view bytes);

}  // namespace base
