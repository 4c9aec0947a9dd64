// Decimal conversions of whole numbers; dates and times in the desktop's formats.
#include "Platform/NumberText.h"

#include "Platform/FileManager.h"
#include "Platform/MacRoman.h"

#include <QDateTime>
#include <QLocale>

#include <cstdio>
#include <cstring>

void NumToString(SInt32 number, Str255 text) {
    char buf[16];
    int n = std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(number));
    text[0] = static_cast<unsigned char>(n);
    std::memcpy(text + 1, buf, static_cast<size_t>(n));
}

void StringToNum(ConstStr255Param text, SInt32* number) {
    UInt32 value = 0;
    int i = 1;
    bool negative = false;
    if (text[0] >= 1 && (text[1] == '-' || text[1] == '+')) {
        negative = text[1] == '-';
        i = 2;
    }
    for (; i <= text[0] && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<UInt32>(text[i] - '0');
    *number = static_cast<SInt32>(negative ? 0u - value : value);
}

namespace {

QDateTime LocalDateTime(UInt32 secs) {
    return QDateTime::fromSecsSinceEpoch(UnixTimeFromMacSeconds(secs));
}

// Mac Roman has no narrow or no-break blanks, which some locales put into times.
void ToPStr(QString text, Str255 dest) {
    text.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' '));
    UTF8ToPStr(text.toStdString(), dest, 255);
}

} // namespace

void DateString(UInt32 secs, Str255 text) {
    ToPStr(QLocale::system().toString(LocalDateTime(secs).date(), QLocale::ShortFormat), text);
}

void TimeString(UInt32 secs, Str255 text) {
    ToPStr(QLocale::system().toString(LocalDateTime(secs).time(), QLocale::ShortFormat), text);
}
