// Tool group 7: changing the pen, line type, key, layer, colour, width or pattern of picked or
// selected elements or of whole key groups, copying all attributes from one element to others, and
// measuring between points or elements into the information window.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

void ToolGroup7Click(DocWindowRecord* doc);

// The step table the entry runs; a row's tool is its prompt row (group x 12 + tool).
extern const ToolStepTable kAttributeToolSteps;

// Applies the current tool's value (tools 0 to 6) in one undo step: scope 0 to the element given,
// 1 to every element whose key is key, 2 to every selected element; then deselects everything and
// moves to nextStep.
void ChangeElementAttribute(DocWindowRecord* doc, SInt16 key, SInt16 kind, void* element, SInt16 nextStep,
                            SInt16 scope);
