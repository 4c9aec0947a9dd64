// Temporary files of the program, an area of the drawing as a one-page PDF file or on the clipboard,
// and the 512 x 512 preview picture a saved drawing keeps.
#pragma once

#include "Model/DocumentRecords.h"

#include <string>

// "cad_", the run's next number, "_tmp." and the extension, in the private temporary folder; a file
// of that name is deleted first.
void MakeTempFileName(std::string* name, const char* extension);
OSErr MakeTempFileSpec(FSRef* file, const char* extension);

// The page of a PDF area: points per millimetre in x and y, and the area's corners in points.
struct PDFScaling {
    Float64 scaleX, scaleY;
    Float64 left, bottom, right, top;
    SInt16 pageWidth, pageHeight; // whole points, at least 1
};
// 72 points per inch both ways (the resolutions), pages kept between 10 and 10000 points by making
// the longer side 4000; the pens' device widths follow. False, with nothing changed, for an area of
// zero or non-finite width or height, or one whose page would not be finite.
Boolean SetupPDFScaling(DocWindowRecord* doc, Float64* resolutionX, Float64* resolutionY, Float64 left,
                        Float64 bottom, Float64 right, Float64 top, PDFScaling* scaling);

// The area (millimetres) as one PDF page into the file, or onto the clipboard with the clipboard
// flag (the file is then unused). An unusable area is refused with a message (paramErr) and writes
// nothing; a file error is returned as it came, and the clipboard stays as it was.
OSErr DrawingToPDF(DocWindowRecord* doc, Boolean toClipboard, Float64 left, Float64 bottom, Float64 right,
                   Float64 top, const FSRef* file);

// The preview of the area, made square about its centre, drawn with the pen colours into a 512 x 512
// image and kept as the drawing's picture. An unusable area keeps the old preview.
void MakePreviewPicture(DocWindowRecord* doc, Float64 left, Float64 bottom, Float64 right, Float64 top,
                        Boolean markChanged);
constexpr SInt16 kPreviewSide = 512;

UInt16 SwapBytes16(UInt16 value);

// Save As in format 5: the document's PDF area into the chosen file.
void RegisterPDFExport();
