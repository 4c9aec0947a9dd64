// Scrolling, the mouse in drawing coordinates, the grid (threshold, orthogonal or turned, negative and
// far origins), zoom steps, fitting and extents, and the dragged rectangle.
#include "Platform/CGContext.h"
#include "Tools/ToolDispatch.h"
#include "View/ScrollGrid.h"
#include "ViewTestSupport.h"
#include "View/ViewTransform.h"
#include "View/ZoomExtents.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

struct ScrollBarLog {
    static inline int calls = 0;
    static inline SInt32 x = -1, y = -1;
    static void Update(DocWindowRecord*, SInt32 thumbX, SInt32 thumbY) {
        ++calls;
        x = thumbX, y = thumbY;
    }
};

} // namespace

TEST_F(ViewDocumentTest, ScrollingMovesTheOriginAgainstThePixelsAndUpdatesTheScrollBars) {
    SetTestView(doc, 0.5, 100, 100);
    ScrollBarLog::calls = 0;
    gViewHooks.updateScrollBars = ScrollBarLog::Update;
    ScrollViewBy(doc, 0, 0, 10, 0);
    EXPECT_DOUBLE_EQ(doc->drawing->view.originX, 95);
    EXPECT_EQ(ScrollBarLog::calls, 1);
    ScrollViewBy(doc, 0, 0, 0, 4); // down the screen is up the drawing
    EXPECT_DOUBLE_EQ(doc->drawing->view.originY, 102);
    EXPECT_DOUBLE_EQ(doc->drawing->view.visibleMinY, 102);
    EXPECT_DOUBLE_EQ(doc->drawing->view.visibleMaxY, 102 + kTestViewHeight * 0.5);
}

TEST_F(ViewDocumentTest, TheMouseBecomesTheCursorPointWithThePickApertureAroundIt) {
    SetTestView(doc, 0.5, 10, 20);
    doc->settings->pickAperture = 4;
    EXPECT_TRUE(MouseToWorld(doc, 30, 8));
    const DrawingRecord* d = doc->drawing;
    EXPECT_DOUBLE_EQ(d->toolInput.cursorX, 25);
    EXPECT_DOUBLE_EQ(d->toolInput.cursorY, 24);
    EXPECT_DOUBLE_EQ(d->toolInput.pickMinX, 23);
    EXPECT_DOUBLE_EQ(d->toolInput.pickMaxX, 27);
    EXPECT_DOUBLE_EQ(d->toolInput.pickMinY, 22);
    EXPECT_DOUBLE_EQ(d->toolInput.pickMaxY, 26);
}

TEST_F(ViewDocumentTest, TheGridShowsOnlyWhenItsLinesAreMoreThanTwoPixelsApart) {
    doc->settings->gridX = doc->settings->gridY = 2.0;
    const struct {
        Float64 unitsPerPixel;
        bool drawn;
    } cases[] = {{1.0, false}, {2.0 / 2.01, true}, {0.5, true}, {1.5, false}};
    for (const auto& c : cases) {
        SetTestView(doc, c.unitsPerPixel);
        DrawRecorder rec;
        DrawGrid(doc, false);
        EXPECT_EQ(!rec.calls.empty(), c.drawn) << c.unitsPerPixel;
    }
}

TEST_F(ViewDocumentTest, GridLinesStartAtTheMultipleTowardZeroAndRunOrthogonalOrTurned) {
    DocSettings* s = doc->settings;
    s->gridX = s->gridY = 10;
    s->gridColor2 = RGBColor{0, 0xFFFF, 0};
    SetTestView(doc, 1, -23, 23);
    DrawRecorder rec;
    DrawGrid(doc, true);
    ASSERT_FALSE(rec.calls.empty());
    EXPECT_EQ(rec.calls[0].colour.green, 0xFFFF); // the alternative colour
    EXPECT_DOUBLE_EQ(rec.calls[0].width, 0.25);
    // x: trunc(-2.3) = -2, so the first vertical line is at -20, inside the view; y: the first
    // horizontal line is at 20, below the view's bottom at 23.
    EXPECT_DOUBLE_EQ(rec.calls[0].v[0], 3);
    EXPECT_DOUBLE_EQ(rec.calls[0].v[2], 3);
    int vertical = 0, horizontal = 0;
    for (const DrawCall& c : rec.calls) {
        vertical += c.v[0] == c.v[2];
        horizontal += c.v[1] == c.v[3];
    }
    EXPECT_EQ(vertical, 20);   // -20, -10, ..., 170
    EXPECT_EQ(horizontal, 11); // 20, 30, ..., 120
    std::vector<DrawCall> h = rec.calls;
    EXPECT_DOUBLE_EQ(h[vertical].v[1], kTestStatusHeight + 15 - 3);
    // 89.9 degrees is not orthogonal: its lines stand upright (within 0.1 degree of 90) but step by
    // 10 / sin(89.9), from the world origin.
    s->gridAngleY = 89.9;
    rec.Clear();
    DrawGrid(doc, false);
    Float64 step = 10 / std::sin(89.9 * M_PI / 180);
    bool found = false;
    for (const DrawCall& c : rec.calls)
        if (c.v[0] == c.v[2] && std::fabs(c.v[0] - (10 * step + 23)) < 1e-9) found = true;
    EXPECT_TRUE(found);
    // At 60 degrees they lean.
    s->gridAngleY = 60;
    rec.Clear();
    DrawGrid(doc, false);
    int leaning = 0;
    for (const DrawCall& c : rec.calls)
        leaning += c.v[0] != c.v[2] && c.v[1] != c.v[3];
    EXPECT_GT(leaning, 5);
}

