// The geometric entities of a DXF file as elements: lines, rays and construction lines, circles and
// arcs (also seen from below), light-weight and old-style polylines with bulges, solids, splines,
// ellipses, hatches, colours, and the 3-D kinds that are noted and dropped.
#include "DxfReaderTestSupport.h"

#include "Model/ElementRecords.h"
#include "Platform/DialogManager.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

DxfCodePairs Vertices(std::initializer_list<std::pair<double, double>> points) {
    DxfCodePairs p;
    for (auto [x, y] : points) {
        p.push_back({10, std::to_string(x)});
        p.push_back({20, std::to_string(y)});
    }
    return p;
}

DxfCodePairs Cat(std::initializer_list<DxfCodePairs> parts) {
    DxfCodePairs all;
    for (const DxfCodePairs& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

DxfCodePairs Vertex(double x, double y, const char* bulge = nullptr) {
    DxfCodePairs p = {{0, "VERTEX"}, {8, "0"}, {10, std::to_string(x)}, {20, std::to_string(y)}};
    if (bulge) p.push_back({42, bulge});
    return p;
}

} // namespace

TEST_F(DxfReaderTest, LinesRaysAndConstructionLines) {
    ASSERT_TRUE(Import(DxfEntities({{0, "LINE"},
                                    {10, "1"},
                                    {20, "2"},
                                    {30, "0"},
                                    {11, "3"},
                                    {21, "4"},
                                    {0, "RAY"},
                                    {10, "5"},
                                    {20, "5"},
                                    {11, "-1"},
                                    {21, "0"},
                                    {0, "XLINE"},
                                    {10, "0"},
                                    {20, "0"},
                                    {11, "0"},
                                    {21, "1"}})));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->x1, 1);
    EXPECT_EQ(lines[0]->y2, 4);
    EXPECT_EQ(lines[0]->flags & (kLineOpenStart | kLineOpenEnd), 0);
    // The ray from (5, 5) towards -x: its ends are put in order, so it runs on beyond its first point.
    EXPECT_EQ(lines[1]->x1, 4);
    EXPECT_EQ(lines[1]->x2, 5);
    EXPECT_EQ(lines[1]->flags & (kLineOpenStart | kLineOpenEnd), kLineOpenStart);
    EXPECT_EQ(lines[2]->flags & (kLineOpenStart | kLineOpenEnd), kLineOpenStart | kLineOpenEnd);
    EXPECT_FALSE(doc->settings->markNewLines);
}

TEST_F(DxfReaderTest, CirclesAndArcsAlsoSeenFromBelow) {
    const struct {
        DxfCodePairs pairs;
        double cx, start, end;
    } cases[] = {
        {{{0, "CIRCLE"}, {10, "3"}, {20, "4"}, {40, "2"}}, 3, 0, 360},
        {{{0, "CIRCLE"}, {10, "3"}, {20, "4"}, {40, "2"}, {230, "-1"}}, -3, 0, 360},
        {{{0, "ARC"}, {10, "5"}, {20, "0"}, {40, "2"}, {50, "0"}, {51, "90"}}, 5, 0, 90},
        {{{0, "ARC"}, {10, "5"}, {20, "0"}, {40, "2"}, {50, "0"}, {51, "90"}, {230, "-1"}}, -5, 90, 180},
        {{{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "2"}, {50, "-90"}, {51, "450"}}, 0, 270, 90},
        {{{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "2"}, {50, "0"}, {51, "360"}}, 0, 0, 360},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Import(DxfEntities(c.pairs)));
        auto arcs = ListOf(doc->arcHead);
        ASSERT_EQ(arcs.size(), 1u);
        EXPECT_EQ(arcs[0]->cx, c.cx);
        EXPECT_EQ(arcs[0]->radius, 2);
        EXPECT_NEAR(arcs[0]->startAngle, c.start, 1e-9) << c.cx;
        EXPECT_NEAR(arcs[0]->endAngle, c.end, 1e-9) << c.cx;
        DisposeDocumentRecords(doc);
    }
    // No radius, no circle.
    ASSERT_TRUE(Import(DxfEntities({{0, "CIRCLE"}, {10, "3"}, {20, "4"}, {40, "0"}})));
    EXPECT_TRUE(ListOf(doc->arcHead).empty());
}

