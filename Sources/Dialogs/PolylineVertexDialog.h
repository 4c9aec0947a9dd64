// The polyline vertex dialog: one vertex's coordinates (dialog 141), or, with no vertex, the two
// polyline values a drawing keeps (dialog 187, Settings menu).
#pragma once

#include "Model/DocumentRecords.h"
#include "Platform/DialogManager.h"

constexpr SInt16 kVertexDialog = 141;
constexpr SInt16 kPolylineValuesDialog = 187;
// Items of dialog 141.
constexpr SInt16 kVertexX = 3, kVertexY = 4, kVertexNumber = 9, kVertexUnitX = 10, kVertexUnitY = 11,
                 kVertexUnit = 12;
// Items of dialog 187.
constexpr SInt16 kPolylineLengthItem = 14, kPolylineLengthUnit = 15, kPolylineFactorItem = 17;
// STR# 200: a field holds neither a number nor a formula.
constexpr SInt16 kNotANumberMessage = 96;

// A dialog field read as a formula (pi known); false, with the field selected and message 96 shown,
// when it does not evaluate to a number.
bool ReadNumberField(DialogRef dialog, SInt16 item, Float64* value);

// With a polyline and a vertex of it: its coordinates in the drawing unit; OK gives the new point in
// millimetres. Otherwise dialog 187 edits the drawing's two polyline values, stored on OK. True for
// OK; a field that does not evaluate is reported and the dialog stays open.
Boolean PolylineVertexDialog(DocWindowRecord* doc, const PolylineRecord* polyline, SInt16 vertex, Float64* x,
                             Float64* y);
// The dialog for the vertex, then the vertex moved in one undo step; true when it moved.
Boolean EditPolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 vertex);
