// Tool group 5: cutting lines and arcs back to an edge (or extending them to it), fillets, chamfers,
// splitting at an edge and joining.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

// The group's one entry: a click in the drawing or a value confirmed in the command field, for the
// current tool at its current step.
void ToolGroup5Click(DocWindowRecord* doc);

// Every step of the five tools, in order: the table the entry runs.
extern const ToolStepTable kTrimToolSteps;
