// Drawing repairs, each one undo step over the drawing's own elements.
#include "Model/Repairs.h"

#include "Model/ElementLists.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Platform/MemoryManager.h"
#include "Platform/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>

namespace {

constexpr Float64 kLargestCoordinate = 1e30;

// One undo step, opened at the first change: a repair that finds nothing leaves no empty step.
class RepairStep {
  public:
    explicit RepairStep(DocWindowRecord* doc) : doc_(doc) {}
    ~RepairStep() {
        if (open_) EndUndoStep(doc_);
    }
    RepairStep(const RepairStep&) = delete;
    RepairStep& operator=(const RepairStep&) = delete;
    void Open() {
        if (!open_) BeginUndoStep(doc_);
        open_ = true;
    }

  private:
    DocWindowRecord* doc_;
    bool open_ = false;
};

// Visits every real of an element that places or sizes it.
template <typename F> void VisitReals(LineRecord* e, F f) {
    for (Float64* v : {&e->x1, &e->y1, &e->x2, &e->y2})
        f(*v);
}
template <typename F> void VisitReals(ArcRecord* e, F f) {
    for (Float64* v : {&e->cx, &e->cy, &e->radius, &e->startAngle, &e->endAngle})
        f(*v);
}
template <typename F> void VisitReals(TextRecord* e, F f) {
    for (Float64* v : {&e->x, &e->y, &e->x2, &e->y2, &e->angle, &e->slant, &e->textHeight, &e->lineSpacing,
                       &e->frameDistance})
        f(*v);
    for (Float64& v : e->corners)
        f(v);
}
template <typename F> void VisitReals(DimensionRecord* e, F f) {
    for (Float64* v : {&e->x1, &e->y1, &e->x2, &e->y2, &e->auxX, &e->auxY, &e->auxValue, &e->textX, &e->textY,
                       &e->dimLength, &e->textHeight})
        f(*v);
    for (Float64& v : e->frame)
        f(v);
}
template <typename F> void VisitReals(PolylineRecord* e, F f) {
    for (Float64& v : e->params)
        f(v);
    if (e->points == nullptr || e->pointCount <= 0) return;
    Size reals = std::min<Size>(Size(e->pointCount) * 2, GetHandleSize(e->points) / Size(sizeof(Float64)));
    auto* p = reinterpret_cast<Float64*>(*e->points);
    for (Size i = 0; i < reals; ++i)
        f(p[i]);
}
template <typename F> void VisitOutline(Handle outline, F f) {
    if (outline == nullptr || GetHandleSize(outline) < kOutlineHeaderSize) return;
    Size reals = (Size(std::abs(SInt32(OutlineLastIndex(outline)))) + 1) * 2;
    reals = std::min<Size>(reals, (GetHandleSize(outline) - kOutlineHeaderSize) / Size(sizeof(Float64)));
    Float64* p = OutlinePoints(outline);
    for (Size i = 0; i < reals; ++i)
        f(p[i]);
}
template <typename F> void VisitReals(AreaRecord* e, F f) {
    for (Float64* v : {&e->hatchAngle, &e->hatchSpacing, &e->minX, &e->minY, &e->maxX, &e->maxY})
        f(*v);
    VisitOutline(e->outline, f);
    if (e->holes == nullptr || e->lastHoleIndex < 0) return;
    Size holes = std::min<Size>(Size(e->lastHoleIndex) + 1, GetHandleSize(e->holes) / Size(sizeof(Handle)));
    auto* handles = reinterpret_cast<Handle*>(*e->holes);
    for (Size i = 0; i < holes; ++i)
        VisitOutline(handles[i], f);
}
template <typename F> void VisitReals(SymbolInstanceRecord* e, F f) {
    for (Float64* v : {&e->x, &e->y, &e->angle, &e->xScale, &e->yScale})
        f(*v);
    for (Float64& v : e->frame)
        f(v);
}

// Repairs one list behind its head; journalled when it is one of the drawing's own lists.
template <typename T> SInt32 RepairList(DocWindowRecord* doc, RepairStep* step, T* head, bool journal) {
    SInt32 total = 0;
    for (T* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next) {
        SInt32 bad = 0;
        VisitReals(e, [&](Float64& v) { bad += IsInvalidCoordinate(v) ? 1 : 0; });
        if (bad == 0) continue;
        step->Open();
        if (journal) RecordUndoElement(doc, e, false);
        VisitReals(e, [](Float64& v) {
            if (IsInvalidCoordinate(v)) v = 0;
        });
        if (journal) RecordUndoElement(doc, e, true);
        total += bad;
    }
    return total;
}

void ReportCount(SInt16 message, SInt32 count) {
    Str255 text;
    NumToString(count, text);
    ShowErrorAlert(message, text);
}

template <typename T> SInt32 LockList(DocWindowRecord* doc, RepairStep* step, T* head, Boolean lock) {
    SInt32 changed = 0;
    for (T* e = head->next; e != nullptr; e = e->next) {
        if (!IsLayerVisible(doc->layerVisible, e->layer)) continue;
        UInt16 flags = UInt16(e->penBlock.penFlags);
        UInt16 wanted = lock ? UInt16(flags | kPenFlagDimmed) : UInt16(flags & ~kPenFlagDimmed);
        if (wanted == flags) continue;
        step->Open();
        RecordUndoElement(doc, e, false);
        e->penBlock.penFlags = SInt16(wanted);
        RecordUndoElement(doc, e, true);
        ++changed;
    }
    return changed;
}

} // namespace

