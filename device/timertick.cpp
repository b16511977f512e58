#include "device/timertick.h"

#include "core/clock.h"
#include "core/nametables.h"
#include "core/stationutil.h"
#include "core/stationview.h"

void timerTick()
{
    StationView &view = appView();
    view.setDataIndicator(0);

    const QDateTime now = appClock().localNow();
    view.setStatusPanel(4, weekDayNames().at(now.date().dayOfWeek() - 1) + u' '
                               + now.toString(QStringLiteral("dd.MM.yyyy HH:mm")));

    // The automatic test's schedule check and poll trigger run here, in that order.

    // The idle text only while neither test kind nor a task is running; their
    // running states are asked here, the duration test first.
    setStatusText(QStringLiteral("Warte auf geplantes Ereignis . . ."));

    // The task scheduler runs last.
}
