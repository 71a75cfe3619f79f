// Frame ordering. The two exchange sorts keep their exact order for equal keys (it is part
// of the result) but compute it without making the exchanges, and the row sort runs row
// by row; the duplicate pass compares only frames whose bottom and left edges are close.
// Each gives the same result as the plain passes; the reasons are given with the code.
#include "sheets/ordering.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <numeric>
#include <span>
#include <utility>
#include <vector>

namespace frames {

namespace {

// Counts of marked positions, by prefix.
class PositionCounts {
public:
    explicit PositionCounts(std::size_t n) : tree_(n + 1, 0) {}
    void mark(std::size_t pos) {
        for (std::size_t k = pos + 1; k < tree_.size(); k += k & (~k + 1)) ++tree_[k];
    }
    // Marked positions in [0, end).
    std::size_t before(std::size_t end) const {
        std::size_t count = 0;
        for (std::size_t k = end; k > 0; k -= k & (~k + 1)) count += tree_[k];
        return count;
    }

private:
    std::vector<std::size_t> tree_;
};

void rotateLeft(std::deque<std::uint32_t>& list, std::size_t by) {
    by %= list.size();
    if (by <= list.size() / 2) {
        for (; by > 0; --by) {
            list.push_back(list.front());
            list.pop_front();
        }
    } else {
        for (by = list.size() - by; by > 0; --by) {
            list.push_front(list.back());
            list.pop_back();
        }
    }
}

// The plain exchange sort, as defined: for i = 0 ... n-2 and, inside, j = i+1 ... n-1,
// entries i and j are exchanged when key i > key j. Gives the positions (into `keys`) in
// their final order.
std::vector<std::uint32_t> plainExchangeOrder(std::span<const double> keys) {
    std::vector<double> k(keys.begin(), keys.end());
    std::vector<std::uint32_t> order(k.size());
    std::iota(order.begin(), order.end(), 0u);
    for (std::size_t i = 0; i + 1 < k.size(); ++i) {
        for (std::size_t j = i + 1; j < k.size(); ++j) {
            if (k[i] > k[j]) {
                std::swap(k[i], k[j]);
                std::swap(order[i], order[j]);
            }
        }
    }
    return order;
}

// The final order of the exchange sort above, without making its exchanges (about n*n/4
// of them for a list in random order).
//
// Round i leaves at i the first occurrence of the smallest key of i ... n-1: it holds the
// entry at i, picks up each later entry whose key is below the held one and leaves the
// held one in its place. So the keys end ascending, and only the order within a group of
// equal keys v is in question. For that group:
//  - Entries above v never change it. Such an entry is never below a held entry of key
//    <= v, and the entries <= v it passes on form the same chain as without it.
//  - Among the entries <= v, call those below v small. A round whose first entry <= v is
//    small moves no v entry: a v entry is picked up only when all entries before it in
//    the round are above v. A round whose first entry <= v is a v entry carries it to the
//    place of the first small entry after it, past the v entries in between. Either way
//    the round takes out one small entry, the first one: the pattern of small and v
//    entries loses its first small.
// So with the v entries in list order and c(t) the number of small entries between the
// t-th and the next v entry (or the end), the first t v entries are turned left by one
// c(t) times before the (t+1)-th joins them at the back. The values of the small entries
// play no part. When no small entries are left, the v entries come out in their order.
// NaN keys order with nothing; a list holding one gets the plain sort.
std::vector<std::uint32_t> exchangeOrder(std::span<const double> keys) {
    const std::size_t n = keys.size();
    if (std::any_of(keys.begin(), keys.end(), [](double k) { return std::isnan(k); })) return plainExchangeOrder(keys);
    std::vector<std::uint32_t> byKey(n);
    std::iota(byKey.begin(), byKey.end(), 0u);
    std::stable_sort(byKey.begin(), byKey.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });

    std::vector<std::uint32_t> order;
    order.reserve(n);
    PositionCounts smaller(n);  // entries of keys below the current group
    std::deque<std::uint32_t> group;
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first + 1;
        while (last < n && keys[byKey[last]] == keys[byKey[first]]) ++last;
        group.clear();
        for (std::size_t t = first; t < last; ++t) {
            const std::uint32_t pos = byKey[t];
            const std::size_t next = t + 1 < last ? byKey[t + 1] : n;
            group.push_back(pos);
            rotateLeft(group, smaller.before(next) - smaller.before(pos + 1));
        }
        order.insert(order.end(), group.begin(), group.end());
        for (std::size_t t = first; t < last; ++t) smaller.mark(byKey[t]);
        first = last;
    }
    return order;
}

