// Raster images: import through the image readers (resolution, pixel order, names), files that
// cannot be read, the ten-image limit, removal with confirmation, and where images are drawn.
#include "View/RasterImages.h"

#include "Platform/DialogManager.h"
#include "Platform/MemoryManager.h"
#include "View/ElementDrawing.h"
#include "ViewTestSupport.h"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    UInt8 r, g, b;
};

void Put32(std::vector<UInt8>& out, UInt32 v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(UInt8(v >> (8 * i)));
}

// A 24-bit uncompressed bitmap file, rows given top first, at the resolution in dots per inch.
// The files of one test, in a folder made fresh for it.
std::string Folder() {
    static std::string folder;
    static const ::testing::TestInfo* owner = nullptr;
    const ::testing::TestInfo* current = ::testing::UnitTest::GetInstance()->current_test_info();
    if (owner != current) {
        folder = MakeTestFolder(std::string("images-") + current->name());
        owner = current;
    }
    return folder;
}

std::string WriteBitmap(const std::string& name, int width, int height, const std::vector<Rgb>& pixels,
                        int dpi) {
    int rowBytes = (width * 3 + 3) & ~3;
    std::vector<UInt8> out = {'B', 'M'};
    Put32(out, UInt32(54 + rowBytes * height));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, UInt32(width));
    Put32(out, UInt32(height));
    out.push_back(1), out.push_back(0), out.push_back(24), out.push_back(0);
    Put32(out, 0);
    Put32(out, UInt32(rowBytes * height));
    UInt32 perMetre = UInt32(dpi / 0.0254 + 0.5);
    Put32(out, perMetre);
    Put32(out, perMetre);
    Put32(out, 0);
    Put32(out, 0);
    for (int row = height - 1; row >= 0; --row) {
        for (int col = 0; col < width; ++col) {
            const Rgb& p = pixels[size_t(row * width + col)];
            out.push_back(p.b), out.push_back(p.g), out.push_back(p.r);
        }
        for (int pad = width * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    std::string path = Folder() + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    return path;
}

std::string WriteBytes(const std::string& name, const std::string& bytes) {
    std::string path = Folder() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

const std::vector<Rgb> kPixels = {{255, 0, 0},  {0, 255, 0},    {0, 0, 255},
                                  {10, 20, 30}, {200, 100, 50}, {0, 0, 0}};

class RasterImagesTest : public ViewDocumentTest {};

} // namespace

TEST_F(RasterImagesTest, AnImportedFileKeepsItsPixelsTopRowFirstItsResolutionAndItsName) {
    std::string path = WriteBitmap("Site plan.bmp", 3, 2, kPixels, 300);
    ASSERT_EQ(ImportImageFile(doc, path.c_str(), 12, 34), ImageImport::imported);
    ASSERT_EQ(doc->imageCount, 1);
    const ImageRecord& image = doc->images[0];
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.bytesPerRow, 12);
    EXPECT_NEAR(image.resolution, 300, 0.05);
    EXPECT_EQ(ToStd(image.fileName), "Site plan.bmp");
    ASSERT_NE(image.pixels, nullptr);
    ASSERT_EQ(GetHandleSize(image.pixels), 24);
    const UInt8* p = reinterpret_cast<const UInt8*>(*image.pixels);
    for (size_t i = 0; i < kPixels.size(); ++i) {
        EXPECT_EQ(p[4 * i], 255) << i;
        EXPECT_EQ(p[4 * i + 1], kPixels[i].r) << i;
        EXPECT_EQ(p[4 * i + 2], kPixels[i].g) << i;
        EXPECT_EQ(p[4 * i + 3], kPixels[i].b) << i;
    }
    Float64 box[4];
    ASSERT_TRUE(RasterImageRect(&image, box));
    EXPECT_NEAR(box[0], 12, 1e-9);
    EXPECT_NEAR(box[1], 34, 1e-9);
    EXPECT_NEAR(box[2] - box[0], 3 * 25.4 / image.resolution, 1e-9);
    EXPECT_NEAR(box[3] - box[1], 2 * 25.4 / image.resolution, 1e-9);
    EXPECT_EQ(doc->settings->imagesShown, 1);
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(RasterImagesTest, FilesThatCannotBeReadAndAFullDrawingChangeNothing) {
    std::string good = WriteBitmap("good.bmp", 3, 2, kPixels, 72);
    ASSERT_EQ(ImportImageFile(doc, good.c_str(), 0, 0), ImageImport::imported);
    doc->drawing->changed = 0;
    const std::string unreadable[] = {
        WriteBytes("notes.png", "This is a text, not a picture."),
        WriteBytes("empty.tif", ""),
        WriteBytes("cut.bmp", std::string("BM\x36\x00\x00\x00", 6)),
        Folder() + "/missing.png",
        Folder(),
    };
    for (const std::string& path : unreadable) {
        EXPECT_EQ(ImportImageFile(doc, path.c_str(), 0, 0), ImageImport::unreadable) << path;
        EXPECT_EQ(doc->imageCount, 1) << path;
    }
    while (doc->imageCount < kMaxImages)
        ASSERT_EQ(ImportImageFile(doc, good.c_str(), 0, 0), ImageImport::imported);
    doc->drawing->changed = 0;
    EXPECT_EQ(ImportImageFile(doc, good.c_str(), 0, 0), ImageImport::full);
    EXPECT_EQ(doc->imageCount, kMaxImages);
    EXPECT_FALSE(doc->drawing->changed);
}

TEST_F(RasterImagesTest, RemovingAnImageAsksFirstAndClosesTheGap) {
    std::string path = WriteBitmap("a.bmp", 3, 2, kPixels, 72);
    for (Float64 x : {1.0, 2.0, 3.0})
        ASSERT_EQ(ImportImageFile(doc, path.c_str(), x, 0), ImageImport::imported);
    std::memcpy(doc->images[1].fileName, "\x06middle", 7);
    doc->drawing->changed = 0;

    SInt16 answer = 1; // Cancel
    SetAlertResponder([&](const AlertRecord&) { return answer; });
    DeleteImage(doc, 2);
    EXPECT_EQ(doc->imageCount, 3);
    EXPECT_FALSE(doc->drawing->changed);
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_NE(RecordedAlerts()[0].params[0].find("middle"), std::string::npos);

    answer = 2;
    DeleteImage(doc, 2);
    ASSERT_EQ(doc->imageCount, 2);
    EXPECT_EQ(doc->images[0].x, 1.0);
    EXPECT_EQ(doc->images[1].x, 3.0);
    EXPECT_EQ(doc->images[2].pixels, nullptr);
    EXPECT_TRUE(doc->drawing->changed);

    // Items beyond the images ask nothing.
    for (SInt16 n : {0, 3, 11, -1})
        DeleteImage(doc, n);
    EXPECT_EQ(doc->imageCount, 2);
    EXPECT_EQ(RecordedAlerts().size(), 2u);
}

TEST_F(ViewWindowTest, ImagesShowOnScreenOnlyWhileShownAndAlwaysInPrint) {
    InstallViewDrawingHooks();
    std::string path = WriteBitmap("dark.bmp", 2, 2, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 72);
    ASSERT_EQ(ImportImageFile(doc, path.c_str(), 2, 2), ImageImport::imported);
    doc->images[0].resolution = 4; // a quarter inch a pixel
    doc->settings->imagesShown = 0;
    UpdateViewExtent(doc, false);
    int hidden = CountInk(); // the origin cross
    doc->settings->imagesShown = 1;
    UpdateViewExtent(doc, false);
    EXPECT_GT(CountInk(), hidden + 100);

    // A damaged record (pixels shorter than its rows promise) is not drawn, and nothing breaks.
    doc->images[0].height = 1000;
    UpdateViewExtent(doc, false);
    EXPECT_EQ(CountInk(), hidden);
    doc->images[0].height = 2;

    // Hidden on screen, still printed: the page holds the image's pixels.
    doc->settings->imagesShown = 0;
    auto pageBytes = [&](SInt16 images) {
        SInt16 kept = doc->imageCount;
        doc->imageCount = images;
        std::string pdf;
        {
            PrintPage page(doc, 100, 0);
            EXPECT_TRUE(DrawViewContent(doc));
            pdf = page.path;
        }
        doc->imageCount = kept;
        std::ifstream in(pdf, std::ios::binary | std::ios::ate);
        return long(in.tellg());
    };
    EXPECT_GT(pageBytes(1), pageBytes(0));
}
