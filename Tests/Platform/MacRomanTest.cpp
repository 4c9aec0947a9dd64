// Mac Roman conversion: every byte value round trip through UTF-16 and UTF-8, and what has no place.
#include "Platform/MacRoman.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

TEST(MacRoman, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    std::u16string utf16 = MacRomanToUTF16(all);
    ASSERT_EQ(utf16.size(), 256u);
    EXPECT_EQ(UTF16ToMacRoman(utf16), all);
    EXPECT_EQ(UTF8ToMacRoman(MacRomanToUTF8(all)), all);

    std::set<char16_t> distinct(utf16.begin(), utf16.end());
    EXPECT_EQ(distinct.size(), 256u);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(UnicodeToMacRoman(MacRomanToUnicode(UInt8(b))), b) << b;
        UniChar u = MacRomanToUnicode(UInt8(b));
        EXPECT_TRUE(u < 0xD800 || u > 0xDFFF) << b; // never half of a surrogate pair
    }
}

TEST(MacRoman, KnownCharacters) {
    struct Case {
        UInt8 byte;
        UniChar unicode;
    } cases[] = {{'A', 'A'},     {0x0D, 0x0D},   {0x80, 0x00C4}, {0x8A, 0x00E4}, {0x9F, 0x00FC},
                 {0xA1, 0x00B0}, {0xA7, 0x00DF}, {0xB5, 0x00B5}, {0xBD, 0x03A9}, {0xCA, 0x00A0},
                 {0xD0, 0x2013}, {0xDB, 0x20AC}, {0xDE, 0xFB01}, {0xF0, 0xF8FF}, {0xFF, 0x02C7}};
    for (const Case& c : cases)
        EXPECT_EQ(MacRomanToUnicode(c.byte), c.unicode) << int(c.byte);
    EXPECT_EQ(MacRomanToUTF8("\x80\xA1"), "Ä°");
    EXPECT_EQ(UTF8ToMacRoman("Größe 5°"), "Gr\x9A\xA7"
                                          "e 5\xA1");
}

TEST(MacRoman, WhatMacRomanLacksBecomesAQuestionMark) {
    EXPECT_EQ(UTF8ToMacRoman("日本"), "??");
    EXPECT_EQ(UTF8ToMacRoman("a\xC2\xA4z"), "a?z"); // the currency sign has no place
    EXPECT_EQ(UTF8ToMacRoman("x\xF0\x9F\x98\x80y"), "x?y");
    // Broken UTF-8: a stray continuation byte, a cut sequence, an overlong form, a surrogate.
    EXPECT_EQ(UTF8ToMacRoman("\x80"), "?");
    EXPECT_EQ(UTF8ToMacRoman("a\xE2\x82"), "a?");
    EXPECT_EQ(UTF8ToMacRoman("\xC0\xAF"), "??");
    EXPECT_EQ(UTF8ToMacRoman("\xED\xA0\x80"), "?");
    EXPECT_EQ(UTF16ToMacRoman(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(UTF16ToMacRoman(std::u16string(1, char16_t(0xDC00))), "?");
    EXPECT_EQ(UnicodeToMacRoman(0x110000), '?');
}

TEST(MacRoman, LengthPrefixedStrings) {
    EXPECT_EQ(PStrToUTF8(PStr("\x8A\x9A\x9F")), "äöü");
    Str31 s;
    UTF8ToPStr("Maße", s, 31);
    EXPECT_EQ(ToStd(s), "Ma\xA7"
                        "e");
    UTF8ToPStr(std::string(40, 'x'), s, 31);
    EXPECT_EQ(s[0], 31);
}
