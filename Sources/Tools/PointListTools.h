// Tool group 10: polylines, splines and curves from clicked or typed points, their vertices moved,
// deleted, inserted or typed in, polylines exploded into lines and arcs, and a closed polyline made
// from a picked boundary.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

void ToolGroup10Click(DocWindowRecord* doc);

// The step table the entry runs; a row's tool is its prompt row (group x 12 + tool).
extern const ToolStepTable kPointListToolSteps;

// Appends the first point of the temporary point list again (the cursor point becomes it); false,
// with nothing read or appended, when the list is empty or cannot take the point.
Boolean ClosePointList(DocWindowRecord* doc);
// The flag word with bit 15, the bit that makes an element unselectable, inverted.
UInt16 ToggleFlagBit15(UInt16 flags);
