// The tool and construction messages of string list 128, shown as error alerts: the way the
// geometry kernel and the element operations tell the user why a construction has no solution.
#pragma once

#include "MacTypes.h"

constexpr SInt16 kConstructionMessageList = 128;

// Item n of list 128 in the error alert (recorded instead while an Apple event is handled).
void ShowErrorStr128(SInt16 n);
