// Constructions on two lines shared by the line tools and the tangent-circle solvers: whether two
// lines are parallel, the perpendicular from one line onto the other, and evenly spaced copies of a
// line filling the space up to a parallel one.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;

// Directions from the first to the second point within 0.1 % of each other (0 and 360 meet);
// lines of opposite direction are not parallel.
Boolean LinesParallel(const LineRecord* a, const LineRecord* b);
// The perpendicular to line a at its first point meets line b at (x, y); the result is that point's
// distance from a's first point, or -1 (x and y untouched) when the two do not meet.
Float64 IntersectPerpendicularWithLine(const LineRecord* a, const LineRecord* b, Float64* x, Float64* y);
// n copies of line a, evenly spaced towards line b, in one undo step (empty for n of 0 or less).
void DivideBetweenLines(DocWindowRecord* doc, const LineRecord* a, const LineRecord* b, SInt16 n);
