// The text tools end to end: clicks at drawing points and typed text through the program's own
// loop, the command field's font while a text is typed, a framed box's corner dragged with the
// mouse, and undo and redo of every change through the Edit menu.
#include "ToolGuiFixture.h"

#include "Platform/MemoryManager.h"
#include "Platform/QuickDraw.h"
#include "Tools/CommandField.h"
#include "Tools/DragTracking.h"
#include "Tools/TextEditing.h"
#include "Tools/TextElements.h"
#include "Tools/TextTools.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

class TextToolsGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        DocSettings* s = doc->settings;
        s->textHeight = 5;
        s->textJustification = 6; // the anchor at the box's lower-left corner
        s->decimals = 2;
    }
    void ChooseTextTool(int tool) {
        ChooseGroupTool(3, tool);
        ASSERT_EQ(CurrentToolGroup(), 3);
        ASSERT_EQ(CurrentTool(), tool);
    }
    int Texts() const {
        int n = 0;
        for (TextRecord* e = doc->textHead->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
    TextRecord* LastText() const {
        TextRecord* e = doc->textHead->next;
        while (e != nullptr && e->next != nullptr)
            e = e->next;
        return e;
    }
    TextRecord* Existing(const std::string& text, double x, double y, UInt16 flags = 1) {
        BeginUndoStep(doc);
        TextRecord* t = AddTextElement(doc, x, y, PStr(text), x + 40, y - 20, flags, true);
        EndUndoStep(doc);
        RedrawWindow(doc);
        return t;
    }
    Point PixelOf(double x, double y) const {
        const DrawingRecord* d = doc->drawing;
        return Pt(SInt16(std::lround((x - d->view.originX) / d->view.unitsPerPixel)),
                  SInt16(d->view.viewHeight - std::lround((y - d->view.originY) / d->view.unitsPerPixel)));
    }
};

} // namespace

// Tool 0 always writes horizontally; tool 1 at the typed angle. A click while a text is awaited
// makes nothing; the field types in the document's text font only while a text is awaited.
TEST_F(TextToolsGui, TextsAtAPointAndAtATypedAngleThenUndoAndRedo) {
    doc->settings->textFont = 3;
    TextAngleSetting(doc->settings) = 30;
    doc->settings->textFlags = 0x4012; // other bits kept, old placement codes replaced
    ChooseTextTool(0);
    ClickAt(20, 30);
    ASSERT_EQ(Step(), 1);
    EXPECT_EQ(CommandFieldOf(doc)->typingFont, 3);
    ClickAt(50, 50); // not a text
    EXPECT_EQ(Texts(), 0);
    Type("Pump house");
    ASSERT_EQ(Texts(), 1);
    TextRecord* t = LastText();
    EXPECT_EQ(ToStd(t->text), "Pump house");
    EXPECT_EQ(t->x, 20);
    EXPECT_EQ(t->y, 30);
    EXPECT_EQ(t->angle, 0);
    EXPECT_EQ(t->textFlags, 0x0011);
    EXPECT_EQ(t->font, 3);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(CommandFieldOf(doc)->typingFont, 0);

    ChooseTextTool(1);
    ClickAt(60, 40);
    Type("45");
    ASSERT_EQ(Step(), 2);
    EXPECT_EQ(CommandFieldOf(doc)->typingFont, 3);
    Type("North");
    ASSERT_EQ(Texts(), 2);
    EXPECT_EQ(LastText()->angle, 45);
    EXPECT_EQ(LastText()->x, 60);

    Undo();
    EXPECT_EQ(Texts(), 1);
    Undo();
    EXPECT_EQ(Texts(), 0);
    Redo();
    Redo();
    ASSERT_EQ(Texts(), 2);
    for (TextRecord* e = doc->textHead->next; e != nullptr; e = e->next)
        EXPECT_EQ(e->angle, ToStd(e->text) == "North" ? 45 : 0);
}

