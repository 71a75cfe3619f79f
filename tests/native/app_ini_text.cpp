// The pieces under the settings file: integer forms, INI text kept line by line, and the
// text encodings, on both widths of wchar_t.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "app/settings.h"
#include "base/file_replace.h"
#include "base/ini_file.h"
#include "base/text_codec.h"

namespace {

TEST(SettingsInt, Forms) {
    struct { const wchar_t* text; std::optional<int> want; } cases[] = {
        {L"12", 12}, {L"-5", -5}, {L"+7", 7}, {L"0", 0}, {L"0x10", 16}, {L"0X1f", 31}, {L"0xFFFFFFFF", -1},
        {L"0x7fffffff", 2147483647}, {L"2147483647", 2147483647}, {L"-2147483648", -2147483647 - 1},
        {L"0x", std::nullopt}, {L"0x100000000", std::nullopt}, {L"0xg", std::nullopt}, {L"abc", std::nullopt},
        {L"2147483648", std::nullopt}, {L"1.5", std::nullopt}, {L"", std::nullopt}, {L"-", std::nullopt},
        {L"12a", std::nullopt}, {L"-0x10", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(app::parseSettingsInt(c.text), c.want) << base::toUtf8(c.text);
}

TEST(SettingsPath, ExtensionReplacedBesideTheProgram) {
    EXPECT_EQ(app::settingsPath(L"C:\\Tools\\Quillon.exe"), L"C:\\Tools\\Quillon.ini");
    EXPECT_EQ(app::settingsPath(L"C:\\v1.2\\quillon"), L"C:\\v1.2\\quillon.ini");
    EXPECT_EQ(app::settingsPath(L"/opt/q/quillon.bin.exe"), L"/opt/q/quillon.bin.ini");
}

TEST(AppIniFile, ReadsValuesTheWayTheSystemDoes) {
    const base::IniFile ini(L"top=0\r\n[A]\r\n  Key = spaced value  \r\nq=\"quoted \"\r\nnoequals\r\n;k=comment\r\n"
                           L"k=first\rk=second\n[a]\nk=other section\n");
    EXPECT_EQ(ini.read(L"a", L"KEY"), L"spaced value");
    EXPECT_EQ(ini.read(L"A", L"q"), L"quoted ");
    EXPECT_EQ(ini.read(L"A", L"k"), L"first");
    EXPECT_EQ(ini.read(L"A", L"noequals"), std::nullopt);
    EXPECT_EQ(ini.read(L"A", L";k"), std::nullopt);
    EXPECT_EQ(ini.read(L"B", L"k"), std::nullopt);
    EXPECT_EQ(ini.read(L"", L"top"), std::nullopt) << "keys before any section belong to none";
}

TEST(AppIniFile, WritingChangesOneLineAndKeepsTheRest) {
    base::IniFile ini(L"; head\n[S]\nWidth=1\n; note\nKeep=me\n\n[T]\nWidth=9");
    ini.write(L"s", L"width", L"2");
    ini.write(L"S", L"New", L"x\r\ny");
    ini.write(L"U", L"k", L"v");
    EXPECT_EQ(ini.text(), L"; head\r\n[S]\r\nWidth=2\r\n; note\r\nKeep=me\r\nNew=x  y\r\n\r\n[T]\r\nWidth=9\r\n"
                          L"\r\n[U]\r\nk=v\r\n");
    EXPECT_EQ(base::IniFile(ini.text()).read(L"S", L"New"), L"x  y");
}

TEST(AppTextCodec, RoundTripsBeyondTheBasicPlane) {
    const std::wstring text = L"ヨコ 𠮷 A";
    EXPECT_EQ(base::fromUtf8(base::toUtf8(text)), text);
    EXPECT_EQ(base::fromUtf16(base::toUtf16Le(text), false), text);
    EXPECT_EQ(base::toUtf8(text), "\xE3\x83\xA8\xE3\x82\xB3 \xF0\xA0\xAE\xB7 A");
    EXPECT_EQ(base::toUtf16Le(L"𠮷"), std::string("\x42\xD8\xB7\xDF", 4));
}

TEST(AppTextCodec, MalformedUtf8IsTold) {
    for (const char* bad : {"\x83\x5E", "\xC0\xAF", "\xED\xA0\x80", "\xE3\x83"}) {
        bool valid = true;
        const std::wstring out = base::fromUtf8(bad, &valid);
        EXPECT_FALSE(valid) << bad;
        EXPECT_NE(out.find(L'\xFFFD'), std::wstring::npos);
    }
}

TEST(AppTextCodec, DecodeChoosesByByteOrderMarkThenValidity) {
    const auto ansi = [](std::string_view b) { return L"ansi:" + std::wstring(b.begin(), b.end()); };
    struct { std::string bytes; std::wstring text; base::TextEncoding enc; } cases[] = {
        {std::string("\xFF\xFE" "A\0", 4), L"A", base::TextEncoding::Utf16Le},
        {std::string("\xFE\xFF\0" "A", 4), L"A", base::TextEncoding::Utf16Be},
        {"\xEF\xBB\xBF" "A", L"A", base::TextEncoding::Utf8Bom},
        {"\xE3\x82\xBF", L"タ", base::TextEncoding::Utf8},
        {"AB", L"AB", base::TextEncoding::Utf8},
        {"\x83" "A", L"", base::TextEncoding::Ansi},
    };
    for (const auto& c : cases) {
        const base::DecodedText d = base::decodeText(c.bytes, ansi);
        EXPECT_EQ(d.encoding, c.enc);
        if (c.enc == base::TextEncoding::Ansi) {
            EXPECT_TRUE(d.text.starts_with(L"ansi:")) << "handed to the ANSI decoder";
        } else {
            EXPECT_EQ(d.text, c.text);
        }
    }
}

TEST(AppFileReplace, ReplacesWholeAndLeavesNoTemporary) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("quillon-replace-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir);
    const fs::path file = dir / "a.ini";
    std::ofstream(file) << "old";
    ASSERT_TRUE(base::replaceFile(file, "new contents"));
    EXPECT_EQ(base::readFileBytes(file), "new contents");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_FALSE(base::replaceFile(dir / "missing" / "a.ini", "x")) << "a folder that is not there refuses";
    EXPECT_EQ(base::readFileBytes(dir / "none.ini"), std::nullopt);
    fs::remove_all(dir);
}

// A name that is taken stays as it is, whoever took it; a free one is given.
TEST(AppFileReplace, MoveWithoutReplacingLeavesATakenNameAlone) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("quillon-move-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(dir);
    std::ofstream(dir / "new.part") << "new";
    std::ofstream(dir / "taken.pdf") << "old";
    EXPECT_EQ(base::moveWithoutReplacing(dir / "new.part", dir / "taken.pdf"), std::errc::file_exists);
    EXPECT_EQ(base::readFileBytes(dir / "taken.pdf"), "old");
    EXPECT_EQ(base::readFileBytes(dir / "new.part"), "new");
    EXPECT_TRUE(base::moveWithoutReplacing(dir / "new.part", dir / "free.pdf") == std::error_code());
    EXPECT_EQ(base::readFileBytes(dir / "free.pdf"), "new");
    EXPECT_FALSE(fs::exists(dir / "new.part"));
    EXPECT_TRUE(base::moveWithoutReplacing(dir / "none.part", dir / "other.pdf")) << "nothing to move";
    fs::remove_all(dir);
}

}  // namespace
