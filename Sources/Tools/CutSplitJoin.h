// Cutting a line or an arc back to (or extending it up to) a point, a line or a circle; splitting a
// line or an arc in two; joining collinear lines or arcs of one circle; two tangent lines that end in
// a cut. Each change is journalled in the undo step the caller has opened.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;
struct ArcRecord;

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

// Element operations. A failure shows one of these messages of "STR#" 128 and leaves the element
// unchanged.
constexpr SInt16 kParallelNotJoinableMessage = 6; // parallel lines not on one line
constexpr SInt16 kLineMissesCutterMessage = 10;
constexpr SInt16 kLineMissesCircleMessage = 11;
constexpr SInt16 kArcsNotOnOneCircleMessage = 22;
constexpr SInt16 kPointNotOnArcMessage = 58;
constexpr SInt16 kSplitOutsideLineMessage = 154;
constexpr SInt16 kNoArcLeftMessage = 172; // a cut would leave an arc of no extent

void CutLineBetweenPoints(DocWindowRecord* doc, LineRecord* line, double ax, double ay, double bx, double by);
void CutLineAtIntersection(DocWindowRecord* doc, LineRecord* line, const LineRecord* cutter, double ax,
                           double ay, Boolean alert);
void CutLineAtCircle(DocWindowRecord* doc, LineRecord* line, const ArcRecord* arc, double ax, double ay,
                     Boolean alert);
void CutArcBetweenPoints(DocWindowRecord* doc, ArcRecord* arc, double ax, double ay, double bx, double by);
// Keep-between keeps the run between the two crossings that holds A; otherwise the crossing nearer R
// is the cut point.
void CutArcAtLine(DocWindowRecord* doc, ArcRecord* arc, const LineRecord* line, double ax, double ay,
                  double rx, double ry, Boolean keepBetween, Boolean alert);
void CutArcAtArc(DocWindowRecord* doc, ArcRecord* arc, const ArcRecord* cutter, double ax, double ay,
                 Boolean nearestEnd);

void SplitLineAtPoint(DocWindowRecord* doc, LineRecord* line, double px, double py);
void SplitLineAtLine(DocWindowRecord* doc, LineRecord* line, const LineRecord* edge);
void SplitLineAtArc(DocWindowRecord* doc, LineRecord* line, const ArcRecord* edge, double cursorX,
                    double cursorY);
void SplitLineAtFoot(DocWindowRecord* doc, LineRecord* line, double px, double py);
void SplitArcAtPoint(DocWindowRecord* doc, ArcRecord* arc, double px, double py);
void SplitArcAtTwoPoints(DocWindowRecord* doc, ArcRecord* arc, double x1, double y1, double x2, double y2);
void SplitArcAtLine(DocWindowRecord* doc, ArcRecord* arc, const LineRecord* edge, double cursorX,
                    double cursorY);
void SplitArcAtArc(DocWindowRecord* doc, ArcRecord* arc, const ArcRecord* edge, double cursorX,
                   double cursorY);
// Where the ray from the arc's centre through P meets the arc; kPointNotOnArcMessage when that is off
// the arc.
Boolean ProjectPointOntoArc(double px, double py, const ArcRecord* arc, double& qx, double& qy);

// False when the lines are not parallel (nothing changes); otherwise joins them or reports why not.
Boolean JoinLinesIfCollinear(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2);
void JoinCollinearLines(DocWindowRecord* doc, LineRecord* l1, LineRecord* l2);
// Arc 1 is merged into arc 2, which runs on from arc 1's start.
void JoinArcs(DocWindowRecord* doc, ArcRecord* a1, ArcRecord* a2);

// A line parallel to the line, touching the circle on P's side; in an undo step of its own.
void AddTangentParallelLine(DocWindowRecord* doc, const LineRecord* line, const ArcRecord* arc, double px,
                            double py);
// A tangent to the circle at the line's direction plus the offset, on P's side, running from its
// touching point to the line; in one undo step.
void AddTangentLineToLine(DocWindowRecord* doc, const LineRecord* line, const ArcRecord* arc, double px,
                          double py, double offset);
