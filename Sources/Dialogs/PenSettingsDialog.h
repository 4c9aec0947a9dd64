// The pen settings dialog (140): the eight pens' line types, widths, patterns and colours, and
// whether new elements take their attributes from their pen.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

constexpr SInt16 kPenSettingsDialogId = 140;
constexpr SInt16 kPenPatternMenu = 500;
constexpr int kPenSettingsPositionSlot = 1;
// The height that shows only the mode choice and the buttons.
constexpr SInt16 kPenDialogShortHeight = 80;
// Item of pen n (0..7).
constexpr SInt16 PenLineTypeItem(SInt16 n) {
    return SInt16(3 + 3 * n);
}
constexpr SInt16 PenWidthItem(SInt16 n) {
    return SInt16(4 + 3 * n);
}
constexpr SInt16 PenPatternItem(SInt16 n) {
    return SInt16(5 + 3 * n);
}
constexpr SInt16 PenSwatchItem(SInt16 n) {
    return SInt16(53 + n);
}
constexpr SInt16 kPenModeCurrent = 51, kPenModeFromPens = 52;

void PenSettingsDialog(DocWindowRecord* doc);

// The width stored for a typed one (display units times the factor), within 0.01..30 mm.
Float64 ClampPenWidth(Float64 millimetres);
// The line type stored for a typed one with its pattern: 1..10, at least 2 for patterns of 4 and up.
SInt16 ClampPenLineType(SInt16 typed, SInt16 pattern);
