// The attribute and measuring tools end to end: values typed or taken from an element, elements
// clicked, rectangles dragged and E or G answered, through the program's own loop; every change is
// one undo step that undo and redo take back and give again exactly.
#include "MessageCapture.h"
#include "Model/Selection.h"
#include "ToolGuiFixture.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string>& gInfoRows = InfoRowCapture::Rows();

class AttributeToolsGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        infoRows.emplace();
    }
    void TearDown() override {
        infoRows.reset();
        ToolGuiTest::TearDown();
    }
    std::optional<InfoRowCapture> infoRows;
    void ChooseAttributeTool(int tool) { ChooseGroupTool(7, tool); }
    LineRecord* LineAt(int i) const {
        LineRecord* e = doc->lineHead->next;
        while (e != nullptr && i-- > 0)
            e = e->next;
        return e;
    }
    // A line drawn with a key.
    LineRecord* DrawKeyed(double x1, double y1, double x2, double y2, SInt16 key) {
        BeginUndoStep(doc);
        LineRecord* e = AddLine(doc, x1, y1, x2, y2);
        e->group = key;
        RecordUndoLine(doc, e, true);
        EndUndoStep(doc);
        RedrawWindow(doc);
        return e;
    }
    // Every line and arc with every attribute, sorted.
    std::vector<std::string> Drawing() const {
        std::vector<std::string> all;
        char text[256];
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next) {
            std::snprintf(text, sizeof text, "L %g %g %g %g p%d t%d g%d l%d c%u,%u,%u w%d f%d", l->x1, l->y1,
                          l->x2, l->y2, l->pen, l->lineType, l->group, l->layer, l->penBlock.color.red,
                          l->penBlock.color.green, l->penBlock.color.blue, l->penBlock.penWidth100,
                          int(l->penBlock.pattern));
            all.push_back(text);
        }
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next) {
            std::snprintf(text, sizeof text, "A %g %g %g p%d t%d g%d l%d c%u,%u,%u w%d f%d", a->cx, a->cy,
                          a->radius, a->pen, a->lineType, a->group, a->layer, a->penBlock.color.red,
                          a->penBlock.color.green, a->penBlock.color.blue, a->penBlock.penWidth100,
                          int(a->penBlock.pattern));
            all.push_back(text);
        }
        std::sort(all.begin(), all.end());
        return all;
    }
    bool AnySelected() const {
        for (const LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            if (l->selected) return true;
        for (const ArcRecord* a = doc->arcHead->next; a != nullptr; a = a->next)
            if (a->selected) return true;
        return false;
    }
    std::string Prompt() {
        CommandFieldRecord* f = CommandFieldOf(doc);
        return f == nullptr ? "" : std::string(reinterpret_cast<const char*>(f->prompt + 1), f->prompt[0]);
    }
    // The change just made is one step: undo gives the drawing before, redo the one after.
    void ExpectOneUndoStep(const std::vector<std::string>& before) {
        const std::vector<std::string> after = Drawing();
        ASSERT_NE(after, before);
        Undo();
        EXPECT_EQ(Drawing(), before);
        Redo();
        EXPECT_EQ(Drawing(), after);
    }
};

// A value typed for each tool, one element clicked: that element alone changes, stored as the tool
// stores it, the value shown in front of the prompt, and one undo step for the change.
TEST_F(AttributeToolsGui, ATypedValueChangesTheClickedElementAndIsUndone) {
    struct Row {
        int tool;
        const char* typed;
        const char* changed; // what the changed line's description then holds
        const char* prompt;  // the start of the prompt
    };
    const Row rows[] = {
        {0, "3", "p3 ", "Pen 3"},
        {1, "4", "t4 ", "Line type 4"},
        {2, "17", "g17 ", "Key 17"},
        {3, "1023", "l1023 ", "Layer 1023"},
        {4, "300,20,-5", "c65535,5140,0 ", "255,20,0"},
        {5, "0.35", "w35 ", "Width 0.35"},
        {5, "0.456", "w46 ", "Width 0.46"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        FreshDocument();
        Draw(20, 20, 100, 20);
        Draw(20, 60, 100, 60);
        const std::vector<std::string> before = Drawing();
        ChooseAttributeTool(row.tool);
        MessageCapture messages;
        Type(row.typed);
        ASSERT_EQ(Step(), 1);
        EXPECT_EQ(Prompt().rfind(row.prompt, 0), 0u) << Prompt();
        ClickAt(60, 20);
        EXPECT_EQ(Step(), 1); // further elements may follow
        EXPECT_EQ(messages.Count(), 0u);
        const std::vector<std::string> now = Drawing();
        int changed = 0;
        for (const std::string& e : now)
            changed += e.find(row.changed) != std::string::npos;
        EXPECT_EQ(changed, 1) << now[0] << " / " << now[1];
        EXPECT_EQ(LineAt(1)->penBlock.color.red, 0); // the other line is as it was
        ExpectOneUndoStep(before);
    }
}

// A value the element already has, or a rectangle of such elements, changes nothing and leaves no
// undo step behind.
TEST_F(AttributeToolsGui, AChangeOfNothingLeavesNoUndoStep) {
    Draw(20, 20, 100, 20);
    const SInt16 steps = doc->drawing->undo.undoStepCount;
    ChooseAttributeTool(0);
    Type(std::to_string(LineAt(0)->pen));
    ClickAt(60, 20);
    DragFrom(10, 10, 110, 30);
    Type("");
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, steps);
}

