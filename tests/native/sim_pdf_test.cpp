// The stand-in's PDF plot device: one PDF file per plot job, the plot area drawn at the
// job's scale, rotation and paper.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <stdexcept>
#include <cstdio>
#include <regex>
#include <sstream>

#include "sim/model/format.h"
#include "sim/model/plot_job.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;
namespace fs = std::filesystem;

constexpr double kPt = 72 / 25.4;  // points per millimetre

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Segment {
    Vec2 a, b;
};

// The parts of a one-page PDF the tests look at.
struct Pdf {
    explicit Pdf(std::string file) : bytes(std::move(file)) {
        std::smatch m;
        if (std::regex_search(bytes, m, std::regex(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])")))
            width = std::stod(m[1]), height = std::stod(m[2]);
        if (std::regex_search(bytes, m, std::regex(R"(/Length (\d+) >>\nstream\n)"))) {
            std::size_t start = static_cast<std::size_t>(m.position(0) + m.length(0));
            content = bytes.substr(start, std::stoul(m[1]));
            streamEndsRight = bytes.compare(start + content.size(), 10, "\nendstream") == 0;
        }
        // Path operators: numbers before "m" and "l".
        std::istringstream tokens(content);
        std::vector<double> numbers;
        Vec2 pen;
        for (std::string t; tokens >> t;) {
            char* end = nullptr;
            double v = std::strtod(t.c_str(), &end);
            if (end != t.c_str() && *end == 0) {
                numbers.push_back(v);
                continue;
            }
            if ((t == "m" || t == "l") && numbers.size() >= 2) {
                Vec2 p{numbers[numbers.size() - 2], numbers.back()};
                if (t == "l") segments.push_back({pen, p});
                pen = p;
                points.push_back(p);
            }
            numbers.clear();
        }
    }
    bool hasSegment(Vec2 a, Vec2 b, double tolerance = 0.011) const {
        auto near = [&](Vec2 p, Vec2 q) { return std::abs(p.x - q.x) <= tolerance && std::abs(p.y - q.y) <= tolerance; };
        for (const Segment& s : segments)
            if ((near(s.a, a) && near(s.b, b)) || (near(s.a, b) && near(s.b, a))) return true;
        return false;
    }
    std::string bytes, content;
    bool streamEndsRight = false;
    double width = 0, height = 0;
    std::vector<Segment> segments;
    std::vector<Vec2> points;  // every point a path goes through
};

Vec2 mm(double x, double y) { return {x * kPt, y * kPt}; }

struct PlotSetup {
    const wchar_t* media = L"ISO_A3_(420.00_x_297.00_MM)";
    std::int32_t rotation = 0;
    bool centred = true;
    std::int32_t paperUnits = 1;
    double paper = 1, drawing = 100;
    Vec2 window1{0, 0}, window2{42000, 29700};
    bool listedScale = false;
    const wchar_t* device = L"PDF";
};

// The stand-in with a plot folder and journal, set up to plot the way the client does.
struct PdfSession : Session {
    PdfSession(sim::Drawing drawing, const fs::path& plotDir, const fs::path& journal = {},
               std::vector<std::string> fails = {})
        : Session(std::move(drawing), options(plotDir, journal, std::move(fails))) {
        layout = object(get(doc, L"ActiveLayout"));
        plot = object(get(doc, L"Plot"));
    }
    static sim::Options options(const fs::path& plotDir, const fs::path& journal, std::vector<std::string> fails) {
        sim::Options o;
        o.plotDir = plotDir;
        o.journal = journal;
        o.fails = std::move(fails);
        return o;
    }
    void setUp(const PlotSetup& p) {
        put(layout, L"ConfigName", p.device);
        put(layout, L"CanonicalMediaName", p.media);
        put(layout, L"PaperUnits", p.paperUnits);
        call(layout, L"SetWindowToPlot", {std::vector<double>{p.window1.x, p.window1.y, 0},
                                          std::vector<double>{p.window2.x, p.window2.y, 0}});
        put(layout, L"PlotType", std::int32_t{4});
        put(layout, L"CenterPlot", p.centred);
        put(layout, L"UseStandardScale", p.listedScale);
        call(layout, L"SetCustomScale", {p.paper, p.drawing});
        put(layout, L"PlotRotation", p.rotation);
    }
    void run() { call(plot, L"PlotToDevice", {cad::Omitted{}}); }
    bool toFile(const fs::path& file) { return as<bool>(call(plot, L"PlotToFile", {file.wstring()})); }
    DispatchPtr layout, plot;
};

// Plots once and reads the one file the job wrote.
Pdf plotOnce(sim::Drawing drawing, const PlotSetup& setup) {
    TempDir dir;
    PdfSession s(std::move(drawing), dir.path);
    s.setUp(setup);
    s.run();
    return Pdf(readFile(dir / "plot-0001.pdf"));
}

sim::Drawing frameWithLine() {
    return drawingOf({rectangle(L"FRAME", 0, 0, 42000, 29700), line(L"0", {10000, 5000}, {20000, 5000})});
}

TEST(SimPdf, PageSizeScaleRotationAndCentring) {
    struct Case {
        const char* name;
        PlotSetup setup;
        double pageWidthMm, pageHeightMm;
        Vec2 from, to;  // where the line from (10000, 5000) to (20000, 5000) lands, mm
    };
    const Case cases[] = {
        {"A3 landscape at 1:100", {}, 420, 297, {100, 50}, {200, 50}},
        {"A3 portrait turned 90", {.media = L"ISO_A3_(297.00_x_420.00_MM)", .rotation = 1}, 297, 420, {247, 100}, {247, 200}},
        {"A3 landscape turned 180", {.rotation = 2}, 420, 297, {320, 247}, {220, 247}},
        {"A3 portrait turned 270", {.media = L"ISO A3 (297.00 x 420.00 mm)", .rotation = 3}, 297, 420, {50, 320}, {50, 220}},
        {"half window centred", {.window2 = {21000, 14850}}, 420, 297, {205, 124.25}, {305, 124.25}},
        {"half window at the corner", {.centred = false, .window2 = {21000, 14850}}, 420, 297, {100, 50}, {200, 50}},
        {"window not at the origin", {.centred = false, .window1 = {5000, 2000}}, 420, 297, {50, 30}, {150, 30}},
        {"inches", {.media = L"ISO_A4_(297.00_x_210.00_MM)", .centred = false, .paperUnits = 0, .drawing = 2540},
         297, 210, {100, 50}, {200, 50}},
        {"listed scale fits the window", {.media = L"ISO_A4_(297.00_x_210.00_MM)", .centred = false, .listedScale = true},
         297, 210, {10000 * 210 / 29700.0, 5000 * 210 / 29700.0}, {20000 * 210 / 29700.0, 5000 * 210 / 29700.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pdf pdf = plotOnce(frameWithLine(), c.setup);
        EXPECT_NEAR(pdf.width, c.pageWidthMm * kPt, 0.006);
        EXPECT_NEAR(pdf.height, c.pageHeightMm * kPt, 0.006);
        EXPECT_TRUE(pdf.hasSegment(mm(c.from.x, c.from.y), mm(c.to.x, c.to.y))) << pdf.content;
    }
}

TEST(SimPdf, A3PageIsExactInPoints) {
    Pdf pdf = plotOnce(frameWithLine(), {});
    EXPECT_NE(pdf.bytes.find("/MediaBox [0 0 1190.55 841.89]"), std::string::npos);
    // The frame, exactly the window, goes round the page's edge.
    EXPECT_TRUE(pdf.hasSegment({0, 0}, {1190.55, 0}));
    EXPECT_TRUE(pdf.hasSegment({1190.55, 841.89}, {0, 841.89}));
}

TEST(SimPdf, FileStructureAndCrossReferences) {
    sim::Drawing d = frameWithLine();
    Entity label;
    label.type = EntityType::Text;
    label.points = {{1000, 1000}};
    label.textHeight = 500;
    label.text = L"Sheet (1) \\ caf\u00e9";
    d.entities.push_back(label);
    Pdf pdf = plotOnce(std::move(d), {});
    const std::string& f = pdf.bytes;
    ASSERT_EQ(f.rfind("%PDF-1.", 0), 0u);
    EXPECT_TRUE(pdf.streamEndsRight);

    std::smatch m;
    ASSERT_TRUE(std::regex_search(f, m, std::regex(R"(startxref\n(\d+)\n%%EOF\n$)")));
    const std::size_t xref = std::stoul(m[1]);
    ASSERT_EQ(f.compare(xref, 5, "xref\n"), 0);
    std::istringstream table(f.substr(xref + 5));
    int first = -1, count = 0;
    table >> first >> count;
    ASSERT_EQ(first, 0);
    ASSERT_GE(count, 5);
    table.get();
    for (int k = 0; k < count; ++k) {
        char entry[21] = {};
        table.read(entry, 20);
        ASSERT_EQ(std::string(entry + 10, entry + 20), k == 0 ? " 65535 f\r\n" : " 00000 n\r\n") << k;
        const std::size_t offset = std::stoul(std::string(entry, 10));
        if (k > 0) {
            EXPECT_EQ(f.compare(offset, std::to_string(k).size() + 6, std::to_string(k) + " 0 obj"), 0) << k;
        }
    }
    EXPECT_NE(f.find("/Size " + std::to_string(count) + " /Root 1 0 R"), std::string::npos);

    // Text in the page font, the string escaped, é as its WinAnsi byte; the size carries
    // the 5 mm height (1:100) as Helvetica's capital height.
    const double size = 5 * kPt / 0.718;
    char expected[128];
    std::snprintf(expected, sizeof expected, "BT /F1 1 Tf %.4f 0 0 %.4f 28.35 28.35 Tm (Sheet \\(1\\) \\\\ caf\\351) Tj ET",
                  size, size);
    EXPECT_NE(pdf.content.find(expected), std::string::npos) << expected << "\n" << pdf.content;
}

TEST(SimPdf, ClippedToThePlotWindow) {
    Entity far;
    far.type = EntityType::Text;
    far.points = {{50000, 50000}};
    far.textHeight = 250;
    far.text = L"outside";
    const sim::Drawing d = drawingOf({
        line(L"0", {5000, 5000}, {20000, 5000}),       // leaves through the right edge
        line(L"0", {20000, 20000}, {30000, 25000}),    // wholly outside
        circle(L"0", {10000, 10000}, 2000),            // a quarter inside
        far,
    });
    // The window is 100 mm square at the page's lower-left corner.
    Pdf pdf = plotOnce(d, {.media = L"ISO_A4_(210.00_x_297.00_MM)", .centred = false, .window2 = {10000, 10000}});
    const Vec2 corner = mm(100, 100);
    EXPECT_NE(pdf.content.find("0 0 283.46 283.46 re W n"), std::string::npos) << pdf.content;
    EXPECT_TRUE(pdf.hasSegment(mm(50, 50), mm(100, 50))) << pdf.content;
    ASSERT_FALSE(pdf.points.empty());
    int onCircle = 0;
    for (Vec2 p : pdf.points) {
        EXPECT_GE(p.x, -0.005);
        EXPECT_GE(p.y, -0.005);
        EXPECT_LE(p.x, corner.x + 0.005);
        EXPECT_LE(p.y, corner.y + 0.005);
        if (std::abs(std::hypot(p.x - corner.x, p.y - corner.y) - 20 * kPt) < 0.02) ++onCircle;
    }
    EXPECT_GT(onCircle, 4);  // the quarter of the circle inside is drawn
    EXPECT_EQ(pdf.content.find("Tj"), std::string::npos);
}

TEST(SimPdf, BulgedSegmentsAndJapaneseText) {
    // From (0, 0) to (10000, 0) with bulge 1: a half circle counter-clockwise, so below
    // the chord, radius 5000 about (5000, 0); the closing segment is the chord.
    Entity arc = polyline(L"0", {{0, 0}, {10000, 0}}, true);
    arc.bulges = {1, 0};
    Entity japanese;
    japanese.type = EntityType::Text;
    japanese.points = {{0, 3000}};
    japanese.textHeight = 1000;
    japanese.text = L"AB図面";
    Pdf pdf = plotOnce(drawingOf({arc, japanese}), {.media = L"ISO_A4_(297.00_x_210.00_MM)", .centred = false,
                                                    .window1 = {-1000, -6000}, .window2 = {20000, 6000}});
    // Drawing (x, y) lands at ((x + 1000) / 100, (y + 6000) / 100) mm.
    const Vec2 centre = mm(60, 60);
    double lowest = 1e9;
    int onArc = 0;
    for (Vec2 p : pdf.points) {
        if (p.y > centre.y + 15) continue;  // the boxes of the text
        lowest = std::min(lowest, p.y);
        if (std::abs(p.y - centre.y) < 0.01) continue;  // on the chord
        EXPECT_NEAR(std::hypot(p.x - centre.x, p.y - centre.y), 50 * kPt, 0.05);
        ++onArc;
    }
    EXPECT_GT(onArc, 10);
    EXPECT_NEAR(lowest, mm(0, 10).y, 0.05);
    EXPECT_TRUE(pdf.hasSegment(mm(10, 60), mm(110, 60)));

    // Helvetica has no Japanese: one outlined box per character, set after the Latin run
    // by that run's advance in the font (A and B are 0.667 em each, the em 10 / 0.718 mm);
    // the stream stays ASCII.
    EXPECT_NE(pdf.content.find("(AB) Tj"), std::string::npos) << pdf.content;
    int boxSides = 0;
    for (const Segment& s : pdf.segments)
        if (s.a.y >= mm(0, 90).y - 0.01 && s.b.y >= mm(0, 90).y - 0.01) ++boxSides;
    EXPECT_EQ(boxSides, 8);
    const double firstBox = 10 + 2 * 0.667 * 10 / 0.718 + 1;
    EXPECT_TRUE(pdf.hasSegment(mm(firstBox, 100), mm(firstBox, 90))) << pdf.content;
    for (char c : pdf.content) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(SimPdf, OneFilePerJobInJobOrderOnlyForThePdfDevice) {
    TempDir dir;
    const fs::path sheets = dir.path / "sheets";  // made by the first plot
    PdfSession s(frameWithLine(), sheets, dir / "journal.jsonl");
    s.setUp({});
    s.run();
    s.setUp({.media = L"ISO_A4_(210.00_x_297.00_MM)"});
    s.run();
    s.setUp({.media = L"A4", .device = L"Default Windows System Printer.pc3"});
    s.run();

    auto output = [](const fs::path& file) { return "\"output\":" + sim::jsonString(file.wstring()) + "}"; };
    std::vector<std::string> lines = readLines(dir / "journal.jsonl");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].ends_with(output(sheets / "plot-0001.pdf"))) << lines[0];
    EXPECT_TRUE(lines[1].ends_with(output(sheets / "plot-0002.pdf"))) << lines[1];
    EXPECT_TRUE(lines[2].ends_with("\"output\":null}")) << lines[2];
    EXPECT_EQ(std::distance(fs::directory_iterator(sheets), fs::directory_iterator()), 2);
    EXPECT_NEAR(Pdf(readFile(sheets / "plot-0001.pdf")).width, 420 * kPt, 0.006);
    EXPECT_NEAR(Pdf(readFile(sheets / "plot-0002.pdf")).width, 210 * kPt, 0.006);
}

TEST(SimPdf, EarlierSheetsInTheFolderAreKept) {
    TempDir dir;
    writeFile(dir / "plot-0007.pdf", "an earlier sheet");
    writeFile(dir / "plot-notes.pdf", "not a sheet number");
    PdfSession s(frameWithLine(), dir.path);
    s.setUp({});
    s.run();
    EXPECT_EQ(readFile(dir / "plot-0007.pdf"), "an earlier sheet");
    EXPECT_TRUE(fs::exists(dir / "plot-0008.pdf"));
    EXPECT_FALSE(fs::exists(dir / "plot-0001.pdf"));
}

TEST(SimPdf, AFolderThatCannotBeMadeFailsThePlot) {
    TempDir dir;
    writeFile(dir / "taken", "a file where the folder should be");
    PdfSession s(frameWithLine(), dir / "taken", dir / "journal.jsonl");
    s.setUp({});
    EXPECT_TRUE(contains(errorOf([&] { s.run(); }), L"taken"));
    EXPECT_FALSE(fs::exists(dir / "journal.jsonl"));
}

// What a folder holds, by name.
std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A sheet and its journal line come together or not at all.
TEST(SimPdf, AJournalThatCannotBeWrittenLeavesNoSheet) {
    TempDir dir;
    PdfSession s(frameWithLine(), dir / "sheets", dir / "no-folder" / "journal.jsonl");
    s.setUp({});
    EXPECT_TRUE(contains(errorOf([&] { s.run(); }), L"journal"));
    EXPECT_EQ(filesIn(dir / "sheets"), std::vector<std::string>{}) << "a sheet without a job";
    EXPECT_FALSE(fs::exists(dir / "no-folder"));
}

TEST(SimPdf, AJobThatCannotBeJournalledWritesNeitherSheetNorLine) {
    TempDir dir;
    writeFile(dir / "journal.jsonl", "{\"job\":1}\n");
    sim::PlotJob job;
    job.number = 2;
    job.settings.device = L"PDF";
    job.settings.media = L"ISO_A3_(420.00_x_297.00_MM)";
    job.settings.scalePaper = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(sim::recordPlot(job, frameWithLine(), dir / "sheets", dir / "journal.jsonl"), std::runtime_error);
    EXPECT_EQ(filesIn(dir / "sheets"), std::vector<std::string>{});
    EXPECT_EQ(readFile(dir / "journal.jsonl"), "{\"job\":1}\n");

    // The same job with a number in place writes both, the sheet under its own name only.
    job.settings.scalePaper = 1;
    sim::recordPlot(job, frameWithLine(), dir / "sheets", dir / "journal.jsonl");
    EXPECT_EQ(filesIn(dir / "sheets"), std::vector<std::string>{"plot-0001.pdf"});
    ASSERT_TRUE(job.output);
    EXPECT_EQ(*job.output, dir / "sheets" / "plot-0001.pdf");
    EXPECT_EQ(readLines(dir / "journal.jsonl").size(), 2u);
}

// PlotToFile plots what PlotToDevice would, for any device with paper, into the file
// named, and journals it with that file as its output; the plot folder is not used.
TEST(SimPlotToFile, TheSheetPlotToDeviceWritesUnderTheGivenName) {
    TempDir dir;
    PdfSession s(frameWithLine(), dir / "sheets", dir / "journal.jsonl");
    s.setUp({});
    s.run();
    EXPECT_TRUE(s.toFile(dir / "A-101.pdf"));
    EXPECT_EQ(readFile(dir / "A-101.pdf"), readFile(dir / "sheets" / "plot-0001.pdf"));
    s.setUp({.media = L"A4", .device = L"Default Windows System Printer.pc3"});
    EXPECT_TRUE(s.toFile(dir / "printer.pdf"));
    EXPECT_NEAR(Pdf(readFile(dir / "printer.pdf")).width, 210 * kPt, 0.006);

    const std::vector<std::string> lines = readLines(dir / "journal.jsonl");
    ASSERT_EQ(lines.size(), 3u);
    auto output = [](const fs::path& file) { return "\"output\":" + sim::jsonString(file.wstring()) + "}"; };
    std::string expected = lines[0];
    expected.replace(0, 8, "{\"job\":2");
    expected.replace(expected.rfind("\"output\""), std::string::npos, output(dir / "A-101.pdf"));
    EXPECT_EQ(lines[1], expected);
    EXPECT_TRUE(lines[2].starts_with("{\"job\":3,")) << lines[2];
    EXPECT_TRUE(lines[2].ends_with(output(dir / "printer.pdf"))) << lines[2];
    EXPECT_EQ(filesIn(dir.path), (std::vector<std::string>{"A-101.pdf", "journal.jsonl", "printer.pdf", "sheets"}));
    EXPECT_EQ(filesIn(dir / "sheets"), std::vector<std::string>{"plot-0001.pdf"});
}

// What a folder holds: each file's bytes, "<folder>" for a folder.
std::map<std::string, std::string> contentsOf(const fs::path& dir) {
    std::map<std::string, std::string> contents;
    for (const std::string& name : filesIn(dir))
        contents[name] = fs::is_directory(dir / name) ? "<folder>" : readFile(dir / name);
    return contents;
}

// A refused job writes nothing, leaves no temporary file and changes nothing that was
// there: a file of that name above all.
TEST(SimPlotToFile, ARefusedJobWritesNothingAndKeepsWhatIsThere) {
    struct Case {
        const char* what;
        std::function<Value(const fs::path& dir)> name;  // prepares the folder too
        const wchar_t* error;                           // part of the host's text
        std::vector<std::string> fails = {};
        const char* journal = "journal.jsonl";
        bool setUp = true;
    };
    const Case cases[] = {
        {"a file of that name", [](const fs::path& d) { writeFile(d / "A-101.pdf", "someone's sheet"); return (d / "A-101.pdf").wstring(); },
         L"A-101.pdf exists"},
        {"a file of the temporary name", [](const fs::path& d) { writeFile(d / "A-101.pdf.part", "someone's notes"); return (d / "A-101.pdf").wstring(); },
         L"A-101.pdf.part exists"},
        {"a folder of that name", [](const fs::path& d) { fs::create_directory(d / "A-101.pdf"); return (d / "A-101.pdf").wstring(); },
         L"exists"},
        {"a folder that is not there", [](const fs::path& d) { return (d / "none" / "A-101.pdf").wstring(); }, L"does not exist"},
        {"a relative name", [](const fs::path&) { return std::wstring(L"A-101.pdf"); }, L"not a full path"},
        {"a folder's name", [](const fs::path& d) { return d.wstring() + L"/"; }, L"not a full path"},
        {"no name", [](const fs::path&) { return Value(std::int32_t{7}); }, L"argument 1"},
        {"a journal that cannot be written", [](const fs::path& d) { return (d / "A-101.pdf").wstring(); }, L"journal",
         {}, "no-folder/journal.jsonl"},
        {"no device with paper", [](const fs::path& d) { return (d / "A-101.pdf").wstring(); }, L"no plot device", {},
         "journal.jsonl", false},
        {"an injected failure", [](const fs::path& d) { return (d / "A-101.pdf").wstring(); }, L"injected", {"plotToFile"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        PdfSession s(frameWithLine(), dir / "sheets", dir.path / c.journal, c.fails);
        if (c.setUp) s.setUp({});
        const Value name = c.name(dir.path);
        const auto before = contentsOf(dir.path);
        const std::wstring error = errorOf([&] { call(s.plot, L"PlotToFile", {name}); });
        EXPECT_TRUE(contains(error, c.error)) << utf8(error);
        EXPECT_EQ(contentsOf(dir.path), before);
    }
    // A plot configuration is refused as PlotToDevice refuses it.
    TempDir dir;
    PdfSession s(frameWithLine(), dir / "sheets");
    s.setUp({});
    EXPECT_TRUE(contains(errorOf([&] { call(s.plot, L"PlotToFile", {(dir / "a.pdf").wstring(), L"Some.pc3"}); }),
                         L"configurations"));
    EXPECT_EQ(filesIn(dir.path), std::vector<std::string>{});
}

// The file as a PDF reader sees it, when poppler's pdfinfo is installed.
TEST(SimPdf, PdfinfoReadsTheSheet) {
    if (std::system("pdfinfo -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdfinfo is not installed";
    TempDir dir;
    PdfSession s(frameWithLine(), dir.path);
    s.setUp({});
    s.run();
    std::string command = "pdfinfo '" + (dir / "plot-0001.pdf").string() + "' 2>&1";
    std::string report;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) report += buffer;
        pclose(pipe);
    }
    EXPECT_TRUE(std::regex_search(report, std::regex(R"(Pages:\s+1\n)"))) << report;
    EXPECT_TRUE(std::regex_search(report, std::regex(R"(Page size:\s+1190.55 x 841.89 pts)"))) << report;
    EXPECT_EQ(report.find("Error"), std::string::npos) << report;
}

}  // namespace
