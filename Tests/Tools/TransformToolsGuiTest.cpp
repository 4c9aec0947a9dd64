// The transform tools end to end: points clicked, rectangles dragged, offsets, angles, counts and
// answers typed, through the program's own loop. Each change is one undo step; undo and redo give
// exactly the drawing before and after it.
#include "MessageCapture.h"
#include "Model/ElementLists.h"
#include "Model/Transform.h"
#include "ToolGuiFixture.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class TransformToolsGui : public ToolGuiTest {
  protected:
    void ChooseTransformTool(int tool) { ChooseGroupTool(6, tool); }
    // Every line, arc and dimension point; exact for undo, rounded (and each line's ends in one
    // order) for what a row expects.
    std::vector<std::string> Drawing(bool exact = true) const {
        std::vector<std::string> all;
        char text[256];
        auto v = [&](double x) { return exact ? x : std::round(x * 1e4) / 1e4 + 0.0; };
        const char* f = exact ? "%.17g" : "%g";
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next) {
            double a[4] = {v(l->x1), v(l->y1), v(l->x2), v(l->y2)};
            if (!exact && std::make_pair(a[2], a[3]) < std::make_pair(a[0], a[1]))
                std::swap(a[0], a[2]), std::swap(a[1], a[3]);
            std::string fmt = std::string("L ") + f + " " + f + " " + f + " " + f + " g%d";
            std::snprintf(text, sizeof text, fmt.c_str(), a[0], a[1], a[2], a[3], l->group);
            all.push_back(text);
        }
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next) {
            std::string fmt = std::string("A ") + f + " " + f + " " + f + " " + f + " " + f;
            std::snprintf(text, sizeof text, fmt.c_str(), v(a->cx), v(a->cy), v(a->radius), v(a->startAngle),
                          v(a->endAngle));
            all.push_back(text);
        }
        for (const DimensionRecord* m = doc->dimensionHead->next; m != nullptr; m = m->next) {
            std::string fmt = std::string("D ") + f + " " + f + " " + f + " " + f;
            std::snprintf(text, sizeof text, fmt.c_str(), v(m->x1), v(m->y1), v(m->x2), v(m->y2));
            all.push_back(text);
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    static std::string L(double x1, double y1, double x2, double y2, int group = 0) {
        char text[128];
        if (std::make_pair(x2, y2) < std::make_pair(x1, y1)) std::swap(x1, x2), std::swap(y1, y2);
        std::snprintf(text, sizeof text, "L %g %g %g %g g%d", x1 + 0.0, y1 + 0.0, x2 + 0.0, y2 + 0.0, group);
        return text;
    }
    static std::string A(double cx, double cy, double r, double s, double e) {
        char text[128];
        std::snprintf(text, sizeof text, "A %g %g %g %g %g", cx + 0.0, cy + 0.0, r, s, e);
        return text;
    }
    void ExpectDrawing(std::vector<std::string> expected) {
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Drawing(false), expected);
    }
    int Selected() const {
        int n = 0;
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            n += l->selected ? 1 : 0;
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            n += a->selected ? 1 : 0;
        return n;
    }
    LineRecord* LineAt(int index) const {
        LineRecord* e = doc->lineHead->next;
        for (int i = 0; e != nullptr && i < index; ++i)
            e = e->next;
        return e;
    }
};

struct Row {
    const char* what;
    int tool;
    std::vector<std::array<double, 5>> lines; // x1, y1, x2, y2, key
    std::vector<std::array<double, 5>> arcs;
    std::vector<GuiAction> actions;
    std::vector<std::string> after;
};

const double kRoot = std::sqrt(0.5);

