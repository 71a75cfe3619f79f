#include "sheets/grid_model.h"

#include <cmath>

#include "base/numbers.h"

namespace grid {

Pair readPair(std::wstring_view text) {
    const std::size_t comma = text.find(L',');
    if (comma == std::wstring_view::npos) return {};
    return {base::readNumber(base::trimBlanks(text.substr(0, comma)), 0),
            base::readNumber(base::trimBlanks(text.substr(comma + 1)), 0)};
}

std::optional<int> cellCount(double extentMax, double base, double spacing) {
    const double reach = extentMax - base;
    const double steps = std::trunc(reach / spacing);
    if (!std::isfinite(steps) || steps > static_cast<double>(kMaxCells)) return std::nullopt;
    double n = steps;
    if (reach - spacing * n > 0.1 * spacing) n += 1;
    if (n > static_cast<double>(kMaxCells)) return std::nullopt;
    return n < 1 ? 0 : static_cast<int>(n);
}

std::optional<int> hitInterval(double w, double base, double spacing, int count) {
    if (!(spacing > 0) || count <= 0) return std::nullopt;
    const double estimate = std::floor((w - base) / spacing);
    if (!std::isfinite(estimate) || estimate < -1 || estimate > count) return std::nullopt;
    // Rounding may put the estimate one off; the test itself decides.
    const int k0 = static_cast<int>(estimate);
    for (int k = k0 - 1; k <= k0 + 1; ++k) {
        if (k < 0 || k >= count) continue;
        if (base + k * spacing < w && w < base + (k + 1) * spacing) return k;
    }
    return std::nullopt;
}

}  // namespace grid
