// Reference scenes: each scene file under Fixtures/View describes a view and its elements; the window
// update must make the draw calls of its .calls file and the pixels of its .png file. Every render is
// written to the test output folder to look at; a failing one also writes its calls and a difference
// image there. DW_UPDATE_VIEW_REFERENCES=1 rewrites the references from the current renders.
#include "ReferenceSceneLoader.h"
#include "ViewTestSupport.h"
#include "Platform/PortImages.h"
#include "Platform/QuickDraw.h"
#include "Platform/Windows.h"
#include "View/ElementDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

class ReferenceScenes : public ViewWindowTest {
  protected:
    static std::string Listing(const std::vector<DrawCall>& calls) {
        static const char* names[] = {"line", "styled", "polyline", "arc", "triangle",
                                      "disc", "mask",   "text",     "xor"};
        static const int counts[] = {4, 4, 0, 5, 6, 3, 8, 5, 4};
        std::string out;
        char buf[128];
        for (const DrawCall& c : calls) {
            int k = int(c.kind);
            out += names[k];
            for (int i = 0; i < counts[k]; ++i) {
                std::snprintf(buf, sizeof buf, " %.2f", c.v[i] + 0.0);
                out += buf;
            }
            std::snprintf(buf, sizeof buf, " rgb=%02x%02x%02x w=%.2f s=%d", c.colour.red >> 8,
                          c.colour.green >> 8, c.colour.blue >> 8, c.width, c.style);
            out += buf;
            if (c.alpha != 1) out += " a=0.5";
            if (c.kind == DrawCallKind::styledLine || c.kind == DrawCallKind::polyline) {
                std::snprintf(buf, sizeof buf, " phase=%.2f", c.phase);
                out += buf;
            }
            if (c.kind == DrawCallKind::polyline) {
                std::snprintf(buf, sizeof buf, " points=%zu from %.2f %.2f to %.2f %.2f", c.points.size() / 2,
                              c.points[0], c.points[1], c.points[c.points.size() - 2], c.points.back());
                out += buf;
            }
            if (!c.text.empty()) out += " \"" + c.text + "\"";
            out += "\n";
        }
        return out;
    }

    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    void Check(const std::string& name) {
        LoadReferenceScene(doc, FixturePath("View/" + name + ".scene"),
                           [this](SInt16 width, SInt16 height) { UseViewSize(width, height); });
        DrawRecorder recorder;
        UpdateViewExtent(doc, true);
        std::string calls = Listing(recorder.calls);
        std::string render = SaveWindowPNG(window, name + ".png");
        std::string callsPath = FixturePath("View/" + name + ".calls");
        std::string pngPath = FixturePath("View/" + name + ".png");
        if (std::getenv("DW_UPDATE_VIEW_REFERENCES")) {
            std::ofstream(callsPath) << calls;
            ASSERT_TRUE(SavePortAsPNG(GetWindowPort(window), pngPath.c_str()));
            return;
        }
        if (calls != ReadAll(callsPath)) {
            std::ofstream(TestOutputPath(name + ".actual.calls")) << calls;
            ADD_FAILURE() << name << ": the draw calls differ from " << callsPath << "; see "
                          << TestOutputPath(name + ".actual.calls");
        }
        std::string diff = TestOutputPath(name + ".diff.png");
        long differing = ComparePortWithPNG(GetWindowPort(window), pngPath.c_str(), diff.c_str());
        EXPECT_EQ(differing, 0) << name << ": pixels differ from " << pngPath << "; render " << render
                                << ", difference " << diff;
    }
};

} // namespace

TEST_F(ReferenceScenes, LinesStylesAndEndMarks) {
    Check("lines");
}

TEST_F(ReferenceScenes, CirclesAndArcs) {
    Check("arcs");
}

TEST_F(ReferenceScenes, TextsFramesAndLeaders) {
    Check("texts");
}

TEST_F(ReferenceScenes, PolylinesOfEveryKind) {
    Check("polylines");
}

TEST_F(ReferenceScenes, OrthogonalAndTurnedGrids) {
    Check("grid");
}

TEST_F(ReferenceScenes, TurnedGrid) {
    Check("grid-turned");
}

TEST_F(ReferenceScenes, RasterImagesUnderTheLines) {
    InstallViewDrawingHooks();
    Check("images");
}

TEST_F(ReferenceScenes, SymbolInstances) {
    Check("symbols");
}

TEST_F(ReferenceScenes, HatchedAndFilledAreas) {
    InstallViewDrawingHooks();
    Check("areas");
}

TEST_F(ReferenceScenes, DimensionsOfEveryKind) {
    Check("dimensions");
}
