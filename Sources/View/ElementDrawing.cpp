// Drawing state and the line and circle-or-arc element drawers.
#include "View/ElementDrawing.h"
#include "View/AreaDrawing.h"
#include "Other/MathPrimitives.h"
#include "View/ContentPasses.h"
#include "View/DimensionDrawing.h"
#include "View/FramesOverlay.h"
#include "View/LargeArcs.h"
#include "Model/DocumentHooks.h"
#include "View/OutputDevice.h"
#include "View/RasterImages.h"
#include "View/SymbolDrawing.h"
#include "View/PolylineDrawing.h"
#include "View/TextDrawing.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Widths beyond this many device units come only from absurd zooms; strokes stay affordable.
constexpr Float64 kMaxPenWidth = 4000;

RGBColor Halfway(const RGBColor& a, const RGBColor& b) {
    return RGBColor{UInt16((a.red + b.red) / 2), UInt16((a.green + b.green) / 2),
                    UInt16((a.blue + b.blue) / 2)};
}

// Highlights a selected or marked element on screen for the time of its drawing.
class ElementHighlight {
  public:
    ElementHighlight(DocWindowRecord* doc, Boolean selected, Boolean marked) : doc_(doc) {
        saved_ = doc->highlightMode;
        if (saved_ != kHighlightNone || doc->drawing->output.outputContext) return;
        if (selected)
            doc->highlightMode = kHighlightSelected;
        else if (marked)
            doc->highlightMode = kHighlightMarked;
    }
    ~ElementHighlight() { doc_->highlightMode = saved_; }

  private:
    DocWindowRecord* doc_;
    SInt16 saved_;
};

// The end-mark size of a line-end kind, scaled like the element.
Float64 MarkSize(const DocWindowRecord* doc, UInt16 kind, Float64 scaleFactor) {
    Float64 size = doc->settings->markSizes[kind - 1];
    return scaleFactor > 0 ? size * scaleFactor : size;
}

// Runs an open line on to the rectangle the output shows: the parameter range where the line lies
// inside, widened to include the segment itself.
void RunOnToView(const DocWindowRecord* doc, UInt16 flags, Float64* x1, Float64* y1, Float64* x2,
                 Float64* y2) {
    Float64 minX, minY, maxX, maxY;
    VisibleWorldRect(doc, &minX, &minY, &maxX, &maxY);
    if (!(std::isfinite(minX) && std::isfinite(maxX) && std::isfinite(minY) && std::isfinite(maxY))) return;
    Float64 dx = *x2 - *x1, dy = *y2 - *y1;
    Float64 t0 = -std::numeric_limits<Float64>::infinity(), t1 = std::numeric_limits<Float64>::infinity();
    auto limit = [&](Float64 p, Float64 d, Float64 lo, Float64 hi) {
        if (d == 0) {
            if (p < lo || p > hi) t0 = 1, t1 = 0;
            return;
        }
        Float64 a = (lo - p) / d, b = (hi - p) / d;
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a);
        t1 = std::min(t1, b);
    };
    limit(*x1, dx, minX, maxX);
    limit(*y1, dy, minY, maxY);
    if (!(t0 <= t1) || (dx == 0 && dy == 0)) return;
    Float64 s = (flags & kLineOpenStart) ? std::min(0.0, t0) : 0.0;
    Float64 e = (flags & kLineOpenEnd) ? std::max(1.0, t1) : 1.0;
    Float64 ox = *x1, oy = *y1;
    *x1 = ox + s * dx, *y1 = oy + s * dy;
    *x2 = ox + e * dx, *y2 = oy + e * dy;
}

// The end marks of a line, pointing away from the line at each end.
void DrawLineMarks(DocWindowRecord* doc, const LineRecord* line) {
    UInt16 startMark = LineStartMarkKind(line->flags), endMark = LineEndMarkKind(line->flags);
    if (!startMark && !endMark) return;
    Float64 out = std::atan2(line->y1 - line->y2, line->x1 - line->x2) * kRadiansToDegrees;
    if (startMark)
        DrawLineEndMark(doc, SInt16(startMark - 1), line->x1, line->y1, out,
                        MarkSize(doc, startMark, line->scaleFactor), false);
    if (endMark)
        DrawLineEndMark(doc, SInt16(endMark - 1), line->x2, line->y2, out + 180,
                        MarkSize(doc, endMark, line->scaleFactor), false);
}

void DrawElementHook(DocWindowRecord* doc, SInt16 kind, void* element) {
    switch (kind) {
    case kLineElement:
        DrawLineElementClipped(static_cast<LineRecord*>(element), doc);
        break;
    case kArcElement:
        DrawCircleElementClipped(static_cast<ArcRecord*>(element), doc);
        break;
    case kTextElement:
        DrawTextElementClipped(static_cast<TextRecord*>(element), doc);
        break;
    default:
        DrawOtherElementClipped(doc, kind, element);
        break;
    }
}

} // namespace

void SetLineMode(DocWindowRecord* doc, SInt16 mode) {
    doc->drawing->output.lineMode = mode;
}

