// Symbol definitions and instances: the pending commands that take their input in the drawing.
// Definitions are made from marked elements (a key's, or a chosen set's), instances placed by name,
// exploded, edited, moved along a line and opened for editing.
#include "Tools/PendingCommands.h"

#include "Dialogs/SymbolInstanceDialog.h"
#include "Model/DocumentRecords.h"
#include "Other/MathPrimitives.h"
#include "Model/Selection.h"
#include "Model/SelectionCriteria.h"
#include "Model/SpatialIndex.h"
#include "Model/Symbols.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Platform/MacRoman.h"
#include "Platform/QuickDraw.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kDefineFromKey = 144;
constexpr SInt16 kPlaceSymbol = 146;
constexpr SInt16 kExplodeInstances = 153;
constexpr SInt16 kDefineFromChosen = 154;
constexpr SInt16 kEditInstance = 155;
constexpr SInt16 kMoveTurnInstance = 177;
constexpr SInt16 kOpenDefinition = 179;
constexpr SInt16 kPlaceAndExplode = 183;

constexpr SInt16 kSymbolsMenuId = 134;
// Every kind but symbol instances, in PickUpElementAttributes' mask.
constexpr SInt16 kSixKinds = 63;
// Messages of list 128; the shortened name is error 19 of list 200.
constexpr SInt16 kNoSuchSymbolMessage = 1;
constexpr SInt16 kNothingMarkedMessage = 15;
constexpr SInt16 kScalesDifferMessage = 74;
constexpr SInt16 kNameShortenedError = 19;
constexpr size_t kSymbolNameLength = 19;
// The labels of list 5000 around a definition's name in front of a prompt.
constexpr SInt16 kSymbolLabelStart = 134;
constexpr SInt16 kSymbolLabelEnd = 135;

const unsigned char kNoText[] = {0};

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

SInt16 Code(const ToolStep& s) {
    return s.d->toolInput.pendingCommand;
}

// The name typed, in the system encoding the definitions keep their names in.
std::string TypedName(DocWindowRecord* doc) {
    return UTF8ToMacRoman(CommandFieldUTF8Text(doc));
}

void ToPStr(const std::string& text, Str255 out) {
    const size_t n = std::min<size_t>(text.size(), 255);
    out[0] = UInt8(n);
    std::memcpy(out + 1, text.data(), n);
}

// The answer typed: 1 yes, 0 no, -1 none yet (a click or an empty field keeps the step waiting).
int Answer(ToolStep& s) {
    if (s.typed == 0) return -1;
    Str255 text;
    CommandFieldGetText(s.doc, text);
    if (text[0] == 0) return -1;
    return IsYesAnswer(text) ? 1 : 0;
}

bool SnapToRef(ToolStep& s, int n) {
    if (!SnapCursor(s.doc)) return false;
    SetRefPointFromCursor(s.doc, n);
    return true;
}

// The instance under the cursor, found without changing its selection.
SymbolInstanceRecord* InstanceUnderCursor(ToolStep& s) {
    if (!PickSymbolInstance(s.doc, kPickFind, false, true, nullptr)) return nullptr;
    SymbolInstanceRecord* hit = s.d->cursors.instanceCursor;
    return hit != nullptr && hit->definition != nullptr ? hit : nullptr;
}

bool InstanceListed(DocWindowRecord* doc, const SymbolInstanceRecord* instance) {
    for (const SymbolInstanceRecord* e = doc->instanceHead->next; e != nullptr; e = e->next)
        if (e == instance) return true;
    return false;
}

// No definition has the name: message 1, and the name selected so that typing replaces it.
void RefuseName(DocWindowRecord* doc) {
    ShowErrorStr128(kNoSuchSymbolMessage);
    CommandFieldSelectAll(doc);
}

SymbolChooser gSymbolChooser = nullptr;

// The name chosen from the symbol list for a Return on an empty field; false when none was.
bool ChooseFromList(DocWindowRecord* doc, Str255 name) {
    if (gSymbolChooser == nullptr) {
        SysBeep(1);
        return false;
    }
    return gSymbolChooser(doc, name) && name[0] > 0;
}

// The symbol editor has a window of its own, which comes with the symbol windows.
void OpenSymbolEditor(SymbolDefRecord*, DocWindowRecord*) {
    SysBeep(1);
}

// Definitions: 144 and 154.

// The first step after the elements are marked: the base point.
SInt16 BaseStep(const ToolStep& s) {
    return Code(s) == kDefineFromKey ? 1 : 2;
}

