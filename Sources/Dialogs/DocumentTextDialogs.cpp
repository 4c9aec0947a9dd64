// The document log editor with its own Edit menu, the drawing's font and size, the page header and
// footer, and the size menu of standard and custom text sizes.
#include "Dialogs/DocumentTextDialogs.h"

#include "Other/Alerts.h"
#include "Interface/DialogItems.h"
#include "Interface/MenuItemsById.h"
#include "Interface/ModalDialogs.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Clipboard.h"
#include "Platform/Events.h"
#include "Platform/Fonts.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"
#include "Platform/NumberText.h"
#include "Platform/QuickDraw.h"
#include "Platform/TextObjects.h"
#include "Platform/Windows.h"
#include "View/ContentPasses.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kCutItem = 4, kCopyItem = 5, kPasteItem = 6, kClearItem = 8, kSelectAllItem = 9;
constexpr SInt16 kLogSlot = 28, kFontSizeSlot = 43, kHeaderSlot = 44;
constexpr SInt16 kStandardSizes[] = {9, 10, 12, 14, 18, 24, 36};
constexpr SInt16 kStandardCount = 7;
constexpr SInt16 kSizeMessage = 242;

// --- Log editor ----------------------------------------------------------------------------------------

constexpr SInt16 kLogHidden = 3, kLogText = 4;

TXNObject gLogText = nullptr;

void UpdateLogEditMenu() {
    const bool selection = TextObjectHasSelection(gLogText);
    for (SInt16 item = 1; item <= 28; ++item)
        EnableMenuItemById(kEditMenu, item, false);
    EnableMenuItemById(kEditMenu, kCutItem, selection);
    EnableMenuItemById(kEditMenu, kCopyItem, selection);
    EnableMenuItemById(kEditMenu, kClearItem, selection);
    EnableMenuItemById(kEditMenu, kPasteItem, ScrapHasText());
    EnableMenuItemById(kEditMenu, kSelectAllItem, true);
}

void DoLogEditCommand(SInt32 choice) {
    if (SInt16(choice >> 16) != kEditMenu) return;
    switch (SInt16(choice & 0xFFFF)) {
    case kCutItem:
        TextObjectCut(gLogText);
        break;
    case kCopyItem:
        TextObjectCopy(gLogText);
        break;
    case kPasteItem:
        TextObjectPaste(gLogText);
        break;
    case kClearItem:
        TextObjectClear(gLogText);
        break;
    case kSelectAllItem:
        TextObjectSelectAll(gLogText);
        break;
    default:
        break;
    }
    HiliteMenu(0);
}

Boolean LogEditorFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    UpdateLogEditMenu();
    if (event->what == nullEvent) {
        IdleTextObject(gLogText);
        return false;
    }
    if (event->what == mouseDown) {
        WindowRef window = nullptr;
        const SInt16 part = FindWindow(event->where, &window);
        if (part == inMenuBar) {
            DoLogEditCommand(MenuSelect(event->where));
            event->what = nullEvent;
            return false;
        }
        if (part == inContent && window == GetDialogWindow(dialog)) {
            Point local = event->where;
            SetPortToDialog(dialog);
            GlobalToLocal(&local);
            if (TextObjectContainsPoint(gLogText, local)) {
                TextObjectClick(gLogText, event);
                event->what = nullEvent;
            }
        }
        return false;
    }
    if (event->what != keyDown && event->what != autoKey) return false;
    const UInt8 ch = UInt8(event->message & charCodeMask);
    if (IsEscapeOrCmdPeriod(event)) {
        *itemHit = kCancel;
        FlashItem(dialog, kCancel);
        return true;
    }
    if (ch == kReturnCharCode || ch == kEnterCharCode) {
        *itemHit = kOK;
        FlashItem(dialog, kOK);
        return true;
    }
    if (event->modifiers & cmdKey) {
        DoLogEditCommand(MenuKey(ch));
        event->what = nullEvent;
        return false;
    }
    TextObjectKeyDown(gLogText, event);
    event->what = nullEvent;
    return false;
}

