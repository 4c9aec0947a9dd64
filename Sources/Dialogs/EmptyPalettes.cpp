// The info, symbol, presets, layer-set and object info palettes as windows without contents yet: an
// empty list, its scroll bar and buttons, laid out on resize and scrolled by the wheel.
#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"

#include "Other/FloatingWindows.h"
#include "Platform/QuickDraw.h"

void UpdateInfoWindow(DocWindowRecord*) {
    DrawListPalette(PaletteId::info);
}

void LayoutInfoWindow(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::info, width, height);
}

void ScrollInfoList(SInt16 newValue, SInt16 oldValue) {
    ScrollPaletteList(PaletteId::info, newValue, oldValue);
}

void UpdateSymbolPalette(DocWindowRecord*) {
    DrawListPalette(PaletteId::symbols);
}

void SymbolPaletteClick(DocWindowRecord*, Point, UInt16) {}

void LayoutSymbolPalette(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::symbols, width, height);
}

void SymbolPaletteWheel(SInt16, SInt16) {
    InvalidatePalette(PaletteId::symbols);
}

void RefreshSymbolPalette(DocWindowRecord*) {
    InvalidatePalette(PaletteId::symbols);
}

// Without symbols to show, the other size is the same palette shown again.
void SymbolPaletteZoom(DocWindowRecord*) {
    ShowPaletteWindow(PaletteId::symbols, false, 0, 0, false, 0, 0, GeneralPrefs.symbolPalette.shown != 0);
}

void UpdatePresetWindow(DocWindowRecord*) {
    DrawListPalette(PaletteId::presets);
}

void PresetWindowClick(DocWindowRecord*, Point, UInt16) {}

void GrowPresetWindow(WindowRef window, Point where) {
    GrowPaletteWindow(window, where);
}

void LayoutPresetWindow(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::presets, width, height);
}

void ScrollPresetList(SInt16 newValue, SInt16 oldValue) {
    ScrollPaletteList(PaletteId::presets, newValue, oldValue);
}

void RefreshPresetList(DocWindowRecord*) {
    InvalidatePalette(PaletteId::presets);
}

void DrawLayerSetPalette(DocWindowRecord*) {
    DrawListPalette(PaletteId::layerSets);
}

void LayerSetPaletteClick(DocWindowRecord*, Point, UInt16) {}

void GrowLayerSetPalette(WindowRef window, Point where) {
    GrowPaletteWindow(window, where);
}

void LayoutLayerSetPalette(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::layerSets, width, height);
}

void ScrollLayerSetList(SInt16 newValue, SInt16 oldValue) {
    ScrollPaletteList(PaletteId::layerSets, newValue, oldValue);
}

void RefreshLayerSetList(DocWindowRecord*) {
    InvalidatePalette(PaletteId::layerSets);
}

void DrawObjectInfoPalette(DocWindowRecord*) {
    DrawListPalette(PaletteId::objectInfo);
}

void ObjectInfoPaletteClick(DocWindowRecord*, Point, UInt16) {}