void SetElementPen(DocWindowRecord* doc, SInt16 layer, SInt16 pen, const ElementPenAttributes* attributes) {
    DrawingRecord* d = doc->drawing;
    const DocSettings* s = doc->settings;
    bool output = d->output.outputContext != nullptr;
    RGBColor colour = attributes->color;
    if (!output && doc->highlightMode == kHighlightSelected)
        colour = s->selectionColor;
    else if (!output && doc->highlightMode == kHighlightMarked)
        colour = kMarkedColor;
    else {
        bool byLayer = !s->colorByPen || pen < 1;
        if (byLayer && doc->layerColors && layer >= 0 && layer < kLayerCount)
            colour = doc->layerColors->colors[layer];
        if (UInt16(attributes->penFlags) & kPenFlagDimmed)
            colour = Halfway(colour, output ? RGBColor{0xFFFF, 0xFFFF, 0xFFFF} : s->backgroundColor);
    }
    d->output.penColor = colour;
    Float64 millimetres = attributes->penWidth100 / 100.0;
    if (!(millimetres > 0)) millimetres = 0.01;
    Float64 width;
    if (output) {
        Float64 scale = d->output.outputPenScale > 0 ? d->output.outputPenScale : d->output.outputScaleX;
        width = std::max(millimetres * scale, 0.1);
    } else {
        width = std::max(millimetres / d->view.unitsPerPixel, 1.0);
    }
    d->output.penWidth = std::min(width, kMaxPenWidth);
}

void SetHighlightMode(DocWindowRecord* doc, SInt16 restore, SInt16 marked) {
    doc->highlightMode = restore ? kHighlightNone : (marked ? kHighlightMarked : kHighlightSelected);
}

void ResetDrawingState(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    d->output.lineMode = 1;
    d->output.penColor = RGBColor{0, 0, 0};
    d->output.penWidth = d->output.outputContext ? 0.5 : 1.0;
    d->output.paintMode = kPaintNormal;
}

void DrawLineElement(LineRecord* line, DocWindowRecord* doc) {
    line->drawn = 1;
    if (PlotReceiver* plot = PlotTarget(doc)) {
        plot->PlotLine(doc, line->x1, line->y1, line->x2, line->y2, line->lineType);
        DrawLineMarks(doc, line);
        return;
    }
    ElementHighlight highlight(doc, line->selected, line->marked);
    SetLineMode(doc, line->lineType);
    SetElementPen(doc, line->layer, line->pen, &line->penBlock);
    Float64 x1 = line->x1, y1 = line->y1, x2 = line->x2, y2 = line->y2;
    if (line->flags & (kLineOpenStart | kLineOpenEnd)) RunOnToView(doc, line->flags, &x1, &y1, &x2, &y2);
    DrawWorldLine(doc, x1, y1, x2, y2);
    SetLineMode(doc, 1);
    DrawLineMarks(doc, line);
    ResetDrawingState(doc);
}

void DrawCircleElement(ArcRecord* arc, DocWindowRecord* doc) {
    arc->drawn = 1;
    if (PlotReceiver* plot = PlotTarget(doc)) {
        plot->PlotCircle(doc, arc->cx, arc->cy, arc->radius, arc->startAngle, arc->endAngle, arc->lineType);
        return;
    }
    ElementHighlight highlight(doc, arc->selected, arc->marked);
    SetLineMode(doc, arc->lineType);
    SetElementPen(doc, arc->layer, arc->pen, &arc->penBlock);
    if (WorldToDeviceLength(doc, arc->radius) >= kLargeArcDeviceRadius)
        DrawLargeArcSegments(doc, arc->cx, arc->cy, arc->radius, arc->radius, arc->startAngle, arc->endAngle);
    else
        DrawWorldArc(doc, arc->cx, arc->cy, arc->radius, arc->startAngle, arc->endAngle);
    ResetDrawingState(doc);
}

void DrawLineElementClipped(LineRecord* line, DocWindowRecord* doc) {
    BeginDrawingArea(doc, true);
    DrawLineElement(line, doc);
    BeginDrawingArea(doc, false);
}

void DrawCircleElementClipped(ArcRecord* arc, DocWindowRecord* doc) {
    BeginDrawingArea(doc, true);
    DrawCircleElement(arc, doc);
    BeginDrawingArea(doc, false);
}

void LineElementBox(const LineRecord* line, Float64 box[4]) {
    box[0] = std::min(line->x1, line->x2);
    box[1] = std::min(line->y1, line->y2);
    box[2] = std::max(line->x1, line->x2);
    box[3] = std::max(line->y1, line->y2);
}

void ArcElementBox(const ArcRecord* arc, Float64 box[4]) {
    Float64 r = std::fabs(arc->radius);
    box[0] = arc->cx - r;
    box[1] = arc->cy - r;
    box[2] = arc->cx + r;
    box[3] = arc->cy + r;
}

void InstallViewDrawingHooks() {
    gDocumentHooks.drawElement = DrawElementHook;
    gDocumentHooks.redrawWindow = RedrawWindow;
    gViewHooks.drawImage = DrawRasterImage;
    InstallSymbolDrawingHook();
    InstallAreaDrawingHook();
    InstallDimensionDrawing();
    gViewHooks.drawPolyline = DrawPolylineElement;
    gViewHooks.drawFramesOverlay = DrawFramesOverlay;
}
