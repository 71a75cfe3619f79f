// The stand-in's layout (devices, media, style tables, plot settings) and its plot
// service with the journal of plot jobs.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "sim/model/plot_job.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;
using List = std::vector<std::wstring>;

bool has(const List& list, const std::wstring& item) { return std::find(list.begin(), list.end(), item) != list.end(); }

struct LayoutSession : Session {
    explicit LayoutSession(sim::Options o = {}) : Session(drawingOf({rectangle(L"MORVEL", 0, 0, 420, 297)}), std::move(o)) {
        layout = object(get(doc, L"ActiveLayout"));
    }
    List list(const wchar_t* member) { return as<List>(call(layout, member)); }
    std::wstring setError(const wchar_t* member, Value v) { return errorOf([&] { put(layout, member, v); }); }
    DispatchPtr layout;
};

TEST(SimLayout, DevicesMediaAndStyleTables) {
    LayoutSession s;
    List devices = s.list(L"GetPlotDeviceNames");
    EXPECT_TRUE(has(devices, L"PDF"));
    EXPECT_TRUE(has(devices, L"None"));
    EXPECT_TRUE(has(devices, L"Default Windows System Printer.pc3"));
    List tables = s.list(L"GetPlotStyleTableNames");
    for (const wchar_t* t : {L"monochrome.ctb", L"acad.ctb", L"Grayscale.ctb", L"acad.stb"}) EXPECT_TRUE(has(tables, t));

    EXPECT_TRUE(s.list(L"GetCanonicalMediaNames").empty());  // "None" has no paper
    EXPECT_NE(s.setError(L"CanonicalMediaName", L"ISO_A4_(210.00_x_297.00_MM)"), L"");

    put(s.layout, L"ConfigName", L"pdf");  // any letter case
    List media = s.list(L"GetCanonicalMediaNames");
    for (const wchar_t* m : {L"ISO_A4_(210.00_x_297.00_MM)", L"ISO_A3_(420.00_x_297.00_MM)", L"ISO_A2_(594.00_x_420.00_MM)",
                             L"ISO_A1_(841.00_x_594.00_MM)", L"ISO_A0_(1189.00_x_841.00_MM)", L"JIS_B4_(364.00_x_257.00_MM)",
                             L"JIS_B3_(515.00_x_364.00_MM)", L"Letter_(8.50_x_11.00_Inches)"})
        EXPECT_TRUE(has(media, m)) << utf8(m);
    EXPECT_EQ(as<std::wstring>(call(s.layout, L"GetLocaleMediaName", {L"ISO_A3_(420.00_x_297.00_MM)"})),
              L"ISO A3 (420.00 x 297.00 mm)");
    EXPECT_NE(errorOf([&] { call(s.layout, L"GetLocaleMediaName", {L"A5"}); }), L"");
    EXPECT_NE(s.setError(L"ConfigName", L"Plotter that is not there"), L"");
}

TEST(SimLayout, MediaByEitherNameAndFollowingTheDevice) {
    TempDir dir;
    sim::Options o;
    o.journal = dir / "journal.jsonl";
    LayoutSession s(o);
    DispatchPtr plot = object(get(s.doc, L"Plot"));
    auto plottedMedia = [&] {
        call(plot, L"PlotToDevice", {cad::Omitted{}});
        std::string last = readLines(o.journal).back();
        std::size_t at = last.find("\"media\":\"") + 9;
        return last.substr(at, last.find('"', at) - at);
    };
    put(s.layout, L"ConfigName", L"PDF");
    put(s.layout, L"CanonicalMediaName", L"ISO A3 (420.00 x 297.00 mm)");  // the display name
    EXPECT_EQ(plottedMedia(), "ISO_A3_(420.00_x_297.00_MM)");
    put(s.layout, L"CanonicalMediaName", L"iso_a1_(841.00_x_594.00_mm)");
    EXPECT_EQ(plottedMedia(), "ISO_A1_(841.00_x_594.00_MM)");
    EXPECT_TRUE(contains(s.setError(L"CanonicalMediaName", L"ISO_A7_(74.00_x_105.00_MM)"), L"ISO_A7"));

    // A device without the paper falls back to its own first paper.
    put(s.layout, L"ConfigName", L"Default Windows System Printer.pc3");
    call(s.layout, L"RefreshPlotDeviceInfo");
    EXPECT_EQ(plottedMedia(), "A4");
    put(s.layout, L"CanonicalMediaName", L"B4 (JIS)");
    EXPECT_EQ(plottedMedia(), "B4");
}

