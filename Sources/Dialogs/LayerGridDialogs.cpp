// The layer visibility grid and the deletion of a layer's elements. The grid's bits change live while
// the dialog is open; Cancel puts the copy made at opening back.
#include "Dialogs/LayerGridDialogs.h"
#include "Model/LayersFrames.h"

#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementDeletion.h"
#include "Model/ElementLists.h"
#include "Model/Selection.h"
#include "Model/UndoJournal.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/DocumentWindow.h"
#include "Tools/StatusArea.h"
#include "Tools/ToolState.h"
#include "View/ContentPasses.h"
#include "View/WorldPrimitives.h"

#include <cstdio>
#include <cstring>

static Boolean GridWindowHelpTag(WindowRef window, Point local, Str255 name, Rect* hot, void*);

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kGridPages = 924; // the last first layer: 924 + 99 = 1023

struct GridState {
    DocWindowRecord* doc;
    Rect grid; // item 3
    SInt16 pressedArrow = -1;
};
GridState* gGrid = nullptr;

SInt16 PageStart(DocWindowRecord* doc) {
    SInt16 start = LayerGridPageStart(doc->settings);
    return start < 0 ? 0 : start > kGridPages ? kGridPages : start;
}

Rect CellRect(const Rect& grid, SInt16 cell) {
    SInt16 r = SInt16(cell / 10), c = SInt16(cell % 10);
    SInt16 left = SInt16(grid.left + 16 + kLayerCellWidth * c),
           top = SInt16(grid.top + 16 + kLayerCellHeight * r);
    return Rect{top, left, SInt16(top + kLayerCellHeight), SInt16(left + kLayerCellWidth)};
}

void InvertLayerCell(const Rect& grid, SInt16 cell) {
    Rect r = CellRect(grid, cell);
    InsetRect(&r, 2, 2);
    InvertRect(&r);
}

// An arrow: a triangle pointing right (0), left (1), down (2) or up (3) in a 15 x 15 box, filled
// while pressed and outlined otherwise.
void DrawArrow(SInt16 left, SInt16 top, SInt16 direction, bool pressed) {
    Rect box{top, left, SInt16(top + 15), SInt16(left + 15)};
    EraseRect(&box);
    // Line i runs across the triangle at distance i from its base: from `from` to `to` along it.
    for (SInt16 i = 0; i <= 7; ++i) {
        SInt16 from = i, to = SInt16(14 - i);
        bool whole = pressed || i == 0 || i == 7;
        auto at = [&](SInt16 along, SInt16 across) {
            switch (direction) {
            case 0:
                return Point{SInt16(top + along), SInt16(left + across)};
            case 1:
                return Point{SInt16(top + along), SInt16(left + 14 - across)};
            case 2:
                return Point{SInt16(top + across), SInt16(left + along)};
            default:
                return Point{SInt16(top + 14 - across), SInt16(left + along)};
            }
        };
        Point a = at(from, i), b = at(to, i);
        MoveTo(a.h, a.v);
        if (whole) {
            LineTo(b.h, b.v);
        } else {
            LineTo(a.h, a.v);
            MoveTo(b.h, b.v);
            LineTo(b.h, b.v);
        }
    }
}

void DrawRowArrows(const Rect& g, SInt16 row, bool pressed) {
    SInt16 y = SInt16(g.top + 17 * row + 17);
    DrawArrow(g.left, y, 0, pressed);
    DrawArrow(SInt16(g.left + 347), y, 1, pressed);
}

void DrawColumnArrows(const Rect& g, SInt16 column, bool pressed) {
    SInt16 x = SInt16(g.left + 25 + 33 * column);
    DrawArrow(x, g.top, 2, pressed);
    DrawArrow(x, SInt16(g.top + 187), 3, pressed);
}

void DrawCurrentLayerMark(DocWindowRecord* doc, const Rect& grid) {
    PenSize(2, 2);
    RGBColor back{}, red{0xFFFF, 0, 0};
    GetBackColor(&back);
    for (SInt16 cell = 0; cell < 100; ++cell) {
        Rect r = CellRect(grid, cell);
        InsetRect(&r, -1, -1);
        RGBForeColor(&back);
        FrameRect(&r);
    }
    SInt16 offset = SInt16(doc->settings->currentLayer - PageStart(doc));
    if (offset >= 0 && offset < 100) {
        Rect r = CellRect(grid, offset);
        InsetRect(&r, -1, -1);
        Pattern gray;
        RGBForeColor(&red);
        PenPat(GetQDGlobalsGray(&gray));
        FrameRect(&r);
    }
    PenNormal();
    ForeColor(blackColor);
}

