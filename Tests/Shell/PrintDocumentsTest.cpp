// Printing files named on the command line: one print-documents event prints the current frame of
// each file through the print dialog, closes the file without asking and quits; the first failure
// is the result.
#include "ShellTestSupport.h"

#include "Files/NativeDocument.h"
#include "Files/Printing.h"
#include "Model/ElementRecords.h"
#include "Model/LayersFrames.h"
#include "Platform/DialogManager.h"
#include "Platform/FileManager.h"
#include "Platform/PascalBytes.h"
#include "Platform/PrintSession.h"
#include "Shell/AppleEvents.h"
#include "Shell/DocumentWindow.h"
#include "Shell/StartupShutdown.h"
#include "TestSupport.h"

#include <cstdio>

namespace {

class PrintDocumentsTest : public ShellTest {
  protected:
    void TearDown() override {
        SetPrintDialogResponder(nullptr);
        ShellTest::TearDown();
    }
    // A saved drawing with a line, a frame "Elevation" on it and a header naming the frame.
    std::string SavedDrawingWithFrame(const std::string& folder, bool withFrame = true) {
        DocWindowRecord* doc = NewFromMenu();
        if (doc == nullptr) return {};
        AddUndoableLine(doc);
        CStrToPStr(doc->drawing->headerFooter.texts[1], 256, "Sheet &p");
        Str255 name;
        CStrToPStr(name, 256, "Elevation");
        if (withFrame) {
            EXPECT_TRUE(NewFrameFromRect(doc, 0, -20, -20, 120, 80, name));
        }
        const std::string path = folder + (withFrame ? "/Elevation.cadx" : "/NoFrames.cadx");
        EXPECT_EQ(FSMakeRef(path.c_str(), &doc->drawing->file), noErr);
        EXPECT_TRUE(SaveDocument(doc, true, false, false, false, false));
        CloseDocumentWindow(doc, false, false, false);
        return path;
    }
};

TEST_F(PrintDocumentsTest, CommandLineNamesFilesToOpenAndAfterPrintFilesToPrint) {
    CommandLineFiles files = ParseCommandLine({"a.cadx", "--print", "b.cadx", "c.cadx"});
    EXPECT_EQ(files.open, std::vector<std::string>{"a.cadx"});
    EXPECT_EQ(files.print, (std::vector<std::string>{"b.cadx", "c.cadx"}));
    EXPECT_TRUE(ParseCommandLine({"--print"}).print.empty());
}

TEST_F(PrintDocumentsTest, PrintRunPrintsEachFileClosesItKeepsTheFirstFailureAndQuits) {
    if (CommandOutput("command -v pdfinfo pdftotext qpdf").empty())
        GTEST_SKIP() << "poppler-utils and qpdf needed";
    const std::string folder = MakeTestFolder("print_documents");
    const std::string drawing = SavedDrawingWithFrame(folder);
    const std::string pdf = folder + "/printed.pdf";
    std::remove(pdf.c_str());
    int dialogs = 0;
    SetPrintDialogResponder([&](PrintJobSetup* job, PrintPageSetup*) {
        ++dialogs;
        job->outputFile = pdf;
        return OSStatus(noErr);
    });
    ClearRecordedAlerts();
    // The page list takes the first page, as Return would (the list is tested with the frames).
    SetPrintFrameChooser([](DocWindowRecord*) { return Boolean(true); });
    SendCommandLineEvents(ParseCommandLine({"--print", folder + "/Missing.cadx", drawing}));
    RunLoop();

    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(OpenDocumentList, nullptr); // printed and closed, nothing asked
    EXPECT_TRUE(QuitFlag);
    EXPECT_EQ(LastPrintDocumentsResult(), fnfErr); // the missing file came first
    ASSERT_EQ(RecordedAlerts().size(), 1u);
    std::string shown;
    for (const std::string& p : RecordedAlerts()[0].params)
        shown += p;
    EXPECT_NE(shown.find("Missing.cadx"), std::string::npos) << shown;

    EXPECT_NE(CommandOutput("qpdf --check '" + pdf + "' 2>&1").find("No syntax or stream encoding errors"),
              std::string::npos);
    EXPECT_NE(CommandOutput("pdfinfo '" + pdf + "'").find("Pages:           1"), std::string::npos);
    EXPECT_NE(CommandOutput("pdftotext '" + pdf + "' -").find("Sheet Elevation"), std::string::npos);
}

TEST_F(PrintDocumentsTest, CancelledOrFramelessPrintsNothingYetClosesTheFile) {
    const std::string folder = MakeTestFolder("print_documents_none");
    const std::string plain = SavedDrawingWithFrame(folder, false);
    const std::string framed = SavedDrawingWithFrame(folder);
    int dialogs = 0;
    SetPrintDialogResponder([&](PrintJobSetup*, PrintPageSetup*) {
        ++dialogs;
        return kPMCancel;
    });
    ClearRecordedAlerts();
    AppleEvent event, reply;
    event.eventClass = kCoreEventClass;
    event.eventID = kAEPrintDocuments;
    event.files = {framed, plain};
    // The cancel is the user's choice; the drawing without frames is told and is the failure.
    QueueKey(kKeyCodeReturn, kReturnCharCode); // the page list: its first page
    EXPECT_EQ(HandlePrintDocuments(&event, &reply, 0), paramErr);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(OpenDocumentList, nullptr);
    EXPECT_EQ(RecordedAlerts().size(), 1u);
    EXPECT_FALSE(QuitFlag);
}

} // namespace
