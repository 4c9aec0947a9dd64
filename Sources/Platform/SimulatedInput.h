// Simulated input for tests: a script of user actions that feeds the same queue and the same mouse and
// key state as real input. One step is played in each waiting call (see the polling rule in Events.h),
// so the program's own tracking and modal loops consume it unchanged. Virtual time makes Delay and
// sleeping advance the tick count without waiting.
#pragma once

#include "Platform/Windows.h"

void SimulateMouseMove(Point globalPoint);
// Press or release the mouse button at the current mouse location with these modifiers held.
void SimulateMouseButton(Boolean down, UInt16 modifiers);
// A key going down (keyDown, or autoKey when repeat is set) or up; up changes only the key map.
void SimulateKey(Boolean down, UInt8 keyCode, UInt8 charCode, UInt16 modifiers, Boolean repeat);
// The modifier keys held from now on (no event; the key map and mouse events follow it).
void SimulateModifiers(UInt16 modifiers);
void SimulateWheel(WindowRef window, Point globalPoint, UInt16 axis, SInt32 delta, UInt16 modifiers);
// The window manager's close button on the window: a mouse-down that FindWindow reports as inGoAway.
void SimulateCloseRequest(WindowRef window);
// The user resizing the window by its frame: the content gets the new size (boundsChanged follows).
void SimulateUserResize(WindowRef window, SInt16 width, SInt16 height);

// Steps not played yet.
UInt32 SimulatedStepsPending();
// Forgets unplayed steps, queued events, pressed keys and the button (the mouse stays where it is).
void ResetInputState();
// True when nothing is left to do: no unplayed step, no queued event, no update pending.
Boolean PlatformInputIdle();

// With virtual time, TickCount advances only by Delay and by the sleep of WaitNextEvent when nothing
// is pending (at least one tick), and no call waits in real time.
void PlatformSetVirtualTime(Boolean on);
Boolean PlatformVirtualTime();
void PlatformAdvanceVirtualTime(UInt32 ticks);

// Called when WaitNextEvent has returned this many null events in a row with virtual time on and no
// simulated input left: a test's loop is waiting for input that will never come. 0 turns it off.
using IdleLimitHandler = void (*)();
void PlatformSetIdleLimit(UInt32 nullEvents, IdleLimitHandler handler);

// Real Qt input for tests of the translation: a key sequence in Qt's text form ("Ctrl+Shift+A",
// "Meta+C", "Num+Enter", "F12", "Esc"), sent as a key press (and release) to the window's content as
// the window system would. False when the sequence cannot be read.
Boolean InjectQtKeyForTesting(WindowRef window, const char* sequence, Boolean autoRepeat);
// A real Qt mouse press or release at a local point of the window's content; button 1 left, 2 right.
void InjectQtMouseForTesting(WindowRef window, Point local, Boolean press, SInt16 button, UInt16 modifiers);
