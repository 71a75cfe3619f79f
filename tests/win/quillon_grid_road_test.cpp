// The equal-interval page's road under Wine, with the stand-in as its own program. The
// first test runs the main window in its own process, on the Win32 widgets, desktop
// services and COM link, and presses the page's buttons through their handlers; the
// last one shows the page through the system menu in quillon.exe and clicks them as a
// user does. "キャプチャ" takes the
// drawing scale and extents and lays the sheet grid over them, "すべて" chooses every cell
// whose sheet holds drawing content, "印刷" plots the chosen cells. The stand-in's plot
// journal then holds one job per chosen cell, in row order, each framed on the cell's
// sheet at the page's print scale and turn, on the page's device and paper.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "cad/com/co_application_win.h"
#include "cad/com/com_types_win.h"
#include "desktop/shell_services_win.h"
#include "tests/win/quillon_process.h"
#include "tests/win/road_support.h"
#include "tests/win/stand_in.h"
#include "ui/win/form_win.h"
#include "ui/win/widget_factory_win.h"

namespace {

using namespace road;

struct Rect {
    double minx, miny, maxx, maxy;
};

// The desktop services with the settings file in the test's folder and messages kept.
class GridShell : public platform::WinShellServices {
public:
    explicit GridShell(std::filesystem::path folder) : folder_(std::move(folder)) {}
    std::wstring programPath() override { return (folder_ / L"quillon.exe").wstring(); }
    void showMessage(const std::wstring& text) override { messages.push_back(text); }
    std::vector<std::wstring> messages;

private:
    std::filesystem::path folder_;
};

// A 2 x 2 grid from the base point (100, 50) at a spacing of 4500 by 3200; an A3
// landscape sheet at the drawing's dimension scale of 10 is 4200 by 2970. Three sheets
// hold a line each; the upper-left one holds nothing of its own, only a line that
// crosses into it from the sheet below (so it lies inside no sheet). The upper-right
// line reaches far enough for a second column and row.
const char kGridDrawing[] =
    "0\nSECTION\n2\nHEADER\n9\n$DIMSCALE\n40\n10.0\n0\nENDSEC\n"
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\n0\n10\n200.0\n20\n100.0\n30\n0.0\n11\n4000.0\n21\n2900.0\n31\n0.0\n"
    "0\nLINE\n8\n0\n10\n4700.0\n20\n100.0\n30\n0.0\n11\n8000.0\n21\n2900.0\n31\n0.0\n"
    "0\nLINE\n8\n0\n10\n4700.0\n20\n3300.0\n30\n0.0\n11\n8790.0\n21\n6210.0\n31\n0.0\n"
    "0\nLINE\n8\n0\n10\n2000.0\n20\n2000.0\n30\n0.0\n11\n2000.0\n21\n4000.0\n31\n0.0\n"
    "0\nENDSEC\n0\nEOF\n";

// The sheet of cell (column, row), row 0 at the bottom.
Rect sheet(int column, int row) {
    const double x = 100 + column * 4500.0, y = 50 + row * 3200.0;
    return {x, y, x + 4200, y + 2970};
}

// Quillon beside the stand-in, with the equal-interval page's inputs. The paper is saved
// under the host's media name: after a capture the page's paper list holds media names. The drawing scale
// given here (1) is replaced by the drawing's own at the capture; the print scale is
// taken as typed.
std::string gridSettings(bool fromTop) {
    std::string s = "[MORVEL]\r\nWidth=650\r\nHeight=760\r\nLeft=630\r\nTop=0\r\n";
    s += "kiten=100,50\r\ndxdy=4500,3200\r\nZumenSize=A3\r\ndimsc=1\r\n";
    s += "Keisan=0\r\nsyakudo=20\r\nKaiten=3\r\n";
    s += "devName=PDF\r\npaperName=ISO_A3_(297.00_x_420.00_MM)\r\nstyleName=monochrome.ctb\r\n";
    s += std::string("Uekara=") + (fromTop ? "1" : "0") + "\r\n";
    return s;
}

struct GridCase {
    const char* name;
    bool fromTop;  // "左上から印刷する"
    std::vector<std::pair<int, int>> order;  // cells as (column, row)
};

void PrintTo(const GridCase& c, std::ostream* out) { *out << c.name; }

class QuillonGridRoad : public testing::TestWithParam<GridCase> {};

TEST_P(QuillonGridRoad, EveryCellWithContentPlottedInRowOrder) {
    const GridCase& c = GetParam();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path out = std::filesystem::path(temp) / (L"quillon-grid-road-" +
                                      std::to_wstring(GetCurrentProcessId()) + L"-" + std::wstring(c.name, c.name + std::strlen(c.name)));
    std::error_code error;
    std::filesystem::remove_all(out, error);
    std::filesystem::create_directories(out / "sheets", error);
    const std::filesystem::path drawing = out / "grid.dxf", journal = out / "journal.jsonl";
    std::ofstream(drawing, std::ios::binary) << kGridDrawing;
    std::ofstream(out / "quillon.ini", std::ios::binary) << gridSettings(c.fromTop);

    {
        cadsim_test::StandIn cadsim(
            {L"--journal", journal.wstring(), L"--plot-dir", (out / "sheets").wstring(), drawing.wstring()});
        const HWND cadWindow = cadsim.waitForMainWindow();
        ASSERT_NE(cadWindow, nullptr) << cadsim.output();
        ASSERT_TRUE(SetWindowPos(cadWindow, nullptr, 0, 0, 620, 760, SWP_NOZORDER | SWP_NOACTIVATE));

        cad::com::ComInit com;
        ASSERT_TRUE(com.ok());
        GridShell shell(out);
        platform::WinWidgetFactory widgets;
        cad::com::ComCoApplication cad;
        app::MainWindow form(widgets, shell, 96);
        form.setCadLink(cad);
        platform::FormPeer* window = platform::FormPeer::of(form.form());
        ASSERT_TRUE(window && window->hwnd());
        shell.setOwner(window->hwnd());
        window->show(SW_SHOWNOACTIVATE);
        shell.processMessages();
        ASSERT_EQ(form.gridPage.drawingScale->text(), L"1");

        form.gridPage.capture();
        EXPECT_EQ(form.gridPage.drawingScale->text(), L"10");  // the drawing's own scale
        form.gridPage.chooseOrReleaseAll(ui::MouseEvent{});
        ASSERT_EQ(form.gridPage.chosenCount->text(), L"3");
        form.gridPage.print();  // returns when the run has ended
        EXPECT_TRUE(form.gridPage.printButton->enabled());
        EXPECT_FALSE(form.gridPage.stopButton->enabled());
        for (const std::wstring& m : shell.messages) ADD_FAILURE() << "message: " << testing::PrintToString(m);
        EXPECT_EQ(form.gridPage.printer->text(), L"PDF");
        EXPECT_EQ(form.gridPage.paper->text(), L"ISO_A3_(297.00_x_420.00_MM)");
        EXPECT_EQ(form.gridPage.styleTable->text(), L"monochrome.ctb");
    }

    const std::vector<JournalJob> jobs = readJournal(journal);
    ASSERT_EQ(jobs.size(), c.order.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const JournalJob& j = jobs[i];
        const auto [column, row] = c.order[i];
        const Rect e = sheet(column, row);
        SCOPED_TRACE("job " + std::to_string(i + 1) + ": cell " + std::to_string(column) + "," + std::to_string(row));
        EXPECT_EQ(j.job, int(i + 1));
        EXPECT_EQ(j.device, "PDF");
        EXPECT_EQ(j.media, "ISO_A3_(297.00_x_420.00_MM)");
        ASSERT_EQ(j.window.size(), 4u);
        EXPECT_NEAR(j.window[0], e.minx, 1e-6);
        EXPECT_NEAR(j.window[1], e.miny, 1e-6);
        EXPECT_NEAR(j.window[2], e.maxx, 1e-6);
        EXPECT_NEAR(j.window[3], e.maxy, 1e-6);
        ASSERT_EQ(j.scale.size(), 2u);
        EXPECT_EQ(j.scale[0], 1.0);
        EXPECT_EQ(j.scale[1], 20.0);
        EXPECT_EQ(j.rotation, 3);
        ASSERT_FALSE(j.output.empty()) << "no sheet written";
        EXPECT_EQ(mediaBoxes(readFile(std::filesystem::path(j.output))).size(), 1u) << j.output;
    }
    std::filesystem::remove_all(out, error);
}

INSTANTIATE_TEST_SUITE_P(
    TwoByTwo, QuillonGridRoad,
    testing::Values(GridCase{"rows_from_the_bottom", false, {{0, 0}, {1, 0}, {1, 1}}},
                    GridCase{"rows_from_the_top", true, {{1, 1}, {0, 0}, {1, 0}}}),
    [](const testing::TestParamInfo<GridCase>& info) { return std::string(info.param.name); });

// Shown through the system menu, the page takes real clicks: "キャプチャ", "すべて" and
// "印刷" on quillon.exe plot the cells with content, as through the handlers above.
TEST(QuillonGridPage, ShownFromTheSystemMenuItsButtonsTakeRealClicks) {
    const std::filesystem::path out = freshTempFolder(L"grid-clicks");
    std::error_code error;
    const std::filesystem::path drawing = out / "grid.dxf", journal = out / "journal.jsonl";
    std::ofstream(drawing, std::ios::binary) << kGridDrawing;
    {
        cadsim_test::StandIn cadsim(
            {L"--journal", journal.wstring(), L"--plot-dir", (out / "sheets").wstring(), drawing.wstring()});
        const HWND cadWindow = cadsim.waitForMainWindow();
        ASSERT_NE(cadWindow, nullptr) << cadsim.output();
        ASSERT_TRUE(SetWindowPos(cadWindow, nullptr, 0, 0, 620, 760, SWP_NOZORDER | SWP_NOACTIVATE));
        quillon_test::QuillonProcess quillon(gridSettings(false));
        const HWND main = quillon.mainWindow();
        ASSERT_NE(main, nullptr);

        EXPECT_EQ(quillon.controlWithText(L"自動計算"), nullptr) << "the page is hidden until asked for";
        // The first of the program's system menu commands, as the menu sends it.
        PostMessageW(main, WM_SYSCOMMAND, platform::kFirstMenuCommand, 0);
        HWND capture = nullptr, all = nullptr, print = nullptr;
        ASSERT_TRUE(quillon_test::waitUntil([&] {
            // The page's own field first: the buttons of both pages have the same captions.
            if (!quillon.controlWithText(L"自動計算")) return false;
            capture = quillon.controlWithText(L"キャプチャ");
            all = quillon.controlWithText(L"すべて");
            print = quillon.controlWithText(L"印刷");
            return capture && all && print;
        }, 10000)) << "the page did not come up";
        const RECT allRect = quillon_test::screenRect(all);
        const HWND count = quillon.controlOfClassNear(L"Edit", {(allRect.left + allRect.right) / 2, allRect.bottom + 4});
        ASSERT_NE(count, nullptr);

        const HWND drawingScale = quillon.controlWithText(L"1");  // dimsc=1 of the settings
        ASSERT_NE(drawingScale, nullptr);

        // The capture has ended when the drawing's own scale is shown and the window is back.
        quillon_test::QuillonProcess::click(capture);
        ASSERT_TRUE(quillon_test::waitUntil(
            [&] { return quillon_test::windowText(drawingScale) == L"10" && IsWindowEnabled(all) && !IsIconic(main); },
            30000));
        quillon_test::QuillonProcess::click(all);
        ASSERT_TRUE(quillon_test::waitUntil([&] { return quillon_test::windowText(count) == L"3"; }, 10000))
            << quillon_test::windowText(count);
        quillon_test::QuillonProcess::click(print);
        ASSERT_TRUE(quillon_test::waitUntil([&] { return readJournal(journal).size() == 3; }, 120000));
        ASSERT_TRUE(quillon_test::waitUntil([&] { return IsWindowEnabled(print) != FALSE; }, 30000));

        // The "CAD" button lists the target CADs under itself; the keyboard chooses one
        // (down past nanoCAD and nanoCAD 現行版 to AutoCAD), and the caption names it.
        const HWND cadButton = quillon.controlWithText(L"CAD");
        quillon_test::QuillonProcess::click(cadButton);
        HWND menu = nullptr;
        ASSERT_TRUE(quillon_test::waitUntil([&] {
            menu = FindWindowW(L"#32768", nullptr);
            return menu && IsWindowVisible(menu);
        }, 10000)) << "no menu under the button";
        const RECT button = quillon_test::screenRect(cadButton), popped = quillon_test::screenRect(menu);
        EXPECT_EQ(popped.left, button.left);
        EXPECT_EQ(popped.top, button.bottom);
        if (const char* shots = std::getenv("QUILLON_SHOTS"); shots && *shots)
            saveBmp(std::filesystem::path(shots) / "target-cad-menu.bmp", screenCopy(RECT{600, 0, 1280, 400}));
        for (int key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(menu, WM_KEYDOWN, key, 0);
            PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
        }
        EXPECT_TRUE(quillon_test::waitUntil(
            [&] { return quillon_test::windowText(main) == L"Quillon 2.06 [ AutoCAD ]"; }, 10000))
            << quillon_test::windowText(main);
    }
    const std::vector<JournalJob> jobs = readJournal(journal);
    const std::pair<int, int> order[] = {{0, 0}, {1, 0}, {1, 1}};
    ASSERT_EQ(jobs.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const Rect e = sheet(order[i].first, order[i].second);
        EXPECT_EQ(jobs[i].window, (std::vector<double>{e.minx, e.miny, e.maxx, e.maxy})) << "job " << i + 1;
        EXPECT_EQ(jobs[i].scale, (std::vector<double>{1, 20}));
        EXPECT_EQ(jobs[i].rotation, 3);
    }
    std::filesystem::remove_all(out, error);
}

}  // namespace