void KeyPickStep(ToolStep& s) {
    if (s.typed != 0 || !PickUpElementAttributes(s.doc, kSixKinds)) return;
    DeselectAll(s.doc, true);
    ClearAreaMarks(s.doc);
    MarkElementsOfKey(s.doc, s.t->picked.key);
    RequestRedraw(s.doc);
    Next(s, 1);
}

void BasePointStep(ToolStep& s) {
    if (!SnapToRef(s, 4)) return;
    Next(s, SInt16(BaseStep(s) + 1));
}

void NameStep(ToolStep& s) {
    if (s.typed == 0) return;
    std::string typed = TypedName(s.doc);
    if (typed.empty()) return;
    if (typed.size() > kSymbolNameLength) {
        typed.resize(kSymbolNameLength);
        ShowErrorAlert(kNameShortenedError, kNoText);
    }
    Str255 name;
    ToPStr(typed, name);
    if (FindSymbolDefinition(s.doc, name) != nullptr) {
        AssignStr255(s.t->redefineName, name);
        Next(s, SInt16(BaseStep(s) + 2));
        CommandFieldSetSTR128(s.doc);
        return;
    }
    if (AnyElementMarked(s.doc)) {
        const ToolPoint base = RefPoint(s.doc, 4);
        SelectMarkedElements(s.doc);
        CreateSymbolFromSelection(s.doc, base.x, base.y, name, true);
        if (Code(s) == kDefineFromKey) MarkDocumentChanged(s.doc);
        RequestRedraw(s.doc);
    } else {
        ShowErrorStr128(kNothingMarkedMessage);
    }
    EndPendingCommand(s.doc);
}

void RedefineStep(ToolStep& s) {
    const int answer = Answer(s);
    if (answer < 0) return;
    if (answer == 1) {
        if (AnyElementMarked(s.doc)) {
            const ToolPoint base = RefPoint(s.doc, 4);
            SelectMarkedElements(s.doc);
            RedefineBlock(s.doc, base.x, base.y, s.t->redefineName);
        } else {
            ShowErrorStr128(kNothingMarkedMessage);
        }
    }
    EndPendingCommand(s.doc);
}

// 154: a dragged rectangle (every kind but areas) or a kind name chooses the elements.
void ChooseElementsStep(ToolStep& s) {
    if (s.typed == 0) {
        Boolean kinds[kSelectKindCount];
        std::fill(kinds, kinds + kSelectKindCount, Boolean(1));
        kinds[kSelectAreas] = 0;
        const DrawingViewState& v = s.d->view;
        if (!TrackDragRectangle(s.doc, false) ||
            !SelectInRectWithCriteria(s.doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                      v.dragRectY + v.dragRectHeight, kinds)) {
            Next(s, 0);
            return;
        }
    } else {
        const std::string kind = CommandFieldUTF8Text(s.doc);
        if (kind.empty() || !SelectAllOfKind(s.doc, kind, true)) return;
    }
    RequestRedraw(s.doc);
    Next(s, 1);
}

void ToggleChosenStep(ToolStep& s) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        RequestRedraw(s.doc);
        return;
    }
    if (!SelectedWidthsEqual(s.doc)) {
        ShowErrorStr128(kScalesDifferMessage);
        Next(s, 0);
        return;
    }
    MarkSelectedElements(s.doc);
    Next(s, 2);
}

// Placing: 146 and 183.

void SymbolNameStep(ToolStep& s) {
    Str255 name;
    if (s.typed == 0) {
        SymbolInstanceRecord* hit = InstanceUnderCursor(s);
        if (hit == nullptr) return;
        AssignStr255(name, hit->definition->name);
        CommandFieldPutString(s.doc, name);
    } else {
        const std::string typed = TypedName(s.doc);
        if (typed.empty()) {
            if (!ChooseFromList(s.doc, name)) return;
        } else {
            ToPStr(typed, name);
        }
    }
    AssignStr255(s.t->lastSymbolName, name);
    if (FindSymbolDefinition(s.doc, name) == nullptr) {
        RefuseName(s.doc);
        return;
    }
    Next(s, 1);
}

// The instance of the last symbol name at reference point 4, in one undo step; with explode its
// elements take its place at once.
void PlaceInstance(ToolStep& s, Float64 angle, Float64 xScale, Float64 yScale, bool explode) {
    SymbolDefRecord* def = FindSymbolDefinition(s.doc, s.t->lastSymbolName);
    if (def == nullptr) {
        ShowErrorStr128(kNoSuchSymbolMessage);
        EndPendingCommand(s.doc);
        return;
    }
    const ToolPoint at = RefPoint(s.doc, 4);
    BeginUndoStep(s.doc);
    SymbolInstanceRecord* placed = CreateSymbolInstance(s.doc, at.x, at.y, angle, xScale, yScale, def);
    if (placed != nullptr && explode) ExplodeSymbolInstance(s.doc, placed);
    EndUndoStep(s.doc);
    if (placed == nullptr) ShowOutOfMemoryAlert();
    RequestRedraw(s.doc);
}

