// Quillon beside the stand-in posing as each CAD it knows: set to that CAD, it names it in
// its caption, finds the posing stand-in and walks the whole road ("キャプチャ",
// "すべて", "印刷"), every frame plotted. Set to another CAD, it does not connect, even
// with the stand-in's window or ProgID one rule away.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/win/frame_road.h"

namespace {

using namespace road;
using quillon_test::QuillonProcess;
using quillon_test::waitUntil;

// Three sheets on the frame layer: two landscape A3 frames at 1:50 side by side, a
// portrait one at 1:10 above them.
const std::vector<Rect>& threeFrames() {
    static const std::vector<Rect> frames = {{0, 0, 21000, 14850}, {22000, 0, 43000, 14850}, {0, 16000, 2970, 20200}};
    return frames;
}

std::filesystem::path threeFrameDrawing(const std::filesystem::path& folder) {
    std::string dxf = "0\nSECTION\n2\nENTITIES\n";
    for (const Rect& r : threeFrames()) {
        char entity[256];
        std::snprintf(entity, sizeof entity,
                      "0\nLWPOLYLINE\n8\nMORVEL\n90\n4\n70\n1\n10\n%g\n20\n%g\n10\n%g\n20\n%g\n10\n%g\n20\n%g\n10\n%g\n20\n%g\n",
                      r.minx, r.miny, r.maxx, r.miny, r.maxx, r.maxy, r.minx, r.maxy);
        dxf += entity;
    }
    dxf += "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n43000\n21\n20200\n0\nENDSEC\n0\nEOF\n";
    const std::filesystem::path file = folder / "targets.dxf";
    std::ofstream(file, std::ios::binary) << dxf;
    return file;
}

struct Target {
    const char* name;                 // the profile Quillon is set to
    std::vector<std::wstring> pose;   // the stand-in's pose options
    std::wstring cadTitle;            // the stand-in's window title in that pose
    std::string settings;             // more of quillon.ini
};

void PrintTo(const Target& t, std::ostream* out) { *out << t.name; }

std::wstring fromUtf8(const std::string& text) {
    std::wstring out(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), int(out.size()));
    out.pop_back();
    return out;
}

class QuillonTargetRoad : public testing::TestWithParam<Target> {};

TEST_P(QuillonTargetRoad, TheTargetCadIsFoundAndEveryFramePlotted) {
    const Target& t = GetParam();
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    const std::filesystem::path out = freshTempFolder(L"target-" + fromUtf8(name));
    const std::filesystem::path journal = out / "journal.jsonl";
    std::vector<std::wstring> args = t.pose;
    args.insert(args.end(), {L"--journal", journal.wstring(), L"--plot-dir", (out / "sheets").wstring()});
    {
        FrameRoad road(threeFrameDrawing(out), settingsFor("MORVEL") + "TargetCAD=" + t.name + "\r\n" + t.settings, args,
                       t.cadTitle);
        ASSERT_TRUE(road.ready()) << road.cadsim().output();
        EXPECT_EQ(quillon_test::windowText(road.quillon().mainWindow()), L"Quillon 2.06 [ " + fromUtf8(t.name) + L" ]");
        Preview p;
        ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
        expectOutlines(road, p, threeFrames());
        QuillonProcess::click(road.allButton());
        ASSERT_TRUE(waitUntil([&] { return road.countText() == L"3"; })) << road.countText();
        QuillonProcess::click(road.printButton());
        ASSERT_TRUE(waitUntil([&] { return readJournal(journal).size() == 3; }, 120000)) << "not every sheet plotted";
        ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(road.printButton()) != FALSE; }, 30000));
    }
    const std::vector<JournalJob> jobs = readJournal(journal);
    ASSERT_EQ(jobs.size(), 3u);
    // Rows from the bottom, left to right: the two landscape sheets turned, then the
    // portrait one as it is.
    const double scales[] = {50, 50, 10};
    const int rotations[] = {1, 1, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        const Rect& f = threeFrames()[i];
        EXPECT_EQ(jobs[i].window, (std::vector<double>{f.minx, f.miny, f.maxx, f.maxy})) << "job " << i + 1;
        ASSERT_EQ(jobs[i].scale.size(), 2u);
        EXPECT_NEAR(jobs[i].scale[1], scales[i], 1e-9);
        EXPECT_EQ(jobs[i].rotation, rotations[i]);
        EXPECT_FALSE(jobs[i].output.empty());
    }
    std::error_code error;
    std::filesystem::remove_all(out, error);
}

