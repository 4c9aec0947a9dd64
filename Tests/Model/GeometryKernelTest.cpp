// The geometry kernel: crossings with their tolerance ladders, solution orders and pick-point choices,
// and the refusal of degenerate input (zero lengths and radii, NaN, overflowing coordinates).
#include "Model/ElementRecords.h"
#include "Model/GeometryKernel.h"
#include "MessageCapture.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kUntouched = 12345.678;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Out4 {
    double a = kUntouched, b = kUntouched, c = kUntouched, d = kUntouched;
    bool Untouched() const {
        return a == kUntouched && b == kUntouched && c == kUntouched && d == kUntouched;
    }
    // The two points of a successful call, or untouched outputs after a failed one.
    void Expect(Boolean result, bool found, double xa, double ya, double xb, double yb, double tolerance,
                const char* name) const {
        EXPECT_EQ(result != 0, found) << name;
        if (!found) {
            EXPECT_TRUE(Untouched()) << name;
            return;
        }
        EXPECT_NEAR(a, xa, tolerance) << name;
        EXPECT_NEAR(b, ya, tolerance) << name;
        EXPECT_NEAR(c, xb, tolerance) << name;
        EXPECT_NEAR(d, yb, tolerance) << name;
    }
};

double DistToLine(const GeoLine& l, double x, double y) {
    const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    return std::fabs((x - l.x1) * dy - (y - l.y1) * dx) / std::hypot(dx, dy);
}

} // namespace

TEST(GeometryKernel, IntersectLinesToleranceLadder) {
    struct Case {
        const char* name;
        double l[8];
        bool found;
        double x, y;
    };
    const Case cases[] = {
        {"crossing", {0, 0, 10, 0, 5, -5, 5, 5}, true, 5, 0},
        {"beyond both segments", {0, 0, 1, 0, 5, 1, 5, 2}, true, 5, 0},
        {"oblique", {0, 0, 2, 2, 0, 4, 4, 0}, true, 2, 2},
        {"parallel", {0, 0, 10, 0, 0, 1, 10, 1}, false, 0, 0},
        {"collinear", {0, 0, 10, 0, 20, 0, 30, 0}, false, 0, 0},
        {"cross product 5e-11", {0, 0, 1, 0, 0, 1, 1, 1 + 5e-11}, false, 0, 0},
        {"cross product 2e-10", {0, 0, 1, 0, 0, 1, 1, 1 + 2e-10}, true, -5e9, 0},
        {"cross product 2e-10, too far", {0, 0, 1, 0, 0, 3, 1, 3 + 2e-10}, false, 0, 0},
        {"first line of no length", {1, 1, 1, 1, 0, 0, 5, 5}, false, 0, 0},
        {"second line of no length", {0, 0, 5, 5, 1, 2, 1, 2}, false, 0, 0},
        {"NaN", {0, 0, kNaN, 0, 5, -5, 5, 5}, false, 0, 0},
        {"infinite", {0, 0, INFINITY, 0, 5, -5, 5, 5}, false, 0, 0},
        {"overflowing products", {0, 0, 1e300, 0, 5, -1e300, 5, 1e300}, false, 0, 0},
    };
    for (const Case& c : cases) {
        double x = kUntouched, y = kUntouched;
        const Boolean r =
            IntersectLines(c.l[0], c.l[1], c.l[2], c.l[3], c.l[4], c.l[5], c.l[6], c.l[7], x, y);
        EXPECT_EQ(r != 0, c.found) << c.name;
        if (c.found) {
            EXPECT_NEAR(x, c.x, 1e-6 * std::max(1.0, std::fabs(c.x))) << c.name;
            EXPECT_NEAR(y, c.y, 1e-6) << c.name;
        } else {
            EXPECT_EQ(x, kUntouched) << c.name;
            EXPECT_EQ(y, kUntouched) << c.name;
        }
    }
}

TEST(GeometryKernel, IntersectLineWithSegmentKeepsToTheSecondSegment) {
    struct Case {
        double l[8];
        bool found;
    };
    const Case cases[] = {
        {{0, 0, 1, 0, 5, -1, 5, 1}, true},  // crosses the segment inside
        {{0, 0, 1, 0, 5, 0, 5, 1}, true},   // at its end point exactly
        {{0, 0, 1, 0, 5, 1, 5, 2}, false},  // the infinite line would cross beyond the segment
        {{5, -1, 5, 1, 0, 0, 1, 0}, false}, // the first pair is infinite, the second is not
    };
    for (const Case& c : cases) {
        double x = kUntouched, y = kUntouched;
        EXPECT_EQ(IntersectLineWithSegment(c.l[0], c.l[1], c.l[2], c.l[3], c.l[4], c.l[5], c.l[6], c.l[7], x,
                                           y) != 0,
                  c.found);
        if (!c.found) {
            EXPECT_EQ(x, kUntouched);
        }
    }
}

