// Math primitives: the range and tie conventions callers compare against, and reductions of huge or
// odd inputs that must return at once.
#include "Other/MathPrimitives.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

TEST(MathPrimitives, TruncateTowardZeroWorksOnWholeDoubles) {
    struct Case {
        double x, expected;
    } cases[] = {{2.7, 2},       {-2.7, -2},
                 {3.0, 3},       {0.5, 0},
                 {-0.5, 0},      {0.51, 0},
                 {-0.99, 0},     {1.0, 1},
                 {-1.0, -1},     {2.5, 2},
                 {-2.5, -2},     {3e9, 3e9},
                 {-3e9, -3e9},   {2147483648.9, 2147483648.0},
                 {1e300, 1e300}, {4503599627370497.0, 4503599627370497.0}};
    for (const Case& c : cases)
        EXPECT_EQ(TruncateTowardZero(c.x), c.expected) << c.x;
    EXPECT_FALSE(std::signbit(TruncateTowardZero(-0.7)));
    EXPECT_EQ(TruncateTowardZero(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(TruncateTowardZero(-INFINITY), -INFINITY);
}

TEST(MathPrimitives, AngleRangesAndTheirBoundaries) {
    struct Case {
        double in, normalized, wrapped;
    } cases[] = {{360, 0, 360},    {-10, 350, 350},      {0, 0, 0},    {720, 0, 360},
                 {725, 5, 5},      {-360, 0, 0},         {-720, 0, 0}, {359.5, 359.5, 359.5},
                 {-370, 350, 350}, {1080.25, 0.25, 0.25}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(NormalizeAngle(c.in), c.normalized) << c.in;
        EXPECT_DOUBLE_EQ(WrapAngle(c.in), c.wrapped) << c.in;
    }
    // A remainder that rounds up to 360 stays inside [0, 360).
    EXPECT_LT(NormalizeAngle(-1e-20), 360.0);
    EXPECT_FALSE(std::signbit(NormalizeAngle(-720)));
}

TEST(MathPrimitives, HugeAndNonFiniteInputsReturnAtOnce) {
    for (double v : {1e20, -1e20, 1e300, -1e300, 1.7e308}) {
        double n = NormalizeAngle(v);
        EXPECT_GE(n, 0.0) << v;
        EXPECT_LT(n, 360.0) << v;
        double w = WrapAngle(v);
        EXPECT_GE(w, 0.0) << v;
        EXPECT_LE(w, 360.0) << v;
        double m = ModuloReal(v, 7.5);
        EXPECT_GE(m, 0.0) << v;
        EXPECT_LT(m, 7.5) << v;
    }
    EXPECT_DOUBLE_EQ(NormalizeAngle(1e20), std::fmod(1e20, 360.0));
    EXPECT_TRUE(std::isnan(NormalizeAngle(INFINITY)));
    EXPECT_TRUE(std::isnan(WrapAngle(-INFINITY)));
}

TEST(MathPrimitives, Moduli) {
    EXPECT_EQ(ModuloShort(-1, 10), 9);
    EXPECT_EQ(ModuloShort(10, 10), 0);
    EXPECT_EQ(ModuloShort(-32768, 7), 6);
    EXPECT_EQ(ModuloShort(32767, 10), 7);
    EXPECT_EQ(ModuloShort(5, 0), 0);
    EXPECT_EQ(ModuloShort(5, -3), 0);
    EXPECT_DOUBLE_EQ(ModuloReal(-0.5, 2.0), 1.5);
    EXPECT_DOUBLE_EQ(ModuloReal(4.0, 2.0), 0.0);
    EXPECT_EQ(ModuloReal(3.0, 0.0), 0.0);
    EXPECT_EQ(ModuloReal(3.0, -2.0), 0.0);
    EXPECT_LT(ModuloReal(-1e-20, 1.0), 1.0);
}

TEST(MathPrimitives, DirectionsAndRotations) {
    EXPECT_DOUBLE_EQ(Atan2Positive(0, 1), 0.0);
    EXPECT_DOUBLE_EQ(Atan2Positive(-1, 0), 1.5 * M_PI);
    EXPECT_DOUBLE_EQ(DirectionDegrees(1, 1, 1, 0), 270.0);
    EXPECT_DOUBLE_EQ(DirectionDegrees(0, 0, -1, 0), 180.0);

    double x = 1, y = 0;
    RotateVectorInPlace(&x, &y, 1.0, 0.0);
    EXPECT_DOUBLE_EQ(x, 0.0);
    EXPECT_DOUBLE_EQ(y, 1.0);
    double ox, oy;
    RotateVector(2, 1, std::sin(M_PI), std::cos(M_PI), &ox, &oy);
    EXPECT_NEAR(ox, -2, 1e-15);
    EXPECT_NEAR(oy, -1, 1e-15);
    PolarPoint(1, 2, 2, 90, &ox, &oy);
    EXPECT_NEAR(ox, 1, 1e-15);
    EXPECT_DOUBLE_EQ(oy, 4);
    EXPECT_DOUBLE_EQ(PointDistance(0, 0, 3, 4), 5);
    EXPECT_DOUBLE_EQ(VectorLength(-3, 4), 5);
}

TEST(MathPrimitives, TiesThresholdsAndRoots) {
    double x, y;
    NearerPoint(1, 0, -1, 0, 0, 0, &x, &y);
    EXPECT_EQ(x, -1); // a tie gives the second point
    NearerPoint(1, 0, -2, 0, 0, 0, &x, &y);
    EXPECT_EQ(x, 1);
    NearerPoint(3, 0, -2, 0, 0, 0, &x, &y);
    EXPECT_EQ(x, -2);

    EXPECT_EQ(SignWithDeadZone(0.1), 0);
    EXPECT_EQ(SignWithDeadZone(0.11), 1);
    EXPECT_EQ(SignWithDeadZone(-0.11), -1);
    EXPECT_EQ(AtLeastEpsilon(0), 1e-15);
    EXPECT_EQ(AtLeastEpsilon(2e-15), 2e-15);

    EXPECT_EQ(NearlyEqualRelative(0, 0), 0);
    EXPECT_EQ(NearlyEqualRelative(-1, -1), 0);
    EXPECT_EQ(NearlyEqualRelative(1, 0.9999), 0);
    EXPECT_EQ(NearlyEqualRelative(1, 1.00009), 1);
    EXPECT_EQ(NearlyEqualRelative(1, 1.0001), 0);

    double r1 = 0, r2 = 0;
    EXPECT_EQ(SolveMonicQuadratic(1, 2, &r1, &r2), 0);
    EXPECT_EQ(SolveMonicQuadratic(-2, 4, &r1, &r2), 1); // p^2 = q: a double root
    EXPECT_EQ(r1, 2);
    EXPECT_EQ(r2, 2);
    EXPECT_EQ(SolveMonicQuadratic(0, -9, &r1, &r2), 1);
    EXPECT_EQ(r1, 3);
    EXPECT_EQ(r2, -3);

    SInt16 a = 1, b = 2;
    SwapShorts(&a, &b);
    EXPECT_EQ(a * 10 + b, 21);
    double d1 = 1.5, d2 = -2;
    SwapDoubles(&d1, &d2);
    EXPECT_EQ(d1, -2);
    EXPECT_EQ(d2, 1.5);
}
