// Symbol instances drawn through the drawers of their elements' kinds, and the palette preview.
#include "View/OutputDevice.h"
#include "View/SymbolDrawing.h"

#include "Other/MathPrimitives.h"
#include "Model/Symbols.h"
#include "Platform/Fonts.h"
#include "Platform/MemoryManager.h"
#include "Platform/QuickDraw.h"
#include "View/ContentPasses.h"
#include "View/ElementDrawing.h"
#include "View/TextDrawing.h"
#include "View/ViewStrokes.h"
#include "View/ViewTransform.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <typename T> T* FirstOf(T* head) {
    return head ? head->next : nullptr;
}

struct VisibleRange {
    Float64 minX, minY, maxX, maxY;
    // Wholly on one side of the range: nothing of it can show.
    bool Outside(const Float64* x, const Float64* y, int n) const {
        bool left = true, right = true, below = true, above = true;
        for (int i = 0; i < n; ++i) {
            left &= x[i]<minX, right &= x[i]> maxX, below &= y[i]<minY, above &= y[i]> maxY;
        }
        return left || right || below || above;
    }
};

// While the plotter draws pen by pen, only the pen being plotted is output.
bool PenPlotted(const DocWindowRecord* doc, SInt16 pen) {
    const DrawingOutputState& o = doc->drawing->output;
    return PlotTarget(doc) == nullptr || o.plotPen == 0 || pen == o.plotPen;
}

void DrawAreas(DocWindowRecord* doc, const SymbolTransform& t, const SymbolDefRecord* def) {
    for (AreaRecord* e = FirstOf(def->areaHead); e != nullptr; e = e->next) {
        if (!PenPlotted(doc, e->pen)) continue;
        AreaRecord placed;
        if (PlaceSymbolArea(t, e, &placed)) gViewHooks.drawArea(doc, &placed);
        DisposeAreaData(&placed);
    }
}

void DrawContent(DocWindowRecord* doc, const SymbolTransform& t, const SymbolDefRecord* def, bool withAreas) {
    VisibleRange view{};
    VisibleWorldRect(doc, &view.minX, &view.minY, &view.maxX, &view.maxY);
    bool areasFirst = doc->settings->areasFirst == 1;
    if (withAreas && areasFirst) DrawAreas(doc, t, def);
    for (LineRecord* e = FirstOf(def->lineHead); e != nullptr; e = e->next) {
        if (!PenPlotted(doc, e->pen)) continue;
        LineRecord placed;
        PlaceSymbolLine(t, e, &placed);
        const Float64 xs[2] = {placed.x1, placed.x2}, ys[2] = {placed.y1, placed.y2};
        if (!(placed.flags & (kLineOpenStart | kLineOpenEnd)) && view.Outside(xs, ys, 2)) continue;
        DrawLineElement(&placed, doc);
    }
    for (ArcRecord* e = FirstOf(def->arcHead); e != nullptr; e = e->next) {
        if (!PenPlotted(doc, e->pen)) continue;
        ArcRecord placed;
        PlaceSymbolArc(t, e, &placed);
        Float64 r = std::fabs(placed.radius);
        const Float64 xs[2] = {placed.cx - r, placed.cx + r}, ys[2] = {placed.cy - r, placed.cy + r};
        if (view.Outside(xs, ys, 2)) continue;
        DrawCircleElement(&placed, doc);
    }
    bool outlinesOnly = doc->settings->textDisplayMode == 1 && doc->drawing->output.outputContext == nullptr;
    for (TextRecord* e = FirstOf(def->textHead); e != nullptr; e = e->next) {
        if (!PenPlotted(doc, e->pen)) continue;
        TextRecord placed;
        PlaceSymbolText(t, e, &placed);
        if (outlinesOnly && !IsFramedTextBox(&placed))
            DrawTextOutline(&placed, doc, 0);
        else
            DrawTextElement(&placed, doc);
    }
    for (DimensionRecord* e = FirstOf(def->dimensionHead); e != nullptr; e = e->next) {
        if (!PenPlotted(doc, e->pen)) continue;
        DimensionRecord placed;
        PlaceSymbolDimension(t, e, &placed);
        gViewHooks.drawDimension(doc, &placed);
    }
    for (PolylineRecord* e = FirstOf(def->polylineHead); e != nullptr; e = e->next) {
        if (!PenPlotted(doc, e->pen)) continue;
        PolylineRecord placed;
        if (PlaceSymbolPolyline(t, e, &placed)) gViewHooks.drawPolyline(doc, &placed);
        DisposePolylineData(&placed);
    }
    if (withAreas && !areasFirst) DrawAreas(doc, t, def);
}

