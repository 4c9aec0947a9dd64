// Reading a drawing's data fork: every section with the budgets and gates of its version, counts and
// sizes checked against the file before anything is allocated, symbol definitions re-linked, and
// drawings inserted into an open one. A damaged file is refused and leaves nothing half-read behind.
#include "Files/NativeFile.h"

#include "Files/DocSettingsCodec.h"
#include "Model/DocumentHooks.h"
#include "Model/DrawingUnits.h"
#include "Model/ElementEncoding.h"
#include "Model/ElementLists.h"
#include "Model/NamedLists.h"
#include "Dialogs/AttributePresets.h"
#include "Platform/MemoryManager.h"
#include "Files/PrintRecords.h"
#include "Interface/ProgressWindow.h"
#include "Model/RecordBlocks.h"
#include "Platform/ResourceFiles.h"
#include "Model/SharedUtilities.h"
#include "Model/Streams.h"
#include "Other/ZEZUdivari.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr SInt16 kPresetVersion = 0x181;
constexpr SInt16 kPresetWordsVersion = 0x212;
constexpr SInt16 kPresetColorVersion = 0x701;
constexpr SInt16 kRealFormatVersion = 0x220;
constexpr SInt16 kTextTrailerVersion = 0x350;
constexpr UInt16 kLayerSetBitOrderVers = 0x0300;
constexpr SInt64 kMaxImageBytes = SInt64(512) * 1024 * 1024;

template <class T> void AppendTo(T** head, T* item) {
    T** slot = head;
    while (*slot != nullptr)
        slot = &(*slot)->next;
    *slot = item;
}

template <class T> void FreeChain(T* e, void (*dispose)(T**)) {
    while (e != nullptr) {
        T* next = e->next;
        dispose(&e);
        e = next;
    }
}

void ClampPen(ElementPenAttributes& pen) {
    if (pen.penWidth100 < 1)
        pen.penWidth100 = 1;
    else if (pen.penWidth100 >= 501)
        pen.penWidth100 = 25;
    if (pen.pattern < 0)
        pen.pattern = 0;
    else if (pen.pattern >= 38)
        pen.pattern = 37;
}

UInt8 ReverseBits(UInt8 b) {
    UInt8 r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1 << i)) r = UInt8(r | (0x80 >> i));
    return r;
}

// The element lists of a document (or of what was read), heads' first elements only.
struct DetachedLists {
    LineRecord* lines = nullptr;
    ArcRecord* arcs = nullptr;
    TextRecord* texts = nullptr;
    DimensionRecord* dimensions = nullptr;
    SymbolInstanceRecord* instances = nullptr;
    PolylineRecord* polylines = nullptr;
    AreaRecord* areas = nullptr;
    SymbolDefRecord* definitions = nullptr;
};

DetachedLists Detach(DocWindowRecord* doc) {
    DetachedLists d{doc->lineHead->next,      doc->arcHead->next,      doc->textHead->next,
                    doc->dimensionHead->next, doc->instanceHead->next, doc->polylineHead->next,
                    doc->areaHead->next,      doc->symbolDefHead->next};
    doc->lineHead->next = nullptr;
    doc->arcHead->next = nullptr;
    doc->textHead->next = nullptr;
    doc->dimensionHead->next = nullptr;
    doc->instanceHead->next = nullptr;
    doc->polylineHead->next = nullptr;
    doc->areaHead->next = nullptr;
    doc->symbolDefHead->next = nullptr;
    return d;
}

void Reattach(DocWindowRecord* doc, const DetachedLists& d) {
    AppendTo(&doc->lineHead->next, d.lines);
    AppendTo(&doc->arcHead->next, d.arcs);
    AppendTo(&doc->textHead->next, d.texts);
    AppendTo(&doc->dimensionHead->next, d.dimensions);
    AppendTo(&doc->instanceHead->next, d.instances);
    AppendTo(&doc->polylineHead->next, d.polylines);
    AppendTo(&doc->areaHead->next, d.areas);
    AppendTo(&doc->symbolDefHead->next, d.definitions);
}

void TranslatePoints(Float64* xy, SInt64 count, Float64 dx, Float64 dy) {
    for (SInt64 i = 0; i < count; ++i) {
        xy[2 * i] += dx;
        xy[2 * i + 1] += dy;
    }
}

void TranslateOutline(Handle outline, Float64 dx, Float64 dy) {
    if (outline == nullptr) return;
    SInt16 last = OutlineLastIndex(outline);
    // An ellipse contour holds its centre and then its radii; only the centre moves.
    SInt64 count = last < 0 ? 1 : SInt64(last) + 1;
    TranslatePoints(OutlinePoints(outline), count, dx, dy);
}

class BodyReader {
  public:
    BodyReader(DocWindowRecord* doc, SInt16 fork, const NativeFileHeader& header,
               const NativeReadOptions& options)
        : doc_(doc), fork_(fork), h_(header), o_(options), realSize_(StoredRealSize(header.realFormat)) {
        fileSize_ = StreamFileSize(fork);
    }

