// Tool group 0: straight lines by construction (two points, parallels, equidistant lines, polar
// lines, lines at an angle, perpendiculars, tangents) and the end marks of a line.
#pragma once

#include "MacTypes.h"

struct DocWindowRecord;

// The group's one entry: a click in the drawing or a value confirmed in the command field, for the
// current tool at its current step.
void ToolGroup0Click(DocWindowRecord* doc);

// What a step takes: an element picked by a click, a point (clicked, snapped or typed), typed
// values with decimals, or a typed whole number.
enum class StepInput : UInt8 { pick, point, values, integer };

struct ToolStepSpec {
    SInt16 tool;
    SInt16 step;
    const char* name;
    StepInput input;
};

// Every step of the twelve tools, in order.
extern const ToolStepSpec kLineToolSteps[];
extern const int kLineToolStepCount;
