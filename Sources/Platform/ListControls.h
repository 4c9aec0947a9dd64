// Lists of cells drawn into a window's port (the List Manager): rows and columns of byte strings, a
// selection, clicks with double-click detection, scrolling with an optional scroll bar, and list
// definitions that draw the cells themselves.
#pragma once

#include "Platform/Controls.h"
#include "Platform/QuickDrawTypes.h"

struct OpaqueListRef;
using ListHandle = OpaqueListRef*;
using ListRef = ListHandle;
using Cell = Point; // v the row, h the column, from 0
using ListBounds = Rect;

// Messages to a list definition.
enum : SInt16 { lInitMsg = 0, lDrawMsg = 1, lHiliteMsg = 2, lCloseMsg = 3 };
// Selection flags; lOnlyOne allows one selected cell only.
enum : SInt32 { lOnlyOne = -128, lExtendDrag = 64, lNoDisjoint = 8, lNoExtend = 4, lUseSense = 16 };

// Draws (lDrawMsg) or highlights (lHiliteMsg) the cell in cellRect with the port set; the cell's data
// are the bytes LGetCell gives.
using ListDefProcPtr = void (*)(SInt16 message, Boolean selected, Rect* cellRect, Cell cell,
                                SInt16 dataOffset, SInt16 dataLength, ListHandle list);

// A list in `view` (local coordinates of the window, scroll bars outside it) with the rows and columns of
// dataBounds and cells of cellSize (0: the view's width by the port font's line height). theProc 0 draws
// cells as text; with hasGrow the scroll bar leaves the grow box free.
ListHandle LNew(const Rect* view, const ListBounds* dataBounds, Point cellSize, SInt16 theProc,
                WindowRef window, Boolean drawIt, Boolean hasGrow, Boolean scrollHoriz, Boolean scrollVert);
OSStatus CreateCustomList(const Rect* view, const ListBounds* dataBounds, Point cellSize,
                          ListDefProcPtr definition, WindowRef window, Boolean drawIt, Boolean hasGrow,
                          Boolean scrollHoriz, Boolean scrollVert, ListHandle* outList);
void LDispose(ListHandle list);

// Rows and columns; the number of the first one added. A count of 0 in LDelRow deletes every row.
SInt16 LAddRow(SInt16 count, SInt16 rowNum, ListHandle list);
void LDelRow(SInt16 count, SInt16 rowNum, ListHandle list);
SInt16 LAddColumn(SInt16 count, SInt16 colNum, ListHandle list);
void LDelColumn(SInt16 count, SInt16 colNum, ListHandle list);

void LSetCell(const void* data, SInt16 length, Cell cell, ListHandle list);
void LAddToCell(const void* data, SInt16 length, Cell cell, ListHandle list);
void LClrCell(Cell cell, ListHandle list);
// Copies at most *length bytes; *length becomes the number copied.
void LGetCell(void* data, SInt16* length, Cell cell, ListHandle list);
void LGetCellDataLocation(SInt16* offset, SInt16* length, Cell cell, ListHandle list);

void LSetSelect(Boolean select, Cell cell, ListHandle list);
// With next, the first selected cell from *cell on (row by row); else whether *cell is selected.
Boolean LGetSelect(Boolean next, Cell* cell, ListHandle list);
Boolean LNextCell(Boolean hNext, Boolean vNext, Cell* cell, ListHandle list);
void SetListSelectionFlags(ListHandle list, SInt32 flags);
SInt32 GetListSelectionFlags(ListHandle list);

// A click at a local point (followed until the button is released); true for a double-click on one cell.
Boolean LClick(Point localPoint, UInt16 modifiers, ListHandle list);
Cell LLastClick(ListHandle list);

void LUpdate(RgnHandle region, ListHandle list);
void LDraw(Cell cell, ListHandle list);
void LSetDrawingMode(Boolean drawIt, ListHandle list);
void LActivate(Boolean active, ListHandle list);
Boolean LGetActive(ListHandle list);
void LScroll(SInt16 rows, SInt16 columns, ListHandle list);
// Scrolls the first selected cell into view.
void LAutoScroll(ListHandle list);
// New view size (width, height), scroll bars following.
void LSize(SInt16 width, SInt16 height, ListHandle list);

Rect* GetListDataBounds(ListHandle list, Rect* bounds);
Rect* GetListViewBounds(ListHandle list, Rect* bounds);
Rect* GetListVisibleCells(ListHandle list, Rect* cells);
Point* GetListCellSize(ListHandle list, Point* size);
void SetListCellSize(ListHandle list, Point size);
WindowRef GetListWindow(ListHandle list);
ControlRef GetListVerticalScrollBar(ListHandle list);
SInt32 GetListRefCon(ListHandle list);
void SetListRefCon(ListHandle list, SInt32 refCon);
void* GetListUserData(ListHandle list);
void SetListUserData(ListHandle list, void* data);