void DrawLayerGrid(DialogRef dialog, DialogItemIndex) {
    if (gGrid == nullptr) return;
    DocWindowRecord* doc = gGrid->doc;
    const Rect& g = gGrid->grid;
    SetPortToDialog(dialog);
    PenNormal();
    TextFont(AppFontNumber());
    TextSize(10);
    SInt16 start = PageStart(doc);
    for (SInt16 cell = 0; cell < 100; ++cell) {
        Rect r = CellRect(g, cell);
        Rect inner = r;
        InsetRect(&inner, 1, 1);
        EraseRect(&inner);
        FrameRect(&r);
        char number[8];
        std::snprintf(number, sizeof number, "%d", start + cell);
        SInt16 width = TextWidth(number, 0, SInt16(std::strlen(number)));
        MoveTo(SInt16((r.left + r.right - width) / 2), SInt16(r.top + 12));
        DrawText(number, 0, SInt16(std::strlen(number)));
        if (IsLayerVisible(doc->layerVisible, SInt16(start + cell))) InvertLayerCell(g, cell);
    }
    DrawCurrentLayerMark(doc, g);
    for (SInt16 i = 0; i < 10; ++i) {
        DrawRowArrows(g, i, false);
        DrawColumnArrows(g, i, false);
    }
    TextFont(0);
    TextSize(12);
}

// One layer of the grid set to a state, its cell inverted when that changes it.
void SetGridLayer(SInt16 cell, bool visible) {
    DocWindowRecord* doc = gGrid->doc;
    SInt16 layer = SInt16(PageStart(doc) + cell);
    if (IsLayerVisible(doc->layerVisible, layer) == visible) return;
    SetLayerVisible(doc->layerVisible, layer, visible);
    InvertLayerCell(gGrid->grid, cell);
}

void WaitForButtonUp() {
    while (WaitMouseUp()) {
    }
    FlushEvents(mDownMask, 0);
}

void CellClick(DialogRef dialog, SInt16 cell, UInt16 modifiers) {
    DocWindowRecord* doc = gGrid->doc;
    SInt16 layer = SInt16(PageStart(doc) + cell);
    if (modifiers & cmdKey) {
        doc->settings->currentLayer = layer;
        // The current layer is always shown.
        SetGridLayer(cell, true);
        DrawCurrentLayerMark(doc, gGrid->grid);
    } else {
        SetGridLayer(cell, !IsLayerVisible(doc->layerVisible, layer));
    }
}

void ArrowClick(SInt16 arrow) {
    DocWindowRecord* doc = gGrid->doc;
    const Rect& g = gGrid->grid;
    bool row = arrow < 10;
    SInt16 n = SInt16(row ? arrow : arrow - 10);
    if (row)
        DrawRowArrows(g, n, true);
    else
        DrawColumnArrows(g, n, true);
    SInt16 first = row ? SInt16(n * 10) : n;
    bool state = !IsLayerVisible(doc->layerVisible, SInt16(PageStart(doc) + first));
    for (SInt16 i = 0; i < 10; ++i)
        SetGridLayer(row ? SInt16(first + i) : SInt16(first + 10 * i), state);
    WaitForButtonUp();
    if (row)
        DrawRowArrows(g, n, false);
    else
        DrawColumnArrows(g, n, false);
}

Boolean LayerGridFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    Boolean result = StandardDialogFilter(dialog, event, itemHit);
    if (gGrid == nullptr) return result;
    DocWindowRecord* doc = gGrid->doc;
    SInt16 typed = GetItemShort(dialog, kLayerGridPageItem);
    typed = typed < 0 ? 0 : typed + 100 > 1024 ? kGridPages : typed;
    if (typed != LayerGridPageStart(doc->settings)) {
        LayerGridPageStart(doc->settings) = typed;
        InvalItem(dialog, kLayerGridItem);
    }
    if (result || event->what != mouseDown) return result;
    SetPortToDialog(dialog);
    Point local = event->where;
    GlobalToLocal(&local);
    if (!PtInRect(local, &gGrid->grid)) return result;
    Point offset{SInt16(local.v - gGrid->grid.top), SInt16(local.h - gGrid->grid.left)};
    SInt16 cell = LayerGridCellAt(offset);
    if (cell >= 0) {
        CellClick(dialog, cell, event->modifiers);
        WaitForButtonUp();
    } else if (SInt16 arrow = LayerGridArrowAt(offset); arrow >= 0) {
        ArrowClick(arrow);
    }
    // The click is used up here.
    event->what = nullEvent;
    return result;
}

// Whether p lies in the triangle a, b, c (edges included).
bool InTriangle(Point p, Point a, Point b, Point c) {
    auto side = [](Point o, Point u, Point v) {
        return SInt32(u.h - o.h) * (v.v - o.v) - SInt32(u.v - o.v) * (v.h - o.h);
    };
    SInt32 d1 = side(a, b, p), d2 = side(b, c, p), d3 = side(c, a, p);
    bool negative = d1 < 0 || d2 < 0 || d3<0, positive = d1> 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

} // namespace

SInt16& LayerGridPageStart(DocSettings* settings) {
    return settings->words2016[100];
}

