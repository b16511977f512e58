#include "core/platform/diskwrites.h"

#include <QFile>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <unistd.h>

qint64 DiskWrites::write(QFileDevice &file, const char *data, qint64 size)
{
    ssize_t written;
    do {
        written = ::write(file.handle(), data, size_t(size));
    } while (written < 0 && errno == EINTR);
    return written;
}

std::optional<FileError> DiskWrites::commit(QSaveFile &file)
{
    if (file.commit())
        return std::nullopt;
    return FileError::of(file);
}

qint64 DiskWrites::bytesAvailable(const QString &path)
{
    const QStorageInfo disk(path);
    return disk.isValid() ? disk.bytesAvailable() : -1;
}

namespace {
DiskWrites realDisk;
DiskWrites *installed = &realDisk;
} // namespace

DiskWrites &appDiskWrites() { return *installed; }
void installDiskWrites(DiskWrites *disk) { installed = disk ? disk : &realDisk; }

std::optional<FileError> openForWriting(QFileDevice &file, QIODevice::OpenMode mode)
{
    if (!file.open(mode | QIODevice::Unbuffered))
        return FileError::of(file);
    return std::nullopt;
}

std::optional<FileError> writeAll(QFileDevice &file, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = appDiskWrites().write(file, data, left);
        if (written < 0)
            return FileError::fromErrno(errno);
        if (written == 0)
            return FileError::diskFull();
        data += written;
        left -= written;
    }
    return std::nullopt;
}

std::optional<FileError> commitFile(QSaveFile &file) { return appDiskWrites().commit(file); }

std::optional<FileError> replaceFile(const QString &path, QByteArrayView bytes)
{
    // Left uncommitted, the temporary file goes with the object and the old file stays.
    QSaveFile file(path);
    if (auto error = openForWriting(file))
        return error;
    if (auto error = writeAll(file, bytes))
        return error;
    return commitFile(file);
}

std::optional<FileError> appendToFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (auto error = openForWriting(file, QIODevice::WriteOnly | QIODevice::Append))
        return error;
    const qint64 before = file.size();
    auto error = writeAll(file, bytes);
    if (error)
        file.resize(before);
    return error;
}
