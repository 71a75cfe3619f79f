// Each sheet of a run to a file of its own ("ファイルに出力"), on either page, against the
// stand-in in process: the names, the folder, refusals, and the word at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "plot_batch_rig.h"

namespace testing_support {
namespace {

namespace fs = std::filesystem;

bool traced(const std::vector<std::string>& trace, const std::string& start) {
    return std::any_of(trace.begin(), trace.end(), [&](const std::string& l) { return l.starts_with(start); });
}

struct PlotToFile : BatchPlot {
    fs::path out() const { return dir / "out"; }
    // The file output on, into out(), with the pattern given.
    void turnOn(const std::wstring& pattern = plot::kDefaultNamePattern) {
        f().setPlotToFile(true);
        f().fileOutput.folder = out().wstring();
        f().fileOutput.pattern = pattern;
    }
    std::vector<std::string> filesThere() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(out())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

INSTANTIATE_TEST_SUITE_P(BothPages, PlotToFile, ::testing::Values(Page::Frame, Page::Grid), pageName);

TEST_P(PlotToFile, EachChosenSheetIsWrittenToItsOwnFileAndTheFolderOffered) {
    start();
    turnOn();
    chooseSheets({true, false, true, true, false, true});
    shell().answerYes = true;
    const ui::Rect before = f().form().windowRect();
    print();
    // Numbered in plot order; the sheets themselves as the device would plot them.
    EXPECT_EQ(filesThere(), (std::vector<std::string>{"plan-01.pdf", "plan-02.pdf", "plan-03.pdf", "plan-04.pdf"}));
    EXPECT_EQ(windows(), windowsOf({true, false, true, true, false, true}));
    for (const std::string& job : jobs()) EXPECT_NE(field(job, "output").find("plan-0"), std::string::npos) << job;
    EXPECT_FALSE(traced(trace(), "Plot.PlotToDevice"));
    EXPECT_EQ(progress(), (std::vector<std::string>{"progress 0/4", "progress 1/4", "progress 2/4", "progress 3/4",
                                                    "progress 4/4", "progress 0/0"}));
    ASSERT_EQ(shell().questions.size(), 1u);
    EXPECT_EQ(shell().questions[0],
              L"次のフォルダーに 4 個のファイルを書き出しました。\n" + out().wstring() + L"\n\nフォルダーを開きますか?");
    EXPECT_EQ(shell().openedFolders, std::vector<std::wstring>{out().wstring()});
    EXPECT_TRUE(shell().messages.empty());
    expectIdle(before);
}

// A name used before, or a file already there, is never written over.
TEST_P(PlotToFile, AFileAlreadyThereIsLeftAndTheSheetTakesTheNextFreeName) {
    start();
    turnOn(L"sheet");
    chooseSheets({true, true, false, false, false, false});
    fs::create_directories(out());
    simtest::writeFile(out() / "sheet.pdf", "earlier");
    print();
    EXPECT_EQ(filesThere(), (std::vector<std::string>{"sheet (2).pdf", "sheet (3).pdf", "sheet.pdf"}));
    EXPECT_EQ(simtest::readLines(out() / "sheet.pdf"), std::vector<std::string>{"earlier"});
}

// A name that would make the path longer than the system takes is shortened in its text,
// the sheet's number and the extension kept, and the sheet is written.
TEST_P(PlotToFile, ANameTooLongForTheFolderIsShortenedAndTheSheetWritten) {
    start();
    turnOn(std::wstring(300, L'x') + L"{n:02}");
    chooseSheets({true, true, false, false, false, false});
    print();
    const std::size_t folder = out().wstring().size() + 1;  // with its separator
    ASSERT_LT(folder, 200u);
    const std::string text(259 - folder - std::string("01.pdf").size(), 'x');  // the longest path Windows takes
    EXPECT_EQ(filesThere(), (std::vector<std::string>{text + "01.pdf", text + "02.pdf"}));
    EXPECT_EQ(shell().questions.size(), 1u);
    EXPECT_TRUE(shell().messages.empty());
}

// A sheet the host refuses is named at the end; the run goes on.
TEST_P(PlotToFile, ARefusedSheetIsNamedAndTheRunGoesOn) {
    start({"PlotToFile@2"});
    turnOn();
    chooseSheets({true, true, true, false, false, false});
    print();
    EXPECT_EQ(filesThere(), (std::vector<std::string>{"plan-01.pdf", "plan-03.pdf"}));
    EXPECT_EQ(progress(), (std::vector<std::string>{"progress 0/3", "progress 1/3", "progress 2/3", "progress 0/0"}));
    ASSERT_EQ(shell().questions.size(), 1u);
    EXPECT_NE(shell().questions[0].find(L"2 個のファイルを書き出しました。\n" + out().wstring() + L"\n\n"
                                        L"CAD が受け付けた印刷は 3 枚中 2 枚です。\n1 枚は印刷されていません。\n  plan-02.pdf"),
              std::wstring::npos)
        << shell().questions[0];
    EXPECT_TRUE(shell().openedFolders.empty());  // answered No
}

// A run that a failure stops says where and why, before the word about the files written
// up to there; with none written, that alone.
TEST_P(PlotToFile, ARunStoppedByAFailureSaysSoBeforeTheFilesWord) {
    start({"ZoomWindow@2"});
    turnOn();
    chooseSheets({true, true, true, false, false, false});
    print();
    EXPECT_EQ(filesThere(), std::vector<std::string>{"plan-01.pdf"});
    ASSERT_EQ(shell().questions.size(), 1u);
    const std::wstring& said = shell().questions[0];
    EXPECT_EQ(said.find(L"印刷は 2/3 枚目 (" + sheetName(1, 2) + L") で止まりました。\n"), 0u) << base::toUtf8(said);
    EXPECT_NE(said.find(L"injected"), std::wstring::npos) << base::toUtf8(said);
    EXPECT_NE(said.find(L"選んだ 3 枚のうち CAD が受け付けたのは 1 枚です。\n\n次のフォルダーに 1 個のファイルを書き出しました。"),
              std::wstring::npos)
        << base::toUtf8(said);
    EXPECT_TRUE(shell().messages.empty());

    start({"ActiveLayout"});
    turnOn();
    chooseSheets({true, true, true, false, false, false});
    print();
    EXPECT_TRUE(shell().questions.empty());
    ASSERT_EQ(shell().messages.size(), 1u);
    EXPECT_EQ(shell().messages[0].find(L"印刷は用紙を送る前に止まりました。"), 0u) << base::toUtf8(shell().messages[0]);
}

// Nothing is plotted, and the user is told why, when the pattern cannot be used or the
// folder cannot be made.
TEST_P(PlotToFile, ABadPatternOrAFolderThatCannotBeMadeStopsTheRunBeforeAnySheet) {
    for (const bool badPattern : {true, false}) {
        start();
        turnOn(badPattern ? L"{drawing}-{page}" : plot::kDefaultNamePattern);
        if (!badPattern) shell().unmakeableFolders.insert(out().wstring());
        const ui::Rect before = f().form().windowRect();
        print();
        EXPECT_TRUE(jobs().empty());
        ASSERT_EQ(shell().messages.size(), 1u);
        EXPECT_NE(shell().messages[0].find(badPattern ? L"{page}" : out().wstring()), std::wstring::npos)
            << shell().messages[0];
        EXPECT_TRUE(shell().questions.empty());
        shell().messages.clear();
        expectIdle(before);
    }
}

// Without a folder set, the files go beside the drawing; with a relative one, into it.
TEST_P(PlotToFile, TheFolderIsTheDrawingsOwnUnlessSet) {
    for (const std::wstring& folder : {std::wstring(), std::wstring(L"plots")}) {
        start();
        turnOn();
        f().fileOutput.folder = folder;
        chooseSheets({true, false, false, false, false, false});
        print();
        const fs::path where = folder.empty() ? dir.path : dir / "plots";
        EXPECT_TRUE(fs::exists(where / "plan-01.pdf")) << where;
        fs::remove(where / "plan-01.pdf");
    }
}

// With the option off the run makes exactly the calls it always made.
TEST_P(PlotToFile, OffTheRunAsksNothingOfFilesOrTheDrawingsName) {
    start();
    print();
    EXPECT_EQ(jobs().size(), 6u);
    for (const char* call : {"Plot.PlotToFile", "Document.Path", "Document.Name"}) EXPECT_FALSE(traced(trace(), call)) << call;
    EXPECT_TRUE(shell().questions.empty());
}

}  // namespace
}  // namespace testing_support
