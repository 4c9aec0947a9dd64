// The colour/pen palette's clicks: a cell of the shown 256-colour table, the colour picker and the
// typed RGB values; and the two colour tables a drawing can show.
#pragma once

#include "Model/DocumentRecords.h"

// Colour i of the system's 8-bit table: the 6 x 6 x 6 cube from white, ramps of red, green, blue and
// grey, black last.
RGBColor SystemColorAt(SInt16 index);
// Colour i of the table the document shows (the element palette, or the system table when its
// colour-table choice is set).
RGBColor ShownColorAt(const DocWindowRecord* doc, SInt16 index);
// The cell under a local point of the palette, or -1 below the sixteenth row.
SInt16 ColorCellAt(Point local);

// Stand-ins until the palette's drawing comes: both redraw the palette by its update.
void DrawColorCell(SInt16 index, const RGBColor& rgb, Boolean selected);
void DrawCurrentColorSwatch(DocWindowRecord* doc);
