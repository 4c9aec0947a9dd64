// Snapping of the cursor point: grid, intersections, element points, the fixed point and typed
// coordinates.
#include "Tools/Snapping.h"

#include "Tools/CommandField.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Model/DocumentRecords.h"
#include "Model/DrawingUnits.h"
#include "Model/GeometryKernel.h"
#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"
#include "Tools/Picking.h"
#include "Dialogs/ToolDialogServices.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <cmath>

namespace {

constexpr SInt16 kScalesDifferMessage = 49;

Float64 LengthFactor(const DocWindowRecord* doc) {
    return doc->settings->drawingScale * UnitToMillimetres(doc);
}

bool PolarTyping(const DocWindowRecord* doc) {
    SInt16 mode = doc->settings->coordinateDisplayMode;
    return mode == 1 || mode == 3;
}

void SetCursor(DocWindowRecord* doc, Float64 x, Float64 y) {
    doc->drawing->toolInput.cursorX = x;
    doc->drawing->toolInput.cursorY = y;
}

void ListCursor(DocWindowRecord* doc) {
    ListPointCoordinates(doc, doc->drawing->toolInput.cursorX, doc->drawing->toolInput.cursorY);
}

// A picked element kept for the second click: a copy when it is the work record that the next
// pick inside a symbol definition overwrites.
LineRecord* KeepPick(DrawingRecord* d, LineRecord* picked) {
    if (picked != d->toolInput.workLines[0]) return picked;
    if (d->toolInput.workLines[1] == nullptr) d->toolInput.workLines[1] = NewLineRecord();
    if (d->toolInput.workLines[1] != nullptr) *d->toolInput.workLines[1] = *picked;
    return d->toolInput.workLines[1];
}
ArcRecord* KeepPick(DrawingRecord* d, ArcRecord* picked) {
    if (picked != d->toolInput.workArcs[0]) return picked;
    if (d->toolInput.workArcs[1] == nullptr) d->toolInput.workArcs[1] = NewArcRecord();
    if (d->toolInput.workArcs[1] != nullptr) *d->toolInput.workArcs[1] = *picked;
    return d->toolInput.workArcs[1];
}

} // namespace

Float64 RoundToGridMultiple(Float64 value, Float64 spacing) {
    if (!(spacing > 0)) return value;
    // A tie (up to the last bits of the division) goes away from zero, so a point and its mirror
    // image snap to mirrored grid points.
    Float64 steps = std::floor(std::fabs(value) / spacing + 0.5 + 1e-9);
    return std::copysign(steps * spacing, value);
}

void SnapToGrid(DocWindowRecord* doc, Float64* x, Float64* y) {
    const DocSettings* s = doc->settings;
    if (!s->gridVisible) return;
    Float64 k = LengthFactor(doc);
    Float64 sx = s->gridX * k, sy = s->gridY * k;
    Float64 a1 = s->gridAngleX, a2 = s->gridAngleY;
    if (a1 == 0 && a2 == 90) {
        *x = RoundToGridMultiple(*x, sx);
        *y = RoundToGridMultiple(*y, sy);
        return;
    }
    // One grid line of each family nearest the point; the snapped point is where they cross.
    auto familyLine = [&](Float64 angle, Float64 spacing, Float64 line[4]) {
        Float64 r = angle * kDegreesToRadians, c = std::cos(r), sn = std::sin(r);
        Float64 v = -*x * sn + *y * c;
        Float64 t = RoundToGridMultiple(v, spacing);
        line[0] = -t * sn, line[1] = t * c;
        line[2] = 100 * c - t * sn, line[3] = 100 * sn + t * c;
    };
    Float64 l1[4], l2[4];
    familyLine(a1, sx, l1);
    familyLine(a2, sy, l2);
    Float64 px, py;
    if (IntersectLines(l1[0], l1[1], l1[2], l1[3], l2[0], l2[1], l2[2], l2[3], px, py)) {
        *x = px;
        *y = py;
    }
}

Boolean TypedPoint(DocWindowRecord* doc, Float64* x, Float64* y) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    ToolStateRecord* t = ToolStateOf(doc);
    if (f == nullptr || t == nullptr || f->valueCount < 2) return false;
    Float64 k = LengthFactor(doc);
    Float64 px, py;
    bool offsetX, offsetY;
    if (PolarTyping(doc)) {
        Float64 r = f->values[0] * k, a = f->values[1] * kDegreesToRadians;
        px = r * std::cos(a);
        py = r * std::sin(a);
        offsetX = offsetY = f->relative[0] || f->relative[1];
    } else {
        px = f->values[0] * k;
        py = f->values[1] * k;
        bool setting = doc->settings->typedCoordsRelative != 0;
        offsetX = setting || f->relative[0];
        offsetY = setting || f->relative[1];
    }
    if (t->referenceValid) {
        if (offsetX) px += t->referenceX;
        if (offsetY) py += t->referenceY;
    }
    *x = px;
    *y = py;
    return true;
}

