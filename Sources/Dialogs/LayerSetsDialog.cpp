// The layer-set dialog and the actions of the layer-set palette. The dialog edits the drawing's
// visibility and sets live; copies made at opening bring both back on Cancel.
#include "Dialogs/LayerSetsDialog.h"
#include "Dialogs/PaletteContents.h"

#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Model/NamedLists.h"
#include "Other/CursorsAndMouse.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Model/SharedUtilities.h"
#include "Platform/AppResources.h"
#include "Platform/Events.h"
#include "Platform/Menus.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/DocumentWindow.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2, kAllOn = 3, kAllOff = 4, kRangeOn = 5, kRangeOff = 6, kFirst = 7,
                 kLast = 8, kStep = 9, kPopup = 10, kNameItem = 14, kNewSet = 15, kDeleteSet = 16,
                 kStoreSet = 18, kLayerNumberItem = 20;
constexpr SInt16 kGeneralTexts = 5000, kNoSetText = 225, kLayerText = 101;
constexpr SInt16 kCrossCursor = 2;

struct SetsState {
    DocWindowRecord* doc;
    MenuRef menu = nullptr;
    ControlRef popup = nullptr;
    Rect map{};
    SInt16 shownLayer = -1;
};
SetsState* gSets = nullptr;

SInt16& Choice(DocWindowRecord* doc) {
    return doc->drawing->layerSetChoice;
}

bool Bit(const UInt8* bits, SInt16 n) {
    return (bits[n >> 3] & (0x80 >> (n & 7))) != 0;
}

Rect LayerSquare(const Rect& map, SInt16 n) {
    SInt16 left = SInt16(map.left + 4 * (n % 32)), top = SInt16(map.top + 4 * (n / 32));
    return Rect{top, left, SInt16(top + 3), SInt16(left + 3)};
}

void DrawLayerMap(DialogRef dialog, DialogItemIndex) {
    if (gSets == nullptr) return;
    SetPortToDialog(dialog);
    const Rect& m = gSets->map;
    Rect all{SInt16(m.top - 1), SInt16(m.left - 1), m.bottom, m.right};
    PenNormal();
    PaintRect(&all);
    for (SInt16 n = 0; n < kLayerCount; ++n)
        if (!IsLayerVisible(gSets->doc->layerVisible, n)) {
            Rect r = LayerSquare(m, n);
            EraseRect(&r);
        }
}

void ShowLayerNumber(DialogRef dialog, SInt16 layer) {
    if (layer == gSets->shownLayer) return;
    SetPortToDialog(dialog);
    Rect r{};
    GetDItemRect(dialog, kLayerNumberItem, &r);
    EraseRect(&r);
    if (layer >= 0) {
        SetCursorById(kCrossCursor);
        TextFont(AppFontNumber());
        TextSize(9);
        Str255 text;
        GetIndString(text, kGeneralTexts, kLayerText);
        char digits[8];
        std::snprintf(digits, sizeof digits, "%d", layer);
        AppendCStr(text, sizeof text, digits);
        FontInfo info{};
        GetFontInfo(&info);
        MoveTo(SInt16((r.left + r.right - StringWidth(text)) / 2), SInt16(r.top + info.ascent));
        DrawString(text);
        TextFont(0);
        TextSize(12);
    } else {
        SetCursorById(kArrowCursorId);
    }
    gSets->shownLayer = layer;
}

void RebuildLayerSetMenu(DocWindowRecord* doc) {
    CountLayerSets(doc);
    MenuRef menu = gSets->menu;
    if (SInt16 n = CountMenuItems(menu); n > 1) DeleteMenuItems(menu, 2, UInt32(n - 1));
    if (doc->drawing->layerSets == nullptr) return;
    const UInt8 separator[2] = {1, '-'};
    AppendMenu(menu, separator);
    for (LayerSetRecord* s = doc->drawing->layerSets; s != nullptr; s = s->next) {
        // The name as it is: no character of it is read as a menu metacharacter.
        AppendMenuItemText(menu, s->name);
    }
}

void SyncPopup(DocWindowRecord* doc) {
    if (gSets->popup == nullptr) return;
    SetControlMaximum(gSets->popup, CountMenuItems(gSets->menu));
    SetControlValue(gSets->popup, Choice(doc));
}

