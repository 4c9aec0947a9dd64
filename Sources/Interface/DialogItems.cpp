// The dialog-item toolkit: texts, numbers, lengths and formulas, check boxes, enabling and pop-ups.
#include "Interface/DialogItems.h"

#include "Platform/AppResources.h"
#include "Model/DocumentRecords.h"
#include "Platform/Events.h"
#include "Platform/Fonts.h"
#include "Model/Formula.h"
#include "Platform/MacRoman.h"
#include "Platform/Menus.h"
#include "Other/NumberFormat.h"
#include "Platform/NumberText.h"
#include "Platform/PointerBlocks.h"
#include "Platform/QuickDraw.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const unsigned char kEmpty[1] = {0};
const unsigned char kSeparator[2] = {1, '-'};

SInt16 ItemType(DialogRef dialog, SInt16 item) {
    SInt16 type = 0;
    Handle h = nullptr;
    Rect r{};
    GetDialogItem(dialog, item, &type, &h, &r);
    return type;
}

bool IsTextItem(DialogRef dialog, SInt16 item) {
    SInt16 kind = ItemType(dialog, item) & 127;
    return kind == statText || kind == editText;
}

ControlRef ControlOf(DialogRef dialog, SInt16 item) {
    ControlRef c = nullptr;
    if (!dialog || GetDialogItemAsControl(dialog, item, &c) != noErr) return nullptr;
    return c;
}

// Sets a control's text with the control deactivated meanwhile, as an active one would not take it.
void SetControlText(ControlRef c, ResType tag, const std::string& bytes) {
    bool active = IsControlActive(c);
    if (active) DeactivateControl(c);
    SetControlData(c, kControlEntireControl, tag, static_cast<Size>(bytes.size()), bytes.data());
    if (active) ActivateControl(c);
}

bool IsValidUTF8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0)) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

void SetItemUTF8Bytes(DialogRef dialog, SInt16 item, const char* bytes, size_t length, bool systemFallback) {
    if (!dialog || length == 0) return;
    std::string text(bytes, length);
    if (!IsValidUTF8(text)) {
        if (!systemFallback) return;
        text = MacRomanToUTF8(text);
    }
    if (ControlRef c = ControlOf(dialog, item)) SetControlText(c, kControlUTF8TextTag, text);
}

SInt16 CountMenu(MenuRef menu) {
    return menu ? CountMenuItems(menu) : 0;
}

void MenuItemText(MenuRef menu, SInt16 item, Str255 text) {
    text[0] = 0;
    if (menu) GetMenuItemText(menu, item, text);
}

// Recent-value pop-ups: at the threshold the earlier typed value and its separator go; a value already
// in the menu is chosen (the last match wins); otherwise it is put on top with a separator.
template <class Matches, class Text>
void UpdateHistory(DialogRef dialog, SInt16 popupItem, SInt16 threshold, Matches matches, Text valueText) {
    MenuRef menu = GetPopupMenu(dialog, popupItem);
    if (!menu) return;
    if (CountMenuItems(menu) >= threshold) {
        DeleteMenuItem(menu, 1);
        DeleteMenuItem(menu, 1);
    }
    SInt16 found = 0;
    for (SInt16 i = 1; i <= CountMenuItems(menu); ++i)
        if (matches(menu, i)) found = i;
    ControlRef c = ControlOf(dialog, popupItem);
    if (found) {
        if (c) SetControlValue(c, found);
    } else {
        Str255 text;
        valueText(text);
        InsertMenuItemText(menu, kSeparator, 0);
        InsertMenuItemText(menu, text, 0);
        if (c) SetControlValue(c, 1);
    }
    SyncPopupMaximum(dialog, popupItem);
}

} // namespace

// --- Texts ------------------------------------------------------------------------------------------

void SetItemText(DialogRef dialog, SInt16 item, ConstStr255Param text) {
    if (!dialog || !IsTextItem(dialog, item)) return;
    if (ControlRef c = ControlOf(dialog, item)) {
        SetControlText(c, kControlStaticTextTextTag,
                       std::string(reinterpret_cast<const char*>(text + 1), text[0]));
        return;
    }
    SetDialogItemTextByNumber(dialog, item, text);
}

