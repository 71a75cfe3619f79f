// The stand-in's DXF reader: the real drawings in tests/data/dxf (see its README), small
// fixtures for each kind of entity, block inserts and text encodings, and broken files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sim/model/drawing.h"
#include "sim/model/geometry.h"

namespace {

using sim::Drawing;
using sim::DxfError;
using sim::Entity;
using sim::EntityType;

std::filesystem::path realDrawing(const char* name) { return std::filesystem::path(QUILLON_DXF_DIR) / name; }

// Group code / value pairs as DXF text, one line each.
std::string groups(const std::vector<std::pair<int, std::string>>& pairs) {
    std::string out;
    for (const auto& [code, value] : pairs) out += std::to_string(code) + "\n" + value + "\n";
    return out;
}

std::string entitiesFile(const std::string& body, const std::string& header = "") {
    std::string out;
    if (!header.empty()) out += "0\nSECTION\n2\nHEADER\n" + header + "0\nENDSEC\n";
    return out + "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n";
}

Drawing read(const std::string& text) { return sim::readDxfText(text, "fixture.dxf"); }

bool isPolyline(const Entity& e) { return e.type == EntityType::LwPolyline || e.type == EntityType::Polyline; }
bool closedFour(const Entity& e) { return isPolyline(e) && e.closed && e.points.size() == 4; }

std::map<std::wstring, int> closedFourByLayer(const Drawing& d) {
    std::map<std::wstring, int> byLayer;
    for (const Entity& e : d.entities)
        if (e.selectable && closedFour(e)) ++byLayer[e.layer];
    return byLayer;
}

int countOf(const Drawing& d, EntityType type, bool selectable = true) {
    int n = 0;
    for (const Entity& e : d.entities) n += e.type == type && e.selectable == selectable;
    return n;
}

void expectExtents(const Drawing& d, double x0, double y0, double x1, double y1, double tolerance) {
    sim::Extents box = d.extents();
    ASSERT_FALSE(box.empty);
    EXPECT_NEAR(box.min.x, x0, tolerance);
    EXPECT_NEAR(box.min.y, y0, tolerance);
    EXPECT_NEAR(box.max.x, x1, tolerance);
    EXPECT_NEAR(box.max.y, y1, tolerance);
}

// --- The real drawings -------------------------------------------------------------

TEST(DxfRealDrawings, BarcelonaPavilionHasOnlyLinesCirclesAndArcs) {
    Drawing d = sim::readDxf(realDrawing("barcelona_pavillion_pabellon.dxf"));
    EXPECT_EQ(countOf(d, EntityType::Line), 1808);
    EXPECT_EQ(countOf(d, EntityType::Circle), 188);
    EXPECT_EQ(countOf(d, EntityType::Arc), 83);
    EXPECT_EQ(d.entities.size(), 1808u + 188u + 83u);
    expectExtents(d, -0.84, -0.84, 115.12, 49.21, 0.01);
}

TEST(DxfRealDrawings, QcadTemplateDrawsItsThreeSheetsWithLinesOnly) {
    Drawing d = sim::readDxf(realDrawing("qcad_dl3dl_Vorlage_elt_2.dxf"));
    for (const Entity& e : d.entities) EXPECT_FALSE(isPolyline(e));
    sim::Extents border, frame;
    for (const Entity& e : d.entities) {
        if (e.type != EntityType::Line) continue;
        if (e.layer == L"Blattrand") include(border, boundsOf(e));
        if (e.layer == L"Rahmen Doppelt") include(frame, boundsOf(e));
    }
    // Three A3 sheets side by side at x = 0, 440 and 900.
    EXPECT_NEAR(border.min.x, 0, 1e-9);
    EXPECT_NEAR(border.max.x, 900 + 420, 1e-9);
    EXPECT_NEAR(border.max.y, 297, 1e-9);
    EXPECT_FALSE(frame.empty);
    EXPECT_EQ(countOf(d, EntityType::MText), 186);  // MTEXT kept; HATCH and SPLINE skipped
    expectExtents(d, 0, 0, 1340, 297, 1e-6);
}

TEST(DxfRealDrawings, ElectricR12HasOldStylePolylinesWithXyzCoordinates) {
    Drawing d = sim::readDxf(realDrawing("dxfvuer_electric_R12.dxf"));
    EXPECT_EQ(countOf(d, EntityType::Polyline), 654);
    EXPECT_EQ(countOf(d, EntityType::LwPolyline), 0);
    auto byLayer = closedFourByLayer(d);
    EXPECT_EQ(byLayer[L"TITLE"], 9);
    EXPECT_EQ(byLayer[L"PARTS"], 29);
    // Degenerate: triangles whose fourth vertex repeats the first.
    int degenerate = 0;
    for (const Entity& e : d.entities)
        if (e.layer == L"PARTS" && closedFour(e))
            degenerate += e.points[3].x == e.points[0].x && e.points[3].y == e.points[0].y;
    EXPECT_EQ(degenerate, 18);
    for (const Entity& e : d.entities) {
        if (e.type == EntityType::Polyline) {
            ASSERT_EQ(e.z.size(), e.points.size());
        }
    }
}

TEST(DxfRealDrawings, ChungkangSurveyHasKoreanLayersAndItsFrames) {
    Drawing d = sim::readDxf(realDrawing("chungkang_sample04_EPSG5187.dxf"));
    auto byLayer = closedFourByLayer(d);
    int total = 0;
    for (const auto& [layer, n] : byLayer) total += n;
    EXPECT_EQ(total, 36);
    EXPECT_EQ(byLayer.size(), 12u);
    EXPECT_EQ(byLayer[L"건물"], 15);  // UTF-8 names decoded, though the header says ANSI_949

    // The outer frame on layer "0", twice with the same coordinates.
    std::vector<const Entity*> frames;
    for (const Entity& e : d.entities) {
        sim::Extents b = boundsOf(e);
        if (closedFour(e) && e.layer == L"0" && std::abs(b.max.x - b.min.x - 1738.448) < 1e-3 &&
            std::abs(b.max.y - b.min.y - 1096.52) < 1e-3)
            frames.push_back(&e);
    }
    ASSERT_EQ(frames.size(), 2u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[0]->points[i].x, frames[1]->points[i].x);
        EXPECT_EQ(frames[0]->points[i].y, frames[1]->points[i].y);
    }
    // Four 450 x 275 index boxes: open, five vertices, the last repeating the first.
    int indexBoxes = 0;
    for (const Entity& e : d.entities) {
        sim::Extents b = boundsOf(e);
        if (e.type != EntityType::LwPolyline || std::abs(b.max.x - b.min.x - 450) > 1e-6 ||
            std::abs(b.max.y - b.min.y - 275) > 1e-6)
            continue;
        ++indexBoxes;
        EXPECT_FALSE(e.closed);
        ASSERT_EQ(e.points.size(), 5u);
        EXPECT_EQ(e.points[4].x, e.points[0].x);
        EXPECT_EQ(e.points[4].y, e.points[0].y);
    }
    EXPECT_EQ(indexBoxes, 4);
    // Survey coordinates: the drawing lies around (121000, 587000), including the
    // polylines drawn in vertical planes (extrusion along the ground), which show on
    // the plan as their projection.
    sim::Extents box = d.extents();
    EXPECT_GT(box.min.x, 120000);
    EXPECT_LT(box.max.x, 123000);
    EXPECT_GT(box.min.y, 586000);
    EXPECT_LT(box.max.y, 588000);
}

