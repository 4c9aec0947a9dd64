// Handle dragging end to end: a press at a window point taken as the editing tool takes it, the drag
// function following the queued moves to the release, and undo and redo giving back exactly the
// drawing before and after. Also the trackers' rules: Shift steps, proportional corners, turned sides.
#include "ToolGuiFixture.h"

#include "../Model/DrawingSnapshot.h"
#include "Model/DimensionEditing.h"
#include "Model/Dimensions.h"
#include "Model/ElementRecords.h"
#include "Model/Polylines.h"
#include "Model/Symbols.h"
#include "Platform/MemoryManager.h"
#include "Tools/AreaOutlines.h"
#include "Tools/DragTracking.h"
#include "Tools/HandleDragging.h"
#include "Tools/TextElements.h"
#include "Tools/ToolState.h"
#include "View/ElementMoves.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace {

class HandleDragGui : public ToolGuiTest {
  protected:
    // The press at the first point is taken as the dispatcher takes it; then the drag function runs
    // while the rest of the path plays, with Shift held from just after the press when asked (a
    // Shift-press in the drawing pans the view instead).
    bool Drag(const std::vector<Point>& path, const std::function<bool()>& drag, bool shift = false) {
        QueueMouseDown(doc->window, path.front());
        if (shift) SimulateModifiers(shiftKey);
        for (size_t i = 1; i < path.size(); ++i)
            SimulateMouseMove(WindowPointToGlobal(doc->window, path[i]));
        SimulateMouseButton(false, shift ? shiftKey : 0);
        if (shift) SimulateModifiers(0);
        EventRecord down{};
        bool pressed = false;
        for (int i = 0; i < 20 && !pressed; ++i)
            pressed = GetNextEvent(mDownMask, &down);
        EXPECT_TRUE(pressed);
        bool result = drag();
        DrainEvents();
        RunLoop();
        return result;
    }
    // From a drawing point to another, through their middle.
    std::vector<Point> Path(double x1, double y1, double x2, double y2) const {
        return {WindowPoint(x1, y1), WindowPoint((x1 + x2) / 2, (y1 + y2) / 2), WindowPoint(x2, y2)};
    }
    // Out and back to where the press was.
    std::vector<Point> OutAndBack(double x, double y) const {
        return {WindowPoint(x, y), WindowPoint(x + 15, y + 10), WindowPoint(x, y)};
    }
    void ExpectExactUndoRedo(const DrawingSnapshot& before, const DrawingSnapshot& after) {
        EXPECT_NE(before, after);
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
    SInt16 Steps() const { return doc->drawing->undo.undoStepCount; }
    void Shown() {
        RedrawWindow(doc);
        RunLoop();
    }
    void AddPoint(double x, double y) {
        doc->drawing->toolInput.cursorX = x;
        doc->drawing->toolInput.cursorY = y;
        ASSERT_TRUE(AppendTempPoint(doc));
    }
    PolylineRecord* Polyline(SInt16 kind, const std::vector<double>& xy, Float64 a1 = 0, Float64 a2 = 0) {
        for (size_t i = 0; i + 1 < xy.size(); i += 2)
            AddPoint(xy[i], xy[i + 1]);
        PolylineRecord* p = nullptr;
        BeginUndoStep(doc);
        EXPECT_TRUE(BuildPolylineFromPoints(doc, &p, kind, true, a1, a2));
        EndUndoStep(doc);
        Shown();
        return p;
    }
    const Float64* PointsOf(const PolylineRecord* p) const {
        return reinterpret_cast<const Float64*>(*p->points);
    }
    PolylineRecord* OfKind(SInt16 kind) const {
        for (PolylineRecord* p = doc->polylineHead->next; p != nullptr; p = p->next)
            if (p->kind == kind) return p;
        return nullptr;
    }
    TextRecord* FramedBox() const {
        for (TextRecord* t = doc->textHead->next; t != nullptr; t = t->next)
            if (IsFramedTextBox(t)) return t;
        return nullptr;
    }
    template <typename T> T* LastOf(T* head) const {
        T* e = head;
        while (e->next != nullptr)
            e = e->next;
        return e;
    }
};

} // namespace

