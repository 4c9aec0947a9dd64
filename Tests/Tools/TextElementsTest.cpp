// Text elements: the box laid out from the measured lines for every justification and angle, the
// anchor point it gives back, placeholders, kept settings and the undo of a new text.
#include "Tools/TextElements.h"

#include "../Model/DocumentFixture.h"
#include "Model/Dimensions.h"
#include "Model/DocumentRecords.h"
#include "Model/UndoJournal.h"
#include "Platform/TextMeasure.h"
#include "TestSupport.h"
#include "View/TextDrawing.h"

#include <cmath>
#include <cstring>

namespace {

class TextElementsTest : public DocumentTest {
  protected:
    void SetUp() override {
        EnsureTestApplication();
        DocumentTest::SetUp();
        DocSettings* s = doc->settings;
        s->textHeight = 5;
        s->textFont = 0;
        s->lineBreakChar = '|';
        TextAngleSetting(s) = 0;
        TextLineSpacingSetting(s) = 2;
    }

    Float64 Width(const std::string& text) const {
        return TextStringWidth(doc->settings->textFont, 0, doc->settings->textHeight,
                               reinterpret_cast<const UInt8*>(text.data()), SInt32(text.size()));
    }

    TextRecord* Add(const std::string& text, Float64 x, Float64 y, UInt16 flags = 0) {
        return AddTextElement(doc, x, y, PStr(text), x + 1, y + 1, flags, false);
    }

    static Float64 Side(const TextRecord* t, int a, int b) {
        return std::hypot(t->corners[2 * b] - t->corners[2 * a],
                          t->corners[2 * b + 1] - t->corners[2 * a + 1]);
    }
};

} // namespace

// Text and dimension styles live in settings slots without names of their own: none may share one.
TEST_F(TextElementsTest, TextAndDimensionStylesKeepSeparateSettings) {
    DocSettings* s = doc->settings;
    TextAngleSetting(s) = 11, TextSlantSetting(s) = 12, TextLineSpacingSetting(s) = 13;
    TextFrameDistanceSetting(s) = 14;
    SetDimUnitFactor(s, 25.4);
    SetDimTextHeight(s, 7);
    DimFeetInchFormat(s) = 1, DimFractionSetting(s) = 2, DimCutZeros(s) = 3, DimOptionBits(s) = 4;
    EXPECT_EQ(TextAngleSetting(s), 11);
    EXPECT_EQ(TextSlantSetting(s), 12);
    EXPECT_EQ(TextLineSpacingSetting(s), 13);
    EXPECT_EQ(TextFrameDistanceSetting(s), 14);
    EXPECT_EQ(DimUnitFactor(s), 25.4);
    EXPECT_EQ(DimTextHeight(s), 7);
    EXPECT_EQ(DimFeetInchFormat(s) + DimFractionSetting(s) * 10 + DimCutZeros(s) * 100 +
                  DimOptionBits(s) * 1000,
              4321);
}

TEST_F(TextElementsTest, EveryJustificationAndAngleGivesItsAnchorBackAndTheMeasuredBox) {
    Float64 w = Width("Bracket");
    ASSERT_GT(w, 0);
    for (Float64 angle : {0.0, 90.0, 30.0, -135.0}) {
        for (SInt16 j = 0; j <= 8; ++j) {
            doc->settings->textJustification = j;
            TextAngleSetting(doc->settings) = angle;
            TextRecord* t = Add("Bracket", 100, 50);
            ASSERT_NE(t, nullptr);
            Float64 x = 0, y = 0;
            TextAnchorPoint(t, &x, &y);
            EXPECT_NEAR(x, 100, 1e-9) << "justification " << j << " angle " << angle;
            EXPECT_NEAR(y, 50, 1e-9) << "justification " << j << " angle " << angle;
            EXPECT_NEAR(Side(t, 0, 1), w, 1e-9);
            EXPECT_NEAR(Side(t, 1, 2), 5, 1e-9);
            // The baseline runs along the text's angle.
            Float64 dir = std::atan2(t->corners[3] - t->corners[1], t->corners[2] - t->corners[0]);
            EXPECT_NEAR(std::remainder(dir * 180 / M_PI - angle, 360.0), 0, 1e-9);
        }
    }
}

TEST_F(TextElementsTest, CornersForTheNamedCases) {
    Float64 w = Width("Bracket");
    const struct {
        SInt16 justification;
        Float64 angle;
        Float64 c0x, c0y, c2x, c2y;
    } cases[] = {
        {6, 0, 100, 50, 100 + w, 55}, // bottom left on the anchor
        {0, 0, 100, 45, 100 + w, 50}, // top left
        {8, 0, 100 - w, 50, 100, 55}, // bottom right
        {4, 0, 100 - w / 2, 47.5, 100 + w / 2, 52.5},
        {4, 90, 102.5, 50 - w / 2, 97.5, 50 + w / 2}, // centred and turned about the anchor
    };
    for (const auto& c : cases) {
        doc->settings->textJustification = c.justification;
        TextAngleSetting(doc->settings) = c.angle;
        TextRecord* t = Add("Bracket", 100, 50);
        EXPECT_NEAR(t->corners[0], c.c0x, 1e-9) << c.justification << "/" << c.angle;
        EXPECT_NEAR(t->corners[1], c.c0y, 1e-9) << c.justification << "/" << c.angle;
        EXPECT_NEAR(t->corners[4], c.c2x, 1e-9) << c.justification << "/" << c.angle;
        EXPECT_NEAR(t->corners[5], c.c2y, 1e-9) << c.justification << "/" << c.angle;
    }
}

