#include "support/simulatedbus.h"

#include "core/platform/codepage.h"
#include "core/registry/unitaddress.h"
#include "device/link/seriallink.h"
#include "device/link/serialport.h"
#include "device/messages/automessages.h"
#include "support/fakewaits.h"
#include "support/samplemessages.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <deque>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

static const QByteArray kGreetings[] = {QByteArrayLiteral("K2Connect@"), QByteArrayLiteral("B3Connect@")};
constexpr int kFrameBody = 6; // target and command code behind the line feed

// What the units do, shared by both forms of the bus. Times are ms on the bus's own clock.
struct SimulatedBus::State
{
    std::mutex mutex;
    std::function<double()> now;
    std::map<int, SimUnit> units;
    std::map<int, int> requests;
    std::optional<QByteArray> adapterReply; // none: the greeting itself
    QByteArray input;                    // written by the station, not yet understood
    QList<SimWrite> writes;
    std::multimap<double, char> pending; // characters on their way to the station
    double lineFreeAt = 0;
    double stationWroteAt = -1e9;
    struct Chatter { QByteArray message; double periodMs, quietMs, nextAt; int left; };
    std::vector<Chatter> chatters;
    struct Report { QByteArray message; double pauseMs; };
    std::deque<Report> reports;
    int baud = 9600;
    QString failOpen;
    PortHolder holder;
    bool failWrites = false;

    template <class F> decltype(auto) locked(F f) { std::lock_guard lock(mutex); return f(*this); }
    double charMs() const { return 10000.0 / baud; }
    double nextDue() const
    {
        double next = pending.empty() ? -1 : pending.begin()->first;
        for (const Chatter &c : chatters)
            if (c.left > 0 && (next < 0 || c.nextAt < next))
                next = c.nextAt;
        if (!reports.empty() && (next < 0 || nextReportAt() < next))
            next = nextReportAt();
        return next;
    }
    double lineQuietFrom() const { return std::max(lineFreeAt, stationWroteAt); }
    double nextReportAt() const { return lineQuietFrom() + reports.front().pauseMs; }

    // A paced character is there once its last bit is; returns when the line is free again.
    double place(const QByteArray &bytes, double start, bool paced)
    {
        for (qsizetype i = 0; i < bytes.size(); ++i)
            pending.emplace(start + (paced ? double(i + 1) * charMs() : 0.0), bytes[i]);
        return start + (paced ? double(bytes.size()) * charMs() : 0.0);
    }
    // A unit's transmission waits for the line to fall free; injected characters come when told.
    void transmit(const QByteArray &bytes, double start, bool paced) { lineFreeAt = place(bytes, std::max(start, lineFreeAt), paced); }
    void inject(const QByteArray &bytes, double start, bool paced) { lineFreeAt = std::max(lineFreeAt, place(bytes, start, paced)); }

    // A chattering unit that is due talks if the line has been quiet long enough, else it waits.
    void releaseChatter(double at)
    {
        for (Chatter &c : chatters) {
            if (c.left == 0 || c.nextAt > at)
                continue;
            const double quietFrom = lineQuietFrom() + c.quietMs;
            if (at < quietFrom) {
                c.nextAt = quietFrom;
                continue;
            }
            transmit(c.message, at, true);
            c.nextAt = at + c.periodMs;
            --c.left;
        }
        for (; !reports.empty() && nextReportAt() <= at; reports.pop_front())
            transmit(reports.front().message, nextReportAt(), true);
    }

    QByteArray takeDue(double at)
    {
        releaseChatter(at);
        QByteArray due;
        for (; !pending.empty() && pending.begin()->first <= at; pending.erase(pending.begin()))
            due.append(pending.begin()->second);
        return due;
    }

    void answer(const QByteArray &target, const QByteArray &code, double at)
    {
        for (auto &[address, unit] : units)
            if ((code == "S00" || code == "F00") && codepage::encode(formatUnitAddress(address)) == target
                && ++requests[address] >= unit.answerAtTry && !unit.silent)
                transmit(codepage::encode(unit.stopAfter < 0 ? unit.message : unit.message.left(unit.stopAfter)), at + unit.replyDelayMs,
                         unit.paced);
    }

