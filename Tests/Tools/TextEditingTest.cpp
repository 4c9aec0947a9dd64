// Texts re-created with a new string, point or attributes: the justification point stays, the
// settings come back exactly, and each change is one undo step that gives back exactly the text
// before and after. Framed boxes made over a rectangle, and placeholders laid out again only when
// what they show no longer fits.
#include "Tools/TextEditing.h"

#include "../Model/DocumentFixture.h"
#include "Model/Dimensions.h"
#include "Model/DocumentRecords.h"
#include "Model/UndoJournal.h"
#include "TestSupport.h"
#include "Tools/TextElements.h"
#include "View/TextDrawing.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

namespace {

// What a text is, as far as a user can tell.
struct TextState {
    std::string text;
    SInt16 justification, font, layer;
    UInt16 flags;
    Float64 x, y, x2, y2, angle, slant, size, spacing, frameDistance;
    Float64 corners[8];
    explicit TextState(const TextRecord* t)
        : text(ToStd(t->text)), justification(t->justification), font(t->font), layer(t->layer),
          flags(t->textFlags), x(t->x), y(t->y), x2(t->x2), y2(t->y2), angle(t->angle), slant(t->slant),
          size(t->textHeight), spacing(t->lineSpacing), frameDistance(t->frameDistance) {
        std::memcpy(corners, t->corners, sizeof corners);
    }
    bool operator==(const TextState& o) const {
        return text == o.text && justification == o.justification && font == o.font && layer == o.layer &&
               flags == o.flags && x == o.x && y == o.y && x2 == o.x2 && y2 == o.y2 && angle == o.angle &&
               slant == o.slant && size == o.size && spacing == o.spacing &&
               frameDistance == o.frameDistance && std::memcmp(corners, o.corners, sizeof corners) == 0;
    }
};

class TextEditingTest : public DocumentTest {
  protected:
    void SetUp() override {
        EnsureTestApplication();
        DocumentTest::SetUp();
        DocSettings* s = doc->settings;
        s->textHeight = 5;
        s->lineBreakChar = '|';
        TextAngleSetting(s) = 0;
        TextLineSpacingSetting(s) = 2;
    }

