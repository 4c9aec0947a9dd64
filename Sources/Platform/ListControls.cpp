// The List Manager: cells kept as byte strings, drawn with QuickDraw into the window's port (as text
// or by a list definition), a selection, clicks and scrolling.
#include "Platform/ListControls.h"

#include "Platform/Controls.h"
#include "Platform/Events.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

struct OpaqueListRef {
    WindowRef window = nullptr;
    Rect view{};
    ListBounds dataBounds{}; // left 0, top 0, right columns, bottom rows
    Point cellSize{};
    ListDefProcPtr definition = nullptr;
    bool drawIt = true;
    bool active = true;
    bool hasGrow = false;
    SInt32 selectionFlags = 0;
    Point visibleTopLeft{0, 0};                  // first visible row (v) and column (h)
    std::vector<std::vector<std::string>> cells; // [row][column]
    std::vector<std::vector<bool>> selected;
    ControlRef vScroll = nullptr;
    Cell lastClick{-1, -1};
    UInt32 lastClickTicks = 0;
    SInt32 refCon = 0;
    void* userData = nullptr;
};

namespace {

constexpr UInt32 kDoubleClickTicks = 30;

SInt16 Rows(ListHandle l) {
    return static_cast<SInt16>(l->cells.size());
}
SInt16 Columns(ListHandle l) {
    return l->dataBounds.right;
}

bool Valid(ListHandle l, Cell c) {
    return l && c.v >= 0 && c.v < Rows(l) && c.h >= 0 && c.h < Columns(l);
}

SInt16 VisibleRows(ListHandle l) {
    SInt16 height = static_cast<SInt16>(l->view.bottom - l->view.top);
    return l->cellSize.v > 0 ? static_cast<SInt16>((height + l->cellSize.v - 1) / l->cellSize.v) : 0;
}

SInt16 FullyVisibleRows(ListHandle l) {
    SInt16 height = static_cast<SInt16>(l->view.bottom - l->view.top);
    return l->cellSize.v > 0 ? static_cast<SInt16>(height / l->cellSize.v) : 0;
}

Rect CellRect(ListHandle l, Cell c) {
    SInt16 top = static_cast<SInt16>(l->view.top + (c.v - l->visibleTopLeft.v) * l->cellSize.v);
    SInt16 left = static_cast<SInt16>(l->view.left + (c.h - l->visibleTopLeft.h) * l->cellSize.h);
    return Rect{top, left, static_cast<SInt16>(top + l->cellSize.v),
                static_cast<SInt16>(left + l->cellSize.h)};
}

// Keeps the port of the list's window current while drawing or reading the mouse.
class ListPort {
  public:
    explicit ListPort(ListHandle l) {
        GetPort(&saved_);
        SetPortWindowPort(l->window);
    }
    ~ListPort() { SetPort(saved_); }

