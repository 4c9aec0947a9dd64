// The delete tools end to end: clicks, typed answers and kind names, dragged rectangles, through the
// program's own loop; every deletion is one undo step that undo and redo take back and give again
// exactly, and a name that is no kind changes nothing.
#include "../Model/DrawingSnapshot.h"
#include "Model/ElementRecords.h"
#include "Model/Selection.h"
#include "Model/UndoJournal.h"
#include "Platform/DialogManager.h"
#include "ToolGuiFixture.h"
#include "Model/SelectionCriteria.h"
#include "Tools/CommandField.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

class EraseToolsGui : public ToolGuiTest {
  protected:
    // Two unkeyed and three elements of key 5: lines L1 (key 0), L2 and L3 (key 5), circles C1
    // (key 0, beside L1 and L2) and C2 (key 5).
    void MakeDrawing() {
        Draw(20, 20, 60, 20);
        doc->settings->currentGroup = 5;
        Draw(20, 40, 60, 40);
        Draw(200, 20, 260, 20);
        DrawCircle(230, 80, 10);
        doc->settings->currentGroup = 0;
        DrawCircle(40, 80, 10);
    }
    // The elements left, by name.
    std::vector<std::string> Left() const {
        std::vector<std::string> names;
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            names.push_back(l->y1 == 20 && l->x1 == 20 ? "L1" : l->y1 == 40 ? "L2" : "L3");
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            names.push_back(a->cx == 40 ? "C1" : "C2");
        std::sort(names.begin(), names.end());
        return names;
    }
    bool AnySelected() const {
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            if (l->selected) return true;
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            if (a->selected) return true;
        return false;
    }
    std::string FieldText() {
        Str255 text;
        CommandFieldGetText(doc, text);
        return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
    }
};

// Every tool of the group, each way it deletes: what is left, one undo step, the tool back at its
// first step with nothing selected, and undo and redo exact.
TEST_F(EraseToolsGui, EveryToolDeletesInOneUndoStep) {
    struct Row {
        const char* what;
        int tool;
        std::function<void()> act;
        std::vector<std::string> left;
    };
    const Row rows[] = {
        {"an element without key goes at the click",
         0,
         [this] { ClickAt(40, 20); },
         {"C1", "C2", "L2", "L3"}},
        {"G deletes the key group",
         0,
         [this] {
             ClickAt(40, 40);
             ASSERT_EQ(Step(), 1);
             EXPECT_EQ(FieldText(), "E");
             Type("g");
         },
         {"C1", "L1"}},
        {"E deletes the element clicked, whatever the list cursor says meanwhile",
         0,
         [this] {
             ClickAt(40, 40);
             ASSERT_EQ(Step(), 1);
             doc->drawing->cursors.lineCursor = doc->lineHead->next;
             Type("E");
         },
         {"C1", "C2", "L1", "L3"}},
        {"any other answer deletes the element alone",
         0,
         [this] {
             ClickAt(230, 20);
             Type("x");
         },
         {"C1", "C2", "L1", "L2"}},
        // The rectangle of tool 1 leaves lines alone.
        {"a rectangle at once", 1, [this] { DragFrom(10, 10, 100, 100); }, {"C2", "L1", "L2", "L3"}},
        {"a kind name at once", 1, [this] { Type("Arcs"); }, {"L1", "L2", "L3"}},
        {"every kind at once", 1, [this] { Type("all"); }, {}},
        {"a kind name typed, then a click",
         1,
         [this] {
             QueueTypedText("arc");
             RunLoop();
             ClickAt(300, 300);
         },
         {"L1", "L2", "L3"}},
        {"a rectangle collected, a click added, Return",
         2,
         [this] {
             DragFrom(10, 10, 100, 100);
             ASSERT_EQ(Step(), 2);
             EXPECT_TRUE(AnySelected());
             ClickAt(230, 20);
             Type("");
         },
         {"C2"}},
        {"a kind collected, Return",
         2,
         [this] {
             Type("LINE");
             ASSERT_EQ(Step(), 2);
             Type("");
         },
         {"C1", "C2"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FreshDocument();
        MakeDrawing();
        const DrawingSnapshot before = TakeDrawingSnapshot(doc);
        const SInt16 steps = doc->drawing->undo.undoStepCount;
        ClearRecordedAlerts();
        ChooseGroupTool(8, row.tool);
        row.act();
        EXPECT_EQ(Left(), row.left);
        EXPECT_EQ(Step(), 0);
        EXPECT_FALSE(AnySelected());
        EXPECT_TRUE(RecordedAlerts().empty());
        EXPECT_EQ(doc->drawing->undo.undoStepCount, steps + 1);
        const DrawingSnapshot after = TakeDrawingSnapshot(doc);
        Undo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), before);
        Redo();
        EXPECT_EQ(TakeDrawingSnapshot(doc), after);
    }
}

// A name that is no kind shows alert 158, a rectangle around nothing selects nothing: the drawing,
// the undo history and the selection stay as they were, and the tool waits at its first step.
TEST_F(EraseToolsGui, AnUnknownKindOrAnEmptyRectangleChangesNothing) {
    for (int tool : {1, 2}) {
        for (bool named : {true, false}) {
            SCOPED_TRACE(std::to_string(tool) + (named ? " named" : " rectangle"));
            FreshDocument();
            MakeDrawing();
            const DrawingSnapshot before = TakeDrawingSnapshot(doc);
            const SInt16 steps = doc->drawing->undo.undoStepCount;
            ClearRecordedAlerts();
            ChooseGroupTool(8, tool);
            if (named)
                Type("circle");
            else
                DragFrom(300, 300, 400, 400);
            EXPECT_EQ(TakeDrawingSnapshot(doc), before);
            EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);
            EXPECT_EQ(Step(), 0);
            EXPECT_FALSE(AnySelected());
            ASSERT_EQ(RecordedAlerts().size(), named ? 1u : 0u);
            if (named) EXPECT_EQ(RecordedAlerts()[0].alertId, kUnknownKindAlert);
        }
    }
}

// G deletes the areas of the key too, and only those: an area of another key that still carries a
// mark from earlier (areas keep theirs when the selection is cleared) stays.
TEST_F(EraseToolsGui, TheKeyGroupTakesItsAreasAndNoOtherMarkedOne) {
    MakeDrawing();
    AreaRecord* areas[2] = {};
    const SInt16 keys[2] = {5, 7};
    BeginUndoStep(doc);
    for (int i = 0; i < 2; ++i) {
        SeekLastArea(doc);
        AreaRecord* a = NewAreaElement(doc, &doc->drawing->cursors.areaCursor->next);
        const Float64 o = 300.0 + 50 * i;
        a->outline = NewOutlineHandle(2);
        const Float64 outline[6] = {o, 0, o + 20, 0, o + 20, 20};
        std::copy(outline, outline + 6, OutlinePoints(a->outline));
        a->minX = o, a->maxX = o + 20, a->maxY = 20;
        a->group = keys[i];
        RecordUndoArea(doc, a, true);
        areas[i] = a;
    }
    EndUndoStep(doc);
    SetMarkedFlag(nullptr, &areas[1]->marked, 1);
    RedrawWindow(doc);
    RunLoop();
    ChooseGroupTool(8, 0);
    ClickAt(40, 40);
    ASSERT_EQ(Step(), 1);
    Type("G");
    EXPECT_EQ(Left(), (std::vector<std::string>{"C1", "L1"}));
    ASSERT_NE(doc->areaHead->next, nullptr);
    EXPECT_EQ(doc->areaHead->next->group, 7);
    EXPECT_EQ(doc->areaHead->next->next, nullptr);
}

} // namespace
