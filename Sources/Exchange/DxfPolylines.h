// Polyline elements made by the DXF reader from a list of points.
#pragma once

#include "Model/DocumentRecords.h"

#include <vector>

// A polyline of the kind through the points (x, y pairs), after the last polyline, with the current
// attributes; an ellipse (kind 11) keeps its start and end angles a1 and a2. A point equal to the one
// before it is dropped. False when nothing was made (no points, no memory).
Boolean MakeDxfPolyline(DocWindowRecord* doc, const std::vector<Float64>& xy, SInt16 kind, Float64 a1,
                        Float64 a2);
