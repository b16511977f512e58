#include "ui/programend.h"

#include "core/station/stoprequest.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::function<void(int)> installedEnd;

// A logout ends the session's processes with SIGTERM, or with SIGHUP when the
// station runs under the terminal of that session.
constexpr std::array kTerminationSignals = {SIGTERM, SIGHUP, SIGINT};

// The write end of the pair the current TerminationSignals listens on.
volatile sig_atomic_t signalFd = -1;

void onTerminationSignal(int signo)
{
    // The code the signal interrupted may be about to read errno.
    const int savedErrno = errno;
    requestStop();
    const int fd = signalFd;
    if (fd >= 0) {
        const char byte = static_cast<char>(signo);
        // Nothing else may run in a signal handler; the event loop does the rest. The pair does
        // not block: when its buffer is full, a signal is already waiting to be read.
        [[maybe_unused]] ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

void endProgram(int exitCode)
{
    if (installedEnd) {
        installedEnd(exitCode);
        return;
    }
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void installProgramEnd(std::function<void(int)> end) { installedEnd = std::move(end); }

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds) != 0) {
        m_fds[0] = m_fds[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    signalFd = m_fds[0];

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    static_assert(std::tuple_size_v<decltype(m_found)> == kTerminationSignals.size());
    for (size_t i = 0; i < m_found.size(); ++i) {
        const int signo = kTerminationSignals[i];
        sigaction(signo, nullptr, &m_found[i]);
        // The starter's choice for a hangup or an interrupt; the end on SIGTERM stays.
        if (signo == SIGTERM || m_found[i].sa_handler != SIG_IGN)
            sigaction(signo, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals()
{
    clearStopRequest();
    if (m_fds[0] < 0)
        return;
    for (size_t i = 0; i < m_found.size(); ++i)
        sigaction(kTerminationSignals[i], &m_found[i], nullptr);
    signalFd = -1;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void TerminationSignals::listen()
{
    if (m_notifier)
        m_notifier->setEnabled(true);
}

void TerminationSignals::readPending()
{
    char bytes[64];
    bool received = false;
    while (::read(m_fds[1], bytes, sizeof bytes) > 0)
        received = true;
    if (received)
        emit terminationRequested();
}
