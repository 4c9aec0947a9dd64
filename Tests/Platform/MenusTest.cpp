// Menus: items and their states, command keys, menu choices with the menu-open hook, pop-ups.
#include "Platform/Events.h"
#include "Platform/Menus.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A bar with two menus and a submenu, removed again after each test.
class MenusTest : public testing::Test {
  protected:
    void SetUp() override {
        file = NewMenu(900, PStr("File"));
        AppendMenu(file, PStr("New/N;Open\xC9/O;(Disabled/D;-;Save As\xC9/S;Recent"));
        SetMenuItemModifiers(file, 5, kMenuShiftModifier);
        SetMenuItemCommandID(file, 1, FOUR_CHAR("new "));
        SetMenuItemHierarchicalID(file, 6, 902);
        edit = NewMenu(901, PStr("Edit"));
        AppendMenu(edit, PStr("Undo/Z;Copy/c"));
        recent = NewMenu(902, PStr("Recent"));
        AppendMenuItemText(recent, PStr("a;b/c"));
        InsertMenu(file, 0);
        InsertMenu(edit, 0);
        InsertMenu(recent, hierMenu);
    }
    void TearDown() override {
        SetMenuOpenHook(nullptr);
        while (MenuSelect(Point{0, 0})) {
        }
        DisposeMenu(file);
        DisposeMenu(edit);
        DisposeMenu(recent);
    }
    MenuRef file = nullptr, edit = nullptr, recent = nullptr;
};

std::string Text(MenuRef m, SInt16 item) {
    Str255 s;
    GetMenuItemText(m, item, s);
    return ToStd(s);
}

int gHookRuns = 0;
MenuRef gHookMenu = nullptr;

} // namespace

TEST_F(MenusTest, ItemsKeepTextsMarksAndStates) {
    ASSERT_EQ(CountMenuItems(file), 6);
    EXPECT_EQ(Text(file, 2), "Open\xC9");
    EXPECT_FALSE(IsMenuItemEnabled(file, 3));
    EXPECT_EQ(CountMenuItems(recent), 1); // the Text form reads no metacharacters
    EXPECT_EQ(Text(recent, 1), "a;b/c");
    EXPECT_EQ(GetMenuHandle(902), recent);
    EXPECT_EQ(GetMenuHandle(999), nullptr);

    // Item 0 is the whole menu: its items report disabled while it is.
    DisableMenuItem(file, 0);
    EXPECT_FALSE(IsMenuItemEnabled(file, 1));
    EnableMenuItem(file, 0);
    EXPECT_TRUE(IsMenuItemEnabled(file, 1));

    CheckMenuItem(edit, 1, true);
    SInt16 mark = 0;
    GetItemMark(edit, 1, &mark);
    EXPECT_EQ(mark, checkMark);
    CheckMenuItem(edit, 1, false);
    GetItemMark(edit, 1, &mark);
    EXPECT_EQ(mark, 0);

    DisableMenuCommand(nullptr, FOUR_CHAR("new "));
    EXPECT_FALSE(IsMenuCommandEnabled(nullptr, FOUR_CHAR("new ")));
    EXPECT_FALSE(IsMenuItemEnabled(file, 1));
    EnableMenuCommand(file, FOUR_CHAR("new "));
    EXPECT_TRUE(IsMenuItemEnabled(file, 1));

    InsertMenuItemText(edit, PStr("Top"), 0);
    DeleteMenuItem(edit, 3);
    EXPECT_EQ(Text(edit, 1), "Top");
    EXPECT_EQ(CountMenuItems(edit), 2);
    // Out-of-range items are ignored.
    SetMenuItemText(edit, 9, PStr("x"));
    DeleteMenuItem(edit, 0);
    EXPECT_EQ(CountMenuItems(edit), 2);
}

