// The circle and arc tools end to end: every sub-tool of groups 1 and 2 by queued clicks and typed
// values through the program's own loop, Escape in the middle, undo and redo of the drawing, the
// snap mode given back after the free side click, and the radius checks.
#include "ToolGuiFixture.h"

#include "Model/ElementRecords.h"
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "Platform/QuickDraw.h"
#include "TestSupport.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

class CircleToolsGui : public ToolGuiTest {
  protected:
    void Choose(int group, int tool) { ChooseGroupTool(group, tool); }
    int Arcs() const {
        int n = 0;
        for (ArcRecord* e = doc->arcHead->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    ArcRecord* LastArc() const {
        ArcRecord* e = doc->arcHead->next;
        while (e != nullptr && e->next != nullptr)
            e = e->next;
        return e;
    }
    using ArcFields = std::tuple<double, double, double, double, double, int, int, int, int>;
    std::vector<ArcFields> Drawing() const {
        std::vector<ArcFields> all;
        for (ArcRecord* e = doc->arcHead->next; e != nullptr; e = e->next)
            all.emplace_back(e->cx, e->cy, e->radius, e->startAngle, e->endAngle, e->layer, e->pen,
                             e->lineType, e->group);
        return all;
    }
    // Lines along y = 0 and x = 0, a short one along y = 60, three circles of radius 10 whose
    // centres make a triangle of side 40.
    void Scene() {
        Draw(0, 0, 200, 0);
        Draw(0, 0, 0, 100);
        Draw(0, 60, 100, 60);
        DrawCircle(150, 30, 10);
        DrawCircle(190, 30, 10);
        DrawCircle(170, 30 + 20 * std::sqrt(3.0), 10);
    }
    std::string LastMessage() const {
        return RecordedAlerts().empty() ? "" : RecordedAlerts().back().params[0];
    }
};

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

TEST_F(CircleToolsGui, EverySubToolOfBothGroups) {
    struct Row {
        int group, tool;
        const char* what;
        std::vector<Input> input;
        double cx, cy, r, start, end; // NaN: not checked
        double tol;
    };
    const double h = 30 + 20 * std::sqrt(3.0);
    const double inner = 40 / std::sqrt(3.0) - 10, middleY = 30 + 20 / std::sqrt(3.0);
    const double startOf1 = std::atan2(-15.0, -20.0) * 180 / M_PI + 360,
                 endOf1 = std::atan2(-15.0, 20.0) * 180 / M_PI + 360;
    const Row rows[] = {
        {1, 0, "centre and a typed radius", {At(50, 150), Typed("20")}, 50, 150, 20, 0, 360, 1e-9},
        {1, 0, "centre and a point on the circle", {At(50, 150), At(50, 180)}, 50, 150, 30, 0, 360, 1e-9},
        {1,
         1,
         "two points, the side, a radius",
         {At(10, 100), At(50, 100), At(30, 150), Typed("25")},
         30,
         115,
         25,
         0,
         360,
         1e-9},
        {1, 2, "diameter", {At(20, 100), At(60, 100)}, 40, 100, 20, 0, 360, 1e-9},
        {1, 3, "three points", {At(20, 100), At(60, 100), At(40, 120)}, 40, 100, 20, 0, 360, 1e-9},
        {1,
         4,
         "touching a line, through a point",
         {At(50, 0), At(50, 20), Typed("10")},
         50,
         10,
         10,
         0,
         360,
         1e-9},
        {1, 5, "touching two lines", {At(40, 0), At(0, 40), Typed("10")}, 10, 10, 10, 0, 360, 1e-9},
        {1, 6, "touching three lines", {At(40, 0), At(0, 40), At(40, 60)}, 30, 30, 30, 0, 360, 1e-9},
        {1,
         4,
         "touching a circle, through a point",
         {At(150, 40), At(160, 55), Typed("10")},
         151.36691527787804,
         49.95323388884878,
         10,
         0,
         360,
         1e-9},
        {1,
         5,
         "touching two circles",
         {At(153, 39.5), At(187, 39.5), Typed("15")},
         170,
         45,
         15,
         0,
         360,
         1e-9},
        {1, 6, "circle, then two parallels", {At(140, 30), At(90, 0), At(90, 60)}, 110, 30, 30, 0, 360, 1e-9},
        {1, 6, "parallel, circle, parallel", {At(90, 0), At(140, 30), At(90, 60)}, 110, 30, 30, 0, 360, 1e-9},
        {1,
         6,
         "two circles, then a line",
         {At(155, 21.5), At(185, 21.5), At(170, 0)},
         170,
         15,
         15,
         0,
         360,
         1e-9},
        {1,
         6,
         "a line, then two circles",
         {At(170, 0), At(155, 21.5), At(185, 21.5)},
         170,
         15,
         15,
         0,
         360,
         1e-9},
        {1, 6, "circle, line, circle", {At(155, 21.5), At(170, 0), At(185, 21.5)}, 170, 15, 15, 0, 360, 1e-9},
        {1,
         6,
         "touching two parallels and a circle",
         {At(90, 0), At(90, 60), At(140, 30)},
         110,
         30,
         30,
         0,
         360,
         1e-9},
        {1,
         6,
         "touching three circles",
         {At(159, 33), At(181, 33), At(170, h - 9)},
         170,
         middleY,
         inner,
         0,
         360,
         1e-2},
        {2,
         0,
         "arc: centre, radius, typed angles",
         {At(50, 150), Typed("20"), Typed("0"), Typed("90")},
         50,
         150,
         20,
         0,
         90,
         1e-9},
        {2,
         1,
         "arc from the first point to the second",
         {At(10, 100), At(50, 100), At(30, 150), Typed("25")},
         30,
         115,
         25,
         startOf1,
         endOf1,
         1e-9},
        {2,
         2,
         "arc: diameter, start by a click, end typed",
         {At(20, 100), At(60, 100), At(40, 130), Typed("180")},
         40,
         100,
         20,
         90,
         180,
         1e-9},
        {2,
         3,
         "arc: three points, end angle by a click",
         {At(20, 100), At(60, 100), At(40, 120), Typed("45"), At(10, 100)},
         40,
         100,
         20,
         45,
         180,
         1e-9},
        {2,
         4,
         "arc touching a line through a point",
         {At(50, 0), At(50, 20), Typed("10"), Typed("0"), Typed("180")},
         50,
         10,
         10,
         0,
         180,
         1e-9},
        {2,
         5,
         "arc touching two lines",
         {At(40, 0), At(0, 40), Typed("10"), Typed("180"), Typed("270")},
         10,
         10,
         10,
         180,
         270,
         1e-9},
        {2,
         6,
         "arc touching three lines",
         {At(40, 0), At(0, 40), At(40, 60), Typed("90"), Typed("270")},
         30,
         30,
         30,
         90,
         270,
         1e-9},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE("group " + std::to_string(r.group) + " tool " + std::to_string(r.tool) + ": " + r.what);
        FreshDocument();
        Scene();
        const int before = Arcs();
        Choose(r.group, r.tool);
        for (const Input& in : r.input) {
            if (in.text != nullptr)
                Type(in.text);
            else
                ClickAt(in.x, in.y);
        }
        ASSERT_EQ(Arcs(), before + 1);
        ArcRecord* a = LastArc();
        EXPECT_NEAR(a->cx, r.cx, r.tol);
        EXPECT_NEAR(a->cy, r.cy, r.tol);
        EXPECT_NEAR(a->radius, r.r, r.tol);
        EXPECT_NEAR(a->startAngle, r.start, 1e-6);
        EXPECT_NEAR(a->endAngle, r.end, 1e-6);
        EXPECT_EQ(Step(), 0);
        SaveWindowPNG(doc->window,
                      "circle-tools-" + std::to_string(r.group) + "-" + std::to_string(r.tool) + ".png");
    }
}

TEST_F(CircleToolsGui, EscapeMidwayThenUndoAndRedoExactly) {
    Scene();
    Choose(2, 0);
    ClickAt(50, 150);
    Type("20");
    ASSERT_EQ(Step(), 3);
    Key(kKeyCodeEscape, kEscapeCharCode); // abandoned at the start angle: nothing made
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Arcs(), 3);

    Choose(1, 2);
    ClickAt(20, 100);
    ClickAt(60, 100);
    const auto before = Drawing();
    Choose(2, 3);
    ClickAt(20, 100);
    ClickAt(60, 100);
    ClickAt(40, 120);
    Type("10");
    Type("100");
    const auto after = Drawing();
    ASSERT_EQ(after.size(), before.size() + 1);

    // Redo puts the arc back at the head of its list: the same drawing, in another order.
    auto sorted = [](std::vector<ArcFields> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 1));
    RunLoop();
    EXPECT_EQ(sorted(Drawing()), sorted(before));
    ASSERT_TRUE(ChooseMenuItem(kEditMenu, 2));
    RunLoop();
    EXPECT_EQ(sorted(Drawing()), sorted(after));
}