void InsertionPointStep(ToolStep& s) {
    if (!SnapToRef(s, 4)) return;
    if (Code(s) == kPlaceSymbol && PlaceSymbolsWithoutAsking(s.doc->settings)) {
        PlaceInstance(s, 0, 1, 1, false);
        return;
    }
    Next(s, 2);
    s.t->symbolValuesTyped = false;
    CommandFieldSetTriple(s.doc, s.t->symbolAngle, s.t->symbolXScale, s.t->symbolYScale);
}

bool UsableScale(Float64 v) {
    return std::isfinite(v) && v != 0;
}

// The typed angle and scales become the ones offered; false (a beep, nothing kept, the values
// selected for typing again) for a scale of 0 or a value that is not a number.
bool TakePlacementValues(ToolStep& s) {
    Float64 angle = s.t->symbolAngle, xScale = s.t->symbolXScale, yScale = s.t->symbolYScale;
    GetTypedAngle(s.doc, 0, &angle);
    GetNumericEntry(s.doc, 1, &xScale);
    GetNumericEntry(s.doc, 2, &yScale);
    if (!std::isfinite(angle) || !UsableScale(xScale) || !UsableScale(yScale)) {
        SysBeep(1);
        CommandFieldSelectAll(s.doc);
        return false;
    }
    s.t->symbolAngle = angle, s.t->symbolXScale = xScale, s.t->symbolYScale = yScale;
    return true;
}

void PlacementValuesStep(ToolStep& s) {
    if (s.typed <= 0 || !TakePlacementValues(s)) return;
    PlaceInstance(s, s.t->symbolAngle, s.t->symbolXScale, s.t->symbolYScale, false);
    Next(s, 1);
}

// 183: the values typed, or none (an empty Return) to take the angle from a line.
void ExplodeValuesStep(ToolStep& s) {
    if (s.typed == 0) return;
    if (s.typed > 0 && !TakePlacementValues(s)) return;
    const bool typed = s.typed > 0;
    Next(s, 3);
    s.t->symbolValuesTyped = typed;
}

void ExplodePlaceStep(ToolStep& s) {
    if (s.typed != 0) return;
    Float64 angle = s.t->symbolAngle;
    if (!s.t->symbolValuesTyped) {
        if (!PickLine(s.doc, kPickFind, false, false, nullptr) || s.d->cursors.lineCursor == nullptr) return;
        const LineRecord* l = s.d->cursors.lineCursor;
        angle = NormalizeAngle(DirectionDegrees(l->x1, l->y1, l->x2, l->y2));
    }
    PlaceInstance(s, angle, s.t->symbolXScale, s.t->symbolYScale, true);
    EndPendingCommand(s.doc);
}

// 153: instances picked or inside a rectangle, exploded after a yes.
void ChooseInstancesStep(ToolStep& s) {
    if (s.typed != 0) return;
    Str255 prefix;
    prefix[0] = 0;
    if (SymbolInstanceRecord* hit = InstanceUnderCursor(s)) {
        if (!hit->selected) SetSelectedFlag(s.d, &hit->selected, 1);
        Str255 part;
        GetAppString(kSymbolLabelStart, prefix);
        AppendPStr(prefix, sizeof(Str255), hit->definition->name);
        GetAppString(kSymbolLabelEnd, part);
        AppendPStr(prefix, sizeof(Str255), part);
    } else {
        Boolean kinds[kSelectKindCount] = {};
        kinds[kSelectInstances] = 1;
        const DrawingViewState& v = s.d->view;
        if (!TrackDragRectangle(s.doc, false) ||
            !SelectInRectWithCriteria(s.doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                      v.dragRectY + v.dragRectHeight, kinds))
            return;
    }
    RequestRedraw(s.doc);
    Next(s, 1);
    CommandFieldPrefixPrompt(s.doc, prefix);
    CommandFieldSetSTR128(s.doc);
}

void ExplodeAnswerStep(ToolStep& s) {
    if (s.typed == 0) {
        PickSymbolInstance(s.doc, kPickToggle, false, true, nullptr);
        RequestRedraw(s.doc);
        return;
    }
    const int answer = Answer(s);
    if (answer < 0) return;
    if (answer == 1) ExplodeSelectedSymbolInstances(s.doc);
    EndPendingCommand(s.doc);
}