    SInt16 Run();

  private:
    DocWindowRecord* doc_;
    SInt16 fork_;
    const NativeFileHeader& h_;
    const NativeReadOptions& o_;
    SInt32 realSize_;
    SInt64 fileSize_ = 0;
    SInt16 failure_ = 0;
    Float64 unitScale_ = 1.0;
    bool stoppedForMemory_ = false;
    SInt16 fileFrameCount_ = 0;

    // What is read for the document but kept aside until the whole file has been read.
    SavedViewRecord* views_ = nullptr;
    FrameRecord* frames_ = nullptr;
    std::vector<ImageRecord> images_;
    // The element records read, one block for many: disposed one by one as any record is.
    RecordBlockAllocator blocks_;

    bool Fail(SInt16 message) {
        if (failure_ == 0) failure_ = message;
        return false;
    }
    bool Damaged() { return Fail(kMsgFileDamaged); }
    SInt64 Left() { return StreamBytesLeft(fork_); }
    bool StreamOk() { return StreamError == noErr || Damaged(); }

    // A section that begins with its 32-bit length: the budget, and where the next one begins.
    bool OpenSection(SInt32* budget, SInt64* end) {
        SInt32 lengthBudget = 4;
        SInt32 length = StreamReadLong(fork_, &lengthBudget);
        if (lengthBudget != 0 || StreamError != noErr || length < 0 || length > Left()) return Damaged();
        *budget = length;
        *end = StreamGetPos(fork_) + length;
        return true;
    }
    bool CloseSection(SInt64 end) {
        StreamSetPos(fork_, end);
        return StreamOk();
    }
    bool SkipSection() {
        SInt32 budget;
        SInt64 end;
        return OpenSection(&budget, &end) && CloseSection(end);
    }
    bool Skip(SInt64 count) {
        if (count < 0 || count > Left()) return Damaged();
        StreamSetPos(fork_, StreamGetPos(fork_) + count);
        return StreamOk();
    }

    bool ReadTitleBlock();
    bool ReadSettings();
    bool ReadLayerTables();
    bool ReadPresets();
    bool ReadLayerSets();
    bool ReadLayerNames();
    bool ReadViews();
    bool ReadFrames();
    bool ReadCounts(ElementCounts* counts);
    bool ReadElements(const ElementCounts& counts);
    bool ReadImages();
    void LinkDefinitions();
    void LoadPrintRecords(SInt16 id, PageFormatData* page, PrintSettingsData* print) const;
    void ApplyFramePrintRecords(FrameRecord* frame, SInt16 position);
    void Discard();
    SInt64 SmallestRecords(const ElementCounts& c);

    template <class T> void Place(T* e);
    template <class T, class Read>
    bool ReadKind(T* head, SInt32 count, SInt64& done, SInt64 total, Read read);
};

bool BodyReader::ReadTitleBlock() {
    SInt32 budget;
    SInt64 end;
    if (!OpenSection(&budget, &end)) return false;
    if (!o_.insert) {
        TitleBlockStrings* block = doc_->drawing->titleBlock;
        for (int n = 1; n <= kTitleBlockFieldCount; ++n) {
            Str255 scratch = {0};
            StreamReadPString(fork_, scratch, kTitleBlockCapacities[n - 1], &budget);
            StringPtr field = TitleBlockField(block, n);
            field[0] = 0;
            AssignStrN(field, scratch, kTitleBlockCapacities[n - 1]);
        }
    }
    return CloseSection(end);
}

bool BodyReader::ReadSettings() {
    SInt32 budget;
    SInt64 end;
    if (!OpenSection(&budget, &end)) return false;
    if (o_.insert) {
        // Only the file's unit matters: elements are scaled into the open drawing's unit.
        DocSettings scratch;
        ReadDocSettings(fork_, &scratch, &budget, h_.realFormat);
        if (scratch.unitCode != doc_->settings->unitCode) {
            Float64 own = UnitDivisorForFactor(UnitToMillimetres(doc_));
            Float64 file =
                UnitDivisorForFactor(UnitFactorForCode(scratch.unitCode, scratch.customUnitFactor));
            unitScale_ = own / file;
        }
        return CloseSection(end);
    }
    DocSettings* s = doc_->settings;
    ReadDocSettings(fork_, s, &budget, h_.realFormat);
    SInt16 v = h_.version;
    if (v <= 0x18F) s->word384 = 2, s->decimals = 2;
    if (v <= 0x190) s->words388[0] = 4, s->words388[1] = 1;
    if (v <= 0x191)
        for (SInt16& p : s->penPatterns)
            p = 1;
    if (v <= 0x192) s->dialogUnit = 1;
    if (v <= 0x193) s->dialog187Value1 = 5.0, s->dialog187Value2 = 0.05, s->option330 = 0;
    if (s->option330 >= 2) s->option330 = 0;
    if (s->word1992 == 0) s->word1992 = 1;
    if (s->word250 < 1)
        s->word250 = 1;
    else if (s->word250 >= 8)
        s->word250 = 7;
    return CloseSection(end);
}

