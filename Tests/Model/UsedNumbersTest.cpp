#include "Model/UsedNumbers.h"

#include "DocumentFixture.h"

#include <cstring>

using UsedNumbersTest = DocumentTest;

TEST_F(UsedNumbersTest, LayersAndGroupsOfEveryKindAreCountedAndStrayValuesSkipped) {
    struct Case {
        SInt16 layer, group;
    };
    // Layers from a file may lie outside 0..1023 and group numbers outside 1..32000: skipped.
    const Case cases[] = {{0, 1}, {1023, 32000}, {7, 0}, {7, 5}, {-1, -3}, {1024, 32001}, {SInt16(-32768), 32767}};
    for (const Case& c : cases) {
        LineRecord* line = AddLine(doc, 0, 0, 1, 1);
        ASSERT_NE(line, nullptr);
        line->layer = c.layer;
        line->group = c.group;
    }
    ArcRecord* arc = AddArc(doc, 0, 0, 5, 0, 1);
    ASSERT_NE(arc, nullptr);
    arc->layer = 512;
    arc->group = 77;

    LayerVisibilitySet layers;
    std::memset(&layers, 0, sizeof layers);
    SInt32 count = -1;
    CollectUsedLayers(doc, &count, &layers);
    EXPECT_EQ(count, 4); // 0, 7, 512, 1023
    for (SInt16 layer : {0, 7, 512, 1023}) EXPECT_TRUE(IsLayerVisible(&layers, layer)) << layer;
    EXPECT_FALSE(IsLayerVisible(&layers, 1));

    UsedGroupSet groups;
    std::memset(&groups, 0, sizeof groups);
    CollectUsedGroupNumbers(doc, &count, &groups);
    EXPECT_EQ(count, 4); // 1, 5, 77, 32000
    for (SInt32 group : {1, 5, 77, 32000}) EXPECT_TRUE(IsGroupNumberUsed(&groups, group)) << group;
    EXPECT_FALSE(IsGroupNumberUsed(&groups, 0));
    EXPECT_FALSE(IsGroupNumberUsed(&groups, 32001));
}
