// The drawing format dialog: paper format, page size, scale and units, and what follows a change of
// them (the paper frame replaced or scaled, the element sizes rescaled to a new unit).
#include "Dialogs/DrawingFormatDialog.h"

#include "Dialogs/PolylineVertexDialog.h"
#include "Files/TitleBlock.h"
#include "Model/DimensionEditing.h"
#include "Model/ElementLists.h"
#include "Model/LayersFrames.h"
#include "Model/SpatialIndex.h"
#include "Model/UndoJournal.h"
#include "Platform/AppResources.h"
#include "Model/Transform.h"
#include "Other/Alerts.h"
#include "Interface/DialogItems.h"
#include "Model/DrawingUnits.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Interface/ProgressWindow.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Menus.h"
#include "Tools/PendingValues.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <cmath>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kPositionSlot = 9;
enum : SInt16 {
    kFormatPopup = 3,
    kWidthItem = 4,
    kHeightItem = 5,
    kUnitName1 = 6,
    kUnitName2 = 7,
    kScalePopup = 11,
    kScaleItem = 12,
    kUnitPopup = 14,
    kCustomNameItem = 15,
    kCustomFactorItem = 19,
    kDisplayUnitPopup = 20,
    kNumberedPopup = 22,
    kTwoWayPopup = 24,
    kSwitchItem = 25,
};
constexpr SInt16 kPresetScales = 33; // items of the scale pop-up below its separator
constexpr SInt16 kGeneralStrings = 5000;
constexpr SInt16 kRescalingText = 83, kDimensionsText = 84;
constexpr SInt16 kScaleNotPositiveMessage = 240, kFactorNotPositiveMessage = 241;
constexpr SInt16 kFormatSwitchSlot = 0; // words1978

bool PositiveFinite(Float64 v) {
    return std::isfinite(v) && v > 0;
}

template <typename R> long CountList(const R* head) {
    long n = 0;
    for (const R* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next)
        ++n;
    return n;
}

// Three decimals, or as many more as a small scale needs to read back as itself, so that OK without
// a change keeps 1:2000 and never scales the frame.
void SetScaleText(DialogRef dialog, Float64 scale) {
    Str255 text;
    for (UInt16 digits = 3; digits <= 12; ++digits) {
        FormatReal(scale, digits, text);
        if (EvalFormulaString(text) == scale) break;
    }
    SetItemText(dialog, kScaleItem, text);
}

void ShowPageSize(const DocWindowRecord* doc, DialogRef dialog, SInt16 format) {
    Float64 w = 0, h = 0;
    if (!FormatPageSize(doc->settings, format, &w, &h)) return;
    const Float64 unit = DisplayUnitFactor(doc);
    SetItemLength(doc, dialog, kWidthItem, w / unit, SInt16(doc->settings->decimals));
    SetItemLength(doc, dialog, kHeightItem, h / unit, SInt16(doc->settings->decimals));
}

// A typed page side goes into the format's entry at once (Cancel keeps it); text that is not yet a
// positive size leaves the entry.
void StoreTypedSide(DocWindowRecord* doc, DialogRef dialog, SInt16 item) {
    const SInt16 format = GetItemValue(dialog, kFormatPopup);
    Float64 w = 0, h = 0;
    if (!FormatPageSize(doc->settings, format, &w, &h)) return;
    const Float64 typed = GetItemFormula(dialog, item) * DisplayUnitFactor(doc);
    if (!PositiveFinite(typed)) return;
    (item == kWidthItem ? w : h) = typed;
    StoreFormatPageSize(doc->settings, format, w, h);
}

void FillDialog(DocWindowRecord* doc, DialogRef dialog) {
    DocSettings* s = doc->settings;
    SetItemUnitName(doc, dialog, kUnitName1);
    SetItemUnitName(doc, dialog, kUnitName2);
    SetItemValue(dialog, kFormatPopup, SInt16(s->paperFormat));
    SetItemValue(dialog, kUnitPopup, SInt16(s->unitCode + 5));
    SetItemValue(dialog, kDisplayUnitPopup, s->dialogUnit == 1 ? 1 : 2);
    SetItemValue(dialog, kTwoWayPopup, FormatTwoWayChoice(s) ? 2 : 1);
    if (FormatNumberedChoice(s) == 0) FormatNumberedChoice(s) = 6;
    SetItemValue(dialog, kNumberedPopup, SInt16(FormatNumberedChoice(s)));
    SetScaleText(dialog, s->drawingScale);
    ShowPageSize(doc, dialog, SInt16(s->paperFormat));
    SelectItemText(dialog, kWidthItem);
    Str255 text;
    FormatReal(s->customUnitFactor, 5, text);
    SetItemText(dialog, kCustomFactorItem, text);
    SetItemText(dialog, kCustomNameItem, s->customUnitName);
    SetCheckBox(dialog, kSwitchItem, FormatSwitch(s) != 0);
}