TEST_F(DxfReaderTest, LightWeightPolylinesBecomeLinesAndBulgeArcs) {
    // A closed triangle: three lines, the last back to the start.
    ASSERT_TRUE(Import(DxfEntities(
        Cat({{{0, "LWPOLYLINE"}, {90, "3"}, {70, "1"}}, Vertices({{0, 0}, {10, 0}, {10, 10}})}))));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(ListOf(doc->polylineHead).empty());
    EXPECT_EQ(lines[2]->x1, 0);
    EXPECT_EQ(lines[2]->y1, 0);
    EXPECT_EQ(lines[2]->x2, 10);
    EXPECT_EQ(lines[2]->y2, 10);
    DisposeDocumentRecords(doc);

    // A square with bulges on its first two vertices: a half circle below (0,0)-(10,0), a quarter
    // arc turning clockwise from (10,0) to (10,10), and two lines.
    ASSERT_TRUE(Import(DxfEntities({{0, "LWPOLYLINE"},
                                    {90, "4"},
                                    {70, "1"},
                                    {10, "0"},
                                    {20, "0"},
                                    {42, "1"},
                                    {10, "10"},
                                    {20, "0"},
                                    {42, "-0.41421356237309503"},
                                    {10, "10"},
                                    {20, "10"},
                                    {10, "0"},
                                    {20, "10"}})));
    auto arcs = ListOf(doc->arcHead);
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_NEAR(arcs[0]->cx, 5, 1e-9);
    EXPECT_NEAR(arcs[0]->cy, 0, 1e-9);
    EXPECT_NEAR(arcs[0]->radius, 5, 1e-9);
    EXPECT_NEAR(arcs[0]->startAngle, 180, 1e-9);
    EXPECT_NEAR(std::fmod(arcs[0]->endAngle, 360), 0, 1e-9);
    // Clockwise from (10,0) to (10,10) by a quarter turn: centre (0,... ) right of the chord.
    double r = 10 / std::sqrt(2.0);
    EXPECT_NEAR(arcs[1]->radius, r, 1e-9);
    EXPECT_NEAR(arcs[1]->cx, 15, 1e-9);
    EXPECT_NEAR(arcs[1]->cy, 5, 1e-9);
    EXPECT_NEAR(arcs[1]->startAngle, 135, 1e-9); // counter-clockwise from (10,10) to (10,0)
    EXPECT_NEAR(arcs[1]->endAngle, 225, 1e-9);
    EXPECT_EQ(ListOf(doc->lineHead).size(), 2u);
}

TEST_F(DxfReaderTest, ALightWeightPolylineKeepsItsFirst2048Vertices) {
    DxfCodePairs pairs = {{0, "LWPOLYLINE"}, {90, "3000"}, {70, "0"}};
    for (int i = 0; i < 3000; ++i) {
        pairs.push_back({10, std::to_string(i)});
        pairs.push_back({20, "0"});
    }
    ASSERT_TRUE(Import(DxfEntities(pairs)));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 2047u);
    EXPECT_EQ(lines.back()->x2, 2047);
}

