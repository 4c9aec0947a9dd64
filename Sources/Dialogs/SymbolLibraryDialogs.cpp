#include "Dialogs/SymbolLibraryDialogs.h"

#include "Files/FileNames.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/SymbolLibrary.h"
#include "Interface/DialogItems.h"
#include "Interface/DialogLists.h"
#include "Interface/ModalDialogs.h"
#include "Model/DocumentHooks.h"
#include "Model/ElementRecords.h"
#include "Model/Symbols.h"
#include "Other/NumberFormat.h"
#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Platform/ListControls.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Tools/ToolState.h"
#include "View/SymbolDrawing.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2, kChooseListItem = 3;
constexpr SInt16 kChooseSymbolSlot = 54;

ListHandle gList = nullptr;
SInt16 gListItem = 0;

void DrawListFrame(DialogRef dialog, DialogItemIndex item) {
    if (gList == nullptr) return;
    LUpdate(nullptr, gList);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    InsetRect(&r, -1, -1);
    FrameRect(&r);
}

bool HasSelection(ListHandle list) {
    Cell c{0, 0};
    return list != nullptr && LGetSelect(true, &c, list);
}

// Double-click and Return or Enter choose, Escape and Command-period cancel, other keys type-select.
Boolean ChooseFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    if (event->what == mouseDown) {
        Point local = event->where;
        SetPortToDialog(dialog);
        GlobalToLocal(&local);
        if (!PtInDItem(dialog, local, gListItem)) return false;
        Boolean twice = LClick(local, event->modifiers, gList);
        *itemHit = twice && HasSelection(gList) ? kOK : gListItem;
        return true;
    }
    if (event->what != keyDown && event->what != autoKey) return false;
    if (IsReturnOrEnterKey(event)) {
        if (!HasSelection(gList)) return true;
        *itemHit = kOK;
        FlashItem(dialog, kOK);
        return true;
    }
    if (IsEscapeOrCmdPeriod(event)) {
        *itemHit = kCancel;
        FlashItem(dialog, kCancel);
        return true;
    }
    ListHandleKey(event->message, gList);
    *itemHit = gListItem;
    return true;
}

} // namespace

Boolean ChooseSymbolDialog(DocWindowRecord* doc, Str255 name) {
    name[0] = 0;
    if (doc == nullptr) return false;
    SortSymbolDefinitions(doc);
    std::vector<SymbolDefRecord*> defs;
    for (SymbolDefRecord* d = doc->symbolDefHead->next; d != nullptr; d = d->next)
        defs.push_back(d);
    if (defs.empty()) return false;
    DialogRef dialog = OpenModalDialog(kChooseSymbolDialog, DialogPositionTable[kChooseSymbolSlot]);
    if (dialog == nullptr) return false;
    ListHandle list = nullptr;
    NewDialogList(dialog, kChooseListItem, &list, DrawListFrame, nullptr);
    gList = list, gListItem = kChooseListItem;
    ToolStateRecord* t = ToolStateOf(doc);
    if (list != nullptr) {
        SetListSingleSelection(list);
        LSetDrawingMode(false, list);
        LAddRow(SInt16(defs.size()), 0, list);
        for (size_t i = 0; i < defs.size(); ++i)
            LSetCell(defs[i]->name + 1, defs[i]->name[0], Cell{SInt16(i), 0}, list);
        SInt16 row = t != nullptr ? t->chosenSymbolRow : 0;
        if (row >= 0 && row < SInt16(defs.size())) {
            LSetSelect(true, Cell{row, 0}, list);
            LAutoScroll(list);
        }
        LSetDrawingMode(true, list);
    }
    InitCursor();
    SInt16 item = 0;
    do {
        EnableItem(dialog, kOK, HasSelection(list));
        RunModalDialog(dialog, &item, list != nullptr ? ChooseFilter : nullptr);
    } while (item != kOK && item != kCancel);
    Cell c{0, 0};
    if (item == kOK && list != nullptr && LGetSelect(true, &c, list) && c.v < SInt16(defs.size())) {
        if (t != nullptr) t->chosenSymbolRow = c.v;
        std::memcpy(name, defs[size_t(c.v)]->name, size_t(defs[size_t(c.v)]->name[0]) + 1);
    }
    if (list != nullptr) LDispose(list);
    gList = nullptr;
    CloseModalDialog(dialog, &DialogPositionTable[kChooseSymbolSlot]);
    return name[0] != 0;
}

