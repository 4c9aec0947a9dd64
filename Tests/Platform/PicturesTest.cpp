// The picture decoder: bitmaps and pixel maps of both picture versions, packed and not; lines, shapes,
// polygons and text with their pens and colours; and data cut short or damaged anywhere drawn without
// reading past its end.
#include "Platform/CGContext.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"
#include "Platform/QuickDraw.h"

#include <TestSupport.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct PictBytes {
    std::vector<UInt8> b;
    PictBytes& U8(int v) { return b.push_back(UInt8(v)), *this; }
    PictBytes& U16(int v) { return U8(v >> 8).U8(v); }
    PictBytes& U32(UInt32 v) { return U16(int(v >> 16)).U16(int(v & 0xFFFF)); }
    PictBytes& R(int top, int left, int bottom, int right) {
        return U16(top).U16(left).U16(bottom).U16(right);
    }
    PictBytes& Bytes(std::initializer_list<int> bytes) {
        for (int v : bytes)
            U8(v);
        return *this;
    }
    PictBytes& Align() { return b.size() % 2 ? U8(0) : *this; }
};

PictBytes Version2(int height, int width) {
    PictBytes p;
    p.U16(0).R(0, 0, height, width).U16(0x0011).U16(0x02FF).U16(0x0C00);
    for (int i = 0; i < 24; ++i)
        p.U8(0);
    p.U16(0x001E).U16(0x0001).U16(10).R(0, 0, height, width); // default highlight, clip
    return p;
}

// The pixel map fields after the bounds, for a depth, packing and component count.
void PixMapFields(PictBytes& p, int packType, int depth, int components) {
    p.U16(0).U16(packType).U32(0).U32(0x00480000).U32(0x00480000);
    p.U16(depth == 32 ? 16 : 0).U16(depth).U16(components).U16(depth == 32 ? 8 : depth);
    p.U32(0).U32(0).U32(0);
}

// Two rows of 64 pixels: the first all black, the second white and black bytes by turns.
std::vector<UInt8> Version1PackedBitmap() {
    PictBytes p;
    p.U16(0).R(0, 0, 2, 64).Bytes({0x11, 0x01, 0x98});
    p.U16(8).R(0, 0, 2, 64).R(0, 0, 2, 64).R(0, 0, 2, 64).U16(0);
    p.Bytes({2, 0xF9, 0xFF});
    p.Bytes({9, 7, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF});
    p.U8(0xFF);
    return p.b;
}

// Two rows of 8 colour-table pixels: white and blue.
std::vector<UInt8> Version2PackedIndexed() {
    PictBytes p = Version2(2, 8);
    p.U16(0x0098).U16(0x8000 | 8).R(0, 0, 2, 8);
    PixMapFields(p, 0, 8, 1);
    p.U32(0).U16(0).U16(1).U16(0).U16(0xFFFF).U16(0xFFFF).U16(0xFFFF).U16(1).U16(0).U16(0).U16(0xFFFF);
    p.R(0, 0, 2, 8).R(0, 0, 2, 8).U16(0);
    p.Bytes({2, 0xF9, 1});
    p.Bytes({9, 7, 0, 1, 0, 1, 0, 1, 0, 1});
    p.Align().U16(0x00FF);
    return p.b;
}

// One row of four direct pixels packed by component: red planes full, blue rising.
std::vector<UInt8> Version2PackedDirect() {
    PictBytes p = Version2(1, 4);
    p.U16(0x00A1).U16(100).U16(2).U16(0); // a comment to step over
    p.U16(0x009A).U32(0xFF).U16(0x8000 | 16).R(0, 0, 1, 4);
    PixMapFields(p, 4, 32, 3);
    p.R(0, 0, 1, 4).R(0, 0, 1, 4).U16(0);
    p.Bytes({9, 0xFD, 0xFF, 0xFD, 0x00, 0x03, 0, 0, 128, 128});
    p.Align().U16(0x00FF);
    return p.b;
}

// A version 1 picture of 20 x 20: a framed rectangle, a painted oval, a line along the top row, a
// painted triangle and a painted quarter (pie) at the bottom right.
std::vector<UInt8> Version1Shapes() {
    PictBytes p;
    p.U16(0).R(0, 0, 20, 20).Bytes({0x11, 0x01});
    p.U8(0x30).R(2, 2, 10, 10);              // frame rect
    p.U8(0x51).R(12, 2, 18, 8);              // paint oval
    p.U8(0x20).U16(0).U16(0).U16(0).U16(19); // line v 0, h 0 to 19
    p.U8(0x07).U16(2).U16(2);                // pen 2 x 2
    p.U8(0x71).U16(22).R(2, 12, 10, 19);     // paint polygon, three points
    p.U16(2).U16(12).U16(10).U16(12).U16(10).U16(19);
    p.U8(0x61).R(10, 10, 30, 30).U16(270).U16(90); // paint arc: from nine o'clock to twelve
    p.U8(0xFF);
    return p.b;
}

