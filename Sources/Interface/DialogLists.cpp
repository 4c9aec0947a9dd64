// Dialog lists, list keyboard handling and list palette scroll bars.
#include "Interface/DialogLists.h"

#include "Platform/Controls.h"
#include "Interface/DialogItems.h"
#include "Platform/Events.h"
#include "Platform/Windows.h"

#include <cctype>
#include <string>

namespace {

constexpr UInt32 kTypeSelectPause = 60;

std::string gTyped;
UInt32 gLastTypedTicks = 0;
ListHandle gTypedList = nullptr;

void MakeList(DialogRef dialog, SInt16 item, ListHandle* list, UserItemProcPtr drawProc,
              ListDefProcPtr definition, UserItemProcPtr* procRecord) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    Rect view{r.top, r.left, r.bottom, static_cast<SInt16>(r.right - kScrollBarWidth)};
    ListBounds data{0, 0, 0, 1};
    SetPortWindowPort(GetDialogWindow(dialog));
    *list = nullptr;
    if (definition)
        CreateCustomList(&view, &data, Point{0, 0}, definition, GetDialogWindow(dialog), true, false, false,
                         true, list);
    else
        *list = LNew(&view, &data, Point{0, 0}, 0, GetDialogWindow(dialog), true, false, false, true);
    UserItemProcPtr proc = SetUserItemProc(dialog, item, drawProc);
    if (procRecord) *procRecord = proc;
}

std::string CellText(ListHandle list, Cell c) {
    char buffer[256];
    SInt16 length = sizeof buffer;
    LGetCell(buffer, &length, c, list);
    return std::string(buffer, static_cast<size_t>(length));
}

void SelectRow(ListHandle list, SInt16 row) {
    DeselectAllCells(list);
    LSetSelect(true, Cell{row, 0}, list);
    LAutoScroll(list);
}

} // namespace

void NewDialogList(DialogRef dialog, SInt16 item, ListHandle* list, UserItemProcPtr drawProc,
                   UserItemProcPtr* procRecord) {
    MakeList(dialog, item, list, drawProc, nullptr, procRecord);
}

void NewDialogListWithDef(DialogRef dialog, SInt16 item, ListHandle* list, UserItemProcPtr drawProc,
                          ListDefProcPtr definition, UserItemProcPtr* procRecord) {
    MakeList(dialog, item, list, drawProc, definition, procRecord);
}

void DeselectAllCells(ListHandle list) {
    Cell c{0, 0};
    while (LGetSelect(true, &c, list))
        LSetSelect(false, c, list);
}

void SetListSingleSelection(ListHandle list) {
    SetListSelectionFlags(list, lOnlyOne);
}

Boolean TakeSelectedCell(ListHandle list, Cell* cell) {
    Cell c{0, 0};
    if (!LGetSelect(true, &c, list)) return false;
    LSetSelect(false, c, list);
    *cell = c;
    return true;
}

void ListHandleKey(UInt32 keyMessage, ListHandle list) {
    if (!list) return;
    Rect data{};
    GetListDataBounds(list, &data);
    SInt16 rows = data.bottom;
    if (rows <= 0) return;
    unsigned char ch = static_cast<unsigned char>(keyMessage & charCodeMask);
    Cell current{0, 0};
    bool any = LGetSelect(true, &current, list);
    if (ch == kUpArrowCharCode || ch == kDownArrowCharCode) {
        SInt16 row = !any ? 0 : static_cast<SInt16>(current.v + (ch == kUpArrowCharCode ? -1 : 1));
        SelectRow(list, std::clamp<SInt16>(row, 0, static_cast<SInt16>(rows - 1)));
        return;
    }
    if (ch < 32) return;
    UInt32 now = TickCount();
    if (list != gTypedList || now - gLastTypedTicks > kTypeSelectPause) gTyped.clear();
    gTypedList = list;
    gLastTypedTicks = now;
    gTyped += static_cast<char>(std::tolower(ch));
    for (SInt16 row = 0; row < rows; ++row) {
        std::string text = CellText(list, Cell{row, 0});
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (text.compare(0, gTyped.size(), gTyped) == 0) {
            SelectRow(list, row);
            return;
        }
    }
}

Rect ListScrollBarRect(const Rect& portRect) {
    return Rect{static_cast<SInt16>(portRect.top - 1), static_cast<SInt16>(portRect.right - 10),
                static_cast<SInt16>(portRect.bottom - 9), static_cast<SInt16>(portRect.right + 1)};
}

void PlaceListScrollBar(SInt16 width, SInt16 height, WindowRef window, ControlRef scrollBar) {
    if (!window) return;
    SizeWindow(window, width, height, true);
    Rect port{};
    GetWindowPortBounds(window, &port);
    if (scrollBar) {
        Rect bar = ListScrollBarRect(port);
        SetControlBounds(scrollBar, &bar);
    }
}
