// Polyline elements: the temporary point buffer the point tools fill, making a polyline from it,
// regular polygons, vertex editing, and exploding selected polylines into lines and arcs.
#pragma once

#include "Model/DocumentRecords.h"

// The buffer's points follow a 4-byte header; its count is an i16.
constexpr Size kTempPointHeaderSize = 4;
constexpr SInt16 kMaxTempPoints = 32767;
constexpr SInt16 kExplodeAlert = 600;
constexpr SInt16 kExplodeAlertWithoutUndo = 1;
constexpr SInt16 kExplodeAlertThreshold = 100;
constexpr SInt16 kCannotExplodeMessage = 157;
// A kind that was never drawn as lines; exploding stops at it.
constexpr SInt16 kPolylineUnexplodable = 3;

// Appends the cursor point. A point the buffer cannot take (memory, or the count at its limit) is
// dropped and the earlier ones stay; false then.
Boolean AppendTempPoint(DocWindowRecord* doc);
void EmptyTempPoints(DocWindowRecord* doc);
SInt16 TempPointCount(const DocWindowRecord* doc);
// Point i of the buffer (0-based); false outside it.
Boolean GetTempPoint(const DocWindowRecord* doc, SInt16 i, Float64* x, Float64* y);

// A polyline of the kind from the buffer, after the last polyline, with the current attributes;
// kind 11 keeps a1 and a2, kind 12 the current corner radius in millimetres. A point equal to the one
// before it is dropped. Drawn when asked, journalled as added. Nothing is made from an empty buffer
// (*slot is then null and the result false).
Boolean CreatePolylineElement(DocWindowRecord* doc, PolylineRecord** slot, SInt16 kind, Boolean draw,
                              Float64 a1, Float64 a2);
// The same, the buffer emptied afterwards.
Boolean BuildPolylineFromPoints(DocWindowRecord* doc, PolylineRecord** slot, SInt16 kind, Boolean draw,
                                Float64 a1, Float64 a2);
// A picture element (kind 10) in the rectangle of the two corners, holding the picture, which it owns
// from then on; drawn and journalled as one undo step. False, with the picture still the caller's,
// for a rectangle without width or height or with a corner that is not finite.
Boolean InsertPictureElement(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                             Handle picture);
// n vertices on the circle from the start angle (degrees), closed by the first vertex again; kind 0.
Boolean CreateRegularPolygon(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, SInt16 n,
                             Float64 startAngle);

// Vertex edits, each one undo step; false (nothing changed) for an index outside the polyline, for
// memory that cannot be had, and for deleting the only vertex: a polyline never has no points.
Boolean MovePolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 i, Float64 x, Float64 y);
Boolean DeletePolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 i);
Boolean InsertPolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 i, Float64 x, Float64 y);

// Replaces the polyline by lines and arcs with its attributes, all journalled; false, with nothing
// changed, for a kind that holds no lines (a picture, unknown kinds) or too few points.
Boolean ExplodePolyline(DocWindowRecord* doc, PolylineRecord* polyline);
// Explodes every selected polyline in one undo step. From 100 of them with undo on, alert 600 offers
// to leave undo off for the command. Kind 3 stops the command with message 157; a polyline that
// cannot be exploded otherwise is deselected and kept. The step is closed and the undo switch
// restored on every path. The number exploded.
SInt32 ExplodeSelectedPolylines(DocWindowRecord* doc);