std::vector<Row> Rows() {
    auto L = [](double x1, double y1, double x2, double y2, int g = 0) {
        char text[128];
        if (std::make_pair(x2, y2) < std::make_pair(x1, y1)) std::swap(x1, x2), std::swap(y1, y2);
        std::snprintf(text, sizeof text, "L %g %g %g %g g%d", x1 + 0.0, y1 + 0.0, x2 + 0.0, y2 + 0.0, g);
        return std::string(text);
    };
    auto A = [](double cx, double cy, double r, double s, double e) {
        char text[128];
        std::snprintf(text, sizeof text, "A %g %g %g %g %g", cx + 0.0, cy + 0.0, r, s, e);
        return std::string(text);
    };
    return {
        {"move by two points, in place",
         0,
         {{20, 20, 40, 20, 0}},
         {},
         {Click(20, 20), Click(30, 30), Click(30, 20), Typed("0")},
         {L(30, 30, 50, 30)}},
        {"move by two points, two copies each made from the one before",
         0,
         {{20, 20, 40, 20, 0}},
         {{60, 60, 5, 0, 90}},
         {Click(20, 20), Click(30, 30), Click(30, 20), Click(65, 60), Typed("2")},
         {L(20, 20, 40, 20), L(30, 30, 50, 30), L(40, 40, 60, 40), A(60, 60, 5, 0, 90), A(70, 70, 5, 0, 90),
          A(80, 80, 5, 0, 90)}},
        {"move by a typed offset",
         1,
         {{20, 20, 40, 20, 0}, {20, 50, 40, 50, 0}},
         {},
         {Typed("5,-10"), Click(30, 20), Typed("0")},
         {L(25, 10, 45, 10), L(20, 50, 40, 50)}},
        {"rotated copies about a centre",
         2,
         {{100, 100, 120, 100, 0}},
         {},
         {Click(100, 100), Typed("90"), Click(110, 100), Typed("3")},
         {L(100, 100, 120, 100), L(100, 100, 100, 120), L(80, 100, 100, 100), L(100, 80, 100, 100)}},
        {"rotation by a picked line's direction",
         2,
         {{100, 100, 120, 100, 0}, {0, 0, 10, 10, 0}},
         {},
         {Click(100, 100), Click(5, 5), Click(110, 100), Typed("0")},
         {L(100, 100, 100 + 20 * kRoot, 100 + 20 * kRoot), L(0, 0, 10, 10)}},
        {"copies along a circle keep their direction",
         3,
         {{110, 100, 114, 100, 0}},
         {},
         {Click(100, 100), Click(110, 100), Typed("90"), Click(112, 100), Typed("2")},
         {L(110, 100, 114, 100), L(100, 110, 104, 110), L(90, 100, 94, 100)}},
        {"a mirror count of 5 makes one mirrored copy",
         4,
         {{100, 80, 100, 120, 0}, {105, 100, 115, 100, 0}},
         {{120, 100, 5, 0, 90}},
         {Click(100, 90), Click(110, 100), Click(125, 100), Typed("5")},
         {L(100, 80, 100, 120), L(105, 100, 115, 100), L(85, 100, 95, 100), A(120, 100, 5, 0, 90),
          A(80, 100, 5, 90, 180)}},
        {"mirror in place",
         4,
         {{100, 80, 100, 120, 0}, {105, 100, 115, 100, 0}},
         {},
         {Click(100, 90), Click(110, 100), Typed("0")},
         {L(100, 80, 100, 120), L(85, 100, 95, 100)}},
        {"stretch moves the points inside the rectangle, edges included",
         5,
         {{20, 20, 60, 20, 0}, {60, 20, 60, 60, 0}, {20, 60, 60, 60, 0}},
         {},
         // The rectangle's left edge passes through (50, 20)..(50, 60): the third line's end on it
         // does not lie there, the first two are picked by rectangle and click.
         {Drag(50, 10, 70, 70), Click(30, 20), Click(30, 60), Typed("0,0"), Typed("10,0")},
         {L(20, 20, 70, 20), L(70, 20, 70, 60), L(20, 60, 70, 60)}},
        {"scale about a centre",
         6,
         {{110, 100, 120, 100, 0}},
         {{100, 110, 5, 0, 360}},
         {Click(100, 100), Click(115, 100), Click(105, 110), Typed("2")},
         {L(120, 100, 140, 100), A(100, 120, 10, 0, 360)}},
        {"a scale factor of 0 is 1",
         6,
         {{110, 100, 120, 100, 0}},
         {},
         {Click(100, 100), Click(115, 100), Typed("0")},
         {L(110, 100, 120, 100)}},
        {"G keeps the user's selection, key 0 too, and adds the key groups",
         1,
         {{20, 20, 40, 20, 0},
          {20, 30, 40, 30, 3},
          {20, 40, 40, 40, 3},
          {20, 50, 40, 50, 0},
          {20, 60, 40, 60, 4}},
         {},
         {Typed("0,5"), Click(30, 20), Click(30, 30), Typed("0"), Typed("G")},
         {L(20, 25, 40, 25), L(20, 35, 40, 35, 3), L(20, 45, 40, 45, 3), L(20, 50, 40, 50),
          L(20, 60, 40, 60, 4)}},
        {"E moves the selected elements only",
         1,
         {{20, 20, 40, 20, 0}, {20, 30, 40, 30, 3}, {20, 40, 40, 40, 3}},
         {},
         {Typed("0,5"), Click(30, 30), Typed("0"), Typed("e")},
         {L(20, 20, 40, 20), L(20, 35, 40, 35, 3), L(20, 40, 40, 40, 3)}},
    };
}

