// The undo journal: entries written through the stored element encoding, steps as fork positions,
// and replay that restores the drawing exactly by matching elements on their stored bytes.
#include "Model/UndoJournal.h"

#include "Model/LayersFrames.h"
#include "Model/Selection.h"

#include "Other/Alerts.h"
#include "Other/CursorsAndMouse.h"
#include "Model/DocumentHooks.h"
#include "Model/ElementEncoding.h"
#include "Model/ElementLists.h"
#include "Model/SpatialIndex.h"
#include "Platform/Events.h"
#include "Platform/FileManager.h"
#include "Platform/MemoryManager.h"
#include "Model/Streams.h"
#include "Other/ZEZUdivari.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace {

const Str255 kEmpty = {0};

// A scratch stream for assembling one entry and for encoding elements while matching.
SInt16 Scratch() {
    static SInt16 stream = OpenMemoryStream();
    ResetMemoryStream(stream);
    return stream;
}

// Runs stream operations without disturbing the error of a sequence the caller may be in.
template <typename Op> OSErr Isolated(Op op) {
    OSErr outer = StreamError;
    StreamClearError();
    op();
    OSErr err = StreamError;
    StreamError = outer;
    return err;
}

// The journal is given up: no more steps, undo and redo do nothing, the user is told once.
void JournalFailed(DocWindowRecord* doc, OSErr err) {
    DrawingRecord* d = doc->drawing;
    d->undo.undoWriteError = err != noErr ? err : OSErr(ioErr);
    d->undo.undoWriteFailed = 1;
    ++d->undo.undoFailureCount;
    if (!d->undo.undoGuard2) {
        d->undo.undoGuard2 = 1;
        ShowErrorAlert(kUndoJournalFailedMessage, kEmpty);
    }
}

bool JournalUsable(const DocWindowRecord* doc) {
    const DrawingRecord* d = doc->drawing;
    return d->undo.undoEnabled && d->undo.undoWriteError == noErr && !d->undo.undoWriteFailed;
}

UInt64 Mix(UInt64 h, UInt64 v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}
UInt64 Bits(Float64 x) {
    UInt64 b;
    std::memcpy(&b, &x, 8);
    return b;
}
UInt64 Header(SInt16 group, SInt16 layer, SInt16 pen) {
    return Mix(Mix(UInt64(UInt16(group)), UInt64(UInt16(layer))), UInt64(UInt16(pen)));
}

void WriteInstanceEntry(SInt16 s, const SymbolInstanceRecord* e) {
    WriteSymbolInstanceRecord(s, e);
    Str19 name = {0};
    if (e->definition != nullptr) std::memcpy(name, e->definition->name, sizeof name);
    StreamWritePString(s, name, 19);
}

// What the journal needs of each kind: its list, how it is stored and read, a hash of the fields
// that identify it, and how it is freed.
template <typename T> struct Journal;

template <> struct Journal<LineRecord> {
    static constexpr SInt16 kind = kLineElement;
    static LineRecord*& Head(DocWindowRecord* doc) { return doc->lineHead; }
    static LineRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.lineCursor; }
    static void Write(SInt16 s, const LineRecord* e) { WriteLineRecord(s, e); }
    static bool Read(DocWindowRecord* doc, SInt16 s, LineRecord* e) {
        return ReadLineRecord(doc, s, e, kRealDouble, kCurrentFileVersion);
    }
    static UInt64 Key(const LineRecord* e) { return Bits(e->x1); }
    static UInt64 Hash(const LineRecord* e) {
        return Mix(Mix(Mix(Mix(Header(e->group, e->layer, e->pen), Bits(e->x1)), Bits(e->y1)), Bits(e->x2)),
                   Bits(e->y2));
    }
    static void Dispose(DocWindowRecord* doc, LineRecord* e) { DisposeLineElement(doc, e, false); }
};

