#pragma once
// device/link: the serial port (serialport.h) and the lock file that names
// who holds it (portlock.h), this link over it, who may use the bus
// (busclaim.h), the port's settings (comsettings.h) and the watch that tells a
// broken line and opens the port again (portwatch.h). Every other part of
// device/ reaches the units through here.
//
// The serial link to the unit bus: the one port, the receive buffer and every
// wait for the units. One object for the whole run, reached through serialLink().
//
// Receiving: one read round (receiveRound) is the only way bytes leave the
// port. The port's readyRead runs rounds until the port holds nothing more,
// and every wait runs one a slice (receivePending), because the port stays
// silent about new bytes while one of its own readyRead handlers still runs
// (an automatic message waits inside it for the line to fall quiet).
// The buffer is never emptied blindly: the automatic messages in it are
// handed on first, so no unit's alarm goes with the characters nobody wants.
//
// Waits let pending events run between short slices, so the one-second tick and
// the receive path run inside them; they end as soon as their condition holds.
//
// A quiet line is one seen holding nothing unread: while the station is busy
// elsewhere the units' characters wait with the driver, and that pause is the
// station's, not the line's. So every judgement of silence (a stale fragment,
// the end of a message, the idle limit of a wait) counts only the time up to
// the latest look that found the port empty.
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <limits>

class SerialPort;

// Line rates of the converter and of the two adapter modes.
constexpr int kBaudConverter = 300;
constexpr int kBaudAdapter = 9600;

// The usual limits of a wait for an answer.
constexpr int kAnswerTimeoutMs = 3000;
constexpr int kAnswerIdleMs = 2000;

class SerialLink : public QObject
{
    Q_OBJECT
public:
    SerialLink();
    ~SerialLink() override;

    // Opens port number n (1-based) at the rate of the current mode, closing it
    // first when open; records the outcome in settings().portOk and then shows
    // the adapter's connection status. True when the port is open. A port that
    // another process holds is logged at once, naming that process or the lock
    // file it left: once for each cause until the port opens.
    bool openComPort(int portNumber);
    // The box for a port that could not be opened, with its general-log entry
    // once for each cause; then the configuration page.
    void showPortOpenError();
    // Gives the port back before the process ends: only closing it removes the
    // lock file the driver keeps for it, which would keep others out.
    void closePort();
    // Runs the adapter handshake of the current mode and shows its outcome.
    void updateConnectionStatus();
    // 0 connected, -1 sending failed or no valid answer, -2 no handshake in this mode,
    // -3 refused because another exchange runs.
    int connectAdapter(int mode);

    // Writes the text unchanged and echoes it to the terminal. True only when
    // the write failed, which closes the port as a broken line does; with the
    // port closed nothing is written and the result is false (the wait that
    // follows then fails at once).
    bool sendCommand(const QString &text);
    // The port opened and still open: a write can reach the bus.
    bool portOpen() const;
    // Sends as sendCommand does, but true only when the text went out: for the
    // callers that stop once a frame cannot reach the units.
    bool sendFrame(const QString &text) { return portOpen() && !sendCommand(text); }