    void stationWrote(const QByteArray &bytes)
    {
        const double at = now();
        writes.append({qint64(std::floor(at)), codepage::decode(bytes)});
        stationWroteAt = at;
        input += bytes;
        for (const QByteArray &greeting : kGreetings)
            if (const qsizetype pos = input.indexOf(greeting); pos >= 0) {
                input.remove(0, pos + greeting.size());
                transmit(adapterReply.value_or(greeting), at, true); // an empty reply sends nothing
            }
        for (;;) {
            const qsizetype lf = input.indexOf('\n');
            if (lf < 0) {
                input = input.right(kGreetings[0].size() - 1); // what could still become a greeting
                return;
            }
            if (input.size() < lf + 1 + kFrameBody) {
                input.remove(0, lf);
                return;
            }
            const QByteArray body = input.mid(lf + 1, kFrameBody);
            const qsizetype nextLf = body.indexOf('\n');
            input.remove(0, lf + 1 + (nextLf >= 0 ? nextLf : kFrameBody));
            if (nextLf < 0)
                answer(body.left(3), body.mid(3), at);
        }
    }
};

// The port the link sees in-process.
class SimulatedBus::Port : public SerialPort
{
public:
    Port(State &state, FakeClock &clock) : m_state(state), m_clock(clock) {}

    bool open(const QString &, int baud) override
    {
        std::lock_guard lock(m_state.mutex);
        m_error = m_state.failOpen;
        m_holder = m_error.isEmpty() ? PortHolder() : m_state.holder;
        if ((m_open = m_error.isEmpty()))
            m_state.baud = baud;
        return m_open;
    }
    PortHolder holder() const override { return m_holder; }
    void close() override { m_open = false, m_rx.clear(); }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override
    {
        std::lock_guard lock(m_state.mutex);
        if (!m_open || m_state.failWrites)
            return m_error = QStringLiteral("Write error"), false;
        m_state.stationWrote(bytes);
        return true;
    }
    QByteArray readAll() override { return deliver(), std::exchange(m_rx, {}); }
    qint64 bytesAvailable() const override { return const_cast<Port *>(this)->deliver(), m_rx.size(); }
    // A look at the line comes before what arrives at the same instant.
    bool holdsUnread() const override
    {
        const double next = dueAt();
        return !m_rx.isEmpty() || (m_open && next >= 0 && next < double(m_clock.monotonicMs()));
    }
    bool waitForReadyRead(int ms) override
    {
        const double next = dueAt(), now = double(m_clock.monotonicMs());
        if (!m_open)
            return false;
        const bool arrives = next >= 0 && next <= now + ms;
        appWaits().sleepMs(arrives ? int(std::ceil(std::max(0.0, next - now))) : ms);
        return arrives && (arrive(), true);
    }
    QString errorString() const override { return m_error; }

    double dueAt() const { return m_state.locked([](State &s) { return s.nextDue(); }); }
    // Moves what is due into the port's buffer, as the driver would.
    void deliver()
    {
        std::lock_guard lock(m_state.mutex);
        const QByteArray due = m_open ? m_state.takeDue(double(m_clock.monotonicMs())) : QByteArray();
        m_rx += due;
        m_arrivals += due.isEmpty() ? 0 : 1;
    }
    // ... and reports new bytes, but never from inside its own report.
    void arrive()
    {
        deliver();
        if (m_emitting || std::exchange(m_announced, m_arrivals) == m_arrivals || m_rx.isEmpty())
            return;
        m_emitting = true;
        emit readyRead();
        m_emitting = false;
    }
    void loseLine()
    {
        if (m_open) {
            close();
            m_error = QStringLiteral("Resource error");
            emit lineLost();
        }
    }

private:
    State &m_state;
    FakeClock &m_clock;
    bool m_open = false, m_emitting = false;
    QByteArray m_rx;
    QString m_error;
    PortHolder m_holder;
    int m_arrivals = 0, m_announced = 0;
};

