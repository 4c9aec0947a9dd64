// Large arcs as chords, seen by a recording target: chord and piece counts, chord ends on the circle,
// the run of a partial arc, the dash layouts of the line modes, the seam of a dashed circle, and the
// visible part only for a circle of any size.
#include "View/LargeArcs.h"

#include "Model/DocSettings.h"
#include "View/ElementDrawing.h"
#include "ViewTestSupport.h"

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kBottom = kTestStatusHeight + 15; // the drawing area's lower edge in device points

struct Seg {
    double x1, y1, x2, y2; // world
};

class LargeArcs : public ViewDocumentTest {
  protected:
    double scale = 0.5;
    void SetUp() override {
        ViewDocumentTest::SetUp();
        SetTestView(doc, scale, 0, 0);
        doc->settings->chordTolerance = 1; // chords within 0.1 mm
        doc->drawing->output.penWidth = 1;
        doc->drawing->output.lineMode = 1;
    }
    std::vector<Seg> Lines(const DrawRecorder& rec) const {
        std::vector<Seg> out;
        for (const DrawCall& c : rec.calls) {
            EXPECT_EQ(c.kind, DrawCallKind::line);
            out.push_back(
                {c.v[0] * scale, (c.v[1] - kBottom) * scale, c.v[2] * scale, (c.v[3] - kBottom) * scale});
        }
        return out;
    }
    // Chains of lines each starting where the one before ended, in drawing order; their lengths.
    static std::vector<double> Runs(const std::vector<Seg>& lines) {
        std::vector<double> runs;
        for (size_t i = 0; i < lines.size(); ++i) {
            const Seg& s = lines[i];
            double len = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
            bool joined = i > 0 && std::hypot(s.x1 - lines[i - 1].x2, s.y1 - lines[i - 1].y2) < 1e-6;
            if (joined)
                runs.back() += len;
            else
                runs.push_back(len);
        }
        return runs;
    }
};

