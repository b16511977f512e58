#include "core/platform/minutewatch.h"

#include "core/platform/clock.h"

qint64 wallClockMinute(const QDateTime &dt)
{
    return dt.date().toJulianDay() * 1440 + dt.time().hour() * 60 + dt.time().minute();
}

namespace {

QDateTime floorMinute(const QDateTime &dt)
{
    return QDateTime(dt.date(), QTime(dt.time().hour(), dt.time().minute()));
}

} // namespace

QList<QDateTime> MinuteWatch::look()
{
    const QDateTime minute = floorMinute(appClock().localNow());
    const qint64 monotonicNow = appClock().monotonicMs();
    QList<QDateTime> missed;
    if (m_lastMinute.isValid()) {
        const qint64 gap = wallClockMinute(minute) - wallClockMinute(m_lastMinute) - 1;
        const qint64 waited = (monotonicNow - m_lastMonotonicMs) / 60000 + 1;
        if (gap > 0 && gap <= waited) {
            for (qint64 i = 1; i <= gap; ++i)
                missed << m_lastMinute.addSecs(60 * i);
        }
    }
    m_lastMinute = minute;
    m_lastMonotonicMs = monotonicNow;
    return missed;
}
