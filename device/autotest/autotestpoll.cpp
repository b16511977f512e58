#include "device/autotest/autotestpoll.h"

#include "core/logs/logbook.h"
#include "core/logs/testlog.h"
#include "core/platform/clock.h"
#include "core/platform/visiblecontrols.h"
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
    log(QStringLiteral("\tBeschreibung: ") + visibleControls(getUnitDescription(adr, 1)));
    log(kNoAnswer);
    log(QStringLiteral("\r\n"));
}

// Asks one unit up to three times and records the outcome. False when the
// port was lost meanwhile: the unit is left as it was.
bool pollUnit(int adr, int art)
{
    setStatusText(QStringLiteral("Frage Adresse %1 ab...").arg(adr));
    UnitRecord &unit = units().at(adr);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        QString answer;
        QString reason;
        if (requestStatus(adr, answer, QStringLiteral("00"), &reason) < 0) {
            if (!serialLink().portOpen())
                return false;
            continue;
        }
        QString text;
        const int state = evaluateMessage(answer, art == kArtDauertest, autoTestRun().autoTestLogDatei, &text);
        unit.state = state;
        unit.errorText = fixedWidth(text, kErrorTextWidth);
        return true;
    }
    logNoAnswer(adr, art);
    unit.errorText = fixedWidth(kNoAnswer + QStringLiteral("\r\n"), kErrorTextWidth);
    unit.state = kStateFault;
    return true;
}

// False when the port was lost: the units from there on are not asked.
bool pollAll(int art)
{
    bool portKept = true;
    for (int adr = 1; adr <= 999 && portKept; ++adr) {
        if (istAbzufragen(adr, art))
            portKept = pollUnit(adr, art);
    }
    // The results of the test must survive a stop of the program before its next orderly exit.
    saveUnits(false);
    return portKept;
}

void refreshViews()
{
    fillLogList();
    fillUnitList();
    updateSystemStatus();
}

void logClosing(const QString &line)
{
    log(QString());
    log(QString());
    log(line);
}

void logEnd(bool beendet)
{
    if (beendet)
        logClosing(QStringLiteral("Autoprüfung beendet am: ") + nowText());
    else
        logAbbruch();
}

// False once the frame cannot go out.
bool sendThreeTimes(const QString &frame)
{
    for (int i = 0; i < 3; ++i) {
        if (!serialLink().sendFrame(frame))
            return false;
        appWaits().sleepMs(500);
    }
    return true;
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
    const bool beendet = pollAll(kArtPruefung) && sendeTestEnde(kArtPruefung);
    refreshViews();
    logEnd(beendet);
    appView().refreshLabelColors();
    pruefungIsRunning(false);
    // A broken-off run has no result to signal, and the signal could not go out.
    if (beendet)
        sendeErgebnisSignal();
    run.abfrageLaeuft = false;
}

void frageGeraeteAbDauertest()
{
    AutoTestRun &run = autoTestRun();
    run.abfrageLaeuft = true;
    BusClaim claim(BusUser::Background);
    log(QStringLiteral("Abfrage gestartet am: ") + nowText());
    bool beendet = pollAll(kArtDauertest);
    if (beendet) {
        setStatusText(QStringLiteral("Beende Autoprüfung..."));
        beendet = sendeTestEnde(kArtDauertest);
    }
    refreshViews();
    logEnd(beendet);
    appView().refreshLabelColors();
    dauertestIsRunning(false);
    run.abfrageLaeuft = false;
}

bool sendeTestEnde(int art)
{
    if (art == kArtPruefung)
        return sendThreeTimes(QStringLiteral("\nALLp00"));
    if (art == kArtDauertest) {
        if (!sendThreeTimes(QStringLiteral("\nALLP00")))
            return false;
        waitSeconds(60);
        return sendThreeTimes(QStringLiteral("\nALLR00"));
    }
    return true;
}

void logAbbruch()
{
    logClosing(QStringLiteral("Autoprüfung abgebrochen am: ") + nowText() + QStringLiteral(", weil die Schnittstelle ")
               + settings().comPortName()
               + QStringLiteral(" nicht mehr geöffnet ist. Die nicht abgefragten Geräte behalten ihren "
                                "bisherigen Zustand."));
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