template <> struct Journal<ArcRecord> {
    static constexpr SInt16 kind = kArcElement;
    static ArcRecord*& Head(DocWindowRecord* doc) { return doc->arcHead; }
    static ArcRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.arcCursor; }
    static void Write(SInt16 s, const ArcRecord* e) { WriteCircleRecord(s, e); }
    static bool Read(DocWindowRecord* doc, SInt16 s, ArcRecord* e) {
        return ReadCircleRecord(doc, s, e, kRealDouble, kCurrentFileVersion);
    }
    static UInt64 Key(const ArcRecord* e) { return Bits(e->cx); }
    static UInt64 Hash(const ArcRecord* e) {
        UInt64 h =
            Mix(Mix(Mix(Header(e->group, e->layer, e->pen), Bits(e->cx)), Bits(e->cy)), Bits(e->radius));
        return Mix(Mix(h, Bits(e->startAngle)), Bits(e->endAngle));
    }
    static void Dispose(DocWindowRecord* doc, ArcRecord* e) { DisposeArcElement(doc, e, false); }
};

template <> struct Journal<TextRecord> {
    static constexpr SInt16 kind = kTextElement;
    static TextRecord*& Head(DocWindowRecord* doc) { return doc->textHead; }
    static TextRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.textCursor; }
    static void Write(SInt16 s, const TextRecord* e) { WriteTextRecord(s, e); }
    static bool Read(DocWindowRecord* doc, SInt16 s, TextRecord* e) {
        return ReadTextRecord(doc, s, e, kRealDouble, kCurrentFileVersion);
    }
    static UInt64 Key(const TextRecord* e) { return Bits(e->x); }
    static UInt64 Hash(const TextRecord* e) {
        return Mix(Mix(Mix(Header(e->group, e->layer, e->pen), Bits(e->x)), Bits(e->y)), Bits(e->angle));
    }
    static void Dispose(DocWindowRecord* doc, TextRecord* e) { DisposeTextElement(doc, e, false); }
};

template <> struct Journal<DimensionRecord> {
    static constexpr SInt16 kind = kDimensionElement;
    static DimensionRecord*& Head(DocWindowRecord* doc) { return doc->dimensionHead; }
    static DimensionRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.dimensionCursor; }
    static void Write(SInt16 s, const DimensionRecord* e) { WriteDimensionRecord(s, e); }
    static bool Read(DocWindowRecord* doc, SInt16 s, DimensionRecord* e) {
        return ReadDimensionRecord(doc, s, e, kRealDouble, kCurrentFileVersion);
    }
    static UInt64 Key(const DimensionRecord* e) { return Bits(e->x1); }
    static UInt64 Hash(const DimensionRecord* e) {
        UInt64 h = Mix(Mix(Header(e->group, e->layer, e->pen), Bits(e->x1)), Bits(e->y1));
        return Mix(Mix(Mix(h, Bits(e->x2)), Bits(e->y2)), Bits(e->textX));
    }
    static void Dispose(DocWindowRecord* doc, DimensionRecord* e) { DisposeDimensionElement(doc, e, false); }
};

template <> struct Journal<PolylineRecord> {
    static constexpr SInt16 kind = kPolylineElement;
    static PolylineRecord*& Head(DocWindowRecord* doc) { return doc->polylineHead; }
    static PolylineRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.polylineCursor; }
    static void Write(SInt16 s, const PolylineRecord* e) { WritePolylineRecord(s, e); }
    static bool Read(DocWindowRecord* doc, SInt16 s, PolylineRecord* e) {
        return ReadPolylineRecord(doc, s, e, kRealDouble, kCurrentFileVersion);
    }
    static UInt64 Key(const PolylineRecord* e) { return UInt64(UInt16(e->pointCount)); }
    static UInt64 Hash(const PolylineRecord* e) {
        UInt64 h = Mix(Mix(Header(e->group, e->layer, e->pen), UInt64(UInt16(e->kind))),
                       UInt64(UInt16(e->pointCount)));
        if (e->points != nullptr && e->pointCount > 0 && GetHandleSize(e->points) >= 16) {
            const auto* p = reinterpret_cast<const Float64*>(*e->points);
            h = Mix(Mix(h, Bits(p[0])), Bits(p[1]));
        }
        return h;
    }
    static void Dispose(DocWindowRecord* doc, PolylineRecord* e) { DisposePolylineElement(doc, e, false); }
};

