// Moving, shifting and copying the elements of layers, and the frame lists moved together. Layer
// changes walk every list once and journal each element changed; hidden layers count like shown ones.
#include "Model/LayersFrames.h"

#include "Model/ElementDeletion.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/Selection.h"
#include "Model/SpatialIndex.h"
#include "Model/Transform.h"
#include "Tools/ToolState.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Gives every element whose layer the map changes its new layer; the state before is a plain copy,
// since a layer change leaves what the record owns alone.
template <typename R, typename Map> SInt32 Relayer(DocWindowRecord* doc, R* head, Map newLayer) {
    if (head == nullptr) return 0;
    const bool record = IsUndoRecording(doc);
    SInt32 changed = 0;
    for (R* e = head->next; e != nullptr; e = e->next) {
        const SInt16 to = newLayer(e->layer);
        if (to == e->layer) continue;
        if (record) {
            R before = *e;
            e->layer = to;
            RecordUndoElement(doc, &before, false);
            RecordUndoElement(doc, e, true);
        } else {
            e->layer = to;
        }
        ++changed;
    }
    return changed;
}

// True when any element lies on a layer the predicate names.
template <typename Pred> bool AnyOnLayer(DocWindowRecord* doc, Pred onLayer) {
    bool any = false;
    ForEachElementList(doc, [&](auto* head) {
        for (auto* e = head != nullptr && !any ? head->next : nullptr; e != nullptr && !any; e = e->next)
            any = onLayer(e->layer);
    });
    return any;
}

// No undo step for a change that finds nothing to change.
template <typename Map> SInt32 RelayerAll(DocWindowRecord* doc, Map newLayer) {
    if (!AnyOnLayer(doc, [&](SInt16 layer) { return newLayer(layer) != layer; })) return 0;
    SInt32 changed = 0;
    BeginUndoStep(doc);
    ForEachElementList(doc, [&](auto* head) { changed += Relayer(doc, head, newLayer); });
    EndUndoStep(doc);
    if (changed > 0) {
        SpatialIndexStale(doc);
        doc->drawing->changed = true;
    }
    return changed;
}

// Copies of the list's elements on layers lo..hi, appended behind its last element (not walked).
template <typename R> void CopyLayers(DocWindowRecord* doc, R* head, SInt16 lo, SInt16 hi, SInt16 delta) {
    if (head == nullptr) return;
    const bool record = IsUndoRecording(doc);
    R* tail = head;
    while (tail->next != nullptr)
        tail = tail->next;
    R* last = tail;
    for (R* e = head; e != last;) {
        e = e->next;
        if (e->layer < lo || e->layer > hi) continue;
        R* copy = CloneRecord(e);
        if (copy == nullptr) break;
        copy->next = nullptr;
        copy->selected = 0;
        copy->marked = 0;
        copy->layer = SInt16(e->layer + delta);
        tail->next = copy;
        tail = copy;
        if (record) RecordUndoElement(doc, copy, true);
    }
}

// Only the elements of the layer selected; their number.
long SelectOnlyLayer(DocWindowRecord* doc, SInt16 layer) {
    DeselectAll(doc, false);
    long n = 0;
    ForEachElementList(doc, [&](auto* head) {
        for (auto* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next)
            if (e->layer == layer) {
                SetSelectedFlag(doc->drawing, &e->selected, true);
                ++n;
            }
    });
    return n;
}

void Offset(Float64 r[4], Float64 dx, Float64 dy) {
    r[0] += dx, r[2] += dx;
    r[1] += dy, r[3] += dy;
}

} // namespace

SInt32 MoveLayerElements(DocWindowRecord* doc, SInt16 source, SInt16 target) {
    if (doc == nullptr || doc->drawing == nullptr || source == target) return 0;
    if (source < 0 || source > kHighestLayer || target < 0 || target > kHighestLayer) return 0;
    return RelayerAll(doc, [=](SInt16 layer) { return layer == source ? target : layer; });
}

long DeleteLayerElements(DocWindowRecord* doc, SInt16 layer) {
    if (doc == nullptr || doc->drawing == nullptr || SelectOnlyLayer(doc, layer) == 0) return 0;
    BeginUndoStep(doc);
    const long n = DeleteSelectedElements(doc);
    EndUndoStep(doc);
    SpatialIndexStale(doc);
    return n;
}

