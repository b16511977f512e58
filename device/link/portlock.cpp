#include "device/link/portlock.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <limits>

namespace {

// The driver's folders for lock files, in the order it tries them.
const char *const kLockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                    "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

bool processRuns(qint64 pid)
{
    // A process of another user cannot be signalled, but it runs.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString portLockFile(const QString &devicePath)
{
    // A name without a folder is a device below /dev, as the driver takes it.
    const bool hasFolder = devicePath.startsWith(u'/') || devicePath.startsWith(QLatin1String("./"))
                           || devicePath.startsWith(QLatin1String("../"));
    QString name = hasFolder ? devicePath : QStringLiteral("/dev/") + devicePath;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name = QStringLiteral("/LCK..") + name.replace(u'/', u'_');
    for (const char *folder : kLockFolders) {
        const QFileInfo info(QString::fromLatin1(folder));
        const QString file = info.filePath() + name;
        if (info.isReadable() && (QFile::exists(file) || info.isWritable()))
            return file;
    }
    return {};
}

PortHolder lockHolder(const QString &lockFile)
{
    QFile file(lockFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool isNumber = false;
    const qint64 pid = file.readLine().trimmed().toLongLong(&isNumber);
    if (!isNumber || pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return {};
    return {pid, processRuns(pid) ? QString() : lockFile};
}
