// Transforming the selection: every kind over every element kind, in place and as copies, each
// undone and redone exactly; the key groups and the one-pass selection of their elements.
#include "DocumentFixture.h"
#include "DrawingSnapshot.h"
#include "Model/ElementEncoding.h"
#include "Model/Streams.h"
#include "Model/ElementLists.h"
#include "Model/Selection.h"
#include "Model/Symbols.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MemoryManager.h"

#include <TestSupport.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Snapshot = DrawingSnapshot;

class Transform : public DocumentTest {
  protected:
    SymbolDefRecord* def = nullptr;
    LineRecord* line = nullptr;
    ArcRecord* arc = nullptr;
    TextRecord* text = nullptr;
    DimensionRecord* dim = nullptr;
    PolylineRecord* poly = nullptr;
    SymbolInstanceRecord* inst = nullptr;
    AreaRecord* area = nullptr;

    Snapshot Take() const { return TakeDrawingSnapshot(doc); }

    // One selected element of every kind, made in one undo step.
    void MakeDrawing() {
        NewSymbolDefElement(&def);
        CopyPStr(def->name, sizeof def->name, PStr("Bolt"));
        def->maxX = def->maxY = 2;
        doc->symbolDefHead->next = def;
        BeginUndoStep(doc);
        line = AddLine(doc, 10, 0, 20, 0);
        arc = AddArc(doc, 10, 0, 3, 0, 90);

        LastText(doc, &text);
        NewTextElement(doc, &text->next);
        text = text->next;
        text->x = 10, text->y = 5, text->textHeight = 2.5;
        CopyPStr(text->text, 256, PStr("label"));
        RecordUndoText(doc, text, true);

        LastDimension(doc, &dim);
        NewDimensionElement(doc, &dim->next);
        dim = dim->next;
        dim->x1 = 10, dim->y1 = 0, dim->x2 = 20, dim->y2 = 0, dim->textX = 15, dim->textY = 3;
        RecordUndoDimension(doc, dim, true);

        LastPolyline(doc, &poly);
        NewPolylineElement(doc, &poly->next);
        poly = poly->next;
        poly->pointCount = 3;
        const Float64 points[6] = {5, 5, 10, 5, 10, 10};
        PtrToHand(points, &poly->points, sizeof points);
        RecordUndoPolyline(doc, poly, true);

        SeekLastInstance(doc);
        NewInstanceElement(doc, &doc->drawing->cursors.instanceCursor->next);
        inst = doc->drawing->cursors.instanceCursor->next;
        inst->definition = def;
        inst->x = 7, inst->xScale = inst->yScale = 1;
        RecordUndoSymbolInstance(doc, inst, true);

        SeekLastArea(doc);
        NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
        area = doc->drawing->cursors.areaCursor->next;
        area->outline = NewOutlineHandle(2);
        const Float64 outline[6] = {10, 0, 20, 0, 20, 10};
        std::copy(outline, outline + 6, OutlinePoints(area->outline));
        area->minX = 10, area->maxX = 20, area->maxY = 10;
        RecordUndoArea(doc, area, true);
        EndUndoStep(doc);
        SelectAll();
    }
    void SelectAll() {
        DrawingRecord* d = doc->drawing;
        for (Boolean* f : {&line->selected, &arc->selected, &text->selected, &dim->selected, &poly->selected,
                           &inst->selected, &area->selected})
            SetSelectedFlag(d, f, 1);
    }
    TransformState* State() { return TransformStateOf(doc); }

