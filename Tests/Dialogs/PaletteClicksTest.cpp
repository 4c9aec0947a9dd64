// Clicks in the pattern, colour/pen, saved-views and info palettes through the event loop, the wheel
// over the views list, and the pattern palette's geometry.
#include "ShellTestSupport.h"

#include "Dialogs/ColorPalette.h"
#include "Dialogs/CoordinateBar.h"
#include "Dialogs/ListPaletteClicks.h"
#include "Dialogs/Palettes.h"
#include "Dialogs/PatternPalette.h"
#include "Platform/AppResources.h"
#include "Platform/ColorPicker.h"
#include "Platform/Controls.h"
#include "Platform/DialogManager.h"
#include "Platform/ListControls.h"
#include "Files/Preferences.h"
#include "Shell/MouseDispatch.h"
#include "Shell/StartupShutdown.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"
#include "View/SavedViews.h"
#include "View/ZoomExtents.h"

#include <cstring>
#include <string>

namespace {

std::string Text(ConstStr255Param s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

class PaletteClicks : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
    }

    WindowRef Show(PaletteId id) {
        SetPaletteShown(id, true);
        RunLoop();
        return PaletteWindowRef(id);
    }

    Point Centre(ControlRef control) {
        Rect r;
        GetControlBounds(control, &r);
        return Pt(SInt16((r.left + r.right) / 2), SInt16((r.top + r.bottom) / 2));
    }

    DocWindowRecord* doc = nullptr;
};

} // namespace

TEST(PatternPaletteGeometry, ColumnsCellsGrowAndTheScrollBarTest) {
    // Never zero columns, however narrow the window.
    for (SInt16 width : {0, 10, 23, 27})
        EXPECT_EQ(PatternColumns(width), 1) << width;
    EXPECT_EQ(PatternColumns(66), 4);
    EXPECT_EQ(PatternColumns(122), 8);
    // A cell beyond the last pattern gives the last one.
    EXPECT_EQ(PatternAtPoint(Pt(3 * 14 + 2, 4 * 14 + 2), 16, 4), 31);
    EXPECT_EQ(PatternAtPoint(Pt(3 * 14 + 2, 1 * 14 + 2), 0, 8), 11);
    EXPECT_EQ(PatternAtPoint(Pt(2, 2), 8, 4), 8);
    struct Grow {
        SInt16 w, h, width, height;
    } grows[] = {{40, 70, 38, 69}, {100, 100, 94, 97}, {200, 300, 192, 293}, {9, 9, 38, 69}};
    for (const Grow& g : grows) {
        SInt16 w = 0, h = 0;
        PatternGrowSize(g.w, g.h, &w, &h);
        EXPECT_EQ(w, g.width) << g.w;
        EXPECT_EQ(h, g.height) << g.h;
        EXPECT_EQ((w - 10) % 14, 0);
        EXPECT_EQ((h + 1) % 14, 0);
    }
    // 122 wide, 56 high: 8 columns and 4 rows show every pattern, yet the bar's test counts 7.
    EXPECT_TRUE(PatternScrollBarEnabled(122, 56));
    EXPECT_FALSE(PatternScrollBarEnabled(136, 56));
    EXPECT_FALSE(PatternScrollBarEnabled(20, 32000)); // narrow: one column, no division by zero
}

TEST_F(PaletteClicks, APatternCellBecomesTheCurrentPatternAndTheAreaToolGetsItsName) {
    WindowRef window = Show(PaletteId::patterns);
    ASSERT_NE(window, nullptr);
    // 66 wide: four columns.
    QueueClick(window, Pt(2 * 14 + 3, 1 * 14 + 3));
    RunLoop();
    EXPECT_EQ(doc->settings->currentPattern, 6);

    // The area tool's pattern step takes the pattern's name into the command field.
    SelectToolGroupFromMenu(doc, 9);
    SelectToolFromMenu(doc, 3);
    ResetToolState(doc, 2);
    QueueClick(window, Pt(3, 3));
    RunLoop();
    EXPECT_EQ(doc->settings->currentPattern, 0);
    Str255 field, name;
    CommandFieldGetText(doc, field);
    GetIndString(name, 132, 1);
    EXPECT_EQ(Text(field), Text(name));
}

