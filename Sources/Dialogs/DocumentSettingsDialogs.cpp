// The grid, document options, dimension settings and pick aperture dialogs. The paged dialogs edit a
// working copy and touch the drawing's settings only on OK; the page shown is read back into the copy
// before every switch and before closing.
#include "Dialogs/DocumentSettingsDialogs.h"

#include "Model/Dimensions.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Interface/DialogItems.h"
#include "Interface/ModalDialogs.h"
#include "Model/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppResources.h"
#include "Shell/DocumentWindow.h"
#include "Platform/Menus.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr SInt16 kOK = 1, kCancel = 2, kPagePopup = 3;
constexpr SInt16 kFontMenu = 512;
constexpr SInt16 kSettingsMessageList = 1330;
constexpr SInt16 kMostDecimals = 10;

void SetUnitNameItem(const DocWindowRecord* doc, DialogRef dialog, SInt16 item) {
    Str255 name;
    UnitName(doc, name);
    SetItemText(dialog, item, name);
}

// --- Pages ------------------------------------------------------------------------------------------

// A dialog whose page items follow its own: page item k is dialog item base + k.
struct Pages {
    DialogRef dialog = nullptr;
    SInt16 listBase = 0; // the item list of page n is listBase + n
    SInt16 base = 0;
    SInt16 count = 0;
    SInt16 page = 1;

    SInt16 Item(SInt16 k) const { return SInt16(base + k); }
    void Append(SInt16 newPage) {
        page = newPage;
        AppendDITL(dialog, SInt16(listBase + page), overlayDITL);
        count = SInt16(CountDITL(dialog) - base);
    }
    void Remove() {
        ShortenDITL(dialog, count);
        count = 0;
        InvalDialogRect(dialog, &kSettingsPageArea);
    }
};

template <typename Copy> struct PagedRun {
    Pages pages;
    Copy* copy;
    void (*fill)(const DocWindowRecord*, Pages&, Copy&);
    void (*read)(const DocWindowRecord*, Pages&, Copy&);
    void (*click)(Pages&, Copy&, SInt16 k);

    void Start(const DocWindowRecord* doc, SInt16 page) {
        pages.Append(page);
        fill(doc, pages, *copy);
    }
};

// Runs the loop until OK or Cancel; a page switch is remembered in *rememberedPage at once.
template <typename Copy> SInt16 RunPaged(DocWindowRecord* doc, PagedRun<Copy>& r, SInt16* rememberedPage) {
    Pages& p = r.pages;
    for (;;) {
        SInt16 item = 0;
        RunModalDialogStd(p.dialog, &item);
        if (item == kOK || item == kCancel) {
            r.read(doc, p, *r.copy);
            return item;
        }
        if (item == kPagePopup) {
            SInt16 chosen = GetItemValue(p.dialog, kPagePopup);
            if (chosen == p.page || chosen < 1) continue;
            r.read(doc, p, *r.copy);
            p.Remove();
            *rememberedPage = chosen;
            p.Append(chosen);
            r.fill(doc, p, *r.copy);
            continue;
        }
        if (item > p.base) r.click(p, *r.copy, SInt16(item - p.base));
    }
}

void ToggleIf(Pages& p, SInt16 k, std::initializer_list<SInt16> toggles) {
    for (SInt16 t : toggles)
        if (k == t) ToggleCheckBox(p.dialog, p.Item(k));
}

// Radio groups given by their first page item and size: the hit one becomes the only one on.
void RadioIf(Pages& p, SInt16 k, std::initializer_list<std::pair<SInt16, SInt16>> groups) {
    for (auto [first, size] : groups)
        if (k >= first && k < first + size)
            SetRadioGroup(p.dialog, p.Item(first), p.Item(SInt16(first + size - 1)), p.Item(k));
}

SInt16 RadioValue(Pages& p, SInt16 first, SInt16 size) {
    for (SInt16 i = 0; i < size; ++i)
        if (GetCheckBox(p.dialog, p.Item(SInt16(first + i)))) return i;
    return 0;
}

