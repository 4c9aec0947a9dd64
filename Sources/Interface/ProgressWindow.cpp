// The progress window: delayed showing, percentage, time left, and the Stop button.
#include "Interface/ProgressWindow.h"

#include "Platform/AppResources.h"
#include "Interface/DialogItems.h"
#include "Platform/Events.h"
#include "Platform/PlatformApp.h"
#include "Platform/Windows.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <string>

namespace {

enum : SInt16 {
    kTextItem = 1,
    kBarItem = 2,
    kPercentItem = 3,
    kDetailItem = 4,
    kTimeLeftItem = 5,
    kStopItem = 6,
    kText8Item = 8,
    kText11Item = 11,
};

struct Progress {
    bool open = false;
    bool visible = false;
    DialogRef dialog = nullptr;
    UInt32 openedAt = 0;
    UInt32 firstPercentAt = 0;
    SInt16 percent = 0;
    SInt16 firstPercent = -1;
    bool indeterminate = false;
};
Progress gProgress;

void SetText(SInt16 item, const std::string& text) {
    if (!gProgress.dialog) return;
    Str255 s;
    CStrToPStr(s, sizeof s, text.c_str());
    SetItemText(gProgress.dialog, item, s);
}

ControlRef Bar() {
    ControlRef c = nullptr;
    if (gProgress.dialog) GetDialogItemAsControl(gProgress.dialog, kBarItem, &c);
    return c;
}

// Shows the window once it has been open for its delay.
void ShowWhenDue() {
    if (!gProgress.dialog || gProgress.visible) return;
    if (TickCount() - gProgress.openedAt < kProgressShowDelay) return;
    WindowRef w = GetDialogWindow(gProgress.dialog);
    DrawDialog(gProgress.dialog);
    ShowWindow(w);
    SelectWindow(w);
    gProgress.visible = true;
}

// The time left, from the pace since the first percentage shown.
std::string TimeLeftText() {
    if (gProgress.indeterminate || gProgress.firstPercent < 0 || gProgress.percent <= gProgress.firstPercent)
        return "";
    double ticks = TickCount() - gProgress.firstPercentAt;
    double done = gProgress.percent - gProgress.firstPercent;
    long seconds = static_cast<long>(ticks / done * (100 - gProgress.percent) / 60.0 + 0.5);
    if (seconds < 60) return "About " + std::to_string(seconds) + " s left";
    return "About " + std::to_string((seconds + 30) / 60) + " min left";
}

// Lets Qt show the window and record input without taking any event.
void LetEventsThrough() {
    EventRecord e{};
    EventAvail(everyEvent, &e);
}

} // namespace

void OpenProgress(ConstStr255Param text, Boolean cancellable, Boolean indeterminate) {
    CloseProgress();
    gProgress = Progress{};
    gProgress.open = true;
    gProgress.openedAt = TickCount();
    gProgress.indeterminate = indeterminate;
    if (!PlatformHasApplication()) return;
    gProgress.dialog = GetNewDialog(kProgressDialogId, nullptr, reinterpret_cast<WindowRef>(-1));
    if (!gProgress.dialog) return;
    if (text) SetItemText(gProgress.dialog, kTextItem, text);
    if (cancellable)
        SetDialogItemClickKey(gProgress.dialog, kStopItem, '.', kKeyCodePeriod, cmdKey);
    else
        HideDialogItem(gProgress.dialog, kStopItem);
    SetControlIndeterminate(Bar(), indeterminate);
}

void SetProgressPercent(SInt16 percent) {
    if (!gProgress.open) return;
    percent = std::clamp<SInt16>(percent, 0, 100);
    gProgress.percent = percent;
    if (gProgress.firstPercent < 0) {
        gProgress.firstPercent = percent;
        gProgress.firstPercentAt = TickCount();
    }
    if (gProgress.dialog) {
        SetControlValue(Bar(), percent);
        SetText(kPercentItem, std::to_string(percent) + " %");
        SetText(kTimeLeftItem, TimeLeftText());
        ShowWhenDue();
    }
    LetEventsThrough();
}

void SetProgressIndeterminate() {
    gProgress.indeterminate = true;
    SetControlIndeterminate(Bar(), true);
}

void EndProgressIndeterminate() {
    gProgress.indeterminate = false;
    SetControlIndeterminate(Bar(), false);
}

void IdleProgress() {
    if (!gProgress.open) return;
    ShowWhenDue();
    LetEventsThrough();
}

void SetProgressText4(ConstStr255Param text) {
    if (gProgress.dialog && text) SetItemText(gProgress.dialog, kDetailItem, text);
}

void SetProgressText8(ConstStr255Param text) {
    if (gProgress.dialog && text) SetItemText(gProgress.dialog, kText8Item, text);
}

void SetProgressText11(ConstStr255Param text) {
    if (gProgress.dialog && text) SetItemText(gProgress.dialog, kText11Item, text);
}

void CloseProgress() {
    if (gProgress.dialog) DisposeDialog(gProgress.dialog);
    gProgress = Progress{};
}

DialogRef ProgressDialog() {
    return gProgress.dialog;
}
Boolean ProgressIsOpen() {
    return gProgress.open;
}
Boolean ProgressIsVisible() {
    return gProgress.visible;
}
SInt16 ProgressPercent() {
    return gProgress.percent;
}