// The first end, the second end and the body of a line; each drag one step that undo and redo
// replay exactly, the new line selected in place of the old.
TEST_F(HandleDragGui, LineEndsAndBodyFollowTheMouse) {
    const struct {
        double fromX, fromY, toX, toY;
        double x1, y1, x2, y2;
    } cases[] = {
        {20, 20, 30, 50, 30, 50, 80, 20}, // first end
        {80, 20, 90, 40, 20, 20, 90, 40}, // second end
        {50, 20, 60, 30, 30, 30, 90, 30}, // body: both ends by the offset
    };
    for (const auto& c : cases) {
        FreshDocument();
        Draw(20, 20, 80, 20);
        LineRecord* line = Last();
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        EXPECT_TRUE(Drag(Path(c.fromX, c.fromY, c.toX, c.toY), [&] { return DragLineHandles(doc, line); }));
        ASSERT_EQ(Lines(), 1);
        ExpectLast(c.x1, c.y1, c.x2, c.y2);
        EXPECT_TRUE(Last()->selected);
        EXPECT_EQ(ToolStateOf(doc)->firstLine, Last());
        ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    }
}

// Dragging the first end past the second puts the ends in order again: the end marks and the
// run-on bits go with their points, and are journalled with the line, so redo brings them back.
TEST_F(HandleDragGui, ReorderedLineEndsKeepTheirMarksAndRunOnBits) {
    Draw(20, 20, 60, 20);
    LineRecord* line = Last();
    line->flags = UInt16(SetLineEndMarkKind(SetLineStartMarkKind(kLineOpenStart, 2), 5));
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(20, 20, 90, 30), [&] { return DragLineHandles(doc, line); }));
    ExpectLast(60, 20, 90, 30);
    const UInt16 flags = Last()->flags;
    EXPECT_EQ(LineStartMarkKind(flags), 5);
    EXPECT_EQ(LineEndMarkKind(flags), 2);
    EXPECT_EQ(flags & (kLineOpenStart | kLineOpenEnd), kLineOpenEnd);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    EXPECT_EQ(Last()->flags, flags);
}

// A drag that comes back to where it began changes nothing and records no step, for every kind;
// an end drag and an area report the click as handled, the others do not.
TEST_F(HandleDragGui, ADragBackToItsStartRecordsNothing) {
    Draw(20, 20, 80, 20);
    DrawCircle(150, 60, 20);
    Shown();
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const SInt16 steps = Steps();
    LineRecord* line = Last();
    EXPECT_TRUE(Drag(OutAndBack(20, 20), [&] { return DragLineHandles(doc, line); }));
    EXPECT_TRUE(Drag(OutAndBack(50, 20), [&] { return DragLineHandles(doc, line); }));
    ArcRecord* arc = doc->arcHead->next;
    EXPECT_FALSE(Drag(OutAndBack(150, 60), [&] { return DragArcHandles(doc, arc); }));
    EXPECT_FALSE(Drag(OutAndBack(169, 79), [&] { return DragArcHandles(doc, arc); }));
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
}

// A corner of the circle's square drags a box that need not be square: the circle fills its height.
// The body moves the centre. The arc's angles stay.
TEST_F(HandleDragGui, CircleCornerAndBodyDrags) {
    BeginUndoStep(doc);
    AddArc(doc, 50, 50, 20, 30, 200);
    EndUndoStep(doc);
    Shown();
    ArcRecord* arc = doc->arcHead->next;
    DrawingSnapshot before = TakeDrawingSnapshot(doc);
    // The top-right corner (70, 70) to (90, 80); the bottom-left (30, 30) stays.
    EXPECT_TRUE(Drag(Path(70, 70, 90, 80), [&] { return DragArcHandles(doc, arc); }));
    arc = LastOf(doc->arcHead);
    EXPECT_NEAR(arc->cx, 60, 1e-9);
    EXPECT_NEAR(arc->cy, 55, 1e-9);
    EXPECT_NEAR(arc->radius, 25, 1e-9);
    EXPECT_EQ(arc->startAngle, 30);
    EXPECT_EQ(arc->endAngle, 200);
    EXPECT_EQ(ToolStateOf(doc)->firstArc, arc);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));

    arc = LastOf(doc->arcHead);
    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(60, 55, 40, 45), [&] { return DragArcHandles(doc, arc); }));
    arc = LastOf(doc->arcHead);
    EXPECT_NEAR(arc->cx, 40, 1e-9);
    EXPECT_NEAR(arc->cy, 45, 1e-9);
    EXPECT_NEAR(arc->radius, 25, 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    // Outside the square the click is not the arc's (undo and redo made the record anew).
    arc = LastOf(doc->arcHead);
    EXPECT_FALSE(Drag(Path(100, 100, 110, 110), [&] { return DragArcHandles(doc, arc); }));
}

