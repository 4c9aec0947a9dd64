// Numbered messages and questions, the operating-system error texts, the save-changes question and
// the Apple event error record.
#include "Other/Alerts.h"

#include "Platform/AppResources.h"
#include "Other/CursorsAndMouse.h"
#include "Platform/Events.h"
#include "Other/NumberFormat.h"
#include "Platform/NumberText.h"
#include "Other/ZEZUdivari.h"

#include <cstring>

Boolean AppleEventInProgress = false;

namespace {

// A failed scripted command answers with this when its message has no code of its own.
constexpr SInt16 kScriptedCommandFailed = -10000;

Str255 gRecordedText;
SInt16 gRecordedCode = 0;
// The operating-system code of the message being shown, recorded with it.
SInt16 gMessageCode = 0;

const unsigned char kEmpty[1] = {0};

// Keeps the first error of a command: later alerts are usually its consequences.
void RecordAppleEventError(ConstStr255Param text, SInt16 code) {
    if (gRecordedCode != 0) return;
    gRecordedCode = code != 0 ? code : kScriptedCommandFailed;
    std::memcpy(gRecordedText, text, text[0] + 1u);
}

void ShowRecordedOrAlert(ConstStr255Param message) {
    ParamText(message, kEmpty, kEmpty, kEmpty);
    if (AppleEventInProgress) {
        RecordAppleEventError(message, gMessageCode);
        return;
    }
    SetCursorById(kArrowCursorId);
    Alert(kErrorAlertId, AlertKeyFilter);
    ResetAlertStage();
}

} // namespace

void BeginAppleEventCommand() {
    AppleEventInProgress = true;
    gRecordedText[0] = 0;
    gRecordedCode = 0;
}

SInt16 EndAppleEventCommand(SInt16 defaultCode) {
    AppleEventInProgress = false;
    return gRecordedCode != 0 ? gRecordedCode : defaultCode;
}

SInt16 RecordedAppleEventErrorCode() {
    return gRecordedCode;
}

void GetRecordedAppleEventErrorText(Str255 text) {
    std::memcpy(text, gRecordedText, gRecordedText[0] + 1u);
}

SInt16 ReplaceHash(Str255 message, ConstStr255Param text, SInt16 from) {
    for (int i = from < 1 ? 1 : from; i <= message[0]; ++i) {
        if (message[i] != '#') continue;
        Str255 result;
        CopySubStr(result, message, 1, i - 1);
        AppendPStr(result, sizeof result, text);
        SInt16 after = static_cast<SInt16>(result[0] + 1);
        Str255 tail;
        CopySubStr(tail, message, i + 1, message[0] - i);
        AppendPStr(result, sizeof result, tail);
        std::memcpy(message, result, result[0] + 1u);
        return after;
    }
    return 0;
}

// The text that takes the place of the message's "#", shortened where message and text would pass
// the 255 characters an alert holds: the text gives way, keeping its start and its end (a file
// name's extension) around an ellipsis, so the message is always shown whole.
static void FitInsertedText(ConstStr255Param message, ConstStr255Param text, Str255 fitted) {
    int room = 255 - (message[0] - (PosChar('#', message) > 0 ? 1 : 0));
    if (text[0] <= room) {
        std::memcpy(fitted, text, text[0] + 1u);
        return;
    }
    fitted[0] = 0;
    if (room < 2) return;
    int tail = (room - 1) / 3, head = room - 1 - tail;
    CopySubStr(fitted, text, 1, head);
    AppendChar(fitted, 256, '\xC9');
    Str255 end;
    CopySubStr(end, text, text[0] - tail + 1, tail);
    AppendPStr(fitted, 256, end);
}

void ShowErrorAlert(SInt16 n, ConstStr255Param text, OSErr code) {
    Str255 message, fitted;
    GetIndString(message, kErrorMessageList, n);
    FitInsertedText(message, text ? text : kEmpty, fitted);
    ReplaceHash(message, fitted, 1);
    const SInt16 saved = gMessageCode;
    if (code != noErr) gMessageCode = code;
    ShowRecordedOrAlert(message);
    gMessageCode = saved;
}

void ShowErrorText(ConstStr255Param text) {
    ShowRecordedOrAlert(text ? text : kEmpty);
}

Boolean AskConfirm(SInt16 n, ConstStr255Param text1, ConstStr255Param text2) {
    Str255 message;
    GetIndString(message, kQuestionList, n);
    // The second "#" is searched after the first inserted text, so a "#" inside that text stays.
    SInt16 after = ReplaceHash(message, text1 ? text1 : kEmpty, 1);
    if (after > 0) ReplaceHash(message, text2 ? text2 : kEmpty, after);
    ParamText(message, kEmpty, kEmpty, kEmpty);
    SetCursorById(kArrowCursorId);
    SInt16 item = Alert(kQuestionAlertId, AlertKeyFilter);
    ResetAlertStage();
    return item == 2;
}

