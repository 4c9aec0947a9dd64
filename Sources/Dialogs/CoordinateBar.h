// The coordinate bar: the cursor position in the drawing's unit (Cartesian or polar, in drawing or
// paper units, feet and inches where the settings ask for it), the unit and the zoom percentage.
// Every function that draws does nothing while the bar is hidden.
#pragma once

#include "Model/DocumentRecords.h"

// DocSettings slots: the paper-unit factor of the coordinate modes 2 and 3 (0 counts as 1), and the
// switch that shows imperial lengths in feet and inches. The paper unit's name is string198.
constexpr int kPaperUnitFactorSlot = 5; // reals978
constexpr int kCoordFeetInchesSlot = 4; // words1868

// The two value texts for a drawing point in millimetres, as the bar shows them.
void CoordBarValueTexts(DocWindowRecord* doc, Float64 x, Float64 y, Str255 first, Str255 second);
// "100.0%" and the like; "+++" and "---" beyond the range that fits.
void CoordBarZoomText(const DocWindowRecord* doc, Str255 text);
// The first and second labels: "x:" and "y:", or "l:" and "°:" in the polar modes.
void CoordBarLabels(const DocWindowRecord* doc, Str255 first, Str255 second);

// The point in drawing millimetres.
void ShowCursorPosition(DocWindowRecord* doc, Float64 x, Float64 y);
// A pixel of the drawing area counted from its bottom-left corner (y up): the point a click there
// makes, snapped to the grid when the grid is shown.
void ShowPixelPosition(DocWindowRecord* doc, SInt16 h, SInt16 v);
// One number with a degree sign in place of everything else (angles while dragging handles).
void ShowCoordValue(DocWindowRecord* doc, Float64 value);
void ShowZoomPercent(DocWindowRecord* doc);
// The update event: dividers, labels, unit and zoom.
void UpdateCoordBar(DocWindowRecord* doc);
