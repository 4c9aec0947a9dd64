#include "Files/SymbolLibrary.h"

#include "Files/FileNames.h"
#include "Model/ElementEncoding.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/SpatialIndex.h"
#include "Model/Streams.h"
#include "Model/Symbols.h"
#include "Model/UndoJournal.h"
#include "Other/Alerts.h"
#include "Other/ZEZUdivari.h"
#include "Platform/AppleDouble.h"
#include "Platform/MemoryManager.h"
#include "Platform/PascalBytes.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

SymbolLibraryListRecord SymbolLibraryList;

namespace {

constexpr SInt16 kVersion700 = 0x700;
constexpr SInt16 kVersion211 = 0x211;
constexpr SInt16 kVersion119 = 0x119;
constexpr SInt32 kNameCapacity = 19;
// No stored element record of any version or number format is shorter: a group count that asks
// for more than the bytes left can hold is damage, refused before anything is allocated.
constexpr SInt64 kShortestRecordBytes = 16;
constexpr SInt32 kReadWindowBytes = 64 * 1024;

struct Directory {
    UInt8 bytes[kLibraryDirectoryBytes];
    UInt16 Version() const { return UInt16(bytes[0] << 8 | bytes[1]); }
    // Slots listed are 0 .. this − 1: the stored word, never past the directory.
    SInt32 ListedSlots() const {
        SInt32 last = bytes[2] << 8 | bytes[3];
        return last > kLibrarySlotCount - 1 ? kLibrarySlotCount - 1 : last;
    }
    UInt8* Slot(SInt32 i) { return bytes + 4 + i * kLibrarySlotBytes; }
    const UInt8* Slot(SInt32 i) const { return bytes + 4 + i * kLibrarySlotBytes; }
};

void SlotName(const UInt8* slot, Str19 name) {
    UInt8 n = slot[0] > kNameCapacity ? UInt8(kNameCapacity) : slot[0];
    std::memset(name, 0, sizeof(Str19));
    name[0] = n;
    std::memcpy(name + 1, slot + 1, n);
}
UInt32 SlotOffset(const UInt8* slot) {
    return UInt32(slot[20]) << 24 | UInt32(slot[21]) << 16 | UInt32(slot[22]) << 8 | slot[23];
}
void SetSlot(UInt8* slot, ConstStr255Param name, UInt32 offset, UInt8 format, UInt8 scaleFlag) {
    std::memset(slot, 0, kLibrarySlotBytes);
    UInt8 n = name[0] > kNameCapacity ? UInt8(kNameCapacity) : name[0];
    slot[0] = n;
    std::memcpy(slot + 1, name + 1, n);
    slot[20] = UInt8(offset >> 24), slot[21] = UInt8(offset >> 16), slot[22] = UInt8(offset >> 8);
    slot[23] = UInt8(offset);
    slot[24] = format;
    slot[25] = scaleFlag;
}

// A slot the list can show: a name, a record inside the file after the directory, a known format.
bool SlotReadable(const UInt8* slot, SInt64 fileSize) {
    UInt32 offset = SlotOffset(slot);
    return offset >= UInt32(kLibraryDirectoryBytes) && SInt64(offset) < fileSize && slot[24] <= kRealDouble;
}

// Three-way comparison of length-prefixed names, the shorter first on a common prefix.
int CompareNames(ConstStr255Param a, ConstStr255Param b) {
    size_t n = a[0] < b[0] ? a[0] : b[0];
    int c = std::memcmp(a + 1, b + 1, n);
    if (c != 0) return c;
    return int(a[0]) - int(b[0]);
}
bool SameName(ConstStr255Param a, ConstStr255Param b) {
    return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0;
}

void CutName(ConstStr255Param name, Str19 out) {
    std::memset(out, 0, sizeof(Str19));
    out[0] = name[0] > kNameCapacity ? UInt8(kNameCapacity) : name[0];
    std::memcpy(out + 1, name + 1, out[0]);
}

void FileName(const FSRef* file, Str255 name) {
    LeafNameOf(file, name);
}

void FreeNodes() {
    SymbolLibraryNode* head = SymbolLibraryList.head;
    if (head == nullptr) return;
    for (SymbolLibraryNode* n = head->next; n != nullptr;) {
        SymbolLibraryNode* next = n->next;
        delete n;
        n = next;
    }
    head->next = nullptr;
    SymbolLibraryList.count = 0;
    SymbolLibraryList.cursor = head;
}

OSErr ReadDirectory(FSIORefNum fork, Directory* dir, SInt64* fileSize) {
    OSErr err = FSGetForkSize(fork, fileSize);
    if (err != noErr) return err;
    ByteCount got = 0;
    err = FSReadFork(fork, fsFromStart, 0, kLibraryDirectoryBytes, dir->bytes, &got);
    if (err == noErr && got != ByteCount(kLibraryDirectoryBytes)) err = eofErr;
    return err;
}

// The whole directory back at the start of the file, flushed.
OSErr WriteDirectory(FSIORefNum fork, const Directory& dir) {
    ByteCount put = 0;
    OSErr err = FSWriteFork(fork, fsFromStart, 0, kLibraryDirectoryBytes, dir.bytes, &put);
    if (err == noErr && put != ByteCount(kLibraryDirectoryBytes)) err = ioErr;
    if (err == noErr) err = FSFlushFork(fork);
    return err;
}

// Lists the readable slots; the number that could not be listed. Equal names keep slot order.
SInt32 BuildList(const Directory& dir, SInt64 fileSize) {
    FreeNodes();
    SInt32 damaged = 0;
    std::vector<SymbolLibraryNode*> nodes;
    for (SInt32 i = 0; i < dir.ListedSlots(); ++i) {
        const UInt8* slot = dir.Slot(i);
        if (slot[0] == 0) continue;
        if (!SlotReadable(slot, fileSize)) {
            ++damaged;
            continue;
        }
        auto* node = new SymbolLibraryNode{};
        SlotName(slot, node->name);
        node->offset = SlotOffset(slot);
        node->format = slot[24];
        node->scaleFlag = slot[25] != 0;
        node->slot = SInt16(i);
        nodes.push_back(node);
    }
    std::stable_sort(nodes.begin(), nodes.end(), [](const SymbolLibraryNode* a, const SymbolLibraryNode* b) {
        return CompareNames(a->name, b->name) < 0;
    });
    SymbolLibraryNode* tail = SymbolLibraryList.head;
    for (SymbolLibraryNode* n : nodes) {
        tail->next = n;
        tail = n;
    }
    SymbolLibraryList.count = SInt16(nodes.size());
    return damaged;
}

// Opens the open library's file and reads its directory; shows what failed.
OSErr OpenDirectory(SInt8 permission, FSIORefNum* fork, Directory* dir, SInt64* fileSize) {
    OSErr err = FSOpenFork(&SymbolLibraryList.file, permission, fork);
    if (err != noErr) {
        ShowOSErrorAlert(err);
        return err;
    }
    err = ReadDirectory(*fork, dir, fileSize);
    if (err == noErr && dir->Version() != kSymbolLibraryVersion) err = paramErr;
    if (err != noErr) {
        FSCloseFork(*fork);
        Str255 name;
        FileName(&SymbolLibraryList.file, name);
        ShowErrorAlert(kMsgLibraryDamaged, name, err);
    }
    return err;
}

void ReportNotWritten(OSErr err) {
    Str255 name;
    FileName(&SymbolLibraryList.file, name);
    ShowErrorAlert(kMsgLibraryNotWritten, name, err);
}

// Reads one group of count records of a kind onto the end of the definition's list.
template <class T, class New, class Dispose, class Read>
OSErr ReadGroup(SInt16 stream, T* head, New make, Dispose dispose, Read read) {
    UInt16 count = UInt16(ReadShortField(stream));
    if (StreamError != noErr) return StreamError;
    if (SInt64(count) * kShortestRecordBytes > StreamBytesLeft(stream)) return eofErr;
    T* tail = head;
    while (tail->next != nullptr)
        tail = tail->next;
    for (UInt16 i = 0; i < count; ++i) {
        T* e = make();
        if (e == nullptr) return memFullErr;
        if (!read(e) || StreamError != noErr) {
            dispose(&e);
            return StreamError != noErr ? StreamError : OSErr(eofErr);
        }
        e->next = nullptr;
        tail->next = e;
        tail = e;
    }
    return noErr;
}

template <class T, class Write> SInt32 WriteGroup(SInt16 stream, const T* head, Write write) {
    SInt32 count = 0;
    for (const T* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next)
        ++count;
    WriteShortField(stream, SInt16(UInt16(count)));
    for (const T* e = head != nullptr ? head->next : nullptr; e != nullptr; e = e->next)
        write(stream, e);
    return count;
}

// The record of a definition as stored: definition, marker and the six groups. False when a group
// holds more elements than a count can tell.
bool EncodeSymbolRecord(SInt16 stream, const SymbolDefRecord* def, ConstStr255Param name) {
    SymbolDefRecord stored = *def;
    CutName(name, stored.name);
    WriteSymbolDefRecord(stream, &stored);
    WriteShortField(stream, SInt16(kLibraryMarker700));
    SInt32 most = 0;
    auto keep = [&most](SInt32 n) { most = n > most ? n : most; };
    keep(WriteGroup(stream, def->lineHead, [](SInt16 s, const LineRecord* e) { WriteLineRecord(s, e); }));
    keep(WriteGroup(stream, def->arcHead, [](SInt16 s, const ArcRecord* e) { WriteCircleRecord(s, e); }));
    keep(WriteGroup(stream, def->textHead, [](SInt16 s, const TextRecord* e) { WriteTextRecord(s, e); }));
    keep(WriteGroup(stream, def->dimensionHead,
                    [](SInt16 s, const DimensionRecord* e) { WriteDimensionRecord(s, e); }));
    keep(WriteGroup(stream, def->polylineHead,
                    [](SInt16 s, const PolylineRecord* e) { WritePolylineRecord(s, e); }));
    keep(WriteGroup(stream, def->areaHead, [](SInt16 s, const AreaRecord* e) { WriteAreaRecord(s, e); }));
    return most <= 0xFFFF;
}

template <class T> T* FirstAfter(T* head) {
    return head != nullptr ? head->next : nullptr;
}

void Unlink(DocWindowRecord* doc, SymbolDefRecord* def) {
    for (SymbolDefRecord* d = doc->symbolDefHead; d != nullptr; d = d->next)
        if (d->next == def) {
            d->next = def->next;
            break;
        }
    def->next = nullptr;
    doc->drawing->cursors.symbolDefCursor = doc->symbolDefHead;
}

void AppendDefinition(DocWindowRecord* doc, SymbolDefRecord* def) {
    SymbolDefRecord* tail = doc->symbolDefHead;
    while (tail->next != nullptr)
        tail = tail->next;
    def->next = nullptr;
    tail->next = def;
}

// Asks for the outcome of a clash unless one was kept for all; a rename loops while the new name
// is also taken.
struct ClashState {
    Boolean keep = false;
    SInt16 kept = 0;
    Str255 keptName{};
};
SInt16 SettleClash(ClashState& state, Boolean toLibrary, ConstStr255Param name, Str255 newName,
                   SymbolNameClashAsker ask) {
    if (state.keep) {
        // A rename kept for all cannot reuse one name: later clashes are asked again.
        if (state.kept != kClashRename) return state.kept;
    }
    Boolean all = false;
    SInt16 outcome = ask != nullptr ? ask(toLibrary, name, newName, &all) : SInt16(kClashStop);
    if (outcome == kClashRename && newName[0] == 0) outcome = kClashStop;
    if (all) {
        state.keep = true;
        state.kept = outcome;
    }
    return outcome;
}

} // namespace

