// The tool dispatcher: every click in the drawing, key, scroll-bar action, strip click and menu
// command of the pending event ends here and goes to the menu-command dispatcher, the scroll bars,
// the command field, the pending command or the current tool group's handler.
#pragma once

#include "CommandField.h"
#include "MacTypes.h"
#include "ToolState.h"
#include "ToolTables.h"

struct DocWindowRecord;
struct EventRecord;

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
// The area tool's Delete: the last boundary pick is taken back.
void RemoveLastPick(DocWindowRecord* doc);
