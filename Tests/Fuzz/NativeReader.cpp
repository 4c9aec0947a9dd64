// Fuzz target: a drawing file's data fork read into a new document, as opening a file does. With
// DW_FUZZ_SEED_DIR set, a drawing of every element kind is first written there as a starting seed.
#include "Platform/DialogManager.h"
#include "Model/DocumentRecords.h"
#include "Model/ElementLists.h"
#include "Platform/MemoryManager.h"
#include "Files/NativeFile.h"
#include "Model/NewDocument.h"
#include "Model/Streams.h"
#include "Other/ZEZUdivari.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

void WriteSeed() {
    const char* folder = std::getenv("DW_FUZZ_SEED_DIR");
    DocWindowRecord* doc = nullptr;
    if (folder == nullptr || !NewDocument(&doc, nullptr, 0)) return;
    SeekLastLine(doc);
    AppendLineAtCursor(doc, 0, 0, 10, 5, false);
    SeekLastArc(doc);
    AppendArcAtCursor(doc, 1, 2, 3, 0, 90, false);
    TextRecord* text = nullptr;
    NewTextElement(doc, &text);
    CStrToPStr(text->text, 256, "Text");
    doc->textHead->next = text;
    TextRecord* box = nullptr;
    NewTextElement(doc, &box);
    box->textFlags = kFramedTextBoxFlags;
    PtrToHand("box", &box->boxText, 3);
    text->next = box;
    DimensionRecord* dim = nullptr;
    NewDimensionElement(doc, &dim);
    doc->dimensionHead->next = dim;
    PolylineRecord* poly = nullptr;
    NewPolylineElement(doc, &poly);
    poly->pointCount = 2;
    poly->points = NewHandleClear(32);
    doc->polylineHead->next = poly;
    AreaRecord* area = nullptr;
    NewAreaElement(doc, &area);
    area->outline = NewOutlineHandle(2);
    area->lastHoleIndex = 0;
    area->holes = NewHandleClear(sizeof(Handle));
    reinterpret_cast<Handle*>(*area->holes)[0] = NewOutlineHandle(-1);
    doc->areaHead->next = area;
    SymbolDefRecord* def = nullptr;
    NewSymbolDefElement(&def);
    def->lineHead->next = NewLineRecord();
    doc->symbolDefHead->next = def;
    SymbolInstanceRecord* inst = nullptr;
    NewInstanceElement(doc, &inst);
    inst->definition = def;
    doc->instanceHead->next = inst;
    doc->drawing->attributePresets = NewAttributePreset();
    doc->drawing->layerSets = NewLayerSetRecord();
    doc->drawing->savedViews = NewSavedView();
    doc->drawing->frames = NewFrameRecord();
    doc->imageCount = 1;
    doc->images[0].width = doc->images[0].height = 2;
    doc->images[0].bytesPerRow = 4;

    SInt16 out = OpenMemoryStream();
    NumberSymbolDefinitions(doc);
    WriteNativeDataFork(doc, out, false);
    SInt64 size = 0;
    const UInt8* bytes = MemoryStreamData(out, &size);
    std::ofstream(std::string(folder) + "/every-kind.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes), std::streamsize(size));
    CloseMemoryStream(out);
    DisposeDocumentRecords(doc);
}

template <class T> void FreeChain(T*& first, void (*dispose)(T**)) {
    while (first != nullptr) {
        T* next = first->next;
        dispose(&first);
        first = next;
    }
}

// One document serves every input (making one per input would dominate the time): everything a
// read can add is freed between inputs.
void Empty(DocWindowRecord* doc) {
    DisposeDocumentElements(doc);
    DrawingRecord* d = doc->drawing;
    FreeChain(d->attributePresets, DisposeAttributePreset);
    FreeChain(d->layerSets, DisposeLayerSetRecord);
    FreeChain(d->savedViews, DisposeSavedView);
    FreeChain(d->frames, DisposeFrameRecord);
    FreeChain(d->criteriaTables, DisposeNamedTableRecord);
    for (SInt16 i = 0; i < doc->imageCount && i < kMaxImages; ++i)
        DisposeHandle(doc->images[i].pixels);
    doc->imageCount = 0;
    DisposeHandle(d->logText);
    DisposeHandle(d->printSettings);
    DisposeHandle(d->pageFormat);
    d->logText = d->printSettings = d->pageFormat = nullptr;
}

DocWindowRecord* gDoc = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    WriteSeed();
    NewDocument(&gDoc, nullptr, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DocWindowRecord* doc = gDoc;
    if (doc == nullptr) return 0;
    Empty(doc);
    // Half the inputs go into a drawing that already holds elements, as inserting does.
    bool insert = size > 0 && (data[size - 1] & 1);
    if (insert) {
        SeekLastLine(doc);
        AppendLineAtCursor(doc, 0, 0, 1, 1, false);
    }
    StreamClearError();
    SInt16 in = OpenMemoryStreamOn(data, SInt64(size));
    NativeFileHeader header;
    if (ReadNativeHeader(in, &header) == 0) {
        NativeReadOptions options;
        options.insert = insert;
        options.dx = 1.5;
        options.versResource = size > 1 && (data[size - 2] & 1) ? 0x0250 : kDefaultVersResource;
        ReadNativeBody(doc, in, header, options);
    }
    CloseMemoryStream(in);
    ClearRecordedAlerts();
    return 0;
}
