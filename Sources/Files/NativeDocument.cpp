// Safe saving and opening of native drawings with their resource forks.
#include "Files/NativeDocument.h"
#include "Tools/TextEditing.h"

#include "Other/Alerts.h"
#include "Platform/AppResources.h"
#include "Platform/AppleDouble.h"
#include "Other/CursorsAndMouse.h"
#include "Interface/DialogHooks.h"
#include "Interface/DialogItems.h"
#include "Model/DocumentHooks.h"
#include "Platform/Events.h"
#include "Files/FileNames.h"
#include "Platform/Fonts.h"
#include "Platform/MacRoman.h"
#include "Platform/MemoryManager.h"
#include "Platform/Menus.h"
#include "Interface/ModalDialogs.h"
#include "Files/NativeFile.h"
#include "Files/PdfOutput.h"
#include "Model/NewDocument.h"
#include "Other/NumberFormat.h"
#include "Files/Preferences.h"
#include "Files/PrintRecords.h"
#include "Interface/ProgressWindow.h"
#include "Platform/ResourceFiles.h"
#include "Files/SaveRecovery.h"
#include "Model/SpatialIndex.h"
#include "Model/SharedUtilities.h"
#include "Shell/DocumentWindow.h"
#include "Model/Streams.h"
#include "Model/UndoJournal.h"
#include "Platform/Windows.h"
#include "View/ZoomExtents.h"
#include "Other/ZEZUdivari.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr ResType kHeaderFooterType = 0x4B6F7066;  // 'Kopf'
constexpr ResType kCriteriaTableType = 0x53505A46; // 'SPZF'
constexpr ResType kPictureType = 0x50494354;       // 'PICT'
constexpr ResType kTextType = 0x54455854;          // 'TEXT'
constexpr ResType kVersionType = 0x76657273;       // 'vers'
constexpr SInt16 kFirstResId = 128;
constexpr SInt16 kPreviewResId = 29876;
constexpr SInt16 kLogResId = 1000;
constexpr SInt16 kVersResId = 2;
constexpr size_t kTableHeadBytes = 264;
constexpr size_t kTableRowBytes = 260;
constexpr SInt16 kAutoSaveText = 47, kSaveText = 48, kOpenText = 49;

SaveStepHook gSaveStepHook = nullptr;

bool StopAt(SaveStep step) {
    return gSaveStepHook != nullptr && gSaveStepHook(step);
}

std::string Folder(const char* path) {
    std::string p = path;
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : p.substr(0, slash);
}

