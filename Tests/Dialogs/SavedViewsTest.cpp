// Saved views from the Window menu's submenus: stored under a name typed into the name dialog, kept
// sorted, listed in menus 153, 154 and 176, recalled, renamed and removed.
#include "ShellTestSupport.h"

#include "Platform/Menus.h"
#include "Shell/MenuBar.h"
#include "View/SavedViews.h"
#include "View/ZoomExtents.h"

#include <cstring>
#include <string>

namespace {

std::string Name(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

std::string Items(SInt16 menuId) {
    MenuRef menu = GetMenuHandle(menuId);
    std::string all;
    for (SInt16 i = 1; menu != nullptr && i <= CountMenuItems(menu); ++i) {
        Str255 text;
        GetMenuItemText(menu, i, text);
        all += (i > 1 ? "," : "") + Name(text);
    }
    return all;
}

StringPtr P(const char* text, Str255 buffer) {
    buffer[0] = UInt8(std::strlen(text));
    std::memcpy(buffer + 1, text, buffer[0]);
    return buffer;
}

class SavedViews : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
    }

    void Look(Float64 x, Float64 y, Float64 unitsPerPixel) {
        SetViewScale(doc->drawing, unitsPerPixel);
        SetViewOrigin(doc->drawing, x, y);
    }

    DocWindowRecord* doc = nullptr;
};

} // namespace

TEST_F(SavedViews, StoredViewsAreSortedListedAndRecalledFromMenu153) {
    Str255 name;
    Look(100, 200, 0.5);
    ASSERT_NE(StoreView(doc, P("b", name)), nullptr);
    Look(0, 0, 2);
    StoreView(doc, P("A", name));
    StoreView(doc, P("c", name));
    EXPECT_EQ(Items(kViewsMenu), "A,b,c");
    EXPECT_EQ(Items(kDeleteViewMenu), "A,b,c");
    EXPECT_EQ(Items(kRenameViewMenu), "A,b,c");
    EXPECT_TRUE(doc->drawing->changed);

    const SavedViewRecord* b = SavedViewAt(doc, 2);
    ASSERT_EQ(Name(b->name), "b");
    EXPECT_DOUBLE_EQ(b->rect[0], 100);
    EXPECT_DOUBLE_EQ(b->rect[2], 100 + doc->drawing->view.viewWidth * 0.5);

    ASSERT_TRUE(ChooseMenuItem(kViewsMenu, 2));
    RunLoop();
    const DrawingViewState& v = doc->drawing->view;
    EXPECT_NEAR(v.unitsPerPixel, 0.5, 1e-9);
    EXPECT_NEAR(v.originX, 100, 1e-6);
    EXPECT_NEAR(v.originY, 200, 1e-6);
    EXPECT_TRUE(v.previousViewValid);
    EXPECT_NEAR(v.previousUnitsPerPixel, 2, 1e-9);

    // A name already used takes the new rectangle; no second view is made.
    Look(5, 5, 1);
    StoreView(doc, P("B", name));
    EXPECT_EQ(CountSavedViews(doc), 3);
    EXPECT_DOUBLE_EQ(SavedViewAt(doc, 2)->rect[0], 5);
}

TEST_F(SavedViews, NameDialogSavesRenameResortsAndDeleteRemoves) {
    QueueTypedText("Middle\r");
    SaveCurrentView(doc);
    ASSERT_EQ(CountSavedViews(doc), 1);
    EXPECT_EQ(Name(SavedViewAt(doc, 1)->name), "Middle");

    Str255 name;
    StoreView(doc, P("Zed", name));
    ASSERT_TRUE(ChooseMenuItem(kRenameViewMenu, 2));
    QueueTypedText("Aft\r");
    RunLoop();
    EXPECT_EQ(Items(kViewsMenu), "Aft,Middle");

    // Cancel keeps the name; an empty name is not taken.
    ASSERT_TRUE(ChooseMenuItem(kRenameViewMenu, 1));
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
    RunLoop();
    EXPECT_EQ(Items(kViewsMenu), "Aft,Middle");

    ASSERT_TRUE(ChooseMenuItem(kDeleteViewMenu, 1));
    RunLoop();
    EXPECT_EQ(Items(kViewsMenu), "Middle");
}

TEST_F(SavedViews, AViewWithoutAreaLeavesTheWindowAsItIs) {
    Str255 name;
    SavedViewRecord* v = StoreView(doc, P("flat", name));
    ASSERT_NE(v, nullptr);
    v->rect[3] = v->rect[1];
    Look(7, 8, 3);
    EXPECT_FALSE(GoToSavedView(doc, 1));
    EXPECT_FALSE(GoToSavedView(doc, 2));
    EXPECT_DOUBLE_EQ(doc->drawing->view.unitsPerPixel, 3);
    EXPECT_DOUBLE_EQ(doc->drawing->view.originX, 7);
}