SInt16 ShowAlert(SInt16 id) {
    SetCursorById(kArrowCursorId);
    SInt16 item = Alert(id, AlertKeyFilter);
    ResetAlertStage();
    return item;
}

SInt16 AskSaveChanges(ConstStr255Param documentName, Boolean closing) {
    Str255 name, context;
    CopyPStr(name, sizeof name, documentName ? documentName : kEmpty);
    GetIndString(context, kSaveChangesList, closing ? 1 : 2);
    ParamText(name, context, kEmpty, kEmpty);
    SetCursorById(kArrowCursorId);
    SInt16 item = Alert(kSaveChangesAlertId, AlertKeyFilter);
    ResetAlertStage();
    switch (item) {
    case 1:
        return 1;
    case 2:
        return 3;
    case 3:
        return 2;
    default:
        return 0;
    }
}

void ShowOSErrorAlert(OSErr code) {
    Str255 line, number;
    NumToString(code, number);
    for (SInt16 i = 1;; ++i) {
        GetIndString(line, kOSErrorList, i);
        if (line[0] == 0) break;
        SInt16 blank = PosChar(' ', line);
        int digits = blank > 0 ? blank - 1 : line[0];
        Str255 lead;
        CopySubStr(lead, line, 1, digits);
        SInt32 listed = 0;
        StringToNum(lead, &listed);
        if (listed != code) continue;
        DeletePStr(line, 1, blank > 0 ? blank : line[0]);
        AppendCStr(line, sizeof line, " (");
        AppendPStr(line, sizeof line, number);
        AppendChar(line, sizeof line, ')');
        ShowErrorAlert(kOSErrorMessage, line, code);
        return;
    }
    ShowErrorAlert(kOSErrorMessage, number, code);
}

void ShowErrorStr128(SInt16 n) {
    Str255 message;
    GetIndString(message, 128, n);
    ShowErrorText(message);
}

void ShowOutOfMemoryAlert() {
    ShowErrorAlert(9, kEmpty);
}

void NoOp(const char*) {}

// --- The shared key filter -----------------------------------------------------------------------------

Boolean IsReturnOrEnterKey(const EventRecord* event) {
    UInt8 ch = EventCharCode(*event);
    return ch == kReturnCharCode || ch == kEnterCharCode;
}

Boolean IsEscapeOrCmdPeriod(const EventRecord* event) {
    UInt8 ch = EventCharCode(*event);
    return ch == kEscapeCharCode || (ch == '.' && (event->modifiers & cmdKey));
}

void GetDialogButtonTitle(DialogRef dialog, SInt16 item, Str255 title) {
    std::memset(title, 0, sizeof(Str255));
    SInt16 type = 0;
    Handle h = nullptr;
    Rect r{};
    GetDialogItem(dialog, item, &type, &h, &r);
    ControlRef c = nullptr;
    if ((type & ctrlItem) && GetDialogItemAsControl(dialog, item, &c) == noErr && c)
        GetControlTitle(c, title);
}

void FlashDialogButton(DialogRef dialog, SInt16 item) {
    ControlRef c = nullptr;
    if (GetDialogItemAsControl(dialog, item, &c) != noErr || !c) return;
    HiliteControl(c, 1);
    UInt32 final = 0;
    Delay(8, &final);
    HiliteControl(c, 0);
}

Boolean AlertKeyFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    if (event->what != keyDown && event->what != autoKey) return false;
    Str255 title2, title3;
    GetDialogButtonTitle(dialog, 2, title2);
    GetDialogButtonTitle(dialog, 3, title3);
    UInt8 ch = EventCharCode(*event);
    if (ch >= 'a' && ch <= 'z') ch = static_cast<UInt8>(ch - 'a' + 'A');
    SInt16 chosen = 0;
    if (ch == kReturnCharCode || ch == kEnterCharCode) {
        chosen = 1;
    } else if (ch == kEscapeCharCode || (ch == '.' && (event->modifiers & cmdKey))) {
        Str255 cancel;
        GetAppString(1, cancel);
        if (!EqualPStr(cancel, title2)) return false;
        chosen = 2;
    } else if (ch != 0 && (event->modifiers & cmdKey)) {
        if (title2[0] > 0 && ch == title2[1])
            chosen = 2;
        else if (title3[0] > 0 && ch == title3[1])
            chosen = 3;
    }
    if (!chosen) return false;
    *itemHit = chosen;
    FlashDialogButton(dialog, chosen);
    return true;
}
