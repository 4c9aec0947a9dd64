// Attribute presets: one sorted insertion for every way a preset enters the list (the dialog, the
// native file, symbol windows), applying them, and dialog 190.
#include "Dialogs/AttributePresets.h"
#include "Dialogs/PaletteContents.h"

#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Model/NamedLists.h"
#include "Other/Alerts.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Platform/AppResources.h"
#include "Platform/ColorPicker.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Tools/StatusArea.h"
#include "View/WorldPrimitives.h"

#include <cmath>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kFirstMaskBox = 4, kFirstHighMaskBox = 26;
constexpr SInt16 kNameItem = 13, kGroupItem = 14, kLayerItem = 15, kScaleItem = 16, kPenItem = 17,
                 kLineKindItem = 18, kStartMarkItem = 19, kEndMarkItem = 20, kLineFlagOff = 21,
                 kLineFlagOn = 22, kSwatchItem = 29, kUnitItem = 30, kWidthItem = 31, kPatternItem = 32,
                 kFirstSnapRadio = 33, kLastSnapRadio = 36;
constexpr SInt16 kPenMenu = 143, kLineKindMenu = 144, kMarkMenu = 140;
constexpr SInt16 kGeneralTexts = 5000, kFromCurrentTitle = 180, kEditTitle = 181, kDuplicateTitle = 266,
                 kPickerPrompt = 91;
constexpr SInt16 kNameTakenMessage = 27, kLayerRangeMessage = 140, kPatternRangeMessage = 141;
constexpr SInt16 kDeletePresetQuestion = 9;
constexpr UInt8 kMaxNameLength = 31;

// Mask bit n sits in box 4 + n for n up to 8, then in 26 + (n - 9).
SInt16 MaskBox(SInt16 bit) {
    return bit <= kPresetEndMarkBit ? SInt16(kFirstMaskBox + bit) : SInt16(kFirstHighMaskBox + bit - 9);
}

bool LayerInRange(SInt32 v) {
    return v >= 0 && v < kLayerCount;
}
bool PatternInRange(SInt32 v) {
    return v >= 0 && v <= 31;
}

void ApplyPreset(DocWindowRecord* doc, const AttributePreset* p, SInt16 lastBit, bool showLayer) {
    DocSettings* s = doc->settings;
    auto on = [&](SInt16 bit) { return bit <= lastBit && TestLongBit(p->mask, bit); };
    if (on(kPresetPenBit) && p->pen >= 1 && p->pen <= 8) s->currentPen = SInt16(p->pen);
    if (on(kPresetLineKindBit)) s->currentLineType = SInt16(p->lineKind);
    if (on(kPresetGroupBit) && p->group <= 32000) s->currentGroup = SInt16(p->group);
    if (on(kPresetLayerBit) && LayerInRange(p->layer)) {
        s->currentLayer = SInt16(p->layer);
        if (showLayer && !IsLayerVisible(doc->layerVisible, s->currentLayer)) {
            SetLayerVisible(doc->layerVisible, s->currentLayer, true);
            InvalidateDocWindow(doc);
        }
    }
    // A scale of 0, below 0 or not finite, as a damaged file may hold, would make every size 0.
    if (on(kPresetScaleBit) && p->scale > 0 && std::isfinite(p->scale)) s->drawingScale = p->scale;
    if (on(kPresetLineFlagBit)) s->markNewLines = p->lineFlag == 1;
    if (on(kPresetStartMarkBit)) s->startMarkKind = p->startMark;
    if (on(kPresetEndMarkBit)) s->endMarkKind = p->endMark;
    DrawWindowStatusArea(doc);
    if (on(kPresetSnapBit) && p->snapMode <= 3 && SInt16(p->snapMode) != s->snapMode) {
        DrawSnapModeButton(doc, false);
        s->snapMode = SInt16(p->snapMode);
        DrawSnapModeButton(doc, true);
    }
    if (on(kPresetColourBit)) {
        s->currentColorIndex = p->colorIndex;
        s->currentColor = p->color;
    }
    if (on(kPresetWidthBit)) s->currentPenWidth100 = p->width100;
    if (on(kPresetPatternBit) && PatternInRange(p->pattern)) s->currentPattern = p->pattern;
}

// --- Dialog 190 -----------------------------------------------------------------------------------

struct PresetDialogState {
    DocWindowRecord* doc;
    ControlRef pen = nullptr, lineKind = nullptr, startMark = nullptr, endMark = nullptr;
    SInt16 penValue = 1, lineKindValue = 1, startValue = 1, endValue = 1;
};
PresetDialogState* gPreset = nullptr;

