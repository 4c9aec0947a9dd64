// Drawing repairs: invalid coordinates of every kind set to 0 and undone in one step, definitions
// repaired too, the question and the reports; locking visible layers; duplicate lines; framed texts.
#include "Model/Repairs.h"

#include "DocumentFixture.h"
#include "Model/UndoJournal.h"
#include "Platform/MemoryManager.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr Float64 kNaN = std::numeric_limits<Float64>::quiet_NaN();
constexpr Float64 kInf = std::numeric_limits<Float64>::infinity();

bool SameBits(Float64 a, Float64 b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class RepairsTest : public DocumentTest {
  protected:
    LineRecord* Line(Float64 x1, Float64 y1, Float64 x2, Float64 y2, SInt16 layer = 0) {
        SeekLastLine(doc);
        LineRecord* e = AppendLineAtCursor(doc, x1, y1, x2, y2, false);
        e->layer = layer;
        return e;
    }
    TextRecord* Text(UInt16 flags = 0) {
        TextRecord* last = nullptr;
        LastText(doc, &last);
        TextRecord* e = NewTextElement(doc, &last->next);
        e->textFlags = flags;
        e->textHeight = 5;
        return e;
    }
};

} // namespace

TEST_F(RepairsTest, InvalidValuesOfEveryKindBecomeZeroInOneUndoStep) {
    LineRecord* line = Line(kNaN, 1, 2, 3);
    SeekLastArc(doc);
    ArcRecord* arc = AppendArcAtCursor(doc, 5, -kInf, 1e30, 0, 360, false);
    TextRecord* text = Text();
    text->x = 1, text->corners[5] = -2e31;
    DimensionRecord* last = nullptr;
    LastDimension(doc, &last);
    DimensionRecord* dim = NewDimensionElement(doc, &last->next);
    dim->textY = kNaN, dim->frame[3] = kInf;
    PolylineRecord* lastPolyline = nullptr;
    LastPolyline(doc, &lastPolyline);
    PolylineRecord* polyline = NewPolylineElement(doc, &lastPolyline->next);
    polyline->pointCount = 2;
    polyline->points = NewHandleClear(32);
    reinterpret_cast<Float64*>(*polyline->points)[3] = kNaN;
    SeekLastArea(doc);
    AreaRecord* area = NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
    area->outline = NewOutlineHandle(2);
    OutlinePoints(area->outline)[4] = 1e300;
    area->maxX = 9.99e29; // large but valid
    SeekLastInstance(doc);
    SymbolInstanceRecord* instance = NewInstanceElement(doc, &doc->drawing->cursors.instanceCursor->next);
    instance->xScale = 1, instance->yScale = kNaN;
    // Inside a symbol definition: repaired, though the journal does not hold definitions.
    SeekLastSymbolDef(doc);
    SymbolDefRecord* def = NewSymbolDefElement(&doc->drawing->cursors.symbolDefCursor->next);
    NewDefaultLine(doc, &def->lineHead->next)->x2 = kInf;

    BeginUndoStep(doc); // the repair joins an open step
    EXPECT_EQ(RepairInvalidCoordinates(doc, true, false), 10);
    EndUndoStep(doc);
    EXPECT_EQ(line->x1, 0);
    EXPECT_EQ(arc->cy, 0);
    EXPECT_EQ(arc->radius, 0);
    EXPECT_EQ(text->corners[5], 0);
    EXPECT_EQ(dim->textY, 0);
    EXPECT_EQ(dim->frame[3], 0);
    EXPECT_EQ(reinterpret_cast<Float64*>(*doc->polylineHead->next->points)[3], 0);
    EXPECT_EQ(OutlinePoints(doc->areaHead->next->outline)[4], 0);
    EXPECT_EQ(doc->areaHead->next->maxX, 9.99e29);
    EXPECT_EQ(doc->instanceHead->next->yScale, 0);
    EXPECT_EQ(def->lineHead->next->x2, 0);
    EXPECT_TRUE(RecordedAlerts().empty());
    EXPECT_TRUE(doc->drawing->changed);

    UndoLastStep(doc);
    EXPECT_TRUE(SameBits(doc->lineHead->next->x1, kNaN));
    EXPECT_TRUE(SameBits(doc->arcHead->next->cy, -kInf));
    EXPECT_EQ(doc->textHead->next->corners[5], -2e31);
    EXPECT_TRUE(SameBits(doc->dimensionHead->next->textY, kNaN));
    EXPECT_TRUE(SameBits(reinterpret_cast<Float64*>(*doc->polylineHead->next->points)[3], kNaN));
    EXPECT_EQ(OutlinePoints(doc->areaHead->next->outline)[4], 1e300);
    EXPECT_TRUE(SameBits(doc->instanceHead->next->yScale, kNaN));
    RedoStep(doc);
    EXPECT_EQ(doc->lineHead->next->x1, 0);
    EXPECT_EQ(doc->instanceHead->next->yScale, 0);
    EXPECT_EQ(RepairInvalidCoordinates(doc, true, false), 0);
}

