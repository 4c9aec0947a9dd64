// Re-styling one dimension: its own style is loaded into the drawing's dimension settings, the
// dimension settings dialog runs in its one-page form, and the dimension is made again with what
// results, keeping the user's words around its value. The drawing's settings are restored afterwards.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct DimensionRecord;

// OK makes the new dimension and removes the old one in one undo step; Cancel deselects everything
// and records nothing.
void EditDimensionSettings(DocWindowRecord* doc, DimensionRecord* dimension);

// The words before and after the old value text in the dimension's text: false when the value is
// not found. The suffix loses what is left of the old number after the value text (a decimal point
// and digits), so "12.25 mm" found as "12" gives " mm".
Boolean SplitAroundValue(ConstStr255Param text, ConstStr255Param value, StringPtr prefix, StringPtr suffix);