void SetItemTextCStr(DialogRef dialog, SInt16 item, const char* text) {
    Str255 s;
    CStrToPStr(s, sizeof s, text ? text : "");
    SetItemText(dialog, item, s);
}

void SetItemTextUTF8(DialogRef dialog, SInt16 item, ConstStr255Param text) {
    if (text) SetItemUTF8Bytes(dialog, item, reinterpret_cast<const char*>(text + 1), text[0], true);
}

void SetItemTextFromPtr(DialogRef dialog, SInt16 item, Ptr text) {
    if (!text) return;
    Size size = GetPtrSize(text);
    SetItemUTF8Bytes(dialog, item, text, static_cast<size_t>(size), size >= 1);
}

void GetItemTextPtr(DialogRef dialog, SInt16 item, Ptr* out) {
    if (!out) return;
    if (*out) DisposePtr(*out);
    *out = nullptr;
    ControlRef c = ControlOf(dialog, item);
    if (!c) return;
    char buffer[kItemTextPtrLimit];
    std::memset(buffer, 0, sizeof buffer);
    Size actual = 0;
    if (GetControlData(c, kControlEntireControl, kControlUTF8TextTag, sizeof buffer, buffer, &actual) !=
        noErr)
        return;
    size_t length = strnlen(buffer, sizeof buffer);
    Ptr p = NewPtr(static_cast<Size>(length));
    if (!p) return;
    std::memcpy(p, buffer, length);
    *out = p;
}

void GetItemText(DialogRef dialog, SInt16 item, Str255 text) {
    if (!dialog || !IsTextItem(dialog, item)) return;
    GetDialogItemTextByNumber(dialog, item, text);
}

OSErr SetItemControlFont(DialogRef dialog, SInt16 item, SInt16 fontId) {
    ControlRef c = nullptr;
    OSErr err = GetDialogItemAsControl(dialog, item, &c);
    if (err != noErr) return err;
    ControlFontStyleRec style{1, fontId, 0, 0};
    return SetControlFontStyle(c, &style);
}

OSErr GetDialogControl(DialogRef dialog, SInt16 item, ControlRef* out) {
    *out = nullptr;
    return GetDialogItemAsControl(dialog, item, out);
}

// --- Numbers and lengths ------------------------------------------------------------------------------

void SetItemNumber(DialogRef dialog, SInt16 item, SInt32 value) {
    Str255 s;
    NumToString(value, s);
    SetItemText(dialog, item, s);
}

void SetItemPaddedNumber(DialogRef dialog, SInt16 item, SInt32 value, SInt16 width) {
    Str255 s;
    NumToPaddedStr(value, width, s);
    SetItemText(dialog, item, s);
}

SInt32 GetItemNumber(DialogRef dialog, SInt16 item) {
    Str255 s;
    s[0] = 0;
    GetItemText(dialog, item, s);
    SInt32 n = 0;
    StringToNum(s, &n);
    return n;
}

SInt16 GetItemShort(DialogRef dialog, SInt16 item) {
    Str255 s;
    s[0] = 0;
    GetItemText(dialog, item, s);
    return PStrToShort(s);
}

Boolean GetItemInteger(DialogRef dialog, SInt16 item, SInt32* value) {
    Str255 s;
    s[0] = 0;
    GetItemText(dialog, item, s);
    int i = 1, end = s[0];
    while (i <= end && s[i] == ' ')
        ++i;
    while (end >= i && s[end] == ' ')
        --end;
    bool negative = i <= end && (s[i] == '-' || s[i] == '+') && s[i++] == '-';
    if (i > end) return false;
    SInt64 n = 0;
    for (; i <= end; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        n = n * 10 + (s[i] - '0');
        if (n > SInt64(0x7FFFFFFF) + 1) return false;
    }
    if (negative) n = -n;
    if (n > 0x7FFFFFFF) return false;
    *value = SInt32(n);
    return true;
}

