// The length-prefixed string library (module ZEZUdivari).
#include "Other/ZEZUdivari.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The report names the operation, the module, the line and the expression, as callers' crash logs
// have always read.
[[noreturn]] void AssertionFailed(const char* operation, int line, const char* expression) {
    std::fprintf(stderr, "Assertion failed: %s, operation %s, module ZEZUdivari, line %d\n", expression,
                 operation, line);
    std::fflush(stderr);
    std::abort();
}

// The expression text is the one the reports have always carried, whatever the local names.
#define ZEZU_REQUIRE(op, line, cond, text)                                                                   \
    do {                                                                                                     \
        if (!(cond)) AssertionFailed(op, line, text);                                                        \
    } while (0)

bool SameRun(const unsigned char* a, const unsigned char* b, size_t n) {
    // Bounded byte-string comparison: unsigned bytes, ends early with "equal" on a shared zero.
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return false;
        if (a[i] == 0) return true;
    }
    return true;
}

int CompareRun(const unsigned char* a, const unsigned char* b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return int(a[i]) - int(b[i]);
        if (a[i] == 0) return 0;
    }
    return 0;
}

SInt16 PosCharImpl(unsigned char ch, ConstStringPtr s) {
    for (int i = 1; i <= s[0]; ++i)
        if (s[i] == ch) return SInt16(i);
    return 0;
}

} // namespace

void CopyPStr(StringPtr dest, UInt32 destSize, ConstStringPtr src) {
    ZEZU_REQUIRE("CopyPStr", 11, destSize > 0, "destSize > 0");
    UInt32 length = src[0] < destSize ? src[0] : destSize - 1;
    std::memmove(dest + 1, src + 1, length);
    dest[0] = UInt8(length);
}

void CopyChar(StringPtr dest, UInt32 destSize, unsigned char ch) {
    ZEZU_REQUIRE("CopyChar", 21, destSize > 0, "destSize > 0");
    if (destSize >= 2) {
        dest[0] = 1;
        dest[1] = ch;
    }
}

void AppendPStr(StringPtr dest, UInt32 destSize, ConstStringPtr src) {
    ZEZU_REQUIRE("AppendPStr", 34, destSize > 0, "destSize > 0");
    ZEZU_REQUIRE("AppendPStr", 35, destSize >= UInt32(*dest) + 1, "destSize >= *dest + 1");
    UInt8 room = UInt8(destSize - 1 - dest[0]);
    if (room == 0) return;
    UInt8 count = src[0] < room ? src[0] : room;
    if (dest[0] + count > 255) count = UInt8(255 - dest[0]);
    std::memmove(dest + 1 + dest[0], src + 1, count);
    dest[0] = UInt8(dest[0] + count);
}

void AppendChar(StringPtr dest, UInt32 destSize, unsigned char ch) {
    ZEZU_REQUIRE("AppendChar", 50, destSize > 0, "destSize > 0");
    ZEZU_REQUIRE("AppendChar", 51, destSize >= UInt32(*dest) + 1, "destSize >= *dest + 1");
    if (destSize - dest[0] == 1 || dest[0] == 255) return;
    dest[0] = UInt8(dest[0] + 1);
    dest[dest[0]] = ch;
}

void AssignStr255(StringPtr dest, ConstStringPtr src) {
    std::memmove(dest, src, size_t(src[0]) + 1);
}

void CharToPStr(StringPtr dest, unsigned char ch) {
    dest[0] = 1;
    dest[1] = ch;
}

Boolean EqualPStr(ConstStringPtr a, ConstStringPtr b) {
    if (a[0] != b[0]) return false;
    return SameRun(a + 1, b + 1, a[0]);
}

SInt16 ComparePStr(ConstStringPtr a, ConstStringPtr b) {
    if (a[0] == 0 && b[0] == 0) return 0;
    if (a[0] == 0) return -1;
    if (b[0] == 0) return 1;
    size_t common = a[0] < b[0] ? a[0] : b[0];
    int diff = CompareRun(a + 1, b + 1, common);
    if (diff != 0) return diff < 0 ? -1 : 1;
    if (a[0] == b[0]) return 0;
    return a[0] < b[0] ? -1 : 1;
}

namespace {

// The base letter of a Mac Roman accented letter, 0 for any other byte.
UInt8 MacRomanBaseLetter(UInt8 c) {
    static const char* const kAccented =
        "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
        "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F"
        "\xCB\xCC\xCD\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4\xD8\xD9";
    static const char* const kBase = "AACENOUaaaaaaceeeeiiiinooooouuuuAAOAEAEEIIIIOOOUUUyY";
    if (c >= 0x80)
        for (int i = 0; kAccented[i] != 0; ++i)
            if (UInt8(kAccented[i]) == c) return UInt8(kBase[i]);
    return 0;
}

UInt8 FoldForOrder(UInt8 c, Boolean caseSensitive, Boolean diacSensitive) {
    if (!diacSensitive)
        if (UInt8 base = MacRomanBaseLetter(c)) c = base;
    if (!caseSensitive && c >= 'a' && c <= 'z') c = UInt8(c - 32);
    return c;
}

} // namespace