TEST(DxfRealDrawings, WoodshedFrameComesFromANestedBlockInsert) {
    Drawing d = sim::readDxf(realDrawing("woodshed_plan.dxf"));
    for (const Entity& e : d.entities) EXPECT_FALSE(e.selectable && isPolyline(e));
    ASSERT_EQ(d.inserts.size(), 1u);
    const sim::Insert& insert = d.inserts[0];
    EXPECT_EQ(insert.block, L"A3_Xu-0");
    EXPECT_GT(insert.count, 0u);
    for (std::size_t k = insert.first; k < insert.first + insert.count; ++k) {
        EXPECT_FALSE(d.entities[k].selectable);
        EXPECT_EQ(d.entities[k].insert, 0);
    }
    // The frame lines of block "a3-0" (200,100)-(4100,2870), inserted inside
    // "A3_Xu-0" at (-440,-220) at scale 2.2. The header's $EXTMAX (8501.25, 5993.82)
    // is stale: the lines reach (8580, 6094).
    expectExtents(d, 0, 0, 8580, 6094, 1e-6);
}

// --- Entities ----------------------------------------------------------------------

TEST(DxfEntities, LightweightPolylineVerticesClosedFlagAndBulges) {
    Drawing d = read(entitiesFile(groups({{0, "LWPOLYLINE"}, {8, "MORVEL"}, {90, "2"}, {70, "129"},
                                          {10, "0"}, {20, "0"}, {42, "1"}, {10, "2"}, {20, "0"},
                                          {0, "LWPOLYLINE"}, {8, "MORVEL"}, {70, "0"}, {10, "5"}, {20, "6"}})));
    ASSERT_EQ(d.entities.size(), 2u);
    const Entity& arc = d.entities[0];
    EXPECT_EQ(arc.type, EntityType::LwPolyline);
    EXPECT_TRUE(arc.closed);  // bit 1 of 70 (128 is linetype generation)
    ASSERT_EQ(arc.points.size(), 2u);
    ASSERT_EQ(arc.bulges.size(), 2u);
    EXPECT_EQ(arc.bulges[0], 1);
    // A bulge of 1 from (0,0) to (2,0) is the lower half circle round (1,0); the closing
    // segment back is straight.
    sim::Extents b = boundsOf(arc);
    EXPECT_NEAR(b.min.y, -1, 1e-12);
    EXPECT_NEAR(b.max.y, 0, 1e-12);
    EXPECT_FALSE(d.entities[1].closed);
    EXPECT_TRUE(d.entities[1].bulges.empty());
}

