// Dimension drawing: terminators, extension lines and the geometry of every kind, what the display
// settings show on screen and on paper, tolerances, the text background box, degenerate records.
#include "Model/Dimensions.h"
#include "Other/MathPrimitives.h"
#include "TestSupport.h"
#include "View/DimensionDrawing.h"
#include "View/DimensionGeometry.h"
#include "View/ElementDrawing.h"
#include "View/TextDrawing.h"
#include "ViewTestSupport.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {

void SetP(StringPtr dest, const std::string& s) {
    dest[0] = UInt8(s.size());
    std::memcpy(dest + 1, s.data(), s.size());
}

struct P {
    Str255 s;
    explicit P(const std::string& text) { SetP(s, text); }
    operator ConstStr255Param() const { return s; }
};

bool AllFinite(const std::vector<DrawCall>& calls) {
    for (const DrawCall& c : calls)
        for (Float64 v : c.v)
            if (!std::isfinite(v)) return false;
    return true;
}

class DimensionDrawing : public ViewDocumentTest {
  protected:
    void SetUp() override {
        EnsureTestApplication(); // texts are measured to place them
        ViewDocumentTest::SetUp();
        InstallViewDrawingHooks();
        DocSettings* s = doc->settings;
        s->dimLineOffset = 1, s->dimExtensionOvershoot = 2, s->dimExtensionOffset = 1;
        s->dimTerminatorSize = 3.5, s->dimArrowAngle = 15, s->extensionGap = 10;
        s->dimDecimals = 1;
        DimCutZeros(s) = 1;
        SetDimTextHeight(s, 5);
    }
    const P none{""};

    DimensionRecord* Horizontal(Float64 x2, Float64 posY = 20) {
        return CreateDimension(doc, 0, 0, x2, 0, x2 / 2, posY + 1, kDimHorizontal, 0, 0, 0, 0, none, none,
                               none, 0, doc->settings->dimFlags);
    }
};

} // namespace

TEST_F(DimensionDrawing, TerminatorPointsByKind) {
    const Float64 t = std::tan(15 * kDegreesToRadians), c = std::cos(45 * kDegreesToRadians);
    struct Case {
        SInt16 kind;
        Float64 angle;
        Float64 p1x, p1y, p2x, p2y;
    };
    const Case cases[] = {
        {0, 0, 6, 10 - 4 * t, 6, 10 + 4 * t},                   // an arrow opens backwards from the tip
        {0, 90, 10 + 4 * t, 6, 10 - 4 * t, 6},                  // turned with the line
        {2, 0, 10 + 2 * c, 10 + 2 * c, 10 - 2 * c, 10 - 2 * c}, // a tick at 45 degrees
        {1, 30, 10, 10, 10, 10},                                // a dot is drawn at the tip alone
        {3, 30, 10, 10, 10, 10},                                // an unknown kind is nothing
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << k.kind << " at " << k.angle);
        Float64 tip[2], p1[2], p2[2];
        DimensionTerminator(doc->settings, k.kind, 10, 10, k.angle, 4, tip, p1, p2);
        EXPECT_DOUBLE_EQ(tip[0], 10);
        EXPECT_DOUBLE_EQ(tip[1], 10);
        EXPECT_NEAR(p1[0], k.p1x, 1e-12);
        EXPECT_NEAR(p1[1], k.p1y, 1e-12);
        EXPECT_NEAR(p2[0], k.p2x, 1e-12);
        EXPECT_NEAR(p2[1], k.p2y, 1e-12);
    }
}

TEST_F(DimensionDrawing, FixedExtensionLinesAreCutToTheGapUnlessShorter) {
    DimensionRecord d{};
    d.flags = kDimFixedExtension;
    struct Case {
        Float64 length, drawn;
    };
    for (Case c : {Case{25, 10}, Case{10, 10}, Case{4, 4}}) {
        SCOPED_TRACE(c.length);
        Float64 e[4];
        DimExtensionEnds(&d, doc->settings, 0, 0, 0, c.length, e);
        EXPECT_NEAR(std::hypot(e[2] - e[0], e[3] - e[1]), c.drawn, 1e-12);
        EXPECT_DOUBLE_EQ(e[3], c.length) << "measured from the dimension line";
    }
    d.flags = 0;
    Float64 e[4];
    DimExtensionEnds(&d, doc->settings, 0, 0, 0, 25, e);
    EXPECT_DOUBLE_EQ(e[1], 0);
}

