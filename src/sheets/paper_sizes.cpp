// The paper-size table and its lookup.
#include "sheets/paper_sizes.h"

namespace plot {

const std::array<PaperSize, 20>& paperSizes() {
    static const std::array<PaperSize, 20> table{{
        {L'A', 0, 1189, 841}, {L'A', 1, 841, 594}, {L'A', 2, 594, 420}, {L'A', 3, 420, 297},
        {L'A', 4, 297, 210},  {L'A', 5, 210, 148}, {L'A', 6, 148, 105}, {L'A', 7, 105, 74},
        {L'A', 8, 74, 52},    {L'A', 9, 52, 37},
        {L'B', 0, 1456, 1030}, {L'B', 1, 1030, 728}, {L'B', 2, 728, 515}, {L'B', 3, 515, 364},
        {L'B', 4, 364, 257},   {L'B', 5, 257, 182},  {L'B', 6, 182, 128}, {L'B', 7, 128, 91},
        {L'B', 8, 91, 64},     {L'B', 9, 64, 45},
    }};
    return table;
}

std::optional<SheetSize> findPaperSize(std::wstring_view name, int orientation) {
    for (const PaperSize& size : paperSizes()) {
        const wchar_t code[] = {size.series, static_cast<wchar_t>(L'0' + size.digit)};
        if (name.find(std::wstring_view(code, 2)) == std::wstring_view::npos) continue;
        const bool landscape = orientation < 1;
        if (landscape) return SheetSize{size.longSide, size.shortSide};
        return SheetSize{size.shortSide, size.longSide};
    }
    return std::nullopt;
}

}  // namespace plot
