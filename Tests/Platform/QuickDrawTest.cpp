// QuickDraw on ports: exact pixels of frames and arcs, XOR drawing undone by itself, patterns, text,
// offscreen worlds and CopyBits.
#include "GuiHarness.h"
#include "Platform/Fonts.h"
#include "Platform/Windows.h"

#include <functional>
#include <vector>

namespace {

// An offscreen world that is the current port for the test, white.
struct Canvas {
    GWorldPtr world = nullptr;
    explicit Canvas(SInt16 w = 64, SInt16 h = 48, SInt16 depth = 32) {
        EXPECT_EQ(NewOffscreenGWorld(&world, w, h, depth, 0), noErr);
        SetGWorld(world);
    }
    ~Canvas() { DisposeOffscreenGWorld(&world); }
    bool Black(SInt16 h, SInt16 v) const {
        RGBColor c = GetPortPixel(world, h, v);
        return c.red == 0 && c.green == 0 && c.blue == 0;
    }
    std::vector<UInt32> Pixels() const {
        SInt32 rowBytes;
        UInt32* p = GetGWorldPixels(world, &rowBytes);
        Rect b;
        GetPortBounds(world, &b);
        return std::vector<UInt32>(p, p + rowBytes / 4 * (b.bottom - b.top));
    }
    int CountBlack() const {
        Rect b;
        GetPortBounds(world, &b);
        int n = 0;
        for (SInt16 y = b.top; y < b.bottom; ++y)
            for (SInt16 x = b.left; x < b.right; ++x)
                n += Black(x, y);
        return n;
    }
};

} // namespace

TEST_F(GuiTest, FrameRectDrawsThePenInsideTheRectangle) {
    Canvas c;
    Rect r{10, 10, 20, 30};
    PenSize(2, 1);
    FrameRect(&r);
    EXPECT_TRUE(c.Black(10, 10));
    EXPECT_TRUE(c.Black(11, 15));  // left edge, 2 wide
    EXPECT_FALSE(c.Black(12, 15)); // inside
    EXPECT_TRUE(c.Black(29, 19));  // bottom-right pixel is inside the rectangle
    EXPECT_FALSE(c.Black(30, 19));
    EXPECT_FALSE(c.Black(29, 20));
    EXPECT_EQ(c.CountBlack(), 2 * 20 + 2 * 2 * 8);
}

TEST_F(GuiTest, LinesIncludeBothEndsAndHangBelowRightOfThePen) {
    Canvas c;
    MoveTo(5, 5);
    LineTo(15, 5);
    EXPECT_EQ(c.CountBlack(), 11);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 15);
    PenSize(3, 3);
    MoveTo(30, 30);
    Line(0, 0);
    EXPECT_TRUE(c.Black(32, 32));
    EXPECT_FALSE(c.Black(29, 29));
}

TEST_F(GuiTest, ArcsStartAtTwelveOClockAndRunClockwise) {
    Canvas c(100, 100);
    Rect r{0, 0, 100, 100};
    PaintArc(&r, 0, 90);
    EXPECT_TRUE(c.Black(75, 25));  // upper right
    EXPECT_FALSE(c.Black(25, 25)); // upper left
    EXPECT_FALSE(c.Black(75, 75));
    EraseRect(&r);
    PaintArc(&r, 90, -180); // from 3 o'clock back through 12 to 9
    EXPECT_TRUE(c.Black(25, 25));
    EXPECT_TRUE(c.Black(75, 25));
    EXPECT_FALSE(c.Black(50, 80));
}

TEST_F(GuiTest, XorDrawingTwiceRestoresThePixels) {
    Canvas c(80, 60);
    Rect base{5, 5, 50, 70};
    Pattern gray;
    FillRect(&base, GetQDGlobalsGray(&gray));
    RGBColor blue{0, 0, 0xFFFF};
    RGBForeColor(&blue);
    Rect r{10, 12, 40, 60};
    std::vector<std::pair<const char*, std::function<void()>>> shapes = {
        {"line",
         [] {
             MoveTo(2, 3);
             LineTo(70, 55);
         }},
        {"thick line",
         [] {
             PenSize(3, 2);
             MoveTo(70, 2);
             LineTo(4, 50);
         }},
        {"frame", [&] { FrameRect(&r); }},
        {"paint", [&] { PaintRect(&r); }},
        {"oval", [&] { FrameOval(&r); }},
        {"round rect", [&] { FrameRoundRect(&r, 12, 8); }},
        {"arc", [&] { FrameArc(&r, 30, 200); }},
        {"invert", [&] { InvertRect(&r); }},
        {"text",
         [] {
             TextMode(srcXor);
             MoveTo(8, 30);
             DrawString(PStr("XOR text"));
         }},
    };
    for (auto& [name, draw] : shapes) {
        std::vector<UInt32> before = c.Pixels();
        PenNormal();
        PenMode(patXor);
        draw();
        EXPECT_NE(c.Pixels(), before) << name << " drew nothing";
        PenNormal();
        PenMode(patXor);
        draw();
        EXPECT_EQ(c.Pixels(), before) << name;
        TextMode(srcOr);
    }
}

