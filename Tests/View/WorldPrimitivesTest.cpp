// World primitives through the draw-call recorder and the plot recorder: clipping on screen, dashes
// stepped from the original start, big arcs as chords of their visible part, plot output, arrowheads
// and line-end marks, and the bounded rubber-band list.
#include "View/ViewStrokes.h"
#include "ViewTestSupport.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"

#include <cmath>
#include <vector>

namespace {

struct Dash {
    Float64 x1, y1, x2, y2;
};

void Collect(Float64 x1, Float64 y1, Float64 x2, Float64 y2, void* user) {
    static_cast<std::vector<Dash>*>(user)->push_back({x1, y1, x2, y2});
}

std::vector<Dash> Walk(Float64 x1, Float64 x2, SInt16 style, Float64 width, Float64 phase,
                       Float64* endPhase = nullptr) {
    Float64 lengths[6];
    int n = DashLengthsForStyle(style, width, lengths);
    std::vector<Dash> dashes;
    Float64 end = DashSegmentWalk(x1, 0, x2, 0, lengths, n, phase, Collect, &dashes);
    if (endPhase) *endPhase = end;
    return dashes;
}

} // namespace

TEST(DashWalk, StepsThePatternOfEachStyleInMultiplesOfTheWidth) {
    Float64 lengths[6];
    const struct {
        SInt16 style;
        std::vector<Float64> pattern;
    } styles[] = {{1, {}},     {2, {26, 8}}, {3, {21, 6, 3, 6}}, {4, {21, 6, 3, 6, 3, 6}}, {5, {7, 6}},
                  {6, {7, 6}}, {9, {}}};
    for (const auto& s : styles) {
        int n = DashLengthsForStyle(s.style, 2.0, lengths);
        ASSERT_EQ(size_t(n), s.pattern.size()) << s.style;
        for (int i = 0; i < n; ++i)
            EXPECT_DOUBLE_EQ(lengths[i], 2 * s.pattern[i]) << s.style;
    }
    std::vector<Dash> d = Walk(0, 68, 2, 1, 0);
    ASSERT_EQ(d.size(), 2u);
    EXPECT_DOUBLE_EQ(d[0].x1, 0);
    EXPECT_DOUBLE_EQ(d[0].x2, 26);
    EXPECT_DOUBLE_EQ(d[1].x1, 34);
    EXPECT_DOUBLE_EQ(d[1].x2, 60);
    // Starting 30 into the pattern: in the gap, so the first dash begins 4 later.
    d = Walk(0, 36, 2, 1, 30);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_DOUBLE_EQ(d[0].x1, 4);
    EXPECT_DOUBLE_EQ(d[0].x2, 30);
}

TEST(DashWalk, TwoPiecesCarryingThePhaseDashLikeTheWhole) {
    std::vector<Dash> whole = Walk(0, 500, 3, 1.5, 7);
    Float64 mid;
    std::vector<Dash> first = Walk(0, 230, 3, 1.5, 7, &mid);
    std::vector<Dash> second = Walk(230, 500, 3, 1.5, mid);
    // Joined at the cut, the pieces give the same dashes.
    std::vector<Dash> joined = first;
    for (const Dash& d : second) {
        if (!joined.empty() && std::fabs(joined.back().x2 - d.x1) < 1e-9)
            joined.back().x2 = d.x2;
        else
            joined.push_back(d);
    }
    ASSERT_EQ(joined.size(), whole.size());
    for (size_t i = 0; i < whole.size(); ++i) {
        EXPECT_NEAR(joined[i].x1, whole[i].x1, 1e-9);
        EXPECT_NEAR(joined[i].x2, whole[i].x2, 1e-9);
    }
}

TEST_F(ViewDocumentTest, SolidLinesAreClippedToThePortAndCornerTouchesDrawNothing) {
    DrawRecorder rec;
    doc->drawing->output.penWidth = 1;
    DrawWorldLine(doc, 50, 50, 500, 50);   // leaves the port on the right
    DrawWorldLine(doc, -10, 200, -5, 300); // wholly outside
    // From outside to outside through the port's top-right corner (200, 135) only.
    DrawWorldLine(doc, 190, 110, 210, 90);
    ASSERT_EQ(rec.calls.size(), 1u);
    const DrawCall& c = rec.calls[0];
    EXPECT_EQ(c.kind, DrawCallKind::line);
    EXPECT_DOUBLE_EQ(c.v[0], 50);
    EXPECT_DOUBLE_EQ(c.v[1], 50 + kTestStatusHeight + 15);
    EXPECT_DOUBLE_EQ(c.v[2], kTestViewWidth);
}

