// Our DXF read back by our own reader, in every flavour: the kinds both sides know come back with the
// same geometry within the written precision. (Layers, line types, texts, inserts and dimensions join
// when the reader takes the tables, blocks and those entities.)
#include "DxfTestDrawing.h"

#include "Exchange/DxfReader.h"
#include "Model/NewDocument.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class DxfRoundTripTest : public DxfDrawingTest {
  protected:
    DocWindowRecord* ReadBack(UInt16 flavour) {
        std::string raw = ExportRaw(flavour, "trip.dxf");
        if (raw.empty()) return nullptr;
        FSRef file;
        FSMakeRef((folder + "/trip.dxf").c_str(), &file);
        DocWindowRecord* read = nullptr;
        if (!ImportDXF(&read, &file)) return nullptr;
        return read;
    }
};

template <class T> std::vector<T*> Elements(T* head) {
    std::vector<T*> v;
    for (T* e = head ? head->next : nullptr; e; e = e->next)
        v.push_back(e);
    return v;
}

TEST_F(DxfRoundTripTest, GeometryComesBackByKindAndFlavour) {
    AddLine(doc, 1.25, -2.5, 100.125, 33.0);
    AddLine(doc, 0, 0, 1.0 / 3.0, 2.0 / 3.0);
    AddArc(doc, 50, 50, 10, 0, 360);
    AddArc(doc, -5, 7, 2.5, 10, 350);
    AddPolyline(0, {0, 0, 10, 0, 10, 10, 0, 10});
    AddPolyline(11, {300, 0, 340, 0, 340, 20, 300, 20}, 0, 90);
    AddPolyline(12, {400, 0, 440, 0, 440, 20, 400, 20}, 5);
    const double eps = 1e-7; // eight decimals are written
    for (UInt16 flavour = 0; flavour <= 3; ++flavour) {
        SCOPED_TRACE(flavour);
        DocWindowRecord* read = ReadBack(flavour);
        ASSERT_NE(read, nullptr);
        // the rounded box comes back as its four sides and four corner arcs
        std::vector<LineRecord*> lines = Elements(read->lineHead);
        std::vector<ArcRecord*> arcs = Elements(read->arcHead);
        std::vector<PolylineRecord*> polylines = Elements(read->polylineHead);
        ASSERT_EQ(lines.size(), 2u + 4u);
        ASSERT_EQ(arcs.size(), 2u + 4u);
        ASSERT_EQ(polylines.size(), 2u);
        EXPECT_NEAR(lines[0]->x1, 1.25, eps);
        EXPECT_NEAR(lines[0]->y1, -2.5, eps);
        EXPECT_NEAR(lines[0]->x2, 100.125, eps);
        EXPECT_NEAR(lines[0]->y2, 33.0, eps);
        EXPECT_NEAR(lines[1]->x2, 1.0 / 3.0, eps);
        EXPECT_NEAR(lines[1]->y2, 2.0 / 3.0, eps);
        EXPECT_NEAR(arcs[0]->radius, 10, eps);
        EXPECT_NEAR(arcs[0]->endAngle - arcs[0]->startAngle, 360, eps);
        EXPECT_NEAR(arcs[1]->cx, -5, eps);
        EXPECT_NEAR(arcs[1]->startAngle, 10, eps);
        EXPECT_NEAR(arcs[1]->endAngle, 350, eps);
        const Float64* p = reinterpret_cast<const Float64*>(*polylines[0]->points);
        ASSERT_EQ(polylines[0]->pointCount, 4);
        EXPECT_NEAR(p[4], 10, eps);
        EXPECT_NEAR(p[5], 10, eps);
        // the ellipse quarter as its vertices: from the end of the first axis to the end of the second
        ASSERT_EQ(polylines[1]->pointCount, 181);
        const Float64* q = reinterpret_cast<const Float64*>(*polylines[1]->points);
        EXPECT_NEAR(q[0], 340, eps);
        EXPECT_NEAR(q[1], 10, eps);
        EXPECT_NEAR(q[2 * 180], 320, eps);
        EXPECT_NEAR(q[2 * 180 + 1], 20, eps);
        DisposeDocumentRecords(read);
    }
}

} // namespace
