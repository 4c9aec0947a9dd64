// The status bar's boxes: each click at the stored mouse point finds its box, opens that box's pop-up
// beside the window's bottom edge and sets what was chosen.
#include "Dialogs/StatusBarClicks.h"

#include "Dialogs/AttributePresets.h"
#include "Model/NewDocument.h"
#include "Model/UsedNumbers.h"
#include "Other/Alerts.h"
#include "Other/NumberFormat.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppResources.h"
#include "Platform/Events.h"
#include "Platform/NumberText.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/EventLoop.h"
#include "Tools/StatusArea.h"
#include "Tools/AttributeTools.h"
#include "Tools/CommandField.h"
#include "Tools/PendingValues.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr SInt16 kScaleMenuId = 136;
constexpr SInt16 kOtherScaleItem = 35;
constexpr SInt16 kPresetScaleItems = 33;
constexpr SInt16 kWidthCommand = 150;
constexpr SInt16 kScaleCommand = 158;
constexpr SInt16 kNoLayerInUse = 177;
constexpr SInt16 kCriteriaItems[] = {262, 263, 264};
// A hidden layer's mark in the layer pop-up: the bullet of Mac Roman.
constexpr unsigned char kHiddenLayerMark = 0xA5;

// The window's left and bottom edges in global coordinates: the pop-ups are placed from them.
struct Edges {
    SInt16 left, bottom;
};

Edges WindowEdges(DocWindowRecord* doc) {
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(doc->window);
    Rect port;
    GetWindowPortBounds(doc->window, &port);
    Point corner{port.bottom, port.left};
    LocalToGlobal(&corner);
    SetPort(saved);
    return {corner.h, corner.v};
}

// The item chosen, 0 for none.
SInt16 PopUp(MenuRef menu, SInt16 h, SInt16 v, SInt16 current) {
    SInt32 chosen = PopUpMenuSelect(menu, SInt16(std::max<SInt16>(v, 0)), h, current);
    return chosen == 0 ? SInt16(0) : SInt16(chosen & 0xFFFF);
}

void ClearItems(MenuRef menu) {
    DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu)));
}

bool PenPopUp(DocWindowRecord* doc, Edges e) {
    MenuRef menu = GetMenuHandle(kPenMenu);
    if (menu == nullptr) return false;
    DocSettings* s = doc->settings;
    ClearItems(menu);
    for (SInt16 pen = 1; pen <= 8; ++pen) {
        Str255 text, width;
        NumToString(pen, text);
        AppendPStr(text, sizeof(Str255), reinterpret_cast<const UInt8*>("\x02 ["));
        FormatReal(s->penWidths[pen - 1], 2, width);
        AppendPStr(text, sizeof(Str255), width);
        AppendChar(text, sizeof(Str255), ']');
        AppendMenuItemText(menu, text);
    }
    const SInt16 current = SInt16(std::clamp<SInt16>(s->currentPen, 1, 8));
    CheckMenuItem(menu, current, true);
    SInt16 item = PopUp(menu, e.left, SInt16(e.bottom - 144), current);
    CheckMenuItem(menu, current, false);
    if (item < 1 || item > 8) return false;
    s->currentPen = item;
    const Float64 width = s->penWidths[item - 1];
    s->currentPenWidth100 =
        std::isfinite(width) ? SInt16(std::clamp(std::lround(width * 100.0), 0L, 32767L)) : 0;
    OfferAttributeValue(doc, 0, item, nullptr);
    return true;
}

bool LineTypePopUp(DocWindowRecord* doc, Edges e) {
    MenuRef menu = GetMenuHandle(kLineTypeMenu);
    if (menu == nullptr) return false;
    DocSettings* s = doc->settings;
    const SInt16 current = s->currentLineType;
    CheckMenuItem(menu, current, true);
    SInt16 item = PopUp(menu, SInt16(doc->drawing->layout.mouseH - 20 + e.left), SInt16(e.bottom - 124),
                        std::max<SInt16>(current, 1));
    CheckMenuItem(menu, current, false);
    if (item < 1 || item > CountMenuItems(menu)) return false;
    s->currentLineType = item;
    OfferAttributeValue(doc, 1, item, nullptr);
    return true;
}

void LayerPopUp(DocWindowRecord* doc, Boolean option, Edges e) {
    MenuRef menu = NewMenu(kLayerPopUpMenu, reinterpret_cast<const UInt8*>("\x00"));
    SInt16 layers[kLayerCount];
    SInt16 count = BuildLayerPopUp(doc, menu, layers);
    if (count == 0) {
        DisposeMenu(menu);
        ShowErrorStr128(kNoLayerInUse);
        return;
    }
    SInt16 current = 1;
    for (SInt16 i = 0; i < count; ++i)
        if (layers[i] == doc->settings->currentLayer) current = SInt16(i + 1);
    InsertMenu(menu, hierMenu);
    SInt16 item = PopUp(menu, SInt16(e.left + 74), SInt16(e.bottom - 14), current);
    DeleteMenu(kLayerPopUpMenu);
    DisposeMenu(menu);
    if (item >= 1 && item <= count) ChooseLayerFromPopUp(doc, layers[item - 1], option, layers[0]);
    DrawWindowStatusArea(doc);
    EndPendingCommand(doc);
}

