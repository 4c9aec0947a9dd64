// The colours dialog: a working colour is edited by the grid or the colour picker and written at once
// into the chosen display or pen colour, so the preview shows it; Cancel puts every colour back.
#include "Dialogs/ColorsDialog.h"

#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Model/SharedUtilities.h"
#include "Platform/AppResources.h"
#include "Platform/ColorPicker.h"
#include "Platform/Events.h"
#include "Platform/QuickDraw.h"
#include "Shell/StartupShutdown.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <array>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
enum : SInt16 {
    kPreview = 3,
    kGrid = 4,
    kSwatch = 5,
    kChoicePopup = 6,
    kSwitch1 = 7,
    kSwitch2 = 8,
    kSystemTable = 9,
    kElementTable = 10,
};
constexpr SInt16 kPositionSlot = 5;
constexpr SInt16 kGeneralStrings = 5000;
constexpr SInt16 kPenLabel = 21, kHighlightLabel = 85, kGridLabel = 86, kReferenceLabel = 87,
                 kIntersectionLabel = 88, kHandleLabel = 89, kPickerPrompt = 91;
constexpr int kColorSwitchSlot = 1; // words1978[1..2]
constexpr SInt16 kCell = 8, kCells = 16;

// What the item procedures draw from while the dialog is open.
struct ColorsState {
    RGBColor working{};
    PixPatHandle pattern = nullptr;
};
ColorsState gColors;

DocWindowRecord* DocOf(DialogRef dialog) {
    return reinterpret_cast<DocWindowRecord*>(GetWRefCon(DialogToWindow(dialog)));
}

void PaintWith(const Rect& r, const RGBColor& colour) {
    MakeRGBPat(gColors.pattern, &colour);
    PenPixPat(gColors.pattern);
    PaintRect(&r);
    PenNormal();
    ForeColor(blackColor);
}

void GeneralString(SInt16 n, Str255 text) {
    GetIndString(text, kGeneralStrings, n);
}

// The item framed in black; its inside, within the frame.
Rect FramedItemInside(DialogRef dialog, DialogItemIndex item) {
    Rect r{};
    GetDItemRect(dialog, item, &r);
    PenNormal();
    ForeColor(blackColor);
    FrameRect(&r);
    InsetRect(&r, 1, 1);
    return r;
}

void DrawGrid(DialogRef dialog, DialogItemIndex item) {
    Rect r = FramedItemInside(dialog, item);
    for (SInt16 k = kCell - 1; k < kCell * kCells - 1; k += kCell) {
        MoveTo(r.left, SInt16(r.top + k));
        LineTo(SInt16(r.left + 126), SInt16(r.top + k));
        MoveTo(SInt16(r.left + k), r.top);
        LineTo(SInt16(r.left + k), SInt16(r.top + 126));
    }
    const RGBColor* table = ColorTable(DocOf(dialog)->settings->colorTableChoice);
    for (int i = 0; i < 256; ++i) {
        const SInt16 left = SInt16(r.left + (i % kCells) * kCell), top = SInt16(r.top + (i / kCells) * kCell);
        PaintWith(Rect{top, left, SInt16(top + 7), SInt16(left + 7)}, table[i]);
    }
}

void DrawSwatch(DialogRef dialog, DialogItemIndex item) {
    Rect r = FramedItemInside(dialog, item);
    PaintWith(r, gColors.working);
}

