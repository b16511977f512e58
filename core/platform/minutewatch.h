#pragma once
// Which minutes of the wall clock a schedule did not get to see. The tick
// cannot run while a poll, the end of a test or a box of its own holds it, and
// a schedule defers while the bus is taken; the minutes that passed meanwhile
// are looked at afterwards, so a slot in them is late rather than lost.
#include <QDateTime>
#include <QList>
#include <optional>

// The minute of the wall clock as one running number: the difference of two is
// the count of minute boundaries between them as the operator reads the clock.
// A stored date-time counts the same way.
qint64 wallClockMinute(const QDateTime &dt);
qint64 wallClockMinute(double storedValue);

class MinuteWatch
{
public:
    // From now on the current minute counts as not looked at yet, so a first
    // look that comes late (the first tick held by a test it started) makes
    // up the minutes since.
    void start();
    // The minutes after the one last looked at and before the current one, then
    // the current one counts as looked at. Only a wait of this run counts: when
    // the wall clock moved further than the monotonic clock (the clock was set,
    // the machine slept, the clocks went forward), nothing is made up.
    QList<QDateTime> look();

private:
    std::optional<qint64> m_lastMinute;
    qint64 m_lastMonotonicMs = 0;
};
