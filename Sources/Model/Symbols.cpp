// Symbol definitions and instances: the instance transform, frames, making a definition from the
// selection, placing, exploding, redefining and the name order of the definitions.
#include "Model/Symbols.h"

#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Model/SpatialIndex.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Model/DrawingUnits.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MemoryManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

Float64 Finite(Float64 v, Float64 otherwise) {
    return std::isfinite(v) ? v : otherwise;
}

// A scale factor an element or instance can be divided by or multiplied with: a zero, negative,
// infinite or NaN one from a file counts as one drawing unit per millimetre of the unit.
Float64 UsableFactor(const DocWindowRecord* doc, Float64 factor) {
    return std::isfinite(factor) && factor > 0 ? factor : UnitDivisor(doc);
}

Float64 InstanceAngle(Float64 angle) {
    return NormalizeAngle(Finite(angle, 0.0));
}

template <typename T> T* FirstOf(T* head) {
    return head ? head->next : nullptr;
}

// The transformed point p relative to the placed anchor a (both definition points), as texts are
// placed: turned by the angle and scaled by the absolute scales, never mirrored.
void PlaceRigid(const SymbolTransform& t, Float64 ax, Float64 ay, Float64 placedAx, Float64 placedAy,
                Float64* x, Float64* y) {
    Float64 u = (*x - ax) * std::fabs(t.scaleX), v = (*y - ay) * std::fabs(t.scaleY);
    RotateVectorInPlace(&u, &v, t.sine, t.cosine);
    *x = placedAx + u, *y = placedAy + v;
}

// The scale a text's height takes: the length of its up direction once scaled.
Float64 UpScale(const SymbolTransform& t, Float64 angleDegrees) {
    Float64 a = angleDegrees * kDegreesToRadians;
    return std::hypot(std::fabs(t.scaleX) * std::sin(a), std::fabs(t.scaleY) * std::cos(a));
}

void TransformPoints(const SymbolTransform& t, Float64* xy, Size count) {
    for (Size i = 0; i < count; ++i)
        SymbolTransformPoint(t, &xy[2 * i], &xy[2 * i + 1]);
}

// Transforms an outline in place: an ellipse contour moves its centre and scales its radii.
void TransformOutline(const SymbolTransform& t, Handle outline) {
    if (outline == nullptr || GetHandleSize(outline) < Size(kOutlineHeaderSize)) return;
    SInt16 last = OutlineLastIndex(outline);
    Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    Float64* p = OutlinePoints(outline);
    if (last < 0) {
        if (room < 1) return;
        SymbolTransformPoint(t, &p[0], &p[1]);
        if (room >= 2) p[2] *= std::fabs(t.scaleX), p[3] *= std::fabs(t.scaleY);
        return;
    }
    TransformPoints(t, p, std::min(Size(last) + 1, room));
}

void ExtendBoxByOutline(Handle outline, Float64 box[4], bool* any) {
    if (outline == nullptr || GetHandleSize(outline) < Size(kOutlineHeaderSize)) return;
    SInt16 last = OutlineLastIndex(outline);
    Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    const Float64* p = OutlinePoints(outline);
    auto add = [&](Float64 x, Float64 y) {
        if (!*any) box[0] = box[2] = x, box[1] = box[3] = y;
        box[0] = std::min(box[0], x), box[2] = std::max(box[2], x);
        box[1] = std::min(box[1], y), box[3] = std::max(box[3], y);
        *any = true;
    };
    if (last < 0) {
        if (room < 2) return;
        add(p[0] - std::fabs(p[2]), p[1] - std::fabs(p[3]));
        add(p[0] + std::fabs(p[2]), p[1] + std::fabs(p[3]));
        return;
    }
    for (Size i = 0; i <= Size(last) && i < room; ++i)
        add(p[2 * i], p[2 * i + 1]);
}

