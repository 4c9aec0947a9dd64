// The line tools end to end: the program's own loop takes queued clicks at window points, typed text
// and keys, the tool menu and the snap keys, and the tests check the lines made, Escape in the middle
// of a tool, and undo and redo through the Edit menu.
#include "ToolGuiFixture.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

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

// Each tool on a fresh drawing of two parallels and two circles: the clicks, then the typed text,
// make the lines expected, the last of them as given, and leave the tool at its first step.
TEST_F(LineToolsGui, EveryConstructionTool) {
    struct Click {
        double x, y;
    };
    struct End {
        double x1, y1, x2, y2;
    };
    struct Row {
        int tool;
        const char* what;
        std::vector<Click> clicks;
        const char* typed; // null: nothing typed
        int made;
        std::optional<End> last;
    };
    const double ty = 20 + 10 * std::sin(M_PI / 3);
    const Row rows[] = {
        {1, "parallel at a typed distance on the clicked side", {{50, 0.5}}, "5", 1, End{0, 5, 100, 5}},
        {2, "three lines between the two parallels", {{50, 0}, {50, 40}}, "3", 3, End{0, 30, 100, 30}},
        {3, "polar", {{0, 60}}, "0,25", 1, End{0, 60, 25, 60}},
        {4, "at an angle to a line", {{50, 0}, {20, 2}}, "90,10", 1, End{20, 0, 20, 10}},
        {5, "perpendicular", {{80, 40}, {70, 50}}, nullptr, 1, End{70, 40, 70, 50}},
        {6, "tangent from a point", {{150, 30}, {170, 20}}, nullptr, 1, End{155, ty, 170, 20}},
        {7, "tangent to two circles", {{150, 10}, {200, 10}}, nullptr, 1, End{150, 10, 200, 10}},
        {8, "tangent at an angle with a length", {{200, 30}}, "0,20", 1, End{200, 30, 220, 30}},
        {9, "tangent square to a line, down to it", {{50, 0}, {160, 20}}, nullptr, 1, End{160, 0, 160, 20}},
        {10, "tangent at a typed angle to a line", {{50, 0}, {190, 20}}, "90", 1, End{190, 0, 190, 20}},
        {11, "end marks: the dialog's business, nothing made here", {{50, 0}}, nullptr, 0, std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("tool " + std::to_string(r.tool) + ": " + r.what);
        FreshDocument();
        ASSERT_NE(doc, nullptr);
        Draw(0, 0, 100, 0);
        Draw(0, 40, 100, 40);
        DrawCircle(150, 20, 10);
        DrawCircle(200, 20, 10);
        const int before = Lines();

        ChooseTool(r.tool);
        for (const Click& c : r.clicks) {
            if (r.tool != 11) {
                ClickAt(c.x, c.y);
                continue;
            }
            // The end-mark tool opens its dialog on the line: Escape closes it.
            QueueClick(doc->window, WindowPoint(c.x, c.y));
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
            RunLoop();
        }
        if (r.typed != nullptr) Type(r.typed);

        EXPECT_EQ(Lines(), before + r.made);
        if (r.last) ExpectLast(r.last->x1, r.last->y1, r.last->x2, r.last->y2);
        EXPECT_EQ(Step(), 0);
        SaveWindowPNG(doc->window, "line-tools-" + std::to_string(r.tool) + ".png");
    }
}

} // namespace