std::string Leaf(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

void PutLE32(UInt8* p, SInt32 v) {
    for (int i = 0; i < 4; ++i)
        p[i] = UInt8(UInt32(v) >> (8 * i));
}
SInt32 GetLE32(const UInt8* p) {
    return SInt32(UInt32(p[0]) | UInt32(p[1]) << 8 | UInt32(p[2]) << 16 | UInt32(p[3]) << 24);
}

bool AccessDenied(OSErr err) {
    return err == afpAccessDenied || err == permErr || err == wrPermErr || err == fLckdErr || err == wPrErr;
}

// A new file with the drawing's Finder information (and the stationery flag when asked) and a
// resource fork that records for which file the save makes it, so that a save killed from here
// on leaves nothing that cannot be told from the user's files. Without a sidecar when the
// target's name leaves no room for one.
OSErr CreateDrawingFile(const FSRef* file, Boolean stationery, const std::string& savedAs, bool sidecar) {
    OSErr err = FSCreateFile(file);
    if (err != noErr || !sidecar) return err;
    FInfo info{};
    info.fdType = kNativeFileType;
    info.fdCreator = kNativeCreator;
    info.fdFlags = stationery ? kIsStationery : 0;
    AppleDoubleContents contents;
    EncodeFInfo(info, contents.finderInfo);
    SaveRecord record;
    record.savedAs = savedAs;
    std::vector<ResourceEntry> resources(1);
    resources[0].type = kSaveRecordType;
    resources[0].id = kSaveRecordId;
    resources[0].data = EncodeSaveRecord(record);
    err = BuildResourceFork(resources, &contents.resourceFork);
    if (err == noErr) err = WriteSidecar(file, contents);
    if (err != noErr) FSDeleteObject(file);
    return err;
}

// Holds a folder's lock for a save while its temporary file lies there.
struct FolderSaveLock {
    SInt32 lock = -1;
    explicit FolderSaveLock(const FSRef* folder) { FSLockFolder(folder, false, &lock); }
    ~FolderSaveLock() { FSUnlockFolder(lock); }
    FolderSaveLock(const FolderSaveLock&) = delete;
    FolderSaveLock& operator=(const FolderSaveLock&) = delete;
};

void ProgressTitle(SInt16 item, ConstStr255Param name, const char* tail, Str255 text) {
    GetIndString(text, kGeneralTextList, item);
    AppendPStr(text, 256, name);
    AppendCStr(text, 256, tail);
}

void NameFromPath(const char* path, Str255 name) {
    UTF8ToPStr(Leaf(path), name, 255);
}

// The document follows its file to the ".cadx" name; an existing file of that name is left alone.
void RenameToCadx(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    std::string leaf = Leaf(d->file.path);
    std::string wanted = CadxFileName(leaf);
    if (wanted == leaf) return;
    FSRef target;
    if (FSMakeRef((Folder(d->file.path) + "/" + wanted).c_str(), &target) != noErr) return;
    if (FSRenameNoReplace(&d->file, &target) != noErr) return;
    d->file = target;
    AdoptFileName(doc, &target);
}

// Every text of the document, those inside symbol definitions too.
template <class Visit> void ForEachText(DocWindowRecord* doc, Visit visit) {
    for (TextRecord* t = doc->textHead ? doc->textHead->next : nullptr; t != nullptr; t = t->next)
        visit(t);
    for (SymbolDefRecord* def = doc->symbolDefHead ? doc->symbolDefHead->next : nullptr; def != nullptr;
         def = def->next)
        for (TextRecord* t = def->textHead ? def->textHead->next : nullptr; t != nullptr; t = t->next)
            visit(t);
}

// Texts in fonts this machine does not have: the user chooses one font that they all get.
void ReplaceMissingFonts(DocWindowRecord* doc) {
    std::vector<SInt16> missing;
    ForEachText(doc, [&](const TextRecord* t) {
        Str255 name;
        GetFontName(t->font, name);
        if (name[0] == 0 && std::find(missing.begin(), missing.end(), t->font) == missing.end())
            missing.push_back(t->font);
    });
    SInt16 chosen = 0;
    if (missing.empty() || !gDialogHooks.chooseReplacementFont(doc, &chosen)) return;
    ForEachText(doc, [&](TextRecord* t) {
        if (std::find(missing.begin(), missing.end(), t->font) != missing.end()) t->font = chosen;
    });
    MarkDocumentChanged(doc);
    RequestRedraw(doc);
}

// A sidecar that is there but cannot be read leaves the drawing without its resources; the log says
// which file to look at.
void LogUnreadResources(DocWindowRecord* doc, const FSRef* file, OSErr err) {
    std::string sidecar = Leaf(SidecarPath(file->path).c_str());
    std::string line = "Native file: " + sidecar;
    if (err == notAFileErr)
        line += " is not a file";
    else if (err == mapReadErr)
        line += " is damaged";
    else
        line += " could not be read (error " + std::to_string(err) + ")";
    line += ", so page settings, header and footer texts and selection tables are missing";
    Str255 text;
    UTF8ToPStr(line, text, 255);
    AppendLogLine(doc, text);
}

// Where a drawing's damaged sidecar is kept when a save replaces it, so that what it held is never
// lost without the user having a copy.
std::string DamagedSidecarPath(const char* path) {
    return FSPathWithSuffix(path, ".damaged-sidecar");
}

bool SidecarDamaged(const FSRef* file) {
    SInt16 res = FSOpenResFile(file, fsRdPerm);
    OSErr err = res < 0 ? ResError() : OSErr(noErr);
    if (res >= 0) CloseResFile(res);
    return err == mapReadErr;
}

// After the exchange the temporary file carries the old, damaged sidecar: it is put aside under a
// name that says what it is (numbered when that name is taken), not deleted with the old drawing.
void KeepDamagedSidecar(const FSRef* carrier, const FSRef* drawing) {
    FSRef from, to;
    if (FSMakeRef(SidecarPath(carrier->path).c_str(), &from) != noErr) return;
    std::string kept = DamagedSidecarPath(drawing->path);
    for (int n = 1; n < 100; ++n) {
        std::string name = n == 1 ? kept : FSPathWithSuffix(kept, "-" + std::to_string(n));
        if (FSMakeRef(name.c_str(), &to) != noErr) return;
        if (FSRenameNoReplace(&from, &to) != dupFNErr) return;
    }
}

// The file's own log replaces the document's; what this open reported (dropped data) follows it.
void TakeFileLog(DocWindowRecord* doc, std::vector<UInt8> fileLog) {
    DrawingRecord* d = doc->drawing;
    std::vector<UInt8> reported;
    if (d->logText != nullptr && *d->logText != nullptr)
        reported.assign(*d->logText, *d->logText + GetHandleSize(d->logText));
    const size_t room = size_t(kDocumentLogLimit) - 1;
    if (reported.size() > room) reported.resize(room);
    // Room for the carriage return that may have to end the file's last line.
    size_t fileRoom = room - reported.size();
    if (!reported.empty() && fileRoom > 0) --fileRoom;
    if (fileLog.size() > fileRoom) fileLog.resize(fileRoom);
    if (!reported.empty() && !fileLog.empty() && fileLog.back() != '\r') fileLog.push_back('\r');
    fileLog.insert(fileLog.end(), reported.begin(), reported.end());
    DisposeHandle(d->logText);
    d->logText = nullptr;
    PtrToHand(fileLog.data(), &d->logText, Size(fileLog.size()));
}

} // namespace