void SetRadioValue(Pages& p, SInt16 first, SInt16 size, SInt16 value) {
    value = std::clamp<SInt16>(value, 0, SInt16(size - 1));
    SetRadioGroup(p.dialog, p.Item(first), p.Item(SInt16(first + size - 1)), p.Item(SInt16(first + value)));
}

void SetTextItem(Pages& p, SInt16 k, ConstStr255Param text) {
    SetItemText(p.dialog, p.Item(k), text);
}

// The item's text cut to the capacity.
void GetCutText(Pages& p, SInt16 k, StringPtr dest, UInt8 capacity) {
    Str255 text;
    GetItemText(p.dialog, p.Item(k), text);
    if (text[0] > capacity) text[0] = capacity;
    CopyPStr(dest, SInt16(capacity + 1), text);
}

// --- Document options -------------------------------------------------------------------------------

struct OptionsCopy {
    UInt16 choices[3]; // texts, dimensions, areas shown: 0..2
    UInt8 keepBackup;
    Float64 number;
    Float64 length1;
    UInt16 areasFirst;
    Float64 length2;
    UInt16 cornerZoom, animatedZoom;
    UInt8 yesNo[5]; // frames shown, runs-on lines, two options, colour by pen
    UInt16 count, decimals;
    Float64 relative;
    UInt16 pointMarks;
};

// Fields of the options dialog that nothing else names.
Float64& OptionsNumber(DocSettings* s) {
    return s->real858;
}
Float64& OptionsLength1(DocSettings* s) {
    return s->reals834[1];
}
Float64& OptionsLength2(DocSettings* s) {
    return s->real874;
}

void CopyOptionsIn(const DocSettings* src, OptionsCopy& c) {
    DocSettings* s = const_cast<DocSettings*>(src);
    c.choices[0] = s->textDisplayMode;
    c.choices[1] = s->dimDisplayMode;
    c.choices[2] = UInt16(s->areaDisplayMode);
    c.keepBackup = s->keepBackup;
    c.number = OptionsNumber(s);
    c.length1 = OptionsLength1(s);
    c.areasFirst = s->areasFirst;
    c.length2 = OptionsLength2(s);
    c.cornerZoom = UInt16(s->cornerZoom);
    c.animatedZoom = UInt16(s->animatedZoom);
    c.yesNo[0] = s->viewFramesShown;
    c.yesNo[1] = s->markNewLines;
    c.yesNo[2] = s->flag75;
    c.yesNo[3] = s->flags82[0];
    c.yesNo[4] = s->colorByPen;
    c.count = UInt16(s->word384);
    c.decimals = s->decimals;
    c.relative = s->typedCoordsRelative;
    c.pointMarks = UInt16(s->displaySwitch1);
}

void CopyOptionsOut(const OptionsCopy& c, DocSettings* s) {
    s->textDisplayMode = c.choices[0];
    s->dimDisplayMode = c.choices[1];
    s->areaDisplayMode = SInt16(c.choices[2]);
    s->keepBackup = c.keepBackup;
    OptionsNumber(s) = c.number;
    OptionsLength1(s) = c.length1;
    s->areasFirst = c.areasFirst;
    OptionsLength2(s) = c.length2;
    s->cornerZoom = SInt16(c.cornerZoom);
    s->animatedZoom = SInt16(c.animatedZoom);
    s->viewFramesShown = c.yesNo[0];
    s->markNewLines = c.yesNo[1];
    s->flag75 = c.yesNo[2];
    s->flags82[0] = c.yesNo[3];
    s->colorByPen = c.yesNo[4];
    s->word384 = SInt16(c.count);
    s->decimals = c.decimals;
    s->typedCoordsRelative = c.relative;
    s->displaySwitch1 = SInt16(c.pointMarks);
}

