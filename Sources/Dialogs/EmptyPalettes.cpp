// The info, symbol and object info palettes as windows without contents yet: an
// empty list, its scroll bar and buttons, laid out on resize and scrolled by the wheel.
#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"

#include "Interface/FloatingWindows.h"
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

void DrawObjectInfoPalette(DocWindowRecord*) {
    DrawListPalette(PaletteId::objectInfo);
}

void ObjectInfoPaletteClick(DocWindowRecord*, Point, UInt16) {}
