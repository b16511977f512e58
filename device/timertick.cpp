#include "device/timertick.h"

#include "core/clock.h"
#include "core/nametables.h"
#include "core/stationutil.h"
#include "core/stationview.h"
#include "device/autotestschedule.h"
#include "device/autoteststate.h"
#include "device/taskrunner.h"

void timerTick()
{
    StationView &view = appView();
    view.setDataIndicator(0);

    const QDateTime now = appClock().localNow();
    view.setStatusPanel(4, weekDayNames().at(now.date().dayOfWeek() - 1) + u' '
                               + now.toString(QStringLiteral("dd.MM.yyyy HH:mm")));

    pruefeZeitplan();
    pruefeAbfrage();

    // Both running states are asked on every tick, the duration test first:
    // each read may clear a state left behind by an earlier run.
    const bool dauertest = dauertestIsRunning();
    const bool pruefung = pruefungIsRunning();
    if (!dauertest && !pruefung && !taskLaeuft())
        setStatusText(QStringLiteral("Warte auf geplantes Ereignis . . ."));

    checkTasks();
}