    void Run(SInt16 kind, SInt16 copies) {
        State()->kind = kind;
        BeginUndoStep(doc);
        TransformAllElements(doc, copies);
        EndUndoStep(doc);
    }
    template <typename R> static int Count(R* head) {
        int n = 0;
        for (R* e = head->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
};

// Every kind, in place and with copies, over every element kind: the copies are there and
// unselected, and undo and redo give back exactly the drawing before and after.
TEST_F(Transform, EveryKindInPlaceAndAsCopiesIsUndoneAndRedone) {
    for (SInt16 kind : {kTransformMove, kTransformRotate, kTransformMirror, kTransformAlongCircle,
                        kTransformScaleFirst, kTransformStretch, kTransformScale}) {
        for (SInt16 copies : {0, 3}) {
            SCOPED_TRACE("kind " + std::to_string(kind) + ", copies " + std::to_string(copies));
            TearDown();
            SetUp();
            MakeDrawing();
            TransformState* s = State();
            s->offsetX = 3, s->offsetY = 4;
            s->angle = 30, s->cosine = std::cos(M_PI / 6), s->sine = std::sin(M_PI / 6);
            s->refX = 1, s->refY = 2, s->secondX = 6, s->secondY = 2;
            s->lineX1 = 0, s->lineY1 = 0, s->lineX2 = 1, s->lineY2 = 1, s->lineAngle = 45;
            s->factor = 3, s->secondFactor = 2;
            s->rectMinX = 0, s->rectMinY = -1, s->rectMaxX = 15, s->rectMaxY = 20;
            const Snapshot before = Take();
            Run(kind, copies);
            const Snapshot after = Take();
            ASSERT_NE(before, after);
            EXPECT_EQ(Count(doc->lineHead), 1 + copies);
            EXPECT_EQ(Count(doc->areaHead), 1 + copies);
            EXPECT_EQ(Count(doc->instanceHead), 1 + copies);
            for (const LineRecord* l = doc->lineHead->next->next; l != nullptr; l = l->next)
                EXPECT_FALSE(l->selected);
            UndoLastStep(doc);
            EXPECT_EQ(Take(), before);
            RedoStep(doc);
            EXPECT_EQ(Take(), after);
            EXPECT_TRUE(RecordedAlerts().empty());
        }
    }
}

// Where the points land: a turn, a mirror (an arc runs the other way round, an instance is flipped),
// copies along a circle made one from the other, each scaling kind with its own factor, and a
// stretch that moves only the points inside the rectangle, its edges included.
TEST_F(Transform, PointsLandWhereEachKindPutsThem) {
    MakeDrawing();
    TransformState* s = State();
    s->angle = 90, s->cosine = 0, s->sine = 1;
    Run(kTransformRotate, 0);
    EXPECT_NEAR(line->x1, 0, 1e-9);
    EXPECT_NEAR(std::min(line->y1, line->y2), 10, 1e-9);
    EXPECT_NEAR(std::max(line->y1, line->y2), 20, 1e-9);
    EXPECT_NEAR(arc->startAngle, 90, 1e-9);
    EXPECT_NEAR(arc->endAngle, 180, 1e-9);
    EXPECT_NEAR(inst->angle, 90, 1e-9);
    EXPECT_NEAR(inst->y, 7, 1e-9);
    EXPECT_NEAR(reinterpret_cast<Float64*>(*poly->points)[0], -5, 1e-9);
    EXPECT_NEAR(text->angle, 90, 1e-9);
    EXPECT_NEAR(area->minX, -10, 1e-9);
    EXPECT_NEAR(area->maxY, 20, 1e-9);

    // Mirror at the y axis.
    TearDown();
    SetUp();
    MakeDrawing();
    s = State();
    s->lineX1 = 0, s->lineY1 = 0, s->lineX2 = 0, s->lineY2 = 10, s->lineAngle = 90;
    Run(kTransformMirror, 0);
    EXPECT_NEAR(std::min(line->x1, line->x2), -20, 1e-9);
    EXPECT_NEAR(std::max(line->x1, line->x2), -10, 1e-9);
    EXPECT_NEAR(arc->cx, -10, 1e-9);
    EXPECT_NEAR(arc->startAngle, 90, 1e-9);
    EXPECT_NEAR(arc->endAngle, 180, 1e-9);
    EXPECT_NEAR(inst->x, -7, 1e-9);
    EXPECT_LT(inst->yScale * inst->xScale, 0);

    // Along a circle: each copy is where the second point lands after k turns.
    TearDown();
    SetUp();
    MakeDrawing();
    s = State();
    s->refX = 0, s->refY = 0, s->secondX = 10, s->secondY = 0, s->angle = 90;
    Run(kTransformAlongCircle, 2);
    const LineRecord* first = line->next;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first->next, nullptr);
    EXPECT_NEAR(first->x1, 0, 1e-9);
    EXPECT_NEAR(first->y1, 10, 1e-9);
    EXPECT_NEAR(first->next->x1, -10, 1e-9);
    EXPECT_NEAR(first->next->y1, 0, 1e-9);
    EXPECT_NEAR(first->next->y2, 0, 1e-9); // never turned

    // Kind 4 takes the first factor, kind 6 the second.
    for (SInt16 kind : {kTransformScaleFirst, kTransformScale}) {
        TearDown();
        SetUp();
        MakeDrawing();
        s = State();
        s->refX = 0, s->refY = 0, s->factor = 3, s->secondFactor = 2;
        Run(kind, 0);
        const double f = kind == kTransformScale ? 2 : 3;
        EXPECT_NEAR(line->x2, 20 * f, 1e-9);
        EXPECT_NEAR(arc->radius, 3 * f, 1e-9);
        EXPECT_NEAR(inst->xScale, f, 1e-9);
        EXPECT_NEAR(area->maxX, 20 * f, 1e-9);
    }

    // Stretch: the rectangle's right edge passes through the line's first end.
    TearDown();
    SetUp();
    MakeDrawing();
    s = State();
    s->rectMinX = 0, s->rectMinY = -1, s->rectMaxX = 10, s->rectMaxY = 1;
    s->offsetX = -5, s->offsetY = 0;
    Run(kTransformStretch, 0);
    EXPECT_EQ(line->x1, 5);
    EXPECT_EQ(line->x2, 20);
    EXPECT_EQ(area->minX, 5);
    EXPECT_EQ(OutlinePoints(area->outline)[2], 20);
    EXPECT_EQ(inst->x, 2);
    EXPECT_EQ(text->x, 10); // its anchor lies outside
}

// The key set holds the keys of the selected elements; selecting its groups keeps the selection,
// key 0 too, and adds every element of the groups.
TEST_F(Transform, KeyGroupsJoinTheSelection) {
    std::vector<LineRecord*> lines;
    BeginUndoStep(doc);
    for (int i = 0; i < 6; ++i)
        lines.push_back(AddLine(doc, 0, i, 10, i));
    EndUndoStep(doc);
    const SInt16 keys[] = {0, 3, 3, 7, 0, 32000};
    for (int i = 0; i < 6; ++i)
        lines[size_t(i)]->group = keys[i];
    SetSelectedFlag(doc->drawing, &lines[0]->selected, 1);
    SetSelectedFlag(doc->drawing, &lines[1]->selected, 1);
    SetSelectedFlag(doc->drawing, &lines[5]->selected, 1);
    CollectElementKeys(doc);
    EXPECT_EQ(State()->keyCount, 2);
    EXPECT_TRUE(State()->keys[3]);
    EXPECT_TRUE(State()->keys[32000]);
    SelectElementsOfKeySet(doc);
    const bool expected[] = {true, true, true, false, false, true};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bool(lines[size_t(i)]->selected), expected[i]) << i;

