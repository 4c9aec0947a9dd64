// The line tools end to end: the program's own loop takes queued clicks at window points, typed text
// and keys, the tool menu and the snap keys, and the tests check the lines made, Escape in the middle
// of a tool, and undo and redo through the Edit menu.
#include "ToolGuiFixture.h"

#include <cmath>

namespace {

using LineToolsGui = ToolGuiTest;

TEST_F(LineToolsGui, TwoPointsByClicksTypedCoordinatesAndAFormula) {
    ChooseTool(0);
    ClickAt(10, 10);
    ClickAt(60, 40);
    ASSERT_EQ(Lines(), 1);
    ExpectLast(10, 10, 60, 40);

    Type("10,20"); // absolute
    Type("@30,0"); // relative to the first point
    ExpectLast(10, 20, 40, 20);

    Type("2*5+1,sqrt(100)");
    Type("@0,2^3");
    ExpectLast(11, 10, 11, 18);

    // Polar input: radius and angle from the first point.
    doc->settings->coordinateDisplayMode = 1;
    ClickAt(20, 20);
    Type("@10,90");
    ExpectLast(20, 20, 20, 30);
    EXPECT_EQ(Lines(), 4);
}

TEST_F(LineToolsGui, EscapeInTheMiddleStartsTheToolAgain) {
    ChooseTool(0);
    ClickAt(10, 10);
    ASSERT_EQ(Step(), 1);
    Key(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_EQ(Step(), 0);
    ClickAt(30, 30);
    ClickAt(50, 30);
    ASSERT_EQ(Lines(), 1);
    ExpectLast(30, 30, 50, 30); // nothing of the abandoned start point
}

TEST_F(LineToolsGui, UndoAndRedoOneLineAtATime) {
    ChooseTool(0);
    ClickAt(0, 0);
    ClickAt(10, 0);
    ClickAt(0, 10);
    ClickAt(10, 10);
    ASSERT_EQ(Lines(), 2);
    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 1));
    RunLoop();
    ASSERT_EQ(Lines(), 1);
    EXPECT_EQ(doc->lineHead->next->y1, 0); // the second line went, the first stayed
    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 2));
    RunLoop();
    EXPECT_EQ(Lines(), 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(ChooseMenuItem(kEditMenu, 1));
        RunLoop();
    }
    EXPECT_EQ(Lines(), 0);
}

TEST_F(LineToolsGui, SnapToTheIntersectionOfTwoLines) {
    Draw(0, 0, 100, 100);
    Draw(0, 60, 100, 40);
    Draw(20, 80, 80, 80);
    ChooseTool(0);
    Key(kKeyCodeF6, kFunctionKeyCharCode); // snap to intersections
    ASSERT_EQ(doc->settings->snapMode, 1);
    ClickAt(10, 10);
    ClickAt(90, 42);
    ASSERT_EQ(Step(), 1);
    ClickAt(30, 80);
    ClickAt(80, 80); // the first line meets the third at (80, 80)
    ASSERT_EQ(Lines(), 4);
    ExpectLast(50, 50, 80, 80);
}

TEST_F(LineToolsGui, EveryConstructionTool) {
    Draw(0, 0, 100, 0);
    Draw(0, 40, 100, 40);
    DrawCircle(150, 20, 10);
    DrawCircle(200, 20, 10);

    ChooseTool(1); // parallel at a typed distance on the clicked side
    ClickAt(50, 0.5);
    Type("5");
    ExpectLast(0, 5, 100, 5);

    ChooseTool(2); // three lines between the two parallels
    ClickAt(50, 0);
    ClickAt(50, 40);
    Type("3");
    ExpectLast(0, 30, 100, 30);
    EXPECT_EQ(Lines(), 6);

    ChooseTool(3); // polar
    ClickAt(0, 60);
    Type("0,25");
    ExpectLast(0, 60, 25, 60);

    ChooseTool(4); // at an angle to a line
    ClickAt(50, 0);
    ClickAt(20, 2);
    Type("90,10");
    ExpectLast(20, 0, 20, 10);

    ChooseTool(5); // perpendicular
    ClickAt(80, 40);
    ClickAt(70, 50);
    ExpectLast(70, 40, 70, 50);

    ChooseTool(6); // tangent from a point
    ClickAt(150, 30);
    ClickAt(170, 20);
    ExpectLast(155, 20 + 10 * std::sin(M_PI / 3), 170, 20);

    ChooseTool(7); // tangent to two circles
    ClickAt(150, 10);
    ClickAt(200, 10);
    ExpectLast(150, 10, 200, 10);

    ChooseTool(8); // tangent at an angle with a length
    ClickAt(200, 30);
    Type("0,20");
    ExpectLast(200, 30, 220, 30);

    ChooseTool(9); // tangent perpendicular to a line, down to the line
    ClickAt(50, 0);
    ClickAt(160, 20);
    ExpectLast(160, 0, 160, 20);

    ChooseTool(10); // tangent at a typed angle to a line
    ClickAt(50, 0);
    ClickAt(190, 20);
    Type("90");
    ExpectLast(190, 0, 190, 20);

    const int before = Lines();
    ChooseTool(11); // end marks: the dialog's business, nothing made here
    ClickAt(50, 0);
    EXPECT_EQ(Lines(), before);
    EXPECT_EQ(Step(), 0);

    SaveWindowPNG(doc->window, "line-tools.png");
}

} // namespace
