// The pen settings dialog. The colour picker edits the pens' colours in place, so Cancel puts the
// saved ones back; the patterns are kept apart and stored on OK only.
#include "Dialogs/PenSettingsDialog.h"

#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Platform/AppResources.h"
#include "Platform/ColorPicker.h"
#include "Platform/Menus.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "Shell/DocumentWindow.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2, kPens = 8;
constexpr SInt16 kGeneralTexts = 5000, kColourPrompt = 91;
constexpr SInt16 kFirstPatternedEntry = 4;

// What the swatches paint with while the dialog is open.
const DocSettings* gSwatchSettings = nullptr;
PixPatHandle gSwatchPattern = nullptr;

void DrawPenSwatch(DialogRef dialog, DialogItemIndex item) {
    SInt16 n = SInt16(item - PenSwatchItem(0));
    if (gSwatchSettings == nullptr || n < 0 || n >= kPens) return;
    Rect r;
    GetDItemRect(dialog, item, &r);
    FrameRect(&r);
    InsetRect(&r, 1, 1);
    MakeRGBPat(gSwatchPattern, &gSwatchSettings->penColors[n]);
    FillCRect(&r, gSwatchPattern);
    Pattern black;
    PenPat(GetQDGlobalsBlack(&black));
    ForeColor(blackColor);
}

void SizeWindowIfChanged(WindowRef window, SInt16 width, SInt16 height) {
    Rect r;
    GetWindowPortBounds(window, &r);
    if (r.right - r.left != width || r.bottom - r.top != height) SizeWindow(window, width, height, true);
}

} // namespace

Float64 ClampPenWidth(Float64 millimetres) {
    if (!(millimetres >= 0.01)) return 0.01; // also what is not a number
    return std::min(millimetres, 30.0);
}

SInt16 ClampPenLineType(SInt16 typed, SInt16 pattern) {
    SInt16 t = std::clamp<SInt16>(typed, 1, 10);
    return t == 1 && pattern >= kFirstPatternedEntry ? 2 : t;
}

void PenSettingsDialog(DocWindowRecord* doc) {
    DocSettings* s = doc->settings;
    gSwatchPattern = NewPixPat();
    MenuRef patterns = GetMenu(kPenPatternMenu);
    if (patterns != nullptr) InsertMenu(patterns, -1);
    DialogRef dialog = OpenModalDialog(kPenSettingsDialogId, DialogPositionTable[kPenSettingsPositionSlot]);
    if (dialog != nullptr) {
        WindowRef window = GetDialogWindow(dialog);
        Rect full;
        GetWindowPortBounds(window, &full);
        SInt16 width = SInt16(full.right - full.left), height = SInt16(full.bottom - full.top);
        RGBColor savedColours[kPens];
        SInt16 chosen[kPens];
        ControlRef popups[kPens] = {};
        std::copy(s->penColors, s->penColors + kPens, savedColours);
        if (s->penMode == 1) {
            SetRadioGroup(dialog, kPenModeCurrent, kPenModeFromPens, kPenModeFromPens);
        } else {
            SetRadioGroup(dialog, kPenModeCurrent, kPenModeFromPens, kPenModeCurrent);
            SizeWindowIfChanged(window, width, kPenDialogShortHeight);
        }
        Float64 unit = DisplayUnitFactor(doc);
        gSwatchSettings = s;
        for (SInt16 n = 0; n < kPens; ++n) {
            SetItemUnitName(doc, dialog, SInt16(35 + n));
            SetItemLength(doc, dialog, PenWidthItem(n), s->penWidths[n] / unit, 2);
            SetItemNumber(dialog, PenLineTypeItem(n), s->penLineKinds[n]);
            chosen[n] = std::max<SInt16>(1, s->penPatterns[n]);
            NewPopupButton(dialog, PenPatternItem(n), kPenPatternMenu, 0, 0, chosen[n], &popups[n]);
            SetUserItemProc(dialog, PenSwatchItem(n), DrawPenSwatch);
        }
        SelectItemText(dialog, PenLineTypeItem(0));
        SInt16 item = 0;
        do {
            RunModalDialogStd(dialog, &item);
            if (item == kPenModeCurrent || item == kPenModeFromPens) {
                SetRadioGroup(dialog, kPenModeCurrent, kPenModeFromPens, item);
                SizeWindowIfChanged(window, width, item == kPenModeCurrent ? kPenDialogShortHeight : height);
            }
            if (item >= PenSwatchItem(0) && item < PenSwatchItem(kPens)) {
                SInt16 n = SInt16(item - PenSwatchItem(0));
                Str255 prompt;
                GetIndString(prompt, kGeneralTexts, kColourPrompt);
                RGBColor picked;
                if (GetColor(Point{0, 0}, prompt, &s->penColors[n], &picked)) {
                    s->penColors[n] = picked;
                    InvalItem(dialog, item);
                }
            }
            for (SInt16 n = 0; n < kPens; ++n) {
                if (item != PenPatternItem(n)) continue;
                TrackPopupButton(dialog, popups[n], kPenPatternMenu, &chosen[n]);
                if (chosen[n] >= kFirstPatternedEntry && GetItemShort(dialog, PenLineTypeItem(n)) < 2)
                    SetItemNumber(dialog, PenLineTypeItem(n), 2);
            }
        } while (item != kOK && item != kCancel);
        if (item == kOK) {
            MarkDocumentDirty(doc);
            for (SInt16 n = 0; n < kPens; ++n) {
                s->penPatterns[n] = chosen[n];
                s->penWidths[n] = ClampPenWidth(GetItemFormula(dialog, PenWidthItem(n)) * unit);
                s->penLineKinds[n] = ClampPenLineType(GetItemShort(dialog, PenLineTypeItem(n)), chosen[n]);
            }
            s->penMode = GetCheckBox(dialog, kPenModeCurrent) ? 0 : 1;
        } else {
            std::copy(savedColours, savedColours + kPens, s->penColors);
        }
        gSwatchSettings = nullptr;
        CloseModalDialog(dialog, &DialogPositionTable[kPenSettingsPositionSlot]);
        ResetToolState(doc, 0);
        if (item == kOK) InvalidateDocWindow(doc);
    }
    DeleteMenu(kPenPatternMenu);
    if (patterns != nullptr) DisposeMenu(patterns);
    DisposePixPat(gSwatchPattern);
    gSwatchPattern = nullptr;
}
