#include "device/autotestschedule.h"

#include "core/clock.h"
#include "core/configsections.h"
#include "core/nametables.h"
#include "core/stationview.h"
#include "core/stationutil.h"
#include "core/testlog.h"
#include "core/waits.h"
#include "device/autotestpoll.h"
#include "device/autoteststate.h"
#include "device/busclaim.h"
#include "device/seriallink.h"

namespace {

int weekdayFromMonday(const QDate &date) { return date.dayOfWeek() - 1; }

bool sameMinute(const QDateTime &now, const QTime &zeit)
{
    return now.time().toString(QStringLiteral("HH:mm")) == zeit.toString(QStringLiteral("HH:mm"));
}

// Boundaries of the wall clock, as the operator reads it, between two moments.
qint64 wallSeconds(const QDateTime &dt)
{
    return dt.date().toJulianDay() * 86400 + dt.time().msecsSinceStartOfDay() / 1000;
}

QDateTime startOrNow(const QDateTime &start, const QDateTime &now)
{
    return start.isValid() ? start : now;
}

// The start broadcasts of one kind; false when a send failed. The pauses are
// plain sleeps: nothing else may talk on the bus while the units switch over.
bool sendStartBroadcasts(int art)
{
    for (int i = 1; i <= 3; ++i) {
        const int pause = art == kArtPruefung ? 700 * i : 500;
        const QString first = art == kArtPruefung ? QStringLiteral("\nALLP00") : QStringLiteral("\nALLT00");
        if (serialLink().sendCommand(first))
            return false;
        appWaits().sleepMs(pause);
        if (serialLink().sendCommand(QStringLiteral("\nALLi00")))
            return false;
        appWaits().sleepMs(pause);
    }
    return true;
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
    const StationSettings &s = settings();
    if (s.dauertest.aktiv && kannTestStarten(kArtDauertest)) {
        if (istFaellig(s.dauertest, getDauertestLastRun(), appClock().localNow(), false))
            starteAutoPruefung(kArtDauertest);
    }
    if (s.pruefung.aktiv && kannTestStarten(kArtPruefung)) {
        if (istFaellig(s.pruefung, getPruefungLastRun(), appClock().localNow(), true))
            starteAutoPruefung(kArtPruefung);
    }
}

int starteAutoPruefung(int art)
{
    if (!kannTestStarten(art))
        return 1;
    BusClaim claim(BusUser::Background);
    if (!claim.granted())
        return 1;
    AutoTestRun &run = autoTestRun();
    const QDateTime now = appClock().localNow();
    run.autoTestLogDatei =
        QStringLiteral("AutoTest_") + now.toString(QStringLiteral("yyyy_MM_dd")) + QStringLiteral(".log");
    if (art == kArtPruefung)
        run.testStartZeit = now;

    // A run the ini file cannot record would start again on every tick of its
    // minute, each time with a new log: it does not start at all.
    const int lastRunWritten = art == kArtPruefung ? setPruefungLastRun(now) : setDauertestLastRun(now);
    if (lastRunWritten == 0 || !writeRunningState(art, true)) {
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
        writeRunningState(art, false);
        return 1;
    }
    run.testStartZeit = appClock().localNow();
    run.abfrageLaeuft = false;
    return 0;
}

void pruefeAbfrage()
{
    AutoTestRun &run = autoTestRun();
    const QDateTime now = appClock().localNow();
    if (pruefungIsRunning()) {
        const qint64 s = qAbs(wallSeconds(now) - wallSeconds(startOrNow(run.testStartZeit, now)));
        if (s < 60) {
            setStatusText(QStringLiteral("Abfrage in %1 Sekunden").arg(60 - s));
            return;
        }
        if (run.abfrageLaeuft || busOwner() == BusUser::Foreground)
            return;
        setStatusText(QStringLiteral("Starte Abfrage"));
        frageGeraeteAbPruefung();
    } else if (dauertestIsRunning()) {
        const qint64 m = qAbs(wallSeconds(now) / 60 - wallSeconds(startOrNow(run.testStartZeit, now)) / 60);
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