bool ScalePopUp(DocWindowRecord* doc, Edges e) {
    MenuRef menu = GetMenuHandle(kScaleMenuId);
    if (menu == nullptr) return false;
    DocSettings* s = doc->settings;
    SInt16 current = kOtherScaleItem;
    for (SInt16 i = 1; i <= kPresetScaleItems; ++i)
        if (doc->drawing->layout.presetScales[i - 1] == s->drawingScale) current = i;
    CheckMenuItem(menu, current, true);
    SInt16 item = PopUp(menu, SInt16(e.left + 136), SInt16(e.bottom - 320), current);
    CheckMenuItem(menu, current, false);
    if (item == kOtherScaleItem) {
        StartPendingCommand(doc, kScaleCommand);
        CommandFieldSetNumber(doc, TypedDrawingScale(doc));
        return false;
    }
    if (item < 1 || item > kPresetScaleItems) return false;
    const Float64 scale = doc->drawing->layout.presetScales[item - 1];
    if (!(scale > 0.0) || !std::isfinite(scale)) return false;
    s->drawingScale = scale;
    // The grid's spacing follows the scale; the grid is not drawn in XOR, so the window is redrawn.
    if (s->gridVisible) RequestRedraw(doc);
    return true;
}

bool PresetPopUp(DocWindowRecord* doc, Edges e) {
    SInt16 count = 0;
    for (AttributePreset* p = doc->drawing->attributePresets; p != nullptr; p = p->next)
        ++count;
    if (count == 0) return false;
    MenuRef menu = NewMenu(kPresetPopUpMenu, reinterpret_cast<const UInt8*>("\x00"));
    for (AttributePreset* p = doc->drawing->attributePresets; p != nullptr; p = p->next)
        AppendMenuItemText(menu, p->name);
    InsertMenu(menu, hierMenu);
    SInt16 item = PopUp(menu, SInt16(e.left + 201), SInt16(e.bottom - 16 * (count + 1)), 0);
    DeleteMenu(kPresetPopUpMenu);
    DisposeMenu(menu);
    if (item < 1 || item > count) return false;
    AttributePreset* p = doc->drawing->attributePresets;
    for (SInt16 i = 1; i < item; ++i)
        p = p->next;
    ApplyPresetFromStatusBar(doc, p);
    return true;
}

// The pick modes with, after them, the drawing's selection tables and the three table commands; the
// table commands stay disabled, since no dialog edits the tables yet.
void PickModeMenu(DocWindowRecord* doc, Edges e) {
    MenuRef menu = GetMenuHandle(kPickModeMenu);
    if (menu == nullptr) return;
    const SInt16 own = CountMenuItems(menu);
    for (NamedTableRecord* t = doc->drawing->criteriaTables; t != nullptr; t = t->next) {
        if (t == doc->drawing->criteriaTables) AppendMenu(menu, reinterpret_cast<const UInt8*>("\x02(-"));
        AppendMenuItemText(menu, t->name);
    }
    const SInt16 firstCommand = SInt16(CountMenuItems(menu) + 2);
    AppendMenu(menu, reinterpret_cast<const UInt8*>("\x02(-"));
    for (SInt16 text : kCriteriaItems) {
        Str255 title;
        GetIndString(title, kGeneralTextList, text);
        AppendMenuItemText(menu, title);
        DisableMenuItem(menu, MenuItemIndex(CountMenuItems(menu)));
    }
    const SInt16 current = SInt16(doc->drawing->toolInput.pickFilter + 1);
    CheckMenuItem(menu, current, true);
    SInt16 item = PopUp(menu, SInt16(e.left + 215), SInt16(e.bottom - 176), current);
    CheckMenuItem(menu, current, false);
    DeleteMenuItems(menu, MenuItemIndex(own + 1), UInt32(CountMenuItems(menu) - own));
    if (item < 1 || item >= firstCommand - 1 || item == own + 1) return;
    const SInt16 mode = SInt16(item - 1);
    if (mode == doc->drawing->toolInput.pickFilter) return;
    SetPickFilter(doc, mode);
    doc->drawing->toolInput.pickMode = UInt16(mode);
    DrawWindowStatusArea(doc);
}

// Menu 140 is none of the menus the bar keeps: it is read for the pop-up and disposed after it.
bool LineEndPopUp(DocWindowRecord*, UInt16* mark, SInt16 h, Edges e) {
    MenuRef menu = GetMenu(kLineEndMenu);
    if (menu == nullptr) return false;
    InsertMenu(menu, hierMenu);
    const SInt16 current = SInt16(*mark + 1);
    CheckMenuItem(menu, current, true);
    SInt16 item = PopUp(menu, SInt16(e.left + h), SInt16(e.bottom - 142), current);
    DeleteMenu(kLineEndMenu);
    DisposeMenu(menu);
    if (item < 1 || item == current) return false;
    *mark = UInt16(item - 1);
    return true;
}

