#pragma once
#include "core/platform/clock.h"

// A clock that stands still until a test moves it. Installs itself while alive.
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &localStart = QDateTime(QDate(2011, 3, 7), QTime(14, 5)));
    ~FakeClock() override;

    QDateTime localNow() const override { return m_local; }
    QDateTime utcNow() const override;
    qint64 monotonicMs() const override { return m_monotonic; }

    void advanceMs(qint64 ms);
    void setLocal(const QDateTime &local);

private:
    QDateTime m_local;
    qint64 m_monotonic = 1000000;
};
