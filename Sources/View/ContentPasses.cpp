// The window update, the background and element passes, and the output pass of print and PDF.
#include "View/ContentPasses.h"
#include "View/DimensionDrawing.h"
#include "View/ElementDrawing.h"
#include "Interface/ProgressWindow.h"
#include "View/ScrollGrid.h"
#include "Model/SharedUtilities.h"
#include "Model/SpatialIndex.h"
#include "View/TextDrawing.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"

#include <algorithm>
#include <cmath>

ViewHooks gViewHooks{};

void NoViewHook(DocWindowRecord*) {}
void NoViewHook(DocWindowRecord*, SInt32, SInt32) {}
void NoViewHook(DocWindowRecord*, SInt16) {}
void NoViewHook(DocWindowRecord*, AreaRecord*) {}
void NoViewHook(DocWindowRecord*, PolylineRecord*) {}
void NoViewHook(DocWindowRecord*, DimensionRecord*) {}
void NoViewHook(DocWindowRecord*, SymbolInstanceRecord*) {}

namespace {

// A kind whose drawer is not installed is not walked at all.
template <class Element> bool Installed(void (*hook)(DocWindowRecord*, Element*)) {
    return hook != static_cast<void (*)(DocWindowRecord*, Element*)>(NoViewHook);
}

// Progress and cancelling of an output pass; the window pass has neither.
struct PassProgress {
    long done = 0, total = 1;
    SInt16 first = 0, last = 100;
    SInt16 shown = -1;
    bool cancelled = false;
};

PassProgress* gProgress = nullptr;
constexpr long kProgressInterval = 256;

// Counts one element; every so often reports progress and looks for Command-period. False once the
// pass is to stop.
bool Continue() {
    PassProgress* p = gProgress;
    if (!p) return true;
    if (p->cancelled) return false;
    if (++p->done % kProgressInterval != 0) return true;
    SInt16 percent = SInt16(p->first + (p->last - p->first) * std::min(p->done, p->total) / p->total);
    if (percent != p->shown && ProgressIsOpen()) {
        p->shown = percent;
        SetProgressPercent(percent);
    }
    if (UserCancelled()) p->cancelled = true;
    return !p->cancelled;
}

// What the pass shows, taken once: the world rectangle of the output and the layer set.
struct PassView {
    Float64 minX, minY, maxX, maxY;
    const LayerVisibilitySet* layers;
};

PassView gView{};

bool LayerShown(SInt16 layer) {
    return IsLayerVisible(gView.layers, layer);
}

bool Visible(SInt16 layer, const Float64 box[4]) {
    return box[2] >= gView.minX && box[0] <= gView.maxX && box[3] >= gView.minY && box[1] <= gView.maxY &&
           LayerShown(layer);
}

bool DrawAreas(DocWindowRecord* doc) {
    if (!Installed(gViewHooks.drawArea)) return true;
    IndexWalk<AreaRecord> walk(doc, kAreaElement, doc->areaHead->next, gView.minX, gView.minY, gView.maxX,
                               gView.maxY);
    for (AreaRecord* e = walk.First(); e; e = walk.Next(e)) {
        if (!Continue()) return false;
        Float64 box[4] = {e->minX, e->minY, e->maxX, e->maxY};
        if (Visible(e->layer, box)) gViewHooks.drawArea(doc, e);
    }
    return true;
}

bool DrawImages(DocWindowRecord* doc) {
    for (SInt16 i = 0; i < doc->imageCount && i < kMaxImages; ++i) {
        if (!Continue()) return false;
        gViewHooks.drawImage(doc, i);
    }
    return true;
}

bool DrawPolylines(DocWindowRecord* doc) {
    if (!Installed(gViewHooks.drawPolyline)) return true;
    for (PolylineRecord* e = doc->polylineHead->next; e; e = e->next) {
        if (!Continue()) return false;
        if (LayerShown(e->layer)) gViewHooks.drawPolyline(doc, e);
    }
    return true;
}

bool DrawLines(DocWindowRecord* doc) {
    IndexWalk<LineRecord> walk(doc, kLineElement, doc->lineHead->next, gView.minX, gView.minY, gView.maxX,
                               gView.maxY);
    for (LineRecord* e = walk.First(); e; e = walk.Next(e)) {
        if (!Continue()) return false;
        if (e->flags & (kLineOpenStart | kLineOpenEnd)) {
            // Lines that run on meet the view wherever they point.
            if (LayerShown(e->layer)) DrawLineElement(e, doc);
            continue;
        }
        Float64 box[4];
        LineElementBox(e, box);
        if (Visible(e->layer, box)) DrawLineElement(e, doc);
    }
    return true;
}

bool DrawArcs(DocWindowRecord* doc) {
    IndexWalk<ArcRecord> walk(doc, kArcElement, doc->arcHead->next, gView.minX, gView.minY, gView.maxX,
                              gView.maxY);
    for (ArcRecord* e = walk.First(); e; e = walk.Next(e)) {
        if (!Continue()) return false;
        Float64 box[4];
        ArcElementBox(e, box);
        if (Visible(e->layer, box)) DrawCircleElement(e, doc);
    }
    return true;
}

bool DrawTexts(DocWindowRecord* doc) {
    bool outlinesOnly = doc->settings->textDisplayMode == 1 && doc->drawing->output.outputContext == nullptr;
    IndexWalk<TextRecord> walk(doc, kTextElement, doc->textHead->next, gView.minX, gView.minY, gView.maxX,
                               gView.maxY);
    for (TextRecord* e = walk.First(); e; e = walk.Next(e)) {
        if (!Continue()) return false;
        Float64 box[4];
        TextElementBox(e, box);
        if (!Visible(e->layer, box)) continue;
        if (outlinesOnly && !IsFramedTextBox(e))
            DrawTextOutline(e, doc, 0);
        else
            DrawTextElement(e, doc);
    }
    return true;
}

bool DrawDimensions(DocWindowRecord* doc) {
    if (!Installed(gViewHooks.drawDimension)) return true;
    for (DimensionRecord* e = doc->dimensionHead->next; e; e = e->next) {
        if (!Continue()) return false;
        Float64 box[4];
        DimensionElementBox(e, doc->settings, box);
        if (Visible(e->layer, box)) gViewHooks.drawDimension(doc, e);
    }
    return true;
}

bool DrawSymbolInstances(DocWindowRecord* doc) {
    if (!Installed(gViewHooks.drawSymbolInstance)) return true;
    for (SymbolInstanceRecord* e = doc->instanceHead->next; e; e = e->next) {
        if (!Continue()) return false;
        Float64 box[4] = {e->x, e->y, e->x, e->y};
        for (int i = 0; i < 4; ++i) {
            box[0] = std::min(box[0], e->x + e->frame[2 * i]);
            box[2] = std::max(box[2], e->x + e->frame[2 * i]);
            box[1] = std::min(box[1], e->y + e->frame[2 * i + 1]);
            box[3] = std::max(box[3], e->y + e->frame[2 * i + 1]);
        }
        if (Visible(e->layer, box)) gViewHooks.drawSymbolInstance(doc, e);
    }
    return true;
}

void DrawOriginCross(DocWindowRecord* doc, CGContextRef ctx) {
    const DrawingRecord* d = doc->drawing;
    Float64 x, y;
    WorldToView(doc, 0, 0, nullptr, nullptr, &x, &y);
    Float64 w, h;
    DeviceBounds(doc, &w, &h);
    if (x < -6 || x > w + 6 || y < d->layout.statusHeight + kScrollBarWidth - 6 || y > h + 6) return;
    const RGBColor& colour = doc->settings->gridColor;
    StrokeLineCG(ctx, x - 6, y, x + 6, y, colour, 1, 1);
    StrokeLineCG(ctx, x, y - 6, x, y + 6, colour, 1, 1);
}

} // namespace

