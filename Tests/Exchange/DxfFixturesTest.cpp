// Files written by another program (ezdxf, scripts/make-dxf-fixtures.py) in R12 and R2000, with
// their header, tables, blocks and objects, read with the right geometry.
#include "DxfReaderTestSupport.h"

#include "Model/Dimensions.h"
#include "Model/ElementRecords.h"
#include "TestSupport.h"

#include <cmath>

namespace {

using P = std::pair<double, double>;

template <class T, class Pred> T* Find(T* head, Pred pred) {
    for (T* e : ListOf(head))
        if (pred(e)) return e;
    return nullptr;
}

LineRecord* LineFrom(DocWindowRecord* doc, double x, double y) {
    return Find(doc->lineHead, [&](LineRecord* l) {
        return (std::fabs(l->x1 - x) < 1e-9 && std::fabs(l->y1 - y) < 1e-9) ||
               (std::fabs(l->x2 - x) < 1e-9 && std::fabs(l->y2 - y) < 1e-9);
    });
}

ArcRecord* ArcAt(DocWindowRecord* doc, double cx, double cy) {
    return Find(doc->arcHead,
                [&](ArcRecord* a) { return std::fabs(a->cx - cx) < 1e-9 && std::fabs(a->cy - cy) < 1e-9; });
}

PolylineRecord* PolylineStarting(DocWindowRecord* doc, double x, double y) {
    return Find(doc->polylineHead, [&](PolylineRecord* p) {
        auto pts = PointsOf(p);
        return !pts.empty() && std::fabs(pts[0].first - x) < 1e-9 && std::fabs(pts[0].second - y) < 1e-9;
    });
}

void ExpectArc(const ArcRecord* a, double r, double start, double end) {
    ASSERT_NE(a, nullptr);
    EXPECT_NEAR(a->radius, r, 1e-9);
    EXPECT_NEAR(a->startAngle, start, 1e-9);
    EXPECT_NEAR(a->endAngle, end, 1e-9);
}

// What both versions hold.
void ExpectCommonEntities(DocWindowRecord* doc) {
    // The point: a line of no length with a dot at its end.
    LineRecord* point = LineFrom(doc, 50, 50);
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->x2, 50);
    EXPECT_EQ(point->y2, 50);
    EXPECT_EQ(LineEndMarkKind(point->flags), 2);

    LineRecord* line = LineFrom(doc, 1, 2);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->x2, 11);
    EXPECT_EQ(line->y2, 7);
    EXPECT_EQ(line->penBlock.color.red, 65535);
    EXPECT_EQ(line->penBlock.color.blue, 0);

    ArcRecord* circle = ArcAt(doc, 20, 5);
    ExpectArc(circle, 4, 0, 360);
    EXPECT_EQ(circle->penBlock.color.blue, 65535);
    ExpectArc(ArcAt(doc, 30, 5), 3, 0, 90);
    ExpectArc(ArcAt(doc, -30, 15), 3, 90, 180); // seen from below
    // The bulge of the third polyline: a half circle below its first segment, then a line.
    ArcRecord* bulge = ArcAt(doc, 55, 0);
    ASSERT_NE(bulge, nullptr);
    EXPECT_NEAR(bulge->radius, 5, 1e-9);
    EXPECT_NEAR(bulge->startAngle, 180, 1e-9);
    EXPECT_NEAR(std::fmod(bulge->endAngle, 360), 0, 1e-9);
    ASSERT_NE(LineFrom(doc, 60, 10), nullptr);

    PolylineRecord* solid = PolylineStarting(doc, 0, 20);
    ASSERT_NE(solid, nullptr);
    EXPECT_EQ(PointsOf(solid), (std::vector<P>{{0, 20}, {4, 20}, {4, 23}, {0, 23}, {0, 20}}));
    PolylineRecord* trace = PolylineStarting(doc, 10, 20);
    ASSERT_NE(trace, nullptr);
    EXPECT_EQ(PointsOf(trace), (std::vector<P>{{10, 20}, {14, 20}, {14, 23}, {10, 23}, {10, 20}}));
    PolylineRecord* open = PolylineStarting(doc, 40, 0);
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->kind, kPolylineSegments);
    EXPECT_EQ(PointsOf(open), (std::vector<P>{{40, 0}, {44, 0}, {44, 3}, {48, 3}}));
    PolylineRecord* closed = PolylineStarting(doc, 40, 10);
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(PointsOf(closed), (std::vector<P>{{40, 10}, {44, 10}, {44, 13}, {40, 10}}));
}

} // namespace