SInt16 LayerGridCellAt(Point offset) {
    SInt16 x = SInt16(offset.h - 16), y = SInt16(offset.v - 16);
    if (x < 0 || y < 0) return -1;
    SInt16 column = SInt16(x / kLayerCellWidth), row = SInt16(y / kLayerCellHeight);
    if (column >= 10 || row * 10 + column >= 100) return -1;
    return SInt16(row * 10 + column);
}

SInt16 LayerGridArrowAt(Point offset) {
    auto P = [](SInt32 h, SInt32 v) { return Point{SInt16(v), SInt16(h)}; };
    for (SInt16 r = 0; r < 10; ++r) {
        SInt32 y = 17 * r + 16;
        if (InTriangle(offset, P(0, y), P(15, y + 7), P(0, y + 15)) ||
            InTriangle(offset, P(362, y), P(347, y + 7), P(362, y + 15)))
            return r;
    }
    for (SInt16 c = 0; c < 10; ++c) {
        SInt32 x = 25 + 33 * c;
        if (InTriangle(offset, P(x, 0), P(x + 15, 0), P(x + 7, 15)) ||
            InTriangle(offset, P(x + 7, 187), P(x + 15, 202), P(x, 202)))
            return SInt16(10 + c);
    }
    return -1;
}

static Boolean GridWindowHelpTag(WindowRef window, Point local, Str255 name, Rect* hot, void*) {
    DialogRef dialog = GetDialogFromWindow(window);
    return dialog != nullptr && LayerGridHelpTag(dialog, local, name, hot);
}

Boolean LayerGridHelpTag(DialogRef dialog, Point local, Str255 name, Rect* hot) {
    DocWindowRecord* doc = static_cast<DocWindowRecord*>(GetWindowRefConPtr(GetDialogWindow(dialog)));
    if (doc == nullptr) return false;
    Rect grid{};
    GetDItemRect(dialog, kLayerGridItem, &grid);
    Point offset{SInt16(local.v - grid.top), SInt16(local.h - grid.left)};
    SInt16 cell = LayerGridCellAt(offset);
    if (cell < 0 || offset.h - 16 > 329) return false;
    SInt16 layer = SInt16(PageStart(doc) + cell);
    if (layer > 999 || doc->layerNames->names[layer][0] == 0) return false;
    AssignStr255(name, doc->layerNames->names[layer]);
    *hot = CellRect(grid, cell);
    return true;
}

void LayerVisibilityDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    const SInt16 savedStart = LayerGridPageStart(doc->settings);
    const LayerVisibilitySet savedBits = *doc->layerVisible;
    LayerGridPageStart(doc->settings) = PageStart(doc);
    DialogRef dialog = OpenModalDialog(kLayerGridDialog, DialogPositionTable[kLayerGridPositionSlot]);
    if (dialog == nullptr) return;
    SetWindowRefConPtr(GetDialogWindow(dialog), doc);
    GridState state{doc, Rect{}};
    GridState* outer = gGrid;
    gGrid = &state;
    SetItemNumber(dialog, kLayerGridPageItem, LayerGridPageStart(doc->settings));
    SelectItemText(dialog, kLayerGridPageItem);
    GetDItemRect(dialog, kLayerGridItem, &state.grid);
    SetUserItemProc(dialog, kLayerGridItem, DrawLayerGrid);
    SetWindowHelpTagProvider(GetDialogWindow(dialog), GridWindowHelpTag, nullptr);
    SInt16 item = 0;
    do
        RunModalDialog(dialog, &item, LayerGridFilter);
    while (item != kOK && item != kCancel);
    if (item == kCancel) {
        *doc->layerVisible = savedBits;
        LayerGridPageStart(doc->settings) = savedStart;
    } else {
        SetLayerVisible(doc->layerVisible, doc->settings->currentLayer, true);
        MarkDocumentDirty(doc);
    }
    gGrid = outer;
    CloseModalDialog(dialog, &DialogPositionTable[kLayerGridPositionSlot]);
    DrawWindowStatusArea(doc);
    if (item == kOK) InvalidateDocWindow(doc);
    ResetToolState(doc, 0);
}

void DeleteLayerDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    DialogRef dialog = OpenModalDialog(kDeleteLayerDialog, DialogPositionTable[kDeleteLayerPositionSlot]);
    if (dialog == nullptr) return;
    SetItemNumber(dialog, kDeleteLayerNumberItem, doc->settings->currentLayer);
    SelectItemText(dialog, kDeleteLayerNumberItem);
    SInt16 item = 0;
    do
        RunModalDialogStd(dialog, &item);
    while (item != kOK && item != kCancel);
    SInt32 layer = -1;
    // An empty or non-numeric text deletes nothing, as a number outside the layers does.
    Boolean number = GetItemInteger(dialog, kDeleteLayerNumberItem, &layer);
    CloseModalDialog(dialog, &DialogPositionTable[kDeleteLayerPositionSlot]);
    if (item == kOK && number && layer >= 0 && layer < kLayerCount &&
        DeleteLayerElements(doc, SInt16(layer)) > 0)
        RedrawWindow(doc);
}
