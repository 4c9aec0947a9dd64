// The program's own styles of input code (event loops, tracking loops, polling) run unchanged on queued
// input: masks and sleep, drags, button loops, update and activate events, window handlers.
#include "GuiHarness.h"
#include "Platform/Windows.h"

#include <vector>

namespace {

const Rect kDocBounds{100, 100, 400, 500};

bool operator==(Point a, Point b) {
    return a.h == b.h && a.v == b.v;
}

// Waits (as a main loop would) for the next event of the mask; false when none comes.
bool NextEvent(EventMask mask, EventRecord* e, int passes = 50) {
    for (int i = 0; i < passes; ++i)
        if (WaitNextEvent(mask, e, 1, nullptr)) return true;
    return false;
}

Point Local(WindowRef w, Point global) {
    SetPortWindowPort(w);
    GlobalToLocal(&global);
    return global;
}

} // namespace

TEST_F(GuiTest, TrackingLoopFollowsTheDragAndEndsAtTheMouseUp) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    QueueDrag(w, {Pt(10, 10), Pt(20, 15), Pt(30, 20), Pt(40, 25)}, shiftKey);
    EventRecord e;
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    EXPECT_TRUE(Local(w, e.where) == Pt(10, 10));
    EXPECT_TRUE(e.modifiers & shiftKey);

    std::vector<Point> seen;
    Point p;
    while (StillDown()) {
        GetMouse(&p);
        seen.push_back(p);
    }
    EXPECT_EQ(seen.size(), 3u);
    GetMouse(&p);
    EXPECT_TRUE(p == Pt(40, 25));
    // The loop ends on the queued mouse-up, which stays for the event loop.
    ASSERT_TRUE(GetNextEvent(mUpMask, &e));
    EXPECT_TRUE(Local(w, e.where) == Pt(40, 25));
    EXPECT_TRUE(e.modifiers & btnState);
}

TEST_F(GuiTest, ButtonLoopRunsWhileHeldAndWaitMouseUpTakesTheMouseUp) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    QueueMouseDown(w, Pt(5, 5));
    SimulateMouseMove(WindowPointToGlobal(w, Pt(6, 6)));
    SimulateMouseMove(WindowPointToGlobal(w, Pt(7, 7)));
    SimulateMouseButton(false, 0);
    EventRecord e;
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    int held = 0;
    while (Button())
        ++held;
    EXPECT_EQ(held, 2);
    EXPECT_FALSE(WaitMouseUp());
    EXPECT_FALSE(EventAvail(mUpMask, &e));
}

TEST_F(GuiTest, WaitNextEventHonoursTheMaskAndSleeps) {
    PostEvent(keyDown, (kKeyCodeA << 8) | 'a');
    PostEvent(mouseDown, 0);
    EventRecord e;
    ASSERT_TRUE(EventAvail(everyEvent, &e));
    EXPECT_EQ(e.what, keyDown); // only looked at
    ASSERT_TRUE(WaitNextEvent(mDownMask, &e, 0, nullptr));
    EXPECT_EQ(e.what, mouseDown);
    ASSERT_TRUE(WaitNextEvent(everyEvent, &e, 0, nullptr));
    EXPECT_EQ(e.what, keyDown);
    EXPECT_EQ(EventCharCode(e), 'a');
    EXPECT_EQ(EventKeyCode(e), kKeyCodeA);

    UInt32 before = TickCount();
    EXPECT_FALSE(WaitNextEvent(everyEvent, &e, 15, nullptr));
    EXPECT_EQ(e.what, nullEvent);
    EXPECT_EQ(TickCount() - before, 15u);

    PostEvent(keyDown, 'x');
    PostEvent(mouseDown, 0);
    PostEvent(keyDown, 'y');
    FlushEvents(keyDownMask, 0);
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, mouseDown);
    EXPECT_FALSE(GetNextEvent(everyEvent, &e));
}

