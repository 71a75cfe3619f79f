// Frame ordering: rows from the bottom or the top, left to right inside a row, duplicates
// dropped, and the exchange sorts' own order for equal keys, checked against the six
// passes written out plainly.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "sheets/ordering.h"

namespace {

using frames::FrameList;
using frames::FrameRect;

FrameRect frame(double minx, double miny, double w = 100, double h = 50, bool chosen = false) {
    FrameRect f;
    f.minx = minx;
    f.miny = miny;
    f.maxx = minx + w;
    f.maxy = miny + h;
    f.chosen = chosen;
    return f;
}

// Where each frame ended: its left and bottom edges and its row.
struct Placed {
    double minx, miny;
    int row;
    friend bool operator==(const Placed&, const Placed&) = default;
};

std::vector<Placed> placed(const FrameList& list) {
    std::vector<Placed> out;
    for (const FrameRect& f : list) out.push_back({f.minx, f.miny, f.row});
    return out;
}

void PrintTo(const Placed& p, std::ostream* os) { *os << "(" << p.minx << ", " << p.miny << ") row " << p.row; }

TEST(FrameOrdering, RowsAndReadingOrder) {
    struct Case {
        const char* what;
        bool fromTop;
        FrameList in;
        std::vector<Placed> out;
    } cases[] = {
        {"a new row starts more than 10 from the row's first bottom edge, not the previous one", false,
         {frame(0, 18), frame(200, 0), frame(400, 12), frame(600, 5)},
         {{200, 0, 0}, {600, 5, 0}, {0, 18, 1}, {400, 12, 1}}},
        {"exactly 10 apart share a row", false, {frame(500, 10), frame(0, 0)}, {{0, 0, 0}, {500, 10, 0}}},
        {"just over 10 apart do not", false, {frame(500, 10.000001), frame(0, 0)}, {{0, 0, 0}, {500, 10.000001, 1}}},
        {"no chaining: 0, 4, 8 share a row, 12 starts one", false,
         {frame(300, 12), frame(200, 8), frame(100, 4), frame(0, 0)},
         {{0, 0, 0}, {100, 4, 0}, {200, 8, 0}, {300, 12, 1}}},
        {"from the bottom, 0, 8, 16 group as {0, 8} {16}", false,
         {frame(0, 16), frame(200, 8), frame(400, 0)},
         {{200, 8, 0}, {400, 0, 0}, {0, 16, 1}}},
        {"from the top, the same frames group as {16, 8} {0}", true,
         {frame(0, 16), frame(200, 8), frame(400, 0)},
         {{0, 16, 0}, {200, 8, 0}, {400, 0, 1}}},
        {"left to right inside a row from the top too", true,
         {frame(900, 0), frame(300, 500), frame(100, 503), frame(500, 2), frame(200, 498)},
         {{100, 503, 0}, {200, 498, 0}, {300, 500, 0}, {500, 2, 1}, {900, 0, 1}}},
        {"three rows from the bottom, each left to right", false,
         {frame(100, 200), frame(0, 100), frame(100, 0), frame(0, 200), frame(100, 100), frame(0, 0)},
         {{0, 0, 0}, {100, 0, 0}, {0, 100, 1}, {100, 100, 1}, {0, 200, 2}, {100, 200, 2}}},
        {"negative coordinates", false, {frame(-50, -300), frame(-900, -295), frame(10, -400)},
         {{10, -400, 0}, {-900, -295, 1}, {-50, -300, 1}}},
    };
    for (auto& c : cases) {
        FrameList list = c.in;
        frames::orderFrames(list, c.fromTop);
        EXPECT_EQ(placed(list), c.out) << c.what;
        for (const FrameRect& f : list) EXPECT_TRUE(f.kept) << c.what;
    }
}

TEST(FrameOrdering, DuplicatesWithinOneUnitOnAllEdgesAreDropped) {
    struct Case {
        const char* what;
        bool fromTop;
        FrameList in;
        std::vector<Placed> out;
    } cases[] = {
        {"all edges 0.5 apart: the later in the new order goes", false,
         {frame(0.5, 0.5, 100, 50), frame(0, 0, 100, 50)}, {{0, 0, 0}}},
        {"the left-edge sort decides the new order, from the top too", true,
         {frame(0.5, 0.5, 100, 50), frame(0, 0, 100, 50)}, {{0, 0, 0}}},
        {"with equal left edges the bottom one stays from the bottom", false,
         {frame(0, 0.5, 100, 50), frame(0, 0, 100, 50)}, {{0, 0, 0}}},
        {"and the top one from the top", true,
         {frame(0, 0, 100, 50), frame(0, 0.5, 100, 50)}, {{0, 0.5, 0}}},
        {"exactly 1.0 apart on the left edge keeps both", false,
         {frame(0, 0, 100, 50), frame(1, 0, 99, 50)}, {{0, 0, 0}, {1, 0, 0}}},
        {"exactly 1.0 apart on the top edge keeps both", false,
         {frame(0, 0, 100, 50), frame(0, 0, 100, 51)}, {{0, 0, 0}, {0, 0, 0}}},
        {"exactly 1.0 apart on the right edge keeps both", false,
         {frame(0, 0, 100, 50), frame(0, 0, 101, 50)}, {{0, 0, 0}, {0, 0, 0}}},
        {"exactly 1.0 apart on the bottom edge keeps both", false,
         {frame(0, 0, 100, 50), frame(0, 1, 100, 49)}, {{0, 0, 0}, {0, 1, 0}}},
        {"three copies: only the first stays", false,
         {frame(0, 0), frame(0, 0), frame(0.2, 0.1), frame(300, 0)}, {{0, 0, 0}, {300, 0, 0}}},
        {"a chain of near copies is measured against each earlier one, marked or not", false,
         {frame(0, 0), frame(0.6, 0), frame(1.2, 0)}, {{0, 0, 0}}},
        {"duplicates on both sides of a row boundary", false,
         {frame(0, 0), frame(500, 10.0), frame(500.3, 10.5)}, {{0, 0, 0}, {500, 10, 0}}},
    };
    for (auto& c : cases) {
        FrameList list = c.in;
        frames::orderFrames(list, c.fromTop);
        EXPECT_EQ(placed(list), c.out) << c.what;
    }
}

TEST(FrameOrdering, ChosenFramesKeepTheirFlagAtTheirNewPlace) {
    FrameList list{frame(300, 0, 100, 50, true), frame(0, 200), frame(100, 0, 100, 50, false), frame(0, 0, 100, 50, true)};
    frames::orderFrames(list, true);
    ASSERT_EQ(placed(list), (std::vector<Placed>{{0, 200, 0}, {0, 0, 1}, {100, 0, 1}, {300, 0, 1}}));
    EXPECT_EQ((std::vector<bool>{list[0].chosen, list[1].chosen, list[2].chosen, list[3].chosen}),
              (std::vector<bool>{false, true, false, true}));

    // Of two duplicates the one that stays brings its own flag, not the dropped one's.
    FrameList pair{frame(0.5, 0.5, 100, 50, true), frame(0, 0, 100, 50, false)};
    frames::orderFrames(pair, false);
    ASSERT_EQ(pair.size(), 1u);
    EXPECT_EQ(pair[0].minx, 0);
    EXPECT_FALSE(pair[0].chosen);
}

TEST(FrameOrdering, FewerThanTwoFramesAreLeftAlone) {
    FrameList empty;
    frames::orderFrames(empty, false);
    EXPECT_TRUE(empty.empty());

    FrameRect one = frame(5, 5);
    one.row = 7;
    one.kept = false;
    FrameList single{one};
    frames::orderFrames(single, true);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0], one);
}

