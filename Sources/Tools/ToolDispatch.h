// The tool dispatcher and the tool state as the application shell calls them: the routing of the
// pending event, the scroll-bar actions, ending and resetting tool runs, and what the shell reads of
// the command field.
#pragma once

#include "MacTypes.h"

struct DocWindowRecord;
struct EventRecord;

constexpr SInt16 kToolGroupCount = 12;

// Routes the pending event of MenuCommandGlobals for the front document (null when none).
void ToolMouseDown(DocWindowRecord* doc, const EventRecord* event);
// Apply the scroll-bar action of the pending event to the view origin.
void TrackVerticalScroll(DocWindowRecord* doc);
void TrackHorizontalScroll(DocWindowRecord* doc);
void InitToolTable();
// The highest tool index of a group (tools run from 0 to it); -1 outside the groups.
SInt16 ToolGroupHighestIndex(SInt16 group);

void ResetToolState(DocWindowRecord* doc, Boolean keepPrompt);
void CancelPendingCommand(DocWindowRecord* doc);
void EndPendingCommand(DocWindowRecord* doc);
void DeselectAll(DocWindowRecord* doc, Boolean alsoMarks);
void ResetPickFilter(DocWindowRecord* doc);
Boolean SnapModeSuspended(DocWindowRecord* doc);
void RestoreSnapMode(DocWindowRecord* doc);
void RemoveLastPick(DocWindowRecord* doc);
void ShowToolPrompt(DocWindowRecord* doc);
// Shows or hides the grid (the window is redrawn by the next loop pass).
void ToggleGridDisplay(DocWindowRecord* doc);
void SetPortTypingFont(DocWindowRecord* doc);
void ResetPortFont(DocWindowRecord* doc);

// The command field: the kind of input it expects (0 none, 2 and 3 a coordinate pair), the cursor of
// its prompt (0xFFFF none), whether it waits for a point, the entries of its history.
SInt16 CommandFieldInputKind(DocWindowRecord* doc);
UInt16 CommandFieldPromptCursor(DocWindowRecord* doc);
Boolean CommandFieldExpectsPoint(DocWindowRecord* doc);
SInt16 CommandFieldHistoryCount(DocWindowRecord* doc);
// The prompt shown before the command field; empty without one.
void CommandFieldPrompt(DocWindowRecord* doc, Str255 prompt);
// Draws the field's text into its frame (local coordinates of the window's port).
void DrawCommandFieldText(DocWindowRecord* doc, const Rect* frame);
Boolean CommandFieldHasSelection(DocWindowRecord* doc);
Boolean CommandFieldHasText(DocWindowRecord* doc);
void CommandFieldGetText(DocWindowRecord* doc, Str255 text);
void CommandFieldSetText(DocWindowRecord* doc, ConstStr255Param text);
