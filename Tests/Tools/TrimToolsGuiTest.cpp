// The cut, fillet, chamfer, split and join tools end to end: clicks at drawing points, rectangles
// dragged, values typed into the command field and keys, through the program's own loop; each use
// is one undo step, and undo and redo give exactly the drawing before and after it.
#include "MessageCapture.h"
#include "Model/Selection.h"
#include "Model/Symbols.h"
#include "ToolGuiFixture.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

class TrimToolsGui : public ToolGuiTest {
  protected:
    void ChooseTrimTool(int tool) { ChooseGroupTool(5, tool); }
    // Every line and arc with its attributes, in an order undo cannot change.
    std::vector<std::string> Drawing() const {
        std::vector<std::string> all;
        char text[256];
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next) {
            std::snprintf(text, sizeof text, "L %.9g %.9g %.9g %.9g f%u l%d p%d t%d g%d", l->x1, l->y1, l->x2,
                          l->y2, l->flags, l->layer, l->pen, l->lineType, l->group);
            all.push_back(text);
        }
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next) {
            std::snprintf(text, sizeof text, "A %.9g %.9g %.9g %.9g %.9g l%d p%d t%d g%d", a->cx, a->cy,
                          a->radius, a->startAngle, a->endAngle, a->layer, a->pen, a->lineType, a->group);
            all.push_back(text);
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    static std::string L(double x1, double y1, double x2, double y2) {
        char text[128];
        std::snprintf(text, sizeof text, "L %.9g %.9g %.9g %.9g f0 l", x1, y1, x2, y2);
        return text;
    }
    static std::string A(double cx, double cy, double r, double s, double e) {
        char text[128];
        std::snprintf(text, sizeof text, "A %.9g %.9g %.9g %.9g %.9g l", cx, cy, r, s, e);
        return text;
    }
    // The drawing holds elements starting with each text, and as many elements in all.
    void ExpectDrawing(const std::vector<std::string>& expected) {
        const std::vector<std::string> now = Drawing();
        bool ok = now.size() == expected.size();
        for (const std::string& e : expected)
            ok &=
                std::any_of(now.begin(), now.end(), [&](const std::string& n) { return n.rfind(e, 0) == 0; });
        if (ok) return;
        std::string text;
        for (const std::string& n : now)
            text += "\n  " + n;
        ADD_FAILURE() << "the drawing is" << text;
    }
};

struct Action {
    enum Kind { click, drag, type, key } kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    const char* text = nullptr;
};
Action Click(double x, double y) {
    return {Action::click, x, y};
}
Action Drag(double x1, double y1, double x2, double y2) {
    return {Action::drag, x1, y1, x2, y2};
}
Action Typed(const char* text) {
    return {Action::type, 0, 0, 0, 0, text};
}

