// The editing and shape tools of group 11 end to end: every tool by queued clicks and typed values
// through the program's own loop, the shapes they build (ellipse, rectangle with its corners ordered,
// rounded rectangle, regular polygon) with exact undo and redo, the radius and side-count checks,
// the section end markers, locking, and the Delete key of the drag tool.
#include "ToolGuiFixture.h"

#include "../Model/DrawingSnapshot.h"
#include "MessageCapture.h"
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "Model/ElementRecords.h"
#include "Model/Polylines.h"
#include "Model/SelectionCriteria.h"
#include "Model/DrawingUnits.h"
#include "Platform/MemoryManager.h"
#include "Platform/PortImages.h"
#include "Platform/Windows.h"
#include "TestSupport.h"
#include "Tools/EditTools.h"
#include "Tools/TextElements.h"
#include "Tools/ToolState.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kEditGroup = 11;
constexpr UInt16 kLock = 0x8000;

struct Input {
    double x, y;      // a click, unless text is given
    const char* text; // typed, then Return
};
Input At(double x, double y) {
    return {x, y, nullptr};
}
Input Typed(const char* text) {
    return {0, 0, text};
}

struct XY {
    double x, y;
};

class EditToolsGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        // A message is answered as its OK button would be; which one it was is read back.
        SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    }
    // Millimetres of one display unit.
    double Factor() const { return doc->settings->drawingScale * UnitToMillimetres(doc); }
    void Choose(int tool) { ChooseGroupTool(kEditGroup, tool); }
    void Play(const std::vector<Input>& input) {
        for (const Input& in : input) {
            if (in.text != nullptr)
                Type(in.text);
            else
                ClickAt(in.x, in.y);
        }
    }
    template <typename T> static int Count(T* head) {
        int n = 0;
        for (T* e = head->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    template <typename T> static T* LastOf(T* head) {
        T* e = head->next;
        while (e != nullptr && e->next != nullptr)
            e = e->next;
        return e;
    }
    static std::vector<XY> PointsOf(const PolylineRecord* p) {
        std::vector<XY> all;
        const Float64* xy = reinterpret_cast<const Float64*>(*p->points);
        for (int i = 0; i < p->pointCount; ++i)
            all.push_back({xy[2 * i], xy[2 * i + 1]});
        return all;
    }
    static void ExpectPoints(const PolylineRecord* p, const std::vector<XY>& want, double tol = 1e-9) {
        ASSERT_NE(p, nullptr);
        std::vector<XY> got = PointsOf(p);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_NEAR(got[i].x, want[i].x, tol) << "point " << i;
            EXPECT_NEAR(got[i].y, want[i].y, tol) << "point " << i;
        }
    }
    LineRecord* LineAt(double x1, double y1, double x2, double y2) {
        Draw(x1, y1, x2, y2);
        return LastOf(doc->lineHead);
    }
    void PutTempPoint(double x, double y) {
        doc->drawing->toolInput.cursorX = x, doc->drawing->toolInput.cursorY = y;
        ASSERT_TRUE(AppendTempPoint(doc));
    }
    // A polyline of the points, an arc, a text and an area of one square, made as a user would have.
    PolylineRecord* PolylineOf(const std::vector<XY>& points) {
        EmptyTempPoints(doc);
        for (XY p : points)
            PutTempPoint(p.x, p.y);
        PolylineRecord* made = nullptr;
        EXPECT_TRUE(BuildPolylineFromPoints(doc, &made, kPolylineSegments, true, 0, 0));
        return made;
    }
    // A press held a moment where it is, as a user's is before the drag begins (the tool looks at the
    // button once before it drags), then moved through the middle to the end.
    void PressAndDrag(double x1, double y1, double x2, double y2) {
        QueueDrag(doc->window, {WindowPoint(x1, y1), WindowPoint(x1, y1),
                                WindowPoint((x1 + x2) / 2, (y1 + y2) / 2), WindowPoint(x2, y2)});
        RunLoop();
    }
    TextRecord* TextAt(double x, double y, const char* s) {
        BeginUndoStep(doc);
        TextRecord* t = AddTextElement(doc, x, y, PStr(s), x, y, 1, true);
        EndUndoStep(doc);
        return t;
    }
};

