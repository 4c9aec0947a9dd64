// Clicks in the status bar of a document window: the pen, width, line-type, layer, key, scale,
// preset, pick-mode, switch and line-end boxes with their pop-ups.
#pragma once

#include "Model/DocumentRecords.h"
#include "Platform/Menus.h"

constexpr SInt16 kPenMenu = 143;
constexpr SInt16 kLineTypeMenu = 144;
constexpr SInt16 kLineEndMenu = 140;
constexpr SInt16 kPickModeMenu = 159;
constexpr SInt16 kLayerPopUpMenu = 200;
constexpr SInt16 kPresetPopUpMenu = 8000;
// The pick-mode menu's own items: every kind, then one item a kind (pick filters 0..8).
constexpr SInt16 kPickModeKindItems = 9;

// A click at the stored mouse point of the status bar's left part (x 0..272). Posts a status-area
// action (kind 500) and returns true when the tool dispatcher must run; false otherwise. The boxes
// of the layer, the key and the scale do nothing while an output context is active.
Boolean StatusBarPopup(DocWindowRecord* doc, Boolean option);

// The layer pop-up's items: one per used layer, ascending, "n - name", hidden layers marked, the
// current one checked. Its layers go to `layers` (1024 entries); the count is returned, 0 when no
// layer is in use (the menu is then left empty).
SInt16 BuildLayerPopUp(DocWindowRecord* doc, MenuRef menu, SInt16* layers);
// A choice of the layer pop-up: the layer becomes current; with option a visible layer is hidden (the
// current layer moves to the lowest used one when it was the hidden one), without it a hidden layer
// is shown.
void ChooseLayerFromPopUp(DocWindowRecord* doc, SInt16 layer, Boolean option, SInt16 lowestUsed);
