// The area tools' picks and the outlines traced through them: chains of lines and arcs, the segment a
// line cuts off a circle, single circles, polylines, texts and dimensions as holes, closing on the
// first element, polyline runs, taking picks back, and every way a trace fails with message 55.
#include "Tools/AreaPicks.h"

#include "Model/ElementLists.h"
#include "Other/MathPrimitives.h"
#include "Model/Polylines.h"
#include "Model/SpatialIndex.h"
#include "Platform/AppResources.h"
#include "Platform/MemoryManager.h"
#include "Platform/QuickDraw.h"
#include "ToolFixture.h"
#include "Tools/AreaOutlines.h"
#include "Tools/AreaTools.h"
#include "Other/ToolListText.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

struct P {
    double x, y;
};

class AreaPicks : public ToolTest {
  protected:
    void SetUp() override {
        ToolTest::SetUp();
        GeneralPrefs.currentToolGroup = 9;
        GeneralPrefs.currentSubTool = 0;
        doc->settings->chordTolerance = 0.01;
        ResetToolState(doc, 0);
    }
    void PickAt(double x, double y) {
        PointAt(x, y);
        CommandFieldOf(doc)->valueCount = 0;
        CreateAreaFromPicks(doc);
    }
    void Return() {
        CommandFieldOf(doc)->valueCount = -1;
        CreateAreaFromPicks(doc);
    }
    ToolStateRecord* T() const { return doc->drawing->tool; }
    SInt16 Picks() const { return T()->pickCount; }
    const AreaPickRecord& PickRec(int i) const {
        return reinterpret_cast<AreaPickRecord*>(*T()->pickList)[i];
    }
    int Contours() const { return LastOutlineContour(doc) + 1; }
    // Contour i as points; an ellipse contour gives its centre and radii.
    std::vector<P> Contour(int i) const {
        Handle h = doc->drawing->toolInput.outlineContours[i];
        std::vector<P> out;
        if (h == nullptr) return out;
        SInt16 last = OutlineLastIndex(h);
        int n = last < 0 ? 2 : last + 1;
        for (int k = 0; k < n; ++k)
            out.push_back({OutlinePoints(h)[2 * k], OutlinePoints(h)[2 * k + 1]});
        return out;
    }
    static double SignedArea(const std::vector<P>& p) {
        double s = 0;
        for (size_t i = 0; i + 1 < p.size(); ++i)
            s += p[i].x * p[i + 1].y - p[i + 1].x * p[i].y;
        return s / 2;
    }
    PolylineRecord* DrawnPolyline(SInt16 kind, const std::vector<P>& points, double radius = 0) {
        for (const P& p : points) {
            doc->drawing->toolInput.cursorX = p.x;
            doc->drawing->toolInput.cursorY = p.y;
            AppendTempPoint(doc);
        }
        PolylineRecord* polyline = nullptr;
        BuildPolylineFromPoints(doc, &polyline, kind, false, 0, 0);
        if (polyline != nullptr && kind == kPolylineRoundedRect) polyline->params[0] = radius;
        if (polyline != nullptr) polyline->drawn = 1;
        return polyline;
    }
    void RemoveAllElementsForTest() {
        DisposeDocumentElements(doc);
        SpatialIndexStale(doc);
    }
    template <typename Record> static void LinkLast(Record* head, Record* e) {
        Record* r = head;
        while (r->next != nullptr)
            r = r->next;
        r->next = e;
    }
    TextRecord* DrawnText(double x0, double y0, double x1, double y1) {
        TextRecord* text = nullptr;
        NewTextElement(doc, &text);
        const double c[8] = {x0, y0, x1, y0, x1, y1, x0, y1};
        std::copy(c, c + 8, text->corners);
        text->x = x0, text->y = y0;
        text->textHeight = y1 - y0;
        text->drawn = 1;
        LinkLast(doc->textHead, text);
        SpatialIndexAppended(doc, kTextElement, text);
        return text;
    }
    DimensionRecord* DrawnDimension(double x0, double y0, double x1, double y1) {
        DimensionRecord* dim = nullptr;
        NewDimensionElement(doc, &dim);
        dim->textX = x0, dim->textY = y0;
        const double f[6] = {x1, y0, x1, y1, x0, y1};
        std::copy(f, f + 6, dim->frame);
        dim->x1 = x0, dim->y1 = y0 - 5, dim->x2 = x1, dim->y2 = y0 - 5;
        dim->drawn = 1;
        LinkLast(doc->dimensionHead, dim);
        SpatialIndexAppended(doc, kDimensionElement, dim);
        return dim;
    }
    // A square of four lines (each running past the corners) from (0,0) to (10,10), its sides
    // clicked bottom, right, top, left.
    void PickSquare() {
        DrawnLine(-2, 0, 12, 0);
        DrawnLine(10, -2, 10, 12);
        DrawnLine(12, 10, -2, 10);
        DrawnLine(0, 12, 0, -2);
        PickAt(5, 0);
        PickAt(10, 5);
        PickAt(5, 10);
        PickAt(0, 5);
    }
    void ExpectTraceFailed(const char* what) {
        EXPECT_EQ(messages.Last(), 55) << what;
        EXPECT_EQ(Step(), 0) << what;
        EXPECT_EQ(Contours(), 0) << what;
        EXPECT_EQ(Picks(), 0) << what;
        EXPECT_EQ(doc->drawing->toolInput.outlineBlock, nullptr) << what;
    }
    MessageCapture messages;
};