namespace {

constexpr SInt16 kDoneItem = 1, kDrawingListItem = 2, kLibraryListItem = 3, kCopyButton = 4,
                 kDeleteButton = 5, kRenameButton = 6, kNewButton = 7, kOpenButton = 11, kDocNameItem = 12,
                 kLibraryNameItem = 13, kCloseButton = 14, kProgressBar = 15, kProgressText = 16,
                 kPreviewItem = 17;
constexpr SInt16 kLibraryDialogSlot = 52;
constexpr SInt16 kRenameSlot = 46;
constexpr SInt16 kClashSlot = 42;
constexpr UInt8 kTabChar = 9;

struct LibraryDialogState {
    DocWindowRecord* doc = nullptr;
    DialogRef dialog = nullptr;
    ListHandle lists[2] = {nullptr, nullptr};
    SInt16 active = 0; // 0 the drawing's list, 1 the library's
    std::vector<SymbolDefRecord*> defs;
    Boolean changed = false;
    SymbolDefRecord* preview = nullptr;
    bool previewOwned = false;
};
LibraryDialogState* gLibrary = nullptr;

std::vector<SInt16> SelectedRows(ListHandle list) {
    std::vector<SInt16> rows;
    Cell c{0, 0};
    while (list != nullptr && LGetSelect(true, &c, list)) {
        rows.push_back(c.v);
        ++c.v;
    }
    return rows;
}

void FillDrawingList(LibraryDialogState& s) {
    ListHandle list = s.lists[0];
    s.defs.clear();
    SortSymbolDefinitions(s.doc);
    for (SymbolDefRecord* d = s.doc->symbolDefHead->next; d != nullptr; d = d->next)
        s.defs.push_back(d);
    if (list == nullptr) return;
    LSetDrawingMode(false, list);
    LDelRow(0, 0, list);
    LAddRow(SInt16(s.defs.size()), 0, list);
    for (size_t i = 0; i < s.defs.size(); ++i) {
        std::string row(reinterpret_cast<const char*>(s.defs[i]->name + 1), s.defs[i]->name[0]);
        row += " (" + std::to_string(CountSymbolInstances(s.doc, s.defs[i])) + ")";
        LSetCell(row.data(), SInt16(row.size()), Cell{SInt16(i), 0}, list);
    }
    LSetDrawingMode(true, list);
}

void FillLibraryList(LibraryDialogState& s) {
    ListHandle list = s.lists[1];
    if (list == nullptr) return;
    LSetDrawingMode(false, list);
    LDelRow(0, 0, list);
    LAddRow(SymbolLibraryList.count, 0, list);
    SInt16 i = 0;
    for (SymbolLibraryNode* n = SymbolLibraryList.head->next; n != nullptr; n = n->next, ++i)
        LSetCell(n->name + 1, n->name[0], Cell{i, 0}, list);
    LSetDrawingMode(true, list);
    Str255 name;
    if (SymbolLibraryIsOpen())
        LeafNameOf(&SymbolLibraryList.file, name);
    else
        GetAppString(kNoLibraryOpenItem, name);
    SetItemText(s.dialog, kLibraryNameItem, name);
}

void ReleasePreview(LibraryDialogState& s) {
    if (s.previewOwned && s.preview != nullptr) DisposeSymbolDefRecord(&s.preview);
    s.preview = nullptr;
    s.previewOwned = false;
}

void DrawListItem(DialogRef dialog, DialogItemIndex item) {
    if (gLibrary == nullptr) return;
    ListHandle list = gLibrary->lists[item == kDrawingListItem ? 0 : 1];
    if (list == nullptr) return;
    LUpdate(nullptr, list);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    InsetRect(&r, -1, -1);
    FrameRect(&r);
    // The active list has a focus frame.
    InsetRect(&r, -2, -2);
    PenSize(2, 2);
    if (gLibrary->active != (item == kDrawingListItem ? 0 : 1)) {
        RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
        RGBForeColor(&white);
    }
    FrameRect(&r);
    PenNormal();
    RGBColor black{0, 0, 0};
    RGBForeColor(&black);
}

void DrawPreviewItem(DialogRef dialog, DialogItemIndex item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    EraseRect(&r);
    FrameRect(&r);
    if (gLibrary != nullptr && gLibrary->preview != nullptr)
        DrawSymbolPreview(gLibrary->preview, SInt16((r.left + r.right - kSymbolPreviewSize) / 2),
                          SInt16(r.top + 4));
}

void ShowPreview(LibraryDialogState& s) {
    ReleasePreview(s);
    std::vector<SInt16> rows = SelectedRows(s.lists[s.active]);
    if (!rows.empty()) {
        if (s.active == 0 && rows[0] < SInt16(s.defs.size())) {
            s.preview = s.defs[size_t(rows[0])];
        } else if (s.active == 1 && ReadLibrarySymbol(s.doc, rows[0], &s.preview) == noErr) {
            s.previewOwned = true;
        }
    }
    Rect r{};
    GetDItemRect(s.dialog, kPreviewItem, &r);
    SetPortToDialog(s.dialog);
    DrawPreviewItem(s.dialog, kPreviewItem);
}

// Enabling before each event; the copy button's title and state after each.
void UpdateButtons(LibraryDialogState& s) {
    const bool open = SymbolLibraryIsOpen();
    EnableItem(s.dialog, kNewButton, !open);
    EnableItem(s.dialog, kOpenButton, !open);
    EnableItem(s.dialog, kCloseButton, open);
    const bool drawingRow = !SelectedRows(s.lists[0]).empty();
    const bool libraryRow = !SelectedRows(s.lists[1]).empty();
    Str255 title;
    if (s.active == 1 && libraryRow) {
        GetAppString(kCopyToDrawingItem, title);
        EnableItem(s.dialog, kCopyButton, true);
    } else if (s.active == 0 && drawingRow && open) {
        GetAppString(kCopyToLibraryItem, title);
        EnableItem(s.dialog, kCopyButton, true);
    } else {
        GetAppString(kCopyItem, title);
        EnableItem(s.dialog, kCopyButton, false);
    }
    SetControlTitleIfChanged(s.dialog, kCopyButton, title);
    const bool any = s.active == 0 ? drawingRow : libraryRow;
    EnableItem(s.dialog, kDeleteButton, any);
    EnableItem(s.dialog, kRenameButton, any);
}

void Activate(LibraryDialogState& s, SInt16 which) {
    if (s.active == which) return;
    s.active = which;
    SetPortToDialog(s.dialog);
    DrawListItem(s.dialog, kDrawingListItem);
    DrawListItem(s.dialog, kLibraryListItem);
}

Boolean LibraryFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    LibraryDialogState& s = *gLibrary;
    if (event->what == mouseDown) {
        Point local = event->where;
        SetPortToDialog(dialog);
        GlobalToLocal(&local);
        for (SInt16 which = 0; which < 2; ++which) {
            SInt16 item = which == 0 ? kDrawingListItem : kLibraryListItem;
            if (!PtInDItem(dialog, local, item) || s.lists[which] == nullptr) continue;
            if (s.active != which)
                Activate(s, which);
            else
                LClick(local, event->modifiers, s.lists[which]);
            *itemHit = item;
            return true;
        }
        return false;
    }
    if (event->what != keyDown && event->what != autoKey) return false;
    if (IsReturnOrEnterKey(event)) {
        *itemHit = kDoneItem;
        FlashItem(dialog, kDoneItem);
        return true;
    }
    if (UInt8(event->message & charCodeMask) == kTabChar) {
        Activate(s, SInt16(1 - s.active));
        *itemHit = s.active == 0 ? kDrawingListItem : kLibraryListItem;
        return true;
    }
    if (s.lists[s.active] != nullptr) ListHandleKey(event->message, s.lists[s.active]);
    *itemHit = s.active == 0 ? kDrawingListItem : kLibraryListItem;
    return true;
}

