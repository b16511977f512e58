#include "core/platform/clock.h"

#include <QElapsedTimer>

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