TEST_F(DxfReaderTest, AnR12FileOfAnotherProgram) {
    ASSERT_TRUE(ImportFile(FixturePath("Dxf/entities-R12.dxf")));
    ExpectCommonEntities(doc);
    EXPECT_EQ(ListOf(doc->lineHead).size(), 3u); // the point among them
    EXPECT_EQ(ListOf(doc->arcHead).size(), 4u);
    EXPECT_EQ(ListOf(doc->polylineHead).size(), 4u);
    EXPECT_TRUE(ListOf(doc->areaHead).empty());
    EXPECT_NE(Log().find("DXF-in: 3DFACE ignored"), std::string::npos);
    EXPECT_EQ(Log().find("unknown groupcode"), std::string::npos) << Log();
    EXPECT_EQ(Messages(), std::vector<int>{43});
}

TEST_F(DxfReaderTest, AnR2000FileOfAnotherProgram) {
    ASSERT_TRUE(ImportFile(FixturePath("Dxf/entities-R2000.dxf")));
    ExpectCommonEntities(doc);
    EXPECT_EQ(ListOf(doc->lineHead).size(), 8u);
    EXPECT_EQ(ListOf(doc->arcHead).size(), 5u);
    EXPECT_EQ(ListOf(doc->polylineHead).size(), 6u);

    // The closed light-weight polyline: three lines and the bulge arc on its right-hand side.
    ExpectArc(ArcAt(doc, 10, 35), 5, 270, 90);
    ASSERT_NE(LineFrom(doc, 0, 30), nullptr);
    ASSERT_NE(LineFrom(doc, 0, 40), nullptr);

    PolylineRecord* ellipse = PolylineStarting(doc, 60, -5);
    ASSERT_NE(ellipse, nullptr);
    EXPECT_EQ(ellipse->kind, kPolylineEllipse);
    EXPECT_EQ(PointsOf(ellipse), (std::vector<P>{{60, -5}, {80, -5}, {80, 5}, {60, 5}}));
    EXPECT_NEAR(ellipse->params[0], 0, 1e-9);
    EXPECT_NEAR(ellipse->params[1], 180, 1e-9);

    PolylineRecord* spline = PolylineStarting(doc, 80, 0);
    ASSERT_NE(spline, nullptr);
    EXPECT_EQ(spline->kind, kPolylineCurve);
    EXPECT_EQ(PointsOf(spline), (std::vector<P>{{80, 0}, {82, 3}, {85, 1}, {88, 4}}));

    LineRecord* ray = LineFrom(doc, 90, 0);
    ASSERT_NE(ray, nullptr);
    EXPECT_NEAR(ray->x2, 90 + std::sqrt(0.5), 1e-9);
    EXPECT_EQ(ray->flags & (kLineOpenStart | kLineOpenEnd), kLineOpenEnd);
    LineRecord* xline = LineFrom(doc, 95, 0);
    ASSERT_NE(xline, nullptr);
    EXPECT_EQ(xline->flags & (kLineOpenStart | kLineOpenEnd), kLineOpenStart | kLineOpenEnd);

    auto areas = ListOf(doc->areaHead);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[0]->minX, 100);
    EXPECT_EQ(areas[0]->maxX, 110);
    EXPECT_EQ(areas[0]->maxY, 10);
    EXPECT_EQ(areas[0]->lastHoleIndex, 0);
    EXPECT_EQ(areas[0]->penBlock.color.green, 65535);
    EXPECT_EQ(areas[0]->penBlock.color.red, 0);
    // A hatch with its external path alone (a half disc of radius 5) is an area too.
    EXPECT_NEAR(areas[1]->minX, 115, 1e-9);
    EXPECT_NEAR(areas[1]->maxX, 125, 1e-9);
    EXPECT_NEAR(areas[1]->minY, 0, 1e-9);
    EXPECT_NEAR(areas[1]->maxY, 5, 0.1); // chords within the drawing's tolerance
    EXPECT_EQ(areas[1]->lastHoleIndex, -1);
    EXPECT_EQ(areas[1]->penBlock.color.blue, 65535);

    EXPECT_EQ(Messages(), (std::vector<int>{43, 59}));
}