void ExpectNear(const P& a, P b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-6) << what;
    EXPECT_NEAR(a.y, b.y, 1e-6) << what;
}

} // namespace

TEST_F(AreaPicks, ChainsOfLinesMeetAtTheirIntersectionsAndParallelNeighboursAtTheirNearEnds) {
    PickSquare();
    EXPECT_EQ(Picks(), 4);
    Return();
    ASSERT_EQ(Contours(), 1);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Picks(), 0);
    std::vector<P> c = Contour(0);
    ASSERT_EQ(c.size(), 5u);
    const P corners[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    for (int i = 0; i < 5; ++i)
        ExpectNear(c[size_t(i)], corners[i], "square corner");

    // A step: two parallel lines next to each other are joined between their near ends.
    ResetToolState(doc, 0);
    DrawnLine(30, 0, 40, 0);
    DrawnLine(40, 0, 40, 5);
    DrawnLine(40, 5, 35, 5);
    DrawnLine(35, 6, 30, 6);
    DrawnLine(30, 6, 30, 0);
    for (P p : {P{33, 0}, P{40, 2}, P{38, 5}, P{32, 6}, P{30, 3}})
        PickAt(p.x, p.y);
    Return();
    ASSERT_EQ(Contours(), 1);
    c = Contour(0);
    EXPECT_NEAR(std::fabs(SignedArea(c)), 55, 1e-9);
    const P step[] = {{30, 0}, {40, 0}, {40, 5}, {35, 5}, {35, 6}, {30, 6}, {30, 0}};
    ASSERT_EQ(c.size(), 7u);
    for (int i = 0; i < 7; ++i)
        ExpectNear(c[size_t(i)], step[i], "step corner");
}

TEST_F(AreaPicks, ClickingTheFirstElementAgainClosesTheChainWithoutADuplicate) {
    PickSquare();
    PickAt(4, 0);
    EXPECT_EQ(Picks(), 5);
    PickAt(6, 0); // the element of the last pick again: ignored
    EXPECT_EQ(Picks(), 5);
    Return();
    ASSERT_EQ(Contours(), 1);
    EXPECT_EQ(Contour(0).size(), 5u);
    EXPECT_NEAR(SignedArea(Contour(0)), 100, 1e-9);
}