// Copies of an area's outline and holes, so that the copy can be changed.
bool CopyAreaData(const AreaRecord* in, AreaRecord* out) {
    AreaRecord* copy = CloneAreaRecord(in);
    if (copy == nullptr) return false;
    out->outline = copy->outline;
    out->holes = copy->holes;
    copy->outline = copy->holes = nullptr;
    copy->lastHoleIndex = -1;
    DisposeAreaRecord(&copy);
    return true;
}

Size HoleCount(const AreaRecord* area) {
    if (area->holes == nullptr || area->lastHoleIndex < 0) return 0;
    return std::min(Size(area->lastHoleIndex) + 1, GetHandleSize(area->holes) / Size(sizeof(Handle)));
}

// ---- Making a definition: every point of a moved element becomes (value - base) * k.

struct Conversion {
    Float64 baseX, baseY, k;
    Float64 box[4];
    bool any = false;

    void Point(Float64* x, Float64* y) {
        *x = (*x - baseX) * k, *y = (*y - baseY) * k;
        Extend(*x, *y);
    }
    void Moved(Float64* x, Float64* y) const { *x = (*x - baseX) * k, *y = (*y - baseY) * k; }
    void Extend(Float64 x, Float64 y) {
        if (!any) box[0] = box[2] = x, box[1] = box[3] = y;
        box[0] = std::min(box[0], x), box[2] = std::max(box[2], x);
        box[1] = std::min(box[1], y), box[3] = std::max(box[3], y);
        any = true;
    }
};

void ConvertArc(Conversion* c, ArcRecord* a) {
    c->Moved(&a->cx, &a->cy);
    a->radius *= c->k;
    Float64 r = std::fabs(a->radius);
    bool full = a->startAngle == 0 && a->endAngle == 360;
    if (full) {
        c->Extend(a->cx - r, a->cy), c->Extend(a->cx + r, a->cy);
        c->Extend(a->cx, a->cy - r), c->Extend(a->cx, a->cy + r);
        return;
    }
    Float64 start = NormalizeAngle(a->startAngle), end = NormalizeAngle(a->endAngle);
    Float64 x, y;
    PolarPoint(a->cx, a->cy, r, start, &x, &y);
    c->Extend(x, y);
    PolarPoint(a->cx, a->cy, r, end, &x, &y);
    c->Extend(x, y);
    Float64 span = end >= start ? end - start : end + 360 - start;
    for (int q = 0; q < 4; ++q) {
        Float64 from = NormalizeAngle(q * 90.0 - start);
        if (from > 0 && from < span) {
            PolarPoint(a->cx, a->cy, r, q * 90.0, &x, &y);
            c->Extend(x, y);
        }
    }
}

void ConvertText(Conversion* c, TextRecord* t) {
    c->Moved(&t->x, &t->y);
    c->Moved(&t->x2, &t->y2);
    for (int i = 0; i < 4; ++i)
        c->Point(&t->corners[2 * i], &t->corners[2 * i + 1]);
    t->textHeight *= c->k;
    t->lineSpacing *= c->k;
    t->frameDistance *= c->k;
    t->leaderEndSize *= c->k;
    c->Extend(t->x, t->y);
}

void ConvertDimension(Conversion* c, DimensionRecord* m) {
    c->Point(&m->x1, &m->y1);
    c->Point(&m->x2, &m->y2);
    if (m->kind == 3 || m->kind == 4) m->auxValue *= c->k;
    c->Point(&m->auxX, &m->auxY);
    c->Point(&m->textX, &m->textY);
    for (int i = 0; i < 3; ++i)
        c->Point(&m->frame[2 * i], &m->frame[2 * i + 1]);
    m->textHeight *= c->k;
}

void ConvertPolyline(Conversion* c, PolylineRecord* p) {
    if (p->points == nullptr) return;
    Size room = GetHandleSize(p->points) / Size(2 * sizeof(Float64));
    Float64* xy = reinterpret_cast<Float64*>(*p->points);
    for (Size i = 0; i < room && i < Size(std::max<SInt16>(p->pointCount, 0)); ++i)
        c->Point(&xy[2 * i], &xy[2 * i + 1]);
    if (p->kind == kPolylineRoundedRect) p->params[0] *= c->k;
}

