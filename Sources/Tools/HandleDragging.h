// Reshaping one element with the mouse: each function finds the handle under the mouse (an end, a
// corner, an edge's middle or the element itself), follows the mouse until the button is released and
// replaces or changes the element in one undo step. True when the click was handled.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;
struct ArcRecord;
struct TextRecord;
struct DimensionRecord;
struct AreaRecord;
struct SymbolInstanceRecord;
struct PolylineRecord;

Boolean DragLineHandles(DocWindowRecord* doc, LineRecord* line);
Boolean DragArcHandles(DocWindowRecord* doc, ArcRecord* arc);
Boolean DragTextHandles(DocWindowRecord* doc, TextRecord* text);
Boolean DragDimensionHandles(DocWindowRecord* doc, DimensionRecord* dimension);
Boolean DragAreaOutline(DocWindowRecord* doc, AreaRecord* area);
Boolean DragSymbolInstanceHandles(DocWindowRecord* doc, SymbolInstanceRecord* instance);
Boolean DragPolylineHandles(DocWindowRecord* doc, PolylineRecord* polyline);