void ShowProgress(SInt16 percent) {
    if (gLibrary == nullptr) return;
    ControlRef bar = nullptr;
    if (GetDialogControl(gLibrary->dialog, kProgressBar, &bar) == noErr && bar != nullptr)
        SetControlValueOf(bar, percent);
}

void SetProgressShown(LibraryDialogState& s, bool shown) {
    if (shown) {
        Str255 text;
        GetAppString(kLibraryCopyingItem, text);
        SetItemText(s.dialog, kProgressText, text);
        ShowDialogItem(s.dialog, kProgressBar);
        ShowDialogItem(s.dialog, kProgressText);
        ShowProgress(0);
    } else {
        HideDialogItem(s.dialog, kProgressBar);
        HideDialogItem(s.dialog, kProgressText);
    }
}

void CopySelected(LibraryDialogState& s) {
    SetProgressShown(s, true);
    ShowWatchCursor();
    if (s.active == 0) {
        std::vector<SymbolDefRecord*> defs;
        for (SInt16 row : SelectedRows(s.lists[0]))
            if (row < SInt16(s.defs.size())) defs.push_back(s.defs[size_t(row)]);
        CopySymbolsToLibrary(defs.data(), SInt16(defs.size()), SymbolClashDialog, ShowProgress);
        FillLibraryList(s);
    } else {
        std::vector<SInt16> rows = SelectedRows(s.lists[1]);
        s.changed = true;
        CopySymbolsToDrawing(s.doc, rows.data(), SInt16(rows.size()), SymbolClashDialog, ShowProgress);
        FillDrawingList(s);
    }
    SetProgressShown(s, false);
    SetCursorById(kArrowCursorId);
}

