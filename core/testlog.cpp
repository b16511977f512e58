#include "core/testlog.h"

#include "core/clock.h"
#include "core/codepage.h"
#include "core/logbook.h"
#include "core/unitregistry.h"

#include <QFile>
#include <QSaveFile>

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
        lines << QStringLiteral("COM-Port: COM") + QString::number(s.comPort + 1) << QString();
    if (!s.instanzname.isEmpty())
        lines << QStringLiteral("Instanzname: ") + s.instanzname << QString();
    lines << QStringLiteral("Anzahl zu prüfender Geräte: ") + QString::number(countUnits(true))
          << QString() << QString() << QString() << QStringLiteral("Details der Prüfung:")
          << QString(20, u'-') << QString();
    return lines;
}

} // namespace

bool writeAutoTestLogHeader(const QString &fileName, TestArt kind)
{
    if (!ensureLogsFolder())
        return false;
    QSaveFile file(logsPath() + fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString &line : headerLines(kind))
        bytes += codepage::encode(line) + "\r\n";
    file.write(bytes);
    return file.commit();
}

bool appendLog(const QString &fileName, const QString &text)
{
    if (!ensureLogsFolder())
        return false;
    QFile file(logsPath() + fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = codepage::encode(text) + "\r\n";
    return file.write(bytes) == bytes.size() && file.flush();
}