TEST_F(DxfReaderTest, OldStylePolylinesWithTheirVertices) {
    const DxfCodePairs seqend = {{0, "SEQEND"}, {8, "LINE"}};
    const DxfCodePairs after = {{0, "LINE"}, {10, "100"}, {20, "0"}, {11, "101"}, {21, "0"}};
    // Two vertices: one line.
    ASSERT_TRUE(Import(DxfEntities(
        Cat({{{0, "POLYLINE"}, {66, "1"}, {70, "0"}}, Vertex(0, 0), Vertex(5, 5), seqend, after}))));
    EXPECT_EQ(ListOf(doc->lineHead).size(), 2u);
    EXPECT_TRUE(ListOf(doc->polylineHead).empty());
    DisposeDocumentRecords(doc);

    // Four vertices, closed, one given twice: a polyline of five points back to the first; the
    // line after SEQEND is read whole.
    ASSERT_TRUE(Import(DxfEntities(Cat({{{0, "POLYLINE"}, {66, "1"}, {70, "1"}},
                                        Vertex(0, 0),
                                        Vertex(4, 0),
                                        Vertex(4, 0),
                                        Vertex(4, 3),
                                        Vertex(0, 3),
                                        seqend,
                                        after}))));
    auto polylines = ListOf(doc->polylineHead);
    ASSERT_EQ(polylines.size(), 1u);
    EXPECT_EQ(polylines[0]->kind, kPolylineSegments);
    using P = std::pair<double, double>;
    EXPECT_EQ(PointsOf(polylines[0]), (std::vector<P>{{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}}));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->x1, 100);
    DisposeDocumentRecords(doc);

    // A bulge on a vertex makes every segment an element of its own; a file that lost its SEQEND
    // still gives the next entity.
    ASSERT_TRUE(Import(DxfEntities(
        Cat({{{0, "POLYLINE"}, {70, "0"}}, Vertex(0, 0, "1"), Vertex(10, 0), Vertex(10, 10), after}))));
    ASSERT_EQ(ListOf(doc->arcHead).size(), 1u);
    EXPECT_NEAR(ListOf(doc->arcHead)[0]->radius, 5, 1e-9);
    EXPECT_EQ(ListOf(doc->lineHead).size(), 2u);
}

TEST_F(DxfReaderTest, SolidsAndTracesGoRoundTheirCorners) {
    using P = std::pair<double, double>;
    for (const char* kind : {"SOLID", "TRACE"}) {
        // Corners 3 and 4 of a DXF solid are across from each other: 1, 2, 4, 3 go round it.
        ASSERT_TRUE(Import(DxfEntities({{0, kind},
                                        {10, "0"},
                                        {20, "0"},
                                        {11, "4"},
                                        {21, "0"},
                                        {12, "0"},
                                        {22, "3"},
                                        {13, "4"},
                                        {23, "3"}})));
        auto p = ListOf(doc->polylineHead);
        ASSERT_EQ(p.size(), 1u);
        EXPECT_EQ(PointsOf(p[0]), (std::vector<P>{{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}})) << kind;
        DisposeDocumentRecords(doc);
    }
    // A triangle gives its third corner once.
    ASSERT_TRUE(Import(
        DxfEntities({{0, "SOLID"}, {10, "0"}, {20, "0"}, {11, "4"}, {21, "0"}, {12, "0"}, {22, "3"}})));
    EXPECT_EQ(PointsOf(ListOf(doc->polylineHead)[0]), (std::vector<P>{{0, 0}, {4, 0}, {0, 3}, {0, 0}}));
}

TEST_F(DxfReaderTest, SplinesTakeNoMorePointsThanTheyGive) {
    using P = std::pair<double, double>;
    // Control points; counts beyond the values given are cut to them; a closed spline ends at its start.
    ASSERT_TRUE(Import(DxfEntities(Cat({{{0, "SPLINE"}, {70, "1"}, {73, "9"}, {74, "0"}},
                                        Vertices({{0, 0}, {1, 2}, {3, 2}}),
                                        {{0, "SPLINE"},
                                         {73, "2"},
                                         {74, "2"},
                                         {11, "5"},
                                         {21, "5"},
                                         {11, "6"},
                                         {21, "7"},
                                         {11, "8"},
                                         {21, "9"}},
                                        {{0, "SPLINE"}, {73, "40"}, {74, "0"}}}))));
    auto p = ListOf(doc->polylineHead);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0]->kind, kPolylineSpline); // no knots: the uniform spline of its control points
    EXPECT_EQ(PointsOf(p[0]), (std::vector<P>{{0, 0}, {1, 2}, {3, 2}, {0, 0}}));
    EXPECT_EQ(PointsOf(p[1]), (std::vector<P>{{5, 5}, {6, 7}}));
}