// Each single-element and line-and-arc case, in a table: what is drawn, where it is clicked, and what
// the contour must be.
TEST_F(AreaPicks, EachTraceCaseGivesItsContour) {
    struct Case {
        const char* name;
        std::function<void()> draw;
        std::vector<P> clicks;
        std::function<void(const std::vector<P>&, SInt16 lastIndex)> check;
    };
    const Case cases[] = {
        {"a circle is an ellipse contour",
         [this] { DrawnArc(50, 50, 7); },
         {{57, 50}},
         [](const std::vector<P>& c, SInt16 last) {
             EXPECT_EQ(last, -1);
             ExpectNear(c[0], {50, 50}, "centre");
             ExpectNear(c[1], {7, 7}, "radii");
         }},
        {"an arc is taken as its full circle",
         [this] { DrawnArc(50, 50, 7, 0, 90); },
         {{50 + 7 * std::cos(0.7), 50 + 7 * std::sin(0.7)}},
         [](const std::vector<P>& c, SInt16 last) {
             EXPECT_EQ(last, -1);
             ExpectNear(c[1], {7, 7}, "radii");
         }},
        {"a line and a circle clicked below: the larger segment",
         [this] {
             DrawnLine(-20, 5, 20, 5);
             DrawnArc(0, 0, 10);
         },
         {{0, 5}, {0, -10}},
         [](const std::vector<P>& c, SInt16) {
             double minY = 1e9, maxY = -1e9;
             for (const P& p : c)
                 minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
             EXPECT_NEAR(minY, -10, 0.1);
             EXPECT_NEAR(maxY, 5, 1e-6);
             ExpectNear(c.front(), c.back(), "closed");
         }},
        {"the arc clicked above: the smaller segment",
         [this] {
             DrawnArc(0, 0, 10);
             DrawnLine(-20, 5, 20, 5);
         },
         {{0, 10}, {-15, 5}},
         [](const std::vector<P>& c, SInt16) {
             for (const P& p : c)
                 EXPECT_GE(p.y, 5 - 1e-6);
             EXPECT_GT(c.size(), 4u);
         }},
        {"two lines and an arc: the arc runs through its click point",
         [this] {
             DrawnLine(-1, 0, 11, 0);
             DrawnLine(10, -1, 10, 12);
             DrawnArc(5, 10, 6);
             DrawnLine(0, 12, 0, -1);
         },
         {{5, 0}, {10, 3}, {5, 16}, {0, 3}},
         [](const std::vector<P>& c, SInt16) {
             double maxY = -1e9;
             for (const P& p : c)
                 maxY = std::max(maxY, p.y);
             EXPECT_NEAR(maxY, 16, 0.2);
             ExpectNear(c[0], {0, 0}, "first corner");
             ExpectNear(c[1], {10, 0}, "second corner");
             ExpectNear(c[2], {10, 10 - std::sqrt(11.0)}, "into the arc");
         }},
        {"two circles: the lens between them, each arc through its click point",
         [this] {
             DrawnArc(0, 0, 8);
             DrawnArc(10, 0, 8);
         },
         {{8 * std::cos(M_PI / 6), 4}, {10 - 8 * std::cos(M_PI / 6), -4}},
         [](const std::vector<P>& c, SInt16) {
             const double lens = 2 * (64 * std::acos(5.0 / 8) - 5 * std::sqrt(39.0));
             EXPECT_NEAR(std::fabs(SignedArea(c)), lens, 0.3); // chords within 0.01 of the arcs
             for (const P& p : c)
                 EXPECT_NEAR(p.x, 5, 3.01);
         }},
        {"an open polyline is closed by its first point",
         [this] {
             DrawnPolyline(kPolylineSegments, {{0, 0}, {10, 0}, {10, 8}});
         },
         {{10, 0}},
         [](const std::vector<P>& c, SInt16) {
             ASSERT_EQ(c.size(), 4u);
             ExpectNear(c[3], {0, 0}, "closed");
         }},
        {"an ellipse polyline: 361 points",
         [this] {
             DrawnPolyline(kPolylineEllipse, {{0, 0}, {20, 0}, {20, 10}, {0, 10}});
         },
         {{10, 5}},
         [](const std::vector<P>& c, SInt16) {
             ASSERT_EQ(c.size(), 361u);
             ExpectNear(c[0], {20, 5}, "t = 0");
             ExpectNear(c[90], {10, 10}, "t = 90");
         }},
        {"a rounded box polyline",
         [this] {
             DrawnPolyline(kPolylineRoundedRect, {{0, 0}, {20, 0}, {20, 10}, {0, 10}}, 2);
         },
         {{10, 5}},
         [](const std::vector<P>& c, SInt16) {
             EXPECT_GT(c.size(), 8u);
             EXPECT_NEAR(SignedArea(c), 200 - (4 - M_PI) * 4, 0.5);
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ResetToolState(doc, 0);
        RemoveAllElementsForTest();
        k.draw();
        for (const P& p : k.clicks)
            PickAt(p.x, p.y);
        Return();
        ASSERT_EQ(Contours(), 1);
        Handle h = doc->drawing->toolInput.outlineContours[0];
        k.check(Contour(0), OutlineLastIndex(h));
    }
}

TEST_F(AreaPicks, TwoClicksOnOnePolylineAddItsSegmentsInTheirDirection) {
    PolylineRecord* square = DrawnPolyline(kPolylineSegments, {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 1.5}});
    ASSERT_NE(square, nullptr);
    PickAt(0, 0);
    EXPECT_EQ(Picks(), 1);
    EXPECT_EQ(PickRec(0).kind, 5);
    PickAt(10, 10);
    ASSERT_EQ(Picks(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PickRec(i).kind, 0);
        EXPECT_EQ(PickRec(i).part, kSegmentLinePart);
    }
    auto* first = static_cast<LineRecord*>(PickRec(0).element);
    EXPECT_EQ(first->x1, 0);
    EXPECT_EQ(first->x2, 10);
    EXPECT_EQ(PickRec(0).x, 5); // the segment's midpoint
    // Taking back a segment pick is refused with a beep.
    UInt32 beeps = PlatformBeepCount();
    RemoveLastPick(doc);
    EXPECT_EQ(PlatformBeepCount(), beeps + 1);
    EXPECT_EQ(Picks(), 4);
    Return();
    ASSERT_EQ(Contours(), 1);
    EXPECT_GT(SignedArea(Contour(0)), 0); // counter-clockwise, as clicked

    ResetToolState(doc, 0);
    PickAt(10, 10);
    PickAt(0, 0);
    ASSERT_EQ(Picks(), 4);
    first = static_cast<LineRecord*>(PickRec(0).element);
    EXPECT_EQ(first->y1, 1.5); // from the last point backwards
    EXPECT_EQ(first->y2, 10);
    Return();
    ASSERT_EQ(Contours(), 1);
    EXPECT_LT(SignedArea(Contour(0)), 0);
}

TEST_F(AreaPicks, TextsAndDimensionsBecomeHolesOnlyInStepOneWithAnEmptyPickList) {
    DrawnText(2, 2, 6, 4);
    DrawnDimension(3, 6, 8, 8);
    PickAt(4, 3); // step 0: a text is no boundary
    EXPECT_EQ(Picks(), 0);
    EXPECT_EQ(Contours(), 0);
    PickSquare();
    Return();
    ASSERT_EQ(Contours(), 1);
    PickAt(4, 3);
    ASSERT_EQ(Contours(), 2);
    EXPECT_EQ(Step(), 1);
    EXPECT_EQ(Picks(), 0);
    const std::vector<P> box = Contour(1);
    ASSERT_EQ(box.size(), 5u);
    ExpectNear(box[2], {6, 4}, "text corner");
    PickAt(5, 7);
    ASSERT_EQ(Contours(), 3);
    ExpectNear(Contour(2)[0], {3, 6}, "dimension box");
    ExpectNear(Contour(2)[4], {3, 6}, "closed");
    Return(); // no picks in step 1: on to the fill
    EXPECT_EQ(Step(), 2);
    EXPECT_EQ(Contours(), 3);
}

TEST_F(AreaPicks, APolylineInAChainOfSeveralPicksIsRefused) {
    DrawnLine(-2, 0, 12, 0);
    DrawnPolyline(kPolylineSegments, {{10, 20}, {20, 20}});
    PickAt(5, 0);
    PickAt(10, 20);
    Return();
    EXPECT_EQ(messages.Last(), 156);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Picks(), 0);
    EXPECT_EQ(Contours(), 0);
}