Boolean IsInvalidCoordinate(Float64 value) {
    return !std::isfinite(value) || std::fabs(value) >= kLargestCoordinate;
}

SInt32 RepairInvalidCoordinates(DocWindowRecord* doc, Boolean skipConfirmation, Boolean report) {
    const Str255 empty = {0};
    if (!skipConfirmation && !AskConfirm(kRepairCoordinatesQuestion, empty, empty)) return 0;
    SInt32 count = 0;
    {
        RepairStep step(doc);
        count += RepairList(doc, &step, doc->lineHead, true);
        count += RepairList(doc, &step, doc->arcHead, true);
        count += RepairList(doc, &step, doc->textHead, true);
        count += RepairList(doc, &step, doc->dimensionHead, true);
        count += RepairList(doc, &step, doc->polylineHead, true);
        count += RepairList(doc, &step, doc->areaHead, true);
        count += RepairList(doc, &step, doc->instanceHead, true);
        for (SymbolDefRecord* def = doc->symbolDefHead != nullptr ? doc->symbolDefHead->next : nullptr;
             def != nullptr; def = def->next) {
            count += RepairList(doc, &step, def->lineHead, false);
            count += RepairList(doc, &step, def->arcHead, false);
            count += RepairList(doc, &step, def->textHead, false);
            count += RepairList(doc, &step, def->dimensionHead, false);
            count += RepairList(doc, &step, def->polylineHead, false);
            count += RepairList(doc, &step, def->areaHead, false);
        }
    }
    if (count > 0) {
        MarkDocumentChanged(doc);
        RequestRedraw(doc);
    }
    if (report) {
        if (count == 1)
            ShowErrorAlert(kOneInvalidCoordinateMessage, empty);
        else
            ReportCount(kInvalidCoordinatesMessage, count);
    }
    return count;
}

SInt32 SetLockOnVisibleLayers(DocWindowRecord* doc, Boolean lock) {
    SInt32 changed = 0;
    {
        RepairStep step(doc);
        changed = LockList(doc, &step, doc->lineHead, lock) + LockList(doc, &step, doc->arcHead, lock) +
                  LockList(doc, &step, doc->textHead, lock) + LockList(doc, &step, doc->dimensionHead, lock) +
                  LockList(doc, &step, doc->polylineHead, lock) + LockList(doc, &step, doc->areaHead, lock);
    }
    if (changed > 0) {
        MarkDocumentChanged(doc);
        RequestRedraw(doc);
    }
    return changed;
}

SInt32 RemoveDuplicateLines(DocWindowRecord* doc, Boolean report) {
    // Compared by their bits: equal lines are equal bit for bit, and a damaged value orders too.
    using Key = std::tuple<SInt16, UInt64, UInt64, UInt64, UInt64>;
    auto bits = [](Float64 v) {
        UInt64 b;
        std::memcpy(&b, &v, sizeof b);
        return b;
    };
    std::map<Key, bool> seen;
    SInt32 removed = 0;
    {
        RepairStep step(doc);
        for (LineRecord* e = doc->lineHead->next; e != nullptr;) {
            LineRecord* next = e->next;
            // Stored lines are ordered, but one read from an old file may not be: either way round counts.
            Key forward{e->layer, bits(e->x1), bits(e->y1), bits(e->x2), bits(e->y2)},
                backward{e->layer, bits(e->x2), bits(e->y2), bits(e->x1), bits(e->y1)};
            Key key = backward < forward ? backward : forward;
            if (!seen.emplace(key, true).second) {
                step.Open();
                RemoveLine(doc, e);
                ++removed;
            }
            e = next;
        }
    }
    if (removed > 0) {
        MarkDocumentChanged(doc);
        RequestRedraw(doc);
    }
    if (report) ReportCount(kDuplicateLinesMessage, removed);
    return removed;
}

SInt32 CountFramedTexts(DocWindowRecord* doc, Boolean report) {
    SInt32 count = 0;
    for (TextRecord* e = doc->textHead->next; e != nullptr; e = e->next)
        count += IsFramedTextBox(e) ? 1 : 0;
    if (report) ReportCount(kFramedTextCountMessage, count);
    return count;
}
