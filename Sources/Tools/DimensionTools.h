// Tool group 4: dimensions. The tools collect the measured points, the picked lines or circles and
// the position of the dimension line step by step, then make the dimension on the dimension layer
// with the dimension pen, in one undo step; tools 9 and 10 give a dimension a new text or position.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

// The group's entry: a click in the drawing or a value confirmed in the command field.
void ToolGroup4Click(DocWindowRecord* doc);

// The step table the entry runs; a row's tool is the tool of the group.
extern const ToolStepTable kDimensionToolSteps;

// After a dimension was made: back to step 0, and the prompt led by the last dimension's text.
void FinishDimensionStep(DocWindowRecord* doc);

// The last tool of the group, the settings dialog, waits for its dialog.
constexpr SInt16 kDimensionSettingsTool = 11;