Float64 DisplayUnitFactor(const DocWindowRecord* doc) {
    return doc && doc->settings && doc->settings->dialogUnit == 1 ? 1.0 : 25.4;
}

void SetItemLength(const DocWindowRecord* doc, DialogRef dialog, SInt16 item, Float64 value,
                   SInt16 decimals) {
    if (OpenDocumentList && doc && doc->settings && doc->settings->dialogUnit == 2) decimals += 2;
    Str255 s;
    FormatReal(value, static_cast<UInt16>(decimals), s);
    SetItemText(dialog, item, s);
}

namespace {
bool EvaluateFormula(ConstStr255Param text, double* value, SInt16* error) {
    FormulaList* list = NewFormulaList();
    if (!list) return false;
    FormulaPi = 3.14159265358979323846;
    FormulaAngleFactor = FormulaPi / 180.0;
    SInt16 position = 0;
    *error = 0;
    ParseFormula(list, text, error, &position);
    *value = 0.0;
    if (*error == 0) *value = EvalFormulaAt(list, 0);
    DisposeFormulaList(list);
    return *error == 0;
}
} // namespace

Float64 GetItemFormula(DialogRef dialog, SInt16 item) {
    Str255 s;
    s[0] = 0;
    GetItemText(dialog, item, s);
    double value = 0;
    SInt16 error = 0;
    return EvaluateFormula(s, &value, &error) ? value : 0.0;
}

Float64 EvalFormulaString(ConstStr255Param text) {
    double value = 0;
    SInt16 error = 0;
    if (EvaluateFormula(text, &value, &error)) return value;
    char buffer[256];
    std::memcpy(buffer, text + 1, text[0]);
    buffer[text[0]] = 0;
    std::fprintf(stderr, "Draftwerk: error during parser %d in text: %s\n", error, buffer);
    return 0.0;
}

void SetItemUnitName(const DocWindowRecord* doc, DialogRef dialog, SInt16 item) {
    if (!doc || !doc->settings) return;
    Str255 s;
    GetIndString(s, kDialogUnitList, static_cast<SInt16>(doc->settings->dialogUnit));
    SetItemText(dialog, item, s);
}

void SelectItemText(DialogRef dialog, SInt16 item) {
    SelectDialogItemText(dialog, item, 0, 32767);
}

SInt32 ParseFirstInteger(ConstStr255Param text) {
    int i = 1;
    while (i <= text[0] && (text[i] < '0' || text[i] > '9'))
        ++i;
    if (i > text[0]) return -1;
    Str255 digits;
    digits[0] = 0;
    while (i <= text[0] && text[i] >= '0' && text[i] <= '9')
        digits[++digits[0]] = text[i++];
    SInt32 n = 0;
    StringToNum(digits, &n);
    return n;
}

// --- Check boxes, radio groups, enabling -------------------------------------------------------------

void SetCheckBox(DialogRef dialog, SInt16 item, Boolean on) {
    ControlRef c = ControlOf(dialog, item);
    if (!c) return;
    SInt16 v = GetControlValue(c);
    if (on && v == 0)
        SetControlValue(c, 1);
    else if (!on && v == 1)
        SetControlValue(c, 0);
}

void SetCheckBoxValue(DialogRef dialog, SInt16 item, SInt16 value) {
    SetCheckBox(dialog, item, value == 1);
}

void ToggleCheckBox(DialogRef dialog, SInt16 item) {
    SetCheckBox(dialog, item, !IsCheckBoxOn(dialog, item));
}

Boolean IsCheckBoxOn(DialogRef dialog, SInt16 item) {
    ControlRef c = ControlOf(dialog, item);
    return c && GetControlValue(c) == 1;
}

SInt16 SetRadioGroup(DialogRef dialog, SInt16 first, SInt16 last, SInt16 chosen) {
    for (SInt16 i = first; i <= last; ++i)
        SetCheckBox(dialog, i, i == chosen);
    return last;
}

