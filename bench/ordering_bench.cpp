// Frame ordering benchmark: orders 1,000, 10,000 and 100,000 frames laid out like sheets
// of a real drawing (A3 sheets at 1:100 in rows, one in a hundred drawn twice; placed by
// hand, bottom edges a few units off, or snapped to a grid, bottom edges equal along a
// row; and, as an extreme, all in one long row placed by hand) and prints the best time of a few runs, for frames in random order and in drawing
// order (rows bottom-up, left to right), from the bottom and from the top. For comparison it also times the six passes written out plainly (the exchange
// sorts scanning every pair), and checks that both give the same list.
//
//   ordering_bench            plain passes up to 10,000 frames
//   ordering_bench --plain    plain passes at 100,000 too (takes a while)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <utility>

#include "sheets/ordering.h"

namespace {

using frames::FrameList;
using frames::FrameRect;

FrameList drawing(int n, bool snapped, bool oneRow, bool shuffled, std::mt19937& rng) {
    std::uniform_real_distribution<double> jitter(snapped ? 0.0 : -3.0, snapped ? 0.0 : 3.0);
    std::uniform_int_distribution<int> percent(0, 99);
    const int columns = oneRow ? n : static_cast<int>(std::ceil(std::sqrt(n * 1.5)));
    FrameList list;
    for (int k = 0; static_cast<int>(list.size()) < n; ++k) {
        FrameRect f;
        f.minx = (k % columns) * 47000.0 + jitter(rng);
        f.miny = (k / columns) * 35000.0 + jitter(rng);
        f.maxx = f.minx + 42000;
        f.maxy = f.miny + 29700;
        list.push_back(f);
        if (percent(rng) == 0 && static_cast<int>(list.size()) < n) {
            f.minx += 0.3;
            f.maxy -= 0.2;
            list.push_back(f);
        }
    }
    if (shuffled) std::shuffle(list.begin(), list.end(), rng);
    return list;
}

// The six passes exactly as defined, for comparison.
void plainOrder(FrameList& w, bool fromTop) {
    const std::size_t n = w.size();
    if (n < 2) return;
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (fromTop ? w[j].miny > w[i].miny : w[i].miny > w[j].miny) std::swap(w[i], w[j]);
    double ref = w[0].miny;
    int row = 0;
    w[0].row = 0;
    for (std::size_t b = 1; b < n; ++b) {
        if (std::fabs(ref - w[b].miny) > frames::kRowTolerance) {
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
    std::erase_if(w, [](const FrameRect& f) { return !f.kept; });
}

// Best wall time of `runs` runs in milliseconds; `result` gets the last run's list.
double best(const FrameList& input, bool fromTop, int runs, void (*order)(FrameList&, bool), FrameList& result) {
    double bestMs = 1e300;
    for (int r = 0; r < runs; ++r) {
        result = input;
        const auto start = std::chrono::steady_clock::now();
        order(result, fromTop);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        bestMs = std::min(bestMs, took.count());
    }
    return bestMs;
}

}  // namespace

int main(int argc, char** argv) {
    const bool plainAll = argc > 1 && std::strcmp(argv[1], "--plain") == 0;
    std::mt19937 rng(7);
    std::printf("frame ordering, best of a few runs (milliseconds)\n");
    std::printf("%8s  %-8s %-8s %-7s %6s %10s %14s\n", "frames", "sheets", "order", "rows", "kept", "ordering",
                "plain passes");
    bool allSame = true;
    for (int n : {1000, 10000, 100000}) {
        for (int layout = 0; layout < 6; ++layout) {
            const bool snapped = layout / 2 == 1, oneRow = layout / 2 == 2, shuffled = layout % 2 == 0;
            const FrameList input = drawing(n, snapped, oneRow, shuffled, rng);
            for (bool fromTop : {false, true}) {
                const int runs = n >= 100000 ? 3 : 5;
                FrameList fast, plain;
                const double fastMs = best(input, fromTop, runs, frames::orderFrames, fast);
                char plainText[32] = "skipped";
                if (n <= 10000 || plainAll) {
                    const double plainMs = best(input, fromTop, 1, plainOrder, plain);
                    std::snprintf(plainText, sizeof plainText, "%.1f", plainMs);
                    const bool same = fast.size() == plain.size() &&
                                      std::memcmp(fast.data(), plain.data(), fast.size() * sizeof(FrameRect)) == 0;
                    if (!same) {
                        std::snprintf(plainText, sizeof plainText, "DIFFERS");
                        allSame = false;
                    }
                }
                std::printf("%8d  %-8s %-8s %-7s %6zu %10.2f %14s\n", n, oneRow ? "one row" : snapped ? "snapped" : "by hand",
                            shuffled ? "random" : "drawing", fromTop ? "top" : "bottom", fast.size(), fastMs, plainText);
            }
        }
    }
    if (!plainAll)
        std::printf("plain passes at 100,000 frames skipped: they grow with the square of the count, about a hundred\n"
                    "times the 10,000 figure (run with --plain to measure them)\n");
    return allSame ? 0 : 1;
}
