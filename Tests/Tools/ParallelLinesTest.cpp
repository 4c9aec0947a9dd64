// Parallel lines: the direction test across 0/360, opposite directions, and the evenly spaced copies.
#include "Tools/ParallelLines.h"
#include "ToolFixture.h"
#include "Model/UndoJournal.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

LineRecord Line(double x1, double y1, double x2, double y2) {
    LineRecord l{};
    l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
    return l;
}

TEST(ParallelLines, DirectionsWithinATenthOfAPercentAcrossZero) {
    const double up = 1000 * std::tan(0.0005 * M_PI / 180), down = -1000 * std::tan(0.0005 * M_PI / 180);
    struct Case {
        LineRecord a, b;
        bool parallel;
    };
    const Case cases[] = {
        {Line(0, 0, 1000, up), Line(0, 5, 1000, 5 + down), true}, // 0.0005 and 359.9995 degrees
        {Line(0, 0, 10, 10), Line(3, 0, 13, 10), true},
        {Line(0, 0, 10, 10), Line(10, 10, 0, 0), false}, // opposite directions
        {Line(0, 0, 10, 0), Line(0, 5, 10, 6), false},
        {Line(0, 0, 0, 10), Line(4, -3, 4, 20), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bool(LinesParallel(&c.a, &c.b)), c.parallel) << c.a.x2 << "," << c.a.y2;
}

TEST(ParallelLines, PerpendicularFootOnTheOtherLine) {
    LineRecord a = Line(0, 0, 10, 0), b = Line(-5, 8, 20, 8);
    double x = -1, y = -1;
    EXPECT_DOUBLE_EQ(IntersectPerpendicularWithLine(&a, &b, &x, &y), 8);
    EXPECT_DOUBLE_EQ(x, 0);
    EXPECT_DOUBLE_EQ(y, 8);
    LineRecord c = Line(0, 3, 0, 9); // runs along the perpendicular: no crossing
    EXPECT_LT(IntersectPerpendicularWithLine(&a, &c, &x, &y), 0);
}

using DivideTest = ToolTest;

TEST_F(DivideTest, CopiesSpacedEvenlyInOneUndoStep) {
    LineRecord* a = DrawnLine(0, 0, 10, 0);
    LineRecord* b = DrawnLine(0, 8, 10, 8);
    DivideBetweenLines(doc, a, b, 3);
    ASSERT_EQ(CountLines(), 5);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_DOUBLE_EQ(LineAt(1 + k)->y1, 2.0 * k);
        EXPECT_DOUBLE_EQ(LineAt(1 + k)->y2, 2.0 * k);
        EXPECT_DOUBLE_EQ(LineAt(1 + k)->x2 - LineAt(1 + k)->x1, 10);
    }
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 2);
    DivideBetweenLines(doc, a, b, 0);
    EXPECT_EQ(CountLines(), 2);
}

} // namespace