TEST(DxfEntities, OldPolylineKeepsCurveVerticesAndDropsSplineFrame) {
    Drawing d = read(entitiesFile(groups({{0, "POLYLINE"}, {8, "A"}, {66, "1"}, {70, "1"},
                                          {0, "VERTEX"}, {10, "1"}, {20, "2"}, {30, "0"}, {70, "0"},
                                          {0, "VERTEX"}, {10, "9"}, {20, "9"}, {70, "16"},  // frame point
                                          {0, "VERTEX"}, {10, "3"}, {20, "4"}, {70, "8"},
                                          {0, "SEQEND"}, {0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}})));
    ASSERT_EQ(d.entities.size(), 2u);
    const Entity& p = d.entities[0];
    EXPECT_EQ(p.type, EntityType::Polyline);
    EXPECT_TRUE(p.closed);
    ASSERT_EQ(p.points.size(), 2u);
    EXPECT_EQ(p.points[1].x, 3);
    EXPECT_EQ(p.z.size(), 2u);
    EXPECT_EQ(d.entities[1].type, EntityType::Line);
}

TEST(DxfEntities, ThreeDimensionalPolylineKeepsEachVertexElevation) {
    Drawing d = read(entitiesFile(groups({{0, "POLYLINE"}, {70, "8"}, {0, "VERTEX"}, {10, "1"}, {20, "2"}, {30, "7"}, {70, "32"},
                                          {0, "VERTEX"}, {10, "3"}, {20, "4"}, {30, "-2"}, {70, "32"}, {0, "SEQEND"}})));
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_EQ(d.entities[0].z, (std::vector<double>{7, -2}));
}

TEST(DxfEntities, CirclesArcsPointsAndTheirExtents) {
    Drawing d = read(entitiesFile(groups({{0, "CIRCLE"}, {8, "C"}, {10, "10"}, {20, "20"}, {40, "5"},
                                          {0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "0"}, {51, "90"},
                                          {0, "ARC"}, {10, "0"}, {20, "100"}, {40, "1"}, {50, "350"}, {51, "10"},
                                          {0, "POINT"}, {10, "-3"}, {20, "4"}})));
    ASSERT_EQ(d.entities.size(), 4u);
    EXPECT_EQ(d.entities[0].radius, 5);
    EXPECT_EQ(d.entities[0].layer, L"C");
    sim::Extents quarter = boundsOf(d.entities[1]);
    EXPECT_NEAR(quarter.min.x, 0, 1e-12);
    EXPECT_NEAR(quarter.min.y, 0, 1e-12);
    EXPECT_NEAR(quarter.max.x, 1, 1e-12);
    EXPECT_NEAR(quarter.max.y, 1, 1e-12);
    // An arc through 0 degrees reaches x = centre + radius, though neither end does.
    sim::Extents across = boundsOf(d.entities[2]);
    EXPECT_NEAR(across.max.x, 1, 1e-12);
    EXPECT_NEAR(across.min.x, std::cos(10 * sim::kPi / 180), 1e-12);
    expectExtents(d, -3, 0, 15, 100 + std::sin(10 * sim::kPi / 180), 1e-9);
}

TEST(DxfEntities, TextAndMTextKeepPlacementAndPlainContents) {
    Drawing d = read(entitiesFile(groups({{0, "TEXT"}, {8, "T"}, {10, "1"}, {20, "2"}, {40, "3.5"}, {50, "90"},
                                          {1, "45%%d %%uunder%%u"},
                                          {0, "TEXT"}, {10, "0"}, {20, "0"}, {11, "50"}, {21, "60"}, {40, "2"},
                                          {72, "2"}, {73, "3"}, {1, "right top"},
                                          {0, "MTEXT"}, {10, "5"}, {20, "6"}, {40, "2.5"}, {41, "80"}, {71, "1"},
                                          {3, "{\\fArial|b1;Title}\\Pline "}, {1, "two\\~end"}})));
    ASSERT_EQ(d.entities.size(), 3u);
    const Entity& t = d.entities[0];
    EXPECT_EQ(t.type, EntityType::Text);
    EXPECT_EQ(t.points[0].x, 1);
    EXPECT_EQ(t.textHeight, 3.5);
    EXPECT_EQ(t.rotation, 90);
    EXPECT_EQ(t.text, L"45\u00B0 under");
    EXPECT_EQ(t.attachment, 7);
    // Justified text sits on its alignment point.
    EXPECT_EQ(d.entities[1].points[0].x, 50);
    EXPECT_EQ(d.entities[1].attachment, 3);
    const Entity& m = d.entities[2];
    EXPECT_EQ(m.type, EntityType::MText);
    EXPECT_EQ(m.text, L"Title\nline two\u00A0end");
    EXPECT_EQ(m.boxWidth, 80);
    EXPECT_EQ(m.attachment, 1);
    EXPECT_EQ(m.textHeight, 2.5);
}