void FillOptionsPage(const DocWindowRecord* doc, Pages& p, OptionsCopy& c) {
    DialogRef d = p.dialog;
    if (p.page == 1) {
        SetRadioValue(p, 12, 3, SInt16(c.choices[0]));
        SetRadioValue(p, 15, 3, SInt16(c.choices[1]));
        SetRadioValue(p, 18, 3, SInt16(c.choices[2]));
        SetCheckBox(d, p.Item(1), c.keepBackup != 0);
        SetItemNumber(d, p.Item(3), SInt32(std::lround(std::isfinite(c.number) ? c.number : 0)));
        SetItemLength(doc, d, p.Item(5), c.length1, 2);
        SetCheckBox(d, p.Item(7), c.areasFirst == 1);
        SetItemLength(doc, d, p.Item(10), c.length2, 1);
        SetCheckBox(d, p.Item(21), c.cornerZoom != 0);
        SetCheckBox(d, p.Item(28), c.animatedZoom != 0);
        SetUnitNameItem(doc, d, p.Item(6));
        SetUnitNameItem(doc, d, p.Item(9));
        SelectItemText(d, p.Item(10));
        return;
    }
    for (SInt16 i = 0; i < 5; ++i)
        SetRadioValue(p, SInt16(1 + 2 * i), 2, c.yesNo[i] ? 0 : 1);
    SetItemNumber(d, p.Item(13), c.count);
    SetItemNumber(d, p.Item(14), c.decimals);
    SetCheckBox(d, p.Item(15), c.relative != 0);
    SetCheckBox(d, p.Item(16), c.pointMarks != 0);
    SelectItemText(d, p.Item(13));
}

void ReadOptionsPage(const DocWindowRecord*, Pages& p, OptionsCopy& c) {
    DialogRef d = p.dialog;
    if (p.page == 1) {
        c.choices[0] = UInt16(RadioValue(p, 12, 3));
        c.choices[1] = UInt16(RadioValue(p, 15, 3));
        c.choices[2] = UInt16(RadioValue(p, 18, 3));
        c.keepBackup = GetCheckBox(d, p.Item(1));
        c.number = GetItemShort(d, p.Item(3));
        c.length1 = GetItemFormula(d, p.Item(5));
        c.areasFirst = GetCheckBox(d, p.Item(7)) ? 1 : 0;
        c.length2 = GetItemFormula(d, p.Item(10));
        c.cornerZoom = GetCheckBox(d, p.Item(21));
        c.animatedZoom = GetCheckBox(d, p.Item(28));
        return;
    }
    for (SInt16 i = 0; i < 5; ++i)
        c.yesNo[i] = RadioValue(p, SInt16(1 + 2 * i), 2) == 0;
    c.count = UInt16(GetItemShort(d, p.Item(13)));
    // Lengths everywhere are written with this many decimals: a typed -1 must not become 65535.
    c.decimals = UInt16(std::clamp<SInt16>(GetItemShort(d, p.Item(14)), 0, kMostDecimals));
    c.relative = GetCheckBox(d, p.Item(15)) ? 1.0 : 0.0;
    c.pointMarks = GetCheckBox(d, p.Item(16));
}

void ClickOptionsPage(Pages& p, OptionsCopy&, SInt16 k) {
    if (p.page == 1) {
        ToggleIf(p, k, {1, 7, 21, 28});
        RadioIf(p, k, {{12, 3}, {15, 3}, {18, 3}});
        return;
    }
    RadioIf(p, k, {{1, 2}, {3, 2}, {5, 2}, {7, 2}, {9, 2}});
    ToggleIf(p, k, {15, 16});
}

// --- Dimension settings -----------------------------------------------------------------------------

struct DimensionCopy {
    Float64 textHeight; // the page 1 length
    SInt16 decimals;
    UInt16 flags;
    SInt16 font;
    Str255 prefix, suffix; // kept to 10 characters
    UInt8 askText;
    Str255 unitText;    // kept to 9 characters
    Float64 lengths[6]; // terminator size, line offset, overshoot, offset, second length, gap
    Float64 unitFactor;
    UInt16 inchesOnly;
    UInt8 usePen;
    SInt16 pen;
    UInt8 useLayer;
    SInt16 layer;
    UInt16 options;
    UInt16 cutZeros;
    UInt16 feetInches; // 1 feet and inches
    UInt16 fraction;   // 1..8, 0 shows as 6
    Float64 stackSpacing;
};

