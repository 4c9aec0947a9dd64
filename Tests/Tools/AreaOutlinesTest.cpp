// The outline builder: points, arcs as chords for every radius and tolerance, rounded boxes, the
// contour limit, areas made from contours, and the choices between arc points.
#include "Tools/AreaOutlines.h"
#include "../Model/DocumentFixture.h"
#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

class AreaOutlines : public DocumentTest {
  protected:
    std::vector<std::pair<Float64, Float64>> Points() const {
        std::vector<std::pair<Float64, Float64>> out;
        Handle h = doc->drawing->toolInput.outlineBlock;
        for (SInt16 i = 0; h && i <= OutlineLastIndex(h); ++i)
            out.push_back({OutlinePoints(h)[2 * i], OutlinePoints(h)[2 * i + 1]});
        return out;
    }
    int AreaCount() const {
        int n = 0;
        for (AreaRecord* a = doc->areaHead->next; a; a = a->next)
            ++n;
        return n;
    }
};

// Twice the signed area of a closed point list.
Float64 ShoelaceTwice(const std::vector<std::pair<Float64, Float64>>& p) {
    Float64 s = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const auto& a = p[i];
        const auto& b = p[(i + 1) % p.size()];
        s += a.first * b.second - b.first * a.second;
    }
    return s;
}

} // namespace

TEST_F(AreaOutlines, PointsRepeatNotAndContoursStopAt256WithTheCallerTold) {
    EXPECT_FALSE(PushOutlineContour(doc)); // nothing to push
    EXPECT_TRUE(AppendOutlinePoint(doc, 1, 2));
    EXPECT_TRUE(AppendOutlinePoint(doc, 1, 2));
    EXPECT_TRUE(AppendOutlinePoint(doc, 3, 4));
    EXPECT_EQ(OutlinePointCount(doc), 2);
    EXPECT_TRUE(PushOutlineContour(doc));
    EXPECT_EQ(OutlinePointCount(doc), 0);
    EXPECT_EQ(LastOutlineContour(doc), 0);
    for (int i = 1; i < 256; ++i) {
        AppendOutlinePoint(doc, i, 0);
        ASSERT_TRUE(PushOutlineContour(doc)) << i;
    }
    EXPECT_EQ(LastOutlineContour(doc), 255);
    // The 257th is refused and the outline stays to be dealt with.
    AppendOutlinePoint(doc, 7, 7);
    EXPECT_FALSE(PushOutlineContour(doc));
    EXPECT_EQ(LastOutlineContour(doc), 255);
    EXPECT_EQ(OutlinePointCount(doc), 1);
    EmptyOutlineContours(doc);
    EXPECT_EQ(LastOutlineContour(doc), -1);
    EXPECT_EQ(OutlinePointCount(doc), 0);
}

TEST_F(AreaOutlines, TheArcStepIsDefinedForEveryRadiusAndTolerance) {
    struct Case {
        Float64 radius, tolerance;
        Boolean ok;
        Float64 degrees;
    } cases[] = {
        {10, 1, true, 2 * std::acos(0.9) * kRadiansToDegrees},
        {3, 10, true, 180},     // the cosine would be -2.33: kept in range, at most half a turn
        {5, 10, true, 180},     // exactly -1
        {1000, 0.001, true, 1}, // never below one degree
        {0, 1, false, 0},
        {-2, 1, false, 0},
        {NAN, 1, false, 0},
        {INFINITY, 1, false, 0},
    };
    for (const Case& c : cases) {
        Float64 step = -1;
        EXPECT_EQ(ArcStepAngle(c.radius, c.tolerance, &step), c.ok) << c.radius;
        if (c.ok) {
            EXPECT_NEAR(step * kRadiansToDegrees, c.degrees, 1e-9) << c.radius << " " << c.tolerance;
        }
    }
}

