#include "core/platform/folderlock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/sysmacros.h>

namespace {

constexpr char kLockName[] = "Nuvax.lock";

// Not followed out of the folder, never waiting on a FIFO, never making a terminal ours.
constexpr int kOpenSafely = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

flock guardLock()
{
    flock lock{};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return lock;
}

// What stands in the file's place instead of a regular file; empty for a regular file.
QString oddKind(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISLNK(mode))
        return QStringLiteral("ein symbolischer Verweis");
    if (S_ISDIR(mode))
        return QStringLiteral("ein Verzeichnis");
    if (S_ISFIFO(mode))
        return QStringLiteral("eine benannte Pipe (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("ein Socket");
    return QStringLiteral("eine Gerätedatei");
}

FolderLock notTaken(QString problem)
{
    FolderLock lock;
    lock.problem = std::move(problem);
    return lock;
}

FolderLock held(const struct stat &file)
{
    FolderLock lock;
    lock.state = FolderLock::Held;
    lock.device = file.st_dev;
    lock.inode = file.st_ino;
    return lock;
}

FolderLock odd(const QString &lockPath, mode_t mode)
{
    return notTaken(QStringLiteral("%1 ist %2, keine gewöhnliche Datei").arg(lockPath, oddKind(mode)));
}

// Read and write for the file's user, and for the group and the others as far as they may write the folder.
void setRights(int fd, const struct stat &file, const struct stat &folder)
{
    if (::geteuid() != 0 && file.st_uid != ::geteuid())
        return;
    mode_t rights = S_IRUSR | S_IWUSR;
    // A group that may write the folder is the folder's group; the file's own might take in anyone.
    if ((folder.st_mode & S_IWGRP) && (file.st_gid == folder.st_gid || ::fchown(fd, uid_t(-1), folder.st_gid) == 0))
        rights |= S_IRGRP | S_IWGRP;
    if (folder.st_mode & S_IWOTH)
        rights |= S_IROTH | S_IWOTH;
    if ((file.st_mode & 07777) != rights)
        ::fchmod(fd, rights);
}

// A file this user may not write: a station of another user that holds it still shows, where it can be read.
FolderLock lockOfOthers(int folder, const QString &lockPath, int openError)
{
    const Descriptor file(::openat(folder, kLockName, O_RDONLY | kOpenSafely));
    struct stat info{};
    if (file.isOpen() && ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode)) {
        flock lock = guardLock();
        if (::fcntl(file.get(), F_OFD_GETLK, &lock) == 0 && lock.l_type == F_WRLCK)
            return held(info);
    }
    QString problem = QStringLiteral("%1 kann nicht zum Schreiben geöffnet werden (%2")
                          .arg(lockPath, qt_error_string(openError));
    if (::fstatat(folder, kLockName, &info, AT_SYMLINK_NOFOLLOW) == 0)
        problem += QStringLiteral("; die Datei gehört dem Benutzer %1 und hat die Rechte %2")
                       .arg(info.st_uid)
                       .arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return notTaken(problem + u')');
}

// The "lock:" line of /proc/<pid>/fdinfo/<fd> ends so for the guard on this file.
QByteArray guardLine(dev_t device, ino_t inode)
{
    return QStringLiteral(" %1:%2:%3 0 0")
        .arg(major(device), 2, 16, QLatin1Char('0'))
        .arg(minor(device), 2, 16, QLatin1Char('0'))
        .arg(static_cast<qulonglong>(inode))
        .toLatin1();
}

} // namespace

FolderLock lockFolder(int folder, const QString &lockPath)
{
    struct stat info{};
    // What stands there is only ever looked at, never opened: a device might act on an open.
    if (::fstatat(folder, kLockName, &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode))
        return odd(lockPath, info.st_mode);
    // Made with no rights for others, so that nobody opens it before it has its own.
    Descriptor file(::openat(folder, kLockName, O_WRONLY | O_CREAT | kOpenSafely, S_IRUSR | S_IWUSR));
    if (!file.isOpen()) {
        const int error = errno;
        // Something else put there since it was looked at.
        if (::fstatat(folder, kLockName, &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(info.st_mode))
            return odd(lockPath, info.st_mode);
        return lockOfOthers(folder, lockPath, error);
    }
    struct stat where{};
    if (::fstat(file.get(), &info) != 0 || ::fstat(folder, &where) != 0)
        return notTaken(QStringLiteral("%1 kann nicht geprüft werden (%2)").arg(lockPath, qt_error_string(errno)));
    if (!S_ISREG(info.st_mode))
        return odd(lockPath, info.st_mode);
    setRights(file.get(), info, where);

    FolderLock lock = held(info);
    flock guard = guardLock();
    if (::fcntl(file.get(), F_OFD_SETLK, &guard) == 0) {
        lock.state = FolderLock::Taken;
        lock.fd = std::move(file);
        return lock;
    }
    if (errno != EAGAIN && errno != EACCES)
        return notTaken(QStringLiteral("%1 kann nicht gesperrt werden (%2)").arg(lockPath, qt_error_string(errno)));
    // Only a process that may write the file holds a write lock; one that may read it holds a read lock.
    guard = guardLock();
    if (::fcntl(file.get(), F_OFD_GETLK, &guard) == 0 && guard.l_type == F_RDLCK)
        return notTaken(QStringLiteral("auf %1 hält ein anderer Prozess eine Lesesperre").arg(lockPath));
    // A station that has just ended shows no lock any more; asking it finds it gone.
    return lock;
}

bool holdsStationLock(long pid, dev_t device, ino_t inode)
{
    const QByteArray line = guardLine(device, inode);
    const QDir descriptors(QStringLiteral("/proc/%1/fdinfo").arg(pid));
    for (const QString &fd : descriptors.entryList(QDir::Files)) {
        QFile info(descriptors.filePath(fd));
        if (!info.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &entry : info.readAll().split('\n'))
            if (entry.startsWith("lock:") && entry.contains(" OFDLCK ") && entry.contains(" WRITE ")
                && entry.endsWith(line))
                return true;
    }
    return false;
}

long stationLockHolder(dev_t device, ino_t inode)
{
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isProcess = false;
        const long pid = entry.toLong(&isProcess);
        if (isProcess && holdsStationLock(pid, device, inode))
            return pid;
    }
    return 0;
}
