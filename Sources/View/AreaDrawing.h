// Drawing of area elements: hatched (single or crossed) or filled with a pattern, holes left open,
// the outline stroked when the area asks for it and highlighted when selected; in the window, into
// the print and PDF context, and as hatch lines to the plot writer.
#pragma once

#include "Platform/CGContext.h"
#include "Model/DocumentRecords.h"

#include <vector>

// Fill kinds of an area: hatches below 0, then the three pattern families. The third family's patterns
// are drawn as line tiles of our own, numbered 101 to 115 (index 1 to 15).
enum : SInt16 {
    kFillCrossHatch = -1,
    kFillHatch = -2,
    kFillPatterns = 0,
    kFillGreys = 1,
    kFillDrawnPatterns = 2
};
constexpr SInt16 kFirstDrawnPattern = 101, kLastDrawnPattern = 115;

// Fills or hatches the area into ctx (the window's or the output context; null takes the current one).
// Marks the area drawn; keeps a hatched area's stored spacing within 0.1 .. 1000; draws nothing on a
// hidden layer or while areas are hidden (display mode 2). While plotting, only the hatch is plotted.
void FillElementOutline(CGContextRef ctx, AreaRecord* area, DocWindowRecord* doc);
// With draw false only asks for the deferred redraw; otherwise strokes the area's contours with its pen.
void StrokeElementOutline(AreaRecord* area, DocWindowRecord* doc, Boolean draw);
// The path of the area's contours (outline and holes) in device units of the current output; false
// when the area has no usable contour. The caller releases the path.
Boolean BuildElementPath(CGMutablePathRef* pathOut, const AreaRecord* area, DocWindowRecord* doc);
// The drawer of the content passes: fill, then the outline when stroked, then the highlight.
void DrawAreaElement(DocWindowRecord* doc, AreaRecord* area);

// The line tile of drawn pattern 101..115 in a unit cell: polylines as x, y pairs, each ended by NaN.
// Empty for any other number.
const std::vector<Float64>& DrawnPatternTile(SInt16 pattern);

// Puts DrawAreaElement in the view hooks.
void InstallAreaDrawingHook();