template <> struct Journal<SymbolInstanceRecord> {
    static constexpr SInt16 kind = kSymbolInstanceElement;
    static SymbolInstanceRecord*& Head(DocWindowRecord* doc) { return doc->instanceHead; }
    static SymbolInstanceRecord*& Cursor(DocWindowRecord* doc) {
        return doc->drawing->cursors.instanceCursor;
    }
    static void Write(SInt16 s, const SymbolInstanceRecord* e) { WriteInstanceEntry(s, e); }
    // The instance is followed by the name of its definition, which ties it to the definition again.
    static bool Read(DocWindowRecord* doc, SInt16 s, SymbolInstanceRecord* e) {
        if (!ReadSymbolInstanceRecord(s, e, kRealDouble, kCurrentFileVersion)) return false;
        Str19 name;
        SInt32 budget = 20;
        StreamReadPString(s, name, 19, &budget);
        for (SymbolDefRecord* def = doc->symbolDefHead ? doc->symbolDefHead->next : nullptr; def;
             def = def->next)
            if (EqualPStr(def->name, name)) {
                e->definition = def;
                break;
            }
        return true;
    }
    static UInt64 Key(const SymbolInstanceRecord* e) { return Bits(e->x); }
    static UInt64 Hash(const SymbolInstanceRecord* e) {
        UInt64 h = Mix(Mix(Header(e->group, e->layer, e->pen), Bits(e->x)), Bits(e->y));
        return Mix(Mix(h, Bits(e->angle)), Bits(e->xScale));
    }
    static void Dispose(DocWindowRecord* doc, SymbolInstanceRecord* e) {
        DisposeInstanceElement(doc, e, false);
    }
};

template <> struct Journal<AreaRecord> {
    static constexpr SInt16 kind = kAreaElement;
    static AreaRecord*& Head(DocWindowRecord* doc) { return doc->areaHead; }
    static AreaRecord*& Cursor(DocWindowRecord* doc) { return doc->drawing->cursors.areaCursor; }
    static void Write(SInt16 s, const AreaRecord* e) { WriteAreaRecord(s, e); }
    static bool Read(DocWindowRecord* doc, SInt16 s, AreaRecord* e) {
        return ReadAreaRecord(doc, s, e, kRealDouble, kCurrentFileVersion);
    }
    static UInt64 Key(const AreaRecord* e) { return Bits(e->minX); }
    static UInt64 Hash(const AreaRecord* e) {
        UInt64 h = Mix(Mix(Header(e->group, e->layer, e->pen), Bits(e->minX)), Bits(e->minY));
        return Mix(Mix(Mix(h, Bits(e->maxX)), Bits(e->maxY)), UInt64(UInt16(e->lastHoleIndex)));
    }
    static void Dispose(DocWindowRecord* doc, AreaRecord* e) { DisposeAreaElement(doc, e, false); }
};

// Entries gather in memory and reach the file in one write: at the end of a step, before a replay
// and whenever a megabyte has gathered.
constexpr SInt32 kPendingFlushBytes = 1 << 20;

void FlushPending(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    if (d->undo.undoPendingBytes == 0) return;
    SInt32 bytes = d->undo.undoPendingBytes;
    d->undo.undoPendingBytes = 0;
    if (!JournalUsable(doc)) return;
    OSErr err = FSWriteFork(d->undo.undoFork, fsFromStart, d->undo.undoPosition, ByteCount(bytes),
                            *d->undo.undoPending, nullptr);
    d->undo.undoWriteError = err;
    if (err != noErr) {
        JournalFailed(doc, err);
        return;
    }
    d->undo.undoPosition += bytes;
}

