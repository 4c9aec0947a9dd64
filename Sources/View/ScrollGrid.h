// Moving the view by a pixel delta, the mouse position in drawing coordinates with the pick rectangle,
// and the background grid (orthogonal or turned).
#pragma once

#include "Model/DocumentRecords.h"

struct CGContext;

// originX -= (toH - fromH) x unitsPerPixel, originY += (toV - fromV) x unitsPerPixel (pixels count
// down, the world up), then the view is redrawn with its scroll bars.
void ScrollViewBy(DocWindowRecord* doc, SInt16 fromH, SInt16 fromV, SInt16 toH, SInt16 toV);
// The world point under a mouse position and the pick rectangle (the pick aperture to each side): x in
// drawing-area pixels, y counted upward from the bottom of the drawing area.
struct WorldPickPoint {
    Float64 x, y;
    Float64 minX, maxX, minY, maxY;
};
WorldPickPoint PixelToWorld(const DocWindowRecord* doc, SInt16 mouseX, SInt16 mouseY);

// The grid in the normal or the alternative grid colour, drawn only when both spacings are more than
// two pixels on screen.
void DrawGrid(DocWindowRecord* doc, Boolean alternativeColour);
// The lines of one family of a turned grid over the world rectangle, at whole multiples of the step
// measured from the world origin.
void DrawSkewedGridLines(DocWindowRecord* doc, CGContext* ctx, Float64 angle, Float64 left, Float64 bottom,
                         Float64 right, Float64 top, Float64 spacing, const RGBColor& colour);
// The grid spacings in world millimetres.
void GridSpacing(const DocWindowRecord* doc, Float64* sx, Float64* sy);
