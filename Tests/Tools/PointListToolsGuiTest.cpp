// The point-list and polyline tools end to end: points clicked and finished with Return or "1",
// vertices moved, deleted, inserted and typed in, polylines exploded, each one undo step that undo
// and redo take back and give again exactly; too few points make nothing.
#include "../Model/DrawingSnapshot.h"
#include "Model/PolylineGeometry.h"
#include "Model/Polylines.h"
#include "Model/SharedUtilities.h"
#include "MessageCapture.h"
#include "ToolGuiFixture.h"
#include "Tools/PointListTools.h"
#include "Tools/ToolState.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using Points = std::vector<std::pair<double, double>>;

class PointListToolsGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        doc->settings->undoOn = 1;
    }
    void ChoosePointTool(int tool) { ChooseGroupTool(10, tool); }
    // A new drawing with undo on, clicks taken as they are.
    void FreshDrawing() {
        FreshDocument();
        doc->settings->undoOn = 1;
        SnapMode(0);
    }
    int Polylines() const {
        int n = 0;
        for (PolylineRecord* p = doc->polylineHead->next; p != nullptr; p = p->next)
            ++n;
        return n;
    }
    PolylineRecord* FirstPolyline() const { return doc->polylineHead->next; }
    Points PointsOf(const PolylineRecord* p) const {
        Points out;
        const Float64* xy = PolylinePoints(p);
        for (SInt16 i = 0; xy != nullptr && i < p->pointCount; ++i)
            out.emplace_back(xy[2 * i], xy[2 * i + 1]);
        return out;
    }
    // A polyline already there, as if drawn before.
    void DrawPolyline(const Points& points, SInt16 kind = kPolylineSegments) {
        ToolInputState& in = doc->drawing->toolInput;
        EmptyTempPoints(doc);
        for (auto [x, y] : points) {
            in.cursorX = x, in.cursorY = y;
            AppendTempPoint(doc);
        }
        PolylineRecord* made = nullptr;
        BeginUndoStep(doc);
        ASSERT_TRUE(BuildPolylineFromPoints(doc, &made, kind, false, 0, 0));
        EndUndoStep(doc);
        RedrawWindow(doc);
    }
    UInt32 UndoSteps() const { return doc->drawing->undo.undoStepCount; }
    void Escape() { Key(kKeyCodeEscape, kEscapeCharCode); }
    // The change just made is one step: undo gives exactly the drawing before, redo the one after.
    void ExpectOneUndoStep(const DrawingSnapshot& before, UInt32 stepsBefore) {
        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        ASSERT_NE(after, before);
        EXPECT_EQ(UndoSteps(), stepsBefore + 1);
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
};

// Three clicks and Return make an open list of three points, three clicks and "1" a closed one of
// four whose last point is the first; in each of the four point-list tools, as its kind.
TEST_F(PointListToolsGui, ClicksAndReturnOrOneMakeAnOpenOrClosedPolyline) {
    const Points clicks = {{10, 10}, {60, 10}, {60, 50}};
    for (int tool = 0; tool <= 3; ++tool)
        for (bool close : {false, true}) {
            SCOPED_TRACE("tool " + std::to_string(tool) + (close ? " closed" : " open"));
            FreshDrawing();
            ChoosePointTool(tool);
            const DrawingSnapshot before = TakeDrawingSnapshot(doc);
            const UInt32 steps = UndoSteps();
            for (auto [x, y] : clicks)
                ClickAt(x, y);
            EXPECT_EQ(Polylines(), 0);
            if (close)
                Type("1");
            else
                Key(kKeyCodeReturn, '\r');
            ASSERT_EQ(Polylines(), 1);
            Points expected = clicks;
            if (close) expected.push_back(clicks[0]);
            EXPECT_EQ(PointsOf(FirstPolyline()), expected);
            EXPECT_EQ(FirstPolyline()->kind, tool);
            EXPECT_EQ(Step(), 0);
            EXPECT_EQ(TempPointCount(doc), 0);
            ExpectOneUndoStep(before, steps);
        }
}

