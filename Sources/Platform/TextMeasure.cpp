// Text metrics through the font registry's fonts at a fixed base size, scaled like the drawing context.
#include "Platform/TextMeasure.h"
#include "Platform/PlatformApp.h"
#include "Platform/PlatformWindowInternal.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <string>
#include <unordered_map>

namespace {
constexpr double kBaseSize = kPlatformFontBaseSize;
// Advances at the base size by font, face and text: shaping is the costly part of measuring, and
// drawings measure the same texts on every redraw.
constexpr size_t kMaxCachedAdvances = 16384;
std::unordered_map<std::string, double> gAdvances;
} // namespace

Float64 MeasureTextUTF8(SInt16 fontNumber, SInt16 face, Float64 size, const char* text, SInt32 length) {
    if (!text || length <= 0 || !PlatformHasApplication()) return 0;
    std::string key(reinterpret_cast<const char*>(&fontNumber), sizeof fontNumber);
    key.append(reinterpret_cast<const char*>(&face), sizeof face);
    key.append(text, size_t(length));
    auto found = gAdvances.find(key);
    if (found == gAdvances.end()) {
        if (gAdvances.size() >= kMaxCachedAdvances) gAdvances.clear();
        QFontMetricsF metrics(PlatformFont(fontNumber, SInt16(kBaseSize), face));
        found = gAdvances.emplace(std::move(key), metrics.horizontalAdvance(QString::fromUtf8(text, length)))
                    .first;
    }
    return found->second * size / kBaseSize;
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
