// Tool group 6: moving by two points or a typed offset, turning, carrying along a circle,
// mirroring at a line, stretching inside a rectangle and scaling the selection, in place or as
// copies, single elements or whole key groups.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

// The group's one entry: a click in the drawing or a value or answer confirmed in the command field.
void ToolGroup6Click(DocWindowRecord* doc);

// Every step of the seven tools: the table the entry runs.
extern const ToolStepTable kTransformToolSteps;

// Applies the kind to the selection with that many copies (0 in place). Without elementsOnly every
// element sharing a key with the selection joins it first; what the user selected stays in. The
// selection is cleared afterwards. Call inside an undo step.
void TransformSelection(DocWindowRecord* doc, SInt16 kind, SInt16 copies, Boolean elementsOnly);
// The stretch of the transform state's rectangle by its offset, in place.
void TransformAllByKind5(DocWindowRecord* doc);

// A click on an element selects it (with extend false a click on a selected one deselects it);
// elsewhere the dragged rectangle selects what lies inside. True when something was selected.
Boolean PickOrRubberBand(DocWindowRecord* doc, Boolean extend);
