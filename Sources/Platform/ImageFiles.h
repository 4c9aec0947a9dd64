// Image files (PNG and the other formats Qt reads) drawn into a port.
#pragma once

#include "Platform/QuickDrawTypes.h"

// Draws the image scaled into the rectangle (local coordinates of the port); false when the file
// cannot be read.
Boolean DrawImageFileInPort(const char* path, CGrafPtr port, const Rect* rect);