TEST_F(LargeArcs, ChordsWithinTheToleranceEndOnTheCircleAndRunCounterClockwise) {
    struct Case {
        const char* what;
        double start, sweep;
        size_t chords;
    };
    // Radius 20 mm, tolerance 0.1 mm: pi / acos(1 - 0.005) = 31.4 chords a full turn.
    const Case cases[] = {
        {"a quarter", 0, 90, 8},
        {"a quarter the other way round", 90, -90, 8},
        {"through 0 degrees", 300, 120, 10},
        {"less than one chord", 10, 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DrawRecorder rec;
        DrawArcChords(doc, 50, 25, 20, 20, c.start, c.sweep);
        std::vector<Seg> lines = Lines(rec);
        ASSERT_EQ(lines.size(), c.chords);
        EXPECT_EQ(Runs(lines).size(), 1u); // one unbroken run
        double lo = std::min(c.start, c.start + c.sweep), hi = std::max(c.start, c.start + c.sweep);
        for (const Seg& s : lines)
            for (auto [x, y] : {std::pair{s.x1, s.y1}, std::pair{s.x2, s.y2}}) {
                EXPECT_NEAR(std::hypot(x - 50, y - 25), 20, 0.5 * scale); // on the circle, to a pixel
                // Within the run: y up, angles counter-clockwise, never mirrored.
                double a = std::atan2(y - 25, x - 50) * 180 / M_PI;
                while (a < lo - 1)
                    a += 360;
                EXPECT_LE(a, hi + 1);
            }
        // The run starts at its start angle.
        double sx = 50 + 20 * std::cos(lo * M_PI / 180), sy = 25 + 20 * std::sin(lo * M_PI / 180);
        EXPECT_NEAR(std::min(std::hypot(lines.front().x1 - sx, lines.front().y1 - sy),
                             std::hypot(lines.back().x2 - sx, lines.back().y2 - sy)),
                    0, 0.5 * scale);
    }
}

// A circle of radius 40 pixels is 251 pixels round: five pieces of one pattern period. Each mode
// lays its dashes out along them; the ink is the pattern's share of the circle.
TEST_F(LargeArcs, DashLayoutsOfTheLineModes) {
    struct Case {
        SInt16 mode;
        size_t runs;
        double ink; // units of 50 a piece, of 250
    };
    const Case cases[] = {
        {1, 1, 250},
        {2, 6, 22 + 4 * 44 + 22},
        {5, 6, 22 + 4 * 44 + 22},
        {3, 11, 18 + 5 * 2 + 4 * 36 + 18},
        {4, 16, 14 + 10 * 2 + 4 * 28 + 14},
        {6, 27, 2.5 + 25 * 5 + 2.5},
    };
    const double circumference = 2 * M_PI * 20, unit = circumference / 250;
    for (const Case& c : cases) {
        SCOPED_TRACE("line mode " + std::to_string(c.mode));
        doc->drawing->output.lineMode = c.mode;
        DrawRecorder rec;
        DrawLargeArcSegments(doc, 50, 25, 20, 20, 0, 360);
        EXPECT_EQ(doc->drawing->output.lineMode, c.mode); // put back after the solid chords
        std::vector<Seg> lines = Lines(rec);
        std::vector<double> runs = Runs(lines);
        EXPECT_EQ(runs.size(), c.runs);
        double ink = 0;
        for (double r : runs)
            ink += r;
        EXPECT_NEAR(ink / unit, c.ink, 0.01 * c.ink);
        for (const Seg& s : lines)
            EXPECT_NEAR(std::hypot(s.x1 - 50, s.y1 - 25), 20, 0.5 * scale);
    }
}

// Solid: n = round(length / 50) pieces (at least two), each of round(sweep / 360 x pi / acos(1 - t / r))
// chords, or one. Radius 40 pixels, t / r = 0.005.
TEST_F(LargeArcs, PieceAndChordCounts) {
    struct Case {
        const char* what;
        double start, end;
        size_t lines; // pieces x chords a piece
    };
    const Case cases[] = {
        {"full circle: 5 pieces of 6", 0, 360, 30},
        {"half: 3 pieces of 5", 0, 180, 15},
        {"short arc: 2 pieces of one chord", 10, 20, 2},
        {"through 0 degrees, end below the start: as 300 to 420", 300, 60, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DrawRecorder rec;
        DrawLargeArcSegments(doc, 50, 25, 20, 20, c.start, c.end);
        std::vector<Seg> lines = Lines(rec);
        EXPECT_EQ(lines.size(), c.lines);
        EXPECT_EQ(Runs(lines).size(), 1u);
    }
}

// The two half dashes meet at 0 degrees: the seam shows one whole dash.
TEST_F(LargeArcs, ADashedCircleShowsOneWholeDashAtTheSeam) {
    doc->drawing->output.lineMode = 2;
    DrawRecorder rec;
    DrawLargeArcSegments(doc, 50, 25, 20, 20, 0, 360);
    std::vector<Seg> lines = Lines(rec);
    double above = 0, below = 0;
    for (const Seg& s : lines) {
        if (std::hypot(s.x1 - 70, s.y1 - 25) < 1e-6) (s.y2 > 25 ? above : below) += 1;
        if (std::hypot(s.x2 - 70, s.y2 - 25) < 1e-6) (s.y1 > 25 ? above : below) += 1;
    }
    EXPECT_EQ(above, 1); // the start's half dash leaves the seam upwards
    EXPECT_EQ(below, 1); // the end's, drawn back from 360 degrees, downwards
}

TEST_F(LargeArcs, APartialArcRunsFromItsStartToItsEnd) {
    doc->drawing->output.lineMode = 2;
    DrawRecorder rec;
    DrawLargeArcSegments(doc, 50, 25, 20, 20, 30, 150);
    std::vector<Seg> lines = Lines(rec);
    ASSERT_FALSE(lines.empty());
    for (const Seg& s : lines) {
        EXPECT_GE(s.y1, 25 + 20 * std::sin(M_PI / 6) - 1e-6); // above: 30 to 150 degrees
        EXPECT_GE(s.y2, 25 + 20 * std::sin(M_PI / 6) - 1e-6);
    }
    // An end at or below its start runs on through 0 degrees.
    rec.Clear();
    DrawLargeArcSegments(doc, 50, 25, 20, 20, 330, 30);
    for (const Seg& s : Lines(rec))
        EXPECT_GE(s.x1, 50 + 20 * std::cos(M_PI / 6) - 1e-6);
}

// Radius 10 km at a micrometre a pixel: 6e10 pixels round, a handful of pieces in view; nothing
// that is not a number reaches a line, whatever the radius, tolerance or angles.
TEST_F(LargeArcs, OnlyThePartInViewIsDrawnAtAnyRadius) {
    scale = 0.001;
    SetTestView(doc, scale, 0, 0);
    for (SInt16 mode : {1, 2, 3, 4, 6}) {
        SCOPED_TRACE("line mode " + std::to_string(mode));
        doc->drawing->output.lineMode = mode;
        DrawRecorder rec;
        auto t0 = std::chrono::steady_clock::now();
        // Its top passes through the middle of the view.
        DrawLargeArcSegments(doc, 0.1, 0.05 - 1e7, 1e7, 1e7, 0, 360);
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
        ASSERT_FALSE(rec.calls.empty());
        EXPECT_LE(rec.calls.size(), 60u);
        for (const DrawCall& c : rec.calls) {
            EXPECT_GE(std::min(c.v[0], c.v[2]), -4);
            EXPECT_LE(std::max(c.v[0], c.v[2]), kTestViewWidth + 4);
            EXPECT_NEAR(c.v[1], kBottom + 50, 0.5);
        }
    }
    struct Odd {
        const char* what;
        double cx, cy, r, start, end, tolerance;
    };
    const double nan = std::nan(""), inf = INFINITY;
    const Odd odd[] = {
        {"radius 1e300", 0.1, 0.05 - 1e300, 1e300, 0, 360, 1},
        {"tolerance 0", 0.1, 0.05 - 1e7, 1e7, 0, 360, 0},
        {"tolerance far above the radius", 0.1, 0.05 - 1e7, 1e7, 0, 360, 1e30},
        {"NaN tolerance", 0.1, 0.05 - 1e7, 1e7, 0, 360, nan},
        {"NaN radius", 0.1, 0.05, nan, 0, 360, 1},
        {"infinite centre", inf, 0.05, 1e7, 0, 360, 1},
        {"NaN angle", 0.1, 0.05 - 1e7, 1e7, nan, 360, 1},
        {"huge angles", 0.1, 0.05 - 1e7, 1e7, -1e300, 1e300, 1},
    };
    for (const Odd& o : odd) {
        SCOPED_TRACE(o.what);
        doc->settings->chordTolerance = o.tolerance;
        DrawRecorder rec;
        auto t0 = std::chrono::steady_clock::now();
        DrawLargeArcSegments(doc, o.cx, o.cy, o.r, o.r, o.start, o.end);
        DrawArcChords(doc, o.cx, o.cy, o.r, o.r, o.start, o.end - o.start);
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
        EXPECT_LE(rec.calls.size(), 400u);
        for (const DrawCall& c : rec.calls)
            for (int i = 0; i < 4; ++i)
                EXPECT_TRUE(std::isfinite(c.v[i]));
    }
}

// A circle element from 30000 pixels of radius on is drawn as chords with its own line type.
TEST_F(LargeArcs, ACircleElementTakesTheChordsFrom30000PixelsOn) {
    scale = 0.01;
    SetTestView(doc, scale, 0, 0);
    for (double pixels : {29999.0, 30000.0}) {
        SCOPED_TRACE(pixels);
        ArcRecord* arc = AddTestArc(1, 0.5 - pixels * scale, pixels * scale, 0, 360);
        arc->lineType = 2;
        DrawRecorder rec;
        DrawCircleElement(arc, doc);
        ASSERT_FALSE(rec.calls.empty());
        for (const DrawCall& c : rec.calls) {
            EXPECT_EQ(c.kind, DrawCallKind::line);
            EXPECT_NEAR(c.v[1], kBottom + 50, 0.5);
        }
        // Dashes of 44 with gaps of 6 pixels.
        EXPECT_GE(rec.calls.size(), 4u);
    }
}

} // namespace