TEST_F(ViewDocumentTest, ADashedLineAtAHighZoomIsClippedFirstAndDashedFromItsOriginalStart) {
    // A nanometre a pixel: the 100 mm line is 1e11 pixels long, nearly all of it off the port.
    SetTestView(doc, 1e-9, 50, 0);
    doc->drawing->output.lineMode = 2;
    doc->drawing->output.penWidth = 1;
    DrawRecorder rec;
    DrawWorldLine(doc, 0, 1e-8, 100, 1e-8);
    ASSERT_EQ(rec.calls.size(), 1u);
    const DrawCall& c = rec.calls[0];
    EXPECT_EQ(c.kind, DrawCallKind::styledLine);
    EXPECT_EQ(c.style, 2);
    // Clipped with a margin of the width and two pixels.
    EXPECT_NEAR(c.v[0], -3, 1e-3);
    EXPECT_NEAR(c.v[2], kTestViewWidth + 3, 1e-3);
    // The phase is the distance from the original start, 50 mm = 5e10 pixels before the clipped start.
    EXPECT_NEAR(c.phase, 5e10 - 3, 1);
    // Dashing what is left is a handful of dashes, not billions.
    std::vector<Dash> d = Walk(c.v[0], c.v[2], 2, 1, c.phase);
    EXPECT_GE(d.size(), 5u);
    EXPECT_LE(d.size(), 8u);
}