void DrawPreview(DialogRef dialog, DialogItemIndex item) {
    const DocSettings* s = DocOf(dialog)->settings;
    Rect r{};
    GetDItemRect(dialog, item, &r);
    const SInt16 left = r.left, top = r.top;
    TextFont(AppFontNumber());
    TextSize(9);
    TextFace(0);
    FontInfo info{};
    GetFontInfo(&info);
    const SInt16 lineHeight = SInt16(info.ascent + info.descent + info.leading);
    PaintWith(r, s->backgroundColor);
    Str255 text;
    if (s->penMode == 1) {
        const SInt16 middle = SInt16((r.left + r.right) / 2);
        for (int n = 1; n <= 8; ++n) {
            RGBForeColor(&s->penColors[n - 1]);
            GeneralString(kPenLabel, text);
            text[++text[0]] = UInt8('0' + n);
            const SInt16 y = SInt16(top + info.ascent + 10 + (n - 1) * lineHeight);
            MoveTo(middle, y);
            DrawString(text);
            const SInt16 end = SInt16(middle + StringWidth(text));
            const SInt16 ly = SInt16(top + 10 + lineHeight / 2 + (n - 1) * lineHeight);
            MoveTo(SInt16(end + 10), ly);
            LineTo(SInt16(end + 60), ly);
        }
    }
    RGBForeColor(&s->selectionColor);
    GeneralString(kHighlightLabel, text);
    MoveTo(SInt16(left + 20), SInt16(top + info.ascent + 10));
    DrawString(text);
    Rect box{SInt16(top + 10), SInt16(left + 20), SInt16(top + 10 + lineHeight),
             SInt16(left + 20 + StringWidth(text))};
    InsetRect(&box, -1, -1);
    FrameRect(&box);
    RGBForeColor(&s->gridColor);
    for (SInt16 k = 10; k <= 35; k += 5) {
        MoveTo(SInt16(left + 5), SInt16(top + k + 25));
        LineTo(SInt16(left + 40), SInt16(top + k + 25));
        MoveTo(SInt16(left + k), SInt16(top + 30));
        LineTo(SInt16(left + k), SInt16(top + 65));
    }
    GeneralString(kGridLabel, text);
    MoveTo(SInt16(left + 45), SInt16(top + 50));
    DrawString(text);
    RGBForeColor(&s->gridColor2);
    PenSize(3, 3);
    MoveTo(SInt16(left + 21), SInt16(top + 76));
    LineTo(SInt16(left + 21), SInt16(top + 96));
    MoveTo(SInt16(left + 11), SInt16(top + 86));
    LineTo(SInt16(left + 31), SInt16(top + 86));
    PenNormal();
    GeneralString(kReferenceLabel, text);
    MoveTo(SInt16(left + 42), SInt16(top + 86));
    DrawString(text);
    RGBForeColor(&s->displayColors[0]);
    MoveTo(SInt16(left + 5), SInt16(top + 110));
    LineTo(SInt16(left + 8), SInt16(top + 113));
    MoveTo(SInt16(left + 5), SInt16(top + 113));
    LineTo(SInt16(left + 8), SInt16(top + 110));
    GeneralString(kIntersectionLabel, text);
    MoveTo(SInt16(left + 18), SInt16(top + 114));
    DrawString(text);
    RGBForeColor(&s->displayColors[1]);
    for (SInt16 i = 0; i <= 2; ++i) {
        MoveTo(SInt16(left + 5), SInt16(top + 130 + i));
        LineTo(SInt16(left + 7), SInt16(top + 130 + i));
    }
    GeneralString(kHandleLabel, text);
    MoveTo(SInt16(left + 18), SInt16(top + 134));
    DrawString(text);
    TextFont(0);
    TextSize(12);
    TextFace(0);
    ForeColor(blackColor);
    PenNormal();
}

// The standard 256 colours of an 8-bit screen: the 6 x 6 x 6 cube from white, then ramps of red,
// green, blue and grey without the cube's levels, then black.
std::array<RGBColor, 256> MakeSystemTable() {
    std::array<RGBColor, 256> t{};
    const UInt16 cube[6] = {0xFFFF, 0xCCCC, 0x9999, 0x6666, 0x3333, 0x0000};
    for (int i = 0; i < 215; ++i)
        t[i] = RGBColor{cube[i / 36], cube[(i / 6) % 6], cube[i % 6]};
    const UInt16 ramp[10] = {0xEEEE, 0xDDDD, 0xBBBB, 0xAAAA, 0x8888, 0x7777, 0x5555, 0x4444, 0x2222, 0x1111};
    for (int k = 0; k < 10; ++k) {
        t[215 + k] = RGBColor{ramp[k], 0, 0};
        t[225 + k] = RGBColor{0, ramp[k], 0};
        t[235 + k] = RGBColor{0, 0, ramp[k]};
        t[245 + k] = RGBColor{ramp[k], ramp[k], ramp[k]};
    }
    t[255] = RGBColor{0, 0, 0};
    return t;
}

} // namespace

const RGBColor* ColorTable(SInt16 choice) {
    static const std::array<RGBColor, 256> system = MakeSystemTable();
    return choice == 0 ? system.data() : ElementPalette;
}

RGBColor* EditedColor(DocSettings* settings, SInt16 index) {
    RGBColor* display[6] = {&settings->backgroundColor,  &settings->selectionColor,
                            &settings->gridColor,        &settings->gridColor2,
                            &settings->displayColors[0], &settings->displayColors[1]};
    if (index >= 0 && index < 6) return display[index];
    if (index >= 6 && index < kColorsEditable) return &settings->penColors[index - 6];
    return nullptr;
}

