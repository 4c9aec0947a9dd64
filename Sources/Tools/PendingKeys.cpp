// Key groups: the pending commands that take their input in the drawing (giving the selection a key,
// selecting, saving, removing and rescaling the elements of a key), and the two menu items of the
// family that run at once.
#include "Tools/PendingCommands.h"

#include "Files/FileCommands.h"
#include "Model/DocumentRecords.h"
#include "Model/SelectionCriteria.h"
#include "Model/Transform.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Model/DrawingUnits.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Platform/QuickDraw.h"
#include "Tools/StatusArea.h"
#include "Tools/CommandField.h"
#include "Tools/Picking.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"
#include "Tools/TransformTools.h"
#include "View/ContentPasses.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <string>

namespace {

constexpr SInt16 kGiveKey = 147;
constexpr SInt16 kSelectAndGiveKey = 148;
constexpr SInt16 kRescaleKey = 159;
constexpr SInt16 kSelectKey = 164;
constexpr SInt16 kSaveKey = 165;
constexpr SInt16 kSaveChosen = 166;
constexpr SInt16 kRemoveKey = 167;

constexpr SInt16 kAllKinds = 127;
constexpr SInt16 kKeyGivenLabel = 130;
constexpr SInt16 kKeyJoinedLabel = 131;
constexpr SInt16 kKeyPrefixLabel = 137;
constexpr SInt16 kNoKeyMessage = 73;
constexpr SInt16 kScaleTooSmallMessage = 148;
constexpr SInt16 kKeyNotUsedMessage = 152;
constexpr Float64 kSmallestScale = 1e-7;

void Next(ToolStep& s, SInt16 step) {
    ResetToolState(s.doc, step);
}

// The key of the element under the cursor; false when the click hit nothing, so the step waits.
bool PickedKey(ToolStep& s, SInt16* key) {
    if (!PickUpElementAttributes(s.doc, kAllKinds)) return false;
    *key = s.t->picked.key;
    return true;
}

// A picked key of 0 is told and refused.
bool PickedNonZeroKey(ToolStep& s, SInt16* key) {
    if (s.typed != 0 || !PickedKey(s, key)) return false;
    if (*key != 0) return true;
    ShowErrorStr128(kNoKeyMessage);
    return false;
}

// A whole typed key from 1 to 32000 that an element carries: below 1 it is ignored, otherwise a
// wrong key is told.
bool TypedKeyInUse(ToolStep& s, SInt16* key) {
    Float64 value = 0;
    GetNumericEntry(s.doc, 0, &value);
    if (value < 1) return false;
    if (!ValidateKeyNumber(value, key)) return false;
    if (IsKeyInUse(s.doc, *key)) return true;
    ShowErrorStr128(kKeyNotUsedMessage);
    return false;
}

bool AnySelected(const DocWindowRecord* doc) {
    auto any = [](const auto* head) {
        for (auto* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next)
            if (e->selected) return true;
        return false;
    };
    return any(doc->lineHead) || any(doc->arcHead) || any(doc->textHead) || any(doc->dimensionHead) ||
           any(doc->polylineHead) || any(doc->instanceHead) || any(doc->areaHead);
}

// "Key 12 " in front of the step's prompt.
void PrefixKey(ToolStep& s, SInt16 key) {
    Str255 text;
    GetAppString(kKeyPrefixLabel, text);
    AppendCStr(text, sizeof text, (std::to_string(key) + " ").c_str());
    CommandFieldPrefixPrompt(s.doc, text);
}

// The answer typed: 1 yes, 0 no, -1 none yet.
int Answer(ToolStep& s) {
    if (s.typed == 0) return -1;
    Str255 text;
    CommandFieldGetText(s.doc, text);
    if (text[0] == 0) return -1;
    return IsYesAnswer(text) ? 1 : 0;
}

// A dragged rectangle selects every kind inside it; a typed kind name selects that kind.
bool SelectByRectangleOrKind(ToolStep& s) {
    const std::string name = CommandFieldUTF8Text(s.doc);
    if (!name.empty()) return SelectAllOfKind(s.doc, name, true);
    if (s.typed != 0 || !TrackDragRectangle(s.doc, false)) return false;
    Boolean kinds[kSelectKindCount];
    std::fill(kinds, kinds + kSelectKindCount, Boolean(1));
    const DrawingViewState& v = s.d->view;
    bool any = SelectInRectWithCriteria(s.doc, v.dragRectX, v.dragRectY, v.dragRectX + v.dragRectWidth,
                                        v.dragRectY + v.dragRectHeight, kinds);
    RequestRedraw(s.doc);
    return any;
}

// The selection goes into a drawing file of its own; the document keeps its file and its state.
void SaveSelectionCopy(DocWindowRecord* doc) {
    Boolean saved = false;
    SaveDocumentAs(doc, 0, 1, 1, 1, &saved, 1);
}

// The key held (picked.key) given to the selection, told on the info line under the label (none
// for 0); the current key stays as it was.
void GiveKey(ToolStep& s, SInt16 label) {
    DocSettings* settings = s.doc->settings;
    const SInt16 current = settings->currentGroup;
    settings->currentGroup = s.t->picked.key;
    if (label != 0) {
        Str255 text;
        GetAppString(label, text);
        WriteInfoLine(text, s.t->picked.key);
    }
    if (AssignKeyToSelection(s.doc) > 0) MarkDocumentChanged(s.doc);
    settings->currentGroup = current;
    RedrawWindow(s.doc);
    EndPendingCommand(s.doc);
}

// 147 step 0 (148 step 2): clicks choose the elements, a typed key goes to them.
void ChooseOrGiveKey(ToolStep& s, SInt16 question) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        return;
    }
    if (s.typed < 0) {
        EndPendingCommand(s.doc);
        return;
    }
    Float64 value = 0;
    GetNumericEntry(s.doc, 0, &value);
    SInt16 key = 0;
    if (!ValidateKeyNumber(value, &key)) return;
    if (!AnySelected(s.doc)) {
        SysBeep(1);
        return;
    }
    s.t->picked.key = key;
    if (key != 0 && IsKeyInUse(s.doc, key)) {
        Next(s, question);
        s.t->picked.key = key;
        CommandFieldSetSTR128(s.doc);
        return;
    }
    GiveKey(s, kKeyGivenLabel);
}

