#include "core/platform/indexbitmap.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(IndexBitmap, HandsOutTheLowestFreeNumberUpToTheLastBit)
{
    IndexBitmap set(100, '\x5A');
    clearIndexBitmap(set);
    EXPECT_EQ(getFreeIndex(set), 1);
    for (int i = 1; i <= 9; ++i)
        ASSERT_TRUE(toggleIndexBit(i, set));
    EXPECT_EQ(set.left(3), QByteArray("\xFF\x01\x00", 3));
    EXPECT_EQ(getFreeIndex(set), 10);
    toggleIndexBit(5, set);
    EXPECT_FALSE(isIndexUsed(5, set));
    EXPECT_EQ(getFreeIndex(set), 5);

    IndexBitmap full(100, '\xFF');
    EXPECT_EQ(getFreeIndex(full), -1);
    full[99] = '\x7F';
    EXPECT_EQ(getFreeIndex(full), 800);
    EXPECT_FALSE(isIndexUsed(800, full));
    EXPECT_TRUE(isIndexUsed(799, full));

    // Numbers outside the set change nothing.
    for (int i : {0, -1, 801})
        EXPECT_FALSE(toggleIndexBit(i, full) || isIndexUsed(i, full)) << i;
    EXPECT_EQ(full, QByteArray(99, '\xFF') + '\x7F');
}
