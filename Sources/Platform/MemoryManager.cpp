// Handles over the C heap: a small block holding the master pointer and the size.
#include "Platform/MemoryManager.h"

#include <cstdlib>
#include <cstring>

namespace {

struct MasterBlock {
    char* data; // first, so that a Handle is the address of this field
    Size size;
};

OSErr gMemError = noErr;

MasterBlock* BlockOf(Handle h) {
    return reinterpret_cast<MasterBlock*>(h);
}

Handle Allocate(Size byteCount, bool clear) {
    if (byteCount < 0) {
        gMemError = paramErr;
        return nullptr;
    }
    auto* block = static_cast<MasterBlock*>(std::malloc(sizeof(MasterBlock)));
    // Zero-length handles still get a data block so that *h is never null.
    char* data = static_cast<char*>(clear ? std::calloc(1, size_t(byteCount) + 1)
                                          : std::malloc(size_t(byteCount) + 1));
    if (block == nullptr || data == nullptr) {
        std::free(block);
        std::free(data);
        gMemError = memFullErr;
        return nullptr;
    }
    block->data = data;
    block->size = byteCount;
    gMemError = noErr;
    return &block->data;
}

} // namespace

Handle NewHandle(Size byteCount) {
    return Allocate(byteCount, false);
}

Handle NewHandleClear(Size byteCount) {
    return Allocate(byteCount, true);
}

void DisposeHandle(Handle h) {
    gMemError = noErr;
    if (h == nullptr) return;
    MasterBlock* block = BlockOf(h);
    std::free(block->data);
    std::free(block);
}

Size GetHandleSize(Handle h) {
    if (h == nullptr) {
        gMemError = nilHandleErr;
        return 0;
    }
    gMemError = noErr;
    return BlockOf(h)->size;
}

void SetHandleSize(Handle h, Size newSize) {
    if (h == nullptr) {
        gMemError = nilHandleErr;
        return;
    }
    if (newSize < 0) {
        gMemError = paramErr;
        return;
    }
    MasterBlock* block = BlockOf(h);
    char* data = static_cast<char*>(std::realloc(block->data, size_t(newSize) + 1));
    if (data == nullptr) {
        gMemError = memFullErr;
        return;
    }
    block->data = data;
    block->size = newSize;
    gMemError = noErr;
}

OSErr HandToHand(Handle* h) {
    if (h == nullptr || *h == nullptr) return gMemError = nilHandleErr;
    Size size = GetHandleSize(*h);
    Handle copy = NewHandle(size);
    if (copy == nullptr) return gMemError;
    std::memcpy(*copy, **h, size_t(size));
    *h = copy;
    return noErr;
}

OSErr PtrToHand(const void* source, Handle* dest, Size size) {
    *dest = NewHandle(size);
    if (*dest == nullptr) return gMemError;
    if (size > 0) std::memcpy(**dest, source, size_t(size));
    return noErr;
}

OSErr MemError() {
    return gMemError;
}