TEST_F(DxfReaderTest, EllipsesAreTheirTurnedBoxWithAnglesInDegrees) {
    ASSERT_TRUE(Import(DxfEntities({{0, "ELLIPSE"},
                                    {10, "0"},
                                    {20, "0"},
                                    {11, "10"},
                                    {21, "0"},
                                    {40, "0.5"},
                                    {41, "0"},
                                    {42, "3.141592653589793"},
                                    {0, "ELLIPSE"},
                                    {10, "1"},
                                    {20, "1"},
                                    {11, "0"},
                                    {21, "2"},
                                    {40, "0.5"},
                                    {41, "0"},
                                    {42, "6.283185307179586"}})));
    auto p = ListOf(doc->polylineHead);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0]->kind, kPolylineEllipse);
    auto corners = PointsOf(p[0]);
    using P = std::pair<double, double>;
    EXPECT_EQ(corners, (std::vector<P>{{-10, -5}, {10, -5}, {10, 5}, {-10, 5}}));
    EXPECT_NEAR(p[0]->params[0], 0, 1e-12);
    EXPECT_NEAR(p[0]->params[1], 180, 1e-9);
    // Major axis along y: the box turns by 90 degrees about the centre.
    auto turned = PointsOf(p[1]);
    ASSERT_EQ(turned.size(), 4u);
    EXPECT_NEAR(turned[0].first, 2, 1e-9);
    EXPECT_NEAR(turned[0].second, -1, 1e-9);
    EXPECT_NEAR(turned[2].first, 0, 1e-9);
    EXPECT_NEAR(turned[2].second, 3, 1e-9);
    EXPECT_NEAR(p[1]->params[1], 360, 1e-9);
}

namespace {

// An edge path of line edges round the corners, with the flags of code 92.
DxfCodePairs LinePath(int flags, std::initializer_list<std::pair<double, double>> corners) {
    std::vector<std::pair<double, double>> c(corners);
    DxfCodePairs p = {{92, std::to_string(flags)}, {93, std::to_string(c.size())}};
    for (size_t i = 0; i < c.size(); ++i) {
        auto a = c[i], b = c[(i + 1) % c.size()];
        p.insert(p.end(), {{72, "1"},
                           {10, std::to_string(a.first)},
                           {20, std::to_string(a.second)},
                           {11, std::to_string(b.first)},
                           {21, std::to_string(b.second)}});
    }
    p.push_back({97, "0"});
    return p;
}

DxfCodePairs Hatch(int paths, std::initializer_list<DxfCodePairs> bodies) {
    DxfCodePairs p = {{0, "HATCH"}, {8, "0"},  {62, "1"},
                      {10, "0"},    {20, "0"}, {2, "ANSI31"},
                      {70, "0"},    {71, "0"}, {91, std::to_string(paths)}};
    for (const DxfCodePairs& b : bodies)
        p.insert(p.end(), b.begin(), b.end());
    p.insert(
        p.end(),
        {{75, "0"}, {76, "1"}, {52, "0"}, {41, "1"}, {77, "0"}, {78, "0"}, {98, "1"}, {10, "1"}, {20, "1"}});
    return p;
}

} // namespace

TEST_F(DxfReaderTest, HatchesBecomeAreasWithTheirHoles) {
    ASSERT_TRUE(Import(DxfEntities(Hatch(
        2, {LinePath(0, {{2, 2}, {4, 2}, {4, 4}}), LinePath(1, {{0, 0}, {10, 0}, {10, 10}, {0, 10}})}))));
    auto areas = ListOf(doc->areaHead);
    ASSERT_EQ(areas.size(), 1u);
    AreaRecord* a = areas[0];
    EXPECT_EQ(a->fillKind, -2);
    EXPECT_EQ(a->hatchSpacing, 5);
    EXPECT_EQ(a->hatchAngle, 45);
    EXPECT_EQ(a->penBlock.color.red, 65535);
    EXPECT_EQ(a->penBlock.color.green, 0);
    // The external path is the boundary even when it comes second; the other is a hole.
    EXPECT_EQ(OutlineLastIndex(a->outline), 4);
    EXPECT_EQ(a->maxX, 10);
    EXPECT_EQ(a->lastHoleIndex, 0);
    EXPECT_EQ(doc->drawing->toolInput.outlineContourCount, 0);
}

