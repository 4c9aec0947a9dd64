// The dialog manager: dialogs from their resources with a control for every item, DialogSelect and
// ModalDialog over the event queue, parameter texts, and alerts (real ones, or answered without a
// window).
#include "Platform/DialogManager.h"

#include "Platform/AppResources.h"
#include "Platform/ControlsInternal.h"
#include "Platform/Events.h"
#include "Platform/MacRoman.h"
#include "Platform/PascalBytes.h"
#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/SimulatedInput.h"

#include <QApplication>
#include <QGuiApplication>
#include <QAbstractButton>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

struct DialogItem {
    SInt16 type = 0;
    Rect rect{};
    ControlRef control = nullptr;
    UserItemProcPtr proc = nullptr;
    bool hidden = false;
};

} // namespace

struct OpaqueDialogPtr {
    SInt16 id = 0;
    WindowRef window = nullptr;
    std::vector<DialogItem> items;
    SInt16 defaultItem = 0;
    SInt16 cancelItem = 0;
    SInt16 focusItem = 0;
    SInt32 refCon = 0;
};

namespace {

Str255 gParams[4];
std::vector<AlertRecord> gRecordedAlerts;
AlertResponder gResponder;
std::map<WindowRef, DialogRef> gDialogs;
OtherWindowUpdateHandler gOtherUpdate = nullptr;

constexpr Handle kNoHandle = nullptr;

bool HaveGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

DialogItem* ItemOf(DialogRef d, SInt16 item) {
    if (!d || item < 1 || item > static_cast<SInt16>(d->items.size())) return nullptr;
    return &d->items[item - 1];
}

// Item handles stand for (dialog, item) in Get/SetDialogItemText.
struct ItemHandleRecord {
    DialogRef dialog;
    SInt16 item;
};
std::map<std::pair<DialogRef, SInt16>, ItemHandleRecord*> gItemHandles;

Handle HandleFor(DialogRef d, SInt16 item) {
    auto& slot = gItemHandles[{d, item}];
    if (!slot) slot = new ItemHandleRecord{d, item};
    return reinterpret_cast<Handle>(slot);
}

void ForgetHandles(DialogRef d) {
    for (auto it = gItemHandles.begin(); it != gItemHandles.end();) {
        if (it->first.first == d) {
            delete it->second;
            it = gItemHandles.erase(it);
        } else {
            ++it;
        }
    }
}

ItemHandleRecord* RecordOf(Handle h) {
    for (auto& entry : gItemHandles)
        if (reinterpret_cast<Handle>(entry.second) == h) return entry.second;
    return nullptr;
}

SInt16 ProcIdFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::button:
        return pushButProc;
    case ControlKind::checkBox:
        return checkBoxProc;
    case ControlKind::radioButton:
        return radioButProc;
    case ControlKind::popup:
        return popupMenuProc;
    case ControlKind::scrollBar:
        return scrollBarProc;
    case ControlKind::progressBar:
        return kControlProgressBarProc;
    case ControlKind::separator:
        return kControlSeparatorLineProc;
    }
    return pushButProc;
}

void AddItem(DialogRef d, const DialogItemDesc& desc, SInt16 dh, SInt16 dv) {
    DialogItem item;
    item.type = desc.type;
    item.rect = Rect{static_cast<SInt16>(desc.rect.top + dv), static_cast<SInt16>(desc.rect.left + dh),
                     static_cast<SInt16>(desc.rect.bottom + dv), static_cast<SInt16>(desc.rect.right + dh)};
    const Rect* r = &item.rect;
    switch (desc.type & 127) {
    case kButtonItem:
        item.control = NewItemControl(d->window, r, pushButProc, desc.text, 0, 0, 1, 0, 0, d);
        break;
    case kCheckBoxItem:
        item.control = NewItemControl(d->window, r, checkBoxProc, desc.text, 0, 0, 2, 0, 0, d);
        break;
    case kRadioButtonItem:
        item.control = NewItemControl(d->window, r, radioButProc, desc.text, 0, 0, 1, 0, 0, d);
        break;
    case kResourceControlItem: {
        ControlDesc c = desc.control;
        if (desc.resId != 0)
            if (const ControlDesc* res = FindControlResource(desc.resId)) c = *res;
        item.control = NewItemControl(d->window, r, ProcIdFor(c.kind), c.title, c.value, c.minimum, c.maximum,
                                      c.menuId, c.titleWidth, d);
        break;
    }
    case kStaticTextItem:
        item.control = NewItemControl(d->window, r, kControlStaticTextProc, desc.text, 0, 0, 0, 0, 0, d);
        break;
    case kEditTextItem:
        item.control = NewItemControl(d->window, r, kControlEditTextProc, desc.text, 0, 0, 0, 0, 0, d);
        break;
    case kIconItem:
    case kPictureItem:
        item.control = NewItemControl(d->window, r, kControlImageProc, "", 0, 0, 0, 0, 0, d);
        SetControlImage(item.control, (desc.type & 127) == kPictureItem, desc.resId);
        break;
    default:
        item.control = NewItemControl(d->window, r, kControlUserPaneProc, "", 0, 0, 0, 0, 0, d);
        break;
    }
    d->items.push_back(item);
}