TEST_F(ViewDocumentTest, AnArcFarBiggerThanThePortIsDrawnAsChordsOfItsVisiblePart) {
    SetTestView(doc, 1e-6, 0, 0); // a micrometre a pixel
    doc->drawing->output.penWidth = 1;
    DrawRecorder rec;
    // Radius 1 km = 1e9 pixels; its top passes through the view at y = 50 micrometres.
    DrawWorldArc(doc, 1e-4, 50e-6 - 1e6, 1e6, 0, 360);
    // Solid chords, one a pattern period of the visible part.
    ASSERT_GE(rec.calls.size(), 1u);
    EXPECT_LE(rec.calls.size(), 8u);
    for (const DrawCall& c : rec.calls) {
        EXPECT_EQ(c.kind, DrawCallKind::line);
        for (int i : {0, 2}) {
            EXPECT_GE(c.v[i], -4);
            EXPECT_LE(c.v[i], kTestViewWidth + 4);
            EXPECT_NEAR(c.v[i + 1], kTestStatusHeight + 15 + 50, 0.3);
        }
    }
    rec.Clear();
    // The same circle when the view lies wholly inside it, and an arc whose run misses the view.
    DrawWorldArc(doc, 1e-4, 50e-6, 1e6, 0, 360);
    DrawWorldArc(doc, 1e-4, 50e-6 - 1e6, 1e6, 180, 360);
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(ViewDocumentTest, PlotOutputGetsWorldValuesAndNothingIsDrawn) {
    DrawRecorder rec;
    PlotRecorder plot(doc);
    DrawWorldLine(doc, 1, 2, 3, 4);
    DrawWorldArc(doc, 5, 6, 7, 10, 20);
    DrawWorldCircle(doc, 8, 9, 0.5);
    const Float64 quad[8] = {0, 0, 10, 0, 10, 5, 0, 5};
    DrawEllipseInQuad(doc, quad, 0, 360);
    EXPECT_TRUE(rec.calls.empty());
    ASSERT_GE(plot.calls.size(), 4u);
    EXPECT_EQ(plot.calls[0].kind, 'L');
    EXPECT_EQ(plot.calls[0].lineType, 1);
    EXPECT_EQ(plot.calls[0].v[3], 4);
    EXPECT_EQ(plot.calls[1].kind, 'C');
    EXPECT_EQ(plot.calls[1].v[3], 10);
    EXPECT_EQ(plot.calls[2].kind, 'C'); // the dot mark becomes a whole circle
    EXPECT_EQ(plot.calls[2].v[3], 0);
    EXPECT_EQ(plot.calls[2].v[4], 360);
    for (size_t i = 3; i < plot.calls.size(); ++i)
        EXPECT_EQ(plot.calls[i].kind, 'L');
}

TEST_F(ViewDocumentTest, ArrowheadsAlongTheAxesMatchTheTurnedConstruction) {
    doc->settings->dimArrowAngle = 15;
    for (Float64 angle : {0.0, 90.0, 180.0, 270.0}) {
        DrawRecorder exact, turned;
        {
            DrawRecorder r;
            DrawArrowHead(doc, 100, 50, angle, 20, true);
            exact.calls = r.calls;
        }
        {
            DrawRecorder r;
            DrawArrowHead(doc, 100, 50, angle + 1e-7, 20, true);
            turned.calls = r.calls;
        }
        ASSERT_EQ(exact.calls.size(), 4u) << angle; // three sides and the shaft
        ASSERT_EQ(turned.calls.size(), 4u) << angle;
        for (size_t i = 0; i < 4; ++i)
            for (int k = 0; k < 4; ++k)
                EXPECT_NEAR(exact.calls[i].v[k], turned.calls[i].v[k], 1e-4) << angle;
    }
    // Pointing right: the base lies 20 back, 20 tan 15 to each side.
    DrawRecorder rec;
    DrawArrowHead(doc, 100, 50, 0, 20, false);
    ASSERT_EQ(rec.calls.size(), 3u);
    EXPECT_DOUBLE_EQ(rec.calls[1].v[0], 80);
    EXPECT_NEAR(rec.calls[1].v[1] - rec.calls[1].v[3], 2 * 20 * std::tan(15 * M_PI / 180), 1e-9);
}

TEST_F(ViewDocumentTest, FilledArrowheadsAreTrianglesExceptInPlotOutput) {
    doc->settings->flag248 = 1;
    {
        DrawRecorder rec;
        DrawArrowHead(doc, 100, 50, 30, 20, false);
        ASSERT_EQ(rec.calls.size(), 1u);
        EXPECT_EQ(rec.calls[0].kind, DrawCallKind::triangle);
    }
    PlotRecorder plot(doc);
    DrawArrowHead(doc, 100, 50, 30, 20, false);
    EXPECT_EQ(plot.calls.size(), 3u);
}

TEST_F(ViewDocumentTest, LineEndMarksByKind) {
    const struct {
        SInt16 kind;
        std::vector<DrawCallKind> calls;
    } cases[] = {
        {0, {DrawCallKind::line, DrawCallKind::line, DrawCallKind::line}},
        {1, {DrawCallKind::disc}},
        {2, {DrawCallKind::line}},
        {3, {}},
        {7, {}},
    };
    for (const auto& c : cases) {
        DrawRecorder rec;
        DrawLineEndMark(doc, c.kind, 100, 50, 0, 20, false);
        ASSERT_EQ(rec.calls.size(), c.calls.size()) << c.kind;
        for (size_t i = 0; i < c.calls.size(); ++i)
            EXPECT_EQ(rec.calls[i].kind, c.calls[i]) << c.kind;
    }
    DrawRecorder rec;
    DrawLineEndMark(doc, 1, 100, 50, 0, 20, false);
    EXPECT_DOUBLE_EQ(rec.calls[0].v[2], 2); // the dot's radius is a tenth of the size
}

TEST_F(ViewDocumentTest, TheRubberBandListStopsAtItsBoundAndKeepsEveryMark) {
    for (int i = 0; i < kMaxRubberPoints + 10; ++i)
        AddRubberPointAndMark(doc, i, 1, true);
    EXPECT_EQ(doc->drawing->output.rubberCount, kMaxRubberPoints);
    Float64 x, y;
    ASSERT_TRUE(GetRubberPoint(doc, kMaxRubberPoints - 1, &x, &y));
    EXPECT_EQ(x, kMaxRubberPoints - 1);
    EXPECT_FALSE(GetRubberPoint(doc, kMaxRubberPoints, &x, &y));
    // Beyond the bound a point is still marked.
    DrawRecorder rec;
    AddRubberPointAndMark(doc, 10, 10, true);
    EXPECT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(rec.calls[0].alpha, 0.5);
    ClearRubberPoints(doc);
    EXPECT_EQ(doc->drawing->output.rubberCount, 0);
}
