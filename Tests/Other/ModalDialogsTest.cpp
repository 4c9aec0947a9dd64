// The modal-dialog framework end to end: remembered positions, the menus' modal state with nested
// dialogs, the standard filter's Return and Escape, clicks elsewhere, and the bound of the stack.
#include "Platform/AppResources.h"
#include "Model/DocumentRecords.h"
#include "GuiHarness.h"
#include "Interface/MenuItemsById.h"
#include "Interface/ModalDialogs.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class ModalDialogsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        std::string folder = MakeTestFolder("modal-resources");
        for (const char* name : {"strings.rdesc", "dialogs.rdesc"})
            fs::copy_file(AppResourceFolder() + "/" + name, folder + "/" + name);
        std::ofstream(folder + "/test.rdesc") << "DLOG 9100 100 120 220 420 \"Options\" kind movable hidden\n"
                                                 "DITL 9100\n"
                                                 "  1 button 90 210 110 290 \"OK\"\n"
                                                 "  2 button 90 120 110 200 \"Cancel\"\n"
                                                 "  3 edit 10 100 26 290 \"\"\n"
                                                 "  4 button 90 10 110 110 \"Cancel\"\n"
                                                 "  5 static 10 10 26 95 \"Length:\"\n"
                                                 "MENU 128 \"Draftwerk\"\n"
                                                 "  1 \"About Draftwerk\"\n"
                                                 "  2 \"Preferences…\" command pref\n"
                                                 "  3 \"Quit\" key Q command quit\n"
                                                 "MENU 197 \"Edit\"\n"
                                                 "  1 \"Undo\" key Z\n";
        LoadAppResourcesFrom(folder);
        appMenu = GetMenu(128);
        editMenu = GetMenu(197);
        InsertMenu(appMenu, 0);
        InsertMenu(editMenu, 0);
        ResetDialogStack();
    }
    void TearDown() override {
        while (DialogRef d = DialogStackTop())
            CloseModalDialog(d, nullptr);
        OpenDocumentList = nullptr;
        DisposeMenu(appMenu);
        DisposeMenu(editMenu);
        ResetAppResources();
        GuiTest::TearDown();
    }
    static bool Quit() { return IsMenuCommandEnabled(nullptr, FOUR_CHAR("quit")); }
    static Point ContentTopLeft(DialogRef d) {
        Rect r{};
        GetWindowContentBounds(GetDialogWindow(d), &r);
        return Point{r.top, r.left};
    }
    static void QueueLocalClick(DialogRef d, SInt16 h, SInt16 v) {
        Point p = ContentTopLeft(d);
        SimulateMouseMove(Point{static_cast<SInt16>(p.v + v), static_cast<SInt16>(p.h + h)});
        SimulateMouseButton(true, 0);
        SimulateMouseButton(false, 0);
    }

    MenuRef appMenu = nullptr;
    MenuRef editMenu = nullptr;
};

} // namespace

TEST_F(ModalDialogsTest, RememberedPointsOnlyCountOnTheDesktop) {
    struct Case {
        Point saved;
        Point expected;
    };
    const Case cases[] = {
        {{150, 250}, {150, 250}},     // on the desktop
        {{-9000, -9000}, {100, 120}}, // a screen that is gone: the resource position
        {{0, 0}, {100, 120}},         // a slot never used
    };
    for (const Case& c : cases) {
        DialogRef d = OpenModalDialog(9100, c.saved);
        ASSERT_NE(d, nullptr);
        Point at = ContentTopLeft(d);
        EXPECT_EQ(at.h, c.expected.h) << c.saved.h;
        EXPECT_EQ(at.v, c.expected.v) << c.saved.v;
        EXPECT_TRUE(IsWindowVisible(GetDialogWindow(d)));
        EXPECT_EQ(GetDialogDefaultItem(d), 1);
        MoveWindow(GetDialogWindow(d), 310, 140, false);
        Point slot = c.saved;
        CloseModalDialog(d, &slot);
        EXPECT_EQ(slot.h, 310);
        EXPECT_EQ(slot.v, 140);
    }
}

TEST_F(ModalDialogsTest, TypedTextIsConfirmedWithReturn) {
    DialogRef d = OpenModalDialog(9100, Point{0, 0});
    QueueTypedText("25*2\r");
    SInt16 item = 0;
    do
        RunModalDialogStd(d, &item);
    while (item != 1 && item != 2);
    EXPECT_EQ(item, 1);
    Str255 text;
    GetDialogItemTextByNumber(d, 3, text);
    EXPECT_EQ(ToStd(text), "25*2");
    CloseModalDialog(d, nullptr);
}

