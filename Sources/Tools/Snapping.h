// Snapping: every point a tool takes from a click passes through SnapCursor, which replaces the raw
// cursor point by the grid point, the intersection of two picked elements, an element's
// characteristic point or the fixed point, by snap mode; or by the typed coordinates when the command
// field holds at least two values.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;
struct ArcRecord;

// Snap modes of DocSettings.
enum : SInt16 {
    kSnapGrid = 0,
    kSnapIntersection = 1,
    kSnapElementPoint = 2,
    kSnapFixedPoint = 3,
};

// True when a point was produced; the cursor point holds it.
Boolean SnapCursor(DocWindowRecord* doc);
// Rounds the point to the grid while the grid is shown; ties go away from zero.
void SnapToGrid(DocWindowRecord* doc, Float64* x, Float64* y);
// The nearest multiple of the spacing, rounded on the absolute value with ties away from zero.
Float64 RoundToGridMultiple(Float64 value, Float64 spacing);
// Two clicks: true when the second completes an intersection.
Boolean SnapToIntersection(DocWindowRecord* doc);
Boolean SnapToElementPoint(DocWindowRecord* doc);
void SnapToLinePoint(DocWindowRecord* doc, const LineRecord* line);
void SnapToArcPoint(DocWindowRecord* doc, const ArcRecord* arc);
Boolean IntersectLineRecords(DocWindowRecord* doc, const LineRecord* a, const LineRecord* b);
Boolean SnapLineCircle(DocWindowRecord* doc, const LineRecord* line, const ArcRecord* arc);
Boolean SnapCircleCircle(DocWindowRecord* doc, const ArcRecord* a, const ArcRecord* b);

// The point the typed values of the command field name, in drawing millimetres: converted by scale
// and unit, then offset once by the reference point when relative (in polar modes the resulting
// point is offset). False with fewer than two values.
Boolean TypedPoint(DocWindowRecord* doc, Float64* x, Float64* y);