SInt16 FirstEditText(DialogRef d, SInt16 after) {
    SInt16 count = static_cast<SInt16>(d->items.size());
    for (SInt16 k = 1; k <= count; ++k) {
        SInt16 i = static_cast<SInt16>((after + k - 1) % count + 1);
        const DialogItem& item = d->items[i - 1];
        if ((item.type & 127) == kEditTextItem && !item.hidden) return i;
    }
    return 0;
}

void SetFocusItem(DialogRef d, SInt16 item) {
    if (d->focusItem == item) return;
    if (DialogItem* old = ItemOf(d, d->focusItem)) FocusEditText(old->control, false);
    d->focusItem = item;
    if (DialogItem* now = ItemOf(d, item)) FocusEditText(now->control, true);
}

// The dialog's window is the frontmost of the front window's kind: events without a window (keys,
// null events) belong to it.
DialogRef FrontDialog() {
    WindowRef front = FrontWindow();
    auto it = gDialogs.find(front);
    return it == gDialogs.end() ? nullptr : it->second;
}

Point LocalPoint(DialogRef d, Point global) {
    return Point{static_cast<SInt16>(global.v - d->window->bounds.top),
                 static_cast<SInt16>(global.h - d->window->bounds.left)};
}

WindowRef NewDialogWindow(const Rect& bounds, const std::string& title, SInt16 kind) {
    WindowClass windowClass = kind == kMovableModalKind ? kMovableModalWindowClass
                              : kind == kDocumentWindowKind || kind == kNoGrowDocumentKind
                                  ? kDocumentWindowClass
                                  : kModalWindowClass;
    WindowRef window = nullptr;
    if (CreateNewWindow(windowClass, kWindowNoAttributes, &bounds, &window) != noErr) return nullptr;
    Str255 t;
    BytesToPStr(title, t);
    SetWTitle(window, t);
    return window;
}

bool InRect(const Rect& r, Point p) {
    return p.v >= r.top && p.v < r.bottom && p.h >= r.left && p.h < r.right;
}

void RecordAlert(SInt16 alertId, SInt16 icon) {
    AlertRecord record;
    record.alertId = alertId;
    record.icon = icon;
    for (int i = 0; i < 4; ++i)
        record.params[i] = PStrBytes(gParams[i]);
    gRecordedAlerts.push_back(record);
}

void ForgetDialog(DialogRef d) {
    ForgetHandles(d);
    gDialogs.erase(d->window);
    delete d;
}

// A dialog whose window is disposed some other way goes with it.
void WindowChanged(WindowRef window, WindowChange change) {
    if (change != WindowChange::disposing) return;
    auto it = gDialogs.find(window);
    if (it != gDialogs.end()) ForgetDialog(it->second);
}

