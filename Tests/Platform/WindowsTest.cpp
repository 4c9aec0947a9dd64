// Window list and layers, hit-testing by part, coordinates, titles and the real Qt input path.
#include "GuiHarness.h"
#include "Platform/Menus.h"
#include "Platform/Windows.h"

namespace {
const Rect kDocBounds{100, 100, 400, 500};
bool operator==(Point a, Point b) {
    return a.h == b.h && a.v == b.v;
}
} // namespace

TEST_F(GuiTest, LayersKeepModalAboveFloatingAboveDocuments) {
    WindowRef doc1 = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    WindowRef palette = MakeTestWindow(kFloatingWindowClass, Rect{120, 120, 220, 220});
    WindowRef doc2 = MakeTestWindow(kDocumentWindowClass, Rect{130, 130, 330, 430});
    EXPECT_EQ(FrontWindow(), palette);
    EXPECT_EQ(FrontNonFloatingWindow(), doc2);
    EXPECT_EQ(GetFrontWindowOfClass(kDocumentWindowClass, true), doc2);
    EXPECT_EQ(GetNextWindowOfClass(doc2, kDocumentWindowClass, true), doc1);

    WindowRef dialog = MakeTestWindow(kMovableModalWindowClass, Rect{200, 200, 300, 400});
    EXPECT_EQ(FrontWindow(), dialog);
    EXPECT_EQ(FrontNonFloatingWindow(), dialog);
    SelectWindow(doc1);
    EXPECT_EQ(FrontNonFloatingWindow(), dialog);
    DisposeWindow(dialog);
    EXPECT_EQ(FrontNonFloatingWindow(), doc1);

    HideWindow(doc1);
    EXPECT_EQ(FrontNonFloatingWindow(), doc2);
    EXPECT_EQ(GetFrontWindowOfClass(kDocumentWindowClass, false), doc1);
    int count = 0;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
        ++count;
    EXPECT_EQ(count, 3);
}

TEST_F(GuiTest, FindWindowNamesThePartUnderAPoint) {
    WindowRef doc = MakeTestWindow(kDocumentWindowClass, kDocBounds, kWindowStandardDocumentAttributes);
    WindowRef palette = MakeTestWindow(kFloatingWindowClass, Rect{120, 120, 220, 220});
    struct Case {
        Point where;
        WindowPartCode part;
        WindowRef window;
    } const cases[] = {
        {Pt(300, 200), inContent, doc}, {Pt(150, 150), inContent, palette}, {Pt(495, 395), inGrow, doc},
        {Pt(485, 385), inGrow, doc},    {Pt(484, 390), inContent, doc},     {Pt(300, 90), inDrag, doc},
        {Pt(50, 50), inDesk, nullptr},  {Pt(300, 400), inDesk, nullptr},
    };
    for (const auto& c : cases) {
        WindowRef hit = reinterpret_cast<WindowRef>(1);
        EXPECT_EQ(FindWindow(c.where, &hit), c.part) << c.where.h << "," << c.where.v;
        EXPECT_EQ(hit, c.window) << c.where.h << "," << c.where.v;
    }
}

TEST_F(GuiTest, GlobalAndLocalPointsFollowTheWindow) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    SetPortWindowPort(w);
    Point p = Pt(10, 20);
    LocalToGlobal(&p);
    EXPECT_TRUE(p == Pt(110, 120));
    MoveWindow(w, 200, 150, false);
    p = Pt(210, 160);
    GlobalToLocal(&p);
    EXPECT_TRUE(p == Pt(10, 10));
    Rect bounds;
    GetWindowPortBounds(w, &bounds);
    EXPECT_EQ(bounds.right, 400);
    EXPECT_EQ(bounds.bottom, 300);
}

TEST_F(GuiTest, SizeWindowKeepsPixelsAndInvalidatesTheNewStrips) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    DrainEvents();
    SetPortWindowPort(w);
    Rect r{0, 0, 10, 10};
    PaintRect(&r);
    SizeWindow(w, 450, 300, true);
    EXPECT_EQ(GetPortPixel(GetWindowPort(w), 5, 5).red, 0);
    RgnHandle update = NewRgn();
    GetWindowUpdateRgn(w, update);
    Rect b;
    GetRegionBounds(update, &b);
    EXPECT_EQ(b.left, 400);
    EXPECT_EQ(b.right, 450);
    EXPECT_FALSE(PtInRgn(Pt(100, 100), update));
    DisposeRgn(update);
}

TEST_F(GuiTest, TitleAndReferenceConstantRoundTrip) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    SetWTitle(w, PStr("\x13 Plan \x8A"));
    Str255 title;
    GetWTitle(w, title);
    EXPECT_EQ(ToStd(title), "\x13 Plan \x8A");
    SetWindowTitleUTF8(w, "Pl\xC3\xA4n");
    GetWTitle(w, title);
    EXPECT_EQ(ToStd(title), "Pl\x8An");
    int record = 0;
    SetWindowRefConPtr(w, &record);
    EXPECT_EQ(GetWindowRefConPtr(w), &record);
    EXPECT_EQ(GetWindowFromPort(GetWindowPort(w)), w);
}

TEST_F(GuiTest, RealQtMouseInputBecomesEventsAtGlobalPoints) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    InjectQtMouseForTesting(w, Pt(12, 34), true, 1, optionKey);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    EXPECT_TRUE(e.where == Pt(112, 134));
    EXPECT_TRUE(e.modifiers & optionKey);
    EXPECT_TRUE(StillDown());
    InjectQtMouseForTesting(w, Pt(15, 35), false, 1, 0);
    EXPECT_FALSE(Button());
    ASSERT_TRUE(GetNextEvent(mUpMask, &e));
    EXPECT_TRUE(e.where == Pt(115, 135));

    // The secondary button is a control-click.
    InjectQtMouseForTesting(w, Pt(1, 1), true, 2, 0);
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    EXPECT_TRUE(e.modifiers & controlKey);
    InjectQtMouseForTesting(w, Pt(1, 1), false, 2, 0);
}

TEST_F(GuiTest, WindowsNeedNoDisplayButFailCleanlyWithoutArguments) {
    WindowRef w = reinterpret_cast<WindowRef>(1);
    EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, 0, nullptr, &w), paramErr);
    EXPECT_EQ(w, nullptr);
    // Calls on a disposed or unknown window do nothing.
    WindowRef doc = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    DisposeWindow(doc);
    ShowWindow(doc);
    EXPECT_FALSE(IsWindowVisible(doc));
    EXPECT_EQ(GetWindowPort(doc), nullptr);
}

TEST_F(GuiTest, MenuChoiceArrivesAsAMouseDownInTheMenuBar) {
    MakeTestWindow(kDocumentWindowClass, kDocBounds);
    DrainEvents();
    MenuRef menu = NewMenu(300, PStr("Test"));
    AppendMenu(menu, PStr("One;Two"));
    InsertMenu(menu, 0);
    ASSERT_TRUE(ChooseMenuItem(300, 2));
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(mDownMask, &e));
    WindowRef hit = nullptr;
    EXPECT_EQ(FindWindow(e.where, &hit), inMenuBar);
    EXPECT_EQ(MenuSelect(e.where), (300 << 16) | 2);
    DeleteMenu(300);
    DisposeMenu(menu);
}
