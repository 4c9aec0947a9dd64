// The dialogs that edit a drawing's own settings: grid (133), document options (129, two pages),
// dimension settings (132, three pages, or one page for a single dimension) and the pick apertures
// (135).
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

constexpr SInt16 kGridDialogId = 133;
constexpr SInt16 kDocumentOptionsDialogId = 129;
constexpr SInt16 kDimensionSettingsDialogId = 132;
constexpr SInt16 kPickApertureDialogId = 135;
constexpr SInt16 kDimensionFontAlertId = 129;
constexpr int kGridPositionSlot = 7;
constexpr int kDocumentOptionsPositionSlot = 16;
constexpr int kDimensionSettingsPositionSlot = 15;
constexpr int kPickAperturePositionSlot = 6;
// The pages' item lists: the page number is added.
constexpr SInt16 kDocumentOptionsPageBase = 1099;
constexpr SInt16 kDimensionSettingsPageBase = 999;
// The area the pages are drawn in (local).
constexpr Rect kSettingsPageArea{30, 8, 250, 450};

void GridDialog(DocWindowRecord* doc);
void DocumentOptionsDialog(DocWindowRecord* doc);
// 1 for OK, else 0. Without allPages the one-dimension form: page 1 only, and only its values are
// written back.
SInt16 DimensionSettingsDialog(DocWindowRecord* doc, Boolean allPages);
void PickApertureDialog(DocWindowRecord* doc);

// An angle brought into [0, 180) in constant time; what is not a finite number becomes 0.
Float64 FoldGridAngle(Float64 degrees);
