// Dimensions: the value text, placement and stored points of every kind, the text style settings,
// tolerances, the length factor, refused and degenerate input, the rebuild with new settings.
#include "DocumentFixture.h"
#include "MessageCapture.h"
#include "TestSupport.h"
#include "Model/Dimensions.h"
#include "Other/MathPrimitives.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

std::string Text(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

void SetP(StringPtr dest, const std::string& s) {
    dest[0] = UInt8(s.size());
    std::memcpy(dest + 1, s.data(), s.size());
}

struct P {
    Str255 s;
    explicit P(const std::string& text) { SetP(s, text); }
    operator ConstStr255Param() const { return s; }
};

// The middle of the text's baseline: where the creators put the text point.
void BaselineMiddle(const DimensionRecord* d, Float64* x, Float64* y) {
    *x = (d->textX + d->frame[0]) / 2;
    *y = (d->textY + d->frame[1]) / 2;
}

int CountDimensions(DocWindowRecord* doc) {
    int n = 0;
    for (DimensionRecord* d = doc->dimensionHead->next; d; d = d->next)
        ++n;
    return n;
}

class Dimensions : public DocumentTest {
  protected:
    void SetUp() override {
        EnsureTestApplication(); // texts are measured to place them
        DocumentTest::SetUp();
        doc->settings->dimDecimals = 2;
        DimCutZeros(doc->settings) = 1;
        doc->settings->dimLineOffset = 1.0;
        SetDimTextHeight(doc->settings, 3.5);
    }
    const P none{""};
};

} // namespace

// One case per kind: the value text, the stored points, the text angle and where the text's middle
// lands. Lines of the angle cases: the x axis and a line at 60 degrees, both through the origin.
TEST_F(Dimensions, EachKindMeasuresPlacesAndOrders) {
    ArcRecord circle{};
    circle.cx = 50, circle.cy = 50, circle.radius = 10;
    LineRecord xAxis{}, slanted{}, base{};
    xAxis.x2 = 100;
    slanted.x2 = 50, slanted.y2 = 50 * std::sqrt(3.0);
    base.x1 = 0, base.y1 = 0, base.x2 = 10, base.y2 = 0;

    struct Case {
        const char* name;
        std::function<DimensionRecord*()> make;
        const char* text;
        Float64 angle;
        Float64 x1, y1, x2, y2; // stored measured points
        Float64 midX, midY;     // expected middle of the baseline (NAN: not checked)
    };
    const Float64 lo = doc->settings->dimLineOffset;
    const Case cases[] = {
        {"horizontal right to left",
         [&] { return CreateHorizontalDimension(doc, 40, 5, 0, 0, 0, 20, none, none, none); }, "40", 0, 0, 0,
         40, 5, 20, 20 + lo},
        {"vertical top to bottom",
         [&] { return CreateVerticalDimension(doc, 3, 30, 0, 5, -10, 0, none, none, none); }, "25", 90, 0, 5,
         3, 30, -10 - lo, 17.5},
        {"aligned along (3, 4)",
         [&] { return CreateAlignedDimension(doc, 30, 40, 0, 0, 3, 4, 0, 0, none, none, none); }, "50",
         std::atan2(4.0, 3.0) * kRadiansToDegrees, 0, 0, 30, 40, 15 - 0.8 * lo, 20 + 0.6 * lo},
        {"aligned along a leftward direction reads upright",
         [&] { return CreateAlignedDimension(doc, 0, 0, 12.5, 3, -1, 0, 0, 10, none, none, none); }, "12.5",
         0, 0, 0, 12.5, 3, 6.25, 10 + lo},
        {"diameter toward the upper right",
         [&] { return CreateDiameterDimension(doc, &circle, 80, 50, none, none, none); }, "20", 0, 40, 50, 60,
         50, 80, 50},
        {"diameter straight down reads upward",
         [&] { return CreateDiameterDimension(doc, &circle, 50, 30, none, none, none); }, "20", 90, 50, 40,
         50, 60, 50, 30},
        {"radius toward the left turns the text over",
         [&] { return CreateRadiusDimension(doc, &circle, 20, 50, none, none, none); }, "10", 0, 40, 50, 50,
         50, 20, 50 + lo},
        {"angle in the sector of the position",
         [&] { return CreateLineAngleDimension(doc, &xAxis, &slanted, nullptr, 20, 5, none, none, none); },
         "60°", NAN, NAN, NAN, NAN, NAN, NAN, NAN},
        {"angle in the neighbouring sector",
         [&] { return CreateLineAngleDimension(doc, &xAxis, &slanted, nullptr, -20, 5, none, none, none); },
         "120°", NAN, NAN, NAN, NAN, NAN, NAN, NAN},
        {"point to line", [&] { return CreatePointLineDimension(doc, &base, 5, 7, none, none, none); }, "7",
         0, 5, 7, 0, 0, NAN, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DimensionRecord* d = c.make();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->text), c.text);
        Str255 again;
        FormatDimensionText(doc, d, again);
        EXPECT_EQ(Text(again), c.text) << "the value measured again";
        if (!std::isnan(c.angle)) {
            EXPECT_NEAR(DimensionTextAngle(d), c.angle, 1e-9);
        }
        if (!std::isnan(c.x1)) {
            EXPECT_DOUBLE_EQ(d->x1, c.x1);
            EXPECT_DOUBLE_EQ(d->y1, c.y1);
            EXPECT_DOUBLE_EQ(d->x2, c.x2);
            EXPECT_DOUBLE_EQ(d->y2, c.y2);
        }
        if (!std::isnan(c.midX)) {
            Float64 mx, my;
            BaselineMiddle(d, &mx, &my);
            EXPECT_NEAR(mx, c.midX, 1e-9);
            EXPECT_NEAR(my, c.midY, 1e-9);
        }
        EXPECT_GT(PointDistance(d->textX, d->textY, d->frame[0], d->frame[1]), 0) << "the text has a width";
        EXPECT_EQ(d, doc->drawing->cursors.dimensionCursor);
    }
    EXPECT_EQ(CountDimensions(doc), int(std::size(cases)));
}

