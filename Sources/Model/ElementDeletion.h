// Deleting many elements at once: the selected or the marked elements of every list, each list
// walked once, so a hundred thousand of a million lines go in one pass.
#pragma once

#include "Model/DocumentRecords.h"

// Unlinks and frees the selected (or marked) elements of every element list, each with its undo
// record; a list cursor on a deleted element moves back to its predecessor. Call inside an undo
// step. The number of elements deleted.
long DeleteSelectedElements(DocWindowRecord* doc);
long DeleteMarkedElements(DocWindowRecord* doc);