// A version 2 picture of 10 x 10 in red on a moved origin, then an opcode whose length is unknown.
std::vector<UInt8> Version2Coloured() {
    PictBytes p = Version2(10, 10);
    p.U16(0x001A).U16(0xFFFF).U16(0).U16(0); // red foreground
    p.U16(0x000C).U16(100).U16(100);         // origin moved by 100, 100
    p.U16(0x0031).R(100, 100, 105, 110);     // paint rect: the top half
    p.U16(0x0039);                           // paint the same rect again
    p.U16(0x0012);                           // a pixel pattern: the walk ends here
    p.U16(0x0031).R(105, 100, 110, 110);     // never reached
    p.U16(0x00FF);
    return p.b;
}

// Text in the default font: something dark lands left of x 40 above the baseline at y 20.
std::vector<UInt8> Version1Text() {
    PictBytes p;
    p.U16(0).R(0, 0, 30, 60).Bytes({0x11, 0x01});
    p.U8(0x0D).U16(14);
    p.U8(0x28).U16(20).U16(2).U8(3).Bytes({'W', 'M', 'W'});
    p.U8(0xFF);
    return p.b;
}

struct Canvas {
    GWorldPtr world = nullptr;
    explicit Canvas(SInt16 w, SInt16 h) {
        EXPECT_EQ(NewOffscreenGWorld(&world, w, h, 32, 0), noErr);
        SetGWorld(world);
        Rect all{0, 0, h, w};
        EraseRect(&all);
    }
    ~Canvas() { DisposeOffscreenGWorld(&world); }
    UInt32 At(SInt16 h, SInt16 v) const {
        RGBColor c = GetPortPixel(world, h, v);
        return UInt32(c.red >> 8) << 16 | UInt32(c.green >> 8) << 8 | UInt32(c.blue >> 8);
    }
};

} // namespace