Float64* DimensionLengths(DocSettings* s, SInt16 i) {
    Float64* fields[6] = {&s->dimTerminatorSize,  &s->dimLineOffset, &s->dimExtensionOvershoot,
                          &s->dimExtensionOffset, &s->dimLength2,    &s->extensionGap};
    return fields[i];
}

constexpr UInt16 kOptionBits[3] = {1u << 9, 1u << 10, 1u << 8};            // page 3 items 11, 12, 13
constexpr UInt16 kFlagCheckBits[4] = {1u << 7, 1u << 1, 1u << 8, 1u << 9}; // page 1 items 2, 12, 16, 18
constexpr SInt16 kFlagCheckItems[4] = {2, 12, 16, 18};
constexpr SInt16 kDefaultFraction = 6;

// The one-hot frame shape of bits 2..5 as the pop-up's 1..5; with several bits set the lowest wins.
SInt16 DecodeOneHot5(UInt16 flags) {
    SInt16 shape = DimFrameShape(flags);
    return shape == 0 ? 1 : shape;
}
UInt16 EncodeOneHot5(UInt16 flags, SInt16 value) {
    flags &= UInt16(~kDimFrameShapeBits);
    if (value >= 2 && value <= 5) flags |= UInt16(1u << value);
    return flags;
}

struct DimensionRun {
    DocWindowRecord* doc;
    Boolean allPages;
    Float64 factor; // the drawing's length factor
    Float64 unit;   // the display unit factor
};
DimensionRun gDimensionRun{};

void CopyDimensionIn(DocSettings* s, DimensionCopy& c, Float64 factor) {
    c.textHeight = DimTextHeight(s) * factor;
    c.decimals = s->dimDecimals;
    c.flags = s->dimFlags;
    c.font = s->dimFont;
    CopyPStr(c.prefix, sizeof(Str255), s->dimPrefix);
    CopyPStr(c.suffix, sizeof(Str255), s->dimSuffix);
    c.askText = s->askDimensionText;
    CopyPStr(c.unitText, sizeof(Str255), s->dimUnitText);
    for (SInt16 i = 0; i < 6; ++i)
        c.lengths[i] = *DimensionLengths(s, i) * factor;
    c.unitFactor = DimUnitFactor(s);
    c.inchesOnly = s->InchesOnly;
    c.usePen = s->useDimPen;
    c.pen = s->dimPen;
    c.useLayer = s->useDimLayer;
    c.layer = s->dimLayer;
    c.options = DimOptionBits(s);
    c.cutZeros = DimCutZeros(s);
    c.feetInches = DimFeetInchFormat(s) == 1 ? 1 : 0;
    c.fraction = DimFractionSetting(s);
    c.stackSpacing = s->dimStackSpacing * factor;
}

void SetChoicePopups(Pages& p, const DimensionCopy& c, SInt16 twoWay, SInt16 numbered) {
    SetItemValue(p.dialog, p.Item(twoWay), c.feetInches == 1 ? 2 : 1);
    SetItemValue(p.dialog, p.Item(numbered), SInt16(c.fraction == 0 ? kDefaultFraction : c.fraction));
    EnableItem(p.dialog, p.Item(numbered), c.feetInches == 1);
}

void ReadChoicePopups(Pages& p, DimensionCopy& c, SInt16 twoWay, SInt16 numbered) {
    c.feetInches = GetItemValue(p.dialog, p.Item(twoWay)) != 1 ? 1 : 0;
    c.fraction = UInt16(std::max<SInt16>(1, GetItemValue(p.dialog, p.Item(numbered))));
}