UInt32 gWindowRedrawCount = 0;

void ComputeDrawingAreaMetrics(DocWindowRecord* doc) {
    if (!doc->window) return;
    DrawingRecord* d = doc->drawing;
    Rect bounds;
    GetWindowPortBounds(doc->window, &bounds);
    d->view.viewWidth = SInt16(std::max(0, bounds.right - bounds.left - kScrollBarWidth));
    d->view.viewHeight =
        SInt16(std::max(0, bounds.bottom - bounds.top - kScrollBarWidth - d->layout.statusHeight));
    d->view.areaWidth = d->view.viewWidth;
    d->view.areaHeight = d->view.viewHeight;
}

void ScrollThumbValues(const DocWindowRecord* doc, SInt32* thumbX, SInt32* thumbY) {
    const DrawingRecord* d = doc->drawing;
    auto thumb = [](Float64 at, Float64 lo, Float64 hi, Float64 shown) -> SInt32 {
        Float64 room = hi - lo - shown;
        if (!(room > 0)) return 0;
        return SInt32(std::lround(std::clamp((at - lo) * 1000.0 / room, 0.0, 1000.0)));
    };
    *thumbX = thumb(d->view.originX, d->view.extentsMinX, d->view.extentsMaxX,
                    d->view.areaWidth * d->view.unitsPerPixel);
    SInt32 up = thumb(d->view.originY, d->view.extentsMinY, d->view.extentsMaxY,
                      d->view.areaHeight * d->view.unitsPerPixel);
    // The vertical thumb runs down while y runs up.
    *thumbY = d->view.extentsMaxY - d->view.extentsMinY - d->view.areaHeight * d->view.unitsPerPixel > 0
                  ? 1000 - up
                  : 0;
}

