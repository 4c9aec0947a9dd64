// Mouse, key and menu dispatch: clicks in the drawing become kind-0 events at the right drawing point,
// scroll bars and zoom move the view, keys post key events or act at once, menus that are dismissed
// or have no front document touch no document, and quitting asks about every changed drawing.
#include "ShellTestSupport.h"

#include "Platform/Controls.h"
#include "Platform/DialogManager.h"
#include "Shell/DocumentWindow.h"
#include "Files/Preferences.h"
#include "Shell/KeyDispatch.h"
#include "Shell/MenuBar.h"
#include "Shell/MenuCommands.h"
#include "Shell/MouseDispatch.h"
#include "Model/NewDocument.h"
#include "Tools/ToolDispatch.h"

namespace {

Point DrawingPoint(const DocWindowRecord* doc, SInt16 h, SInt16 upFromBottom) {
    return Pt(h, SInt16(doc->drawing->view.viewHeight - upFromBottom));
}

} // namespace

TEST_F(ShellTest, AClickInTheDrawingPostsAKindZeroEventAtItsDrawingPoint) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    DrawingRecord* d = doc->drawing;
    d->view.originX = 100.0;
    d->view.originY = -20.0;
    d->view.unitsPerPixel = 0.5;

    QueueClick(doc->window, DrawingPoint(doc, 40, 30));
    RunLoop();
    EXPECT_EQ(MenuCommandGlobals.kind, kPendingClick);
    EXPECT_EQ(MenuCommandGlobals.code, 40);
    EXPECT_EQ(MenuCommandGlobals.param, 30);
    EXPECT_EQ(d->layout.mouseH, 40);
    ASSERT_TRUE(MouseToWorld(doc, MenuCommandGlobals.code, MenuCommandGlobals.param));
    EXPECT_DOUBLE_EQ(d->toolInput.cursorX, 120.0);
    EXPECT_DOUBLE_EQ(d->toolInput.cursorY, -5.0);

    // A click in the message line below the drawing is a strip click.
    QueueClick(doc->window, Pt(50, SInt16(d->layout.contentHeight - 2)));
    RunLoop();
    EXPECT_EQ(MenuCommandGlobals.kind, kPendingStripClick);
    EXPECT_EQ(MenuCommandGlobals.code, 50);
}

TEST_F(ShellTest, ScrollBarsAndZoomMoveTheView) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    DrawingRecord* d = doc->drawing;
    d->view.unitsPerPixel = 2.0;

    // The vertical bar's down arrow: the view goes 16 pixels down the drawing.
    Rect bar;
    GetControlBounds(d->layout.verticalScrollBar, &bar);
    const Float64 y0 = d->view.originY;
    QueueClick(doc->window, Pt(SInt16(bar.left + 8), SInt16(bar.bottom - 4)));
    RunLoop();
    EXPECT_DOUBLE_EQ(d->view.originY, y0 - 16 * 2.0);

    // Command-right arrow scrolls the horizontal bar by its arrow.
    const Float64 x0 = d->view.originX;
    QueueKey(kKeyCodeRightArrow, kRightArrowCharCode, cmdKey);
    RunLoop();
    EXPECT_DOUBLE_EQ(d->view.originX, x0 - 16 * 2.0);

    // The zoom-in side button halves the scale about the view's centre.
    const Float64 cx = d->view.originX + d->view.viewWidth * d->view.unitsPerPixel / 2.0;
    const Float64 cy = d->view.originY + d->view.viewHeight * d->view.unitsPerPixel / 2.0;
    QueueClick(doc->window, Pt(SInt16(d->layout.rightEdge + 8), 3 * 15 + 5));
    RunLoop();
    EXPECT_DOUBLE_EQ(d->view.unitsPerPixel, 1.0);
    EXPECT_NEAR(d->view.originX + d->view.viewWidth * d->view.unitsPerPixel / 2.0, cx, d->view.unitsPerPixel);
    EXPECT_NEAR(d->view.originY + d->view.viewHeight * d->view.unitsPerPixel / 2.0, cy,
                d->view.unitsPerPixel);

    // The down arrow zooms out, doubling the scale.
    QueueKey(kKeyCodeDownArrow, kDownArrowCharCode);
    RunLoop();
    EXPECT_DOUBLE_EQ(d->view.unitsPerPixel, 2.0);

    // The wheel turned away from the user (a positive delta) zooms in, towards the user out, about
    // the mouse: the point under it stays. Command zooms, or the plain wheel when the preference
    // says so.
    struct WheelCase {
        UInt32 wheelZoom;
        UInt16 modifiers;
        SInt32 delta;
        Float64 factor;
    };
    const WheelCase kWheel[] = {
        {1, 0, 1, 1 / 1.1}, {1, 0, -1, 1.1}, {0, cmdKey, 1, 1 / 1.1}, {0, cmdKey, -1, 1.1}, {0, 0, 1, 1.0},
    };
    const Point mouse = DrawingPoint(doc, 100, 80);
    for (const WheelCase& c : kWheel) {
        GeneralPrefs.wheelZoom = c.wheelZoom;
        const Float64 scale = d->view.unitsPerPixel;
        const Float64 wx = d->view.originX + 100 * scale, wy = d->view.originY + 80 * scale;
        QueueWheel(doc->window, mouse, c.delta, kEventMouseWheelAxisY, c.modifiers);
        RunLoop();
        EXPECT_DOUBLE_EQ(d->view.unitsPerPixel, scale * c.factor) << c.wheelZoom << " " << c.delta;
        if (c.factor == 1.0) continue; // the plain wheel scrolls
        EXPECT_NEAR(d->view.originX + 100 * d->view.unitsPerPixel, wx, 1e-9);
        EXPECT_NEAR(d->view.originY + 80 * d->view.unitsPerPixel, wy, 1e-9);
    }

    // Shift-drag pans: the drawing follows the mouse.
    const Float64 px = d->view.originX, py = d->view.originY;
    QueueDrag(doc->window, {DrawingPoint(doc, 50, 50), DrawingPoint(doc, 60, 40)}, shiftKey);
    RunLoop();
    EXPECT_NEAR(d->view.originX, px - 10 * d->view.unitsPerPixel, 1e-9);
    EXPECT_NEAR(d->view.originY, py + 10 * d->view.unitsPerPixel, 1e-9);
}