// The scale and the custom factor must be positive numbers: a typo would otherwise scale the frame
// by 0 or divide sizes by 0. False, with the field selected, when one is not.
bool ReadChecked(DialogRef dialog, Float64* scale, Float64* factor) {
    if (!ReadNumberField(dialog, kScaleItem, scale)) return false;
    if (!PositiveFinite(*scale)) {
        ShowErrorStr128(kScaleNotPositiveMessage);
        SelectItemText(dialog, kScaleItem);
        return false;
    }
    if (!ReadNumberField(dialog, kCustomFactorItem, factor)) return false;
    if (!PositiveFinite(*factor)) {
        ShowErrorStr128(kFactorNotPositiveMessage);
        SelectItemText(dialog, kCustomFactorItem);
        return false;
    }
    return true;
}

bool DrawingIsEmpty(DocWindowRecord* doc) {
    bool empty = true;
    ForEachElementList(doc, [&](auto* head) { empty = empty && (head == nullptr || head->next == nullptr); });
    return empty;
}

// The new format: the old frame goes, the format's template comes, and the scale is 1.
void ReplaceFormat(DocWindowRecord* doc, SInt16 format) {
    DeleteLayerElements(doc, kHighestLayer);
    doc->settings->paperFormat = UInt16(format);
    Str255 name;
    PaperFormatName(format, name);
    if (doc->drawing->titleBlock != nullptr) StoreTitleBlockField(doc->drawing->titleBlock, 6, name);
    if (format != kFormatWithoutTemplate) LoadPaperTemplate(doc, format);
    doc->settings->drawingScale = 1.0;
}

void ChangeUnit(DocWindowRecord* doc, SInt16 newCode, Float64 oldMillimetres) {
    DocSettings* s = doc->settings;
    if (DrawingIsEmpty(doc)) {
        s->unitCode = newCode;
        return;
    }
    const SInt16 answer = ShowAlert(kUnitChangeAlert);
    if (answer != 2 && answer != 3) return;
    s->unitCode = newCode;
    const Float64 factor = UnitToMillimetres(doc) / oldMillimetres;
    if (answer == 2) {
        RescaleElementSizes(doc, factor);
        return;
    }
    // Item 3 scales the drawing about the origin by the same factor, in one undo step, so a line of
    // 10 old units measures 10 new units; the dimension texts are made again afterwards.
    if (PositiveFinite(factor)) ScaleWholeDrawing(doc, factor);
    RescaleElementSizes(doc, 1.0);
}

void ApplyOK(DocWindowRecord* doc, DialogRef dialog, Float64 newScale, Float64 newFactor) {
    DocSettings* s = doc->settings;
    MarkDocumentChanged(doc);
    FormatSwitch(s) = GetCheckBox(dialog, kSwitchItem) ? 1 : 0;
    const Float64 oldScale = s->drawingScale;
    // The millimetres of an old unit are those of the unit as it was, custom factor included.
    const Float64 oldMillimetres = UnitToMillimetres(doc);
    s->drawingScale = newScale;
    Str255 name;
    GetItemText(dialog, kCustomNameItem, name);
    AssignStr7(s->customUnitName, name);
    s->customUnitFactor = newFactor;
    s->dialogUnit = UInt16(GetItemValue(dialog, kDisplayUnitPopup));
    FormatTwoWayChoice(s) = GetItemValue(dialog, kTwoWayPopup) != 1 ? 1 : 0;
    FormatNumberedChoice(s) = UInt16(GetItemValue(dialog, kNumberedPopup));

    const SInt16 format = GetItemValue(dialog, kFormatPopup);
    if (format != SInt16(s->paperFormat) && ShowAlert(kFormatChangeAlert) == 2) ReplaceFormat(doc, format);
    if (s->drawingScale != oldScale && PositiveFinite(oldScale))
        ScaleLayerElements(doc, kHighestLayer, s->drawingScale / oldScale);

    const SInt16 code = SInt16(GetItemValue(dialog, kUnitPopup) - 5);
    if (code != s->unitCode) {
        if (PositiveFinite(oldMillimetres) && PositiveFinite(UnitFactorForCode(code, s->customUnitFactor)))
            ChangeUnit(doc, code, oldMillimetres);
        else
            s->unitCode = code; // a unit without a length factor: nothing to rescale by
    }
}

} // namespace

UInt16& FormatTwoWayChoice(DocSettings* settings) {
    return settings->InchesOnly;
}

UInt16& FormatNumberedChoice(DocSettings* settings) {
    return settings->InchFractionBits;
}

UInt16& FormatSwitch(DocSettings* settings) {
    return reinterpret_cast<UInt16&>(settings->words1978[kFormatSwitchSlot]);
}