TEST_F(MenusTest, CommandKeysFindEnabledItemsOnly) {
    EXPECT_EQ(MenuKey('n'), (900 << 16) | 1);
    EXPECT_EQ(MenuKey('C'), (901 << 16) | 2); // letters match in either case
    EXPECT_EQ(MenuKey('D'), 0);               // a disabled item
    EXPECT_EQ(MenuKey('S'), 0);               // needs Shift as well
    EXPECT_EQ(MenuKey('Q'), 0);
    DisableMenuItem(edit, 0);
    EXPECT_EQ(MenuKey('Z'), 0);
    ChangeMenuItemAttributes(file, 1, kMenuItemAttrHidden, 0);
    EXPECT_EQ(MenuKey('N'), 0);
}

TEST_F(MenusTest, ChoicesRunTheOpenHookFirstAndReachMenuSelectOnce) {
    gHookRuns = 0;
    gHookMenu = file;
    // The program's menu enabling decides before the choice is taken.
    SetMenuOpenHook([] {
        ++gHookRuns;
        DisableMenuItem(gHookMenu, 2);
    });
    EXPECT_FALSE(ChooseMenuItem(900, 2));
    EXPECT_EQ(gHookRuns, 1);
    EXPECT_EQ(MenuSelect(Point{0, 0}), 0);
    EXPECT_TRUE(ChooseMenuItem(900, 1));
    EXPECT_EQ(MenuSelect(Point{0, 0}), (900 << 16) | 1);
    EXPECT_EQ(HilitedMenu(), 900);
    EXPECT_EQ(MenuSelect(Point{0, 0}), 0);
    EXPECT_FALSE(ChooseMenuItem(900, 4)); // a separator
    EXPECT_TRUE(ChooseMenuItem(902, 1));  // submenu items too
    EXPECT_EQ(MenuSelect(Point{0, 0}), (902 << 16) | 1);
}

TEST_F(MenusTest, PopUpMenusReturnTheQueuedChoice) {
    QueuePopUpMenuChoice(2);
    QueuePopUpMenuChoice(3);
    QueuePopUpMenuChoice(0);
    EXPECT_EQ(PopUpMenuSelect(edit, 10, 10, 1), (901 << 16) | 2);
    EXPECT_EQ(PopUpMenuSelect(edit, 10, 10, 1), 0); // no item 3
    EXPECT_EQ(PopUpMenuSelect(edit, 10, 10, 1), 0); // cancelled
    // With nothing queued nobody can answer on the test platform: cancelled.
    EnsureTestApplication();
    EXPECT_EQ(PopUpMenuSelect(edit, 10, 10, 1), 0);
}

TEST_F(MenusTest, QtMenusShowAmpersandsAndKeys) {
    EnsureTestApplication();
    SInt16 count = CountMenuItems(file);
    AppendMenuItemText(file, PStr("Plan & Co"));
    EXPECT_EQ(MenuItemShownText(file, count + 1), "Plan && Co");
    EXPECT_EQ(MenuItemShownText(file, 1), "New\tCtrl+N");
    EXPECT_EQ(MenuItemShownText(file, 5), "Save As\xE2\x80\xA6\tCtrl+Shift+S");
}

TEST_F(MenusTest, KeyEventsMatchTheItemsModifiers) {
    EventRecord e{};
    e.what = keyDown;
    e.message = 's';
    e.modifiers = cmdKey | shiftKey;
    EXPECT_EQ(MenuEvent(&e), static_cast<UInt32>((900 << 16) | 5));
    e.modifiers = cmdKey;
    EXPECT_EQ(MenuEvent(&e), 0u); // Save As wants Shift as well
    e.message = 'n';
    EXPECT_EQ(MenuEvent(&e), static_cast<UInt32>((900 << 16) | 1));
    e.modifiers = 0;
    EXPECT_EQ(MenuEvent(&e), 0u); // without Command no plain item answers
    e.what = keyUp;
    e.modifiers = cmdKey;
    EXPECT_EQ(MenuEvent(&e), 0u);
}