namespace {

void SetVisibleFromOrigin(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    ComputeDrawingAreaMetrics(doc);
    d->view.visibleMinX = d->view.originX;
    d->view.visibleMaxX = d->view.areaWidth * d->view.unitsPerPixel + d->view.originX;
    d->view.visibleMinY = d->view.originY;
    d->view.visibleMaxY = d->view.areaHeight * d->view.unitsPerPixel + d->view.originY;
}

void ShowViewPosition(DocWindowRecord* doc, Boolean updateScrollBars) {
    DrawingRecord* d = doc->drawing;
    if (updateScrollBars) {
        ScrollThumbValues(doc, &d->view.scrollRangeX, &d->view.scrollRangeY);
        gViewHooks.updateScrollBars(doc, d->view.scrollRangeX, d->view.scrollRangeY);
    }
    gViewHooks.showZoomPercent(doc);
}

// Whether the window's pixels can be moved or scaled in place of a redraw: a window, no output pass,
// no context already drawing into it.
bool CanReuseShownPixels(const DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    return doc->window != nullptr && d->output.outputContext == nullptr &&
           d->output.windowContext == nullptr && d->view.viewWidth > 0 && d->view.viewHeight > 0;
}

// The CG rectangle of a drawing-area rectangle given in port pixels (v down from the top).
CGRect AreaRectCG(const DrawingRecord* d, const Rect& r) {
    const Float64 base = d->layout.statusHeight + kScrollBarWidth;
    return CGRectMake(r.left, base + d->view.viewHeight - r.bottom, r.right - r.left, r.bottom - r.top);
}

// Copies (scaling when the sizes differ) pixels of the drawing area onto the drawing area, with the
// port's clip opened to the whole area for the copy.
void CopyAreaPixels(DocWindowRecord* doc, const Rect& source, const Rect& dest) {
    const DrawingRecord* d = doc->drawing;
    GrafPtr saved;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    RgnHandle clip = NewRgn();
    GetClip(clip);
    Rect area;
    SetRect(&area, 0, 0, d->view.viewWidth, d->view.viewHeight);
    ClipRect(&area);
    CGrafPtr port = GetWindowPort(doc->window);
    CopyBits(port, port, &source, &dest, srcCopy, nullptr);
    SetClip(clip);
    DisposeRgn(clip);
    SetPort(saved);
}

// The view inside r (port pixels of the drawing area), clipped to it: background, the elements whose
// boxes come near it, the marks.
void DrawViewPart(DocWindowRecord* doc, const Rect& r) {
    DrawingRecord* d = doc->drawing;
    if (r.right <= r.left || r.bottom <= r.top) return;
    const Float64 kept[4] = {d->view.visibleMinX, d->view.visibleMinY, d->view.visibleMaxX,
                             d->view.visibleMaxY};
    // An element just outside the part reaches into it by the width of its pen.
    constexpr Float64 kReach = 16;
    const Float64 s = d->view.unitsPerPixel;
    d->view.visibleMinX = d->view.originX + (r.left - kReach) * s;
    d->view.visibleMaxX = d->view.originX + (r.right + kReach) * s;
    d->view.visibleMinY = d->view.originY + (d->view.viewHeight - r.bottom - kReach) * s;
    d->view.visibleMaxY = d->view.originY + (d->view.viewHeight - r.top + kReach) * s;
    if (BeginWindowCG(&d->output.windowContext, doc->window) == noErr) {
        CGContextClipToRect(d->output.windowContext, AreaRectCG(d, r));
        BeginStrokeBatching(doc, d->output.windowContext);
        DrawViewBackground(doc);
        DrawViewContent(doc);
        gViewHooks.drawViewMarks(doc);
        EndStrokeBatching();
        EndWindowCG(&d->output.windowContext, doc->window);
    }
    d->view.visibleMinX = kept[0], d->view.visibleMinY = kept[1];
    d->view.visibleMaxX = kept[2], d->view.visibleMaxY = kept[3];
}

} // namespace

