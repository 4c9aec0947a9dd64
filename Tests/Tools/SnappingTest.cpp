// Snapping: grid rounding with its ties, turned grids, typed coordinates with relative offsets by scale
// and unit, intersections of two picks, element points and the fixed point.
#include "Tools/Snapping.h"
#include "ToolFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class SnappingTest : public ToolTest {
  protected:
    void SetUp() override {
        ToolTest::SetUp();
        SelectTool(0);
        doc->settings->gridVisible = 1;
        doc->settings->gridX = doc->settings->gridY = 10;
        doc->settings->gridAngleX = 0;
        doc->settings->gridAngleY = 90;
    }
    bool SnapAt(double x, double y) {
        PointAt(x, y);
        CommandFieldOf(doc)->valueCount = 0;
        return SnapCursor(doc);
    }
    // Typed values as Return leaves them for the step.
    bool SnapTyped(const std::string& text) {
        CommandFieldSetText(doc, PStr(text));
        CommitCommandField(doc);
        return SnapCursor(doc);
    }
    void SetReference(double x, double y) {
        ToolStateRecord* t = doc->drawing->tool;
        t->referenceValid = true;
        t->referenceX = x, t->referenceY = y;
    }
    double X() const { return doc->drawing->toolInput.cursorX; }
    double Y() const { return doc->drawing->toolInput.cursorY; }
};