TEST(SimLayout, SettingsAreCheckedAndKeptPerLayout) {
    LayoutSession s;
    struct Bad {
        const wchar_t* member;
        Value value;
    };
    const Bad bad[] = {{L"PlotRotation", std::int32_t{4}}, {L"PlotRotation", std::int32_t{-1}}, {L"PaperUnits", std::int32_t{3}},
                       {L"PlotType", std::int32_t{6}},     {L"StyleSheet", L"nosuch.ctb"},      {L"CenterPlot", 1.5}};
    for (const Bad& b : bad) EXPECT_NE(s.setError(b.member, b.value), L"") << utf8(b.member);
    EXPECT_NE(errorOf([&] { call(s.layout, L"SetCustomScale", {1.0, 0.0}); }), L"");
    EXPECT_NE(errorOf([&] { call(s.layout, L"SetCustomScale", {-1.0, 2.0}); }), L"");

    put(s.layout, L"StyleSheet", L"MONOCHROME.CTB");
    // Another object for the same layout sees the same settings.
    DispatchPtr again = object(get(s.doc, L"ActiveLayout"));
    EXPECT_EQ(as<std::wstring>(get(again, L"StyleSheet")), L"monochrome.ctb");
    put(again, L"StyleSheet", L"");
    EXPECT_EQ(as<std::wstring>(get(s.layout, L"StyleSheet")), L"");
}

TEST(SimPlot, EachJobIsOneJournalLine) {
    TempDir dir;
    sim::Options o;
    o.journal = dir / "journal.jsonl";
    LayoutSession s(o);
    writeFile(o.journal, "{\"job\":0}\n");  // lines of an earlier run stay
    DispatchPtr l = s.layout;
    call(l, L"RefreshPlotDeviceInfo");
    put(l, L"ConfigName", L"PDF");
    put(l, L"CanonicalMediaName", L"ISO_A3_(420.00_x_297.00_MM)");
    put(l, L"StyleSheet", L"monochrome.ctb");
    put(l, L"PaperUnits", std::int32_t{1});
    call(l, L"SetWindowToPlot", {std::vector<double>{0.1, -20, 0}, std::vector<double>{42000, 29700.25, 0}});
    put(l, L"PlotType", std::int32_t{4});
    put(l, L"CenterPlot", true);
    put(l, L"UseStandardScale", false);
    call(l, L"SetCustomScale", {1.0, 1.0 / 3});
    put(l, L"PlotWithPlotStyles", true);
    put(l, L"PlotWithLineweights", true);
    put(l, L"ScaleLineweights", false);
    put(l, L"PlotRotation", std::int32_t{1});
    DispatchPtr plot = object(get(s.doc, L"Plot"))->queryInterface(L"{BB9EB067-27CF-4E44-92ED-5AE2C3A4984B}");
    put(plot, L"NumberOfCopies", std::int32_t{2});
    EXPECT_EQ(as<bool>(call(plot, L"PlotToDevice", {cad::Omitted{}})), true);
    put(l, L"PlotRotation", std::int32_t{0});
    EXPECT_EQ(as<bool>(call(plot, L"PlotToDevice")), true);

    std::vector<std::string> lines = readLines(o.journal);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1],
              "{\"job\":1,\"layout\":\"Model\",\"device\":\"PDF\",\"media\":\"ISO_A3_(420.00_x_297.00_MM)\","
              "\"styleTable\":\"monochrome.ctb\",\"applyStyleTable\":true,\"paperUnits\":1,\"rotation\":1,\"centred\":true,"
              "\"areaKind\":4,\"listedScale\":false,\"scale\":[1,0.3333333333333333],\"window\":[0.1,-20,42000,29700.25],"
              "\"printLineWeights\":true,\"lineWeightScaling\":false,\"copies\":2,\"output\":null}");
    EXPECT_EQ(lines[2].substr(0, 9), "{\"job\":2,");
    EXPECT_NE(lines[2].find("\"rotation\":0,"), std::string::npos);
}

