// The menu bar on the windows: document windows carry it, the application window holds it while no
// document is open, and a choice made in it arrives as a mouse-down in the menu bar.
#include "GuiHarness.h"
#include "Platform/Menus.h"

namespace {

class MenuBarHostTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        file = NewMenu(950, PStr("File"));
        AppendMenu(file, PStr("New/N;Quit/Q"));
        InsertMenu(file, 0);
        StartMenuBarHost();
    }
    void TearDown() override {
        StopMenuBarHost();
        DisposeMenu(file);
        GuiTest::TearDown();
    }
    // Takes events until the mouse-down a menu choice stands for; the window it was in.
    static WindowRef TakeMenuChoice(SInt32* choice) {
        for (int i = 0; i < 20; ++i) {
            EventRecord e{};
            if (!WaitNextEvent(everyEvent, &e, 0, nullptr) || e.what != mouseDown) continue;
            WindowRef window = nullptr;
            if (FindWindow(e.where, &window) != inMenuBar) return nullptr;
            *choice = MenuSelect(e.where);
            return window;
        }
        return nullptr;
    }
    MenuRef file = nullptr;
};

} // namespace

TEST_F(MenuBarHostTest, TheApplicationWindowHoldsTheBarWhileNoDocumentIsOpen) {
    WindowRef app = ApplicationMenuWindow();
    ASSERT_NE(app, nullptr);
    EXPECT_TRUE(IsWindowVisible(app));
    SInt32 choice = 0;
    ASSERT_TRUE(ChooseMenuItem(950, 1));
    EXPECT_EQ(TakeMenuChoice(&choice), app);
    EXPECT_EQ(choice, (950 << 16) | 1);

    WindowRef doc = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 300, 400});
    EXPECT_EQ(ApplicationMenuWindow(), nullptr);
    ASSERT_TRUE(ChooseMenuItem(950, 2));
    EXPECT_EQ(TakeMenuChoice(&choice), doc);
    EXPECT_EQ(choice, (950 << 16) | 2);

    // Palettes do not count as documents.
    WindowRef palette = MakeTestWindow(kFloatingWindowClass, Rect{100, 500, 200, 600});
    DisposeWindow(doc);
    ASSERT_NE(ApplicationMenuWindow(), nullptr);
    DisposeWindow(palette);
    EXPECT_NE(ApplicationMenuWindow(), nullptr);
}