TEST(DxfEntities, OtherEntitiesAndPaperSpaceAreLeftOut) {
    Drawing d = read(entitiesFile(groups({{0, "HATCH"}, {8, "H"}, {10, "0"}, {20, "0"}, {91, "1"},
                                          {0, "SPLINE"}, {10, "1"}, {20, "1"},
                                          {0, "DIMENSION"}, {2, "*D1"}, {10, "0"}, {20, "0"},
                                          {0, "LINE"}, {67, "1"}, {10, "0"}, {20, "0"}, {11, "9"}, {21, "9"},
                                          {0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}})));
    ASSERT_EQ(d.entities.size(), 1u);
    EXPECT_EQ(d.entities[0].points[1].x, 1);
}

TEST(DxfEntities, MirroredExtrusionFlipsObjectCoordinates) {
    // A circle whose plane faces down: its own x axis is the world's -x.
    Drawing d = read(entitiesFile(groups({{0, "CIRCLE"}, {10, "10"}, {20, "5"}, {40, "1"}, {210, "0"}, {220, "0"}, {230, "-1"},
                                          {0, "LINE"}, {10, "10"}, {20, "5"}, {11, "11"}, {21, "5"}, {230, "-1"}})));
    EXPECT_EQ(d.entities[0].points[0].x, -10);
    EXPECT_EQ(d.entities[0].points[0].y, 5);
    EXPECT_EQ(d.entities[1].points[0].x, 10);  // lines are in world coordinates
}

TEST(DxfEntities, HeaderGivesDimscaleAndCrlfReadsTheSame) {
    std::string text = entitiesFile(groups({{0, "LINE"}, {8, "L"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}}),
                                    groups({{9, "$ACADVER"}, {1, "AC1015"}, {9, "$DIMSCALE"}, {40, "50.0"}}));
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& variant : {text, crlf}) {
        Drawing d = read(variant);
        EXPECT_EQ(d.dimscale, 50);
        ASSERT_EQ(d.entities.size(), 1u);
        EXPECT_EQ(d.entities[0].layer, L"L");
        EXPECT_EQ(d.entities[0].points[1].y, 4);
    }
    EXPECT_EQ(read(entitiesFile("")).dimscale, 1);
}

// --- Block inserts -----------------------------------------------------------------

std::string blocksSection(const std::string& blocks) { return "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n"; }

std::string block(const std::string& name, const std::string& base, const std::string& body) {
    return groups({{0, "BLOCK"}, {2, name}, {10, base.substr(0, base.find(','))}, {20, base.substr(base.find(',') + 1)}}) +
           body + groups({{0, "ENDBLK"}});
}

TEST(DxfBlocks, InsertsAreExpandedWithBasePointScaleRotationAndNesting) {
    std::string blocks = blocksSection(
        block("Frame", "10,10", groups({{0, "LWPOLYLINE"}, {8, "0"}, {70, "1"}, {10, "10"}, {20, "10"}, {10, "14"}, {20, "10"},
                                        {10, "14"}, {20, "12"}, {10, "10"}, {20, "12"},
                                        {0, "INSERT"}, {8, "0"}, {2, "mark"}, {10, "14"}, {20, "12"}})) +
        block("MARK", "0,0", groups({{0, "CIRCLE"}, {8, "Marks"}, {10, "0"}, {20, "0"}, {40, "1"},
                                     {0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}})));
    std::string entities = groups({{0, "INSERT"}, {8, "Sheets"}, {2, "Frame"}, {10, "100"}, {20, "200"},
                                   {41, "10"}, {42, "10"}, {50, "90"}, {0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}});
    Drawing d = read(blocks + entitiesFile(entities));
    ASSERT_EQ(d.inserts.size(), 1u);
    EXPECT_EQ(d.inserts[0].layer, L"Sheets");
    EXPECT_EQ(d.inserts[0].count, 3u);
    ASSERT_EQ(d.entities.size(), 4u);
    const Entity& frame = d.entities[0];
    EXPECT_FALSE(frame.selectable);
    EXPECT_EQ(frame.layer, L"Sheets");  // layer "0" takes the insert's layer
    // (14,10) is 4 right of the base point; scaled by 10 and turned by 90 degrees it is
    // 40 above the insertion point.
    EXPECT_NEAR(frame.points[1].x, 100, 1e-9);
    EXPECT_NEAR(frame.points[1].y, 240, 1e-9);
    const Entity& circle = d.entities[1];
    EXPECT_EQ(circle.layer, L"Marks");
    EXPECT_NEAR(circle.radius, 10, 1e-9);
    EXPECT_NEAR(circle.points[0].x, 100 - 20, 1e-9);  // the nested insert at (14,12)
    EXPECT_NEAR(circle.points[0].y, 240, 1e-9);
    EXPECT_EQ(d.entities[2].layer, L"Sheets");  // "0" inside "0" inside "Sheets"
    EXPECT_TRUE(d.entities[3].selectable);
    EXPECT_EQ(d.entities[3].insert, -1);
}