// A text moves with its box; a framed box resizes by a corner and by an edge's middle; a text's
// reference point moves alone and the text is laid out again for it.
TEST_F(HandleDragGui, TextMovesResizesAndMovesItsReferencePoint) {
    doc->settings->textHeight = 5;
    doc->settings->textJustification = 6;
    BeginUndoStep(doc);
    TextRecord* text = AddTextElement(doc, 20, 100, PStr("Valve"), 60, 80, 2, true);
    EndUndoStep(doc);
    Shown();
    ASSERT_NE(text, nullptr);
    const Float64 x0 = text->x, y0 = text->y, c0 = text->corners[0];
    DrawingSnapshot before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(22, 101, 32, 96), [&] { return DragTextHandles(doc, text); }));
    EXPECT_NEAR(text->x, x0 + 10, 1e-9);
    EXPECT_NEAR(text->y, y0 - 5, 1e-9);
    EXPECT_NEAR(text->corners[0], c0 + 10, 1e-9);
    EXPECT_EQ(text->x2, 60); // the reference point stays
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));

    // The reference point (60, 80), outside the box, alone.
    text = LastOf(doc->textHead);
    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(60, 80, 70, 70), [&] { return DragTextHandles(doc, text); }));
    TextRecord* moved = LastOf(doc->textHead);
    EXPECT_EQ(moved->x2, 70);
    EXPECT_EQ(moved->y2, 70);
    EXPECT_NEAR(moved->x, x0 + 10, 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));

    // A framed box from (100, 20) to (160, 60): a corner, then the right edge's middle.
    BeginUndoStep(doc);
    TextRecord* box = AddTextElement(doc, 100, 20, PStr("Note"), 100, 20, 0, true);
    EndUndoStep(doc);
    box->textFlags = kFramedTextBoxFlags;
    const Float64 frame[8] = {100, 20, 160, 20, 160, 60, 100, 60};
    std::memcpy(box->corners, frame, sizeof frame);
    Shown();
    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(160, 60, 180, 70), [&] { return DragTextHandles(doc, box); }));
    const Float64 resized[8] = {100, 20, 180, 20, 180, 70, 100, 70};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(box->corners[i], resized[i], 1e-9) << i;
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    box = FramedBox();
    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(180, 45, 200, 40), [&] { return DragTextHandles(doc, box); }));
    EXPECT_NEAR(box->corners[2], 200, 1e-9);
    EXPECT_NEAR(box->corners[5], 70, 1e-9); // the height stays
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    box = FramedBox();
    // Back where it began: nothing.
    const SInt16 steps = Steps();
    EXPECT_FALSE(Drag(OutAndBack(140, 40), [&] { return DragTextHandles(doc, box); }));
    EXPECT_EQ(Steps(), steps);
}

// A dimension's text box moves, and the dimension is built again through the moved box's centre.
TEST_F(HandleDragGui, DimensionTextBoxMovesTheDimensionLine) {
    BeginUndoStep(doc);
    DimensionRecord* dim = CreateHorizontalDimension(doc, 20, 20, 120, 20, 70, 40, nullptr, nullptr, nullptr);
    EndUndoStep(doc);
    ASSERT_NE(dim, nullptr);
    Shown();
    dim = LastOf(doc->dimensionHead);
    const Float64 cy = (dim->textY + dim->frame[3]) / 2, cx = (dim->textX + dim->frame[2]) / 2;
    const Float64 oldTextY = dim->textY;
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(cx, cy, cx, cy + 20), [&] { return DragDimensionHandles(doc, dim); }));
    DimensionRecord* made = LastOf(doc->dimensionHead);
    EXPECT_GT(made->textY, oldTextY + 10);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    const SInt16 steps = Steps();
    made = LastOf(doc->dimensionHead);
    EXPECT_FALSE(Drag(OutAndBack(cx, cy + 20), [&] { return DragDimensionHandles(doc, made); }));
    EXPECT_EQ(Steps(), steps);
}

