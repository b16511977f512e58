#pragma once
// The local zone of the installations while alive: Europe/Berlin, whose clocks
// go forward on the last Sunday of March and back on the last of October.
#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>
#include <ctime>

class BerlinTime
{
public:
    BerlinTime() : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    ~BerlinTime()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }
    BerlinTime(const BerlinTime &) = delete;
    BerlinTime &operator=(const BerlinTime &) = delete;

    // A reading of the Berlin clock, told apart on the night it repeats an hour.
    static QDateTime at(QDate date, QTime time, bool summerTime)
    {
        return QDateTime(date, time, Qt::UTC).addSecs(summerTime ? -7200 : -3600).toLocalTime();
    }

private:
    bool m_had;
    QByteArray m_old;
};
