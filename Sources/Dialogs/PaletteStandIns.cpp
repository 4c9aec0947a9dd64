// Stand-ins for the palette contents still to come: the coordinate bar's texts, the info window's
// clicks, the colour palette, the pattern palette and the saved views. Each keeps its window usable
// (drawn empty, laid out, scrolled) until its own code takes its place.
#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"

#include "Platform/QuickDraw.h"

void UpdateCoordBar(DocWindowRecord*) {
    DrawListPalette(PaletteId::coordBar);
}

void InfoWindowClick(DocWindowRecord*, Point, UInt16) {}

void DrawColorPalette(DocWindowRecord*) {
    DrawListPalette(PaletteId::colors);
}

void ColorPaletteClick(DocWindowRecord*, Point, UInt16) {}

void RefreshColorPalette(DocWindowRecord*) {
    InvalidatePalette(PaletteId::colors);
}

void UpdatePatternPalette(DocWindowRecord*) {
    DrawListPalette(PaletteId::patterns);
}

void PatternPaletteClick(DocWindowRecord*, Point, UInt16) {}

void GrowPatternPalette(WindowRef window, Point where) {
    GrowPaletteWindow(window, where);
}

void SizePatternPalette(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::patterns, width, height);
}

void PatternPaletteWheel(SInt16, SInt16) {
    InvalidatePalette(PaletteId::patterns);
}

void UpdateViewsWindow(DocWindowRecord*) {
    DrawListPalette(PaletteId::views);
}

void ViewsWindowClick(DocWindowRecord*, Point, UInt16) {}

void LayoutViewsWindow(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::views, width, height);
}

void ScrollViewsList(SInt16 newValue, SInt16 oldValue) {
    ScrollPaletteList(PaletteId::views, newValue, oldValue);
}

void FillViewsList(DocWindowRecord*) {
    InvalidatePalette(PaletteId::views);
}

void SaveCurrentView(DocWindowRecord*) {}

void DeselectViewsList() {}
