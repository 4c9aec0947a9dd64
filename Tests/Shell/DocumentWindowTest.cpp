// Start-up and document windows: nothing opens by itself, New makes an untitled window laid out for
// its document font, the title carries the changed mark, resizing keeps the drawing at the top edge,
// closing asks about changes and Cancel keeps the drawing.
#include "ShellTestSupport.h"

#include "Shell/AppleEvents.h"
#include "Platform/Controls.h"
#include "Platform/DialogManager.h"
#include "Shell/DocumentWindow.h"
#include "Platform/FileManager.h"
#include "Shell/MenuBar.h"
#include "Platform/Menus.h"
#include "Model/NewDocument.h"
#include "Files/Preferences.h"
#include "Platform/QuickDraw.h"
#include "Tools/StatusArea.h"
#include "Platform/SimulatedInput.h"
#include "Platform/Windows.h"
#include "Other/ZEZUdivari.h"

namespace {

std::string Title(WindowRef window) {
    Str255 title;
    GetWTitle(window, title);
    return ToStd(title);
}

Rect PortOf(const DocWindowRecord* doc) {
    Rect r;
    GetPortBounds(GetWindowPort(doc->window), &r);
    return r;
}

} // namespace

TEST_F(ShellTest, NothingOpensAtStartAndNewMakesAnUntitledWindow) {
    RunPasses(6);
    EXPECT_EQ(OpenDocumentList, nullptr);
    ASSERT_NE(ApplicationMenuWindow(), nullptr);

    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Title(doc->window), "Untitled");
    EXPECT_TRUE(IsWindowVisible(doc->window));
    EXPECT_EQ(ApplicationMenuWindow(), nullptr);
    ASSERT_NE(doc->drawing->layout.verticalScrollBar, nullptr);
    EXPECT_EQ(GetControlMaximum(doc->drawing->layout.horizontalScrollBar), kScrollMaximum);

    DocWindowRecord* second = NewFromMenu();
    EXPECT_EQ(Title(second->window), "Untitled 2");
    EXPECT_EQ(CountOpenDocuments(), 2);
}

TEST_F(ShellTest, TheLayoutFollowsThePortAndTheDocumentFontOfTheStoredDefaults) {
    // Defaults for new drawings with a large document font.
    DocWindowRecord* model = NewFromMenu();
    ASSERT_NE(model, nullptr);
    model->settings->textSize = 24;
    ASSERT_TRUE(SaveDocumentDefaults(model));
    DocWindowRecord* doc = NewFromMenu();
    ResetDocumentDefaults();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->settings->textSize, 24);

    const DrawingRecord* d = doc->drawing;
    Rect port = PortOf(doc);
    const SInt16 W = SInt16(port.right - port.left), H = SInt16(port.bottom - port.top);
    SetPortWindowPort(doc->window);
    TextFont(doc->settings->documentFont);
    TextSize(24);
    FontInfo info;
    GetFontInfo(&info);
    TextFont(0);
    TextSize(12);
    EXPECT_EQ(d->layout.statusHeight, info.ascent + info.descent + 1);
    EXPECT_EQ(d->layout.contentWidth, W - 15);
    EXPECT_EQ(d->layout.rightEdge, W - 16);
    EXPECT_EQ(d->view.viewHeight, H - 15 - d->layout.statusHeight);
    EXPECT_EQ(d->layout.messageLineTop, H - 16 - d->layout.statusHeight);

    doc->settings->textSize = 12;
    RelayoutDocumentWindow(doc);
    EXPECT_LT(d->layout.statusHeight, info.ascent + info.descent + 1);
    EXPECT_EQ(d->view.viewHeight, H - 15 - d->layout.statusHeight);
}

TEST_F(ShellTest, ResizingKeepsTheTopOfTheDrawingWhereItWas) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    DrawingRecord* d = doc->drawing;
    d->view.unitsPerPixel = 0.5;
    d->view.originY = 100.0;
    Rect port = PortOf(doc);
    const SInt16 W = SInt16(port.right - port.left), H = SInt16(port.bottom - port.top);
    const Float64 topBefore = d->view.originY + d->view.viewHeight * d->view.unitsPerPixel;

    SimulateUserResize(doc->window, SInt16(W - 50), SInt16(H - 100));
    RunLoop();
    EXPECT_DOUBLE_EQ(d->view.originY, 100.0 + 100 * 0.5);
    EXPECT_DOUBLE_EQ(d->view.originY + d->view.viewHeight * d->view.unitsPerPixel, topBefore);
    Rect bar;
    GetControlBounds(d->layout.verticalScrollBar, &bar);
    EXPECT_EQ(bar.left, W - 50 - 15);
    EXPECT_EQ(bar.bottom - bar.top, H - 100 - 88);

    // Laid out by the program without a previous height, the origin stays.
    LayoutDocumentWindow(doc, W, H, 0);
    EXPECT_DOUBLE_EQ(d->view.originY, 150.0);
}

