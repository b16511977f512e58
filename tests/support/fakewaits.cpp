#include "support/fakewaits.h"

#include "support/fakeclock.h"

FakeWaits::FakeWaits(FakeClock &clock) : m_clock(clock) { installWaits(this); }
FakeWaits::~FakeWaits() { installWaits(nullptr); }

void FakeWaits::runPendingEvents()
{
    ++m_pumps;
    if (m_hook)
        m_hook();
}

void FakeWaits::sleepMs(int ms)
{
    m_slept += ms;
    m_clock.advanceMs(ms);
}
