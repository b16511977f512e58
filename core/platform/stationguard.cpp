#include "core/platform/stationguard.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

enum class Answer { Shown, Refused, Silent, Gone };

// Asks the folder's station to show its window; stationPid gets its process when it is known.
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
    if (::getsockopt(socket.fd, SOL_SOCKET, SO_PEERCRED, &station, &length) == 0)
        *stationPid = station.pid;
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
    if (m_fd >= 0)
        ::close(m_fd);
}

StationGuard::Claim StationGuard::claim()
{
    const QDeadlineTimer deadline(m_answerWaitMs);
    const AbstractAddress name(socketName(m_folder));
    long stationPid = 0;
    Answer answer = Answer::Gone;
    // A station that ends while it is asked leaves its name to this start.
    for (int attempt = 0; attempt < 3 && answer == Answer::Gone; ++attempt) {
        // Close-on-exec: a program the station starts must not hold the name after it.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd >= 0 && ::bind(fd, name.get(), name.length) == 0 && ::listen(fd, SOMAXCONN) == 0) {
            m_fd = fd;
            auto *starts = new QSocketNotifier(fd, QSocketNotifier::Read, this);
            connect(starts, &QSocketNotifier::activated, this, &StationGuard::answerStarts);
            return Claim::Station;
        }
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        if (error != EADDRINUSE) {
            // Better a second station than none.
            m_failure = QStringLiteral("Ob im Programmordner %1 bereits eine Zentrale läuft, konnte nicht "
                                       "geprüft werden (%2). Die Zentrale startet trotzdem.")
                            .arg(m_folder, systemError(error));
            return Claim::Station;
        }
        answer = askStation(name, int(deadline.remainingTime()), &stationPid);
    }
    if (answer == Answer::Shown)
        return Claim::HandedOver;
    const QString station = stationPid > 0 ? QStringLiteral("die Zentrale (Prozess %1)").arg(stationPid)
                                           : QStringLiteral("eine Zentrale");
    m_failure = answer == Answer::Refused
                    ? QStringLiteral("Im Programmordner %1 läuft bereits %2 unter einem anderen Benutzer; "
                                     "ihr Fenster kann nicht angezeigt werden. Dieser Start wird beendet.")
                    : QStringLiteral("Im Programmordner %1 läuft bereits %2, die nicht rechtzeitig geantwortet "
                                     "hat; ihr Fenster kann nicht angezeigt werden. Dieser Start wird beendet.");
    m_failure = m_failure.arg(m_folder, station);
    return Claim::Unreachable;
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
