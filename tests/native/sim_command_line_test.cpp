#include "sim/model/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sim::CommandLine;
using sim::CommandLineError;
using sim::parseCommandLine;

TEST(CadsimCommandLine, NoArgumentsOpensTheSampleWithNothingRecorded) {
    const CommandLine line = parseCommandLine({});
    EXPECT_TRUE(line.drawing.empty());
    EXPECT_TRUE(line.options.journal.empty());
    EXPECT_TRUE(line.options.trace.empty());
    EXPECT_TRUE(line.options.plotDir.empty());
    EXPECT_TRUE(line.options.answers.empty());
    EXPECT_TRUE(line.options.fails.empty());
    EXPECT_TRUE(line.options.garbles.empty());
    EXPECT_FALSE(line.options.busy);
    EXPECT_FALSE(line.unregister);
    EXPECT_FALSE(line.help);
}

TEST(CadsimCommandLine, EveryOptionLandsInItsOwnField) {
    const CommandLine line = parseCommandLine({L"--journal", L"j.jsonl", L"--trace=t.log", L"--plot-dir", L"C:\\out dir",
                                               L"--answers", L"a.txt", L"--fail", L"GetVariable@3", L"--garble",
                                               L"Coordinates", L"--fail=ZoomExtents", L"--garble", L"Item@12",
                                               L"--busy", L"3", L"drawings\\frames 図面.dxf"});
    EXPECT_EQ(line.options.journal, std::filesystem::path(L"j.jsonl"));
    EXPECT_EQ(line.options.trace, std::filesystem::path(L"t.log"));
    EXPECT_EQ(line.options.plotDir, std::filesystem::path(L"C:\\out dir"));
    EXPECT_EQ(line.options.answers, std::filesystem::path(L"a.txt"));
    EXPECT_EQ(line.options.fails, (std::vector<std::string>{"GetVariable@3", "ZoomExtents"}));
    EXPECT_EQ(line.options.garbles, (std::vector<std::string>{"Coordinates", "Item@12"}));
    EXPECT_EQ(line.options.busy, 3);
    EXPECT_EQ(parseCommandLine({L"--busy=0"}).options.busy, 0);
    EXPECT_EQ(parseCommandLine({L"--busy", L"999999999"}).options.busy, 999999999);
    const std::u8string drawing = line.drawing.u8string();
    EXPECT_EQ(std::string(drawing.begin(), drawing.end()), "drawings\\frames 図面.dxf");
    EXPECT_FALSE(line.unregister);
}

TEST(CadsimCommandLine, FlagsAndTheEndOfOptions) {
    EXPECT_TRUE(parseCommandLine({L"--unregister"}).unregister);
    EXPECT_TRUE(parseCommandLine({L"--help"}).help);
    EXPECT_TRUE(parseCommandLine({L"-h"}).help);
    const CommandLine dashed = parseCommandLine({L"--journal", L"j", L"--", L"--odd-name.dxf"});
    EXPECT_EQ(dashed.drawing.wstring(), L"--odd-name.dxf");
    EXPECT_EQ(dashed.options.journal, std::filesystem::path(L"j"));
    // A value that starts with dashes is still the option's value.
    EXPECT_EQ(parseCommandLine({L"--trace", L"--x"}).options.trace, std::filesystem::path(L"--x"));
}

struct BadLine {
    std::vector<std::wstring> args;
    std::string messagePart;
};

class CadsimCommandLineErrors : public testing::TestWithParam<BadLine> {};

