// The length-prefixed string library: sizes, searches, splices and its assertion reports.
#include "TestSupport.h"
#include "Other/ZEZUdivari.h"

#include <gtest/gtest.h>
#include <cstring>

TEST(StringLibrary, CopyAndAppendRespectTheDestinationSize) {
    unsigned char small[8];
    CopyPStr(small, sizeof small, PStr("0123456789"));
    EXPECT_EQ(ToStd(small), "0123456");
    Str255 big;
    CopyPStr(big, 11, PStr("0123456789"));
    EXPECT_EQ(ToStd(big), "0123456789");

    unsigned char buf[8];
    CopyPStr(buf, sizeof buf, PStr("abc"));
    AppendPStr(buf, sizeof buf, PStr("0123456789"));
    EXPECT_EQ(ToStd(buf), "abc0123");
    AppendPStr(buf, sizeof buf, PStr("x"));
    EXPECT_EQ(ToStd(buf), "abc0123");
    AppendChar(buf, sizeof buf, 'z');
    EXPECT_EQ(ToStd(buf), "abc0123");

    Str255 full;
    std::memset(full, 'a', sizeof full);
    full[0] = 255;
    AppendChar(full, sizeof full, 'b');
    AppendPStr(full, sizeof full, PStr("b"));
    EXPECT_EQ(full[0], 255);
    EXPECT_EQ(full[255], 'a');

    unsigned char one[1] = {0};
    CopyChar(one, 1, 'q');
    EXPECT_EQ(one[0], 0);
    CopyChar(big, 2, 'q');
    EXPECT_EQ(ToStd(big), "q");
}

