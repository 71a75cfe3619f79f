// The sheet sizes the program knows: ISO A0 ... A9 and JIS B0 ... B9, in millimetres, and
// the lookup of a size code in a paper or media name.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace plot {

struct PaperSize {
    wchar_t series;  // L'A' or L'B'
    int digit;       // 0 ... 9
    double longSide, shortSide;  // millimetres
};

// The 20 rows, A0 ... A9 then B0 ... B9; the row order is the lookup order.
const std::array<PaperSize, 20>& paperSizes();

// Looks for "A0" ... "A9" and then "B0" ... "B9" anywhere in `name` (case matters) and
// takes the first code in that order that occurs, wherever it stands in the text: "ISO A4
// (210 x 297 mm)" is A4, "A10" is A1, "B5 / A3" is A3. The size comes landscape (width the
// long side) for an orientation below 1 and portrait for 1 or more. Nothing when the name
// holds no code.
struct SheetSize {
    double width = 0, height = 0;
    friend bool operator==(const SheetSize&, const SheetSize&) = default;
};
std::optional<SheetSize> findPaperSize(std::wstring_view name, int orientation);

}  // namespace plot
