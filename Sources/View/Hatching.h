// The one polygon hatcher: parallel lines at an angle and a spacing over closed point rings (an area's
// outline and its holes together, even-odd), each inside piece handed to a line callback; the screen,
// PDF and print drawing, the plot writer and the DXF area export all hatch through it.
#pragma once

#include "Model/DocumentRecords.h"

#include <vector>

// Receives one hatch segment in world millimetres.
using HatchLineProc = void (*)(void* context, Float64 x1, Float64 y1, Float64 x2, Float64 y2, void* userData);

// A closed ring of points; the last point joins the first (a repeated first point does no harm).
struct HatchRing {
    const Float64* xs;
    const Float64* ys;
    int count;
};

// Only the lines that may meet this world rectangle are made (what the output shows).
struct HatchWindow {
    Float64 minX, minY, maxX, maxY;
};

// More lines than this in one pass are not drawn: the area is far too large for its spacing.
constexpr long kMaxHatchLines = 1000000;
// Spacings stored in hatched areas are kept within these bounds (millimetres).
constexpr Float64 kMinHatchSpacing = 0.1;
constexpr Float64 kMaxHatchSpacing = 1000;

// Hatches the rings at angle (degrees) and spacing: the lines lie at spacing, 2 spacing, ... from the
// lowest point across the hatch direction, up to half a spacing short of the highest. A line meets an
// edge when exactly one of the edge's ends lies below it, so a vertex on a line counts once where the
// outline passes through and 0 or 2 times where it turns back. False when nothing was hatched because
// the input is unusable (spacing not positive, no ring) or the line count exceeds kMaxHatchLines.
Boolean HatchRings(const HatchRing* rings, int ringCount, Float64 angle, Float64 spacing,
                   const HatchWindow* window, void* context, void* userData, HatchLineProc lineProc);

// One closed polygon of count vertices.
void HatchPolygon(void* context, Float64 angle, Float64 spacing, SInt16 count, const Float64* xs,
                  const Float64* ys, void* userData, HatchLineProc lineProc);

// Smallest and largest p = y cos a - x sin a over the vertices and the first index of each.
void ProjectionExtremes(Float64* min, Float64* max, SInt16* minIndex, SInt16* maxIndex, SInt16 count,
                        Float64 sinA, Float64 cosA, const Float64* xs, const Float64* ys);
// Sorts keys ascending and moves others (may be null) along; equal keys keep their order.
void SortCrossings(long count, Float64* keys, Float64* others);

// The points of one outline handle as a ring: a point list with unusable points (a coordinate of
// magnitude 1e300 or more, or not finite) and exact repeats of the previous point left out; an ellipse
// contour as chords deviating at most `tolerance` millimetres. Counts beyond the handle's size are not
// trusted.
void OutlineRingPoints(Handle outline, Float64 tolerance, std::vector<Float64>* xs, std::vector<Float64>* ys);

// The area's contours, boundary first, as rings (each of two points or more), as OutlineRingPoints
// makes them.
void AreaContourRings(const AreaRecord* area, Float64 tolerance, std::vector<std::vector<Float64>>* xs,
                      std::vector<std::vector<Float64>>* ys);
// The spacing an area is hatched with: its stored spacing within the bounds above.
Float64 AreaHatchSpacing(const AreaRecord* area);
// Hatches an area (outline and holes) when its fill kind is a hatch: once at its angle, and for the
// crossed hatch (fill kind -1) again at angle + 90. Ellipse contours become chords within tolerance.
void HatchArea(const AreaRecord* area, Float64 tolerance, const HatchWindow* window, void* context,
               void* userData, HatchLineProc lineProc);

// One closed point list (an outline handle) hatched with the area's angle and spacing (the DXF area
// export hands its contours one by one).
void HatchOutlinePoints(void* context, const AreaRecord* area, Handle pointList, void* userData,
                        HatchLineProc lineProc);

// The same with every segment sent to the plot writer (PlotReceiver::PlotSegment).
void HatchPolygonHPGL(DocWindowRecord* doc, Float64 angle, Float64 spacing, SInt16 count, const Float64* xs,
                      const Float64* ys);
void HatchOutlinePointsHPGL(DocWindowRecord* doc, const AreaRecord* area, Handle pointList);
// The whole area with its holes to the plot writer.
void HatchAreaHPGL(DocWindowRecord* doc, const AreaRecord* area);
