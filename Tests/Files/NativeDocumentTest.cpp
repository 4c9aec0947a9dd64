// Saving and opening drawings on disk: both forks round-trip, the safe save survives a failure at
// any point (a write error at byte N, a folder without write permission, a kill between the steps),
// damaged files are refused without touching what is open, and names, links and backups behave.
#include "FilesFixture.h"

#include "Platform/AppleDouble.h"
#include "Model/ElementLists.h"
#include "Platform/FileManager.h"
#include "Files/FileNames.h"
#include "Platform/Fonts.h"
#include "GuiHarness.h"
#include "Files/NativeDocument.h"
#include "Files/NativeFile.h"
#include "Model/NewDocument.h"
#include "Files/Preferences.h"
#include "Files/PrintRecords.h"
#include "Platform/AppResources.h"
#include "Platform/ResourceFiles.h"
#include "TestSupport.h"
#include "Other/ZEZUdivari.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

struct SavedFile {
    std::vector<UInt8> data, sidecar;
};

SavedFile Snapshot(const std::string& path) {
    return SavedFile{ReadFileBytes(path), ReadFileBytes(SidecarPath(path.c_str()))};
}

} // namespace

class NativeDocumentTest : public FilesTest {
  protected:
    std::string folder;
    void SetUp() override {
        FilesTest::SetUp();
        folder = MakeTestFolder("NativeDocument");
        SetSaveStepHook(nullptr);
    }
    void TearDown() override {
        SetSaveStepHook(nullptr);
        FilesTest::TearDown();
    }

    // A filled document saved once to `name` in the test folder.
    DocWindowRecord* SavedDocument(const std::string& name) {
        DocWindowRecord* doc = NewDoc();
        FillDocument(doc);
        doc->drawing->file = RefFor(folder + "/" + name);
        EXPECT_TRUE(SaveDocument(doc, true, false, false, false, false));
        return doc;
    }
};

TEST_F(NativeDocumentTest, SavedDrawingOpensWithBothForks) {
    DocWindowRecord* doc = SavedDocument("Plan.cadx");
    EXPECT_FALSE(doc->drawing->changed);
    EXPECT_TRUE(doc->drawing->hasFile);
    std::string path = folder + "/Plan.cadx";
    FSRef ref = RefFor(path);
    FInfo info{};
    ASSERT_EQ(FSGetFinderInfo(&ref, &info), noErr);
    EXPECT_EQ(info.fdType, kNativeFileType);
    EXPECT_EQ(info.fdCreator, kNativeCreator);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"._Plan.cadx", "Plan.cadx"}));

    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    EXPECT_FALSE(back->drawing->changed);
    EXPECT_STREQ(back->drawing->file.path, ref.path);
    EXPECT_EQ(ToStd(back->drawing->documentName), "Plan.cadx");
    EXPECT_EQ(DataForkBytes(back), DataForkBytes(doc));
    // The resource fork: header and footer texts, the selection table, the frame's page format.
    EXPECT_EQ(ToStd(back->drawing->headerFooter.texts[5]), "Footer 3");
    ASSERT_NE(back->drawing->criteriaTables, nullptr);
    EXPECT_EQ(ToStd(back->drawing->criteriaTables->rows[0].condition), "= 2");
    ASSERT_NE(back->drawing->frames, nullptr);
    EXPECT_EQ(PageFormatOf(back->drawing->frames->pageFormat).orientation, 2);
    EXPECT_EQ(RecentFileCount() > 0 ? std::string(RefFor(path).path) : "", path);
}

TEST_F(NativeDocumentTest, SaveOverAnExistingFileKeepsTheOldOneAsBackupAndNothingElse) {
    DocWindowRecord* doc = SavedDocument("Part.cadx");
    std::vector<UInt8> first = ReadFileBytes(folder + "/Part.cadx");
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 5, 5, 6, 6, false);
    MarkDocumentChanged(doc);
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    EXPECT_EQ(ReadFileBytes(folder + "/Part.cadx.BAK"), first);
    EXPECT_EQ(FolderEntries(folder),
              (std::vector<std::string>{"._Part.cadx", "._Part.cadx.BAK", "Part.cadx", "Part.cadx.BAK"}));
    doc->settings->keepBackup = false;
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    EXPECT_EQ(FolderEntries(folder).size(), 4u); // the older backup stays, no new one, no temporary file
}

TEST_F(NativeDocumentTest, TheFirstSaveDatesTheDrawingsCreationAndLaterSavesKeepIt) {
    DocWindowRecord* doc = SavedDocument("Dated.cadx");
    const UInt32 created = doc->settings->creationDate;
    EXPECT_NE(created, 0u);
    EXPECT_EQ(created, doc->settings->saveDate);
    doc->settings->saveDate = 0;
    MarkDocumentChanged(doc);
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    EXPECT_EQ(doc->settings->creationDate, created);
    DocWindowRecord* back = nullptr;
    FSRef ref = RefFor(folder + "/Dated.cadx");
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    EXPECT_EQ(back->settings->creationDate, created);
}

