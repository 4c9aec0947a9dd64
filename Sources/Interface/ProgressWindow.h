// The progress window of long operations (dialog 155): it becomes visible only once 240 ticks have
// passed since it was opened, shows the percentage, a bar and the time left, and its Stop button
// types Command-period, which the operation finds with UserCancelled. Without a window system every
// call only keeps its values.
#pragma once

#include "Platform/DialogManager.h"

constexpr SInt16 kProgressDialogId = 155;
constexpr UInt32 kProgressShowDelay = 240;

// Opens the window with the text in item 1; cancellable shows the Stop button; indeterminate starts
// the bar without a value.
void OpenProgress(ConstStr255Param text, Boolean cancellable = true, Boolean indeterminate = false);
// The same, the title being the operation's name.
inline void ProgressRecord(ConstStr255Param title, Boolean cancellable = true,
                           Boolean indeterminate = false) {
    OpenProgress(title, cancellable, indeterminate);
}
// Clamps to 0..100, shows the window once its time has come, updates the bar and the time left, and
// lets pending input through (so Command-period can be found).
void SetProgressPercent(SInt16 percent);
void SetProgressIndeterminate();
void EndProgressIndeterminate();
// Time for an indeterminate bar; also shows the window once its time has come.
void IdleProgress();
void SetProgressText4(ConstStr255Param text);
void SetProgressText8(ConstStr255Param text);
void SetProgressText11(ConstStr255Param text);
void CloseProgress();

// The open progress dialog (null when none is open or it has no window), for its items.
DialogRef ProgressDialog();
Boolean ProgressIsOpen();
Boolean ProgressIsVisible();
SInt16 ProgressPercent();
