// Opening a drawing whose name is already open: the question of alert 151, answered in its own
// window by the keys a user types, and what each answer makes. Also the message that closes itself.
#include "ShellTestSupport.h"

#include "Platform/AppResources.h"
#include "Shell/AppleEvents.h"
#include "Platform/DialogManager.h"
#include "Model/ElementRecords.h"
#include "Shell/DocumentWindow.h"
#include "Platform/Events.h"
#include "Platform/FileManager.h"
#include "Interface/ModalDialogs.h"
#include "Files/NativeDocument.h"
#include "Model/NewDocument.h"
#include "Platform/PlatformWindowInternal.h"
#include "Platform/QuickDraw.h"
#include "Tools/StatusArea.h"
#include "TestSupport.h"
#include "Other/ZEZUdivari.h"

#include <cstdlib>
#include <string>

namespace {

constexpr UInt8 kReturnKey = 0x24, kEscapeKey = 0x35;

class NameInUseTest : public ShellTest {
  protected:
    // A drawing saved under path with `lines` lines, its window closed again.
    void SaveDrawing(const std::string& path, int lines) {
        DocWindowRecord* doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        for (int i = 0; i < lines; ++i)
            AddUndoableLine(doc, 20.0 * i);
        ASSERT_EQ(FSMakeRef(path.c_str(), &doc->drawing->file), noErr);
        ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
        CloseDocumentWindow(doc, false, false, false);
        ASSERT_EQ(OpenDocumentList, nullptr);
    }
    OSErr Open(const std::string& path) {
        AppleEvent event, reply;
        event.eventClass = kCoreEventClass;
        event.eventID = kAEOpenDocuments;
        event.files = {path};
        return HandleOpenDocuments(&event, &reply, 0);
    }
    static int Lines(DocWindowRecord* doc) {
        int n = 0;
        for (LineRecord* l = doc->lineHead->next; l != nullptr; l = l->next)
            ++n;
        return n;
    }
};

} // namespace

// The same file twice, and two files of one name from two folders: alert 151 names the drawing and
// the free default name; Return takes that name (a second, untitled window that owns no file, so it
// can never save over the first), Escape makes nothing and reports nothing.
TEST_F(NameInUseTest, ASecondDrawingOfAnOpenNameAsksAndEachAnswerGivesItsOutcome) {
    const std::string folder = MakeTestFolder("name_in_use");
    ASSERT_EQ(std::system(("mkdir -p '" + folder + "/a' '" + folder + "/b'").c_str()), 0);
    const std::string first = folder + "/a/Plan.cadx", other = folder + "/b/Plan.cadx";
    SaveDrawing(first, 1);
    SaveDrawing(other, 2);

    struct Case {
        const char* what;
        std::string second; // the file opened while the first is open
        UInt8 keyCode, charCode;
        int documents;   // open afterwards
        int secondLines; // lines in the second window
    };
    const Case cases[] = {
        {"same file, Return", first, kReturnKey, '\r', 2, 1},
        {"same file, Escape", first, kEscapeKey, 0x1B, 1, 0},
        {"other folder, Return", other, kReturnKey, '\r', 2, 2},
        {"other folder, Escape", other, kEscapeKey, 0x1B, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearRecordedAlerts();
        ASSERT_EQ(Open(first), noErr);
        DocWindowRecord* plan = OpenDocumentList;
        ASSERT_NE(plan, nullptr);
        EXPECT_TRUE(RecordedAlerts().empty());

        QueueKey(c.keyCode, c.charCode);
        EXPECT_EQ(Open(c.second), noErr);       // declining is no failure to report
        EXPECT_EQ(SimulatedStepsPending(), 0u); // the alert's own window took the key
        ASSERT_EQ(RecordedAlerts().size(), 1u);
        EXPECT_EQ(RecordedAlerts()[0].alertId, kNameInUseAlert);
        EXPECT_EQ(RecordedAlerts()[0].params[0], ToStd(plan->drawing->documentName));
        EXPECT_EQ(RecordedAlerts()[0].params[1], "Untitled");

        EXPECT_EQ(CountOpenDocuments(), c.documents);
        EXPECT_TRUE(plan->drawing->hasFile);
        EXPECT_EQ(plan->drawing->file.path, first);
        if (c.documents == 2) {
            DocWindowRecord* copy = plan->next;
            ASSERT_NE(copy, nullptr);
            EXPECT_EQ(ToStd(copy->drawing->documentName), "Untitled");
            EXPECT_FALSE(copy->drawing->hasFile);
            EXPECT_EQ(Lines(copy), c.secondLines);
            Str255 title;
            GetWTitle(copy->window, title);
            EXPECT_EQ(ToStd(title), "Untitled");
        }
        while (OpenDocumentList != nullptr)
            CloseDocumentWindow(OpenDocumentList, false, false, false);
    }
}

namespace {

// What the timed message's window held when it went away.
struct ClosedWindow {
    bool seen = false;
    Rect bounds{};
    int darkInTextBand = 0, darkElsewhere = 0;
} gClosed;

void NoteClosingWindow(WindowRef window, WindowChange change) {
    if (change != WindowChange::disposing) return; // the only window made while it listens
    gClosed.seen = true;
    GetPortBounds(GetWindowPort(window), &gClosed.bounds);
    const Rect& b = gClosed.bounds;
    for (SInt16 v = b.top; v < b.bottom; ++v)
        for (SInt16 h = b.left; h < b.right; ++h) {
            RGBColor c = GetPortPixel(GetWindowPort(window), h, v);
            if (c.red > 0x8000) continue;
            // The text stands on a baseline 18 pixels above the bottom, 12 points high.
            if (v >= b.bottom - kTimedMessageBaseline - 12 && v <= b.bottom - kTimedMessageBaseline + 4)
                ++gClosed.darkInTextBand;
            else
                ++gClosed.darkElsewhere;
        }
}

} // namespace

TEST_F(NameInUseTest, ATimedMessageShowsDialog160ForThreeSecondsAndClosesItself) {
    gClosed = ClosedWindow{};
    WindowRef front = FrontWindow(); // the menu bar's window
    PlatformAddWindowObserver(NoteClosingWindow);
    const UInt32 start = TickCount();
    ShowTimedMessage(PStr("Drawing saved"));
    const UInt32 elapsed = TickCount() - start;
    PlatformRemoveWindowObserver(NoteClosingWindow);

    ASSERT_TRUE(gClosed.seen);
    const DialogDesc* desc = FindDialogResource(kTimedMessageDialog);
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(gClosed.bounds.right - gClosed.bounds.left, desc->bounds.right - desc->bounds.left);
    EXPECT_EQ(gClosed.bounds.bottom - gClosed.bounds.top, desc->bounds.bottom - desc->bounds.top);
    EXPECT_GT(gClosed.darkInTextBand, 20);
    EXPECT_EQ(gClosed.darkElsewhere, 0);
    EXPECT_GE(elapsed, kTimedMessageTicks);
    EXPECT_EQ(FrontWindow(), front);
    EXPECT_EQ(DialogStackDepth(), 0);
}