void InitSymbolLibraryList() {
    if (SymbolLibraryList.head == nullptr) SymbolLibraryList.head = new SymbolLibraryNode{};
    FreeNodes();
    SymbolLibraryList.file.path[0] = 0;
}

void DisposeSymbolLibraryList() {
    FreeNodes();
    delete SymbolLibraryList.head;
    SymbolLibraryList.head = nullptr;
    SymbolLibraryList.cursor = nullptr;
    SymbolLibraryList.file.path[0] = 0;
}

Boolean SymbolLibraryIsOpen() {
    return SymbolLibraryList.file.path[0] != 0;
}

void CloseSymbolLibrary() {
    if (SymbolLibraryList.head == nullptr) InitSymbolLibraryList();
    FreeNodes();
    SymbolLibraryList.file.path[0] = 0;
}

SymbolLibraryNode* SymbolLibraryNodeAt(SInt16 index) {
    if (SymbolLibraryList.head == nullptr || index < 0) return nullptr;
    SymbolLibraryNode* n = SymbolLibraryList.head->next;
    for (SInt16 i = 0; n != nullptr && i < index; ++i)
        n = n->next;
    SymbolLibraryList.cursor = n;
    return n;
}

SInt16 FindLibrarySymbol(ConstStr255Param name) {
    Str19 cut;
    CutName(name, cut);
    SInt16 i = 0;
    for (SymbolLibraryNode* n = SymbolLibraryList.head != nullptr ? SymbolLibraryList.head->next : nullptr;
         n != nullptr; n = n->next, ++i)
        if (SameName(n->name, cut)) return i;
    return -1;
}