INSTANTIATE_TEST_SUITE_P(
    EachCad, QuillonTargetRoad,
    testing::Values(Target{"nanoCAD", {L"--host", L"nanoCAD"}, L"nanoCAD 5", ""},
                    Target{"nanoCAD 現行版", {L"--host", L"nanoCAD 現行版"}, L"nanoCAD - [targets.dxf]", ""},
                    Target{"AutoCAD", {L"--host", L"AutoCAD"}, L"Autodesk AutoCAD - [targets.dxf]", ""},
                    Target{"BricsCAD", {L"--host", L"BricsCAD"}, L"BricsCAD - [targets.dxf]", ""},
                    Target{"ZWCAD", {L"--host", L"ZWCAD"}, L"ZWCAD - [targets.dxf]", ""},
                    Target{"GstarCAD", {L"--host", L"GstarCAD"}, L"GstarCAD - [targets.dxf]", ""},
                    Target{"OurCAD",
                           {L"--host-title", L"Our CAD 3 - [targets.dxf]", L"--host-progid", L"OurCad.Application"},
                           L"Our CAD 3 - [targets.dxf]",
                           "[CAD:OurCAD]\r\nTitlePrefix=Our CAD \r\nProgID=OurCad.Application\r\n"}),
    [](const testing::TestParamInfo<Target>& info) { return "Profile" + std::to_string(info.index); });

// Set to one CAD, Quillon leaves a stand-in posing as another alone: neither its window
// nor, with a window rule that matches, its ProgID answers to the target. Where the
// target's window is there but its object is not, the press says so, naming the section
// to correct; the default CAD stays silent.
TEST(QuillonTarget, AStandInPosingAsAnotherCadIsNotReached) {
    struct Case {
        const char* what;
        std::string settings;
        bool told = false;
    };
    const Case cases[] = {
        {"AutoCAD beside BricsCAD", "TargetCAD=AutoCAD\r\n"},
        {"BricsCAD's window, AutoCAD's ProgID",
         "TargetCAD=Mixed\r\n[CAD:Mixed]\r\nTitlePrefix=BricsCAD\r\nProgID=AutoCAD.Application\r\n", true},
        {"the default beside BricsCAD", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path out = freshTempFolder(L"target-apart");
        const std::filesystem::path trace = out / "trace.log";
        FrameRoad road(threeFrameDrawing(out), settingsFor("MORVEL") + c.settings,
                       {L"--host", L"BricsCAD", L"--trace", trace.wstring()}, L"BricsCAD - [targets.dxf]");
        ASSERT_TRUE(road.ready()) << road.cadsim().output();
        QuillonProcess::click(road.captureButton());
        const HWND box = road.quillon().messageBox(c.told ? 20000 : 2000);
        if (c.told) {
            ASSERT_NE(box, nullptr) << "the unreachable CAD was not told";
            const std::wstring said = QuillonProcess::messageText(box);
            EXPECT_NE(said.find(L"AutoCAD.Application"), std::wstring::npos);
            EXPECT_NE(said.find(L"[CAD:Mixed]"), std::wstring::npos);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }, 10000));
        } else {
            EXPECT_EQ(box, nullptr) << "a message for a CAD that is not there";
        }
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutW(road.quillon().mainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored));
        EXPECT_EQ(road.preview().picture.count, 0) << "a photograph was taken";
        EXPECT_EQ(readFile(trace), "") << "the stand-in was called";
    }
}

}  // namespace
