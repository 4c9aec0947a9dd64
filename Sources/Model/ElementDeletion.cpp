// Deleting the selected or marked elements: one walk of each list that unlinks as it goes. The
// spatial index is told once that it is stale rather than element by element, which would search
// its appended tail for every element.
#include "Model/ElementDeletion.h"

#include "Model/ElementLists.h"
#include "Model/SpatialIndex.h"

namespace {

void DisposeWithUndo(DocWindowRecord* doc, LineRecord* e) {
    DisposeLineElement(doc, e, true);
}
void DisposeWithUndo(DocWindowRecord* doc, ArcRecord* e) {
    DisposeArcElement(doc, e, true);
}
void DisposeWithUndo(DocWindowRecord* doc, TextRecord* e) {
    DisposeTextElement(doc, e, true);
}
void DisposeWithUndo(DocWindowRecord* doc, DimensionRecord* e) {
    DisposeDimensionElement(doc, e, true);
}
void DisposeWithUndo(DocWindowRecord* doc, PolylineRecord* e) {
    DisposePolylineElement(doc, e, true);
}
void DisposeWithUndo(DocWindowRecord* doc, SymbolInstanceRecord* e) {
    DisposeInstanceElement(doc, e, true);
}
void DisposeWithUndo(DocWindowRecord* doc, AreaRecord* e) {
    DisposeAreaElement(doc, e, true);
}

template <typename T, typename Flagged>
long DeleteFromList(DocWindowRecord* doc, T* head, T*& cursor, Flagged flagged) {
    if (head == nullptr) return 0;
    long count = 0;
    T* before = head;
    while (T* e = before->next) {
        if (!flagged(e)) {
            before = e;
            continue;
        }
        before->next = e->next;
        if (cursor == e) cursor = before;
        DisposeWithUndo(doc, e);
        ++count;
    }
    return count;
}

template <typename Flagged> long DeleteFlagged(DocWindowRecord* doc, Flagged flagged) {
    if (doc == nullptr || doc->drawing == nullptr) return 0;
    // Stale before the first record is written: the journal's change notes then cost nothing.
    SpatialIndexStale(doc);
    ListWalkCursors& c = doc->drawing->cursors;
    long n = DeleteFromList(doc, doc->lineHead, c.lineCursor, flagged);
    n += DeleteFromList(doc, doc->arcHead, c.arcCursor, flagged);
    n += DeleteFromList(doc, doc->textHead, c.textCursor, flagged);
    n += DeleteFromList(doc, doc->dimensionHead, c.dimensionCursor, flagged);
    n += DeleteFromList(doc, doc->polylineHead, c.polylineCursor, flagged);
    n += DeleteFromList(doc, doc->instanceHead, c.instanceCursor, flagged);
    n += DeleteFromList(doc, doc->areaHead, c.areaCursor, flagged);
    if (n > 0) {
        doc->drawing->changed = true;
        RequestRedraw(doc);
    }
    return n;
}

} // namespace

long DeleteSelectedElements(DocWindowRecord* doc) {
    return DeleteFlagged(doc, [](const auto* e) { return e->selected != 0; });
}

long DeleteMarkedElements(DocWindowRecord* doc) {
    return DeleteFlagged(doc, [](const auto* e) { return e->marked != 0; });
}