SInt16 RelString(ConstStringPtr a, ConstStringPtr b, Boolean caseSensitive, Boolean diacSensitive) {
    for (int i = 1; i <= a[0] && i <= b[0]; ++i) {
        UInt8 x = FoldForOrder(a[i], caseSensitive, diacSensitive);
        UInt8 y = FoldForOrder(b[i], caseSensitive, diacSensitive);
        if (x != y) return x < y ? -1 : 1;
    }
    return a[0] == b[0] ? 0 : a[0] < b[0] ? -1 : 1;
}

SInt16 PosChar(unsigned char ch, ConstStringPtr s) {
    return PosCharImpl(ch, s);
}
SInt16 PosCharAlt(unsigned char ch, ConstStringPtr s) {
    return PosCharImpl(ch, s);
}
SInt16 PosCharAltEntry(unsigned char ch, ConstStringPtr s) {
    return PosCharImpl(ch, s);
}

SInt16 FindPStr(ConstStringPtr pattern, ConstStringPtr s) {
    int n = pattern[0];
    int last = int(s[0]) + 1 - n;
    if (last < 1) return 0;
    for (int i = 1; i <= last; ++i)
        if (SameRun(s + i, pattern + 1, size_t(n))) return SInt16(i);
    return 0;
}

SInt16 PosPStr(ConstStringPtr pattern, ConstStringPtr s) {
    int n = pattern[0] < s[0] ? pattern[0] : s[0];
    int last = int(s[0]) + 1 - n;
    for (int i = 1; i <= last; ++i)
        if (SameRun(s + i, pattern + 1, size_t(n))) return SInt16(i);
    return 0;
}

void DeletePStr(StringPtr s, SInt32 index, SInt32 count) {
    int length = s[0];
    if (index < 1 || index > length || count < 1 || count > 255) return;
    int n = count < length - index + 1 ? count : length - index + 1;
    int tail = length - (index + n) + 1;
    std::memmove(s + index, s + index + n, size_t(tail));
    std::memset(s + length - n + 1, 0, size_t(n));
    s[0] = UInt8(length - n);
}

void InsertPStr(ConstStringPtr src, StringPtr s, SInt32 index) {
    int length = s[0];
    if (index < 1 || index > 255 || index > length + 1) return;
    int n = 256 - index < src[0] ? 256 - index : src[0];
    if (n == 0) return;
    // Keep the tail that still fits behind the inserted run.
    int newLength = length + n < 255 ? length + n : 255;
    int tailKept = newLength - (index - 1) - n;
    if (tailKept > 0) std::memmove(s + index + n, s + index, size_t(tailKept));
    std::memmove(s + index, src + 1, size_t(n));
    s[0] = UInt8(newLength);
}

void InsertChar(unsigned char ch, StringPtr s, SInt32 index) {
    int length = s[0];
    if (index < 1 || index > 255 || index > length + 1) return;
    int newLength = length + 1 < 255 ? length + 1 : 255;
    int tailKept = newLength - index;
    if (tailKept > 0) std::memmove(s + index + 1, s + index, size_t(tailKept));
    s[index] = ch;
    s[0] = UInt8(newLength);
}

void PrivCopyStr(StringPtr dest, ConstStringPtr src, UInt8 maxLength, SInt32 index, SInt32 count) {
    ZEZU_REQUIRE("PrivCopyStr", 258, StrLength(src) <= maxLength, "StrLength(theSourcePtr) <= theMaxLength");
    int length = src[0];
    if (index >= 1 && index <= length && count >= 1 && count <= length - index + 1) {
        std::memmove(dest + 1, src + index, size_t(count));
        dest[0] = UInt8(count);
    } else {
        dest[0] = 0;
    }
    if (dest[0] < maxLength) std::memset(dest + dest[0] + 1, 0, size_t(maxLength - dest[0]));
}

void CopySubStr(StringPtr dest, ConstStringPtr src, SInt32 index, SInt32 count) {
    PrivCopyStr(dest, src, 255, index, count);
}

void CopySubStr19(StringPtr dest, ConstStringPtr src, SInt32 index, SInt32 count) {
    PrivCopyStr(dest, src, 19, index, count);
}

void AssignStrN(StringPtr dest, ConstStringPtr src, UInt8 capacity) {
    UInt8 length = src[0] < capacity ? src[0] : capacity;
    std::memmove(dest + 1, src + 1, length);
    dest[0] = length;
}

void ClampPStrLength(StringPtr s, UInt8 capacity) {
    if (s[0] > capacity) s[0] = capacity;
}

void AppendCStr(StringPtr dest, UInt32 destSize, const char* src) {
    for (; *src; ++src)
        AppendChar(dest, destSize, UInt8(*src));
}
