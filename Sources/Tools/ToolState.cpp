// Tool state: resetting a tool run, the step counter, reference points, typed values, validators,
// deselection, the suspension of snapping, pending commands and picking up an element's attributes.
#include "Tools/ToolState.h"
#include "Tools/AreaOutlines.h"

#include "Model/Selection.h"

#include "Tools/CommandField.h"
#include "Other/Alerts.h"
#include "Model/DocumentHooks.h"
#include "Model/DocumentRecords.h"
#include "Model/DrawingUnits.h"
#include "Model/ElementLists.h"
#include "Files/Preferences.h"
#include "Other/MathPrimitives.h"
#include "Platform/MemoryManager.h"
#include "Other/NumberFormat.h"
#include "Tools/Picking.h"
#include "Tools/StatusArea.h"
#include "Dialogs/ToolDialogServices.h"
#include "Platform/Windows.h"
#include "View/WorldPrimitives.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr SInt16 kInfoPaletteGroup = 7;
// Messages of list 128.
constexpr SInt16 kOtherScaleMessage = 50;
constexpr SInt16 kMixedScalesMessage = 153;
constexpr SInt16 kPercentRangeMessage = 171;
constexpr SInt16 kInfoPaletteTool = 9;

bool DocumentOpen(DocWindowRecord* doc) {
    return doc != nullptr && OpenDocumentList != nullptr && doc->drawing != nullptr &&
           doc->drawing->tool != nullptr;
}

template <typename Record> bool ClearFlags(Record* head, Boolean alsoMarks, bool* marksRemain) {
    bool changed = false;
    for (Record* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next) {
        if (e->selected || (alsoMarks && e->marked)) changed = true;
        e->selected = 0;
        if (alsoMarks) e->marked = 0;
        if (e->marked) *marksRemain = true;
    }
    return changed;
}

// Frees the pick list with the lines and arcs its picks own (segments of a polyline, copies of a
// symbol's elements).
void FreePickList(ToolStateRecord* t) {
    if (t->pickList != nullptr) {
        Size count = GetHandleSize(t->pickList) / Size(sizeof(AreaPickRecord));
        auto* picks = reinterpret_cast<AreaPickRecord*>(*t->pickList);
        for (Size i = 0; i < count; ++i) {
            if (picks[i].part != kSegmentLinePart) continue;
            if (picks[i].kind == 0) {
                auto* line = static_cast<LineRecord*>(picks[i].element);
                DisposeLineRecord(&line);
            } else if (picks[i].kind == 1) {
                auto* arc = static_cast<ArcRecord*>(picks[i].element);
                DisposeArcRecord(&arc);
            }
        }
        DisposeHandle(t->pickList);
        t->pickList = nullptr;
    }
    t->pickCount = 0;
    DisposeHandle(t->boundaryPolylines);
    t->boundaryPolylines = nullptr;
}

void ClearPickedSlots(ToolStateRecord* t) {
    t->firstLine = t->secondLine = t->thirdLine = nullptr;
    t->firstArc = t->secondArc = t->thirdArc = nullptr;
    t->pickedOther = nullptr;
    t->attrElement = nullptr;
    ReleaseHeldElements(t);
}

} // namespace

void ReleaseHeldElements(ToolStateRecord* t) {
    t->firstLine = nullptr;
    t->firstArc = nullptr;
    t->heldText = nullptr;
    t->heldDimension = nullptr;
    t->heldInstance = nullptr;
    t->heldPolyline = nullptr;
    t->heldArea = nullptr;
}

ToolStateRecord* NewToolStateRecord() {
    auto* t = static_cast<ToolStateRecord*>(std::calloc(1, sizeof(ToolStateRecord)));
    if (t == nullptr) return nullptr;
    for (Float64& s : t->pickedScales)
        s = -1.0;
    t->scratchMarker = -1;
    t->lastHitVertex = -1;
    t->symbolXScale = t->symbolYScale = 1.0;
    return t;
}

