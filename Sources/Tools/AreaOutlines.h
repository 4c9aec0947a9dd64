// The outline builder of area elements: points and arcs (as chords within the drawing's outline chord
// tolerance) appended to the outline being built, closed outlines kept as contours (at most 256: the
// first the boundary, the others holes), and the area element made from them. Also the parts of a
// rounded rectangle and the choices between arc points the tracing of boundaries needs.
#pragma once

#include "Model/DocumentRecords.h"

// Points in the outline being built; 0 when it is empty (an ellipse contour counts its two entries).
SInt16 OutlinePointCount(const DocWindowRecord* doc);
// Appends one point; a point equal to the last one is skipped (true). False when memory ran out or
// the outline holds an ellipse or is full.
Boolean AppendOutlinePoint(DocWindowRecord* doc, Float64 x, Float64 y);
// Makes the outline being built an ellipse contour: the centre and the radii.
Boolean SetEllipseOutline(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry);
// Empties the outline being built.
void DiscardOutline(DocWindowRecord* doc);

// The drawing's outline chord tolerance, brought into 0.001 .. 10 and stored back.
Float64 OutlineChordTolerance(DocWindowRecord* doc);
// The angle (radians) between the chords of an arc of radius r that deviate at most the tolerance:
// 2 acos((r - t) / r) with the cosine kept in range, at least 1 and at most 180 degrees. False for a
// radius that is not positive and finite (no arc can be made of it).
Boolean ArcStepAngle(Float64 radius, Float64 tolerance, Float64* step);
// The arc about the centre from the start point to the end point, counter-clockwise or clockwise: the
// start point, the chord points, then the end point. The end is taken on the same turn; an end on the
// start gives the whole circle. False (nothing appended) for a radius refused by ArcStepAngle.
Boolean AppendArcBetweenPoints(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startX,
                               Float64 startY, Float64 endX, Float64 endY, Boolean counterClockwise);
// The chord points of the arc between two angles (degrees), from one step after the start up to the
// end, without the end point itself.
Boolean AppendArcPoints(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startDeg,
                        Float64 endDeg, Boolean counterClockwise);

// A rectangle with rounded corners from its four corners (x, y pairs, in order round the box): side i
// runs from corner i towards corner i + 1, each end shortened by the radius; the arc at corner i has its
// centre the radius inside both of the corner's sides and runs from the end of side i - 1 to the start
// of side i. The radius is kept within 0 and half the shorter side. rotation is the direction of corner
// 0 to corner 1 in degrees [0, 360); counterClockwise tells which way the corners run.
struct RoundedRectShape {
    Float64 sides[4][4];
    Float64 centres[4][2];
    Float64 rotation;
    Float64 radius;
    Boolean counterClockwise;
};
// False when the corners do not make a box (a side of no length, or all corners on a line).
Boolean RoundedRectParts(const Float64 corners[8], Float64 radius, RoundedRectShape* out);
// The rounded box as outline points, corner arcs within the chord tolerance, and the first point again.
// A radius of 0 or less gives the plain box.
Boolean AppendRoundedBoxOutline(DocWindowRecord* doc, const Float64 corners[8], Float64 cornerRadius);

// Moves the outline being built into the next contour and starts an empty outline. False, changing
// nothing, when the outline is empty or 256 contours exist already: the caller must not take the
// outline as stored.
Boolean PushOutlineContour(DocWindowRecord* doc);
// The index of the last contour, -1 when there is none.
SInt16 LastOutlineContour(const DocWindowRecord* doc);
// Frees the outline being built and every contour.
void EmptyOutlineContours(DocWindowRecord* doc);

// Makes an area from the contours (the first its boundary, the others its holes) with the current
// group, layer and pen, the given fill value (spacing or pattern index), hatch angle and fill kind, at
// the end of the area list; the area takes the contours over. With draw set it is drawn and its undo
// record written (the caller brackets the undo step). Null when there is no contour or no memory.
AreaRecord* CreateAreaElement(DocWindowRecord* doc, Float64 spacing, Float64 angle, SInt16 fillKind,
                              Boolean draw);
// A circle area (an ellipse contour) with spacing 11, angle 0 and fill kind 1, drawn. The outline and
// contours in progress are given up for it.
AreaRecord* CreateCircularArea(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 r);
// The box of the area's boundary (contour 0).
void ComputeAreaBounds(AreaRecord* area);

// True when the counter-clockwise sweep about the centre from the start point to the end point passes
// the probe (the ends included).
Boolean PointOnArcSweep(Float64 cx, Float64 cy, Float64 startX, Float64 startY, Float64 endX, Float64 endY,
                        Float64 probeX, Float64 probeY);
// Of two intersections with the circle of an arc: the one on the arc (its sweep widened by a degree at
// each end) when only one is; else, and always for a full circle, the one nearer the reference.
void ChooseArcIntersection(Float64 x1, Float64 y1, Float64 x2, Float64 y2, Float64 refX, Float64 refY,
                           const ArcRecord* arc, Float64* x, Float64* y);