Boolean IsSymbolLibraryFile(const FSRef* file) {
    FInfo info{};
    FSGetFinderInfo(file, &info);
    if (info.fdType == 0x4673796D || info.fdType == 0x4653594D) return true; // "Fsym", "FSYM"
    std::string ext = GetUpperExtension(FSRefLeafName(file));
    return ext == "LIB" || ext == "BIB";
}

OSErr CreateSymbolLibrary(const FSRef* file) {
    static Directory dir;
    std::memset(dir.bytes, 0, sizeof dir.bytes);
    dir.bytes[0] = UInt8(kSymbolLibraryVersion >> 8), dir.bytes[1] = UInt8(kSymbolLibraryVersion);
    dir.bytes[2] = UInt8((kLibrarySlotCount - 1) >> 8), dir.bytes[3] = UInt8(kLibrarySlotCount - 1);

    // Written beside the target and put in its place only when complete.
    FSRef temp;
    OSErr err = FSMakeRef(FSPathWithSuffix(file->path, ".lib-part").c_str(), &temp);
    if (err == noErr) {
        FSDeleteObject(&temp);
        err = FSCreateFile(&temp);
    }
    FSIORefNum fork = 0;
    bool created = err == noErr;
    if (err == noErr) err = FSOpenFork(&temp, fsWrPerm, &fork);
    if (err == noErr) {
        err = WriteDirectory(fork, dir);
        OSErr closeErr = FSCloseFork(fork);
        if (err == noErr) err = closeErr;
    }
    if (err == noErr) {
        FInfo info{};
        info.fdType = 0x4673796D;
        info.fdCreator = kSymbolLibraryCreator;
        err = FSSetFinderInfo(&temp, info);
    }
    if (err == noErr) err = FSRenameReplacing(&temp, file);
    if (err != noErr) {
        if (created) FSDeleteObject(&temp);
        ShowOSErrorAlert(err);
    }
    return err;
}

