// The replies of the open-documents and quit events: the first failure stays in the reply, and a
// quit the user cancels answers so.
#include "ShellTestSupport.h"

#include "Shell/AppleEvents.h"
#include "Platform/DialogManager.h"
#include "Shell/DocumentWindow.h"
#include "Platform/FileManager.h"
#include "Files/NativeDocument.h"
#include "Files/Preferences.h"
#include "TestSupport.h"

#include <cstdio>

TEST_F(ShellTest, OpenDocumentsKeepsTheFirstFailureAndAutomaticFormat) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    const std::string folder = MakeTestFolder("required_events");
    const std::string good = folder + "/Good.cadx";
    ASSERT_EQ(FSMakeRef(good.c_str(), &doc->drawing->file), noErr);
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    CloseDocumentWindow(doc, false, false, false);

    GeneralPrefs.openFormat = 4; // a fixed format the user chose: the event does not use it
    AppleEvent event, reply;
    event.eventClass = kCoreEventClass;
    event.eventID = kAEOpenDocuments;
    // An item that names no file fails; the file that opens after it does not
    // turn the reply into a success.
    event.files = {"", good};
    EXPECT_EQ(HandleOpenDocuments(&event, &reply, 0), bdNamErr);
    ASSERT_NE(OpenDocumentList, nullptr);
    EXPECT_EQ(UInt32(GeneralPrefs.openFormat), 4u);
    GeneralPrefs.openFormat = 1;
}

TEST_F(ShellTest, AQuitCancelledAtAChangedDrawingAnswersUserCancelled) {
    DocWindowRecord* doc = NewFromMenu();
    ASSERT_NE(doc, nullptr);
    AddUndoableLine(doc);
    SetAlertResponder([](const AlertRecord&) { return SInt16(2); }); // Cancel
    AppleEvent event, reply;
    event.eventClass = kCoreEventClass;
    event.eventID = kAEQuitApplication;
    EXPECT_EQ(HandleQuitApp(&event, &reply, 0), userCanceledErr);
    EXPECT_EQ(OpenDocumentList, doc);
    EXPECT_FALSE(QuitFlag);
    SetAlertResponder([](const AlertRecord&) { return SInt16(3); }); // Don't Save
    EXPECT_EQ(HandleQuitApp(&event, &reply, 0), noErr);
    EXPECT_EQ(OpenDocumentList, nullptr);
    QuitFlag = false;
}

// Files handed over from the command line fail where nobody reads the reply: each failure is shown,
// once, naming its file, and the reply carries the first real cause.
TEST_F(ShellTest, OpenDocumentsShowsOneAlertNamingEachFileThatFails) {
    const std::string folder = MakeTestFolder("required_events_bad");
    const std::string damaged = folder + "/Damaged.cadx";
    {
        FILE* f = std::fopen(damaged.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("this is no drawing at all, only words where the header should be", f);
        std::fclose(f);
    }
    AppleEvent event, reply;
    event.eventClass = kCoreEventClass;
    event.eventID = kAEOpenDocuments;
    event.files = {folder + "/Missing.cadx", damaged};
    ClearRecordedAlerts();
    EXPECT_EQ(HandleOpenDocuments(&event, &reply, 0), fnfErr);
    EXPECT_EQ(OpenDocumentList, nullptr);
    ASSERT_EQ(RecordedAlerts().size(), 2u);
    const char* names[] = {"Missing.cadx", "Damaged.cadx"};
    for (size_t i = 0; i < 2; ++i) {
        std::string shown;
        for (const std::string& p : RecordedAlerts()[i].params)
            shown += p;
        EXPECT_NE(shown.find(names[i]), std::string::npos) << shown;
    }
}
