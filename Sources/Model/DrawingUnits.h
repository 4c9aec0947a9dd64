// The drawing unit of a document: millimetres per unit by its signed unit code (-4..11, 11 the
// custom unit) and whether it is metric.
#pragma once

#include "Platform/MacTypes.h"

struct DocWindowRecord;

// Millimetres per drawing unit; codes 5 and 10, and any code outside -4..11, give 0.
Float64 UnitFactorForCode(SInt16 unitCode, Float64 customFactor);
Float64 UnitToMillimetres(const DocWindowRecord* doc);
// True unless the unit code is 5 to 10.
Boolean IsMetricUnit(const DocWindowRecord* doc);
