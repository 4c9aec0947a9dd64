// The transform of the selection. Every kind but the stretch is a similarity (turn, mirror, scale,
// move), which places an element exactly as a symbol instance places its definition's elements, so
// the per-kind rules for radii, arc directions and readable texts are shared with symbols. The
// stretch moves single points. An element changed in place writes its state before and after to
// the undo journal; a copy is appended and journalled as added.
#include "Model/Transform.h"

#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Other/MathPrimitives.h"
#include "Model/Selection.h"
#include "Model/SpatialIndex.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Platform/MemoryManager.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace {

constexpr Float64 kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr long kProgressThreshold = 20000;
constexpr long kProgressEvery = 16384;

// One application of the transform: a similarity, or the stretch.
struct Map {
    bool stretch = false;
    SymbolTransform t;
    Float64 minX = 0, minY = 0, maxX = 0, maxY = 0, dx = 0, dy = 0;
    bool mirrors = false;

    bool Inside(Float64 x, Float64 y) const { return x >= minX && x <= maxX && y >= minY && y <= maxY; }
    void Point(Float64* x, Float64* y) const {
        if (stretch) {
            if (Inside(*x, *y)) *x += dx, *y += dy;
        } else {
            SymbolTransformPoint(t, x, y);
        }
    }
};

void SetTurn(SymbolTransform* t, Float64 degrees) {
    t->angle = degrees;
    t->sine = std::sin(degrees * kRadiansPerDegree);
    t->cosine = std::cos(degrees * kRadiansPerDegree);
}

// The translation that keeps (cx, cy) where it is under the turn and scales already set.
void FixPoint(SymbolTransform* t, Float64 cx, Float64 cy) {
    Float64 x = cx, y = cy;
    t->x = t->y = 0;
    SymbolTransformPoint(*t, &x, &y);
    t->x = cx - x, t->y = cy - y;
}

Map MapFor(const TransformState* s, SInt16 copy) {
    Map m;
    SymbolTransform& t = m.t;
    switch (s->kind) {
    case kTransformMove:
        t.x = s->offsetX, t.y = s->offsetY;
        break;
    case kTransformRotate:
        t.angle = s->angle, t.sine = s->sine, t.cosine = s->cosine;
        FixPoint(&t, s->refX, s->refY);
        break;
    case kTransformMirror:
        // A mirror at a line of direction b is a turn by 2b after flipping y.
        t.scaleY = t.rawScaleY = -1;
        SetTurn(&t, 2 * s->lineAngle);
        FixPoint(&t, s->lineX1, s->lineY1);
        m.mirrors = true;
        break;
    case kTransformAlongCircle: {
        Float64 vx = s->secondX - s->refX, vy = s->secondY - s->refY;
        Float64 a0 = (copy - 1) * s->angle * kRadiansPerDegree, a1 = copy * s->angle * kRadiansPerDegree;
        t.x = (std::cos(a1) - std::cos(a0)) * vx - (std::sin(a1) - std::sin(a0)) * vy;
        t.y = (std::sin(a1) - std::sin(a0)) * vx + (std::cos(a1) - std::cos(a0)) * vy;
        break;
    }
    case kTransformScaleFirst:
    case kTransformScale: {
        Float64 f = s->kind == kTransformScale ? s->secondFactor : s->factor;
        t.scaleX = t.scaleY = t.rawScaleX = t.rawScaleY = f;
        FixPoint(&t, s->refX, s->refY);
        break;
    }
    case kTransformStretch:
        m.stretch = true;
        m.minX = s->rectMinX, m.minY = s->rectMinY, m.maxX = s->rectMaxX, m.maxY = s->rectMaxY;
        m.dx = s->offsetX, m.dy = s->offsetY;
        break;
    default:
        break;
    }
    return m;
}

// ---- One element transformed in place (its list link, flags and scale factor kept). The placed
// record starts as a copy of the element, flags included.

void Apply(const Map& m, LineRecord* e) {
    m.Point(&e->x1, &e->y1);
    m.Point(&e->x2, &e->y2);
    NormalizeLineDirection(e);
}

void Apply(const Map& m, ArcRecord* e) {
    if (m.stretch) {
        m.Point(&e->cx, &e->cy);
        return;
    }
    ArcRecord out;
    PlaceSymbolArc(m.t, e, &out);
    e->cx = out.cx, e->cy = out.cy, e->radius = out.radius;
    e->startAngle = out.startAngle, e->endAngle = out.endAngle;
}