TEST(GeometryKernel, IntersectLineCircleOrderAndNearMisses) {
    struct Case {
        const char* name;
        double l[4], cx, cy, r;
        bool found;
        double xa, ya, xb, yb;
    };
    const double nm = std::sqrt(5.05 * 5.05 - 5.025 * 5.025);
    const Case cases[] = {
        {"through the centre", {-10, 0, 10, 0}, 0, 0, 5, true, 5, 0, -5, 0},
        {"reversed: first is farther along", {10, 0, -10, 0}, 0, 0, 5, true, -5, 0, 5, 0},
        {"short segment, infinite line meets", {0, 3, 1, 3}, 0, 0, 5, true, 4, 3, -4, 3},
        {"touching", {-10, 5, 10, 5}, 0, 0, 5, true, 0, 5, 0, 5},
        {"0.5 % outside", {-10, 5.025, 10, 5.025}, 0, 0, 5, true, nm, 5.025, -nm, 5.025},
        {"20 % outside misses after eleven tries", {-10, 6, 10, 6}, 0, 0, 5, false, 0, 0, 0, 0},
        {"zero radius", {-10, 0, 10, 0}, 0, 0, 0, false, 0, 0, 0, 0},
        {"negative radius", {-10, 0, 10, 0}, 0, 0, -5, false, 0, 0, 0, 0},
        {"line of no length", {1, 1, 1, 1}, 0, 0, 5, false, 0, 0, 0, 0},
        {"NaN centre", {-10, 0, 10, 0}, kNaN, 0, 5, false, 0, 0, 0, 0},
        {"overflowing", {-1e300, 0, 1e300, 1e300}, 0, 0, 5, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Out4 o;
        const Boolean r =
            IntersectLineCircle(c.l[0], c.l[1], c.l[2], c.l[3], c.cx, c.cy, c.r, o.a, o.b, o.c, o.d);
        o.Expect(r, c.found, c.xa, c.ya, c.xb, c.yb, 1e-4, c.name);
    }
}

TEST(GeometryKernel, IntersectCirclesOrderRetriesAndMisses) {
    struct Case {
        const char* name;
        double c1[3], c2[3];
        bool found;
        double xa, ya, xb, yb;
    };
    const Case cases[] = {
        {"equal radii: first left of centre 1 to centre 2", {0, 0, 5}, {8, 0, 5}, true, 4, 3, 4, -3},
        {"equal radii, other order", {8, 0, 5}, {0, 0, 5}, true, 4, -3, 4, 3},
        {"smaller first", {0, 0, 3}, {5, 0, 4}, true, 1.8, 2.4, 1.8, -2.4},
        {"larger first gives the same pair", {5, 0, 4}, {0, 0, 3}, true, 1.8, 2.4, 1.8, -2.4},
        {"touching outside: second attempt", {0, 0, 3}, {5, 0, 2}, true, 3, 0, 3, 0},
        {"touching inside", {0, 0, 5}, {2, 0, 3}, true, 5, 0, 5, 0},
        {"apart", {0, 0, 1}, {5, 0, 1}, false, 0, 0, 0, 0},
        {"one inside the other", {0, 0, 10}, {1, 0, 2}, false, 0, 0, 0, 0},
        {"concentric", {0, 0, 5}, {0, 0, 5}, false, 0, 0, 0, 0},
        {"zero radius", {0, 0, 0}, {0, 0, 5}, false, 0, 0, 0, 0},
        {"NaN radius", {0, 0, kNaN}, {3, 0, 5}, false, 0, 0, 0, 0},
        {"overflowing distance", {-1e300, 0, 1e300}, {1e300, 0, 1e300}, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Out4 o;
        const Boolean r =
            IntersectCircles(c.c1[0], c.c1[1], c.c1[2], c.c2[0], c.c2[1], c.c2[2], o.a, o.b, o.c, o.d);
        o.Expect(r, c.found, c.xa, c.ya, c.xb, c.yb, 1e-2, c.name);
    }
}

TEST(GeometryKernel, CircleArrayFormForwardsItsCircle) {
    const double circle[4] = {99, 0, 0, 5};
    Out4 o;
    ASSERT_TRUE(IntersectLineWithCircleArray(-10, 0, 10, 0, circle, o.a, o.b, o.c, o.d));
    EXPECT_DOUBLE_EQ(o.a, 5);
    EXPECT_DOUBLE_EQ(o.c, -5);
    EXPECT_FALSE(IntersectLineWithCircleArray(-10, 0, 10, 0, nullptr, o.a, o.b, o.c, o.d));
}

TEST(GeometryKernel, FeetPerpendicularsAndParallels) {
    const GeoLine diag{0, 0, 10, 10};
    double x = kUntouched, y = kUntouched;
    ASSERT_TRUE(PerpendicularFoot(0, 0, 10, 10, 0, 10, x, y));
    EXPECT_NEAR(x, 5, 1e-12);
    EXPECT_NEAR(y, 5, 1e-12);
    ASSERT_TRUE(PerpendicularFoot(0, 0, 10, 0, 3, 0, x, y)); // a point on the line is its own foot
    EXPECT_NEAR(x, 3, 1e-12);
    EXPECT_NEAR(y, 0, 1e-12);

    Out4 o;
    ASSERT_TRUE(PerpendicularFromPoint(diag, 0, 10, o.a, o.b, o.c, o.d));
    EXPECT_DOUBLE_EQ(o.a, 0);
    EXPECT_DOUBLE_EQ(o.b, 10);
    EXPECT_NEAR(o.c, 5, 1e-12);
    EXPECT_NEAR(o.d, 5, 1e-12);

    ASSERT_TRUE(ParallelLineThroughPoint(diag, 0, 4, o.a, o.b, o.c, o.d));
    EXPECT_NEAR(o.a, -2, 1e-12);
    EXPECT_NEAR(o.b, 2, 1e-12);
    EXPECT_NEAR(o.c, 8, 1e-12);
    EXPECT_NEAR(o.d, 12, 1e-12);

    // The side point chooses the side; the distance is kept whatever side.
    const GeoLine axis{0, 0, 10, 0};
    for (const double side : {1.0, -1.0}) {
        ASSERT_TRUE(ParallelLineAtDistance(axis, 3, 5, 100 * side, o.a, o.b, o.c, o.d));
        EXPECT_EQ(o.a, 0);
        EXPECT_NEAR(o.b, 3 * side, 1e-12);
        EXPECT_EQ(o.c, 10);
        EXPECT_NEAR(o.d, 3 * side, 1e-12);
    }

    ASSERT_TRUE(PolarLine(1, 2, 90, 5, o.a, o.b, o.c, o.d));
    EXPECT_NEAR(o.c, 1, 1e-12);
    EXPECT_NEAR(o.d, 7, 1e-12);

    // A line of no length, a side point on the line and NaN give nothing.
    const GeoLine dot{2, 2, 2, 2};
    Out4 none;
    EXPECT_FALSE(PerpendicularFoot(2, 2, 2, 2, 0, 0, none.a, none.b));
    EXPECT_FALSE(PerpendicularFromPoint(dot, 0, 0, none.a, none.b, none.c, none.d));
    EXPECT_FALSE(ParallelLineThroughPoint(dot, 0, 0, none.a, none.b, none.c, none.d));
    EXPECT_FALSE(ParallelLineAtDistance(dot, 3, 0, 0, none.a, none.b, none.c, none.d));
    EXPECT_FALSE(ParallelLineAtDistance(axis, 3, 5, 0, none.a, none.b, none.c, none.d));
    EXPECT_FALSE(PolarLine(0, 0, kNaN, 5, none.a, none.b, none.c, none.d));
    EXPECT_TRUE(none.Untouched());
}

TEST(GeometryKernel, TangentFromPointChoosesByPickPoint) {
    const GeoCircle c{0, 0, 5};
    const double ty = std::sqrt(75.0) / 2; // touching points (2.5, +-4.33) seen from (10, 0)
    struct Case {
        double pickX, pickY, px, py;
        bool found;
        SInt16 message;
        double ex, ey;
    };
    const Case cases[] = {
        {0, 10, 10, 0, true, 0, 2.5, ty}, {0, -10, 10, 0, true, 0, 2.5, -ty},
        {20, 0, 10, 0, true, 0, 2.5, ty}, // tie: the first (left of the centre-to-point direction)
        {0, 0, 3, 0, false, 2, 0, 0},     // inside
        {0, 0, 5.004, 0, false, 2, 0, 0}, // within 1.001 r counts as inside
        {0, 10, 5.01, 0, true, 0, 0, 0},  // just outside: a touching point near (5, 0)
        {0, 0, kNaN, 0, false, 0, 0, 0},  // refused without a message
    };
    for (const Case& k : cases) {
        MessageCapture messages;
        Out4 o;
        const Boolean r = TangentPointToCircle(k.pickX, k.pickY, k.px, k.py, c, o.a, o.b, o.c, o.d);
        EXPECT_EQ(r != 0, k.found) << k.px;
        EXPECT_EQ(messages.Last(), k.message) << k.px;
        if (!k.found) {
            EXPECT_TRUE(o.Untouched());
            continue;
        }
        EXPECT_EQ(o.a, k.px);
        EXPECT_EQ(o.b, k.py);
        EXPECT_NEAR(std::hypot(o.c, o.d), 5, 1e-9);
        if (k.ex != 0 || k.ey != 0) {
            EXPECT_NEAR(o.c, k.ex, 1e-9);
            EXPECT_NEAR(o.d, k.ey, 1e-9);
        }
    }
}

TEST(GeometryKernel, CommonTangentChosenByPickPoints) {
    const GeoCircle a{0, 0, 2}, b{20, 0, 3};
    const double al = std::asin(1.0 / 20), g = std::asin(5.0 / 20);
    struct Case {
        const char* name;
        double p1x, p1y, p2x, p2y;
        double ax, ay, bx, by;
    };
    const Case cases[] = {
        {"both picks above: outer 1", 0, 5, 20, 5, -2 * std::sin(al), 2 * std::cos(al), 20 - 3 * std::sin(al),
         3 * std::cos(al)},
        {"both below: outer 2", 0, -5, 20, -5, -2 * std::sin(al), -2 * std::cos(al), 20 - 3 * std::sin(al),
         -3 * std::cos(al)},
        {"above, then below: crossing", 0, 5, 20, -5, 2 * std::sin(g), 2 * std::cos(g), 20 - 3 * std::sin(g),
         -3 * std::cos(g)},
        {"below, then above: the other crossing", 0, -5, 20, 5, 2 * std::sin(g), -2 * std::cos(g),
         20 - 3 * std::sin(g), 3 * std::cos(g)},
    };
    for (const Case& c : cases) {
        Out4 o;
        ASSERT_TRUE(TangentLineToTwoCircles(a, b, c.p1x, c.p1y, c.p2x, c.p2y, o.a, o.b, o.c, o.d)) << c.name;
        EXPECT_NEAR(o.a, c.ax, 1e-9) << c.name;
        EXPECT_NEAR(o.b, c.ay, 1e-9) << c.name;
        EXPECT_NEAR(o.c, c.bx, 1e-9) << c.name;
        EXPECT_NEAR(o.d, c.by, 1e-9) << c.name;
        // Given in the other order, the circle with the smaller x still comes first.
        Out4 swapped;
        ASSERT_TRUE(TangentLineToTwoCircles(b, a, c.p2x, c.p2y, c.p1x, c.p1y, swapped.a, swapped.b, swapped.c,
                                            swapped.d));
        EXPECT_EQ(swapped.a, o.a);
        EXPECT_EQ(swapped.d, o.d);
    }
}

TEST(GeometryKernel, CommonTangentNeverPicksOneThatDoesNotExist) {
    // Overlapping circles have no crossing tangents. Pick points far off once made those win.
    const GeoCircle a{0, 0, 5}, b{6, 0, 5};
    for (const double far : {10.0, 50000.0, 1e12}) {
        Out4 o;
        ASSERT_TRUE(TangentLineToTwoCircles(a, b, 0, far, 6, -far, o.a, o.b, o.c, o.d)) << far;
        EXPECT_NEAR(std::hypot(o.a - 0, o.b), 5, 1e-9) << far;
        EXPECT_NEAR(std::hypot(o.c - 6, o.d), 5, 1e-9) << far;
        EXPECT_NEAR(std::fabs(o.b), 5, 1e-9) << far; // an outer tangent: y = +-5
        EXPECT_NEAR(o.b, o.d, 1e-9) << far;
    }
}

TEST(GeometryKernel, CommonTangentOfNestedAndNearlyTouchingCircles) {
    MessageCapture messages;
    Out4 o;
    EXPECT_FALSE(
        TangentLineToTwoCircles(GeoCircle{0, 0, 10}, GeoCircle{1, 0, 2}, 0, 0, 0, 0, o.a, o.b, o.c, o.d));
    EXPECT_EQ(messages.Last(), 19);
    EXPECT_FALSE(
        TangentLineToTwoCircles(GeoCircle{0, 0, 5}, GeoCircle{0, 0, 5}, 0, 0, 0, 0, o.a, o.b, o.c, o.d));
    EXPECT_TRUE(o.Untouched());

    // Touching inside within rounding: the ratio for the outer tangents passes 1.
    messages.Clear();
    ASSERT_TRUE(TangentLineToTwoCircles(GeoCircle{0, 0, 10}, GeoCircle{5, 0, 4.9999999}, 10, 1, 10, 1, o.a,
                                        o.b, o.c, o.d));
    EXPECT_EQ(messages.Last(), 0);
    EXPECT_NEAR(o.a, 10, 1e-6);
    EXPECT_NEAR(o.b, 0, 1e-3);
    EXPECT_NEAR(o.c, 10, 1e-6);
    EXPECT_NEAR(o.d, 0, 1e-3);
}

TEST(GeometryKernel, TangentLineAtAngleReducesTheAngleAndTakesTheNearerSide) {
    const GeoCircle c{0, 0, 5};
    const double s = std::sqrt(3.0) / 2;
    struct Case {
        double angle, pickX, pickY;
        double sx, sy;
    };
    const Case cases[] = {
        {30, -10, 10, -2.5, 5 * s},  // touching at 120 degrees
        {30, 10, -10, 2.5, -5 * s},  // at -60 degrees
        {210, -10, 10, -2.5, 5 * s}, // 210 is the line of 30
        {-150, 10, -10, 2.5, -5 * s},
        {30, 0, 0, -2.5, 5 * s}, // tie: angle + 90
        {30 + 360.0 * 1e9, -10, 10, -2.5, 5 * s},
    };
    for (const Case& k : cases) {
        Out4 o;
        ASSERT_TRUE(TangentLineAtAngleEnds(c, k.angle, 10, k.pickX, k.pickY, o.a, o.b, o.c, o.d)) << k.angle;
        EXPECT_NEAR(o.a, k.sx, 1e-6) << k.angle;
        EXPECT_NEAR(o.b, k.sy, 1e-6) << k.angle;
        EXPECT_NEAR(o.c, k.sx + 10 * s, 1e-6) << k.angle;
        EXPECT_NEAR(o.d, k.sy + 5, 1e-6) << k.angle;
    }
    Out4 o;
    EXPECT_FALSE(TangentLineAtAngleEnds(c, INFINITY, 10, 0, 0, o.a, o.b, o.c, o.d));
    EXPECT_FALSE(TangentLineAtAngleEnds(GeoCircle{0, 0, 0}, 30, 10, 0, 0, o.a, o.b, o.c, o.d));
    EXPECT_TRUE(o.Untouched());
}

TEST(GeometryKernel, CircleThroughThreePoints) {
    struct Case {
        double p[6];
        bool found;
        double cx, cy, r;
    };
    const Case cases[] = {
        {{0, 0, 10, 0, 0, 10}, true, 5, 5, std::sqrt(50.0)},
        {{1, 1, 4, 5, 8, 2}, true, 4.5, 1.5, std::sqrt(12.5)},
        {{1000, 1000, 1010, 1000, 1000, 1010}, true, 1005, 1005, std::sqrt(50.0)},
        {{0, 0, 1, 0, 2, 0.0002}, true, 0.5, 5000, 5000},
        {{0, 0, 1, 0, 2, 0.00005}, false, 0, 0, 0}, // determinant 0.00005: collinear
        {{0, 0, 5, 5, 10, 10}, false, 0, 0, 0},
        {{3, 3, 3, 3, 3, 3}, false, 0, 0, 0},
    };
    for (const Case& k : cases) {
        MessageCapture messages;
        double cx = kUntouched, cy = kUntouched, r = kUntouched;
        const Boolean ok =
            CircleThroughThreePoints(k.p[0], k.p[1], k.p[2], k.p[3], k.p[4], k.p[5], cx, cy, r);
        EXPECT_EQ(ok != 0, k.found) << k.p[5];
        if (k.found) {
            EXPECT_NEAR(cx, k.cx, 1e-3 * std::max(1.0, k.r));
            EXPECT_NEAR(cy, k.cy, 1e-3 * std::max(1.0, k.r));
            EXPECT_NEAR(r, k.r, 1e-3 * std::max(1.0, k.r));
            EXPECT_EQ(messages.Last(), 0);
        } else {
            EXPECT_EQ(messages.Last(), 5);
            EXPECT_EQ(r, kUntouched);
        }
    }
}

TEST(GeometryKernel, CircleTangentToThreeLinesGivesOnlyCirclesThatTouch) {
    const GeoLine xAxis{0, 0, 10, 0}, yAxis{0, 0, 0, 10}, hyp{10, 0, 0, 10};
    const double in = (20 - std::sqrt(200.0)) / 2;
    // Wherever the pick, the in-circle: the mirrored second candidate touches only two lines.
    for (const auto& pick : std::vector<std::pair<double, double>>{{3, 3}, {-3, 3}, {3, -3}, {50, 50}}) {
        double cx = kUntouched, cy = kUntouched, r = kUntouched;
        for (const auto& order :
             {std::vector<GeoLine>{xAxis, yAxis, hyp}, std::vector<GeoLine>{hyp, xAxis, yAxis},
              std::vector<GeoLine>{yAxis, hyp, xAxis}}) {
            ASSERT_TRUE(
                CircleTangentToThreeLines(order[0], order[1], order[2], cx, cy, r, pick.first, pick.second));
            EXPECT_NEAR(r, in, 1e-9);
            EXPECT_NEAR(cx, in, 1e-9);
            EXPECT_NEAR(cy, in, 1e-9);
            for (const GeoLine& l : order)
                EXPECT_NEAR(DistToLine(l, cx, cy), r, 1e-9);
        }
    }
}

TEST(GeometryKernel, CircleTangentToThreeLinesDegenerateAndParallelCases) {
    struct Case {
        const char* name;
        GeoLine l1, l2, l3;
        double pickX, pickY;
        bool found;
        double cx, cy, r;
    };
    const double c60 = 0.5, s60 = std::sqrt(3.0) / 2;
    const Case cases[] = {
        {"through one point", {0, 0, 10, 0}, {0, 0, c60, s60}, {0, 0, -c60, s60}, 1, 1, false, 0, 0, 0},
        {"concurrent off the origin", {5, 5, 15, 5}, {5, 5, 6, 6}, {5, 5, 5, 9}, 1, 1, false, 0, 0, 0},
        {"parallel pair, pick left", {0, 0, 10, 0}, {0, 10, 10, 10}, {5, 0, 5, 10}, 1, 5, true, 0, 5, 5},
        {"parallel pair, pick right", {0, 0, 10, 0}, {0, 10, 10, 10}, {5, 0, 5, 10}, 9, 5, true, 10, 5, 5},
        {"parallel pair given apart", {5, 0, 5, 10}, {0, 0, 10, 0}, {0, 10, 10, 10}, 9, 5, true, 10, 5, 5},
        {"parallel pair, tie: second", {0, 0, 10, 0}, {0, 10, 10, 10}, {5, 0, 5, 10}, 5, 5, true, 10, 5, 5},
        {"all three parallel", {0, 0, 10, 0}, {0, 10, 10, 10}, {0, 20, 10, 20}, 1, 1, false, 0, 0, 0},
        {"two of them coincide", {0, 0, 10, 0}, {20, 0, 30, 0}, {5, 0, 5, 10}, 1, 1, false, 0, 0, 0},
        {"a line of no length", {0, 0, 10, 0}, {3, 3, 3, 3}, {5, 0, 5, 10}, 1, 1, false, 0, 0, 0},
        {"NaN", {0, 0, kNaN, 0}, {0, 0, 0, 10}, {10, 0, 0, 10}, 1, 1, false, 0, 0, 0},
    };
    for (const Case& k : cases) {
        double cx = kUntouched, cy = kUntouched, r = kUntouched;
        const Boolean ok = CircleTangentToThreeLines(k.l1, k.l2, k.l3, cx, cy, r, k.pickX, k.pickY);
        EXPECT_EQ(ok != 0, k.found) << k.name;
        if (k.found) {
            EXPECT_NEAR(cx, k.cx, 1e-9) << k.name;
            EXPECT_NEAR(cy, k.cy, 1e-9) << k.name;
            EXPECT_NEAR(r, k.r, 1e-9) << k.name;
        } else {
            EXPECT_EQ(cx, kUntouched) << k.name;
            EXPECT_EQ(r, kUntouched) << k.name;
        }
    }
}

TEST(GeometryKernel, CircleBetweenParallelLinesWritesOnlyOnSuccess) {
    double cx = kUntouched, cy = kUntouched, r = kUntouched;
    // Coincident "parallels" hold no circle.
    EXPECT_FALSE(CircleBetweenParallelLines({0, 0, 10, 0}, {20, 0, 30, 0}, {5, 0, 5, 10}, cx, cy, r, 1, 1));
    EXPECT_FALSE(CircleBetweenParallelLines({0, 0, 10, 0}, {0, 4, 10, 4}, {7, 7, 7, 7}, cx, cy, r, 1, 1));
    EXPECT_EQ(cx, kUntouched);
    EXPECT_EQ(cy, kUntouched);
    EXPECT_EQ(r, kUntouched);
    // Measured between the feet of the origin, so lines far from it work too.
    ASSERT_TRUE(CircleBetweenParallelLines({1000, 1000, 1010, 1010}, {1000, 1004, 1010, 1014},
                                           {1000, 0, 1000, 10}, cx, cy, r, 1000, 1000));
    EXPECT_NEAR(r, std::sqrt(8.0) / 2, 1e-9);
    EXPECT_NEAR(std::fabs(cx - 1000), r, 1e-9);
}

TEST(GeometryKernel, CircleOfRadiusInTheCornerOfTwoLines) {
    const GeoLine xAxis{0, 0, 10, 0}, yAxis{0, 0, 0, 10};
    struct Case {
        double p1x, p1y, p2x, p2y, cx, cy;
    };
    const Case cases[] = {
        {5, 0, 0, 5, 2, 2},
        {-5, 0, 0, 5, -2, 2},
        {5, 0, 0, -5, 2, -2},
        {-5, 0, 0, -5, -2, -2},
        // Picks so far off that every score overflows: still a circle that touches both lines.
        {1e200, 0, 0, 1e200, 0, 0},
    };
    for (const Case& k : cases) {
        double cx = kUntouched, cy = kUntouched;
        ASSERT_TRUE(TangentCircleCentreToTwoLines(xAxis, k.p1x, k.p1y, yAxis, k.p2x, k.p2y, 2, cx, cy));
        if (k.cx != 0) {
            EXPECT_NEAR(cx, k.cx, 1e-9);
            EXPECT_NEAR(cy, k.cy, 1e-9);
        }
        EXPECT_NEAR(std::fabs(cx), 2, 1e-9);
        EXPECT_NEAR(std::fabs(cy), 2, 1e-9);
    }
    double cx = kUntouched, cy = kUntouched;
    EXPECT_FALSE(TangentCircleCentreToTwoLines(xAxis, 0, 0, {0, 5, 10, 5}, 0, 0, 2, cx, cy)); // parallel
    EXPECT_FALSE(TangentCircleCentreToTwoLines(xAxis, 0, 0, yAxis, 0, 0, 0, cx, cy));
    EXPECT_FALSE(TangentCircleCentreToTwoLines(xAxis, 0, 0, yAxis, 0, 0, kNaN, cx, cy));
    EXPECT_EQ(cx, kUntouched);
}

TEST(GeometryKernel, CircleOfRadiusTouchingLineAndCircle) {
    const GeoLine xAxis{-20, 0, 20, 0};
    const GeoCircle circle{0, 6, 3};
    struct Case {
        const char* name;
        double r, plx, ply, pcx, pcy;
        bool found;
        double cx, cy;
    };
    const Case cases[] = {
        {"outside both, right", 2, 3, 0, 2, 5, true, 3, 2},
        {"outside both, left", 2, -3, 0, -2, 5, true, -3, 2},
        // The new circle encloses the given one: found only with the offset |r1 - r|.
        {"enclosing", 6, 3, 0, -3, 6, true, 3, 6},
        {"too small to reach", 0.5, 3, 0, 2, 5, false, 0, 0},
        {"zero radius", 0, 3, 0, 2, 5, false, 0, 0},
    };
    for (const Case& k : cases) {
        double cx = kUntouched, cy = kUntouched;
        const Boolean ok =
            TangentCircleCentreToLineAndCircle(xAxis, k.plx, k.ply, circle, k.pcx, k.pcy, k.r, cx, cy);
        EXPECT_EQ(ok != 0, k.found) << k.name;
        if (k.found) {
            EXPECT_NEAR(cx, k.cx, 1e-6) << k.name;
            EXPECT_NEAR(cy, k.cy, 1e-6) << k.name;
        } else {
            EXPECT_EQ(cx, kUntouched) << k.name;
        }
    }
}

TEST(GeometryKernel, CircleOfRadiusTouchingTwoCircles) {
    const GeoCircle c1{0, 0, 2}, c2{6, 0, 1};
    const double y = std::sqrt(9 - 0.5625);
    struct Case {
        const char* name;
        double r, p1x, p1y, p2x, p2y;
        double cx, cy;
    };
    const Case cases[] = {
        // Distance 3 from c1 (enclosing it) and 6 from c2 (outside it): needs |r1 - r|.
        {"encloses the first, outside the second", 5, -0.5, -1.9365, 5.125, 0.4841, 0.75, y},
        {"the same below", 5, -0.5, 1.9365, 5.125, -0.4841, 0.75, -y},
    };
    for (const Case& k : cases) {
        double cx = kUntouched, cy = kUntouched;
        ASSERT_TRUE(TangentCircleCentreToTwoCircleElements(c1, k.p1x, k.p1y, c2, k.p2x, k.p2y, k.r, cx, cy))
            << k.name;
        EXPECT_NEAR(cx, k.cx, 1e-4) << k.name;
        EXPECT_NEAR(cy, k.cy, 1e-4) << k.name;
    }
    // Two circles 10 apart, radius 4: the two outside circles, chosen by the picks.
    const GeoCircle a{0, 0, 2}, b{10, 0, 2};
    for (const double side : {1.0, -1.0}) {
        double cx = kUntouched, cy = kUntouched;
        ASSERT_TRUE(TangentCircleCentreToTwoCircleElements(a, 1, side, b, 9, side, 4, cx, cy));
        EXPECT_NEAR(cx, 5, 1e-9);
        EXPECT_NEAR(cy, side * std::sqrt(11.0), 1e-9);
    }
    double cx = kUntouched, cy = kUntouched;
    EXPECT_FALSE(TangentCircleCentreToTwoCircleElements(a, 0, 0, GeoCircle{100, 0, 2}, 0, 0, 1, cx, cy));
    EXPECT_FALSE(TangentCircleCentreToTwoCircleElements(a, 0, 0, b, 0, 0, -1, cx, cy));
    EXPECT_EQ(cx, kUntouched);
}

TEST(GeometryKernel, CircleOfRadiusThroughPointTouchingLine) {
    const GeoLine xAxis{-20, 0, 20, 0};
    struct Case {
        double pickX, pickY, px, py, r;
        bool found;
        SInt16 message;
        double cx, cy;
    };
    const Case cases[] = {
        {3, 5, 0, 2, 5, true, 0, 4, 5},    // the nearer of two centres
        {-3, 5, 0, 2, 5, true, 0, -4, 5},  // the other one
        {3, -5, 0, -2, 5, true, 0, 4, -5}, // the point below: the circles below
        {0, 0, 3, 0, 5, false, 21, 0, 0},  // the point on the line
        {0, 0, 0, 20, 5, false, 8, 0, 0},  // too far for the radius
        {0, 0, 0, 2, 0, false, 0, 0, 0},   // zero radius: refused silently
    };
    for (const Case& k : cases) {
        MessageCapture messages;
        double cx = kUntouched, cy = kUntouched;
        const Boolean ok = TangentCircleCentreToLine(xAxis, k.pickX, k.pickY, k.px, k.py, k.r, cx, cy);
        EXPECT_EQ(ok != 0, k.found) << k.px << "," << k.py;
        EXPECT_EQ(messages.Last(), k.message) << k.px << "," << k.py;
        if (k.found) {
            EXPECT_NEAR(cx, k.cx, 1e-9);
            EXPECT_NEAR(cy, k.cy, 1e-9);
        } else {
            EXPECT_EQ(cx, kUntouched);
        }
    }
}

TEST(GeometryKernel, CircleOfRadiusThroughPointTouchingCircle) {
    const double y7 = std::sqrt(64 - 7.7857142857142856 * 7.7857142857142856);
    struct Case {
        const char* name;
        GeoCircle c;
        double pickX, pickY, px, py, r;
        bool found;
        SInt16 message;
        double cx, cy;
    };
    const Case cases[] = {
        {"outside, pick above", {0, 0, 5}, 7, 3, 8, 0, 2, true, 0, 6.8125, std::sqrt(49 - 6.8125 * 6.8125)},
        {"outside, pick below", {0, 0, 5}, 7, -3, 8, 0, 2, true, 0, 6.8125, -std::sqrt(49 - 6.8125 * 6.8125)},
        // r > rc: an enclosing circle competes; the touching points on the given circle decide.
        {"enclosing wins", {0, 0, 2}, 0, 3, 5, 0, 4, true, 0, 1.3, -std::sqrt(4 - 1.69)},
        {"outer wins", {0, 0, 2}, 3, 0, 5, 0, 4, true, 0, 4.5, -std::sqrt(36 - 20.25)},
        {"point inside", {0, 0, 10}, 7, 3, 7, 0, 2, true, 0, 7.7857142857142856, y7},
        {"inside, radius too large", {0, 0, 10}, 0, 0, 7, 0, 12, false, 27, 0, 0},
        {"outside, out of reach", {0, 0, 5}, 0, 0, 20, 0, 2, false, 8, 0, 0},
        {"zero radius circle", {0, 0, 0}, 0, 0, 20, 0, 2, false, 0, 0, 0},
    };
    for (const Case& k : cases) {
        MessageCapture messages;
        double cx = kUntouched, cy = kUntouched;
        const Boolean ok = TangentCircleCentreToCircle(k.c, k.pickX, k.pickY, k.px, k.py, k.r, cx, cy);
        EXPECT_EQ(ok != 0, k.found) << k.name;
        EXPECT_EQ(messages.Last(), k.message) << k.name;
        if (k.found) {
            EXPECT_NEAR(cx, k.cx, 1e-6) << k.name;
            EXPECT_NEAR(cy, k.cy, 1e-6) << k.name;
            EXPECT_NEAR(std::hypot(cx - k.px, cy - k.py), k.r, 1e-6) << k.name;
        } else {
            EXPECT_EQ(cx, kUntouched) << k.name;
        }
    }
}

TEST(GeometryKernel, EnclosingCircleOfTwoCirclesTakesTheFartherCrossing) {
    const GeoCircle a{0, 0, 1}, b{6, 0, 1};
    const double y = std::sqrt(7.0);
    struct Case {
        double r, pickX, pickY;
        bool found;
        double cx, cy;
    };
    const Case cases[] = {
        {5, 3, 10, true, 3, -y},  // the farther crossing
        {5, 3, -10, true, 3, y},  // the other one
        {5, 3, 0, true, 3, -y},   // tie: the second crossing
        {0.5, 3, 0, false, 0, 0}, // smaller than the circles
        {1, 3, 0, false, 0, 0},   // as large as they are
    };
    for (const Case& k : cases) {
        double cx = kUntouched, cy = kUntouched;
        EXPECT_EQ(TangentCircleCentreToTwoCircles(a, b, k.r, cx, cy, k.pickX, k.pickY) != 0, k.found) << k.r;
        if (k.found) {
            EXPECT_NEAR(cx, k.cx, 1e-9);
            EXPECT_NEAR(cy, k.cy, 1e-9);
        } else {
            EXPECT_EQ(cx, kUntouched);
        }
    }
}

// Imported files can carry anything: no construction may report success with a non-finite result,
// write its outputs on failure, or hang.
TEST(GeometryKernel, DegenerateInputNeverYieldsNaN) {
    const double bad[] = {kNaN, INFINITY, -INFINITY, 1e300, -1e300, 1e308};
    for (const double v : bad) {
        const GeoLine line{0, 0, v, 1}, fine{0, 0, 10, 0};
        const GeoCircle circle{v, 0, 5}, unit{0, 0, 1}, huge{0, 0, v};
        std::vector<std::pair<std::string, std::function<Boolean(double*)>>> calls = {
            {"lines", [&](double* o) { return IntersectLines(0, 0, v, v, 0, 1, 1, 0, o[0], o[1]); }},
            {"line circle",
             [&](double* o) { return IntersectLineCircle(0, 0, 1, v, 0, 0, 5, o[0], o[1], o[2], o[3]); }},
            {"circles",
             [&](double* o) { return IntersectCircles(0, 0, v, 3, 0, 5, o[0], o[1], o[2], o[3]); }},
            {"foot", [&](double* o) { return PerpendicularFoot(0, 0, 1, 1, v, 0, o[0], o[1]); }},
            {"parallel",
             [&](double* o) { return ParallelLineThroughPoint(line, 1, 1, o[0], o[1], o[2], o[3]); }},
            {"at distance",
             [&](double* o) { return ParallelLineAtDistance(fine, v, 1, 1, o[0], o[1], o[2], o[3]); }},
            {"tangent",
             [&](double* o) { return TangentPointToCircle(0, 0, 20, 0, circle, o[0], o[1], o[2], o[3]); }},
            {"common tangent",
             [&](double* o) {
                 return TangentLineToTwoCircles(unit, huge, 0, 0, 0, 0, o[0], o[1], o[2], o[3]);
             }},
            {"three points",
             [&](double* o) { return CircleThroughThreePoints(0, 0, v, 0, 0, v, o[0], o[1], o[2]); }},
            {"three lines",
             [&](double* o) {
                 return CircleTangentToThreeLines(fine, line, {0, 5, 10, 6}, o[0], o[1], o[2], 0, 0);
             }},
            {"two lines",
             [&](double* o) { return TangentCircleCentreToTwoLines(fine, 0, 0, line, 0, 0, 1, o[0], o[1]); }},
            {"line and circle",
             [&](double* o) {
                 return TangentCircleCentreToLineAndCircle(fine, 0, 0, huge, 0, 0, 1, o[0], o[1]);
             }},
            {"two circles",
             [&](double* o) {
                 return TangentCircleCentreToTwoCircleElements(unit, 0, 0, huge, 0, 0, 1, o[0], o[1]);
             }},
            {"point and line",
             [&](double* o) { return TangentCircleCentreToLine(fine, 0, 0, 1, v, 2, o[0], o[1]); }},
            {"point and circle",
             [&](double* o) { return TangentCircleCentreToCircle(unit, 0, 0, v, 0, 2, o[0], o[1]); }},
            {"enclosing",
             [&](double* o) { return TangentCircleCentreToTwoCircles(unit, huge, 3, o[0], o[1], 0, 0); }},
        };
        for (auto& [name, call] : calls) {
            MessageCapture quiet;
            double out[4] = {kUntouched, kUntouched, kUntouched, kUntouched};
            if (call(out)) {
                for (double o : out)
                    EXPECT_TRUE(std::isfinite(o)) << name << " with " << v;
            } else {
                for (double o : out)
                    EXPECT_EQ(o, kUntouched) << name << " with " << v;
            }
        }
    }
}

// The element forms read a line's end points and an arc's centre and radius, never its angles.
TEST(GeometryKernel, ElementFormsReadTheRecordsAndRefuseMissingOnes) {
    LineRecord xAxis{}, yAxis{};
    xAxis.x2 = 10;
    yAxis.y2 = 10;
    ArcRecord arc{};
    arc.cx = 20;
    arc.radius = 5;
    arc.startAngle = 10; // a short arc far from the crossings below: still its whole circle
    arc.endAngle = 20;
    double x = kUntouched, y = kUntouched;
    Out4 o;
    ASSERT_TRUE(IntersectLineElements(&xAxis, &yAxis, x, y));
    EXPECT_EQ(x, 0);
    ASSERT_TRUE(IntersectLineWithCircleElement(&xAxis, &arc, o.a, o.b, o.c, o.d));
    EXPECT_NEAR(o.a, 25, 1e-12);
    EXPECT_NEAR(o.c, 15, 1e-12);
    ArcRecord other = arc;
    other.cx = 28;
    ASSERT_TRUE(IntersectCircleElements(&arc, &other, o.a, o.b, o.c, o.d));
    EXPECT_NEAR(o.a, 24, 1e-12);
    EXPECT_NEAR(o.b, 3, 1e-12);
    ASSERT_TRUE(TangentCircleCentreToTwoLines(&xAxis, 5, 0, &yAxis, 0, 5, 2, x, y));
    EXPECT_NEAR(x, 2, 1e-12);

    Out4 none;
    EXPECT_FALSE(IntersectLineElements(&xAxis, nullptr, none.a, none.b));
    EXPECT_FALSE(IntersectLineWithCircleElement(nullptr, &arc, none.a, none.b, none.c, none.d));
    EXPECT_FALSE(IntersectCircleElements(&arc, nullptr, none.a, none.b, none.c, none.d));
    EXPECT_FALSE(TangentPointToCircle(0, 0, 0, 0, static_cast<const ArcRecord*>(nullptr), none.a, none.b,
                                      none.c, none.d));
    EXPECT_FALSE(CircleTangentToThreeLines(&xAxis, &yAxis, nullptr, none.a, none.b, none.c, 0, 0));
    EXPECT_TRUE(none.Untouched());
}
