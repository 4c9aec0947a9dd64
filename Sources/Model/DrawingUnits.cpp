// Unit factors of the drawing units.
#include "Model/DrawingUnits.h"

#include "Model/DocumentRecords.h"

Float64 UnitFactorForCode(SInt16 unitCode, Float64 customFactor) {
    static const Float64 kFactors[] = {
        1000000.0,      1000.0, 100.0,     10.0,  1.0,  0.000001, 0.000000001, 0.0000000001,
        0.000000000001, 0.0,    1600000.0, 304.8, 25.4, 2.54,     0.0,
    };
    if (unitCode == 11) return customFactor;
    if (unitCode < -4 || unitCode > 10) return 0.0;
    return kFactors[unitCode + 4];
}

Float64 UnitToMillimetres(const DocWindowRecord* doc) {
    const DocSettings* s = doc->settings;
    return UnitFactorForCode(s->unitCode, s->customUnitFactor);
}

Boolean IsMetricUnit(const DocWindowRecord* doc) {
    SInt16 code = doc->settings->unitCode;
    return !(code >= 5 && code <= 10);
}
