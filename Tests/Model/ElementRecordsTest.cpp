// Element record allocators and what records own, the line direction rule and the title-block
// field layout.
#include "Model/DocumentRecords.h"
#include "Model/ElementRecords.h"
#include "Platform/MemoryManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

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

Handle HandleOf(const std::string& bytes) {
    Handle h = nullptr;
    PtrToHand(bytes.data(), &h, Size(bytes.size()));
    return h;
}

std::vector<char> BytesOf(Handle h) {
    return std::vector<char>(*h, *h + GetHandleSize(h));
}

Handle& HoleSlot(AreaRecord* area, int i) {
    return reinterpret_cast<Handle*>(*area->holes)[i];
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

TEST(ElementRecords, AClonesDataOutlivesItsOriginal) {
    TextRecord* text = NewTextRecord();
    text->textFlags = kFramedTextBoxFlags;
    text->boxText = HandleOf("line one\rline two");
    PolylineRecord* polyline = NewPolylineRecord();
    polyline->kind = kPolylinePicture;
    polyline->points = HandleOf(std::string(32, '\x11'));
    polyline->picture = HandleOf("PICTBYTES");
    AreaRecord* area = NewAreaRecord();
    area->outline = NewOutlineHandle(3);
    OutlinePoints(area->outline)[7] = 2.5;
    area->holes = NewHandleClear(3 * sizeof(Handle));
    area->lastHoleIndex = 2;
    HoleSlot(area, 0) = NewOutlineHandle(1);
    HoleSlot(area, 2) = NewOutlineHandle(-1); // slot 1 stays empty
    OutlinePoints(HoleSlot(area, 2))[3] = 7.5;

    TextRecord* textCopy = CloneTextRecord(text);
    PolylineRecord* polylineCopy = ClonePolylineRecord(polyline);
    AreaRecord* areaCopy = CloneAreaRecord(area);
    ASSERT_TRUE(textCopy && polylineCopy && areaCopy);
    struct Owned {
        const char* what;
        Handle original, copy;
        std::vector<char> bytes;
    } owned[] = {
        {"box text", text->boxText, textCopy->boxText, {}},
        {"points", polyline->points, polylineCopy->points, {}},
        {"picture", polyline->picture, polylineCopy->picture, {}},
        {"outline", area->outline, areaCopy->outline, {}},
        {"hole 0", HoleSlot(area, 0), HoleSlot(areaCopy, 0), {}},
        {"hole 2", HoleSlot(area, 2), HoleSlot(areaCopy, 2), {}},
    };
    for (Owned& o : owned) {
        ASSERT_NE(o.copy, nullptr) << o.what;
        EXPECT_NE(o.copy, o.original) << o.what;
        o.bytes = BytesOf(o.original);
    }
    EXPECT_NE(areaCopy->holes, area->holes);
    EXPECT_EQ(HoleSlot(areaCopy, 1), nullptr);
    EXPECT_EQ(areaCopy->lastHoleIndex, 2);

    DisposeTextRecord(&text);
    DisposePolylineRecord(&polyline);
    DisposeAreaRecord(&area);
    for (const Owned& o : owned)
        EXPECT_EQ(BytesOf(o.copy), o.bytes) << o.what;
    EXPECT_EQ(OutlinePoints(areaCopy->outline)[7], 2.5);
    EXPECT_EQ(OutlinePoints(HoleSlot(areaCopy, 2))[3], 7.5);
    DisposeTextRecord(&textCopy);
    DisposePolylineRecord(&polylineCopy);
    DisposeAreaRecord(&areaCopy);
}

// Every hole slot is the area's, also past its last hole index: a record being read owns its holes
// before the index is set. A slot left behind shows as a leak under the sanitizers.
TEST(ElementRecords, TheAreaDisposerFreesEveryHoleSlot) {
    AreaRecord area{};
    area.outline = NewOutlineHandle(2);
    area.holes = NewHandleClear(3 * sizeof(Handle));
    HoleSlot(&area, 0) = NewOutlineHandle(1);
    HoleSlot(&area, 2) = NewOutlineHandle(4);
    area.lastHoleIndex = 0;
    DisposeAreaData(&area);
    EXPECT_EQ(area.outline, nullptr);
    EXPECT_EQ(area.holes, nullptr);
    EXPECT_EQ(area.lastHoleIndex, -1);
    DisposeAreaData(&area); // a second call finds nothing to free
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