void DrawPresetSwatch(DialogRef dialog, DialogItemIndex item) {
    if (gPreset == nullptr) return;
    Rect r = FrameItemInside(dialog, item, 1);
    PixPatHandle pat = NewPixPat();
    MakeRGBPat(pat, &gPreset->doc->settings->currentColor);
    FillCRect(&r, pat);
    DisposePixPat(pat);
}

bool NameFits(DialogRef dialog) {
    Str255 name;
    GetItemText(dialog, kNameItem, name);
    return name[0] >= 1 && name[0] <= kMaxNameLength;
}

// OK is there only while the name has 1 to 31 characters.
Boolean PresetFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    Boolean result = StandardDialogFilter(dialog, event, itemHit);
    bool fits = NameFits(dialog);
    if (IsItemEnabled(dialog, kOK) != fits) EnableItem(dialog, kOK, fits);
    if (result && *itemHit == kOK && !fits) return false;
    return result;
}

void FillPresetDialog(DocWindowRecord* doc, DialogRef dialog, Boolean fromCurrent, const AttributePreset* p) {
    const DocSettings* s = doc->settings;
    UInt32 mask = 0;
    AttributePreset v{};
    if (fromCurrent) {
        for (SInt16 bit : {kPresetPenBit, kPresetLineKindBit, kPresetStartMarkBit, kPresetEndMarkBit})
            SetLongBit(&mask, bit);
        v.pen = UInt16(s->currentPen), v.lineKind = UInt16(s->currentLineType),
        v.group = UInt16(s->currentGroup);
        v.layer = UInt16(s->currentLayer), v.scale = s->drawingScale, v.lineFlag = s->markNewLines ? 1 : 0;
        v.snapMode = UInt16(s->snapMode), v.startMark = s->startMarkKind, v.endMark = s->endMarkKind;
        v.width100 = s->currentPenWidth100, v.pattern = s->currentPattern;
    } else {
        mask = p->mask;
        v = *p;
        // The swatch and the picker work on the document's current colour.
        doc->settings->currentColor = p->color;
    }
    for (SInt16 bit = 0; bit <= kPresetPatternBit; ++bit)
        SetCheckBox(dialog, MaskBox(bit), TestLongBit(mask, bit));
    SetItemText(dialog, kNameItem, fromCurrent ? reinterpret_cast<const UInt8*>("") : p->name);
    SetItemNumber(dialog, kGroupItem, v.group);
    SetItemNumber(dialog, kLayerItem, v.layer);
    Str255 text;
    FormatReal(v.scale, 4, text);
    SetItemText(dialog, kScaleItem, text);
    FormatReal(v.width100 / 100.0 / DisplayUnitFactor(doc), 2, text);
    SetItemText(dialog, kWidthItem, text);
    SetItemNumber(dialog, kPatternItem, v.pattern);
    SetItemUnitName(doc, dialog, kUnitItem);
    SetRadioGroup(dialog, kLineFlagOff, kLineFlagOn, v.lineFlag == 1 ? kLineFlagOn : kLineFlagOff);
    SetRadioGroup(dialog, kFirstSnapRadio, kLastSnapRadio,
                  SInt16(kFirstSnapRadio + (v.snapMode <= 3 ? v.snapMode : 0)));
    gPreset->penValue = SInt16(v.pen >= 1 && v.pen <= 8 ? v.pen : 1);
    gPreset->lineKindValue = SInt16(v.lineKind >= 1 ? v.lineKind : 1);
    gPreset->startValue = SInt16(v.startMark + 1);
    gPreset->endValue = SInt16(v.endMark + 1);
    NewPopupButton(dialog, kPenItem, kPenMenu, 0, 0, gPreset->penValue, &gPreset->pen);
    NewPopupButton(dialog, kLineKindItem, kLineKindMenu, 0, 0, gPreset->lineKindValue, &gPreset->lineKind);
    NewPopupButton(dialog, kStartMarkItem, kMarkMenu, 0, 0, gPreset->startValue, &gPreset->startMark);
    NewPopupButton(dialog, kEndMarkItem, kMarkMenu, 0, 0, gPreset->endValue, &gPreset->endMark);
    SetUserItemProc(dialog, kSwatchItem, DrawPresetSwatch);
    SelectItemText(dialog, kNameItem);
}