// A window manager that answers a size with another one: the program takes the last size it got, lays
// out once for it, and never asks for an earlier size again.
TEST_F(ShellTest, SizesTheWindowManagerGivesAreTakenAsTheyCome) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    DrawingRecord* d = doc->drawing;
    d->view.unitsPerPixel = 1.0;
    d->view.originY = 0.0;
    Rect port = PortOf(doc);
    const SInt16 W = SInt16(port.right - port.left), H = SInt16(port.bottom - port.top);

    SimulateUserResize(doc->window, W, SInt16(H - 19));
    SimulateUserResize(doc->window, W, SInt16(H - 40));
    SimulateUserResize(doc->window, SInt16(W - 10), SInt16(H - 21));
    RunLoop();
    port = PortOf(doc);
    EXPECT_EQ(port.right - port.left, W - 10);
    EXPECT_EQ(port.bottom - port.top, H - 21);
    EXPECT_EQ(d->layout.contentHeight, H - 21 - 15);
    // The drawing stays fixed at the top edge across all three changes.
    EXPECT_DOUBLE_EQ(d->view.originY, 21.0);
    RunPasses(5);
    port = PortOf(doc);
    EXPECT_EQ(port.bottom - port.top, H - 21);
}

// New windows fit the screen's work area and step aside from one another.
TEST_F(ShellTest, NewWindowsFitTheScreenAndCascade) {
    DocWindowRecord* first = NewFromMenu();
    DocWindowRecord* second = NewFromMenu();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Rect area, a, b;
    GetAvailableWindowPositioningBounds(GetMainDevice(), &area);
    GetWindowContentBounds(first->window, &a);
    GetWindowContentBounds(second->window, &b);
    for (const Rect& r : {a, b}) {
        EXPECT_GE(r.top, area.top);
        EXPECT_GE(r.left, area.left);
        EXPECT_LE(r.bottom, area.bottom);
        EXPECT_LE(r.right, area.right);
    }
    EXPECT_FALSE(a.top == b.top && a.left == b.left);
    EXPECT_EQ(b.top - a.top, b.left - a.left);
}

TEST_F(ShellTest, TheTitleCarriesTheChangedMarkOnce) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AddUndoableLine(doc);
    EXPECT_EQ(Title(doc->window), "\x13 Untitled");
    EXPECT_FALSE(IsWindowModified(doc->window));
    // Marking again rewrites nothing.
    SetWTitle(doc->window, PStr("other"));
    MarkDocumentDirty(doc);
    EXPECT_EQ(Title(doc->window), "other");
    MarkDocumentClean(doc);
    EXPECT_EQ(Title(doc->window), "Untitled");
    EXPECT_FALSE(doc->drawing->changed);

    // A Unicode name shows the changed state without a prefix.
    doc->drawing->unicodeNameFlag = 1;
    std::snprintf(doc->drawing->unicodeName, sizeof doc->drawing->unicodeName, "Plan \xE2\x82\xAC");
    MarkDocumentDirty(doc);
    Str255 title;
    GetWTitle(doc->window, title);
    EXPECT_NE(title[1], 0x13);
    EXPECT_TRUE(IsWindowModified(doc->window));
}

TEST_F(ShellTest, CloseAsksForAChangedDrawingAndCancelKeepsIt) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AddUndoableLine(doc);

    QueueCommandKey(kKeyCodeW, 'w');
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    RunLoop();
    EXPECT_EQ(OpenDocumentList, doc);
    EXPECT_EQ(FrontDocument(), doc);

    // Saving asks for a name; cancelling the Save panel keeps the drawing open.
    QueueCommandKey(kKeyCodeW, 'w');
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    RunLoop();
    EXPECT_EQ(OpenDocumentList, doc);

    QueueCommandKey(kKeyCodeW, 'w');
    QueueCommandKey(kKeyCodeD, 'd');
    RunLoop();
    EXPECT_EQ(OpenDocumentList, nullptr);
    EXPECT_NE(ApplicationMenuWindow(), nullptr);
}

