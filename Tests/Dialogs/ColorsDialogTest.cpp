// The colours dialog end to end from Settings > Colours: a grid cell or the colour picker changes the
// chosen colour at once, Cancel puts every colour back but keeps the table chosen, and the grid is
// exactly 130 pixels square so every cell index is 0..255.
#include "DialogItemInput.h"

#include "Dialogs/ColorsDialog.h"
#include "Platform/ColorPicker.h"
#include "Shell/MenuBar.h"

namespace {

constexpr SInt16 kSlot = 5;
enum : SInt16 { kGrid = 4, kSwatch = 5, kChoice = 6, kSystem = 9, kElement = 10 };

bool Same(const RGBColor& a, const RGBColor& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

class Colors : public ToolGuiTest {
  protected:
    void Open() { ASSERT_TRUE(ChooseDialogFromMenu(kSettingsMenu, 10)); }
    // A click on grid cell (column, row), inside the frame.
    void Cell(int column, int row) {
        QueueItemClick(kColorsDialog, kGrid, kSlot, SInt16(1 + column * 8 + 3), SInt16(1 + row * 8 + 3));
    }
};

} // namespace

TEST(ColorGrid, ItemIsExactly130SquareAndEveryCellIndexIs0To255) {
    const DialogDesc* d = FindDialogResource(kColorsDialog);
    ASSERT_NE(d, nullptr);
    const Rect r = FindItemListResource(d->itemListId)->items[kGrid - 1].rect;
    EXPECT_EQ(r.right - r.left, 130);
    EXPECT_EQ(r.bottom - r.top, 130);
    Rect inner = r;
    InsetRect(&inner, 1, 1);
    EXPECT_EQ(ColorGridCell(inner, Point{inner.top, inner.left}), 0);
    EXPECT_EQ(ColorGridCell(inner, Point{SInt16(inner.bottom - 1), SInt16(inner.right - 1)}), 255);
    EXPECT_EQ(ColorGridCell(inner, Point{SInt16(inner.top + 8), SInt16(inner.left + 17)}), 18);
    EXPECT_EQ(ColorGridCell(inner, Point{r.top, r.left}), -1); // the frame
    EXPECT_EQ(ColorGridCell(inner, Point{inner.bottom, inner.left}), -1);
}

TEST_F(Colors, GridCellChangesThePenChosenAndCancelRestoresEveryColour) {
    DocSettings* s = doc->settings;
    const RGBColor pen3 = s->penColors[2], background = s->backgroundColor;
    const SInt16 table = s->colorTableChoice;
    const SInt16 other = table == 0 ? kElement : kSystem;
    Open();
    QueuePopupChoice(kColorsDialog, kChoice, kSlot, 9); // pen 3
    QueueClickSeparator();
    QueueItemClick(kColorsDialog, other, kSlot, 8);
    QueueClickSeparator();
    Cell(5, 2);
    QueueEscape();
    RunLoop();
    EXPECT_TRUE(Same(s->penColors[2], pen3));
    EXPECT_TRUE(Same(s->backgroundColor, background));
    EXPECT_EQ(s->colorTableChoice, other == kElement ? 1 : 0); // the table choice stays
    EXPECT_FALSE(doc->drawing->changed);
    // The same with OK: pen 3 takes cell 37 of the table shown.
    Open();
    QueuePopupChoice(kColorsDialog, kChoice, kSlot, 9);
    QueueClickSeparator();
    Cell(5, 2);
    QueueReturn();
    RunLoop();
    EXPECT_TRUE(Same(s->penColors[2], ColorTable(s->colorTableChoice)[37]));
    EXPECT_TRUE(Same(s->backgroundColor, background));
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(Colors, ChoosingAColourOrClickingTheFrameChangesNothing) {
    DocSettings* s = doc->settings;
    RGBColor before[kColorsEditable];
    for (SInt16 i = 0; i < kColorsEditable; ++i)
        before[i] = *EditedColor(s, i);
    Open();
    QueuePopupChoice(kColorsDialog, kChoice, kSlot, 12);
    QueueClickSeparator();
    QueuePopupChoice(kColorsDialog, kChoice, kSlot, 2);
    QueueClickSeparator();
    QueueItemClick(kColorsDialog, kGrid, kSlot, 0, 40); // on the frame
    QueueReturn();
    RunLoop();
    for (SInt16 i = 0; i < kColorsEditable; ++i)
        EXPECT_TRUE(Same(*EditedColor(s, i), before[i])) << i;
}

TEST_F(Colors, SwatchOpensTheColourPickerForTheChosenColour) {
    const RGBColor picked{0x1234, 0x5678, 0x9ABC};
    QueueColorPickerAnswer(true, picked);
    QueueColorPickerAnswer(false, RGBColor{1, 2, 3});
    Open();
    QueuePopupChoice(kColorsDialog, kChoice, kSlot, 2); // highlight
    QueueClickSeparator();
    QueueItemClick(kColorsDialog, kSwatch, kSlot);
    QueueClickSeparator();
    QueueItemClick(kColorsDialog, kSwatch, kSlot); // cancelled: stays
    QueueReturn();
    RunLoop();
    EXPECT_TRUE(Same(doc->settings->selectionColor, picked));
}
