#pragma once
#include "core/platform/clock.h"

// A clock that stands still until a test moves it; installs itself while alive.
class FakeClock : public Clock
{
public:
    explicit FakeClock(const QDateTime &localStart = QDateTime(QDate(2011, 3, 7), QTime(14, 5)));
    ~FakeClock() override;

    QDateTime localNow() const override { return m_local; }
    QDateTime utcNow() const override;
    qint64 monotonicMs() const override { return m_monotonic; }
    void advanceMs(qint64 ms) { m_local = m_local.addMSecs(ms); m_monotonic += ms; }
    void setLocal(const QDateTime &local) { m_local = local; }

private:
    QDateTime m_local;
    qint64 m_monotonic = 1000000;
};
