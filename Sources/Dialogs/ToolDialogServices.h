// What the drawing tools ask of the information window, the object info palette and the line-end
// dialog. The bodies in ToolDialogServicesStub.cpp stand in until those windows are built; the
// line-end dialog is in OptionDialogs.cpp.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct LineRecord;

// Shows the information window; appends one row to its list.
void ShowInfoWindow(DocWindowRecord* doc);
void AppendInfoRow(ConstStr255Param row);
// Writes the snapped point's coordinates into the information list.
void ListPointCoordinates(DocWindowRecord* doc, Float64 x, Float64 y);
// Appends the current tool's name to the information list.
void ListCurrentTool(DocWindowRecord* doc);
// Empties, hides, and reports the object info palette.
void CloseInfoPalette(DocWindowRecord* doc);
void HideInfoPalette(DocWindowRecord* doc);
Boolean InfoPaletteVisible();
void InfoPaletteKeyDown(DocWindowRecord* doc, char c);
// Dialog 170 for the line's end marks; replaces the line with undo.
void LineEndsDialog(DocWindowRecord* doc, LineRecord* line);