// Layers with their line types, texts, blocks with a nested insert, and dimensions, in both versions.
TEST_F(DxfReaderTest, AnnotationFixturesGiveLayersTextsInsertsAndDimensions) {
    for (const char* version : {"R12", "R2000"}) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(ImportFile(FixturePath(std::string("Dxf/annotations-") + version + ".dxf")));
        auto name = [](ConstStr255Param s) {
            return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
        };
        LineRecord* wall = LineFrom(doc, 10, 0);
        ASSERT_NE(wall, nullptr);
        EXPECT_EQ(name(doc->layerNames->names[wall->layer]), "WALLS");
        EXPECT_EQ(wall->lineType, 2); // dashed
        EXPECT_EQ(doc->layerColors->colors[wall->layer].red, 65535);

        TextRecord* plain = Find(doc->textHead, [&](TextRecord* t) { return name(t->text) == "Plain"; });
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(name(doc->layerNames->names[plain->layer]), "NOTES");
        EXPECT_NEAR(plain->x, 1, 1e-9);
        EXPECT_NEAR(plain->y, 2, 1e-9);
        EXPECT_DOUBLE_EQ(plain->textHeight, 2.5);
        TextRecord* centred = Find(doc->textHead, [&](TextRecord* t) { return name(t->text) == "Centred"; });
        ASSERT_NE(centred, nullptr);
        EXPECT_EQ(centred->justification, 4);
        EXPECT_NEAR(centred->x, 20, 1e-9);
        EXPECT_NEAR(centred->y, 10, 1e-9);
        EXPECT_NEAR(centred->angle, 30, 1e-9);
        if (std::string(version) == "R2000") {
            TextRecord* m =
                Find(doc->textHead, [&](TextRecord* t) { return name(t->text).rfind("First", 0) == 0; });
            ASSERT_NE(m, nullptr);
            EXPECT_NE(name(m->text).find("second line"), std::string::npos);
            EXPECT_EQ(m->justification, 4);
            EXPECT_NEAR(m->angle, 90, 1e-9);
            EXPECT_DOUBLE_EQ(m->textHeight, 2);
        }

        SymbolInstanceRecord* inner = nullptr;
        std::vector<SymbolInstanceRecord*> placed = ListOf(doc->instanceHead);
        for (SymbolInstanceRecord* s : placed)
            if (name(s->definition->name) == "INNER" && std::fabs(s->x - 100) < 1e-9) inner = s;
        ASSERT_NE(inner, nullptr);
        EXPECT_NEAR(inner->y, 50, 1e-9);
        EXPECT_NEAR(inner->angle, 45, 1e-9);
        EXPECT_NEAR(inner->xScale, 2, 1e-9);
        EXPECT_NEAR(inner->yScale, 3, 1e-9);
        EXPECT_EQ(ListOf(inner->definition->lineHead).size(), 1u);
        EXPECT_EQ(ListOf(inner->definition->arcHead).size(), 1u);
        // OUTER at (200, 0) about its base (10, 0): INNER nested at (20, 0) lands at (210, 0), turned
        SymbolInstanceRecord* nested = nullptr;
        for (SymbolInstanceRecord* s : placed)
            if (name(s->definition->name) == "INNER" && std::fabs(s->x - 210) < 1e-9) nested = s;
        ASSERT_NE(nested, nullptr);
        EXPECT_NEAR(nested->y, 0, 1e-9);
        EXPECT_NEAR(nested->angle, 90, 1e-9);
        SymbolDefRecord* outer = nullptr;
        for (SymbolInstanceRecord* s : placed)
            if (name(s->definition->name) == "OUTER") outer = s->definition;
        ASSERT_NE(outer, nullptr);
        ASSERT_EQ(ListOf(outer->arcHead).size(), 1u);
        EXPECT_NEAR(outer->arcHead->next->cx, 0, 1e-9);
        EXPECT_NEAR(outer->maxY, 4, 1e-9); // the arc passes 90 degrees

        std::vector<DimensionRecord*> dims = ListOf(doc->dimensionHead);
        ASSERT_EQ(dims.size(), 2u);
        EXPECT_EQ(dims[0]->kind, 0);
        EXPECT_NEAR(MeasureDimension(doc, dims[0]), 30, 1e-9);
        EXPECT_EQ(dims[1]->kind, 4);
        EXPECT_NEAR(MeasureDimension(doc, dims[1]), 10, 1e-9);
        // the dimensions' own blocks went with their native dimensions
        for (SymbolDefRecord* d : ListOf(doc->symbolDefHead))
            EXPECT_NE(name(d->name).rfind("*D", 0), 0u) << name(d->name);
        DisposeDocumentRecords(doc);
    }
}
