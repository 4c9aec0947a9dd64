// Whole numbers to and from decimal text, as the system's conversions do it.
#pragma once

#include "MacTypes.h"

void NumToString(SInt32 number, Str255 text);
// An optional sign, then every character taken as a digit (value × 10 + character − "0"), so text
// that is not a number gives a number all the same; callers check their input first.
void StringToNum(ConstStr255Param text, SInt32* number);
