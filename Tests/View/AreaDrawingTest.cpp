// Area elements drawn: hatch lines around holes on screen and in the plot, the stored spacing kept in
// bounds, hidden areas, the selection outline, pattern fills inside the outline only, and PDF output.
#include "View/AreaDrawing.h"
#include "View/ElementDrawing.h"
#include "Tools/AreaOutlines.h"
#include "ViewTestSupport.h"

#include <cmath>

namespace {

// A square area of the given side from (x, y) with a square hole of side `hole` in its middle.
AreaRecord* AddSquareArea(DocWindowRecord* doc, Float64 x, Float64 y, Float64 side, Float64 hole,
                          SInt16 fillKind, Float64 value) {
    auto square = [&](Float64 x0, Float64 y0, Float64 s) {
        AppendOutlinePoint(doc, x0, y0);
        AppendOutlinePoint(doc, x0 + s, y0);
        AppendOutlinePoint(doc, x0 + s, y0 + s);
        AppendOutlinePoint(doc, x0, y0 + s);
        AppendOutlinePoint(doc, x0, y0);
        PushOutlineContour(doc);
    };
    square(x, y, side);
    if (hole > 0) square(x + (side - hole) / 2, y + (side - hole) / 2, hole);
    return CreateAreaElement(doc, value, 0, fillKind, false);
}

// True when the segment passes through the open square.
bool CrossesSquare(Float64 x1, Float64 y1, Float64 x2, Float64 y2, Float64 x0, Float64 y0, Float64 s) {
    for (int i = 1; i < 100; ++i) {
        Float64 t = i / 100.0, x = x1 + (x2 - x1) * t, y = y1 + (y2 - y1) * t;
        if (x > x0 + 1e-6 && x < x0 + s - 1e-6 && y > y0 + 1e-6 && y < y0 + s - 1e-6) return true;
    }
    return false;
}

} // namespace

TEST_F(ViewDocumentTest, HatchLinesLeaveTheHoleOpenOnScreenAndInThePlot) {
    InstallViewDrawingHooks();
    AreaRecord* area = AddSquareArea(doc, 10, 10, 60, 16, -1, 5);
    area->outlineStroked = 1;
    area->penBlock.color = RGBColor{0, 0, 0xFFFF};
    DrawRecorder rec;
    DrawViewContent(doc);
    // The window: device points, y up from the bottom of the port (one pixel a millimetre; the drawing
    // area starts 35 pixels up).
    int hatch = 0, outline = 0;
    for (const DrawCall& c : rec.Of(DrawCallKind::line)) {
        EXPECT_EQ(c.colour.blue, 0xFFFF);
        EXPECT_FALSE(CrossesSquare(c.v[0], c.v[1] - 35, c.v[2], c.v[3] - 35, 32, 32, 16))
            << c.v[0] << "," << c.v[1] << " " << c.v[2] << "," << c.v[3];
        auto edge = [](Float64 v) { return v == 10 || v == 32 || v == 48 || v == 70; };
        bool alongEdge = (c.v[0] == c.v[2] && edge(c.v[0])) || (c.v[1] == c.v[3] && edge(c.v[1] - 35));
        (alongEdge ? outline : hatch)++;
    }
    // 11 lines each way, 3 of them through the hole in two pieces; 8 outline edges.
    EXPECT_EQ(hatch, 2 * (11 + 3));
    EXPECT_EQ(outline, 8);
    EXPECT_TRUE(area->drawn);

    // The plot gets the same hatch as segments and the outline as lines.
    std::vector<PlotCall> plotted;
    {
        PlotRecorder plot(doc);
        rec.Clear();
        gViewHooks.drawArea(doc, area);
        plotted = plot.calls;
    }
    EXPECT_TRUE(rec.calls.empty());
    int segments = 0, lines = 0;
    for (const PlotCall& c : plotted) {
        EXPECT_FALSE(CrossesSquare(c.v[0], c.v[1], c.v[2], c.v[3], 32, 32, 16));
        (c.kind == 'S' ? segments : lines)++;
    }
    EXPECT_EQ(segments, 2 * (11 + 3));
    EXPECT_EQ(lines, 8);
}

TEST_F(ViewDocumentTest, StoredSpacingIsKeptInBoundsForHatchesOnlyAndHiddenAreasDrawNothing) {
    AreaRecord* area = AddSquareArea(doc, 10, 10, 50, 0, -2, 1);
    struct Case {
        SInt16 fillKind;
        Float64 stored, expected;
    } cases[] = {{-2, 0.05, 0.1}, {-1, 5000, 1000}, {-2, NAN, 0.1},
                 {-2, 3, 3},      {0, 0.05, 0.05},  {2, 5000, 5000}};
    for (const Case& c : cases) {
        area->fillKind = c.fillKind;
        area->hatchSpacing = c.stored;
        FillElementOutline(nullptr, area, doc);
        EXPECT_EQ(area->hatchSpacing, c.expected) << c.fillKind << " " << c.stored;
    }
    area->fillKind = -2;
    area->hatchSpacing = 5;
    DrawRecorder rec;
    doc->settings->areaDisplayMode = 2;
    DrawAreaElement(doc, area);
    EXPECT_TRUE(rec.calls.empty());
    doc->settings->areaDisplayMode = 0;
    area->layer = 9;
    SetLayerVisible(doc->layerVisible, 9, false);
    DrawAreaElement(doc, area);
    EXPECT_TRUE(rec.calls.empty());
    SetLayerVisible(doc->layerVisible, 9, true);
    DrawAreaElement(doc, area);
    EXPECT_EQ(rec.calls.size(), 9u);
}