TEST_F(NativeDocumentTest, WriteErrorAtAnyByteLeavesTheOldFileAndMarksTheDocumentChanged) {
    DocWindowRecord* doc = SavedDocument("Disk.cadx");
    std::string path = folder + "/Disk.cadx";
    SavedFile before = Snapshot(path);
    std::vector<std::string> entries = FolderEntries(folder);
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 1, 1, 2, 2, false);
    size_t total = before.data.size() + 64 + before.sidecar.size() + 200;
    int failures = 0;
    for (size_t n = 0; n < total; n += (n < 300 ? 7 : 997)) {
        SCOPED_TRACE(n);
        for (Boolean replace : {false, true}) {
            ClearRecordedAlerts();
            MarkDocumentChanged(doc);
            FSFaultInjection faults;
            faults.writeBudget = SInt64(n);
            FSSetFaultInjection(faults);
            Boolean saved = SaveDocument(doc, replace, false, false, false, false);
            FSClearFaultInjection();
            SavedFile after = Snapshot(path);
            if (saved) {
                // The budget outlasted the whole save, sidecar included.
                EXPECT_TRUE(ErrorMessagesShown().empty());
                EXPECT_GT(n, before.data.size());
                return;
            }
            ++failures;
            EXPECT_EQ(after.data, before.data);
            EXPECT_EQ(after.sidecar, before.sidecar);
            EXPECT_TRUE(doc->drawing->changed);
            EXPECT_EQ(FolderEntries(folder), entries);
            // Creating the temporary file reports the system's reason; writing it, the full disk.
            ASSERT_FALSE(ErrorMessagesShown().empty());
            SInt16 shown = ErrorMessagesShown().back();
            EXPECT_TRUE(shown == kMsgSaveDiskFull || shown == 12) << shown;
        }
    }
    EXPECT_GT(failures, 20);
}

TEST_F(NativeDocumentTest, FlushAndCloseErrorsFailTheSave) {
    DocWindowRecord* doc = SavedDocument("Sync.cadx");
    SavedFile before = Snapshot(folder + "/Sync.cadx");
    for (int which = 0; which < 2; ++which)
        for (SInt32 n = 1; n <= 6; ++n) {
            SCOPED_TRACE(testing::Message() << which << " " << n);
            ClearRecordedAlerts();
            MarkDocumentChanged(doc);
            FSFaultInjection faults;
            (which == 0 ? faults.failFlushAt : faults.failCloseAt) = n;
            FSSetFaultInjection(faults);
            Boolean saved = SaveDocument(doc, false, false, false, false, false);
            FSClearFaultInjection();
            if (saved) {
                // The failure hit a fork that carried nothing of the drawing.
                EXPECT_TRUE(ErrorMessagesShown().empty());
                before = Snapshot(folder + "/Sync.cadx");
                continue;
            }
            EXPECT_TRUE(doc->drawing->changed);
            EXPECT_EQ(Snapshot(folder + "/Sync.cadx").data, before.data);
            EXPECT_EQ(Snapshot(folder + "/Sync.cadx").sidecar, before.sidecar);
            SInt16 shown = ErrorMessagesShown().back();
            EXPECT_TRUE(shown == kMsgSaveFailed || shown == 12) << shown;
        }
    EXPECT_EQ(FolderEntries(folder),
              (std::vector<std::string>{"._Sync.cadx", "._Sync.cadx.BAK", "Sync.cadx", "Sync.cadx.BAK"}));
}

TEST_F(NativeDocumentTest, AFailedExchangeIsAFailedSave) {
    DocWindowRecord* doc = SavedDocument("Swap.cadx");
    SavedFile before = Snapshot(folder + "/Swap.cadx");
    FSFaultInjection faults;
    faults.failExchange = true;
    FSSetFaultInjection(faults);
    EXPECT_FALSE(SaveDocument(doc, false, false, false, false, false));
    FSClearFaultInjection();
    EXPECT_TRUE(doc->drawing->changed);
    EXPECT_EQ(Snapshot(folder + "/Swap.cadx").data, before.data);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"._Swap.cadx", "Swap.cadx"}));
    EXPECT_EQ(ErrorMessagesShown().back(), kMsgSaveFailed);
}