TEST_F(Dimensions, AngleTextSitsOutsideTheArcOnBothHalves) {
    LineRecord a{}, b{};
    a.x1 = -50, a.x2 = 50;
    b.y1 = -50, b.y2 = 50;
    for (Float64 y : {20.0, -20.0}) {
        SCOPED_TRACE(y);
        DimensionRecord* d = CreateLineAngleDimension(doc, &a, &b, nullptr, 5, y, none, none, none);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->text), "90°");
        // Every corner of the text lies farther from the vertex than the text point.
        Float64 r = std::hypot(5.0, 20.0);
        EXPECT_GT(std::hypot(d->textX, d->textY), r);
        for (int i = 0; i < 3; ++i)
            EXPECT_GT(std::hypot(d->frame[2 * i], d->frame[2 * i + 1]), r);
        Float64 tx, ty;
        DimensionTextPoint(doc->settings, d, &tx, &ty);
        EXPECT_NEAR(tx, 5, 1e-6);
        EXPECT_NEAR(ty, y, 1e-6);
    }
}

// A text point closer to the vertex than half the text is wide, on the lower half, once gave a square
// root of a negative number: the text position must stay a number everywhere.
TEST_F(Dimensions, AngleTextNearTheVertexStaysFinite) {
    P wide("a long angle text");
    for (Float64 tx : {0.0, 0.5, -0.5})
        for (Float64 ty : {0.0, -0.5, -3.0}) {
            SCOPED_TRACE(testing::Message() << tx << ", " << ty);
            DimensionRecord* d =
                CreateDimension(doc, 10, 0, 0, 10, tx, ty, kDimAngle, 0, 0, 0, 90, wide, none, none, 0, 0);
            ASSERT_NE(d, nullptr);
            EXPECT_TRUE(std::isfinite(d->textX) && std::isfinite(d->textY));
            for (Float64 v : d->frame)
                EXPECT_TRUE(std::isfinite(v));
        }
}