bool AppendPending(DocWindowRecord* doc, const UInt8* bytes, SInt32 count) {
    DrawingRecord* d = doc->drawing;
    Size needed = Size(d->undo.undoPendingBytes) + count;
    Size capacity = d->undo.undoPending != nullptr ? GetHandleSize(d->undo.undoPending) : 0;
    if (needed > capacity) {
        Size grown = capacity < 4096 ? 4096 : capacity;
        while (grown < needed)
            grown *= 2;
        if (d->undo.undoPending == nullptr)
            d->undo.undoPending = NewHandle(grown);
        else
            SetHandleSize(d->undo.undoPending, grown);
        if (d->undo.undoPending == nullptr || MemError() != noErr) return false;
    }
    std::memcpy(*d->undo.undoPending + d->undo.undoPendingBytes, bytes, size_t(count));
    d->undo.undoPendingBytes = SInt32(needed);
    if (d->undo.undoPendingBytes >= kPendingFlushBytes) FlushPending(doc);
    return true;
}

template <typename T> void RecordEntry(DocWindowRecord* doc, const T* element, Boolean added) {
    DrawingRecord* d = doc->drawing;
    // Changes are recorded around their edit, with undo on or off: the index hears of them here.
    SpatialIndexChanged(doc, Journal<T>::kind, element);
    if (element == nullptr || !IsUndoRecording(doc) || d->undo.undoReplaying) return;
    if (element == Journal<T>::Head(doc)) return;
    SInt16 scratch = Scratch();
    OSErr err = Isolated([&] {
        UInt16 code = UInt16(Journal<T>::kind + (added ? 0 : kUndoRemovedCode));
        StreamWriteBytes(scratch, &code, sizeof code);
        Journal<T>::Write(scratch, element);
    });
    SInt64 size = 0;
    const UInt8* bytes = MemoryStreamData(scratch, &size);
    if (err == noErr && !AppendPending(doc, bytes, SInt32(size))) err = memFullErr;
    if (err != noErr) JournalFailed(doc, err);
}

// The frame lists moved with the elements of a step: an entry of its own, with no element.
constexpr UInt16 kFrameOffsetCode = 0x7F;
struct FrameOffset {
    Float64 dx, dy;
};

// One entry of a step read back: its code, the record made from it and where its stored bytes lie.
struct Entry {
    UInt16 code;
    void* record;
    SInt64 start, end;
    bool done;
};

struct Step {
    std::vector<UInt8> bytes;
    std::vector<Entry> entries;
};

template <typename T> void FreeRecord(DocWindowRecord* doc, void* record) {
    Journal<T>::Dispose(doc, static_cast<T*>(record));
}

void FreeEntryRecord(DocWindowRecord* doc, Entry& entry) {
    if (entry.record == nullptr) return;
    if (entry.code == kFrameOffsetCode) {
        delete static_cast<FrameOffset*>(entry.record);
        entry.record = nullptr;
        return;
    }
    switch (entry.code & 0x7F) {
    case kLineElement:
        FreeRecord<LineRecord>(doc, entry.record);
        break;
    case kArcElement:
        FreeRecord<ArcRecord>(doc, entry.record);
        break;
    case kTextElement:
        FreeRecord<TextRecord>(doc, entry.record);
        break;
    case kDimensionElement:
        FreeRecord<DimensionRecord>(doc, entry.record);
        break;
    case kPolylineElement:
        FreeRecord<PolylineRecord>(doc, entry.record);
        break;
    case kSymbolInstanceElement:
        FreeRecord<SymbolInstanceRecord>(doc, entry.record);
        break;
    case kAreaElement:
        FreeRecord<AreaRecord>(doc, entry.record);
        break;
    }
    entry.record = nullptr;
}

void FreeStep(DocWindowRecord* doc, Step& step) {
    for (Entry& e : step.entries)
        FreeEntryRecord(doc, e);
    step.entries.clear();
}

template <typename T> void* ReadEntryRecord(DocWindowRecord* doc, SInt16 s) {
    T* record = static_cast<T*>(std::calloc(1, sizeof(T)));
    if (record == nullptr) return nullptr;
    if (!Journal<T>::Read(doc, s, record) || StreamError != noErr) {
        Journal<T>::Dispose(doc, record);
        return nullptr;
    }
    return record;
}

