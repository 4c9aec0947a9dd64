// Tool group 11: dragging single elements by their handles, bringing an element to the front,
// ellipses, rectangles and regular polygons as polylines, the end markers of a section line,
// locking and unlocking elements, and moving raster images.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

void ToolGroup11Click(DocWindowRecord* doc);

// The step table the entry runs; a row's tool is its prompt row (group x 12 + tool).
extern const ToolStepTable kEditToolSteps;

// The end markers of the section line whose first segment is the first two points of the temporary
// point list: at both ends the same marker (a line, an arrowhead and the marker text), mirrored, on
// the side away from (x, y); one undo step. False, with nothing made, unless the list begins with two
// distinct points.
Boolean PlaceEndMarkers(DocWindowRecord* doc, Float64 x, Float64 y);
