#pragma once
// One station per program folder. The station holds a lock on the folder's
// empty file "Nuvax.lock" (folderlock.h), which only those who may write the
// folder, and so could run the station there, can open. A later start on the
// same folder finds the lock held, asks the station through a socket named
// after its folder in the kernel's abstract namespace to show its window, and
// ends without touching the folder's files.
//
// Such a name carries no rights, so the one who answers on it counts only when
// its user may write the folder: a name another process took keeps no station
// from starting, only later starts from reaching it, and a hand-over is taken
// only from a process of this user that holds the lock. Where no lock can be
// had (a read-only folder, a file system without locks, a lock file this user
// may not write, something else in its place) a station of the folder on the
// name keeps a second station out, and a station that starts so says why.
#include "core/platform/descriptor.h"

#include <QObject>
#include <QString>

struct FolderLock;

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
    // reached, or why this station runs guarded by the name alone or not at
    // all (which its general log gets too). Empty when all went well.
    QString failure() const { return m_failure; }

signals:
    // A later start on this folder asks for the main window.
    void showRequested();

private:
    Claim becomeStation(FolderLock lock, Descriptor listening, const QString &nameProblem);
    void answerStartsOn(Descriptor listening);
    void answerStarts();

    QString m_folder;
    int m_answerWaitMs;
    Descriptor m_lock;
    Descriptor m_listening;
    QString m_failure;
};