    // The characters received and not taken yet, oldest first.
    const QString &received() const { return m_buffer; }
    // Drops what the buffer holds once the automatic messages in it have been
    // handed on; one still arriving stays.
    void clearReceived();
    // Takes count characters from the front (all of them for count 0 or when
    // no more are buffered) into out; returns how many were taken. What stays
    // is looked at again by the receive path: a unit's message may stand
    // behind an answer.
    int takeReceived(int count, QString &out);
    // 0 once count characters are buffered; -1 when the port is not open, when
    // nothing that stays in the buffer arrives within the time-out, or when
    // none has come for longer than idleMs after such characters began to
    // come. A unit's own message, taken out of the buffer, keeps no wait alive.
    // Whatever arrives, it returns after the time-out plus idleMs for each
    // character still missing, at the latest.
    int waitForReceived(int count, int timeoutMs, int idleMs);
    // Returns once nothing has been received for more than ms, at the latest
    // after about 20 s; at once when nothing has been received yet.
    // A wait that runs inside another one (a unit's own message collected
    // while an answer is awaited) ends by the enclosing wait's limit too.
    void waitLineIdle(int ms);
    enum class LineEvent { Received, Quiet, TimeUp };
    // Waits until the buffer holds more than size characters, the line has
    // been quiet for more than quietMs (at once when nothing has been received
    // yet), or the monotonic clock reaches giveUpAtMs or the limit of the wait
    // this runs inside.
    LineEvent watchLine(qsizetype size, int quietMs, qint64 giveUpAtMs);
    // The wait this runs inside has reached its limit.
    bool enclosingWaitOver() const;
    // While an exchange waits for its answer, how many characters from the
    // buffer's front it waits for: they may be that answer's. 0 otherwise.
    qsizetype charactersAwaited() const { return m_charactersAwaited; }
    // Has the automatic messages' check look at the whole buffer again: at a
    // wait's next slice, or soon when none comes.
    void examineAgain();
    // Reads what the port holds into the buffer: the one receive path, taken
    // by every wait once a slice and, reading until the port holds nothing
    // more, by the port's own signal.
    void receivePending();
    // Looks whether the port holds anything unread; true, and the line counts
    // as quiet up to now, when it holds nothing. Every wait looks once a
    // slice; an idle station looks once a fragment in the buffer may have
    // gone stale, by a timer of the event loop. A simulated event loop asks
    // when that look is due (the monotonic time, -1 when none is) and runs it.
    bool lookAtLine();
    qint64 lookDueAtMs() const { return m_lookDueAtMs; }

    // 0 idle, 1 sending, 2 receiving; other values change nothing.
    void setDataIndicator(int kind);

    // A port of the caller's instead of the real one (tests); nullptr goes back to the real port.
    void setPort(SerialPort *port);
    // The automatic messages' part in the receive path. check is run whenever
    // the buffer holds 12 characters or more, told where the characters it
    // has not seen yet begin: all of them when the buffer is to be looked at
    // again, only what a read brought otherwise, so a line full of noise
    // costs the same at every read. beforeDrop is handed the buffer before it is emptied, with how long the
    // line has been quiet; it hands on the automatic messages in it and
    // returns what must stay: the start of one still arriving.
    struct AutomaticMessages
    {
        std::function<void(qsizetype firstUnseen)> check;
        std::function<QString(const QString &buffer, qint64 quietForMs)> beforeDrop;
    };
    void setAutomaticMessages(AutomaticMessages handlers) { m_automatic = std::move(handlers); }
    // Back to the state at start: port closed, buffer empty, nothing received yet.
    void reset();

private:
    // The port is open and holds bytes not read yet.
    bool portHolds() const;
    void onReadyRead();
    void readRounds(bool judgeStale);
    void receiveRound(bool judgeStale);
    void appendReceived(const QString &text);
    void waitForInput(int ms);
    // Empties the buffer as clearReceived does.
    void dropReceived(qint64 quietForMs);
    // Runs the automatic messages' check when a look is pending. Under a wait
    // for an answer it leaves that answer's characters alone, and the wait
    // asks for another look when it ends.
    void examinePending();
    // The line broke (the port's error, or a write that failed): closes the
    // port and has the break told.
    void loseLine();
    qint64 msSinceLastReceive() const;
    // How long the line was quiet after the latest read, up to the latest look
    // that found nothing unread.
    qint64 quietAfterLastReceive() const;
    // Why the latest opening failed, in the box's words.
    QString openRefusal() const;
    void logOpenError();

    SerialPort *m_hardware = nullptr;  // created on first use
    SerialPort *m_port = nullptr;
    QString m_buffer;
    AutomaticMessages m_automatic;
    bool m_hasReceived = false;
    bool m_inPortWait = false;
    bool m_rereadPosted = false;
    bool m_examinePending = false;
    bool m_examinePosted = false;
    qsizetype m_charactersAwaited = 0;
    // When the latest read took characters: those came by then.
    qint64 m_lastReceiveMs = 0;
    // When a look last found the port holding nothing unread.
    qint64 m_quietSeenMs = 0;
    QTimer m_lookTimer;
    qint64 m_lookDueAtMs = -1;
    // When the newest character still in the buffer came.
    qint64 m_newestCharMs = 0;
    // The monotonic time the innermost running wait gives up at; none outside a wait.
    qint64 m_waitLimitMs = std::numeric_limits<qint64>::max();
    QString m_openError;
    // The failure to open last written to the general log, until the port opens.
    QString m_loggedOpenError;
};

SerialLink &serialLink();
