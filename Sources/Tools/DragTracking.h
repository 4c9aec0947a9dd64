// Tracking loops that follow the mouse while the button is held, with feedback in the window.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// One corner of a rectangle follows the mouse (moved by the mouse's offset from where the press
// began) while the opposite corner (fixedX, fixedY) stays; the rectangle is shown in XOR. With
// proportional the rectangle keeps width / height = ratio. The cursor is set to cursorId. The
// corner is handed back in (*x, *y); true when the mouse ended elsewhere than it began.
Boolean TrackDragOffset(DocWindowRecord* doc, SInt16 cursorId, Float64 fixedX, Float64 fixedY, Float64* x,
                        Float64* y, Boolean proportional, Float64 ratio);