// An area with a round hole moves whole; undo and redo replay it exactly.
TEST_F(HandleDragGui, AreaMovesWithItsHoles) {
    for (auto [x, y] : {std::pair{20.0, 20.0}, {120.0, 20.0}, {120.0, 100.0}, {20.0, 100.0}})
        ASSERT_TRUE(AppendOutlinePoint(doc, x, y));
    ASSERT_TRUE(PushOutlineContour(doc));
    ASSERT_TRUE(SetEllipseOutline(doc, 70, 60, 15, 15));
    ASSERT_TRUE(PushOutlineContour(doc));
    BeginUndoStep(doc);
    AreaRecord* area = CreateAreaElement(doc, 3, 45, -2, true);
    EndUndoStep(doc);
    ASSERT_NE(area, nullptr);
    Shown();
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(30, 30, 40, 25), [&] { return DragAreaOutline(doc, area); }));
    EXPECT_NEAR(OutlinePoints(area->outline)[0], 30, 1e-9);
    EXPECT_NEAR(OutlinePoints(area->outline)[1], 15, 1e-9);
    Handle hole = reinterpret_cast<Handle*>(*area->holes)[0];
    EXPECT_NEAR(OutlinePoints(hole)[0], 80, 1e-9);
    EXPECT_NEAR(OutlinePoints(hole)[1], 55, 1e-9);
    EXPECT_NEAR(OutlinePoints(hole)[2], 15, 1e-9); // radii stay
    EXPECT_NEAR(area->minX, 30, 1e-9);
    EXPECT_NEAR(area->maxY, 95, 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    const SInt16 steps = Steps();
    area = doc->areaHead->next;
    EXPECT_TRUE(Drag(OutAndBack(40, 30), [&] { return DragAreaOutline(doc, area); }));
    EXPECT_EQ(Steps(), steps);
}

