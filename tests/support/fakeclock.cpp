#include "support/fakeclock.h"

FakeClock::FakeClock(const QDateTime &localStart) : m_local(localStart) { installClock(this); }
FakeClock::~FakeClock() { installClock(nullptr); }

// The fake's local time is taken to be UTC+1, the installations' winter time.
QDateTime FakeClock::utcNow() const { return QDateTime(m_local.date(), m_local.time(), Qt::UTC).addSecs(-3600); }
