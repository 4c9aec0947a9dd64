// Zoom steps, fitting, extents of the drawing and the dragged rectangle.
#include "View/ZoomExtents.h"
#include "View/ContentPasses.h"
#include "View/ElementDrawing.h"
#include "Platform/Events.h"
#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"
#include "Platform/QuickDraw.h"
#include "View/TextDrawing.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "Platform/Windows.h"

#include <algorithm>
#include <utility>
#include <cmath>

namespace {

constexpr Float64 kZoomStep = 1.1;
// A fitted view leaves this share of the box free at each side, so edges do not fall on the border.
constexpr Float64 kFitMargin = 0.025;

// The visible rectangle from origin, scale and area, as the view update computes it.
void SetVisibleRect(DrawingRecord* d) {
    d->view.visibleMinX = d->view.originX;
    d->view.visibleMaxX = d->view.areaWidth * d->view.unitsPerPixel + d->view.originX;
    d->view.visibleMinY = d->view.originY;
    d->view.visibleMaxY = d->view.areaHeight * d->view.unitsPerPixel + d->view.originY;
}

struct Box {
    Float64 minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool any = false;
    void Add(Float64 x, Float64 y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        if (!any) {
            minX = maxX = x, minY = maxY = y, any = true;
            return;
        }
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    void Add(const Float64 b[4]) {
        Add(b[0], b[1]);
        Add(b[2], b[3]);
    }
};

template <typename T> bool Counts(const DocWindowRecord* doc, const T* e, SInt16 key, Boolean visibleOnly) {
    if (key != 0 && e->group != key) return false;
    return !visibleOnly || IsLayerVisible(doc->layerVisible, e->layer);
}

void XorFrame(DocWindowRecord* doc, const Rect& r) {
    XorOnWindowPort port(doc);
    FrameRect(&r);
}

Rect DragRect(Point start, Point now, Boolean fromCentre) {
    Point a = start, b = now;
    if (fromCentre) a = Point{SInt16(2 * start.v - now.v), SInt16(2 * start.h - now.h)};
    Rect r;
    SetRect(&r, std::min(a.h, b.h), std::min(a.v, b.v), SInt16(std::max(a.h, b.h) + 1),
            SInt16(std::max(a.v, b.v) + 1));
    return r;
}

} // namespace

void ZoomViewAboutPoint(DocWindowRecord* doc, Boolean zoomIn, SInt16 h, SInt16 v) {
    DrawingRecord* d = doc->drawing;
    Float64 wx = h * d->view.unitsPerPixel + d->view.originX,
            wy = v * d->view.unitsPerPixel + d->view.originY;
    const Float64 before = d->view.unitsPerPixel;
    d->view.unitsPerPixel =
        AtLeastEpsilon(zoomIn ? d->view.unitsPerPixel / kZoomStep : d->view.unitsPerPixel * kZoomStep);
    d->view.originX = wx - h * d->view.unitsPerPixel;
    d->view.originY = wy - v * d->view.unitsPerPixel;
    // A wheel notch shows the old picture scaled at once; notches still waiting are taken before the
    // redraw.
    ShowViewScaled(doc, before / d->view.unitsPerPixel, h, d->view.viewHeight - v);
}

void ZoomViewAboutCentre(DocWindowRecord* doc, Boolean zoomIn) {
    DrawingRecord* d = doc->drawing;
    Float64 w = d->view.areaWidth * d->view.unitsPerPixel, h = d->view.areaHeight * d->view.unitsPerPixel;
    if (zoomIn) {
        d->view.originX += w / 4, d->view.originY += h / 4;
        d->view.unitsPerPixel = AtLeastEpsilon(d->view.unitsPerPixel / 2);
    } else {
        d->view.originX -= w / 2, d->view.originY -= h / 2;
        d->view.unitsPerPixel *= 2;
    }
    UpdateViewExtent(doc, true);
}

Boolean ZoomToWorldRect(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    DrawingRecord* d = doc->drawing;
    Float64 w = std::fabs(x2 - x1), h = std::fabs(y2 - y1);
    if (!(w > 0 || h > 0) || d->view.areaWidth <= 0 || d->view.areaHeight <= 0 || !std::isfinite(w) ||
        !std::isfinite(h))
        return false;
    Float64 scale = AtLeastEpsilon(std::max(w / d->view.areaWidth, h / d->view.areaHeight));
    d->view.unitsPerPixel = scale;
    d->view.originX = (x1 + x2) / 2 - d->view.areaWidth * scale / 2;
    d->view.originY = (y1 + y2) / 2 - d->view.areaHeight * scale / 2;
    SetVisibleRect(d);
    return true;
}

void SetViewOrigin(DrawingRecord* d, Float64 x, Float64 y) {
    d->view.originX = x;
    d->view.originY = y;
}

void SetViewScale(DrawingRecord* d, Float64 unitsPerPixel) {
    d->view.unitsPerPixel = unitsPerPixel;
}

void RememberPreviousView(DrawingRecord* d) {
    d->view.previousViewValid = 1;
    d->view.previousOriginX = d->view.originX;
    d->view.previousOriginY = d->view.originY;
    d->view.previousUnitsPerPixel = d->view.unitsPerPixel;
}

void SwapWithPreviousView(DrawingRecord* d) {
    std::swap(d->view.originX, d->view.previousOriginX);
    std::swap(d->view.originY, d->view.previousOriginY);
    std::swap(d->view.unitsPerPixel, d->view.previousUnitsPerPixel);
}

void ApplyZoom(DocWindowRecord* doc) {
    doc->drawing->view.unitsPerPixel = AtLeastEpsilon(doc->drawing->view.unitsPerPixel);
    UpdateViewExtent(doc, true);
}

Float64 ZoomPercent(const DocWindowRecord* doc) {
    return 100.0 / (doc->drawing->view.unitsPerPixel * 72.0 / 25.4);
}

Boolean ComputeDrawingExtents(DocWindowRecord* doc, SInt16 key, Boolean visibleOnly, Float64* x1, Float64* y1,
                              Float64* x2, Float64* y2, SInt16 option) {
    Box box;
    Float64 b[4];
    for (LineRecord* e = doc->lineHead->next; e; e = e->next)
        if (Counts(doc, e, key, visibleOnly)) box.Add(e->x1, e->y1), box.Add(e->x2, e->y2);
    for (ArcRecord* e = doc->arcHead->next; e; e = e->next)
        if (Counts(doc, e, key, visibleOnly)) {
            ArcExtentBox(e->cx, e->cy, e->radius, e->startAngle, e->endAngle, b);
            box.Add(b);
        }
    for (TextRecord* e = doc->textHead->next; e; e = e->next)
        if (Counts(doc, e, key, visibleOnly))
            for (int i = 0; i < 4; ++i)
                box.Add(e->corners[2 * i], e->corners[2 * i + 1]);
    for (DimensionRecord* e = doc->dimensionHead->next; e; e = e->next)
        if (Counts(doc, e, key, visibleOnly)) {
            box.Add(e->x1, e->y1), box.Add(e->x2, e->y2), box.Add(e->textX, e->textY);
            for (int i = 0; i < 3; ++i)
                box.Add(e->frame[2 * i], e->frame[2 * i + 1]);
        }
    for (PolylineRecord* e = doc->polylineHead->next; e; e = e->next)
        if (Counts(doc, e, key, visibleOnly) && e->points) {
            long n = std::min<long>(e->pointCount, GetHandleSize(e->points) / long(2 * sizeof(Float64)));
            const Float64* p = reinterpret_cast<const Float64*>(*e->points);
            for (long i = 0; i < n; ++i)
                box.Add(p[2 * i], p[2 * i + 1]);
        }
    for (SymbolInstanceRecord* e = doc->instanceHead->next; e; e = e->next)
        if (Counts(doc, e, key, visibleOnly))
            for (int i = 0; i < 4; ++i)
                box.Add(e->x + e->frame[2 * i], e->y + e->frame[2 * i + 1]);
    for (AreaRecord* e = doc->areaHead->next; e; e = e->next)
        if (Counts(doc, e, key, visibleOnly)) box.Add(e->minX, e->minY), box.Add(e->maxX, e->maxY);
    if (option == 1)
        for (FrameRecord* f = doc->drawing->frames; f; f = f->next)
            box.Add(f->rect[0], f->rect[1]), box.Add(f->rect[2], f->rect[3]);
    DrawingRecord* d = doc->drawing;
    d->view.extentsMinX = box.minX, d->view.extentsMinY = box.minY;
    d->view.extentsMaxX = box.maxX, d->view.extentsMaxY = box.maxY;
    d->view.extentsStale = 0;
    *x1 = box.minX, *y1 = box.minY, *x2 = box.maxX, *y2 = box.maxY;
    if (!box.any) return false;
    Float64 mx = (box.maxX - box.minX) * kFitMargin, my = (box.maxY - box.minY) * kFitMargin;
    if (mx == 0 && my == 0) mx = my = 1.0; // a single point: a view of some millimetres about it
    ZoomToWorldRect(doc, box.minX - mx, box.minY - my, box.maxX + mx, box.maxY + my);
    return true;
}

Boolean TrackDragRectangle(DocWindowRecord* doc, Boolean fromCentre) {
    if (!doc->window) return false;
    DrawingRecord* d = doc->drawing;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    Point start, now;
    GetMouse(&start);
    now = start;
    Rect shown{};
    bool drawn = false;
    while (StillDown()) {
        Point mouse;
        GetMouse(&mouse);
        if (mouse.h == now.h && mouse.v == now.v && drawn) continue;
        if (drawn) XorFrame(doc, shown);
        now = mouse;
        shown = DragRect(start, now, fromCentre);
        XorFrame(doc, shown);
        drawn = true;
    }
    if (drawn) XorFrame(doc, shown);
    SetPort(saved);
    Rect r = DragRect(start, now, fromCentre);
    Float64 s = d->view.unitsPerPixel;
    d->view.dragRectX = r.left * s + d->view.originX;
    d->view.dragRectY = (d->view.viewHeight - (r.bottom - 1)) * s + d->view.originY;
    d->view.dragRectWidth = (r.right - 1 - r.left) * s;
    d->view.dragRectHeight = (r.bottom - 1 - r.top) * s;
    return now.h != start.h || now.v != start.v;
}
