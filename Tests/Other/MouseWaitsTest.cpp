// The mouse waits of the drawing tools and the Command-period check, fed by queued input.
#include "Other/CursorsAndMouse.h"
#include "Model/DocumentRecords.h"
#include "GuiHarness.h"
#include "Model/SharedUtilities.h"

using MouseWaitsTest = GuiTest;

TEST_F(MouseWaitsTest, WaitForMouseMoveStopsAtTheFirstMoveOrRelease) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 300, 400});
    SetPortWindowPort(w);
    DocWindowRecord doc{};
    // With the button up it returns at once.
    EXPECT_FALSE(WaitForMouseMove(&doc));

    // Pressed, then moved with the button held: the new point, and the button still down.
    QueueMouseDown(w, Pt(10, 10));
    WaitButtonState(true);
    SimulateMouseMove(WindowPointToGlobal(w, Pt(30, 12)));
    EXPECT_TRUE(WaitForMouseMove(&doc));
    EXPECT_EQ(StoredMousePoint(&doc).h, 30);
    EXPECT_EQ(StoredMousePoint(&doc).v, 12);
    // Released where it stands: the wait ends with the button up.
    SimulateMouseButton(false, 0);
    EXPECT_FALSE(WaitForMouseMove(&doc));
    EXPECT_EQ(StoredMousePoint(&doc).h, 30);
    // A loop on the button ends when a queued release arrives.
    QueueMouseDown(w, Pt(40, 40));
    WaitButtonState(true);
    SimulateMouseButton(false, 0);
    WaitButtonState(false);
    EXPECT_FALSE(Button());
    StoreMousePoint(&doc);
    EXPECT_EQ(StoredMousePoint(&doc).h, 40);
}

TEST_F(MouseWaitsTest, OnlyCommandPeriodCancels) {
    // One key event is taken per call, without waiting.
    SimulateKey(true, kKeyCodePeriod, '.', 0, false);
    SimulateKey(true, kKeyCodePeriod, '.', cmdKey, false);
    SimulateKey(true, kKeyCodeA, 'a', cmdKey, false);
    EXPECT_FALSE(UserCancelled());
    EXPECT_TRUE(UserCancelled());
    EXPECT_FALSE(UserCancelled());
    EXPECT_FALSE(UserCancelled());
}