void AdoptFileName(DocWindowRecord* doc, const FSRef* file) {
    DrawingRecord* d = doc->drawing;
    std::string leaf = Leaf(file->path);
    NameFromPath(file->path, d->documentName);
    std::string cut = CutUtf8(leaf, sizeof d->unicodeName - 1);
    std::memcpy(d->unicodeName, cut.data(), cut.size());
    d->unicodeName[cut.size()] = 0;
    d->unicodeNameFlag = PStrToUTF8(d->documentName) != leaf;
    if (doc->window != nullptr) RefreshWindowTitle(doc);
}

void SetSaveStepHook(SaveStepHook hook) {
    gSaveStepHook = hook;
}

OSErr MakeBackupFile(const FSRef* file, const std::string& name) {
    FSRef backup;
    OSErr err = FSMakeRef((Folder(file->path) + "/" + BackupFileName(name)).c_str(), &backup);
    if (err == noErr) err = FSRenameReplacing(file, &backup);
    return err;
}

OSErr WriteDocumentResources(DocWindowRecord* doc, const FSRef* file, const char* savedAs) {
    SaveRecord record;
    if (savedAs != nullptr) {
        record.savedAs = savedAs;
        record.complete = true;
        OSErr err = DataForkChecksum(file, &record.dataSize, &record.dataChecksum);
        if (err != noErr) return err;
    }
    DrawingRecord* d = doc->drawing;
    // The preview of what is visible, kept in the document and stored with it; the view stays.
    Float64 box[4];
    DrawingViewState keptView = d->view;
    if (ComputeDrawingExtents(doc, 0, true, &box[0], &box[1], &box[2], &box[3], 0) && box[2] != box[0] &&
        box[3] != box[1])
        MakePreviewPicture(doc, box[0], box[1], box[2], box[3], false);
    d->view = keptView;
    SInt16 res = FSOpenResFile(file, fsRdWrPerm);
    if (res < 0) return ResError();
    static const UInt8 kHeaderFooterName[] = "\x0E"
                                             "Kopf-/Fu\xA7zeile";
    OSErr err = AddResourceBlock(res, kHeaderFooterType, kFirstResId, &d->headerFooter,
                                 sizeof d->headerFooter, kHeaderFooterName);
    SInt16 id = kFirstResId;
    for (const NamedTableRecord* t = d->criteriaTables; t != nullptr && err == noErr; t = t->next, ++id) {
        SInt16 rows = t->rowCount < 0                    ? 0
                      : t->rowCount > kNamedTableMaxRows ? kNamedTableMaxRows
                                                         : t->rowCount;
        std::vector<UInt8> bytes(kTableHeadBytes + size_t(rows) * kTableRowBytes, 0);
        std::memcpy(bytes.data(), t->name, 256);
        PutLE32(&bytes[256], t->kind);
        PutLE32(&bytes[260], rows);
        for (SInt16 r = 0; r < rows; ++r) {
            UInt8* row = &bytes[kTableHeadBytes + size_t(r) * kTableRowBytes];
            PutLE32(row, t->rows[r].criterion);
            std::memcpy(row + 4, t->rows[r].condition, 256);
        }
        err = AddResourceBlock(res, kCriteriaTableType, id, bytes.data(), Size(bytes.size()), t->name);
    }
    if (err == noErr && d->previewPicture != nullptr)
        err = AddResourceBlock(res, kPictureType, kPreviewResId, *d->previewPicture,
                               GetHandleSize(d->previewPicture), nullptr);
    id = kDocumentPrintResId + 1;
    for (const FrameRecord* f = d->frames; f != nullptr && err == noErr; f = f->next, ++id) {
        std::vector<UInt8> print = FlattenPrintSettings(PrintSettingsOf(f->printSettings));
        std::vector<UInt8> page = FlattenPageFormat(PageFormatOf(f->pageFormat));
        err = AddResourceBlock(res, kPrintSettingsResType, id, print.data(), Size(print.size()), nullptr);
        if (err == noErr)
            err = AddResourceBlock(res, kPageFormatResType, id, page.data(), Size(page.size()), nullptr);
    }
    if (err == noErr) {
        std::vector<UInt8> print = FlattenPrintSettings(PrintSettingsOf(d->printSettings));
        std::vector<UInt8> page = FlattenPageFormat(PageFormatOf(d->pageFormat));
        err = AddResourceBlock(res, kPrintSettingsResType, kDocumentPrintResId, print.data(),
                               Size(print.size()), nullptr);
        if (err == noErr)
            err = AddResourceBlock(res, kPageFormatResType, kDocumentPrintResId, page.data(),
                                   Size(page.size()), nullptr);
    }
    if (err == noErr && savedAs != nullptr) {
        std::vector<UInt8> bytes = EncodeSaveRecord(record);
        err =
            AddResourceBlock(res, kSaveRecordType, kSaveRecordId, bytes.data(), Size(bytes.size()), nullptr);
    }
    CloseResFile(res);
    return err != noErr ? err : ResError();
}