void ConvertOutline(Conversion* c, Handle outline) {
    if (outline == nullptr || GetHandleSize(outline) < Size(kOutlineHeaderSize)) return;
    SInt16 last = OutlineLastIndex(outline);
    Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    Float64* p = OutlinePoints(outline);
    if (last < 0) {
        if (room < 2) return;
        c->Moved(&p[0], &p[1]);
        p[2] *= c->k, p[3] *= c->k;
        c->Extend(p[0] - std::fabs(p[2]), p[1] - std::fabs(p[3]));
        c->Extend(p[0] + std::fabs(p[2]), p[1] + std::fabs(p[3]));
        return;
    }
    for (Size i = 0; i <= Size(last) && i < room; ++i)
        c->Point(&p[2 * i], &p[2 * i + 1]);
}

void ConvertArea(Conversion* c, AreaRecord* a) {
    ConvertOutline(c, a->outline);
    Size holes = HoleCount(a);
    for (Size i = 0; i < holes; ++i)
        ConvertOutline(c, reinterpret_cast<Handle*>(*a->holes)[i]);
    c->Moved(&a->minX, &a->minY);
    c->Moved(&a->maxX, &a->maxY);
}

void Convert(Conversion* c, LineRecord* e) {
    c->Point(&e->x1, &e->y1);
    c->Point(&e->x2, &e->y2);
}
void Convert(Conversion* c, ArcRecord* e) {
    ConvertArc(c, e);
}
void Convert(Conversion* c, TextRecord* e) {
    ConvertText(c, e);
}
void Convert(Conversion* c, DimensionRecord* e) {
    ConvertDimension(c, e);
}
void Convert(Conversion* c, PolylineRecord* e) {
    ConvertPolyline(c, e);
}
void Convert(Conversion* c, AreaRecord* e) {
    ConvertArea(c, e);
}

void Journal(DocWindowRecord* doc, const LineRecord* e) {
    RecordUndoLine(doc, e, false);
}
void Journal(DocWindowRecord* doc, const ArcRecord* e) {
    RecordUndoArc(doc, e, false);
}
void Journal(DocWindowRecord* doc, const TextRecord* e) {
    RecordUndoText(doc, e, false);
}
void Journal(DocWindowRecord* doc, const DimensionRecord* e) {
    RecordUndoDimension(doc, e, false);
}
void Journal(DocWindowRecord* doc, const PolylineRecord* e) {
    RecordUndoPolyline(doc, e, false);
}
void Journal(DocWindowRecord* doc, const AreaRecord* e) {
    RecordUndoArea(doc, e, false);
}

// Moves the selected elements of one list behind the definition's head of that kind, converted.
// lastFactor receives the (usable) scale factor of the last element moved.
template <typename T>
bool MoveSelected(DocWindowRecord* doc, T* docHead, T* defHead, Float64 baseX, Float64 baseY, Conversion* c,
                  Float64* lastFactor) {
    if (docHead == nullptr || defHead == nullptr) return false;
    T* tail = defHead;
    while (tail->next != nullptr)
        tail = tail->next;
    bool moved = false;
    Float64 units = UnitDivisor(doc);
    for (T* before = docHead; before->next != nullptr;) {
        T* e = before->next;
        if (!e->selected) {
            before = e;
            continue;
        }
        Journal(doc, e);
        before->next = e->next;
        e->next = nullptr;
        tail->next = e;
        tail = e;
        Float64 f = UsableFactor(doc, e->scaleFactor);
        c->baseX = baseX, c->baseY = baseY, c->k = units / f;
        Convert(c, e);
        e->scaleFactor = 1.0;
        e->selected = 0;
        *lastFactor = f;
        moved = true;
    }
    return moved;
}