TEST_F(NativeDocumentTest, KilledBetweenTheStepsTheNextOpenFindsAMatchingPairAndNoLeftovers) {
    DocWindowRecord* doc = SavedDocument("Kill.cadx");
    std::string path = folder + "/Kill.cadx";
    doc->settings->keepBackup = false;
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    SavedFile before = Snapshot(path);
    // The new version differs in both forks: one more line, another header text.
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 3, 3, 4, 4, false);
    CStrToPStr(doc->drawing->headerFooter.texts[0], 256, "New header");
    static SaveStep stopAt;
    struct Case {
        SaveStep step;
        bool betweenForks;
        bool refuseAtomic;
        bool committed;
    } cases[] = {
        {SaveStep::dataWritten, false, false, false}, {SaveStep::resourcesWritten, false, false, false},
        {SaveStep::exchanged, true, false, true},     {SaveStep::exchanged, true, true, true},
        {SaveStep::exchanged, false, false, true},    {SaveStep::backupMade, false, false, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << int(k.step) << " " << k.betweenForks << " " << k.refuseAtomic);
        WriteFileBytes(path, before.data);
        WriteFileBytes(SidecarPath(path.c_str()), before.sidecar);
        stopAt = k.step;
        SetSaveStepHook([](SaveStep step) { return Boolean(step == stopAt); });
        FSFaultInjection faults;
        faults.stopAfterDataExchange = k.betweenForks;
        faults.refuseAtomicExchange = k.refuseAtomic;
        FSSetFaultInjection(faults);
        SaveDocument(doc, false, false, false, false, false);
        FSClearFaultInjection();
        SetSaveStepHook(nullptr);
        if (!k.committed) {
            EXPECT_EQ(Snapshot(path).data, before.data);
            EXPECT_EQ(Snapshot(path).sidecar, before.sidecar);
        }
        // The next open takes the data fork with the sidecar of the same save, old or new, and
        // clears away what the killed save left.
        FSRef ref = RefFor(path);
        DocWindowRecord* back = nullptr;
        ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
        EXPECT_EQ(CountAfter(back->lineHead), k.committed ? 2 : 1);
        EXPECT_EQ(ToStd(back->drawing->headerFooter.texts[0]) == "New header", k.committed);
        DisposeDocumentRecords(back);
        EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"._Kill.cadx", "Kill.cadx"}));
    }
}

TEST_F(NativeDocumentTest, ASidecarThatCannotFollowUndoesTheExchange) {
    // The sidecars cannot be exchanged after the data forks were: the data go back, the old drawing
    // stays whole with its sidecar, and nothing is left beside it.
    DocWindowRecord* doc = SavedDocument("Pair.cadx");
    std::string path = folder + "/Pair.cadx";
    doc->settings->keepBackup = false;
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    SavedFile before = Snapshot(path);
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 7, 7, 8, 8, false);
    CStrToPStr(doc->drawing->headerFooter.texts[0], 256, "New header");
    FSFaultInjection faults;
    faults.failSidecarExchange = true;
    FSSetFaultInjection(faults);
    EXPECT_FALSE(SaveDocument(doc, false, false, false, false, false));
    FSClearFaultInjection();
    EXPECT_TRUE(doc->drawing->changed);
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{kMsgSaveFailed});
    EXPECT_EQ(Snapshot(path).data, before.data);
    EXPECT_EQ(Snapshot(path).sidecar, before.sidecar);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"._Pair.cadx", "Pair.cadx"}));

    // Nor can the data forks go back: the temporary file, the only copy of the old data fork, is
    // kept, and the next open pairs the new data fork with its own sidecar.
    faults.failExchangeBack = true;
    FSSetFaultInjection(faults);
    EXPECT_FALSE(SaveDocument(doc, false, false, false, false, false));
    FSClearFaultInjection();
    EXPECT_EQ(FolderEntries(folder).size(), 4u);
    FSRef ref = RefFor(path);
    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    EXPECT_EQ(CountAfter(back->lineHead), 2);
    EXPECT_EQ(ToStd(back->drawing->headerFooter.texts[0]), "New header");
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"._Pair.cadx", "Pair.cadx"}));
}

TEST_F(NativeDocumentTest, EveryNameTheFileSystemTakesCanBeSavedAndSavedOver) {
    // "._" and a name of 254 or 255 bytes pass the 255 bytes Linux allows: such a drawing keeps its
    // data fork alone and the user is told; every shorter name keeps both forks. Save As, then a
    // safe save over it, each leaving nothing else behind.
    for (size_t length : {242u, 243u, 250u, 253u, 254u, 255u}) {
        SCOPED_TRACE(length);
        std::string sub = MakeTestFolder("LongName" + std::to_string(length));
        std::string name = std::string(length - 5, 'D') + ".cadx";
        std::string path = sub + "/" + name;
        bool sidecar = length <= 253;
        DocWindowRecord* doc = NewDoc();
        FillDocument(doc);
        doc->settings->keepBackup = false;
        doc->drawing->file = RefFor(path);
        AdoptFileName(doc, &doc->drawing->file); // as Save As does
        ClearRecordedAlerts();
        ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
        std::vector<SInt16> told = {kMsgResourcesNotSaved};
        EXPECT_EQ(ErrorMessagesShown(), sidecar ? std::vector<SInt16>{} : told);
        for (const AlertRecord& alert : RecordedAlerts())
            EXPECT_LE(alert.params[0].size(), 255u);
        std::vector<UInt8> first = ReadFileBytes(path);
        SeekLastLine(doc);
        AppendLineAtCursor(doc, 1, 2, 3, 4, false);
        MarkDocumentChanged(doc);
        ClearRecordedAlerts();
        ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
        EXPECT_FALSE(doc->drawing->changed);
        EXPECT_NE(ReadFileBytes(path), first);
        std::vector<std::string> pair = {"._" + name, name};
        EXPECT_EQ(FolderEntries(sub), sidecar ? pair : std::vector<std::string>{name});
        FSRef ref = RefFor(path);
        DocWindowRecord* back = nullptr;
        ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
        EXPECT_EQ(CountAfter(back->lineHead), CountAfter(doc->lineHead));
        EXPECT_EQ(ToStd(back->drawing->headerFooter.texts[5]), sidecar ? "Footer 3" : "");

        // A failed save names the drawing in a message that is shown whole.
        MarkDocumentChanged(doc);
        ClearRecordedAlerts();
        FSFaultInjection faults;
        faults.failExchange = true;
        FSSetFaultInjection(faults);
        EXPECT_FALSE(SaveDocument(doc, false, false, false, false, false));
        FSClearFaultInjection();
        EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{kMsgSaveFailed});
        ASSERT_EQ(RecordedAlerts().size(), 1u);
        const std::string& shown = RecordedAlerts()[0].params[0];
        EXPECT_LE(shown.size(), 255u);
        EXPECT_NE(shown.find("DDDD"), std::string::npos);
        EXPECT_NE(shown.find(".cadx\""), std::string::npos); // the name's end stays in sight
    }
}

