// The bundled sample drawings (sim/sample/sample.dxf and blocks.dxf, written by
// make_sample.py): the sheet frames a frame query finds in them, and what it must pass
// over.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <set>
#include <sstream>
#include <tuple>

#include "cad/automation.h"
#include "cad/connect.h"
#include "cad/late_bound.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;

std::filesystem::path sampleDir() { return std::filesystem::path(QUILLON_SOURCE_DIR) / "sim" / "sample"; }

struct Frame {
    double minx, miny, maxx, maxy;
};

// The frame query as the capture runs it: polylines on MORVEL, closed, 8 coordinates.
std::vector<Frame> queryFrames(Session& s) {
    DispatchPtr set = object(get(s.doc, L"ActiveSelectionSet"));
    call(set, L"Clear");
    call(set, L"Select", {std::int32_t{5}, cad::Omitted{}, cad::Omitted{}, std::vector<std::int16_t>{8, 0},
                          ValueList{std::wstring(L"MORVEL"), std::wstring(L"*POLYLINE")}});
    std::vector<Frame> frames;
    for (std::int32_t i = 0, n = as<std::int32_t>(get(set, L"Count")); i < n; ++i) {
        DispatchPtr e = object(call(set, L"Item", {i}));
        std::vector<double> c = as<std::vector<double>>(get(e, L"Coordinates"));
        if (!as<bool>(get(e, L"Closed")) || c.size() != 8) continue;
        Frame f{c[0], c[1], c[0], c[1]};
        for (int k = 0; k < 8; k += 2) {
            f.minx = std::min(f.minx, c[k]), f.maxx = std::max(f.maxx, c[k]);
            f.miny = std::min(f.miny, c[k + 1]), f.maxy = std::max(f.maxy, c[k + 1]);
        }
        frames.push_back(f);
    }
    return frames;
}

// The paper and scale a frame is an exact multiple of, as "A3 1:50 landscape".
std::string sheetOf(const Frame& f) {
    double w = f.maxx - f.minx, h = f.maxy - f.miny;
    double longSide = std::max(w, h), shortSide = std::min(w, h);
    for (auto [name, l, s] : {std::tuple{"A3", 420.0, 297.0}, std::tuple{"A1", 841.0, 594.0}}) {
        double scale = longSide / l;
        if (scale == std::round(scale) && std::abs(shortSide - s * scale) < 1e-9)
            return std::string(name) + " 1:" + std::to_string(static_cast<int>(scale)) + (w >= h ? " landscape" : " portrait");
    }
    return "other";
}

TEST(SimSample, FramesOnMorvelInRowsAtTheirScales) {
    Session s(sim::readDxf(sampleDir() / "sample.dxf"));
    EXPECT_EQ(as<double>(call(s.doc, L"GetVariable", {L"DIMSCALE"})), 50);
    std::vector<Frame> frames = queryFrames(s);
    // The nine sheets, and right of them (x from 90000) the shapes that are no sheets:
    // a sheet turned by 15 degrees and a trapezoid, whose bounding box happens to be
    // that of an A3 sheet at 1:20.
    std::multiset<std::string> sheets, others;
    std::vector<double> bottoms;
    for (const Frame& f : frames) {
        (f.minx < 90000 ? sheets : others).insert(sheetOf(f));
        if (f.minx < 90000) bottoms.push_back(f.miny);
    }
    EXPECT_EQ(others, (std::multiset<std::string>{"other", "A3 1:20 landscape"}));
    EXPECT_EQ(sheets, (std::multiset<std::string>{"A3 1:50 landscape", "A1 1:25 landscape", "A3 1:50 portrait",
                                                  "A3 1:100 landscape", "A3 1:50 landscape", "A1 1:25 portrait",
                                                  "A3 1:1 landscape", "A3 1:10 landscape", "A3 1:10 portrait"}));
    // Three rows whose bottoms differ by a few units within a row.
    std::sort(bottoms.begin(), bottoms.end());
    int rows = 1;
    for (std::size_t i = 1; i < bottoms.size(); ++i) {
        double step = bottoms[i] - bottoms[i - 1];
        EXPECT_TRUE(step <= 5 || step > 1000) << step;
        rows += step > 1000;
    }
    EXPECT_EQ(rows, 3);
    EXPECT_NE(bottoms.front(), bottoms[1]);  // not perfectly aligned
}

TEST(SimSample, TheQueryPassesOverWhatIsNotAFrame) {
    sim::Drawing d = sim::readDxf(sampleDir() / "sample.dxf");
    int openOnMorvel = 0, closedFiveOnMorvel = 0, oldStyleOnMorvel = 0, rectanglesElsewhere = 0;
    for (const Entity& e : d.entities) {
        bool polyline = e.type == EntityType::LwPolyline || e.type == EntityType::Polyline;
        if (!polyline) continue;
        if (e.layer == L"MORVEL") {
            openOnMorvel += !e.closed;
            closedFiveOnMorvel += e.closed && e.points.size() == 5;
            oldStyleOnMorvel += e.type == EntityType::Polyline && e.closed && e.points.size() == 4;
        } else {
            rectanglesElsewhere += e.closed && e.points.size() == 4;
        }
    }
    EXPECT_GE(openOnMorvel, 2);
    EXPECT_GE(closedFiveOnMorvel, 1);
    EXPECT_EQ(oldStyleOnMorvel, 1);
    EXPECT_GE(rectanglesElsewhere, 9);
    // Every sheet holds drawing: lines, circles, text, a title block in Japanese too.
    int japanese = 0;
    for (const Entity& e : d.entities) japanese += contains(e.text, L"\u56F3\u9762");
    EXPECT_EQ(japanese, 9);
}

