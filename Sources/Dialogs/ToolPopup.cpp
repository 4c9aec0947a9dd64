// The tool pop-up: a frameless window of 32-pixel cells beside the tool palette, tracked while the
// button is held; the tool (or group) released on becomes current.
#include "Dialogs/ToolPalette.h"

#include "Dialogs/Palettes.h"
#include "Files/Preferences.h"
#include "Model/DocumentRecords.h"
#include "Other/BundleFiles.h"
#include "Interface/FloatingWindows.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Menus.h"
#include "Platform/QuickDraw.h"
#include "Shell/MenuBar.h"
#include "Shell/MouseDispatch.h"
#include "Tools/StatusArea.h"
#include "Tools/CommandField.h"
#include "Tools/ToolState.h"
#include "Tools/ToolTables.h"

namespace {

constexpr SInt16 kCell = kToolButtonSize;
constexpr SInt16 kGroupIconBase = 10000;
constexpr SInt16 kEmptyCellIcon = 20000;
constexpr SInt16 kLastGroupIndex = kToolGroupCount - 1;

bool DocumentOpen(DocWindowRecord* doc) {
    return doc != nullptr && OpenDocumentList != nullptr;
}

SInt16 CellIcon(SInt16 index, Boolean highlighted, Boolean groupMode) {
    SInt16 base;
    if (groupMode) {
        base = SInt16(kGroupIconBase + 2 * index);
    } else {
        UInt32 group = GeneralPrefs.currentToolGroup;
        if (group >= UInt32(kToolGroupCount) || index < 0 || index >= kToolsPerGroup) return kEmptyCellIcon;
        base = ToolIconNumber(SInt16(group), index);
    }
    return SInt16(base + (highlighted ? 1 : 0));
}

// The screen the point lies on, within the desktop; the main screen when it lies on none.
Rect ScreenAround(Point global) {
    Rect screen;
    for (GDHandle d = GetDeviceList(); d != nullptr; d = GetNextDevice(d)) {
        GetDeviceBounds(d, &screen);
        if (PtInRect(global, &screen)) return screen;
    }
    GetScreenBounds(&screen);
    return screen;
}

// The menu text of an item: a tool of the current group, or a group.
void ItemText(SInt16 index, Boolean groupMode, Str255 text) {
    text[0] = 0;
    SInt16 group = SInt16(GeneralPrefs.currentToolGroup);
    MenuRef menu = MenuHandleOf(groupMode ? SInt16(kToolMenu) : SInt16(kFirstToolMenu + group));
    if (menu == nullptr) return;
    if (index < 0) {
        if (groupMode) return;
        menu = MenuHandleOf(kToolMenu);
        index = group;
        if (menu == nullptr) return;
    }
    GetMenuItemText(menu, SInt16(index + 1), text);
}

// Shows a text as the prompt without touching the document's own.
void ShowItemPrompt(DocWindowRecord* doc, SInt16 index, Boolean groupMode) {
    CommandFieldRecord* field = DocumentOpen(doc) ? CommandFieldOf(doc) : nullptr;
    if (field == nullptr) return;
    Str255 saved;
    AssignStr255(saved, field->prompt);
    ItemText(index, groupMode, field->prompt);
    UpdateStatusArea(doc, true);
    AssignStr255(field->prompt, saved);
}

} // namespace

Boolean ToolPopupGrid(SInt16 lastIndex, Boolean groupMode, SInt16* columns, SInt16* rows) {
    if (lastIndex <= 0) return false;
    *columns = groupMode ? 4 : lastIndex <= 3 ? 2 : lastIndex <= 8 ? 3 : 4;
    *rows = lastIndex == 1 ? 1 : lastIndex <= 5 ? 2 : lastIndex <= 11 ? 3 : 4;
    return true;
}

void DrawPopupCell(SInt16 index, Boolean highlighted, SInt16 columns, Boolean groupMode, WindowRef window) {
    if (window == nullptr || columns <= 0) return;
    SInt16 left = SInt16(kCell * (index % columns)), top = SInt16(kCell * (index / columns));
    DrawToolIcon(window, CellIcon(index, highlighted, groupMode), left, top, kCell, kCell);
}