void UpdateViewExtent(DocWindowRecord* doc, Boolean updateScrollBars) {
    DrawingRecord* d = doc->drawing;
    SetVisibleFromOrigin(doc);
    if (doc->window && d->output.outputContext == nullptr) {
        bool own = false;
        if (!d->output.windowContext && BeginWindowCG(&d->output.windowContext, doc->window) == noErr) {
            own = true;
            CGContextClipToRect(d->output.windowContext,
                                CGRectMake(0, d->layout.statusHeight + kScrollBarWidth, d->view.viewWidth,
                                           d->view.viewHeight));
        }
        ++gWindowRedrawCount;
        BeginStrokeBatching(doc, d->output.windowContext);
        DrawViewBackground(doc);
        DrawViewContent(doc);
        gViewHooks.drawViewMarks(doc);
        EndStrokeBatching();
        if (own) EndWindowCG(&d->output.windowContext, doc->window);
    }
    ShowViewPosition(doc, updateScrollBars);
}

void ShowViewMoved(DocWindowRecord* doc, SInt32 dx, SInt32 dy, Boolean updateScrollBars) {
    DrawingRecord* d = doc->drawing;
    SetVisibleFromOrigin(doc);
    const SInt32 w = d->view.viewWidth, h = d->view.viewHeight;
    if (!CanReuseShownPixels(doc) || std::abs(dx) >= w || std::abs(dy) >= h) {
        UpdateViewExtent(doc, updateScrollBars);
        return;
    }
    if (dx != 0 || dy != 0) {
        Rect from, to;
        SetRect(&from, SInt16(std::max(0, -dx)), SInt16(std::max(0, -dy)), SInt16(w - std::max(0, dx)),
                SInt16(h - std::max(0, dy)));
        to = from;
        OffsetRect(&to, SInt16(dx), SInt16(dy));
        CopyAreaPixels(doc, from, to);
        Rect strip;
        if (dy != 0) {
            SetRect(&strip, 0, SInt16(dy > 0 ? 0 : h + dy), SInt16(w), SInt16(dy > 0 ? dy : h));
            DrawViewPart(doc, strip);
        }
        if (dx != 0) {
            SetRect(&strip, SInt16(dx > 0 ? 0 : w + dx), SInt16(std::max(0, dy)), SInt16(dx > 0 ? dx : w),
                    SInt16(h + std::min(0, dy)));
            DrawViewPart(doc, strip);
        }
    }
    ShowViewPosition(doc, updateScrollBars);
}