// Degenerate and damaged geometry, and what cannot be stored, fail with message 55: nothing traced,
// never a NaN point, never a hang.
TEST_F(AreaPicks, DegenerateGeometryAndFullListsFailWithMessage55) {
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"one line",
         [this] {
             DrawnLine(0, 0, 10, 0);
             PickAt(5, 0);
         }},
        {"two crossing lines enclose nothing",
         [this] {
             DrawnLine(0, 0, 10, 0);
             DrawnLine(5, -5, 5, 5);
             PickAt(2, 0);
             PickAt(5, 3);
         }},
        {"two coincident lines",
         [this] {
             // A click finds the first of them; the picks are stored as two clicks would store them.
             LineRecord* a = DrawnLine(0, 0, 10, 0);
             LineRecord* b = DrawnLine(0, 0, 10, 0);
             ASSERT_TRUE(AppendPickRecord(doc, 0, a, 5, 0, 0));
             ASSERT_TRUE(AppendPickRecord(doc, 0, b, 5, 0, 0));
         }},
        {"zero-length lines",
         [this] {
             DrawnLine(0, 0, 0, 0);
             DrawnLine(5, 5, 5, 5);
             DrawnLine(0, 5, 0, 5);
             PickAt(0, 0);
             PickAt(5, 5);
             PickAt(0, 5);
         }},
        {"a square too large to measure",
         [this] {
             const double b = 1e300;
             const double sides[4][4] = {{-b, -b, b, -b}, {b, -b, b, b}, {b, b, -b, b}, {-b, b, -b, -b}};
             for (const auto& l : sides)
                 ASSERT_TRUE(AppendPickRecord(doc, 0, DrawnLine(l[0], l[1], l[2], l[3]), 0, 0, 0));
         }},
        {"a line far from the circle",
         [this] {
             DrawnLine(-20, 50, 20, 50);
             DrawnArc(0, 0, 10);
             PickAt(0, 50);
             PickAt(0, 10);
         }},
        {"a chain with a NaN line",
         [this] {
             DrawnLine(-2, 0, 12, 0);
             DrawnArc(5, 5, 5, 0, 180);
             LineRecord* bad = DrawnLine(10, -2, 10, 12);
             PickAt(5, 0);
             PickAt(10, 5);
             PickAt(5, 10);
             bad->x1 = NAN;
         }},
        {"a zero-radius circle",
         [this] {
             ArcRecord* arc = DrawnArc(50, 50, 7);
             PickAt(57, 50);
             arc->radius = 0;
         }},
        {"a picture polyline has no area",
         [this] {
             DrawnPolyline(kPolylinePicture, {{0, 0}, {10, 10}});
             PickAt(5, 5);
         }},
        {"a polyline of the most points cannot be closed",
         [this] {
             std::vector<P> many;
             for (int i = 0; i < 32767; ++i)
                 many.push_back({std::cos(i * 1e-4) * 100, std::sin(i * 1e-4) * 100});
             PolylineRecord* p = DrawnPolyline(kPolylineSegments, many);
             ASSERT_NE(p, nullptr);
             ASSERT_EQ(p->pointCount, 32767);
             PickAt(100, 0);
         }},
        {"a full pick list",
         [this] {
             DrawnLine(-2, 0, 12, 0);
             DrawnLine(10, -2, 10, 12);
             PickAt(5, 0);
             ToolStateRecord* s = T();
             SetHandleSize(s->pickList, Size(32767) * Size(sizeof(AreaPickRecord)));
             ASSERT_EQ(MemError(), noErr);
             auto* p = reinterpret_cast<AreaPickRecord*>(*s->pickList);
             for (int i = 1; i < 32767; ++i)
                 p[i] = p[0];
             s->pickCount = 32767;
             PickAt(10, 5); // cannot be stored: the chain is given up at once
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ResetToolState(doc, 0);
        RemoveAllElementsForTest();
        messages.Clear();
        k.run();
        if (Picks() > 0) Return();
        ExpectTraceFailed(k.name);
    }
}

