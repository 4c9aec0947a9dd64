// The area tools end to end: boundaries and holes clicked, closed with Return, taken back with Delete
// and given up with Escape; each tool's fill typed; the area one undo step that undo and redo take
// back and give again exactly; and the window's picture of an area with holes.
// DW_UPDATE_VIEW_REFERENCES=1 rewrites the reference from the current render.
#include "../Model/DrawingSnapshot.h"
#include "Platform/PortImages.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/MenuCommands.h"
#include "TestSupport.h"
#include "ToolGuiFixture.h"
#include "Tools/AreaOutlines.h"
#include "Tools/AreaTools.h"
#include "Tools/CommandField.h"
#include "Tools/TextElements.h"

#include <cstdlib>
#include <string>

namespace {

class AreaToolsGui : public ToolGuiTest {
  protected:
    void Return() { Key(kKeyCodeReturn, '\r'); }
    int Areas() const {
        int n = 0;
        for (AreaRecord* a = doc->areaHead->next; a != nullptr; a = a->next)
            ++n;
        return n;
    }
    AreaRecord* LastArea() const {
        AreaRecord* a = doc->areaHead->next;
        while (a != nullptr && a->next != nullptr)
            a = a->next;
        return a;
    }
    int Contours() const { return LastOutlineContour(doc) + 1; }
    SInt16 Picks() const { return doc->drawing->tool->pickCount; }
    // A square of lines running past its corners, lower left at (x, y), side 20.
    void DrawSquare(double x, double y) {
        Draw(x - 2, y, x + 22, y);
        Draw(x + 20, y - 2, x + 20, y + 22);
        Draw(x + 22, y + 20, x - 2, y + 20);
        Draw(x, y + 22, x, y - 2);
    }
    void ClickSquare(double x, double y) {
        ClickAt(x + 10, y);
        ClickAt(x + 20, y + 10);
        ClickAt(x + 10, y + 20);
        ClickAt(x, y + 10);
    }
    std::string FieldText() { return CommandFieldUTF8Text(doc); }
};

} // namespace

// The boundary is three lines and an arc, closed by clicking the first line again; the holes are a
// circle, the segment a line cuts off a circle, and a text.
TEST_F(AreaToolsGui, AnAreaWithHolesFromLinesArcsAndATextIsOneUndoStep) {
    doc->drawing->view.unitsPerPixel = 0.15;
    doc->drawing->view.originX = doc->drawing->view.originY = -10;
    Draw(-5, 0, 65, 0);
    Draw(60, -5, 60, 45);
    DrawCircle(30, 40, 32);
    Draw(0, 45, 0, -5);
    DrawCircle(30, 20, 6);
    Draw(8, 45, 22, 45);
    DrawCircle(15, 45, 5);
    BeginUndoStep(doc);
    TextRecord* text = AddTextElement(doc, 38, 45, PStr("Hg"), 38, 45, 0, true);
    EndUndoStep(doc);
    ASSERT_NE(text, nullptr);
    RedrawWindow(doc);
    RunLoop();
    const DrawingSnapshot before = TakeDrawingSnapshot(doc);

    ChooseGroupTool(9, 0);
    ClickAt(30, 0);
    ClickAt(60, 20);
    ClickAt(30, 72);
    ClickAt(0, 20);
    ClickAt(20, 0); // the first line again closes the chain
    EXPECT_EQ(Picks(), 5);
    Return();
    EXPECT_EQ(Step(), 1);
    ASSERT_EQ(Contours(), 1);
    ClickAt(36, 20);
    Return();
    ClickAt(9, 45);
    ClickAt(15, 40);
    Return();
    ASSERT_EQ(Contours(), 3);
    const double* c = text->corners;
    ClickAt((c[0] + c[4]) / 2, (c[1] + c[5]) / 2);
    ASSERT_EQ(Contours(), 4);
    EXPECT_EQ(Step(), 1);
    // The text's hole reaches below its box by the font's descent.
    Handle box = doc->drawing->toolInput.outlineContours[3];
    EXPECT_LT(OutlinePoints(box)[1], c[1] - 0.01);
    EXPECT_EQ(OutlinePoints(box)[5], c[5]);
    Return();
    EXPECT_EQ(Step(), 2);
    EXPECT_EQ(FieldText(), "5.00,45.00,0");
    Type("2,30,0");
    ASSERT_EQ(Areas(), 1);
    AreaRecord* area = LastArea();
    EXPECT_EQ(area->fillKind, -1);
    EXPECT_EQ(area->hatchSpacing, 2);
    EXPECT_EQ(area->hatchAngle, 30);
    EXPECT_EQ(area->lastHoleIndex, 2);
    EXPECT_NEAR(area->maxY, 72, 0.05);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Contours(), 0);
    const DrawingSnapshot after = TakeDrawingSnapshot(doc);

    RedrawWindow(doc);
    RunLoop();
    RunPasses(1);
    const std::string reference = FixturePath("Tools/area-with-holes.png");
    std::string render = SaveWindowPNG(doc->window, "area-with-holes.png");
    if (std::getenv("DW_UPDATE_VIEW_REFERENCES")) {
        ASSERT_TRUE(SavePortAsPNG(GetWindowPort(doc->window), reference.c_str()));
    } else {
        long differing = ComparePortWithPNG(GetWindowPort(doc->window), reference.c_str(),
                                            TestOutputPath("area-with-holes.diff.png").c_str());
        EXPECT_EQ(differing, 0) << "the window differs from " << reference << "; see " << render;
    }

    Undo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), before);
    Redo();
    EXPECT_EQ(TakeDrawingSnapshot(doc), after);
}

