// Drawing symbol instances (window, print and PDF output, the plotter pen by pen), their selection
// marks, and the 61 x 61 preview of a definition in the symbol palette.
#pragma once

#include "Model/DocumentRecords.h"

// Draws the instance's definition placed by it, when its layer is visible: areas first or last as
// the settings say (only with withAreas), then lines, arcs, texts, dimensions and polylines. While
// the plotter draws pen by pen only the elements of the pen being plotted are output.
void DrawSymbolInstance(DocWindowRecord* doc, SymbolInstanceRecord* instance, Boolean withAreas);
// The frame, the insertion cross of 5 pixels each way, in the selection colour on screen.
void DrawSymbolInstanceMarks(DocWindowRecord* doc, const SymbolInstanceRecord* instance);

// The definition fitted into a 61 x 61 square at the cell's top left (in the current port), its name
// cut to 63 pixels under it in the application font.
constexpr SInt16 kSymbolPreviewSize = 61;
void DrawSymbolPreview(const SymbolDefRecord* def, SInt16 cellLeft, SInt16 cellTop);

// The view hook that draws instances in the content passes and for a changed element.
void InstallSymbolDrawingHook();
