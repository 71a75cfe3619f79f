// How cadsim.exe starts and ends: drawings it cannot read, command lines it refuses,
// the bundled sample, and removing its type library registration.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cad/ids.h"
#include "tests/win/stand_in.h"

namespace {

using namespace cadsim_test;

std::wstring tempPath(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

struct Unreadable {
    const char* name;
    const wchar_t* file;
    const char* content;  // nullptr: the file does not exist
    const char* expectLine;  // the "line N" the message names, or nullptr when no line applies
};

void PrintTo(const Unreadable& c, std::ostream* os) { *os << c.name; }

class CadsimUnreadableDrawing : public testing::TestWithParam<Unreadable> {};

TEST_P(CadsimUnreadableDrawing, EndsWithAMessageNamingFileAndLine) {
    const Unreadable& c = GetParam();
    const std::wstring path = tempPath(c.file);
    DeleteFileW(path.c_str());
    if (c.content) std::ofstream(std::filesystem::path(path), std::ios::binary) << c.content;
    StandIn cadsim({path});
    ASSERT_TRUE(cadsim.started());
    EXPECT_EQ(cadsim.waitForExit(30000), 2u);
    const std::string output = cadsim.output();
    EXPECT_NE(output.find(narrow(c.file)), std::string::npos) << output;
    if (c.expectLine) {
        EXPECT_NE(output.find(c.expectLine), std::string::npos) << output;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CadsimUnreadableDrawing,
    testing::Values(
        Unreadable{"Missing", L"cadsim_missing_drawing.dxf", nullptr, nullptr},
        Unreadable{"NumberExpected", L"cadsim_bad_number.dxf",
                   "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\nnot-a-number\n20\n0\n0\nENDSEC\n0\nEOF\n", "line 10:"},
        Unreadable{"NotDxf", L"cadsim_not_dxf.dxf", "this is not a drawing\n", "line 1:"}),
    [](const testing::TestParamInfo<Unreadable>& info) { return std::string(info.param.name); });

TEST(CadsimCommandLineRefused, UnknownOptionEndsWithUsage) {
    StandIn cadsim({L"--no-such-option"});
    ASSERT_TRUE(cadsim.started());
    EXPECT_EQ(cadsim.waitForExit(30000), 64u);
    const std::string output = cadsim.output();
    EXPECT_NE(output.find("unknown option --no-such-option"), std::string::npos) << output;
    EXPECT_NE(output.find("Usage: cadsim.exe"), std::string::npos) << output;
}

TEST(CadsimSample, OpensTheBundledSampleWithoutADrawingArgument) {
    const std::wstring sample = binDir() + L"/sample.dxf";
    if (GetFileAttributesW(sample.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no sample.dxf in the build";
    StandIn cadsim({});
    EXPECT_NE(cadsim.waitForMainWindow(), nullptr) << cadsim.output();
}

bool interfaceRegistered() {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(L"Interface\\") + cad::kApplicationInterfaceId + L"\\TypeLib";
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

TEST(CadsimRegistration, UnregisterRemovesItAndTheNextStartRestoresIt) {
    {
        StandIn remover({L"--unregister"});
        ASSERT_TRUE(remover.started());
        EXPECT_EQ(remover.waitForExit(30000), 0u) << remover.output();
    }
    EXPECT_FALSE(interfaceRegistered());
    StandIn cadsim({twoLineDrawing()});
    ASSERT_NE(cadsim.waitForMainWindow(), nullptr) << cadsim.output();
    EXPECT_TRUE(interfaceRegistered());
}

}  // namespace
