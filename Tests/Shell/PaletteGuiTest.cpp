// The floating palettes end to end: made from the table, shown and hidden from the Window menu and
// their close boxes, hidden over a suspend, remembered over a restart, grown, scrolled by the wheel;
// the tool palette's clicks and its pop-up in every arrangement.
#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"
#include "Dialogs/ToolPalette.h"
#include "Files/Preferences.h"
#include "Interface/FloatingWindows.h"
#include "Platform/Controls.h"
#include "Platform/AppResources.h"
#include "Platform/Menus.h"
#include "Platform/PreferencesStore.h"
#include "Platform/QuickDraw.h"
#include "Shell/MenuBar.h"
#include "Shell/EventLoop.h"
#include "Shell/StartupShutdown.h"
#include "Tools/StatusArea.h"
#include "Tools/ToolTables.h"
#include "ShellTestSupport.h"

namespace {

Rect ContentOf(PaletteId id) {
    Rect r{};
    GetWindowContentBounds(PaletteWindowRef(id), &r);
    return r;
}

SInt16 Width(const Rect& r) {
    return SInt16(r.right - r.left);
}
SInt16 Height(const Rect& r) {
    return SInt16(r.bottom - r.top);
}

bool Visible(PaletteId id) {
    return IsWindowVisible(PaletteWindowRef(id));
}

// Every test starts from fresh preferences and leaves none behind.
void ForgetStoredPreferences() {
    PrefRemove(PStr("generalv2"), kApplicationId);
    PrefAppSynchronize(kApplicationId);
}

class PaletteTest : public ShellTest {
  protected:
    void SetUp() override {
        ForgetStoredPreferences();
        ShellTest::SetUp();
    }
    void TearDown() override {
        ShellTest::TearDown();
        ForgetStoredPreferences();
    }
    // The tool palette in an arrangement, at a place where its pop-ups open beside it.
    void ArrangeToolPalette(bool singleColumn, UInt32 orientation) {
        DisposePalettes();
        GeneralPrefs.toolPaletteSingleColumn = singleColumn ? 1 : 0;
        GeneralPrefs.toolPaletteOrientation = orientation;
        CreatePalettes();
        ShowToolPalette(true, 100, 100, false, true, true, true);
        RunLoop();
    }
    // A press on the tool palette held for `ticks` waiting calls, then moved to a global point and
    // released there.
    void QueueToolDrag(Point pressLocal, int holdSteps, Point releaseGlobal) {
        WindowRef tool = PaletteWindowRef(PaletteId::tool);
        std::vector<Point> path(size_t(holdSteps) + 1, pressLocal);
        Rect content = ContentOf(PaletteId::tool);
        path.push_back(Pt(SInt16(releaseGlobal.h - content.left), SInt16(releaseGlobal.v - content.top)));
        QueueDrag(tool, path);
    }
    // The centre of pop-up cell k of the current group, opened beside the group's button.
    Point PopupCellCentre(SInt16 group, SInt16 k) {
        Rect content = ContentOf(PaletteId::tool);
        Point at = ToolPalettePopupPoint(Width(content), Height(content), GeneralPrefs.toolPaletteOrientation,
                                         group);
        SInt16 columns = 0, rows = 0;
        ToolPopupGrid(SInt16(ToolIconTable[group][kToolsPerGroup]), false, &columns, &rows);
        return Point{SInt16(content.top + at.v + 32 * (k / columns) + 16),
                     SInt16(content.left + at.h + 32 * (k % columns) + 16)};
    }
};

TEST_F(PaletteTest, TheTenPalettesAreMadeInTheTablesSizesAndPlacesAsFloatingWindows) {
    Rect screen = PaletteScreenArea();
    Rect tool = ContentOf(PaletteId::tool);
    struct Expected {
        PaletteId id;
        SInt16 top, left, width, height;
    };
    const Expected table[] = {
        {PaletteId::coordBar, SInt16(screen.top + 25), SInt16(screen.right - 275), 243, 11},
        {PaletteId::tool, SInt16(screen.top + 53), SInt16(screen.right - 86), 64, 192},
        {PaletteId::info, SInt16(tool.bottom + 14), SInt16(tool.left - 74), 138,
         InfoWindowHeightFor(screen.bottom, SInt16(tool.bottom + 14))},
        {PaletteId::symbols, SInt16(screen.bottom - 187), SInt16(screen.left + 6), 138, 148},
        {PaletteId::presets, SInt16(screen.bottom - 299), SInt16(screen.left + 6), 219, 96},
        {PaletteId::layerSets, SInt16(screen.top + 54), SInt16(screen.left + 6), 146, 96},
        {PaletteId::colors, SInt16(screen.top + 54), SInt16(screen.left + 97), 112, 172},
        {PaletteId::patterns, SInt16(screen.top + 182), SInt16(screen.left + 6), 66, 69},
        {PaletteId::views, SInt16(screen.bottom - 299), SInt16(screen.left + 127), 146, 96},
        {PaletteId::objectInfo, SInt16(screen.top + 20), SInt16(screen.right - 210), 204, 198},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(int(e.id));
        WindowRef w = PaletteWindowRef(e.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(GetWindowClass(w), WindowClass(kFloatingWindowClass));
        Rect r = ContentOf(e.id);
        EXPECT_EQ(r.top, e.top);
        EXPECT_EQ(r.left, e.left);
        EXPECT_EQ(Width(r), e.width);
        EXPECT_EQ(Height(r), e.height);
        const PaletteRow& row = PaletteRowOf(e.id);
        WindowAttributes a = GetWindowAttributes(w);
        EXPECT_EQ((a & kWindowCloseBoxAttribute) != 0, row.closeBox);
        EXPECT_EQ((a & kWindowResizableAttribute) != 0, row.resizable);
    }
    // Fresh preferences show the tool palette and the coordinate bar only.
    EXPECT_TRUE(Visible(PaletteId::tool));
    EXPECT_TRUE(Visible(PaletteId::coordBar));
    EXPECT_FALSE(Visible(PaletteId::info));
    EXPECT_FALSE(Visible(PaletteId::objectInfo));
    // The list palettes carry their buttons at the bottom.
    ControlRef first = PaletteOf(PaletteId::presets).buttons[0];
    ASSERT_NE(first, nullptr);
    Rect b;
    GetControlBounds(first, &b);
    EXPECT_EQ(b.top, 96 - 20);
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(Width(b), kPaletteButtonWidth);
}

TEST(PaletteInfoWindow, TakesWholeRowsAndAtLeastFourOnASmallScreen) {
    EXPECT_EQ(InfoWindowHeightFor(800, 259), 492); // 501 pixels hold 41 rows
    EXPECT_EQ(InfoWindowHeightFor(400, 259), 96);
    EXPECT_EQ(InfoWindowHeightFor(300, 259), 48);
    EXPECT_EQ(InfoWindowHeightFor(200, 259), 48);
}

TEST_F(PaletteTest, WindowItemsShowAndHideEachPaletteAndNameWhatTheyWillDo) {
    const SInt16 items[] = {13, 14, 15, 16, 17, 18, 19, 20, 21};
    for (SInt16 item : items) {
        SCOPED_TRACE(item);
        PaletteId id = PaletteOfWindowMenuItem(item);
        ASSERT_NE(id, PaletteId::count);
        bool before = Visible(id);
        AdjustMenus(nullptr);
        Str255 textBefore;
        GetMenuItemText(GetMenuHandle(195), item, textBefore);
        ASSERT_TRUE(ChooseMenuItem(195, item));
        RunLoop();
        EXPECT_EQ(Visible(id), !before);
        UInt32 flag = 0;
        EXPECT_TRUE(GetPaletteShownFlag(id, &flag));
        EXPECT_EQ(flag != 0, !before);
        AdjustMenus(nullptr);
        Str255 textAfter;
        GetMenuItemText(GetMenuHandle(195), item, textAfter);
        EXPECT_NE(ToStd(textBefore), ToStd(textAfter));
    }
}

TEST_F(PaletteTest, TheCloseBoxHidesThePaletteAndClearsItsShownFlag) {
    for (PaletteId id : {PaletteId::tool, PaletteId::coordBar, PaletteId::views}) {
        SCOPED_TRACE(int(id));
        SetPaletteShown(id, true);
        RunLoop();
        ASSERT_TRUE(Visible(id));
        QueueCloseBox(PaletteWindowRef(id));
        RunLoop();
        EXPECT_FALSE(Visible(id));
        UInt32 flag = 1;
        EXPECT_TRUE(GetPaletteShownFlag(id, &flag));
        EXPECT_EQ(flag, 0u);
    }
}

TEST_F(PaletteTest, SuspendHidesTheShownPalettesAndResumeBringsBackTheSame) {
    SetPaletteShown(PaletteId::patterns, true);
    HandleSuspendResume(UInt32(suspendResumeMessage) << 24);
    for (int i = 0; i < kPaletteCount; ++i)
        EXPECT_FALSE(Visible(PaletteId(i))) << i;
    HandleSuspendResume((UInt32(suspendResumeMessage) << 24) | resumeFlag);
    EXPECT_TRUE(Visible(PaletteId::tool));
    EXPECT_TRUE(Visible(PaletteId::coordBar));
    EXPECT_TRUE(Visible(PaletteId::patterns));
    EXPECT_FALSE(Visible(PaletteId::views));
    // The flags stay as they were: a suspend is no close.
    EXPECT_NE(+GeneralPrefs.patternPalette.shown, 0u);
}

TEST_F(PaletteTest, PlacesSizesFlagsAndTheToolPalettesArrangementComeBackAfterARestart) {
    SetPaletteShown(PaletteId::views, true);
    ShowPaletteWindow(PaletteId::views, true, 180, 150, true, 300, 200, true);
    SetPaletteShown(PaletteId::coordBar, false);
    ShowToolPalette(true, 400, 120, false, true, true, true);
    ShowToolPalette(false, 0, 0, true, true, true, true); // now across
    RunLoop();
    Rect views = ContentOf(PaletteId::views), tool = ContentOf(PaletteId::tool);
    ASSERT_EQ(+GeneralPrefs.toolPaletteOrientation, 1u);
    EndEventLoop(); // saves the preferences and disposes the palettes
    EXPECT_EQ(PaletteWindowRef(PaletteId::tool), nullptr);

    BeginEventLoop();
    RunLoop();
    EXPECT_TRUE(Visible(PaletteId::views));
    EXPECT_FALSE(Visible(PaletteId::coordBar));
    EXPECT_TRUE(Visible(PaletteId::tool));
    Rect viewsAgain = ContentOf(PaletteId::views), toolAgain = ContentOf(PaletteId::tool);
    EXPECT_EQ(viewsAgain.top, views.top);
    EXPECT_EQ(viewsAgain.left, views.left);
    EXPECT_EQ(Width(viewsAgain), 180);
    EXPECT_EQ(Height(viewsAgain), 150);
    EXPECT_EQ(toolAgain.top, tool.top);
    EXPECT_EQ(toolAgain.left, tool.left);
    EXPECT_EQ(+GeneralPrefs.toolPaletteOrientation, 1u);
    EXPECT_EQ(Width(toolAgain), 192);
    EXPECT_EQ(Height(toolAgain), 64);
}

TEST_F(PaletteTest, APaletteIsShownOnlyOntoTheDesktopAndKeptOnTheScreen) {
    Rect screen;
    GetScreenBounds(&screen);
    Rect before = ContentOf(PaletteId::layerSets);
    // A place whose title bar lies off every screen is not taken; a size beyond the screen is cut.
    ShowPaletteWindow(PaletteId::layerSets, true, SInt16(Width(screen) + 100), 5000, true, -5000, -5000,
                      true);
    Rect r = ContentOf(PaletteId::layerSets);
    EXPECT_EQ(r.top, before.top);
    EXPECT_EQ(r.left, before.left);
    EXPECT_EQ(Width(r), Width(screen));
    EXPECT_EQ(Height(r), Height(screen) - 30);
    // The tool palette comes back near the screen's corner when its title bar is off the desktop.
    MoveWindow(PaletteWindowRef(PaletteId::tool), 100, SInt16(screen.top - 300), false);
    ShowToolPalette(false, 0, 0, false, true, true, true);
    Rect tool = ContentOf(PaletteId::tool);
    EXPECT_EQ(tool.left, screen.left + 5);
    EXPECT_EQ(tool.top, screen.top + 50);
}

TEST_F(PaletteTest, AMoveLaysNothingOutAndAResizeLaysTheListPaletteOut) {
    SetPaletteShown(PaletteId::views, true);
    RunLoop();
    PaletteWindow& views = PaletteOf(PaletteId::views);
    Rect marker{1, 1, 2, 2};
    SetControlBounds(views.scrollBar, &marker);
    Rect r = ContentOf(PaletteId::views);
    MoveWindow(views.window, SInt16(r.left + 30), SInt16(r.top + 20), false);
    RunLoop();
    Rect bar;
    GetControlBounds(views.scrollBar, &bar);
    EXPECT_EQ(bar.right, 2); // untouched by the move
    SimulateUserResize(views.window, 200, 160);
    RunLoop();
    GetControlBounds(views.scrollBar, &bar);
    EXPECT_EQ(bar.right, 201);
    EXPECT_EQ(bar.left, 190);
    Rect button;
    GetControlBounds(views.buttons[1], &button);
    EXPECT_EQ(button.top, 160 - 20);
}

TEST_F(PaletteTest, TheWheelScrollsAListPaletteNeverPastItsEndsAndHorizontallyNotAtAll) {
    SetPaletteShown(PaletteId::info, true);
    PaletteWindow& info = PaletteOf(PaletteId::info);
    LAddRow(200, 0, info.list);
    SyncPaletteListScrollBar(PaletteId::info);
    RunLoop();
    SInt16 maximum = GetControlMaximum(info.scrollBar);
    ASSERT_GT(maximum, 3);
    Point inside = Pt(40, 40);
    QueueWheel(info.window, inside, 1); // already at the top
    RunLoop();
    EXPECT_EQ(GetControlValue(info.scrollBar), 0);
    QueueWheel(info.window, inside, -3);
    RunLoop();
    EXPECT_EQ(GetControlValue(info.scrollBar), 3);
    Rect visible;
    GetListVisibleCells(info.list, &visible);
    EXPECT_EQ(visible.top, 3);
    QueueWheel(info.window, inside, -3, kEventMouseWheelAxisX);
    RunLoop();
    EXPECT_EQ(GetControlValue(info.scrollBar), 3);
    QueueWheel(info.window, inside, -30000);
    RunLoop();
    EXPECT_EQ(GetControlValue(info.scrollBar), maximum);
}

TEST(ToolPaletteLayout, GroupsLieWhereTheArrangementPutsThem) {
    struct Case {
        SInt16 width, height;
        UInt32 orientation;
        Point local;
        SInt16 group;
    };
    const Case cases[] = {
        {32, 384, 0, Pt(5, 5), 0},     {32, 384, 0, Pt(5, 32 * 11 + 3), 11},
        {64, 192, 0, Pt(40, 5), 1},    {64, 192, 0, Pt(5, 70), 4},
        {64, 192, 0, Pt(40, 170), 11}, {384, 32, 1, Pt(32 * 7 + 1, 3), 7},
        {192, 64, 1, Pt(5, 5), 1},     {192, 64, 1, Pt(5, 40), 0},
        {192, 64, 1, Pt(170, 5), 11},  {192, 64, 1, Pt(170, 40), 10},
        {64, 192, 0, Pt(64, 5), -1},   {32, 384, 0, Pt(5, -1), -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.group);
        EXPECT_EQ(ToolPaletteGroupAt(c.width, c.height, c.orientation, c.local), c.group);
        if (c.group < 0) continue;
        // The button drawn for the group is the one a click finds.
        Point at = ToolPaletteButtonPlace(c.width, c.height, c.orientation, c.group);
        EXPECT_EQ(
            ToolPaletteGroupAt(c.width, c.height, c.orientation, Pt(SInt16(at.h + 16), SInt16(at.v + 16))),
            c.group);
    }
    EXPECT_EQ(ToolPalettePopupPoint(32, 384, 0, 3).h, 33);
    EXPECT_EQ(ToolPalettePopupPoint(32, 384, 0, 3).v, 96);
    EXPECT_EQ(ToolPalettePopupPoint(384, 32, 1, 3).h, 97);
    EXPECT_EQ(ToolPalettePopupPoint(384, 32, 1, 3).v, 32);
    EXPECT_EQ(ToolPalettePopupPoint(192, 64, 1, 3).h, 65);
    EXPECT_EQ(ToolPalettePopupPoint(192, 64, 1, 3).v, 0);
}

TEST(ToolPopupGrid, ColumnsAndRowsFollowTheLastIndex) {
    struct Case {
        SInt16 last;
        bool groupMode;
        SInt16 columns, rows;
    };
    const Case cases[] = {{1, false, 2, 1}, {3, false, 2, 2}, {4, false, 3, 2},  {5, false, 3, 2},
                          {8, false, 3, 3}, {9, false, 4, 3}, {11, false, 4, 3}, {11, true, 4, 3}};
    for (const Case& c : cases) {
        SInt16 columns = 0, rows = 0;
        ASSERT_TRUE(ToolPopupGrid(c.last, c.groupMode, &columns, &rows)) << c.last;
        EXPECT_EQ(columns, c.columns) << c.last;
        EXPECT_EQ(rows, c.rows) << c.last;
    }
    SInt16 columns, rows;
    EXPECT_FALSE(ToolPopupGrid(0, false, &columns, &rows));
}

TEST_F(PaletteTest, AShortClickSelectsTheGroupAndHoldingOrClickingTheCurrentOneOpensItsTools) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    struct Arrangement {
        bool singleColumn;
        UInt32 orientation;
    };
    for (Arrangement a :
         {Arrangement{true, 0}, Arrangement{false, 0}, Arrangement{true, 1}, Arrangement{false, 1}}) {
        SCOPED_TRACE(a.singleColumn * 2 + int(a.orientation));
        ArrangeToolPalette(a.singleColumn, a.orientation);
        GeneralPrefs.currentToolGroup = 0;
        GeneralPrefs.currentSubTool = 0;
        GeneralPrefs.lastSubTool[1] = 0;
        Rect content = ContentOf(PaletteId::tool);
        Point circles = ToolPaletteButtonPlace(Width(content), Height(content), a.orientation, 1);
        Point press = Pt(SInt16(circles.h + 10), SInt16(circles.v + 10));

        // Released at once: only the group changes.
        QueueClick(PaletteWindowRef(PaletteId::tool), press);
        RunLoop();
        EXPECT_EQ(+GeneralPrefs.currentToolGroup, 1u);
        EXPECT_EQ(+GeneralPrefs.currentSubTool, 0u);

        // On the current group the pop-up opens at once: dragged to the third tool and released.
        QueueToolDrag(press, 0, PopupCellCentre(1, 2));
        RunLoop();
        EXPECT_EQ(+GeneralPrefs.currentSubTool, 2u);
        EXPECT_EQ(+GeneralPrefs.lastSubTool[1], 2u);

        // Held on another group for 20 ticks, then released on its second tool.
        GeneralPrefs.currentToolGroup = 0;
        GeneralPrefs.lastSubTool[1] = 0;
        QueueToolDrag(press, int(kToolPopupDelayTicks) + 2, PopupCellCentre(1, 1));
        RunLoop();
        EXPECT_EQ(+GeneralPrefs.currentToolGroup, 1u);
        EXPECT_EQ(+GeneralPrefs.currentSubTool, 1u);

        // Released outside the pop-up: the tool stays.
        QueueToolDrag(press, 0, Point{SInt16(content.bottom + 300), SInt16(content.right + 300)});
        RunLoop();
        EXPECT_EQ(+GeneralPrefs.currentSubTool, 1u);
    }
}

TEST_F(PaletteTest, ASecondaryClickOnTheToolPaletteOffersTheZoomBoxAndNeverClicksAButton) {
    GeneralPrefs.currentToolGroup = 0;
    Rect before = ContentOf(PaletteId::tool);
    ASSERT_EQ(+GeneralPrefs.toolPaletteOrientation, 0u);
    QueuePopUpMenuChoice(1);
    QueueClick(PaletteWindowRef(PaletteId::tool), Pt(40, 70), controlKey); // over group 3
    RunLoop();
    Rect after = ContentOf(PaletteId::tool);
    EXPECT_EQ(+GeneralPrefs.toolPaletteOrientation, 1u);
    EXPECT_EQ(Width(after), Height(before));
    EXPECT_EQ(after.right, before.right); // turned about its right edge
    EXPECT_EQ(+GeneralPrefs.currentToolGroup, 0u);
    // Cancelling the menu changes nothing.
    QueuePopUpMenuChoice(0);
    QueueClick(PaletteWindowRef(PaletteId::tool), Pt(5, 5), controlKey);
    RunLoop();
    EXPECT_EQ(+GeneralPrefs.toolPaletteOrientation, 1u);
}

TEST_F(PaletteTest, TheToolPaletteIsDrawnByItsUpdate) {
    RunLoop();
    WindowRef tool = PaletteWindowRef(PaletteId::tool);
    SaveWindowPNG(tool, "tool-palette");
    // The current group's button and the blue triangle of every button are there.
    RGBColor c = GetPortPixel(GetWindowPort(tool), 26 + 1, 24 + 2 + 1); // current: one pixel further
    EXPECT_EQ(c.blue, 0xFFFF);
    EXPECT_EQ(c.red, 0);
}

TEST_F(PaletteTest, TheStatusBarsHelpTagsAreTheWindowsTooltips) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    Rect port;
    GetWindowPortBounds(doc->window, &port);
    SInt16 y = SInt16(port.bottom - 5);
    Str255 text, expected;
    Rect zone;
    ASSERT_TRUE(GetWindowHelpTag(doc->window, Pt(80, y), text, &zone));
    GetIndString(expected, kStatusHelpList, 4);
    EXPECT_EQ(ToStd(text), ToStd(expected));
    EXPECT_EQ(zone.left, 74);
    EXPECT_FALSE(GetWindowHelpTag(doc->window, Pt(271, y), text, &zone)); // between the zones
    EXPECT_FALSE(GetWindowHelpTag(doc->window, Pt(80, 20), text, &zone)); // over the drawing
}

} // namespace