// 155.
void EditInstanceStep(ToolStep& s) {
    if (s.typed != 0) return;
    SymbolInstanceRecord* hit = InstanceUnderCursor(s);
    if (hit == nullptr) return;
    if (!hit->selected) SetSelectedFlag(s.d, &hit->selected, 1);
    RequestRedraw(s.doc);
    SymbolInstanceDialog(s.doc, hit);
    EndPendingCommand(s.doc);
}

// 177: an instance's line is laid along another line, a point of it carried to a new point.

void StoreLine(const LineRecord* l, Float64 out[4]) {
    out[0] = l->x1, out[1] = l->y1, out[2] = l->x2, out[3] = l->y2;
}

void InstanceLineStep(ToolStep& s) {
    if (s.typed != 0) return;
    SymbolInstanceRecord* instance = nullptr;
    LineRecord line{};
    if (!PickSymbolInstanceLine(s.doc, &instance, &line)) return;
    s.t->pickedOther = instance;
    StoreLine(&line, s.t->symbolLine);
    Next(s, 1);
}

void TargetLineStep(ToolStep& s) {
    if (s.typed != 0 || !PickLine(s.doc, kPickFind, false, false, nullptr)) return;
    LineRecord* l = s.d->cursors.lineCursor;
    if (l == nullptr) return;
    if (!l->selected) SetSelectedFlag(s.d, &l->selected, 1);
    s.t->secondLine = l;
    StoreLine(l, s.t->targetLine);
    RequestRedraw(s.doc);
    Next(s, 2);
}

void FromPointStep(ToolStep& s) {
    if (SnapToRef(s, 4)) Next(s, 3);
}

// The turn that lays the instance's line along the target line (the smaller one: lines have no
// direction), about the first point, then the move to the second point.
void TransformSymbolInstance(ToolStep& s, const SymbolInstanceRecord* instance) {
    const Float64* a = s.t->symbolLine;
    const Float64* b = s.t->targetLine;
    Float64 turn =
        std::fmod(DirectionDegrees(b[0], b[1], b[2], b[3]) - DirectionDegrees(a[0], a[1], a[2], a[3]), 180.0);
    if (turn > 90) turn -= 180;
    if (turn <= -90) turn += 180;
    const ToolPoint from = RefPoint(s.doc, 4), to = RefPoint(s.doc, 5);
    const Float64 r = turn * 3.14159265358979323846 / 180.0;
    const Float64 dx = instance->x - from.x, dy = instance->y - from.y;
    s.t->symbolNewX = to.x + dx * std::cos(r) - dy * std::sin(r);
    s.t->symbolNewY = to.y + dx * std::sin(r) + dy * std::cos(r);
    s.t->symbolNewAngle = NormalizeAngle(instance->angle + turn);
}

void ToPointStep(ToolStep& s) {
    if (!SnapToRef(s, 5)) return;
    DeselectAll(s.doc, false);
    auto* instance = static_cast<SymbolInstanceRecord*>(s.t->pickedOther);
    if (instance == nullptr || !InstanceListed(s.doc, instance)) {
        EndPendingCommand(s.doc);
        return;
    }
    TransformSymbolInstance(s, instance);
    Next(s, 4);
    CommandFieldSetSTR128(s.doc);
}

void MoveInstanceAnswerStep(ToolStep& s) {
    const int answer = Answer(s);
    if (answer < 0) return;
    auto* instance = static_cast<SymbolInstanceRecord*>(s.t->pickedOther);
    if (answer == 1 && instance != nullptr && InstanceListed(s.doc, instance)) {
        BeginUndoStep(s.doc);
        const SymbolInstanceRecord before = *instance;
        RecordUndoSymbolInstance(s.doc, &before, false);
        instance->x = s.t->symbolNewX;
        instance->y = s.t->symbolNewY;
        instance->angle = s.t->symbolNewAngle;
        ComputeInstanceFrame(s.doc, instance);
        RecordUndoSymbolInstance(s.doc, instance, true);
        SpatialIndexStale(s.doc);
        EndUndoStep(s.doc);
        RequestRedraw(s.doc);
    }
    EndPendingCommand(s.doc);
}

// 179.
void OpenDefinitionStep(ToolStep& s) {
    SymbolDefRecord* def = nullptr;
    if (s.typed == 0) {
        SymbolInstanceRecord* hit = InstanceUnderCursor(s);
        if (hit == nullptr) return;
        def = hit->definition;
    } else {
        const std::string typed = TypedName(s.doc);
        Str255 name;
        if (typed.empty()) {
            if (!ChooseFromList(s.doc, name)) return;
        } else {
            ToPStr(typed, name);
        }
        AssignStr255(s.t->lastSymbolName, name);
        def = FindSymbolDefinition(s.doc, name);
        if (def == nullptr) {
            RefuseName(s.doc);
            return;
        }
    }
    EndPendingCommand(s.doc);
    OpenSymbolEditor(def, s.doc);
}

