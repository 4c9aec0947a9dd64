// Arcs too big for the device's arc call, drawn as chords through DrawWorldLine (so clipping, XOR
// feedback and plot output work as for lines), with the line pattern laid out along the arc by
// hand. Only what lies in view is drawn, so no radius or zoom makes the work unbounded.
#pragma once

#include "Model/DocumentRecords.h"

// Circles and arcs from this many device units of radius on are drawn by DrawLargeArcSegments.
constexpr Float64 kLargeArcDeviceRadius = 30000;

// The arc (degrees, counter-clockwise; 0 to 360 the full circle) in the current line mode, world
// coordinates, y up: pieces of one pattern period (50 device units) each, dashes drawn as chords.
void DrawLargeArcSegments(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry, Float64 start,
                          Float64 end);
// One run of the arc as solid chords whose sagitta stays within the drawing's chord tolerance / 10,
// from start through sweep degrees (a negative sweep runs clockwise). Chord points are
// (cx + rx cos a, cy + ry sin a), as every arc of the view runs.
void DrawArcChords(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 rx, Float64 ry, Float64 start,
                   Float64 sweep);
