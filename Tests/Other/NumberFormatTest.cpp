// Number and length formatting and parsing, feet and inches, and feet-inch literals in formulas.
#include "Other/NumberFormat.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Real(double v, UInt16 digits) {
    Str255 s;
    FormatReal(v, digits, s);
    return ToStd(s);
}

std::string FeetInches(double mm, UInt16 bits = 6, UInt16 inchesOnly = 0) {
    Str255 s;
    FormatFeetInches(inchesOnly, &bits, mm, s);
    return ToStd(s);
}

struct Rewritten {
    SInt16 error;
    UInt16 position;
    std::string text;
};

Rewritten Rewrite(const std::string& in) {
    unsigned char out[255];
    UInt16 n = 0, pos = 0;
    SInt16 err = RewriteFeetInchLiterals(reinterpret_cast<const unsigned char*>(in.data()), UInt16(in.size()),
                                         out, &n, &pos);
    return {err, pos, std::string(reinterpret_cast<char*>(out), n)};
}

} // namespace

TEST(NumberFormat, RealsAndPaddedIntegers) {
    EXPECT_EQ(Real(2.5, 3), "2.500");
    EXPECT_EQ(Real(-1.25, 1), "-1.2");
    EXPECT_EQ(Real(1234567.891, 0), "1234568");
    EXPECT_EQ(Real(1e300, 2).size(), 255u);
    Str255 s;
    FormatRealComma(2.5, 1, s);
    EXPECT_EQ(ToStd(s), "2,5");
    FormatReal(0.5, 65535, s); // a digit count from a file cannot overrun the buffer
    EXPECT_EQ(s[0], 255);

    NumToPaddedStr(42, 5, s);
    EXPECT_EQ(ToStd(s), "   42");
    NumToPaddedStr(123456, 3, s);
    EXPECT_EQ(ToStd(s), "123456");
    NumToPaddedStr(-7, 3, s);
    EXPECT_EQ(ToStd(s), " -7");
    NumToPaddedStr(1, 300, s);
    EXPECT_EQ(s[0], 255);
    EXPECT_EQ(s[255], '1');
}

TEST(NumberFormat, ParsingIntegersAndReals) {
    EXPECT_EQ(PStrToShort(PStr("   70000")), 4464);
    EXPECT_EQ(PStrToShort(PStr("-12x")), -12);
    EXPECT_EQ(PStrToShort(PStr("abc")), 0);
    EXPECT_EQ(PStrToLong(PStr("  +2147483647")), 2147483647);
    EXPECT_EQ(PStrToLong(PStr("-2147483648")), SInt32(-2147483647 - 1));
    EXPECT_EQ(PStrToLong(PStr("99999999999")), SInt32(UInt32(99999999999ULL & 0xFFFFFFFFu)));

    struct Case {
        const char* text;
        double value;
    } cases[] = {{"1,5D3", 1500.0}, {"", 0.0},       {"2.5e-1", 0.25}, {"-3d2", -300.0},
                 {"  7.5", 7.5},    {"12abc", 12.0}, {"abc", 0.0},     {"1e999", HUGE_VAL},
                 {"1e-999", 0.0},   {".5", 0.5},     {"+4,25", 4.25}};
    for (const Case& c : cases)
        EXPECT_EQ(ParseReal(PStr(c.text)), c.value) << c.text;
}

TEST(NumberFormat, CaseAndSubstrings) {
    auto s = PStr("AbC-Ä");
    LowerCasePStr(s);
    EXPECT_EQ(ToStd(s), "abc-Ä");
    EXPECT_TRUE(CharGreaterNoCase('b', 'A'));
    EXPECT_FALSE(CharGreaterNoCase('a', 'A'));
    EXPECT_TRUE(CharGreaterEqualNoCase('a', 'A'));
    EXPECT_FALSE(CharGreaterNoCase(0xE4, 'z')); // signed bytes: high characters sort first

    Str255 d;
    PStrMid(PStr("abcdef"), 3, 2, d);
    EXPECT_EQ(ToStd(d), "cd");
    PStrMid(PStr("abcdef"), 5, 10, d);
    EXPECT_EQ(ToStd(d), "ef");
    PStrMid(PStr("abc"), 4, 1, d);
    EXPECT_EQ(ToStd(d), "");
    PStrMid(PStr("abc"), 1, 0, d);
    EXPECT_EQ(ToStd(d), "");
    EXPECT_TRUE(PStrMidIsBlank(PStr("a   b"), 2, 3, d));
    EXPECT_FALSE(PStrMidIsBlank(PStr("a   b"), 2, 4, d));
    EXPECT_TRUE(PStrMidIsBlank(PStr("a"), 5, 1, d));

    EXPECT_EQ(PStrDigitsToNum(PStr("x1-2 3y"), 1, 7), 123u);
    EXPECT_EQ(PStrDigitsToNum(PStr("12345"), 2, 2), 23u);
    EXPECT_EQ(PStrDigitsToNum(PStr("12345"), 4, 99), 45u);
    EXPECT_EQ(PStrDigitsToNum(PStr("12"), 3, 1), 0u);
    EXPECT_EQ(PStrDigitsToNum(PStr("12"), 1, 0), 0u);
}