TEST_F(GuiTest, RealSleepWaitsAboutTheSleepTime) {
    PlatformSetVirtualTime(false);
    EventRecord e;
    UInt32 before = TickCount();
    EXPECT_FALSE(WaitNextEvent(everyEvent, &e, 3, nullptr));
    UInt32 elapsed = TickCount() - before;
    PlatformSetVirtualTime(true);
    EXPECT_GE(elapsed, 3u);
    EXPECT_LT(elapsed, 60u);
}

TEST_F(GuiTest, InvalidationBecomesOneUpdateEventThatClipsDrawing) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    EventRecord e;
    // Showing the window asked for its whole content.
    ASSERT_TRUE(GetNextEvent(updateMask, &e));
    BeginUpdate(w);
    EndUpdate(w);
    DrainEvents();

    Rect invalid{10, 10, 20, 20};
    InvalWindowRect(w, &invalid);
    PostEvent(keyDown, 'k');
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, keyDown); // updates come after queued input
    ASSERT_TRUE(GetNextEvent(everyEvent, &e));
    ASSERT_EQ(e.what, updateEvt);
    EXPECT_EQ(reinterpret_cast<WindowRef>(e.message), w);

    BeginUpdate(w);
    SetPortWindowPort(w);
    Rect all;
    GetWindowPortBounds(w, &all);
    PaintRect(&all);
    EndUpdate(w);
    CGrafPtr port = GetWindowPort(w);
    EXPECT_EQ(GetPortPixel(port, 15, 15).red, 0);      // inside the update region: painted
    EXPECT_EQ(GetPortPixel(port, 50, 50).red, 0xFFFF); // outside: untouched
    EXPECT_FALSE(GetNextEvent(updateMask, &e));

    // Outside an update, drawing reaches the whole port at once.
    Rect r{60, 60, 70, 70};
    PaintRect(&r);
    EXPECT_EQ(GetPortPixel(port, 65, 65).red, 0);
}

TEST_F(GuiTest, SelectingAWindowQueuesDeactivateAndActivateAheadOfInput) {
    WindowRef a = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    WindowRef b = MakeTestWindow(kDocumentWindowClass, Rect{150, 150, 450, 550});
    DrainEvents();
    PostEvent(keyDown, 'q');
    SelectWindow(a);
    EXPECT_EQ(FrontNonFloatingWindow(), a);
    EventRecord e;
    ASSERT_TRUE(GetNextEvent(everyEvent & ~updateMask, &e));
    EXPECT_EQ(e.what, activateEvt);
    EXPECT_EQ(reinterpret_cast<WindowRef>(e.message), b);
    EXPECT_FALSE(e.modifiers & activeFlag);
    ASSERT_TRUE(GetNextEvent(everyEvent & ~updateMask, &e));
    EXPECT_EQ(e.what, activateEvt);
    EXPECT_EQ(reinterpret_cast<WindowRef>(e.message), a);
    EXPECT_TRUE(e.modifiers & activeFlag);
    EXPECT_TRUE(IsWindowHilited(a));
    EXPECT_FALSE(IsWindowHilited(b));
}

namespace {
struct HandlerLog {
    std::vector<WindowEvent> events;
};

OSStatus TypingHandler(const WindowEvent* e, void* data) {
    static_cast<HandlerLog*>(data)->events.push_back(*e);
    UInt8 c = EventCharCode(*e->keyEvent);
    if (c == '\t') return noErr;
    if (c == ' ') e->keyEvent->message = (e->keyEvent->message & ~charCodeMask) | ',';
    return eventNotHandledErr;
}

OSStatus RecordingHandler(const WindowEvent* e, void* data) {
    static_cast<HandlerLog*>(data)->events.push_back(*e);
    return noErr;
}
} // namespace

