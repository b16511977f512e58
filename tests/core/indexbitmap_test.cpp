#include "core/indexbitmap.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(IndexBitmap, HandsOutTheLowestFreeNumber)
{
    IndexBitmap set(100, '\x5A');
    clearIndexBitmap(set);
    EXPECT_EQ(set, QByteArray(100, '\0'));
    EXPECT_EQ(getFreeIndex(set), 1);
    for (int i = 1; i <= 9; ++i)
        ASSERT_TRUE(toggleIndexBit(i, set));
    EXPECT_EQ(set.left(3), QByteArray("\xFF\x01\x00", 3));
    EXPECT_EQ(getFreeIndex(set), 10);
    toggleIndexBit(5, set);
    EXPECT_FALSE(isIndexUsed(5, set));
    EXPECT_TRUE(isIndexUsed(4, set));
    EXPECT_EQ(getFreeIndex(set), 5);
    toggleIndexBit(5, set);
    EXPECT_EQ(set.left(2), QByteArray("\xFF\x01", 2));
}

TEST(IndexBitmap, EdgesOfTheSet)
{
    IndexBitmap set(100, '\0');
    set[99] = '\x80';
    EXPECT_TRUE(isIndexUsed(800, set));
    EXPECT_FALSE(isIndexUsed(799, set));

    IndexBitmap full(100, '\xFF');
    EXPECT_EQ(getFreeIndex(full), -1);
    full[99] = '\x7F';
    EXPECT_EQ(getFreeIndex(full), 800);
    EXPECT_EQ(getFreeIndex(IndexBitmap()), -1);

    // Numbers outside the set change nothing.
    for (int i : {0, -1, 801}) {
        EXPECT_FALSE(toggleIndexBit(i, set)) << i;
        EXPECT_FALSE(isIndexUsed(i, full)) << i;
    }
    EXPECT_EQ(set.size(), 100);
    EXPECT_EQ(set.count('\0'), 99);
}
