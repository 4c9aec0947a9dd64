// The modal-dialog framework: every modal dialog is opened, run and closed here. A stack of open
// dialogs, the remembered position of each kind of dialog, the menu bar's modal state while any
// dialog is open, and the program's own modal loop, in which documents behind the dialog are still
// redrawn and the menu bar still pulls down.
#pragma once

#include "Platform/DialogManager.h"

constexpr int kDialogPositionSlots = 55;
// Dialogs opened from dialogs stack up to this depth; opening one more is refused.
constexpr SInt32 kDialogStackCapacity = 16;

// The remembered top-left points (global) of the dialog kinds; (0, 0) is a slot never used.
extern Point DialogPositionTable[kDialogPositionSlots];
// The cursor the modal loop sets before each wait (the dialog's code may change it).
extern SInt16 ModalLoopCursorId;

SInt32 DialogStackDepth();
DialogRef DialogStackTop();
// Clears the stack's depth (the event loop's preamble) without closing anything.
void ResetDialogStack();

// Opens dialog `id` on top of the stack; null when the resource is missing or the stack is full.
DialogRef OpenStackedDialog(SInt16 id);
void CloseStackedDialog(DialogRef dialog);
// Opens dialog `id` at savedPoint when that lies on the desktop, else where its resource places it.
// The first dialog puts the menus into the modal state. Null when it could not be opened.
DialogRef OpenModalDialog(SInt16 id, Point savedPoint);
void MoveDialogToSaved(DialogRef dialog, Point savedPoint);
// Stores the dialog's top-left into *slot (when given), closes it, and when it was the last open
// dialog restores the menus.
void CloseModalDialog(DialogRef dialog, Point* slot);
// Runs the modal loop until the filter or the dialog reports an item.
void RunModalDialog(DialogRef dialog, SInt16* itemHit, ModalFilterProcPtr filter);
void RunModalDialogStd(DialogRef dialog, SInt16* itemHit);
// The system's modal loop with the standard filter; the item hit.
SInt16 RunStandardDialog();
// Return and Enter choose item 1; Escape and Command-period the first enabled item from 2 on titled
// with the cancel title (general string 1); the chosen button is flashed.
Boolean StandardDialogFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit);
void FlashItem(DialogRef dialog, SInt16 item);

void DisableMenusForModal();
void EnableMenusAfterModal();
void EnableEditMenu();
