// Dialogs over real widgets answered by queued input: item kinds and controls, typing into edit texts,
// Tab, Return and Escape, clicks on items, pop-ups, item lists appended and removed, and alerts.
#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "GuiHarness.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The program's own resources and a test dialog beside them.
class DialogsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        std::string folder = MakeTestFolder("dialog-resources");
        for (const char* name : {"strings.rdesc", "dialogs.rdesc"})
            fs::copy_file(AppResourceFolder() + "/" + name, folder + "/" + name);
        std::ofstream(folder + "/test.rdesc")
            << "DLOG 9000 100 100 300 500 \"Test\" kind movable\n"
               "DITL 9000\n"
               "  1 button 160 300 180 380 \"OK\"\n"
               "  2 button 160 200 180 280 \"Cancel\"\n"
               "  3 edit 10 120 26 380 \"abc\"\n"
               "  4 edit 40 120 56 380 \"\"\n"
               "  5 check 70 10 90 200 \"Snap\"\n"
               "  6 radio 100 10 120 200 \"Left\"\n"
               "  7 static 10 10 26 110 \"Width ^0:\"\n"
               "  8 popup 130 10 150 250 \"Unit:\" menu 9001 value 2 titlewidth 60\n"
               "  9 button 160 10 180 90 \"Dimmed\" disabled\n"
               "  10 user 40 10 60 110\n"
               "DITL 9002\n"
               "  1 check 0 10 20 200 \"Page item\"\n"
               "  2 edit 24 10 40 200 \"p\"\n"
               "MENU 9001 \"Units\"\n"
               "  1 \"mm\"\n"
               "  2 \"inch\"\n"
               "  3 \"point\"\n";
        LoadAppResourcesFrom(folder);
        ClearRecordedAlerts();
        SetAlertResponder(nullptr);
    }
    void TearDown() override {
        if (dialog) DisposeDialog(dialog);
        ResetAppResources();
        GuiTest::TearDown();
    }

    DialogRef Open() {
        dialog = GetNewDialog(9000, nullptr, nullptr);
        EXPECT_NE(dialog, nullptr);
        SetDialogDefaultItem(dialog, 1);
        SetDialogCancelItem(dialog, 2);
        return dialog;
    }
    // A click at a local point of the test dialog, whose content stands at (100, 100).
    static void QueueDialogClick(SInt16 h, SInt16 v) {
        SimulateMouseMove(Point{static_cast<SInt16>(100 + v), static_cast<SInt16>(100 + h)});
        SimulateMouseButton(true, 0);
        SimulateMouseButton(false, 0);
    }
    std::string Text(SInt16 item) const {
        Str255 s;
        GetDialogItemTextByNumber(dialog, item, s);
        return ToStd(s);
    }
    SInt16 Run() {
        SInt16 item = 0;
        ModalDialog(nullptr, &item);
        return item;
    }
    ControlRef Control(SInt16 item) const {
        ControlRef c = nullptr;
        GetDialogItemAsControl(dialog, item, &c);
        return c;
    }

    DialogRef dialog = nullptr;
};

} // namespace

