// The whole road, as a user walks it: the stand-in with a sample drawing (sheet frames
// drawn as polylines, or as title-block blocks), Quillon beside it; "キャプチャ" (every
// frame outlined), "すべて", "印刷". The stand-in's plot journal then holds one job
// per frame in plot order, each framed on its frame at the frame's own scale and turn,
// and its PDF device has written one sheet of the chosen paper per job.
//
// With QUILLON_ROAD_OUT set to a folder, the journal, the sheets and screen copies are
// left there for a person (./run uses it); otherwise everything goes to a temporary
// folder that is removed afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "tests/win/frame_road.h"

namespace {

using namespace road;
using quillon_test::QuillonProcess;
using quillon_test::screenRect;
using quillon_test::waitUntil;

struct RoadCase {
    const char* name;
    bool fromTop;  // "左上から印刷する"
    std::vector<std::string> order;  // titles of the drawing's frames
    // The drawing and its frames; with `blockFrames` the system menu's option that makes
    // block references frames is on.
    std::filesystem::path (*drawing)() = sampleDrawing;
    const std::vector<SampleFrame>& (*frames)() = sampleFrames;
    bool blockFrames = false;
    bool outlinesChecked = false;
};

void PrintTo(const RoadCase& c, std::ostream* out) { *out << c.name; }

class QuillonPlotRoad : public testing::TestWithParam<RoadCase> {};

std::filesystem::path outputFolder(const std::string& name, bool& keep) {
    if (const char* out = std::getenv("QUILLON_ROAD_OUT"); out && *out) {
        keep = true;
        return std::filesystem::path(out) / name;
    }
    keep = false;
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::filesystem::path(dir) / (L"quillon-road-" + std::to_wstring(GetCurrentProcessId()) + L"-" + wide(name));
}

TEST_P(QuillonPlotRoad, EveryChosenFramePlottedInOrderOnItsSheet) {
    const RoadCase& c = GetParam();
    bool keep = false;
    const std::filesystem::path out = outputFolder(c.name, keep);
    std::error_code error;
    std::filesystem::remove_all(out, error);
    std::filesystem::create_directories(out / "sheets", error);
    const std::filesystem::path journal = out / "journal.jsonl";

    {
        FrameRoad road(c.drawing(),
                       settingsFor("MORVEL", c.fromTop) + (c.blockFrames ? "BlockWaku=1\r\n" : ""),
                       {L"--journal", journal.wstring(), L"--plot-dir", (out / "sheets").wstring()});
        ASSERT_TRUE(road.ready());
        Preview p;
        ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
        // Every frame outlined where it lies on the photograph (on a drawing whose own
        // lines are not cyan).
        if (c.outlinesChecked) expectOutlines(road, p, framesOf(c.frames()));
        QuillonProcess::click(road.allButton());
        const std::wstring all = std::to_wstring(c.order.size());
        ASSERT_TRUE(waitUntil([&] { return road.countText() == all; })) << road.countText();
        if (keep) saveBmp(out / "preview.bmp", road.preview().shot);

        const HWND window = GetAncestor(road.printButton(), GA_ROOT);
        const RECT before = screenRect(window);
        QuillonProcess::click(road.printButton());
        ASSERT_TRUE(waitUntil([&] { return !IsWindowEnabled(road.printButton()); }, 10000)) << "the run did not start";
        // The run has ended when "印刷" is back and the window has returned from its
        // place above the taskbar.
        ASSERT_TRUE(waitUntil(
            [&] {
                const RECT now = screenRect(window);
                return IsWindowEnabled(road.printButton()) && IsWindowEnabled(road.captureButton()) &&
                       now.left == before.left && now.top == before.top;
            },
            180000))
            << "the run did not end";
        if (keep) {
            // The screen as it settles once the window has painted itself back in place.
            RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            Pixels shot = screenCopy(screen);
            waitUntil([&] {
                Pixels now = screenCopy(screen);
                const bool same = now.data == shot.data;
                shot = std::move(now);
                return same;
            }, 5000, 200);
            saveBmp(out / "screen.bmp", shot);
        }
    }

    const std::vector<JournalJob> jobs = readJournal(journal);
    ASSERT_EQ(jobs.size(), c.order.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const JournalJob& j = jobs[i];
        const SampleFrame& e = frameTitled(c.frames(), c.order[i]);
        SCOPED_TRACE(std::string("job ") + std::to_string(i + 1) + ": " + e.title);
        EXPECT_EQ(j.job, int(i + 1));
        EXPECT_EQ(j.device, "PDF");
        EXPECT_EQ(j.media, "ISO_A3_(297.00_x_420.00_MM)");  // the paper chosen, as the stand-in names it
        ASSERT_EQ(j.window.size(), 4u);
        EXPECT_NEAR(j.window[0], e.frame.minx, 1e-6);
        EXPECT_NEAR(j.window[1], e.frame.miny, 1e-6);
        EXPECT_NEAR(j.window[2], e.frame.maxx, 1e-6);
        EXPECT_NEAR(j.window[3], e.frame.maxy, 1e-6);
        ASSERT_EQ(j.scale.size(), 2u);
        EXPECT_EQ(j.scale[0], 1.0);
        EXPECT_NEAR(j.scale[1], e.scale, 1e-9 * e.scale);
        EXPECT_EQ(j.rotation, e.rotation);
        // One upright A3 sheet per job: 297 x 420 mm in points.
        ASSERT_FALSE(j.output.empty()) << "no sheet written";
        const auto boxes = mediaBoxes(readFile(std::filesystem::path(j.output)));
        ASSERT_EQ(boxes.size(), 1u) << j.output;
        EXPECT_NEAR(boxes[0][2] - boxes[0][0], 297 / 25.4 * 72, 0.01);
        EXPECT_NEAR(boxes[0][3] - boxes[0][1], 420 / 25.4 * 72, 0.01);
    }
    if (!keep) std::filesystem::remove_all(out, error);
}

INSTANTIATE_TEST_SUITE_P(
    Sample, QuillonPlotRoad,
    testing::Values(
        RoadCase{"rows_from_the_bottom", false,
                 {"1F PLAN", "SITE PLAN", "SECTION A", "TURNED", "TRAPEZOID", "KEY PLAN", "2F PLAN", "ELEVATION",
                  "DETAIL 1", "DETAIL 2", "DETAIL 3"}},
        RoadCase{"rows_from_the_top", true,
                 {"DETAIL 1", "DETAIL 2", "DETAIL 3", "KEY PLAN", "2F PLAN", "ELEVATION", "TRAPEZOID", "1F PLAN",
                  "SITE PLAN", "SECTION A", "TURNED"}}),
    [](const testing::TestParamInfo<RoadCase>& info) { return std::string(info.param.name); });

// Sheet frames drawn as title-block blocks, with the system menu's option on.
INSTANTIATE_TEST_SUITE_P(
    Blocks, QuillonPlotRoad,
    testing::Values(RoadCase{"blocks_rows_from_the_bottom", false,
                             {"A3", "A3 90", "A1", "POLYLINE", "A3 1:100", "MIRRORED", "A3 270", "NESTED", "A3 180",
                              "POLYLINE 1:25"},
                             [] { return withoutCyan(blockSampleDrawing()); }, blockSampleFrames, true, true}),
    [](const testing::TestParamInfo<RoadCase>& info) { return std::string(info.param.name); });

// The option as a user sets it: the system menu opened from the keyboard (Alt+Space), its
// item "ブロック参照も枠とする" chosen; the next capture finds the block frames.
TEST(QuillonBlockFrames, TheSystemMenuItemTurnsThemOn) {
    FrameRoad road(withoutCyan(blockSampleDrawing()), settingsFor("MORVEL"));
    ASSERT_TRUE(road.ready());
    const HWND main = road.quillon().mainWindow();
    Preview p;
    ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
    QuillonProcess::click(road.allButton());
    // Off, the three polylines only (the one on a block frame is a frame of its own).
    ASSERT_TRUE(waitUntil([&] { return road.countText() == L"3"; })) << road.countText();

    PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    HWND menu = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        menu = FindWindowW(L"#32768", nullptr);
        return menu && IsWindowVisible(menu);
    }, 10000)) << "no system menu";
    if (const char* shots = std::getenv("QUILLON_SHOTS"); shots && *shots)
        saveBmp(std::filesystem::path(shots) / "system-menu.bmp", screenCopy(RECT{600, 0, 1280, 400}));
    for (int key : {VK_UP, VK_UP, VK_RETURN}) {  // up past "ファイルに出力", the last
        PostMessageW(menu, WM_KEYDOWN, key, 0);
        PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
    }
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(menu); }, 10000));

    ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
    expectOutlines(road, p, framesOf(blockSampleFrames()));
    QuillonProcess::click(road.allButton());
    EXPECT_TRUE(waitUntil([&] { return road.countText() == L"10"; })) << road.countText();
}

}  // namespace
