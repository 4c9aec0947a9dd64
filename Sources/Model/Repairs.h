// Repairs of a drawing: invalid coordinates set to 0, the elements of visible layers locked,
// duplicate lines removed, framed texts counted. Changes to the drawing's own elements are journalled
// in one undo step; elements inside symbol definitions are repaired in place (the journal holds the
// drawing's own lists only).
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kOneInvalidCoordinateMessage = 25;
constexpr SInt16 kInvalidCoordinatesMessage = 26;
constexpr SInt16 kFramedTextCountMessage = 122;
constexpr SInt16 kDuplicateLinesMessage = 123;
constexpr SInt16 kRepairCoordinatesQuestion = 21;

// A coordinate that no drawing can use: not a number, infinite, or of magnitude 1e30 or more.
Boolean IsInvalidCoordinate(Float64 value);

// Sets every invalid coordinate of every element (also inside symbol definitions) to 0. Without
// skipConfirmation the user is asked first; with report the number repaired is shown. Returns how
// many were repaired (0 when the user declined).
SInt32 RepairInvalidCoordinates(DocWindowRecord* doc, Boolean skipConfirmation, Boolean report);

// Sets (lock true) or clears the lock bit of the pen flag word of every element on a visible layer;
// returns how many elements changed.
SInt32 SetLockOnVisibleLayers(DocWindowRecord* doc, Boolean lock);

// Removes every line that repeats an earlier line of the same layer end point for end point; with
// report the number removed is shown. Returns how many were removed.
SInt32 RemoveDuplicateLines(DocWindowRecord* doc, Boolean report);

// The framed text boxes of the drawing; with report the count is shown.
SInt32 CountFramedTexts(DocWindowRecord* doc, Boolean report);
