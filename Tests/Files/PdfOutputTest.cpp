// PDF areas and previews: temporary names, page sizes and pen widths, the files the tools accept,
// texts kept as text, refused areas that change nothing, and the stored preview picture.
#include "FilesFixture.h"
#include "TestSupport.h"

#include "Files/FileCommands.h"
#include "Files/NativeDocument.h"
#include "Files/OpenSaveDispatch.h"
#include "Files/PdfOutput.h"
#include "Model/ElementLists.h"
#include "Other/ZEZUdivari.h"
#include "Platform/Clipboard.h"
#include "Platform/FileChoosers.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Platform/Pictures.h"
#include "Platform/QuickDraw.h"
#include "View/DrawCallRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

std::string RunTool(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        out.append(buf, n);
    int s = pclose(pipe);
    if (status) *status = s;
    return out;
}

// A field of pdfinfo's report, without the padding.
std::string InfoField(const std::string& info, const std::string& name) {
    size_t at = info.find(name + ":");
    if (at == std::string::npos) return {};
    size_t from = info.find_first_not_of(' ', at + name.size() + 1);
    return info.substr(from, info.find('\n', from) - from);
}

class PdfOutputTest : public FilesTest {
  protected:
    void SetUp() override {
        EnsureTestApplication(); // texts, images and the clipboard
        FilesTest::SetUp();
        doc = NewDoc();
        folder = MakeTestFolder("pdf-output");
    }
    void AddText(const char* text, Float64 x, Float64 y, Float64 height) {
        TextRecord* last;
        LastText(doc, &last);
        TextRecord* t = NewTextElement(doc, &last->next);
        t->layer = doc->settings->currentLayer;
        t->pen = 1;
        t->font = 3;
        t->x = t->x2 = x, t->y = t->y2 = y;
        t->textHeight = height;
        Float64 w = height * std::strlen(text);
        const Float64 c[8] = {x, y, x + w, y, x + w, y + height, x, y + height};
        std::memcpy(t->corners, c, sizeof c);
        CStrToPStr(t->text, 256, text);
    }
    DocWindowRecord* doc = nullptr;
    std::string folder;
};

TEST_F(PdfOutputTest, TemporaryNamesCountUpInThePrivateFolder) {
    std::string first, second;
    MakeTempFileName(&first, "PDF");
    MakeTempFileName(&second, "PDF");
    unsigned a = 0;
    ASSERT_EQ(std::sscanf(first.c_str(), "cad_%u_tmp.PDF", &a), 1);
    EXPECT_EQ(first, "cad_" + std::to_string(a) + "_tmp.PDF");
    EXPECT_EQ(second, "cad_" + std::to_string(a + 1) + "_tmp.PDF");

    FSRef folderRef, spec;
    ASSERT_EQ(GetPrivateTempFolder(&folderRef), noErr);
    ASSERT_EQ(MakeTempFileSpec(&spec, "PDF"), noErr);
    EXPECT_EQ(std::string(spec.path),
              std::string(folderRef.path) + "/cad_" + std::to_string(a + 2) + "_tmp.PDF");
    EXPECT_FALSE(FSRefExists(&spec));
}

TEST_F(PdfOutputTest, PageSizesAndDevicePenWidths) {
    struct Case {
        Float64 width, height;
        SInt16 pageWidth, pageHeight;
    } cases[] = {
        {100, 50, 283, 142},      // 72 / 25.4 points per millimetre
        {5000, 1000, 4000, 800},  // too wide: the longer side becomes 4000
        {1, 1, 4000, 4000},       // under 10 points wide: enlarged
        {1000, 4000, 1000, 4000}, // 11339 points high: the height becomes 4000
        {5000, 0.01, 4000, 1},    // a side never rounds to 0 points
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        Float64 resX = 0, resY = 0;
        PDFScaling s{};
        ASSERT_TRUE(SetupPDFScaling(doc, &resX, &resY, 10, 20, 10 + c.width, 20 + c.height, &s));
        EXPECT_EQ(resX, 72);
        EXPECT_EQ(resY, 72);
        EXPECT_EQ(s.pageWidth, c.pageWidth);
        EXPECT_EQ(s.pageHeight, c.pageHeight);
        EXPECT_NEAR(s.left, 10 * s.scaleX, 1e-9);
        EXPECT_NEAR(s.top, (20 + c.height) * s.scaleY, 1e-9);
    }
    doc->settings->penWidths[0] = 0.01;
    doc->settings->penWidths[1] = 1.0;
    Float64 resX, resY;
    PDFScaling s{};
    ASSERT_TRUE(SetupPDFScaling(doc, &resX, &resY, 0, 0, 100, 50, &s));
    EXPECT_EQ(doc->settings->penPrintWidths[0], 1);
    EXPECT_EQ(doc->settings->penPrintWidths2[0], 1);
    EXPECT_EQ(doc->settings->penPrintWidths[1], 3); // 2.83 points
}

