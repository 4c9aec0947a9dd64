// Circles touching three elements where arcs take part: two lines and an arc, a line and two arcs,
// three arcs. Arcs count as their full circles, lines as infinite lines; the pick points choose
// among the circles that fit. Results go to the out-arguments only on success.
#pragma once

#include "Platform/MacTypes.h"

struct LineRecord;
struct ArcRecord;

// Pick i is the click on element i (line 1, line 2, the arc).
Boolean CircleTangentLinesArc(const LineRecord* line1, const LineRecord* line2, const ArcRecord* arc,
                              Float64& cx, Float64& cy, Float64& r, Float64 pick1X, Float64 pick1Y,
                              Float64 pick2X, Float64 pick2Y, Float64 pick3X, Float64 pick3Y);
Boolean CircleTangentLineArcs(const ArcRecord* arcA, const ArcRecord* arcB, const LineRecord* line,
                              Float64 pickAX, Float64 pickAY, Float64 pickBX, Float64 pickBY, Float64 pickLX,
                              Float64 pickLY, Float64& cx, Float64& cy, Float64& r);
// Of the circle outside all three and the one holding all three, the one passing nearer the
// reference point.
Boolean CircleTangentThreeArcs(const ArcRecord* a1, const ArcRecord* a2, const ArcRecord* a3, Float64& cx,
                               Float64& cy, Float64& r, Float64 refX, Float64 refY);
// The two searches behind it: r comes in as nothing and goes out as the radius found; true when
// the search converged (the out values hold the last candidate either way).
Boolean OuterTangentCircleIteration(const ArcRecord* a1, const ArcRecord* a2, const ArcRecord* a3, Float64& x,
                                    Float64& y, Float64& r);
Boolean EnclosingTangentCircleIteration(const ArcRecord* a1, const ArcRecord* a2, const ArcRecord* a3,
                                        Float64& x, Float64& y, Float64& r);
