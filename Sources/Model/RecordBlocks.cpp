// Blocks of element records: aligned to their size, so that the block of a record is found from its
// address alone, and freed when their last record is released. Blocks after an allocator's first are
// huge pages where the system offers them: a million records otherwise cost a page fault for every
// 4 KB they fill, while a small drawing keeps to the pages it touches.
#include "Model/RecordBlocks.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <unordered_set>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define DW_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DW_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(DW_ADDRESS_SANITIZER)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#define DW_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define DW_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
// The leak checker looks for pointers in its own allocations only: records in a mapped block point
// to other records, which it would otherwise report as lost.
#define DW_BLOCK_MAPPED(p, n) __lsan_register_root_region(p, n)
#define DW_BLOCK_UNMAPPED(p, n) __lsan_unregister_root_region(p, n)
#else
#define DW_POISON(p, n) ((void)(p), (void)(n))
#define DW_UNPOISON(p, n) ((void)(p), (void)(n))
#define DW_BLOCK_MAPPED(p, n) ((void)(p), (void)(n))
#define DW_BLOCK_UNMAPPED(p, n) ((void)(p), (void)(n))
#endif

struct RecordBlock {
    size_t live;  // records handed out and not yet released
    bool filling; // an allocator still hands out records from it
};

namespace {

constexpr size_t kBlockBytes = size_t(2) << 20;
constexpr size_t kRecordAlign = alignof(std::max_align_t);
constexpr size_t kHeaderBytes = (sizeof(RecordBlock) + kRecordAlign - 1) / kRecordAlign * kRecordAlign;

// The blocks' start addresses; the last one found is kept, since lists are disposed in block order.
std::unordered_set<uintptr_t>& Blocks() {
    static std::unordered_set<uintptr_t> blocks;
    return blocks;
}
uintptr_t gLastFound = 0;

void FreeBlock(RecordBlock* block) {
    uintptr_t base = reinterpret_cast<uintptr_t>(block);
    Blocks().erase(base);
    if (gLastFound == base) gLastFound = 0;
    DW_UNPOISON(block, kBlockBytes);
    DW_BLOCK_UNMAPPED(block, kBlockBytes);
    munmap(block, kBlockBytes);
}

// A block's memory at an address that is a multiple of its size: twice that is mapped and the
// unaligned ends are given back.
void* MapAlignedBlock(bool hugePage) {
    void* mapped = mmap(nullptr, 2 * kBlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
    uintptr_t aligned = (start + kBlockBytes - 1) & ~uintptr_t(kBlockBytes - 1);
    if (aligned > start) munmap(mapped, aligned - start);
    if (uintptr_t tail = start + 2 * kBlockBytes - (aligned + kBlockBytes); tail > 0)
        munmap(reinterpret_cast<void*>(aligned + kBlockBytes), tail);
    void* block = reinterpret_cast<void*>(aligned);
    DW_BLOCK_MAPPED(block, kBlockBytes);
#ifdef MADV_HUGEPAGE
    if (hugePage) madvise(block, kBlockBytes, MADV_HUGEPAGE);
#else
    (void)hugePage;
#endif
    return block;
}

// The allocator lets its block go: freed at once when none of its records is still in use.
void Retire(RecordBlock* block) {
    if (block == nullptr) return;
    block->filling = false;
    if (block->live == 0) FreeBlock(block);
}

} // namespace

RecordBlockAllocator::~RecordBlockAllocator() {
    Retire(block_);
}

void* RecordBlockAllocator::Allocate(size_t size) {
    size = (size + kRecordAlign - 1) / kRecordAlign * kRecordAlign;
    if (size > kBlockBytes - kHeaderBytes) return std::malloc(size);
    if (block_ == nullptr || used_ + size > kBlockBytes) {
        Retire(block_);
        block_ = nullptr;
        void* memory = MapAlignedBlock(blocksMade_ > 0);
        if (memory == nullptr) return nullptr;
        try {
            Blocks().insert(reinterpret_cast<uintptr_t>(memory));
        } catch (const std::bad_alloc&) {
            DW_BLOCK_UNMAPPED(memory, kBlockBytes);
            munmap(memory, kBlockBytes);
            return nullptr;
        }
        block_ = static_cast<RecordBlock*>(memory);
        block_->live = 0;
        block_->filling = true;
        used_ = kHeaderBytes;
        ++blocksMade_;
        DW_POISON(static_cast<char*>(memory) + kHeaderBytes, kBlockBytes - kHeaderBytes);
    }
    char* record = reinterpret_cast<char*>(block_) + used_;
    used_ += size;
    ++block_->live;
    DW_UNPOISON(record, size);
    return record;
}

bool ReleaseBlockRecord(void* record) {
    if (record == nullptr) return false;
    auto& blocks = Blocks();
    if (blocks.empty()) return false;
    uintptr_t base = reinterpret_cast<uintptr_t>(record) & ~uintptr_t(kBlockBytes - 1);
    if (base != gLastFound) {
        if (blocks.find(base) == blocks.end()) return false;
        gLastFound = base;
    }
    auto* block = reinterpret_cast<RecordBlock*>(base);
    if (--block->live == 0 && !block->filling) FreeBlock(block);
    return true;
}

size_t RecordBlocksInUse() {
    return Blocks().size();
}