DialogRef NewDialogFrom(SInt16 id, const Rect& bounds, const std::string& title, SInt16 kind,
                        SInt16 itemListId) {
    const ItemListDesc* list = FindItemListResource(itemListId);
    if (!list) {
        ReportMissingResource(FOUR_CHAR("DITL"), itemListId);
        return nullptr;
    }
    if (!HaveGui()) return nullptr;
    static bool observing = false;
    if (!observing) {
        PlatformAddWindowObserver(WindowChanged);
        observing = true;
    }
    WindowRef window = NewDialogWindow(bounds, title, kind);
    if (!window) return nullptr;
    auto* d = new OpaqueDialogPtr;
    d->id = id;
    d->window = window;
    gDialogs[window] = d;
    for (const DialogItemDesc& desc : list->items)
        AddItem(d, desc, 0, 0);
    SetFocusItem(d, FirstEditText(d, 0));
    if (d->focusItem) SelectDialogItemText(d, d->focusItem, 0, 32767);
    DrawDialog(d);
    return d;
}

SInt16 RunAlertWindow(SInt16 alertId, ModalFilterProcPtr filter) {
    const AlertDesc* desc = FindAlertResource(alertId);
    if (!desc) return kAlertMissing;
    // Alerts stand centred on the main screen, a little above the middle.
    Rect bounds = desc->bounds;
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    SInt16 width = static_cast<SInt16>(bounds.right - bounds.left),
           height = static_cast<SInt16>(bounds.bottom - bounds.top);
    SInt16 left = static_cast<SInt16>(screen.x() + (screen.width() - width) / 2);
    SInt16 top = static_cast<SInt16>(screen.y() + (screen.height() - height) / 3);
    bounds = Rect{top, left, static_cast<SInt16>(top + height), static_cast<SInt16>(left + width)};
    DialogRef d = NewDialogFrom(alertId, bounds, desc->title.empty() ? "Draftwerk" : desc->title,
                                kMovableModalKind, desc->itemListId);
    if (!d) return -1;
    SetDialogDefaultItem(d, 1);
    ShowWindow(d->window);
    SelectWindow(d->window);
    SInt16 item = 0;
    ModalDialog(filter, &item);
    DisposeDialog(d);
    return item;
}

// On the test platform an alert with no input waiting for it could never be answered: it takes its
// default item, as without a window system.
bool NobodyCanAnswer() {
    if (!PlatformIsOffscreen() || SimulatedStepsPending() > 0) return false;
    EventRecord e{};
    return !EventAvail(mDownMask | keyDownMask | autoKeyMask, &e);
}

SInt16 RunAlert(SInt16 alertId, SInt16 icon, ModalFilterProcPtr filter) {
    // Checked before anything answers for the user: an alert without its resource could never be
    // shown on the desktop, so it must not seem to work in the tests either.
    if (!FindAlertResource(alertId)) {
        ReportMissingResource(FOUR_CHAR("ALRT"), alertId);
        return kAlertMissing;
    }
    RecordAlert(alertId, icon);
    if (gResponder) return gResponder(gRecordedAlerts.back());
    if (!HaveGui() || NobodyCanAnswer()) return 1;
    return RunAlertWindow(alertId, filter);
}

} // namespace

// --- Dialogs ----------------------------------------------------------------------------------------

DialogRef GetNewDialog(SInt16 id, void*, WindowRef) {
    const DialogDesc* desc = FindDialogResource(id);
    if (!desc) {
        ReportMissingResource(FOUR_CHAR("DLOG"), id);
        return nullptr;
    }
    DialogRef d = NewDialogFrom(id, desc->bounds, desc->title, desc->windowKind, desc->itemListId);
    if (d && desc->visible) {
        ShowWindow(d->window);
        SelectWindow(d->window);
    }
    return d;
}

void DisposeDialog(DialogRef d) {
    if (!d) return;
    WindowRef window = d->window;
    ForgetDialog(d);
    DisposeWindow(window);
}

WindowRef GetDialogWindow(DialogRef d) {
    return d ? d->window : nullptr;
}

DialogRef GetDialogFromWindow(WindowRef window) {
    auto it = gDialogs.find(window);
    return it == gDialogs.end() ? nullptr : it->second;
}

Boolean IsDialogWindow(WindowRef window) {
    return GetDialogFromWindow(window) != nullptr;
}

