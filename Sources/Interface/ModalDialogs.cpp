// The dialog stack, remembered positions, the menus' modal state and the program's modal loop.
#include "Interface/ModalDialogs.h"

#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Model/DocumentRecords.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Interface/MenuItemsById.h"
#include "Platform/Menus.h"
#include "Other/NumberFormat.h"
#include "Platform/Windows.h"
#include "Other/ZEZUdivari.h"

Point DialogPositionTable[kDialogPositionSlots];
SInt16 ModalLoopCursorId = kArrowCursorId;

namespace {

DialogRef gStack[kDialogStackCapacity];
SInt32 gDepth = 0;

const SInt16 kModalMenus[] = {198, 197, 132, 133, 134, 196, 195};
constexpr SInt16 kAppMenu = 128;

void SetModalMenus(bool enable) {
    if (CountOpenDocuments() > 0) {
        for (SInt16 id : kModalMenus)
            EnableMenuItemById(id, 0, enable);
        // The About item stays available in both states.
        EnableMenuItemById(kAppMenu, 1, true);
    }
    MenuRef app = GetMenuHandle(kAppMenu);
    if (enable) {
        EnableMenuCommand(app, FOUR_CHAR("pref"));
        EnableMenuCommand(app, FOUR_CHAR("quit"));
    } else {
        DisableMenuCommand(app, FOUR_CHAR("pref"));
        DisableMenuCommand(app, FOUR_CHAR("quit"));
    }
    DrawMenuBar();
}

// The cleared slot (0, 0) is a dialog never placed, wherever the desktop begins.
bool OnDesktop(Point p) {
    if (p.h == 0 && p.v == 0) return false;
    return PointIsOnDesktop(p);
}

} // namespace

SInt32 DialogStackDepth() {
    return gDepth;
}

DialogRef DialogStackTop() {
    return gDepth > 0 ? gStack[gDepth - 1] : nullptr;
}

void ResetDialogStack() {
    gDepth = 0;
}

DialogRef OpenStackedDialog(SInt16 id) {
    if (gDepth >= kDialogStackCapacity) return nullptr;
    SetCursorById(kArrowCursorId);
    DialogRef dialog = GetNewDialog(id, nullptr, reinterpret_cast<WindowRef>(-1));
    if (!dialog) return nullptr;
    SetPortWindowPort(GetDialogWindow(dialog));
    ChangeWindowAttributes(GetDialogWindow(dialog), kWindowAsyncDragAttribute, 0);
    gStack[gDepth++] = dialog;
    return dialog;
}

void CloseStackedDialog(DialogRef dialog) {
    if (gDepth > 0) --gDepth;
    DisposeDialog(dialog);
    if (gDepth > 0) {
        DialogRef below = gStack[gDepth - 1];
        SetPortWindowPort(GetDialogWindow(below));
        DrawDialog(below);
    }
}

DialogRef OpenModalDialog(SInt16 id, Point savedPoint) {
    bool first = gDepth == 0;
    if (gDepth >= kDialogStackCapacity) return nullptr;
    if (first) DisableMenusForModal();
    DialogRef dialog = OpenStackedDialog(id);
    if (!dialog) {
        if (first) EnableMenusAfterModal();
        return nullptr;
    }
    MoveDialogToSaved(dialog, savedPoint);
    SetCursorById(kArrowCursorId);
    SetDialogDefaultItem(dialog, 1);
    return dialog;
}

void MoveDialogToSaved(DialogRef dialog, Point savedPoint) {
    WindowRef window = GetDialogWindow(dialog);
    if (OnDesktop(savedPoint)) MoveWindow(window, savedPoint.h, savedPoint.v, false);
    ShowWindow(window);
}

void CloseModalDialog(DialogRef dialog, Point* slot) {
    if (!dialog) return;
    if (slot) {
        Rect bounds{};
        GetWindowContentBounds(GetDialogWindow(dialog), &bounds);
        Point topLeft{bounds.top, bounds.left};
        if (topLeft.h != slot->h || topLeft.v != slot->v) *slot = topLeft;
    }
    CloseStackedDialog(dialog);
    if (gDepth == 0) EnableMenusAfterModal();
}

