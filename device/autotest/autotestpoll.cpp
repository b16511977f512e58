#include "device/autotest/autotestpoll.h"

#include "core/logs/logbook.h"
#include "core/logs/testlog.h"
#include "core/platform/clock.h"
#include "core/platform/waits.h"
#include "core/registry/unitaddress.h"
#include "core/registry/unitregistry.h"
#include "core/registry/unitsfile.h"
#include "core/station/stationsettings.h"
#include "core/station/stationutil.h"
#include "core/station/stationview.h"
#include "device/autotest/autoteststate.h"
#include "device/link/busclaim.h"
#include "device/link/seriallink.h"
#include "device/messages/devicetypes.h"
#include "device/messages/evaluation.h"
#include "device/messages/statusrequest.h"

namespace {

constexpr int kTries = 3;
const QString kNoAnswer = QStringLiteral("\tFEHLER: Keine oder fehlerhafte Antwort");

void log(const QString &line) { appendLog(autoTestRun().autoTestLogDatei, line); }

QString nowText()
{
    return appClock().localNow().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

void logNoAnswer(int adr, int art)
{
    const QString typeName = getDeviceTypeName(units().at(adr).frame);
    log(QStringLiteral("Adresse ") + formatUnitAddress(adr));
    if (art == kArtDauertest) {
        log(QStringLiteral("\tTyp:\t\t\t") + typeName);
        log(QStringLiteral("\tStatus:\t\tFEHLER"));
    } else {
        log(QStringLiteral("\tTyp: ") + typeName);
        log(QStringLiteral("\tStatus: FEHLER"));
    }
    log(QStringLiteral("\tBeschreibung: ") + getUnitDescription(adr, 1));
    log(kNoAnswer);
    log(QStringLiteral("\r\n"));
}

// Asks one unit up to three times and records the outcome.
void pollUnit(int adr, int art)
{
    setStatusText(QStringLiteral("Frage Adresse %1 ab...").arg(adr));
    UnitRecord &unit = units().at(adr);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        QString answer;
        QString reason;
        if (requestStatus(adr, answer, QStringLiteral("00"), &reason) < 0)
            continue;
        QString text;
        const int state = evaluateMessage(answer, art == kArtDauertest, autoTestRun().autoTestLogDatei, &text);
        unit.state = state;
        unit.errorText = fixedWidth(text, kErrorTextWidth);
        return;
    }
    logNoAnswer(adr, art);
    unit.errorText = fixedWidth(kNoAnswer + QStringLiteral("\r\n"), kErrorTextWidth);
    unit.state = kStateFault;
}

void pollAll(int art)
{
    for (int adr = 1; adr <= 999; ++adr) {
        if (istAbzufragen(adr, art))
            pollUnit(adr, art);
    }
    // The results of the test must survive a stop of the program before its next orderly exit.
    saveUnits(false);
}

void refreshViews()
{
    fillLogList();
    fillUnitList();
    updateSystemStatus();
}

void logEnd()
{
    log(QString());
    log(QString());
    log(QStringLiteral("Autoprüfung beendet am: ") + nowText());
}

void sendThreeTimes(const QString &frame)
{
    for (int i = 0; i < 3; ++i) {
        serialLink().sendCommand(frame);
        appWaits().sleepMs(500);
    }
}

} // namespace

bool istAbzufragen(int adr, int art)
{
    if (!unitExists(adr))
        return false;
    if (art != kArtDauertest)
        return true;
    // These units take no part in a duration test; their state of the last function test stays.
    static const QString skipped = QStringLiteral("0403 0404 0203 0204 2001 ");
    return !skipped.contains(units().at(adr).frame.mid(5, 4));
}

void frageGeraeteAbPruefung()
{
    if (dauertestIsRunning()) {
        pruefungIsRunning(false);
        return;
    }
    AutoTestRun &run = autoTestRun();
    run.abfrageLaeuft = true;
    BusClaim claim(BusUser::Background);
    log(QStringLiteral("Abfrage der Geräte gestartet am: ") + nowText());
    log(QString());
    pollAll(kArtPruefung);
    sendeTestEnde(kArtPruefung);
    refreshViews();
    logEnd();
    appView().refreshLabelColors();
    pruefungIsRunning(false);
    sendeErgebnisSignal();
    run.abfrageLaeuft = false;
}

void frageGeraeteAbDauertest()
{
    AutoTestRun &run = autoTestRun();
    run.abfrageLaeuft = true;
    BusClaim claim(BusUser::Background);
    log(QStringLiteral("Abfrage gestartet am: ") + nowText());
    pollAll(kArtDauertest);
    setStatusText(QStringLiteral("Beende Autoprüfung..."));
    sendeTestEnde(kArtDauertest);
    refreshViews();
    logEnd();
    appView().refreshLabelColors();
    dauertestIsRunning(false);
    run.abfrageLaeuft = false;
}

void sendeTestEnde(int art)
{
    if (art == kArtPruefung) {
        sendThreeTimes(QStringLiteral("\nALLp00"));
    } else if (art == kArtDauertest) {
        sendThreeTimes(QStringLiteral("\nALLP00"));
        waitSeconds(60);
        sendThreeTimes(QStringLiteral("\nALLR00"));
    }
}

void sendeErgebnisSignal()
{
    const StationSettings &s = settings();
    // Without a chosen unit the frame would go to address "000".
    if (!s.sigResultAktiv || s.signalAdr < 1 || s.signalAdr > 999)
        return;
    bool anyFault = false;
    for (int adr = 1; adr <= 999 && !anyFault; ++adr)
        anyFault = unitExists(adr) && units().at(adr).state == kStateFault;
    serialLink().sendCommand(QStringLiteral("\n") + formatUnitAddress(s.signalAdr)
                + (anyFault ? QStringLiteral("E00") : QStringLiteral("A00")));
}