void ReadDocumentResources(DocWindowRecord* doc, SInt16 resFile) {
    if (resFile < 0) return;
    DrawingRecord* d = doc->drawing;
    std::vector<UInt8> bytes;
    if (GetResourceBlock(resFile, kHeaderFooterType, kFirstResId, &bytes)) {
        // Only whole texts: a short resource leaves the texts it lacks as they were.
        size_t texts = bytes.size() / 256;
        for (size_t i = 0; i < texts && i < 6; ++i)
            std::memcpy(d->headerFooter.texts[i], &bytes[i * 256], 256);
    }
    NamedTableRecord** tail = &d->criteriaTables;
    while (*tail != nullptr)
        tail = &(*tail)->next;
    for (SInt16 id = kFirstResId; GetResourceBlock(resFile, kCriteriaTableType, id, &bytes); ++id) {
        if (bytes.size() < kTableHeadBytes) break;
        NamedTableRecord* t = NewNamedTableRecord();
        if (t == nullptr) break;
        std::memcpy(t->name, bytes.data(), 256);
        t->kind = SInt16(GetLE32(&bytes[256]));
        SInt32 rows = GetLE32(&bytes[260]);
        SInt32 room = SInt32((bytes.size() - kTableHeadBytes) / kTableRowBytes);
        if (rows < 0) rows = 0;
        if (rows > kNamedTableMaxRows) rows = kNamedTableMaxRows;
        if (rows > room) rows = room;
        t->rowCount = SInt16(rows);
        for (SInt32 r = 0; r < rows; ++r) {
            const UInt8* row = &bytes[kTableHeadBytes + size_t(r) * kTableRowBytes];
            t->rows[r].criterion = GetLE32(row);
            std::memcpy(t->rows[r].condition, row + 4, 256);
        }
        *tail = t;
        tail = &t->next;
    }
}