void DrawDialog(DialogRef d) {
    if (!d) return;
    GrafPtr old = nullptr;
    GetPort(&old);
    SetPortWindowPort(d->window);
    Rect bounds{};
    GetWindowPortBounds(d->window, &bounds);
    QColor background = QApplication::palette().color(QPalette::Window);
    RGBColor rgb{static_cast<UInt16>(background.red() * 257), static_cast<UInt16>(background.green() * 257),
                 static_cast<UInt16>(background.blue() * 257)};
    RGBBackColor(&rgb);
    EraseRect(&bounds);
    for (size_t i = 0; i < d->items.size(); ++i) {
        DialogItem& item = d->items[i];
        if (item.control) SyncControlWidget(item.control);
        if ((item.type & 127) == kUserItem && item.proc && !item.hidden)
            item.proc(d, static_cast<DialogItemIndex>(i + 1));
    }
    SetPort(old);
}

void UpdateDialog(DialogRef d) {
    DrawDialog(d);
}

SInt16 CountDITL(DialogRef d) {
    return d ? static_cast<SInt16>(d->items.size()) : 0;
}

void AppendDITL(DialogRef d, SInt16 ditlId, SInt16 method) {
    const ItemListDesc* list = FindItemListResource(ditlId);
    if (!d || !list) return;
    SInt16 dh = 0, dv = 0;
    Rect extent{0, 0, 0, 0};
    for (const DialogItem& item : d->items) {
        extent.bottom = std::max(extent.bottom, item.rect.bottom);
        extent.right = std::max(extent.right, item.rect.right);
    }
    if (method == appendDITLBottom)
        dv = extent.bottom;
    else if (method == appendDITLRight)
        dh = extent.right;
    else if (method < 0)
        if (DialogItem* anchor = ItemOf(d, static_cast<SInt16>(-method))) {
            dh = anchor->rect.left;
            dv = anchor->rect.top;
        }
    for (const DialogItemDesc& desc : list->items)
        AddItem(d, desc, dh, dv);
    if (method == appendDITLBottom || method == appendDITLRight) {
        Rect bounds{};
        GetWindowPortBounds(d->window, &bounds);
        SInt16 needRight = bounds.right, needBottom = bounds.bottom;
        for (const DialogItem& item : d->items) {
            needRight = std::max<SInt16>(needRight, static_cast<SInt16>(item.rect.right + 8));
            needBottom = std::max<SInt16>(needBottom, static_cast<SInt16>(item.rect.bottom + 8));
        }
        SizeWindow(d->window, needRight, needBottom, true);
    }
    if (!d->focusItem) SetFocusItem(d, FirstEditText(d, 0));
}

void ShortenDITL(DialogRef d, SInt16 count) {
    if (!d || count <= 0) return;
    while (count-- > 0 && !d->items.empty()) {
        SInt16 last = static_cast<SInt16>(d->items.size());
        if (d->focusItem == last) SetFocusItem(d, 0);
        DisposeControl(d->items.back().control);
        auto handle = gItemHandles.find({d, last});
        if (handle != gItemHandles.end()) {
            delete handle->second;
            gItemHandles.erase(handle);
        }
        d->items.pop_back();
    }
    if (d->defaultItem > CountDITL(d)) d->defaultItem = 0;
    if (d->cancelItem > CountDITL(d)) d->cancelItem = 0;
}

void GetDialogItem(DialogRef d, SInt16 item, SInt16* type, Handle* handle, Rect* box) {
    DialogItem* i = ItemOf(d, item);
    if (type) *type = i ? i->type : 0;
    if (handle)
        *handle = !i                             ? kNoHandle
                  : (i->type & 127) == kUserItem ? reinterpret_cast<Handle>(i->proc)
                                                 : HandleFor(d, item);
    if (box) *box = i ? i->rect : Rect{};
}

void SetDialogItem(DialogRef d, SInt16 item, SInt16 type, Handle handle, const Rect* box) {
    DialogItem* i = ItemOf(d, item);
    if (!i) return;
    i->type = static_cast<SInt16>((i->type & ~kItemDisable) | (type & kItemDisable));
    if ((i->type & 127) == kUserItem && (type & 127) == kUserItem)
        i->proc = reinterpret_cast<UserItemProcPtr>(handle);
    if (box) {
        i->rect = *box;
        SetControlBounds(i->control, box);
    }
}

