// Text metrics through the font registry's fonts at a fixed base size, scaled like the drawing context.
#include "Platform/TextMeasure.h"
#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

namespace {
constexpr double kBaseSize = kPlatformFontBaseSize;
} // namespace

Float64 MeasureTextUTF8(SInt16 fontNumber, SInt16 face, Float64 size, const char* text, SInt32 length) {
    if (!text || length <= 0 || !PlatformHasApplication()) return 0;
    QFontMetricsF metrics(PlatformFont(fontNumber, SInt16(kBaseSize), face));
    return metrics.horizontalAdvance(QString::fromUtf8(text, length)) * size / kBaseSize;
}

void MeasureFontExtents(SInt16 fontNumber, SInt16 face, Float64 size, Float64* ascent, Float64* descent) {
    Float64 a = 0, d = 0;
    if (PlatformHasApplication()) {
        QFontMetricsF metrics(PlatformFont(fontNumber, SInt16(kBaseSize), face));
        a = metrics.ascent() * size / kBaseSize;
        d = metrics.descent() * size / kBaseSize;
    }
    if (ascent) *ascent = a;
    if (descent) *descent = d;
}