void ResetCursors(DocWindowRecord* doc) {
    ListWalkCursors& k = doc->drawing->cursors;
    k.lineCursor = nullptr, k.arcCursor = nullptr, k.textCursor = nullptr, k.dimensionCursor = nullptr;
    k.polylineCursor = nullptr, k.areaCursor = nullptr;
}

SymbolInstanceRecord* AppendInstance(DocWindowRecord* doc, Float64 x, Float64 y, Float64 angle,
                                     Float64 xScale, Float64 yScale, SymbolDefRecord* def, Float64 factor) {
    if (def == nullptr || doc->instanceHead == nullptr) return nullptr;
    SymbolInstanceRecord* tail = doc->instanceHead;
    while (tail->next != nullptr)
        tail = tail->next;
    SymbolInstanceRecord* s = NewSymbolInstanceRecord();
    if (s == nullptr) return nullptr;
    const DocSettings* settings = doc->settings;
    s->layer = settings->currentLayer;
    s->group = settings->currentGroup;
    s->pen = settings->currentPen;
    s->x = x, s->y = y;
    s->angle = InstanceAngle(angle);
    s->xScale = Finite(xScale, 1.0), s->yScale = Finite(yScale, 1.0);
    s->scaleFactor = UsableFactor(doc, factor);
    s->definition = def;
    ComputeInstanceFrame(doc, s);
    tail->next = s;
    doc->drawing->cursors.instanceCursor = s;
    SpatialIndexAppended(doc, kSymbolInstanceElement, s);
    MarkDocumentChanged(doc);
    RecordUndoSymbolInstance(doc, s, true);
    return s;
}

// A definition's elements carry the definition's number once the drawing was saved (a negative
// group, which a reader takes for the start of a definition): a copy given to the drawing takes
// the instance's key instead.
template <typename T, typename Place>
void ExplodeList(DocWindowRecord* doc, T* defHead, T* docHead, SInt16 key, Place place) {
    if (defHead == nullptr || docHead == nullptr) return;
    T* tail = docHead;
    while (tail->next != nullptr)
        tail = tail->next;
    for (T* e = defHead->next; e != nullptr; e = e->next) {
        T* copy = place(e);
        if (copy == nullptr) {
            ShowOutOfMemoryAlert();
            return;
        }
        copy->next = nullptr;
        copy->selected = 0;
        if (copy->group < 0) copy->group = key;
        RecordUndoElement(doc, copy, true);
        tail->next = copy;
        tail = copy;
    }
}

} // namespace

void LoadSymbolTransform(const DocWindowRecord* doc, const SymbolInstanceRecord* s, SymbolTransform* t) {
    Float64 perUnit = UsableFactor(doc, s->scaleFactor) / UnitDivisor(doc);
    t->x = Finite(s->x, 0.0), t->y = Finite(s->y, 0.0);
    t->angle = InstanceAngle(s->angle);
    t->rawScaleX = Finite(s->xScale, 1.0), t->rawScaleY = Finite(s->yScale, 1.0);
    t->scaleX = t->rawScaleX * perUnit, t->scaleY = t->rawScaleY * perUnit;
    if (!std::isfinite(t->scaleX)) t->scaleX = 1.0;
    if (!std::isfinite(t->scaleY)) t->scaleY = 1.0;
    t->sine = std::sin(t->angle * kDegreesToRadians);
    t->cosine = std::cos(t->angle * kDegreesToRadians);
    t->factor = UsableFactor(doc, s->scaleFactor);
}

void SymbolTransformPoint(const SymbolTransform& t, Float64* x, Float64* y) {
    *x *= t.scaleX, *y *= t.scaleY;
    if (t.angle != 0) RotateVectorInPlace(x, y, t.sine, t.cosine);
    *x += t.x, *y += t.y;
}

Float64 SymbolTransformLength(const SymbolTransform& t, Float64 length) {
    return length * (std::fabs(t.scaleX) + std::fabs(t.scaleY)) / 2;
}

