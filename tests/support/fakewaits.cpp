#include "support/fakewaits.h"

FakeWaits::FakeWaits(FakeClock &clock) : m_clock(clock) { installWaits(this); }
FakeWaits::~FakeWaits() { installWaits(nullptr); }