// Every sub-tool by clicks and typed values on its own small drawing: the result, one undo step
// that gives back exactly the drawing before, redo the drawing after, and no message on the way.
TEST_F(TrimToolsGui, EverySubToolThenUndoAndRedo) {
    struct Row {
        const char* what;
        int tool;
        int snap;
        std::vector<std::array<double, 4>> lines;
        std::vector<std::array<double, 5>> arcs;
        std::vector<Action> actions;
        std::vector<std::string> after;
        int steps; // undo steps made
    };
    const std::vector<Row> rows = {
        {"cut to a line",
         0,
         1,
         {{50, 0, 50, 100}, {0, 20, 100, 20}},
         {},
         {Click(50, 60), Click(80, 20)},
         {L(50, 0, 50, 100), L(50, 20, 100, 20)},
         1},
        {"extend to a line",
         0,
         1,
         {{50, 0, 50, 100}, {0, 40, 30, 40}},
         {},
         {Click(50, 60), Click(10, 40)},
         {L(50, 0, 50, 100), L(0, 40, 50, 40)},
         1},
        {"cut back to a point",
         0,
         0,
         {{0, 20, 100, 20}},
         {},
         {Click(30, 70), Click(80, 20)},
         {L(30, 20, 100, 20)},
         1},
        {"cut to a circle",
         0,
         1,
         {{0, 50, 100, 50}},
         {{50, 50, 20, 0, 360}},
         {Click(50, 70), Click(90, 50)},
         {L(70, 50, 100, 50), A(50, 50, 20, 0, 360)},
         1},
        {"cut an arc to a line, keeping the clicked part",
         0,
         1,
         {{50, 0, 50, 100}},
         {{50, 50, 20, 0, 180}},
         {Click(50, 85), Click(50 - 20 * std::sqrt(0.5), 50 + 20 * std::sqrt(0.5))},
         {L(50, 0, 50, 100), A(50, 50, 20, 90, 180)},
         1},
        {"cut every line of a rectangle, the edge left alone",
         0,
         1,
         {{50, 0, 50, 100}, {10, 10, 100, 10}, {10, 20, 100, 20}, {10, 60, 100, 60}, {80, 12, 80, 30}},
         {},
         {Click(50, 80), Drag(5, 5, 105, 35)},
         // The line parallel to the edge cannot be cut: it stays, and no message stops the others.
         {L(50, 0, 50, 100), L(10, 10, 50, 10), L(10, 20, 50, 20), L(10, 60, 100, 60), L(80, 12, 80, 30)},
         1},
        {"fillet two lines, both trimmed",
         1,
         0,
         {{20, 20, 100, 20}, {20, 20, 20, 100}},
         {},
         {Click(60, 20), Click(20, 60), Typed("10,2")},
         {L(30, 20, 100, 20), L(20, 30, 20, 100), A(30, 30, 10, 180, 270)},
         1},
        {"fillet of radius 0: a sharp corner",
         1,
         0,
         {{0, 20, 100, 20}, {40, 0, 40, 100}},
         {},
         {Click(80, 20), Click(40, 60), Typed("0,2")},
         {L(40, 20, 100, 20), L(40, 20, 40, 100)},
         1},
        {"chamfer at 45 degrees",
         2,
         0,
         {{20, 20, 100, 20}, {20, 20, 20, 100}},
         {},
         {Click(60, 20), Click(20, 60), Typed("5,45,2")},
         {L(25, 20, 100, 20), L(20, 25, 20, 100), L(20, 25, 25, 20)},
         1},
        {"split at a line",
         3,
         1,
         {{50, 0, 50, 100}, {0, 20, 100, 20}},
         {},
         {Click(50, 60), Click(80, 20)},
         {L(50, 0, 50, 100), L(0, 20, 50, 20), L(50, 20, 100, 20)},
         1},
        {"split at a point",
         3,
         0,
         {{0, 20, 100, 20}},
         {},
         {Click(30, 70), Click(80, 20)},
         {L(0, 20, 30, 20), L(30, 20, 100, 20)},
         1},
        {"split a rectangle's lines at a point: one it misses is left without a message",
         3,
         0,
         {{10, 10, 100, 10}, {60, 20, 100, 20}},
         {},
         {Click(30, 70), Drag(5, 5, 105, 25)},
         {L(10, 10, 30, 10), L(30, 10, 100, 10), L(60, 20, 100, 20)},
         1},
        {"split every line of a rectangle once",
         3,
         1,
         {{50, 0, 50, 100}, {10, 10, 100, 10}, {10, 20, 100, 20}, {10, 30, 100, 30}},
         {},
         {Click(50, 80), Drag(5, 5, 105, 35)},
         {L(50, 0, 50, 100), L(10, 10, 50, 10), L(50, 10, 100, 10), L(10, 20, 50, 20), L(50, 20, 100, 20),
          L(10, 30, 50, 30), L(50, 30, 100, 30)},
         1},
        {"split each line of a rectangle once at a circle it crosses twice",
         3,
         1,
         {{10, 45, 100, 45}, {10, 50, 100, 50}},
         {{50, 50, 20, 0, 360}},
         {Click(50, 70), Drag(5, 43, 105, 57)},
         {L(10, 45, 50 - std::sqrt(375.0), 45), L(50 - std::sqrt(375.0), 45, 100, 45), L(10, 50, 30, 50),
          L(30, 50, 100, 50), A(50, 50, 20, 0, 360)},
         1},
        {"join two lines on one line",
         4,
         0,
         {{0, 20, 40, 20}, {60, 20, 100, 20}},
         {},
         {Click(20, 20), Click(80, 20)},
         {L(0, 20, 100, 20)},
         1},
        {"join an arc with itself",
         4,
         0,
         {},
         {{50, 50, 20, 0, 90}},
         {Click(50 + 20 * std::sqrt(0.5), 50 + 20 * std::sqrt(0.5)),
          Click(50 + 20 * std::sqrt(0.5), 50 + 20 * std::sqrt(0.5))},
         {A(50, 50, 20, 0, 360)},
         1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        FreshDocument();
        for (const auto& l : r.lines)
            Draw(l[0], l[1], l[2], l[3]);
        for (const auto& a : r.arcs) {
            BeginUndoStep(doc);
            AddArc(doc, a[0], a[1], a[2], a[3], a[4]);
            EndUndoStep(doc);
        }
        RedrawWindow(doc);
        ChooseTrimTool(r.tool);
        SnapMode(r.snap);
        const std::vector<std::string> before = Drawing();
        const SInt16 steps = doc->drawing->undo.undoStepCount;
        MessageCapture messages;
        for (const Action& a : r.actions) {
            if (a.kind == Action::click) ClickAt(a.x1, a.y1);
            if (a.kind == Action::drag) DragFrom(a.x1, a.y1, a.x2, a.y2);
            if (a.kind == Action::type) Type(a.text);
        }
        ExpectDrawing(r.after);
        EXPECT_EQ(messages.Count(), 0u);
        EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + r.steps);
        const std::vector<std::string> after = Drawing();
        Undo();
        EXPECT_EQ(Drawing(), before);
        Redo();
        EXPECT_EQ(Drawing(), after);
        std::string name = std::string("trim-tools-") + std::to_string(&r - rows.data()) + ".png";
        SaveWindowPNG(doc->window, name);
    }
}

