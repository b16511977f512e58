#pragma once
// The station's one source of time. Tests install a fake clock they set and advance.
#include <QDateTime>

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