// The units' side of a pseudo-terminal, run in a thread of its own.
class SimulatedBus::PtyThread
{
public:
    explicit PtyThread(State &state) : m_state(state)
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0 || pipe(m_wake) != 0)
            qFatal("openpty failed");
        m_path = QString::fromLocal8Bit(name);
        // Raw from the start, so nothing is echoed back before the station sets up the line.
        termios tio{};
        tcgetattr(m_slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_slave, TCSANOW, &tio);
        fcntl(m_wake[0], F_SETFL, O_NONBLOCK);
        m_state.now = [start = std::chrono::steady_clock::now()] {
            return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        };
        m_thread = std::thread([this] { run(); });
    }
    ~PtyThread()
    {
        m_stop = true, wake();
        m_thread.join();
        for (int fd : {m_master, m_slave, m_wake[0], m_wake[1]})
            ::close(fd); // -1 when already closed: harmless
    }

    QString path() const { return m_path; }
    int waitingInLine() const { int n = 0; return ioctl(m_slave, FIONREAD, &n) == 0 ? n : 0; }
    void wake() { [[maybe_unused]] auto n = ::write(m_wake[1], "x", 1); }
    void hangUp() { m_hangUp = true, wake(); }

private:
    // The station uses 300 and 9600 baud; any other rate shows as minus its termios code.
    int lineBaud() const
    {
        termios tio{};
        const speed_t speed = tcgetattr(m_slave, &tio) == 0 ? cfgetospeed(&tio) : B9600;
        return speed == B300 ? 300 : speed == B9600 ? 9600 : -int(speed);
    }

    void run()
    {
        char buffer[4096];
        while (!m_stop) {
            if (m_hangUp && m_master >= 0)
                ::close(std::exchange(m_master, -1));
            const double waitMs = m_state.locked([](State &s) {
                const double next = s.nextDue();
                return next < 0 ? 50.0 : std::clamp(next - s.now(), 0.0, 50.0);
            });
            pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            const timespec timeout{0, long(waitMs * 1e6)};
            ppoll(fds, 2, &timeout, nullptr);
            if (fds[1].revents & POLLIN)
                while (::read(m_wake[0], buffer, sizeof buffer) > 0) {
                }
            if (m_master >= 0 && (fds[0].revents & POLLIN)) {
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                if (n > 0)
                    m_state.locked([&](State &s) { s.baud = lineBaud(), s.stationWrote(QByteArray(buffer, n)); });
            }
            const QByteArray due = m_state.locked([](State &s) { return s.takeDue(s.now()); });
            for (qsizetype done = 0, n = 0; m_master >= 0 && done < due.size(); done += n)
                if ((n = ::write(m_master, due.constData() + done, size_t(due.size() - done))) <= 0)
                    break;
        }
    }

    State &m_state;
    int m_master = -1, m_slave = -1, m_wake[2] = {-1, -1};
    QString m_path;
    std::atomic<bool> m_stop{false}, m_hangUp{false};
    std::thread m_thread;
};

SimulatedBus::SimulatedBus(FakeClock &clock, FakeWaits &waits) : d(std::make_unique<State>()), m_waits(&waits)
{
    d->now = [&clock] { return double(clock.monotonicMs()); };
    m_port = std::make_unique<Port>(*d, clock);
    serialLink().reset(), installAutoMessageCheck(); // the link as the station starts it
    serialLink().setPort(m_port.get());
    waits.setPumpHook([this] { m_port->arrive(); });
}

SimulatedBus::SimulatedBus(OnPty) : d(std::make_unique<State>()) { m_pty = std::make_unique<PtyThread>(*d); }

SimulatedBus::~SimulatedBus()
{
    serialLink().reset(), installAutoMessageCheck(); // the link as the station starts it
    if (m_port) {
        serialLink().setPort(nullptr);
        m_waits->setPumpHook({});
    }
}

