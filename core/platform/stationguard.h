#pragma once
// One station per program folder. The station holds a lock on the folder's
// empty file "Nuvax.lock", opened for writing: only a process that may write
// the folder, and so could run the station there, can hold it, and the kernel
// gives it back with the process, however that ends. A later start on the same
// folder finds the lock held, asks the station through a socket named after
// its folder in the kernel's abstract namespace to show its window, and ends
// without touching the folder's files. Such a name carries no rights: one that
// another process took keeps no station from starting, only later starts from
// reaching it. Where no lock can be had (a read-only folder, a file system
// without locks) the name alone keeps a second station out.
#include <QObject>
#include <QString>

class StationGuard : public QObject
{
    Q_OBJECT
public:
    enum class Claim {
        Station,     // this process is the folder's station
        HandedOver,  // the folder's station shows its window
        Unreachable, // the folder's station runs but did not show its window; failure() says why
    };

    // programFolder as getAppPath() gives it; answerWaitMs bounds the whole hand-over.
    explicit StationGuard(const QString &programFolder, int answerWaitMs = 5000, QObject *parent = nullptr);
    ~StationGuard() override;
    StationGuard(const StationGuard &) = delete;
    StationGuard &operator=(const StationGuard &) = delete;

    Claim claim();
    // What the start tells on standard error: why the station could not be
    // reached, or why this station runs unguarded. Empty when all went well.
    QString failure() const { return m_failure; }

signals:
    // A later start on this folder asks for the main window.
    void showRequested();

private:
    void answerStartsOn(int fd);
    void answerStarts();

    QString m_folder;
    int m_answerWaitMs;
    int m_lockFd = -1;
    int m_fd = -1;
    QString m_failure;
};