// A run of the drag tool holds what it picked; the tools that make shapes make them.
TEST_F(EditToolsGui, EveryToolOfTheGroup) {
    struct Row {
        int tool;
        const char* what;
        std::vector<Input> input;
        std::function<void(DocWindowRecord*)> check;
    };
    const double f = Factor();
    const Row rows[] = {
        {0,
         "drag: a click holds and selects the line",
         {At(40, 20)},
         [](DocWindowRecord* d) {
             LineRecord* l = d->lineHead->next;
             EXPECT_EQ(d->drawing->tool->firstLine, l);
             EXPECT_TRUE(l->selected);
             EXPECT_TRUE(d->drawing->tool->editMode);
         }},
        {1,
         "to front: the first line is drawn last",
         {At(40, 20)},
         [](DocWindowRecord* d) {
             LineRecord* l = LastOf(d->lineHead);
             EXPECT_EQ(l->y1, 20);
             EXPECT_FALSE(l->selected);
             EXPECT_EQ(Count(d->lineHead), 2);
         }},
        {2,
         "ellipse",
         {At(100, 100), Typed("30"), Typed("20"), Typed("0"), Typed("90")},
         [f](DocWindowRecord* d) {
             PolylineRecord* p = LastOf(d->polylineHead);
             ASSERT_NE(p, nullptr);
             EXPECT_EQ(p->kind, kPolylineEllipse);
             const double a = 30 * f, b = 20 * f;
             ExpectPoints(p,
                          {{100 - a, 100 - b}, {100 + a, 100 - b}, {100 + a, 100 + b}, {100 - a, 100 + b}});
             EXPECT_EQ(p->params[0], 0);
             EXPECT_EQ(p->params[1], 90);
         }},
        {3,
         "rectangle, square corners",
         {At(120, 100), At(40, 60), Typed("0")},
         [](DocWindowRecord* d) {
             PolylineRecord* p = LastOf(d->polylineHead);
             ASSERT_NE(p, nullptr);
             EXPECT_EQ(p->kind, kPolylineSegments);
             ExpectPoints(p, {{40, 60}, {120, 60}, {120, 100}, {40, 100}, {40, 60}});
         }},
        {4,
         "hexagon",
         {At(100, 100), Typed("20"), Typed("6"), Typed("0")},
         [f](DocWindowRecord* d) {
             PolylineRecord* p = LastOf(d->polylineHead);
             ASSERT_NE(p, nullptr);
             EXPECT_EQ(p->kind, kPolylineSegments);
             ASSERT_EQ(p->pointCount, 7);
             std::vector<XY> pts = PointsOf(p);
             EXPECT_NEAR(pts[0].x, 100 + 20 * f, 1e-9);
             EXPECT_NEAR(pts[0].y, 100, 1e-9);
             EXPECT_NEAR(pts[6].x, pts[0].x, 1e-9);
             EXPECT_NEAR(pts[6].y, pts[0].y, 1e-9);
         }},
        {5,
         "end markers",
         {At(20, 60), At(120, 60), Typed(""), Typed("A"), At(70, 90)},
         [](DocWindowRecord* d) {
             EXPECT_EQ(Count(d->lineHead), 4);
             EXPECT_EQ(Count(d->polylineHead), 2);
             EXPECT_EQ(Count(d->textHead), 2);
             EXPECT_EQ(TempPointCount(d), 0);
         }},
        {6,
         "lock",
         {At(40, 20)},
         [](DocWindowRecord* d) {
             EXPECT_TRUE(UInt16(d->lineHead->next->penBlock.penFlags) & kLock);
             EXPECT_FALSE(d->drawing->toolInput.selectHidden);
         }},
        {7,
         "image: a click off any image changes nothing",
         {At(150, 150)},
         [](DocWindowRecord* d) { EXPECT_EQ(Count(d->lineHead), 2); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("tool " + std::to_string(r.tool) + ": " + r.what);
        FreshDocument();
        Draw(0, 20, 80, 20);
        Draw(0, 40, 80, 40);
        Choose(r.tool);
        EXPECT_EQ(Step(), 0);
        Play(r.input);
        r.check(doc);
        EXPECT_EQ(Step(), 0);
        SaveWindowPNG(doc->window, "edit-tools-" + std::to_string(r.tool) + ".png");
    }
}

TEST_F(EditToolsGui, ShapesUndoAndRedoExactly) {
    struct Row {
        int tool;
        std::vector<Input> input;
    };
    const Row rows[] = {
        {2, {At(100, 100), Typed("30"), Typed("20"), Typed("45"), Typed("300")}},
        {3, {At(40, 60), Typed("50,30"), Typed("5")}},
        {3, {At(40, 60), At(90, 10), Typed("0")}},
        {4, {At(100, 100), At(100, 130), Typed("5"), At(0, 100)}},
        {5, {At(20, 60), At(120, 60), At(120, 100), Typed(""), Typed("B-B"), At(70, 30)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("tool " + std::to_string(r.tool));
        FreshDocument();
        Draw(0, 20, 80, 20);
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        Choose(r.tool);
        Play(r.input);
        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        ASSERT_NE(after, before);
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
}

// The first corner may be any of the four: the rectangle's points always start at the lower left
// and run counter-clockwise. A radius above 0 makes a rounded rectangle of the four corners.
TEST_F(EditToolsGui, RectangleCornersAreOrdered) {
    struct Row {
        std::vector<Input> input;
        SInt16 kind;
        double radius; // as typed, display units
    };
    const double f = Factor();
    const std::string back = "-" + std::to_string(80 / f) + ",-" + std::to_string(40 / f);
    const Row rows[] = {
        {{At(40, 60), At(120, 100), Typed("0")}, kPolylineSegments, 0},
        {{At(120, 100), At(40, 60), Typed("-1")}, kPolylineSegments, -1},
        {{At(40, 100), At(120, 60), Typed("5")}, kPolylineRoundedRect, 5},
        {{At(120, 60), At(40, 100), Typed("2.5")}, kPolylineRoundedRect, 2.5},
        {{At(120, 100), Typed(back.c_str()), Typed("4")}, kPolylineRoundedRect, 4},
    };
    for (const Row& r : rows) {
        FreshDocument();
        Choose(3);
        Play(r.input);
        ASSERT_EQ(Count(doc->polylineHead), 1);
        PolylineRecord* p = LastOf(doc->polylineHead);
        EXPECT_EQ(p->kind, r.kind);
        std::vector<XY> corners = {{40, 60}, {120, 60}, {120, 100}, {40, 100}};
        if (r.kind == kPolylineSegments) corners.push_back({40, 60});
        ExpectPoints(p, corners, 1e-6);
        if (r.kind == kPolylineRoundedRect) EXPECT_NEAR(p->params[0], r.radius * f, 1e-12);
        EXPECT_EQ(doc->drawing->toolInput.cornerRadius, r.radius); // offered again
    }
}

TEST_F(EditToolsGui, RectangleOfNoWidthIsRefused) {
    Choose(3);
    ClickAt(40, 60);
    ClearRecordedAlerts();
    ClickAt(40, 100);
    Str255 text;
    GetIndString(text, 128, 167);
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(RecordedAlerts().back().params[0], ToStd(text));
    EXPECT_EQ(Step(), 1);
    Type("0,30");
    EXPECT_EQ(Step(), 1);
    ClickAt(100, 100);
    EXPECT_EQ(Step(), 2);
    Type("0");
    EXPECT_EQ(Count(doc->polylineHead), 1);
}

TEST_F(EditToolsGui, PolygonSidesRadiusAndAngle) {
    const double f = Factor();
    // The side count: 3 and 100 are the bounds.
    for (int sides : {3, 100}) {
        FreshDocument();
        Choose(4);
        Play({At(100, 100), Typed("20"), Typed(std::to_string(sides).c_str()), Typed("30")});
        PolylineRecord* p = LastOf(doc->polylineHead);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->pointCount, sides + 1);
        std::vector<XY> pts = PointsOf(p);
        EXPECT_NEAR(pts[0].x, 100 + 20 * f * std::cos(M_PI / 6), 1e-9);
        EXPECT_NEAR(pts[0].y, 100 + 20 * f * std::sin(M_PI / 6), 1e-9);
    }
    // Outside them: message 145 and back to the centre.
    for (const char* sides : {"2", "101", "0", "-4"}) {
        SCOPED_TRACE(sides);
        FreshDocument();
        Choose(4);
        Play({At(100, 100), Typed("20")});
        ASSERT_EQ(Step(), 2);
        MessageCapture messages;
        Type(sides);
        EXPECT_EQ(messages.Last(), 145);
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Count(doc->polylineHead), 0);
    }
    // A radius of 0 or less, typed or clicked on the centre: message 168, the step stays.
    FreshDocument();
    Choose(4);
    ClickAt(100, 100);
    for (Input in : {Typed("0"), Typed("-3"), At(100, 100)}) {
        MessageCapture messages;
        Play({in});
        EXPECT_EQ(messages.Last(), 168);
        EXPECT_EQ(Step(), 1);
    }
    // A clicked radius and a clicked angle; the typed angle is taken as typed.
    Play({At(130, 100), Typed("4"), At(100, 200)});
    PolylineRecord* p = LastOf(doc->polylineHead);
    ExpectPoints(p, {{100, 130}, {70, 100}, {100, 70}, {130, 100}, {100, 130}}, 1e-9);
    Play({At(0, 0), Typed("10"), Typed("4"), Typed("405")});
    std::vector<XY> pts = PointsOf(LastOf(doc->polylineHead));
    EXPECT_NEAR(pts[0].x, 10 * f * std::cos(M_PI / 4), 1e-9);
    EXPECT_NEAR(pts[0].y, 10 * f * std::sin(M_PI / 4), 1e-9);
}

TEST_F(EditToolsGui, EllipseAxesFromClicksAndNonPositiveAxesIgnored) {
    Choose(2);
    ClickAt(100, 100);
    Type("0");
    EXPECT_EQ(Step(), 1);
    ClickAt(100, 150); // no width along x
    EXPECT_EQ(Step(), 1);
    ClickAt(60, 150); // half-width 40
    ASSERT_EQ(Step(), 2);
    ClickAt(10, 100); // no height along y
    EXPECT_EQ(Step(), 2);
    ClickAt(10, 75); // half-height 25
    ASSERT_EQ(Step(), 3);
    ClickAt(100, 180); // 90 degrees
    ClickAt(50, 100);  // 180 degrees
    PolylineRecord* p = LastOf(doc->polylineHead);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->kind, kPolylineEllipse);
    ExpectPoints(p, {{60, 75}, {140, 75}, {140, 125}, {60, 125}});
    EXPECT_NEAR(p->params[0], 90, 1e-9);
    EXPECT_NEAR(p->params[1], 180, 1e-9);
    // The remembered half-width is offered again.
    ClickAt(0, 0);
    EXPECT_NEAR(std::stod(CommandFieldUTF8Text(doc)), 40 / Factor(), 0.01);
}

// Both ends carry the same marker, mirrored at the middle of the first segment, on the side away
// from the click; only the first segment counts.
TEST_F(EditToolsGui, EndMarkersAreMirroredAwayFromTheClick) {
    const double height = doc->settings->textHeight;
    Choose(5);
    Play({At(20, 60), At(120, 60), At(150, 150), Typed(""), Typed("AB"), At(70, 90)});
    ASSERT_EQ(Step(), 0);
    EXPECT_EQ(TempPointCount(doc), 0);
    EXPECT_EQ(doc->settings->textHeight, height); // the settings are back
    ASSERT_EQ(Count(doc->lineHead), 2);
    ASSERT_EQ(Count(doc->polylineHead), 2);
    ASSERT_EQ(Count(doc->textHead), 2);
    auto mirrored = [](XY p) { return XY{140 - p.x, p.y}; };
    LineRecord* l0 = doc->lineHead->next;
    LineRecord* l1 = l0->next;
    EXPECT_EQ(l0->x1, 20);
    EXPECT_EQ(l0->y1, 50);
    EXPECT_EQ(l0->x2, 20);
    EXPECT_EQ(l0->y2, 60);
    EXPECT_EQ(l1->x1, 120);
    EXPECT_EQ(l1->y1, 50);
    EXPECT_EQ(l1->x2, 120);
    EXPECT_EQ(l1->y2, 60);
    EXPECT_EQ(l0->flags & 3, 0); // bounded ends, whatever the new-line default
    std::vector<XY> a0 = PointsOf(doc->polylineHead->next), a1 = PointsOf(doc->polylineHead->next->next);
    ASSERT_EQ(a0.size(), 4u);
    ASSERT_EQ(a1.size(), 4u);
    EXPECT_NEAR(a0[1].x, 20, 1e-12);
    EXPECT_NEAR(a0[1].y, 45, 1e-12); // the tip, 15 below the end
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(mirrored(a0[i]).x, a1[i].x, 1e-12);
        EXPECT_NEAR(mirrored(a0[i]).y, a1[i].y, 1e-12);
    }
    TextRecord* t0 = doc->textHead->next;
    TextRecord* t1 = t0->next;
    EXPECT_EQ(ToStd(t0->text), "AB");
    EXPECT_EQ(ToStd(t1->text), "AB");
    EXPECT_EQ(t0->textHeight, 7.0);
    EXPECT_NEAR(t0->x, 20 - (2 * 4.2 + 10), 1e-12);
    EXPECT_NEAR(mirrored({t0->x, t0->y}).x, t1->x, 1e-12);
    EXPECT_EQ(t0->y, 60);
    EXPECT_EQ(t1->y, 60);

    // Along a vertical line a click on its left turns them to the right; the marker text is
    // offered again.
    Play({At(100, 10), At(100, 110), Typed("")});
    EXPECT_EQ(CommandFieldUTF8Text(doc), "AB");
    Play({Typed("C"), At(70, 50)});
    LineRecord* up = LastOf(doc->lineHead);
    EXPECT_EQ(up->x1, 100);
    EXPECT_EQ(up->y1, 110);
    EXPECT_EQ(up->x2, 110);
    EXPECT_EQ(up->y2, 110);
}

// Fewer than two distinct points make no segment: Return is refused and nothing is read past the
// list; PlaceEndMarkers makes nothing from such a list.
TEST_F(EditToolsGui, EndMarkersNeedTwoDistinctPoints) {
    Choose(5);
    UInt32 beeps = BeepCount();
    Type("");
    EXPECT_EQ(Step(), 0);
    ClickAt(20, 60);
    ClickAt(20, 60); // the same point again is no second point
    EXPECT_EQ(TempPointCount(doc), 1);
    Type("");
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(BeepCount(), beeps + 2);

    // Points another tool left in the list are not this line's.
    Key(kKeyCodeEscape, kEscapeCharCode);
    PutTempPoint(0, 0);
    PutTempPoint(50, 0);
    Choose(5);
    ClickAt(20, 60);
    Type("");
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(TempPointCount(doc), 1);

    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    const Float64 nan = std::nan("");
    for (const std::vector<XY>& points :
         std::vector<std::vector<XY>>{{}, {{5, 5}}, {{5, 5}, {5, 5}, {9, 9}}, {{nan, 0}, {5, 5}}}) {
        EmptyTempPoints(doc);
        for (XY p : points)
            PutTempPoint(p.x, p.y);
        EXPECT_FALSE(PlaceEndMarkers(doc, 0, 10));
    }
    EmptyTempPoints(doc);
    PutTempPoint(0, 0);
    PutTempPoint(10, 0);
    EXPECT_FALSE(PlaceEndMarkers(doc, nan, 10));
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);
}