void Apply(const Map& m, TextRecord* e) {
    if (m.stretch) {
        if (!m.Inside(e->x, e->y)) return;
        e->x += m.dx, e->y += m.dy, e->x2 += m.dx, e->y2 += m.dy;
        for (int i = 0; i < 4; ++i)
            e->corners[2 * i] += m.dx, e->corners[2 * i + 1] += m.dy;
        return;
    }
    TextRecord out;
    PlaceSymbolText(m.t, e, &out);
    out.next = e->next;
    out.scaleFactor = e->scaleFactor;
    *e = out; // flags and box text come from e itself: the text keeps owning its box text
}

void Apply(const Map& m, DimensionRecord* e) {
    if (m.stretch) {
        m.Point(&e->x1, &e->y1);
        m.Point(&e->x2, &e->y2);
        m.Point(&e->auxX, &e->auxY);
        if (m.Inside(e->textX, e->textY)) {
            e->textX += m.dx, e->textY += m.dy;
            for (int i = 0; i < 3; ++i)
                e->frame[2 * i] += m.dx, e->frame[2 * i + 1] += m.dy;
        }
        return;
    }
    DimensionRecord out;
    PlaceSymbolDimension(m.t, e, &out);
    out.next = e->next;
    out.scaleFactor = e->scaleFactor;
    *e = out;
}

void Apply(const DocWindowRecord* doc, const Map& m, SymbolInstanceRecord* e) {
    if (m.stretch) {
        m.Point(&e->x, &e->y);
        return;
    }
    m.Point(&e->x, &e->y);
    const SymbolTransform& t = m.t;
    if (m.mirrors) {
        e->yScale = -e->yScale;
        e->angle = NormalizeAngle(t.angle - e->angle);
    } else {
        e->angle = NormalizeAngle(e->angle + t.angle);
        e->xScale *= t.scaleX;
        e->yScale *= t.scaleY;
    }
    ComputeInstanceFrame(doc, e);
}

void MovePoints(const Map& m, Float64* p, Size count) {
    for (Size i = 0; i < count; ++i)
        m.Point(&p[2 * i], &p[2 * i + 1]);
}

// The points of a polyline change; false when memory ran out (the element is left as it was).
bool Apply(const Map& m, PolylineRecord* e) {
    if (m.stretch) {
        if (e->points != nullptr) {
            Size room = GetHandleSize(e->points) / Size(2 * sizeof(Float64));
            MovePoints(m, reinterpret_cast<Float64*>(*e->points),
                       std::min(room, Size(std::max<SInt16>(e->pointCount, 0))));
        }
        return true;
    }
    PolylineRecord out;
    if (!PlaceSymbolPolyline(m.t, e, &out)) return false;
    DisposePolylineData(e);
    out.next = e->next;
    out.scaleFactor = e->scaleFactor;
    *e = out;
    return true;
}

void StretchOutline(const Map& m, Handle outline) {
    if (outline == nullptr || GetHandleSize(outline) < Size(kOutlineHeaderSize)) return;
    SInt16 last = OutlineLastIndex(outline);
    if (last < 0) return; // an ellipse contour keeps its shape
    Size room = (GetHandleSize(outline) - Size(kOutlineHeaderSize)) / Size(2 * sizeof(Float64));
    MovePoints(m, OutlinePoints(outline), std::min(room, Size(last) + 1));
}

bool Apply(const Map& m, AreaRecord* e) {
    if (m.stretch) {
        StretchOutline(m, e->outline);
        if (e->holes != nullptr && e->lastHoleIndex >= 0) {
            Size holes = std::min(Size(e->lastHoleIndex) + 1, GetHandleSize(e->holes) / Size(sizeof(Handle)));
            for (Size i = 0; i < holes; ++i)
                StretchOutline(m, reinterpret_cast<Handle*>(*e->holes)[i]);
        }
        // The box follows the outline: place it through a move of nothing.
        AreaRecord out;
        Map still;
        if (PlaceSymbolArea(still.t, e, &out)) {
            e->minX = out.minX, e->minY = out.minY, e->maxX = out.maxX, e->maxY = out.maxY;
            DisposeAreaData(&out);
        }
        return true;
    }
    AreaRecord out;
    if (!PlaceSymbolArea(m.t, e, &out)) {
        DisposeAreaData(&out);
        return false;
    }
    DisposeAreaData(e);
    out.next = e->next;
    out.outlineStroked = e->outlineStroked;
    out.scaleFactor = e->scaleFactor;
    *e = out;
    return true;
}

