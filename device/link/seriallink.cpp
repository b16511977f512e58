#include "device/link/seriallink.h"

#include "core/logs/generallog.h"
#include "core/platform/clock.h"
#include "core/platform/codepage.h"
#include "core/platform/waits.h"
#include "core/station/prompts.h"
#include "core/station/stationsettings.h"
#include "core/station/stationview.h"
#include "device/link/busclaim.h"
#include "device/link/portwatch.h"
#include "device/link/serialport.h"
#include "device/messages/messageheader.h"

#include <QScopeGuard>
#include <QScopedValueRollback>

#include <algorithm>

namespace {
// Characters older than this are the rest of an earlier transmission.
constexpr qint64 kStaleMs = 2000;
// Waits let events run at least this often; the window stays alive meanwhile.
constexpr int kSliceMs = 100;
// The time-out of an answer counts in steps of this length.
constexpr int kTimeoutStepMs = 200;
// The longest quiet-line wait.
constexpr qint64 kLineIdleLimitMs = 20000;

constexpr int kHandshakeLength = 10;
const QString kHandshakeWord = QStringLiteral("Connect");

qint64 nowMs() { return appClock().monotonicMs(); }
} // namespace

SerialLink::SerialLink()
{
    m_lookTimer.setSingleShot(true);
    m_lookTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_lookTimer, &QTimer::timeout, this, &SerialLink::lookAtLine);
}

SerialLink::~SerialLink() = default;

SerialLink &serialLink()
{
    // Never destroyed: the port may still be open when the program ends.
    static SerialLink *link = new SerialLink;
    return *link;
}

void SerialLink::setPort(SerialPort *port)
{
    if (m_port)
        disconnect(m_port, nullptr, this, nullptr);
    if (!port) {
        if (!m_hardware)
            m_hardware = new HardwareSerialPort(this);
        port = m_hardware;
    }
    m_port = port;
    connect(m_port, &SerialPort::readyRead, this, &SerialLink::onReadyRead);
    connect(m_port, &SerialPort::lineLost, this, &SerialLink::loseLine);
    connect(m_port, &SerialPort::bytesTakenElsewhere, this, [] { reportOtherReader(); });
}

void SerialLink::reset()
{
    if (m_port)
        m_port->close();
    m_buffer.clear();
    m_examinePending = false;
    m_examinePosted = false;
    m_hasReceived = false;
    m_lastReceiveMs = 0;
    m_quietSeenMs = 0;
    m_lookTimer.stop();
    m_lookDueAtMs = -1;
    m_openError.clear();
    m_loggedOpenError.clear();
    settings().portOk = false;
    resetBusClaims();
    resetPortWatch();
}

bool SerialLink::openComPort(int portNumber)
{
    if (!m_port)
        setPort(nullptr);
    m_port->close();
    const int baud = settings().comMode != kModeConverter ? kBaudAdapter : kBaudConverter;
    settings().portOk = m_port->open(serialPortPath(portNumber), baud);
    if (settings().portOk) {
        m_openError.clear();
        m_loggedOpenError.clear();
    } else {
        m_openError = openRefusal();
        // Who holds the port is news even at a try of the watch over the port;
        // the driver's own words are logged with the box.
        if (m_port->holder().pid > 0)
            logOpenError();
    }
    updateConnectionStatus();
    return settings().portOk;
}

QString SerialLink::openRefusal() const
{
    const QString portName = settings().comPortName();
    const PortHolder holder = m_port->holder();
    if (!holder.staleLockFile.isEmpty())
        return QStringLiteral("Die Schnittstelle %1 ist durch die Sperrdatei %2 des beendeten Prozesses %3 gesperrt. "
                              "Diese Datei muss entfernt werden.")
            .arg(portName, holder.staleLockFile, QString::number(holder.pid));
    if (holder.pid > 0)
        return QStringLiteral("Die Schnittstelle %1 wird bereits von Prozess %2 verwendet.")
            .arg(portName, QString::number(holder.pid));
    return m_port->errorString();
}