TEST_F(AreaOutlines, ToleranceIsClampedAndStoredBackWhenAnArcIsAdded) {
    for (auto [stored, expected] :
         std::vector<std::pair<Float64, Float64>>{{0, 0.001}, {50, 10}, {NAN, 0.001}, {0.5, 0.5}}) {
        doc->settings->chordTolerance = stored;
        DiscardOutline(doc);
        EXPECT_TRUE(AppendArcBetweenPoints(doc, 0, 0, 10, 10, 0, 0, 10, true));
        EXPECT_EQ(doc->settings->chordTolerance, expected) << stored;
    }
}

TEST_F(AreaOutlines, ArcsRunFromTheStartPointToTheEndPointOnTheSameTurn) {
    doc->settings->chordTolerance = 0.1;
    struct Case {
        const char* name;
        Float64 sx, sy, ex, ey;
        Boolean ccw;
        Float64 sweepDegrees; // signed
    } cases[] = {
        {"a quarter counter-clockwise", 10, 0, 0, 10, true, 90},
        {"three quarters clockwise", 10, 0, 0, 10, false, -270},
        {"the start as the end: the whole circle", 10, 0, 10, 0, true, 360},
        {"across the zero direction", 0, -10, 0, 10, true, 180},
    };
    for (const Case& c : cases) {
        DiscardOutline(doc);
        ASSERT_TRUE(AppendArcBetweenPoints(doc, 0, 0, 10, c.sx, c.sy, c.ex, c.ey, c.ccw)) << c.name;
        auto p = Points();
        ASSERT_GE(p.size(), 3u) << c.name;
        EXPECT_EQ(p.front(), std::make_pair(c.sx, c.sy)) << c.name;
        EXPECT_EQ(p.back(), std::make_pair(c.ex, c.ey)) << c.name;
        Float64 turned = 0, step = 0;
        ArcStepAngle(10, 0.1, &step);
        for (size_t i = 1; i < p.size(); ++i) {
            EXPECT_NEAR(std::hypot(p[i].first, p[i].second), 10, 1e-9) << c.name;
            Float64 d = std::atan2(p[i].second, p[i].first) - std::atan2(p[i - 1].second, p[i - 1].first);
            d = std::remainder(d, kTwoPi);
            EXPECT_LE(std::fabs(d), step + 1e-9) << c.name;
            turned += d;
        }
        EXPECT_NEAR(turned * kRadiansToDegrees, c.sweepDegrees, 1e-6) << c.name;
    }
    // Without the end point, from one step after the start.
    DiscardOutline(doc);
    ASSERT_TRUE(AppendArcPoints(doc, 0, 0, 10, 0, 90, true));
    Float64 step;
    ArcStepAngle(10, 0.1, &step);
    auto p = Points();
    EXPECT_NEAR(std::atan2(p.front().second, p.front().first), step, 1e-12);
    EXPECT_LT(std::atan2(p.back().second, p.back().first), kTwoPi / 4);
    // No arc of no radius; nothing is appended.
    DiscardOutline(doc);
    EXPECT_FALSE(AppendArcBetweenPoints(doc, 0, 0, 0, 0, 0, 0, 0, true));
    EXPECT_FALSE(AppendArcPoints(doc, 0, 0, -1, 0, 90, true));
    EXPECT_EQ(OutlinePointCount(doc), 0);
}

