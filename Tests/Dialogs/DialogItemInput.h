// Input for the settings dialogs' tests: clicks on a dialog's items where its resource places them,
// pop-up choices, and the alert answers of a test.
#pragma once

#include "../Tools/ToolGuiFixture.h"

#include "Interface/ModalDialogs.h"
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "Platform/SimulatedInput.h"

#include <vector>

// The item's rectangle in global coordinates, the dialog where its resource (or its remembered
// position) puts it.
inline Rect GlobalItemRect(SInt16 dialogId, SInt16 item, SInt16 positionSlot) {
    const DialogDesc* dialog = FindDialogResource(dialogId);
    EXPECT_NE(dialog, nullptr);
    if (dialog == nullptr) return Rect{};
    Rect r = FindItemListResource(dialog->itemListId)->items[size_t(item - 1)].rect;
    Point origin{dialog->bounds.top, dialog->bounds.left};
    const Point saved = positionSlot >= 0 ? DialogPositionTable[positionSlot] : Point{0, 0};
    if (saved.h != 0 || saved.v != 0) origin = saved;
    OffsetRect(&r, origin.h, origin.v);
    return r;
}

// A menu choice that opens a dialog. The menu's own tracking polls the button after the choice: a
// release is queued for it, so that the dialog's first click is not taken for the menu's.
inline bool ChooseDialogFromMenu(SInt16 menu, SInt16 item) {
    if (!ChooseMenuItem(menu, item)) return false;
    SimulateMouseButton(false, 0);
    return true;
}

// A click at a point of the item (from its top-left), as the user makes it.
inline void QueueItemClick(SInt16 dialogId, SInt16 item, SInt16 positionSlot, SInt16 dh = -1,
                           SInt16 dv = -1) {
    const Rect r = GlobalItemRect(dialogId, item, positionSlot);
    const Point p{SInt16(dv >= 0 ? r.top + dv : (r.top + r.bottom) / 2),
                  SInt16(dh >= 0 ? r.left + dh : (r.left + r.right) / 2)};
    SimulateMouseMove(p);
    SimulateMouseButton(true, 0);
    SimulateMouseButton(false, 0);
}

// The pop-up item pressed and the menu item chosen in it.
inline void QueuePopupChoice(SInt16 dialogId, SInt16 item, SInt16 positionSlot, SInt16 choice) {
    QueuePopUpMenuChoice(choice);
    const Rect r = GlobalItemRect(dialogId, item, positionSlot);
    SimulateMouseMove(Point{SInt16((r.top + r.bottom) / 2), SInt16(r.right - 20)});
    SimulateMouseButton(true, 0);
    SimulateMouseButton(false, 0);
}

inline void QueueReturn() {
    QueueKey(kKeyCodeReturn, kReturnCharCode);
}
inline void QueueEscape() {
    QueueKey(kKeyCodeEscape, kEscapeCharCode);
}
// Between clicks on two different controls: in these tests' virtual time a click that follows
// another at once can be lost; a key between them keeps each.
inline void QueueClickSeparator() {
    QueueKey(kKeyCodeTab, kTabCharCode);
}
inline void QueueTabs(int n) {
    for (int i = 0; i < n; ++i)
        QueueKey(kKeyCodeTab, kTabCharCode);
}

// Answers every alert with the next of the given items (then item 1); keeps the ids asked.
class AlertAnswers {
  public:
    explicit AlertAnswers(std::vector<SInt16> items) : items_(std::move(items)) {
        SetAlertResponder([this](const AlertRecord& a) {
            asked.push_back(a.alertId);
            params.push_back(a.params[0]);
            return next_ < items_.size() ? items_[next_++] : SInt16(1);
        });
    }
    ~AlertAnswers() { SetAlertResponder(nullptr); }
    AlertAnswers(const AlertAnswers&) = delete;
    AlertAnswers& operator=(const AlertAnswers&) = delete;
    std::vector<SInt16> asked;
    std::vector<std::string> params;

  private:
    std::vector<SInt16> items_;
    size_t next_ = 0;
};
