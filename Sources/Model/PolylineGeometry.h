// What a polyline's points stand for, by kind: its straight segments and arcs (the smooth kinds as
// short segments, an ellipse as one arc or as chords), the rounded-rectangle parts, and its box.
// Drawing and exploding share these, so an exploded polyline looks as it was drawn.
#pragma once

#include "Model/DocumentRecords.h"

#include <vector>

// A segment, or an arc (degrees, counter-clockwise from start to end).
struct PolylinePiece {
    Boolean isArc;
    Float64 x1, y1, x2, y2;
    Float64 cx, cy, radius, startAngle, endAngle;
};

// Points of the record as x, y pairs; null when it has none or its handle is shorter than its count.
const Float64* PolylinePoints(const PolylineRecord* polyline);

// The smooth kinds as points along the curve: a spline (kind 1) follows its points as a B-spline
// that starts and ends at the end points; a curve (kind 2) passes through every point, parametrised by
// cumulative chord length. Fewer than three points give the points themselves.
void SmoothPolylinePoints(const PolylineRecord* polyline, std::vector<Float64>* xy);
// A curve (kind 2) as the cubic pieces it is drawn with, each between two distinct points: the Bezier
// control points (x, y pairs; a piece's last is the next one's first) and the chord parameter at each
// piece's ends. Fewer than three distinct points give straight pieces (two control points each, no
// inner ones): *cubic is then false.
void CurveBezierPieces(const PolylineRecord* polyline, std::vector<Float64>* controls,
                       std::vector<Float64>* parameters, Boolean* cubic);

// Four sides (x1, y1, x2, y2 each), four corner centres (x, y each) and the rotation in degrees of the
// rounded rectangle on four corners; the radius is cut to half the shorter side. Corner k's arc runs
// from rotation + 180 + 90k to rotation + 270 + 90k.
void RoundedRectParts(const Float64 corners[8], Float64 radius, Float64 sides[16], Float64 centres[8],
                      Float64* rotation, Float64* usedRadius);

// The pieces of a polyline of kind 0, 1, 2, 11 or 12; false for the kinds that hold no lines (a
// picture, kind 3 and unknown kinds) and for too few points. An ellipse whose axes are equal is one
// arc; otherwise its chords within the chord tolerance.
Boolean PolylinePieces(const DocWindowRecord* doc, const PolylineRecord* polyline,
                       std::vector<PolylinePiece>* pieces);

// The box of the points (widened for the smooth kinds, which may swing past them); false when the
// polyline has no points.
Boolean PolylineBox(const PolylineRecord* polyline, Float64 box[4]);

// The points of a curve polyline (kind 2) from vertex `from` to vertex `to` (from <= to), both
// vertices included, as SmoothPolylinePoints draws them. Empty for indexes outside the polyline.
void ComputePolylineCurve(const PolylineRecord* polyline, SInt16 from, SInt16 to, std::vector<Float64>* xy);
