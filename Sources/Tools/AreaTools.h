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

// The area fill tool waits for its dialog.
constexpr SInt16 kAreaFillTool = 4;

// True when word occurs in text, the letters A to Z compared without case.
Boolean TextContainsIgnoringCase(std::string_view text, std::string_view word);
// The number of the first item of the string list (items 1, 2, ... up to the first empty one) that
// the text contains; false when none does.
Boolean FindListItemInText(std::string_view text, SInt16 listId, Float64* index);