TEST_F(PaletteClicks, ColourCellPickerAndTypedValues) {
    WindowRef window = Show(PaletteId::colors);
    ASSERT_NE(window, nullptr);
    DocSettings* s = doc->settings;
    s->penMode = 0;
    s->colorTableChoice = 0;
    QueueClick(window, Pt(3 * 7 + 2, 2 * 7 + 2));
    RunLoop();
    EXPECT_EQ(s->currentColorIndex, 35);
    EXPECT_EQ(s->currentColor.red, ElementPalette[35].red);
    EXPECT_EQ(s->currentColor.blue, ElementPalette[35].blue);
    EXPECT_TRUE(RecordedAlerts().empty());

    const PaletteWindow& p = PaletteOf(PaletteId::colors);
    ASSERT_NE(p.buttons[0], nullptr);
    QueueColorPickerAnswer(true, RGBColor{0x1200, 0x3400, 0x5600});
    QueueClick(window, Centre(p.buttons[0]));
    RunLoop();
    EXPECT_EQ(s->currentColorIndex, 65535);
    EXPECT_EQ(s->currentColor.green, 0x3400);

    QueueClick(window, Centre(p.buttons[1]));
    RunLoop();
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 163);
    Str255 field;
    CommandFieldGetText(doc, field);
    EXPECT_EQ(Text(field), "18,52,86");

    // In pen mode the pens decide the colour, which the user is told.
    EndPendingCommand(doc);
    s->penMode = 1;
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    QueueClick(window, Pt(2, 2));
    RunLoop();
    EXPECT_EQ(RecordedAlerts().size(), 1u);
}

TEST_F(PaletteClicks, SystemColourTableIsTheCubeThenTheRamps) {
    EXPECT_EQ(SystemColorAt(0).red, 0xFFFF);
    EXPECT_EQ(SystemColorAt(0).blue, 0xFFFF);
    EXPECT_EQ(SystemColorAt(5).blue, 0);
    EXPECT_EQ(SystemColorAt(214).red, 0);
    EXPECT_EQ(SystemColorAt(214).blue, 0x3333);
    EXPECT_EQ(SystemColorAt(215).red, 0xEEEE);
    EXPECT_EQ(SystemColorAt(245).green, 0xEEEE);
    EXPECT_EQ(SystemColorAt(255).red, 0);
    EXPECT_EQ(ColorCellAt(Pt(200, 3)), 15);
    EXPECT_EQ(ColorCellAt(Pt(0, 16 * 7)), -1);
}

TEST_F(PaletteClicks, ViewsWindowSavesRecallsAndDeletesAfterAsking) {
    WindowRef window = Show(PaletteId::views);
    ASSERT_NE(window, nullptr);
    const PaletteWindow& p = PaletteOf(PaletteId::views);
    SetViewScale(doc->drawing, 0.25);
    SetViewOrigin(doc->drawing, 40, 30);
    QueueClick(window, Centre(p.buttons[0]));
    QueueTypedText("Corner\r");
    RunLoop();
    ASSERT_EQ(CountSavedViews(doc), 1);
    Rect data;
    GetListDataBounds(p.list, &data);
    EXPECT_EQ(data.bottom, 1);

    SetViewScale(doc->drawing, 3);
    SetViewOrigin(doc->drawing, 0, 0);
    QueueClick(window, Pt(10, 4)); // the first row
    RunLoop();
    EXPECT_NEAR(doc->drawing->view.unitsPerPixel, 0.25, 1e-9);
    EXPECT_NEAR(doc->drawing->view.originX, 40, 1e-6);

    SetAlertResponder([](const AlertRecord&) { return SInt16(1); }); // No
    QueueClick(window, Centre(p.buttons[1]));
    RunLoop();
    EXPECT_EQ(CountSavedViews(doc), 1);
    SetAlertResponder([](const AlertRecord&) { return SInt16(2); }); // Yes
    QueueClick(window, Pt(10, 4));
    QueueClick(window, Centre(p.buttons[1]));
    RunLoop();
    EXPECT_EQ(CountSavedViews(doc), 0);
}

TEST_F(PaletteClicks, WheelOverTheViewsListStopsAtItsEndsAndIgnoresTheSideways) {
    WindowRef window = Show(PaletteId::views);
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 20; ++i) {
        Str255 name;
        name[0] = 2;
        name[1] = UInt8('A' + i);
        name[2] = 'x';
        StoreView(doc, name);
    }
    RunLoop();
    ControlRef bar = PaletteOf(PaletteId::views).scrollBar;
    ASSERT_NE(bar, nullptr);
    const SInt16 maximum = GetControlMaximum(bar);
    ASSERT_GT(maximum, 3);
    QueueWheel(window, Pt(20, 20), -3);
    RunLoop();
    EXPECT_EQ(GetControlValue(bar), 3);
    QueueWheel(window, Pt(20, 20), -3, kEventMouseWheelAxisX);
    RunLoop();
    EXPECT_EQ(GetControlValue(bar), 3);
    QueueWheel(window, Pt(20, 20), 50);
    RunLoop();
    EXPECT_EQ(GetControlValue(bar), 0);
    QueueWheel(window, Pt(20, 20), -500);
    RunLoop();
    EXPECT_EQ(GetControlValue(bar), maximum);
}

