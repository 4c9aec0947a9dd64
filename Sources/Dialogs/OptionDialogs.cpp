// The application preferences and the small option dialogs of a drawing. Each runs on the modal
// framework until OK or Cancel and writes back only on OK.
#include "Dialogs/OptionDialogs.h"

#include "Dialogs/PolylineVertexDialog.h"
#include "Dialogs/ToolDialogServices.h"
#include "Files/Preferences.h"
#include "Model/ElementRecords.h"
#include "Model/NewDocument.h"
#include "Model/UndoJournal.h"
#include "Other/BundleFiles.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Other/NumberFormat.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Other/Alerts.h"
#include "Platform/Fonts.h"
#include "View/ContentPasses.h"
#include "View/ElementDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2;
constexpr SInt16 kPreferencesSlot = 25, kLineWidthsSlot = 11, kLineEndsSlot = 33, kArcToleranceSlot = 12,
                 kSwitchesSlot = 13;
constexpr int kPresetWidthSlot = 20; // reals978[20..25]
constexpr SInt16 kValuesNotPositive = 195, kWidthNegative = 243;

SInt16 RunUntilClosed(DialogRef dialog) {
    SInt16 item = 0;
    RunModalDialogStd(dialog, &item);
    return item;
}

bool PositiveFinite(Float64 v) {
    return std::isfinite(v) && v > 0;
}

// A length shown rounded and left as it was keeps its stored value: OK without a change changes
// nothing, also in inches.
bool FieldUnchanged(DialogRef dialog, SInt16 item, ConstStr255Param shown) {
    Str255 now;
    GetItemText(dialog, item, now);
    return EqualPStr(now, shown);
}

// --- Preferences ------------------------------------------------------------------------------------

enum : SInt16 {
    kPrefTitleBlock = 3,
    kPrefNewDrawing = 4,
    kPrefOpenDialog = 5,
    kPrefSplash = 6,
    kPrefRoundCaps = 7,
    kPrefCustomIcon = 8,
    kPrefSaveDefaults = 12,
    kPrefResetDefaults = 13,
    kPrefAlwaysOn = 14,
    kPrefUpdateCheck = 15,
    kPrefMainFont = 17,
    kPrefSmallFont = 18,
    kPrefWheelZoom = 20,
    kPrefSingleColumn = 21,
    kPrefDrawingsOnly = 22,
    kPrefOption1678 = 23,
    kPrefFullPaths = 24,
};

// The check boxes and the preference each shows, as 0 or 1.
// A switch of the packed preferences record: a byte, or a 32-bit word that may lie unaligned and so
// is copied byte-wise.
struct PrefSwitch {
    SInt16 item;
    UInt8* byte;
    size_t wordOffset;

    bool On() const {
        if (byte != nullptr) return *byte != 0;
        UInt32 word = 0;
        std::memcpy(&word, reinterpret_cast<const unsigned char*>(&GeneralPrefs) + wordOffset, sizeof word);
        return word != 0;
    }
    void Set(bool on) const {
        if (byte != nullptr) {
            *byte = on ? 1 : 0;
            return;
        }
        const UInt32 word = on ? 1 : 0;
        std::memcpy(reinterpret_cast<unsigned char*>(&GeneralPrefs) + wordOffset, &word, sizeof word);
    }
};
std::vector<PrefSwitch> PrefSwitches() {
    GeneralPrefsRecord& p = GeneralPrefs;
    return {
        {kPrefTitleBlock, &p.titleBlockForNewDrawings, 0},
        {kPrefNewDrawing, &p.newDrawingAtStart, 0},
        {kPrefOpenDialog, &p.openDialogAtStart, 0},
        {kPrefSplash, &p.showSplash, 0},
        {kPrefRoundCaps, nullptr, offsetof(GeneralPrefsRecord, roundLineCaps)},
        {kPrefCustomIcon, nullptr, offsetof(GeneralPrefsRecord, customIcon)},
        {kPrefUpdateCheck, nullptr, offsetof(GeneralPrefsRecord, autoUpdateCheck)},
        {kPrefWheelZoom, nullptr, offsetof(GeneralPrefsRecord, wheelZoom)},
        {kPrefSingleColumn, nullptr, offsetof(GeneralPrefsRecord, toolPaletteSingleColumn)},
        {kPrefDrawingsOnly, nullptr, offsetof(GeneralPrefsRecord, nativeOnlyInOpen)},
        {kPrefOption1678, nullptr, offsetof(GeneralPrefsRecord, option1678)},
        {kPrefFullPaths, nullptr, offsetof(GeneralPrefsRecord, recentFullPaths)},
    };
}