// A locked element is dimmed and every other tool passes it by; the lock tool alone picks it, to
// unlock it. E and A lock and unlock every element on the visible layers.
TEST_F(EditToolsGui, LockedElementsAreSkippedByOtherTools) {
    Draw(0, 20, 80, 20);
    DrawCircle(150, 50, 20);
    const double* c = TextAt(20, 100, "Locked")->corners;
    const XY textMiddle{(c[0] + c[4]) / 2, (c[1] + c[5]) / 2};
    PolylineOf({{100, 120}, {140, 120}, {140, 150}});
    // Undo and redo make the records anew: each is looked up by its kind every time.
    struct Target {
        XY at;
        ElementKind kind;
    };
    const Target targets[] = {{{40, 20}, kLineElement},
                              {{150, 70}, kArcElement},
                              {textMiddle, kTextElement},
                              {{140, 150}, kPolylineElement}};
    auto locked = [this](ElementKind kind) {
        const ElementPenAttributes* pen = kind == kLineElement   ? &doc->lineHead->next->penBlock
                                          : kind == kArcElement  ? &doc->arcHead->next->penBlock
                                          : kind == kTextElement ? &doc->textHead->next->penBlock
                                                                 : &doc->polylineHead->next->penBlock;
        return (UInt16(pen->penFlags) & kLock) != 0;
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.kind);
        const DrawingSnapshot open = TakeDrawingSnapshot(doc);
        Choose(6);
        ClickAt(t.at.x, t.at.y);
        ASSERT_TRUE(locked(t.kind));
        EXPECT_FALSE(doc->drawing->toolInput.selectHidden);
        const DrawingSnapshot closed = TakeDrawingSnapshot(doc);
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), open);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), closed);

        // The drag tool finds nothing there.
        Choose(0);
        ClickAt(t.at.x, t.at.y);
        const ToolStateRecord* ts = doc->drawing->tool;
        EXPECT_TRUE(ts->firstLine == nullptr && ts->firstArc == nullptr && ts->heldText == nullptr &&
                    ts->heldPolyline == nullptr);

        Choose(6);
        ClickAt(t.at.x, t.at.y);
        EXPECT_FALSE(locked(t.kind));
    }
    // A rectangle around everything leaves the locked line out.
    Choose(6);
    ClickAt(40, 20);
    const Boolean all[kSelectKindCount] = {1, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(SelectInRectWithCriteria(doc, -10, -10, 200, 200, all));
    EXPECT_FALSE(doc->lineHead->next->selected);
    EXPECT_TRUE(doc->arcHead->next->selected);
    DeselectAll(doc, true);

    struct Answer {
        const char* text;
        bool locked;
    };
    for (Answer a :
         {Answer{"e", true}, Answer{"A", false}, Answer{"E", true}, Answer{"a", false}, Answer{"x", false}}) {
        SCOPED_TRACE(a.text);
        Choose(6);
        Type(a.text);
        for (const Target& t : targets)
            EXPECT_EQ(locked(t.kind), a.locked);
    }
}

