// Dimension services above the single creators: finding a dimension by key, chains and baselines
// over any number of points, point-to-line dimensions for several points, a new text and a new
// position for an existing dimension.
#pragma once

#include "Model/DocumentRecords.h"

// The dimension walk cursor moved to the first dimension with the key; true when found.
Boolean FindDimensionByKey(DocWindowRecord* doc, SInt16 key);

// A chain of dimensions between the points ordered along the direction: 'H' horizontal, 'V'
// vertical, 'P' along (dx, dy); the dimension line through the position. Points that measure nothing
// against their neighbour are passed over. The number made; message 69 when none.
SInt16 CreateChainDimensions(DocWindowRecord* doc, char letter, const Float64* points, SInt16 count,
                             Float64 posX, Float64 posY, Float64 dx, Float64 dy);
// One dimension from the base line's start to each point, measured along the base line, nearest
// first; the first dimension line through the position, each further one a stack spacing farther
// out on the position's side. The number made; message 69 when none.
SInt16 CreateBaselineDimensions(DocWindowRecord* doc, const LineRecord* base, const Float64* points,
                                SInt16 count, Float64 posX, Float64 posY);
// The distance of each point from the line. The number made.
SInt16 CreatePointLineDimensions(DocWindowRecord* doc, const LineRecord* line, const Float64* points,
                                 SInt16 count);

// The dimension again with a typed text (empty: the measured value; its own text: as it was) and
// upper tolerance; the lower tolerance stays. The new record, or null when nothing was made (the old one then
// stays).
DimensionRecord* ChangeDimensionText(DocWindowRecord* doc, DimensionRecord* dimension, ConstStr255Param text,
                                     ConstStr255Param upperTolerance);
// The dimension again with its dimension line (circle and angle kinds: its text) through the point.
// Null when nothing was made (message 144 for a circle dimension on its centre).
DimensionRecord* MoveDimensionLine(DocWindowRecord* doc, DimensionRecord* dimension, Float64 x, Float64 y);
