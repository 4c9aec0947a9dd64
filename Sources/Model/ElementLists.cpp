// Element lists: one mechanism for every kind, over the kind's head, cursor and record functions.
#include "Model/ElementLists.h"

#include "Model/DocumentHooks.h"
#include "Model/SpatialIndex.h"
#include "Model/DrawingUnits.h"
#include "Model/UndoJournal.h"

#include <cmath>

namespace {

// What the list mechanism needs to know of a kind.
template <typename T> struct Kind;

template <> struct Kind<LineRecord> {
    static constexpr SInt16 kind = kLineElement;
    static LineRecord*& Head(DocWindowRecord* doc) { return doc->lineHead; }
    static LineRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.lineCursor; }
    static void Record(DocWindowRecord* doc, LineRecord* e) { RecordUndoLine(doc, e, false); }
    static LineRecord*& Tail(DocWindowRecord* doc) { return doc->drawing->tails.line; }
    static void Free(LineRecord** slot) { DisposeLineRecord(slot); }
};
template <> struct Kind<ArcRecord> {
    static constexpr SInt16 kind = kArcElement;
    static ArcRecord*& Head(DocWindowRecord* doc) { return doc->arcHead; }
    static ArcRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.arcCursor; }
    static void Record(DocWindowRecord* doc, ArcRecord* e) { RecordUndoArc(doc, e, false); }
    static ArcRecord*& Tail(DocWindowRecord* doc) { return doc->drawing->tails.arc; }
    static void Free(ArcRecord** slot) { DisposeArcRecord(slot); }
};
template <> struct Kind<TextRecord> {
    static constexpr SInt16 kind = kTextElement;
    static TextRecord*& Head(DocWindowRecord* doc) { return doc->textHead; }
    static TextRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.textCursor; }
    static void Record(DocWindowRecord* doc, TextRecord* e) { RecordUndoText(doc, e, false); }
    static TextRecord*& Tail(DocWindowRecord* doc) { return doc->drawing->tails.text; }
    static void Free(TextRecord** slot) { DisposeTextRecord(slot); }
};
template <> struct Kind<DimensionRecord> {
    static constexpr SInt16 kind = kDimensionElement;
    static DimensionRecord*& Head(DocWindowRecord* doc) { return doc->dimensionHead; }
    static DimensionRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.dimensionCursor; }
    static void Record(DocWindowRecord* doc, DimensionRecord* e) { RecordUndoDimension(doc, e, false); }
    static DimensionRecord*& Tail(DocWindowRecord* doc) { return doc->drawing->tails.dimension; }
    static void Free(DimensionRecord** slot) { DisposeDimensionRecord(slot); }
};
template <> struct Kind<PolylineRecord> {
    static constexpr SInt16 kind = kPolylineElement;
    static PolylineRecord*& Head(DocWindowRecord* doc) { return doc->polylineHead; }
    static PolylineRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.polylineCursor; }
    static void Record(DocWindowRecord* doc, PolylineRecord* e) { RecordUndoPolyline(doc, e, false); }
    static PolylineRecord*& Tail(DocWindowRecord* doc) { return doc->drawing->tails.polyline; }
    static void Free(PolylineRecord** slot) { DisposePolylineRecord(slot); }
};
template <> struct Kind<SymbolInstanceRecord> {
    static constexpr SInt16 kind = kSymbolInstanceElement;
    static SymbolInstanceRecord*& Head(DocWindowRecord* doc) { return doc->instanceHead; }
    static SymbolInstanceRecord*& Cursor(DocWindowRecord* doc) {
        return doc->drawing->cursors.instanceCursor;
    }
    static void Record(DocWindowRecord* doc, SymbolInstanceRecord* e) {
        RecordUndoSymbolInstance(doc, e, false);
    }
    static SymbolInstanceRecord*& Tail(DocWindowRecord* doc) { return doc->drawing->tails.instance; }
    static void Free(SymbolInstanceRecord** slot) { DisposeSymbolInstanceRecord(slot); }
};
template <> struct Kind<AreaRecord> {
    static constexpr SInt16 kind = kAreaElement;
    static AreaRecord*& Head(DocWindowRecord* doc) { return doc->areaHead; }
    static AreaRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.areaCursor; }
    static void Record(DocWindowRecord* doc, AreaRecord* e) { RecordUndoArea(doc, e, false); }
    static AreaRecord*& Tail(DocWindowRecord* doc) { return doc->drawing->tails.area; }
    static void Free(AreaRecord** slot) { DisposeAreaRecord(slot); }
};