void PlaceSymbolLine(const SymbolTransform& t, const LineRecord* in, LineRecord* out) {
    *out = *in;
    out->next = nullptr;
    out->scaleFactor = t.factor;
    SymbolTransformPoint(t, &out->x1, &out->y1);
    SymbolTransformPoint(t, &out->x2, &out->y2);
}

void PlaceSymbolArc(const SymbolTransform& t, const ArcRecord* in, ArcRecord* out) {
    *out = *in;
    out->next = nullptr;
    out->scaleFactor = t.factor;
    SymbolTransformPoint(t, &out->cx, &out->cy);
    out->radius = SymbolTransformLength(t, in->radius);
    if (in->startAngle == 0 && in->endAngle == 360) return;
    Float64 start = in->startAngle, end = in->endAngle;
    if ((t.scaleX < 0) != (t.scaleY < 0)) {
        // A mirror runs the arc the other way round.
        Float64 mirroredStart = t.scaleX < 0 ? 180 - end : -end,
                mirroredEnd = t.scaleX < 0 ? 180 - start : -start;
        start = mirroredStart, end = mirroredEnd;
    } else if (t.scaleX < 0) {
        start += 180, end += 180;
    }
    out->startAngle = NormalizeAngle(start + t.angle);
    out->endAngle = NormalizeAngle(end + t.angle);
}

void PlaceSymbolText(const SymbolTransform& t, const TextRecord* in, TextRecord* out) {
    *out = *in;
    out->next = nullptr;
    Float64 ax = in->x, ay = in->y;
    SymbolTransformPoint(t, &out->x, &out->y);
    SymbolTransformPoint(t, &out->x2, &out->y2);
    for (int i = 0; i < 4; ++i)
        PlaceRigid(t, ax, ay, out->x, out->y, &out->corners[2 * i], &out->corners[2 * i + 1]);
    Float64 up = UpScale(t, in->angle);
    out->textHeight = in->textHeight * up;
    out->lineSpacing = in->lineSpacing * up;
    out->frameDistance = SymbolTransformLength(t, in->frameDistance);
    out->leaderEndSize = SymbolTransformLength(t, in->leaderEndSize);
    out->angle = NormalizeAngle(in->angle + t.angle);
}

void PlaceSymbolDimension(const SymbolTransform& t, const DimensionRecord* in, DimensionRecord* out) {
    *out = *in;
    out->next = nullptr;
    out->scaleFactor = t.factor;
    SymbolTransformPoint(t, &out->x1, &out->y1);
    SymbolTransformPoint(t, &out->x2, &out->y2);
    SymbolTransformPoint(t, &out->auxX, &out->auxY);
    if (in->kind == 3 || in->kind == 4) out->auxValue = SymbolTransformLength(t, in->auxValue);
    // The text box moves with its centre and stays readable.
    Float64 cx = (in->textX + in->frame[2]) / 2, cy = (in->textY + in->frame[3]) / 2;
    Float64 px = cx, py = cy;
    SymbolTransformPoint(t, &px, &py);
    PlaceRigid(t, cx, cy, px, py, &out->textX, &out->textY);
    for (int i = 0; i < 3; ++i)
        PlaceRigid(t, cx, cy, px, py, &out->frame[2 * i], &out->frame[2 * i + 1]);
    Float64 baseline = DirectionDegrees(in->textX, in->textY, in->frame[0], in->frame[1]);
    out->textHeight = in->textHeight * UpScale(t, baseline);
    out->dimLength = SymbolTransformLength(t, in->dimLength);
}

Boolean PlaceSymbolPolyline(const SymbolTransform& t, const PolylineRecord* in, PolylineRecord* out) {
    *out = *in;
    out->next = nullptr;
    out->scaleFactor = t.factor;
    out->points = out->picture = nullptr;
    PolylineRecord* copy = ClonePolylineRecord(in);
    if (copy == nullptr) return false;
    out->points = copy->points;
    out->picture = copy->picture;
    copy->points = copy->picture = nullptr;
    DisposePolylineRecord(&copy);
    if (out->points != nullptr) {
        Size room = GetHandleSize(out->points) / Size(2 * sizeof(Float64));
        TransformPoints(t, reinterpret_cast<Float64*>(*out->points),
                        std::min(room, Size(std::max<SInt16>(in->pointCount, 0))));
    }
    if (in->kind == kPolylineRoundedRect) out->params[0] = SymbolTransformLength(t, in->params[0]);
    return true;
}

