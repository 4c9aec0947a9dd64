// Element records read in bulk come from large blocks instead of one allocation each: a drawing of a
// million lines would otherwise spend much of its read in the allocator and a header per record.
#pragma once

#include <cstddef>

// Each block counts its live records and goes back when the last of them is disposed, so records
// from blocks are disposed one by one like any other (deleting, undo, closing the drawing) and may
// move between lists. The allocator only keeps the block it is filling; the program's records are
// handled on one thread.
class RecordBlockAllocator {
  public:
    RecordBlockAllocator() = default;
    ~RecordBlockAllocator();
    RecordBlockAllocator(const RecordBlockAllocator&) = delete;
    RecordBlockAllocator& operator=(const RecordBlockAllocator&) = delete;

    // Uncleared memory for one record of size bytes; null when memory runs out. A record too large
    // for a block gets an allocation of its own.
    void* Allocate(size_t size);

  private:
    struct RecordBlock* block_ = nullptr;
    size_t used_ = 0;
    size_t blocksMade_ = 0;
};

// Releases a record that came from a block and returns true; false for a record allocated on its
// own, which the caller frees.
bool ReleaseBlockRecord(void* record);

// Blocks in use, for tests.
size_t RecordBlocksInUse();
