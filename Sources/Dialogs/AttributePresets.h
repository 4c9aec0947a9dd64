// Attribute presets: the drawing's list sorted by name, applying a preset's masked attributes (from
// the presets window or the status bar), and the preset dialog (190) that makes, edits and
// duplicates them.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;
struct AttributePreset;

constexpr SInt16 kPresetDialog = 190, kPresetPositionSlot = 34;
// Mask bits: bit n is the value 2^(31 - n).
enum : SInt16 {
    kPresetPenBit = 0,
    kPresetLineKindBit,
    kPresetGroupBit,
    kPresetLayerBit,
    kPresetScaleBit,
    kPresetLineFlagBit,
    kPresetSnapBit,
    kPresetStartMarkBit,
    kPresetEndMarkBit,
    kPresetColourBit,
    kPresetWidthBit,
    kPresetPatternBit,
};
inline Boolean TestLongBit(UInt32 mask, SInt16 n) {
    return (mask >> (31 - n)) & 1u;
}
inline void SetLongBit(UInt32* mask, SInt16 n) {
    *mask |= UInt32(1) << (31 - n);
}

// The presets window's list follows every change of the list through this hook (the window's
// refill; tests may watch it).
using PresetListHook = void (*)(DocWindowRecord* doc);
extern PresetListHook gPresetListChanged;

// Links the preset before the first whose name is not ordered below its own (case and accents
// ignored), so an equal name goes first; with addRow the window's list follows. Its 1-based position.
SInt16 InsertPresetSorted(DocWindowRecord* doc, AttributePreset* preset, Boolean addRow);
// True when a preset other than `preset` has the name (case and accents ignored).
Boolean PresetNameTaken(DocWindowRecord* doc, ConstStr255Param name, const AttributePreset* preset);
// The preset at a 0-based position of the list, or null.
AttributePreset* PresetAt(DocWindowRecord* doc, SInt32 index);
SInt32 CountPresets(DocWindowRecord* doc);
// Unlinks and frees the preset; with ask, only after question 9 of list 201 is confirmed.
void DeletePreset(DocWindowRecord* doc, AttributePreset* preset, Boolean update, Boolean ask);
// A copy edited in the dialog's duplicate mode; kept when confirmed.
void DuplicatePreset(DocWindowRecord* doc, AttributePreset* preset);
// Dialog 190: from the current settings (a new preset), or editing or duplicating `preset`. True
// when confirmed; the preset is then in the list at its sorted place.
Boolean PresetDialog(DocWindowRecord* doc, Boolean fromCurrent, Boolean duplicate, AttributePreset* preset);

// Makes the masked attributes current: from the presets window bits 0..11, where a hidden layer
// is also made visible; from the status bar's pop-up bits 0..8. A value outside its range (a layer
// outside 0..1023, a pen outside 1..8, a snap mode outside 0..3, a pattern outside 0..31), as a file
// may hold, is not applied.
void ApplyPresetFromWindow(DocWindowRecord* doc, const AttributePreset* preset);
// The presets window's selection cleared (after any change made in the status bar).
void DeselectPresetList();
void ApplyPresetFromStatusBar(DocWindowRecord* doc, const AttributePreset* preset);
