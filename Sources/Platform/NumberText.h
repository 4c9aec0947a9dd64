// Whole numbers to and from decimal text, as the system's conversions do it.
#pragma once

#include "MacTypes.h"

void NumToString(SInt32 number, Str255 text);
// An optional sign, then the digits up to the first other character; 32-bit arithmetic wraps as the
// system's conversion does. Text with no digits gives 0.
void StringToNum(ConstStr255Param text, SInt32* number);
