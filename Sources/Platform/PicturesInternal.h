// The picture decoder's record of what a picture draws, for the port and the drawing context.
#pragma once

#include "Platform/QuickDrawTypes.h"

#include <cstddef>

class QPicture;

// Records the picture's drawing in its frame's coordinates (the frame's top-left at 0, 0, y down);
// false when it is not a picture the decoder reads or draws nothing. *frame receives the frame; *whole,
// when asked for, whether the walk stayed within the data.
bool RecordPicture(const UInt8* bytes, size_t size, QPicture* picture, Rect* frame, bool* whole = nullptr);
