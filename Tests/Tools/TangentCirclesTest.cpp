// The circles touching three elements where arcs take part: each result is checked by its tangency
// (distance from the centre to each line equals r; to each circle's centre r + R or |r - R|), and
// the pick points choose among the circles that fit.
#include "Tools/TangentCircles.h"

#include "Model/ElementRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

LineRecord Line(double x1, double y1, double x2, double y2) {
    LineRecord l{};
    l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
    return l;
}

ArcRecord Arc(double cx, double cy, double r) {
    ArcRecord a{};
    a.cx = cx, a.cy = cy, a.radius = r, a.endAngle = 360;
    return a;
}

struct Circle {
    double cx, cy, r;
};

double LineDistance(const LineRecord& l, double x, double y) {
    double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
    return std::fabs((x - l.x1) * dy - (y - l.y1) * dx) / std::hypot(dx, dy);
}

::testing::AssertionResult Touches(const Circle& c, const LineRecord& l, double tol) {
    double d = LineDistance(l, c.cx, c.cy);
    if (std::fabs(d - c.r) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "line at " << d << " from the centre, r " << c.r;
}

::testing::AssertionResult Touches(const Circle& c, const ArcRecord& a, double tol) {
    double d = std::hypot(c.cx - a.cx, c.cy - a.cy);
    if (std::fabs(d - (c.r + a.radius)) <= tol || std::fabs(d - std::fabs(c.r - a.radius)) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "arc centre at " << d << ", r " << c.r << ", R " << a.radius;
}

struct Pick {
    double x, y;
};

TEST(TangentCircles, TwoLinesAndAnArc) {
    struct Case {
        const char* what;
        LineRecord l1, l2;
        ArcRecord arc;
        Pick p1, p2, p3;
        double tol;
        double cx, cy; // NaN: only the tangency is checked
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double rho = (50 * std::sqrt(2.0) - 10) / (std::sqrt(2.0) + 1);
    const double tiny = 100 * std::tan(0.00001 * M_PI / 180);
    const Case cases[] = {
        {"corner, circle outside the arc",
         Line(0, 0, 100, 0),
         Line(0, 0, 0, 100),
         Arc(50, 50, 10),
         {30, 1},
         {1, 30},
         {43, 43},
         1e-9,
         rho,
         rho},
        {"same corner, the picks name the other root",
         Line(0, 0, 100, 0),
         Line(0, 0, 0, 100),
         Arc(50, 50, 10),
         {90, 1},
         {1, 90},
         {57, 57},
         1e-9,
         nan,
         nan},
        {"corner away from the origin, lines given backwards",
         Line(120, 20, 20, 20),
         Line(20, 130, 20, 20),
         Arc(80, 70, 15),
         {60, 21},
         {21, 60},
         {70, 60},
         1e-9,
         nan,
         nan},
        {"acute corner",
         Line(0, 0, 100, 0),
         Line(0, 0, 100, 30),
         Arc(80, 10, 4),
         {60, 0},
         {60, 18},
         {76, 10},
         1e-9,
         nan,
         nan},
        {"parallel lines",
         Line(0, 0, 100, 0),
         Line(0, 20, 100, 20),
         Arc(50, 25, 10),
         {70, 0},
         {70, 20},
         {60, 20},
         1e-9,
         50 + std::sqrt(400.0 - 225),
         10},
        {"lines of opposite direction",
         Line(0, 0, 100, 0),
         Line(100, 20, 0, 20),
         Arc(50, 25, 10),
         {70, 0},
         {70, 20},
         {60, 20},
         1e-9,
         50 + std::sqrt(400.0 - 225),
         10},
        {"nearly opposite lines",
         Line(0, 0, 100, 0),
         Line(100, 20, 0, 20 + tiny),
         Arc(50, 25, 10),
         {30, 0},
         {30, 20},
         {40, 20},
         1e-4,
         50 - std::sqrt(400.0 - 225),
         10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Circle k{nan, nan, nan};
        ASSERT_TRUE(CircleTangentLinesArc(&c.l1, &c.l2, &c.arc, k.cx, k.cy, k.r, c.p1.x, c.p1.y, c.p2.x,
                                          c.p2.y, c.p3.x, c.p3.y));
        EXPECT_GT(k.r, 0);
        EXPECT_TRUE(Touches(k, c.l1, c.tol));
        EXPECT_TRUE(Touches(k, c.l2, c.tol));
        EXPECT_TRUE(Touches(k, c.arc, c.tol));
        if (!std::isnan(c.cx)) {
            EXPECT_NEAR(k.cx, c.cx, c.tol);
            EXPECT_NEAR(k.cy, c.cy, c.tol);
        }
    }
}

// Picks on the arc's far side choose the circle of the corner that holds the arc.
TEST(TangentCircles, PicksChooseBetweenTheCirclesOfACorner) {
    LineRecord l1 = Line(0, 0, 100, 0), l2 = Line(0, 0, 0, 100);
    ArcRecord arc = Arc(50, 50, 10);
    double nx, ny, nr, fx, fy, fr;
    ASSERT_TRUE(CircleTangentLinesArc(&l1, &l2, &arc, nx, ny, nr, 30, 1, 1, 30, 43, 43));
    ASSERT_TRUE(CircleTangentLinesArc(&l1, &l2, &arc, fx, fy, fr, 90, 1, 1, 90, 57, 57));
    EXPECT_NEAR(nr, (50 * std::sqrt(2.0) - 10) / (std::sqrt(2.0) + 1), 1e-9);
    EXPECT_NEAR(fr, (50 * std::sqrt(2.0) + 10) / (std::sqrt(2.0) + 1), 1e-9);
    EXPECT_NEAR(fx, fr, 1e-9); // still in the corner
    EXPECT_NEAR(fy, fr, 1e-9);
}

TEST(TangentCircles, DegenerateInputGivesNoCircle) {
    const double nan = std::numeric_limits<double>::quiet_NaN(),
                 inf = std::numeric_limits<double>::infinity();
    LineRecord x = Line(0, 0, 100, 0), y = Line(0, 0, 0, 100), dot = Line(5, 5, 5, 5),
               bad = Line(0, 0, nan, 3);
    ArcRecord arc = Arc(50, 50, 10), flat = Arc(50, 50, 0), huge = Arc(inf, 0, 10);
    double cx = 7, cy = 7, r = 7;
    EXPECT_FALSE(CircleTangentLinesArc(&x, &y, &arc, cx, cy, r, 0, 0, 1, 30, 43, 43)); // pick on the corner
    EXPECT_FALSE(CircleTangentLinesArc(&x, &dot, &arc, cx, cy, r, 30, 0, 5, 5, 43, 43));
    EXPECT_FALSE(CircleTangentLinesArc(&x, &bad, &arc, cx, cy, r, 30, 0, 5, 5, 43, 43));
    EXPECT_FALSE(CircleTangentLinesArc(&x, &y, &flat, cx, cy, r, 30, 0, 0, 30, 43, 43));
    EXPECT_FALSE(CircleTangentLinesArc(&x, &y, &huge, cx, cy, r, 30, 0, 0, 30, 43, 43));
    EXPECT_FALSE(CircleTangentLinesArc(&x, &x, &arc, cx, cy, r, 30, 0, 60, 0, 43, 43)); // one line twice
    EXPECT_FALSE(CircleTangentLineArcs(&arc, &arc, &dot, 40, 50, 60, 50, 5, 5, cx, cy, r));
    EXPECT_FALSE(CircleTangentLineArcs(&arc, &huge, &x, 40, 50, 60, 50, 5, 0, cx, cy, r));
    EXPECT_FALSE(CircleTangentThreeArcs(&arc, &arc, &arc, cx, cy, r, 0, 0)); // coincident circles
    ArcRecord inner = Arc(50, 50, 5), outer = Arc(50, 50, 20);
    EXPECT_FALSE(CircleTangentThreeArcs(&inner, &arc, &outer, cx, cy, r, 0, 0)); // concentric
    EXPECT_FALSE(CircleTangentThreeArcs(&arc, &huge, &inner, cx, cy, r, 0, 0));
    EXPECT_EQ(cx, 7); // nothing written on failure
    EXPECT_EQ(r, 7);
}

TEST(TangentCircles, ALineAndTwoArcs) {
    struct Case {
        const char* what;
        ArcRecord a, b;
        LineRecord line;
        Pick pa, pb, pl;
        double cx, cy, r; // NaN: only the tangency is checked
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        // Equal arcs at equal height: the leading term vanishes and one root is left.
        {"equal arcs, equal height",
         Arc(30, 20, 10),
         Arc(70, 20, 10),
         Line(0, 0, 100, 0),
         {35, 12},
         {65, 12},
         {50, 0},
         50,
         700.0 / 60,
         700.0 / 60},
        {"the same below the line",
         Arc(30, -20, 10),
         Arc(70, -20, 10),
         Line(0, 0, 100, 0),
         {35, -12},
         {65, -12},
         {50, 0},
         50,
         -700.0 / 60,
         700.0 / 60},
        {"the same with the line given backwards",
         Arc(30, 20, 10),
         Arc(70, 20, 10),
         Line(100, 0, 0, 0),
         {35, 12},
         {65, 12},
         {50, 0},
         50,
         700.0 / 60,
         700.0 / 60},
        {"unequal arcs",
         Arc(30, 20, 10),
         Arc(80, 30, 5),
         Line(0, 0, 100, 0),
         {38, 14},
         {76, 27},
         {55, 0},
         nan,
         nan,
         nan},
        {"slanted line",
         Arc(10, 40, 8),
         Arc(60, 70, 12),
         Line(0, 0, 100, 50),
         {16, 36},
         {56, 60},
         {40, 20},
         nan,
         nan,
         nan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Circle k{nan, nan, nan};
        ASSERT_TRUE(CircleTangentLineArcs(&c.a, &c.b, &c.line, c.pa.x, c.pa.y, c.pb.x, c.pb.y, c.pl.x, c.pl.y,
                                          k.cx, k.cy, k.r));
        EXPECT_GT(k.r, 0);
        EXPECT_TRUE(Touches(k, c.line, 1e-7));
        EXPECT_TRUE(Touches(k, c.a, 1e-7));
        EXPECT_TRUE(Touches(k, c.b, 1e-7));
        if (!std::isnan(c.cx)) {
            EXPECT_NEAR(k.cx, c.cx, 1e-9);
            EXPECT_NEAR(k.cy, c.cy, 1e-9);
            EXPECT_NEAR(k.r, c.r, 1e-9);
        }
    }
}

// Picks on the arcs' far sides take a circle that touches them there, not the one between them.
TEST(TangentCircles, PicksChooseAmongTheLineAndArcCircles) {
    ArcRecord a = Arc(30, 20, 10), b = Arc(70, 20, 10);
    LineRecord line = Line(0, 0, 100, 0);
    Circle k{};
    ASSERT_TRUE(CircleTangentLineArcs(&a, &b, &line, 30, 30.5, 70, 30.5, 50, 0, k.cx, k.cy, k.r));
    EXPECT_TRUE(Touches(k, a, 1e-7));
    EXPECT_TRUE(Touches(k, b, 1e-7));
    EXPECT_TRUE(Touches(k, line, 1e-7));
    EXPECT_GT(k.r, 700.0 / 60 + 1); // holds both arcs
}

TEST(TangentCircles, ThreeArcsByThePointOfReference) {
    const double h = 40 * std::sqrt(3.0) / 2, inner = 40 / std::sqrt(3.0);
    ArcRecord a = Arc(0, 0, 10), b = Arc(40, 0, 10), c = Arc(20, h, 10);
    struct Case {
        const char* what;
        Pick ref;
        double r;
    };
    const Case cases[] = {
        {"near the middle: the circle between the three", {20, h / 3}, inner - 10},
        {"far out: the circle holding the three", {20, 60}, inner + 10},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.what);
        Circle k{};
        ASSERT_TRUE(CircleTangentThreeArcs(&a, &b, &c, k.cx, k.cy, k.r, t.ref.x, t.ref.y));
        EXPECT_NEAR(k.r, t.r, 1e-2);
        EXPECT_NEAR(k.cx, 20, 1e-2);
        EXPECT_NEAR(k.cy, h / 3, 1e-2);
        for (const ArcRecord* e : {&a, &b, &c})
            EXPECT_TRUE(Touches(k, *e, 1e-2 * k.r));
    }
    // Unequal circles: whatever converged touches all three.
    ArcRecord d = Arc(0, 0, 5), e = Arc(50, 5, 12), f = Arc(20, 40, 8);
    for (auto iteration : {OuterTangentCircleIteration, EnclosingTangentCircleIteration}) {
        Circle k{};
        if (!iteration(&d, &e, &f, k.cx, k.cy, k.r)) continue;
        for (const ArcRecord* g : {&d, &e, &f})
            EXPECT_TRUE(Touches(k, *g, 1e-3 * k.r));
    }
}

} // namespace