// Values out of range give the validator's message and start the tool again; a colour needs three
// values and the pattern tool takes none.
TEST_F(AttributeToolsGui, ValuesOutOfRangeAreRefusedWithTheirMessages) {
    struct Row {
        int tool;
        const char* typed;
        SInt16 message; // 0: none
    };
    const Row rows[] = {
        {0, "9", 64},  {0, "0", 64},      {1, "7", 65},  {2, "32001", 63},  {2, "-1", 63}, {3, "1024", 62},
        {5, "0", 171}, {5, "100.5", 171}, {4, "1,2", 0}, {4, "1,2,3,4", 0}, {6, "3", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.tool) + ": " + row.typed);
        ChooseAttributeTool(row.tool);
        MessageCapture messages;
        Type(row.typed);
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(messages.Last(), row.message);
    }
}

// The value taken from a clicked element: the pattern (which cannot be typed) and the pen.
TEST_F(AttributeToolsGui, AValueIsTakenFromAClickedElement) {
    Draw(20, 20, 100, 20);
    Draw(20, 60, 100, 60);
    LineAt(0)->penBlock.pattern = 5;
    LineAt(0)->pen = 6;
    for (int tool : {6, 0}) {
        ChooseAttributeTool(tool);
        ClickAt(60, 20);
        ASSERT_EQ(Step(), 1);
        ClickAt(60, 60);
    }
    EXPECT_EQ(LineAt(1)->penBlock.pattern, 5);
    EXPECT_EQ(LineAt(1)->pen, 6);
    EXPECT_NE(Prompt().find("Pen 6"), std::string::npos) << Prompt();
}

// A keyed element asks E or G. E changes the element clicked in step 1, even when the walk cursors
// were moved to another element and the window redrawn while the question waited; G changes every
// element of its key (a circle too) and nothing else. Each is one undo step, and nothing stays
// selected.
TEST_F(AttributeToolsGui, TheKeyGroupAnswerChangesThePickedElementOrItsGroup) {
    for (const char* answer : {"E", "G"}) {
        SCOPED_TRACE(answer);
        FreshDocument();
        DrawKeyed(20, 20, 100, 20, 4);
        DrawKeyed(20, 60, 100, 60, 4);
        DrawKeyed(20, 100, 100, 100, 5);
        DrawCircle(150, 150, 20);
        doc->arcHead->next->group = 4;
        const std::vector<std::string> before = Drawing();
        ChooseAttributeTool(0);
        Type("7");
        ClickAt(60, 20);
        ASSERT_EQ(Step(), 2);
        // Something else hovered and picked meanwhile.
        doc->drawing->cursors.lineCursor = LineAt(2);
        RedrawWindow(doc);
        RunLoop();
        Type(answer);
        EXPECT_EQ(Step(), 1);
        const bool group = answer[0] == 'G';
        EXPECT_EQ(LineAt(0)->pen, 7);
        EXPECT_EQ(LineAt(1)->pen, group ? 7 : 1);
        EXPECT_EQ(LineAt(2)->pen, 1);
        EXPECT_EQ(doc->arcHead->next->pen, group ? 7 : 1);
        EXPECT_FALSE(AnySelected());
        ExpectOneUndoStep(before);
    }
}

// A rectangle selects, a click adds, Return changes the selection in one step: kinds that do not
// take the attribute stay as they are, and everything is deselected afterwards.
TEST_F(AttributeToolsGui, ARectangleAndAClickCollectTheElementsReturnChangesThem) {
    Draw(20, 20, 60, 20);
    Draw(20, 40, 60, 40);
    Draw(200, 20, 260, 20);
    DrawCircle(40, 80, 10);
    const std::vector<std::string> before = Drawing();
    ChooseAttributeTool(1);
    Type("3");
    DragFrom(10, 10, 100, 100);
    ASSERT_EQ(Step(), 3);
    ClickAt(230, 20);
    Type("");
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(LineAt(0)->lineType, 3);
    EXPECT_EQ(LineAt(1)->lineType, 3);
    EXPECT_EQ(LineAt(2)->lineType, 3);
    EXPECT_EQ(doc->arcHead->next->lineType, 3);
    EXPECT_FALSE(AnySelected());
    ExpectOneUndoStep(before);
}

