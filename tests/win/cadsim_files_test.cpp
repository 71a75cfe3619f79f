// The move the stand-in names its plotted files with, under Wine, where MoveFileExW does
// the work: a taken name is never replaced, and the refusal is told as "file exists".
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/file_replace.h"
#include "com_cadsim.h"

namespace {

TEST(CadsimFiles, MoveWithoutReplacingTellsATakenName) {
    const comtest::TempFolder folder;
    const auto part = folder.write(L"sheet.pdf.part", "new");
    const auto taken = folder.write(L"sheet.pdf", "old");
    EXPECT_EQ(base::moveWithoutReplacing(part, taken), std::errc::file_exists);
    EXPECT_EQ(comtest::readFile(taken), "old");
    EXPECT_EQ(comtest::readFile(part), "new");
    EXPECT_FALSE(base::moveWithoutReplacing(part, folder.path() / L"free.pdf"));
    EXPECT_EQ(comtest::readFile(folder.path() / L"free.pdf"), "new");
}

}  // namespace
