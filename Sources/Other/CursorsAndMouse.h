// The one way the program sets the mouse cursor (by id, skipping repeats), the colour cursors, and
// small waits on the mouse for the drawing tools.
#pragma once

#include "Platform/CursorResources.h"

struct DocWindowRecord;

constexpr SInt16 kArrowCursorId = 0;
constexpr SInt16 kWatchCursorId = 4;
constexpr SInt16 kFirstColorCursorId = 128;
constexpr int kColorCursorCount = 26; // ids 128 to 153

// Entry id - 128 is the colour cursor of that id, or null.
extern CCrsrHandle ColorCursorTable[kColorCursorCount];
void LoadColorCursors();
void DisposeColorCursors();

// Sets the cursor of that id unless it is the one set last: 0 the arrow, 128 and up the colour
// cursors when loaded, everything else the cursor resource of that id (missing: cursor unchanged).
void SetCursorById(SInt16 id);
void ShowWatchCursor();
// The next SetCursorById always takes effect.
void ForgetCursor();
Boolean IsSystem107OrLater();

// The document's stored mouse point (local coordinates of its window), as the drawing tools read it.
void StoreMousePoint(DocWindowRecord* doc);
Point StoredMousePoint(const DocWindowRecord* doc);
// Waits while the mouse stays where it is with the button down (taking only mouse-down and mouse-up
// events); stores the last point read and returns whether the button is still down.
Boolean WaitForMouseMove(DocWindowRecord* doc);
// Polls the button until its state equals `down`.
void WaitButtonState(Boolean down);