// ---- The walk over one list.

struct Progress {
    long done = 0, total = 0;
    bool shown = false;
    void Step() {
        if (shown && ++done % kProgressEvery == 0)
            gDocumentHooks.setProgressPercent(SInt16(done * 100 / total));
    }
};

template <typename R> long CountSelected(R* head) {
    long n = 0;
    for (R* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next)
        if (e->selected) ++n;
    return n;
}

template <typename R> R* Tail(R* head) {
    R* e = head;
    while (e->next != nullptr)
        e = e->next;
    return e;
}

void Dispose(LineRecord* e) {
    DisposeLineRecord(&e);
}
void Dispose(ArcRecord* e) {
    DisposeArcRecord(&e);
}
void Dispose(TextRecord* e) {
    DisposeTextRecord(&e);
}
void Dispose(DimensionRecord* e) {
    DisposeDimensionRecord(&e);
}
void Dispose(PolylineRecord* e) {
    DisposePolylineRecord(&e);
}
void Dispose(SymbolInstanceRecord* e) {
    DisposeSymbolInstanceRecord(&e);
}
void Dispose(AreaRecord* e) {
    DisposeAreaRecord(&e);
}

// Records whose data is all in the record journal their state before from a plain copy; the
// others (owning handles that the change replaces) from a clone.
template <typename R>
constexpr bool kPlain =
    std::is_same_v<R, LineRecord> || std::is_same_v<R, ArcRecord> || std::is_same_v<R, DimensionRecord> ||
    std::is_same_v<R, SymbolInstanceRecord> || std::is_same_v<R, TextRecord>;

template <typename R> bool ApplyTo(DocWindowRecord* doc, const Map& m, R* e) {
    if constexpr (std::is_same_v<R, SymbolInstanceRecord>) {
        Apply(doc, m, e);
        return true;
    } else if constexpr (std::is_same_v<R, PolylineRecord> || std::is_same_v<R, AreaRecord>) {
        return Apply(m, e);
    } else {
        Apply(m, e);
        return true;
    }
}

template <typename R>
void TransformList(DocWindowRecord* doc, R* head, const TransformState* s, SInt16 copies,
                   Progress* progress) {
    if (head == nullptr) return;
    const bool record = IsUndoRecording(doc);
    R* tail = Tail(head);
    R* last = tail; // copies go behind it and are not walked
    for (R* e = head->next; e != nullptr; e = e->next) {
        if (e->selected) {
            progress->Step();
            if (copies == 0) {
                if (!record) {
                    ApplyTo(doc, MapFor(s, 1), e);
                } else if constexpr (kPlain<R>) {
                    R before = *e;
                    if (ApplyTo(doc, MapFor(s, 1), e)) {
                        RecordUndoElement(doc, &before, false);
                        RecordUndoElement(doc, e, true);
                    }
                } else {
                    R* before = CloneRecord(e);
                    if (before == nullptr) continue;
                    before->next = nullptr;
                    if (ApplyTo(doc, MapFor(s, 1), e)) {
                        RecordUndoElement(doc, before, false);
                        RecordUndoElement(doc, e, true);
                    }
                    before->selected = 0;
                    Dispose(before);
                }
            } else {
                const R* from = e;
                for (SInt16 k = 1; k <= copies; ++k) {
                    R* copy = CloneRecord(from);
                    if (copy == nullptr) break;
                    copy->next = nullptr;
                    copy->selected = 0;
                    copy->marked = 0;
                    if (!ApplyTo(doc, MapFor(s, k), copy)) {
                        Dispose(copy);
                        break;
                    }
                    tail->next = copy;
                    tail = copy;
                    if (record) RecordUndoElement(doc, copy, true);
                    from = copy;
                }
            }
        }
        if (e == last) break;
    }
}

template <typename R> void SelectKeys(DocWindowRecord* doc, R* head, const TransformState* s) {
    if (head == nullptr) return;
    for (R* e = head->next; e != nullptr; e = e->next)
        if (e->group > 0 && e->group <= kHighestKey && s->keys[size_t(e->group)] && !e->selected)
            SetSelectedFlag(doc->drawing, &e->selected, 1);
}

