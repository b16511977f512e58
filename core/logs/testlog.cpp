#include "core/logs/testlog.h"

#include "core/logs/generallog.h"
#include "core/logs/keptentries.h"
#include "core/platform/clock.h"
#include "core/platform/codepage.h"
#include "core/platform/visiblecontrols.h"
#include "core/registry/unitregistry.h"

namespace {

// The station's name as the head of every test log, 43 columns wide.
const char *const kBanner[] = {
    R"(   _   _                                   )",
    R"(  | \ | |  _   _  __   __   __ _  __  __   )",
    R"(  |  \| | | | | | \ \ / /  / _` | \ \/ /   )",
    R"(  | |\  | | |_| |  \ V /  | (_| |  >  <    )",
    R"(  |_| \_|  \__,_|   \_/    \__,_| /_/\_\   )",
    R"(                                           )",
};

QStringList headerLines(TestArt kind)
{
    const QString rule(43, u'-');
    const QDateTime now = appClock().localNow();
    const StationSettings &s = settings();

    QStringList lines{QString(), rule};
    for (const char *line : kBanner)
        lines.append(QString::fromLatin1(line));
    lines << QString() << rule << QStringLiteral("      Ergebnisse der Autoprüfung") << rule
          << QString() << QString();
    if (kind == TestArt::Dauertest) {
        lines << QStringLiteral("Art der Prüfung: Betriebsdauertest")
              << QStringLiteral("Gewählte Akkulaufzeit: ")
                     + (s.akkulaufzeit == 1 ? QStringLiteral("1 Stunde") : QStringLiteral("3 Stunden"));
    } else {
        lines << QStringLiteral("Art der Prüfung: Funktionsprüfung");
    }
    lines << QString() << QStringLiteral("Datum: ") + now.toString(QStringLiteral("dd.MM.yyyy"))
          << QString() << QStringLiteral("Uhrzeit: ") + now.toString(QStringLiteral("HH:mm"))
          << QString();
    // The port as the operator knows it: the first port is COM1.
    if (s.portOk)
        lines << QStringLiteral("COM-Port: ") + s.comPortName() << QString();
    if (!s.instanzname.isEmpty())
        lines << QStringLiteral("Instanzname: ") + visibleControls(s.instanzname) << QString();
    lines << QStringLiteral("Anzahl zu prüfender Geräte: ") + QString::number(countUnits(true))
          << QString() << QString() << QString() << QStringLiteral("Details der Prüfung:")
          << QString(20, u'-') << QString();
    return lines;
}

} // namespace

bool writeAutoTestLogHeader(const QString &fileName, TestArt kind)
{
    QByteArray bytes;
    for (const QString &line : headerLines(kind))
        bytes += codepage::encode(line) + "\r\n";
    const auto error = keptLogEntries().write(fileName, LogOrder::Appended, bytes);
    if (error)
        reportUnwrittenLog(fileName, *error, QStringLiteral("Kopf der Autoprüfung"));
    return !error;
}

bool appendLog(const QString &fileName, const QString &text)
{
    const auto error = keptLogEntries().write(fileName, LogOrder::Appended, codepage::encode(text) + "\r\n");
    if (error)
        reportUnwrittenLog(fileName, *error, text);
    return !error;
}
