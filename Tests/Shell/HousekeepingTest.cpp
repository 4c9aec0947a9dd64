// The loop's care of the front document: the undo-limit warnings, auto-save by steps and by minutes,
// and a failed undo journal. The drawings here have no file, so each save asks for one in the Save
// panel, which a responder counts and cancels.
#include "ShellTestSupport.h"

#include "Platform/DialogManager.h"
#include "Platform/FileChoosers.h"
#include "Platform/SimulatedInput.h"
#include "Model/UndoJournal.h"

namespace {

int gSavePanels = 0;

int SaveAttempts() {
    return gSavePanels;
}

int AlertsOf(SInt16 id) {
    int n = 0;
    for (const AlertRecord& a : RecordedAlerts())
        if (a.alertId == id) ++n;
    return n;
}

class HousekeepingTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        SetAlertResponder([](const AlertRecord&) { return SInt16(2); });
        gSavePanels = 0;
        SetFilePanelResponders(nullptr, [](SavePanelRequest&, std::string*) {
            ++gSavePanels;
            return false;
        });
        doc = NewFromMenu();
        ASSERT_NE(doc, nullptr);
        doc->settings->autoSaveOn = 0;
    }
    void TearDown() override {
        SetFilePanelResponders(nullptr, nullptr);
        ShellTest::TearDown();
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i)
            AddUndoableLine(doc, i);
    }
    DocWindowRecord* doc = nullptr;
};

} // namespace

TEST_F(HousekeepingTest, AutoSaveByStepsKeepsTheHistoryWhenNothingWasSavedAndWaitsBeforeTrying) {
    doc->settings->autoSaveBySteps = 1;
    doc->settings->undoWarnSteps2 = 5; // taken as 20
    Steps(19);
    RunPasses(3);
    EXPECT_EQ(SaveAttempts(), 0);
    Steps(1);
    RunPasses(3);
    EXPECT_EQ(SaveAttempts(), 1);
    EXPECT_EQ(doc->settings->undoWarnSteps2, 20);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 20);
    EXPECT_TRUE(IsUndoRecording(doc));
    // The history is all there.
    UndoLastStep(doc);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 19);
    RunPasses(5);
    EXPECT_EQ(SaveAttempts(), 1);
    Steps(20);
    RunPasses(2);
    EXPECT_EQ(SaveAttempts(), 2);
}

TEST_F(HousekeepingTest, TheUndoLimitWarnsOnceAtLeastAtTwentySteps) {
    doc->settings->undoWarnSteps = 5;
    Steps(19);
    RunPasses(2);
    EXPECT_EQ(AlertsOf(138), 0);
    Steps(1);
    RunPasses(4);
    EXPECT_EQ(AlertsOf(138), 1);
    EXPECT_EQ(doc->settings->undoWarnSteps, 20);
}

TEST_F(HousekeepingTest, AFailedJournalIsReplacedAndReportedOnce) {
    Steps(2);
    // As the journal reports a write failure: the user was told when it happened.
    doc->drawing->undo.undoWriteFailed = 1;
    doc->drawing->undo.undoFailureCount = 1;
    doc->drawing->undo.undoGuard2 = 1;
    RunPasses(4);
    EXPECT_EQ(AlertsOf(128), 0);
    EXPECT_TRUE(IsUndoRecording(doc));
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 0);

    // A failure nobody reported yet is reported, once.
    doc->drawing->undo.undoWriteFailed = 1;
    doc->drawing->undo.undoFailureCount = 3;
    doc->drawing->undo.undoGuard2 = 0;
    RunPasses(4);
    EXPECT_EQ(AlertsOf(128), 1);
    Steps(1);
    EXPECT_EQ(doc->drawing->undo.undoStepCount, 1);
}

TEST_F(HousekeepingTest, TheTimedSaveClockStartsWithTheDocument) {
    // A long time after start a new drawing is not saved at once.
    PlatformAdvanceVirtualTime(3600 * 120);
    DocWindowRecord* late = NewFromMenu();
    ASSERT_NE(late, nullptr);
    late->settings->autoSaveOn = 1;
    late->settings->autoSaveMinutes = 2; // taken as 5
    RunPasses(3);
    EXPECT_EQ(SaveAttempts(), 0);
    PlatformAdvanceVirtualTime(3600 * 4);
    RunPasses(2);
    EXPECT_EQ(SaveAttempts(), 0);
    PlatformAdvanceVirtualTime(3600 * 1 + 60);
    RunPasses(2);
    EXPECT_EQ(SaveAttempts(), 1);
    EXPECT_EQ(late->settings->autoSaveMinutes, 5);
    RunPasses(3);
    EXPECT_EQ(SaveAttempts(), 1);
}
