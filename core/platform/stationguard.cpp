#include "core/platform/stationguard.h"

#include "core/platform/folderlock.h"

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
#include <sys/stat.h>
#include <sys/un.h>
#include <utility>
#include <vector>

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

// A socket listening on the name; not open, with errno telling why, when it cannot.
Descriptor listenOn(const AbstractAddress &name)
{
    // Close-on-exec: a program the station starts must not hold the name after it.
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.isOpen()
        && (::bind(socket.get(), name.get(), name.length) != 0 || ::listen(socket.get(), SOMAXCONN) != 0)) {
        const int error = errno;
        socket = Descriptor();
        errno = error;
    }
    return socket;
}

bool peerInGroup(int socket, const ucred &peer, gid_t group)
{
    if (peer.gid == group)
        return true;
    std::vector<gid_t> groups(64);
    socklen_t length = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        length = socklen_t(groups.size() * sizeof(gid_t));
        if (::getsockopt(socket, SOL_SOCKET, SO_PEERGROUPS, groups.data(), &length) == 0)
            break;
        if (errno != ERANGE)
            return false;
        groups.resize(length / sizeof(gid_t));
    }
    groups.resize(std::min(groups.size(), length / sizeof(gid_t)));
    return std::ranges::find(groups, group) != groups.end();
}

// The process at the other end, and whether its user may write the program folder: only such a
// process can be a station of the folder; any other may have taken the name.
struct Peer
{
    long pid = 0;
    uid_t uid = 0;
    bool mayWriteFolder = false;
};

std::optional<Peer> peerOf(int socket, const struct stat &folder)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0)
        return std::nullopt;
    // The folder's rights as the kernel applies them: the owner's, else the group's, else the others'.
    mode_t right = S_IWOTH;
    if (peer.uid == folder.st_uid)
        right = S_IWUSR;
    else if (peerInGroup(socket, peer, folder.st_gid))
        right = S_IWGRP;
    return Peer{peer.pid, peer.uid, peer.uid == 0 || (folder.st_mode & right) != 0};
}

enum class Answer { Shown, Refused, Silent, Gone, Stranger };

struct Reply
{
    Answer answer;
    long station = 0; // its process, 0 when not known
};

// Asks the process on the name to show the station's window. Its answer is taken only from a
// process of this user that holds the guard: the lock when one is held, else the name.
Reply askStation(const AbstractAddress &name, int waitMs, const struct stat &folder, const FolderLock &lock)
{
    const QDeadlineTimer deadline(waitMs);
    const Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.isOpen())
        return {Answer::Silent};
    // A station whose queue of starts is full keeps the connect waiting: not longer than the whole wait.
    // (A limit of zero would mean none.)
    const int limitMs = std::max(waitMs, 1);
    const timeval limit{limitMs / 1000, (limitMs % 1000) * 1000};
    ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(socket.get(), name.get(), name.length) != 0)
        return {errno == ECONNREFUSED ? Answer::Gone : Answer::Silent};

    const std::optional<Peer> peer = peerOf(socket.get(), folder);
    if (!peer || !peer->mayWriteFolder)
        return {Answer::Stranger};
    if (peer->uid != ::geteuid())
        return {Answer::Refused, peer->pid};
    if (lock.state == FolderLock::Held && !holdsStationLock(peer->pid, lock.device, lock.inode))
        return {Answer::Stranger};
    pollfd reply{socket.get(), POLLIN, 0};
    int ready;
    do
        ready = ::poll(&reply, 1, int(deadline.remainingTime()));
    while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return {Answer::Silent, peer->pid};
    char shown = 0;
    const ssize_t received = ::recv(socket.get(), &shown, 1, 0);
    if (received == 1 && shown == '1')
        return {Answer::Shown, peer->pid};
    // Closed unanswered: a station that has just ended.
    return {received == 0 ? Answer::Gone : Answer::Silent, peer->pid};
}

FolderLock folderNotOpened(const QString &folder, int error)
{
    FolderLock lock;
    lock.problem = QStringLiteral("%1 kann nicht geöffnet werden (%2)").arg(folder, qt_error_string(error));
    return lock;
}

} // namespace

