// The world-to-view transform: drawing millimetres (y up) to the window's QuickDraw and CoreGraphics
// points, or to the print and PDF page through the output transform; the clip of a segment to the
// port; the device and world rectangles the current output covers.
#pragma once

#include "Platform/Controls.h"
#include "Model/DocumentRecords.h"

// The scroll bar's width and the part of the port below the drawing area it takes.

// The QuickDraw pair is written only when both of its pointers are given; the CoreGraphics pair always.
void WorldToView(const DocWindowRecord* doc, Float64 x, Float64 y, Float64* qdX, Float64* qdY, Float64* cgX,
                 Float64* cgY);
// The same with the QuickDraw pair rounded to whole pixels (kept within the 16-bit range).
void WorldToViewInt(const DocWindowRecord* doc, Float64 x, Float64 y, SInt16* qdH, SInt16* qdV, Float64* cgX,
                    Float64* cgY);
// A world length in device units: / unitsPerPixel on screen, x outputScaleX in output.
Float64 WorldToDeviceLength(const DocWindowRecord* doc, Float64 length);

// The device rectangle of the current output in CoreGraphics points from (0, 0): the whole port on
// screen, the output area while printing (very large when the output area is not known).
void DeviceBounds(const DocWindowRecord* doc, Float64* width, Float64* height);
// The world rectangle the current output shows: the visible rectangle on screen, the output area in
// output mode (unbounded when not known).
void VisibleWorldRect(const DocWindowRecord* doc, Float64* minX, Float64* minY, Float64* maxX, Float64* maxY);
// True when the world box meets what the current output shows.
Boolean WorldBoxVisible(const DocWindowRecord* doc, Float64 minX, Float64 minY, Float64 maxX, Float64 maxY);

// Clips a segment to 0..width x 0..height (boundary values count as outside). False when nothing is
// left to draw: wholly outside, sharing an outside side, or touching the rectangle in one point only.
// The ends keep their direction, so the clipped start lies on the way from the original start.
Boolean ClipSegmentToPort(Float64* x1, Float64* y1, Float64* x2, Float64* y2, Float64 width, Float64 height);