SimUnit &SimulatedBus::addUnit(int address, const QString &message)
{
    return d->locked([&](State &s) -> SimUnit & { return s.units[address] = SimUnit{address, message}; });
}
SimUnit &SimulatedBus::addUnit(int address, int deviceType)
{
    return addUnit(address, sampleMessage(deviceType, formatUnitAddress(address)));
}
void SimulatedBus::setAdapterReply(const QString &reply) { d->locked([&](State &s) { s.adapterReply = codepage::encode(reply); }); }

void SimulatedBus::send(const QString &text, int delayMs, bool paced)
{
    d->locked([&](State &s) { s.inject(codepage::encode(text), s.now() + delayMs, paced); });
    if (m_pty)
        m_pty->wake();
}

void SimulatedBus::sendInBursts(const QString &message, const QList<int> &sizes, int gapMs)
{
    for (qsizetype i = 0, from = 0; i < sizes.size() && from < message.size(); from += sizes[i++])
        send(i + 1 == sizes.size() ? message.mid(from) : message.mid(from, sizes[i]), int(i) * gapMs);
}

void SimulatedBus::chatter(const QString &message, int periodMs, int count, int quietMs)
{
    d->locked([&](State &s) { s.chatters.push_back({codepage::encode(message), double(periodMs), double(quietMs), s.now(), count}); });
    if (m_pty)
        m_pty->wake();
}

int SimulatedBus::chatterLeft() const
{
    return d->locked([](State &s) {
        int left = 0;
        for (const State::Chatter &c : s.chatters)
            left += c.left;
        return left;
    });
}

void SimulatedBus::burst(const QStringList &messages, const QList<int> &pausesMs)
{
    d->locked([&](State &s) {
        for (qsizetype i = 0; i < messages.size(); ++i)
            s.reports.push_back({codepage::encode(messages[i]), double(pausesMs.value(i))});
    });
    if (m_pty)
        m_pty->wake();
}

int SimulatedBus::burstLeft() const { return d->locked([](State &s) { return int(s.reports.size()); }); }

QList<SimWrite> SimulatedBus::writeLog() const { return d->locked([](State &s) { return s.writes; }); }

QStringList SimulatedBus::writes() const
{
    QStringList texts;
    for (const SimWrite &w : writeLog())
        texts.append(w.text);
    return texts;
}

QString SimulatedBus::wire() const { return writes().join(QString()); }
void SimulatedBus::clearWrites() { d->locked([](State &s) { s.writes.clear(); }); }
void SimulatedBus::failOpen(const QString &error, const PortHolder &holder)
{
    d->locked([&](State &s) { s.failOpen = error, s.holder = holder; });
}
void SimulatedBus::readElsewhere() { emit m_port->bytesTakenElsewhere(); }
void SimulatedBus::failWrites(bool fail) { d->locked([&](State &s) { s.failWrites = fail; }); }
void SimulatedBus::hangUp() { m_pty ? m_pty->hangUp() : m_port->loseLine(); }

void SimulatedBus::advance(int ms)
{
    const double target = d->now() + ms;
    for (;;) {
        const double next = m_port->dueAt();
        // The idle station's timer looks at the line when the link asked it to.
        if (const double look = double(serialLink().lookDueAtMs());
            look >= 0 && look <= target && (next < 0 || look <= next)) {
            if (look > d->now())
                m_waits->sleepMs(int(std::ceil(look - d->now())));
            serialLink().lookAtLine();
            continue;
        }
        if (next < 0 || next > target)
            break;
        if (next > d->now())
            m_waits->sleepMs(int(std::ceil(next - d->now())));
        m_port->arrive();
    }
    if (target > d->now())
        m_waits->sleepMs(int(std::ceil(target - d->now())));
}

QString SimulatedBus::path() const { return m_pty ? m_pty->path() : QString(); }
int SimulatedBus::unreadByStation() const
{
    return m_pty ? d->locked([this](State &s) { return int(s.pending.size()) + m_pty->waitingInLine(); }) : -1;
}
int SimulatedBus::baud() const { return d->locked([](State &s) { return s.baud; }); }
double SimulatedBus::charMs() const { return d->locked([](State &s) { return s.charMs(); }); }
