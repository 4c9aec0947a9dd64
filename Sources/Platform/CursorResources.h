// Mouse cursors: the arrow, black-and-white 16 x 16 cursors from the cursor resources and colour
// cursors from images. The cursor is one for the whole application, as on the Mac.
#pragma once

#include "Platform/MacTypes.h"

// A black-and-white cursor: rows top to bottom, bit 15 the left pixel. Data 1 is black; data 0 with
// mask 1 is white; both 0 is transparent; data 1 with mask 0 inverts what lies beneath.
struct Cursor {
    UInt16 data[16];
    UInt16 mask[16];
    Point hotSpot;
};
using CursPtr = Cursor*;
using CursHandle = Cursor**;

struct ColorCursorRecord;
using CCrsrHandle = ColorCursorRecord*;

// Standard cursor resource ids.
enum : SInt16 { iBeamCursor = 1, crossCursor = 2, plusCursor = 3, watchCursor = 4 };

// The cursor resource of that id, or null. The handle stays valid for the whole run.
CursHandle GetCursor(SInt16 id);
void SetCursor(const Cursor* cursor);
// The standard arrow.
void InitCursor();
// Colour cursors from the 'crsr' resources; null when the resource or its image is missing.
CCrsrHandle GetCCursor(SInt16 id);
void SetCCursor(CCrsrHandle cursor);
void DisposeCCursor(CCrsrHandle cursor);

// What was last set, for tests: the number of cursor changes made so far, and a description of the
// current cursor ("arrow", "CURS 4", "crsr 139").
SInt32 CursorChangeCount();
const char* CurrentCursorName();