void DisposeToolStateRecord(ToolStateRecord** slot) {
    if (slot == nullptr || *slot == nullptr) return;
    FreePickList(*slot);
    std::free((*slot)->collectedPoints);
    std::free(*slot);
    *slot = nullptr;
}

ToolStateRecord* ToolStateOf(DocWindowRecord* doc) {
    if (doc == nullptr || doc->drawing == nullptr) return nullptr;
    if (doc->drawing->tool == nullptr) doc->drawing->tool = NewToolStateRecord();
    return doc->drawing->tool;
}

SInt16 CurrentToolGroup() {
    return SInt16(GeneralPrefs.currentToolGroup);
}

SInt16 CurrentTool() {
    return SInt16(GeneralPrefs.currentSubTool);
}

void ResetToolState(DocWindowRecord* doc, SInt16 step) {
    if (!DocumentOpen(doc)) return;
    DrawingRecord* d = doc->drawing;
    ToolStateRecord* t = d->tool;
    if (doc->window != nullptr) SetPortWindowPort(doc->window);
    DisposePickList(doc);
    if (step == 0) {
        // A run that ends or is abandoned gives the user's snap mode back first.
        if (t->snapSuspended) RestoreSnapMode(doc);
        for (Float64& s : t->pickedScales)
            s = -1.0;
        t->scratchWord = 0;
        DeselectAll(doc, true);
        t->scratchMarker = -1;
        ClearRubberPoints(doc);
        t->collectedPointCount = 0;
        t->pickedLineCount = 0;
        t->pickedArcCount = 0;
        t->scratchByte = 0;
        ClearPickedSlots(t);
        t->referenceValid = false;
        ListCurrentTool(doc);
        t->toolFlag = 0;
        if (t->rectFeedback) {
            t->rectFeedback = false;
            RequestRedraw(doc);
        }
        CloseInfoPalette(doc);
        // Contours traced for an area not made yet; an area made owns its own.
        EmptyOutlineContours(doc);
    }
    t->pickCount = 0;
    d->toolInput.pendingStep = step;
    ShowToolPrompt(doc);
    if (step == 0 && d->toolInput.pendingCommand == 0) {
        SInt16 group = CurrentToolGroup(), tool = CurrentTool();
        if (group == 6 && tool == 1) CommandFieldSetPair(doc, t->rememberedPair[0], t->rememberedPair[1]);
        if (group == 7 && tool == 0) CommandFieldSetInteger(doc, doc->settings->currentPen);
        if (group == 7 && tool == 1) CommandFieldSetInteger(doc, doc->settings->currentLineType);
    }
    if (!(CurrentToolGroup() == kInfoPaletteGroup && CurrentTool() == kInfoPaletteTool)) HideInfoPalette(doc);
}

void CancelPendingCommand(DocWindowRecord* doc) {
    if (!DocumentOpen(doc)) return;
    doc->drawing->toolInput.pendingCommand = 0;
    ResetToolState(doc, 0);
}

