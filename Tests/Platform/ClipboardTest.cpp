// The clipboard's text flavours: every text flavour stands for the one text, it is converted to and
// from the system encoding, and a text taken from it is cut at a character boundary. Its pictures:
// QuickDraw pictures as they are, images as bitmap pictures.
#include "ClipboardSupport.h"
#include "GuiHarness.h"

#include "Platform/Clipboard.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

namespace {

std::string BitmapPictureBytes(SInt16 width, SInt16 height, UInt32 argb) {
    std::vector<UInt32> pixels(size_t(width) * size_t(height), argb);
    PicHandle picture = NewBitmapPicture(pixels.data(), width * 4, width, height);
    std::string bytes(*picture, size_t(GetHandleSize(picture)));
    DisposeHandle(picture);
    return bytes;
}

// The colour in the middle of the picture drawn at its own size.
UInt32 MiddleColour(Handle picture, const Rect& frame) {
    GWorldPtr world = nullptr;
    const SInt16 w = SInt16(std::min(frame.right - frame.left, 64)),
                 h = SInt16(std::min(frame.bottom - frame.top, 64));
    if (NewOffscreenGWorld(&world, w, h, 32, 0) != noErr) return 0;
    CGrafPtr kept;
    GetGWorld(&kept);
    SetGWorld(world);
    const Rect whole = {0, 0, h, w};
    DrawPicture(picture, &whole);
    SetGWorld(kept);
    SInt32 rowBytes = 0;
    const UInt32* pixels = GetGWorldPixels(world, &rowBytes);
    const UInt32 colour = pixels[size_t(h / 2) * size_t(rowBytes / 4) + size_t(w / 2)] & 0xFFFFFF;
    DisposeOffscreenGWorld(&world);
    return colour;
}

} // namespace

// What another program puts there becomes one picture: a QuickDraw picture bare or behind a file's
// header, PNG and TIFF images of their size and colour, an image too large scaled down to 4095
// pixels a side. Data that are no picture are offered but give none.
TEST_F(Clipboard, PicturesAndImagesBecomeQuickDrawPictures) {
    const std::string pict = BitmapPictureBytes(6, 4, 0xFF336699);
    struct Case {
        const char* name;
        std::string mime, bytes;
        SInt16 width, height;
        bool asIs;
    } cases[] = {
        {"bare PICT", "image/x-pict", pict, 6, 4, true},
        {"PICT with a file header", "image/x-pict", std::string(512, '\0') + pict, 6, 4, true},
        {"PNG", "image/png", EncodeSolidImage("PNG", 7, 3, 0x336699), 7, 3, false},
        {"TIFF", "image/tiff", EncodeSolidImage("TIFF", 5, 9, 0x336699), 5, 9, false},
        {"large PNG", "image/png", EncodeSolidImage("PNG", 5000, 10, 0x336699), 4095, 8, false},
    };
    Handle h = NewHandle(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.empty());
        PutClipboardFlavours({{c.mime, c.bytes}});
        EXPECT_EQ(ScrapFlavorAvailable(kScrapFlavorPicture), noErr);
        EXPECT_FALSE(ScrapHasText());
        ASSERT_EQ(PrvGetScrap(h, kScrapFlavorPicture), noErr);
        const auto* bytes = reinterpret_cast<const UInt8*>(*h);
        const size_t size = size_t(GetHandleSize(h));
        if (c.asIs) {
            EXPECT_EQ(std::string(*h, size), pict);
        }
        EXPECT_TRUE(PictureFitsData(bytes, size));
        Rect frame{};
        ASSERT_TRUE(GetPictureFrame(bytes, size, &frame));
        EXPECT_EQ(frame.right - frame.left, c.width);
        EXPECT_EQ(frame.bottom - frame.top, c.height);
        EXPECT_EQ(MiddleColour(h, frame), 0x336699u);
    }

    for (const auto& [mime, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"image/x-pict", std::string(600, 'x')}, {"image/png", "not an image"}}) {
        SCOPED_TRACE(mime);
        PutClipboardFlavours({{mime, bytes}});
        EXPECT_EQ(PrvGetScrap(h, kScrapFlavorPicture), kScrapFlavorMissing);
    }
    PutClipboardFlavours({{"text/plain", "12,5"}});
    EXPECT_EQ(ScrapFlavorAvailable(kScrapFlavorPicture), kScrapFlavorMissing);
    EXPECT_EQ(PrvGetScrap(h, kScrapFlavorPicture), kScrapFlavorMissing);
    DisposeHandle(h);
}
