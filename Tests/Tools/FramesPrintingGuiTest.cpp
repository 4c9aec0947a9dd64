// Frames end to end: the frame menus follow the frames, a frame is renamed, deleted after the
// question, moved and placed with the mouse; File > Print Page chooses the frame in its list and
// prints it through the print dialog into a PDF file; cancels and missed page ranges print nothing;
// the PDF of a dragged rectangle and the preview picture; the print options and page setup.
#include "Dialogs/FrameDialogs.h"
#include "Files/PrintRecords.h"
#include "Files/Printing.h"
#include "Model/LayersFrames.h"
#include "Model/UndoJournal.h"
#include "Interface/ModalDialogs.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppResources.h"
#include "Platform/DialogManager.h"
#include "Platform/FileChoosers.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Platform/PrintSession.h"
#include "Shell/MenuCommands.h"
#include "ToolGuiFixture.h"
#include "Tools/TextElements.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool HavePdfTools() {
    return !CommandOutput("command -v pdfinfo pdftotext qpdf").empty();
}

bool Exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f != nullptr) std::fclose(f);
    return f != nullptr;
}

// Where the frame dialogs open without a remembered place: the list (1531), the name (1532) and
// the print options (153).
constexpr Point kListOrigin{120, 200};
constexpr Point kOptionsOrigin{100, 180};

class FramesGui : public ToolGuiTest {
  protected:
    void SetUp() override {
        ToolGuiTest::SetUp();
        SnapMode(0);
        ClearRecordedAlerts();
        output = MakeTestFolder("frames-gui") + "/out.pdf";
        std::remove(output.c_str());
        SetPrintDialogResponder([this](PrintJobSetup* job, PrintPageSetup*) {
            ++printDialogs;
            offered = {job->firstPage, job->lastPage};
            if (cancelPrint) return kPMCancel;
            job->outputFile = output;
            job->firstPage = first, job->lastPage = last;
            return OSStatus(noErr);
        });
    }
    void TearDown() override {
        SetPrintDialogResponder(nullptr);
        SetFilePanelResponders(nullptr, nullptr);
        SetAlertResponder(nullptr);
        ToolGuiTest::TearDown();
    }
    void Post(SInt16 menu, SInt16 item) {
        ASSERT_TRUE(ChooseMenuItem(menu, item)) << menu << "/" << item;
        RunLoop();
    }
    // A menu command as a function key or a script posts it, also for items the bar does not show.
    void Command(SInt16 menu, SInt16 item) {
        MenuCommandGlobals.code = menu, MenuCommandGlobals.param = item;
        DoMenuCommand(doc);
        RunLoop();
    }
    void Frame(double x1, double y1, double x2, double y2, const char* name = "") {
        ASSERT_TRUE(NewFrameFromRect(doc, 0, x1, y1, x2, y2, PStr(name)));
    }
    std::vector<std::string> Items(SInt16 menuId) {
        std::vector<std::string> items;
        MenuRef menu = GetMenuHandle(menuId);
        for (SInt16 i = 1; menu != nullptr && i <= CountMenuItems(menu); ++i) {
            Str255 text;
            GetMenuItemText(menu, i, text);
            items.push_back(ToStd(text));
        }
        return items;
    }
    std::string Pdf(const char* tool) { return CommandOutput(std::string(tool) + " '" + output + "' 2>&1"); }
    std::string Text() { return CommandOutput("pdftotext -layout '" + output + "' - 2>&1"); }
    std::string Message(SInt16 list, SInt16 n) {
        Str255 s;
        GetIndString(s, list, n);
        return ToStd(s);
    }
    std::string LastAlert() const {
        return RecordedAlerts().empty() ? "" : RecordedAlerts().back().params[0];
    }

    std::string output;
    int printDialogs = 0;
    bool cancelPrint = false;
    SInt32 first = 1, last = 0x7FFFFFFF;
    std::pair<SInt32, SInt32> offered;
};