// The side is chosen by a free click; the user's snap mode is back at once, and also after an
// Escape while the free click is awaited.
TEST_F(CircleToolsGui, SnapModeComesBackAfterTheFreeSideClick) {
    Scene();
    doc->settings->snapMode = 2; // element points: ends, middles, centres
    Choose(1, 1);
    ClickAt(99, 1);  // the middle of the bottom line
    ClickAt(51, 59); // the middle of the short line
    ASSERT_EQ(Step(), 2);
    EXPECT_EQ(doc->settings->snapMode, 0);
    ClickAt(30, 20); // free: no element point near
    EXPECT_EQ(doc->settings->snapMode, 2);
    ASSERT_EQ(Step(), 3);
    Type("40");
    ASSERT_EQ(Arcs(), 4);
    ArcRecord* a = LastArc();
    EXPECT_NEAR(std::hypot(a->cx - 100, a->cy), 40, 1e-9);
    EXPECT_NEAR(std::hypot(a->cx - 50, a->cy - 60), 40, 1e-9);
    EXPECT_LT(a->cy, 30); // the side of the free click

    ClickAt(99, 1);
    ClickAt(51, 59);
    EXPECT_EQ(doc->settings->snapMode, 0);
    Key(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_EQ(doc->settings->snapMode, 2);
    EXPECT_EQ(Step(), 0);
}

// A radius is typed in display units and remembered so: Return takes what the field shows, and
// Return on a field emptied by the user takes the remembered radius too; the same for the angles.
TEST_F(CircleToolsGui, ReturnTakesTheRememberedRadiusAndAngles) {
    doc->settings->drawingScale = 2; // a typed 10 is 20 mm
    Choose(1, 0);
    ClickAt(50, 150);
    Type("10");
    ClickAt(100, 150);
    Type(""); // the field shows 10
    ClickAt(150, 150);
    for (int i = 0; i < 4; ++i)
        Key(kKeyCodeDelete, kBackspaceCharCode);
    Type(""); // emptied
    ASSERT_EQ(Arcs(), 3);
    for (ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
        EXPECT_NEAR(a->radius, 20, 1e-9);

    Choose(2, 0);
    ClickAt(50, 100);
    Type("");
    Type("30");
    Type("120");
    ClickAt(100, 100);
    Type("");
    for (int i = 0; i < 4; ++i)
        Key(kKeyCodeDelete, kBackspaceCharCode);
    Type("");
    Type("");
    ASSERT_EQ(Arcs(), 5);
    for (ArcRecord* a = doc->arcHead->next->next->next->next; a != nullptr; a = a->next) {
        SCOPED_TRACE(a->cx);
        EXPECT_NEAR(a->radius, 20, 1e-9);
        EXPECT_NEAR(a->startAngle, 30, 1e-9);
        EXPECT_NEAR(a->endAngle, 120, 1e-9);
    }
}

// A dashed circle of radius 1 km, typed, crosses the window as chords: its row shows dashes of the
// line pattern, not one line and not nothing.
TEST_F(CircleToolsGui, ADashedCircleFarBiggerThanTheWindowShowsItsDashes) {
    doc->settings->currentLineType = 2;
    Choose(1, 0);
    Type("100,-1000000");
    Type("1000040"); // its top at y = 40
    ASSERT_EQ(Arcs(), 1);
    RedrawWindow(doc);
    RunLoop();
    SaveWindowPNG(doc->window, "dashed-circle-as-chords.png");
    const DrawingRecord* d = doc->drawing;
    const SInt16 v = SInt16(d->view.viewHeight - std::lround(40 / d->view.unitsPerPixel));
    const RGBColor bg = doc->settings->backgroundColor;
    auto inked = [&](SInt16 h) {
        for (SInt16 dv = -1; dv <= 1; ++dv) {
            RGBColor c = GetPortPixel(GetWindowPort(doc->window), h, SInt16(v + dv));
            if ((c.red >> 8) != (bg.red >> 8) || (c.green >> 8) != (bg.green >> 8) ||
                (c.blue >> 8) != (bg.blue >> 8))
                return true;
        }
        return false;
    };
    int ink = 0, runs = 0;
    bool previous = false;
    const SInt16 width = SInt16(d->view.viewWidth - 2);
    for (SInt16 h = 0; h < width; ++h) {
        bool now = inked(h);
        ink += now;
        runs += now && !previous;
        previous = now;
    }
    EXPECT_GE(runs, width / 50 - 2);
    EXPECT_GT(ink, width * 3 / 4);
    EXPECT_LT(ink, width * 19 / 20);
}

TEST_F(CircleToolsGui, ARadiusOfNothingIsRefused) {
    Str255 text;
    GetIndString(text, 128, 168);
    const std::string message = ToStd(text);
    // The message comes while the click's button is still down: OK answers it.
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    struct Row {
        int group, tool;
        const char* what;
        std::vector<Input> input;
        int step; // where the tool stays
    };
    const Row rows[] = {
        {1, 0, "clicked at the centre", {At(50, 150), At(50, 150)}, 1},
        {1, 0, "a typed 0", {At(50, 150), Typed("0")}, 1},
        {1, 0, "a negative radius", {At(50, 150), Typed("-3")}, 1},
        {1, 2, "the two ends of the diameter on one point", {At(20, 100), At(20, 100)}, 1},
        {2, 1, "two points and a radius of 0", {At(10, 100), At(50, 100), At(30, 150), Typed("0")}, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FreshDocument();
        Choose(r.group, r.tool);
        ClearRecordedAlerts();
        for (const Input& in : r.input) {
            if (in.text != nullptr)
                Type(in.text);
            else
                ClickAt(in.x, in.y);
        }
        EXPECT_EQ(LastMessage(), message);
        EXPECT_EQ(Step(), r.step);
        EXPECT_EQ(Arcs(), 0);
    }
}

// Two points farther apart than twice the radius: message 8 and nothing made; a tangent solver
// that finds nothing says so and starts the tool again.
TEST_F(CircleToolsGui, NoCircleFitsTheInput) {
    Scene();
    struct Row {
        int group, tool;
        std::vector<Input> input;
        SInt16 message;
    };
    const Row rows[] = {
        {1, 1, {At(10, 100), At(50, 100), At(30, 150), Typed("5")}, 8},
        {1, 5, {At(40, 0), At(40, 60), Typed("5")}, 68}, // parallels 60 apart
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.message);
        Choose(r.group, r.tool);
        ClearRecordedAlerts();
        for (const Input& in : r.input) {
            if (in.text != nullptr)
                Type(in.text);
            else
                ClickAt(in.x, in.y);
        }
        Str255 text;
        GetIndString(text, 128, r.message);
        EXPECT_EQ(LastMessage(), ToStd(text));
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Arcs(), 3);
    }
}

} // namespace