    SelectElementsByKey(doc, 7, true);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bool(lines[size_t(i)]->selected), i == 3) << i;
    MarkElementsOfKey(doc, 3);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bool(lines[size_t(i)]->marked), i == 1 || i == 2) << i;
}

} // namespace

namespace {

// The selection takes the current key, every kind alike, in one undo step; a key carried only by the
// selection is not in use elsewhere; nothing to change makes no step. The scale value too.
TEST_F(Transform, KeyAndScaleValueGivenToTheSelectionOfEveryKind) {
    MakeDrawing();
    const Snapshot before = Take();
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    doc->settings->currentGroup = 9;
    EXPECT_EQ(AssignKeyToSelection(doc), 7);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
    for (SInt16 key :
         {line->group, arc->group, text->group, dim->group, poly->group, inst->group, area->group})
        EXPECT_EQ(key, 9);
    EXPECT_FALSE(IsKeyInUse(doc, 9)) << "only the selection carries it";
    line->selected = 0;
    EXPECT_TRUE(IsKeyInUse(doc, 9));
    EXPECT_FALSE(IsKeyInUse(doc, 10));
    SetSelectedFlag(doc->drawing, &line->selected, 1);
    EXPECT_EQ(AssignKeyToSelection(doc), 0);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
    const Snapshot keyed = Take();

    BeginUndoStep(doc);
    SetSelectionScaleValue(doc, 4);
    EndUndoStep(doc);
    for (Float64 s : {line->scaleFactor, arc->scaleFactor, text->scaleFactor, dim->scaleFactor,
                      poly->scaleFactor, inst->scaleFactor, area->scaleFactor})
        EXPECT_EQ(s, 4);
    const Snapshot scaled = Take();
    UndoLastStep(doc);
    EXPECT_EQ(Take(), keyed);
    UndoLastStep(doc);
    EXPECT_EQ(Take(), before);
    RedoStep(doc);
    EXPECT_EQ(Take(), keyed);
    RedoStep(doc);
    EXPECT_EQ(Take(), scaled);
}

} // namespace