UInt16 ReadVersResource(SInt16 resFile) {
    std::vector<UInt8> bytes;
    if (resFile < 0 || !GetResourceBlock(resFile, kVersionType, kVersResId, &bytes) || bytes.size() < 2)
        return kDefaultVersResource;
    return UInt16(bytes[0] << 8 | bytes[1]);
}

namespace {

// The file a save writes: beside an existing drawing a new temporary file (the drawing itself is never
// deleted or written over), else the drawing's own new file.
OSErr CreateFileToWrite(const FSRef& target, bool safe, Boolean stationery, const std::string& savedAs,
                        bool sidecar, FSRef* written) {
    *written = target;
    OSErr err = noErr;
    if (safe) {
        // A name that is taken, by anything (a link that leads nowhere too), is passed over.
        UInt32 ticks = TickCount();
        for (int tries = 0; tries < 1000; ++tries, ++ticks) {
            err = FSMakeRef((Folder(target.path) + "/" + TempSaveFileName(ticks)).c_str(), written);
            if (err == noErr) err = CreateDrawingFile(written, stationery, savedAs, sidecar);
            if (err != dupFNErr && err != linkLoopErr) break;
        }
        if (err == noErr) FSCopyAccessMode(&target, written);
        return err;
    }
    return CreateDrawingFile(written, stationery, savedAs, sidecar);
}

// What the document records of the save before it is written: window state, save date, editing time,
// symbol numbers, and (unless asked otherwise) that it is saved.
void NoteSaveInDocument(DocWindowRecord* doc, Boolean selectionOnly, Boolean keepChangedMark,
                        Boolean stationery) {
    DrawingRecord* d = doc->drawing;
    StoreDocumentWindowState(doc);
    GetDateTime(&doc->settings->saveDate);
    if (doc->settings->creationDate == 0) doc->settings->creationDate = doc->settings->saveDate;
    UInt32 now = TickCount();
    doc->settings->editingSeconds += (now - d->editStartTicks) / 60;
    d->editStartTicks = now;
    NumberSymbolDefinitions(doc);
    if (!stationery) {
        d->hasFile = true;
        if (!selectionOnly && !keepChangedMark) MarkDocumentClean(doc);
    }
}

// The data fork with progress; errors, including those that show only when the data reaches the disk,
// stay in StreamError.
void WriteDataForkOf(DocWindowRecord* doc, const FSRef* written, Boolean selectionOnly, Boolean autoSave) {
    // The file was made by this save a moment ago: a link in its place now was planted there.
    FSIORefNum fork = 0;
    OSErr err = FSOpenFork(written, fsWrPerm | fsNoFollow, &fork);
    if (err != noErr) {
        StreamNoteError(err);
        return;
    }
    Str255 title;
    ProgressTitle(autoSave ? kAutoSaveText : kSaveText, doc->drawing->documentName, " \xC9", title);
    OpenProgress(title, false);
    WriteNativeDataFork(doc, fork, selectionOnly);
    StreamFlush(fork);
    StreamClose(fork);
    CloseProgress();
}

} // namespace