void DrawLogFrame(DialogRef dialog, DialogItemIndex item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    PenNormal();
    ForeColor(blackColor);
    FrameRect(&r);
    DrawTextObject(gLogText);
}

// --- Font and size -------------------------------------------------------------------------------------

// A typed size between 1 and 999 points; 0 when the text is none.
SInt16 TypedSize(DialogRef dialog, SInt16 item) {
    const SInt32 n = GetItemNumber(dialog, item);
    return n >= 1 && n <= 999 ? SInt16(n) : 0;
}

// Runs a dialog with a font pop-up, a size field and a size pop-up until OK with a size, or Cancel.
template <typename Hit> SInt16 RunFontDialog(DialogRef dialog, SInt16 sizeField, SInt16 sizePopup, Hit hit) {
    for (;;) {
        SInt16 item = 0;
        RunModalDialogStd(dialog, &item);
        if (item == kCancel) return item;
        if (item == kOK) {
            if (TypedSize(dialog, sizeField) != 0) return item;
            ShowErrorStr128(kSizeMessage);
            SelectItemText(dialog, sizeField);
            continue;
        }
        if (item == sizePopup) CopySizePopupToItem(dialog, sizePopup, sizeField);
        if (item == sizePopup || item == sizeField) SetSizePopupHistory(dialog, sizePopup, sizeField);
        hit(item);
    }
}

} // namespace

std::string LogToEditorText(Handle log) {
    if (log == nullptr) return {};
    const Size length = GetHandleSize(log);
    std::string text = MacRomanToUTF8(std::string_view(*log, size_t(std::max<Size>(length, 0))));
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

std::string EditorTextToLog(const std::string& text) {
    std::string bytes = UTF8ToMacRoman(text);
    std::replace(bytes.begin(), bytes.end(), '\n', '\r');
    if (bytes.size() >= size_t(kDocumentLogLimit)) bytes.resize(size_t(kDocumentLogLimit - 1));
    return bytes;
}

Boolean ReplaceDocumentLog(DocWindowRecord* doc, const std::string& bytes) {
    Handle fresh = NewHandle(Size(bytes.size()));
    if (fresh == nullptr) return false;
    if (!bytes.empty()) std::memcpy(*fresh, bytes.data(), bytes.size());
    if (doc->drawing->logText != nullptr) DisposeHandle(doc->drawing->logText);
    doc->drawing->logText = fresh;
    return true;
}

void LogEditorDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    DialogRef dialog = OpenModalDialog(kLogEditorDialog, DialogPositionTable[kLogSlot]);
    if (dialog == nullptr) return;
    EnableEditMenu();
    HideDialogItem(dialog, kLogHidden);
    Rect frame{};
    GetDItemRect(dialog, kLogText, &frame);
    InsetRect(&frame, 2, 2);
    Rect destination = frame;
    destination.bottom = 32000;
    SetPortToDialog(dialog);
    TXNFrameID frameId = 0;
    TXNObject outer = gLogText;
    gLogText = nullptr;
    NewTextObject(&gLogText, &frameId, GetDialogWindow(dialog), &frame, &destination, 12, false);
    SetTextObjectUTF8Text(gLogText, LogToEditorText(doc->drawing->logText));
    SetTextObjectSelection(gLogText, frameId, 0, 0);
    FocusTextObject(gLogText, frameId);
    SetUserItemProc(dialog, kLogText, DrawLogFrame);
    SInt16 item = 0;
    do
        RunModalDialog(dialog, &item, LogEditorFilter);
    while (item != kOK && item != kCancel);
    // A log that cannot be copied leaves the old one as it was.
    if (item == kOK && ReplaceDocumentLog(doc, EditorTextToLog(GetTextObjectUTF8Text(gLogText))))
        MarkDocumentChanged(doc);
    DisposeTextObject(&gLogText);
    gLogText = outer;
    CloseModalDialog(dialog, &DialogPositionTable[kLogSlot]);
}

MenuRef SizeMenuHandle() {
    if (MenuRef inserted = GetMenuHandle(kSizeMenu)) return inserted;
    static MenuRef own = GetMenu(kSizeMenu);
    return own;
}

