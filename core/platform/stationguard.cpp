#include "core/platform/stationguard.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace {

// A symbolic link or a trailing "/" does not make another station.
QString canonicalFolder(const QString &folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QByteArray socketName(const QString &folder)
{
    return "nuvax-station/"
           + QCryptographicHash::hash(canonicalFolder(folder).toUtf8(), QCryptographicHash::Sha256).toHex();
}

struct AbstractAddress
{
    sockaddr_un address{};
    socklen_t length = 0;

    explicit AbstractAddress(const QByteArray &name)
    {
        address.sun_family = AF_UNIX;
        // The leading NUL puts the name in the abstract namespace, where no file stands for it.
        std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
        length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
    }
    const sockaddr *get() const { return reinterpret_cast<const sockaddr *>(&address); }
};

struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Byte 0 of the file is the guard: a lock of the open file, which no other
// descriptor of the station's process can give back by closing. Byte 1 holds a
// lock of the process, which names the station's process to a later start.
constexpr off_t kGuardByte = 0;
constexpr off_t kProcessByte = 1;

flock writeLockOf(off_t byte)
{
    flock lock{};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    return lock;
}

// Another's lock on the byte: its process, 0 when the lock does not tell; none when no lock stands.
std::optional<long> lockOn(int fd, off_t byte)
{
    flock lock = writeLockOf(byte);
    if (::fcntl(fd, F_OFD_GETLK, &lock) != 0 || lock.l_type == F_UNLCK)
        return std::nullopt;
    return lock.l_pid > 0 ? long(lock.l_pid) : 0L;
}

struct FolderLock
{
    enum State { Taken, Held, Unavailable } state = Unavailable;
    int fd = -1;     // Taken: the descriptor that holds it
    long holder = 0; // Held: the station's process, 0 when unknown
};

FolderLock lockFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(QStringLiteral("Nuvax.lock")));
    // Opened for writing, never written: the file stays empty, and one that is missing is made.
    Descriptor file{::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666)};
    if (file.fd >= 0) {
        flock guard = writeLockOf(kGuardByte);
        if (::fcntl(file.fd, F_OFD_SETLK, &guard) == 0) {
            flock process = writeLockOf(kProcessByte);
            ::fcntl(file.fd, F_SETLK, &process);
            return {FolderLock::Taken, std::exchange(file.fd, -1)};
        }
        if (errno != EAGAIN && errno != EACCES)
            return {};
        // A station that has just ended shows no holder; asking it finds it gone.
        return {FolderLock::Held, -1, lockOn(file.fd, kProcessByte).value_or(0)};
    }
    // A folder this user may not write: a station another user runs on it still shows.
    file.fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0 || !lockOn(file.fd, kGuardByte))
        return {};
    return {FolderLock::Held, -1, lockOn(file.fd, kProcessByte).value_or(0)};
}

// A socket listening on the name, or -1 with errno telling why not.
int listenOn(const AbstractAddress &name)
{
    // Close-on-exec: a program the station starts must not hold the name after it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || (::bind(fd, name.get(), name.length) == 0 && ::listen(fd, SOMAXCONN) == 0))
        return fd;
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

enum class Answer { Shown, Refused, Silent, Gone, Stranger };

// Asks the folder's station to show its window. stationPid: the station's process when the
// lock named it, and then only that process is asked; otherwise it gets the process that answers.
Answer askStation(const AbstractAddress &name, int waitMs, long *stationPid)
{
    const QDeadlineTimer deadline(waitMs);
    const Descriptor socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return Answer::Silent;
    // A station whose queue of starts is full keeps the connect waiting: not longer than the whole wait.
    // (A limit of zero would mean none.)
    const int limitMs = std::max(waitMs, 1);
    const timeval limit{limitMs / 1000, (limitMs % 1000) * 1000};
    ::setsockopt(socket.fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(socket.fd, name.get(), name.length) != 0)
        return errno == ECONNREFUSED ? Answer::Gone : Answer::Silent;

    ucred station{};
    station.uid = ::geteuid();
    socklen_t length = sizeof station;
    if (::getsockopt(socket.fd, SOL_SOCKET, SO_PEERCRED, &station, &length) == 0) {
        if (*stationPid > 0 && station.pid != *stationPid)
            return Answer::Stranger;
        *stationPid = station.pid;
    }
    pollfd reply{socket.fd, POLLIN, 0};
    int ready;
    do
        ready = ::poll(&reply, 1, int(deadline.remainingTime()));
    while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return Answer::Silent;
    char shown = 0;
    const ssize_t received = ::recv(socket.fd, &shown, 1, 0);
    if (received == 1)
        return Answer::Shown;
    // Closed unanswered: another user's station, or one that has just ended.
    if (received == 0)
        return station.uid == ::geteuid() ? Answer::Gone : Answer::Refused;
    return Answer::Silent;
}

} // namespace

