// Cutting, splitting and joining lines and arcs: the cut rules on plain values, and the element
// operations with their undo.
#include "CutSplitJoin.h"
#include "ElementRecords.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

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