// Settled: a hatch with an external path alone is the most common kind and is imported as an area.
TEST_F(DxfReaderTest, AHatchWithOnlyAnExternalPathIsAnArea) {
    ASSERT_TRUE(Import(DxfEntities(Hatch(1, {LinePath(1, {{0, 0}, {10, 0}, {10, 10}})}))));
    ASSERT_EQ(ListOf(doc->areaHead).size(), 1u);
    EXPECT_EQ(ListOf(doc->areaHead)[0]->lastHoleIndex, -1);
}

TEST_F(DxfReaderTest, HatchPathsThatGiveNoOutlineMakeNoAreaAndLeaveNothingBehind) {
    const DxfCodePairs circle = {{92, "1"}, {93, "1"}, {72, "2"},   {10, "5"}, {20, "5"},
                                 {40, "3"}, {50, "0"}, {51, "360"}, {73, "1"}, {97, "0"}};
    const struct {
        const char* what;
        DxfCodePairs hatch;
        size_t areas;
    } cases[] = {
        {"no paths", Hatch(0, {}), 0},
        {"an empty path", Hatch(1, {{{92, "1"}, {93, "0"}, {97, "0"}}}), 0},
        {"one line edge",
         Hatch(1, {{{92, "1"}, {93, "1"}, {72, "1"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}}), 0},
        {"a polyline path",
         Hatch(1, {{{92, "3"},
                    {72, "0"},
                    {73, "1"},
                    {93, "3"},
                    {10, "0"},
                    {20, "0"},
                    {10, "1"},
                    {20, "0"},
                    {10, "1"},
                    {20, "1"},
                    {97, "0"}}}),
         1},
        {"no external path: the first is the boundary", Hatch(1, {LinePath(0, {{0, 0}, {1, 0}, {1, 1}})}), 1},
        {"a value that is no number", Hatch(1, {LinePath(1, {{0, 0}, {1, 0}, {1, 1}})}), 0},
        {"a circle", Hatch(1, {circle}), 1},
    };
    for (const auto& c : cases) {
        DxfCodePairs pairs = c.hatch;
        if (std::string(c.what) == "a value that is no number") pairs[12].second = "nan";
        pairs.insert(pairs.end(), {{0, "LINE"}, {10, "1"}, {20, "1"}, {11, "2"}, {21, "2"}});
        ASSERT_TRUE(Import(DxfEntities(pairs))) << c.what;
        EXPECT_EQ(ListOf(doc->areaHead).size(), c.areas) << c.what;
        EXPECT_EQ(ListOf(doc->lineHead).size(), 1u) << c.what;
        EXPECT_EQ(doc->drawing->toolInput.outlineContourCount, 0) << c.what;
        EXPECT_EQ(doc->drawing->toolInput.outlineBlock == nullptr ||
                      OutlineLastIndex(doc->drawing->toolInput.outlineBlock) < 1,
                  true)
            << c.what;
        DisposeDocumentRecords(doc);
    }
}

TEST_F(DxfReaderTest, ColourNumbersGiveTheElementColourAndPen) {
    ASSERT_TRUE(Import(DxfEntities({{0, "LINE"},
                                    {62, "5"},
                                    {10, "0"},
                                    {20, "0"},
                                    {11, "1"},
                                    {21, "1"},
                                    {0, "LINE"},
                                    {62, "12"},
                                    {10, "0"},
                                    {20, "0"},
                                    {11, "1"},
                                    {21, "2"},
                                    {0, "LINE"},
                                    {62, "256"},
                                    {10, "0"},
                                    {20, "0"},
                                    {11, "1"},
                                    {21, "3"}})));
    auto lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->penBlock.color.blue, 65535);
    EXPECT_EQ(lines[0]->penBlock.color.red, 0);
    EXPECT_EQ(lines[0]->pen, 5);
    EXPECT_EQ(lines[1]->pen, 12 % 8 + 1);
    // By layer: black, the pen unchanged.
    EXPECT_EQ(lines[2]->penBlock.color.blue, 0);
}

