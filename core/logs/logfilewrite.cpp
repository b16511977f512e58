#include "core/logs/logfilewrite.h"

#include "core/logs/logbook.h"
#include "core/platform/diskwrites.h"
#include "core/platform/pagebuffer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>

namespace {

constexpr qint64 kCopyChunk = 1 << 20;

// The new entries, then the older ones byte for byte as they stand, a piece at
// a time: an entry costs a copy of the file, never the file in memory.
std::optional<FileError> writeNewestFirst(const QString &path, const QByteArray &entries)
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
    if (auto error = writeAll(file, entries))
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

// The room named when the disk has some, but less than needed.
std::optional<FileError> lackOfRoom(qint64 needed)
{
    const qint64 available = appDiskWrites().bytesAvailable(logsPath());
    if (available <= 0 || available >= needed)
        return std::nullopt;
    return FileError::lackOfRoom(needed, available);
}

} // namespace

std::optional<FileError> writeLogFile(const QString &fileName, LogOrder order, const QByteArray &bytes,
                                      bool untilRoom)
{
    if (auto error = makeLogsFolder())
        return error;
    const QString path = logsPath() + fileName;
    // Asked only of a disk that was full: an entry that goes in costs no look at the room.
    const auto needed = [&] { return bytes.size() + (order == LogOrder::NewestFirst ? QFileInfo(path).size() : 0); };
    if (untilRoom)
        if (auto lack = lackOfRoom(needed()))
            return lack;
    auto error = order == LogOrder::NewestFirst ? writeNewestFirst(path, bytes) : appendToFile(path, bytes);
    if (error && error->isDiskFull())
        return lackOfRoom(needed()).value_or(*error);
    return error;
}
