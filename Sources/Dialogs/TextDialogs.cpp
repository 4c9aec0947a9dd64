// The text dialogs: the long text of a framed box (its own filter gives the text field a working
// Edit menu and lets Return start a new line) and the text attributes with their justification
// picker.
#include "Dialogs/TextDialogs.h"

#include "Dialogs/TextDialogParts.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Other/Alerts.h"
#include "Interface/DialogItems.h"
#include "Interface/MenuItemsById.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Model/SharedUtilities.h"
#include "Platform/AppResources.h"
#include "Platform/Clipboard.h"
#include "Platform/Events.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"
#include "Platform/QuickDraw.h"
#include "Platform/TextObjects.h"
#include "Platform/Windows.h"
#include "Tools/TextElements.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kCutItem = 4, kCopyItem = 5, kPasteItem = 6, kClearItem = 8;
constexpr SInt16 kFontsMenu = 512;

// --- The long-text dialog (206) -------------------------------------------------------------------

constexpr SInt16 kEntryText = 3, kEntryFont = 4, kEntrySize = 6;

// The text field is a text object over user item 3; the size field is the dialog's own edit text.
// Keys go to whichever the user last clicked or tabbed into.
struct EntryState {
    TXNObject text = nullptr;
    TXNFrameID frame = 0;
    bool textFocused = false;
};
EntryState* gEntry = nullptr;

void FocusText(DialogRef dialog, bool onText) {
    gEntry->textFocused = onText;
    if (onText)
        FocusTextObject(gEntry->text, gEntry->frame);
    else
        SelectDialogItemText(dialog, kEntrySize, 0, 32767);
}

void UpdateEditMenuForDialog(DialogRef) {
    for (SInt16 item : {kCutItem, kCopyItem, kPasteItem, kClearItem})
        EnableMenuItemById(kEditMenu, item, false);
    // Both fields of the dialog are edit texts, so the focus is always on one.
    for (SInt16 item : {kCutItem, kCopyItem, kClearItem})
        EnableMenuItemById(kEditMenu, item, true);
    EnableMenuItemById(kEditMenu, kPasteItem, ScrapHasText());
}

// An editing key for the size field, as the field's own key handling takes it.
void KeyToSizeField(DialogRef dialog, UInt8 charCode, UInt16 modifiers) {
    EventRecord e{};
    e.what = keyDown;
    e.message = charCode;
    e.modifiers = modifiers;
    DialogRef hit = nullptr;
    SInt16 item = 0;
    DialogSelect(&e, &hit, &item);
}

void DoDialogEditCommand(SInt32 choice, DialogRef dialog) {
    SInt16 menu = SInt16(choice >> 16), item = SInt16(choice & 0xFFFF);
    if (menu == kEditMenu) {
        if (gEntry->textFocused) {
            switch (item) {
            case kCutItem:
                TextObjectCut(gEntry->text);
                break;
            case kCopyItem:
                TextObjectCopy(gEntry->text);
                break;
            case kPasteItem:
                TextObjectPaste(gEntry->text);
                break;
            case kClearItem:
                TextObjectClear(gEntry->text);
                break;
            default:
                break;
            }
        } else {
            switch (item) {
            case kCutItem:
                KeyToSizeField(dialog, 'x', cmdKey);
                break;
            case kCopyItem:
                KeyToSizeField(dialog, 'c', cmdKey);
                break;
            case kPasteItem:
                KeyToSizeField(dialog, 'v', cmdKey);
                break;
            case kClearItem:
                KeyToSizeField(dialog, kBackspaceCharCode, 0);
                break;
            default:
                break;
            }
        }
    }
    HiliteMenu(0);
}

