// The DXF colour palette, the code-page tables for reading and writing, and the decoding of DXF texts.
#include "Exchange/DxfCodePages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string Decoded(const DXFCodePages& pages, const std::string& text) {
    PStrBuf s = PStr(text);
    DecodeDXFText(pages, s);
    return ToStd(s);
}

TEST(DxfPalette, BundleFileGivesTheColourIndexWithWhiteAsBlack) {
    RGBColor palette[256];
    palette[0] = RGBColor{1, 2, 3};
    ASSERT_TRUE(LoadACIPalette(palette));
    struct Case {
        int n;
        RGBColor rgb;
    } cases[] = {
        {1, {65535, 0, 0}},
        {2, {65535, 65535, 0}},
        {5, {0, 0, 65535}},
        {7, {0, 0, 0}},
        {8, {128 * 257, 128 * 257, 128 * 257}},
        {255, {0, 0, 0}},
        {10, {65535, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(palette[c.n].red, c.rgb.red);
        EXPECT_EQ(palette[c.n].green, c.rgb.green);
        EXPECT_EQ(palette[c.n].blue, c.rgb.blue);
    }
    EXPECT_EQ(palette[0].red, 1); // entry 0 belongs to the caller
}

TEST(DxfCodePages, PreferenceIsClampedBeforeItIndexesATable) {
    const std::pair<UInt32, UInt16> importCases[] = {{0, 0},       {13, 13},        {14, 11},   {15, 6},
                                                     {0x10005, 5}, {0xFFFFFFFF, 6}, {0x7FFF, 6}};
    for (auto [pref, index] : importCases)
        EXPECT_EQ(ImportCodePageIndex(pref), index) << pref;
    const std::pair<UInt32, UInt32> exportCases[] = {{0, 0}, {14, 14}, {15, 6}, {0x80000000u, 6}};
    for (auto [pref, page] : exportCases)
        EXPECT_EQ(ExportCodePage(pref), page) << pref;

    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, 0xFFFFFFFF));
    EXPECT_EQ(pages.index, 6);
    PStrBuf high = PStr("\xE1");
    DecodeDXFText(pages, high); // must not read outside the tables
    EXPECT_EQ(ToStd(high).size(), 1u);
}

TEST(DxfCodePages, HeaderNamesSelectExactlyTheirTable) {
    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, kDXFDefaultCodePage));
    EXPECT_FALSE(SelectDXFCodePage(pages, PStr("ANSI_1252")));
    EXPECT_EQ(pages.index, 6);
    EXPECT_FALSE(SelectDXFCodePage(pages, PStr("DOS850")));
    EXPECT_FALSE(SelectDXFCodePage(pages, PStr(" dos850")));
    EXPECT_EQ(pages.index, 6);
    const std::pair<const char*, UInt16> names[] = {{"dos437", 0}, {"dos850", 1},     {"dos869", 10},
                                                    {"iso-1", 11}, {"iso8859-2", 12}, {"mac-roman", 13},
                                                    {"mac", 13}};
    for (auto [name, index] : names) {
        EXPECT_TRUE(SelectDXFCodePage(pages, PStr(name)));
        EXPECT_EQ(pages.index, index) << name;
    }
}

TEST(DxfCodePages, DecodingTable) {
    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, 1)); // dos850
    const std::pair<std::string, std::string> cases[] = {
        {"\\fArial|b0;\\H2.5;Ma\xE1", "Ma\xA7"}, // ß of dos850 is Mac Roman 0xA7
        {"\\fArial|b0;\\H2.5", "\\fArial|b0;\\H2.5"},
        {"\\fArial|b0;Text", "\\fArial|b0;Text"},
        {"%%c50", "50"},
        {"100%%%", "100%"},
        {"%%065BC", "ABC"},
        {"%%225x", "\xA7x"}, // a numbered code is a byte of the file's code page
        {"a%%000b", "ab"},   // no NUL put in
        {"a%%999b", "ab"},
        {"ab%%", "ab%%"},
        {"%%9", "%%9"},
        {"%%x12y", "%%x12y"},
        {"\\U+FF21\\U+FF42", "Ab"},
        {"\\U+FF10\\U+FF1A\\U+FF20", "0:@"},
        {"\\U+00e4!", "\x8A!"},
        {"x\\U+4E2Dy", "xy"}, // no Mac Roman character: dropped
        {"x\\U+0000y", "xy"},
        {"\\U+00", "\\U+00"},
        {"\\U+00E1\\U+00E1", "\x87\x87"}, // already Mac Roman, not decoded again
        {"\x81", "\x9F"},                 // ü
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Decoded(pages, in), out) << in;

    DXFCodePages none; // tables absent: high bytes kept
    EXPECT_EQ(Decoded(none, "Ma\xE1%%%"), "Ma\xE1%");
}

TEST(DxfCodePages, ExportTablesInvertTheImportTablesForEveryCodePage) {
    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, 0));
    DXFExportTables out;
    ASSERT_TRUE(LoadExportCodePages(out));
    EXPECT_EQ(out[1][0xA7 - 128], 0xE1);  // ß in dos850
    EXPECT_EQ(out[11][0xA7 - 128], 0xDF); // ß in ISO 8859-1
    EXPECT_EQ(out[3][0xA7 - 128], 0);     // dos855 has no ß
    int mapped = 0;
    for (int t = 0; t < kDXFCodePageCount; ++t) {
        pages.index = static_cast<UInt16>(t);
        for (int mac = 128; mac < 256; ++mac) {
            UInt8 byte = out[t][mac - 128];
            if (t == kDXFMacRomanCodePage) {
                EXPECT_EQ(byte, mac);
            }
            if (!byte) continue;
            ++mapped;
            std::string s(1, static_cast<char>(byte));
            EXPECT_EQ(Decoded(pages, s), std::string(1, static_cast<char>(mac))) << t << " " << mac;
        }
    }
    EXPECT_GT(mapped, 128 * 5);
}

TEST(DxfCodePages, DosStringsBecomeUtf8WithinTheLength) {
    PStrBuf s = PStr("\x81"
                     "ber\x01\x84\xE1");
    DosToUtf8(s);
    EXPECT_EQ(ToStd(s), "\xC3\xBC"
                        "ber \xC3\xA4\xC3\x9F");
    PStrBuf box = PStr(std::string(200, '\xB0')); // three bytes each
    DosToUtf8(box);
    EXPECT_EQ(box[0], 255);
    PStrBuf two = PStr(std::string(200, '\x81')); // two bytes each: never half a character
    DosToUtf8(two);
    EXPECT_EQ(two[0], 254);
    EXPECT_EQ(two[254], 0xBC);
}

} // namespace