// A label confirmed empty shows the labelled point in display units, x first; tool 3 writes
// between its two points.
TEST_F(TextToolsGui, CoordinateLabelFromAnEmptyFieldAndTextBetweenTwoPoints) {
    doc->settings->drawingScale = 2;
    ChooseTextTool(2);
    ClickAt(10, 20);
    ClickAt(40, 50);
    ASSERT_EQ(Step(), 2);
    Type("");
    ASSERT_EQ(Texts(), 1);
    TextRecord* label = LastText();
    EXPECT_EQ(ToStd(label->text), "5.00; 10.00");
    EXPECT_EQ(label->x, 40);
    EXPECT_EQ(label->y, 50);
    EXPECT_EQ(label->x2, 10);
    EXPECT_EQ(label->y2, 20);
    EXPECT_EQ(label->textFlags & 0xF00F, 0x0002);

    ChooseTextTool(3);
    ClickAt(0, 0);
    ClickAt(30, 10);
    Type(""); // an empty text waits
    EXPECT_EQ(Texts(), 1);
    Type("Slope");
    ASSERT_EQ(Texts(), 2);
    TextRecord* between = LastText();
    EXPECT_EQ(between->x, 30);
    EXPECT_EQ(between->x2, 0);
    EXPECT_EQ(between->textFlags & 0xF00F, 0x8004);
    Undo();
    Undo();
    EXPECT_EQ(Texts(), 0);
    Redo();
    EXPECT_EQ(ToStd(LastText()->text), "5.00; 10.00");
}

// Tool 4 offers the text's string in the text's font; the new string keeps the text's place and
// attributes. A framed box is refused.
TEST_F(TextToolsGui, ChangeTheStringOfATextAndRefuseAFramedBox) {
    doc->settings->textFont = 3;
    TextAngleSetting(doc->settings) = 0;
    TextRecord* old = Existing("Old name", 30, 30);
    old->font = 5; // as if made with another font
    const Float64 oldX = old->x, oldY = old->y;
    ChooseTextTool(4);
    ClickAt(32, 32);
    ASSERT_EQ(Step(), 1);
    EXPECT_EQ(CommandFieldOf(doc)->typingFont, 5);
    Str255 offered;
    CommandFieldGetText(doc, offered);
    EXPECT_EQ(ToStd(offered), "Old name");
    Type("New name"); // replaces the selected offer
    ASSERT_EQ(Texts(), 1);
    TextRecord* t = LastText();
    EXPECT_EQ(ToStd(t->text), "New name");
    EXPECT_EQ(t->x, oldX);
    EXPECT_EQ(t->y, oldY);
    EXPECT_EQ(t->font, 5);
    Undo();
    EXPECT_EQ(ToStd(LastText()->text), "Old name");
    Redo();
    EXPECT_EQ(ToStd(LastText()->text), "New name");

    TextRecord* box = AddTextFrameElement(doc, true, 100, 100, 40, 30, false);
    ASSERT_NE(box, nullptr);
    ClickAt(120, 115);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(LastText(), box);
}

// Tool 5 moves the anchor, or the second point when the click was on it.
TEST_F(TextToolsGui, MoveATextOrItsSecondPoint) {
    Existing("Tag", 30, 30, 0x0002); // a label: its second point is a pick target
    ChooseTextTool(5);
    ClickAt(31, 31);
    ASSERT_EQ(Step(), 1);
    ClickAt(60, 70);
    ASSERT_EQ(Texts(), 1);
    EXPECT_EQ(LastText()->x, 60);
    EXPECT_EQ(LastText()->y, 70);
    EXPECT_EQ(LastText()->x2, 70);

    ClickAt(70, 10); // on the second point
    ASSERT_EQ(Step(), 2);
    ClickAt(90, 20);
    EXPECT_EQ(LastText()->x2, 90);
    EXPECT_EQ(LastText()->y2, 20);
    EXPECT_EQ(LastText()->x, 60);
    Undo();
    EXPECT_EQ(LastText()->x2, 70);
    Undo();
    EXPECT_EQ(LastText()->x, 30);
    Redo();
    EXPECT_EQ(LastText()->x, 60);
}

// More than 255 bytes typed: the text keeps whole characters only.
TEST_F(TextToolsGui, ALongTypedTextIsCutAtACharacterBoundary) {
    ChooseTextTool(0);
    ClickAt(10, 10);
    std::string typed;
    for (int i = 0; i < 200; ++i)
        typed += "\x8E"; // é as typed, two bytes in the text
    Type(typed);
    ASSERT_EQ(Texts(), 1);
    const TextRecord* t = LastText();
    EXPECT_EQ(t->text[0], 254);
    for (int i = 1; i <= t->text[0]; i += 2) {
        ASSERT_EQ(t->text[i], 0xC3) << i;
        ASSERT_EQ(t->text[i + 1], 0xA9) << i;
    }
}

