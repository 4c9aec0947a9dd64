// Polyline elements: the point buffer, creation, regular polygons, vertex edits and exploding.
#include "Model/Polylines.h"

#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Model/PolylineGeometry.h"
#include "Model/SpatialIndex.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Model/DrawingUnits.h"
#include "Model/SharedUtilities.h"
#include "Platform/MemoryManager.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr Size kPointSize = 16;
constexpr SInt32 kRedrawEveryPasses = 100;

// The buffer's points start after its 4-byte header, so they are not aligned for Float64: copied.
UInt8* TempPoints(const DocWindowRecord* doc) {
    Handle h = doc->drawing->toolInput.pointBuffer;
    if (h == nullptr || *h == nullptr) return nullptr;
    return reinterpret_cast<UInt8*>(*h + kTempPointHeaderSize);
}

void ReadTempPoint(const UInt8* points, SInt16 i, Float64* x, Float64* y) {
    std::memcpy(x, points + size_t(i) * kPointSize, sizeof *x);
    std::memcpy(y, points + size_t(i) * kPointSize + 8, sizeof *y);
}

Float64* Points(PolylineRecord* polyline) {
    return reinterpret_cast<Float64*>(*polyline->points);
}

// The record as it was, then the change, then the record as it is: one undo step.
template <typename Change>
Boolean EditVertices(DocWindowRecord* doc, PolylineRecord* polyline, Change change) {
    BeginUndoStep(doc);
    RecordUndoPolyline(doc, polyline, false);
    Boolean changed = change();
    if (changed) {
        RecordUndoPolyline(doc, polyline, true);
        SpatialIndexStale(doc);
        MarkDocumentChanged(doc);
        RequestRedraw(doc);
    }
    EndUndoStep(doc);
    return changed;
}

void CopyAttributes(const PolylineRecord* from, SInt16* group, SInt16* layer, SInt16* pen, SInt16* lineType,
                    Float64* scaleFactor, ElementPenAttributes* penBlock) {
    *group = from->group, *layer = from->layer, *pen = from->pen, *lineType = from->lineType;
    *scaleFactor = from->scaleFactor;
    *penBlock = from->penBlock;
}

PolylineRecord* FirstSelected(DocWindowRecord* doc) {
    for (PolylineRecord* p = doc->polylineHead->next; p != nullptr; p = p->next)
        if (p->selected) return p;
    return nullptr;
}

// A new polyline after the last one with the current attributes, holding the points (which it owns
// from then on), drawn when asked and journalled as added in a step of its own; null, with the points
// released, without memory.
template <typename Fill>
PolylineRecord* AppendPolyline(DocWindowRecord* doc, SInt16 kind, Handle points, SInt16 count, Boolean draw,
                               Fill fill) {
    PolylineRecord* last = nullptr;
    LastPolyline(doc, &last);
    PolylineRecord* polyline = NewPolylineElement(doc, &last->next);
    if (polyline == nullptr) {
        DisposeHandle(points);
        return nullptr;
    }
    const DocSettings* s = doc->settings;
    polyline->group = s->currentGroup;
    polyline->layer = s->currentLayer;
    polyline->pen = s->currentPen;
    polyline->lineType = s->currentLineType;
    polyline->kind = kind;
    polyline->optionColor = s->currentColor;
    polyline->pictureWord = kind == kPolylinePicture ? -1 : 0;
    polyline->pointCount = count;
    polyline->points = points;
    fill(polyline);
    SpatialIndexAppended(doc, kPolylineElement, polyline);
    MarkDocumentChanged(doc);
    if (draw) gDocumentHooks.drawElement(doc, kPolylineElement, polyline);
    BeginUndoStep(doc);
    RecordUndoPolyline(doc, polyline, true);
    EndUndoStep(doc);
    return polyline;
}

} // namespace

Boolean AppendTempPoint(DocWindowRecord* doc) {
    ToolInputState& in = doc->drawing->toolInput;
    Handle h = in.pointBuffer;
    if (h == nullptr) return false;
    if (in.tempPointCount >= kMaxTempPoints || in.tempPointCount < 0) {
        AppendLogCString(doc, "Point list: a polyline holds at most 32767 points; the point was not added.");
        return false;
    }
    SInt16 count = SInt16(in.tempPointCount + 1);
    Size needed = kTempPointHeaderSize + Size(count) * kPointSize;
    if (GetHandleSize(h) < needed) {
        SetHandleSize(h, needed);
        if (MemError() != noErr || GetHandleSize(h) < needed) return false;
    }
    in.tempPointCount = count;
    UInt8* p = TempPoints(doc) + size_t(count - 1) * kPointSize;
    std::memcpy(p, &in.cursorX, 8);
    std::memcpy(p + 8, &in.cursorY, 8);
    return true;
}