// The typed values; false after the message of a value that may not be stored.
bool ReadPresetDialog(DocWindowRecord* doc, DialogRef dialog, AttributePreset* p) {
    SInt32 layer = 0, pattern = 0;
    if (!GetItemInteger(dialog, kLayerItem, &layer) || !LayerInRange(layer)) {
        ShowErrorAlert(kLayerRangeMessage, reinterpret_cast<const UInt8*>(""));
        SelectItemText(dialog, kLayerItem);
        return false;
    }
    if (!GetItemInteger(dialog, kPatternItem, &pattern) || !PatternInRange(pattern)) {
        ShowErrorAlert(kPatternRangeMessage, reinterpret_cast<const UInt8*>(""));
        SelectItemText(dialog, kPatternItem);
        return false;
    }
    GetItemText(dialog, kNameItem, p->name);
    p->pen = UInt16(gPreset->penValue);
    p->lineKind = UInt16(gPreset->lineKindValue);
    p->group = UInt16(GetItemNumber(dialog, kGroupItem));
    p->layer = UInt16(layer);
    p->scale = GetItemFormula(dialog, kScaleItem);
    p->width100 = SInt16(std::lround(GetItemFormula(dialog, kWidthItem) * 100.0 * DisplayUnitFactor(doc)));
    p->pattern = UInt16(pattern);
    p->lineFlag = IsCheckBoxOn(dialog, kLineFlagOn) ? 1 : 0;
    for (SInt16 item = kFirstSnapRadio; item <= kLastSnapRadio; ++item)
        if (IsCheckBoxOn(dialog, item)) p->snapMode = UInt16(item - kFirstSnapRadio);
    p->startMark = UInt16(gPreset->startValue - 1);
    p->endMark = UInt16(gPreset->endValue - 1);
    p->color = doc->settings->currentColor;
    p->mask = 0;
    for (SInt16 bit = 0; bit <= kPresetPatternBit; ++bit)
        if (IsCheckBoxOn(dialog, MaskBox(bit))) SetLongBit(&p->mask, bit);
    return true;
}

void PresetItemHit(DocWindowRecord* doc, DialogRef dialog, SInt16 item) {
    if ((item >= kFirstMaskBox && item <= kFirstMaskBox + 8) || (item >= kFirstHighMaskBox && item <= 28)) {
        ToggleCheckBox(dialog, item);
    } else if (item == kLineFlagOff || item == kLineFlagOn) {
        SetRadioGroup(dialog, kLineFlagOff, kLineFlagOn, item);
    } else if (item >= kFirstSnapRadio && item <= kLastSnapRadio) {
        SetRadioGroup(dialog, kFirstSnapRadio, kLastSnapRadio, item);
    } else if (item == kPenItem) {
        TrackPopupButton(dialog, gPreset->pen, kPenMenu, &gPreset->penValue);
    } else if (item == kLineKindItem) {
        TrackPopupButton(dialog, gPreset->lineKind, kLineKindMenu, &gPreset->lineKindValue);
    } else if (item == kStartMarkItem) {
        TrackPopupButton(dialog, gPreset->startMark, kMarkMenu, &gPreset->startValue);
    } else if (item == kEndMarkItem) {
        TrackPopupButton(dialog, gPreset->endMark, kMarkMenu, &gPreset->endValue);
    } else if (item == kSwatchItem) {
        Str255 prompt;
        GetIndString(prompt, kGeneralTexts, kPickerPrompt);
        RGBColor& colour = doc->settings->currentColor;
        GetColor(Point{0, 0}, prompt, &colour, &colour);
        InvalItem(dialog, kSwatchItem);
    }
}

} // namespace

PresetListHook gPresetListChanged = RefreshPresetList;

SInt16 InsertPresetSorted(DocWindowRecord* doc, AttributePreset* preset, Boolean addRow) {
    SInt16 position = InsertNameSorted(&doc->drawing->attributePresets, preset, EqualNames::before);
    if (addRow) gPresetListChanged(doc);
    return position;
}

Boolean PresetNameTaken(DocWindowRecord* doc, ConstStr255Param name, const AttributePreset* preset) {
    for (const AttributePreset* p = doc->drawing->attributePresets; p != nullptr; p = p->next)
        if (p != preset && CompareListNames(p->name, name) == 0) return true;
    return false;
}

AttributePreset* PresetAt(DocWindowRecord* doc, SInt32 index) {
    AttributePreset* p = doc == nullptr ? nullptr : doc->drawing->attributePresets;
    for (; p != nullptr && index > 0; --index)
        p = p->next;
    return index < 0 ? nullptr : p;
}