StationGuard::StationGuard(const QString &programFolder, int answerWaitMs, QObject *parent)
    : QObject(parent), m_folder(programFolder), m_answerWaitMs(answerWaitMs)
{
}

StationGuard::~StationGuard() = default;

StationGuard::Claim StationGuard::claim()
{
    const QDeadlineTimer deadline(m_answerWaitMs);
    const AbstractAddress name(socketName(m_folder));
    const QString lockPath = QDir(m_folder).filePath(QStringLiteral("Nuvax.lock"));
    const Descriptor folder(::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const int folderError = errno;
    struct stat folderInfo{};
    if (folder.isOpen())
        ::fstat(folder.get(), &folderInfo);

    FolderLock lock;
    Reply reply{Answer::Gone};
    // A station that ends while it is asked leaves the folder to this start.
    for (int attempt = 0; attempt < 3 && reply.answer == Answer::Gone; ++attempt) {
        lock = folder.isOpen() ? lockFolder(folder.get(), lockPath) : folderNotOpened(m_folder, folderError);
        if (lock.state != FolderLock::Held) {
            Descriptor listening = listenOn(name);
            if (listening.isOpen() || errno != EADDRINUSE)
                return becomeStation(std::move(lock), std::move(listening), qt_error_string(errno));
            // The name is taken: by a station that runs without the lock, or by any process at all.
        }
        reply = askStation(name, int(deadline.remainingTime()), folderInfo, lock);
        if (lock.state != FolderLock::Held && reply.answer == Answer::Stranger)
            return becomeStation(std::move(lock), Descriptor(),
                                 QStringLiteral("der Name, über den eine Zentrale erreicht wird, ist von einem "
                                                "Prozess belegt, dessen Benutzer den Programmordner nicht "
                                                "schreiben darf"));
    }
    if (reply.answer == Answer::Shown)
        return Claim::HandedOver;
    if (reply.station == 0 && lock.state == FolderLock::Held)
        reply.station = stationLockHolder(lock.device, lock.inode);
    const QString station = reply.station > 0 ? QStringLiteral("die Zentrale (Prozess %1)").arg(reply.station)
                                               : QStringLiteral("eine Zentrale");
    switch (reply.answer) {
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

StationGuard::Claim StationGuard::becomeStation(FolderLock lock, Descriptor listening, const QString &nameProblem)
{
    m_lock = std::move(lock.fd);
    const bool named = listening.isOpen();
    answerStartsOn(std::move(listening));
    if (lock.state == FolderLock::Taken)
        return Claim::Station;
    // Better a second station than none, but never unsaid.
    m_failure = named ? QStringLiteral("Die Sperre der Zentrale kann nicht genommen werden: %1. Ob im Programmordner "
                                       "%2 bereits eine Zentrale läuft, wird nur über ihren Namen geprüft.")
                            .arg(lock.problem, m_folder)
                      : QStringLiteral("Ob im Programmordner %1 bereits eine Zentrale läuft, konnte nicht geprüft "
                                       "werden (%2; %3). Die Zentrale startet trotzdem.")
                            .arg(m_folder, lock.problem, nameProblem);
    return Claim::Station;
}

void StationGuard::answerStartsOn(Descriptor listening)
{
    if (!listening.isOpen())
        return;
    m_listening = std::move(listening);
    auto *starts = new QSocketNotifier(m_listening.get(), QSocketNotifier::Read, this);
    connect(starts, &QSocketNotifier::activated, this, &StationGuard::answerStarts);
}

void StationGuard::answerStarts()
{
    for (;;) {
        const Descriptor start(::accept4(m_listening.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!start.isOpen()) {
            if (errno == EINTR)
                continue;
            return;
        }
        // Only a start of the station's own user may bring its window up.
        ucred peer{};
        socklen_t length = sizeof peer;
        if (::getsockopt(start.get(), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != ::geteuid())
            continue;
        emit showRequested();
        ::send(start.get(), "1", 1, MSG_NOSIGNAL);
    }
}