OSErr OpenSymbolLibraryFile(const FSRef* file) {
    if (SymbolLibraryList.head == nullptr) InitSymbolLibraryList();
    Str255 name;
    FileName(file, name);
    if (!IsSymbolLibraryFile(file)) {
        ShowErrorAlert(kMsgNotASymbolLibrary, name);
        return paramErr;
    }
    FSIORefNum fork = 0;
    OSErr err = FSOpenFork(file, fsRdPerm, &fork);
    if (err != noErr) {
        ShowOSErrorAlert(err);
        return err;
    }
    static Directory dir;
    SInt64 size = 0;
    err = ReadDirectory(fork, &dir, &size);
    FSCloseFork(fork);
    if (err != noErr) {
        CloseSymbolLibrary();
        ShowErrorAlert(kMsgLibraryDamaged, name, err);
        return err;
    }
    if (dir.Version() != kSymbolLibraryVersion) {
        CloseSymbolLibrary();
        ShowErrorAlert(kMsgLibraryVersion, name);
        return paramErr;
    }
    SymbolLibraryList.file = *file;
    if (BuildList(dir, size) > 0) ShowErrorAlert(kMsgLibraryDamagedSlots, name);
    return noErr;
}

OSErr RebuildSymbolLibraryList() {
    if (!SymbolLibraryIsOpen()) return fnOpnErr;
    FSIORefNum fork = 0;
    static Directory dir;
    SInt64 size = 0;
    OSErr err = OpenDirectory(fsRdPerm, &fork, &dir, &size);
    if (err != noErr) return err;
    FSCloseFork(fork);
    BuildList(dir, size);
    return noErr;
}

