// Moving, shifting and copying the elements of layers; the frame lists (frames, saved views and the
// two output areas), moved together, and a frame made from a world rectangle.
#pragma once

#include "Model/DocumentRecords.h"

// The highest layer an element may be on.
constexpr SInt16 kHighestLayer = kLayerCount - 1;

// Every element of the source layer, hidden or not, goes to the target layer, in one undo step.
// The number of elements moved.
SInt32 MoveLayerElements(DocWindowRecord* doc, SInt16 source, SInt16 target);
// Deletes every element of the layer, hidden or not, in one undo step; the selection is cleared.
// The number deleted.
long DeleteLayerElements(DocWindowRecord* doc, SInt16 layer);
// Scales every element of the layer about the origin by the factor, in one undo step; the selection
// is cleared. False, with nothing changed, for a factor that is not a positive finite number.
Boolean ScaleLayerElements(DocWindowRecord* doc, SInt16 layer, Float64 factor);
// True when every layer of first..last (in either order) moved by delta stays within 0..1023.
Boolean LayerRangeFits(SInt16 first, SInt16 last, SInt16 delta);
// The elements of layers first..last go delta layers up (down for a negative delta), in one undo step.
// False, with nothing changed, when a layer would leave 0..1023.
Boolean ShiftLayerRange(DocWindowRecord* doc, SInt16 first, SInt16 last, SInt16 delta);
// A copy of every element of layers a..b is appended on its layer plus c, in one undo step. False,
// with nothing changed, when a layer would leave 0..1023 or c is 0.
Boolean DuplicateLayer(DocWindowRecord* doc, SInt16 a, SInt16 b, SInt16 c);

// A new frame of the kind at the end of the frame list, from the world rectangle (corners in any
// order), at the drawing's scale and the name (cut to 63 characters). False when it cannot be made.
Boolean NewFrameFromRect(DocWindowRecord* doc, SInt16 kind, Float64 x0, Float64 y0, Float64 x1, Float64 y1,
                         ConstStr255Param name);
// The number of frames, and frame n (from 1) of the list; null when there is none of that number.
SInt16 CountFrames(const DocWindowRecord* doc);
FrameRecord* FrameAt(const DocWindowRecord* doc, SInt16 n);
// Frame n (from 1) taken out of the list and freed with its print settings and page format. False
// when there is none of that number.
Boolean DeleteFrameAndDispose(DocWindowRecord* doc, SInt16 n);
// Both corners of every frame and saved view, and the PDF and HPGL output areas, moved by (dx, dy).
// An output area that is not set (all four zero) stays unset.
void OffsetFrameLists(DocWindowRecord* doc, Float64 dx, Float64 dy);
