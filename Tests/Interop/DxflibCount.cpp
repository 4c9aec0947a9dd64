// Reads a DXF file with dxflib and prints the counts of the entities it reports, by kind, in the
// form of the ezdxf check: "<file> KIND=count ...". Exit status 1 when dxflib cannot read the file.
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

class Counter : public DL_CreationAdapter {
  public:
    std::map<std::string, int> counts;
    void addLine(const DL_LineData&) override { ++counts["LINE"]; }
    void addArc(const DL_ArcData&) override { ++counts["ARC"]; }
    void addCircle(const DL_CircleData&) override { ++counts["CIRCLE"]; }
    void addText(const DL_TextData&) override { ++counts["TEXT"]; }
    void addInsert(const DL_InsertData&) override { ++counts["INSERT"]; }
    void addPolyline(const DL_PolylineData&) override { ++counts["POLYLINE"]; }
    void addVertex(const DL_VertexData&) override { ++counts["VERTEX"]; }
    void addSolid(const DL_SolidData&) override { ++counts["SOLID"]; }
    void addPoint(const DL_PointData&) override { ++counts["POINT"]; }
    void addSpline(const DL_SplineData&) override { ++counts["SPLINE"]; }
    void addDimAlign(const DL_DimensionData&, const DL_DimAlignedData&) override { ++counts["DIMENSION"]; }
    void addDimLinear(const DL_DimensionData&, const DL_DimLinearData&) override { ++counts["DIMENSION"]; }
    void addDimRadial(const DL_DimensionData&, const DL_DimRadialData&) override { ++counts["DIMENSION"]; }
    void addDimDiametric(const DL_DimensionData&, const DL_DimDiametricData&) override {
        ++counts["DIMENSION"];
    }
    void addDimAngular(const DL_DimensionData&, const DL_DimAngular2LData&) override {
        ++counts["DIMENSION"];
    }
    void addDimAngular3P(const DL_DimensionData&, const DL_DimAngular3PData&) override {
        ++counts["DIMENSION"];
    }
    void addDimOrdinate(const DL_DimensionData&, const DL_DimOrdinateData&) override {
        ++counts["DIMENSION"];
    }
};

} // namespace

int main(int argc, char** argv) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        Counter counter;
        DL_Dxf dxf;
        if (!dxf.in(argv[i], &counter)) {
            std::printf("%s READ-ERROR\n", argv[i]);
            status = 1;
            continue;
        }
        std::string line = argv[i];
        for (const auto& [kind, n] : counter.counts)
            line += " " + kind + "=" + std::to_string(n);
        std::printf("%s\n", line.c_str());
    }
    return status;
}