void PaperFormatName(SInt16 format, Str255 name) {
    static const SInt16 names[] = {73, 74, 75, 76, 77, 78, 82}; // of the general strings
    name[0] = 0;
    if (format >= 1 && format <= 7) GetIndString(name, kGeneralStrings, names[format - 1]);
}

Boolean FormatPageSize(const DocSettings* settings, SInt16 format, Float64* width, Float64* height) {
    // A4 upright, A4 across, A3 to A0 across, Letter upright.
    static const Float64 kStandard[7][2] = {{210, 297}, {297, 210},  {420, 297},    {594, 420},
                                            {841, 594}, {1189, 841}, {215.9, 279.4}};
    if (format < 1 || format > 7) return false;
    const Float64 w = settings->reals1724[format - 1], h = settings->reals1780[format - 1];
    const bool own = PositiveFinite(w) && PositiveFinite(h);
    *width = own ? w : kStandard[format - 1][0];
    *height = own ? h : kStandard[format - 1][1];
    return true;
}

void StoreFormatPageSize(DocSettings* settings, SInt16 format, Float64 width, Float64 height) {
    if (format < 1 || format > 7) return;
    settings->reals1724[format - 1] = width;
    settings->reals1780[format - 1] = height;
}

void RescaleElementSizes(DocWindowRecord* doc, Float64 factor) {
    if (doc == nullptr || !PositiveFinite(factor)) return;
    long total = 0;
    ForEachElementList(doc, [&](auto* head) { total += CountList(head); });
    Str255 text;
    GetIndString(text, kGeneralStrings, kRescalingText);
    OpenProgress(text, false);
    long done = 0;
    SInt16 shown = -1;
    ForEachElementList(doc, [&](auto* head) {
        for (auto* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next) {
            e->scaleFactor *= factor;
            // The percentage is looked at once per thousand elements: a million divisions cost more
            // than the multiplications.
            if (++done % 1024 != 0) continue;
            const SInt16 percent = SInt16(100 * done / total);
            if (percent > shown) SetProgressPercent(shown = percent);
        }
    });
    CloseProgress();
    const long dimensions = CountList(doc->dimensionHead);
    if (dimensions == 0) return;
    GetIndString(text, kGeneralStrings, kDimensionsText);
    OpenProgress(text, false);
    // Each rebuilt dimension goes to the end of the list; the oldest is always first, so each is
    // rebuilt once. The old and new records go into one undo step.
    const Str255 empty = {0};
    BeginUndoStep(doc);
    shown = -1;
    for (long i = 0; i < dimensions; ++i) {
        DimensionRecord* dim = doc->dimensionHead->next;
        if (dim == nullptr) break;
        if (ChangeDimensionText(doc, dim, empty, dim->upperTolerance) == nullptr)
            MoveDimensionToListEnd(doc, dim);
        const SInt16 percent = SInt16(100 * (i + 1) / dimensions);
        if (percent > shown) SetProgressPercent(shown = percent);
    }
    EndUndoStep(doc);
    CloseProgress();
}

void DrawingFormatDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    DialogRef dialog = OpenModalDialog(kDrawingFormatDialog, DialogPositionTable[kPositionSlot]);
    if (dialog == nullptr) return;
    FillDialog(doc, dialog);
    SInt16 item = 0;
    Float64 scale = 0, factor = 0;
    for (;;) {
        EnableItem(dialog, kNumberedPopup, GetItemValue(dialog, kTwoWayPopup) == 2);
        RunModalDialogStd(dialog, &item);
        if (item == kCancel || (item == kOK && ReadChecked(dialog, &scale, &factor))) break;
        switch (item) {
        case kSwitchItem:
            ToggleCheckBox(dialog, kSwitchItem);
            break;
        case kFormatPopup:
            ShowPageSize(doc, dialog, GetItemValue(dialog, kFormatPopup));
            break;
        case kWidthItem:
        case kHeightItem:
            StoreTypedSide(doc, dialog, item);
            break;
        case kScalePopup:
            if (GetItemValue(dialog, kScalePopup) <= kPresetScales) {
                // The preset "1:5" is the ratio 1/5, whatever the length unit.
                Str255 text;
                GetMenuItemText(GetPopupMenu(dialog, kScalePopup), GetItemValue(dialog, kScalePopup), text);
                if (SInt16 colon = PosChar(':', text); colon > 0) text[colon] = '/';
                SetScaleText(dialog, EvalFormulaString(text));
                SelectItemText(dialog, kScaleItem);
            }
            break;
        default:
            break;
        }
    }
    if (item == kOK) ApplyOK(doc, dialog, scale, factor);
    CloseModalDialog(dialog, &DialogPositionTable[kPositionSlot]);
    if (item == kOK) {
        SpatialIndexStale(doc);
        InvalidateDocWindow(doc);
    }
    ResetToolState(doc, false);
}
