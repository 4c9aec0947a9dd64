// The colours dialog (137): the six display colours and the eight pen colours of a drawing, picked
// from a 16 x 16 grid of one of two colour tables or with the system colour picker, with a preview.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kColorsDialog = 137;
constexpr SInt16 kColorsEditable = 14; // six display colours, then pens 1 to 8

void ColorsDialog(DocWindowRecord* doc);
// The colour being edited: 0..5 the display colours, 6..13 the pens.
RGBColor* EditedColor(DocSettings* settings, SInt16 index);
// The grid cell under a point of the grid's inner square (its frame inset by 1), clamped to 0..255;
// -1 outside the square.
SInt16 ColorGridCell(const Rect& inner, Point where);
// The table the grid shows: 0 the system's 256 colours, otherwise the element palette.
const RGBColor* ColorTable(SInt16 choice);
// Colour switches kept with the drawing (see Sources/README.md).
SInt16& ColorSwitch(DocSettings* settings, int n);
