#pragma once
#include "core/platform/diskwrites.h"

#include <QFileDevice>
#include <QSaveFile>
#include <cerrno>

// A disk with room for only so many more bytes of the files whose names end in a given text: it takes
// part of a write, then fails the next with ENOSPC, as a full disk does. Room -1 fails the final rename.
// It counts the writes to those files, and says it has the given bytes available, when given.
struct FullDisk : DiskWrites
{
    FullDisk(const QString &fileName, qint64 room) : m_fileName(fileName), m_room(room) { installDiskWrites(this); }
    ~FullDisk() override { installDiskWrites(nullptr); }
    qint64 write(QFileDevice &file, const char *data, qint64 size) override
    {
        if (m_room < 0 || !file.fileName().endsWith(m_fileName))
            return DiskWrites::write(file, data, size);
        ++m_writes;
        if (m_room == 0)
            return errno = ENOSPC, -1;
        const qint64 taken = DiskWrites::write(file, data, qMin(size, m_room));
        m_room -= qMax<qint64>(taken, 0);
        return taken;
    }
    std::optional<FileError> commit(QSaveFile &file) override
    {
        if (m_room >= 0 || !file.fileName().endsWith(m_fileName))
            return DiskWrites::commit(file);
        file.cancelWriting();
        file.commit();
        return FileError::fromErrno(ENOSPC);
    }
    qint64 bytesAvailable(const QString &path) override
    {
        return m_available < 0 ? DiskWrites::bytesAvailable(path) : m_available;
    }
    QString m_fileName;
    qint64 m_room;
    qint64 m_available = -1;
    int m_writes = 0;
};
