// The plotter output the element drawing hands its lines, arcs and texts to while an HPGL export
// writes the drawing (the document's plottingHPGL flag): the writer installs a receiver for the time
// of the export; the drawing functions then draw nothing themselves.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// What a plot writer receives, in world millimetres and degrees. lineType is the line's style (1 solid).
class PlotReceiver {
  public:
    virtual ~PlotReceiver() = default;
    virtual void PlotLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                          SInt16 lineType) = 0;
    // A full circle runs from 0 to 360.
    virtual void PlotCircle(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                            Float64 endAngle, SInt16 lineType) = 0;
    // text is UTF-8 (length-prefixed, as the element holds it).
    virtual void PlotText(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, Float64 height,
                          Float64 angle) = 0;
    // One pen-up move to the first point and a pen-down draw to the second.
    virtual void PlotSegment(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) = 0;
};

// The receiver of the running export; null when none (the calls below then do nothing).
void SetPlotReceiver(PlotReceiver* receiver);
PlotReceiver* CurrentPlotReceiver();

void HPGLPlotLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2, SInt16 lineType);
void HPGLPlotCircle(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                    Float64 endAngle, SInt16 lineType);
void HPGLPlotText(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, Float64 height,
                  Float64 angle);
void HPGLPlotSegment(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2);
