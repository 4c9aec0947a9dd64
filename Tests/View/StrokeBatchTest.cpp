// The window pass in stroke batches: the picture is the one element-by-element drawing gives, and
// below full size the level of detail draws sub-pixel elements as dots and small texts as boxes.
#include "Platform/CGContext.h"
#include "View/ElementDrawing.h"
#include "View/TextDrawing.h"
#include "ViewTestSupport.h"

#include <vector>

namespace {

class StrokeBatchTest : public ViewWindowTest {
  protected:
    std::vector<RGBColor> Snapshot() const {
        std::vector<RGBColor> pixels;
        for (SInt16 v = 0; v < viewHeight; ++v)
            for (SInt16 h = 0; h < viewWidth; ++h)
                pixels.push_back(Pixel(h, v));
        return pixels;
    }
    // The same elements drawn one by one, outside any window pass.
    void DrawElementByElement() {
        DrawViewBackground(doc);
        for (LineRecord* e = doc->lineHead->next; e; e = e->next)
            DrawLineElementClipped(e, doc);
        for (ArcRecord* e = doc->arcHead->next; e; e = e->next)
            DrawCircleElementClipped(e, doc);
        for (TextRecord* e = doc->textHead->next; e; e = e->next)
            DrawTextElementClipped(e, doc);
    }
    static int Differing(const std::vector<RGBColor>& a, const std::vector<RGBColor>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i)
            n += a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue;
        return n;
    }
};

TEST_F(StrokeBatchTest, TheBatchedPassDrawsWhatElementByElementDrawingDraws) {
    // Pens of several colours, widths and styles crossing each other, arcs, and a text whose
    // background must cover the lines drawn before it; at full size and zoomed in.
    const RGBColor colours[] = {{0, 0, 0xFFFF}, {0xFFFF, 0, 0}, {0, 0x8000, 0}};
    for (int i = 0; i < 12; ++i) {
        LineRecord* line = AppendTestLine(doc, 5 + 5 * i, 5, 60 - 4 * i, 35);
        line->lineType = SInt16(1 + i % 6);
        line->penBlock.color = colours[i % 3];
        line->penBlock.penWidth100 = SInt16(i % 4 == 0 ? 100 : 25);
    }
    AppendTestLine(doc, 0, 20, 70, 20)->penBlock.color = colours[1];
    AppendTestArc(doc, 30, 20, 12, 0, 360);
    AppendTestArc(doc, 40, 15, 3, 30, 200)->penBlock.penWidth100 = 100;
    AppendTestText(doc, "xx", 20, 17, 8, 12);
    for (bool antialias : {false, true}) {
        CGSetDefaultShouldAntialias(antialias);
        for (Float64 unitsPerPixel : {25.4 / 72, 0.2}) {
            SetTestView(doc, unitsPerPixel);
            RedrawWindow(doc);
            std::vector<RGBColor> batched = Snapshot();
            DrawElementByElement();
            EXPECT_EQ(Differing(batched, Snapshot()), 0)
                << unitsPerPixel << (antialias ? " antialiased" : "");
        }
    }
    CGSetDefaultShouldAntialias(false);
}

// Lines lying on one another (copies of a block at one spot) are drawn once: a thousand copies give
// the picture of one, either way round, while another line of the same pen is still drawn.
TEST_F(StrokeBatchTest, LinesLyingOnOneAnotherAreDrawnOnce) {
    CGSetDefaultShouldAntialias(true);
    SetTestView(doc, 0.2);
    auto wide = [&](Float64 x1, Float64 y1, Float64 x2, Float64 y2) {
        AppendTestLine(doc, x1, y1, x2, y2)->penBlock.penWidth100 = 100;
    };
    wide(5, 5, 60, 33);
    wide(5, 30, 60, 6);
    RedrawWindow(doc);
    const std::vector<RGBColor> once = Snapshot();
    for (int i = 0; i < 500; ++i) {
        wide(5, 5, 60, 33);
        wide(60, 33, 5, 5);
    }
    RedrawWindow(doc);
    EXPECT_EQ(Differing(once, Snapshot()), 0);
    CGSetDefaultShouldAntialias(false);
}

TEST_F(StrokeBatchTest, BelowFullSizeSubPixelElementsAreDotsOneAPixel) {
    SetTestView(doc, 2.0, 20, 20); // 2 mm a pixel: 14 % zoom
    RedrawWindow(doc);
    int inkBefore = CountInk();
    for (int i = 0; i < 20; ++i)
        AppendTestLine(doc, 100.2 + 0.05 * i, 100.2, 100.4 + 0.05 * i, 100.5);
    AppendTestArc(doc, 150.5, 100.5, 0.3, 0, 360);
    {
        DrawRecorder recorder;
        RedrawWindow(doc);
        std::vector<DrawCall> lines = recorder.Of(DrawCallKind::line);
        ASSERT_EQ(lines.size(), 21u);
        for (const DrawCall& c : lines) {
            EXPECT_EQ(c.v[0], c.v[2]);
            EXPECT_EQ(c.v[1], c.v[3]);
        }
        EXPECT_TRUE(recorder.Of(DrawCallKind::arc).empty());
    }
    // Twenty lines in one pixel set that pixel once; the arc sets its own.
    EXPECT_EQ(CountInk() - inkBefore, 2);
    // Both where the elements lie: about (40, 40) and (65, 40) on the device, y up.
    auto inkNear = [&](int x, int y) {
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                n += !IsBackground(SInt16(x + dx), SInt16(kTestViewHeight - 1 - y + dy));
        return n;
    };
    EXPECT_EQ(inkNear(40, 40), 1);
    EXPECT_EQ(inkNear(65, 40), 1);
    // At full size the same short lines are lines, and the arc an arc.
    SetTestView(doc, 25.4 / 72, 95, 95);
    DrawRecorder recorder;
    RedrawWindow(doc);
    std::vector<DrawCall> lines = recorder.Of(DrawCallKind::line);
    ASSERT_EQ(lines.size(), 20u);
    for (const DrawCall& c : lines)
        EXPECT_NE(c.v[0], c.v[2]);
    EXPECT_EQ(recorder.Of(DrawCallKind::arc).size(), 1u);
}

TEST_F(StrokeBatchTest, BelowFullSizeTextsTooSmallToReadShowTheirBoxes) {
    AppendTestText(doc, "Detail", 20, 40, 4, 20);   // 4 pixels at 1 mm a pixel
    AppendTestText(doc, "Section", 20, 60, 10, 40); // 10 pixels
    DrawRecorder recorder;
    RedrawWindow(doc);
    std::vector<DrawCall> texts = recorder.Of(DrawCallKind::text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Section");
    EXPECT_FALSE(IsBackground(30, SInt16(kTestViewHeight - 40))); // the box's lower edge
    // Zoomed in to full size, both are drawn as text.
    recorder.Clear();
    SetTestView(doc, 25.4 / 72, 10, 30);
    RedrawWindow(doc);
    EXPECT_EQ(recorder.Of(DrawCallKind::text).size(), 2u);
}

} // namespace
