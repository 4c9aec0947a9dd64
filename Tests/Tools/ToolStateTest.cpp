// Tool state: what a reset keeps and clears, the scale check, typed values and validators, the
// suspension of snapping that every way back to step 0 undoes, and pending commands.
#include "Model/Selection.h"
#include "Tools/Picking.h"
#include "ToolFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <vector>

namespace {

using ToolStateTest = ToolTest;

TEST_F(ToolStateTest, ResetToAStepKeepsPicksResetToZeroClearsThem) {
    SelectTool(2);
    LineRecord* line = DrawnLine(0, 0, 100, 0);
    Click(50, 0);
    ASSERT_EQ(Step(), 1);
    ToolStateRecord* t = doc->drawing->tool;
    EXPECT_EQ(t->firstLine, line);
    EXPECT_TRUE(line->selected);
    ResetToolState(doc, 2);
    EXPECT_EQ(Step(), 2);
    EXPECT_EQ(t->firstLine, line);
    EXPECT_TRUE(line->selected);
    EXPECT_DOUBLE_EQ(t->pickedScales[0], 1.0);
    ResetToolState(doc, 0);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(t->firstLine, nullptr);
    EXPECT_FALSE(line->selected);
    EXPECT_DOUBLE_EQ(t->pickedScales[0], -1.0);
}

// Deselecting clears from the record of set flags when it can be trusted, and walks every list when
// flags may have been set behind its back (a copy of a selected record, a disposal, an undo, too many).
TEST_F(ToolStateTest, DeselectingClearsEverySelectedElement) {
    std::vector<LineRecord*> lines;
    for (int i = 0; i < 300; ++i)
        lines.push_back(DrawnLine(0, i, 10, i));
    DeselectAll(doc, true); // a walk: the record is exact from here

    SetSelectedFlag(doc->drawing, &lines[3]->selected, 1);
    SetMarkedFlag(doc->drawing, &lines[4]->marked, 1);
    lines[5]->selected = 1; // set outside the record while it is trusted: the clear skips it
    DeselectAll(doc, false);
    EXPECT_FALSE(lines[3]->selected);
    EXPECT_TRUE(lines[4]->marked); // marks stay without alsoMarks
    EXPECT_TRUE(lines[5]->selected);
    DeselectAll(doc, true);
    EXPECT_FALSE(lines[4]->marked);

    struct Case {
        const char* what;
        std::function<void()> setUp;
    };
    const Case cases[] = {
        {"a copy of a selected record",
         [&] {
             SetSelectedFlag(doc->drawing, &lines[6]->selected, 1);
             LineRecord* copy = CloneLineRecord(lines[6]);
             DisposeLineRecord(&copy);
         }},
        {"a disposed element",
         [&] {
             LineRecord* gone = DrawnLine(0, 0, 1, 1);
             SetSelectedFlag(doc->drawing, &gone->selected, 1);
             RemoveLine(doc, gone);
         }},
        {"more than the record holds",
         [&] {
             for (LineRecord* line : lines)
                 SetSelectedFlag(doc->drawing, &line->selected, 1);
         }},
        {"an explicit unknown", [&] { SelectionRecordsUnknown(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeselectAll(doc, true);
        c.setUp();
        lines[5]->selected = 1;
        DeselectAll(doc, false);
        for (LineRecord* line : lines)
            ASSERT_FALSE(line->selected);
    }
}

TEST_F(ToolStateTest, ScaleValuesMustAgree) {
    ToolStateRecord* t = doc->drawing->tool;
    MessageCapture messages;
    EXPECT_TRUE(CheckToolValues(doc, true)); // nothing picked: always passes
    t->pickedScales[0] = 1.0;
    t->pickedScales[2] = 1.00005; // within 0.01 %
    EXPECT_TRUE(CheckToolValues(doc, true));
    doc->drawing->toolInput.pendingStep = 2;
    t->pickedScales[1] = 2.0;
    EXPECT_FALSE(CheckToolValues(doc, false));
    EXPECT_EQ(messages.Last(), 153);
    EXPECT_EQ(Step(), 0);
    t->pickedScales[0] = 2.0;
    EXPECT_TRUE(CheckToolValues(doc, false));
    EXPECT_FALSE(CheckToolValues(doc, true)); // the current scale is 1
    EXPECT_EQ(messages.Last(), 50);
}

TEST_F(ToolStateTest, TypedValuesAndValidators) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    f->valueCount = 3;
    f->values[0] = 40000, f->values[1] = -32000.4, f->values[2] = 725;
    SInt16 n = 7;
    GetTypedInteger(doc, 0, &n);
    EXPECT_EQ(n, 32000);
    EXPECT_EQ(f->values[0], 32000); // clamped in the buffer too
    GetTypedInteger(doc, 1, &n);
    EXPECT_EQ(n, -32000);
    double angle = 1;
    GetTypedAngle(doc, 2, &angle);
    EXPECT_DOUBLE_EQ(angle, 5);
    GetTypedAngle(doc, 3, &angle); // not typed: the default stays
    EXPECT_DOUBLE_EQ(angle, 5);

    SelectTool(0);
    char letter = 'x';
    GetTypedModeLetter(doc, &letter);
    EXPECT_EQ(letter, 'x');
    CommandFieldSetText(doc, PStr("g12"));
    GetTypedModeLetter(doc, &letter);
    EXPECT_EQ(letter, 'G');
    CommandFieldSetText(doc, PStr("12"));
    GetTypedModeLetter(doc, &letter);
    EXPECT_EQ(letter, 'E');

    MessageCapture messages;
    SInt16 v = 5;
    EXPECT_FALSE(ValidatePenNumber(0, &v));
    EXPECT_EQ(messages.Last(), 64);
    EXPECT_FALSE(ValidatePenNumber(9, &v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(ValidateLayerIndex(0, &v));
    EXPECT_TRUE(ValidateLayerIndex(1023, &v));
    EXPECT_EQ(v, 1023);
    EXPECT_FALSE(ValidateLayerIndex(1024, &v));
    EXPECT_FALSE(ValidateKeyNumber(32001, &v));
    EXPECT_FALSE(ValidateLineType(7, &v));
    double p = 3;
    EXPECT_FALSE(ValidatePercent(0, &p));
    EXPECT_TRUE(ValidatePercent(100, &p));
    EXPECT_EQ(messages.Last(), 171);
}

// The parallel at a distance suspends snapping while its side is clicked; every way out of the
// tool gives the user's snap mode back, and a second suspension never records 0 as the user's mode.
TEST_F(ToolStateTest, SuspendedSnapModeComesBackOnEveryWayOut) {
    doc->settings->pickAperture = 4; // asks for the side instead of placing at once
    doc->settings->snapMode = 2;
    DrawnLine(0, 0, 100, 0);
    const std::function<void()> ways[] = {
        [&] { ResetToolState(doc, 0); },
        [&] { SelectTool(3); },
        [&] { StartPendingCommand(doc, 160); },
        [&] {
            doc->drawing->tool->pickedScales[2] = 9; // a failing scale check ends the run
            CheckToolValues(doc, false);
        },
        [&] { Click(50, 10); }, // the side: the parallel is made
    };
    for (size_t i = 0; i < std::size(ways); ++i) {
        EndPendingCommand(doc);
        SelectTool(1);
        Click(50, 0);
        Type("5");
        ASSERT_EQ(Step(), 2) << i;
        EXPECT_EQ(doc->settings->snapMode, 0) << i;
        EXPECT_EQ(UserSnapMode(doc), 2) << i;
        SuspendSnapMode(doc); // twice: still remembers 2
        ways[i]();
        EXPECT_EQ(doc->settings->snapMode, 2) << "way " << i;
        EXPECT_FALSE(SnapModeSuspended(doc)) << "way " << i;
    }
}

TEST_F(ToolStateTest, PendingCommandsTakeTheirOwnPromptRow) {
    StartPendingCommand(doc, 150);
    EXPECT_TRUE(PendingCommandActive(doc));
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 150);
    EXPECT_EQ(Step(), 0);
    EndPendingCommand(doc);
    EXPECT_FALSE(PendingCommandActive(doc));
}

TEST_F(ToolStateTest, PickingUpAttributesPrefersLinesOverArcs) {
    LineRecord* line = DrawnLine(0, 0, 100, 0);
    line->layer = 12;
    line->group = 7;
    ArcRecord* arc = DrawnArc(50, 10, 10);
    arc->layer = 13;
    PointAt(50, 0);
    ASSERT_TRUE(PickUpElementAttributes(doc, 1 | 2));
    EXPECT_EQ(doc->drawing->tool->picked.kind, 0);
    EXPECT_EQ(doc->drawing->tool->picked.layer, 12);
    EXPECT_EQ(doc->drawing->tool->picked.key, 7);
    ASSERT_TRUE(PickUpElementAttributes(doc, 2));
    EXPECT_EQ(doc->drawing->tool->picked.kind, 1);
    EXPECT_EQ(doc->drawing->tool->picked.layer, 13);
    PointAt(500, 500);
    EXPECT_FALSE(PickUpElementAttributes(doc, 127));
}

} // namespace
