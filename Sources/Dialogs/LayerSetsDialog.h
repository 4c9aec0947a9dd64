// Layer sets: named copies of the 1024 visibility bits, kept in name order. The layer-set dialog
// (164) makes, stores, deletes and applies them and edits the visibility by ranges and on a map of
// 32 x 32 squares; the layer-set palette applies them with one click.
#pragma once

#include "Platform/DialogManager.h"

struct DocWindowRecord;
struct LayerSetRecord;

constexpr SInt16 kLayerSetsDialog = 164, kLayerSetsPositionSlot = 22;
constexpr SInt16 kLayerSetMenu = 8000;
constexpr SInt16 kLayerMapItem = 17;
// The pop-up's entries: 1 no set, 2 the separator, n + 2 set n.
constexpr SInt16 kNoLayerSet = 1, kFirstLayerSetEntry = 3;

// The layer-set palette follows the list through these hooks (the palette's refill and its selected
// row; tests may replace them).
using LayerSetListHook = void (*)(DocWindowRecord* doc);
using LayerSetSelectionHook = SInt16 (*)(); // the palette's selected row from 0, or -1
extern LayerSetListHook gLayerSetListChanged;
extern LayerSetSelectionHook gLayerSetPaletteSelection;

void LayerSetsDialog(DocWindowRecord* doc);

// Set n (from 1) of the list, or null.
LayerSetRecord* LayerSetAt(DocWindowRecord* doc, SInt16 n);
// Counts the sets into the settings' layer-set count and returns it.
SInt16 CountLayerSets(DocWindowRecord* doc);
// A set made from the current visibility, inserted in name order; its position, 0 when it could
// not be made.
SInt16 NewLayerSetFromVisibility(DocWindowRecord* doc, ConstStr255Param name);
void DeleteLayerSet(DocWindowRecord* doc, SInt16 n);
void StoreLayerSet(DocWindowRecord* doc, SInt16 n);
// Set n's bits become the visibility (n below 1 does nothing) and the window is redrawn.
void ApplyLayerSet(DocWindowRecord* doc, SInt16 n);
// True when a set has exactly this name (same bytes).
Boolean LayerSetNameExists(DocWindowRecord* doc, ConstStr255Param name);
// The layer under a point of the map (local to the dialog), -1 outside its 1024 squares.
SInt16 LayerMapCellAt(const Rect& map, Point local);

// The palette's actions: a chosen set (its layers and the current one visible), all layers, only
// the current layer. Each invalidates the drawing.
void ChooseLayerSet(DocWindowRecord* doc, const LayerSetRecord* set);
void ShowAllLayers(DocWindowRecord* doc);
void ShowOnlyCurrentLayer(DocWindowRecord* doc);