// Every tool of the group with what is typed for its fill, and the inputs that make nothing.
TEST_F(AreaToolsGui, EachToolMakesItsFillFromWhatIsTyped) {
    struct Case {
        int tool;
        const char* offered; // the field's default at the fill step
        const char* typed;
        bool made;
        SInt16 fillKind;
        double value;
    };
    const Case cases[] = {
        {0, "5.00,45.00,0", "3,15,0", true, -1, 3},
        {0, "3.00,15.00,0", "4,60,1", true, -2, 4},
        {0, "4.00,60.00,1", "0,45,0", false, 0, 0}, // no spacing: nothing made
        {1, "wide horizontal lines", "Close RISING Diagonals, please", true, 0, 6},
        {1, "Close RISING Diagonals, please", "no such pattern", false, 0, 0},
        {1, "no such pattern", "", false, 0, 0}, // the chooser is not there: nothing made
        {2, "50", "250", true, 1, 21},           // clamped to 100 %
        {2, "100", "52", true, 1, 11},           // whole steps of 5 %
        {2, "52", "-7", true, 1, 1},
        {3, "bricks", "zigzag columns", true, 2, 15},
    };
    int i = 0;
    for (const Case& k : cases) {
        const double x = (i % 5) * 30, y = (i / 5) * 30;
        ++i;
        SCOPED_TRACE(std::string("tool ") + std::to_string(k.tool) + " typed " + k.typed);
        ChooseGroupTool(9, k.tool);
        DrawSquare(x, y);
        int areas = Areas();
        ClickSquare(x, y);
        Return();
        ASSERT_EQ(Contours(), 1);
        Return();
        ASSERT_EQ(Step(), 2);
        EXPECT_EQ(FieldText(), k.offered);
        CommandFieldSetText(doc, PStr(k.typed));
        Return();
        if (!k.made) {
            EXPECT_EQ(Areas(), areas);
            EXPECT_EQ(Step(), 2); // the outline waits for a better value
            EXPECT_EQ(Contours(), 1);
            Key(kKeyCodeEscape, 0x1B);
            EXPECT_EQ(Contours(), 0);
        } else {
            ASSERT_EQ(Areas(), areas + 1);
            EXPECT_EQ(LastArea()->fillKind, k.fillKind);
            EXPECT_EQ(LastArea()->hatchSpacing, k.value);
            EXPECT_EQ(Step(), 0);
            Undo();
            EXPECT_EQ(Areas(), areas);
            Redo();
            EXPECT_EQ(Areas(), areas + 1);
        }
    }
    EXPECT_TRUE(MenuItemAvailable(kFirstToolMenu + 9, kAreaFillTool + 1));
    EXPECT_TRUE(MenuItemAvailable(kFirstToolMenu + 9, 1));
}

// Delete takes the last pick back; Escape after the boundary leaves no contour and no pick, and
// the areas already made keep theirs.
TEST_F(AreaToolsGui, DeleteTakesAPickBackAndEscapeLeavesNothingBehind) {
    DrawSquare(0, 0);
    ChooseGroupTool(9, 2);
    ClickSquare(0, 0);
    Return();
    Return();
    Type("30");
    ASSERT_EQ(Areas(), 1);
    Handle kept = LastArea()->outline;

    DrawSquare(40, 0);
    ClickAt(50, 0);
    ClickAt(60, 10);
    EXPECT_EQ(Picks(), 2);
    Key(kKeyCodeDelete, 0x08);
    EXPECT_EQ(Picks(), 1);
    LineRecord* right = doc->lineHead->next;
    for (int k = 0; k < 5; ++k)
        right = right->next;
    EXPECT_FALSE(right->selected); // the second square's right side, taken back
    UInt32 beeps = BeepCount();
    Key(kKeyCodeDelete, 0x08);
    Key(kKeyCodeDelete, 0x08); // nothing left to take back
    EXPECT_EQ(Picks(), 0);
    EXPECT_EQ(BeepCount(), beeps + 1);
    ClickSquare(40, 0);
    Return();
    EXPECT_EQ(Step(), 1);
    ASSERT_EQ(Contours(), 1);
    ClickAt(50, 0);
    Key(kKeyCodeEscape, 0x1B);
    EXPECT_EQ(Contours(), 0);
    EXPECT_EQ(Picks(), 0);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(LastArea()->outline, kept);
    // A tool change after the boundary as well.
    ClickSquare(40, 0);
    Return();
    ASSERT_EQ(Contours(), 1);
    ChooseGroupTool(9, 0);
    EXPECT_EQ(Contours(), 0);
    EXPECT_EQ(Areas(), 1);
}