// Return needs two different points and "1" at least one to close them with: fewer make nothing,
// leave no undo step, and keep the points for the clicks that follow. Points of a run given up with
// Escape are not taken into the next one.
TEST_F(PointListToolsGui, TooFewPointsMakeNothing) {
    struct Case {
        const char* name;
        Points clicks;
        bool close;
    };
    const Case cases[] = {
        {"nothing, Return", {}, false},
        {"nothing, 1", {}, true},
        {"one point, Return", {{20, 20}}, false},
        {"one point, 1", {{20, 20}}, true},
        {"one point twice, Return", {{20, 20}, {20, 20}}, false},
        {"one point twice, 1", {{20, 20}, {20, 20}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDrawing();
        ChoosePointTool(0);
        const UInt32 steps = UndoSteps();
        for (auto [x, y] : c.clicks)
            ClickAt(x, y);
        if (c.close)
            Type("1");
        else
            Key(kKeyCodeReturn, '\r');
        EXPECT_EQ(Polylines(), 0);
        EXPECT_EQ(UndoSteps(), steps);
        EXPECT_EQ(TempPointCount(doc), SInt16(c.clicks.size()));
        // One more point, and the list is long enough.
        ClickAt(70, 30);
        Key(kKeyCodeReturn, '\r');
        Points expected;
        if (!c.clicks.empty()) expected.push_back(c.clicks[0]);
        expected.emplace_back(70, 30);
        if (expected.size() < 2) {
            EXPECT_EQ(Polylines(), 0);
            continue;
        }
        ASSERT_EQ(Polylines(), 1);
        EXPECT_EQ(PointsOf(FirstPolyline()), expected);
    }

    FreshDrawing();
    ChoosePointTool(1);
    ClickAt(5, 5);
    ClickAt(15, 5);
    Escape();
    ClickAt(30, 30);
    ClickAt(40, 30);
    Key(kKeyCodeReturn, '\r');
    ASSERT_EQ(Polylines(), 1);
    EXPECT_EQ(PointsOf(FirstPolyline()), (Points{{30, 30}, {40, 30}}));
}

// Each vertex tool, clicked on a polyline of three points: the vertex moved, deleted, inserted into
// the clicked segment or typed in; one undo step each, exactly undone and redone.
TEST_F(PointListToolsGui, VertexToolsChangeOneVertexInOneUndoStep) {
    struct Case {
        const char* name;
        bool closed;
        int tool;
        Points clicks;
        const char* typed; // for the vertex dialog, or null
        Points expected;
        SInt16 stepAfterFirstClick;
    };
    const Points open = {{20, 20}, {80, 20}, {80, 70}};
    const Points closed = {{20, 20}, {80, 20}, {80, 70}, {20, 70}, {20, 20}};
    const double f = doc->settings->drawingScale * UnitDivisor(doc);
    const Case cases[] = {
        {"move", false, 4, {{80, 20}, {100, 10}}, nullptr, {{20, 20}, {100, 10}, {80, 70}}, 1},
        {"delete", false, 5, {{80, 20}}, nullptr, {{20, 20}, {80, 70}}, 0},
        {"insert",
         false,
         6,
         {{20, 20}, {50, 20}, {50, 5}},
         nullptr,
         {{20, 20}, {50, 5}, {80, 20}, {80, 70}},
         1},
        {"insert at the end",
         false,
         6,
         {{80, 70}, {80, 45}, {95, 45}},
         nullptr,
         {{20, 20}, {80, 20}, {95, 45}, {80, 70}},
         1},
        {"edit", false, 8, {{80, 70}}, "\t\t30\t12.5\r", {{20, 20}, {80, 20}, {30 * f, 12.5 * f}}, 0},
        // A closed polyline stays closed when the corner its two ends share changes.
        {"move the closing corner",
         true,
         4,
         {{20, 20}, {10, 5}},
         nullptr,
         {{10, 5}, {80, 20}, {80, 70}, {20, 70}, {10, 5}},
         1},
        {"delete the closing corner",
         true,
         5,
         {{20, 20}},
         nullptr,
         {{80, 20}, {80, 70}, {20, 70}, {80, 20}},
         0},
        {"edit the closing corner",
         true,
         8,
         {{20, 20}},
         "\t\t3\t4\r",
         {{3 * f, 4 * f}, {80, 20}, {80, 70}, {20, 70}, {3 * f, 4 * f}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDrawing();
        DrawPolyline(c.closed ? closed : open);
        ChoosePointTool(c.tool);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        const UInt32 steps = UndoSteps();
        for (size_t i = 0; i < c.clicks.size(); ++i) {
            // The dialog reads the keys that follow the click.
            QueueClick(doc->window, WindowPoint(c.clicks[i].first, c.clicks[i].second));
            if (c.typed != nullptr) QueueTypedText(c.typed);
            RunLoop();
            if (i == 0) {
                EXPECT_EQ(Step(), c.stepAfterFirstClick);
            }
        }
        EXPECT_EQ(Step(), 0);
        ASSERT_EQ(Polylines(), 1);
        const Points got = PointsOf(FirstPolyline());
        ASSERT_EQ(got.size(), c.expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].first, c.expected[i].first, 1e-9) << i;
            EXPECT_NEAR(got[i].second, c.expected[i].second, 1e-9) << i;
        }
        EXPECT_FALSE(FirstPolyline()->selected);
        ExpectOneUndoStep(before, steps);
    }
}

// Clicks that hit no vertex (or, inserting, no segment of the polyline) change nothing.
TEST_F(PointListToolsGui, VertexToolsIgnoreClicksBesideTheVertices) {
    for (int tool : {4, 5, 6, 8}) {
        SCOPED_TRACE(tool);
        FreshDrawing();
        DrawPolyline({{20, 20}, {80, 20}, {80, 70}});
        ChoosePointTool(tool);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        ClickAt(50, 50);
        EXPECT_EQ(Step(), 0);
        if (tool == 6) {
            ClickAt(20, 20);
            ASSERT_EQ(Step(), 1);
            ClickAt(50, 50); // no segment there: the tool starts again
            EXPECT_EQ(Step(), 0);
        }
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    }
}

// A polyline clicked, or several in a rectangle, and Return: lines in their place, in one step.
TEST_F(PointListToolsGui, ExplodeTurnsPolylinesIntoLines) {
    enum How { kClick, kClickAndAddOne, kRectangle };
    struct Case {
        const char* name;
        How how;
        int polylinesLeft, lines;
    };
    const Case cases[] = {
        {"one clicked", kClick, 1, 2},
        {"one clicked, one added", kClickAndAddOne, 0, 3},
        {"both in a rectangle", kRectangle, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDrawing();
        DrawPolyline({{20, 20}, {80, 20}, {80, 70}});
        DrawPolyline({{120, 20}, {150, 20}});
        ChoosePointTool(7);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        const UInt32 steps = UndoSteps();
        if (c.how == kRectangle)
            DragFrom(10, 10, 160, 80);
        else
            ClickAt(80, 20);
        ASSERT_EQ(Step(), 2);
        if (c.how == kClickAndAddOne) ClickAt(150, 20);
        Key(kKeyCodeReturn, '\r');
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Polylines(), c.polylinesLeft);
        EXPECT_EQ(Lines(), c.lines);
        ExpectOneUndoStep(before, steps);
    }
}

// Tool 9: the elements clicked round a region and Return give one closed polyline in their place, in
// one undo step. Two clicks on one polyline take the run between them (as segment lines the picks
// own); the polyline goes once, however often it was picked, and the segment lines never enter the
// drawing. A circle gives its chords.
TEST_F(PointListToolsGui, BoundaryElementsBecomeOneClosedPolyline) {
    const Points box = {{20, 20}, {100, 20}, {100, 80}, {20, 80}, {20, 20}};
    enum Shape { kFourLines, kRunAndLine, kClosedPolyline };
    struct Case {
        const char* name;
        Shape shape;
        Points clicks;
    };
    const Case cases[] = {
        {"four lines", kFourLines, {{60, 20}, {100, 50}, {60, 80}, {20, 50}}},
        {"four lines, the first clicked again to close",
         kFourLines,
         {{60, 20}, {100, 50}, {60, 80}, {20, 50}, {60, 20}}},
        {"a run of a polyline and a line", kRunAndLine, {{20, 20}, {20, 80}, {20, 50}}},
        {"one closed spline", kClosedPolyline, {{100, 80}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDrawing();
        switch (c.shape) {
        case kFourLines:
            Draw(20, 20, 100, 20), Draw(100, 20, 100, 80), Draw(100, 80, 20, 80), Draw(20, 80, 20, 20);
            break;
        case kRunAndLine:
            DrawPolyline({{20, 20}, {100, 20}, {100, 80}, {20, 80}});
            Draw(20, 80, 20, 20);
            break;
        case kClosedPolyline:
            DrawPolyline(box, kPolylineSpline);
            break;
        }
        ChoosePointTool(9);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        const UInt32 steps = UndoSteps();
        for (auto [x, y] : c.clicks)
            ClickAt(x, y);
        MessageCapture messages;
        Key(kKeyCodeReturn, '\r');
        EXPECT_EQ(messages.Count(), 0u);
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Lines(), 0);
        ASSERT_EQ(Polylines(), 1);
        EXPECT_EQ(FirstPolyline()->kind, kPolylineSegments);
        EXPECT_EQ(PointsOf(FirstPolyline()), box);
        EXPECT_EQ(doc->drawing->tool->pickList, nullptr);
        EXPECT_EQ(doc->drawing->toolInput.outlineContourCount, 0);
        ExpectOneUndoStep(before, steps);
    }

    FreshDrawing();
    DrawCircle(60, 50, 20);
    ChoosePointTool(9);
    ClickAt(80, 50);
    Key(kKeyCodeReturn, '\r');
    EXPECT_EQ(doc->arcHead->next, nullptr);
    ASSERT_EQ(Polylines(), 1);
    const Points chords = PointsOf(FirstPolyline());
    ASSERT_GE(chords.size(), 9u);
    EXPECT_EQ(chords.front(), chords.back());
    for (auto [x, y] : chords)
        EXPECT_NEAR(std::hypot(x - 60, y - 50), 20, 1e-9);
}

// No picks, an outline that does not close, or a whole polyline in a chain: nothing changes and no
// undo step is left; the two failures say why.
TEST_F(PointListToolsGui, BoundaryThatCannotBeTracedChangesNothing) {
    struct Case {
        const char* name;
        Points clicks;
        SInt16 message;
    };
    const Case cases[] = {
        {"no picks", {}, 0},
        {"one line", {{60, 20}}, 55},
        {"a polyline among lines", {{100, 50}, {140, 40}, {60, 20}}, 156},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshDrawing();
        Draw(20, 20, 100, 20);
        Draw(100, 20, 100, 80);
        DrawPolyline({{140, 40}, {160, 60}});
        ChoosePointTool(9);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        const UInt32 steps = UndoSteps();
        for (auto [x, y] : c.clicks)
            ClickAt(x, y);
        MessageCapture messages;
        Key(kKeyCodeReturn, '\r');
        EXPECT_EQ(messages.Last(), c.message);
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        EXPECT_EQ(UndoSteps(), steps);
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(doc->drawing->tool->pickList, nullptr);
    }
}

} // namespace