TEST(PicturesTest, BitmapsAndPixelMapsOfBothVersions) {
    struct Case {
        const char* name;
        std::vector<UInt8> data;
        SInt16 width, height;
        std::vector<std::pair<Point, UInt32>> pixels; // {v, h} -> RGB
    };
    const Case cases[] = {
        {"version 1 packed bitmap",
         Version1PackedBitmap(),
         64,
         2,
         {{{0, 0}, 0x000000}, {{0, 63}, 0x000000}, {{1, 3}, 0xFFFFFF}, {{1, 12}, 0x000000}}},
        {"version 2 packed indexed",
         Version2PackedIndexed(),
         8,
         2,
         {{{0, 5}, 0x0000FF}, {{1, 0}, 0xFFFFFF}, {{1, 1}, 0x0000FF}}},
        {"version 2 packed direct", Version2PackedDirect(), 4, 1, {{{0, 0}, 0xFF0000}, {{0, 3}, 0xFF0080}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rect frame;
        ASSERT_TRUE(GetPictureFrame(c.data.data(), c.data.size(), &frame));
        EXPECT_EQ(frame.right, c.width);
        Canvas canvas(c.width, c.height);
        Rect dest{0, 0, c.height, c.width};
        ASSERT_TRUE(DrawPictureData(c.data.data(), c.data.size(), &dest));
        for (const auto& [at, rgb] : c.pixels)
            EXPECT_EQ(canvas.At(at.h, at.v), rgb) << at.v << "," << at.h;
    }

    // Through a handle, scaled into a larger rectangle.
    std::vector<UInt8> direct = Version2PackedDirect();
    Handle h = nullptr;
    ASSERT_EQ(PtrToHand(direct.data(), &h, Size(direct.size())), noErr);
    Canvas canvas(40, 10);
    Rect dest{0, 0, 10, 40};
    DrawPicture(h, &dest);
    EXPECT_EQ(canvas.At(2, 5), 0xFF0000u);
    DisposeHandle(h);
}

TEST(PicturesTest, DataCutShortOrDamagedDrawsNothingWrong) {
    EnsureTestApplication();
    Canvas canvas(64, 2);
    Rect dest{0, 0, 2, 64};
    for (const std::vector<UInt8>& data :
         {Version1PackedBitmap(), Version2PackedIndexed(), Version2PackedDirect(), Version1Shapes(),
          Version2Coloured(), Version1Text()}) {
        for (size_t n = 0; n < data.size(); ++n) {
            std::vector<UInt8> cut(data.begin(), data.begin() + std::ptrdiff_t(n));
            DrawPictureData(cut.data(), cut.size(), &dest); // copies, so a read past the end is caught
        }
        std::vector<UInt8> damaged = data;
        for (size_t i = 10; i < damaged.size(); ++i) {
            UInt8 kept = damaged[i];
            damaged[i] = 0xFF;
            DrawPictureData(damaged.data(), damaged.size(), &dest);
            damaged[i] = kept;
        }
    }
    const UInt8 notAPicture[] = {0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 'H', 'i', '!', '!'};
    EXPECT_FALSE(DrawPictureData(notAPicture, sizeof notAPicture, &dest));
}

TEST(PicturesTest, ShapesLinesAndColoursAreDrawnWhereTheirOpcodesPutThem) {
    EnsureTestApplication();
    struct Case {
        const char* name;
        std::vector<UInt8> data;
        SInt16 width, height;
        std::vector<std::pair<Point, UInt32>> pixels; // {v, h} -> RGB
    };
    const Case cases[] = {
        {"version 1 shapes",
         Version1Shapes(),
         20,
         20,
         {{{2, 5}, 0x000000},     // the frame's top edge
          {{5, 5}, 0xFFFFFF},     // inside the frame
          {{9, 9}, 0x000000},     // the frame's bottom-right corner, inside the rectangle
          {{10, 10}, 0xFFFFFF},   // just outside it
          {{15, 5}, 0x000000},    // the oval's centre
          {{12, 2}, 0xFFFFFF},    // the oval's corner is outside the oval
          {{0, 10}, 0x000000},    // the line
          {{8, 13}, 0x000000},    // inside the triangle
          {{3, 18}, 0xFFFFFF},    // outside it
          {{15, 15}, 0x000000},   // inside the quarter
          {{11, 11}, 0xFFFFFF}}}, // inside the arc's box, outside its circle
        {"version 2 colours and origin",
         Version2Coloured(),
         10,
         10,
         {{{2, 5}, 0xFF0000}, {{7, 5}, 0xFFFFFF}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(c.width, c.height);
        Rect dest{0, 0, c.height, c.width};
        ASSERT_TRUE(DrawPictureData(c.data.data(), c.data.size(), &dest));
        for (const auto& [at, rgb] : c.pixels)
            EXPECT_EQ(canvas.At(at.h, at.v), rgb) << at.v << "," << at.h;
    }

    std::vector<UInt8> text = Version1Text();
    Canvas canvas(60, 30);
    Rect dest{0, 0, 30, 60};
    ASSERT_TRUE(DrawPictureData(text.data(), text.size(), &dest));
    int dark = 0, darkBelowBaseline = 0;
    for (SInt16 v = 0; v < 30; ++v)
        for (SInt16 h = 0; h < 60; ++h)
            if (canvas.At(h, v) == 0) (v < 21 && h < 40 ? dark : darkBelowBaseline) += 1;
    EXPECT_GT(dark, 20);
    EXPECT_EQ(darkBelowBaseline, 0);
}

TEST(PicturesTest, PicturesThatDrawNothingKnownAreRefused) {
    Canvas canvas(10, 10);
    Rect dest{0, 0, 10, 10};
    struct Case {
        const char* name;
        std::vector<UInt8> data;
    };
    PictBytes empty = Version2(10, 10);
    empty.U16(0x00FF);
    PictBytes unknownFirst = Version2(10, 10);
    unknownFirst.U16(0x0012).U16(0x0031).R(0, 0, 5, 5).U16(0x00FF);
    PictBytes shortPolygon;
    shortPolygon.U16(0).R(0, 0, 10, 10).Bytes({0x11, 0x01, 0x71}).U16(6).R(0, 0, 5, 5);
    PictBytes hugeRegion;
    hugeRegion.U16(0).R(0, 0, 10, 10).Bytes({0x11, 0x01, 0x81}).U16(0xFFF0).R(0, 0, 5, 5);
    PictBytes textPastEnd;
    textPastEnd.U16(0).R(0, 0, 10, 10).Bytes({0x11, 0x01, 0x28}).U16(5).U16(0).U8(200).Bytes({'a'});
    const Case cases[] = {{"only the end", empty.b},
                          {"an unknown opcode first", unknownFirst.b},
                          {"a polygon shorter than its header", shortPolygon.b},
                          {"a region longer than the data", hugeRegion.b},
                          {"text longer than the data", textPastEnd.b}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DrawPictureData(c.data.data(), c.data.size(), &dest));
        for (SInt16 v = 0; v < 10; ++v)
            for (SInt16 h = 0; h < 10; ++h)
                ASSERT_EQ(canvas.At(h, v), 0xFFFFFFu);
    }
}

TEST(PicturesTest, IntoADrawingContextThePictureStandsUprightAndScaled) {
    std::vector<UInt8> data = Version1Shapes();
    Canvas canvas(80, 80);
    CGContextRef ctx = nullptr;
    ASSERT_EQ(QDBeginCGContext(canvas.world, &ctx), noErr);
    CGContextSetShouldAntialias(ctx, false);
    EXPECT_TRUE(QDPictDrawToCGContext(ctx, CGRectMake(0, 0, 40, 40), data.data(), data.size()));
    const UInt8 notAPicture[] = {0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 'H', 'i', '!', '!'};
    EXPECT_FALSE(QDPictDrawToCGContext(ctx, CGRectMake(0, 0, 80, 80), notAPicture, sizeof notAPicture));
    QDEndCGContext(canvas.world, &ctx);
    // Twice the size and upright in the port's bottom-left 40 x 40 (user space has y up).
    EXPECT_EQ(canvas.At(10, 40 + 4 + 1), 0x000000u); // the frame's top edge, doubled
    EXPECT_EQ(canvas.At(10, 40 + 10), 0xFFFFFFu);    // inside the frame
    EXPECT_EQ(canvas.At(10, 40 + 30), 0x000000u);    // the oval's centre
    EXPECT_EQ(canvas.At(60, 10), 0xFFFFFFu);         // nothing outside the rectangle
}
