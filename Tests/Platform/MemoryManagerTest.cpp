// Handles: allocation, sizes, growth keeping the data, copies, and failures as result codes.
#include "Platform/MemoryManager.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(MemoryManager, HandlesKeepTheirDataAcrossGrowthAndCopies) {
    Handle h = NewHandleClear(4);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 4);
    EXPECT_EQ(std::memcmp(*h, "\0\0\0\0", 4), 0);
    std::memcpy(*h, "abcd", 4);
    SetHandleSize(h, 100000);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(GetHandleSize(h), 100000);
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
    SetHandleSize(h, 2);
    Handle copy = h;
    ASSERT_EQ(HandToHand(&copy), noErr);
    EXPECT_NE(copy, h);
    EXPECT_EQ(GetHandleSize(copy), 2);
    EXPECT_EQ(std::memcmp(*copy, "ab", 2), 0);
    DisposeHandle(h);
    DisposeHandle(copy);

    Handle empty = NewHandle(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_NE(*empty, nullptr);
    DisposeHandle(empty);
}

TEST(MemoryManager, FailuresAreResultCodes) {
    EXPECT_EQ(NewHandle(-1), nullptr);
    EXPECT_EQ(MemError(), paramErr);
    EXPECT_EQ(GetHandleSize(nullptr), 0);
    EXPECT_EQ(MemError(), nilHandleErr);
    Handle huge = NewHandle(Size(1) << 62);
    EXPECT_EQ(huge, nullptr);
    EXPECT_EQ(MemError(), memFullErr);
    DisposeHandle(nullptr);
}
