// The CG-style context on ports and in PDF: dashes, arcs, fills and clips, transforms, patterns,
// images and text, with antialiasing off so that pixels can be checked.
#include "Platform/CGContext.h"
#include "Platform/FileManager.h"
#include "GuiHarness.h"
#include "Platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// An offscreen world (white) with a CG context over it; y up from the bottom-left.
class CGTest : public GuiTest {
  protected:
    static constexpr SInt16 kW = 100, kH = 80;
    void SetUp() override {
        GuiTest::SetUp();
        CGSetDefaultShouldAntialias(false);
        ASSERT_EQ(NewOffscreenGWorld(&world_, kW, kH, 32, 0), noErr);
        ASSERT_EQ(QDBeginCGContext(world_, &ctx_), noErr);
    }
    void TearDown() override {
        if (ctx_) QDEndCGContext(world_, &ctx_);
        DisposeOffscreenGWorld(&world_);
        CGSetDefaultShouldAntialias(true);
        GuiTest::TearDown();
    }
    // Pixel at user coordinates (x, y), y counted up from the bottom.
    bool Black(int x, int y) const {
        RGBColor c = GetPortPixel(world_, SInt16(x), SInt16(kH - 1 - y));
        return c.red < 0x4000 && c.green < 0x4000 && c.blue < 0x4000;
    }
    bool White(int x, int y) const {
        RGBColor c = GetPortPixel(world_, SInt16(x), SInt16(kH - 1 - y));
        return c.red == 0xFFFF && c.green == 0xFFFF && c.blue == 0xFFFF;
    }
    GWorldPtr world_ = nullptr;
    CGContextRef ctx_ = nullptr;
};