void EnableControlRef(ControlRef control, Boolean on) {
    if (!control) return;
    UInt16 want = on ? 0 : 255;
    if (GetControlHilite(control) != want) HiliteControl(control, static_cast<ControlPartCode>(want));
}

void EnableItem(DialogRef dialog, SInt16 item, Boolean on) {
    EnableControlRef(ControlOf(dialog, item), on);
}

Boolean IsItemEnabled(DialogRef dialog, SInt16 item) {
    ControlRef c = ControlOf(dialog, item);
    return c && GetControlHilite(c) == 0;
}

void SetControlTitleIfChanged(DialogRef dialog, SInt16 item, ConstStr255Param title) {
    ControlRef c = ControlOf(dialog, item);
    if (!c) return;
    Str255 old;
    GetControlTitle(c, old);
    if (!EqualPStr(old, title)) SetControlTitle(c, title);
}

void GetItemControlTitle(DialogRef dialog, SInt16 item, Str255 title) {
    std::memset(title, 0, sizeof(Str255));
    if (ControlRef c = ControlOf(dialog, item)) GetControlTitle(c, title);
}

SInt16 GetControlValueOf(ControlRef control) {
    return control ? GetControlValue(control) : 0;
}

void SetControlValueOf(ControlRef control, SInt16 value) {
    if (control) SetControlValue(control, value);
}

SInt16 GetControlMaxOf(ControlRef control) {
    return control ? GetControlMaximum(control) : 0;
}

void DisposeControlAndClear(ControlRef* control) {
    if (control && *control) {
        DisposeControl(*control);
        *control = nullptr;
    }
}

// --- Pop-ups ----------------------------------------------------------------------------------------

MenuRef GetPopupMenu(DialogRef dialog, SInt16 item) {
    ControlRef c = ControlOf(dialog, item);
    return c ? GetControlPopupMenuHandle(c) : nullptr;
}

SInt16 GetItemValue(DialogRef dialog, SInt16 item) {
    ControlRef c = ControlOf(dialog, item);
    return c ? GetControlValue(c) : 0;
}

void SetItemValue(DialogRef dialog, SInt16 item, SInt16 value) {
    if (ControlRef c = ControlOf(dialog, item)) SetControlValue(c, value);
}

void SyncPopupMaximum(DialogRef dialog, SInt16 item) {
    ControlRef c = ControlOf(dialog, item);
    if (c) SetControlMaximum(c, CountMenu(GetControlPopupMenuHandle(c)));
}

namespace {
void SetIntegerHistory(DialogRef dialog, SInt16 popupItem, SInt16 editItem, SInt16 threshold) {
    SInt32 v = GetItemNumber(dialog, editItem);
    UpdateHistory(
        dialog, popupItem, threshold,
        [v](MenuRef menu, SInt16 i) {
            Str255 t;
            MenuItemText(menu, i, t);
            return ParseFirstInteger(t) == v;
        },
        [v](Str255 text) { NumToString(v, text); });
}
} // namespace

void SetIntPopupHistory(DialogRef dialog, SInt16 popupItem, SInt16 editItem) {
    SetIntegerHistory(dialog, popupItem, editItem, 7);
}

void SetSizePopupHistory(DialogRef dialog, SInt16 popupItem, SInt16 editItem) {
    SetIntegerHistory(dialog, popupItem, editItem, 8);
}

void SetRealPopupHistory(DocWindowRecord* doc, DialogRef dialog, SInt16 popupItem, SInt16 editItem) {
    if (!doc || !doc->drawing) return;
    double v = GetItemFormula(dialog, editItem);
    const double* history = doc->drawing->toolInput.lengthHistory;
    UpdateHistory(
        dialog, popupItem, 34, [v, history](MenuRef, SInt16 i) { return v > 0 && i < 36 && v == history[i]; },
        [v](Str255 text) { FormatReal(v, 5, text); });
}