TEST_F(DimensionDrawing, HorizontalLinesAndArrowsSitInsideWhenThereIsRoom) {
    struct Case {
        Float64 length;
        Float64 firstAngle, secondAngle;
    };
    // 3 x 3.5 = 10.5: longer dimensions point outward from inside, shorter ones inward from outside.
    for (Case c : {Case{40, 180, 0}, Case{8, 0, 180}}) {
        SCOPED_TRACE(c.length);
        DimensionRecord* d = Horizontal(c.length);
        ASSERT_NE(d, nullptr);
        DimGeometry g;
        ASSERT_TRUE(DimHorizontalGeometry(d, doc->settings, &g));
        EXPECT_DOUBLE_EQ(g.line[1], 20);
        EXPECT_DOUBLE_EQ(g.line[3], 20);
        EXPECT_LE(g.line[0], 0);
        EXPECT_GE(g.line[2], c.length);
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(g.hasExtension[i]);
            EXPECT_DOUBLE_EQ(g.extension[i][0], i == 0 ? 0 : c.length);
            EXPECT_DOUBLE_EQ(g.extension[i][1], 1);  // clear of the measured point
            EXPECT_DOUBLE_EQ(g.extension[i][3], 22); // on past the dimension line
        }
        Float64 tip[2], p1[2], p2[2];
        DimensionTerminator(doc->settings, 0, 0, 20, c.firstAngle, 3.5, tip, p1, p2);
        EXPECT_NEAR(g.terminator[0][2], p1[0], 1e-12);
        DimensionTerminator(doc->settings, 0, c.length, 20, c.secondAngle, 3.5, tip, p1, p2);
        EXPECT_NEAR(g.terminator[1][2], p1[0], 1e-12);
    }
}

// One dimension of every kind: the dimension line passes where the kind says, the terminators sit on
// it, and the text is drawn where the record put it.
TEST_F(DimensionDrawing, EveryKindHasItsGeometry) {
    ArcRecord circle{};
    circle.cx = 50, circle.cy = 50, circle.radius = 10;
    LineRecord xAxis{}, yAxis{}, base{};
    xAxis.x2 = 40;
    yAxis.y2 = 40;
    base.x2 = 30;
    DimensionRecord* vertical = CreateVerticalDimension(doc, 0, 0, 0, 30, -15, 0, none, none, none);
    DimensionRecord* aligned = CreateAlignedDimension(doc, 0, 0, 30, 40, 3, 4, -8, 6, none, none, none);
    DimensionRecord* diameter = CreateDiameterDimension(doc, &circle, 50, 55, none, none, none);
    DimensionRecord* radius = CreateRadiusDimension(doc, &circle, 80, 50, none, none, none);
    DimensionRecord* angle = CreateLineAngleDimension(doc, &xAxis, &yAxis, nullptr, 20, 20, none, none, none);
    DimensionRecord* normal = CreatePointLineDimension(doc, &base, 40, 12, none, none, none);
    ASSERT_TRUE(vertical && aligned && diameter && radius && angle && normal);
    DimGeometry g;

    ASSERT_TRUE(DimensionGeometry(vertical, doc->settings, &g));
    EXPECT_DOUBLE_EQ(g.line[0], -15);
    EXPECT_DOUBLE_EQ(g.line[2], -15);
    EXPECT_DOUBLE_EQ(g.extension[1][2], -17);

    ASSERT_TRUE(DimensionGeometry(aligned, doc->settings, &g));
    EXPECT_NEAR(PointDistance(g.terminator[0][0], g.terminator[0][1], g.terminator[1][0], g.terminator[1][1]),
                50, 1e-9);
    // The line runs through the position, parallel to the direction.
    EXPECT_NEAR((g.line[0] + 8) * 4 - (g.line[1] - 6) * 3, 0, 1e-9);

    ASSERT_TRUE(DimensionGeometry(diameter, doc->settings, &g));
    EXPECT_NEAR(g.terminator[0][0], 50, 1e-9);
    EXPECT_NEAR(g.terminator[0][1], 40, 1e-9);
    EXPECT_NEAR(g.terminator[1][1], 60, 1e-9);
    EXPECT_FALSE(g.hasExtension[0] || g.hasExtension[1]);
    EXPECT_NEAR(g.textX, diameter->textX - 1, 1e-9) << "the text stands the line offset beside the line";

    ASSERT_TRUE(DimensionGeometry(radius, doc->settings, &g));
    EXPECT_DOUBLE_EQ(g.terminator[0][0], 60);
    EXPECT_DOUBLE_EQ(g.terminator[0][1], 50);
    EXPECT_GT(g.terminator[0][2], 60) << "the arrow's back runs along the line out to the text";
    EXPECT_EQ(g.terminatorKind[1], -1);

    ASSERT_TRUE(DimensionGeometry(angle, doc->settings, &g));
    ASSERT_TRUE(g.isArc);
    EXPECT_NEAR(g.arcRadius, std::hypot(20.0, 20.0), 1e-6);
    EXPECT_NEAR(g.arcStart, 0, 1e-9);
    EXPECT_NEAR(g.arcEnd, 90, 1e-9);

    ASSERT_TRUE(DimensionGeometry(normal, doc->settings, &g));
    EXPECT_DOUBLE_EQ(g.line[2], 40);
    EXPECT_DOUBLE_EQ(g.line[3], 0);
    EXPECT_EQ(g.terminatorKind[0], -1);
    ASSERT_TRUE(g.hasExtension[0]) << "the base line runs on to the foot beyond its end";
    EXPECT_DOUBLE_EQ(g.extension[0][0], 31);
    EXPECT_DOUBLE_EQ(g.extension[0][2], 42);

    DimensionRecord odd = *normal;
    odd.kind = 9;
    EXPECT_FALSE(DimensionGeometry(&odd, doc->settings, &g));
}