// Reads every entry of the step before anything is changed; false when any entry cannot be read
// (an unknown code, a damaged record, a record running past the step).
bool ReadStep(DocWindowRecord* doc, SInt64 from, SInt64 to, Step* step) {
    DrawingRecord* d = doc->drawing;
    if (from < 0 || to < from) return false;
    step->bytes.resize(size_t(to - from));
    if (to > from && FSReadFork(d->undo.undoFork, fsFromStart, from, ByteCount(to - from), step->bytes.data(),
                                nullptr) != noErr)
        return false;

    SInt16 in = OpenMemoryStreamOn(step->bytes.data(), SInt64(step->bytes.size()));
    bool ok = true;
    Isolated([&] {
        while (ok && StreamGetPos(in) < SInt64(step->bytes.size())) {
            Entry entry{0, nullptr, 0, 0, false};
            if (StreamReadBytes(in, &entry.code, sizeof entry.code) != noErr) {
                ok = false;
                break;
            }
            entry.start = StreamGetPos(in);
            switch (entry.code & ~kUndoRemovedCode) {
            case kLineElement:
                entry.record = ReadEntryRecord<LineRecord>(doc, in);
                break;
            case kArcElement:
                entry.record = ReadEntryRecord<ArcRecord>(doc, in);
                break;
            case kTextElement:
                entry.record = ReadEntryRecord<TextRecord>(doc, in);
                break;
            case kDimensionElement:
                entry.record = ReadEntryRecord<DimensionRecord>(doc, in);
                break;
            case kPolylineElement:
                entry.record = ReadEntryRecord<PolylineRecord>(doc, in);
                break;
            case kSymbolInstanceElement:
                entry.record = ReadEntryRecord<SymbolInstanceRecord>(doc, in);
                break;
            case kAreaElement:
                entry.record = ReadEntryRecord<AreaRecord>(doc, in);
                break;
            case kFrameOffsetCode: {
                auto* offset = new FrameOffset;
                StreamReadBytes(in, offset, sizeof *offset);
                entry.record = offset;
                break;
            }
            default:
                break;
            }
            entry.end = StreamGetPos(in);
            if (entry.record == nullptr || StreamError != noErr)
                ok = false;
            else
                step->entries.push_back(entry);
        }
    });
    CloseMemoryStream(in);
    if (!ok) FreeStep(doc, *step);
    return ok;
}

template <typename T> void Reinsert(DocWindowRecord* doc, Entry& entry) {
    T* record = static_cast<T*>(entry.record);
    if constexpr (std::is_same_v<T, SymbolInstanceRecord>) {
        if (record->definition == nullptr) return; // its definition is gone: nothing to show
    }
    T* head = Journal<T>::Head(doc);
    record->next = head->next;
    head->next = record;
    Journal<T>::Cursor(doc) = record;
    entry.record = nullptr;
    gDocumentHooks.drawElement(doc, Journal<T>::kind, record);
}

// Whether the element's stored bytes are those of the entry.
template <typename T> bool SameStoredBytes(const Step& step, const Entry& entry, const T* e) {
    SInt16 scratch = Scratch();
    Isolated([&] { Journal<T>::Write(scratch, e); });
    SInt64 size = 0;
    const UInt8* bytes = MemoryStreamData(scratch, &size);
    return entry.end - entry.start == size &&
           std::memcmp(step.bytes.data() + entry.start, bytes, size_t(size)) == 0;
}

