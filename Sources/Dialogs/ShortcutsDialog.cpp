// The keyboard shortcuts dialog: one row per tool (named with its group) and per command, sorted by
// name; a function key pressed with any modifiers goes to the selected row, taking it from another
// row after asking.
#include "Dialogs/ShortcutsDialog.h"

#include "Files/Preferences.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Interface/DialogItems.h"
#include "Interface/DialogLists.h"
#include "Interface/ModalDialogs.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppResources.h"
#include "Platform/Events.h"
#include "Platform/Menus.h"
#include "Platform/PascalBytes.h"
#include "Platform/Windows.h"
#include "Platform/CursorResources.h"
#include "Platform/QuickDraw.h"
#include "Shell/KeyDispatch.h"
#include "Shell/MenuBar.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2, kListItem = 4;
constexpr SInt16 kPositionSlot = 14;
constexpr SInt16 kCommandNames = 300, kCommandRows = 6;
constexpr SInt16 kCommandMenu = 3000;
constexpr SInt16 kKeyTakenAlert = 131;
constexpr UInt8 kReturnCode = 36, kEnterCode = 76, kEscapeCode = 53, kDeleteCode = 51;

struct Shortcuts {
    std::vector<ShortcutRow> rows;
    ListHandle list = nullptr;
};
Shortcuts* gShortcuts = nullptr;

std::string Lower(ConstStr255Param name) {
    std::string s(reinterpret_cast<const char*>(name + 1), name[0]);
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The row's cell: the name, a tab, then Shift, Control, Option, Command as 0/1 and the key number.
void SetRowCell(SInt16 row) {
    const ShortcutRow& r = gShortcuts->rows[size_t(row)];
    std::string cell(reinterpret_cast<const char*>(r.name + 1), r.name[0]);
    cell += '\t';
    cell += char('0' + r.shift);
    cell += char('0' + r.control);
    cell += char('0' + r.option);
    cell += char('0' + r.command);
    cell += char(r.key);
    LSetCell(cell.data(), SInt16(cell.size()), Cell{row, 0}, gShortcuts->list);
}

void DrawCell(SInt16 message, Boolean selected, Rect* rect, Cell cell, SInt16, SInt16, ListHandle list) {
    if (message != lDrawMsg && message != lHiliteMsg) return;
    char data[256];
    SInt16 length = sizeof data;
    LGetCell(data, &length, cell, list);
    const std::string text(data, size_t(std::max<SInt16>(length, 0)));
    const size_t tab = text.find('\t');
    EraseRect(rect);
    Str255 name, keys;
    const std::string shown = text.substr(0, tab);
    CStrToPStr(name, sizeof name, shown.c_str());
    std::string k;
    if (tab != std::string::npos && text.size() >= tab + 6 && text[tab + 5] != 0) {
        const char* labels[] = {"Shift+", "Meta+", "Alt+", "Ctrl+"};
        for (int i = 0; i < 4; ++i)
            if (text[tab + 1 + i] == '1') k += labels[i];
        k += "F" + std::to_string(int(UInt8(text[tab + 5])));
    }
    CStrToPStr(keys, sizeof keys, k.c_str());
    MoveTo(SInt16(rect->left + 4), SInt16(rect->bottom - 4));
    DrawString(name);
    MoveTo(SInt16(rect->right - 8 - StringWidth(keys)), SInt16(rect->bottom - 4));
    DrawString(keys);
    if (selected) InvertRect(rect);
}

void DrawListItem(DialogRef dialog, DialogItemIndex item) {
    if (gShortcuts == nullptr || gShortcuts->list == nullptr) return;
    LUpdate(nullptr, gShortcuts->list);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    InsetRect(&r, -1, -1);
    FrameRect(&r);
}

void AddRow(SInt16 menu, SInt16 item, ConstStr255Param name) {
    ShortcutRow row{};
    row.menu = menu;
    row.item = item;
    AssignStr63(row.name, name);
    // The lowest slot that holds the command gives its key.
    for (int slot = 0; slot < kFunctionKeySlots - 1; ++slot) {
        if (FunctionKeyTable[slot].menu != menu || FunctionKeyTable[slot].item != item) continue;
        const int m = slot / kFunctionKeyCount;
        row.key = UInt16(slot % kFunctionKeyCount + 1);
        row.command = m & 1, row.option = (m >> 1) & 1, row.control = (m >> 2) & 1, row.shift = (m >> 3) & 1;
        break;
    }
    auto& rows = gShortcuts->rows;
    const std::string key = Lower(row.name);
    auto at =
        std::find_if(rows.begin(), rows.end(), [&](const ShortcutRow& r) { return !(Lower(r.name) < key); });
    rows.insert(at, row);
}

void CollectRows() {
    for (SInt16 menuId = kFirstToolMenu; menuId <= kLastToolMenu; ++menuId) {
        MenuRef menu = MenuHandleOf(menuId);
        if (menu == nullptr) menu = GetMenuHandle(menuId);
        if (menu == nullptr) continue;
        // Tools of several groups share names ("Diameter"): each row says its group first.
        Str255 group;
        GetMenuTitle(menu, group);
        static const unsigned char kJoin[] = "\x02: ";
        AppendPStr(group, sizeof group, kJoin);
        for (SInt16 i = 1; i <= CountMenuItems(menu); ++i) {
            Str255 item, name;
            GetMenuItemText(menu, i, item);
            if (item[0] == 1 && item[1] == '-') continue;
            CopyPStr(name, sizeof name, group);
            AppendPStr(name, sizeof name, item);
            AddRow(menuId, i, name);
        }
    }
    for (SInt16 i = 1; i <= kCommandRows; ++i) {
        Str255 name;
        GetIndString(name, kCommandNames, i);
        AddRow(kCommandMenu, i, name);
    }
}

bool SameKey(const ShortcutRow& a, const ShortcutRow& b) {
    return a.key == b.key && a.shift == b.shift && a.control == b.control && a.option == b.option &&
           a.command == b.command;
}

void ClearKey(ShortcutRow& r) {
    r.key = r.shift = r.control = r.option = r.command = 0;
}

void AssignKey(SInt16 selected, UInt16 key, UInt16 modifiers) {
    auto& rows = gShortcuts->rows;
    ShortcutRow wanted = rows[size_t(selected)];
    wanted.key = key;
    wanted.shift = (modifiers & shiftKey) ? 1 : 0;
    wanted.control = (modifiers & controlKey) ? 1 : 0;
    wanted.option = (modifiers & optionKey) ? 1 : 0;
    wanted.command = (modifiers & cmdKey) ? 1 : 0;
    if (SameKey(rows[size_t(selected)], wanted)) return;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (SInt16(i) == selected || !SameKey(rows[i], wanted)) continue;
        const Str255 none = {0};
        ParamText(rows[i].name, none, none, none);
        if (ShowAlert(kKeyTakenAlert) != 1) return;
        ClearKey(rows[i]);
        SetRowCell(SInt16(i));
        break;
    }
    rows[size_t(selected)] = wanted;
    SetRowCell(selected);
}