TEST_F(NativeDocumentTest, LeftoversOfKilledSavesGoTheUsersFilesStay) {
    DocWindowRecord* doc = SavedDocument("Plan.cadx");
    // The user's files of such names: a drawing saved as "temp save file (77)", a text file, and an
    // empty file that has a sidecar.
    DocWindowRecord* other = NewDoc();
    other->drawing->file = RefFor(folder + "/temp save file (77)");
    ASSERT_TRUE(SaveDocument(other, true, false, false, false, false));
    WriteFileBytes(folder + "/temp save file (78)", {'n', 'o', 't', 'e', 's'});
    WriteFileBytes(folder + "/temp save file (80)", {});
    FSRef withSidecar = RefFor(folder + "/temp save file (80)");
    FInfo info{};
    info.fdType = FOUR_CHAR("TEXT");
    ASSERT_EQ(FSSetFinderInfo(&withSidecar, info), noErr);
    // What killed saves leave: a temporary file cut off while its data fork was written, an empty
    // one with no sidecar yet, a sidecar whose file was deleted before it, and a sidecar's
    // temporary file of a process that is gone.
    static SaveStep stopAt = SaveStep::dataWritten;
    SetSaveStepHook([](SaveStep step) { return Boolean(step == stopAt); });
    SaveDocument(doc, false, false, false, false, false);
    SetSaveStepHook(nullptr);
    WriteFileBytes(folder + "/temp save file (79)", {});
    WriteFileBytes(folder + "/._temp save file (81)", ReadFileBytes(folder + "/._Plan.cadx"));
    WriteFileBytes(folder + "/._Plan.cadx.tmp99999999-3", {0, 5, 22, 7});
    std::vector<std::string> users = {"._temp save file (77)", "._temp save file (80)", "temp save file (77)",
                                      "temp save file (78)", "temp save file (80)"};
    std::vector<std::string> all = FolderEntries(folder);
    ASSERT_EQ(all.size(), 4u + users.size() + 3u) << testing::PrintToString(all);

    // While a save in the folder holds it, nothing is touched.
    FSRef folderRef = RefFor(folder);
    SInt32 lock = -1;
    ASSERT_EQ(FSLockFolder(&folderRef, false, &lock), noErr);
    FSRef plan = RefFor(folder + "/Plan.cadx");
    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &plan, false, -1, 0, 0));
    DisposeDocumentRecords(back);
    EXPECT_EQ(FolderEntries(folder), all);
    FSUnlockFolder(lock);

    back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &plan, false, -1, 0, 0));
    DisposeDocumentRecords(back);
    std::vector<std::string> expected = {"._Plan.cadx", "Plan.cadx"};
    expected.insert(expected.begin() + 1, users.begin(), users.begin() + 2);
    expected.insert(expected.end(), users.begin() + 2, users.end());
    EXPECT_EQ(FolderEntries(folder), expected);
}

