// Printing frames: the page grid (one tile size for the count and the pass), the refusals of frames
// and papers that give no page, fit to page, header and footer texts, and frames printed into PDF.

#include "FilesFixture.h"
#include "TestSupport.h"

#include "Files/PrintRecords.h"
#include "Files/Printing.h"
#include "Model/DocSettings.h"
#include "Model/ElementRecords.h"
#include "Model/LayersFrames.h"
#include "Platform/AppResources.h"
#include "Platform/MemoryManager.h"
#include "Platform/PascalBytes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

class PrintingTest : public FilesTest {
  protected:
    void TearDown() override {
        for (FrameRecord* f : frames_) {
            DisposeHandle(f->pageFormat);
            delete f;
        }
        ClosePrintSession();
        FilesTest::TearDown();
    }
    // A frame on A4 portrait with quarter-inch margins (printable 559 x 806 points), scale 1 point a
    // millimetre, world rectangle (x0, y0)-(x1, y1).
    FrameRecord* Frame(Float64 x0, Float64 y0, Float64 x1, Float64 y1, const char* name = "Plan") {
        auto* f = new FrameRecord{};
        frames_.push_back(f);
        CStrToPStr(f->name, 256, name);
        f->kind = 2;
        f->scale = 25.4 / 72;
        f->scaleX = f->scaleY = 1;
        f->rect[0] = x0, f->rect[1] = y0, f->rect[2] = x1, f->rect[3] = y1;
        f->pageFormat = NewPageFormatHandle(DefaultPageFormat());
        UpdateFramePaper(f);
        return f;
    }
    std::vector<FrameRecord*> frames_;
};

std::string Shell(const std::string& command) {
    return CommandOutput(command);
}

bool HavePdfTools() {
    return !Shell("command -v pdfinfo pdftotext qpdf").empty();
}

std::string Message(SInt16 n) {
    return (*FindStringList(kPrintMessageList))[size_t(n - 1)];
}

TEST_F(PrintingTest, PaperOfTheStoredFormatTurnsOnceWithTheOrientation) {
    FrameRecord* f = Frame(0, 0, 10, 10);
    EXPECT_EQ(f->printableRect.top, 18);
    EXPECT_EQ(f->printableRect.left, 18);
    EXPECT_EQ(f->printableRect.bottom, 824);
    EXPECT_EQ(f->printableRect.right, 577);
    EXPECT_EQ(f->paperRect.bottom, 842);
    EXPECT_EQ(f->paperRect.right, 595);

    // Landscape, stored as the sheet lies, margins as seen on the turned sheet.
    PrintPageSetup page{595, 842, 2, 10, 20, 30, 40};
    Rect area, sheet;
    GetPaperRect(nullptr, page, &area);
    GetPaperSize(nullptr, page, &sheet);
    EXPECT_EQ(sheet.bottom, 595);
    EXPECT_EQ(sheet.right, 842);
    EXPECT_EQ(area.top, 10);
    EXPECT_EQ(area.left, 20);
    EXPECT_EQ(area.bottom, 595 - 30);
    EXPECT_EQ(area.right, 842 - 40);
    Handle h = NewPageFormatHandle(DefaultPageFormat());
    StorePageSetup(page, &h);
    PrintPageSetup back = PageSetupOfHandle(h);
    DisposeHandle(h);
    EXPECT_EQ(back.orientation, 2);
    EXPECT_DOUBLE_EQ(back.paperWidth, 595);
    EXPECT_DOUBLE_EQ(back.paperHeight, 842);
    EXPECT_DOUBLE_EQ(back.marginLeft, 20);
    EXPECT_DOUBLE_EQ(back.marginBottom, 30);
}

TEST_F(PrintingTest, TilesCoverTheFrameColumnByColumnFromTheBottomLeft) {
    const Float64 pw = 559, ph = 806;
    struct Case {
        Float64 w, h;
        SInt32 pages;
    } cases[] = {{100, 100, 1}, {2.5 * pw, ph, 3}, {2 * pw, 2 * ph, 4}, {pw + 1, ph, 1}, {pw + 2, ph, 2}};
    for (const Case& c : cases) {
        FrameRecord* f = Frame(1000, 2000, 1000 + c.w, 2000 + c.h);
        EXPECT_EQ(CountTiledPages(f), c.pages) << c.w << " x " << c.h;
    }
    // A small frame is centred on its one sheet.
    PageTiles t;
    ASSERT_TRUE(ComputePageTiles(Frame(1000, 2000, 1100, 2100), &t));
    EXPECT_DOUBLE_EQ(t.left, 1000 - (pw - 100) / 2);
    EXPECT_DOUBLE_EQ(t.bottom, 2000 - (ph - 100) / 2);
    // 2 x 2 sheets: 1, 2 up the left column, 3, 4 up the right one.
    ASSERT_TRUE(ComputePageTiles(Frame(0, 0, 2 * pw, 2 * ph), &t));
    const Float64 corners[4][2] = {{0, 0}, {0, ph}, {pw, 0}, {pw, ph}};
    for (SInt32 p = 1; p <= 4; ++p) {
        Float64 left, bottom;
        TileCorner(t, p, &left, &bottom);
        EXPECT_DOUBLE_EQ(left, corners[p - 1][0]) << p;
        EXPECT_DOUBLE_EQ(bottom, corners[p - 1][1]) << p;
    }
}