void DashedLine(CGContextRef ctx) {
    const CGFloat dash[] = {10, 10};
    CGContextSetRGBStrokeColor(ctx, 0, 0, 0, 1);
    CGContextSetLineWidth(ctx, 2);
    CGContextSetLineDash(ctx, 0, dash, 2);
    CGContextBeginPath(ctx);
    CGContextMoveToPoint(ctx, 0, 40);
    CGContextAddLineToPoint(ctx, 100, 40);
    CGContextStrokePath(ctx);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST_F(CGTest, DashedStrokeLeavesGapsOfTheDashLength) {
    DashedLine(ctx_);
    for (int x : {2, 8, 22, 28, 45})
        EXPECT_TRUE(Black(x, 40) || Black(x, 39)) << x;
    for (int x : {12, 18, 32, 38})
        EXPECT_TRUE(White(x, 40) && White(x, 39)) << x;
    EXPECT_TRUE(White(5, 45));
    EXPECT_TRUE(CGContextIsPathEmpty(ctx_));
}

TEST_F(CGTest, DashedStrokeGoesIntoAPdfFileOfTwoPages) {
    std::string path = TestOutputPath("dashed.pdf");
    std::remove(path.c_str());
    CGRect media = CGRectMake(0, 0, 595, 842);
    FSIORefNum fork = 0;
    ASSERT_EQ(FSOpenForkPath(path.c_str(), fsWrPerm | fsCreateMissing, &fork), noErr);
    CGContextRef pdf = CGPDFContextCreateWithFork(fork, &media);
    ASSERT_NE(pdf, nullptr);
    CGContextBeginPage(pdf, &media);
    DashedLine(pdf);
    CGContextSelectFont(pdf, "Helvetica", 12, kCGEncodingMacRoman);
    CGContextShowTextAtPoint(pdf, 20, 100, "Page 1", 6);
    CGContextEndPage(pdf);
    CGContextBeginPage(pdf, &media);
    DashedLine(pdf);
    CGContextEndPage(pdf);
    EXPECT_EQ(CGContextRelease(pdf), noErr);
    EXPECT_EQ(FSCloseFork(fork), noErr);
    std::string bytes = ReadFile(path);
    ASSERT_GT(bytes.size(), 200u);
    EXPECT_EQ(bytes.substr(0, 4), "%PDF");
    EXPECT_NE(bytes.find("/Count 2"), std::string::npos);
    EXPECT_EQ(CGPDFContextCreateWithFork(fork, &media), nullptr); // closed
}

// A write that fails anywhere in the file (a full disk) is what the release reports: the writer
// itself would finish as if all was well.
TEST_F(CGTest, PdfReleaseReportsAFailedWrite) {
    std::string path = TestOutputPath("full.pdf");
    CGRect media = CGRectMake(0, 0, 595, 842);
    SInt64 size = -1;
    for (SInt64 budget : {SInt64(-1), SInt64(0), SInt64(100), SInt64(-2)}) {
        if (budget == -2) budget = size - 1; // one byte short
        FSIORefNum fork = 0;
        ASSERT_EQ(FSOpenForkPath(path.c_str(), fsWrPerm | fsCreateMissing, &fork), noErr);
        FSSetForkSize(fork, fsFromStart, 0);
        FSFaultInjection faults;
        faults.writeBudget = budget;
        FSSetFaultInjection(faults);
        CGContextRef pdf = CGPDFContextCreateWithFork(fork, &media);
        ASSERT_NE(pdf, nullptr);
        CGContextBeginPage(pdf, &media);
        DashedLine(pdf);
        CGContextEndPage(pdf);
        EXPECT_EQ(CGContextRelease(pdf), budget < 0 ? noErr : dskFulErr) << budget;
        FSClearFaultInjection();
        if (budget < 0) FSGetForkSize(fork, &size);
        FSCloseFork(fork);
    }
    EXPECT_GT(size, 200);
}

// Every stream is deflated at the fastest level (zlib header 78 01): at the default level a large
// drawing spends most of its PDF time compressing. The page's content and the font file of its text.
TEST_F(CGTest, PdfStreamsAreCompressedAtTheFastestLevel) {
    std::string path = TestOutputPath("fast.pdf");
    CGRect media = CGRectMake(0, 0, 595, 842);
    FSIORefNum fork = 0;
    ASSERT_EQ(FSOpenForkPath(path.c_str(), fsWrPerm | fsCreateMissing, &fork), noErr);
    FSSetForkSize(fork, fsFromStart, 0);
    CGContextRef pdf = CGPDFContextCreateWithFork(fork, &media);
    ASSERT_NE(pdf, nullptr);
    CGContextBeginPage(pdf, &media);
    for (int i = 0; i < 200; ++i) {
        CGContextMoveToPoint(pdf, 10 + i, 10);
        CGContextAddLineToPoint(pdf, 300, 20 + i);
        CGContextStrokePath(pdf);
    }
    CGContextSelectFont(pdf, "Geneva", 20, kCGEncodingMacRoman);
    CGContextSetTextDrawingMode(pdf, kCGTextFill);
    CGContextShowTextAtPoint(pdf, 50, 400, "Streams", 7);
    CGContextEndPage(pdf);
    CGContextRelease(pdf);
    FSCloseFork(fork);
    const std::string bytes = ReadFile(path);
    int flate = 0;
    for (size_t at = bytes.find("/FlateDecode"); at != std::string::npos;
         at = bytes.find("/FlateDecode", at + 1)) {
        const size_t data = bytes.find("stream\n", at);
        ASSERT_NE(data, std::string::npos);
        EXPECT_EQ(bytes.substr(data + 7, 2), std::string("\x78\x01", 2));
        ++flate;
    }
    EXPECT_GE(flate, 2);
}

TEST_F(CGTest, ArcsRunCounterClockwiseUnlessAskedOtherwise) {
    CGContextSetRGBFillColor(ctx_, 0, 0, 0, 1);
    CGContextMoveToPoint(ctx_, 50, 40);
    CGContextAddArc(ctx_, 50, 40, 30, 0, M_PI / 2, 0);
    CGContextClosePath(ctx_);
    CGContextFillPath(ctx_);
    EXPECT_TRUE(Black(60, 50)); // upper right quarter
    EXPECT_TRUE(White(40, 50)); // upper left
    EXPECT_TRUE(White(60, 30)); // lower right
    CGContextMoveToPoint(ctx_, 50, 40);
    CGContextAddArc(ctx_, 50, 40, 30, 0, M_PI / 2, 1); // the other three quarters
    CGContextClosePath(ctx_);
    CGContextFillPath(ctx_);
    EXPECT_TRUE(Black(40, 50));
    EXPECT_TRUE(Black(40, 30));
    EXPECT_TRUE(Black(60, 30));
    EXPECT_TRUE(White(85, 75)); // outside the circle
}

TEST_F(CGTest, EvenOddFillsLeaveHolesAndClipsLimitPainting) {
    CGContextSetRGBFillColor(ctx_, 0, 0, 0, 1);
    CGContextAddRect(ctx_, CGRectMake(10, 10, 40, 40));
    CGContextAddRect(ctx_, CGRectMake(20, 20, 20, 20));
    CGContextEOFillPath(ctx_);
    EXPECT_TRUE(Black(12, 12));
    EXPECT_TRUE(White(30, 30));
    CGContextAddRect(ctx_, CGRectMake(10, 10, 40, 40));
    CGContextAddRect(ctx_, CGRectMake(20, 20, 20, 20));
    CGContextFillPath(ctx_);
    EXPECT_TRUE(Black(30, 30));

    CGContextSaveGState(ctx_);
    CGContextClipToRect(ctx_, CGRectMake(60, 0, 20, 20));
    CGContextFillRect(ctx_, CGRectMake(55, 0, 45, 80));
    EXPECT_TRUE(Black(65, 10));
    EXPECT_TRUE(White(57, 10));
    EXPECT_TRUE(White(65, 30));
    CGContextRestoreGState(ctx_);
    CGContextFillRect(ctx_, CGRectMake(55, 60, 5, 5));
    EXPECT_TRUE(Black(57, 62));
}

TEST_F(CGTest, TransformsApplyWhenThePathIsBuilt) {
    CGContextSetRGBFillColor(ctx_, 0, 0, 0, 1);
    CGContextSaveGState(ctx_);
    CGContextTranslateCTM(ctx_, 50, 10);
    CGContextScaleCTM(ctx_, 10, 10);
    CGContextAddRect(ctx_, CGRectMake(0, 0, 1, 1));
    CGContextRestoreGState(ctx_); // the path keeps where it was built
    CGContextFillPath(ctx_);
    EXPECT_TRUE(Black(55, 15));
    EXPECT_TRUE(White(45, 15));
    EXPECT_TRUE(White(55, 25));

    CGContextTranslateCTM(ctx_, 20, 40);
    CGContextRotateCTM(ctx_, M_PI / 2);
    CGContextFillRect(ctx_, CGRectMake(0, 0, 10, 5)); // becomes 5 wide, 10 high, left of the origin
    EXPECT_TRUE(Black(17, 45));
    EXPECT_TRUE(White(23, 45));
    CGAffineTransform t = CGContextGetCTM(ctx_);
    CGPoint p = CGPointApplyAffineTransform(CGPointMake(1, 0), t);
    EXPECT_NEAR(p.x, 20, 1e-9);
    EXPECT_NEAR(p.y, 41, 1e-9);
}

TEST_F(CGTest, PatternFillsKeepTheDeviceGrid) {
    Pattern gray;
    GetQDGlobalsGray(&gray);
    CGContextSetFillPattern8x8(ctx_, &gray, 0, 0, 0, 1, 1);
    CGContextFillRect(ctx_, CGRectMake(0, 0, 16, 16));
    int black = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            black += Black(x, y);
    EXPECT_EQ(black, 128);
    EXPECT_NE(Black(0, 0), Black(1, 0));
    CGContextSetRGBFillColor(ctx_, 0, 0, 0, 1); // solid again
    CGContextFillRect(ctx_, CGRectMake(20, 0, 4, 4));
    EXPECT_TRUE(Black(20, 0) && Black(21, 0));
}

TEST_F(CGTest, ImagesDrawUprightIntoTheirRectangle) {
    GWorldPtr source = nullptr;
    ASSERT_EQ(NewOffscreenGWorld(&source, 10, 10, 32, 0), noErr);
    SetGWorld(source);
    Rect topLeft{0, 0, 5, 5};
    PaintRect(&topLeft);
    std::string png = TestOutputPath("quadrant.png");
    ASSERT_TRUE(SavePortAsPNG(source, png.c_str()));
    DisposeOffscreenGWorld(&source);

    CGImageRef image = CreatePNGImageFromFile(png.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CGImageGetWidth(image), 10u);
    CGContextDrawImage(ctx_, CGRectMake(20, 20, 20, 20), image);
    CGImageRelease(image);
    EXPECT_TRUE(Black(22, 37)); // top-left of the rectangle
    EXPECT_TRUE(White(37, 22));
    EXPECT_TRUE(White(22, 22));
    EXPECT_EQ(CreatePNGImageFromFile(TestOutputPath("missing.png").c_str()), nullptr);
}

TEST_F(CGTest, TextDrawsAboveTheBaselineAndAdvancesThePosition) {
    CGContextSelectFont(ctx_, "Geneva", 20, kCGEncodingMacRoman);
    CGContextSetRGBFillColor(ctx_, 0, 0, 0, 1);
    CGFloat width = CGContextMeasureText(ctx_, "Ab", 2);
    EXPECT_GT(width, 15);
    CGContextSetTextDrawingMode(ctx_, kCGTextInvisible);
    CGContextShowTextAtPoint(ctx_, 10, 30, "Ab", 2);
    EXPECT_NEAR(CGContextGetTextPosition(ctx_).x, 10 + width, 1e-6);
    for (int x = 0; x < kW; ++x)
        ASSERT_TRUE(White(x, 35));

    CGContextSetTextDrawingMode(ctx_, kCGTextFill);
    CGContextShowTextAtPoint(ctx_, 10, 30, "Ab", 2);
    int above = 0, below = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (Black(x, y)) ++(y >= 30 ? above : below);
    EXPECT_GT(above, 20);
    EXPECT_EQ(below, 0);
    // UTF-8 text and a doubled size measure as expected.
    CGContextSelectFont(ctx_, "Geneva", 40, kCGEncodingUTF8);
    EXPECT_NEAR(CGContextMeasureText(ctx_, "Ab", 2), 2 * width, 0.5);
    EXPECT_GT(CGContextMeasureText(ctx_, "\xC3\x84", 2), 5);
}

TEST_F(GuiTest, PortContextsDrawOnlyWhereTheUpdateIs) {
    WindowRef w = MakeTestWindow(kDocumentWindowClass, Rect{100, 100, 200, 300});
    DrainEvents();
    Rect invalid{10, 10, 20, 20};
    InvalWindowRect(w, &invalid);
    BeginUpdate(w);
    CGContextRef ctx = nullptr;
    ASSERT_EQ(QDBeginCGContext(GetWindowPort(w), &ctx), noErr);
    CGContextSetRGBFillColor(ctx, 0, 0, 0, 1);
    CGContextFillRect(ctx, CGRectMake(0, 0, 200, 100));
    QDEndCGContext(GetWindowPort(w), &ctx);
    EndUpdate(w);
    EXPECT_EQ(GetPortPixel(GetWindowPort(w), 15, 15).red, 0);
    EXPECT_EQ(GetPortPixel(GetWindowPort(w), 50, 50).red, 0xFFFF);
}

namespace {

int gHookCalls = 0;

void CountHook(CGContextRef, void*) {
    ++gHookCalls;
}

} // namespace

TEST_F(CGTest, SegmentBatchesStrokeEverySegmentAndDotWithTheirOwnPen) {
    // The context's own stroke state must neither colour nor dash the batch, nor be changed by it.
    const CGFloat dash[] = {2, 2};
    CGContextSetLineDash(ctx_, 0, dash, 2);
    CGContextSetRGBStrokeColor(ctx_, 1, 0, 0, 1);
    const float segments[] = {0, 10.5f, 100, 10.5f, 50.5f, 20, 50.5f, 70};
    const float dots[] = {80.5f, 60.5f};
    CGSegmentPen pen{0, 0, 0, 1, 1, kCGLineCapButt, false};
    CGContextStrokeSegmentBatch(ctx_, &pen, segments, 2, dots, 1);
    for (int x : {0, 25, 99})
        EXPECT_TRUE(Black(x, 10)) << x;
    for (int y : {20, 45, 69})
        EXPECT_TRUE(Black(50, y)) << y;
    int dot = 0;
    for (int y = 58; y <= 62; ++y)
        for (int x = 78; x <= 82; ++x)
            dot += Black(x, y);
    EXPECT_EQ(dot, 1);
    EXPECT_TRUE(White(30, 30));
    CGContextBeginPath(ctx_);
    CGContextMoveToPoint(ctx_, 0, 75);
    CGContextAddLineToPoint(ctx_, 100, 75);
    CGContextStrokePath(ctx_);
    RGBColor c = GetPortPixel(world_, 0, SInt16(kH - 1 - 75));
    EXPECT_EQ(c.red, 0xFFFF); // still red and dashed: the first dash is there, the first gap is not
    EXPECT_TRUE(White(3, 75));
}

TEST_F(CGTest, TheBeforePaintHookRunsOnceBeforeTheNextPaintingAndNotForBatches) {
    gHookCalls = 0;
    CGContextSetBeforePaintHook(ctx_, CountHook, nullptr);
    const float segment[] = {0, 5, 10, 5};
    CGSegmentPen pen{0, 0, 0, 1, 1, kCGLineCapButt, false};
    CGContextStrokeSegmentBatch(ctx_, &pen, segment, 1, nullptr, 0);
    CGContextSetRGBFillColor(ctx_, 0, 0, 1, 1);
    EXPECT_EQ(gHookCalls, 0); // setting state draws nothing
    CGContextFillRect(ctx_, CGRectMake(0, 0, 10, 10));
    EXPECT_EQ(gHookCalls, 1);
    CGContextFillRect(ctx_, CGRectMake(20, 0, 10, 10));
    EXPECT_EQ(gHookCalls, 1);
    // Clipping, transforms and the end of the context also come after what is pending.
    CGContextSetBeforePaintHook(ctx_, CountHook, nullptr);
    CGContextClipToRect(ctx_, CGRectMake(0, 0, 50, 50));
    CGContextSetBeforePaintHook(ctx_, CountHook, nullptr);
    CGContextTranslateCTM(ctx_, 1, 1);
    CGContextSetBeforePaintHook(ctx_, CountHook, nullptr);
    QDEndCGContext(world_, &ctx_);
    EXPECT_EQ(gHookCalls, 4);
}

// A batch large enough to be drawn in bands on several threads gives the pixels the same segments
// give drawn in small batches on one thread, inside a clip, for a thin aliased and a wide smooth pen,
// and for long smooth lines across every band. Qt joins touching thin lines handed over together, so
// the thin lines here do not touch.
TEST_F(CGTest, LargeBatchesDrawnInBandsMatchSmallBatches) {
    constexpr SInt16 kBigW = 1210, kBigH = 910;
    constexpr size_t kSmall = 10000;
    std::vector<float> apart, random;
    for (int x = 2; x < kBigW - 2; x += 3)
        for (int y = -4; y < kBigH; y += 13)
            apart.insert(apart.end(), {x + 0.5f, float(y), x + 0.5f + (x % 2), float(y + 10)});
    unsigned seed = 12345;
    auto next = [&seed](float range) {
        seed = seed * 1103515245u + 12345u;
        return float((seed >> 8) % 100000) / 100000.0f * range;
    };
    for (int i = 0; i < 30000; ++i) {
        float x = next(kBigW), y = next(kBigH);
        random.insert(random.end(), {x, y, x + next(60) - 30, y + next(60) - 30});
    }
    std::vector<float> longLines;
    for (int i = 0; i < 25000; ++i)
        longLines.insert(longLines.end(), {next(kBigW + 200) - 100, next(kBigH + 200) - 100,
                                           next(kBigW + 200) - 100, next(kBigH + 200) - 100});
    struct Case {
        CGSegmentPen pen;
        const std::vector<float>& segments;
        int tolerance; // in 16-bit colour units
    };
    const Case cases[] = {{{0, 0, 0, 1, 1, kCGLineCapButt, true}, apart, 0},
                          {{0.2, 0.3, 0.9, 1, 3, kCGLineCapRound, false}, random, 0},
                          {{0.6, 0.1, 0.1, 1, 1, kCGLineCapRound, false}, longLines, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pen.width);
        const size_t count = c.segments.size() / 4;
        ASSERT_GT(count, 2 * kSmall);
        GWorldPtr worlds[2] = {nullptr, nullptr};
        for (int w = 0; w < 2; ++w) {
            ASSERT_EQ(NewOffscreenGWorld(&worlds[w], kBigW, kBigH, 32, 0), noErr);
            CGContextRef ctx = nullptr;
            ASSERT_EQ(QDBeginCGContext(worlds[w], &ctx), noErr);
            CGContextSetShouldAntialias(ctx, true);
            CGContextClipToRect(ctx, CGRectMake(17, 23, 1150, 860));
            for (size_t at = 0; at < count; at += w == 0 ? count : kSmall)
                CGContextStrokeSegmentBatch(ctx, &c.pen, c.segments.data() + 4 * at,
                                            std::min(count - at, w == 0 ? count : kSmall), nullptr, 0);
            QDEndCGContext(worlds[w], &ctx);
        }
        long differing = 0, inked = 0;
        int worst = 0;
        for (SInt16 v = 0; v < kBigH; ++v)
            for (SInt16 h = 0; h < kBigW; ++h) {
                RGBColor a = GetPortPixel(worlds[0], h, v), b = GetPortPixel(worlds[1], h, v);
                int d = std::max(
                    {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
                if (d > worst) worst = d;
                differing += d != 0;
                inked += a.red != 0xFFFF;
            }
        EXPECT_LE(worst, c.tolerance) << differing << " pixels differ";
        EXPECT_GT(inked, 100000);
        EXPECT_EQ(GetPortPixel(worlds[0], 5, 5).red, 0xFFFF); // outside the clip
        for (GWorldPtr& world : worlds)
            DisposeOffscreenGWorld(&world);
    }
}

// Smooth solid lines and arcs wider than a pixel are drawn by our own rasteriser: the picture must be
// the one Qt's stroker gives within the rounding of an edge's coverage, for both caps, all directions,
// short and long, and across a clip.
// Both worlds white, the stroke drawn into each by draw(ctx) with smoothing and a clip; the second
// with one dash longer than anything drawn, which sends the stroke to Qt. Checks the two agree.
template <class Draw> void ExpectStrokerPicture(Draw draw, SInt16 w, SInt16 h, int tolerance) {
    const CGFloat longDash[] = {1000, 1};
    GWorldPtr worlds[2] = {nullptr, nullptr};
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(NewOffscreenGWorld(&worlds[k], w, h, 32, 0), noErr);
        CGContextRef ctx = nullptr;
        ASSERT_EQ(QDBeginCGContext(worlds[k], &ctx), noErr);
        CGContextSetShouldAntialias(ctx, true);
        CGContextClipToRect(ctx, CGRectMake(3, 2, w - 10, h - 6));
        CGContextSetRGBStrokeColor(ctx, 0.1, 0.2, 0.7, 1);
        if (k == 1) CGContextSetLineDash(ctx, 0, longDash, 2);
        draw(ctx);
        QDEndCGContext(worlds[k], &ctx);
    }
    int worst = 0;
    double ink[2] = {0, 0};
    for (SInt16 v = 0; v < h; ++v)
        for (SInt16 x = 0; x < w; ++x) {
            RGBColor a = GetPortPixel(worlds[0], x, v), b = GetPortPixel(worlds[1], x, v);
            worst = std::max({worst, std::abs(a.red - b.red) >> 8, std::abs(a.blue - b.blue) >> 8});
            ink[0] += 0xFFFF - a.red, ink[1] += 0xFFFF - b.red;
            if (x < 3 || v >= h - 2 || x >= w - 7 || v < 4) EXPECT_EQ(a.red, 0xFFFF) << x << ", " << v;
        }
    EXPECT_LE(worst, tolerance); // an edge pixel's coverage
    EXPECT_NEAR(ink[0], ink[1], 0.04 * ink[1] + 0xFFFF);
    EXPECT_GT(ink[1], 0);
    for (GWorldPtr& world : worlds)
        DisposeOffscreenGWorld(&world);
}

// Copies of a block at one spot: wide strokes drawn again over themselves are drawn once, so the
// picture of a thousand copies is that of one; a stroke of another pen in between is still covered by
// the next copy.
TEST_F(CGTest, WideStrokesLyingOnThemselvesAreDrawnOnce) {
    auto picture = [](int copies, bool blueBetween) {
        GWorldPtr world = nullptr;
        EXPECT_EQ(NewOffscreenGWorld(&world, kW, kH, 32, 0), noErr);
        CGContextRef ctx = nullptr;
        EXPECT_EQ(QDBeginCGContext(world, &ctx), noErr);
        CGContextSetShouldAntialias(ctx, true);
        CGContextSetLineWidth(ctx, 5);
        CGContextSetLineCap(ctx, kCGLineCapRound);
        const CGSegmentPen pen{0.1, 0.2, 0.7, 1, 5, kCGLineCapRound, false};
        const float segment[4] = {8, 9, 90, 60};
        for (int i = 0; i < copies; ++i) {
            CGContextSetRGBStrokeColor(ctx, 0.1, 0.2, 0.7, 1);
            CGContextBeginPath(ctx);
            CGContextMoveToPoint(ctx, 10, 70);
            CGContextAddLineToPoint(ctx, 90, 12);
            CGContextStrokePath(ctx);
            CGContextBeginPath(ctx);
            CGContextAddArc(ctx, 50, 40, 25, 0, 2 * M_PI, 0);
            CGContextStrokePath(ctx);
            CGContextStrokeSegmentBatch(ctx, &pen, segment, 1, nullptr, 0);
            if (blueBetween && i == 0) {
                CGContextSetRGBStrokeColor(ctx, 0, 0, 1, 1);
                CGContextBeginPath(ctx);
                CGContextMoveToPoint(ctx, 10, 12);
                CGContextAddLineToPoint(ctx, 90, 70);
                CGContextStrokePath(ctx);
            }
        }
        QDEndCGContext(world, &ctx);
        std::vector<RGBColor> pixels;
        for (SInt16 v = 0; v < kH; ++v)
            for (SInt16 h = 0; h < kW; ++h)
                pixels.push_back(GetPortPixel(world, h, v));
        DisposeOffscreenGWorld(&world);
        return pixels;
    };
    auto same = [](const std::vector<RGBColor>& a, const std::vector<RGBColor>& b) {
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue) return false;
        return true;
    };
    const std::vector<RGBColor> once = picture(1, false);
    EXPECT_TRUE(same(once, picture(1000, false)));
    // Where the blue line crosses the others, the second copy is on top again.
    const std::vector<RGBColor> between = picture(2, true);
    EXPECT_FALSE(same(between, picture(1, true)));
    EXPECT_TRUE(same(between, picture(3, true)));
}

TEST_F(CGTest, WideSmoothArcsLookAsTheStrokerDrawsThem) {
    struct Case {
        CGFloat cx, cy, r, start, end, width;
        CGLineCap cap;
        int clockwise;
    };
    const Case cases[] = {
        {50, 40, 30, 0, 2 * M_PI, 4, kCGLineCapRound, 0},
        {50, 40, 25.3f, 0.3f, 2.2f, 6, kCGLineCapButt, 0},
        {47.5f, 41, 20, 0.3f, 5.5f, 3.5f, kCGLineCapRound, 0},
        {50, 40, 33, 1, -2, 5, kCGLineCapButt, 1},
        {30, 30, 4, 0, 3, 7, kCGLineCapRound, 0},
        {90, 10, 60, 1.7f, 3.3f, 2.5f, kCGLineCapRound, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.r * 1000 + c.start);
        ExpectStrokerPicture(
            [&c](CGContextRef ctx) {
                CGContextSetLineWidth(ctx, c.width);
                CGContextSetLineCap(ctx, c.cap);
                CGContextBeginPath(ctx);
                CGContextAddArc(ctx, c.cx, c.cy, c.r, c.start, c.end, c.clockwise);
                CGContextStrokePath(ctx);
            },
            kW, kH, 96); // Qt's circles are curves, and its outline of them curves again
    }
}

TEST_F(CGTest, WideSmoothLinesLookAsTheStrokerDrawsThem) {
    struct Case {
        CGFloat x1, y1, x2, y2, width;
        CGLineCap cap;
    };
    const Case cases[] = {
        {10, 10, 90, 10, 3, kCGLineCapButt},           {10.3f, 10.7f, 90.2f, 60.1f, 5, kCGLineCapRound},
        {20, 70, 25.5f, 12.25f, 7.5f, kCGLineCapButt}, {50, 40, 50.4f, 40.2f, 9, kCGLineCapRound},
        {-20, 30, 130, 45, 2.5f, kCGLineCapRound},     {30.5f, 5, 30.5f, 75, 1.6f, kCGLineCapButt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x1 + c.y1 * 1000 + c.width);
        ExpectStrokerPicture(
            [&c](CGContextRef ctx) {
                CGContextSetLineWidth(ctx, c.width);
                CGContextSetLineCap(ctx, c.cap);
                CGContextBeginPath(ctx);
                CGContextMoveToPoint(ctx, c.x1, c.y1);
                CGContextAddLineToPoint(ctx, c.x2, c.y2);
                CGContextStrokePath(ctx);
            },
            kW, kH, 64);
    }
}
