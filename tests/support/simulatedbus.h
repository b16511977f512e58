#pragma once
// A bus of simulated units for tests, in two forms.
//
// In-process (most tests): SimulatedBus bus(clock, waits) with the test's
// FakeClock and FakeWaits. While alive the bus is the port behind serialLink();
// the station opens it as usual (serialLink().openComPort(n), any n). The units'
// bytes arrive by the fake clock: a wait of the link sleeps (advancing the clock)
// until the next byte is due, each pump of the FakeWaits delivers what is due
// (the bus owns the FakeWaits' pump hook), and advance() lets time pass outside
// any wait, delivering as the event loop would.
//
// On a pseudo-terminal: SimulatedBus bus(SimulatedBus::OnPty{}) puts the units
// behind a pty whose device is path(); point NUVAX_COM<n> at it and let the
// real QSerialPort of the link open port n. The units run in a thread of their
// own and pace their bytes by the wall clock. Configure units before the station
// starts talking to them.
//
// Units answer the status request (LF, address, "S00") and the find request
// (LF, address, "F00") with their status message, by default one character at
// a time at the line's byte rate (10 bits a character at the baud rate the
// station opened). The adapter greetings "K2Connect@" and "B3Connect@" get the
// adapter's reply. Everything the station writes is recorded with its time.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <map>
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
    int stopAfter = -1;     // sends only this many characters, then falls silent
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
    SimulatedBus(const SimulatedBus &) = delete;
    SimulatedBus &operator=(const SimulatedBus &) = delete;

    // The unit at a registry address (1..2000); its bus form is the address's text.
    SimUnit &addUnit(int address, const QString &message);
    // ... with a well-formed quiet message of the device type 1..13.
    SimUnit &addUnit(int address, int deviceType);
    // Status and find requests the unit has seen so far.
    int requestsTo(int address) const;
    // The adapter's answer to its greeting; "" leaves it silent. By default it
    // answers with the greeting itself.
    void setAdapterReply(const QString &reply);

    // Characters a unit sends by itself, starting delayMs from now (after
    // whatever the line still carries), at once or paced at the byte rate.
    void send(const QString &text, int delayMs = 0, bool paced = false);
    // The message cut into bursts of the given sizes, gapMs apart (the last
    // burst takes the rest).
    void sendInBursts(const QString &message, const QList<int> &sizes, int gapMs);

    QList<SimWrite> writeLog() const;
    QStringList writes() const;
    QString wire() const;   // everything written, in one text
    void clearWrites();

    // In-process only: the next opening fails with this description; writes fail.
    void failOpen(const QString &error);
    void failWrites(bool fail);
    // The line breaks: in-process the port reports it and closes; on a pty the
    // units' side closes, as an unplugged adapter does.
    void hangUp();
    // In-process only: time passes outside any wait, due characters arrive.
    void advance(int ms);

    QString path() const;   // the pty device the station opens
    // On a pty: characters of the units the station has not read yet, on their
    // way or waiting in the line (-1 in-process).
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
