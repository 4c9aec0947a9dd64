// Tool group 3: texts at a point, at a typed angle, as a coordinate label, between two points; a
// text's string changed, a text moved, its attributes changed; framed text boxes.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;
struct DrawingRecord;

// The group's one entry: a click in the drawing or a text or value confirmed in the command field.
void ToolGroup3Click(DocWindowRecord* doc);

// Every step of the eight tools: the table the entry runs.
extern const ToolStepTable kTextToolSteps;

// The last dragged rectangle as a framed box: no side shorter than 32 pixels at the current zoom,
// its lower-left corner kept. Lower-left corner, width and height.
void FramedBoxFromDrag(const DrawingRecord* d, Float64* x, Float64* y, Float64* width, Float64* height);

// The command field's text as an element's string: UTF-8, cut to 255 bytes at a character boundary.
void TypedTextAsElementString(DocWindowRecord* doc, Str255 out);