TEST_F(ShellTest, ClosingAnUnchangedDrawingNeverAsksAndUpdatesTheWindowMenu) {
    DocWindowRecord* first = NewFromMenu();
    DocWindowRecord* second = NewFromMenu();
    ASSERT_NE(second, nullptr);
    MenuRef window = GetMenuHandle(195);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(CountMenuItems(window), 26);

    QueueCommandKey(kKeyCodeW, 'w');
    RunLoop();
    EXPECT_TRUE(RecordedAlerts().empty());
    EXPECT_EQ(OpenDocumentList, first);
    EXPECT_EQ(FrontDocument(), first);
    EXPECT_EQ(CountMenuItems(window), 25);

    QueueCloseBox(first->window);
    RunLoop();
    EXPECT_EQ(OpenDocumentList, nullptr);
    EXPECT_EQ(CountMenuItems(window), 23);
}

TEST_F(ShellTest, TheStatusBarAndButtonsAreDrawn) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    RunLoop();
    Rect port = PortOf(doc);
    const SInt16 W = SInt16(port.right - port.left), H = SInt16(port.bottom - port.top);
    SaveWindowPNG(doc->window, "shell_document_window.png");
    auto ink = [&](SInt16 left, SInt16 top, SInt16 right, SInt16 bottom) {
        for (SInt16 v = top; v < bottom; ++v)
            for (SInt16 h = left; h < right; ++h) {
                RGBColor c = GetPortPixel(GetWindowPort(doc->window), h, v);
                if (c.red < 0xE000 || c.green < 0xE000 || c.blue < 0xE000) return true;
            }
        return false;
    };
    EXPECT_TRUE(ink(1, SInt16(H - 12), 12, SInt16(H - 2)));                   // pen pictogram
    EXPECT_TRUE(ink(20, SInt16(H - 14), 46, H));                              // width, grey in pen mode
    EXPECT_TRUE(ink(153, SInt16(H - 14), 201, H));                            // scale "1:1"
    EXPECT_TRUE(ink(272, SInt16(H - 15), 332, H));                            // snap buttons
    EXPECT_TRUE(ink(SInt16(W - 15), 0, W, 74));                               // side buttons
    EXPECT_FALSE(ink(10, 10, SInt16(doc->drawing->view.viewWidth - 10), 60)); // an empty drawing area
}

TEST_F(ShellTest, SaveInTheCloseQuestionWritesTheDrawingAndTheOpenEventBringsItBack) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AddUndoableLine(doc, 5.0);
    const std::string path = MakeTestFolder("shell_save") + "/Plan.cadx";
    ASSERT_EQ(FSMakeRef(path.c_str(), &doc->drawing->file), noErr);
    doc->drawing->hasFile = 1;

    QueueCommandKey(kKeyCodeW, 'w');
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    RunLoop();
    EXPECT_EQ(OpenDocumentList, nullptr);
    FSRef written;
    ASSERT_EQ(FSPathMakeRef(path.c_str(), &written, nullptr), noErr);

    // A file named on the command line arrives as one open-documents event.
    AESendToSelf(kCoreEventClass, kAEOpenDocuments, {path});
    RunLoop();
    ASSERT_NE(OpenDocumentList, nullptr);
    EXPECT_TRUE(OpenedByAppleEvent);
    EXPECT_FALSE(OpenDocumentList->drawing->changed);
    ASSERT_NE(OpenDocumentList->lineHead->next, nullptr);
    EXPECT_DOUBLE_EQ(OpenDocumentList->lineHead->next->x1, 5.0);
}

TEST_F(ShellTest, ShowGridFromTheSettingsMenuDrawsTheGrid) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    ASSERT_FALSE(doc->settings->gridVisible);
    AdjustMenus(doc);
    Str255 text;
    GetMenuItemText(GetMenuHandle(196), 16, text);
    EXPECT_EQ(ToStd(text), "Show Grid");
    ASSERT_TRUE(ChooseMenuItem(196, 16));
    RunLoop();
    RunPasses(1); // the deferred redraw
    EXPECT_TRUE(doc->settings->gridVisible);
    // Grid lines every 10 pixels at the default scale: a row of the drawing area is no longer blank.
    int marked = 0;
    for (SInt16 h = 0; h < 100; ++h) {
        RGBColor c = GetPortPixel(GetWindowPort(doc->window), h, 40);
        marked += c.red != 0xFFFF || c.green != 0xFFFF || c.blue != 0xFFFF;
    }
    EXPECT_GE(marked, 5);
    SaveWindowPNG(doc->window, "shell_grid.png");
    AdjustMenus(doc);
    GetMenuItemText(GetMenuHandle(196), 16, text);
    EXPECT_EQ(ToStd(text), "Hide Grid");
}
