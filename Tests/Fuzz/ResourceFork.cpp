// Fuzz target: AppleDouble sidecars and the resource forks inside them; whatever decodes must encode
// and decode again to the same resources.
#include "Platform/AppleDouble.h"
#include "Platform/ResourceFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
    std::vector<UInt8> bytes;
    if (BuildResourceFork(entries, &bytes) != noErr) return 0;
    std::vector<ResourceEntry> back;
    if (ParseResourceFork(bytes.data(), bytes.size(), &back) != noErr || back.size() != entries.size())
        std::abort();
    return 0;
}
