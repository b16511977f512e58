#include "core/logs/logbook.h"

#include "core/platform/apppath.h"
#include "core/platform/codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>

QString logsPath() { return getAppPath() + QStringLiteral("logs/"); }

std::optional<FileError> makeLogsFolder()
{
    const QString folder = getAppPath() + QStringLiteral("logs");
    const QFileInfo info(folder);
    if (info.isDir())
        return std::nullopt;
    if (info.exists())
        return FileError::pathAccess();
    // The failed mkdir's own reason: a full disk has no room for a folder either.
    errno = 0;
    if (!QDir().mkpath(folder))
        return FileError::fromErrno(errno);
    return std::nullopt;
}

QString readFileText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return codepage::decode(file.readAll());
}

void fillLogList()
{
    static const QRegularExpression testLogName(
        QStringLiteral("^AutoTest_([0-9]{4}_[0-9]{2}_[0-9]{2})\\.log$"));
    const QStringList names =
        QDir(logsPath()).entryList({QStringLiteral("*.log")}, QDir::Files);

    QStringList entries;
    QStringList days;
    for (const QString &name : names) {
        if (name == u"Allgemein.log") {
            entries.append(QStringLiteral("_Allgemein_"));
            continue;
        }
        const QRegularExpressionMatch m = testLogName.match(name);
        if (m.hasMatch())
            days.append(m.captured(1));
    }
    days.sort();
    entries.append(days);
    appView().showLogList(entries);
}

QList<LogViewLine> colorLogLines(const QStringList &lines, bool colored)
{
    QList<LogViewLine> out;
    out.reserve(lines.size());
    for (const QString &line : lines) {
        LogViewLine shown{line, false, 0};
        if (colored) {
            const QString lower = line.toLower();
            const qsizetype status = lower.indexOf(u"status");
            if (status >= 0) {
                shown.hasColor = true;
                shown.color = lower.indexOf(u"ok", status + 6) >= 0 ? kColorGreen : kColorRed;
            }
        }
        out.append(shown);
    }
    return out;
}

void showLogFile(const QString &fileName, bool colored)
{
    const QString path = logsPath() + fileName;
    if (!QFileInfo(path).isFile())
        return;
    QStringList lines = readFileText(path).split(QStringLiteral("\r\n"));
    // The last line ends in CR LF like every other; no line follows it.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    appView().showLogText(colorLogLines(lines, colored));
}
