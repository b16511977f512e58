#include "core/platform/oledate.h"

#include "support/qtprint.h"

#include <gtest/gtest.h>

TEST(OleDate, KnownValuesAndNonsense)
{
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime(QDate(1900, 1, 1), QTime(18, 0))), 2.75);
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_EQ(oledate::toDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    // A value out of a damaged file reads as "never".
    EXPECT_EQ(oledate::toDateTime(std::numeric_limits<double>::quiet_NaN()), oledate::zero());
    EXPECT_EQ(oledate::toDateTime(1e300), oledate::zero());
}

TEST(OleDate, ReadBackRoundsToTheNearestSecond)
{
    const QDateTime t(QDate(2012, 5, 3), QTime(14, 7, 0));
    for (int ms : {0, 499, -400})
        EXPECT_EQ(oledate::toDateTime(oledate::fromDateTime(t.addMSecs(ms))), t) << ms;
    // 23:59:59.7 rounds into the next day.
    const QDateTime late(QDate(2012, 5, 3), QTime(23, 59, 59, 700));
    EXPECT_EQ(oledate::toDateTime(oledate::fromDateTime(late)), QDateTime(QDate(2012, 5, 4), QTime(0, 0)));
}