TEST_F(TextElementsTest, LinesSplitAtTheBreakCharacterWhichAddsNoWidth) {
    doc->settings->textJustification = 6;
    TextRecord* two = Add("M8 screw|washer", 0, 0);
    EXPECT_NEAR(Side(two, 0, 1), std::max(Width("M8 screw"), Width("washer")), 1e-9);
    EXPECT_NEAR(Side(two, 1, 2), 2 * 5 + 2, 1e-9);
    // A trailing break starts an empty last line.
    TextRecord* trailing = Add("washer|", 0, 0);
    EXPECT_NEAR(Side(trailing, 0, 1), Width("washer"), 1e-9);
    EXPECT_NEAR(Side(trailing, 1, 2), 2 * 5 + 2, 1e-9);
    // Without a break character the bar is text like any other.
    doc->settings->lineBreakChar = 0;
    TextRecord* one = Add("a|b", 0, 0);
    EXPECT_NEAR(Side(one, 0, 1), Width("a|b"), 1e-9);
    EXPECT_NEAR(Side(one, 1, 2), 5, 1e-9);
}

TEST_F(TextElementsTest, FramedKindsOneAndTwoStayHorizontalAndTheRecordTakesTheSettings) {
    DocSettings* s = doc->settings;
    s->currentLayer = 12, s->currentPen = 3, s->currentGroup = 7, s->textFont = 2;
    TextAngleSetting(s) = 40;
    TextSlantSetting(s) = 10;
    TextFrameDistanceSetting(s) = 1.5;
    const struct {
        UInt16 flags;
        Float64 angle;
    } cases[] = {{0x0000, 40}, {0x0001, 40}, {0x0002, 0}, {0x0004, 0}, {0x0003, 40}, {0x0010, 40}};
    for (const auto& c : cases) {
        TextRecord* t = Add("Plan", 10, 20, c.flags);
        EXPECT_EQ(t->angle, c.angle) << c.flags;
        EXPECT_EQ(t->textFlags, c.flags);
    }
    TextRecord* t = doc->textHead->next;
    EXPECT_EQ(t->layer, 12);
    EXPECT_EQ(t->pen, 3);
    EXPECT_EQ(t->group, 7);
    EXPECT_EQ(t->font, 2);
    EXPECT_EQ(t->slant, 10);
    EXPECT_EQ(t->lineSpacing, 2);
    EXPECT_EQ(t->frameDistance, 1.5);
    EXPECT_EQ(t->x2, 11);
    EXPECT_EQ(t->y2, 21);
    EXPECT_EQ(t->trailing, 0);
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(TextElementsTest, PlaceholdersKeepTheirCodeAndFitTheirExpansion) {
    StringPtr field = TitleBlockField(doc->drawing->titleBlock, 1);
    std::memcpy(field, "\x0bMain switch", 12);
    TitleBlockField(doc->drawing->titleBlock, 2)[0] = 0;
    doc->settings->textJustification = 6;
    TextRecord* filled = Add("^01", 0, 0);
    EXPECT_EQ(ToStd(filled->text), "^01");
    EXPECT_NEAR(Side(filled, 0, 1), Width("Main switch"), 1e-9);
    // An empty field shows the code, and the box fits the code.
    TextRecord* empty = Add("^02", 0, 0);
    EXPECT_EQ(ToStd(empty->text), "^02");
    EXPECT_NEAR(Side(empty, 0, 1), Width("^02"), 1e-9);
}

TEST_F(TextElementsTest, AddWithGivenValuesRestoresEverySetting) {
    DocSettings before = *doc->settings;
    TextElementValues v{4, 9, 2, 8, 3, 7.0, 15.0, 5.0, 1.0, 2.5, 2.0};
    TextRecord* t = AddTextElementWith(doc, 0, PStr("Detail A"), 30, 40, 0, 0, v);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->group, 4);
    EXPECT_EQ(t->layer, 9);
    EXPECT_EQ(t->pen, 2);
    EXPECT_EQ(t->justification, 8);
    EXPECT_EQ(t->font, 3);
    EXPECT_EQ(t->textHeight, 7);
    EXPECT_EQ(t->angle, 15);
    EXPECT_EQ(t->lineSpacing, 1);
    EXPECT_EQ(t->frameDistance, 2.5);
    Float64 x = 0, y = 0;
    TextAnchorPoint(t, &x, &y);
    EXPECT_NEAR(x, 30, 1e-9);
    EXPECT_NEAR(y, 40, 1e-9);
    EXPECT_EQ(std::memcmp(&before, doc->settings, sizeof before), 0);
}

TEST_F(TextElementsTest, ANewTextIsOneUndoStepInTheCallersBracketAndOtherJustificationsLeaveTheAnchor) {
    BeginUndoStep(doc);
    Add("Plan", 0, 0);
    EndUndoStep(doc);
    ASSERT_NE(doc->textHead->next, nullptr);
    UndoLastStep(doc);
    EXPECT_EQ(doc->textHead->next, nullptr);
    RedoStep(doc);
    ASSERT_NE(doc->textHead->next, nullptr);
    EXPECT_EQ(ToStd(doc->textHead->next->text), "Plan");

    TextRecord* t = doc->textHead->next;
    t->justification = 9;
    Float64 x = -1, y = -2;
    TextAnchorPoint(t, &x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -2);
}
