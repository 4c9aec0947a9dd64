// The presets window and the layer-set palette: their lists follow the front drawing's presets and
// layer sets; a row applies its preset (a double click edits it) or makes its set's layers visible,
// and the buttons make, delete and duplicate presets or show every layer or only the current one.
#include "Dialogs/AttributePresets.h"
#include "Dialogs/LayerSetsDialog.h"
#include "Dialogs/PaletteContents.h"
#include "Dialogs/Palettes.h"

#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Platform/Controls.h"
#include "Platform/Events.h"
#include "Platform/ListControls.h"
#include "Platform/QuickDraw.h"

#include <algorithm>

namespace {

// The palette whose scroll bar is being tracked.
PaletteId gTracked = PaletteId::count;

SInt16 ListRows(ListHandle list) {
    Rect data{};
    GetListDataBounds(list, &data);
    return SInt16(data.bottom - data.top);
}

SInt16 SelectedRow(PaletteId id) {
    ListHandle list = PaletteOf(id).list;
    Cell cell{0, 0};
    return list != nullptr && LGetSelect(true, &cell, list) ? cell.v : -1;
}

// The list holds one row per name, in list order.
template <class T> void FillNames(PaletteId id, const T* first) {
    PaletteWindow& p = PaletteOf(id);
    if (p.list == nullptr) return;
    SetPortWindowPort(p.window);
    LSetDrawingMode(false, p.list);
    LDelRow(0, 0, p.list);
    SInt16 row = 0;
    for (const T* e = first; e != nullptr; e = e->next, ++row) {
        LAddRow(1, row, p.list);
        LSetCell(e->name + 1, e->name[0], Cell{row, 0}, p.list);
    }
    LSetDrawingMode(true, p.list);
    SyncPaletteListScrollBar(id);
    InvalidatePalette(id);
}

void EnableButton(ControlRef button, bool on) {
    if (button != nullptr && (GetControlHilite(button) == 0) != on)
        HiliteControl(button, on ? 0 : kControlInactivePart);
}

void UpdatePresetButtons(DocWindowRecord* doc) {
    PaletteWindow& p = PaletteOf(PaletteId::presets);
    const bool selected = SelectedRow(PaletteId::presets) >= 0;
    EnableButton(p.buttons[0], doc != nullptr);
    EnableButton(p.buttons[1], selected);
    EnableButton(p.buttons[2], selected);
}

void UpdateLayerSetButtons(DocWindowRecord* doc) {
    PaletteWindow& p = PaletteOf(PaletteId::layerSets);
    EnableButton(p.buttons[0], doc != nullptr);
    EnableButton(p.buttons[1], doc != nullptr);
}

void ScrollAction(ControlRef bar, ControlPartCode part) {
    if (gTracked == PaletteId::count) return;
    ListHandle list = PaletteOf(gTracked).list;
    Rect visible{};
    if (list != nullptr) GetListVisibleCells(list, &visible);
    SInt16 page = std::max<SInt16>(1, SInt16(visible.bottom - visible.top - 1));
    SInt16 old = GetControlValue(bar), value = old;
    if (part == kControlUpButtonPart) value = SInt16(old - 1);
    if (part == kControlDownButtonPart) value = SInt16(old + 1);
    if (part == kControlPageUpPart) value = SInt16(old - page);
    if (part == kControlPageDownPart) value = SInt16(old + page);
    value = std::clamp(value, GetControlMinimum(bar), GetControlMaximum(bar));
    if (value == old) return;
    SetControlValue(bar, value);
    ScrollPaletteList(gTracked, value, old);
}

// The scroll bar: the thumb scrolls by the change of its value, arrows and pages as they repeat.
void ScrollBarClick(PaletteId id, ControlRef bar, Point local) {
    SInt16 old = GetControlValue(bar);
    gTracked = id;
    ControlPartCode part = TestControl(bar, local);
    TrackControl(bar, local, part == kControlIndicatorPart ? nullptr : ScrollAction);
    gTracked = PaletteId::count;
    if (part == kControlIndicatorPart && GetControlValue(bar) != old)
        ScrollPaletteList(id, GetControlValue(bar), old);
}

// The button of the palette under the point when tracked to its end (0..2), -1 for none; the scroll
// bar is handled here.
SInt16 ControlClick(PaletteId id, Point local) {
    PaletteWindow& p = PaletteOf(id);
    ControlRef control = nullptr;
    if (FindControl(local, p.window, &control) == kControlNoPart || control == nullptr) return -1;
    if (control == p.scrollBar) {
        ScrollBarClick(id, control, local);
        return -1;
    }
    for (SInt16 b = 0; b < 3; ++b)
        if (control == p.buttons[b]) return TrackControl(control, local, nullptr) != kControlNoPart ? b : -1;
    return -1;
}

// The list area: the port less the scroll bar's strip and the buttons' strip.
bool InList(PaletteId id, Point local, SInt16 right, SInt16 bottom) {
    Rect port{};
    GetWindowPortBounds(PaletteOf(id).window, &port);
    return local.h < port.right - right && local.v < port.bottom - bottom;
}

} // namespace

