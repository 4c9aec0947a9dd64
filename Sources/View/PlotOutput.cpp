// Forwarding of the plot calls to the receiver of the running export.
#include "View/PlotOutput.h"

namespace {

PlotReceiver* gReceiver = nullptr;

} // namespace

void SetPlotReceiver(PlotReceiver* receiver) {
    gReceiver = receiver;
}

PlotReceiver* CurrentPlotReceiver() {
    return gReceiver;
}

void HPGLPlotLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2, SInt16 lineType) {
    if (gReceiver) gReceiver->PlotLine(doc, x1, y1, x2, y2, lineType);
}

void HPGLPlotCircle(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                    Float64 endAngle, SInt16 lineType) {
    if (gReceiver) gReceiver->PlotCircle(doc, cx, cy, radius, startAngle, endAngle, lineType);
}

void HPGLPlotText(DocWindowRecord* doc, Float64 x, Float64 y, ConstStr255Param text, Float64 height,
                  Float64 angle) {
    if (gReceiver) gReceiver->PlotText(doc, x, y, text, height, angle);
}

void HPGLPlotSegment(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    if (gReceiver) gReceiver->PlotSegment(doc, x1, y1, x2, y2);
}
