#include "core/platform/minutewatch.h"

#include "core/platform/clock.h"
#include "core/platform/oledate.h"

qint64 wallClockMinute(const QDateTime &dt) { return oledate::wallMinute(oledate::wallSeconds(dt)); }
qint64 wallClockMinute(double storedValue) { return oledate::wallMinute(oledate::wallSeconds(storedValue)); }

void MinuteWatch::start()
{
    m_lastMinute = wallClockMinute(appClock().localNow()) - 1;
    m_lastMonotonicMs = appClock().monotonicMs();
}

QList<QDateTime> MinuteWatch::look()
{
    const qint64 minute = wallClockMinute(appClock().localNow());
    const qint64 monotonicNow = appClock().monotonicMs();
    QList<QDateTime> missed;
    if (m_lastMinute) {
        const qint64 gap = minute - *m_lastMinute - 1;
        const qint64 waited = (monotonicNow - m_lastMonotonicMs) / 60000 + 1;
        if (gap > 0 && gap <= waited) {
            for (qint64 m = *m_lastMinute + 1; m < minute; ++m)
                missed << oledate::dateTimeOfWallSeconds(m * 60);
        }
    }
    m_lastMinute = minute;
    m_lastMonotonicMs = monotonicNow;
    return missed;
}