bool BodyReader::ReadLayerTables() {
    if (o_.insert) return SkipSection() && SkipSection();
    SInt32 budget;
    SInt64 end;
    if (!OpenSection(&budget, &end)) return false;
    StreamReadBytes(fork_, doc_->layerVisible->bits, budget < 128 ? budget : 128);
    if (!CloseSection(end) || !OpenSection(&budget, &end)) return false;
    SInt32 colorBytes = budget < 6144 ? budget - budget % 6 : 6144;
    for (SInt32 i = 0; i < colorBytes / 6; ++i)
        doc_->layerColors->colors[i] = StreamReadRGB(fork_, nullptr);
    return CloseSection(end);
}

bool BodyReader::ReadPresets() {
    if (h_.version < kPresetVersion) return true;
    if (o_.insert) return SkipSection();
    SInt32 budget;
    SInt64 end;
    if (!OpenSection(&budget, &end)) return false;
    SInt32 recordSize = 32 + 4 + 16 + realSize_ + (h_.version >= kPresetWordsVersion ? 6 : 0) +
                        (h_.version >= kPresetColorVersion ? 6 : 0);
    // Only whole records: a remainder shorter than one ends the list instead of reading nothing forever.
    while (budget >= recordSize) {
        AttributePreset* p = NewAttributePreset();
        if (p == nullptr) break;
        StreamReadPString(fork_, p->name, 31, &budget);
        p->mask = UInt32(StreamReadLong(fork_, &budget));
        UInt16* words[8] = {&p->pen,      &p->lineKind, &p->group,     &p->layer,
                            &p->lineFlag, &p->snapMode, &p->startMark, &p->endMark};
        for (UInt16* w : words)
            *w = UInt16(StreamReadShort(fork_, &budget));
        p->scale = StreamReadReal(fork_, h_.realFormat, &budget);
        if (h_.version >= kPresetWordsVersion) {
            p->colorIndex = UInt16(StreamReadShort(fork_, &budget));
            p->width100 = StreamReadShort(fork_, &budget);
            p->pattern = UInt16(StreamReadShort(fork_, &budget));
        } else {
            p->colorIndex = 255, p->width100 = 350, p->pattern = 0;
        }
        p->color = h_.version >= kPresetColorVersion ? StreamReadRGB(fork_, &budget) : RGBColor{0, 0, 0};
        InsertPresetSorted(doc_, p, false);
    }
    return CloseSection(end);
}

bool BodyReader::ReadLayerSets() {
    if (o_.insert) return SkipSection();
    SInt32 budget;
    SInt64 end;
    if (!OpenSection(&budget, &end)) return false;
    while (budget >= 64 + 128) {
        LayerSetRecord* set = NewLayerSetRecord();
        if (set == nullptr) break;
        StreamReadPString(fork_, set->name, 63, &budget);
        StreamReadBytes(fork_, set->layers, 128);
        budget -= 128;
        if (o_.versResource < kLayerSetBitOrderVers)
            for (UInt8& b : set->layers)
                b = ReverseBits(b);
        AppendTo(&doc_->drawing->layerSets, set);
    }
    return CloseSection(end);
}

bool BodyReader::ReadLayerNames() {
    if (o_.insert) return SkipSection();
    SInt32 budget;
    SInt64 end;
    if (!OpenSection(&budget, &end)) return false;
    if (budget > 0) {
        for (Str255& name : doc_->layerNames->names) {
            SInt32 n = StreamReadByte(fork_, &budget);
            if (n > budget) n = budget;
            name[0] = UInt8(n);
            StreamReadBytes(fork_, name + 1, n);
            budget -= n;
        }
    }
    return CloseSection(end);
}

bool BodyReader::ReadViews() {
    SInt32 countBudget = 2;
    SInt16 count = StreamReadShort(fork_, &countBudget);
    SInt32 recordSize = 64 + 80 + 4 * realSize_;
    if (countBudget != 0 || (count > 0 && SInt64(count) * recordSize > Left())) return Damaged();
    for (SInt16 i = 0; i < count; ++i) {
        SavedViewRecord* v = NewSavedView();
        if (v == nullptr) return Fail(kMsgFileDamaged);
        SInt32 budget = recordSize;
        StreamReadPString(fork_, v->name, 63, &budget);
        for (SInt16& w : v->values)
            w = StreamReadShort(fork_, &budget);
        for (Float64& r : v->rect)
            r = StreamReadReal(fork_, h_.realFormat, &budget);
        InsertNameSorted(&views_, v, EqualNames::after);
    }
    return StreamOk();
}

// A page format and print settings pair of the file's resources; missing or foreign payloads give
// the defaults.
void BodyReader::LoadPrintRecords(SInt16 id, PageFormatData* page, PrintSettingsData* print) const {
    std::vector<UInt8> bytes;
    *page = DefaultPageFormat();
    *print = DefaultPrintSettings();
    if (o_.resFile > 0 && GetResourceBlock(o_.resFile, kPageFormatResType, id, &bytes))
        UnflattenPageFormat(bytes.data(), bytes.size(), page);
    if (o_.resFile > 0 && GetResourceBlock(o_.resFile, kPrintSettingsResType, id, &bytes))
        UnflattenPrintSettings(bytes.data(), bytes.size(), print);
}