TEST_F(PrintingTest, NoPageForEmptySidesScalesOrFrames) {
    const Float64 nan = std::numeric_limits<Float64>::quiet_NaN();
    const Float64 inf = std::numeric_limits<Float64>::infinity();
    FrameRecord* f = Frame(0, 0, 100, 100);
    const Rect good = f->printableRect;
    f->printableRect.right = f->printableRect.left;
    EXPECT_EQ(CountTiledPages(f), 0);
    f->printableRect = Rect{10, 10, 5, 100};
    EXPECT_EQ(CountTiledPages(f), 0);
    f->printableRect = good;
    for (Float64 s : {0.0, -1.0, nan, inf}) {
        f->scaleX = s;
        EXPECT_EQ(CountTiledPages(f), 0) << s;
    }
    f->scaleX = 1;
    f->rect[2] = f->rect[0]; // no width: a line still prints
    EXPECT_EQ(CountTiledPages(f), 1);
    f->rect[3] = f->rect[1]; // nor height
    EXPECT_EQ(CountTiledPages(f), 0);
    f->rect[3] = 100;
    f->rect[2] = 1e300; // would take endless sheets
    EXPECT_EQ(CountTiledPages(f), kMaxPrintPages + 1);
}

TEST_F(PrintingTest, FitToPageGivesFiniteScalesAndRefusesAnEmptyFrame) {
    FrameRecord* f = Frame(0, 0, 2 * 559, 100);
    ASSERT_TRUE(FitFrameToPage(f));
    EXPECT_DOUBLE_EQ(f->scaleX, 0.5);
    EXPECT_DOUBLE_EQ(f->scaleY, 0.5);
    EXPECT_EQ(CountTiledPages(f), 1);
    FrameRecord* line = Frame(0, 0, 0, 403); // only a height
    ASSERT_TRUE(FitFrameToPage(line));
    EXPECT_DOUBLE_EQ(line->scaleY, 2);
    FrameRecord* dot = Frame(5, 5, 5, 5);
    EXPECT_FALSE(FitFrameToPage(dot));
    EXPECT_EQ(dot->scaleX, 1);
    EXPECT_EQ(dot->scaleY, 1);
}

TEST_F(PrintingTest, CenterFrameOnPaperKeepsTheCentreOfOnePageFrames) {
    DocWindowRecord* doc = NewDoc();
    FrameRecord* f = Frame(0, 0, 100, 50);
    f->kind = 1;
    f->scaleX = f->scaleY = 2;
    CenterFrameOnPaper(doc, f);
    EXPECT_DOUBLE_EQ(f->rect[0], 50 - 559 / 4.0);
    EXPECT_DOUBLE_EQ(f->rect[2], 50 + 559 / 4.0);
    EXPECT_DOUBLE_EQ(f->rect[1], 25 - 806 / 4.0);
    EXPECT_DOUBLE_EQ(f->rect[3], 25 + 806 / 4.0);
    EXPECT_TRUE(doc->drawing->changed);
    FrameRecord* other = Frame(0, 0, 100, 50);
    CenterFrameOnPaper(doc, other);
    EXPECT_EQ(other->rect[2], 100);
}