void ConfirmGiveKey(ToolStep& s) {
    switch (Answer(s)) {
    case 1:
        GiveKey(s, kKeyJoinedLabel);
        break;
    case 0:
        EndPendingCommand(s.doc);
        break;
    default:
        break;
    }
}

void GiveKeyStep(ToolStep& s) {
    ChooseOrGiveKey(s, 1);
}

// 148 and 166: a rectangle or kind name that selects something moves on to the step; an empty
// rectangle starts again.
void SelectThen(ToolStep& s, SInt16 next) {
    if (SelectByRectangleOrKind(s)) {
        Next(s, next);
        return;
    }
    if (s.typed == 0) Next(s, 0);
}

void SelectThenGiveStep(ToolStep& s) {
    SelectThen(s, 2);
}

void ChooseMoreOrGiveKeyStep(ToolStep& s) {
    ChooseOrGiveKey(s, 3);
}

// 164: the elements of a key picked or typed stay selected until Return asks for another key.
void SelectKeyStep(ToolStep& s) {
    SInt16 key = 0;
    if (s.typed > 0 ? !TypedKeyInUse(s, &key) : !PickedNonZeroKey(s, &key)) return;
    Next(s, 1);
    SelectElementsByKey(s.doc, key, true);
    RequestRedraw(s.doc);
    PrefixKey(s, key);
}

void AnotherKeyStep(ToolStep& s) {
    if (s.typed != 0) Next(s, 0);
}

// 165.
void SaveKeyStep(ToolStep& s) {
    SInt16 key = 0;
    if (!PickedNonZeroKey(s, &key)) return;
    SelectElementsByKey(s.doc, key, true);
    SaveSelectionCopy(s.doc);
    EndPendingCommand(s.doc);
}

// 166.
void ChooseToSaveStep(ToolStep& s) {
    SelectThen(s, 1);
}

void SaveChosenStep(ToolStep& s) {
    if (s.typed == 0) {
        PickAnyElement(s.doc);
        return;
    }
    if (!AnySelected(s.doc)) {
        SysBeep(1);
        return;
    }
    SaveSelectionCopy(s.doc);
    EndPendingCommand(s.doc);
}

// 167.
void KeyToRemoveStep(ToolStep& s) {
    SInt16 key = 0;
    if (s.typed > 0 ? !TypedKeyInUse(s, &key) : !PickedNonZeroKey(s, &key)) return;
    Next(s, 1);
    s.t->picked.key = key;
    SelectElementsByKey(s.doc, key, true);
    RequestRedraw(s.doc);
    PrefixKey(s, key);
    CommandFieldSetSTR128(s.doc);
}

void ConfirmRemoveStep(ToolStep& s) {
    const int answer = Answer(s);
    if (answer < 0) return;
    if (answer == 1) {
        s.t->picked.key = 0;
        GiveKey(s, 0);
        return;
    }
    EndPendingCommand(s.doc);
}

// 159: about a clicked point, the elements of a picked key scaled to a typed scale value.
void RescaleCentreStep(ToolStep& s) {
    if (!SnapCursor(s.doc)) return;
    TransformState* st = TransformStateOf(s.doc);
    st->refX = s.d->toolInput.cursorX, st->refY = s.d->toolInput.cursorY;
    Next(s, 1);
}