TEST(DxfBlocks, NonUniformScaleTurnsCirclesIntoPolylinesAndMirrorKeepsArcsRight) {
    std::string blocks = blocksSection(block("B", "0,0", groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1"},
                                                                  {0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "0"}, {51, "90"}})));
    Drawing stretched = read(blocks + entitiesFile(groups({{0, "INSERT"}, {2, "B"}, {10, "0"}, {20, "0"}, {41, "2"}, {42, "1"}})));
    ASSERT_EQ(stretched.entities.size(), 2u);
    EXPECT_EQ(stretched.entities[0].type, EntityType::LwPolyline);
    EXPECT_TRUE(stretched.entities[0].closed);
    sim::Extents ellipse = boundsOf(stretched.entities[0]);
    EXPECT_NEAR(ellipse.max.x, 2, 1e-9);
    EXPECT_NEAR(ellipse.max.y, 1, 1e-3);

    Drawing mirrored = read(blocks + entitiesFile(groups({{0, "INSERT"}, {2, "B"}, {10, "0"}, {20, "0"}, {41, "-1"}})));
    sim::Extents quarter = boundsOf(mirrored.entities[1]);  // now the upper-left quarter
    EXPECT_NEAR(quarter.min.x, -1, 1e-9);
    EXPECT_NEAR(quarter.max.x, 0, 1e-9);
    EXPECT_NEAR(quarter.max.y, 1, 1e-9);
}

// A bulge between two equal vertices is no arc: stretched by an insert, the outline
// goes straight on there, as it does unstretched.
TEST(DxfBlocks, StretchedBulgeBetweenEqualVerticesStaysStraight) {
    std::string blocks = blocksSection(block("B", "0,0", groups({{0, "LWPOLYLINE"}, {70, "1"}, {10, "0"}, {20, "0"}, {42, "1"},
                                                                  {10, "0"}, {20, "0"}, {42, "0.5"}, {10, "2"}, {20, "0"}})));
    Drawing d = read(blocks + entitiesFile(groups({{0, "INSERT"}, {2, "B"}, {41, "2"}})));
    ASSERT_EQ(d.entities.size(), 1u);
    const Entity& e = d.entities[0];
    EXPECT_TRUE(e.bulges.empty()) << "flattened into points";
    ASSERT_GT(e.points.size(), 3u);
    for (const sim::Vec2& p : e.points) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_EQ(e.points[0].x, 0);
    EXPECT_EQ(e.points[1].x, 0) << "the second vertex follows straight on";
    expectExtents(d, 0, -0.5, 4, 0, 2e-3);  // the arc of bulge 0.5 from (0,0) to (2,0), stretched
}

// Angles are directions: a whole turn more or less, up to the largest numbers a file may
// hold, gives the same arc, text or insert, with finite extents.
TEST(DxfEntities, AnglesAreTakenRoundToLessThanATurn) {
    std::string blocks = blocksSection(block("P", "0,0", groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}})));
    Drawing d = read(blocks + entitiesFile(groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "720"}, {51, "-270"},
                                                   {0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "2e18"}, {51, "1e308"},
                                                   {0, "TEXT"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "-1e308"}, {1, "x"},
                                                   {0, "INSERT"}, {2, "P"}, {10, "5"}, {20, "5"}, {50, "450"}})));
    ASSERT_EQ(d.entities.size(), 4u);
    EXPECT_EQ(d.entities[0].startAngle, 0);
    EXPECT_EQ(d.entities[0].endAngle, -270);
    sim::Extents quarter = boundsOf(d.entities[0]);  // 0 to 90 degrees
    EXPECT_NEAR(quarter.min.x, 0, 1e-12);
    EXPECT_NEAR(quarter.max.y, 1, 1e-12);
    for (const Entity& e : d.entities) {
        if (e.type == EntityType::Arc) {
            EXPECT_LT(std::abs(e.startAngle), 360);
            EXPECT_LT(std::abs(e.endAngle), 360);
        }
        EXPECT_LT(std::abs(e.rotation), 360);
    }
    EXPECT_NEAR(d.entities[3].points[1].x, 5, 1e-9);  // turned by 90 degrees
    EXPECT_NEAR(d.entities[3].points[1].y, 6, 1e-9);
    sim::Extents box = d.extents();
    EXPECT_TRUE(std::isfinite(box.min.x) && std::isfinite(box.min.y) && std::isfinite(box.max.x) && std::isfinite(box.max.y));
}

