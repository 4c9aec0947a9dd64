// The clipboard's text flavours: every text flavour stands for the one text, it is converted to and
// from the system encoding, and a text taken from it is cut at a character boundary.
#include "GuiHarness.h"

#include "Platform/Clipboard.h"
#include "Platform/MemoryManager.h"

#include <string>

namespace {

using Clipboard = GuiTest;

void PutUTF8(const std::string& text) {
    PutScrapData(Size(text.size()), kScrapFlavorUTF8, text.data());
}

} // namespace

TEST(ClipboardCut, CutsAtACharacterBoundary) {
    struct Case {
        std::string text;
        Size capacity;
        std::string want;
    } cases[] = {
        {"abc", 5, "abc"},
        {"abc", 2, "ab"},
        {"aé", 2, "a"},                // é is two bytes: not split
        {"aé", 3, "aé"},               //
        {"日本", 5, "日"},             // three bytes each
        {"x\xF0\x9F\x98\x80", 4, "x"}, // a four-byte character
        {"abc", 0, ""},
        {"abc", -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " " + std::to_string(c.capacity));
        EXPECT_EQ(std::string(CutUTF8(c.text, c.capacity)), c.want);
    }
}

TEST_F(Clipboard, EveryTextFlavourStandsForTheOneText) {
    ClearCurrentScrap();
    for (ResType flavor : {kScrapFlavorText, kScrapFlavorUnicode, kScrapFlavorStyledUnicode})
        EXPECT_EQ(ScrapFlavorAvailable(flavor), kScrapFlavorMissing);
    EXPECT_FALSE(ScrapHasText());
    EXPECT_EQ(GetScrapTextUTF8(100), "");

    // "Größe" in the system encoding: ö is 0x9A, ß is 0xA7.
    const char macRoman[] = "Gr\x9A\xA7"
                            "e";
    ASSERT_EQ(PutScrapData(5, kScrapFlavorText, macRoman), noErr);
    for (ResType flavor : {kScrapFlavorText, kScrapFlavorUnicode, kScrapFlavorStyledUnicode})
        EXPECT_EQ(ScrapFlavorAvailable(flavor), noErr);
    EXPECT_EQ(ScrapFlavorAvailable(kScrapFlavorPicture), kScrapFlavorMissing);
    EXPECT_EQ(GetScrapTextUTF8(100), "Größe");
    EXPECT_EQ(GetScrapTextUTF8(4), "Grö"); // ß would not fit whole

    Handle h = NewHandle(0);
    ASSERT_EQ(PrvGetScrap(h, kScrapFlavorText), noErr);
    EXPECT_EQ(std::string(*h, size_t(GetHandleSize(h))), std::string(macRoman, 5));
    ASSERT_EQ(PrvGetScrap(h, kScrapFlavorUnicode), noErr);
    EXPECT_EQ(GetHandleSize(h), 10);

    // A character the system encoding lacks stays whole in UTF-8 and becomes "?" in "TEXT".
    PutUTF8("⌀ 12");
    EXPECT_EQ(GetScrapTextUTF8(100), "⌀ 12");
    ASSERT_EQ(PrvGetScrap(h, kScrapFlavorText), noErr);
    EXPECT_EQ(std::string(*h, size_t(GetHandleSize(h))), "? 12");

    EXPECT_EQ(PutScrapData(4, FOUR_CHAR("PICT"), "abcd"), kScrapFlavorMissing);
    EXPECT_EQ(GetScrapTextUTF8(100), "⌀ 12"); // a refused flavour leaves the text
    ClearCurrentScrap();
    EXPECT_EQ(PrvGetScrap(h, kScrapFlavorText), kScrapFlavorMissing);
    DisposeHandle(h);
}