TEST_F(NativeDocumentTest, ABackupCutBetweenItsForksGetsItsOwnSidecarBack) {
    // Killed as the old drawing became the backup: its data fork renamed, its sidecar not yet, so
    // the backup has the older backup's sidecar and the right one is stranded.
    DocWindowRecord* doc = SavedDocument("Back.cadx");
    std::string path = folder + "/Back.cadx", backup = folder + "/Back.cadx.BAK";
    SeekLastLine(doc);
    for (int version = 1; version <= 3; ++version) {
        AppendLineAtCursor(doc, version, 0, version, 1, false);
        ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    }
    std::vector<UInt8> olderSidecar = ReadFileBytes(SidecarPath(backup.c_str()));
    CStrToPStr(doc->drawing->headerFooter.texts[0], 256, "Second");
    AppendLineAtCursor(doc, 9, 0, 9, 1, false);
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    SavedFile whole = Snapshot(backup);
    ASSERT_NE(whole.sidecar, olderSidecar);
    WriteFileBytes(folder + "/._temp save file (12)", whole.sidecar);
    WriteFileBytes(SidecarPath(backup.c_str()), olderSidecar);
    FSRef ref = RefFor(path);
    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    EXPECT_EQ(Snapshot(backup).sidecar, whole.sidecar);
    EXPECT_EQ(FolderEntries(folder),
              (std::vector<std::string>{"._Back.cadx", "._Back.cadx.BAK", "Back.cadx", "Back.cadx.BAK"}));
}

TEST_F(NativeDocumentTest, LockedFilesAndReadOnlyFoldersRefuseTheSave) {
    DocWindowRecord* doc = SavedDocument("Locked.cadx");
    std::string path = folder + "/Locked.cadx";
    SavedFile before = Snapshot(path);
    MarkDocumentChanged(doc);
    {
        WithoutPermissionOverride noOverride;
        chmod(path.c_str(), 0444);
        EXPECT_FALSE(SaveDocument(doc, false, false, false, false, false));
        EXPECT_EQ(ErrorMessagesShown().back(), kMsgSaveAccessDenied);
        chmod(path.c_str(), 0644);
        chmod(folder.c_str(), 0555);
        ClearRecordedAlerts();
        EXPECT_FALSE(SaveDocument(doc, false, false, false, false, false));
        EXPECT_EQ(ErrorMessagesShown().back(), 12); // the operating system's reason
        chmod(folder.c_str(), 0755);
    }
    EXPECT_TRUE(doc->drawing->changed);
    EXPECT_EQ(Snapshot(path).data, before.data);
    EXPECT_EQ(Snapshot(path).sidecar, before.sidecar);
}

TEST_F(NativeDocumentTest, NamesFollowCadxLinksStayLinksAndStationeryStaysUntitled) {
    // A long name is saved under ".cadx"; an existing file of that name is never replaced.
    DocWindowRecord* doc = NewDoc();
    doc->drawing->hasLongName = true;
    doc->drawing->file = RefFor(folder + "/Plan.draw2");
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    EXPECT_STREQ(doc->drawing->file.path, (folder + "/Plan.cadx").c_str());
    EXPECT_EQ(ToStd(doc->drawing->documentName), "Plan.cadx");
    EXPECT_EQ(doc->drawing->unicodeNameFlag, 0u);
    EXPECT_FALSE(FileExists(folder + "/Plan.draw2"));
    // A name the short form cannot hold is kept whole as the Unicode name the title shows.
    doc->drawing->file = RefFor(folder + "/\xD0\x9F\xD0\xBB\xD0\xB0\xD0\xBD.txt");
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    EXPECT_STREQ(doc->drawing->unicodeName, "\xD0\x9F\xD0\xBB\xD0\xB0\xD0\xBD.cadx");
    EXPECT_NE(doc->drawing->unicodeNameFlag, 0u);
    WriteFileBytes(folder + "/Other.cadx", {1, 2, 3});
    doc->drawing->file = RefFor(folder + "/Other.txt");
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    EXPECT_STREQ(doc->drawing->file.path, (folder + "/Other.txt").c_str());
    EXPECT_EQ(ReadFileBytes(folder + "/Other.cadx"), (std::vector<UInt8>{1, 2, 3}));

    // Saving through a symbolic link writes the file it names.
    std::string real = folder + "/real.cadx", link = folder + "/link.cadx";
    doc->drawing->file = RefFor(real);
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
    ASSERT_EQ(symlink("real.cadx", link.c_str()), 0);
    doc->drawing->file = RefFor(link);
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 0, 0, 1, 0, false);
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    FSRef linkRef = RefFor(link);
    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &linkRef, false, -1, 0, 0));
    EXPECT_EQ(CountAfter(back->lineHead), 1);

    // Stationery: the file is flagged; opening it gives an untitled drawing not in the recent files.
    ClearRecentFiles();
    doc->drawing->file = RefFor(folder + "/Form.cadx");
    doc->drawing->hasFile = false;
    ASSERT_TRUE(SaveDocument(doc, true, false, false, false, true));
    EXPECT_FALSE(doc->drawing->hasFile);
    FSRef form = RefFor(folder + "/Form.cadx");
    FInfo info{};
    FSGetFinderInfo(&form, &info);
    EXPECT_TRUE(info.fdFlags & kIsStationery);
    ClearRecentFiles();
    DocWindowRecord* fromForm = nullptr;
    ASSERT_TRUE(OpenDocument(&fromForm, &form, false, -1, 0, 0));
    EXPECT_FALSE(fromForm->drawing->hasFile);
    EXPECT_EQ(ToStd(fromForm->drawing->documentName).rfind("Untitled", 0), 0u);
    EXPECT_EQ(RecentFileCount(), 0);
}