// A corner of a mirrored instance turns it about its position: the corner ends where the mouse
// left it, one negative scale or two. The body moves it.
TEST_F(HandleDragGui, SymbolInstanceTurnsByItsCornersAndMoves) {
    for (auto [sx, sy] : {std::pair{-1.0, 1.0}, {1.0, -1.0}, {-1.0, -1.0}}) {
        FreshDocument();
        Draw(40, 40, 60, 50);
        Last()->selected = 1;
        ASSERT_NE(CreateSymbolFromSelection(doc, 40, 40, PStr("Pump"), true), nullptr);
        SymbolInstanceRecord* inst = doc->instanceHead->next;
        ASSERT_NE(inst, nullptr);
        inst = ChangeSymbolInstance(doc, inst, 0, sx, sy);
        ASSERT_NE(inst, nullptr);
        Shown();
        // Corner 1 of the box, turned a quarter about the position.
        const Float64 kx = 40 + inst->frame[2], ky = 40 + inst->frame[3];
        const Float64 tx = 40 - (ky - 40), ty = 40 + (kx - 40);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        EXPECT_TRUE(Drag(Path(kx, ky, tx, ty), [&] { return DragSymbolInstanceHandles(doc, inst); }));
        SymbolInstanceRecord* now = LastOf(doc->instanceHead);
        EXPECT_NE(now, inst);
        EXPECT_NEAR(now->x + now->frame[2], tx, 1e-6) << sx << " " << sy;
        EXPECT_NEAR(now->y + now->frame[3], ty, 1e-6) << sx << " " << sy;
        EXPECT_NEAR(now->angle, 90, 1e-6);
        EXPECT_EQ(now->xScale, sx);
        EXPECT_EQ(now->yScale, sy);
        EXPECT_EQ(ToolStateOf(doc)->pickedOther, now);
        ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    }
    SymbolInstanceRecord* inst = LastOf(doc->instanceHead);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const Float64 cx = inst->x + (inst->frame[0] + inst->frame[4]) / 2,
                  cy = inst->y + (inst->frame[1] + inst->frame[5]) / 2;
    EXPECT_TRUE(Drag(Path(cx, cy, cx + 30, cy + 10), [&] { return DragSymbolInstanceHandles(doc, inst); }));
    EXPECT_NEAR(LastOf(doc->instanceHead)->x, 70, 1e-9);
    EXPECT_NEAR(LastOf(doc->instanceHead)->y, 50, 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    inst = LastOf(doc->instanceHead);
    const SInt16 steps = Steps();
    EXPECT_FALSE(Drag(OutAndBack(cx + 30, cy + 10), [&] { return DragSymbolInstanceHandles(doc, inst); }));
    EXPECT_EQ(Steps(), steps);
}

// Point lists: the first, an inner and the last vertex, each journalled with the state before the
// vertex moved; the drag is not reported as handled.
TEST_F(HandleDragGui, PolylineVerticesFollowTheMouse) {
    PolylineRecord* p = Polyline(kPolylineSegments, {20, 20, 60, 40, 100, 20});
    ASSERT_NE(p, nullptr);
    const double targets[3][2] = {{20, 30}, {60, 70}, {110, 10}};
    const double froms[3][2] = {{20, 20}, {60, 40}, {100, 20}};
    for (int i = 0; i < 3; ++i) {
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        EXPECT_FALSE(Drag(Path(froms[i][0], froms[i][1], targets[i][0], targets[i][1]),
                          [&] { return DragPolylineHandles(doc, p); }));
        EXPECT_NEAR(PointsOf(p)[2 * i], targets[i][0], 1e-9) << i;
        EXPECT_NEAR(PointsOf(p)[2 * i + 1], targets[i][1], 1e-9) << i;
        ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
        p = doc->polylineHead->next;
    }
    const SInt16 steps = Steps();
    EXPECT_FALSE(Drag(OutAndBack(60, 70), [&] { return DragPolylineHandles(doc, p); }));
    EXPECT_EQ(Steps(), steps);
}

// An ellipse: its body moves, a side's middle moves that side across, a corner turns it; with Shift
// the corner's direction from the centre goes to a multiple of 15 degrees.
TEST_F(HandleDragGui, EllipseMovesStretchesAndTurns) {
    PolylineRecord* e = Polyline(kPolylineEllipse, {40, 40, 100, 40, 100, 80, 40, 80}, 0, 360);
    ASSERT_NE(e, nullptr);
    DrawingSnapshot before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(60, 60, 70, 50), [&] { return DragPolylineHandles(doc, e); }));
    EXPECT_NEAR(PointsOf(e)[0], 50, 1e-9);
    EXPECT_NEAR(PointsOf(e)[1], 30, 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    e = doc->polylineHead->next;
    // Side 2 (the top, from corner 2 to corner 3) up by 10.
    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(Path(80, 70, 82, 80), [&] { return DragPolylineHandles(doc, e); }));
    const Float64 stretched[8] = {50, 30, 110, 30, 110, 80, 50, 80};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(PointsOf(e)[i], stretched[i], 1e-9) << i;
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    e = doc->polylineHead->next;
    // Corner 2 (110, 80) about the centre (80, 55), with Shift: its direction snaps.
    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(Drag(
        Path(110, 80, 104, 86), [&] { return DragPolylineHandles(doc, e); }, true));
    const Float64 dir = std::atan2(PointsOf(e)[5] - 55, PointsOf(e)[4] - 80) * 180 / M_PI;
    EXPECT_NEAR(dir, 45, 1e-9);
    EXPECT_NEAR(std::hypot(PointsOf(e)[4] - 80, PointsOf(e)[5] - 55), std::hypot(30, 25), 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    e = doc->polylineHead->next;
    const SInt16 steps = Steps();
    EXPECT_FALSE(Drag(OutAndBack(80, 55), [&] { return DragPolylineHandles(doc, e); }));
    EXPECT_EQ(Steps(), steps);
}

