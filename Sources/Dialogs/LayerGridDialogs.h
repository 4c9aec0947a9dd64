// The layer visibility grid (dialog 136: a hundred layers as 10 x 10 cells with row and column
// arrows) and the deletion of a layer's elements (dialog 203).
#pragma once

#include "Platform/DialogManager.h"

struct DocWindowRecord;
struct DocSettings;

constexpr SInt16 kLayerGridDialog = 136, kLayerGridPositionSlot = 2;
constexpr SInt16 kDeleteLayerDialog = 203, kDeleteLayerPositionSlot = 53;
constexpr SInt16 kLayerGridItem = 3, kLayerGridPageItem = 5, kDeleteLayerNumberItem = 4;
constexpr SInt16 kLayerCellWidth = 33, kLayerCellHeight = 17;

// The grid's first layer (0..924), kept with the drawing's settings.
SInt16& LayerGridPageStart(DocSettings* settings);

void LayerVisibilityDialog(DocWindowRecord* doc);
void DeleteLayerDialog(DocWindowRecord* doc);

// What the grid shows at a point local to item 3's top-left corner: the cell index 0..99, or -1.
SInt16 LayerGridCellAt(Point offset);
// The arrow under the point (local to item 3's top-left): 0..9 the rows, 10..19 the columns, -1 none.
SInt16 LayerGridArrowAt(Point offset);
// The help tag of the grid under a local point of dialog 136: the layer's name and its cell, false
// where no tag shows (no cell, a layer beyond 999, an empty name).
Boolean LayerGridHelpTag(DialogRef dialog, Point local, Str255 name, Rect* hot);