TEST_F(TransformToolsGui, EveryToolThenUndoAndRedo) {
    const std::vector<Row> rows = Rows();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FreshDocument();
        for (const auto& l : r.lines) {
            Draw(l[0], l[1], l[2], l[3]);
            Last()->group = SInt16(l[4]);
        }
        for (const auto& a : r.arcs) {
            BeginUndoStep(doc);
            AddArc(doc, a[0], a[1], a[2], a[3], a[4]);
            EndUndoStep(doc);
        }
        RedrawWindow(doc);
        ChooseTransformTool(r.tool);
        SnapMode(0);
        const std::vector<std::string> before = Drawing();
        const SInt16 steps = doc->drawing->undo.undoStepCount;
        MessageCapture messages;
        for (const GuiAction& a : r.actions)
            Act(a);
        ExpectDrawing(r.after);
        EXPECT_EQ(Step(), r.tool == 4 ? 1 : 0);
        EXPECT_EQ(Selected(), 0);
        EXPECT_EQ(messages.Count(), 0u);
        EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
        const std::vector<std::string> after = Drawing();
        Undo();
        EXPECT_EQ(Drawing(), before);
        Redo();
        EXPECT_EQ(Drawing(), after);
        SaveWindowPNG(doc->window,
                      std::string("transform-tools-") + std::to_string(&r - rows.data()) + ".png");
    }
}

// Escape after any step leaves the drawing as it was, nothing selected, the tool at its first step
// and the snap mode as the user set it.
TEST_F(TransformToolsGui, EscapeAtEveryStepChangesNothing) {
    const std::vector<Row> rows = Rows();
    for (const Row& r : rows) {
        for (size_t stop = 1; stop < r.actions.size(); ++stop) {
            SCOPED_TRACE(std::string(r.what) + ", Escape after action " + std::to_string(stop));
            FreshDocument();
            for (const auto& l : r.lines) {
                Draw(l[0], l[1], l[2], l[3]);
                Last()->group = SInt16(l[4]);
            }
            ChooseTransformTool(r.tool);
            SnapMode(1);
            const std::vector<std::string> before = Drawing();
            for (size_t i = 0; i < stop; ++i)
                Act(r.actions[i]);
            Key(kKeyCodeEscape, kEscapeCharCode);
            EXPECT_EQ(Step(), 0);
            EXPECT_EQ(Drawing(), before);
            EXPECT_EQ(Selected(), 0);
            EXPECT_EQ(doc->settings->snapMode, 1);
        }
    }
}

// Turning a key group that a dimension belongs to asks for the confirmation word first; any other
// answer leaves everything as it was.
TEST_F(TransformToolsGui, RotatingAKeyGroupWithADimensionAsksFirst) {
    struct Case {
        const char* answer;
        bool turned;
    };
    for (const Case c : {Case{"no", false}, Case{"YES", true}, Case{"yes", true}, Case{"ye", false}}) {
        SCOPED_TRACE(c.answer);
        FreshDocument();
        Draw(110, 100, 120, 100);
        Last()->group = 5;
        DimensionRecord* dim = nullptr;
        NewDimensionElement(doc, &dim);
        ASSERT_NE(dim, nullptr);
        dim->group = 5;
        dim->x1 = 110, dim->y1 = 100, dim->x2 = 120, dim->y2 = 100;
        dim->next = doc->dimensionHead->next;
        doc->dimensionHead->next = dim;
        ChooseTransformTool(2);
        SnapMode(0);
        const std::vector<std::string> before = Drawing();
        ClickAt(100, 100);
        Type("90");
        ClickAt(115, 100);
        Type("0");
        Type("G");
        ASSERT_EQ(Step(), 5);
        Type(c.answer);
        EXPECT_EQ(Step(), 0);
        if (c.turned) {
            ExpectDrawing({L(100, 110, 100, 120, 5), "D 100 110 100 120"});
        } else {
            EXPECT_EQ(Drawing(), before);
        }
        EXPECT_EQ(Selected(), 0);
    }
}

} // namespace
