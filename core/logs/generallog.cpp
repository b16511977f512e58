#include "core/logs/generallog.h"

#include "core/logs/keptentries.h"
#include "core/logs/logbook.h"
#include "core/platform/clock.h"
#include "core/platform/codepage.h"

#include <cstdio>

namespace {

int echoDepth = 0;

void toStandardError(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString stamped(const QString &text)
{
    return u'[' + appClock().localNow().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) + QStringLiteral("] ")
           + text;
}

} // namespace

QByteArray generalLogEntry(const QString &text) { return codepage::encode(stamped(text) + QStringLiteral("\r\n")); }

bool logAllgemein(const QString &text)
{
    const QString entry = stamped(text);
    if (const auto error = keptLogEntries().write(kGeneralLogName, LogOrder::NewestFirst,
                                                  codepage::encode(entry + QStringLiteral("\r\n")))) {
        reportUnwrittenLog(kGeneralLogName, *error, entry);
        return false;
    }
    if (echoDepth > 0)
        toStandardError(entry);
    fillLogList();
    return true;
}

void reportUnwrittenLog(const QString &fileName, const FileError &error, const QString &text)
{
    toStandardError(fileName + QStringLiteral(": Fehler %1: %2: ").arg(error.number).arg(error.description)
                    + text);
}

LogToStandardError::LogToStandardError() { ++echoDepth; }
LogToStandardError::~LogToStandardError() { --echoDepth; }
