// Two CADs of Quillon's target running at once, each with a drawing of its own, their
// windows on the same place of the screen: Quillon photographs and plots the one CAD
// whose application object it reached (with a ProgID, the first in the running object
// table, as GetObject does), also when the other CAD's window lies on top. The capture
// brings forward the window the application object names (its HWND) and photographs the
// drawing window its document names, never a window found by its title. When the CAD
// reached closes, the next capture reaches the other one.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/win/frame_road.h"

namespace {

using namespace road;
using quillon_test::QuillonProcess;
using quillon_test::waitUntil;

// The two drawings share their extents (0,0 - 43000,20200) and differ in their frames
// and in one line on layer 0: the first drawing's runs up, the second's runs down.
struct TwoCadDrawing {
    std::vector<Rect> frames;
    bool lineUp;
    double lineY(double x) const { return lineUp ? 20200 * x / 43000 : 20200 * (1 - x / 43000); }
};

const TwoCadDrawing& drawingOne() {
    static const TwoCadDrawing d{{{0, 0, 21000, 14850}, {22000, 0, 43000, 14850}, {0, 16000, 2970, 20200}}, true};
    return d;
}
const TwoCadDrawing& drawingTwo() {
    static const TwoCadDrawing d{{{24000, 1000, 42000, 13000}, {1000, 17000, 9000, 20000}}, false};
    return d;
}

std::filesystem::path write(const TwoCadDrawing& d, const std::filesystem::path& file) {
    std::string dxf = "0\nSECTION\n2\nENTITIES\n";
    for (const Rect& r : d.frames) {
        char entity[256];
        std::snprintf(entity, sizeof entity,
                      "0\nLWPOLYLINE\n8\nMORVEL\n90\n4\n70\n1\n10\n%g\n20\n%g\n10\n%g\n20\n%g\n10\n%g\n20\n%g\n10\n%g\n20\n%g\n",
                      r.minx, r.miny, r.maxx, r.miny, r.maxx, r.maxy, r.minx, r.maxy);
        dxf += entity;
    }
    dxf += d.lineUp ? "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n43000\n21\n20200\n"
                    : "0\nLINE\n8\n0\n10\n0\n20\n20200\n11\n43000\n21\n0\n";
    dxf += "0\nENDSEC\n0\nEOF\n";
    std::ofstream(file, std::ios::binary) << dxf;
    return file;
}

// Whether the photograph shows a light pixel (the drawing's white line) within two
// pixels of where the drawing's line passes x = 12900, clear of every frame of both.
bool photographShowsLineOf(const FrameRoad& road, const Preview& p, const TwoCadDrawing& d) {
    constexpr double x = 12900;
    const POINT at = road.pixelOf(p, x, d.lineY(x));
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const int px = at.x + dx, py = at.y + dy;
            if (!p.shot.inside(px, py)) continue;
            const std::uint32_t c = p.shot.at(px, py);
            if (((c >> 16) & 0xFF) > 160 && ((c >> 8) & 0xFF) > 160 && (c & 0xFF) > 160) return true;
        }
    return false;
}

// Presses キャプチャ and waits until one of the CADs has put its view back (the capture's
// last call to it: its trace has one more "Application.ZoomPrevious()"), then until the
// preview has settled: a photograph already on the preview is not taken for the new one.
bool captureAndWaitForCad(FrameRoad& road, const std::vector<std::filesystem::path>& traces, Preview& out) {
    const auto viewsPutBack = [&traces] {
        std::size_t n = 0;
        for (const std::filesystem::path& trace : traces) {
            const std::string text = readFile(trace);
            for (std::size_t at = text.find("Application.ZoomPrevious()"); at != std::string::npos;
                 at = text.find("Application.ZoomPrevious()", at + 1))
                ++n;
        }
        return n;
    };
    const std::size_t before = viewsPutBack();
    QuillonProcess::click(road.captureButton());
    if (!waitUntil([&] { return viewsPutBack() > before; }, 30000)) return false;
    return road.settled(out, [](const Preview& p) { return p.picture.count > 1000; });
}

struct TwoCads {
    const char* name;
    std::vector<std::wstring> pose;  // both stand-ins'
    std::wstring cadTitle;
    std::string settings;
};

void PrintTo(const TwoCads& c, std::ostream* out) { *out << c.name; }

class QuillonTwoCads : public testing::TestWithParam<TwoCads> {};

