// Polyline drawing: every kind through the world primitives, so the window, the output context and
// the plot writer each get what they take.
#include "View/PolylineDrawing.h"

#include "Model/PolylineGeometry.h"
#include "Platform/Pictures.h"
#include "Platform/MemoryManager.h"
#include "View/ElementDrawing.h"
#include "View/OutputDevice.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Highlights a selected or marked polyline on screen for the time of its drawing.
class Highlight {
  public:
    Highlight(DocWindowRecord* doc, const PolylineRecord* polyline) : doc_(doc), saved_(doc->highlightMode) {
        if (saved_ != kHighlightNone || doc->drawing->output.outputContext) return;
        if (polyline->selected)
            doc->highlightMode = kHighlightSelected;
        else if (polyline->marked)
            doc->highlightMode = kHighlightMarked;
    }
    ~Highlight() { doc_->highlightMode = saved_; }
    Highlight(const Highlight&) = delete;
    Highlight& operator=(const Highlight&) = delete;

  private:
    DocWindowRecord* doc_;
    SInt16 saved_;
};

bool XorOnScreen(const DocWindowRecord* doc) {
    return doc->drawing->output.outputContext == nullptr && doc->drawing->output.paintMode == kPaintXor;
}

// Connected points (x, y pairs, world) in the pen and line mode; the dash pattern runs on over the
// vertices.
void DrawConnected(DocWindowRecord* doc, const std::vector<Float64>& xy, SInt16 lineType) {
    size_t n = xy.size() / 2;
    if (n < 2) return;
    if (PlotReceiver* plot = PlotTarget(doc)) {
        for (size_t i = 1; i < n; ++i)
            plot->PlotLine(doc, xy[2 * i - 2], xy[2 * i - 1], xy[2 * i], xy[2 * i + 1], lineType);
        return;
    }
    if (XorOnScreen(doc)) {
        for (size_t i = 1; i < n; ++i)
            DrawWorldLine(doc, xy[2 * i - 2], xy[2 * i - 1], xy[2 * i], xy[2 * i + 1]);
        return;
    }
    std::vector<Float64> device(xy.size());
    for (size_t i = 0; i < n; ++i)
        WorldToView(doc, xy[2 * i], xy[2 * i + 1], nullptr, nullptr, &device[2 * i], &device[2 * i + 1]);
    DrawingContextScope scope(doc);
    if (scope.get() != nullptr) DrawStyledPolyline(scope.get(), doc, device.data(), int(n), 0);
}

void DrawPieces(DocWindowRecord* doc, const std::vector<PolylinePiece>& pieces) {
    for (const PolylinePiece& p : pieces) {
        if (p.isArc)
            DrawWorldArc(doc, p.cx, p.cy, p.radius, p.startAngle, p.endAngle);
        else
            DrawWorldLine(doc, p.x1, p.y1, p.x2, p.y2);
    }
}

// An embedded picture fills the rectangle of its two corner points; what cannot be drawn shows as
// that rectangle's frame, and so does a selected picture on screen.
void DrawPicturePolyline(DocWindowRecord* doc, const PolylineRecord* polyline, const Float64* p) {
    Float64 x1 = p[0], y1 = p[1], x2 = p[2], y2 = p[3];
    bool drawn = false;
    if (PlotTarget(doc) == nullptr && !XorOnScreen(doc) && polyline->picture != nullptr &&
        *polyline->picture != nullptr) {
        Float64 ax, ay, bx, by;
        WorldToView(doc, x1, y1, nullptr, nullptr, &ax, &ay);
        WorldToView(doc, x2, y2, nullptr, nullptr, &bx, &by);
        CGRect rect = CGRectMake(std::min(ax, bx), std::min(ay, by), std::fabs(bx - ax), std::fabs(by - ay));
        DrawingContextScope scope(doc);
        if (scope.get() != nullptr && rect.size.width > 0 && rect.size.height > 0)
            drawn =
                QDPictDrawToCGContext(scope.get(), rect, reinterpret_cast<const UInt8*>(*polyline->picture),
                                      size_t(GetHandleSize(polyline->picture)));
    }
    if (!drawn || doc->highlightMode != kHighlightNone) DrawWorldRect(doc, x1, y1, x2, y2);
}

// In a batched pass below full size, a polyline whose box is below a pixel each way.
bool SmallerThanAPixel(const DocWindowRecord* doc, const Float64 box[4]) {
    const DrawingRecord* d = doc->drawing;
    if (PlotTarget(doc) != nullptr || LevelOfDetailContext(doc) == nullptr) return false;
    Float64 ax, ay, bx, by;
    WorldToView(doc, box[0], box[1], nullptr, nullptr, &ax, &ay);
    WorldToView(doc, box[2], box[3], nullptr, nullptr, &bx, &by);
    return std::fabs(bx - ax) < 1 && std::fabs(by - ay) < 1;
}

} // namespace

void DrawPolylineElement(DocWindowRecord* doc, PolylineRecord* polyline) {
    polyline->drawn = 1;
    const Float64* p = PolylinePoints(polyline);
    if (p == nullptr) return;
    DrawingRecord* d = doc->drawing;
    Float64 box[4];
    if (PlotTarget(doc) == nullptr && PolylineBox(polyline, box) &&
        !WorldBoxVisible(doc, box[0], box[1], box[2], box[3]))
        return;
    Highlight highlight(doc, polyline);
    SetLineMode(doc, polyline->lineType);
    SetElementPen(doc, polyline->layer, polyline->pen, &polyline->penBlock);
    if (SmallerThanAPixel(doc, box)) {
        // A dot shows it as well as its lines would, as for the other kinds.
        Float64 x, y;
        WorldToView(doc, (box[0] + box[2]) / 2, (box[1] + box[3]) / 2, nullptr, nullptr, &x, &y);
        BatchDotCG(LevelOfDetailContext(doc), x, y, d->output.penColor, d->output.penWidth);
        ResetDrawingState(doc);
        return;
    }
    int n = polyline->pointCount;
    switch (polyline->kind) {
    case kPolylinePicture:
        if (n >= 2) DrawPicturePolyline(doc, polyline, p);
        break;
    case kPolylineEllipse:
        if (n >= 4) {
            Float64 start = polyline->params[0], end = polyline->params[1];
            if (start == end) start = 0, end = 360; // no sweep given: the whole ellipse
            DrawEllipseInQuad(doc, p, start, end);
        }
        break;
    case kPolylineRoundedRect: {
        std::vector<PolylinePiece> pieces;
        if (PolylinePieces(doc, polyline, &pieces)) DrawPieces(doc, pieces);
        break;
    }
    case kPolylineSpline:
    case kPolylineCurve: {
        std::vector<Float64> xy;
        SmoothPolylinePoints(polyline, &xy);
        DrawConnected(doc, xy, polyline->lineType);
        break;
    }
    default: // straight segments, and kinds of unknown meaning read as such
        DrawConnected(doc, std::vector<Float64>(p, p + 2 * n), polyline->lineType);
        break;
    }
    ResetDrawingState(doc);
}
