// The dialog-item toolkit every dialog reads and writes its items with: texts, integers, lengths and
// formulas, check boxes and radio groups, enabling, pop-ups of recent values and fonts, and a few
// drawing procedures for user items. Each takes the dialog and an item number first; functions that
// need the item's control do nothing when it has none.
#pragma once

#include "Platform/DialogManager.h"
#include "Platform/Windows.h"

struct DocWindowRecord;

constexpr SInt16 kDialogUnitList = 550;
constexpr Size kItemTextPtrLimit = 10240;

// Texts.
void SetItemText(DialogRef dialog, SInt16 item, ConstStr255Param text);
void SetItemTextCStr(DialogRef dialog, SInt16 item, const char* text);
// Bytes read as UTF-8, failing that as Mac Roman; an empty text leaves the item unchanged.
void SetItemTextUTF8(DialogRef dialog, SInt16 item, ConstStr255Param text);
void SetItemTextFromPtr(DialogRef dialog, SInt16 item, Ptr text);
// Disposes what *out holds, then gives it a new block holding the item's text in UTF-8 (at most 10240
// bytes, no terminator). On failure *out is null, never a disposed block.
void GetItemTextPtr(DialogRef dialog, SInt16 item, Ptr* out);
void GetItemText(DialogRef dialog, SInt16 item, Str255 text);
OSErr SetItemControlFont(DialogRef dialog, SInt16 item, SInt16 fontId);
OSErr GetDialogControl(DialogRef dialog, SInt16 item, ControlRef* out);

// Numbers and lengths.
void SetItemNumber(DialogRef dialog, SInt16 item, SInt32 value);
void SetItemPaddedNumber(DialogRef dialog, SInt16 item, SInt32 value, SInt16 width);
SInt32 GetItemNumber(DialogRef dialog, SInt16 item);
SInt16 GetItemShort(DialogRef dialog, SInt16 item);
// The item's text as a whole number (blanks around it, an optional sign); false for an empty text,
// letters or a number beyond 32 bits, so that "not a number" is told from 0.
Boolean GetItemInteger(DialogRef dialog, SInt16 item, SInt32* value);
// Two more decimals when the document shows lengths in inches; the value is written as given.
void SetItemLength(const DocWindowRecord* doc, DialogRef dialog, SInt16 item, Float64 value, SInt16 decimals);
// The item's text as a formula (pi known); 0 when it does not parse.
Float64 GetItemFormula(DialogRef dialog, SInt16 item);
// The same for a string; a parse error is reported on standard error.
Float64 EvalFormulaString(ConstStr255Param text);
void SetItemUnitName(const DocWindowRecord* doc, DialogRef dialog, SInt16 item);
void SelectItemText(DialogRef dialog, SInt16 item);
// The first run of digits, -1 when there is none.
SInt32 ParseFirstInteger(ConstStr255Param text);
// 1 when the document shows lengths in millimetres, else 25.4.
Float64 DisplayUnitFactor(const DocWindowRecord* doc);

// Check boxes, radio groups and enabling.
void SetCheckBox(DialogRef dialog, SInt16 item, Boolean on);
void SetCheckBoxValue(DialogRef dialog, SInt16 item, SInt16 value);
void ToggleCheckBox(DialogRef dialog, SInt16 item);
Boolean IsCheckBoxOn(DialogRef dialog, SInt16 item);
inline Boolean GetCheckBox(DialogRef dialog, SInt16 item) {
    return IsCheckBoxOn(dialog, item);
}
SInt16 SetRadioGroup(DialogRef dialog, SInt16 first, SInt16 last, SInt16 chosen);
void EnableItem(DialogRef dialog, SInt16 item, Boolean on);
void EnableControlRef(ControlRef control, Boolean on);
Boolean IsItemEnabled(DialogRef dialog, SInt16 item);
void SetControlTitleIfChanged(DialogRef dialog, SInt16 item, ConstStr255Param title);
void GetItemControlTitle(DialogRef dialog, SInt16 item, Str255 title);
SInt16 GetControlValueOf(ControlRef control);
void SetControlValueOf(ControlRef control, SInt16 value);
SInt16 GetControlMaxOf(ControlRef control);
void DisposeControlAndClear(ControlRef* control);

