// The program's own DXF files, in every flavour, read back: lines, circles, arcs and polylines keep
// their geometry within the written precision, and nothing after a polyline's SEQEND is swallowed.
#include "DxfTestDrawing.h"

#include "Exchange/DxfReader.h"
#include "Model/PolylineGeometry.h"

#include <cmath>

namespace {

class DxfReadBackTest : public DxfDrawingTest {
  protected:
    DocWindowRecord* ReadBack(UInt16 flavour) {
        std::string raw = ExportRaw(flavour, "flavour" + std::to_string(flavour) + ".dxf");
        EXPECT_FALSE(raw.empty());
        FSRef file;
        EXPECT_EQ(FSMakeRef((folder + "/flavour" + std::to_string(flavour) + ".dxf").c_str(), &file), noErr);
        DocWindowRecord* read = nullptr;
        EXPECT_TRUE(ImportDXF(&read, &file));
        return read;
    }
    template <class T> static std::vector<T*> All(T* head) {
        std::vector<T*> v;
        for (T* e = head->next; e != nullptr; e = e->next)
            v.push_back(e);
        return v;
    }
};

} // namespace

TEST_F(DxfReadBackTest, GeometricKindsComeBackInEveryFlavour) {
    AddLine(doc, 1.25, 2.5, 100.125, -3);
    AddArc(doc, 50, 50, 10, 0, 360);
    AddArc(doc, -7.5, 3, 5.5, 10, 350);
    AddPolyline(0, {0, 0, 10, 0, 10, 10, 0, 12});
    // Drawn after the polyline, so a swallowed entity would show.
    AddLine(doc, 500, 500, 510, 520);
    for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
        SCOPED_TRACE(flavour);
        DocWindowRecord* read = ReadBack(flavour);
        ASSERT_NE(read, nullptr);
        std::vector<LineRecord*> lines = All(read->lineHead);
        std::vector<ArcRecord*> arcs = All(read->arcHead);
        std::vector<PolylineRecord*> polylines = All(read->polylineHead);
        // The polyline comes back as a polyline of its four points or as its three segments.
        size_t segments = polylines.empty() ? 3 : 0;
        ASSERT_EQ(lines.size(), 2 + segments);
        ASSERT_EQ(arcs.size(), 2u);
        auto line = [&](Float64 x) {
            for (LineRecord* l : lines)
                if (std::fabs(l->x1 - x) < 1e-6) return l;
            return static_cast<LineRecord*>(nullptr);
        };
        LineRecord* first = line(1.25);
        ASSERT_NE(first, nullptr);
        EXPECT_NEAR(first->y1, 2.5, 1e-8);
        EXPECT_NEAR(first->x2, 100.125, 1e-8);
        EXPECT_NEAR(first->y2, -3, 1e-8);
        LineRecord* last = line(500);
        ASSERT_NE(last, nullptr);
        EXPECT_NEAR(last->y2, 520, 1e-8);
        EXPECT_NEAR(arcs[0]->cx, 50, 1e-8);
        EXPECT_NEAR(arcs[0]->radius, 10, 1e-8);
        EXPECT_NEAR(arcs[0]->endAngle - arcs[0]->startAngle, 360, 1e-8);
        EXPECT_NEAR(arcs[1]->cx, -7.5, 1e-8);
        EXPECT_NEAR(arcs[1]->radius, 5.5, 1e-8);
        EXPECT_NEAR(arcs[1]->startAngle, 10, 1e-8);
        EXPECT_NEAR(arcs[1]->endAngle, 350, 1e-8);
        if (!polylines.empty()) {
            ASSERT_EQ(polylines.size(), 1u);
            ASSERT_EQ(polylines[0]->pointCount, 4);
            const Float64* p = reinterpret_cast<const Float64*>(*polylines[0]->points);
            EXPECT_NEAR(p[6], 0, 1e-8);
            EXPECT_NEAR(p[7], 12, 1e-8);
        }
        DisposeDocumentRecords(read);
    }
}

namespace {

std::vector<Float64> Stored(const PolylineRecord* p) {
    const Float64* xy = PolylinePoints(p);
    return xy ? std::vector<Float64>(xy, xy + 2 * p->pointCount) : std::vector<Float64>();
}

// The largest distance from a point of one drawn line to the other drawn line.
double Apart(const std::vector<Float64>& a, const std::vector<Float64>& b) {
    double worst = 0;
    for (size_t i = 0; i + 1 < a.size(); i += 2) {
        double best = 1e300;
        for (size_t k = 0; k + 3 < b.size(); k += 2) {
            double dx = b[k + 2] - b[k], dy = b[k + 3] - b[k + 1], len = dx * dx + dy * dy;
            double t =
                len > 0 ? std::clamp(((a[i] - b[k]) * dx + (a[i + 1] - b[k + 1]) * dy) / len, 0.0, 1.0) : 0;
            best = std::min(best, std::hypot(b[k] + t * dx - a[i], b[k + 1] + t * dy - a[i + 1]));
        }
        worst = std::max(worst, best);
    }
    return worst;
}

} // namespace

// Splines and curves go out in their true shape (SPLINE where the flavour has subclass markers,
// spline-fit and curve-fit polylines otherwise) and come back as the same curve.
TEST_F(DxfReadBackTest, SplinesAndCurvesComeBackInTheirShape) {
    PolylineRecord* spline = AddPolyline(kPolylineSpline, {0, 0, 10, 20, 30, 20, 40, 0, 60, 10});
    PolylineRecord* curve = AddPolyline(kPolylineCurve, {100, 0, 110, 20, 130, 20, 140, 0, 160, 10});
    std::vector<Float64> splineDrawn, curveDrawn;
    SmoothPolylinePoints(spline, &splineDrawn);
    SmoothPolylinePoints(curve, &curveDrawn);
    for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
        SCOPED_TRACE(flavour);
        WrittenPairs p = ParseDxfPairs(ExportRaw(flavour, "curves.dxf"));
        EXPECT_EQ(p.Count("0", "SPLINE"), flavour >= 2 ? 2 : 0);
        DocWindowRecord* read = ReadBack(flavour);
        ASSERT_NE(read, nullptr);
        std::vector<PolylineRecord*> polylines = All(read->polylineHead);
        ASSERT_EQ(polylines.size(), 2u);
        EXPECT_EQ(polylines[0]->kind, kPolylineSpline);
        std::vector<Float64> frame = Stored(polylines[0]), given = Stored(spline);
        ASSERT_EQ(frame.size(), given.size());
        for (size_t i = 0; i < frame.size(); ++i)
            EXPECT_NEAR(frame[i], given[i], 1e-8);
        std::vector<Float64> back;
        SmoothPolylinePoints(polylines[1], &back);
        // within 0.1 % of the curve's size (60), the chords of its drawing included
        EXPECT_LT(Apart(curveDrawn, back), 0.06);
        EXPECT_LT(Apart(back, curveDrawn), 0.06);
        DisposeDocumentRecords(read);
    }
}