TEST_F(AreaPicks, A257thContourFailsTheTraceAndALaterResetFreesOnlyWhatTheToolOwns) {
    // An area made earlier keeps its contours through every reset.
    SetEllipseOutline(doc, 100, 100, 5, 5);
    ASSERT_TRUE(PushOutlineContour(doc));
    AreaRecord* area = CreateAreaElement(doc, 5, 45, -1, false);
    ASSERT_NE(area, nullptr);
    Handle kept = area->outline;

    PickSquare();
    Return();
    ASSERT_EQ(Contours(), 1);
    for (int i = 1; i < 256; ++i) {
        AppendOutlinePoint(doc, i, 0);
        ASSERT_TRUE(PushOutlineContour(doc));
    }
    DrawnText(2, 2, 6, 4);
    PickAt(4, 3);
    ExpectTraceFailed("no room for a 257th contour");

    PickSquare();
    Return();
    PickAt(5, 0); // a pick of the next chain, then Escape's reset
    ResetToolState(doc, 0);
    EXPECT_EQ(Contours(), 0);
    EXPECT_EQ(Picks(), 0);
    EXPECT_EQ(doc->drawing->toolInput.outlineContours[0], nullptr);
    EXPECT_EQ(area->outline, kept);
    EXPECT_EQ(OutlineLastIndex(kept), -1);
}

