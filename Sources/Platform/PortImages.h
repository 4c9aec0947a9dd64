// A port's pixels against a reference PNG: how many differ, with an image that shows where.
#pragma once

#include "Platform/QuickDrawTypes.h"

// The number of pixels of the port that differ from the PNG file; -1 when the file cannot be read or
// its size is not the port's. With a difference path, an image of the differing pixels (red over a
// faded copy of the port) is written there when any differ.
long ComparePortWithPNG(CGrafPtr port, const char* referencePath, const char* diffPath);
