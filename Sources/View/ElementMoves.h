// Moving an area or a raster image as a whole.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct AreaRecord;

// Moves the area's outline points (or ellipse centre) and every hole contour by (dx, dy).
void MoveAreaElement(AreaRecord* area, DocWindowRecord* doc, Float64 dx, Float64 dy);
// The image under the mouse follows the mouse while the button is held; true when one moved.
Boolean DragImage(DocWindowRecord* doc);