// BACKGROUNDPLOT (AutoCAD's reference, "BACKGROUNDPLOT (System Variable)": bit 1 plots in
// the background, bit 2 publishes in the background; the host plots an automation
// client's sheets in the background unless it is 0): with an odd value a plot call takes
// its sheet and answers true at once, the sheet and its journal line come when the
// background plot ends, and a plot asked for before then is refused (answers false).
TEST(SimPlot, AnOddBackgroundPlotPlotsLaterAndRefusesAPlotWhileOneIsPending) {
    struct Case {
        std::int16_t backgroundPlot;
        bool background;
    } cases[] = {{0, false}, {1, true}, {2, false}, {3, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("BACKGROUNDPLOT " + std::to_string(c.backgroundPlot));
        TempDir dir;
        sim::Options o;
        o.journal = dir / "journal.jsonl";
        o.trace = dir / "trace.txt";
        LayoutSession s(o);
        int announced = 0;
        s.host.onBackgroundPlot = [&announced] { ++announced; };
        call(s.doc, L"SetVariable", {L"BACKGROUNDPLOT", c.backgroundPlot});
        put(s.layout, L"ConfigName", L"PDF");
        put(s.layout, L"PlotType", std::int32_t{4});
        call(s.layout, L"SetWindowToPlot", {std::vector<double>{0, 0, 0}, std::vector<double>{420, 297, 0}});
        DispatchPtr plot = object(get(s.doc, L"Plot"));

        EXPECT_TRUE(as<bool>(call(plot, L"PlotToDevice")));
        // The sheet is the one the settings described when it was asked for.
        call(s.layout, L"SetWindowToPlot", {std::vector<double>{0, 0, 0}, std::vector<double>{100, 100, 0}});
        EXPECT_EQ(readLines(o.journal).size(), c.background ? 0u : 1u);
        EXPECT_EQ(announced, c.background ? 1 : 0);
        EXPECT_EQ(as<bool>(call(plot, L"PlotToDevice")), !c.background) << "a second plot while one is pending";
        EXPECT_EQ(as<bool>(call(plot, L"PlotToFile", {(dir / "sheet.pdf").wstring()})), !c.background);
        EXPECT_EQ(readLines(o.journal).size(), c.background ? 0u : 3u);

        EXPECT_EQ(s.host.finishBackgroundPlot(), c.background);
        EXPECT_FALSE(s.host.finishBackgroundPlot()) << "written once";
        std::vector<std::string> lines = readLines(o.journal);
        ASSERT_EQ(lines.size(), c.background ? 1u : 3u);
        EXPECT_EQ(lines[0].substr(0, 9), "{\"job\":1,");
        EXPECT_NE(lines[0].find("\"window\":[0,0,420,297]"), std::string::npos) << lines[0];
        if (!c.background) continue;

        // The plot ended: the next is taken again, to a file as well, numbered on.
        EXPECT_TRUE(as<bool>(call(plot, L"PlotToFile", {(dir / "sheet.pdf").wstring()})));
        EXPECT_FALSE(std::filesystem::exists(dir / "sheet.pdf"));
        EXPECT_TRUE(s.host.finishBackgroundPlot());
        EXPECT_TRUE(std::filesystem::exists(dir / "sheet.pdf"));
        lines = readLines(o.journal);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1].substr(0, 9), "{\"job\":2,");
        EXPECT_NE(lines[1].find("\"window\":[0,0,100,100]"), std::string::npos) << lines[1];
        const std::vector<std::string> trace = readLines(o.trace);
        EXPECT_EQ(std::count(trace.begin(), trace.end(), "background: job 1 still plotting; PlotToDevice refused"), 1);
        EXPECT_EQ(std::count(trace.begin(), trace.end(), "background: job 2 written"), 1);
    }
}

// A sheet that cannot be written when its background plot ends is lost, as a failed
// background plot is: nothing is left behind, the trace says why, and the next plot is
// taken.
TEST(SimPlot, ABackgroundSheetThatCannotBeWrittenIsLostAndSaysWhy) {
    TempDir dir;
    sim::Options o;
    o.journal = dir / "journal.jsonl";
    o.trace = dir / "trace.txt";
    LayoutSession s(o);
    call(s.doc, L"SetVariable", {L"BACKGROUNDPLOT", std::int16_t{1}});
    put(s.layout, L"ConfigName", L"PDF");
    DispatchPtr plot = object(get(s.doc, L"Plot"));
    const std::filesystem::path file = dir / "sheet.pdf";
    EXPECT_TRUE(as<bool>(call(plot, L"PlotToFile", {file.wstring()})));
    writeFile(file, "taken meanwhile");
    EXPECT_TRUE(s.host.finishBackgroundPlot());
    EXPECT_EQ(readLines(file), std::vector<std::string>{"taken meanwhile"});
    EXPECT_FALSE(std::filesystem::exists(o.journal));
    const std::vector<std::string> trace = readLines(o.trace);
    ASSERT_FALSE(trace.empty());
    EXPECT_TRUE(trace.back().starts_with("background: job 1 not written fail: ")) << trace.back();
    EXPECT_TRUE(as<bool>(call(plot, L"PlotToDevice")));
}