TEST_F(PrintingTest, HeaderCodesExpand) {
    DocWindowRecord* doc = NewDoc();
    FrameRecord* f = Frame(0, 0, 10, 10, "Ground floor");
    for (int layer = 0; layer < kLayerCount; ++layer)
        SetLayerVisible(doc->layerVisible, SInt16(layer), true);
    EXPECT_EQ(LayerRangeText(doc), "0-1023");
    for (int layer = 0; layer < kLayerCount; ++layer)
        SetLayerVisible(doc->layerVisible, SInt16(layer), (layer >= 1 && layer <= 5) || layer == 7);
    EXPECT_EQ(LayerRangeText(doc), "1-5, 7");
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"a&xb", "ab"},
                 {"end&", "end&"},
                 {"&&p", "&p"},
                 {"&p", "Ground floor"},
                 {"&# of &+", "2 of 3"},
                 {"Layers &l", "Layers 1-5, 7"},
                 {"&f&g", ""}};
    for (const Case& c : cases) {
        Str255 text;
        CStrToPStr(text, 256, c.in);
        EXPECT_EQ(ExpandHeaderText(doc, f, text, 2, 3), c.out) << c.in;
    }
    doc->drawing->hasFile = true;
    std::strcpy(doc->drawing->file.path, "/home/anna/plans/house.dwk");
    CStrToPStr(doc->drawing->documentName, 256, "house.dwk");
    Str255 text;
    CStrToPStr(text, 256, "&f at &g");
    EXPECT_EQ(ExpandHeaderText(doc, f, text, 1, 1), "house.dwk at /home/anna/plans/house.dwk");
}

class PrintIntoPdf : public PrintingTest {
  protected:
    void SetUp() override {
        PrintingTest::SetUp();
        if (!HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext and qpdf are needed";
        EnsureTestApplication();
        doc = NewDoc();
        CStrToPStr(doc->drawing->headerFooter.texts[0], 256, "&p");
        CStrToPStr(doc->drawing->headerFooter.texts[5], 256, "Page &# of &+");
        job.copies = 1;
        job.firstPage = 1;
        job.lastPage = 0x7FFFFFFF;
        job.outputFile = MakeTestFolder("printing") + "/out.pdf";
        std::remove(job.outputFile.c_str());
    }
    std::string Info() { return Shell("pdfinfo '" + job.outputFile + "' 2>&1"); }
    std::string Text() { return Shell("pdftotext -layout '" + job.outputFile + "' - 2>&1"); }
    DocWindowRecord* doc = nullptr;
    PrintJobSetup job{};
};

TEST_F(PrintIntoPdf, EverySheetIsCountedAndNumbered) {
    FrameRecord* f = Frame(0, 0, 2.5 * 559, 806, "West wall");
    ASSERT_EQ(PrintPages(doc, f, job), noErr);
    EXPECT_NE(Info().find("Pages:           3"), std::string::npos) << Info();
    EXPECT_NE(Info().find("595 x 842 pts"), std::string::npos) << Info();
    std::string text = Text();
    for (const char* s : {"Page 1 of 3", "Page 2 of 3", "Page 3 of 3", "West wall"})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    EXPECT_NE(Shell("qpdf --check '" + job.outputFile + "' 2>&1").find("No syntax or stream encoding errors"),
              std::string::npos);
}

TEST_F(PrintIntoPdf, PageRangeChoosesSheetsAndAMissedRangePrintsNothing) {
    FrameRecord* f = Frame(0, 0, 2.5 * 559, 806);
    job.firstPage = job.lastPage = 2;
    ASSERT_EQ(PrintPages(doc, f, job), noErr);
    EXPECT_NE(Info().find("Pages:           1"), std::string::npos) << Info();
    EXPECT_NE(Text().find("Page 2 of 3"), std::string::npos);
    std::remove(job.outputFile.c_str());
    job.firstPage = 4, job.lastPage = 9;
    EXPECT_EQ(PrintPages(doc, f, job), noErr);
    EXPECT_FALSE(FileExists(job.outputFile));
    EXPECT_TRUE(RecordedAlerts().empty());
}

TEST_F(PrintIntoPdf, FramesGivingNoPageAreRefusedWithAMessage) {
    FrameRecord* dot = Frame(5, 5, 5, 5);
    EXPECT_NE(PrintPages(doc, dot, job), noErr);
    PrintFitToPage(doc->settings) = 1;
    EXPECT_NE(PrintPages(doc, dot, job), noErr);
    PrintFitToPage(doc->settings) = 0;
    FrameRecord* huge = Frame(0, 0, 1e12, 1e12);
    EXPECT_NE(PrintPages(doc, huge, job), noErr);
    EXPECT_FALSE(FileExists(job.outputFile));
    std::vector<std::string> shown;
    for (const AlertRecord& a : RecordedAlerts())
        shown.push_back(a.params[0]);
    EXPECT_EQ(shown, (std::vector<std::string>{Message(2), Message(2), Message(3)}));
}

TEST_F(PrintIntoPdf, CornerMarksOnlyOnJobsOfSeveralSheets) {
    PrintCornerMarks(doc->settings) = 1;
    FrameRecord* one = Frame(0, 0, 100, 100);
    ASSERT_EQ(PrintPages(doc, one, job), noErr);
    std::string single = Shell("pdftoppm -r 20 -gray -f 1 -l 1 '" + job.outputFile + "' | md5sum");
    PrintCornerMarks(doc->settings) = 0;
    ASSERT_EQ(PrintPages(doc, one, job), noErr);
    EXPECT_EQ(Shell("pdftoppm -r 20 -gray -f 1 -l 1 '" + job.outputFile + "' | md5sum"), single);
    FrameRecord* two = Frame(0, 0, 2 * 559, 100);
    ASSERT_EQ(PrintPages(doc, two, job), noErr);
    std::string plain = Shell("pdftoppm -r 20 -gray -f 1 -l 1 '" + job.outputFile + "' | md5sum");
    PrintCornerMarks(doc->settings) = 1;
    ASSERT_EQ(PrintPages(doc, two, job), noErr);
    EXPECT_NE(Shell("pdftoppm -r 20 -gray -f 1 -l 1 '" + job.outputFile + "' | md5sum"), plain);
}

} // namespace

