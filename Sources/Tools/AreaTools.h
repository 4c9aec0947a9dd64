// Tool group 9: areas made from picked boundaries, hatched (tool 0), filled with a pattern of the
// first or second family (tools 1 and 3) or shaded (tool 2); tool 4 edits an area's fill.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

#include <string_view>

struct DocWindowRecord;

void ToolGroup9Click(DocWindowRecord* doc);

// The step table the entry runs; a row's tool is its prompt row (group x 12 + tool).
extern const ToolStepTable kAreaToolSteps;

// The tool that edits the fill of a clicked area.
constexpr SInt16 kAreaFillTool = 4;