template <typename T> T* LastOf(T* head) {
    T* last = head;
    while (last != nullptr && last->next != nullptr)
        last = last->next;
    return last;
}

// While a bulk import appends, the walk starts at the last tail seen: every element between it and
// the true tail was appended since, so each element is passed once over the whole run.
template <typename T> T* TailOf(DocWindowRecord* doc) {
    T* head = Kind<T>::Head(doc);
    if (head == nullptr || !doc->drawing->tails.active) return LastOf(head);
    T*& tail = Kind<T>::Tail(doc);
    if (tail == nullptr) tail = head;
    while (tail->next != nullptr)
        tail = tail->next;
    return tail;
}

template <typename T> void SeekLast(DocWindowRecord* doc) {
    Kind<T>::Cursor(doc) = TailOf<T>(doc);
}

template <typename T> void DisposeElement(DocWindowRecord* doc, T* element, Boolean recordUndo) {
    if (element == nullptr) return;
    if (recordUndo) Kind<T>::Record(doc, element);
    Kind<T>::Free(&element);
}

// The walk stops at the tail, so an element that is not in the list is never passed.
template <typename T> T* PredecessorOf(T* head, const T* element) {
    for (T* e = head; e != nullptr; e = e->next)
        if (e->next == element) return e;
    return nullptr;
}

template <typename T> void Remove(DocWindowRecord* doc, T* element) {
    T* head = Kind<T>::Head(doc);
    if (element == nullptr || element == head) return;
    T* before = PredecessorOf(head, element);
    if (before == nullptr) return;
    SpatialIndexRemoving(doc, Kind<T>::kind, element);
    ForgetListTails(doc);
    before->next = element->next;
    if (Kind<T>::Cursor(doc) == element) Kind<T>::Cursor(doc) = before;
    DisposeElement(doc, element, true);
    SpatialIndexRemoved(doc, Kind<T>::kind);
}

template <typename T> void MoveToEnd(DocWindowRecord* doc, T* element) {
    T* head = Kind<T>::Head(doc);
    if (element == nullptr || element == head || element->next == nullptr) return;
    T* before = PredecessorOf(head, element);
    Kind<T>::Cursor(doc) = before;
    if (before == nullptr) return;
    SpatialIndexStale(doc);
    ForgetListTails(doc);
    before->next = element->next;
    T* last = LastOf(head);
    last->next = element;
    element->next = nullptr;
    Kind<T>::Cursor(doc) = last;
}

template <typename T> void DisposeList(T* head) {
    if (head == nullptr) return;
    T* e = head->next;
    head->next = nullptr;
    while (e != nullptr) {
        T* next = e->next;
        Kind<T>::Free(&e);
        e = next;
    }
}

// Links a new element after the cursor (or at the tail), keeping what followed the cursor.
template <typename T, typename Make> T* AppendAtCursor(DocWindowRecord* doc, Make make) {
    T*& cursor = Kind<T>::Cursor(doc);
    if (cursor == nullptr) cursor = TailOf<T>(doc);
    T* successor = cursor->next;
    T* element = make(&cursor->next);
    if (element == nullptr) {
        cursor->next = successor;
        return nullptr;
    }
    element->next = successor;
    cursor = element;
    if (successor == nullptr)
        SpatialIndexAppended(doc, Kind<T>::kind, element);
    else
        SpatialIndexStale(doc);
    return element;
}

} // namespace

Float64 DefaultScaleFactor(const DocWindowRecord* doc) {
    return doc->settings->drawingScale * UnitToMillimetres(doc);
}