TEST_F(RepairsTest, TheUserIsAskedFirstAndToldHowManyWereRepaired) {
    LineRecord* line = Line(kNaN, 1, 2, 3);
    doc->drawing->changed = 0;
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); }); // Cancel
    EXPECT_EQ(RepairInvalidCoordinates(doc, false, true), 0);
    EXPECT_TRUE(SameBits(line->x1, kNaN));
    ASSERT_EQ(RecordedAlerts().size(), 1u); // the question only
    EXPECT_FALSE(doc->drawing->changed);
    line->x1 = 0;

    const struct {
        int invalid;
        std::string shown;
    } cases[] = {{1, "One invalid coordinate"}, {3, "3 invalid coordinates"}, {0, "0 invalid coordinates"}};
    for (const auto& c : cases) {
        for (int i = 0; i < c.invalid; ++i)
            Line(i, kInf, 2, 3);
        ClearRecordedAlerts();
        SetAlertResponder([](const AlertRecord&) { return SInt16(2); });
        EXPECT_EQ(RepairInvalidCoordinates(doc, false, true), c.invalid);
        ASSERT_EQ(RecordedAlerts().size(), 2u) << RecordedAlerts()[0].params[0];
        EXPECT_NE(RecordedAlerts()[1].params[0].find(c.shown), std::string::npos)
            << RecordedAlerts()[1].params[0];
    }
}

TEST_F(RepairsTest, LockingTouchesVisibleLayersOnlyAndUndoes) {
    SetLayerVisible(doc->layerVisible, 5, false);
    LineRecord* shown = Line(0, 0, 1, 1, 0);
    LineRecord* hidden = Line(0, 0, 2, 2, 5);
    TextRecord* text = Text();
    BeginUndoStep(doc);
    EXPECT_EQ(SetLockOnVisibleLayers(doc, true), 2);
    EndUndoStep(doc);
    EXPECT_TRUE(UInt16(shown->penBlock.penFlags) & kPenFlagDimmed);
    EXPECT_FALSE(UInt16(hidden->penBlock.penFlags) & kPenFlagDimmed);
    EXPECT_TRUE(UInt16(text->penBlock.penFlags) & kPenFlagDimmed);
    EXPECT_EQ(SetLockOnVisibleLayers(doc, true), 0); // already locked
    UndoLastStep(doc);
    for (LineRecord* e = doc->lineHead->next; e; e = e->next)
        EXPECT_FALSE(UInt16(e->penBlock.penFlags) & kPenFlagDimmed);
    EXPECT_FALSE(UInt16(doc->textHead->next->penBlock.penFlags) & kPenFlagDimmed);
}

TEST_F(RepairsTest, DuplicateLinesGoTheFirstStaysAndUndoBringsThemBack) {
    Line(0, 0, 10, 10);
    Line(0, 0, 10, 10);    // the same
    Line(10, 10, 0, 0);    // the same the other way round
    Line(0, 0, 10, 10, 3); // another layer
    Line(0, 0, 10, 10.000001);
    Line(kNaN, 0, 1, 1);
    Line(kNaN, 0, 1, 1); // damaged lines compare too
    BeginUndoStep(doc);
    EXPECT_EQ(RemoveDuplicateLines(doc, false), 3);
    EndUndoStep(doc);
    EXPECT_EQ(CountLines(), 4);
    EXPECT_EQ(doc->lineHead->next->x2, 10);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 7);
}

TEST_F(RepairsTest, FramedTextsAreCounted) {
    Text(0);
    Text(kFramedTextBoxFlags);
    Text(kFramedTextBoxFlags | 1); // a frame kind too: not a text box
    Text(kFramedTextBoxFlags);
    EXPECT_EQ(CountFramedTexts(doc, true), 2);
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_NE(RecordedAlerts()[0].params[0].find("2"), std::string::npos);
}
