// The application shell started without its endless loop: menus, hooks and the loop's preamble, then
// passes run until the queued input is used up. Every test ends with no document, no menu and no
// hook left behind.
#pragma once

#include "Model/DocumentRecords.h"
#include "Shell/EventLoop.h"
#include "GuiHarness.h"

class ShellTest : public GuiTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Passes until the input is used up.
    void RunLoop();
    void RunPasses(int count);
    // File > New through the menu bar; the new front document.
    DocWindowRecord* NewFromMenu();
    // A command key as typed.
    void QueueCommandKey(UInt8 keyCode, char character, UInt16 extraModifiers = 0);
    // One undo step that adds a line, so the document counts as changed.
    void AddUndoableLine(DocWindowRecord* doc, Float64 x = 0.0);
};