TEST_F(ModalDialogsTest, EscapeChoosesTheFirstEnabledCancelButton) {
    DialogRef d = OpenModalDialog(9100, Point{0, 0});
    ControlRef cancel = nullptr;
    GetDialogItemAsControl(d, 2, &cancel);
    HiliteControl(cancel, 255);
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    SInt16 item = 0;
    RunModalDialogStd(d, &item);
    EXPECT_EQ(item, 4); // item 2 is dimmed and passed over
    QueueKey(kKeyCodePeriod, '.', cmdKey);
    RunModalDialogStd(d, &item);
    EXPECT_EQ(item, 4);
    // With no enabled cancel button Escape chooses no button (it goes to the edit text like any other
    // key); Return still chooses item 1.
    ControlRef other = nullptr;
    GetDialogItemAsControl(d, 4, &other);
    HiliteControl(other, 255);
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    QueueKey(kKeyCodeReturn, kReturnCharCode);
    RunModalDialogStd(d, &item);
    EXPECT_EQ(item, 3);
    RunModalDialogStd(d, &item);
    EXPECT_EQ(item, 1);
    CloseModalDialog(d, nullptr);
}

TEST_F(ModalDialogsTest, NestedDialogsKeepTheMenusModalUntilTheLastCloses) {
    // Without documents only Preferences and Quit are switched.
    EXPECT_TRUE(Quit());
    DialogRef first = OpenModalDialog(9100, Point{0, 0});
    EXPECT_FALSE(Quit());
    EXPECT_TRUE(IsMenuItemEnabled(editMenu, 0));
    CloseModalDialog(first, nullptr);
    EXPECT_TRUE(Quit());

    // With a document open the document menus go too.
    DocWindowRecord doc{};
    OpenDocumentList = &doc;
    first = OpenModalDialog(9100, Point{0, 0});
    EXPECT_FALSE(Quit());
    EXPECT_FALSE(IsMenuItemEnabled(editMenu, 0));
    EXPECT_TRUE(IsMenuItemEnabled(appMenu, 1));
    DialogRef second = OpenModalDialog(9100, Point{0, 0});
    EXPECT_EQ(DialogStackDepth(), 2);
    CloseModalDialog(second, nullptr);
    EXPECT_EQ(DialogStackTop(), first);
    EXPECT_FALSE(Quit());
    EXPECT_FALSE(IsMenuItemEnabled(editMenu, 0));
    CloseModalDialog(first, nullptr);
    EXPECT_TRUE(Quit());
    EXPECT_TRUE(IsMenuItemEnabled(editMenu, 0));
    EXPECT_EQ(DialogStackDepth(), 0);
}

TEST_F(ModalDialogsTest, AClickInAnotherWindowOnlyBeeps) {
    WindowRef behind = MakeTestWindow(kDocumentWindowClass, Rect{300, 500, 500, 800});
    DialogRef d = OpenModalDialog(9100, Point{0, 0});
    UInt32 beeps = BeepCount();
    QueueClick(behind, Pt(50, 50));
    QueueLocalClick(d, 250, 100); // OK
    SInt16 item = 0;
    RunModalDialogStd(d, &item);
    EXPECT_EQ(item, 1);
    EXPECT_EQ(BeepCount(), beeps + 1);
    EXPECT_EQ(FrontWindow(), GetDialogWindow(d));
    CloseModalDialog(d, nullptr);
}

TEST_F(ModalDialogsTest, TheStackRefusesDialogsPastItsBound) {
    std::vector<DialogRef> open;
    for (SInt32 i = 0; i < kDialogStackCapacity; ++i) {
        DialogRef d = OpenModalDialog(9100, Point{0, 0});
        ASSERT_NE(d, nullptr);
        open.push_back(d);
    }
    EXPECT_EQ(OpenModalDialog(9100, Point{0, 0}), nullptr);
    EXPECT_EQ(OpenStackedDialog(9100), nullptr);
    EXPECT_EQ(DialogStackDepth(), kDialogStackCapacity);
    EXPECT_EQ(DialogStackTop(), open.back());
    // A missing dialog neither counts nor changes the menus.
    while (!open.empty()) {
        CloseModalDialog(open.back(), nullptr);
        open.pop_back();
    }
    EXPECT_EQ(OpenModalDialog(4242, Point{0, 0}), nullptr);
    EXPECT_EQ(DialogStackDepth(), 0);
    EXPECT_TRUE(Quit());
}
