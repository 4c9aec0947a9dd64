// The picture decoder: bitmaps and pixel maps of both picture versions, packed and not, and data cut
// short anywhere drawn without reading past its end.
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"
#include "Platform/QuickDraw.h"

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
    Canvas canvas(64, 2);
    Rect dest{0, 0, 2, 64};
    for (const std::vector<UInt8>& data :
         {Version1PackedBitmap(), Version2PackedIndexed(), Version2PackedDirect()}) {
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