TEST_P(CadsimCommandLineErrors, RefusedWithAMessageNamingTheProblem) {
    try {
        parseCommandLine(GetParam().args);
        FAIL() << "accepted a command line it should refuse";
    } catch (const CommandLineError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().messagePart), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CadsimCommandLineErrors,
    testing::Values(BadLine{{L"--jurnal", L"x"}, "unknown option --jurnal"},
                    BadLine{{L"-x"}, "unknown option -x"},
                    BadLine{{L"a.dxf", L"--journal"}, "--journal needs a value"},
                    BadLine{{L"--fail"}, "--fail needs a value"},
                    BadLine{{L"--plot-dir="}, "--plot-dir needs a non-empty value"},
                    BadLine{{L"--trace", L"a", L"--trace", L"b"}, "--trace is given more than once"},
                    BadLine{{L"--unregister=yes"}, "--unregister takes no value"},
                    BadLine{{L"a.dxf", L"b.dxf"}, "more than one drawing given"},
                    BadLine{{L"--fail", L"GetVariable@0"}, "--fail expects OPERATION or OPERATION@N"},
                    BadLine{{L"--fail", L"GetVariable@"}, "--fail expects"},
                    BadLine{{L"--garble", L"@2"}, "--garble expects"},
                    BadLine{{L"--garble", L"Item@two"}, "--garble expects"},
                    BadLine{{L"--fail", L"Get Variable"}, "--fail expects"},
                    BadLine{{L"--busy"}, "--busy needs a value"},
                    BadLine{{L"--busy="}, "--busy expects a count from 0"},
                    BadLine{{L"--busy", L"-1"}, "--busy expects a count from 0"},
                    BadLine{{L"--busy", L"three"}, "--busy expects a count"},
                    BadLine{{L"--busy", L"1234567890"}, "--busy expects a count"},
                    BadLine{{L"--busy", L"1", L"--busy=2"}, "--busy is given more than once"},
                    BadLine{{L""}, "empty drawing name"},
                    BadLine{{L"--host", L"SolidCAD"}, "--host expects one of \"nanoCAD\", \"nanoCAD 現行版\", \"AutoCAD\""},
                    BadLine{{L"--host", L"AutoCAD", L"--host-progid", L"X.Application"}, "--host cannot be combined"},
                    BadLine{{L"--host-title="}, "--host-title needs a non-empty value"}));

// The pose: by default the nanoCAD 5 host of old; a built-in profile's window and ProgID;
// any title and ProgID.
TEST(CadsimCommandLine, ThePoseOfTheHost) {
    struct Case {
        std::vector<std::wstring> args;
        std::wstring title, progId;
        bool inTable;
    };
    const Case cases[] = {
        {{}, L"nanoCAD 5", L"", false},
        {{L"--host", L"nanoCAD"}, L"nanoCAD 5", L"", true},
        {{L"--host=autocad", L"dir/frames.dxf"}, L"Autodesk AutoCAD - [frames.dxf]", L"AutoCAD.Application", true},
        {{L"--host", L"BricsCAD"}, L"BricsCAD - [sample.dxf]", L"BricscadApp.AcadApplication", true},
        {{L"--host", L"ZWCAD"}, L"ZWCAD - [sample.dxf]", L"ZWCAD.Application", true},
        {{L"--host", L"GstarCAD"}, L"GstarCAD - [sample.dxf]", L"GStarCAD.Application", true},
        {{L"--host", L"nanoCAD 現行版"}, L"nanoCAD - [sample.dxf]", L"nanoCAD.Application", true},
        {{L"--host-title", L"Our CAD 3", L"--host-progid", L"Our.Application"}, L"Our CAD 3", L"Our.Application", true},
        {{L"--host-progid", L"Our.Application"}, L"nanoCAD 5", L"Our.Application", true},
    };
    for (const Case& c : cases) {
        const sim::HostPose pose = parseCommandLine(c.args).pose;
        EXPECT_EQ(pose.windowTitle, c.title);
        EXPECT_EQ(pose.progId, c.progId) << pose.windowTitle;
        EXPECT_EQ(pose.inRunningObjectTable, c.inTable) << pose.windowTitle;
    }
}

TEST(CadsimCommandLine, UsageNamesEveryOptionAndTheDialogSwitch) {
    const std::wstring usage = sim::usageText();
    for (const wchar_t* word : {L"--journal", L"--trace", L"--plot-dir", L"--fail", L"--garble", L"--answers",
                                L"--busy", L"--unregister", L"--host", L"--host-title", L"--host-progid", L"CADSIM_NO_DIALOG"})
        EXPECT_NE(usage.find(word), std::wstring::npos) << word;
}

TEST(CadsimCommandLine, NoDialogVariable) {
    EXPECT_FALSE(sim::noDialogRequested(nullptr));
    EXPECT_FALSE(sim::noDialogRequested(L""));
    EXPECT_FALSE(sim::noDialogRequested(L"0"));
    EXPECT_TRUE(sim::noDialogRequested(L"1"));
    EXPECT_TRUE(sim::noDialogRequested(L"yes"));
}

TEST(CadsimCommandLine, Utf8OfMessages) {
    EXPECT_EQ(sim::toUtf8(L"a\u00e9\u56f3"), "a\xC3\xA9\xE5\x9B\xB3");
    EXPECT_EQ(sim::toUtf8(std::wstring(L"x") + static_cast<wchar_t>(0xD800)), "x\xEF\xBF\xBD");
    EXPECT_EQ(sim::toUtf8(L"\U0001F600"), "\xF0\x9F\x98\x80");
}

}  // namespace