TEST_F(GuiTest, PatternsAndColoursFollowTheTransferMode) {
    Canvas c;
    Rect r{0, 0, 8, 8};
    Pattern gray;
    PenPat(GetQDGlobalsGray(&gray));
    RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    PaintRect(&r); // copy: set bits red, clear bits background
    EXPECT_EQ(GetPortPixel(c.world, 0, 0).red, 0xFFFF);
    EXPECT_EQ(GetPortPixel(c.world, 0, 0).green, 0);
    EXPECT_EQ(GetPortPixel(c.world, 1, 0).green, 0xFFFF);
    Rect r2{10, 0, 18, 8};
    Pattern black;
    FillRect(&r2, GetQDGlobalsBlack(&black));
    PenMode(patBic);
    PaintRect(&r2); // bic: set bits become the background
    EXPECT_EQ(GetPortPixel(c.world, 0, 10).green, 0xFFFF);
    EXPECT_EQ(GetPortPixel(c.world, 1, 10).green, 0);
    // Clipping limits every kind of drawing.
    Rect clip{30, 30, 40, 40};
    ClipRect(&clip);
    PenNormal();
    Rect all{0, 0, 48, 64};
    PaintRect(&all);
    EXPECT_EQ(GetPortPixel(c.world, 35, 35).red, 0xFFFF);
    EXPECT_EQ(GetPortPixel(c.world, 45, 45).green, 0xFFFF);
}

TEST_F(GuiTest, TextDrawsAtThePenAndMeasuresConsistently) {
    Canvas c(200, 40);
    TextFont(0);
    TextSize(12);
    FontInfo info;
    GetFontInfo(&info);
    EXPECT_GT(info.ascent, 5);
    EXPECT_GT(info.descent, 0);
    SInt16 w = StringWidth(PStr("Draftwerk"));
    EXPECT_GT(w, 30);
    EXPECT_EQ(TextWidth("xDraftwerk", 1, 9), w);
    EXPECT_LT(StringWidth(PStr("ii")), StringWidth(PStr("WW")));
    MoveTo(10, 20);
    DrawString(PStr("Draftwerk"));
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 10 + w);
    EXPECT_GT(c.CountBlack(), 30);
    // Nothing of the text lies left of the pen start or below the descent.
    for (SInt16 y = 0; y < 40; ++y)
        EXPECT_FALSE(c.Black(8, y));
    for (SInt16 x = 0; x < 200; ++x)
        EXPECT_FALSE(c.Black(x, SInt16(20 + info.descent + 1)));
    TextFace(bold);
    EXPECT_GT(StringWidth(PStr("Draftwerk")), w);
}

// Each character stands at the sum of the widths before it, with no pair kerning: a field placed at
// the measured end of a prompt never meets its last character, and a caret at the measured width of
// the characters before it stands between them.
TEST_F(GuiTest, CharactersStandAtTheSumOfTheWidthsBeforeThem) {
    TextFont(applFont);
    TextSize(12);
    for (const char* text : {"Click the start point, or type x,y.", "AVATAR", "Ty.", "y."}) {
        SCOPED_TRACE(text);
        Canvas whole(300, 30), pieces(300, 30);
        SetGWorld(whole.world);
        TextFont(applFont);
        TextSize(12);
        MoveTo(2, 20);
        DrawString(PStr(text));
        SInt16 sum = 0;
        SetGWorld(pieces.world);
        TextFont(applFont);
        TextSize(12);
        for (const char* c = text; *c != 0; ++c) {
            MoveTo(SInt16(2 + sum), 20);
            DrawChar(UInt8(*c));
            sum = SInt16(sum + CharWidth(UInt8(*c)));
        }
        EXPECT_EQ(StringWidth(PStr(text)), sum);
        EXPECT_TRUE(whole.Pixels() == pieces.Pixels());
    }
}

TEST_F(GuiTest, CopyBitsCopiesScalesAndXors) {
    Canvas src(16, 16);
    Rect quarter{0, 0, 8, 8};
    PaintRect(&quarter);
    GWorldPtr source = src.world;
    Canvas dst(32, 32);
    Rect from{0, 0, 16, 16}, to{0, 0, 32, 32};
    CopyBits(source, dst.world, &from, &to, srcCopy, nullptr);
    EXPECT_TRUE(dst.Black(15, 15));
    EXPECT_FALSE(dst.Black(16, 16));
    std::vector<UInt32> before = dst.Pixels();
    Rect same{0, 0, 16, 16};
    CopyBits(source, dst.world, &from, &same, srcXor, nullptr);
    EXPECT_FALSE(dst.Black(2, 2)); // black on black inverted to white
    CopyBits(source, dst.world, &from, &same, srcXor, nullptr);
    EXPECT_EQ(dst.Pixels(), before);
    // A mask region limits the copy.
    RgnHandle mask = NewRgn();
    SetRectRgn(mask, 20, 20, 24, 24);
    Rect whole{16, 16, 32, 32};
    CopyBits(source, dst.world, &from, &whole, srcCopy, mask);
    EXPECT_TRUE(dst.Black(21, 21));
    EXPECT_FALSE(dst.Black(17, 17));
    DisposeRgn(mask);
}

