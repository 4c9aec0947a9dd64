// The window update and the element passes: the drawing order, the visible-layer and visible-box
// tests, the drawing-area clip, the model's draw-at-once hook, and the output pass (no highlight, no
// feedback marks, Command-period).
#include "Platform/CGContext.h"
#include "View/ElementDrawing.h"
#include "View/ViewStrokes.h"
#include "View/TextDrawing.h"
#include "ViewTestSupport.h"
#include "View/WorldPrimitives.h"

#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> gOrder;

void Note(const std::string& kind) {
    if (gOrder.empty() || gOrder.back() != kind) gOrder.push_back(kind);
}

void NoteCall(const DrawCall& call, void*) {
    switch (call.kind) {
    case DrawCallKind::line:
    case DrawCallKind::styledLine:
        Note(call.colour.red == 0x1111 ? "line" : "other");
        break;
    case DrawCallKind::arc:
        Note("arc");
        break;
    case DrawCallKind::text:
        Note("text");
        break;
    default:
        break;
    }
}

} // namespace

TEST_F(ViewDocumentTest, ElementsAreDrawnInTheFixedOrderWithAreasFirstOrAfterTheArcs) {
    gViewHooks.drawArea = [](DocWindowRecord*, AreaRecord*) { Note("area"); };
    gViewHooks.drawImage = [](DocWindowRecord*, SInt16) { Note("image"); };
    gViewHooks.drawPolyline = [](DocWindowRecord*, PolylineRecord*) { Note("polyline"); };
    gViewHooks.drawDimension = [](DocWindowRecord*, DimensionRecord*) { Note("dimension"); };
    gViewHooks.drawSymbolInstance = [](DocWindowRecord*, SymbolInstanceRecord*) { Note("symbol"); };
    // One element of every kind in the middle of the view, added in another order.
    AddTestText("t", 50, 50, 3, 5);
    AddTestArc(50, 50, 5, 0, 360);
    AddTestLine(40, 40, 60, 60)->penBlock.color = RGBColor{0x1111, 0, 0};
    NewDimensionElement(doc, &doc->dimensionHead->next)->layer = 1;
    NewInstanceElement(doc, &doc->instanceHead->next)->layer = 1;
    doc->instanceHead->next->x = doc->instanceHead->next->y = 50;
    NewPolylineElement(doc, &doc->polylineHead->next)->layer = 1;
    AreaRecord* area = NewAreaElement(doc, &doc->areaHead->next);
    area->layer = 1;
    area->minX = area->minY = 40, area->maxX = area->maxY = 60;
    doc->imageCount = 1;
    SetDrawCallListener(NoteCall, nullptr);
    for (UInt16 areasFirst : {1, 0}) {
        doc->settings->areasFirst = areasFirst;
        gOrder.clear();
        DrawViewContent(doc);
        std::vector<std::string> expected = {"image", "polyline",  "line",  "arc",
                                             "text",  "dimension", "symbol"};
        expected.insert(areasFirst ? expected.begin() : expected.begin() + 4, "area");
        EXPECT_EQ(gOrder, expected) << areasFirst;
    }
    SetDrawCallListener(nullptr, nullptr);
    doc->imageCount = 0;
}

TEST_F(ViewDocumentTest, OnlyElementsOnVisibleLayersThatMeetTheViewAreDrawn) {
    AddTestLine(10, 10, 20, 20);                             // drawn
    AddTestLine(500, 10, 600, 20);                           // beyond the right edge
    AddTestLine(10, 10, 20, 20)->layer = 3;                  // on a hidden layer
    AddTestArc(-50, 50, 49, 0, 360);                         // ends left of the view
    AddTestArc(-50, 50, 52, 0, 360);                         // reaches into it
    AddTestText("far", 1000, 1000, 5, 10);                   // far away
    AddTestLine(500, 500, 501, 501)->flags = kLineOpenStart; // runs on through the view
    SetLayerVisible(doc->layerVisible, 3, false);
    DrawRecorder rec;
    DrawViewContent(doc);
    EXPECT_EQ(rec.Of(DrawCallKind::line).size(), 2u);
    EXPECT_EQ(rec.Of(DrawCallKind::arc).size(), 1u);
    EXPECT_TRUE(rec.Of(DrawCallKind::text).empty());
}

TEST_F(ViewDocumentTest, ZoomedInOnePercentOfTheDrawingIsDrawn) {
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j)
            AddTestLine(i * 10, j * 10, i * 10 + 5, j * 10 + 5);
    SetTestView(doc, 0.5, 0, 0); // 100 x 50 of the 1000 x 1000
    DrawRecorder rec;
    DrawViewContent(doc);
    EXPECT_LE(rec.calls.size(), 10u * 5u + 20u);
    EXPECT_GE(rec.calls.size(), 10u * 5u);
}