TEST_F(PaletteClicks, AnInfoRowsValueGoesIntoTheCommandField) {
    struct Case {
        const char *row, *value;
    } cases[] = {{"x:\t12.5 mm", "12.5"},
                 {"angle\t-45.25°", "-45.25"},
                 {"name\tBolt M8", "Bolt M8"},
                 {"17 pieces", "17"},
                 {"no tab", "no tab"}};
    for (const Case& c : cases) {
        Str255 text;
        text[0] = UInt8(std::strlen(c.row));
        std::memcpy(text + 1, c.row, text[0]);
        InfoRowValue(text);
        EXPECT_EQ(Text(text), c.value) << c.row;
    }

    WindowRef window = Show(PaletteId::info);
    ASSERT_NE(window, nullptr);
    ListHandle list = PaletteOf(PaletteId::info).list;
    ASSERT_NE(list, nullptr);
    const char* rows[] = {"x:\t12.5", "y:\t-3"};
    for (SInt16 r = 0; r < 2; ++r) {
        LAddRow(1, r, list);
        LSetCell(rows[r], SInt16(std::strlen(rows[r])), Cell{r, 0}, list);
    }
    Point cell;
    GetListCellSize(list, &cell);
    QueueClick(window, Pt(10, 2));
    QueueClick(window, Pt(10, SInt16(cell.v + 2)));
    RunLoop();
    Str255 field;
    CommandFieldGetText(doc, field);
    EXPECT_EQ(Text(field), "12.5,-3");
    Cell selected{0, 0};
    EXPECT_FALSE(LGetSelect(true, &selected, list)); // deselected after the moment
}

TEST_F(PaletteClicks, CoordinateBarShowsTheClickPointAndRedrawsOnlyChangedValues) {
    DocSettings* s = doc->settings;
    s->decimals = 2;
    s->unitCode = 0;
    s->drawingScale = 1;
    s->gridVisible = 0;
    s->coordinateDisplayMode = 0;
    SetViewScale(doc->drawing, 0.5);
    SetViewOrigin(doc->drawing, 100, 50);

    // Hidden, the bar keeps nothing.
    SetPaletteShown(PaletteId::coordBar, false);
    doc->drawing->coordBarTexts[0][0] = 0;
    ShowPixelPosition(doc, 20, 30);
    EXPECT_EQ(doc->drawing->coordBarTexts[0][0], 0);

    WindowRef bar = Show(PaletteId::coordBar);
    ASSERT_NE(bar, nullptr);
    // A pixel counted up from the drawing area's bottom: the point a click there makes.
    ShowPixelPosition(doc, 20, 30);
    EXPECT_EQ(Text(doc->drawing->coordBarTexts[0]), "110.00");
    EXPECT_EQ(Text(doc->drawing->coordBarTexts[1]), "65.00");

    // A mark in the first field stays while the value does not change, and goes when it does.
    CGrafPtr port = GetWindowPort(bar);
    SetPortWindowPort(bar);
    Rect mark{1, 70, 3, 72};
    PaintRect(&mark);
    const RGBColor marked = GetPortPixel(port, 71, 2);
    ShowPixelPosition(doc, 20, 30);
    EXPECT_EQ(GetPortPixel(port, 71, 2).red, marked.red);
    ShowPixelPosition(doc, 22, 30);
    EXPECT_EQ(Text(doc->drawing->coordBarTexts[0]), "111.00");
    EXPECT_NE(GetPortPixel(port, 71, 2).red, marked.red);
}

TEST_F(PaletteClicks, PatternScrollBarArrowMovesOneRowAndTheWheelFollows) {
    WindowRef window = Show(PaletteId::patterns);
    ASSERT_NE(window, nullptr);
    ControlRef bar = PaletteOf(PaletteId::patterns).scrollBar;
    ASSERT_NE(bar, nullptr);
    Rect r;
    GetControlBounds(bar, &r);
    EXPECT_EQ(FirstVisiblePattern(), 0);
    EXPECT_EQ(GetControlMaximum(bar), 4); // eight rows of four, four in view
    // The down arrow, above the grow box.
    QueueClick(window, Pt(SInt16((r.left + r.right) / 2), SInt16(r.bottom - 9)));
    RunLoop();
    EXPECT_EQ(GetControlValue(bar), 1);
    EXPECT_EQ(FirstVisiblePattern(), 4); // four columns at 66 pixels
    QueueClick(window, Pt(3, 3));
    RunLoop();
    EXPECT_EQ(doc->settings->currentPattern, 4);
    QueueWheel(window, Pt(20, 20), -2);
    RunLoop();
    EXPECT_EQ(GetControlValue(bar), 3);
    EXPECT_EQ(FirstVisiblePattern(), 12);
}
