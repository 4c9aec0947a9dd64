// Changing attributes of existing elements: each attribute reaches exactly the kinds that take it,
// all attributes pass from one element to another, and undo and redo give back exactly the drawing
// before and after.
#include "DocumentFixture.h"
#include "DrawingSnapshot.h"
#include "Model/ElementEncoding.h"
#include "Model/Streams.h"
#include "Model/AttributeChange.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MemoryManager.h"

#include <TestSupport.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Snapshot = DrawingSnapshot;

class AttributeChange : public DocumentTest {
  protected:
    LineRecord* line = nullptr;
    ArcRecord* arc = nullptr;
    TextRecord* text = nullptr;
    DimensionRecord* dim = nullptr;
    PolylineRecord* poly = nullptr;
    SymbolInstanceRecord* inst = nullptr;
    AreaRecord* area = nullptr;

    void SetUp() override {
        DocumentTest::SetUp();
        SymbolDefRecord* def = nullptr;
        NewSymbolDefElement(&def);
        CopyPStr(def->name, sizeof def->name, PStr("Bolt"));
        doc->symbolDefHead->next = def;

        BeginUndoStep(doc);
        line = AddLine(doc, 0, 0, 10, 0);
        AddArc(doc, 1, 2, 3, 0, 360);
        arc = doc->arcHead->next;
        TextRecord* last = nullptr;
        LastText(doc, &last);
        NewTextElement(doc, &last->next);
        text = last->next;
        PtrToHand("words", &text->boxText, 5);
        RecordUndoText(doc, text, true);
        DimensionRecord* lastDim = nullptr;
        LastDimension(doc, &lastDim);
        NewDimensionElement(doc, &lastDim->next);
        dim = lastDim->next;
        CopyPStr(dim->text, 256, PStr("12.5"));
        RecordUndoDimension(doc, dim, true);
        PolylineRecord* lastPoly = nullptr;
        LastPolyline(doc, &lastPoly);
        NewPolylineElement(doc, &lastPoly->next);
        poly = lastPoly->next;
        poly->pointCount = 2;
        const Float64 points[4] = {0, 0, 5, 5};
        PtrToHand(points, &poly->points, sizeof points);
        RecordUndoPolyline(doc, poly, true);
        SeekLastInstance(doc);
        NewInstanceElement(doc, &doc->drawing->cursors.instanceCursor->next);
        inst = doc->drawing->cursors.instanceCursor->next;
        inst->definition = def;
        RecordUndoSymbolInstance(doc, inst, true);
        SeekLastArea(doc);
        NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
        area = doc->drawing->cursors.areaCursor->next;
        area->outline = NewOutlineHandle(3);
        area->lastHoleIndex = -1;
        RecordUndoArea(doc, area, true);
        EndUndoStep(doc);
    }

    Snapshot Take() const { return TakeDrawingSnapshot(doc); }

    void ExpectUndoRedo(const Snapshot& before, const Snapshot& after) {
        ASSERT_NE(before, after);
        UndoLastStep(doc);
        EXPECT_EQ(Take(), before);
        RedoStep(doc);
        EXPECT_EQ(Take(), after);
        UndoLastStep(doc);
        EXPECT_EQ(Take(), before);
        EXPECT_TRUE(RecordedAlerts().empty());
    }

    // Undo and redo put new records in the place of changed ones: the one element of each kind.
    void Refresh() {
        line = doc->lineHead->next;
        arc = doc->arcHead->next;
        text = doc->textHead->next;
        dim = doc->dimensionHead->next;
        poly = doc->polylineHead->next;
        inst = doc->instanceHead->next;
        area = doc->areaHead->next;
    }

    struct Element {
        ElementKind kind;
        void* e;
    };
    std::vector<Element> All() {
        return {{kLineElement, line},     {kArcElement, arc},       {kTextElement, text},
                {kDimensionElement, dim}, {kPolylineElement, poly}, {kSymbolInstanceElement, inst},
                {kAreaElement, area}};
    }
};