// A diameter or point-to-line record whose measured points coincide has no direction to move its
// text and outline by: both stay where the record put them.
TEST_F(DimensionDrawing, CoincidingPointsMoveNoTextOrOutline) {
    for (SInt16 kind : {kDimDiameter, kDimPointLine}) {
        SCOPED_TRACE(kind);
        DimensionRecord* d =
            CreateDimension(doc, 5, 5, 5, 5, 20, 20, kind, 0, 5, 5, 0, P("0"), none, none, 0, 0);
        ASSERT_NE(d, nullptr);
        Float64 dx = 1, dy = 1;
        DimTextOffset(d, doc->settings, &dx, &dy);
        EXPECT_EQ(dx, 0);
        EXPECT_EQ(dy, 0);
        SetTestView(doc, 0.25);
        DrawRecorder rec;
        DrawDimension(d, doc);
        DrawDimFrame(d, doc, 0);
        EXPECT_FALSE(rec.calls.empty());
        EXPECT_TRUE(AllFinite(rec.calls));
    }
}

TEST_F(DimensionDrawing, DisplaySettingsDecideBetweenTextAndOutline) {
    struct Case {
        const char* name;
        UInt16 mode;
        Float64 unitsPerPixel;
        bool paper;
        size_t texts;
        bool anyLine;
    };
    const Case cases[] = {
        {"in full", 0, 0.25, false, 1, true},
        {"text under 6 pixels shows its outline", 0, 1, false, 0, true},
        {"outlines only on screen", 1, 0.25, false, 0, true},
        {"outlines only, but in full on paper", 1, 0.25, true, 1, true},
        {"hidden", 2, 0.25, false, 0, false},
        {"hidden on paper too", 2, 0.25, true, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DimensionRecord* d = Horizontal(40);
        d->drawn = 0;
        doc->settings->dimDisplayMode = c.mode;
        SetTestView(doc, c.unitsPerPixel);
        std::unique_ptr<PrintPage> page(c.paper ? new PrintPage(doc, 200, 0) : nullptr);
        DrawRecorder rec;
        DrawDimension(d, doc);
        EXPECT_TRUE(d->drawn);
        EXPECT_EQ(rec.Of(DrawCallKind::text).size(), c.texts);
        EXPECT_EQ(!rec.Of(DrawCallKind::line).empty() || !rec.Of(DrawCallKind::styledLine).empty(),
                  c.anyLine);
    }
}

TEST_F(DimensionDrawing, ZoomingInShowsTheTextAgain) {
    DimensionRecord* d = Horizontal(40);
    for (Float64 upp : {1.0, 0.5, 0.25}) {
        SetTestView(doc, upp);
        DrawRecorder rec;
        DrawDimension(d, doc);
        EXPECT_EQ(rec.Of(DrawCallKind::text).size(), 5 / upp >= 6 ? 1u : 0u) << upp;
    }
}

TEST_F(DimensionDrawing, AHiddenLayerDrawsNothingButCountsAsDrawn) {
    DimensionRecord* d = Horizontal(40);
    SetLayerVisible(doc->layerVisible, d->layer, false);
    SetTestView(doc, 0.25);
    DrawRecorder rec;
    d->drawn = 0;
    DrawDimension(d, doc);
    EXPECT_TRUE(d->drawn);
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(DimensionDrawing, TolerancesFollowTheValueAboveAndBelow) {
    struct Case {
        const char *upper, *lower, *shownUpper;
        Float64 rise;
    };
    const Case cases[] = {
        {"+0.1", "-0.2", "+0.1", 0.7},
        {"+0.1", "-0.1",
         "\xC2\xB1"
         "0.1",
         0.3},
        {"\xF1"
         "0.1",
         "",
         "\xC2\xB1"
         "0.1",
         0.3}, // the merged form of older drawings
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownUpper);
        DimensionRecord* d = Horizontal(40);
        SetP(d->upperTolerance, c.upper);
        SetP(d->lowerTolerance, c.lower);
        MergeTolerances(d->upperTolerance, d->lowerTolerance);
        std::vector<PlotCall> plotted;
        {
            PlotRecorder plot(doc);
            DrawDimension(d, doc);
            plotted = plot.calls;
        }
        std::vector<PlotCall> texts;
        for (const PlotCall& p : plotted)
            if (p.kind == 'T') texts.push_back(p);
        bool twoTolerances = c.lower[0] && std::string(c.shownUpper) == c.upper;
        ASSERT_EQ(texts.size(), twoTolerances ? 3u : 2u);
        EXPECT_EQ(texts[0].text, "40");
        EXPECT_EQ(texts[1].text, c.shownUpper);
        Float64 w = TextStringWidth(doc->settings->dimFont, 0, 5, d->text + 1, d->text[0]);
        EXPECT_NEAR(texts[1].v[0] - texts[0].v[0], w, 1e-9);
        EXPECT_NEAR(texts[1].v[1] - texts[0].v[1], c.rise * 5, 1e-9);
        EXPECT_NEAR(texts[1].v[2], 3, 1e-9) << "tolerances are 0.6 of the height";
        if (twoTolerances) {
            EXPECT_EQ(texts[2].text, c.lower);
            EXPECT_NEAR(texts[1].v[1] - texts[2].v[1], 3.5, 1e-9);
        }
    }
}

TEST_F(DimensionDrawing, BackgroundBoxComesFirstAndNotOnThePlotter) {
    doc->settings->dimFlags = kDimTextBackground;
    DimensionRecord* d = Horizontal(40);
    SetTestView(doc, 0.25);
    {
        DrawRecorder rec;
        DrawDimension(d, doc);
        ASSERT_FALSE(rec.calls.empty());
        EXPECT_EQ(rec.calls[0].kind, DrawCallKind::quadFill);
        EXPECT_EQ(rec.calls[0].colour.red, 0xFFFF);
    }
    // A kind no drawer knows shows its box alone.
    d->kind = 7;
    {
        DrawRecorder rec;
        DrawDimension(d, doc);
        EXPECT_EQ(rec.Of(DrawCallKind::quadFill).size(), 1u);
        EXPECT_TRUE(rec.Of(DrawCallKind::text).empty());
    }
    d->kind = kDimHorizontal;
    DrawRecorder rec;
    std::vector<PlotCall> plotted;
    {
        PlotRecorder plot(doc);
        DrawDimension(d, doc);
        plotted = plot.calls;
    }
    EXPECT_TRUE(rec.Of(DrawCallKind::quadFill).empty());
    EXPECT_FALSE(plotted.empty());
}

TEST_F(DimensionDrawing, TheWindowPassAndTheChangeHookDrawDimensions) {
    DimensionRecord* d = Horizontal(40);
    // Out of the view: the pass leaves it out.
    ASSERT_NE(CreateHorizontalDimension(doc, 1000, 0, 1050, 0, 0, 20, none, none, none), nullptr);
    SetTestView(doc, 0.25);
    {
        DrawRecorder rec;
        DrawViewContent(doc);
        std::vector<DrawCall> texts = rec.Of(DrawCallKind::text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, "40");
    }
    DrawRecorder rec;
    RedrawDimension(d, doc);
    EXPECT_EQ(rec.Of(DrawCallKind::text).size(), 1u);
}

TEST_F(DimensionDrawing, FrameShapesAndUnderlineDrawRoundTheText) {
    struct Case {
        UInt16 flags;
        size_t lines, arcs;
    };
    // Beyond the dimension's own five lines (dimension line, two extension lines, two arrows of three).
    const Case cases[] = {
        {0, 0, 0}, {1u << 2, 2, 2}, {1u << 3, 4, 0}, {1u << 4, 2, 2}, {1u << 5, 6, 0}, {kDimUnderline, 1, 0},
    };
    size_t plain = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        doc->settings->dimFlags = c.flags;
        DimensionRecord* d = Horizontal(40, 10);
        SetTestView(doc, 0.25);
        DrawRecorder rec;
        DrawDimension(d, doc);
        size_t lines = rec.Of(DrawCallKind::line).size() + rec.Of(DrawCallKind::styledLine).size();
        if (c.flags == 0) plain = lines;
        EXPECT_EQ(lines - plain, c.lines);
        EXPECT_EQ(rec.Of(DrawCallKind::arc).size(), c.arcs);
        EXPECT_TRUE(AllFinite(rec.calls));
    }
}
