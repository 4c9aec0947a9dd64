// What the layer, frame and output-area commands move with the mouse.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Moves the rectangle (drawing units) by the mouse's way, rounded to the grid, while the button is
// held; the window is redrawn after each move. True when the mouse ended elsewhere than it began.
Boolean DragRectangleWithMouse(DocWindowRecord* doc, Float64* x1, Float64* y1, Float64* x2, Float64* y2);
// The page of the paper format follows the mouse with its lower-left corner while the button is
// held; at release it becomes the PDF output area. False, with nothing changed, for a format without
// a page size.
Boolean DragPageFrame(DocWindowRecord* doc);
// A page of the size (drawing units) follows the mouse with its lower-left corner while the button
// is held, shown over the drawing; page holds where it was let go (x1, y1, x2, y2).
Boolean FollowPageWithMouse(DocWindowRecord* doc, Float64 width, Float64 height, Float64 page[4]);
// The page width and height of a paper format (1 to 6); false for the others.
Boolean PaperPageSize(SInt16 format, Float64* width, Float64* height);
