#include "base/names.h"

namespace base {
namespace {

// The one table of letter case: each row folds the upper-case letters first ... last onto
// their lower-case forms, `offset` further on. In a row of pairs only every other code
// point, starting at `first`, is upper case (its lower case is the next one).
struct FoldRow {
    char32_t first, last;
    int offset;
    bool pairs;
};

constexpr FoldRow kFoldTable[] = {
    {U'A', U'Z', 0x20, false},                                                // ASCII
    {0xC0, 0xD6, 0x20, false},  {0xD8, 0xDE, 0x20, false},                    // À ... Ö, Ø ... Þ
    {0x100, 0x12F, 1, true},    {0x132, 0x137, 1, true},  {0x139, 0x148, 1, true},
    {0x14A, 0x177, 1, true},    {0x178, 0x178, 0xFF - 0x178, false},          // Ā ... ž, Ÿ
    {0x179, 0x17E, 1, true},
    {0x386, 0x386, 0x26, false}, {0x388, 0x38A, 0x25, false}, {0x38C, 0x38C, 0x40, false},
    {0x38E, 0x38F, 0x3F, false},                                              // Ά Έ Ή Ί Ό Ύ Ώ
    {0x391, 0x3A1, 0x20, false}, {0x3A3, 0x3AB, 0x20, false},                 // Α ... Ϋ
    {0x400, 0x40F, 0x50, false}, {0x410, 0x42F, 0x20, false},                 // Ѐ ... Џ, А ... Я
    {0xFF21, 0xFF3A, 0x20, false},                                            // Ａ ... Ｚ
};

}  // namespace

char32_t foldCase(char32_t c) {
    for (const FoldRow& row : kFoldTable) {
        if (c < row.first || c > row.last) continue;
        if (row.pairs && (c - row.first) % 2 != 0) return c;
        return static_cast<char32_t>(static_cast<long>(c) + row.offset);
    }
    return c;
}

bool sameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(static_cast<char32_t>(a[i])) != foldCase(static_cast<char32_t>(b[i]))) return false;
    return true;
}

int indexOfName(const std::vector<std::wstring>& entries, std::wstring_view name) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (sameNameIgnoringCase(entries[i], name)) return static_cast<int>(i);
    return -1;
}

}  // namespace base