Boolean SnapCursor(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    ToolStateRecord* t = ToolStateOf(doc);
    if (f == nullptr || t == nullptr) return false;
    DrawingRecord* d = doc->drawing;
    bool ok = false;
    Float64 x, y;
    if (TypedPoint(doc, &x, &y)) {
        SetCursor(doc, x, y);
        ListCursor(doc);
        ShowToolPrompt(doc);
        ok = true;
    } else {
        switch (doc->settings->snapMode) {
        case kSnapGrid:
            // The side click of the parallel at a distance is taken as it is.
            if (!(d->toolInput.pendingCommand == 0 && CurrentToolGroup() == 0 && CurrentTool() == 1 &&
                  d->toolInput.pendingStep == 2))
                SnapToGrid(doc, &d->toolInput.cursorX, &d->toolInput.cursorY);
            ListCursor(doc);
            ok = true;
            break;
        case kSnapIntersection:
            ok = SnapToIntersection(doc);
            if (ok) ListCursor(doc);
            break;
        case kSnapElementPoint:
            ok = SnapToElementPoint(doc);
            if (ok) ListCursor(doc);
            break;
        case kSnapFixedPoint:
            if (t->fixedPointPresent) {
                SetCursor(doc, t->fixedX, t->fixedY);
                t->fixedPointPresent = false;
                RequestRedraw(doc);
                ok = true;
            }
            break;
        default:
            break;
        }
    }
    if (!ok) return false;
    DrawCurrentPointMark(doc);
    if (!t->referenceValid) {
        t->referenceValid = true;
        t->referenceX = d->toolInput.cursorX;
        t->referenceY = d->toolInput.cursorY;
    }
    return true;
}

Boolean SnapToIntersection(DocWindowRecord* doc) {
    ToolStateRecord* t = ToolStateOf(doc);
    DrawingRecord* d = doc->drawing;
    if (!t->isectFirstPicked) {
        if (PickLine(doc, kPickToggle, true, true, nullptr)) {
            t->isectLines[0] = KeepPick(d, d->cursors.lineCursor);
            t->lastPickedScale = d->cursors.lineCursor->scaleFactor;
            t->isectPairCode = 1;
        } else if (PickArc(doc, kPickToggle, true, true, nullptr)) {
            t->isectArcs[0] = KeepPick(d, d->cursors.arcCursor);
            t->lastPickedScale = d->cursors.arcCursor->scaleFactor;
            t->isectClickX = d->toolInput.cursorX;
            t->isectClickY = d->toolInput.cursorY;
            t->isectPairCode = 2;
        } else {
            return false;
        }
        t->isectFirstPicked = true;
        return false;
    }
    SInt16 code = t->isectPairCode;
    Float64 scale;
    if (PickLine(doc, kPickToggle, true, true, nullptr)) {
        t->isectLines[1] = d->cursors.lineCursor;
        scale = d->cursors.lineCursor->scaleFactor;
        code = SInt16(code * 10 + 1);
    } else if (PickArc(doc, kPickToggle, true, true, nullptr)) {
        t->isectArcs[1] = d->cursors.arcCursor;
        scale = d->cursors.arcCursor->scaleFactor;
        code = SInt16(code * 10 + 2);
        if (code == 12) {
            t->isectClickX = d->toolInput.cursorX;
            t->isectClickY = d->toolInput.cursorY;
        }
    } else {
        return false;
    }
    if (!NearlyEqualRelative(t->lastPickedScale, scale)) {
        ShowErrorStr128(kScalesDifferMessage);
        DeselectAll(doc, false);
        return false;
    }
    // Deselecting clears the intersection state: take what it holds first.
    LineRecord* l1 = t->isectLines[0];
    LineRecord* l2 = t->isectLines[1];
    ArcRecord* a1 = t->isectArcs[0];
    ArcRecord* a2 = t->isectArcs[1];
    Float64 clickX = t->isectClickX, clickY = t->isectClickY;
    WaitButtonState(false);
    DeselectAll(doc, false);
    Float64 keepX = d->toolInput.cursorX, keepY = d->toolInput.cursorY;
    d->toolInput.cursorX = clickX;
    d->toolInput.cursorY = clickY;
    bool ok = false;
    switch (code) {
    case 11:
        ok = IntersectLineRecords(doc, l1, l2);
        break;
    case 12:
        ok = SnapLineCircle(doc, l1, a2);
        break;
    case 21:
        ok = SnapLineCircle(doc, l2, a1);
        break;
    case 22:
        ok = SnapCircleCircle(doc, a1, a2);
        break;
    default:
        break;
    }
    if (!ok) {
        d->toolInput.cursorX = keepX;
        d->toolInput.cursorY = keepY;
    }
    return ok;
}

