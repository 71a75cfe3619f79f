// Quillon and the stand-in as two programs on one screen: a capture photographs the
// drawing and outlines its frames, clicks on the preview choose frames and number them
// in plot order, and "すべて" chooses them all. Checked on the screen's pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tests/win/frame_road.h"

namespace {

using namespace road;
using quillon_test::QuillonProcess;
using quillon_test::waitUntil;

void keepForPeople(const Pixels& shot, const std::string& name) {
    saveBmp(std::filesystem::path(cadsim_test::binDir()) / (name + ".bmp"), shot);
}

// The window inside an outline where only the selection number can lie (the marks run
// along the outline), as a box around the outline's centre.
Box numberArea(const Box& outline, int halfWidth, int halfHeight) {
    const POINT c = outline.centre();
    Box b;
    b.left = c.x - halfWidth, b.right = c.x + halfWidth, b.top = c.y - halfHeight, b.bottom = c.y + halfHeight;
    return b;
}

TEST(QuillonPreview, SampleFramesOutlinedChosenAndNumberedInPlotOrder) {
    FrameRoad road(withoutCyan(sampleDrawing()), settingsFor("MORVEL"));
    ASSERT_TRUE(road.ready());
    Preview p;
    ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
    keepForPeople(p.shot, "quillon-preview-sample");
    const std::vector<Box> outlines = expectOutlines(road, p, framesOf(sampleFrames()));
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(road.countText(), L"0");
    EXPECT_TRUE(piecesOf(p.shot, kMark, p.mask).empty()) << "nothing is chosen after a capture";

    // Three frames of one height (so their numbers are drawn alike), clicked against plot
    // order: 2F PLAN (7th), SITE PLAN (2nd), 1F PLAN (1st).
    constexpr std::size_t k1F = 0, kSite = 1, k2F = 6;
    int halfW = 1 << 20, halfH = 1 << 20;
    for (std::size_t i : {k1F, kSite, k2F}) {
        halfW = std::min(halfW, outlines[i].width() / 2 - 9);
        halfH = std::min(halfH, outlines[i].height() / 2 - 9);
    }
    ASSERT_GT(halfW, 10);
    ASSERT_GT(halfH, 10);
    const POINT reach{halfW - 1, halfH - 1};
    const auto same = [&](const std::set<std::pair<int, int>>& a, const std::set<std::pair<int, int>>& b) {
        return sameShape(a, b, reach);
    };
    const auto number = [&](const Preview& shot, std::size_t i) {
        return shapeOf(shot.shot, kMark, numberArea(outlines[i], halfW, halfH), outlines[i].centre());
    };
    struct Click {
        std::size_t frame;
        const wchar_t* count;
        const wchar_t* scale;  // frame's longer side over A3's 420 mm
    };
    const Click clicks[] = {{k2F, L"1", L"50.0000"}, {kSite, L"2", L"50.0595"}, {k1F, L"3", L"50.0000"}};
    std::vector<std::size_t> chosen;
    std::vector<std::set<std::pair<int, int>>> numbers;  // what "1", "2", "3" look like
    for (const Click& c : clicks) {
        QuillonProcess::click(road.image(), outlines[c.frame].centre());
        chosen.push_back(c.frame);
        ASSERT_TRUE(waitUntil([&] { return road.countText() == c.count; })) << "count " << c.count;
        // Chosen frames in plot order; the numbers follow that order.
        std::vector<std::size_t> inOrder = chosen;
        std::sort(inOrder.begin(), inOrder.end());
        ASSERT_TRUE(road.settled(p, [&](const Preview& shot) {
            for (std::size_t i : inOrder)
                if (number(shot, i).empty()) return false;
            return true;
        })) << "no number in a chosen frame after choosing " << sampleFrames()[c.frame].title;
        EXPECT_EQ(road.scaleText(), c.scale) << sampleFrames()[c.frame].title;
        numbers.push_back(number(p, inOrder.back()));  // the highest number shown now
        for (std::size_t k = 0; k < inOrder.size(); ++k)
            EXPECT_TRUE(same(number(p, inOrder[k]), numbers[k]))
                << sampleFrames()[inOrder[k]].title << " should show " << k + 1 << " after choosing "
                << sampleFrames()[c.frame].title;
        for (std::size_t i = 0; i < outlines.size(); ++i)
            if (std::find(chosen.begin(), chosen.end(), i) == chosen.end()) {
                EXPECT_TRUE(shapeOf(p.shot, kMark, outlines[i], {0, 0}).empty())
                    << sampleFrames()[i].title << " is not chosen";
            }
    }
    keepForPeople(p.shot, "quillon-preview-sample-chosen");
    EXPECT_FALSE(same(numbers[0], numbers[1]));
    EXPECT_FALSE(same(numbers[1], numbers[2]));
    EXPECT_FALSE(same(numbers[0], numbers[2]));

    QuillonProcess::click(road.allButton());
    ASSERT_TRUE(waitUntil([&] { return road.countText() == L"11"; }));
    ASSERT_TRUE(road.settled(p, [&](const Preview& shot) {
        return same(number(shot, k1F), numbers[0]) && same(number(shot, kSite), numbers[1]);
    })) << "after すべて, 1F PLAN shows 1 and SITE PLAN 2";
    for (std::size_t i = 0; i < outlines.size(); ++i)
        if (outlines[i].width() > 12 && outlines[i].height() > 12) {
            EXPECT_FALSE(shapeOf(p.shot, kMark, outlines[i], {0, 0}).empty()) << sampleFrames()[i].title << " chosen";
        }
    keepForPeople(p.shot, "quillon-preview-sample-all");
}

// Real drawings: survey coordinates, a frame stored twice, open boxes, old-style
// polylines whose coordinates carry z, and a drawing with no frame at all.
struct RealDrawing {
    const char* file;
    const char* frameLayer;
    std::vector<Rect> frames;
};

void PrintTo(const RealDrawing& d, std::ostream* out) { *out << d.file << " on layer " << d.frameLayer; }

class QuillonRealDrawings : public testing::TestWithParam<RealDrawing> {};

TEST_P(QuillonRealDrawings, PictureTakenAndEveryFrameOutlinedOnce) {
    const RealDrawing& d = GetParam();
    FrameRoad road(withoutCyan(std::filesystem::path(QUILLON_DXF_DIR) / d.file), settingsFor(d.frameLayer));
    ASSERT_TRUE(road.ready());
    Preview p;
    ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
    keepForPeople(p.shot, std::string("quillon-preview-") + d.file);
    // The photograph is the drawing's extents, centred in the image at one scale.
    const sim::Extents e = road.extents();
    const double kx = p.picture.width() / (e.max.x - e.min.x), ky = p.picture.height() / (e.max.y - e.min.y);
    EXPECT_NEAR(kx, ky, 2.0 * std::max(kx, ky) / std::min(p.picture.width(), p.picture.height()));
    expectOutlines(road, p, d.frames);
    EXPECT_EQ(road.countText(), L"0");
}

INSTANTIATE_TEST_SUITE_P(
    Drawings, QuillonRealDrawings,
    testing::Values(
        // The outer frame is stored twice; the index boxes are open five-vertex polylines.
        RealDrawing{"chungkang_sample04_EPSG5187.dxf", "0",
                    {{120547.1804208108, 586611.6551737186, 122285.6282944093, 587708.1752943878}}},
        // Its title frames are closed four-vertex polylines of the old kind (x, y, z).
        RealDrawing{"dxfvuer_electric_R12.dxf", "TITLE", {}},
        RealDrawing{"barcelona_pavillion_pabellon.dxf", "MORVEL", {}}),
    [](const testing::TestParamInfo<RealDrawing>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('_'));
        return name;
    });

}  // namespace
