// The twelve line tools driven by clicks and typed values as the dispatcher delivers them: what each
// makes, in one undo step, and where each stops when a construction has no solution.
#include "ToolFixture.h"

#include "Platform/Events.h"
#include "Platform/SimulatedInput.h"
#include "Model/UndoJournal.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class LineToolsTest : public ToolTest {
  protected:
    void ExpectLine(int index, double x1, double y1, double x2, double y2) {
        LineRecord* l = LineAt(index);
        ASSERT_NE(l, nullptr) << "line " << index;
        EXPECT_NEAR(l->x1, x1, 1e-6) << "line " << index;
        EXPECT_NEAR(l->y1, y1, 1e-6) << "line " << index;
        EXPECT_NEAR(l->x2, x2, 1e-6) << "line " << index;
        EXPECT_NEAR(l->y2, y2, 1e-6) << "line " << index;
    }
};

TEST_F(LineToolsTest, TwoPointsClickedOrTypedEachLineOneUndoStep) {
    SelectTool(0);
    Click(0, 0);
    EXPECT_EQ(Step(), 1);
    Click(30, 40);
    EXPECT_EQ(Step(), 0);
    ExpectLine(0, 0, 0, 30, 40);
    Type("10,20");
    Type("@5,0"); // relative to the first point of this line
    ExpectLine(1, 10, 20, 15, 20);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 1);
    RedoStep(doc);
    EXPECT_EQ(CountLines(), 2);

    MessageCapture messages;
    Click(5, 5);
    Click(5, 5);
    EXPECT_EQ(messages.Last(), 4);
    EXPECT_EQ(Step(), 1); // the end point can be given again
    EXPECT_EQ(CountLines(), 2);
}

TEST_F(LineToolsTest, ParallelAtATypedDistanceOrThroughAPoint) {
    DrawnLine(0, 0, 100, 0);
    SelectTool(1);
    Click(50, 0.5); // picks the line; the click says the side
    ASSERT_EQ(Step(), 1);
    Type("-5"); // the sign does not matter
    EXPECT_EQ(Step(), 0);
    ExpectLine(1, 0, 5, 100, 5);

    Click(50, 0.5);
    Click(20, 7); // through the point
    ExpectLine(2, 0, 7, 100, 7);

    // A narrow aperture asks for the side of a clicked distance.
    doc->settings->pickAperture = 4;
    Click(50, 0.3);
    Click(20, 7);
    ASSERT_EQ(Step(), 2);
    EXPECT_DOUBLE_EQ(doc->drawing->tool->rememberedDistance, 7);
    Click(50, -3);
    ExpectLine(3, 0, -7, 100, -7);

    // With the fixed-point snap the parallel passes through the fixed point.
    doc->settings->snapMode = 3;
    Click(50, 0.3);
    ToolStateRecord* t = doc->drawing->tool;
    t->fixedPointPresent = true, t->fixedX = 30, t->fixedY = 9;
    Click(0, 0);
    ExpectLine(4, 0, 9, 100, 9);
    EXPECT_EQ(CountLines(), 5);
}

TEST_F(LineToolsTest, EquidistantLinesBetweenTwoParallels) {
    DrawnLine(0, 0, 100, 0);
    DrawnLine(-20, 40, 150, 40);
    SelectTool(2);
    Click(50, 0);
    Click(50, 40);
    ASSERT_EQ(Step(), 2);
    Type(""); // confirmed without a count: the step waits
    EXPECT_EQ(Step(), 2);
    Type("3");
    EXPECT_EQ(Step(), 0);
    ASSERT_EQ(CountLines(), 5);
    for (int k = 1; k <= 3; ++k)
        ExpectLine(1 + k, 0, 10.0 * k, 100, 10.0 * k); // as long as the first, level with it
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 2);

    DrawnLine(0, 60, 100, 70);
    MessageCapture messages;
    Click(50, 0);
    Click(50, 65);
    EXPECT_EQ(messages.Last(), 143);
    EXPECT_EQ(Step(), 0);

    // A circle in place of the second line: the parallel that touches it on the clicked side.
    DrawnArc(50, 100, 10);
    Click(50, 0);
    Click(50, 90);
    EXPECT_EQ(Step(), 0);
    ExpectLine(CountLines() - 1, 0, 90, 100, 90);
}