void FillDimensionPage(const DocWindowRecord* doc, Pages& p, DimensionCopy& c) {
    DialogRef d = p.dialog;
    Float64 unit = gDimensionRun.unit;
    SInt16 decimals = SInt16(doc->settings->decimals);
    if (p.page == 1) {
        SetItemLength(doc, d, p.Item(1), c.textHeight / unit, decimals);
        SetItemUnitName(doc, d, p.Item(14));
        SetItemNumber(d, p.Item(3), c.decimals);
        SetRadioValue(p, 7, 2, (c.flags & kDimUnitSuffix) ? 1 : 0);
        SetRadioValue(p, 9, 2, (c.flags & kDimFixedExtension) ? 1 : 0);
        SetItemValue(d, p.Item(4), DecodeOneHot5(c.flags));
        SetItemValue(d, p.Item(5), SInt16(DimFirstTerminator(c.flags) + 1));
        SetItemValue(d, p.Item(6), SInt16(DimSecondTerminator(c.flags) + 1));
        for (SInt16 i = 0; i < 4; ++i)
            SetCheckBox(d, p.Item(kFlagCheckItems[i]), (c.flags & kFlagCheckBits[i]) != 0);
        if (gDimensionRun.allPages) {
            for (SInt16 k : {22, 23, 24, 25, 30})
                HideDialogItem(d, p.Item(k));
        } else {
            SetChoicePopups(p, c, 25, 23);
        }
        SelectItemText(d, p.Item(1));
        return;
    }
    if (p.page == 2) {
        for (SInt16 k : {14, 15, 16, 17, 21, 23, 31})
            SetItemUnitName(doc, d, p.Item(k));
        for (SInt16 i = 0; i < 6; ++i)
            SetItemLength(doc, d, p.Item(SInt16(1 + i)), c.lengths[i] / unit, decimals);
        SetItemLength(doc, d, p.Item(29), c.stackSpacing / unit, decimals);
        SetItemLength(doc, d, p.Item(7), c.unitFactor, 4);
        SetTextItem(p, 8, c.unitText);
        FillFontPopup(d, p.Item(9));
        SetFontPopup(d, c.font, p.Item(9));
        SetCheckBox(d, p.Item(25), c.cutZeros != 0);
        SelectItemText(d, p.Item(1));
        return;
    }
    SetTextItem(p, 1, c.prefix);
    SetTextItem(p, 2, c.suffix);
    SetCheckBox(d, p.Item(3), c.askText != 0);
    SetCheckBox(d, p.Item(4), c.inchesOnly == 1);
    SetCheckBox(d, p.Item(7), c.usePen != 0);
    SetItemNumber(d, p.Item(9), c.pen);
    SetCheckBox(d, p.Item(8), c.useLayer != 0);
    SetItemNumber(d, p.Item(10), c.layer);
    for (SInt16 i = 0; i < 3; ++i)
        SetCheckBox(d, p.Item(SInt16(11 + i)), (c.options & kOptionBits[i]) != 0);
    SetChoicePopups(p, c, 17, 15);
    SelectItemText(d, p.Item(1));
}

void ReadDimensionPage(const DocWindowRecord*, Pages& p, DimensionCopy& c) {
    DialogRef d = p.dialog;
    Float64 unit = gDimensionRun.unit;
    if (p.page == 1) {
        c.textHeight = GetItemFormula(d, p.Item(1)) * unit;
        c.decimals = GetItemShort(d, p.Item(3));
        UInt16 f = c.flags;
        f = RadioValue(p, 7, 2) ? (f | kDimUnitSuffix) : (f & ~kDimUnitSuffix);
        f = RadioValue(p, 9, 2) ? (f | kDimFixedExtension) : (f & ~kDimFixedExtension);
        f = EncodeOneHot5(f, GetItemValue(d, p.Item(4)));
        f = SetDimTerminators(f, SInt16(GetItemValue(d, p.Item(5)) - 1),
                              SInt16(GetItemValue(d, p.Item(6)) - 1));
        for (SInt16 i = 0; i < 4; ++i)
            f = GetCheckBox(d, p.Item(kFlagCheckItems[i])) ? (f | kFlagCheckBits[i])
                                                           : (f & ~kFlagCheckBits[i]);
        c.flags = f;
        if (!gDimensionRun.allPages) ReadChoicePopups(p, c, 25, 23);
        return;
    }
    if (p.page == 2) {
        for (SInt16 i = 0; i < 6; ++i)
            c.lengths[i] = GetItemFormula(d, p.Item(SInt16(1 + i))) * unit;
        c.stackSpacing = GetItemFormula(d, p.Item(29)) * unit;
        c.unitFactor = GetItemFormula(d, p.Item(7));
        GetCutText(p, 8, c.unitText, 9);
        c.font = GetPopupFontNum(d, p.Item(9));
        c.cutZeros = GetCheckBox(d, p.Item(25));
        return;
    }
    GetCutText(p, 1, c.prefix, 10);
    GetCutText(p, 2, c.suffix, 10);
    c.askText = GetCheckBox(d, p.Item(3));
    c.inchesOnly = GetCheckBox(d, p.Item(4));
    c.usePen = GetCheckBox(d, p.Item(7));
    c.pen = GetItemShort(d, p.Item(9));
    c.useLayer = GetCheckBox(d, p.Item(8));
    c.layer = GetItemShort(d, p.Item(10));
    for (SInt16 i = 0; i < 3; ++i)
        c.options = GetCheckBox(d, p.Item(SInt16(11 + i))) ? (c.options | kOptionBits[i])
                                                           : (c.options & ~kOptionBits[i]);
    ReadChoicePopups(p, c, 17, 15);
}

