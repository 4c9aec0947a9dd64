// The world drawing primitives every element drawer and tool draws through: lines, rectangles,
// quadrilaterals, circles, arcs, ellipses in a quadrilateral, filled triangles, point marks and
// line-end marks, in drawing millimetres. On screen they draw into the window, while printing or
// writing PDF into the output context, and while an HPGL export runs they go to the plot writer.
#pragma once

#include "Model/DocumentRecords.h"

void DrawWorldLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2);
// Four lines (x1,y1)-(x2,y1), (x2,y1)-(x2,y2), (x2,y2)-(x1,y2), (x1,y2)-(x1,y1).
void DrawWorldRect(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2);
// Four lines p1-p2, p2-p3, p3-p4, p4-p1; corners as x, y pairs.
void DrawWorldQuad(DocWindowRecord* doc, const Float64 corners[8]);
// A filled disc in the pen colour (the dot mark).
void DrawWorldCircle(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius);
// A stroked arc in the pen colour, width and line mode; degrees, counter-clockwise, 0 to 360 a circle.
// An arc far bigger than the device is drawn as chords of its visible part.
void DrawWorldArc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius, Float64 startAngle,
                  Float64 endAngle);
// The elliptical arc inscribed in a quadrilateral (corners as x, y pairs), as chords.
void DrawEllipseInQuad(DocWindowRecord* doc, const Float64 corners[8], Float64 startAngle, Float64 endAngle);
void DrawFilledTriangle(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 x1, Float64 y1, Float64 x2,
                        Float64 y2);
void DrawStarMark(DocWindowRecord* doc, Float64 x, Float64 y, Float64 r);
void DrawTriangleMark(DocWindowRecord* doc, Float64 x, Float64 y, Float64 r);
// An arrowhead whose tip lies at (x, y), pointing in the direction (degrees); filled when the
// document asks for filled arrowheads and no HPGL export runs. With the shaft a line runs back 1.5 L.
void DrawArrowHead(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 angle, Float64 length,
                   Boolean withShaft);
// An oblique tick through (x, y) at angle + 45 degrees, `halfLength` to each side.
void DrawTickMark(DocWindowRecord* doc, Float64 x, Float64 y, Float64 halfLength, Float64 angle);
// Kind 0 an arrowhead of length size, 1 a dot of radius size / 10, 2 a tick of half length size / 2;
// any other kind draws nothing.
void DrawLineEndMark(DocWindowRecord* doc, SInt16 kind, Float64 x, Float64 y, Float64 angle, Float64 size,
                     Boolean withShaft);

// The rubber-band points: tool feedback marks (a small red X) that the window redraws keep showing.
// The list holds at most kMaxRubberPoints; further points are marked but not kept.
constexpr SInt16 kMaxRubberPoints = 32000;
void AddRubberPointAndMark(DocWindowRecord* doc, Float64 x, Float64 y, Boolean append);
// The point of the list at index (0-based); false outside the list.
Boolean GetRubberPoint(const DocWindowRecord* doc, SInt16 index, Float64* x, Float64* y);
// True when the point is in the list already.
Boolean HasRubberPoint(const DocWindowRecord* doc, Float64 x, Float64 y);
// Marks the point without keeping it (the window's background pass redraws the kept ones so).
void MarkRubberPoint(DocWindowRecord* doc, Float64 x, Float64 y);
// Appends and marks the point inside the drawing area.
void DrawPointMark(DocWindowRecord* doc, Float64 x, Float64 y);
void DrawCurrentPointMark(DocWindowRecord* doc);
// Empties the list and asks for the deferred redraw that erases the marks.
void ClearRubberPoints(DocWindowRecord* doc);

void InvalidateDocWindow(DocWindowRecord* doc);
// Sets the line mode and draws a line between CoreGraphics pixel points in the window.
void DrawPixelLineStyled(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                         SInt16 lineMode);

// A copy of the whole DocSettings in a new block (the cell stays null when memory is short), and back:
// the copy is written over the settings, freed and the cell cleared.
void SaveSettingsSnapshot(DocWindowRecord* doc, Ptr* cell);
void RestoreSettingsSnapshot(DocWindowRecord* doc, Ptr* cell);