// Tool 7 on a framed box: a corner within 10 pixels follows a drag while the opposite corner stays;
// one undo step each way.
TEST_F(TextToolsGui, DragAFramedBoxCornerThenUndoAndRedo) {
    TextRecord* box = AddTextFrameElement(doc, true, 20, 20, 60, 40, false);
    ASSERT_NE(box, nullptr);
    RedrawWindow(doc);
    const Float64 before[8] = {20, 20, 80, 20, 80, 60, 20, 60};
    ChooseTextTool(7);
    // Two pixels inside the top-right corner, dragged 10 mm right and 6 mm up.
    Point start = PixelOf(79, 59);
    Point end = PixelOf(89, 65);
    QueueDrag(doc->window, {start, Pt(SInt16((start.h + end.h) / 2), SInt16((start.v + end.v) / 2)), end});
    RunLoop();
    ASSERT_EQ(Texts(), 1);
    box = LastText();
    const Float64 after[8] = {20, 20, 90, 20, 90, 66, 20, 66};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(box->corners[i], after[i], 1e-9) << i;
    Undo();
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(LastText()->corners[i], before[i], 1e-9) << i;
    Redo();
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(LastText()->corners[i], after[i], 1e-9) << i;
}

// A rectangle dragged on nothing opens the long-text dialog: Return starts a line, Enter makes the box
// with the text; Undo takes the box away and Redo brings it back.
TEST_F(TextToolsGui, DragANewFramedBoxAndTypeItsTextThenUndoAndRedo) {
    ChooseTextTool(7);
    Point start = PixelOf(20, 60), end = PixelOf(90, 20);
    QueueDrag(doc->window, {start, Pt(SInt16((start.h + end.h) / 2), SInt16((start.v + end.v) / 2)), end});
    QueueKey(kKeyCodeTab, kTabCharCode); // from the size field to the text
    QueueTypedText("Gate\rvalve");
    QueueKey(kKeyCodeKeypadEnter, kEnterCharCode);
    RunLoop();
    ASSERT_EQ(Texts(), 1);
    TextRecord* box = LastText();
    ASSERT_NE(box->boxText, nullptr);
    EXPECT_EQ(std::string(*box->boxText, size_t(GetHandleSize(box->boxText))), "Gate\rvalve");
    EXPECT_NEAR(box->corners[0], 20, 1e-6);
    EXPECT_NEAR(box->corners[2], 90, 1e-6);
    Undo();
    EXPECT_EQ(Texts(), 0);
    Redo();
    ASSERT_EQ(Texts(), 1);
    EXPECT_EQ(std::string(*LastText()->boxText, size_t(GetHandleSize(LastText()->boxText))), "Gate\rvalve");
}

// Tool 6 opens the attribute dialog on the picked text; a size typed there changes that text alone,
// about its anchor, in one undo step.
TEST_F(TextToolsGui, AttributesOfOnePickedTextFromTheDialog) {
    TextRecord* text = Existing("Valve", 30, 40);
    Existing("Pump", 30, 80);
    const Float64 height = text->textHeight;
    ChooseTextTool(6);
    QueueClick(doc->window, PixelOf(32, 42));
    QueueTypedText("9"); // the size field has the keys first
    QueueKey(kKeyCodeKeypadEnter, kEnterCharCode);
    RunLoop();
    // Re-made texts go to the end of the list: find each by its anchor.
    auto at = [this](Float64 y) {
        for (TextRecord* e = doc->textHead->next; e != nullptr; e = e->next)
            if (std::fabs(e->y - y) < 1e-9) return e;
        return static_cast<TextRecord*>(nullptr);
    };
    ASSERT_EQ(Texts(), 2);
    ASSERT_NE(at(40), nullptr);
    EXPECT_NEAR(at(40)->x, 30, 1e-9);
    EXPECT_NE(at(40)->textHeight, height);
    EXPECT_EQ(at(80)->textHeight, height); // the other text is untouched
    Undo();
    ASSERT_EQ(Texts(), 2);
    EXPECT_EQ(at(40)->textHeight, height);
}

