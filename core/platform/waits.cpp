#include "core/platform/waits.h"

#include "core/station/stationutil.h"

#include <QCoreApplication>
#include <QThread>

void Waits::pumpEvents()
{
    showClock();
    ++m_pumping;
    runPendingEvents();
    --m_pumping;
}

void EventLoopWaits::runPendingEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void EventLoopWaits::sleepMs(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

namespace {
EventLoopWaits realWaits;
Waits *installed = &realWaits;
} // namespace

Waits &appWaits() { return *installed; }
void installWaits(Waits *waits) { installed = waits ? waits : &realWaits; }
