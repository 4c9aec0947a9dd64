// Whole numbers to and from decimal text, and dates and times as text, as the system's conversions
// do it.
#pragma once

#include "Platform/MacTypes.h"

void NumToString(SInt32 number, Str255 text);
// An optional sign, then the digits up to the first other character; 32-bit arithmetic wraps as the
// system's conversion does. Text with no digits gives 0.
void StringToNum(ConstStr255Param text, SInt32* number);

// A date and a time (seconds since 1904, local time) in the desktop's short formats, Mac Roman.
void DateString(UInt32 secs, Str255 text);
void TimeString(UInt32 secs, Str255 text);