TEST_F(DialogsTest, ItemsKeepTheirKindsRectanglesAndControls) {
    Open();
    ASSERT_EQ(CountDITL(dialog), 10);
    struct Case {
        SInt16 item;
        SInt16 type;
        Rect rect;
    };
    const Case cases[] = {
        {1, ctrlItem + btnCtrl, {160, 300, 180, 380}},
        {3, editText, {10, 120, 26, 380}},
        {5, ctrlItem + chkCtrl, {70, 10, 90, 200}},
        {6, ctrlItem + radCtrl, {100, 10, 120, 200}},
        {7, statText, {10, 10, 26, 110}},
        {8, ctrlItem + resCtrl, {130, 10, 150, 250}},
        {9, ctrlItem + btnCtrl + itemDisable, {160, 10, 180, 90}},
        {10, userItem, {40, 10, 60, 110}},
    };
    for (const Case& c : cases) {
        SInt16 type = 0;
        Handle h = nullptr;
        Rect r{};
        GetDialogItem(dialog, c.item, &type, &h, &r);
        EXPECT_EQ(type, c.type) << c.item;
        EXPECT_TRUE(EqualRect(&r, &c.rect)) << c.item;
        ControlRef control = Control(c.item);
        ASSERT_NE(control, nullptr) << c.item;
        Rect bounds{};
        GetControlBounds(control, &bounds);
        EXPECT_TRUE(EqualRect(&bounds, &c.rect)) << c.item;
    }
    EXPECT_EQ(Text(3), "abc");
    EXPECT_EQ(GetDialogKeyboardFocusItem(dialog), 3);
    EXPECT_EQ(GetControlValue(Control(8)), 2);
    EXPECT_EQ(GetControlMaximum(Control(8)), 3);
    Str255 title;
    GetControlTitle(Control(2), title);
    EXPECT_EQ(ToStd(title), "Cancel");
    // Item text by handle and by number agree; static texts keep their ^0 until drawn.
    Handle h = nullptr;
    SInt16 type = 0;
    Rect r{};
    GetDialogItem(dialog, 4, &type, &h, &r);
    SetDialogItemText(h, PStr("by handle"));
    EXPECT_EQ(Text(4), "by handle");
    EXPECT_EQ(Text(7), "Width ^0:");
    ParamText(PStr("X"), nullptr, nullptr, nullptr);
    DrawDialog(dialog);
    EXPECT_TRUE(
        SaveWindowWithWidgetsPNG(GetDialogWindow(dialog), TestOutputPath("dialog-items.png").c_str()));
}

TEST_F(DialogsTest, TypedKeysFillTheFocusedEditTextAndReturnConfirms) {
    Open();
    QueueTypedText("12.5\t7\r");
    std::vector<SInt16> hits;
    SInt16 item = 0;
    while ((item = Run()) != 1)
        hits.push_back(item);
    // Each key reports the edit text it went to; Tab moved to the next one and reported nothing.
    EXPECT_EQ(hits, (std::vector<SInt16>{3, 3, 3, 3, 4}));
    EXPECT_EQ(Text(3), "12.5"); // the selected "abc" was replaced
    EXPECT_EQ(Text(4), "7");
}

