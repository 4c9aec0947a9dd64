// The plane constructions shared by the tools, snapping, dimensions and the importers: crossings of
// lines and circles, feet and parallels, tangents, and circles through points or touching elements.
// Results go to out-arguments only on success (result 1); a miss or degenerate input gives 0.
#pragma once

#include "Platform/MacTypes.h"

// A line through two points and a full circle, as the constructions read them from elements.
struct GeoLine {
    double x1, y1, x2, y2;
};
struct GeoCircle {
    double cx, cy, r;
};

struct LineRecord;
struct ArcRecord;
struct DocWindowRecord;
struct DocSettings;

// The messages of "STR#" 128 the constructions show when they have no solution.
constexpr SInt16 kPointInsideCircleMessage = 2;   // no tangent from a point inside the circle
constexpr SInt16 kCollinearPointsMessage = 5;     // no circle through three points on one line
constexpr SInt16 kNoTouchingCircleMessage = 8;    // no circle of the radius touches the elements
constexpr SInt16 kCircleInsideCircleMessage = 19; // no common tangent: one circle holds the other
constexpr SInt16 kPointOnLineMessage = 21;        // the point lies on the line
constexpr SInt16 kNoCircleInsideMessage = 27;     // no circle of the radius fits inside

GeoLine GeoLineOf(const LineRecord& line);
GeoCircle GeoCircleOf(const ArcRecord& arc);

// Intersections. Lines are infinite unless said otherwise. The element forms read only a line's end
// points and an arc's centre and radius (an arc counts as its full circle); a missing record gives 0.
Boolean IntersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4,
                       double& x, double& y);
Boolean IntersectLineElements(const LineRecord* a, const LineRecord* b, double& x, double& y);
Boolean IntersectLineWithSegment(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                                 double y4, double& x, double& y);
// The first point lies farther along the direction from (x1, y1) to (x2, y2).
Boolean IntersectLineCircle(double x1, double y1, double x2, double y2, double cx, double cy, double r,
                            double& xa, double& ya, double& xb, double& yb);
// circle[1], circle[2], circle[3] hold cx, cy, r.
Boolean IntersectLineWithCircleArray(double x1, double y1, double x2, double y2, const double* circle,
                                     double& xa, double& ya, double& xb, double& yb);
Boolean IntersectLineWithCircleElement(const LineRecord* line, const ArcRecord* arc, double& xa, double& ya,
                                       double& xb, double& yb);
// The first point lies left of the direction from the smaller circle's centre to the larger's.
Boolean IntersectCircles(double x1, double y1, double r1, double x2, double y2, double r2, double& xa,
                         double& ya, double& xb, double& yb);
Boolean IntersectCircleElements(const ArcRecord* a, const ArcRecord* b, double& xa, double& ya, double& xb,
                                double& yb);

// Feet, perpendiculars and parallels.
Boolean PerpendicularFoot(double x1, double y1, double x2, double y2, double px, double py, double& x,
                          double& y);
Boolean PerpendicularFromPoint(const GeoLine& line, double px, double py, double& sx, double& sy, double& ex,
                               double& ey);
Boolean PerpendicularFromPoint(const LineRecord* line, double px, double py, double& sx, double& sy,
                               double& ex, double& ey);
Boolean ParallelLineThroughPoint(const GeoLine& line, double px, double py, double& sx, double& sy,
                                 double& ex, double& ey);
Boolean ParallelLineThroughPoint(const LineRecord* line, double px, double py, double& sx, double& sy,
                                 double& ex, double& ey);
Boolean ParallelLineAtDistance(const GeoLine& line, double distance, double px, double py, double& sx,
                               double& sy, double& ex, double& ey);
Boolean ParallelLineAtDistance(const LineRecord* line, double distance, double px, double py, double& sx,
                               double& sy, double& ex, double& ey);
Boolean PolarLine(double x, double y, double angle, double length, double& sx, double& sy, double& ex,
                  double& ey);

// Tangent lines; kPointInsideCircleMessage, kCircleInsideCircleMessage when there is none.
Boolean TangentPointToCircle(double pickX, double pickY, double px, double py, const GeoCircle& circle,
                             double& sx, double& sy, double& ex, double& ey);
Boolean TangentPointToCircle(double pickX, double pickY, double px, double py, const ArcRecord* arc,
                             double& sx, double& sy, double& ex, double& ey);
// Out: the touching point on the circle whose centre has the smaller x first.
Boolean TangentLineToTwoCircles(const GeoCircle& c1, const GeoCircle& c2, double pick1X, double pick1Y,
                                double pick2X, double pick2Y, double& x1, double& y1, double& x2, double& y2);
