// Writing a drawing's data fork: the sections in order, the element lists with the contents of
// symbol definitions tied to them by number, and the progress of the element records.
#include "Files/NativeFile.h"

#include "Files/DocSettingsCodec.h"
#include "Model/ElementEncoding.h"
#include "Platform/MemoryManager.h"
#include "Interface/ProgressWindow.h"
#include "Model/Streams.h"

#include <cstring>

namespace {

// Bytes each record kind takes in memory, for the size hint and the ninth count.
constexpr SInt32 kLineMemory = 84, kArcMemory = 88, kTextMemory = 460, kDimensionMemory = 960;
constexpr SInt32 kInstanceMemory = 144, kPolylineMemory = 108, kAreaMemory = 112, kDefinitionMemory = 96;
constexpr SInt16 kSystemVersionWord = 0x1070;

template <class T> SInt32 CountList(const T* head, bool selectedOnly) {
    SInt32 n = 0;
    for (const T* e = head ? head->next : nullptr; e != nullptr; e = e->next)
        if (!selectedOnly || e->selected) ++n;
    return n;
}

// Records go to a memory stream that is passed on to the file in large pieces: one system call per
// field would dominate the time of a large drawing.
constexpr SInt64 kSpillBytes = 1 << 20;
SInt16 gSpillTo = 0; // the file behind the memory stream being written, 0 when writing directly

void Spill(SInt16 out, bool always) {
    if (gSpillTo == 0) return;
    SInt64 size = 0;
    const UInt8* bytes = MemoryStreamData(out, &size);
    if (size == 0 || (!always && size < kSpillBytes)) return;
    StreamWriteBytes(gSpillTo, bytes, SInt32(size));
    ResetMemoryStream(out);
}

// Progress over the element records: the window moves only when the whole percentage grows.
struct Progress {
    SInt16 out = 0;
    SInt64 total = 0, done = 0;
    SInt16 shown = -1;
    void Step() {
        Spill(out, false);
        ++done;
        SInt16 percent = total > 0 ? SInt16(done * 100 / total) : 100;
        if (percent > shown) {
            shown = percent;
            if (ProgressIsOpen()) SetProgressPercent(percent);
        }
    }
};

template <class T, class Write>
void WriteList(const T* head, bool selectedOnly, Progress& progress, Write write) {
    for (const T* e = head ? head->next : nullptr; e != nullptr; e = e->next) {
        if (selectedOnly && !e->selected) continue;
        write(e);
        progress.Step();
    }
}

void WriteZeros(SInt16 fork, int count) {
    static const UInt8 zeros[kFrameTrailerBytes] = {};
    StreamWriteBytes(fork, zeros, count);
}

void WriteHeader(SInt16 fork, const ElementCounts& c) {
    SInt64 elements = SInt64(c.lines) + c.arcs + c.texts + c.dimensions + c.instances + c.polylines +
                      c.definitions + c.areas;
    StreamWriteLong(fork, 16);
    StreamWriteShort(fork, kCurrentFileVersion);
    StreamWriteShort(fork, kSystemVersionWord);
    StreamWriteBool16(fork, false);
    StreamWriteShort(fork, 0);
    StreamWriteLong(fork, SInt32(8 * elements + c.bytes));
    StreamWriteLong(fork, kRealDouble);
}

void WriteTitleBlock(SInt16 fork, DocWindowRecord* doc) {
    StreamWriteLong(fork, 1488);
    for (int n = 1; n <= kTitleBlockFieldCount; ++n)
        StreamWritePString(fork, TitleBlockField(doc->drawing->titleBlock, n), kTitleBlockCapacities[n - 1]);
}

void WriteLayerTables(SInt16 fork, DocWindowRecord* doc) {
    StreamWriteLong(fork, 128);
    StreamWriteBytes(fork, doc->layerVisible->bits, 128);
    StreamWriteLong(fork, 6144);
    for (const RGBColor& c : doc->layerColors->colors)
        StreamWriteRGB(fork, c);
}

void WritePresets(SInt16 fork, DocWindowRecord* doc) {
    const AttributePreset* first = doc->drawing->attributePresets;
    SInt32 count = 0;
    for (const AttributePreset* p = first; p != nullptr; p = p->next)
        ++count;
    StreamWriteLong(fork, 72 * count);
    for (const AttributePreset* p = first; p != nullptr; p = p->next) {
        StreamWritePString(fork, p->name, 31);
        StreamWriteLong(fork, SInt32(p->mask));
        const UInt16 words[8] = {p->pen,      p->lineKind, p->group,     p->layer,
                                 p->lineFlag, p->snapMode, p->startMark, p->endMark};
        for (UInt16 w : words)
            StreamWriteShort(fork, SInt16(w));
        StreamWriteReal(fork, p->scale);
        StreamWriteShort(fork, SInt16(p->colorIndex));
        StreamWriteShort(fork, p->width100);
        StreamWriteShort(fork, SInt16(p->pattern));
        StreamWriteRGB(fork, p->color);
    }
}

void WriteLayerSetsAndNames(SInt16 fork, DocWindowRecord* doc) {
    SInt32 count = 0;
    for (const LayerSetRecord* s = doc->drawing->layerSets; s != nullptr; s = s->next)
        ++count;
    StreamWriteLong(fork, 192 * count);
    for (const LayerSetRecord* s = doc->drawing->layerSets; s != nullptr; s = s->next) {
        StreamWritePString(fork, s->name, 63);
        StreamWriteBytes(fork, s->layers, 128);
    }
    SInt32 length = 0;
    for (const Str255& name : doc->layerNames->names)
        length += name[0] + 1;
    StreamWriteLong(fork, length);
    for (const Str255& name : doc->layerNames->names)
        WriteCountedPString(fork, name);
}

void WriteViewsAndFrames(SInt16 fork, DocWindowRecord* doc) {
    SInt16 views = 0;
    for (const SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next)
        ++views;
    StreamWriteShort(fork, views);
    for (const SavedViewRecord* v = doc->drawing->savedViews; v != nullptr; v = v->next) {
        StreamWritePString(fork, v->name, 63);
        for (SInt16 w : v->values)
            StreamWriteShort(fork, w);
        for (Float64 r : v->rect)
            StreamWriteReal(fork, r);
    }
    SInt16 frames = 0;
    for (const FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next)
        ++frames;
    StreamWriteShort(fork, frames);
    for (const FrameRecord* f = doc->drawing->frames; f != nullptr; f = f->next) {
        StreamWritePString(fork, f->name, 63);
        StreamWriteShort(fork, f->kind);
        const Float64 reals[7] = {f->scale,   f->rect[0], f->rect[1], f->rect[2],
                                  f->rect[3], f->scaleX,  f->scaleY};
        for (Float64 r : reals)
            StreamWriteReal(fork, r);
        WriteZeros(fork, kFrameTrailerBytes);
    }
    WriteZeros(fork, kFrameTrailerBytes);
}

void WriteElements(SInt16 fork, DocWindowRecord* doc, bool selectedOnly, const ElementCounts& counts) {
    Progress progress;
    progress.out = fork;
    progress.total = SInt64(counts.lines) + counts.arcs + counts.texts + counts.dimensions +
                     counts.instances + counts.polylines + counts.definitions + counts.areas;
    const SymbolDefRecord* defs = doc->symbolDefHead->next;
    auto writeText = [&](const TextRecord* t) {
        WriteTextRecord(fork, t);
        if (!IsFramedTextBox(t)) {
            StreamWriteLong(fork, 0);
            StreamWriteLong(fork, 0);
        }
    };

    WriteList(doc->lineHead, selectedOnly, progress, [&](const LineRecord* e) { WriteLineRecord(fork, e); });
    for (const SymbolDefRecord* d = defs; d != nullptr; d = d->next)
        WriteList(d->lineHead, false, progress, [&](const LineRecord* e) { WriteLineRecord(fork, e); });
    WriteList(doc->arcHead, selectedOnly, progress, [&](const ArcRecord* e) { WriteCircleRecord(fork, e); });
    for (const SymbolDefRecord* d = defs; d != nullptr; d = d->next)
        WriteList(d->arcHead, false, progress, [&](const ArcRecord* e) { WriteCircleRecord(fork, e); });
    WriteList(doc->textHead, selectedOnly, progress, writeText);
    for (const SymbolDefRecord* d = defs; d != nullptr; d = d->next)
        WriteList(d->textHead, false, progress, writeText);
    WriteList(doc->dimensionHead, selectedOnly, progress,
              [&](const DimensionRecord* e) { WriteDimensionRecord(fork, e); });
    for (const SymbolDefRecord* d = defs; d != nullptr; d = d->next)
        WriteList(d->dimensionHead, false, progress,
                  [&](const DimensionRecord* e) { WriteDimensionRecord(fork, e); });
    WriteList(doc->instanceHead, selectedOnly, progress,
              [&](const SymbolInstanceRecord* e) { WriteSymbolInstanceRecord(fork, e); });
    WriteList(doc->polylineHead, selectedOnly, progress,
              [&](const PolylineRecord* e) { WritePolylineRecord(fork, e); });
    for (const SymbolDefRecord* d = defs; d != nullptr; d = d->next)
        WriteList(d->polylineHead, false, progress,
                  [&](const PolylineRecord* e) { WritePolylineRecord(fork, e); });
    WriteList(doc->areaHead, selectedOnly, progress, [&](const AreaRecord* e) { WriteAreaRecord(fork, e); });
    for (const SymbolDefRecord* d = defs; d != nullptr; d = d->next)
        WriteList(d->areaHead, false, progress, [&](const AreaRecord* e) { WriteAreaRecord(fork, e); });
    WriteList(doc->symbolDefHead, false, progress,
              [&](const SymbolDefRecord* e) { WriteSymbolDefRecord(fork, e); });
}

void WriteImages(SInt16 fork, DocWindowRecord* doc) {
    SInt16 count = doc->imageCount < 0 ? 0 : doc->imageCount > kMaxImages ? kMaxImages : doc->imageCount;
    StreamWriteLong(fork, count);
    for (SInt16 i = 0; i < count; ++i) {
        const ImageRecord& image = doc->images[i];
        StreamWriteReal(fork, image.x);
        StreamWriteReal(fork, image.y);
        StreamWriteReal(fork, image.resolution);
        StreamWriteLong(fork, 0);
        StreamWriteLong(fork, 0);
        SInt32 height = image.height < 0 ? 0 : image.height,
               bytesPerRow = image.bytesPerRow < 0 ? 0 : image.bytesPerRow;
        StreamWriteLong(fork, image.width);
        StreamWriteLong(fork, height);
        StreamWriteLong(fork, bytesPerRow);
        StreamWritePString(fork, image.fileName, 255);
        // The pixels as the header promises them, padded with zeros where the block is shorter.
        SInt64 want = SInt64(height) * bytesPerRow;
        SInt64 have = image.pixels != nullptr ? GetHandleSize(image.pixels) : 0;
        if (have > want) have = want;
        if (have > 0) StreamWriteBytes(fork, *image.pixels, SInt32(have));
        for (SInt64 left = want - have; left > 0; left -= kFrameTrailerBytes)
            WriteZeros(fork, left < kFrameTrailerBytes ? int(left) : kFrameTrailerBytes);
    }
}

} // namespace

