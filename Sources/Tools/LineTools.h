// Tool group 0: straight lines by construction (two points, parallels, equidistant lines, polar
// lines, lines at an angle, perpendiculars, tangents) and the end marks of a line.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

// The group's one entry: a click in the drawing or a value confirmed in the command field, for the
// current tool at its current step.
void ToolGroup0Click(DocWindowRecord* doc);

// Every step of the twelve tools, in order: the table the entry runs.
extern const ToolStepTable kLineToolSteps;