TEST_F(ViewDocumentTest, ASelectedAreaShowsItsOutlineInTheSelectionColour) {
    AreaRecord* area = AddSquareArea(doc, 10, 10, 50, 0, -2, 10);
    area->penBlock.color = RGBColor{0, 0, 0xFFFF};
    area->selected = 1;
    DrawRecorder rec;
    DrawAreaElement(doc, area);
    const RGBColor& selection = doc->settings->selectionColor;
    int hatch = 0, highlighted = 0;
    for (const DrawCall& c : rec.calls) {
        if (c.colour.blue == 0xFFFF && c.colour.red == 0) ++hatch;
        if (c.colour.red == selection.red && c.colour.green == selection.green &&
            c.colour.blue == selection.blue)
            ++highlighted;
    }
    EXPECT_EQ(hatch, 4);
    EXPECT_EQ(highlighted, 4);
    // In print and PDF nothing is highlighted, and a pattern area fills the page without failing.
    PrintPage page(doc, 200, 1);
    AreaRecord* pattern = AddSquareArea(doc, 100, 100, 50, 20, 2, 1);
    rec.Clear();
    DrawAreaElement(doc, area);
    DrawAreaElement(doc, pattern);
    for (const DrawCall& c : rec.calls)
        EXPECT_EQ(c.colour.blue, 0xFFFF);
    EXPECT_EQ(rec.calls.size(), 4u);
}

TEST_F(ViewWindowTest, PatternFillsStayInsideTheOutlineAndOutOfTheHole) {
    InstallViewDrawingHooks();
    doc->settings->backgroundColor = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
    struct Case {
        SInt16 fillKind;
        Float64 value;
    } cases[] = {{0, 2}, {1, 11}, {2, 1}, {2, 15}, {0, 999}};
    for (const Case& c : cases) {
        while (doc->areaHead->next)
            RemoveArea(doc, doc->areaHead->next);
        AddSquareArea(doc, 20, 10, 80, 40, c.fillKind, c.value);
        UpdateViewExtent(doc, false);
        int inside = 0, outside = 0, hole = 0;
        for (SInt16 v = 0; v < viewHeight; ++v)
            for (SInt16 h = 0; h < viewWidth; ++h) {
                if (IsBackground(h, v)) continue;
                Float64 x = h + 0.5, y = viewHeight - v - 0.5;
                if (x > 41 && x < 79 && y > 31 && y < 69)
                    ++hole;
                else if (x > 19 && x < 101 && y > 9 && y < 91)
                    ++inside;
                else if (x > 8 || y > 8) // the origin cross stands at the corner
                    ++outside;
            }
        EXPECT_GT(inside, 200) << c.fillKind << " " << c.value;
        EXPECT_EQ(hole, 0) << c.fillKind << " " << c.value;
        EXPECT_EQ(outside, 0) << c.fillKind << " " << c.value;
    }
}

TEST(DrawnPatterns, EveryNumberFrom101To115HasATileInsideItsCell) {
    for (SInt16 n = kFirstDrawnPattern - 1; n <= kLastDrawnPattern + 1; ++n) {
        const std::vector<Float64>& tile = DrawnPatternTile(n);
        bool known = n >= kFirstDrawnPattern && n <= kLastDrawnPattern;
        EXPECT_EQ(!tile.empty(), known) << n;
        if (!known) continue;
        EXPECT_TRUE(std::isnan(tile.back())) << n;
        for (Float64 v : tile)
            EXPECT_TRUE(std::isnan(v) || (v >= 0 && v <= 1)) << n << " " << v;
    }
}

TEST_F(ViewWindowTest, AHatchDenserThanItsLinesAreWideFillsTheAreaWhenZoomedOut) {
    InstallViewDrawingHooks();
    doc->settings->backgroundColor = RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
    AddSquareArea(doc, 20, 10, 80, 40, -2, 0.5);
    auto count = [&](Float64 unitsPerPixel, int* ring, int* hole) {
        doc->drawing->view.unitsPerPixel = unitsPerPixel;
        UpdateViewExtent(doc, false);
        *ring = *hole = 0;
        for (SInt16 v = 0; v < viewHeight; ++v)
            for (SInt16 h = 0; h < viewWidth; ++h) {
                Float64 x = (h + 0.5) * unitsPerPixel, y = (viewHeight - v - 0.5) * unitsPerPixel;
                bool ink = !IsBackground(h, v);
                if (x > 41 && x < 79 && y > 31 && y < 69)
                    *hole += ink;
                else if (x > 21 && x < 99 && y > 11 && y < 89 && !(x > 39 && x < 81 && y > 29 && y < 71))
                    *ring += !ink; // counts the gaps
            }
    };
    int gaps, hole;
    // Zoomed out (1 mm a pixel, lines half a pixel apart): the area is filled at once, the hole left
    // open, and not one of the 160 lines is stroked.
    DrawRecorder rec;
    count(1.0, &gaps, &hole);
    EXPECT_EQ(gaps, 0);
    EXPECT_EQ(hole, 0);
    for (const DrawCall& c : rec.Of(DrawCallKind::line))
        EXPECT_LT(std::max(c.v[0], c.v[2]), 10) << "only the origin cross";
    // At full size the lines are drawn one by one, with gaps between them.
    count(0.25, &gaps, &hole);
    EXPECT_GT(gaps, 100);
    EXPECT_EQ(hole, 0);
}