TEST_F(LineToolsTest, PolarLineFromAPointAtAnAngle) {
    SelectTool(3);
    Click(10, 10);
    ASSERT_EQ(Step(), 1);
    Type("30,10");
    ExpectLine(0, 10, 10, 10 + 10 * std::cos(M_PI / 6), 10 + 10 * std::sin(M_PI / 6));
    // Construction lines have the length 100 whatever was typed.
    doc->settings->markNewLines = 1;
    Click(0, 0);
    Type("0,7");
    ExpectLine(1, 0, 0, 100, 0);
    // A formula for the angle, the length in a drawing at scale 2.
    doc->settings->markNewLines = 0;
    doc->settings->drawingScale = 2;
    Click(0, 0);
    Type("45*2,5");
    ExpectLine(2, 0, 0, 0, 10);
}

TEST_F(LineToolsTest, LineAtAnAngleToALineFromTheFootOfTheClick) {
    DrawnLine(0, 0, 100, 0);
    SelectTool(4);
    Click(50, 0);
    EXPECT_FALSE(LineAt(0)->selected);
    Click(20, 3);
    ASSERT_EQ(Step(), 2);
    Type("90,10");
    EXPECT_EQ(Step(), 0);
    ExpectLine(1, 20, 0, 20, 10);
}

TEST_F(LineToolsTest, PerpendicularFromAPoint) {
    DrawnLine(0, 0, 100, 0);
    SelectTool(5);
    Click(50, 0);
    Click(30, 20);
    ExpectLine(1, 30, 0, 30, 20);
    MessageCapture messages;
    Click(50, 0);
    Click(60, 0); // on the line: no length
    EXPECT_EQ(messages.Last(), 4);
    EXPECT_EQ(CountLines(), 2);
    EXPECT_EQ(Step(), 0);
}

TEST_F(LineToolsTest, TangentFromAPointLeavesTheCursorOnTheTouchingPoint) {
    DrawnArc(0, 0, 10);
    SelectTool(6);
    Click(0, 10); // the upper side
    Click(20, 0);
    const double ty = 10 * std::sin(M_PI / 3);
    ExpectLine(0, 5, ty, 20, 0);
    EXPECT_NEAR(doc->drawing->toolInput.cursorX, 5, 1e-9);
    EXPECT_NEAR(doc->drawing->toolInput.cursorY, ty, 1e-9);
    MessageCapture messages;
    Click(0, -10);
    Click(2, 1); // inside the circle
    EXPECT_EQ(messages.Last(), 2);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(CountLines(), 1);
}

TEST_F(LineToolsTest, TangentToTwoCircles) {
    DrawnArc(0, 0, 10);
    DrawnArc(50, 0, 10);
    DrawnArc(50, 0, 30);
    SelectTool(7);
    Click(0, 10);
    Click(50, 10);
    ExpectLine(0, 0, 10, 50, 10);
    MessageCapture messages;
    Click(50, -10);
    Click(80, 0); // the big circle holds the small one
    EXPECT_EQ(messages.Last(), 19);
    EXPECT_EQ(CountLines(), 1);
}

TEST_F(LineToolsTest, TangentsAtAnAngle) {
    DrawnArc(0, 0, 10);
    SelectTool(8);
    Click(0, 10);
    Type("0,20");
    ExpectLine(0, 0, 10, 20, 10);

    DrawnLine(-50, -20, 50, -20);
    SelectTool(9); // perpendicular to the line, on the clicked side, down to the line
    Click(0, -20);
    Click(10, 0);
    ExpectLine(2, 10, -20, 10, 0);

    SelectTool(10);
    Click(0, -20);
    Click(-10, 0);
    ASSERT_EQ(Step(), 2);
    Type("90");
    ExpectLine(3, -10, -20, -10, 0);
    EXPECT_EQ(CountLines(), 4);
}

TEST_F(LineToolsTest, LineEndMarksPickWithoutKeepingTheScale) {
    DrawnLine(0, 0, 100, 0)->scaleFactor = 5;
    SelectTool(11);
    // The end-mark dialog opens on the line; Escape closes it.
    SimulateKey(true, kKeyCodeEscape, kEscapeCharCode, 0, false);
    SimulateKey(false, kKeyCodeEscape, kEscapeCharCode, 0, false);
    Click(50, 0);
    EXPECT_EQ(Step(), 0);
    EXPECT_DOUBLE_EQ(doc->drawing->tool->pickedScales[0], -1.0);
}

} // namespace