// A side of a turned ellipse moves across its own direction only; the other side stays.
TEST_F(HandleDragGui, TurnedEllipseSideMovesAcrossItsDirection) {
    const double r = std::sqrt(0.5);
    const std::vector<double> q = {100,          40,          100 + 30 * r, 40 + 30 * r,
                                   100 + 10 * r, 40 + 50 * r, 100 - 20 * r, 40 + 20 * r};
    PolylineRecord* e = Polyline(kPolylineEllipse, q, 0, 360);
    ASSERT_NE(e, nullptr);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    // The middle of side 1 (corners 1 and 2), out along the side's normal (1, 1) by 5 each way, with
    // a sideways wobble the drag leaves out.
    const double mx = (q[2] + q[4]) / 2, my = (q[3] + q[5]) / 2;
    EXPECT_TRUE(Drag({WindowPoint(mx, my), WindowPoint(mx + 3, my + 1), WindowPoint(mx + 5, my + 5)},
                     [&] { return DragPolylineHandles(doc, e); }));
    const Float64* p = PointsOf(e);
    const Point start = WindowPoint(mx, my), end = WindowPoint(mx + 5, my + 5);
    const double dx = (end.h - start.h) * 0.5, dy = -(end.v - start.v) * 0.5;
    const double along = (dx + dy) * r; // the offset's part across side 1
    const double want[8] = {
        q[0], q[1], q[2] + along * r, q[3] + along * r, q[4] + along * r, q[5] + along * r, q[6], q[7]};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(p[i], want[i], 1e-9) << i;
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
}

// The Shift step goes to the nearest multiple of 15 degrees, half steps up, negative angles too.
TEST(RotationStep, NearestMultipleOfFifteen) {
    const double cases[][2] = {{0, 0},     {7.4, 0},     {7.5, 15},      {22.4, 15},   {22.5, 30},
                               {-7.4, 0},  {-7.5, 0},    {-7.6, -15},    {-22.5, -15}, {-22.6, -30},
                               {179, 180}, {-180, -180}, {-172.4, -165}, {350, 345}};
    for (const auto& c : cases)
        EXPECT_EQ(RotationStep(c[0]), c[1]) << c[0];
}

// A rounded rectangle turns about its centre by a corner; a picture's corner keeps the picture's
// own aspect ratio and its edge's middle moves one side.
TEST_F(HandleDragGui, RoundedRectangleAndPictureFrames) {
    doc->drawing->toolInput.cornerRadius = 5;
    PolylineRecord* r = Polyline(kPolylineRoundedRect, {40, 40, 100, 40, 100, 80, 40, 80});
    ASSERT_NE(r, nullptr);
    DrawingSnapshot before = TakeDrawingSnapshot(doc);
    // Corner 1 (100, 40) to straight below the centre (70, 60) at its distance.
    const Float64 d = std::hypot(30, 20);
    EXPECT_TRUE(Drag(Path(100, 40, 70, 60 - d), [&] { return DragPolylineHandles(doc, r); }));
    EXPECT_NEAR(PointsOf(r)[2], 70, 0.6);
    EXPECT_NEAR(PointsOf(r)[3], 60 - d, 0.6);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));

    // A picture 40 wide, 20 high by its frame, placed 60 by 30.
    PolylineRecord* pic = Polyline(kPolylinePicture, {120, 20, 180, 50});
    ASSERT_NE(pic, nullptr);
    const UInt8 bytes[12] = {0, 12, 0, 0, 0, 0, 0, 20, 0, 40, 0, 0xFF};
    pic->picture = NewHandle(sizeof bytes);
    std::memcpy(*pic->picture, bytes, sizeof bytes);
    Shown();
    before = TakeDrawingSnapshot(doc);
    // The top-right corner (180, 50) out to (200, 80): the mouse's x gives width 80, height 40.
    EXPECT_TRUE(Drag(Path(180, 50, 200, 52), [&] { return DragPolylineHandles(doc, pic); }));
    pic = OfKind(kPolylinePicture);
    EXPECT_NEAR(PointsOf(pic)[0], 120, 1e-9);
    EXPECT_NEAR(PointsOf(pic)[1], 20, 1e-9);
    EXPECT_NEAR(PointsOf(pic)[2], 200, 1e-9);
    EXPECT_NEAR(PointsOf(pic)[3], 60, 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
    pic = OfKind(kPolylinePicture);
    before = TakeDrawingSnapshot(doc);
    // The left edge's middle (120, 40) to 110.
    EXPECT_TRUE(Drag(Path(120, 40, 110, 42), [&] { return DragPolylineHandles(doc, pic); }));
    EXPECT_NEAR(PointsOf(pic)[0], 110, 1e-9);
    EXPECT_NEAR(PointsOf(pic)[3], 60, 1e-9);
    ExpectExactUndoRedo(before, TakeDrawingSnapshot(doc));
}