// Frames drawn as block references on MORVEL, at their scales, turned, mirrored and
// nested, one of them at 30 degrees; each reference's box, attribute values included,
// is its outline's. Beside them on MORVEL only closed polylines: two frames and one
// drawn on top of a reference's outline.
TEST(SimSample, BlockFramesAreReferencesOnMorvelBoxedByTheirOutlines) {
    sim::Drawing d;
    ASSERT_NO_THROW(d = sim::readDxf(sampleDir() / "blocks.dxf"));
    const double cos30 = std::cos(std::numbers::pi / 6);
    const std::vector<Frame> expected{  // in the file's order
        {0, 0, 21000, 14850},         {24000, 3, 38850, 21003},       {42000, -2, 63025, 14848},
        {0, 25000, 42000, 54700},     {45000, 25003, 66000, 39853},   {69000, 24998, 83850, 45998},
        {0, 60000, 21000, 74850},
        {32000 - 14850 / 2.0, 60000, 32000 + 21000 * cos30, 60000 + 21000 / 2.0 + 14850 * cos30},
        {54000, 59997, 64500, 67422}};
    std::vector<Frame> boxes;
    std::set<std::wstring> blocksElsewhere;
    for (const sim::Insert& insert : d.inserts) {
        if (insert.layer != L"MORVEL") {
            blocksElsewhere.insert(insert.block);
            continue;
        }
        sim::Extents box;
        for (std::size_t k = insert.first; k < insert.first + insert.count; ++k) include(box, boundsOf(d.entities[k]));
        boxes.push_back({box.min.x, box.min.y, box.max.x, box.max.y});
    }
    ASSERT_EQ(boxes.size(), expected.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const Frame &b = boxes[i], &e = expected[i];
        EXPECT_TRUE(std::abs(b.minx - e.minx) < 1e-6 && std::abs(b.miny - e.miny) < 1e-6 &&
                    std::abs(b.maxx - e.maxx) < 1e-6 && std::abs(b.maxy - e.maxy) < 1e-6)
            << "reference " << i << ": " << b.minx << " " << b.miny << " " << b.maxx << " " << b.maxy;
    }
    EXPECT_EQ(blocksElsewhere, std::set<std::wstring>{L"NORTH"});
    int closedFourOnMorvel = 0, otherOnMorvel = 0;
    for (const Entity& e : d.entities) {
        if (!e.selectable || e.layer != L"MORVEL") continue;
        (e.type == EntityType::LwPolyline && e.closed && e.points.size() == 4 ? closedFourOnMorvel : otherOnMorvel)++;
    }
    EXPECT_EQ(closedFourOnMorvel, 3);
    EXPECT_EQ(otherOnMorvel, 0);
}

// Each reference on MORVEL gives its title, scale and sheet number, through the client
// as Quillon reads them; the nested sheet's reference holds no values of its own, and a
// polyline has no attributes to give.
TEST(SimSample, BlockFramesGiveTheirAttributesInFileOrder) {
    Session s(sim::readDxf(sampleDir() / "blocks.dxf"));
    auto doc = cad::wrapApplication(s.host.application())->currentDocument();
    auto set = cad::tempSelectionSet(*doc);
    const cad::SelectionFilter onMorvel{{8, 0}, {L"MORVEL", L"INSERT"}};
    set->selectWithFilter(5, nullptr, nullptr, &onMorvel);
    using A = std::vector<cad::BlockAttribute>;
    auto sheet = [](const wchar_t* title, const wchar_t* scale, const wchar_t* number) {
        return A{{L"TITLE", title}, {L"SCALE", scale}, {L"SHEET_NO", number}};
    };
    const std::vector<A> expected{
        sheet(L"1F PLAN", L"1:50", L"01"),   sheet(L"SECTION A", L"1:50", L"02"), sheet(L"SITE PLAN", L"1:25", L"03"),
        sheet(L"KEY PLAN", L"1:100", L"04"), sheet(L"2F PLAN", L"1:50", L"05"),   sheet(L"SECTION B", L"1:50", L"06"),
        A{},                                 sheet(L"SKETCH", L"1:50", L"08"),    sheet(L"DETAIL 1", L"1:25", L"09")};
    ASSERT_EQ(set->entityCount(), static_cast<std::int32_t>(expected.size()));
    for (std::int32_t i = 0; i < set->entityCount(); ++i)
        EXPECT_EQ(set->entityAt(i)->blockAttributes(), expected[static_cast<std::size_t>(i)]) << "reference " << i;

    set->emptySet();
    const cad::SelectionFilter polylines{{8, 0}, {L"MORVEL", L"LWPOLYLINE"}};
    set->selectWithFilter(5, nullptr, nullptr, &polylines);
    ASSERT_GT(set->entityCount(), 0);
    try {
        set->entityAt(0)->blockAttributes();
        ADD_FAILURE() << "a polyline gave attributes";
    } catch (const cad::CadError& e) {
        EXPECT_TRUE(contains(e.text(), L"LWPOLYLINE has no such method")) << e.what();
    }
}

TEST(SimSample, TheCommittedDrawingsAreWhatTheScriptWrites) {
    if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    auto read = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    };
    for (auto [drawing, option] : {std::pair{"sample.dxf", ""}, std::pair{"blocks.dxf", " --blocks"}}) {
        TempDir dir;
        std::filesystem::path out = dir / drawing;
        std::string command =
            "python3 \"" + (sampleDir() / "make_sample.py").string() + "\"" + option + " \"" + out.string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_TRUE(read(out) == read(sampleDir() / drawing)) << "run sim/sample/make_sample.py" << option << " again";
    }
}

}  // namespace
