// Plane geometry of the drawing's entities: arcs, bulged polyline segments, text boxes.
#pragma once

#include <vector>

#include "sim/model/drawing.h"

namespace sim {

inline constexpr double kPi = 3.14159265358979323846;

// An arc from startRad sweeping sweepRad (positive: counter-clockwise).
struct Arc {
    Vec2 centre;
    double radius = 0, startRad = 0, sweepRad = 0;
};

// The arc that a polyline segment from a to b with the given bulge follows.
Arc bulgeArc(Vec2 a, Vec2 b, double bulge);
void includeArc(Extents& box, const Arc& arc);
// Points along the arc, ends included, no further than `tolerance` from the true curve.
std::vector<Vec2> arcPoints(const Arc& arc, double tolerance);

// The path an entity's outline follows, in drawing units, for drawing it: a polyline
// with its bulged segments as points along their arcs (the closing segment included
// when it is closed), a line's two ends, a circle or arc as points along it. Empty for
// text and points. Points lie no further than `tolerance` from the true curve.
std::vector<Vec2> outlinePoints(const Entity& entity, double tolerance);

// The four corners of a text's box (approximate: the stand-in has no font metrics).
std::vector<Vec2> textCorners(const Entity& text);
// The approximate advance of one line of text of the given height.
double textWidth(std::wstring_view line, double height);

}  // namespace sim
