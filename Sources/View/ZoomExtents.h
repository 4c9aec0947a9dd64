// Zooming (one step about a point or the view's centre, to a rectangle, to a percentage), the
// drawing's extents with the view fitted to them, and tracking a rectangle dragged in the window.
#pragma once

#include "Model/DocumentRecords.h"

// One zoom step of 1.1: in (scale / 1.1) or out (x 1.1), the drawing point under the pixel (h in the
// drawing area, v counted upward) staying under it; the view is redrawn with its scroll bars.
void ZoomViewAboutPoint(DocWindowRecord* doc, Boolean zoomIn, SInt16 h, SInt16 v);
// One step about the view's centre: in halves the scale (the origin moves in by a quarter of the
// visible size), out doubles it (the origin moves out by half).
void ZoomViewAboutCentre(DocWindowRecord* doc, Boolean zoomIn);
// Fits the world rectangle into the drawing area, centred; false (nothing changed) for an empty one.
Boolean ZoomToWorldRect(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2);
// The scale kept at least 1e-15, the view redrawn with its scroll bars.
void ApplyZoom(DocWindowRecord* doc);
// The zoom percentage shown to the user: 100 at one pixel a point.
Float64 ZoomPercent(const DocWindowRecord* doc);
// The view's origin (the drawing point at the bottom-left pixel of the drawing area) and scale, set
// as given; the caller updates the extent and redraws.
void SetViewOrigin(DrawingRecord* d, Float64 x, Float64 y);
void SetViewScale(DrawingRecord* d, Float64 unitsPerPixel);
// The view before a zoom, kept for the way back; the way back swaps it with the current one.
void RememberPreviousView(DrawingRecord* d);
void SwapWithPreviousView(DrawingRecord* d);

// The bounding box of the elements (all, or those of one key when key is not 0; only those on visible
// layers with visibleOnly), kept as the document's extents; with option 1 the drawing's frames count
// as well. When the box is not empty and the window has a drawing area, the view is fitted to it (not
// redrawn). False and a zero box for no elements.
Boolean ComputeDrawingExtents(DocWindowRecord* doc, SInt16 key, Boolean visibleOnly, Float64* x1, Float64* y1,
                              Float64* x2, Float64* y2, SInt16 option);

// Tracks a rectangle from the mouse position while the button is held, drawn in XOR in the window:
// from that corner, or (fromCentre) about that point. Stores it in the drawing record in world
// coordinates (lower-left corner, width, height). False when the mouse did not move.
Boolean TrackDragRectangle(DocWindowRecord* doc, Boolean fromCentre);
