// Tool group 8: tool 0 deletes a picked element, or with the answer G its whole key group; tool 1
// deletes at one click what a dragged rectangle holds or every element of a typed kind; tool 2
// collects a selection the same way, adds clicked elements to it and deletes it on Return.
#include "Tools/EraseTools.h"

#include "Model/AttributeChange.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementDeletion.h"
#include "Model/ElementLists.h"
#include "Model/SelectionCriteria.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <string>

namespace {

constexpr SInt16 kEraseRow = 8 * 12;
constexpr SInt16 kAllKinds = 127;
// The kind the rectangle of tool 1 leaves alone; tool 2's rectangle takes every kind.
constexpr int kAtOnceSkippedKind = kSelectLines;

// The kind codes of PickUpElementAttributes as element kinds.
bool PickedKind(SInt16 code, ElementKind* kind) {
    constexpr ElementKind kinds[7] = {
        kLineElement,           kArcElement,      kTextElement, kDimensionElement,
        kSymbolInstanceElement, kPolylineElement, kAreaElement};
    if (code < 0 || code >= 7) return false;
    *kind = kinds[code];
    return true;
}

void* CursorElement(DrawingRecord* d, ElementKind kind) {
    ListWalkCursors& c = d->cursors;
    switch (kind) {
    case kLineElement:
        return c.lineCursor;
    case kArcElement:
        return c.arcCursor;
    case kTextElement:
        return c.textCursor;
    case kDimensionElement:
        return c.dimensionCursor;
    case kPolylineElement:
        return c.polylineCursor;
    case kSymbolInstanceElement:
        return c.instanceCursor;
    case kAreaElement:
        return c.areaCursor;
    }
    return nullptr;
}

void SetCursorElement(DrawingRecord* d, ElementKind kind, void* e) {
    ListWalkCursors& c = d->cursors;
    switch (kind) {
    case kLineElement:
        c.lineCursor = static_cast<LineRecord*>(e);
        break;
    case kArcElement:
        c.arcCursor = static_cast<ArcRecord*>(e);
        break;
    case kTextElement:
        c.textCursor = static_cast<TextRecord*>(e);
        break;
    case kDimensionElement:
        c.dimensionCursor = static_cast<DimensionRecord*>(e);
        break;
    case kPolylineElement:
        c.polylineCursor = static_cast<PolylineRecord*>(e);
        break;
    case kSymbolInstanceElement:
        c.instanceCursor = static_cast<SymbolInstanceRecord*>(e);
        break;
    case kAreaElement:
        c.areaCursor = static_cast<AreaRecord*>(e);
        break;
    }
}

void RemoveElement(DocWindowRecord* doc, ElementKind kind, void* e) {
    switch (kind) {
    case kLineElement:
        return RemoveLine(doc, static_cast<LineRecord*>(e));
    case kArcElement:
        return RemoveArc(doc, static_cast<ArcRecord*>(e));
    case kTextElement:
        return RemoveText(doc, static_cast<TextRecord*>(e));
    case kDimensionElement:
        return RemoveDimension(doc, static_cast<DimensionRecord*>(e));
    case kPolylineElement:
        return RemovePolyline(doc, static_cast<PolylineRecord*>(e));
    case kSymbolInstanceElement:
        return RemoveInstance(doc, static_cast<SymbolInstanceRecord*>(e));
    case kAreaElement:
        return RemoveArea(doc, static_cast<AreaRecord*>(e));
    }
}

// Selects inside a dragged rectangle (the kinds switched on) or every element of the kind typed in
// the command field; true when anything was selected.
bool SelectForDeletion(ToolStep& s, bool everyKind, bool highlight) {
    const std::string name = CommandFieldUTF8Text(s.doc);
    if (!name.empty()) return SelectAllOfKind(s.doc, name, highlight);
    if (s.typed != 0 || !TrackDragRectangle(s.doc, false)) return false;
    Boolean kinds[kSelectKindCount];
    std::fill(kinds, kinds + kSelectKindCount, Boolean(1));
    if (!everyKind) kinds[kAtOnceSkippedKind] = 0;
    const DrawingViewState& v = s.d->view;
    return SelectInRectWithCriteria(s.doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                    v.dragRectY + v.dragRectHeight, kinds);
}

void DeleteSelectionStep(ToolStep& s) {
    BeginUndoStep(s.doc);
    DeleteSelectedElements(s.doc);
    EndUndoStep(s.doc);
    RedrawWindow(s.doc);
    ResetToolState(s.doc, 0);
}

// Tool 0.

void PickToDeleteStep(ToolStep& s) {
    if (s.typed != 0 || !PickUpElementAttributes(s.doc, kAllKinds)) return;
    ElementKind kind;
    if (!PickedKind(s.t->picked.kind, &kind)) return;
    if (s.t->picked.key == 0) {
        DeletePickedElement(s.doc);
        RedrawWindow(s.doc);
        ResetToolState(s.doc, 0);
        return;
    }
    // Held here, so that a redraw or a hover that moves the list cursor cannot swap it.
    s.t->pickedOther = CursorElement(s.d, kind);
    ResetToolState(s.doc, 1);
    CommandFieldSetChar(s.doc, 'E');
}

void KeyGroupAnswerStep(ToolStep& s) {
    if (s.typed == 0) return;
    char letter = 'E';
    GetTypedModeLetter(s.doc, &letter);
    ElementKind kind;
    void* e = s.t->pickedOther;
    if (!PickedKind(s.t->picked.kind, &kind)) return ResetToolState(s.doc, 0);
    if (letter == 'G') {
        // Areas keep their marks when the rest are cleared: only the key's own may be deleted.
        DeselectAll(s.doc, true);
        ClearAreaMarks(s.doc);
        MarkElementsOfKey(s.doc, s.t->picked.key);
        BeginUndoStep(s.doc);
        DeleteMarkedElements(s.doc);
        EndUndoStep(s.doc);
    } else if (ElementInDocument(s.doc, kind, e)) {
        SetCursorElement(s.d, kind, e);
        DeletePickedElement(s.doc);
    }
    RedrawWindow(s.doc);
    ResetToolState(s.doc, 0);
}

// Tool 1.

void DeleteAtOnceStep(ToolStep& s) {
    if (!SelectForDeletion(s, false, false)) {
        ResetToolState(s.doc, 0);
        return;
    }
    DeleteSelectionStep(s);
}

// Tool 2.

void CollectStep(ToolStep& s) {
    if (SelectForDeletion(s, true, true)) ResetToolState(s.doc, 2);
}

void CollectMoreStep(ToolStep& s) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        return;
    }
    DeleteSelectionStep(s);
}

