// The replies of the open-documents and quit events: the first failure stays in the reply, and a
// quit the user cancels answers so.
#include "ShellTestSupport.h"

#include "AppleEvents.h"
#include "Dialogs.h"
#include "DocumentWindow.h"
#include "FileManager.h"
#include "NativeDocument.h"
#include "Preferences.h"
#include "TestSupport.h"

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
    // An item that names no file fails without an alert; the file that opens after it does not
    // turn the reply into a success.
    event.files = {"", good};
    EXPECT_EQ(HandleOpenDocuments(&event, &reply, 0), bdNamErr);
    ASSERT_NE(OpenDocumentList, nullptr);
    EXPECT_EQ(GeneralPrefs.openFormat, 4u);
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