OSErr GetDialogItemAsControl(DialogRef d, SInt16 item, ControlRef* control) {
    DialogItem* i = ItemOf(d, item);
    *control = i ? i->control : nullptr;
    return *control ? OSErr(noErr) : errControlDoesntSupportFocus;
}

void SetDialogItemProc(DialogRef d, SInt16 item, UserItemProcPtr proc) {
    if (DialogItem* i = ItemOf(d, item)) i->proc = proc;
}

void GetDialogItemTextByNumber(DialogRef d, SInt16 item, Str255 text) {
    text[0] = 0;
    DialogItem* i = ItemOf(d, item);
    if (!i || !i->control) return;
    Size size = 0;
    unsigned char buffer[256];
    if (GetControlData(i->control, 0, kControlStaticTextTextTag, 255, buffer, &size) != noErr) return;
    text[0] = static_cast<unsigned char>(std::min<Size>(size, 255));
    std::memcpy(text + 1, buffer, text[0]);
}

void SetDialogItemTextByNumber(DialogRef d, SInt16 item, ConstStr255Param text) {
    DialogItem* i = ItemOf(d, item);
    if (!i || !i->control || !text) return;
    SetControlData(i->control, 0, kControlStaticTextTextTag, text[0], text + 1);
}

void GetDialogItemText(Handle itemHandle, Str255 text) {
    text[0] = 0;
    if (ItemHandleRecord* r = RecordOf(itemHandle)) GetDialogItemTextByNumber(r->dialog, r->item, text);
}

void SetDialogItemText(Handle itemHandle, ConstStr255Param text) {
    if (ItemHandleRecord* r = RecordOf(itemHandle)) SetDialogItemTextByNumber(r->dialog, r->item, text);
}

std::string GetDialogItemUTF8Text(DialogRef d, SInt16 item) {
    DialogItem* i = ItemOf(d, item);
    if (!i || !i->control) return {};
    Size size = 0;
    if (GetControlDataSize(i->control, 0, kControlUTF8TextTag, &size) != noErr) return {};
    std::string s(static_cast<size_t>(size), '\0');
    GetControlData(i->control, 0, kControlUTF8TextTag, size, s.data(), &size);
    return s;
}

void SetDialogItemUTF8Text(DialogRef d, SInt16 item, const std::string& text) {
    DialogItem* i = ItemOf(d, item);
    if (i && i->control)
        SetControlData(i->control, 0, kControlUTF8TextTag, static_cast<Size>(text.size()), text.data());
}

void SelectDialogItemText(DialogRef d, SInt16 item, SInt16 start, SInt16 end) {
    DialogItem* i = ItemOf(d, item);
    if (!i || (i->type & 127) != kEditTextItem) return;
    // The widget takes the focus back even when the item kept it (a text object may have had it).
    if (d->focusItem == item) FocusEditText(i->control, true);
    SetFocusItem(d, item);
    SetEditTextSelection(i->control, start, end);
}

SInt16 GetDialogKeyboardFocusItem(DialogRef d) {
    return d ? d->focusItem : 0;
}

void ShowDialogItem(DialogRef d, SInt16 item) {
    if (DialogItem* i = ItemOf(d, item)) {
        i->hidden = false;
        ShowControl(i->control);
    }
}

void HideDialogItem(DialogRef d, SInt16 item) {
    if (DialogItem* i = ItemOf(d, item)) {
        i->hidden = true;
        HideControl(i->control);
        if (d->focusItem == item) SetFocusItem(d, FirstEditText(d, item));
    }
}

SInt16 FindDialogItem(DialogRef d, Point p) {
    if (!d) return -1;
    for (size_t i = 0; i < d->items.size(); ++i)
        if (!d->items[i].hidden && InRect(d->items[i].rect, p)) return static_cast<SInt16>(i);
    return -1;
}

OSErr SetDialogDefaultItem(DialogRef d, SInt16 item) {
    if (!d) return paramErr;
    if (DialogItem* old = ItemOf(d, d->defaultItem)) SetControlDefaultButton(old->control, false);
    d->defaultItem = item;
    if (DialogItem* now = ItemOf(d, item))
        if ((now->type & 127) == kButtonItem) SetControlDefaultButton(now->control, true);
    return noErr;
}

