#pragma once
// How the station's bytes reach the disk. Every file it writes (the data files,
// the ini file, the logs) goes through here, so a full disk is named as such
// wherever it is met: a write that takes only part of the bytes is followed by
// one for the rest, which tells why the disk stopped taking them. Tests put a
// full disk in place of the real one.
#include "core/platform/fileerror.h"

#include <QByteArrayView>
#include <QIODevice>
#include <optional>

class QFileDevice;
class QSaveFile;

class DiskWrites
{
public:
    virtual ~DiskWrites() = default;
    // As write(2) on the file's descriptor: the bytes taken, or -1 with errno set.
    virtual qint64 write(QFileDevice &file, const char *data, qint64 size);
    // Puts a replaced file in place of the old one.
    virtual std::optional<FileError> commit(QSaveFile &file);
    // The bytes the station may still write on the disk that holds path; -1
    // when the system does not say.
    virtual qint64 bytesAvailable(const QString &path);
};

DiskWrites &appDiskWrites();
// nullptr goes back to the real disk.
void installDiskWrites(DiskWrites *disk);

// Opens with nothing buffered by Qt, so every byte goes through writeAll.
std::optional<FileError> openForWriting(QFileDevice &file, QIODevice::OpenMode mode = QIODevice::WriteOnly);
std::optional<FileError> writeAll(QFileDevice &file, QByteArrayView bytes);
std::optional<FileError> commitFile(QSaveFile &file);

// Replaces the file whole through a temporary file and an atomic rename.
std::optional<FileError> replaceFile(const QString &path, QByteArrayView bytes);
// Appends to the file, creating it when missing. Bytes that went only part-way
// are cut off again, so the next append does not run into half a line.
std::optional<FileError> appendToFile(const QString &path, QByteArrayView bytes);
