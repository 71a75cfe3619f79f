// Frame ordering. The two exchange sorts are kept exactly (their order for equal keys is
// part of the result) but run on compact key arrays, follow each round's chain of
// exchanges instead of scanning the whole tail where that is cheaper, and the row sort
// runs row by row; the duplicate pass looks only at frames whose bottom edges are close.
// Each of these gives the same result as the plain passes; the reasons are given below.
#include "frames/ordering.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <span>
#include <utility>
#include <vector>

namespace frames {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// Smallest key over ranges of positions, to find the first position from a given one on
// whose key lies below a limit.
class MinTree {
public:
    explicit MinTree(std::span<const double> keys) {
        while (leaves_ < keys.size()) leaves_ *= 2;
        node_.assign(2 * leaves_, std::numeric_limits<double>::infinity());
        std::copy(keys.begin(), keys.end(), node_.begin() + static_cast<std::ptrdiff_t>(leaves_));
        for (std::size_t k = leaves_ - 1; k >= 1; --k) node_[k] = std::min(node_[2 * k], node_[2 * k + 1]);
    }

    void set(std::size_t pos, double key) {
        std::size_t k = pos + leaves_;
        node_[k] = key;
        for (k /= 2; k >= 1; k /= 2) node_[k] = std::min(node_[2 * k], node_[2 * k + 1]);
    }

    // The first position >= from whose key is < limit; kNone when there is none.
    std::size_t firstBelow(std::size_t from, double limit) const { return descend(1, 0, leaves_, from, limit); }

private:
    std::size_t descend(std::size_t k, std::size_t lo, std::size_t hi, std::size_t from, double limit) const {
        if (hi <= from || !(node_[k] < limit)) return kNone;
        if (hi - lo == 1) return lo;
        const std::size_t mid = lo + (hi - lo) / 2;
        const std::size_t left = descend(2 * k, lo, mid, from, limit);
        return left != kNone ? left : descend(2 * k + 1, mid, hi, from, limit);
    }