void DeselectAll(DocWindowRecord* doc, Boolean alsoMarks) {
    if (!DocumentOpen(doc)) return;
    ToolStateRecord* t = doc->drawing->tool;
    bool changed = false;
    for (SInt16 i = 0; i < t->pickedLineCount && i < kPickedListCapacity; ++i)
        if (t->pickedLines[i] != nullptr) t->pickedLines[i]->selected = 0;
    for (SInt16 i = 0; i < t->pickedArcCount && i < kPickedListCapacity; ++i)
        if (t->pickedArcs[i] != nullptr) t->pickedArcs[i]->selected = 0;
    // At a million elements the walk costs a click its frame time: clear what was recorded instead.
    if (!ClearRecordedFlags(doc->drawing, alsoMarks, &changed)) {
        bool marksRemain = false;
        changed |= ClearFlags(doc->lineHead, alsoMarks, &marksRemain);
        changed |= ClearFlags(doc->arcHead, alsoMarks, &marksRemain);
        changed |= ClearFlags(doc->textHead, alsoMarks, &marksRemain);
        changed |= ClearFlags(doc->dimensionHead, alsoMarks, &marksRemain);
        changed |= ClearFlags(doc->instanceHead, alsoMarks, &marksRemain);
        changed |= ClearFlags(doc->polylineHead, alsoMarks, &marksRemain);
        bool areaMarks = false; // areas keep their marks and are never recorded
        changed |= ClearFlags(doc->areaHead, Boolean(false), &areaMarks);
        SelectionRecordCleared(doc->drawing, marksRemain);
    }
    // The intersection snap starts again from its first click.
    t->isectFirstPicked = false;
    t->isectPairCode = 0;
    t->isectLines[0] = t->isectLines[1] = nullptr;
    t->isectArcs[0] = t->isectArcs[1] = nullptr;
    if (changed) RequestRedraw(doc);
}

Boolean CheckToolValues(DocWindowRecord* doc, Boolean againstCurrent) {
    if (!DocumentOpen(doc)) return true;
    ToolStateRecord* t = doc->drawing->tool;
    Float64 reference = -1.0;
    for (Float64 s : t->pickedScales) {
        if (!(s > 0)) continue;
        if (reference < 0) {
            reference = s;
        } else if (!NearlyEqualRelative(reference, s)) {
            ShowErrorStr128(kMixedScalesMessage);
            ResetToolState(doc, 0);
            return false;
        }
    }
    if (againstCurrent && reference > 0 && !NearlyEqualRelative(reference, DefaultScaleFactor(doc))) {
        ShowErrorStr128(kOtherScaleMessage);
        ResetToolState(doc, 0);
        return false;
    }
    return true;
}

void ResetPickFilter(DocWindowRecord* doc) {
    if (!DocumentOpen(doc) || doc->drawing->toolInput.pickFilter == 0) return;
    doc->drawing->toolInput.pickFilter = 0;
    DrawWindowStatusArea(doc);
}

void SetPickFilter(DocWindowRecord* doc, SInt16 filter) {
    doc->drawing->toolInput.pickFilter = filter;
}

void DisposePickList(DocWindowRecord* doc) {
    if (!DocumentOpen(doc)) return;
    FreePickList(doc->drawing->tool);
}

void SuspendSnapMode(DocWindowRecord* doc) {
    if (!DocumentOpen(doc)) return;
    ToolStateRecord* t = doc->drawing->tool;
    // Suspending twice must not take the already suspended 0 for the user's mode.
    if (t->snapSuspended) return;
    SInt16 mode = doc->settings->snapMode;
    t->suspendedSnapMode = mode;
    if (mode == 0) return;
    DrawSnapModeButton(doc, false);
    doc->settings->snapMode = 0;
    ShowToolPrompt(doc);
    DrawSnapModeButton(doc, true);
    t->snapSuspended = true;
}

void RestoreSnapMode(DocWindowRecord* doc) {
    if (!DocumentOpen(doc)) return;
    ToolStateRecord* t = doc->drawing->tool;
    if (t->snapSuspended && doc->settings->snapMode != t->suspendedSnapMode) {
        DrawSnapModeButton(doc, false);
        doc->settings->snapMode = t->suspendedSnapMode;
        DrawSnapModeButton(doc, true);
        ShowToolPrompt(doc);
    }
    t->snapSuspended = false;
}

Boolean SnapModeSuspended(DocWindowRecord* doc) {
    return DocumentOpen(doc) && doc->drawing->tool->snapSuspended;
}

SInt16 UserSnapMode(DocWindowRecord* doc) {
    if (doc == nullptr || doc->settings == nullptr) return 0;
    if (SnapModeSuspended(doc)) return doc->drawing->tool->suspendedSnapMode;
    return doc->settings->snapMode;
}