TEST_F(PdfOutputTest, AnAreaWithoutWidthOrHeightWritesNothingAndSaysSo) {
    const Float64 inf = std::numeric_limits<Float64>::infinity(), nan = std::nan("");
    const Float64 areas[][4] = {
        {0, 0, 0, 50}, {0, 0, 100, 0}, {0, 0, nan, 50}, {0, 0, 100, inf}, {-1e308, 0, 1e308, 50},
    };
    std::string path = folder + "/kept.pdf";
    WriteFileBytes(path, {'o', 'l', 'd'});
    FSRef file = RefFor(path);
    for (const auto& a : areas) {
        ClearRecordedAlerts();
        Float64 resX, resY;
        PDFScaling s{};
        EXPECT_FALSE(SetupPDFScaling(doc, &resX, &resY, a[0], a[1], a[2], a[3], &s));
        EXPECT_EQ(DrawingToPDF(doc, false, a[0], a[1], a[2], a[3], &file), paramErr);
        EXPECT_EQ(RecordedAlerts().size(), 1u);
        EXPECT_EQ(ReadFileBytes(path), (std::vector<UInt8>{'o', 'l', 'd'}));
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"kept.pdf"});

        DisposeHandle(doc->drawing->previewPicture);
        Handle kept = nullptr;
        PtrToHand("old", &kept, 3);
        doc->drawing->previewPicture = kept;
        MakePreviewPicture(doc, a[0], a[1], a[2], a[3], true);
        EXPECT_EQ(doc->drawing->previewPicture, kept);
    }
}

TEST_F(PdfOutputTest, OnePageThatTheToolsAcceptWithItsTexts) {
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 10, 10, 90, 40, false);
    AddText("Hello PDF", 10, 20, 5);
    std::string path = folder + "/area.pdf";
    WriteFileBytes(path, {'o', 'l', 'd'});
    FSRef file = RefFor(path);
    ASSERT_EQ(DrawingToPDF(doc, false, 0, 0, 100, 50, &file), noErr);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"area.pdf"}); // no part file left

    int status = -1;
    std::string check = RunTool("qpdf --check '" + path + "'", &status);
    EXPECT_EQ(status, 0) << check;
    std::string info = RunTool("pdfinfo '" + path + "'");
    EXPECT_EQ(InfoField(info, "Pages"), "1");
    EXPECT_EQ(InfoField(info, "Page size"), "283 x 142 pts");
    std::string text = RunTool("pdftotext '" + path + "' -");
    EXPECT_NE(text.find("Hello PDF"), std::string::npos) << text;
}

TEST_F(PdfOutputTest, AFolderThatCannotBeWrittenGivesItsErrorAndKeepsTheOldFile) {
    std::string path = folder + "/missing/area.pdf";
    FSRef file = RefFor(path);
    EXPECT_NE(DrawingToPDF(doc, false, 0, 0, 100, 50, &file), noErr);
    EXPECT_FALSE(FSRefExists(&file));
}

