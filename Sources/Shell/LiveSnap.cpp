// The live snap: the point the elements under the mouse offer while the fixed-point snap waits for a
// click, and its mark in the drawing area.
#include "View/OutputDevice.h"
#include "Shell/LiveSnap.h"

#include "Tools/CommandField.h"
#include "View/ContentPasses.h"
#include "Model/DocumentRecords.h"
#include "Shell/EventLoop.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Tools/Picking.h"
#include "Platform/QuickDraw.h"
#include "Tools/ToolDispatch.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "Platform/Windows.h"

#include <cmath>

namespace {

constexpr SInt16 kDefaultHoverAperture = 16;
constexpr int kMaxCrossings = 39;
constexpr Float64 kMarkerRadius = 8.0;
constexpr Float64 kCrossHalf = 6.0;
constexpr Float64 kCircleStroke = 0.5;
constexpr Float64 kCrossStroke = 1.0;
const RGBColor kMarkerRed{0xFFFF, 0, 0};

// The cross in the circle at the point, clipped to the drawing area; nothing while the view draws
// into a print, PDF or plot.
void StrokeMarker(DocWindowRecord* doc, Float64 x, Float64 y) {
    DrawingRecord* d = doc->drawing;
    if (doc->window == nullptr || d->output.outputContext != nullptr || PlotTarget(doc) != nullptr) return;
    Float64 cx, cy;
    WorldToViewInt(doc, x, y, nullptr, nullptr, &cx, &cy);
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    // A crossing far outside the view has no mark to show (and no coordinates the context can take).
    if (!(cx > -kMarkerRadius && cx < w + kMarkerRadius && cy > -kMarkerRadius && cy < h + kMarkerRadius))
        return;
    BeginDrawingArea(doc, true);
    {
        DrawingContextScope scope(doc);
        CGContextRef ctx = scope.get();
        StrokeLineCG(ctx, cx - kCrossHalf, cy - kCrossHalf, cx + kCrossHalf, cy + kCrossHalf, kMarkerRed,
                     kCrossStroke, 1);
        StrokeLineCG(ctx, cx - kCrossHalf, cy + kCrossHalf, cx + kCrossHalf, cy - kCrossHalf, kMarkerRed,
                     kCrossStroke, 1);
        StrokeArcCG(ctx, cx, cy, kMarkerRadius, 0, 360, kMarkerRed, kCircleStroke, 1);
    }
    BeginDrawingArea(doc, false);
}

// Crossings of every pair of candidates, the one nearer the cursor of each pair, each point once; the
// nearest of them to the cursor. False when no pair crosses.
bool NearestCrossing(const DrawingRecord* d, const LineRecord* const* lines, int lineCount,
                     const ArcRecord* const* arcs, int arcCount, Float64* outX, Float64* outY) {
    Float64 xs[kMaxCrossings], ys[kMaxCrossings];
    int count = 0;
    auto collect = [&](Float64 x, Float64 y) {
        if (count >= kMaxCrossings) return;
        for (int i = 0; i < count; ++i)
            if (xs[i] == x && ys[i] == y) return;
        xs[count] = x;
        ys[count] = y;
        ++count;
    };
    auto collectNearer = [&](Float64 xa, Float64 ya, Float64 xb, Float64 yb) {
        Float64 x, y;
        NearerPoint(xa, ya, xb, yb, d->toolInput.cursorX, d->toolInput.cursorY, &x, &y);
        collect(x, y);
    };
    Float64 x, y, xa, ya, xb, yb;
    for (int i = 0; i < lineCount; ++i) {
        for (int j = i + 1; j < lineCount; ++j)
            if (IntersectLineElements(lines[i], lines[j], x, y)) collect(x, y);
        for (int j = 0; j < arcCount; ++j)
            if (IntersectLineWithCircleElement(lines[i], arcs[j], xa, ya, xb, yb))
                collectNearer(xa, ya, xb, yb);
    }
    for (int i = 0; i < arcCount; ++i)
        for (int j = i + 1; j < arcCount; ++j)
            if (IntersectCircleElements(arcs[i], arcs[j], xa, ya, xb, yb)) collectNearer(xa, ya, xb, yb);
    if (count == 0) return false;
    int best = 0;
    Float64 bestDistance = DistanceSquared(xs[0], ys[0], d->toolInput.cursorX, d->toolInput.cursorY);
    for (int i = 1; i < count; ++i) {
        Float64 distance = DistanceSquared(xs[i], ys[i], d->toolInput.cursorX, d->toolInput.cursorY);
        if (distance < bestDistance) best = i, bestDistance = distance;
    }
    *outX = xs[best];
    *outY = ys[best];
    return true;
}

} // namespace