void ShowViewScaled(DocWindowRecord* doc, Float64 factor, Float64 h, Float64 v) {
    DrawingRecord* d = doc->drawing;
    SetVisibleFromOrigin(doc);
    if (!CanReuseShownPixels(doc) || !(factor > 0) || !std::isfinite(factor) || !std::isfinite(h) ||
        !std::isfinite(v)) {
        UpdateViewExtent(doc, true);
        return;
    }
    const Float64 w = d->view.viewWidth, ht = d->view.viewHeight;
    // Where the old picture lands (to), cut to the drawing area, and the old pixels that land there.
    const Float64 to[4] = {std::max(0.0, h - h * factor), std::max(0.0, v - v * factor),
                           std::min(w, h + (w - h) * factor), std::min(ht, v + (ht - v) * factor)};
    Rect dest, source;
    SetRect(&dest, SInt16(std::lround(to[0])), SInt16(std::lround(to[1])), SInt16(std::lround(to[2])),
            SInt16(std::lround(to[3])));
    SetRect(&source, SInt16(std::lround(h + (dest.left - h) / factor)),
            SInt16(std::lround(v + (dest.top - v) / factor)),
            SInt16(std::lround(h + (dest.right - h) / factor)),
            SInt16(std::lround(v + (dest.bottom - v) / factor)));
    if (!EmptyRect(&dest) && !EmptyRect(&source)) CopyAreaPixels(doc, source, dest);
    // Around a picture scaled down, the background until the redraw.
    CGContextRef ctx = nullptr;
    if ((dest.left > 0 || dest.top > 0 || dest.right < w || dest.bottom < ht) &&
        BeginWindowCG(&ctx, doc->window) == noErr) {
        const RGBColor& bg = doc->settings->backgroundColor;
        CGContextSetRGBFillColor(ctx, (bg.red >> 8) / 255.0, (bg.green >> 8) / 255.0, (bg.blue >> 8) / 255.0,
                                 1);
        Rect band[4];
        SetRect(&band[0], 0, 0, SInt16(w), dest.top);
        SetRect(&band[1], 0, dest.bottom, SInt16(w), SInt16(ht));
        SetRect(&band[2], 0, dest.top, dest.left, dest.bottom);
        SetRect(&band[3], dest.right, dest.top, SInt16(w), dest.bottom);
        for (const Rect& r : band)
            if (!EmptyRect(&r)) CGContextFillRect(ctx, AreaRectCG(d, r));
        EndWindowCG(&ctx, doc->window);
    }
    ShowViewPosition(doc, true);
    QDFlushPortBuffer(GetWindowPort(doc->window), nullptr);
    RequestRedraw(doc);
}

void RedrawWindow(DocWindowRecord* doc) {
    UpdateViewExtent(doc, true);
}

void DrawViewBackground(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    const DocSettings* s = doc->settings;
    DrawingContextScope scope(doc);
    CGContextRef ctx = scope.get();
    if (ctx) {
        const RGBColor& bg = s->backgroundColor;
        CGContextSetRGBFillColor(ctx, (bg.red >> 8) / 255.0, (bg.green >> 8) / 255.0, (bg.blue >> 8) / 255.0,
                                 1);
        CGContextFillRect(ctx, CGRectMake(0, d->layout.statusHeight + kScrollBarWidth, d->view.viewWidth,
                                          d->view.viewHeight));
    }
    if (s->viewFramesShown) gViewHooks.drawFramesOverlay(doc);
    if (s->gridVisible) DrawGrid(doc, s->gridMode == 1); // the grid dialog chooses the colour
    DrawOriginCross(doc, ctx);
    Float64 x, y;
    for (SInt16 i = 0; GetRubberPoint(doc, i, &x, &y); ++i)
        MarkRubberPoint(doc, x, y);
}

Boolean DrawViewContent(DocWindowRecord* doc) {
    VisibleWorldRect(doc, &gView.minX, &gView.minY, &gView.maxX, &gView.maxY);
    gView.layers = doc->layerVisible;
    bool areasFirst = doc->settings->areasFirst == 1;
    bool ok = (!areasFirst || DrawAreas(doc)) && DrawImages(doc) && DrawPolylines(doc) && DrawLines(doc) &&
              DrawArcs(doc) && (areasFirst || DrawAreas(doc)) && DrawTexts(doc) && DrawDimensions(doc) &&
              DrawSymbolInstances(doc);
    ResetDrawingState(doc);
    return ok;
}