TEST_F(PdfOutputTest, TheClipboardGetsThePdfAndTheTemporaryFileGoes) {
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 0, 0, 100, 50, false);
    ASSERT_EQ(DrawingToPDF(doc, true, 0, 0, 100, 50, nullptr), noErr);
    EXPECT_EQ(ScrapFlavorAvailable(kScrapFlavorPDF), noErr);
    EXPECT_EQ(GetScrapBytes(kScrapFlavorPDF).substr(0, 5), "%PDF-");
    FSRef temp;
    ASSERT_EQ(GetPrivateTempFolder(&temp), noErr);
    for (const std::string& name : FolderEntries(temp.path))
        EXPECT_EQ(name.find("_tmp.PDF"), std::string::npos) << name;

    // A refused area leaves the clipboard as it was.
    PutScrapData(4, kScrapFlavorUTF8, "kept");
    EXPECT_EQ(DrawingToPDF(doc, true, 0, 0, 0, 50, nullptr), paramErr);
    EXPECT_EQ(GetScrapTextUTF8(100), "kept");
}

TEST_F(PdfOutputTest, ThePreviewIsASquareBitmapPictureOfTheArea) {
    SeekLastLine(doc);
    LineRecord* line = AppendLineAtCursor(doc, 10, 25, 90, 25, false);
    line->penBlock.penWidth100 = 100;
    doc->drawing->changed = false;
    const std::vector<UInt8> saved = DataForkBytes(doc);
    // 100 x 50 becomes 100 x 100 about the centre: y from -25 to 75, the line across the middle.
    MakePreviewPicture(doc, 0, 0, 100, 50, true);
    Handle picture = doc->drawing->previewPicture;
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(doc->drawing->changed);
    EXPECT_EQ(DataForkBytes(doc), saved); // no stored setting moved
    Rect frame;
    ASSERT_TRUE(GetPictureFrame(reinterpret_cast<UInt8*>(*picture), size_t(GetHandleSize(picture)), &frame));
    EXPECT_EQ(frame.right - frame.left, kPreviewSide);
    EXPECT_EQ(frame.bottom - frame.top, kPreviewSide);
    EXPECT_LT(GetHandleSize(picture), 64 * 1024); // mostly white rows pack small

    GWorldPtr world = nullptr;
    ASSERT_EQ(NewOffscreenGWorld(&world, kPreviewSide, kPreviewSide, 32, 0), noErr);
    CGrafPtr kept;
    GetGWorld(&kept);
    SetGWorld(world);
    Rect whole = {0, 0, kPreviewSide, kPreviewSide};
    ASSERT_TRUE(DrawPictureData(reinterpret_cast<UInt8*>(*picture), size_t(GetHandleSize(picture)), &whole));
    SetGWorld(kept);
    SInt32 rowBytes = 0;
    const UInt32* pixels = GetGWorldPixels(world, &rowBytes);
    auto at = [&](int x, int y) { return pixels[size_t(y) * size_t(rowBytes / 4) + size_t(x)] & 0xFFFFFF; };
    EXPECT_NE(at(256, 256), 0xFFFFFFu); // the line, 5 pixels wide through the middle
    EXPECT_EQ(at(256, 200), 0xFFFFFFu);
    EXPECT_EQ(at(20, 256), 0xFFFFFFu); // before its start at x = 51
    DisposeOffscreenGWorld(&world);
}