OSErr SetDialogCancelItem(DialogRef d, SInt16 item) {
    if (!d) return paramErr;
    d->cancelItem = item;
    return noErr;
}

SInt16 GetDialogDefaultItem(DialogRef d) {
    return d ? d->defaultItem : 0;
}
SInt16 GetDialogCancelItem(DialogRef d) {
    return d ? d->cancelItem : 0;
}

void SetDialogReference(DialogRef d, SInt32 refCon) {
    if (d) d->refCon = refCon;
}

SInt32 GetDialogReference(DialogRef d) {
    return d ? d->refCon : 0;
}

// --- Parameter texts --------------------------------------------------------------------------------

void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3) {
    ConstStr255Param in[4] = {p0, p1, p2, p3};
    for (int i = 0; i < 4; ++i) {
        if (in[i])
            std::memcpy(gParams[i], in[i], in[i][0] + 1u);
        else
            gParams[i][0] = 0;
    }
}

void GetParamText(SInt16 index, Str255 text) {
    text[0] = 0;
    if (index >= 0 && index < 4) std::memcpy(text, gParams[index], gParams[index][0] + 1u);
}

std::string DisplayedStaticText(ControlRef control) {
    Str255 raw;
    Size size = 0;
    GetControlData(control, 0, kControlStaticTextTextTag, 255, raw + 1, &size);
    std::string text(reinterpret_cast<const char*>(raw + 1), static_cast<size_t>(std::min<Size>(size, 255)));
    if (!GetControlDialog(control)) return MacRomanToUTF8(text);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
            out += PStrBytes(gParams[text[i + 1] - '0']);
            ++i;
        } else {
            out += text[i];
        }
    }
    return MacRomanToUTF8(out);
}

// --- Events -----------------------------------------------------------------------------------------

Boolean IsDialogEvent(const EventRecord* event) {
    switch (event->what) {
    case mouseDown:
    case mouseUp: {
        WindowRef window = nullptr;
        FindWindow(event->where, &window);
        return IsDialogWindow(window);
    }
    case updateEvt:
    case activateEvt:
        return IsDialogWindow(reinterpret_cast<WindowRef>(event->message));
    case keyDown:
    case autoKey:
    case nullEvent:
        return FrontDialog() != nullptr;
    default:
        return false;
    }
}

Boolean DialogSelect(const EventRecord* event, DialogRef* dialogOut, SInt16* itemHit) {
    *itemHit = 0;
    DialogRef d = nullptr;
    switch (event->what) {
    case mouseDown: {
        WindowRef window = nullptr;
        FindWindow(event->where, &window);
        d = GetDialogFromWindow(window);
        if (dialogOut) *dialogOut = d;
        if (!d) return false;
        Point p = LocalPoint(d, event->where);
        SInt16 index = FindDialogItem(d, p);
        if (index < 0) return false;
        SInt16 item = static_cast<SInt16>(index + 1);
        DialogItem& it = d->items[index];
        SInt16 kind = it.type & 127;
        bool enabled = !(it.type & kItemDisable);
        if (kind == kEditTextItem) {
            SetFocusItem(d, item);
            ClickEditText(it.control, p);
        } else if (kind == kButtonItem || kind == kCheckBoxItem || kind == kRadioButtonItem ||
                   kind == kResourceControlItem) {
            if (TrackControl(it.control, p, reinterpret_cast<ControlActionProcPtr>(-1)) == kControlNoPart)
                return false;
        }
        if (!enabled) return false;
        *itemHit = item;
        return true;
    }
    case keyDown:
    case autoKey: {
        d = FrontDialog();
        if (dialogOut) *dialogOut = d;
        if (!d || !d->focusItem) return false;
        if ((event->message & charCodeMask) == '\t') {
            SInt16 next = FirstEditText(d, d->focusItem);
            if (next) SelectDialogItemText(d, next, 0, 32767);
            return false;
        }
        DialogItem* it = ItemOf(d, d->focusItem);
        KeyToEditText(it->control, event);
        if (it->type & kItemDisable) return false;
        *itemHit = d->focusItem;
        return true;
    }
    case updateEvt: {
        WindowRef window = reinterpret_cast<WindowRef>(event->message);
        d = GetDialogFromWindow(window);
        if (dialogOut) *dialogOut = d;
        if (!d) return false;
        BeginUpdate(window);
        DrawDialog(d);
        EndUpdate(window);
        return false;
    }
    default:
        if (dialogOut) *dialogOut = FrontDialog();
        return false;
    }
}

