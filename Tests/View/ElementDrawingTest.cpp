// Line and circle elements: style, colour and width from the element, its layer and its state
// (selected, marked, dimmed), end marks, lines that run on, and plot output with the element's style.
#include "View/ElementDrawing.h"
#include "ViewTestSupport.h"

#include <cmath>

namespace {

const RGBColor kBlue{0, 0, 0xFFFF};

} // namespace

TEST_F(ViewDocumentTest, ALineIsDrawnInItsStyleColourAndWidth) {
    SetTestView(doc, 0.1);
    LineRecord* line = AddTestLine(1, 1, 10, 5);
    line->lineType = 3;
    line->penBlock.color = kBlue;
    line->penBlock.penWidth100 = 50; // 0.5 mm = 5 pixels at 0.1 mm a pixel
    DrawRecorder rec;
    DrawLineElement(line, doc);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].kind, DrawCallKind::styledLine);
    EXPECT_EQ(rec.calls[0].style, 3);
    EXPECT_EQ(rec.calls[0].colour.blue, 0xFFFF);
    EXPECT_DOUBLE_EQ(rec.calls[0].width, 5);
    EXPECT_TRUE(line->drawn);
    // The drawing state is reset afterwards.
    EXPECT_EQ(doc->drawing->output.lineMode, 1);
    // Zoomed out, a hairline still covers one pixel.
    SetTestView(doc, 10);
    rec.Clear();
    DrawLineElement(line, doc);
    EXPECT_DOUBLE_EQ(rec.calls[0].width, 1);
}

TEST_F(ViewDocumentTest, ColourComesFromTheLayerTheSelectionOrTheMarkWhenTheyApply) {
    LineRecord* line = AddTestLine(10, 10, 50, 10);
    line->penBlock.color = kBlue;
    line->layer = 5;
    doc->layerColors->colors[5] = RGBColor{0x1111, 0x2222, 0x3333};
    doc->settings->backgroundColor = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
    struct Case {
        const char* name;
        Boolean colorByPen;
        SInt16 pen;
        Boolean selected, marked, dimmed;
        RGBColor expected;
    } cases[] = {
        {"own colour", 1, 1, 0, 0, 0, kBlue},
        {"by layer", 0, 1, 0, 0, 0, {0x1111, 0x2222, 0x3333}},
        {"pen below 1 takes the layer", 1, 0, 0, 0, 0, {0x1111, 0x2222, 0x3333}},
        {"selected", 1, 1, 1, 0, 0, doc->settings->selectionColor},
        {"marked", 1, 1, 0, 1, 0, kMarkedColor},
        {"dimmed goes halfway to the background", 1, 1, 0, 0, 1, {0x7FFF, 0x7FFF, 0xFFFF}},
    };
    for (const Case& c : cases) {
        doc->settings->colorByPen = c.colorByPen;
        line->pen = c.pen;
        line->selected = c.selected;
        line->marked = c.marked;
        line->penBlock.penFlags = c.dimmed ? SInt16(kPenFlagDimmed) : 0;
        DrawRecorder rec;
        DrawLineElement(line, doc);
        ASSERT_EQ(rec.calls.size(), 1u) << c.name;
        EXPECT_EQ(rec.calls[0].colour.red, c.expected.red) << c.name;
        EXPECT_EQ(rec.calls[0].colour.green, c.expected.green) << c.name;
        EXPECT_EQ(rec.calls[0].colour.blue, c.expected.blue) << c.name;
    }
    EXPECT_EQ(doc->highlightMode, kHighlightNone);
}

TEST_F(ViewDocumentTest, EndMarksPointAwayFromTheLineAtBothEnds) {
    doc->settings->markSizes[0] = 10; // kind 1: arrowhead
    doc->settings->markSizes[2] = 6;  // kind 3: tick
    LineRecord* line = AddTestLine(20, 50, 120, 50);
    line->scaleFactor = 1;
    line->flags = SetLineEndMarkKind(SetLineStartMarkKind(0, 1), 3);
    DrawRecorder rec;
    DrawLineElement(line, doc);
    ASSERT_EQ(rec.calls.size(), 5u); // the line, three arrow sides, the tick
    // The arrow's tip is the start, its base 10 further out (to the left).
    EXPECT_DOUBLE_EQ(rec.calls[1].v[0], 20);
    EXPECT_DOUBLE_EQ(rec.calls[1].v[2], 30);
    // The tick crosses the end at 45 degrees, 3 to each side.
    EXPECT_NEAR(std::fabs(rec.calls[4].v[0] - rec.calls[4].v[2]), 6 * std::cos(M_PI / 4), 1e-9);
}

TEST_F(ViewDocumentTest, ALineThatRunsOnReachesTheEdgesOfTheView) {
    LineRecord* line = AddTestLine(50, 20, 60, 30);
    line->flags = kLineOpenStart | kLineOpenEnd;
    DrawRecorder rec;
    DrawLineElement(line, doc);
    ASSERT_EQ(rec.calls.size(), 1u);
    // y = x - 30 across the view 0..200 x 0..100: from (30, 0) to (130, 100), clipped by the port.
    EXPECT_NEAR(rec.calls[0].v[0], 30, 1e-9);
    EXPECT_NEAR(rec.calls[0].v[1], kTestStatusHeight + 15, 1e-9);
    EXPECT_NEAR(rec.calls[0].v[2], 130, 1e-9);
    // Open only at the end: the start stays.
    line->flags = kLineOpenEnd;
    rec.Clear();
    DrawLineElement(line, doc);
    EXPECT_NEAR(rec.calls[0].v[0], 50, 1e-9);
    EXPECT_NEAR(rec.calls[0].v[2], 130, 1e-9);
}

TEST_F(ViewDocumentTest, PlotOutputGetsTheElementsWithTheirLineStyles) {
    LineRecord* line = AddTestLine(1, 2, 3, 4);
    line->lineType = 4;
    ArcRecord* arc = AddTestArc(5, 6, 7, 350, 10);
    arc->lineType = 2;
    DrawRecorder rec;
    PlotRecorder plot(doc);
    DrawLineElement(line, doc);
    DrawCircleElement(arc, doc);
    EXPECT_TRUE(rec.calls.empty());
    ASSERT_EQ(plot.calls.size(), 2u);
    EXPECT_EQ(plot.calls[0].kind, 'L');
    EXPECT_EQ(plot.calls[0].lineType, 4);
    EXPECT_EQ(plot.calls[1].kind, 'C');
    EXPECT_EQ(plot.calls[1].lineType, 2);
    EXPECT_EQ(plot.calls[1].v[3], 350);
    EXPECT_EQ(plot.calls[1].v[4], 10);
}

TEST_F(ViewDocumentTest, AnArcThroughZeroDegreesRunsCounterClockwiseFromItsStart) {
    ArcRecord* arc = AddTestArc(100, 50, 20, 300, 60);
    arc->lineType = 5;
    DrawRecorder rec;
    DrawCircleElement(arc, doc);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0].kind, DrawCallKind::arc);
    EXPECT_EQ(rec.calls[0].style, 5);
    EXPECT_DOUBLE_EQ(rec.calls[0].v[3], 300);
    EXPECT_DOUBLE_EQ(rec.calls[0].v[4], 420);
}
