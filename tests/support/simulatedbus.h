#pragma once
// Simulated units answering "S00" and "F00" at the line's byte rate, and the adapter's greeting.
// In-process (clock, waits) it is serialLink()'s port, its bytes arriving by the fake clock; OnPty
// it serves a pseudo-terminal path() from a thread by the wall clock. Every station write is logged.
#include "device/link/portlock.h"

#include <QStringList>

#include <memory>

class FakeClock;
class FakeWaits;

struct SimUnit
{
    int address = 1;
    QString message;        // the whole status message, header included
    bool silent = false;    // never answers
    int answerAtTry = 1;    // answers its n-th request and every later one
    int replyDelayMs = 0;   // from the request to the first character
    bool paced = true;      // false: the whole answer arrives at once
    int stopAfter = -1;     // sends only this many characters, then falls silent (-1: all)
};

struct SimWrite
{
    qint64 atMs = 0;        // fake clock monotonicMs(), or ms since the pty bus started
    QString text;           // one write of the station (in-process); a chunk as read (pty)
};

class SimulatedBus
{
public:
    SimulatedBus(FakeClock &clock, FakeWaits &waits);
    struct OnPty {};
    explicit SimulatedBus(OnPty);
    ~SimulatedBus();

    // The unit at a registry address (1..2000), with its message or a quiet one of the device type.
    SimUnit &addUnit(int address, const QString &message);
    SimUnit &addUnit(int address, int deviceType);
    // The adapter's answer to its greeting ("": silent); by default the greeting itself.
    void setAdapterReply(const QString &reply);

    // Characters a unit sends by itself, delayMs from now (after whatever the
    // line still carries), at once or paced.
    void send(const QString &text, int delayMs = 0, bool paced = false);
    // The message in bursts of these sizes (the last takes the rest), gapMs apart.
    void sendInBursts(const QString &message, const QList<int> &sizes, int gapMs);
    // A unit's own message, paced, count times periodMs apart from now. Like a unit on the bus it
    // starts only once the line has been quiet for quietMs (no unit sending, no station frame).
    void chatter(const QString &message, int periodMs, int count, int quietMs);
    int chatterLeft() const; // the messages still to come
    // Units' own messages one after the other, paced, as units on one line send them when the mains fail:
    // each once the line (units and station) has been quiet for its pause, 0 for right behind.
    void burst(const QStringList &messages, const QList<int> &pausesMs);
    int burstLeft() const;   // the messages of bursts still to come

    QList<SimWrite> writeLog() const;
    QStringList writes() const;
    QString wire() const;   // everything written, in one text
    void clearWrites();

    // In-process only: the next opening fails with this description, because of
    // the holder when one is given; writes fail; another process reads what the port announced.
    void failOpen(const QString &error, const PortHolder &holder = {});
    void failWrites(bool fail);
    void readElsewhere();
    // The line breaks: in-process the port reports it and closes; on a pty the units' side closes.
    void hangUp();
    // In-process only: time passes outside any wait, due characters arrive.
    void advance(int ms);

    QString path() const;   // the pty device the station opens
    // On a pty: units' characters the station has not read yet (-1 in-process).
    int unreadByStation() const;
    int baud() const;       // the rate the station opened the line at
    double charMs() const;  // the line time of one character

private:
    struct State;
    class Port;
    class PtyThread;
    std::unique_ptr<State> d;
    std::unique_ptr<Port> m_port;
    std::unique_ptr<PtyThread> m_pty;
    FakeWaits *m_waits = nullptr;
};
