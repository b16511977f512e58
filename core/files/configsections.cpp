#include "core/files/configsections.h"

#include "core/files/inifile.h"
#include "core/files/stationini.h"
#include "core/logs/generallog.h"
#include "core/platform/numbertext.h"
#include "core/platform/textutil.h"
#include "core/station/refreshhooks.h"
#include "core/station/stationsettings.h"
#include "core/station/stationview.h"

#include <QRect>
#include <QSize>

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kProgram = QStringLiteral("Program");
const QString kPruefung = QStringLiteral("Pruefung");
const QString kDauertest = QStringLiteral("Dauertest");
const QString kAp = QStringLiteral("AP");
constexpr int kWindowBuffer = 100;
constexpr int kValueBuffer = 1024;

constexpr int kTwipsPerPixel = 15;

int pixels(int twips) { return static_cast<int>(numbertext::roundHalfEven(double(twips) / kTwipsPerPixel)); }

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(numbertext::roundHalfEven(value));
}

// The range is tested on the number as written, before it is rounded.
int numberInRange(const QString &text, double low, double high, int fallback)
{
    const double value = numbertext::leadingNumber(text);
    if (value < low || value > high)
        return fallback;
    return static_cast<int>(numbertext::roundHalfEven(value));
}

bool booleanOr(const QString &text, bool fallback)
{
    return numbertext::readBoolean(text).value_or(fallback);
}

QTime timeOr(const QString &text, const QTime &fallback)
{
    return initext::parseTime(text).value_or(fallback);
}

int windowKey(const QString &key, int fallback)
{
    const QString text = trimNull(
        inifile::read(iniPath(), kProgram, key, QString::number(fallback), kWindowBuffer));
    return wholeNumber(text).value_or(fallback);
}

void reportConfigWriteFailure()
{
    showWriteRightsBox();
    // Only a full disk is named; a plain failed write has no description.
    logAllgemein(QStringLiteral("Fehler beim Speichern der Konfiguration für Autoprüfung: ") + iniWriteFailure());
}

// One write per statement: the order of the writes is the order of the keys in a new file.
int writeSchedule(const QString &section, const TestSchedule &schedule)
{
    int written = writeIniDirect(section, QStringLiteral("aktiv"), numbertext::booleanWord(schedule.aktiv));
    written += writeIniDirect(section, QStringLiteral("intervall"), QString::number(schedule.intervall));
    written += writeIniDirect(section, QStringLiteral("monat"), QString::number(schedule.monat));
    written += writeIniDirect(section, QStringLiteral("tag"), QString::number(schedule.tag));
    written += writeIniDirect(section, QStringLiteral("zeit"), initext::timeText(schedule.zeit));
    return written;
}

void loadSchedule(const QString &section, TestSchedule &schedule, int maxIntervall,
                  int defaultIntervall, const QTime &defaultZeit)
{
    schedule.aktiv = booleanOr(readIni(section, QStringLiteral("aktiv"), QStringLiteral("0")), false);
    schedule.intervall = numberInRange(readIni(section, QStringLiteral("intervall"),
                                               QString::number(defaultIntervall)),
                                       0, maxIntervall, defaultIntervall);
    schedule.monat = numberInRange(readIni(section, QStringLiteral("monat"), QStringLiteral("0")),
                                   0, 11, 0);
    schedule.tag = numberInRange(readIni(section, QStringLiteral("tag"), QStringLiteral("6")),
                                 0, 6, 6);
    schedule.zeit = timeOr(readIni(section, QStringLiteral("zeit"), initext::timeText(defaultZeit)),
                           defaultZeit);
}

} // namespace

void loadWindowPos()
{
    const QRect window = appView().windowGeometry();
    const QSize screen = appView().screenSize();
    // The centring defaults come from the size the window has before the stored size is applied.
    const auto half = [](int screenPixels, int windowPixels) {
        return static_cast<int>(
            numbertext::roundHalfEven((double(screenPixels) - windowPixels) * kTwipsPerPixel / 2.0));
    };
    const int top = windowKey(QStringLiteral("WindowTop"), half(screen.height(), window.height()));
    const int left = windowKey(QStringLiteral("WindowLeft"), half(screen.width(), window.width()));
    const int height = windowKey(QStringLiteral("WindowHeight"), window.height() * kTwipsPerPixel);
    const int width = windowKey(QStringLiteral("WindowWidth"), window.width() * kTwipsPerPixel);
    appView().setWindowGeometry(QRect(pixels(left), pixels(top), pixels(width), pixels(height)));
}

void saveWindowPos()
{
    const QRect window = appView().windowGeometry();
    writeIniDirect(kProgram, QStringLiteral("WindowTop"), QString::number(window.y() * kTwipsPerPixel));
    writeIniDirect(kProgram, QStringLiteral("WindowLeft"), QString::number(window.x() * kTwipsPerPixel));
    writeIniDirect(kProgram, QStringLiteral("WindowHeight"), QString::number(window.height() * kTwipsPerPixel));
    writeIniDirect(kProgram, QStringLiteral("WindowWidth"), QString::number(window.width() * kTwipsPerPixel));
}

QString programCaption(const QString &instanzname)
{
    const QString title = QStringLiteral("Nuvax PC-Zentrale");
    return instanzname.isEmpty() ? title : title + QStringLiteral(" - ") + instanzname;
}

void loadInstanzname()
{
    const QString name = trimNull(
        inifile::read(iniPath(), kProgram, QStringLiteral("Instanzname"), QString(), kValueBuffer));
    settings().instanzname = name;
    appView().showInstanzname(programCaption(name), name);
}

void loadAutoPruefungConfig()
{
    StationSettings &s = settings();
    loadSchedule(kPruefung, s.pruefung, 3, 2, QTime(12, 0));
    loadSchedule(kDauertest, s.dauertest, 2, 1, QTime(5, 0));
    const double akku = numbertext::leadingNumber(
        readIni(kDauertest, QStringLiteral("akkulaufzeit"), QStringLiteral("0")));
    s.akkulaufzeit = (akku == 1.0 || akku == 3.0) ? static_cast<int>(akku) : 0;
    loadSignalConfig();
    runHook(refreshHooks().aktualisiereAPAnzeige);
}

void loadSignalConfig()
{
    StationSettings &s = settings();
    s.signalAdr = numberInRange(readIni(kAp, QStringLiteral("SignalAdr"), QStringLiteral("0")), 0, 999, 0);
    s.sigResultAktiv = booleanOr(readIni(kAp, QStringLiteral("SigResultAktiv"), QStringLiteral("0")), false);
}

bool saveAutoPruefungConfig()
{
    const StationSettings &s = settings();
    int written = writeSchedule(kPruefung, s.pruefung);
    written += writeSchedule(kDauertest, s.dauertest);
    written += writeIniDirect(kDauertest, QStringLiteral("akkulaufzeit"), QString::number(s.akkulaufzeit));
    written += writeIni(kPruefung, QStringLiteral("zeit"), s.pruefung.zeit);
    if (written < 12) {
        reportConfigWriteFailure();
        return false;
    }
    return true;
}

bool saveSignalConfig()
{
    const StationSettings &s = settings();
    int written = writeIniDirect(kAp, QStringLiteral("SignalAdr"), QString::number(s.signalAdr));
    written += writeIniDirect(kAp, QStringLiteral("SigResultAktiv"), numbertext::booleanWord(s.sigResultAktiv));
    if (written < 2) {
        reportConfigWriteFailure();
        return false;
    }
    return true;
}