// --- The presets window -------------------------------------------------------------------------------

void UpdatePresetWindow(DocWindowRecord* doc) {
    UpdatePresetButtons(doc);
    DrawListPalette(PaletteId::presets);
}

void PresetWindowClick(DocWindowRecord* doc, Point local, UInt16 modifiers) {
    PaletteWindow& p = PaletteOf(PaletteId::presets);
    if (p.list == nullptr) return;
    if (InList(PaletteId::presets, local, 10, 24)) {
        Boolean doubleClick = LClick(local, modifiers, p.list);
        SInt16 row = SelectedRow(PaletteId::presets);
        AttributePreset* preset = doc != nullptr && row >= 0 ? PresetAt(doc, row) : nullptr;
        if (preset != nullptr) {
            if (doubleClick)
                PresetDialog(doc, false, false, preset);
            else
                ApplyPresetFromWindow(doc, preset);
        }
        UpdatePresetButtons(doc);
        return;
    }
    SInt16 button = ControlClick(PaletteId::presets, local);
    SInt16 row = SelectedRow(PaletteId::presets);
    if (doc == nullptr) return;
    AttributePreset* preset = row >= 0 ? PresetAt(doc, row) : nullptr;
    if (button == 0)
        PresetDialog(doc, true, false, nullptr);
    else if (button == 1 && preset != nullptr)
        DeletePreset(doc, preset, true, true);
    else if (button == 2 && preset != nullptr)
        DuplicatePreset(doc, preset);
    UpdatePresetButtons(doc);
}

void GrowPresetWindow(WindowRef window, Point where) {
    GrowPaletteWindow(window, where);
}

void LayoutPresetWindow(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::presets, width, height);
}

void ScrollPresetList(SInt16 newValue, SInt16 oldValue) {
    ScrollPaletteList(PaletteId::presets, newValue, oldValue);
}

void RefreshPresetList(DocWindowRecord* doc) {
    FillNames<AttributePreset>(PaletteId::presets, doc != nullptr ? doc->drawing->attributePresets : nullptr);
    UpdatePresetButtons(doc);
}

void DeselectPresetList() {
    ListHandle list = PaletteOf(PaletteId::presets).list;
    if (list == nullptr) return;
    for (SInt16 row = 0; row < ListRows(list); ++row)
        LSetSelect(false, Cell{row, 0}, list);
    UpdatePresetButtons(OpenDocumentList);
}

// --- The layer-set palette ----------------------------------------------------------------------------

void DrawLayerSetPalette(DocWindowRecord* doc) {
    UpdateLayerSetButtons(doc);
    DrawListPalette(PaletteId::layerSets);
}

void LayerSetPaletteClick(DocWindowRecord* doc, Point local, UInt16 modifiers) {
    PaletteWindow& p = PaletteOf(PaletteId::layerSets);
    if (p.list == nullptr) return;
    if (InList(PaletteId::layerSets, local, 7, 12)) {
        SInt16 before = SelectedRow(PaletteId::layerSets);
        LClick(local, modifiers, p.list);
        SInt16 row = SelectedRow(PaletteId::layerSets);
        // Choosing the row already chosen changes nothing.
        if (doc != nullptr && row >= 0 && row != before)
            ChooseLayerSet(doc, LayerSetAt(doc, SInt16(row + 1)));
        return;
    }
    SInt16 button = ControlClick(PaletteId::layerSets, local);
    if (button == 0) ShowAllLayers(doc);
    if (button == 1) ShowOnlyCurrentLayer(doc);
}

void GrowLayerSetPalette(WindowRef window, Point where) {
    GrowPaletteWindow(window, where);
}

void LayoutLayerSetPalette(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::layerSets, width, height);
}

void ScrollLayerSetList(SInt16 newValue, SInt16 oldValue) {
    ScrollPaletteList(PaletteId::layerSets, newValue, oldValue);
}

SInt16 LayerSetPaletteSelection() {
    return SelectedRow(PaletteId::layerSets);
}

void RefreshLayerSetList(DocWindowRecord* doc) {
    FillNames<LayerSetRecord>(PaletteId::layerSets, doc != nullptr ? doc->drawing->layerSets : nullptr);
    UpdateLayerSetButtons(doc);
}