  private:
    GrafPtr saved_ = nullptr;
};

void SyncScrollBar(ListHandle l) {
    if (!l->vScroll) return;
    SInt16 maximum = static_cast<SInt16>(std::max(0, Rows(l) - FullyVisibleRows(l)));
    SetControlMaximum(l->vScroll, maximum);
    SetControlViewSize(l->vScroll, FullyVisibleRows(l));
    SetControlValue(l->vScroll, l->visibleTopLeft.v);
    HiliteControl(l->vScroll, maximum > 0 && l->active ? 0 : kControlInactivePart);
}

void DrawOne(ListHandle l, Cell c) {
    Rect r = CellRect(l, c);
    Rect clipped{};
    if (!SectRect(&r, &l->view, &clipped)) return;
    const std::string& data = l->cells[c.v][c.h];
    bool selected = l->selected[c.v][c.h];
    RgnHandle saved = NewRgn();
    GetClip(saved);
    ClipRect(&clipped);
    if (l->definition) {
        l->definition(lDrawMsg, selected, &r, c, 0, static_cast<SInt16>(data.size()), l);
    } else {
        EraseRect(&r);
        FontInfo info{};
        GetFontInfo(&info);
        MoveTo(static_cast<SInt16>(r.left + 4), static_cast<SInt16>(r.top + info.ascent));
        DrawText(data.data(), 0, static_cast<SInt16>(data.size()));
        if (selected && l->active) InvertRect(&r);
    }
    SetClip(saved);
    DisposeRgn(saved);
}

void DrawAll(ListHandle l) {
    if (!l->drawIt || !l->window) return;
    ListPort port(l);
    RgnHandle saved = NewRgn();
    GetClip(saved);
    ClipRect(&l->view);
    EraseRect(&l->view);
    SetClip(saved);
    DisposeRgn(saved);
    SInt16 last = std::min<SInt16>(Rows(l), static_cast<SInt16>(l->visibleTopLeft.v + VisibleRows(l)));
    for (SInt16 row = l->visibleTopLeft.v; row < last; ++row)
        for (SInt16 col = l->visibleTopLeft.h; col < Columns(l); ++col)
            DrawOne(l, Cell{row, col});
}

void Select(ListHandle l, Cell c, bool on) {
    if (!Valid(l, c) || l->selected[c.v][c.h] == on) return;
    l->selected[c.v][c.h] = on;
    if (l->drawIt && l->window) {
        ListPort port(l);
        DrawOne(l, c);
    }
}

void SelectOnly(ListHandle l, Cell only) {
    for (SInt16 row = 0; row < Rows(l); ++row)
        for (SInt16 col = 0; col < Columns(l); ++col)
            Select(l, Cell{row, col}, row == only.v && col == only.h);
}

ListHandle gScrollingList = nullptr;

void ScrollAction(ControlRef control, ControlPartCode part) {
    ListHandle l = gScrollingList;
    if (!l) return;
    SInt16 page = std::max<SInt16>(1, static_cast<SInt16>(FullyVisibleRows(l) - 1));
    SInt16 delta = 0;
    switch (part) {
    case kControlUpButtonPart:
        delta = -1;
        break;
    case kControlDownButtonPart:
        delta = 1;
        break;
    case kControlPageUpPart:
        delta = static_cast<SInt16>(-page);
        break;
    case kControlPageDownPart:
        delta = page;
        break;
    case kControlIndicatorPart:
        delta = static_cast<SInt16>(GetControlValue(control) - l->visibleTopLeft.v);
        break;
    default:
        break;
    }
    LScroll(delta, 0, l);
}

ListHandle Make(const Rect* view, const ListBounds* dataBounds, Point cellSize, ListDefProcPtr definition,
                WindowRef window, Boolean drawIt, Boolean hasGrow, Boolean scrollVert) {
    if (!view || !dataBounds || !window) return nullptr;
    auto* l = new OpaqueListRef;
    l->window = window;
    l->view = *view;
    l->definition = definition;
    l->drawIt = drawIt;
    l->hasGrow = hasGrow;
    l->dataBounds = Rect{0, 0, 0, static_cast<SInt16>(std::max(0, dataBounds->right - dataBounds->left))};
    l->cellSize = cellSize;
    if (l->cellSize.h <= 0) l->cellSize.h = static_cast<SInt16>(view->right - view->left);
    if (l->cellSize.v <= 0) {
        ListPort port(l);
        FontInfo info{};
        GetFontInfo(&info);
        l->cellSize.v = static_cast<SInt16>(std::max(1, info.ascent + info.descent + info.leading));
    }
    if (scrollVert) {
        Rect bar{static_cast<SInt16>(view->top - 1), view->right, static_cast<SInt16>(view->bottom + 1),
                 static_cast<SInt16>(view->right + kScrollBarWidth)};
        if (hasGrow) bar.bottom = static_cast<SInt16>(bar.bottom - kScrollBarWidth + 1);
        CreateScrollBarControl(window, &bar, 0, 0, 0, 0, true, ScrollAction, &l->vScroll);
    }
    LAddRow(static_cast<SInt16>(std::max(0, dataBounds->bottom - dataBounds->top)), 0, l);
    if (definition) definition(lInitMsg, false, &l->view, Cell{0, 0}, 0, 0, l);
    SyncScrollBar(l);
    DrawAll(l);
    return l;
}

} // namespace

ListHandle LNew(const Rect* view, const ListBounds* dataBounds, Point cellSize, SInt16, WindowRef window,
                Boolean drawIt, Boolean hasGrow, Boolean, Boolean scrollVert) {
    return Make(view, dataBounds, cellSize, nullptr, window, drawIt, hasGrow, scrollVert);
}