ElementCounts CountDocumentElements(const DocWindowRecord* doc, Boolean selectionOnly) {
    ElementCounts c{};
    bool sel = selectionOnly != 0;
    c.lines = CountList(doc->lineHead, sel);
    c.arcs = CountList(doc->arcHead, sel);
    c.texts = CountList(doc->textHead, sel);
    c.dimensions = CountList(doc->dimensionHead, sel);
    c.instances = CountList(doc->instanceHead, sel);
    c.polylines = CountList(doc->polylineHead, sel);
    c.areas = CountList(doc->areaHead, sel);
    c.definitions = CountList(doc->symbolDefHead, false);
    for (const SymbolDefRecord* d = doc->symbolDefHead->next; d != nullptr; d = d->next) {
        c.lines += CountList(d->lineHead, false);
        c.arcs += CountList(d->arcHead, false);
        c.texts += CountList(d->textHead, false);
        c.dimensions += CountList(d->dimensionHead, false);
        c.polylines += CountList(d->polylineHead, false);
        c.areas += CountList(d->areaHead, false);
    }
    SInt64 bytes = SInt64(c.lines) * kLineMemory + SInt64(c.arcs) * kArcMemory +
                   SInt64(c.texts) * kTextMemory + SInt64(c.dimensions) * kDimensionMemory +
                   SInt64(c.instances) * kInstanceMemory + SInt64(c.polylines) * kPolylineMemory +
                   SInt64(c.areas) * kAreaMemory + SInt64(c.definitions) * kDefinitionMemory;
    c.bytes = bytes > 0x7FFFFFFF ? 0x7FFFFFFF : SInt32(bytes);
    return c;
}