TEST(StringLibrary, EqualityAndOrder) {
    EXPECT_FALSE(EqualPStr(PStr("abc"), PStr("abd")));
    EXPECT_TRUE(EqualPStr(PStr(""), PStr("")));
    EXPECT_TRUE(EqualPStr(PStr("abc"), PStr("abc")));
    EXPECT_FALSE(EqualPStr(PStr("abc"), PStr("ABC")));

    struct Case {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {{"ab", "abc", -1}, {"abc", "ab", 1}, {"b", "abc", 1},   {"", "", 0},
                 {"", "a", -1},     {"a", "", 1},     {"abc", "abc", 0}, {"\xE4", "z", 1}};
    for (const Case& c : cases) {
        int r = ComparePStr(PStr(c.a), PStr(c.b));
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(StringLibrary, Searches) {
    EXPECT_EQ(PosChar('.', PStr("12.5")), 3);
    EXPECT_EQ(PosChar('.', PStr("125")), 0);
    EXPECT_EQ(PosChar('.', PStr("")), 0);
    EXPECT_EQ(PosCharAlt('5', PStr("12.5")), 4);
    EXPECT_EQ(PosCharAltEntry('5', PStr("12.5")), 4);

    EXPECT_EQ(FindPStr(PStr("abc"), PStr("ab")), 0);
    EXPECT_EQ(PosPStr(PStr("abc"), PStr("ab")), 1);
    EXPECT_EQ(FindPStr(PStr("lo"), PStr("hello lo")), 4);
    EXPECT_EQ(FindPStr(PStr(""), PStr("")), 1);
    EXPECT_EQ(FindPStr(PStr(""), PStr("xy")), 1);
    EXPECT_EQ(PosPStr(PStr(""), PStr("xy")), 1);
    EXPECT_EQ(PosPStr(PStr("xy"), PStr("")), 1);
    EXPECT_EQ(PosPStr(PStr("cd"), PStr("abcd")), 3);
    EXPECT_EQ(PosPStr(PStr("ce"), PStr("abcd")), 0);
}

TEST(StringLibrary, DeleteZeroesTheFreedBytesAndIgnoresBadRanges) {
    PStrBuf s = PStr("abcde");
    DeletePStr(s, 3, 10);
    EXPECT_EQ(ToStd(s), "ab");
    EXPECT_EQ(s.bytes[3], 0);
    EXPECT_EQ(s.bytes[4], 0);
    EXPECT_EQ(s.bytes[5], 0);

    PStrBuf t = PStr("abcde");
    DeletePStr(t, 2, 2);
    EXPECT_EQ(ToStd(t), "ade");

    for (auto [index, count] : {std::pair{0, 1}, {1, 0}, {1, 256}, {6, 1}, {-1, 2}}) {
        PStrBuf u = PStr("abcde");
        DeletePStr(u, index, count);
        EXPECT_EQ(ToStd(u), "abcde") << index << "," << count;
    }
}

TEST(StringLibrary, InsertDropsWhatPassesTheEnd) {
    Str255 s;
    std::memset(s, 'x', sizeof s);
    s[0] = 252;
    s[250] = 'A';
    s[251] = 'B';
    s[252] = 'C';
    InsertPStr(PStr("0123456789"), s, 250);
    EXPECT_EQ(s[0], 255);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(s + 250), 6), "012345");

    PStrBuf m = PStr("abef");
    InsertPStr(PStr("cd"), m, 3);
    EXPECT_EQ(ToStd(m), "abcdef");
    InsertPStr(PStr("!"), m, 7);
    EXPECT_EQ(ToStd(m), "abcdef!");
    InsertPStr(PStr("?"), m, 9);
    EXPECT_EQ(ToStd(m), "abcdef!");

    PStrBuf c = PStr("ac");
    InsertChar('b', c, 2);
    EXPECT_EQ(ToStd(c), "abc");
    InsertChar('z', c, 0);
    EXPECT_EQ(ToStd(c), "abc");

    std::memset(s, 'y', sizeof s);
    s[0] = 255;
    InsertChar('Z', s, 255);
    EXPECT_EQ(s[0], 255);
    EXPECT_EQ(s[255], 'Z');
    EXPECT_EQ(s[254], 'y');
}

TEST(StringLibrary, SubstringCopyIsAllOrNothing) {
    Str255 dest;
    std::memset(dest, 0x55, sizeof dest);
    CopySubStr(dest, PStr("abcdef"), 3, 5);
    EXPECT_EQ(dest[0], 0);
    for (int i = 1; i < 256; ++i)
        ASSERT_EQ(dest[i], 0) << i;

    CopySubStr(dest, PStr("abcdef"), 3, 4);
    EXPECT_EQ(ToStd(dest), "cdef");

    PStrBuf same = PStr("abcdef");
    CopySubStr(same, same, 2, 3);
    EXPECT_EQ(ToStd(same), "bcd");

    Str19 field;
    std::memset(field, 0x55, sizeof field);
    CopySubStr19(field, PStr("title"), 1, 5);
    EXPECT_EQ(ToStd(field), "title");
    for (int i = 6; i <= 19; ++i)
        EXPECT_EQ(field[i], 0);
}

TEST(StringLibrary, FixedCapacityAssignment) {
    Str19 f;
    AssignStr19(f, PStr("0123456789012345678901234"));
    EXPECT_EQ(ToStd(f), "0123456789012345678");
    Str3 g;
    AssignStr3(g, PStr("ab"));
    EXPECT_EQ(ToStd(g), "ab");
    Str255 h;
    AssignStr255(h, PStr("whole"));
    EXPECT_EQ(ToStd(h), "whole");
}

TEST(StringLibrary, LengthFromOutsideDataIsClampedBeforeUse) {
    // A title-block field read from a damaged file claims 200 characters in a 19-character field.
    Str19 field;
    std::memset(field, 'k', sizeof field);
    field[0] = 200;
    ClampPStrLength(field, 19);
    Str19 copy;
    CopySubStr19(copy, field, 1, 19);
    EXPECT_EQ(copy[0], 19);
}

using StringLibraryDeathTest = testing::Test;

TEST(StringLibraryDeathTest, BrokenPreconditionsReportOperationModuleLineAndExpression) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Str255 s;
    s[0] = 10;
    EXPECT_DEATH(CopyPStr(s, 0, PStr("a")),
                 "Assertion failed: destSize > 0, operation CopyPStr, module ZEZUdivari, line 11");
    EXPECT_DEATH(CopyChar(s, 0, 'a'), "destSize > 0, operation CopyChar, module ZEZUdivari, line 21");
    EXPECT_DEATH(AppendPStr(s, 0, PStr("a")),
                 "destSize > 0, operation AppendPStr, module ZEZUdivari, line 34");
    EXPECT_DEATH(AppendPStr(s, 5, PStr("a")),
                 "destSize >= \\*dest \\+ 1, operation AppendPStr, module ZEZUdivari, line 35");
    EXPECT_DEATH(AppendChar(s, 0, 'a'), "destSize > 0, operation AppendChar, module ZEZUdivari, line 50");
    EXPECT_DEATH(AppendChar(s, 5, 'a'), "operation AppendChar, module ZEZUdivari, line 51");
    Str19 d;
    EXPECT_DEATH(
        PrivCopyStr(d, PStr("01234567890123456789"), 19, 1, 1),
        "StrLength\\(theSourcePtr\\) <= theMaxLength, operation PrivCopyStr, module ZEZUdivari, line 258");
}
