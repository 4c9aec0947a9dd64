// Polyline drawing beyond the reference scene: what each kind sends to the plot writer, the window's
// drawing hook, and a picture drawn into its frame in the window.
#include "ViewTestSupport.h"
#include "Model/ElementLists.h"
#include "Platform/MemoryManager.h"
#include "View/ContentPasses.h"
#include "View/ElementDrawing.h"
#include "View/PolylineDrawing.h"

#include <cmath>
#include <vector>

namespace {

PolylineRecord* AddPolyline(DocWindowRecord* doc, SInt16 kind, std::vector<Float64> xy) {
    PolylineRecord* last = nullptr;
    LastPolyline(doc, &last);
    PolylineRecord* p = NewPolylineElement(doc, &last->next);
    p->kind = kind;
    p->pen = 1;
    p->lineType = 3;
    p->pointCount = SInt16(xy.size() / 2);
    PtrToHand(xy.data(), &p->points, Size(xy.size() * sizeof(Float64)));
    return p;
}

} // namespace

TEST_F(ViewDocumentTest, PlottedPolylinesSendTheirLinesAndArcs) {
    struct Case {
        const char* name;
        SInt16 kind;
        std::vector<Float64> xy;
        Float64 radius;
        int lines, circles; // lines -1: at least 8 chords
    };
    const Case cases[] = {
        {"segments", kPolylineSegments, {0, 0, 10, 0, 10, 10}, 0, 2, 0},
        {"curve", kPolylineCurve, {0, 0, 10, 10, 20, 0}, 0, 32, 0},
        {"ellipse", kPolylineEllipse, {0, 0, 20, 0, 20, 10, 0, 10}, 0, -1, 0},
        {"rounded rectangle", kPolylineRoundedRect, {0, 0, 20, 0, 20, 10, 0, 10}, 2, 4, 4},
        {"picture: its frame", kPolylinePicture, {0, 0, 20, 10}, 0, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRecord* p = AddPolyline(doc, c.kind, c.xy);
        p->params[0] = c.radius;
        PlotRecorder plot(doc);
        DrawRecorder rec;
        DrawPolylineElement(doc, p);
        int lines = 0, circles = 0;
        for (const PlotCall& call : plot.calls) {
            lines += call.kind == 'L';
            circles += call.kind == 'C';
        }
        if (c.lines < 0)
            EXPECT_GE(lines, 8);
        else
            EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(circles, c.circles);
        EXPECT_TRUE(rec.calls.empty()); // nothing is drawn while plotting
        if (c.kind == kPolylineSegments) {
            EXPECT_EQ(plot.calls[0].lineType, 3);
        }
    }
}

TEST_F(ViewWindowTest, TheDrawingHookDrawsPolylinesAndAPictureFillsItsFrame) {
    InstallViewDrawingHooks();
    // A version 1 picture of 10 x 10 painted black all over.
    const UInt8 bytes[] = {0, 0, 0, 0, 0, 0, 0, 10, 0, 10, 0x11, 0x01, 0x31, 0, 0, 0, 0, 0, 10, 0, 10, 0xFF};
    PolylineRecord* p = AddPolyline(doc, kPolylinePicture, {20, 20, 60, 60});
    PtrToHand(bytes, &p->picture, sizeof bytes);
    gDocumentHooks.drawElement(doc, kPolylineElement, p);
    EXPECT_TRUE(p->drawn);
    // One millimetre a pixel, y up from the drawing area's bottom (100 pixels high).
    EXPECT_FALSE(IsBackground(40, 100 - 40));
    EXPECT_FALSE(IsBackground(22, 100 - 58));
    EXPECT_TRUE(IsBackground(70, 100 - 40));
    int ink = CountInk();
    EXPECT_GE(ink, 40 * 40 - 200);
    EXPECT_LE(ink, 42 * 42);
}

TEST_F(ViewWindowTest, BelowFullSizeASubPixelPolylineIsADot) {
    gViewHooks.drawPolyline = DrawPolylineElement;
    AddPolyline(doc, kPolylineSegments, {100.2, 100.2, 100.6, 100.4, 100.3, 100.9});
    SetTestView(doc, 2.0, 20, 20); // 14 % zoom
    {
        DrawRecorder recorder;
        RedrawWindow(doc);
        EXPECT_TRUE(recorder.Of(DrawCallKind::polyline).empty());
        std::vector<DrawCall> dots = recorder.Of(DrawCallKind::line);
        ASSERT_EQ(dots.size(), 1u);
        EXPECT_EQ(dots[0].v[0], dots[0].v[2]);
    }
    EXPECT_EQ(CountInk(), 1);
    SetTestView(doc, 25.4 / 72, 95, 95);
    DrawRecorder recorder;
    RedrawWindow(doc);
    EXPECT_EQ(recorder.Of(DrawCallKind::polyline).size(), 1u);
}