// Both CADs and Quillon, in `out`.
void walkTwoCads(const TwoCads& t, const std::filesystem::path& out) {
    const std::filesystem::path journalOne = out / "one.jsonl", journalTwo = out / "two.jsonl";
    const std::vector<std::filesystem::path> traces = {out / "one.trace", out / "two.trace"};
    const std::wstring title = t.cadTitle.empty() ? std::wstring(cad::kHostWindowTitle) : t.cadTitle;

    // The first CAD, then the second on the same place of the screen, on top of it.
    std::vector<std::wstring> argsOne = t.pose;
    argsOne.insert(argsOne.end(), {L"--journal", journalOne.wstring(), L"--plot-dir", (out / "one").wstring(),
                                   L"--trace", traces[0].wstring(), write(drawingOne(), out / "one.dxf").wstring()});
    // Both stand-ins hold the test lock of stand_in.h: this thread's, taken twice.
    cadsim_test::StandIn first(argsOne);
    ASSERT_TRUE(first.started()) << first.output();
    const std::wstring firstTitle = t.cadTitle.empty() ? title : L"Autodesk AutoCAD - [one.dxf]";
    const HWND firstWindow = first.waitForMainWindow(30000, firstTitle);
    ASSERT_NE(firstWindow, nullptr) << first.output();
    ASSERT_TRUE(SetWindowPos(firstWindow, nullptr, 0, 0, kCadWidth, kCadHeight, SWP_NOZORDER | SWP_NOACTIVATE));

    std::vector<std::wstring> argsTwo = t.pose;
    argsTwo.insert(argsTwo.end(), {L"--journal", journalTwo.wstring(), L"--plot-dir", (out / "two").wstring(),
                                   L"--trace", traces[1].wstring()});
    const std::wstring secondTitle = t.cadTitle.empty() ? title : L"Autodesk AutoCAD - [two.dxf]";
    FrameRoad road(write(drawingTwo(), out / "two.dxf"), settingsFor("MORVEL") + t.settings, argsTwo, secondTitle);
    ASSERT_TRUE(road.ready()) << road.cadsim().output() << first.output();
    const HWND secondWindow = road.cadsim().waitForMainWindow(1000, secondTitle);
    ASSERT_NE(secondWindow, nullptr);

    // The first round tells which CAD Quillon reaches: the one that plots.
    Preview p;
    ASSERT_TRUE(captureAndWaitForCad(road, traces, p)) << "no photograph on the preview";
    QuillonProcess::click(road.allButton());
    ASSERT_TRUE(waitUntil([&] { return road.countText() == L"3" || road.countText() == L"2"; })) << road.countText();
    const bool reachedOne = road.countText() == L"3";
    const TwoCadDrawing& reached = reachedOne ? drawingOne() : drawingTwo();
    const TwoCadDrawing& other = reachedOne ? drawingTwo() : drawingOne();
    const HWND otherWindow = reachedOne ? secondWindow : firstWindow;
    std::printf("Quillon reached the %s CAD started\n", reachedOne ? "first" : "second");
    expectOutlines(road, p, reached.frames);
    EXPECT_TRUE(photographShowsLineOf(road, p, reached)) << "the photograph is not of the CAD reached";
    EXPECT_FALSE(photographShowsLineOf(road, p, other)) << "the photograph shows the other CAD's drawing";
    QuillonProcess::click(road.printButton());
    ASSERT_TRUE(waitUntil([&] { return readJournal(reachedOne ? journalOne : journalTwo).size() == reached.frames.size(); },
                          120000))
        << "not every sheet plotted by the CAD reached";
    ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(road.printButton()) != FALSE; }, 30000));
    EXPECT_TRUE(readJournal(reachedOne ? journalTwo : journalOne).empty()) << "the other CAD plotted";
    for (const JournalJob& job : readJournal(reachedOne ? journalOne : journalTwo)) {
        bool onAFrame = false;
        for (const Rect& f : reached.frames)
            onAFrame = onAFrame || job.window == std::vector<double>{f.minx, f.miny, f.maxx, f.maxy};
        EXPECT_TRUE(onAFrame) << "a sheet that is no frame of the drawing reached";
    }

    // The other CAD's window on top: the capture brings the reached one forward and
    // photographs its drawing.
    SetWindowPos(otherWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(otherWindow);
    Sleep(500);
    Preview again;
    ASSERT_TRUE(captureAndWaitForCad(road, traces, again)) << "no photograph on the preview";
    expectOutlines(road, again, reached.frames);
    EXPECT_TRUE(photographShowsLineOf(road, again, reached)) << "the photograph is not of the CAD reached";
    EXPECT_FALSE(photographShowsLineOf(road, again, other)) << "the photograph shows the other CAD's drawing";

    // The CAD reached closes; the other one, still running, is the one the next capture
    // reaches (its ProgID stays registered while one of its instances runs).
    cadsim_test::StandIn& reachedCad = reachedOne ? first : road.cadsim();
    PostMessageW(reachedOne ? firstWindow : secondWindow, WM_CLOSE, 0, 0);
    ASSERT_NE(reachedCad.waitForExit(15000), static_cast<DWORD>(STILL_ACTIVE)) << "the CAD reached did not close";
    Preview after;
    ASSERT_TRUE(captureAndWaitForCad(road, traces, after)) << "no photograph of the CAD left running";
    expectOutlines(road, after, other.frames);
    EXPECT_TRUE(photographShowsLineOf(road, after, other)) << "the photograph is not of the CAD left running";
}

TEST_P(QuillonTwoCads, ThePhotographAndTheSheetsAreOfTheCadReached) {
    const std::filesystem::path out = freshTempFolder(L"two-cads");
    walkTwoCads(GetParam(), out);
    std::error_code error;
    std::filesystem::remove_all(out, error);
}

INSTANTIATE_TEST_SUITE_P(
    BothInstancesRunning, QuillonTwoCads,
    testing::Values(TwoCads{"nanoCAD", {}, L"", ""},
                    TwoCads{"AutoCAD", {L"--host", L"AutoCAD"}, L"Autodesk AutoCAD", "TargetCAD=AutoCAD\r\n"}),
    [](const testing::TestParamInfo<TwoCads>& info) { return std::string(info.param.name); });

}  // namespace
