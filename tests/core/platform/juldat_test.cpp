#include "core/platform/juldat.h"

#include "support/fakeclock.h"
#include "support/qtprint.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
// The error raised, or one of number 0 when none was.
NumberedError errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const NumberedError &e) {
        return e;
    }
    return NumberedError(0, {}, {});
}
} // namespace

TEST(JulDat, DayNumbersAcrossTheCalendarReform)
{
    EXPECT_EQ(julianDayNumber(1, 1, 2000), 2451545);
    EXPECT_EQ(julianDayNumber(15, 10, 1582), 2299161);
    EXPECT_EQ(julianDayNumber(4, 10, 1582), 2299160);
    EXPECT_EQ(julianDayNumber(1, 1, -4713), 0);  // 4713 BC, there is no year 0
}

TEST(JulDat, RefusesWhatDoesNotExistBeforeLookingAtMilliseconds)
{
    const struct { int d, mo, y, h, mi, s, ms, error; } cases[] = {
        {29, 2, 2011, 0, 0, 0, 0, kJulDatDateInvalid}, {29, 2, 2012, 0, 0, 0, 0, 0},
        {29, 2, 1900, 0, 0, 0, 0, kJulDatDateInvalid}, {1, 1, 2011, 0, 0, 0, 1000, kJulDatMsOutOfRange},
        {31, 4, 2011, 0, 0, 0, 5000, kJulDatDateInvalid}, {1, 13, 2011, 0, 0, 0, 0, kJulDatDateInvalid},
        {1, 1, 2011, 24, 0, 0, 0, kJulDatDateInvalid}, {1, 1, 2011, 0, 60, 0, 0, kJulDatDateInvalid},
        {1, 1, 99, 0, 0, 0, 0, kJulDatDateInvalid},    {31, 12, 9999, 23, 59, 59, 999, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorOf([&] { makeJulDat(c.d, c.mo, c.y, c.h, c.mi, c.s, c.ms); }).number(), c.error)
            << c.d << "." << c.mo << "." << c.y << " " << c.h << ":" << c.mi << " ms " << c.ms;
}

TEST(JulDat, IntervalsCountBoundariesCrossedAndCheckTheFirstStampFirst)
{
    const JulDat lastMs = makeJulDat(31, 12, 2010, 23, 59, 59, 999);
    const JulDat newYear = makeJulDat(1, 1, 2011, 0, 0, 0, 0);
    for (int unit = kIntervalDays; unit <= kIntervalMilliseconds; ++unit)
        EXPECT_EQ(dateInterval(unit, lastMs, newYear), 1) << unit;
    EXPECT_EQ(dateInterval(kIntervalMilliseconds, newYear, lastMs), -1);
    EXPECT_EQ(dateInterval(6, lastMs, newYear), 0);
    EXPECT_EQ(dateInterval(kIntervalHours, makeJulDat(1, 1, 2011, 10, 59, 59, 999),
                           makeJulDat(2, 1, 2011, 11, 0, 0, 0)), 25);

    const JulDat badMs = (JulDat(2455563) << 32) | 86400000;
    EXPECT_EQ(errorOf([&] { dateInterval(kIntervalMilliseconds, badMs, 0); }).number(), kJulDatFirstInvalid);
    EXPECT_EQ(errorOf([&] { dateInterval(kIntervalMilliseconds, newYear, 0); }).number(), kJulDatSecondInvalid);
    const NumberedError e = errorOf([&] { dateInterval(kIntervalMilliseconds, 0, newYear); });
    EXPECT_EQ(e.source(), QStringLiteral("[DateInterval - trovel]"));
    EXPECT_EQ(e.description(), QStringLiteral("Das erste Datum ist ungültig!"));
}

TEST(JulDat, NowIsTakenInUtc)
{
    // The fake clock runs one hour ahead of UTC.
    FakeClock clock(QDateTime(QDate(2011, 3, 7), QTime(0, 30, 0, 250)));
    EXPECT_EQ(getNowJulDat(), makeJulDat(6, 3, 2011, 23, 30, 0, 250));
}