void RescaleKeyStep(ToolStep& s) {
    SInt16 key = 0;
    if (!PickedNonZeroKey(s, &key)) return;
    const Float64 picked = s.t->picked.scale;
    // A scale value of 0 or less (from a damaged file) gives no factor to scale by.
    if (!(picked >= kSmallestScale)) {
        ShowErrorStr128(kScaleTooSmallMessage);
        return;
    }
    TransformState* st = TransformStateOf(s.doc);
    st->keys.reset();
    st->keyCount = 0;
    Next(s, 2);
    SelectElementsByKey(s.doc, key, true);
    RequestRedraw(s.doc);
    CommandFieldSetNumber(s.doc, picked / UnitToMillimetres(s.doc));
}

void RescaleValueStep(ToolStep& s) {
    if (s.typed <= 0) return;
    Float64 value = 0;
    GetNumericEntry(s.doc, 0, &value);
    const Float64 scale = value * UnitToMillimetres(s.doc);
    if (!(scale >= kSmallestScale)) {
        // Selected, so that the next typed digit replaces the refused value.
        ShowErrorStr128(kScaleTooSmallMessage);
        CommandFieldSelectAll(s.doc);
        return;
    }
    const Float64 picked = s.t->picked.scale;
    if (scale != picked) {
        TransformState* st = TransformStateOf(s.doc);
        st->factor = scale / picked;
        BeginUndoStep(s.doc);
        SetSelectionScaleValue(s.doc, scale);
        TransformSelection(s.doc, kTransformScaleFirst, 0, true);
        EndUndoStep(s.doc);
    }
    EndPendingCommand(s.doc);
}

const ToolStepRow kRows[] = {
    {kGiveKey, 0, "elements to toggle, then the key", StepInput::integer, GiveKeyStep},
    {kGiveKey, 1, "yes to give a key in use", StepInput::text, ConfirmGiveKey},
    {kSelectAndGiveKey, 0, "rectangle or kind name", StepInput::text, SelectThenGiveStep},
    {kSelectAndGiveKey, 2, "elements to toggle, then the key", StepInput::integer, ChooseMoreOrGiveKeyStep},
    {kSelectAndGiveKey, 3, "yes to give a key in use", StepInput::text, ConfirmGiveKey},
    {kRescaleKey, 0, "point to scale about", StepInput::point, RescaleCentreStep},
    {kRescaleKey, 1, "element of the key", StepInput::pick, RescaleKeyStep},
    {kRescaleKey, 2, "new scale", StepInput::values, RescaleValueStep},
    {kSelectKey, 0, "element of the key, or the key", StepInput::integer, SelectKeyStep},
    {kSelectKey, 1, "Return for another key", StepInput::text, AnotherKeyStep},
    {kSaveKey, 0, "element of the key to save", StepInput::pick, SaveKeyStep},
    {kSaveChosen, 0, "rectangle or kind name", StepInput::text, ChooseToSaveStep},
    {kSaveChosen, 1, "elements to toggle, Return saves", StepInput::text, SaveChosenStep},
    {kRemoveKey, 0, "element of the key, or the key", StepInput::integer, KeyToRemoveStep},
    {kRemoveKey, 1, "yes to remove the key", StepInput::text, ConfirmRemoveStep},
};

// Menu 133 item 4: the drawing scale becomes the scale value of the current key's elements.
void TakeWidthOfCurrentKey(DocWindowRecord* doc) {
    const SInt16 key = doc->settings->currentGroup;
    if (key == 0) return;
    Float64 scale = -1;
    auto find = [&](const auto* head) {
        for (auto* e = head != nullptr ? head->next : nullptr; e != nullptr && scale < 0; e = e->next)
            if (e->group == key) scale = e->scaleFactor;
    };
    find(doc->lineHead), find(doc->arcHead), find(doc->textHead), find(doc->dimensionHead);
    find(doc->polylineHead), find(doc->instanceHead), find(doc->areaHead);
    if (scale < 0) {
        ShowErrorStr128(kKeyNotUsedMessage);
        return;
    }
    if (!(scale >= kSmallestScale)) {
        ShowErrorStr128(kScaleTooSmallMessage);
        return;
    }
    doc->settings->drawingScale = scale / UnitToMillimetres(doc);
    DrawWindowStatusArea(doc);
}

// Menu 152 item 1: the whole drawing written as a copy; the document stays with its own file.
void SaveCopyAs(DocWindowRecord* doc) {
    DeselectAll(doc, false);
    Boolean saved = false;
    SaveDocumentAs(doc, 1, 0, 0, 1, &saved, 1);
}

const PendingMenuRow kMenuRows[] = {
    {133, 1, kGiveKey, nullptr},    {133, 2, kSelectAndGiveKey, nullptr}, {133, 4, 0, TakeWidthOfCurrentKey},
    {133, 5, kRescaleKey, nullptr}, {133, 8, kSelectKey, nullptr},        {133, 10, kRemoveKey, nullptr},
    {152, 1, 0, SaveCopyAs},        {152, 2, kSaveKey, nullptr},          {152, 3, kSaveChosen, nullptr},
};

} // namespace

constinit const ToolStepTable kPendingKeySteps{kRows};
constinit const PendingMenuRows kPendingKeyMenuRows{kMenuRows};