    TextRecord* Add(const std::string& text, Float64 x, Float64 y, UInt16 flags = 1) {
        BeginUndoStep(doc);
        TextRecord* t = AddTextElement(doc, x, y, PStr(text), x + 10, y - 10, flags, false);
        EndUndoStep(doc);
        return t;
    }
    int Texts() const {
        int n = 0;
        for (TextRecord* e = doc->textHead->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    TextRecord* Only() const {
        EXPECT_EQ(Texts(), 1);
        return doc->textHead->next;
    }
    static void ExpectAnchor(const TextRecord* t, Float64 x, Float64 y, const std::string& what) {
        Float64 ax = NAN, ay = NAN;
        TextAnchorPoint(t, &ax, &ay);
        EXPECT_NEAR(ax, x, 1e-9) << what;
        EXPECT_NEAR(ay, y, 1e-9) << what;
    }
    void ClearBlock() {
        AttributeChangeBlock& b = doc->attributeChange;
        b.layer = b.pen = b.lineType = b.group = b.justification = b.font = b.flags = 65535;
        b.textHeight = b.angle = b.slant = b.lineSpacing = b.frameDistance = -1.0;
    }
};

} // namespace

// Every way of re-creating, for every justification and a turned text: the justification point
// stays, the settings are given back byte for byte, and undo and redo give exactly the text
// before and after in one step each.
TEST_F(TextEditingTest, ReCreationKeepsTheJustificationPointAndTheSettingsInOneUndoStep) {
    const struct {
        const char* name;
        std::function<TextRecord*(DocWindowRecord*, TextRecord*)> change;
    } changes[] = {
        {"string", [](DocWindowRecord* d,
                      TextRecord* t) { return RecreateTextWithString(d, t, PStr("Longer|two lines")); }},
        {"second point",
         [](DocWindowRecord* d, TextRecord* t) { return MoveTextPoint(d, t, 70, 80, false); }},
        {"attributes",
         [](DocWindowRecord* d, TextRecord* t) {
             d->attributeChange.textHeight = 9;
             d->attributeChange.angle = 80;
             return ApplyTextAttributes(d, t);
         }},
    };
    for (const auto& c : changes)
        for (Float64 angle : {0.0, 35.0})
            for (SInt16 j = 0; j <= 8; ++j) {
                const std::string what =
                    std::string(c.name) + " j" + std::to_string(j) + " a" + std::to_string(angle);
                while (doc->textHead->next != nullptr)
                    RemoveText(doc, doc->textHead->next);
                ClearBlock();
                doc->settings->textJustification = j;
                TextAngleSetting(doc->settings) = angle;
                TextRecord* old = Add("Pump P-101", 40, 25);
                Float64 ox = 0, oy = 0;
                TextAnchorPoint(old, &ox, &oy);
                const TextState before(old);
                const DocSettings settings = *doc->settings;
                const SInt16 steps = doc->drawing->undo.undoStepCount;

                TextRecord* made = c.change(doc, old);
                ASSERT_NE(made, nullptr) << what;
                ExpectAnchor(made, ox, oy, what);
                EXPECT_EQ(std::memcmp(&settings, doc->settings, sizeof settings), 0) << what;
                EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1) << what;
                const TextState after(made);
                EXPECT_FALSE(after == before) << what;

                UndoLastStep(doc);
                EXPECT_TRUE(TextState(Only()) == before) << what;
                RedoStep(doc);
                EXPECT_TRUE(TextState(Only()) == after) << what;
            }
}

TEST_F(TextEditingTest, WhatEachReCreationChanges) {
    doc->settings->textJustification = 6;
    TextRecord* t = Add("Valve", 10, 20, 0x8004);
    t = RecreateTextWithString(doc, t, PStr("Gate valve"));
    EXPECT_EQ(ToStd(t->text), "Gate valve");
    EXPECT_EQ(t->textFlags, 0x8004);
    EXPECT_EQ(t->x2, 20);
    EXPECT_EQ(t->y2, 10);

    t = MoveTextPoint(doc, t, 50, 60, true);
    ExpectAnchor(t, 50, 60, "anchor moved");
    EXPECT_EQ(t->x2, 20); // the second point stays
    EXPECT_EQ(t->y2, 10);

    // An empty string or a point that is no number changes nothing.
    EXPECT_EQ(RecreateTextWithString(doc, t, PStr("")), nullptr);
    EXPECT_EQ(MoveTextPoint(doc, t, NAN, 1, true), nullptr);
    EXPECT_EQ(Only(), t);
}

// Unset fields of the block keep the text's values; the frame kind is always the text's own.
TEST_F(TextEditingTest, AttributeBlockChangesOnlyItsSetFieldsAndKeepsTheFrameKind) {
    doc->settings->textJustification = 3;
    doc->settings->textFont = 2;
    TextRecord* t = Add("Note", 0, 0, 0x0001);
    ClearBlock();
    doc->attributeChange.flags = 0x0012; // asks for frame kind 1 and bit 4
    doc->attributeChange.font = 5;
    doc->attributeChange.slant = 15;
    t = ApplyTextAttributes(doc, t);
    EXPECT_EQ(t->textFlags, 0x0011);
    EXPECT_EQ(t->font, 5);
    EXPECT_EQ(t->slant, 15);
    EXPECT_EQ(t->justification, 3);
    EXPECT_EQ(t->textHeight, 5);
    ExpectAnchor(t, 0, 0, "block");
}

TEST_F(TextEditingTest, AllTextsOrTheSelectedReCreatedInOneStep) {
    for (int i = 0; i < 4; ++i)
        Add("T" + std::to_string(i), i * 10, 0);
    doc->textHead->next->next->selected = true;
    ClearBlock();
    doc->attributeChange.textHeight = 8;
    EXPECT_EQ(ApplyTextAttributesToTexts(doc, true), 1);
    int eight = 0;
    for (TextRecord* e = doc->textHead->next; e; e = e->next)
        eight += e->textHeight == 8;
    EXPECT_EQ(eight, 1);
    EXPECT_EQ(ApplyTextAttributesToTexts(doc, false), 4);
    EXPECT_EQ(Texts(), 4);
    UndoLastStep(doc);
    eight = 0;
    for (TextRecord* e = doc->textHead->next; e; e = e->next)
        eight += e->textHeight == 8;
    EXPECT_EQ(eight, 1);
    EXPECT_EQ(Texts(), 4);
}

TEST_F(TextEditingTest, FramedBoxOverTheRectangleWithTheFramedTextSettings) {
    DocSettings* s = doc->settings;
    FramedTextFontSetting(s) = 3;
    const struct {
        SInt16 tenths;
        Float64 size;
    } sizes[] = {{0, 3.5}, {9, 3.5}, {10, 1.0}, {120, 12.0}};
    for (const auto& c : sizes) {
        FramedTextSizeSetting(s) = c.tenths;
        TextRecord* box = AddTextFrameElement(doc, false, 10, 20, 30, 15, false);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(IsFramedTextBox(box));
        EXPECT_EQ(box->textHeight, c.size) << c.tenths;
        EXPECT_EQ(box->font, 3);
        EXPECT_EQ(box->frameDistance, 9.0);
        const Float64 corners[8] = {10, 20, 40, 20, 40, 35, 10, 35};
        EXPECT_EQ(std::memcmp(box->corners, corners, sizeof corners), 0);
    }
    EXPECT_EQ(Texts(), 4);
    UndoLastStep(doc);
    EXPECT_EQ(Texts(), 3);
    // The attribute tool's and the string tool's way in refuse nothing here, but a box moves with
    // its frame.
    TextRecord* box = doc->textHead->next;
    TextRecord* moved = MoveTextPoint(doc, box, 15, 25, true);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->corners[0], 15);
    EXPECT_EQ(moved->corners[5], 40);
}