void SerialLink::logOpenError()
{
    // Once for each cause, not at every try, until the port is open again.
    if (m_openError == std::exchange(m_loggedOpenError, m_openError))
        return;
    logAllgemein(m_port->holder().pid > 0 ? m_openError
                                          : QStringLiteral("Fehler beim Öffnen der Schnittstelle ")
                                                + settings().comPortName() + QStringLiteral(": '") + m_openError
                                                + u'\'');
}

void SerialLink::closePort()
{
    if (m_port)
        m_port->close();
    settings().portOk = false;
}

void SerialLink::showPortOpenError()
{
    logOpenError();
    inform(QStringLiteral("Fehler beim Öffnen der Schnittstelle: \r\n'") + m_openError
               + QStringLiteral("'\r\nBitte wählen Sie eine andere Konfiguration"),
           QStringLiteral("COM"), Prompts::Icon::Critical);
    appView().showPage(5);
}

void SerialLink::loseLine()
{
    // The driver's error and the write that failed with it are one break: told once.
    if (!settings().portOk)
        return;
    // Every wait now fails at once instead of spinning until its time-out.
    const QString reason = m_port->errorString();
    m_port->close();
    settings().portOk = false;
    reportPortLost(reason);
}

void SerialLink::updateConnectionStatus()
{
    // The mode list of the configuration page always shows the current mode
    // here: it is selected from the mode before the port opens, and the mode is
    // taken from it before the port is reopened.
    appView().showConnectionStatus(QStringLiteral("Verbinde ..."), ConnectionColor::Neutral);
    switch (connectAdapter(settings().comMode)) {
    case -1:
        appView().showConnectionStatus(QStringLiteral("Fehler beim Senden / Keine Antwort"),
                                       ConnectionColor::Red);
        break;
    case -3:
        appView().showConnectionStatus(busBusyReason(), ConnectionColor::Neutral);
        break;
    case 0:
        appView().showConnectionStatus(QStringLiteral("Bereit"), ConnectionColor::Green);
        break;
    default:
        appView().showConnectionStatus(QStringLiteral("n/a"), ConnectionColor::Unchanged);
        break;
    }
}

int SerialLink::connectAdapter(int mode)
{
    QString greeting;
    if (mode == kModeCable)
        greeting = QStringLiteral("K2Connect@");
    else if (mode == kModeBluetooth)
        greeting = QStringLiteral("B3Connect@");
    else
        return -2;

    // The handshake empties the buffer: never under a running exchange.
    BusTransaction exchange;
    if (!exchange.granted())
        return -3;

    if (!sendCommand(greeting) && waitForReceived(kHandshakeLength, kAnswerTimeoutMs, kAnswerIdleMs) == 0) {
        QString answer;
        takeReceived(kHandshakeLength, answer);
        if (answer.mid(2, kHandshakeWord.size()) == kHandshakeWord) {
            clearReceived();
            return 0;
        }
    }
    clearReceived();
    return -1;
}

bool SerialLink::portOpen() const { return settings().portOk && m_port && m_port->isOpen(); }

bool SerialLink::sendCommand(const QString &text)
{
    if (!portOpen())
        return false;
    if (!m_port->write(codepage::encode(text))) {
        loseLine();
        return true;
    }
    setDataIndicator(1);
    appView().echoTerminal(text, true);
    return false;
}

void SerialLink::setDataIndicator(int kind)
{
    if (kind >= 0 && kind <= 2)
        appView().setDataIndicator(kind);
}

void SerialLink::clearReceived()
{
    lookAtLine();
    dropReceived(m_hasReceived ? quietAfterLastReceive() : std::numeric_limits<qint64>::max());
}

void SerialLink::dropReceived(qint64 quietForMs)
{
    if (m_buffer.isEmpty())
        return;
    m_buffer = m_automatic.beforeDrop ? m_automatic.beforeDrop(m_buffer, quietForMs) : QString();
    // What stayed is a unit's message under way: never the next answer.
    if (!m_buffer.isEmpty())
        examineAgain();
}

