// Lists drawn into a window: cells, selection by clicks and keys, double-clicks and scrolling.
#include "Interface/DialogLists.h"
#include "GuiHarness.h"

#include <cstring>

namespace {

class ListsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        window = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 300, 400});
        SetPortWindowPort(window);
        Rect view{10, 10, 70, 200}; // three rows of 20 pixels
        ListBounds data{0, 0, 0, 1};
        list = LNew(&view, &data, Point{20, 190}, 0, window, true, false, false, true);
        ASSERT_NE(list, nullptr);
        const char* names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta"};
        LAddRow(8, 0, list);
        for (SInt16 i = 0; i < 8; ++i)
            LSetCell(names[i], static_cast<SInt16>(std::strlen(names[i])), Cell{i, 0}, list);
    }
    void TearDown() override {
        LDispose(list);
        GuiTest::TearDown();
    }
    SInt16 Selected() {
        Cell c{0, 0};
        return LGetSelect(true, &c, list) ? c.v : -1;
    }
    // A click at a local point, answered with LClick as a mouse-down handler would.
    Boolean Click(SInt16 h, SInt16 v, UInt16 modifiers = 0) {
        QueueClick(window, Pt(h, v), modifiers);
        EventRecord e{};
        while (!WaitNextEvent(mDownMask, &e, 0, nullptr)) {
        }
        Point p = e.where;
        GlobalToLocal(&p);
        return LClick(p, e.modifiers, list);
    }
    WindowRef window = nullptr;
    ListHandle list = nullptr;
};

} // namespace

TEST_F(ListsTest, ClicksSelectAndDoubleClicksAreReported) {
    char buffer[20];
    SInt16 length = sizeof buffer;
    LGetCell(buffer, &length, Cell{1, 0}, list);
    EXPECT_EQ(std::string(buffer, length), "Beta");

    EXPECT_FALSE(Click(50, 35)); // row 1
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(Click(50, 35));  // again at once: a double-click
    EXPECT_FALSE(Click(50, 15)); // another row
    EXPECT_EQ(Selected(), 0);
    // Shift extends; a single-selection list keeps one.
    Click(50, 55, shiftKey);
    Cell c{1, 0};
    EXPECT_TRUE(LGetSelect(true, &c, list));
    EXPECT_EQ(c.v, 2);
    SetListSingleSelection(list);
    Click(50, 35, shiftKey);
    Cell first{0, 0};
    LGetSelect(true, &first, list);
    EXPECT_EQ(first.v, 1);
    Cell next{2, 0};
    EXPECT_FALSE(LGetSelect(true, &next, list));
    Cell taken{};
    EXPECT_TRUE(TakeSelectedCell(list, &taken));
    EXPECT_EQ(taken.v, 1);
    EXPECT_EQ(Selected(), -1);

    // The selected row is drawn inverted.
    LSetSelect(true, Cell{0, 0}, list);
    EXPECT_EQ(GetPortPixel(GetWindowPort(window), 180, 15).red, 0);
    EXPECT_EQ(GetPortPixel(GetWindowPort(window), 180, 35).red, 0xFFFF);
}

TEST_F(ListsTest, KeysAndTheScrollBarMoveThroughTheRows) {
    SetListSingleSelection(list);
    ListHandleKey(kDownArrowCharCode, list);
    EXPECT_EQ(Selected(), 0);
    ListHandleKey(kDownArrowCharCode, list);
    ListHandleKey(kUpArrowCharCode, list);
    EXPECT_EQ(Selected(), 0);
    ListHandleKey('t', list);
    ListHandleKey('h', list);
    EXPECT_EQ(Selected(), 7); // "Th": Theta, scrolled into view
    Rect visible{};
    GetListVisibleCells(list, &visible);
    EXPECT_EQ(visible.top, 5);
    ListHandleKey(kUpArrowCharCode, list);
    EXPECT_EQ(Selected(), 6);

    LScroll(-10, 0, list);
    GetListVisibleCells(list, &visible);
    EXPECT_EQ(visible.top, 0);
    // A click in the scroll bar's lower page area scrolls by a page.
    Click(205, 53);
    GetListVisibleCells(list, &visible);
    EXPECT_EQ(visible.top, 2);
    EXPECT_EQ(GetControlValue(GetListVerticalScrollBar(list)), 2);

    LDelRow(0, 0, list);
    Rect data{};
    GetListDataBounds(list, &data);
    EXPECT_EQ(data.bottom, 0);
    EXPECT_EQ(Selected(), -1);
}
