#include "base/names.h"

namespace base {
namespace {

// The lower-case form of one UTF-16 or UTF-32 unit for the scripts device and paper
// names are written in; everything else maps to itself.
wchar_t foldCase(wchar_t c) {
    const auto u = static_cast<unsigned long>(c);
    if (u >= L'A' && u <= L'Z') return static_cast<wchar_t>(u + 0x20);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<wchar_t>(u + 0x20);      // À ... Þ
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2) return static_cast<wchar_t>(u + 0x20);   // Α ... Ϋ
    if (u == 0x386) return static_cast<wchar_t>(0x3AC);                                   // Ά
    if (u >= 0x388 && u <= 0x38A) return static_cast<wchar_t>(u + 0x25);                 // Έ Ή Ί
    if (u == 0x38C) return static_cast<wchar_t>(0x3CC);                                   // Ό
    if (u == 0x38E || u == 0x38F) return static_cast<wchar_t>(u + 0x3F);                 // Ύ Ώ
    if (u >= 0x410 && u <= 0x42F) return static_cast<wchar_t>(u + 0x20);                 // А ... Я
    if (u >= 0x400 && u <= 0x40F) return static_cast<wchar_t>(u + 0x50);                 // Ѐ ... Џ
    if (u >= 0xFF21 && u <= 0xFF3A) return static_cast<wchar_t>(u + 0x20);               // Ａ ... Ｚ
    return c;
}

}  // namespace

bool sameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

int indexOfName(const std::vector<std::wstring>& entries, std::wstring_view name) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (sameNameIgnoringCase(entries[i], name)) return static_cast<int>(i);
    return -1;
}

}  // namespace base
