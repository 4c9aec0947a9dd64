// The DXF colour palette, the code pages for reading and writing, and the decoding of DXF texts.
#include "Exchange/DxfCodePages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

std::string Decoded(const DXFCodePages& pages, const std::string& text) {
    return DecodeDXFText(pages, text);
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
    EXPECT_EQ(Decoded(pages, "\xE1"), "\xC3\x9F"); // ß of dos861
}

TEST(DxfCodePages, HeaderNamesSelectTheirCodePage) {
    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, kDXFDefaultCodePage));
    EXPECT_FALSE(SelectDXFCodePage(pages, PStr("DOS850")));
    EXPECT_FALSE(SelectDXFCodePage(pages, PStr(" dos850")));
    EXPECT_FALSE(SelectDXFCodePage(pages, PStr("ANSI_1259")));
    EXPECT_EQ(pages.index, 6);
    EXPECT_TRUE(pages.system.empty());
    const std::pair<const char*, UInt16> names[] = {{"dos437", 0}, {"dos850", 1},     {"dos869", 10},
                                                    {"iso-1", 11}, {"iso8859-2", 12}, {"mac-roman", 13},
                                                    {"mac", 13}};
    for (auto [name, index] : names) {
        EXPECT_TRUE(SelectDXFCodePage(pages, PStr(name)));
        EXPECT_EQ(pages.index, index) << name;
    }
    // The Windows code pages of R12 to R2004 files, in any case.
    const std::pair<const char*, const char*> windows[] = {
        {"ANSI_1252", "Gr\xFC\xDF"
                      "e \xB0"},
        {"ansi_1250", "\x9E\xE1\xEA"},
        {"ANSI_1251", "\xCC\xE8\xF0"},
        {"ANSI_1253", "\xE1\xE2\xE3"},
        {"ANSI_932", "\x93\xFA\x96\x7B"},
        {"ANSI_936", "\xD6\xD0\xCE\xC4"},
        {"ANSI_949", "\xC7\xD1\xB1\xDB"},
        {"ANSI_950", "\xA4\xA4\xA4\xE5"},
        {"ANSI_874", "\xA1\xA2"},
    };
    const char* expected[] = {"Grüße °", "žáę", "Мир", "αβγ", "日本", "中文", "한글", "中文", "กข"};
    for (size_t k = 0; k < std::size(windows); ++k) {
        EXPECT_TRUE(SelectDXFCodePage(pages, PStr(windows[k].first)));
        EXPECT_EQ(Decoded(pages, windows[k].second), expected[k]) << windows[k].first;
    }
    // A table's name takes the table back.
    EXPECT_TRUE(SelectDXFCodePage(pages, PStr("dos850")));
    EXPECT_EQ(Decoded(pages, "\xE1"), "ß");
    // R2007 and later are UTF-8 whatever they name; broken sequences show as "?".
    pages.utf8 = true;
    EXPECT_EQ(Decoded(pages, "OBLIQUE 15°"), "OBLIQUE 15°");
    EXPECT_EQ(Decoded(pages, "a\xC3"), "a?");
    EXPECT_EQ(Decoded(pages, "\xE4x"), "?x");
}

TEST(DxfCodePages, DecodingTextsIntoUtf8) {
    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, 1)); // dos850
    const std::pair<std::string, std::string> cases[] = {
        {"\\fArial|b0;\\H2.5;Ma\xE1", "Maß"},
        {"\\fArial|b0;\\H2.5", "\\fArial|b0;\\H2.5"},
        {"\\fArial|b0;Text", "\\fArial|b0;Text"},
        {"%%c50", "Ø50"},
        {"45%%d %%p0.1", "45° ±0.1"},
        {"%%uA%%u%%oB", "AB"},
        {"100%%%", "100%"},
        {"%%065BC", "ABC"},
        {"%%225x", "ßx"}, // a numbered code is a byte of the file's code page
        {"a%%000b", "ab"},
        {"a%%999b", "ab"},
        {"ab%%", "ab%%"},
        {"%%9", "%%9"},
        {"%%x12y", "%%x12y"},
        {"\\U+FF21\\U+FF42", "Ab"},
        {"\\U+FF10\\U+FF1A\\U+FF20", "0:@"},
        {"\\U+00e4!", "ä!"},
        {"x\\U+4E2Dy", "x中y"},
        {"\\U+D83D\\U+DE00", "\xF0\x9F\x98\x80"}, // a pair of escapes for one character
        {"x\\U+0000y", "xy"},
        {"\\U+00", "\\U+00"},
        {"\\U+00zz", "\\U+00zz"},
        {"\\M+193FA\\M+5D6D0", "\xE6\x97\xA5\xE4\xB8\xAD"}, // 日 in 932, 中 in 936
        {"\x81", "ü"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Decoded(pages, in), out) << in;

    DXFCodePages none; // tables absent: upper bytes have no character
    EXPECT_EQ(Decoded(none, "Ma\xE1%%%"), "Ma?%");
}