template <typename R> void SelectKey(DocWindowRecord* doc, R* head, SInt16 key) {
    if (head == nullptr) return;
    for (R* e = head->next; e != nullptr; e = e->next)
        if (e->group == key && !e->selected) SetSelectedFlag(doc->drawing, &e->selected, 1);
}

template <typename R> void MarkKey(DocWindowRecord* doc, R* head, SInt16 key) {
    if (head == nullptr) return;
    for (R* e = head->next; e != nullptr; e = e->next)
        if (e->group == key && !e->marked) SetMarkedFlag(doc->drawing, &e->marked, 1);
}

template <typename R> void MarkSelected(DocWindowRecord* doc, R* head) {
    if (head == nullptr) return;
    for (R* e = head->next; e != nullptr; e = e->next) {
        if (!e->selected) continue;
        e->selected = 0;
        if (!e->marked) SetMarkedFlag(doc->drawing, &e->marked, 1);
    }
}

template <typename R> void SelectMarked(DocWindowRecord* doc, R* head) {
    if (head == nullptr) return;
    for (R* e = head->next; e != nullptr; e = e->next) {
        if (!e->marked) continue;
        e->marked = 0;
        if (!e->selected) SetSelectedFlag(doc->drawing, &e->selected, 1);
    }
}

template <typename R> bool AnyMarked(const R* head) {
    if (head == nullptr) return false;
    for (const R* e = head->next; e != nullptr; e = e->next)
        if (e->marked) return true;
    return false;
}

// The scale of the first selected element met, compared with every later one.
template <typename R> bool ScalesAgree(const R* head, Float64* reference) {
    if (head == nullptr) return true;
    for (const R* e = head->next; e != nullptr; e = e->next) {
        if (!e->selected) continue;
        if (std::isnan(*reference))
            *reference = e->scaleFactor;
        else if (e->scaleFactor != *reference && !NearlyEqualRelative(*reference, e->scaleFactor))
            return false;
    }
    return true;
}

template <typename R> void CollectKeys(R* head, TransformState* s) {
    if (head == nullptr) return;
    for (R* e = head->next; e != nullptr; e = e->next)
        if (e->selected && e->group > 0 && e->group <= kHighestKey) s->keys.set(size_t(e->group));
}

// Every selected element whose field differs from the value: counted, or (apply) given the value
// with its states before and after journalled.
template <typename R, typename Field, typename V>
long ChangeSelected(DocWindowRecord* doc, R* head, Field field, V value, bool apply) {
    long n = 0;
    if (head == nullptr) return 0;
    for (R* e = head->next; e != nullptr; e = e->next) {
        if (!e->selected || field(e) == value) continue;
        ++n;
        if (!apply) continue;
        RecordUndoElement(doc, e, false);
        field(e) = value;
        RecordUndoElement(doc, e, true);
    }
    return n;
}

template <typename R> bool KeyOutsideSelection(const R* head, SInt16 key) {
    if (head == nullptr) return false;
    for (const R* e = head->next; e != nullptr; e = e->next)
        if (e->group == key && !e->selected) return true;
    return false;
}

// Areas have no second selection flag and instances carry group too: every list has selected,
// group and marked, so the walks above are written once.

} // namespace

TransformState* TransformStateOf(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return nullptr;
    if (doc->drawing->transform == nullptr) doc->drawing->transform = new TransformState;
    return doc->drawing->transform;
}

void DisposeTransformState(TransformState** slot) {
    if (slot == nullptr) return;
    delete *slot;
    *slot = nullptr;
}

void TransformAllElements(DocWindowRecord* doc, SInt16 copies) {
    TransformState* s = TransformStateOf(doc);
    if (s == nullptr || s->kind == kTransformNone || copies < 0) return;
    Progress progress;
    ForEachElementList(doc, [&](auto* head) { progress.total += CountSelected(head); });
    if (progress.total >= kProgressThreshold) {
        static const unsigned char kTitle[] = "\x0CTransforming";
        gDocumentHooks.openProgress(kTitle);
        progress.shown = true;
    }
    ForEachElementList(doc, [&](auto* head) { TransformList(doc, head, s, copies, &progress); });
    if (progress.shown) gDocumentHooks.closeProgress();
    SpatialIndexStale(doc);
    doc->drawing->changed = true;
}

