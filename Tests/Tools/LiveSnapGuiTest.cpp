// The fixed-point snap end to end: the loop's idle marks the point offered by the elements under the
// mouse, a click takes exactly that point, and with nothing marked a click gives no point.
#include "ToolGuiFixture.h"

#include "Model/ElementRecords.h"
#include "Platform/MemoryManager.h"
#include "Tools/ToolState.h"

#include <algorithm>

namespace {

class LiveSnapGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        ChooseTool(0);
        Key(kKeyCodeTab, kTabCharCode, shiftKey); // back from the grid to the fixed point
        ASSERT_EQ(doc->settings->snapMode, 3);
    }
    Point PixelOf(double x, double y) const {
        const DrawingRecord* d = doc->drawing;
        SInt16 h = SInt16(std::lround((x - d->view.originX) / d->view.unitsPerPixel));
        SInt16 up = SInt16(std::lround((y - d->view.originY) / d->view.unitsPerPixel));
        return Pt(h, SInt16(d->view.viewHeight - up));
    }
    // The mouse moved to a drawing point, and the loop idling there.
    void HoverAt(double x, double y) {
        SimulateMouseMove(WindowPointToGlobal(doc->window, PixelOf(x, y)));
        RunLoop();
    }
    // Pure red pixels of the port within the marker's reach of a drawing point.
    int RedAround(double x, double y) const {
        Point p = PixelOf(x, y);
        int n = 0;
        for (int dv = -10; dv <= 10; ++dv)
            for (int dh = -10; dh <= 10; ++dh) {
                RGBColor c = GetPortPixel(GetWindowPort(doc->window), SInt16(p.h + dh), SInt16(p.v + dv));
                if (c.red > 0xC000 && c.green < 0x4000 && c.blue < 0x4000) ++n;
            }
        return n;
    }
    const ToolStateRecord* Tool() const { return doc->drawing->tool; }
};

TEST_F(LiveSnapGui, ALineFromAnEndPointToACrossingUnderTheMouse) {
    Draw(0, 0, 60, 0);
    Draw(100, 20, 100, 80);
    Draw(80, 50, 140, 50);

    HoverAt(58.5, 1); // near the line's second end
    ASSERT_TRUE(Tool()->fixedPointPresent);
    EXPECT_EQ(Tool()->fixedX, 60);
    EXPECT_EQ(Tool()->fixedY, 0);
    EXPECT_GT(RedAround(60, 0), 0);
    ClickAt(58.5, 1);
    ASSERT_EQ(Step(), 1);
    EXPECT_EQ(Lines(), 3);

    HoverAt(101.5, 51); // both lines of the cross within the aperture
    EXPECT_EQ(Tool()->fixedX, 100);
    EXPECT_EQ(Tool()->fixedY, 50);
    EXPECT_GT(RedAround(100, 50), 0);
    EXPECT_EQ(RedAround(60, 0), 0); // the earlier mark went
    ClickAt(101.5, 51);
    ASSERT_EQ(Lines(), 4);
    const LineRecord* l = Last();
    EXPECT_EQ(l->x1, 60);
    EXPECT_EQ(l->y1, 0);
    EXPECT_EQ(l->x2, 100);
    EXPECT_EQ(l->y2, 50);
    SaveWindowPNG(doc->window, "live-snap.png");

    // Another snap mode takes the mark away.
    ASSERT_TRUE(Tool()->fixedPointPresent);
    Key(kKeyCodeTab, kTabCharCode);
    EXPECT_EQ(doc->settings->snapMode, 0);
    EXPECT_FALSE(Tool()->fixedPointPresent);
    EXPECT_EQ(RedAround(100, 50), 0);
}

TEST_F(LiveSnapGui, NothingUnderTheMouseMarksNothingAndAClickGivesNoPoint) {
    Draw(20, 20, 80, 20);
    HoverAt(21, 21);
    ASSERT_TRUE(Tool()->fixedPointPresent);
    // The mark stays with its point through a redraw of the window.
    RedrawWindow(doc);
    EXPECT_GT(RedAround(20, 20), 0);

    HoverAt(30, 60);
    EXPECT_FALSE(Tool()->fixedPointPresent);
    EXPECT_EQ(RedAround(20, 20), 0);
    ClickAt(30, 60);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Lines(), 1);

    // A click that comes without a pause over an element still takes its point.
    ClickAt(79, 21);
    EXPECT_EQ(Step(), 1);
    ClickAt(21, 21);
    ASSERT_EQ(Lines(), 2);
    EXPECT_EQ(Last()->x1, 20);
    EXPECT_EQ(Last()->x2, 80);
}

TEST_F(LiveSnapGui, AParallelThroughThePointUnderTheMouse) {
    Draw(0, 0, 100, 0);
    Draw(20, 30, 60, 30);
    ChooseTool(1);
    ClickAt(50, 0.5); // the line to copy
    ASSERT_EQ(Step(), 1);
    ClickAt(59, 31); // the second line's end
    ASSERT_EQ(Lines(), 3);
    ExpectLast(0, 30, 100, 30);
}

TEST_F(LiveSnapGui, WhatTheElementsUnderTheMouseOffer) {
    Draw(80, 50, 140, 50);
    Draw(100, 20, 100, 80);
    BeginUndoStep(doc);
    AddArc(doc, 40, 100, 20, 0, 90);
    AddArc(doc, 160, 100, 10, 0, 360);
    AddLine(doc, 140, 100, 180, 100);
    AddLine(doc, 120, 140, 180, 140);
    AddLine(doc, 120, 142, 180, 142);
    EndUndoStep(doc);
    PolylineRecord* poly = NewPolylineElement(doc, &doc->polylineHead->next);
    ASSERT_NE(poly, nullptr);
    poly->kind = kPolylineSegments;
    poly->drawn = 1;
    poly->layer = doc->settings->currentLayer;
    poly->pointCount = 3;
    const Float64 xy[] = {0, 140, 30, 140, 30, 170};
    poly->points = NewHandleClear(sizeof xy);
    std::copy(std::begin(xy), std::end(xy), reinterpret_cast<Float64*>(*poly->points));
    RedrawWindow(doc);

    struct Case {
        const char* what;
        double hoverX, hoverY, x, y;
    } cases[] = {
        {"an arc's start", 59, 103, 60, 100},
        {"a full circle's centre", 160, 109.5, 160, 100},
        {"a line and a circle: the crossing nearer the mouse", 151, 101, 150, 100},
        {"a polyline segment's end", 2, 141, 0, 140},
        {"two segments of a polyline: their corner", 29, 141, 30, 140},
        {"two parallels leave the mark where it was", 150, 141, 30, 140},
        {"a line and the line crossing it", 99, 49, 100, 50},
    };
    for (const Case& c : cases) {
        HoverAt(c.hoverX, c.hoverY);
        ASSERT_TRUE(Tool()->fixedPointPresent) << c.what;
        EXPECT_NEAR(Tool()->fixedX, c.x, 1e-9) << c.what;
        EXPECT_NEAR(Tool()->fixedY, c.y, 1e-9) << c.what;
    }
}

} // namespace
