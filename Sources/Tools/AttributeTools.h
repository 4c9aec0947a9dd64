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

// A value chosen in the status bar or a palette while attribute tool `tool` (0 pen, 1 line type,
// 4 colour, 6 pattern) waits for its value: it becomes the value to apply and the tool goes on to the
// elements, its prompt led by the value. False when that tool is not waiting.
Boolean OfferAttributeValue(DocWindowRecord* doc, SInt16 tool, SInt32 number, const RGBColor* colour);