void EmptyTempPoints(DocWindowRecord* doc) {
    doc->drawing->toolInput.tempPointCount = 0;
}

SInt16 TempPointCount(const DocWindowRecord* doc) {
    return doc->drawing->toolInput.tempPointCount;
}

Boolean GetTempPoint(const DocWindowRecord* doc, SInt16 i, Float64* x, Float64* y) {
    const UInt8* p = TempPoints(doc);
    if (p == nullptr || i < 0 || i >= TempPointCount(doc)) return false;
    ReadTempPoint(p, i, x, y);
    return true;
}

Boolean CreatePolylineElement(DocWindowRecord* doc, PolylineRecord** slot, SInt16 kind, Boolean draw,
                              Float64 a1, Float64 a2) {
    *slot = nullptr;
    SInt16 count = TempPointCount(doc);
    const UInt8* src = TempPoints(doc);
    if (count < 1 || src == nullptr) return false;
    std::vector<Float64> xy;
    xy.reserve(size_t(count) * 2);
    for (SInt16 i = 0; i < count; ++i) {
        Float64 x = 0, y = 0;
        ReadTempPoint(src, i, &x, &y);
        if (!xy.empty() && xy[xy.size() - 2] == x && xy.back() == y) continue;
        xy.push_back(x), xy.push_back(y);
    }
    Handle points = NewHandle(Size(xy.size()) * 8);
    if (points == nullptr) return false;
    std::memcpy(*points, xy.data(), xy.size() * 8);

    PolylineRecord* polyline =
        AppendPolyline(doc, kind, points, SInt16(xy.size() / 2), draw, [&](PolylineRecord* p) {
            if (kind == kPolylineEllipse) p->params[0] = a1, p->params[1] = a2;
            if (kind == kPolylineRoundedRect)
                p->params[0] = doc->drawing->toolInput.cornerRadius * doc->settings->drawingScale *
                               UnitToMillimetres(doc);
        });
    if (polyline == nullptr) return false;
    *slot = polyline;
    return true;
}

Boolean InsertPictureElement(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                             Handle picture) {
    const Float64 xy[4] = {x1, y1, x2, y2};
    if (picture == nullptr || x1 == x2 || y1 == y2) return false;
    for (Float64 v : xy)
        if (!std::isfinite(v)) return false;
    Handle points = nullptr;
    if (PtrToHand(xy, &points, sizeof xy) != noErr) return false;
    PolylineRecord* polyline = AppendPolyline(doc, kPolylinePicture, points, 2, true,
                                              [&](PolylineRecord* p) { p->picture = picture; });
    return polyline != nullptr;
}

Boolean BuildPolylineFromPoints(DocWindowRecord* doc, PolylineRecord** slot, SInt16 kind, Boolean draw,
                                Float64 a1, Float64 a2) {
    Boolean made = CreatePolylineElement(doc, slot, kind, draw, a1, a2);
    EmptyTempPoints(doc);
    return made;
}

Boolean CreateRegularPolygon(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, SInt16 n,
                             Float64 startAngle) {
    if (n < 1) return false;
    EmptyTempPoints(doc);
    ToolInputState& in = doc->drawing->toolInput;
    Float64 savedX = in.cursorX, savedY = in.cursorY;
    for (SInt16 i = 0; i <= n; ++i) {
        Float64 theta = ((i % n) * 360.0 / n + startAngle) * kDegreesToRadians;
        in.cursorX = cx + radius * std::cos(theta);
        in.cursorY = cy + radius * std::sin(theta);
        AppendTempPoint(doc);
    }
    in.cursorX = savedX, in.cursorY = savedY;
    PolylineRecord* made = nullptr;
    return BuildPolylineFromPoints(doc, &made, kPolylineSegments, true, 0, 0);
}

Boolean MovePolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 i, Float64 x, Float64 y) {
    if (PolylinePoints(polyline) == nullptr || i < 0 || i >= polyline->pointCount) return false;
    return EditVertices(doc, polyline, [&] {
        Points(polyline)[2 * i] = x;
        Points(polyline)[2 * i + 1] = y;
        return true;
    });
}