bool ItemEmpty(DialogRef dialog, SInt16 item) {
    Str255 text;
    GetItemText(dialog, item, text);
    return text[0] == 0;
}

Boolean LayerSetFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    Boolean result = StandardDialogFilter(dialog, event, itemHit);
    if (gSets == nullptr) return result;
    DocWindowRecord* doc = gSets->doc;
    SetPortToDialog(dialog);
    Point mouse{};
    GetMouse(&mouse);
    ShowLayerNumber(dialog, LayerMapCellAt(gSets->map, mouse));
    Str255 name;
    GetItemText(dialog, kNameItem, name);
    auto enable = [&](SInt16 item, bool on) {
        if (IsItemEnabled(dialog, item) != on) EnableItem(dialog, item, on);
    };
    enable(kNewSet, name[0] != 0 && !LayerSetNameExists(doc, name));
    enable(kDeleteSet, Choice(doc) >= kFirstLayerSetEntry);
    bool range = !ItemEmpty(dialog, kFirst) && !ItemEmpty(dialog, kLast) && !ItemEmpty(dialog, kStep);
    enable(kRangeOn, range);
    enable(kRangeOff, range);
    return result;
}

void PressButton(DialogRef dialog, SInt16 item, bool pressed) {
    ControlRef c = nullptr;
    if (GetDialogItemAsControl(dialog, item, &c) == noErr && c != nullptr) HiliteControl(c, pressed ? 1 : 0);
}

void SetAllOrRange(DocWindowRecord* doc, DialogRef dialog, SInt16 item) {
    PressButton(dialog, item, true);
    if (item == kAllOn || item == kAllOff) {
        std::memset(doc->layerVisible->bits, item == kAllOn ? 0xFF : 0x00, sizeof doc->layerVisible->bits);
    } else {
        SInt16 first = std::clamp<SInt16>(GetItemShort(dialog, kFirst), 0, kLayerCount - 1);
        SInt16 last = std::clamp<SInt16>(GetItemShort(dialog, kLast), 0, kLayerCount - 1);
        SInt16 step = std::clamp<SInt16>(GetItemShort(dialog, kStep), 1, kLayerCount - 1);
        for (SInt32 n = first; n <= last; n += step)
            SetLayerVisible(doc->layerVisible, SInt16(n), item == kRangeOn);
    }
    UInt32 ticks = 0;
    Delay(20, &ticks);
    PressButton(dialog, item, false);
    InvalItem(dialog, kLayerMapItem);
    MarkDocumentDirty(doc);
}

void PaintOnMap(DocWindowRecord* doc, DialogRef dialog) {
    SetPortToDialog(dialog);
    Point mouse{};
    GetMouse(&mouse);
    SInt16 start = LayerMapCellAt(gSets->map, mouse);
    if (start < 0) return;
    const bool paint = !IsLayerVisible(doc->layerVisible, start);
    for (bool first = true; first || StillDown(); first = false) {
        GetMouse(&mouse);
        SInt16 layer = LayerMapCellAt(gSets->map, mouse);
        ShowLayerNumber(dialog, layer);
        if (layer < 0 || IsLayerVisible(doc->layerVisible, layer) == paint) continue;
        SetLayerVisible(doc->layerVisible, layer, paint);
        Rect r = LayerSquare(gSets->map, layer);
        InvertRect(&r);
    }
}

void ShowLayerSet(DocWindowRecord* doc, DialogRef dialog, SInt16 n, bool withName) {
    LayerSetRecord* set = LayerSetAt(doc, n);
    if (set == nullptr) return;
    std::memcpy(doc->layerVisible->bits, set->layers, sizeof set->layers);
    if (withName) {
        SetItemText(dialog, kNameItem, set->name);
        SelectItemText(dialog, kNameItem);
    }
}

void FreeSets(LayerSetRecord* s) {
    while (s != nullptr) {
        LayerSetRecord* next = s->next;
        DisposeLayerSetRecord(&s);
        s = next;
    }
}