TEST_F(EditToolsGui, AnotherClickPicksAnewAndFrontToolReorders) {
    LineRecord* first = LineAt(0, 20, 80, 20);
    LineRecord* second = LineAt(0, 40, 80, 40);
    PolylineRecord* poly = PolylineOf({{40, 40}, {60, 80}});
    Choose(0);
    ClickAt(40, 20);
    EXPECT_EQ(doc->drawing->tool->firstLine, first);
    // The polyline's vertex lies on the second line: polylines are picked first.
    ClickAt(40, 40);
    EXPECT_EQ(doc->drawing->tool->firstLine, nullptr);
    EXPECT_EQ(doc->drawing->tool->heldPolyline, poly);
    EXPECT_TRUE(poly->selected);
    EXPECT_FALSE(first->selected);
    // Undo of something else forgets what was held; nothing dangles.
    Undo();
    EXPECT_EQ(Count(doc->polylineHead), 0);
    ClickAt(10, 40);
    EXPECT_EQ(doc->drawing->tool->firstLine, second);

    Choose(1);
    ClickAt(10, 20);
    EXPECT_EQ(LastOf(doc->lineHead), first);
    EXPECT_EQ(doc->lineHead->next, second);
    EXPECT_TRUE(doc->drawing->changed);
}

// A press on an element drags it at once; the next press goes to the held element's handles first,
// even where another element lies above them in the pick order; every drag is one undo step.
TEST_F(EditToolsGui, DragToolHoldsWhatItDragged) {
    Draw(80, 0, 80, 60); // picked before the held line wherever both are hit
    Draw(20, 20, 60, 20);
    const DrawingSnapshot start = TakeDrawingSnapshot(doc);
    Choose(0);
    PressAndDrag(60, 20, 80, 20); // the right end onto the vertical line
    LineRecord* held = doc->drawing->tool->firstLine;
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held, LastOf(doc->lineHead)); // the replacement
    EXPECT_TRUE(held->selected);
    EXPECT_EQ(held->x2, 80);
    EXPECT_EQ(held->y2, 20);
    const DrawingSnapshot once = TakeDrawingSnapshot(doc);

    PressAndDrag(80, 20, 100, 40); // on both lines: the held one's end moves
    held = doc->drawing->tool->firstLine;
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->x1, 20);
    EXPECT_EQ(held->x2, 100);
    EXPECT_EQ(held->y2, 40);
    EXPECT_EQ(doc->lineHead->next->x1, 80); // the vertical line stays
    EXPECT_EQ(doc->lineHead->next->y2, 60);
    const DrawingSnapshot twice = TakeDrawingSnapshot(doc);

    ClickAt(150, 150); // nothing there: nothing held
    EXPECT_EQ(doc->drawing->tool->firstLine, nullptr);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), once);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), start);
    Redo();
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), twice);
}

