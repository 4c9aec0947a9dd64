// The dispatcher: a menu command that closes the document ends the routing, a confirmed value runs
// the step whatever the event kind, pending commands take the clicks, the status area starts the
// layer and key commands, the undo key resets the tool, the command field lives as long as its
// window, and the scroll-bar parts move the view.
#include "ToolGuiFixture.h"

#include "Platform/Controls.h"
#include "MessageCapture.h"
#include "Tools/PendingCommands.h"

#include <malloc.h>

#include <cmath>

namespace {

using ToolDispatch = ToolGuiTest;

void Post(SInt16 kind, SInt16 code, SInt16 param) {
    MenuCommandGlobals.kind = kind;
    MenuCommandGlobals.code = code;
    MenuCommandGlobals.param = param;
}

TEST_F(ToolDispatch, AMenuCommandThatClosesTheDocumentEndsTheRouting) {
    ASSERT_TRUE(ChooseMenuItem(kFileMenu, 1));
    RunLoop();
    DocWindowRecord* second = FrontDocument();
    ASSERT_NE(second, doc);
    // Freed memory is filled, so a use of the closed document would follow a broken pointer.
    mallopt(M_PERTURB, 0xA5);
    Post(kPendingMenu, kFileMenu, 5); // Close
    ToolMouseDown(second, nullptr);
    mallopt(M_PERTURB, 0);
    ASSERT_EQ(OpenDocumentList, doc);
    EXPECT_EQ(doc->next, nullptr);
    // The remaining document still draws.
    ChooseTool(0);
    ClickAt(0, 0);
    ClickAt(10, 0);
    EXPECT_EQ(Lines(), 1);
}

TEST_F(ToolDispatch, AConfirmedValueRunsTheStepForAnyEventKind) {
    ChooseTool(0);
    CommandFieldSetText(doc, PStr("10,20"));
    Post(kPendingKey, kReturnCharCode, kFieldKeyReturn);
    ToolMouseDown(doc, nullptr);
    EXPECT_EQ(Step(), 1);
    EXPECT_DOUBLE_EQ(doc->drawing->toolInput.cursorX, 10);
    EXPECT_DOUBLE_EQ(doc->drawing->toolInput.cursorY, 20);
    // A key that confirms nothing runs no step.
    Post(kPendingKey, '5', kFieldKeyChar);
    ToolMouseDown(doc, nullptr);
    EXPECT_EQ(Step(), 1);
    // The text object took the digit.
    Str255 text;
    CommandFieldGetText(doc, text);
    EXPECT_EQ(ToStd(text), "5");
    ToolConfirmInput(doc); // nothing was committed: the count is 0
    EXPECT_EQ(Step(), 1);
}

TEST_F(ToolDispatch, ClicksGoToThePendingCommandNotTheTool) {
    Draw(0, 0, 100, 0);
    doc->lineHead->next->layer = 7;
    ChooseTool(0);
    Post(kPendingStatusAction, 0, 2); // the layer field: pick the current layer
    ToolMouseDown(doc, nullptr);
    ASSERT_EQ(doc->drawing->toolInput.pendingCommand, 151);
    ClickAt(50, 0);
    EXPECT_EQ(doc->settings->currentLayer, 7);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 0);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Lines(), 1); // the line tool saw no click

    Post(kPendingStatusAction, 0, 3); // the key field: a typed key
    ToolMouseDown(doc, nullptr);
    ASSERT_EQ(doc->drawing->toolInput.pendingCommand, 152);
    MessageCapture messages;
    Type("40000"); // refused, the command waits
    EXPECT_EQ(messages.Last(), 63);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 152);
    CommandFieldSelectAll(doc);
    Type("12");
    EXPECT_EQ(doc->settings->currentGroup, 12);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 0);
}

TEST_F(ToolDispatch, TheUndoKeyUndoesAndStartsTheToolAgain) {
    ChooseTool(0);
    ClickAt(0, 0);
    ClickAt(10, 0);
    ClickAt(5, 5);
    ASSERT_EQ(Step(), 1);
    Post(kPendingKey, 0, 255);
    ToolMouseDown(doc, nullptr);
    EXPECT_EQ(Lines(), 0);
    EXPECT_EQ(Step(), 0);
}

TEST_F(ToolDispatch, TheCommandFieldOutlivesItsSteps) {
    ChooseTool(0);
    CommandFieldRecord* f = CommandFieldOf(doc);
    OpaqueTXNObject* object = f->textObject;
    ASSERT_NE(object, nullptr);
    Type("0,0");
    Type("10,0");  // Return ran the step, which showed the next prompt while the key was handled
    ChooseTool(1); // a picking step closes the field
    EXPECT_FALSE(f->open);
    ChooseTool(0);
    EXPECT_EQ(f->textObject, object);
    EXPECT_TRUE(f->open);
    EXPECT_EQ(Lines(), 1);
}