// A copy of the list in its order; false (with nothing left over) when memory runs out.
bool CopySets(const LayerSetRecord* from, LayerSetRecord** out) {
    *out = nullptr;
    LayerSetRecord** tail = out;
    for (; from != nullptr; from = from->next) {
        LayerSetRecord* copy = NewLayerSetRecord();
        if (copy == nullptr) {
            FreeSets(*out);
            *out = nullptr;
            return false;
        }
        std::memcpy(copy->name, from->name, sizeof copy->name);
        std::memcpy(copy->layers, from->layers, sizeof copy->layers);
        *tail = copy;
        tail = &copy->next;
    }
    return true;
}

} // namespace

LayerSetListHook gLayerSetListChanged = RefreshLayerSetList;
LayerSetSelectionHook gLayerSetPaletteSelection = LayerSetPaletteSelection;

LayerSetRecord* LayerSetAt(DocWindowRecord* doc, SInt16 n) {
    if (n < 1) return nullptr;
    LayerSetRecord* s = doc->drawing->layerSets;
    for (; s != nullptr && n > 1; --n)
        s = s->next;
    return s;
}

SInt16 CountLayerSets(DocWindowRecord* doc) {
    SInt16 n = 0;
    for (LayerSetRecord* s = doc->drawing->layerSets; s != nullptr; s = s->next)
        ++n;
    doc->settings->layerSetCount = n;
    return n;
}

SInt16 NewLayerSetFromVisibility(DocWindowRecord* doc, ConstStr255Param name) {
    LayerSetRecord* set = NewLayerSetRecord();
    if (set == nullptr) return 0;
    AssignStr255(set->name, name);
    std::memcpy(set->layers, doc->layerVisible->bits, sizeof set->layers);
    return InsertNameSorted(&doc->drawing->layerSets, set, EqualNames::behindFirst);
}

void DeleteLayerSet(DocWindowRecord* doc, SInt16 n) {
    LayerSetRecord** slot = &doc->drawing->layerSets;
    for (; *slot != nullptr && n > 1; --n)
        slot = &(*slot)->next;
    if (*slot == nullptr || n != 1) return;
    LayerSetRecord* set = *slot;
    *slot = set->next;
    DisposeLayerSetRecord(&set);
}

void StoreLayerSet(DocWindowRecord* doc, SInt16 n) {
    if (LayerSetRecord* set = LayerSetAt(doc, n))
        std::memcpy(set->layers, doc->layerVisible->bits, sizeof set->layers);
}

void ApplyLayerSet(DocWindowRecord* doc, SInt16 n) {
    LayerSetRecord* set = LayerSetAt(doc, n);
    if (set == nullptr) return;
    std::memcpy(doc->layerVisible->bits, set->layers, sizeof set->layers);
    InvalidateDocWindow(doc);
}

Boolean LayerSetNameExists(DocWindowRecord* doc, ConstStr255Param name) {
    for (LayerSetRecord* s = doc->drawing->layerSets; s != nullptr; s = s->next)
        if (EqualPStr(s->name, name)) return true;
    return false;
}

SInt16 LayerMapCellAt(const Rect& map, Point local) {
    SInt32 x = local.h - map.left, y = local.v - map.top;
    if (x < 0 || y < 0 || x >= 128 || y >= 128) return -1;
    return SInt16(x / 4 + 32 * (y / 4));
}

void ChooseLayerSet(DocWindowRecord* doc, const LayerSetRecord* set) {
    if (doc == nullptr || set == nullptr) return;
    for (SInt16 n = 0; n < kLayerCount; ++n)
        SetLayerVisible(doc->layerVisible, n, Bit(set->layers, n));
    SetLayerVisible(doc->layerVisible, doc->settings->currentLayer, true);
    InvalidateDocWindow(doc);
}

void ShowAllLayers(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    std::memset(doc->layerVisible->bits, 0xFF, sizeof doc->layerVisible->bits);
    InvalidateDocWindow(doc);
}

void ShowOnlyCurrentLayer(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    std::memset(doc->layerVisible->bits, 0, sizeof doc->layerVisible->bits);
    SetLayerVisible(doc->layerVisible, doc->settings->currentLayer, true);
    InvalidateDocWindow(doc);
}

void LayerSetsDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    const LayerVisibilitySet savedBits = *doc->layerVisible;
    LayerSetRecord* savedSets = nullptr;
    const bool copied = CopySets(doc->drawing->layerSets, &savedSets);
    DialogRef dialog = OpenModalDialog(kLayerSetsDialog, DialogPositionTable[kLayerSetsPositionSlot]);
    if (dialog == nullptr) {
        FreeSets(savedSets);
        return;
    }
    SetWindowRefConPtr(GetDialogWindow(dialog), doc);
    if (!copied) EnableItem(dialog, kCancel, false);
    SetsState state{doc};
    SetsState* outer = gSets;
    gSets = &state;
    Str255 text;
    state.menu = NewMenu(kLayerSetMenu, reinterpret_cast<const UInt8*>(""));
    InsertMenu(state.menu, hierMenu);
    GetIndString(text, kGeneralTexts, kNoSetText);
    AppendMenuItemText(state.menu, text);
    GetDItemRect(dialog, kLayerMapItem, &state.map);
    SetUserItemProc(dialog, kLayerMapItem, DrawLayerMap);
    RebuildLayerSetMenu(doc);
    Choice(doc) = kNoLayerSet;
    if (SInt16 row = gLayerSetPaletteSelection(); row >= 0 && LayerSetAt(doc, SInt16(row + 1)) != nullptr)
        Choice(doc) = SInt16(row + kFirstLayerSetEntry);
    NewPopupButton(dialog, kPopup, kLayerSetMenu, 0, 0, Choice(doc), &state.popup);
    if (LayerSetRecord* set = LayerSetAt(doc, SInt16(Choice(doc) - 2)))
        SetItemText(dialog, kNameItem, set->name);
    SelectItemText(dialog, kNameItem);
    SInt16 item = 0;
    for (;;) {
        RunModalDialog(dialog, &item, LayerSetFilter);
        if (item == kOK || item == kCancel) break;
        SInt16 chosenSet = SInt16(Choice(doc) - 2);
        switch (item) {
        case kAllOn:
        case kAllOff:
        case kRangeOn:
        case kRangeOff:
            SetAllOrRange(doc, dialog, item);
            break;
        case kPopup:
            if (TrackPopupButton(dialog, state.popup, kLayerSetMenu, &Choice(doc)) &&
                Choice(doc) >= kFirstLayerSetEntry) {
                ShowLayerSet(doc, dialog, SInt16(Choice(doc) - 2), true);
                InvalItem(dialog, kLayerMapItem);
            }
            break;
        case kNewSet:
            GetItemText(dialog, kNameItem, text);
            if (text[0] != 0 && !LayerSetNameExists(doc, text)) {
                if (SInt16 position = NewLayerSetFromVisibility(doc, text); position > 0) {
                    RebuildLayerSetMenu(doc);
                    Choice(doc) = SInt16(position + 2);
                    SyncPopup(doc);
                }
                MarkDocumentDirty(doc);
            }
            break;
        case kDeleteSet:
            if (chosenSet >= 1) {
                DeleteLayerSet(doc, chosenSet);
                RebuildLayerSetMenu(doc);
                Choice(doc) = kNoLayerSet;
                SyncPopup(doc);
                MarkDocumentDirty(doc);
            }
            break;
        case kLayerMapItem:
            PaintOnMap(doc, dialog);
            break;
        case kStoreSet:
            if (chosenSet >= 1) {
                StoreLayerSet(doc, chosenSet);
                MarkDocumentDirty(doc);
            }
            break;
        default:
            break;
        }
    }
    CloseModalDialog(dialog, &DialogPositionTable[kLayerSetsPositionSlot]);
    gSets = outer;
    if (Choice(doc) >= kFirstLayerSetEntry) ApplyLayerSet(doc, SInt16(Choice(doc) - 2));
    if (copied && item == kCancel) {
        *doc->layerVisible = savedBits;
        FreeSets(doc->drawing->layerSets);
        doc->drawing->layerSets = savedSets;
        // The entry chosen belonged to the edited list.
        Choice(doc) = kNoLayerSet;
    } else {
        FreeSets(savedSets);
    }
    CountLayerSets(doc);
    DeleteMenu(kLayerSetMenu);
    DisposeMenu(state.menu);
    InvalidateDocWindow(doc);
    gLayerSetListChanged(doc);
    SetLayerVisible(doc->layerVisible, doc->settings->currentLayer, true);
}