void SetDefaultPenAttributes(const DocWindowRecord* doc, ElementPenAttributes* pen) {
    const DocSettings* s = doc->settings;
    SInt16 number = s->currentPen;
    if (s->penMode == 1 && number >= 1 && number <= 8) {
        pen->color = s->penColors[number - 1];
        pen->pattern = 0;
        pen->penWidth100 = SInt16(std::lround(s->penWidths[number - 1] * 100.0));
    } else {
        pen->color = s->currentColor;
        pen->pattern = s->currentPattern;
        pen->penWidth100 = s->currentPenWidth100;
    }
}

LineRecord* NewDefaultLine(DocWindowRecord* doc, LineRecord** slot) {
    LineRecord* line = *slot = NewLineRecord();
    if (line == nullptr) return nullptr;
    const DocSettings* s = doc->settings;
    line->group = s->currentGroup;
    line->layer = s->currentLayer;
    line->pen = s->currentPen;
    line->lineType = s->currentLineType;
    line->scaleFactor = DefaultScaleFactor(doc);
    SetDefaultPenAttributes(doc, &line->penBlock);
    if (s->markNewLines) line->flags |= kLineOpenStart | kLineOpenEnd;
    if (s->startMarkKind != 0) line->flags = SetLineStartMarkKind(line->flags, s->startMarkKind);
    if (s->endMarkKind != 0) line->flags = SetLineEndMarkKind(line->flags, s->endMarkKind);
    return line;
}

ArcRecord* NewDefaultArc(DocWindowRecord* doc, ArcRecord** slot) {
    ArcRecord* arc = *slot = NewArcRecord();
    if (arc == nullptr) return nullptr;
    const DocSettings* s = doc->settings;
    arc->group = s->currentGroup;
    arc->layer = s->currentLayer;
    arc->pen = s->currentPen;
    arc->lineType = s->currentLineType;
    arc->scaleFactor = DefaultScaleFactor(doc);
    SetDefaultPenAttributes(doc, &arc->penBlock);
    return arc;
}

TextRecord* NewTextElement(DocWindowRecord* doc, TextRecord** slot) {
    TextRecord* text = *slot = NewTextRecord();
    if (text == nullptr) return nullptr;
    text->scaleFactor = DefaultScaleFactor(doc);
    SetDefaultPenAttributes(doc, &text->penBlock);
    return text;
}

DimensionRecord* NewDimensionElement(DocWindowRecord* doc, DimensionRecord** slot) {
    DimensionRecord* dimension = *slot = NewDimensionRecord();
    if (dimension == nullptr) return nullptr;
    dimension->scaleFactor = DefaultScaleFactor(doc);
    SetDefaultPenAttributes(doc, &dimension->penBlock);
    return dimension;
}

PolylineRecord* NewPolylineElement(DocWindowRecord* doc, PolylineRecord** slot) {
    PolylineRecord* polyline = *slot = NewPolylineRecord();
    if (polyline == nullptr) return nullptr;
    polyline->scaleFactor = DefaultScaleFactor(doc);
    SetDefaultPenAttributes(doc, &polyline->penBlock);
    return polyline;
}

SymbolInstanceRecord* NewInstanceElement(DocWindowRecord* doc, SymbolInstanceRecord** slot) {
    SymbolInstanceRecord* instance = *slot = NewSymbolInstanceRecord();
    if (instance == nullptr) return nullptr;
    instance->scaleFactor = DefaultScaleFactor(doc);
    return instance;
}

AreaRecord* NewAreaElement(DocWindowRecord* doc, AreaRecord** slot) {
    AreaRecord* area = *slot = NewAreaRecord();
    if (area == nullptr) return nullptr;
    area->scaleFactor = DefaultScaleFactor(doc);
    SetDefaultPenAttributes(doc, &area->penBlock);
    area->lastHoleIndex = -1;
    return area;
}

SymbolDefRecord* NewSymbolDefElement(SymbolDefRecord** slot) {
    SymbolDefRecord* def = *slot = NewSymbolDefRecord();
    if (def == nullptr) return nullptr;
    def->scale = 1.0;
    def->lineHead = NewLineRecord();
    def->arcHead = NewArcRecord();
    def->textHead = NewTextRecord();
    def->dimensionHead = NewDimensionRecord();
    def->polylineHead = NewPolylineRecord();
    def->areaHead = NewAreaRecord();
    if (def->lineHead == nullptr || def->arcHead == nullptr || def->textHead == nullptr ||
        def->dimensionHead == nullptr || def->polylineHead == nullptr || def->areaHead == nullptr) {
        DisposeSymbolDefinition(nullptr, def);
        *slot = nullptr;
        return nullptr;
    }
    return def;
}

