// Every error, warning and question the program shows: numbered messages of the string lists 200
// (errors, alert 128) and 201 (questions, alert 133) with "#" replaced by the caller's word, the
// operating-system error texts of list 401, the save-changes question and the shared alert key filter.
// While a command received as an Apple event runs, error alerts are recorded for its reply, not shown.
// Without a window system (tests of the model, files and exchange) alerts are answered as
// Platform/DialogManager.h describes beside SetAlertResponder: recorded, and answered by the responder or
// with item 1.
#pragma once

#include "Platform/DialogManager.h"

constexpr SInt16 kErrorAlertId = 128;
constexpr SInt16 kQuestionAlertId = 133;
constexpr SInt16 kSaveChangesAlertId = 1300;
constexpr SInt16 kSaveChangesList = 1300; // 1 before closing, 2 before quitting
constexpr SInt16 kErrorMessageList = 200;
constexpr SInt16 kQuestionList = 201;
constexpr SInt16 kOSErrorList = 401;
constexpr SInt16 kOSErrorMessage = 12;

// Non-zero while a command received as an Apple event is carried out.
extern Boolean AppleEventInProgress;

// Brackets a command received as an Apple event: error alerts are recorded instead of shown, and the
// recorded error text and code are cleared at the start.
void BeginAppleEventCommand();
// Ends the bracket; the recorded error code, or defaultCode when no error was recorded.
SInt16 EndAppleEventCommand(SInt16 defaultCode);
// The error recorded by the running (or last) command; code 0 and an empty text when none.
SInt16 RecordedAppleEventErrorCode();
void GetRecordedAppleEventErrorText(Str255 text);

// Error message n of list 200 with its first "#" replaced by text (cut to 255), in alert 128; code is
// the operating-system error behind it, which a scripted command's reply carries.
void ShowErrorAlert(SInt16 n, ConstStr255Param text, OSErr code = noErr);
// The text itself in alert 128.
void ShowErrorText(ConstStr255Param text);
// Question n of list 201 with its first "#" replaced by text1 and the next one by text2, in alert
// 133; true when item 2 confirms. Shown also while an Apple event is handled.
Boolean AskConfirm(SInt16 n, ConstStr255Param text1, ConstStr255Param text2);
// Alert `id` with the arrow cursor and the shared key filter; the item hit.
SInt16 ShowAlert(SInt16 id);
// Save changes to the document before closing it (closing true) or before quitting:
// 1 save, 2 don't save, 3 cancel.
SInt16 AskSaveChanges(ConstStr255Param documentName, Boolean closing);
// The text of list 401 for the code, followed by " (code)", or the bare number, as error message 12.
void ShowOSErrorAlert(OSErr code);
// Item n of the tool message list 128 as an error.
void ShowErrorStr128(SInt16 n);
// Out of memory: error message 9 with an empty text.
void ShowOutOfMemoryAlert();

// The key filter of every alert: Return and Enter item 1; Escape and Command-period item 2 when it is
// titled with the cancel title; Command and the first letter of item 2's or item 3's title.
Boolean AlertKeyFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit);
// Highlights the item's button for 8 ticks.
void FlashDialogButton(DialogRef dialog, SInt16 item);
// The title of the item's control, or an empty string (the whole buffer cleared) without one.
void GetDialogButtonTitle(DialogRef dialog, SInt16 item, Str255 title);
Boolean IsReturnOrEnterKey(const EventRecord* event);
Boolean IsEscapeOrCmdPeriod(const EventRecord* event);
// Stands where a failed system call needs no report.
void NoOp(const char* callName = nullptr);

// The message text with its first "#" from position `from` (1-based) replaced by text, cut to 255;
// returns the position just after the inserted text, or 0 when there was no "#".
SInt16 ReplaceHash(Str255 message, ConstStr255Param text, SInt16 from);
