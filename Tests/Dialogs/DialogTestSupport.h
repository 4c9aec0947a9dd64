// Clicks and keys for the dialogs of this suite, which open where their resources place them.
#pragma once

#include "ShellTestSupport.h"

#include "Interface/ModalDialogs.h"
#include "Platform/DialogManager.h"
#include "Platform/Events.h"
#include "Platform/SimulatedInput.h"

#include <initializer_list>
#include <string>
#include <vector>

// A new drawing from the menu, the dialogs of the given position slots opening where their resources
// place them, and messages answered at once (their closing is the desktop tier's), so the keys queued
// after a message reach the dialog.
class DrawingDialogTest : public ShellTest {
  protected:
    DocWindowRecord* doc = nullptr;
    void OpenDrawing(std::initializer_list<SInt16> slots) {
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        for (SInt16 slot : slots)
            DialogPositionTable[slot] = Point{0, 0};
        SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    }
};

// A click at a point of a dialog whose content starts at `origin` (global).
inline void ClickDialog(Point origin, SInt16 h, SInt16 v, UInt16 modifiers = 0) {
    Point global{SInt16(origin.v + v), SInt16(origin.h + h)};
    SimulateMouseMove(global);
    SimulateMouseButton(true, modifiers);
    SimulateMouseButton(false, modifiers);
    // A button follows the mouse until it is read up: the next click waits one step.
    SimulateMouseMove(global);
}

// A drag through points of the dialog, the button held from the first to the last.
inline void DragDialog(Point origin, const std::vector<Point>& local) {
    auto global = [&](Point p) { return Point{SInt16(origin.v + p.v), SInt16(origin.h + p.h)}; };
    SimulateMouseMove(global(local.front()));
    SimulateMouseButton(true, 0);
    for (Point p : local)
        SimulateMouseMove(global(p));
    SimulateMouseButton(false, 0);
    SimulateMouseMove(global(local.back()));
}

inline void PressReturn() {
    QueueKey(kKeyCodeReturn, kReturnCharCode);
}
inline void PressEscape() {
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
}
inline void PressTab() {
    QueueTypedText("\t");
}

inline std::string Name(const unsigned char* s) {
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}