TEST_F(ToolDispatch, TheHistoryButtonPutsAnEarlierInputIntoTheField) {
    ChooseTool(3);
    ClickAt(0, 0);
    Type("30,10");
    ClickAt(0, 0);
    Type("45,20");
    ClickAt(0, 0);
    ASSERT_EQ(CommandFieldHistoryCount(doc), 2);
    QueuePopUpMenuChoice(1); // the oldest entry
    EventRecord click{};
    click.what = mouseDown;
    click.where =
        Pt(SInt16(doc->drawing->layout.contentWidth - 4), SInt16(doc->drawing->layout.messageLineTop + 5));
    SetPortWindowPort(doc->window);
    LocalToGlobal(&click.where);
    Post(kPendingStripClick, click.where.h, 0);
    ToolMouseDown(doc, &click);
    Str255 text;
    CommandFieldGetText(doc, text);
    EXPECT_EQ(ToStd(text), "30,10");
    QueueTypedText("\r");
    RunLoop();
    EXPECT_EQ(Lines(), 3);
    ExpectLast(0, 0, 10 * std::cos(M_PI / 6), 5);
}

// Each part of either bar moves the view along that bar's axis only: the arrows by 16 pixels, the
// page parts by the view, the thumb over the extents (the vertical thumb runs down while y runs up).
TEST_F(ToolDispatch, EveryScrollBarPartOnBothAxes) {
    DrawingRecord* d = doc->drawing;
    d->view.unitsPerPixel = 0.5;
    d->view.extentsMinX = -500, d->view.extentsMaxX = 3000;
    d->view.extentsMinY = -800, d->view.extentsMaxY = 2000;
    const double s = d->view.unitsPerPixel, w = d->view.viewWidth * s, h = d->view.viewHeight * s;
    ASSERT_GT(w, 0);
    ASSERT_GT(h, 0);
    struct Case {
        ScrollAxis axis;
        SInt16 part, value;
        double dx, dy; // the move of the origin
    };
    const Case cases[] = {
        {ScrollAxis::vertical, kControlUpButtonPart, 0, 0, 16 * s},
        {ScrollAxis::vertical, kControlDownButtonPart, 0, 0, -16 * s},
        {ScrollAxis::vertical, kControlPageUpPart, 0, 0, h},
        {ScrollAxis::vertical, kControlPageDownPart, 0, 0, -h},
        {ScrollAxis::vertical, kControlNoPart, 0, 0, 0},
        {ScrollAxis::horizontal, kControlUpButtonPart, 0, -16 * s, 0},
        {ScrollAxis::horizontal, kControlDownButtonPart, 0, 16 * s, 0},
        {ScrollAxis::horizontal, kControlPageUpPart, 0, -w, 0},
        {ScrollAxis::horizontal, kControlPageDownPart, 0, w, 0},
        {ScrollAxis::horizontal, kControlNoPart, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.axis == ScrollAxis::vertical ? "vertical part " : "horizontal part ") +
                     std::to_string(c.part));
        d->view.originX = 10, d->view.originY = 20;
        Post(c.axis == ScrollAxis::vertical ? kPendingVerticalScroll : kPendingHorizontalScroll, c.part,
             c.value);
        TrackScroll(doc, c.axis);
        EXPECT_DOUBLE_EQ(d->view.originX, 10 + c.dx);
        EXPECT_DOUBLE_EQ(d->view.originY, 20 + c.dy);
    }

    // The thumb a quarter along: a quarter of the way from the left, a quarter of the way down.
    d->view.originX = 10, d->view.originY = 20;
    Post(kPendingHorizontalScroll, kControlIndicatorPart, 250);
    TrackScroll(doc, ScrollAxis::horizontal);
    EXPECT_DOUBLE_EQ(d->view.originX, -500 + 250 * (3500 - w) / 1000.0);
    EXPECT_DOUBLE_EQ(d->view.originY, 20);
    Post(kPendingVerticalScroll, kControlIndicatorPart, 250);
    TrackScroll(doc, ScrollAxis::vertical);
    EXPECT_DOUBLE_EQ(d->view.originY, -800 + 750 * (2800 - h) / 1000.0);
}

TEST_F(ToolDispatch, YesWords) {
    EXPECT_TRUE(IsYesAnswer(PStr("yes")));
    EXPECT_TRUE(IsYesAnswer(PStr("y")));
    EXPECT_FALSE(IsYesAnswer(PStr("no")));
    EXPECT_FALSE(IsYesAnswer(PStr("")));
}

} // namespace
