#pragma once
// Timestamps for measuring receive intervals in whole milliseconds: the Julian
// Day Number in the high 32 bits, the milliseconds of the (UTC) day in the low
// 32 bits. Ordered like time; 0 means no stamp taken yet.
#include "core/platform/numberederror.h"

#include <QtGlobal>

using JulDat = qint64;

struct JulDatParts
{
    qint32 msOfDay = 0;
    qint32 dayNumber = 0;
};

// Error numbers of the timestamps.
constexpr int kJulDatMsOutOfRange = 39106;
constexpr int kJulDatFirstInvalid = 39110;
constexpr int kJulDatSecondInvalid = 39111;
constexpr int kJulDatNowFailed = 39201;
constexpr int kJulDatDateInvalid = 39202;

// Units of dateInterval.
constexpr int kIntervalDays = 1;
constexpr int kIntervalHours = 2;
constexpr int kIntervalMinutes = 3;
constexpr int kIntervalSeconds = 4;
constexpr int kIntervalMilliseconds = 5;

// Now by the clock in UTC. Throws NumberedError 39201 when that fails.
JulDat getNowJulDat();
// Throws NumberedError 39202 for a date or time that does not exist (years
// 100 to 9999 only), then 39106 for ms outside 0 to 999.
JulDat makeJulDat(int day, int month, int year, int hour, int minute, int second, int ms);
bool isValidJulDat(JulDat jd);
JulDatParts splitJulDat(JulDat jd);

int getJulDatHour(JulDat jd);
int getJulDatMinute(JulDat jd);
int getJulDatSecond(JulDat jd);
int getJulDatMillisecond(JulDat jd);

// jd2 - jd1 counted in whole units as boundaries crossed (an unknown unit gives
// 0). Throws NumberedError 39110 for an invalid jd1, then 39111 for jd2.
qint64 dateInterval(int unit, JulDat jd1, JulDat jd2);
// Julian calendar before 15 October 1582, Gregorian from then on.
qint32 julianDayNumber(int day, int month, int year);