void SelectEveryElement(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    ForEachElementList(doc, [&](auto* head) {
        if (head == nullptr) return;
        for (auto* e = head->next; e != nullptr; e = e->next)
            if (!e->selected) SetSelectedFlag(doc->drawing, &e->selected, 1);
    });
}

void CollectElementKeys(DocWindowRecord* doc) {
    TransformState* s = TransformStateOf(doc);
    if (s == nullptr) return;
    s->keys.reset();
    ForEachElementList(doc, [&](auto* head) { CollectKeys(head, s); });
    s->keyCount = UInt16(s->keys.count());
}

void SelectElementsByKey(DocWindowRecord* doc, SInt16 key, Boolean deselectOthers) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    if (deselectOthers) {
        ForEachElementList(doc, [&](auto* head) {
            if (head == nullptr) return;
            for (auto* e = head->next; e != nullptr; e = e->next)
                if (e->selected && e->group != key) e->selected = 0;
        });
    }
    ForEachElementList(doc, [&](auto* head) { SelectKey(doc, head, key); });
}

void SelectElementsOfKeySet(DocWindowRecord* doc) {
    TransformState* s = TransformStateOf(doc);
    if (s == nullptr || s->keys.none()) return;
    ForEachElementList(doc, [&](auto* head) { SelectKeys(doc, head, s); });
}

void MarkElementsOfKey(DocWindowRecord* doc, SInt16 key) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    ForEachElementList(doc, [&](auto* head) { MarkKey(doc, head, key); });
}

void ClearAreaMarks(DocWindowRecord* doc) {
    if (doc == nullptr || doc->areaHead == nullptr) return;
    for (AreaRecord* a = doc->areaHead->next; a != nullptr; a = a->next)
        a->marked = 0;
}

void MarkSelectedElements(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    ClearAreaMarks(doc);
    ForEachElementList(doc, [&](auto* head) { MarkSelected(doc, head); });
    RequestRedraw(doc);
}

Boolean AnyElementMarked(const DocWindowRecord* doc) {
    if (doc == nullptr) return false;
    bool any = false;
    ForEachElementList(const_cast<DocWindowRecord*>(doc),
                       [&](const auto* head) { any = any || AnyMarked(head); });
    return any;
}

void SelectMarkedElements(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    ForEachElementList(doc, [&](auto* head) { SelectMarked(doc, head); });
}

Boolean SelectedWidthsEqual(const DocWindowRecord* doc) {
    if (doc == nullptr) return true;
    Float64 reference = std::nan("");
    bool agree = true;
    ForEachElementList(const_cast<DocWindowRecord*>(doc),
                       [&](const auto* head) { agree = agree && ScalesAgree(head, &reference); });
    return agree;
}

Boolean IsKeyInUse(const DocWindowRecord* doc, SInt16 key) {
    if (doc == nullptr) return false;
    return KeyOutsideSelection(doc->lineHead, key) || KeyOutsideSelection(doc->arcHead, key) ||
           KeyOutsideSelection(doc->textHead, key) || KeyOutsideSelection(doc->dimensionHead, key) ||
           KeyOutsideSelection(doc->polylineHead, key) || KeyOutsideSelection(doc->instanceHead, key) ||
           KeyOutsideSelection(doc->areaHead, key);
}

long AssignKeyToSelection(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return 0;
    const SInt16 key = doc->settings->currentGroup;
    auto group = [](auto* e) -> SInt16& { return e->group; };
    long n = 0;
    ForEachElementList(doc, [&](auto* head) { n += ChangeSelected(doc, head, group, key, false); });
    if (n == 0) return 0;
    BeginUndoStep(doc);
    ForEachElementList(doc, [&](auto* head) { ChangeSelected(doc, head, group, key, true); });
    EndUndoStep(doc);
    return n;
}

void SetSelectionScaleValue(DocWindowRecord* doc, Float64 value) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    auto scale = [](auto* e) -> Float64& { return e->scaleFactor; };
    ForEachElementList(doc, [&](auto* head) { ChangeSelected(doc, head, scale, value, true); });
}

Boolean DimensionCarriesKey(const DocWindowRecord* doc, SInt16 key) {
    if (doc == nullptr || doc->dimensionHead == nullptr || key == 0) return false;
    for (const DimensionRecord* e = doc->dimensionHead->next; e != nullptr; e = e->next)
        if (e->group == key) return true;
    return false;
}