LineRecord* AppendLineAtCursor(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                               Boolean record) {
    MarkDocumentChanged(doc);
    LineRecord* line =
        AppendAtCursor<LineRecord>(doc, [doc](LineRecord** slot) { return NewDefaultLine(doc, slot); });
    if (line == nullptr) return nullptr;
    line->x1 = x1, line->y1 = y1, line->x2 = x2, line->y2 = y2;
    NormalizeLineDirection(line);
    if (record) {
        gDocumentHooks.listLineInfo(doc);
        RecordUndoLine(doc, line, true);
    }
    return line;
}

ArcRecord* AppendArcAtCursor(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                             Float64 endAngle, Boolean record) {
    MarkDocumentChanged(doc);
    ArcRecord* arc =
        AppendAtCursor<ArcRecord>(doc, [doc](ArcRecord** slot) { return NewDefaultArc(doc, slot); });
    if (arc == nullptr) return nullptr;
    arc->cx = cx, arc->cy = cy, arc->radius = radius, arc->startAngle = startAngle, arc->endAngle = endAngle;
    if (record) {
        gDocumentHooks.listArcInfo(doc);
        RecordUndoArc(doc, arc, true);
    }
    return arc;
}

LineRecord* AddLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
    SeekLastLine(doc);
    LineRecord* line = AppendLineAtCursor(doc, x1, y1, x2, y2, true);
    if (line != nullptr) gDocumentHooks.drawElement(doc, kLineElement, line);
    return line;
}

ArcRecord* AddArc(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                  Float64 endAngle) {
    SeekLastArc(doc);
    ArcRecord* arc = AppendArcAtCursor(doc, cx, cy, radius, startAngle, endAngle, true);
    if (arc != nullptr) gDocumentHooks.drawElement(doc, kArcElement, arc);
    return arc;
}

void SeekLastLine(DocWindowRecord* doc) {
    SeekLast<LineRecord>(doc);
}
void SeekLastArc(DocWindowRecord* doc) {
    SeekLast<ArcRecord>(doc);
}
void SeekLastInstance(DocWindowRecord* doc) {
    SeekLast<SymbolInstanceRecord>(doc);
}
void SeekLastArea(DocWindowRecord* doc) {
    SeekLast<AreaRecord>(doc);
}
void SeekLastSymbolDef(DocWindowRecord* doc) {
    doc->drawing->cursors.symbolDefCursor = LastOf(doc->symbolDefHead);
}
void LastText(DocWindowRecord* doc, TextRecord** out) {
    *out = TailOf<TextRecord>(doc);
}
void LastDimension(DocWindowRecord* doc, DimensionRecord** out) {
    *out = TailOf<DimensionRecord>(doc);
}
void LastPolyline(DocWindowRecord* doc, PolylineRecord** out) {
    *out = TailOf<PolylineRecord>(doc);
}

ScopedListAppends::ScopedListAppends(DocWindowRecord* doc) : doc_(doc) {
    doc_->drawing->tails = ListTails{};
    doc_->drawing->tails.active = true;
}
ScopedListAppends::~ScopedListAppends() {
    doc_->drawing->tails = ListTails{};
}
void ForgetListTails(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return;
    Boolean active = doc->drawing->tails.active;
    doc->drawing->tails = ListTails{};
    doc->drawing->tails.active = active;
}

