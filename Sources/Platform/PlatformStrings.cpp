// System-encoded (Mac Roman) text to Qt strings and back, at the Qt boundary of the platform.
#include "Platform/MacRoman.h"
#include "Platform/PlatformWindowInternal.h"

#include <QList>
#include <QString>

QString PlatformStringFromMacRoman(const UInt8* bytes, SInt32 length) {
    QString s;
    s.reserve(length);
    for (SInt32 i = 0; i < length; ++i)
        s.append(QChar(MacRomanToUnicode(bytes[i])));
    return s;
}

std::string PlatformMacRomanFromString(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (char32_t cp : text.toUcs4())
        out.push_back(char(UnicodeToMacRoman(cp)));
    return out;
}