// A field whose text is set with the field deactivated meanwhile, then selected, is replaced by the
// first keys once the window comes up; a field focused while another was deactivated keeps the focus.
TEST_F(DialogsTest, TypingAtOnceReplacesAFieldSelectedAfterItsTextWasSet) {
    struct Case {
        const char* what;
        bool focusMovesMeanwhile;
        SInt16 typedInto;
        std::string want3, want4;
    } cases[] = {
        {"the selected field", false, 3, "9", "xyz"},
        {"the field focused while the first was inactive", true, 4, "0.00", "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open();
        SetDialogItemTextByNumber(dialog, 4, PStr("xyz"));
        DeactivateControl(Control(3));
        SetDialogItemTextByNumber(dialog, 3, PStr("0.00"));
        if (c.focusMovesMeanwhile) SelectDialogItemText(dialog, 4, 0, 32767);
        ActivateControl(Control(3));
        SelectDialogItemText(dialog, c.typedInto, 0, 32767);
        ShowWindow(GetDialogWindow(dialog));
        SelectWindow(GetDialogWindow(dialog));
        QueueTypedText("9\r");
        while (Run() != 1) {
        }
        EXPECT_EQ(Text(3), c.want3);
        EXPECT_EQ(Text(4), c.want4);
        DisposeDialog(dialog);
        dialog = nullptr;
    }
}

TEST_F(DialogsTest, ClicksReportEnabledItemsOnlyAndEscapeCancels) {
    Open();
    UInt32 beeps = BeepCount();
    QueueDialogClick(20, 80);  // the check box
    QueueDialogClick(20, 170); // the dimmed button: nothing
    QueueDialogClick(20, 50);  // the user item
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_EQ(Run(), 5);
    EXPECT_EQ(GetControlValue(Control(5)), 0); // the program toggles check boxes itself
    EXPECT_EQ(Run(), 10);
    EXPECT_EQ(Run(), 2);
    EXPECT_EQ(BeepCount(), beeps);

    // A dimmed control takes no click; an edit text takes the focus from a click.
    HiliteControl(Control(5), 255);
    QueueDialogClick(20, 80);
    QueueDialogClick(200, 48);
    EXPECT_EQ(Run(), 4);
    EXPECT_EQ(GetDialogKeyboardFocusItem(dialog), 4);
}

TEST_F(DialogsTest, PopUpsTakeTheChosenItemAsValue) {
    Open();
    QueuePopUpMenuChoice(3);
    QueueDialogClick(150, 140);
    EXPECT_EQ(Run(), 8);
    EXPECT_EQ(GetControlValue(Control(8)), 3);
    // A cancelled menu reports nothing.
    QueuePopUpMenuChoice(0);
    QueueDialogClick(150, 140);
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(GetControlValue(Control(8)), 3);
}

TEST_F(DialogsTest, ItemListsAreAppendedAndRemoved) {
    Open();
    AppendDITL(dialog, 9002, appendDITLBottom);
    ASSERT_EQ(CountDITL(dialog), 12);
    Rect r{};
    SInt16 type = 0;
    Handle h = nullptr;
    GetDialogItem(dialog, 12, &type, &h, &r);
    EXPECT_EQ(type, editText);
    EXPECT_EQ(r.top, 180 + 24); // below the lowest present item
    Str255 s;
    GetDialogItemTextByNumber(dialog, 12, s);
    EXPECT_EQ(ToStd(s), "p");
    ShortenDITL(dialog, 2);
    EXPECT_EQ(CountDITL(dialog), 10);
    AppendDITL(dialog, 9002, overlayDITL);
    GetDialogItem(dialog, 11, &type, &h, &r);
    EXPECT_EQ(r.top, 0);
    ShortenDITL(dialog, 99);
    EXPECT_EQ(CountDITL(dialog), 0);
    ControlRef none = nullptr;
    EXPECT_EQ(GetDialogItemAsControl(dialog, 1, &none), errControlDoesntSupportFocus);
}

// A dialog or alert that runs while Apple events are queued (files named on the command line) leaves
// them for the main loop.
TEST_F(DialogsTest, AppleEventsWaitInTheQueueWhileADialogOrAlertRuns) {
    Open();
    EventRecord apple{};
    apple.what = kHighLevelEvent;
    apple.message = FOUR_CHAR("aevt");
    ASSERT_EQ(PostEventRecord(apple), noErr);
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    EXPECT_EQ(Run(), 1);
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    ShowErrorAlert(44, PStr("plan.dxf"));
    EXPECT_EQ(RecordedAlerts().size(), 1u);
    EventRecord left{};
    EXPECT_TRUE(EventAvail(highLevelEventMask, &left));
    EXPECT_EQ(left.what, kHighLevelEvent);
    FlushEvents(highLevelEventMask, 0);
}

TEST_F(DialogsTest, AlertsAreAnsweredByQueuedKeys) {
    // Alert 128 with "#" replaced, answered by Return.
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    ShowErrorAlert(44, PStr("plan.dxf"));
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_EQ(RecordedAlerts()[0].params[0], "The file \"plan.dxf\" could not be found.");

    // Alert 133: Return chooses item 1 (no); Command-Y item 2 (yes); a letter alone and Escape nothing.
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    EXPECT_FALSE(AskConfirm(6, PStr(""), PStr("")));
    QueueKey(kKeyCodeY, 'y', cmdKey);
    EXPECT_TRUE(AskConfirm(6, PStr(""), PStr("")));
    QueueKey(kKeyCodeY, 'y');
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    QueueKey(kKeyCodeN, 'n', cmdKey); // item 3 has no button
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    EXPECT_FALSE(AskConfirm(6, PStr(""), PStr("")));

    // The save question: Escape is its Cancel, Command-D its Don't Save.
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    EXPECT_EQ(AskSaveChanges(PStr("Plan"), true), 3);
    QueueKey(kKeyCodeD, 'd', cmdKey);
    EXPECT_EQ(AskSaveChanges(PStr("Plan"), false), 2);
    QueueKey(kKeyCodeS, 's', cmdKey); // "S" is not item 2's or 3's letter
    QueueKey(kKeyCodeKeypadEnter, kEnterCharCode);
    EXPECT_EQ(AskSaveChanges(PStr("Plan"), false), 1);
}