void DisposeLineElement(DocWindowRecord* doc, LineRecord* e, Boolean recordUndo) {
    DisposeElement(doc, e, recordUndo);
}
void DisposeArcElement(DocWindowRecord* doc, ArcRecord* e, Boolean recordUndo) {
    DisposeElement(doc, e, recordUndo);
}
void DisposeTextElement(DocWindowRecord* doc, TextRecord* e, Boolean recordUndo) {
    DisposeElement(doc, e, recordUndo);
}
void DisposeDimensionElement(DocWindowRecord* doc, DimensionRecord* e, Boolean recordUndo) {
    DisposeElement(doc, e, recordUndo);
}
void DisposeInstanceElement(DocWindowRecord* doc, SymbolInstanceRecord* e, Boolean recordUndo) {
    DisposeElement(doc, e, recordUndo);
}
void DisposePolylineElement(DocWindowRecord* doc, PolylineRecord* e, Boolean recordUndo) {
    DisposeElement(doc, e, recordUndo);
}
void DisposeAreaElement(DocWindowRecord* doc, AreaRecord* e, Boolean recordUndo) {
    DisposeElement(doc, e, recordUndo);
}

void RemoveLine(DocWindowRecord* doc, LineRecord* e) {
    Remove(doc, e);
}
void RemoveArc(DocWindowRecord* doc, ArcRecord* e) {
    Remove(doc, e);
}
void RemoveText(DocWindowRecord* doc, TextRecord* e) {
    Remove(doc, e);
}
void RemoveDimension(DocWindowRecord* doc, DimensionRecord* e) {
    Remove(doc, e);
}
void RemoveInstance(DocWindowRecord* doc, SymbolInstanceRecord* e) {
    Remove(doc, e);
}
void RemovePolyline(DocWindowRecord* doc, PolylineRecord* e) {
    Remove(doc, e);
}
void RemoveArea(DocWindowRecord* doc, AreaRecord* e) {
    Remove(doc, e);
}

void MoveLineToListEnd(DocWindowRecord* doc, LineRecord* e) {
    MoveToEnd(doc, e);
}
void MoveArcToListEnd(DocWindowRecord* doc, ArcRecord* e) {
    MoveToEnd(doc, e);
}
void MoveTextToListEnd(DocWindowRecord* doc, TextRecord* e) {
    MoveToEnd(doc, e);
}
void MoveDimensionToListEnd(DocWindowRecord* doc, DimensionRecord* e) {
    MoveToEnd(doc, e);
}
void MoveSymbolInstanceToListEnd(DocWindowRecord* doc, SymbolInstanceRecord* e) {
    MoveToEnd(doc, e);
}
void MovePolylineToListEnd(DocWindowRecord* doc, PolylineRecord* e) {
    MoveToEnd(doc, e);
}
void MoveAreaToListEnd(DocWindowRecord* doc, AreaRecord* e) {
    MoveToEnd(doc, e);
}

void DisposeLineList(LineRecord* head) {
    DisposeList(head);
}
void DisposeArcList(ArcRecord* head) {
    DisposeList(head);
}
void DisposeTextList(TextRecord* head) {
    DisposeList(head);
}
void DisposeDimensionList(DimensionRecord* head) {
    DisposeList(head);
}
void DisposeInstanceList(SymbolInstanceRecord* head) {
    DisposeList(head);
}
void DisposePolylineList(PolylineRecord* head) {
    DisposeList(head);
}
void DisposeAreaList(AreaRecord* head) {
    DisposeList(head);
}

void DisposeSymbolDefinition(DocWindowRecord* doc, SymbolDefRecord* def) {
    if (def == nullptr) return;
    if (doc != nullptr && doc->drawing != nullptr && doc->drawing->cursors.symbolDefCursor == def)
        doc->drawing->cursors.symbolDefCursor = nullptr;
    DisposeSymbolDefRecord(&def);
}

void DisposeDocumentElements(DocWindowRecord* doc) {
    SpatialIndexStale(doc);
    ForgetListTails(doc);
    DisposeLineList(doc->lineHead);
    DisposeArcList(doc->arcHead);
    DisposeTextList(doc->textHead);
    DisposeDimensionList(doc->dimensionHead);
    DisposeInstanceList(doc->instanceHead);
    DisposePolylineList(doc->polylineHead);
    DisposeAreaList(doc->areaHead);
    if (doc->symbolDefHead == nullptr) return;
    SymbolDefRecord* def = doc->symbolDefHead->next;
    doc->symbolDefHead->next = nullptr;
    while (def != nullptr) {
        SymbolDefRecord* next = def->next;
        DisposeSymbolDefinition(doc, def);
        def = next;
    }
}
