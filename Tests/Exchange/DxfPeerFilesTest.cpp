// Files written by another program in every version from R12 to R2018 (Tests/Interop/make_dxf_cases.py,
// ezdxf, run at test time): what each feature must bring into the drawing, version by version, and
// splines that stay on ezdxf's own evaluation of them.
#include "DxfReaderTestSupport.h"

#include "GuiHarness.h"
#include "Model/ElementRecords.h"
#include "Model/PolylineGeometry.h"
#include "TestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace {

const char* const kVersions[] = {"R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"};
const std::string kText = "Grüße Łódź Ωμέγα Привет 中文 15°";

std::string CasesFolder() {
    return TestOutputPath("dxf-peer-cases");
}

class DxfPeerFilesTest : public DxfReaderTest {
  protected:
    static bool made;
    static void SetUpTestSuite() {
#if defined(DW_PYTHON)
        std::string command = std::string(DW_PYTHON) + " " + DW_FIXTURE_DIR +
                              "/../Interop/make_dxf_cases.py " + CasesFolder() + " 2>&1";
        made = std::system(command.c_str()) == 0;
#endif
    }
    // Texts are measured, which takes the application.
    void SetUp() override {
        GuiTestSetUp();
        DxfReaderTest::SetUp();
        if (!made) GTEST_SKIP() << "python3-ezdxf not installed (scripts/ensure-packages.sh)";
    }
    void TearDown() override {
        DxfReaderTest::TearDown();
        GuiTestTearDown();
    }
    template <class T, class Pred> static T* Find(T* head, Pred pred) {
        for (T* e : ListOf(head))
            if (pred(e)) return e;
        return nullptr;
    }
    static std::string Text(const TextRecord* t) {
        return std::string(reinterpret_cast<const char*>(t->text + 1), t->text[0]);
    }
};
bool DxfPeerFilesTest::made = false;

struct Feature {
    const char* what;
    int fromVersion; // index into kVersions
    std::function<void(DxfPeerFilesTest*, DocWindowRecord*, const std::string& log)> check;
};

std::string LayerName(DocWindowRecord* doc, int n) {
    const UInt8* s = doc->layerNames->names[n];
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

} // namespace

TEST_F(DxfPeerFilesTest, EveryVersionBringsWhatItHolds) {
    using T = DxfPeerFilesTest;
    const Feature features[] = {
        {"a text with characters of five scripts", 0,
         [](T*, DocWindowRecord* doc, const std::string&) {
             EXPECT_NE(Find(doc->textHead, [](TextRecord* t) { return Text(t) == kText; }), nullptr);
         }},
        {"layer names in Mac Roman, a character it lacks marked and logged", 0,
         [](T*, DocWindowRecord* doc, const std::string& log) {
             std::vector<std::string> names;
             for (int n = 0; n < 8; ++n)
                 names.push_back(LayerName(doc, n));
             EXPECT_NE(std::find(names.begin(), names.end(),
                                 "W\x8A"
                                 "nde"),
                       names.end());
             EXPECT_NE(std::find(names.begin(), names.end(), "?????"), names.end());
             // the log is Mac Roman too: the name's characters stand there as escapes
             EXPECT_NE(log.find("layer name \\U+0421\\U+0442\\U+0435\\U+043D\\U+044B has"), std::string::npos)
                 << log;
             EXPECT_EQ(log.find("layer name W"), std::string::npos) << "a name Mac Roman keeps is not logged";
         }},
        {"a point", 0,
         [](T*, DocWindowRecord* doc, const std::string&) {
             EXPECT_NE(
                 Find(doc->lineHead,
                      [](LineRecord* l) { return l->x1 == 5 && l->x2 == 5 && l->y1 == 5 && l->y2 == 5; }),
                 nullptr);
         }},
        {"an aligned text across its span", 0,
         [](T*, DocWindowRecord* doc, const std::string&) {
             TextRecord* t = Find(doc->textHead, [](TextRecord* e) { return Text(e) == "OBLIQUE"; });
             ASSERT_NE(t, nullptr);
             EXPECT_NEAR(t->corners[0], 10, 1e-6);
             EXPECT_NEAR(t->corners[1], 20, 1e-6);
             EXPECT_NEAR(t->corners[2], 34, 1e-6);
             EXPECT_NEAR(t->corners[3], 38, 1e-6);
         }},
        {"an MTEXT as its plain text and line breaks", 1,
         [](T*, DocWindowRecord* doc, const std::string&) {
             std::string all;
             for (TextRecord* t : ListOf(doc->textHead))
                 all += Text(t) + "|";
             EXPECT_NE(all.find("Bold text"), std::string::npos) << all;
             EXPECT_NE(all.find("second 1/2 ±0.1"), std::string::npos) << all;
             EXPECT_EQ(all.find('\\'), std::string::npos) << all;
         }},
        {"a hatch bounded by polylines with a bulge and a hole, and a solid fill", 1,
         [](T*, DocWindowRecord* doc, const std::string&) {
             auto areas = ListOf(doc->areaHead);
             ASSERT_EQ(areas.size(), 5u);
             AreaRecord* holed = Find(doc->areaHead, [](AreaRecord* a) { return a->minX == 400; });
             ASSERT_NE(holed, nullptr);
             EXPECT_NEAR(holed->maxX, 460, 0.5); // the half circle of the bulge
             EXPECT_NEAR(holed->minX, 400, 1e-9);
             EXPECT_EQ(holed->lastHoleIndex, 0);
             EXPECT_NE(Find(doc->areaHead, [](AreaRecord* a) { return a->fillKind == 1; }), nullptr);
         }},
        {"a hole with an island in it, by hatch style", 1,
         [](T*, DocWindowRecord* doc, const std::string&) {
             // nested: hole and island, filled by parity; outer: the hole alone; ignore: neither
             const std::pair<Float64, SInt16> styles[] = {{560, 1}, {660, 0}, {760, -1}};
             for (auto [minX, lastHole] : styles) {
                 AreaRecord* a = Find(doc->areaHead, [&](AreaRecord* e) { return e->minX == minX; });
                 ASSERT_NE(a, nullptr) << minX;
                 EXPECT_EQ(a->maxX, minX + 80);
                 EXPECT_EQ(a->lastHoleIndex, lastHole) << minX;
             }
         }},
        {"a true colour", 2,
         [](T*, DocWindowRecord* doc, const std::string&) {
             LineRecord* l = Find(doc->lineHead, [](LineRecord* e) { return e->y1 == -60; });
             ASSERT_NE(l, nullptr);
             EXPECT_EQ(l->penBlock.color.red, 0x1212);
             EXPECT_EQ(l->penBlock.color.green, 0x3434);
             EXPECT_EQ(l->penBlock.color.blue, 0x5656);
         }},
    };
    for (int v = 0; v < int(std::size(kVersions)); ++v) {
        SCOPED_TRACE(kVersions[v]);
        ASSERT_TRUE(ImportFile(CasesFolder() + "/" + kVersions[v] + ".dxf"));
        std::string log = Log();
        EXPECT_EQ(log.find("unknown groupcode"), std::string::npos) << log;
        for (const Feature& f : features) {
            SCOPED_TRACE(f.what);
            if (v >= f.fromVersion) f.check(this, doc, log);
        }
        DisposeDocumentRecords(doc);
    }
}