TEST_F(SnappingTest, GridRoundsTheAbsoluteValueAndTiesGoAwayFromZero) {
    struct Case {
        double in, spacing, out;
    };
    const Case cases[] = {
        {14.9, 10, 10}, {-15.1, 10, -20}, {15, 10, 20},       {-15, 10, -20}, {25, 10, 30},
        {-25, 10, -30}, {0.15, 0.1, 0.2}, {-0.05, 0.1, -0.1}, {4.99, 10, 0},  {7, 0, 7},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(RoundToGridMultiple(c.in, c.spacing), c.out, 1e-12) << c.in << " on " << c.spacing;

    ASSERT_TRUE(SnapAt(14.9, -15.1));
    EXPECT_DOUBLE_EQ(X(), 10);
    EXPECT_DOUBLE_EQ(Y(), -20);
    // Spacings are in display units: a drawing scale of 2 doubles them.
    doc->settings->drawingScale = 2;
    ASSERT_TRUE(SnapAt(29, 31));
    EXPECT_DOUBLE_EQ(X(), 20);
    EXPECT_DOUBLE_EQ(Y(), 40);
    // With the grid hidden the point stays as clicked.
    doc->settings->gridVisible = 0;
    ASSERT_TRUE(SnapAt(14.9, -15.1));
    EXPECT_DOUBLE_EQ(X(), 14.9);
}

TEST_F(SnappingTest, TurnedGridSnapsToTheCrossingOfTheNearestLines) {
    doc->settings->gridAngleX = 30;
    doc->settings->gridAngleY = 120;
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    // The grid point 2 along the first family's normal and 1 along the second's, nudged.
    const double u = 10, v = 20; // coordinates in the turned frame
    const double gx = u * c - v * s, gy = u * s + v * c;
    ASSERT_TRUE(SnapAt(gx + 3, gy - 2));
    EXPECT_NEAR(X(), gx, 1e-9);
    EXPECT_NEAR(Y(), gy, 1e-9);
}

TEST_F(SnappingTest, TypedCoordinatesAndTheirReferencePoint) {
    doc->settings->gridVisible = 0;
    struct Case {
        const char* text;
        double scale;
        double relativeSetting;
        SInt16 mode;
        double x, y;
    };
    // The reference point is (5, 5) in millimetres and is never scaled; typed values are.
    const Case cases[] = {
        {"10,20", 1, 0, 0, 10, 20},
        {"10,20", 1, 1, 0, 15, 25},  // typed coordinates relative
        {"@10,20", 1, 1, 0, 15, 25}, // relative twice over still adds the point once
        {"@10,20", 2, 0, 0, 25, 45}, // scaled first, then offset
        {"10,@20", 2, 0, 0, 20, 45}, // only y relative
        {"10,90", 1, 0, 1, 0, 10},   // polar: radius, angle
        {"10,90", 1, 1, 1, 0, 10},
        {"@10,90", 2, 0, 3, 5, 25}, // polar relative: the resulting point is offset
    };
    for (const Case& c : cases) {
        doc->settings->drawingScale = c.scale;
        doc->settings->typedCoordsRelative = c.relativeSetting;
        doc->settings->coordinateDisplayMode = c.mode;
        SetReference(5, 5);
        ASSERT_TRUE(SnapTyped(c.text)) << c.text;
        EXPECT_NEAR(X(), c.x, 1e-9) << c.text << " mode " << c.mode;
        EXPECT_NEAR(Y(), c.y, 1e-9) << c.text << " mode " << c.mode;
        EXPECT_FALSE(CommandFieldHasText(doc)) << "the prompt is shown again, the field emptied";
    }
    // The first point snapped after a reset becomes the reference point; later ones leave it.
    ResetToolState(doc, 0);
    EXPECT_FALSE(doc->drawing->tool->referenceValid);
    doc->settings->drawingScale = 1;
    doc->settings->typedCoordsRelative = 0;
    doc->settings->coordinateDisplayMode = 0;
    ASSERT_TRUE(SnapAt(3, 4));
    ASSERT_TRUE(SnapTyped("@1,1"));
    EXPECT_DOUBLE_EQ(X(), 4);
    EXPECT_DOUBLE_EQ(Y(), 5);
    ASSERT_TRUE(SnapTyped("@1,1"));
    EXPECT_DOUBLE_EQ(X(), 4);
}

TEST_F(SnappingTest, IntersectionOfTwoPicksIsFoundAfterTheSelectionIsCleared) {
    doc->settings->snapMode = kSnapIntersection;
    LineRecord* a = DrawnLine(0, 0, 100, 100);
    DrawnLine(0, 60, 100, 40);
    EXPECT_FALSE(SnapAt(10, 10)); // the first pick gives no point yet
    EXPECT_TRUE(a->selected);
    ASSERT_TRUE(SnapAt(90, 42));
    EXPECT_NEAR(X(), 50, 1e-9);
    EXPECT_NEAR(Y(), 50, 1e-9);
    EXPECT_FALSE(a->selected);
    EXPECT_FALSE(doc->drawing->tool->isectFirstPicked);

    // A line and a circle: the crossing nearer the click on the circle.
    DrawnArc(200, 0, 10);
    DrawnLine(150, 0, 250, 0);
    EXPECT_FALSE(SnapAt(160, 0));
    ASSERT_TRUE(SnapAt(192, 6));
    EXPECT_NEAR(X(), 190, 1e-9);
    EXPECT_NEAR(Y(), 0, 1e-9);

    // The same circle twice: its centre.
    EXPECT_FALSE(SnapAt(200, 10));
    ASSERT_TRUE(SnapAt(200, -10));
    EXPECT_NEAR(X(), 200, 1e-9);
    EXPECT_NEAR(Y(), 0, 1e-9);
}

TEST_F(SnappingTest, IntersectionOfElementsOfDifferentScalesIsRefused) {
    doc->settings->snapMode = kSnapIntersection;
    DrawnLine(0, 0, 100, 100)->scaleFactor = 1;
    DrawnLine(0, 60, 100, 40)->scaleFactor = 2;
    MessageCapture messages;
    EXPECT_FALSE(SnapAt(10, 10));
    EXPECT_FALSE(SnapAt(90, 42));
    EXPECT_EQ(messages.Last(), 49);
    // The next click starts a new pair.
    EXPECT_FALSE(doc->drawing->tool->isectFirstPicked);
}

TEST_F(SnappingTest, ElementPointsByThirds) {
    doc->settings->snapMode = kSnapElementPoint;
    DrawnLine(0, 0, 100, 0);
    ASSERT_TRUE(SnapAt(40, 0));
    EXPECT_DOUBLE_EQ(X(), 50);
    ASSERT_TRUE(SnapAt(20, 0));
    EXPECT_DOUBLE_EQ(X(), 0);
    ASSERT_TRUE(SnapAt(80, 0));
    EXPECT_DOUBLE_EQ(X(), 100);
    DrawnArc(0, 300, 10, 0, 90);
    ASSERT_TRUE(SnapAt(7.071, 307.071)); // the middle third: the mid-arc point
    EXPECT_NEAR(X(), 7.0710678, 1e-6);
    ASSERT_TRUE(SnapAt(9.96, 300.87)); // near the start
    EXPECT_NEAR(X(), 10, 1e-9);
    DrawnArc(0, 500, 10);
    ASSERT_TRUE(SnapAt(10, 500)); // a full circle gives its centre
    EXPECT_NEAR(X(), 0, 1e-9);
    EXPECT_FALSE(SnapAt(500, 500));
}

TEST_F(SnappingTest, FixedPointOnlyWhenTheLiveSnapSetOne) {
    doc->settings->snapMode = kSnapFixedPoint;
    EXPECT_FALSE(SnapAt(1, 1));
    ToolStateRecord* t = doc->drawing->tool;
    t->fixedPointPresent = true;
    t->fixedX = 7, t->fixedY = 8;
    ASSERT_TRUE(SnapAt(1, 1));
    EXPECT_DOUBLE_EQ(X(), 7);
    EXPECT_DOUBLE_EQ(Y(), 8);
    EXPECT_FALSE(t->fixedPointPresent);
}

} // namespace