TEST_F(TrimToolsGui, EscapeInTheMiddleStartsTheToolAgain) {
    Draw(20, 20, 100, 20);
    Draw(20, 20, 20, 100);
    Draw(0, 60, 10, 60);
    ChooseTrimTool(1);
    ClickAt(0 + 5, 60); // the short line, then abandoned
    ASSERT_EQ(Step(), 1);
    Key(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_EQ(Step(), 0);
    EXPECT_FALSE(doc->lineHead->next->next->next->selected);
    ClickAt(60, 20);
    ClickAt(20, 60);
    Type("10,2");
    ExpectDrawing({L(30, 20, 100, 20), L(20, 30, 20, 100), L(0, 60, 10, 60), A(30, 30, 10, 180, 270)});
    // The values stay with the document and are offered again: Return takes them as shown.
    EXPECT_EQ(doc->drawing->tool->filletRadius, 10);
    EXPECT_EQ(doc->drawing->tool->filletTrimCount, 2);
    Draw(120, 20, 200, 20);
    Draw(120, 20, 120, 100);
    ClickAt(160, 20);
    ClickAt(120, 60);
    ASSERT_EQ(Step(), 2);
    Type("");
    EXPECT_EQ(Step(), 0);
    ExpectDrawing({L(30, 20, 100, 20), L(20, 30, 20, 100), L(0, 60, 10, 60), A(30, 30, 10, 180, 270),
                   L(130, 20, 200, 20), L(120, 30, 120, 100), A(130, 30, 10, 180, 270)});

    // Cut: the edge chosen, then Escape: the next click chooses a new edge.
    ChooseTrimTool(0);
    SnapMode(1);
    ClickAt(50, 20);
    ASSERT_EQ(Step(), 1);
    Key(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_EQ(Step(), 0);
    for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
        EXPECT_FALSE(l->selected);
}

// Two crossing lines are joined only when the answer starts with the first letter of the yes word,
// in either case.
TEST_F(TrimToolsGui, JoiningCrossingLinesAsksFirst) {
    struct Case {
        const char* answer;
        bool joined;
    };
    for (const Case& c : {Case{"no", false}, Case{"y", true}, Case{"YES", true}, Case{"x", false}}) {
        SCOPED_TRACE(c.answer);
        FreshDocument();
        Draw(0, 20, 40, 20);
        Draw(60, 0, 60, 10);
        ChooseTrimTool(4);
        const std::vector<std::string> before = Drawing();
        ClickAt(20, 20);
        ClickAt(60, 5);
        ASSERT_EQ(Step(), 2);
        Type(c.answer);
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Drawing() != before, c.joined);
    }
}

// One arc joined with itself becomes the full circle with all the arc had, not the current
// attributes.
TEST_F(TrimToolsGui, AnArcJoinedWithItselfKeepsItsAttributes) {
    BeginUndoStep(doc);
    ArcRecord* arc = AddArc(doc, 50, 50, 20, 0, 90);
    arc->layer = 7;
    arc->pen = 3;
    arc->lineType = 2;
    arc->group = 12;
    RecordUndoArc(doc, arc, true);
    EndUndoStep(doc);
    RedrawWindow(doc);
    ChooseTrimTool(4);
    const double at = 50 + 20 * std::sqrt(0.5);
    ClickAt(at, at);
    ClickAt(at, at);
    ExpectDrawing({"A 50 50 20 0 360 l7 p3 t2 g12"});
}

// The fillet between two arcs enables the Repairs item that turns it into its complement.
TEST_F(TrimToolsGui, TheRepairsItemTurnsTheArcFilletRound) {
    EXPECT_FALSE(ChooseMenuItem(kRepairsMenu, 6));
    DrawCircle(40, 50, 20);
    DrawCircle(100, 50, 20);
    ChooseTrimTool(1);
    ClickAt(40 + 20 * 0.8, 50 + 20 * 0.6);
    ClickAt(100 - 20 * 0.8, 50 + 20 * 0.6);
    Type("15,0");
    const std::vector<std::string> made = Drawing();
    ASSERT_EQ(made.size(), 3u);
    ASSERT_TRUE(ChooseMenuItem(kRepairsMenu, 6));
    RunLoop();
    const std::vector<std::string> turned = Drawing();
    EXPECT_NE(turned, made);
    Undo();
    EXPECT_EQ(Drawing(), made);
}

// An edge picked inside a symbol instance is its placed copy: lines are cut where the instance
// shows it, not where the definition keeps it.
TEST_F(TrimToolsGui, AnEdgeInsideASymbolIsCutAgainstWhereItIsPlaced) {
    Draw(0, 0, 0, 40); // the symbol's only line, kept at x = 0 in its definition
    DeselectAll(doc, true);
    SetSelectedFlag(doc->drawing, &doc->lineHead->next->selected, 1);
    const unsigned char name[] = {4, 'E', 'd', 'g', 'e'};
    SymbolDefRecord* def = CreateSymbolFromSelection(doc, 0, 0, name, false);
    ASSERT_NE(def, nullptr);
    BeginUndoStep(doc);
    ASSERT_NE(CreateSymbolInstance(doc, 50, 10, 0, 1, 1, def), nullptr); // shows it at x = 50
    EndUndoStep(doc);
    Draw(0, 30, 100, 30);
    RedrawWindow(doc);
    ChooseTrimTool(0);
    SnapMode(1);
    ClickAt(50, 45);
    ASSERT_EQ(Step(), 1);
    ClickAt(80, 30);
    ExpectDrawing({L(50, 30, 100, 30)});
}

} // namespace
