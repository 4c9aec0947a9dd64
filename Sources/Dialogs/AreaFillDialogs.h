// The fill of an area: a single or crossed hatch, or a pattern of one of three families (PAT# 131
// 24 patterns, PAT# 132 21 greys in steps of 5 %, PAT# 133 15 patterns). Dialog 151 edits the fill of
// an existing area; dialogs 181 to 183 choose a pattern of one family for a new area.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct AreaRecord;

constexpr SInt16 kAreaFillDialog = 151, kAreaFillPositionSlot = 40;
constexpr SInt16 kCrossHatchFill = -1, kSingleHatchFill = -2;

// The number of patterns of a fill kind (0, 1, 2) and the index a dialog opens at when the value
// lies outside 1..count.
SInt16 FillFamilyCount(SInt16 kind);
SInt16 FillFamilyDefault(SInt16 kind);
// The index a dialog shows for a stored fill value of the kind.
SInt16 FillIndexOf(SInt16 kind, Float64 value);

// Dialog 151 on the area: OK writes the new fill as one undo step; the area is deselected and the
// window redrawn in any case. True after OK.
Boolean AreaFillDialog(DocWindowRecord* doc, AreaRecord* area);
// Dialogs 181, 182, 183: true after OK with *fillKind the family's kind and *fillValue the index
// chosen; after Cancel nothing is written. `unused` is left alone.
Boolean ChooseFillPattern0Dialog(SInt16* fillKind, void* unused, Float64* fillValue);
Boolean ChooseFillPattern1Dialog(SInt16* fillKind, void* unused, Float64* fillValue);
Boolean ChooseFillPattern2Dialog(SInt16* fillKind, void* unused, Float64* fillValue);