Boolean TextEntryDialogFilter(DialogRef dialog, EventRecord* event, SInt16* itemHit) {
    UpdateEditMenuForDialog(dialog);
    if (event->what == mouseDown) {
        WindowRef window = nullptr;
        SInt16 part = FindWindow(event->where, &window);
        if (part == inMenuBar) {
            UpdateEditMenuForDialog(dialog);
            SInt32 choice = MenuSelect(event->where);
            DoDialogEditCommand(choice, dialog);
            event->what = nullEvent;
            return false;
        }
        if (part == inContent && window == GetDialogWindow(dialog)) {
            Point local = event->where;
            SetPortToDialog(dialog);
            GlobalToLocal(&local);
            if (TextObjectContainsPoint(gEntry->text, local)) {
                gEntry->textFocused = true;
                TextObjectClick(gEntry->text, event);
                event->what = nullEvent;
            } else if (PtInDItem(dialog, local, kEntrySize)) {
                gEntry->textFocused = false;
            }
        }
        return false;
    }
    if (event->what != keyDown && event->what != autoKey) return false;
    unsigned char ch = static_cast<unsigned char>(event->message & charCodeMask);
    if (ch == kReturnCharCode) {
        // A line break belongs to the text; the one-line size field takes none.
        if (gEntry->textFocused) TextObjectKeyDown(gEntry->text, event);
        event->what = nullEvent;
        return false;
    }
    if (ch == kEnterCharCode && !(event->modifiers & cmdKey)) {
        *itemHit = kOK;
        FlashItem(dialog, kOK);
        return true;
    }
    if (IsEscapeOrCmdPeriod(event)) {
        *itemHit = kCancel;
        FlashItem(dialog, kCancel);
        return true;
    }
    if (event->modifiers & cmdKey) {
        DoDialogEditCommand(MenuKey(ch), dialog);
        event->what = nullEvent;
        return false;
    }
    if (ch == kTabCharCode) {
        FocusText(dialog, !gEntry->textFocused);
        event->what = nullEvent;
        return false;
    }
    if (gEntry->textFocused) {
        TextObjectKeyDown(gEntry->text, event);
        event->what = nullEvent;
    }
    return false;
}

void ShowSizeTenths(DialogRef dialog, SInt16 tenths) {
    Str255 text;
    FormatReal(tenths / 10.0, 1, text);
    SetItemText(dialog, kEntrySize, text);
}

} // namespace

std::string LongTextToLines(std::string_view text) {
    std::string lines(text);
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    return lines;
}

std::string LinesToLongText(std::string_view text) {
    std::string bytes(text);
    std::replace(bytes.begin(), bytes.end(), '\n', '\r');
    return bytes;
}

Boolean RunTextEntryDialog(Handle* text, DocWindowRecord* doc, SInt16* font, SInt16* sizeTenths) {
    DialogRef dialog = OpenModalDialog(kTextEntryDialog, DialogPositionTable[kTextEntryPositionSlot]);
    if (dialog == nullptr) return false;
    // The dialog's own Edit menu: the menu is live while the other menus stay dimmed.
    EnableEditMenu();
    EntryState state;
    EntryState* outer = gEntry;
    gEntry = &state;

    FillFontPopup(dialog, kEntryFont);
    SetFontPopup(dialog, *font, kEntryFont);
    SInt16 chosenFont = *font;
    Rect frame{};
    GetDItemRect(dialog, kEntryText, &frame);
    SetPortToDialog(dialog);
    TextFont(chosenFont);
    NewTextObject(&state.text, &state.frame, GetDialogWindow(dialog), &frame, &frame, 12, false);
    TextFont(0);
    if (text != nullptr && *text != nullptr) {
        Size length = GetHandleSize(*text);
        std::string bytes = length > 0 ? std::string(**text, size_t(length)) : std::string();
        SetTextObjectUTF8Text(state.text, LongTextToLines(bytes));
    }
    SInt16 tenths = *sizeTenths <= 9 ? SInt16(35) : *sizeTenths;
    ShowSizeTenths(dialog, tenths);
    FocusText(dialog, false);

    SInt16 item = 0;
    do {
        RunModalDialog(dialog, &item, TextEntryDialogFilter);
        if (item == kEntryFont) {
            chosenFont = GetPopupFontNum(dialog, kEntryFont);
            SetTextObjectFont(state.text, chosenFont, 12);
        }
    } while (item != kOK && item != kCancel);

    // What the user or another program put on the clipboard stays there.
    bool ok = item == kOK;
    if (ok) {
        // The whole text: a framed box is never shortened by confirming its dialog.
        std::string bytes = LinesToLongText(GetTextObjectUTF8Text(state.text));
        Handle fresh = NewHandle(Size(bytes.size()));
        if (fresh != nullptr) {
            if (!bytes.empty()) std::memcpy(*fresh, bytes.data(), bytes.size());
            if (text != nullptr) {
                if (*text != nullptr) DisposeHandle(*text);
                *text = fresh;
            } else {
                DisposeHandle(fresh);
            }
            Float64 points = GetItemFormula(dialog, kEntrySize);
            if (!(points >= 1.0)) points = 1.0; // also an unparsable or non-finite value
            points = std::min(points, 3276.0);
            SInt16 result = SInt16(std::lround(points * 10.0));
            *sizeTenths = result <= 9 ? SInt16(10) : result;
            *font = chosenFont;
        } else {
            ok = false;
        }
    }
    DisposeTextObject(&state.text);
    gEntry = outer;
    CloseModalDialog(dialog, &DialogPositionTable[kTextEntryPositionSlot]);
    return ok;
}