void CopyRealPopupToItem(const DocWindowRecord* doc, DialogRef dialog, SInt16 popupItem, SInt16 editItem) {
    if (!doc || !doc->drawing) return;
    SInt16 c = GetItemValue(dialog, popupItem);
    SInt16 n = CountMenu(GetPopupMenu(dialog, popupItem));
    if (c == 1 && n > 33) return;
    SInt16 index = n > 33 ? static_cast<SInt16>(c - 2) : c;
    if (index < 0 || index >= 36) return;
    SetItemLength(doc, dialog, editItem, doc->drawing->toolInput.lengthHistory[index], 5);
    SelectItemText(dialog, editItem);
}

void CopySizePopupToItem(DialogRef dialog, SInt16 popupItem, SInt16 editItem) {
    Str255 text;
    MenuItemText(GetPopupMenu(dialog, popupItem), GetItemValue(dialog, popupItem), text);
    SetItemNumber(dialog, editItem, ParseFirstInteger(text));
    SelectItemText(dialog, editItem);
}

void SetScaleItemFromPopup(const DocWindowRecord* doc, DialogRef dialog, SInt16 popupItem, SInt16 editItem) {
    Str255 text;
    MenuItemText(GetPopupMenu(dialog, popupItem), GetItemValue(dialog, popupItem), text);
    SInt16 colon = PosChar(':', text);
    if (colon > 0) text[colon] = '/';
    double value = 0;
    SInt16 error = 0;
    if (!EvaluateFormula(text, &value, &error)) value = 0.0;
    SetItemLength(doc, dialog, editItem, value, 3);
    SelectItemText(dialog, editItem);
}

OSStatus CreatePopupItem(DialogRef dialog, SInt16 userItem, SInt16 menuId, ControlRef* out, SInt16 value,
                         SInt16 offset) {
    Rect r{};
    GetDItemRect(dialog, userItem, &r);
    OSStatus err = CreatePopupButtonControl(GetDialogWindow(dialog), &r, kEmpty, menuId, false, 0, 0, 0, out);
    if (err != noErr || !*out) return err;
    SetControlMaximum(*out, CountMenu(GetControlPopupMenuHandle(*out)));
    SetControlValue(*out, static_cast<SInt16>(value + offset));
    ShowControl(*out);
    return noErr;
}

// --- Items ------------------------------------------------------------------------------------------

void GetDItemRect(DialogRef dialog, SInt16 item, Rect* rect) {
    SInt16 type = 0;
    Handle h = nullptr;
    *rect = Rect{};
    GetDialogItem(dialog, item, &type, &h, rect);
}

void SetDItemRect(DialogRef dialog, SInt16 item, const Rect* rect) {
    SInt16 type = 0;
    Handle h = nullptr;
    Rect old{};
    GetDialogItem(dialog, item, &type, &h, &old);
    SetDialogItem(dialog, item, type, h, rect);
}

UserItemProcPtr SetUserItemProc(DialogRef dialog, SInt16 item, UserItemProcPtr proc) {
    SetDialogItemProc(dialog, item, proc);
    return proc;
}

void ClearProcPtr(UserItemProcPtr* proc) {
    if (proc) *proc = nullptr;
}

Boolean PtInDItem(DialogRef dialog, Point localPoint, SInt16 item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    return localPoint.v >= r.top && localPoint.v < r.bottom && localPoint.h >= r.left &&
           localPoint.h < r.right;
}

void RedrawDialog(DialogRef dialog) {
    DrawDialog(dialog);
}

// --- Fonts and pop-up buttons ----------------------------------------------------------------------

void FillFontPopup(DialogRef dialog, SInt16 item) {
    if (MenuRef fonts = GetPopupMenu(dialog, item); fonts != nullptr && CountMenuItems(fonts) == 0) {
        AppendResMenu(fonts, FOUR_CHAR("FONT"));
        SyncPopupMaximum(dialog, item);
    }
}

SInt16 GetPopupFontNum(DialogRef dialog, SInt16 popupItem) {
    Str255 name;
    MenuItemText(GetPopupMenu(dialog, popupItem), GetItemValue(dialog, popupItem), name);
    SInt16 num = 0;
    GetFNum(name, &num);
    return num;
}

