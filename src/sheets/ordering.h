// Frame ordering: puts the frame list into reading order, row by row, and drops frames
// that lie on top of an earlier one. The order it leaves is the plot order.
#pragma once

#include "sheets/frame_record.h"

namespace frames {

// A frame whose bottom edge differs from the bottom edge of its row's first frame by
// more than this starts a new row.
inline constexpr double kRowTolerance = 10.0;
// Two frames are duplicates when all four edges differ by less than this.
inline constexpr double kDuplicateTolerance = 1.0;

// Orders `frames` in place, in six passes:
//  1. an exchange sort by bottom edge, ascending (rows from the bottom) or, when
//     `fromTop`, descending; equal bottom edges are never exchanged;
//  2. row numbers into `row`: 0 for the first row, one more whenever a bottom edge
//     lies more than kRowTolerance from the first bottom edge of the current row;
//  3. an exchange sort by left edge inside each row (rows keep their places);
//  4. `kept` true on every record;
//  5. `kept` false on every record that duplicates an earlier one (all four edges within
//     kDuplicateTolerance), whether or not that earlier one is itself a duplicate;
//  6. the records not kept are dropped, the others keep their order; a dropped record's
//     attributes (a block frame's) go to the record that stays in its place when that one
//     has none (a polyline drawn on the block frame's outline).
// The exchange sorts are not stable: records with equal keys end in the order the
// exchanges leave them, and that order is part of the result (it decides which of two
// duplicates stays). Records move whole, so chosen goes with its frame.
// A list of fewer than two records is left exactly as it is.
void orderFrames(FrameList& frames, bool fromTop);

}  // namespace frames
