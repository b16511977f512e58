#pragma once
// The installations' zone while alive: Europe/Berlin, whose clocks go forward
// on the last Sunday of March and back on the last of October.
#include <QDateTime>
#include <ctime>

struct BerlinTime
{
    const QByteArray before = qgetenv("TZ");
    BerlinTime() { qputenv("TZ", "Europe/Berlin"), tzset(); }
    ~BerlinTime() { before.isNull() ? qunsetenv("TZ") : qputenv("TZ", before), tzset(); }
    // A reading of the Berlin clock, told apart on the night it repeats an hour.
    static QDateTime at(QDate date, QTime time, bool summerTime)
    {
        return QDateTime(date, time, Qt::UTC).addSecs(summerTime ? -7200 : -3600).toLocalTime();
    }
};