OSStatus CreateCustomList(const Rect* view, const ListBounds* dataBounds, Point cellSize,
                          ListDefProcPtr definition, WindowRef window, Boolean drawIt, Boolean hasGrow,
                          Boolean, Boolean scrollVert, ListHandle* outList) {
    *outList = Make(view, dataBounds, cellSize, definition, window, drawIt, hasGrow, scrollVert);
    return *outList ? noErr : paramErr;
}

void LDispose(ListHandle l) {
    if (!l) return;
    if (l->definition) l->definition(lCloseMsg, false, &l->view, Cell{0, 0}, 0, 0, l);
    if (l->vScroll && PlatformWindowExists(l->window)) DisposeControl(l->vScroll);
    if (gScrollingList == l) gScrollingList = nullptr;
    delete l;
}

SInt16 LAddRow(SInt16 count, SInt16 rowNum, ListHandle l) {
    if (!l || count <= 0) return 0;
    SInt16 at = std::clamp<SInt16>(rowNum, 0, Rows(l));
    l->cells.insert(l->cells.begin() + at, count, std::vector<std::string>(static_cast<size_t>(Columns(l))));
    l->selected.insert(l->selected.begin() + at, count,
                       std::vector<bool>(static_cast<size_t>(Columns(l)), false));
    l->dataBounds.bottom = Rows(l);
    SyncScrollBar(l);
    DrawAll(l);
    return at;
}

void LDelRow(SInt16 count, SInt16 rowNum, ListHandle l) {
    if (!l || rowNum < 0 || rowNum >= Rows(l)) {
        if (l && count == 0) {
            l->cells.clear();
            l->selected.clear();
        } else {
            return;
        }
    } else {
        SInt16 n = count == 0 ? Rows(l) : std::min<SInt16>(count, static_cast<SInt16>(Rows(l) - rowNum));
        if (count == 0) rowNum = 0;
        l->cells.erase(l->cells.begin() + rowNum, l->cells.begin() + rowNum + n);
        l->selected.erase(l->selected.begin() + rowNum, l->selected.begin() + rowNum + n);
    }
    l->dataBounds.bottom = Rows(l);
    SInt16 maxTop = static_cast<SInt16>(std::max(0, Rows(l) - FullyVisibleRows(l)));
    l->visibleTopLeft.v = std::min(l->visibleTopLeft.v, maxTop);
    SyncScrollBar(l);
    DrawAll(l);
}

SInt16 LAddColumn(SInt16 count, SInt16 colNum, ListHandle l) {
    if (!l || count <= 0) return 0;
    SInt16 at = std::clamp<SInt16>(colNum, 0, Columns(l));
    for (auto& row : l->cells)
        row.insert(row.begin() + at, count, std::string());
    for (auto& row : l->selected)
        row.insert(row.begin() + at, count, false);
    l->dataBounds.right = static_cast<SInt16>(l->dataBounds.right + count);
    DrawAll(l);
    return at;
}

void LDelColumn(SInt16 count, SInt16 colNum, ListHandle l) {
    if (!l || colNum < 0 || colNum >= Columns(l)) return;
    SInt16 n = count == 0 ? static_cast<SInt16>(Columns(l) - colNum)
                          : std::min<SInt16>(count, static_cast<SInt16>(Columns(l) - colNum));
    for (auto& row : l->cells)
        row.erase(row.begin() + colNum, row.begin() + colNum + n);
    for (auto& row : l->selected)
        row.erase(row.begin() + colNum, row.begin() + colNum + n);
    l->dataBounds.right = static_cast<SInt16>(l->dataBounds.right - n);
    DrawAll(l);
}

void LSetCell(const void* data, SInt16 length, Cell c, ListHandle l) {
    if (!Valid(l, c)) return;
    l->cells[c.v][c.h].assign(static_cast<const char*>(data),
                              static_cast<size_t>(std::max<SInt16>(length, 0)));
    LDraw(c, l);
}

void LAddToCell(const void* data, SInt16 length, Cell c, ListHandle l) {
    if (!Valid(l, c)) return;
    l->cells[c.v][c.h].append(static_cast<const char*>(data),
                              static_cast<size_t>(std::max<SInt16>(length, 0)));
    LDraw(c, l);
}

void LClrCell(Cell c, ListHandle l) {
    if (!Valid(l, c)) return;
    l->cells[c.v][c.h].clear();
    LDraw(c, l);
}