// Coordinates that are not finite or are far out of any drawing make the drag do nothing; a line is
// never dragged to no length.
TEST_F(HandleDragGui, DamagedGeometryIsNotDragged) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Draw(20, 20, 80, 20);
    Draw(20, 60, 80, 60);
    DrawCircle(150, 60, 20);
    Shown();
    LineRecord* bad = doc->lineHead->next;
    bad->x2 = nan;
    LineRecord* huge = bad->next;
    huge->x2 = 1e300;
    doc->arcHead->next->radius = nan;
    const SInt16 steps = Steps();
    EXPECT_FALSE(Drag(Path(20, 20, 30, 30), [&] { return DragLineHandles(doc, bad); }));
    EXPECT_FALSE(Drag(Path(20, 60, 30, 70), [&] { return DragLineHandles(doc, huge); }));
    EXPECT_FALSE(Drag(Path(150, 60, 160, 70), [&] { return DragArcHandles(doc, doc->arcHead->next); }));
    EXPECT_EQ(Steps(), steps);
    EXPECT_TRUE(std::isnan(bad->x2));
    // A polyline with one damaged vertex: its other vertices are not dragged either.
    PolylineRecord* p = Polyline(kPolylineSegments, {20, 100, 60, 120, 100, 100});
    const SInt16 made = Steps();
    reinterpret_cast<Float64*>(*p->points)[4] = nan;
    EXPECT_FALSE(Drag(Path(20, 100, 30, 110), [&] { return DragPolylineHandles(doc, p); }));
    EXPECT_EQ(Steps(), made);
    EXPECT_EQ(PointsOf(p)[0], 20);

    FreshDocument();
    Draw(20, 20, 80, 20);
    LineRecord* line = Last();
    const SInt16 before = Steps();
    EXPECT_TRUE(Drag(Path(20, 20, 80, 20), [&] { return DragLineHandles(doc, line); }));
    EXPECT_EQ(Steps(), before);
    ExpectLast(20, 20, 80, 20);
}

// The image under the mouse follows it; elsewhere nothing moves.
TEST_F(HandleDragGui, ImageFollowsTheMouse) {
    ImageRecord& image = doc->images[0];
    image.x = 200, image.y = 20, image.resolution = 25.4, image.width = image.height = 10;
    image.bytesPerRow = 40;
    image.pixels = NewHandleClear(400);
    doc->imageCount = 1;
    doc->settings->imagesShown = 1;
    Shown();
    EXPECT_FALSE(Drag(Path(180, 25, 190, 35), [&] { return DragImage(doc); }));
    EXPECT_EQ(image.x, 200);
    EXPECT_TRUE(Drag(Path(205, 25, 215, 35), [&] { return DragImage(doc); }));
    EXPECT_NEAR(image.x, 210, 1e-9);
    EXPECT_NEAR(image.y, 30, 1e-9);
    EXPECT_FALSE(Drag(OutAndBack(215, 35), [&] { return DragImage(doc); }));
    EXPECT_NEAR(image.x, 210, 1e-9);
}

// The area move on its own: outline points, an ellipse contour's centre only, every hole, the box.
TEST(MoveAreaElement, MovesEveryContourAndTheBox) {
    AreaRecord* area = NewAreaRecord();
    area->outline = NewOutlineHandle(-1);
    Float64* e = OutlinePoints(area->outline);
    e[0] = 10, e[1] = 20, e[2] = 5, e[3] = 3;
    area->holes = NewHandleClear(sizeof(Handle));
    Handle hole = NewOutlineHandle(1);
    OutlinePoints(hole)[0] = 9, OutlinePoints(hole)[1] = 19, OutlinePoints(hole)[2] = 11,
    OutlinePoints(hole)[3] = 21;
    reinterpret_cast<Handle*>(*area->holes)[0] = hole;
    area->lastHoleIndex = 0;
    area->minX = 5, area->minY = 17, area->maxX = 15, area->maxY = 23;
    MoveAreaElement(area, nullptr, 2, -1);
    EXPECT_EQ(e[0], 12);
    EXPECT_EQ(e[1], 19);
    EXPECT_EQ(e[2], 5);
    EXPECT_EQ(e[3], 3);
    EXPECT_EQ(OutlinePoints(hole)[2], 13);
    EXPECT_EQ(OutlinePoints(hole)[3], 20);
    EXPECT_EQ(area->minX, 7);
    EXPECT_EQ(area->maxY, 22);
    DisposeAreaRecord(&area);
}
