// Inside the platform layer only: the raster operations QuickDraw drawing, text and CopyBits share.
#pragma once

#include "Platform/PlatformWindowInternal.h"

class QPoint;

// The current port, null when none.
GrafPtr CurrentPort();
// Where drawing may reach in a port: clip region, visible region and port rectangle (local).
QRegion PortDrawableRegion(GrafPtr port);
// A pixel value for a colour at the port's depth.
UInt32 PortPixel(GrafPtr port, const RGBColor& colour);
// Applies a pattern in a transfer mode over a shape (local coordinates), clipped to the port.
void PaintShape(GrafPtr port, const QRegion& shape, const Pattern& pattern, SInt16 mode, const RGBColor& fg,
                const RGBColor& bg);
// Applies the mode to the set pixels of a mask image (alpha >= 128), its top-left at `origin` (local).
void PaintMask(GrafPtr port, const QImage& mask, const QPoint& origin, SInt16 mode, const RGBColor& fg,
               const RGBColor& bg);
// A rectangle as a Qt region, empty when the rectangle is.
QRegion RegionOfRect(const Rect& r);