void ModalDialog(ModalFilterProcPtr filter, SInt16* itemHit) {
    DialogRef d = FrontDialog();
    *itemHit = 0;
    if (!d) return;
    for (;;) {
        EventRecord event{};
        // Apple events wait in the queue for the main loop: a modal dialog must not swallow them.
        WaitNextEvent(EventMask(everyEvent & ~highLevelEventMask), &event, 6, nullptr);
        SInt16 item = 0;
        if (filter && filter(d, &event, &item)) {
            *itemHit = item;
            return;
        }
        if (!filter && (event.what == keyDown || event.what == autoKey)) {
            unsigned char ch = static_cast<unsigned char>(event.message & charCodeMask);
            SInt16 chosen = 0;
            if (ch == 13 || ch == 3)
                chosen = d->defaultItem;
            else if (ch == 27 || (ch == '.' && (event.modifiers & cmdKey)))
                chosen = d->cancelItem;
            if (chosen > 0) {
                *itemHit = chosen;
                return;
            }
        }
        if (event.what == mouseDown) {
            WindowRef window = nullptr;
            SInt16 part = FindWindow(event.where, &window);
            if (window != d->window && part == inContent) {
                SysBeep(1);
                continue;
            }
        }
        if (event.what == updateEvt && !IsDialogWindow(reinterpret_cast<WindowRef>(event.message))) {
            HandleOtherWindowUpdate(reinterpret_cast<WindowRef>(event.message));
            continue;
        }
        DialogRef hit = nullptr;
        if (IsDialogEvent(&event) && DialogSelect(&event, &hit, &item) && hit == d && item > 0) {
            *itemHit = item;
            return;
        }
    }
}

void SetDialogItemClickKey(DialogRef d, SInt16 item, UInt8 charCode, UInt8 keyCode, UInt16 modifiers) {
    DialogItem* i = ItemOf(d, item);
    auto* button = i ? qobject_cast<QAbstractButton*>(GetControlWidget(i->control)) : nullptr;
    if (!button) return;
    PlatformSetNativeInput(button, true);
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QAbstractButton::clicked, button, [charCode, keyCode, modifiers] {
        EventRecord e{};
        e.what = keyDown;
        e.message = (static_cast<unsigned long>(keyCode) << 8) | charCode;
        e.modifiers = modifiers;
        PostEventRecord(e);
    });
}

Boolean SaveWindowWithWidgetsPNG(WindowRef window, const char* path) {
    QWidget* content = PlatformWindowContentWidget(window);
    if (!content || !path) return false;
    return content->grab().save(QString::fromUtf8(path), "PNG");
}

void SetOtherWindowUpdateHandler(OtherWindowUpdateHandler handler) {
    gOtherUpdate = handler;
}

void HandleOtherWindowUpdate(WindowRef window) {
    if (gOtherUpdate) {
        gOtherUpdate(window);
        return;
    }
    BeginUpdate(window);
    EndUpdate(window);
}

// --- Alerts -----------------------------------------------------------------------------------------

SInt16 Alert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 0, filter);
}
SInt16 StopAlert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 1, filter);
}
SInt16 NoteAlert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 2, filter);
}
SInt16 CautionAlert(SInt16 alertId, ModalFilterProcPtr filter) {
    return RunAlert(alertId, 3, filter);
}

// Alerts have no stages here: every alert is shown every time.
void ResetAlertStage() {}

void SetAlertResponder(AlertResponder responder) {
    gResponder = std::move(responder);
}
const std::vector<AlertRecord>& RecordedAlerts() {
    return gRecordedAlerts;
}
void ClearRecordedAlerts() {
    gRecordedAlerts.clear();
}