// Sorts frames[first, last) by `key` with the exchange sort, moving whole records.
template <class Key>
void exchangeSortFrames(FrameList& frames, std::size_t first, std::size_t last, Key key) {
    const std::size_t n = last - first;
    if (n < 2) return;
    std::vector<double> keys(n);
    for (std::size_t k = 0; k < n; ++k) keys[k] = key(frames[first + k]);
    const std::vector<std::uint32_t> order = exchangeOrder(keys);
    std::vector<FrameRect> moved(n);
    for (std::size_t k = 0; k < n; ++k) moved[k] = frames[first + order[k]];
    std::copy(moved.begin(), moved.end(), frames.begin() + static_cast<std::ptrdiff_t>(first));
}

bool duplicates(const FrameRect& a, const FrameRect& b) {
    return std::fabs(a.miny - b.miny) < kDuplicateTolerance && std::fabs(a.minx - b.minx) < kDuplicateTolerance &&
           std::fabs(a.maxy - b.maxy) < kDuplicateTolerance && std::fabs(a.maxx - b.maxx) < kDuplicateTolerance;
}

// The duplicate pass: a record is marked when any earlier record duplicates it, and
// `earlier` gets, for each marked record, the first record found to duplicate it. Marks
// never change what is compared, so the marks do not depend on the order the pairs are
// visited in. Two records within the tolerance on their bottom and left edges have edges
// whose whole parts differ by at most one (the computed difference is below 1 only when
// the exact one is), so records are put in cells by the whole parts of those two edges,
// and each is compared with the later records of its own cell and the eight around it.
void markDuplicates(FrameList& frames, std::vector<std::uint32_t>& earlier) {
    struct Cell {
        double y, x;
        std::uint32_t index;
    };
    auto before = [](const Cell& a, const Cell& b) {
        return a.y != b.y ? a.y < b.y : a.x != b.x ? a.x < b.x : a.index < b.index;
    };
    std::vector<Cell> cells;
    cells.reserve(frames.size());
    for (std::uint32_t k = 0; k < frames.size(); ++k) {
        const FrameRect& f = frames[k];
        if (!std::isnan(f.miny) && !std::isnan(f.minx)) cells.push_back({std::floor(f.miny), std::floor(f.minx), k});
    }
    std::sort(cells.begin(), cells.end(), before);
    for (const Cell& own : cells) {
        const FrameRect& first = frames[own.index];
        for (double dy : {-1.0, 0.0, 1.0}) {
            for (double dx : {-1.0, 0.0, 1.0}) {
                const Cell near{own.y + dy, own.x + dx, 0};
                for (auto it = std::lower_bound(cells.begin(), cells.end(), near, before);
                     it != cells.end() && it->y == near.y && it->x == near.x; ++it) {
                    if (it->index > own.index && duplicates(first, frames[it->index]) && frames[it->index].kept) {
                        frames[it->index].kept = false;
                        earlier[it->index] = own.index;
                    }
                }
            }
        }
    }
}

}  // namespace

void orderFrames(FrameList& frames, bool fromTop) {
    const std::size_t n = frames.size();
    if (n < 2) return;

    // 1. By bottom edge. Descending order is the ascending exchange sort of the negated
    // edges: -a > -b exactly when b > a, for every pair of doubles.
    exchangeSortFrames(frames, 0, n, [fromTop](const FrameRect& f) { return fromTop ? -f.miny : f.miny; });

    // 2. Rows, against the bottom edge of each row's first frame.
    double reference = frames[0].miny;
    std::int32_t row = 0;
    frames[0].row = 0;
    for (std::size_t b = 1; b < n; ++b) {
        if (std::fabs(reference - frames[b].miny) > kRowTolerance) {
            reference = frames[b].miny;
            ++row;
        }
        frames[b].row = row;
    }

    // 3. By left edge inside each row. Row numbers never fall along the list, so each row
    // is one run of records; pairs from different rows are never exchanged, so sorting
    // run by run visits the same pairs in the same order as the sort over the whole list.
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first + 1;
        while (last < n && frames[last].row == frames[first].row) ++last;
        exchangeSortFrames(frames, first, last, [](const FrameRect& f) { return f.minx; });
        first = last;
    }

    // 4. and 5. Keep marks.
    for (FrameRect& f : frames) f.kept = true;
    std::vector<std::uint32_t> earlier(n);
    markDuplicates(frames, earlier);

    // A block frame dropped as the duplicate of a polyline drawn on its outline gives its
    // attributes to the frame that stays (found along the earlier records, each of a
    // lower index), so that names made of them still find them.
    for (std::size_t k = 0; k < n; ++k) {
        if (frames[k].kept || !frames[k].attributes) continue;
        std::size_t survivor = earlier[k];
        while (!frames[survivor].kept) survivor = earlier[survivor];
        if (!frames[survivor].attributes) frames[survivor].attributes = frames[k].attributes;
    }

    // 6. Compact.
    std::erase_if(frames, [](const FrameRect& f) { return !f.kept; });
}

}  // namespace frames
