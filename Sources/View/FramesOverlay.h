// The frames, saved views and output areas shown over the drawing as labelled rectangles.
#pragma once

#include "Model/DocumentRecords.h"

// Draws them into the drawing's current context (the window pass, or a context of its own).
void DrawFramesOverlay(DocWindowRecord* doc);
// Draws them once on the window, outside an update; the next full redraw shows them only when the
// document's frames switch is on.
void ShowFramesOverlay(DocWindowRecord* doc);
// One rectangle (x1, y1, x2, y2) drawn once on the window in the PDF area's colour.
void ShowOverlayRect(DocWindowRecord* doc, const Float64 rect[4]);
// Counts the rectangles the overlay drew, for tests.
extern UInt32 gFramesOverlayRectCount;