namespace {

class PrintThroughDialog : public PrintIntoPdf {
  protected:
    void SetUp() override {
        PrintIntoPdf::SetUp();
        if (IsSkipped()) return;
        SetPrintDialogResponder([this](PrintJobSetup* j, PrintPageSetup*) {
            ++dialogs;
            rangeOffered = {j->firstPage, j->lastPage};
            if (cancel) return kPMCancel;
            j->outputFile = job.outputFile;
            j->firstPage = first;
            return OSStatus(noErr);
        });
    }
    void TearDown() override {
        SetPrintDialogResponder(nullptr);
        PrintIntoPdf::TearDown();
    }
    int dialogs = 0;
    bool cancel = false;
    SInt32 first = 1;
    std::pair<SInt32, SInt32> rangeOffered;
};

TEST_F(PrintThroughDialog, FramePrintsAtItsScaleAndKeepsTheAnswers) {
    FrameRecord* f = Frame(0, 0, 400, 100);
    f->scale = 1; // 400 mm at 1:1 take three sheets across
    first = 2;
    ASSERT_EQ(PrintFrameWithDialog(doc, f), noErr);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(rangeOffered, (std::pair<SInt32, SInt32>{1, 3}));
    EXPECT_NE(Info().find("Pages:           2"), std::string::npos) << Info();
    EXPECT_EQ(PrintSettingsOf(f->printSettings).firstPage, 2);
    DisposeHandle(f->printSettings);
    f->printSettings = nullptr;

    std::remove(job.outputFile.c_str());
    cancel = true;
    EXPECT_EQ(PrintFrameWithDialog(doc, f), kPMCancel);
    EXPECT_FALSE(FileExists(job.outputFile));
}

TEST_F(PrintThroughDialog, WholeDrawingRemovesOnlyItsOwnFrameOnEveryPath) {
    LineRecord* l = NewLineRecord();
    l->x2 = 150, l->y2 = 100, l->pen = 1, l->penBlock.penWidth100 = 25;
    l->next = doc->lineHead->next;
    doc->lineHead->next = l;
    Str255 name;
    CStrToPStr(name, 256, "==all==");
    ASSERT_TRUE(NewFrameFromRect(doc, 0, 0, 0, 10, 10, name)); // the user's, of that name
    FrameRecord* users = doc->drawing->frames;
    ASSERT_EQ(PrintAllPages(doc), noErr);
    EXPECT_EQ(rangeOffered.second, 1);
    EXPECT_NE(Info().find("Pages:           1"), std::string::npos) << Info();
    EXPECT_EQ(doc->drawing->frames, users);
    EXPECT_EQ(users->next, nullptr);
    // The line runs through the middle of the printable area.
    std::string pgm = Shell("pdftoppm -r 72 -gray -x 295 -y 419 -W 5 -H 5 '" + job.outputFile + "'");
    ASSERT_GE(pgm.size(), 25u);
    UInt8 darkest = 255;
    for (size_t i = pgm.size() - 25; i < pgm.size(); ++i)
        darkest = std::min<UInt8>(darkest, UInt8(pgm[i]));
    EXPECT_LT(darkest, 160);
    cancel = true;
    EXPECT_EQ(PrintAllPages(doc), kPMCancel);
    EXPECT_EQ(users->next, nullptr);
}

} // namespace