OSErr ReadLibrarySymbol(DocWindowRecord* doc, SInt16 index, SymbolDefRecord** out) {
    *out = nullptr;
    SymbolLibraryNode* node = SymbolLibraryNodeAt(index);
    if (node == nullptr || !SymbolLibraryIsOpen()) return paramErr;
    FSIORefNum fork = 0;
    OSErr err = FSOpenFork(&SymbolLibraryList.file, fsRdPerm, &fork);
    if (err != noErr) return err;
    SInt16 stream = OpenForkReadStream(fork, kReadWindowBytes);
    SInt64 size = StreamFileSize(stream);
    if (node->offset < UInt32(kLibraryDirectoryBytes) || SInt64(node->offset) >= size || node->format < 0 ||
        node->format > kRealDouble) {
        StreamClose(stream);
        return eofErr;
    }
    StreamClearError();
    StreamSetPos(stream, node->offset);
    SymbolDefRecord* def = nullptr;
    if (NewSymbolDefElement(&def) == nullptr) {
        StreamClose(stream);
        return memFullErr;
    }
    SInt16 fmt = node->format;
    SymbolDefRecord scratch;
    ReadSymbolDefRecord(stream, &scratch, fmt, kVersion700, node->scaleFlag != 0);
    def->minX = scratch.minX, def->minY = scratch.minY, def->maxX = scratch.maxX, def->maxY = scratch.maxY;
    def->scale = scratch.scale;
    std::memcpy(def->name, node->name, sizeof def->name);
    err = StreamError;

    SInt16 version = kVersion119;
    if (err == noErr) {
        UInt16 marker = UInt16(ReadShortField(stream));
        if (marker == kLibraryMarker700)
            version = kVersion700;
        else if (marker == kLibraryMarker211)
            version = kVersion211;
        else // no marker: the word is the first count
            StreamSetPos(stream, StreamGetPos(stream) - 2);
        err = StreamError;
    }
    if (err == noErr)
        err = ReadGroup(stream, def->lineHead, NewLineRecord, DisposeLineRecord,
                        [&](LineRecord* e) { return ReadLineRecord(doc, stream, e, fmt, version); });
    if (err == noErr)
        err = ReadGroup(stream, def->arcHead, NewArcRecord, DisposeArcRecord,
                        [&](ArcRecord* e) { return ReadCircleRecord(doc, stream, e, fmt, version); });
    if (err == noErr)
        err = ReadGroup(stream, def->textHead, NewTextRecord, DisposeTextRecord,
                        [&](TextRecord* e) { return ReadTextRecord(doc, stream, e, fmt, version); });
    if (err == noErr)
        err =
            ReadGroup(stream, def->dimensionHead, NewDimensionRecord, DisposeDimensionRecord,
                      [&](DimensionRecord* e) { return ReadDimensionRecord(doc, stream, e, fmt, version); });
    if (err == noErr)
        err = ReadGroup(stream, def->polylineHead, NewPolylineRecord, DisposePolylineRecord,
                        [&](PolylineRecord* e) { return ReadPolylineRecord(doc, stream, e, fmt, version); });
    if (err == noErr)
        err = ReadGroup(stream, def->areaHead, NewAreaRecord, DisposeAreaRecord,
                        [&](AreaRecord* e) { return ReadAreaRecord(doc, stream, e, fmt, version); });
    StreamClose(stream);
    StreamClearError();
    if (err != noErr) {
        DisposeSymbolDefRecord(&def);
        return err;
    }
    *out = def;
    return noErr;
}

