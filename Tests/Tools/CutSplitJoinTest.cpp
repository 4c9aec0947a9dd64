// Cutting, splitting and joining lines and arcs: the cut rules on plain values, and the element
// operations with their undo.
#include "../Model/DocumentFixture.h"
#include "Tools/CutSplitJoin.h"
#include "Model/DocSettings.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "MessageCapture.h"
#include "Model/UndoJournal.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

// Every order of the two ends and the feet of A and B along the line names exactly one change.
TEST(LineCut, EveryOrderOfTheFourPointsHasItsChange) {
    struct Group {
        const char* codes;
        const char* change; // the new first and second end: "1" "2" the old ends, "A" "B" the feet
    };
    const Group groups[] = {
        {"1342 2431 3142 2413", "1B"},
        {"1432 2341 3241 1423", "B2"},
        {"1234 4321 1324 4231 3124 4213", "1B"},
        {"2134 4312 2314 4132 3214 4123", "B2"},
        {"1243 3421", "BA"},
        {"2143 3412", "AB"},
    };
    int seen = 0;
    for (const Group& g : groups) {
        std::istringstream codes(g.codes);
        std::string code;
        while (codes >> code) {
            // Point k of the code sits at x = 10 * (its place in the code); all on the x axis.
            double x[5];
            for (int place = 0; place < 4; ++place)
                x[code[place] - '0'] = 10.0 * place;
            LineEnds line{x[1], 0, x[2], 0, 0};
            ASSERT_TRUE(CutLineEnds(line, x[3], 0, x[4], 0)) << code;
            auto at = [&](char c) { return c == '1' ? x[1] : c == '2' ? x[2] : c == 'A' ? x[3] : x[4]; };
            EXPECT_EQ(line.x1, at(g.change[0])) << code;
            EXPECT_EQ(line.x2, at(g.change[1])) << code;
            EXPECT_EQ(line.y1, 0);
            ++seen;
        }
    }
    EXPECT_EQ(seen, 24);
}

TEST(LineCut, EndsFlagsAndCollapse) {
    struct Case {
        const char* name;
        LineEnds line;
        double ax, ay, bx, by;
        LineEnds expected;
    };
    const Case cases[] = {
        {"cut inside keeps A's side", {0, 0, 10, 0, 0}, 2, 1, 5, -1, {0, 0, 5, 0, 0}},
        {"the other side", {0, 0, 10, 0, 0}, 8, 1, 5, -1, {5, 0, 10, 0, 0}},
        {"extended beyond the second end", {0, 0, 10, 0, 0}, 5, 0, 15, 0, {0, 0, 15, 0, 0}},
        {"extended beyond the first end", {0, 0, 10, 0, 0}, 5, 0, -5, 0, {-5, 0, 10, 0, 0}},
        {"both beyond: from B to A", {0, 0, 10, 0, 0}, 20, 0, 15, 0, {15, 0, 20, 0, 0}},
        {"cut exactly at an end changes nothing", {0, 0, 10, 0, 0}, 5, 0, 10, 0, {0, 0, 10, 0, 0}},
        {"the end cut loses its open flag", {0, 0, 10, 0, 3}, 2, 0, 5, 0, {0, 0, 5, 0, 1}},
        {"an end moved to A keeps it", {0, 0, 10, 0, 3}, 20, 0, 15, 0, {15, 0, 20, 0, 2}},
        {"collapse: former length again", {0, 0, 10, 0, 0}, 20, 0, 10, 0, {10, 0, 20, 0, 0}},
        {"collapse of a line open at its start", {0, 0, 10, 0, 1}, -20, 0, 0, 0, {-10, 0, 0, 0, 1}},
        {"steep line, sorted by y", {0, 0, 1, 10, 0}, 0.8, 8, 0.5, 5, {0.5, 5, 1, 10, 0}},
        {"pick and cut off the line use their feet", {0, 0, 0, 10, 0}, 3, 2, -4, 6, {0, 0, 0, 6, 0}},
    };
    for (const Case& c : cases) {
        LineEnds line = c.line;
        ASSERT_TRUE(CutLineEnds(line, c.ax, c.ay, c.bx, c.by)) << c.name;
        EXPECT_NEAR(line.x1, c.expected.x1, 1e-9) << c.name;
        EXPECT_NEAR(line.y1, c.expected.y1, 1e-9) << c.name;
        EXPECT_NEAR(line.x2, c.expected.x2, 1e-9) << c.name;
        EXPECT_NEAR(line.y2, c.expected.y2, 1e-9) << c.name;
        EXPECT_EQ(line.flags, c.expected.flags) << c.name;
    }
    LineEnds dot{3, 3, 3, 3, 0};
    EXPECT_FALSE(CutLineEnds(dot, 0, 0, 1, 1));
    LineEnds fine{0, 0, 10, 0, 0};
    EXPECT_FALSE(CutLineEnds(fine, kNaN, 0, 1, 1));
    EXPECT_EQ(fine.x2, 10);
}