void DrawInstanceHook(DocWindowRecord* doc, SymbolInstanceRecord* instance) {
    DrawSymbolInstance(doc, instance, true);
}

// QuickDraw points of the preview: y runs down from the top of the square.
struct PreviewFit {
    Float64 left, top, minX, maxY, factor;
    SInt16 H(Float64 x) const { return SInt16(std::lround(left + (x - minX) * factor)); }
    SInt16 V(Float64 y) const { return SInt16(std::lround(top + (maxY - y) * factor)); }
};

void PreviewPolygon(const PreviewFit& f, const Float64* xy, Size count, bool closed) {
    if (count == 0) return;
    MoveTo(f.H(xy[0]), f.V(xy[1]));
    for (Size i = 1; i < count; ++i)
        LineTo(f.H(xy[2 * i]), f.V(xy[2 * i + 1]));
    if (closed) LineTo(f.H(xy[0]), f.V(xy[1]));
}

void PreviewOutline(const PreviewFit& f, Handle outline) {
    if (outline == nullptr || GetHandleSize(outline) < Size(kOutlineHeaderSize)) return;
    SInt16 last = OutlineLastIndex(outline);
    Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    const Float64* p = OutlinePoints(outline);
    if (last < 0) {
        if (room < 2) return;
        Float64 rx = std::fabs(p[2]), ry = std::fabs(p[3]);
        Rect r{f.V(p[1] + ry), f.H(p[0] - rx), f.V(p[1] - ry), f.H(p[0] + rx)};
        FrameOval(&r);
        return;
    }
    PreviewPolygon(f, p, std::min(Size(last) + 1, room), true);
}

// The name cut at the end with an ellipsis until it fits the width.
void TruncateToWidth(Str255 name, SInt16 width) {
    if (StringWidth(name) <= width) return;
    while (name[0] > 0) {
        --name[0];
        Str255 shown;
        std::memcpy(shown, name, size_t(name[0]) + 1);
        shown[++shown[0]] = 0xC9; // the ellipsis in the system encoding
        if (StringWidth(shown) <= width) {
            std::memcpy(name, shown, size_t(shown[0]) + 1);
            return;
        }
    }
}

} // namespace

void DrawSymbolInstance(DocWindowRecord* doc, SymbolInstanceRecord* instance, Boolean withAreas) {
    instance->drawn = 1;
    if (!IsLayerVisible(doc->layerVisible, instance->layer)) return;
    const SymbolDefRecord* def = instance->definition;
    SymbolTransform t;
    LoadSymbolTransform(doc, instance, &t);
    if (instance->selected) DrawSymbolInstanceMarks(doc, instance);
    if (def == nullptr) return;
    DrawContent(doc, t, def, withAreas);
}

void DrawSymbolInstanceMarks(DocWindowRecord* doc, const SymbolInstanceRecord* s) {
    const DrawingRecord* d = doc->drawing;
    if (d->output.outputContext != nullptr || PlotTarget(doc) != nullptr) return;
    SInt16 saved = doc->highlightMode;
    doc->highlightMode = kHighlightSelected;
    ElementPenAttributes pen{};
    SetElementPen(doc, s->layer, s->pen, &pen);
    Float64 corners[8];
    for (int i = 0; i < 4; ++i)
        corners[2 * i] = s->x + s->frame[2 * i], corners[2 * i + 1] = s->y + s->frame[2 * i + 1];
    DrawWorldQuad(doc, corners);
    Float64 five = 5 * d->view.unitsPerPixel;
    DrawWorldLine(doc, s->x - five, s->y, s->x + five, s->y);
    DrawWorldLine(doc, s->x, s->y - five, s->x, s->y + five);
    doc->highlightMode = saved;
    ResetDrawingState(doc);
}

