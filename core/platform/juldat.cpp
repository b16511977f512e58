#include "core/platform/juldat.h"

#include "core/platform/clock.h"

#include <QDate>

namespace {

const QString kMakeSource = QStringLiteral("[MakeJulDat - trovel]");
const QString kIntervalSource = QStringLiteral("[DateInterval - trovel]");
const QString kNowSource = QStringLiteral("[GetNowJulDat] - Trovel");

constexpr qint64 kMsPerDay = 86400000;

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// A date and time that exists exactly as given, nothing carried over into the
// next minute, day or month. Years below 100 are refused like two-digit years.
bool existsAsGiven(int day, int month, int year, int hour, int minute, int second)
{
    if (year < 100 || year > 9999)
        return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    return QDate::isValid(year, month, day);
}

qint64 countIn(int unit, JulDat jd)
{
    const JulDatParts p = splitJulDat(jd);
    const qint64 day = p.dayNumber;
    const qint64 hour = getJulDatHour(jd);
    const qint64 minute = getJulDatMinute(jd);
    const qint64 second = getJulDatSecond(jd);
    switch (unit) {
    case kIntervalDays:
        return day;
    case kIntervalHours:
        return day * 24 + hour;
    case kIntervalMinutes:
        return day * 1440 + hour * 60 + minute;
    case kIntervalSeconds:
        return day * 86400 + hour * 3600 + minute * 60 + second;
    case kIntervalMilliseconds:
        return day * kMsPerDay + p.msOfDay;
    default:
        return 0;
    }
}

} // namespace

JulDatParts splitJulDat(JulDat jd)
{
    const auto bits = static_cast<quint64>(jd);
    return {static_cast<qint32>(static_cast<quint32>(bits & 0xFFFFFFFFu)),
            static_cast<qint32>(static_cast<quint32>(bits >> 32))};
}

bool isValidJulDat(JulDat jd)
{
    const JulDatParts p = splitJulDat(jd);
    return p.msOfDay >= 0 && p.msOfDay < kMsPerDay && p.dayNumber >= 1;
}

int getJulDatHour(JulDat jd) { return splitJulDat(jd).msOfDay / 3600000; }
int getJulDatMinute(JulDat jd) { return splitJulDat(jd).msOfDay / 60000 % 60; }
int getJulDatSecond(JulDat jd) { return splitJulDat(jd).msOfDay / 1000 % 60; }
int getJulDatMillisecond(JulDat jd) { return splitJulDat(jd).msOfDay % 1000; }

qint32 julianDayNumber(int day, int month, int year)
{
    qint64 jy = year < 0 ? qint64(year) + 1 : year;
    qint64 jm;
    if (month <= 2) {
        jy -= 1;
        jm = qint64(month) + 13;
    } else {
        jm = qint64(month) + 1;
    }
    qint64 jul = floorDiv(1461 * jy, 4) + floorDiv(153 * jm, 5) + day + 1720995;
    if (day + 31 * (qint64(month) + 12 * qint64(year)) >= 588829) {
        const qint64 ja = floorDiv(jy, 100);
        jul += 2 - ja + floorDiv(ja, 4);
    }
    return static_cast<qint32>(jul);
}

JulDat makeJulDat(int day, int month, int year, int hour, int minute, int second, int ms)
{
    if (!existsAsGiven(day, month, year, hour, minute, second))
        throw NumberedError(kJulDatDateInvalid, kMakeSource,
                            QStringLiteral("Der Datumswert ist ungültig"));
    if (ms < 0 || ms > 999)
        throw NumberedError(kJulDatMsOutOfRange, kMakeSource,
                            QStringLiteral("Millisekunden außerhalb des Gültigkeitsbereiches"));
    const qint64 dayNumber = julianDayNumber(day, month, year);
    const qint64 msOfDay = hour * 3600000LL + minute * 60000LL + second * 1000LL + ms;
    return static_cast<JulDat>((static_cast<quint64>(dayNumber) << 32) | static_cast<quint64>(msOfDay));
}

JulDat getNowJulDat()
{
    const QDateTime now = appClock().utcNow();
    const QDate d = now.date();
    const QTime t = now.time();
    try {
        return makeJulDat(d.day(), d.month(), d.year(), t.hour(), t.minute(), t.second(), t.msec());
    } catch (const NumberedError &) {
        throw NumberedError(kJulDatNowFailed, kNowSource,
                            QStringLiteral("Fehler beim ermitteln des aktuellen Datums.\r\n"
                                           "Wert ist ungültig!"));
    }
}

qint64 dateInterval(int unit, JulDat jd1, JulDat jd2)
{
    if (!isValidJulDat(jd1))
        throw NumberedError(kJulDatFirstInvalid, kIntervalSource,
                            QStringLiteral("Das erste Datum ist ungültig!"));
    if (!isValidJulDat(jd2))
        throw NumberedError(kJulDatSecondInvalid, kIntervalSource,
                            QStringLiteral("Das zweite Datum ist ungültig!"));
    return countIn(unit, jd2) - countIn(unit, jd1);
}