const ToolStepRow kEraseRows[] = {
    {kEraseRow + 0, 0, "element to delete", StepInput::pick, PickToDeleteStep},
    {kEraseRow + 0, 1, "E for the element or G for its key group", StepInput::text, KeyGroupAnswerStep},
    {kEraseRow + 1, 0, "rectangle or kind name to delete", StepInput::text, DeleteAtOnceStep},
    {kEraseRow + 2, 0, "rectangle or kind name to collect", StepInput::text, CollectStep},
    {kEraseRow + 2, 2, "more elements, or Return to delete the selection", StepInput::text, CollectMoreStep},
};

} // namespace

constinit const ToolStepTable kEraseToolSteps{kEraseRows};

void ToolGroup8Click(DocWindowRecord* doc) {
    RunToolStep(doc, kEraseToolSteps, SInt16(kEraseRow + CurrentTool()));
}

void DeletePickedElement(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr || doc->drawing->tool == nullptr) return;
    ElementKind kind;
    if (!PickedKind(doc->drawing->tool->picked.kind, &kind)) return;
    void* e = CursorElement(doc->drawing, kind);
    if (e == nullptr) return;
    BeginUndoStep(doc);
    RequestRedraw(doc);
    RemoveElement(doc, kind, e);
    EndUndoStep(doc);
}