void SetFontPopupByName(DialogRef dialog, SInt16 item, ConstStr255Param name) {
    FillFontPopup(dialog, item);
    SInt16 number = 0;
    GetFNum(name, &number);
    SetFontPopup(dialog, number, item);
}

void StoreFontName(DialogRef dialog, SInt16 item, Str255 name) {
    GetFontName(GetPopupFontNum(dialog, item), name);
}

// --- Line ends --------------------------------------------------------------------------------------

enum : SInt16 { kStartPopup = 3, kEndPopup = 4, kNoRunOn = 5, kBothRunOn = 8 };
constexpr UInt16 kEndFlagBits = 0x01FB; // bits 0, 1 and 3-8: what the dialog sets

} // namespace

Float64* PresetLineWidths(DocSettings* settings) {
    return settings->reals978 + kPresetWidthSlot;
}

UInt16 LineEndFlags(SInt16 startPopup, SInt16 endPopup, SInt16 radio) {
    UInt16 flags = 0;
    flags = SetLineStartMarkKind(flags, UInt16(std::max<SInt16>(startPopup - 1, 0)));
    flags = SetLineEndMarkKind(flags, UInt16(std::max<SInt16>(endPopup - 1, 0)));
    if (radio == 6 || radio == 8) flags |= kLineOpenStart;
    if (radio == 7 || radio == 8) flags |= kLineOpenEnd;
    return flags;
}

Float64 ClampArcTolerance(Float64 tolerance) {
    if (!(tolerance >= 0.001)) return 0.001; // NaN too
    return std::min(tolerance, 1000.0);
}

void PreferencesDialog(DocWindowRecord* doc) {
    DialogRef dialog = OpenModalDialog(kPreferencesDialog, DialogPositionTable[kPreferencesSlot]);
    if (dialog == nullptr) return;
    const auto switches = PrefSwitches();
    for (const PrefSwitch& s : switches)
        SetCheckBox(dialog, s.item, s.On());
    SetCheckBox(dialog, kPrefAlwaysOn, true);
    EnableItem(dialog, kPrefAlwaysOn, false);
    EnableItem(dialog, kPrefSaveDefaults, OpenDocumentList != nullptr);
    EnableItem(dialog, kPrefResetDefaults, OpenDocumentList != nullptr);
    SetFontPopupByName(dialog, kPrefMainFont, GeneralPrefs.appFont1);
    SetFontPopupByName(dialog, kPrefSmallFont, GeneralPrefs.appFont2);
    SInt16 item = 0;
    do {
        item = RunUntilClosed(dialog);
        if (item == kPrefResetDefaults) ResetDocumentDefaults();
        if (item == kPrefSaveDefaults) {
            DocWindowRecord* from = doc != nullptr ? doc : FrontDocument();
            if (from != nullptr) SaveDocumentDefaults(from);
        }
        for (const PrefSwitch& s : switches)
            if (item == s.item) ToggleCheckBox(dialog, item);
    } while (item != kOK && item != kCancel);
    if (item == kOK) {
        for (const PrefSwitch& s : switches)
            s.Set(GetCheckBox(dialog, s.item));
        StoreFontName(dialog, kPrefMainFont, GeneralPrefs.appFont1);
        StoreFontName(dialog, kPrefSmallFont, GeneralPrefs.appFont2);
        SetAppFontNames(GeneralPrefs.appFont1, GeneralPrefs.appFont2);
    }
    CloseModalDialog(dialog, &DialogPositionTable[kPreferencesSlot]);
    if (item != kOK) return;
    SavePreferences();
    RebuildRecentMenu();
}