// Equal keys end where the exchanges leave them, which is not where a stable sort would.
// Frames a and b share their bottom and left edges (b is wider, so not a duplicate); c lies
// lower. The bottom-edge sort exchanges a with c, leaving b ahead of a.
TEST(FrameOrdering, EqualKeysEndInTheExchangeSortsOrder) {
    const FrameRect a = frame(0, 1, 100), b = frame(0, 1, 200), c = frame(0, 0, 300);
    FrameList list{a, b, c};
    frames::orderFrames(list, false);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].maxx, c.maxx);
    EXPECT_EQ(list[1].maxx, b.maxx);
    EXPECT_EQ(list[2].maxx, a.maxx);

    // Inside a row the left-edge sort does the same: p and q share a left edge, r is to
    // their left, and all lie in one row with distinct bottom edges already in order.
    const FrameRect p = frame(50, 0, 10), q = frame(50, 1, 20), r = frame(0, 2, 30);
    FrameList row{p, q, r};
    frames::orderFrames(row, false);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0].maxx, r.maxx);
    EXPECT_EQ(row[1].maxx, q.maxx);
    EXPECT_EQ(row[2].maxx, p.maxx);
}

// The six passes exactly as the ordering is defined, record by record.
void referenceOrder(FrameList& w, bool fromTop) {
    const std::size_t n = w.size();
    if (n < 2) return;
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (fromTop ? w[j].miny > w[i].miny : w[i].miny > w[j].miny) std::swap(w[i], w[j]);
    double ref = w[0].miny;
    int row = 0;
    w[0].row = 0;
    for (std::size_t b = 1; b < n; ++b) {
        if (std::fabs(ref - w[b].miny) > 10.0) {
            ref = w[b].miny;
            ++row;
        }
        w[b].row = row;
    }
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (w[i].row == w[j].row && w[i].minx > w[j].minx) std::swap(w[i], w[j]);
    for (auto& f : w) f.kept = true;
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (std::fabs(w[i].miny - w[j].miny) < 1.0 && std::fabs(w[i].minx - w[j].minx) < 1.0 &&
                std::fabs(w[i].maxy - w[j].maxy) < 1.0 && std::fabs(w[i].maxx - w[j].maxx) < 1.0)
                w[j].kept = false;
    FrameList kept;
    for (const auto& f : w)
        if (f.kept) kept.push_back(f);
    if (kept.size() < n) w = kept;
}

