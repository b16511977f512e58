#pragma once
// One station per program folder. The station holds a socket named after its
// folder in the kernel's abstract namespace: the name goes with the process,
// however it ends, and nothing is written for it. A later start on the same
// folder finds the name taken, asks the station to show its window and ends
// without touching the folder's files.
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
    void answerStarts();

    QString m_folder;
    int m_answerWaitMs;
    int m_fd = -1;
    QString m_failure;
};
