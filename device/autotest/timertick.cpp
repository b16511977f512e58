#include "device/autotest/timertick.h"

#include "core/logs/keptentries.h"
#include "core/station/prompts.h"
#include "core/station/stationutil.h"
#include "core/station/stationview.h"
#include "device/autotest/autotestschedule.h"
#include "device/autotest/autoteststate.h"
#include "device/link/portwatch.h"
#include "device/tasks/taskrunner.h"

void timerTick()
{
    // Nobody need be at the screen for timed work: a box it raises must not
    // hold the schedule until somebody clicks OK.
    UnattendedScope unattended;
    appView().setDataIndicator(0);
    showClock();

    // A port that comes back in a test's minute is there when the schedule looks.
    keepPortOpen();
    pruefeZeitplan();
    pruefeAbfrage();

    // Both running states are asked on every tick, the duration test first:
    // each read may clear a state left behind by an earlier run.
    const bool dauertest = dauertestIsRunning();
    const bool pruefung = pruefungIsRunning();
    // A function test whose stale state could not be cleared was not started
    // here: nothing counts down for it.
    const bool counting = dauertest || (pruefung && autoTestRun().testGestartet[kArtPruefung]);
    if (!counting && !taskLaeuft())
        setStatusText(QStringLiteral("Warte auf geplantes Ereignis . . ."));

    checkTasks();
    keptLogEntries().tryAgainWhenDue();
}

void startSchedules()
{
    for (MinuteWatch &watch : autoTestRun().scheduleMinutes)
        watch.start();
    startTaskRunner();
}
