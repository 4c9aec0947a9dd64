// Tool group 3: texts at a point, at a typed angle, as a coordinate label, between two points; a
// text's string changed, a text moved, its attributes changed; framed text boxes.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

// The group's one entry: a click in the drawing or a text or value confirmed in the command field.
void ToolGroup3Click(DocWindowRecord* doc);

// Every step of the eight tools: the table the entry runs.
extern const ToolStepTable kTextToolSteps;

// The command field's text as an element's string: UTF-8, cut to 255 bytes at a character boundary.
void TypedTextAsElementString(DocWindowRecord* doc, Str255 out);