TEST(DxfBlocks, ArraysOfInsertsAndAttributes) {
    std::string blocks = blocksSection(block("P", "0,0", groups({{0, "POINT"}, {10, "0"}, {20, "0"}})));
    Drawing d = read(blocks + entitiesFile(groups({{0, "INSERT"}, {66, "1"}, {2, "P"}, {10, "0"}, {20, "0"},
                                                   {70, "3"}, {71, "2"}, {44, "10"}, {45, "5"},
                                                   {0, "ATTRIB"}, {10, "1"}, {20, "1"}, {40, "2"}, {1, "A-1"}, {2, "TAG"}, {70, "0"},
                                                   {0, "ATTRIB"}, {10, "1"}, {20, "1"}, {40, "2"}, {1, "hidden"}, {70, "1"},
                                                   {0, "SEQEND"}, {0, "LINE"}})));
    EXPECT_EQ(countOf(d, EntityType::Point, false), 6);
    EXPECT_EQ(countOf(d, EntityType::Text, false), 1);
    EXPECT_EQ(countOf(d, EntityType::Line), 1);
    expectExtents(d, 0, 0, 20, 5, 1e-9);
    // The insert keeps every attribute's tag and text, the invisible one too (not drawn).
    ASSERT_EQ(d.inserts.size(), 1u);
    EXPECT_EQ(d.inserts[0].attributes, (std::vector<sim::AttributeValue>{{L"TAG", L"A-1"}, {L"", L"hidden"}}));
}

// An attribute's vertical justification is its group 74; its 73 is a field length.
TEST(DxfBlocks, AnAttributeHangsFromItsAlignmentPointWhenJustifiedToTheTop) {
    std::string blocks = blocksSection(block("P", "0,0", groups({{0, "POINT"}, {10, "0"}, {20, "0"}})));
    Drawing d = read(blocks + entitiesFile(groups({{0, "INSERT"}, {66, "1"}, {2, "P"}, {10, "0"}, {20, "0"},
                                                   {0, "ATTRIB"}, {10, "0"}, {20, "0"}, {11, "50"}, {21, "40"},
                                                   {40, "2"}, {1, "A-1"}, {2, "TAG"}, {70, "0"}, {72, "1"},
                                                   {73, "0"}, {74, "3"}, {0, "SEQEND"}})));
    ASSERT_EQ(countOf(d, EntityType::Text, false), 1);
    for (const sim::Entity& e : d.entities)
        if (e.type == EntityType::Text) {
            EXPECT_EQ(e.attachment, 2);  // top centre
            EXPECT_NEAR(e.points.at(0).x, 50, 1e-9);
            EXPECT_NEAR(e.points.at(0).y, 40, 1e-9);
        }
}

TEST(DxfBlocks, AnInsertOfAMissingBlockDrawsNothing) {
    Drawing d = read(entitiesFile(groups({{0, "INSERT"}, {2, "nowhere"}, {10, "3"}, {20, "4"}})));
    ASSERT_EQ(d.inserts.size(), 1u);
    EXPECT_EQ(d.inserts[0].count, 0u);
    EXPECT_TRUE(d.entities.empty());
}

// --- Text encodings ----------------------------------------------------------------

TEST(DxfEncoding, NamesAndTextsDecodeByVersion) {
    struct Case {
        const char* version;
        std::string layer;
        std::wstring expected;
    };
    const Case cases[] = {
        {"AC1015", "Fl\xE4" "che", L"Fl\u00E4che"},                  // Windows-1252 byte
        {"AC1015", "\x80 sign", L"\u20AC sign"},                      // 0x80 is the euro in 1252
        {"AC1015", "\\U+65E5\\U+672C", L"\u65E5\u672C"},              // escapes in an old file
        {"AC1015", "\xE5\x9B\xB3\xE9\x9D\xA2", L"\u56F3\u9762"},      // UTF-8 written into an old file
        {"AC1021", "\xE5\x9B\xB3\xE9\x9D\xA2", L"\u56F3\u9762"},      // UTF-8 from R2007 on
        {"AC1021", "x\\U+00C4y", L"x\u00C4y"},
        {"AC1021", "\\U+D83D\\U+DE00", L"\U0001F600"},                // a surrogate pair of escapes
        {"AC1009", "TITLE", L"TITLE"},
    };
    for (const Case& c : cases) {
        Drawing d = read(entitiesFile(groups({{0, "POINT"}, {8, c.layer}, {10, "0"}, {20, "0"}}),
                                      groups({{9, "$ACADVER"}, {1, c.version}})));
        ASSERT_EQ(d.entities.size(), 1u);
        EXPECT_EQ(d.entities[0].layer, c.expected) << c.version << " " << c.layer;
    }
}

