// Tracking loops that follow the mouse while the button is held, with feedback in the window. Each
// starts from the mouse where it is (the press), moves its shape by the mouse's offset from there,
// draws it in XOR until the release and hands the last shape back; true when the mouse ended
// elsewhere than it began (the outputs are changed only then). Points snap to the grid while the grid
// is shown. Quadrilaterals are four corners as x, y pairs.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Cursors of the drags.
constexpr SInt16 kMoveCursor = 139;
constexpr SInt16 kWidthCursor = 140;
constexpr SInt16 kHeightCursor = 141;
constexpr SInt16 kFallingCornersCursor = 142; // top-left and bottom-right
constexpr SInt16 kRisingCornersCursor = 143;  // top-right and bottom-left
constexpr SInt16 kRotateCursor = 144;

// The mouse in the document's window: its local pixel, and in (*x, *y) its drawing point.
Point MouseInDrawing(DocWindowRecord* doc, Float64* x, Float64* y);

// One corner of a rectangle follows the mouse while the opposite corner (fixedX, fixedY) stays. With
// proportional the rectangle keeps width / height = ratio: of the corner from the mouse's x and the
// corner from its y, the one nearer the mouse (the first on a tie). The cursor is set to cursorId.
Boolean TrackDragOffset(DocWindowRecord* doc, SInt16 cursorId, Float64 fixedX, Float64 fixedY, Float64* x,
                        Float64* y, Boolean proportional, Float64 ratio);

// One point follows the mouse, shown by a line to the anchor (TrackVertexDrag: lines to two anchors).
Boolean TrackPointDrag(DocWindowRecord* doc, Float64* x, Float64* y, Float64 anchorX, Float64 anchorY);
Boolean TrackVertexDrag(DocWindowRecord* doc, Float64* x, Float64* y, Float64 anchor1X, Float64 anchor1Y,
                        Float64 anchor2X, Float64 anchor2Y);
// Both ends of a line (x1, y1, x2, y2) move by the offset; the end nearer the grab point snaps.
Boolean TrackLineMove(DocWindowRecord* doc, Float64 grabX, Float64 grabY, Float64 line[4]);
// Four corners move by the offset; the centre snaps (snapCentre) or else the first corner.
Boolean TrackQuadMove(DocWindowRecord* doc, Float64 corners[8], Boolean snapCentre);
// A rectangle (x1, y1, x2, y2) moves by the offset; with circle its centre snaps and the circle of half
// its width is shown too, otherwise its first corner snaps.
Boolean TrackBoxMove(DocWindowRecord* doc, Float64 box[4], Boolean circle);
// A reference point moves by the offset, shown by the box (x1, y1, x2, y2) around it. The reference
// point snaps, or with snapBoxCorner the box's first corner does and the point keeps its place to it.
Boolean TrackFramedMove(DocWindowRecord* doc, Float64* refX, Float64* refY, const Float64 box[4],
                        Boolean snapBoxCorner);
// The x of one side of a rectangle (x1, y1, x2, y2) follows the mouse: the second side (x2) with
// secondSide, else the first. TrackBoxHeight: the y of one side.
Boolean TrackBoxWidth(DocWindowRecord* doc, Float64 box[4], Boolean secondSide);
Boolean TrackBoxHeight(DocWindowRecord* doc, Float64 box[4], Boolean secondSide);
// Turns four corners about their centre so that corner k follows the mouse; *turned receives the
// turn in degrees. With Shift held the corner's direction from the centre goes to the nearest
// multiple of 15 degrees.
Boolean TrackQuadRotation(DocWindowRecord* doc, Float64 corners[8], SInt16 k, Float64* turned);
// The same about a pivot, with the corners relative to it; baseAngle is the element's angle, which
// the shown angle adds the turn to.
Boolean TrackRotationAboutPivot(DocWindowRecord* doc, Float64 pivotX, Float64 pivotY, Float64 corners[8],
                                SInt16 k, Float64 baseAngle, Float64* turned);
// One side of a turned rectangle follows the mouse across its own direction: side k joins corners k
// and k + 1 (side 3 corners 3 and 0); the direction is that of corner 0 to corner 1.
Boolean TrackRotatedShape(DocWindowRecord* doc, Float64 corners[8], SInt16 side);
// The mouse's offset from the press to the release in drawing units, not snapped; feedback shows
// the shape moved by an offset in the current (XOR) paint mode.
using OffsetFeedback = void (*)(DocWindowRecord* doc, Float64 dx, Float64 dy, const void* user);
Boolean TrackFreeOffset(DocWindowRecord* doc, SInt16 cursorId, OffsetFeedback feedback, const void* user,
                        Float64* dx, Float64* dy);

// The closed quadrilateral in the current paint mode.
void FrameQuad(DocWindowRecord* doc, const Float64 corners[8]);
// The Shift step of the rotations: the nearest multiple of 15 degrees, a half step going up.
Float64 RotationStep(Float64 degrees);
