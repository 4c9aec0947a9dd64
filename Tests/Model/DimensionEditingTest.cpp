// Dimension services above the creators: a moved dimension line is the dimension made at the new
// position with its text kept, a new text replaces the record, chains and baselines over many
// points, and a dimension found by its key.
#include "DocumentFixture.h"
#include "MessageCapture.h"
#include "TestSupport.h"
#include "Model/DimensionEditing.h"
#include "Model/Dimensions.h"
#include "Model/ElementRecords.h"
#include "Model/UndoJournal.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string Text(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

void SetP(StringPtr dest, const std::string& s) {
    dest[0] = UInt8(s.size());
    std::memcpy(dest + 1, s.data(), s.size());
}

std::vector<DimensionRecord*> All(DocWindowRecord* doc) {
    std::vector<DimensionRecord*> v;
    for (DimensionRecord* d = doc->dimensionHead->next; d; d = d->next)
        v.push_back(d);
    return v;
}

class DimensionEditing : public DocumentTest {
  protected:
    void SetUp() override {
        EnsureTestApplication(); // texts are measured to place them
        DocumentTest::SetUp();
        doc->settings->dimDecimals = 2;
        DimCutZeros(doc->settings) = 1;
        doc->settings->dimLineOffset = 1.0;
        doc->settings->dimStackSpacing = 7.0;
        SetDimTextHeight(doc->settings, 3.5);
    }
    // The geometry and texts two records must share.
    static void ExpectSame(const DimensionRecord* a, const DimensionRecord* b) {
        EXPECT_EQ(a->kind, b->kind);
        for (auto [x, y] : {std::pair{a->x1, b->x1},
                            {a->y1, b->y1},
                            {a->x2, b->x2},
                            {a->y2, b->y2},
                            {a->textX, b->textX},
                            {a->textY, b->textY},
                            {a->auxX, b->auxX},
                            {a->auxY, b->auxY}})
            EXPECT_NEAR(x, y, 1e-9);
        EXPECT_EQ(Text(a->text), Text(b->text));
        EXPECT_EQ(a->flags & kDimTextOverride, b->flags & kDimTextOverride);
    }
};