// A polyline's vertex lying on a line is the polyline's to drag: polylines are picked first.
TEST_F(EditToolsGui, DragToolPicksPolylinesFirst) {
    Draw(20, 20, 80, 20);
    PolylineOf({{50, 20}, {50, 60}});
    Choose(0);
    PressAndDrag(50, 20, 40, 0);
    EXPECT_EQ(doc->lineHead->next->x1, 20);
    EXPECT_EQ(doc->lineHead->next->y1, 20);
    ExpectPoints(doc->polylineHead->next, {{40, 0}, {50, 60}});
    EXPECT_EQ(doc->drawing->tool->heldPolyline, doc->polylineHead->next);
}

// The image tool moves the image under the press; the tool is ready for the next one at once.
TEST_F(EditToolsGui, ImageToolMovesTheImageUnderThePress) {
    ImageRecord& image = doc->images[0];
    image.x = 100, image.y = 20, image.resolution = 25.4, image.width = image.height = 10;
    image.bytesPerRow = 40;
    image.pixels = NewHandleClear(400);
    doc->imageCount = 1;
    doc->settings->imagesShown = 1;
    Choose(7);
    PressAndDrag(105, 25, 125, 45);
    EXPECT_NEAR(image.x, 120, 1e-9);
    EXPECT_NEAR(image.y, 40, 1e-9);
    EXPECT_EQ(Step(), 0);
    PressAndDrag(60, 25, 80, 45); // beside it: nothing moves
    EXPECT_NEAR(image.x, 120, 1e-9);
}

