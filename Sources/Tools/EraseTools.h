// Tool group 8: deleting one picked element or its whole key group, the elements inside a dragged
// rectangle or of a named kind at once, or a selection collected over several clicks.
#pragma once

#include "Platform/MacTypes.h"
#include "Tools/ToolDispatch.h"

struct DocWindowRecord;

void ToolGroup8Click(DocWindowRecord* doc);

// The step table the entry runs; a row's tool is its prompt row (group x 12 + tool).
extern const ToolStepTable kEraseToolSteps;

// Deletes, in one undo step, the element that PickUpElementAttributes found last (its kind code and
// that kind's list cursor); the window redraws at its next pass.
void DeletePickedElement(DocWindowRecord* doc);