TEST_F(Dimensions, ValueTextFollowsTheStyleSettings) {
    DocSettings* s = doc->settings;
    struct Case {
        const char* name;
        std::function<void()> setup;
        Float64 length; // millimetres, horizontal
        const char* text;
        const char* overrideText;
    };
    const Case cases[] = {
        {"cut zeros after the point", [] {}, 12.5, "12.5", ""},
        {"cut zeros and the point", [] {}, 12, "12", ""},
        {"zeros kept", [&] { DimCutZeros(s) = 0; }, 12, "12.00", ""},
        {"decimals", [&] { s->dimDecimals = 1; }, 12.46, "12.5", ""},
        {"prefix and postfix", [&] { SetP(s->dimPrefix, "ca. "), SetP(s->dimSuffix, " max"); }, 8,
         "ca. 8 max", ""},
        {"override replaces prefix, number, unit and postfix",
         [&] {
             SetP(s->dimPrefix, "R"), SetP(s->dimSuffix, "!");
             s->dimFlags = kDimUnitSuffix;
         },
         8, "typed", "typed"},
        {"unit name after a blank",
         [&] {
             s->dimFlags = kDimUnitSuffix;
             DimOptionBits(s) = kDimOptionUnitName | kDimOptionBlankBeforeUnit;
             SetP(s->dimUnitText, "units");
         },
         8, "8 mm", ""},
        {"custom unit text in the dimension unit factor",
         [&] {
             s->dimFlags = kDimUnitSuffix;
             DimOptionBits(s) = kDimOptionCustomUnitText;
             SetP(s->dimUnitText, "cm");
             SetDimUnitFactor(s, 0.1);
         },
         25, "2.5cm", ""},
        {"feet and inches", [&] { DimFeetInchFormat(s) = 1; }, 12 * 25.4 + 6 * 25.4, "1'-6\"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s->dimDecimals = 2;
        DimCutZeros(s) = 1;
        s->dimPrefix[0] = s->dimSuffix[0] = 0;
        s->dimFlags = 0;
        DimOptionBits(s) = 0;
        DimFeetInchFormat(s) = 0;
        SetDimUnitFactor(s, 1);
        c.setup();
        DimensionRecord* d =
            CreateHorizontalDimension(doc, 0, 0, c.length, 0, 0, 10, P(c.overrideText), none, none);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->text), c.text);
        EXPECT_EQ((d->flags & kDimTextOverride) != 0, c.overrideText[0] != 0);
    }
}

TEST_F(Dimensions, LengthsAreDividedByTheDrawingScale) {
    // A 1:2 drawing: 10 millimetres on paper are 20 in the drawing, measured by a creator or by the
    // creation routine itself.
    doc->settings->drawingScale = 0.5;
    DimensionRecord* made = CreateHorizontalDimension(doc, 0, 0, 10, 0, 0, 5, none, none, none);
    DimensionRecord* measured =
        CreateDimension(doc, 0, 0, 10, 0, 5, 5, kDimHorizontal, 0, 0, 0, 0, none, none, none, 0, 0);
    ASSERT_NE(made, nullptr);
    ASSERT_NE(measured, nullptr);
    EXPECT_EQ(Text(made->text), "20");
    EXPECT_EQ(Text(measured->text), "20");
    // A dimension keeps the scale it was made in when it is measured again.
    doc->settings->drawingScale = 0.25;
    RebuildAllDimensions(doc);
    EXPECT_EQ(Text(made->text), "20");
    DimensionRecord* later = CreateHorizontalDimension(doc, 0, 0, 10, 0, 0, 5, none, none, none);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(Text(later->text), "40");
}

TEST_F(Dimensions, EqualTolerancesMergeIntoPlusMinus) {
    struct Case {
        const char *upper, *lower, *storedUpper, *storedLower;
    };
    const Case cases[] = {
        {"+0.1", "-0.1",
         "\xC2\xB1"
         "0.1",
         ""},
        {"+0.1", "-0.2", "+0.1", "-0.2"},
        {"+0.1", "", "+0.1", ""},
        {"0.1", "-0.1", "0.1", "-0.1"},
        {"+0.123456", "-0.123456",
         "\xF1"
         "0.123456",
         ""}, // the two-byte sign would not be kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upper + std::string(" ") + c.lower);
        DimensionRecord* d = CreateHorizontalDimension(doc, 0, 0, 10, 0, 0, 5, none, P(c.upper), P(c.lower));
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(Text(d->upperTolerance), c.storedUpper);
        EXPECT_EQ(Text(d->lowerTolerance), c.storedLower);
    }
}