SInt16 FontSizeMenu(SInt16 size, SInt16 font) {
    MenuRef menu = SizeMenuHandle();
    if (menu == nullptr) return 0;
    const SInt16* standard = std::find(kStandardSizes, kStandardSizes + kStandardCount, size);
    const bool custom = standard == kStandardSizes + kStandardCount;
    // Back to the seven standard sizes, then the custom size on top with a separator below it.
    if (CountMenuItems(menu) > kStandardCount)
        DeleteMenuItems(menu, 1, UInt32(CountMenuItems(menu) - kStandardCount));
    if (custom) {
        Str255 text;
        NumToString(size, text);
        const Str255 separator = {1, '-'};
        InsertMenuItemText(menu, separator, 0);
        InsertMenuItemText(menu, text, 0);
    }
    // Our fonts are outline fonts: every size of an installed font is a real face.
    const SInt16 style = FontNumberExists(font) ? 0 : SInt16(outline);
    for (SInt16 i = 1; i <= CountMenuItems(menu); ++i)
        if (!(custom && i == 2)) SetItemStyle(menu, i, style);
    return custom ? SInt16(1) : SInt16(standard - kStandardSizes + 1);
}

void FontSizeDialog(DocWindowRecord* doc) {
    enum : SInt16 { kFont = 3, kSize = 4, kSizePopup = 5 };
    if (doc == nullptr) return;
    DocSettings* s = doc->settings;
    DialogRef dialog = OpenModalDialog(kFontSizeDialog, DialogPositionTable[kFontSizeSlot]);
    if (dialog == nullptr) return;
    FillFontPopup(dialog, kFont);
    SetFontAndSizeItems(dialog, s->documentFont, SInt16(s->textSize), kFont, kSizePopup, kSize);
    const SInt16 item = RunFontDialog(dialog, kSize, kSizePopup, [](SInt16) {});
    if (item == kOK) {
        s->documentFont = GetPopupFontNum(dialog, kFont);
        s->textSize = UInt16(TypedSize(dialog, kSize));
    }
    CloseModalDialog(dialog, &DialogPositionTable[kFontSizeSlot]);
    if (item != kOK) return;
    InvalidateDocWindow(doc);
    ComputeDrawingAreaMetrics(doc);
    MarkDocumentChanged(doc);
}

void HeaderFooterDialog(DocWindowRecord* doc) {
    enum : SInt16 { kFont = 17, kSize = 18, kSizePopup = 19, kSwitch = 24 };
    constexpr SInt16 kTextItems[6] = {7, 8, 9, 14, 15, 16};
    if (doc == nullptr) return;
    DocSettings* s = doc->settings;
    if (s->headerSize < 1) s->headerSize = 12;
    DialogRef dialog = OpenModalDialog(kHeaderFooterDialog, DialogPositionTable[kHeaderSlot]);
    if (dialog == nullptr) return;
    FillFontPopup(dialog, kFont);
    SetFontAndSizeItems(dialog, s->headerFont, s->headerSize, kFont, kSizePopup, kSize);
    HeaderFooterBlock& block = doc->drawing->headerFooter;
    for (int i = 0; i < 6; ++i)
        SetItemText(dialog, kTextItems[i], block.texts[i]);
    SetCheckBox(dialog, kSwitch, s->headerOption != 0);
    SelectItemText(dialog, kTextItems[0]);
    const SInt16 item = RunFontDialog(dialog, kSize, kSizePopup, [&](SInt16 hit) {
        if (hit == kSwitch) ToggleCheckBox(dialog, kSwitch);
    });
    if (item == kOK) {
        s->headerFont = GetPopupFontNum(dialog, kFont);
        s->headerSize = TypedSize(dialog, kSize);
        for (int i = 0; i < 6; ++i)
            GetItemText(dialog, kTextItems[i], block.texts[i]);
        s->headerOption = GetCheckBox(dialog, kSwitch) ? 1 : 0;
        MarkDocumentChanged(doc);
    }
    CloseModalDialog(dialog, &DialogPositionTable[kHeaderSlot]);
}