void DrawSymbolPreview(const SymbolDefRecord* def, SInt16 cellLeft, SInt16 cellTop) {
    Float64 w = def->maxX - def->minX, h = def->maxY - def->minY;
    if (!std::isfinite(w) || w < 0) w = 0;
    if (!std::isfinite(h) || h < 0) h = 0;
    PreviewFit f{Float64(cellLeft), Float64(cellTop), def->minX, def->maxY, 1.0};
    // A definition without width or height keeps scale 1 on that side and sits centred.
    Float64 side = std::max(w, h);
    if (side > 0) f.factor = kSymbolPreviewSize / side;
    if (w >= h)
        f.top += (kSymbolPreviewSize - h * f.factor) / 2;
    else
        f.left += (kSymbolPreviewSize - w * f.factor) / 2;
    if (!std::isfinite(f.minX)) f.minX = 0;
    if (!std::isfinite(f.maxY)) f.maxY = 0;

    for (LineRecord* e = FirstOf(def->lineHead); e != nullptr; e = e->next) {
        MoveTo(f.H(e->x1), f.V(e->y1));
        LineTo(f.H(e->x2), f.V(e->y2));
    }
    for (ArcRecord* e = FirstOf(def->arcHead); e != nullptr; e = e->next) {
        Float64 r = std::fabs(e->radius);
        Rect box{f.V(e->cy + r), f.H(e->cx - r), f.V(e->cy - r), f.H(e->cx + r)};
        if (e->startAngle == 0 && e->endAngle == 360) {
            FrameOval(&box);
            continue;
        }
        // Counter-clockwise from the start is clockwise from the end; 0 at 12 o'clock.
        Float64 span = NormalizeAngle(e->endAngle - e->startAngle);
        if (span == 0) span = 360;
        FrameArc(&box, SInt16(std::lround(NormalizeAngle(90 - e->endAngle))), SInt16(std::lround(span)));
    }
    for (TextRecord* e = FirstOf(def->textHead); e != nullptr; e = e->next)
        PreviewPolygon(f, e->corners, 4, true);
    for (DimensionRecord* e = FirstOf(def->dimensionHead); e != nullptr; e = e->next) {
        const Float64 frame[8] = {e->textX,    e->textY,    e->frame[0], e->frame[1],
                                  e->frame[2], e->frame[3], e->frame[4], e->frame[5]};
        PreviewPolygon(f, frame, 4, true);
        MoveTo(f.H(e->x1), f.V(e->y1));
        LineTo(f.H(e->x2), f.V(e->y2));
    }
    for (PolylineRecord* e = FirstOf(def->polylineHead); e != nullptr; e = e->next) {
        if (e->points == nullptr) continue;
        Size room = GetHandleSize(e->points) / Size(2 * sizeof(Float64));
        PreviewPolygon(f, reinterpret_cast<const Float64*>(*e->points),
                       std::min(room, Size(std::max<SInt16>(e->pointCount, 0))), false);
    }
    for (AreaRecord* e = FirstOf(def->areaHead); e != nullptr; e = e->next) {
        PreviewOutline(f, e->outline);
        if (e->holes == nullptr || e->lastHoleIndex < 0) continue;
        Size slots = GetHandleSize(e->holes) / Size(sizeof(Handle));
        for (Size i = 0; i <= Size(e->lastHoleIndex) && i < slots; ++i)
            PreviewOutline(f, reinterpret_cast<Handle*>(*e->holes)[i]);
    }

    Str255 name;
    std::memcpy(name, def->name, size_t(std::min<UInt8>(def->name[0], 19)) + 1);
    TextFont(applFont);
    TruncateToWidth(name, 63);
    MoveTo(cellLeft, SInt16(cellTop + kSymbolPreviewSize + 11));
    DrawString(name);
}

void InstallSymbolDrawingHook() {
    gViewHooks.drawSymbolInstance = DrawInstanceHook;
}