Boolean PlaceSymbolArea(const SymbolTransform& t, const AreaRecord* in, AreaRecord* out) {
    *out = *in;
    out->next = nullptr;
    out->scaleFactor = t.factor;
    out->outline = out->holes = nullptr;
    if (!CopyAreaData(in, out)) {
        out->lastHoleIndex = -1;
        return false;
    }
    TransformOutline(t, out->outline);
    Size holes = HoleCount(out);
    for (Size i = 0; i < holes; ++i)
        TransformOutline(t, reinterpret_cast<Handle*>(*out->holes)[i]);
    Float64 box[4] = {0, 0, 0, 0};
    bool any = false;
    ExtendBoxByOutline(out->outline, box, &any);
    if (any) out->minX = box[0], out->minY = box[1], out->maxX = box[2], out->maxY = box[3];
    out->hatchAngle =
        NormalizeAngle(((t.scaleX < 0) != (t.scaleY < 0) ? -in->hatchAngle : in->hatchAngle) + t.angle);
    return true;
}

void ComputeInstanceFrame(const DocWindowRecord* doc, SymbolInstanceRecord* s) {
    const SymbolDefRecord* def = s->definition;
    Float64 minX = 0, minY = 0, maxX = 0.1, maxY = 0.1;
    if (def != nullptr) minX = def->minX, minY = def->minY, maxX = def->maxX, maxY = def->maxY;
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    t.x = t.y = 0;
    const Float64 corners[8] = {minX, minY, maxX, minY, maxX, maxY, minX, maxY};
    for (int i = 0; i < 8; i += 2) {
        Float64 x = Finite(corners[i], 0.0), y = Finite(corners[i + 1], 0.0);
        SymbolTransformPoint(t, &x, &y);
        s->frame[i] = Finite(x, 0.0), s->frame[i + 1] = Finite(y, 0.0);
    }
}

void InstanceBox(const SymbolInstanceRecord* s, Float64 box[4]) {
    box[0] = box[2] = s->x;
    box[1] = box[3] = s->y;
    for (int i = 0; i < 4; ++i) {
        box[0] = std::min(box[0], s->x + s->frame[2 * i]);
        box[2] = std::max(box[2], s->x + s->frame[2 * i]);
        box[1] = std::min(box[1], s->y + s->frame[2 * i + 1]);
        box[3] = std::max(box[3], s->y + s->frame[2 * i + 1]);
    }
}

SymbolInstanceRecord* CreateSymbolInstance(DocWindowRecord* doc, Float64 x, Float64 y, Float64 angle,
                                           Float64 xScale, Float64 yScale, SymbolDefRecord* def) {
    return AppendInstance(doc, x, y, angle, xScale, yScale, def, DefaultScaleFactor(doc));
}

