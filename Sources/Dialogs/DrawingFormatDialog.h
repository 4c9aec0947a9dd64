// The drawing format dialog (143): paper format and page size, drawing scale, drawing unit and the
// unit lengths are shown in; the paper frame and the element sizes follow a change.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kDrawingFormatDialog = 143;
constexpr SInt16 kFormatChangeAlert = 140; // item 2 replaces the paper frame
constexpr SInt16 kUnitChangeAlert = 146;   // item 2 rescales the sizes, item 3 scales the drawing
constexpr SInt16 kFormatWithoutTemplate = 8;
constexpr SInt16 kCustomUnitCode = 11;

void DrawingFormatDialog(DocWindowRecord* doc);
// The name of formats 1 to 7; other formats leave name empty.
void PaperFormatName(SInt16 format, Str255 name);
// Page width and height of formats 1..7 in millimetres: the drawing's own entry, else the format's
// standard size. False for other formats.
Boolean FormatPageSize(const DocSettings* settings, SInt16 format, Float64* width, Float64* height);
void StoreFormatPageSize(DocSettings* settings, SInt16 format, Float64 width, Float64 height);
// Multiplies the unit factor of every element by factor (with progress), then rebuilds every
// dimension's text. A factor that is not a positive finite number changes nothing.
void RescaleElementSizes(DocWindowRecord* doc, Float64 factor);

// Settings slots of the dialog (see Sources/README.md).
UInt16& FormatTwoWayChoice(DocSettings* settings);
UInt16& FormatNumberedChoice(DocSettings* settings);
UInt16& FormatSwitch(DocSettings* settings);