TEST_F(ViewDocumentTest, AFarOriginDrawsOnlyTheLinesOfTheView) {
    doc->settings->gridX = doc->settings->gridY = 1;
    for (Float64 origin : {1e9, -3e12, 1e15, 1e17}) {
        SetTestView(doc, 0.25, origin, -origin);
        DrawRecorder rec;
        DrawGrid(doc, false);
        ASSERT_FALSE(rec.calls.empty()) << origin;
        EXPECT_LE(rec.calls.size(), size_t(kTestViewWidth + kTestViewHeight + 16)) << origin;
        // The first line lies within one spacing (4 pixels) of the view's edge, and none outside it.
        EXPECT_GE(rec.calls[0].v[0], -4) << origin;
        EXPECT_LE(rec.calls[0].v[0], 4) << origin;
        for (const DrawCall& c : rec.calls) {
            EXPECT_GE(c.v[0], -4) << origin;
            EXPECT_LE(c.v[0], kTestViewWidth) << origin;
        }
    }
    // Where a spacing is lost in the origin's precision there is nothing to draw, and no endless loop.
    SetTestView(doc, 0.25, 1e300, 0);
    DrawRecorder rec;
    DrawGrid(doc, false);
    EXPECT_LE(rec.calls.size(), size_t(kTestViewWidth + kTestViewHeight + 16));
}

TEST_F(ViewDocumentTest, ZoomStepsKeepThePointUnderTheMouseOrTheViewCentre) {
    SetTestView(doc, 1.0, 10, 20);
    ZoomViewAboutPoint(doc, true, 50, 40); // world (60, 60)
    EXPECT_DOUBLE_EQ(doc->drawing->view.unitsPerPixel, 1 / 1.1);
    EXPECT_NEAR(50 * doc->drawing->view.unitsPerPixel + doc->drawing->view.originX, 60, 1e-12);
    EXPECT_NEAR(40 * doc->drawing->view.unitsPerPixel + doc->drawing->view.originY, 60, 1e-12);
    ZoomViewAboutPoint(doc, false, 50, 40);
    EXPECT_NEAR(doc->drawing->view.unitsPerPixel, 1.0, 1e-12);
    EXPECT_NEAR(doc->drawing->view.originX, 10, 1e-12);

    SetTestView(doc, 1.0, 0, 0);
    ZoomViewAboutCentre(doc, true);
    EXPECT_DOUBLE_EQ(doc->drawing->view.unitsPerPixel, 0.5);
    EXPECT_DOUBLE_EQ(doc->drawing->view.originX, 50); // a quarter of the 200 visible
    ZoomViewAboutCentre(doc, false);
    EXPECT_DOUBLE_EQ(doc->drawing->view.unitsPerPixel, 1.0);
    EXPECT_DOUBLE_EQ(doc->drawing->view.originX, 0);
    // The scale never reaches zero.
    doc->drawing->view.unitsPerPixel = 1e-300;
    ApplyZoom(doc);
    EXPECT_EQ(doc->drawing->view.unitsPerPixel, 1e-15);
}

TEST_F(ViewDocumentTest, ZoomingToARectangleCentresItAtTheScaleThatFits) {
    EXPECT_TRUE(ZoomToWorldRect(doc, 100, 0, 300, 10)); // wide: the width decides
    EXPECT_DOUBLE_EQ(doc->drawing->view.unitsPerPixel, 1.0);
    EXPECT_DOUBLE_EQ(doc->drawing->view.originX, 100);
    EXPECT_DOUBLE_EQ(doc->drawing->view.originY, 5 - 50);
    EXPECT_FALSE(ZoomToWorldRect(doc, 5, 5, 5, 5));
    EXPECT_DOUBLE_EQ(doc->drawing->view.unitsPerPixel, 1.0);
}

