// The equal-interval grid: sheets of one size laid out from a base point at a fixed
// spacing, as many columns and rows as reach the drawing's upper-right extent. Cell
// (c, r) counts columns from the left and rows from the bottom; its flag is entry
// r x columns + c. Pure arithmetic on drawing coordinates.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "base/monitor_scale.h"

namespace grid {

// A pair typed as "X,Y": split at the first comma, each side trimmed and read as a number
// (0 when it is not one); 0 and 0 without a comma.
struct Pair {
    double x = 0, y = 0;
    friend bool operator==(const Pair&, const Pair&) = default;
};
Pair readPair(std::wstring_view text);

// The most cells a grid may have; more would be no drawing's layout and would only
// exhaust memory and time.
inline constexpr long long kMaxCells = 1'000'000;

// Columns (or rows) from `base` to `extentMax` at `spacing` (> 0): the whole steps, plus
// one when the rest reaches more than a tenth of a step beyond them. Counts below 1 are
// 0. Nothing when the count is not finite or above kMaxCells.
std::optional<int> cellCount(double extentMax, double base, double spacing);

// The first of `count` intervals (base + k x spacing, base + (k + 1) x spacing), k from 0,
// that holds `w` strictly inside; nothing when none does or the spacing is not above 0.
std::optional<int> hitInterval(double w, double base, double spacing, int count);

// A rectangle in drawing units.
struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// Base point, spacing and drawing sheet size, as one computation reads them.
struct Layout {
    Pair base, spacing;
    double sheetW = 0, sheetH = 0;

    // The sheet of cell (c, r): from the cell's lower-left corner, sheetW x sheetH.
    Box sheet(int c, int r) const {
        const double x0 = base.x + c * spacing.x, y0 = base.y + r * spacing.y;
        return {x0, y0, x0 + sheetW, y0 + sheetH};
    }
};

// The entry of cell (c, r) in a grid of `columns` columns.
inline std::size_t cellEntry(int c, int r, int columns) {
    return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(c);
}

// The selection mark's pen in pixels and the inset of the content test in drawing
// units, for a monitor scale factor in percent.
constexpr int markPen(int monitorScaleFactor) { return base::scaledByMonitor(3, monitorScaleFactor, 3); }
constexpr int contentInset(int monitorScaleFactor) { return base::scaledByMonitor(2, monitorScaleFactor, 1); }

}  // namespace grid