TEST(ArcCut, AngularDistanceIsTheShorterWayRound) {
    const double cases[][3] = {{10, 350, 20},   {350, 10, 20},  {0, 180, 180}, {370, 10, 0},
                               {100, 200, 100}, {10, 200, 170}, {420, 30, 30}, {0, 360, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(AngularDistance(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(ArcCut, KeepsThePartHoldingAOrExtendsTheNearerEnd) {
    struct Case {
        const char* name;
        double s, e, a, b;
        bool ok;
        double s2, e2;
    };
    const Case cases[] = {
        {"full circle, A before B", 0, 360, 90, 180, true, 0, 180},
        {"full circle, A after B", 0, 360, 270, 180, true, 180, 360},
        {"cut inside, A below B", 0, 90, 30, 60, true, 0, 60},
        {"cut inside, A above B", 0, 90, 75, 60, true, 60, 90},
        {"extend the end", 0, 90, 80, 120, true, 0, 120},
        {"extend the start", 30, 90, 40, 10, true, 10, 90},
        {"arc through 0", 300, 60, 10, 30, true, 300, 30},
        {"arc through 0, cut before 0", 300, 60, 340, 320, true, 320, 60},
        // A lies 100 degrees past the end and 170 before the start: the end is the nearer one.
        {"the truly nearer end moves", 10, 100, 200, 190, true, 10, 190},
        {"the truly nearer start moves", 100, 190, 10, 20, true, 20, 190},
        {"nothing would be left", 30, 90, 10, 30, false, 30, 90},
    };
    for (const Case& c : cases) {
        double s = c.s, e = c.e;
        EXPECT_EQ(CutArcAngles(s, e, c.a, c.b) != 0, c.ok) << c.name;
        EXPECT_NEAR(s, c.s2, 1e-9) << c.name;
        EXPECT_NEAR(e, c.e2, 1e-9) << c.name;
    }
}

// The element operations on a document, each in an undo step as the tools open it.

namespace {

class CutSplitJoin : public DocumentTest {
  protected:
    // Every line and arc with all that undo must give back, in a fixed order.
    std::vector<std::string> Drawing() const {
        std::vector<std::string> all;
        char text[512];
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next) {
            std::snprintf(text, sizeof text, "L %.17g %.17g %.17g %.17g f%u g%d l%d p%d t%d %s s%.17g", l->x1,
                          l->y1, l->x2, l->y2, l->flags, l->group, l->layer, l->pen, l->lineType,
                          Pen(l->penBlock).c_str(), l->scaleFactor);
            all.push_back(text);
        }
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next) {
            std::snprintf(text, sizeof text, "A %.17g %.17g %.17g %.17g %.17g g%d l%d p%d t%d %s s%.17g",
                          a->cx, a->cy, a->radius, a->startAngle, a->endAngle, a->group, a->layer, a->pen,
                          a->lineType, Pen(a->penBlock).c_str(), a->scaleFactor);
            all.push_back(text);
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    static std::string Pen(const ElementPenAttributes& p) {
        std::ostringstream s;
        s << "c" << p.color.red << "," << p.color.green << "," << p.color.blue << " w" << p.penWidth100
          << " pat" << p.pattern << " pf" << p.penFlags;
        return s.str();
    }

    // Runs the operation in one undo step; then undo gives back the drawing before it and redo the
    // drawing after it, twice over, each as one step.
    template <typename Operation> void ExpectOneUndoStep(Operation operation) {
        const std::vector<std::string> before = Drawing();
        const SInt16 steps = doc->drawing->undo.undoStepCount;
        BeginUndoStep(doc);
        operation();
        EndUndoStep(doc);
        const std::vector<std::string> after = Drawing();
        ASSERT_NE(before, after);
        EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
        for (int round = 0; round < 2; ++round) {
            UndoLastStep(doc);
            EXPECT_EQ(Drawing(), before);
            RedoStep(doc);
            EXPECT_EQ(Drawing(), after);
        }
    }

    LineRecord* Line(double x1, double y1, double x2, double y2, UInt16 flags = 0) {
        BeginUndoStep(doc);
        LineRecord* line = AddLine(doc, x1, y1, x2, y2);
        line->flags |= flags;
        EndUndoStep(doc);
        return line;
    }
    ArcRecord* Arc(double cx, double cy, double r, double s, double e) {
        BeginUndoStep(doc);
        ArcRecord* arc = AddArc(doc, cx, cy, r, s, e);
        EndUndoStep(doc);
        return arc;
    }
    // Attributes that the current settings would not give a new element.
    template <typename T> static void Distinguish(T* e) {
        e->layer = 7;
        e->pen = 3;
        e->group = 12;
        e->lineType = 2;
        e->penBlock.color = RGBColor{0xFFFF, 0, 0};
        e->penBlock.penWidth100 = 70;
        e->penBlock.pattern = 4;
        e->scaleFactor = 2.5;
    }
    // The elements in list order, or sorted by where they start (undo puts elements back at the
    // front of their list, so after it only the sorted order means anything).
    std::vector<ArcRecord*> Arcs(bool sorted = true) const {
        std::vector<ArcRecord*> all;
        for (ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            all.push_back(a);
        if (sorted)
            std::sort(all.begin(), all.end(), [](auto a, auto b) { return a->startAngle < b->startAngle; });
        return all;
    }
    std::vector<LineRecord*> Lines(bool sorted = true) const {
        std::vector<LineRecord*> all;
        for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            all.push_back(l);
        if (sorted)
            std::sort(all.begin(), all.end(), [](auto a, auto b) {
                return std::tie(a->y1, a->x1, a->y2, a->x2) < std::tie(b->y1, b->x1, b->y2, b->x2);
            });
        return all;
    }
    void RemoveAllArcs() {
        for (ArcRecord* a : Arcs())
            RemoveArc(doc, a);
    }
};

} // namespace

TEST_F(CutSplitJoin, LineCutsAtPointsLinesAndCircles) {
    LineRecord* line = Line(0, 0, 10, 0, kLineOpenEnd);
    ExpectOneUndoStep([&] { CutLineBetweenPoints(doc, line, 2, 1, 5, 3); });
    line = doc->lineHead->next;
    EXPECT_EQ(line->x2, 5);
    EXPECT_EQ(line->flags & kLineOpenEnd, 0); // the cut end is an end now

    // Extended up to a crossing line; the pick keeps its side.
    const LineRecord* edge = Line(20, -5, 20, 5);
    ExpectOneUndoStep([&] { CutLineAtIntersection(doc, doc->lineHead->next, edge, 1, 0, 1); });
    EXPECT_EQ(doc->lineHead->next->x2, 20);

    // To a circle: of its two crossings the one nearer the pick.
    const ArcRecord* circle = Arc(10, 0, 4, 0, 360);
    ExpectOneUndoStep([&] { CutLineAtCircle(doc, doc->lineHead->next, circle, 1, 0, 1); });
    EXPECT_NEAR(doc->lineHead->next->x2, 6, 1e-9);
}

TEST_F(CutSplitJoin, LineCutsThatFindNoPointReportOnlyWithAlerts) {
    LineRecord* line = Line(0, 0, 10, 0);
    const LineRecord* parallel = Line(0, 5, 10, 5);
    const ArcRecord* far = Arc(50, 50, 1, 0, 360);
    const std::vector<std::string> before = Drawing();
    MessageCapture messages;
    CutLineAtIntersection(doc, line, parallel, 1, 0, 0);
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_TRUE(line->selected); // left highlighted for the user to see
    CutLineAtIntersection(doc, line, parallel, 1, 0, 1);
    EXPECT_EQ(messages.Last(), 10);
    CutLineAtCircle(doc, line, far, 1, 0, 1);
    EXPECT_EQ(messages.Last(), 11);
    EXPECT_EQ(Drawing(), before);
}

TEST_F(CutSplitJoin, ArcCuts) {
    ArcRecord* arc = Arc(0, 0, 10, 0, 360);
    // Keep-between on a full circle: the run between the crossings on the pick's side.
    const LineRecord* chord = Line(5, -20, 5, 20);
    ExpectOneUndoStep([&] { CutArcAtLine(doc, doc->arcHead->next, chord, 10, 0, 10, 0, 1, 1); });
    arc = doc->arcHead->next;
    EXPECT_NEAR(arc->startAngle, 300, 1e-9);
    EXPECT_NEAR(arc->endAngle, 60, 1e-9);

    // Without keep-between the crossing nearer R cuts, keeping A's side.
    ExpectOneUndoStep([&] { CutArcAtLine(doc, doc->arcHead->next, Line(0, -20, 0, 20), 9, 2, 0, 20, 0, 1); });
    arc = doc->arcHead->next;
    EXPECT_NEAR(arc->startAngle, 300, 1e-9);
    EXPECT_NEAR(arc->endAngle, 90, 1e-9);

    // Between points; a cut leaving nothing is refused with its message.
    ExpectOneUndoStep([&] { CutArcBetweenPoints(doc, doc->arcHead->next, 10, 0, 0, -10); });
    arc = doc->arcHead->next;
    EXPECT_NEAR(arc->startAngle, 270, 1e-9);
    MessageCapture messages;
    const std::vector<std::string> before = Drawing();
    CutArcBetweenPoints(doc, arc, 5, 5 * std::sqrt(3.0), 0, -10); // the end moved onto the start
    EXPECT_EQ(messages.Last(), 172);
    EXPECT_EQ(Drawing(), before);
}

TEST_F(CutSplitJoin, ArcCutAtArcMovesTheEndNearestThePick) {
    struct Case {
        const char* name;
        double s, e, ax, ay;
        Boolean nearestEnd;
        double s2, e2;
    };
    // The cutting circle about (10, 0) of radius 10 meets the circle of radius 10 about the origin
    // at 60 and 300 degrees.
    const double c = std::cos(M_PI / 9), s = std::sin(M_PI / 9); // 20 degrees
    const Case cases[] = {
        {"pick near the start, before the crossing: the end comes back", 0, 180, 10 * c, 10 * s, 1, 0, 60},
        {"pick near the start, beyond the crossing: the start moves", 0, 180, 0, 10, 1, 60, 180},
        {"pick near the end, beyond the crossing: the start moves", 20, 80, 10 * std::cos(1.3),
         10 * std::sin(1.3), 1, 60, 80},
        {"pick near the end, before the crossing: the end comes back", 20, 80, 10 * c, 10 * s, 1, 20, 60},
        {"keep-between, pick inside the lens", 0, 180, 10 * c, 10 * s, 0, 300, 60},
    };
    for (const Case& k : cases) {
        ArcRecord* arc = Arc(0, 0, 10, k.s, k.e);
        ArcRecord cutter{};
        cutter.cx = 10;
        cutter.radius = 10;
        cutter.endAngle = 360;
        CutArcAtArc(doc, arc, &cutter, k.ax, k.ay, k.nearestEnd);
        EXPECT_NEAR(arc->startAngle, k.s2, 1e-9) << k.name;
        EXPECT_NEAR(arc->endAngle, k.e2, 1e-9) << k.name;
    }
}

TEST_F(CutSplitJoin, SplittingALineKeepsEverythingButTheEnds) {
    LineRecord* line = Line(0, 0, 10, 0, kLineOpenStart);
    Distinguish(line);
    ExpectOneUndoStep([&] {
        SplitLineAtPoint(doc, line, 4, 0);
        // The original keeps the second end's side and the cursor; the new piece, at the tail, the
        // first end's, running on where the line did.
        const auto lines = Lines(false);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], line);
        EXPECT_EQ(doc->drawing->cursors.lineCursor, line);
        EXPECT_EQ(line->x1, 4);
        EXPECT_EQ(line->x2, 10);
        EXPECT_EQ(line->flags, 0);
        EXPECT_EQ(lines[1]->x1, 0);
        EXPECT_EQ(lines[1]->x2, 4);
        EXPECT_EQ(lines[1]->flags, kLineOpenStart);
    });
    for (const LineRecord* l : Lines()) {
        EXPECT_EQ(l->layer, 7);
        EXPECT_EQ(l->penBlock.penWidth100, 70);
        EXPECT_EQ(l->scaleFactor, 2.5);
    }
}

TEST_F(CutSplitJoin, SplitPointsThatSplitNothing) {
    LineRecord* segment = Line(0, 0, 10, 0);
    LineRecord* open = Line(0, 5, 10, 5, kLineOpenEnd);
    LineRecord* edge = Line(-3, -1, -3, 1);
    // Coordinates whose squares overflow: the probe circle never meets the line, and gives up.
    LineRecord* huge = Line(0, 10, 1e200, 1e200 + 10);
    const std::vector<std::string> before = Drawing();
    SplitLineAtPoint(doc, segment, 0, 0);  // an end
    SplitLineAtPoint(doc, segment, 10, 0); // the other end
    SplitLineAtPoint(doc, segment, 15, 0); // beyond an end that does not run on
    SplitLineAtLine(doc, segment, edge);
    SplitLineAtPoint(doc, huge, 5e199, 5e199 + 10);
    MessageCapture messages;
    SplitLineAtFoot(doc, segment, 12, 0);
    EXPECT_EQ(messages.Last(), 154);
    EXPECT_EQ(Drawing(), before);

    // A line that runs on is split beyond its stored end: the far piece keeps running on.
    SplitLineAtPoint(doc, open, 15, 5);
    EXPECT_EQ(CountLines(), 5);
    EXPECT_EQ(open->x1, 15);
    EXPECT_EQ(open->flags & kLineOpenEnd, kLineOpenEnd);
    const LineRecord* piece = Lines(false).back();
    EXPECT_EQ(piece->x1, 0);
    EXPECT_EQ(piece->x2, 15);
    EXPECT_EQ(piece->flags & kLineOpenEnd, 0);
}

TEST_F(CutSplitJoin, SplittingArcsKeepsTheArcsOwnAttributes) {
    ArcRecord* arc = Arc(0, 0, 10, 0, 180);
    Distinguish(arc);
    ExpectOneUndoStep([&] { SplitArcAtPoint(doc, arc, 0, 10); });
    auto arcs = Arcs();
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_NEAR(arcs[0]->endAngle, 90, 1e-9);
    EXPECT_NEAR(arcs[1]->startAngle, 90, 1e-9);
    EXPECT_EQ(arcs[1]->endAngle, 180);
    for (const ArcRecord* a : arcs) {
        EXPECT_EQ(a->layer, 7);
        EXPECT_EQ(a->pen, 3);
        EXPECT_EQ(a->penBlock.color.red, 0xFFFF);
        EXPECT_EQ(a->scaleFactor, 2.5);
    }

    // At an end, or off the run: message 58 and nothing else.
    MessageCapture messages;
    const std::vector<std::string> before = Drawing();
    SplitArcAtPoint(doc, doc->arcHead->next, 10, 0);
    EXPECT_EQ(messages.Last(), 58);
    SplitArcAtPoint(doc, doc->arcHead->next, 0, -10);
    EXPECT_EQ(Drawing(), before);
}

TEST_F(CutSplitJoin, SplittingAnArcAtTwoPoints) {
    const double r = 10, h = r * std::sqrt(0.5);
    // A partial arc stays partial: three arcs from its start to its end.
    ArcRecord* arc = Arc(0, 0, r, 0, 180);
    Distinguish(arc);
    ExpectOneUndoStep([&] { SplitArcAtTwoPoints(doc, arc, -h, h, h, h); });
    auto arcs = Arcs();
    ASSERT_EQ(arcs.size(), 3u);
    const double expected[3][2] = {{0, 45}, {45, 135}, {135, 180}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(arcs[i]->startAngle, expected[i][0], 1e-9);
        EXPECT_NEAR(arcs[i]->endAngle, expected[i][1], 1e-9);
        EXPECT_EQ(arcs[i]->layer, 7);
        EXPECT_EQ(arcs[i]->penBlock.pattern, 4);
    }
    RemoveAllArcs();

    // An arc through 0 degrees, points given in the other order.
    Arc(0, 0, r, 270, 90);
    SplitArcAtTwoPoints(doc, doc->arcHead->next, h, h, h, -h);
    arcs = Arcs();
    ASSERT_EQ(arcs.size(), 3u);
    const double through0[3][2] = {{45, 90}, {270, 315}, {315, 45}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(arcs[i]->startAngle, through0[i][0], 1e-9);
        EXPECT_NEAR(arcs[i]->endAngle, through0[i][1], 1e-9);
    }
    RemoveAllArcs();

    // A full circle becomes two arcs that meet at the points.
    Arc(0, 0, r, 0, 360);
    SplitArcAtTwoPoints(doc, doc->arcHead->next, -h, h, h, h);
    arcs = Arcs();
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_NEAR(arcs[0]->startAngle, 45, 1e-9);
    EXPECT_NEAR(arcs[0]->endAngle, 135, 1e-9);
    EXPECT_NEAR(arcs[1]->startAngle, 135, 1e-9);
    EXPECT_NEAR(arcs[1]->endAngle, 45, 1e-9);

    // One point on the run splits there; none gives message 58.
    ArcRecord* quarter = Arc(30, 0, r, 0, 90);
    MessageCapture messages;
    SplitArcAtTwoPoints(doc, quarter, 30 - r, 0, 30, -r);
    EXPECT_EQ(messages.Last(), 58);
    SplitArcAtTwoPoints(doc, quarter, 30 + h, h, 30 - r, 0);
    EXPECT_EQ(Arcs().size(), 4u);
}

TEST_F(CutSplitJoin, SplittingAnArcAtALineOrAnArc) {
    const LineRecord* chord = Line(5, -20, 5, 20);
    // Snap mode 2 splits at both crossings, any other at the one nearer the cursor.
    doc->settings->snapMode = 2;
    SplitArcAtLine(doc, Arc(0, 0, 10, 0, 360), chord, 0, 0);
    EXPECT_EQ(Arcs().size(), 2u);
    RemoveAllArcs();
    doc->settings->snapMode = 0;
    SplitArcAtLine(doc, Arc(0, 0, 10, 0, 180), chord, 5, 10);
    auto arcs = Arcs();
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_NEAR(arcs[0]->endAngle, 60, 1e-9);
    RemoveAllArcs();
    MessageCapture messages;
    SplitArcAtLine(doc, Arc(0, 0, 1, 0, 180), chord, 5, 10);
    EXPECT_EQ(messages.Last(), 11);
    RemoveArc(doc, doc->arcHead->next);

    ArcRecord edge{};
    edge.cx = 10;
    edge.radius = 10;
    edge.endAngle = 360;
    SplitArcAtArc(doc, Arc(0, 0, 10, 0, 360), &edge, 0, 0);
    EXPECT_EQ(Arcs().size(), 2u);
    RemoveAllArcs();
    SplitArcAtArc(doc, Arc(0, 0, 10, 0, 180), &edge, 5, 9);
    arcs = Arcs();
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_NEAR(arcs[0]->endAngle, 60, 1e-9);
    RemoveAllArcs();
    edge.cx = 30; // apart: nothing
    SplitArcAtArc(doc, Arc(0, 0, 10, 0, 360), &edge, 0, 0);
    EXPECT_EQ(Arcs().size(), 1u);
}

TEST_F(CutSplitJoin, ProjectingAPointOntoAnArc) {
    const ArcRecord* arc = Arc(0, 0, 10, 0, 90);
    const ArcRecord* circle = Arc(0, 0, 10, 0, 360);
    struct Case {
        const ArcRecord* arc;
        double px, py;
        bool ok;
        SInt16 message;
        double qx, qy;
    };
    const Case cases[] = {
        {arc, 3, 4, true, 0, 6, 8},     {arc, 30, 40, true, 0, 6, 8},      {arc, 10, 0, true, 0, 10, 0},
        {arc, -3, -4, false, 58, 0, 0}, {circle, -3, -4, true, 0, -6, -8}, {arc, 0, 0, false, 0, 0, 0},
    };
    for (const Case& k : cases) {
        MessageCapture messages;
        double qx = 99, qy = 99;
        EXPECT_EQ(ProjectPointOntoArc(k.px, k.py, k.arc, qx, qy) != 0, k.ok) << k.px << "," << k.py;
        EXPECT_EQ(messages.Last(), k.message);
        EXPECT_NEAR(qx, k.ok ? k.qx : 99, 1e-9);
        EXPECT_NEAR(qy, k.ok ? k.qy : 99, 1e-9);
    }
}

TEST_F(CutSplitJoin, JoiningLines) {
    LineRecord* a = Line(0, 0, 4, 0, kLineOpenStart);
    Distinguish(a);
    a->flags = SetLineStartMarkKind(a->flags, 2);
    LineRecord* b = Line(6, 0, 10, 0, kLineOpenEnd);
    b->flags = SetLineEndMarkKind(b->flags, 5);
    // Crossing lines are not joined here: the tool asks first.
    LineRecord* crossing = Line(5, -5, 5, 5);
    EXPECT_FALSE(JoinLinesIfCollinear(doc, a, crossing));
    // Parallel beside each other: message 6, nothing changes.
    LineRecord* beside = Line(0, 3, 10, 3);
    MessageCapture messages;
    EXPECT_TRUE(JoinLinesIfCollinear(doc, a, beside));
    EXPECT_EQ(messages.Last(), 6);
    // One line picked twice: nothing to join.
    EXPECT_TRUE(JoinLinesIfCollinear(doc, a, a));
    EXPECT_EQ(CountLines(), 4);

    ExpectOneUndoStep([&] { EXPECT_TRUE(JoinLinesIfCollinear(doc, a, b)); });
    EXPECT_EQ(CountLines(), 3);
    const LineRecord* joined = Lines()[1]; // above the crossing line's lower end
    EXPECT_EQ(joined->x1, 0);
    EXPECT_EQ(joined->x2, 10);
    EXPECT_EQ(joined->flags & (kLineOpenStart | kLineOpenEnd), kLineOpenStart | kLineOpenEnd);
    EXPECT_EQ(LineStartMarkKind(joined->flags), 2);
    EXPECT_EQ(LineEndMarkKind(joined->flags), 5);
    EXPECT_EQ(joined->layer, 7);
    EXPECT_EQ(joined->penBlock.color.red, 0xFFFF);
}

TEST_F(CutSplitJoin, JoiningArcs) {
    ArcRecord* first = Arc(0, 0, 5, 270, 360);
    Arc(0, 0, 5, 0, 90);
    ArcRecord* elsewhere = Arc(1, 0, 5, 90, 180);
    MessageCapture messages;
    JoinArcs(doc, first, elsewhere);
    EXPECT_EQ(messages.Last(), 22);
    EXPECT_EQ(Arcs().size(), 3u);

    ArcRecord* second = first->next;
    ExpectOneUndoStep([&] {
        JoinArcs(doc, first, second);
        EXPECT_EQ(doc->drawing->cursors.arcCursor, second);
    });
    ASSERT_EQ(Arcs().size(), 2u);
    EXPECT_EQ(Arcs()[1]->startAngle, 270);
    EXPECT_EQ(Arcs()[1]->endAngle, 90);

    // An end angle of 0 becomes 360; a start of 360 becomes 0.
    ArcRecord* a = Arc(20, 0, 5, 360, 10);
    ArcRecord* b = Arc(20, 0, 5, 300, 0);
    JoinArcs(doc, a, b);
    EXPECT_EQ(b->startAngle, 0);
    EXPECT_EQ(b->endAngle, 360);
}

TEST_F(CutSplitJoin, TangentLinesThatEndInACut) {
    const LineRecord* axis = Line(-20, 0, 20, 0);
    const ArcRecord* circle = Arc(0, 10, 4, 0, 360);
    // Parallel to the line, touching on the side of the point.
    ExpectOneUndoStep([&] { AddTangentParallelLine(doc, axis, circle, 0, 20); });
    EXPECT_NEAR(Lines().back()->y1, 14, 1e-9);
    EXPECT_NEAR(Lines().back()->y2, 14, 1e-9);
    EXPECT_EQ(Lines().back()->x1, -20);

    // Perpendicular to the line, touching the circle on the click's side, down to the line; the new
    // line and its cut are one step.
    const std::vector<std::string> before = Drawing();
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    AddTangentLineToLine(doc, axis, circle, 10, 10, 90);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
    const LineRecord* tangent = Lines(false).back();
    EXPECT_NEAR(tangent->x1, 4, 1e-9);
    EXPECT_NEAR(tangent->y1, 0, 1e-9);
    EXPECT_NEAR(tangent->x2, 4, 1e-9);
    EXPECT_NEAR(tangent->y2, 10, 1e-9);
    UndoLastStep(doc);
    EXPECT_EQ(Drawing(), before);

    // Parallel to the line: no cut, the short tangent stays selected, message 10; still one step.
    MessageCapture messages;
    AddTangentLineToLine(doc, axis, circle, 0, 20, 0);
    EXPECT_EQ(messages.Last(), 10);
    EXPECT_TRUE(Lines(false).back()->selected);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
    UndoLastStep(doc);
    EXPECT_EQ(Drawing(), before);
}