void BodyReader::ApplyFramePrintRecords(FrameRecord* frame, SInt16 position) {
    // Frames keep their place whatever their print resources hold.
    PageFormatData page;
    PrintSettingsData print;
    LoadPrintRecords(SInt16(kDocumentPrintResId + position), &page, &print);
    frame->pageFormat = NewPageFormatHandle(page);
    frame->printSettings = NewPrintSettingsHandle(print);
    frame->paperRect = page.paperRect;
    frame->printableRect = page.pageRect;
}

bool BodyReader::ReadFrames() {
    SInt32 countBudget = 2;
    SInt16 count = StreamReadShort(fork_, &countBudget);
    SInt32 recordSize = 64 + 2 + 7 * realSize_;
    if (countBudget != 0 || (count > 0 && SInt64(count) * (recordSize + kFrameTrailerBytes) > Left()))
        return Damaged();
    fileFrameCount_ = count < 0 ? 0 : count;
    for (SInt16 i = 0; i < count; ++i) {
        FrameRecord* f = NewFrameRecord();
        if (f == nullptr) return Fail(kMsgFileDamaged);
        AppendTo(&frames_, f);
        SInt32 budget = recordSize;
        StreamReadPString(fork_, f->name, 63, &budget);
        f->kind = StreamReadShort(fork_, &budget);
        f->scale = StreamReadReal(fork_, h_.realFormat, &budget);
        for (Float64& r : f->rect)
            r = StreamReadReal(fork_, h_.realFormat, &budget);
        f->scaleX = StreamReadReal(fork_, h_.realFormat, &budget);
        f->scaleY = StreamReadReal(fork_, h_.realFormat, &budget);
        if (o_.insert) {
            f->rect[0] += o_.dx, f->rect[2] += o_.dx;
            f->rect[1] += o_.dy, f->rect[3] += o_.dy;
        }
        ApplyFramePrintRecords(f, SInt16(i + 1));
        if (!Skip(kFrameTrailerBytes)) return false;
    }
    return Skip(kFrameTrailerBytes);
}

// The fewest bytes the counted records can take in this file, to refuse counts the file cannot hold.
SInt64 BodyReader::SmallestRecords(const ElementCounts& c) {
    SInt64 r = realSize_;
    SInt16 v = h_.version;
    SInt64 pen = v >= kPenBlockVersion ? 14 : v >= kPenFlagsVersion ? 2 : 0;
    SInt64 line = 10 + 5 * r + pen, arc = 8 + 6 * r + pen, text = 14 + 19 * r + pen + 1;
    SInt64 dimension = 32 + 18 * r + pen + 1, instance = 6 + 13 * r;
    SInt64 polyline = 32 + 4 * r + pen, area = 12 + 7 * r + pen + 2 + 2 * r, definition = 22 + 5 * r;
    return c.lines * line + c.arcs * arc + c.texts * text + c.dimensions * dimension +
           c.instances * instance + c.polylines * polyline + c.areas * area + c.definitions * definition;
}

bool BodyReader::ReadCounts(ElementCounts* c) {
    SInt32 budget = 4;
    SInt32 length = StreamReadLong(fork_, &budget);
    if (length != 32 && length != 36 && fileFrameCount_ > 0) {
        // Older files kept more per frame than the frame records say.
        if (!Skip(16 * SInt64(fileFrameCount_))) return Fail(kMsgBadElementCounts);
        budget = 4;
        length = StreamReadLong(fork_, &budget);
    }
    if (length < 32 || length > 36 || StreamError != noErr) return Fail(kMsgBadElementCounts);
    SInt64 end = StreamGetPos(fork_) + length;
    budget = length;
    SInt32* fields[9] = {&c->lines,     &c->arcs,        &c->texts, &c->dimensions, &c->instances,
                         &c->polylines, &c->definitions, &c->areas, &c->bytes};
    for (SInt32* f : fields)
        *f = StreamReadLong(fork_, &budget);
    for (int i = 0; i < 8; ++i)
        if (*fields[i] < 0) return Fail(kMsgBadElementCounts);
    StreamSetPos(fork_, end);
    if (StreamError != noErr || SmallestRecords(*c) > Left()) return Fail(kMsgBadElementCounts);
    return true;
}

// What a record read owns besides itself, freed when the record is not kept.
void FreeRecordData(LineRecord*) {}
void FreeRecordData(ArcRecord*) {}
void FreeRecordData(DimensionRecord*) {}
void FreeRecordData(SymbolInstanceRecord*) {}
void FreeRecordData(TextRecord* e) {
    DisposeTextData(e);
}
void FreeRecordData(PolylineRecord* e) {
    DisposePolylineData(e);
}
void FreeRecordData(AreaRecord* e) {
    DisposeAreaData(e);
}