// Tool 7: every attribute of the first element passes to the next one clicked, one step each.
TEST_F(AttributeToolsGui, AllAttributesPassFromOneElementToAnother) {
    Draw(20, 20, 100, 20);
    DrawCircle(60, 100, 20);
    LineRecord* source = LineAt(0);
    source->pen = 4, source->lineType = 2, source->group = 9, source->layer = 12;
    source->penBlock.color = RGBColor{257, 514, 771};
    source->penBlock.penWidth100 = 70;
    source->penBlock.pattern = 3;
    const std::vector<std::string> before = Drawing();
    ChooseAttributeTool(7);
    ClickAt(60, 20);
    ASSERT_EQ(Step(), 1);
    ClickAt(60, 80);
    const ArcRecord* a = doc->arcHead->next;
    EXPECT_EQ(a->pen, 4);
    EXPECT_EQ(a->lineType, 2);
    EXPECT_EQ(a->group, 9);
    EXPECT_EQ(a->layer, 12);
    EXPECT_EQ(a->penBlock.color.blue, 771);
    EXPECT_EQ(a->penBlock.penWidth100, 70);
    EXPECT_EQ(a->penBlock.pattern, 3);
    ExpectOneUndoStep(before);
}

// Tool 8 between a typed point and a clicked one: the rows in display units (a drawing scale of 2
// halves the millimetres of the click).
TEST_F(AttributeToolsGui, MeasuringTwoPointsWritesTheirRowsInDisplayUnits) {
    doc->settings->drawingScale = 2;
    doc->settings->decimals = 2;
    doc->settings->snapMode = 0;
    ChooseAttributeTool(8);
    gInfoRows.clear();
    Type("0,0");
    ASSERT_EQ(Step(), 1);
    ClickAt(60, 80);
    EXPECT_EQ(Step(), 0);
    const std::vector<std::string> expected = {"-",
                                               "Distance between two points",
                                               "xs1\t0.00",
                                               "ys1\t0.00",
                                               "xs2\t30.00",
                                               "ys2\t40.00",
                                               "Distance\t50.00",
                                               "dx\t30.00",
                                               "dy\t40.00"};
    EXPECT_EQ(gInfoRows, expected);
}

// Tool 8 on two crossing lines: their intersection.
TEST_F(AttributeToolsGui, MeasuringTwoLinesWritesTheirIntersection) {
    doc->settings->snapMode = 1;
    doc->settings->decimals = 1;
    Draw(0, 40, 100, 40);
    Draw(30, 0, 30, 100);
    ChooseAttributeTool(8);
    gInfoRows.clear();
    ClickAt(70, 40);
    ASSERT_EQ(Step(), 1);
    ClickAt(30, 80);
    EXPECT_EQ(Step(), 0);
    ASSERT_GE(gInfoRows.size(), 3u);
    EXPECT_EQ(gInfoRows[1], "xs\t30.0");
    EXPECT_EQ(gInfoRows[2], "ys\t40.0");
}

// Escape at every step of every tool ends with no change, nothing selected and the snap mode as the
// user set it.
TEST_F(AttributeToolsGui, EscapeAtEveryStepLeavesTheDrawingAlone) {
    struct Row {
        int tool;
        std::vector<const char*>
            typed; // "@" a click on the keyed line, "#" a rectangle, "." a click on the free line
        int step;
    };
    const Row rows[] = {
        {0, {}, 0},    {0, {"2"}, 1}, {0, {"2", "@"}, 2}, {0, {"2", "#"}, 3}, {4, {"1,2,3", "@"}, 2},
        {6, {"."}, 1}, {7, {"."}, 1}, {7, {".", "#"}, 2}, {8, {"0,0"}, 1},    {8, {}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.tool) + " step " + std::to_string(row.step));
        FreshDocument();
        Draw(20, 20, 100, 20);
        DrawKeyed(20, 60, 100, 60, 3);
        Key(kKeyCodeF7, kFunctionKeyCharCode);
        const SInt16 snap = doc->settings->snapMode;
        const std::vector<std::string> before = Drawing();
        ChooseAttributeTool(row.tool);
        for (const char* t : row.typed) {
            if (t[0] == '@')
                ClickAt(60, 60);
            else if (t[0] == '.')
                ClickAt(60, 20);
            else if (t[0] == '#')
                DragFrom(10, 10, 110, 30);
            else
                Type(t);
        }
        ASSERT_EQ(Step(), row.step);
        Key(kKeyCodeEscape, kEscapeCharCode);
        EXPECT_EQ(Step(), 0);
        EXPECT_EQ(Drawing(), before);
        EXPECT_FALSE(AnySelected());
        EXPECT_EQ(doc->settings->snapMode, snap);
    }
}

} // namespace
