// Fillets and chamfers: the new arc or line touches (or meets) both elements where it should, the trim
// count says which elements are cut to it, each construction undoes in one step, and inputs with no
// answer change nothing.
#include "../Model/DocumentFixture.h"
#include "MessageCapture.h"
#include "Model/DocSettings.h"
#include "Model/ElementLists.h"
#include "Model/UndoJournal.h"
#include "Tools/Fillets.h"
#include "Tools/ToolState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

double Sweep(const ArcRecord* a) {
    double s = a->endAngle - a->startAngle;
    return s <= 0 ? s + 360 : s;
}

void ArcEnd(const ArcRecord* a, bool end, double& x, double& y) {
    const double t = (end ? a->endAngle : a->startAngle) * 0.017453292519943295;
    x = a->cx + a->radius * std::cos(t);
    y = a->cy + a->radius * std::sin(t);
}

double DistanceToLine(const LineRecord* l, double x, double y) {
    const double dx = l->x2 - l->x1, dy = l->y2 - l->y1;
    return std::fabs((x - l->x1) * dy - (y - l->y1) * dx) / std::hypot(dx, dy);
}

class Fillets : public DocumentTest {
  protected:
    std::vector<std::string> Drawing() const {
        std::vector<std::string> all;
        char text[256];
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next) {
            std::snprintf(text, sizeof text, "L %.12g %.12g %.12g %.12g f%u", l->x1, l->y1, l->x2, l->y2,
                          l->flags);
            all.push_back(text);
        }
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next) {
            std::snprintf(text, sizeof text, "A %.12g %.12g %.12g %.12g %.12g", a->cx, a->cy, a->radius,
                          a->startAngle, a->endAngle);
            all.push_back(text);
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    // The operation in the step a tool opens; undo and redo then give exactly the drawing before
    // and after it. False when the operation changed nothing.
    bool InOneUndoStep(const std::function<void()>& operation) {
        const std::vector<std::string> before = Drawing();
        const SInt16 steps = doc->drawing->undo.undoStepCount;
        BeginUndoStep(doc);
        operation();
        EndUndoStep(doc);
        const std::vector<std::string> after = Drawing();
        if (after == before) return false;
        EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
        UndoLastStep(doc);
        EXPECT_EQ(Drawing(), before);
        RedoStep(doc);
        EXPECT_EQ(Drawing(), after);
        return true;
    }
    LineRecord* Line(double x1, double y1, double x2, double y2) {
        BeginUndoStep(doc);
        LineRecord* l = AddLine(doc, x1, y1, x2, y2);
        EndUndoStep(doc);
        return l;
    }
    ArcRecord* Arc(double cx, double cy, double r, double s = 0, double e = 360) {
        BeginUndoStep(doc);
        ArcRecord* a = AddArc(doc, cx, cy, r, s, e);
        EndUndoStep(doc);
        return a;
    }
    // The newest arc (the fillet); lines are found by what they still touch.
    ArcRecord* LastArc() const {
        ArcRecord* last = nullptr;
        for (ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            last = a;
        return last;
    }
    LineRecord* LineThrough(double x, double y) const {
        for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            if (DistanceToLine(l, x, y) < 1e-9 && std::min(l->x1, l->x2) <= x + 1e-9 &&
                std::max(l->x1, l->x2) >= x - 1e-9 && std::min(l->y1, l->y2) <= y + 1e-9 &&
                std::max(l->y1, l->y2) >= y - 1e-9)
                return l;
        return nullptr;
    }
    ArcRecord* ArcWithCentre(double cx, double cy) const {
        for (ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            if (std::fabs(a->cx - cx) < 1e-9 && std::fabs(a->cy - cy) < 1e-9) return a;
        return nullptr;
    }
    bool AllFinite() const {
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            if (!std::isfinite(l->x1 + l->y1 + l->x2 + l->y2)) return false;
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            if (!std::isfinite(a->cx + a->cy + a->radius + a->startAngle + a->endAngle)) return false;
        return true;
    }
};

// Lines meeting at several angles: the fillet touches both (its ends are the touching points), never
// runs over half a circle, and the trim count cuts none, the first, or both lines to it.
TEST_F(Fillets, BetweenTwoLinesTouchesBothAndTrimsByTheCount) {
    for (double angle : {90.0, 30.0, 150.0, 179.0}) {
        for (SInt16 count : {0, 1, 2}) {
            SCOPED_TRACE("angle " + std::to_string(angle) + " count " + std::to_string(count));
            TearDown();
            SetUp();
            const double c = std::cos(angle * 0.017453292519943295),
                         s = std::sin(angle * 0.017453292519943295);
            LineRecord* l1 = Line(0, 0, 10, 0);
            LineRecord* l2 = Line(0, 0, 10 * c, 10 * s);
            const LineRecord o1 = *l1, o2 = *l2;
            ASSERT_TRUE(InOneUndoStep([&] {
                TrimFilletLines(doc, l1, l2, {8, 0}, {8 * c, 8 * s}, 0.5, count);
            }));
            ArcRecord* f = LastArc();
            ASSERT_NE(f, nullptr);
            EXPECT_NEAR(DistanceToLine(&o1, f->cx, f->cy), 0.5, 1e-9);
            EXPECT_NEAR(DistanceToLine(&o2, f->cx, f->cy), 0.5, 1e-9);
            EXPECT_LE(Sweep(f), 180.0);
            double sx, sy, ex, ey;
            ArcEnd(f, false, sx, sy);
            ArcEnd(f, true, ex, ey);
            EXPECT_NEAR(std::min(DistanceToLine(&o1, sx, sy), DistanceToLine(&o1, ex, ey)), 0, 1e-9);
            EXPECT_NEAR(std::min(DistanceToLine(&o2, sx, sy), DistanceToLine(&o2, ex, ey)), 0, 1e-9);
            // A trimmed line starts at its touching point, an untouched one still at the corner.
            EXPECT_EQ(LineThrough(0, 0) != nullptr, count < 2);
            LineRecord* first = LineThrough(8, 0);
            ASSERT_NE(first, nullptr);
            EXPECT_EQ(std::min(first->x1, first->x2) > 1e-9, count >= 1);
        }
    }
}

// Two arcs, chosen in either order, get the same fillet: the short run that joins them, never its
// complement. The Repairs item then turns it into the complement, in one undo step.
TEST_F(Fillets, BetweenTwoArcsDoesNotDependOnTheOrderOfPicking) {
    ArcRecord* a1 = Arc(0, 0, 5);
    ArcRecord* a2 = Arc(12, 0, 5);
    EXPECT_FALSE(FilletCircleRecorded(doc));
    TrimFilletArcs(doc, a1, a2, 2, {4, 3}, {8, 3}, 0);
    const ArcRecord first = *LastArc();
    TrimFilletArcs(doc, a2, a1, 2, {8, 3}, {4, 3}, 0);
    const ArcRecord second = *LastArc();
    for (const ArcRecord* f : {&first, &second}) {
        EXPECT_NEAR(f->cx, 6, 1e-9);
        EXPECT_NEAR(f->cy, std::sqrt(13.0), 1e-9);
        EXPECT_LT(Sweep(f), 180.0);
        double x, y;
        ArcEnd(f, false, x, y);
        EXPECT_NEAR(std::hypot(x, y), 5, 1e-9); // starts on the first circle
        ArcEnd(f, true, x, y);
        EXPECT_NEAR(std::hypot(x - 12, y), 5, 1e-9);
    }
    EXPECT_NEAR(first.startAngle, second.startAngle, 1e-9);
    EXPECT_NEAR(first.endAngle, second.endAngle, 1e-9);
    ASSERT_TRUE(FilletCircleRecorded(doc));
    ASSERT_TRUE(InOneUndoStep([&] { ASSERT_TRUE(SwapFilletArcAngles(doc)); }));
    int turned = 0;
    for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
        turned += std::fabs(a->startAngle - second.endAngle) < 1e-9 &&
                  std::fabs(a->endAngle - second.startAngle) < 1e-9;
    EXPECT_EQ(turned, 1);
}

TEST_F(Fillets, BetweenTwoArcsTrimsBothAndUndoesInOneStep) {
    ArcRecord* a1 = Arc(0, 0, 5);
    ArcRecord* a2 = Arc(12, 0, 5);
    ASSERT_TRUE(InOneUndoStep([&] { TrimFilletArcs(doc, a1, a2, 2, {4, 3}, {8, 3}, 2); }));
    ArcRecord* c1 = ArcWithCentre(0, 0);
    ArcRecord* c2 = ArcWithCentre(12, 0);
    ASSERT_TRUE(c1 && c2);
    EXPECT_LT(Sweep(c1), 360.0); // no longer full circles
    EXPECT_LT(Sweep(c2), 360.0);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 3); // the two circles and the fillet: one step for it
}

TEST_F(Fillets, FailuresShowTheirMessageAndChangeNothing) {
    struct Case {
        const char* name;
        std::function<void()> run;
        SInt16 message;
    };
    const std::vector<Case> cases = {
        {"arcs too far apart for the radius",
         [this] {
             TrimFilletArcs(doc, Arc(0, 0, 1), Arc(100, 0, 1), 2, {1, 0}, {99, 0}, 2);
         },
         kNoArcFilletMessage},
        {"concentric arcs",
         [this] {
             TrimFilletArcs(doc, Arc(0, 0, 5), Arc(0, 0, 5), 1, {5, 0}, {0, 5}, 2);
         },
         kNoArcFilletMessage},
        {"line too far from the arc",
         [this] {
             TrimFilletLineArc(doc, Line(-10, 0, 10, 0), Arc(0, 5, 3), 0.5, {6, 0}, {2.4, 3.2}, 2);
         },
         kNoLineArcFilletMessage},
        {"line just too far for the radius",
         [this] {
             TrimFilletLineArc(doc, Line(-10, 0, 10, 0), Arc(0, 5, 3), 0.995, {6, 0}, {2.4, 3.2}, 2);
         },
         kNoLineArcFilletMessage},
        {"parallel chamfer lines",
         [this] {
             ChamferLines(doc, Line(0, 0, 10, 0), Line(0, 5, 10, 5), {5, 0}, {5, 5}, 1, 45, 2);
         },
         kChamferParallelMessage},
        {"both turned directions parallel to line 2",
         [this] {
             ChamferLines(doc, Line(0, 0, 10, 0), Line(0, 0, 0, 10), {5, 0}, {0, 5}, 2, 90, 2);
         },
         kChamferParallelMessage},
        {"chamfer too short to reach the arc",
         [this] {
             ChamferLineArc(doc, Line(-10, 0, 10, 0), Arc(0, 5, 3), {3, 0}, {2.4, 3.2}, 0.5, 90, 2);
         },
         kChamferMissesArcMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        MessageCapture messages;
        const SInt16 steps = doc->drawing->undo.undoStepCount;
        c.run();
        EXPECT_EQ(messages.Last(), c.message);
        // Only the two elements the case drew, each in its own step: nothing was changed after.
        EXPECT_EQ(Drawing().size(), 2u);
        EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 2);
    }
}

TEST_F(Fillets, BetweenALineAndAnArcTouchesBoth) {
    LineRecord* line = Line(-10, 0, 10, 0);
    ArcRecord* arc = Arc(0, 5, 3);
    ASSERT_TRUE(InOneUndoStep([&] { TrimFilletLineArc(doc, line, arc, 2, {6, 0}, {2.4, 3.2}, 2); }));
    ArcRecord* f = LastArc();
    EXPECT_NEAR(f->cx, 4, 1e-9);
    EXPECT_NEAR(f->cy, 2, 1e-9);
    EXPECT_LE(Sweep(f), 180.0);
    // The line now starts at the touching point (4, 0); the circle is cut at (2.4, 3.2).
    line = LineThrough(6, 0);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(std::min(line->x1, line->x2), 4, 1e-9);
    ArcRecord* cut = ArcWithCentre(0, 5);
    ASSERT_NE(cut, nullptr);
    EXPECT_LT(Sweep(cut), 360.0);
}

// A 45 degree chamfer between perpendicular lines is symmetric: its ends lie at the length from the
// corner on the picked sides, and it stays a bounded line when new lines run on at both ends.
TEST_F(Fillets, ChamferBetweenLinesIsBoundedAndSymmetric) {
    doc->settings->markNewLines = 1;
    LineRecord* l1 = Line(-10, 0, 10, 0);
    LineRecord* l2 = Line(0, -10, 0, 10);
    ASSERT_TRUE(InOneUndoStep([&] { ChamferLines(doc, l1, l2, {5, 0}, {0, 5}, 2, 45, 2); }));
    LineRecord* chamfer = LineThrough(1, 1);
    ASSERT_NE(chamfer, nullptr);
    EXPECT_EQ(chamfer->flags & 3, 0);
    EXPECT_NEAR(std::hypot(chamfer->x2 - chamfer->x1, chamfer->y2 - chamfer->y1), 2 * std::sqrt(2.0), 1e-9);
    // Both cut back to the chamfer, the picked sides kept (undo and redo made the records anew).
    l1 = LineThrough(5, 0);
    l2 = LineThrough(0, 5);
    ASSERT_TRUE(l1 && l2);
    EXPECT_NEAR(std::min(l1->x1, l1->x2), 2, 1e-9);
    EXPECT_NEAR(std::min(l2->y1, l2->y2), 2, 1e-9);
    EXPECT_EQ(doc->settings->markNewLines, 1);
}

TEST_F(Fillets, ChamferFromALineToAnArcHasItsLengthAndAngle) {
    doc->settings->markNewLines = 1;
    LineRecord* line = Line(-10, 0, 10, 0);
    ArcRecord* arc = Arc(0, 5, 3);
    ASSERT_TRUE(InOneUndoStep([&] { ChamferLineArc(doc, line, arc, {3, 0}, {2.4, 3.2}, 3, 90, 1); }));
    LineRecord* chamfer = LineThrough(std::sqrt(5.0), 1.5);
    ASSERT_NE(chamfer, nullptr);
    EXPECT_EQ(chamfer->flags & 3, 0);
    EXPECT_NEAR(std::fabs(chamfer->y2 - chamfer->y1), 3, 1e-9);
    EXPECT_NEAR(chamfer->x1, chamfer->x2, 1e-9);
    line = LineThrough(5, 0);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(std::min(line->x1, line->x2), std::sqrt(5.0), 1e-9);
}

// Picks on the corner itself, lines of no length and coordinates that are not numbers give no
// element, and never one with a coordinate that is not a number.
TEST_F(Fillets, DegenerateInputsMakeNothingThatIsNotANumber) {
    const std::vector<std::function<void()>> cases = {
        [this] {
            ChamferLines(doc, Line(0, 0, 10, 0), Line(0, 0, 0, 10), {0, 0}, {0, 5}, 2, 45, 2);
        },
        [this] {
            TrimFilletLines(doc, Line(0, 0, 10, 0), Line(5, 5, 5, 5), {5, 0}, {5, 5}, 1, 2);
        },
        [this] {
            ChamferLines(doc, Line(0, 0, 10, 0), Line(5, 5, 5, 5), {5, 0}, {5, 5}, 1, 45, 2);
        },
        [this] {
            TrimFilletLines(doc, Line(0, 0, 10, 0), Line(0, 0, 0, 10), {kNaN, 0}, {0, 5}, 1, 2);
        },
        [this] {
            ChamferLines(doc, Line(0, 0, 10, 0), Line(0, 0, 0, 10), {5, 0}, {0, 5}, kNaN, 45, 2);
        },
        [this] {
            ChamferLineArc(doc, Line(0, 0, 0, 0), Arc(0, 5, 3), {0, 0}, {0, 2}, 1, 45, 2);
        },
        [this] {
            TrimFilletLineArc(doc, Line(-10, 0, 10, 0), Arc(0, 5, 3), kNaN, {1, 0}, {0, 2}, 2);
        },
        [this] {
            TrimFilletArcs(doc, Arc(0, 0, 5), Arc(1e300, 0, 5), 1, {5, 0}, {1e300, 5}, 2);
        },
        [this] {
            TrimFilletLines(doc, Line(0, 0, 1e300, 0), Line(0, 0, 0, 1e300), {1e299, 0}, {0, 1e299}, 1, 2);
        },
        [this] {
            ChamferLines(doc, Line(0, 0, 1e300, 0), Line(0, 0, 0, 1e300), {1e299, 0}, {0, 1e299}, 1e300, 45,
                         2);
        },
        [this] {
            TrimFilletLineArc(doc, Line(-1e300, 0, 1e300, 0), Arc(0, 5, 3), 2, {6, 0}, {2.4, 3.2}, 2);
        },
    };
    int index = 0;
    for (const auto& run : cases) {
        SCOPED_TRACE("case " + std::to_string(index++));
        TearDown();
        SetUp();
        run();
        EXPECT_TRUE(AllFinite());
        EXPECT_EQ(Drawing().size(), 2u);
    }
}

} // namespace