SymbolDefRecord* CreateSymbolFromSelection(DocWindowRecord* doc, Float64 baseX, Float64 baseY,
                                           ConstStr255Param name, Boolean place) {
    if (doc->symbolDefHead == nullptr) return nullptr;
    SeekLastSymbolDef(doc);
    SymbolDefRecord* last = doc->drawing->cursors.symbolDefCursor;
    SymbolDefRecord* def = NewSymbolDefElement(&last->next);
    if (def == nullptr) {
        ShowOutOfMemoryAlert();
        return nullptr;
    }
    AssignStrN(def->name, name, 19);
    doc->drawing->cursors.symbolDefCursor = def;

    BeginUndoStep(doc);
    Conversion c{};
    // Nothing moved: the instance shows the definition at the current scale.
    Float64 factor = UsableFactor(doc, DefaultScaleFactor(doc));
    bool moved = false;
    moved |= MoveSelected(doc, doc->lineHead, def->lineHead, baseX, baseY, &c, &factor);
    moved |= MoveSelected(doc, doc->arcHead, def->arcHead, baseX, baseY, &c, &factor);
    moved |= MoveSelected(doc, doc->textHead, def->textHead, baseX, baseY, &c, &factor);
    moved |= MoveSelected(doc, doc->dimensionHead, def->dimensionHead, baseX, baseY, &c, &factor);
    moved |= MoveSelected(doc, doc->polylineHead, def->polylineHead, baseX, baseY, &c, &factor);
    moved |= MoveSelected(doc, doc->areaHead, def->areaHead, baseX, baseY, &c, &factor);
    if (moved) {
        SpatialIndexStale(doc);
        ResetCursors(doc);
        MarkDocumentChanged(doc);
    }
    if (c.any && std::isfinite(c.box[0]) && std::isfinite(c.box[1]) && std::isfinite(c.box[2]) &&
        std::isfinite(c.box[3])) {
        def->minX = c.box[0], def->minY = c.box[1], def->maxX = c.box[2], def->maxY = c.box[3];
    } else {
        def->minX = def->minY = 0, def->maxX = def->maxY = 0.1;
    }
    if (place) AppendInstance(doc, baseX, baseY, 0, 1, 1, def, factor);
    EndUndoStep(doc);

    for (SymbolInstanceRecord* s = FirstOf(doc->instanceHead); s != nullptr; s = s->next) {
        if (s->selected2) {
            ShowErrorStr128(kSelectedInstancesMessage);
            break;
        }
    }
    SortSymbolDefinitions(doc);
    gDocumentHooks.refreshPalettes(doc);
    return def;
}

void SortSymbolDefinitions(DocWindowRecord* doc) {
    SymbolDefRecord* head = doc->symbolDefHead;
    if (head == nullptr) return;
    // Insertion into a new chain keeps equal names in their order.
    SymbolDefRecord* rest = head->next;
    head->next = nullptr;
    while (rest != nullptr) {
        SymbolDefRecord* e = rest;
        rest = rest->next;
        SymbolDefRecord* before = head;
        while (before->next != nullptr && ComparePStr(before->next->name, e->name) <= 0)
            before = before->next;
        e->next = before->next;
        before->next = e;
    }
    doc->drawing->cursors.symbolDefCursor = nullptr;
}

SymbolDefRecord* FindSymbolDefinition(DocWindowRecord* doc, ConstStr255Param name) {
    for (SymbolDefRecord* d = FirstOf(doc->symbolDefHead); d != nullptr; d = d->next) {
        if (EqualPStr(d->name, name)) {
            doc->drawing->cursors.symbolDefCursor = d;
            return d;
        }
    }
    return nullptr;
}

SInt16 CountSymbolDefinitions(const DocWindowRecord* doc) {
    SInt16 n = 0;
    for (SymbolDefRecord* d = FirstOf(doc->symbolDefHead); d != nullptr; d = d->next)
        ++n;
    return n;
}