SInt16 FindFontMenuItem(SInt16 fontNum, MenuRef menu) {
    Str255 name;
    GetFontName(fontNum, name);
    for (SInt16 i = 1; i <= CountMenu(menu); ++i) {
        Str255 text;
        MenuItemText(menu, i, text);
        if (EqualPStr(text, name)) return i;
    }
    return 1;
}

void SetFontPopup(DialogRef dialog, SInt16 fontNum, SInt16 popupItem) {
    SetItemValue(dialog, popupItem, FindFontMenuItem(fontNum, GetPopupMenu(dialog, popupItem)));
}

void SetFontAndSizeItems(DialogRef dialog, SInt16 font, SInt16 size, SInt16 fontPopupItem,
                         SInt16 sizePopupItem, SInt16 sizeEditItem) {
    if (fontPopupItem > 0) SetFontPopup(dialog, font, fontPopupItem);
    SetItemNumber(dialog, sizeEditItem, size);
    SelectItemText(dialog, sizeEditItem);
    SetSizePopupHistory(dialog, sizePopupItem, sizeEditItem);
}

OSStatus NewPopupButton(DialogRef dialog, SInt16 item, SInt16 menuId, SInt16 titleIndex, UInt16 titleWidth,
                        SInt16 value, ControlRef* out) {
    Str255 title;
    title[0] = 0;
    if (titleIndex != 0) GetIndString(title, kPopupTitleList, titleIndex);
    SetPortToDialog(dialog);
    SInt16 width = titleWidth == kTitleWidthOfText ? SInt16(StringWidth(title) + 16) : SInt16(titleWidth);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    *out = nullptr;
    OSStatus err =
        CreatePopupButtonControl(GetDialogWindow(dialog), &r, title, menuId, false, width, 0, 0, out);
    if (err != noErr || !*out) return err;
    SetControlReference(*out, width);
    SetControlMaximum(*out, CountMenu(GetControlPopupMenuHandle(*out)));
    SetControlValue(*out, value);
    ShowControl(*out);
    Draw1Control(*out);
    return noErr;
}

Boolean TrackPopupButton(DialogRef dialog, ControlRef control, SInt16 menuId, SInt16* value) {
    SInt16 before = *value;
    TrackPopupItem(dialog, control, menuId, value, 0);
    return *value != before;
}

void TrackPopupItem(DialogRef dialog, ControlRef control, SInt16 menuId, SInt16* current, SInt16 offset) {
    if (!control) return;
    SetPortToDialog(dialog);
    Point mouse{};
    GetMouse(&mouse);
    Rect bounds{};
    GetControlBounds(control, &bounds);
    if (!PtInRect(mouse, &bounds)) return;
    MenuRef menu = GetControlPopupMenuHandle(control);
    if (!menu) menu = GetMenuHandle(menuId);
    if (!menu) return;
    SInt16 marked = static_cast<SInt16>(*current + offset);
    HiliteControl(control, 1);
    CheckMenuItem(menu, marked, true);
    Point at{static_cast<SInt16>(bounds.top + 1),
             static_cast<SInt16>(bounds.left + 1 + GetControlReference(control))};
    LocalToGlobal(&at);
    SInt32 chosen = PopUpMenuSelect(menu, at.v, at.h, marked > 0 ? marked : SInt16(1));
    CheckMenuItem(menu, marked, false);
    HiliteControl(control, 0);
    SInt16 item = static_cast<SInt16>(chosen & 0xFFFF);
    if (item == 0) return;
    *current = static_cast<SInt16>(item - offset);
    if (GetControlValue(control) != item) SetControlValue(control, item);
}

// --- Drawing ----------------------------------------------------------------------------------------

void SetPortToDialog(DialogRef dialog) {
    if (dialog) SetPortWindowPort(GetDialogWindow(dialog));
}