void HoverSnap(DocWindowRecord* doc) {
    if (doc == nullptr || doc->window == nullptr) return;
    CommandFieldRecord* f = CommandFieldOf(doc);
    ToolStateRecord* t = ToolStateOf(doc);
    if (f == nullptr || t == nullptr) return;
    // A step that takes no point from the live snap shows no mark and keeps no point from before.
    if (!f->liveSnap) {
        if (t->fixedPointPresent) DrawFixedPointMarker(doc, false, 0, 0);
        return;
    }
    DrawingRecord* d = doc->drawing;
    DocSettings* s = doc->settings;

    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    Point mouse;
    GetMouse(&mouse);
    SetPort(saved);
    const SInt16 x = mouse.h, y = SInt16(d->view.viewHeight - mouse.v);
    MenuCommandGlobals.code = x;
    MenuCommandGlobals.param = y;
    d->layout.mouseH = mouse.h;
    d->layout.mouseV = mouse.v;

    // The pick rectangle of the hover aperture; clicks keep the document's own aperture.
    if (s->pickAperture2 < 1) s->pickAperture2 = kDefaultHoverAperture;
    const SInt16 aperture = s->pickAperture;
    s->pickAperture = s->pickAperture2;
    MouseToWorld(doc, x, y);
    s->pickAperture = aperture;

    LinePickBuffer lineHits, segmentHits;
    ArcPickBuffer arcHits;
    PickLine(doc, kPickFind, false, false, &lineHits);
    PickPolylineSegments(doc, &segmentHits);
    PickArc(doc, kPickFind, false, false, &arcHits);
    const LineRecord* lines[2 * kPickBufferCapacity];
    const ArcRecord* arcs[kPickBufferCapacity];
    int lineCount = 0, arcCount = 0;
    for (int i = 0; i < lineHits.count; ++i)
        lines[lineCount++] = &lineHits.records[i];
    for (int i = 0; i < segmentHits.count; ++i)
        lines[lineCount++] = &segmentHits.records[i];
    for (int i = 0; i < arcHits.count; ++i)
        arcs[arcCount++] = &arcHits.records[i];

    if (lineCount == 0 && arcCount == 0) {
        if (t->fixedPointPresent) DrawFixedPointMarker(doc, false, 0, 0);
        return;
    }
    if (lineCount == 1 && arcCount == 0) {
        SnapToLinePoint(doc, lines[0]);
    } else if (arcCount == 1 && lineCount == 0) {
        SnapToArcPoint(doc, arcs[0]);
    } else {
        Float64 px, py;
        // Candidates that do not cross leave the mark where it is.
        if (!NearestCrossing(d, lines, lineCount, arcs, arcCount, &px, &py)) return;
        d->toolInput.cursorX = px;
        d->toolInput.cursorY = py;
    }
    if (t->fixedPointPresent && t->fixedX == d->toolInput.cursorX && t->fixedY == d->toolInput.cursorY)
        return;
    if (t->fixedPointPresent) DrawFixedPointMarker(doc, false, 0, 0);
    DrawFixedPointMarker(doc, true, d->toolInput.cursorX, d->toolInput.cursorY);
}

void DrawFixedPointMarker(DocWindowRecord* doc, Boolean show, Float64 x, Float64 y) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr) return;
    if (show) {
        t->fixedPointPresent = true;
        t->fixedX = x;
        t->fixedY = y;
        StrokeMarker(doc, x, y);
    } else {
        t->fixedPointPresent = false;
        UpdateViewExtent(doc, false);
    }
}

void RedrawFixedPointMarker(DocWindowRecord* doc) {
    const ToolStateRecord* t = doc->drawing->tool;
    if (t != nullptr && t->fixedPointPresent && doc->settings->snapMode == kSnapFixedPoint)
        StrokeMarker(doc, t->fixedX, t->fixedY);
}