TEST_F(GuiTest, TextInputHandlerConsumesOrChangesKeysOfTheFocusWindow) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds);
    HandlerLog log;
    EventHandlerRef ref;
    ASSERT_EQ(InstallWindowEventHandler(w, WindowEventKind::textInput, TypingHandler, &log, &ref), noErr);
    DrainEvents();
    QueueTypedText("a \tb");
    std::string got;
    EventRecord e;
    RunUntilIdle([&] {
        if (WaitNextEvent(keyDownMask, &e, 1, nullptr)) got += char(EventCharCode(e));
    });
    EXPECT_EQ(got, "a,b");
    EXPECT_EQ(log.events.size(), 4u);
    EXPECT_EQ(RemoveEventHandler(ref), noErr);
    QueueTypedText("\t");
    RunUntilIdle([&] {
        if (WaitNextEvent(keyDownMask, &e, 1, nullptr)) got += char(EventCharCode(e));
    });
    EXPECT_EQ(got, "a,b\t");
}

TEST_F(GuiTest, WheelAndResizeReachTheirHandlersOnlyInsideWaitNextEvent) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds, kWindowResizableAttribute);
    HandlerLog wheel, bounds;
    InstallWindowEventHandler(w, WindowEventKind::mouseWheel, RecordingHandler, &wheel, nullptr);
    InstallWindowEventHandler(w, WindowEventKind::boundsChanged, RecordingHandler, &bounds, nullptr);
    QueueWheel(w, Pt(30, 40), -2, kEventMouseWheelAxisY, cmdKey);
    SimulateUserResize(w, 300, 250);
    Button();
    Button();
    EXPECT_TRUE(wheel.events.empty());
    EXPECT_TRUE(bounds.events.empty());

    EventRecord e;
    WaitNextEvent(mDownMask, &e, 0, nullptr);
    ASSERT_EQ(wheel.events.size(), 1u);
    EXPECT_EQ(wheel.events[0].wheelDelta, -2);
    EXPECT_EQ(wheel.events[0].wheelAxis, kEventMouseWheelAxisY);
    EXPECT_TRUE(wheel.events[0].where == WindowPointToGlobal(w, Pt(30, 40)));
    EXPECT_TRUE(wheel.events[0].modifiers & cmdKey);
    ASSERT_EQ(bounds.events.size(), 1u);
    EXPECT_EQ(bounds.events[0].previousBounds.right - bounds.events[0].previousBounds.left, 400);
    EXPECT_EQ(bounds.events[0].currentBounds.right - bounds.events[0].currentBounds.left, 300);
    EXPECT_EQ(bounds.events[0].currentBounds.bottom - bounds.events[0].currentBounds.top, 250);
    Rect port;
    GetWindowPortBounds(w, &port);
    EXPECT_EQ(port.right, 300);
    EXPECT_EQ(port.bottom, 250);
}

TEST_F(GuiTest, CloseBoxArrivesAsAMouseDownInGoAway) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds, kWindowStandardDocumentAttributes);
    QueueCloseBox(w);
    EventRecord e;
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    WindowRef hit = nullptr;
    EXPECT_EQ(FindWindow(e.where, &hit), inGoAway);
    EXPECT_EQ(hit, w);
    EXPECT_TRUE(TrackGoAway(w, e.where));
    // Once answered, the point is the title bar again.
    EXPECT_EQ(FindWindow(e.where, &hit), inDrag);
}

TEST_F(GuiTest, GrowBoxTracksTheDragToANewSize) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, kDocBounds, kWindowResizableAttribute);
    QueueDrag(w, {Pt(395, 295), Pt(420, 300), Pt(455, 335)});
    EventRecord e;
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    WindowRef hit;
    ASSERT_EQ(FindWindow(e.where, &hit), inGrow);
    Rect limits{250, 398, 16384, 16384};
    SInt32 size = GrowWindow(hit, e.where, &limits);
    EXPECT_EQ(size & 0xFFFF, 460);
    EXPECT_EQ(size >> 16, 340);
}
