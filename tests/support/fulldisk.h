#pragma once
// A disk with room for only so many more bytes of the files whose names end
// in a given text: it takes part of a write, then fails the next with ENOSPC,
// as a full disk does. Or it fails the final rename of such a file.
#include "core/diskwrites.h"

#include <QFileDevice>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>

class FullDisk : public DiskWrites
{
public:
    enum class Fails { Write, Rename };

    FullDisk(const QString &fileName, qint64 freeBytes, Fails fails = Fails::Write)
        : m_fileName(fileName), m_free(freeBytes), m_fails(fails)
    {
        installDiskWrites(this);
    }
    ~FullDisk() override { installDiskWrites(nullptr); }

    qint64 write(QFileDevice &file, const char *data, qint64 size) override
    {
        if (m_fails != Fails::Write || !file.fileName().endsWith(m_fileName))
            return DiskWrites::write(file, data, size);
        if (m_free == 0) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 taken = DiskWrites::write(file, data, std::min(size, m_free));
        m_free -= std::max<qint64>(taken, 0);
        return taken;
    }

    std::optional<FileError> commit(QSaveFile &file) override
    {
        if (m_fails != Fails::Rename || !file.fileName().endsWith(m_fileName))
            return DiskWrites::commit(file);
        file.cancelWriting();
        file.commit();
        return FileError::fromErrno(ENOSPC);
    }

private:
    QString m_fileName;
    qint64 m_free;
    Fails m_fails;
};
