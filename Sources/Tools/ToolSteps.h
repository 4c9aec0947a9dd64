// The rows of a tool group's step table, {tool, step, prompt, input kind, step function}, and the one
// lookup that runs them. The click entry of a group runs its rows; the prompt test walks the same rows.
#pragma once

#include "MacTypes.h"

#include <span>

struct DocWindowRecord;
struct DrawingRecord;
struct ToolStateRecord;

// What a step takes: an element picked by a click, a point (clicked, snapped or typed), typed
// values with decimals, or a typed whole number.
enum class StepInput : UInt8 { pick, point, values, integer };

// What a step function works on.
struct ToolStep {
    DocWindowRecord* doc;
    DrawingRecord* d;
    ToolStateRecord* t;
    SInt16 typed; // values typed for this step: 0 a click, -1 an empty Return, else their number
};

using StepFunction = void (*)(ToolStep&);

struct ToolStepRow {
    SInt16 tool; // the tool in its group, or a pending command's code
    SInt16 step;
    const char* prompt; // what the step's prompt asks for
    StepInput input;
    StepFunction run;
};

using ToolStepTable = std::span<const ToolStepRow>;

// The row of the tool's step; null when the table has none.
const ToolStepRow* FindStepRow(ToolStepTable rows, SInt16 tool, SInt16 step);
// Runs the row of the tool at the document's current step; nothing when the table has no such row.
void RunToolStep(DocWindowRecord* doc, ToolStepTable rows, SInt16 tool);