TEST_F(NativeDocumentTest, DamagedFilesAreRefusedAndNothingOpenIsTouched) {
    DocWindowRecord* open = SavedDocument("Good.cadx");
    std::vector<UInt8> good = ReadFileBytes(folder + "/Good.cadx");
    std::vector<UInt8> openBytes = DataForkBytes(open);
    SInt16 documents = CountOpenDocuments();
    std::string path = folder + "/Bad.cadx";
    FSRef ref = RefFor(path);
    auto tryOpen = [&](const std::vector<UInt8>& bytes) {
        WriteFileBytes(path, bytes);
        ClearRecordedAlerts();
        DocWindowRecord* doc = nullptr;
        Boolean ok = OpenDocument(&doc, &ref, false, -1, 0, 0);
        if (ok) {
            DisposeDocumentRecords(doc);
        } else {
            EXPECT_EQ(doc, nullptr);
            EXPECT_EQ(CountOpenDocuments(), documents);
            EXPECT_EQ(ErrorMessagesShown().size(), 1u);
        }
        return ok;
    };
    // Every truncation of a small drawing is refused with a message (or still reads when only the
    // optional tail is gone); garbage too; the open drawing is unchanged.
    int refused = 0;
    size_t step = good.size() / 40;
    for (size_t n = 0; n < good.size(); n += step)
        refused += !tryOpen(std::vector<UInt8>(good.begin(), good.begin() + long(n)));
    EXPECT_GE(refused, 39);
    std::vector<UInt8> garbage(5000);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = UInt8(i * 2654435761u >> 13);
    EXPECT_FALSE(tryOpen(garbage));
    for (size_t bit = 3; bit < good.size() * 8; bit += good.size() * 8 / 40) {
        std::vector<UInt8> flipped = good;
        flipped[bit / 8] ^= UInt8(1 << (bit % 8));
        tryOpen(flipped);
    }
    EXPECT_EQ(DataForkBytes(open), openBytes);
    std::vector<UInt8> newer = good;
    newer[4] = 0x07, newer[5] = 0x02;
    EXPECT_FALSE(tryOpen(newer));
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{kMsgVersionTooNew});
}

TEST_F(NativeDocumentTest, ResourcesOfOtherProgramsAndDamagedResources) {
    SavedDocument("Res.cadx");
    std::string path = folder + "/Res.cadx";
    FSRef ref = RefFor(path);
    // Foreign print payloads count as absent: the frame stays with default settings. A short
    // 'Kopf' keeps only its whole texts; a table claiming 99 rows keeps the 30 that fit a table.
    SInt16 res = FSOpenResFile(&ref, fsRdWrPerm);
    ASSERT_GT(res, 0);
    const char foreign[] = "<?xml version=\"1.0\"?><plist/>";
    AddResourceBlock(res, kPageFormatResType, 301, foreign, sizeof foreign, nullptr);
    std::vector<UInt8> kopf(300, 0);
    kopf[0] = 3, kopf[1] = 'N', kopf[2] = 'e', kopf[3] = 'w';
    AddResourceBlock(res, 0x4B6F7066, 128, kopf.data(), Size(kopf.size()), nullptr);
    std::vector<UInt8> table(264 + 40 * 260, 0);
    table[260] = 99;
    AddResourceBlock(res, 0x53505A46, 128, table.data(), Size(table.size()), nullptr);
    std::vector<UInt8> tiny(10, 0);
    AddResourceBlock(res, 0x53505A46, 129, tiny.data(), Size(tiny.size()), nullptr);
    AddResourceBlock(res, 0x76657273, 2, "\x02\x50", 2, nullptr);
    CloseResFile(res);
    ASSERT_EQ(ResError(), noErr);

    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    ASSERT_NE(back->drawing->frames, nullptr);
    EXPECT_EQ(PageFormatOf(back->drawing->frames->pageFormat).orientation, 1);
    EXPECT_EQ(ToStd(back->drawing->headerFooter.texts[0]), "New");
    EXPECT_EQ(ToStd(back->drawing->headerFooter.texts[5]), "");
    ASSERT_NE(back->drawing->criteriaTables, nullptr);
    EXPECT_EQ(back->drawing->criteriaTables->rowCount, 30);
    EXPECT_EQ(back->drawing->criteriaTables->next, nullptr);
    // The 'vers' before 3.0.0 turned the layer set's bits round.
    EXPECT_EQ(back->drawing->layerSets->layers[0], 0x81);
}

