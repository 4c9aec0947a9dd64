// The drawing state the element drawers set (line mode, pen colour and width, highlight and paint
// modes) and the drawing of line and circle-or-arc elements with their line styles and end marks,
// in the window, into the output context or to the plot writer.
#pragma once

#include "Model/DocumentRecords.h"

// Line mode: the line style 1..6 (1 solid; other values draw solid).
void SetLineMode(DocWindowRecord* doc, SInt16 mode);
// The pen of an element: its colour (its own, the layer's when the drawing colours by layer or the pen
// is below 1; the selection colour or green while highlighted; halfway to the background when the
// element is dimmed) and its width in device units (at least one pixel on screen).
void SetElementPen(DocWindowRecord* doc, SInt16 layer, SInt16 pen, const ElementPenAttributes* attributes);
// Highlight mode of the elements drawn next: with restore clear, the selected colour (or, with marked
// set, the marked green); with restore set, normal colours again.
enum : SInt16 { kHighlightNone = 0, kHighlightSelected = 1, kHighlightMarked = 2 };
void SetHighlightMode(DocWindowRecord* doc, SInt16 restore, SInt16 marked);
// Solid black pen of one pixel, normal paint mode.
void ResetDrawingState(DocWindowRecord* doc);

// The colour used for marked elements.
constexpr RGBColor kMarkedColor{0, 0xCCCC, 0};

// Draws one element. A selected element is drawn in the selection colour and a marked one in green on
// screen; nothing is highlighted in print and PDF output.
void DrawLineElement(LineRecord* line, DocWindowRecord* doc);
void DrawCircleElement(ArcRecord* arc, DocWindowRecord* doc);
// The same inside the window's drawing area (for drawing outside a window update).
void DrawLineElementClipped(LineRecord* line, DocWindowRecord* doc);
void DrawCircleElementClipped(ArcRecord* arc, DocWindowRecord* doc);

// World boxes the content passes test against the view.
void LineElementBox(const LineRecord* line, Float64 box[4]);
void ArcElementBox(const ArcRecord* arc, Float64 box[4]);

// Fills the model's hook for drawing one changed element at once with the view's drawers.
void InstallViewDrawingHooks();