TEST_F(DxfReaderTest, ThreeDimensionalKindsAreNotedOnceAndReportedAfterTheRead) {
    DxfCodePairs face = {{0, "3DFACE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}, {12, "1"}, {22, "1"}};
    ASSERT_TRUE(Import(DxfEntities(Cat({face, face, {{0, "BODY"}, {1, "LINE"}}, {{0, "LINE"}, {10, "1"}}}))));
    std::string log = Log();
    size_t first = log.find("DXF-in: 3DFACE ignored\r");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("DXF-in: 3DFACE ignored", first + 1), std::string::npos);
    EXPECT_NE(log.find("DXF-in: BODY ignored\r"), std::string::npos);
    EXPECT_EQ(ListOf(doc->lineHead).size(), 1u);
    EXPECT_TRUE(ListOf(doc->polylineHead).empty());
    EXPECT_EQ(Messages(), std::vector<int>{43});
}

// Nothing is lost without a word: every kind the drawing does not keep is named with its count in the
// log and in the one message after the read, with the elements dropped for values that are no numbers
// and the coordinates read as 0.
TEST_F(DxfReaderTest, EveryKindNotKeptIsCountedAndNamed) {
    DxfCodePairs pairs = {{0, "3DSOLID"}, {1, "x"},          {0, "3DSOLID"}, {0, "MESH"},        {0, "IMAGE"},
                          {0, "WIPEOUT"}, {0, "ACAD_TABLE"}, {0, "MLINE"},   {0, "PDFUNDERLAY"}, {0, "LINE"},
                          {10, "nan"},    {0, "LINE"},       {10, "1e300"},  {0, "POINT"}};
    ASSERT_TRUE(Import(DxfEntities(pairs)));
    EXPECT_EQ(ListOf(doc->lineHead).size(), 2u); // the line read as 0 and the point
    EXPECT_EQ(Messages(), std::vector<int>{43});
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    const std::string& shown = RecordedAlerts()[0].params[0];
    for (const char* part : {"3DSOLID 2", "MESH 1", "IMAGE 1", "WIPEOUT 1", "ACAD_TABLE 1", "MLINE 1",
                             "PDFUNDERLAY 1", "values that are no numbers 1", "beyond 1e20 (read as 0) 1"}) {
        EXPECT_NE(shown.find(part), std::string::npos) << part << " in " << shown;
        EXPECT_NE(Log().find(part), std::string::npos) << part;
    }
    EXPECT_EQ(shown.find("POINT"), std::string::npos);

    ASSERT_TRUE(Import(DxfEntities({{0, "POINT"}, {10, "1"}, {20, "2"}}), "clean.dxf"));
    EXPECT_EQ(RecordedAlerts().size(), 1u); // nothing more to say
}

// Coordinates come back exactly as the full conversion gives them, whatever their digits: short
// decimals take a quick path, longer ones and exponents the general one.
TEST_F(DxfReaderTest, CoordinatesConvertExactlyInEveryForm) {
    std::vector<std::string> values = {"0",
                                       "-0.5",
                                       "12.",
                                       "+3.25",
                                       "100000000000000",
                                       "1e3",
                                       "2.5E-3",
                                       "0.1",
                                       "123456.78901",
                                       "9007199254740993",
                                       "0.30000000000000004",
                                       "-1234567890.12345",
                                       "000012.5000"};
    unsigned seed = 99;
    for (int i = 0; i < 300; ++i) {
        seed = seed * 1664525u + 1013904223u;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", int(seed % 17), (double(seed % 2000000) - 1e6) / 7.0);
        values.push_back(buf);
    }
    DxfCodePairs pairs;
    for (size_t i = 0; i < values.size(); ++i)
        for (std::pair<int, std::string> p :
             DxfCodePairs{{0, "LINE"}, {8, "0"}, {10, values[i]}, {20, "0"}, {11, "1"}, {21, values[i]}})
            pairs.push_back(p);
    ASSERT_TRUE(Import(DxfEntities(pairs)));
    std::vector<LineRecord*> lines = ListOf(doc->lineHead);
    ASSERT_EQ(lines.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const double want = std::strtod(values[i].c_str(), nullptr);
        // The reader may put a line's ends in order: the value is at one end in x and one in y.
        const LineRecord* l = lines[i];
        EXPECT_TRUE(l->x1 == want || l->x2 == want) << values[i] << " read as " << l->x1 << ", " << l->x2;
        EXPECT_TRUE(l->y1 == want || l->y2 == want) << values[i] << " read as " << l->y1 << ", " << l->y2;
    }
}
