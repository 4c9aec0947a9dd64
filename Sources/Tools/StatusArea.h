// What a document window shows besides the drawing: the status bar with its values and pictograms,
// the snap buttons, the side buttons, the message line with the prompt and the command field, the
// texts of the status-bar zones, and the small messages shown from the status area.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Pictogram numbers of the bundle images "cicn_<n>.png".
enum : SInt16 {
    kPenModeIcon = 128,
    kLayerIcon = 129,
    kGroupIcon = 130,
    kSwitchOnIcon = 131,
    kSwitchOffIcon = 132,
    kDirectPenIcon = 145,
    kLineStyleIconBase = 149,
    kStartMarkIconBase = 160,
    kEndMarkIconBase = 170,
    kScalePopUpIcon = 191,
    kPresetsIcon = 210,
    kNoPresetsIcon = 211,
    kSnapButtonIconBase = 500,
    kSideButtonIconBase = 800,
    kSymbolCloseIcon = 805,
    kSideButtonPressedBase = 810,
    kHistoryIcon = 910,
    kNoHistoryIcon = 911,
};

constexpr SInt16 kSnapButtonsLeft = 272;
constexpr SInt16 kSideButtonCount = 5;

constexpr SInt16 kStatusHelpList = 9994;
constexpr SInt16 kPanMessage = 72;
constexpr SInt16 kSamePointsMessage = 4;
constexpr SInt16 kTimedMessageDialog = 160;
constexpr UInt32 kTimedMessageTicks = 180;
constexpr SInt16 kTimedMessageBaseline = 18; // above the dialog's bottom

void DrawStatusBarChrome(DocWindowRecord* doc);
void DrawWindowStatusArea(DocWindowRecord* doc);
void DrawSnapModeButton(DocWindowRecord* doc, Boolean on);
void DrawSideButton(DocWindowRecord* doc, SInt16 index, Boolean pressed, SInt16 position);
void UpdateStatusArea(DocWindowRecord* doc, Boolean whole);
void DrawCommandField(DocWindowRecord* doc);
void EraseMessageLine(DocWindowRecord* doc);
// Item n of STR# 128 in the message line.
void ShowStatusMessage(DocWindowRecord* doc, SInt16 n, Boolean eraseFirst);
// "1:n", "n:1" or the text of the preset that equals the scale.
void ScaleText(DocWindowRecord* doc, Float64 scale, Str255 text);
void FillDrawingAreaBackground(DocWindowRecord* doc);
// The help text of the status-bar zone under a local point (empty outside the zones); the zone in
// local coordinates goes to zone.
void StatusHelpTagText(DocWindowRecord* doc, Point local, Str255 text, Rect* zone);

// Ends the text so that it takes its digits' room right-aligned at x + digits x digit width.
void DrawRightAlignedField(SInt16 x, SInt16 baseline, ConstStr255Param text, SInt16 digits);
void ForeColorBlack();
void ForeColorLightGray();
Boolean StoredMouseInRect(DocWindowRecord* doc, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
// False, with kSamePointsMessage shown, when the two points are the same.
Boolean CheckPointsDistinct(Float64 x0, Float64 y0, Float64 x1, Float64 y1);
// The text centred near the bottom of dialog 160 (font 0, 12 points) for three seconds; the dialog
// closes itself.
void ShowTimedMessage(ConstStr255Param text);