void NumberSymbolDefinitions(DocWindowRecord* doc) {
    SInt16 number = -1;
    for (SymbolDefRecord* d = doc->symbolDefHead->next; d != nullptr; d = d->next, --number) {
        d->number = number;
        for (LineRecord* e = d->lineHead->next; e != nullptr; e = e->next)
            e->group = number;
        for (ArcRecord* e = d->arcHead->next; e != nullptr; e = e->next)
            e->group = number;
        for (TextRecord* e = d->textHead->next; e != nullptr; e = e->next)
            e->group = number;
        for (DimensionRecord* e = d->dimensionHead->next; e != nullptr; e = e->next)
            e->group = number;
        for (PolylineRecord* e = d->polylineHead->next; e != nullptr; e = e->next)
            e->group = number;
        for (AreaRecord* e = d->areaHead->next; e != nullptr; e = e->next)
            e->group = number;
    }
    for (SymbolInstanceRecord* s = doc->instanceHead->next; s != nullptr; s = s->next)
        s->definitionNumber = s->definition != nullptr ? s->definition->number : 0;
}

OSErr WriteNativeDataFork(DocWindowRecord* doc, SInt16 file, Boolean selectionOnly) {
    SInt16 fork = file;
    if (!IsMemoryStream(file)) {
        fork = OpenMemoryStream();
        if (fork == 0) {
            StreamNoteError(memFullErr);
            return StreamError;
        }
        gSpillTo = file;
    }
    ElementCounts counts = CountDocumentElements(doc, selectionOnly);
    SInt16 layerSets = 0;
    for (const LayerSetRecord* s = doc->drawing->layerSets; s != nullptr; s = s->next)
        ++layerSets;
    doc->settings->layerSetCount = layerSets;

    WriteHeader(fork, counts);
    WriteTitleBlock(fork, doc);
    StreamWriteLong(fork, kDocSettingsStoredSize);
    WriteDocSettings(fork, doc->settings);
    WriteLayerTables(fork, doc);
    WritePresets(fork, doc);
    WriteLayerSetsAndNames(fork, doc);
    WriteVariables(doc, fork);
    WriteViewsAndFrames(fork, doc);
    StreamWriteLong(fork, 36);
    const SInt32 values[9] = {counts.lines,       counts.arcs,      counts.texts,
                              counts.dimensions,  counts.instances, counts.polylines,
                              counts.definitions, counts.areas,     counts.bytes};
    for (SInt32 v : values)
        StreamWriteLong(fork, v);
    WriteElements(fork, doc, selectionOnly != 0, counts);
    WriteImages(fork, doc);
    if (fork != file) {
        Spill(fork, true);
        gSpillTo = 0;
        CloseMemoryStream(fork);
    }
    return StreamError;
}