TEST_F(ShellTest, OptionDragZoomsToTheRectangleAndPreviousViewGoesBack) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    DrawingRecord* d = doc->drawing;
    d->view.unitsPerPixel = 1.0;
    const Float64 ox = d->view.originX, oy = d->view.originY;
    // Command-Option does what Option does: window managers keep Alt-clicks for themselves.
    for (UInt16 modifiers : {UInt16(optionKey), UInt16(cmdKey | optionKey)}) {
        // From the centre outward: a half-width of 50 pixels fits 100 pixels to the window.
        QueueDrag(doc->window, {DrawingPoint(doc, 200, 150), DrawingPoint(doc, 250, 170)}, modifiers);
        RunLoop();
        EXPECT_DOUBLE_EQ(d->view.unitsPerPixel, 100.0 / d->view.viewWidth) << modifiers;
        EXPECT_NEAR(d->view.originX + d->view.viewWidth * d->view.unitsPerPixel / 2.0, ox + 200.0, 1.0);
        EXPECT_NEAR(d->view.originY + d->view.viewHeight * d->view.unitsPerPixel / 2.0, oy + 150.0, 1.0);

        // Too small a rectangle changes nothing.
        const Float64 s = d->view.unitsPerPixel;
        QueueDrag(doc->window, {DrawingPoint(doc, 200, 150), DrawingPoint(doc, 202, 151)}, modifiers);
        RunLoop();
        EXPECT_DOUBLE_EQ(d->view.unitsPerPixel, s);

        QueueCommandKey(kKeyCodeB, 'b');
        RunLoop();
        EXPECT_DOUBLE_EQ(d->view.unitsPerPixel, 1.0);
        EXPECT_DOUBLE_EQ(d->view.originX, ox);
    }
}