template <class T> void BodyReader::Place(T* e) {
    if (o_.layer >= 0) e->layer = o_.layer;
}

// Reads count records of one kind and appends them at the tail of the list behind head.
template <class T, class Read>
bool BodyReader::ReadKind(T* head, SInt32 count, SInt64& done, SInt64 total, Read read) {
    T** tail = &head->next;
    while (*tail != nullptr)
        tail = &(*tail)->next;
    SInt16 shown = -1;
    for (SInt32 i = 0; i < count; ++i) {
        T scratch;
        if (!read(&scratch)) {
            // Memory that cannot be had ends the element lists (what was read is kept); anything
            // else is a damaged record, and the stream cannot be trusted past it.
            if (StreamError == memFullErr) {
                stoppedForMemory_ = true;
                return false;
            }
            return Damaged();
        }
        if (StreamError != noErr) {
            FreeRecordData(&scratch);
            return Damaged();
        }
        T* e = static_cast<T*>(blocks_.Allocate(sizeof(T)));
        if (e == nullptr) {
            FreeRecordData(&scratch);
            stoppedForMemory_ = true;
            return false;
        }
        std::memcpy(static_cast<void*>(e), &scratch, sizeof(T));
        e->next = nullptr;
        *tail = e;
        tail = &e->next;
        ++done;
        SInt16 percent = SInt16(done * 100 / (total > 0 ? total : 1));
        if (percent > shown && ProgressIsOpen()) SetProgressPercent(shown = percent);
    }
    return true;
}

bool BodyReader::ReadElements(const ElementCounts& c) {
    SInt16 fmt = h_.realFormat, v = h_.version;
    SInt64 done = 0, total = SInt64(c.lines) + c.arcs + c.texts + c.dimensions + c.instances + c.polylines +
                             c.areas + c.definitions;
    const Float64 dx = o_.insert ? o_.dx : 0.0, dy = o_.insert ? o_.dy : 0.0, k = unitScale_;
    bool moved = o_.insert;

    auto lines = [&](LineRecord* e) {
        if (!ReadLineRecord(doc_, fork_, e, fmt, v)) return false;
        ClampPen(e->penBlock);
        Place(e);
        if (moved && e->group >= 0) e->x1 += dx, e->y1 += dy, e->x2 += dx, e->y2 += dy, e->scaleFactor *= k;
        return true;
    };
    auto arcs = [&](ArcRecord* e) {
        if (!ReadCircleRecord(doc_, fork_, e, fmt, v)) return false;
        ClampPen(e->penBlock);
        Place(e);
        if (moved && e->group >= 0) e->cx += dx, e->cy += dy, e->scaleFactor *= k;
        return true;
    };
    auto texts = [&](TextRecord* e) {
        if (!ReadTextRecord(doc_, fork_, e, fmt, v)) return false;
        if (v >= kTextTrailerVersion && !IsFramedTextBox(e)) {
            SInt32 budget = 8;
            StreamReadLong(fork_, &budget);
            SInt32 skip = StreamReadLong(fork_, &budget);
            if (budget != 0 || (skip > 0 && !Skip(skip))) {
                DisposeTextData(e);
                StreamNoteError(eofErr);
                return false;
            }
        }
        ClampPen(e->penBlock);
        Place(e);
        if (moved && e->group >= 0) {
            e->x += dx, e->y += dy, e->x2 += dx, e->y2 += dy;
            TranslatePoints(e->corners, 4, dx, dy);
            e->scaleFactor *= k;
        }
        return true;
    };
    auto dimensions = [&](DimensionRecord* e) {
        if (!ReadDimensionRecord(doc_, fork_, e, fmt, v)) return false;
        ClampPen(e->penBlock);
        Place(e);
        if (moved && e->group >= 0) {
            e->x1 += dx, e->y1 += dy, e->x2 += dx, e->y2 += dy, e->textX += dx, e->textY += dy;
            TranslatePoints(e->frame, 3, dx, dy);
            e->scaleFactor *= k;
        }
        return true;
    };
    auto instances = [&](SymbolInstanceRecord* e) {
        if (!ReadSymbolInstanceRecord(fork_, e, fmt, v)) return false;
        Place(e);
        if (moved && e->group >= 0) {
            e->x += dx, e->y += dy;
            for (Float64& f : e->frame)
                f *= k;
            e->scaleFactor *= k;
        }
        return true;
    };
    auto polylines = [&](PolylineRecord* e) {
        if (!ReadPolylineRecord(doc_, fork_, e, fmt, v)) return false;
        ClampPen(e->penBlock);
        Place(e);
        if (moved && e->group >= 0) {
            if (e->points != nullptr)
                TranslatePoints(reinterpret_cast<Float64*>(*e->points), GetHandleSize(e->points) / 16, dx,
                                dy);
            e->scaleFactor *= k;
        }
        return true;
    };
    auto areas = [&](AreaRecord* e) {
        if (!ReadAreaRecord(doc_, fork_, e, fmt, v)) return false;
        ClampPen(e->penBlock);
        Place(e);
        if (moved && e->group >= 0) {
            TranslateOutline(e->outline, dx, dy);
            for (SInt16 i = 0; i <= e->lastHoleIndex; ++i)
                TranslateOutline(reinterpret_cast<Handle*>(*e->holes)[i], dx, dy);
            e->minX += dx, e->maxX += dx, e->minY += dy, e->maxY += dy;
            e->scaleFactor *= k;
        }
        return true;
    };

    if (!ReadKind(doc_->lineHead, c.lines, done, total, lines) ||
        !ReadKind(doc_->arcHead, c.arcs, done, total, arcs) ||
        !ReadKind(doc_->textHead, c.texts, done, total, texts) ||
        !ReadKind(doc_->dimensionHead, c.dimensions, done, total, dimensions) ||
        !ReadKind(doc_->instanceHead, c.instances, done, total, instances) ||
        !ReadKind(doc_->polylineHead, c.polylines, done, total, polylines) ||
        !ReadKind(doc_->areaHead, c.areas, done, total, areas))
        return failure_ == 0;

    SymbolDefRecord** tail = &doc_->symbolDefHead->next;
    for (SInt32 i = 0; i < c.definitions; ++i) {
        SymbolDefRecord scratch;
        if (!ReadSymbolDefRecord(fork_, &scratch, fmt, v, true) || StreamError != noErr) return Damaged();
        SymbolDefRecord* def = nullptr;
        if (NewSymbolDefElement(&def) == nullptr) {
            stoppedForMemory_ = true;
            return true;
        }
        def->minX = scratch.minX, def->minY = scratch.minY, def->maxX = scratch.maxX,
        def->maxY = scratch.maxY;
        std::memcpy(def->name, scratch.name, sizeof def->name);
        def->number = scratch.number;
        def->scale = scratch.scale;
        *tail = def;
        tail = &def->next;
        ++done;
    }
    return true;
}

