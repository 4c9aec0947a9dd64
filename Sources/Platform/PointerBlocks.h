// Non-relocatable blocks (Ptr) that know their size, as the program's callers free and measure them.
#pragma once

#include "Platform/MacTypes.h"

// Null when the memory could not be had.
Ptr NewPtr(Size byteCount);
Ptr NewPtrClear(Size byteCount);
void DisposePtr(Ptr p);
Size GetPtrSize(Ptr p);
