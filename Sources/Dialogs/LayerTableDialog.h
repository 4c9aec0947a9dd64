// The layer table (dialog 163): names, visibility and colours of the 1024 layers ten rows a page,
// with go-to (166), find by name (167) and the printed list of the layers in use.
#pragma once

#include "Platform/DialogManager.h"
#include "Platform/Controls.h"
#include "Platform/Menus.h"

struct DocWindowRecord;
struct LayerVisibilitySet;
struct LayerNameTable;

constexpr SInt16 kLayerTableDialog = 163, kLayerTablePositionSlot = 23;
constexpr SInt16 kGoToLayerDialog = 166, kFindLayerDialog = 167;
constexpr SInt16 kLayerTableLastPage = 1014;
constexpr SInt16 kLayerColourMenu = 167;

void LayerTableDialog(DocWindowRecord* doc);
// Prints the numbers and names of the layers that hold elements through the print session.
void LayerUsageOverview(DocWindowRecord* doc);

// The colours, the visibility and the names as they were, for Cancel; memFullErr frees what was made.
struct LayerTableBackup {
    RGBColor* colours = nullptr;
    LayerVisibilitySet* visible = nullptr;
    LayerNameTable* names = nullptr;
};
OSErr BackupLayerTables(DocWindowRecord* doc, LayerTableBackup* backup);
// Without keep the backup is copied back first; the blocks are freed in both cases.
void EndLayerTableBackup(DocWindowRecord* doc, Boolean keep, LayerTableBackup* backup);

// The item of the colour pop-up marked for a colour: a basic colour (1..8), else a palette colour
// (10..264), else 1.
SInt16 LayerColourMenuItem(const RGBColor& colour);
// The first row after a click on a part of the scroll bar: arrows move one row, pages nine rows
// (a page's last row stays on the next), the thumb to its value; always within 0..1014.
SInt16 LayerTableStartAfter(SInt16 start, ControlPartCode part, SInt16 thumbValue);
// Stores the page's names, shows the page around the layer and selects the layer's name.
void ScrollLayerPage(DocWindowRecord* doc, DialogRef dialog, SInt16 layer);
// Gives every unnamed layer a generated name; true when one was given.
Boolean NameUnnamedLayers(DocWindowRecord* doc);
