// Dialog 188, the import options, with its DXF fields: dimensions as the program's own or as their
// blocks, the import scale and the code page of DXF texts. Stored on OK only.
#include "Dialogs/AskingDialogs.h"

#include "Files/Preferences.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Platform/QuickDraw.h"

#include <cmath>

namespace {

constexpr SInt16 kImportOptionsDialog = 188;
constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kDimensionsBox = 4, kScaleField = 5, kFirstCodePage = 6, kLastCodePage = 19;
constexpr SInt16 kCodePageCount = kLastCodePage - kFirstCodePage + 1;
constexpr Float64 kSmallestShownScale = 0.000001;

} // namespace

Boolean ImportOptionsDialog() {
    DialogRef dialog = OpenModalDialog(kImportOptionsDialog, Point{0, 0});
    if (dialog == nullptr) return false;
    SetCheckBox(dialog, kDimensionsBox, GeneralPrefs.importDimensions != 0);
    Float64 scale = GeneralPrefs.importScale;
    if (!std::isfinite(scale) || scale < kSmallestShownScale) scale = 1.0;
    Str255 text;
    FormatReal(scale, 6, text);
    SetItemText(dialog, kScaleField, text);
    UInt32 page = GeneralPrefs.codePage < UInt32(kCodePageCount) ? GeneralPrefs.codePage : 6;
    SetRadioGroup(dialog, kFirstCodePage, kLastCodePage, SInt16(kFirstCodePage + page));
    SelectItemText(dialog, kScaleField);
    SInt16 item = 0;
    for (;;) {
        RunModalDialogStd(dialog, &item);
        if (item == kCancel) break;
        if (item == kDimensionsBox) ToggleCheckBox(dialog, kDimensionsBox);
        if (item >= kFirstCodePage && item <= kLastCodePage) {
            SetRadioGroup(dialog, kFirstCodePage, kLastCodePage, item);
            page = UInt32(item - kFirstCodePage);
        }
        if (item != kOK) continue;
        // A scale of 0 (or one that is no number) would fold the drawing away; the user types another.
        scale = GetItemFormula(dialog, kScaleField);
        if (std::isfinite(scale) && scale > 0) break;
        SysBeep(1);
        SelectItemText(dialog, kScaleField);
    }
    Boolean dimensions = IsCheckBoxOn(dialog, kDimensionsBox);
    CloseModalDialog(dialog, nullptr);
    if (item != kOK) return false;
    GeneralPrefs.importDimensions = dimensions ? 1 : 0;
    GeneralPrefs.importScale = scale;
    GeneralPrefs.codePage = page;
    return true;
}
