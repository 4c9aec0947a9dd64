// Re-styling one dimension through the dimension settings dialog.
#include "Dialogs/DimensionRestyle.h"

#include "Dialogs/DocumentSettingsDialogs.h"
#include "Model/Dimensions.h"
#include "Model/DocSettings.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/UndoJournal.h"
#include "Other/ZEZUdivari.h"
#include "Tools/ToolState.h"
#include "View/WorldPrimitives.h"

#include <algorithm>

namespace {

constexpr UInt16 kDefaultInchFraction = 6;

bool IsDigit(UInt8 c) {
    return c >= '0' && c <= '9';
}

} // namespace

Boolean SplitAroundValue(ConstStr255Param text, ConstStr255Param value, StringPtr prefix, StringPtr suffix) {
    prefix[0] = suffix[0] = 0;
    if (value[0] == 0 || value[0] > text[0]) return false;
    const UInt8* end = text + 1 + text[0];
    const UInt8* at = std::search(text + 1, end, value + 1, value + 1 + value[0]);
    if (at == end) return false;
    SInt16 before = SInt16(at - (text + 1));
    const UInt8* rest = at + value[0];
    if (rest < end && *rest == '.') ++rest;
    while (rest < end && IsDigit(*rest))
        ++rest;
    prefix[0] = UInt8(before);
    std::copy(text + 1, at, prefix + 1);
    suffix[0] = UInt8(end - rest);
    std::copy(rest, end, suffix + 1);
    return true;
}

void EditDimensionSettings(DocWindowRecord* doc, DimensionRecord* dimension) {
    if (doc == nullptr || dimension == nullptr) return;
    DocSettings* s = doc->settings;
    Ptr snapshot = nullptr;
    SaveSettingsSnapshot(doc, &snapshot);
    Str255 value;
    FormatDimensionText(doc, dimension, value);
    Float64 tx, ty;
    DimensionTextPoint(s, dimension, &tx, &ty);

    SetDimTextHeight(s, dimension->textHeight);
    s->dimFlags = dimension->flags;
    s->dimDecimals = dimension->decimals;
    UInt16 penFlags = UInt16(dimension->penBlock.penFlags);
    const UInt16 fraction = DimPenFraction(SInt16(penFlags));
    const UInt16 feetInches = (penFlags & kDimPenFeetInches) ? 1 : 0;
    DimFractionSetting(s) = fraction;
    DimFeetInchFormat(s) = feetInches;
    s->dimDialogPage = 1;

    if (DimensionSettingsDialog(doc, false) == 0) {
        DeselectAll(doc, false);
    } else {
        // A typed text stays while the value is written as before (a fraction of 0 is shown as 6).
        auto effective = [](UInt16 f) { return f == 0 ? kDefaultInchFraction : f; };
        bool sameNumber = s->dimDecimals == dimension->decimals && DimFeetInchFormat(s) == feetInches &&
                          (feetInches == 0 || effective(DimFractionSetting(s)) == effective(fraction));
        Str255 override = {0}, prefix = {0}, suffix = {0};
        if (sameNumber && (dimension->flags & kDimTextOverride))
            CopyPStr(override, sizeof override, dimension->text);
        InvalidateDimensionElement(dimension, doc);
        if (override[0] == 0) SplitAroundValue(dimension->text, value, prefix, suffix);
        DimensionRecord model = *dimension;
        model.flags = UInt16(s->dimFlags & ~kDimTextOverride);
        model.textHeight = DimTextHeight(s);
        model.decimals = s->dimDecimals;
        BeginUndoStep(doc);
        if (BuildDimension(doc, &model, tx, ty, override, prefix, suffix) != nullptr)
            RemoveDimension(doc, dimension);
        EndUndoStep(doc);
    }
    RestoreSettingsSnapshot(doc, &snapshot);
}
