// Dialogs and alerts: dialogs made from their resources with numbered items over real widgets, the
// parameter texts of static items, DialogSelect and ModalDialog over the event queue, alerts, and the
// answering of alerts where no window can be shown.
//
// Every item of a dialog is a control (GetDialogItemAsControl): buttons, check boxes, radio buttons
// and pop-ups, and also static texts, edit texts, icons, pictures and user items. Clicks and keys on a
// dialog arrive as events of the platform queue; DialogSelect applies them to the items, so a filter
// sees every event first and tests answer dialogs with queued events.
#pragma once

#include "Platform/Controls.h"

#include <functional>
#include <string>
#include <vector>

struct EventRecord;
struct OpaqueDialogPtr;
using DialogRef = OpaqueDialogPtr*;
using DialogPtr = DialogRef;
using DialogItemIndex = SInt16;

// Sees every event of a modal dialog or alert first; true when it chose the item written to itemHit.
using ModalFilterProcPtr = Boolean (*)(DialogRef dialog, EventRecord* event, SInt16* itemHit);
using ModalFilterUPP = ModalFilterProcPtr;
// Draws a user item into the dialog's port.
using UserItemProcPtr = void (*)(DialogRef dialog, DialogItemIndex item);
using UserItemUPP = UserItemProcPtr;

// Item types (a disabled item adds itemDisable).
enum : SInt16 {
    userItem = 0,
    ctrlItem = 4,
    btnCtrl = 0,
    chkCtrl = 1,
    radCtrl = 2,
    resCtrl = 3,
    statText = 8,
    editText = 16,
    iconItem = 32,
    picItem = 64,
    itemDisable = 128,
};

// AppendDITL: where the new items go.
enum : SInt16 { overlayDITL = 0, appendDITLRight = 1, appendDITLBottom = 2 };

// A new dialog from DLOG `id` and its item list, in front of all windows; hidden when its resource
// says so. Null when the resource is missing, which is reported on standard error.
DialogRef GetNewDialog(SInt16 id, void* storage, WindowRef behind);
void DisposeDialog(DialogRef dialog);
WindowRef GetDialogWindow(DialogRef dialog);
// The dialog shown in a window, or null for other windows.
DialogRef GetDialogFromWindow(WindowRef window);
Boolean IsDialogWindow(WindowRef window);
// Erases the dialog's port, draws its user items and shows its widgets.
void DrawDialog(DialogRef dialog);
void UpdateDialog(DialogRef dialog);

SInt16 CountDITL(DialogRef dialog);
// Adds the items of DITL `ditlId` below (appendDITLBottom), right of (appendDITLRight) the present
// items, or at their own places (overlayDITL); the new items are numbered after the present ones.
void AppendDITL(DialogRef dialog, SInt16 ditlId, SInt16 method);
// Removes the last `count` items.
void ShortenDITL(DialogRef dialog, SInt16 count);

// The item's type, handle and rectangle (local to the dialog). The handle of a user item is its
// procedure; of other items an opaque reference for Get/SetDialogItemText.
void GetDialogItem(DialogRef dialog, SInt16 item, SInt16* type, Handle* handle, Rect* box);
void SetDialogItem(DialogRef dialog, SInt16 item, SInt16 type, Handle handle, const Rect* box);
OSErr GetDialogItemAsControl(DialogRef dialog, SInt16 item, ControlRef* control);
void SetDialogItemProc(DialogRef dialog, SInt16 item, UserItemProcPtr proc);
// Text of a static or edit text item, by the handle of GetDialogItem or by item number.
void GetDialogItemText(Handle itemHandle, Str255 text);
void SetDialogItemText(Handle itemHandle, ConstStr255Param text);
void GetDialogItemTextByNumber(DialogRef dialog, SInt16 item, Str255 text);
void SetDialogItemTextByNumber(DialogRef dialog, SInt16 item, ConstStr255Param text);
// The same texts in UTF-8, for texts that need more than Mac Roman or 255 bytes.
std::string GetDialogItemUTF8Text(DialogRef dialog, SInt16 item);
void SetDialogItemUTF8Text(DialogRef dialog, SInt16 item, const std::string& text);
// Selects characters start..end (0-based, end exclusive; 32767 the end) of an edit text and gives it
// the keyboard focus.
void SelectDialogItemText(DialogRef dialog, SInt16 item, SInt16 start, SInt16 end);
// The edit text item with the keyboard focus (0 when none), as GetDialogKeyboardFocusItem.
SInt16 GetDialogKeyboardFocusItem(DialogRef dialog);
void ShowDialogItem(DialogRef dialog, SInt16 item);
void HideDialogItem(DialogRef dialog, SInt16 item);
// The item under a local point (first in item order), -1 when none.
SInt16 FindDialogItem(DialogRef dialog, Point localPoint);

