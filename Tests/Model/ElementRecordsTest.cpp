// Element record allocators, the line direction rule and the title-block field layout.
#include "DocumentRecords.h"
#include "ElementRecords.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

template <typename T, typename New, typename Dispose, typename Clone>
void CheckAllocators(New makeRecord, Dispose dispose, Clone clone) {
    T* record = makeRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->group, 0);
    EXPECT_EQ(record->selected, 0);
    EXPECT_EQ(record->next, nullptr);

    record->group = 7;
    record->next = record; // a clone copies the link too; the caller relinks it
    T* copy = clone(record);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(static_cast<void*>(copy), static_cast<void*>(record), sizeof(T)), 0);

    dispose(&copy);
    EXPECT_EQ(copy, nullptr);
    dispose(&copy); // a second dispose of the same slot does nothing
    dispose(&record);
    EXPECT_EQ(record, nullptr);
}

} // namespace

TEST(ElementRecords, EveryKindIsClearedDisposedThroughItsSlotAndClonedByteForByte) {
    CheckAllocators<LineRecord>(NewLineRecord, DisposeLineRecord, CloneLineRecord);
    CheckAllocators<ArcRecord>(NewArcRecord, DisposeArcRecord, CloneArcRecord);
    CheckAllocators<TextRecord>(NewTextRecord, DisposeTextRecord, CloneTextRecord);
    CheckAllocators<DimensionRecord>(NewDimensionRecord, DisposeDimensionRecord, CloneDimensionRecord);
    CheckAllocators<PolylineRecord>(NewPolylineRecord, DisposePolylineRecord, ClonePolylineRecord);
    CheckAllocators<SymbolInstanceRecord>(NewSymbolInstanceRecord, DisposeSymbolInstanceRecord,
                                          CloneSymbolInstanceRecord);
    CheckAllocators<AreaRecord>(NewAreaRecord, DisposeAreaRecord, CloneAreaRecord);

    SymbolDefRecord* def = NewSymbolDefRecord();
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->next, nullptr);
    DisposeSymbolDefRecord(&def);
    EXPECT_EQ(def, nullptr);
    NamedTableRecord* table = NewNamedTableRecord();
    NamedTableRecord* tableCopy = CloneNamedTableRecord(table);
    EXPECT_EQ(std::memcmp(table, tableCopy, sizeof *table), 0);
    DisposeNamedTableRecord(&table);
    DisposeNamedTableRecord(&tableCopy);
    EXPECT_EQ(tableCopy, nullptr);
}

TEST(ElementRecords, LinesAreOrderedByXOrNearVerticalByYWithTheirEndMarks) {
    struct Case {
        Float64 x1, y1, x2, y2;
        bool swapped;
    } cases[] = {
        {5, 0, 1, 3, true},       // right to left
        {1, 3, 5, 0, false},      // already ordered
        {2, 9, 2, 1, true},       // vertical, downwards
        {2, 1, 2.0001, 9, false}, // near vertical, upwards
        {2.0001, 9, 2, 1, true},  // near vertical, downwards, x already ascending
        {4, 4, 4, 4, false},      // a point stays
    };
    for (const Case& c : cases) {
        LineRecord line{};
        line.x1 = c.x1, line.y1 = c.y1, line.x2 = c.x2, line.y2 = c.y2;
        line.flags = SetLineEndMarkKind(SetLineStartMarkKind(kLineOpenStart, 2), 5);
        NormalizeLineDirection(&line);
        EXPECT_EQ(line.x1, c.swapped ? c.x2 : c.x1);
        EXPECT_EQ(line.y1, c.swapped ? c.y2 : c.y1);
        EXPECT_EQ(LineStartMarkKind(line.flags), c.swapped ? 5 : 2);
        EXPECT_EQ(LineEndMarkKind(line.flags), c.swapped ? 2 : 5);
        EXPECT_TRUE(line.flags & kLineOpenStart);
    }
}

TEST(DocumentRecords, TitleBlockFieldsAndLayerBitsHaveTheirStoredLayout) {
    EXPECT_EQ(sizeof(TitleBlockStrings), 1488u);
    TitleBlockStrings block{};
    EXPECT_EQ(TitleBlockField(&block, 6), block.paperFormat);
    EXPECT_EQ(TitleBlockField(&block, 7), block.scale);
    EXPECT_EQ(TitleBlockField(&block, 20), block.field20);
    EXPECT_EQ(TitleBlockField(&block, 21), nullptr);

    LayerVisibilitySet set{};
    SetLayerVisible(&set, 9, true);
    EXPECT_EQ(set.bits[1], 0x40); // layer n is bit 7 - (n mod 8) of byte n div 8
    EXPECT_TRUE(IsLayerVisible(&set, 9));
    EXPECT_FALSE(IsLayerVisible(&set, 1024));
    EXPECT_FALSE(IsLayerVisible(&set, -1));
}
