#include "core/juldat.h"

#include "support/fakeclock.h"
#include "support/qtprint.h"

#include <functional>
#include <gtest/gtest.h>

namespace {
int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const NumberedError &e) {
        return e.number();
    }
    return 0;
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
        EXPECT_EQ(errorOf([&] { makeJulDat(c.d, c.mo, c.y, c.h, c.mi, c.s, c.ms); }), c.error)
            << c.d << "." << c.mo << "." << c.y << " " << c.h << ":" << c.mi << " ms " << c.ms;
}

TEST(JulDat, IntervalsCountBoundariesCrossed)
{
    const JulDat lastMs = makeJulDat(31, 12, 2010, 23, 59, 59, 999);
    const JulDat newYear = makeJulDat(1, 1, 2011, 0, 0, 0, 0);
    for (int unit = kIntervalDays; unit <= kIntervalMilliseconds; ++unit)
        EXPECT_EQ(dateInterval(unit, lastMs, newYear), 1) << unit;
    EXPECT_EQ(dateInterval(kIntervalMilliseconds, newYear, lastMs), -1);
    EXPECT_EQ(dateInterval(6, lastMs, newYear), 0);
    EXPECT_EQ(dateInterval(kIntervalHours, makeJulDat(1, 1, 2011, 10, 59, 59, 999),
                           makeJulDat(2, 1, 2011, 11, 0, 0, 0)), 25);
    EXPECT_EQ(getJulDatSecond(makeJulDat(7, 3, 2011, 14, 5, 9, 42)), 9);
}

TEST(JulDat, IntervalChecksTheFirstStampFirst)
{
    const JulDat good = makeJulDat(1, 1, 2011, 0, 0, 0, 0);
    const JulDat badMs = (JulDat(2455563) << 32) | 86400000;
    EXPECT_EQ(errorOf([&] { dateInterval(kIntervalMilliseconds, badMs, 0); }), kJulDatFirstInvalid);
    EXPECT_EQ(errorOf([&] { dateInterval(kIntervalMilliseconds, good, 0); }), kJulDatSecondInvalid);
    try {
        dateInterval(kIntervalMilliseconds, 0, good);
        ADD_FAILURE() << "an invalid stamp was measured";
    } catch (const NumberedError &e) {
        EXPECT_EQ(e.source(), QStringLiteral("[DateInterval - trovel]"));
        EXPECT_EQ(e.description(), QStringLiteral("Das erste Datum ist ungültig!"));
    }
}

TEST(JulDat, NowIsTakenInUtc)
{
    // The fake clock runs one hour ahead of UTC.
    FakeClock clock(QDateTime(QDate(2011, 3, 7), QTime(0, 30, 0, 250)));
    EXPECT_EQ(getNowJulDat(), makeJulDat(6, 3, 2011, 23, 30, 0, 250));
}
