#include "core/logs/generallog.h"

#include "core/logs/keptentries.h"
#include "core/logs/logbook.h"
#include "core/platform/clock.h"
#include "core/platform/codepage.h"

#include <QAbstractEventDispatcher>
#include <QStringList>
#include <QTimer>

#include <cstdio>

namespace {

// Long enough for a burst of alarms to share a rewrite, short enough for the
// operator to find an entry in the log as soon as the alert shows.
constexpr int kGatherMs = 200;

int echoDepth = 0;
// The stamped entries not written yet, oldest first.
QStringList pending;
bool flushPosted = false;

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

QByteArray encodedEntry(const QString &stampedText) { return codepage::encode(stampedText + QStringLiteral("\r\n")); }

} // namespace

QByteArray generalLogEntry(const QString &text) { return encodedEntry(stamped(text)); }

void logAllgemein(const QString &text)
{
    pending.append(stamped(text));
    // Without an event loop nothing would come back for them.
    if (echoDepth > 0 || !QAbstractEventDispatcher::instance()) {
        flushGeneralLog();
        return;
    }
    if (!std::exchange(flushPosted, true))
        QTimer::singleShot(kGatherMs, [] {
            flushPosted = false;
            flushGeneralLog();
        });
}

bool flushGeneralLog()
{
    if (pending.isEmpty())
        return true;
    const QStringList entries = std::exchange(pending, {});
    QList<QByteArray> bytes;
    bytes.reserve(entries.size());
    for (const QString &entry : entries)
        bytes.append(encodedEntry(entry));
    if (const auto error = keptLogEntries().write(kGeneralLogName, LogOrder::NewestFirst, bytes)) {
        for (const QString &entry : entries)
            reportUnwrittenLog(kGeneralLogName, *error, entry);
        return false;
    }
    if (echoDepth > 0)
        for (const QString &entry : entries)
            toStandardError(entry);
    fillLogList();
    return true;
}

void reportUnwrittenLog(const QString &fileName, const FileError &error, const QString &text)
{
    toStandardError(fileName + QStringLiteral(": Fehler %1: %2: ").arg(error.number).arg(error.description)
                    + text);
}

LogToStandardError::LogToStandardError()
{
    // What came before went to standard error in its own way, if at all.
    flushGeneralLog();
    ++echoDepth;
}
LogToStandardError::~LogToStandardError() { --echoDepth; }
