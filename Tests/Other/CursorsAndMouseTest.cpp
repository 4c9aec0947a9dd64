// The cursor cache of SetCursorById and the colour cursor table.
#include "Platform/AppResources.h"
#include "Other/CursorsAndMouse.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Sets a known starting point: the arrow, with the cache agreeing.
void StartFromArrow() {
    ForgetCursor();
    SetCursorById(kArrowCursorId);
}
} // namespace

TEST(Cursors, RepeatedIdsAreSkippedUntilForgotten) {
    DisposeColorCursors();
    StartFromArrow();
    SInt32 before = CursorChangeCount();
    SetCursorById(kWatchCursorId);
    SetCursorById(kWatchCursorId);
    ShowWatchCursor();
    EXPECT_EQ(CursorChangeCount(), before + 1);
    EXPECT_STREQ(CurrentCursorName(), "CURS 4");
    ForgetCursor();
    ShowWatchCursor();
    EXPECT_EQ(CursorChangeCount(), before + 2);
    SetCursorById(kArrowCursorId);
    EXPECT_STREQ(CurrentCursorName(), "arrow");
}

TEST(Cursors, ColourIdsFallBackToCursorResources) {
    EnsureTestApplication();
    DisposeColorCursors();
    StartFromArrow();
    // Without the colour table, 130 has no cursor resource: the cursor stays, the id is cached.
    SInt32 before = CursorChangeCount();
    SetCursorById(130);
    EXPECT_EQ(CursorChangeCount(), before);
    EXPECT_STREQ(CurrentCursorName(), "arrow");
    SetCursorById(2);
    EXPECT_STREQ(CurrentCursorName(), "CURS 2");

    LoadColorCursors();
    for (int i = 0; i < kColorCursorCount; ++i)
        EXPECT_NE(ColorCursorTable[i], nullptr) << 128 + i;
    SetCursorById(139);
    EXPECT_STREQ(CurrentCursorName(), "crsr 139");
    SetCursorById(154); // past the table and no resource: unchanged
    EXPECT_STREQ(CurrentCursorName(), "crsr 139");
    DisposeColorCursors();
    StartFromArrow();
}
