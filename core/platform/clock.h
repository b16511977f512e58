#pragma once
// The station's one source of time. Tests install a fake clock they set and advance.
#include <QDateTime>
#include <optional>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime localNow() const = 0;
    virtual QDateTime utcNow() const = 0;
    // Milliseconds from an arbitrary start; only differences mean anything.
    virtual qint64 monotonicMs() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime localNow() const override;
    QDateTime utcNow() const override;
    qint64 monotonicMs() const override;
};

Clock &appClock();
// Installs a clock for the whole program; nullptr goes back to the system clock.
void installClock(Clock *clock);

// Real time since start(), on the monotonic clock, so that no change of the
// wall clock shortens or lengthens it. It only counts forward: a monotonic
// clock never steps back, but one faked to move a machine's time may, and
// that pauses the count instead of turning it back.
class Stopwatch
{
public:
    void start();
    // 0 before the first start.
    qint64 elapsedMs();

private:
    std::optional<qint64> m_lastMs;
    qint64 m_elapsedMs = 0;
};
