#pragma once
#include "core/platform/waits.h"
#include "support/fakeclock.h"

#include <functional>

// Sleeps advance the fake clock instead of the wall clock; each pump runs the
// hook a test gives it (a simulated bus delivering its bytes, say).
class FakeWaits : public Waits
{
public:
    explicit FakeWaits(FakeClock &clock);
    ~FakeWaits() override;

    void sleepMs(int ms) override { m_slept += ms; m_clock.advanceMs(ms); }
    void setPumpHook(std::function<void()> hook) { m_hook = std::move(hook); }
    const std::function<void()> &pumpHook() const { return m_hook; }
    qint64 sleptMs() const { return m_slept; }
    int pumps() const { return m_pumps; }

protected:
    void runPendingEvents() override
    {
        ++m_pumps;
        if (m_hook)
            m_hook();
    }

private:
    FakeClock &m_clock;
    std::function<void()> m_hook;
    qint64 m_slept = 0;
    int m_pumps = 0;
};