void SetRefPointFromCursor(DocWindowRecord* doc, int n) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr || n < 1 || n > 5) return;
    t->refPoints[n - 1] = ToolPoint{doc->drawing->toolInput.cursorX, doc->drawing->toolInput.cursorY};
}

ToolPoint RefPoint(DocWindowRecord* doc, int n) {
    ToolStateRecord* t = ToolStateOf(doc);
    if (t == nullptr || n < 1 || n > 5) return ToolPoint{0, 0};
    return t->refPoints[n - 1];
}

void ToggleGridDisplay(DocWindowRecord* doc) {
    if (!DocumentOpen(doc)) return;
    doc->settings->gridVisible = !doc->settings->gridVisible;
    RequestRedraw(doc);
}

void StartPendingCommand(DocWindowRecord* doc, SInt16 code) {
    if (!DocumentOpen(doc)) return;
    doc->drawing->toolInput.pendingCommand = code;
    ResetToolState(doc, 0);
    ResetPickFilter(doc);
}

void EndPendingCommand(DocWindowRecord* doc) {
    if (!DocumentOpen(doc)) return;
    doc->drawing->toolInput.pendingCommand = 0;
    ResetToolState(doc, 0);
    ResetPickFilter(doc);
}

Boolean PendingCommandActive(const DocWindowRecord* doc) {
    return doc != nullptr && doc->drawing != nullptr && doc->drawing->toolInput.pendingCommand != 0;
}

SInt16 TypedValueCount(DocWindowRecord* doc) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    return f != nullptr ? f->valueCount : 0;
}

void GetTypedInteger(DocWindowRecord* doc, SInt16 i, SInt16* out) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || i < 0 || i >= f->valueCount || i >= kTypedValueCapacity) return;
    Float64& v = f->values[i];
    if (v > 32000) v = 32000;
    if (v < -32000) v = -32000;
    *out = SInt16(std::lround(v));
}

void GetNumericEntry(DocWindowRecord* doc, SInt16 i, Float64* out) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || i < 0 || i >= f->valueCount || i >= kTypedValueCapacity) return;
    *out = f->values[i];
}

void GetTypedAngle(DocWindowRecord* doc, SInt16 i, Float64* out) {
    CommandFieldRecord* f = CommandFieldOf(doc);
    if (f == nullptr || i < 0 || i >= f->valueCount || i >= kTypedValueCapacity) return;
    *out = WrapAngle(f->values[i]);
}

void GetTypedModeLetter(DocWindowRecord* doc, char* out) {
    Str255 text;
    CommandFieldGetText(doc, text);
    if (text[0] == 0) return;
    *out = (text[1] == 'g' || text[1] == 'G') ? 'G' : 'E';
}

namespace {

Boolean ValidateRange(Float64 value, Float64 low, Float64 high, SInt16 message, SInt16* out) {
    if (!(value >= low && value <= high)) {
        ShowErrorStr128(message);
        return false;
    }
    *out = SInt16(std::lround(value));
    return true;
}

} // namespace

Boolean ValidateLayerIndex(Float64 value, SInt16* out) {
    return ValidateRange(value, 0, 1023, 62, out);
}

Boolean ValidateKeyNumber(Float64 value, SInt16* out) {
    return ValidateRange(value, 0, 32000, 63, out);
}

Boolean ValidatePenNumber(Float64 value, SInt16* out) {
    return ValidateRange(value, 1, 8, 64, out);
}

Boolean ValidateLineType(Float64 value, SInt16* out) {
    return ValidateRange(value, 1, 6, 65, out);
}

Boolean ValidatePercent(Float64 value, Float64* out) {
    if (!(value > 0 && value <= 100)) {
        ShowErrorStr128(kPercentRangeMessage);
        return false;
    }
    *out = value;
    return true;
}

