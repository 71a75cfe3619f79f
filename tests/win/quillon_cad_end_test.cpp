// The CAD ends in the middle of a run, as a crashing CAD does: the stand-in ends itself
// inside a call (--die), its call unanswered. Quillon's window comes back to its place,
// "印刷" and "キャプチャ" work again, and the end of the run says where and why within
// seconds.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "tests/win/frame_road.h"

namespace {

using namespace road;
using quillon_test::QuillonProcess;
using quillon_test::screenRect;
using quillon_test::waitUntil;

TEST(QuillonCadEnd, ARunTheCadsEndStopsSaysWhereAndWhyAndTheWindowComesBack) {
    const std::filesystem::path out = tempPath(L"quillon-cad-end-" + std::to_wstring(GetCurrentProcessId()));
    std::error_code error;
    std::filesystem::remove_all(out, error);
    std::filesystem::create_directories(out / "sheets", error);
    const std::filesystem::path journal = out / "journal.jsonl";
    {
        // The settings block sets the plot window once, then each sheet once: the stand-in
        // ends in the third sheet's.
        FrameRoad road(sampleDrawing(), settingsFor("MORVEL"),
                       {L"--journal", journal.wstring(), L"--plot-dir", (out / "sheets").wstring(), L"--die",
                        L"SetWindowToPlot@4"});
        ASSERT_TRUE(road.ready());
        Preview p;
        ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
        QuillonProcess::click(road.allButton());
        ASSERT_TRUE(waitUntil([&] { return road.countText() == L"11"; })) << road.countText();

        const HWND window = GetAncestor(road.printButton(), GA_ROOT);
        const RECT before = screenRect(window);
        const auto pressed = std::chrono::steady_clock::now();
        QuillonProcess::click(road.printButton());
        const HWND box = road.quillon().messageBox(60000);
        ASSERT_NE(box, nullptr) << "the end of the run said nothing";
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - pressed).count();
        EXPECT_LT(seconds, 20) << "the end came late";
        std::printf("the run's end was told %.1f s after 印刷\n", seconds);
        const std::wstring said = QuillonProcess::messageText(box);
        EXPECT_EQ(said.rfind(L"印刷は 3/11 枚目 (枠 3) で止まりました。\n", 0), 0u) << std::string(said.begin(), said.end());
        EXPECT_NE(said.find(L"CAD との接続が切れました"), std::wstring::npos) << "the reason in plain words";
        EXPECT_NE(said.find(L"選んだ 11 枚のうち CAD が受け付けたのは 2 枚です。"), std::wstring::npos);
        EXPECT_EQ(road.cadsim().waitForExit(10000), 3u) << "the stand-in did not end as told";

        // Back in place while the message shows, the buttons usable again once it is
        // answered, and the caption the target's.
        const RECT now = screenRect(window);
        EXPECT_EQ(now.left, before.left);
        EXPECT_EQ(now.top, before.top);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitUntil([&] {
            return IsWindowEnabled(road.printButton()) && IsWindowEnabled(road.captureButton());
        }, 10000));
        EXPECT_EQ(quillon_test::windowText(window), quillon_test::kMainTitle);
        // A capture with no CAD there does nothing and says nothing.
        QuillonProcess::click(road.captureButton());
        EXPECT_EQ(road.quillon().messageBox(2000), nullptr);
    }
    EXPECT_EQ(readJournal(journal).size(), 2u);
    std::filesystem::remove_all(out, error);
}

}  // namespace