const ToolStepRow kRows[] = {
    {kDefineFromKey, 0, "element of the key", StepInput::pick, KeyPickStep},
    {kDefineFromKey, 1, "base point", StepInput::point, BasePointStep},
    {kDefineFromKey, 2, "symbol name", StepInput::text, NameStep},
    {kDefineFromKey, 3, "redefine: yes or no", StepInput::text, RedefineStep},
    {kPlaceSymbol, 0, "symbol name or instance", StepInput::text, SymbolNameStep},
    {kPlaceSymbol, 1, "insertion point", StepInput::point, InsertionPointStep},
    {kPlaceSymbol, 2, "angle, x scale, y scale", StepInput::values, PlacementValuesStep},
    {kExplodeInstances, 0, "instance or rectangle", StepInput::pick, ChooseInstancesStep},
    {kExplodeInstances, 1, "explode: yes or no", StepInput::text, ExplodeAnswerStep},
    {kDefineFromChosen, 0, "rectangle or kind name", StepInput::text, ChooseElementsStep},
    {kDefineFromChosen, 1, "more elements, Return", StepInput::text, ToggleChosenStep},
    {kDefineFromChosen, 2, "base point", StepInput::point, BasePointStep},
    {kDefineFromChosen, 3, "symbol name", StepInput::text, NameStep},
    {kDefineFromChosen, 4, "redefine: yes or no", StepInput::text, RedefineStep},
    {kEditInstance, 0, "instance", StepInput::pick, EditInstanceStep},
    {kMoveTurnInstance, 0, "line of the instance", StepInput::pick, InstanceLineStep},
    {kMoveTurnInstance, 1, "line to lie along", StepInput::pick, TargetLineStep},
    {kMoveTurnInstance, 2, "point to move from", StepInput::point, FromPointStep},
    {kMoveTurnInstance, 3, "point to move to", StepInput::point, ToPointStep},
    {kMoveTurnInstance, 4, "move: yes or no", StepInput::text, MoveInstanceAnswerStep},
    {kOpenDefinition, 0, "symbol name or instance", StepInput::text, OpenDefinitionStep},
    {kPlaceAndExplode, 0, "symbol name or instance", StepInput::text, SymbolNameStep},
    {kPlaceAndExplode, 1, "insertion point", StepInput::point, InsertionPointStep},
    {kPlaceAndExplode, 2, "angle, x scale, y scale, or none", StepInput::values, ExplodeValuesStep},
    {kPlaceAndExplode, 3, "line for the angle, or any click", StepInput::pick, ExplodePlaceStep},
};

// Placing needs a definition; the last symbol name is offered.
void StartSymbolPlacement(DocWindowRecord* doc, SInt16 code) {
    if (CountSymbolDefinitions(doc) == 0) return;
    StartPendingCommand(doc, code);
    ToolStateRecord* t = ToolStateOf(doc);
    if (t != nullptr && t->lastSymbolName[0] > 0) CommandFieldPutString(doc, t->lastSymbolName);
}

void PlaceSymbolItem(DocWindowRecord* doc) {
    StartSymbolPlacement(doc, kPlaceSymbol);
}

void PlaceAndExplodeItem(DocWindowRecord* doc) {
    StartSymbolPlacement(doc, kPlaceAndExplode);
}

// Opening a definition (item 15) waits for the symbol editor.
const PendingMenuRow kMenuRows[] = {
    {kSymbolsMenuId, 1, kEditInstance, nullptr},     {kSymbolsMenuId, 2, kMoveTurnInstance, nullptr},
    {kSymbolsMenuId, 4, 0, PlaceSymbolItem},         {kSymbolsMenuId, 5, 0, PlaceAndExplodeItem},
    {kSymbolsMenuId, 6, kExplodeInstances, nullptr}, {kSymbolsMenuId, 8, kDefineFromKey, nullptr},
    {kSymbolsMenuId, 9, kDefineFromChosen, nullptr},
};

} // namespace

void SetSymbolChooser(SymbolChooser chooser) {
    gSymbolChooser = chooser;
}

constinit const ToolStepTable kPendingSymbolSteps{kRows};
constinit const PendingMenuRows kPendingSymbolMenuRows{kMenuRows};
