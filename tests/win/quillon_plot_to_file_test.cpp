// Every sheet to its own named file: the stand-in with the sample drawing, Quillon beside
// it with "ファイルに出力" on and a folder of the test's own; "キャプチャ", "すべて", "印刷"
// twice. The first run leaves one PDF per frame, named after the drawing and the frame's
// place in plot order, each a sheet a PDF reader opens; the second run writes " (2)"
// names beside them and leaves every file of the first as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "tests/win/frame_road.h"
#include "tests/win/test_process.h"

namespace {

using namespace road;
using quillon_test::QuillonProcess;
using quillon_test::waitUntil;

std::string narrowPath(const std::filesystem::path& p) {
    const std::wstring w = p.wstring();
    return std::string(w.begin(), w.end());  // the test's folders are ASCII
}

// The files of a folder and their bytes.
std::map<std::string, std::string> filesIn(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

// The file's path on the Linux side of Wine (wine_get_unix_file_name); empty when there
// is none.
std::string unixPath(const std::filesystem::path& file) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* path = toUnix(file.wstring().c_str());
    if (!path) return {};
    std::string out = path;
    HeapFree(GetProcessHeap(), 0, path);
    return out;
}

// poppler's pdfinfo, the Linux program, run through Wine on the file: its report, or
// nothing when none came within 30 s. Wine gives no process handle to wait on for a
// Linux program, so the shell writes the report under a temporary name and then gives
// it its own, and the test waits for that.
std::optional<std::string> pdfinfo(const std::filesystem::path& pdf) {
    const std::filesystem::path reportFile = pdf.parent_path().parent_path() / "pdfinfo.txt";
    std::error_code error;
    std::filesystem::remove(reportFile, error);
    const std::string path = unixPath(pdf), report = unixPath(reportFile);
    if (path.empty() || report.empty()) return std::nullopt;
    const std::string command = "pdfinfo '" + path + "' > '" + report + ".part' 2>&1; mv '" + report + ".part' '" + report + "'";
    wintest::TestProcess run(L"Z:\\bin\\sh", {L"-c", std::wstring(command.begin(), command.end())}, {});
    if (!run.started() || !waitUntil([&] { return std::filesystem::exists(reportFile); }, 30000)) return std::nullopt;
    std::string text = readFile(reportFile);
    std::filesystem::remove(reportFile, error);
    return text;
}

// Presses "印刷" and answers the run's closing question with No; its text.
std::wstring printAndAnswerNo(FrameRoad& road) {
    QuillonProcess::click(road.printButton());
    const HWND box = road.quillon().messageBox(180000);
    if (!box) return L"(no message)";
    const std::wstring text = QuillonProcess::messageText(box);
    if (const char* shots = std::getenv("QUILLON_SHOTS"); shots && *shots) {
        Sleep(500);  // painted
        saveBmp(std::filesystem::path(shots) / "files-written.bmp", screenCopy(quillon_test::screenRect(box)));
    }
    PostMessageW(box, WM_COMMAND, IDNO, 0);
    waitUntil([&] { return !IsWindow(box); }, 10000);
    waitUntil([&] { return IsWindowEnabled(road.printButton()) != FALSE; }, 30000);
    return text;
}

TEST(QuillonPlotToFile, EverySheetToItsOwnNamedFileAndASecondRunOverwritesNothing) {
    const std::filesystem::path out = freshTempFolder(L"plot-to-file");
    const std::filesystem::path folder = out / "sheets of the sample";  // made by Quillon
    const std::filesystem::path journal = out / "journal.jsonl";
    std::error_code error;
    const std::size_t frames = sampleFrames().size();

    std::vector<std::string> firstNames;
    for (std::size_t i = 1; i <= frames; ++i) firstNames.push_back("sample-" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".pdf");
    std::map<std::string, std::string> first;
    {
        FrameRoad road(sampleDrawing(),
                       settingsFor("MORVEL") + "PlotToFile=1\r\nPlotFolder=" + narrowPath(folder) + "\r\n",
                       {L"--journal", journal.wstring()});
        ASSERT_TRUE(road.ready());
        Preview p;
        ASSERT_TRUE(road.captureAndWait(p)) << "no photograph on the preview";
        QuillonProcess::click(road.allButton());
        ASSERT_TRUE(waitUntil([&] { return road.countText() == std::to_wstring(frames); })) << road.countText();

        const std::wstring said = printAndAnswerNo(road);
        EXPECT_NE(said.find(folder.wstring()), std::wstring::npos) << std::string(said.begin(), said.end());
        EXPECT_NE(said.find(std::to_wstring(frames) + L" 個のファイルを書き出しました。"), std::wstring::npos);
        first = filesIn(folder);
        std::vector<std::string> names;
        for (const auto& [name, bytes] : first) names.push_back(name);
        EXPECT_EQ(names, firstNames);

        // Each job's sheet went to its file; each file is one upright A3 page.
        const std::vector<JournalJob> jobs = readJournal(journal);
        ASSERT_EQ(jobs.size(), frames);
        for (std::size_t i = 0; i < frames; ++i) {
            SCOPED_TRACE(firstNames[i]);
            EXPECT_EQ(std::filesystem::path(jobs[i].output).filename().string(), firstNames[i]);
            EXPECT_EQ(jobs[i].window, (std::vector<double>{sampleFrames()[i].frame.minx, sampleFrames()[i].frame.miny,
                                                           sampleFrames()[i].frame.maxx, sampleFrames()[i].frame.maxy}));
            const std::optional<std::string> info = pdfinfo(folder / firstNames[i]);
            ASSERT_TRUE(info.has_value()) << "pdfinfo could not be run";
            EXPECT_EQ(info->find("Error"), std::string::npos) << *info;
            EXPECT_TRUE(std::regex_search(*info, std::regex(R"(Pages:\s+1\r?\n)"))) << *info;
            EXPECT_TRUE(std::regex_search(*info, std::regex(R"(Page size:\s+841.89 x 1190.55 pts)"))) << *info;
        }

        // The second run, beside the first: new names, every earlier file untouched.
        printAndAnswerNo(road);
        const std::map<std::string, std::string> both = filesIn(folder);
        EXPECT_EQ(both.size(), 2 * frames);
        for (const auto& [name, bytes] : first) {
            ASSERT_TRUE(both.count(name)) << name;
            EXPECT_EQ(both.at(name), bytes) << name << " was written over";
        }
        for (std::size_t i = 0; i < frames; ++i) {
            const std::string again = firstNames[i].substr(0, firstNames[i].size() - 4) + " (2).pdf";
            EXPECT_TRUE(both.count(again)) << again;
        }
    }
    std::filesystem::remove_all(out, error);
}

}  // namespace