void LineWidthsDialog(DocWindowRecord* doc) {
    enum : SInt16 { kFirstPicture = 3, kFirstWidth = 9, kFirstUnit = 15, kCopyFirst = 21, kSwitch = 23 };
    if (doc == nullptr) return;
    DocSettings* s = doc->settings;
    DialogRef dialog = OpenModalDialog(kLineWidthsDialog, DialogPositionTable[kLineWidthsSlot]);
    if (dialog == nullptr) return;
    SetCheckBox(dialog, kSwitch, s->lineWidthOption != 0);
    const Float64 unit = DisplayUnitFactor(doc);
    Float64* widths = PresetLineWidths(s);
    Str255 shown[kPresetWidthCount];
    for (int i = 0; i < kPresetWidthCount; ++i) {
        SetItemLength(doc, dialog, SInt16(kFirstWidth + i), widths[i] / unit, SInt16(s->decimals));
        GetItemText(dialog, SInt16(kFirstWidth + i), shown[i]);
        SetItemUnitName(doc, dialog, SInt16(kFirstUnit + i));
    }
    // The sample pictures, when the program has them.
    FSRef folder{};
    const bool haveFolder = FindResourcesFolder(&folder) == noErr;
    for (int i = 0; i < kPresetWidthCount && haveFolder; ++i) {
        FSRef file{};
        const std::string name = "linie_" + std::to_string(3 + i) + ".png";
        if (FSMakeChildRef(&folder, name.c_str(), &file) != noErr || !FSRefExists(&file)) continue;
        Rect r{};
        GetDItemRect(dialog, SInt16(kFirstPicture + i), &r);
        DrawPNGFile(&file, DialogToWindow(dialog), &r);
    }
    SelectItemText(dialog, kFirstWidth);
    SInt16 item = 0;
    for (;;) {
        item = RunUntilClosed(dialog);
        if (item == kCancel) break;
        if (item == kOK) {
            // Every width must read as a number of at least 0 (no preset) before any is stored.
            Float64 read[kPresetWidthCount];
            bool ok = true;
            for (int i = 0; i < kPresetWidthCount && ok; ++i) {
                ok = ReadNumberField(dialog, SInt16(kFirstWidth + i), &read[i]);
                if (ok && !(read[i] >= 0 && std::isfinite(read[i] * unit))) {
                    ShowErrorStr128(kWidthNegative);
                    SelectItemText(dialog, SInt16(kFirstWidth + i));
                    ok = false;
                }
            }
            if (!ok) continue;
            for (int i = 0; i < kPresetWidthCount; ++i)
                if (!FieldUnchanged(dialog, SInt16(kFirstWidth + i), shown[i])) widths[i] = read[i] * unit;
            s->lineWidthOption = GetCheckBox(dialog, kSwitch) ? 1 : 0;
            MarkDocumentChanged(doc);
            break;
        }
        if (item == kSwitch) ToggleCheckBox(dialog, kSwitch);
        if (item == kCopyFirst) {
            Str255 first;
            GetItemText(dialog, kFirstWidth, first);
            if (first[0] > 0)
                for (int i = 1; i < kPresetWidthCount; ++i)
                    SetItemText(dialog, SInt16(kFirstWidth + i), first);
            SelectItemText(dialog, kFirstWidth);
        }
    }
    CloseModalDialog(dialog, &DialogPositionTable[kLineWidthsSlot]);
    if (item == kOK) UpdateViewExtent(doc, true);
}