OSErr StoreLibrarySymbol(const SymbolDefRecord* def, ConstStr255Param name, Boolean replace) {
    if (!SymbolLibraryIsOpen()) return fnOpnErr;
    Str19 cut;
    CutName(name, cut);
    SInt16 stream = OpenMemoryStream();
    StreamClearError();
    bool fits = EncodeSymbolRecord(stream, def, cut);
    OSErr err = StreamError;
    StreamClearError();
    if (!fits || err != noErr) {
        CloseMemoryStream(stream);
        ShowErrorAlert(kMsgLibrarySymbolDamaged, cut, err);
        return err != noErr ? err : OSErr(paramErr);
    }

    FSIORefNum fork = 0;
    static Directory dir;
    SInt64 size = 0;
    err = OpenDirectory(fsRdWrPerm, &fork, &dir, &size);
    if (err != noErr) {
        CloseMemoryStream(stream);
        return err;
    }
    // Only listed slots are used, so a stored symbol is never overwritten nor hidden.
    SInt32 slot = -1;
    Str19 slotName;
    if (replace)
        for (SInt32 i = 0; i < dir.ListedSlots() && slot < 0; ++i) {
            SlotName(dir.Slot(i), slotName);
            if (slotName[0] != 0 && SameName(slotName, cut)) slot = i;
        }
    for (SInt32 i = 0; i < dir.ListedSlots() && slot < 0; ++i)
        if (dir.Slot(i)[0] == 0) slot = i;
    if (slot < 0 || size > SInt64(0xFFFFFFFFu)) {
        FSCloseFork(fork);
        CloseMemoryStream(stream);
        ShowErrorAlert(kMsgLibraryFull, cut);
        return dskFulErr;
    }

    SInt64 recordSize = 0;
    const UInt8* bytes = MemoryStreamData(stream, &recordSize);
    ByteCount put = 0;
    err = FSWriteFork(fork, fsFromStart, size, ByteCount(recordSize), bytes, &put);
    if (err == noErr && put != ByteCount(recordSize)) err = ioErr;
    if (err == noErr) err = FSFlushFork(fork);
    CloseMemoryStream(stream);
    if (err == noErr) {
        UInt8 old[kLibrarySlotBytes];
        std::memcpy(old, dir.Slot(slot), sizeof old);
        SetSlot(dir.Slot(slot), cut, UInt32(size), UInt8(kRealDouble), 1);
        err = WriteDirectory(fork, dir);
        if (err != noErr) {
            // Puts the directory as it was; the appended record goes below.
            std::memcpy(dir.Slot(slot), old, sizeof old);
            WriteDirectory(fork, dir);
        }
    }
    if (err != noErr) FSSetForkSize(fork, fsFromStart, size);
    OSErr closeErr = FSCloseFork(fork);
    if (err == noErr) err = closeErr;
    if (err != noErr) {
        ReportNotWritten(err);
        return err;
    }
    return RebuildSymbolLibraryList();
}

SInt16 CopySymbolsToLibrary(SymbolDefRecord* const* defs, SInt16 n, SymbolNameClashAsker ask,
                            SymbolCopyProgress progress) {
    ClashState state;
    SInt16 copied = 0;
    for (SInt16 i = 0; i < n; ++i) {
        if (progress != nullptr) progress(SInt16(100 * i / n));
        Str255 name;
        CutName(defs[i]->name, name);
        Boolean replace = false;
        while (FindLibrarySymbol(name) >= 0 && !replace) {
            Str255 newName{};
            SInt16 outcome = SettleClash(state, true, name, newName, ask);
            if (outcome == kClashStop) return copied;
            if (outcome == kClashReplace)
                replace = true;
            else
                CutName(newName, name);
        }
        if (StoreLibrarySymbol(defs[i], name, replace) != noErr) return copied;
        ++copied;
    }
    if (progress != nullptr) progress(100);
    return copied;
}

SInt16 CopySymbolsToDrawing(DocWindowRecord* doc, const SInt16* indexes, SInt16 n, SymbolNameClashAsker ask,
                            SymbolCopyProgress progress) {
    ClashState state;
    SInt16 copied = 0;
    // The list's nodes are read by index before any of them changes.
    for (SInt16 i = 0; i < n; ++i) {
        if (progress != nullptr) progress(SInt16(100 * i / n));
        SymbolDefRecord* def = nullptr;
        OSErr err = ReadLibrarySymbol(doc, indexes[i], &def);
        if (err != noErr) {
            SymbolLibraryNode* node = SymbolLibraryNodeAt(indexes[i]);
            if (node != nullptr) ShowErrorAlert(kMsgLibrarySymbolDamaged, node->name, err);
            continue;
        }
        SymbolDefRecord* old = nullptr;
        bool stop = false;
        while ((old = FindSymbolDefinition(doc, def->name)) != nullptr) {
            Str255 newName{};
            SInt16 outcome = SettleClash(state, false, def->name, newName, ask);
            if (outcome == kClashStop) {
                stop = true;
                break;
            }
            if (outcome == kClashReplace) break;
            CutName(newName, def->name);
        }
        if (stop) {
            DisposeSymbolDefRecord(&def);
            break;
        }
        if (old != nullptr) {
            Unlink(doc, old);
            AppendDefinition(doc, def);
            for (SymbolInstanceRecord* s = FirstAfter(doc->instanceHead); s != nullptr; s = s->next)
                if (s->definition == old) {
                    s->definition = def;
                    ComputeInstanceFrame(doc, s);
                }
            DisposeSymbolDefinition(doc, old);
            SpatialIndexStale(doc);
            // No undo step may bring back an instance of the definition that went.
            ResetUndoJournal(doc);
        } else {
            AppendDefinition(doc, def);
        }
        MarkDocumentChanged(doc);
        ++copied;
    }
    if (progress != nullptr) progress(100);
    return copied;
}