Boolean SaveDocument(DocWindowRecord* doc, Boolean replace, Boolean selectionOnly, Boolean autoSave,
                     Boolean keepChangedMark, Boolean stationery) {
    DrawingRecord* d = doc->drawing;
    StreamClearError();
    ShowWatchCursor();

    // A symbolic link stays a link: the file it names is the one written.
    FSRef target;
    if (FSResolveLinks(&d->file, &target) != noErr) target = d->file;
    bool exists = FSRefExists(&target);
    // A folder, pipe or device of that name is no drawing to put aside or write over.
    if (FSFileInfo info{}; exists && FSGetFileInfo(&target, &info) == noErr && !info.isOrdinary) {
        ShowOSErrorAlert(notAFileErr);
        RequestRedraw(doc);
        return false;
    }
    if (exists && !replace) {
        FSIORefNum probe = 0;
        OSErr err = FSOpenFork(&target, fsWrPerm, &probe);
        if (err == noErr) {
            FSCloseFork(probe);
        } else if (AccessDenied(err)) {
            ShowErrorAlert(kMsgSaveAccessDenied, d->documentName);
            return false;
        } else {
            exists = false;
        }
    }

    // A file that exists is exchanged with the new contents only once they are complete and on disk.
    bool safe = exists;
    FSRef written = target;
    FSRef folder{};
    OSErr err = FSMakeRef(Folder(target.path).c_str(), &folder);
    // A name of 254 or 255 bytes leaves no room for "._" before it: such a drawing has no sidecar.
    bool sidecar = SidecarNameFits(target.path);
    std::string savedAs = Leaf(target.path);
    if (err == noErr) RecoverInterruptedSaves(&folder);
    FolderSaveLock folderLock(&folder);
    if (err == noErr) err = CreateFileToWrite(target, safe, stationery, savedAs, sidecar, &written);
    if (err != noErr) {
        ShowOSErrorAlert(err);
        RequestRedraw(doc);
        return false;
    }

    NoteSaveInDocument(doc, selectionOnly, keepChangedMark, stationery);
    WriteDataForkOf(doc, &written, selectionOnly, autoSave);
    if (StopAt(SaveStep::dataWritten)) return false;

    // The resources are part of the drawing: a save that cannot store them has failed, else the
    // drawing on disk would lose its page settings, header and footer and selection tables.
    if (StreamError == noErr && sidecar) {
        OSErr resErr = WriteDocumentResources(doc, &written, savedAs.c_str());
        if (resErr != noErr) StreamNoteError(resErr);
    }
    if (StopAt(SaveStep::resourcesWritten)) return false;

    bool saved = StreamError == noErr;
    // Whether the temporary file holds the old drawing (and so must stay when the save fails).
    Boolean holdsOld = false;
    if (saved && safe) {
        bool damagedSidecar = sidecar && SidecarDamaged(&target);
        err = FSExchangeObjects(&written, &target, &holdsOld);
        if (StopAt(SaveStep::exchanged)) return false;
        if (err != noErr) {
            StreamNoteError(err);
            saved = false;
        } else {
            if (damagedSidecar) KeepDamagedSidecar(&written, &target);
            FSSyncFolder(&folder);
            // The temporary file now holds the old contents.
            if (!doc->settings->keepBackup || MakeBackupFile(&written, Leaf(target.path)) != noErr)
                FSDeleteObject(&written);
            if (StopAt(SaveStep::backupMade)) return false;
        }
    }
    if (!saved) {
        ShowErrorAlert(StreamError == dskFulErr ? kMsgSaveDiskFull : kMsgSaveFailed, d->documentName);
        // The exchange could be neither completed nor undone: the old drawing is only in the
        // temporary file now, which the next open of the folder puts right.
        if (!holdsOld) FSDeleteObject(&written);
        MarkDocumentDirty(doc);
        RequestRedraw(doc);
        return false;
    }
    if (!sidecar) ShowErrorAlert(kMsgResourcesNotSaved, d->documentName);

    if (d->hasLongName) RenameToCadx(doc);
    AddRecentFile(&d->file);
    RebuildWindowMenu();
    gDocumentHooks.rebuildViewsMenu(doc);
    gDocumentHooks.rebuildFrameMenus(doc);
    RequestRedraw(doc);
    return true;
}

