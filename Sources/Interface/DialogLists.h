// Lists in dialogs and palettes: a one-column list in a user item, single selection, keyboard
// navigation with arrows and type-select, and the narrow scroll bar of list palettes.
#pragma once

#include "Platform/DialogManager.h"
#include "Platform/ListControls.h"

// A one-column list with a vertical scroll bar filling the user item (the bar inside its right edge);
// drawProc becomes the item's draw procedure and is stored in *procRecord.
void NewDialogList(DialogRef dialog, SInt16 item, ListHandle* list, UserItemProcPtr drawProc,
                   UserItemProcPtr* procRecord);
// The same with the caller's list definition drawing the cells.
void NewDialogListWithDef(DialogRef dialog, SInt16 item, ListHandle* list, UserItemProcPtr drawProc,
                          ListDefProcPtr definition, UserItemProcPtr* procRecord);
void DeselectAllCells(ListHandle list);
void SetListSingleSelection(ListHandle list);
// The first selected cell, deselected; false when none is selected.
Boolean TakeSelectedCell(ListHandle list, Cell* cell);
// A key-down's message: the up and down arrows move the selection, other characters select the first
// row starting with what was typed lately (any case); the selection is scrolled into view.
void ListHandleKey(UInt32 keyMessage, ListHandle list);
// The narrow scroll bar of a list palette at the right edge of the port rectangle.
Rect ListScrollBarRect(const Rect& portRect);
void PlaceListScrollBar(SInt16 width, SInt16 height, WindowRef window, ControlRef scrollBar);
