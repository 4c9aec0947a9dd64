// Fuzz target: AppleDouble sidecars and the resource forks inside them; whatever decodes must encode
// and decode again to the same resources. The print settings and page formats found in them ('pset',
// 'ppag') are decoded as a drawing's reader decodes them, and what decodes stores and reads back the
// same.
#include "Files/PrintRecords.h"
#include "Files/Printing.h"
#include "Platform/AppleDouble.h"
#include "Platform/MemoryManager.h"
#include "Platform/ResourceFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

template <typename Data, typename Flatten, typename Unflatten>
void RoundTrip(const std::vector<UInt8>& payload, Flatten flatten, Unflatten unflatten) {
    Data data{};
    if (!unflatten(payload.data(), payload.size(), &data)) return;
    const std::vector<UInt8> stored = flatten(data);
    Data back{};
    if (!unflatten(stored.data(), stored.size(), &back) || flatten(back) != stored) std::abort();
}

void DecodePrintRecords(const std::vector<ResourceEntry>& entries) {
    for (const ResourceEntry& e : entries) {
        if (e.type == kPageFormatResType) {
            RoundTrip<PageFormatData>(e.data, FlattenPageFormat, UnflattenPageFormat);
            // The way frames hold it: a handle, decoded or the default, turned into a page setup.
            Handle h = nullptr;
            if (PtrToHand(e.data.data(), &h, Size(e.data.size())) == noErr) {
                PrintPageSetup page = PageSetupOfHandle(h);
                if (!(page.paperWidth > 0 && page.paperHeight > 0)) std::abort();
                DisposeHandle(h);
            }
        } else if (e.type == kPrintSettingsResType) {
            RoundTrip<PrintSettingsData>(e.data, FlattenPrintSettings, UnflattenPrintSettings);
            Handle h = nullptr;
            if (PtrToHand(e.data.data(), &h, Size(e.data.size())) == noErr) {
                if (JobSetupOfHandle(h).copies < 1) std::abort();
                DisposeHandle(h);
            }
        }
    }
}

// With DW_FUZZ_SEED_DIR set: a fork holding the document's and one frame's print records.
void WriteSeeds() {
    const char* folder = std::getenv("DW_FUZZ_SEED_DIR");
    if (folder == nullptr) return;
    PageFormatData landscape = DefaultPageFormat();
    landscape.orientation = 2;
    std::vector<ResourceEntry> entries(4);
    entries[0] = {
        kPageFormatResType, kDocumentPrintResId, 0, false, {}, FlattenPageFormat(DefaultPageFormat())};
    entries[1] = {kPrintSettingsResType,
                  kDocumentPrintResId,
                  0,
                  false,
                  {},
                  FlattenPrintSettings(DefaultPrintSettings())};
    entries[2] = {kPageFormatResType, kDocumentPrintResId + 1, 0, false, {}, FlattenPageFormat(landscape)};
    PrintSettingsData settings = DefaultPrintSettings();
    settings.copies = 3;
    settings.firstPage = 2;
    settings.lastPage = 5;
    entries[3] = {kPrintSettingsResType,         kDocumentPrintResId + 1, 0, true, "Frame",
                  FlattenPrintSettings(settings)};
    std::vector<UInt8> fork;
    if (BuildResourceFork(entries, &fork) != noErr) return;
    std::ofstream(std::string(folder) + "/print-records.rsrc", std::ios::binary)
        .write(reinterpret_cast<const char*>(fork.data()), std::streamsize(fork.size()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    WriteSeeds();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AppleDoubleContents contents;
    const UInt8* fork = data;
    size_t forkSize = size;
    if (ParseAppleDouble(data, size, &contents) == noErr) {
        std::vector<UInt8> again = BuildAppleDouble(contents);
        AppleDoubleContents back;
        if (ParseAppleDouble(again.data(), again.size(), &back) != noErr ||
            back.resourceFork != contents.resourceFork)
            std::abort();
        fork = contents.resourceFork.data();
        forkSize = contents.resourceFork.size();
    }
    std::vector<ResourceEntry> entries;
    if (ParseResourceFork(fork, forkSize, &entries) != noErr) return 0;
    DecodePrintRecords(entries);
    std::vector<UInt8> bytes;
    if (BuildResourceFork(entries, &bytes) != noErr) return 0;
    std::vector<ResourceEntry> back;
    if (ParseResourceFork(bytes.data(), bytes.size(), &back) != noErr || back.size() != entries.size())
        std::abort();
    return 0;
}