namespace {

// What an open holds until it ends: released in one place, whichever way the open ends.
struct OpenHeld {
    SInt16 resFile = -1;
    SInt16 data = 0;
    void CloseData() {
        if (data != 0) CloseMemoryStream(data);
        data = 0;
    }
    void CloseResources() {
        if (resFile > 0) CloseResFile(resFile);
        resFile = -1;
    }
    ~OpenHeld() {
        CloseData();
        CloseResources();
    }
};

// The data fork as a stream that reads it in large pieces: one system call per field would
// dominate the time, and a copy of the whole file would double the memory a large drawing needs.
constexpr SInt32 kReadWindowBytes = 4 << 20;
OSErr OpenForkForReading(const FSRef* file, SInt16* data, SInt64* fileSize) {
    FSIORefNum fork = 0;
    OSErr err = FSOpenFork(file, fsRdPerm, &fork);
    if (err != noErr) return err;
    *fileSize = StreamFileSize(fork);
    *data = OpenForkReadStream(fork, kReadWindowBytes);
    if (*data == 0) {
        FSCloseFork(fork);
        return memFullErr;
    }
    return noErr;
}

// "Opening name (size)…" with the file's version as the fourth line.
void OpenReadProgress(ConstStr255Param name, SInt64 fileSize, UInt16 fileVersion) {
    Str255 size, title;
    FormatByteSize(SInt32(fileSize > 0x7FFFFFFF ? 0x7FFFFFFF : fileSize), size);
    ProgressTitle(kOpenText, name, " (", title);
    AppendPStr(title, 256, size);
    AppendCStr(title, 256, ")\xC9");
    OpenProgress(title, false);
    char version[16];
    if ((fileVersion & 0xF) != 0)
        std::snprintf(version, sizeof version, "%d.%d.%d", fileVersion >> 8, (fileVersion >> 4) & 0xF,
                      fileVersion & 0xF);
    else
        std::snprintf(version, sizeof version, "%d.%d", fileVersion >> 8, (fileVersion >> 4) & 0xF);
    Str255 versionText;
    CStrToPStr(versionText, 256, version);
    SetProgressText4(versionText);
}

// A new document made for the file takes it as its own, unless it is stationery or the user took
// another name because a drawing of this name was open: then it is an untitled copy, so two windows
// never share a name or save over one file.
void TakeFileAsOwn(DocWindowRecord* doc, const FSRef* file, ConstStr255Param name, bool stationery) {
    const bool renamed = !stationery && !EqualPStr(doc->drawing->documentName, name);
    if (stationery || renamed) return;
    doc->drawing->file = *file;
    doc->drawing->hasFile = true;
    doc->drawing->hasLongName = true;
    AdoptFileName(doc, file);
}

// What the file's resources add to a newly opened drawing: its preview picture and its log.
void TakeOpenedResources(DocWindowRecord* doc, SInt16 resFile) {
    std::vector<UInt8> bytes;
    if (GetResourceBlock(resFile, kPictureType, kPreviewResId, &bytes)) {
        DisposeHandle(doc->drawing->previewPicture);
        doc->drawing->previewPicture = nullptr;
        PtrToHand(bytes.data(), &doc->drawing->previewPicture, Size(bytes.size()));
    }
    if (GetResourceBlock(resFile, kTextType, kLogResId, &bytes)) TakeFileLog(doc, std::move(bytes));
}

// The extents of what was read; the view stays as stored (or as it was, when inserting), and is
// fitted to the drawing only when the file kept no view.
void SetUpViewAfterRead(DocWindowRecord* doc, Boolean insert) {
    DrawingRecord* d = doc->drawing;
    Float64 originX = d->view.originX, originY = d->view.originY, scale = d->view.unitsPerPixel;
    Float64 box[4];
    ComputeDrawingExtents(doc, 0, false, &box[0], &box[1], &box[2], &box[3], 0);
    if (insert || doc->settings->savedUnitsPerPixel != 0.0) {
        SetViewOrigin(d, originX, originY);
        SetViewScale(d, scale);
    }
    RequestRedraw(doc);
}

} // namespace