// Moves each run of elements with one negative group number from the document's list into the
// definition of that number, and ties instances to their definitions.
template <class T>
void MoveRuns(DocWindowRecord* doc, T* head, T* SymbolDefRecord::*defHead, const char* kind) {
    T** cut = &head->next;
    while (*cut != nullptr && (*cut)->group >= 0)
        cut = &(*cut)->next;
    T* rest = *cut;
    *cut = nullptr;
    SymbolDefRecord* from = doc->symbolDefHead->next;
    while (rest != nullptr) {
        T* runEnd = rest;
        while (runEnd->next != nullptr && runEnd->next->group == rest->group)
            runEnd = runEnd->next;
        T* next = runEnd->next;
        runEnd->next = nullptr;
        if (rest->group >= 0) {
            AppendTo(&head->next, rest);
        } else {
            SymbolDefRecord* def = from;
            while (def != nullptr && def->number != rest->group)
                def = def->next;
            if (def != nullptr) {
                AppendTo(&(def->*defHead)->next, rest);
                from = def;
            } else {
                char line[120];
                std::snprintf(line, sizeof line, "Native file: %s of an unknown symbol (%d) dropped", kind,
                              int(rest->group));
                AppendLogCString(doc, line);
                T h{};
                h.next = rest;
                // Frees through a temporary head so every kind uses its own list disposal.
                if constexpr (std::is_same_v<T, LineRecord>)
                    DisposeLineList(&h);
                else if constexpr (std::is_same_v<T, ArcRecord>)
                    DisposeArcList(&h);
                else if constexpr (std::is_same_v<T, TextRecord>)
                    DisposeTextList(&h);
                else if constexpr (std::is_same_v<T, DimensionRecord>)
                    DisposeDimensionList(&h);
                else if constexpr (std::is_same_v<T, PolylineRecord>)
                    DisposePolylineList(&h);
                else
                    DisposeAreaList(&h);
            }
        }
        rest = next;
    }
}

void BodyReader::LinkDefinitions() {
    MoveRuns(doc_, doc_->lineHead, &SymbolDefRecord::lineHead, "lines");
    MoveRuns(doc_, doc_->arcHead, &SymbolDefRecord::arcHead, "arcs");
    MoveRuns(doc_, doc_->textHead, &SymbolDefRecord::textHead, "texts");
    MoveRuns(doc_, doc_->dimensionHead, &SymbolDefRecord::dimensionHead, "dimensions");
    MoveRuns(doc_, doc_->polylineHead, &SymbolDefRecord::polylineHead, "polylines");
    MoveRuns(doc_, doc_->areaHead, &SymbolDefRecord::areaHead, "areas");

    SymbolInstanceRecord** slot = &doc_->instanceHead->next;
    while (*slot != nullptr) {
        SymbolInstanceRecord* s = *slot;
        SymbolDefRecord* def = doc_->symbolDefHead->next;
        while (def != nullptr && def->number != s->definitionNumber && def->next != nullptr)
            def = def->next;
        if (def != nullptr && def->number != s->definitionNumber) {
            // As the program always did, an unmatched number takes the last definition.
            AppendLogCString(doc_, "Native file: a symbol of an unknown definition shows the last one");
        }
        if (def == nullptr) {
            // With no definitions at all there is nothing to show: the instance goes.
            AppendLogCString(doc_, "Native file: a symbol without any definition dropped");
            *slot = s->next;
            DisposeSymbolInstanceRecord(&s);
            continue;
        }
        s->definition = def;
        slot = &s->next;
    }
}