// Takes out, in one walk of the list, one element whose stored bytes equal each entry's bytes.
// A few entries are compared directly; many go through a hash of their identifying fields.
template <typename T> void TakeOut(DocWindowRecord* doc, Step& step, const std::vector<size_t>& pending) {
    if (pending.empty()) return;
    constexpr size_t kDirect = 4;
    std::unordered_multimap<UInt64, size_t> byHash;
    UInt64 keys[kDirect];
    if (pending.size() > kDirect) {
        byHash.reserve(pending.size());
        for (size_t i : pending)
            byHash.emplace(Journal<T>::Hash(static_cast<T*>(step.entries[i].record)), i);
    } else {
        for (size_t n = 0; n < pending.size(); ++n)
            keys[n] = Journal<T>::Key(static_cast<T*>(step.entries[pending[n]].record));
    }
    auto takes = [&](T* e) -> bool {
        if (pending.size() <= kDirect) {
            UInt64 key = Journal<T>::Key(e);
            for (size_t n = 0; n < pending.size(); ++n) {
                Entry& entry = step.entries[pending[n]];
                if (keys[n] != key || entry.done || !SameStoredBytes(step, entry, e)) continue;
                entry.done = true;
                return true;
            }
            return false;
        }
        auto range = byHash.equal_range(Journal<T>::Hash(e));
        for (auto it = range.first; it != range.second; ++it) {
            Entry& entry = step.entries[it->second];
            if (!SameStoredBytes(step, entry, e)) continue;
            entry.done = true;
            byHash.erase(it);
            return true;
        }
        return false;
    };
    size_t left = pending.size();
    T* before = Journal<T>::Head(doc);
    while (left > 0 && before->next != nullptr) {
        T* e = before->next;
        if (!takes(e)) {
            before = e;
            continue;
        }
        before->next = e->next;
        if (Journal<T>::Cursor(doc) == e) Journal<T>::Cursor(doc) = before;
        Journal<T>::Dispose(doc, e);
        --left;
    }
    if (left < pending.size()) RequestRedraw(doc);
}

// Replays the step: re-inserts the states that must exist afterwards, takes out the others.
void ApplyStep(DocWindowRecord* doc, Step& step, bool undo) {
    SpatialIndexStale(doc);
    SelectionRecordsUnknown(); // restored records carry the flags they were stored with
    std::vector<size_t> pending[kElementKindCount];
    size_t count = step.entries.size();
    for (size_t n = 0; n < count; ++n) {
        size_t i = undo ? count - 1 - n : n;
        Entry& entry = step.entries[i];
        if (entry.code == kFrameOffsetCode) {
            const auto* offset = static_cast<const FrameOffset*>(entry.record);
            const Float64 sign = undo ? -1.0 : 1.0;
            OffsetFrameLists(doc, sign * offset->dx, sign * offset->dy);
            continue;
        }
        bool removedState = (entry.code & kUndoRemovedCode) != 0;
        SInt16 kind = SInt16(entry.code & ~kUndoRemovedCode);
        if (removedState != undo) {
            pending[kind].push_back(i);
            continue;
        }
        switch (kind) {
        case kLineElement:
            Reinsert<LineRecord>(doc, entry);
            break;
        case kArcElement:
            Reinsert<ArcRecord>(doc, entry);
            break;
        case kTextElement:
            Reinsert<TextRecord>(doc, entry);
            break;
        case kDimensionElement:
            Reinsert<DimensionRecord>(doc, entry);
            break;
        case kPolylineElement:
            Reinsert<PolylineRecord>(doc, entry);
            break;
        case kSymbolInstanceElement:
            Reinsert<SymbolInstanceRecord>(doc, entry);
            break;
        case kAreaElement:
            Reinsert<AreaRecord>(doc, entry);
            break;
        }
    }
    TakeOut<LineRecord>(doc, step, pending[kLineElement]);
    TakeOut<ArcRecord>(doc, step, pending[kArcElement]);
    TakeOut<TextRecord>(doc, step, pending[kTextElement]);
    TakeOut<DimensionRecord>(doc, step, pending[kDimensionElement]);
    TakeOut<PolylineRecord>(doc, step, pending[kPolylineElement]);
    TakeOut<SymbolInstanceRecord>(doc, step, pending[kSymbolInstanceElement]);
    TakeOut<AreaRecord>(doc, step, pending[kAreaElement]);
    FreeStep(doc, step);
}

void SetJournalPosition(DocWindowRecord* doc, SInt64 position) {
    doc->drawing->undo.undoPendingBytes = 0;
    doc->drawing->undo.undoPosition = position;
}

SInt64 JournalPosition(DocWindowRecord* doc) {
    return doc->drawing->undo.undoPosition + doc->drawing->undo.undoPendingBytes;
}