TEST_F(AreaOutlines, RoundedRectanglePartsAndOutline) {
    const Float64 box[8] = {0, 0, 20, 0, 20, 10, 0, 10};
    RoundedRectShape shape;
    ASSERT_TRUE(RoundedRectParts(box, 2, &shape));
    EXPECT_EQ(shape.radius, 2);
    EXPECT_EQ(shape.rotation, 0);
    EXPECT_TRUE(shape.counterClockwise);
    const Float64 sides[4][4] = {{2, 0, 18, 0}, {20, 2, 20, 8}, {18, 10, 2, 10}, {0, 8, 0, 2}};
    const Float64 centres[4][2] = {{2, 2}, {18, 2}, {18, 8}, {2, 8}};
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(shape.sides[i][k], sides[i][k], 1e-12) << i << " " << k;
        EXPECT_NEAR(shape.centres[i][0], centres[i][0], 1e-12);
        EXPECT_NEAR(shape.centres[i][1], centres[i][1], 1e-12);
    }
    // A radius beyond half the shorter side is kept to it; a turned box reports its direction.
    const Float64 turned[8] = {0, 0, 0, 20, -10, 20, -10, 0};
    ASSERT_TRUE(RoundedRectParts(turned, 9, &shape));
    EXPECT_EQ(shape.radius, 5);
    EXPECT_NEAR(shape.rotation, 90, 1e-12);
    // Corners on a line, or two corners in one place, make no box.
    const Float64 flat[8] = {0, 0, 10, 0, 20, 0, 30, 0};
    const Float64 doubled[8] = {0, 0, 0, 0, 20, 10, 0, 10};
    EXPECT_FALSE(RoundedRectParts(flat, 1, &shape));
    EXPECT_FALSE(RoundedRectParts(doubled, 1, &shape));

    // The outline, whichever way the corners run, is the box less (4 - pi) r^2 and closes on itself.
    doc->settings->chordTolerance = 0.001;
    const Float64 clockwise[8] = {0, 0, 0, 10, 20, 10, 20, 0};
    for (const Float64* corners : {box, clockwise}) {
        DiscardOutline(doc);
        ASSERT_TRUE(AppendRoundedBoxOutline(doc, corners, 2));
        auto p = Points();
        EXPECT_EQ(p.front(), p.back());
        EXPECT_NEAR(std::fabs(ShoelaceTwice(p)) / 2, 200 - (4 - M_PI) * 4, 0.05);
        for (auto& q : p)
            EXPECT_TRUE(q.first >= -1e-9 && q.first <= 20 + 1e-9 && q.second >= -1e-9 &&
                        q.second <= 10 + 1e-9);
    }
    // No radius: the plain box and its first corner again.
    DiscardOutline(doc);
    ASSERT_TRUE(AppendRoundedBoxOutline(doc, box, 0));
    EXPECT_EQ(Points().size(), 5u);
}

TEST_F(AreaOutlines, AnAreaTakesOverTheContoursAsBoundaryAndHoles) {
    EXPECT_EQ(CreateAreaElement(doc, 2, 45, -2, false), nullptr); // no contour yet
    doc->settings->currentLayer = 7;
    doc->settings->currentPen = 3;
    doc->settings->currentGroup = 12;
    for (auto [x0, y0, x1, y1] :
         std::vector<std::array<Float64, 4>>{{0, 0, 40, 30}, {5, 5, 10, 10}, {20, 5, 30, 10}}) {
        AppendOutlinePoint(doc, x0, y0);
        AppendOutlinePoint(doc, x1, y0);
        AppendOutlinePoint(doc, x1, y1);
        AppendOutlinePoint(doc, x0, y1);
        AppendOutlinePoint(doc, x0, y0);
        ASSERT_TRUE(PushOutlineContour(doc));
    }
    AreaRecord* area = CreateAreaElement(doc, 2, 45, -2, false);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(doc->areaHead->next, area);
    EXPECT_EQ(area->layer, 7);
    EXPECT_EQ(area->pen, 3);
    EXPECT_EQ(area->group, 12);
    EXPECT_EQ(area->hatchSpacing, 2);
    EXPECT_EQ(area->hatchAngle, 45);
    EXPECT_EQ(area->fillKind, -2);
    EXPECT_EQ(OutlineLastIndex(area->outline), 4);
    EXPECT_EQ(area->lastHoleIndex, 1);
    EXPECT_EQ(GetHandleSize(area->holes), Size(2 * sizeof(Handle)));
    EXPECT_EQ(OutlinePoints(reinterpret_cast<Handle*>(*area->holes)[1])[0], 20);
    EXPECT_EQ(area->minX, 0);
    EXPECT_EQ(area->maxX, 40);
    EXPECT_EQ(area->maxY, 30);
    // The contours now belong to the area.
    EXPECT_EQ(LastOutlineContour(doc), -1);

    // A circle area: one ellipse contour, appended after the first and drawn.
    int drawn = 0;
    static int* counter;
    counter = &drawn;
    gDocumentHooks.drawElement = [](DocWindowRecord*, SInt16 kind, void*) {
        *counter += kind == kAreaElement;
    };
    AreaRecord* circle = CreateCircularArea(doc, 100, 50, 8);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(area->next, circle);
    EXPECT_EQ(AreaCount(), 2);
    EXPECT_EQ(drawn, 1);
    EXPECT_EQ(OutlineLastIndex(circle->outline), -1);
    const Float64* e = OutlinePoints(circle->outline);
    EXPECT_EQ(std::vector<Float64>(e, e + 4), (std::vector<Float64>{100, 50, 8, 8}));
    EXPECT_EQ(circle->lastHoleIndex, -1);
    EXPECT_EQ(circle->hatchSpacing, 11);
    EXPECT_EQ(circle->hatchAngle, 0);
    EXPECT_EQ(circle->fillKind, 1);
    EXPECT_EQ(circle->minX, 92);
    EXPECT_EQ(circle->maxY, 58);
}

