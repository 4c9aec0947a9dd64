// Values and settings set by pending commands: the whole drawing scaled to a length, the drawing
// scale last typed, and the resolution of the raster images from a length measured in them.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct FSRef;

// The colour index of a custom colour.
constexpr UInt16 kCustomColourIndex = 65535;
// reals978 slot of DocSettings holding the drawing scale last typed.
constexpr int kTypedScaleSlot = 28;

// Scales every element, on hidden layers too, about (0, 0) by the factor, in one undo step; nothing
// for a factor that is not above 0.
void ScaleWholeDrawing(DocWindowRecord* doc, Float64 factor);

Float64 TypedDrawingScale(const DocWindowRecord* doc);
void SetTypedDrawingScale(DocWindowRecord* doc, Float64 scale);

// Dialog 207: the distance between the two points (item 5) is corrected to the length it really has
// and divided by item 6; on OK the value becomes (distance / item 5) x value / item 6. Items that are
// not above 0, or a result that is not a usable number, are refused in the dialog. True on OK.
Boolean ScaleFromMeasuredLength(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                                Float64* value);

// Reads the native drawing into the document with its origin at (x, y); the elements read are one
// undo step. False when it could not be read (the reader has said why).
Boolean PlaceDrawingFile(DocWindowRecord* doc, const FSRef* file, Float64 x, Float64 y);