void ToolPopup(DocWindowRecord* doc, Point local, Boolean groupMode, Boolean nearButton) {
    const UInt32 group = GeneralPrefs.currentToolGroup;
    if (!groupMode && group >= UInt32(kToolGroupCount)) return;
    SInt16 last = groupMode ? kLastGroupIndex : SInt16(ToolIconTable[group][kToolsPerGroup]);
    if (last >= kToolsPerGroup) last = kToolsPerGroup - 1;
    SInt16 columns, rows;
    if (!ToolPopupGrid(last, groupMode, &columns, &rows)) return;
    const SInt16 width = SInt16(columns * kCell), height = SInt16(rows * kCell);
    const SInt16 current = groupMode ? SInt16(group) : SInt16(GeneralPrefs.currentSubTool);

    // Where the window goes, in global coordinates.
    Rect palette;
    GetWindowContentBounds(PaletteWindowRef(PaletteId::tool), &palette);
    Point at{SInt16(local.v + palette.top), SInt16(local.h + palette.left)};
    Rect screen = ScreenAround(at);
    if (nearButton) {
        if (at.h + width > screen.right) at.h = SInt16(at.h - width - 34);
        if (at.v + height > screen.bottom) at.v = SInt16(at.v - height + 32);
    } else {
        at.h = SInt16(at.h - kCell * (current % columns) - kCell / 2);
        at.v = SInt16(at.v - kCell * (current / columns) - kCell / 2);
    }
    if (at.h + width > screen.right) at.h = SInt16(screen.right - width);
    if (at.v + height > screen.bottom) at.v = SInt16(screen.bottom - height);
    if (at.h < screen.left) at.h = screen.left;
    if (at.v < screen.top) at.v = screen.top;

    Rect bounds{at.v, at.h, SInt16(at.v + height), SInt16(at.h + width)};
    WindowRef window = nullptr;
    CreateNewWindow(kFloatingWindowClass, kWindowNoTitleBarAttribute, &bounds, &window);
    if (window == nullptr) return;
    ShowWindow(window);
    SetPortWindowPort(window);
    for (SInt16 i = 0; i < rows * columns; ++i) {
        if (i <= last && !StillDown()) break;
        if (i > last)
            DrawToolIcon(window, kEmptyCellIcon, SInt16(kCell * (i % columns)), SInt16(kCell * (i / columns)),
                         kCell, kCell);
        else
            DrawPopupCell(i, false, columns, groupMode, window);
    }

    SInt16 hit = -1;
    Point mouse;
    while (WaitMouseUp()) {
        GetGlobalMouse(&mouse);
        SInt16 cell = -1;
        if (PtInRect(mouse, &bounds)) {
            SInt16 c = SInt16((mouse.h - bounds.left) / kCell), r = SInt16((mouse.v - bounds.top) / kCell);
            cell = SInt16(r * columns + c);
            if (cell > last) cell = -1;
        }
        if (cell == hit) continue;
        if (hit >= 0) DrawPopupCell(hit, false, columns, groupMode, window);
        if (cell >= 0) DrawPopupCell(cell, true, columns, groupMode, window);
        hit = cell;
        ShowItemPrompt(doc, hit, groupMode);
    }
    // The release point decides, also when the mouse jumped there without a move in between.
    GetGlobalMouse(&mouse);
    if (!PtInRect(mouse, &bounds))
        hit = -1;
    else if (SInt16 cell =
                 SInt16(((mouse.v - bounds.top) / kCell) * columns + (mouse.h - bounds.left) / kCell);
             cell <= last)
        hit = cell;
    DisposeWindow(window);

    if (hit < 0 || hit == current) {
        if (DocumentOpen(doc)) UpdateStatusArea(doc, true);
        return;
    }
    if (groupMode) {
        SInt16 old = SInt16(group);
        SelectToolGroupFromMenu(doc, hit);
        DrawToolGroupButton(old);
        DrawToolGroupButton(hit);
        return;
    }
    GeneralPrefs.currentSubTool = UInt32(hit);
    GeneralPrefs.lastSubTool[group] = UInt32(hit);
    DrawToolGroupButton(SInt16(group));
    if (DocumentOpen(doc)) ResetToolState(doc, 0);
}