// The preview is drawn as the zoomed-out window is: elements below a pixel are dots, one a pixel, and
// small texts their boxes; what is larger is drawn as before.
TEST_F(PdfOutputTest, ThePreviewDrawsElementsBelowAPixelAsDots) {
    SeekLastLine(doc);
    for (int i = 0; i < 50; ++i)
        AppendLineAtCursor(doc, 500 + 0.01 * i, 300, 500.5 + 0.01 * i, 300.5, false); // in one pixel
    AppendLineAtCursor(doc, 0, 0, 1000, 1000, false);
    AddText("Detail", 200, 700, 3);
    struct Seen {
        int dots = 0, lines = 0, texts = 0;
    } seen;
    SetDrawCallListener(
        [](const DrawCall& call, void* user) {
            auto* s = static_cast<Seen*>(user);
            if (call.kind == DrawCallKind::text) ++s->texts;
            if (call.kind == DrawCallKind::line || call.kind == DrawCallKind::styledLine)
                ++(call.v[0] == call.v[2] && call.v[1] == call.v[3] ? s->dots : s->lines);
        },
        &seen);
    MakePreviewPicture(doc, 0, 0, 1000, 1000, false);
    SetDrawCallListener(nullptr, nullptr);
    EXPECT_EQ(seen.dots, 50);     // reported each, set once
    EXPECT_GE(seen.lines, 1 + 4); // the long line, and the text's box
    EXPECT_EQ(seen.texts, 0);
    ASSERT_NE(doc->drawing->previewPicture, nullptr);
    Handle picture = doc->drawing->previewPicture;
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewOffscreenGWorld(&world, kPreviewSide, kPreviewSide, 32, 0), noErr);
    CGrafPtr kept;
    GetGWorld(&kept);
    SetGWorld(world);
    Rect whole = {0, 0, kPreviewSide, kPreviewSide};
    ASSERT_TRUE(DrawPictureData(reinterpret_cast<UInt8*>(*picture), size_t(GetHandleSize(picture)), &whole));
    SetGWorld(kept);
    SInt32 rowBytes = 0;
    const UInt32* pixels = GetGWorldPixels(world, &rowBytes);
    int inked = 0; // about (256, 358) in the picture, y down
    for (int y = 350; y < 366; ++y)
        for (int x = 248; x < 264; ++x)
            inked += (pixels[size_t(y) * size_t(rowBytes / 4) + size_t(x)] & 0xFFFFFF) != 0xFFFFFF;
    EXPECT_GE(inked, 1);
    EXPECT_LE(inked, 4);
    DisposeOffscreenGWorld(&world);
}

TEST_F(PdfOutputTest, ASavedDrawingStoresThePreviewOfItsExtentsAndOpensWithIt) {
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 0, 0, 40, 10, false);
    doc->drawing->file = RefFor(folder + "/Plan.cadx");
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    ASSERT_NE(doc->drawing->previewPicture, nullptr);
    EXPECT_FALSE(doc->drawing->changed);
    std::vector<UInt8> stored(reinterpret_cast<UInt8*>(*doc->drawing->previewPicture),
                              reinterpret_cast<UInt8*>(*doc->drawing->previewPicture) +
                                  GetHandleSize(doc->drawing->previewPicture));
    DocWindowRecord* back = nullptr;
    FSRef ref = RefFor(folder + "/Plan.cadx");
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    ASSERT_NE(back->drawing->previewPicture, nullptr);
    EXPECT_EQ(std::vector<UInt8>(reinterpret_cast<UInt8*>(*back->drawing->previewPicture),
                                 reinterpret_cast<UInt8*>(*back->drawing->previewPicture) +
                                     GetHandleSize(back->drawing->previewPicture)),
              stored);

    // An empty drawing has no extents to show: nothing is made or stored.
    DocWindowRecord* empty = NewDoc();
    empty->drawing->file = RefFor(folder + "/Empty.cadx");
    ASSERT_TRUE(SaveDocument(empty, true, false, false, false, false));
    EXPECT_EQ(empty->drawing->previewPicture, nullptr);
}

TEST_F(PdfOutputTest, SaveAsPdfWritesThePdfAreaAndKeepsTheDocumentsOwnFile) {
    RegisterPDFExport();
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 0, 0, 100, 50, false);
    AddText("Saved area", 10, 10, 5);
    const Float64 area[4] = {0, 0, 200, 100};
    std::copy(area, area + 4, doc->settings->pdfArea);
    std::string path = folder + "/Saved.pdf";
    bool formatOffered = false;
    SetFilePanelResponders(nullptr, [&](SavePanelRequest& request, std::string* chosen) {
        formatOffered = request.formatEnabled[kSavePDF - 1];
        request.format = kSavePDF;
        *chosen = path;
        return true;
    });
    Boolean result = true;
    SaveDocumentAs(doc, true, false, false, false, &result, false);
    SetFilePanelResponders(nullptr, nullptr);
    RegisterExporter(kSavePDF, nullptr);
    EXPECT_TRUE(formatOffered);
    EXPECT_FALSE(result); // an export is not the document's own save
    EXPECT_STRNE(doc->drawing->file.path, path.c_str());
    std::string info = RunTool("pdfinfo '" + path + "'");
    EXPECT_EQ(InfoField(info, "Page size"), "567 x 283 pts");
    EXPECT_NE(RunTool("pdftotext '" + path + "' -").find("Saved area"), std::string::npos);
}

} // namespace
