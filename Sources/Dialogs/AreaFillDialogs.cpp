// The area fill dialogs. The pop-up menus of the three families are made while a dialog is open and
// disposed with it; a stored fill value outside its family opens at the family's default.
#include "Dialogs/AreaFillDialogs.h"

#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Model/Selection.h"
#include "Model/UndoJournal.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Platform/AppResources.h"
#include "Platform/Menus.h"
#include "Platform/PascalBytes.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "View/ContentPasses.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kHatchRadio = 3, kLastRadio = 6, kSpacingItem = 7, kAngleItem = 8, kCrossedItem = 9,
                 kUnitItem = 18;
// Items of dialog 151 by family: the pop-up and its preview.
constexpr SInt16 kPopupItem[3] = {10, 12, 14}, kPreviewItem[3] = {11, 13, 15};
constexpr SInt16 kChooserPopup = 3, kChooserPreview = 4;
constexpr SInt16 kFamilyMenu[3] = {512, 513, 514};
constexpr SInt16 kFamilyPatterns[3] = {131, 132, 133};
constexpr SInt16 kFamilyCount[3] = {24, 21, 15};
constexpr SInt16 kFamilyDefault[3] = {1, 11, 1};
constexpr SInt16 kChooserDialog[3] = {181, 182, 183}, kChooserSlot[3] = {37, 39, 38};
constexpr SInt16 kUnitNames = 550, kMillimetres = 1;

// The current index of each family while a dialog is open.
struct FillState {
    SInt16 index[3];
    ControlRef popup[3];
};
FillState* gFill = nullptr;

MenuRef MakeFamilyMenu(SInt16 kind) {
    MenuRef menu = NewMenu(kFamilyMenu[kind], reinterpret_cast<const UInt8*>(""));
    for (SInt16 i = 1; i <= kFamilyCount[kind]; ++i) {
        Str255 name;
        if (kind == 1) {
            char digits[8];
            std::snprintf(digits, sizeof digits, "%d", (i - 1) * 5);
            CStrToPStr(name, sizeof name, digits);
        } else {
            GetIndString(name, kind == 0 ? 131 : 132, i);
        }
        AppendMenuItemText(menu, name);
    }
    InsertMenu(menu, hierMenu);
    return menu;
}

void DisposeFamilyMenu(SInt16 kind, MenuRef menu) {
    DeleteMenu(kFamilyMenu[kind]);
    DisposeMenu(menu);
}

void DrawFamilyPreview(DialogRef dialog, SInt16 item, SInt16 kind) {
    if (gFill == nullptr) return;
    Rect r = FrameItemInside(dialog, item, 1);
    Pattern pattern{};
    if (GetIndPattern(&pattern, kFamilyPatterns[kind], gFill->index[kind]))
        FillRect(&r, &pattern);
    else
        EraseRect(&r);
}

void DrawAreaFillPreview(DialogRef dialog, DialogItemIndex item) {
    for (SInt16 kind = 0; kind < 3; ++kind)
        if (item == kPreviewItem[kind]) DrawFamilyPreview(dialog, item, kind);
}
void DrawFillPreview0(DialogRef dialog, DialogItemIndex item) {
    DrawFamilyPreview(dialog, item, 0);
}
void DrawFillPreview1(DialogRef dialog, DialogItemIndex item) {
    DrawFamilyPreview(dialog, item, 1);
}
void DrawFillPreview2(DialogRef dialog, DialogItemIndex item) {
    DrawFamilyPreview(dialog, item, 2);
}

void TrackFillPopup(DialogRef dialog, SInt16 kind) {
    TrackPopupItem(dialog, gFill->popup[kind], kFamilyMenu[kind], &gFill->index[kind], 0);
}

Boolean ChooseFillPattern(SInt16 kind, SInt16* fillKind, Float64* fillValue, UserItemProcPtr preview) {
    DialogRef dialog = OpenModalDialog(kChooserDialog[kind], DialogPositionTable[kChooserSlot[kind]]);
    if (dialog == nullptr) return false;
    FillState state{};
    state.index[kind] = FillIndexOf(kind, *fillValue);
    FillState* outer = gFill;
    gFill = &state;
    MenuRef menu = MakeFamilyMenu(kind);
    CreatePopupItem(dialog, kChooserPopup, kFamilyMenu[kind], &state.popup[kind], state.index[kind], 0);
    SetUserItemProc(dialog, kChooserPreview, preview);
    SInt16 item = 0;
    do {
        RunModalDialogStd(dialog, &item);
        if (item == kChooserPopup) {
            TrackFillPopup(dialog, kind);
            InvalItem(dialog, kChooserPreview);
        }
    } while (item != kOK && item != kCancel);
    CloseModalDialog(dialog, &DialogPositionTable[kChooserSlot[kind]]);
    gFill = outer;
    DisposeFamilyMenu(kind, menu);
    if (item != kOK) return false;
    *fillKind = kind;
    *fillValue = state.index[kind];
    return true;
}

} // namespace

SInt16 FillFamilyCount(SInt16 kind) {
    return kind >= 0 && kind <= 2 ? kFamilyCount[kind] : 0;
}

SInt16 FillFamilyDefault(SInt16 kind) {
    return kind >= 0 && kind <= 2 ? kFamilyDefault[kind] : 1;
}