// Same bits in every field (so that a NaN edge compares equal to itself).
bool sameRecords(const FrameList& a, const FrameList& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const FrameRect &x = a[k], &y = b[k];
        auto bits = [](double d) { return std::bit_cast<std::uint64_t>(d); };
        if (bits(x.minx) != bits(y.minx) || bits(x.miny) != bits(y.miny) || bits(x.maxx) != bits(y.maxx) ||
            bits(x.maxy) != bits(y.maxy) || x.chosen != y.chosen || x.row != y.row || x.kept != y.kept)
            return false;
    }
    return true;
}

// Random lists rich in ties: bottom and left edges from a coarse grid (many equal keys,
// many pairs within the tolerances), near copies, chosen flags, stale row numbers and
// keep marks; some longer ones, with a few bottom edges shared by many frames, or in
// reverse order; a few with edges that are not numbers or are infinite.
FrameList randomList(std::mt19937& rng, int shape) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int n = shape == 0 ? pick(0, 12) : shape == 1 || shape == 3 ? pick(2, 60) : pick(100, 250);
    const bool heavyTies = pick(0, 1) == 1;
    FrameList list;
    for (int k = 0; k < n; ++k) {
        FrameRect f;
        if (k > 0 && pick(0, 5) == 0) {
            f = list[static_cast<std::size_t>(pick(0, k - 1))];  // a near or exact copy
            f.minx += pick(-3, 3) * 0.25;
            f.miny += pick(-3, 3) * 0.25;
            f.maxx += pick(-3, 3) * 0.25;
            f.maxy += pick(-3, 3) * 0.25;
        } else {
            f.miny = pick(0, shape == 2 ? heavyTies ? 6 : 600 : 80) * (pick(0, 1) ? 0.5 : 2.5);
            f.minx = pick(-20, 20) * (pick(0, 1) ? 0.5 : 10.0);
            f.maxx = f.minx + pick(0, 4) * 0.5;
            f.maxy = f.miny + pick(0, 4) * 0.5;
        }
        f.chosen = pick(0, 2) == 0;
        f.row = pick(-2, 9);
        f.kept = pick(0, 1) == 1;
        list.push_back(f);
    }
    if (shape == 2 && pick(0, 1) == 0)
        std::sort(list.begin(), list.end(), [](const FrameRect& a, const FrameRect& b) { return a.miny > b.miny; });
    if (shape == 3 && n > 0) {
        const double odd[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(), -0.0};
        for (int k = 0; k < 3; ++k) {
            FrameRect& f = list[static_cast<std::size_t>(pick(0, n - 1))];
            (pick(0, 1) ? f.miny : f.minx) = odd[pick(0, 3)];
        }
    }
    return list;
}

