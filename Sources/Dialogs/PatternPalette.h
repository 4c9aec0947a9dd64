// The pattern palette: the 32 system patterns as 14-pixel cells, the current one framed twice, a
// scroll bar along the right edge when not every row fits.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kPatternCell = 14;
constexpr SInt16 kPatternCount = 32;

// Columns at a window width; never fewer than one, however narrow the window.
SInt16 PatternColumns(SInt16 width);
// The pattern under a local point of the cell area, the first visible pattern given; 0..31.
SInt16 PatternAtPoint(Point local, SInt16 firstVisible, SInt16 columns);
// The size the grow box leaves: 14 k + 10 wide (at least 38), 14 k - 1 high (at least 69).
void PatternGrowSize(SInt16 width, SInt16 height, SInt16* newWidth, SInt16* newHeight);
// Whether the scroll bar is enabled at that size: its test counts one column fewer than the drawing
// does at the widths growing gives.
Boolean PatternScrollBarEnabled(SInt16 width, SInt16 height);

void DrawPatternPalette(DocWindowRecord* doc, Boolean update);
void DrawPatternCell(SInt16 column, SInt16 row, SInt16 pattern, Boolean current);
void UpdatePatternScrollBar();
void HilitePatternScrollBar();
SInt16 FirstVisiblePattern();