void ClickDimensionPage(Pages& p, DimensionCopy&, SInt16 k) {
    DialogRef d = p.dialog;
    if (p.page == 1) {
        ToggleIf(p, k, {2, 12, 16, 18});
        RadioIf(p, k, {{7, 2}, {9, 2}});
        if (k == 25) EnableItem(d, p.Item(23), GetItemValue(d, p.Item(25)) == 2);
    } else if (p.page == 2) {
        ToggleIf(p, k, {24, 25});
    } else {
        ToggleIf(p, k, {3, 4, 7, 8, 11, 12, 13});
        if (k == 17) EnableItem(d, p.Item(15), GetItemValue(d, p.Item(17)) == 2);
    }
}

// A pen or layer the drawing cannot hold is refused with page 3 shown and the field selected, so
// nothing later picks pen 12 or layer 5000.
bool DimensionValuesAcceptable(Pages& p, DimensionCopy& c) {
    constexpr SInt16 kPenMessage = 1, kLayerMessage = 2;
    auto refuse = [&](SInt16 k, SInt16 message) {
        if (p.page != 3) {
            p.Remove();
            p.Append(3);
            SetItemValue(p.dialog, kPagePopup, 3);
            FillDimensionPage(gDimensionRun.doc, p, c);
        }
        Str255 text;
        GetIndString(text, kSettingsMessageList, message);
        ShowErrorText(text);
        SelectItemText(p.dialog, p.Item(k));
        return false;
    };
    if (c.pen > 8 || c.pen < 0 || (c.usePen && c.pen < 1)) return refuse(9, kPenMessage);
    if (c.layer < 0 || c.layer >= kLayerCount) return refuse(10, kLayerMessage);
    return true;
}

bool AskRebuildDimensions(DocWindowRecord* doc) {
    if (doc->dimensionHead == nullptr || doc->dimensionHead->next == nullptr) return true;
    return ShowAlert(kDimensionFontAlertId) == 2;
}

void RebuildDimensionsNow(DocWindowRecord* doc) {
    ResetUndoJournal(doc);
    RebuildAllDimensions(doc);
}