TEST_F(AreaOutlines, ArcSweepsAndTheChoiceBetweenTwoArcPoints) {
    struct Sweep {
        Float64 sx, sy, ex, ey, px, py;
        Boolean expected;
    } sweeps[] = {
        {1, 0, 0, 1, 1, 1, true},   // inside a quarter
        {1, 0, 0, 1, 1, -1, false}, // outside it
        {0, 1, 1, 0, 1, -1, true},  // three quarters through the zero direction
        {0, 1, 1, 0, 1, 1, false},  //
        {1, 0, 0, 1, 1, 0, true},   // the ends count
        {0, 1, 1, 0, 1, 0, true},   //
    };
    for (const Sweep& s : sweeps)
        EXPECT_EQ(PointOnArcSweep(0, 0, s.sx, s.sy, s.ex, s.ey, s.px, s.py), s.expected)
            << s.px << "," << s.py << " from " << s.sx << "," << s.sy;

    ArcRecord arc{};
    arc.radius = 10;
    struct Choice {
        const char* name;
        Float64 start, end;
        Float64 x1, y1, x2, y2, rx, ry;
        Float64 wantX;
    } choices[] = {
        {"only the first lies on the arc", 0, 90, 10, 0, -10, 0, -10, 0, 10},
        {"half a degree beyond the end still counts", 0, 90, std::cos(90.5 * kDegreesToRadians) * 10,
         std::sin(90.5 * kDegreesToRadians) * 10, 0, -10, 0, -10, std::cos(90.5 * kDegreesToRadians) * 10},
        {"both on the arc: the nearer", 0, 180, 10, 0, -10, 0, -9, 0, -10},
        {"a full circle: the nearer", 0, 360, 10, 0, -10, 0, -9, 0, -10},
        {"a sweep through zero", 300, 30, 0, -10, std::cos(-20 * kDegreesToRadians) * 10,
         std::sin(-20 * kDegreesToRadians) * 10, 0, -10, std::cos(-20 * kDegreesToRadians) * 10},
    };
    for (const Choice& c : choices) {
        arc.startAngle = c.start, arc.endAngle = c.end;
        Float64 x, y;
        ChooseArcIntersection(c.x1, c.y1, c.x2, c.y2, c.rx, c.ry, &arc, &x, &y);
        EXPECT_NEAR(x, c.wantX, 1e-12) << c.name;
    }
}
