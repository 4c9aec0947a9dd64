// The program's own DXF files, in every flavour, read back: lines, circles, arcs and polylines keep
// their geometry within the written precision, and nothing after a polyline's SEQEND is swallowed.
#include "DxfTestDrawing.h"

#include "Exchange/DxfReader.h"

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