// Each attribute, set on one element of every kind in one step: the kinds that take it change and
// the others journal nothing; undo and redo restore both drawings exactly.
TEST_F(AttributeChange, EachAttributeReachesTheKindsThatTakeItAndIsUndone) {
    struct Row {
        ElementAttribute attribute;
        const char* takers; // by kind: line, arc, text, dimension, polyline, instance, area
    };
    const Row rows[] = {
        {ElementAttribute::pen, "LATDP-R"},     {ElementAttribute::lineType, "LA--P--"},
        {ElementAttribute::key, "LATDPIR"},     {ElementAttribute::layer, "LATDPIR"},
        {ElementAttribute::color, "LATDP-R"},   {ElementAttribute::width, "LATDP-R"},
        {ElementAttribute::pattern, "LATDP-R"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.attribute));
        AttributeValue v{row.attribute, 5, RGBColor{65535, 5140, 0}, 35, 7};
        const Snapshot before = Take();
        BeginUndoStep(doc);
        std::string changed;
        const std::string letters = "LATDPIR"; // in the order of All()
        for (size_t k = 0; k < All().size(); ++k)
            changed += SetElementAttribute(doc, All()[k].kind, All()[k].e, v) ? letters[k] : '-';
        EndUndoStep(doc);
        EXPECT_EQ(changed, row.takers);
        const Snapshot after = Take();
        // Set again: nothing left to change.
        for (const Element& el : All())
            EXPECT_FALSE(SetElementAttribute(doc, el.kind, el.e, v));
        ExpectUndoRedo(before, after);
        RedoStep(doc);
        Refresh();
    }
    EXPECT_EQ(line->pen, 5);
    EXPECT_EQ(line->lineType, 5);
    EXPECT_EQ(text->group, 5);
    EXPECT_EQ(inst->layer, 5);
    EXPECT_EQ(area->penBlock.color.green, 5140);
    EXPECT_EQ(poly->penBlock.penWidth100, 35);
    EXPECT_EQ(dim->penBlock.pattern, 7);
    EXPECT_EQ(inst->pen, 0); // an instance keeps what it has
}

// All attributes of a line pass to every kind, each taking what it carries; from a symbol
// instance only the key and layer pass. One step for the lot, undone and redone exactly.
TEST_F(AttributeChange, AllAttributesPassFromOneElementToOthers) {
    line->pen = 3, line->lineType = 4, line->group = 12, line->layer = 9;
    line->penBlock.color = RGBColor{257, 514, 771};
    line->penBlock.penWidth100 = 50;
    line->penBlock.pattern = 6;
    AttrChangeRecord r;
    FillAttrChangeFromLine(&r, line);
    const Snapshot before = Take();
    BeginUndoStep(doc);
    for (const Element& el : All()) {
        if (el.e == line) continue;
        EXPECT_TRUE(ApplyAttrChange(doc, &r, el.kind, el.e, false)) << el.kind;
    }
    EndUndoStep(doc);
    EXPECT_EQ(text->pen, 3);
    EXPECT_EQ(arc->lineType, 4);
    EXPECT_EQ(poly->lineType, 4);
    EXPECT_EQ(dim->group, 12);
    EXPECT_EQ(inst->group, 12);
    EXPECT_EQ(inst->layer, 9);
    EXPECT_EQ(inst->pen, 0);
    EXPECT_EQ(area->penBlock.color.blue, 771);
    EXPECT_EQ(text->penBlock.penWidth100, 50);
    EXPECT_EQ(area->penBlock.pattern, 6);
    ExpectUndoRedo(before, Take());
    Refresh();

    inst->group = 40, inst->layer = 41;
    FillAttrChange(&r, kSymbolInstanceElement, inst);
    const SInt16 pen = arc->pen;
    const RGBColor color = arc->penBlock.color;
    EXPECT_TRUE(ApplyAttrChangeToArc(doc, &r, arc, true));
    EXPECT_EQ(arc->group, 40);
    EXPECT_EQ(arc->layer, 41);
    EXPECT_EQ(arc->pen, pen);
    EXPECT_EQ(arc->penBlock.color.red, color.red);
    EXPECT_FALSE(ApplyAttrChangeToArc(doc, &r, arc, true)); // nothing left to change
}

TEST_F(AttributeChange, AnElementIsFoundOnlyWhileItIsInItsList) {
    EXPECT_TRUE(ElementInDocument(doc, kTextElement, text));
    EXPECT_FALSE(ElementInDocument(doc, kArcElement, text));
    BeginUndoStep(doc);
    RemoveText(doc, text);
    EndUndoStep(doc);
    EXPECT_FALSE(ElementInDocument(doc, kTextElement, text));
    EXPECT_FALSE(ElementInDocument(doc, kLineElement, nullptr));
}

} // namespace
