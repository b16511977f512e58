#include "device/tasks/taskrunner.h"

#include "core/logs/generallog.h"
#include "core/platform/clock.h"
#include "core/platform/minutewatch.h"
#include "core/platform/oledate.h"
#include "core/platform/textutil.h"
#include "core/platform/visiblecontrols.h"
#include "core/platform/waits.h"
#include "core/registry/unitaddress.h"
#include "core/station/stationutil.h"
#include "core/station/stoprequest.h"
#include "device/autotest/autoteststate.h"
#include "device/autotest/timertick.h"
#include "device/link/busclaim.h"
#include "device/link/comsettings.h"
#include "device/link/seriallink.h"
#include "device/tasks/tasktable.h"

namespace {

struct TaskRunnerState
{
    // A task is being executed.
    bool taskLaeuft = false;
    // The minutes the schedule has looked at.
    MinuteWatch minutes;
};

TaskRunnerState runner;

// The description as the task's log lines and status texts name it: a line
// break the operator pasted into it must not start a log entry of its own.
QString trimmedDescription(const TaskRecord &rec) { return visibleControls(trimNull(rec.beschreibung).trimmed()); }

bool isDueAt(const TaskRecord &t, const QDateTime &at)
{
    if (!t.belegt || !t.aktiv)
        return false;
    if (!t.monate[at.date().month() - 1] || !t.wochentage[at.date().dayOfWeek() - 1])
        return false;
    if (taskTime(t).toString(QStringLiteral("HH:mm")) != at.time().toString(QStringLiteral("HH:mm")))
        return false;
    return wallClockMinute(at) > wallClockMinute(t.sperreBis);
}

// The reading of the wall clock one minute after now. Counted in readings, not
// in real time: on the night the clocks go back, 02:59 summer time plus sixty
// real seconds reads 02:00, which would leave the task due on every tick of
// its minute. A reading the clocks skip (02:00 on the night they go forward)
// is a lock like any other.
double lockUntilNextMinute()
{
    return oledate::fromWallSeconds(oledate::wallSeconds(appClock().localNow()) + 60);
}

// One pass over the table for the minute of `at`; `at` empty means now, read
// again for every slot since a task that runs lets the clock go on.
void runDueTasks(const QDateTime &at)
{
    for (int slot = 1; slot <= kMaxTasks; ++slot) {
        const QDateTime when = at.isValid() ? at : appClock().localNow();
        TaskRecord &t = tasks().at(slot);
        if (!isDueAt(t, when))
            continue;
        t.sperreBis = lockUntilNextMinute();
        if (runner.taskLaeuft) {
            logAllgemein(QStringLiteral("Task '") + trimmedDescription(t)
                         + QStringLiteral("' konnte nicht gestartet werden, weil ein anderer Task "
                                          "gerade ausgeführt wird!"));
            continue;
        }
        runner.taskLaeuft = true;
        executeTask(t.taskId);
        runner.taskLaeuft = false;
    }
}

// Both states are read, each may clear one left behind by an earlier run.
bool anyTestRunning()
{
    const bool pruefung = pruefungIsRunning();
    const bool dauertest = dauertestIsRunning();
    return pruefung || dauertest;
}

// A plain sleep, in slices short enough that a stop request ends the task
// before its next frame instead of after its last.
void pauseAfterSend()
{
    constexpr int kPauseMs = 250;
    constexpr int kSliceMs = 50;
    for (int slept = 0; slept < kPauseMs && !stopRequested(); slept += kSliceMs)
        appWaits().sleepMs(kSliceMs);
}

// The task holds the bus only for the frames of one target; while it pauses
// for a test, the operator may query a unit. No event runs between the two
// sends, and the tick starts no task while an operator's request owns the
// bus, so the claim is never refused here. False once a frame cannot go out.
bool sendTwice(const QString &frame)
{
    BusClaim claim(BusUser::Background);
    for (int i = 0; i < 2 && !stopRequested(); ++i) {
        if (!serialLink().sendFrame(frame))
            return false;
        pauseAfterSend();
    }
    return true;
}

} // namespace

void startTaskRunner()
{
    runner = TaskRunnerState{};
    runner.minutes.start();
}
bool taskLaeuft() { return runner.taskLaeuft; }

void checkTasks()
{
    // Once the station is told to end no task starts.
    if (stopRequested())
        return;
    // A foreground request owns the bus; the minutes are looked at once it is free.
    if (busOwner() == BusUser::Foreground)
        return;
    for (const QDateTime &m : runner.minutes.look())
        runDueTasks(m);
    runDueTasks(QDateTime());
}

void executeTask(const QString &taskId)
{
    const int slot = findTaskIndex(taskId);
    if (slot < 0)
        return;
    // The task as it was when it started: an edit or a removal during one of
    // its pauses must not change what it sends.
    const TaskRecord task = tasks().at(slot);
    const QString d = trimmedDescription(task);
    waitWhileAutoTestRuns(d);
    logAllgemein(QStringLiteral("Geplanter Task '") + d + QStringLiteral("' wird gestartet!"));
    setStatusText(QStringLiteral("Starte Task '") + d + u'\'');

    const QString c = aktionsBefehl(task.aktion);
    // Once a frame cannot go out the task stops: the units it did not reach
    // must not be logged as switched, and a port back later does not make it up.
    bool sent = true;
    if (c.isEmpty()) {
        logAllgemein(QStringLiteral("Geplanter Task '") + d + QStringLiteral("': Die Aktion '")
                     + (aktionsName(task.aktion).isEmpty() ? QString::number(task.aktion)
                                                           : aktionsName(task.aktion))
                     + QStringLiteral("' hat keinen Befehl, es wird nichts gesendet!"));
    } else if (task.alleEinheiten) {
        waitWhileAutoTestRuns(d);
        sent = sendTwice(QStringLiteral("\nALL") + c);
    } else {
        for (int n = 1; n <= 999 && sent && !stopRequested(); ++n) {
            waitWhileAutoTestRuns(d);
            if (n < 100 && task.gruppen[n])
                sent = sendTwice(QStringLiteral("\nG") + formatTwoDigits(n) + c);
            if (sent && task.adressen[n])
                sent = sendTwice(u'\n' + formatUnitAddress(n) + c);
        }
    }
    if (!sent)
        logAllgemein(QStringLiteral("Geplanter Task '") + d
                     + QStringLiteral("' wurde nicht ausgeführt, weil ") + portNotOpen() + u'!');
    else if (stopRequested())
        logAllgemein(QStringLiteral("Geplanter Task '") + d
                     + QStringLiteral("' wurde abgebrochen, weil das Programm beendet wird!"));
    else
        logAllgemein(QStringLiteral("Geplanter Task '") + d + QStringLiteral("' wurde ausgeführt!"));
    setStatusText(QStringLiteral("Task '") + d + QStringLiteral("' beendet!"));
}

void waitWhileAutoTestRuns(const QString &beschreibung)
{
    timerTick();
    if (anyTestRunning()) {
        logAllgemein(QStringLiteral("Task '") + beschreibung
                     + QStringLiteral("' wurde ausgeführt während die AutoPrüfung lief und wird angehalten!"));
        do {
            appWaits().pumpEvents();
            appWaits().sleepMs(200);
            timerTick();
        } while (anyTestRunning());
        logAllgemein(QStringLiteral("Task '") + beschreibung + QStringLiteral("' wird jetzt fortgesetzt!"));
    } else {
        setStatusText(QStringLiteral("Task '") + beschreibung + QStringLiteral("' aktiv"));
    }
}