namespace {

// Frames of the document made one after another, each with its own name.
FrameRecord* AddFrame(DocWindowRecord* doc, Float64 x1, Float64 y1, const char* name) {
    Str255 n;
    CStrToPStr(n, 256, name);
    if (!NewFrameFromRect(doc, 0, 0, 0, x1, y1, n)) return nullptr;
    FrameRecord* f = doc->drawing->frames;
    while (f->next != nullptr)
        f = f->next;
    return f;
}

TEST_F(PrintThroughDialog, CurrentPagePrintsTheCurrentFrameAndAnUnknownNumberMeansTheFirst) {
    // Without frames: message 57 and no dialog.
    EXPECT_EQ(PrintCurrentPage(doc), paramErr);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{57});
    EXPECT_FALSE(FileExists(job.outputFile));

    ASSERT_NE(AddFrame(doc, 100, 100, "Cellar"), nullptr);
    ASSERT_NE(AddFrame(doc, 100, 100, "Roof"), nullptr);
    struct Case {
        SInt16 current, printed;
        const char* name;
    };
    for (const Case& c :
         {Case{2, 2, "Roof"}, Case{1, 1, "Cellar"}, Case{7, 1, "Cellar"}, Case{0, 1, "Cellar"}}) {
        std::remove(job.outputFile.c_str());
        PrintCurrentFrame(doc->settings) = c.current;
        ASSERT_EQ(PrintCurrentPage(doc), noErr) << c.current;
        EXPECT_EQ(PrintCurrentFrame(doc->settings), c.printed);
        EXPECT_NE(Text().find(c.name), std::string::npos) << c.current << "\n" << Text();
    }

    // The frame list cancelled: no print dialog, nothing printed.
    std::remove(job.outputFile.c_str());
    SetPrintFrameChooser([](DocWindowRecord*) { return Boolean(false); });
    const int before = dialogs;
    EXPECT_EQ(PrintCurrentPage(doc), kPMCancel);
    SetPrintFrameChooser(nullptr);
    EXPECT_EQ(dialogs, before);
    EXPECT_FALSE(FileExists(job.outputFile));
}

TEST_F(PrintingTest, PenWidthsInDevicePointsAreAtLeastOne) {
    DocWindowRecord* doc = NewDoc();
    const Float64 millimetres[8] = {0.01, 0.13, 0.18, 0.5, 0.7, 1.0, 2.0, 0.0};
    const SInt16 points[8] = {1, 1, 1, 1, 2, 3, 6, 1};
    std::memcpy(doc->settings->penWidths, millimetres, sizeof millimetres);
    Float64 sx, sy;
    ComputePrintPenWidths(doc, 0.02, &sx, &sy);
    EXPECT_DOUBLE_EQ(sx, 0.02 * 72 / 25.4);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(doc->settings->penPrintWidths[i], points[i]) << millimetres[i];
        EXPECT_EQ(doc->settings->penPrintWidths2[i], points[i]) << millimetres[i];
    }
}

// Rows of a grey raster (P5, from pdftoppm) whose pixel in column x is dark.
int DarkRowsInColumn(const std::string& pgm, int x) {
    int width = 0, height = 0, maxValue = 0, consumed = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3) return -1;
    size_t start = size_t(consumed) + 1;
    if (x < 0 || x >= width || pgm.size() < start + size_t(width) * size_t(height)) return -1;
    int rows = 0;
    for (int y = 0; y < height; ++y)
        rows += UInt8(pgm[start + size_t(y) * size_t(width) + size_t(x)]) < 128;
    return rows;
}

// A pen keeps its width on paper whatever the frame's scale: 2 mm are 5.67 points, 22.7 pixels at
// 288 pixels an inch.
TEST_F(PrintIntoPdf, PensKeepTheirWidthOnPaperAtEveryScale) {
    LineRecord* l = NewLineRecord();
    l->x1 = -1000, l->y1 = 0, l->x2 = 1000, l->y2 = 0, l->pen = 1, l->penBlock.penWidth100 = 200;
    l->next = doc->lineHead->next;
    doc->lineHead->next = l;
    for (Float64 scale : {1.0, 0.1}) {
        FrameRecord* f = Frame(-10, -10, 10, 10);
        ComputePrintPenWidths(doc, scale, &f->scaleX, &f->scaleY);
        ASSERT_EQ(PrintPages(doc, f, job), noErr) << scale;
        // The line crosses the middle of the sheet; column 1190 of 2380 pixels is the middle.
        std::string pgm = Shell("pdftoppm -r 288 -gray -f 1 -l 1 '" + job.outputFile + "'");
        int rows = DarkRowsInColumn(pgm, 1190);
        EXPECT_GE(rows, 21) << scale;
        EXPECT_LE(rows, 25) << scale;
    }
}

} // namespace
