// Text metrics without a drawing context: the advance of UTF-8 text and the font's ascent and descent
// at any size, measured the way the drawing context lays text out, so layout and drawing agree.
#pragma once

#include "Platform/MacTypes.h"

// Width of the text at the given size (pixels or points, as the size); 0 without an application.
Float64 MeasureTextUTF8(SInt16 fontNumber, SInt16 face, Float64 size, const char* text, SInt32 length);
// Ascent and descent (both positive) at the size; 0 without an application.
void MeasureFontExtents(SInt16 fontNumber, SInt16 face, Float64 size, Float64* ascent, Float64* descent);