TEST_F(Dimensions, DegenerateInputIsRefusedWithItsMessage) {
    ArcRecord circle{};
    circle.cx = 5, circle.cy = 5, circle.radius = 3;
    ArcRecord dot{};
    LineRecord a{}, parallel{}, point{};
    a.x2 = 10;
    parallel.y1 = parallel.y2 = 5, parallel.x2 = 10;
    point.x1 = point.x2 = 3;
    struct Case {
        const char* name;
        std::function<DimensionRecord*()> make;
        SInt16 message;
    };
    const Case cases[] = {
        {"horizontal of no width",
         [&] { return CreateHorizontalDimension(doc, 4, 0, 4, 9, 0, 0, none, none, none); },
         kZeroDimensionMessage},
        {"vertical of no height",
         [&] { return CreateVerticalDimension(doc, 0, 4, 9, 4, 0, 0, none, none, none); },
         kZeroDimensionMessage},
        {"aligned across its direction",
         [&] { return CreateAlignedDimension(doc, 0, 0, 0, 5, 1, 0, 0, 0, none, none, none); },
         kZeroDimensionMessage},
        {"diameter on the centre",
         [&] { return CreateDiameterDimension(doc, &circle, 5, 5, none, none, none); },
         kPositionAtCentreMessage},
        {"radius on the centre", [&] { return CreateRadiusDimension(doc, &circle, 5, 5, none, none, none); },
         kPositionAtCentreMessage},
        {"circle of no radius", [&] { return CreateRadiusDimension(doc, &dot, 1, 1, none, none, none); },
         kZeroDimensionMessage},
        {"point on the line", [&] { return CreatePointLineDimension(doc, &a, 4, 0, none, none, none); },
         kZeroDimensionMessage},
        {"line of no length", [&] { return CreatePointLineDimension(doc, &point, 4, 4, none, none, none); },
         kZeroDimensionMessage},
        {"parallel lines",
         [&] { return CreateLineAngleDimension(doc, &a, &parallel, nullptr, 3, 3, none, none, none); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageCapture messages;
        EXPECT_EQ(c.make(), nullptr);
        EXPECT_EQ(messages.Last(), c.message);
    }
    EXPECT_EQ(CountDimensions(doc), 0);
}

TEST_F(Dimensions, AngleAtTheVertexTakesTheFirstSector) {
    LineRecord a{}, b{};
    a.x2 = 40;
    b.x2 = 0, b.y2 = 40;
    DimensionRecord* d = CreateLineAngleDimension(doc, &a, &b, nullptr, 0, 0, none, none, none);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(Text(d->text), "90°");
    EXPECT_TRUE(std::isfinite(d->textX) && std::isfinite(d->textY));
}

TEST_F(Dimensions, TextAnglesReadUpright) {
    // Point-to-line dimensions along lines of every direction, and radius dimensions all round.
    for (Float64 direction = 0; direction < 360; direction += 15) {
        SCOPED_TRACE(direction);
        Float64 r = direction * kDegreesToRadians;
        LineRecord line{};
        line.x2 = 20 * std::cos(r), line.y2 = 20 * std::sin(r);
        DimensionRecord* d = CreatePointLineDimension(doc, &line, 10 * std::cos(r) - 5 * std::sin(r),
                                                      10 * std::sin(r) + 5 * std::cos(r), none, none, none);
        ASSERT_NE(d, nullptr);
        Float64 a = NormalizeAngle(DimensionTextAngle(d));
        EXPECT_TRUE(a <= 90 + 1e-9 || a > 270 - 1e-9) << a;
        ArcRecord circle{};
        circle.radius = 10;
        DimensionRecord* radius =
            CreateRadiusDimension(doc, &circle, 30 * std::cos(r), 30 * std::sin(r), none, none, none);
        ASSERT_NE(radius, nullptr);
        a = NormalizeAngle(DimensionTextAngle(radius));
        EXPECT_TRUE(a <= 90 + 1e-9 || a >= 270 - 1e-9) << a;
    }
}

TEST_F(Dimensions, RebuildTakesTheNewStyleAndKeepsPlacesAndTypedTexts) {
    ArcRecord circle{};
    circle.cx = 0, circle.cy = 0, circle.radius = 5;
    LineRecord a{}, b{};
    a.x2 = 40;
    b.x2 = 0, b.y2 = 40;
    DimensionRecord* h = CreateHorizontalDimension(doc, 0, 0, 12.5, 0, 0, 10, none, none, none);
    DimensionRecord* typed = CreateHorizontalDimension(doc, 0, 0, 30, 0, 0, 20, P("typed"), none, none);
    DimensionRecord* angle = CreateLineAngleDimension(doc, &a, &b, nullptr, 15, -15, none, none, none);
    DimensionRecord* diameter = CreateDiameterDimension(doc, &circle, 0, 20, none, none, none);
    ASSERT_TRUE(h && typed && angle && diameter);
    Float64 before[4][2];
    DimensionRecord* all[4] = {h, typed, angle, diameter};
    for (int i = 0; i < 4; ++i)
        DimensionTextPoint(doc->settings, all[i], &before[i][0], &before[i][1]);

    SetP(doc->settings->dimPrefix, "~");
    DimCutZeros(doc->settings) = 0;
    RebuildAllDimensions(doc);

    EXPECT_EQ(Text(h->text), "~12.50");
    EXPECT_EQ(Text(typed->text), "typed");
    EXPECT_EQ(Text(angle->text), "~90.00°");
    EXPECT_EQ(Text(diameter->text), "~10.00");
    EXPECT_EQ(doc->dimensionHead->next, h) << "the order stays";
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        Float64 x, y;
        DimensionTextPoint(doc->settings, all[i], &x, &y);
        EXPECT_NEAR(x, before[i][0], 1e-6);
        EXPECT_NEAR(y, before[i][1], 1e-6);
    }
}

TEST_F(Dimensions, BuildMeasuresAgainWithItsOwnPrefixAndSuffix) {
    DimensionRecord* old = CreateAlignedDimension(doc, 0, 0, 30, 40, 3, 4, 0, 0, P("old"), P("+1"), P("-1"));
    ASSERT_NE(old, nullptr);
    DimensionRecord* rebuilt = BuildDimension(doc, old, 5, 5, none, P("L="), P(" mm"));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_NE(rebuilt, old);
    EXPECT_EQ(old->next, rebuilt);
    EXPECT_EQ(Text(rebuilt->text), "L=50 mm");
    EXPECT_EQ(Text(rebuilt->upperTolerance), "\xC2\xB1"
                                             "1");
    EXPECT_EQ(rebuilt->flags & kDimTextOverride, 0);
    Float64 x, y;
    DimensionTextPoint(doc->settings, rebuilt, &x, &y);
    EXPECT_NEAR(x, 5, 1e-9);
    EXPECT_NEAR(y, 5, 1e-9);
}

TEST_F(Dimensions, CreationIsOneUndoableRecord) {
    BeginUndoStep(doc);
    ASSERT_NE(CreateHorizontalDimension(doc, 0, 0, 10, 0, 0, 5, none, none, none), nullptr);
    EndUndoStep(doc);
    EXPECT_TRUE(doc->drawing->changed);
    UndoLastStep(doc);
    EXPECT_EQ(CountDimensions(doc), 0);
}

TEST(DimensionAngles, UnionOfRanges) {
    struct Case {
        Float64 s1, e1, s2, e2, start, end;
    };
    const Case cases[] = {
        {10, 80, 20, 30, 10, 80},   // the second inside the first
        {20, 30, 10, 80, 10, 80},   // the first inside the second
        {10, 50, 40, 90, 10, 90},   // overlapping
        {40, 90, 10, 50, 10, 90},   // overlapping the other way
        {350, 20, 10, 40, 350, 40}, // overlapping across 0
        {10, 20, 40, 50, 10, 50},   // disjoint: the shorter join
        {10, 20, 300, 350, 300, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.s1 << ".." << c.e1 << " + " << c.s2 << ".." << c.e2);
        Float64 s, e;
        UnionAngleRanges(c.s1, c.e1, c.s2, c.e2, &s, &e);
        EXPECT_DOUBLE_EQ(s, c.start);
        EXPECT_DOUBLE_EQ(e, c.end);
    }
}