Boolean TangentLineToTwoCircles(const ArcRecord* a1, const ArcRecord* a2, double pick1X, double pick1Y,
                                double pick2X, double pick2Y, double& x1, double& y1, double& x2, double& y2);
// The line of TangentLineAtAngle without adding it: from the touching point, in the angle reduced to
// [0, 180), on the side nearer the pick point.
Boolean TangentLineAtAngleEnds(const GeoCircle& circle, double angle, double length, double pickX,
                               double pickY, double& sx, double& sy, double& ex, double& ey);
// These two add a line element, in an undo step of their own (nested in the caller's when one is
// open); false when no line was added.
Boolean TangentLineAtAngle(DocWindowRecord* doc, const ArcRecord* arc, double angle, double length,
                           double pickX, double pickY);
// From the point, at the angle to the line's direction from its first end to its second.
Boolean LineAtAngleToLine(DocWindowRecord* doc, const LineRecord* line, double x, double y, double angle,
                          double length);

// Circles through points and touching lines; kCollinearPointsMessage when the points lie on one line.
Boolean CircleThroughThreePoints(double x1, double y1, double x2, double y2, double x3, double y3, double& cx,
                                 double& cy, double& r);
Boolean CircleTangentToThreeLines(const GeoLine& l1, const GeoLine& l2, const GeoLine& l3, double& cx,
                                  double& cy, double& r, double pickX, double pickY);
Boolean CircleTangentToThreeLines(const LineRecord* l1, const LineRecord* l2, const LineRecord* l3,
                                  double& cx, double& cy, double& r, double pickX, double pickY);
// l1 and l2 parallel, l3 crossing them.
Boolean CircleBetweenParallelLines(const GeoLine& l1, const GeoLine& l2, const GeoLine& l3, double& cx,
                                   double& cy, double& r, double pickX, double pickY);

// Centres of circles of radius r touching two elements, or through a point and touching one;
// kNoTouchingCircleMessage, kPointOnLineMessage or kNoCircleInsideMessage when there is none.
Boolean TangentCircleCentreToTwoLines(const GeoLine& l1, double pick1X, double pick1Y, const GeoLine& l2,
                                      double pick2X, double pick2Y, double r, double& cx, double& cy);
Boolean TangentCircleCentreToTwoLines(const LineRecord* l1, double pick1X, double pick1Y,
                                      const LineRecord* l2, double pick2X, double pick2Y, double r,
                                      double& cx, double& cy);
Boolean TangentCircleCentreToLineAndCircle(const GeoLine& line, double pickLX, double pickLY,
                                           const GeoCircle& circle, double pickCX, double pickCY, double r,
                                           double& cx, double& cy);
Boolean TangentCircleCentreToLineAndCircle(const LineRecord* line, double pickLX, double pickLY,
                                           const ArcRecord* arc, double pickCX, double pickCY, double r,
                                           double& cx, double& cy);
Boolean TangentCircleCentreToTwoCircleElements(const GeoCircle& c1, double pick1X, double pick1Y,
                                               const GeoCircle& c2, double pick2X, double pick2Y, double r,
                                               double& cx, double& cy);
Boolean TangentCircleCentreToTwoCircleElements(const ArcRecord* a1, double pick1X, double pick1Y,
                                               const ArcRecord* a2, double pick2X, double pick2Y, double r,
                                               double& cx, double& cy);
Boolean TangentCircleCentreToLine(const GeoLine& line, double pickX, double pickY, double px, double py,
                                  double r, double& cx, double& cy);
Boolean TangentCircleCentreToLine(const LineRecord* line, double pickX, double pickY, double px, double py,
                                  double r, double& cx, double& cy);
Boolean TangentCircleCentreToCircle(const GeoCircle& circle, double pickX, double pickY, double px, double py,
                                    double r, double& cx, double& cy);
Boolean TangentCircleCentreToCircle(const ArcRecord* arc, double pickX, double pickY, double px, double py,
                                    double r, double& cx, double& cy);
// A circle of radius r enclosing both circles.
Boolean TangentCircleCentreToTwoCircles(const GeoCircle& c1, const GeoCircle& c2, double r, double& cx,
                                        double& cy, double pickX, double pickY);
Boolean TangentCircleCentreToTwoCircles(const ArcRecord* a1, const ArcRecord* a2, double r, double& cx,
                                        double& cy, double pickX, double pickY);

// While a dimension is made: the current layer, pen and pen width are kept aside and the dimension
// pen, layer and line width (when they are set) become current; the restore puts the three back.
void UseDimensionAttributes(DocWindowRecord* doc);
void RestoreAttributesAfterDimension(DocSettings* settings);