void SetOutputTransform(DocWindowRecord* doc, CGContext* ctx, Float64 left, Float64 bottom, Float64 right,
                        Float64 top, Float64 scaleX, Float64 scaleY, Float64 penScale) {
    DrawingRecord* d = doc->drawing;
    d->output.outputContext = ctx;
    d->output.outputOffsetX = left;
    d->output.outputOffsetY = bottom;
    d->output.outputColumnRight = right;
    d->output.outputFlipY = top;
    d->output.outputScaleX = scaleX;
    d->output.outputScaleY = scaleY;
    d->output.outputPenScale = penScale;
}

void ClearOutputTransform(DocWindowRecord* doc) {
    SetOutputTransform(doc, nullptr, 0, 0, 0, 0, 0, 0, 0);
}

namespace {

template <typename T> long ListLength(const T* first) {
    long n = 0;
    for (; first != nullptr; first = first->next)
        ++n;
    return n;
}

// The elements the pass will visit, for its progress: where the index narrows a kind to the output
// rectangle, its candidates; else the whole list. Each sheet of a tiled print sees a small part of a
// large drawing, and counting every list for each sheet cost more than drawing it.
long CountPassElements(DocWindowRecord* doc) {
    Float64 minX = 0, minY = 0, maxX = 0, maxY = 0;
    VisibleWorldRect(doc, &minX, &minY, &maxX, &maxY);
    std::vector<void*> candidates;
    auto visited = [&](SInt16 kind, const auto* first) {
        return SpatialCandidates(doc, kind, minX, minY, maxX, maxY, &candidates) ? long(candidates.size())
                                                                                 : ListLength(first);
    };
    long n = doc->imageCount;
    if (Installed(gViewHooks.drawArea)) n += visited(kAreaElement, doc->areaHead->next);
    if (Installed(gViewHooks.drawPolyline)) n += ListLength(doc->polylineHead->next);
    n += visited(kLineElement, doc->lineHead->next);
    n += visited(kArcElement, doc->arcHead->next);
    n += visited(kTextElement, doc->textHead->next);
    if (Installed(gViewHooks.drawDimension)) n += ListLength(doc->dimensionHead->next);
    if (Installed(gViewHooks.drawSymbolInstance)) n += ListLength(doc->instanceHead->next);
    return std::max(n, 1L);
}

} // namespace

Boolean DrawDrawingWithProgress(DocWindowRecord* doc, SInt16 firstPercent, SInt16 lastPercent) {
    PassProgress progress;
    progress.first = firstPercent;
    progress.last = lastPercent;
    progress.total = CountPassElements(doc);
    PassProgress* outer = gProgress;
    gProgress = &progress;
    SInt16 savedHighlight = doc->highlightMode;
    doc->highlightMode = kHighlightNone;
    Boolean ok = DrawViewContent(doc);
    doc->highlightMode = savedHighlight;
    gProgress = outer;
    if (ok && ProgressIsOpen()) SetProgressPercent(lastPercent);
    return ok;
}

void DrawOtherElementClipped(DocWindowRecord* doc, SInt16 kind, void* element) {
    BeginDrawingArea(doc, true);
    switch (kind) {
    case kDimensionElement:
        gViewHooks.drawDimension(doc, static_cast<DimensionRecord*>(element));
        break;
    case kPolylineElement:
        gViewHooks.drawPolyline(doc, static_cast<PolylineRecord*>(element));
        break;
    case kSymbolInstanceElement:
        gViewHooks.drawSymbolInstance(doc, static_cast<SymbolInstanceRecord*>(element));
        break;
    case kAreaElement:
        gViewHooks.drawArea(doc, static_cast<AreaRecord*>(element));
        break;
    default:
        break;
    }
    BeginDrawingArea(doc, false);
}