void RunModalDialog(DialogRef dialog, SInt16* itemHit, ModalFilterProcPtr filter) {
    WindowRef dialogWindow = GetDialogWindow(dialog);
    for (;;) {
        SetCursorById(ModalLoopCursorId);
        EventRecord event{};
        // Apple events wait in the queue for the main loop: a modal dialog must not swallow them.
        WaitNextEvent(EventMask(everyEvent & ~highLevelEventMask), &event, 60, nullptr);
        WindowRef window = nullptr;
        SInt16 part = FindWindow(event.where, &window);
        *itemHit = 0;
        SetPortWindowPort(dialogWindow);
        bool done = false;
        DialogRef hitDialog = nullptr;
        if (IsDialogEvent(&event) && event.what != mouseDown && event.what != keyDown &&
            event.what != autoKey) {
            if (DialogSelect(&event, &hitDialog, itemHit) && *itemHit != 0) break;
        }
        switch (event.what) {
        case nullEvent:
            if (filter && filter(dialog, &event, itemHit))
                done = true;
            else
                DialogSelect(&event, &hitDialog, itemHit);
            break;
        case mouseDown:
            if (part == inContent && window == dialogWindow) {
                if (filter && filter(dialog, &event, itemHit))
                    done = true;
                else if (DialogSelect(&event, &hitDialog, itemHit))
                    done = true;
            } else if (part == inContent) {
                SysBeep(1);
            } else if (part == inMenuBar) {
                bool chosen = filter && filter(dialog, &event, itemHit);
                if (!chosen) MenuSelect(event.where);
                HiliteMenu(0);
                done = chosen;
            }
            break;
        case keyDown:
        case autoKey:
            if (filter && filter(dialog, &event, itemHit))
                done = true;
            else if (DialogSelect(&event, &hitDialog, itemHit) && *itemHit != 0)
                done = true;
            break;
        case updateEvt: {
            WindowRef updated = reinterpret_cast<WindowRef>(event.message);
            if (!IsDialogWindow(updated)) HandleOtherWindowUpdate(updated);
            break;
        }
        default:
            break;
        }
        if (done) break;
    }
    SetPortWindowPort(dialogWindow);
}

void RunModalDialogStd(DialogRef dialog, SInt16* itemHit) {
    RunModalDialog(dialog, itemHit, StandardDialogFilter);
}

SInt16 RunStandardDialog() {
    SInt16 item = 0;
    ModalDialog(StandardDialogFilter, &item);
    return item;
}

Boolean StandardDialogFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    if (event->what != keyDown && event->what != autoKey) return false;
    SInt16 chosen = 0;
    if (IsReturnOrEnterKey(event)) {
        chosen = 1;
    } else if (IsEscapeOrCmdPeriod(event)) {
        Str255 cancel;
        GetAppString(1, cancel);
        SInt16 count = CountDITL(dialog);
        for (SInt16 i = 2; i <= count && !chosen; ++i) {
            ControlRef c = nullptr;
            if (GetDialogItemAsControl(dialog, i, &c) != noErr || !c) continue;
            Str255 title;
            GetControlTitle(c, title);
            if (EqualPStr(title, cancel) && GetControlHilite(c) == 0) chosen = i;
        }
    }
    if (!chosen) return false;
    *itemHit = chosen;
    FlashItem(dialog, chosen);
    return true;
}

void FlashItem(DialogRef dialog, SInt16 item) {
    FlashDialogButton(dialog, item);
}

void DisableMenusForModal() {
    HiliteMenu(0);
    SetModalMenus(false);
}

void EnableMenusAfterModal() {
    SetModalMenus(true);
}

void EnableEditMenu() {
    EnableMenuItemById(kEditMenu, 0, true);
    DrawMenuBar();
}