SInt16 FillIndexOf(SInt16 kind, Float64 value) {
    if (kind < 0 || kind > 2) return 1;
    Float64 rounded = std::isfinite(value) ? std::round(value) : 0;
    return rounded >= 1 && rounded <= kFamilyCount[kind] ? SInt16(rounded) : kFamilyDefault[kind];
}

Boolean AreaFillDialog(DocWindowRecord* doc, AreaRecord* area) {
    if (doc == nullptr || area == nullptr) return false;
    DialogRef dialog = OpenModalDialog(kAreaFillDialog, DialogPositionTable[kAreaFillPositionSlot]);
    if (dialog == nullptr) return false;
    // The spacing is shown in millimetres times the drawing's scale, whatever unit lengths are
    // shown in elsewhere, so the label names millimetres.
    const Float64 scale = doc->settings->drawingScale > 0 ? doc->settings->drawingScale : 1.0;
    Str255 unit;
    GetIndString(unit, kUnitNames, kMillimetres);
    SetItemText(dialog, kUnitItem, unit);
    SetItemLength(doc, dialog, kSpacingItem, area->hatchSpacing * scale, 4);
    SetItemLength(doc, dialog, kAngleItem, area->hatchAngle, 4);
    SelectItemText(dialog, kSpacingItem);
    SetCheckBox(dialog, kCrossedItem, area->fillKind == kCrossHatchFill);
    FillState state{};
    for (SInt16 kind = 0; kind < 3; ++kind)
        state.index[kind] =
            kind == area->fillKind ? FillIndexOf(kind, area->hatchSpacing) : kFamilyDefault[kind];
    FillState* outer = gFill;
    gFill = &state;
    MenuRef menus[3];
    for (SInt16 kind = 0; kind < 3; ++kind) {
        menus[kind] = MakeFamilyMenu(kind);
        CreatePopupItem(dialog, kPopupItem[kind], kFamilyMenu[kind], &state.popup[kind], state.index[kind],
                        0);
        SetUserItemProc(dialog, kPreviewItem[kind], DrawAreaFillPreview);
    }
    SInt16 radio =
        area->fillKind >= 0 && area->fillKind <= 2 ? SInt16(kHatchRadio + 1 + area->fillKind) : kHatchRadio;
    SetRadioGroup(dialog, kHatchRadio, kLastRadio, radio);
    SInt16 item = 0;
    do {
        RunModalDialogStd(dialog, &item);
        // A hatch needs a spacing above 0: anything else is refused in place.
        if (item == kOK && radio == kHatchRadio && !(GetItemFormula(dialog, kSpacingItem) / scale > 0)) {
            SysBeep(1);
            SelectItemText(dialog, kSpacingItem);
            item = 0;
        } else if (item >= kHatchRadio && item <= kLastRadio) {
            radio = item;
            SetRadioGroup(dialog, kHatchRadio, kLastRadio, radio);
        } else if (item == kCrossedItem) {
            ToggleCheckBox(dialog, kCrossedItem);
        } else {
            for (SInt16 kind = 0; kind < 3; ++kind)
                if (item == kPopupItem[kind]) {
                    TrackFillPopup(dialog, kind);
                    InvalItem(dialog, kPreviewItem[kind]);
                }
        }
    } while (item != kOK && item != kCancel);
    AreaRecord after = *area;
    if (item == kOK) {
        if (radio == kHatchRadio) {
            Float64 spacing = GetItemFormula(dialog, kSpacingItem) / scale;
            Float64 angle = GetItemFormula(dialog, kAngleItem);
            after.hatchSpacing = spacing;
            after.hatchAngle = std::isfinite(angle) ? angle : area->hatchAngle;
            after.fillKind = IsCheckBoxOn(dialog, kCrossedItem) ? kCrossHatchFill : kSingleHatchFill;
        } else {
            SInt16 kind = SInt16(radio - kHatchRadio - 1);
            after.fillKind = kind;
            after.hatchSpacing = state.index[kind];
        }
    }
    CloseModalDialog(dialog, &DialogPositionTable[kAreaFillPositionSlot]);
    gFill = outer;
    for (SInt16 kind = 0; kind < 3; ++kind)
        DisposeFamilyMenu(kind, menus[kind]);
    area->selected = false;
    if (item == kOK) {
        BeginUndoStep(doc);
        const AreaRecord before = *area;
        *area = after;
        area->next = before.next;
        RecordUndoArea(doc, area, true);
        AreaRecord copy = before;
        RecordUndoArea(doc, &copy, false);
        EndUndoStep(doc);
    }
    RedrawWindow(doc);
    return item == kOK;
}

Boolean ChooseFillPattern0Dialog(SInt16* fillKind, void*, Float64* fillValue) {
    return ChooseFillPattern(0, fillKind, fillValue, DrawFillPreview0);
}

Boolean ChooseFillPattern1Dialog(SInt16* fillKind, void*, Float64* fillValue) {
    return ChooseFillPattern(1, fillKind, fillValue, DrawFillPreview1);
}

Boolean ChooseFillPattern2Dialog(SInt16* fillKind, void*, Float64* fillValue) {
    return ChooseFillPattern(2, fillKind, fillValue, DrawFillPreview2);
}
