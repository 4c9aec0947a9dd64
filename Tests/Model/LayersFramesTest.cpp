// Moving, shifting and copying the elements of layers for every kind of element, in one exact undo
// step, refused whole when a layer would leave 0..1023; frames made from rectangles and the frame
// lists moved together.
#include "DocumentFixture.h"
#include "DrawingSnapshot.h"
#include "Model/LayersFrames.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MemoryManager.h"

#include <TestSupport.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {

class LayersFrames : public DocumentTest {
  protected:
    SymbolDefRecord* def = nullptr;

    // One element of every kind on each of the layers, made in one undo step.
    void MakeDrawing(std::vector<SInt16> layers) {
        NewSymbolDefElement(&def);
        CopyPStr(def->name, sizeof def->name, PStr("Bolt"));
        def->maxX = def->maxY = 2;
        doc->symbolDefHead->next = def;
        BeginUndoStep(doc);
        Float64 o = 0;
        for (SInt16 layer : layers) {
            o += 40;
            doc->settings->currentLayer = layer;
            AddLine(doc, o, 0, o + 10, 0);
            AddArc(doc, o, 0, 3, 0, 90);
            TextRecord* text;
            LastText(doc, &text);
            TextRecord* t = NewTextElement(doc, &text->next);
            t->x = o, t->y = 5, t->textHeight = 2.5, t->layer = layer;
            CopyPStr(t->text, 256, PStr("note"));
            RecordUndoText(doc, t, true);
            DimensionRecord* dim;
            LastDimension(doc, &dim);
            DimensionRecord* d = NewDimensionElement(doc, &dim->next);
            d->x1 = o, d->x2 = o + 10, d->textX = o + 5, d->textY = 3, d->layer = layer;
            RecordUndoDimension(doc, d, true);
            PolylineRecord* poly;
            LastPolyline(doc, &poly);
            PolylineRecord* p = NewPolylineElement(doc, &poly->next);
            p->pointCount = 3, p->layer = layer;
            const Float64 points[6] = {o + 5, 5, o + 10, 5, o + 10, 10};
            PtrToHand(points, &p->points, sizeof points);
            RecordUndoPolyline(doc, p, true);
            SeekLastInstance(doc);
            SymbolInstanceRecord* inst = NewInstanceElement(doc, &doc->drawing->cursors.instanceCursor->next);
            inst->definition = def, inst->layer = layer;
            inst->x = o + 7, inst->xScale = inst->yScale = 1;
            RecordUndoSymbolInstance(doc, inst, true);
            SeekLastArea(doc);
            AreaRecord* a = NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
            a->outline = NewOutlineHandle(2);
            const Float64 outline[6] = {o + 10, 0, o + 20, 0, o + 20, 10};
            std::copy(outline, outline + 6, OutlinePoints(a->outline));
            a->minX = o + 10, a->maxX = o + 20, a->maxY = 10, a->layer = layer;
            RecordUndoArea(doc, a, true);
        }
        doc->settings->currentLayer = 0;
        EndUndoStep(doc);
    }
    // How many elements of all kinds each layer holds.
    std::map<SInt16, int> Census() const {
        std::map<SInt16, int> n;
        auto count = [&](auto* head) {
            for (auto* e = head->next; e != nullptr; e = e->next)
                ++n[e->layer];
        };
        count(doc->lineHead), count(doc->arcHead), count(doc->textHead), count(doc->dimensionHead);
        count(doc->polylineHead), count(doc->instanceHead), count(doc->areaHead);
        return n;
    }
    void ExpectUndoRedoExact(const DrawingSnapshot& before) {
        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        UndoLastStep(doc);
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        RedoStep(doc);
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
};

TEST_F(LayersFrames, EveryKindMovesShiftsAndCopiesInOneUndoStep) {
    MakeDrawing({3, 4, 9});
    SetLayerVisible(doc->layerVisible, 3, false);
    DrawingSnapshot before = TakeDrawingSnapshot(doc);
    EXPECT_EQ(MoveLayerElements(doc, 3, 9), 7);
    EXPECT_EQ(Census(), (std::map<SInt16, int>{{4, 7}, {9, 14}}));
    ExpectUndoRedoExact(before);

    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(ShiftLayerRange(doc, 9, 4, 1014)); // the range in either order
    EXPECT_EQ(Census(), (std::map<SInt16, int>{{1018, 7}, {1023, 14}}));
    ExpectUndoRedoExact(before);

    before = TakeDrawingSnapshot(doc);
    EXPECT_TRUE(DuplicateLayer(doc, 1018, 1018, -1000));
    EXPECT_EQ(Census(), (std::map<SInt16, int>{{18, 7}, {1018, 7}, {1023, 14}}));
    ExpectUndoRedoExact(before);
}

TEST_F(LayersFrames, ARangeThatWouldLeaveTheLayersChangesNothing) {
    MakeDrawing({0, 1023});
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    struct Case {
        SInt16 a, b, c;
    };
    for (Case c : {Case{0, 1023, 1}, Case{0, 5, -1}, Case{1020, 1023, 4}, Case{-1, 3, 2}, Case{3, 1024, 0}}) {
        SCOPED_TRACE(std::to_string(c.a) + "," + std::to_string(c.b) + "," + std::to_string(c.c));
        EXPECT_FALSE(LayerRangeFits(c.a, c.b, c.c));
        EXPECT_FALSE(ShiftLayerRange(doc, c.a, c.b, c.c));
        EXPECT_FALSE(DuplicateLayer(doc, c.a, c.b, c.c));
    }
    EXPECT_FALSE(DuplicateLayer(doc, 0, 0, 0)) << "a copy onto its own layer";
    EXPECT_EQ(MoveLayerElements(doc, 0, 1024), 0);
    EXPECT_EQ(MoveLayerElements(doc, 5, 6), 0) << "an empty layer";
    EXPECT_TRUE(ShiftLayerRange(doc, 5, 9, 1));
    EXPECT_TRUE(DuplicateLayer(doc, 5, 9, 1));
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps) << "no undo step that changes nothing";
}