TEST_F(NativeDocumentTest, ADiskFullWhileTheSidecarIsWrittenFailsTheWholeSave) {
    // The disk fills exactly as the sidecar is written, with backups off: the old drawing and its
    // resources stay, the document stays changed, and the user hears that the save failed.
    DocWindowRecord* doc = SavedDocument("Full.cadx");
    std::string path = folder + "/Full.cadx";
    doc->settings->keepBackup = false;
    ASSERT_TRUE(SaveDocument(doc, false, false, false, false, false));
    SavedFile before = Snapshot(path);
    ASSERT_GT(before.sidecar.size(), 1000u);
    MarkDocumentChanged(doc);
    FSFaultInjection faults;
    faults.writeBudget = SInt64(before.data.size() + 500); // the data fork, not the resources
    FSSetFaultInjection(faults);
    EXPECT_FALSE(SaveDocument(doc, false, false, false, false, false));
    FSClearFaultInjection();
    EXPECT_EQ(ErrorMessagesShown(), std::vector<SInt16>{kMsgSaveDiskFull});
    EXPECT_TRUE(doc->drawing->changed);
    EXPECT_EQ(Snapshot(path).data, before.data);
    EXPECT_EQ(Snapshot(path).sidecar, before.sidecar);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"._Full.cadx", "Full.cadx"}));
    FSRef ref = RefFor(path);
    DocWindowRecord* back = nullptr;
    ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0));
    EXPECT_EQ(ToStd(back->drawing->headerFooter.texts[5]), "Footer 3");
    ASSERT_NE(back->drawing->criteriaTables, nullptr);
}

TEST_F(NativeDocumentTest, ImagesBehindACountNoWriterMakesAreDroppedAndTheLogSaysSo) {
    // The image count is the data fork's last word when the drawing has no images.
    DocWindowRecord* doc = SavedDocument("Images.cadx");
    std::vector<UInt8> bytes = DataForkBytes(doc);
    SInt16 images = doc->imageCount;
    doc->imageCount = 0;
    const size_t at = DataForkBytes(doc).size() - 4;
    doc->imageCount = images;
    ASSERT_EQ(images, 1);
    ASSERT_EQ(std::vector<UInt8>(bytes.begin() + long(at), bytes.begin() + long(at) + 4),
              (std::vector<UInt8>{0, 0, 0, 1}));
    std::string path = folder + "/Images.cadx";
    FSRef ref = RefFor(path);
    const struct {
        UInt32 count;
        const char* fileLog; // a 'TEXT' 1000 log that the file brings along, or null
        const char* shown;
    } cases[] = {
        {0x7FFFFFFF, nullptr, "2147483647"},
        {11, nullptr, "11"},
        {0xFFFFFFFF, nullptr, "-1"},
        {0x7FFFFFFF, "DXF-in: 3DFACE ignored", "2147483647"},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 4; ++i)
            bytes[at + size_t(i)] = UInt8(c.count >> (24 - 8 * i));
        WriteFileBytes(path, bytes);
        std::string expected;
        if (c.fileLog != nullptr) {
            SInt16 res = FSOpenResFile(&ref, fsRdWrPerm);
            ASSERT_GT(res, 0);
            AddResourceBlock(res, 0x54455854, 1000, c.fileLog, Size(std::strlen(c.fileLog)), nullptr);
            CloseResFile(res);
            expected = std::string(c.fileLog) + "\r";
        }
        expected +=
            std::string("Native file: raster images dropped, their count (") + c.shown + ") is not valid\r";
        DocWindowRecord* back = nullptr;
        ClearRecordedAlerts();
        ASSERT_TRUE(OpenDocument(&back, &ref, false, -1, 0, 0)) << c.count;
        EXPECT_EQ(back->imageCount, 0);
        EXPECT_EQ(DocumentLog(back), expected);
        EXPECT_TRUE(RecordedAlerts().empty());
        DisposeDocumentRecords(back);
    }
}

// Opening a drawing whose texts use fonts this machine does not have asks for one font for them all.
class MissingFontsTest : public FilesTest {
  protected:
    std::string path;
    void SetUp() override {
        FilesTest::SetUp();
        GuiTestSetUp();
        path = MakeTestFolder("MissingFonts") + "/Fonts.cadx";
    }
    void TearDown() override {
        GuiTestTearDown();
        FilesTest::TearDown();
    }

