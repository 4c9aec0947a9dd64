// The tool dispatcher: every click in the drawing, key, scroll-bar action, strip click and menu
// command of the pending event ends here and goes to the menu-command dispatcher, the scroll bars,
// the command field, the pending command or the current tool group's handler, which runs the row of
// its step table for the current step.
#pragma once

#include "Tools/CommandField.h"
#include "Platform/MacTypes.h"
#include "Tools/ToolState.h"
#include "Tools/ToolTables.h"

#include <span>

struct DocWindowRecord;
struct DrawingRecord;
struct EventRecord;

// What a step takes: an element picked by a click, a point (clicked, snapped or typed), typed
// values with decimals, a typed whole number, or a typed text (an answer too).
enum class StepInput : UInt8 { pick, point, values, integer, text };

// What a step function works on.
struct ToolStep {
    DocWindowRecord* doc;
    DrawingRecord* d;
    ToolStateRecord* t;
    SInt16 typed; // values typed for this step: 0 a click, -1 an empty Return, else their number
};

using StepFunction = void (*)(ToolStep&);

// A row of a step table. Each tool group (and the pending commands) keeps one table of these, which
// its handler runs and the prompt test walks.
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

// The cursor point and the pick rectangle of the tool input from a mouse position (x in drawing-area
// pixels, y counted upward from the bottom of the drawing area).
Boolean MouseToWorld(DocWindowRecord* doc, SInt16 mouseX, SInt16 mouseY);
// True when the group's tools take clicks; the others stay dimmed in the menus.
Boolean ToolGroupBuilt(SInt16 group);
// Routes the pending event of MenuCommandGlobals for the front document (null when none).
void ToolMouseDown(DocWindowRecord* doc, const EventRecord* event);
// Return in the command field confirmed a value: the step runs as for a click.
void ToolConfirmInput(DocWindowRecord* doc);
enum class ScrollAxis : UInt8 { horizontal, vertical };
// Apply the scroll-bar action of the pending event (a control part, or the thumb's value) to the
// view origin along the bar's axis.
void TrackScroll(DocWindowRecord* doc, ScrollAxis axis);