void SerialLink::examineAgain()
{
    m_examinePending = true;
    // No character may come to start a round: an idle station looks all the same.
    if (!std::exchange(m_examinePosted, true))
        QMetaObject::invokeMethod(this, [this] {
            m_examinePosted = false;
            examinePending();
        }, Qt::QueuedConnection);
}

void SerialLink::examinePending()
{
    if (!std::exchange(m_examinePending, false))
        return;
    if (m_buffer.size() >= kHeaderLength && m_automatic.check)
        m_automatic.check(0);
}

int SerialLink::takeReceived(int count, QString &out)
{
    if (count < 0) {
        out.clear();
        return 0;
    }
    if (count == 0 || m_buffer.size() <= count) {
        out = m_buffer;
        m_buffer.clear();
        return static_cast<int>(out.size());
    }
    out = m_buffer.left(count);
    m_buffer.remove(0, count);
    if (m_buffer.size() >= kHeaderLength)
        examineAgain();
    return count;
}

void SerialLink::appendReceived(const QString &text)
{
    m_buffer += text;
    m_newestCharMs = m_lastReceiveMs;
    appView().echoTerminal(text, false);
}

qint64 SerialLink::msSinceLastReceive() const { return nowMs() - m_lastReceiveMs; }

qint64 SerialLink::quietAfterLastReceive() const { return std::max<qint64>(0, m_quietSeenMs - m_lastReceiveMs); }

bool SerialLink::lookAtLine()
{
    if (m_lookDueAtMs >= 0 && nowMs() >= m_lookDueAtMs)
        m_lookDueAtMs = -1;
    if (m_port && m_port->isOpen() && m_port->holdsUnread())
        return false;
    m_quietSeenMs = nowMs();
    return true;
}

bool SerialLink::portHolds() const { return m_port && m_port->isOpen() && m_port->bytesAvailable() > 0; }

void SerialLink::receivePending()
{
    if (portHolds())
        receiveRound(true);
    examinePending();
}

void SerialLink::onReadyRead() { readRounds(true); }

void SerialLink::readRounds(bool judgeStale)
{
    // The port stays silent about bytes that come while this handler runs
    // (events run inside it), so it reads again until the port holds nothing
    // more. What a later round finds came while an earlier one ran, right
    // behind what that one read: it is stamped but never judged stale.
    // Under a wait, whose port signal this may be, one round only: a line that
    // never falls quiet must not hold the wait from its condition. What is left
    // is read by the wait's next slice or, at the latest, by the next pass of
    // events.
    const bool underWait = m_inPortWait || appWaits().pumping();
    for (bool firstRound = true; portHolds() && (firstRound || !underWait); firstRound = false)
        receiveRound(judgeStale && firstRound);
    if (portHolds() && !std::exchange(m_rereadPosted, true))
        QMetaObject::invokeMethod(this, [this] {
            m_rereadPosted = false;
            readRounds(false);
        }, Qt::QueuedConnection);
}

void SerialLink::receiveRound(bool judgeStale)
{
    setDataIndicator(2);
    if (judgeStale && m_hasReceived && quietAfterLastReceive() > kStaleMs)
        dropReceived(quietAfterLastReceive());
    appWaits().pumpEvents();
    const qsizetype seen = m_buffer.size();
    const QByteArray bytes = m_port->isOpen() ? m_port->readAll() : QByteArray();
    // Stamped once read: what events ran before did not keep the line quiet.
    m_lastReceiveMs = nowMs();
    m_hasReceived = true;
    if (!bytes.isEmpty())
        appendReceived(codepage::decode(bytes));
    // A station with nothing to do learns of a quiet line only by looking.
    if (!m_buffer.isEmpty()) {
        m_lookDueAtMs = m_lastReceiveMs + kStaleMs + 1;
        m_lookTimer.start(int(kStaleMs + 1));
    }
    if (m_buffer.size() >= kHeaderLength && m_automatic.check)
        m_automatic.check(seen);
    appWaits().pumpEvents();
}