TEST_F(FramesGui, FrameMenusNameEveryFrameAndFollowRenameAndDelete) {
    Frame(0, 0, 100, 100);
    Frame(200, 0, 300, 100, "North");
    Post(kPagesMenu, 1); // any menu selection brings the menus in step
    Key(kKeyCodeEscape, 0x1B);
    const std::vector<std::string> both{"Page 1", "North"};
    EXPECT_EQ(Items(kDeleteFrameMenu), both);
    EXPECT_EQ(Items(kMoveFrameMenu), both);
    EXPECT_EQ(Items(kFramesMenu), both);
    EXPECT_EQ(Items(kPageSetupMenu), (std::vector<std::string>{"Drawing\xC9", "Page 1", "North"}));

    // Renamed: the name typed over the old one; Cancel keeps it.
    doc->drawing->changed = false;
    QueueTypedText("South\r");
    Post(kFramesMenu, 1);
    EXPECT_EQ(ToStd(doc->drawing->frames->name), "South");
    EXPECT_TRUE(doc->drawing->changed);
    QueueTypedText("West");
    QueueKey(kKeyCodeEscape, 0x1B);
    Post(kFramesMenu, 1);
    EXPECT_EQ(ToStd(doc->drawing->frames->name), "South");
    EXPECT_EQ(Items(kFramesMenu), (std::vector<std::string>{"South", "North"}));

    // Deleted only when the question is answered yes; the question names the page.
    SetAlertResponder([](const AlertRecord&) { return SInt16(1); });
    Post(kDeleteFrameMenu, 2);
    EXPECT_EQ(CountFrames(doc), 2);
    std::string question = Message(201, 8);
    question.replace(question.find('#'), 1, "North");
    EXPECT_EQ(LastAlert(), question);
    SetAlertResponder([](const AlertRecord&) { return SInt16(2); });
    Post(kDeleteFrameMenu, 2);
    ASSERT_EQ(CountFrames(doc), 1);
    EXPECT_EQ(Items(kDeleteFrameMenu), (std::vector<std::string>{"South"}));
    EXPECT_EQ(Items(kPageSetupMenu), (std::vector<std::string>{"Drawing\xC9", "South"}));
    EXPECT_FALSE(DeleteFrameAndDispose(doc, 2));
    EXPECT_FALSE(DeleteFrameAndDispose(doc, 0));
}

TEST_F(FramesGui, MovePageMovesTheChosenFrameWithTheMouse) {
    Frame(0, 0, 40, 40);
    Frame(100, 100, 140, 140, "B");
    Post(kPagesMenu, 1);
    Key(kKeyCodeEscape, 0x1B);
    Post(kMoveFrameMenu, 2);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 180);
    EXPECT_EQ(doc->drawing->toolInput.frameNumber, 2);
    QueueDrag(doc->window, {WindowPoint(110, 110), WindowPoint(120, 115), WindowPoint(130, 120)});
    RunLoop();
    const FrameRecord* b = FrameAt(doc, 2);
    EXPECT_DOUBLE_EQ(b->rect[0], 120);
    EXPECT_DOUBLE_EQ(b->rect[1], 110);
    EXPECT_DOUBLE_EQ(FrameAt(doc, 1)->rect[0], 0);
}

TEST_F(FramesGui, PlacePageMakesOnePageFramesWhereTheMouseLetsGo) {
    doc->settings->printScale = 0.5;
    Post(kPagesMenu, 2);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 173);
    for (double x : {20.0, 400.0}) {
        QueueDrag(doc->window, {WindowPoint(x - 10, 10), WindowPoint(x - 5, 15), WindowPoint(x, 20)});
        RunLoop();
    }
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 173) << "stays pending";
    ASSERT_EQ(CountFrames(doc), 2);
    // The printable area of the default paper (A4, quarter-inch margins) at 1:2.
    const FrameRecord* f = FrameAt(doc, 1);
    EXPECT_EQ(f->kind, 1);
    EXPECT_EQ(f->name[0], 0);
    EXPECT_DOUBLE_EQ(f->rect[0], 20);
    EXPECT_DOUBLE_EQ(f->rect[1], 20);
    EXPECT_NEAR(f->rect[2] - f->rect[0], 559 * 25.4 / 72 / 0.5, 1e-9);
    EXPECT_NEAR(f->rect[3] - f->rect[1], 806 * 25.4 / 72 / 0.5, 1e-9);
    EXPECT_EQ(CountTiledPages(f), 1) << "the page placed prints on one sheet";
    EXPECT_DOUBLE_EQ(FrameAt(doc, 2)->rect[0], 400);
    Key(kKeyCodeEscape, 0x1B);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 0);
}