void LGetCell(void* data, SInt16* length, Cell c, ListHandle l) {
    if (!Valid(l, c)) {
        *length = 0;
        return;
    }
    const std::string& s = l->cells[c.v][c.h];
    SInt16 n = std::min<SInt16>(*length, static_cast<SInt16>(s.size()));
    std::memcpy(data, s.data(), static_cast<size_t>(std::max<SInt16>(n, 0)));
    *length = std::max<SInt16>(n, 0);
}

void LGetCellDataLocation(SInt16* offset, SInt16* length, Cell c, ListHandle l) {
    *offset = 0;
    *length = Valid(l, c) ? static_cast<SInt16>(l->cells[c.v][c.h].size()) : -1;
}

void LSetSelect(Boolean select, Cell c, ListHandle l) {
    if (!Valid(l, c)) return;
    if (select && (l->selectionFlags & lOnlyOne))
        SelectOnly(l, c);
    else
        Select(l, c, select);
}

Boolean LGetSelect(Boolean next, Cell* c, ListHandle l) {
    if (!l || !c) return false;
    if (!next) return Valid(l, *c) && l->selected[c->v][c->h];
    Cell at = *c;
    if (at.v < 0 || at.h < 0) at = Cell{0, 0};
    for (SInt16 row = at.v; row < Rows(l); ++row)
        for (SInt16 col = row == at.v ? at.h : 0; col < Columns(l); ++col)
            if (l->selected[row][col]) {
                *c = Cell{row, col};
                return true;
            }
    return false;
}

Boolean LNextCell(Boolean hNext, Boolean vNext, Cell* c, ListHandle l) {
    if (!l || !c) return false;
    if (hNext && c->h + 1 < Columns(l)) {
        ++c->h;
        return true;
    }
    if (vNext && c->v + 1 < Rows(l)) {
        ++c->v;
        if (hNext) c->h = 0;
        return true;
    }
    return false;
}

void SetListSelectionFlags(ListHandle l, SInt32 flags) {
    if (l) l->selectionFlags = flags;
}

SInt32 GetListSelectionFlags(ListHandle l) {
    return l ? l->selectionFlags : 0;
}

Boolean LClick(Point p, UInt16 modifiers, ListHandle l) {
    if (!l) return false;
    ListPort port(l);
    if (l->vScroll) {
        ControlPartCode part = TestControl(l->vScroll, p);
        if (part != kControlNoPart) {
            gScrollingList = l;
            TrackControl(l->vScroll, p, ScrollAction);
            gScrollingList = nullptr;
            return false;
        }
    }
    if (!PtInRect(p, &l->view)) return false;
    auto cellAt = [l](Point q) {
        return Cell{static_cast<SInt16>(l->visibleTopLeft.v +
                                        (q.v - l->view.top) / std::max<SInt16>(1, l->cellSize.v)),
                    static_cast<SInt16>(l->visibleTopLeft.h +
                                        (q.h - l->view.left) / std::max<SInt16>(1, l->cellSize.h))};
    };
    Cell c = cellAt(p);
    if (!Valid(l, c)) return false;
    bool single = l->selectionFlags & lOnlyOne;
    bool toggle = !single && (modifiers & cmdKey);
    if (toggle)
        Select(l, c, !l->selected[c.v][c.h]);
    else if (!single && (modifiers & shiftKey))
        Select(l, c, true);
    else
        SelectOnly(l, c);
    // Dragging moves a single selection along with the mouse.
    while (WaitMouseUp()) {
        Point now{};
        GetMouse(&now);
        Cell under = cellAt(now);
        if (!toggle && PtInRect(now, &l->view) && Valid(l, under) && (under.v != c.v || under.h != c.h)) {
            c = under;
            if (single || !(modifiers & shiftKey))
                SelectOnly(l, c);
            else
                Select(l, c, true);
        }
    }
    UInt32 now = TickCount();
    bool twice =
        l->lastClick.v == c.v && l->lastClick.h == c.h && now - l->lastClickTicks <= kDoubleClickTicks;
    l->lastClick = c;
    l->lastClickTicks = twice ? 0 : now;
    return twice;
}

Cell LLastClick(ListHandle l) {
    return l ? l->lastClick : Cell{-1, -1};
}

