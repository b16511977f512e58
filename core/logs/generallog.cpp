#include "core/logs/generallog.h"

#include "core/logs/logbook.h"
#include "core/platform/clock.h"
#include "core/platform/codepage.h"
#include "core/platform/diskwrites.h"
#include "core/platform/pagebuffer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <optional>

namespace {

constexpr qint64 kCopyChunk = 1 << 20;
int echoDepth = 0;

void toStandardError(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// The new entry, then the older entries byte for byte as they stand, a piece at
// a time: an entry costs a copy of the file, never the file in memory.
std::optional<FileError> writeNewestFirst(const QString &path, const QByteArray &entry)
{
    const QFileInfo info(path);
    QFile old(path);
    if (info.exists()) {
        // Rewriting without the older entries would lose them; a pipe would hold the station.
        if (!info.isFile())
            return FileError::pathAccess();
        if (!old.open(QIODevice::ReadOnly))
            return FileError::of(old);
    }
    QSaveFile file(path);
    if (auto error = openForWriting(file))
        return error;
    if (auto error = writeAll(file, entry))
        return error;
    if (old.isOpen()) {
        const PageBuffer chunk(kCopyChunk);
        if (!chunk.data())
            return FileError::fromErrno(ENOMEM);
        qint64 read;
        while ((read = old.read(chunk.data(), chunk.size())) > 0)
            if (auto error = writeAll(file, QByteArrayView(chunk.data(), read)))
                return error;
        if (read < 0)
            return FileError::of(old);
    }
    return commitFile(file);
}

} // namespace

bool logAllgemein(const QString &text)
{
    const QString stamp = appClock().localNow().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    const QString entry = u'[' + stamp + QStringLiteral("] ") + text;
    auto error = makeLogsFolder();
    if (!error)
        error = writeNewestFirst(logsPath() + QStringLiteral("Allgemein.log"),
                                 codepage::encode(entry + QStringLiteral("\r\n")));
    if (error) {
        reportUnwrittenLog(QStringLiteral("Allgemein.log"), *error, entry);
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