TEST_F(LayersFrames, FramesFromRectanglesAndTheFrameListsMovedTogether) {
    std::array<unsigned char, 256> name{};
    name[0] = 80;
    std::fill(name.begin() + 1, name.begin() + 81, 'x');
    ASSERT_TRUE(NewFrameFromRect(doc, 0, 50, 80, 10, 20, PStr("")));
    ASSERT_TRUE(NewFrameFromRect(doc, 2, 0, 0, 5, 5, name.data()));
    FrameRecord* f = doc->drawing->frames;
    ASSERT_NE(f, nullptr);
    ASSERT_NE(f->next, nullptr);
    EXPECT_EQ((std::array<Float64, 4>{f->rect[0], f->rect[1], f->rect[2], f->rect[3]}),
              (std::array<Float64, 4>{10, 20, 50, 80}));
    EXPECT_EQ(f->name[0], 0);
    EXPECT_EQ(f->next->kind, 2);
    EXPECT_EQ(f->next->name[0], 63) << "a frame's name is cut to what its record keeps";

    SavedViewRecord* v = NewSavedView();
    v->rect[2] = v->rect[3] = 1;
    doc->drawing->savedViews = v;
    doc->settings->hpglArea[2] = 4;
    OffsetFrameLists(doc, 1, -2);
    EXPECT_EQ(f->rect[0], 11);
    EXPECT_EQ(f->rect[3], 78);
    EXPECT_EQ(f->next->rect[2], 6);
    EXPECT_EQ(v->rect[1], -2);
    EXPECT_EQ(v->rect[2], 2);
    EXPECT_EQ(doc->settings->hpglArea[0], 1);
    EXPECT_EQ(doc->settings->hpglArea[2], 5);
    for (Float64 c : doc->settings->pdfArea)
        EXPECT_EQ(c, 0) << "the PDF area was not set";
}

} // namespace

namespace {

// Frames by number from 1: one taken out of the middle leaves the others linked in order, with what
// it owned freed; numbers outside the list name no frame.
TEST_F(LayersFrames, FramesAreFoundAndDeletedByNumber) {
    for (const char* name : {"A", "B", "C"})
        ASSERT_TRUE(NewFrameFromRect(doc, 0, 0, 0, 10, 10, PStr(name)));
    FrameAt(doc, 2)->pageFormat = NewHandle(16);
    EXPECT_EQ(CountFrames(doc), 3);
    EXPECT_EQ(FrameAt(doc, 0), nullptr);
    EXPECT_EQ(FrameAt(doc, 4), nullptr);
    EXPECT_TRUE(DeleteFrameAndDispose(doc, 2));
    ASSERT_EQ(CountFrames(doc), 2);
    EXPECT_EQ(ToStd(FrameAt(doc, 1)->name), "A");
    EXPECT_EQ(ToStd(FrameAt(doc, 2)->name), "C");
    for (SInt16 n : {0, 3, -1})
        EXPECT_FALSE(DeleteFrameAndDispose(doc, n)) << n;
    EXPECT_TRUE(DeleteFrameAndDispose(doc, 1));
    EXPECT_TRUE(DeleteFrameAndDispose(doc, 1));
    EXPECT_EQ(doc->drawing->frames, nullptr);
    EXPECT_EQ(CountFrames(nullptr), 0);
}

} // namespace
