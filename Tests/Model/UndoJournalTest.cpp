// The undo journal: undo and redo restore exactly the drawing before and after a step, for every
// kind of change and element; failures stop the journal without touching the drawing.
#include "DocumentFixture.h"
#include "DrawingSnapshot.h"
#include "Model/ElementEncoding.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Model/Streams.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"

#include <TestSupport.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Snapshot = DrawingSnapshot;

class UndoJournal : public DocumentTest {
  protected:
    Snapshot Take() const { return TakeDrawingSnapshot(doc); }

    // Replaces a line by a changed copy inside one step, as the tools do.
    template <typename Change> void ChangeLine(LineRecord* line, Change change) {
        BeginUndoStep(doc);
        RecordUndoLine(doc, line, false);
        change(line);
        RecordUndoLine(doc, line, true);
        EndUndoStep(doc);
    }

    // Undo gives back the drawing before, redo the drawing after, and again.
    void ExpectUndoRedo(const Snapshot& before, const Snapshot& after) {
        ASSERT_NE(before, after);
        UndoLastStep(doc);
        EXPECT_EQ(Take(), before);
        RedoStep(doc);
        EXPECT_EQ(Take(), after);
        UndoLastStep(doc);
        EXPECT_EQ(Take(), before);
        RedoStep(doc);
        EXPECT_EQ(Take(), after);
        EXPECT_FALSE(doc->drawing->undo.undoReplaying);
        EXPECT_TRUE(RecordedAlerts().empty());
    }

    LineRecord* Line(Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
        BeginUndoStep(doc);
        LineRecord* line = AddLine(doc, x1, y1, x2, y2);
        EndUndoStep(doc);
        return line;
    }
};

} // namespace

TEST_F(UndoJournal, AColourChangeAndAMoveAreUndoneAndRedone) {
    LineRecord* line = Line(0, 0, 10, 0);
    Line(0, 5, 10, 5); // a twin in geometry elsewhere in the list must not be confused with it
    Snapshot before = Take();
    ChangeLine(line, [](LineRecord* l) { l->penBlock.color = RGBColor{0xFFFF, 0, 0}; });
    ExpectUndoRedo(before, Take());

    line = doc->lineHead->next;
    while (line->y1 != 0)
        line = line->next;
    before = Take();
    ChangeLine(line, [](LineRecord* l) {
        l->x1 += 3;
        l->x2 += 3;
    });
    ExpectUndoRedo(before, Take());
}

TEST_F(UndoJournal, SplittingAndJoiningLinesAreUndoneAndRedone) {
    LineRecord* line = Line(0, 0, 10, 0);
    Snapshot before = Take();
    BeginUndoStep(doc);
    RemoveLine(doc, line);
    AddLine(doc, 0, 0, 4, 0);
    AddLine(doc, 4, 0, 10, 0);
    EndUndoStep(doc);
    EXPECT_EQ(CountLines(), 2);
    ExpectUndoRedo(before, Take());

    before = Take();
    BeginUndoStep(doc);
    RemoveLine(doc, doc->lineHead->next);
    RemoveLine(doc, doc->lineHead->next);
    AddLine(doc, 0, 0, 10, 0);
    EndUndoStep(doc);
    EXPECT_EQ(CountLines(), 1);
    ExpectUndoRedo(before, Take());
}

TEST_F(UndoJournal, ADeleteIsUndoneAndRedone) {
    Line(0, 0, 1, 1);
    LineRecord* middle = Line(2, 2, 3, 3);
    Line(4, 4, 5, 5);
    Snapshot before = Take();
    BeginUndoStep(doc);
    RemoveLine(doc, middle);
    EndUndoStep(doc);
    EXPECT_EQ(CountLines(), 2);
    ExpectUndoRedo(before, Take());
}