bool BodyReader::ReadImages() {
    SInt32 countBudget = 4;
    SInt32 count = StreamReadLong(fork_, &countBudget);
    if (countBudget != 0) return Damaged();
    if (count < 0 || count > kMaxImages) {
        // No writer stores such a count, so where the images lie is not known: the drawing opens
        // without them, and the log says so.
        char line[120];
        std::snprintf(line, sizeof line, "Native file: raster images dropped, their count (%ld) is not valid",
                      long(count));
        AppendLogCString(doc_, line);
        count = 0;
    }
    for (SInt32 i = 0; i < count; ++i) {
        ImageRecord image{};
        SInt32 budget = 3 * realSize_ + 8 + 256;
        image.x = StreamReadReal(fork_, h_.realFormat, &budget);
        image.y = StreamReadReal(fork_, h_.realFormat, &budget);
        image.resolution = StreamReadReal(fork_, h_.realFormat, &budget);
        SInt32 a = StreamReadLong(fork_, &budget);
        StreamReadLong(fork_, &budget);
        if (a == 0) {
            budget += 12;
            image.width = StreamReadLong(fork_, &budget);
            image.height = StreamReadLong(fork_, &budget);
            image.bytesPerRow = StreamReadLong(fork_, &budget);
        }
        StreamReadPString(fork_, image.fileName, 255, &budget);
        if (!StreamOk()) return false;
        if (a == 0) {
            SInt64 bytes = SInt64(image.height) * image.bytesPerRow;
            if (image.width < 0 || image.height < 0 || image.bytesPerRow < 0 || bytes > kMaxImageBytes ||
                bytes > Left())
                return Damaged();
            image.pixels = NewHandle(Size(bytes));
            if (image.pixels == nullptr) return Fail(kMsgFileDamaged);
            if (bytes > 0) StreamReadBytes(fork_, *image.pixels, SInt32(bytes));
            if (StreamError != noErr) {
                DisposeHandle(image.pixels);
                return Damaged();
            }
        }
        images_.push_back(image);
    }
    return true;
}

void BodyReader::Discard() {
    FreeChain(views_, DisposeSavedView);
    FreeChain(frames_, DisposeFrameRecord);
    views_ = nullptr;
    frames_ = nullptr;
    for (ImageRecord& image : images_)
        DisposeHandle(image.pixels);
    images_.clear();
}

SInt16 BodyReader::Run() {
    if (realSize_ == 0) return kMsgBadHeader;
    DetachedLists kept;
    if (o_.insert) kept = Detach(doc_);
    VariableTable* savedVariables = nullptr;
    SInt16 savedVariableCount = doc_->drawing->variableCount;
    if (o_.insert) {
        savedVariables = static_cast<VariableTable*>(std::malloc(sizeof(VariableTable)));
        if (savedVariables != nullptr)
            std::memcpy(savedVariables, doc_->drawing->variables, sizeof(VariableTable));
    }

    ElementCounts counts{};
    bool ok = ReadTitleBlock() && ReadSettings() && ReadLayerTables() && ReadPresets() && ReadLayerSets() &&
              ReadLayerNames();
    if (ok) {
        SInt32 variableBudget = 2;
        SInt64 at = StreamGetPos(fork_);
        SInt16 variables = StreamReadShort(fork_, &variableBudget);
        StreamSetPos(fork_, at);
        if (variables > 0 &&
            SInt64(variables < kStoredVariableLimit ? variables : kStoredVariableLimit) * 256 + 2 > Left())
            ok = Damaged();
        else
            ReadVariables(doc_, fork_);
    }
    ok = ok && StreamOk() && ReadViews() && ReadFrames() && ReadCounts(&counts) && ReadElements(counts);
    if (ok) {
        LinkDefinitions();
        if (!stoppedForMemory_) ok = ReadImages();
    }

    if (!ok || failure_ != 0) {
        Discard();
        if (o_.insert) {
            DisposeDocumentElements(doc_);
            Reattach(doc_, kept);
            if (savedVariables != nullptr)
                std::memcpy(doc_->drawing->variables, savedVariables, sizeof(VariableTable));
            doc_->drawing->variableCount = savedVariableCount;
        }
        std::free(savedVariables);
        return failure_ != 0 ? failure_ : SInt16(kMsgFileDamaged);
    }
    std::free(savedVariables);

    DrawingRecord* d = doc_->drawing;
    for (SavedViewRecord* v = views_; v != nullptr;) {
        SavedViewRecord* next = v->next;
        InsertNameSorted(&d->savedViews, v, EqualNames::after);
        v = next;
    }
    AppendTo(&d->frames, frames_);
    views_ = nullptr;
    frames_ = nullptr;
    if (o_.insert) {
        Reattach(doc_, kept);
        for (SymbolDefRecord* def = doc_->symbolDefHead->next; def != nullptr; def = def->next)
            MakeUniqueDefinitionName(doc_, def);
    } else {
        PageFormatData page;
        PrintSettingsData print;
        LoadPrintRecords(kDocumentPrintResId, &page, &print);
        DisposeHandle(d->pageFormat);
        DisposeHandle(d->printSettings);
        d->pageFormat = NewPageFormatHandle(page);
        d->printSettings = NewPrintSettingsHandle(print);
    }

    // Images: a new drawing takes the file's; an open one keeps its own and gains the file's
    // while there is room.
    SInt16 first = o_.insert ? doc_->imageCount : 0;
    if (first < 0) first = 0;
    for (ImageRecord& image : images_) {
        if (first < kMaxImages) {
            doc_->images[first++] = image;
        } else {
            DisposeHandle(image.pixels);
            AppendLogCString(doc_, "Native file: a raster image beyond the tenth dropped");
        }
    }
    images_.clear();
    doc_->imageCount = first;
    // Without pixels for the first image the drawing keeps none, and the others' pixels are freed.
    if (doc_->imageCount > 0 && doc_->images[0].pixels == nullptr) {
        for (SInt16 i = 0; i < doc_->imageCount; ++i) {
            DisposeHandle(doc_->images[i].pixels);
            doc_->images[i].pixels = nullptr;
        }
        doc_->imageCount = 0;
    }
    gDocumentHooks.rebuildViewsMenu(doc_);
    gDocumentHooks.rebuildFrameMenus(doc_);
    return 0;
}

} // namespace

