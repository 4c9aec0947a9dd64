// Where the drawing of a pass goes. The world primitives hand their geometry to the pass's device and
// never ask which one it is: the raster device draws into the window (batched strokes, XOR feedback)
// or into the page of a print or PDF (the output context set by SetOutputTransform); a plot writer
// receives world geometry. A writer of another vector format (plotter, exchange file, hole list)
// derives from PlotReceiver and is handed to BeginPlotPass for the time of its pass.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
class PlotReceiver;

// Coordinates in world millimetres, angles in degrees counter-clockwise; pen, colour and line mode are
// the document's output state.
class OutputDevice {
  public:
    virtual ~OutputDevice() = default;
    // The plot writer when the device is one, else null. Element drawers ask it for what a plotter
    // takes whole (a text as text, a line with its style) or not at all (fills, backgrounds, pictures).
    virtual PlotReceiver* Plotter() { return nullptr; }
    virtual void Line(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) = 0;
    // A filled disc (the dot mark).
    virtual void Disc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius) = 0;
    // 0 to 360 is the circle.
    virtual void Arc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius, Float64 startAngle,
                     Float64 endAngle) = 0;
    // The elliptical arc inscribed in a quadrilateral (corners as x, y pairs).
    virtual void EllipseInQuad(DocWindowRecord* doc, const Float64 corners[8], Float64 startAngle,
                               Float64 endAngle) = 0;
    virtual void FilledTriangle(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 x1, Float64 y1,
                                Float64 x2, Float64 y2) = 0;
    // text is UTF-8, length-prefixed; widthFactor 0 counts as 1.
    virtual void Text(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, SInt16 font,
                      SInt16 face, Float64 height, Float64 angle, Float64 widthFactor) = 0;
};

// A vector writer: it implements the four Plot calls and gets every primitive through them; it draws
// nothing on any screen or page. lineType is the line's style (1 solid).
class PlotReceiver : public OutputDevice {
  public:
    virtual void PlotLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                          SInt16 lineType) = 0;
    // A full circle runs from 0 to 360.
    virtual void PlotCircle(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                            Float64 endAngle, SInt16 lineType) = 0;
    virtual void PlotText(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, Float64 height,
                          Float64 angle) = 0;
    // One pen-up move to the first point and a pen-down draw to the second (hatch lines).
    virtual void PlotSegment(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) = 0;

    PlotReceiver* Plotter() final { return this; }
    void Line(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) final;
    void Disc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius) final;
    void Arc(DocWindowRecord* doc, Float64 x, Float64 y, Float64 radius, Float64 startAngle,
             Float64 endAngle) final;
    // As chords within the document's chord tolerance, in its line mode.
    void EllipseInQuad(DocWindowRecord* doc, const Float64 corners[8], Float64 startAngle,
                       Float64 endAngle) final;
    // Its outline: a plotter does not fill.
    void FilledTriangle(DocWindowRecord* doc, Float64 tipX, Float64 tipY, Float64 x1, Float64 y1, Float64 x2,
                        Float64 y2) final;
    void Text(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, SInt16 font, SInt16 face,
              Float64 height, Float64 angle, Float64 widthFactor) final;
};

// The device of the document's current pass: the plot writer while a plot pass runs, else the raster
// device (window or page).
OutputDevice& Output(DocWindowRecord* doc);
// The plot writer of the running plot pass, or null.
PlotReceiver* PlotTarget(const DocWindowRecord* doc);
// The drawing of the document goes to the writer until EndPlotPass.
void BeginPlotPass(DocWindowRecord* doc, PlotReceiver* writer);
void EndPlotPass(DocWindowRecord* doc);