TEST_F(UndoJournal, EveryKindOfElementComesBackWithItsData) {
    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    CopyPStr(def->name, sizeof def->name, PStr("Bolt"));
    doc->symbolDefHead->next = def;

    Snapshot before = Take();
    BeginUndoStep(doc);
    AddArc(doc, 1, 2, 3, 0, 360);

    TextRecord* text = nullptr;
    LastText(doc, &text);
    NewTextElement(doc, &text->next);
    text = text->next;
    text->textFlags = kFramedTextBoxFlags;
    PtrToHand("boxed\rtext", &text->boxText, 10);
    RecordUndoText(doc, text, true);

    DimensionRecord* dim = nullptr;
    LastDimension(doc, &dim);
    NewDimensionElement(doc, &dim->next);
    dim = dim->next;
    dim->kind = 3;
    CopyPStr(dim->text, 256, PStr("12.5"));
    CopyPStr(dim->upperTolerance, 256, PStr("+0.1"));
    RecordUndoDimension(doc, dim, true);

    PolylineRecord* poly = nullptr;
    LastPolyline(doc, &poly);
    NewPolylineElement(doc, &poly->next);
    poly = poly->next;
    poly->pointCount = 2;
    const Float64 points[4] = {0, 0, 5, 5};
    PtrToHand(points, &poly->points, sizeof points);
    RecordUndoPolyline(doc, poly, true);

    SeekLastInstance(doc);
    NewInstanceElement(doc, &doc->drawing->cursors.instanceCursor->next);
    SymbolInstanceRecord* inst = doc->drawing->cursors.instanceCursor->next;
    inst->definition = def;
    inst->x = 7;
    RecordUndoSymbolInstance(doc, inst, true);

    SeekLastArea(doc);
    NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
    AreaRecord* area = doc->drawing->cursors.areaCursor->next;
    area->outline = NewOutlineHandle(3);
    OutlinePoints(area->outline)[5] = 9;
    area->lastHoleIndex = 0;
    area->holes = NewHandleClear(sizeof(Handle));
    reinterpret_cast<Handle*>(*area->holes)[0] = NewOutlineHandle(-1);
    RecordUndoArea(doc, area, true);
    EndUndoStep(doc);

    Snapshot after = Take();
    ExpectUndoRedo(before, after);
    // Re-inserted instances point at their definition again.
    EXPECT_EQ(doc->instanceHead->next->definition, def);
    // Deleting them all at once is undone too.
    BeginUndoStep(doc);
    RemoveArc(doc, doc->arcHead->next);
    RemoveText(doc, doc->textHead->next);
    RemoveDimension(doc, doc->dimensionHead->next);
    RemovePolyline(doc, doc->polylineHead->next);
    RemoveInstance(doc, doc->instanceHead->next);
    RemoveArea(doc, doc->areaHead->next);
    EndUndoStep(doc);
    ExpectUndoRedo(after, before);
}

TEST_F(UndoJournal, StepsCountBothWaysAndANewStepDropsTheRedoHistory) {
    UndoLastStep(doc); // nothing to undo: nothing changes
    RedoStep(doc);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 0);
    EXPECT_FALSE(doc->drawing->undo.undoReplaying);

    Line(0, 0, 1, 0);
    Line(0, 1, 1, 1);
    EXPECT_TRUE(doc->drawing->changed);
    UndoLastStep(doc);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 1);
    EXPECT_EQ(doc->drawing->undo.redoCount, 1);
    Line(0, 2, 1, 2); // overwrites the undone step
    EXPECT_EQ(doc->drawing->undo.redoCount, 0);
    RedoStep(doc);
    EXPECT_EQ(CountLines(), 2);
    UndoLastStep(doc);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 0);
    RedoStep(doc);
    RedoStep(doc);
    EXPECT_EQ(CountLines(), 2);
    EXPECT_EQ(doc->lineHead->next->y1, 2); // re-inserted at the front

    // Several re-inserted elements come back at the front in reverse order of their entries.
    BeginUndoStep(doc);
    RemoveLine(doc, doc->lineHead->next);
    RemoveLine(doc, doc->lineHead->next);
    EndUndoStep(doc);
    UndoLastStep(doc);
    EXPECT_EQ(doc->lineHead->next->y1, 2);
    EXPECT_EQ(doc->lineHead->next->next->y1, 0);
}

