// The view's reference scenes written as PDF and rasterized by pdftoppm must show what the screen
// shows: the same ink, to a pixel, against the same reference pictures. The two renderers smooth
// edges differently, so dark-pixel masks are compared, each against the other grown by one pixel.
#include "FilesFixture.h"
#include "ReferenceSceneLoader.h"
#include "TestSupport.h"

#include "Files/PdfOutput.h"
#include "Platform/CGContext.h"
#include "View/ElementDrawing.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Where the width x height pixels (from the top left of the image) are not near white.
std::vector<bool> InkMask(const std::string& pngPath, size_t width, size_t height) {
    CGImageRef image = CGImageCreateWithFile(pngPath.c_str());
    if (!image) return {};
    size_t w = CGImageGetWidth(image), h = CGImageGetHeight(image);
    std::vector<UInt8> argb(w * h * 4);
    bool read = w >= width && h >= height && CGImageCopyARGBBytes(image, argb.data(), argb.size());
    CGImageRelease(image);
    if (!read) return {};
    std::vector<bool> ink(width * height);
    for (size_t y = 0; y < height; ++y)
        for (size_t x = 0; x < width; ++x) {
            const UInt8* p = &argb[(y * w + x) * 4];
            ink[y * width + x] = std::min({p[1], p[2], p[3]}) < 160;
        }
    return ink;
}

// Ink of a that has no ink of b within one pixel.
long Unmatched(const std::vector<bool>& a, const std::vector<bool>& b, int width, int height) {
    long n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (!a[y * width + x]) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    int u = x + dx, v = y + dy;
                    near = u >= 0 && v >= 0 && u < width && v < height && b[v * width + u];
                }
            n += !near;
        }
    return n;
}

class PdfReferenceScenes : public ViewWindowTest {
  protected:
    void Check(const std::string& name, long maxMissing, long maxExtra) {
        InstallViewDrawingHooks();
        SInt16 width = 0, height = 0;
        LoadReferenceScene(doc, FixturePath("View/" + name + ".scene"), [&](SInt16 w, SInt16 h) {
            width = w, height = h;
            UseViewSize(w, h);
        });
        const DrawingViewState& view = doc->drawing->view;
        std::string pdf = MakeTestFolder("pdf-scenes") + "/" + name + ".pdf";
        FSRef file = RefFor(pdf);
        ASSERT_EQ(DrawingToPDF(doc, false, view.originX, view.originY,
                               view.originX + width * view.unitsPerPixel,
                               view.originY + height * view.unitsPerPixel, &file),
                  noErr);
        std::string page = TestOutputPath(name + ".pdf");
        CommandOutput("pdftoppm -png -singlefile -scale-to-x " + std::to_string(width) + " -scale-to-y " +
                      std::to_string(height) + " '" + pdf + "' '" + page + "'");
        std::vector<bool> printed = InkMask(page + ".png", width, height);
        std::vector<bool> shown = InkMask(FixturePath("View/" + name + ".png"), width, height);
        ASSERT_FALSE(printed.empty()) << page << ".png";
        ASSERT_FALSE(shown.empty());
        long inkShown = std::count(shown.begin(), shown.end(), true);
        long inkPrinted = std::count(printed.begin(), printed.end(), true);
        EXPECT_LE(Unmatched(shown, printed, width, height), maxMissing)
            << "shown, not printed; page " << page;
        EXPECT_LE(Unmatched(printed, shown, width, height), maxExtra) << "printed, not shown; page " << page;
        // Grown masks cannot see a line drawn thicker: the amounts of ink must agree too.
        EXPECT_GT(inkPrinted, inkShown * 0.85);
        EXPECT_LT(inkPrinted, inkShown * 1.25);
    }
};

// What the renderers differ in is allowed per scene: the dash phase of a line clipped far outside
// the page, the smoothing of short arcs and of texts. Dropping a line, or moving the page by two
// pixels, leaves hundreds of pixels unmatched.
TEST_F(PdfReferenceScenes, PrintedPagesShowWhatTheScreenShows) {
    struct Case {
        const char* name;
        long maxMissing, maxExtra;
    } cases[] = {
        {"lines", 200, 40},
        {"arcs", 160, 180},
        {"dimensions", 80, 40},
        {"images", 40, 180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Check(c.name, c.maxMissing, c.maxExtra);
        TearDown();
        SetUp();
    }
}

} // namespace