void DeleteSelected(LibraryDialogState& s) {
    std::vector<SInt16> rows = SelectedRows(s.lists[s.active]);
    const UInt8 none[1] = {0};
    if (s.active == 1) {
        if (!AskConfirm(kAskDeleteLibrarySymbols, none, none)) return;
        DeleteLibrarySymbols(rows.data(), SInt16(rows.size()));
        FillLibraryList(s);
        return;
    }
    if (!AskConfirm(kAskDeleteDrawingSymbols, none, none)) return;
    std::vector<SymbolDefRecord*> chosen;
    for (SInt16 row : rows)
        if (row < SInt16(s.defs.size())) chosen.push_back(s.defs[size_t(row)]);
    ReleasePreview(s);
    for (SymbolDefRecord* def : chosen) {
        SInt32 used = CountSymbolInstances(s.doc, def);
        if (used > 0) {
            Str255 count;
            std::string n = std::to_string(used);
            count[0] = UInt8(n.size());
            std::memcpy(count + 1, n.data(), n.size());
            if (!AskConfirm(kAskDeleteInstances, def->name, count)) break;
        }
        DeleteDrawingSymbol(s.doc, def);
        s.changed = true;
    }
    FillDrawingList(s);
}

void RenameSelected(LibraryDialogState& s) {
    std::vector<SInt16> rows = SelectedRows(s.lists[s.active]);
    if (rows.empty()) return;
    Str255 newName;
    if (s.active == 1) {
        SymbolLibraryNode* node = SymbolLibraryNodeAt(rows[0]);
        if (node == nullptr || !RenameSymbolDialog(node->name, newName)) return;
        ReleasePreview(s);
        RenameLibrarySymbol(rows[0], newName);
        FillLibraryList(s);
        return;
    }
    if (rows[0] >= SInt16(s.defs.size())) return;
    SymbolDefRecord* def = s.defs[size_t(rows[0])];
    if (!RenameSymbolDialog(def->name, newName)) return;
    if (RenameDrawingSymbol(s.doc, def, newName)) s.changed = true;
    FillDrawingList(s);
}

void NewLibrary(LibraryDialogState& s) {
    Str255 prompt, proposed;
    GetAppString(kNewLibraryPromptItem, prompt);
    GetAppString(kNewLibraryNameItem, proposed);
    FSRef file;
    if (!ChooseSaveFile(&file, prompt, proposed)) return;
    if (CreateSymbolLibrary(&file) != noErr) return;
    OpenSymbolLibraryFile(&file);
    FillLibraryList(s);
    if (SymbolLibraryIsOpen()) Activate(s, 1);
}

void OpenLibrary(LibraryDialogState& s) {
    FSRef file;
    if (!ChooseOpenFile(kSymbolLibraryType, &file)) return;
    OpenSymbolLibraryFile(&file);
    FillLibraryList(s);
    if (SymbolLibraryIsOpen()) Activate(s, 1);
}

} // namespace

void SymbolLibraryDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    DialogRef dialog = OpenModalDialog(kSymbolLibraryDialog, DialogPositionTable[kLibraryDialogSlot]);
    if (dialog == nullptr) return;
    LibraryDialogState s;
    s.doc = doc;
    s.dialog = dialog;
    gLibrary = &s;
    // Nothing done here is an undo step: none could bring back an instance whose definition went.
    const Boolean undoWasOn = doc->drawing->undo.undoEnabled;
    doc->drawing->undo.undoEnabled = false;
    Str255 title = {1, ' '}, windowTitle = {0};
    if (doc->window != nullptr) GetWTitle(doc->window, windowTitle);
    // A changed document's title starts with its mark and a blank.
    const UInt8* from = windowTitle + 1;
    size_t length = windowTitle[0];
    if (length >= 2 && from[0] == 19 && from[1] == ' ') from += 2, length -= 2;
    length = std::min<size_t>(length, 254);
    std::memcpy(title + 2, from, length);
    title[0] = UInt8(1 + length);
    SetItemText(dialog, kDocNameItem, title);
    NewDialogList(dialog, kDrawingListItem, &s.lists[0], DrawListItem, nullptr);
    NewDialogList(dialog, kLibraryListItem, &s.lists[1], DrawListItem, nullptr);
    SetDialogItemProc(dialog, kPreviewItem, DrawPreviewItem);
    FillDrawingList(s);
    FillLibraryList(s);
    SetProgressShown(s, false);
    InitCursor();
    SInt16 item = 0;
    for (;;) {
        UpdateButtons(s);
        RunModalDialog(dialog, &item, LibraryFilter);
        switch (item) {
        case kCopyButton:
            CopySelected(s);
            break;
        case kDeleteButton:
            DeleteSelected(s);
            break;
        case kRenameButton:
            RenameSelected(s);
            break;
        case kNewButton:
            NewLibrary(s);
            break;
        case kOpenButton:
            OpenLibrary(s);
            break;
        case kCloseButton:
            ReleasePreview(s);
            CloseSymbolLibrary();
            FillLibraryList(s);
            Activate(s, 0);
            break;
        default:
            break;
        }
        if (item == kDoneItem) break;
        ShowPreview(s);
    }
    ReleasePreview(s);
    for (ListHandle& l : s.lists)
        if (l != nullptr) LDispose(l);
    gLibrary = nullptr;
    CloseModalDialog(dialog, &DialogPositionTable[kLibraryDialogSlot]);
    doc->drawing->undo.undoEnabled = undoWasOn;
    if (s.changed) {
        RequestRedraw(doc);
        gDocumentHooks.refreshPalettes(doc);
    }
}

Boolean RenameSymbolDialog(ConstStr255Param oldName, Str255 newName) {
    constexpr SInt16 kOldItem = 5, kNewItem = 6;
    DialogRef dialog = OpenModalDialog(kRenameSymbolDialog, DialogPositionTable[kRenameSlot]);
    newName[0] = 0;
    if (dialog == nullptr) return false;
    SetItemText(dialog, kOldItem, oldName);
    SetItemText(dialog, kNewItem, oldName);
    SelectItemText(dialog, kNewItem);
    SInt16 item = 0;
    for (;;) {
        Str255 text;
        GetItemText(dialog, kNewItem, text);
        const bool differs = text[0] > 0 && std::memcmp(text, oldName, size_t(oldName[0]) + 1) != 0;
        EnableItem(dialog, kOK, differs);
        RunModalDialogStd(dialog, &item);
        if (item == kCancel) break;
        if (item == kOK && differs) {
            std::memcpy(newName, text, size_t(text[0]) + 1);
            break;
        }
    }
    CloseModalDialog(dialog, &DialogPositionTable[kRenameSlot]);
    if (newName[0] > 19) {
        newName[0] = 19;
        const UInt8 none[1] = {0};
        ShowErrorAlert(kMsgSymbolNameShortened, none);
    }
    return newName[0] > 0 && std::memcmp(newName, oldName, size_t(oldName[0]) + 1) != 0;
}

SInt16 SymbolClashDialog(Boolean toLibrary, ConstStr255Param name, Str255 newName, Boolean* applyToAll) {
    constexpr SInt16 kStop = 1, kRename = 2, kReplace = 3, kMessageItem = 4, kNameItem = 9, kNewNameItem = 10,
                     kAllItem = 11;
    newName[0] = 0;
    *applyToAll = false;
    DialogRef dialog = OpenModalDialog(kSymbolClashDialog, DialogPositionTable[kClashSlot]);
    if (dialog == nullptr) return kClashStop;
    Str255 text;
    GetAppString(toLibrary ? kClashInLibraryItem : kClashInDrawingItem, text);
    SetItemText(dialog, kMessageItem, text);
    SetItemText(dialog, kNameItem, name);
    SetItemText(dialog, kNewNameItem, name);
    SelectItemText(dialog, kNewNameItem);
    SInt16 item = 0;
    SInt16 outcome = kClashStop;
    for (;;) {
        EnableItem(dialog, kRename, !GetCheckBox(dialog, kAllItem));
        RunModalDialogStd(dialog, &item);
        if (item == kAllItem) ToggleCheckBox(dialog, kAllItem);
        if (item == kStop) break;
        if (item == kReplace) {
            outcome = kClashReplace;
            break;
        }
        if (item == kRename) {
            GetItemText(dialog, kNewNameItem, newName);
            if (newName[0] == 0) continue;
            outcome = kClashRename;
            break;
        }
    }
    *applyToAll = GetCheckBox(dialog, kAllItem);
    CloseModalDialog(dialog, &DialogPositionTable[kClashSlot]);
    return outcome;
}