Boolean PickUpElementAttributes(DocWindowRecord* doc, SInt16 kinds) {
    if (!DocumentOpen(doc)) return false;
    DrawingRecord* d = doc->drawing;
    PickedAttributes& p = d->tool->picked;
    auto takePen = [&p](const ElementPenAttributes& pen) {
        p.color = pen.color;
        p.width100 = pen.penWidth100;
        p.pattern = pen.pattern;
    };
    if ((kinds & 1) && PickLine(doc, kPickFind, false, false, nullptr)) {
        const LineRecord* e = d->cursors.lineCursor;
        p.kind = 0, p.layer = e->layer, p.key = e->group, p.pen = e->pen, p.lineType = e->lineType;
        p.scale = e->scaleFactor;
        takePen(e->penBlock);
        return true;
    }
    if ((kinds & 2) && PickArc(doc, kPickFind, false, false, nullptr)) {
        const ArcRecord* e = d->cursors.arcCursor;
        p.kind = 1, p.layer = e->layer, p.key = e->group, p.pen = e->pen, p.lineType = e->lineType;
        p.scale = e->scaleFactor;
        takePen(e->penBlock);
        return true;
    }
    if ((kinds & 4) && PickText(doc, kPickFind, false)) {
        const TextRecord* e = d->cursors.textCursor;
        p.kind = 2, p.layer = e->layer, p.key = e->group, p.pen = e->pen, p.scale = e->scaleFactor;
        takePen(e->penBlock);
        return true;
    }
    if ((kinds & 8) && PickDimension(doc, kPickFind, false)) {
        const DimensionRecord* e = d->cursors.dimensionCursor;
        p.kind = 3, p.layer = e->layer, p.key = e->group, p.pen = e->pen, p.scale = e->scaleFactor;
        takePen(e->penBlock);
        return true;
    }
    if ((kinds & 32) && PickArea(doc, kPickFind, false)) {
        const AreaRecord* e = d->cursors.areaCursor;
        p.kind = 6, p.layer = e->layer, p.key = e->group, p.pen = e->pen, p.scale = e->scaleFactor;
        takePen(e->penBlock);
        return true;
    }
    if ((kinds & 64) && PickSymbolInstance(doc, kPickFind, false, true, nullptr)) {
        const SymbolInstanceRecord* e = d->cursors.instanceCursor;
        p.kind = 4, p.layer = e->layer, p.key = e->group, p.scale = e->scaleFactor;
        return true;
    }
    if ((kinds & 16) && PickPolyline(doc, kPickFind, kWantAllPolylines, false)) {
        const PolylineRecord* e = d->cursors.polylineCursor;
        p.kind = 5, p.layer = e->layer, p.key = e->group, p.pen = e->pen, p.lineType = e->lineType;
        p.scale = e->scaleFactor;
        takePen(e->penBlock);
        return true;
    }
    return false;
}

void WriteInfoLine(ConstStr255Param label, SInt32 value) {
    Str255 row, n;
    AssignStr255(row, label);
    AppendChar(row, sizeof(Str255), '\t');
    NumToPaddedStr(value, 1, n);
    AppendPStr(row, sizeof(Str255), n);
    gDocumentHooks.appendInfoRow(row);
}

void WriteInfoReal(ConstStr255Param label, Float64 value, SInt16 decimals) {
    Str255 row, n;
    AssignStr255(row, label);
    AppendChar(row, sizeof(Str255), '\t');
    FormatReal(value, UInt16(decimals < 0 ? 0 : decimals), n);
    AppendPStr(row, sizeof(Str255), n);
    gDocumentHooks.appendInfoRow(row);
}

void GetPICTFrame(Handle picture, Rect* frame) {
    *frame = Rect{0, 0, 0, 0};
    if (picture == nullptr || GetHandleSize(picture) < 10) return;
    const auto* b = reinterpret_cast<const UInt8*>(*picture);
    auto word = [b](int at) { return SInt16(UInt16(b[at] << 8 | b[at + 1])); };
    frame->top = word(2);
    frame->left = word(4);
    frame->bottom = word(6);
    frame->right = word(8);
}