StationGuard::StationGuard(const QString &programFolder, int answerWaitMs, QObject *parent)
    : QObject(parent), m_folder(programFolder), m_answerWaitMs(answerWaitMs)
{
}

StationGuard::~StationGuard()
{
    for (const int fd : {m_fd, m_lockFd})
        if (fd >= 0)
            ::close(fd);
}

StationGuard::Claim StationGuard::claim()
{
    const QDeadlineTimer deadline(m_answerWaitMs);
    const AbstractAddress name(socketName(m_folder));
    long stationPid = 0;
    Answer answer = Answer::Gone;
    // A station that ends while it is asked leaves the folder to this start.
    for (int attempt = 0; attempt < 3 && answer == Answer::Gone; ++attempt) {
        const FolderLock lock = lockFolder(m_folder);
        if (lock.state == FolderLock::Taken) {
            m_lockFd = lock.fd;
            // A name another process took keeps this station from nothing but being reached.
            answerStartsOn(listenOn(name));
            return Claim::Station;
        }
        if (lock.state == FolderLock::Unavailable) {
            const int fd = listenOn(name);
            if (fd >= 0) {
                answerStartsOn(fd);
                return Claim::Station;
            }
            if (const int error = errno; error != EADDRINUSE) {
                // Better a second station than none.
                m_failure = QStringLiteral("Ob im Programmordner %1 bereits eine Zentrale läuft, konnte nicht "
                                           "geprüft werden (%2). Die Zentrale startet trotzdem.")
                                .arg(m_folder, systemError(error));
                return Claim::Station;
            }
        }
        stationPid = lock.holder;
        answer = askStation(name, int(deadline.remainingTime()), &stationPid);
    }
    if (answer == Answer::Shown)
        return Claim::HandedOver;
    const QString station = stationPid > 0 ? QStringLiteral("die Zentrale (Prozess %1)").arg(stationPid)
                                           : QStringLiteral("eine Zentrale");
    switch (answer) {
    case Answer::Refused:
        m_failure = QStringLiteral("Im Programmordner %1 läuft bereits %2 unter einem anderen Benutzer; "
                                   "ihr Fenster kann nicht angezeigt werden. Dieser Start wird beendet.");
        break;
    case Answer::Silent:
        m_failure = QStringLiteral("Im Programmordner %1 läuft bereits %2, die nicht rechtzeitig geantwortet "
                                   "hat; ihr Fenster kann nicht angezeigt werden. Dieser Start wird beendet.");
        break;
    default:
        m_failure = QStringLiteral("Im Programmordner %1 läuft bereits %2, die nicht erreichbar ist; "
                                   "ihr Fenster kann nicht angezeigt werden. Dieser Start wird beendet.");
    }
    m_failure = m_failure.arg(m_folder, station);
    return Claim::Unreachable;
}

void StationGuard::answerStartsOn(int fd)
{
    if (fd < 0)
        return;
    m_fd = fd;
    auto *starts = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(starts, &QSocketNotifier::activated, this, &StationGuard::answerStarts);
}

void StationGuard::answerStarts()
{
    for (;;) {
        const Descriptor start{::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)};
        if (start.fd < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        // Only a start of the station's own user may bring its window up.
        ucred peer{};
        socklen_t length = sizeof peer;
        if (::getsockopt(start.fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != ::geteuid())
            continue;
        emit showRequested();
        ::send(start.fd, "1", 1, MSG_NOSIGNAL);
    }
}