// A click-sized drag still gives a box of 32 x 32 pixels at the zoom of the moment.
TEST(TextToolsBox, NoSideShorterThan32PixelsAtTheCurrentZoom) {
    DrawingRecord d{};
    const struct {
        Float64 scale, w, h, outW, outH;
    } cases[] = {{0.5, 0, 0, 16, 16}, {0.5, 40, 3, 40, 16}, {2.0, 10, 100, 64, 100}, {0.5, 16, 16, 16, 16}};
    for (const auto& c : cases) {
        d.view.unitsPerPixel = c.scale;
        d.view.dragRectX = 10, d.view.dragRectY = 20;
        d.view.dragRectWidth = c.w, d.view.dragRectHeight = c.h;
        Float64 x, y, w, h;
        FramedBoxFromDrag(&d, &x, &y, &w, &h);
        EXPECT_EQ(x, 10);
        EXPECT_EQ(y, 20);
        EXPECT_EQ(w, c.outW) << c.scale << " " << c.w;
        EXPECT_EQ(h, c.outH) << c.scale << " " << c.h;
    }
}

// What the tools leave on screen: texts turned and justified about their points, and a framed box
// with its paragraph. The picture is kept for a look; the test asks only that each one inked its box.
TEST_F(TextToolsGui, TurnedJustifiedAndFramedTextsAreDrawn) {
    doc->settings->textHeight = 8;
    ChooseTextTool(1);
    const struct {
        SInt16 justification;
        double x, y, angle;
    } texts[] = {{6, 20, 20, 0}, {4, 120, 60, 30}, {2, 230, 120, 90}, {8, 200, 30, -20}};
    for (const auto& t : texts) {
        doc->settings->textJustification = t.justification;
        ClickAt(t.x, t.y);
        Type(std::to_string(int(t.angle)));
        Type("Justified " + std::to_string(t.justification));
    }
    ASSERT_EQ(Texts(), 4);
    FramedTextSizeSetting(doc->settings) = 60;
    TextRecord* box = AddTextFrameElement(doc, true, 20, 100, 90, 50, false);
    ASSERT_NE(box, nullptr);
    const char paragraph[] = "A framed box keeps its text\rin lines of its own.";
    ASSERT_EQ(PtrToHand(paragraph, &box->boxText, Size(sizeof paragraph - 1)), noErr);
    RedrawWindow(doc);
    RunLoop();
    SaveWindowPNG(doc->window, "text-tools.png");
    for (TextRecord* e = doc->textHead->next; e != nullptr; e = e->next) {
        Point a = PixelOf(std::min({e->corners[0], e->corners[2], e->corners[4], e->corners[6]}),
                          std::min({e->corners[1], e->corners[3], e->corners[5], e->corners[7]}));
        Point b = PixelOf(std::max({e->corners[0], e->corners[2], e->corners[4], e->corners[6]}),
                          std::max({e->corners[1], e->corners[3], e->corners[5], e->corners[7]}));
        int dark = 0;
        for (SInt16 v = b.v; v <= a.v; ++v)
            for (SInt16 h = a.h; h <= b.h; ++h) {
                RGBColor c = GetPortPixel(GetWindowPort(doc->window), h, v);
                dark += (c.red >> 8) + (c.green >> 8) + (c.blue >> 8) < 300;
            }
        EXPECT_GT(dark, 10) << ToStd(e->text);
    }
}

// The corner follows the mouse by its offset; asked to keep the aspect ratio it takes the nearer of
// the two corners on the ratio's rectangle.
TEST_F(TextToolsGui, CornerDragFollowsTheMouseOrKeepsTheAspectRatio) {
    const struct {
        Boolean proportional;
        double ratio, dx, dy, x, y;
    } cases[] = {
        {false, 2.0, 20, 2, 60, 22},
        {true, 2.0, 20, 2, 60, 30},      // from the mouse's x: height = width / 2
        {true, 0.5, 2, 20, 20, 40},      // from the mouse's y: width = height / 2
        {true, 2.0, -60, -30, -20, -10}, // past the fixed corner: the signs follow the mouse
    };
    for (const auto& c : cases) {
        Point start = PixelOf(40, 20), end = PixelOf(40 + c.dx, 20 + c.dy);
        QueueDrag(doc->window, {start, end});
        EventRecord down{};
        bool pressed = false; // the press, as the dispatcher takes it
        for (int i = 0; i < 20 && !pressed; ++i)
            pressed = GetNextEvent(mDownMask, &down);
        ASSERT_TRUE(pressed);
        Float64 x = 40, y = 20;
        ASSERT_TRUE(TrackDragOffset(doc, 142, 0, 0, &x, &y, c.proportional, c.ratio));
        EXPECT_NEAR(x, c.x, 1e-9) << c.proportional << " " << c.dx;
        EXPECT_NEAR(y, c.y, 1e-9) << c.proportional << " " << c.dy;
        DrainEvents();
    }
}
