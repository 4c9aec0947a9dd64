// Blocks of element records: records from blocks are disposed one by one like any other, and a
// block goes back only when its last record has gone and no allocator fills it any more.
#include "Model/ElementRecords.h"
#include "Model/RecordBlocks.h"
#include "Platform/MemoryManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace {

TEST(RecordBlocks, RecordsFromBlocksAreDisposedOneByOneInAnyOrder) {
    size_t before = RecordBlocksInUse();
    std::vector<LineRecord*> lines;
    std::vector<PolylineRecord*> polylines;
    {
        RecordBlockAllocator blocks;
        // Enough records of two sizes for several blocks.
        for (int i = 0; i < 60000; ++i) {
            auto* line = static_cast<LineRecord*>(blocks.Allocate(sizeof(LineRecord)));
            ASSERT_NE(line, nullptr);
            std::memset(static_cast<void*>(line), 0, sizeof *line);
            line->x1 = i;
            lines.push_back(line);
            auto* polyline = static_cast<PolylineRecord*>(blocks.Allocate(sizeof(PolylineRecord)));
            ASSERT_NE(polyline, nullptr);
            std::memset(static_cast<void*>(polyline), 0, sizeof *polyline);
            const Float64 points[4] = {1, 2, 3, i * 1.0};
            PtrToHand(points, &polyline->points, sizeof points);
            polylines.push_back(polyline);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(line) % alignof(std::max_align_t), 0u);
        }
        EXPECT_GT(RecordBlocksInUse(), before + 3);
    }
    // The records stay whole after the allocator has gone; they go one by one, shuffled.
    for (size_t i = 0; i < lines.size(); i += 997)
        EXPECT_EQ(lines[i]->x1, Float64(i));
    std::mt19937 random(7);
    std::shuffle(lines.begin(), lines.end(), random);
    for (size_t i = 0; i < lines.size(); ++i) {
        DisposeLineRecord(&lines[i]);
        EXPECT_EQ(lines[i], nullptr);
        // What they own is freed with them.
        DisposePolylineRecord(&polylines[i]);
    }
    EXPECT_EQ(RecordBlocksInUse(), before);
}

TEST(RecordBlocks, TheBlockBeingFilledStaysUntilItsAllocatorLetsItGo) {
    size_t before = RecordBlocksInUse();
    RecordBlockAllocator* blocks = new RecordBlockAllocator;
    auto* first = static_cast<ArcRecord*>(blocks->Allocate(sizeof(ArcRecord)));
    std::memset(static_cast<void*>(first), 0, sizeof *first);
    DisposeArcRecord(&first);
    // Empty, but still being filled: the next record comes from it.
    EXPECT_EQ(RecordBlocksInUse(), before + 1);
    auto* second = static_cast<ArcRecord*>(blocks->Allocate(sizeof(ArcRecord)));
    std::memset(static_cast<void*>(second), 0, sizeof *second);
    EXPECT_EQ(RecordBlocksInUse(), before + 1);
    delete blocks;
    EXPECT_EQ(RecordBlocksInUse(), before + 1);
    DisposeArcRecord(&second);
    EXPECT_EQ(RecordBlocksInUse(), before);

    // Records of their own allocation are not the blocks' to release.
    LineRecord* own = NewLineRecord();
    EXPECT_FALSE(ReleaseBlockRecord(own));
    DisposeLineRecord(&own);
    RecordBlockAllocator empty;
}

} // namespace
