// The saved-views window and the clicks of the list palettes.
#include "Dialogs/ListPaletteClicks.h"

#include "Dialogs/PaletteContents.h"
#include "Interface/FloatingWindows.h"
#include "Other/Alerts.h"
#include "Interface/DialogLists.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Controls.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Tools/StatusArea.h"
#include "Tools/CommandField.h"
#include "View/SavedViews.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr SInt16 kDeleteViewQuestion = 12;
constexpr UInt32 kInfoRowHoldTicks = 30;
constexpr SInt16 kViewsListRightMargin = 7, kViewsListBottomMargin = 12;

PaletteId gScrolling = PaletteId::count;

SInt16 VisibleRows(ListHandle list) {
    Rect visible;
    GetListVisibleCells(list, &visible);
    return SInt16(visible.bottom - visible.top);
}

// One step of an arrow or page part, while rows lie that way.
void ListScrollAction(ControlRef bar, ControlPartCode part) {
    if (gScrolling == PaletteId::count) return;
    ListHandle list = PaletteOf(gScrolling).list;
    if (list == nullptr) return;
    SInt16 rows = 0;
    const SInt16 page = std::max<SInt16>(1, SInt16(VisibleRows(list) - 1));
    if (part == kControlUpButtonPart) rows = -1;
    if (part == kControlDownButtonPart) rows = 1;
    if (part == kControlPageUpPart) rows = SInt16(-page);
    if (part == kControlPageDownPart) rows = page;
    const SInt16 old = GetControlValue(bar);
    const SInt16 value = std::clamp<SInt16>(SInt16(old + rows), 0, GetControlMaximum(bar));
    if (value == old) return;
    SetControlValue(bar, value);
    ScrollPaletteList(gScrolling, value, old);
}

ListHandle ViewsList() {
    return PaletteOf(PaletteId::views).list;
}

bool SelectedRow(ListHandle list, SInt16* row) {
    Cell cell{0, 0};
    if (list == nullptr || !LGetSelect(true, &cell, list)) return false;
    *row = cell.v;
    return true;
}

} // namespace

Boolean PaletteListScrollClick(PaletteId id, Point local) {
    const PaletteWindow& p = PaletteOf(id);
    if (p.window == nullptr || p.scrollBar == nullptr) return false;
    ControlRef control = nullptr;
    const ControlPartCode part = FindControl(local, p.window, &control);
    if (control != p.scrollBar || part == kControlNoPart) return false;
    if (part == kControlIndicatorPart) {
        const SInt16 old = GetControlValue(control);
        TrackControl(control, local, nullptr);
        if (GetControlValue(control) != old) ScrollPaletteList(id, GetControlValue(control), old);
        return true;
    }
    gScrolling = id;
    TrackControl(control, local, ListScrollAction);
    gScrolling = PaletteId::count;
    return true;
}

void InfoRowValue(Str255 text) {
    const SInt16 tab = PosChar('\t', text);
    if (tab > 0) DeletePStr(text, 1, tab);
    if (text[0] == 0 || !(text[1] == '-' || (text[1] >= '0' && text[1] <= '9'))) return;
    SInt16 n = 0;
    while (n < text[0] &&
           (text[n + 1] == '-' || text[n + 1] == '.' || (text[n + 1] >= '0' && text[n + 1] <= '9')))
        ++n;
    text[0] = UInt8(n);
}

void InfoWindowClick(DocWindowRecord* doc, Point local, UInt16 modifiers) {
    const PaletteWindow& p = PaletteOf(PaletteId::info);
    if (p.window == nullptr || p.list == nullptr) return;
    SetPortWindowPort(p.window);
    if (PaletteListScrollClick(PaletteId::info, local)) return;
    LClick(local, modifiers, p.list);
    SInt16 row = 0;
    if (doc == nullptr || OpenDocumentList == nullptr || !SelectedRow(p.list, &row)) return;
    UInt8 data[256];
    SInt16 length = 255;
    LGetCell(data + 1, &length, Cell{row, 0}, p.list);
    data[0] = UInt8(std::clamp<SInt16>(length, 0, 255));
    InfoRowValue(data);
    Str255 field;
    CommandFieldGetText(doc, field);
    if (field[0] != 0) AppendChar(field, sizeof field, ',');
    AppendPStr(field, sizeof field, data);
    CommandFieldSetText(doc, field);
    UpdateStatusArea(doc, true);
    UInt32 final = 0;
    Delay(kInfoRowHoldTicks, &final);
    LSetSelect(false, Cell{row, 0}, p.list);
}

void UpdateViewsWindow(DocWindowRecord*) {
    DrawListPalette(PaletteId::views);
}

void LayoutViewsWindow(SInt16 width, SInt16 height) {
    LayoutListPalette(PaletteId::views, width, height);
}

void ScrollViewsList(SInt16 newValue, SInt16 oldValue) {
    ScrollPaletteList(PaletteId::views, newValue, oldValue);
}

void FillViewsList(DocWindowRecord* doc) {
    RebuildViewsMenu(doc);
    ListHandle list = ViewsList();
    if (list == nullptr) return;
    Rect data;
    GetListDataBounds(list, &data);
    LSetDrawingMode(false, list);
    if (data.bottom > 0) LDelRow(data.bottom, 0, list);
    SInt16 row = 0;
    if (doc != nullptr)
        for (const SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next, ++row) {
            LAddRow(1, row, list);
            LSetCell(v->name + 1, v->name[0], Cell{row, 0}, list);
        }
    LSetDrawingMode(true, list);
    SyncPaletteListScrollBar(PaletteId::views);
    InvalidatePalette(PaletteId::views);
}

void DeselectViewsList() {
    if (ListHandle list = ViewsList()) DeselectAllCells(list);
}

void ViewsWindowClick(DocWindowRecord* doc, Point local, UInt16 modifiers) {
    const PaletteWindow& p = PaletteOf(PaletteId::views);
    if (p.window == nullptr || doc == nullptr || OpenDocumentList == nullptr) return;
    SetPortWindowPort(p.window);
    if (PaletteListScrollClick(PaletteId::views, local)) return;
    ControlRef control = nullptr;
    FindControl(local, p.window, &control);
    if (control != nullptr && control == p.buttons[0]) {
        if (TrackControl(control, local, nullptr) != 0) SaveCurrentView(doc);
        return;
    }
    if (control != nullptr && control == p.buttons[1]) {
        SInt16 row = 0;
        if (TrackControl(control, local, nullptr) == 0 || !SelectedRow(p.list, &row)) return;
        SavedViewRecord* v = SavedViewAt(doc, SInt16(row + 1));
        if (v != nullptr && AskConfirm(kDeleteViewQuestion, v->name, v->name))
            RemoveSavedView(doc, SInt16(row + 1));
        return;
    }
    Rect port;
    WindowPortRect(p.window, &port);
    if (p.list == nullptr || local.h >= port.right - kViewsListRightMargin ||
        local.v >= port.bottom - kViewsListBottomMargin)
        return;
    LClick(local, modifiers, p.list);
    SInt16 row = 0;
    if (SelectedRow(p.list, &row)) GoToSavedView(doc, SInt16(row + 1));
}