// A spline given by control points, knots and weights is drawn within 0.1 % of its size of the
// curve ezdxf evaluates from the same file.
TEST_F(DxfPeerFilesTest, SplinesStayOnTheirTrueCurve) {
    for (int v = 1; v < int(std::size(kVersions)); ++v) {
        SCOPED_TRACE(kVersions[v]);
        std::string path = CasesFolder() + "/" + kVersions[v] + ".dxf";
        std::map<int, std::vector<std::pair<double, double>>> truth;
        std::ifstream in(path + ".splines");
        int number;
        double x, y;
        while (in >> number >> x >> y)
            truth[number].push_back({x, y});
        ASSERT_EQ(truth.size(), 4u);
        ASSERT_TRUE(ImportFile(path));
        for (const auto& [n, points] : truth) {
            SCOPED_TRACE(n);
            PolylineRecord* p = Find(doc->polylineHead, [&](PolylineRecord* e) {
                auto pts = PointsOf(e);
                return !pts.empty() &&
                       std::hypot(pts[0].first - points[0].first, pts[0].second - points[0].second) < 1e-6;
            });
            ASSERT_NE(p, nullptr);
            std::vector<Float64> drawn;
            SmoothPolylinePoints(p, &drawn);
            double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
            for (auto [px, py] : points)
                minX = std::min(minX, px), minY = std::min(minY, py), maxX = std::max(maxX, px),
                maxY = std::max(maxY, py);
            double tolerance = 0.001 * std::hypot(maxX - minX, maxY - minY), worst = 0;
            // Every true point lies near the drawn curve, and every drawn point near the true one.
            auto distanceTo = [](double px, double py, const std::vector<Float64>& xy) {
                double best = 1e300;
                for (size_t i = 0; i + 3 < xy.size(); i += 2) {
                    double ax = xy[i], ay = xy[i + 1], bx = xy[i + 2], by = xy[i + 3];
                    double dx = bx - ax, dy = by - ay, len = dx * dx + dy * dy;
                    double t = len > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len, 0.0, 1.0) : 0.0;
                    best = std::min(best, std::hypot(ax + t * dx - px, ay + t * dy - py));
                }
                return best;
            };
            std::vector<Float64> trueXY;
            for (auto [px, py] : points)
                trueXY.push_back(px), trueXY.push_back(py);
            for (auto [px, py] : points)
                worst = std::max(worst, distanceTo(px, py, drawn));
            for (size_t i = 0; i + 1 < drawn.size(); i += 2)
                worst = std::max(worst, distanceTo(drawn[i], drawn[i + 1], trueXY));
            EXPECT_LE(worst, tolerance);
        }
        DisposeDocumentRecords(doc);
    }
}