SInt32 CountPresets(DocWindowRecord* doc) {
    SInt32 n = 0;
    for (AttributePreset* p = doc->drawing->attributePresets; p != nullptr; p = p->next)
        ++n;
    return n;
}

namespace {

void UnlinkPreset(DocWindowRecord* doc, AttributePreset* preset) {
    for (AttributePreset** slot = &doc->drawing->attributePresets; *slot != nullptr; slot = &(*slot)->next)
        if (*slot == preset) {
            *slot = preset->next;
            preset->next = nullptr;
            return;
        }
}

} // namespace

void DeletePreset(DocWindowRecord* doc, AttributePreset* preset, Boolean update, Boolean ask) {
    if (ask && !AskConfirm(kDeletePresetQuestion, preset->name, reinterpret_cast<const UInt8*>(""))) {
        DrawWindowStatusArea(doc);
        return;
    }
    UnlinkPreset(doc, preset);
    DisposeAttributePreset(&preset);
    if (update) gPresetListChanged(doc);
    if (ask) DrawWindowStatusArea(doc);
}

void DuplicatePreset(DocWindowRecord* doc, AttributePreset* preset) {
    AttributePreset* copy = CloneAttributePreset(preset);
    if (copy == nullptr) return;
    copy->next = nullptr;
    if (PresetDialog(doc, false, true, copy))
        DrawWindowStatusArea(doc);
    else
        DisposeAttributePreset(&copy);
}

Boolean PresetDialog(DocWindowRecord* doc, Boolean fromCurrent, Boolean duplicate, AttributePreset* preset) {
    if (doc == nullptr || (!fromCurrent && preset == nullptr)) return false;
    DialogRef dialog = OpenModalDialog(kPresetDialog, DialogPositionTable[kPresetPositionSlot]);
    if (dialog == nullptr) return false;
    SetWindowRefConPtr(GetDialogWindow(dialog), doc);
    Str255 title;
    GetIndString(title, kGeneralTexts,
                 fromCurrent ? kFromCurrentTitle
                 : duplicate ? kDuplicateTitle
                             : kEditTitle);
    SetWTitle(GetDialogWindow(dialog), title);
    PresetDialogState state{doc};
    // The swatch and the picker work on the document's current colour while the dialog is open;
    // the document gets its own colour back when it closes.
    const RGBColor currentColour = doc->settings->currentColor;
    PresetDialogState* outer = gPreset;
    gPreset = &state;
    FillPresetDialog(doc, dialog, fromCurrent, preset);
    AttributePreset values{};
    SInt16 item = 0;
    for (;;) {
        RunModalDialog(dialog, &item, PresetFilter);
        if (item == kCancel) break;
        if (item != kOK) {
            PresetItemHit(doc, dialog, item);
            continue;
        }
        Str255 name;
        GetItemText(dialog, kNameItem, name);
        // Editing keeps the preset's own name; any other preset's name, in any case, is refused.
        if (PresetNameTaken(doc, name, fromCurrent || duplicate ? nullptr : preset)) {
            SelectItemText(dialog, kNameItem);
            SysBeep(1);
            ShowErrorAlert(kNameTakenMessage, name);
            continue;
        }
        if (ReadPresetDialog(doc, dialog, &values)) break;
    }
    gPreset = outer;
    CloseModalDialog(dialog, &DialogPositionTable[kPresetPositionSlot]);
    doc->settings->currentColor = currentColour;
    if (item != kOK) return false;
    AttributePreset* record = preset;
    if (fromCurrent) {
        record = NewAttributePreset();
        if (record == nullptr) return false;
    } else if (!duplicate) {
        UnlinkPreset(doc, preset);
    }
    // The colour index is the dialog's to keep: a new preset has 0, others keep theirs.
    UInt16 colourIndex = record->colorIndex;
    values.colorIndex = colourIndex;
    values.next = nullptr;
    *record = values;
    InsertPresetSorted(doc, record, true);
    DrawWindowStatusArea(doc);
    return true;
}

void ApplyPresetFromWindow(DocWindowRecord* doc, const AttributePreset* preset) {
    if (doc != nullptr && preset != nullptr) ApplyPreset(doc, preset, kPresetPatternBit, true);
}

void ApplyPresetFromStatusBar(DocWindowRecord* doc, const AttributePreset* preset) {
    if (doc != nullptr && preset != nullptr) ApplyPreset(doc, preset, kPresetEndMarkBit, false);
}