TEST_F(UndoJournal, NothingIsRecordedWhileReplayingForHeadsOrWithUndoOff) {
    SInt64 start = doc->drawing->undo.undoPosition;
    BeginUndoStep(doc);
    RecordUndoLine(doc, doc->lineHead, true);
    doc->drawing->undo.undoReplaying = 1;
    AddLine(doc, 0, 0, 1, 1);
    doc->drawing->undo.undoReplaying = 0;
    doc->settings->undoOn = 0;
    AddLine(doc, 0, 0, 2, 2);
    EndUndoStep(doc);
    EXPECT_EQ(doc->drawing->undo.undoPosition, start);
    EXPECT_EQ(doc->drawing->undo.undoPendingBytes, 0);
    EXPECT_EQ(CountLines(), 2);
}

TEST_F(UndoJournal, AFailedWriteStopsTheJournalAndTellsTheUserOnce) {
    Line(0, 0, 1, 1);
    FSIORefNum full = 0;
    ASSERT_EQ(FSOpenForkPath("/dev/full", fsRdWrPerm, &full), noErr);
    FSIORefNum journal = doc->drawing->undo.undoFork;
    doc->drawing->undo.undoFork = full; // the disk fills up

    BeginUndoStep(doc);
    AddLine(doc, 2, 2, 3, 3);
    EndUndoStep(doc);
    EXPECT_EQ(doc->drawing->undo.undoWriteError, dskFulErr);
    EXPECT_FALSE(IsUndoRecording(doc));
    SInt16 steps = doc->drawing->undo.undoStepCount;
    BeginUndoStep(doc);
    AddLine(doc, 4, 4, 5, 5);
    EndUndoStep(doc);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps); // nothing is pushed onto the broken journal
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 3); // the drawing is untouched
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(RecordedAlerts()[0].alertId, 128);

    FSCloseFork(full);
    doc->drawing->undo.undoFork = journal;
    ResetUndoJournal(doc); // a fresh history records again
    EXPECT_TRUE(IsUndoRecording(doc));
    Line(6, 6, 7, 7);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 3);
}

TEST_F(UndoJournal, AStepWithAnUnknownEntryIsAbandonedWhole) {
    Line(0, 0, 1, 1);
    BeginUndoStep(doc);
    AddLine(doc, 2, 2, 3, 3);
    AddLine(doc, 4, 4, 5, 5);
    EndUndoStep(doc);
    // The second entry's code becomes one no element kind has.
    DrawingRecord* d = doc->drawing;
    SInt64 second = d->undo.undoSteps[d->undo.undoStepCount - 1] + 2 + kStoredLineSize;
    UInt16 unknown = 9;
    ASSERT_EQ(FSWriteFork(d->undo.undoFork, fsFromStart, second, 2, &unknown, nullptr), noErr);
    Snapshot before = Take();
    UndoLastStep(doc);
    EXPECT_EQ(Take(), before); // not even the line of the good entry is taken out
    EXPECT_FALSE(IsUndoRecording(doc));
    EXPECT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(d->undo.undoStepCount, 2);
}

TEST_F(UndoJournal, AFullStepTableGivesUpTheOldestStepsAndKeepsWorking) {
    for (int i = 0; i < kUndoStepCapacity + 50; ++i)
        Line(i, 0, i, 1);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, kUndoStepCapacity - 1);
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(RecordedAlerts()[0].params[0].find("undo history is full") != std::string::npos, true);
    for (int i = 0; i < kUndoStepCapacity - 1; ++i)
        UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 51); // the steps given up stay in the drawing
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 51);
    RedoStep(doc);
    EXPECT_EQ(CountLines(), 52);
}

TEST_F(UndoJournal, ABracketInsideAnOpenStepAddsToItNeverAStepOfItsOwn) {
    Line(0, 0, 10, 0);
    const Snapshot before = Take();
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    BeginUndoStep(doc);
    AddLine(doc, 0, 5, 10, 5);
    Line(0, 6, 10, 6); // a helper that brackets its own change
    BeginUndoStep(doc);
    EndUndoStep(doc); // an empty inner bracket
    AddLine(doc, 0, 7, 10, 7);
    EndUndoStep(doc);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
    EXPECT_EQ(CountLines(), 4);
    ExpectUndoRedo(before, Take());

    // After the outer bracket closes, the next bracket is a step again.
    Line(0, 8, 10, 8);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 2);
    UndoLastStep(doc);
    EXPECT_EQ(CountLines(), 4);
}