TEST_F(ShellTest, KeysBecomeKeyEventsOrActAtOnce) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    struct Case {
        UInt8 keyCode;
        UInt8 ch;
        UInt16 modifiers;
        Boolean dispatch;
        SInt16 code, param;
    };
    const Case cases[] = {
        {kKeyCodeA, 'a', 0, true, 'a', kKeyPlain},
        {kKeyCodeReturn, kReturnCharCode, 0, true, kReturnCharCode, kKeyReturn},
        {kKeyCodeKeypadEnter, kEnterCharCode, 0, true, kEnterCharCode, kKeyReturn},
        {kKeyCodeKeypadDecimal, '.', 0, true, '.', kKeyPlain},
        {kKeyCodeDelete, kBackspaceCharCode, 0, true, kBackspaceCharCode, kKeyDelete},
        {kKeyCodeForwardDelete, kDeleteCharCode, 0, true, kDeleteCharCode, kKeyForwardDelete},
        {kKeyCodeLeftArrow, kLeftArrowCharCode, 0, true, kLeftArrowCharCode, kKeyLeftArrow},
        {kKeyCodeLeftArrow, kLeftArrowCharCode, optionKey, true, kLeftArrowCharCode, kKeyOptionLeft},
        {kKeyCodeRightArrow, kRightArrowCharCode, optionKey, true, kRightArrowCharCode, kKeyOptionRight},
        {kKeyCodePageUp, kPageUpCharCode, 0, true, kPageUpCharCode, kKeyPageUp},
        {kKeyCodePageDown, kPageDownCharCode, 0, true, kPageDownCharCode, kKeyPageDown},
        // A character with Command held never reaches the command field.
        {kKeyCodeJ, 'j', cmdKey, false, 'j', kKeyPlain},
    };
    for (const Case& c : cases) {
        EventRecord e{};
        e.what = keyDown;
        e.message = (UInt32(c.keyCode) << 8) | c.ch;
        e.modifiers = c.modifiers;
        MenuCommandGlobals = MenuCommandGlobalsRecord{-1, -1, -1};
        EXPECT_EQ(HandleKeyDown(doc, &e), c.dispatch) << int(c.keyCode);
        EXPECT_EQ(MenuCommandGlobals.kind, kPendingKey) << int(c.keyCode);
        EXPECT_EQ(MenuCommandGlobals.code, c.code) << int(c.keyCode);
        EXPECT_EQ(MenuCommandGlobals.param, c.param) << int(c.keyCode);
    }

    // Tab steps the snap mode round; the function keys set it from the table.
    doc->settings->snapMode = 3;
    QueueKey(kKeyCodeTab, kTabCharCode);
    RunLoop();
    EXPECT_EQ(doc->settings->snapMode, 0);
    QueueKey(kKeyCodeF6, kFunctionKeyCharCode);
    RunLoop();
    EXPECT_EQ(doc->settings->snapMode, 1);
}

TEST_F(ShellTest, FunctionKeysUseTheirModifierCombinationSlot) {
    EXPECT_EQ(FunctionKeyNumber(0x7A), 1);
    EXPECT_EQ(FunctionKeyNumber(0x71), 15);
    EXPECT_EQ(FunctionKeyNumber(0x00), 0);
    EXPECT_EQ(FunctionKeySlotIndex(0, 1), 0);
    EXPECT_EQ(FunctionKeySlotIndex(cmdKey | optionKey | controlKey | shiftKey, 15), 15 * 15 + 14);
    EXPECT_EQ(FunctionKeySlotIndex(shiftKey, 3), 8 * 15 + 2);

    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    // A tool from a function key with all four modifiers.
    FunctionKeyTable[FunctionKeySlotIndex(cmdKey | optionKey | controlKey | shiftKey, 9)] = {182, 3};
    EventRecord e{};
    e.what = keyDown;
    e.message = UInt32(kKeyCodeF9) << 8;
    e.modifiers = cmdKey | optionKey | controlKey | shiftKey;
    EXPECT_FALSE(HandleKeyDown(doc, &e));
    EXPECT_EQ(UInt32(GeneralPrefs.currentToolGroup), 2u);
    EXPECT_EQ(UInt32(GeneralPrefs.currentSubTool), 2u);
    EXPECT_EQ(UInt32(GeneralPrefs.lastSubTool[2]), 2u);

    // F1 is Undo: dimmed without steps, posted as Edit item 1 with one.
    e.message = UInt32(kKeyCodeF1) << 8;
    e.modifiers = 0;
    EXPECT_FALSE(HandleKeyDown(doc, &e));
    AddUndoableLine(doc);
    EXPECT_TRUE(HandleKeyDown(doc, &e));
    EXPECT_EQ(MenuCommandGlobals.kind, kPendingMenu);
    EXPECT_EQ(MenuCommandGlobals.code, 197);
    EXPECT_EQ(MenuCommandGlobals.param, 1);

    // An unassigned F15 says so; another unassigned key stays silent.
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    e.message = UInt32(kKeyCodeF14) << 8;
    HandleKeyDown(doc, &e);
    EXPECT_TRUE(RecordedAlerts().empty());
    e.message = UInt32(kKeyCodeF15) << 8;
    HandleKeyDown(doc, &e);
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(RecordedAlerts()[0].alertId, 128);
}

