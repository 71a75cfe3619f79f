// Conversions between the program's UTF-16 text (std::wstring; wchar_t is 16-bit on
// Windows and 32-bit elsewhere, both handled) and the byte forms of text files.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace base {

// UTF-8 to wide text. Malformed bytes become U+FFFD; `valid`, when given, tells whether
// the input was well-formed UTF-8.
std::wstring fromUtf8(std::string_view bytes, bool* valid = nullptr);
std::string toUtf8(std::wstring_view text);

// UTF-16 code units (either byte order) to wide text and back (little-endian bytes).
std::wstring fromUtf16(std::string_view bytes, bool bigEndian);
std::string toUtf16Le(std::wstring_view text);

enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Ansi };

struct DecodedText {
    std::wstring text;
    TextEncoding encoding = TextEncoding::Utf8;
};

// A text file's bytes: UTF-16 with a byte-order mark, UTF-8 with or without one, and
// anything else through `decodeAnsi` (the system's ANSI code page).
DecodedText decodeText(std::string_view bytes, const std::function<std::wstring(std::string_view)>& decodeAnsi);

// A file system path from the program's wide text, and back.
std::filesystem::path toPath(const std::wstring& text);
std::wstring pathText(const std::filesystem::path& path);

}  // namespace base