// --- Files that cannot be read -----------------------------------------------------

struct Broken {
    const char* name;
    std::string text;
    std::size_t line;
    const char* reason;
};

class DxfBroken : public testing::TestWithParam<Broken> {};

TEST_P(DxfBroken, ThrowsNamingTheFileAndLine) {
    const Broken& b = GetParam();
    try {
        sim::readDxfText(b.text, "broken.dxf");
        FAIL() << "no error";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.line, b.line) << e.what();
        EXPECT_EQ(e.file, std::filesystem::path("broken.dxf"));
        std::string what = e.what();
        EXPECT_NE(what.find("broken.dxf"), std::string::npos) << what;
        EXPECT_NE(what.find("line " + std::to_string(b.line)), std::string::npos) << what;
        EXPECT_NE(what.find(b.reason), std::string::npos) << what;
    }
}

const std::string kStart = "0\nSECTION\n2\nENTITIES\n";  // lines 1-4

INSTANTIATE_TEST_SUITE_P(
    Cases, DxfBroken,
    testing::Values(
        Broken{"GroupCodeNotANumber", kStart + "0\nLINE\nten\n1\n", 7, "group code"},
        Broken{"GroupCodeWithFraction", kStart + "0\nLINE\n10.5\n1\n", 7, "group code"},
        Broken{"NumberDoesNotParse", kStart + "0\nLINE\n10\n1,5\n20\n2\n0\nENDSEC\n", 8, "needs a number"},
        Broken{"NumberNotFinite", kStart + "0\nCIRCLE\n40\nnan\n0\nENDSEC\n", 8, "needs a number"},
        Broken{"WholeNumberDoesNotParse", kStart + "0\nLWPOLYLINE\n70\nclosed\n0\nENDSEC\n", 8, "whole number"},
        Broken{"EndsAfterAGroupCode", kStart + "0\nLINE\n8\n", 8, "unexpected end of file"},
        Broken{"SectionWithoutEnd", kStart + "0\nLINE\n10\n1\n", 9, "no ENDSEC"},
        Broken{"SectionEndsAtEof", kStart + "0\nLINE\n0\nEOF\n", 7, "no ENDSEC"},
        Broken{"EmptyFile", "", 1, "empty"},
        Broken{"OnlyBlankLines", "\n  \n\n", 1, "empty"},
        Broken{"BinaryDxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22), 1, "binary"},
        Broken{"NoSectionAtStart", "0\nLINE\n10\n1\n", 1, "SECTION"},
        Broken{"VertexBeforeFirstPoint", kStart + "0\nLWPOLYLINE\n20\n5\n0\nENDSEC\n", 7, "before the first vertex"},
        Broken{"BlockWithoutEnd", "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB\n0\nLINE\n0\nENDSEC\n", 11, "no ENDBLK"},
        Broken{"BlockInsertsItself",
               blocksSection(block("A", "0,0", groups({{0, "INSERT"}, {2, "B"}})) +
                             block("B", "0,0", groups({{0, "LINE"}, {0, "INSERT"}, {2, "a"}}))) +
                   entitiesFile(groups({{0, "INSERT"}, {2, "A"}})),
               29, "inserts itself"}),  // the INSERT of "a" inside "B" closes the circle
    [](const testing::TestParamInfo<Broken>& info) { return std::string(info.param.name); });

// Inserts that would expand without end are refused rather than exhausting memory or
// the stack.
TEST(DxfBrokenFile, RunawayBlockExpansionIsRefused) {
    std::string point = blocksSection(block("P", "0,0", groups({{0, "POINT"}, {10, "0"}, {20, "0"}})));
    std::string many = point + entitiesFile(groups({{0, "LINE"}, {0, "INSERT"}, {2, "P"}, {70, "2000"}, {71, "1000"}}));
    try {
        sim::readDxfText(many, "many.dxf");
        FAIL() << "no error";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.line, 29u);  // the model-space INSERT
        EXPECT_NE(std::string(e.what()).find("more than"), std::string::npos) << e.what();
    }
    std::string chain;
    for (int i = 0; i < 70; ++i)
        chain += block("B" + std::to_string(i), "0,0",
                       groups({{0, "POINT"}, {0, "INSERT"}, {2, "B" + std::to_string(i + 1)}}));
    chain += block("B70", "0,0", groups({{0, "POINT"}}));
    try {
        sim::readDxfText(blocksSection(chain) + entitiesFile(groups({{0, "INSERT"}, {2, "B0"}})), "deep.dxf");
        FAIL() << "no error";
    } catch (const DxfError& e) {
        EXPECT_NE(std::string(e.what()).find("nested"), std::string::npos) << e.what();
    }
    // An insert of an empty block repeated many times is no work at all, nor is one of a
    // block that holds only inserts of blocks that draw nothing.
    std::string empty = blocksSection(block("E", "0,0", "")) +
                        entitiesFile(groups({{0, "INSERT"}, {2, "E"}, {70, "30000"}, {71, "30000"}}));
    EXPECT_TRUE(sim::readDxfText(empty, "empty.dxf").entities.empty());
    std::string nothing = blocksSection(block("N", "0,0", groups({{0, "INSERT"}, {2, "E"}, {0, "INSERT"}, {2, "missing"}})) +
                                        block("E", "0,0", "")) +
                          entitiesFile(groups({{0, "INSERT"}, {2, "N"}, {70, "2000000000"}, {71, "2000000000"}}));
    EXPECT_TRUE(sim::readDxfText(nothing, "nothing.dxf").entities.empty());
}

