// DXF export: the whole drawing as a DXF text file in one of four flavours (0 the older header, 1 the
// fuller one with DIMSTYLE and VIEW tables, 2 and 3 with subclass markers), its options dialog, and
// the pieces of the writer that tests look at.
#pragma once

#include "Exchange/DxfCodePages.h"
#include "Model/DocumentRecords.h"

#include <string>

// Writes the document to the file; 0 on success, else the error (nothing is left at the target but
// what was there before). interactive asks first (alert 137) and shows errors in alerts.
OSErr ExportDXF(DocWindowRecord* doc, const FSRef* file, Boolean interactive);
// Registers the writer for the DXF save format and its options dialog with the save panel.
void RegisterDXFExport();

// The value line of a real: 8 decimals, trailing zeros cut down to one; NaN and infinities "     0.0".
std::string FormatDXFReal(double value);
// The value line of an integer, right-aligned as the format wants it.
std::string FormatDXFInt(SInt16 value);
// A name as DXF keeps it: letters upper case, digits and "$*-_" kept, blanks as "_", others dropped.
std::string SanitizeDXFName(const std::string& name);
// The colour index (1..254) nearest to the colour in the palette.
SInt16 RGBToACI(const RGBColor palette[256], const RGBColor& colour);

// One ellipse arc as the vertices of a polyline: the box corners P1..P4 (x, y pairs), start and end in
// degrees; two segments per degree.
void DXFEllipseVertices(const Float64 corners[8], Float64 startDeg, Float64 endDeg, std::vector<Float64>* xs,
                        std::vector<Float64>* ys);
