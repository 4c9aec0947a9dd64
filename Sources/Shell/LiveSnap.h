// The live snap of the fixed-point snap mode: while a step waits for a point, the loop's fast idle
// marks the characteristic point or crossing of the elements under the mouse, and a click takes it.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Snap mode 3, fast idle: picks the lines, polyline segments and circles within the hover aperture
// of the mouse and moves the fixed point (and its mark) to the point they offer; with nothing under
// the mouse, or in a step that takes no point from it, the fixed point is dropped.
void HoverSnap(DocWindowRecord* doc);
// With show, the fixed point becomes (x, y) and is marked by a red cross in a circle; without, the
// fixed point is dropped and the view redrawn without its mark.
void DrawFixedPointMarker(DocWindowRecord* doc, Boolean show, Float64 x, Float64 y);
// The mark again over a redrawn view, while the fixed point stands in snap mode 3.
void RedrawFixedPointMarker(DocWindowRecord* doc);