TEST(NumberFormat, ByteSizes) {
    std::string sep(1, char(DecimalSeparatorChar()));
    struct Case {
        SInt32 size;
        std::string text;
    } cases[] = {{512, "512B"},
                 {1023, "1023B"},
                 {1024, "1" + sep + "0KB"},
                 {1536, "1" + sep + "5KB"},
                 {1048575, "1024" + sep + "0KB"},
                 {1048576, "1" + sep + "0MB"},
                 {2147483647, "2048" + sep + "0MB"}};
    for (const Case& c : cases) {
        Str255 s;
        FormatByteSize(c.size, s);
        EXPECT_EQ(ToStd(s), c.text) << c.size;
    }
}

TEST(NumberFormat, FeetAndInches) {
    struct Case {
        double mm;
        const char* text;
    } cases[] = {{12.7, "1/2\""},     {304.8, "1'"},   {330.2, "1'-1\""},  {317.5, "1'1/2\""},
                 {-330.2, "-1'-1\""}, {127.0, "5\""},  {139.7, "5 1/2\""}, {0.0, "0\""},
                 {304.7, "1'"},       {3048.0, "10'"}, {25.0, "63/64\""},  {31.75, "1 1/4\""}};
    for (const Case& c : cases)
        EXPECT_EQ(FeetInches(c.mm), c.text) << c.mm;

    EXPECT_EQ(FeetInches(330.2, 6, 1), "13\"");
    // Rounding up to twelve inches stays in inches when feet are not split off.
    EXPECT_EQ(FeetInches(304.7, 6, 1), "12\"");
    EXPECT_EQ(FeetInches(12.7 * 0.75, 1), "1/2\"");

    UInt16 bits = 0;
    Str255 s;
    FormatFeetInches(0, &bits, 12.7, s);
    EXPECT_EQ(bits, 6);
    EXPECT_EQ(s[s[0] + 1], 0); // the rest of the string is cleared
}

TEST(NumberFormat, FeetAndInchesSurviveBadSettingsAndLengths) {
    // A fraction setting from a file far outside the range is clamped, not shifted into nonsense.
    EXPECT_EQ(FeetInches(12.7, 65535), "1/2\"");
    EXPECT_EQ(FeetInches(1.0, 40), "5/128\"");
    EXPECT_EQ(FeetInches(std::numeric_limits<double>::quiet_NaN()), "0\"");
    EXPECT_EQ(FeetInches(INFINITY).empty(), false);
    std::string huge = FeetInches(1e300);
    EXPECT_LE(huge.size(), 255u);
    EXPECT_EQ(huge.substr(0, 4), "3280");
    EXPECT_EQ(FeetInches(-1e30).substr(0, 2), "-3");
}

TEST(NumberFormat, FeetInchLiteralsBecomeInches) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"3'4\"", "(3*12+4)"},
                 {"3'-4\"", "(3*12+4)"},
                 {"3' 4 1/2\"", "(3*12+4+1/2)"},
                 {"3'4 1/2\"", "(3*12+4+1/2)"},
                 {"5'", "(5*12)"},
                 {"7/8\"", "(7/8)"},
                 {"2.5'+6\"", "(2.5*12)+(6)"},
                 {"-3'4\"*2", "-(3*12+4)*2"},
                 {"3' - 4\"", "(3*12) - (4)"},
                 {"2+ 1/2\"", "2+ (1/2)"},
                 {"10*SIN(30)", "10*SIN(30)"},
                 {"", ""}};
    for (const Case& c : cases) {
        Rewritten r = Rewrite(c.in);
        EXPECT_EQ(r.error, 0) << c.in;
        EXPECT_EQ(r.position, 65535) << c.in;
        EXPECT_EQ(r.text, c.out) << c.in;
    }
}

TEST(NumberFormat, FeetInchLiteralErrors) {
    struct Case {
        const char* in;
        SInt16 error;
        UInt16 position;
    } cases[] = {{"\"", 40, 1},      {"2+\"", 40, 3}, {"'", 41, 1},      {"'4\"", 41, 1},
                 {"/2\"", 42, 1},    {"1/\"", 43, 3}, {"1/0\"", 44, 3},  {"1/2.5\"", 45, 3},
                 {"1.5/2\"", 45, 1}, {"1'2'", 46, 3}, {"4\"5\"", 46, 3}, {"3'4", 47, 3}};
    for (const Case& c : cases) {
        Rewritten r = Rewrite(c.in);
        EXPECT_EQ(r.error, c.error) << c.in;
        EXPECT_EQ(r.position, c.position) << c.in;
    }
    std::string longText(125, '1');
    longText = longText + "'+" + longText + "'";
    EXPECT_EQ(Rewrite(longText).error, 48);
}

TEST(NumberFormat, FeetInchRewritingMapsPositionsBack) {
    std::string in = "3'4\"+X";
    unsigned char out[255];
    UInt16 map[256] = {}, n = 0, pos = 0;
    ASSERT_EQ(RewriteFeetInchLiterals(reinterpret_cast<const unsigned char*>(in.data()), UInt16(in.size()),
                                      out, &n, &pos, map),
              0);
    ASSERT_EQ(std::string(reinterpret_cast<char*>(out), n), "(3*12+4)+X");
    EXPECT_EQ(map[1], 1);
    EXPECT_EQ(map[8], 1);
    EXPECT_EQ(map[9], 5);
    EXPECT_EQ(map[10], 6);
}

TEST(NumberFormat, GeneralStrings) {
    Str255 s;
    GetAppString(1, s);
    EXPECT_EQ(ToStd(s), "Cancel");
    GetAppString(32000, s);
    EXPECT_EQ(s[0], 0);
    GetAppString(-1, s);
    EXPECT_EQ(s[0], 0);
}
