// The hatcher: which pieces of each hatch line lie inside outlines with holes, notches and vertices on
// the lines, many crossings on one line, the line-count bound, outline points as the plot and DXF
// hatches take them, and crossed hatches of areas.
#include "View/Hatching.h"
#include "Platform/MemoryManager.h"
#include "ViewTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using Ring = std::vector<std::pair<Float64, Float64>>;

struct Segment {
    Float64 x1, y1, x2, y2;
};

void Collect(void* context, Float64 x1, Float64 y1, Float64 x2, Float64 y2, void*) {
    static_cast<std::vector<Segment>*>(context)->push_back({x1, y1, x2, y2});
}

// Segments as text, each with its ends ordered and rounded to 0.001, sorted: a table compares them.
std::string Listing(std::vector<Segment> segments) {
    std::vector<std::string> lines;
    char buf[96];
    for (Segment s : segments) {
        if (s.x1 > s.x2 + 1e-9 || (std::fabs(s.x1 - s.x2) <= 1e-9 && s.y1 > s.y2))
            std::swap(s.x1, s.x2), std::swap(s.y1, s.y2);
        auto r = [](Float64 v) { return std::round(v * 1000) / 1000 + 0.0; };
        std::snprintf(buf, sizeof buf, "%g,%g-%g,%g", r(s.x1), r(s.y1), r(s.x2), r(s.y2));
        lines.push_back(buf);
    }
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const std::string& l : lines)
        out += l + " ";
    return out;
}

std::vector<Segment> Hatch(const std::vector<Ring>& rings, Float64 angle, Float64 spacing,
                           const HatchWindow* window = nullptr, Boolean* result = nullptr) {
    std::vector<std::vector<Float64>> xs(rings.size()), ys(rings.size());
    std::vector<HatchRing> hr;
    for (size_t i = 0; i < rings.size(); ++i) {
        for (auto& p : rings[i])
            xs[i].push_back(p.first), ys[i].push_back(p.second);
        hr.push_back({xs[i].data(), ys[i].data(), int(xs[i].size())});
    }
    std::vector<Segment> out;
    Boolean ok = HatchRings(hr.data(), int(hr.size()), angle, spacing, window, &out, nullptr, Collect);
    if (result) *result = ok;
    return out;
}

Handle PointList(const Ring& points) {
    Handle h = NewOutlineHandle(SInt16(points.size() - 1));
    for (size_t i = 0; i < points.size(); ++i) {
        OutlinePoints(h)[2 * i] = points[i].first;
        OutlinePoints(h)[2 * i + 1] = points[i].second;
    }
    return h;
}

const Ring kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};

} // namespace

TEST(Hatching, LinesStopAtTheOutlineAndItsHolesAndAtVerticesOnTheLine) {
    struct Case {
        const char* name;
        std::vector<Ring> rings;
        Float64 angle, spacing;
        const char* expected;
    } cases[] = {
        {"a square at 0 degrees: nine lines, the top one half a spacing short of the edge",
         {kSquare},
         0,
         1,
         "0,1-10,1 0,2-10,2 0,3-10,3 0,4-10,4 0,5-10,5 0,6-10,6 0,7-10,7 0,8-10,8 0,9-10,9 "},
        {"the same square closed by a repeated first point",
         {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}},
         0,
         2.5,
         "0,2.5-10,2.5 0,5-10,5 0,7.5-10,7.5 "},
        {"at 90 degrees the lines run up the square",
         {kSquare},
         90,
         2.5,
         "2.5,0-2.5,10 5,0-5,10 7.5,0-7.5,10 "},
        {"a hole is left out; lines along its edges keep what is inside",
         {kSquare, {{3, 3}, {7, 3}, {7, 7}, {3, 7}}},
         0,
         2,
         "0,2-10,2 0,4-3,4 0,6-3,6 0,8-10,8 7,4-10,4 7,6-10,6 "},
        {"a notch whose tip touches a line from above: the line runs on through it",
         {{{0, 0}, {10, 0}, {10, 10}, {5, 5}, {0, 10}}},
         0,
         5,
         "0,5-10,5 "},
        {"a notch whose tip touches a line from below: two pieces meeting at the tip",
         {{{0, 0}, {5, 5}, {10, 0}, {10, 10}, {0, 10}}},
         0,
         5,
         "0,5-5,5 5,5-10,5 "},
        {"a vertex the outline passes through counts once",
         {{{5, 0}, {10, 5}, {5, 10}, {0, 5}}},
         0,
         5,
         "0,5-10,5 "},
        {"a notch with an edge along the line",
         {{{0, 0}, {10, 0}, {10, 10}, {6, 10}, {6, 5}, {4, 5}, {4, 10}, {0, 10}}},
         0,
         5,
         "0,5-10,5 "},
        {"a hatch at 45 degrees across a square", {kSquare}, 45, 5, "0,4.142-5.858,10 2.929,0-10,7.071 "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Listing(Hatch(c.rings, c.angle, c.spacing)), c.expected) << c.name;
}