SInt16 ColorGridCell(const Rect& inner, Point where) {
    if (where.h < inner.left || where.h >= inner.right || where.v < inner.top || where.v >= inner.bottom)
        return -1;
    const int cell = ((where.v - inner.top) / kCell) * kCells + (where.h - inner.left) / kCell;
    return SInt16(std::clamp(cell, 0, 255));
}

SInt16& ColorSwitch(DocSettings* settings, int n) {
    return settings->words1978[kColorSwitchSlot + n];
}

void ColorsDialog(DocWindowRecord* doc) {
    if (doc == nullptr) return;
    DocSettings* s = doc->settings;
    gColors.pattern = NewPixPat();
    DialogRef dialog = OpenModalDialog(kColorsDialog, DialogPositionTable[kPositionSlot]);
    if (dialog == nullptr) {
        DisposePixPat(gColors.pattern);
        gColors.pattern = nullptr;
        return;
    }
    SetWRefCon(DialogToWindow(dialog), reinterpret_cast<long>(doc));
    SInt16 edited = 0;
    gColors.working = *EditedColor(s, edited);
    RGBColor saved[kColorsEditable];
    for (SInt16 i = 0; i < kColorsEditable; ++i)
        saved[i] = *EditedColor(s, i);
    SetItemValue(dialog, kChoicePopup, 1);
    SetUserItemProc(dialog, kPreview, DrawPreview);
    SetUserItemProc(dialog, kSwatch, DrawSwatch);
    SetUserItemProc(dialog, kGrid, DrawGrid);
    SetCheckBox(dialog, kSwitch1, ColorSwitch(s, 0) != 0);
    SetCheckBox(dialog, kSwitch2, ColorSwitch(s, 1) != 0);
    SetRadioGroup(dialog, kSystemTable, kElementTable,
                  s->colorTableChoice == 0 ? kSystemTable : kElementTable);
    SInt16 item = 0;
    do {
        RunModalDialogStd(dialog, &item);
        switch (item) {
        case kSwitch1:
        case kSwitch2:
            ToggleCheckBox(dialog, item);
            break;
        case kGrid: {
            Rect inner{};
            GetDItemRect(dialog, kGrid, &inner);
            InsetRect(&inner, 1, 1);
            SetPortToDialog(dialog);
            Point where{};
            GetMouse(&where);
            if (SInt16 cell = ColorGridCell(inner, where); cell >= 0) {
                gColors.working = ColorTable(s->colorTableChoice)[cell];
                InvalItem(dialog, kSwatch);
                InvalItem(dialog, kPreview);
            }
            break;
        }
        case kChoicePopup:
            edited = SInt16(std::clamp<SInt16>(GetItemValue(dialog, kChoicePopup), 1, kColorsEditable) - 1);
            gColors.working = *EditedColor(s, edited);
            InvalItem(dialog, kSwatch);
            break;
        case kSwatch: {
            Str255 prompt;
            GetIndString(prompt, kGeneralStrings, kPickerPrompt);
            RGBColor picked{};
            if (GetColor(Point{0, 0}, prompt, &gColors.working, &picked)) {
                gColors.working = picked;
                InvalItem(dialog, kSwatch);
                InvalItem(dialog, kPreview);
            }
            break;
        }
        case kSystemTable:
        case kElementTable:
            SetRadioGroup(dialog, kSystemTable, kElementTable, item);
            s->colorTableChoice = item == kElementTable ? 1 : 0;
            InvalItem(dialog, kGrid);
            break;
        default:
            break;
        }
        if (item != kCancel) *EditedColor(s, edited) = gColors.working;
    } while (item != kOK && item != kCancel);
    if (item == kCancel)
        for (SInt16 i = 0; i < kColorsEditable; ++i)
            *EditedColor(s, i) = saved[i];
    if (item == kOK) {
        ColorSwitch(s, 0) = GetCheckBox(dialog, kSwitch1) ? 1 : 0;
        ColorSwitch(s, 1) = GetCheckBox(dialog, kSwitch2) ? 1 : 0;
    }
    CloseModalDialog(dialog, &DialogPositionTable[kPositionSlot]);
    if (item == kOK) {
        MarkDocumentChanged(doc);
        InvalidateDocWindow(doc);
    }
    DisposePixPat(gColors.pattern);
    gColors.pattern = nullptr;
}