void WriteDimensionSettings(DocWindowRecord* doc, const DimensionCopy& c, Boolean allPages, Float64 factor) {
    DocSettings* s = doc->settings;
    MarkDocumentDirty(doc);
    SetDimTextHeight(s, c.textHeight / factor);
    s->dimDecimals = c.decimals;
    s->dimFlags = c.flags;
    if (allPages) {
        s->askDimensionText = c.askText;
        CopyPStr(s->dimPrefix, sizeof s->dimPrefix, c.prefix);
        CopyPStr(s->dimSuffix, sizeof s->dimSuffix, c.suffix);
        for (SInt16 i = 0; i < 6; ++i)
            *DimensionLengths(s, i) = c.lengths[i] / factor;
        SetDimUnitFactor(s, c.unitFactor);
        CopyPStr(s->dimUnitText, sizeof s->dimUnitText, c.unitText);
        s->InchesOnly = c.inchesOnly;
        s->useDimPen = c.usePen;
        s->dimPen = c.pen;
        s->useDimLayer = c.useLayer;
        s->dimLayer = c.layer;
        DimOptionBits(s) = c.options;
        UInt16 cutZerosBefore = DimCutZeros(s);
        DimCutZeros(s) = c.cutZeros;
        bool rebuilt = false;
        if (c.font != s->dimFont && AskRebuildDimensions(doc)) {
            s->dimFont = c.font;
            RebuildDimensionsNow(doc);
            rebuilt = true;
        }
        if (!rebuilt && c.cutZeros != 0 && c.cutZeros != cutZerosBefore && AskRebuildDimensions(doc))
            RebuildDimensionsNow(doc);
    }
    DimFractionSetting(s) = c.fraction;
    DimFeetInchFormat(s) = c.feetInches;
    s->dimStackSpacing = c.stackSpacing / factor;
}

} // namespace

Float64 FoldGridAngle(Float64 degrees) {
    if (!std::isfinite(degrees)) return 0.0;
    Float64 a = std::fmod(degrees, 180.0);
    if (a < 0) a += 180.0;
    return a >= 180.0 ? 0.0 : a; // -1e-20 folds to 180 in doubles
}

void GridDialog(DocWindowRecord* doc) {
    enum : SInt16 {
        kSpacingX = 5,
        kSpacingY = 6,
        kAngle1 = 9,
        kAngle2 = 10,
        kNormal = 11,
        kAlternative = 12,
        kUnitX = 13,
        kUnitY = 14,
        kEqual = 17
    };
    DocSettings* s = doc->settings;
    DialogRef dialog = OpenModalDialog(kGridDialogId, DialogPositionTable[kGridPositionSlot]);
    if (dialog == nullptr) return;
    SetItemLength(doc, dialog, kSpacingX, s->gridX, 2);
    SetItemLength(doc, dialog, kSpacingY, s->gridY, 2);
    SetItemLength(doc, dialog, kAngle1, s->gridAngleX, 1);
    SetItemLength(doc, dialog, kAngle2, s->gridAngleY, 1);
    SetUnitNameItem(doc, dialog, kUnitX);
    SetUnitNameItem(doc, dialog, kUnitY);
    SetRadioGroup(dialog, kNormal, kAlternative, s->gridMode == 1 ? kAlternative : kNormal);
    SetCheckBox(dialog, kEqual, (s->gridOptionBits & 1) != 0);
    SelectItemText(dialog, kSpacingX);
    SInt16 item = 0;
    do {
        RunModalDialogStd(dialog, &item);
        if (item == kNormal || item == kAlternative) SetRadioGroup(dialog, kNormal, kAlternative, item);
        if (item == kEqual) ToggleCheckBox(dialog, kEqual);
    } while (item != kOK && item != kCancel);
    if (item == kOK) {
        MarkDocumentDirty(doc);
        s->gridX = GetItemFormula(dialog, kSpacingX);
        s->gridY = GetItemFormula(dialog, kSpacingY);
        s->gridAngleX = FoldGridAngle(GetItemFormula(dialog, kAngle1));
        s->gridAngleY = FoldGridAngle(GetItemFormula(dialog, kAngle2));
        s->gridOptionBits = GetCheckBox(dialog, kEqual) ? 1 : 0;
        if (s->gridOptionBits == 1) s->gridY = s->gridX;
        s->gridMode = GetCheckBox(dialog, kAlternative) ? 1 : 0;
    }
    CloseModalDialog(dialog, &DialogPositionTable[kGridPositionSlot]);
    if (item == kOK && s->gridVisible) InvalidateDocWindow(doc);
    ResetToolState(doc, 0);
}