TEST_F(GuiTest, GreyWorldsKeepGreyLevels) {
    Canvas c(8, 8, 8);
    RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    Rect r{0, 0, 8, 8};
    PaintRect(&r);
    RGBColor p = GetPortPixel(c.world, 3, 3);
    EXPECT_EQ(p.red, p.green);
    EXPECT_EQ(p.green, p.blue);
    EXPECT_EQ(GetGWorldDepth(c.world), 8);
}

TEST_F(GuiTest, RegionsCombineAndTest) {
    RgnHandle a = NewRgn(), b = NewRgn(), r = NewRgn();
    SetRectRgn(a, 0, 0, 10, 10);
    SetRectRgn(b, 5, 5, 15, 15);
    UnionRgn(a, b, r);
    EXPECT_TRUE(PtInRgn(Pt(12, 12), r));
    DiffRgn(a, b, r);
    EXPECT_FALSE(PtInRgn(Pt(6, 6), r));
    EXPECT_TRUE(PtInRgn(Pt(2, 2), r));
    SectRgn(a, b, r);
    Rect bounds;
    GetRegionBounds(r, &bounds);
    EXPECT_EQ(bounds.left, 5);
    EXPECT_EQ(bounds.right, 10);
    SetRectRgn(r, 0, 0, 10, 10);
    InsetRgn(r, 2, 3);
    GetRegionBounds(r, &bounds);
    EXPECT_EQ(bounds.left, 2);
    EXPECT_EQ(bounds.top, 3);
    EXPECT_EQ(bounds.right, 8);
    EXPECT_EQ(bounds.bottom, 7);
    SetRectRgn(r, 5, 5, 5, 9);
    EXPECT_TRUE(EmptyRgn(r));
    DisposeRgn(a);
    DisposeRgn(b);
    DisposeRgn(r);
}

TEST_F(GuiTest, WindowPortSavesAsPng) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 200, 260});
    SetPortWindowPort(w);
    Rect r{10, 10, 50, 90};
    PaintOval(&r);
    MoveTo(20, 80);
    DrawString(PStr("port"));
    std::string path = SaveWindowPNG(w, "window-port.png");
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char sig[4] = {};
    EXPECT_EQ(std::fread(sig, 1, 4, f), 4u);
    std::fclose(f);
    EXPECT_EQ(sig[1], 'P');
    EXPECT_EQ(sig[2], 'N');
}

TEST_F(GuiTest, FontRegistryMapsNumbersAndNamesToFixedFamilies) {
    struct Case {
        const char* name;
        SInt16 number;
    } const cases[] = {{"Geneva", kFontGeneva},
                       {"helvetica", kFontHelvetica},
                       {"Times", kFontTimes},
                       {"Courier", kFontCourier},
                       {"Monaco", kFontMonaco},
                       {"Osaka", kFontOsaka},
                       {"New York", kFontNewYork},
                       {"Palatino", kFontPalatino},
                       {"No Such Font", systemFont},
                       // An installed family gives the Mac number it stands in for.
                       {"DejaVu Serif", kFontNewYork},
                       {"liberation serif", kFontTimes},
                       {"DejaVu Sans", kFontGeneva}};
    for (const auto& c : cases) {
        SInt16 n = -1;
        GetFNum(PStr(c.name), &n);
        EXPECT_EQ(n, c.number) << c.name;
    }
    // Numbers show as the installed family that draws them.
    Str255 name;
    GetFontName(kFontCourier, name);
    EXPECT_EQ(ToStd(name), "Liberation Mono");
    GetFontName(applFont, name);
    EXPECT_EQ(ToStd(name), "DejaVu Sans");
    GetFontName(kFontPalatino, name);
    EXPECT_EQ(ToStd(name), "Liberation Serif");
    GetFontName(777, name); // a font the machine has not: empty, so callers see it missing
    EXPECT_EQ(ToStd(name), "");
    EXPECT_FALSE(FontNumberExists(777));
    for (SInt16 i = 1; i <= CountFontFamilies(); ++i) {
        SInt16 n;
        GetIndFontFamily(i, name, &n);
        EXPECT_TRUE(FontNumberExists(n)) << ToStd(name);
    }

    // The monospaced families really are monospaced, the others not.
    Canvas c;
    TextSize(12);
    TextFont(kFontCourier);
    EXPECT_EQ(CharWidth('i'), CharWidth('W'));
    TextFont(kFontMonaco);
    EXPECT_EQ(CharWidth('i'), CharWidth('W'));
    TextFont(kFontHelvetica);
    EXPECT_LT(CharWidth('i'), CharWidth('W'));
}
