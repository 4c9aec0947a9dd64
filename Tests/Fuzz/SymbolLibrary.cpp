// Fuzz target: symbol library files. The input is opened as a library, listed, and every listed
// symbol read; whatever reads must store into a fresh library and read back with the same elements.
#include "Files/SymbolLibrary.h"
#include "Model/ElementEncoding.h"
#include "Model/ElementLists.h"
#include "Model/ElementRecords.h"
#include "Model/NewDocument.h"
#include "Model/Streams.h"
#include "Platform/DialogManager.h"
#include "Platform/FileManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

FSRef gInput, gCopy;
DocWindowRecord* gDoc = nullptr;

void WriteBytes(const char* path, const UInt8* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

SInt32 ElementCount(const SymbolDefRecord* def) {
    SInt32 n = 0;
    for (const LineRecord* e = def->lineHead->next; e; e = e->next)
        ++n;
    for (const ArcRecord* e = def->arcHead->next; e; e = e->next)
        ++n;
    for (const TextRecord* e = def->textHead->next; e; e = e->next)
        ++n;
    for (const DimensionRecord* e = def->dimensionHead->next; e; e = e->next)
        ++n;
    for (const PolylineRecord* e = def->polylineHead->next; e; e = e->next)
        ++n;
    for (const AreaRecord* e = def->areaHead->next; e; e = e->next)
        ++n;
    return n;
}

// With DW_FUZZ_SEED_DIR set: a library of two symbols, one of lines and one of arcs and a text.
void WriteSeeds() {
    const char* folder = std::getenv("DW_FUZZ_SEED_DIR");
    if (folder == nullptr) return;
    FSRef seed;
    FSMakeRef((std::string(folder) + "/two-symbols.lib").c_str(), &seed);
    if (CreateSymbolLibrary(&seed) != noErr || OpenSymbolLibraryFile(&seed) != noErr) return;
    for (int k = 0; k < 2; ++k) {
        SymbolDefRecord* def = nullptr;
        NewSymbolDefElement(&def);
        def->name[0] = 1, def->name[1] = UInt8('A' + k);
        def->maxX = def->maxY = 5;
        if (k == 0) {
            LineRecord* l = NewLineRecord();
            l->x2 = 5, l->pen = 1;
            def->lineHead->next = l;
        } else {
            ArcRecord* a = NewArcRecord();
            a->radius = 2, a->endAngle = 360;
            def->arcHead->next = a;
            TextRecord* t = NewTextRecord();
            t->text[0] = 2, t->text[1] = 'M', t->text[2] = '6';
            def->textHead->next = t;
        }
        StoreLibrarySymbol(def, def->name, false);
        DisposeSymbolDefRecord(&def);
    }
    CloseSymbolLibrary();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitSymbolLibraryList();
    WriteSeeds();
    FSRef folder;
    GetPrivateTempFolder(&folder);
    FSMakeChildRef(&folder, "input.lib", &gInput);
    FSMakeChildRef(&folder, "copy.lib", &gCopy);
    NewDocument(&gDoc, nullptr, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteBytes(gInput.path, data, size);
    if (OpenSymbolLibraryFile(&gInput) != noErr) return 0;
    std::vector<SymbolDefRecord*> read;
    for (SInt16 i = 0; i < SymbolLibraryList.count; ++i) {
        SymbolDefRecord* def = nullptr;
        if (ReadLibrarySymbol(gDoc, i, &def) == noErr) read.push_back(def);
    }
    if (SymbolLibraryList.count > 1023) std::abort();
    // What was read stores and reads back whole.
    if (!read.empty() && CreateSymbolLibrary(&gCopy) == noErr && OpenSymbolLibraryFile(&gCopy) == noErr) {
        for (SymbolDefRecord* def : read) {
            if (StoreLibrarySymbol(def, def->name, true) != noErr) continue;
            SInt16 index = FindLibrarySymbol(def->name);
            SymbolDefRecord* back = nullptr;
            if (index < 0 || ReadLibrarySymbol(gDoc, index, &back) != noErr) std::abort();
            if (ElementCount(back) != ElementCount(def)) std::abort();
            DisposeSymbolDefRecord(&back);
        }
    }
    for (SymbolDefRecord*& def : read)
        DisposeSymbolDefRecord(&def);
    CloseSymbolLibrary();
    ClearRecordedAlerts();
    return 0;
}