OSErr SetDialogDefaultItem(DialogRef dialog, SInt16 item);
OSErr SetDialogCancelItem(DialogRef dialog, SInt16 item);
SInt16 GetDialogDefaultItem(DialogRef dialog);
SInt16 GetDialogCancelItem(DialogRef dialog);
void SetDialogReference(DialogRef dialog, SInt32 refCon);
SInt32 GetDialogReference(DialogRef dialog);

// The texts that replace ^0 to ^3 in static text items of dialogs and alerts opened afterwards.
void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3);
void GetParamText(SInt16 index, Str255 text);

// True when the event is for a dialog window: mouse events by the window under the point, keys and
// null events when the front window is a dialog, update and activate events by their window.
Boolean IsDialogEvent(const EventRecord* event);
// Applies an event to its dialog: a click on an enabled item (a control tracked until released), a
// key for the focused edit text, Tab to the next edit text, updates and activation. True with the
// dialog and item when an item was hit.
Boolean DialogSelect(const EventRecord* event, DialogRef* dialog, SInt16* itemHit);
// Runs the front dialog until an item is hit. Events go to the filter first; without a filter, Return
// and Enter choose the default item and Escape or Command-period the cancel item. Clicks in other
// windows beep.
void ModalDialog(ModalFilterProcPtr filter, SInt16* itemHit);

// A button that works while no loop reads the dialog's events (a progress window's Stop): a click
// on it posts a key-down of that character, key code and modifiers instead of a mouse-down.
void SetDialogItemClickKey(DialogRef dialog, SInt16 item, UInt8 charCode, UInt8 keyCode, UInt16 modifiers);

// The window as the user sees it, the port with the item widgets over it, as a PNG file (tests).
Boolean SaveWindowWithWidgetsPNG(WindowRef window, const char* path);

// The update of a window that is not a dialog, arriving while a modal dialog runs: redrawn by the
// handler the application sets (documents and palettes); without one the update is only cleared.
using OtherWindowUpdateHandler = void (*)(WindowRef window);
void SetOtherWindowUpdateHandler(OtherWindowUpdateHandler handler);
void HandleOtherWindowUpdate(WindowRef window);

// Shows alert `alertId` and runs it until an item is chosen; returns the item. The filter may be null.
// An alert without its resource is reported on standard error, shown to nobody, answered by no
// responder, and returns kAlertMissing.
constexpr SInt16 kAlertMissing = -1;
SInt16 Alert(SInt16 alertId, ModalFilterProcPtr filter);
SInt16 StopAlert(SInt16 alertId, ModalFilterProcPtr filter);
SInt16 NoteAlert(SInt16 alertId, ModalFilterProcPtr filter);
SInt16 CautionAlert(SInt16 alertId, ModalFilterProcPtr filter);
void ResetAlertStage();

// Alerts without a window. Every alert is recorded with the parameter texts it was shown with. When
// a responder is set, it answers every alert (with or without a Qt application) and no window is
// shown; without a responder and without a Qt application (the model, file and exchange tests) the
// alert is answered with item 1, its default button, and so it is on the offscreen test platform
// when no input waits that could answer it. Otherwise the alert is a real window, answered by the
// user or by events queued ahead of it.
struct AlertRecord {
    SInt16 alertId = 0;
    SInt16 icon = 0;       // 0 plain, 1 stop, 2 note, 3 caution
    std::string params[4]; // Mac Roman
};
using AlertResponder = std::function<SInt16(const AlertRecord&)>;
void SetAlertResponder(AlertResponder responder);
const std::vector<AlertRecord>& RecordedAlerts();
void ClearRecordedAlerts();