Rect FrameItemInside(DialogRef dialog, SInt16 item, SInt16 inset) {
    SetPortToDialog(dialog);
    Rect r{};
    GetDItemRect(dialog, item, &r);
    PenNormal();
    FrameRect(&r);
    InsetRect(&r, inset, inset);
    return r;
}

void InvalItem(DialogRef dialog, SInt16 item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    InvalDialogRect(dialog, &r);
}

void InvalDialogRect(DialogRef dialog, const Rect* rect) {
    if (dialog && rect) InvalWindowRect(GetDialogWindow(dialog), rect);
}

void FitItemToText(DialogRef dialog, SInt16 item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    Str255 text;
    text[0] = 0;
    GetItemText(dialog, item, text);
    SetPortToDialog(dialog);
    r.right = static_cast<SInt16>(r.left + StringWidth(text) + 2);
    SetDItemRect(dialog, item, &r);
}

void SetGray8(UInt8 level, RGBColor* rgb) {
    UInt16 v = static_cast<UInt16>(level * 257);
    *rgb = RGBColor{v, v, v};
}

void DrawEtchedLine(const Rect* rect) {
    RGBColor grey, white;
    SetGray8(153, &grey);
    SetGray8(255, &white);
    bool horizontal = rect->right - rect->left > rect->bottom - rect->top;
    RGBForeColor(&grey);
    MoveTo(rect->left, rect->top);
    if (horizontal)
        LineTo(static_cast<SInt16>(rect->right - 1), rect->top);
    else
        LineTo(rect->left, static_cast<SInt16>(rect->bottom - 1));
    RGBForeColor(&white);
    if (horizontal) {
        MoveTo(rect->left, static_cast<SInt16>(rect->top + 1));
        LineTo(static_cast<SInt16>(rect->right - 1), static_cast<SInt16>(rect->top + 1));
    } else {
        MoveTo(static_cast<SInt16>(rect->left + 1), rect->top);
        LineTo(static_cast<SInt16>(rect->left + 1), static_cast<SInt16>(rect->bottom - 1));
    }
    ForeColor(blackColor);
}

void DrawItemSeparator(DialogRef dialog, SInt16 item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    DrawEtchedLine(&r);
}

void DrawGrayFrame(const Rect* rect) {
    PenState pen;
    GetPenState(&pen);
    RGBColor fore, back, grey;
    GetForeColor(&fore);
    GetBackColor(&back);
    grey = RGBColor{static_cast<UInt16>((fore.red + back.red) / 2),
                    static_cast<UInt16>((fore.green + back.green) / 2),
                    static_cast<UInt16>((fore.blue + back.blue) / 2)};
    RGBForeColor(&grey);
    PenNormal();
    FrameRect(rect);
    RGBForeColor(&fore);
    SetPenState(&pen);
}

void FrameDialogItem(DialogRef dialog, SInt16 item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    InsetRect(&r, -1, -1);
    SetPortToDialog(dialog);
    FrameRect(&r);
}

void FrameListFocus(DialogRef dialog, SInt16 item, Boolean active) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    InsetRect(&r, -4, -4);
    SetPortToDialog(dialog);
    PenState pen;
    GetPenState(&pen);
    RGBColor fore;
    GetForeColor(&fore);
    RGBColor colour = active ? RGBColor{0x9999, 0xCCCC, 0xFFFF} : RGBColor{0xDDDD, 0xDDDD, 0xDDDD};
    RGBForeColor(&colour);
    PenSize(2, 2);
    FrameRect(&r);
    RGBForeColor(&fore);
    SetPenState(&pen);
}

GDHandle ScreenDeviceForRect(const Rect* rect) {
    for (GDHandle d = GetDeviceList(); d; d = GetNextDevice(d)) {
        Rect bounds{}, common{};
        GetDeviceBounds(d, &bounds);
        if (SectRect(&bounds, rect, &common)) return d;
    }
    return GetMainDevice();
}

void WaitForMouseDown() {
    EventRecord e{};
    while (!WaitNextEvent(mDownMask, &e, 15, nullptr)) {
    }
}