Boolean RunLongTextDialog(DocWindowRecord* doc, TextRecord* text) {
    if (text == nullptr) return false;
    SInt16 font = text->font;
    SInt16 tenths = SInt16(std::clamp(std::lround(text->textHeight * 10.0), 0L, 32767L));
    if (!RunTextEntryDialog(&text->boxText, doc, &font, &tenths)) return false;
    text->font = font;
    text->textHeight = tenths / 10.0;
    return true;
}

// --- The text attribute dialog (131) --------------------------------------------------------------

namespace {

enum : SInt16 {
    kAttrSize = 3,
    kAttrAngle = 5,
    kAttrSlant = 6,
    kAttrSpacing = 7,
    kAttrSizeUnit = 13,
    kAttrSpacingUnit = 17,
    kAttrFont = 18,
    kAttrPicker = 19,
    kAttrFrameShape = 20,
    kAttrNoMask = 21,
    kAttrDistance = 28,
    kAttrLeaderEnd = 29,
    kAttrDistanceUnit = 30,
    kAttrLineBreak = 33,
    kAttrLeaderNone = 35,
    kAttrLeaderLast = 37,
};
constexpr SInt16 kSampleText = 38;
constexpr Float64 kMaxSlant = 45.0;

// The dialog's working copy of the text settings while it is open.
struct AttributeState {
    Rect picker;
    Float64 size, angle, slant, lineSpacing;
    UInt16 flags;
    SInt16 font;
    Float64 frameDistance;
    UInt8 lineBreak;
    SInt16 justification;
    bool leaderShown; // the leader buttons are offered
};
AttributeState* gAttributes = nullptr;

void LoadTextAttributes(DocWindowRecord* doc, AttributeState* a) {
    DocSettings* s = doc->settings;
    a->size = s->textHeight;
    a->angle = TextAngleSetting(s);
    a->slant = TextSlantSetting(s);
    a->lineSpacing = TextLineSpacingSetting(s);
    a->flags = s->textFlags;
    a->font = s->textFont;
    a->frameDistance = TextFrameDistanceSetting(s);
    a->lineBreak = s->lineBreakChar;
    a->justification = std::clamp<SInt16>(s->textJustification, 0, 8);
}

void StoreTextAttributes(DocWindowRecord* doc, const AttributeState* a) {
    DocSettings* s = doc->settings;
    s->textHeight = a->size;
    TextAngleSetting(s) = a->angle;
    TextSlantSetting(s) = a->slant;
    TextLineSpacingSetting(s) = a->lineSpacing;
    s->textFlags = a->flags;
    s->textFont = a->font;
    TextFrameDistanceSetting(s) = a->frameDistance;
    s->lineBreakChar = a->lineBreak;
    s->textJustification = a->justification;
    MarkDocumentChanged(doc);
}

// Lengths show in the dialog's unit at the drawing's scale.
Float64 LengthFactor(const DocWindowRecord* doc) {
    Float64 scale = doc->settings->drawingScale;
    return (scale > 0 ? scale : 1.0) / DisplayUnitFactor(doc);
}

void ShowLength(DocWindowRecord* doc, DialogRef dialog, SInt16 item, Float64 value) {
    SetItemLength(doc, dialog, item, value * LengthFactor(doc), SInt16(doc->settings->decimals));
}

Float64 ReadLength(DocWindowRecord* doc, DialogRef dialog, SInt16 item) {
    Float64 v = GetItemFormula(dialog, item);
    return std::isfinite(v) ? v / LengthFactor(doc) : 0.0;
}

void ShowDegrees(DialogRef dialog, SInt16 item, Float64 value) {
    Str255 text;
    FormatReal(value, 1, text);
    SetItemText(dialog, item, text);
}

// Bits 0 to 2 hold the leader as one bit each: 1 for bit 0, 2 for bit 1.
SInt16 LeaderKind(UInt16 flags) {
    return (flags & 1) ? 1 : (flags & 2) ? 2 : 0;
}

SInt16 FrameShape(UInt16 flags) {
    for (SInt16 value = 1; value <= 4; ++value)
        if (flags & (1u << (16 - value))) return value;
    return 0;
}

UInt16 WithFrameShape(UInt16 flags, SInt16 value) {
    flags &= 0x0FFF;
    if (value >= 1 && value <= 4) flags |= UInt16(1u << (16 - value));
    return flags;
}

SInt16 LeaderEnd(UInt16 flags) {
    return (flags & 0x10) ? 1 : (flags & 0x20) ? 2 : 0;
}

UInt16 WithLeaderEnd(UInt16 flags, SInt16 value) {
    flags &= UInt16(~0x30u);
    if (value == 1) flags |= 0x10;
    if (value == 2) flags |= 0x20;
    return flags;
}

void DrawJustificationPicker(const Rect& picker, SInt16 justification) {
    Rect r = picker;
    InsetRect(&r, 8, 8);
    PenMode(patXor);
    for (SInt16 row = 0; row < 3; ++row)
        for (SInt16 column = 0; column < 3; ++column) {
            SInt16 h = SInt16(r.left + (r.right - r.left - 1) * column / 2);
            SInt16 v = SInt16(r.top + (r.bottom - r.top - 1) * row / 2);
            PenSize(1, 1);
            Rect dot{SInt16(v - 3), SInt16(h - 3), SInt16(v + 4), SInt16(h + 4)};
            FrameOval(&dot);
            if (row * 3 + column == justification) {
                PenSize(2, 2);
                Rect mark{SInt16(v - 5), SInt16(h - 5), SInt16(v + 6), SInt16(h + 6)};
                FrameOval(&mark);
            }
        }
    PenNormal();
}

void DrawTextSampleItem(DialogRef dialog, DialogItemIndex) {
    if (gAttributes == nullptr) return;
    const Rect& r = gAttributes->picker;
    SetPortToDialog(dialog);
    PenNormal();
    ForeColor(whiteColor);
    PaintRect(&r);
    ForeColor(blackColor);
    TextFont(gAttributes->font);
    Str255 sample;
    GetAppString(kSampleText, sample);
    // The largest size at which the sample stays inside the box, across as well as up.
    SInt16 room = SInt16(r.bottom - r.top - 4), across = SInt16(r.right - r.left - 4);
    SInt16 size = std::max<SInt16>(room, 7);
    FontInfo info{};
    for (; size > 7; --size) {
        TextSize(size);
        GetFontInfo(&info);
        if (info.ascent + info.descent <= room && StringWidth(sample) <= across) break;
    }
    TextSize(size);
    GetFontInfo(&info);
    SInt16 ascentLine = SInt16(r.top + 2 + info.ascent);
    for (SInt16 v : {SInt16(r.top + 2), ascentLine, SInt16(ascentLine + info.descent)}) {
        MoveTo(r.left, v);
        LineTo(SInt16(r.right - 1), v);
    }
    ClipRect(&r);
    MoveTo(SInt16((r.left + r.right - StringWidth(sample)) / 2), ascentLine);
    DrawString(sample);
    Rect all{-32768, -32768, 32767, 32767};
    ClipRect(&all);
    TextFont(0);
    TextSize(12);
    DrawJustificationPicker(r, gAttributes->justification);
}

void FillTextAttributesDialog(DocWindowRecord* doc, DialogRef dialog, const AttributeState* a) {
    ShowLength(doc, dialog, kAttrSize, a->size);
    ShowDegrees(dialog, kAttrAngle, a->angle);
    ShowDegrees(dialog, kAttrSlant, a->slant);
    ShowLength(doc, dialog, kAttrSpacing, a->lineSpacing);
    ShowLength(doc, dialog, kAttrDistance, a->frameDistance);
    for (SInt16 item : {kAttrSizeUnit, kAttrSpacingUnit, kAttrDistanceUnit})
        SetItemUnitName(doc, dialog, item);
    FillFontPopup(dialog, kAttrFont);
    SetFontPopup(dialog, a->font, kAttrFont);
    SetItemValue(dialog, kAttrFrameShape, SInt16(FrameShape(a->flags) + 1));
    SetCheckBox(dialog, kAttrNoMask, (a->flags & 0x400) != 0);
    SetItemValue(dialog, kAttrLeaderEnd, SInt16(LeaderEnd(a->flags) + 1));
    Str255 breakChar = {1, a->lineBreak};
    SetItemText(dialog, kAttrLineBreak, breakChar);
    SetRadioGroup(dialog, kAttrLeaderNone, kAttrLeaderLast, SInt16(kAttrLeaderNone + LeaderKind(a->flags)));
    SelectItemText(dialog, kAttrSize);
}

void ReadTextAttributesDialog(DocWindowRecord* doc, DialogRef dialog, AttributeState* a) {
    a->size = std::max(ReadLength(doc, dialog, kAttrSize), 0.1);
    Float64 angle = GetItemFormula(dialog, kAttrAngle);
    a->angle = std::isfinite(angle) ? angle : 0.0;
    Float64 slant = GetItemFormula(dialog, kAttrSlant);
    a->slant = std::isfinite(slant) ? std::clamp(slant, -kMaxSlant, kMaxSlant) : 0.0;
    a->lineSpacing = ReadLength(doc, dialog, kAttrSpacing);
    a->frameDistance = ReadLength(doc, dialog, kAttrDistance);
    Str255 breakChar;
    GetItemText(dialog, kAttrLineBreak, breakChar);
    if (breakChar[0] == 1) a->lineBreak = breakChar[1];
    UInt16 flags = WithFrameShape(a->flags, SInt16(GetItemValue(dialog, kAttrFrameShape) - 1));
    flags = WithLeaderEnd(flags, SInt16(GetItemValue(dialog, kAttrLeaderEnd) - 1));
    flags = IsCheckBoxOn(dialog, kAttrNoMask) ? UInt16(flags | 0x400) : UInt16(flags & ~0x400u);
    // The leader kind is a choice only where its buttons are shown.
    if (a->leaderShown) {
        SInt16 kind = 0;
        for (SInt16 item = kAttrLeaderNone; item <= kAttrLeaderLast; ++item)
            if (IsCheckBoxOn(dialog, item)) kind = SInt16(item - kAttrLeaderNone);
        flags = UInt16((flags & ~0x7u) | (kind == 0 ? 0u : 1u << (kind - 1)));
    }
    a->flags = flags;
}

void TextAttributesItemHit(DialogRef dialog, SInt16 item) {
    if (item >= kAttrLeaderNone && item <= kAttrLeaderLast) {
        SetRadioGroup(dialog, kAttrLeaderNone, kAttrLeaderLast, item);
    } else if (item == kAttrFont) {
        gAttributes->font = GetPopupFontNum(dialog, kAttrFont);
        InvalDialogRect(dialog, &gAttributes->picker);
    } else if (item == kAttrNoMask) {
        ToggleCheckBox(dialog, kAttrNoMask);
    } else if (item == kAttrPicker) {
        Point mouse{};
        SetPortToDialog(dialog);
        GetMouse(&mouse);
        DrawJustificationPicker(gAttributes->picker, gAttributes->justification);
        gAttributes->justification = PickerJustification(gAttributes->picker, mouse);
        DrawJustificationPicker(gAttributes->picker, gAttributes->justification);
    }
}

} // namespace