TEST_F(ViewDocumentTest, ExtentsCoverTheElementsByKeyAndVisibilityAndFitTheView) {
    AddTestLine(0, 0, 10, 10);
    ArcRecord* arc = AddTestArc(50, 0, 5, 0, 90); // a quarter: reaches x 55 and y 5 only
    LineRecord* keyed = AddTestLine(-100, -50, -90, -40);
    keyed->group = 7;
    keyed->layer = 9;
    Float64 x1, y1, x2, y2;
    ASSERT_TRUE(ComputeDrawingExtents(doc, 0, false, &x1, &y1, &x2, &y2, 0));
    EXPECT_DOUBLE_EQ(x1, -100);
    EXPECT_DOUBLE_EQ(y1, -50);
    EXPECT_DOUBLE_EQ(x2, 55);
    EXPECT_DOUBLE_EQ(y2, 10);
    EXPECT_TRUE(WorldBoxVisible(doc, -100, -50, -100, -50));
    EXPECT_TRUE(WorldBoxVisible(doc, 55, 10, 55, 10));
    ASSERT_TRUE(ComputeDrawingExtents(doc, 7, false, &x1, &y1, &x2, &y2, 0));
    EXPECT_DOUBLE_EQ(x2, -90);
    SetLayerVisible(doc->layerVisible, 9, false);
    ASSERT_TRUE(ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 0));
    EXPECT_DOUBLE_EQ(x1, 0);
    arc->endAngle = 180; // now over the top
    ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 0);
    EXPECT_DOUBLE_EQ(x1, 0);
    EXPECT_DOUBLE_EQ(y2, 10);
    // Option 1 counts the frames too.
    FrameRecord* frame = NewFrameRecord();
    frame->rect[0] = -500, frame->rect[1] = 0, frame->rect[2] = 0, frame->rect[3] = 300;
    doc->drawing->frames = frame;
    ComputeDrawingExtents(doc, 0, true, &x1, &y1, &x2, &y2, 1);
    EXPECT_DOUBLE_EQ(x1, -500);
    EXPECT_DOUBLE_EQ(y2, 300);
    doc->drawing->frames = nullptr;
    DisposeFrameRecord(&frame);
    EXPECT_DOUBLE_EQ(doc->drawing->view.extentsMinX, -500);
    // Nothing of key 99: false and an empty box.
    EXPECT_FALSE(ComputeDrawingExtents(doc, 99, false, &x1, &y1, &x2, &y2, 0));
    EXPECT_EQ(x1, 0);
    EXPECT_EQ(y2, 0);
}

TEST_F(ViewWindowTest, ADraggedRectangleIsKeptInDrawingCoordinatesAndErasedAfterwards) {
    RedrawWindow(doc);
    int before = CountInk();
    QueueDrag(window, {Pt(20, 80), Pt(40, 70), Pt(60, 50)});
    EventRecord event{};
    for (int i = 0; i < 20 && event.what != mouseDown; ++i)
        WaitNextEvent(mDownMask, &event, 0, nullptr);
    ASSERT_EQ(event.what, mouseDown);
    ASSERT_TRUE(TrackDragRectangle(doc, false));
    const DrawingRecord* d = doc->drawing;
    EXPECT_DOUBLE_EQ(d->view.dragRectX, 20);
    EXPECT_DOUBLE_EQ(d->view.dragRectY, kTestViewHeight - 80);
    EXPECT_DOUBLE_EQ(d->view.dragRectWidth, 40);
    EXPECT_DOUBLE_EQ(d->view.dragRectHeight, 30);
    EXPECT_EQ(CountInk(), before);
}

// Moving and zooming the view reuse the pixels shown: a move scrolls them and draws the strips that
// come into view, a zoom notch shows them scaled at once and redraws when the loop is free.
class ShownPixelsTest : public ViewWindowTest {
  protected:
    std::vector<RGBColor> Picture() const {
        std::vector<RGBColor> pixels;
        for (SInt16 v = 0; v < viewHeight; ++v)
            for (SInt16 h = 0; h < viewWidth; ++h)
                pixels.push_back(Pixel(h, v));
        return pixels;
    }
    static int Differing(const std::vector<RGBColor>& a, const std::vector<RGBColor>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i)
            n += a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue;
        return n;
    }
    // Pixels off by more than an edge's rounding (3 levels), away from the drawing area's border: a
    // redraw leaves out what lies just beyond the view, whose pen may reach a pixel or two in.
    int DifferingInside(const std::vector<RGBColor>& a, const std::vector<RGBColor>& b) const {
        constexpr int kBorder = 3, kLevels = 3;
        int n = 0;
        for (int v = kBorder; v < viewHeight - kBorder; ++v)
            for (int h = kBorder; h < viewWidth - kBorder; ++h) {
                const RGBColor &p = a[size_t(v) * viewWidth + h], &q = b[size_t(v) * viewWidth + h];
                n += std::max(
                         {std::abs(p.red - q.red), std::abs(p.green - q.green), std::abs(p.blue - q.blue)}) >>
                     8 > kLevels;
            }
        return n;
    }
    void MoveBy(SInt32 dx, SInt32 dy) {
        DrawingRecord* d = doc->drawing;
        d->view.originX -= dx * d->view.unitsPerPixel;
        d->view.originY += dy * d->view.unitsPerPixel;
        ShowViewMoved(doc, dx, dy, false);
    }
};