    std::size_t leaves_ = 1;
    std::vector<double> node_;
};

// The exchange sort: for i = 0 ... n-2 and, inside, j = i+1 ... n-1, entries i and j are
// exchanged when key i > key j. `ids` is carried along with `keys`.
//
// Round i compares the entry held at i with each later entry in turn. The first exchange
// happens at the first later entry whose key is below the held one; that entry is then
// held and the old one left in its place; the next exchange happens at the first entry
// after that whose key is below the new held one, and so on. Entries in between are only
// compared. So a round is a walk along that chain of falling keys, and a min tree finds
// each link. The walk costs a little per exchange, the plain scan a little per entry;
// when the exchanges pile up (a list in reverse order), the remaining rounds are plain.
// Keys that are not numbers defeat the tree's comparisons, so such lists go plain at once.
void exchangeSort(std::span<double> keys, std::span<std::uint32_t> ids) {
    const std::size_t n = keys.size();
    if (n < 2) return;
    std::size_t i = 0;
    if (std::none_of(keys.begin(), keys.end(), [](double k) { return std::isnan(k); })) {
        MinTree tree(keys);
        const std::size_t budget = 32 * n;
        std::size_t exchanges = 0;
        for (; i + 1 < n && exchanges <= budget; ++i) {
            double held = keys[i];
            std::uint32_t heldId = ids[i];
            for (std::size_t j = tree.firstBelow(i + 1, held); j != kNone; j = tree.firstBelow(j + 1, held)) {
                std::swap(held, keys[j]);
                std::swap(heldId, ids[j]);
                tree.set(j, keys[j]);
                ++exchanges;
            }
            keys[i] = held;  // final; later rounds only look beyond it
            ids[i] = heldId;
        }
    }
    for (; i + 1 < n; ++i) {
        double held = keys[i];
        std::uint32_t heldId = ids[i];
        for (std::size_t j = i + 1; j < n; ++j) {
            if (held > keys[j]) {
                std::swap(held, keys[j]);
                std::swap(heldId, ids[j]);
            }
        }
        keys[i] = held;
        ids[i] = heldId;
    }
}

// Sorts frames[first, last) by `key` with the exchange sort, moving whole records.
template <class Key>
void exchangeSortFrames(FrameList& frames, std::size_t first, std::size_t last, Key key) {
    const std::size_t n = last - first;
    if (n < 2) return;
    std::vector<double> keys(n);
    std::vector<std::uint32_t> ids(n);
    for (std::size_t k = 0; k < n; ++k) keys[k] = key(frames[first + k]);
    std::iota(ids.begin(), ids.end(), 0u);
    exchangeSort(keys, ids);
    std::vector<TmvWaku> moved(n);
    for (std::size_t k = 0; k < n; ++k) moved[k] = frames[first + ids[k]];
    std::copy(moved.begin(), moved.end(), frames.begin() + static_cast<std::ptrdiff_t>(first));
}

bool duplicates(const TmvWaku& a, const TmvWaku& b) {
    return std::fabs(a.miny - b.miny) < kDuplicateTolerance && std::fabs(a.minx - b.minx) < kDuplicateTolerance &&
           std::fabs(a.maxy - b.maxy) < kDuplicateTolerance && std::fabs(a.maxx - b.maxx) < kDuplicateTolerance;
}

// Pass 5: a record is marked when any earlier record duplicates it. Marks never change
// what is compared, so the result does not depend on the order the pairs are visited in;
// only pairs whose bottom edges lie within the tolerance can qualify, and those are
// neighbours when the records are taken by bottom edge. (x - y is exactly -(y - x), and
// rounding keeps differences monotone, so the window ends at the first difference >= 1.)
void markDuplicates(FrameList& frames) {
    std::vector<std::uint32_t> byBottom;
    byBottom.reserve(frames.size());
    for (std::uint32_t k = 0; k < frames.size(); ++k)
        if (!std::isnan(frames[k].miny)) byBottom.push_back(k);  // never within tolerance of anything
    std::sort(byBottom.begin(), byBottom.end(),
              [&](std::uint32_t a, std::uint32_t b) { return frames[a].miny < frames[b].miny; });
    for (std::size_t p = 0; p < byBottom.size(); ++p) {
        const TmvWaku& low = frames[byBottom[p]];
        for (std::size_t q = p + 1; q < byBottom.size(); ++q) {
            const TmvWaku& high = frames[byBottom[q]];
            if (!(high.miny - low.miny < kDuplicateTolerance)) break;
            if (duplicates(low, high)) frames[std::max(byBottom[p], byBottom[q])].flag = false;
        }
    }
}

}  // namespace

void orderFrames(FrameList& frames, bool fromTop) {
    const std::size_t n = frames.size();
    if (n < 2) return;

    // 1. By bottom edge. Descending order is the ascending exchange sort of the negated
    // edges: -a > -b exactly when b > a, for every pair of doubles.
    exchangeSortFrames(frames, 0, n, [fromTop](const TmvWaku& f) { return fromTop ? -f.miny : f.miny; });

    // 2. Rows, against the bottom edge of each row's first frame.
    double reference = frames[0].miny;
    std::int32_t row = 0;
    frames[0].yindex = 0;
    for (std::size_t b = 1; b < n; ++b) {
        if (std::fabs(reference - frames[b].miny) > kRowTolerance) {
            reference = frames[b].miny;
            ++row;
        }
        frames[b].yindex = row;
    }

    // 3. By left edge inside each row. Row numbers never fall along the list, so each row
    // is one run of records; pairs from different rows are never exchanged, so sorting
    // run by run visits the same pairs in the same order as the sort over the whole list.
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first + 1;
        while (last < n && frames[last].yindex == frames[first].yindex) ++last;
        exchangeSortFrames(frames, first, last, [](const TmvWaku& f) { return f.minx; });
        first = last;
    }

    // 4. and 5. Keep marks.
    for (TmvWaku& f : frames) f.flag = true;
    markDuplicates(frames);

    // 6. Compact.
    std::erase_if(frames, [](const TmvWaku& f) { return !f.flag; });
}

}  // namespace frames