Boolean ShortcutsFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    if (event->what == mouseDown) {
        Point local = event->where;
        SetPortToDialog(dialog);
        GlobalToLocal(&local);
        Rect view{};
        GetListViewBounds(gShortcuts->list, &view);
        if (!PtInDItem(dialog, local, kListItem)) return false;
        LClick(local, event->modifiers, gShortcuts->list);
        *itemHit = kListItem;
        return true;
    }
    if (event->what != keyDown && event->what != autoKey) return false;
    const UInt8 code = UInt8((event->message & keyCodeMask) >> 8);
    if (code == kReturnCode || code == kEnterCode || code == kEscapeCode) {
        *itemHit = code == kEscapeCode ? kCancel : kOK;
        FlashItem(dialog, *itemHit);
        return true;
    }
    Cell c{0, 0};
    const bool hasRow = LGetSelect(true, &c, gShortcuts->list);
    if (code == kDeleteCode) {
        if (hasRow) {
            ClearKey(gShortcuts->rows[size_t(c.v)]);
            SetRowCell(c.v);
        }
        *itemHit = kListItem;
        return true;
    }
    if (const SInt16 key = FunctionKeyNumber(code); key != 0) {
        if (hasRow) AssignKey(c.v, UInt16(key), event->modifiers);
        *itemHit = kListItem;
        return true;
    }
    ListHandleKey(event->message, gShortcuts->list);
    *itemHit = kListItem;
    return true;
}

} // namespace

void ShortcutsDialog() {
    DialogRef dialog = OpenModalDialog(kShortcutsDialog, DialogPositionTable[kPositionSlot]);
    if (dialog == nullptr) return;
    Shortcuts state;
    gShortcuts = &state;
    SetCursorById(kWatchCursorId);
    CollectRows();
    NewDialogListWithDef(dialog, kListItem, &state.list, DrawListItem, DrawCell, nullptr);
    if (state.list != nullptr) {
        SetListSingleSelection(state.list);
        LSetDrawingMode(false, state.list);
        LAddRow(SInt16(state.rows.size()), 0, state.list);
        for (size_t i = 0; i < state.rows.size(); ++i)
            SetRowCell(SInt16(i));
        LSetDrawingMode(true, state.list);
    }
    InitCursor();
    SInt16 item = 0;
    do
        RunModalDialog(dialog, &item, state.list != nullptr ? ShortcutsFilter : nullptr);
    while (item != kOK && item != kCancel);
    if (item == kOK) {
        // Only the commands the dialog lists are taken out of the table: other entries keep their keys.
        for (FunctionKeySlot& slot : FunctionKeyTable)
            if ((slot.menu >= kFirstToolMenu && slot.menu <= kLastToolMenu) || slot.menu == kCommandMenu)
                slot = FunctionKeySlot{0, 0};
        for (const ShortcutRow& r : state.rows) {
            if (r.key == 0) continue;
            const UInt16 modifiers = UInt16((r.shift ? shiftKey : 0) | (r.control ? controlKey : 0) |
                                            (r.option ? optionKey : 0) | (r.command ? cmdKey : 0));
            FunctionKeyTable[FunctionKeySlotIndex(modifiers, SInt16(r.key))] =
                FunctionKeySlot{r.menu, r.item};
        }
        SavePreferences();
    }
    if (state.list != nullptr) LDispose(state.list);
    gShortcuts = nullptr;
    CloseModalDialog(dialog, &DialogPositionTable[kPositionSlot]);
}