void SerialLink::waitForInput(int ms)
{
    if (ms <= 0)
        return;
    if (m_port && m_port->isOpen()) {
        const QScopedValueRollback inPortWait(m_inPortWait, true);
        m_port->waitForReadyRead(ms);
    } else {
        appWaits().sleepMs(ms);
    }
}

int SerialLink::waitForReceived(int count, int timeoutMs, int idleMs)
{
    const qsizetype entryLength = m_buffer.size();
    if (!settings().portOk || !m_port)
        return -1;
    const qint64 timeout = qint64(timeoutMs / kTimeoutStepMs) * kTimeoutStepMs;
    if (timeout <= 0)
        return -1;
    // Enough at once, unless a unit's message may stand in front of the answer.
    if (m_buffer.size() >= count && !m_examinePending)
        return 0;

    // Only characters that stay in the buffer are this exchange's: a unit's
    // own message is taken out as soon as it is recognised, and a contact that
    // chatters must not keep the wait alive for good. So the time-out counts
    // from the start while nothing stays, and once something stays, the idle
    // limit counts from the newest character that did. On top, the wait never
    // outlasts count characters at the slowest pace that rule lets through.
    const qint64 start = nowMs();
    const qint64 missing = std::max<qint64>(count - entryLength, 0);
    const qint64 giveUpAt = std::min(m_waitLimitMs, start + timeout + missing * idleMs);
    const QScopedValueRollback enclosing(m_waitLimitMs, giveUpAt);
    // A unit's message may stand behind what the exchange leaves in the buffer.
    const auto lookAgain = qScopeGuard([this] {
        if (m_buffer.size() >= kHeaderLength)
            examineAgain();
    });
    const QScopedValueRollback awaiting(m_charactersAwaited, qsizetype(count));
    for (;;) {
        appWaits().pumpEvents();
        receivePending();
        // Past the limit the buffer's front may be a unit's own message whose
        // collection the limit broke off: never an answer.
        if (nowMs() >= giveUpAt)
            return -1;
        if (m_buffer.size() >= count)
            return 0;
        if (!settings().portOk)
            return -1;
        // Characters waiting unread end neither the time-out nor the idle limit: they are read first.
        const bool quiet = lookAtLine();
        const qint64 left = std::min(!quiet                             ? kSliceMs
                                     : m_buffer.size() > entryLength ? idleMs + 1 - (nowMs() - m_newestCharMs)
                                                                     : start + timeout - nowMs(),
                                     giveUpAt - nowMs());
        if (left <= 0)
            return -1;
        if (m_port->bytesAvailable() > 0)
            continue;
        waitForInput(static_cast<int>(std::min<qint64>(left, kSliceMs)));
    }
}

void SerialLink::waitLineIdle(int ms)
{
    watchLine(std::numeric_limits<qsizetype>::max(), ms, nowMs() + kLineIdleLimitMs);
}

SerialLink::LineEvent SerialLink::watchLine(qsizetype size, int quietMs, qint64 giveUpAtMs)
{
    const qint64 giveUpAt = std::min(m_waitLimitMs, giveUpAtMs);
    const QScopedValueRollback enclosing(m_waitLimitMs, giveUpAt);
    for (;;) {
        appWaits().pumpEvents();
        receivePending();
        if (m_buffer.size() > size)
            return LineEvent::Received;
        const bool quiet = lookAtLine();
        if (!m_hasReceived || (quiet && msSinceLastReceive() > quietMs))
            return LineEvent::Quiet;
        const qint64 left = std::min<qint64>(quiet ? quietMs + 1 - msSinceLastReceive() : kSliceMs, giveUpAt - nowMs());
        if (left <= 0)
            return LineEvent::TimeUp;
        if (m_port && m_port->bytesAvailable() > 0)
            continue;
        waitForInput(static_cast<int>(std::min<qint64>(left, kSliceMs)));
    }
}

bool SerialLink::enclosingWaitOver() const { return nowMs() >= m_waitLimitMs; }