void ExplodeSymbolInstance(DocWindowRecord* doc, SymbolInstanceRecord* s) {
    SymbolDefRecord* def = s != nullptr ? s->definition : nullptr;
    if (def == nullptr) return;
    SymbolTransform t;
    LoadSymbolTransform(doc, s, &t);
    BeginUndoStep(doc);
    ExplodeList(doc, def->lineHead, doc->lineHead, s->group, [&](const LineRecord* e) {
        LineRecord* out = CloneLineRecord(e);
        if (out == nullptr) return out;
        PlaceSymbolLine(t, e, out);
        NormalizeLineDirection(out);
        return out;
    });
    ExplodeList(doc, def->arcHead, doc->arcHead, s->group, [&](const ArcRecord* e) {
        ArcRecord* out = CloneArcRecord(e);
        if (out == nullptr) return out;
        PlaceSymbolArc(t, e, out);
        return out;
    });
    ExplodeList(doc, def->textHead, doc->textHead, s->group, [&](const TextRecord* e) {
        TextRecord* out = CloneTextRecord(e);
        if (out == nullptr) return out;
        Handle box = out->boxText;
        PlaceSymbolText(t, e, out);
        out->boxText = box;
        out->scaleFactor = t.factor;
        return out;
    });
    ExplodeList(doc, def->dimensionHead, doc->dimensionHead, s->group, [&](const DimensionRecord* e) {
        DimensionRecord* out = CloneDimensionRecord(e);
        if (out == nullptr) return out;
        PlaceSymbolDimension(t, e, out);
        return out;
    });
    ExplodeList(doc, def->polylineHead, doc->polylineHead, s->group, [&](const PolylineRecord* e) {
        PolylineRecord* out = NewPolylineRecord();
        if (out == nullptr) return out;
        if (!PlaceSymbolPolyline(t, e, out)) {
            DisposePolylineRecord(&out);
            return out;
        }
        return out;
    });
    ExplodeList(doc, def->areaHead, doc->areaHead, s->group, [&](const AreaRecord* e) {
        AreaRecord* out = NewAreaRecord();
        if (out == nullptr) return out;
        if (!PlaceSymbolArea(t, e, out)) {
            DisposeAreaRecord(&out);
            return out;
        }
        return out;
    });
    SpatialIndexStale(doc);
    ResetCursors(doc);
    RemoveInstance(doc, s);
    MarkDocumentChanged(doc);
    EndUndoStep(doc);
}

Boolean RedefineBlock(DocWindowRecord* doc, Float64 baseX, Float64 baseY, ConstStr255Param name) {
    SymbolDefRecord* old = FindSymbolDefinition(doc, name);
    if (old == nullptr) return false;
    static const unsigned char kTemporaryName[] = "\x0BTempor\x8Arxyz";
    SymbolDefRecord* fresh = CreateSymbolFromSelection(doc, baseX, baseY, kTemporaryName, false);
    if (fresh == nullptr) return false;
    AssignStrN(fresh->name, old->name, 19);
    for (SymbolInstanceRecord* s = FirstOf(doc->instanceHead); s != nullptr; s = s->next) {
        if (s->definition != old) continue;
        s->definition = fresh;
        ComputeInstanceFrame(doc, s);
    }
    SymbolDefRecord* before = doc->symbolDefHead;
    while (before != nullptr && before->next != old)
        before = before->next;
    if (before != nullptr) before->next = old->next;
    DisposeSymbolDefinition(doc, old);
    SortSymbolDefinitions(doc);
    SpatialIndexStale(doc);
    MarkDocumentChanged(doc);
    RequestRedraw(doc);
    ResetUndoJournal(doc);
    gDocumentHooks.refreshPalettes(doc);
    return true;
}

SymbolInstanceRecord* ChangeSymbolInstance(DocWindowRecord* doc, SymbolInstanceRecord* instance,
                                           Float64 angle, Float64 xScale, Float64 yScale) {
    if (instance == nullptr || instance->definition == nullptr) return nullptr;
    DocSettings* settings = doc->settings;
    SInt16 layer = settings->currentLayer, group = settings->currentGroup, pen = settings->currentPen;
    settings->currentLayer = instance->layer;
    settings->currentGroup = instance->group;
    settings->currentPen = instance->pen;
    BeginUndoStep(doc);
    RequestRedraw(doc);
    SymbolInstanceRecord* placed = AppendInstance(doc, instance->x, instance->y, angle, xScale, yScale,
                                                  instance->definition, instance->scaleFactor);
    settings->currentLayer = layer, settings->currentGroup = group, settings->currentPen = pen;
    if (placed != nullptr) RemoveInstance(doc, instance);
    EndUndoStep(doc);
    return placed;
}

Boolean& PlaceSymbolsWithoutAsking(DocSettings* settings) {
    return settings->flags1836[0];
}