void PickApertureDialog(DocWindowRecord* doc) {
    constexpr SInt16 kPick = 4, kSecond = 7, kLeast = 2;
    DocSettings* s = doc->settings;
    s->pickAperture = std::max(s->pickAperture, kLeast);
    s->pickAperture2 = std::max(s->pickAperture2, kLeast);
    DialogRef dialog = OpenModalDialog(kPickApertureDialogId, DialogPositionTable[kPickAperturePositionSlot]);
    if (dialog == nullptr) return;
    SetItemNumber(dialog, kPick, s->pickAperture);
    SetItemNumber(dialog, kSecond, s->pickAperture2);
    SelectItemText(dialog, kPick);
    SInt16 item = 0;
    do
        RunModalDialogStd(dialog, &item);
    while (item != kOK && item != kCancel);
    if (item == kOK) {
        MarkDocumentDirty(doc);
        s->pickAperture = std::max(GetItemShort(dialog, kPick), kLeast);
        s->pickAperture2 = std::max(GetItemShort(dialog, kSecond), kLeast);
    }
    CloseModalDialog(dialog, &DialogPositionTable[kPickAperturePositionSlot]);
}

void DocumentOptionsDialog(DocWindowRecord* doc) {
    DocSettings* s = doc->settings;
    OptionsCopy copy{};
    DialogRef dialog =
        OpenModalDialog(kDocumentOptionsDialogId, DialogPositionTable[kDocumentOptionsPositionSlot]);
    if (dialog == nullptr) return;
    if (s->optionsDialogPage != 1 && s->optionsDialogPage != 2) s->optionsDialogPage = 1;
    SetItemValue(dialog, kPagePopup, s->optionsDialogPage);
    CopyOptionsIn(s, copy);
    PagedRun<OptionsCopy> run{{dialog, kDocumentOptionsPageBase, CountDITL(dialog)},
                              &copy,
                              FillOptionsPage,
                              ReadOptionsPage,
                              ClickOptionsPage};
    run.Start(doc, s->optionsDialogPage);
    SInt16 item = RunPaged(doc, run, &s->optionsDialogPage);
    CloseModalDialog(dialog, &DialogPositionTable[kDocumentOptionsPositionSlot]);
    if (item == kOK) {
        CopyOptionsOut(copy, s);
        MarkDocumentDirty(doc);
    }
    InvalidateDocWindow(doc);
}

SInt16 DimensionSettingsDialog(DocWindowRecord* doc, Boolean allPages) {
    DocSettings* s = doc->settings;
    SInt16 result = 0;
    DimensionCopy copy{};
    DialogRef dialog =
        OpenModalDialog(kDimensionSettingsDialogId, DialogPositionTable[kDimensionSettingsPositionSlot]);
    if (dialog != nullptr) {
        gDimensionRun = {doc, allPages, DimensionLengthFactor(doc), DisplayUnitFactor(doc)};
        if (allPages) {
            s->dimDialogPage = std::clamp<SInt16>(s->dimDialogPage, 1, 3);
        } else {
            if (ControlRef c = nullptr; GetDialogControl(dialog, kPagePopup, &c) == noErr && c != nullptr)
                SetControlMaximum(c, 1);
            s->dimDialogPage = 1;
        }
        SetItemValue(dialog, kPagePopup, s->dimDialogPage);
        CopyDimensionIn(s, copy, gDimensionRun.factor);
        PagedRun<DimensionCopy> run{{dialog, kDimensionSettingsPageBase, CountDITL(dialog)},
                                    &copy,
                                    FillDimensionPage,
                                    ReadDimensionPage,
                                    ClickDimensionPage};
        run.Start(doc, s->dimDialogPage);
        SInt16 item = 0;
        do
            item = RunPaged(doc, run, &s->dimDialogPage);
        while (item == kOK && allPages && !DimensionValuesAcceptable(run.pages, copy));
        CloseModalDialog(dialog, &DialogPositionTable[kDimensionSettingsPositionSlot]);
        if (item == kOK) {
            WriteDimensionSettings(doc, copy, allPages, gDimensionRun.factor);
            result = 1;
        }
        if (allPages && item == kOK) InvalidateDocWindow(doc);
        if (allPages) ResetToolState(doc, 0);
    }
    DeleteMenu(kFontMenu);
    return result;
}