void LUpdate(RgnHandle, ListHandle l) {
    if (!l) return;
    bool saved = l->drawIt;
    l->drawIt = true;
    DrawAll(l);
    l->drawIt = saved;
}

void LDraw(Cell c, ListHandle l) {
    if (!Valid(l, c) || !l->drawIt || !l->window) return;
    ListPort port(l);
    DrawOne(l, c);
}

void LSetDrawingMode(Boolean drawIt, ListHandle l) {
    if (!l) return;
    l->drawIt = drawIt;
    if (drawIt) DrawAll(l);
}

void LActivate(Boolean active, ListHandle l) {
    if (!l || l->active == active) return;
    l->active = active;
    SyncScrollBar(l);
    DrawAll(l);
}

Boolean LGetActive(ListHandle l) {
    return l && l->active;
}

void LScroll(SInt16 rows, SInt16, ListHandle l) {
    if (!l) return;
    SInt16 maxTop = static_cast<SInt16>(std::max(0, Rows(l) - FullyVisibleRows(l)));
    SInt16 top = std::clamp<SInt16>(static_cast<SInt16>(l->visibleTopLeft.v + rows), 0, maxTop);
    if (top == l->visibleTopLeft.v) return;
    l->visibleTopLeft.v = top;
    SyncScrollBar(l);
    DrawAll(l);
}

void LAutoScroll(ListHandle l) {
    Cell c{0, 0};
    if (!LGetSelect(true, &c, l)) return;
    if (c.v < l->visibleTopLeft.v)
        LScroll(static_cast<SInt16>(c.v - l->visibleTopLeft.v), 0, l);
    else if (c.v >= l->visibleTopLeft.v + FullyVisibleRows(l))
        LScroll(static_cast<SInt16>(c.v - l->visibleTopLeft.v - FullyVisibleRows(l) + 1), 0, l);
}

void LSize(SInt16 width, SInt16 height, ListHandle l) {
    if (!l) return;
    l->view.right = static_cast<SInt16>(l->view.left + width);
    l->view.bottom = static_cast<SInt16>(l->view.top + height);
    if (l->vScroll) {
        Rect bar{static_cast<SInt16>(l->view.top - 1), l->view.right, static_cast<SInt16>(l->view.bottom + 1),
                 static_cast<SInt16>(l->view.right + kScrollBarWidth)};
        if (l->hasGrow) bar.bottom = static_cast<SInt16>(bar.bottom - kScrollBarWidth + 1);
        SetControlBounds(l->vScroll, &bar);
    }
    LScroll(0, 0, l);
    SyncScrollBar(l);
    DrawAll(l);
}

Rect* GetListDataBounds(ListHandle l, Rect* bounds) {
    *bounds = l ? l->dataBounds : Rect{};
    return bounds;
}

Rect* GetListViewBounds(ListHandle l, Rect* bounds) {
    *bounds = l ? l->view : Rect{};
    return bounds;
}

Rect* GetListVisibleCells(ListHandle l, Rect* cells) {
    if (!l) {
        *cells = Rect{};
        return cells;
    }
    SInt16 bottom = std::min<SInt16>(Rows(l), static_cast<SInt16>(l->visibleTopLeft.v + VisibleRows(l)));
    *cells = Rect{l->visibleTopLeft.v, l->visibleTopLeft.h, bottom, Columns(l)};
    return cells;
}

Point* GetListCellSize(ListHandle l, Point* size) {
    *size = l ? l->cellSize : Point{};
    return size;
}

void SetListCellSize(ListHandle l, Point size) {
    if (!l) return;
    l->cellSize = size;
    SyncScrollBar(l);
    DrawAll(l);
}

WindowRef GetListWindow(ListHandle l) {
    return l ? l->window : nullptr;
}
ControlRef GetListVerticalScrollBar(ListHandle l) {
    return l ? l->vScroll : nullptr;
}
SInt32 GetListRefCon(ListHandle l) {
    return l ? l->refCon : 0;
}

void SetListRefCon(ListHandle l, SInt32 refCon) {
    if (l) l->refCon = refCon;
}

void* GetListUserData(ListHandle l) {
    return l ? l->userData : nullptr;
}

void SetListUserData(ListHandle l, void* data) {
    if (l) l->userData = data;
}
