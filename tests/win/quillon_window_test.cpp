// The real window where a settings file or a run could lose it: it opens on the screen
// whatever the file says; during a run the print settings hold still; a closing during a
// run stops it after the sheet in hand and keeps the window's place from before the run.
// And the system menu's item that shows the equal-interval page.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/frame_road.h"
#include "ui/win/form_win.h"

namespace {

using quillon_test::QuillonProcess;
using quillon_test::screenRect;
using quillon_test::waitUntil;

RECT workArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

TEST(QuillonWindow, OpensOnTheScreenWhateverTheSettingsSay) {
    RECT designed{};
    {
        QuillonProcess quillon("");
        ASSERT_NE(quillon.mainWindow(), nullptr);
        designed = screenRect(quillon.mainWindow());
        ASSERT_TRUE(quillon.close());
    }
    const struct {
        const char* name;
        const char* keys;
        bool designedSize;
    } cases[] = {
        {"sizes far below zero", "Width=-10000\r\nHeight=-10000\r\n", true},
        {"largest left and top", "Left=2147483647\r\nTop=2147483647\r\n", true},
        {"smallest left and top", "Left=-2147483648\r\nTop=-2147483648\r\n", true},
        {"largest size and left", "Width=2147483647\r\nHeight=2147483647\r\nLeft=2147483647\r\n", false},
    };
    const RECT work = workArea();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QuillonProcess quillon(std::string("[MORVEL]\r\n") + c.keys);
        const HWND window = quillon.mainWindow();
        ASSERT_NE(window, nullptr);
        const RECT r = screenRect(window);
        // The caption bar lies inside the work area, where it can be taken.
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.top + 32, work.bottom);
        EXPECT_GE(r.left, work.left);
        EXPECT_LE(r.left + 32, work.right);
        if (c.designedSize) {
            EXPECT_EQ(r.right - r.left, designed.right - designed.left);
            EXPECT_EQ(r.bottom - r.top, designed.bottom - designed.top);
        }
        EXPECT_TRUE(quillon.close());
    }
}

// The system menu's item shows the equal-interval page: its tab and controls are there and
// take clicks; chosen again, the page goes. The choice is kept in the settings file.
TEST(QuillonWindow, TheSystemMenuShowsTheEqualIntervalPage) {
    QuillonProcess quillon("[MORVEL]\r\nLeft=100\r\nTop=100\r\n");
    const HWND window = quillon.mainWindow();
    ASSERT_NE(window, nullptr);
    const std::vector<HWND> tabs = quillon.controlsOfClass(WC_TABCONTROLW);
    ASSERT_EQ(tabs.size(), 1u);
    const auto tabCount = [&] { return SendMessageW(tabs[0], TCM_GETITEMCOUNT, 0, 0); };
    EXPECT_EQ(tabCount(), 1);
    EXPECT_EQ(quillon.controlWithText(L"左下原点"), nullptr);

    PostMessageW(window, WM_SYSCOMMAND, platform::kFirstMenuCommand, 0);
    ASSERT_TRUE(waitUntil([&] { return tabCount() == 2 && quillon.controlWithText(L"左下原点") != nullptr; }));
    EXPECT_TRUE(quillon.enabled(quillon.controlWithText(L"左下原点")));
    if (const char* out = std::getenv("QUILLON_SHOTS"); out && *out)
        road::saveBmp(std::filesystem::path(out) / "grid-page-shown.bmp", road::screenCopy(screenRect(window)));

    PostMessageW(window, WM_SYSCOMMAND, platform::kFirstMenuCommand, 0);
    ASSERT_TRUE(waitUntil([&] { return tabCount() == 1 && quillon.controlWithText(L"左下原点") == nullptr; }));
    PostMessageW(window, WM_SYSCOMMAND, platform::kFirstMenuCommand, 0);
    ASSERT_TRUE(waitUntil([&] { return tabCount() == 2; }));
    ASSERT_TRUE(quillon.close());
    std::string ascii;
    const std::string settings = quillon.settingsText();
    for (std::size_t i = 2; i < settings.size(); i += 2) ascii += settings[i];
    EXPECT_NE(ascii.find("\r\nShowGrid=1\r\n"), std::string::npos) << ascii;
}

// A window of the taskbar's class along the bottom of the screen, so that a run parks
// the main window above it. Its own thread runs its messages.
class Taskbar {
public:
    Taskbar() {
        thread_ = std::thread([this] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefWindowProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"Shell_TrayWnd";
            RegisterClassW(&wc);
            const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
            window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, h - kHeight, w, kHeight,
                                      nullptr, nullptr, wc.hInstance, nullptr);
            threadId_ = GetCurrentThreadId();
            made_ = true;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
            if (window_) DestroyWindow(window_);
        });
        waitUntil([this] { return made_.load(); }, 5000);
    }
    ~Taskbar() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    static constexpr int kHeight = 40;

