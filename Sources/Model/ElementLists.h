// The element lists of a drawing: one singly linked list per kind behind a dummy head, walked with
// the kind's cursor in the DrawingRecord. Making elements with the current defaults, appending at
// the cursor, seeking the last element, removing and disposing, moving an element to the end.
#pragma once

#include "Model/DocumentRecords.h"

// New records with the document's current attributes; *slot receives the record (next null), or
// null when memory is exhausted. Whatever *slot held before is overwritten.
LineRecord* NewDefaultLine(DocWindowRecord* doc, LineRecord** slot);
ArcRecord* NewDefaultArc(DocWindowRecord* doc, ArcRecord** slot);
TextRecord* NewTextElement(DocWindowRecord* doc, TextRecord** slot);
DimensionRecord* NewDimensionElement(DocWindowRecord* doc, DimensionRecord** slot);
PolylineRecord* NewPolylineElement(DocWindowRecord* doc, PolylineRecord** slot);
SymbolInstanceRecord* NewInstanceElement(DocWindowRecord* doc, SymbolInstanceRecord** slot);
AreaRecord* NewAreaElement(DocWindowRecord* doc, AreaRecord** slot);
// A symbol definition with scale 1.0 and its six empty element lists.
SymbolDefRecord* NewSymbolDefElement(SymbolDefRecord** slot);

// The colour, pattern and width a new element takes: the pen's when the pen mode is 1 and the pen
// is one of 1..8, otherwise the current ones.
void SetDefaultPenAttributes(const DocWindowRecord* doc, ElementPenAttributes* pen);
// The document's drawing scale times the millimetres per drawing unit.
Float64 DefaultScaleFactor(const DocWindowRecord* doc);

// Appends after the element under the kind's cursor (at the tail when the cursor is null); the
// elements behind the cursor follow the new one. The cursor moves to the new element. With record
// true its data is listed and its undo record written. Null when memory is exhausted.
LineRecord* AppendLineAtCursor(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2,
                               Boolean record);
ArcRecord* AppendArcAtCursor(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                             Float64 endAngle, Boolean record);
// Appends at the tail with its undo record and draws it.
LineRecord* AddLine(DocWindowRecord* doc, Float64 x1, Float64 y1, Float64 x2, Float64 y2);
ArcRecord* AddArc(DocWindowRecord* doc, Float64 cx, Float64 cy, Float64 radius, Float64 startAngle,
                  Float64 endAngle);

// The kind's cursor on the last element, or on the head when the list is empty.
void SeekLastLine(DocWindowRecord* doc);
void SeekLastArc(DocWindowRecord* doc);
void SeekLastInstance(DocWindowRecord* doc);
void SeekLastSymbolDef(DocWindowRecord* doc);
void SeekLastArea(DocWindowRecord* doc);
// The last element (the head when empty) without touching the cursor.
void LastText(DocWindowRecord* doc, TextRecord** out);
void LastDimension(DocWindowRecord* doc, DimensionRecord** out);
void LastPolyline(DocWindowRecord* doc, PolylineRecord** out);

// Appending many elements in a row (an import): while one lives, the last element of each list is
// kept, so that seeking it costs the elements appended since instead of the whole list. Anything
// that unlinks an element meanwhile calls ForgetListTails; nothing but appends may run otherwise.
class ScopedListAppends {
  public:
    explicit ScopedListAppends(DocWindowRecord* doc);
    ~ScopedListAppends();
    ScopedListAppends(const ScopedListAppends&) = delete;
    ScopedListAppends& operator=(const ScopedListAppends&) = delete;

  private:
    DocWindowRecord* doc_;
};
void ForgetListTails(DocWindowRecord* doc);

// Frees what the element owns and the element; with recordUndo its removed record is written first.
void DisposeLineElement(DocWindowRecord* doc, LineRecord* line, Boolean recordUndo);
void DisposeArcElement(DocWindowRecord* doc, ArcRecord* arc, Boolean recordUndo);
void DisposeTextElement(DocWindowRecord* doc, TextRecord* text, Boolean recordUndo);
void DisposeDimensionElement(DocWindowRecord* doc, DimensionRecord* dimension, Boolean recordUndo);
void DisposeInstanceElement(DocWindowRecord* doc, SymbolInstanceRecord* instance, Boolean recordUndo);
void DisposePolylineElement(DocWindowRecord* doc, PolylineRecord* polyline, Boolean recordUndo);
void DisposeAreaElement(DocWindowRecord* doc, AreaRecord* area, Boolean recordUndo);

// Unlinks the element from its list and disposes it with its undo record. An element that is not
// in the list is left alone. A cursor on the element moves back to its predecessor, so a walk goes
// on with the element that followed it.
void RemoveLine(DocWindowRecord* doc, LineRecord* line);
void RemoveArc(DocWindowRecord* doc, ArcRecord* arc);
void RemoveText(DocWindowRecord* doc, TextRecord* text);
void RemoveDimension(DocWindowRecord* doc, DimensionRecord* dimension);
void RemoveInstance(DocWindowRecord* doc, SymbolInstanceRecord* instance);
void RemovePolyline(DocWindowRecord* doc, PolylineRecord* polyline);
void RemoveArea(DocWindowRecord* doc, AreaRecord* area);

// Moves the element to the end of its list (drawn last); no undo record, no change mark.
void MoveLineToListEnd(DocWindowRecord* doc, LineRecord* line);
void MoveArcToListEnd(DocWindowRecord* doc, ArcRecord* arc);
void MoveTextToListEnd(DocWindowRecord* doc, TextRecord* text);
void MoveDimensionToListEnd(DocWindowRecord* doc, DimensionRecord* dimension);
void MoveSymbolInstanceToListEnd(DocWindowRecord* doc, SymbolInstanceRecord* instance);
void MovePolylineToListEnd(DocWindowRecord* doc, PolylineRecord* polyline);
void MoveAreaToListEnd(DocWindowRecord* doc, AreaRecord* area);

// Frees a whole list behind its head (the head stays), without undo records.
void DisposeLineList(LineRecord* head);
void DisposeArcList(ArcRecord* head);
void DisposeTextList(TextRecord* head);
void DisposeDimensionList(DimensionRecord* head);
void DisposeInstanceList(SymbolInstanceRecord* head);
void DisposePolylineList(PolylineRecord* head);
void DisposeAreaList(AreaRecord* head);
// Frees a symbol definition with its element lists and heads (no undo records); the caller unlinks it.
void DisposeSymbolDefinition(DocWindowRecord* doc, SymbolDefRecord* definition);
// Frees every element of the document, the symbol definitions with theirs (no undo records); the
// list heads stay, empty.
void DisposeDocumentElements(DocWindowRecord* doc);

// Calls f with the head of each of the seven element lists, in drawing order.
template <typename F> void ForEachElementList(DocWindowRecord* doc, F&& f) {
    f(doc->lineHead);
    f(doc->arcHead);
    f(doc->textHead);
    f(doc->dimensionHead);
    f(doc->polylineHead);
    f(doc->instanceHead);
    f(doc->areaHead);
}