// Numbers the reader takes that would make the drawing's extents, views or arcs
// overflow: refused naming the model-space record, where a placed insert reaches that
// far, or its own entity.
TEST(DxfBrokenFile, DrawingBeyondTheReachOfNumbersIsRefused) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t line;
    };
    const std::string farArc = blocksSection(block("B", "0,0", groups({{0, "ARC"}, {10, "1e308"}, {20, "0"}, {40, "2"}})));
    const Case cases[] = {
        {"an insert scales a far arc past the largest number",
         farArc + entitiesFile(groups({{0, "LINE"}, {0, "INSERT"}, {2, "B"}, {41, "10"}})), 31},
        {"an array's gap",
         blocksSection(block("P", "0,0", groups({{0, "POINT"}}))) +
             entitiesFile(groups({{0, "INSERT"}, {2, "P"}, {70, "3"}, {44, "1e308"}})),
         23},
        {"a circle of its own", entitiesFile(groups({{0, "LINE"}, {0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1e101"}})), 7},
        {"a bulge so flat its arc's centre is beyond reach",
         entitiesFile(groups({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"}, {42, "1e-300"}, {10, "1"}, {20, "0"}})), 5},
    };
    for (const Case& c : cases) {
        try {
            sim::readDxfText(c.text, "far.dxf");
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DxfError& e) {
            EXPECT_EQ(e.line, c.line) << c.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find("further than 1e100"), std::string::npos) << c.what << ": " << e.what();
        }
    }
    // Up to there a drawing reads as it is.
    Drawing near = read(entitiesFile(groups({{0, "CIRCLE"}, {10, "-1e99"}, {20, "0"}, {40, "1e99"}})));
    expectExtents(near, -2e99, -1e99, 0, 1e99, 1e85);
}

TEST(DxfBrokenFile, MissingFileNamesTheFile) {
    std::filesystem::path missing = std::filesystem::path(QUILLON_DXF_DIR) / "no such drawing.dxf";
    try {
        sim::readDxf(missing);
        FAIL() << "no error";
    } catch (const DxfError& e) {
        EXPECT_EQ(e.file, missing);
        EXPECT_EQ(e.line, 0u);
        EXPECT_NE(std::string(e.what()).find("no such drawing.dxf"), std::string::npos);
    }
}

}  // namespace

namespace {

// The outline the view draws: bulged segments follow their arcs, closed polylines
// come back to their start.
TEST(DxfGeometry, OutlinesFollowBulgesAndClose) {
    sim::Entity e;
    e.type = EntityType::LwPolyline;
    e.points = {{0, 0}, {2, 0}, {2, 1}};
    e.bulges = {-1, 0, 0};  // a clockwise half circle from (0,0) to (2,0): over the top
    e.closed = true;
    std::vector<sim::Vec2> path = sim::outlinePoints(e, 1e-3);
    ASSERT_GT(path.size(), 10u);
    EXPECT_EQ(path.front().x, 0);
    EXPECT_EQ(path.back().x, 0);  // closed: back at the start
    EXPECT_EQ(path.back().y, 0);
    double top = 0;
    for (const sim::Vec2& p : path) {
        top = std::max(top, p.y);
        if (p.x > 0 && p.x < 2 && p.y > 0) {
            EXPECT_NEAR(std::hypot(p.x - 1, p.y), 1, 1e-9);
        }
    }
    EXPECT_NEAR(top, 1, 1e-3);
    EXPECT_NEAR(boundsOf(e).max.y, 1, 1e-12);
    e.closed = false;
    EXPECT_EQ(sim::outlinePoints(e, 1e-3).back().y, 1);  // open: ends at the last vertex
}

}  // namespace
