// Pointer blocks with their size stored just before the data.
#include "Platform/PointerBlocks.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
constexpr size_t kHeader = alignof(std::max_align_t) > sizeof(Size) ? alignof(std::max_align_t)
                                                                    : sizeof(Size);

Ptr Allocate(Size byteCount, bool clear) {
    if (byteCount < 0) return nullptr;
    char* raw = static_cast<char*>(clear ? std::calloc(1, kHeader + static_cast<size_t>(byteCount))
                                         : std::malloc(kHeader + static_cast<size_t>(byteCount)));
    if (!raw) return nullptr;
    std::memcpy(raw, &byteCount, sizeof byteCount);
    return raw + kHeader;
}
} // namespace

Ptr NewPtr(Size byteCount) {
    return Allocate(byteCount, false);
}
Ptr NewPtrClear(Size byteCount) {
    return Allocate(byteCount, true);
}

void DisposePtr(Ptr p) {
    if (p) std::free(p - kHeader);
}

Size GetPtrSize(Ptr p) {
    if (!p) return 0;
    Size size = 0;
    std::memcpy(&size, p - kHeader, sizeof size);
    return size;
}