TEST(DxfCodePages, MTextFormattingLeavesThePlainText) {
    DXFCodePages pages;
    pages.utf8 = true;
    const std::pair<std::string, std::string> cases[] = {
        {"\\pxi0,qj;{\\A1;Plain}", "Plain"},
        {"One\\PTwo", "One\nTwo"},
        {"{\\fArial|b1|i0|c0|p34;Bold} {\\H2.5x;\\C1;red}", "Bold red"},
        {"\\W0.8;\\Q15;\\T1.1;narrow", "narrow"},
        {"\\LUnder\\l \\OOver\\o \\KStrike\\k", "Under Over Strike"},
        {"a\\~b", "a b"},
        {"1\\S1^2; 3\\S3/4; \\S5#8;", "11/2 33/4 5/8"},
        {"\\S+0.1^ -0.2;", "+0.1/-0.2"},
        {"\\\\ \\{x\\}", "\\ {x}"},
        {"%%d\\U+00B0", "°°"},
        {"\\H2.5", ""}, // a code cut off by the end
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DecodeDXFMText(pages, in), out) << in;
}

TEST(DxfCodePages, NamesDecodeEscapesAndBlankControls) {
    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, 0)); // dos437
    EXPECT_EQ(DecodeDXFName(pages, "\x81"
                                   "ber\x01\x84\xE1"),
              "über äß");
    EXPECT_EQ(DecodeDXFName(pages, "W\\U+00E4nde"), "Wände");
    EXPECT_EQ(DecodeDXFName(pages, std::string(200, '\xB0')).size(), 255u); // three bytes each
    std::string two = DecodeDXFName(pages, std::string(200, '\x81'));       // never half a character
    EXPECT_EQ(two.size(), 254u);
    EXPECT_EQ(UInt8(two.back()), 0xBC);
}

TEST(DxfCodePages, EncoderWritesTheCodePageAndEscapesTheRest) {
    DXFTextEncoder dos850, ansi, ascii;
    ASSERT_TRUE(LoadDXFTextEncoder(dos850, 1));
    ASSERT_TRUE(LoadDXFTextEncoder(ansi, 14));
    ASSERT_TRUE(LoadDXFTextEncoder(ascii, -1));
    EXPECT_EQ(EncodeDXFText("100%", dos850), "100%%%");
    EXPECT_EQ(EncodeDXFText("Maß", dos850), "Ma\xE1");
    EXPECT_EQ(EncodeDXFText("Grüße €", ansi), "Gr\xFC\xDF"
                                              "e \x80");
    EXPECT_EQ(EncodeDXFText("Grüße", ascii), "Gr\\U+00FC\\U+00DFe");
    EXPECT_EQ(EncodeDXFText("Ω中", ansi), "\\U+03A9\\U+4E2D");
    EXPECT_EQ(EncodeDXFText("\xF0\x9F\x98\x80", ascii), "\\U+D83D\\U+DE00");
    EXPECT_EQ(EncodeDXFText("a\tb\x7F\xC3", dos850), "a?b??");
    EXPECT_EQ(EncodeDXFText(std::string(100, '%'), ascii).size(), 255u);
    // Cut whole: never inside an escape.
    std::string cut = EncodeDXFText(std::string(40, 'x') + std::string(40, '\xCE'), ascii);
    EXPECT_LE(cut.size(), 255u);
    // Every byte each code page gives a character comes back as that byte.
    DXFCodePages pages;
    ASSERT_TRUE(LoadCodePageTables(pages, 0));
    int mapped = 0;
    for (SInt32 page = 0; page <= 14; ++page) {
        DXFTextEncoder e;
        ASSERT_TRUE(LoadDXFTextEncoder(e, page));
        if (page < 14) {
            pages.index = UInt16(page);
        } else {
            ASSERT_TRUE(SelectDXFCodePage(pages, PStr("ANSI_1252")));
        }
        for (int b = 128; b < 256; ++b) {
            std::string byte(1, char(b));
            std::string text = Decoded(pages, byte);
            if (text == "?") continue;
            ++mapped;
            EXPECT_EQ(EncodeDXFText(text, e), byte) << page << " " << b;
        }
        pages.system.clear();
    }
    EXPECT_GT(mapped, 128 * 12);
}

} // namespace
