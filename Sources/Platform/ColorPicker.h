// The system colour picker.
#pragma once

#include "Platform/MacTypes.h"

// A modal colour dialog titled with the prompt, starting at `in`; `where` (global) places it, (0, 0)
// lets the system choose. True with `out` set when the user accepts; `out` is untouched on cancel.
// Offscreen, with no queued answer, the picker counts as cancelled.
Boolean GetColor(Point where, ConstStr255Param prompt, const RGBColor* in, RGBColor* out);

// Tests: the answer of the next picker, taken without showing it.
void QueueColorPickerAnswer(Boolean accept, const RGBColor& colour);
// How many pickers were asked for since the start (tests).
SInt32 ColorPickerRequests();