SInt16 ReadNativeHeader(SInt16 fork, NativeFileHeader* header) {
    *header = NativeFileHeader{};
    SInt32 budget = 4;
    SInt32 length = StreamReadLong(fork, &budget);
    if (budget != 0 || StreamError != noErr || length < 5 || length > 16) return kMsgBadHeader;
    SInt64 end = StreamGetPos(fork) + length;
    budget = length;
    header->version = StreamReadShort(fork, &budget);
    StreamReadShort(fork, &budget); // the system version of the writer
    header->extendedFlag = StreamReadBool16(fork, &budget);
    StreamReadShort(fork, &budget);
    header->sizeHint = StreamReadLong(fork, &budget);
    SInt32 format = StreamReadLong(fork, &budget);
    StreamSetPos(fork, end);
    if (StreamError != noErr) return kMsgBadHeader;
    if (header->version >= kFirstUnreadableVersion) return kMsgVersionTooNew;
    if (header->version < kOldestReadableVersion) return kMsgVersionTooOld;
    if (header->version < kRealFormatVersion)
        format = header->extendedFlag ? kRealExtended96 : kRealExtended80;
    if (StoredRealSize(SInt16(format)) == 0 || format != SInt16(format)) return kMsgBadHeader;
    header->realFormat = SInt16(format);
    return 0;
}

SInt16 ReadNativeBody(DocWindowRecord* doc, SInt16 fork, const NativeFileHeader& header,
                      const NativeReadOptions& options) {
    BodyReader reader(doc, fork, header, options);
    return reader.Run();
}

void MakeUniqueDefinitionName(DocWindowRecord* doc, SymbolDefRecord* definition) {
    auto taken = [&](ConstStr255Param name) {
        for (SymbolDefRecord* d = doc->symbolDefHead->next; d != nullptr; d = d->next)
            if (d != definition && CompareListNames(d->name, name) == 0) return true;
        return false;
    };
    if (!taken(definition->name)) return;
    Str255 stem;
    AssignStr255(stem, definition->name);
    long number = 1;
    SInt16 hash = 0;
    for (SInt16 i = stem[0]; i >= 1; --i)
        if (stem[i] == '#') {
            hash = i;
            break;
        }
    if (hash > 0 && hash < stem[0]) {
        bool digits = true;
        long n = 0;
        for (SInt16 i = SInt16(hash + 1); i <= stem[0] && digits; ++i) {
            digits = stem[i] >= '0' && stem[i] <= '9';
            if (n < 100000000) n = n * 10 + (stem[i] - '0');
        }
        if (digits) {
            number = n + 1;
            stem[0] = UInt8(hash - 1);
        }
    }
    for (;; ++number) {
        char suffix[24];
        int length = std::snprintf(suffix, sizeof suffix, "#%ld", number);
        Str255 name;
        AssignStr255(name, stem);
        if (name[0] + length > 19) name[0] = UInt8(19 - length > 0 ? 19 - length : 0);
        AppendCStr(name, sizeof name, suffix);
        if (!taken(name)) {
            definition->name[0] = 0;
            AssignStrN(definition->name, name, 19);
            return;
        }
    }
}