Boolean DeletePolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 i) {
    if (PolylinePoints(polyline) == nullptr || i < 0 || i >= polyline->pointCount) return false;
    if (polyline->pointCount <= 1) return false;
    return EditVertices(doc, polyline, [&] {
        Float64* p = Points(polyline);
        SInt16 n = polyline->pointCount;
        std::memmove(p + 2 * i, p + 2 * (i + 1), size_t(n - i - 1) * kPointSize);
        polyline->pointCount = SInt16(n - 1);
        SetHandleSize(polyline->points, Size(n - 1) * kPointSize); // shrinking cannot fail
        return true;
    });
}

Boolean InsertPolylineVertex(DocWindowRecord* doc, PolylineRecord* polyline, SInt16 i, Float64 x, Float64 y) {
    if (PolylinePoints(polyline) == nullptr || i < 0 || i > polyline->pointCount) return false;
    if (polyline->pointCount >= kMaxTempPoints) return false;
    SInt16 n = polyline->pointCount;
    SetHandleSize(polyline->points, Size(n + 1) * kPointSize);
    if (MemError() != noErr || GetHandleSize(polyline->points) < Size(n + 1) * kPointSize) return false;
    return EditVertices(doc, polyline, [&] {
        Float64* p = Points(polyline);
        std::memmove(p + 2 * (i + 1), p + 2 * i, size_t(n - i) * kPointSize);
        p[2 * i] = x, p[2 * i + 1] = y;
        polyline->pointCount = SInt16(n + 1);
        return true;
    });
}

Boolean ExplodePolyline(DocWindowRecord* doc, PolylineRecord* polyline) {
    std::vector<PolylinePiece> pieces;
    if (!PolylinePieces(doc, polyline, &pieces)) return false;
    SeekLastLine(doc);
    SeekLastArc(doc);
    for (const PolylinePiece& piece : pieces) {
        if (piece.isArc) {
            ArcRecord* arc = AppendArcAtCursor(doc, piece.cx, piece.cy, piece.radius, piece.startAngle,
                                               piece.endAngle, false);
            if (arc == nullptr) continue;
            CopyAttributes(polyline, &arc->group, &arc->layer, &arc->pen, &arc->lineType, &arc->scaleFactor,
                           &arc->penBlock);
            RecordUndoArc(doc, arc, true);
        } else {
            LineRecord* line = AppendLineAtCursor(doc, piece.x1, piece.y1, piece.x2, piece.y2, false);
            if (line == nullptr) continue;
            CopyAttributes(polyline, &line->group, &line->layer, &line->pen, &line->lineType,
                           &line->scaleFactor, &line->penBlock);
            line->flags = 0;
            RecordUndoLine(doc, line, true);
        }
    }
    RemovePolyline(doc, polyline);
    RequestRedraw(doc);
    return true;
}

SInt32 ExplodeSelectedPolylines(DocWindowRecord* doc) {
    SInt32 selected = 0;
    for (PolylineRecord* p = doc->polylineHead->next; p != nullptr; p = p->next)
        if (p->selected) ++selected;
    if (selected == 0) return 0;
    DocSettings* s = doc->settings;
    Boolean undoWasOn = s->undoOn;
    if (selected >= kExplodeAlertThreshold && undoWasOn &&
        ShowAlert(kExplodeAlert) == kExplodeAlertWithoutUndo)
        s->undoOn = 0;
    ShowWatchCursor();
    BeginUndoStep(doc);
    SInt32 exploded = 0, passes = 0;
    Boolean skipped = false, stopped = false;
    while (PolylineRecord* p = FirstSelected(doc)) {
        if (p->kind == kPolylineUnexplodable) {
            stopped = true;
            break;
        }
        if (ExplodePolyline(doc, p))
            ++exploded;
        else {
            p->selected = 0; // kept as it is, so the walk moves on
            skipped = true;
        }
        if (++passes % kRedrawEveryPasses == 0) gDocumentHooks.redrawWindow(doc);
    }
    EndUndoStep(doc);
    // Steps journalled before cannot replay over changes that were not: the history starts afresh.
    if (undoWasOn && !s->undoOn) ResetUndoJournal(doc);
    s->undoOn = undoWasOn;
    SetCursorById(kArrowCursorId);
    if (stopped || skipped) ShowErrorStr128(kCannotExplodeMessage);
    RequestRedraw(doc);
    return exploded;
}