TEST_F(ShellTest, UndoFromTheMenuTakesBackTheStep) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AddUndoableLine(doc);
    ASSERT_NE(doc->lineHead->next, nullptr);
    QueueCommandKey(kKeyCodeZ, 'z');
    RunLoop();
    EXPECT_EQ(doc->lineHead->next, nullptr);
    QueueCommandKey(kKeyCodeZ, 'z', shiftKey);
    RunLoop();
    EXPECT_NE(doc->lineHead->next, nullptr);
}

TEST_F(ShellTest, ADismissedMenuLeavesTheRunningCommandAlone) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    doc->drawing->toolInput.pendingCommand = 150;
    EXPECT_FALSE(MenuResultToCommand(doc, 0));
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 150);
    EXPECT_TRUE(MenuResultToCommand(doc, (5002 << 16) | 11));
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 150);
    EXPECT_TRUE(MenuResultToCommand(doc, (197 << 16) | 25));
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 0);
    // The application menu's own items below About are not the dispatcher's.
    EXPECT_FALSE(MenuResultToCommand(doc, (128 << 16) | 3));
}

TEST_F(ShellTest, WithDocumentsOpenButNoneInFrontNothingActsOnADocument) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AddUndoableLine(doc);
    HideWindow(doc->window);
    ASSERT_EQ(FrontDocument(), nullptr);
    ASSERT_NE(OpenDocumentList, nullptr);

    AdjustMenus(nullptr);
    EXPECT_FALSE(IsMenuItemEnabled(GetMenuHandle(197), 1));
    EXPECT_FALSE(IsMenuItemEnabled(GetMenuHandle(198), 5));
    EXPECT_TRUE(IsMenuItemEnabled(GetMenuHandle(198), 1));

    struct Key {
        UInt8 keyCode, ch;
        UInt16 modifiers;
    };
    for (Key k : {Key{kKeyCodeW, 'w', cmdKey}, Key{kKeyCodeF1, 0, 0}, Key{kKeyCodeUpArrow, 30, 0},
                  Key{kKeyCodeEscape, 27, 0}, Key{kKeyCodeA, 'a', 0}}) {
        EventRecord e{};
        e.what = keyDown;
        e.message = (UInt32(k.keyCode) << 8) | k.ch;
        e.modifiers = k.modifiers;
        if (HandleKeyDown(nullptr, &e)) DoMenuCommand(nullptr);
    }
    for (SInt16 item : {1, 2, 21, 25, 27}) {
        MenuCommandGlobals = MenuCommandGlobalsRecord{kPendingMenu, 197, item};
        DoMenuCommand(nullptr);
    }
    MenuCommandGlobals = MenuCommandGlobalsRecord{kPendingMenu, 198, 5};
    DoMenuCommand(nullptr);
    EXPECT_EQ(OpenDocumentList, doc);
    EXPECT_NE(doc->lineHead->next, nullptr);
}

TEST_F(ShellTest, QuitAsksAboutEveryChangedDrawingAndCancelKeepsThemAll) {
    DocWindowRecord* first = NewFromMenu();
    DocWindowRecord* second = NewFromMenu();
    ASSERT_NE(second, nullptr);
    AddUndoableLine(first);
    AddUndoableLine(second);

    // Don't Save for the first, Cancel at the second: both stay, the program runs on. The menu's
    // Quit sends the quit event, which the next pass takes.
    ASSERT_TRUE(ChooseMenuItem(128, 5));
    RunPasses(1);
    QueueCommandKey(kKeyCodeD, 'd');
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    RunLoop();
    EXPECT_FALSE(QuitFlag);
    EXPECT_EQ(CountOpenDocuments(), 2);
    int questions = 0;
    for (const AlertRecord& a : RecordedAlerts())
        questions += a.alertId == 1300 && a.params[1] == "before quitting";
    EXPECT_EQ(questions, 2);

    // The same through File's item that closes all for quitting; Don't Save twice ends the run.
    ASSERT_TRUE(ChooseMenuItem(198, 24));
    QueueCommandKey(kKeyCodeD, 'd');
    QueueCommandKey(kKeyCodeD, 'd');
    RunLoop();
    EXPECT_TRUE(QuitFlag);
    EXPECT_EQ(OpenDocumentList, nullptr);
}

TEST_F(ShellTest, CloseAllWithoutQuittingLeavesTheQuitFlag) {
    DocWindowRecord* first = NewFromMenu();
    ASSERT_NE(first, nullptr);
    AddUndoableLine(first);
    NewFromMenu();
    ASSERT_TRUE(ChooseMenuItem(198, 6));
    QueueCommandKey(kKeyCodeD, 'd');
    RunLoop();
    EXPECT_EQ(OpenDocumentList, nullptr);
    EXPECT_FALSE(QuitFlag);
}
