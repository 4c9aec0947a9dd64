// The coordinate bar's texts and their drawing into its window: each value field is redrawn only when
// its text changes.
#include "Dialogs/CoordinateBar.h"

#include "Files/Preferences.h"
#include "Model/MathPrimitives.h"
#include "Other/DrawingUnits.h"
#include "Other/NumberFormat.h"
#include "Other/SharedUtilities.h"
#include "Other/ZEZUdivari.h"
#include "Platform/QuickDraw.h"
#include "Shell/StatusArea.h"
#include "Tools/Snapping.h"
#include "Tools/ToolState.h"

#include <cmath>

namespace {

constexpr unsigned char kDegreeSign = 0xA1; // Mac Roman
constexpr SInt16 kFieldWidth = 68;
constexpr SInt16 kFirstValue = 11, kSecondValue = 91;
constexpr SInt16 kFirstLabel = 1, kSecondLabel = 81, kUnitText = 161, kZoomText = 201;
constexpr SInt16 kGreyDivider1 = 79, kGreyDivider2 = 159, kBlackDivider = 199;
constexpr SInt16 kZoomDigits = 7;

bool Polar(const DocSettings* s) {
    return s->coordinateDisplayMode == 1 || s->coordinateDisplayMode == 3;
}

bool PaperUnits(const DocSettings* s) {
    return s->coordinateDisplayMode == 2 || s->coordinateDisplayMode == 3;
}

Float64 PaperUnitFactor(const DocSettings* s) {
    Float64 f = s->reals978[kPaperUnitFactorSlot];
    return f != 0.0 && std::isfinite(f) ? f : 1.0;
}

void SetText(Str255 dest, const char* text) {
    dest[0] = 0;
    for (const char* c = text; *c != 0 && dest[0] < 255; ++c)
        dest[++dest[0]] = UInt8(*c);
}

void Length(DocWindowRecord* doc, Float64 value, Str255 text) {
    DocSettings* s = doc->settings;
    if (!IsMetricUnit(doc) && s->words1868[kCoordFeetInchesSlot] != 0)
        FormatFeetInches(s->InchesOnly, &s->InchFractionBits, value * UnitToMillimetres(doc), text);
    else
        FormatReal(value, s->decimals, text);
}

} // namespace

void CoordBarValueTexts(DocWindowRecord* doc, Float64 x, Float64 y, Str255 first, Str255 second) {
    const DocSettings* s = doc->settings;
    const ToolStateRecord* t = doc->drawing->tool;
    if (t != nullptr && t->referenceValid && s->typedCoordsRelative != 0.0) {
        x -= t->referenceX;
        y -= t->referenceY;
    }
    const Float64 scale = s->drawingScale > 0.0 && std::isfinite(s->drawingScale) ? s->drawingScale : 1.0;
    const Float64 unit = UnitDivisor(doc);
    x = x / scale / unit;
    y = y / scale / unit;
    if (PaperUnits(s)) {
        x *= PaperUnitFactor(s);
        y *= PaperUnitFactor(s);
    }
    if (Polar(s)) {
        const Float64 length = std::sqrt(x * x + y * y);
        Float64 angle = std::atan2(y, x) * kRadiansToDegrees;
        if (angle < 0.0) angle += 360.0;
        Length(doc, length, first);
        FormatReal(angle, s->decimals, second);
    } else {
        Length(doc, x, first);
        Length(doc, y, second);
    }
}

void CoordBarZoomText(const DocWindowRecord* doc, Str255 text) {
    const Float64 z = doc->drawing->view.unitsPerPixel * 72.0 / 25.4;
    if (z > 1000.0) {
        SetText(text, "+++");
    } else if (!(z >= 0.001)) {
        SetText(text, "---");
    } else {
        FormatReal(100.0 / z, 1, text);
        AppendChar(text, 256, '%');
    }
}

void CoordBarLabels(const DocWindowRecord* doc, Str255 first, Str255 second) {
    if (Polar(doc->settings)) {
        SetText(first, "l:");
        SetText(second, " :");
        second[1] = kDegreeSign;
    } else {
        SetText(first, "x:");
        SetText(second, "y:");
    }
}