// Moving the line of each kind gives what making it at the new position gives, the prefix the
// dimension was made with (a diameter's sign) kept though the settings' prefix is another now.
TEST_F(DimensionEditing, AMovedLineIsTheDimensionMadeThereWithItsText) {
    ArcRecord circle{};
    circle.cx = 50, circle.cy = 50, circle.radius = 10;
    struct Case {
        const char* name;
        std::function<DimensionRecord*(Float64, Float64)> make;
        Float64 x0, y0, x1, y1; // made at, moved to
    };
    const Case cases[] = {
        {"horizontal",
         [&](Float64 x, Float64 y) {
             return CreateHorizontalDimension(doc, 0, 0, 30, 5, x, y, nullptr, nullptr, nullptr);
         },
         10, 20, 12, -15},
        {"vertical",
         [&](Float64 x, Float64 y) {
             return CreateVerticalDimension(doc, 0, 0, 30, 5, x, y, nullptr, nullptr, nullptr);
         },
         40, 2, -8, 3},
        {"aligned",
         [&](Float64 x, Float64 y) {
             return CreateAlignedDimension(doc, 0, 0, 30, 40, 3, 4, x, y, nullptr, nullptr, nullptr);
         },
         0, 20, 30, -4},
        {"diameter",
         [&](Float64 x, Float64 y) {
             return CreateDiameterDimension(doc, &circle, x, y, nullptr, nullptr, nullptr);
         },
         70, 50, 50, 75},
        {"radius",
         [&](Float64 x, Float64 y) {
             return CreateRadiusDimension(doc, &circle, x, y, nullptr, nullptr, nullptr);
         },
         70, 50, 30, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetP(doc->settings->dimPrefix, "\xC3\x98");
        DimensionRecord* old = c.make(c.x0, c.y0);
        ASSERT_NE(old, nullptr);
        DimensionRecord* wanted = c.make(c.x1, c.y1);
        ASSERT_NE(wanted, nullptr);
        SetP(doc->settings->dimPrefix, "L=");
        const size_t count = All(doc).size();
        DimensionRecord* moved = MoveDimensionLine(doc, old, c.x1, c.y1);
        ASSERT_NE(moved, nullptr);
        EXPECT_EQ(All(doc).size(), count); // the old record is gone
        ExpectSame(moved, wanted);
        EXPECT_EQ(Text(moved->text).rfind("\xC3\x98", 0), 0u);
    }
    // A typed text stays typed; a circle dimension is not put on its centre.
    DimensionRecord* typed = CreateHorizontalDimension(doc, 0, 0, 30, 0, 10, 10,
                                                       (ConstStr255Param) "\x03"
                                                                          "ABC",
                                                       nullptr, nullptr);
    ASSERT_NE(typed, nullptr);
    DimensionRecord* moved = MoveDimensionLine(doc, typed, 10, 30);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(Text(moved->text), "ABC");
    EXPECT_TRUE(moved->flags & kDimTextOverride);
    DimensionRecord* diameter = CreateDiameterDimension(doc, &circle, 60, 50, nullptr, nullptr, nullptr);
    const size_t count = All(doc).size();
    MessageCapture messages;
    EXPECT_EQ(MoveDimensionLine(doc, diameter, 50, 50), nullptr);
    EXPECT_EQ(messages.Last(), kPositionAtCentreMessage);
    EXPECT_EQ(All(doc).size(), count);
    EXPECT_EQ(MoveDimensionLine(doc, diameter, std::numeric_limits<double>::quiet_NaN(), 0), nullptr);
}

// A new text replaces the record; an empty text measures again with the prefix;
// the lower tolerance stays.
TEST_F(DimensionEditing, ANewTextReplacesTheRecord) {
    SetP(doc->settings->dimPrefix, "d=");
    Str255 upper, lower;
    SetP(upper, "+0.1");
    SetP(lower, "-0.3");
    DimensionRecord* d = CreateHorizontalDimension(doc, 0, 0, 25, 0, 10, 10, nullptr, upper, lower);
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(Text(d->text), "d=25");
    Str255 text, tolerance;
    SetP(text, "Bore");
    SetP(tolerance, "+0.2");
    BeginUndoStep(doc);
    DimensionRecord* changed = ChangeDimensionText(doc, d, text, tolerance);
    EndUndoStep(doc);
    ASSERT_NE(changed, nullptr);
    ASSERT_EQ(All(doc).size(), 1u);
    EXPECT_EQ(Text(changed->text), "Bore");
    EXPECT_EQ(Text(changed->upperTolerance), "+0.2");
    EXPECT_EQ(Text(changed->lowerTolerance), "-0.3");
    EXPECT_TRUE(changed->flags & kDimTextOverride);

    text[0] = 0;
    DimensionRecord* measured = ChangeDimensionText(doc, changed, text, tolerance);
    ASSERT_NE(measured, nullptr);
    EXPECT_EQ(Text(measured->text), "d=25");
    EXPECT_FALSE(measured->flags & kDimTextOverride);
}

// A chain orders its points along its direction and passes over points that measure nothing; a
// baseline stacks its dimensions by the spacing on the position's side, nearest point first.
TEST_F(DimensionEditing, ChainsAndBaselinesOverManyPoints) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Float64 chain[] = {50, 0, 10, 0, 30, 5, 30, 9, nan, 3, 80, 1};
    EXPECT_EQ(CreateChainDimensions(doc, 'H', chain, 6, 0, 20, 0, 0), 3);
    auto dims = All(doc);
    ASSERT_EQ(dims.size(), 3u);
    EXPECT_EQ(dims[0]->x1, 10);
    EXPECT_EQ(dims[0]->x2, 30);
    EXPECT_EQ(dims[1]->x2, 50);
    EXPECT_EQ(dims[2]->x2, 80);

    MessageCapture messages;
    const Float64 same[] = {5, 5, 5, 9};
    EXPECT_EQ(CreateChainDimensions(doc, 'H', same, 2, 0, 20, 0, 0), 0);
    EXPECT_EQ(messages.Last(), kZeroDimensionMessage);

    LineRecord base{};
    base.x1 = 0, base.y1 = 0, base.x2 = 100, base.y2 = 0;
    const Float64 points[] = {60, 10, 0, 30, 20, 5};
    const size_t before = All(doc).size();
    EXPECT_EQ(CreateBaselineDimensions(doc, &base, points, 3, 40, -10), 2);
    dims = All(doc);
    ASSERT_EQ(dims.size(), before + 2);
    DimensionRecord *near = dims[before], *far = dims[before + 1];
    EXPECT_EQ(near->x2, 20);
    EXPECT_EQ(far->x2, 60);
    double nx, ny, fx, fy;
    DimensionTextPoint(doc->settings, near, &nx, &ny);
    DimensionTextPoint(doc->settings, far, &fx, &fy);
    EXPECT_NEAR(ny - fy, 7.0, 1e-9); // the second one farther below
}

TEST_F(DimensionEditing, FindsTheFirstDimensionOfAKey) {
    DimensionRecord* a = CreateHorizontalDimension(doc, 0, 0, 10, 0, 0, 5, nullptr, nullptr, nullptr);
    DimensionRecord* b = CreateHorizontalDimension(doc, 0, 0, 20, 0, 0, 5, nullptr, nullptr, nullptr);
    DimensionRecord* c = CreateHorizontalDimension(doc, 0, 0, 30, 0, 0, 5, nullptr, nullptr, nullptr);
    a->group = 1, b->group = 7, c->group = 7;
    EXPECT_TRUE(FindDimensionByKey(doc, 7));
    EXPECT_EQ(doc->drawing->cursors.dimensionCursor, b);
    EXPECT_FALSE(FindDimensionByKey(doc, 3));
}

} // namespace