// A polyline drawn on a block frame's outline may be the one of the two that stays; the
// block's attributes, which file names are made of, then go with it.
TEST(FrameOrdering, AFrameThatStaysTakesTheAttributesOfTheDuplicateDroppedForIt) {
    using Attributes = std::shared_ptr<const std::vector<cad::BlockAttribute>>;
    const Attributes a = std::make_shared<const std::vector<cad::BlockAttribute>>(
        std::vector<cad::BlockAttribute>{{L"SHEET_NO", L"A-1"}});
    const Attributes b = std::make_shared<const std::vector<cad::BlockAttribute>>(
        std::vector<cad::BlockAttribute>{{L"SHEET_NO", L"B-1"}});
    const auto with = [](FrameRect f, Attributes attributes) {
        f.attributes = std::move(attributes);
        return f;
    };
    struct Case {
        const char* what;
        FrameList in;
        std::vector<Placed> out;
        std::vector<Attributes> attributes;
    } cases[] = {
        {"a polyline on a block frame", {frame(0, 0), with(frame(0, 0), a)}, {{0, 0, 0}}, {a}},
        {"a polyline half a unit off a block frame", {with(frame(0.5, 0.5), a), frame(0, 0)}, {{0, 0, 0}}, {a}},
        {"the block frame stays", {with(frame(0, 0), a), frame(0, 0)}, {{0, 0, 0}}, {a}},
        {"of two block frames the one that stays keeps its own", {with(frame(0, 0), a), with(frame(0, 0), b)},
         {{0, 0, 0}}, {a}},
        {"along a chain of near copies", {frame(0, 0), frame(0.6, 0), with(frame(1.2, 0), a)}, {{0, 0, 0}}, {a}},
        {"a frame apart gives nothing", {frame(0, 0), with(frame(300, 0), a)}, {{0, 0, 0}, {300, 0, 0}}, {nullptr, a}},
    };
    for (auto& c : cases) {
        FrameList list = c.in;
        frames::orderFrames(list, false);
        ASSERT_EQ(placed(list), c.out) << c.what;
        for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].attributes, c.attributes[i]) << c.what;
    }
}

TEST(FrameOrdering, MatchesThePlainPassesOnRandomLists) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 4000; ++round) {
        const int shape = round % 50 == 0 ? 2 : round % 17 == 0 ? 3 : round % 2;
        const FrameList input = randomList(rng, shape);
        for (bool fromTop : {false, true}) {
            FrameList expected = input, actual = input;
            referenceOrder(expected, fromTop);
            frames::orderFrames(actual, fromTop);
            ASSERT_TRUE(sameRecords(actual, expected))
                << "round " << round << " fromTop " << fromTop << " size " << input.size();
        }
    }
}

TEST(FrameOrdering, MatchesThePlainPassesOnLongListsInReverseOrder) {
    // Every round of the bottom-edge sort exchanges all the way down (the most exchanges a
    // list can take), with bottom edges in pairs.
    for (bool fromTop : {false, true}) {
        FrameList list;
        for (int k = 0; k < 600; ++k)
            list.push_back(frame((k * 37) % 11 * 150.0, (fromTop ? k / 2 : (600 - k) / 2) * 3.0, 100, 50, k % 3 == 0));
        FrameList expected = list;
        referenceOrder(expected, fromTop);
        frames::orderFrames(list, fromTop);
        EXPECT_TRUE(sameRecords(list, expected)) << "fromTop " << fromTop;
    }
}

}  // namespace
