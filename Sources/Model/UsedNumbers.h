// Which layers and which group numbers the elements of a drawing use.
#pragma once

#include "Model/DocumentRecords.h"

// One bit per group number 0..32000, in the order of the layer sets (n is bit 7 - n mod 8 of byte
// n div 8).
constexpr SInt32 kMaxGroupNumber = 32000;
struct UsedGroupSet {
    UInt8 bits[kMaxGroupNumber / 8 + 1];
};

// Sets the bit of the layer of every element of the seven lists (the bits already set stay) and
// counts the layers set. A layer outside 0..1023, as a file may hold, is skipped.
void CollectUsedLayers(DocWindowRecord* doc, SInt32* count, LayerVisibilitySet* used);
// The same for the group numbers: numbers outside 1..32000 are skipped.
void CollectUsedGroupNumbers(DocWindowRecord* doc, SInt32* count, UsedGroupSet* used);
bool IsGroupNumberUsed(const UsedGroupSet* used, SInt32 group);