SInt32 CountSymbolInstances(const DocWindowRecord* doc, const SymbolDefRecord* def) {
    SInt32 n = 0;
    for (const SymbolInstanceRecord* s = FirstAfter(doc->instanceHead); s != nullptr; s = s->next)
        n += s->definition == def ? 1 : 0;
    return n;
}

// Rename and delete touch only the directory: read it, change it, write it back checked.
template <class Change> static OSErr ChangeDirectory(Change change) {
    FSIORefNum fork = 0;
    static Directory dir;
    SInt64 size = 0;
    OSErr err = OpenDirectory(fsRdWrPerm, &fork, &dir, &size);
    if (err != noErr) return err;
    change(dir);
    err = WriteDirectory(fork, dir);
    OSErr closeErr = FSCloseFork(fork);
    if (err == noErr) err = closeErr;
    if (err != noErr) {
        ReportNotWritten(err);
        return err;
    }
    return RebuildSymbolLibraryList();
}

OSErr RenameLibrarySymbol(SInt16 index, ConstStr255Param newName) {
    SymbolLibraryNode* node = SymbolLibraryNodeAt(index);
    if (node == nullptr) return paramErr;
    Str19 cut;
    CutName(newName, cut);
    if (cut[0] == 0) return paramErr;
    if (FindLibrarySymbol(cut) >= 0) {
        ShowErrorAlert(kMsgLibraryNameTaken, cut);
        return dupFNErr;
    }
    SInt16 slot = node->slot;
    return ChangeDirectory([&](Directory& dir) {
        UInt8* s = dir.Slot(slot);
        SetSlot(s, cut, SlotOffset(s), s[24], s[25]);
    });
}

Boolean RenameDrawingSymbol(DocWindowRecord* doc, SymbolDefRecord* def, ConstStr255Param newName) {
    Str19 cut;
    CutName(newName, cut);
    if (cut[0] == 0) return false;
    SymbolDefRecord* other = FindSymbolDefinition(doc, cut);
    if (other != nullptr && other != def) {
        ShowErrorAlert(kMsgSymbolNameUsed, cut);
        return false;
    }
    std::memcpy(def->name, cut, sizeof def->name);
    MarkDocumentChanged(doc);
    return true;
}

OSErr DeleteLibrarySymbols(const SInt16* indexes, SInt16 n) {
    return ChangeDirectory([&](Directory& dir) {
        for (SInt16 i = 0; i < n; ++i) {
            SymbolLibraryNode* node = SymbolLibraryNodeAt(indexes[i]);
            if (node != nullptr) std::memset(dir.Slot(node->slot), 0, kLibrarySlotBytes);
        }
    });
}

void DeleteDrawingSymbol(DocWindowRecord* doc, SymbolDefRecord* def) {
    for (SymbolInstanceRecord* s = FirstAfter(doc->instanceHead); s != nullptr;) {
        SymbolInstanceRecord* next = s->next;
        if (s->definition == def) RemoveInstance(doc, s);
        s = next;
    }
    Unlink(doc, def);
    DisposeSymbolDefinition(doc, def);
    SpatialIndexStale(doc);
    // The instances' undo records name a definition that is gone: no step may bring them back.
    ResetUndoJournal(doc);
    MarkDocumentChanged(doc);
}