void LineEndsDialog(DocWindowRecord* doc, LineRecord* line) {
    if (doc == nullptr || line == nullptr) return;
    DialogRef dialog = OpenModalDialog(kLineEndsDialog, DialogPositionTable[kLineEndsSlot]);
    if (dialog == nullptr) return;
    const UInt16 old = line->flags;
    const SInt16 startShown = SInt16(LineStartMarkKind(old) + 1), endShown = SInt16(LineEndMarkKind(old) + 1);
    SetItemValue(dialog, kStartPopup, startShown);
    SetItemValue(dialog, kEndPopup, endShown);
    const SInt16 radio = SInt16(kNoRunOn + (old & kLineOpenStart ? 1 : 0) + (old & kLineOpenEnd ? 2 : 0));
    SetRadioGroup(dialog, kNoRunOn, kBothRunOn, radio);
    SInt16 item = 0, chosen = radio;
    do {
        item = RunUntilClosed(dialog);
        if (item >= kNoRunOn && item <= kBothRunOn)
            chosen = SetRadioGroup(dialog, kNoRunOn, kBothRunOn, item);
    } while (item != kOK && item != kCancel);
    // A pop-up left as it opened keeps the line's kind, even one the menu has no entry for.
    const SInt16 start = GetItemValue(dialog, kStartPopup), end = GetItemValue(dialog, kEndPopup);
    UInt16 flags =
        LineEndFlags(start == startShown ? startShown : start, end == endShown ? endShown : end, chosen);
    // The bits the dialog does not show (not selectable, ...) stay as they were.
    flags = UInt16(flags | (old & ~kEndFlagBits));
    CloseModalDialog(dialog, &DialogPositionTable[kLineEndsSlot]);
    if (item != kOK || flags == old) return;
    LineRecord* copy = doc->drawing->undo.undoCopyLine;
    if (copy != nullptr) *copy = *line;
    BeginUndoStep(doc);
    RequestRedraw(doc);
    line->flags = flags;
    DrawLineElement(line, doc);
    RecordUndoLine(doc, line, true);
    if (copy != nullptr) RecordUndoLine(doc, copy, false);
    EndUndoStep(doc);
    MarkDocumentChanged(doc);
}

void ArcToleranceDialog(DocWindowRecord* doc) {
    constexpr SInt16 kValue = 4, kUnit = 5;
    if (doc == nullptr) return;
    DocSettings* s = doc->settings;
    s->chordTolerance = ClampArcTolerance(s->chordTolerance);
    DialogRef dialog = OpenModalDialog(kArcToleranceDialog, DialogPositionTable[kArcToleranceSlot]);
    if (dialog == nullptr) return;
    const Float64 unit = DisplayUnitFactor(doc);
    SetItemLength(doc, dialog, kValue, s->chordTolerance / unit, 3);
    Str255 shown;
    GetItemText(dialog, kValue, shown);
    SetItemUnitName(doc, dialog, kUnit);
    SelectItemText(dialog, kValue);
    for (;;) {
        const SInt16 item = RunUntilClosed(dialog);
        if (item == kCancel) break;
        Float64 v = 0;
        if (item != kOK || !ReadNumberField(dialog, kValue, &v)) continue;
        if (!PositiveFinite(v * unit)) {
            ShowErrorStr128(kValuesNotPositive);
            SelectItemText(dialog, kValue);
            continue;
        }
        if (!FieldUnchanged(dialog, kValue, shown)) s->chordTolerance = v * unit;
        break;
    }
    CloseModalDialog(dialog, &DialogPositionTable[kArcToleranceSlot]);
}

void OptionsDialog186(DocWindowRecord* doc) {
    constexpr SInt16 kFirst = 3, kSecond = 4;
    if (doc == nullptr) return;
    DocSettings* s = doc->settings;
    DialogRef dialog = OpenModalDialog(kSwitchesDialog, DialogPositionTable[kSwitchesSlot]);
    if (dialog == nullptr) return;
    SetCheckBox(dialog, kFirst, s->dialog186Option == 0);
    SetCheckBox(dialog, kSecond, s->dialog186Option2 != 0);
    SInt16 item = 0;
    do {
        item = RunUntilClosed(dialog);
        if (item == kFirst || item == kSecond) ToggleCheckBox(dialog, item);
    } while (item != kOK && item != kCancel);
    if (item == kOK) {
        s->dialog186Option = GetCheckBox(dialog, kFirst) ? 0 : 1;
        s->dialog186Option2 = GetCheckBox(dialog, kSecond) ? 1 : 0;
    }
    CloseModalDialog(dialog, &DialogPositionTable[kSwitchesSlot]);
}
