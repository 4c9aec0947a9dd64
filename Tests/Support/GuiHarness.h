// End-to-end GUI testing without a display: queue user input at window points (local coordinates),
// run a loop until the input is used up, save a window's port as PNG, count beeps. Queued input is
// played one step per waiting call of whatever loop runs, so input queued before a modal dialog opens
// answers that dialog, and the program's tracking loops see the drag as a user would make it.
#pragma once

#include "Platform/QuickDraw.h"
#include "Platform/SimulatedInput.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Thrown out of WaitNextEvent when a loop keeps waiting for input that was never queued.
struct GuiLoopStarved : std::runtime_error {
    GuiLoopStarved() : std::runtime_error("a loop waited for input the test never queued") {}
};

// Makes the application, switches to virtual time, empties the queue, and arms the starvation guard.
void GuiTestSetUp();
// Disposes every window and forgets all input.
void GuiTestTearDown();

inline Point Pt(SInt16 h, SInt16 v) {
    return Point{v, h};
}
Point WindowPointToGlobal(WindowRef window, Point local);
// A visible, selected window of the class with its content at the given global bounds.
WindowRef MakeTestWindow(WindowClass windowClass, Rect bounds, WindowAttributes attributes = 0);

void QueueMouseDown(WindowRef window, Point local, UInt16 modifiers = 0);
void QueueMouseUp(WindowRef window, Point local, UInt16 modifiers = 0);
void QueueClick(WindowRef window, Point local, UInt16 modifiers = 0);
// Press at the first point, move through the others, release at the last.
void QueueDrag(WindowRef window, const std::vector<Point>& path, UInt16 modifiers = 0);
// A click at (h, v) from a global origin, such as where a dialog opens; the mouse stays there, so
// the next click waits one step.
void QueueGlobalClick(Point origin, SInt16 h, SInt16 v);
void QueueKey(UInt8 keyCode, UInt8 charCode, UInt16 modifiers = 0);
// Printable ASCII, Return ("\r") and Tab, with the keys a US keyboard types them with.
void QueueTypedText(const std::string& text);
void QueueWheel(WindowRef window, Point local, SInt32 delta, UInt16 axis = kEventMouseWheelAxisY,
                UInt16 modifiers = 0);
void QueueCloseBox(WindowRef window);

// Takes every queued event; update events are answered with BeginUpdate and EndUpdate.
void DrainEvents();

// Calls pass until no input, queued event or update is left; fails the test after maxPasses.
int RunUntilIdle(const std::function<void()>& pass, int maxPasses = 10000);

// Writes the window's port under the test output folder; returns the path.
std::string SaveWindowPNG(WindowRef window, const std::string& name);
UInt32 BeepCount();

// A fixture for GUI tests: set up and torn down as above.
class GuiTest : public ::testing::Test {
  protected:
    void SetUp() override { GuiTestSetUp(); }
    void TearDown() override { GuiTestTearDown(); }
};