SInt16 PickerJustification(const Rect& picker, Point local) {
    auto part = [](SInt16 at, SInt16 low, SInt16 high) -> SInt16 {
        SInt16 extent = SInt16(high - low), offset = SInt16(at - low);
        if (offset * 4 < extent) return 0;
        if (offset * 4 < extent * 3) return 1;
        return 2;
    };
    return SInt16(part(local.v, picker.top, picker.bottom) * 3 + part(local.h, picker.left, picker.right));
}

Boolean RunTextAttributesDialogOn(DocWindowRecord* doc, Boolean full) {
    if (doc == nullptr) return false;
    AttributeState state{};
    DialogRef dialog =
        OpenModalDialog(kTextAttributesDialog, DialogPositionTable[kTextAttributesPositionSlot]);
    if (dialog == nullptr) return false;
    AttributeState* outer = gAttributes;
    gAttributes = &state;
    LoadTextAttributes(doc, &state);
    GetDItemRect(dialog, kAttrPicker, &state.picker);
    SetUserItemProc(dialog, kAttrPicker, DrawTextSampleItem);
    state.leaderShown = full && LeaderKind(state.flags) != 0;
    if (!full) {
        for (SInt16 item : {40, 35, 36, 37})
            HideDialogItem(dialog, item);
    } else if (LeaderKind(state.flags) == 0) {
        for (SInt16 item : {40, 35, 36, 37, 38, 32, 29, 31, 28, 30, 39, 34, 33})
            HideDialogItem(dialog, item);
    }
    FillTextAttributesDialog(doc, dialog, &state);
    SInt16 item = 0;
    do {
        RunModalDialogStd(dialog, &item);
        if (item != kOK && item != kCancel) TextAttributesItemHit(dialog, item);
    } while (item != kOK && item != kCancel);
    ReadTextAttributesDialog(doc, dialog, &state);
    CloseModalDialog(dialog, &DialogPositionTable[kTextAttributesPositionSlot]);
    gAttributes = outer;
    if (item != kOK) return false;
    StoreTextAttributes(doc, &state);
    if (!full) InvalidateDocWindow(doc);
    return true;
}

Boolean RunTextAttributesDialog(DocWindowRecord* doc, TextRecord* text) {
    return RunTextAttributesDialogOn(doc, text != nullptr);
}