void ShowStatus(DocWindowRecord* doc, SInt16 message) {
    gDocumentHooks.showStatusMessage(doc, message, true);
}

// Replays the step between two table entries; false (journal given up) when it cannot be read.
bool Replay(DocWindowRecord* doc, SInt16 fromIndex, bool undo) {
    DrawingRecord* d = doc->drawing;
    Step step;
    if (!ReadStep(doc, d->undo.undoSteps[fromIndex], d->undo.undoSteps[fromIndex + 1], &step)) {
        JournalFailed(doc, ioErr);
        return false;
    }
    ApplyStep(doc, step, undo);
    return true;
}

} // namespace

Boolean IsUndoRecording(const DocWindowRecord* doc) {
    return JournalUsable(doc) && doc->settings->undoOn;
}

namespace {

// A new or emptied journal: no failure recorded or reported, and its age counted from now.
void StartJournalAfresh(DrawingRecord* d) {
    d->undo.undoWriteError = noErr;
    d->undo.undoWriteFailed = 0;
    d->undo.undoGuard1 = d->undo.undoGuard2 = 0;
    d->undo.undoResetTicks = TickCount();
}

} // namespace

void CreateUndoJournal(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    d->undo.undoEnabled = 0;
    d->undo.undoStepCount = 0;
    d->undo.redoCount = 0;
    if (d->undo.undoFileRef == nullptr)
        d->undo.undoFileRef = static_cast<FSRef*>(std::calloc(1, sizeof(FSRef)));
    if (d->undo.undoSteps == nullptr)
        d->undo.undoSteps = static_cast<UInt32*>(std::calloc(kUndoStepCapacity, sizeof(UInt32)));
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "Tempor\xC3\xA4re Undodatei%u", unsigned(TickCount()));
    FSIORefNum fork = 0;
    OSErr err = d->undo.undoFileRef != nullptr && d->undo.undoSteps != nullptr ? noErr : memFullErr;
    if (err == noErr) err = FSCreateTempFile(prefix, d->undo.undoFileRef);
    if (err == noErr) {
        err = FSOpenFork(d->undo.undoFileRef, fsRdWrPerm, &fork);
        if (err != noErr) FSDeleteObject(d->undo.undoFileRef);
    }
    if (err != noErr) {
        ShowErrorAlert(kUndoJournalCreateFailedMessage, kEmpty);
        return;
    }
    d->undo.undoFork = fork;
    d->undo.undoPosition = 0;
    d->undo.undoPendingBytes = 0;
    d->undo.undoEnabled = 1;
    StartJournalAfresh(d);
}

void ResetUndoJournal(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    if (!d->undo.undoEnabled) return;
    d->undo.undoStepCount = 0;
    d->undo.redoCount = 0;
    StartJournalAfresh(d);
    d->undo.undoPendingBytes = 0;
    SetJournalPosition(doc, 0);
}

void DeleteUndoJournal(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    DisposeHandle(d->undo.undoPending);
    d->undo.undoPending = nullptr;
    d->undo.undoPendingBytes = 0;
    if (!d->undo.undoEnabled) return;
    FSCloseFork(d->undo.undoFork);
    FSDeleteObject(d->undo.undoFileRef);
    d->undo.undoEnabled = 0;
    d->undo.undoFork = 0;
    d->undo.undoStepCount = 0;
    d->undo.redoCount = 0;
}

void RenewFailedUndoJournal(DocWindowRecord* doc) {
    DeleteUndoJournal(doc);
    CreateUndoJournal(doc);
    doc->drawing->undo.undoWriteFailed = 0;
    doc->drawing->undo.undoFailureCount = 0;
}

