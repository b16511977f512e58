#pragma once
// How the station ends: after its files are saved the process ends at once,
// even when a wait of the bus is still on the stack below the caller; nothing
// may touch the bus or the files after the last save. Tests install their own end.
#include <QObject>
#include <array>
#include <csignal>
#include <functional>

void endProgram(int exitCode);
// An empty function goes back to the real end of the process.
void installProgramEnd(std::function<void(int)> end);

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, an administrator's stop)
// into a signal of the event loop, so the station can close in order. A signal
// is taken from the moment the object exists, and stops a task at once; the
// close itself waits for listen(), so a start under way ends first and nothing
// is saved that was not loaded. A hangup or an interrupt the station was started
// with ignored (nohup, a background job of a shell) stays ignored; the object's
// end puts back what it found.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    void listen();

signals:
    void terminationRequested();

private:
    void readPending();

    int m_fds[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    // SIGTERM, SIGHUP, SIGINT as they were before.
    std::array<struct sigaction, 3> m_found{};
};
