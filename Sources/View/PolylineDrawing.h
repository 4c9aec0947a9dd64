// Drawing polyline elements by kind: connected segments, smooth kinds as short segments, ellipses,
// rounded rectangles, and embedded pictures (their frame when the picture cannot be drawn), on
// screen, in print and PDF, and to the plot writer.
#pragma once

#include "Model/DocumentRecords.h"

void DrawPolylineElement(DocWindowRecord* doc, PolylineRecord* polyline);
