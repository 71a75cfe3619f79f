// Block references as frames: the rule for one reference, and the whole capture on a
// drawing read from DXF, so that insertion points, scales, mirroring, rotation and nested
// blocks come out of the stand-in's own block expansion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "form_rig.h"
#include "sheets/frame_query.h"
#include "sim_test_support.h"

namespace {

using frames::FrameList;
using frames::FrameRect;
using testing_support::FormRig;

constexpr double kQuarter = std::numbers::pi / 2;

FrameRect frame(double minx, double miny, double maxx, double maxy) {
    FrameRect f;
    f.minx = minx, f.miny = miny, f.maxx = maxx, f.maxy = maxy;
    return f;
}

// ---- a DXF drawing of block references

std::string groups(const std::vector<std::pair<int, std::string>>& pairs) {
    std::string text;
    for (const auto& [code, value] : pairs) text += std::to_string(code) + "\n" + value + "\n";
    return text;
}

std::string rectangleGroups(const std::string& layer, double x0, double y0, double x1, double y1) {
    auto n = [](double v) { return std::to_string(v); };
    return groups({{0, "LWPOLYLINE"}, {8, layer}, {90, "4"}, {70, "1"}, {10, n(x0)}, {20, n(y0)}, {10, n(x1)},
                   {20, n(y0)}, {10, n(x1)}, {20, n(y1)}, {10, n(x0)}, {20, n(y1)}});
}

struct Ref {
    std::string layer, block;
    double x, y, scaleX = 1, scaleY = 1, degrees = 0;
    std::vector<std::pair<std::string, std::string>> attributes = {};  // tag, text
};

std::string insertGroups(const Ref& r) {
    std::string text =
        groups({{0, "INSERT"}, {8, r.layer}, {2, r.block}, {10, std::to_string(r.x)}, {20, std::to_string(r.y)},
                {41, std::to_string(r.scaleX)}, {42, std::to_string(r.scaleY)}, {50, std::to_string(r.degrees)}});
    if (r.attributes.empty()) return text;
    // Attribute values follow the reference, placed inside its sheet.
    for (const auto& [tag, value] : r.attributes)
        text += groups({{0, "ATTRIB"}, {8, "0"}, {10, std::to_string(r.x + 10)}, {20, std::to_string(r.y + 10)},
                        {40, "5"}, {1, value}, {2, tag}, {70, "0"}});
    return text + groups({{0, "SEQEND"}});
}

// Block "F": a 400 x 300 sheet outline on layer 0 with a line across it. Block "N": "F"
// turned a quarter, its outline then spanning x -300..0, y 0..400. Block "E": empty.
// `more` follows the references in the entities section.
sim::Drawing blockDrawing(const std::vector<Ref>& refs, const std::string& more = "") {
    std::string text = groups({{0, "SECTION"}, {2, "BLOCKS"}});
    text += groups({{0, "BLOCK"}, {8, "0"}, {2, "F"}, {70, "0"}, {10, "0"}, {20, "0"}}) +
            rectangleGroups("0", 0, 0, 400, 300) +
            groups({{0, "LINE"}, {8, "PLAN"}, {10, "10"}, {20, "10"}, {11, "390"}, {21, "290"}, {0, "ENDBLK"}});
    text += groups({{0, "BLOCK"}, {8, "0"}, {2, "N"}, {70, "0"}, {10, "0"}, {20, "0"}}) +
            insertGroups({"0", "F", 0, 0, 1, 1, 90}) + groups({{0, "ENDBLK"}});
    text += groups({{0, "BLOCK"}, {8, "0"}, {2, "E"}, {70, "0"}, {10, "0"}, {20, "0"}, {0, "ENDBLK"}});
    text += groups({{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
    for (const Ref& r : refs) text += insertGroups(r);
    // The extents, on another layer.
    text += groups({{0, "LINE"}, {8, "0"}, {10, "-1000"}, {20, "-500"}, {11, "8000"}, {21, "2000"}});
    text += more + groups({{0, "ENDSEC"}, {0, "EOF"}});
    return sim::readDxfText(text, "blocks.dxf");
}

void expectFrames(const FrameList& got, const FrameList& expected, const char* what) {
    ASSERT_EQ(got.size(), expected.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(std::string(what) + ", frame " + std::to_string(i));
        EXPECT_NEAR(got[i].minx, expected[i].minx, 1e-6);
        EXPECT_NEAR(got[i].miny, expected[i].miny, 1e-6);
        EXPECT_NEAR(got[i].maxx, expected[i].maxx, 1e-6);
        EXPECT_NEAR(got[i].maxy, expected[i].maxy, 1e-6);
        EXPECT_EQ(got[i].row, expected[i].row);
        EXPECT_EQ(got[i].kept, expected[i].kept);
        EXPECT_FALSE(got[i].chosen);
    }
}

// As the ordering leaves a frame of a list of two or more.
FrameRect inRow(FrameRect f, int row) {
    f.row = row;
    f.kept = true;
    return f;
}

// ---- one reference

TEST(BlockFrames, OnlyAReferenceSquareToTheAxesWithAFiniteBoxIsAFrame) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        double rotation;
        cad::CadPoint lowerLeft, upperRight;
        bool frame;
    };
    const Case cases[] = {
        {"unturned", 0, {0, 0, 0}, {400, 300, 0}, true},
        {"a quarter turn", kQuarter, {0, 0}, {300, 400}, true},
        {"three quarters the other way", -3 * kQuarter, {0, 0}, {300, 400}, true},
        {"eleven quarters", 11 * kQuarter, {0, 0}, {300, 400}, true},
        {"a quarter, as degrees rounded by the host", 90.0000001 * std::numbers::pi / 180, {0, 0}, {300, 400}, true},
        {"a quarter and a thousandth of a degree", 90.001 * std::numbers::pi / 180, {0, 0}, {300, 400}, false},
        {"30 degrees", std::numbers::pi / 6, {0, 0}, {300, 400}, false},
        {"rotation not a number", nan, {0, 0}, {300, 400}, false},
        {"rotation infinite", inf, {0, 0}, {300, 400}, false},
        {"corner not a number", 0, {0, nan}, {300, 400}, false},
        {"corner infinite", 0, {0, 0}, {inf, 400}, false},
        {"corner of one number", 0, {0}, {300, 400}, false},
        // A box with no width or height: an empty block, or one of invisible attributes.
        {"a point", 0, {50, 60, 0}, {50, 60, 0}, false},
        {"no width", 0, {50, 0}, {50, 300}, false},
        {"no height", kQuarter, {0, 60}, {400, 60}, false},
        {"no width, corners the other way round", 0, {50, 300}, {50, 0}, false},
    };
    for (const Case& c : cases) {
        const std::optional<FrameRect> got = frames::frameOfBlockReference(c.rotation, c.lowerLeft, c.upperRight);
        EXPECT_EQ(got.has_value(), c.frame) << c.name;
    }
    // Corners given the other way round still make the box.
    EXPECT_EQ(frames::frameOfBlockReference(0, {400, 300}, {0, -10}), frame(0, -10, 400, 300));
}

// ---- the whole capture

// Every kind of reference on the frame layer, a polyline on top of one of them and one
// beside them, and a reference on another layer; the option on and off.
TEST(BlockFrames, TheCaptureTakesBlockFramesIntoTheOneOrderedList) {
    const std::vector<Ref> refs = {
        {"MORVEL", "F", 1000, 0, 2, 2},        // 800 x 600
        {"MORVEL", "F", 0, 0},                 // 400 x 300
        {"MORVEL", "F", 2300, 0, 1, 1, 90},    // portrait: x 2000..2300
        {"MORVEL", "F", 3000, 0, -1, 1},       // mirrored: x 2600..3000
        {"MORVEL", "F", 4000, 0, 1, 1, 30},    // turned 30 degrees: no frame
        {"MORVEL", "N", 5300, 0},              // nested, turned inside: x 5000..5300, y 0..400
        {"MORVEL", "F", 0, 1000, 1, 1, 180},   // upside down: x -400..0, y 700..1000
        {"MORVEL", "F", 1000, 1100, 1, 1, 270},  // x 1000..1300, y 700..1100
        {"0", "F", 7000, 0},                   // another layer
    };
    const std::string polylines = rectangleGroups("MORVEL", 1000, 0, 1800, 600) +  // on top of the first
                                  rectangleGroups("MORVEL", 6000, 0, 6400, 300);
    struct Case {
        const char* name;
        bool blockFrames, fromTop;
        FrameList expected;
    };
    const Case cases[] = {
        {"option off: the polylines only", false, false,
         {inRow(frame(1000, 0, 1800, 600), 0), inRow(frame(6000, 0, 6400, 300), 0)}},
        {"option on, rows from the bottom", true, false,
         {inRow(frame(0, 0, 400, 300), 0), inRow(frame(1000, 0, 1800, 600), 0), inRow(frame(2000, 0, 2300, 400), 0),
          inRow(frame(2600, 0, 3000, 300), 0), inRow(frame(5000, 0, 5300, 400), 0),
          inRow(frame(6000, 0, 6400, 300), 0), inRow(frame(-400, 700, 0, 1000), 1),
          inRow(frame(1000, 700, 1300, 1100), 1)}},
        {"option on, rows from the top", true, true,
         {inRow(frame(-400, 700, 0, 1000), 0), inRow(frame(1000, 700, 1300, 1100), 0), inRow(frame(0, 0, 400, 300), 1),
          inRow(frame(1000, 0, 1800, 600), 1), inRow(frame(2000, 0, 2300, 400), 1),
          inRow(frame(2600, 0, 3000, 300), 1), inRow(frame(5000, 0, 5300, 400), 1),
          inRow(frame(6000, 0, 6400, 300), 1)}},
    };
    for (const Case& c : cases) {
        FormRig rig(blockDrawing(refs, polylines));
        rig.f().setBlockFrames(c.blockFrames);
        rig.f().framePage.fromTop->setChecked(c.fromTop);
        rig.f().framePage.capture();
        expectFrames(rig.f().framePage.session.frames, c.expected, c.name);
        EXPECT_EQ(rig.f().framePage.chosenCount->text(), L"0") << c.name;  // a picture was taken
        EXPECT_EQ(rig.host->liveObjects(), 0) << c.name;
    }
}

// An empty block on the frame layer (its box the point it was put at) is no frame, and a
// polyline drawn on a block frame's outline keeps the block's attributes for the names.
TEST(BlockFrames, AnEmptyBlockIsNoFrameAndAPolylineOnABlockFrameKeepsItsAttributes) {
    simtest::TempDir dir;
    FormRig rig(blockDrawing({{"MORVEL", "F", 0, 0, 1, 1, 0, {{"SHEET_NO", "A-1"}}}, {"MORVEL", "E", 1000, 0},
                              {"MORVEL", "F", 2000, 0, 1, 1, 0, {{"SHEET_NO", "A-2"}}}},
                             rectangleGroups("MORVEL", 0, 0, 400, 300)));
    app::MainWindow& f = rig.f();
    f.setBlockFrames(true);
    f.setPlotToFile(true);
    f.fileOutput.folder = (dir / "out").wstring();
    f.fileOutput.pattern = L"{attr:SHEET_NO}";
    f.framePage.capture();
    expectFrames(f.framePage.session.frames, {inRow(frame(0, 0, 400, 300), 0), inRow(frame(2000, 0, 2400, 300), 0)},
                 "the empty block");
    for (FrameRect& frame : f.framePage.session.frames) frame.chosen = true;
    for (ui::ComboBox* box : {f.framePage.printer, f.framePage.paper, f.framePage.styleTable}) {
        box->setItems({L"PDF", L"ISO_A3_(420.00_x_297.00_MM)", L"monochrome.ctb"});
        box->setItemIndex(box == f.framePage.printer ? 0 : box == f.framePage.paper ? 1 : 2);
    }
    f.framePage.print();
    for (const char* name : {"A-1.pdf", "A-2.pdf"})
        EXPECT_TRUE(std::filesystem::exists(dir / "out" / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / "out" / "1.pdf"));
}

// Three calls for a block frame, two for a reference that is none; the layer text and
// its wildcards go to the host as typed, as for polylines.
TEST(BlockFrames, TheBlockQueryAsksForTheBoxOnlyOfReferencesThatCanBeFrames) {
    simtest::TempDir dir;
    sim::Options options;
    options.trace = dir / "trace.txt";
    FormRig rig(blockDrawing({{"MORV1", "F", 0, 0, 1, 1, 30}, {"MORV2", "F", 1000, 0}}), options);
    rig.f().setBlockFrames(true);
    rig.f().framePage.layer->setText(L"MORV?");
    rig.f().framePage.capture();
    expectFrames(rig.f().framePage.session.frames, {frame(1000, 0, 1400, 300)}, "MORV?");
    std::vector<std::string> calls = simtest::readLines(options.trace);
    const auto from = std::find(calls.begin(), calls.end(),
                                "SelectionSet.Select(5, omitted, omitted, [8, 0], [\"MORV?\", \"INSERT\"])");
    ASSERT_NE(from, calls.end());
    const std::vector<std::string> expected = {
        "SelectionSet.Select(5, omitted, omitted, [8, 0], [\"MORV?\", \"INSERT\"])",
        "SelectionSet.Count",
        "SelectionSet.Item(0)",
        "Entity.Rotation",
        "SelectionSet.Item(1)",
        "Entity.Rotation",
        "Entity.GetBoundingBox(empty, empty)",
        "SelectionSet.Clear()",
    };
    ASSERT_GE(calls.end() - from, static_cast<std::ptrdiff_t>(expected.size()));
    EXPECT_EQ(std::vector<std::string>(from, from + static_cast<std::ptrdiff_t>(expected.size())), expected);
}

// A block reference's answer failing or of the wrong shape ends the capture as any host
// failure does: the old list and picture stay, and the CAD is put back.
TEST(BlockFrames, AFailingOrGarbledAnswerAtAnyReferenceEndsTheCapture) {
    struct Case {
        const char* rule;
        bool garble;
    };
    const Case cases[] = {
        {"Entity.Rotation@1", false},       {"Entity.Rotation@2", false},
        {"Entity.GetBoundingBox@2", false}, {"Entity.Rotation@2", true},
        {"Entity.GetBoundingBox@1", true},  {"Entity.GetBoundingBox@2", true},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.garble ? "garbled " : "failing ") + c.rule;
        sim::Options options;
        (c.garble ? options.garbles : options.fails) = simtest::splitRules(c.rule);
        FormRig rig(blockDrawing({{"MORVEL", "F", 0, 0}, {"MORVEL", "F", 1000, 0}}), options);
        rig.f().setBlockFrames(true);
        rig.host->setGridMode(true);
        const sim::ViewState viewBefore = rig.zoomIn();
        app::MainWindow& f = rig.f();
        f.framePage.session.frames = {frame(-9, -9, -8, -8)};
        f.framePage.chosenCount->setText(L"9");

        f.framePage.capture();

        EXPECT_EQ(f.framePage.session.frames, FrameList{frame(-9, -9, -8, -8)}) << name;
        EXPECT_EQ(f.framePage.preview->picture(), nullptr) << name;
        EXPECT_EQ(f.framePage.chosenCount->text(), L"9") << name;
        EXPECT_TRUE(rig.host->gridMode()) << name;
        EXPECT_TRUE(rig.viewIs(viewBefore)) << name;
        EXPECT_EQ(rig.host->liveObjects(), 0) << name;
    }
}

// The files of block frames named by their attributes: the capture reads them only when
// the names need them, and a run asks for a capture first when they were not read.
TEST(BlockFrames, FileNamesTakeTheBlockFramesAttributes) {
    simtest::TempDir dir;
    sim::Options options;
    options.trace = dir / "trace.txt";
    FormRig rig(blockDrawing({{"MORVEL", "F", 1000, 0, 1, 1, 0, {{"TITLE", "plan"}, {"SHEET_NO", "A-2"}}},
                              {"MORVEL", "F", 0, 0, 1, 1, 0, {{"SHEET_NO", "A-1"}}}},
                             rectangleGroups("MORVEL", 2000, 0, 2400, 300)),
                options);
    app::MainWindow& f = rig.f();
    f.setBlockFrames(true);
    // Every frame chosen, and the print settings chosen after the capture's list refresh.
    const auto chooseAll = [&] {
        for (FrameRect& frame : f.framePage.session.frames) frame.chosen = true;
        for (ui::ComboBox* box : {f.framePage.printer, f.framePage.paper, f.framePage.styleTable}) {
            box->setItems({L"PDF", L"ISO_A3_(420.00_x_297.00_MM)", L"monochrome.ctb"});
            box->setItemIndex(box == f.framePage.printer ? 0 : box == f.framePage.paper ? 1 : 2);
        }
    };
    f.framePage.capture();
    chooseAll();
    f.setPlotToFile(true);
    f.fileOutput.folder = (dir / "out").wstring();
    f.fileOutput.pattern = L"{attr:sheet_no}";
    f.framePage.print();
    ASSERT_EQ(rig.shell.messages.size(), 1u) << "the frames were captured without their attributes";
    EXPECT_NE(rig.shell.messages[0].find(L"もう一度キャプチャ"), std::wstring::npos)
        << simtest::utf8(rig.shell.messages[0]);
    EXPECT_FALSE(std::filesystem::exists(dir / "out"));

    f.framePage.capture();
    const std::vector<std::string> calls = simtest::readLines(options.trace);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Entity.GetAttributes()"), 2);
    chooseAll();
    f.framePage.print();
    // In plot order: the two block frames by their attribute, the polyline frame by its
    // number.
    for (const char* name : {"A-1.pdf", "A-2.pdf", "3.pdf"})
        EXPECT_TRUE(std::filesystem::exists(dir / "out" / name)) << name;
}

}  // namespace
