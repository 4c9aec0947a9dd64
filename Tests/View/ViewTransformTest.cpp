// The world-to-view transform, the segment clip and the order of a segment's ends, numerically.
#include "ViewTestSupport.h"
#include "View/ViewTransform.h"

#include <cmath>
#include <limits>

TEST_F(ViewDocumentTest, WorldToViewOnScreenCountsQuickDrawDownAndCoreGraphicsUpFromThePortBottom) {
    SetTestView(doc, 0.5, 10, 20);
    Float64 qx, qy, cx, cy;
    WorldToView(doc, 15, 30, &qx, &qy, &cx, &cy);
    EXPECT_DOUBLE_EQ(qx, 10);
    EXPECT_DOUBLE_EQ(qy, kTestViewHeight - 20);
    EXPECT_DOUBLE_EQ(cx, 10);
    EXPECT_DOUBLE_EQ(cy, kTestStatusHeight + 15 + 20);
    // Without both QuickDraw pointers only the CoreGraphics pair is written.
    qx = qy = -1;
    WorldToView(doc, 15, 30, &qx, nullptr, &cx, &cy);
    EXPECT_EQ(qx, -1);
}

TEST_F(ViewDocumentTest, WorldToViewInOutputModeUsesTheOutputScaleAndOffsets) {
    DrawingRecord* d = doc->drawing;
    d->output.outputContext = reinterpret_cast<CGContextRef>(1); // only tested for being set here
    d->output.outputScaleX = 2, d->output.outputScaleY = 3;
    d->output.outputOffsetX = 5, d->output.outputOffsetY = 7;
    d->output.outputFlipY = 100;
    Float64 qx, qy, cx, cy;
    WorldToView(doc, 10, 10, &qx, &qy, &cx, &cy);
    d->output.outputContext = nullptr;
    EXPECT_DOUBLE_EQ(qx, 15);
    EXPECT_DOUBLE_EQ(cx, 15);
    EXPECT_DOUBLE_EQ(qy, 70);
    EXPECT_DOUBLE_EQ(cy, 23);
}

TEST_F(ViewDocumentTest, WorldToViewIntRoundsBeforeItSubtractsFromTheViewHeight) {
    SetTestView(doc, 1.0, 0, 0);
    SInt16 h, v;
    Float64 cx, cy;
    WorldToViewInt(doc, 2.5, 10.5, &h, &v, &cx, &cy);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(v, kTestViewHeight - 11); // round(10.5) = 11, taken off 100
    EXPECT_DOUBLE_EQ(cy, kTestStatusHeight + 15 + 10.5);
    // Far points stay within the 16-bit range.
    WorldToViewInt(doc, 1e12, -1e12, &h, &v, &cx, &cy);
    EXPECT_EQ(h, 32767);
    EXPECT_EQ(v, 32767);
}

namespace {

struct ClipCase {
    const char* name;
    Float64 in[4];
    bool drawn;
    Float64 out[4];
};

} // namespace

TEST(SegmentClip, KeepsWhatLiesInsideThePortAndDropsTheRest) {
    const Float64 W = 100, H = 50;
    const ClipCase cases[] = {
        {"inside", {10, 10, 90, 40}, true, {10, 10, 90, 40}},
        {"wholly left", {-10, 10, -1, 40}, false, {}},
        {"on the bottom edge", {10, 0, 90, 0}, false, {}},
        {"on the right edge", {100, 10, 100, 40}, false, {}},
        {"inside to outside keeps its inside start", {50, 25, 150, 25}, true, {50, 25, 100, 25}},
        {"outside to inside", {-50, 25, 50, 25}, true, {0, 25, 50, 25}},
        {"across two edges", {-10, -10, 110, 50}, true, {10, 0, 100, 45}},
        {"through a corner only", {-10, 10, 10, -10}, false, {}},
        {"through the far corner only", {90, 60, 110, 40}, false, {}},
        {"sharing an outside side", {-5, -5, 200, -1}, false, {}},
    };
    for (const ClipCase& c : cases) {
        Float64 x1 = c.in[0], y1 = c.in[1], x2 = c.in[2], y2 = c.in[3];
        EXPECT_EQ(bool(ClipSegmentToPort(&x1, &y1, &x2, &y2, W, H)), c.drawn) << c.name;
        if (!c.drawn) continue;
        EXPECT_NEAR(x1, c.out[0], 1e-9) << c.name;
        EXPECT_NEAR(y1, c.out[1], 1e-9) << c.name;
        EXPECT_NEAR(x2, c.out[2], 1e-9) << c.name;
        EXPECT_NEAR(y2, c.out[3], 1e-9) << c.name;
    }
    Float64 nan = std::numeric_limits<Float64>::quiet_NaN();
    Float64 x1 = nan, y1 = 1, x2 = 5, y2 = 5;
    EXPECT_FALSE(ClipSegmentToPort(&x1, &y1, &x2, &y2, W, H));
}

TEST(SegmentEnds, OrderByXUnlessWithinAHundredthOfADegreeOfVertical) {
    struct Case {
        const char* name;
        Float64 in[4];
        Float64 out[4];
    };
    auto at = [](Float64 degrees, Float64 length) {
        return std::pair<Float64, Float64>{length * std::cos(degrees * M_PI / 180),
                                           length * std::sin(degrees * M_PI / 180)};
    };
    auto [dx5, dy5] = at(90.005, 10);
    auto [dx2, dy2] = at(90.02, 10);
    const Case cases[] = {
        {"right to left", {5, 1, 1, 2}, {1, 2, 5, 1}},
        {"pointing straight down", {3, 10, 3, 0}, {3, 0, 3, 10}},
        {"pointing down within the tolerance", {3, 10, 3 + 0.0001, 0}, {3 + 0.0001, 0, 3, 10}},
        {"90.005 degrees by y", {dx5, dy5, 0, 0}, {0, 0, dx5, dy5}},
        {"90.02 degrees by x", {0, 0, dx2, dy2}, {dx2, dy2, 0, 0}},
    };
    for (const Case& c : cases) {
        Float64 x1 = c.in[0], y1 = c.in[1], x2 = c.in[2], y2 = c.in[3];
        OrderSegmentEnds(&x1, &y1, &x2, &y2);
        EXPECT_DOUBLE_EQ(x1, c.out[0]) << c.name;
        EXPECT_DOUBLE_EQ(y1, c.out[1]) << c.name;
        EXPECT_DOUBLE_EQ(x2, c.out[2]) << c.name;
        EXPECT_DOUBLE_EQ(y2, c.out[3]) << c.name;
    }
}

TEST(SegmentEnds, NormalizingALineExchangesItsEndMarksWithItsEnds) {
    LineRecord line{};
    line.x1 = 3, line.y1 = 10, line.x2 = 3, line.y2 = 0;
    line.flags = SetLineEndMarkKind(SetLineStartMarkKind(0, 1), 3);
    NormalizeLineDirection(&line);
    EXPECT_EQ(line.y1, 0);
    EXPECT_EQ(LineStartMarkKind(line.flags), 3);
    EXPECT_EQ(LineEndMarkKind(line.flags), 1);
}