Boolean IntersectLineRecords(DocWindowRecord* doc, const LineRecord* a, const LineRecord* b) {
    Float64 x, y;
    if (a == nullptr || b == nullptr || !IntersectLineElements(a, b, x, y)) return false;
    SetCursor(doc, x, y);
    return true;
}

// The intersection nearer the remembered click point, which the cursor holds when these are called.
Boolean SnapLineCircle(DocWindowRecord* doc, const LineRecord* line, const ArcRecord* arc) {
    Float64 xa, ya, xb, yb, x, y;
    if (line == nullptr || arc == nullptr || !IntersectLineWithCircleElement(line, arc, xa, ya, xb, yb))
        return false;
    NearerPoint(xa, ya, xb, yb, doc->drawing->toolInput.cursorX, doc->drawing->toolInput.cursorY, &x, &y);
    SetCursor(doc, x, y);
    return true;
}

Boolean SnapCircleCircle(DocWindowRecord* doc, const ArcRecord* a, const ArcRecord* b) {
    if (a == nullptr || b == nullptr) return false;
    if (a == b || (a->cx == b->cx && a->cy == b->cy && a->radius == b->radius)) {
        SetCursor(doc, a->cx, a->cy);
        return true;
    }
    Float64 xa, ya, xb, yb, x, y;
    if (!IntersectCircleElements(a, b, xa, ya, xb, yb)) return false;
    NearerPoint(xa, ya, xb, yb, doc->drawing->toolInput.cursorX, doc->drawing->toolInput.cursorY, &x, &y);
    SetCursor(doc, x, y);
    return true;
}

void SnapToLinePoint(DocWindowRecord* doc, const LineRecord* line) {
    DrawingRecord* d = doc->drawing;
    Float64 dist = PointDistance(line->x1, line->y1, d->toolInput.cursorX, d->toolInput.cursorY);
    Float64 length = PointDistance(line->x1, line->y1, line->x2, line->y2);
    if (dist < length / 3)
        SetCursor(doc, line->x1, line->y1);
    else if (dist > 2 * length / 3)
        SetCursor(doc, line->x2, line->y2);
    else
        SetCursor(doc, (line->x1 + line->x2) / 2, (line->y1 + line->y2) / 2);
}

void SnapToArcPoint(DocWindowRecord* doc, const ArcRecord* arc) {
    DrawingRecord* d = doc->drawing;
    if (arc->startAngle == 0 && arc->endAngle == 360) {
        SetCursor(doc, arc->cx, arc->cy);
        return;
    }
    Float64 angle =
        Atan2Positive(d->toolInput.cursorY - arc->cy, d->toolInput.cursorX - arc->cx) / kDegreesToRadians;
    Float64 start = arc->startAngle, end = arc->endAngle;
    if (end < start) {
        end += 360;
        if (angle < start) angle += 360;
    }
    Float64 sweep = end - start, along = angle - start;
    Float64 at = along < sweep / 3 ? start : along > 2 * sweep / 3 ? end : (start + end) / 2;
    Float64 x, y;
    PolarPoint(arc->cx, arc->cy, arc->radius, at, &x, &y);
    SetCursor(doc, x, y);
}

Boolean SnapToElementPoint(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    ToolStateRecord* t = ToolStateOf(doc);
    if (PickLine(doc, kPickFind, true, false, nullptr)) {
        t->lastPickedScale = d->cursors.lineCursor->scaleFactor;
        SnapToLinePoint(doc, d->cursors.lineCursor);
        return true;
    }
    if (PickArc(doc, kPickFind, true, false, nullptr)) {
        t->lastPickedScale = d->cursors.arcCursor->scaleFactor;
        SnapToArcPoint(doc, d->cursors.arcCursor);
        return true;
    }
    if (PickText(doc, kPickFind, false)) {
        const TextRecord* text = d->cursors.textCursor;
        if (t->textSecondPoint)
            SetCursor(doc, text->x2, text->y2);
        else
            SetCursor(doc, text->x, text->y);
        return true;
    }
    if (PickSymbolInstance(doc, kPickFind, false, true, nullptr)) {
        SetCursor(doc, d->cursors.instanceCursor->x, d->cursors.instanceCursor->y);
        return true;
    }
    if (PickPolyline(doc, kPickFind, kWantAllPolylines, false)) {
        const PolylineRecord* p = d->cursors.polylineCursor;
        if (p->kind != kPolylineEllipse || p->points == nullptr || p->pointCount < 2 ||
            GetHandleSize(p->points) < Size(4 * sizeof(Float64)))
            return false;
        const Float64* xy = reinterpret_cast<const Float64*>(*p->points);
        SetCursor(doc, (xy[0] + xy[2]) / 2, (xy[1] + xy[3]) / 2);
        return true;
    }
    return false;
}