// A host takes no plot window or scale that is not a number: the call that sets it
// fails, the settings stay as they were, and the journal (JSON, which has no form for
// NaN or the infinities) never sees one.
TEST(SimPlot, WindowsAndScalesThatAreNotFiniteAreRefusedAtTheCall) {
    TempDir dir;
    sim::Options o;
    o.journal = dir / "journal.jsonl";
    LayoutSession s(o);
    put(s.layout, L"ConfigName", L"PDF");
    put(s.layout, L"PlotType", std::int32_t{4});
    put(s.layout, L"UseStandardScale", false);
    call(s.layout, L"SetWindowToPlot", {std::vector<double>{-10, -20}, std::vector<double>{420, 297}});
    call(s.layout, L"SetCustomScale", {1.0, 50.0});

    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    using Points = std::vector<double>;
    struct Bad {
        const char* what;
        const wchar_t* member;
        ValueList args;
    };
    const Bad bad[] = {
        {"infinite paper units", L"SetCustomScale", {inf, 1.0}},
        {"infinite drawing units", L"SetCustomScale", {1.0, inf}},
        {"NaN paper units", L"SetCustomScale", {nan, 1.0}},
        {"NaN drawing units", L"SetCustomScale", {1.0, nan}},
        {"a ratio too large to be a number", L"SetCustomScale", {1e300, 1e-300}},
        {"a ratio too small to be told from 0", L"SetCustomScale", {1e-300, 1e300}},
        {"an infinite corner", L"SetWindowToPlot", {Points{-inf, 0}, Points{420, 297}}},
        {"a NaN corner", L"SetWindowToPlot", {Points{0, 0}, Points{420, nan}}},
        {"a NaN elevation", L"SetWindowToPlot", {Points{0, 0, nan}, Points{420, 297, 0}}},
        {"a corner given as a list", L"SetWindowToPlot", {ValueList{0.0, inf}, Points{420, 297}}},
        {"corners too far apart for a width", L"SetWindowToPlot", {Points{-1e308, 0}, Points{1e308, 297}}},
        {"corners too far apart for a height", L"SetWindowToPlot", {Points{0, 1.7e308}, Points{420, -1.7e308}}},
    };
    for (const Bad& b : bad) {
        ValueList args = b.args;
        const std::wstring error = errorOf([&] { call(s.layout, b.member, args); });
        EXPECT_TRUE(error.starts_with(std::wstring(b.member) + L": ")) << b.what << ": " << utf8(error);
    }

    DispatchPtr plot = object(get(s.doc, L"Plot"));
    call(plot, L"PlotToDevice");
    const std::vector<std::string> lines = readLines(o.journal);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\"scale\":[1,50],\"window\":[-10,-20,420,297]"), std::string::npos) << lines[0];
}

TEST(SimPlot, TheJournalLineHasNoFormForANumberThatIsNotFinite) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    sim::PlotJob job;
    EXPECT_NE(sim::journalLine(job).find("\"scale\":[1,1]"), std::string::npos);
    for (double bad : {nan, inf, -inf}) {
        sim::PlotJob scaled, windowed;
        scaled.settings.scaleDrawing = bad;
        windowed.settings.window2.y = bad;
        EXPECT_THROW(sim::journalLine(scaled), std::range_error) << bad;
        EXPECT_THROW(sim::journalLine(windowed), std::range_error) << bad;
    }
}

TEST(SimPlot, PlotsThatCannotRunFailAndAreNotJournalled) {
    TempDir dir;
    sim::Options o;
    o.journal = dir / "journal.jsonl";
    LayoutSession s(o);
    DispatchPtr plot = object(get(s.doc, L"Plot"));
    EXPECT_TRUE(contains(errorOf([&] { call(plot, L"PlotToDevice"); }), L"no plot device"));  // "None"
    put(s.layout, L"ConfigName", L"PDF");
    put(s.layout, L"PlotType", std::int32_t{4});
    EXPECT_TRUE(contains(errorOf([&] { call(plot, L"PlotToDevice"); }), L"window"));  // no window set
    EXPECT_NE(errorOf([&] { call(plot, L"PlotToDevice", {L"Some.pc3"}); }), L"");
    EXPECT_NE(errorOf([&] { put(plot, L"NumberOfCopies", std::int32_t{0}); }), L"");
    EXPECT_FALSE(std::filesystem::exists(o.journal));

    sim::Options unwritable;
    unwritable.journal = dir.path / "no-folder" / "journal.jsonl";
    LayoutSession t(unwritable);
    put(t.layout, L"ConfigName", L"PDF");
    EXPECT_TRUE(contains(errorOf([&] { call(object(get(t.doc, L"Plot")), L"PlotToDevice"); }), L"journal"));
}

}  // namespace