Boolean OpenDocument(DocWindowRecord** slot, const FSRef* file, Boolean insert, SInt16 layer, Float64 dx,
                     Float64 dy) {
    // A save of this drawing that was killed may have left it half exchanged.
    if (FSRef folder; FSMakeRef(Folder(file->path).c_str(), &folder) == noErr)
        RecoverInterruptedSaves(&folder);
    StreamClearError();
    Str255 name;
    NameFromPath(file->path, name);
    FInfo info{};
    FSGetFinderInfo(file, &info);
    bool stationery = (info.fdFlags & kIsStationery) != 0;
    OpenHeld held;
    held.resFile = FSOpenResFile(file, fsRdPerm);
    OSErr resErr = held.resFile < 0 ? ResError() : OSErr(noErr);
    UInt16 vers = ReadVersResource(held.resFile);

    SInt64 fileSize = 0;
    if (OSErr err = OpenForkForReading(file, &held.data, &fileSize); err != noErr) {
        ShowOSErrorAlert(err);
        return false;
    }

    DocWindowRecord* doc = insert ? *slot : nullptr;
    auto fail = [&](SInt16 message) {
        if (message != 0) ShowErrorAlert(message, name);
        CloseProgress();
        held.CloseData();
        held.CloseResources();
        if (!insert && doc != nullptr) {
            CloseDocumentWindow(doc, false, false, false);
            *slot = nullptr;
        }
        return Boolean(false);
    };
    if (!insert) {
        const Str255 untitled = {0};
        if (!NewDocument(slot, stationery ? untitled : name, 0)) return fail(0);
        doc = *slot;
        TakeFileAsOwn(doc, file, name, stationery);
    }

    NativeFileHeader header;
    SInt16 message = ReadNativeHeader(held.data, &header);
    if (message != 0) return fail(message);
    OpenReadProgress(name, fileSize, header.version);

    if (!insert) ResetUndoJournal(doc);
    NativeReadOptions options;
    options.insert = insert;
    options.layer = layer;
    options.dx = dx;
    options.dy = dy;
    options.versResource = vers;
    options.resFile = held.resFile;
    message = ReadNativeBody(doc, held.data, header, options);
    SpatialIndexStale(doc);
    if (message != 0) return fail(message);
    CloseProgress();
    held.CloseData();
    ReadDocumentResources(doc, held.resFile);
    if (resErr != noErr && resErr != resFNotFound) LogUnreadResources(doc, file, resErr);
    // Told now, not after a save has replaced what could still be rescued.
    const bool damagedSidecar = resErr == mapReadErr;
    if (damagedSidecar && !insert && doc->drawing->hasFile &&
        std::strcmp(doc->drawing->file.path, file->path) == 0) {
        Str255 kept;
        NameFromPath(DamagedSidecarPath(file->path).c_str(), kept);
        ShowErrorAlert(kMsgDamagedResources, kept);
    }
    if (doc->window != nullptr) ShowWindow(doc->window);

    MarkDocumentClean(doc);
    if (insert) {
        MarkDocumentChanged(doc);
    } else {
        MoveWindowOnScreen(doc);
        if (doc->window != nullptr) RelayoutDocumentWindow(doc);
        if (!stationery) AddRecentFile(file);
        TakeOpenedResources(doc, held.resFile);
    }
    held.CloseResources();
    // A drawing that another program marked as its own is claimed, where it already has a sidecar.
    if (!insert && !damagedSidecar && info.fdType != 0 && info.fdCreator != kNativeCreator) {
        info.fdCreator = kNativeCreator;
        FSSetFinderInfo(file, info);
    }
    SetUpViewAfterRead(doc, insert);
    gDocumentHooks.refreshPalettes(doc);
    ReplaceMissingFonts(doc);
    // Placeholders show today's date and this drawing's fields: laid out anew before the first
    // paint, while there is no history yet to lose.
    if (!insert) RefreshAllFieldTexts(doc);
    return true;
}