// Pop-ups.
MenuRef GetPopupMenu(DialogRef dialog, SInt16 item);
SInt16 GetItemValue(DialogRef dialog, SInt16 item);
void SetItemValue(DialogRef dialog, SInt16 item, SInt16 value);
void SyncPopupMaximum(DialogRef dialog, SInt16 item);
// A typed value stands on top of the pop-up with a separator below it; at most one is kept.
void SetIntPopupHistory(DialogRef dialog, SInt16 popupItem, SInt16 editItem);
void SetSizePopupHistory(DialogRef dialog, SInt16 popupItem, SInt16 editItem);
void SetRealPopupHistory(DocWindowRecord* doc, DialogRef dialog, SInt16 popupItem, SInt16 editItem);
void CopyRealPopupToItem(const DocWindowRecord* doc, DialogRef dialog, SInt16 popupItem, SInt16 editItem);
void CopySizePopupToItem(DialogRef dialog, SInt16 popupItem, SInt16 editItem);
void SetScaleItemFromPopup(const DocWindowRecord* doc, DialogRef dialog, SInt16 popupItem, SInt16 editItem);
OSStatus CreatePopupItem(DialogRef dialog, SInt16 userItem, SInt16 menuId, ControlRef* out, SInt16 value,
                         SInt16 offset);
void TrackPopupItem(DialogRef dialog, ControlRef control, SInt16 menuId, SInt16* current, SInt16 offset);

// Font pop-ups: item texts are font names.
// An empty font pop-up (menu 512) gets the installed fonts.
void FillFontPopup(DialogRef dialog, SInt16 item);
SInt16 GetPopupFontNum(DialogRef dialog, SInt16 popupItem);
// The first item whose text is the font's name; 1 when none is.
SInt16 FindFontMenuItem(SInt16 fontNum, MenuRef menu);
void SetFontPopup(DialogRef dialog, SInt16 fontNum, SInt16 popupItem);
void SetFontAndSizeItems(DialogRef dialog, SInt16 font, SInt16 size, SInt16 fontPopupItem,
                         SInt16 sizePopupItem, SInt16 sizeEditItem);
// A pop-up button over item `item` showing item `value` of menu `menuId`, titled by "STR#" 1000 item
// titleIndex (none for 0) in a title field `titleWidth` wide (kTitleWidthOfText: the title's width +
// 16). TrackPopupButton pops it up and stores a changed choice in *value (true when it changed).
constexpr SInt16 kPopupTitleList = 1000;
constexpr UInt16 kTitleWidthOfText = 65535;
OSStatus NewPopupButton(DialogRef dialog, SInt16 item, SInt16 menuId, SInt16 titleIndex, UInt16 titleWidth,
                        SInt16 value, ControlRef* out);
Boolean TrackPopupButton(DialogRef dialog, ControlRef control, SInt16 menuId, SInt16* value);

// Items and user-item drawing.
void GetDItemRect(DialogRef dialog, SInt16 item, Rect* rect);
void SetDItemRect(DialogRef dialog, SInt16 item, const Rect* rect);
UserItemProcPtr SetUserItemProc(DialogRef dialog, SInt16 item, UserItemProcPtr proc);
void ClearProcPtr(UserItemProcPtr* proc);
Boolean PtInDItem(DialogRef dialog, Point localPoint, SInt16 item);
void RedrawDialog(DialogRef dialog);
void InvalItem(DialogRef dialog, SInt16 item);
void InvalDialogRect(DialogRef dialog, const Rect* rect);
// Makes the item just wide enough for its text: right = left + text width + 2.
void FitItemToText(DialogRef dialog, SInt16 item);
// Grey 153 along the top edge (wider than high) or the left edge, with a white line beside it.
void DrawEtchedLine(const Rect* rect);
void DrawItemSeparator(DialogRef dialog, SInt16 item);
void SetGray8(UInt8 level, RGBColor* rgb);
// Frames the rectangle in the grey between the port's background and foreground colours.
void DrawGrayFrame(const Rect* rect);
// Frames the item (the port set to the dialog, the pen normal) and returns its inside, inset.
Rect FrameItemInside(DialogRef dialog, SInt16 item, SInt16 inset);
// A one-pixel frame one pixel outside the item.
void FrameDialogItem(DialogRef dialog, SInt16 item);
// A two-pixel frame four pixels around the item: light blue when active, grey otherwise.
void FrameListFocus(DialogRef dialog, SInt16 item, Boolean active);
// The first screen that meets the rectangle (global coordinates), else the main screen.
GDHandle ScreenDeviceForRect(const Rect* rect);
// Waits until a mouse-down arrives (and takes it).
void WaitForMouseDown();
inline WindowRef DialogToWindow(DialogRef dialog) {
    return GetDialogWindow(dialog);
}
inline DialogRef DialogFromWindow(WindowRef window) {
    return GetDialogFromWindow(window);
}
void SetPortToDialog(DialogRef dialog);
