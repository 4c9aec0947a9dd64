// Areas from picked boundaries: the picks the area tools collect (lines, arcs, polylines, a text or a
// dimension), the tracing of a closed outline through them, and the contours it leaves for the area.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct PolylineRecord;

// The click and Return step of the area tools (and of the polyline-from-boundary tool).
void CreateAreaFromPicks(DocWindowRecord* doc);
// Builds the next contour from the pick list; false (message 55, tool back to step 0) when no
// closed outline results.
Boolean TraceAreaOutline(DocWindowRecord* doc);
// The area tool's Delete: the last boundary pick is taken back.
void RemoveLastPick(DocWindowRecord* doc);
// Adds one pick; false (nothing added) when memory ran out.
Boolean AppendPickRecord(DocWindowRecord* doc, UInt16 kind, void* element, Float64 x, Float64 y, SInt16 part);
// Turns the run of a picked polyline between two vertex or segment indexes into line picks.
void AddPolylineRunPicks(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 fromIndex, SInt16 toIndex);