    TextRecord* AddText(DocWindowRecord* doc, TextRecord* head, SInt16 font) {
        TextRecord* t = nullptr;
        NewTextElement(doc, &t);
        t->font = font;
        t->next = head->next;
        head->next = t;
        return t;
    }
    // A saved drawing with texts in the fonts given, the last one inside a symbol definition.
    void SaveWithFonts(std::initializer_list<SInt16> fonts) {
        DocWindowRecord* doc = NewDoc();
        SymbolDefRecord* def = nullptr;
        NewSymbolDefElement(&def);
        CStrToPStr(def->name, 20, "Mark");
        doc->symbolDefHead->next = def;
        for (auto f = fonts.begin(); f != fonts.end(); ++f)
            AddText(doc, f + 1 == fonts.end() ? def->textHead : doc->textHead, *f);
        doc->drawing->file = RefFor(path);
        ASSERT_TRUE(SaveDocument(doc, true, false, false, false, false));
        DisposeDocumentRecords(doc);
    }
    DocWindowRecord* Open() {
        FSRef ref = RefFor(path);
        DocWindowRecord* doc = nullptr;
        EXPECT_TRUE(OpenDocument(&doc, &ref, false, -1, 0, 0));
        return doc;
    }
    static std::vector<SInt16> Fonts(DocWindowRecord* doc) {
        std::vector<SInt16> fonts;
        for (TextRecord* t = doc->textHead->next; t != nullptr; t = t->next)
            fonts.insert(fonts.begin(), t->font);
        fonts.push_back(doc->symbolDefHead->next->textHead->next->font);
        return fonts;
    }
    // A click on the font pop-up where the dialog's resource places it, choosing the font there.
    static void QueueFontChoice(SInt16 font) {
        SInt16 index = 0;
        for (SInt16 i = 1; i <= CountFontFamilies() && index == 0; ++i) {
            SInt16 number = 0;
            GetIndFontFamily(i, nullptr, &number);
            if (number == font) index = i;
        }
        ASSERT_GT(index, 0);
        const DialogDesc* dialog = FindDialogResource(201);
        ASSERT_NE(dialog, nullptr);
        Rect item = FindItemListResource(dialog->itemListId)->items[2].rect;
        QueuePopUpMenuChoice(index);
        SimulateMouseMove(Point{SInt16(dialog->bounds.top + (item.top + item.bottom) / 2),
                                SInt16(dialog->bounds.left + item.right - 20)});
        SimulateMouseButton(true, 0);
        SimulateMouseButton(false, 0);
    }
};

TEST_F(MissingFontsTest, TextsInMissingFontsGetTheChosenFontOnlyOnOK) {
    constexpr SInt16 kGone = 777, kAlsoGone = 778;
    ASSERT_FALSE(FontNumberExists(kGone));
    ASSERT_FALSE(FontNumberExists(kAlsoGone));
    struct Case {
        const char* answer;
        std::vector<SInt16> fonts; // after the open
        bool changed;
    };
    const Case cases[] = {
        {"Return", {kFontGeneva, kFontCourier, kFontGeneva, kFontGeneva}, true},
        {"Times, then OK", {kFontTimes, kFontCourier, kFontTimes, kFontTimes}, true},
        {"Escape", {kGone, kFontCourier, kGone, kAlsoGone}, false},
    };
    SaveWithFonts({kGone, kFontCourier, kGone, kAlsoGone});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::string answer = c.answer;
        if (answer == "Escape") {
            QueueKey(kKeyCodeEscape, kEscapeCharCode);
        } else {
            if (answer != "Return") QueueFontChoice(kFontTimes);
            QueueKey(kKeyCodeReturn, kReturnCharCode);
        }
        DocWindowRecord* doc = Open();
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(SimulatedStepsPending(), 0u);
        Str255 shown;
        GetParamText(0, shown);
        EXPECT_EQ(ToStd(shown), "Fonts.cadx");
        EXPECT_EQ(Fonts(doc), c.fonts);
        EXPECT_EQ(bool(doc->drawing->changed), c.changed);
        DisposeDocumentRecords(doc);
    }
}

TEST_F(MissingFontsTest, NoQuestionWhenEveryFontIsInstalled) {
    SaveWithFonts({kFontTimes, systemFont, kFontGeneva});
    // A dialog would wait for input that never comes and end the test.
    DocWindowRecord* doc = Open();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Fonts(doc), (std::vector<SInt16>{kFontTimes, systemFont, kFontGeneva}));
    EXPECT_FALSE(doc->drawing->changed);
}

TEST(FileNames, CadxBackupTempAndExtensions) {
    EXPECT_EQ(CadxFileName("Plan.draw2"), "Plan.cadx");
    EXPECT_EQ(CadxFileName("Plan.verylongext"), "Plan.verylongext.cadx");
    EXPECT_EQ(CadxFileName("Plan"), "Plan.cadx");
    EXPECT_EQ(CadxFileName("Plan.ZAZ"), "Plan.cadx");
    // 255 bytes at most, cut between characters ("é" is two bytes).
    std::string longName = "x";
    for (int i = 0; i < 200; ++i)
        longName += "\xC3\xA9";
    std::string cut = CadxFileName(longName);
    EXPECT_LE(cut.size(), 255u);
    EXPECT_EQ(cut.size(), 249u + 5u);
    EXPECT_EQ(cut.substr(cut.size() - 5), ".cadx");
    EXPECT_EQ(BackupFileName("Bracket.ZAZ"), "Bracket.ZAZ.BAK");
    EXPECT_EQ(BackupFileName("A drawing with a long name.cadx"), "A drawing with a long name.bak");
    EXPECT_EQ(BackupFileName("Adrawingwithaverylongname_x"), "Adrawingwithaverylongname_x.bak");
    EXPECT_EQ(TempSaveFileName(123456), "temp save file (123456)");
    EXPECT_EQ(GetUpperExtension("a.b.cadx"), "CADX");
    EXPECT_EQ(GetUpperExtension(".hidden"), "");
    EXPECT_EQ(GetUpperExtension("noext"), "");
}
