// The symbol instance dialog: a placed instance's angle and scales changed in one undo step, and the
// selected instances exploded.
#pragma once

#include "Model/DocumentRecords.h"

constexpr SInt16 kSymbolInstanceDialog = 139;
enum : SInt16 {
    kSymbolInstanceOK = 1,
    kSymbolInstanceCancel = 2,
    kSymbolInstanceName = 6,
    kSymbolInstanceAngle = 7,
    kSymbolInstanceXScale = 9,
    kSymbolInstanceYScale = 11,
};

// Dialog 139 on the instance; on OK the instance is replaced by one with the new angle and scales.
// A scale of 0 or one that is not a number is refused with a beep and the dialog stays. True on OK.
Boolean SymbolInstanceDialog(DocWindowRecord* doc, SymbolInstanceRecord* instance);
// Every selected instance exploded into its elements, in one undo step. The number exploded.
SInt32 ExplodeSelectedSymbolInstances(DocWindowRecord* doc);