TEST_F(ShownPixelsTest, AMovedViewShowsWhatARedrawDraws) {
    doc->settings->gridVisible = 1;
    doc->settings->gridX = doc->settings->gridY = 10;
    // Long lines across every strip, wide ones, arcs, and a text.
    for (int i = 0; i < 12; ++i) {
        AppendTestLine(doc, -50 + 37 * i, -20, 30 + 11 * i, 140)->penBlock.penWidth100 = SInt16(i % 3 * 70);
        AppendTestLine(doc, -40, 7 * i, 260, 5 + 6 * i);
        AppendTestArc(doc, 15 + 17 * i, 10 + 8 * i, 3 + i, 0, 360);
    }
    AppendTestText(doc, "Strip", 90, 40, 8, 30);
    // Smooth, as on screen: Qt's aliased lines take their pixels from where a clip cuts them. Half a
    // millimetre a pixel moves every point by whole pixels exactly.
    SetTestView(doc, 0.5, -10, -5);
    CGSetDefaultShouldAntialias(true);
    UpdateViewExtent(doc, false);
    const struct {
        SInt32 dx, dy;
    } moves[] = {{7, 0}, {0, -5}, {-13, 9}, {3, 3}, {-1, -1}, {150, 0}, {0, 99}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m.dx * 1000 + m.dy);
        const UInt32 paints = gWindowRedrawCount;
        MoveBy(m.dx, m.dy);
        EXPECT_EQ(gWindowRedrawCount, paints); // no full pass
        const std::vector<RGBColor> shown = Picture();
        UpdateViewExtent(doc, false);
        EXPECT_EQ(DifferingInside(shown, Picture()), 0);
    }
    // A move as large as the view draws it whole.
    const UInt32 paints = gWindowRedrawCount;
    MoveBy(0, kTestViewHeight);
    EXPECT_EQ(gWindowRedrawCount, paints + 1);
}

TEST_F(ShownPixelsTest, AZoomNotchShowsTheScaledPictureAtOnceAndNotchesInARowAreRedrawnOnce) {
    AppendTestLine(doc, 100, 0, 100, 200)->penBlock.penWidth100 = 300; // a vertical bar at x 100
    SetTestView(doc, 1.0, 0, 0);
    UpdateViewExtent(doc, false);
    ASSERT_FALSE(IsBackground(100, 50));
    const UInt32 paints = gWindowRedrawCount;
    // About the pixel (50, 50): the bar, 50 pixels right of it, is shown 55 pixels right at once.
    ZoomViewAboutPoint(doc, true, 50, kTestViewHeight - 50);
    EXPECT_EQ(gWindowRedrawCount, paints);
    EXPECT_TRUE(doc->drawing->view.redrawPending);
    EXPECT_FALSE(IsBackground(105, 50));
    EXPECT_TRUE(IsBackground(98, 50));
    ZoomViewAboutPoint(doc, true, 50, kTestViewHeight - 50);
    ZoomViewAboutPoint(doc, false, 50, kTestViewHeight - 50);
    EXPECT_EQ(gWindowRedrawCount, paints);
    // Zoomed out, what the old picture does not cover is background until the redraw.
    ZoomViewAboutPoint(doc, false, 50, kTestViewHeight - 50);
    ZoomViewAboutPoint(doc, false, 50, kTestViewHeight - 50);
    EXPECT_TRUE(IsBackground(kTestViewWidth - 1, 1));
    // The loop's deferred redraw then draws the view at its last scale, one notch out: the bar 45
    // pixels right of the point.
    const std::vector<RGBColor> scaled = Picture();
    RedrawWindow(doc);
    EXPECT_GT(Differing(scaled, Picture()), 0);
    EXPECT_TRUE(IsBackground(105, 50));
    EXPECT_FALSE(IsBackground(95, 50));
}
