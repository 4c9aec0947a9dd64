// Attribute presets: what applying one sets, and the presets list that a change elsewhere deselects.
#pragma once

#include "Model/DocumentRecords.h"

// Mask bit n of a preset is the bit of value 2^(31 - n).
constexpr Boolean PresetHasBit(const AttributePreset* preset, int n) {
    return (preset->mask & (0x80000000u >> n)) != 0;
}
// The status bar's presets pop-up applies bits 0..8.
constexpr int kPresetStatusBarBits = 9;

// Applies the preset's mask bits 0 up to (not including) bitCount: pen, line type, key, layer (made
// visible when showLayer is set), scale, line flag, snap mode, start and end marks; then the status
// area is redrawn.
void ApplyAttributePreset(DocWindowRecord* doc, const AttributePreset* preset, int bitCount,
                          Boolean showLayer);
// The presets window's row stays selected only while the settings are the preset's.
void DeselectPresetList();