TEST_F(AreaPicks, DeleteTakesBackArcsAndLinesAndBeepsForEverythingElse) {
    ArcRecord* arc = DrawnArc(50, 50, 5);
    LineRecord* line = DrawnLine(40, 40, 60, 40);
    UInt32 beeps = PlatformBeepCount();
    RemoveLastPick(doc); // nothing picked
    EXPECT_EQ(PlatformBeepCount(), beeps + 1);
    PickAt(50, 55);
    PickAt(45, 40);
    EXPECT_TRUE(line->selected);
    EXPECT_TRUE(arc->selected);
    RemoveLastPick(doc);
    EXPECT_EQ(Picks(), 1);
    EXPECT_FALSE(line->selected);
    RemoveLastPick(doc);
    EXPECT_EQ(Picks(), 0);
    EXPECT_FALSE(arc->selected);
    EXPECT_EQ(PlatformBeepCount(), beeps + 1);

    DrawnPolyline(kPolylineSegments, {{0, 0}, {10, 0}, {10, 10}});
    PickAt(10, 10);
    ASSERT_EQ(Picks(), 1);
    RemoveLastPick(doc);
    EXPECT_EQ(Picks(), 1);
    EXPECT_EQ(PlatformBeepCount(), beeps + 2);
}

TEST_F(AreaPicks, PatternNamesAreFoundInAnyLetterCaseAndNoItemHidesALaterOne) {
    EXPECT_TRUE(TextContainsIgnoringCase("the Close RISING diagonals, please", "close rising diagonals"));
    EXPECT_FALSE(TextContainsIgnoringCase("close rising", "close rising diagonals"));
    EXPECT_FALSE(TextContainsIgnoringCase("\xC3\x84hre", "\xC3\xA4hre")); // only A to Z are folded
    for (SInt16 list : {131, 132}) {
        std::vector<std::string> items;
        for (SInt16 i = 1;; ++i) {
            Str255 item;
            GetIndString(item, list, i);
            if (item[0] == 0) break;
            items.push_back(ToStd(item));
        }
        ASSERT_GE(items.size(), 15u) << list;
        for (size_t i = 0; i < items.size(); ++i) {
            Float64 found = 0;
            EXPECT_TRUE(FindListItemInText("Pattern " + items[i] + "!", list, &found)) << items[i];
            EXPECT_EQ(found, Float64(i + 1)) << list << ": " << items[i] << " is hidden by an earlier item";
        }
    }
    Float64 index = -1;
    EXPECT_FALSE(FindListItemInText("nothing like it", 131, &index));
    EXPECT_EQ(index, -1);
    EXPECT_TRUE(FindListItemInText("ZIGZAG COLUMNS", 132, &index));
    EXPECT_EQ(index, 15);
}
