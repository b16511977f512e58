#include "core/platform/clock.h"

#include <QElapsedTimer>

#include <algorithm>

QDateTime SystemClock::localNow() const { return QDateTime::currentDateTime(); }
QDateTime SystemClock::utcNow() const { return QDateTime::currentDateTimeUtc(); }

qint64 SystemClock::monotonicMs() const
{
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    return timer.elapsed();
}

namespace {
SystemClock systemClock;
Clock *installed = &systemClock;
} // namespace

Clock &appClock() { return *installed; }
void installClock(Clock *clock) { installed = clock ? clock : &systemClock; }

void Stopwatch::start()
{
    m_lastMs = appClock().monotonicMs();
    m_elapsedMs = 0;
}

qint64 Stopwatch::elapsedMs()
{
    const qint64 now = appClock().monotonicMs();
    m_elapsedMs += std::max<qint64>(0, now - m_lastMs.value_or(now));
    m_lastMs = now;
    return m_elapsedMs;
}