// A placeholder is laid out again only when what it shows changed; only then is the history, which
// no longer matches, dropped with a message. Texts of symbol definitions are kept fitting as well.
TEST_F(TextEditingTest, PlaceholdersRefreshOnlyWhenTheirValueChanged) {
    StringPtr field = TitleBlockField(doc->drawing->titleBlock, 1);
    std::memcpy(field, "\x04Main", 5);
    doc->settings->textJustification = 4;
    TextRecord* placeholder = Add("^01", 100, 50);
    Add("Plain", 0, 0);
    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    ASSERT_NE(def, nullptr);
    def->next = doc->symbolDefHead->next;
    doc->symbolDefHead->next = def;
    TextRecord* inSymbol = NewTextRecord();
    *inSymbol = *placeholder;
    inSymbol->boxText = nullptr;
    inSymbol->next = nullptr;
    def->textHead->next = inSymbol;

    ClearRecordedAlerts();
    EXPECT_FALSE(RefreshAllFieldTexts(doc));
    EXPECT_TRUE(RecordedAlerts().empty());
    EXPECT_GT(doc->drawing->undo.undoStepCount, 0);

    const Float64 shortWidth = placeholder->corners[2] - placeholder->corners[0];
    std::memcpy(field, "\x0dMain building", 14);
    EXPECT_TRUE(RefreshAllFieldTexts(doc));
    EXPECT_GT(placeholder->corners[2] - placeholder->corners[0], shortWidth);
    EXPECT_EQ(inSymbol->corners[2], placeholder->corners[2]);
    ExpectAnchor(placeholder, 100, 50, "refreshed");
    EXPECT_EQ(ToStd(placeholder->text), "^01");
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 0);
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_NE(RecordedAlerts()[0].params[0].find("undo history"), std::string::npos);

    // Changed again with no history left: laid out, nothing to tell.
    std::memcpy(field, "\x01M", 2);
    ClearRecordedAlerts();
    EXPECT_TRUE(RefreshAllFieldTexts(doc));
    EXPECT_TRUE(RecordedAlerts().empty());
}

// The framed-text settings share no slot with the other text and dimension settings.
TEST_F(TextEditingTest, FramedTextSettingsKeepTheirOwnSlots) {
    DocSettings* s = doc->settings;
    FramedTextFontSetting(s) = 21;
    FramedTextSizeSetting(s) = 35;
    TextAngleSetting(s) = 1, TextSlantSetting(s) = 2, TextLineSpacingSetting(s) = 3;
    TextFrameDistanceSetting(s) = 4;
    s->textFont = 5, s->textSize = 6, s->textFlags = 7;
    SetDimTextHeight(s, 8);
    DimFeetInchFormat(s) = 1, DimFractionSetting(s) = 2, DimCutZeros(s) = 3, DimOptionBits(s) = 4;
    EXPECT_EQ(FramedTextFontSetting(s), 21);
    EXPECT_EQ(FramedTextSizeSetting(s), 35);
    EXPECT_NE(&FramedTextFontSetting(s), &FramedTextSizeSetting(s));
}