TEST_F(ViewWindowTest, TheWindowUpdatePaintsTheBackgroundAndClipsToTheDrawingArea) {
    doc->settings->backgroundColor = RGBColor{0xEEEE, 0xEEEE, 0xDDDD};
    LineRecord* line = AppendTestLine(doc, 10, 50, 190, 50);
    line->penBlock.color = RGBColor{0, 0, 0xFFFF};
    RedrawWindow(doc);
    EXPECT_TRUE(IsBackground(5, 5));
    RGBColor c = Pixel(100, kTestViewHeight - 50);
    EXPECT_EQ(c.blue, 0xFFFF);
    EXPECT_EQ(c.red, 0);
    // The status strip below the drawing area is not painted, not even by a line drawn at once.
    LineRecord* down = AppendTestLine(doc, 100, 50, 100, -200);
    down->penBlock.penWidth100 = 300;
    DrawLineElementClipped(down, doc);
    EXPECT_FALSE(IsBackground(100, kTestViewHeight - 1));
    RGBColor strip = Pixel(100, kTestViewHeight + 5);
    EXPECT_EQ(strip.red, 0xFFFF);
    EXPECT_EQ(strip.blue, 0xFFFF);
    SaveWindowPNG(window, "window-update.png");
}

TEST_F(ViewWindowTest, TheModelDrawsNewElementsAtOnceThroughTheViewsHook) {
    InstallViewDrawingHooks();
    RedrawWindow(doc);
    int before = CountInk();
    AddLine(doc, 20, 20, 180, 20);
    EXPECT_GT(CountInk(), before + 100);
}

TEST_F(ViewWindowTest, PrintingHighlightsNothingAndLeavesTheFeedbackMarksOut) {
    LineRecord* line = AppendTestLine(doc, 10, 10, 100, 10);
    line->selected = 1;
    line->penBlock.penWidth100 = 35;
    TextRecord* text = AppendTestText(doc, "Marked", 10, 30, 5, 30);
    text->marked = 1;
    AddRubberPointAndMark(doc, 50, 50, true);
    std::string path;
    DrawRecorder rec;
    {
        PrintPage page(doc, 300, 72 / 25.4);
        path = page.path;
        EXPECT_TRUE(DrawDrawingWithProgress(doc, 0, 100));
    }
    std::ifstream pdf(path, std::ios::binary);
    std::string head(5, '\0');
    pdf.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    std::vector<DrawCall> lines = rec.Of(DrawCallKind::line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].colour.red, 0);                   // black, not the selection colour
    EXPECT_NEAR(lines[0].width, 0.35 * 72 / 25.4, 1e-9); // the pen's width on paper
    for (const DrawCall& c : rec.calls)
        EXPECT_EQ(c.alpha, 1.0); // no half-transparent rubber-band mark
    EXPECT_EQ(rec.Of(DrawCallKind::text)[0].colour.green, 0);
    EXPECT_EQ(doc->drawing->output.rubberCount, 1);
}

TEST_F(ViewWindowTest, CommandPeriodStopsTheOutputPass) {
    for (int i = 0; i < 600; ++i)
        AppendTestLine(doc, i % 100, 0, i % 100, 100);
    PrintPage page(doc, 300, 72 / 25.4);
    QueueKey(0x2F, '.', cmdKey);
    EXPECT_FALSE(DrawDrawingWithProgress(doc, 0, 100));
    EXPECT_TRUE(DrawDrawingWithProgress(doc, 0, 100));
}

TEST_F(ViewWindowTest, TheUpdateReportsScrollThumbsAndTheZoomToTheShell) {
    static int zoomShown;
    static SInt32 thumbX, thumbY;
    zoomShown = 0;
    gViewHooks.showZoomPercent = [](DocWindowRecord*) { ++zoomShown; };
    gViewHooks.updateScrollBars = [](DocWindowRecord*, SInt32 x, SInt32 y) { thumbX = x, thumbY = y; };
    DrawingRecord* d = doc->drawing;
    d->view.extentsMinX = 0, d->view.extentsMaxX = 400, d->view.extentsMinY = 0, d->view.extentsMaxY = 300;
    d->view.originX = 100, d->view.originY = 0;
    UpdateViewExtent(doc, true);
    EXPECT_EQ(zoomShown, 1);
    EXPECT_EQ(thumbX, 500);  // 100 of the 200 it can move
    EXPECT_EQ(thumbY, 1000); // at the bottom of the extents: the vertical thumb at its end
    UpdateViewExtent(doc, false);
    EXPECT_EQ(zoomShown, 2);
}

TEST_F(ViewWindowTest, FeedbackDrawnInXorIsRemovedByDrawingItAgain) {
    AppendTestLine(doc, 0, 50, 200, 50);
    RedrawWindow(doc);
    int before = CountInk();
    const Float64 quad[8] = {120, 20, 180, 20, 180, 60, 120, 60};
    auto feedback = [&] {
        SetPaintMode(doc, kPaintXor);
        DrawWorldLine(doc, 10, 10, 150, 90);
        DrawWorldArc(doc, 60, 50, 30, 0, 360);
        DrawWorldCircle(doc, 100, 20, 5);
        DrawEllipseInQuad(doc, quad, 0, 180);
        SetPaintMode(doc, kPaintNormal);
    };
    feedback();
    EXPECT_GT(CountInk(), before + 200);
    feedback();
    EXPECT_EQ(CountInk(), before);
}