private:
    std::thread thread_;
    std::atomic<bool> made_{false};
    std::atomic<DWORD> threadId_{0};
    HWND window_ = nullptr;
};

// A drawing of `count` A3 frames at 1 : 1 in rows of ten.
std::string framesDrawing(int count) {
    std::string dxf = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < count; ++i) {
        const int x = (i % 10) * 500, y = (i / 10) * 400;
        char entity[256];
        std::snprintf(entity, sizeof entity,
                      "0\nLWPOLYLINE\n8\nMORVEL\n90\n4\n70\n1\n10\n%d\n20\n%d\n10\n%d\n20\n%d\n10\n%d\n20\n%d\n10\n%d\n20\n%d\n",
                      x, y, x + 420, y, x + 420, y + 297, x, y + 297);
        dxf += entity;
    }
    return dxf + "0\nENDSEC\n0\nEOF\n";
}

int linesIn(const std::filesystem::path& file) {
    std::ifstream in(file);
    int n = 0;
    for (std::string line; std::getline(in, line);) n += !line.empty();
    return n;
}

// During a run the print settings and the capture are disabled; a closing then stops the
// run after the sheet in hand, ends the program, and the settings keep the place the
// window had before the run parked it above the taskbar.
TEST(QuillonRun, PrintSettingsHoldStillAndClosingStopsAfterTheSheetInHand) {
    constexpr int kFrames = 60;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path dir =
        std::filesystem::path(temp) / (L"quillon-run-" + std::to_wstring(GetCurrentProcessId()));
    std::error_code error;
    std::filesystem::remove_all(dir, error);
    std::filesystem::create_directories(dir / "sheets", error);
    const std::filesystem::path drawing = dir / "frames.dxf", journal = dir / "journal.jsonl";
    std::ofstream(drawing, std::ios::binary) << framesDrawing(kFrames);

    Taskbar taskbar;
    std::string settings;
    int jobsAtClose = 0;
    RECT before{};
    {
        road::FrameRoad road(drawing, road::settingsFor("MORVEL"),
                             {L"--journal", journal.wstring(), L"--plot-dir", (dir / "sheets").wstring()});
        ASSERT_TRUE(road.ready());
        road::Preview p;
        ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
        QuillonProcess::click(road.allButton());
        ASSERT_TRUE(waitUntil([&] { return road.countText() == std::to_wstring(kFrames); })) << road.countText();

        QuillonProcess& quillon = road.quillon();
        const HWND stop = quillon.controlWithText(L"中止");
        const std::vector<HWND> lists = quillon.controlsOfClass(L"ComboBox");
        ASSERT_NE(stop, nullptr);
        ASSERT_EQ(lists.size(), 5u) << "printer, paper, style and the two rotations";
        before = screenRect(quillon.mainWindow());

        QuillonProcess::click(road.printButton());
        // "中止" is enabled only while everything the run holds still is disabled: a look
        // between two looks that found it enabled saw the middle of the run.
        int looks = 0;
        std::vector<std::string> enabledDuring;
        ASSERT_TRUE(waitUntil(
            [&] {
                if (!IsWindowEnabled(stop)) return false;
                std::vector<HWND> held = lists;
                held.push_back(road.captureButton());
                std::vector<bool> states;
                for (HWND h : held) states.push_back(IsWindowEnabled(h) != FALSE);
                if (!IsWindowEnabled(stop)) return false;
                for (std::size_t i = 0; i < states.size(); ++i)
                    if (states[i]) enabledDuring.push_back("control " + std::to_string(i));
                return ++looks >= 3 && linesIn(journal) >= 2;
            },
            60000, 5))
            << "the run was not seen under way";
        EXPECT_EQ(enabledDuring, std::vector<std::string>{});
        EXPECT_NE(screenRect(quillon.mainWindow()).top, before.top) << "the run did not park the window";

        jobsAtClose = linesIn(journal);
        PostMessageW(quillon.mainWindow(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(quillon.close(60000)) << "Quillon did not end after the run stopped";
        settings = quillon.settingsText();
    }
    const int jobs = linesIn(journal);
    EXPECT_LE(jobs, jobsAtClose + 1) << "the run went on after the closing";
    EXPECT_LT(jobs, kFrames);
    // The file is UTF-16LE; the keys are ASCII.
    std::string ascii;
    for (std::size_t i = 2; i < settings.size(); i += 2) ascii += settings[i];
    EXPECT_NE(ascii.find("Left=" + std::to_string(before.left) + "\r\nTop=" + std::to_string(before.top)),
              std::string::npos)
        << ascii;
    std::filesystem::remove_all(dir, error);
}

}  // namespace