TEST(Hatching, ALineCrossingMoreThanFiftyEdgesKeepsEveryPiece) {
    // A comb of 60 teeth: the line at y = 5 crosses 120 edges.
    Ring comb{{0, 0}, {120, 0}, {120, 2}};
    for (int i = 59; i >= 0; --i) {
        comb.push_back({2.0 * i + 1, 2});
        comb.push_back({2.0 * i + 1, 10});
        comb.push_back({2.0 * i, 10});
        comb.push_back({2.0 * i, 2});
    }
    std::vector<Segment> segments = Hatch({comb}, 0, 5);
    int atFive = 0;
    for (const Segment& s : segments)
        if (std::fabs(s.y1 - 5) < 1e-9) {
            ++atFive;
            EXPECT_NEAR(s.x2 - s.x1, 1, 1e-9);
        }
    EXPECT_EQ(atFive, 60);
}

TEST(Hatching, WideAreasAreHatchedAndTheLineCountIsBounded) {
    // 20 m wide: hatched (a guard on the width once left every area over about 10 m blank).
    Ring wide{{0, 0}, {20000, 0}, {20000, 30}, {0, 30}};
    EXPECT_EQ(Hatch({wide}, 90, 100).size(), 199u);
    // More lines than the bound: nothing, and the caller is told.
    Ring huge{{0, 0}, {2e6, 0}, {2e6, 1}, {0, 1}};
    Boolean ok = true;
    EXPECT_TRUE(Hatch({huge}, 90, 1, nullptr, &ok).empty());
    EXPECT_FALSE(ok);
    // Seen through a window, only the lines that meet it are made, so the same area hatches there.
    HatchWindow window{1000, -5, 1010, 5};
    std::vector<Segment> seen = Hatch({huge}, 90, 1, &window, &ok);
    EXPECT_TRUE(ok);
    EXPECT_GE(seen.size(), 11u);
    EXPECT_LE(seen.size(), 13u);
    for (const Segment& s : seen)
        EXPECT_TRUE(s.x1 >= 999 && s.x1 <= 1011) << s.x1;
    // A few lines seen at the far end of an area of astronomical size: their numbers would run past
    // exact integers (and past the integer type), so nothing is drawn.
    Ring astronomical{{0, 0}, {1e18, 0}, {1e18, 1}, {0, 1}};
    HatchWindow farEnd{0, -1, 32, 2};
    EXPECT_TRUE(Hatch({astronomical}, 90, 0.1, &farEnd, &ok).empty());
    EXPECT_FALSE(ok);
    // Unusable input draws nothing.
    for (Float64 spacing : {0.0, -1.0, Float64(NAN)})
        EXPECT_TRUE(Hatch({kSquare}, 0, spacing).empty()) << spacing;
    EXPECT_TRUE(Hatch({{{0, 0}, {1, NAN}, {1, 1}}}, 0, 0.1).empty());
}

