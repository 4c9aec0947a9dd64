// What each palette's table row calls: its drawing, clicks, growing, layout, wheel and refill. The
// palettes whose contents are not built yet answer through named stand-ins (PaletteStandIns.cpp) or
// show an empty list (EmptyPalettes.cpp).
#pragma once

#include "Platform/Windows.h"

struct DocWindowRecord;

// Coordinate bar.
void UpdateCoordBar(DocWindowRecord* doc);

// Element info window.
void UpdateInfoWindow(DocWindowRecord* doc);
void InfoWindowClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
void LayoutInfoWindow(SInt16 width, SInt16 height);
void ScrollInfoList(SInt16 newValue, SInt16 oldValue);

// Symbol palette.
void UpdateSymbolPalette(DocWindowRecord* doc);
void SymbolPaletteClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
void LayoutSymbolPalette(SInt16 width, SInt16 height);
void SymbolPaletteWheel(SInt16 newValue, SInt16 oldValue);
void RefreshSymbolPalette(DocWindowRecord* doc);
// The zoom box: the document's display of symbols by name or by preview is switched.
void SymbolPaletteZoom(DocWindowRecord* doc);

// Attribute presets window.
void UpdatePresetWindow(DocWindowRecord* doc);
void PresetWindowClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
void GrowPresetWindow(WindowRef window, Point where);
void LayoutPresetWindow(SInt16 width, SInt16 height);
void ScrollPresetList(SInt16 newValue, SInt16 oldValue);
void RefreshPresetList(DocWindowRecord* doc);

// Layer-set palette.
void DrawLayerSetPalette(DocWindowRecord* doc);
void LayerSetPaletteClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
void GrowLayerSetPalette(WindowRef window, Point where);
void LayoutLayerSetPalette(SInt16 width, SInt16 height);
void ScrollLayerSetList(SInt16 newValue, SInt16 oldValue);
void RefreshLayerSetList(DocWindowRecord* doc);
// The row chosen in the palette, from 0; -1 for none.
SInt16 LayerSetPaletteSelection();

// Colour and pen palette.
void DrawColorPalette(DocWindowRecord* doc);
void ColorPaletteClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
void RefreshColorPalette(DocWindowRecord* doc);

// Pattern palette.
void UpdatePatternPalette(DocWindowRecord* doc);
void PatternPaletteClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
void GrowPatternPalette(WindowRef window, Point where);
void SizePatternPalette(SInt16 width, SInt16 height);
void PatternPaletteWheel(SInt16 newValue, SInt16 oldValue);

// Saved-views window.
void UpdateViewsWindow(DocWindowRecord* doc);
void ViewsWindowClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
void LayoutViewsWindow(SInt16 width, SInt16 height);
void ScrollViewsList(SInt16 newValue, SInt16 oldValue);
void FillViewsList(DocWindowRecord* doc);
void DeselectViewsList();

// Object info palette.
void DrawObjectInfoPalette(DocWindowRecord* doc);
void ObjectInfoPaletteClick(DocWindowRecord* doc, Point local, UInt16 modifiers);
