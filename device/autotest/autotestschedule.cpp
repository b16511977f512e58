#include "device/autotest/autotestschedule.h"

#include "core/files/configsections.h"
#include "core/files/stationini.h"
#include "core/logs/generallog.h"
#include "core/logs/testlog.h"
#include "core/platform/clock.h"
#include "core/platform/waits.h"
#include "core/station/nametables.h"
#include "core/station/stationutil.h"
#include "core/station/stationview.h"
#include "core/station/stoprequest.h"
#include "device/autotest/autotestpoll.h"
#include "device/autotest/autoteststate.h"
#include "device/link/busclaim.h"
#include "device/link/comsettings.h"
#include "device/link/seriallink.h"

#include <algorithm>

namespace {

int weekdayFromMonday(const QDate &date) { return date.dayOfWeek() - 1; }

bool sameMinute(const QDateTime &now, const QTime &zeit)
{
    return now.time().toString(QStringLiteral("HH:mm")) == zeit.toString(QStringLiteral("HH:mm"));
}

// The start broadcasts of one kind; false when a send failed. The pauses are
// plain sleeps: nothing else may talk on the bus while the units switch over.
bool sendStartBroadcasts(int art)
{
    for (int i = 1; i <= 3; ++i) {
        const int pause = art == kArtPruefung ? 700 * i : 500;
        const QString first = art == kArtPruefung ? QStringLiteral("\nALLP00") : QStringLiteral("\nALLT00");
        if (!serialLink().sendFrame(first))
            return false;
        appWaits().sleepMs(pause);
        if (!serialLink().sendFrame(QStringLiteral("\nALLi00")))
            return false;
        appWaits().sleepMs(pause);
    }
    return true;
}

// How the general log names a slot of a kind.
QString termin(int art, const QDateTime &slot)
{
    return (art == kArtDauertest ? QStringLiteral("Betriebsdauertest") : QStringLiteral("Prüfung"))
           + QStringLiteral(" für den Termin ") + slot.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

bool sameSlot(const QDateTime &a, const QDateTime &b)
{
    return a.isValid() && wallClockMinute(a) == wallClockMinute(b);
}

// A slot that falls due while the port is not open (the units would not hear
// the test) or the ini file takes no write (the run could not be recorded).
// Said once, not at every tick of its minute; the slot is not made up later,
// but a port back within its minute still starts it.
void reportNotStarted(int art, const QDateTime &slot, const QString &reason)
{
    QDateTime &reported = autoTestRun().unstartedSlot[art];
    if (sameSlot(reported, slot))
        return;
    reported = slot;
    logAllgemein(termin(art, slot) + QStringLiteral(" wurde nicht gestartet, weil ") + reason + u'!');
}

QString iniNotWritable()
{
    return QStringLiteral("die Datei '") + iniPath() + QStringLiteral("' nicht geschrieben werden kann");
}

// One kind's schedule: due now, or due in a minute it could not look at.
// Whether the kind may start is asked when the tick looks, so a slot that
// fell during a poll starts once the poll has ended.
void checkSchedule(int art)
{
    const bool dauertest = art == kArtDauertest;
    // A duration test would write its log header over the results of the
    // function test's poll: it waits until that poll has ended.
    if (dauertest && autoTestRun().abfrageLaeuft)
        return;
    const QList<QDateTime> missed = autoTestRun().scheduleMinutes[art].look();
    const TestSchedule &schedule = dauertest ? settings().dauertest : settings().pruefung;
    if (!schedule.aktiv || !kannTestStarten(art))
        return;
    const QDateTime lastRun = dauertest ? getDauertestLastRun() : getPruefungLastRun();
    const QDateTime now = appClock().localNow();
    QDateTime late;
    if (!istFaellig(schedule, lastRun, now, !dauertest)) {
        const auto due = std::find_if(missed.begin(), missed.end(), [&](const QDateTime &slot) {
            return istFaellig(schedule, lastRun, slot, !dauertest);
        });
        if (due == missed.end())
            return;
        late = *due;
    }
    const QDateTime slot = late.isValid() ? late : now;
    const QDateTime &iniRefused = autoTestRun().iniRefusedSlot[art];
    if (sameSlot(iniRefused, slot)) {
        reportNotStarted(art, slot, iniNotWritable());
        return;
    }
    if (!serialLink().portOpen()) {
        reportNotStarted(art, slot, portNotOpen());
        return;
    }
    const int started = starteAutoPruefung(art, late);
    if (started == 0 && late.isValid())
        logAllgemein(termin(art, late) + QStringLiteral(" wurde verspätet gestartet!"));
    else if (started != 0 && sameSlot(iniRefused, slot))
        reportNotStarted(art, slot, iniNotWritable());
}

} // namespace

bool istFaellig(const TestSchedule &schedule, const QDateTime &lastRun, const QDateTime &now,
                bool dailyAllowed)
{
    if (!sameMinute(now, schedule.zeit))
        return false;
    const QDate last = lastRun.date();
    const QDate today = now.date();
    const bool weekdayMatches = weekdayFromMonday(today) == schedule.tag;
    switch (schedule.intervall) {
    case 0:
        return last.year() != today.year() && today.month() - 1 == schedule.monat && weekdayMatches;
    case 1:
        // Year and month: a last run exactly twelve months ago is not this month's run.
        return (last.year() != today.year() || last.month() != today.month()) && weekdayMatches;
    case 2:
        return last != today && weekdayMatches;
    case 3:
        return dailyAllowed && last != today;
    default:
        return false;
    }
}

void pruefeZeitplan()
{
    // A test started once the station is told to end would hold the close for
    // its broadcasts and leave the units in their test.
    if (stopRequested())
        return;
    // An operator's request or an automatic message owns the bus: the minutes
    // stay unseen until it is free.
    if (busOwner() == BusUser::Foreground)
        return;
    checkSchedule(kArtDauertest);
    checkSchedule(kArtPruefung);
}

int starteAutoPruefung(int art, const QDateTime &slot, QString *reason)
{
    if (!kannTestStarten(art, reason))
        return 1;
    // Broadcasts into a closed port would leave a test counting down for units
    // that never heard of it.
    if (!serialLink().portOpen()) {
        if (reason)
            *reason = (art == kArtPruefung ? QStringLiteral("Die Prüfung kann")
                                           : QStringLiteral("Der Betriebsdauertest kann"))
                      + QStringLiteral(" momentan nicht gestartet werden, da ") + portNotOpen() + u'.';
        return 1;
    }
    BusClaim claim(BusUser::Background);
    if (!claim.granted())
        return 1;
    AutoTestRun &run = autoTestRun();
    const QDateTime now = appClock().localNow();
    run.autoTestLogDatei =
        QStringLiteral("AutoTest_") + now.toString(QStringLiteral("yyyy_MM_dd")) + QStringLiteral(".log");
    if (art == kArtPruefung)
        run.testStartZeit.start();

    // A run the ini file cannot record would start again on every tick of its
    // minute, each time with a new log: it does not start at all.
    const QDateTime lastRun = slot.isValid() ? slot : now;
    const int lastRunWritten =
        art == kArtPruefung ? setPruefungLastRun(lastRun) : setDauertestLastRun(lastRun);
    if (lastRunWritten == 0 || !writeRunningState(art, true)) {
        run.iniRefusedSlot[art] = lastRun;
        showWriteRightsBoxOnce();
        return 1;
    }
    writeAutoTestLogHeader(run.autoTestLogDatei, art == kArtPruefung ? TestArt::Pruefung : TestArt::Dauertest);
    // A function test still counting down is dropped by a duration test.
    if (art == kArtPruefung)
        dauertestIsRunning(false);
    else
        pruefungIsRunning(false);
    setStatusText(art == kArtPruefung ? QStringLiteral("Starte Prüfung...")
                                      : QStringLiteral("Starte Betriebsdauertest..."));

    if (!sendStartBroadcasts(art)) {
        logAbbruch();
        writeRunningState(art, false);
        return 1;
    }
    run.testStartZeit.start();
    run.abfrageLaeuft = false;
    return 0;
}

void pruefeAbfrage()
{
    AutoTestRun &run = autoTestRun();
    // A function test this program did not start (its stale state could not be
    // cleared) has no start to count from and is never polled.
    if (pruefungIsRunning() && run.testGestartet[kArtPruefung]) {
        const qint64 s = run.testStartZeit.elapsedMs() / 1000;
        if (s < 60) {
            setStatusText(QStringLiteral("Abfrage in %1 Sekunden").arg(60 - s));
            return;
        }
        if (run.abfrageLaeuft || busOwner() == BusUser::Foreground)
            return;
        setStatusText(QStringLiteral("Starte Abfrage"));
        frageGeraeteAbPruefung();
    } else if (dauertestIsRunning()) {
        const qint64 m = run.testStartZeit.elapsedMs() / 60000;
        const qint64 limit = qint64(settings().akkulaufzeit) * 60;
        if (m < limit) {
            setStatusText(QStringLiteral("Gerätebfrage in %1 Minuten").arg(limit - m));
            return;
        }
        if (run.abfrageLaeuft || busOwner() == BusUser::Foreground)
            return;
        setStatusText(QStringLiteral("Starte Abfrage"));
        frageGeraeteAbDauertest();
    }
}

QString scheduleDisplayText(const TestSchedule &schedule, bool withAkkulaufzeit, int akkulaufzeit)
{
    if (!schedule.aktiv)
        return QStringLiteral("NICHT AKTIV!");
    QStringList lines{QStringLiteral("Intervall: ") + intervalNames().value(schedule.intervall),
                      QStringLiteral("Monat: ") + monthNames().value(schedule.monat),
                      QStringLiteral("Wochentag: ") + weekDayNames().value(schedule.tag),
                      QStringLiteral("Zeit: ") + schedule.zeit.toString(QStringLiteral("HH:mm"))};
    if (withAkkulaufzeit)
        lines << QStringLiteral("Akkulaufzeit: ") + akkuLaufzeitNames().value(akkulaufzeit);
    return lines.join(u'\n');
}

void aktualisiereAPAnzeige()
{
    loadSignalConfig();
    const StationSettings &s = settings();
    appView().showAutoTestSettings(scheduleDisplayText(s.pruefung, false, 0),
                                   scheduleDisplayText(s.dauertest, true, s.akkulaufzeit),
                                   s.sigResultAktiv, s.signalAdr);
}
