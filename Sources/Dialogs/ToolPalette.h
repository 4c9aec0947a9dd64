// The tool palette: twelve 32-pixel buttons, one per tool group, in a column or a row, or in two
// columns or two rows; its drawing, placing and turning, and its clicks, which select a group or
// open the group's tool pop-up.
#pragma once

#include "Platform/Windows.h"

struct DocWindowRecord;

constexpr SInt16 kToolButtonSize = 32;
constexpr UInt32 kToolPopupDelayTicks = 20;

// The palette's size in the arrangement the preferences give (single column, orientation).
Point ToolPaletteSize();
// A palette one button wide carries its title bar at its side.
void MarkToolPaletteSideTitle();
// The group of the button under a local point, from the palette's size and orientation; -1 outside.
SInt16 ToolPaletteGroupAt(SInt16 width, SInt16 height, UInt32 orientation, Point local);
// The button's top-left for a group.
Point ToolPaletteButtonPlace(SInt16 width, SInt16 height, UInt32 orientation, SInt16 group);
// Where the group's pop-up opens, beside its button (local).
Point ToolPalettePopupPoint(SInt16 width, SInt16 height, UInt32 orientation, SInt16 group);

void DrawToolPalette();
void DrawToolGroupButton(SInt16 group);
// With flip the palette turns between its arrangements keeping its right edge; with move it goes to
// (h, v) when that lies on the desktop; with show it is shown or hidden as visible says. A palette
// whose title bar would lie off the desktop comes back near the top left of the screen.
void ShowToolPalette(Boolean move, SInt16 h, SInt16 v, Boolean flip, Boolean invalidate, Boolean show,
                     Boolean visible);
// A click: a new group is selected; held for 20 ticks, or on the current group, the pop-up opens.
void ToolPaletteClick(DocWindowRecord* doc, Point local);

// The palette table's row functions.
void DrawToolPaletteForUpdate(DocWindowRecord* doc);
void ToolPaletteContentClick(DocWindowRecord* doc, Point local, UInt16 modifiers);

// The tool pop-up: the group's tools (or with groupMode the groups) as 32-pixel cells beside the
// point (palette-local), tracked while the button is held; the cell released on is chosen.
void ToolPopup(DocWindowRecord* doc, Point local, Boolean groupMode, Boolean nearButton);
// Columns and rows of the pop-up for its last item index; false when there is nothing to offer.
Boolean ToolPopupGrid(SInt16 lastIndex, Boolean groupMode, SInt16* columns, SInt16* rows);
void DrawPopupCell(SInt16 index, Boolean highlighted, SInt16 columns, Boolean groupMode, WindowRef window);