void Redraw(DocWindowRecord* doc) {
    DrawWindowStatusArea(doc);
    DeselectPresetList();
}

} // namespace

SInt16 BuildLayerPopUp(DocWindowRecord* doc, MenuRef menu, SInt16* layers) {
    ClearItems(menu);
    LayerVisibilitySet used{};
    SInt32 count = 0;
    CollectUsedLayers(doc, &count, &used);
    if (count == 0) return 0;
    const SInt16 current = doc->settings->currentLayer;
    SInt16 n = 0;
    for (SInt16 layer = 0; layer < kLayerCount; ++layer) {
        if ((used.bits[layer >> 3] & (0x80 >> (layer & 7))) == 0) continue;
        Str255 text;
        NumToString(layer, text);
        AppendPStr(text, sizeof(Str255), reinterpret_cast<const UInt8*>("\x03 - "));
        if (doc->layerNames != nullptr) AppendPStr(text, sizeof(Str255), doc->layerNames->names[layer]);
        AppendMenuItemText(menu, text);
        layers[n++] = layer;
        if (layer == current)
            SetItemMark(menu, n, checkMark);
        else if (doc->layerVisible != nullptr && !IsLayerVisible(doc->layerVisible, layer))
            SetItemMark(menu, n, kHiddenLayerMark);
    }
    return n;
}

void ChooseLayerFromPopUp(DocWindowRecord* doc, SInt16 layer, Boolean option, SInt16 lowestUsed) {
    DocSettings* s = doc->settings;
    s->currentLayer = layer;
    if (doc->layerVisible == nullptr) return;
    const bool visible = IsLayerVisible(doc->layerVisible, layer);
    if (option && visible) {
        SetLayerVisible(doc->layerVisible, layer, false);
        // New elements must not go onto the layer just hidden: the lowest used layer still shown
        // takes its place, or the lowest used one when every used layer is hidden.
        SInt16 next = lowestUsed;
        LayerVisibilitySet used{};
        SInt32 count = 0;
        CollectUsedLayers(doc, &count, &used);
        for (SInt16 l = 0; l < kLayerCount; ++l)
            if ((used.bits[l >> 3] & (0x80 >> (l & 7))) != 0 && IsLayerVisible(doc->layerVisible, l)) {
                next = l;
                break;
            }
        s->currentLayer = next;
        InvalidateDocWindow(doc);
    } else if (!option && !visible) {
        SetLayerVisible(doc->layerVisible, layer, true);
        InvalidateDocWindow(doc);
    }
}

Boolean StatusBarPopup(DocWindowRecord* doc, Boolean option) {
    MenuCommandGlobals.kind = kPendingStatusAction;
    if (doc == nullptr || doc->window == nullptr) return false;
    Rect port;
    GetWindowPortBounds(doc->window, &port);
    const SInt16 bottom = SInt16(port.bottom - port.top);
    const SInt16 top = SInt16(bottom - 14), last = SInt16(bottom - 1);
    auto in = [&](SInt16 from, SInt16 to) { return StoredMouseInRect(doc, from, top, to, last) != 0; };
    DocSettings* s = doc->settings;
    const bool output = doc->drawing->output.outputContext != nullptr;
    const Edges e = WindowEdges(doc);
    if (in(1, 19)) {
        if (s->penMode == 1 && PenPopUp(doc, e)) Redraw(doc);
    } else if (in(20, 46)) {
        if (s->penMode == 0) {
            StartPendingCommand(doc, kWidthCommand);
            CommandFieldSetNumber(doc, s->currentPenWidth100 / 100.0);
        }
    } else if (in(47, 73)) {
        if (LineTypePopUp(doc, e)) Redraw(doc);
    } else if (in(74, 201) && output) {
        // Layer, key and scale stay as they are while the drawing is being printed.
    } else if (in(74, 85)) {
        LayerPopUp(doc, option, e);
    } else if (in(86, 108)) {
        MenuCommandGlobals.param = 2;
        return true;
    } else if (in(109, 151)) {
        MenuCommandGlobals.param = 3;
        DeselectPresetList();
        return true;
    } else if (in(152, 201)) {
        if (ScalePopUp(doc, e)) Redraw(doc);
    } else if (in(202, 214)) {
        if (PresetPopUp(doc, e)) Redraw(doc);
    } else if (in(215, 233)) {
        PickModeMenu(doc, e);
    } else if (in(234, 244)) {
        s->markNewLines = !s->markNewLines;
        Redraw(doc);
        while (WaitMouseUp()) {
        }
    } else if (in(245, 258)) {
        if (LineEndPopUp(doc, &s->startMarkKind, 245, e)) Redraw(doc);
    } else if (in(259, 270)) {
        if (LineEndPopUp(doc, &s->endMarkKind, 259, e)) Redraw(doc);
    }
    return false;
}
