// Decimal conversions of whole numbers.
#include "NumberText.h"

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