TEST(Hatching, OutlinePointsSkipUnusableAndRepeatedPointsButKeepSmallDetail) {
    Handle h = PointList({{0, 0}, {0.4, 0}, {0.4, 0}, {1e300, 5}, {0.8, 0}, {0.8, 0.6}, {0, 0.6}, {0, 0}});
    std::vector<Float64> xs, ys;
    OutlineRingPoints(h, 0.01, &xs, &ys);
    // Points 0.4 mm apart stay apart; the exact repeat and the unusable point go.
    std::vector<Float64> expectedX{0, 0.4, 0.8, 0.8, 0, 0};
    EXPECT_EQ(xs, expectedX);
    // A count that claims more points than the handle holds reads only what is there.
    SInt16 claimed = 5000;
    std::memcpy(*h, &claimed, sizeof claimed);
    OutlineRingPoints(h, 0.01, &xs, &ys);
    EXPECT_EQ(xs.size(), 6u);
    DisposeHandle(h);

    // A small area hatched for the plot and DXF keeps its shape (rounding to whole millimetres left
    // this one a line and hatched nothing).
    AreaRecord area{};
    area.fillKind = -2;
    area.hatchSpacing = 0.1;
    Handle tiny = PointList({{0.2, 0.2}, {0.9, 0.2}, {0.9, 0.7}, {0.2, 0.7}});
    std::vector<Segment> segments;
    HatchOutlinePoints(&segments, &area, tiny, nullptr, Collect);
    EXPECT_EQ(segments.size(), 4u);
    for (const Segment& s : segments)
        EXPECT_NEAR(std::fabs(s.x2 - s.x1), 0.7, 1e-9);
    DisposeHandle(tiny);

    // An ellipse contour becomes chords within the tolerance.
    Handle ellipse = NewOutlineHandle(-1);
    const Float64 e[4] = {5, 5, 4, 2};
    std::memcpy(OutlinePoints(ellipse), e, sizeof e);
    OutlineRingPoints(ellipse, 0.01, &xs, &ys);
    EXPECT_GT(xs.size(), 30u);
    for (size_t i = 0; i < xs.size(); ++i)
        EXPECT_NEAR(std::pow((xs[i] - 5) / 4, 2) + std::pow((ys[i] - 5) / 2, 2), 1, 1e-9);
    DisposeHandle(ellipse);
}

TEST(Hatching, AnAreaIsHatchedOnceOrCrossedByItsFillKindWithinTheSpacingBounds) {
    AreaRecord area{};
    area.outline = PointList(kSquare);
    area.lastHoleIndex = -1;
    struct Case {
        SInt16 fillKind;
        Float64 spacing;
        size_t expected;
    } cases[] = {
        {-2, 2.5, 3},   // single hatch
        {-1, 2.5, 6},   // crossed: a second pass at angle + 90
        {-3, 2.5, 3},   // any other negative word hatches once
        {0, 2.5, 0},    // a pattern is not hatched
        {-2, 0.01, 99}, // below the smallest spacing: hatched at 0.1
        {-2, 5000, 0},  // above the largest: 1000; the first line is tried and lies beyond the area
    };
    for (const Case& c : cases) {
        area.fillKind = c.fillKind;
        area.hatchSpacing = c.spacing;
        std::vector<Segment> segments;
        HatchArea(&area, 0.01, nullptr, &segments, nullptr, Collect);
        EXPECT_EQ(segments.size(), c.expected) << c.fillKind << " " << c.spacing;
    }
    DisposeAreaData(&area);
}

TEST(Hatching, SortingCrossingsKeepsEqualKeysInOrder) {
    for (long n : {5L, 100L}) {
        std::vector<Float64> keys, others;
        for (long i = 0; i < n; ++i)
            keys.push_back(Float64((i * 7) % 5)), others.push_back(Float64(i));
        SortCrossings(n, keys.data(), others.data());
        for (long i = 1; i < n; ++i) {
            ASSERT_LE(keys[size_t(i - 1)], keys[size_t(i)]);
            if (keys[size_t(i - 1)] == keys[size_t(i)]) {
                EXPECT_LT(others[size_t(i - 1)], others[size_t(i)]);
            }
        }
    }
}