// Two pages placed in one run of the command print what each covers.
TEST_F(FramesGui, PlacedPagesPrintWhatTheyCover) {
    if (!HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext and qpdf are needed";
    Draw(30, 30, 110, 70);
    DrawCircle(200, 50, 20);
    BeginUndoStep(doc);
    ASSERT_NE(AddTextElement(doc, 170, 100, PStr("Valve"), 170, 100, 0, true), nullptr);
    EndUndoStep(doc);
    Post(kPagesMenu, 2);
    for (double x : {10.0, 150.0}) {
        QueueDrag(doc->window, {WindowPoint(x - 10, 0), WindowPoint(x - 5, 5), WindowPoint(x, 10)});
        RunLoop();
    }
    Key(kKeyCodeEscape, 0x1B);
    ASSERT_EQ(CountFrames(doc), 2);
    for (SInt16 page : {1, 2}) {
        SCOPED_TRACE(page);
        std::remove(output.c_str());
        QueuePopUpMenuChoice(page);
        QueueGlobalClick(kListOrigin, 180, 46); // the list of pages
        QueueKey(kKeyCodeReturn, '\r');
        Post(kFileMenu, 19);
        ASSERT_TRUE(Exists(output));
        const std::string gray = CommandOutput("pdftoppm -r 36 -gray '" + output + "' 2>/dev/null");
        const size_t start = gray.find("255\n");
        ASSERT_NE(start, std::string::npos);
        int darkest = 255;
        for (size_t i = start + 4; i < gray.size(); ++i)
            darkest = std::min(darkest, int(static_cast<unsigned char>(gray[i])));
        EXPECT_LT(darkest, 160) << "the page shows nothing";
        EXPECT_NE(Text().find("Valve"), std::string::npos) << Text();
    }
}

TEST_F(FramesGui, PrintPageWithoutFramesSaysSoAndOpensNothing) {
    Command(kFileMenu, 19);
    EXPECT_EQ(LastAlert(), Message(200, 57));
    EXPECT_EQ(printDialogs, 0);
    EXPECT_EQ(DialogStackDepth(), 0);
    // Print Options without frames says the same.
    ClearRecordedAlerts();
    Command(kPagesMenu, 6);
    EXPECT_EQ(LastAlert(), Message(200, 57));
}

TEST_F(FramesGui, PrintPagePrintsTheFrameChosenInTheList) {
    if (!HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext and qpdf are needed";
    CStrToPStr(doc->drawing->headerFooter.texts[0], 256, "Frame &p");
    CStrToPStr(doc->drawing->headerFooter.texts[5], 256, "Sheet &# of &+");
    Draw(10, 10, 90, 90);
    Frame(0, 0, 100, 100, "Plan");
    Frame(0, 0, 500, 100, "Elevation"); // 500 mm at 1:1 take three sheets across
    QueuePopUpMenuChoice(2);
    QueueGlobalClick(kListOrigin, 180, 46); // the list of pages
    QueueKey(kKeyCodeReturn, '\r');
    Post(kFileMenu, 19);
    EXPECT_EQ(printDialogs, 1);
    EXPECT_EQ(PrintCurrentFrame(doc->settings), 2);
    EXPECT_EQ(offered, (std::pair<SInt32, SInt32>{1, 3})) << "the range offered is the frame's pages";
    EXPECT_NE(Pdf("pdfinfo").find("Pages:           3"), std::string::npos) << Pdf("pdfinfo");
    std::string text = Text();
    for (const char* s : {"Frame Elevation", "Sheet 1 of 3", "Sheet 3 of 3"})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    EXPECT_NE(Pdf("qpdf --check").find("No syntax or stream encoding errors"), std::string::npos);

    // The list opens on the frame printed last; Return prints it again, on the pages asked for.
    std::remove(output.c_str());
    first = last = 2;
    QueueKey(kKeyCodeReturn, '\r');
    Post(kFileMenu, 19);
    EXPECT_NE(Pdf("pdfinfo").find("Pages:           1"), std::string::npos) << Pdf("pdfinfo");
    EXPECT_NE(Text().find("Sheet 2 of 3"), std::string::npos);
    EXPECT_TRUE(RecordedAlerts().empty());
}

TEST_F(FramesGui, CancelsAndMissedPageRangesPrintNothing) {
    Draw(10, 10, 90, 90);
    Frame(0, 0, 100, 100, "Plan");
    struct Case {
        const char* what;
        bool cancelList, cancelPrint;
        SInt32 first, last;
        int dialogs;
    } cases[] = {
        {"the list cancelled", true, false, 1, 9, 0},
        {"the print dialog cancelled", false, true, 1, 9, 1},
        {"a range after the last page", false, false, 2, 9, 1},
        {"a range before the first page", false, false, -5, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        printDialogs = 0;
        cancelPrint = c.cancelPrint;
        first = c.first, last = c.last;
        doc->drawing->changed = false;
        QueueKey(c.cancelList ? kKeyCodeEscape : kKeyCodeReturn, c.cancelList ? 0x1B : '\r');
        Post(kFileMenu, 19);
        EXPECT_EQ(printDialogs, c.dialogs);
        EXPECT_FALSE(Exists(output));
        EXPECT_TRUE(RecordedAlerts().empty());
    }
}

TEST_F(FramesGui, PrintWholeDrawingLeavesNoFrameBehind) {
    if (!HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext and qpdf are needed";
    Draw(10, 10, 150, 100);
    Post(kFileMenu, 20);
    EXPECT_EQ(printDialogs, 1);
    EXPECT_NE(Pdf("pdfinfo").find("Pages:           1"), std::string::npos) << Pdf("pdfinfo");
    EXPECT_EQ(CountFrames(doc), 0);
}

TEST_F(FramesGui, PdfOfARectangleWritesTheDraggedRectangle) {
    if (!HavePdfTools()) GTEST_SKIP() << "pdfinfo, pdftotext and qpdf are needed";
    Draw(30, 30, 110, 70);
    std::string proposed = "unset";
    SetFilePanelResponders(nullptr, [&](SavePanelRequest& request, std::string* path) {
        proposed = request.proposedName;
        *path = output;
        return true;
    });
    Post(kOutputAreasMenu, 5);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 184);
    DragFrom(20, 20, 120, 80);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 0);
    EXPECT_EQ(proposed, "");
    const DrawingViewState& v = doc->drawing->view;
    char size[64];
    std::snprintf(size, sizeof size, "%ld x %ld pts", std::lround(v.dragRectWidth * 72 / 25.4),
                  std::lround(v.dragRectHeight * 72 / 25.4));
    EXPECT_NE(Pdf("pdfinfo").find(size), std::string::npos) << size << "\n" << Pdf("pdfinfo");
    EXPECT_NEAR(v.dragRectX, 20, 0.5);
    EXPECT_NEAR(v.dragRectY, 20, 0.5);
    EXPECT_NE(Pdf("qpdf --check").find("No syntax or stream encoding errors"), std::string::npos);

    // A cancelled panel writes nothing.
    std::remove(output.c_str());
    SetFilePanelResponders(nullptr, [](SavePanelRequest&, std::string*) { return false; });
    Post(kOutputAreasMenu, 5);
    DragFrom(20, 20, 120, 80);
    EXPECT_FALSE(Exists(output));
}

TEST_F(FramesGui, PreviewPictureFromADraggedRectangle) {
    Draw(30, 30, 110, 70);
    Handle before = doc->drawing->previewPicture;
    doc->drawing->changed = false;
    Command(kFileMenu, 22);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 178);
    DragFrom(20, 20, 120, 80);
    EXPECT_EQ(doc->drawing->toolInput.pendingCommand, 0);
    ASSERT_NE(doc->drawing->previewPicture, nullptr);
    EXPECT_NE(doc->drawing->previewPicture, before);
    EXPECT_GT(GetHandleSize(doc->drawing->previewPicture), 512);
    EXPECT_TRUE(doc->drawing->changed);
}

TEST_F(FramesGui, PrintOptionsSetEachFramesScaleAndTheSwitches) {
    Frame(0, 0, 100, 100, "A");
    Frame(0, 0, 100, 100, "B");
    FrameAt(doc, 1)->kind = 1;
    PrintSelectedFrame(doc->settings) = 1;
    // Frame A's scale typed, then frame B chosen and 1:50 taken from the presets; corner marks on.
    QueueTypedText("0.5");
    QueuePopUpMenuChoice(2);
    QueueGlobalClick(kOptionsOrigin, 200, 26); // the page pop-up
    QueuePopUpMenuChoice(8);                   // 1:50
    QueueGlobalClick(kOptionsOrigin, 340, 64); // the preset scales
    QueueGlobalClick(kOptionsOrigin, 30, 130); // corner marks
    QueueKey(kKeyCodeReturn, '\r');
    Post(kPagesMenu, 6);
    const FrameRecord* a = FrameAt(doc, 1);
    const FrameRecord* b = FrameAt(doc, 2);
    EXPECT_DOUBLE_EQ(a->scale, 0.5);
    EXPECT_DOUBLE_EQ(b->scale, 0.02);
    EXPECT_DOUBLE_EQ(b->scaleX, 0.02 / 25.4 * 72);
    EXPECT_EQ(PrintSelectedFrame(doc->settings), 2);
    EXPECT_EQ(PrintCornerMarks(doc->settings), 1);
    EXPECT_EQ(PrintFitToPage(doc->settings), 0);
    // The one-page frame keeps its centre and takes its sheet's size at its new scale.
    EXPECT_NEAR((a->rect[0] + a->rect[2]) / 2, 50, 1e-9);
    EXPECT_NEAR(a->rect[2] - a->rect[0], 559 / (0.5 / 25.4 * 72), 1e-9);
    EXPECT_DOUBLE_EQ(b->rect[2], 100) << "a frame of several sheets keeps its rectangle";

    // Cancel keeps everything; a typed value that is no positive number is not taken.
    QueueTypedText("0");
    QueueKey(kKeyCodeReturn, '\r');
    Post(kPagesMenu, 6);
    EXPECT_DOUBLE_EQ(FrameAt(doc, 2)->scale, 0.02);
    QueueTypedText("2");
    QueueKey(kKeyCodeEscape, 0x1B);
    Post(kPagesMenu, 6);
    EXPECT_DOUBLE_EQ(FrameAt(doc, 2)->scale, 0.02);
}

TEST_F(FramesGui, ScaleTextKeepsEveryPresetExact) {
    EXPECT_EQ(FrameScaleText(0.02), "0.020");
    EXPECT_EQ(FrameScaleText(1.0 / 1250), "0.0008");
    EXPECT_EQ(FrameScaleText(2.5), "2.500");
    for (SInt16 i = 0; i < 33; ++i) {
        Float64 s = doc->drawing->layout.presetScales[i];
        std::string text = FrameScaleText(s);
        EXPECT_NEAR(std::strtod(text.c_str(), nullptr), s, s * 0.01) << text;
    }
}

TEST_F(FramesGui, PageSetupOfAFrameStoresItsPaperAndCentresIt) {
    Frame(0, 0, 100, 100, "A");
    FrameRecord* f = FrameAt(doc, 1);
    f->kind = 1;
    f->scale = 1;
    bool cancel = true;
    SetPrintDialogResponder([&](PrintJobSetup*, PrintPageSetup* page) {
        if (cancel) return kPMCancel;
        page->orientation = 2;
        return OSStatus(noErr);
    });
    doc->drawing->changed = false;
    Post(kPageSetupMenu, 2);
    EXPECT_FALSE(doc->drawing->changed);
    EXPECT_DOUBLE_EQ(f->rect[2], 100);
    cancel = false;
    Post(kPageSetupMenu, 2);
    EXPECT_TRUE(doc->drawing->changed);
    EXPECT_EQ(PageFormatOf(f->pageFormat).orientation, 2);
    EXPECT_EQ(f->paperRect.right, 842) << "the sheet lies across";
    EXPECT_NEAR(f->rect[2] - f->rect[0], (842 - 36) * 25.4 / 72, 1e-9);
    EXPECT_NEAR((f->rect[0] + f->rect[2]) / 2, 50, 1e-9);
    // The drawing's own setup.
    Post(kPageSetupMenu, 1);
    EXPECT_EQ(PageFormatOf(doc->drawing->pageFormat).orientation, 2);
}

} // namespace