// Delete with the drag tool takes what it holds (selected) away in one undo step; with nothing
// selected it makes no step, so what could be redone stays.
TEST_F(EditToolsGui, DeleteKeyDeletesWhatTheDragToolHolds) {
    Draw(0, 20, 80, 20);
    Draw(0, 40, 80, 40);
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    Choose(0);
    Key(kKeyCodeDelete, kBackspaceCharCode);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);

    ClickAt(40, 20);
    ASSERT_NE(doc->drawing->tool->firstLine, nullptr);
    Key(kKeyCodeDelete, kBackspaceCharCode);
    ASSERT_EQ(Count(doc->lineHead), 1);
    EXPECT_EQ(doc->lineHead->next->y1, 40);
    EXPECT_EQ(doc->drawing->tool->firstLine, nullptr);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);
    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);

    // With another tool of the group Delete only edits the command field.
    Choose(1);
    Key(kKeyCodeDelete, kBackspaceCharCode);
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);
}

// The shapes as the window shows them, against the reference picture.
// DW_UPDATE_VIEW_REFERENCES=1 rewrites the reference from the current render.
TEST_F(EditToolsGui, ShapeToolsLookAsTheReferenceDoes) {
    Choose(2);
    Play({At(60, 200), Typed("40"), Typed("20"), Typed("0"), Typed("360")});
    Play({At(140, 190), Typed("30"), Typed("15"), Typed("30"), Typed("240")});
    Choose(3);
    Play({At(20, 120), At(100, 160), Typed("0")});
    Play({At(120, 120), At(200, 160), Typed("8")});
    Choose(4);
    Play({At(60, 70), Typed("30"), Typed("5"), Typed("90")});
    Play({At(150, 70), Typed("25"), Typed("8"), Typed("0")});
    Choose(5);
    Play({At(20, 20), At(200, 20), Typed(""), Typed("A"), At(110, 40)});
    RedrawWindow(doc);
    RunLoop();
    const std::string reference = FixturePath("Tools/edit-shapes.png");
    std::string render = SaveWindowPNG(doc->window, "edit-shapes.png");
    if (std::getenv("DW_UPDATE_VIEW_REFERENCES")) {
        ASSERT_TRUE(SavePortAsPNG(GetWindowPort(doc->window), reference.c_str()));
        return;
    }
    long differing = ComparePortWithPNG(GetWindowPort(doc->window), reference.c_str(),
                                        TestOutputPath("edit-shapes.diff.png").c_str());
    EXPECT_EQ(differing, 0) << "the window differs from " << reference << "; see " << render;
}

} // namespace