Boolean ScaleLayerElements(DocWindowRecord* doc, SInt16 layer, Float64 factor) {
    if (doc == nullptr || doc->drawing == nullptr || !std::isfinite(factor) || !(factor > 0)) return false;
    TransformState* st = TransformStateOf(doc);
    if (st == nullptr) return false;
    if (SelectOnlyLayer(doc, layer) == 0) return true;
    st->kind = kTransformScale;
    st->refX = st->refY = 0;
    st->secondFactor = factor;
    BeginUndoStep(doc);
    TransformAllElements(doc, 0);
    EndUndoStep(doc);
    DeselectAll(doc, false);
    SpatialIndexStale(doc);
    return true;
}

Boolean LayerRangeFits(SInt16 first, SInt16 last, SInt16 delta) {
    const int lo = std::min(first, last), hi = std::max(first, last);
    return lo >= 0 && hi <= kHighestLayer && lo + delta >= 0 && hi + delta <= kHighestLayer;
}

Boolean ShiftLayerRange(DocWindowRecord* doc, SInt16 first, SInt16 last, SInt16 delta) {
    if (doc == nullptr || doc->drawing == nullptr || !LayerRangeFits(first, last, delta)) return false;
    const SInt16 lo = std::min(first, last), hi = std::max(first, last);
    if (delta != 0)
        RelayerAll(doc,
                   [=](SInt16 layer) { return layer >= lo && layer <= hi ? SInt16(layer + delta) : layer; });
    return true;
}

Boolean DuplicateLayer(DocWindowRecord* doc, SInt16 a, SInt16 b, SInt16 c) {
    // A copy onto its own layer would only double the elements.
    if (doc == nullptr || doc->drawing == nullptr || c == 0 || !LayerRangeFits(a, b, c)) return false;
    const SInt16 lo = std::min(a, b), hi = std::max(a, b);
    if (!AnyOnLayer(doc, [=](SInt16 layer) { return layer >= lo && layer <= hi; })) return true;
    BeginUndoStep(doc);
    ForEachElementList(doc, [&](auto* head) { CopyLayers(doc, head, lo, hi, c); });
    EndUndoStep(doc);
    SpatialIndexStale(doc);
    doc->drawing->changed = true;
    return true;
}

Boolean NewFrameFromRect(DocWindowRecord* doc, SInt16 kind, Float64 x0, Float64 y0, Float64 x1, Float64 y1,
                         ConstStr255Param name) {
    if (doc == nullptr || doc->drawing == nullptr) return false;
    FrameRecord* f = NewFrameRecord();
    if (f == nullptr) return false;
    if (name != nullptr) CopyPStr(f->name, 64, name);
    f->kind = kind;
    f->scale = doc->settings->drawingScale > 0 ? doc->settings->drawingScale : 1.0;
    f->rect[0] = std::min(x0, x1), f->rect[1] = std::min(y0, y1);
    f->rect[2] = std::max(x0, x1), f->rect[3] = std::max(y0, y1);
    f->scaleX = f->scaleY = 1.0;
    FrameRecord** slot = &doc->drawing->frames;
    while (*slot != nullptr)
        slot = &(*slot)->next;
    *slot = f;
    return true;
}

SInt16 CountFrames(const DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return 0;
    SInt16 n = 0;
    for (const FrameRecord* f = doc->drawing->frames; f != nullptr && n < SHRT_MAX; f = f->next)
        ++n;
    return n;
}

FrameRecord* FrameAt(const DocWindowRecord* doc, SInt16 n) {
    if (doc == nullptr || doc->drawing == nullptr || n < 1) return nullptr;
    FrameRecord* f = doc->drawing->frames;
    for (SInt16 i = 1; f != nullptr && i < n; ++i)
        f = f->next;
    return f;
}

Boolean DeleteFrameAndDispose(DocWindowRecord* doc, SInt16 n) {
    if (doc == nullptr || doc->drawing == nullptr || n < 1) return false;
    FrameRecord** slot = &doc->drawing->frames;
    for (SInt16 i = 1; *slot != nullptr && i < n; ++i)
        slot = &(*slot)->next;
    FrameRecord* f = *slot;
    if (f == nullptr) return false;
    *slot = f->next;
    DisposeFrameRecord(&f);
    return true;
}

void OffsetFrameLists(DocWindowRecord* doc, Float64 dx, Float64 dy) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    for (FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next)
        Offset(f->rect, dx, dy);
    for (SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next)
        Offset(v->rect, dx, dy);
    for (Float64* area : {doc->settings->pdfArea, doc->settings->hpglArea})
        if (area[0] != 0.0 || area[1] != 0.0 || area[2] != 0.0 || area[3] != 0.0) Offset(area, dx, dy);
}