void BeginUndoStep(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    // A bracket opened inside an open one adds to the open step: one user action, one undo.
    if (d->undo.undoNesting++ > 0) {
        MarkDocumentChanged(doc);
        return;
    }
    if (IsUndoRecording(doc)) {
        // The table keeps one entry for the end of the last step; when it is full the oldest step
        // is given up, so recording goes on and the table is never written past its end.
        if (d->undo.undoStepCount >= kUndoStepCapacity - 1) {
            std::memmove(d->undo.undoSteps, d->undo.undoSteps + 1,
                         sizeof(UInt32) * size_t(kUndoStepCapacity - 1));
            --d->undo.undoStepCount;
            if (!d->undo.undoGuard1) {
                d->undo.undoGuard1 = 1;
                ShowErrorAlert(kUndoHistoryFullMessage, kEmpty);
            }
        }
        d->undo.undoSteps[d->undo.undoStepCount] = UInt32(JournalPosition(doc));
        ++d->undo.undoStepCount;
        d->undo.redoCount = 0;
    }
    MarkDocumentChanged(doc);
}

void EndUndoStep(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    if (d->undo.undoNesting > 0 && --d->undo.undoNesting > 0) return;
    if (!IsUndoRecording(doc) || d->undo.undoStepCount == 0) return;
    d->undo.undoSteps[d->undo.undoStepCount] = UInt32(JournalPosition(doc));
    FlushPending(doc);
}

void RecordUndoLine(DocWindowRecord* doc, const LineRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoArc(DocWindowRecord* doc, const ArcRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoText(DocWindowRecord* doc, const TextRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoDimension(DocWindowRecord* doc, const DimensionRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoPolyline(DocWindowRecord* doc, const PolylineRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoSymbolInstance(DocWindowRecord* doc, const SymbolInstanceRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoArea(DocWindowRecord* doc, const AreaRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoElement(DocWindowRecord* doc, const LineRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoElement(DocWindowRecord* doc, const ArcRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoElement(DocWindowRecord* doc, const TextRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoElement(DocWindowRecord* doc, const DimensionRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoElement(DocWindowRecord* doc, const PolylineRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoElement(DocWindowRecord* doc, const SymbolInstanceRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}
void RecordUndoElement(DocWindowRecord* doc, const AreaRecord* e, Boolean added) {
    RecordEntry(doc, e, added);
}

void RecordUndoFrameOffset(DocWindowRecord* doc, Float64 dx, Float64 dy) {
    if (doc == nullptr || !IsUndoRecording(doc) || doc->drawing->undo.undoReplaying) return;
    UInt8 bytes[sizeof(UInt16) + sizeof(FrameOffset)];
    const UInt16 code = kFrameOffsetCode;
    const FrameOffset offset{dx, dy};
    std::memcpy(bytes, &code, sizeof code);
    std::memcpy(bytes + sizeof code, &offset, sizeof offset);
    if (!AppendPending(doc, bytes, SInt32(sizeof bytes))) JournalFailed(doc, memFullErr);
}

void UndoLastStep(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    d->undo.undoNesting = 0; // no bracket is open between commands; a lost one must not merge all later steps
    FlushPending(doc);
    d->undo.undoReplaying = 1;
    if (d->undo.undoStepCount > 0 && JournalUsable(doc)) {
        ShowWatchCursor();
        ShowStatus(doc, kUndoStatusMessage);
        SInt16 index = SInt16(d->undo.undoStepCount - 1);
        if (Replay(doc, index, true)) {
            d->undo.undoStepCount = index;
            ++d->undo.redoCount;
            SetJournalPosition(doc, d->undo.undoSteps[index]);
        }
    }
    d->undo.undoReplaying = 0;
}

void RedoStep(DocWindowRecord* doc) {
    DrawingRecord* d = doc->drawing;
    d->undo.undoNesting = 0;
    FlushPending(doc);
    if (d->undo.redoCount <= 0 || !JournalUsable(doc)) return;
    d->undo.undoReplaying = 1;
    ShowWatchCursor();
    ShowStatus(doc, kRedoStatusMessage);
    SInt16 index = d->undo.undoStepCount;
    if (Replay(doc, index, false)) {
        d->undo.undoStepCount = SInt16(index + 1);
        --d->undo.redoCount;
        SetJournalPosition(doc, d->undo.undoSteps[index + 1]);
    }
    d->undo.undoReplaying = 0;
}
