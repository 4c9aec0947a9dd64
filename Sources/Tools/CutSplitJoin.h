// Cutting a line or an arc back to (or extending it up to) a point, a line or a circle; splitting a
// line or an arc in two; joining collinear lines or arcs of one circle; two tangent lines that end in
// a cut. Each change is journalled in the undo step the caller has opened.
#pragma once

#include "MacTypes.h"

// The cuts on plain values, as the element operations apply them.

struct LineEnds {
    double x1, y1, x2, y2;
    UInt16 flags; // bit 0 runs on beyond the first point, bit 1 beyond the second
};
// Moves one or both ends of the line so that the part on A's side of B is kept, or extends the line
// up to B; the feet of A and B on the line are used. False (nothing changed) when the line has no
// length or a point is not a number.
Boolean CutLineEnds(LineEnds& line, double ax, double ay, double bx, double by);

// The angle of a point about a centre in degrees, in [0, 360].
double AngleAbout(double cx, double cy, double x, double y);
// How far apart two directions are, in degrees: at most 180.
double AngularDistance(double a, double b);
// The arc's start or end angle moves to b: the part holding a is kept, or the end nearer a is
// extended. False, with the angles unchanged, when the arc would have no extent left.
Boolean CutArcAngles(double& start, double& end, double a, double b);
