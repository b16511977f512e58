#include "device/autotest/autoteststate.h"

#include "core/files/stationini.h"
#include "core/platform/numbertext.h"
#include "core/platform/oledate.h"
#include "device/link/busclaim.h"

namespace {

AutoTestRun run;

QString sectionOf(int art)
{
    return art == kArtDauertest ? QStringLiteral("Dauertest") : QStringLiteral("Pruefung");
}

bool readRunningState(int art)
{
    const QString text = readIni(sectionOf(art), QStringLiteral("IsRunning"), QStringLiteral("false"));
    return numbertext::readBoolean(text).value_or(false);
}

int writeLastRun(int art, const QDateTime &when)
{
    return writeIni(sectionOf(art), QStringLiteral("LastRun"), when);
}

QDateTime readLastRun(int art)
{
    return initext::parseDateTime(readIni(sectionOf(art), QStringLiteral("LastRun"), QStringLiteral("0")));
}

void noteWriteResult(bool ok)
{
    if (ok)
        run.writeRightsBoxShown = false;
    else
        showWriteRightsBoxOnce();
}

// A state of true that this instance did not write was left by a program
// that ended during a test: the test is not resumed, it runs again at its
// next slot.
bool readWithStaleReset(int art)
{
    const bool value = readRunningState(art);
    if (!value || run.testGestartet[art])
        return value;
    const bool stateWritten =
        writeIni(sectionOf(art), QStringLiteral("IsRunning"), QStringLiteral("false")) != 0;
    const bool lastRunWritten = writeLastRun(art, oledate::zero()) != 0;
    if (art == kArtDauertest)
        return false;
    noteWriteResult(stateWritten && lastRunWritten);
    // While the reset cannot be written the function test counts as running,
    // so no test starts on an ini file that cannot keep its state.
    return !(stateWritten && lastRunWritten);
}

bool isRunningWithNewValue(int art, std::optional<bool> newValue)
{
    const bool value = readWithStaleReset(art);
    if (newValue)
        writeRunningState(art, *newValue);
    return value;
}

} // namespace

AutoTestRun &autoTestRun() { return run; }
void resetAutoTestRun() { run = AutoTestRun{}; }

bool writeRunningState(int art, bool value)
{
    if (art == kArtDauertest) {
        run.testGestartet[kArtDauertest] = value;
        return writeIni(sectionOf(art), QStringLiteral("IsRunning"), value) != 0;
    }
    const bool ok =
        writeIni(sectionOf(art), QStringLiteral("IsRunning"), value) != 0;
    // A run that ends is over even when the file cannot say so: the state left
    // there is then stale, and its failing reset keeps every function test out
    // until the file can be written, instead of the ended run being polled
    // again at every tick.
    if (ok || !value)
        run.testGestartet[kArtPruefung] = value;
    noteWriteResult(ok);
    return ok;
}

bool pruefungIsRunning(std::optional<bool> newValue) { return isRunningWithNewValue(kArtPruefung, newValue); }
bool dauertestIsRunning(std::optional<bool> newValue) { return isRunningWithNewValue(kArtDauertest, newValue); }

QDateTime getPruefungLastRun() { return readLastRun(kArtPruefung); }
QDateTime getDauertestLastRun() { return readLastRun(kArtDauertest); }
int setPruefungLastRun(const QDateTime &when) { return writeLastRun(kArtPruefung, when); }
int setDauertestLastRun(const QDateTime &when) { return writeLastRun(kArtDauertest, when); }

bool kannTestStarten(int art, QString *reason)
{
    // An operator's request owns the bus; a slot is still due at the next tick.
    if ((art == kArtPruefung || art == kArtDauertest) && busOwner() == BusUser::Foreground) {
        if (reason)
            *reason = busBusyReason();
        return false;
    }
    if (art == kArtPruefung) {
        const bool pruefung = pruefungIsRunning();
        const bool dauertest = dauertestIsRunning();
        if (!pruefung && !dauertest)
            return true;
        if (reason)
            *reason = QStringLiteral("Die Prüfung kann momentan nicht gestartet werden, da ein anderer "
                                     "Test auf Abfrage der Geräte wartet.");
        return false;
    }
    if (art == kArtDauertest) {
        if (dauertestIsRunning()) {
            if (reason)
                *reason = QStringLiteral("Der Betriebsdauertest kann momentan nicht gestartet werden, da "
                                         "ein anderer Test auf Abfrage der Geräte wartet.");
            return false;
        }
        // Its start would write a new log over the results the poll is writing.
        if (run.abfrageLaeuft) {
            if (reason)
                *reason = QStringLiteral("Der Betriebsdauertest kann momentan nicht gestartet werden, da "
                                         "gerade die Geräte der Prüfung abgefragt werden.");
            return false;
        }
        return true;
    }
    return false;
}

void showWriteRightsBoxOnce()
{
    if (run.writeRightsBoxShown)
        return;
    run.writeRightsBoxShown = true;
    showWriteRightsBox();
}
